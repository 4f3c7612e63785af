// BMessage: fields kept in the order they were added, each item as its bytes.
// Nested messages are stored flattened.
#include <Message.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

const uint32 kFlatMagic = 'BMF1';

void AppendUint32(std::string& out, uint32 value)
{
	out.append((const char*)&value, sizeof(value));
}

bool ReadUint32(const char* bytes, size_t size, size_t& at, uint32* value)
{
	if (at > size || size - at < sizeof(uint32))
		return false;
	memcpy(value, bytes + at, sizeof(uint32));
	at += sizeof(uint32);
	return true;
}

void PrintTypeCode(type_code type)
{
	char code[5];
	for (int i = 0; i < 4; i++) {
		char c = char(type >> (24 - 8 * i));
		code[i] = c >= 0x20 && c < 0x7f ? c : '.';
	}
	code[4] = '\0';
	printf("'%s'", code);
}

} // namespace

BMessage::BMessage() : what(0) {}

BMessage::BMessage(uint32 what) : what(what) {}

BMessage::BMessage(const BMessage& message) : what(message.what), fFields(message.fFields) {}

BMessage::~BMessage() {}

BMessage& BMessage::operator=(const BMessage& message)
{
	if (this != &message) {
		what = message.what;
		fFields = message.fFields;
	}
	return *this;
}

status_t BMessage::GetInfo(type_code typeRequested, int32 which, char** name, type_code* typeFound,
                           int32* countFound) const
{
	if (which < 0)
		return B_BAD_INDEX;
	int32 seen = 0;
	for (const Field& field : fFields) {
		if (typeRequested != B_ANY_TYPE && field.type != typeRequested)
			continue;
		if (seen++ < which)
			continue;
		if (name != NULL)
			*name = const_cast<char*>(field.name.c_str());
		if (typeFound != NULL)
			*typeFound = field.type;
		if (countFound != NULL)
			*countFound = int32(field.items.size());
		return B_OK;
	}
	return seen == 0 ? B_BAD_TYPE : B_BAD_INDEX;
}

status_t BMessage::GetInfo(const char* name, type_code* typeFound, int32* countFound) const
{
	const Field* field = _FindField(name);
	if (field == NULL) {
		if (typeFound != NULL)
			*typeFound = 0;
		if (countFound != NULL)
			*countFound = 0;
		return name == NULL ? B_BAD_VALUE : B_NAME_NOT_FOUND;
	}
	if (typeFound != NULL)
		*typeFound = field->type;
	if (countFound != NULL)
		*countFound = int32(field->items.size());
	return B_OK;
}

status_t BMessage::GetInfo(const char* name, type_code* typeFound, bool* fixedSize) const
{
	const Field* field = _FindField(name);
	if (field == NULL)
		return name == NULL ? B_BAD_VALUE : B_NAME_NOT_FOUND;
	if (typeFound != NULL)
		*typeFound = field->type;
	if (fixedSize != NULL)
		*fixedSize = field->fixedSize;
	return B_OK;
}

int32 BMessage::CountNames(type_code type) const
{
	int32 count = 0;
	for (const Field& field : fFields) {
		if (type == B_ANY_TYPE || field.type == type)
			count++;
	}
	return count;
}

bool BMessage::IsEmpty() const
{
	return fFields.empty();
}

void BMessage::PrintToStream() const
{
	printf("BMessage: what = ");
	PrintTypeCode(what);
	printf(" (0x%08x)\n", (unsigned)what);
	for (const Field& field : fFields) {
		for (size_t i = 0; i < field.items.size(); i++) {
			const std::string& item = field.items[i];
			printf("    entry %s, type=", field.name.c_str());
			PrintTypeCode(field.type);
			printf(", c=%zu, size=%zu: ", i, item.size());
			if (field.type == B_STRING_TYPE)
				printf("\"%s\"", item.c_str());
			else {
				for (unsigned char c : item)
					printf("%02x", c);
			}
			printf("\n");
		}
	}
}

