// FreeTypeFace: fontconfig picks the file, FreeType loads it once; each size
// gets its own FT_Size and glyph cache.
#include "FreeTypeFace.h"

#include "TestFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>

#include <math.h>
#include <stdio.h>

struct FreeTypeFace::FreeTypeState
{
	FT_Library library = NULL;
	FT_Face face = NULL;
};

struct FreeTypeFace::Size
{
	FT_Size size = NULL;
	font_height height = {0, 0, 0};
	std::unordered_map<FT_UInt, Glyph> glyphs; // by glyph index
	// The glyphs of the ASCII characters by code point, found without
	// asking FreeType for the glyph index again; NULL until first used.
	const Glyph* ascii[128] = {};
};

namespace {

// Light hinting keeps the shapes and gives whole-pixel advances, so the
// characters of a line fall on a regular grid.
const FT_Int32 kLoadFlags = FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT;
// Glyphs handed to the blit a call: a line of the dump in one or two.
const int32 kRenderBatch = 48;

int32 SizeKey(float size)
{
	return std::max(int32(lroundf(size * 64)), int32(64));
}

// Asks fontconfig for the preferred family, falling back to its "monospace".
bool FindFontFile(std::string& path, int& index)
{
	FcConfig* config = FcInitLoadConfigAndFonts();
	if (config == NULL)
		return false;
	FcPattern* pattern = FcPatternCreate();
	FcPatternAddString(pattern, FC_FAMILY, (const FcChar8*)"DejaVu Sans Mono");
	FcPatternAddString(pattern, FC_FAMILY, (const FcChar8*)"monospace");
	FcPatternAddInteger(pattern, FC_SPACING, FC_MONO);
	FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
	FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
	FcConfigSubstitute(config, pattern, FcMatchPattern);
	FcDefaultSubstitute(pattern);
	FcResult result;
	FcPattern* match = FcFontMatch(config, pattern, &result);
	bool found = false;
	if (match != NULL) {
		FcChar8* file = NULL;
		if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
			path = (const char*)file;
			if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch)
				index = 0;
			found = true;
		}
		FcPatternDestroy(match);
	}
	FcPatternDestroy(pattern);
	FcConfigDestroy(config);
	return found;
}

} // namespace

const FreeTypeFace& FreeTypeFace::Default()
{
	static const FreeTypeFace sFace;
	return sFace;
}

FreeTypeFace::FreeTypeFace() : fState(new FreeTypeState)
{
	int index = 0;
	const char* problem = NULL;
	if (!FindFontFile(fPath, index))
		problem = "fontconfig found no monospace font";
	else if (FT_Init_FreeType(&fState->library) != 0)
		problem = "FreeType did not initialise";
	else if (FT_New_Face(fState->library, fPath.c_str(), index, &fState->face) != 0)
		problem = "FreeType could not open the font";
	if (problem != NULL) {
		fprintf(stderr, "libbe: %s (%s); text uses the built-in test face\n", problem,
		        fPath.empty() ? "no file" : fPath.c_str());
		if (fState->library != NULL)
			FT_Done_FreeType(fState->library);
		fState->library = NULL;
		return;
	}
	fFamily = fState->face->family_name != NULL ? fState->face->family_name : "";
}

FreeTypeFace::~FreeTypeFace()
{
	// FT_Done_Face releases the sizes made for it.
	fSizes.clear();
	if (fState->face != NULL)
		FT_Done_Face(fState->face);
	if (fState->library != NULL)
		FT_Done_FreeType(fState->library);
}

bool FreeTypeFace::IsLoaded() const
{
	return fState->face != NULL;
}

const char* FreeTypeFace::FilePath() const
{
	return fPath.c_str();
}

font_height FreeTypeFace::Height(float size) const
{
	if (!IsLoaded())
		return TestFace::Default().Height(size);
	std::lock_guard<std::mutex> guard(fLock);
	return _SizeFor(size).height;
}

// Called with fLock held: the glyph of the character at text, which moves
// past it. An ASCII character seen before is one table lookup.
inline const FreeTypeFace::Glyph& FreeTypeFace::_NextGlyph(Size& size, const char*& text,
                                                           const char* end) const
{
	const uint8 lead = uint8(*text);
	if (lead < 128 && size.ascii[lead] != NULL) {
		text++;
		return *size.ascii[lead];
	}
	return _GlyphFor(size, NextCodePoint(text, end));
}

