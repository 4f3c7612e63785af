// ExecutableImage: the end of an ELF or PEF image, where appended resources
// begin: for ELF the largest end of the ELF header, the program and section
// header tables and every segment and section that occupies bytes in the
// file, aligned; for PEF the largest end of its section header table and
// sections.

#include "ExecutableImage.h"

#include <Errors.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// ELF identification and types.
const size_t kElfIdentSize = 16;
const uint8 kElfClass32 = 1;
const uint8 kElfClass64 = 2;
const uint8 kElfDataLittle = 1;
const uint8 kElfDataBig = 2;
const uint8 kElfVersionCurrent = 1;
const uint16 kElfTypeRelocatable = 1;
const uint16 kElfTypeExecutable = 2;
const uint16 kElfTypeShared = 3;
const uint16 kElfTypeCore = 4;
const uint32 kSegmentNull = 0;
const uint32 kSegmentInterpreter = 3;
const uint32 kSectionNull = 0;
const uint32 kSectionNoBits = 8;

// ELF32 puts resources at the largest segment alignment, at least this;
// more than the limit is no alignment a real file has.
const uint64 kElf32MinAlignment = 32;
const uint64 kElf32MaxAlignment = 10 * 1024 * 1024;
// ELF64 resources are 8-aligned: segment alignment would put them 2 MiB on.
const uint64 kElf64Alignment = 8;

// PEF: a 40-byte container header, then 28-byte section headers.
const uint64 kPefHeaderSize = 40;
const uint64 kPefSectionCountOffset = 32;
const uint64 kPefSectionHeaderSize = 28;
const uint64 kPefPackedSizeOffset = 16;
const uint64 kPefContainerOffsetOffset = 20;

std::string Hex(uint64 value)
{
	char text[24];
	snprintf(text, sizeof(text), "0x%llX", (unsigned long long)value);
	return text;
}

// Whether size bytes from offset fit a file of length bytes, without
// overflowing on 64-bit header values.
bool Fits(uint64 offset, uint64 size, uint64 length)
{
	return offset <= length && size <= length - offset;
}

std::string PastTheEnd(uint64 length)
{
	return "runs past the end of the file (" + std::to_string(length) + " bytes)";
}

// Header fields in the file's byte order. Every caller checks the bounds
// first.
class FieldReader
{
public:
	FieldReader(const uint8* file, bool bigEndian) : fFile(file), fBigEndian(bigEndian) {}

	uint64 Field(uint64 offset, int size) const
	{
		uint64 value = 0;
		for (int i = 0; i < size; i++) {
			const uint8 byte = fFile[offset + uint64(fBigEndian ? i : size - 1 - i)];
			value = value << 8 | byte;
		}
		return value;
	}

	uint16 Half(uint64 offset) const { return uint16(Field(offset, 2)); }
	uint32 Word(uint64 offset) const { return uint32(Field(offset, 4)); }

private:
	const uint8* fFile;
	bool fBigEndian;
};

// Where the fields of the two ELF classes are, and how wide addresses are.
struct ElfLayout
{
	uint64 headerSize;
	int addressSize;
	uint64 phoff, shoff, ehsize, phentsize, phnum, shentsize, shnum;
	uint64 programHeaderSize, pOffset, pFileSize, pAlign;
	uint64 sectionHeaderSize, shOffset, shSize;
};

const ElfLayout kElf32Layout = {52, 4, 28, 32, 40, 42, 44, 46, 48, 32, 4, 16, 28, 40, 16, 20};
const ElfLayout kElf64Layout = {64, 8, 32, 40, 52, 54, 56, 58, 60, 56, 8, 32, 48, 64, 24, 32};

} // namespace

bool ExecutableImage::HasMagic(const void* bytes, size_t length)
{
	const char* text = static_cast<const char*>(bytes);
	return length >= 4 && (memcmp(text,
	                              "\x7f"
	                              "ELF",
	                              4) == 0 ||
	                       (length >= 8 && memcmp(text, "Joy!peff", 8) == 0));
}

