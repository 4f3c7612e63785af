// BString over a std::string, which keeps the length apart from the bytes and
// always has a NUL after them.
#include <String.h>

#include <algorithm>

#include <string.h>

BString::BString() {}

BString::BString(const char* string) : fBytes(string == NULL ? "" : string) {}

BString::~BString() {}

const char* BString::String() const
{
	return fBytes.c_str();
}

int32 BString::Length() const
{
	return int32(fBytes.size());
}

BString& BString::operator=(const char* string)
{
	fBytes.assign(string == NULL ? "" : string);
	return *this;
}

BString& BString::Insert(const BString& string, int32 position)
{
	if (position >= 0)
		fBytes.insert(std::min(size_t(position), fBytes.size()), string.fBytes);
	return *this;
}

BString& BString::Remove(int32 from, int32 length)
{
	if (length <= 0 || from < 0 || from >= Length())
		return *this;
	fBytes.erase(size_t(from), size_t(length));
	return *this;
}

char& BString::operator[](int32 index)
{
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
	if (string != NULL)
		fBytes.append(string);
	return *this;
}

BString& BString::operator<<(int value)
{
	fBytes.append(std::to_string(value));
	return *this;
}
