// ItemFile: checking, reading and atomically writing one item's file.

#include "ItemFile.h"

#include <Errors.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/xattr.h>
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

// The first bytes of name that fit room, cut in front of a UTF-8 sequence
// rather than inside one.
std::string ShortenedName(const std::string& name, size_t room)
{
	if (name.size() <= room)
		return name;
	size_t end = room;
	while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xc0) == 0x80)
		end--;
	return name.substr(0, end);
}

// Temporary files are named after the target and the saving process, so
// that one left by a process that died can be told from one being written.
// The whole name, "." + name + ".reshost-" + pid + "-XXXXXX", must fit
// NAME_MAX however long the target's name is: the name part is shortened.
const char* const kTemporaryMark = ".reshost-";
const size_t kMaxPidDigits = 10;
const size_t kUniqueSuffix = strlen("-XXXXXX");

std::string TemporaryPrefix(const std::string& name)
{
	const size_t room = NAME_MAX - 1 - strlen(kTemporaryMark) - kMaxPidDigits - kUniqueSuffix;
	return "." + ShortenedName(name, room) + kTemporaryMark;
}

// Where an in-place write keeps the old bytes until the new ones are on
// disk. The name does not start with a dot, so the stale temporary
// cleanup, even of a target in the same folder, never takes it for its own.
std::string OldBytesCopyTemplate(const std::string& name)
{
	const char* folder = getenv("TMPDIR");
	const std::string mark = "reshost-old-";
	return std::string(folder != NULL && folder[0] != '\0' ? folder : "/tmp") + "/" + mark +
	       ShortenedName(name, NAME_MAX - mark.size() - kUniqueSuffix) + "-XXXXXX";
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

// Fills buffer through call(data, size), a list or get of extended
// attributes that reports the size needed when given none; false with errno
// set when it fails.
template <typename Call> bool ReadSized(std::vector<char>& buffer, Call call)
{
	for (;;) {
		ssize_t needed = call(NULL, 0);
		if (needed < 0)
			return false;
		buffer.resize(size_t(needed));
		ssize_t got = call(buffer.data(), buffer.size());
		if (got >= 0) {
			buffer.resize(size_t(got));
			return true;
		}
		// The value grew between the two calls: ask again.
		if (errno != ERANGE)
			return false;
	}
}

// The extended attributes a save carries over to the new file: the user's
// (user.*), the trusted ones that only a privileged user sees and the
// access ACL. security.* is the system's: it labels a new file itself, and
// drops a file's capabilities on any write anyway.
bool IsCopiedAttribute(const char* name)
{
	return strncmp(name, "user.", 5) == 0 || strncmp(name, "trusted.", 8) == 0 ||
	       strcmp(name, "system.posix_acl_access") == 0;
}

// Copies the extended attributes of the file at source to fd. Returns the
// ones it could not keep, each with why, e.g. "user.note (Permission
// denied)"; a file system without extended attributes has none to keep.
std::vector<std::string> CopyAttributes(const std::string& source, int fd)
{
	std::vector<std::string> lost;
	std::vector<char> names;
	if (!ReadSized(names, [&](char* list, size_t size) {
		    return listxattr(source.c_str(), list, size);
	    })) {
		if (errno != ENOTSUP)
			lost.push_back(std::string("the list of them (") + strerror(errno) + ")");
		return lost;
	}
	std::vector<char> value;
	for (const char* name = names.data(); name < names.data() + names.size();
	     name += strlen(name) + 1) {
		if (!IsCopiedAttribute(name))
			continue;
		if (!ReadSized(value,
		               [&](char* data, size_t size) {
			               return getxattr(source.c_str(), name, data, size);
		               }) ||
		    fsetxattr(fd, name, value.data(), value.size(), 0) != 0)
			lost.push_back(std::string(name) + " (" + strerror(errno) + ")");
	}
	return lost;
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

// Copies the whole of the file open as from to the one open as to.
bool CopyContents(int from, int to)
{
	char buffer[65536];
	off_t offset = 0;
	for (;;) {
		ssize_t count = pread(from, buffer, sizeof(buffer), offset);
		if (count < 0) {
			if (errno == EINTR)
				continue;
			return false;
		}
		if (count == 0)
			return true;
		if (!WriteAll(to, buffer, size_t(count)))
			return false;
		offset += count;
	}
}

// Makes a new or renamed name in the folder durable; a file system that
// cannot flush folders has nothing more to lose.
void FlushFolder(const std::string& directory)
{
	FileDescriptor folder(open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
	if (folder.Get() >= 0)
		fsync(folder.Get());
}

// Whether this process's groups include group.
bool IsMemberOf(gid_t group)
{
	if (group == getegid())
		return true;
	int count = getgroups(0, NULL);
	if (count <= 0)
		return false;
	std::vector<gid_t> groups(static_cast<size_t>(count));
	count = getgroups(count, groups.data());
	return count > 0 && std::find(groups.begin(), groups.begin() + count, group) != groups.end();
}

// Whether the file's mode and ACL refuse this process the access asked
// for. Only a refusal counts: a read-only file system, say, fails the save
// with its own error.
bool AccessRefused(const std::string& path, int access)
{
	return faccessat(AT_FDCWD, path.c_str(), access, AT_EACCESS) != 0 && errno == EACCES;
}

// Why the file cannot be replaced by a new file beside it, or NULL when it
// can: a folder this process may not write takes no new file, and only a
// privileged process can give one another owner, or a group it is not in.
const char* ReplacementObstacle(const struct stat& old, const std::string& directory)
{
	if (AccessRefused(directory, W_OK | X_OK))
		return "its folder is not writable";
	struct stat folder;
	if (geteuid() == 0 || stat(directory.c_str(), &folder) != 0)
		return NULL;
	const gid_t newGroup = (folder.st_mode & S_ISGID) != 0 ? folder.st_gid : getegid();
	if (old.st_uid != geteuid() || (old.st_gid != newGroup && !IsMemberOf(old.st_gid)))
		return "a new file could not keep its owner and group";
	return NULL;
}

// What open(O_CREAT, 0666) would give a new file. New files are written
// before any window's thread runs, so that the umask is read back at once
// without another thread creating a file in between.
mode_t NewFileMode()
{
	const mode_t mask = umask(0);
	umask(mask);
	return 0666 & ~mask;
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
	// Once the size it had is read, one byte more tells whether it grew,
	// without making room for more (a larger buffer and a copy of what was
	// read) when it did not.
	fData.resize(size_t(info.st_size));
	size_t filled = 0;
	while (true) {
		char probe;
		const bool full = filled == fData.size();
		if (full && fData.size() >= limit + 1)
			break;
		ssize_t count = full ? read(file.Get(), &probe, 1)
		                     : read(file.Get(), fData.data() + filled, fData.size() - filled);
		if (count > 0 && full) {
			fData.resize(size_t(std::min<uint64>(limit + 1, fData.size() + 65536)));
			fData[filled] = probe;
		}
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
	fNotice.clear();
	const std::string target = ResolvedTarget(fPath);
	const std::string directory = DirectoryOf(target);
	const std::string name = target.substr(target.rfind('/') + 1);

	RemoveStaleTemporaries(directory, name);

	// A file that cannot be replaced but may be written is written in place
	// (SaveWarning says so first).
	const char* bytes = static_cast<const char*>(data);
	struct stat old;
	const bool replacing = stat(target.c_str(), &old) == 0;
	const status_t status =
	    replacing && ReplacementObstacle(old, directory) != NULL && !AccessRefused(target, W_OK)
	        ? WriteInPlace(target, name, bytes, length)
	        : Replace(target, directory, name, replacing ? &old : NULL, bytes, length);
	if (status == B_OK)
		fData.assign(bytes, bytes + length);
	return status;
}

status_t ItemFile::Replace(const std::string& target, const std::string& directory,
                           const std::string& name, const struct stat* old, const char* data,
                           size_t length)
{
	// The old file's permissions, owner and group carry over to the new one;
	// a file removed since it was read comes back with the mode it had; a
	// new file gets the mode that creating it would give.
	const mode_t mode = old != NULL   ? old->st_mode & 07777
	                    : fDisk.known ? fDisk.mode
	                                  : NewFileMode();

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
	// whoever saved it, so that fails the save instead. The attributes go
	// on while the new file is still writable (user.* needs that).
	if (old != NULL && (made.st_uid != old->st_uid || made.st_gid != old->st_gid) &&
	    fchown(file.Get(), old->st_uid, old->st_gid) != 0)
		return failAndRemove("cannot keep the file's owner and group");
	const std::vector<std::string> lost =
	    old != NULL ? CopyAttributes(target, file.Get()) : std::vector<std::string>();
	if (fchmod(file.Get(), mode) != 0)
		return failAndRemove("cannot set the permissions");
	if (!WriteAll(file.Get(), data, length))
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

	FlushFolder(directory);

	for (const std::string& attribute : lost)
		fNotice +=
		    (fNotice.empty() ? fPath + ": extended attributes not kept: " : ", ") + attribute;
	Remember(written);
	return B_OK;
}

status_t ItemFile::WriteInPlace(const std::string& target, const std::string& name,
                                const char* data, size_t length)
{
	FileDescriptor file(open(target.c_str(), O_RDWR | O_CLOEXEC));
	if (file.Get() < 0)
		return Fail("cannot save: cannot open for writing", errno);
	struct stat info;
	if (fstat(file.Get(), &info) != 0)
		return Fail("cannot save: cannot examine", errno);
	if (!S_ISREG(info.st_mode))
		return Fail(std::string("cannot save: ") + KindOf(info.st_mode), 0);

	// The old bytes are copied and flushed to disk before the first new
	// byte goes in.
	std::string copy = OldBytesCopyTemplate(name);
	FileDescriptor saved(mkostemp(copy.data(), O_CLOEXEC));
	if (saved.Get() < 0)
		return Fail("cannot save: cannot keep a copy of the old bytes in " + DirectoryOf(copy),
		            errno);
	if (!CopyContents(file.Get(), saved.Get()) || fsync(saved.Get()) != 0 || saved.Close() != 0) {
		int error = errno;
		unlink(copy.c_str());
		return Fail("cannot save: cannot keep a copy of the old bytes in " + copy, error);
	}
	FlushFolder(DirectoryOf(copy));

	// From here on a failure may leave the file half written: the message
	// says where its old bytes are.
	auto failKeepingCopy = [&](const char* what) {
		int error = errno;
		Fail(std::string("cannot save: ") + what, error);
		fError += "; its old bytes are in " + copy;
		return B_ERROR;
	};
	if (lseek(file.Get(), 0, SEEK_SET) != 0 || !WriteAll(file.Get(), data, length))
		return failKeepingCopy("cannot write in place");
	if (ftruncate(file.Get(), off_t(length)) != 0)
		return failKeepingCopy("cannot set the file's size");
	if (fsync(file.Get()) != 0)
		return failKeepingCopy("cannot flush to disk");
	struct stat written;
	if (fstat(file.Get(), &written) != 0)
		return failKeepingCopy("cannot examine the file");
	if (file.Close() != 0)
		return failKeepingCopy("cannot close");
	unlink(copy.c_str());
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
	fDisk.mode = info.st_mode & 07777;
}

std::string ItemFile::ChangeOnDisk() const
{
	struct stat info;
	if (stat(fPath.c_str(), &info) != 0)
		return fDisk.known && errno == ENOENT ? "removed by another program since it was opened"
		                                      : "";
	// Never read: there was no file when it was opened.
	if (!fDisk.known)
		return "made by another program since it was found missing";
	if (fDisk.known &&
	    (info.st_dev != fDisk.device || info.st_ino != fDisk.inode || info.st_size != fDisk.size ||
	     info.st_mtim.tv_sec != fDisk.modified.tv_sec ||
	     info.st_mtim.tv_nsec != fDisk.modified.tv_nsec))
		return "changed by another program since it was opened";
	return "";
}

std::string ItemFile::SaveWarning() const
{
	struct stat info;
	if (stat(fPath.c_str(), &info) != 0) {
		const std::string change = ChangeOnDisk();
		return change.empty() ? change : fPath + ": " + change;
	}
	std::vector<std::string> reasons;
	if (const std::string change = ChangeOnDisk(); !change.empty())
		reasons.push_back(change);

	// The mode speaks even to a user whose access it does not limit (root).
	// A file that can be neither replaced nor written fails the save with
	// its own error, so it is not warned about.
	const std::string target = ResolvedTarget(fPath);
	const bool writable = !AccessRefused(target, W_OK);
	const char* obstacle = ReplacementObstacle(info, DirectoryOf(target));
	if (obstacle == NULL && (!writable || (info.st_mode & 0222) == 0)) {
		char mode[8];
		snprintf(mode, sizeof(mode), "%04o", unsigned(info.st_mode & 07777));
		reasons.push_back(std::string("is write-protected (mode ") + mode +
		                  "); saving replaces it");
	}

	// Saving renames a new file over this name, which leaves the other
	// names with the old contents; writing in place would keep them
	// together but could leave the file half written. A file that cannot be
	// replaced is written in place all the same when the user may write it.
	if (obstacle != NULL && writable)
		reasons.push_back(std::string("cannot be replaced (") + obstacle +
		                  "); saving writes it in place, not atomically");
	else if (info.st_nlink > 1)
		reasons.push_back("has " + std::to_string(info.st_nlink) +
		                  " hard links; saving gives this name a file of its own");

	std::string warning;
	for (const std::string& reason : reasons)
		warning += (warning.empty() ? fPath + ": " : "; ") + reason;
	return warning;
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