status_t ExecutableImage::Locate(const void* bytes, size_t length)
{
	fError.clear();
	const uint8* file = static_cast<const uint8*>(bytes);
	if (length >= 8 && memcmp(file, "Joy!peff", 8) == 0)
		return LocateInPef(file, length);
	return LocateInElf(file, length);
}

status_t ExecutableImage::Fail(const std::string& structure, uint64 fileOffset,
                               const std::string& problem)
{
	fError = structure + " at offset " + Hex(fileOffset) + ": " + problem;
	return B_BAD_VALUE;
}

status_t ExecutableImage::LocateInElf(const uint8* file, uint64 length)
{
	auto truncated = [&](uint64 needed) {
		return "truncated: needs " + std::to_string(needed) + " bytes, the file ends after " +
		       std::to_string(length);
	};
	if (length < kElfIdentSize)
		return Fail("ELF identification", 0, truncated(kElfIdentSize));
	if (file[4] != kElfClass32 && file[4] != kElfClass64)
		return Fail("ELF identification", 4,
		            "class " + std::to_string(file[4]) + " is neither 1 (ELF32) nor 2 (ELF64)");
	if (file[5] != kElfDataLittle && file[5] != kElfDataBig)
		return Fail("ELF identification", 5,
		            "data encoding " + std::to_string(file[5]) +
		                " is neither 1 (little-endian) nor 2 (big-endian)");
	if (file[6] != kElfVersionCurrent)
		return Fail("ELF identification", 6,
		            "version " + std::to_string(file[6]) + " is not 1 (current)");
	fFormat = file[4] == kElfClass32 ? kElf32 : kElf64;
	fBigEndian = file[5] == kElfDataBig;
	const ElfLayout& layout = fFormat == kElf32 ? kElf32Layout : kElf64Layout;
	if (length < layout.headerSize)
		return Fail("ELF header", 0, truncated(layout.headerSize));

	const FieldReader r(file, fBigEndian);
	fElfType = r.Half(16);
	fHasInterpreter = false;
	const uint64 headerSize = r.Half(layout.ehsize);
	if (headerSize > length)
		return Fail("ELF header", layout.ehsize,
		            "header size " + std::to_string(headerSize) + " " + PastTheEnd(length));
	uint64 imageEnd = headerSize;

	// A table is read entry by entry, so it must hold whole entries.
	struct Table
	{
		const char* name;
		uint64 offset, entrySize, count;
		uint64 offsetField, entrySizeField, minimumEntrySize;
	};
	const Table programHeaders = {"program header table",
	                              r.Field(layout.phoff, layout.addressSize),
	                              r.Half(layout.phentsize),
	                              r.Half(layout.phnum),
	                              layout.phoff,
	                              layout.phentsize,
	                              layout.programHeaderSize};
	const Table sectionHeaders = {"section header table",
	                              r.Field(layout.shoff, layout.addressSize),
	                              r.Half(layout.shentsize),
	                              r.Half(layout.shnum),
	                              layout.shoff,
	                              layout.shentsize,
	                              layout.sectionHeaderSize};
	for (const Table& table : {programHeaders, sectionHeaders}) {
		if (table.count == 0)
			continue;
		if (table.entrySize < table.minimumEntrySize) {
			return Fail("ELF header", table.entrySizeField,
			            std::string(table.name) + " entry size " + std::to_string(table.entrySize) +
			                " is below " + std::to_string(table.minimumEntrySize));
		}
		if (!Fits(table.offset, table.entrySize * table.count, length)) {
			return Fail("ELF header", table.offsetField,
			            std::string(table.name) + " of " + std::to_string(table.count) +
			                " entries at " + Hex(table.offset) + " " + PastTheEnd(length));
		}
		imageEnd = std::max(imageEnd, table.offset + table.entrySize * table.count);
	}

	uint64 alignment = kElf32MinAlignment;
	for (uint64 i = 0; i < programHeaders.count; i++) {
		const uint64 at = programHeaders.offset + i * programHeaders.entrySize;
		const uint32 type = r.Word(at);
		if (type == kSegmentNull)
			continue;
		if (type == kSegmentInterpreter)
			fHasInterpreter = true;
		const uint64 offset = r.Field(at + layout.pOffset, layout.addressSize);
		const uint64 size = r.Field(at + layout.pFileSize, layout.addressSize);
		const std::string name = "program header " + std::to_string(i);
		if (!Fits(offset, size, length)) {
			return Fail(name, at,
			            "segment of " + std::to_string(size) + " bytes at " + Hex(offset) + " " +
			                PastTheEnd(length));
		}
		imageEnd = std::max(imageEnd, offset + size);
		if (fFormat == kElf32) {
			const uint64 segmentAlignment = r.Field(at + layout.pAlign, layout.addressSize);
			if (segmentAlignment > kElf32MaxAlignment) {
				return Fail(name, at + layout.pAlign,
				            "alignment " + Hex(segmentAlignment) + " is above 10 MiB");
			}
			alignment = std::max(alignment, segmentAlignment);
		}
	}
	for (uint64 i = 0; i < sectionHeaders.count; i++) {
		const uint64 at = sectionHeaders.offset + i * sectionHeaders.entrySize;
		const uint32 type = r.Word(at + 4);
		if (type == kSectionNull || type == kSectionNoBits)
			continue;
		const uint64 offset = r.Field(at + layout.shOffset, layout.addressSize);
		const uint64 size = r.Field(at + layout.shSize, layout.addressSize);
		if (!Fits(offset, size, length)) {
			return Fail("section header " + std::to_string(i), at,
			            "section of " + std::to_string(size) + " bytes at " + Hex(offset) + " " +
			                PastTheEnd(length));
		}
		imageEnd = std::max(imageEnd, offset + size);
	}

	if (fFormat == kElf64)
		alignment = kElf64Alignment;
	// Every end is at most length: no overflow.
	fResourcesOffset = (imageEnd + alignment - 1) / alignment * alignment;
	return B_OK;
}

