// HostWindow: the editor's window and the host's commands.

#include "HostWindow.h"

#include <FullItemEditor.h>
#include <InterfaceDefs.h>
#include <ListItem.h>
#include <ListView.h>
#include <ResourceItem.h>
#include <ScrollView.h>
#include <StringView.h>
#include <View.h>

#include <algorithm>
#include <cstdio>

#include "Document.h"
#include "DocumentFile.h"
#include "ItemListing.h"
#include "WindowGroup.h"

namespace {

const char* const kQuitAgainNotice = "Unsaved changes: press Ctrl+Q again to quit";
const char* const kCloseAgainNotice = "Unsaved changes: close again to quit without saving";
// The item list's width follows its lines within these bounds.
const float kMinListWidth = 120;
const float kMaxListWidth = 280;
// Space around the status line's text.
const float kStatusInset = 3;
// No limit on the window's growth.
const float kMaxWindowSize = 32768;

// Keys that move the cursor or the selection without editing.
bool IsMovingKey(char key)
{
	switch (key) {
	case B_LEFT_ARROW:
	case B_RIGHT_ARROW:
	case B_UP_ARROW:
	case B_DOWN_ARROW:
	case B_HOME:
	case B_END:
	case B_PAGE_UP:
	case B_PAGE_DOWN:
		return true;
	default:
		return false;
	}
}

} // namespace

HostWindow::HostWindow(WindowGroup& group, Document& document)
    : BWindow(BRect(80, 60, 680, 460), "reshost", B_TITLED_WINDOW, 0), fGroup(group),
      fDocument(document), fEditor(NULL), fList(NULL), fStatus(NULL), fItem(0), fListener(0),
      fSaveArmed(false)
{
	AddShortcut('S', 0, new BMessage(kMsgSave));
	AddShortcut('Z', 0, new BMessage(kMsgUndo));
	AddShortcut('Z', B_SHIFT_KEY, new BMessage(kMsgRedo));
	AddShortcut(B_PAGE_DOWN, 0, new BMessage(kMsgNextItem));
	AddShortcut(B_PAGE_UP, 0, new BMessage(kMsgPreviousItem));
	AddShortcut('Q', 0, new BMessage(kMsgQuit));
	AddShortcut('N', 0, new BMessage(kMsgNewWindow));

	// The document calls this on the thread that changed it, which may hold
	// this window's lock or not: the title follows through the queue.
	fListener = fDocument.AddListener([this]() { PostMessage(kMsgUpdateTitle); });
}

HostWindow::~HostWindow()
{
	fDocument.RemoveListener(fListener);
	// The editor is the view in this window: it leaves the window before the
	// host deletes it, so the window does not delete it a second time.
	if (fEditor != NULL) {
		fEditor->View()->RemoveSelf();
		delete fEditor;
	}
	// The list does not own its items.
	if (fList != NULL) {
		for (int32 index = 0; index < fList->CountItems(); index++)
			delete fList->ItemAt(index);
	}
	fGroup.Closed(this);
}

status_t HostWindow::SetUp(int32 index)
{
	fItem = index;
	fEditor = fGroup.MakeEditor(fDocument.ItemAt(fItem), fError);
	if (fEditor == NULL)
		return B_ERROR;

	fList = new BListView(BRect(0, 0, kMinListWidth, Bounds().Height()), "ItemList",
	                      B_SINGLE_SELECTION_LIST, B_FOLLOW_ALL_SIDES);
	for (int32 i = 0; i < fDocument.CountItems(); i++)
		fList->AddItem(new BStringItem(ListLine(i).c_str()));
	BScrollView* scroller =
	    new BScrollView("ItemListScroll", fList, B_FOLLOW_RIGHT | B_FOLLOW_TOP_BOTTOM, 0, false,
	                    true, B_PLAIN_BORDER);
	AddChild(scroller);
	float width;
	fList->GetPreferredSize(&width, NULL);
	scroller->ResizeBy(std::clamp(width, kMinListWidth, kMaxListWidth) - fList->Bounds().Width(),
	                   0);
	fList->Select(fItem);
	fList->ScrollToSelection();
	// Set after the first selection, which shows what the editor shows.
	fList->SetSelectionMessage(new BMessage(kMsgChooseItem));
	fList->SetInvocationMessage(new BMessage(kMsgEditItem));

	// The status line sits on a darker bar across the window's bottom.
	BView* statusBar = new BView(BRect(0, 0, Bounds().Width(), 10), "StatusBar",
	                             B_FOLLOW_LEFT_RIGHT | B_FOLLOW_BOTTOM, B_WILL_DRAW);
	statusBar->SetViewColor(tint_color(fList->ViewColor(), B_DARKEN_1_TINT));
	fStatus = new BStringView(
	    BRect(kStatusInset, kStatusInset, Bounds().Width() - kStatusInset, kStatusInset + 10),
	    "StatusLine", "", B_FOLLOW_LEFT_RIGHT | B_FOLLOW_TOP);
	statusBar->AddChild(fStatus);
	AddChild(statusBar);

	BView* view = fEditor->View();
	AddChild(view);
	ResizeToEditor();
	view->MakeFocus(true);
	UpdateTitle();
	return B_OK;
}

