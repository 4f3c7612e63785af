// HexDumpView: blinking the cursor, and the look that follows the focus and
// the window's activation. The view counts as active while its window is
// active and it is the window's focus view: then the active column shows the
// selection filled; otherwise both columns show it outlined.

#include "HexDumpView.h"

#include <OS.h>
#include <SupportDefs.h>
#include <Window.h>

void HexDumpView::Pulse()
{
	// Cheapest tests first: this runs at every pulse of the window.
	if (fTracking) {
		TrackHeldPointer();
		return;
	}
	if (fSelStart != fSelEnd)
		return;
	if (system_time() < fNextBlink)
		return;

	if (IsFocus())
		InvertCursor();
	else
		HideCursor();
}

void HexDumpView::Activate(bool active)
{
	if (fSelStart != fSelEnd) {
		// The selection switches between filled and outlined; the redraw
		// brings the cursor into step as well.
		DrawRange(fSelStart, fSelEnd, true, false);
		return;
	}

	if (active)
		ShowCursor();
	else
		HideCursor();
}

void HexDumpView::MakeFocus(bool focus)
{
	BView::MakeFocus(focus);

	BWindow* window = Window();
	if (window != NULL && window->IsActive())
		Activate(focus);

	// Taking the focus shows the cursor even in an inactive window.
	if (focus)
		ShowCursor();
	else
		HideCursor();
}

void HexDumpView::WindowActivated(bool active)
{
	BView::WindowActivated(active);

	if (IsFocus())
		Activate(active);
}
