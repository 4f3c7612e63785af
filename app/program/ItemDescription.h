// ItemDescription: what the bytes of the common resource types mean, as
// lines of text: strings and signatures, application flags and versions,
// icons, flattened messages and vector icon headers. Every read is bounded
// by the data: bytes that do not fit the type's layout give the type, the
// size and the reason instead. Plain functions; any thread.
#ifndef ITEM_DESCRIPTION_H
#define ITEM_DESCRIPTION_H

#include <SupportDefs.h>

#include <string>
#include <vector>

class ItemDescription
{
public:
	// The readable form of data of type; integers inside it are read in the
	// byte order of the file it came from (bigEndian for PPC files).
	static std::vector<std::string> Describe(type_code type, const void* data, size_t length,
	                                         bool bigEndian);

	// The side in pixels of a square B_CMAP8 icon of type with length
	// bytes (32 for ICON, 16 for MICN), or 0 when the bytes are no icon.
	static int32 IconSide(type_code type, size_t length);

	// The type an item of these bytes takes when a file is dropped: what
	// its first bytes say (a PNG, GIF or JPEG picture, a vector icon, a
	// flattened message), else B_RAW_TYPE.
	static type_code TypeOfContents(const void* data, size_t length);
};

#endif // ITEM_DESCRIPTION_H
