// Painter: paints into a PixelBuffer. Coordinates are the buffer's pixels,
// mapped to them as PixelGrid.h says: an integer is a pixel centre, rectangles
// include their right and bottom edges, fractional coordinates round to the
// nearest pixel. Every operation is clipped to the clip region (in buffer
// pixels) and the buffer. A short-lived object on the stack of the drawing
// thread.
#ifndef PAINTER_H
#define PAINTER_H

#include <GraphicsDefs.h>
#include <Point.h>
#include <Rect.h>
#include <Region.h>

#include "PixelBuffer.h"

class Painter
{
public:
	// Paints through clip, which must outlive the painter: a drawing call
	// paints through its view's region without copying it.
	Painter(PixelBuffer& buffer, const BRegion& clip);
	// Keeps a clip built for the painter alone.
	Painter(PixelBuffer& buffer, BRegion&& clip);

	void FillRect(BRect rect, rgb_color color);
	// Each of red, green, blue becomes 255 - c; alpha is kept.
	void InvertRect(BRect rect);
	// One pixel wide, both end points included.
	void StrokeLine(BPoint from, BPoint to, rgb_color color);
	// Text in CurrentFontFace(); baseline is the left end of the baseline.
	// B_OP_COPY: a pixel of coverage a becomes mix(low, high, a); B_OP_OVER and
	// every other mode: mix(existing pixel, high, a). Pixels of coverage 0 are
	// untouched in every mode. Returns the pen advance.
	float DrawString(const char* text, int32 length, BPoint baseline, float size, rgb_color high,
	                 rgb_color low, drawing_mode mode);
	// 1:1 copy of source's sourceRect to destLeftTop (B_OP_COPY).
	void CopyPixels(const PixelBuffer& source, BRect sourceRect, BPoint destLeftTop);

	// Bounding box of the pixels this painter changed; invalid if none.
	BRect Touched() const;
	// The same in whole pixels; empty when nothing was painted.
	clipping_rect TouchedPixels() const { return fTouched; }

private:
	// Calls paint(row, left, right) for each run of visible pixels of rect.
	template <typename Paint> void _ForEachRun(clipping_rect rect, Paint paint);
	bool _Visible(int32 x, int32 y) const;
	void _Touch(const clipping_rect& rect);

	PixelBuffer& fBuffer;
	BRegion fOwnClip;      // a clip given to the painter to keep
	const BRegion& fClip;  // the caller's clip, or fOwnClip
	clipping_rect fBounds; // the buffer's pixels, which cut every clip rectangle
	clipping_rect fTouched;
};

#endif // PAINTER_H
