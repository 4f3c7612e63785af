// ScrollBarSize: how thick the scroll bars are drawn: B_V_SCROLL_BAR_WIDTH
// and B_H_SCROLL_BAR_HEIGHT pixels at 96 dots per inch, scaled with the
// display's. Set by the backend before any window opens.
#ifndef SCROLL_BAR_SIZE_H
#define SCROLL_BAR_SIZE_H

#include <InterfaceDefs.h>

namespace BPrivate {

// 0 or less leaves the scale as it is.
void ScaleScrollBars(float dotsPerInch);
// The bar's thickness as the constants give it, scaled.
float ScrollBarThickness(orientation direction);

} // namespace BPrivate

#endif // SCROLL_BAR_SIZE_H
