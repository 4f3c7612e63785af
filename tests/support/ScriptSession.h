// reshost's window run in process on a document of given items, driven by
// scripts on the test clock as reshost --headless drives it, with the
// add-on loaded from its image (HEXDUMP_ADDON_PATH). Used by the redraw
// property test and the script fuzzer; one at a time, on the test's thread.
#ifndef SCRIPT_SESSION_H
#define SCRIPT_SESSION_H

#include <View.h>
#include <Window.h>

#include <PlatformTesting.h>

#include <stdlib.h>

#include <sstream>
#include <string>
#include <vector>

#include "HostWindow.h"
#include "ScriptRunner.h"
#include "Session.h"
#include "WindowGroup.h"

enum Face
{
	kTestFace,
	kFreeTypeFace
};

typedef std::vector<std::string> Script;

inline std::string Join(const Script& script)
{
	std::string text;
	for (const std::string& line : script)
		text += line + "\n";
	return text;
}

// reshost's window on a document of the given items, driven by scripts on
// the test clock, as reshost --headless drives it.
class ScriptSession
{
public:
	ScriptSession(const std::vector<std::string>& items, Face face)
	    : fDocument(fSession.GetDocument()), fLoader(fSession.Loader()), fWindows(fSession),
	      fWindow(NULL)
	{
		if (face == kTestFace)
			PlatformTesting::UseTestFace();
		else
			PlatformTesting::UseFreeTypeFace();
		PlatformTesting::SetTestClock(1000000);

		int32 id = 1;
		for (const std::string& bytes : items)
			fDocument.AddItem('RAWT', id++, "item", bytes.data(), bytes.size());
		if (fLoader.Load(getenv("HEXDUMP_ADDON_PATH"), fDocument.AddonArgs()) != B_OK)
			return;

		fWindows.SetDriven(true);
		std::string error;
		fWindow = fWindows.Open(0, error);
		if (fWindow != NULL)
			PlatformTesting::WaitUntilIdle(fWindow);
	}

	~ScriptSession()
	{
		fWindows.CloseAll();
		PlatformTesting::UseRealClock();
	}

	ScriptSession(const ScriptSession&) = delete;
	ScriptSession& operator=(const ScriptSession&) = delete;

	bool Ready() const { return fWindow != NULL; }
	HostWindow* Window() const { return fWindow; }
	WindowGroup& Windows() { return fWindows; }
	Document& GetDocument() { return fDocument; }

	// Runs the script with the redraw check after every line: "" when every
	// line passes, otherwise the runner's error, which names the line.
	std::string Run(const Script& script, bool check = true)
	{
		std::ostringstream output;
		ScriptRunner runner(fWindows, true, output);
		runner.SetCheckRedraw(check);
		std::istringstream input(Join(script));
		std::string error;
		if (runner.Run(input, error) != B_OK)
			return error.empty() ? "failed" : error;
		return "";
	}

	// The dump view's scroll position and its line geometry.
	BRect ViewBounds()
	{
		fWindow->Lock();
		const BRect bounds = fWindow->DumpView()->Bounds();
		fWindow->Unlock();
		return bounds;
	}

	font_height FontHeight()
	{
		fWindow->Lock();
		font_height height;
		fWindow->DumpView()->GetFontHeight(&height);
		fWindow->Unlock();
		return height;
	}

private:
	Session fSession;
	Document& fDocument;
	AddonLoader& fLoader;
	WindowGroup fWindows;
	HostWindow* fWindow;
};

#endif // SCRIPT_SESSION_H
