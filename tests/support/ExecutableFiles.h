// ExecutableFiles: small ELF and PEF files built field by field from a
// description of their headers, with the end of their image worked out
// from the same description, for the tests of resources appended to
// executables. Only headers are written; the bytes of segments and
// sections are filler. Test support.
#ifndef EXECUTABLE_FILES_H
#define EXECUTABLE_FILES_H

#include <SupportDefs.h>

#include <algorithm>
#include <string>
#include <vector>

namespace ExecutableFiles {

inline void PutField(std::string& file, uint64 offset, uint64 value, int size, bool bigEndian)
{
	for (int i = 0; i < size; i++) {
		int shift = 8 * (bigEndian ? size - 1 - i : i);
		file[size_t(offset) + size_t(i)] = char((value >> shift) & 0xff);
	}
}

struct Segment
{
	uint32 type; // 0 is PT_NULL, which takes no bytes
	uint64 offset;
	uint64 size;
	uint64 align;
};

struct Section
{
	uint32 type; // 0 SHT_NULL and 8 SHT_NOBITS take no bytes
	uint64 offset;
	uint64 size;
};

struct Elf
{
	bool is64 = false;
	bool bigEndian = false;
	uint16 type = 3; // ET_DYN
	// The program header table follows the ELF header; the section header
	// table goes where this says.
	std::vector<Segment> segments;
	std::vector<Section> sections;
	uint64 sectionTableOffset = 0;

	uint64 HeaderSize() const { return is64 ? 64 : 52; }
	uint64 SegmentEntrySize() const { return is64 ? 56 : 32; }
	uint64 SectionEntrySize() const { return is64 ? 64 : 40; }
	uint64 SegmentTableEnd() const { return HeaderSize() + SegmentEntrySize() * segments.size(); }
	uint64 SectionTableEnd() const
	{
		return sectionTableOffset + SectionEntrySize() * sections.size();
	}

	// The largest end of anything the headers say occupies the file.
	uint64 ImageEnd() const
	{
		uint64 end = std::max(SegmentTableEnd(), sections.empty() ? 0 : SectionTableEnd());
		for (const Segment& segment : segments) {
			if (segment.type != 0)
				end = std::max(end, segment.offset + segment.size);
		}
		for (const Section& section : sections) {
			if (section.type != 0 && section.type != 8)
				end = std::max(end, section.offset + section.size);
		}
		return end;
	}

	// Where appended resources start: ELF64 8-aligned; ELF32 at the
	// largest segment alignment, at least 32.
	uint64 ResourcesOffset() const
	{
		uint64 alignment = 8;
		if (!is64) {
			alignment = 32;
			for (const Segment& segment : segments) {
				if (segment.type != 0)
					alignment = std::max(alignment, segment.align);
			}
		}
		return (ImageEnd() + alignment - 1) / alignment * alignment;
	}

	// The file, length bytes long (at least the image's end).
	std::string Build(uint64 length) const
	{
		std::string file(size_t(std::max(length, ImageEnd())), '\xA5');
		const int address = is64 ? 8 : 4;
		auto put = [&](uint64 offset, uint64 value, int size) {
			PutField(file, offset, value, size, bigEndian);
		};
		file.replace(0, 4,
		             "\x7f"
		             "ELF");
		file[4] = char(is64 ? 2 : 1);
		file[5] = char(bigEndian ? 2 : 1);
		file[6] = 1;
		std::fill(file.begin() + 7, file.begin() + 16, '\0');
		put(16, type, 2);
		put(is64 ? 32 : 28, segments.empty() ? 0 : HeaderSize(), address);
		put(is64 ? 40 : 32, sectionTableOffset, address);
		const uint64 sizes = is64 ? 52 : 40;
		put(sizes, HeaderSize(), 2);
		put(sizes + 2, SegmentEntrySize(), 2);
		put(sizes + 4, segments.size(), 2);
		put(sizes + 6, SectionEntrySize(), 2);
		put(sizes + 8, sections.size(), 2);
		for (size_t i = 0; i < segments.size(); i++) {
			const uint64 at = HeaderSize() + SegmentEntrySize() * i;
			put(at, segments[i].type, 4);
			put(at + (is64 ? 8 : 4), segments[i].offset, address);
			put(at + (is64 ? 32 : 16), segments[i].size, address);
			put(at + (is64 ? 48 : 28), segments[i].align, address);
		}
		for (size_t i = 0; i < sections.size(); i++) {
			const uint64 at = sectionTableOffset + SectionEntrySize() * i;
			put(at + 4, sections[i].type, 4);
			put(at + (is64 ? 24 : 16), sections[i].offset, address);
			put(at + (is64 ? 32 : 20), sections[i].size, address);
		}
		return file;
	}
};

// A PEF container of sections given as (container offset, packed size);
// its image ends at the largest of their ends and the section table's.
struct Pef
{
	std::vector<std::pair<uint32, uint32>> sections;

	uint64 ImageEnd() const
	{
		uint64 end = 40 + 28 * sections.size();
		for (const auto& [offset, size] : sections)
			end = std::max(end, uint64(offset) + size);
		return end;
	}

	std::string Build() const
	{
		std::string file(size_t(ImageEnd()), '\x5A');
		file.replace(0, 12, "Joy!peffpwpc");
		PutField(file, 32, sections.size(), 2, true);
		for (size_t i = 0; i < sections.size(); i++) {
			PutField(file, 40 + 28 * i + 16, sections[i].second, 4, true);
			PutField(file, 40 + 28 * i + 20, sections[i].first, 4, true);
		}
		return file;
	}
};

} // namespace ExecutableFiles

#endif // EXECUTABLE_FILES_H
