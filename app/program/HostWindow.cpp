// HostWindow: the editor's window and the host's commands.

#include "HostWindow.h"

#include <Font.h>
#include <FullItemEditor.h>
#include <InterfaceDefs.h>
#include <ListItem.h>
#include <ListView.h>
#include <ResourceItem.h>
#include <ScrollBar.h>
#include <ScrollView.h>
#include <StringView.h>
#include <View.h>

#include <ctype.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <unordered_map>

#include "Document.h"
#include "DocumentFile.h"
#include "HostCommands.h"
#include "ItemForm.h"
#include "ItemListing.h"
#include "ItemPreview.h"
#include "WindowGroup.h"

namespace {

const char* const kCloseAgainNotice = "Unsaved changes: close again to quit without saving";
const char* const kNoChangesNotice = "No changes to save";
// The item list's width follows its rows within these bounds, in
// characters of the font.
const float kMinListColumns = 20;
const float kMaxListColumns = 40;
// The dump keeps at least this many characters' width: with the list's
// least, room for the longest of the window's own notices.
const float kMinDumpColumns = 34;
// What a row of the list needs beside its text in a font of 12 pixels, in
// proportion in others: BStringItem's margins left and right, and the
// indent of each outline level.
const float kRowMargins = 4 + 4;
const float kOutlineIndent = 12;
const float kBaseFontSize = 12;
const char* const kEllipsis = "\xE2\x80\xA6";
// Space around the status line's text.
const float kStatusInset = 3;
// No limit on the window's growth.
const float kMaxWindowSize = 32768;

// The length of the UTF-8 character that starts at text[0], or ends at
// text[end - 1] (counted back).
size_t FirstCharacterLength(const std::string& text)
{
	size_t length = 1;
	while (length < text.size() && (text[length] & 0xC0) == 0x80)
		length++;
	return length;
}

size_t LastCharacterStart(const std::string& text)
{
	size_t start = text.size() - 1;
	while (start > 0 && (text[start] & 0xC0) == 0x80)
		start--;
	return start;
}

// before + cut + after, with characters taken from cut's end (or, to keep
// its end, from its start) and an ellipsis in their place until the text
// is at most width wide in view's font, or cut is gone.
std::string Shortened(const BView& view, const std::string& before, std::string cut,
                      const std::string& after, bool keepEnd, float width)
{
	std::string text = before + cut + after;
	while (!cut.empty() && view.StringWidth(text.c_str()) > width) {
		if (keepEnd) {
			cut.erase(0, FirstCharacterLength(cut));
			text = before + kEllipsis + cut + after;
		} else {
			cut.erase(LastCharacterStart(cut));
			text = before + cut + kEllipsis + after;
		}
	}
	return text;
}

// "press Ctrl+Q again to quit": a confirmation asked for with the key the
// commands' table gives.
std::string PressAgain(uint32 what, const std::string& toDo)
{
	return "press " + HostCommands::ShortcutName(*HostCommands::Find(what)) + " again to " + toDo;
}

} // namespace

