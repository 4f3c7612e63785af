// SampleItems: the sample document's items.

#include "SampleItems.h"

#include <TypeConstants.h>

std::vector<ResourceFile::Item> SampleItems::Items()
{
	std::string table;
	for (int value = 0; value < 256; value++)
		table += char(value);

	return {
	    {B_STRING_TYPE, 1, "greeting",
	     std::string("Hello from reshost!\nEach byte shows as two hex digits and a character; "
	                 "select with the mouse or Shift+arrows, type to edit.\n") +
	         '\0'},
	    {B_RAW_TYPE, 1, "byte table", table},
	    // 42 as an x86 file stores it: little-endian.
	    {B_INT32_TYPE, 1, "answer", std::string("\x2a\0\0\0", 4)},
	    {B_MIME_STRING_TYPE, 1, "BEOS:APP_SIG",
	     std::string("application/x-vnd.hexdump-reshost") + '\0'},
	    {B_RAW_TYPE, 2, "empty", ""},
	};
}

std::string SampleItems::FileBytes()
{
	ResourceFile file;
	file.SetItems(Items());
	std::string bytes;
	file.Flatten(bytes); // five small items always fit
	return bytes;
}
