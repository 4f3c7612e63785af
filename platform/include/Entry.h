// entry_ref: a file system entry named by its directory (device and inode)
// and its leaf name, as drops from the desktop carry them. The entry need
// not exist. A plain value; copies own their name.
#ifndef _ENTRY_H
#define _ENTRY_H

#include <StorageDefs.h>
#include <SupportDefs.h>

#include <sys/types.h>

struct _IMPEXP_BE entry_ref
{
	entry_ref();
	entry_ref(dev_t dev, ino_t dir, const char* name);
	entry_ref(const entry_ref& ref);
	~entry_ref();

	status_t set_name(const char* name);

	bool operator==(const entry_ref& ref) const;
	bool operator!=(const entry_ref& ref) const;
	entry_ref& operator=(const entry_ref& ref);

	dev_t device;
	ino_t directory;
	char* name;
};

// The ref of the entry at path (absolute, or from the working directory):
// its directory must exist, the entry itself need not. B_BAD_VALUE for NULL
// arguments, B_ENTRY_NOT_FOUND for a missing directory or an empty path,
// B_NOT_A_DIRECTORY when a parent is a file, B_NAME_TOO_LONG for a leaf of
// B_FILE_NAME_LENGTH bytes or more.
_IMPEXP_BE status_t get_ref_for_path(const char* path, entry_ref* ref);

#endif // _ENTRY_H