HostWindow::HostWindow(WindowGroup& group, Document& document)
    : BWindow(BRect(80, 60, 680, 460), "reshost", B_TITLED_WINDOW, 0), fGroup(group),
      fDocument(document), fEditor(NULL), fList(NULL), fStatus(NULL), fPreview(NULL), fForm(NULL),
      fListener(0), fNoticeKind(kNoticeOfCommand), fListWidth(0), fMinListWidth(0), fEditorWidth(0),
      fSaveArmed(false), fRefusalsSeen(document.CountRefusedGrowths()), fLastEditKey(kNoEdit)
{
	for (const HostCommand& command : HostCommands::All())
		AddShortcut(command.key, command.modifiers, new BMessage(command.what));

	// The document calls this on the thread that changed it, which may hold
	// this window's lock or not: the list and the title follow through the
	// queue.
	fListener = fDocument.AddListener([this](const std::vector<Document::ItemChange>& changes) {
		{
			std::lock_guard<std::mutex> guard(fPendingLock);
			fPending.insert(fPending.end(), changes.begin(), changes.end());
		}
		PostMessage(kMsgUpdateTitle);
	});
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
	fShown = fDocument.ItemAt(index);
	if (fShown.IsValid()) {
		fEditor = fGroup.MakeEditor(fShown, fError);
		if (fEditor == NULL)
			return B_ERROR;
	}

	fList = new BListView(BRect(0, 0, 100, Bounds().Height()), "ItemList", B_SINGLE_SELECTION_LIST,
	                      B_FOLLOW_ALL_SIDES);
	fGroup.UseFiles([this](std::vector<DocumentFile>& files) { FillList(files); });
	BScrollView* scroller =
	    new BScrollView("ItemListScroll", fList, B_FOLLOW_RIGHT | B_FOLLOW_TOP_BOTTOM, 0, false,
	                    true, B_PLAIN_BORDER);
	AddChild(scroller);
	if (fShown.IsValid()) {
		fList->Select(RowOfItem(fShown));
		fList->ScrollToSelection();
	}
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

	// What the shown item's bytes mean, under the list.
	fPreview = new ItemPreview(BRect(0, 0, 10, 10));
	fPreview->SetViewColor(statusBar->ViewColor());
	AddChild(fPreview);

	if (fEditor != NULL) {
		AddChild(fEditor->View());
		fEditor->View()->MakeFocus(true);
	}
	ResizeToEditor();
	UpdateTitle();
	return B_OK;
}

void HostWindow::FillList(const std::vector<DocumentFile>& files)
{
	std::error_code error;
	for (const DocumentFile& file : files) {
		const std::string path = std::filesystem::absolute(file.Path(), error).string();
		fFileFacts.push_back(
		    {error ? file.Path() : path, file.IsBigEndian(), file.Description(fDocument)});
	}
	auto fileOf = [&files](const BResourceHandle& item) {
		for (size_t file = 0; file < files.size(); file++) {
			if (files[file].Holds(item))
				return int32(file);
		}
		return int32(-1);
	};

	// Items of one file are listed without its name, which the status line
	// and the title give; items of no file follow the files'.
	const bool grouped = files.size() > 1;
	const std::vector<BResourceHandle> items = fDocument.Items();
	for (size_t file = 0; grouped && file < files.size(); file++) {
		InsertRow(int32(fRowItems.size()), BResourceHandle(), int32(file), 0);
		for (const BResourceHandle& item : files[file].LiveItems(fDocument))
			InsertRow(int32(fRowItems.size()), item, int32(file), 1);
	}
	for (const BResourceHandle& item : items) {
		const int32 file = fileOf(item);
		if (!grouped || file < 0)
			InsertRow(int32(fRowItems.size()), item, file, 0);
	}
}

int32 HostWindow::RowOfItem(const BResourceHandle& item) const
{
	if (!item.IsValid())
		return -1;
	std::vector<BResourceHandle>::const_iterator found =
	    std::find(fRowItems.begin(), fRowItems.end(), item);
	return found != fRowItems.end() ? int32(found - fRowItems.begin()) : -1;
}

void HostWindow::InsertRow(int32 row, const BResourceHandle& item, int32 file, int32 level)
{
	std::string text;
	if (item.IsValid())
		text = ListLine(item, fDocument.IndexOf(item));
	else
		text = ItemListing::Escaped(fFileFacts[size_t(file)].path);
	BStringItem* line = new BStringItem(text.c_str(), uint32(level));
	line->SetEnabled(item.IsValid());
	fRowItems.insert(fRowItems.begin() + row, item);
	fRowFiles.insert(fRowFiles.begin() + row, file);
	fRowTexts.insert(fRowTexts.begin() + row, text);
	fList->AddItem(line, row);
}

void HostWindow::RemoveRow(int32 row)
{
	delete fList->RemoveItem(row);
	fRowItems.erase(fRowItems.begin() + row);
	fRowFiles.erase(fRowFiles.begin() + row);
	fRowTexts.erase(fRowTexts.begin() + row);
}

