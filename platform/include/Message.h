// BMessage: a command code (what) and named fields, each an array of items of
// one type. Copied by value (posting a message posts a copy); not thread-safe.
#ifndef _MESSAGE_H
#define _MESSAGE_H

#include <Point.h>
#include <SupportDefs.h>
#include <TypeConstants.h>

#include <string>
#include <vector>

struct entry_ref;

namespace BPrivate {
class KitAccess;
}

class _IMPEXP_BE BMessage
{
public:
	uint32 what;

	BMessage(uint32 what);
	virtual ~BMessage();

	// A field keeps the type of its first item; items of another type give
	// B_BAD_TYPE.
	status_t AddPoint(const char* name, BPoint point);
	status_t AddString(const char* name, const char* string);
	status_t AddInt32(const char* name, int32 value);
	status_t AddInt64(const char* name, int64 value);
	status_t AddBool(const char* name, bool value);
	status_t AddFloat(const char* name, float value);
	status_t AddPointer(const char* name, const void* pointer);
	// The ref's device, directory and name (B_REF_TYPE).
	status_t AddRef(const char* name, const entry_ref* ref);
	// numBytes bytes of any type, NUL bytes included.
	status_t AddData(const char* name, type_code type, const void* data, ssize_t numBytes,
	                 bool isFixedSize = true, int32 numItems = 1);

	// The first item: B_NAME_NOT_FOUND without such a field, B_BAD_TYPE when
	// it holds another type. The output is left alone on error.
	status_t FindPoint(const char* name, BPoint* point) const;
	status_t FindString(const char* name, const char** string) const;
	status_t FindInt32(const char* name, int32* value) const;
	status_t FindBool(const char* name, bool* value) const;
	status_t FindFloat(const char* name, float* value) const;
	status_t FindPointer(const char* name, void** pointer) const;
	status_t FindRef(const char* name, entry_ref* ref) const;
	status_t FindRef(const char* name, int32 index, entry_ref* ref) const;
	// The item's bytes, which stay the message's.
	status_t FindData(const char* name, type_code type, const void** data, ssize_t* numBytes) const;

	// Shorthands: the item, or a zero value (NULL, 0) when absent.
	const char* FindString(const char* name, int32 index = 0) const;
	int32 FindInt32(const char* name, int32 index = 0) const;

	// A message dropped on a window (files from the desktop): delivered to
	// the view under the drop point. DropPoint is in screen coordinates;
	// offset, the point within what was dragged, is (0, 0) for files.
	bool WasDropped() const;
	BPoint DropPoint(BPoint* offset = NULL) const;

private:
	friend class BPrivate::KitAccess;

	struct Field
	{
		std::string name;
		type_code type;
		std::vector<std::string> items; // each item's bytes
	};

	status_t _Add(const char* name, type_code type, const void* data, size_t size);
	status_t _FindItem(const char* name, type_code type, int32 index,
	                   const std::string** item) const;
	status_t _FindFixed(const char* name, type_code type, int32 index, void* value,
	                    size_t size) const;

	std::vector<Field> fFields;
	bool fWasDropped = false;
	BPoint fDropPoint;
};

#endif // _MESSAGE_H
