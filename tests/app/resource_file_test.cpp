// Resource files read from and written to bytes: the given sample files,
// files of both byte orders built here, what a reader must tolerate, and
// every damage it must refuse with the structure and offset named; and the
// resources appended to ELF and PEF executables, found after their image.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "ExecutableFiles.h"
#include "ResourceFile.h"

namespace fs = std::filesystem;

namespace {

using Item = ResourceFile::Item;

const size_t kX86Base = 4;
const size_t kPpcBase = 40;
// Where the data of a file with at most 117 items starts (R offset).
const size_t kDataStart = 0x7AC;

std::string ReadSample(const std::string& name)
{
	std::ifstream file(fs::path(RESOURCE_SAMPLES_DIR) / name, std::ios::binary);
	return std::string(std::istreambuf_iterator<char>(file), {});
}

uint32 GetWord(const std::string& file, size_t offset, bool bigEndian)
{
	uint32 value = 0;
	for (int i = 0; i < 4; i++) {
		uint8 byte = uint8(file[offset + size_t(bigEndian ? i : 3 - i)]);
		value = value << 8 | byte;
	}
	return value;
}

void PutWord(std::string& file, size_t offset, uint32 value, bool bigEndian)
{
	for (int i = 0; i < 4; i++) {
		int shift = bigEndian ? 24 - 8 * i : 8 * i;
		file[offset + size_t(i)] = char((value >> shift) & 0xff);
	}
}

std::vector<Item> SomeItems()
{
	return {
	    {'CSTR', 74, "a string", std::string("text\0with a NUL", 15)},
	    {'LONG', -3, "", std::string("\x01\x02\x03\x04", 4)},
	    {'LONG', 17, "second of a block", std::string("\xff\xfe\xfd\xfc", 4)},
	    {'RAWT', 0, "empty data", ""},
	    {'CSTR', 75, "the same type again, in a block of its own", "x"},
	    {0x01020304, 1, "unprintable type", std::string(300, '\xAB')},
	};
}

std::string Flattened(ResourceFile& file)
{
	std::string bytes;
	EXPECT_EQ(file.Flatten(bytes), B_OK) << file.ErrorMessage();
	return bytes;
}

std::string BuildX86(const std::vector<Item>& items)
{
	ResourceFile file;
	file.SetItems(items);
	return Flattened(file);
}

// A PPC file: its PEF header's unused fields carry garbage, as old writers
// left them.
std::string BuildPpc(const std::vector<Item>& items)
{
	ResourceFile file(ResourceFile::kPpcFile);
	file.SetItems(items);
	std::string bytes = Flattened(file);
	for (size_t i = 8; i < kPpcBase; i++)
		bytes[i] = char(0x30 + i);
	return bytes;
}

ResourceFile Parsed(const std::string& bytes)
{
	ResourceFile file;
	EXPECT_EQ(file.Parse(bytes.data(), bytes.size()), B_OK) << file.ErrorMessage();
	return file;
}

std::string ParseError(const std::string& bytes)
{
	ResourceFile file;
	EXPECT_NE(file.Parse(bytes.data(), bytes.size()), B_OK);
	EXPECT_TRUE(file.Items().empty());
	return file.ErrorMessage();
}

// The R offset of the info table, from the index section header.
size_t TableOffset(const std::string& file, size_t base, bool bigEndian)
{
	return GetWord(file, base + 0x44 + 30 * 4, bigEndian);
}

size_t TableSize(const std::string& file, size_t base, bool bigEndian)
{
	return GetWord(file, base + 0x44 + 31 * 4, bigEndian);
}

// An x86 file whose info table ends with its final separator: no checksum
// and terminator, so a test may change the table freely.
std::string WithoutTableEnd(std::string bytes)
{
	size_t size = TableSize(bytes, kX86Base, false);
	PutWord(bytes, kX86Base + 0x44 + 31 * 4, uint32(size - 8), false);
	bytes.resize(bytes.size() - 8);
	return bytes;
}

struct SampleRow
{
	type_code type;
	int32 id;
	const char* name;
	size_t size;
};

void ExpectSample(const std::string& name, size_t fileSize, const std::vector<SampleRow>& rows)
{
	std::string bytes = ReadSample(name);
	if (bytes.empty())
		GTEST_SKIP() << "no sample " << name << " in " << RESOURCE_SAMPLES_DIR;
	ASSERT_EQ(bytes.size(), fileSize);
	ResourceFile file = Parsed(bytes);
	EXPECT_EQ(file.FileKind(), ResourceFile::kX86File);
	EXPECT_FALSE(file.IsBigEndian());
	ASSERT_EQ(file.Items().size(), rows.size());
	for (size_t i = 0; i < rows.size(); i++) {
		SCOPED_TRACE(i);
		EXPECT_EQ(file.Items()[i].type, rows[i].type);
		EXPECT_EQ(file.Items()[i].id, rows[i].id);
		EXPECT_EQ(file.Items()[i].name, rows[i].name);
		EXPECT_EQ(file.Items()[i].data.size(), rows[i].size);
	}
	// The writer's layout reproduces the file byte for byte.
	EXPECT_EQ(Flattened(file), bytes);
}

} // namespace