void HostWindow::RefreshRow(int32 row, int32 index)
{
	fRowTexts[size_t(row)] = ListLine(fRowItems[size_t(row)], index);
	BStringItem* line = static_cast<BStringItem*>(fList->ItemAt(row));
	const std::string text = FittedRow(row);
	if (text != line->Text()) {
		line->SetText(text.c_str());
		fList->InvalidateItem(row);
	}
}

std::string HostWindow::FittedRow(int32 row) const
{
	const std::string& text = fRowTexts[size_t(row)];
	const float width = fList->Bounds().Width() + 1 - RowTextSlack(row);
	if (!fRowItems[size_t(row)].IsValid())
		return Shortened(*fList, "", text, "", true, width);
	// The name is what stands between the first and the last quote.
	const size_t open = text.find('"');
	const size_t close = text.rfind('"');
	if (open == std::string::npos || close <= open)
		return text;
	return Shortened(*fList, text.substr(0, open + 1), text.substr(open + 1, close - open - 1),
	                 text.substr(close), false, width);
}

float HostWindow::RowTextSlack(int32 row) const
{
	BFont font;
	fList->GetFont(&font);
	const float level = float(fList->ItemAt(row)->OutlineLevel());
	return std::ceil((kRowMargins + kOutlineIndent * level) * font.Size() / kBaseFontSize);
}

void HostWindow::ResizeToEditor()
{
	// The editor knows its preferred size only once attached (it measures
	// its font then). Sizes here count pixels.
	BView* list = fList->Parent();
	const float charWidth = fList->StringWidth("0");
	const float barWidth = fList->ScrollBar(B_VERTICAL)->Frame().Width() + 1;
	const float listFrame = list->Bounds().Width() - fList->Bounds().Width();
	float widest = 0;
	for (int32 row = 0; row < fList->CountItems(); row++) {
		widest = std::max(widest,
		                  fList->StringWidth(fRowTexts[size_t(row)].c_str()) + RowTextSlack(row));
	}
	fMinListWidth = std::ceil(kMinListColumns * charWidth + listFrame);
	fListWidth = std::clamp(std::ceil(widest + listFrame), fMinListWidth,
	                        std::ceil(kMaxListColumns * charWidth + listFrame));

	// Small enough for any screen, large enough that every scroll bar keeps
	// its two arrows and room for a thumb between them, and that the dump
	// keeps some columns beside the list.
	float lineHeight;
	fStatus->GetPreferredSize(NULL, &lineHeight);
	const float statusHeight = lineHeight + 2 * kStatusInset;
	const float minEditor = 5 * barWidth;
	const float minDump = std::max(minEditor, std::ceil(kMinDumpColumns * charWidth));
	SetSizeLimits(minDump + fMinListWidth - 1, kMaxWindowSize,
	              minEditor + fPreview->MinHeight() + statusHeight - 1, kMaxWindowSize);
	// Without an item, room for an editor as wide as the least dump.
	float width = minDump;
	float height = 2 * minEditor;
	if (fEditor != NULL)
		fEditor->View()->GetPreferredSize(&width, &height);
	fEditorWidth = width;
	ResizeTo(width + fListWidth, height + statusHeight);
	LayOut();
}

