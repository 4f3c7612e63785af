// TestFace's glyphs: the top and bottom rows are solid; the 35 bits between
// them are the character code multiplied by an odd constant modulo 2^35, a
// bijection, so no two characters share a glyph.
#include "TestFace.h"

#include <math.h>

namespace {

const float kAscent = 10;
const float kDescent = 3;
const float kAdvance = 7;
const int32 kGlyphWidth = 5;
const int32 kGlyphHeight = 9;
const uint64 kMiddleMask = (uint64(1) << 35) - 1;

} // namespace

const TestFace& TestFace::Default()
{
	static const TestFace sFace;
	return sFace;
}

font_height TestFace::Height(float) const
{
	return font_height{kAscent, kDescent, 0};
}

float TestFace::StringWidth(const char* text, int32 length, float) const
{
	if (text == NULL || length <= 0)
		return 0;
	const char* end = text + length;
	float width = 0;
	while (text < end) {
		NextCodePoint(text, end);
		width += kAdvance;
	}
	return width;
}

bool TestFace::GlyphBit(uint32 codePoint, int32 x, int32 y)
{
	if (codePoint == ' ' || x < 0 || x >= kGlyphWidth || y < 0 || y >= kGlyphHeight)
		return false;
	if (y == 0 || y == kGlyphHeight - 1)
		return true;
	uint64 bits = (uint64(codePoint) * 0x9e3779b1ull) & kMiddleMask;
	return (bits >> ((y - 1) * kGlyphWidth + x) & 1) != 0;
}

float TestFace::Render(const char* text, int32 length, float, BPoint baseline,
                       const GlyphBlit& blit) const
{
	if (text == NULL || length <= 0)
		return 0;
	const char* end = text + length;
	int32 penX = int32(floorf(baseline.x));
	// The glyph's bottom row lies just above the baseline row, as a FreeType
	// glyph without descender does.
	int32 top = int32(floorf(baseline.y)) - kGlyphHeight;
	float advance = 0;
	const int32 pitch = GlyphPitch(kGlyphWidth);
	uint8 coverage[kGlyphHeight * GlyphPitch(kGlyphWidth)];
	while (text < end) {
		uint32 codePoint = NextCodePoint(text, end);
		if (codePoint != ' ') {
			for (int32 y = 0; y < kGlyphHeight; y++) {
				for (int32 x = 0; x < pitch; x++)
					coverage[y * pitch + x] = GlyphBit(codePoint, x, y) ? 255 : 0;
			}
			const GlyphImage glyph = {penX + 1, top, kGlyphWidth, kGlyphHeight, pitch, coverage};
			blit(&glyph, 1);
		}
		penX += int32(kAdvance);
		advance += kAdvance;
	}
	return advance;
}

const char* TestFace::FamilyName() const
{
	return "Test Face";
}
