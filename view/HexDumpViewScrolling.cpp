// HexDumpView: scrolling. The scroll bars of the editor's scroll view follow
// the number of lines (the line holding the end of the data included, so the
// cursor behind a full last line can be reached) and the view's size; the
// cursor's line is kept visible; the mouse wheel scrolls by lines. No scroll
// position may hide the data: when the data or the view changes, the view
// scrolls back into range. Scrolling moves the cursor's pixels with the
// rest, and the redraw of the exposed area keeps them in step, so a scroll
// redraws only what it exposes.

#include "HexDumpView.h"

#include <AppDefs.h>
#include <InterfaceDefs.h>
#include <Message.h>
#include <Point.h>
#include <Rect.h>
#include <ScrollBar.h>
#include <SupportDefs.h>

#include <math.h>

#include <algorithm>

#include "HexDumpFullEditor.h"
#include "HexDumpLayout.h"

using namespace HexDumpLayout;

namespace {

const float kWheelLines = 3;

// The dump's full extent and how far the view may scroll across it.
struct ScrollExtent
{
	float totalWidth;
	float totalHeight;
	float maxLeft;
	float maxTop;
};

void SetUpBar(BScrollBar* bar, float total, float visible, float maximum, float step)
{
	if (bar == NULL)
		return;
	if (maximum <= 0) {
		// Everything is visible: a range of (0, 0) disables the bar.
		bar->SetRange(0, 0);
		bar->SetProportion(1);
		return;
	}
	bar->SetRange(0, maximum);
	bar->SetProportion(visible / total);
	// A page keeps one line (or column) of the previous page in sight.
	bar->SetSteps(step, std::max(step, visible - step));
}

// The smallest scroll position at or below y that shows a whole line at the
// top: 0, where the first line comes with the top margin, or the top of a
// line's box.
float WholeLineTop(float y, const Sizes& sizes)
{
	if (y <= 0)
		return 0;
	const float lineHeight = sizes.lineHeight;
	const float firstBoxTop = sizes.BoxTop(sizes.Baseline(0));
	return firstBoxTop + lineHeight * std::max(0.0f, ceilf((y - firstBoxTop) / lineHeight));
}

// The lines count up to the one holding the end of the data.
ScrollExtent ExtentOf(const Sizes& sizes, uint32 size, BRect bounds)
{
	ScrollExtent extent;
	extent.totalWidth = sizes.width;
	extent.totalHeight = sizes.Height(size / kBytesPerLine + 1);
	extent.maxLeft = std::max(0.0f, ceilf(extent.totalWidth - (bounds.Width() + 1)));
	// The last position shows whole lines too: the blank beyond the bottom
	// margin is at most a line short of a line.
	extent.maxTop = WholeLineTop(ceilf(extent.totalHeight - (bounds.Height() + 1)), sizes);
	return extent;
}

} // namespace

void HexDumpView::UpdateScrollBars()
{
	// Before the view is attached there are no metrics to measure with.
	if (Window() == NULL || LineHeight() <= 0)
		return;

	const BRect bounds = Bounds();
	const ScrollExtent extent = ExtentOf(fSizes, fEditor->Size(), bounds);
	BPoint inRange(std::min(bounds.left, extent.maxLeft), std::min(bounds.top, extent.maxTop));
	if (inRange != bounds.LeftTop())
		ScrollTo(inRange);

	SetUpBar(ScrollBar(B_VERTICAL), extent.totalHeight, bounds.Height() + 1, extent.maxTop,
	         LineHeight());
	SetUpBar(ScrollBar(B_HORIZONTAL), extent.totalWidth, bounds.Width() + 1, extent.maxLeft,
	         ceilf(fCharWidth));
}

void HexDumpView::ScrollToOffset(uint32 offset)
{
	if (Window() == NULL || LineHeight() <= 0)
		return;

	const uint32 size = fEditor->Size();
	offset = std::min(offset, size);
	const BPoint point =
	    fHexActive ? OffsetToHexPoint(int32(offset)) : OffsetToAsciiPoint(int32(offset));

	// The line box of the offset's line; the first line brings the top
	// margin with it, the last one the bottom margin.
	float top = fSizes.BoxTop(point.y);
	float bottom = fSizes.BoxBottom(point.y);
	if (offset / kBytesPerLine == 0)
		top = 0;
	if (offset / kBytesPerLine == size / kBytesPerLine)
		bottom += kMargin;

	// Across: the cursor's bar stands one pixel left of the byte; the byte
	// is two digits wide in the hex column, one character in the other.
	float left = point.x - 1;
	float right = point.x + (fHexActive ? 2 : 1) * fCharWidth;

	const BRect bounds = Bounds();
	BPoint to = bounds.LeftTop();
	// Vertically by whole lines: a line box's top (or the top margin) ends
	// up at the top, so no line shows cut in half.
	if (bottom > bounds.bottom)
		to.y = WholeLineTop(bottom - bounds.Height(), fSizes);
	if (top < to.y)
		to.y = floorf(top);
	if (right > bounds.right)
		to.x = ceilf(right - bounds.Width());
	if (left < to.x)
		to.x = floorf(left);

	const ScrollExtent extent = ExtentOf(fSizes, size, bounds);
	to.x = std::clamp(to.x, 0.0f, extent.maxLeft);
	to.y = std::clamp(to.y, 0.0f, extent.maxTop);
	if (to != bounds.LeftTop())
		ScrollTo(to);
}

void HexDumpView::MessageReceived(BMessage* message)
{
	if (message->what != B_MOUSE_WHEEL_CHANGED || Window() == NULL || LineHeight() <= 0) {
		BView::MessageReceived(message);
		return;
	}

	// Each notch of the wheel scrolls three lines, or three characters
	// across; the scroll stays within the dump, and a line boundary (after
	// the top margin) ends up at the top, so no line shows cut in half.
	float deltaX = 0;
	float deltaY = 0;
	message->FindFloat("be:wheel_delta_x", &deltaX);
	message->FindFloat("be:wheel_delta_y", &deltaY);

	const BRect bounds = Bounds();
	const float lineHeight = LineHeight();
	const ScrollExtent extent = ExtentOf(fSizes, fEditor->Size(), bounds);
	const float firstBoxTop = WholeLineTop(1, fSizes);
	float topLine = roundf((bounds.top - firstBoxTop) / lineHeight) + roundf(deltaY * kWheelLines);
	BPoint to(bounds.left + roundf(deltaX * kWheelLines * fCharWidth),
	          topLine <= 0 ? 0 : firstBoxTop + topLine * lineHeight);
	to.x = std::clamp(to.x, 0.0f, extent.maxLeft);
	to.y = std::clamp(to.y, 0.0f, extent.maxTop);
	if (to != bounds.LeftTop())
		ScrollTo(to);
}
