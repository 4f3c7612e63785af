// The dump's layout constants and the rounded font quantities that every
// part of HexDumpView lays its lines out with: one place, so that painting,
// hit testing, the outline and the cursor cannot drift apart.
#ifndef HEX_DUMP_LAYOUT_H
#define HEX_DUMP_LAYOUT_H

#include <Font.h>
#include <SupportDefs.h>

#include <math.h>

namespace HexDumpLayout {

const uint32 kBytesPerLine = 16;
// Left, top, right and bottom margin of the dump.
const float kMargin = 3;
// Between the offset and hex columns, and between the hex and character ones.
const float kColumnGap = 20;

// The font quantities are rounded up to whole pixels, each from the float
// sum taken in double precision.
inline float
LineHeightOf(const font_height& height)
{
	return float(ceil(double(height.ascent + height.descent + height.leading)));
}

inline float
AscentPixels(const font_height& height)
{
	return float(ceil(double(height.ascent)));
}

// The depth of a line box below its baseline.
inline float
LineDepth(const font_height& height)
{
	return float(ceil(double(height.descent + height.leading)));
}

} // namespace HexDumpLayout

#endif // HEX_DUMP_LAYOUT_H
