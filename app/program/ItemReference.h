// ItemReference: an item as a user names it on the command line,
// TYPE:ID[:NAME]. TYPE is written as --list prints it: four printable
// ASCII characters (a colon among them too), or 0x and eight hex digits;
// ID is a decimal int32; NAME, where given, is the rest of the text after
// the colon that ends the id, colons included (BEOS:APP_SIG). Plain data;
// any thread.
#ifndef ITEM_REFERENCE_H
#define ITEM_REFERENCE_H

#include <SupportDefs.h>

#include <string>

struct ItemReference
{
	type_code type = 0;
	int32 id = 0;
	bool hasName = false;
	std::string name;

	// Reads text into reference; false with error saying, in one line,
	// what is wrong (an empty type, one of the wrong length or with a bad
	// hex digit, an id that is no int32 or has junk after it).
	static bool Parse(const std::string& text, ItemReference& reference, std::string& error);

	// TYPE:ID (and :NAME when it has one), as Parse reads it.
	std::string Text() const;
};

#endif // ITEM_REFERENCE_H
