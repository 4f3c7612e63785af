// The choice of display for windows: headless or SDL2.
#include "Display.h"

#include "Backend.h"
#include "FontFace.h"

#include <stdlib.h>
#include <string.h>

namespace PlatformTesting {

status_t ChooseDisplay(DisplayKind kind)
{
	const BPrivate::Backend* headless = BPrivate::FindBackend("headless");
	const BPrivate::Backend* sdl = BPrivate::FindBackend("sdl");
	switch (kind) {
	case kHeadlessDisplay:
		return BPrivate::UseBackend(*headless);
	case kSdlDisplay:
		if (sdl == NULL)
			return B_ERROR; // the SDL2 display is not built
		return BPrivate::UseBackend(*sdl);
	case kAutomaticDisplay: {
		const char* display = getenv("DISPLAY");
		if (sdl != NULL && display != NULL && display[0] != '\0' &&
		    BPrivate::UseBackend(*sdl) == B_OK)
			return B_OK;
		return BPrivate::UseBackend(*headless);
	}
	}
	return B_BAD_VALUE;
}

void SetFontSize(float size)
{
	BPrivate::ChooseSystemFontSize(size);
}

DisplayKind ActiveDisplay()
{
	return strcmp(BPrivate::CurrentBackend().name, "sdl") == 0 ? kSdlDisplay : kHeadlessDisplay;
}

} // namespace PlatformTesting
