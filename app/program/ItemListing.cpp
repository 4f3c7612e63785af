// ItemListing: one line of text per item.

#include "ItemListing.h"

#include <DataIO.h>
#include <ResourceItem.h>

#include <cstdio>

namespace {

bool IsPrintable(unsigned char c)
{
	return c >= 0x20 && c < 0x7f;
}

// Control characters as \xHH (UTF-8 beyond ASCII passes through); with
// quotes, also the double quote and the backslash, as \" and \\.
std::string Escape(std::string_view text, bool quotes)
{
	std::string escaped;
	escaped.reserve(text.size());
	for (char byte : text) {
		unsigned char c = static_cast<unsigned char>(byte);
		if (quotes && (c == '"' || c == '\\')) {
			escaped += '\\';
			escaped += byte;
		} else if (c >= 0x20 && c != 0x7f)
			escaped += byte;
		else {
			char hex[5];
			snprintf(hex, sizeof(hex), "\\x%02X", c);
			escaped += hex;
		}
	}
	return escaped;
}

} // namespace

std::string ItemListing::TypeText(type_code type)
{
	std::string text;
	for (int shift = 24; shift >= 0; shift -= 8) {
		unsigned char c = (type >> shift) & 0xff;
		if (!IsPrintable(c)) {
			char hex[11];
			snprintf(hex, sizeof(hex), "0x%08X", (unsigned)type);
			return hex;
		}
		text += char(c);
	}
	return text;
}

std::string ItemListing::QuotedName(const char* name)
{
	return QuotedName(std::string_view(name != NULL ? name : ""));
}

std::string ItemListing::QuotedName(std::string_view text)
{
	return "\"" + Escape(text, true) + "\"";
}

std::string ItemListing::Escaped(const std::string& text)
{
	return Escape(text, false);
}

std::string ItemListing::Line(int32 index, const BResourceItem& item)
{
	return std::to_string(index) + " " + TypeText(item.Type()) + " " + std::to_string(item.ID()) +
	       " " + QuotedName(item.Name()) + " " + std::to_string(item.DataIO().BufferLength());
}
