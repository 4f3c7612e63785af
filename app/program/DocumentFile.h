// DocumentFile: one file named on the command line and the items it gives
// the document. A BeOS resource file gives its items and is saved as a
// resource file of its own kind and byte order; any other file gives one
// raw item named after the file and is saved as that item's bytes. Either
// way the bytes go to disk through ItemFile's atomic write. Owned by the
// program; read on the main thread before the window opens, saved on the
// window's thread.
#ifndef DOCUMENT_FILE_H
#define DOCUMENT_FILE_H

#include <SupportDefs.h>

#include <string>

#include "ItemFile.h"
#include "ResourceFile.h"

class Document;

class DocumentFile
{
public:
	explicit DocumentFile(const std::string& path);

	// Reads and checks the file; a resource file must be whole and sound.
	// On failure ErrorMessage() says why in one line that names the file.
	status_t Read(uint64 sizeLimit);

	// Appends the file's items to the document; a raw file's item gets id.
	void AddItemsTo(Document& document, int32 id);

	// Writes the file's items back when they differ from what the file
	// holds; B_OK with nothing written when they do not.
	status_t Save(const Document& document);

	// Why writing the file's items now needs the user's confirmation (see
	// ItemFile::SaveWarning), or "" when it does not or nothing would be
	// written.
	std::string SaveWarning(const Document& document);

	// After a Save that succeeded: what the write could not keep, or "".
	const std::string& SaveNotice() const { return fNotice; }

	bool IsResourceFile() const { return fIsResourceFile; }
	const std::string& ErrorMessage() const { return fError; }

private:
	// The contents the file's items make: a resource file or the raw item.
	status_t Flatten(const Document& document, std::string& bytes);

	ItemFile fFile;
	bool fIsResourceFile;
	ResourceFile fResources;
	// The document's items that came from this file.
	int32 fFirstItem;
	int32 fItemCount;
	std::string fError;
	std::string fNotice;
};

#endif // DOCUMENT_FILE_H
