// DumpLayout: where the hex dump editor places its lines and bytes, as the
// host sees it from the outside: offset column of 8 characters, hex column
// of 39 (groups of two bytes), character column of 16, margins of 3 pixels
// and gaps of 20, one line a ceil(ascent + descent + leading) pixels. The
// host uses it to aim scripted mouse presses at bytes and to find the
// largest item whose line positions stay exact in float coordinates. The add-
// on's code is hidden inside its image, so the host cannot ask the view.
// Plain computation on given font metrics.
#ifndef DUMP_LAYOUT_H
#define DUMP_LAYOUT_H

#include <Font.h>
#include <Point.h>
#include <SupportDefs.h>

class DumpLayout {
public:
	DumpLayout(const font_height& height, float charWidth);

	float LineHeight() const { return fLineHeight; }

	// A point in the middle of the byte's first hex digit, or of its
	// character, in the dump view's coordinates.
	BPoint HexPoint(uint32 offset) const;
	BPoint AsciiPoint(uint32 offset) const;

	// The largest data size whose every line, the one holding the end of the
	// data included, stays below 2^24 pixels, where floats still hold every
	// whole number exactly.
	uint64 MaxItemSize() const;

private:
	float Middle(uint32 offset) const;

	font_height fHeight;
	float fCharWidth;
	float fLineHeight;
};

#endif // DUMP_LAYOUT_H
