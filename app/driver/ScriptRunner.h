// ScriptRunner: replays a reshost script on the host window: each line's
// input goes to the window as the display would deliver it, and the runner
// waits until the window has handled it (and everything that followed from
// it) before the next line. Runs on the program's driver thread, never on
// the window's.
#ifndef SCRIPT_RUNNER_H
#define SCRIPT_RUNNER_H

#include <Point.h>
#include <SupportDefs.h>

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "ScriptCommand.h"

class HostWindow;

class ScriptRunner
{
public:
	// With testClock, waits advance the manual test clock (pulses and the
	// cursor's blinking follow it exactly); otherwise they sleep.
	ScriptRunner(HostWindow* window, bool testClock, std::ostream& output);

	// Runs the lines of input in order. Stops at the first bad line or
	// failed command (B_ERROR, error naming the line) or once the window
	// has accepted to quit (B_OK; any command after that is an error).
	status_t Run(std::istream& input, std::string& error);
	status_t Execute(const ScriptCommand& command, std::string& error);

	// With check, Run compares the window after every line with a full
	// redraw of it, and stops with an error naming the line and the area
	// where they differ.
	void SetCheckRedraw(bool check) { fCheckRedraw = check; }

	// Returns once the window has handled every message posted to it.
	void WaitUntilIdle();

	// The dump as the view draws it now, one string per visible line.
	std::vector<std::string> DumpText();
	status_t WriteSnapshot(const std::string& path, std::string& error);

private:
	BPoint WindowPoint(const ScriptCommand& command);
	void Post(const class BMessage& message);
	status_t CheckRedraw(int32 line, std::string& error);

	HostWindow* fWindow;
	bool fTestClock;
	std::ostream& fOutput;
	int32 fButtons;
	bool fCheckRedraw;
};

#endif // SCRIPT_RUNNER_H
