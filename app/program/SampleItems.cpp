// SampleItems: the sample document's items.

#include "SampleItems.h"

std::vector<SampleItems::Item> SampleItems::Items()
{
	std::string table;
	for (int value = 0; value < 256; value++)
		table += char(value);

	return {
	    {"greeting", "Hello from reshost!\nEach byte shows as two hex digits and a "
	                 "character; select with the mouse or Shift+arrows, type to edit.\n"},
	    {"byte table", table},
	    {"empty", ""},
	};
}
