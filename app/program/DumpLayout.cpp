// DumpLayout: the dump's published layout.

#include "DumpLayout.h"

#include <math.h>

namespace {

const uint32 kBytesPerLine = 16;
const uint32 kBytesPerGroup = 2;
const float kMargin = 3;
const float kGap = 20;
const float kExactLimit = 16777216.0f;	// 2^24

} // namespace


DumpLayout::DumpLayout(const font_height& height, float charWidth)
	:
	fHeight(height),
	fCharWidth(charWidth),
	fLineHeight(float(ceil(double(height.ascent) + height.descent + height.leading)))
{
}


float
DumpLayout::Middle(uint32 offset) const
{
	// Halfway up the glyphs standing on the line's baseline.
	float baseline = float(ceil(double(fHeight.ascent))) + kMargin
		+ fLineHeight * float(offset / kBytesPerLine);
	return baseline - floorf(fHeight.ascent / 2);
}


BPoint
DumpLayout::HexPoint(uint32 offset) const
{
	uint32 column = offset % kBytesPerLine;
	uint32 digit = (column / kBytesPerGroup) * (2 * kBytesPerGroup + 1)
		+ 2 * (column % kBytesPerGroup);
	float hexLeft = kMargin + 8 * fCharWidth + kGap;
	return BPoint(hexLeft + fCharWidth * float(digit) + fCharWidth / 2, Middle(offset));
}


BPoint
DumpLayout::AsciiPoint(uint32 offset) const
{
	float asciiLeft = kMargin + 8 * fCharWidth + kGap + 39 * fCharWidth + kGap;
	return BPoint(asciiLeft + fCharWidth * float(offset % kBytesPerLine) + fCharWidth / 2,
		Middle(offset));
}


uint64
DumpLayout::MaxItemSize() const
{
	// The dump is the lines' height plus both margins; the data may fill
	// every line up to its last byte.
	uint64 lines = uint64((kExactLimit - 2 * kMargin) / fLineHeight);
	return lines * kBytesPerLine - 1;
}
