// ItemReference: reading TYPE:ID[:NAME].

#include "ItemReference.h"

#include <cstdint>

#include "ItemListing.h"

namespace {

bool IsPrintable(char c)
{
	return c >= 0x20 && c < 0x7f;
}

int HexDigit(char c)
{
	if (c >= '0' && c <= '9')
		return c - '0';
	if (c >= 'a' && c <= 'f')
		return c - 'a' + 10;
	if (c >= 'A' && c <= 'F')
		return c - 'A' + 10;
	return -1;
}

const char* const kTypeForms = "four characters, or 0x and eight hex digits";

// The type at the start of text, as --list prints it; its length in
// length. A type of four characters may hold a colon itself: it is known
// by the colon after it, at index 4.
bool ParseType(const std::string& text, type_code& type, size_t& length, std::string& error)
{
	const std::string typeText =
	    text.substr(0, text.size() > 4 && text[4] == ':' ? 4 : text.find(':'));
	if (typeText.size() == 4) {
		type = 0;
		for (char c : typeText) {
			if (!IsPrintable(c)) {
				error = "the type " + ItemListing::QuotedName(typeText) +
				        " has a character that is not printable ASCII: write it as 0x and "
				        "eight hex digits";
				return false;
			}
			type = (type << 8) | static_cast<unsigned char>(c);
		}
		length = 4;
		return true;
	}
	if (typeText.empty()) {
		error = "the type is empty (" + std::string(kTypeForms) + ")";
		return false;
	}
	if (typeText.compare(0, 2, "0x") != 0 || typeText.size() != 10) {
		error = "the type " + ItemListing::QuotedName(typeText) + " is " +
		        std::to_string(typeText.size()) +
		        (typeText.size() == 1 ? " character" : " characters") + " long (" + kTypeForms +
		        ")";
		return false;
	}
	type = 0;
	for (size_t at = 2; at < typeText.size(); at++) {
		const int digit = HexDigit(typeText[at]);
		if (digit < 0) {
			error = "the type " + ItemListing::QuotedName(typeText) + " has " +
			        ItemListing::QuotedName(typeText.substr(at, 1)) + " where a hex digit belongs";
			return false;
		}
		type = (type << 4) | type_code(digit);
	}
	length = typeText.size();
	return true;
}

// A decimal int32: an optional minus sign and digits, nothing else.
bool ParseId(const std::string& text, int32& id, std::string& error)
{
	if (text.empty()) {
		error = "the id is empty (a decimal number)";
		return false;
	}
	const bool negative = text[0] == '-';
	size_t at = negative ? 1 : 0;
	const int64 limit = negative ? -int64(INT32_MIN) : int64(INT32_MAX);
	int64 value = 0;
	bool outOfRange = false;
	const size_t digitsStart = at;
	for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; at++) {
		value = value * 10 + (text[at] - '0');
		if (value > limit) {
			outOfRange = true;
			value = limit;
		}
	}
	if (at == digitsStart) {
		error = "the id " + ItemListing::QuotedName(text) + " is not a decimal number";
		return false;
	}
	if (at < text.size()) {
		error = "the id " + ItemListing::QuotedName(text) + " has " +
		        ItemListing::QuotedName(text.substr(at)) + " after its number";
		return false;
	}
	if (outOfRange) {
		error = "the id " + text + " is not an int32 (-2147483648 to 2147483647)";
		return false;
	}
	id = int32(negative ? -value : value);
	return true;
}

} // namespace

bool ItemReference::Parse(const std::string& text, ItemReference& reference, std::string& error)
{
	ItemReference parsed;
	size_t typeLength = 0;
	if (!ParseType(text, parsed.type, typeLength, error))
		return false;
	if (typeLength == text.size()) {
		error = "no :ID after the type " + ItemListing::QuotedName(text);
		return false;
	}
	const size_t idStart = typeLength + 1;
	const size_t nameColon = text.find(':', idStart);
	if (!ParseId(text.substr(idStart, nameColon - idStart), parsed.id, error))
		return false;
	if (nameColon != std::string::npos) {
		parsed.hasName = true;
		parsed.name = text.substr(nameColon + 1);
	}
	reference = parsed;
	return true;
}

std::string ItemReference::Text() const
{
	return ItemListing::TypeText(type) + ":" + std::to_string(id) + (hasName ? ":" + name : "");
}
