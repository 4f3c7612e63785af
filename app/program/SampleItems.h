// SampleItems: the built-in sample document that reshost opens when no file
// is named: a short text, a table of every byte value 0 to 255, and an empty
// item. Plain data.
#ifndef SAMPLE_ITEMS_H
#define SAMPLE_ITEMS_H

#include <string>
#include <vector>

class SampleItems
{
public:
	struct Item
	{
		std::string name;
		std::string bytes;
	};

	static std::vector<Item> Items();
};

#endif // SAMPLE_ITEMS_H
