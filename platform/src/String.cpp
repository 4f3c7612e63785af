// BString over a std::string, which keeps the length apart from the bytes and
// always has a NUL after them.
#include <String.h>

#include <algorithm>

#include <ctype.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>

namespace {

// Length of at most maxLength bytes of a C string, stopping at its NUL.
size_t BoundedLength(const char* string, int32 maxLength)
{
	if (string == NULL || maxLength <= 0)
		return 0;
	const void* end = memchr(string, '\0', size_t(maxLength));
	return end == NULL ? size_t(maxLength) : size_t((const char*)end - string);
}

size_t CLength(const char* string)
{
	return string == NULL ? 0 : strlen(string);
}

int Sign(int value)
{
	return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

} // namespace

BString::BString() {}

BString::BString(const char* string) : fBytes(string == NULL ? "" : string) {}

BString::BString(const BString& string) : fBytes(string.fBytes) {}

BString::BString(const char* string, int32 maxLength)
    : fBytes(string == NULL ? "" : string, BoundedLength(string, maxLength))
{
}

BString::~BString() {}

const char* BString::String() const
{
	return fBytes.c_str();
}

int32 BString::Length() const
{
	return int32(fBytes.size());
}

int32 BString::CountChars() const
{
	int32 count = 0;
	for (unsigned char c : fBytes) {
		// Continuation bytes of UTF-8 are 10xxxxxx.
		if ((c & 0xc0) != 0x80)
			count++;
	}
	return count;
}

BString& BString::operator=(const BString& string)
{
	if (this != &string)
		fBytes = string.fBytes;
	return *this;
}

BString& BString::operator=(const char* string)
{
	return SetTo(string);
}

BString& BString::operator=(char c)
{
	fBytes.assign(1, c);
	return *this;
}

BString& BString::SetTo(const char* string)
{
	fBytes.assign(string == NULL ? "" : string);
	return *this;
}

BString& BString::SetTo(const char* string, int32 length)
{
	fBytes.assign(string == NULL ? "" : string, BoundedLength(string, length));
	return *this;
}

BString& BString::SetTo(const BString& string)
{
	return *this = string;
}

BString& BString::SetTo(const BString& string, int32 length)
{
	if (this != &string)
		fBytes.assign(string.fBytes, 0, length < 0 ? 0 : size_t(length));
	else
		Truncate(length);
	return *this;
}

BString& BString::SetTo(char c, int32 count)
{
	fBytes.assign(count < 0 ? 0 : size_t(count), c);
	return *this;
}

BString& BString::CopyInto(BString& into, int32 fromOffset, int32 length) const
{
	if (&into == this) {
		BString copy(*this);
		return copy.CopyInto(into, fromOffset, length);
	}
	if (fromOffset < 0 || fromOffset > Length() || length < 0)
		into.fBytes.clear();
	else
		into.fBytes.assign(fBytes, size_t(fromOffset), size_t(length));
	return into;
}

void BString::CopyInto(char* into, int32 fromOffset, int32 length) const
{
	if (into == NULL || fromOffset < 0 || fromOffset > Length() || length <= 0)
		return;
	fBytes.copy(into, size_t(length), size_t(fromOffset));
}

BString& BString::operator+=(const BString& string)
{
	return Append(string);
}

BString& BString::operator+=(const char* string)
{
	return Append(string);
}

BString& BString::operator+=(char c)
{
	fBytes.push_back(c);
	return *this;
}

BString& BString::Append(const BString& string)
{
	fBytes.append(string.fBytes);
	return *this;
}

BString& BString::Append(const char* string)
{
	fBytes.append(string == NULL ? "" : string);
	return *this;
}

BString& BString::Append(const BString& string, int32 length)
{
	if (length > 0)
		fBytes.append(string.fBytes, 0, size_t(length));
	return *this;
}

BString& BString::Append(const char* string, int32 length)
{
	fBytes.append(string == NULL ? "" : string, BoundedLength(string, length));
	return *this;
}

BString& BString::Append(char c, int32 count)
{
	if (count > 0)
		fBytes.append(size_t(count), c);
	return *this;
}

BString& BString::Prepend(const char* string)
{
	return Insert(string, 0);
}

BString& BString::Prepend(const BString& string)
{
	return Insert(string, 0);
}

BString& BString::Prepend(const char* string, int32 length)
{
	return Insert(string, length, 0);
}

BString& BString::Prepend(const BString& string, int32 length)
{
	return Insert(string, length, 0);
}

BString& BString::Prepend(char c, int32 count)
{
	return Insert(c, count, 0);
}

BString& BString::Insert(const char* string, int32 position)
{
	return Insert(string, int32(CLength(string)), position);
}

BString& BString::Insert(const char* string, int32 length, int32 position)
{
	return Insert(string, 0, length, position);
}

BString& BString::Insert(const char* string, int32 fromOffset, int32 length, int32 position)
{
	if (string == NULL || fromOffset < 0 || position < 0)
		return *this;
	size_t available = CLength(string);
	if (size_t(fromOffset) >= available)
		return *this;
	size_t count = BoundedLength(string + fromOffset, length);
	// The source may be this string's own bytes: copy before inserting.
	std::string bytes(string + fromOffset, count);
	fBytes.insert(std::min(size_t(position), fBytes.size()), bytes);
	return *this;
}

BString& BString::Insert(const BString& string, int32 position)
{
	return Insert(string, 0, string.Length(), position);
}

BString& BString::Insert(const BString& string, int32 length, int32 position)
{
	return Insert(string, 0, length, position);
}

BString& BString::Insert(const BString& string, int32 fromOffset, int32 length, int32 position)
{
	if (fromOffset < 0 || length <= 0 || position < 0 || fromOffset >= string.Length())
		return *this;
	std::string bytes(string.fBytes, size_t(fromOffset), size_t(length));
	fBytes.insert(std::min(size_t(position), fBytes.size()), bytes);
	return *this;
}

BString& BString::Insert(char c, int32 count, int32 position)
{
	if (count > 0 && position >= 0)
		fBytes.insert(std::min(size_t(position), fBytes.size()), size_t(count), c);
	return *this;
}

BString& BString::Truncate(int32 newLength, bool lazy)
{
	if (newLength < 0)
		newLength = 0;
	if (newLength < Length())
		fBytes.resize(size_t(newLength));
	if (!lazy)
		fBytes.shrink_to_fit();
	return *this;
}

BString& BString::Remove(int32 from, int32 length)
{
	if (length <= 0 || from < 0 || from >= Length())
		return *this;
	fBytes.erase(size_t(from), size_t(length));
	return *this;
}

BString& BString::RemoveFirst(const BString& string)
{
	if (string.Length() > 0) {
		size_t at = fBytes.find(string.fBytes);
		if (at != std::string::npos)
			fBytes.erase(at, string.fBytes.size());
	}
	return *this;
}

BString& BString::RemoveFirst(const char* string)
{
	return RemoveFirst(BString(string));
}

BString& BString::RemoveAll(const BString& string)
{
	return ReplaceAll(string.String(), "");
}

BString& BString::RemoveAll(const char* string)
{
	return ReplaceAll(string, "");
}

int BString::Compare(const BString& string) const
{
	return Sign(fBytes.compare(string.fBytes));
}

int BString::Compare(const char* string) const
{
	return Sign(strcmp(String(), string == NULL ? "" : string));
}

int BString::Compare(const BString& string, int32 n) const
{
	if (n <= 0)
		return 0;
	return Sign(fBytes.compare(0, size_t(n), string.fBytes, 0, size_t(n)));
}

int BString::Compare(const char* string, int32 n) const
{
	if (n <= 0)
		return 0;
	return Sign(strncmp(String(), string == NULL ? "" : string, size_t(n)));
}

int BString::ICompare(const BString& string) const
{
	return ICompare(string.String());
}

int BString::ICompare(const char* string) const
{
	return Sign(strcasecmp(String(), string == NULL ? "" : string));
}

bool BString::operator<(const BString& string) const
{
	return Compare(string) < 0;
}

bool BString::operator<=(const BString& string) const
{
	return Compare(string) <= 0;
}

bool BString::operator==(const BString& string) const
{
	return fBytes == string.fBytes;
}

bool BString::operator>=(const BString& string) const
{
	return Compare(string) >= 0;
}

bool BString::operator>(const BString& string) const
{
	return Compare(string) > 0;
}

bool BString::operator!=(const BString& string) const
{
	return !(*this == string);
}

bool BString::operator<(const char* string) const
{
	return Compare(string) < 0;
}

bool BString::operator<=(const char* string) const
{
	return Compare(string) <= 0;
}

bool BString::operator==(const char* string) const
{
	// Every byte counts: a string holding a NUL never equals a C string.
	return fBytes == (string == NULL ? "" : string);
}

bool BString::operator>=(const char* string) const
{
	return Compare(string) >= 0;
}

bool BString::operator>(const char* string) const
{
	return Compare(string) > 0;
}

bool BString::operator!=(const char* string) const
{
	return !(*this == string);
}

int32 BString::FindFirst(const BString& string) const
{
	return FindFirst(string, 0);
}

int32 BString::FindFirst(const char* string) const
{
	return FindFirst(string, 0);
}

int32 BString::FindFirst(const BString& string, int32 fromOffset) const
{
	if (fromOffset < 0)
		return B_ERROR;
	size_t at = fBytes.find(string.fBytes, size_t(fromOffset));
	return at == std::string::npos ? B_ERROR : int32(at);
}

int32 BString::FindFirst(const char* string, int32 fromOffset) const
{
	if (string == NULL)
		return B_BAD_VALUE;
	return FindFirst(BString(string), fromOffset);
}

int32 BString::FindFirst(char c) const
{
	return FindFirst(c, 0);
}

int32 BString::FindFirst(char c, int32 fromOffset) const
{
	if (fromOffset < 0)
		return B_ERROR;
	size_t at = fBytes.find(c, size_t(fromOffset));
	return at == std::string::npos ? B_ERROR : int32(at);
}

int32 BString::FindLast(const BString& string) const
{
	size_t at = fBytes.rfind(string.fBytes);
	return at == std::string::npos ? B_ERROR : int32(at);
}

int32 BString::FindLast(const char* string) const
{
	if (string == NULL)
		return B_BAD_VALUE;
	return FindLast(BString(string));
}

int32 BString::FindLast(char c) const
{
	size_t at = fBytes.rfind(c);
	return at == std::string::npos ? B_ERROR : int32(at);
}

BString& BString::ReplaceFirst(char replaceThis, char withThis)
{
	size_t at = fBytes.find(replaceThis);
	if (at != std::string::npos)
		fBytes[at] = withThis;
	return *this;
}

BString& BString::ReplaceAll(char replaceThis, char withThis, int32 fromOffset)
{
	for (size_t i = fromOffset < 0 ? 0 : size_t(fromOffset); i < fBytes.size(); i++) {
		if (fBytes[i] == replaceThis)
			fBytes[i] = withThis;
	}
	return *this;
}

BString& BString::ReplaceFirst(const char* replaceThis, const char* withThis)
{
	size_t length = CLength(replaceThis);
	if (length == 0)
		return *this;
	size_t at = fBytes.find(replaceThis, 0, length);
	if (at != std::string::npos)
		fBytes.replace(at, length, withThis == NULL ? "" : withThis);
	return *this;
}

BString& BString::ReplaceAll(const char* replaceThis, const char* withThis, int32 fromOffset)
{
	size_t length = CLength(replaceThis);
	if (length == 0)
		return *this;
	const std::string replacement(withThis == NULL ? "" : withThis);
	size_t at = fromOffset < 0 ? 0 : size_t(fromOffset);
	while ((at = fBytes.find(replaceThis, at, length)) != std::string::npos) {
		fBytes.replace(at, length, replacement);
		at += replacement.size();
	}
	return *this;
}

BString& BString::ToLower()
{
	for (char& c : fBytes)
		c = char(tolower((unsigned char)c));
	return *this;
}

BString& BString::ToUpper()
{
	for (char& c : fBytes)
		c = char(toupper((unsigned char)c));
	return *this;
}

char BString::operator[](int32 index) const
{
	return fBytes[size_t(index)];
}

char& BString::operator[](int32 index)
{
	return fBytes[size_t(index)];
}

char BString::ByteAt(int32 index) const
{
	if (index < 0 || index >= Length())
		return 0;
	return fBytes[size_t(index)];
}

char* BString::LockBuffer(int32 maxLength)
{
	if (maxLength > Length()) {
		// A quarter more room than asked for: a buffer filled whole and then
		// edited (a working copy of a file) grows in place rather than being
		// copied whole at its first insertion. Room never written to takes
		// no memory for large buffers, which the system maps on first use.
		if (size_t(maxLength) > fBytes.capacity())
			fBytes.reserve(size_t(maxLength) + size_t(maxLength) / 4);
		fBytes.resize(size_t(maxLength), '\0');
	}
	return fBytes.data();
}

BString& BString::UnlockBuffer(int32 length)
{
	if (length < 0)
		length = int32(strlen(fBytes.c_str()));
	fBytes.resize(size_t(length), '\0');
	return *this;
}

BString& BString::operator<<(const char* string)
{
	return Append(string);
}

BString& BString::operator<<(const BString& string)
{
	return Append(string);
}

BString& BString::operator<<(char c)
{
	return *this += c;
}

BString& BString::operator<<(int value)
{
	return *this << (long long)value;
}

BString& BString::operator<<(unsigned int value)
{
	return *this << (unsigned long long)value;
}

BString& BString::operator<<(long value)
{
	return *this << (long long)value;
}

BString& BString::operator<<(unsigned long value)
{
	return *this << (unsigned long long)value;
}

BString& BString::operator<<(long long value)
{
	char text[32];
	snprintf(text, sizeof(text), "%lld", value);
	return Append(text);
}

BString& BString::operator<<(unsigned long long value)
{
	char text[32];
	snprintf(text, sizeof(text), "%llu", value);
	return Append(text);
}

BString& BString::operator<<(float value)
{
	char text[64];
	snprintf(text, sizeof(text), "%.2f", value);
	return Append(text);
}

bool operator<(const char* a, const BString& b)
{
	return b.Compare(a) > 0;
}

bool operator<=(const char* a, const BString& b)
{
	return b.Compare(a) >= 0;
}

bool operator==(const char* a, const BString& b)
{
	return b == a;
}

bool operator>(const char* a, const BString& b)
{
	return b.Compare(a) < 0;
}

bool operator>=(const char* a, const BString& b)
{
	return b.Compare(a) <= 0;
}

bool operator!=(const char* a, const BString& b)
{
	return b != a;
}

int Compare(const BString& a, const BString& b)
{
	return a.Compare(b);
}

int ICompare(const BString& a, const BString& b)
{
	return a.ICompare(b);
}
