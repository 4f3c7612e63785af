// HostWindow: one of reshost's windows on the document. It shows the full
// editor for one item at a time, the document's items in a list on its
// right (choosing one shows it in the editor), and carries the host's
// commands (HostCommands' table: save, undo, redo, next and previous item,
// a new window on the shown item, quit) as shortcuts on the command key and
// handles their messages, whether from a key or a script. Its title names the
// item, marks unsaved changes and names the next undo and redo steps; a
// status line at the bottom tells of saves, failed saves and a quit that
// waits for confirmation, then names the item (type, id, name, size, file).
// With items from several files the list groups them under their files'
// names. Windows on
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
class ItemPreview;
class WindowGroup;

// The host commands' codes are HostCommands'.
enum
{
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
	// The list and the status line follow the window's width.
	virtual void FrameResized(float newWidth, float newHeight);

	BView* DumpView() const;
	BListView* ItemList() const { return fList; }
	BStringView* StatusLine() const { return fStatus; }
	ItemPreview* Preview() const { return fPreview; }
	int32 CurrentItem() const { return fItem; }
	// The list's row of the item at index (rows of file names come between
	// the items of several files).
	int32 RowOf(int32 index) const;

private:
	friend class WindowGroup;
	// Its table names the commands' handlers.
	friend class HostCommands;

	HostWindow(WindowGroup& group, Document& document);
	// Builds the editor for the item at index; B_ERROR with ErrorMessage()
	// set when no add-on makes one.
	status_t SetUp(int32 index);
	const std::string& ErrorMessage() const { return fError; }

	// The host commands' handlers, which HostCommands' table names.
	void SaveCommand(const BMessage& message);
	void UndoCommand(const BMessage& message);
	void RedoCommand(const BMessage& message);
	void NextItemCommand(const BMessage& message);
	void PreviousItemCommand(const BMessage& message);
	void NewWindowCommand(const BMessage& message);
	void QuitCommand(const BMessage& message);

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
	// The preview follows the shown item's bytes.
	void UpdatePreview();
	// Tells of an insertion the document refused for the shown item.
	void NoteRefusedGrowth();
	// The item's line in the list, as --list prints it.
	std::string ListLine(int32 index) const;
	// The list's rows: the items, under their files' names when the items
	// come from more than one file.
	void FillList(const std::vector<DocumentFile>& files);
	// A row's text cut to the list's width: an item's name loses its end
	// first, so that its size stays in sight.
	std::string FittedRow(int32 row) const;
	// What a row needs beside its text: margins and indent, with the font.
	float RowTextSlack(int32 row) const;
	void ResizeToEditor();
	// Shares the window's width between the dump and the list, and sets
	// the smallest size the window can take.
	void LayOut();

	// What a notice reports decides when it stops being true.
	enum NoticeKind
	{
		kNoticeOfCommand,     // holds until the next command
		kNoticeWhileSaved,    // holds while the document has no unsaved changes
		kNoticeWhileModified, // holds while it has
		kNoticeWhileNoUndo,   // holds while there is nothing to undo
		kNoticeWhileNoRedo    // holds while there is nothing to redo
	};
	void SetNotice(const std::string& notice, NoticeKind kind = kNoticeOfCommand);
	// Clears the notice once the document's state no longer matches it.
	void ExpireNotice();

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
	ItemPreview* fPreview;
	int32 fItem;
	// Our listener on the document, which tells of every change.
	int32 fListener;
	std::string fNotice;
	NoticeKind fNoticeKind;
	// For each row of the list, the index of its item, or -1 on a file's name.
	std::vector<int32> fRowItems;
	// Each row's whole text, before FittedRow cuts it.
	std::vector<std::string> fRowTexts;
	// The path of each item's file; empty for the sample document.
	std::vector<std::string> fItemPaths;
	// Whether numbers inside each item are big-endian (a PPC file's).
	std::vector<bool> fItemBigEndian;
	// The kind of file each item came from, as DocumentFile describes it.
	std::vector<std::string> fItemKinds;
	// The list's width for its widest row (within bounds), and its least.
	float fListWidth;
	float fMinListWidth;
	// The editor's preferred width: the whole dump.
	float fEditorWidth;
	// A save that needed confirmation was asked for once.
	bool fSaveArmed;
	// The document's count of refused insertions this window has told of.
	uint32 fRefusalsSeen;
	std::string fError;
	// The kind of the last key that edits or may edit: one of another kind
	// starts a new undo step.
	KeyKind fLastEditKey;
};

#endif // HOST_WINDOW_H
