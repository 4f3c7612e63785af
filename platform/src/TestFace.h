// TestFace: a face with exact metrics (ascent 10, descent 3, leading 0,
// advance 7 for every character, at any size) and unantialiased glyphs: a
// 5 x 9 pattern derived from the character code, distinct for every
// character, one column of margin on each side, standing on the baseline. The
// space draws nothing. One instance for the process; stateless, any thread.
#ifndef TEST_FACE_H
#define TEST_FACE_H

#include "FontFace.h"

class TestFace : public FontFace
{
public:
	static const TestFace& Default();

	virtual font_height Height(float size) const;
	virtual float StringWidth(const char* text, int32 length, float size) const;
	virtual float Render(const char* text, int32 length, float size, BPoint baseline,
	                     const GlyphBlit& blit) const;
	virtual const char* FamilyName() const;

	// Whether the glyph of codePoint covers column x (0..4), row y (0..8 from the top).
	static bool GlyphBit(uint32 codePoint, int32 x, int32 y);
};

#endif // TEST_FACE_H
