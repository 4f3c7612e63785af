// HexDumpView: the cursor, two one-pixel bars at fSelStart, one in each
// column. The active column's bar is inverted into the pixels, the other
// one painted in a light tint; both go on and off together, always through
// InvertCursor, which takes them off exactly where it put them.

#include "HexDumpView.h"

#include <InterfaceDefs.h>
#include <OS.h>
#include <Region.h>

#include "HexDumpLayout.h"

using namespace HexDumpLayout;

namespace {

const bigtime_t kBlinkHalfPeriod = 500000;
const float kInactiveBarTint = 0.4f;

} // namespace

void HexDumpView::InvertCursor()
{
	fCursorOn = !fCursorOn;
	fNextBlink = system_time() + kBlinkHalfPeriod;

	// Callers may move the selection before they redraw; the bars come off
	// where they were drawn, not where the cursor now belongs.
	if (fCursorOn) {
		// After a first digit the bar stands between the byte's two digits.
		fCursorHexPoint =
		    HexTextOrigin(fSelStart, fLowNibble, fFontHeight, fCharWidth, fBytesPerGroup);
		fCursorAsciiPoint = OffsetToAsciiPoint(int32(fSelStart));
		fCursorHexInverted = fHexActive;
	}
	DrawCursorAt(fCursorHexPoint, !fCursorHexInverted);
	DrawCursorAt(fCursorAsciiPoint, fCursorHexInverted);
}

BRect HexDumpView::CursorBar(BPoint where) const
{
	return BRect(where.x - 1, where.y - AscentPixels(fFontHeight), where.x - 1, where.y + 1);
}

bool HexDumpView::CursorWithin(const BRegion& area) const
{
	// Both bars, as far as they are on screen, lie inside the area.
	BRegion outside;
	for (BPoint where : {fCursorHexPoint, fCursorAsciiPoint}) {
		const BRect bar = CursorBar(where) & Bounds();
		if (bar.IsValid())
			outside.Include(bar);
	}
	outside.Exclude(&area);
	return outside.CountRects() == 0;
}

void HexDumpView::DrawCursorAt(BPoint where, bool inactiveColumn)
{
	const BRect bar = CursorBar(where);
	if (!inactiveColumn)
		InvertRect(bar);
	else if (fCursorOn) {
		const rgb_color high = HighColor();
		SetHighColor(tint_color(high, kInactiveBarTint));
		FillRect(bar, B_SOLID_HIGH);
		SetHighColor(high);
	} else
		FillRect(bar, B_SOLID_LOW);
}

void HexDumpView::HideCursor()
{
	if (fCursorOn)
		InvertCursor();
}

void HexDumpView::ShowCursor()
{
	if (!fCursorOn && fSelStart == fSelEnd && IsFocus())
		InvertCursor();
}

void HexDumpView::FrameResized(float width, float height)
{
	// The resize may move pixels under the inverted bar.
	if (fCursorOn)
		InvertCursor();
	BView::FrameResized(width, height);
	UpdateScrollBars();
}
