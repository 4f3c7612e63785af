// The display that windows use: headless (the pixel buffers only) or SDL2
// (real windows). Call ChooseDisplay before the first window is shown;
// without a call the display is headless. Not part of the kits.
#ifndef PLATFORM_TESTING_DISPLAY_H
#define PLATFORM_TESTING_DISPLAY_H

#include <SupportDefs.h>

namespace PlatformTesting {

enum DisplayKind
{
	kHeadlessDisplay,
	kSdlDisplay,
	// SDL2 when $DISPLAY is set and SDL's video starts, headless otherwise.
	kAutomaticDisplay
};

// B_OK; B_ERROR when SDL2 was asked for and cannot be used (the display stays
// as it was); B_NOT_ALLOWED for a change of display once a window has been
// shown.
status_t ChooseDisplay(DisplayKind kind);
DisplayKind ActiveDisplay();

// The size of the system fonts in pixels, whatever the display's dots per
// inch (which otherwise scale it: 12 at 96). Call before any window opens.
void SetFontSize(float size);

} // namespace PlatformTesting

#endif // PLATFORM_TESTING_DISPLAY_H
