// FileEdit: reshost --add and --remove: one item of the session's one file
// added, replaced or removed as a document operation, then the file saved
// through its usual atomic save. Used once on the main thread, where no
// window is open. On failure error says why in one line and the file is
// left as it was; notes get what a save did that the user did not ask for
// (a write-protected file replaced, a hard link parted, attributes lost).
#ifndef FILE_EDIT_H
#define FILE_EDIT_H

#include <SupportDefs.h>

#include <string>
#include <vector>

#include "ItemReference.h"

class Session;

class FileEdit
{
public:
	// Reads the new bytes from the file at path, or standard input for
	// "-", at most sizeLimit of them.
	static status_t ReadData(const std::string& path, uint64 sizeLimit, std::string& data,
	                         std::string& error);

	// Replaces the bytes of the file's first item of the reference's type
	// and id, and its name when the reference has one; or, when there is no
	// such item, adds one at the end. Then saves the file.
	static status_t Add(Session& session, const ItemReference& reference, const std::string& data,
	                    std::vector<std::string>& notes, std::string& error);
	// Removes the file's first item of the reference's type and id, then
	// saves the file.
	static status_t Remove(Session& session, const ItemReference& reference,
	                       std::vector<std::string>& notes, std::string& error);
};

#endif // FILE_EDIT_H
