// HostWindow: one of reshost's windows on the document. It shows the full
// editor for one item at a time, the document's items in a list on its
// right (choosing one shows it in the editor), and carries the host's
// commands as shortcuts on the command key: save, undo, redo, next and
// previous item, a new window on the shown item, quit. Its title names the
// item, marks unsaved changes and names the next undo and redo steps; a
// status line at the bottom names the item (type, id, name, size) and tells
// of saves, failed saves and a quit that waits for confirmation. Windows on
// one item stay in step through the document's change notices. Made by its
// WindowGroup on the thread that opens it; afterwards it runs on its own
// thread, like every window.
#ifndef HOST_WINDOW_H
#define HOST_WINDOW_H

#include <Window.h>

#include <string>
#include <vector>

class BFullItemEditor;
class BListView;
class BStringView;
class Document;
class DocumentFile;
class WindowGroup;

enum
{
	kMsgSave = 'hsav',
	kMsgUndo = 'hund',
	kMsgRedo = 'hred',
	kMsgNextItem = 'hnxt',
	kMsgPreviousItem = 'hprv',
	kMsgQuit = 'hqit',
	kMsgNewWindow = 'hnew',
	kMsgUpdateTitle = 'httl',
	kMsgChooseItem = 'hcho',
	kMsgEditItem = 'hedt'
};

class HostWindow : public BWindow
{
public:
	virtual ~HostWindow();

	// Sees input before the views: a click, a cursor key or an edit of
	// another kind ends the run of edits that the next undo step could join.
	virtual void DispatchMessage(BMessage* message, BHandler* handler);
	virtual void MessageReceived(BMessage* message);
	virtual bool QuitRequested();

	BView* DumpView() const;
	BListView* ItemList() const { return fList; }
	BStringView* StatusLine() const { return fStatus; }
	int32 CurrentItem() const { return fItem; }

private:
	friend class WindowGroup;

	HostWindow(WindowGroup& group, Document& document);
	// Builds the editor for the item at index; B_ERROR with ErrorMessage()
	// set when no add-on makes one.
	status_t SetUp(int32 index);
	const std::string& ErrorMessage() const { return fError; }

	void Save();
	// Under the group's hold on the files: fNotice tells the result.
	void SaveFiles(std::vector<DocumentFile>& files);
	void ShowItem(int32 index);
	void Replay(bool undo);
	void OpenWindow();
	void StartCommand();
	void RequestQuit();
	void UpdateTitle();
	void UpdateStatus();
	void UpdateList();
	// The item's line in the list, as --list prints it.
	std::string ListLine(int32 index) const;
	void ResizeToEditor();

	// What a key does to the dump, as far as undo runs go.
	enum KeyKind
	{
		kNoEdit,
		kMovingKey,
		kTypingKey,
		kBackspaceKey,
		kDeleteKey
	};
	static KeyKind KindOfKey(char key);

	WindowGroup& fGroup;
	Document& fDocument;
	BFullItemEditor* fEditor;
	BListView* fList;
	BStringView* fStatus;
	int32 fItem;
	// Our listener on the document, which tells of every change.
	int32 fListener;
	std::string fNotice;
	// A save that needed confirmation was asked for once.
	bool fSaveArmed;
	std::string fError;
	// The kind of the last key that edits or may edit: one of another kind
	// starts a new undo step.
	KeyKind fLastEditKey;
};

#endif // HOST_WINDOW_H
