// ScreenDpi: the dots per inch of the X server's screen, for the SDL2
// backend, which cannot always tell (SDL finds none when the server gives
// no physical size through RandR). Kept apart: Xlib's macros (None, Bool,
// Status) must not meet the kits' headers.
#ifndef SCREEN_DPI_H
#define SCREEN_DPI_H

namespace BPrivate {

// The Xft.dpi resource that desktops set for their scale, else the default
// screen's width in pixels over its width in millimetres; 0 when there is
// no X server or neither is known.
float X11ScreenDpi();

} // namespace BPrivate

#endif // SCREEN_DPI_H
