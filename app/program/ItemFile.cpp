// ItemFile: checking, reading and atomically writing one item's file.

#include "ItemFile.h"

#include <Errors.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes a descriptor when the scope ends.
class FileDescriptor
{
public:
	explicit FileDescriptor(int fd) : fFD(fd) {}
	~FileDescriptor() { Close(); }
	FileDescriptor(const FileDescriptor&) = delete;
	FileDescriptor& operator=(const FileDescriptor&) = delete;

	int Get() const { return fFD; }
	int Close()
	{
		int result = 0;
		if (fFD >= 0)
			result = close(fFD);
		fFD = -1;
		return result;
	}

private:
	int fFD;
};

const char* KindOf(mode_t mode)
{
	if (S_ISDIR(mode))
		return "is a directory";
	if (S_ISCHR(mode))
		return "is a character device";
	if (S_ISBLK(mode))
		return "is a block device";
	if (S_ISFIFO(mode))
		return "is a pipe";
	if (S_ISSOCK(mode))
		return "is a socket";
	return "is not a regular file";
}

std::string DirectoryOf(const std::string& path)
{
	std::string::size_type slash = path.rfind('/');
	if (slash == std::string::npos)
		return ".";
	if (slash == 0)
		return "/";
	return path.substr(0, slash);
}

// Saving goes to the file a symbolic link points to, so that the link
// survives and the temporary file lands beside the real target.
std::string ResolvedTarget(const std::string& path)
{
	char* resolved = realpath(path.c_str(), NULL);
	if (resolved == NULL)
		return path;
	std::string result(resolved);
	free(resolved);
	return result;
}

// Temporary files are named after the target and the saving process, so
// that one left by a process that died can be told from one being written.
std::string TemporaryPrefix(const std::string& name)
{
	return "." + name + ".reshost-";
}

// Removes the temporary files of the target's that a saving process, since
// gone, left behind (killed before it could rename or remove them).
void RemoveStaleTemporaries(const std::string& directory, const std::string& name)
{
	DIR* folder = opendir(directory.c_str());
	if (folder == NULL)
		return;
	const std::string prefix = TemporaryPrefix(name);
	while (const struct dirent* entry = readdir(folder)) {
		const char* entryName = entry->d_name;
		if (strncmp(entryName, prefix.c_str(), prefix.size()) != 0)
			continue;
		char* end = NULL;
		long owner = strtol(entryName + prefix.size(), &end, 10);
		if (end == entryName + prefix.size() || *end != '-' || owner <= 0 || owner == getpid())
			continue;
		if (kill(pid_t(owner), 0) != 0 && errno == ESRCH)
			unlinkat(dirfd(folder), entryName, 0);
	}
	closedir(folder);
}

bool WriteAll(int fd, const char* data, size_t length)
{
	while (length > 0) {
		ssize_t written = write(fd, data, length);
		if (written < 0) {
			if (errno == EINTR)
				continue;
			return false;
		}
		data += written;
		length -= size_t(written);
	}
	return true;
}

} // namespace

ItemFile::ItemFile(const std::string& path) : fPath(path) {}

std::string ItemFile::Name() const
{
	std::string::size_type slash = fPath.rfind('/');
	return slash == std::string::npos ? fPath : fPath.substr(slash + 1);
}

status_t ItemFile::Fail(const std::string& what, int error)
{
	fError = fPath + ": " + what;
	if (error != 0)
		fError += std::string(": ") + strerror(error);
	return B_ERROR;
}

