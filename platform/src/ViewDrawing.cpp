// BView's drawing calls. Each maps the view's drawing coordinates (origin
// included) to the pixels of its window or bitmap, clips to the view's
// visible region, its constrained clipping and, inside Draw, the update
// area, and paints with a Painter. Every call is recorded while a drawing
// record lives.
#include <View.h>

#include <Bitmap.h>
#include <Window.h>

#include "KitAccess.h"
#include "Painter.h"
#include "TestHooks.h"
#include "ViewTree.h"

#include <math.h>
#include <string.h>

#include <algorithm>
#include <functional>

using BPrivate::DrawState;
using BPrivate::KitAccess;
using BPrivate::ViewState;
using BPrivate::WindowState;
using PlatformTesting::DrawCall;

namespace {

int32 Round(float value)
{
	return int32(floorf(value + 0.5f));
}

// Where drawing lands: the pixels, the clip in them, and the offset from
// drawing coordinates to pixels.
struct Surface
{
	WindowState* window = NULL;
	PixelBuffer* pixels = NULL;
	BRegion clip;
	BPoint offset;
};

bool OpenSurface(ViewState& state, Surface& surface)
{
	if (state.window == NULL)
		return false;
	WindowState& window = KitAccess::State(state.window);
	if (window.pixels == NULL)
		return false;
	BPrivate::UpdateGeometry(state);
	surface.window = &window;
	surface.pixels = window.pixels;
	surface.clip = state.visible;

	// Each saved state's origin adds to the ones before it, and each clipping
	// is in the coordinates of its state.
	BPoint origin = state.windowOffset;
	auto narrow = [&](const DrawState& draw) {
		origin += draw.origin;
		if (draw.clipped) {
			BRegion clipping = draw.clipping;
			clipping.OffsetBy(Round(origin.x), Round(origin.y));
			surface.clip.IntersectWith(&clipping);
		}
	};
	for (const DrawState& saved : state.saved)
		narrow(saved);
	narrow(state.draw);
	surface.offset = origin;
	if (window.drawingView == state.self)
		surface.clip.IntersectWith(&window.updateRegion);
	return true;
}

void Finish(Surface& surface, const Painter& painter)
{
	BPrivate::PixelsChanged(*surface.window, painter.Touched());
}

DrawCall MakeCall(const ViewState& state, DrawCall::Kind kind)
{
	DrawCall call{};
	call.kind = kind;
	call.view = state.self;
	call.viewName = state.self->Name();
	call.inBitmap = state.window != NULL && KitAccess::State(state.window).offscreen;
	call.high = state.draw.high;
	call.low = state.draw.low;
	call.color = state.draw.high;
	call.mode = state.draw.mode;
	call.origin = state.draw.origin;
	return call;
}

void Record(const ViewState& state, DrawCall::Kind kind, const std::function<void(DrawCall&)>& fill)
{
	if (!BPrivate::DrawingLogActive())
		return;
	DrawCall call = MakeCall(state, kind);
	fill(call);
	BPrivate::LogDrawCall(call);
}

// One pattern bit's worth of painting on a rectangle of pixels. Only
// B_OP_COPY paints the low bits of a pattern; in every other mode they are
// transparent. Of the high bits, B_OP_INVERT inverts, B_OP_ERASE paints the
// low colour and the other modes paint the high colour.
void PaintBits(Painter& painter, BRect pixels, bool high, const DrawState& draw)
{
	if (!high) {
		if (draw.mode == B_OP_COPY)
			painter.FillRect(pixels, draw.low);
		return;
	}
	switch (draw.mode) {
	case B_OP_INVERT:
		painter.InvertRect(pixels);
		break;
	case B_OP_ERASE:
		painter.FillRect(pixels, draw.low);
		break;
	default:
		painter.FillRect(pixels, draw.high);
		break;
	}
}

// The colour a pattern gives a pixel, true for the high colour. Patterns
// repeat every eight pixels of the window.
bool PatternBit(const pattern& p, int32 x, int32 y)
{
	return (p.data[y & 7] & (0x80 >> (x & 7))) != 0;
}

void PaintPattern(Surface& surface, Painter& painter, BRect pixels, const pattern& p,
                  const DrawState& draw)
{
	if (p == B_SOLID_HIGH || p == B_SOLID_LOW) {
		PaintBits(painter, pixels, p == B_SOLID_HIGH, draw);
		return;
	}
	int32 left = std::max(Round(pixels.left), int32(0));
	int32 top = std::max(Round(pixels.top), int32(0));
	int32 right = std::min(Round(pixels.right), surface.pixels->Width() - 1);
	int32 bottom = std::min(Round(pixels.bottom), surface.pixels->Height() - 1);
	for (int32 y = top; y <= bottom; y++) {
		for (int32 x = left; x <= right; x++)
			PaintBits(painter, BRect(x, y, x, y), PatternBit(p, x, y), draw);
	}
}

// Calls plot for every pixel of the line from a to b, both ends included.
void WalkLine(BPoint a, BPoint b, const std::function<void(int32 x, int32 y)>& plot)
{
	int32 x = Round(a.x);
	int32 y = Round(a.y);
	int32 endX = Round(b.x);
	int32 endY = Round(b.y);
	int32 dx = abs(endX - x);
	int32 dy = -abs(endY - y);
	int32 stepX = x < endX ? 1 : -1;
	int32 stepY = y < endY ? 1 : -1;
	int32 error = dx + dy;
	for (;;) {
		plot(x, y);
		if (x == endX && y == endY)
			break;
		int32 twice = 2 * error;
		if (twice >= dy) {
			error += dy;
			x += stepX;
		}
		if (twice <= dx) {
			error += dx;
			y += stepY;
		}
	}
}

// Strokes a line in window pixels with the view's pen, pattern and mode.
void PaintLine(Surface& surface, Painter& painter, BPoint a, BPoint b, const pattern& p,
               const DrawState& draw)
{
	int32 size = std::max(int32(1), Round(draw.penSize));
	bool solid = p == B_SOLID_HIGH || p == B_SOLID_LOW;
	if (size == 1 && solid && draw.mode != B_OP_INVERT) {
		bool high = p == B_SOLID_HIGH;
		if (!high && draw.mode != B_OP_COPY)
			return;
		rgb_color color = high && draw.mode != B_OP_ERASE ? draw.high : draw.low;
		painter.StrokeLine(a, b, color);
		return;
	}
	// A wide pen stamps a square at every point; the union is painted once,
	// so inverting modes touch each pixel once.
	BRegion covered;
	int32 before = (size - 1) / 2;
	WalkLine(a, b, [&](int32 x, int32 y) {
		covered.Include(
		    BRect(x - before, y - before, x - before + size - 1, y - before + size - 1));
	});
	for (int32 i = 0; i < covered.CountRects(); i++)
		PaintPattern(surface, painter, covered.RectAt(i), p, draw);
}

} // namespace

