// FreeTypeFace: the monospace font that fontconfig finds (DejaVu Sans Mono
// preferred, else fontconfig's "monospace"), rendered antialiased by FreeType.
// Each glyph is rasterised once per size and kept for the process. One
// instance, loaded on first use; safe from any thread (a mutex guards FreeType
// and the cache, whose entries never move once made).
#ifndef FREE_TYPE_FACE_H
#define FREE_TYPE_FACE_H

#include "FontFace.h"

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

class FreeTypeFace : public FontFace
{
public:
	static const FreeTypeFace& Default();

	FreeTypeFace();
	virtual ~FreeTypeFace();

	// Whether a font was found and opened; without one the face measures and
	// draws as the test face does (and says so once on stderr).
	bool IsLoaded() const;
	// The font file fontconfig chose.
	const char* FilePath() const;

	virtual font_height Height(float size) const;
	virtual float StringWidth(const char* text, int32 length, float size) const;
	virtual float Render(const char* text, int32 length, float size, BPoint baseline,
	                     const GlyphBlit& blit) const;
	virtual const char* FamilyName() const;

private:
	struct Glyph
	{
		int32 left; // from the pen to the bitmap's first column
		int32 top;  // from the baseline up to the bitmap's first row
		int32 width;
		int32 rows;
		int32 advance;               // in 1/64 pixel
		std::vector<uint8> coverage; // rows of GlyphPitch(width) bytes
	};
	struct Size;

	Size& _SizeFor(float size) const;
	const Glyph& _GlyphFor(Size& size, uint32 codePoint) const;
	const Glyph& _NextGlyph(Size& size, const char*& text, const char* end) const;

	struct FreeTypeState;
	std::unique_ptr<FreeTypeState> fState;
	std::string fFamily;
	std::string fPath;
	mutable std::mutex fLock;
	mutable std::unordered_map<int32, std::unique_ptr<Size>> fSizes; // by size in 1/64 px
};

#endif // FREE_TYPE_FACE_H