void HostWindow::LayOut()
{
	// The editor takes what the list, on the right, and the status bar,
	// across the bottom, leave. The list has its rows' width while the
	// window has room for it beside the whole dump; in a narrower window
	// the list gives way first, down to its least.
	BView* list = fList->Parent();
	BView* statusBar = fStatus->Parent();
	const BRect bounds = Bounds();
	const float listWidth = std::clamp(bounds.Width() - fEditorWidth, fMinListWidth, fListWidth);
	float lineHeight;
	fStatus->GetPreferredSize(NULL, &lineHeight);
	const float statusHeight = lineHeight + 2 * kStatusInset;
	// An item command's form sits over the status line, across the window.
	float formHeight = 0;
	if (fForm != NULL) {
		fForm->GetPreferredSize(NULL, &formHeight);
		formHeight += 1;
	}
	const float editorHeight = bounds.Height() + 1 - statusHeight - formHeight;
	// The preview under the list has its preferred height while the list
	// keeps room for its scroll bar's arrows and thumb.
	float previewHeight;
	fPreview->GetPreferredSize(NULL, &previewHeight);
	const float barWidth = fList->ScrollBar(B_VERTICAL)->Frame().Width() + 1;
	previewHeight = std::clamp(editorHeight - 5 * barWidth, fPreview->MinHeight(), previewHeight);
	const float listHeight = editorHeight - previewHeight;
	if (fEditor != NULL) {
		fEditor->View()->MoveTo(0, 0);
		fEditor->View()->ResizeTo(bounds.Width() - listWidth, editorHeight - 1);
	}
	list->MoveTo(bounds.Width() + 1 - listWidth, 0);
	list->ResizeTo(listWidth - 1, listHeight - 1);
	fPreview->MoveTo(bounds.Width() + 1 - listWidth, listHeight);
	fPreview->ResizeTo(listWidth - 1, previewHeight - 1);
	if (fForm != NULL) {
		fForm->MoveTo(0, editorHeight);
		fForm->ResizeTo(bounds.Width(), formHeight - 1);
	}
	statusBar->MoveTo(0, editorHeight + formHeight);
	statusBar->ResizeTo(bounds.Width(), statusHeight - 1);
	fStatus->ResizeTo(bounds.Width() - 2 * kStatusInset, lineHeight - 1);

	for (int32 row = 0; row < fList->CountItems(); row++) {
		BStringItem* item = static_cast<BStringItem*>(fList->ItemAt(row));
		const std::string text = FittedRow(row);
		if (text != item->Text()) {
			item->SetText(text.c_str());
			fList->InvalidateItem(row);
		}
	}
	UpdateStatus();
}

void HostWindow::FrameResized(float newWidth, float newHeight)
{
	BWindow::FrameResized(newWidth, newHeight);
	LayOut();
}

BView* HostWindow::DumpView() const
{
	return FindView("HexDumpView");
}

HostWindow::KeyKind HostWindow::KindOfKey(char key)
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
		return kMovingKey;
	case B_BACKSPACE:
		return kBackspaceKey;
	case B_DELETE:
		return kDeleteKey;
	default:
		return isprint((unsigned char)key) ? kTypingKey : kNoEdit;
	}
}

void HostWindow::DispatchMessage(BMessage* message, BHandler* handler)
{
	// The editor's view is the add-on's: the window cannot ask it where the
	// cursor went, so any click and any key that moves without editing ends
	// the run of edits, and so does an edit of another kind than the last:
	// a run is one of typing, of Backspaces or of Deletes. Keys with the
	// command modifier are the window's.
	if (message->what == B_MOUSE_DOWN) {
		fDocument.EndUndoRun();
		// The editor's view takes a click that brings it the keyboard as
		// only that; here the click into the dump also places the cursor, so
		// the view has the keyboard before it sees the click.
		BPoint where;
		BView* dump = DumpView();
		if (message->FindPoint("where", &where) == B_OK && FindView(where) == dump &&
		    dump != NULL && !dump->IsFocus())
			dump->MakeFocus(true);
	} else if (message->what == B_KEY_DOWN) {
		const char* bytes;
		int32 modifiers = 0;
		message->FindInt32("modifiers", &modifiers);
		const bool plain =
		    (modifiers & B_COMMAND_KEY) == 0 && message->FindString("bytes", &bytes) == B_OK;
		// Escape closes an item command's form; Delete in the list removes
		// the item (an undoable step).
		if (plain && bytes[0] == B_ESCAPE && fForm != NULL) {
			CloseForm();
			UpdateTitle();
			return;
		}
		if (plain && bytes[0] == B_DELETE && fList->IsFocus()) {
			RemoveItemCommand(BMessage(kMsgRemoveItem));
			return;
		}
		// Keys typed into the form are no edits of the item.
		bool inForm = false;
		for (BView* view = CurrentFocus(); view != NULL && fForm != NULL; view = view->Parent())
			inForm = inForm || view == fForm;
		if (plain && !inForm) {
			const KeyKind kind = KindOfKey(bytes[0]);
			if (kind == kMovingKey || (kind != kNoEdit && kind != fLastEditKey))
				fDocument.EndUndoRun();
			if (kind != kNoEdit)
				fLastEditKey = kind;
		}
	}
	BWindow::DispatchMessage(message, handler);
}