status_t BMessage::Rename(const char* oldEntry, const char* newEntry)
{
	if (oldEntry == NULL || newEntry == NULL)
		return B_BAD_VALUE;
	Field* field = _FindField(oldEntry);
	if (field == NULL)
		return B_NAME_NOT_FOUND;
	if (strcmp(oldEntry, newEntry) != 0 && _FindField(newEntry) != NULL)
		return B_NAME_IN_USE;
	field->name = newEntry;
	return B_OK;
}

// #pragma mark - Flattening

ssize_t BMessage::FlattenedSize() const
{
	return ssize_t(_Flatten().size());
}

status_t BMessage::Flatten(char* buffer, ssize_t size) const
{
	if (buffer == NULL)
		return B_BAD_VALUE;
	std::string bytes = _Flatten();
	if (size < ssize_t(bytes.size()))
		return B_NO_MEMORY;
	memcpy(buffer, bytes.data(), bytes.size());
	return B_OK;
}

status_t BMessage::Flatten(BDataIO* stream, ssize_t* size) const
{
	if (stream == NULL)
		return B_BAD_VALUE;
	std::string bytes = _Flatten();
	ssize_t written = stream->Write(bytes.data(), bytes.size());
	if (written < 0)
		return status_t(written);
	if (written != ssize_t(bytes.size()))
		return B_ERROR;
	if (size != NULL)
		*size = written;
	return B_OK;
}

status_t BMessage::Unflatten(const char* buffer)
{
	if (buffer == NULL)
		return B_BAD_VALUE;
	uint32 header[2];
	memcpy(header, buffer, sizeof(header));
	if (header[0] != kFlatMagic)
		return B_BAD_VALUE;
	size_t used;
	return _Unflatten(buffer, header[1], &used);
}

status_t BMessage::Unflatten(BDataIO* stream)
{
	if (stream == NULL)
		return B_BAD_VALUE;
	uint32 header[2];
	if (stream->Read(header, sizeof(header)) != ssize_t(sizeof(header)) ||
	    header[0] != kFlatMagic || header[1] < sizeof(header))
		return B_BAD_VALUE;
	std::string bytes((const char*)header, sizeof(header));
	bytes.resize(header[1]);
	size_t rest = header[1] - sizeof(header);
	if (rest > 0 && stream->Read(&bytes[sizeof(header)], rest) != ssize_t(rest))
		return B_BAD_VALUE;
	size_t used;
	return _Unflatten(bytes.data(), bytes.size(), &used);
}

// Layout: magic, total size, what, field count; per field: type, fixed flag,
// name length, name, item count; per item: size, bytes. Host byte order.
std::string BMessage::_Flatten() const
{
	std::string out;
	AppendUint32(out, kFlatMagic);
	AppendUint32(out, 0);
	AppendUint32(out, what);
	AppendUint32(out, uint32(fFields.size()));
	for (const Field& field : fFields) {
		AppendUint32(out, field.type);
		out.push_back(field.fixedSize ? 1 : 0);
		AppendUint32(out, uint32(field.name.size()));
		out.append(field.name);
		AppendUint32(out, uint32(field.items.size()));
		for (const std::string& item : field.items) {
			AppendUint32(out, uint32(item.size()));
			out.append(item);
		}
	}
	uint32 total = uint32(out.size());
	memcpy(&out[sizeof(uint32)], &total, sizeof(total));
	return out;
}

