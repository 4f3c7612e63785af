// HexDumpView: the cursor, two one-pixel bars at fSelStart, one in each
// column. The active column's bar is inverted into the pixels, the other
// one painted in a light tint; both go on and off together, always through
// InvertCursor, so the inverted bar comes off exactly where it went on.

#include "HexDumpView.h"

#include <InterfaceDefs.h>
#include <OS.h>

#include "HexDumpLayout.h"

using namespace HexDumpLayout;

namespace {

const bigtime_t kBlinkHalfPeriod = 500000;
const float kInactiveBarTint = 0.4f;

} // namespace


void
HexDumpView::InvertCursor()
{
	fCursorOn = !fCursorOn;
	fNextBlink = system_time() + kBlinkHalfPeriod;

	BPoint hexPoint = OffsetToHexPoint(int32(fSelStart));
	// After a first digit the bar stands between the byte's two digits.
	if (fLowNibble)
		hexPoint.x += fCharWidth;
	DrawCursorAt(hexPoint, !fHexActive);
	DrawCursorAt(OffsetToAsciiPoint(int32(fSelStart)), fHexActive);
}


void
HexDumpView::DrawCursorAt(BPoint where, bool inactiveColumn)
{
	const BRect bar(where.x - 1, where.y - AscentPixels(fFontHeight), where.x - 1, where.y + 1);
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


void
HexDumpView::HideCursor()
{
	if (fCursorOn)
		InvertCursor();
}


void
HexDumpView::ShowCursor()
{
	if (!fCursorOn && fSelStart == fSelEnd && IsFocus())
		InvertCursor();
}


void
HexDumpView::FrameResized(float width, float height)
{
	// The resize may move pixels under the inverted bar.
	if (fCursorOn)
		InvertCursor();
	BView::FrameResized(width, height);
	UpdateScrollBars();
}
