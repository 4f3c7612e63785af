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

#include "Document.h"
#include "DocumentFile.h"
#include "HostCommands.h"
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
      fDocument(document), fEditor(NULL), fList(NULL), fStatus(NULL), fPreview(NULL), fItem(0),
      fListener(0), fNoticeKind(kNoticeOfCommand), fListWidth(0), fMinListWidth(0), fEditorWidth(0),
      fSaveArmed(false), fRefusalsSeen(document.CountRefusedGrowths()), fLastEditKey(kNoEdit)
{
	for (const HostCommand& command : HostCommands::All())
		AddShortcut(command.key, command.modifiers, new BMessage(command.what));

	// The document calls this on the thread that changed it, which may hold
	// this window's lock or not: the title follows through the queue.
	fListener = fDocument.AddListener(
	    [this](const std::vector<Document::ItemChange>&) { PostMessage(kMsgUpdateTitle); });
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

	fList = new BListView(BRect(0, 0, 100, Bounds().Height()), "ItemList", B_SINGLE_SELECTION_LIST,
	                      B_FOLLOW_ALL_SIDES);
	fGroup.UseFiles([this](std::vector<DocumentFile>& files) { FillList(files); });
	BScrollView* scroller =
	    new BScrollView("ItemListScroll", fList, B_FOLLOW_RIGHT | B_FOLLOW_TOP_BOTTOM, 0, false,
	                    true, B_PLAIN_BORDER);
	AddChild(scroller);
	fList->Select(RowOf(fItem));
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

	// What the shown item's bytes mean, under the list.
	fPreview = new ItemPreview(BRect(0, 0, 10, 10));
	fPreview->SetViewColor(statusBar->ViewColor());
	AddChild(fPreview);

	BView* view = fEditor->View();
	AddChild(view);
	ResizeToEditor();
	view->MakeFocus(true);
	UpdateTitle();
	return B_OK;
}

void HostWindow::FillList(const std::vector<DocumentFile>& files)
{
	std::error_code error;
	fItemPaths.assign(size_t(fDocument.CountItems()), std::string());
	fItemBigEndian.assign(size_t(fDocument.CountItems()), false);
	fItemKinds.assign(size_t(fDocument.CountItems()), std::string());
	for (const DocumentFile& file : files) {
		const std::string path = std::filesystem::absolute(file.Path(), error).string();
		for (const BResourceHandle& item : file.LiveItems(fDocument)) {
			const int32 index = fDocument.IndexOf(item);
			fItemPaths[size_t(index)] = error ? file.Path() : path;
			fItemBigEndian[size_t(index)] = file.IsBigEndian();
			fItemKinds[size_t(index)] = file.Description();
		}
	}

	// Items of one file are listed without its name, which the status line
	// and the title give.
	const bool grouped = files.size() > 1;
	for (const DocumentFile& file : files) {
		if (!grouped)
			break;
		const std::string headingText = ItemListing::Escaped(file.Path());
		BStringItem* heading = new BStringItem(headingText.c_str());
		heading->SetEnabled(false);
		fList->AddItem(heading);
		fRowItems.push_back(-1);
		fRowTexts.push_back(headingText);
		for (const BResourceHandle& item : file.LiveItems(fDocument)) {
			const int32 index = fDocument.IndexOf(item);
			fRowTexts.push_back(ListLine(index));
			fList->AddItem(new BStringItem(fRowTexts.back().c_str(), 1));
			fRowItems.push_back(index);
		}
	}
	for (int32 index = 0; !grouped && index < fDocument.CountItems(); index++) {
		fRowTexts.push_back(ListLine(index));
		fList->AddItem(new BStringItem(fRowTexts.back().c_str()));
		fRowItems.push_back(index);
	}
}

int32 HostWindow::RowOf(int32 index) const
{
	return int32(std::find(fRowItems.begin(), fRowItems.end(), index) - fRowItems.begin());
}