void BView::StrokeLine(BPoint toPoint, pattern p)
{
	StrokeLine(fState->draw.pen, toPoint, p);
}

void BView::StrokeLine(BPoint fromPoint, BPoint toPoint, pattern p)
{
	Record(*fState, DrawCall::kStrokeLine, [&](DrawCall& call) {
		call.start = fromPoint;
		call.end = toPoint;
		call.color = p == B_SOLID_LOW ? fState->draw.low : fState->draw.high;
	});
	fState->draw.pen = toPoint;
	Surface surface;
	if (!OpenSurface(*fState, surface))
		return;
	Painter painter(*surface.pixels, surface.clip);
	PaintLine(surface, painter, fromPoint + surface.offset, toPoint + surface.offset, p,
	          fState->draw);
	Finish(surface, painter);
}

void BView::StrokeRect(BRect rect, pattern p)
{
	Record(*fState, DrawCall::kStrokeRect, [&](DrawCall& call) {
		call.rect = rect;
		call.color = p == B_SOLID_LOW ? fState->draw.low : fState->draw.high;
	});
	Surface surface;
	if (!rect.IsValid() || !OpenSurface(*fState, surface))
		return;
	BRect r = rect.OffsetByCopy(surface.offset);
	float width = std::max(1, Round(fState->draw.penSize)) - 1;
	BRegion edges;
	edges.Include(BRect(r.left, r.top, r.right, std::min(r.top + width, r.bottom)));
	edges.Include(BRect(r.left, std::max(r.bottom - width, r.top), r.right, r.bottom));
	edges.Include(BRect(r.left, r.top, std::min(r.left + width, r.right), r.bottom));
	edges.Include(BRect(std::max(r.right - width, r.left), r.top, r.right, r.bottom));
	Painter painter(*surface.pixels, surface.clip);
	for (int32 i = 0; i < edges.CountRects(); i++)
		PaintPattern(surface, painter, edges.RectAt(i), p, fState->draw);
	Finish(surface, painter);
}