status_t BMessage::_Unflatten(const char* bytes, size_t size, size_t* used)
{
	size_t at = 0;
	uint32 magic, total, newWhat, fieldCount;
	if (!ReadUint32(bytes, size, at, &magic) || magic != kFlatMagic ||
	    !ReadUint32(bytes, size, at, &total) || total > size ||
	    !ReadUint32(bytes, total, at, &newWhat) || !ReadUint32(bytes, total, at, &fieldCount))
		return B_BAD_VALUE;
	std::vector<Field> fields;
	for (uint32 i = 0; i < fieldCount; i++) {
		Field field;
		uint32 nameLength, itemCount;
		if (!ReadUint32(bytes, total, at, &field.type) || at >= total)
			return B_BAD_VALUE;
		field.fixedSize = bytes[at++] != 0;
		if (!ReadUint32(bytes, total, at, &nameLength) || total - at < nameLength)
			return B_BAD_VALUE;
		field.name.assign(bytes + at, nameLength);
		at += nameLength;
		if (!ReadUint32(bytes, total, at, &itemCount))
			return B_BAD_VALUE;
		for (uint32 j = 0; j < itemCount; j++) {
			uint32 itemSize;
			if (!ReadUint32(bytes, total, at, &itemSize) || total - at < itemSize)
				return B_BAD_VALUE;
			field.items.emplace_back(bytes + at, itemSize);
			at += itemSize;
		}
		fields.push_back(std::move(field));
	}
	// Only a message read in full replaces this one.
	what = newWhat;
	fFields = std::move(fields);
	*used = at;
	return B_OK;
}

// #pragma mark - Adding

status_t BMessage::AddRect(const char* name, BRect rect)
{
	return AddData(name, B_RECT_TYPE, &rect, sizeof(rect));
}

status_t BMessage::AddPoint(const char* name, BPoint point)
{
	return AddData(name, B_POINT_TYPE, &point, sizeof(point));
}

status_t BMessage::AddString(const char* name, const char* string)
{
	if (string == NULL)
		return B_BAD_VALUE;
	return AddData(name, B_STRING_TYPE, string, ssize_t(strlen(string) + 1), false);
}

status_t BMessage::AddString(const char* name, const BString& string)
{
	return AddData(name, B_STRING_TYPE, string.String(), string.Length() + 1, false);
}

status_t BMessage::AddInt8(const char* name, int8 value)
{
	return AddData(name, B_INT8_TYPE, &value, sizeof(value));
}

status_t BMessage::AddInt16(const char* name, int16 value)
{
	return AddData(name, B_INT16_TYPE, &value, sizeof(value));
}

status_t BMessage::AddInt32(const char* name, int32 value)
{
	return AddData(name, B_INT32_TYPE, &value, sizeof(value));
}

status_t BMessage::AddInt64(const char* name, int64 value)
{
	return AddData(name, B_INT64_TYPE, &value, sizeof(value));
}

status_t BMessage::AddBool(const char* name, bool value)
{
	return AddData(name, B_BOOL_TYPE, &value, sizeof(value));
}

status_t BMessage::AddFloat(const char* name, float value)
{
	return AddData(name, B_FLOAT_TYPE, &value, sizeof(value));
}

status_t BMessage::AddDouble(const char* name, double value)
{
	return AddData(name, B_DOUBLE_TYPE, &value, sizeof(value));
}

status_t BMessage::AddPointer(const char* name, const void* pointer)
{
	return AddData(name, B_POINTER_TYPE, &pointer, sizeof(pointer));
}

status_t BMessage::AddMessage(const char* name, const BMessage* message)
{
	if (message == NULL)
		return B_BAD_VALUE;
	std::string bytes = message->_Flatten();
	return AddData(name, B_MESSAGE_TYPE, bytes.data(), ssize_t(bytes.size()), false);
}

status_t BMessage::AddData(const char* name, type_code type, const void* data, ssize_t numBytes,
                           bool isFixedSize, int32)
{
	if (name == NULL || numBytes < 0 || (data == NULL && numBytes > 0))
		return B_BAD_VALUE;
	Field* field = _FindField(name);
	if (field == NULL) {
		fFields.push_back(Field{name, type, isFixedSize, {}});
		field = &fFields.back();
	} else if (field->type != type) {
		return B_BAD_TYPE;
	} else if (field->fixedSize && !field->items.empty() &&
	           field->items.front().size() != size_t(numBytes)) {
		return B_BAD_VALUE;
	}
	field->items.emplace_back((const char*)data, size_t(numBytes));
	return B_OK;
}

