// The directories this process has named by path, by device and inode: on
// Linux a directory cannot be opened by its inode, so turning an entry_ref
// back into a path needs the path it was made from. Process-wide, guarded
// by its own mutex.
#ifndef DIRECTORY_RECORD_H
#define DIRECTORY_RECORD_H

#include <SupportDefs.h>

#include <string>

namespace BPrivate {

void RecordDirectory(dev_t device, ino_t directory, const std::string& path);
// The recorded path of the directory, checked to still name it:
// B_ENTRY_NOT_FOUND when unknown, or when its path now names something else.
status_t FindDirectory(dev_t device, ino_t directory, std::string* path);

} // namespace BPrivate

#endif // DIRECTORY_RECORD_H
