// ItemFile: one file named on the command line, which the program opens as
// one item of its document. It checks the file (a readable regular file of
// at most 4 GiB - 1 bytes: offsets are 32-bit), reads it whole, and writes
// new contents back atomically. Owned by the program; used on the main
// thread before the window opens and on the window's thread when saving.
#ifndef ITEM_FILE_H
#define ITEM_FILE_H

#include <SupportDefs.h>

#include <sys/stat.h>

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
	// new contents, never a mix, whenever the program stops. The new file
	// keeps the old one's mode, owner and group; a symbolic link stays a
	// link and its target is written. A target with other hard links gets a
	// file of its own: the other names keep the old contents (SaveWarning
	// says so first). On failure the target is untouched. Temporary files
	// left by a program killed while saving are removed by the next Read or
	// Write of the same file.
	status_t Write(const void* data, size_t length);

	// Why writing the file now needs the user's confirmation, in one line
	// that names the file: it was changed, replaced or removed by another
	// program since this object last read or wrote it, or it has other hard
	// links. Empty when nothing stands against writing.
	std::string SaveWarning() const;

	const std::string& Path() const { return fPath; }
	std::string Name() const;
	const std::vector<char>& Data() const { return fData; }
	const std::string& ErrorMessage() const { return fError; }

	// Whether data differs from what the file held when it was last read
	// or written by this object.
	bool Differs(const void* data, size_t length) const;

	// Whether both objects read one file on disk (the same device and
	// inode), under whatever names: saving both would lose one's edits.
	bool IsSameFile(const ItemFile& other) const;

	// Offsets are 32-bit: the largest item size that they can address.
	static constexpr uint64 kMaxSize = 0xffffffffULL;

private:
	// What identifies the file's contents on disk as last read or written.
	struct DiskState
	{
		bool known = false;
		dev_t device = 0;
		ino_t inode = 0;
		off_t size = 0;
		struct timespec modified = {};
	};

	status_t Fail(const std::string& what, int error);
	void Remember(const struct stat& info);

	std::string fPath;
	std::vector<char> fData;
	std::string fError;
	DiskState fDisk;
};

#endif // ITEM_FILE_H
