// ItemDescription: the readable forms of the common resource types.

#include "ItemDescription.h"

#include <TypeConstants.h>

#include <cstdio>
#include <cstring>

#include "ItemListing.h"

namespace {

const type_code kMimeStringType = 'MIMS';
const type_code kStringType = 'CSTR';
const type_code kAppFlagsType = 'APPF';
const type_code kAppVersionType = 'APPV';
const type_code kLargeIconType = 'ICON';
const type_code kMiniIconType = 'MICN';
const type_code kMessageType = 'MSGG';
const type_code kVectorIconType = 'VICN';

// version_info: five uint32, short_info[64], long_info[256].
const size_t kVersionInfoSize = 5 * 4 + 64 + 256;

// Reads integers and runs of bytes from data, never past its end: a read
// that does not fit marks the reader failed and gives 0.
class Reader
{
public:
	Reader(const void* data, size_t length, bool bigEndian)
	    : fData(static_cast<const uint8*>(data)), fLength(length), fPosition(0),
	      fBigEndian(bigEndian), fFailed(false)
	{
	}

	uint64 Unsigned(size_t size)
	{
		if (!Fits(size))
			return 0;
		uint64 value = 0;
		for (size_t i = 0; i < size; i++) {
			const size_t at = fBigEndian ? i : size - 1 - i;
			value = (value << 8) | fData[fPosition + at];
		}
		fPosition += size;
		return value;
	}
	uint8 Byte() { return uint8(Unsigned(1)); }
	uint32 Word() { return uint32(Unsigned(4)); }
	const char* Bytes(size_t size)
	{
		if (!Fits(size))
			return NULL;
		const char* start = reinterpret_cast<const char*>(fData + fPosition);
		fPosition += size;
		return start;
	}
	void Skip(size_t size) { Bytes(size); }

	bool Failed() const { return fFailed; }
	size_t Position() const { return fPosition; }
	size_t Left() const { return fLength - fPosition; }
	void SetBigEndian(bool bigEndian) { fBigEndian = bigEndian; }

private:
	bool Fits(size_t size)
	{
		if (fFailed || size > fLength - fPosition) {
			fFailed = true;
			return false;
		}
		return true;
	}