// #pragma mark - Removing

status_t BMessage::RemoveData(const char* name, int32 index)
{
	if (name == NULL || index < 0)
		return B_BAD_VALUE;
	for (auto field = fFields.begin(); field != fFields.end(); ++field) {
		if (field->name != name)
			continue;
		if (size_t(index) >= field->items.size())
			return B_BAD_INDEX;
		field->items.erase(field->items.begin() + index);
		if (field->items.empty())
			fFields.erase(field);
		return B_OK;
	}
	return B_NAME_NOT_FOUND;
}

status_t BMessage::RemoveName(const char* name)
{
	if (name == NULL)
		return B_BAD_VALUE;
	for (auto field = fFields.begin(); field != fFields.end(); ++field) {
		if (field->name == name) {
			fFields.erase(field);
			return B_OK;
		}
	}
	return B_NAME_NOT_FOUND;
}

status_t BMessage::MakeEmpty()
{
	fFields.clear();
	return B_OK;
}

// #pragma mark - Finding

status_t BMessage::FindRect(const char* name, BRect* rect) const
{
	return FindRect(name, 0, rect);
}

status_t BMessage::FindRect(const char* name, int32 index, BRect* rect) const
{
	return _FindFixed(name, B_RECT_TYPE, index, rect, sizeof(*rect));
}

status_t BMessage::FindPoint(const char* name, BPoint* point) const
{
	return FindPoint(name, 0, point);
}

status_t BMessage::FindPoint(const char* name, int32 index, BPoint* point) const
{
	return _FindFixed(name, B_POINT_TYPE, index, point, sizeof(*point));
}

status_t BMessage::FindString(const char* name, const char** string) const
{
	return FindString(name, 0, string);
}

status_t BMessage::FindString(const char* name, int32 index, const char** string) const
{
	if (string == NULL)
		return B_BAD_VALUE;
	const std::string* item;
	status_t status = _FindItem(name, B_STRING_TYPE, index, &item);
	if (status == B_OK)
		*string = item->c_str();
	return status;
}

status_t BMessage::FindString(const char* name, BString* string) const
{
	return FindString(name, 0, string);
}

status_t BMessage::FindString(const char* name, int32 index, BString* string) const
{
	if (string == NULL)
		return B_BAD_VALUE;
	const char* found;
	status_t status = FindString(name, index, &found);
	if (status == B_OK)
		string->SetTo(found);
	return status;
}

status_t BMessage::FindInt8(const char* name, int8* value) const
{
	return FindInt8(name, 0, value);
}

status_t BMessage::FindInt8(const char* name, int32 index, int8* value) const
{
	return _FindFixed(name, B_INT8_TYPE, index, value, sizeof(*value));
}

status_t BMessage::FindInt16(const char* name, int16* value) const
{
	return FindInt16(name, 0, value);
}

status_t BMessage::FindInt16(const char* name, int32 index, int16* value) const
{
	return _FindFixed(name, B_INT16_TYPE, index, value, sizeof(*value));
}

status_t BMessage::FindInt32(const char* name, int32* value) const
{
	return FindInt32(name, 0, value);
}

status_t BMessage::FindInt32(const char* name, int32 index, int32* value) const
{
	return _FindFixed(name, B_INT32_TYPE, index, value, sizeof(*value));
}

status_t BMessage::FindInt64(const char* name, int64* value) const
{
	return FindInt64(name, 0, value);
}

status_t BMessage::FindInt64(const char* name, int32 index, int64* value) const
{
	return _FindFixed(name, B_INT64_TYPE, index, value, sizeof(*value));
}

status_t BMessage::FindBool(const char* name, bool* value) const
{
	return FindBool(name, 0, value);
}

status_t BMessage::FindBool(const char* name, int32 index, bool* value) const
{
	return _FindFixed(name, B_BOOL_TYPE, index, value, sizeof(*value));
}

