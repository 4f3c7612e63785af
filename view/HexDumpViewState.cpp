// HexDumpView: construction, the font metrics and the layout they give
// (HexDumpLayout::Sizes), and the geometry queries read from it: where each
// byte is drawn, which byte boundary a point falls on, and how large the
// dump is.

#include "HexDumpView.h"

#include <Font.h>
#include <InterfaceDefs.h>
#include <Point.h>
#include <Rect.h>
#include <SupportDefs.h>

#include <math.h>
#include <stdint.h>

#include <algorithm>

#include "HexDumpFullEditor.h"
#include "HexDumpLayout.h"

using namespace HexDumpLayout;

namespace {

// The preferred height shows this many lines at least and at most.
const uint32 kMinPreferredLines = 16;
const uint32 kMaxPreferredLines = 32;

// Cuts a float toward zero into an int32; points far outside the view (or
// not a number at all) saturate instead of overflowing the conversion.
int32 TruncToInt32(float value)
{
	if (isnan(value))
		return 0;
	double cut = trunc(double(value));
	if (cut <= -2147483648.0)
		return INT32_MIN;
	if (cut >= 2147483647.0)
		return INT32_MAX;
	return int32(cut);
}

// Where a byte boundary goes when the bytes [offset, offset + removed) are
// replaced by inserted others: one after the run moves on with its byte, one
// inside it stays within the new bytes. A boundary that belongs with the byte
// before it (a selection's end) stays put when bytes are inserted right at
// it; any other stands in front of its byte and moves on with it.
uint32 MapBoundary(uint32 point, uint32 offset, uint32 removed, uint32 inserted,
                   bool withByteBefore)
{
	if (point < offset || (point == offset && (removed > 0 || withByteBefore)))
		return point;
	if (point >= offset + removed)
		return point - removed + inserted;
	return std::min(point, offset + inserted);
}

} // namespace

HexDumpView::HexDumpView(BRect frame, const char* name, HexDumpFullEditor* editor)
    : // B_FRAME_EVENTS: the scroll bars follow the view's size (FrameResized).
      BView(frame, name, B_FOLLOW_ALL_SIDES,
            B_WILL_DRAW | B_PULSE_NEEDED | B_NAVIGABLE | B_FRAME_EVENTS),
      fEditor(editor),
      // No metrics until the view is attached: every width and height is zero,
      // so queries before then give zero sizes and offset 0.
      fFontHeight(), fCharWidth(0), fOffsetWidth(0), fHexWidth(0), fAsciiWidth(0),
      fBytesPerGroup(kDefaultBytesPerGroup), fSelStart(0), fSelEnd(0), fAnchor(0), fTracking(false),
      fHexActive(true),
      // Already due: the first pulse with an empty selection toggles at once.
      fNextBlink(0), fCursorOn(false), fLowNibble(false), fOffscreen(), fCursorHexPoint(0, 0),
      fCursorAsciiPoint(0, 0), fCursorHexInverted(true),
      fSizes(ComputeSizes(fFontHeight, fCharWidth, fBytesPerGroup))
{
}

HexDumpView::~HexDumpView() {}

void HexDumpView::AttachedToWindow()
{
	BView::AttachedToWindow();
	SetFont(be_fixed_font, B_FONT_ALL);
	UpdateSizes();
	DataChanged();
}

void HexDumpView::UpdateSizes()
{
	GetFontHeight(&fFontHeight);
	fSizes = ComputeSizes(fFontHeight, StringWidth(" "), fBytesPerGroup);
	fCharWidth = fSizes.charWidth;
	fOffsetWidth = fSizes.offsetWidth;
	fHexWidth = fSizes.hexWidth;
	fAsciiWidth = fSizes.asciiWidth;
}

void HexDumpView::DataChanged()
{
	// The bar is inverted into the pixels: it comes off at the place where
	// it was drawn, before the selection can move.
	HideCursor();

	// The bytes are another item's, or new as a whole: a half-typed byte
	// ends, and the cursor stands after it, as the second digit leaves it.
	if (fLowNibble) {
		fLowNibble = false;
		fSelStart = fSelEnd = fSelStart + 1;
	}
	const uint32 size = fEditor->Size();
	if (fSelStart > size)
		fSelStart = size;
	if (fSelEnd > size)
		fSelEnd = size;
	KeepAnchorInData();
	ShowNewData();
}

