// ItemListing: how reshost names an item in one line of text, for --list:
// its index from 1, its type code as four characters (hex when one is not
// printable), its id, its name in quotes and its size in bytes. Plain
// functions; any thread that may read the item.
#ifndef ITEM_LISTING_H
#define ITEM_LISTING_H

#include <SupportDefs.h>

#include <string>
#include <string_view>

class BResourceItem;

class ItemListing
{
public:
	// 'CSTR' as CSTR; 0x01020304 as 0x01020304.
	static std::string TypeText(type_code type);
	// The name in double quotes; quotes, backslashes and control characters
	// escaped as \" \\ \xHH.
	static std::string QuotedName(const char* name);
	// The same for any text, NUL bytes included (as \x00).
	static std::string QuotedName(std::string_view text);
	// The text with its control characters escaped as \xHH, so that it
	// stays on one line of a terminal, a title or the status line.
	static std::string Escaped(const std::string& text);
	// "1 CSTR 74 "a string resource" 35"
	static std::string Line(int32 index, const BResourceItem& item);
};

#endif // ITEM_LISTING_H
