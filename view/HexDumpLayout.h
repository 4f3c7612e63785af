// The dump's layout constants, the rounded font quantities and the places
// of the columns and of each byte's text that every part of HexDumpView
// lays its lines out with: one place, so that painting, hit testing, the
// outline and the cursor cannot drift apart. Pure arithmetic on the font's
// metrics and character width, so the host program can aim at bytes and
// bound the item size with the very same numbers.
#ifndef HEX_DUMP_LAYOUT_H
#define HEX_DUMP_LAYOUT_H

#include <Font.h>
#include <Point.h>
#include <SupportDefs.h>

#include <math.h>

namespace HexDumpLayout {

const uint32 kBytesPerLine = 16;
// Left, top, right and bottom margin of the dump.
const float kMargin = 3;
// Between the offset and hex columns, and between the hex and character ones.
const float kColumnGap = 20;
// Bytes shown together as one group of hex digits.
const uint32 kDefaultBytesPerGroup = 2;
// Below this every whole number, each line's baseline among them, is exact
// in a float.
const float kExactFloatLimit = 16777216.0f; // 2^24

// The font quantities are rounded up to whole pixels, each from the float
// sum taken in double precision.
inline float LineHeightOf(const font_height& height)
{
	return float(ceil(double(height.ascent + height.descent + height.leading)));
}

inline float AscentPixels(const font_height& height)
{
	return float(ceil(double(height.ascent)));
}

// The depth of a line box below its baseline.
inline float LineDepth(const font_height& height)
{
	return float(ceil(double(height.descent + height.leading)));
}

// The column edges, from the width of one character (the font is fixed).
// The offset column holds eight digits; the hex column two digits a byte
// and a space after each group but the last.
inline float HexColumnLeft(float charWidth)
{
	return charWidth * 8 + kMargin + kColumnGap;
}

inline float HexColumnWidth(float charWidth, uint32 bytesPerGroup)
{
	return charWidth * float(kBytesPerLine / bytesPerGroup + 2 * kBytesPerLine - 1);
}

inline float AsciiColumnLeft(float charWidth, uint32 bytesPerGroup)
{
	return HexColumnLeft(charWidth) + HexColumnWidth(charWidth, bytesPerGroup) + kColumnGap;
}

inline float BaselineOf(uint32 line, const font_height& height)
{
	return AscentPixels(height) + kMargin + LineHeightOf(height) * float(line);
}

// Where the byte's hex text starts on its line's baseline; with lowDigit,
// where its second digit starts.
inline BPoint HexTextOrigin(uint32 offset, bool lowDigit, const font_height& height,
                            float charWidth, uint32 bytesPerGroup)
{
	const uint32 column = offset % kBytesPerLine;
	const uint32 digit =
	    column / bytesPerGroup * (2 * bytesPerGroup + 1) + 2 * (column % bytesPerGroup);
	BPoint origin(HexColumnLeft(charWidth) + charWidth * float(digit),
	              BaselineOf(offset / kBytesPerLine, height));
	if (lowDigit)
		origin.x += charWidth;
	return origin;
}

// Where the byte's character starts on its line's baseline.
inline BPoint AsciiTextOrigin(uint32 offset, const font_height& height, float charWidth,
                              uint32 bytesPerGroup)
{
	return BPoint(AsciiColumnLeft(charWidth, bytesPerGroup) +
	                  charWidth * float(offset % kBytesPerLine),
	              BaselineOf(offset / kBytesPerLine, height));
}

// The largest data size whose lines, the one holding the end of the data
// included, and both margins stay below kExactFloatLimit pixels.
inline uint64 MaxExactDataSize(const font_height& height)
{
	const uint64 lines = uint64((kExactFloatLimit - 2 * kMargin) / LineHeightOf(height));
	return lines * kBytesPerLine - 1;
}

} // namespace HexDumpLayout

#endif // HEX_DUMP_LAYOUT_H
