// ResourceFile: reading and writing the BeOS resource file layout. Offsets
// inside the format are relative to the resources header ("R offsets");
// messages give file offsets, which is what a person finds in a hex dump.

#include "ResourceFile.h"

#include <Errors.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

const uint32 kHeaderMagic = 0x444F1000;
const uint32 kHeaderSize = 0x44;          // 17 words
const uint32 kIndexHeaderSize = 132;      // 33 words
const uint32 kIndexEntriesStart = 0xC8;   // kHeaderSize + kIndexHeaderSize
const uint32 kIndexEntrySize = 12;        // offset, size, pad
const uint32 kIndexSectionAlign = 0x600;  // the index section grows in these steps
const uint32 kUnknownSectionSize = 0x168; // written, never read
const uint32 kSeparator = 0xFFFFFFFF;     // two of these end an info block
const uint32 kTableEndSize = 8;           // checksum, terminator 0
const uint32 kMinBlockSize = 4 + 10 + 8;  // type, one info without a name, separator

const size_t kX86HeaderSize = 4;
const size_t kPpcHeaderSize = 40;

// Unused words hold this cycle; the phase comes from the word's R offset.
uint32 PatternAt(uint64 offset)
{
	static const uint32 kCycle[3] = {0xFFFFFFFF, 0x000003E9, 0x00000000};
	return kCycle[(offset / 4) % 3];
}

uint64 IndexSectionSize(uint64 count)
{
	uint64 needed = kIndexHeaderSize + kIndexEntrySize * count;
	return (needed + kIndexSectionAlign - 1) / kIndexSectionAlign * kIndexSectionAlign;
}

std::string Hex(uint64 value)
{
	char text[24];
	snprintf(text, sizeof(text), "0x%llX", (unsigned long long)value);
	return text;
}

// The sum of the table's bytes taken as big-endian 4-byte groups, whatever
// the file's order; a short last group counts as a number of its own width.
uint32 Checksum(const uint8* bytes, size_t length)
{
	uint32 sum = 0;
	size_t at = 0;
	for (; at + 4 <= length; at += 4) {
		sum += uint32(bytes[at]) << 24 | uint32(bytes[at + 1]) << 16 | uint32(bytes[at + 2]) << 8 |
		       uint32(bytes[at + 3]);
	}
	uint32 rest = 0;
	for (; at < length; at++)
		rest = rest << 8 | bytes[at];
	return sum + rest;
}

// Reads the words of the structures behind the resources header in the
// file's byte order. Every caller checks the bounds first.
class StructureReader
{
public:
	StructureReader(const uint8* file, uint64 base, bool bigEndian)
	    : fBytes(file + base), fBigEndian(bigEndian)
	{
	}

	uint32 Word(uint64 offset) const
	{
		const uint8* p = fBytes + offset;
		if (fBigEndian)
			return uint32(p[0]) << 24 | uint32(p[1]) << 16 | uint32(p[2]) << 8 | uint32(p[3]);
		return uint32(p[3]) << 24 | uint32(p[2]) << 16 | uint32(p[1]) << 8 | uint32(p[0]);
	}

	uint16 Half(uint64 offset) const
	{
		const uint8* p = fBytes + offset;
		return fBigEndian ? uint16(p[0] << 8 | p[1]) : uint16(p[1] << 8 | p[0]);
	}

	const uint8* At(uint64 offset) const { return fBytes + offset; }

private:
	const uint8* fBytes;
	bool fBigEndian;
};

// Appends the structures' words in the file's byte order.
class StructureWriter
{
public:
	StructureWriter(std::string& bytes, bool bigEndian) : fBytes(bytes), fBigEndian(bigEndian) {}

	void Word(uint32 value)
	{
		for (int i = 0; i < 4; i++) {
			int shift = fBigEndian ? 24 - 8 * i : 8 * i;
			fBytes += char((value >> shift) & 0xff);
		}
	}

	void Half(uint16 value)
	{
		fBytes += char(fBigEndian ? value >> 8 : value & 0xff);
		fBytes += char(fBigEndian ? value & 0xff : value >> 8);
	}

private:
	std::string& fBytes;
	bool fBigEndian;
};

} // namespace

ResourceFile::ResourceFile(Kind kind)
    : fKind(kind == kPpcFile ? kPpcFile : kX86File), fBigEndian(fKind == kPpcFile),
      fHasContainer(true)
{
	if (fKind == kPpcFile) {
		fLeadingBytes.assign(kPpcHeaderSize, '\0');
		fLeadingBytes.replace(0, 8, "Joy!resf");
	} else
		fLeadingBytes.assign("RS\0\0", kX86HeaderSize);
	fResourcesOffset = fLeadingBytes.size();
}

