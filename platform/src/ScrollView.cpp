// BScrollView: places the target and the bars inside a border and draws it.
#include <ScrollView.h>

#include <ScrollBar.h>

#include "ScrollBarSize.h"

#include <memory>

namespace {

const rgb_color kPanel = {216, 216, 216, 255};

float BorderWidth(border_style border)
{
	switch (border) {
	case B_FANCY_BORDER:
		return 2;
	case B_PLAIN_BORDER:
		return 1;
	default:
		return 0;
	}
}

// The target's frame, widened for the bars and grown by the border.
BRect FrameAround(const BView* target, bool horizontal, bool vertical, border_style border)
{
	BRect frame = target != NULL ? target->Frame() : BRect(0, 0, 0, 0);
	if (vertical)
		frame.right += BPrivate::ScrollBarThickness(B_VERTICAL);
	if (horizontal)
		frame.bottom += BPrivate::ScrollBarThickness(B_HORIZONTAL);
	float size = BorderWidth(border);
	frame.InsetBy(-size, -size);
	return frame;
}

// A new bar, owned by parent once added: a failure on the way leaks nothing.
BScrollBar* AddBar(BView& parent, BRect frame, const char* name, BView* target,
                   orientation direction)
{
	std::unique_ptr<BScrollBar> bar(new BScrollBar(frame, name, target, 0, 1000, direction));
	parent.AddChild(bar.get());
	return bar.release();
}

} // namespace

BScrollView::BScrollView(const char* name, BView* target, uint32 resizingMode, uint32 flags,
                         bool horizontal, bool vertical, border_style border)
    : BView(FrameAround(target, horizontal, vertical, border), name, resizingMode,
            flags | B_WILL_DRAW | B_FRAME_EVENTS),
      fHorizontal(NULL), fVertical(NULL), fBorder(border)
{
	SetViewColor(kPanel);
	float size = BorderWidth(border);
	BPoint targetPlace = target != NULL ? target->Frame().LeftTop() : BPoint(0, 0);
	try {
		if (target != NULL) {
			target->MoveTo(size, size);
			AddChild(target);
		}
		BRect bounds = Bounds();
		if (vertical) {
			BRect frame(bounds.right - size - BPrivate::ScrollBarThickness(B_VERTICAL) + 1, size,
			            bounds.right - size,
			            bounds.bottom - size -
			                (horizontal ? BPrivate::ScrollBarThickness(B_HORIZONTAL) : 0));
			fVertical = AddBar(*this, frame, "_VSB_", target, B_VERTICAL);
		}
		if (horizontal) {
			BRect frame(size, bounds.bottom - size - BPrivate::ScrollBarThickness(B_HORIZONTAL) + 1,
			            bounds.right - size -
			                (vertical ? BPrivate::ScrollBarThickness(B_VERTICAL) : 0),
			            bounds.bottom - size);
			fHorizontal = AddBar(*this, frame, "_HSB_", target, B_HORIZONTAL);
		}
	} catch (...) {
		// A scroll view that was never built never owned its target: the
		// caller gets it back where it was and deletes it once, while the
		// base view's teardown deletes only the bars made so far.
		if (target != NULL) {
			RemoveChild(target);
			target->MoveTo(targetPlace);
		}
		throw;
	}
}

BScrollView::~BScrollView() {}

void BScrollView::Draw(BRect)
{
	BRect bounds = Bounds();
	rgb_color dark = tint_color(kPanel, B_DARKEN_2_TINT);
	rgb_color darker = tint_color(kPanel, B_DARKEN_4_TINT);
	rgb_color light = {255, 255, 255, 255};
	if (fBorder == B_FANCY_BORDER) {
		BRect inner = bounds.InsetByCopy(1, 1);
		BeginLineArray(8);
		AddLine(bounds.LeftBottom(), bounds.LeftTop(), dark);
		AddLine(bounds.LeftTop(), bounds.RightTop(), dark);
		AddLine(bounds.RightTop(), bounds.RightBottom(), light);
		AddLine(bounds.RightBottom(), bounds.LeftBottom(), light);
		AddLine(inner.LeftBottom(), inner.LeftTop(), darker);
		AddLine(inner.LeftTop(), inner.RightTop(), darker);
		AddLine(inner.RightTop(), inner.RightBottom(), kPanel);
		AddLine(inner.RightBottom(), inner.LeftBottom(), kPanel);
		EndLineArray();
	} else if (fBorder == B_PLAIN_BORDER) {
		SetHighColor(dark);
		StrokeRect(bounds);
	}
	BRect corner = CornerFrame();
	if (corner.IsValid()) {
		SetHighColor(kPanel);
		FillRect(corner);
	}
}

BRect BScrollView::CornerFrame() const
{
	if (fHorizontal == NULL || fVertical == NULL)
		return BRect();
	return BRect(fVertical->Frame().left, fHorizontal->Frame().top, fVertical->Frame().right,
	             fHorizontal->Frame().bottom);
}

void BScrollView::FrameResized(float newWidth, float newHeight)
{
	BView::FrameResized(newWidth, newHeight);
	// Only the added area is redrawn after a resize, but the border's
	// corners moved: the old right and bottom edges, drawn in the light
	// colour, now lie on the top and left edges, or inside, where only the
	// corner between the bars is not covered by a child. The whole ring and
	// that corner are drawn again.
	Invalidate(CornerFrame());
	float size = BorderWidth(fBorder);
	if (size == 0)
		return;
	BRect bounds = Bounds();
	Invalidate(BRect(bounds.left, bounds.top, bounds.right, bounds.top + size - 1));
	Invalidate(BRect(bounds.left, bounds.bottom - size + 1, bounds.right, bounds.bottom));
	Invalidate(BRect(bounds.left, bounds.top, bounds.left + size - 1, bounds.bottom));
	Invalidate(BRect(bounds.right - size + 1, bounds.top, bounds.right, bounds.bottom));
}

BScrollBar* BScrollView::ScrollBar(orientation direction) const
{
	return direction == B_VERTICAL ? fVertical : fHorizontal;
}

border_style BScrollView::Border() const
{
	return fBorder;
}
