// Painter: every operation walks the clip's rectangles, so each pixel is
// tested against the clip once per rectangle instead of once per pixel; text
// is painted a glyph image at a time, row by row, in the same way.
#include "Painter.h"

#include "FontFace.h"
#include "PixelGrid.h"

#include <algorithm>

#include <string.h>

using BPrivate::Intersection;
using BPrivate::IsEmpty;
using BPrivate::PixelOf;
using BPrivate::PixelsOf;
using BPrivate::RectOf;

namespace {

uint8 Mix(uint8 from, uint8 to, uint8 coverage)
{
	return uint8((from * (255 - coverage) + to * coverage + 127) / 255);
}

rgb_color Mix(rgb_color from, rgb_color to, uint8 coverage)
{
	return rgb_color{Mix(from.red, to.red, coverage), Mix(from.green, to.green, coverage),
	                 Mix(from.blue, to.blue, coverage), Mix(from.alpha, to.alpha, coverage)};
}

// Fills a row with wide stores: memset where the pixel's four bytes are
// equal (white, black without alpha), otherwise a few pixels one at a time
// and then the filled part copied onto the rest, doubling. Either way the
// library stores 32 or 64 bytes at a time, where a loop over 4-byte pixels
// stores 4 (or 16 where the compiler vectorises it).
void FillRow(uint32* row, size_t count, uint32 pixel)
{
	const uint8 byte = uint8(pixel);
	if (pixel == byte * 0x01010101u) {
		memset(row, byte, count * sizeof(uint32));
		return;
	}
	const size_t start = std::min<size_t>(count, 16);
	for (size_t x = 0; x < start; x++)
		row[x] = pixel;
	for (size_t filled = start; filled < count;) {
		const size_t copied = std::min(filled, count - filled);
		memcpy(row + filled, row, copied * sizeof(uint32));
		filled += copied;
	}
}

// The pixel that each coverage value gives between two colours, as Mix
// computes it. Text in B_OP_COPY blends every glyph pixel between the same
// low and high colours, and a view draws with few pairs of them (the text,
// a tinted label, a selection), so each drawing thread keeps the tables of
// its last few pairs instead of mixing every pixel's channels anew.
class BlendTables
{
public:
	const uint32* For(rgb_color low, rgb_color high)
	{
		const uint32 lowPixel = PixelBuffer::ToPixel(low);
		const uint32 highPixel = PixelBuffer::ToPixel(high);
		for (Table& table : fTables) {
			if (table.filled && table.low == lowPixel && table.high == highPixel)
				return table.pixels;
		}
		Table& table = fTables[fNext];
		fNext = (fNext + 1) % kCount;
		table.low = lowPixel;
		table.high = highPixel;
		for (int32 coverage = 0; coverage < 256; coverage++)
			table.pixels[coverage] = PixelBuffer::ToPixel(Mix(low, high, uint8(coverage)));
		table.filled = true;
		return table.pixels;
	}

private:
	static const int32 kCount = 4;
	struct Table
	{
		bool filled = false;
		uint32 low = 0;
		uint32 high = 0;
		uint32 pixels[256];
	};
	Table fTables[kCount];
	int32 fNext = 0;
};

thread_local BlendTables sBlendTables;

} // namespace

Painter::Painter(PixelBuffer& buffer, const BRegion& clip)
    : fBuffer(buffer),
      fClip(clip), fBounds{0, 0, buffer.Width() - 1, buffer.Height() - 1}, fTouched{0, 0, -1, -1}
{
}

Painter::Painter(PixelBuffer& buffer, BRegion&& clip)
    : fBuffer(buffer), fOwnClip(std::move(clip)),
      fClip(fOwnClip), fBounds{0, 0, buffer.Width() - 1, buffer.Height() - 1}, fTouched{0, 0, -1,
                                                                                        -1}
{
}

template <typename Paint> void Painter::_ForEachRun(clipping_rect rect, Paint paint)
{
	rect = Intersection(rect, fBounds);
	if (IsEmpty(rect))
		return;
	const int32 count = fClip.CountRects();
	for (int32 i = 0; i < count; i++) {
		const clipping_rect run = Intersection(rect, fClip.RectAtInt(i));
		if (IsEmpty(run))
			continue;
		for (int32 y = run.top; y <= run.bottom; y++)
			paint(y, run.left, run.right);
		_Touch(run);
	}
}

