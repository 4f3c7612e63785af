// ResourceFile: the items of a BeOS resource file and the file's own layout
// choices (x86 "RS" or PPC "Joy!resf" container, the byte order of its
// structures, the container header's bytes), read from and written to a
// byte buffer, never to disk. Items keep their type code, id, name and data
// bytes exactly as stored: data is never byte-swapped, whatever its type.
// Plain data, owned by whoever reads or writes a file; any one thread.
#ifndef RESOURCE_FILE_H
#define RESOURCE_FILE_H

#include <SupportDefs.h>

#include <string>
#include <vector>

class ResourceFile
{
public:
	enum Kind
	{
		kNotResourceFile, // no resource file's magic: some other file
		kX86File,         // "RS\0\0", then little-endian structures
		kPpcFile          // a 40-byte PEF header "Joy!" "resf", then big-endian
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

	// What the first bytes make of a file. Only the two resource file kinds
	// are read by Parse; every other file is no resource file at all.
	static Kind KindOf(const void* bytes, size_t length);

	// Reads a whole file of a resource file kind. On failure the items are
	// left empty and ErrorMessage() says, in one line, which structure at
	// which file offset is wrong.
	status_t Parse(const void* bytes, size_t length);

	// The file's bytes in its own kind and byte order, with the layout a
	// BeOS writer gives it. Fails (ErrorMessage() says why) only when the
	// items do not fit the format: too many, or offsets beyond 32 bits.
	status_t Flatten(std::string& bytes);

	Kind FileKind() const { return fKind; }
	bool IsBigEndian() const { return fBigEndian; }
	// The bytes before the resources header: "RS\0\0", or the PEF header,
	// kept as found (old writers left garbage in its unused fields).
	const std::string& ContainerHeader() const { return fContainerHeader; }

	const std::vector<Item>& Items() const { return fItems; }
	void SetItems(std::vector<Item> items) { fItems = std::move(items); }

	const std::string& ErrorMessage() const { return fError; }

	// Haiku refuses files with more items.
	static constexpr uint32 kMaxItems = 10000;

private:
	status_t Fail(const std::string& structure, uint64 fileOffset, const std::string& problem);

	Kind fKind;
	bool fBigEndian;
	std::string fContainerHeader;
	std::vector<Item> fItems;
	std::string fError;
};

#endif // RESOURCE_FILE_H