void HostWindow::ResizeToEditor()
{
	// The editor knows its preferred size only once attached (it measures
	// its font then); it follows every side of the window from then on, the
	// item list on its right follows the window's right edge, the status
	// bar its bottom edge. Sizes here count pixels.
	BView* view = fEditor->View();
	BView* list = fList->Parent();
	BView* statusBar = fStatus->Parent();
	const BRect bounds = Bounds();
	const float listWidth = list->Frame().Width() + 1;
	float lineHeight;
	fStatus->GetPreferredSize(NULL, &lineHeight);
	const float statusHeight = lineHeight + 2 * kStatusInset;
	const float editorHeight = bounds.Height() + 1 - statusHeight;
	view->MoveTo(0, 0);
	view->ResizeTo(bounds.Width() - listWidth, editorHeight - 1);
	list->MoveTo(bounds.Width() + 1 - listWidth, 0);
	list->ResizeTo(listWidth - 1, editorHeight - 1);
	statusBar->MoveTo(0, editorHeight);
	statusBar->ResizeTo(bounds.Width(), statusHeight - 1);
	fStatus->ResizeTo(bounds.Width() - 2 * kStatusInset, lineHeight - 1);

	// Small enough for any screen, large enough that every scroll bar keeps
	// its two arrows and room for a thumb between them.
	const float minEditor = 4 * B_V_SCROLL_BAR_WIDTH + B_H_SCROLL_BAR_HEIGHT;
	SetSizeLimits(minEditor + listWidth - 1, kMaxWindowSize, minEditor + statusHeight - 1,
	              kMaxWindowSize);
	float width;
	float height;
	view->GetPreferredSize(&width, &height);
	ResizeTo(width + listWidth, height + statusHeight);
}

BView* HostWindow::DumpView() const
{
	return FindView("HexDumpView");
}

void HostWindow::DispatchMessage(BMessage* message, BHandler* handler)
{
	// The editor's view is the add-on's: the window cannot ask it where the
	// cursor went, so any click and any key that moves without editing ends
	// the typed run. Keys with the command modifier are the window's.
	if (message->what == B_MOUSE_DOWN)
		fDocument.EndUndoRun();
	else if (message->what == B_KEY_DOWN) {
		const char* bytes;
		int32 modifiers = 0;
		message->FindInt32("modifiers", &modifiers);
		if ((modifiers & B_COMMAND_KEY) == 0 && message->FindString("bytes", &bytes) == B_OK &&
		    IsMovingKey(bytes[0]))
			fDocument.EndUndoRun();
	}
	BWindow::DispatchMessage(message, handler);
}

void HostWindow::MessageReceived(BMessage* message)
{
	switch (message->what) {
	case kMsgSave:
		fGroup.DisarmQuit();
		Save();
		break;
	case kMsgUndo:
	case kMsgRedo:
		Replay(message->what == kMsgUndo);
		break;
	case kMsgNextItem:
		ShowItem(fItem + 1);
		break;
	case kMsgPreviousItem:
		ShowItem(fItem - 1);
		break;
	case kMsgQuit:
		fSaveArmed = false;
		RequestQuit();
		break;
	case kMsgNewWindow:
		OpenWindow();
		break;
	case kMsgUpdateTitle:
		UpdateTitle();
		UpdateList();
		break;
	case kMsgChooseItem:
	case kMsgEditItem: {
		int32 index;
		if (message->FindInt32("index", &index) == B_OK && index != fItem)
			ShowItem(index);
		// A double click or Enter on a row also hands the keyboard to the editor.
		if (message->what == kMsgEditItem)
			DumpView()->MakeFocus(true);
		break;
	}
	default:
		BWindow::MessageReceived(message);
		break;
	}
}

void HostWindow::Save()
{
	fNotice.clear();
	fGroup.UseFiles([this](std::vector<DocumentFile>& files) { SaveFiles(files); });
	UpdateTitle();
}

void HostWindow::SaveFiles(std::vector<DocumentFile>& files)
{
	if (files.empty()) {
		fNotice = "The sample document has no files to save to";
		return;
	}

	// A file that another program changed since it was opened, or one that
	// shares its data with other names, is overwritten only when the user
	// saves a second time, with no other command in between.
	if (!fSaveArmed) {
		for (DocumentFile& file : files) {
			const std::string warning = file.SaveWarning(fDocument);
			if (warning.empty())
				continue;
			fprintf(stderr, "reshost: %s\n", warning.c_str());
			fSaveArmed = true;
			fNotice = warning + ": press Ctrl+S again to save";
			return;
		}
	}
	fSaveArmed = false;

	// Only the files whose items differ from them are written; any failure
	// leaves the document unsaved, so nothing is lost.
	std::string firstError;
	for (DocumentFile& file : files) {
		if (file.Save(fDocument) != B_OK) {
			fprintf(stderr, "reshost: %s\n", file.ErrorMessage().c_str());
			if (firstError.empty())
				firstError = file.ErrorMessage();
		}
	}

	if (firstError.empty()) {
		fDocument.MarkSaved();
		fNotice = "Saved";
	} else
		fNotice = "Save failed: " + firstError;
}

