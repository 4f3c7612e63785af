// Colours, patterns, drawing modes and colour spaces of the Interface Kit.
#ifndef _GRAPHICS_DEFS_H
#define _GRAPHICS_DEFS_H

#include <SupportDefs.h>

// Eight rows of eight bits: a set bit paints the high colour, a clear one the
// low. The stand-in draws with the two solid patterns only.
struct pattern
{
	uint8 data[8];

	bool operator==(const pattern& other) const
	{
		for (int i = 0; i < 8; i++) {
			if (data[i] != other.data[i])
				return false;
		}
		return true;
	}
};

extern _IMPEXP_BE const pattern B_SOLID_HIGH;
extern _IMPEXP_BE const pattern B_SOLID_LOW;

struct rgb_color
{
	uint8 red;
	uint8 green;
	uint8 blue;
	uint8 alpha;

	bool operator==(const rgb_color& other) const
	{
		return red == other.red && green == other.green && blue == other.blue &&
		       alpha == other.alpha;
	}
	bool operator!=(const rgb_color& other) const { return !(*this == other); }
};

extern _IMPEXP_BE const rgb_color B_TRANSPARENT_COLOR;
#define B_TRANSPARENT_32_BIT B_TRANSPARENT_COLOR
// The index of B_CMAP8 pixels that are transparent.
extern _IMPEXP_BE const uint8 B_TRANSPARENT_MAGIC_CMAP8;

// The colours of B_CMAP8 pixels: each index's colour, the index of each
// colour's inverse, and the index nearest to each 15-bit colour (5 bits
// of red, green and blue, red highest).
typedef struct color_map
{
	int32 id;
	rgb_color color_list[256];
	uint8 inversion_map[256];
	uint8 index_map[32768];
} color_map;

enum drawing_mode
{
	B_OP_COPY,
	B_OP_OVER,
	B_OP_ERASE,
	B_OP_INVERT,
	B_OP_ADD,
	B_OP_SUBTRACT,
	B_OP_BLEND,
	B_OP_MIN,
	B_OP_MAX,
	B_OP_SELECT,
	B_OP_ALPHA
};

enum source_alpha
{
	B_PIXEL_ALPHA = 0,
	B_CONSTANT_ALPHA
};

enum alpha_function
{
	B_ALPHA_OVERLAY = 0,
	B_ALPHA_COMPOSITE
};

enum color_space
{
	B_NO_COLOR_SPACE = 0x0000,

	B_RGB32 = 0x0008,  // memory order: blue, green, red, unused
	B_RGBA32 = 0x2008, // memory order: blue, green, red, alpha
	B_RGB24 = 0x0003,
	B_RGB16 = 0x0005,
	B_RGB15 = 0x0010,
	B_RGBA15 = 0x2010,
	B_CMAP8 = 0x0004, // one byte a pixel into the system colour map
	B_GRAY8 = 0x0002,
	B_GRAY1 = 0x0001,

	B_RGB32_BIG = 0x1008,
	B_RGBA32_BIG = 0x3008,
	B_RGB24_BIG = 0x1003,
	B_RGB16_BIG = 0x1005,
	B_RGB15_BIG = 0x1010,
	B_RGBA15_BIG = 0x3010,

	B_RGB32_LITTLE = B_RGB32,
	B_RGBA32_LITTLE = B_RGBA32,
	B_RGB24_LITTLE = B_RGB24,
	B_RGB16_LITTLE = B_RGB16,
	B_RGB15_LITTLE = B_RGB15,
	B_RGBA15_LITTLE = B_RGBA15
};

#endif // _GRAPHICS_DEFS_H