void BView::FillRect(BRect rect, pattern p)
{
	Record(*fState, DrawCall::kFillRect, [&](DrawCall& call) {
		call.rect = rect;
		call.color = p == B_SOLID_LOW ? fState->draw.low : fState->draw.high;
	});
	Surface surface;
	if (!rect.IsValid() || !OpenSurface(*fState, surface))
		return;
	Painter painter(*surface.pixels, surface.clip);
	PaintPattern(surface, painter, rect.OffsetByCopy(surface.offset), p, fState->draw);
	Finish(surface, painter);
}

void BView::FillRegion(BRegion* region, pattern p)
{
	if (region == NULL)
		return;
	Record(*fState, DrawCall::kFillRegion, [&](DrawCall& call) {
		call.rect = region->Frame();
		call.color = p == B_SOLID_LOW ? fState->draw.low : fState->draw.high;
	});
	Surface surface;
	if (!OpenSurface(*fState, surface))
		return;
	Painter painter(*surface.pixels, surface.clip);
	for (int32 i = 0; i < region->CountRects(); i++) {
		PaintPattern(surface, painter, region->RectAt(i).OffsetByCopy(surface.offset), p,
		             fState->draw);
	}
	Finish(surface, painter);
}

void BView::InvertRect(BRect rect)
{
	Record(*fState, DrawCall::kInvertRect, [&](DrawCall& call) { call.rect = rect; });
	Surface surface;
	if (!rect.IsValid() || !OpenSurface(*fState, surface))
		return;
	Painter painter(*surface.pixels, surface.clip);
	painter.InvertRect(rect.OffsetByCopy(surface.offset));
	Finish(surface, painter);
}

void BView::BeginLineArray(int32 count)
{
	if (count <= 0)
		return;
	fState->lines.clear();
	fState->lines.reserve(count);
	fState->lineCapacity = count;
}

void BView::AddLine(BPoint start, BPoint end, rgb_color color)
{
	if (int32(fState->lines.size()) >= fState->lineCapacity)
		return;
	fState->lines.push_back({start, end, color});
}

void BView::EndLineArray()
{
	if (fState->lineCapacity < 0)
		return;
	std::vector<ViewState::Line> lines;
	lines.swap(fState->lines);
	fState->lineCapacity = -1;
	for (const ViewState::Line& line : lines) {
		Record(*fState, DrawCall::kStrokeLine, [&](DrawCall& call) {
			call.start = line.start;
			call.end = line.end;
			call.color = line.color;
		});
	}
	Surface surface;
	if (!OpenSurface(*fState, surface))
		return;
	Painter painter(*surface.pixels, surface.clip);
	// Each line in its own colour: a one-pixel pen of the line's colour.
	DrawState draw = fState->draw;
	draw.penSize = 1;
	for (const ViewState::Line& line : lines) {
		draw.high = line.color;
		if (draw.mode == B_OP_ERASE)
			draw.mode = B_OP_COPY;
		PaintLine(surface, painter, line.start + surface.offset, line.end + surface.offset,
		          B_SOLID_HIGH, draw);
	}
	Finish(surface, painter);
}

void BView::DrawString(const char* string, escapement_delta* delta)
{
	DrawString(string, fState->draw.pen, delta);
}

void BView::DrawString(const char* string, BPoint point, escapement_delta* delta)
{
	if (string == NULL)
		return;
	DrawString(string, int32(strlen(string)), point, delta);
}

void BView::DrawString(const char* string, int32 length, escapement_delta* delta)
{
	DrawString(string, length, fState->draw.pen, delta);
}

void BView::DrawString(const char* string, int32 length, BPoint point, escapement_delta* delta)
{
	if (string == NULL || length <= 0)
		return;
	length = int32(strnlen(string, size_t(length)));
	Record(*fState, DrawCall::kDrawString, [&](DrawCall& call) {
		call.start = point;
		call.text.assign(string, size_t(length));
	});

	const DrawState& draw = fState->draw;
	float size = draw.font.Size();
	bool spaced = delta != NULL && (delta->nonspace != 0 || delta->space != 0);
	Surface surface;
	bool drawn = OpenSurface(*fState, surface);
	float advance = 0;
	if (drawn) {
		Painter painter(*surface.pixels, surface.clip);
		if (!spaced) {
			advance = painter.DrawString(string, length, point + surface.offset, size, draw.high,
			                             draw.low, draw.mode);
		} else {
			// Extra room after each character, as the escapement asks.
			for (int32 i = 0; i < length;) {
				int32 bytes = 1;
				while (i + bytes < length && (uint8(string[i + bytes]) & 0xc0) == 0x80)
					bytes++;
				advance += painter.DrawString(string + i, bytes,
				                              point + surface.offset + BPoint(advance, 0), size,
				                              draw.high, draw.low, draw.mode);
				advance += string[i] == ' ' ? delta->space : delta->nonspace;
				i += bytes;
			}
		}
		Finish(surface, painter);
	} else {
		advance = draw.font.StringWidth(string, length);
		if (spaced) {
			for (int32 i = 0; i < length; i++) {
				if ((uint8(string[i]) & 0xc0) != 0x80)
					advance += string[i] == ' ' ? delta->space : delta->nonspace;
			}
		}
	}
	fState->draw.pen = point + BPoint(advance, 0);
}

