// IconImage: a B_CMAP8 icon's pixels as RGBA through the system colour map
// (index 255 fully transparent, every other index its colour, opaque), and
// as the bytes of a PNG file. Plain functions; any thread.
#ifndef ICON_IMAGE_H
#define ICON_IMAGE_H

#include <GraphicsDefs.h>
#include <SupportDefs.h>

#include <string>
#include <vector>

class IconImage
{
public:
	// side x side pixels, rows top to bottom, from side * side indices.
	static std::vector<rgb_color> Pixels(const void* indices, int32 side);

	// A PNG file (8-bit RGBA) of the pixels; B_ERROR when libpng fails.
	static status_t EncodePng(const std::vector<rgb_color>& pixels, int32 width, int32 height,
	                          std::string& png);
};

#endif // ICON_IMAGE_H
