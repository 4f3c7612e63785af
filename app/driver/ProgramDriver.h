// ProgramDriver: what reshost asks of its driver before the window opens:
// the display the window shows on, the clock of a headless run and the
// largest item the dump shows exactly. The host sees the add-on only
// through host/ headers and the image it loads, so these answers, which
// need the kits' test support and the dump's layout, come from here.
// Called by HostProgram on the main thread, before the application object
// exists; ScriptRunner drives the window afterwards.
#ifndef PROGRAM_DRIVER_H
#define PROGRAM_DRIVER_H

#include <Font.h>
#include <SupportDefs.h>

class ProgramDriver
{
public:
	// SDL2 when headless is false and a display is there, headless
	// otherwise; true when the run is headless. Headless runs have no one
	// watching the time: their waits and blinking go by the test clock.
	static bool ChooseDisplay(bool headless);

	// The size of every font from now on, in pixels, instead of the one the
	// display's dots per inch give.
	static void SetFontSize(float size);

	// The largest item whose every line the dump places exactly in a font
	// of these metrics.
	static uint64 MaxDataSize(const font_height& height);
};

#endif // PROGRAM_DRIVER_H
