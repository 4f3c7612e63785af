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
	BString(const BString& string);
	BString(const char* string, int32 maxLength);
	~BString();

	// Never NULL: "" for an empty string. Always NUL-terminated after Length() bytes.
	const char* String() const;
	int32 Length() const;
	// UTF-8 characters, not bytes.
	int32 CountChars() const;

	BString& operator=(const BString& string);
	BString& operator=(const char* string);
	BString& operator=(char c);

	BString& SetTo(const char* string);
	BString& SetTo(const char* string, int32 length);
	BString& SetTo(const BString& string);
	BString& SetTo(const BString& string, int32 length);
	BString& SetTo(char c, int32 count);

	BString& CopyInto(BString& into, int32 fromOffset, int32 length) const;
	void CopyInto(char* into, int32 fromOffset, int32 length) const;

	BString& operator+=(const BString& string);
	BString& operator+=(const char* string);
	BString& operator+=(char c);

	BString& Append(const BString& string);
	BString& Append(const char* string);
	BString& Append(const BString& string, int32 length);
	BString& Append(const char* string, int32 length);
	BString& Append(char c, int32 count);

	BString& Prepend(const char* string);
	BString& Prepend(const BString& string);
	BString& Prepend(const char* string, int32 length);
	BString& Prepend(const BString& string, int32 length);
	BString& Prepend(char c, int32 count);

	// The const char* forms stop at the string's NUL; the BString forms insert
	// every byte of the string, NUL bytes included. A position beyond the end
	// appends; a negative position inserts nothing.
	BString& Insert(const char* string, int32 position);
	BString& Insert(const char* string, int32 length, int32 position);
	BString& Insert(const char* string, int32 fromOffset, int32 length, int32 position);
	BString& Insert(const BString& string, int32 position);
	BString& Insert(const BString& string, int32 length, int32 position);
	BString& Insert(const BString& string, int32 fromOffset, int32 length, int32 position);
	BString& Insert(char c, int32 count, int32 position);

	BString& Truncate(int32 newLength, bool lazy = true);
	// Nothing for length <= 0 or from outside the string; clips what runs past the end.
	BString& Remove(int32 from, int32 length);
	BString& RemoveFirst(const BString& string);
	BString& RemoveFirst(const char* string);
	BString& RemoveAll(const BString& string);
	BString& RemoveAll(const char* string);

	int Compare(const BString& string) const;
	int Compare(const char* string) const;
	int Compare(const BString& string, int32 n) const;
	int Compare(const char* string, int32 n) const;
	int ICompare(const BString& string) const;
	int ICompare(const char* string) const;

	bool operator<(const BString& string) const;
	bool operator<=(const BString& string) const;
	bool operator==(const BString& string) const;
	bool operator>=(const BString& string) const;
	bool operator>(const BString& string) const;
	bool operator!=(const BString& string) const;
	bool operator<(const char* string) const;
	bool operator<=(const char* string) const;
	bool operator==(const char* string) const;
	bool operator>=(const char* string) const;
	bool operator>(const char* string) const;
	bool operator!=(const char* string) const;

	// Byte positions, or B_ERROR when not found.
	int32 FindFirst(const BString& string) const;
	int32 FindFirst(const char* string) const;
	int32 FindFirst(const BString& string, int32 fromOffset) const;
	int32 FindFirst(const char* string, int32 fromOffset) const;
	int32 FindFirst(char c) const;
	int32 FindFirst(char c, int32 fromOffset) const;
	int32 FindLast(const BString& string) const;
	int32 FindLast(const char* string) const;
	int32 FindLast(char c) const;

	BString& ReplaceFirst(char replaceThis, char withThis);
	BString& ReplaceAll(char replaceThis, char withThis, int32 fromOffset = 0);
	BString& ReplaceFirst(const char* replaceThis, const char* withThis);
	BString& ReplaceAll(const char* replaceThis, const char* withThis, int32 fromOffset = 0);

	BString& ToLower();
	BString& ToUpper();

	// No bounds check, as in the kits: index must be below Length().
	char operator[](int32 index) const;
	char& operator[](int32 index);
	// 0 outside the string.
	char ByteAt(int32 index) const;

	// A writable buffer of at least maxLength bytes (and never fewer than
	// Length()), followed by a NUL. UnlockBuffer(length) then sets the length:
	// exactly length bytes for length >= 0, strlen of the buffer for -1.
	char* LockBuffer(int32 maxLength);
	BString& UnlockBuffer(int32 length = -1);

	BString& operator<<(const char* string);
	BString& operator<<(const BString& string);
	BString& operator<<(char c);
	BString& operator<<(int value);
	BString& operator<<(unsigned int value);
	BString& operator<<(long value);
	BString& operator<<(unsigned long value);
	BString& operator<<(long long value);
	BString& operator<<(unsigned long long value);
	BString& operator<<(float value);

private:
	std::string fBytes;
};

_IMPEXP_BE bool operator<(const char* a, const BString& b);
_IMPEXP_BE bool operator<=(const char* a, const BString& b);
_IMPEXP_BE bool operator==(const char* a, const BString& b);
_IMPEXP_BE bool operator>(const char* a, const BString& b);
_IMPEXP_BE bool operator>=(const char* a, const BString& b);
_IMPEXP_BE bool operator!=(const char* a, const BString& b);

_IMPEXP_BE int Compare(const BString& a, const BString& b);
_IMPEXP_BE int ICompare(const BString& a, const BString& b);

#endif // _B_STRING_H
