#include "HexDumpFullEditor.h"

#include <DataIO.h>
#include <Errors.h>
#include <InterfaceDefs.h>
#include <Message.h>
#include <Rect.h>
#include <ResourceAddonArgs.h>
#include <ResourceAddonBase.h>
#include <ResourceCollection.h>
#include <ResourceHandle.h>
#include <ResourceItem.h>
#include <ScrollView.h>
#include <String.h>
#include <SupportDefs.h>
#include <View.h>

#include <string.h>

#include <algorithm>
#include <memory>
#include <new>

#include "HexDumpView.h"

namespace {

// Fills buffer with exactly length bytes, NULs included.
void FillBuffer(BString& buffer, const char* bytes, uint32 length)
{
	if (length == 0) {
		buffer = "";
		return;
	}
	char* into = buffer.LockBuffer(int32(length));
	memcpy(into, bytes, length);
	buffer.UnlockBuffer(int32(length));
}

// Replaces the working copy with the item's data, whatever its bytes.
void CopyItemData(BString& buffer, const BResourceItem* item)
{
	const BMallocIO& data = item->DataIO();
	FillBuffer(buffer, static_cast<const char*>(data.Buffer()), uint32(data.BufferLength()));
}

// The run of bytes in which two versions of the data differ: the bytes
// [offset, offset + removed) of the old were replaced by inserted bytes.
struct ChangedSpan
{
	uint32 offset;
	uint32 removed;
	uint32 inserted;
};

// A change notice says only that the item changed, so the run is read from
// the bytes. Where repeated bytes allow more than one reading, the earliest
// is taken (the longest common end first): a change made in front of a
// boundary is then always read as lying in front of it, so that the
// boundary keeps its byte.
ChangedSpan FindChangedSpan(const char* before, uint32 beforeLength, const char* after,
                            uint32 afterLength)
{
	const uint32 shorter = std::min(beforeLength, afterLength);
	uint32 suffix = 0;
	while (suffix < shorter && before[beforeLength - 1 - suffix] == after[afterLength - 1 - suffix])
		suffix++;
	uint32 prefix = 0;
	while (prefix < shorter - suffix && before[prefix] == after[prefix])
		prefix++;
	return ChangedSpan{prefix, beforeLength - suffix - prefix, afterLength - suffix - prefix};
}

// Writes one change to the editor's primary item under the host's write
// lock; a refused lock leaves the item as it is. The change's status, B_OK
// when there was nothing to write to. When the host runs out of memory on
// the way, the lock is given back and the exception passes on.
template <typename Change>
status_t WriteToItem(HexDumpFullEditor& editor, const char* undoName, Change change)
{
	BResourceCollection* collection = editor.WriteLock(undoName);
	if (collection == NULL)
		return B_OK;
	status_t status = B_OK;
	try {
		if (BResourceItem* item = collection->WriteItem(editor.PrimaryItem(), &editor))
			status = change(item);
	} catch (...) {
		editor.WriteUnlock(collection);
		throw;
	}
	editor.WriteUnlock(collection);
	return status;
}

} // namespace

HexDumpFullEditor::HexDumpFullEditor(const BResourceAddonArgs& args, BResourceHandle item)
    : BFullItemEditor(args, item, NULL),
      BView(BRect(0, 0, 50, 50), "HexEditor", B_FOLLOW_ALL_SIDES, B_NAVIGABLE_JUMP), fHexView(NULL),
      fData()
{
	SetChangeTarget(this);

	BRect frame = Bounds();
	frame.left += 2;
	frame.top += 2;
	frame.right -= 16;
	frame.bottom -= 16;
	// Owned here until the scroll view holds it, and the scroll view until
	// the editor's view does: a failure on the way leaks neither.
	std::unique_ptr<HexDumpView> hexView(new HexDumpView(frame, "HexDumpView", this));
	std::unique_ptr<BScrollView> scrollView(new BScrollView("StringScroll", hexView.get(),
	                                                        B_FOLLOW_ALL_SIDES, B_WILL_DRAW, true,
	                                                        true, B_FANCY_BORDER));
	fHexView = hexView.release();
	// The bars are as thick as the display's scale makes them: the scroll
	// view, and the dump with it, take the editor's bounds whatever they are.
	scrollView->ResizeTo(Bounds().Width(), Bounds().Height());
	AddChild(scrollView.get());
	scrollView.release();

	if (const BResourceCollection* collection = ReadLock()) {
		try {
			if (const BResourceItem* primary = collection->ReadItem(PrimaryItem()))
				CopyItemData(fData, primary);
		} catch (...) {
			ReadUnlock(collection);
			throw;
		}
		ReadUnlock(collection);
	}
}

HexDumpFullEditor::~HexDumpFullEditor()
{
	// No notice may be posted to this view once it starts going away.
	SetChangeTarget(NULL);
}

void HexDumpFullEditor::PickUpDataChange(const BResourceCollection* collection,
                                         BResourceHandle& item, uint32 changes)
{
	if (item != PrimaryItem())
		return;
	if (changes == 0)
		return;
	if (!LockLooper())
		return;
	const BResourceItem* primary = collection->ReadItem(PrimaryItem());
	if (primary != NULL && (changes & B_RESOURCE_DATA_CHANGED) != 0)
		ReloadWorkingCopy(primary, true);
	UnlockLooper();
}