	const uint8* fData;
	size_t fLength;
	size_t fPosition;
	bool fBigEndian;
	bool fFailed;
};

std::string TypeName(type_code type)
{
	return ItemListing::TypeText(type);
}

std::string NotShown(type_code type, size_t length, const std::string& why)
{
	return TypeName(type) + " of " + std::to_string(length) + " bytes: not shown (" + why + ")";
}

// A string of at most size bytes, up to its first NUL, quoted and escaped.
std::string QuotedText(const char* bytes, size_t size)
{
	if (bytes == NULL || size == 0)
		return "\"\"";
	return ItemListing::QuotedName(std::string(bytes, strnlen(bytes, size)).c_str());
}

std::vector<std::string> DescribeString(const char* data, size_t length)
{
	if (length == 0)
		return {"\"\" (empty: no terminating NUL)"};
	const size_t text = strnlen(data, length);
	std::string line = QuotedText(data, length);
	if (text == length)
		line += " (no terminating NUL)";
	else if (text + 1 < length)
		line += " (" + std::to_string(length - text - 1) + " more bytes after the NUL)";
	return {line};
}

std::vector<std::string> DescribeAppFlags(const void* data, size_t length, bool bigEndian)
{
	if (length != 4)
		return {NotShown(kAppFlagsType, length, "application flags are one 4-byte number")};
	Reader reader(data, length, bigEndian);
	const uint32 flags = reader.Word();
	static const char* const kModes[] = {"single launch", "multiple launch", "exclusive launch",
	                                     "launch mode 3 (none defined)"};
	std::string line = kModes[flags & 0x3];
	if ((flags & 0x4) != 0)
		line += ", background app";
	if ((flags & 0x8) != 0)
		line += ", argv only";
	if ((flags & ~uint32(0xf)) != 0) {
		char other[32];
		snprintf(other, sizeof(other), ", other bits 0x%08X", unsigned(flags & ~uint32(0xf)));
		line += other;
	}
	return {line};
}

std::vector<std::string> DescribeAppVersion(const void* data, size_t length, bool bigEndian)
{
	if (length == 0 || length % kVersionInfoSize != 0 || length / kVersionInfoSize > 2) {
		return {NotShown(kAppVersionType, length,
		                 "a version is one or two records of " + std::to_string(kVersionInfoSize) +
		                     " bytes")};
	}
	static const char* const kVarieties[] = {"development", "alpha",         "beta",
	                                         "gamma",       "golden master", "final"};
	static const char* const kWhose[] = {"application", "system"};
	std::vector<std::string> lines;
	Reader reader(data, length, bigEndian);
	for (size_t record = 0; record < length / kVersionInfoSize; record++) {
		const uint32 major = reader.Word();
		const uint32 middle = reader.Word();
		const uint32 minor = reader.Word();
		const uint32 variety = reader.Word();
		const uint32 internal = reader.Word();
		const std::string varietyName =
		    variety < 6 ? std::string(kVarieties[variety]) : "variety " + std::to_string(variety);
		lines.push_back(std::string(kWhose[record]) + " version " + std::to_string(major) + "." +
		                std::to_string(middle) + "." + std::to_string(minor) + " " + varietyName +
		                " (internal " + std::to_string(internal) + ")");
		lines.push_back("  short info " + QuotedText(reader.Bytes(64), 64));
		lines.push_back("  long info " + QuotedText(reader.Bytes(256), 256));
	}
	return lines;
}

std::vector<std::string> DescribeIcon(type_code type, size_t length)
{
	const int32 side = ItemDescription::IconSide(type, length);
	if (side == 0) {
		const size_t want = type == kLargeIconType ? 32 * 32 : 16 * 16;
		return {NotShown(type, length,
		                 "an icon of this type is " + std::to_string(want) +
		                     " bytes of colour-map indices")};
	}
	return {"icon " + std::to_string(side) + " x " + std::to_string(side) +
	        " pixels, colour-map indices, 255 transparent"};
}

// The short form of one item of a field of a simple type, or "" when the
// type has none.
std::string ShortValue(type_code type, Reader& item, size_t size)
{
	char text[64];
	switch (type) {
	case 'BOOL':
		return size == 1 ? (item.Byte() != 0 ? "true" : "false") : "";
	case 'BYTE':
	case 'SHRT':
	case 'LONG':
	case 'LLNG': {
		const size_t bits = type == 'BYTE' ? 8 : type == 'SHRT' ? 16 : type == 'LONG' ? 32 : 64;
		if (size != bits / 8)
			return "";
		uint64 value = item.Unsigned(size);
		// Sign-extended from the field's width.
		if (bits < 64 && (value & (uint64(1) << (bits - 1))) != 0)
			value |= ~uint64(0) << bits;
		return std::to_string(int64(value));
	}
	case 'FLOT': {
		if (size != 4)
			return "";
		const uint32 bits = uint32(item.Unsigned(4));
		float value;
		memcpy(&value, &bits, sizeof(value));
		snprintf(text, sizeof(text), "%g", double(value));
		return text;
	}
	case 'DBLE': {
		if (size != 8)
			return "";
		const uint64 bits = item.Unsigned(8);
		double value;
		memcpy(&value, &bits, sizeof(value));
		snprintf(text, sizeof(text), "%g", value);
		return text;
	}
	case 'TYPE':
		return size == 4 ? "'" + TypeName(item.Word()) + "'" : "";
	case 'CSTR':
	case 'MIMS':
		return QuotedText(item.Bytes(size), size);
	default:
		return "";
	}
}

const size_t kShownValues = 4;

std::vector<std::string> DescribeMessage(const void* data, size_t length)
{
	Reader reader(data, length, true);
	const char* magic = reader.Bytes(4);
	if (magic == NULL)
		return {NotShown(kMessageType, length, "too short for a message's header")};
	if (memcmp(magic, "FOB1", 4) != 0 && memcmp(magic, "1BOF", 4) != 0) {
		std::string kind = "an unknown layout";
		if (memcmp(magic, "HMF1", 4) == 0 || memcmp(magic, "1FMH", 4) == 0)
			kind = "Haiku's own message format";
		else if (memcmp(magic, "FOB2", 4) == 0 || memcmp(magic, "2BOF", 4) == 0)
			kind = "a Dano message";
		return {"message of " + std::to_string(length) + " bytes in " + kind + " (magic " +
		        ItemListing::QuotedName(std::string(magic, 4).c_str()) + "): shown as bytes only"};
	}
	// The magic is a number in the writer's byte order.
	reader.SetBigEndian(memcmp(magic, "FOB1", 4) == 0);
	reader.Word(); // checksum
	const uint32 size = reader.Word();
	const uint32 what = reader.Word();
	const uint8 flags = reader.Byte();
	if (reader.Failed())
		return {NotShown(kMessageType, length, "too short for a message's header")};
	std::vector<std::string> lines;
	lines.push_back("message '" + TypeName(what) + "', " + std::to_string(size) + " bytes");
	if ((flags & 0x02) != 0)
		reader.Skip(4);
	if ((flags & 0x04) != 0)
		reader.Skip(16);

	while (!reader.Failed()) {
		const uint8 fieldFlags = reader.Byte();
		if (reader.Failed() || (fieldFlags & 0x01) == 0)
			break;
		const bool mini = (fieldFlags & 0x02) != 0;
		const bool fixedSize = (fieldFlags & 0x04) != 0;
		const bool single = (fieldFlags & 0x08) != 0;
		const type_code type = reader.Word();
		const uint64 count = single ? 1 : reader.Unsigned(mini ? 1 : 4);
		const uint64 dataSize = reader.Unsigned(mini ? 1 : 4);
		const uint8 nameLength = reader.Byte();
		const char* name = reader.Bytes(nameLength);
		const char* fieldData = reader.Bytes(size_t(dataSize));
		if (reader.Failed())
			break;
		std::string line = "  " + ItemListing::QuotedName(std::string(name, nameLength).c_str()) +
		                   " " + TypeName(type) + ", " + std::to_string(count) +
		                   (count == 1 ? " item" : " items");

		// Fixed-size items lie back to back; others each carry an int32
		// size and padding to a multiple of 8.
		Reader items(fieldData, size_t(dataSize), memcmp(magic, "FOB1", 4) == 0);
		std::vector<std::string> values;
		for (uint64 index = 0; index < count && index < kShownValues && !items.Failed(); index++) {
			size_t itemSize;
			if (fixedSize) {
				if (count == 0 || dataSize % count != 0)
					break;
				itemSize = size_t(dataSize / count);
			} else
				itemSize = size_t(items.Word());
			if (items.Failed() || itemSize > items.Left())
				break;
			Reader item(items.Bytes(itemSize), itemSize, memcmp(magic, "FOB1", 4) == 0);
			const std::string value = ShortValue(type, item, itemSize);
			if (value.empty())
				break;
			values.push_back(value);
			if (!fixedSize)
				items.Skip(std::min(items.Left(), size_t((8 - (4 + itemSize) % 8) % 8)));
		}
		if (!values.empty()) {
			line += ":";
			for (const std::string& value : values)
				line += " " + value;
			if (count > values.size())
				line += " ...";
		}
		lines.push_back(line);
	}
	if (reader.Failed())
		lines.push_back("  (the fields end early: the data stops at byte " +
		                std::to_string(length) + ")");
	return lines;
}

// A coordinate of a vector icon's path: one byte, or two when the first
// has its top bit set.
void SkipCoordinate(Reader& reader)
{
	if ((reader.Byte() & 0x80) != 0)
		reader.Skip(1);
}

std::vector<std::string> DescribeVectorIcon(const void* data, size_t length)
{
	Reader reader(data, length, false);
	const char* magic = reader.Bytes(4);
	if (magic == NULL || memcmp(magic, "ncif", 4) != 0)
		return {NotShown(kVectorIconType, length, "a vector icon starts with \"ncif\"")};

	const uint32 styles = reader.Byte();
	for (uint32 style = 0; style < styles && !reader.Failed(); style++) {
		switch (reader.Byte()) {
		case 1: // a colour with alpha
			reader.Skip(4);
			break;
		case 2: // a colour without alpha
			reader.Skip(3);
			break;
		case 3: { // a gradient: type, flags, stops, maybe a transform
			reader.Byte();
			const uint8 flags = reader.Byte();
			const uint32 stops = reader.Byte();
			if ((flags & 0x02) != 0)
				reader.Skip(6 * 3);
			const bool noAlpha = (flags & 0x04) != 0;
			const size_t colour = (flags & 0x10) != 0 ? (noAlpha ? 1 : 2) : (noAlpha ? 3 : 4);
			reader.Skip(stops * (1 + colour));
			break;
		}
		case 4: // a grey with alpha
			reader.Skip(2);
			break;
		case 5: // a grey without alpha
			reader.Skip(1);
			break;
		default:
			return {"vector icon: " + std::to_string(styles) + " styles (style " +
			        std::to_string(style + 1) + " is of an unknown kind)"};
		}
	}
	const uint32 paths = reader.Byte();
	for (uint32 path = 0; path < paths && !reader.Failed(); path++) {
		const uint8 flags = reader.Byte();
		const uint32 points = reader.Byte();
		if ((flags & 0x04) != 0) {
			// Two bits a command: horizontal line, vertical line, line, curve.
			static const int kCoordinates[] = {1, 1, 2, 6};
			const char* commands = reader.Bytes((points + 3) / 4);
			for (uint32 point = 0; point < points && commands != NULL; point++) {
				const int command = (uint8(commands[point / 4]) >> ((point % 4) * 2)) & 0x3;
				for (int i = 0; i < kCoordinates[command]; i++)
					SkipCoordinate(reader);
			}
		} else {
			const uint32 coordinates = points * ((flags & 0x08) != 0 ? 2 : 6);
			for (uint32 i = 0; i < coordinates && !reader.Failed(); i++)
				SkipCoordinate(reader);
		}
	}
	const uint32 shapes = reader.Byte();
	if (reader.Failed()) {
		return {"vector icon: " + std::to_string(styles) + " styles (the data stops at byte " +
		        std::to_string(length) + ", inside the styles or paths)"};
	}
	return {"vector icon: " + std::to_string(styles) + " styles, " + std::to_string(paths) +
	        " paths, " + std::to_string(shapes) + " shapes"};
}

} // namespace

