// FontFace: measures and renders UTF-8 text at a pixel size. Two faces exist,
// the FreeType monospace face and the test face; both live for the process and
// may be used from any thread.
#ifndef FONT_FACE_H
#define FONT_FACE_H

#include <Font.h>
#include <Point.h>
#include <SupportDefs.h>

#include <functional>

// One rendered glyph placed in pixels: rows x width coverage values (0 for
// none, 255 for full), row by row, its first pixel at (left, top). Each row
// takes pitch bytes, a multiple of kGlyphPitchStep; the bytes past width are
// 0, so that a blit can take a row eight pixels at a time.
const int32 kGlyphPitchStep = 8;

struct GlyphImage
{
	int32 left;
	int32 top;
	int32 width;
	int32 rows;
	int32 pitch;
	const uint8* coverage;
};

// The pitch of a glyph row of width pixels.
inline int32 GlyphPitch(int32 width)
{
	return (width + kGlyphPitchStep - 1) / kGlyphPitchStep * kGlyphPitchStep;
}

// Paints count placed glyphs.
typedef std::function<void(const GlyphImage* glyphs, int32 count)> GlyphBlit;

class FontFace
{
public:
	virtual ~FontFace();

	// Ascent, descent and leading at size pixels.
	virtual font_height Height(float size) const = 0;
	virtual float StringWidth(const char* text, int32 length, float size) const = 0;
	// Hands the glyphs with ink to blit in text order, the pen starting at
	// baseline: whole glyphs, a batch of them a call, so that painting
	// costs row copies rather than a call per pixel or per glyph. The images
	// are valid during the call. Returns the pen advance.
	virtual float Render(const char* text, int32 length, float size, BPoint baseline,
	                     const GlyphBlit& blit) const = 0;
	// The family the face presents, e.g. "DejaVu Sans Mono".
	virtual const char* FamilyName() const = 0;

protected:
	// Decodes the UTF-8 character at text (before end) and moves past it; a
	// malformed byte counts as one character (U+FFFD).
	static uint32 NextCodePoint(const char*& text, const char* end);
};

// The test face while selected (see SelectTestFontFace), else FreeType.
const FontFace& CurrentFontFace();

namespace BPrivate {
// Switches every font between the test face and the FreeType face.
void SelectTestFontFace(bool useTestFace);
// The size of the system fonts (be_fixed_font and a new BFont): chosen by
// the program, or else following the display's dots per inch, 12 at 96. Called before any window
// opens.
void ChooseSystemFontSize(float size);
void FollowDisplayDpi(float dotsPerInch);
} // namespace BPrivate

#endif // FONT_FACE_H