status_t BMessage::FindFloat(const char* name, float* value) const
{
	return FindFloat(name, 0, value);
}

status_t BMessage::FindFloat(const char* name, int32 index, float* value) const
{
	return _FindFixed(name, B_FLOAT_TYPE, index, value, sizeof(*value));
}

status_t BMessage::FindDouble(const char* name, double* value) const
{
	return FindDouble(name, 0, value);
}

status_t BMessage::FindDouble(const char* name, int32 index, double* value) const
{
	return _FindFixed(name, B_DOUBLE_TYPE, index, value, sizeof(*value));
}

status_t BMessage::FindPointer(const char* name, void** pointer) const
{
	return FindPointer(name, 0, pointer);
}

status_t BMessage::FindPointer(const char* name, int32 index, void** pointer) const
{
	return _FindFixed(name, B_POINTER_TYPE, index, pointer, sizeof(*pointer));
}

status_t BMessage::FindMessage(const char* name, BMessage* message) const
{
	return FindMessage(name, 0, message);
}

status_t BMessage::FindMessage(const char* name, int32 index, BMessage* message) const
{
	if (message == NULL)
		return B_BAD_VALUE;
	const std::string* item;
	status_t status = _FindItem(name, B_MESSAGE_TYPE, index, &item);
	if (status != B_OK)
		return status;
	size_t used;
	return message->_Unflatten(item->data(), item->size(), &used);
}

status_t BMessage::FindData(const char* name, type_code type, const void** data,
                            ssize_t* numBytes) const
{
	return FindData(name, type, 0, data, numBytes);
}

status_t BMessage::FindData(const char* name, type_code type, int32 index, const void** data,
                            ssize_t* numBytes) const
{
	if (data == NULL || numBytes == NULL)
		return B_BAD_VALUE;
	const std::string* item;
	status_t status = _FindItem(name, type, index, &item);
	if (status == B_OK) {
		*data = item->data();
		*numBytes = ssize_t(item->size());
	}
	return status;
}

// #pragma mark - Replacing

status_t BMessage::ReplaceRect(const char* name, BRect rect)
{
	return ReplaceRect(name, 0, rect);
}

status_t BMessage::ReplaceRect(const char* name, int32 index, BRect rect)
{
	return _Replace(name, B_RECT_TYPE, index, &rect, sizeof(rect));
}

status_t BMessage::ReplacePoint(const char* name, BPoint point)
{
	return ReplacePoint(name, 0, point);
}

status_t BMessage::ReplacePoint(const char* name, int32 index, BPoint point)
{
	return _Replace(name, B_POINT_TYPE, index, &point, sizeof(point));
}

status_t BMessage::ReplaceString(const char* name, const char* string)
{
	return ReplaceString(name, 0, string);
}

status_t BMessage::ReplaceString(const char* name, int32 index, const char* string)
{
	if (string == NULL)
		return B_BAD_VALUE;
	return _Replace(name, B_STRING_TYPE, index, string, strlen(string) + 1);
}

status_t BMessage::ReplaceString(const char* name, const BString& string)
{
	return ReplaceString(name, 0, string);
}

status_t BMessage::ReplaceString(const char* name, int32 index, const BString& string)
{
	return _Replace(name, B_STRING_TYPE, index, string.String(), size_t(string.Length()) + 1);
}

status_t BMessage::ReplaceInt8(const char* name, int8 value)
{
	return ReplaceInt8(name, 0, value);
}

status_t BMessage::ReplaceInt8(const char* name, int32 index, int8 value)
{
	return _Replace(name, B_INT8_TYPE, index, &value, sizeof(value));
}

status_t BMessage::ReplaceInt16(const char* name, int16 value)
{
	return ReplaceInt16(name, 0, value);
}

status_t BMessage::ReplaceInt16(const char* name, int32 index, int16 value)
{
	return _Replace(name, B_INT16_TYPE, index, &value, sizeof(value));
}