void HostWindow::ShowItem(int32 index)
{
	StartCommand();
	int32 count = fDocument.CountItems();
	fItem = (index % count + count) % count;
	fEditor->Retarget(fDocument.ItemAt(fItem));
	fList->Select(fItem);
	fList->ScrollToSelection();
	UpdateTitle();
}

void HostWindow::Replay(bool undo)
{
	// A step on another item is shown before it is replayed, so that no
	// change happens out of sight.
	const BResourceHandle item = undo ? fDocument.UndoItem() : fDocument.RedoItem();
	for (int32 index = 0; item.IsValid() && index < fDocument.CountItems(); index++) {
		if (fDocument.ItemAt(index) == item && index != fItem)
			ShowItem(index);
	}
	StartCommand();
	if ((undo ? fDocument.Undo() : fDocument.Redo()) != B_OK)
		fNotice = undo ? "Nothing to undo" : "Nothing to redo";
	UpdateTitle();
}

// Any command but a repeated save or quit asks again before the next one
// saves over a warning or quits with unsaved changes, and clears the notice.
void HostWindow::StartCommand()
{
	fGroup.DisarmQuit();
	fSaveArmed = false;
	fNotice.clear();
}

void HostWindow::OpenWindow()
{
	StartCommand();
	std::string error;
	if (fGroup.Open(fItem, error) == NULL) {
		fprintf(stderr, "reshost: %s\n", error.c_str());
		fNotice = "No new window: " + error;
	}
	UpdateTitle();
}

void HostWindow::RequestQuit()
{
	switch (fGroup.RequestQuit()) {
	case WindowGroup::kClose:
		Quit();
		break;
	case WindowGroup::kWarn:
		fNotice = kQuitAgainNotice;
		UpdateTitle();
		break;
	case WindowGroup::kHold:
		break;
	}
}

bool HostWindow::QuitRequested()
{
	switch (fGroup.RequestClose(this)) {
	case WindowGroup::kClose:
		return true;
	case WindowGroup::kWarn:
		fNotice = kCloseAgainNotice;
		UpdateTitle();
		return false;
	case WindowGroup::kHold:
		break;
	}
	return false;
}

void HostWindow::UpdateTitle()
{
	std::string title;
	if (fDocument.IsModified())
		title += "*";
	title += fDocument.Item(fDocument.ItemAt(fItem))->Name();
	if (fDocument.CountItems() > 1) {
		title += " (item " + std::to_string(fItem + 1) + " of " +
		         std::to_string(fDocument.CountItems()) + ")";
	}
	if (fDocument.CanUndo())
		title += " - Undo " + fDocument.UndoName();
	if (fDocument.CanRedo())
		title += " - Redo " + fDocument.RedoName();
	if (!fNotice.empty())
		title += " - " + fNotice;
	SetTitle(title.c_str());
	UpdateStatus();
}

void HostWindow::UpdateStatus()
{
	// Window managers cut long titles short: the status line has room for
	// the whole notice.
	std::string status = "Item " + std::to_string(fItem + 1) + " of " +
	                     std::to_string(fDocument.CountItems()) + ": ";
	fDocument.ReadItem(fDocument.ItemAt(fItem), [&status](const BResourceItem& item) {
		status += "type " + ItemListing::TypeText(item.Type()) + ", id " +
		          std::to_string(item.ID()) + ", " + ItemListing::QuotedName(item.Name()) + ", " +
		          std::to_string(item.DataIO().BufferLength()) + " bytes";
	});
	fGroup.UseFiles([this, &status](std::vector<DocumentFile>& files) {
		for (const DocumentFile& file : files) {
			if (file.Holds(fItem))
				status += " (" + file.Description() + ")";
		}
	});
	if (!fNotice.empty())
		status += " - " + fNotice;
	fStatus->SetText(status.c_str());
}

std::string HostWindow::ListLine(int32 index) const
{
	// Another window's thread may be changing the item's size meanwhile.
	std::string line;
	fDocument.ReadItem(fDocument.ItemAt(index), [&line, index](const BResourceItem& item) {
		line = ItemListing::Line(index + 1, item);
	});
	return line;
}

void HostWindow::UpdateList()
{
	// Sizes change with edits, undo and redo: redraw the lines that differ.
	for (int32 index = 0; index < fList->CountItems(); index++) {
		BStringItem* line = static_cast<BStringItem*>(fList->ItemAt(index));
		std::string text = ListLine(index);
		if (text != line->Text()) {
			line->SetText(text.c_str());
			fList->InvalidateItem(index);
		}
	}
}
