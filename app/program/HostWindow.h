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
// names. The windows stay in step through the document's change notices,
// each rewriting only the rows a change names; a window whose item goes shows
// the item that takes its place, or no item (and no editor) once the
// document has none. Made by its
// WindowGroup on the thread that opens it; afterwards it runs on its own
// thread, like every window.
#ifndef HOST_WINDOW_H
#define HOST_WINDOW_H

#include <ResourceHandle.h>
#include <Window.h>

#include <mutex>
#include <string>
#include <vector>

#include "Document.h"

class BFullItemEditor;
class BListView;
class BStringView;
class DocumentFile;
class ItemForm;
class ItemPreview;
struct ItemReference;
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
	ItemForm* Form() const { return fForm; }
	// The index of the item shown, or -1 when the document has none.
	int32 CurrentItem() const { return fDocument.IndexOf(fShown); }
	BResourceHandle ShownItem() const { return fShown; }
	// The list's row of the item at index (rows of file names come between
	// the items of several files).
	int32 RowOf(int32 index) const { return RowOfItem(fDocument.ItemAt(index)); }

private:
	friend class WindowGroup;
	// Its table names the commands' handlers.
	friend class HostCommands;

	HostWindow(WindowGroup& group, Document& document);
	// Builds the editor for the item at index, or none in a document
	// without items; B_ERROR with ErrorMessage() set when no add-on makes
	// one.
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
	// The item commands: a message without arguments (from a key) opens
	// the form that asks for them.
	void AddItemCommand(const BMessage& message);
	void RemoveItemCommand(const BMessage& message);
	void ItemInfoCommand(const BMessage& message);
	void ImportCommand(const BMessage& message);
	void ExportCommand(const BMessage& message);
	// Files dropped on the window become items after the shown one.
	void AddDroppedFiles(const BMessage& drop);

	// Shows form over the status line, in place of any other.
	void OpenForm(ItemForm* form);
	void CloseForm();
	// Whether the command (what: "removed"...) is refused for want of an
	// item to work on; it then ends saying so.
	bool RefusedWithoutItem(const char* what);
	// The path the command's message gives, or NULL once the form that asks
	// for one is open.
	const char* PathOrForm(const BMessage& message, const char* title, const char* buttonLabel);
	// Ends an item command: done (failure empty), the form closes; else it
	// stays open and the notice says why.
	void Finish(const std::string& failure);
	// Inserts an item after the shown one and shows it.
	status_t AddItem(const ItemReference& reference, const std::string& bytes, std::string& error);
	// A file's bytes for an item, within the document's item size limit.
	status_t ReadFileBytes(const std::string& path, std::string& bytes, std::string& error) const;
	// The least id from 1 up that no item of type has.
	int32 NextFreeId(type_code type) const;

	void Save();
	// Under the group's hold on the files: fNotice tells the result.
	void SaveFiles(std::vector<DocumentFile>& files);
	// Shows the item at index, counted round the list.
	void ShowItem(int32 index);
	// Shows item (an invalid handle: none) in the editor, the list, the
	// title, the status line and the preview. B_ERROR when no add-on
	// makes an editor for it.
	status_t Present(const BResourceHandle& item);
	// Makes or drops the editor as the shown item needs one or not.
	status_t AttachEditor();
	void Replay(bool undo);
	void OpenWindow();
	void StartCommand();
	void RequestQuit();
	void UpdateTitle();
	void UpdateStatus();
	// Brings the list up to date with the changes the document told of:
	// rows of added items come in, those of removed items go, the row of an
	// item whose data or info changed is rewritten. A shown item that went
	// gives way to the one that takes its place in the list.
	void ApplyChanges();
	int32 RowOfItem(const BResourceHandle& item) const;
	void InsertRow(int32 row, const BResourceHandle& item, int32 file, int32 level);
	void RemoveRow(int32 row);
	// Rewrites the row's text from its item (whose index is given).
	void RefreshRow(int32 row, int32 index);
	// The preview follows the shown item's bytes.
	void UpdatePreview();
	// Tells of an insertion the document refused for the shown item.
	void NoteRefusedGrowth();
	// The item's line in the list, as --list prints it, for its index.
	std::string ListLine(const BResourceHandle& item, int32 index) const;
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
	// The open item command's form, or NULL.
	ItemForm* fForm;
	// The item shown; invalid when the document has none.
	BResourceHandle fShown;
	// Our listener on the document, which tells of every change; what it
	// told of waits here for the window's thread.
	int32 fListener;
	std::mutex fPendingLock;
	std::vector<Document::ItemChange> fPending;
	std::string fNotice;
	NoticeKind fNoticeKind;
	// What the window shows of each file.
	struct FileFacts
	{
		std::string path;
		// Whether numbers inside its items are big-endian (a PPC file's).
		bool bigEndian;
		// The kind of file, as DocumentFile describes it.
		std::string kind;
	};
	std::vector<FileFacts> fFileFacts;
	// For each row of the list: its item (invalid on a file's name), the
	// index in fFileFacts of its file (-1 for none), its whole text before
	// FittedRow cuts it.
	std::vector<BResourceHandle> fRowItems;
	std::vector<int32> fRowFiles;
	std::vector<std::string> fRowTexts;
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
