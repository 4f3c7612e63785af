// HexDumpView: selection with the mouse, the pointer shape over the view, and
// the two selection setters the keyboard shares. There is no tracking loop: a
// press starts tracking, each move the window delivers moves the free end of
// the selection, and the release ends it.

#include "HexDumpView.h"

#include <Cursor.h>
#include <InterfaceDefs.h>
#include <Point.h>
#include <Rect.h>
#include <SupportDefs.h>
#include <View.h>
#include <Window.h>

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "HexDumpFullEditor.h"

void HexDumpView::MouseDown(BPoint where)
{
	// The click that brings the focus only brings the focus.
	if (!IsFocus()) {
		MakeFocus(true);
		return;
	}

	fAnchor = PointToOffset(where, true);
	fTracking = true;
	TrackMouse(where, NULL, true);
}

void HexDumpView::MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage)
{
	BWindow* window = Window();
	bool plainPointer = dragMessage == NULL && window != NULL && window->IsActive();

	switch (transit) {
	case B_ENTERED_VIEW:
		SetViewCursor(plainPointer ? B_CURSOR_I_BEAM : B_CURSOR_SYSTEM_DEFAULT, true);
		if (fTracking) {
			// A release outside the view never reached us: with no
			// button down now, the drag is over.
			uint32 buttons = 0;
			GetMouse(&where, &buttons, false);
			if (buttons == 0)
				fTracking = false;
		}
		TrackMouse(where, dragMessage, false);
		break;

	case B_INSIDE_VIEW:
		TrackMouse(where, dragMessage, false);
		break;

	case B_EXITED_VIEW:
		TrackMouse(where, dragMessage, false);
		if (plainPointer)
			SetViewCursor(B_CURSOR_SYSTEM_DEFAULT, true);
		break;

	default:
		BView::MouseMoved(where, transit, dragMessage);
		break;
	}
}

void HexDumpView::MouseUp(BPoint where)
{
	TrackMouse(where, NULL, false);
	fTracking = false;

	BWindow* window = Window();
	if (Bounds().Contains(where) && window != NULL && window->IsActive())
		SetViewCursor(B_CURSOR_I_BEAM, true);
}

void HexDumpView::TrackMouse(BPoint where, const BMessage*, bool chooseColumn)
{
	if (!fTracking)
		return;

	const uint32 start = fSelStart;
	const uint32 end = fSelEnd;
	const uint32 anchor = fAnchor;
	const uint32 pos = PointToOffset(where, true);
	const bool hexSide = InHexColumn(where, false);

	bool redraw = true;
	uint32 from = 0;
	uint32 to = 0;

	if (chooseColumn && hexSide != fHexActive) {
		// A press in the other column makes it the typing column and leaves
		// a cursor at the anchor there.
		fHexActive = hexSide;
		fSelStart = fSelEnd = anchor;
		from = std::min(pos, start);
		to = std::max(pos, end);
	} else if (pos < anchor && pos != start) {
		fSelStart = pos;
		fSelEnd = anchor;
		from = std::min(pos, start);
		to = std::max(pos, start);
		if (end != anchor)
			to = std::max({to, end, anchor});
	} else if (pos > anchor && pos != end) {
		fSelStart = anchor;
		fSelEnd = pos;
		from = std::min(pos, end);
		to = std::max(pos, end);
		if (start != anchor)
			from = std::min({from, start, anchor});
	} else if (pos == anchor && (start != anchor || end != anchor)) {
		fSelStart = fSelEnd = anchor;
		from = std::min(pos, start);
		to = std::max(pos, end);
	} else
		redraw = false;

	if (fSelStart != start || fSelEnd != end)
		fLowNibble = false;

	if (redraw)
		DrawRange(from, to, true, false);

	// Dragging past the top or bottom edge scrolls the pointer's line in.
	if (where.y < Bounds().top || where.y > Bounds().bottom)
		ScrollToOffset(pos);
}

void HexDumpView::TrackHeldPointer()
{
	// A pointer held still past the top or bottom edge sends no moves; the
	// pulse carries the drag on, so the view keeps scrolling and the
	// selection keeps growing, as in text views.
	BPoint where;
	uint32 buttons = 0;
	GetMouse(&where, &buttons, false);
	const BRect bounds = Bounds();
	if (buttons != 0 && (where.y < bounds.top || where.y > bounds.bottom))
		TrackMouse(where, NULL, false);
}

void HexDumpView::Select(uint32 start, uint32 end)
{
	SelectCommon(start, end, true);
}

void HexDumpView::SelectCommon(uint32 start, uint32 end, bool draw)
{
	// Compared before ordering: re-selecting the current range keeps a
	// half-typed byte pending and draws nothing.
	if (start == fSelStart && end == fSelEnd)
		return;

	if (start > end)
		std::swap(start, end);

	const uint32 oldStart = fSelStart;
	const uint32 oldEnd = fSelEnd;

	fLowNibble = false;
	fSelStart = start;
	fSelEnd = end;
	if (start == end)
		fAnchor = end;

	if (draw)
		DrawRange(std::min(start, oldStart), std::max(end, oldEnd), true, false);
	// The end that moved stays in sight.
	ScrollToOffset(start != oldStart ? start : end);
}

void HexDumpView::BumpSelectionBy(int32 step, bool keepStart, bool keepEnd)
{
	if (keepStart)
		keepEnd = false;

	const int32 length = int32(fEditor->Size());
	int32 moved = int32(keepEnd ? fSelStart : fSelEnd) + step;
	moved = std::clamp(moved, int32(0), length);

	Select(keepStart ? fSelStart : uint32(moved), keepEnd ? fSelEnd : uint32(moved));
}