int32 ItemDescription::IconSide(type_code type, size_t length)
{
	if (type == kLargeIconType && length == 32 * 32)
		return 32;
	if (type == kMiniIconType && length == 16 * 16)
		return 16;
	return 0;
}

type_code ItemDescription::TypeOfContents(const void* data, size_t length)
{
	struct Signature
	{
		const char* bytes;
		size_t length;
		type_code type;
	};
	static const Signature kSignatures[] = {
	    {"\x89PNG\r\n\x1A\n", 8, 'PNG '}, {"GIF87a", 6, 'GIFf'},       {"GIF89a", 6, 'GIFf'},
	    {"\xFF\xD8\xFF", 3, 'JPEG'},      {"ncif", 4, 'VICN'},         {"1BOF", 4, B_MESSAGE_TYPE},
	    {"FOB1", 4, B_MESSAGE_TYPE},      {"HMF1", 4, B_MESSAGE_TYPE}, {"1FMH", 4, B_MESSAGE_TYPE},
	};
	for (const Signature& signature : kSignatures) {
		if (length >= signature.length && memcmp(data, signature.bytes, signature.length) == 0)
			return signature.type;
	}
	return B_RAW_TYPE;
}

std::vector<std::string> ItemDescription::Describe(type_code type, const void* data, size_t length,
                                                   bool bigEndian)
{
	const char* bytes = static_cast<const char*>(data);
	switch (type) {
	case kMimeStringType:
	case kStringType:
		return DescribeString(bytes, length);
	case kAppFlagsType:
		return DescribeAppFlags(data, length, bigEndian);
	case kAppVersionType:
		return DescribeAppVersion(data, length, bigEndian);
	case kLargeIconType:
	case kMiniIconType:
		return DescribeIcon(type, length);
	case kMessageType:
		return DescribeMessage(data, length);
	case kVectorIconType:
		return DescribeVectorIcon(data, length);
	default: {
		// A single number, truth value or type code shows as its value.
		Reader value(data, length, bigEndian);
		const std::string shown = ShortValue(type, value, length);
		if (!shown.empty())
			return {shown};
		return {TypeName(type) + ", " + std::to_string(length) +
		        " bytes: no readable form for this type"};
	}
	}
}
