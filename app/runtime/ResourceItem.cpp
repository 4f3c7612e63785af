#include <ResourceItem.h>

#include <Errors.h>

#include "Document.h"

BResourceItem::BResourceItem(Document* owner, type_code type, int32 id, const char* name,
                             const void* data, size_t length)
    : fOwner(owner), fType(type), fID(id), fName(name != NULL ? name : ""), fRemovalPending(false),
      fPendingPosition(0), fPendingLength(0)
{
	if (length > 0)
		fData.WriteAt(0, data, length);
}

BResourceItem::~BResourceItem() {}

type_code BResourceItem::Type() const
{
	return fType;
}

int32 BResourceItem::ID() const
{
	return fID;
}

const char* BResourceItem::Name() const
{
	return fName.String();
}

const BMallocIO& BResourceItem::DataIO() const
{
	TakeOutPendingRemoval();
	return fData;
}

status_t BResourceItem::RemoveData(off_t position, size_t length)
{
	TakeOutPendingRemoval();
	const size_t size = fData.BufferLength();
	if (position < 0 || size_t(position) > size || length > size - size_t(position))
		return B_BAD_VALUE;
	if (length == 0)
		return B_OK;
	const char* start = static_cast<const char*>(fData.Buffer()) + position;
	// Recorded before the bytes go: the undo step keeps them.
	fOwner->RecordEdit(this, false, position, start, length);
	fPendingPosition = position;
	fPendingLength = length;
	fRemovalPending = true;
	return B_OK;
}

status_t BResourceItem::InsertData(off_t position, const void* bytes, size_t length)
{
	if (fRemovalPending && position == fPendingPosition && length == fPendingLength &&
	    bytes != NULL)
		return Replace(position, bytes, length);
	TakeOutPendingRemoval();
	if (position < 0 || size_t(position) > fData.BufferLength() || (bytes == NULL && length > 0))
		return B_BAD_VALUE;
	if (length == 0)
		return B_OK;
	if (fOwner->RefusesGrowth(this, fData.BufferLength() + length))
		return B_NO_MEMORY;
	// Room first, then the undo record, then the bytes: whichever fails, the
	// data is as it was.
	const size_t size = fData.BufferLength();
	status_t status = fData.SetSize(off_t(size + length));
	if (status != B_OK)
		return status;
	try {
		fOwner->RecordEdit(this, true, position, bytes, length);
	} catch (...) {
		fData.SetSize(off_t(size));
		throw;
	}
	MoveIn(position, bytes, length, size);
	return B_OK;
}

status_t BResourceItem::Replace(off_t position, const void* bytes, size_t length)
{
	// The size the data had before the removal, as the insertion would
	// make it again.
	if (fOwner->RefusesGrowth(this, fData.BufferLength()))
		return B_NO_MEMORY;
	fOwner->RecordEdit(this, true, position, bytes, length);
	fData.WriteAt(position, bytes, length);
	fRemovalPending = false;
	return B_OK;
}

void BResourceItem::TakeOutPendingRemoval() const
{
	if (!fRemovalPending)
		return;
	BResourceItem* self = const_cast<BResourceItem*>(this);
	self->fRemovalPending = false;
	self->MoveOut(fPendingPosition, fPendingLength);
}

// The data's own buffer moves within itself (WriteAt moves overlapping
// runs): a removal needs no memory, nor does an insertion into room that
// the data already has.
void BResourceItem::Remove(off_t position, size_t length)
{
	TakeOutPendingRemoval();
	MoveOut(position, length);
}

void BResourceItem::MoveOut(off_t position, size_t length)
{
	// The tail moves down over the removed run; shrinking never fails.
	const size_t size = fData.BufferLength();
	const char* buffer = static_cast<const char*>(fData.Buffer());
	if (size_t(position) + length < size)
		fData.WriteAt(position, buffer + position + length, size - size_t(position) - length);
	fData.SetSize(off_t(size - length));
}

status_t BResourceItem::Insert(off_t position, const void* bytes, size_t length)
{
	TakeOutPendingRemoval();
	// Room at the end first, then the tail moves up into it: the only step
	// that can fail comes before anything has changed.
	const size_t size = fData.BufferLength();
	status_t status = fData.SetSize(off_t(size + length));
	if (status != B_OK)
		return status;
	MoveIn(position, bytes, length, size);
	return B_OK;
}

void BResourceItem::MoveIn(off_t position, const void* bytes, size_t length, size_t oldSize)
{
	const char* buffer = static_cast<const char*>(fData.Buffer());
	if (oldSize > size_t(position))
		fData.WriteAt(position + off_t(length), buffer + position, oldSize - size_t(position));
	fData.WriteAt(position, bytes, length);
}
