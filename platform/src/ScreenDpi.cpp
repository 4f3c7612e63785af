// ScreenDpi: asking the X server for its dots per inch.
#include "ScreenDpi.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <cstring>

namespace BPrivate {

namespace {

// The value of "Xft.dpi:" in the resource database's text, or 0.
float XftDpi(const char* resources)
{
	const char* const kName = "Xft.dpi:";
	for (const char* line = resources; line != NULL && *line != '\0';) {
		if (strncmp(line, kName, strlen(kName)) == 0)
			return strtof(line + strlen(kName), NULL);
		line = strchr(line, '\n');
		if (line != NULL)
			line++;
	}
	return 0;
}

} // namespace

float X11ScreenDpi()
{
	Display* display = XOpenDisplay(NULL);
	if (display == NULL)
		return 0;
	float dpi = XftDpi(XResourceManagerString(display));
	if (dpi <= 0) {
		const int screen = DefaultScreen(display);
		const int millimetres = DisplayWidthMM(display, screen);
		if (millimetres > 0)
			dpi = float(DisplayWidth(display, screen)) * 25.4f / float(millimetres);
	}
	XCloseDisplay(display);
	return dpi;
}

} // namespace BPrivate