void HexDumpView::DataReplaced(uint32 offset, uint32 removedLength, uint32 insertedLength)
{
	HideCursor();

	// The selection, its anchor and a half-typed byte stay with their bytes.
	// The anchor moves as the end it fixes, so that Shift+arrows still
	// extend from it.
	const bool empty = fSelStart == fSelEnd;
	const bool anchorAtEnd = !empty && fAnchor == fSelEnd;
	if (fLowNibble && removedLength > 0 && offset <= fSelStart &&
	    fSelStart < offset + removedLength)
		fLowNibble = false;
	fAnchor = MapBoundary(fAnchor, offset, removedLength, insertedLength, anchorAtEnd);
	fSelStart = MapBoundary(fSelStart, offset, removedLength, insertedLength, false);
	fSelEnd = empty ? fSelStart : MapBoundary(fSelEnd, offset, removedLength, insertedLength, true);
	KeepAnchorInData();
	ShowNewData();
}

void HexDumpView::ShowNewData()
{
	Invalidate();
	UpdateScrollBars();
	// The update repaints without switching the cursor: it comes back here,
	// and the update paints it again over the new lines.
	ShowCursor();
}

void HexDumpView::KeepAnchorInData()
{
	// A drag may be under way while the data shrinks: its fixed end must
	// stay a byte boundary of the data, or the next mouse step would select
	// past the end.
	const uint32 size = fEditor->Size();
	if (fAnchor > size)
		fAnchor = size;
}

float HexDumpView::LineHeight() const
{
	return fSizes.lineHeight;
}

BPoint HexDumpView::OffsetToHexPoint(int32 offset) const
{
	return fSizes.HexTextOrigin(uint32(offset), false);
}

BPoint HexDumpView::OffsetToAsciiPoint(int32 offset) const
{
	return fSizes.AsciiTextOrigin(uint32(offset));
}

uint32 HexDumpView::PointToOffset(BPoint where, bool nearest) const
{
	const float lineHeight = LineHeight();
	const int32 charWidth = TruncToInt32(fCharWidth);
	if (lineHeight <= 0 || charWidth <= 0)
		return 0;

	const int32 line = TruncToInt32((where.y - kMargin) / lineHeight);
	const int32 group = int32(fBytesPerGroup);

	// In 64 bits: a point far outside the view gives an x near the int32
	// limits, and the rounding steps below must not overflow it.
	int64 column;
	if (InAsciiColumn(where, false)) {
		const int64 half = nearest ? TruncToInt32(fCharWidth * 0.5f) : 0;
		column = (int64(TruncToInt32(where.x - fSizes.asciiLeft)) + half) / charWidth;
	} else {
		// Character cells of the hex text: each group is 2g digits and a
		// space, so a point on the space counts towards the next group.
		int64 cell = TruncToInt32(where.x - fSizes.hexLeft) / charWidth;
		if (nearest)
			cell++;
		column = group * (cell / (2 * group + 1)) + (cell % (2 * group + 1)) / 2;
	}
	if (column < 0)
		column = 0;
	if (column > int64(kBytesPerLine))
		column = int64(kBytesPerLine);

	const int64 offset = int64(line) * kBytesPerLine + column;
	const uint32 size = fEditor->Size();
	if (offset < 0)
		return 0;
	if (offset > int64(size))
		return size;
	return uint32(offset);
}

bool HexDumpView::InHexColumn(BPoint where, bool strict) const
{
	if (strict)
		return where.x >= fSizes.hexLeft && where.x <= fSizes.hexRight;
	return where.x <= fSizes.columnSplit;
}

bool HexDumpView::InAsciiColumn(BPoint where, bool strict) const
{
	if (strict)
		return where.x >= fSizes.asciiLeft && where.x <= fSizes.asciiRight;
	return where.x > fSizes.columnSplit;
}

void HexDumpView::GetContentSize(float& width, float& height)
{
	width = fSizes.width;
	// Only complete lines count.
	height = fSizes.Height(fEditor->Size() / kBytesPerLine);
}

void HexDumpView::GetPreferredSize(float& width, float& height)
{
	GetContentSize(width, height);
	height =
	    std::clamp(height, fSizes.Height(kMinPreferredLines), fSizes.Height(kMaxPreferredLines));
}
