// ItemFile: one file named on the command line, which the program opens as
// one item of its document. It checks the file (a readable regular file of
// at most 4 GiB - 1 bytes: offsets are 32-bit), reads it whole, and writes
// new contents back atomically. Owned by the program; used on the main
// thread before the window opens and on the window's thread when saving.
#ifndef ITEM_FILE_H
#define ITEM_FILE_H

#include <SupportDefs.h>

#include <string>
#include <vector>

class ItemFile
{
public:
	explicit ItemFile(const std::string& path);

	// Checks and reads the file. On failure ErrorMessage() says why in one
	// line that names the file.
	status_t Read(uint64 sizeLimit);

	// Writes data to a temporary file beside the target, flushes it to disk
	// and renames it over the target: the target has either its old or its
	// new contents, never a mix. On failure the target is untouched.
	status_t Write(const void* data, size_t length);

	const std::string& Path() const { return fPath; }
	std::string Name() const;
	const std::vector<char>& Data() const { return fData; }
	const std::string& ErrorMessage() const { return fError; }

	// Whether data differs from what the file held when it was last read
	// or written by this object.
	bool Differs(const void* data, size_t length) const;

	// Offsets are 32-bit: the largest item size that they can address.
	static constexpr uint64 kMaxSize = 0xffffffffULL;

private:
	status_t Fail(const std::string& what, int error);

	std::string fPath;
	std::vector<char> fData;
	std::string fError;
};

#endif // ITEM_FILE_H
