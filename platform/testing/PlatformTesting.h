// What tests (and the host program's scripted mode) need and the real kits
// lack: font face choice, a replaceable clock, synchronous event delivery, a
// record of drawing calls, fault injection, pixel access and PNG export.
// Never included by add-on code.
#ifndef PLATFORM_TESTING_H
#define PLATFORM_TESTING_H

#include <GraphicsDefs.h>
#include <Message.h>
#include <Point.h>
#include <Rect.h>
#include <SupportDefs.h>

#include <string>
#include <vector>

class BBitmap;
class BCursor;
class BHandler;
class BLooper;
class BView;
class BWindow;

namespace PlatformTesting {

// --- Font faces -----------------------------------------------------------
// Every font (be_fixed_font included) renders and measures with the chosen
// face. The test face: ascent 10, descent 3, leading 0, advance 7 for every
// character, glyphs drawn unantialiased in the high colour. Default: FreeType.
void UseTestFace();
void UseFreeTypeFace();

// --- Clock ----------------------------------------------------------------
// SetTestClock switches system_time() to a manual clock standing at now.
// AdvanceTestClock moves it forward; for each pulse that falls due on the way,
// in time order, the clock is set to that pulse's time and the window that
// owes it receives B_PULSE; the call returns once every such pulse has been
// handled. SkipTestClock moves it forward without delivering the pulses on
// the way: they count as delivered, and every window's next pulse comes
// as long after as it would have (for a caller that knows those pulses
// would change nothing). UseRealClock goes back to the system clock.
void SetTestClock(bigtime_t now);
void AdvanceTestClock(bigtime_t delta);
void SkipTestClock(bigtime_t delta);
void UseRealClock();

// --- Synchronous delivery -------------------------------------------------
// PostAndWait posts a copy of message (to handler, or the looper's preferred
// handler) and returns once the looper is idle again: the message and all it
// queued meanwhile (updates included) have been handled. Must not be called
// from the looper's own thread, nor with the looper locked by the caller.
void PostAndWait(BLooper* looper, const BMessage& message, BHandler* handler = NULL);
void WaitUntilIdle(BLooper* looper);

// Window-level input messages as the display delivers them: "where" in the
// window's coordinates; the window routes them to views.
BMessage MakeKeyDown(const char* bytes, int32 modifiers = 0, int32 key = 0);
BMessage MakeMouseDown(BPoint windowWhere, int32 buttons = 1, int32 modifiers = 0,
                       int32 clicks = 1);
BMessage MakeMouseMoved(BPoint windowWhere, int32 buttons = 0, int32 modifiers = 0);
BMessage MakeMouseUp(BPoint windowWhere, int32 modifiers = 0);
// Files dropped from the desktop at windowWhere (the window's coordinates),
// as the display delivers them: B_SIMPLE_DATA with an entry_ref for each
// path in "refs", WasDropped() true, DropPoint() in screen coordinates. The
// window hands it to the view under the point. DropFiles posts it and waits
// until it is handled. B_OK, or get_ref_for_path's error for the first
// path it refuses (nothing is dropped); B_BAD_VALUE for no paths.
status_t MakeFileDrop(const BWindow* window, BPoint windowWhere,
                      const std::vector<std::string>& paths, BMessage* drop);
status_t DropFiles(BWindow* window, BPoint windowWhere, const std::vector<std::string>& paths);

// --- Drawing record -------------------------------------------------------
// One drawing call as a view received it. Coordinates are as the caller gave
// them (the view's own coordinates, before origin and scrolling are applied).
struct DrawCall
{
	enum Kind
	{
		kFillRect,
		kInvertRect,
		kStrokeRect,
		kStrokeLine, // also each line of a line array, with its own colour
		kDrawString,
		kDrawBitmap,
		kFillRegion
	};
	Kind kind;
	const BView* view;
	std::string viewName;
	bool inBitmap;       // the view belongs to a BBitmap, not a window
	BRect rect;          // FillRect, InvertRect, StrokeRect; DrawBitmap destination
	BRect source;        // DrawBitmap source
	BPoint start, end;   // lines; DrawString: start is the baseline origin
	std::string text;    // DrawString, the bytes drawn
	rgb_color color;     // the colour painted: high or low per pattern, the line's colour
	rgb_color high, low; // the view's colours at the call
	drawing_mode mode;
	BPoint origin; // the view's origin at the call
};

// Records every drawing call made in the process while it lives.
class DrawingRecord
{
public:
	DrawingRecord();
	~DrawingRecord();
	DrawingRecord(const DrawingRecord&) = delete;
	DrawingRecord& operator=(const DrawingRecord&) = delete;

	std::vector<DrawCall> Calls() const;
};

// --- Fault injection ------------------------------------------------------
// The next count calls of BBitmap::Lock fail (return false); 0 clears.
void FailBitmapLocks(int32 count);

// --- Pixels ---------------------------------------------------------------
// A copy of a window's or a view-accepting bitmap's pixels.
struct PixelImage
{
	int32 width = 0;
	int32 height = 0;
	std::vector<rgb_color> pixels; // row by row

	rgb_color At(int32 x, int32 y) const { return pixels[size_t(y) * width + x]; }
	bool operator==(const PixelImage& other) const;
};

PixelImage Snapshot(const BWindow* window);
PixelImage Snapshot(const BBitmap* bitmap);

// Has the whole window drawn again from its views' current state, as when
// it is first shown, waits until it is, and returns its pixels: the picture
// a window showing the same state would have if nothing had been drawn
// before. Same threading rules as WaitUntilIdle.
PixelImage RedrawWhole(BWindow* window);

// The smallest rectangle holding every pixel in which a and b differ, in
// pixel coordinates; invalid when they are equal. Images of different sizes
// differ everywhere.
BRect Difference(const PixelImage& a, const PixelImage& b);
// The pixel shown at a point given in the view's coordinates (its bounds).
rgb_color ViewPixel(const BView* view, BPoint where);

// The pointer shape a view has asked for with SetViewCursor (NULL until it
// asks): what the display shows while the pointer is over the view.
const BCursor* ViewCursor(const BView* view);

// Writes the pixels as a PNG: a temporary file beside path, renamed over it.
status_t WritePNG(const PixelImage& image, const char* path);

} // namespace PlatformTesting

#endif // PLATFORM_TESTING_H