TEST(ResourceFileSamples, X86)
{
	ExpectSample("x86.rsrc", 2163,
	             {{'CSTR', 74, "a string resource", 35},
	              {'LONG', 17, "just a resource", 4},
	              {'MIMS', 29, "another resource", 31}});
	std::string bytes = ReadSample("x86.rsrc");
	if (!bytes.empty()) {
		// Data as stored: the LONG's bytes come straight from the file.
		EXPECT_EQ(Parsed(bytes).Items()[1].data, bytes.substr(kX86Base + 0x7CF, 4));
	}
}

TEST(ResourceFileSamples, Inspector)
{
	ExpectSample("Inspector.rsrc", 3441,
	             {{'APPF', 1, "BEOS:APP_FLAGS", 4},
	              {'ICON', 101, "BEOS:L:STD_ICON", 1024},
	              {'MICN', 101, "BEOS:M:STD_ICON", 256},
	              {'MIMS', 1, "BEOS:APP_SIG", 33}});
}

TEST(ResourceFileSamples, BMessengerTestApp1)
{
	ExpectSample("BMessengerTestApp1.rsrc", 2869,
	             {{'MIMS', 2, "BEOS:TYPE", 35},
	              {'MIMS', 1, "BEOS:APP_SIG", 43},
	              {'APPV', 1, "BEOS:APP_VERSION", 680},
	              {'APPF', 1, "BEOS:APP_FLAGS", 4}});
}

TEST(ResourceFileKinds, MagicDecidesTheKind)
{
	auto kind = [](const std::string& bytes) {
		return ResourceFile::KindOf(bytes.data(), bytes.size());
	};
	EXPECT_EQ(kind(std::string("RS\0\0", 4)), ResourceFile::kX86File);
	EXPECT_EQ(kind("Joy!resf"), ResourceFile::kPpcFile);
	EXPECT_EQ(kind(std::string("RS\1\0", 4)), ResourceFile::kNotResourceFile);
	EXPECT_EQ(kind("Joy!peff"), ResourceFile::kExecutableFile);
	EXPECT_EQ(kind("\x7f"
	               "ELF"),
	          ResourceFile::kExecutableFile);
	EXPECT_EQ(kind("\x7f"
	               "ELf"),
	          ResourceFile::kNotResourceFile);
	EXPECT_EQ(kind("RS"), ResourceFile::kNotResourceFile);
	EXPECT_EQ(kind(""), ResourceFile::kNotResourceFile);
	EXPECT_NE(ParseError("plain text").find("no resource file magic"), std::string::npos);
}

TEST(ResourceFileRoundTrip, BothByteOrdersKeepEveryItem)
{
	for (bool ppc : {false, true}) {
		SCOPED_TRACE(ppc ? "PPC" : "x86");
		std::string bytes = ppc ? BuildPpc(SomeItems()) : BuildX86(SomeItems());
		ResourceFile file = Parsed(bytes);
		EXPECT_EQ(file.FileKind(), ppc ? ResourceFile::kPpcFile : ResourceFile::kX86File);
		EXPECT_EQ(file.IsBigEndian(), ppc);
		EXPECT_EQ(file.Items(), SomeItems());
		EXPECT_EQ(Flattened(file), bytes);
		EXPECT_EQ(file.LeadingBytes(), bytes.substr(0, ppc ? kPpcBase : kX86Base));
	}
}