status_t ItemFile::Read(uint64 sizeLimit)
{
	fData.clear();
	fError.clear();

	// O_NONBLOCK keeps a pipe or a device from blocking the open; the kind
	// of file is checked on the open descriptor, so it cannot change between
	// the check and the read.
	FileDescriptor file(open(fPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
	if (file.Get() < 0)
		return Fail("cannot open", errno);

	struct stat info;
	if (fstat(file.Get(), &info) != 0)
		return Fail("cannot examine", errno);
	if (!S_ISREG(info.st_mode))
		return Fail(KindOf(info.st_mode), 0);
	Remember(info);
	const std::string target = ResolvedTarget(fPath);
	RemoveStaleTemporaries(DirectoryOf(target), target.substr(target.rfind('/') + 1));

	uint64 limit = std::min(sizeLimit, kMaxSize);
	auto tooLarge = [&](uint64 size) {
		std::string why =
		    size > kMaxSize
		        ? "offsets are 32-bit, so at most " + std::to_string(kMaxSize) + " bytes"
		        : "at most " + std::to_string(limit) + " bytes fit the view's exact coordinates";
		return Fail("too large: " + std::to_string(size) + " bytes (" + why + ")", 0);
	};
	if (uint64(info.st_size) > limit)
		return tooLarge(uint64(info.st_size));

	// The file may grow while it is read: read to its end, within the limit.
	fData.resize(size_t(info.st_size));
	size_t filled = 0;
	while (true) {
		if (filled == fData.size()) {
			if (fData.size() >= limit + 1)
				break;
			fData.resize(size_t(std::min<uint64>(limit + 1, fData.size() + 65536)));
		}
		ssize_t count = read(file.Get(), fData.data() + filled, fData.size() - filled);
		if (count < 0) {
			if (errno == EINTR)
				continue;
			fData.clear();
			return Fail("cannot read", errno);
		}
		if (count == 0)
			break;
		filled += size_t(count);
	}
	if (filled > limit) {
		fData.clear();
		return tooLarge(filled);
	}
	fData.resize(filled);
	return B_OK;
}

status_t ItemFile::Write(const void* data, size_t length)
{
	fError.clear();
	std::string target = ResolvedTarget(fPath);
	std::string directory = DirectoryOf(target);
	std::string name = target.substr(target.rfind('/') + 1);

	RemoveStaleTemporaries(directory, name);

	// The old file's permissions, owner and group carry over to the new one.
	struct stat old;
	const bool replacing = stat(target.c_str(), &old) == 0;
	const mode_t mode = replacing ? old.st_mode & 07777 : 0644;

	std::string temporary =
	    directory + "/" + TemporaryPrefix(name) + std::to_string(getpid()) + "-XXXXXX";
	FileDescriptor file(mkostemp(temporary.data(), O_CLOEXEC));
	if (file.Get() < 0)
		return Fail("cannot save: cannot create a temporary file in " + directory, errno);

	auto failAndRemove = [&](const char* what) {
		int error = errno;
		file.Close();
		unlink(temporary.c_str());
		return Fail(std::string("cannot save: ") + what, error);
	};
	struct stat made;
	if (fstat(file.Get(), &made) != 0)
		return failAndRemove("cannot examine the temporary file");
	// Changing the owner clears the set-id bits: the mode comes after it.
	// A new file that could not keep the old owner would hand the file to
	// whoever saved it, so that fails the save instead.
	if (replacing && (made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
	    fchown(file.Get(), old.st_uid, old.st_gid) != 0)
		return failAndRemove("cannot keep the file's owner and group");
	if (fchmod(file.Get(), mode) != 0)
		return failAndRemove("cannot set the permissions");
	if (!WriteAll(file.Get(), static_cast<const char*>(data), length))
		return failAndRemove("cannot write");
	if (fsync(file.Get()) != 0)
		return failAndRemove("cannot flush to disk");
	struct stat written;
	if (fstat(file.Get(), &written) != 0)
		return failAndRemove("cannot examine the temporary file");
	if (file.Close() != 0) {
		unlink(temporary.c_str());
		return Fail("cannot save: cannot close", errno);
	}
	if (rename(temporary.c_str(), target.c_str()) != 0) {
		int error = errno;
		unlink(temporary.c_str());
		return Fail("cannot save: cannot replace the file", error);
	}

	// The rename itself is made durable by flushing the directory; a file
	// system that cannot flush directories has nothing more to lose.
	FileDescriptor folder(open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
	if (folder.Get() >= 0)
		fsync(folder.Get());

	const char* bytes = static_cast<const char*>(data);
	fData.assign(bytes, bytes + length);
	Remember(written);
	return B_OK;
}

void ItemFile::Remember(const struct stat& info)
{
	fDisk.known = true;
	fDisk.device = info.st_dev;
	fDisk.inode = info.st_ino;
	fDisk.size = info.st_size;
	fDisk.modified = info.st_mtim;
}

std::string ItemFile::SaveWarning() const
{
	struct stat info;
	if (stat(fPath.c_str(), &info) != 0) {
		if (fDisk.known && errno == ENOENT)
			return fPath + ": removed by another program since it was opened";
		return std::string();
	}
	if (fDisk.known &&
	    (info.st_dev != fDisk.device || info.st_ino != fDisk.inode || info.st_size != fDisk.size ||
	     info.st_mtim.tv_sec != fDisk.modified.tv_sec ||
	     info.st_mtim.tv_nsec != fDisk.modified.tv_nsec))
		return fPath + ": changed by another program since it was opened";
	// Saving renames a new file over this name, which leaves the other
	// names with the old contents; writing in place would keep them
	// together but could leave the file half written.
	if (info.st_nlink > 1)
		return fPath + ": has " + std::to_string(info.st_nlink) +
		       " hard links; saving gives this name a file of its own";
	return std::string();
}

bool ItemFile::Differs(const void* data, size_t length) const
{
	return length != fData.size() || (length > 0 && memcmp(data, fData.data(), length) != 0);
}

bool ItemFile::IsSameFile(const ItemFile& other) const
{
	return fDisk.known && other.fDisk.known && fDisk.device == other.fDisk.device &&
	       fDisk.inode == other.fDisk.inode;
}
