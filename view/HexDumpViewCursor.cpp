// HexDumpView: the cursor, two one-pixel bars at fSelStart, one in each
// column. The active column's bar is inverted into the pixels, the other
// one painted in a light tint; both go on and off together. Only the three
// functions here switch them: InvertCursor, which blinks and takes them off
// exactly where it put them, and HideCursor and ShowCursor, which every
// other part of the view calls.

#include "HexDumpView.h"

#include <GraphicsDefs.h>
#include <InterfaceDefs.h>
#include <OS.h>
#include <Point.h>
#include <Rect.h>
#include <Region.h>
#include <SupportDefs.h>

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
		fCursorHexPoint = fSizes.HexTextOrigin(fSelStart, fLowNibble);
		fCursorAsciiPoint = OffsetToAsciiPoint(int32(fSelStart));
		fCursorHexInverted = fHexActive;
	}
	DrawCursorBars();
}

void HexDumpView::DrawCursorBars()
{
	DrawCursorAt(fCursorHexPoint, !fCursorHexInverted);
	DrawCursorAt(fCursorAsciiPoint, fCursorHexInverted);
}

BRect HexDumpView::CursorBar(BPoint where) const
{
	return BRect(where.x - 1, where.y - fSizes.ascent, where.x - 1, where.y + 1);
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
	} else {
		// Erased in the low colour, the bar column may have held pixels of
		// a neighbouring glyph (antialiased faces reach into it) or of an
		// outline: the lines under the bar are drawn again inside it.
		FillRect(bar, B_SOLID_LOW);
		BRegion under(bar);
		ConstrainClippingRegion(&under);
		const float lineHeight = LineHeight();
		DrawLines(int32(PointToOffset(bar.LeftTop() - BPoint(0, lineHeight), false)),
		          int32(PointToOffset(bar.RightBottom() + BPoint(0, lineHeight), false)), false,
		          false);
		ConstrainClippingRegion(NULL);
	}
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
	HideCursor();
	BView::FrameResized(width, height);
	UpdateScrollBars();
}