TEST(ResourceFileRoundTrip, DataIsNeverSwappedTypeCodesAre)
{
	std::string x86 = BuildX86(SomeItems());
	std::string ppc = BuildPpc(SomeItems());
	// The first LONG's data, back to back after the CSTR's 15 bytes.
	EXPECT_EQ(x86.substr(kX86Base + kDataStart + 15, 4), "\x01\x02\x03\x04");
	EXPECT_EQ(ppc.substr(kPpcBase + kDataStart + 15, 4), "\x01\x02\x03\x04");
	// The info table starts with the first block's type code in file order.
	EXPECT_EQ(x86.substr(kX86Base + TableOffset(x86, kX86Base, false), 4), "RTSC");
	EXPECT_EQ(ppc.substr(kPpcBase + TableOffset(ppc, kPpcBase, true), 4), "CSTR");
	// The PEF header's garbage survives.
	EXPECT_EQ(ppc.substr(8, 4), "89:;");
}

TEST(ResourceFileRoundTrip, LayoutOfTheWriter)
{
	std::string empty = BuildX86({});
	// Header, index section, unknown section, no data, a 16-byte table.
	ASSERT_EQ(empty.size(), kX86Base + kDataStart + 16);
	EXPECT_EQ(GetWord(empty, kX86Base + 4, false), 0u);
	EXPECT_EQ(GetWord(empty, kX86Base + kDataStart, false), 0xFFFFFFFFu);
	EXPECT_EQ(GetWord(empty, kX86Base + kDataStart + 12, false), 0u);
	// Unused index slots and the unknown section hold the pattern in phase.
	EXPECT_EQ(GetWord(empty, kX86Base + 0xC8, false), 0u);
	EXPECT_EQ(GetWord(empty, kX86Base + 0xCC, false), 0xFFFFFFFFu);
	EXPECT_EQ(GetWord(empty, kX86Base + 0xD0, false), 0x3E9u);
	EXPECT_EQ(GetWord(empty, kX86Base + 0x644, false), 0u);
	EXPECT_EQ(Parsed(empty).Items().size(), 0u);

	// 118 items need a second step of the index section.
	std::vector<Item> many;
	for (int32 i = 0; i < 118; i++)
		many.push_back({'LONG', i, "", std::string(4, char(i))});
	std::string big = BuildX86(many);
	EXPECT_EQ(GetWord(big, kX86Base + 0x48, false), 0xC00u);
	EXPECT_EQ(GetWord(big, kX86Base + 0xC8, false), 0x44u + 0xC00 + 0x168);
	EXPECT_EQ(Parsed(big).Items(), many);
}

TEST(ResourceFileRoundTrip, StructuresInTheOtherOrderStayInIt)
{
	// A PPC file whose structures are little-endian, as an x86 writer left
	// it: the magic decides the order, and rewriting keeps it.
	std::string x86 = BuildX86(SomeItems());
	std::string mixed = BuildPpc({}).substr(0, kPpcBase) + x86.substr(kX86Base);
	ResourceFile file = Parsed(mixed);
	EXPECT_EQ(file.FileKind(), ResourceFile::kPpcFile);
	EXPECT_FALSE(file.IsBigEndian());
	EXPECT_EQ(file.Items(), SomeItems());
	EXPECT_EQ(Flattened(file), mixed);
}

TEST(ResourceFileRoundTrip, WriterRefusesWhatDoesNotFit)
{
	ResourceFile file;
	std::string bytes;
	file.SetItems({{'CSTR', 1, std::string(0xFFFF, 'n'), ""}});
	EXPECT_EQ(file.Flatten(bytes), B_BAD_VALUE);
	EXPECT_NE(file.ErrorMessage().find("65534"), std::string::npos);
	file.SetItems(std::vector<Item>(ResourceFile::kMaxItems + 1, Item{'LONG', 1, "", ""}));
	EXPECT_EQ(file.Flatten(bytes), B_BAD_VALUE);
	EXPECT_NE(file.ErrorMessage().find("at most 10000"), std::string::npos);
}

