// HostWindow: the editor's window and the host's commands.

#include "HostWindow.h"

#include <Application.h>
#include <DataIO.h>
#include <FullItemEditor.h>
#include <InterfaceDefs.h>
#include <View.h>

#include <cstdio>

#include "AddonLoader.h"
#include "Document.h"

namespace {

const char* const kQuitAgainNotice = "Unsaved changes: press Ctrl+Q again to quit";

} // namespace

HostWindow::HostWindow(Document& document, AddonLoader& loader, std::vector<ItemFile>& files)
    : BWindow(BRect(80, 60, 680, 460), "reshost", B_TITLED_WINDOW, 0), fDocument(document),
      fLoader(loader), fFiles(files), fEditor(NULL), fItem(0), fQuitArmed(false), fSaveArmed(false),
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
}

status_t HostWindow::SetUp()
{
	fEditor = fLoader.MakeEditorFor(fDocument, fDocument.ItemAt(0));
	if (fEditor == NULL) {
		fError = std::string("no add-on makes an editor: ") + fLoader.ErrorMessage();
		return B_ERROR;
	}

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
	// its font then); it follows every side of the window from then on.
	BView* view = fEditor->View();
	view->MoveTo(0, 0);
	view->ResizeTo(Bounds().Width(), Bounds().Height());
	float width;
	float height;
	view->GetPreferredSize(&width, &height);
	ResizeTo(width, height);
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
		break;
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

	// Only the items that differ from their files are written.
	struct Change
	{
		ItemFile* file;
		const void* bytes;
		size_t length;
	};
	std::vector<Change> changes;
	for (int32 index = 0; index < fDocument.CountItems() && size_t(index) < fFiles.size();
	     index++) {
		const BMallocIO& data = fDocument.Item(fDocument.ItemAt(index))->DataIO();
		Change change = {&fFiles[size_t(index)], data.Buffer() != NULL ? data.Buffer() : "",
		                 data.BufferLength()};
		if (change.file->Differs(change.bytes, change.length))
			changes.push_back(change);
	}

	// A file that another program changed since it was opened, or one that
	// shares its data with other names, is overwritten only when the user
	// saves a second time, with no other command in between.
	if (!fSaveArmed) {
		for (const Change& change : changes) {
			std::string warning = change.file->SaveWarning();
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

	// Any failure leaves the document unsaved, so nothing is lost.
	std::string firstError;
	for (const Change& change : changes) {
		if (change.file->Write(change.bytes, change.length) != B_OK) {
			fprintf(stderr, "reshost: %s\n", change.file->ErrorMessage().c_str());
			if (firstError.empty())
				firstError = change.file->ErrorMessage();
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
