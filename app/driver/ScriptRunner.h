// ScriptRunner: replays a reshost script on the host's windows: each line's
// input goes to the addressed window (window 1 until a `window N` line
// says otherwise) as the display would deliver it, and the runner waits
// until every window has handled it (and everything that followed from it,
// such as another window's change notices) before the next line. Runs on
// the program's driver thread, never on a window's.
#ifndef SCRIPT_RUNNER_H
#define SCRIPT_RUNNER_H

#include <Point.h>
#include <SupportDefs.h>

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "ScriptCommand.h"

class BView;
class HostWindow;
class WindowGroup;

class ScriptRunner
{
public:
	// With testClock, waits advance the manual test clock (pulses and the
	// cursor's blinking follow it exactly); otherwise they sleep.
	ScriptRunner(WindowGroup& windows, bool testClock, std::ostream& output);

	// Runs the lines of input in order. Stops at the first bad line or
	// failed command (B_ERROR, error naming the line) or once the program
	// has accepted to quit (B_OK; any command after that is an error). A
	// save that fails, in any window, does not stop the run (a later save
	// may write the document), but the run then ends with B_ERROR naming
	// the line of the first; so does a run that ends with unsaved changes
	// after a save that only warned and was never confirmed.
	status_t Run(std::istream& input, std::string& error);
	status_t Execute(const ScriptCommand& command, std::string& error);

	// With check, Run compares every window after every line with a full
	// redraw of it, and stops with an error naming the line, the window and
	// the area where they differ.
	void SetCheckRedraw(bool check) { fCheckRedraw = check; }

	// Makes later commands go to window number (from 1); B_ERROR with
	// error set when that window is not open.
	status_t Address(int32 number, std::string& error);

	// Returns once every open window has handled every message posted to
	// it, the addressed window's first.
	void WaitUntilIdle();

	// The addressed window's dump as the view draws it now, one string per
	// visible line, and its pixels; B_ERROR when it has closed.
	status_t DumpText(std::vector<std::string>& lines, std::string& error);
	status_t WriteSnapshot(const std::string& path, std::string& error);

private:
	// Notes the saves that failed or only warned during line.
	void NoteSaves(int32 line);
	// B_ERROR with error set when the run saved less than it asked.
	status_t CheckSaves(std::string& error) const;
	// Lets time pass on the test clock in work that does not grow with the
	// duration.
	void AdvanceClock(bigtime_t duration);
	// Scrolls the dump with its scroll bars until the byte a press aims at
	// shows.
	void ScrollToByte(HostWindow* window, const ScriptCommand& command);
	// The addressed window, or NULL with error set once it has closed.
	HostWindow* Addressed(std::string& error) const;
	// "the window" while it is the only one, "window N" otherwise.
	std::string WindowName(int32 number) const;
	// Where a mouse command points, in the dump view's coordinates; with
	// the window locked.
	BPoint ViewPoint(BView* view, const ScriptCommand& command) const;
	BPoint WindowPoint(HostWindow* window, const ScriptCommand& command);
	void Post(HostWindow* window, const class BMessage& message);
	status_t CheckRedraw(int32 line, std::string& error);

	WindowGroup& fWindows;
	int32 fNumber;
	HostWindow* fWindow;
	bool fTestClock;
	std::ostream& fOutput;
	int32 fButtons;
	bool fCheckRedraw;
	// The saves seen so far, and what the run must report of them.
	int32 fSaveFailures;
	int32 fSaveWarnings;
	std::string fSaveError;
	int32 fWarnedLine;
	std::string fWarning;
};

#endif // SCRIPT_RUNNER_H
