#include <ResourceItem.h>

#include <Errors.h>

#include <vector>

#include "Document.h"

BResourceItem::BResourceItem(Document* owner, type_code type, int32 id, const char* name,
                             const void* data, size_t length)
    : fOwner(owner), fType(type), fID(id), fName(name != NULL ? name : "")
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
	return fData;
}

status_t BResourceItem::RemoveData(off_t position, size_t length)
{
	const size_t size = fData.BufferLength();
	if (position < 0 || size_t(position) > size || length > size - size_t(position))
		return B_BAD_VALUE;
	if (length == 0)
		return B_OK;
	const char* start = static_cast<const char*>(fData.Buffer()) + position;
	// Recorded before the bytes go: the undo step keeps them.
	fOwner->RecordEdit(this, false, position, start, length);
	Remove(position, length);
	return B_OK;
}

status_t BResourceItem::InsertData(off_t position, const void* bytes, size_t length)
{
	if (position < 0 || size_t(position) > fData.BufferLength() || (bytes == NULL && length > 0))
		return B_BAD_VALUE;
	if (length == 0)
		return B_OK;
	Insert(position, bytes, length);
	fOwner->RecordEdit(this, true, position, bytes, length);
	return B_OK;
}

void BResourceItem::Remove(off_t position, size_t length)
{
	const size_t size = fData.BufferLength();
	const char* buffer = static_cast<const char*>(fData.Buffer());
	const std::vector<char> tail(buffer + position + length, buffer + size);
	if (!tail.empty())
		fData.WriteAt(position, tail.data(), tail.size());
	fData.SetSize(size - length);
}

void BResourceItem::Insert(off_t position, const void* bytes, size_t length)
{
	const size_t size = fData.BufferLength();
	const char* buffer = static_cast<const char*>(fData.Buffer());
	const std::vector<char> tail(buffer != NULL ? buffer + position : NULL,
	                             buffer != NULL ? buffer + size : NULL);
	fData.WriteAt(position, bytes, length);
	if (!tail.empty())
		fData.WriteAt(position + length, tail.data(), tail.size());
}
