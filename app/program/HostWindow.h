// HostWindow: reshost's window. It shows the full editor for one item of the
// document at a time, the document's items in a list on its right (choosing
// one shows it in the editor), and carries the host's commands as shortcuts on the
// command key: save, undo, redo, next and previous item, quit. Its title
// names the item, marks unsaved changes and names the next undo and redo
// steps; a status line at the bottom names the item (type, id, name, size)
// and tells of saves, failed saves and a quit that waits for confirmation.
// Created by HostProgram on the main thread; afterwards it runs on its own
// thread, like every window.
#ifndef HOST_WINDOW_H
#define HOST_WINDOW_H

#include <Window.h>

#include <atomic>
#include <string>
#include <vector>

#include "DocumentFile.h"

class AddonLoader;
class BFullItemEditor;
class BListView;
class BStringView;
class Document;

enum
{
	kMsgSave = 'hsav',
	kMsgUndo = 'hund',
	kMsgRedo = 'hred',
	kMsgNextItem = 'hnxt',
	kMsgPreviousItem = 'hprv',
	kMsgQuit = 'hqit',
	kMsgEndDriving = 'hend',
	kMsgUpdateTitle = 'httl',
	kMsgChooseItem = 'hcho',
	kMsgEditItem = 'hedt'
};

class HostWindow : public BWindow
{
public:
	// files holds the files the items came from, or is empty for the sample
	// document, which has no files to save to.
	HostWindow(Document& document, AddonLoader& loader, std::vector<DocumentFile>& files);
	virtual ~HostWindow();

	// Builds the editor for the item at index; B_ERROR with ErrorMessage()
	// set when no add-on makes one.
	status_t SetUp(int32 index = 0);
	const std::string& ErrorMessage() const { return fError; }

	// Sees input before the views: a click or a cursor key ends the run of
	// edits that the next undo step could join.
	virtual void DispatchMessage(BMessage* message, BHandler* handler);
	virtual void MessageReceived(BMessage* message);
	virtual bool QuitRequested();

	// While the program's driver feeds the window (a script, the closing
	// snapshot) the window never closes itself: an accepted quit only sets
	// QuitAccepted(), and the driver, which may be waiting on the window
	// at that moment, ends the session. kMsgEndDriving hands the window
	// over to the user.
	void SetDriven(bool driven) { fDriven = driven; }
	bool QuitAccepted() const { return fQuitAccepted; }

	BView* DumpView() const;
	BListView* ItemList() const { return fList; }
	BStringView* StatusLine() const { return fStatus; }
	int32 CurrentItem() const { return fItem; }

private:
	void Save();
	void ShowItem(int32 index);
	void Replay(bool undo);
	void RequestQuit();
	// Whether the window may close; with unsaved changes the first request
	// only shows againNotice.
	bool ConfirmQuit(const char* againNotice);
	void UpdateTitle();
	void UpdateStatus();
	void UpdateList();
	// The item's line in the list, as --list prints it.
	std::string ListLine(int32 index) const;
	void ResizeToEditor();

	Document& fDocument;
	AddonLoader& fLoader;
	std::vector<DocumentFile>& fFiles;
	BFullItemEditor* fEditor;
	BListView* fList;
	BStringView* fStatus;
	int32 fItem;
	// Our listener on the document, which tells of every change.
	int32 fListener;
	std::string fNotice;
	bool fQuitArmed;
	// A save that needed confirmation was asked for once.
	bool fSaveArmed;
	bool fDriven;
	std::atomic<bool> fQuitAccepted;
	std::string fError;
};

#endif // HOST_WINDOW_H
