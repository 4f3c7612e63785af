// The face choice and UTF-8 decoding shared by the faces.
#include "FontFace.h"

#include "FreeTypeFace.h"
#include "TestFace.h"

#include <atomic>

namespace {

std::atomic<bool> sUseTestFace(false);

} // namespace

FontFace::~FontFace() {}

uint32 FontFace::NextCodePoint(const char*& text, const char* end)
{
	const uint32 kReplacement = 0xfffd;
	uint8 first = uint8(*text++);
	if (first < 0x80)
		return first;
	int32 extra;
	uint32 codePoint;
	if ((first & 0xe0) == 0xc0) {
		extra = 1;
		codePoint = first & 0x1f;
	} else if ((first & 0xf0) == 0xe0) {
		extra = 2;
		codePoint = first & 0x0f;
	} else if ((first & 0xf8) == 0xf0) {
		extra = 3;
		codePoint = first & 0x07;
	} else {
		return kReplacement;
	}
	if (end - text < extra)
		return kReplacement;
	for (int32 i = 0; i < extra; i++) {
		if ((uint8(text[i]) & 0xc0) != 0x80)
			return kReplacement;
	}
	for (int32 i = 0; i < extra; i++)
		codePoint = codePoint << 6 | (uint8(*text++) & 0x3f);
	return codePoint;
}

const FontFace& CurrentFontFace()
{
	if (sUseTestFace.load())
		return TestFace::Default();
	return FreeTypeFace::Default();
}

namespace BPrivate {

void SelectTestFontFace(bool useTestFace)
{
	sUseTestFace.store(useTestFace);
}

} // namespace BPrivate