void HostWindow::MessageReceived(BMessage* message)
{
	if (const HostCommand* command = HostCommands::Find(message->what)) {
		(this->*command->handler)(*message);
		return;
	}
	switch (message->what) {
	case kMsgCloseForm:
		CloseForm();
		UpdateTitle();
		break;
	case B_SIMPLE_DATA:
		if (message->WasDropped())
			AddDroppedFiles(*message);
		else
			BWindow::MessageReceived(message);
		break;
	case kMsgUpdateTitle:
		ExpireNotice();
		NoteRefusedGrowth();
		ApplyChanges();
		UpdateTitle();
		break;
	case kMsgChooseItem:
	case kMsgEditItem: {
		int32 row;
		if (message->FindInt32("index", &row) == B_OK && row >= 0 &&
		    row < int32(fRowItems.size()) && fRowItems[size_t(row)].IsValid() &&
		    fRowItems[size_t(row)] != fShown) {
			StartCommand();
			Present(fRowItems[size_t(row)]);
		}
		// A double click or Enter on a row also hands the keyboard to the editor.
		if (message->what == kMsgEditItem && DumpView() != NULL)
			DumpView()->MakeFocus(true);
		break;
	}
	default:
		BWindow::MessageReceived(message);
		break;
	}
}

void HostWindow::SaveCommand(const BMessage&)
{
	fGroup.DisarmQuit();
	Save();
}

void HostWindow::UndoCommand(const BMessage&)
{
	Replay(true);
}

void HostWindow::RedoCommand(const BMessage&)
{
	Replay(false);
}

void HostWindow::NextItemCommand(const BMessage&)
{
	ShowItem(CurrentItem() + 1);
}

void HostWindow::PreviousItemCommand(const BMessage&)
{
	ShowItem(CurrentItem() - 1);
}

void HostWindow::NewWindowCommand(const BMessage&)
{
	OpenWindow();
}

void HostWindow::QuitCommand(const BMessage&)
{
	fSaveArmed = false;
	RequestQuit();
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
		SetNotice("The sample document has no files to save to");
		return;
	}

	// Items typed and deleted again, or undone, are no change: nothing is
	// written, and the document is as saved.
	if (std::none_of(files.begin(), files.end(),
	                 [this](const DocumentFile& file) { return file.HasChanges(fDocument); })) {
		fSaveArmed = false;
		fDocument.MarkSaved();
		SetNotice(kNoChangesNotice, kNoticeWhileSaved);
		fGroup.RecordSave(WindowGroup::kSaveWritten, "");
		return;
	}

	// A file that another program changed since it was opened, one that
	// shares its data with other names, one that is write-protected or one
	// that would be written in place is overwritten only when the user
	// saves a second time, with no other command in between. Every file's
	// warning goes to standard error, so that the second save writes none
	// the user was not told about; the status line shows the first.
	if (!fSaveArmed) {
		int32 warnings = 0;
		std::string notice;
		for (DocumentFile& file : files) {
			const std::string warning = file.SaveWarning(fDocument);
			if (warning.empty())
				continue;
			fprintf(stderr, "reshost: %s\n", ItemListing::Escaped(warning).c_str());
			if (warnings++ == 0)
				notice = warning;
		}
		if (warnings > 0) {
			if (warnings > 1)
				notice += " (and " + std::to_string(warnings - 1) + " more on standard error)";
			SetNotice(notice + ": " + PressAgain(kMsgSave, "save"));
			fSaveArmed = true;
			fGroup.RecordSave(WindowGroup::kSaveWarned, notice);
			return;
		}
	}
	fSaveArmed = false;

	// Only the files whose items differ from them are written; any failure
	// leaves the document unsaved, so nothing is lost. What a save could not
	// keep is reported beside its success.
	std::string firstError;
	std::string notices;
	for (DocumentFile& file : files) {
		if (file.Save(fDocument) != B_OK) {
			fprintf(stderr, "reshost: %s\n", ItemListing::Escaped(file.ErrorMessage()).c_str());
			if (firstError.empty())
				firstError = file.ErrorMessage();
		} else if (!file.SaveNotice().empty()) {
			fprintf(stderr, "reshost: %s\n", ItemListing::Escaped(file.SaveNotice()).c_str());
			notices += "; " + file.SaveNotice();
		}
	}

	if (firstError.empty()) {
		fDocument.MarkSaved();
		SetNotice("Saved" + notices, kNoticeWhileSaved);
		fGroup.RecordSave(WindowGroup::kSaveWritten, "");
	} else {
		SetNotice("Save failed: " + firstError, kNoticeWhileModified);
		fGroup.RecordSave(WindowGroup::kSaveFailed, firstError);
	}
}

