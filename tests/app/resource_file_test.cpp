// Resource files read from and written to bytes: the given sample files,
// files of both byte orders built here, what a reader must tolerate, and
// every damage it must refuse with the structure and offset named.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

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
	EXPECT_EQ(kind("Joy!peff"), ResourceFile::kNotResourceFile);
	EXPECT_EQ(kind("\x7f"
	               "ELF"),
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
