// BString: a string that keeps its length apart from its bytes, so it also
// serves as a growable buffer of raw bytes, NUL bytes included. Owned by value
// by whoever holds it; not thread-safe.
#ifndef _B_STRING_H
#define _B_STRING_H

#include <SupportDefs.h>

#include <string>

class _IMPEXP_BE BString
{
public:
	BString();
	BString(const char* string);
	~BString();

	// Never NULL: "" for an empty string. Always NUL-terminated after Length() bytes.
	const char* String() const;
	int32 Length() const;

	BString& operator=(const char* string);

	// Inserts every byte of the string, NUL bytes included. A position beyond
	// the end appends; a negative position inserts nothing.
	BString& Insert(const BString& string, int32 position);
	// Nothing for length <= 0 or from outside the string; clips what runs past the end.
	BString& Remove(int32 from, int32 length);

	// No bounds check, as in the kits: index must be below Length().
	char& operator[](int32 index);

	// A writable buffer of at least maxLength bytes (and never fewer than
	// Length()), followed by a NUL. UnlockBuffer(length) then sets the length:
	// exactly length bytes for length >= 0, strlen of the buffer for -1.
	char* LockBuffer(int32 maxLength);
	BString& UnlockBuffer(int32 length = -1);

	BString& operator<<(const char* string);
	BString& operator<<(int value);

private:
	std::string fBytes;
};

#endif // _B_STRING_H