void HostWindow::ShowItem(int32 index)
{
	StartCommand();
	const int32 count = fDocument.CountItems();
	if (count > 0)
		Present(fDocument.ItemAt((index % count + count) % count));
}

status_t HostWindow::Present(const BResourceHandle& item)
{
	fShown = item;
	status_t status = B_OK;
	if (fEditor != NULL && fShown.IsValid())
		fEditor->Retarget(fShown);
	else
		status = AttachEditor();
	const int32 row = RowOfItem(fShown);
	if (row >= 0) {
		fList->Select(row);
		fList->ScrollToSelection();
	}
	UpdateTitle();
	return status;
}

status_t HostWindow::AttachEditor()
{
	if (!fShown.IsValid()) {
		// No item to edit: the editor goes (a new one comes with an item).
		if (fEditor != NULL) {
			fEditor->View()->RemoveSelf();
			delete fEditor;
			fEditor = NULL;
			LayOut();
		}
		return B_OK;
	}
	if (fEditor != NULL)
		return B_OK;
	fEditor = fGroup.MakeEditor(fShown, fError);
	if (fEditor == NULL) {
		SetNotice("No editor: " + fError);
		return B_ERROR;
	}
	AddChild(fEditor->View());
	// The window takes the size the editor wants, as when it opened with it.
	ResizeToEditor();
	fEditor->View()->MakeFocus(true);
	return B_OK;
}

void HostWindow::ApplyChanges()
{
	std::vector<Document::ItemChange> changes;
	{
		std::lock_guard<std::mutex> guard(fPendingLock);
		changes.swap(fPending);
	}
	if (changes.empty())
		return;
	// Each change is settled by what the document holds now, so that a
	// removal undone before this runs leaves the row as it was.
	bool moved = false;
	BResourceHandle takesPlace;
	for (const Document::ItemChange& change : changes) {
		const int32 index = fDocument.IndexOf(change.item);
		int32 row = RowOfItem(change.item);
		if (index < 0 && row >= 0) {
			if (change.item == fShown) {
				// The item after it in the list, else the one before.
				for (int32 other = row + 1;
				     !takesPlace.IsValid() && other < int32(fRowItems.size()); other++) {
					if (fDocument.IndexOf(fRowItems[size_t(other)]) >= 0)
						takesPlace = fRowItems[size_t(other)];
				}
				for (int32 other = row - 1; !takesPlace.IsValid() && other >= 0; other--) {
					if (fDocument.IndexOf(fRowItems[size_t(other)]) >= 0)
						takesPlace = fRowItems[size_t(other)];
				}
			}
			RemoveRow(row);
			moved = true;
		} else if (index >= 0 && row < 0) {
			int32 file = -1;
			fGroup.UseFiles([&](std::vector<DocumentFile>& files) {
				for (size_t other = 0; other < files.size(); other++) {
					if (files[other].Holds(change.item))
						file = int32(other);
				}
			});
			// After the last row of an item of its file (or of any item,
			// when the list has no headings) that comes before it.
			const bool grouped = fFileFacts.size() > 1;
			row = 0;
			for (int32 other = 0; other < int32(fRowItems.size()); other++) {
				const BResourceHandle& item = fRowItems[size_t(other)];
				const bool sameGroup = !grouped || fRowFiles[size_t(other)] == file;
				if (sameGroup && !item.IsValid())
					row = other + 1;
				else if (sameGroup && fDocument.IndexOf(item) < index)
					row = other + 1;
			}
			InsertRow(row, change.item, file, grouped && file >= 0 ? 1 : 0);
			moved = true;
		} else if (row >= 0) {
			RefreshRow(row, index);
		}
	}
	if (moved) {
		// The files' counts of items changed.
		fGroup.UseFiles([this](std::vector<DocumentFile>& files) {
			for (size_t file = 0; file < files.size() && file < fFileFacts.size(); file++)
				fFileFacts[file].kind = files[file].Description(fDocument);
		});
		// Items after the change moved in the list: their numbers follow.
		const std::vector<BResourceHandle> items = fDocument.Items();
		std::unordered_map<BResourceHandle, int32, Document::HandleHash> indexes;
		for (size_t index = 0; index < items.size(); index++)
			indexes[items[index]] = int32(index);
		for (int32 row = 0; row < int32(fRowItems.size()); row++) {
			if (fRowItems[size_t(row)].IsValid())
				RefreshRow(row, indexes[fRowItems[size_t(row)]]);
		}
	}
	if (fDocument.IndexOf(fShown) < 0) {
		if (!takesPlace.IsValid())
			takesPlace = fDocument.ItemAt(0);
		Present(takesPlace);
	} else if (!fEditor && fShown.IsValid()) {
		AttachEditor();
	}
}

