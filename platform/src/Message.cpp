// BMessage: fields kept in the order they were added, each item as its bytes.
#include <Message.h>

#include <Entry.h>

#include <string.h>

BMessage::BMessage(uint32 what) : what(what) {}

BMessage::~BMessage() {}

// #pragma mark - Adding

status_t BMessage::AddPoint(const char* name, BPoint point)
{
	return _Add(name, B_POINT_TYPE, &point, sizeof(point));
}

status_t BMessage::AddString(const char* name, const char* string)
{
	if (string == NULL)
		return B_BAD_VALUE;
	return _Add(name, B_STRING_TYPE, string, strlen(string) + 1);
}

status_t BMessage::AddData(const char* name, type_code type, const void* data, ssize_t numBytes,
                           bool, int32)
{
	if (data == NULL || numBytes < 0)
		return B_BAD_VALUE;
	return _Add(name, type, data, size_t(numBytes));
}

status_t BMessage::AddInt32(const char* name, int32 value)
{
	return _Add(name, B_INT32_TYPE, &value, sizeof(value));
}

status_t BMessage::AddInt64(const char* name, int64 value)
{
	return _Add(name, B_INT64_TYPE, &value, sizeof(value));
}

status_t BMessage::AddBool(const char* name, bool value)
{
	return _Add(name, B_BOOL_TYPE, &value, sizeof(value));
}

status_t BMessage::AddFloat(const char* name, float value)
{
	return _Add(name, B_FLOAT_TYPE, &value, sizeof(value));
}

status_t BMessage::AddPointer(const char* name, const void* pointer)
{
	return _Add(name, B_POINTER_TYPE, &pointer, sizeof(pointer));
}

// A ref's item: the device, the directory, then the name's bytes.
status_t BMessage::AddRef(const char* name, const entry_ref* ref)
{
	if (ref == NULL)
		return B_BAD_VALUE;
	std::string item((const char*)&ref->device, sizeof(ref->device));
	item.append((const char*)&ref->directory, sizeof(ref->directory));
	if (ref->name != NULL)
		item.append(ref->name);
	return _Add(name, B_REF_TYPE, item.data(), item.size());
}

// #pragma mark - Finding

status_t BMessage::FindPoint(const char* name, BPoint* point) const
{
	return _FindFixed(name, B_POINT_TYPE, 0, point, sizeof(*point));
}

status_t BMessage::FindString(const char* name, const char** string) const
{
	if (string == NULL)
		return B_BAD_VALUE;
	const std::string* item;
	status_t status = _FindItem(name, B_STRING_TYPE, 0, &item);
	if (status == B_OK)
		*string = item->c_str();
	return status;
}

status_t BMessage::FindData(const char* name, type_code type, const void** data,
                            ssize_t* numBytes) const
{
	if (data == NULL || numBytes == NULL)
		return B_BAD_VALUE;
	const std::string* item;
	status_t status = _FindItem(name, type, 0, &item);
	if (status == B_OK) {
		*data = item->data();
		*numBytes = ssize_t(item->size());
	}
	return status;
}

status_t BMessage::FindInt32(const char* name, int32* value) const
{
	return _FindFixed(name, B_INT32_TYPE, 0, value, sizeof(*value));
}

status_t BMessage::FindBool(const char* name, bool* value) const
{
	return _FindFixed(name, B_BOOL_TYPE, 0, value, sizeof(*value));
}

status_t BMessage::FindFloat(const char* name, float* value) const
{
	return _FindFixed(name, B_FLOAT_TYPE, 0, value, sizeof(*value));
}

status_t BMessage::FindPointer(const char* name, void** pointer) const
{
	return _FindFixed(name, B_POINTER_TYPE, 0, pointer, sizeof(*pointer));
}

status_t BMessage::FindRef(const char* name, entry_ref* ref) const
{
	return FindRef(name, 0, ref);
}

status_t BMessage::FindRef(const char* name, int32 index, entry_ref* ref) const
{
	if (ref == NULL)
		return B_BAD_VALUE;
	const std::string* item;
	status_t status = _FindItem(name, B_REF_TYPE, index, &item);
	if (status != B_OK)
		return status;
	const size_t nameAt = sizeof(ref->device) + sizeof(ref->directory);
	memcpy(&ref->device, item->data(), sizeof(ref->device));
	memcpy(&ref->directory, item->data() + sizeof(ref->device), sizeof(ref->directory));
	return ref->set_name(item->c_str() + nameAt);
}

const char* BMessage::FindString(const char* name, int32 index) const
{
	const std::string* item;
	return _FindItem(name, B_STRING_TYPE, index, &item) == B_OK ? item->c_str() : NULL;
}

int32 BMessage::FindInt32(const char* name, int32 index) const
{
	int32 value = 0;
	_FindFixed(name, B_INT32_TYPE, index, &value, sizeof(value));
	return value;
}

// #pragma mark - Dropping

bool BMessage::WasDropped() const
{
	return fWasDropped;
}

BPoint BMessage::DropPoint(BPoint* offset) const
{
	if (offset != NULL)
		*offset = BPoint(0, 0);
	return fDropPoint;
}

// #pragma mark - Private

status_t BMessage::_Add(const char* name, type_code type, const void* data, size_t size)
{
	if (name == NULL)
		return B_BAD_VALUE;
	for (Field& field : fFields) {
		if (field.name != name)
			continue;
		if (field.type != type)
			return B_BAD_TYPE;
		field.items.emplace_back((const char*)data, size);
		return B_OK;
	}
	fFields.push_back(Field{name, type, {std::string((const char*)data, size)}});
	return B_OK;
}

status_t BMessage::_FindItem(const char* name, type_code type, int32 index,
                             const std::string** item) const
{
	if (name == NULL)
		return B_BAD_VALUE;
	for (const Field& field : fFields) {
		if (field.name != name)
			continue;
		if (field.type != type)
			return B_BAD_TYPE;
		if (index < 0 || size_t(index) >= field.items.size())
			return B_BAD_INDEX;
		*item = &field.items[size_t(index)];
		return B_OK;
	}
	return B_NAME_NOT_FOUND;
}

// Every item of a fixed-size type has that type's size, so the item fills
// the value exactly.
status_t BMessage::_FindFixed(const char* name, type_code type, int32 index, void* value,
                              size_t size) const
{
	if (value == NULL)
		return B_BAD_VALUE;
	const std::string* item;
	status_t status = _FindItem(name, type, index, &item);
	if (status == B_OK)
		memcpy(value, item->data(), size);
	return status;
}