status_t BMessage::ReplaceInt32(const char* name, int32 value)
{
	return ReplaceInt32(name, 0, value);
}

status_t BMessage::ReplaceInt32(const char* name, int32 index, int32 value)
{
	return _Replace(name, B_INT32_TYPE, index, &value, sizeof(value));
}

status_t BMessage::ReplaceInt64(const char* name, int64 value)
{
	return ReplaceInt64(name, 0, value);
}

status_t BMessage::ReplaceInt64(const char* name, int32 index, int64 value)
{
	return _Replace(name, B_INT64_TYPE, index, &value, sizeof(value));
}

status_t BMessage::ReplaceBool(const char* name, bool value)
{
	return ReplaceBool(name, 0, value);
}

status_t BMessage::ReplaceBool(const char* name, int32 index, bool value)
{
	return _Replace(name, B_BOOL_TYPE, index, &value, sizeof(value));
}

status_t BMessage::ReplaceFloat(const char* name, float value)
{
	return ReplaceFloat(name, 0, value);
}

status_t BMessage::ReplaceFloat(const char* name, int32 index, float value)
{
	return _Replace(name, B_FLOAT_TYPE, index, &value, sizeof(value));
}

status_t BMessage::ReplaceDouble(const char* name, double value)
{
	return ReplaceDouble(name, 0, value);
}

status_t BMessage::ReplaceDouble(const char* name, int32 index, double value)
{
	return _Replace(name, B_DOUBLE_TYPE, index, &value, sizeof(value));
}

status_t BMessage::ReplacePointer(const char* name, const void* pointer)
{
	return ReplacePointer(name, 0, pointer);
}

status_t BMessage::ReplacePointer(const char* name, int32 index, const void* pointer)
{
	return _Replace(name, B_POINTER_TYPE, index, &pointer, sizeof(pointer));
}

status_t BMessage::ReplaceMessage(const char* name, const BMessage* message)
{
	return ReplaceMessage(name, 0, message);
}

status_t BMessage::ReplaceMessage(const char* name, int32 index, const BMessage* message)
{
	if (message == NULL)
		return B_BAD_VALUE;
	std::string bytes = message->_Flatten();
	return _Replace(name, B_MESSAGE_TYPE, index, bytes.data(), bytes.size());
}

status_t BMessage::ReplaceData(const char* name, type_code type, const void* data, ssize_t numBytes)
{
	return ReplaceData(name, type, 0, data, numBytes);
}

status_t BMessage::ReplaceData(const char* name, type_code type, int32 index, const void* data,
                               ssize_t numBytes)
{
	if (numBytes < 0 || (data == NULL && numBytes > 0))
		return B_BAD_VALUE;
	return _Replace(name, type, index, data, size_t(numBytes));
}

// #pragma mark - Testing for fields

bool BMessage::HasRect(const char* name, int32 index) const
{
	return HasData(name, B_RECT_TYPE, index);
}

bool BMessage::HasPoint(const char* name, int32 index) const
{
	return HasData(name, B_POINT_TYPE, index);
}

bool BMessage::HasString(const char* name, int32 index) const
{
	return HasData(name, B_STRING_TYPE, index);
}

bool BMessage::HasInt8(const char* name, int32 index) const
{
	return HasData(name, B_INT8_TYPE, index);
}

bool BMessage::HasInt16(const char* name, int32 index) const
{
	return HasData(name, B_INT16_TYPE, index);
}

bool BMessage::HasInt32(const char* name, int32 index) const
{
	return HasData(name, B_INT32_TYPE, index);
}

bool BMessage::HasInt64(const char* name, int32 index) const
{
	return HasData(name, B_INT64_TYPE, index);
}

bool BMessage::HasBool(const char* name, int32 index) const
{
	return HasData(name, B_BOOL_TYPE, index);
}

bool BMessage::HasFloat(const char* name, int32 index) const
{
	return HasData(name, B_FLOAT_TYPE, index);
}