void BView::DrawBitmap(const BBitmap* bitmap, BRect sourceRect, BRect destRect)
{
	if (bitmap == NULL || KitAccess::Pixels(bitmap) == NULL)
		return;
	Record(*fState, DrawCall::kDrawBitmap, [&](DrawCall& call) {
		call.rect = destRect;
		call.source = sourceRect;
	});
	Surface surface;
	if (!sourceRect.IsValid() || !destRect.IsValid() || !OpenSurface(*fState, surface))
		return;
	const PixelBuffer& source = *KitAccess::Pixels(bitmap);
	BRect dest = destRect.OffsetByCopy(surface.offset);
	Painter painter(*surface.pixels, surface.clip);
	drawing_mode mode = fState->draw.mode;
	if (sourceRect.Width() == destRect.Width() && sourceRect.Height() == destRect.Height() &&
	    mode == B_OP_COPY) {
		painter.CopyPixels(source, sourceRect, dest.LeftTop());
		Finish(surface, painter);
		return;
	}

	// Scaled, or with transparency: pixel by pixel, nearest source pixel.
	// Outside B_OP_COPY, pixels of B_TRANSPARENT_COLOR are not drawn.
	int32 left = std::max(Round(dest.left), int32(0));
	int32 top = std::max(Round(dest.top), int32(0));
	int32 right = std::min(Round(dest.right), surface.pixels->Width() - 1);
	int32 bottom = std::min(Round(dest.bottom), surface.pixels->Height() - 1);
	float scaleX = (sourceRect.Width() + 1) / (destRect.Width() + 1);
	float scaleY = (sourceRect.Height() + 1) / (destRect.Height() + 1);
	for (int32 y = top; y <= bottom; y++) {
		int32 sourceY = Round(sourceRect.top) + int32(floorf((y - Round(dest.top)) * scaleY));
		if (sourceY < 0 || sourceY >= source.Height())
			continue;
		for (int32 x = left; x <= right; x++) {
			if (!surface.clip.Contains(x, y))
				continue;
			int32 sourceX = Round(sourceRect.left) + int32(floorf((x - Round(dest.left)) * scaleX));
			if (sourceX < 0 || sourceX >= source.Width())
				continue;
			rgb_color color = source.PixelAt(sourceX, sourceY);
			if (mode != B_OP_COPY && color.red == B_TRANSPARENT_COLOR.red &&
			    color.green == B_TRANSPARENT_COLOR.green && color.blue == B_TRANSPARENT_COLOR.blue)
				continue;
			painter.FillRect(BRect(x, y, x, y), color);
		}
	}
	Finish(surface, painter);
}

void BView::DrawBitmap(const BBitmap* bitmap, BRect destRect)
{
	if (bitmap != NULL)
		DrawBitmap(bitmap, bitmap->Bounds().OffsetToCopy(0, 0), destRect);
}

void BView::DrawBitmap(const BBitmap* bitmap, BPoint where)
{
	if (bitmap != NULL) {
		BRect source = bitmap->Bounds().OffsetToCopy(0, 0);
		DrawBitmap(bitmap, source, source.OffsetToCopy(where));
	}
}

void BView::DrawBitmap(const BBitmap* bitmap)
{
	DrawBitmap(bitmap, fState->draw.pen);
}

void BView::Sync() const {}

void BView::Flush() const {}

void BView::GetClippingRegion(BRegion* region) const
{
	if (region == NULL)
		return;
	region->MakeEmpty();
	Surface surface;
	if (!OpenSurface(*fState, surface))
		return;
	*region = surface.clip;
	region->OffsetBy(-Round(surface.offset.x), -Round(surface.offset.y));
}
