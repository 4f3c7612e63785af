// BFont: a description measured through the current face. The system has one
// family, the monospace face's, in a regular and a bold style.
#include <Font.h>

#include "FontFace.h"

#include <cmath>
#include <stdio.h>
#include <string.h>

namespace {

const char* const kFamily = "DejaVu Sans Mono";
const char* const kRegularStyle = "Book";
const char* const kBoldStyle = "Bold";
const float kDefaultSize = 12;
// The system fonts' size: kDefaultSize at 96 dots per inch, scaled with the
// display's, unless the program chose one. Set before windows open.
float sSystemSize = kDefaultSize;
bool sSizeChosen = false;

void CopyName(char* to, const char* from, size_t size)
{
	// Cut to the buffer, always terminated.
	snprintf(to, size, "%s", from);
}

BFont MakeFixedFont()
{
	BFont font;
	font.SetSpacing(B_FIXED_SPACING);
	return font;
}

BFont sFixedFont = MakeFixedFont();

void ResizeSystemFonts(float size)
{
	sSystemSize = size;
	sFixedFont.SetSize(size);
}

} // namespace

namespace BPrivate {

void ChooseSystemFontSize(float size)
{
	sSizeChosen = true;
	ResizeSystemFonts(size);
}

void FollowDisplayDpi(float dotsPerInch)
{
	if (!sSizeChosen && dotsPerInch > 0)
		ResizeSystemFonts(std::round(kDefaultSize * dotsPerInch / 96));
}

} // namespace BPrivate

const BFont* be_fixed_font = &sFixedFont;

BFont::BFont() : fSize(sSystemSize), fSpacing(B_CHAR_SPACING), fFace(B_REGULAR_FACE), fFlags(0)
{
	CopyName(fFamily, kFamily, sizeof(fFamily));
	CopyName(fStyle, kRegularStyle, sizeof(fStyle));
}

BFont::BFont(const BFont* font) : BFont()
{
	if (font != NULL)
		*this = *font;
}

status_t BFont::SetFamilyAndStyle(const font_family family, const font_style style)
{
	if (family != NULL && strcmp(family, kFamily) != 0)
		return B_NAME_NOT_FOUND;
	if (style == NULL)
		style = kRegularStyle;
	if (strcmp(style, kRegularStyle) != 0 && strcmp(style, kBoldStyle) != 0)
		return B_NAME_NOT_FOUND;
	CopyName(fFamily, kFamily, sizeof(fFamily));
	CopyName(fStyle, style, sizeof(fStyle));
	return B_OK;
}

void BFont::GetFamilyAndStyle(font_family* family, font_style* style) const
{
	if (family != NULL)
		CopyName(*family, fFamily, sizeof(font_family));
	if (style != NULL)
		CopyName(*style, fStyle, sizeof(font_style));
}

void BFont::SetSize(float size)
{
	fSize = size;
}

float BFont::Size() const
{
	return fSize;
}

void BFont::SetSpacing(uint8 spacing)
{
	fSpacing = spacing;
}

uint8 BFont::Spacing() const
{
	return fSpacing;
}

void BFont::SetFace(uint16 face)
{
	fFace = face;
}

uint16 BFont::Face() const
{
	return fFace;
}

void BFont::SetFlags(uint32 flags)
{
	fFlags = flags;
}

uint32 BFont::Flags() const
{
	return fFlags;
}

float BFont::StringWidth(const char* string) const
{
	if (string == NULL)
		return 0;
	return StringWidth(string, int32(strlen(string)));
}

float BFont::StringWidth(const char* string, int32 length) const
{
	if (string == NULL || length <= 0)
		return 0;
	return CurrentFontFace().StringWidth(string, length, fSize);
}

void BFont::GetHeight(font_height* height) const
{
	if (height != NULL)
		*height = CurrentFontFace().Height(fSize);
}
