// The dump's layout: one Sizes value, filled by ComputeSizes from the font's
// metrics, the character width and the group size, holds the rounded font
// quantities and every column edge that HexDumpView lays its lines out
// with; painting, hit testing, the outline, the cursor and scrolling all
// read it, so they cannot drift apart. Pure arithmetic, so the host
// program can aim at bytes and bound the item size with the very same
// numbers.
#ifndef HEX_DUMP_LAYOUT_H
#define HEX_DUMP_LAYOUT_H

#include <Font.h>
#include <Point.h>
#include <SupportDefs.h>

#include <math.h>

namespace HexDumpLayout {

const uint32 kBytesPerLine = 16;
// The offset column shows offsets as this many hex digits.
const uint32 kOffsetDigits = 8;
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

// The geometry of the dump for one font and group size. Line n holds the
// offsets 16n to 16n + 15; x grows to the right through the offset, hex
// and character columns.
struct Sizes
{
	uint32 bytesPerGroup;
	float charWidth;
	float ascent;
	float depth;
	float lineHeight;

	// The offset column holds the offset digits; the hex column two digits
	// a byte and a space after each group but the last; the character
	// column one character a byte.
	float offsetWidth;
	float hexWidth;
	float asciiWidth;

	float hexLeft;
	float hexRight;
	// A full line's hex text ends with a space after its last group too.
	float hexTextRight;
	// Where hit testing passes from the hex side to the character side:
	// a margin into the gap between the two columns.
	float columnSplit;
	float asciiLeft;
	float asciiRight;
	// The whole dump, from the view's left edge to the right margin.
	float width;

	float Baseline(uint32 line) const { return ascent + kMargin + lineHeight * float(line); }

	// The first and the last row of the line box around a baseline; the
	// boxes of consecutive lines follow each other without gap or overlap.
	float BoxTop(float baseline) const { return baseline + depth - lineHeight; }
	float BoxBottom(float baseline) const { return baseline + depth - 1; }

	// Lines stacked between the top and the bottom margin.
	float Height(uint32 lines) const { return lineHeight * float(lines) + 2 * kMargin; }

	// Where the byte's hex text starts on its line's baseline; with
	// lowDigit, where its second digit starts.
	BPoint HexTextOrigin(uint32 offset, bool lowDigit) const
	{
		const uint32 column = offset % kBytesPerLine;
		const uint32 digit =
		    column / bytesPerGroup * (2 * bytesPerGroup + 1) + 2 * (column % bytesPerGroup);
		BPoint origin(hexLeft + charWidth * float(digit), Baseline(offset / kBytesPerLine));
		if (lowDigit)
			origin.x += charWidth;
		return origin;
	}

	// Where the byte's character starts on its line's baseline.
	BPoint AsciiTextOrigin(uint32 offset) const
	{
		return BPoint(asciiLeft + charWidth * float(offset % kBytesPerLine),
		              Baseline(offset / kBytesPerLine));
	}
};

inline Sizes ComputeSizes(const font_height& height, float charWidth, uint32 bytesPerGroup)
{
	Sizes sizes;
	sizes.bytesPerGroup = bytesPerGroup;
	sizes.charWidth = charWidth;
	sizes.ascent = AscentPixels(height);
	sizes.depth = LineDepth(height);
	sizes.lineHeight = LineHeightOf(height);

	sizes.offsetWidth = charWidth * float(kOffsetDigits);
	sizes.hexWidth = charWidth * float(kBytesPerLine / bytesPerGroup + 2 * kBytesPerLine - 1);
	sizes.asciiWidth = charWidth * float(kBytesPerLine);

	sizes.hexLeft = sizes.offsetWidth + kMargin + kColumnGap;
	sizes.hexRight = sizes.hexLeft + sizes.hexWidth;
	sizes.hexTextRight = sizes.hexRight + charWidth;
	sizes.columnSplit = sizes.hexRight + kMargin;
	sizes.asciiLeft = sizes.hexRight + kColumnGap;
	sizes.asciiRight = sizes.asciiLeft + sizes.asciiWidth;
	sizes.width = sizes.asciiRight + kMargin;
	return sizes;
}

// The same places for callers that hold only the font and character width,
// as the host program's driver does.
inline float BaselineOf(uint32 line, const font_height& height)
{
	return ComputeSizes(height, 0, kDefaultBytesPerGroup).Baseline(line);
}

inline BPoint HexTextOrigin(uint32 offset, bool lowDigit, const font_height& height,
                            float charWidth, uint32 bytesPerGroup)
{
	return ComputeSizes(height, charWidth, bytesPerGroup).HexTextOrigin(offset, lowDigit);
}

inline BPoint AsciiTextOrigin(uint32 offset, const font_height& height, float charWidth,
                              uint32 bytesPerGroup)
{
	return ComputeSizes(height, charWidth, bytesPerGroup).AsciiTextOrigin(offset);
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
