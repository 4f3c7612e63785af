// FontFace: measures and renders UTF-8 text at a pixel size. Two faces exist,
// the FreeType monospace face and the test face; both live for the process and
// may be used from any thread.
#ifndef FONT_FACE_H
#define FONT_FACE_H

#include <Font.h>
#include <Point.h>
#include <SupportDefs.h>

#include <functional>

class FontFace
{
public:
	virtual ~FontFace();

	// Ascent, descent and leading at size pixels.
	virtual font_height Height(float size) const = 0;
	virtual float StringWidth(const char* text, int32 length, float size) const = 0;
	// Calls plot(x, y, coverage 1..255) for every covered pixel, the pen
	// starting at baseline. Returns the pen advance.
	virtual float
	Render(const char* text, int32 length, float size, BPoint baseline,
	       const std::function<void(int32 x, int32 y, uint8 coverage)>& plot) const = 0;
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
} // namespace BPrivate

#endif // FONT_FACE_H
