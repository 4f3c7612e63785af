// BFont: a font description (family, style, size, face) that measures text.
// All fonts measure and render with one face: the FreeType monospace face, or
// the test face when the testing library selects it. A value.
#ifndef _FONT_H
#define _FONT_H

#include <SupportDefs.h>

#define B_FONT_FAMILY_LENGTH 63
#define B_FONT_STYLE_LENGTH 63
typedef char font_family[B_FONT_FAMILY_LENGTH + 1];
typedef char font_style[B_FONT_STYLE_LENGTH + 1];

enum
{
	B_CHAR_SPACING = 0,
	B_STRING_SPACING = 1,
	B_BITMAP_SPACING = 2,
	B_FIXED_SPACING = 3
};

enum font_direction
{
	B_FONT_LEFT_TO_RIGHT = 0,
	B_FONT_RIGHT_TO_LEFT = 1
};

enum
{
	B_DISABLE_ANTIALIASING = 0x00000001,
	B_FORCE_ANTIALIASING = 0x00000002
};

enum
{
	B_FONT_FAMILY_AND_STYLE = 0x00000001,
	B_FONT_SIZE = 0x00000002,
	B_FONT_SHEAR = 0x00000004,
	B_FONT_ROTATION = 0x00000008,
	B_FONT_SPACING = 0x00000010,
	B_FONT_ENCODING = 0x00000020,
	B_FONT_FACE = 0x00000040,
	B_FONT_FLAGS = 0x00000080,
	B_FONT_ALL = 0x000000FF
};

enum
{
	B_ITALIC_FACE = 0x0001,
	B_UNDERSCORE_FACE = 0x0002,
	B_NEGATIVE_FACE = 0x0004,
	B_OUTLINED_FACE = 0x0008,
	B_STRIKEOUT_FACE = 0x0010,
	B_BOLD_FACE = 0x0020,
	B_REGULAR_FACE = 0x0040
};

struct font_height
{
	float ascent;
	float descent;
	float leading;
};

struct escapement_delta
{
	float nonspace;
	float space;
};

class _IMPEXP_BE BFont
{
public:
	// The regular style at the system fonts' size.
	BFont();
	BFont(const BFont* font);

	// B_NAME_NOT_FOUND for a family or style the system does not have; the
	// font is then unchanged. A NULL style picks the family's regular style.
	status_t SetFamilyAndStyle(const font_family family, const font_style style);
	void GetFamilyAndStyle(font_family* family, font_style* style) const;

	void SetSize(float size);
	float Size() const;
	void SetSpacing(uint8 spacing);
	uint8 Spacing() const;
	void SetFace(uint16 face);
	uint16 Face() const;
	void SetFlags(uint32 flags);
	uint32 Flags() const;

	float StringWidth(const char* string) const;
	float StringWidth(const char* string, int32 length) const;
	void GetHeight(font_height* height) const;

private:
	font_family fFamily;
	font_style fStyle;
	float fSize;
	uint8 fSpacing;
	uint16 fFace;
	uint32 fFlags;
};

extern _IMPEXP_BE const BFont* be_fixed_font;

#endif // _FONT_H