status_t ExecutableImage::LocateInPef(const uint8* file, uint64 length)
{
	fFormat = kPef;
	fBigEndian = true;
	if (length < kPefHeaderSize) {
		return Fail("PEF container header", 0,
		            "truncated: needs " + std::to_string(kPefHeaderSize) +
		                " bytes, the file ends after " + std::to_string(length));
	}
	if (memcmp(file + 8, "pwpc", 4) != 0) {
		std::string architecture(reinterpret_cast<const char*>(file + 8), 4);
		for (char& c : architecture) {
			if (c < ' ' || c > '~')
				c = '?';
		}
		return Fail("PEF container header", 8,
		            "architecture \"" + architecture + "\" is not \"pwpc\" (PowerPC)");
	}
	const FieldReader r(file, true);
	const uint64 count = r.Half(kPefSectionCountOffset);
	const uint64 tableEnd = kPefHeaderSize + kPefSectionHeaderSize * count;
	if (tableEnd > length) {
		return Fail("PEF container header", kPefSectionCountOffset,
		            "section header table of " + std::to_string(count) + " entries " +
		                PastTheEnd(length));
	}
	uint64 imageEnd = tableEnd;
	for (uint64 i = 0; i < count; i++) {
		const uint64 at = kPefHeaderSize + kPefSectionHeaderSize * i;
		const uint64 offset = r.Word(at + kPefContainerOffsetOffset);
		const uint64 size = r.Word(at + kPefPackedSizeOffset);
		if (!Fits(offset, size, length)) {
			return Fail("PEF section header " + std::to_string(i), at,
			            "section of " + std::to_string(size) + " bytes at " + Hex(offset) + " " +
			                PastTheEnd(length));
		}
		imageEnd = std::max(imageEnd, offset + size);
	}
	fResourcesOffset = imageEnd;
	return B_OK;
}

std::string ExecutableImage::KindName() const
{
	if (fFormat == kPef)
		return "PEF container";
	std::string name = fFormat == kElf32 ? "ELF32 " : "ELF64 ";
	switch (fElfType) {
	case kElfTypeRelocatable:
		return name + "object file";
	case kElfTypeExecutable:
		return name + "executable";
	case kElfTypeShared:
		// Position-independent programs are shared objects that name their
		// program interpreter.
		return name + (fHasInterpreter ? "executable" : "shared library");
	case kElfTypeCore:
		return name + "core file";
	default:
		return name + "file";
	}
}
