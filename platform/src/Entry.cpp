// entry_ref and get_ref_for_path, and the record of directories by inode
// that lets BPath turn refs back into paths.
#include <Entry.h>

#include "DirectoryRecord.h"

#include <errno.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <mutex>
#include <utility>

namespace {

struct Directories
{
	std::mutex mutex;
	std::map<std::pair<dev_t, ino_t>, std::string> paths;
};

// Never destroyed: refs may be resolved while the process exits.
Directories& AllDirectories()
{
	static Directories* sDirectories = new Directories;
	return *sDirectories;
}

status_t StatusOf(int error)
{
	switch (error) {
	case ENOTDIR:
		return B_NOT_A_DIRECTORY;
	case EACCES:
		return B_PERMISSION_DENIED;
	case ENAMETOOLONG:
		return B_NAME_TOO_LONG;
	default:
		return B_ENTRY_NOT_FOUND;
	}
}

// The canonical path of an existing path, through realpath.
status_t Resolve(const std::string& path, std::string* resolved)
{
	char* real = realpath(path.c_str(), NULL);
	if (real == NULL)
		return StatusOf(errno);
	*resolved = real;
	free(real);
	return B_OK;
}

// Splits an absolute path without trailing slashes into its parent and leaf.
void Split(const std::string& path, std::string* parent, std::string* leaf)
{
	size_t slash = path.rfind('/');
	*parent = slash == 0 ? "/" : path.substr(0, slash);
	*leaf = path.substr(slash + 1);
}

} // namespace

namespace BPrivate {

void RecordDirectory(dev_t device, ino_t directory, const std::string& path)
{
	Directories& directories = AllDirectories();
	std::lock_guard<std::mutex> guard(directories.mutex);
	directories.paths[{device, directory}] = path;
}

status_t FindDirectory(dev_t device, ino_t directory, std::string* path)
{
	std::string found;
	{
		Directories& directories = AllDirectories();
		std::lock_guard<std::mutex> guard(directories.mutex);
		auto entry = directories.paths.find({device, directory});
		if (entry == directories.paths.end())
			return B_ENTRY_NOT_FOUND;
		found = entry->second;
	}
	// The directory may have been moved or removed since.
	struct stat info;
	if (stat(found.c_str(), &info) != 0 || info.st_dev != device || info.st_ino != directory)
		return B_ENTRY_NOT_FOUND;
	*path = found;
	return B_OK;
}

} // namespace BPrivate

entry_ref::entry_ref() : device(-1), directory(-1), name(NULL) {}

entry_ref::entry_ref(dev_t dev, ino_t dir, const char* name)
    : device(dev), directory(dir), name(NULL)
{
	set_name(name);
}

entry_ref::entry_ref(const entry_ref& ref)
    : device(ref.device), directory(ref.directory), name(NULL)
{
	set_name(ref.name);
}

entry_ref::~entry_ref()
{
	free(name);
}

status_t entry_ref::set_name(const char* newName)
{
	char* copy = NULL;
	if (newName != NULL && (copy = strdup(newName)) == NULL)
		return B_NO_MEMORY;
	free(name);
	name = copy;
	return B_OK;
}

bool entry_ref::operator==(const entry_ref& ref) const
{
	if (device != ref.device || directory != ref.directory)
		return false;
	if (name == NULL || ref.name == NULL)
		return name == ref.name;
	return strcmp(name, ref.name) == 0;
}

bool entry_ref::operator!=(const entry_ref& ref) const
{
	return !(*this == ref);
}

entry_ref& entry_ref::operator=(const entry_ref& ref)
{
	if (this != &ref) {
		device = ref.device;
		directory = ref.directory;
		set_name(ref.name);
	}
	return *this;
}

status_t get_ref_for_path(const char* path, entry_ref* ref)
{
	if (path == NULL || ref == NULL)
		return B_BAD_VALUE;
	if (path[0] == '\0')
		return B_ENTRY_NOT_FOUND;

	std::string absolute = path;
	if (absolute[0] != '/') {
		char* cwd = getcwd(NULL, 0);
		if (cwd == NULL)
			return StatusOf(errno);
		absolute = std::string(cwd) + "/" + absolute;
		free(cwd);
	}
	while (absolute.size() > 1 && absolute.back() == '/')
		absolute.pop_back();

	std::string parent;
	std::string leaf;
	Split(absolute, &parent, &leaf);
	// "." and ".." name their directory's own entry, as does the root
	// (as "." in itself): resolve the whole path first.
	if (absolute == "/" || leaf == "." || leaf == "..") {
		std::string resolved;
		if (status_t status = Resolve(absolute, &resolved); status != B_OK)
			return status;
		if (resolved == "/") {
			parent = "/";
			leaf = ".";
		} else {
			Split(resolved, &parent, &leaf);
		}
	}
	if (leaf.size() >= B_FILE_NAME_LENGTH)
		return B_NAME_TOO_LONG;

	std::string directory;
	if (status_t status = Resolve(parent, &directory); status != B_OK)
		return status;
	struct stat info;
	if (stat(directory.c_str(), &info) != 0)
		return StatusOf(errno);
	if (!S_ISDIR(info.st_mode))
		return B_NOT_A_DIRECTORY;

	BPrivate::RecordDirectory(info.st_dev, info.st_ino, directory);
	ref->device = info.st_dev;
	ref->directory = info.st_ino;
	return ref->set_name(leaf.c_str());
}
