// What reshost shows of an item's bytes: the readable forms of the common
// types, built here byte by byte in either byte order and read from the
// given resource files; bytes that do not fit a layout; and icons as
// pictures, checked against the colour map as data.

#include <gtest/gtest.h>

#include <InterfaceDefs.h>

#include <png.h>

#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

#include "ItemDescription.h"
#include "ProgramRunner.h"

namespace {

const std::string kSamples = RESOURCE_SAMPLES_DIR;

// Bytes of numbers in either byte order.
class Bytes
{
public:
	explicit Bytes(bool bigEndian = false) : fBigEndian(bigEndian) {}
	Bytes& Number(uint64_t value, int size)
	{
		for (int i = 0; i < size; i++) {
			const int shift = fBigEndian ? (size - 1 - i) * 8 : i * 8;
			fBytes += char((value >> shift) & 0xff);
		}
		return *this;
	}
	Bytes& Word(uint32_t value) { return Number(value, 4); }
	Bytes& Byte(uint8_t value) { return Number(value, 1); }
	Bytes& Text(const std::string& text, size_t size = 0)
	{
		fBytes += text;
		fBytes.append(size > text.size() ? size - text.size() : 0, '\0');
		return *this;
	}
	const std::string& Get() const { return fBytes; }

private:
	bool fBigEndian;
	std::string fBytes;
};

std::vector<std::string> Describe(type_code type, const std::string& bytes, bool bigEndian = false)
{
	// A buffer of exactly the data's size, so that a read past it is seen
	// by the address sanitizer.
	std::vector<char> exact(bytes.begin(), bytes.end());
	return ItemDescription::Describe(type, exact.data(), exact.size(), bigEndian);
}

std::string VersionRecord(bool bigEndian, uint32_t major, uint32_t middle, uint32_t minor,
                          uint32_t variety, uint32_t internal, const std::string& shortInfo,
                          const std::string& longInfo)
{
	return Bytes(bigEndian)
	    .Word(major)
	    .Word(middle)
	    .Word(minor)
	    .Word(variety)
	    .Word(internal)
	    .Text(shortInfo, 64)
	    .Text(longInfo, 256)
	    .Get();
}

// A flattened R5 message of what 'mime' with an int32 field of two items,
// a string field of one item and a bool, in the given byte order.
std::string Message(bool bigEndian)
{
	Bytes fields(bigEndian);
	// Fixed-size int32 items, mini count and size.
	fields.Byte(0x01 | 0x02 | 0x04).Word('LONG').Byte(2).Byte(8).Byte(5).Text("sizes");
	fields.Word(uint32_t(-3)).Word(70000);
	// One variable-size string: size word, bytes, padded to 8.
	fields.Byte(0x01 | 0x02 | 0x08).Word('CSTR').Byte(8).Byte(4).Text("name");
	fields.Word(3).Text("ab", 3).Text("", 1);
	fields.Byte(0x01 | 0x02 | 0x04 | 0x08).Word('BOOL').Byte(1).Byte(2).Text("on").Byte(1);
	fields.Byte(0);
	const std::string body = fields.Get();
	Bytes header(bigEndian);
	header.Word('FOB1').Word(0).Word(uint32_t(17 + body.size())).Word('mime').Byte(0x01);
	return header.Get() + body;
}

// A vector icon: two styles (a colour and a gradient with a transform),
// two paths (one of commands, one of plain points with 2-byte
// coordinates) and three shapes; shape records follow, unread.
std::string VectorIcon()
{
	Bytes icon;
	icon.Text("ncif").Byte(2);
	icon.Byte(1).Word(0xff0000ff);
	icon.Byte(3).Byte(0).Byte(0x02).Byte(2).Text(std::string(18, '\x40'));
	icon.Byte(0).Word(0xffffffff).Byte(255).Word(0xff000000);
	icon.Byte(2);
	// Commands: line, curve, horizontal line (2 bits each, low first).
	icon.Byte(0x04).Byte(3).Byte(0x02 | (0x03 << 2) | (0x00 << 4));
	icon.Text(std::string(2 + 6 + 1, '\x10'));
	// No curves, two points: four coordinates, the first of two bytes.
	icon.Byte(0x08).Byte(2).Byte(0x80).Byte(0x01).Text(std::string(3, '\x20'));
	icon.Byte(3).Text("shape records");
	return icon.Get();
}

TEST(ItemDescriptionTest, CommonTypesInEitherByteOrder)
{
	for (bool bigEndian : {false, true}) {
		SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
		EXPECT_EQ(Describe('APPF', Bytes(bigEndian).Word(0x5).Get(), bigEndian),
		          (std::vector<std::string>{"multiple launch, background app"}));
		EXPECT_EQ(Describe('APPF', Bytes(bigEndian).Word(0x10a).Get(), bigEndian),
		          (std::vector<std::string>{"exclusive launch, argv only, other bits 0x00000100"}));

		const std::string versions = VersionRecord(bigEndian, 1, 0, 1, 5, 0, "Tracker",
		                                           "Tracker 1.0.1 \xC2\xA9 the authors") +
		                             VersionRecord(bigEndian, 5, 1, 0, 2, 7, "", "");
		EXPECT_EQ(Describe('APPV', versions, bigEndian),
		          (std::vector<std::string>{"application version 1.0.1 final (internal 0)",
		                                    "  short info \"Tracker\"",
		                                    "  long info \"Tracker 1.0.1 \xC2\xA9 the authors\"",
		                                    "system version 5.1.0 beta (internal 7)",
		                                    "  short info \"\"", "  long info \"\""}));

		EXPECT_EQ(Describe('MSGG', Message(bigEndian), bigEndian),
		          (std::vector<std::string>{
		              "message 'mime', " + std::to_string(Message(bigEndian).size()) + " bytes",
		              "  \"sizes\" LONG, 2 items: -3 70000", "  \"name\" CSTR, 1 item: \"ab\"",
		              "  \"on\" BOOL, 1 item: true"}));
		EXPECT_EQ(Describe('LONG', Bytes(bigEndian).Word(uint32_t(-42)).Get(), bigEndian),
		          (std::vector<std::string>{"-42"}));
	}
	EXPECT_EQ(Describe('MIMS', std::string("application/x-vnd.a\nb\0", 22)),
	          (std::vector<std::string>{"\"application/x-vnd.a\\x0Ab\""}));
	EXPECT_EQ(Describe('CSTR', std::string("ab\0cd\0", 6)),
	          (std::vector<std::string>{"\"ab\" (3 more bytes after the NUL)"}));
	EXPECT_EQ(Describe('VICN', VectorIcon()),
	          (std::vector<std::string>{"vector icon: 2 styles, 2 paths, 3 shapes"}));
	EXPECT_EQ(
	    Describe('ICON', std::string(1024, '\x01')),
	    (std::vector<std::string>{"icon 32 x 32 pixels, colour-map indices, 255 transparent"}));
}

// Bytes that do not fit the type's layout say so, with the type and size.
TEST(ItemDescriptionTest, BytesThatDoNotFitTheLayoutAreNamedNotShown)
{
	const struct
	{
		type_code type;
		std::string bytes;
		std::string line;
	} cases[] = {
	    {'APPV', std::string(12, '\0'),
	     "APPV of 12 bytes: not shown (a version is one or two records of 340 bytes)"},
	    {'APPV', std::string(3 * 340, '\0'),
	     "APPV of 1020 bytes: not shown (a version is one or two records of 340 bytes)"},
	    {'ICON', std::string(1000, '\0'),
	     "ICON of 1000 bytes: not shown (an icon of this type is 1024 bytes of colour-map "
	     "indices)"},
	    {'MICN', std::string(1024, '\0'),
	     "MICN of 1024 bytes: not shown (an icon of this type is 256 bytes of colour-map "
	     "indices)"},
	    {'APPF', "ab", "APPF of 2 bytes: not shown (application flags are one 4-byte number)"},
	    {'MSGG', "1BO", "MSGG of 3 bytes: not shown (too short for a message's header)"},
	    {'MSGG', "HMF1" + std::string(20, '\0'),
	     "message of 24 bytes in Haiku's own message format (magic \"HMF1\"): shown as bytes "
	     "only"},
	    {'VICN', "ncix", "VICN of 4 bytes: not shown (a vector icon starts with \"ncif\")"},
	    {'CSTR', "abc", "\"abc\" (no terminating NUL)"},
	    {'RAWT', "abc", "RAWT, 3 bytes: no readable form for this type"},
	};
	for (const auto& entry : cases)
		EXPECT_EQ(Describe(entry.type, entry.bytes), std::vector<std::string>{entry.line});

	// A message or a vector icon cut short shows what it could read.
	const std::string message = Message(false);
	std::vector<std::string> cut = Describe('MSGG', message.substr(0, message.size() - 10));
	ASSERT_GE(cut.size(), 2u);
	EXPECT_EQ(cut[1], "  \"sizes\" LONG, 2 items: -3 70000");
	EXPECT_NE(cut.back().find("the fields end early"), std::string::npos) << cut.back();
	const std::string icon = VectorIcon();
	EXPECT_NE(Describe('VICN', icon.substr(0, 20)).front().find("the data stops at byte 20"),
	          std::string::npos);
}

// Whatever the bytes, every type gives at least one line and reads nothing
// past the data (the address sanitizer watches): random bytes of random
// sizes, and every cut of the valid layouts above.
TEST(ItemDescriptionTest, AnyBytesOfAnyTypeGiveLinesAndStayInTheData)
{
	const type_code types[] = {'MIMS', 'CSTR', 'APPF', 'APPV', 'ICON', 'MICN',
	                           'MSGG', 'VICN', 'LONG', 'DBLE', 'BOOL', 'RAWT'};
	std::mt19937 random(20261209);
	std::vector<std::string> inputs = {Message(false), Message(true), VectorIcon(),
	                                   VersionRecord(true, 1, 2, 3, 9, 4, "s", "l")};
	for (const std::string& valid : std::vector<std::string>(inputs)) {
		for (size_t length = 0; length < valid.size(); length++)
			inputs.push_back(valid.substr(0, length));
	}
	for (int round = 0; round < 2000; round++) {
		std::string bytes(random() % 1100, '\0');
		for (char& byte : bytes)
			byte = char(random() % 4 == 0 ? random() & 0xff : random() % 3);
		if (round % 3 == 0 && bytes.size() >= 4)
			memcpy(bytes.data(), round % 2 == 0 ? "ncif" : "1BOF", 4);
		inputs.push_back(bytes);
	}
	for (const std::string& input : inputs) {
		for (type_code type : types) {
			for (bool bigEndian : {false, true}) {
				const std::vector<std::string> lines = Describe(type, input, bigEndian);
				ASSERT_FALSE(lines.empty());
				for (const std::string& line : lines)
					ASSERT_FALSE(line.empty());
			}
		}
	}
}

// The colour map as data: index, red, green, blue.
std::vector<rgb_color> PaletteFile()
{
	std::ifstream file(kSamples + "/../beos-palette.txt");
	std::vector<rgb_color> colors;
	std::string line;
	while (std::getline(file, line)) {
		if (line.empty() || line[0] == '#')
			continue;
		std::istringstream fields(line);
		int index, red, green, blue;
		fields >> index >> red >> green >> blue;
		if (index == int(colors.size()))
			colors.push_back(rgb_color{uint8(red), uint8(green), uint8(blue), 255});
	}
	return colors;
}

TEST(SystemColorsTest, TheColourMapIsTheBeOSOneAndItsLookUpsAreNearest)
{
	const std::vector<rgb_color> palette = PaletteFile();
	if (palette.empty())
		GTEST_SKIP() << "no colour map file beside " << kSamples;
	ASSERT_EQ(palette.size(), 256u);
	const color_map* map = system_colors();
	auto distance = [](rgb_color a, int red, int green, int blue) {
		return (a.red - red) * (a.red - red) + (a.green - green) * (a.green - green) +
		       (a.blue - blue) * (a.blue - blue);
	};
	for (int index = 0; index < 256; index++) {
		EXPECT_EQ(map->color_list[index], palette[index]) << index;
		const rgb_color color = palette[index];
		const uint8 inverse = map->inversion_map[index];
		for (int other = 0; other < 256; other++)
			ASSERT_LE(
			    distance(palette[inverse], 255 - color.red, 255 - color.green, 255 - color.blue),
			    distance(palette[other], 255 - color.red, 255 - color.green, 255 - color.blue));
	}
	std::mt19937 random(7);
	for (int round = 0; round < 500; round++) {
		const int rgb = int(random() % 32768);
		// Five bits widened to eight by repeating the top bits.
		auto widen = [](int bits) { return (bits << 3) | (bits >> 2); };
		const int red = widen((rgb >> 10) & 31);
		const int green = widen((rgb >> 5) & 31);
		const int blue = widen(rgb & 31);
		const int chosen = distance(palette[map->index_map[rgb]], red, green, blue);
		for (int other = 0; other < 256; other++)
			ASSERT_LE(chosen, distance(palette[other], red, green, blue)) << rgb;
	}
}

// reshost --describe and --icon on the given resource files: the picture's
// every pixel is its index's colour in the colour map file, 255 clear.
TEST(ItemDescriptionTest, DescribeAndIconOnTheGivenResourceFiles)
{
	const std::string inspector = kSamples + "/Inspector.rsrc";
	if (!std::ifstream(inspector))
		GTEST_SKIP() << "no resource samples at " << kSamples;
	ProgramRunner runner;
	const struct
	{
		std::string file;
		std::string item;
		std::vector<std::string> lines;
	} cases[] = {
	    {"BMessengerTestApp1.rsrc", "MIMS:1", {"\"application/x-vnd.obos-bmessenger-testapp1\""}},
	    {"BMessengerTestApp1.rsrc", "APPF:1", {"multiple launch"}},
	    {"Inspector.rsrc",
	     "MICN:101",
	     {"icon 16 x 16 pixels, colour-map indices, 255 transparent"}},
	};
	for (const auto& entry : cases) {
		ProgramResult result = runner.Run({"--describe", entry.item, kSamples + "/" + entry.file});
		EXPECT_EQ(result.exitCode, 0) << result.errors;
		EXPECT_EQ(Lines(result.output), entry.lines) << entry.item;
	}
	// The LONG's four bytes, little-endian, at R 0x7CF: an x86 file's
	// resources header starts at file offset 4.
	const std::string x86 = ProgramRunner::Contents(kSamples + "/x86.rsrc");
	ASSERT_GT(x86.size(), 0x7D3u + 4);
	int32 value;
	memcpy(&value, x86.data() + 0x7D3, 4);
	ProgramResult number = runner.Run({"--describe", "LONG:17", kSamples + "/x86.rsrc"});
	EXPECT_EQ(Lines(number.output), std::vector<std::string>{std::to_string(value)});
	ProgramResult missing = runner.Run({"--describe", "ICON:7", inspector});
	EXPECT_EQ(missing.exitCode, 2);
	EXPECT_EQ(missing.errors, "reshost: no item ICON:7 in the document\n");
	ProgramResult malformed = runner.Run({"--describe", "ICO:101", inspector});
	EXPECT_EQ(malformed.exitCode, 2);
	EXPECT_EQ(Lines(malformed.errors).size(), 1u) << malformed.errors;
	ProgramResult notIcon = runner.Run({"--icon", "APPF:1", runner.Folder() + "/x.png", inspector});
	EXPECT_EQ(notIcon.exitCode, 2);
	EXPECT_NE(notIcon.errors.find("not an icon"), std::string::npos) << notIcon.errors;

	const std::vector<rgb_color> palette = PaletteFile();
	ASSERT_EQ(palette.size(), 256u);
	// The icon's indices as the hex dump shows them, one screen of them.
	for (const auto& [item, side] :
	     {std::make_pair("ICON:101", 32), std::make_pair("MICN:101", 16)}) {
		const std::string png = runner.Folder() + "/icon.png";
		ProgramResult written = runner.Run({"--icon", item, png, inspector});
		ASSERT_EQ(written.exitCode, 0) << written.errors;
		const std::string contents = ProgramRunner::Contents(png);
		png_image image = {};
		image.version = PNG_IMAGE_VERSION;
		ASSERT_TRUE(png_image_begin_read_from_memory(&image, contents.data(), contents.size()));
		image.format = PNG_FORMAT_RGBA;
		std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
		ASSERT_TRUE(png_image_finish_read(&image, NULL, pixels.data(), 0, NULL));
		ASSERT_EQ(image.width, uint32_t(side));
		ASSERT_EQ(image.height, uint32_t(side));

		ProgramResult dump =
		    runner.Run({"--headless", "--item", item == std::string("ICON:101") ? "2" : "3",
		                "--script", "-", "--font-size", "6", "--text", inspector},
		               "resize 2000 2000\n");
		ASSERT_EQ(dump.exitCode, 0) << dump.errors;
		std::vector<uint8_t> indices;
		// Each line: the offset, eight groups of two bytes, the characters.
		for (const std::string& line : Lines(dump.output)) {
			std::istringstream words(line);
			std::string offset, group;
			words >> offset;
			for (int groups = 0; groups < 8 && words >> group; groups++) {
				for (size_t at = 0; at + 1 < group.size(); at += 2)
					indices.push_back(uint8_t(std::stoul(group.substr(at, 2), NULL, 16)));
			}
		}
		ASSERT_EQ(indices.size(), size_t(side * side));
		for (size_t pixel = 0; pixel < indices.size(); pixel++) {
			const uint8_t* rgba = &pixels[pixel * 4];
			if (indices[pixel] == 255) {
				EXPECT_EQ(rgba[3], 0) << pixel;
				continue;
			}
			const rgb_color color = palette[indices[pixel]];
			EXPECT_EQ((std::vector<int>{rgba[0], rgba[1], rgba[2], rgba[3]}),
			          (std::vector<int>{color.red, color.green, color.blue, 255}))
			    << item << " pixel " << pixel;
		}
	}
}

} // namespace
