// DocumentFile: one file named on the command line and the items it gives
// the document. A BeOS resource file gives its items and is saved as a
// resource file of its own kind and byte order; an ELF or PEF executable
// gives the resources appended to it and is saved as its image unchanged
// with the resources rebuilt behind it; any other file gives one raw item
// named after the file and is saved as that item's bytes. Either
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

	// Reads and checks the file; a resource file, or an executable's
	// headers and resources, must be whole and sound.
	// On failure ErrorMessage() says why in one line that names the file.
	status_t Read(uint64 sizeLimit);

	// Appends the file's items to the document; a raw file's item gets id.
	void AddItemsTo(Document& document, int32 id);

	// Writes the file's items back when they differ from what the file
	// holds; B_OK with nothing written when they do not.
	status_t Save(const Document& document);

	// Why writing the file's items now needs the user's confirmation (the
	// file changed on disk since it was read, or has other hard links), or
	// "" when it does not or nothing would be written.
	std::string SaveWarning(const Document& document);

	// What kind of file it is and what it gives, for the status line,
	// e.g. "ELF64 executable, 4 resources after an image of 35,664 bytes";
	// set once the items are added.
	const std::string& Description() const { return fDescription; }
	// Whether the document's item at index came from this file.
	bool Holds(int32 index) const { return index >= fFirstItem && index < fFirstItem + fItemCount; }

	const std::string& Path() const { return fFile.Path(); }
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
	std::string fDescription;
	std::string fError;
};

#endif // DOCUMENT_FILE_H
