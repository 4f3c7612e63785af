// The message of files dropped from the desktop, shared by the SDL backend
// and the test support: B_SIMPLE_DATA with one entry_ref for each path in
// "refs", marked as dropped at a point in screen coordinates.
#ifndef FILE_DROP_H
#define FILE_DROP_H

#include <Message.h>
#include <Point.h>

#include <string>
#include <vector>

namespace BPrivate {

// B_OK, or get_ref_for_path's error for the first path it refuses (message
// is then left alone). B_BAD_VALUE for no paths.
status_t MakeFileDrop(BPoint screenPoint, const std::vector<std::string>& paths, BMessage* message);

} // namespace BPrivate

#endif // FILE_DROP_H