void Painter::FillRect(BRect rect, rgb_color color)
{
	const uint32 pixel = PixelBuffer::ToPixel(color);
	_ForEachRun(PixelsOf(rect), [&](int32 y, int32 left, int32 right) {
		FillRow(fBuffer.Row(y) + left, size_t(right - left + 1), pixel);
	});
}

void Painter::InvertRect(BRect rect)
{
	_ForEachRun(PixelsOf(rect), [&](int32 y, int32 left, int32 right) {
		uint32* row = fBuffer.Row(y);
		for (int32 x = left; x <= right; x++)
			row[x] ^= 0x00ffffff;
	});
}

void Painter::StrokeLine(BPoint from, BPoint to, rgb_color color)
{
	const uint32 pixel = PixelBuffer::ToPixel(color);
	BPrivate::WalkLine(from, to, [&](int32 x, int32 y) {
		if (_Visible(x, y)) {
			fBuffer.Row(y)[x] = pixel;
			_Touch(clipping_rect{x, y, x, y});
		}
	});
}

float Painter::DrawString(const char* text, int32 length, BPoint baseline, float size,
                          rgb_color high, rgb_color low, drawing_mode mode)
{
	if (text == NULL || length <= 0)
		return 0;
	// Everything the blit needs sits in one struct, so the callback captures
	// two pointers and std::function need not allocate for each string.
	struct Context
	{
		Painter* painter;
		clipping_rect frame; // rejects glyphs outside the clip at once
		// The clip is the one rectangle frame (the usual case): each glyph
		// is cut to it directly and the painted area noted once per string.
		bool oneRect;
		clipping_rect painted;
		rgb_color high;
		const uint32* blend; // B_OP_COPY: the pixel for each coverage value
	} context{this,
	          Intersection(fClip.FrameInt(), fBounds),
	          fClip.CountRects() == 1,
	          clipping_rect{0, 0, -1, -1},
	          high,
	          mode == B_OP_COPY ? sBlendTables.For(low, high) : NULL};
	// Any glyph: cut to the clip, pixel by pixel. Returns the area to note
	// as painted (empty when nothing was, or the clip's runs noted it).
	auto paintGlyph = [c = &context](const GlyphImage& glyph) {
		const clipping_rect area{glyph.left, glyph.top, glyph.left + glyph.width - 1,
		                         glyph.top + glyph.rows - 1};
		const clipping_rect seen = Intersection(area, c->frame);
		const clipping_rect nothing = {0, 0, -1, -1};
		if (IsEmpty(seen))
			return nothing;
		auto paintRow = [&](int32 y, int32 left, int32 right) {
			// The glyph's row, indexed from the glyph's own left edge.
			const uint8* coverage =
			    glyph.coverage + ptrdiff_t(y - glyph.top) * glyph.pitch + (left - glyph.left);
			const int32 count = right - left + 1;
			uint32* row = c->painter->fBuffer.Row(y) + left;
			if (c->blend != NULL) {
				for (int32 x = 0; x < count; x++) {
					if (coverage[x] != 0)
						row[x] = c->blend[coverage[x]];
				}
				return;
			}
			for (int32 x = 0; x < count; x++) {
				if (coverage[x] != 0)
					row[x] = PixelBuffer::ToPixel(
					    Mix(PixelBuffer::ToColor(row[x]), c->high, coverage[x]));
			}
		};
		if (!c->oneRect) {
			c->painter->_ForEachRun(seen, paintRow);
			return nothing;
		}
		for (int32 y = seen.top; y <= seen.bottom; y++)
			paintRow(y, seen.left, seen.right);
		return seen;
	};
	auto blit = [c = &context, &paintGlyph](const GlyphImage* glyphs, int32 count) {
		// A glyph wholly inside a one-rectangle clip (the usual case), in
		// B_OP_COPY, goes eight pixels of a row at a time, a fixed count the
		// compiler unrolls; the zero padding past its width paints nothing.
		// Locals, since a pixel store could alias the fields they come from.
		const bool wholeGlyphs = c->oneRect && c->blend != NULL;
		const clipping_rect frame = c->frame;
		const int32 lastColumn = c->painter->fBounds.right;
		const uint32* blend = c->blend;
		PixelBuffer& buffer = c->painter->fBuffer;
		const ptrdiff_t stride = buffer.Width();
		clipping_rect painted = c->painted;
		for (const GlyphImage* glyph = glyphs; glyph < glyphs + count; glyph++) {
			const int32 right = glyph->left + glyph->width - 1;
			const int32 bottom = glyph->top + glyph->rows - 1;
			const int32 pitch = glyph->pitch;
			if (!wholeGlyphs || glyph->left < frame.left || right > frame.right ||
			    glyph->top < frame.top || bottom > frame.bottom ||
			    glyph->left + pitch - 1 > lastColumn) {
				painted = BPrivate::BoundingBox(painted, paintGlyph(*glyph));
				continue;
			}
			const uint8* coverage = glyph->coverage;
			uint32* row = buffer.Row(glyph->top) + glyph->left;
			for (int32 y = glyph->top; y <= bottom; y++, coverage += pitch, row += stride) {
				for (int32 chunk = 0; chunk < pitch; chunk += kGlyphPitchStep) {
#pragma GCC unroll 8
					for (int32 x = chunk; x < chunk + kGlyphPitchStep; x++) {
						if (coverage[x] != 0)
							row[x] = blend[coverage[x]];
					}
				}
			}
			painted = BPrivate::BoundingBox(painted,
			                                clipping_rect{glyph->left, glyph->top, right, bottom});
		}
		c->painted = painted;
	};
	BPoint pen(PixelOf(baseline.x), PixelOf(baseline.y));
	const float advance = CurrentFontFace().Render(text, length, size, pen, blit);
	if (!IsEmpty(context.painted))
		_Touch(context.painted);
	return advance;
}