// What old or foreign writers leave, and a reader must still open.
TEST(ResourceFileTolerance, IndexTableEndingEarlyOrRunningLong)
{
	const std::vector<Item> items = SomeItems();
	const std::string bytes = BuildX86(items);

	// The header counts one item fewer: the valid entry after it still counts.
	std::string raised = bytes;
	PutWord(raised, kX86Base + 4, uint32(items.size() - 1), false);
	EXPECT_EQ(Parsed(raised).Items(), items);

	// An unused slot within the count ends the table there: the items after
	// it have no entry, and their infos are ignored.
	std::string lowered = bytes;
	size_t slot = kX86Base + 0xC8 + 12 * 4;
	PutWord(lowered, slot, 0, false);
	PutWord(lowered, slot + 4, 0xFFFFFFFF, false);
	PutWord(lowered, slot + 8, 0x3E9, false);
	EXPECT_EQ(Parsed(lowered).Items(), std::vector<Item>(items.begin(), items.begin() + 4));
}

TEST(ResourceFileTolerance, InfosAndNamesOutOfTheOrdinary)
{
	const std::vector<Item> items = SomeItems();
	const std::string bytes = WithoutTableEnd(BuildX86(items));
	EXPECT_EQ(Parsed(bytes).Items(), items);
	const size_t table = kX86Base + TableOffset(bytes, kX86Base, false);

	// An info naming index 0 is ignored, and its entry, named by no info,
	// gives no item.
	std::string unnamed = bytes;
	PutWord(unnamed, table + 8, 0, false);
	EXPECT_EQ(Parsed(unnamed).Items(), std::vector<Item>(items.begin() + 1, items.end()));

	// A name ends at its first NUL, also when its last byte is not one.
	std::string cut = bytes;
	const size_t name = table + 4 + 10;
	ASSERT_EQ(cut.substr(name, 9), std::string("a string\0", 9));
	cut[name + 4] = '\0';
	cut[name + 8] = 'X';
	EXPECT_EQ(Parsed(cut).Items()[0].name, "a st");
}

TEST(ResourceFileDamage, EveryTruncationIsRefusedWithItsPlace)
{
	for (bool ppc : {false, true}) {
		std::string bytes = ppc ? BuildPpc(SomeItems()) : BuildX86(SomeItems());
		for (size_t length = 0; length < bytes.size(); length++) {
			ResourceFile file;
			ASSERT_NE(file.Parse(bytes.data(), length), B_OK) << length;
			EXPECT_NE(file.ErrorMessage().find(" at offset 0x"), std::string::npos)
			    << file.ErrorMessage();
		}
	}
}

TEST(ResourceFileDamage, EachStructureNamedAtItsOffset)
{
	const std::string bytes = BuildX86(SomeItems());
	const size_t r = kX86Base;
	const size_t table = r + TableOffset(bytes, r, false);
	const size_t tableSize = GetWord(bytes, r + 0x44 + 31 * 4, false);
	struct Damage
	{
		const char* what;
		size_t offset;
		uint32 value;
		const char* message;
	};
	const Damage damages[] = {
	    {"magic", r, 0x12345678,
	     "resources header at offset 0x4: magic 0x12345678 is not 0x444F1000 in either byte order"},
	    {"count", r + 4, 10001, "resources header at offset 0x8: resource count 10001 is above"},
	    {"count for another index size", r + 4, 200,
	     "resources header at offset 0x10: admin section size 0x644 should be 0xC44"},
	    {"index offset", r + 8, 0x48, "resources header at offset 0xC: index section offset 0x48"},
	    {"admin size", r + 12, 0x640, "resources header at offset 0x10: admin section size 0x640"},
	    {"index header offset", r + 0x44, 0x40, "index section header at offset 0x48:"},
	    {"index size", r + 0x48, 0x604, "index section header at offset 0x4C: index section size"},
	    {"unknown offset", r + 0x50, 0, "index section header at offset 0x54: unknown section"},
	    {"unknown size", r + 0x54, 0x16C, "index section header at offset 0x58: unknown section"},
	    {"entry beyond the file", r + 0xC8 + 12 + 4, 0x10000,
	     "index entry 2 at offset 0xD8: data of 65536 bytes"},
	    {"table beyond the file", r + 0x44 + 31 * 4, uint32(tableSize + 1), "info table at offset"},
	    {"table too short", r + 0x44 + 31 * 4, 7, "shorter than its 8-byte end"},
	    {"checksum", table + tableSize - 8, 1, "info table checksum at offset"},
	};
	for (const Damage& damage : damages) {
		SCOPED_TRACE(damage.what);
		std::string damaged = bytes;
		PutWord(damaged, damage.offset, damage.value, false);
		EXPECT_NE(ParseError(damaged).find(damage.message), std::string::npos)
		    << ParseError(damaged);
	}
}

