// The SDL2 backend: a real window for each BWindow, showing its pixel buffer.
// SDL's video calls must all come from one thread, the one that runs the
// event pump (the application's, in Run), so the window threads only leave
// work for it: Present copies the changed pixels into the window's frame
// under a mutex and wakes the pump, which updates the texture and shows it;
// titles, sizes, visibility and pointer shapes go the same way. The pump
// turns SDL's events into the window-level messages described in Backend.h.
// Ctrl is the command key: Ctrl+key presses go out with B_COMMAND_KEY, so
// they reach the window's shortcuts and never a view's KeyDown.
#include "Backend.h"

#include <AppDefs.h>
#include <InterfaceDefs.h>
#include <Message.h>
#include <OS.h>
#include <Window.h>

#include <SDL.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "FileDrop.h"
#include "FontFace.h"
#include "PixelBuffer.h"
#include "PixelGrid.h"
#include "ScreenDpi.h"
#include "ScrollBarSize.h"

namespace {

// One native window and what the pump still has to do for it. Everything
// but the SDL objects is guarded by sLock; the SDL objects belong to the
// pump's thread.
struct SdlWindow
{
	BWindow* owner = NULL;
	SDL_Window* window = NULL;
	SDL_Renderer* renderer = NULL;
	SDL_Texture* texture = NULL;
	int32 textureWidth = 0;
	int32 textureHeight = 0;

	// The window's latest pixels and the part the pump has not shown yet.
	std::vector<uint32> frame;
	int32 frameWidth = 0;
	int32 frameHeight = 0;
	SDL_Rect dirty = {0, 0, 0, 0};