std::string HostWindow::FittedRow(int32 row) const
{
	const std::string& text = fRowTexts[size_t(row)];
	const float width = fList->Bounds().Width() + 1 - RowTextSlack(row);
	if (fRowItems[size_t(row)] < 0)
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
	float width;
	float height;
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
	BView* view = fEditor->View();
	BView* list = fList->Parent();
	BView* statusBar = fStatus->Parent();
	const BRect bounds = Bounds();
	const float listWidth = std::clamp(bounds.Width() - fEditorWidth, fMinListWidth, fListWidth);
	float lineHeight;
	fStatus->GetPreferredSize(NULL, &lineHeight);
	const float statusHeight = lineHeight + 2 * kStatusInset;
	const float editorHeight = bounds.Height() + 1 - statusHeight;
	// The preview under the list has its preferred height while the list
	// keeps room for its scroll bar's arrows and thumb.
	float previewHeight;
	fPreview->GetPreferredSize(NULL, &previewHeight);
	const float barWidth = fList->ScrollBar(B_VERTICAL)->Frame().Width() + 1;
	previewHeight = std::clamp(editorHeight - 5 * barWidth, fPreview->MinHeight(), previewHeight);
	const float listHeight = editorHeight - previewHeight;
	view->MoveTo(0, 0);
	view->ResizeTo(bounds.Width() - listWidth, editorHeight - 1);
	list->MoveTo(bounds.Width() + 1 - listWidth, 0);
	list->ResizeTo(listWidth - 1, listHeight - 1);
	fPreview->MoveTo(bounds.Width() + 1 - listWidth, listHeight);
	fPreview->ResizeTo(listWidth - 1, previewHeight - 1);
	statusBar->MoveTo(0, editorHeight);
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
		if ((modifiers & B_COMMAND_KEY) == 0 && message->FindString("bytes", &bytes) == B_OK) {
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
	case kMsgUpdateTitle:
		ExpireNotice();
		NoteRefusedGrowth();
		UpdateTitle();
		UpdateList();
		break;
	case kMsgChooseItem:
	case kMsgEditItem: {
		int32 row;
		if (message->FindInt32("index", &row) == B_OK && row >= 0 &&
		    row < int32(fRowItems.size()) && fRowItems[size_t(row)] >= 0 &&
		    fRowItems[size_t(row)] != fItem)
			ShowItem(fRowItems[size_t(row)]);
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
	ShowItem(fItem + 1);
}

void HostWindow::PreviousItemCommand(const BMessage&)
{
	ShowItem(fItem - 1);
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
	int32 count = fDocument.CountItems();
	fItem = (index % count + count) % count;
	fEditor->Retarget(fDocument.ItemAt(fItem));
	fList->Select(RowOf(fItem));
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
	if ((undo ? fDocument.Undo() : fDocument.Redo()) != B_OK) {
		SetNotice(undo ? "Nothing to undo" : "Nothing to redo",
		          undo ? kNoticeWhileNoUndo : kNoticeWhileNoRedo);
	}
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
	if (fDocument.LastRefusedItem() != fDocument.ItemAt(fItem))
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
	// File and item names may hold control characters: shown escaped.
	SetTitle(ItemListing::Escaped(title).c_str());
	UpdateStatus();
	UpdatePreview();
}

void HostWindow::UpdatePreview()
{
	// Read under the lock: another window may be editing the item. The
	// preview reads only what its type's layout needs.
	const bool bigEndian = fItemBigEndian.empty() ? false : bool(fItemBigEndian[size_t(fItem)]);
	fDocument.ReadItem(fDocument.ItemAt(fItem), [this, bigEndian](const BResourceItem& item) {
		const BMallocIO& data = item.DataIO();
		fPreview->SetItem(item.Type(), data.Buffer(), data.BufferLength(), bigEndian);
	});
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
	std::string item = "Item " + std::to_string(fItem + 1) + " of " +
	                   std::to_string(fDocument.CountItems()) + ": ";
	fDocument.ReadItem(fDocument.ItemAt(fItem), [&item](const BResourceItem& shown) {
		item += "type " + ItemListing::TypeText(shown.Type()) + ", id " +
		        std::to_string(shown.ID()) + ", " + ItemListing::QuotedName(shown.Name()) + ", " +
		        std::to_string(shown.DataIO().BufferLength()) + " bytes";
	});
	// Names may hold control characters: measured and shown escaped.
	const std::string shownNotice = ItemListing::Escaped(fNotice);
	const std::string notice = shownNotice.empty() ? std::string() : shownNotice + " - ";
	// The path, then the kind of file, which stays whole while the path
	// is cut.
	const std::string path = ItemListing::Escaped(fItemPaths[size_t(fItem)]);
	const std::string kind =
	    fItemKinds[size_t(fItem)].empty() ? "" : " (" + fItemKinds[size_t(fItem)] + ")";
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
	// Sizes change with edits, undo and redo: redraw the rows that differ.
	for (int32 row = 0; row < fList->CountItems(); row++) {
		if (fRowItems[size_t(row)] < 0)
			continue;
		fRowTexts[size_t(row)] = ListLine(fRowItems[size_t(row)]);
		BStringItem* line = static_cast<BStringItem*>(fList->ItemAt(row));
		const std::string text = FittedRow(row);
		if (text != line->Text()) {
			line->SetText(text.c_str());
			fList->InvalidateItem(row);
		}
	}
}
