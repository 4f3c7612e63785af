// ItemFile: one file named on the command line, which the program opens as
// one item of its document. It checks the file (a readable regular file of
// at most 4 GiB - 1 bytes: offsets are 32-bit), reads it whole, and writes
// new contents back atomically (in place, keeping a copy of the old bytes,
// when the file cannot be replaced). Owned by the program; used on the main
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
	// keeps the old one's mode, owner, group and extended attributes (those
	// it cannot keep, SaveNotice names); a symbolic link stays a link and
	// its target is written. A target removed since it was read comes back
	// with the mode it had. A target with other hard links gets a file of
	// its own: the other names keep the old contents. On failure the target
	// is untouched. Temporary files left by a program killed while saving
	// are removed by the next Read or Write of the same file.
	//
	// A target that cannot be replaced (its folder is not writable, or a new
	// file could not keep its owner and group) but that the process may
	// write is written in place instead: its old bytes are first copied to
	// a file in $TMPDIR (or /tmp) and flushed, then the new ones written and
	// flushed, then the copy removed. A failure from then on leaves the
	// copy, and the error says where it is. SaveWarning announces the
	// hard links and the write in place.
	status_t Write(const void* data, size_t length);

	// Why writing the file now needs the user's confirmation, in one line
	// that names the file: it was changed, replaced or removed by another
	// program since this object last read or wrote it, its mode does not
	// let it be written, it has other hard links, or it will be written in
	// place. Empty when nothing stands against writing.
	std::string SaveWarning() const;
	// The part of SaveWarning that another program caused: the file was
	// changed, replaced or removed since this object last read or wrote it,
	// or made where this object found none (without the path), or "".
	std::string ChangeOnDisk() const;

	// After a Write that succeeded: what it could not keep (extended
	// attributes, each with why) in one line that names the file; empty
	// when it kept everything.
	const std::string& SaveNotice() const { return fNotice; }

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
		mode_t mode = 0;
	};

	status_t Replace(const std::string& target, const std::string& directory,
	                 const std::string& name, const struct stat* old, const char* data,
	                 size_t length);
	status_t WriteInPlace(const std::string& target, const std::string& name, const char* data,
	                      size_t length);
	status_t Fail(const std::string& what, int error);
	void Remember(const struct stat& info);

	std::string fPath;
	std::vector<char> fData;
	std::string fError;
	std::string fNotice;
	DiskState fDisk;
};

#endif // ITEM_FILE_H
