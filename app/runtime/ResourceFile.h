// ResourceFile: the items of a BeOS resource file, or of the resources
// appended to an ELF or PEF executable, and the file's own layout choices
// (x86 "RS", PPC "Joy!resf" or an executable's image in front of the
// resources, the byte order of their structures), read from and written to
// a byte buffer, never to disk. Items keep their type code, id, name and data
// bytes exactly as stored: data is never byte-swapped, whatever its type.
// Plain data, owned by whoever reads or writes a file; any one thread.
#ifndef RESOURCE_FILE_H
#define RESOURCE_FILE_H

#include <SupportDefs.h>

#include <string>
#include <vector>

#include "ExecutableImage.h"

class ResourceFile
{
public:
	enum Kind
	{
		kNotResourceFile, // no resource file's magic: some other file
		kX86File,         // "RS\0\0", then little-endian structures
		kPpcFile,         // a 40-byte PEF header "Joy!" "resf", then big-endian
		kExecutableFile   // an ELF or PEF image, then resources in its byte order
	};

	struct Item
	{
		type_code type;
		int32 id;
		std::string name;
		std::string data;

		bool operator==(const Item&) const = default;
	};

	// An empty resource file of a kind, in that kind's byte order; a PPC
	// file's PEF header has zeros in its unused fields.
	explicit ResourceFile(Kind kind = kX86File);

	// What the first bytes make of a file. Parse reads the resource file
	// kinds and executables; every other file is no resource file at all.
	static Kind KindOf(const void* bytes, size_t length);

	// Reads a whole file of a resource file kind or an executable; an
	// executable with nothing after its image has no items. On failure the
	// items are left empty and ErrorMessage() says, in one line, which
	// structure at which file offset is wrong.
	status_t Parse(const void* bytes, size_t length);

	// The file's bytes in its own kind and byte order, with the layout a
	// BeOS writer gives it: an executable's image as read, then its
	// resources at the same offset (none when it had none and still has no
	// items). Fails (ErrorMessage() says why) only when the
	// items do not fit the format: too many, or offsets beyond 32 bits.
	status_t Flatten(std::string& bytes);

	Kind FileKind() const { return fKind; }
	bool IsBigEndian() const { return fBigEndian; }
	// The bytes before the resources header, kept as found: "RS\0\0", the
	// PEF header (old writers left garbage in its unused fields), or an
	// executable's image (the whole file when nothing follows it).
	const std::string& LeadingBytes() const { return fLeadingBytes; }
	// An executable's headers, for kExecutableFile.
	const ExecutableImage& Executable() const { return fExecutable; }

	const std::vector<Item>& Items() const { return fItems; }
	void SetItems(std::vector<Item> items) { fItems = std::move(items); }

	const std::string& ErrorMessage() const { return fError; }

	// Haiku refuses files with more items.
	static constexpr uint32 kMaxItems = 10000;

private:
	status_t Fail(const std::string& structure, uint64 fileOffset, const std::string& problem);

	Kind fKind;
	bool fBigEndian;
	std::string fLeadingBytes;
	// Where the resources header is, or goes; for an executable without
	// resources that may be past the image's last byte (zeros between).
	uint64 fResourcesOffset;
	// Whether the file held a resources container (only an executable
	// may not).
	bool fHasContainer;
	ExecutableImage fExecutable;
	std::vector<Item> fItems;
	std::string fError;
};

#endif // RESOURCE_FILE_H
