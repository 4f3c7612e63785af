// Backend: the display behind the windows, a table of functions chosen at
// start-up. The headless backend has no native windows: a window's pixel
// buffer is its screen. Another backend (SDL2) shows the buffers in real
// windows and turns native input into window messages. Backends register
// themselves with a static BackendRegistration object.
//
// Threads: every function but Run, Wake and Stop may be called from any
// window's thread (with that window locked), so a backend serialises them
// itself. Run is called by BApplication::Run on its thread (the main thread).
// Input reaches a window as messages posted to it (BLooper::PostMessage):
//   B_KEY_DOWN / B_KEY_UP: "when" (int64), "key" (int32), "modifiers" (int32),
//     "bytes" (string, UTF-8), "raw_char" (int32), "be:key_repeat" (int32) on
//     repeats;
//   B_MOUSE_DOWN / B_MOUSE_UP / B_MOUSE_MOVED: "where" (point, the window's
//     coordinates), "buttons" (int32), "modifiers" (int32), "clicks" (int32,
//     presses), "when" (int64);
//   B_MOUSE_WHEEL_CHANGED: "be:wheel_delta_x", "be:wheel_delta_y" (float);
//   B_WINDOW_ACTIVATED: "active" (bool);
//   B_WINDOW_RESIZED: "width", "height" (int32, as BRect::Width/Height);
//   B_QUIT_REQUESTED.
// After DestroyWindow returns, the backend posts nothing more to that window.
// DestroyWindow runs on the window's thread, possibly while the thread in Run
// waits for that window to go (BApplication::QuitRequested): it must not wait
// for the thread in Run.
#ifndef BACKEND_H
#define BACKEND_H

#include <Point.h>
#include <Rect.h>
#include <SupportDefs.h>

class BWindow;
class PixelBuffer;

namespace BPrivate {

enum CursorShape
{
	kSystemDefaultCursor = 0,
	kIBeamCursor = 1
};

typedef void* NativeWindow;

struct Backend
{
	const char* name; // "headless", "sdl"

	// Opens the display; an error leaves the backend unusable.
	status_t (*Open)();
	void (*Close)();

	// A native window for window, showing its content area (frame, in screen
	// coordinates) with the title. NULL when the backend has none.
	NativeWindow (*CreateWindow)(BWindow* window, const char* title, BRect frame);
	void (*DestroyWindow)(NativeWindow native);
	void (*ShowWindow)(NativeWindow native, bool visible);
	// The pixels of area (in the buffer's coordinates) changed; the buffer may
	// be read only during the call.
	void (*Present)(NativeWindow native, const PixelBuffer& pixels, BRect area);
	void (*SetTitle)(NativeWindow native, const char* title);
	void (*Resize)(NativeWindow native, int32 width, int32 height);
	void (*Move)(NativeWindow native, BPoint leftTop);
	// The smallest and largest content size the user may resize it to.
	void (*SetSizeLimits)(NativeWindow native, int32 minWidth, int32 minHeight, int32 maxWidth,
	                      int32 maxHeight);
	// The pointer shape while the pointer is over the window.
	void (*SetCursor)(NativeWindow native, CursorShape shape);

	// Pumps the display's events on the calling thread until Stop. Calls
	// service(cookie) on that thread soon after each Wake.
	void (*Run)(void (*service)(void* cookie), void* cookie);
	// Both may be called from any thread.
	void (*Wake)();
	void (*Stop)();
};

// Makes a backend known by its name for as long as the process runs.
struct BackendRegistration
{
	explicit BackendRegistration(const Backend& backend);
};

const Backend* FindBackend(const char* name);

// The backend windows use: headless until another one is chosen.
const Backend& CurrentBackend();
// Opens backend and makes it the current one (closing the previous one).
// B_OK when it is the current one already; B_NOT_ALLOWED for another one once
// a window has been shown; the backend's error when it cannot open.
status_t UseBackend(const Backend& backend);
// Called by a window's first Show: the choice is final from then on.
void FreezeBackend();

} // namespace BPrivate

#endif // BACKEND_H
