// SampleItems: the built-in sample document that reshost opens when no file
// is named, a resource document of several types: a text, a table of every
// byte value 0 to 255, a 32-bit number, an application signature, and an
// empty item. Also written out as a resource file (--write-sample). Plain
// data.
#ifndef SAMPLE_ITEMS_H
#define SAMPLE_ITEMS_H

#include <string>
#include <vector>

#include "ResourceFile.h"

class SampleItems
{
public:
	static std::vector<ResourceFile::Item> Items();
	// The items as an x86 resource file.
	static std::string FileBytes();
};

#endif // SAMPLE_ITEMS_H