TEST(ResourceFileDamage, InfoTableStructures)
{
	// Tables built by hand behind a valid header, without checksum and
	// terminator, so each damage reaches the table's parser.
	auto withTable = [](const std::string& table, uint32 count = 0) {
		ResourceFile empty;
		std::vector<Item> items(count, Item{'LONG', 1, "", "abcd"});
		empty.SetItems(items);
		std::string bytes;
		EXPECT_EQ(empty.Flatten(bytes), B_OK);
		size_t offset = TableOffset(bytes, kX86Base, false);
		bytes.resize(kX86Base + offset);
		bytes += table;
		PutWord(bytes, kX86Base + 0x44 + 31 * 4, uint32(table.size()), false);
		return bytes;
	};
	auto word = [](uint32 value) {
		std::string bytes(4, '\0');
		PutWord(bytes, 0, value, false);
		return bytes;
	};
	const std::string separator = word(0xFFFFFFFF) + word(0xFFFFFFFF);
	auto info = [&](int32 index, const std::string& name) {
		std::string bytes = word(5) + word(uint32(index)) + std::string(2, '\0') + name;
		bytes[8] = char(name.size());
		return bytes;
	};

	// Sound tables first, so the damage below is the only fault.
	EXPECT_EQ(Parsed(withTable(separator)).Items().size(), 0u);
	EXPECT_EQ(Parsed(withTable(word('LONG') + info(1, std::string("n\0", 2)) + separator, 1))
	              .Items()
	              .size(),
	          1u);

	EXPECT_NE(ParseError(withTable(separator + "xy")).find("2 bytes left over"), std::string::npos);
	EXPECT_NE(ParseError(withTable(word('LONG') + info(1, "") + "abcdefghi", 1))
	              .find("resource info at offset"),
	          std::string::npos);
	EXPECT_NE(
	    ParseError(withTable(word('LONG') + info(1, "name") + word(1), 1)).find("has no separator"),
	    std::string::npos);
	std::string longName = word('LONG') + info(1, "") + separator;
	longName[4 + 8] = char(200);
	EXPECT_NE(ParseError(withTable(longName, 1)).find("resource name at offset"),
	          std::string::npos);
	EXPECT_NE(ParseError(withTable(word('LONG') + info(1, "") + info(1, "") + separator, 1))
	              .find("index 1 is named twice"),
	          std::string::npos);
	EXPECT_NE(ParseError(withTable(word('LONG') + info(1, "") + separator + word(1), 1))
	              .find("4 bytes left over after the final separator"),
	          std::string::npos);
}

namespace {

// A container in the given byte order, as it follows an executable's image.
std::string Container(const std::vector<Item>& items, bool bigEndian)
{
	ResourceFile file(bigEndian ? ResourceFile::kPpcFile : ResourceFile::kX86File);
	file.SetItems(items);
	return Flattened(file).substr(bigEndian ? kPpcBase : kX86Base);
}

// A random ELF file of either class and byte order: segments and sections
// of every kind anywhere in its first 6000 bytes, the section header table
// after the program header table.
ExecutableFiles::Elf RandomElf(std::mt19937& random)
{
	auto below = [&random](uint64 limit) {
		return std::uniform_int_distribution<uint64>(0, limit - 1)(random);
	};
	ExecutableFiles::Elf elf;
	elf.is64 = below(2) == 1;
	elf.bigEndian = below(2) == 1;
	const uint32 segmentTypes[] = {0, 1, 2, 3, 4, 6, 0x6474e551};
	for (uint64 i = below(5); i > 0; i--) {
		const uint64 align[] = {0, 1, 4, 8, 16, 64, 4096, 0x10000};
		elf.segments.push_back({segmentTypes[below(7)], below(6000), below(3000), align[below(8)]});
	}
	const uint32 sectionTypes[] = {0, 1, 2, 3, 8, 11};
	for (uint64 i = below(5); i > 0; i--)
		elf.sections.push_back({sectionTypes[below(6)], below(6000), below(3000)});
	elf.sectionTableOffset = elf.SegmentTableEnd() + below(4000);
	return elf;
}

ResourceFile ParsedExecutable(const std::string& bytes)
{
	ResourceFile file = Parsed(bytes);
	EXPECT_EQ(file.FileKind(), ResourceFile::kExecutableFile);
	return file;
}

} // namespace