ResourceFile::Kind ResourceFile::KindOf(const void* bytes, size_t length)
{
	const char* text = static_cast<const char*>(bytes);
	if (length >= 4 && memcmp(text, "RS\0\0", 4) == 0)
		return kX86File;
	if (length >= 8 && memcmp(text, "Joy!resf", 8) == 0)
		return kPpcFile;
	if (ExecutableImage::HasMagic(bytes, length))
		return kExecutableFile;
	return kNotResourceFile;
}

status_t ResourceFile::Fail(const std::string& structure, uint64 fileOffset,
                            const std::string& problem)
{
	fItems.clear();
	fError = structure + " at offset " + Hex(fileOffset) + ": " + problem;
	return B_BAD_VALUE;
}

status_t ResourceFile::Parse(const void* bytes, size_t length)
{
	fItems.clear();
	fError.clear();
	const uint8* file = static_cast<const uint8*>(bytes);

	Kind kind = KindOf(bytes, length);
	if (kind == kNotResourceFile)
		return Fail("file", 0, "no resource file magic (\"RS\\0\\0\" or \"Joy!resf\")");
	uint64 base = kind == kX86File ? kX86HeaderSize : kPpcHeaderSize;
	bool bigEndian = kind == kPpcFile;
	if (kind == kExecutableFile) {
		if (fExecutable.Locate(bytes, length) != B_OK) {
			fError = fExecutable.ErrorMessage();
			return B_BAD_VALUE;
		}
		base = fExecutable.ResourcesOffset();
		bigEndian = fExecutable.IsBigEndian();
		if (base >= length) {
			// Nothing after the image: no resources yet.
			fKind = kind;
			fBigEndian = bigEndian;
			fLeadingBytes.assign(reinterpret_cast<const char*>(file), length);
			fResourcesOffset = base;
			fHasContainer = false;
			return B_OK;
		}
	}
	auto truncated = [&](uint64 needed) {
		return "truncated: needs " + std::to_string(needed) + " bytes, the file ends after " +
		       std::to_string(length);
	};
	if (length < base)
		return Fail("PEF container header", 0, truncated(base));
	if (length < base + kHeaderSize)
		return Fail("resources header", base, truncated(base + kHeaderSize));

	// The kind gives the expected order; the header's magic decides.
	if (StructureReader(file, base, bigEndian).Word(0) != kHeaderMagic) {
		bigEndian = !bigEndian;
		if (StructureReader(file, base, bigEndian).Word(0) != kHeaderMagic) {
			return Fail("resources header", base,
			            "magic " + Hex(StructureReader(file, base, !bigEndian).Word(0)) +
			                " is not " + Hex(kHeaderMagic) + " in either byte order");
		}
	}
	const StructureReader r(file, base, bigEndian);
	// Everything from here is bounded by this, in R offsets.
	const uint64 limit = length - base;

	const uint32 count = r.Word(4);
	if (count > kMaxItems) {
		return Fail("resources header", base + 4,
		            "resource count " + std::to_string(count) + " is above " +
		                std::to_string(kMaxItems));
	}
	const uint64 indexSize = IndexSectionSize(count);
	auto expect = [&](const char* structure, uint64 offset, const char* field, uint64 wanted) {
		uint32 value = r.Word(offset);
		if (value == wanted)
			return true;
		Fail(structure, base + offset,
		     std::string(field) + " " + Hex(value) + " should be " + Hex(wanted) + " for " +
		         std::to_string(count) + " resources");
		return false;
	};
	if (!expect("resources header", 8, "index section offset", kHeaderSize) ||
	    !expect("resources header", 12, "admin section size", kHeaderSize + indexSize))
		return B_BAD_VALUE;

	if (limit < kIndexEntriesStart)
		return Fail("index section header", base + kHeaderSize,
		            truncated(base + kIndexEntriesStart));
	if (!expect("index section header", kHeaderSize, "index section offset", kHeaderSize) ||
	    !expect("index section header", kHeaderSize + 4, "index section size", indexSize) ||
	    !expect("index section header", kHeaderSize + 12, "unknown section offset",
	            kHeaderSize + indexSize) ||
	    !expect("index section header", kHeaderSize + 16, "unknown section size",
	            kUnknownSectionSize))
		return B_BAD_VALUE;
	const uint64 tableOffset = r.Word(kHeaderSize + 30 * 4);
	const uint64 tableSize = r.Word(kHeaderSize + 31 * 4);

	if (limit < kIndexEntriesStart + uint64(kIndexEntrySize) * count) {
		return Fail("index entries", base + kIndexEntriesStart,
		            truncated(base + kIndexEntriesStart + uint64(kIndexEntrySize) * count));
	}
	struct Entry
	{
		uint64 offset;
		uint64 size;
	};
	std::vector<Entry> entries;
	auto entryAt = [&](uint64 slot) {
		uint64 at = kIndexEntriesStart + kIndexEntrySize * slot;
		return Entry{r.Word(at), r.Word(at + 4)};
	};
	auto isUnusedSlot = [&](uint64 slot) {
		uint64 at = kIndexEntriesStart + kIndexEntrySize * slot;
		return r.Word(at) == PatternAt(at) && r.Word(at + 4) == PatternAt(at + 4) &&
		       r.Word(at + 8) == PatternAt(at + 8);
	};
	// An unused slot within the count ends the table early.
	for (uint64 slot = 0; slot < count && !isUnusedSlot(slot); slot++) {
		Entry entry = entryAt(slot);
		if (entry.offset + entry.size > limit) {
			return Fail("index entry " + std::to_string(slot + 1),
			            base + kIndexEntriesStart + kIndexEntrySize * slot,
			            "data of " + std::to_string(entry.size) + " bytes at R offset " +
			                Hex(entry.offset) + " runs past the end of the file");
		}
		entries.push_back(entry);
	}
	// Old writers left entries beyond the count: those that look valid count.
	if (entries.size() == count) {
		for (uint64 slot = count; kIndexEntriesStart + kIndexEntrySize * (slot + 1) <=
		                          std::min(kHeaderSize + indexSize, limit);
		     slot++) {
			Entry entry = entryAt(slot);
			if (isUnusedSlot(slot) || entry.offset + entry.size > limit)
				break;
			entries.push_back(entry);
		}
	}

	// The info table: blocks of one type code and its infos, each block
	// followed by a separator; then the checksum and a terminator 0.
	if (tableOffset + tableSize > limit) {
		return Fail("info table", base + tableOffset,
		            std::to_string(tableSize) + " bytes run past the end of the file");
	}
	if (tableSize < kTableEndSize) {
		return Fail("info table", base + tableOffset,
		            std::to_string(tableSize) + " bytes, shorter than its 8-byte end");
	}
	uint64 end = tableSize;
	auto at = [&](uint64 tablePosition) { return base + tableOffset + tablePosition; };
	auto word = [&](uint64 tablePosition) { return r.Word(tableOffset + tablePosition); };
	if (word(tableSize - 4) == 0) {
		end = tableSize - kTableEndSize;
		uint32 stored = word(end);
		uint32 computed = Checksum(r.At(tableOffset), size_t(end));
		if (stored != computed) {
			return Fail("info table checksum", at(end),
			            Hex(stored) + " does not match the table's " + Hex(computed));
		}
	}
	auto isSeparator = [&](uint64 position) {
		return end - position >= 8 && word(position) == kSeparator &&
		       word(position + 4) == kSeparator;
	};

	std::vector<bool> named(entries.size(), false);
	std::vector<Item> infos(entries.size());
	uint64 position = 0;
	if (isSeparator(0))
		position = 8; // the table of a file without resources
	else {
		while (true) {
			// Fewer bytes than the smallest block are no block.
			if (end - position < kMinBlockSize) {
				if (position > 0)
					break;
				return Fail("info table", at(position),
				            std::to_string(end) + " bytes, too few for an info block");
			}
			type_code type = word(position);
			position += 4;
			while (true) {
				uint64 infoAt = position;
				if (end - position < 10)
					return Fail("resource info", at(infoAt), "runs past the end of the table");
				int32 id = int32(word(position));
				int32 index = int32(word(position + 4));
				uint16 nameSize = r.Half(tableOffset + position + 8);
				position += 10;
				if (end - position < nameSize) {
					return Fail("resource name", at(position),
					            std::to_string(nameSize) + " bytes run past the end of the table");
				}
				// The name ends at its first NUL, also when its last byte is not one.
				const char* name = reinterpret_cast<const char*>(r.At(tableOffset + position));
				position += nameSize;
				if (index >= 1 && uint64(index) <= entries.size()) {
					if (named[size_t(index - 1)]) {
						return Fail("resource info", at(infoAt),
						            "index " + std::to_string(index) + " is named twice");
					}
					named[size_t(index - 1)] = true;
					infos[size_t(index - 1)] =
					    Item{type, id, std::string(name, strnlen(name, nameSize)), ""};
				}
				if (end - position < 8)
					return Fail("info block", at(position),
					            "has no separator before the table end");
				if (isSeparator(position)) {
					position += 8;
					break;
				}
			}
			if (position == end)
				break;
		}
	}
	if (position != end) {
		return Fail("info table", at(position),
		            std::to_string(end - position) + " bytes left over after the final separator");
	}

	// Index entries that no info names are no items.
	for (size_t i = 0; i < entries.size(); i++) {
		if (!named[i])
			continue;
		infos[i].data.assign(reinterpret_cast<const char*>(r.At(entries[i].offset)),
		                     size_t(entries[i].size));
		fItems.push_back(std::move(infos[i]));
	}
	fKind = kind;
	fBigEndian = bigEndian;
	fLeadingBytes.assign(reinterpret_cast<const char*>(file), size_t(base));
	fResourcesOffset = base;
	fHasContainer = true;
	return B_OK;
}

