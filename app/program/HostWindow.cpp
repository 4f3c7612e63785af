// HostWindow: the editor's window and the host's commands.

#include "HostWindow.h"

#include <Application.h>
#include <FullItemEditor.h>
#include <InterfaceDefs.h>
#include <ListItem.h>
#include <ListView.h>
#include <ScrollView.h>
#include <View.h>

#include <algorithm>
#include <cstdio>

#include "AddonLoader.h"
#include "Document.h"
#include "ItemListing.h"

namespace {

const char* const kQuitAgainNotice = "Unsaved changes: press Ctrl+Q again to quit";
// The item list's width follows its lines within these bounds.
const float kMinListWidth = 120;
const float kMaxListWidth = 280;

} // namespace

HostWindow::HostWindow(Document& document, AddonLoader& loader, std::vector<DocumentFile>& files)
    : BWindow(BRect(80, 60, 680, 460), "reshost", B_TITLED_WINDOW, 0), fDocument(document),
      fLoader(loader), fFiles(files), fEditor(NULL), fList(NULL), fItem(0), fQuitArmed(false),
      fSaveArmed(false),
      fDriven(false), fQuitAccepted(false)
{
	AddShortcut('S', 0, new BMessage(kMsgSave));
	AddShortcut('Z', 0, new BMessage(kMsgUndo));
	AddShortcut('Z', B_SHIFT_KEY, new BMessage(kMsgRedo));
	AddShortcut(B_PAGE_DOWN, 0, new BMessage(kMsgNextItem));
	AddShortcut(B_PAGE_UP, 0, new BMessage(kMsgPreviousItem));
	AddShortcut('Q', 0, new BMessage(kMsgQuit));

	// The document calls this on the thread that changed it, which may hold
	// this window's lock or not: the title follows through the queue.
	fDocument.SetListener([this]() { PostMessage(kMsgUpdateTitle); });
}

HostWindow::~HostWindow()
{
	fDocument.SetListener(nullptr);
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
}

status_t HostWindow::SetUp(int32 index)
{
	fItem = index;
	fEditor = fLoader.MakeEditorFor(fDocument, fDocument.ItemAt(fItem));
	if (fEditor == NULL) {
		fError = std::string("no add-on makes an editor: ") + fLoader.ErrorMessage();
		return B_ERROR;
	}

	fList = new BListView(BRect(0, 0, kMinListWidth, Bounds().Height()), "ItemList",
	                      B_SINGLE_SELECTION_LIST, B_FOLLOW_ALL_SIDES);
	for (int32 i = 0; i < fDocument.CountItems(); i++) {
		std::string line = ItemListing::Line(i + 1, *fDocument.Item(fDocument.ItemAt(i)));
		fList->AddItem(new BStringItem(line.c_str()));
	}
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
	// its font then); it follows every side of the window from then on, and
	// the item list on its right follows the window's right edge.
	BView* view = fEditor->View();
	BView* list = fList->Parent();
	BRect bounds = Bounds();
	float listWidth = list->Frame().Width() + 1;
	view->MoveTo(0, 0);
	view->ResizeTo(bounds.Width() - listWidth, bounds.Height());
	list->MoveTo(bounds.Width() - listWidth + 1, 0);
	list->ResizeTo(listWidth - 1, bounds.Height());
	float width;
	float height;
	view->GetPreferredSize(&width, &height);
	ResizeTo(width + listWidth, height);
}

BView* HostWindow::DumpView() const
{
	return FindView("HexDumpView");
}

void HostWindow::MessageReceived(BMessage* message)
{
	switch (message->what) {
	case kMsgSave:
		fQuitArmed = false;
		Save();
		break;
	case kMsgUndo:
	case kMsgRedo: {
		fQuitArmed = false;
		fSaveArmed = false;
		fNotice.clear();
		bool undo = message->what == kMsgUndo;
		if ((undo ? fDocument.Undo() : fDocument.Redo()) != B_OK)
			fNotice = undo ? "Nothing to undo" : "Nothing to redo";
		UpdateTitle();
		break;
	}
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
	case kMsgEndDriving:
		fDriven = false;
		if (fQuitAccepted) {
			be_app->PostMessage(B_QUIT_REQUESTED);
			Quit();
		}
		break;
	default:
		BWindow::MessageReceived(message);
		break;
	}
}

void HostWindow::Save()
{
	fNotice.clear();
	if (fFiles.empty()) {
		fNotice = "The sample document has no files to save to";
		UpdateTitle();
		return;
	}

	// A file that another program changed since it was opened, or one that
	// shares its data with other names, is overwritten only when the user
	// saves a second time, with no other command in between.
	if (!fSaveArmed) {
		for (DocumentFile& file : fFiles) {
			const std::string warning = file.SaveWarning(fDocument);
			if (warning.empty())
				continue;
			fprintf(stderr, "reshost: %s\n", warning.c_str());
			fSaveArmed = true;
			fNotice = warning + ": press Ctrl+S again to save";
			UpdateTitle();
			return;
		}
	}
	fSaveArmed = false;

	// Only the files whose items differ from them are written; any failure
	// leaves the document unsaved, so nothing is lost.
	std::string firstError;
	for (DocumentFile& file : fFiles) {
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
	UpdateTitle();
}

void HostWindow::ShowItem(int32 index)
{
	fQuitArmed = false;
	fSaveArmed = false;
	fNotice.clear();
	int32 count = fDocument.CountItems();
	fItem = (index % count + count) % count;
	fEditor->Retarget(fDocument.ItemAt(fItem));
	fList->Select(fItem);
	fList->ScrollToSelection();
	UpdateTitle();
}

void HostWindow::RequestQuit()
{
	if (QuitRequested() && !fDriven)
		Quit();
}

bool HostWindow::QuitRequested()
{
	// A first request with unsaved changes only warns; the next one quits.
	if (fDocument.IsModified() && !fQuitArmed) {
		fQuitArmed = true;
		fNotice = kQuitAgainNotice;
		UpdateTitle();
		return false;
	}

	fQuitAccepted = true;
	if (fDriven)
		return false;
	be_app->PostMessage(B_QUIT_REQUESTED);
	return true;
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
	auto stepName = [](const char* name) { return name != NULL ? name : ""; };
	if (fDocument.CanUndo())
		title += std::string(" - Undo ") + stepName(fDocument.UndoName());
	if (fDocument.CanRedo())
		title += std::string(" - Redo ") + stepName(fDocument.RedoName());
	if (!fNotice.empty())
		title += " - " + fNotice;
	SetTitle(title.c_str());
}

void HostWindow::UpdateList()
{
	// Sizes change with edits, undo and redo: redraw the lines that differ.
	for (int32 index = 0; index < fList->CountItems(); index++) {
		BStringItem* line = static_cast<BStringItem*>(fList->ItemAt(index));
		std::string text = ItemListing::Line(index + 1, *fDocument.Item(fDocument.ItemAt(index)));
		if (text != line->Text()) {
			line->SetText(text.c_str());
			fList->InvalidateItem(index);
		}
	}
}