float FreeTypeFace::StringWidth(const char* text, int32 length, float size) const
{
	if (!IsLoaded())
		return TestFace::Default().StringWidth(text, length, size);
	if (text == NULL || length <= 0)
		return 0;
	std::lock_guard<std::mutex> guard(fLock);
	Size& sized = _SizeFor(size);
	const char* end = text + length;
	int64 width = 0;
	while (text < end)
		width += _NextGlyph(sized, text, end).advance;
	return width / 64.0f;
}

float FreeTypeFace::Render(const char* text, int32 length, float size, BPoint baseline,
                           const GlyphBlit& blit) const
{
	if (!IsLoaded())
		return TestFace::Default().Render(text, length, size, baseline, blit);
	if (text == NULL || length <= 0)
		return 0;
	// Held while plotting too: plot only touches pixels, never this face.
	std::lock_guard<std::mutex> guard(fLock);
	Size& sized = _SizeFor(size);
	const char* end = text + length;
	// The pen in 1/64 pixel, as FreeType gives advances: whole numbers
	// add up exactly and turn into pixels without a float conversion.
	const int64 penX = int64(floorf(baseline.x)) * 64;
	const int32 baseY = int32(floorf(baseline.y));
	int64 advance = 0;
	GlyphImage batch[kRenderBatch];
	int32 count = 0;
	while (text < end) {
		const Glyph& glyph = _NextGlyph(sized, text, end);
		if (glyph.width > 0 && glyph.rows > 0) {
			batch[count++] = GlyphImage{int32((penX + advance) / 64) + glyph.left,
			                            baseY - glyph.top,
			                            glyph.width,
			                            glyph.rows,
			                            GlyphPitch(glyph.width),
			                            glyph.coverage.data()};
			if (count == kRenderBatch) {
				blit(batch, count);
				count = 0;
			}
		}
		advance += glyph.advance;
	}
	if (count > 0)
		blit(batch, count);
	return advance / 64.0f;
}

const char* FreeTypeFace::FamilyName() const
{
	if (!IsLoaded())
		return TestFace::Default().FamilyName();
	return fFamily.c_str();
}

// Called with fLock held.
FreeTypeFace::Size& FreeTypeFace::_SizeFor(float size) const
{
	int32 key = SizeKey(size);
	auto found = fSizes.find(key);
	if (found != fSizes.end())
		return *found->second;

	std::unique_ptr<Size> sized(new Size);
	FT_Face face = fState->face;
	if (FT_New_Size(face, &sized->size) == 0) {
		FT_Activate_Size(sized->size);
		FT_Set_Char_Size(face, 0, key, 72, 72);
		const FT_Size_Metrics& metrics = face->size->metrics;
		float ascent = metrics.ascender / 64.0f;
		float descent = -metrics.descender / 64.0f;
		float leading = std::max(0.0f, metrics.height / 64.0f - ascent - descent);
		sized->height = font_height{ascent, descent, leading};
	}
	Size& result = *sized;
	fSizes.emplace(key, std::move(sized));
	return result;
}

// Called with fLock held. A glyph FreeType cannot load is kept as an empty
// one, so it is not retried on every string.
const FreeTypeFace::Glyph& FreeTypeFace::_GlyphFor(Size& size, uint32 codePoint) const
{
	// The ASCII glyphs already found are _NextGlyph's to look up.
	const bool ascii = codePoint < 128;
	FT_Face face = fState->face;
	FT_UInt index = FT_Get_Char_Index(face, codePoint);
	auto found = size.glyphs.find(index);
	if (found != size.glyphs.end()) {
		if (ascii)
			size.ascii[codePoint] = &found->second;
		return found->second;
	}

	Glyph glyph = {0, 0, 0, 0, 0, {}};
	if (size.size != NULL && FT_Activate_Size(size.size) == 0 &&
	    FT_Load_Glyph(face, index, kLoadFlags) == 0 &&
	    FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) == 0) {
		FT_GlyphSlot slot = face->glyph;
		const FT_Bitmap& bitmap = slot->bitmap;
		glyph.left = slot->bitmap_left;
		glyph.top = slot->bitmap_top;
		glyph.width = int32(bitmap.width);
		glyph.rows = int32(bitmap.rows);
		glyph.advance = int32(slot->advance.x);
		const int32 pitch = GlyphPitch(glyph.width);
		glyph.coverage.assign(size_t(pitch) * glyph.rows, 0);
		for (int32 y = 0; y < glyph.rows; y++) {
			const uint8* row = bitmap.buffer + ptrdiff_t(y) * bitmap.pitch;
			std::copy(row, row + glyph.width, glyph.coverage.begin() + ptrdiff_t(y) * pitch);
		}
	}
	const Glyph& made = size.glyphs.emplace(index, std::move(glyph)).first->second;
	if (ascii)
		size.ascii[codePoint] = &made;
	return made;
}
