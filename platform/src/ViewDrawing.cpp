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
#include "PixelGrid.h"
#include "TestHooks.h"
#include "ViewTree.h"

#include <math.h>
#include <string.h>

#include <algorithm>
#include <functional>

using BPrivate::DrawState;
using BPrivate::KitAccess;
using BPrivate::PixelOf;
using BPrivate::ViewState;
using BPrivate::WindowState;
using PlatformTesting::DrawCall;

namespace {

// The stand-in has the two solid patterns only: B_SOLID_LOW paints the low
// colour, B_SOLID_HIGH the high colour.
bool PaintsHigh(const pattern& p)
{
	return !(p == B_SOLID_LOW);
}

// Where drawing lands: the pixels, the clip in them, and the offset from
// drawing coordinates to pixels.
struct Surface
{
	WindowState* window = NULL;
	PixelBuffer* pixels = NULL;
	// The view's visible region itself, the update area inside it, or the
	// part that the view's own clipping leaves (ownClip): most calls copy
	// no region.
	const BRegion* clip = NULL;
	BRegion ownClip;
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
	surface.clip = &state.visible;

	// The clipping is in drawing coordinates, the origin included.
	surface.offset = state.windowOffset + state.draw.origin;
	const bool inUpdate = window.drawingView == state.self;
	if (inUpdate && !state.draw.clipped && window.updateGeneration == window.generation) {
		// The update area was cut to this very visible region.
		surface.clip = &window.updateRegion;
		return true;
	}
	if (state.draw.clipped || inUpdate) {
		surface.ownClip = state.visible;
		surface.clip = &surface.ownClip;
	}
	if (state.draw.clipped) {
		BRegion clipping = state.draw.clipping;
		clipping.OffsetBy(PixelOf(surface.offset.x), PixelOf(surface.offset.y));
		surface.ownClip.IntersectWith(&clipping);
	}
	if (inUpdate)
		surface.ownClip.IntersectWith(&window.updateRegion);
	return true;
}

void Finish(Surface& surface, const Painter& painter)
{
	BPrivate::PixelsChanged(*surface.window, painter.TouchedPixels());
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

// A template rather than std::function: a capturing lambda would be
// copied to the heap for every call, recorded or not.
template <typename Fill> void Record(const ViewState& state, DrawCall::Kind kind, const Fill& fill)
{
	if (!BPrivate::DrawingLogActive())
		return;
	DrawCall call = MakeCall(state, kind);
	fill(call);
	BPrivate::LogDrawCall(call);
}

// Paints a rectangle of pixels with the high colour (for B_SOLID_HIGH) or the
// low colour (B_SOLID_LOW). Only B_OP_COPY paints the low colour; in every
// other mode it is transparent. For the high colour, B_OP_INVERT inverts,
// B_OP_ERASE paints the low colour and the other modes paint the high colour.
void PaintSolid(Painter& painter, BRect pixels, bool high, const DrawState& draw)
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

// Strokes a one-pixel line in window pixels, with the colour and mode rule
// of PaintSolid.
void PaintLine(Painter& painter, BPoint a, BPoint b, bool high, const DrawState& draw)
{
	if (high && draw.mode == B_OP_INVERT) {
		BPrivate::WalkLine(a, b, [&](int32 x, int32 y) { painter.InvertRect(BRect(x, y, x, y)); });
		return;
	}
	if (!high && draw.mode != B_OP_COPY)
		return;
	painter.StrokeLine(a, b, high && draw.mode != B_OP_ERASE ? draw.high : draw.low);
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
		call.color = PaintsHigh(p) ? fState->draw.high : fState->draw.low;
	});
	fState->draw.pen = toPoint;
	Surface surface;
	if (!OpenSurface(*fState, surface))
		return;
	Painter painter(*surface.pixels, *surface.clip);
	PaintLine(painter, fromPoint + surface.offset, toPoint + surface.offset, PaintsHigh(p),
	          fState->draw);
	Finish(surface, painter);
}

