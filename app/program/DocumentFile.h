// DocumentFile: one file named on the command line and the items it gives
// the document. A BeOS resource file gives its items and is saved as a
// resource file of its own kind and byte order; an ELF or PEF executable
// gives the resources appended to it and is saved as its image unchanged
// with the resources rebuilt behind it; any other file gives one raw item
// named after the file and is saved as that item's bytes. Either
// way the bytes go to disk through ItemFile's atomic write. The file keeps
// the handles of its items, removed ones too (an undo may bring them back),
// and saves those that are in the document, in the document's order. Owned
// by the session; read on the main thread before the window opens, saved on
// the window's thread.
#ifndef DOCUMENT_FILE_H
#define DOCUMENT_FILE_H

#include <SupportDefs.h>

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "Document.h"
#include "ItemFile.h"
#include "ResourceFile.h"

class DocumentFile
{
public:
	explicit DocumentFile(const std::string& path);

	// Reads and checks the file; a resource file, or an executable's
	// headers and resources, must be whole and sound,
	// and each item (a raw file's bytes, a resource file's items) at most
	// itemSizeLimit bytes. whyTooLarge(size), when given, explains that
	// limit to the user for an item of size bytes. On failure ErrorMessage() says why in
	// one line that names the file.
	status_t Read(uint64 itemSizeLimit,
	              const std::function<std::string(uint64)>& whyTooLarge = nullptr);

	// Makes the file, where no file is yet, an empty x86 resource file:
	// the first Save with items creates it.
	void StartResourceFile();

	// Whether both read one file on disk, under whatever names.
	bool IsSameFile(const DocumentFile& other) const { return fFile.IsSameFile(other.fFile); }

	// Appends the file's items to the document; a raw file's item gets id.
	void AddItemsTo(Document& document, int32 id);

	// Whether any of the file's items differs from what the file held when
	// it was read or last saved.
	bool HasChanges(const Document& document) const;

	// Writes the file's items back when HasChanges; B_OK with nothing
	// written when not.
	status_t Save(const Document& document);

	// Why writing the file's items now needs the user's confirmation (see
	// ItemFile::SaveWarning), or "" when it does not or nothing would be
	// written.
	std::string SaveWarning(const Document& document);

	// Whether another program changed, replaced or removed the file since
	// it was read or saved: why, or "".
	std::string ChangeOnDisk() const { return fFile.ChangeOnDisk(); }

	// After a Save that succeeded: what the write could not keep, or "".
	const std::string& SaveNotice() const { return fNotice; }

	// What kind of file it is and what it gives now, for the status line,
	// e.g. "ELF64 executable, 4 resources after an image of 35,664 bytes".
	std::string Description(const Document& document) const;
	// Whether the item came from this file or joined it.
	bool Holds(const BResourceHandle& item) const { return fItems.count(item) > 0; }
	// Makes an item added to the document one of this file's.
	void Adopt(const BResourceHandle& item) { fItems.insert(item); }
	// The file's items that are in the document, in its order.
	std::vector<BResourceHandle> LiveItems(const Document& document) const;

	bool IsResourceFile() const { return fIsResourceFile; }
	// Whether numbers inside the items are big-endian: a PPC file's are.
	bool IsBigEndian() const
	{
		return fIsResourceFile && fResources.FileKind() == ResourceFile::kPpcFile;
	}
	const std::string& Path() const { return fFile.Path(); }
	const std::string& ErrorMessage() const { return fError; }

private:
	// The contents the file's items make: a resource file or the raw item.
	status_t Flatten(const Document& document, std::string& bytes);
	// The document's items that came from this resource file, as they are now.
	std::vector<ResourceFile::Item> ItemsOf(const Document& document) const;

	ItemFile fFile;
	bool fIsResourceFile;
	ResourceFile fResources;
	// The items as the resource file held them when read or last saved.
	std::vector<ResourceFile::Item> fStoredItems;
	// The items that came from this file or joined it.
	std::unordered_set<BResourceHandle, Document::HandleHash> fItems;
	std::string fError;
	std::string fNotice;
};

#endif // DOCUMENT_FILE_H