void HexDumpFullEditor::ReloadWorkingCopy(const BResourceItem* primary, bool sameItem)
{
	if (!sameItem) {
		CopyItemData(fData, primary);
		fHexView->DataChanged();
		return;
	}
	// The same item changed under the editor (another window's edit, an undo):
	// the view learns which bytes, so that its cursor stays with its byte.
	const BMallocIO& data = primary->DataIO();
	const ChangedSpan span = FindChangedSpan(
	    Data(), Size(), static_cast<const char*>(data.Buffer()), uint32(data.BufferLength()));
	if (span.removed == 0 && span.inserted == 0)
		return;
	CopyItemData(fData, primary);
	fHexView->DataReplaced(span.offset, span.removed, span.inserted);
}

void HexDumpFullEditor::MessageReceived(BMessage* message)
{
	if (message->what != B_RESOURCE_CHANGE_NOTICE) {
		BView::MessageReceived(message);
		return;
	}
	const BResourceCollection* collection = ReadLock();
	if (collection == NULL)
		return;
	for (;;) {
		uint32 changes = 0;
		BResourceHandle changed = collection->GetNextChange(this, &changes);
		if (!changed.IsValid())
			break;
		PickUpDataChange(collection, changed, changes);
	}
	ReadUnlock(collection);
}

status_t HexDumpFullEditor::Retarget(BResourceHandle item)
{
	// The window before the host's lock, as on every other path: an edit
	// holds the window while it waits for the write lock, so taking the
	// read lock first could deadlock against it. The window's thread also
	// reads the primary item, so it is changed only with the window locked.
	// Outside a window nothing else touches the editor.
	const bool locked = LockLooper();
	const bool sameItem = item == PrimaryItem();
	SetPrimaryItem(item);
	// Outside a window the working copy waits, as for a change notice.
	if (!locked)
		return B_OK;
	if (const BResourceCollection* collection = ReadLock()) {
		if (const BResourceItem* primary = collection->ReadItem(PrimaryItem()))
			ReloadWorkingCopy(primary, sameItem);
		ReadUnlock(collection);
	}
	UnlockLooper();
	return B_OK;
}

BView* HexDumpFullEditor::View()
{
	return this;
}

void HexDumpFullEditor::GetPreferredSize(float* width, float* height)
{
	float viewWidth = 0;
	float viewHeight = 0;
	fHexView->GetPreferredSize(viewWidth, viewHeight);
	// Room for the scroll view's border and bars around the dump (19 pixels
	// at 96 dots per inch), whatever the bars' thickness: what the editor's
	// frame has beyond the dump's, and a pixel more.
	*width = viewWidth + Bounds().Width() - fHexView->Bounds().Width() + 1;
	*height = viewHeight + Bounds().Height() - fHexView->Bounds().Height() + 1;
}

void HexDumpFullEditor::MakeFocus(bool focus)
{
	if (focus && fHexView != NULL)
		fHexView->MakeFocus(true);
	else
		BView::MakeFocus(focus);
}

void HexDumpFullEditor::DetachedFromWindow()
{
	BView::DetachedFromWindow();
}

void HexDumpFullEditor::ModifyCharAt(uint32 offset, uchar value, const char* undoName, bool notify)
{
	if (offset >= Size())
		return;
	fData[int32(offset)] = char(value);
	if (notify)
		fHexView->DataReplaced(offset, 1, 1);
	// A replaced byte reaches the host as a removal and an insertion, even
	// when the value is the same.
	// The byte's room is already there: the insertion cannot run out.
	WriteToItem(*this, undoName, [offset, value](BResourceItem* item) {
		item->RemoveData(off_t(offset), 1);
		return item->InsertData(off_t(offset), &value, 1);
	});
}

void HexDumpFullEditor::DeleteRange(uint32 start, uint32 end, const char* undoName, bool notify)
{
	if (end > Size() || start >= end)
		return;
	fData.Remove(int32(start), int32(end - start));
	if (notify)
		fHexView->DataReplaced(start, end - start, 0);
	WriteToItem(*this, undoName, [start, end](BResourceItem* item) {
		return item->RemoveData(off_t(start), size_t(end - start));
	});
}

void HexDumpFullEditor::Insert(uint32 offset, const char* bytes, uint32 length,
                               const char* undoName, bool notify)
{
	if (offset > Size() || length == 0 || bytes == NULL)
		return;
	BString run;
	FillBuffer(run, bytes, length);
	fData.Insert(run, int32(offset));
	// When memory runs out after this point, or the item cannot grow, the
	// working copy gives the run back, so that both stay equal, the view
	// lets go of what it no longer shows, and the failure passes on.
	auto giveBack = [this, offset, length]() {
		fData.Remove(int32(offset), int32(length));
		fHexView->DataChanged();
	};
	status_t status;
	try {
		if (notify)
			fHexView->DataReplaced(offset, 0, length);
		status = WriteToItem(*this, undoName, [offset, bytes, length](BResourceItem* item) {
			return item->InsertData(off_t(offset), bytes, size_t(length));
		});
	} catch (...) {
		giveBack();
		throw;
	}
	if (status == B_NO_MEMORY) {
		giveBack();
		throw std::bad_alloc();
	}
}

void HexDumpFullEditor::SetData(const char* bytes, uint32 length, bool notify)
{
	FillBuffer(fData, bytes, length);
	if (notify)
		fHexView->DataChanged();
}

uint32 HexDumpFullEditor::Size() const
{
	return uint32(fData.Length());
}

const char* HexDumpFullEditor::Data() const
{
	return fData.String();
}