bool BMessage::HasDouble(const char* name, int32 index) const
{
	return HasData(name, B_DOUBLE_TYPE, index);
}

bool BMessage::HasPointer(const char* name, int32 index) const
{
	return HasData(name, B_POINTER_TYPE, index);
}

bool BMessage::HasMessage(const char* name, int32 index) const
{
	return HasData(name, B_MESSAGE_TYPE, index);
}

bool BMessage::HasData(const char* name, type_code type, int32 index) const
{
	const std::string* item;
	return _FindItem(name, type, index, &item) == B_OK;
}

// #pragma mark - Shorthands

BRect BMessage::FindRect(const char* name, int32 index) const
{
	BRect rect;
	FindRect(name, index, &rect);
	return rect;
}

BPoint BMessage::FindPoint(const char* name, int32 index) const
{
	BPoint point;
	FindPoint(name, index, &point);
	return point;
}

const char* BMessage::FindString(const char* name, int32 index) const
{
	const char* string = NULL;
	FindString(name, index, &string);
	return string;
}

int8 BMessage::FindInt8(const char* name, int32 index) const
{
	int8 value = 0;
	FindInt8(name, index, &value);
	return value;
}

int16 BMessage::FindInt16(const char* name, int32 index) const
{
	int16 value = 0;
	FindInt16(name, index, &value);
	return value;
}

int32 BMessage::FindInt32(const char* name, int32 index) const
{
	int32 value = 0;
	FindInt32(name, index, &value);
	return value;
}

int64 BMessage::FindInt64(const char* name, int32 index) const
{
	int64 value = 0;
	FindInt64(name, index, &value);
	return value;
}

bool BMessage::FindBool(const char* name, int32 index) const
{
	bool value = false;
	FindBool(name, index, &value);
	return value;
}

float BMessage::FindFloat(const char* name, int32 index) const
{
	float value = 0;
	FindFloat(name, index, &value);
	return value;
}

double BMessage::FindDouble(const char* name, int32 index) const
{
	double value = 0;
	FindDouble(name, index, &value);
	return value;
}

// #pragma mark - Private

const BMessage::Field* BMessage::_FindField(const char* name) const
{
	if (name == NULL)
		return NULL;
	for (const Field& field : fFields) {
		if (field.name == name)
			return &field;
	}
	return NULL;
}

BMessage::Field* BMessage::_FindField(const char* name)
{
	return const_cast<Field*>(static_cast<const BMessage*>(this)->_FindField(name));
}

status_t BMessage::_FindItem(const char* name, type_code type, int32 index,
                             const std::string** item) const
{
	if (name == NULL)
		return B_BAD_VALUE;
	const Field* field = _FindField(name);
	if (field == NULL)
		return B_NAME_NOT_FOUND;
	if (type != B_ANY_TYPE && field->type != type)
		return B_BAD_TYPE;
	if (index < 0 || size_t(index) >= field->items.size())
		return B_BAD_INDEX;
	*item = &field->items[size_t(index)];
	return B_OK;
}

status_t BMessage::_FindFixed(const char* name, type_code type, int32 index, void* value,
                              size_t size) const
{
	if (value == NULL)
		return B_BAD_VALUE;
	const std::string* item;
	status_t status = _FindItem(name, type, index, &item);
	if (status != B_OK)
		return status;
	if (item->size() != size)
		return B_BAD_TYPE;
	memcpy(value, item->data(), size);
	return B_OK;
}

status_t BMessage::_Replace(const char* name, type_code type, int32 index, const void* data,
                            size_t size)
{
	const std::string* found;
	status_t status = _FindItem(name, type, index, &found);
	if (status != B_OK)
		return status;
	Field* field = _FindField(name);
	if (field->fixedSize && found->size() != size)
		return B_BAD_VALUE;
	field->items[size_t(index)].assign((const char*)data, size);
	return B_OK;
}
