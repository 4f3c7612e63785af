// HexDumpView: the selection's outline, a thin frame in the selection grey
// traced around the selected bytes of one column across lines. Drawn into
// whichever view the caller draws the line into; that surface clips it.

#include "HexDumpView.h"

#include <GraphicsDefs.h>
#include <Point.h>
#include <SupportDefs.h>
#include <View.h>

#include "HexDumpLayout.h"

using namespace HexDumpLayout;

void HexDumpView::DrawHexOutlineSelection(BView* view)
{
	if (fSelStart == fSelEnd)
		return;

	// The right side is the end of the space after the last group.
	DrawOutlineSelectionCommon(view, fSizes.hexLeft - 1, fSizes.hexTextRight,
	                           OffsetToHexPoint(int32(fSelStart)).x,
	                           OffsetToHexPoint(int32(fSelEnd)).x);
}

void HexDumpView::DrawAsciiOutlineSelection(BView* view)
{
	if (fSelStart == fSelEnd)
		return;

	DrawOutlineSelectionCommon(view, fSizes.asciiLeft - 1, fSizes.asciiRight,
	                           OffsetToAsciiPoint(int32(fSelStart)).x,
	                           OffsetToAsciiPoint(int32(fSelEnd)).x);
}

void HexDumpView::DrawOutlineSelectionCommon(BView* view, float left, float right, float startX,
                                             float endX)
{
	const uint32 start = fSelStart;
	const uint32 end = fSelEnd;
	const uint32 startLine = start / kBytesPerLine;
	const uint32 endLine = end / kBytesPerLine;
	const bool startInside = start % kBytesPerLine != 0;
	const bool endInside = end % kBytesPerLine != 0;

	// The top side runs one row below the top of the line's glyphs, the
	// bottom side along the first row below the line's box.
	auto top = [&](uint32 line) { return fSizes.Baseline(line) - fSizes.ascent + 1; };
	auto bottom = [&](uint32 line) { return fSizes.BoxBottom(fSizes.Baseline(line)) + 1; };

	// One pixel left of the first cell of the first selected byte and of
	// the first byte after the selection.
	const float xs = startX - 1;
	const float xe = endX - 1;
	const float xL = startInside ? xs : left;
	const float xR = endInside ? xe : right;

	// The corners of the shape, clockwise from its top left; each closed
	// ring of points is drawn as its edges.
	BPoint points[10];
	int32 pointCount = 0;
	int32 ringEnds[2];
	int32 ringCount = 0;
	auto add = [&](float x, float y) { points[pointCount++] = BPoint(x, y); };
	auto rectangle = [&](float l, float t, float r, float b) {
		add(l, t);
		add(r, t);
		add(r, b);
		add(l, b);
		ringEnds[ringCount++] = pointCount;
	};

	if (startLine == (end - 1) / kBytesPerLine)
		rectangle(xL, top(startLine), xR, bottom(startLine));
	else if (end < start + kBytesPerLine) {
		// From a column of one line to an earlier column of the next: two
		// pieces that do not touch.
		rectangle(xs, top(startLine), right, bottom(startLine));
		rectangle(left, bottom(startLine), xe, bottom(startLine + 1));
	} else {
		add(xL, top(startLine));
		add(right, top(startLine));
		add(right, bottom(endLine - 1));
		if (endInside) {
			add(xe, bottom(endLine - 1));
			add(xe, bottom(endLine));
		}
		add(left, endInside ? bottom(endLine) : bottom(endLine - 1));
		// Without a step at the start the left side runs up to the first
		// corner, which closes the ring.
		if (startInside) {
			add(left, bottom(startLine));
			add(xs, bottom(startLine));
		}
		ringEnds[ringCount++] = pointCount;
	}

	const rgb_color color = HighlightColor();
	view->BeginLineArray(pointCount);
	int32 ringStart = 0;
	for (int32 ring = 0; ring < ringCount; ring++) {
		for (int32 i = ringStart; i < ringEnds[ring]; i++) {
			const int32 next = i + 1 < ringEnds[ring] ? i + 1 : ringStart;
			view->AddLine(points[i], points[next], color);
		}
		ringStart = ringEnds[ring];
	}
	view->EndLineArray();
}