TEST(ResourceFileExecutables, SamplesHoldWhatTheirMakersExpect)
{
	const std::string cstr("I like strings, especially cellos.\0", 35);
	const std::string mims("application/bread-roll-counter\0", 31);
	struct
	{
		const char* name;
		size_t image;
		bool bigEndian;
		std::vector<Item> items; // BEOS:TYPE's data is only checked by size
	} samples[] = {
	    {"elf",
	     4096,
	     false,
	     {{'CSTR', 74, "a string resource", cstr},
	      {'LONG', 17, "just a resource", std::string("\x2a\0\0\0", 4)},
	      {'MIMS', 29, "another resource", mims},
	      {'MIMS', 2, "BEOS:TYPE", std::string(35, '?')}}},
	    {"elf-no-res", 4096, false, {{'MIMS', 2, "BEOS:TYPE", std::string(35, '?')}}},
	    {"pef",
	     1450,
	     true,
	     {{'CSTR', 74, "a string resource", cstr},
	      {'LONG', 17, "just a resource", std::string("\0\0\0\x2a", 4)},
	      {'MIMS', 29, "another resource", mims}}},
	    {"pef-no-res", 1450, true, {}},
	};
	for (auto& sample : samples) {
		SCOPED_TRACE(sample.name);
		std::string bytes = ReadSample(sample.name);
		if (bytes.empty())
			GTEST_SKIP() << "no sample " << sample.name << " in " << RESOURCE_SAMPLES_DIR;
		ResourceFile file = ParsedExecutable(bytes);
		EXPECT_EQ(file.IsBigEndian(), sample.bigEndian);
		EXPECT_EQ(file.LeadingBytes(), bytes.substr(0, sample.image));
		std::vector<Item> items = file.Items();
		for (Item& item : items) {
			if (item.name == "BEOS:TYPE")
				item.data = std::string(item.data.size(), '?');
		}
		EXPECT_EQ(items, sample.items);
		EXPECT_EQ(Flattened(file), bytes);
	}
	EXPECT_EQ(ParsedExecutable(ReadSample("elf")).Executable().KindName(), "ELF32 shared library");
	EXPECT_EQ(ParsedExecutable(ReadSample("pef")).Executable().KindName(), "PEF container");
}

TEST(ResourceFileExecutables, ResourcesFoundAfterAnyImage)
{
	// Random headers: the resources start where the headers' own account of
	// the image says, whether a container follows or the file ends first.
	std::mt19937 random(19);
	for (int round = 0; round < 400; round++) {
		SCOPED_TRACE(round);
		const ExecutableFiles::Elf elf = RandomElf(random);
		const uint64 image = elf.ImageEnd();
		const uint64 offset = elf.ResourcesOffset();
		const bool withResources = round % 2 == 0;
		const uint64 length =
		    withResources
		        ? offset
		        : image + std::uniform_int_distribution<uint64>(0, offset - image)(random);
		std::string bytes = elf.Build(length);
		if (withResources)
			bytes += Container(SomeItems(), elf.bigEndian);
		ResourceFile file = ParsedExecutable(bytes);
		EXPECT_EQ(file.IsBigEndian(), elf.bigEndian);
		EXPECT_EQ(file.Items(), withResources ? SomeItems() : std::vector<Item>());
		EXPECT_EQ(file.LeadingBytes(), bytes.substr(0, withResources ? offset : length));
		EXPECT_EQ(Flattened(file), bytes);

		// Resources added later go at the aligned image end, zeros between.
		if (!withResources) {
			file.SetItems(SomeItems());
			EXPECT_EQ(Flattened(file), bytes + std::string(offset - length, '\0') +
			                               Container(SomeItems(), elf.bigEndian));
		}

		// A file cut anywhere inside its image is refused with the place.
		const uint64 cut = std::uniform_int_distribution<uint64>(0, image - 1)(random);
		ResourceFile truncated;
		EXPECT_NE(truncated.Parse(bytes.data(), cut), B_OK) << cut;
		EXPECT_NE(truncated.ErrorMessage().find(" at offset 0x"), std::string::npos)
		    << truncated.ErrorMessage();
	}

	// PEF: no alignment; a container in big-endian order.
	const ExecutableFiles::Pef pef{{{100, 50}, {300, 7}, {200, 90}}};
	const std::string image = pef.Build();
	ASSERT_EQ(image.size(), 307u);
	ResourceFile file = ParsedExecutable(image + Container(SomeItems(), true));
	EXPECT_EQ(file.LeadingBytes(), image);
	EXPECT_EQ(file.Items(), SomeItems());
	EXPECT_TRUE(ParsedExecutable(image).Items().empty());
}