	std::string title;
	bool titleChanged = false;
	int32 width = 1;
	int32 height = 1;
	bool sizeChanged = false;
	int32 minWidth = 0;
	int32 minHeight = 0;
	int32 maxWidth = 0; // 0: no limit
	int32 maxHeight = 0;
	bool limitsChanged = false;
	int32 left = 0;
	int32 top = 0;
	bool moved = false;
	bool visible = false;
	bool visibilityChanged = false;
	bool iBeam = false;
	bool cursorChanged = false;
	bool destroyed = false;
};

// The state of the display, never destroyed: windows may present while the
// process exits.
struct Display
{
	std::mutex lock;
	std::vector<SdlWindow*> windows;
	Uint32 wakeEvent = 0;
	std::atomic<bool> wakePending{false};
	std::atomic<bool> stopped{false};
	SDL_Cursor* arrow = NULL;
	SDL_Cursor* iBeam = NULL;
	// The pump's own record of the buttons held, from the button events.
	int32 buttons = 0;
	// The pump's: where the pointer last moved over a window, and the files
	// of a drop in progress (between SDL_DROPBEGIN and SDL_DROPCOMPLETE).
	Uint32 pointerWindow = 0;
	int pointerX = 0;
	int pointerY = 0;
	bool dropping = false;
	std::vector<std::string> droppedFiles;
};

Display& TheDisplay()
{
	static Display* sDisplay = new Display;
	return *sDisplay;
}

SDL_Rect Union(const SDL_Rect& a, const SDL_Rect& b)
{
	if (a.w <= 0 || a.h <= 0)
		return b;
	if (b.w <= 0 || b.h <= 0)
		return a;
	SDL_Rect result;
	SDL_UnionRect(&a, &b, &result);
	return result;
}

int32 Modifiers(Uint16 state)
{
	int32 modifiers = 0;
	if ((state & KMOD_SHIFT) != 0)
		modifiers |= B_SHIFT_KEY;
	if ((state & KMOD_CTRL) != 0)
		modifiers |= B_COMMAND_KEY;
	if ((state & KMOD_ALT) != 0)
		modifiers |= B_OPTION_KEY;
	if ((state & KMOD_CAPS) != 0)
		modifiers |= B_CAPS_LOCK;
	return modifiers;
}

int32 ButtonMask(Uint8 button)
{
	switch (button) {
	case SDL_BUTTON_LEFT:
		return B_PRIMARY_MOUSE_BUTTON;
	case SDL_BUTTON_RIGHT:
		return B_SECONDARY_MOUSE_BUTTON;
	case SDL_BUTTON_MIDDLE:
		return B_TERTIARY_MOUSE_BUTTON;
	default:
		return 0;
	}
}

// The byte the kits deliver for a key that types no text; 0 for others.
char SpecialKeyByte(SDL_Keycode key)
{
	switch (key) {
	case SDLK_LEFT:
		return B_LEFT_ARROW;
	case SDLK_RIGHT:
		return B_RIGHT_ARROW;
	case SDLK_UP:
		return B_UP_ARROW;
	case SDLK_DOWN:
		return B_DOWN_ARROW;
	case SDLK_BACKSPACE:
		return B_BACKSPACE;
	case SDLK_DELETE:
		return B_DELETE;
	case SDLK_RETURN:
	case SDLK_KP_ENTER:
		return B_RETURN;
	case SDLK_TAB:
		return B_TAB;
	case SDLK_ESCAPE:
		return B_ESCAPE;
	case SDLK_HOME:
		return B_HOME;
	case SDLK_END:
		return B_END;
	case SDLK_PAGEUP:
		return B_PAGE_UP;
	case SDLK_PAGEDOWN:
		return B_PAGE_DOWN;
	case SDLK_INSERT:
		return B_INSERT;
	default:
		if (key >= SDLK_F1 && key <= SDLK_F12)
			return B_FUNCTION_KEY;
		return 0;
	}
}

// Posts message to the window with the SDL id, unless that window is gone:
// the lock keeps DestroyWindow from returning in between.
void PostTo(Uint32 windowID, BMessage& message)
{
	Display& display = TheDisplay();
	SDL_Window* native = SDL_GetWindowFromID(windowID);
	std::lock_guard<std::mutex> guard(display.lock);
	for (SdlWindow* window : display.windows) {
		if (window->window == native && !window->destroyed) {
			window->owner->PostMessage(&message);
			return;
		}
	}
}

void PostKey(Uint32 windowID, const std::string& bytes, int32 modifiers, int32 key, bool repeat)
{
	BMessage message(B_KEY_DOWN);
	message.AddInt64("when", system_time());
	message.AddInt32("key", key);
	message.AddInt32("modifiers", modifiers);
	message.AddString("bytes", bytes.c_str());
	message.AddInt32("raw_char", int32(static_cast<unsigned char>(bytes[0])));
	if (repeat)
		message.AddInt32("be:key_repeat", 1);
	PostTo(windowID, message);
}

void PostMouse(Uint32 windowID, uint32 what, int x, int y, int32 clicks)
{
	BMessage message(what);
	message.AddInt64("when", system_time());
	message.AddPoint("where", BPoint(float(x), float(y)));
	message.AddInt32("buttons", TheDisplay().buttons);
	message.AddInt32("modifiers", Modifiers(Uint16(SDL_GetModState())));
	if (what == B_MOUSE_DOWN)
		message.AddInt32("clicks", clicks);
	PostTo(windowID, message);
}

void HandleKey(const SDL_KeyboardEvent& event)
{
	int32 modifiers = Modifiers(event.keysym.mod);
	int32 key = int32(event.keysym.scancode);
	char special = SpecialKeyByte(event.keysym.sym);
	if (special != 0) {
		PostKey(event.windowID, std::string(1, special), modifiers, key, event.repeat != 0);
		return;
	}
	// With the command key no text comes: the key goes out here, as the
	// key's lowercase character. Other keys come as text (HandleText).
	if ((modifiers & B_COMMAND_KEY) != 0 && event.keysym.sym > 0x20 && event.keysym.sym < 0x7f)
		PostKey(event.windowID, std::string(1, char(event.keysym.sym)), modifiers, key,
		        event.repeat != 0);
}

void HandleText(const SDL_TextInputEvent& event)
{
	Uint16 state = Uint16(SDL_GetModState());
	if ((state & KMOD_CTRL) != 0)
		return;
	int32 modifiers = Modifiers(state);
	// One key press for each character typed.
	const char* text = event.text;
	for (size_t i = 0; text[i] != '\0';) {
		unsigned char first = static_cast<unsigned char>(text[i]);
		size_t length = first >= 0xf0 ? 4 : first >= 0xe0 ? 3 : first >= 0xc0 ? 2 : 1;
		length = std::min(length, strlen(text + i));
		PostKey(event.windowID, std::string(text + i, length), modifiers, 0, false);
		i += length;
	}
}

void HandleWindowEvent(const SDL_WindowEvent& event)
{
	switch (event.event) {
	case SDL_WINDOWEVENT_FOCUS_GAINED:
	case SDL_WINDOWEVENT_FOCUS_LOST: {
		BMessage message(B_WINDOW_ACTIVATED);
		message.AddBool("active", event.event == SDL_WINDOWEVENT_FOCUS_GAINED);
		PostTo(event.windowID, message);
		break;
	}
	case SDL_WINDOWEVENT_SIZE_CHANGED: {
		// Widths count the pixels less one, as BRect's do.
		BMessage message(B_WINDOW_RESIZED);
		message.AddInt64("when", system_time());
		message.AddInt32("width", event.data1 - 1);
		message.AddInt32("height", event.data2 - 1);
		PostTo(event.windowID, message);
		break;
	}
	case SDL_WINDOWEVENT_EXPOSED: {
		Display& display = TheDisplay();
		SDL_Window* native = SDL_GetWindowFromID(event.windowID);
		std::lock_guard<std::mutex> guard(display.lock);
		for (SdlWindow* window : display.windows) {
			if (window->window == native)
				window->dirty = SDL_Rect{0, 0, window->frameWidth, window->frameHeight};
		}
		break;
	}
	case SDL_WINDOWEVENT_CLOSE: {
		BMessage message(B_QUIT_REQUESTED);
		PostTo(event.windowID, message);
		break;
	}
	}
}

// Posts the files dropped on a window as one drop. SDL tells no position:
// the pointer's, when it is over the window, else where it last moved over
// it, else the window's centre.
void PostDrop(Uint32 windowID)
{
	Display& display = TheDisplay();
	std::vector<std::string> paths;
	paths.swap(display.droppedFiles);
	SDL_Window* native = SDL_GetWindowFromID(windowID);
	if (paths.empty() || native == NULL)
		return;
	int width;
	int height;
	SDL_GetWindowSize(native, &width, &height);
	int left;
	int top;
	SDL_GetWindowPosition(native, &left, &top);
	int x;
	int y;
	SDL_GetGlobalMouseState(&x, &y);
	x -= left;
	y -= top;
	if (x < 0 || y < 0 || x >= width || y >= height) {
		if (display.pointerWindow == windowID) {
			x = display.pointerX;
			y = display.pointerY;
		} else {
			x = width / 2;
			y = height / 2;
		}
	}
	std::lock_guard<std::mutex> guard(display.lock);
	for (SdlWindow* window : display.windows) {
		if (window->window != native || window->destroyed)
			continue;
		// In the screen coordinates of the window's frame, as the window
		// converts them back.
		BMessage drop(B_SIMPLE_DATA);
		status_t status = BPrivate::MakeFileDrop(
		    BPoint(float(window->left + x), float(window->top + y)), paths, &drop);
		if (status == B_OK)
			window->owner->PostMessage(&drop);
		else
			fprintf(stderr,
			        "A drop of %zu files was refused: a path names no directory "
			        "entry (error %d)\n",
			        paths.size(), int(status));
		return;
	}
}

void HandleEvent(const SDL_Event& event)
{
	Display& display = TheDisplay();
	switch (event.type) {
	case SDL_KEYDOWN:
		HandleKey(event.key);
		break;
	case SDL_TEXTINPUT:
		HandleText(event.text);
		break;
	case SDL_MOUSEBUTTONDOWN:
		display.buttons |= ButtonMask(event.button.button);
		PostMouse(event.button.windowID, B_MOUSE_DOWN, event.button.x, event.button.y,
		          event.button.clicks);
		break;
	case SDL_MOUSEBUTTONUP:
		display.buttons &= ~ButtonMask(event.button.button);
		PostMouse(event.button.windowID, B_MOUSE_UP, event.button.x, event.button.y, 0);
		break;
	case SDL_MOUSEMOTION:
		display.pointerWindow = event.motion.windowID;
		display.pointerX = event.motion.x;
		display.pointerY = event.motion.y;
		PostMouse(event.motion.windowID, B_MOUSE_MOVED, event.motion.x, event.motion.y, 0);
		break;
	case SDL_MOUSEWHEEL: {
		// SDL counts a turn away from the user as positive; the kits
		// count it as negative (scrolling up).
		int direction = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
		BMessage message(B_MOUSE_WHEEL_CHANGED);
		message.AddInt64("when", system_time());
		message.AddFloat("be:wheel_delta_x", float(direction * event.wheel.x));
		message.AddFloat("be:wheel_delta_y", -float(direction * event.wheel.y));
		PostTo(event.wheel.windowID, message);
		break;
	}
	case SDL_WINDOWEVENT:
		HandleWindowEvent(event.window);
		break;
	case SDL_DROPBEGIN:
		display.dropping = true;
		display.droppedFiles.clear();
		break;
	case SDL_DROPFILE:
		if (event.drop.file != NULL) {
			display.droppedFiles.push_back(event.drop.file);
			SDL_free(event.drop.file);
		}
		// Without the brackets of a drop (older SDL) each file is one.
		if (!display.dropping)
			PostDrop(event.drop.windowID);
		break;
	case SDL_DROPCOMPLETE:
		display.dropping = false;
		PostDrop(event.drop.windowID);
		break;
	}
}

void DestroyNative(SdlWindow* window)
{
	if (window->texture != NULL)
		SDL_DestroyTexture(window->texture);
	if (window->renderer != NULL)
		SDL_DestroyRenderer(window->renderer);
	if (window->window != NULL)
		SDL_DestroyWindow(window->window);
}

// Creates the window's SDL objects on first sight; false if SDL cannot.
bool MakeNative(SdlWindow* window)
{
	if (window->window != NULL)
		return true;
	window->window =
	    SDL_CreateWindow(window->title.c_str(), window->left, window->top, window->width,
	                     window->height, SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
	if (window->window == NULL)
		return false;
	window->renderer = SDL_CreateRenderer(window->window, -1, 0);
	if (window->renderer == NULL)
		window->renderer = SDL_CreateRenderer(window->window, -1, SDL_RENDERER_SOFTWARE);
	window->titleChanged = false;
	window->sizeChanged = false;
	window->moved = false;
	window->visibilityChanged = true;
	window->limitsChanged = true;
	window->dirty = SDL_Rect{0, 0, window->frameWidth, window->frameHeight};
	return true;
}

// Shows the frame's changed part.
void ShowPixels(SdlWindow* window)
{
	if (window->renderer == NULL || window->frameWidth <= 0 || window->frameHeight <= 0)
		return;
	if (window->texture == NULL || window->textureWidth != window->frameWidth ||
	    window->textureHeight != window->frameHeight) {
		if (window->texture != NULL)
			SDL_DestroyTexture(window->texture);
		// B_RGB32 pixels read as 32-bit words are 0xAARRGGBB.
		window->texture =
		    SDL_CreateTexture(window->renderer, SDL_PIXELFORMAT_ARGB8888,
		                      SDL_TEXTUREACCESS_STREAMING, window->frameWidth, window->frameHeight);
		window->textureWidth = window->frameWidth;
		window->textureHeight = window->frameHeight;
		window->dirty = SDL_Rect{0, 0, window->frameWidth, window->frameHeight};
	}
	if (window->texture == NULL || window->dirty.w <= 0 || window->dirty.h <= 0)
		return;
	const SDL_Rect& dirty = window->dirty;
	SDL_UpdateTexture(window->texture, &dirty,
	                  window->frame.data() + size_t(dirty.y) * window->frameWidth + dirty.x,
	                  window->frameWidth * 4);
	window->dirty = SDL_Rect{0, 0, 0, 0};
	SDL_Rect whole = {0, 0, window->frameWidth, window->frameHeight};
	SDL_SetRenderDrawColor(window->renderer, 255, 255, 255, 255);
	SDL_RenderClear(window->renderer);
	SDL_RenderCopy(window->renderer, window->texture, &whole, &whole);
	SDL_RenderPresent(window->renderer);
}

// On the pump's thread: makes each native window match what its window
// asked for, and shows the changed pixels.
void Synchronize()
{
	Display& display = TheDisplay();
	std::lock_guard<std::mutex> guard(display.lock);
	for (auto it = display.windows.begin(); it != display.windows.end();) {
		SdlWindow* window = *it;
		if (window->destroyed) {
			DestroyNative(window);
			delete window;
			it = display.windows.erase(it);
			continue;
		}
		++it;
		if (!MakeNative(window))
			continue;
		if (window->titleChanged) {
			SDL_SetWindowTitle(window->window, window->title.c_str());
			window->titleChanged = false;
		}
		if (window->sizeChanged) {
			int width;
			int height;
			SDL_GetWindowSize(window->window, &width, &height);
			if (width != window->width || height != window->height)
				SDL_SetWindowSize(window->window, window->width, window->height);
			window->sizeChanged = false;
		}
		if (window->limitsChanged) {
			SDL_SetWindowMinimumSize(window->window, window->minWidth, window->minHeight);
			if (window->maxWidth > 0 && window->maxHeight > 0)
				SDL_SetWindowMaximumSize(window->window, window->maxWidth, window->maxHeight);
			window->limitsChanged = false;
		}
		if (window->moved) {
			SDL_SetWindowPosition(window->window, window->left, window->top);
			window->moved = false;
		}
		if (window->visibilityChanged) {
			if (window->visible)
				SDL_ShowWindow(window->window);
			else
				SDL_HideWindow(window->window);
			window->visibilityChanged = false;
		}
		if (window->cursorChanged) {
			SDL_SetCursor(window->iBeam ? display.iBeam : display.arrow);
			window->cursorChanged = false;
		}
		ShowPixels(window);
	}
}

// Backend functions.

void Wake()
{
	Display& display = TheDisplay();
	// One wake event in the queue is enough, however often the windows ask.
	if (display.wakePending.exchange(true))
		return;
	SDL_Event event;
	SDL_zero(event);
	event.type = display.wakeEvent;
	SDL_PushEvent(&event);
}

// Without a session bus libdbus starts one of its own for SDL, which asks
// for it at start-up (for an input method and to keep the screen saver
// off), and that bus stays until the X server ends. No service of the
// session is on such a bus: SDL goes without one instead.
void KeepFromStartingASessionBus()
{
	if (getenv("DBUS_SESSION_BUS_ADDRESS") != NULL)
		return;
	// The user's bus that libdbus finds by itself.
	const char* runtime = getenv("XDG_RUNTIME_DIR");
	struct stat info;
	if (runtime != NULL && stat((std::string(runtime) + "/bus").c_str(), &info) == 0 &&
	    S_ISSOCK(info.st_mode))
		return;
	// An address of no kind libdbus knows: connecting fails at once.
	setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
}

status_t Open()
{
	Display& display = TheDisplay();
	KeepFromStartingASessionBus();
	// The program keeps its own handling of signals.
	SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
	// The click that activates a window also places the cursor, as a
	// person expects; X11 would swallow it otherwise.
	SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
	if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
		return B_ERROR;
	// Without a server SDL falls back to drivers that show nothing
	// (offscreen, dummy): only a real display counts, the program then runs
	// headless.
	const char* driver = SDL_GetCurrentVideoDriver();
	if (driver == NULL || (strcmp(driver, "x11") != 0 && strcmp(driver, "wayland") != 0)) {
		SDL_QuitSubSystem(SDL_INIT_VIDEO);
		return B_ERROR;
	}
	// The system fonts follow the display's scale. On X11 the server's
	// own answer counts: desktops announce their scale there, and SDL
	// finds no size when RandR gives none.
	float dotsPerInch = 0;
	if (strcmp(driver, "x11") == 0)
		dotsPerInch = BPrivate::X11ScreenDpi();
	else if (SDL_GetDisplayDPI(0, NULL, &dotsPerInch, NULL) != 0)
		dotsPerInch = 0;
	BPrivate::FollowDisplayDpi(dotsPerInch);
	BPrivate::ScaleScrollBars(dotsPerInch);
	display.wakeEvent = SDL_RegisterEvents(1);
	if (display.wakeEvent == Uint32(-1)) {
		SDL_QuitSubSystem(SDL_INIT_VIDEO);
		return B_ERROR;
	}
	display.arrow = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
	display.iBeam = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_IBEAM);
	SDL_StartTextInput();
	// Files dropped from the desktop arrive as drops; dragged text does not.
	SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
	SDL_EventState(SDL_DROPBEGIN, SDL_ENABLE);
	SDL_EventState(SDL_DROPCOMPLETE, SDL_ENABLE);
	SDL_EventState(SDL_DROPTEXT, SDL_DISABLE);
	return B_OK;
}

void Close()
{
	Display& display = TheDisplay();
	{
		std::lock_guard<std::mutex> guard(display.lock);
		for (SdlWindow* window : display.windows) {
			DestroyNative(window);
			delete window;
		}
		display.windows.clear();
	}
	if (display.arrow != NULL)
		SDL_FreeCursor(display.arrow);
	if (display.iBeam != NULL)
		SDL_FreeCursor(display.iBeam);
	display.arrow = NULL;
	display.iBeam = NULL;
	SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

BPrivate::NativeWindow CreateWindow(BWindow* owner, const char* title, BRect frame)
{
	SdlWindow* window = new SdlWindow;
	window->owner = owner;
	window->title = title != NULL ? title : "";
	window->width = std::max(int32(1), BPrivate::PixelCount(frame.Width()));
	window->height = std::max(int32(1), BPrivate::PixelCount(frame.Height()));
	window->left = int32(frame.left);
	window->top = int32(frame.top);
	{
		Display& display = TheDisplay();
		std::lock_guard<std::mutex> guard(display.lock);
		display.windows.push_back(window);
	}
	Wake();
	return window;
}

void DestroyWindow(BPrivate::NativeWindow native)
{
	SdlWindow* window = static_cast<SdlWindow*>(native);
	{
		Display& display = TheDisplay();
		std::lock_guard<std::mutex> guard(display.lock);
		window->destroyed = true;
		window->owner = NULL;
	}
	Wake();
}

// The functions below change what the pump shows next.
template <typename Change> void Request(BPrivate::NativeWindow native, Change change)
{
	if (native == NULL)
		return;
	{
		std::lock_guard<std::mutex> guard(TheDisplay().lock);
		change(*static_cast<SdlWindow*>(native));
	}
	Wake();
}

void ShowWindow(BPrivate::NativeWindow native, bool visible)
{
	Request(native, [&](SdlWindow& window) {
		window.visible = visible;
		window.visibilityChanged = true;
	});
}

void Present(BPrivate::NativeWindow native, const PixelBuffer& pixels, BRect area)
{
	Request(native, [&](SdlWindow& window) {
		const int32 width = pixels.Width();
		const int32 height = pixels.Height();
		SDL_Rect changed;
		if (width != window.frameWidth || height != window.frameHeight) {
			// A new size: the whole buffer, whatever the area.
			window.frame.assign(size_t(width) * size_t(height), 0);
			window.frameWidth = width;
			window.frameHeight = height;
			changed = SDL_Rect{0, 0, width, height};
			window.dirty = changed;
		} else {
			int32 left = std::max(0, int32(area.left));
			int32 top = std::max(0, int32(area.top));
			int32 right = std::min(width - 1, int32(area.right));
			int32 bottom = std::min(height - 1, int32(area.bottom));
			if (left > right || top > bottom)
				return;
			changed = SDL_Rect{left, top, right - left + 1, bottom - top + 1};
			window.dirty = Union(window.dirty, changed);
		}
		for (int32 y = changed.y; y < changed.y + changed.h; y++) {
			const uint32* row = pixels.Row(y) + changed.x;
			std::copy(row, row + changed.w,
			          window.frame.begin() +
			              ptrdiff_t(size_t(y) * size_t(width) + size_t(changed.x)));
		}
	});
}

void SetTitle(BPrivate::NativeWindow native, const char* title)
{
	Request(native, [&](SdlWindow& window) {
		window.title = title != NULL ? title : "";
		window.titleChanged = true;
	});
}

void Resize(BPrivate::NativeWindow native, int32 width, int32 height)
{
	Request(native, [&](SdlWindow& window) {
		window.width = std::max<int32>(1, width);
		window.height = std::max<int32>(1, height);
		window.sizeChanged = true;
	});
}

void SetSizeLimits(BPrivate::NativeWindow native, int32 minWidth, int32 minHeight, int32 maxWidth,
                   int32 maxHeight)
{
	Request(native, [&](SdlWindow& window) {
		window.minWidth = std::max<int32>(1, minWidth);
		window.minHeight = std::max<int32>(1, minHeight);
		// SDL takes sizes as int: larger limits mean none.
		window.maxWidth = maxWidth < 16384 ? maxWidth : 0;
		window.maxHeight = maxHeight < 16384 ? maxHeight : 0;
		window.limitsChanged = true;
	});
}

void Move(BPrivate::NativeWindow native, BPoint leftTop)
{
	Request(native, [&](SdlWindow& window) {
		window.left = int32(leftTop.x);
		window.top = int32(leftTop.y);
		window.moved = true;
	});
}

void SetCursor(BPrivate::NativeWindow native, BPrivate::CursorShape shape)
{
	Request(native, [&](SdlWindow& window) {
		window.iBeam = shape == BPrivate::kIBeamCursor;
		window.cursorChanged = true;
	});
}

void Run(void (*service)(void* cookie), void* cookie)
{
	Display& display = TheDisplay();
	// Whatever was posted before Run is waiting already.
	service(cookie);
	Synchronize();
	while (!display.stopped.load()) {
		SDL_Event event;
		if (SDL_WaitEventTimeout(&event, 100) == 0)
			continue;
		bool woken = false;
		do {
			if (event.type == display.wakeEvent)
				woken = true;
			else
				HandleEvent(event);
		} while (!display.stopped.load() && SDL_PollEvent(&event) != 0);
		if (woken) {
			display.wakePending = false;
			service(cookie);
		}
		Synchronize();
	}
	// Windows that went meanwhile leave no native window behind.
	Synchronize();
	display.stopped = false;
}

void Stop()
{
	TheDisplay().stopped = true;
	// The pump may be waiting for an event.
	TheDisplay().wakePending = false;
	Wake();
}

const BPrivate::Backend kSdl = {"sdl",         Open,      Close,    CreateWindow, DestroyWindow,
                                ShowWindow,    Present,   SetTitle, Resize,       Move,
                                SetSizeLimits, SetCursor, Run,      Wake,         Stop};

const BPrivate::BackendRegistration kRegistration(kSdl);

} // namespace