void HostWindow::Replay(bool undo)
{
	// A step on another item is shown before it is replayed, so that no
	// change happens out of sight; an item the step brings back is shown
	// once it is there.
	const BResourceHandle item = undo ? fDocument.UndoItem() : fDocument.RedoItem();
	if (fDocument.IndexOf(item) >= 0 && item != fShown)
		ShowItem(fDocument.IndexOf(item));
	StartCommand();
	if ((undo ? fDocument.Undo() : fDocument.Redo()) != B_OK) {
		SetNotice(undo ? "Nothing to undo" : "Nothing to redo",
		          undo ? kNoticeWhileNoUndo : kNoticeWhileNoRedo);
	}
	ApplyChanges();
	if (fDocument.IndexOf(item) >= 0 && item != fShown)
		Present(item);
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
	if (fGroup.Open(std::max(CurrentItem(), int32(0)), error) == NULL) {
		fprintf(stderr, "reshost: %s\n", ItemListing::Escaped(error).c_str());
		SetNotice("No new window: " + error);
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
		SetNotice("Unsaved changes: " + PressAgain(kMsgQuit, "quit"), kNoticeWhileModified);
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
		SetNotice(kCloseAgainNotice, kNoticeWhileModified);
		UpdateTitle();
		return false;
	case WindowGroup::kHold:
		break;
	}
	return false;
}

void HostWindow::NoteRefusedGrowth()
{
	const uint32 refusals = fDocument.CountRefusedGrowths();
	if (refusals == fRefusalsSeen)
		return;
	fRefusalsSeen = refusals;
	if (fDocument.LastRefusedItem() != fShown)
		return;
	// The largest item the program can open again at this font size.
	SetNotice("Not inserted: the item would grow past " +
	          std::to_string(fDocument.ItemSizeLimit()) +
	          " bytes, the most the view shows exactly at " +
	          std::to_string(std::lround(be_fixed_font->Size())) + " px");
}

void HostWindow::UpdateTitle()
{
	std::string title;
	if (fDocument.IsModified())
		title += "*";
	const int32 count = fDocument.CountItems();
	const int32 index = fDocument.IndexOf(fShown);
	if (index < 0)
		title += "No items";
	else
		title += fDocument.Item(fShown)->Name();
	if (count > 1)
		title += " (item " + std::to_string(index + 1) + " of " + std::to_string(count) + ")";
	if (fDocument.CanUndo())
		title += " - Undo " + fDocument.UndoName();
	if (fDocument.CanRedo())
		title += " - Redo " + fDocument.RedoName();
	if (!fNotice.empty())
		title += " - " + fNotice;
	// File and item names may hold control characters: shown escaped.
	SetTitle(ItemListing::Escaped(title).c_str());
	UpdateStatus();
	UpdatePreview();
}

