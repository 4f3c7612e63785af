// HexDumpView: drawing the dump. Draw maps the update area to a range of
// offsets; DrawRange redraws the lines of a range, straight into the view
// or line by line through the offscreen bitmap, clears the area below the
// data and brackets it all with the cursor; DrawLine draws one line's
// label, hex column and character column, each column in up to three runs
// around the selection.

#include "HexDumpView.h"

#include <GraphicsDefs.h>
#include <InterfaceDefs.h>
#include <Point.h>
#include <Rect.h>
#include <SupportDefs.h>
#include <View.h>
#include <Window.h>

#include <ctype.h>
#include <math.h>

#include <algorithm>

#include "HexDumpFullEditor.h"
#include "HexDumpLayout.h"

using namespace HexDumpLayout;

namespace {

const char kHexDigits[] = "0123456789ABCDEF";
// The offset label is a shade lighter than the text.
const float kLabelTint = 0.6f;
// Two digits and at most one group space a byte, and the terminator.
const int32 kMaxHexText = 3 * kBytesPerLine + 1;

// The view shows the selection filled only while its window is active and
// it has the keyboard focus.
bool IsActiveView(const BView* view)
{
	const BWindow* window = view->Window();
	return window != NULL && window->IsActive() && view->IsFocus();
}

} // namespace

void HexDumpView::Draw(BRect updateRect)
{
	// The window has filled the update area with the view colour, and all
	// drawing here is clipped to that area. An update repaints; it changes
	// nothing: the lines are drawn without the cursor bracket, and a cursor
	// that is showing gets its bars painted again inside the area (outside
	// it they are still on the screen).
	const float lineHeight = LineHeight();
	const uint32 end = PointToOffset(updateRect.RightBottom() + BPoint(0, lineHeight), false);
	const uint32 start = PointToOffset(updateRect.LeftTop() - BPoint(0, lineHeight), false);
	DrawLines(int32(start), int32(end), false, false);
	if (fCursorOn)
		DrawCursorBars();
}

void HexDumpView::DrawRange(int32 start, int32 end, bool useOffscreen, bool clearToBottom)
{
	HideCursor();
	DrawLines(start, end, useOffscreen, clearToBottom);
	ShowCursor();
}

void HexDumpView::DrawLines(int32 start, int32 end, bool useOffscreen, bool clearToBottom)
{
	const int32 firstOffset = start & ~int32(kBytesPerLine - 1);
	const int32 afterEnd = (end & ~int32(kBytesPerLine - 1)) + int32(kBytesPerLine);

	const float lineHeight = fSizes.lineHeight;

	const char* bytes = fEditor->Data();
	if (bytes == NULL)
		bytes = "";
	const int32 size = int32(fEditor->Size());

	// From the range's first line to the line after its last one. A range
	// that comes within a line of the end of the data runs on to the line
	// that holds the end (empty, label only, when the last line is full):
	// an edit that shortened the data, or a selection whose outline ran
	// along the last line's bottom, leaves pixels there. One line is drawn
	// even when there is nothing to show: it carries the offset label alone.
	const int64 firstLine = firstOffset / int32(kBytesPerLine);
	const int64 endLine = size / int32(kBytesPerLine);
	const bool reachesEnd = clearToBottom || afterEnd >= size - int32(kBytesPerLine);
	const int64 lastLine =
	    std::max(firstLine, reachesEnd ? endLine : int64(afterEnd / int32(kBytesPerLine)));

	// Lines outside the bounds would be clipped away whole: skipping them
	// changes no pixel and keeps the cost to the lines on screen.
	const BRect bounds = Bounds();
	int64 fromLine = firstLine;
	int64 toLine = lastLine;
	if (lineHeight > 0) {
		const float firstBoxBottom = fSizes.BoxBottom(fSizes.Baseline(0));
		fromLine =
		    std::max(fromLine, int64(floor(double(bounds.top - firstBoxBottom) / lineHeight)));
		toLine =
		    std::min(toLine, int64(floor(double(bounds.bottom - firstBoxBottom) / lineHeight)) + 1);
	}
	// A view with no width (its window narrower than the scroll view's
	// border and bar) shows no line, and no line box can be built for one.
	if (!bounds.IsValid())
		toLine = fromLine - 1;

	for (int64 line = fromLine; line <= toLine; line++) {
		const float baseline = fSizes.Baseline(uint32(line));
		const float boxTop = fSizes.BoxTop(baseline);
		const float boxBottom = fSizes.BoxBottom(baseline);
		if (boxBottom < bounds.top || boxTop > bounds.bottom)
			continue;

		const int32 lineOffset = int32(line * kBytesPerLine);
		// A range that starts beyond the data leaves the forced line nothing
		// to show; it must not read past the bytes.
		const int64 left = int64(size) - lineOffset;
		const uint32 count = left > 0 ? uint32(left) : 0;
		const char* lineBytes = count > 0 ? bytes + lineOffset : bytes;

		if (useOffscreen) {
			const BRect box(bounds.left, boxTop, bounds.right, boxBottom);
			BView* view = fOffscreen.BeginBlitting(this, box, false, true);
			DrawLine(view, baseline, lineOffset, lineBytes, count);
			fOffscreen.DoneBlitting();
		} else
			DrawLine(this, baseline, lineOffset, lineBytes, count);
	}

	if (reachesEnd) {
		// Everything below the last line drawn is blank, down to the bottom
		// of the view: a shrinking edit may have left any number of lines
		// there. The bottom side of an outline lies in it.
		BRect blank = bounds;
		blank.top = std::max(bounds.top, fSizes.BoxBottom(fSizes.Baseline(uint32(lastLine))) + 1);
		if (blank.IsValid())
			FillRect(blank, B_SOLID_LOW);

		const bool active = IsActiveView(this);
		if (!active || fHexActive)
			DrawAsciiOutlineSelection(this);
		if (!active || !fHexActive)
			DrawHexOutlineSelection(this);
		ConstrainClippingRegion(NULL);
	}
}