status_t ResourceFile::Flatten(std::string& bytes)
{
	fError.clear();
	if (fItems.size() > kMaxItems) {
		fError = std::to_string(fItems.size()) + " resources, a resource file holds at most " +
		         std::to_string(kMaxItems);
		return B_BAD_VALUE;
	}

	const uint32 count = uint32(fItems.size());
	const uint64 indexSize = IndexSectionSize(count);
	const uint64 dataStart = kHeaderSize + indexSize + kUnknownSectionSize;
	uint64 dataEnd = dataStart;
	for (const Item& item : fItems) {
		if (item.name.size() >= 0xFFFF) {
			fError = "the name of resource " + std::to_string(item.id) + " is " +
			         std::to_string(item.name.size()) + " bytes, at most 65534 fit";
			return B_BAD_VALUE;
		}
		dataEnd += item.data.size();
	}

	// Infos in index order; a new block whenever the type changes.
	std::string table;
	StructureWriter tableWriter(table, fBigEndian);
	for (uint32 i = 0; i < count; i++) {
		const Item& item = fItems[i];
		if (i == 0 || item.type != fItems[i - 1].type) {
			if (i > 0) {
				tableWriter.Word(kSeparator);
				tableWriter.Word(kSeparator);
			}
			tableWriter.Word(item.type);
		}
		tableWriter.Word(uint32(item.id));
		tableWriter.Word(i + 1);
		tableWriter.Half(item.name.empty() ? 0 : uint16(item.name.size() + 1));
		if (!item.name.empty())
			table.append(item.name.c_str(), item.name.size() + 1);
	}
	tableWriter.Word(kSeparator);
	tableWriter.Word(kSeparator);
	tableWriter.Word(Checksum(reinterpret_cast<const uint8*>(table.data()), table.size()));
	tableWriter.Word(0);

	if (dataEnd + table.size() > 0xFFFFFFFFULL) {
		fError = "resources of " + std::to_string(dataEnd + table.size()) +
		         " bytes do not fit the format's 32-bit offsets";
		return B_BAD_VALUE;
	}

	bytes = fLeadingBytes;
	if (!fHasContainer && fItems.empty())
		return B_OK;
	// An executable's new resources go at its aligned image end.
	bytes.resize(size_t(fResourcesOffset), '\0');
	StructureWriter writer(bytes, fBigEndian);
	const uint64 base = fResourcesOffset;
	auto fillTo = [&](uint64 offset) {
		while (bytes.size() - base < offset)
			writer.Word(PatternAt(bytes.size() - base));
	};

	writer.Word(kHeaderMagic);
	writer.Word(count);
	writer.Word(kHeaderSize);
	writer.Word(uint32(kHeaderSize + indexSize));
	for (int i = 4; i < 17; i++)
		writer.Word(0);

	for (uint32 i = 0; i < kIndexHeaderSize / 4; i++) {
		uint64 offset = kHeaderSize + 4 * i;
		switch (i) {
		case 0:
			writer.Word(kHeaderSize);
			break;
		case 1:
			writer.Word(uint32(indexSize));
			break;
		case 3:
			writer.Word(uint32(kHeaderSize + indexSize));
			break;
		case 4:
			writer.Word(kUnknownSectionSize);
			break;
		case 30:
			writer.Word(uint32(dataEnd));
			break;
		case 31:
			writer.Word(uint32(table.size()));
			break;
		default:
			writer.Word(PatternAt(offset));
			break;
		}
	}

	uint64 dataOffset = dataStart;
	for (const Item& item : fItems) {
		writer.Word(uint32(dataOffset));
		writer.Word(uint32(item.data.size()));
		writer.Word(0);
		dataOffset += item.data.size();
	}
	fillTo(dataStart); // the rest of the index section and the unknown section

	for (const Item& item : fItems)
		bytes += item.data;
	bytes += table;
	return B_OK;
}
