// BWindow: a looper that owns a tree of views and the pixels they draw into.
// Its thread starts at the first Show(); every hook of the window and its
// views runs with the window locked. A window deletes itself when it quits.
#ifndef _WINDOW_H
#define _WINDOW_H

#include <InterfaceDefs.h>
#include <Looper.h>
#include <Point.h>
#include <Rect.h>

#include <memory>

class BButton;
class BView;

enum window_type
{
	B_UNTYPED_WINDOW = 0,
	B_TITLED_WINDOW = 1,
	B_MODAL_WINDOW = 3,
	B_DOCUMENT_WINDOW = 11,
	B_BORDERED_WINDOW = 20,
	B_FLOATING_WINDOW = 21
};

enum
{
	B_NOT_MOVABLE = 0x00000001,
	B_NOT_CLOSABLE = 0x00000020,
	B_NOT_ZOOMABLE = 0x00000040,
	B_NOT_MINIMIZABLE = 0x00004000,
	B_NOT_RESIZABLE = 0x00000002,
	B_NOT_H_RESIZABLE = 0x00008000,
	B_NOT_V_RESIZABLE = 0x00010000,
	B_AVOID_FRONT = 0x00000080,
	B_AVOID_FOCUS = 0x00002000,
	B_WILL_ACCEPT_FIRST_CLICK = 0x00000010,
	B_OUTLINE_RESIZE = 0x00001000,
	B_NO_WORKSPACE_ACTIVATION = 0x00000100,
	B_NOT_ANCHORED_ON_ACTIVATE = 0x00020000,
	B_ASYNCHRONOUS_CONTROLS = 0x00080000,
	B_QUIT_ON_WINDOW_CLOSE = 0x00100000
};

#define B_CURRENT_WORKSPACE 0
#define B_ALL_WORKSPACES 0xffffffff

namespace BPrivate {
struct WindowState;
class KitAccess;
} // namespace BPrivate

class _IMPEXP_BE BWindow : public BLooper
{
public:
	// frame: the content area in screen coordinates.
	BWindow(BRect frame, const char* title, window_type type, uint32 flags,
	        uint32 workspace = B_CURRENT_WORKSPACE);
	virtual ~BWindow();

	virtual void Quit();
	virtual bool QuitRequested();
	virtual thread_id Run();

	// The views: these act on the window's top view, which covers its bounds.
	void AddChild(BView* child, BView* before = NULL);
	BView* ChildAt(int32 index) const;
	BView* FindView(const char* viewName) const;
	BView* FindView(BPoint point) const;
	BView* CurrentFocus() const;
	// Enter without modifiers goes to the default button's KeyDown, ahead of
	// the focus view, while the button is enabled. The button's MakeDefault
	// and this keep each other in step.
	void SetDefaultButton(BButton* button);
	BButton* DefaultButton() const;

	virtual void DispatchMessage(BMessage* message, BHandler* handler);
	virtual void MessageReceived(BMessage* message);
	virtual void FrameResized(float newWidth, float newHeight);
	virtual void WindowActivated(bool state);

	// The first Show() starts the thread and makes the window the active one.
	virtual void Show();
	virtual void Hide();
	bool IsHidden() const;
	void Activate(bool active = true);
	bool IsActive() const;

	const char* Title() const;
	void SetTitle(const char* title);

	BRect Bounds() const;
	BRect Frame() const;
	void MoveBy(float dx, float dy);
	void ResizeTo(float width, float height);
	// The content's width and height stay within these, whoever resizes.
	void SetSizeLimits(float minWidth, float maxWidth, float minHeight, float maxHeight);

	void ConvertToScreen(BPoint* point) const;
	void ConvertFromScreen(BPoint* point) const;
	BPoint ConvertFromScreen(BPoint point) const;

	// 500000 microseconds by default; 0 stops the pulses.
	void SetPulseRate(bigtime_t rate);
	bigtime_t PulseRate() const;

	// A key with B_COMMAND_KEY and the given modifiers (of B_SHIFT_KEY,
	// B_OPTION_KEY, B_CONTROL_KEY), matched regardless of case, posts a copy
	// of message to target (the window when NULL). The window owns message.
	// Every window starts with Cmd+A, which sends B_SELECT_ALL to the focus
	// view; a shortcut added for the same key replaces it.
	void AddShortcut(uint32 key, uint32 modifiers, BMessage* message);
	void AddShortcut(uint32 key, uint32 modifiers, BMessage* message, BHandler* target);
	void RemoveShortcut(uint32 key, uint32 modifiers);

	// Draws the invalidated views now instead of waiting for the update
	// message; on the window's thread.
	void UpdateIfNeeded();

private:
	friend class BView;
	friend class BBitmap;
	friend class BPrivate::KitAccess;

	BWindow(const BWindow&);
	BWindow& operator=(const BWindow&);

	// The hidden window of a view-accepting bitmap: no thread, no display.
	BWindow(BRect bounds, void* offscreenPixels);

	virtual bigtime_t _TimerDelay();
	virtual void _TimerFired();
	virtual void _MessageHandled();
	virtual void _DispatchFailed();

	std::unique_ptr<BPrivate::WindowState> fWindowState;
};

#endif // _WINDOW_H