void HostWindow::UpdatePreview()
{
	// Read under the lock: another window may be editing the item. The
	// preview reads only what its type's layout needs.
	const int32 row = RowOfItem(fShown);
	const int32 file = row >= 0 ? fRowFiles[size_t(row)] : -1;
	const bool bigEndian = file >= 0 && fFileFacts[size_t(file)].bigEndian;
	if (fDocument.ReadItem(fShown, [this, bigEndian](const BResourceItem& item) {
		    const BMallocIO& data = item.DataIO();
		    fPreview->SetItem(item.Type(), data.Buffer(), data.BufferLength(), bigEndian);
	    }) != B_OK)
		fPreview->SetNoItem();
}

void HostWindow::SetNotice(const std::string& notice, NoticeKind kind)
{
	fNotice = notice;
	fNoticeKind = kind;
}

void HostWindow::ExpireNotice()
{
	bool holds = true;
	switch (fNoticeKind) {
	case kNoticeOfCommand:
		break;
	case kNoticeWhileSaved:
		holds = !fDocument.IsModified();
		break;
	case kNoticeWhileModified:
		holds = fDocument.IsModified();
		break;
	case kNoticeWhileNoUndo:
		holds = !fDocument.CanUndo();
		break;
	case kNoticeWhileNoRedo:
		holds = !fDocument.CanRedo();
		break;
	}
	if (!holds)
		fNotice.clear();
}

void HostWindow::UpdateStatus()
{
	// Window managers cut long titles short: the status line shows the
	// notice whole, first, and cuts the description after it to the
	// width: the file's path loses its start, then the item its end.
	std::string item = "Item " + std::to_string(fDocument.IndexOf(fShown) + 1) + " of " +
	                   std::to_string(fDocument.CountItems()) + ": ";
	if (fDocument.ReadItem(fShown, [&item](const BResourceItem& shown) {
		    item += "type " + ItemListing::TypeText(shown.Type()) + ", id " +
		            std::to_string(shown.ID()) + ", " + ItemListing::QuotedName(shown.Name()) +
		            ", " + std::to_string(shown.DataIO().BufferLength()) + " bytes";
	    }) != B_OK) {
		// No item: what the files are tells why.
		item = "No items";
		for (const FileFacts& file : fFileFacts)
			item += " - " + file.kind;
	}
	// Names may hold control characters: measured and shown escaped.
	const std::string shownNotice = ItemListing::Escaped(fNotice);
	const std::string notice = shownNotice.empty() ? std::string() : shownNotice + " - ";
	// The path, then the kind of file, which stays whole while the path
	// is cut.
	const int32 row = RowOfItem(fShown);
	const int32 file = row >= 0 ? fRowFiles[size_t(row)] : -1;
	const std::string path = file >= 0 ? ItemListing::Escaped(fFileFacts[size_t(file)].path) : "";
	const std::string kind = file >= 0 ? " (" + fFileFacts[size_t(file)].kind + ")" : "";
	const float width = fStatus->Bounds().Width() + 1;
	std::string status = notice + item;
	if (!path.empty())
		status = Shortened(*fStatus, status + ", in ", path, kind, true, width);
	if (fStatus->StringWidth(status.c_str()) > width)
		status = Shortened(*fStatus, notice, item, "", false, width);
	if (fStatus->StringWidth(status.c_str()) > width && !fNotice.empty())
		status = shownNotice;
	fStatus->SetText(status.c_str());
}

std::string HostWindow::ListLine(const BResourceHandle& item, int32 index) const
{
	// Another window's thread may be changing the item's size meanwhile.
	std::string line;
	fDocument.ReadItem(item, [&line, index](const BResourceItem& shown) {
		line = ItemListing::Line(index + 1, shown);
	});
	return line;
}