TEST(ResourceFileExecutables, DamagedHeadersNamedAtTheirOffset)
{
	ExecutableFiles::Elf elf32;
	elf32.segments = {{1, 0, 200, 0x1000}, {2, 100, 20, 4}};
	elf32.sections = {{1, 120, 60}};
	elf32.sectionTableOffset = 300;
	ExecutableFiles::Elf elf64 = elf32;
	elf64.is64 = true;
	elf64.bigEndian = true;
	auto patched = [](const ExecutableFiles::Elf& elf, uint64 offset, uint64 value, int size) {
		std::string bytes =
		    elf.Build(elf.ResourcesOffset()) + Container(SomeItems(), elf.bigEndian);
		ExecutableFiles::PutField(bytes, offset, value, size, elf.bigEndian);
		return bytes;
	};
	const std::string pef = ExecutableFiles::Pef{{{100, 50}}}.Build();
	auto pefWith = [&pef](uint64 offset, const std::string& bytes) {
		return pef.substr(0, offset) + bytes + pef.substr(offset + bytes.size());
	};
	struct
	{
		const char* what;
		std::string bytes;
		const char* message;
	} damages[] = {
	    {"short identification",
	     "\x7f"
	     "ELF\x01",
	     "ELF identification at offset 0x0: truncated: needs 16 bytes"},
	    {"class", patched(elf32, 4, 3, 1), "ELF identification at offset 0x4: class 3"},
	    {"data", patched(elf32, 5, 0, 1), "ELF identification at offset 0x5: data encoding 0"},
	    {"version", patched(elf32, 6, 2, 1), "ELF identification at offset 0x6: version 2"},
	    {"short header", elf64.Build(0).substr(0, 60),
	     "ELF header at offset 0x0: truncated: needs 64 bytes"},
	    {"header size", patched(elf32, 40, 0x8000, 2), "ELF header at offset 0x28: header size"},
	    {"segment entry size", patched(elf64, 54, 40, 2),
	     "ELF header at offset 0x36: program header table entry size 40 is below 56"},
	    {"segment table", patched(elf32, 28, 0x7FFFFFF0, 4),
	     "ELF header at offset 0x1C: program header table of 2 entries at 0x7FFFFFF0 runs past"},
	    {"section table", patched(elf64, 40, ~0ULL, 8),
	     "ELF header at offset 0x28: section header table of 1 entries at 0xFFFFFFFFFFFFFFFF"},
	    {"segment", patched(elf64, 64 + 56 + 32, ~0ULL - 10, 8),
	     "program header 1 at offset 0x78: segment of 18446744073709551605 bytes at 0x64 runs "
	     "past the end of the file"},
	    {"alignment", patched(elf32, 52 + 28, 0xA00001, 4),
	     "program header 0 at offset 0x50: alignment 0xA00001 is above 10 MiB"},
	    {"section", patched(elf32, 300 + 16, 0x10000, 4),
	     "section header 0 at offset 0x12C: section of 60 bytes at 0x10000 runs past"},
	    {"container", elf32.Build(elf32.ResourcesOffset()) + "RS\0\0 and more bytes than a header",
	     "resources header at offset 0x1000: truncated"},
	    {"short PEF header", pef.substr(0, 39), "PEF container header at offset 0x0: truncated"},
	    {"architecture", pefWith(8, "m68k"),
	     "PEF container header at offset 0x8: architecture \"m68k\" is not \"pwpc\""},
	    {"section count", pefWith(32, std::string("\x00\x09", 2)),
	     "PEF container header at offset 0x20: section header table of 9 entries runs past"},
	    {"PEF section", pefWith(40 + 16, std::string("\x00\x00\x01\x00", 4)),
	     "PEF section header 0 at offset 0x28: section of 256 bytes at 0x64 runs past"},
	};
	for (const auto& damage : damages) {
		SCOPED_TRACE(damage.what);
		EXPECT_NE(ParseError(damage.bytes).find(damage.message), std::string::npos)
		    << ParseError(damage.bytes);
	}
}