void BView::StrokeRect(BRect rect, pattern p)
{
	Record(*fState, DrawCall::kStrokeRect, [&](DrawCall& call) {
		call.rect = rect;
		call.color = PaintsHigh(p) ? fState->draw.high : fState->draw.low;
	});
	Surface surface;
	if (!rect.IsValid() || !OpenSurface(*fState, surface))
		return;
	// The four one-pixel edges as one region, so that inverting modes touch
	// each pixel once.
	BRect r = rect.OffsetByCopy(surface.offset);
	BRegion edges;
	edges.Include(BRect(r.left, r.top, r.right, r.top));
	edges.Include(BRect(r.left, r.bottom, r.right, r.bottom));
	edges.Include(BRect(r.left, r.top, r.left, r.bottom));
	edges.Include(BRect(r.right, r.top, r.right, r.bottom));
	Painter painter(*surface.pixels, *surface.clip);
	for (int32 i = 0; i < edges.CountRects(); i++)
		PaintSolid(painter, edges.RectAt(i), PaintsHigh(p), fState->draw);
	Finish(surface, painter);
}

void BView::FillRect(BRect rect, pattern p)
{
	Record(*fState, DrawCall::kFillRect, [&](DrawCall& call) {
		call.rect = rect;
		call.color = PaintsHigh(p) ? fState->draw.high : fState->draw.low;
	});
	Surface surface;
	if (!rect.IsValid() || !OpenSurface(*fState, surface))
		return;
	Painter painter(*surface.pixels, *surface.clip);
	PaintSolid(painter, rect.OffsetByCopy(surface.offset), PaintsHigh(p), fState->draw);
	Finish(surface, painter);
}

void BView::InvertRect(BRect rect)
{
	Record(*fState, DrawCall::kInvertRect, [&](DrawCall& call) { call.rect = rect; });
	Surface surface;
	if (!rect.IsValid() || !OpenSurface(*fState, surface))
		return;
	Painter painter(*surface.pixels, *surface.clip);
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
	Painter painter(*surface.pixels, *surface.clip);
	// Each line in its own colour, as the high colour.
	DrawState draw = fState->draw;
	if (draw.mode == B_OP_ERASE)
		draw.mode = B_OP_COPY;
	for (const ViewState::Line& line : lines) {
		draw.high = line.color;
		PaintLine(painter, line.start + surface.offset, line.end + surface.offset, true, draw);
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
		Painter painter(*surface.pixels, *surface.clip);
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
	Painter painter(*surface.pixels, *surface.clip);
	drawing_mode mode = fState->draw.mode;
	if (sourceRect.Width() == destRect.Width() && sourceRect.Height() == destRect.Height() &&
	    mode == B_OP_COPY) {
		painter.CopyPixels(source, sourceRect, dest.LeftTop());
		Finish(surface, painter);
		return;
	}

	// Scaled, or with transparency: pixel by pixel, nearest source pixel.
	// Outside B_OP_COPY, pixels of B_TRANSPARENT_COLOR are not drawn.
	const clipping_rect from = BPrivate::PixelsOf(sourceRect);
	const clipping_rect to = BPrivate::PixelsOf(dest);
	const clipping_rect area = BPrivate::Intersection(
	    to, clipping_rect{0, 0, surface.pixels->Width() - 1, surface.pixels->Height() - 1});
	float scaleX = (sourceRect.Width() + 1) / (destRect.Width() + 1);
	float scaleY = (sourceRect.Height() + 1) / (destRect.Height() + 1);
	for (int32 y = area.top; y <= area.bottom; y++) {
		int32 sourceY = from.top + int32(floorf((y - to.top) * scaleY));
		if (sourceY < 0 || sourceY >= source.Height())
			continue;
		for (int32 x = area.left; x <= area.right; x++) {
			if (!surface.clip->Contains(x, y))
				continue;
			int32 sourceX = from.left + int32(floorf((x - to.left) * scaleX));
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

void BView::Sync() const {}
