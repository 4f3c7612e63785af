// WindowGroup: reshost's windows on its one document. It opens each window
// (the best add-on builds its editor through the loader, one window at a
// time), numbers the windows from 1 in the order they open and places each
// a step right of and below the one before. The document is one, so what
// decides quitting is kept here for every window: the unsaved-changes
// warning that a second request confirms, a confirmed quit, whether a
// driver feeds the windows; and the files are saved through here, one
// window at a time, each save's outcome kept for the driver. Owned by the program or a test on its
// thread, whose session outlives the group; the windows
// call it from their own threads.
#ifndef WINDOW_GROUP_H
#define WINDOW_GROUP_H

#include <ResourceHandle.h>
#include <SupportDefs.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "DocumentFile.h"

class AddonLoader;
class BFullItemEditor;
class Document;
class HostWindow;
class Session;

class WindowGroup
{
public:
	// How a request to close a window or to quit is answered.
	enum Answer
	{
		kClose, // the window closes (on a confirmed quit, every window does)
		kWarn,  // unsaved changes: the window warns; the next request confirms
		kHold   // confirmed, but a driver feeds the windows: it ends the session
	};

	// The session's files are those the items came from, or none for the
	// sample document, which has no files to save to.
	explicit WindowGroup(Session& session);
	// Closes the windows still open, so that no editor outlives the loader.
	~WindowGroup();
	WindowGroup(const WindowGroup&) = delete;
	WindowGroup& operator=(const WindowGroup&) = delete;

	// Opens a window showing the item at index, shown and running on its
	// own thread; NULL with error set when no add-on makes an editor.
	HostWindow* Open(int32 index, std::string& error);
	// Window number (from 1) while it is open and not closing, else NULL.
	HostWindow* WindowAt(int32 number) const;
	// The numbers of the open windows, in order.
	std::vector<int32> OpenNumbers() const;
	// Quits every window now, unsaved changes or not. Not from a window's
	// thread.
	void CloseAll();

	// While driven (by a script, or the program writing its snapshot), a
	// confirmed quit only sets QuitAccepted(): the driver, which may be
	// waiting on a window at that moment, ends the session. EndDriving
	// hands the windows to the user and tells whether a quit was confirmed
	// meanwhile.
	void SetDriven(bool driven);
	bool EndDriving();
	bool QuitAccepted() const;
	// Called once a quit is confirmed or the last window closes, from that
	// window's thread: the program then asks every window to close (each
	// agrees) and ends.
	void SetProgramQuit(std::function<void()> quit);

	// Ctrl+Q in any window: quit the program, every window.
	Answer RequestQuit();
	// The close button of window (or the program asking it to close): while
	// other windows stay open on the document it closes alone; the last
	// one asks as RequestQuit does.
	Answer RequestClose(HostWindow* window);
	// A command came between two quit requests: the next one warns again.
	void DisarmQuit();

	// Calls user with the files, one window at a time.
	void UseFiles(const std::function<void(std::vector<DocumentFile>&)>& user);

	// How a save ended, as the windows report it for a driver, which must
	// not call a run during which nothing was saved a success.
	enum SaveResult
	{
		kSaveWritten,
		kSaveWarned, // nothing written: a second save confirms
		kSaveFailed
	};
	struct SaveRecord
	{
		int32 failures = 0;
		std::string lastFailure;
		int32 warnings = 0;
		std::string lastWarning;
		// A save warned, none wrote since, and the document has unsaved
		// changes.
		bool unconfirmed = false;
	};
	void RecordSave(SaveResult result, const std::string& message);
	SaveRecord Saves() const;

private:
	friend class HostWindow;

	struct Entry
	{
		int32 number;
		HostWindow* window;
		bool closing;
	};

	// For the window's SetUp: the full editor for item, from the best
	// add-on; NULL with error set when there is none.
	BFullItemEditor* MakeEditor(const BResourceHandle& item, std::string& error);
	// For the window's destructor.
	void Closed(HostWindow* window);
	// The warning, or the confirmed quit; called with fLock held, which it
	// releases.
	Answer Confirm(std::unique_lock<std::mutex>& lock);

	Session& fSession;
	Document& fDocument;
	AddonLoader& fLoader;

	// Guards everything below; never held while locking a window.
	mutable std::mutex fLock;
	std::vector<Entry> fWindows;
	int32 fLastNumber;
	bool fQuitArmed;
	bool fQuitAccepted;
	bool fDriven;
	std::function<void()> fProgramQuit;
	SaveRecord fSaves;

	// The loader builds one editor at a time.
	std::mutex fLoaderLock;
};

#endif // WINDOW_GROUP_H
