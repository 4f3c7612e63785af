// HexDumpView: shows one item's bytes as a hex dump (offset, hex digits in
// groups, characters; 16 bytes a line), selects with mouse and keys, edits by
// typing and deleting, and blinks its cursor. Created and owned by the view
// tree of a HexDumpFullEditor, whose working copy it reads and edits. Every
// member runs on the thread of the window that holds it, with the window
// locked. The declarations below are grouped by the source that defines them.
#ifndef HEX_DUMP_VIEW_H
#define HEX_DUMP_VIEW_H

#include <Font.h>
#include <GraphicsDefs.h>
#include <Point.h>
#include <Rect.h>
#include <SupportDefs.h>
#include <View.h>

#include "HexDumpLayout.h"
#include "OffscreenBitmap.h"

class BMessage;
class HexDumpFullEditor;

class HexDumpView : public BView
{
	// HexDumpViewState.cpp: construction, the font metrics and the layout,
	// and the geometry queries.
public:
	HexDumpView(BRect frame, const char* name, HexDumpFullEditor* editor);
	virtual ~HexDumpView();

	virtual void AttachedToWindow();
	void DataChanged();
	void DataReplaced(uint32 offset, uint32 removedLength, uint32 insertedLength);
	void UpdateSizes();
	float LineHeight() const;
	BPoint OffsetToHexPoint(int32 offset) const;
	BPoint OffsetToAsciiPoint(int32 offset) const;
	uint32 PointToOffset(BPoint where, bool nearest) const;
	bool InHexColumn(BPoint where, bool strict) const;
	bool InAsciiColumn(BPoint where, bool strict) const;
	void GetContentSize(float& width, float& height);
	// Beside the kits' pointer form, which stays callable.
	using BView::GetPreferredSize;
	void GetPreferredSize(float& width, float& height);

private:
	void KeepAnchorInData();
	void ShowNewData();

	// HexDumpViewRendering.cpp: the lines of the dump.
public:
	virtual void Draw(BRect updateRect);
	void DrawRange(int32 start, int32 end, bool useOffscreen, bool clearToBottom);
	rgb_color HighlightColor() const;

private:
	typedef float (HexDumpView::*RunDrawer)(BView* view, BPoint origin, const void* bytes,
	                                        uint32 count, int32 offset, bool selected, bool erase);

	void DrawLines(int32 start, int32 end, bool useOffscreen, bool clearToBottom);
	void DrawLine(BView* view, float baseline, int32 lineOffset, const void* bytes, uint32 count);
	void DrawDataCommon(BView* view, RunDrawer drawer, BPoint origin, const void* bytes,
	                    uint32 count, int32 offset, bool highlight);
	float DrawHexRun(BView* view, BPoint origin, const void* bytes, uint32 count, int32 offset,
	                 bool selected, bool erase);
	float DrawAsciiRun(BView* view, BPoint origin, const void* bytes, uint32 count, int32 offset,
	                   bool selected, bool erase);
	void DrawRunCommon(BView* view, BPoint origin, const char* text, int32 length, float endX,
	                   bool selected, bool erase);
	void DrawOffsetValue(BView* view, BPoint where, int32 offset);

	// HexDumpViewOutline.cpp: the selection's outline.
private:
	void DrawHexOutlineSelection(BView* view);
	void DrawAsciiOutlineSelection(BView* view);
	void DrawOutlineSelectionCommon(BView* view, float left, float right, float startX, float endX);

	// HexDumpViewCursor.cpp: the cursor's bars, and the resize that may move
	// pixels under them.
public:
	void InvertCursor();
	void HideCursor();
	void ShowCursor();
	virtual void FrameResized(float width, float height);

private:
	void DrawCursorAt(BPoint where, bool inactiveColumn);
	BRect CursorBar(BPoint where) const;
	void DrawCursorBars();

	// HexDumpViewMouse.cpp: the selection, by mouse and by the keyboard's
	// setters.
public:
	virtual void MouseDown(BPoint where);
	virtual void MouseUp(BPoint where);
	virtual void MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage);
	void Select(uint32 start, uint32 end);
	void BumpSelectionBy(int32 step, bool keepStart, bool keepEnd);

private:
	// Select, drawing the change or, for a caller that redraws every line
	// it touched at once, leaving it undrawn.
	void SelectCommon(uint32 start, uint32 end, bool draw);
	void TrackMouse(BPoint where, const BMessage* dragMessage, bool chooseColumn);
	void TrackHeldPointer();

	// HexDumpViewKeyboard.cpp: keys and the edits they make.
public:
	virtual void KeyDown(const char* bytes, int32 numBytes);
	void Insert(const char* bytes, uint32 length, const char* undoName);
	void Delete(const char* undoName);
	void InsertHexDigit(uint32 digit, const char* undoName);

	// HexDumpViewFocus.cpp: blinking, and the look that follows the focus
	// and the window's activation.
public:
	virtual void Pulse();
	virtual void WindowActivated(bool active);
	virtual void MakeFocus(bool focus = true);
	void Activate(bool active);

	// HexDumpViewScrolling.cpp: the scroll bars follow the dump's size and
	// the view's; the mouse wheel scrolls.
public:
	virtual void MessageReceived(BMessage* message);
	void UpdateScrollBars();
	void ScrollToOffset(uint32 offset);

	// Here: read-only state, for the host program and tests.
public:
	uint32 SelectionStart() const { return fSelStart; }
	uint32 SelectionEnd() const { return fSelEnd; }
	uint32 Anchor() const { return fAnchor; }
	bool HexColumnActive() const { return fHexActive; }
	bool CursorOn() const { return fCursorOn; }
	bool LowNibblePending() const { return fLowNibble; }
	bool Tracking() const { return fTracking; }

private:
	HexDumpFullEditor* fEditor;
	font_height fFontHeight;
	// The column widths as the layout gives them.
	float fCharWidth;
	float fOffsetWidth;
	float fHexWidth;
	float fAsciiWidth;
	uint32 fBytesPerGroup;
	uint32 fSelStart;
	uint32 fSelEnd;
	uint32 fAnchor;
	bool fTracking;
	bool fHexActive;
	bigtime_t fNextBlink;
	bool fCursorOn;
	bool fLowNibble;
	OffscreenBitmap fOffscreen;
	// Where the drawn cursor's bars stand and which one is inverted: it comes
	// off exactly where it went on, even when the selection, the nibble or
	// the active column changed meanwhile.
	BPoint fCursorHexPoint;
	BPoint fCursorAsciiPoint;
	bool fCursorHexInverted;
	// Every position of the dump, from fFontHeight, fCharWidth and
	// fBytesPerGroup (UpdateSizes).
	HexDumpLayout::Sizes fSizes;
};

#endif // HEX_DUMP_VIEW_H