void HexDumpView::DrawLine(BView* view, float baseline, int32 lineOffset, const void* bytes,
                           uint32 count)
{
	const rgb_color high = view->HighColor();
	view->SetHighColor(tint_color(high, kLabelTint));
	DrawOffsetValue(view, BPoint(kMargin, baseline), lineOffset);
	view->SetHighColor(high);

	const bool active = IsActiveView(this);
	DrawDataCommon(view, &HexDumpView::DrawHexRun, BPoint(fSizes.hexLeft, baseline), bytes, count,
	               lineOffset, fHexActive && active);
	DrawDataCommon(view, &HexDumpView::DrawAsciiRun, BPoint(fSizes.asciiLeft, baseline), bytes,
	               count, lineOffset, !fHexActive && active);

	// Into the same view as the line: through the buffer they are cut to
	// the line's box.
	if (!active || fHexActive)
		DrawAsciiOutlineSelection(view);
	if (!active || !fHexActive)
		DrawHexOutlineSelection(view);
}

void HexDumpView::DrawDataCommon(BView* view, RunDrawer drawer, BPoint origin, const void* bytes,
                                 uint32 count, int32 offset, bool highlight)
{
	if (count > kBytesPerLine)
		count = kBytesPerLine;
	if (count == 0)
		return;

	if (!highlight) {
		(this->*drawer)(view, origin, bytes, count, offset, false, false);
		return;
	}

	// The selection's part of this line, relative to its first byte.
	const int64 lineCount = count;
	const int64 selStart = std::clamp(int64(fSelStart) - offset, int64(0), lineCount);
	const int64 selEnd = std::clamp(int64(fSelEnd) - offset, int64(0), lineCount);
	const uchar* at = static_cast<const uchar*>(bytes);

	if (selStart > 0) {
		origin.x = (this->*drawer)(view, origin, at, uint32(selStart), offset, false, false);
		at += selStart;
		offset += int32(selStart);
	}
	if (selStart < selEnd) {
		origin.x =
		    (this->*drawer)(view, origin, at, uint32(selEnd - selStart), offset, true, false);
		at += selEnd - selStart;
		offset += int32(selEnd - selStart);
	}
	if (selEnd < lineCount)
		(this->*drawer)(view, origin, at, uint32(lineCount - selEnd), offset, false, false);
}

float HexDumpView::DrawHexRun(BView* view, BPoint origin, const void* bytes, uint32 count,
                              int32 offset, bool selected, bool erase)
{
	if (count > kBytesPerLine)
		count = kBytesPerLine;

	// Group spaces follow absolute offsets, so they stand at the same places
	// however the line is split into runs.
	char text[kMaxHexText];
	int32 length = 0;
	const uchar* at = static_cast<const uchar*>(bytes);
	for (uint32 i = 0; i < count; i++) {
		text[length++] = kHexDigits[at[i] >> 4];
		text[length++] = kHexDigits[at[i] & 0xf];
		if ((uint32(offset) + i + 1) % fBytesPerGroup == 0)
			text[length++] = ' ';
	}
	text[length] = '\0';

	const float endX = origin.x + fCharWidth * float(length);
	DrawRunCommon(view, origin, text, length, endX, selected, erase);
	return endX;
}

float HexDumpView::DrawAsciiRun(BView* view, BPoint origin, const void* bytes, uint32 count,
                                int32 /*offset*/, bool selected, bool erase)
{
	if (count > kBytesPerLine)
		count = kBytesPerLine;

	char text[kBytesPerLine + 1];
	const uchar* at = static_cast<const uchar*>(bytes);
	for (uint32 i = 0; i < count; i++)
		text[i] = isprint(at[i]) ? char(at[i]) : '.';
	text[count] = '\0';

	const float endX = origin.x + fCharWidth * float(count);
	DrawRunCommon(view, origin, text, int32(count), endX, selected, erase);
	return endX;
}

void HexDumpView::DrawRunCommon(BView* view, BPoint origin, const char* text, int32 length,
                                float endX, bool selected, bool erase)
{
	const rgb_color low = view->LowColor();
	if (selected || erase) {
		BRect box(origin.x - 1, fSizes.BoxTop(origin.y), endX - 1, fSizes.BoxBottom(origin.y));
		// A trailing group space keeps only its first pixel column filled.
		if (selected && length > 0 && text[length - 1] == ' ')
			box.right = endX - 1 - (fCharWidth - 1);
		if (selected)
			view->SetLowColor(HighlightColor());
		view->FillRect(box, B_SOLID_LOW);
	}

	view->DrawString(text, origin);

	if (selected)
		view->SetLowColor(low);
}

void HexDumpView::DrawOffsetValue(BView* view, BPoint where, int32 offset)
{
	char label[kOffsetDigits + 1];
	uint32 value = uint32(offset);
	for (int32 i = int32(kOffsetDigits) - 1; i >= 0; i--) {
		label[i] = kHexDigits[value % 16];
		value /= 16;
	}
	label[kOffsetDigits] = '\0';
	view->DrawString(label, where);
}

rgb_color HexDumpView::HighlightColor() const
{
	rgb_color color = {200, 200, 200, 255};
	return color;
}