void Painter::CopyPixels(const PixelBuffer& source, BRect sourceRect, BPoint destLeftTop)
{
	clipping_rect from = PixelsOf(sourceRect);
	from.left = std::max(from.left, int32(0));
	from.top = std::max(from.top, int32(0));
	from.right = std::min(from.right, source.Width() - 1);
	from.bottom = std::min(from.bottom, source.Height() - 1);
	// The destination of the source pixels that exist; the offset maps back.
	int32 offsetX = PixelOf(destLeftTop.x) - PixelOf(sourceRect.left);
	int32 offsetY = PixelOf(destLeftTop.y) - PixelOf(sourceRect.top);
	clipping_rect to{from.left + offsetX, from.top + offsetY, from.right + offsetX,
	                 from.bottom + offsetY};
	if (IsEmpty(from))
		return;
	// Copying within one buffer (scrolling) must not read pixels it has
	// already overwritten: copy from a snapshot of the source area then.
	PixelBuffer snapshot;
	const PixelBuffer* origin = &source;
	if (&source == &fBuffer) {
		snapshot.Resize(from.right - from.left + 1, from.bottom - from.top + 1);
		for (int32 y = from.top; y <= from.bottom; y++) {
			memcpy(snapshot.Row(y - from.top), source.Row(y) + from.left,
			       size_t(snapshot.Width()) * sizeof(uint32));
		}
		origin = &snapshot;
		offsetX += from.left;
		offsetY += from.top;
	}
	_ForEachRun(to, [&](int32 y, int32 left, int32 right) {
		const uint32* sourceRow = origin->Row(y - offsetY) + (left - offsetX);
		memcpy(fBuffer.Row(y) + left, sourceRow, size_t(right - left + 1) * sizeof(uint32));
	});
}

bool Painter::_Visible(int32 x, int32 y) const
{
	return x >= fBounds.left && x <= fBounds.right && y >= fBounds.top && y <= fBounds.bottom &&
	       fClip.Contains(x, y);
}

BRect Painter::Touched() const
{
	if (fTouched.left > fTouched.right)
		return BRect();
	return RectOf(fTouched);
}

void Painter::_Touch(const clipping_rect& rect)
{
	fTouched = BPrivate::BoundingBox(fTouched, rect);
}
