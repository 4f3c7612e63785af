// BView: a rectangle of a window (or of a view-accepting bitmap) that draws
// and receives input. Views form a tree: a parent owns its children and
// deletes them. A view attached to a window is used on that window's thread,
// or by another thread holding the window's lock.
#ifndef _VIEW_H
#define _VIEW_H

#include <AppDefs.h>
#include <Font.h>
#include <GraphicsDefs.h>
#include <Handler.h>
#include <InterfaceDefs.h>
#include <Point.h>
#include <Rect.h>
#include <Region.h>

#include <memory>

class BBitmap;
class BCursor;
class BMessage;
class BScrollBar;
class BWindow;

namespace BPrivate {
struct ViewState;
class KitAccess;
} // namespace BPrivate

class _IMPEXP_BE BView : public BHandler
{
public:
	BView(BRect frame, const char* name, uint32 resizingMode, uint32 flags);
	virtual ~BView();

	// Hooks.
	virtual void AttachedToWindow();
	virtual void AllAttached();
	virtual void DetachedFromWindow();
	virtual void AllDetached();
	// The base handles B_MOUSE_WHEEL_CHANGED by moving the view's scroll bars;
	// everything else goes to BHandler.
	virtual void MessageReceived(BMessage* message);
	virtual void Draw(BRect updateRect);
	virtual void MouseDown(BPoint where);
	virtual void MouseUp(BPoint where);
	virtual void MouseMoved(BPoint where, uint32 code, const BMessage* dragMessage);
	// The base moves the focus on Tab (Shift+Tab backwards) to the next view
	// with B_NAVIGABLE; other keys go nowhere.
	virtual void KeyDown(const char* bytes, int32 numBytes);
	virtual void KeyUp(const char* bytes, int32 numBytes);
	virtual void Pulse();
	virtual void FrameMoved(BPoint newPosition);
	virtual void FrameResized(float newWidth, float newHeight);
	virtual void WindowActivated(bool state);

	// The tree.
	BWindow* Window() const;
	void AddChild(BView* child, BView* before = NULL);
	bool RemoveChild(BView* child);
	int32 CountChildren() const;
	BView* ChildAt(int32 index) const;
	bool RemoveSelf();
	BView* Parent() const;
	BView* FindView(const char* name) const;

	// Geometry. The frame is in the parent's coordinates; the bounds in the
	// view's own, their left-top being the scroll position.
	BRect Bounds() const;
	BRect Frame() const;
	void MoveTo(BPoint where);
	void MoveTo(float x, float y);
	void ResizeBy(float dh, float dv);
	void ResizeTo(float width, float height);
	virtual void ScrollBy(float dh, float dv);
	void ScrollTo(float x, float y);
	virtual void ScrollTo(BPoint where);
	virtual void GetPreferredSize(float* width, float* height);

	void ConvertToWindow(BPoint* point) const;
	BPoint ConvertToWindow(BPoint point) const;
	void ConvertFromWindow(BPoint* point) const;
	BPoint ConvertFromWindow(BPoint point) const;
	void ConvertToScreen(BPoint* point) const;
	BPoint ConvertToScreen(BPoint point) const;
	void ConvertFromScreen(BPoint* point) const;
	BPoint ConvertFromScreen(BPoint point) const;

	// Flags and modes.
	uint32 Flags() const;
	virtual void SetFlags(uint32 flags);
	uint32 ResizingMode() const;

	// Drawing state.
	virtual void SetViewColor(rgb_color color);
	rgb_color ViewColor() const;
	virtual void SetHighColor(rgb_color color);
	void SetHighColor(uchar red, uchar green, uchar blue, uchar alpha = 255);
	rgb_color HighColor() const;
	virtual void SetLowColor(rgb_color color);
	rgb_color LowColor() const;
	virtual void SetDrawingMode(drawing_mode mode);
	drawing_mode DrawingMode() const;
	// Moves the coordinate system used by drawing calls: a point p is drawn
	// where p + origin lies in the view's bounds.
	void SetOrigin(BPoint origin);
	void SetOrigin(float x, float y);
	BPoint Origin() const;
	void MovePenTo(BPoint point);
	void MovePenTo(float x, float y);

	virtual void SetFont(const BFont* font, uint32 mask = B_FONT_ALL);
	void GetFont(BFont* font) const;
	void GetFontHeight(font_height* height) const;
	float StringWidth(const char* string) const;

	// Narrows the clipping to region (in drawing coordinates); a new call
	// replaces the last; NULL removes the restriction.
	void ConstrainClippingRegion(BRegion* region);

	// Drawing.
	void StrokeLine(BPoint toPoint, pattern p = B_SOLID_HIGH);
	void StrokeLine(BPoint fromPoint, BPoint toPoint, pattern p = B_SOLID_HIGH);
	void StrokeRect(BRect rect, pattern p = B_SOLID_HIGH);
	void FillRect(BRect rect, pattern p = B_SOLID_HIGH);
	void InvertRect(BRect rect);
	void BeginLineArray(int32 count);
	void AddLine(BPoint start, BPoint end, rgb_color color);
	void EndLineArray();
	void DrawString(const char* string, escapement_delta* delta = NULL);
	void DrawString(const char* string, BPoint point, escapement_delta* delta = NULL);
	void DrawString(const char* string, int32 length, BPoint point, escapement_delta* delta = NULL);
	void DrawBitmap(const BBitmap* bitmap, BRect sourceRect, BRect destRect);
	// Drawing is carried out at once, so both return at once.
	void Sync() const;

	void Invalidate(BRect rect);
	void Invalidate(const BRegion* region);
	void Invalidate();

	// Input and focus.
	virtual void MakeFocus(bool focusState = true);
	bool IsFocus() const;
	void SetViewCursor(const BCursor* cursor, bool sync = true);
	void GetMouse(BPoint* location, uint32* buttons, bool checkMessageQueue = true);
	// With B_POINTER_EVENTS, from a press until its release the view receives
	// every pointer move (as B_OUTSIDE_VIEW when outside it) and the release.
	status_t SetMouseEventMask(uint32 mask, uint32 options = 0);

	// The scroll bar that targets this view.
	BScrollBar* ScrollBar(orientation direction) const;

private:
	friend class BWindow;
	friend class BBitmap;
	friend class BScrollBar;
	friend class BPrivate::KitAccess;

	BView(const BView&);
	BView& operator=(const BView&);

	std::unique_ptr<BPrivate::ViewState> fState;
};

#endif // _VIEW_H
