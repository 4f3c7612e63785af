// ItemFile: checking, reading and atomically writing one item's file.

#include "ItemFile.h"

#include <Errors.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
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

	// The old file's permissions carry over to the new one.
	mode_t mode = 0644;
	struct stat info;
	if (stat(target.c_str(), &info) == 0)
		mode = info.st_mode & 07777;

	std::string temporary = directory + "/." + name + ".reshost-XXXXXX";
	FileDescriptor file(mkostemp(temporary.data(), O_CLOEXEC));
	if (file.Get() < 0)
		return Fail("cannot save: cannot create a temporary file in " + directory, errno);

	auto failAndRemove = [&](const char* what) {
		int error = errno;
		file.Close();
		unlink(temporary.c_str());
		return Fail(std::string("cannot save: ") + what, error);
	};
	if (fchmod(file.Get(), mode) != 0)
		return failAndRemove("cannot set the permissions");
	if (!WriteAll(file.Get(), static_cast<const char*>(data), length))
		return failAndRemove("cannot write");
	if (fsync(file.Get()) != 0)
		return failAndRemove("cannot flush to disk");
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
	return B_OK;
}

bool ItemFile::Differs(const void* data, size_t length) const
{
	return length != fData.size() || (length > 0 && memcmp(data, fData.data(), length) != 0);
}
