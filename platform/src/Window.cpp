// BWindow: the top view and the pixels, the routing of input to views,
// pulses, activation, resizing and updates. Messages are handled on the
// window's thread with the window locked (see BLooper).
#include <Window.h>

#include <AppDefs.h>
#include <Button.h>
#include <Cursor.h>
#include <View.h>

#include "Backend.h"
#include "Clock.h"
#include "KitAccess.h"
#include "Painter.h"
#include "PixelGrid.h"
#include "ViewTree.h"

#include <ctype.h>
#include <string.h>

#include <algorithm>
#include <mutex>

using BPrivate::KitAccess;
using BPrivate::PixelCount;
using BPrivate::ViewState;
using BPrivate::WindowState;

namespace {

struct Windows
{
	std::mutex mutex;
	std::vector<BWindow*> live;
	BWindow* active = NULL;
};

// Never destroyed: window threads may still run while the process exits.
Windows& AllWindows()
{
	static Windows* sWindows = new Windows;
	return *sWindows;
}

// Tells the native window how far the user may resize it.
void SendSizeLimits(const WindowState& state)
{
	BPrivate::CurrentBackend().SetSizeLimits(
	    state.native, PixelCount(state.minWidth), PixelCount(state.minHeight),
	    PixelCount(state.maxWidth), PixelCount(state.maxHeight));
}

const uint32 kShortcutModifiers = B_SHIFT_KEY | B_OPTION_KEY | B_CONTROL_KEY;

uint32 ShortcutModifiers(uint32 modifiers)
{
	return (modifiers & kShortcutModifiers) | B_COMMAND_KEY;
}

uint32 ShortcutKey(uint32 key)
{
	return key < 0x80 ? uint32(tolower(int(key))) : key;
}

BPrivate::CursorShape ShapeOf(const BView* view)
{
	const BCursor* cursor = view != NULL ? KitAccess::State(view).cursor : NULL;
	return cursor != NULL ? BPrivate::CursorShape(KitAccess::Shape(cursor))
	                      : BPrivate::kSystemDefaultCursor;
}

// The deepest view whose visible area holds the point (window coordinates).
BView* ViewAt(BView* view, BPoint where)
{
	ViewState& state = KitAccess::State(view);
	BPrivate::UpdateGeometry(state);
	if (!state.visibleWithChildren.Contains(where))
		return NULL;
	for (auto child = state.children.rbegin(); child != state.children.rend(); ++child) {
		if (BView* found = ViewAt(*child, where))
			return found;
	}
	return view;
}

} // namespace

namespace BPrivate {

std::vector<BWindow*> LiveWindows()
{
	Windows& windows = AllWindows();
	std::lock_guard<std::mutex> guard(windows.mutex);
	return windows.live;
}

bigtime_t NextManualPulse(BWindow* window, bigtime_t unsetNext)
{
	std::shared_ptr<LooperState> looper = FindLooperState(window);
	if (!looper)
		return -1;
	{
		std::lock_guard<std::mutex> guard(looper->queueMutex);
		if (!looper->running || looper->quitting || looper->exited)
			return -1;
	}
	WindowState& state = KitAccess::State(window);
	std::lock_guard<std::mutex> guard(state.pulseMutex);
	if (state.pulseRate <= 0)
		return -1;
	if (state.nextManualPulse < 0)
		state.nextManualPulse = unsetNext + state.pulseRate;
	return state.nextManualPulse;
}

void AdvanceManualPulse(BWindow* window, bigtime_t due)
{
	WindowState& state = KitAccess::State(window);
	std::lock_guard<std::mutex> guard(state.pulseMutex);
	state.nextManualPulse = due + state.pulseRate;
}

} // namespace BPrivate

BWindow::BWindow(BRect frame, const char* title, window_type, uint32, uint32)
    : BLooper(title), fWindowState(new WindowState)
{
	WindowState& state = *fWindowState;
	state.frame = frame;
	state.title = title != NULL ? title : "";
	state.ownPixels.Resize(PixelCount(frame.Width()), PixelCount(frame.Height()));
	state.pixels = &state.ownPixels;
	state.topView = new BView(Bounds(), "top view", B_FOLLOW_ALL_SIDES, B_WILL_DRAW);
	BPrivate::AttachTree(state.topView, this);
	state.shortcuts.push_back({ShortcutKey('a'), ShortcutModifiers(0),
	                           std::make_unique<BMessage>(B_SELECT_ALL), NULL, true});

	Windows& windows = AllWindows();
	std::lock_guard<std::mutex> guard(windows.mutex);
	windows.live.push_back(this);
}

BWindow::BWindow(BRect bounds, void* offscreenPixels)
    : BLooper("offscreen"), fWindowState(new WindowState)
{
	WindowState& state = *fWindowState;
	state.frame = bounds;
	state.offscreen = true;
	state.pixels = static_cast<PixelBuffer*>(offscreenPixels);
	state.topView = new BView(bounds, "top view", B_FOLLOW_ALL_SIDES, 0);
	BPrivate::AttachTree(state.topView, this);
}

BWindow::~BWindow()
{
	WindowState& state = *fWindowState;
	if (!state.offscreen) {
		Windows& windows = AllWindows();
		std::lock_guard<std::mutex> guard(windows.mutex);
		windows.live.erase(std::find(windows.live.begin(), windows.live.end(), this));
		if (windows.active == this)
			windows.active = NULL;
	}
	if (state.native != NULL)
		BPrivate::CurrentBackend().DestroyWindow(state.native);
	state.deleting = true;
	// The focus goes without calling hooks: the window is going away.
	state.focus = NULL;
	BView* top = state.topView;
	BPrivate::DetachTree(top);
	state.topView = NULL;
	delete top;
}

void BWindow::Quit()
{
	if (!fWindowState->offscreen && !IsHidden() && IsLocked())
		Hide();
	BLooper::Quit();
}

bool BWindow::QuitRequested()
{
	return true;
}

thread_id BWindow::Run()
{
	return BLooper::Run();
}

void BWindow::AddChild(BView* child, BView* before)
{
	fWindowState->topView->AddChild(child, before);
}

BView* BWindow::ChildAt(int32 index) const
{
	return fWindowState->topView->ChildAt(index);
}

BView* BWindow::FindView(const char* viewName) const
{
	return fWindowState->topView->FindView(viewName);
}

BView* BWindow::FindView(BPoint point) const
{
	return ViewAt(fWindowState->topView, point);
}

BView* BWindow::CurrentFocus() const
{
	return fWindowState->focus;
}

void BWindow::SetDefaultButton(BButton* button)
{
	WindowState& state = *fWindowState;
	BButton* previous = DefaultButton();
	if (previous == button)
		return;
	state.defaultButton = button;
	if (previous != NULL)
		previous->MakeDefault(false);
	if (button != NULL)
		button->MakeDefault(true);
}

BButton* BWindow::DefaultButton() const
{
	return static_cast<BButton*>(fWindowState->defaultButton);
}

void BWindow::DispatchMessage(BMessage* message, BHandler* handler)
{
	WindowState& state = *fWindowState;
	if (handler != this) {
		BLooper::DispatchMessage(message, handler);
		return;
	}
	if (message->WasDropped()) {
		// To the view under the drop point; what it leaves goes on up to
		// the window through the views' next handlers.
		if (BView* under = FindView(ConvertFromScreen(message->DropPoint())))
			under->MessageReceived(message);
		else
			MessageReceived(message);
		return;
	}

	switch (message->what) {
	case BPrivate::kUpdateMessage:
		UpdateIfNeeded();
		break;

	case B_KEY_DOWN: {
		const char* bytes = message->FindString("bytes");
		if (bytes == NULL)
			bytes = "";
		int32 modifiers = message->FindInt32("modifiers");
		if ((modifiers & B_COMMAND_KEY) != 0) {
			// Shortcuts only: such keys never reach KeyDown.
			uint32 key = uint8(bytes[0]);
			int32 rawChar;
			if (key < 0x20 && message->FindInt32("raw_char", &rawChar) == B_OK)
				key = uint32(rawChar);
			key = ShortcutKey(key);
			uint32 wanted = ShortcutModifiers(uint32(modifiers));
			for (WindowState::Shortcut& shortcut : state.shortcuts) {
				if (shortcut.key != key || shortcut.modifiers != wanted)
					continue;
				BHandler* target = shortcut.toFocus          ? state.focus
				                   : shortcut.target != NULL ? shortcut.target
				                                             : this;
				BLooper* looper = target != NULL ? target->Looper() : NULL;
				if (looper != NULL)
					looper->PostMessage(shortcut.message.get(), target);
				break;
			}
			break;
		}
		const bool plain = (modifiers & (B_SHIFT_KEY | B_CONTROL_KEY | B_OPTION_KEY)) == 0;
		BButton* defaultButton = DefaultButton();
		if (plain && bytes[0] == B_ENTER && bytes[1] == '\0' && defaultButton != NULL &&
		    defaultButton->IsEnabled()) {
			defaultButton->KeyDown(bytes, 1);
		} else if (state.focus != NULL) {
			state.focus->KeyDown(bytes, int32(strlen(bytes)));
		} else if (bytes[0] == B_TAB && bytes[1] == '\0' &&
		           (modifiers & (B_CONTROL_KEY | B_OPTION_KEY)) == 0) {
			// Without a focus view the first Tab enters the navigable views.
			BPrivate::NavigateFocus(this, (modifiers & B_SHIFT_KEY) == 0);
		}
		break;
	}

	case B_KEY_UP: {
		const char* bytes = message->FindString("bytes");
		if (bytes == NULL)
			bytes = "";
		if (state.focus != NULL && (message->FindInt32("modifiers") & B_COMMAND_KEY) == 0)
			state.focus->KeyUp(bytes, int32(strlen(bytes)));
		break;
	}

	case B_MOUSE_DOWN:
	case B_MOUSE_UP:
	case B_MOUSE_MOVED: {
		BPoint where;
		if (message->FindPoint("where", &where) != B_OK)
			break;
		state.pointer = where;
		state.buttons = message->what == B_MOUSE_UP ? 0 : uint32(message->FindInt32("buttons"));
		BView* under = FindView(where);

		if (message->what == B_MOUSE_DOWN) {
			if (under != NULL)
				under->MouseDown(under->ConvertFromWindow(where));
		} else if (message->what == B_MOUSE_UP) {
			BView* target = state.maskView != NULL ? state.maskView : under;
			state.maskView = NULL;
			if (target != NULL)
				target->MouseUp(target->ConvertFromWindow(where));
		} else {
			BView* exited = NULL;
			if (under != state.viewUnderPointer) {
				exited = state.viewUnderPointer;
				state.viewUnderPointer = under;
				BPrivate::CurrentBackend().SetCursor(state.native, ShapeOf(under));
				if (exited != NULL)
					exited->MouseMoved(exited->ConvertFromWindow(where), B_EXITED_VIEW, NULL);
				// The hook may have removed views: go on with what is left.
				if (under != NULL && state.viewUnderPointer == under)
					under->MouseMoved(under->ConvertFromWindow(where), B_ENTERED_VIEW, NULL);
			} else if (under != NULL) {
				under->MouseMoved(under->ConvertFromWindow(where), B_INSIDE_VIEW, NULL);
			}
			BView* tracking = state.maskView;
			if (tracking != NULL && tracking != under && tracking != exited) {
				tracking->MouseMoved(tracking->ConvertFromWindow(where), B_OUTSIDE_VIEW, NULL);
			}
		}
		break;
	}

	case B_MOUSE_WHEEL_CHANGED:
		if (BView* under = FindView(state.pointer))
			under->MessageReceived(message);
		break;

	case B_PULSE: {
		std::vector<BView*> views;
		BPrivate::CollectTree(state.topView, views);
		for (BView* view : views) {
			if (BPrivate::IsAlive(view, this) && (view->Flags() & B_PULSE_NEEDED) != 0)
				view->Pulse();
		}
		break;
	}

	case B_WINDOW_ACTIVATED: {
		bool active = false;
		if (message->FindBool("active", &active) != B_OK || active == state.active)
			break;
		state.active = active;
		{
			Windows& windows = AllWindows();
			std::lock_guard<std::mutex> guard(windows.mutex);
			if (active)
				windows.active = this;
			else if (windows.active == this)
				windows.active = NULL;
		}
		WindowActivated(active);
		std::vector<BView*> views;
		BPrivate::CollectTree(state.topView, views);
		for (BView* view : views) {
			if (BPrivate::IsAlive(view, this))
				view->WindowActivated(active);
		}
		break;
	}

	case B_WINDOW_RESIZED: {
		int32 width;
		int32 height;
		if (message->FindInt32("width", &width) == B_OK &&
		    message->FindInt32("height", &height) == B_OK)
			ResizeTo(float(width), float(height));
		break;
	}

	default:
		BLooper::DispatchMessage(message, handler);
		break;
	}
}

void BWindow::MessageReceived(BMessage* message)
{
	BLooper::MessageReceived(message);
}

void BWindow::FrameResized(float, float) {}

void BWindow::WindowActivated(bool) {}

void BWindow::Show()
{
	WindowState& state = *fWindowState;
	if (state.offscreen)
		return;
	Lock();
	state.hideLevel--;
	if (!state.shownOnce) {
		state.shownOnce = true;
		BPrivate::FreezeBackend();
		state.native =
		    BPrivate::CurrentBackend().CreateWindow(this, state.title.c_str(), state.frame);
		if (state.native != NULL)
			SendSizeLimits(state);
		SetPulseRate(PulseRate());
		state.topView->Invalidate();
		Run();
		Activate(true);
	}
	if (state.hideLevel == 0)
		BPrivate::CurrentBackend().ShowWindow(state.native, true);
	Unlock();
}

void BWindow::Hide()
{
	WindowState& state = *fWindowState;
	if (state.offscreen)
		return;
	Lock();
	if (++state.hideLevel == 1)
		BPrivate::CurrentBackend().ShowWindow(state.native, false);
	Unlock();
}

bool BWindow::IsHidden() const
{
	return fWindowState->hideLevel > 0;
}

void BWindow::Activate(bool active)
{
	if (fWindowState->offscreen)
		return;
	BMessage message(B_WINDOW_ACTIVATED);
	message.AddBool("active", active);
	if (active) {
		// One window is active at a time.
		BWindow* previous;
		{
			Windows& windows = AllWindows();
			std::lock_guard<std::mutex> guard(windows.mutex);
			previous = windows.active;
		}
		if (previous != NULL && previous != this) {
			BMessage deactivate(B_WINDOW_ACTIVATED);
			deactivate.AddBool("active", false);
			BPrivate::QueueMessage(previous, new BMessage(deactivate), NULL, false);
		}
	}
	PostMessage(&message);
}

bool BWindow::IsActive() const
{
	return fWindowState->active;
}

const char* BWindow::Title() const
{
	return fWindowState->title.c_str();
}

void BWindow::SetTitle(const char* title)
{
	fWindowState->title = title != NULL ? title : "";
	if (fWindowState->native != NULL)
		BPrivate::CurrentBackend().SetTitle(fWindowState->native, fWindowState->title.c_str());
}

BRect BWindow::Bounds() const
{
	return fWindowState->frame.OffsetToCopy(0, 0);
}

BRect BWindow::Frame() const
{
	return fWindowState->frame;
}

void BWindow::MoveBy(float dx, float dy)
{
	WindowState& state = *fWindowState;
	if (state.offscreen || (dx == 0 && dy == 0))
		return;
	state.frame.OffsetBy(dx, dy);
	if (state.native != NULL)
		BPrivate::CurrentBackend().Move(state.native, state.frame.LeftTop());
}

void BWindow::ResizeTo(float width, float height)
{
	WindowState& state = *fWindowState;
	width = std::clamp(width, state.minWidth, std::max(state.minWidth, state.maxWidth));
	height = std::clamp(height, state.minHeight, std::max(state.minHeight, state.maxHeight));
	if (state.offscreen || (state.frame.Width() == width && state.frame.Height() == height))
		return;
	state.frame.right = state.frame.left + width;
	state.frame.bottom = state.frame.top + height;
	state.pixels->Resize(PixelCount(width), PixelCount(height));
	std::vector<BPrivate::FrameHook> hooks;
	BPrivate::ChangeFrame(state.topView, Bounds(), hooks);
	if (state.native != NULL) {
		BPrivate::CurrentBackend().Resize(state.native, PixelCount(width), PixelCount(height));
	}
	BPrivate::CallFrameHooks(hooks);
	FrameResized(width, height);
}

void BWindow::SetSizeLimits(float minWidth, float maxWidth, float minHeight, float maxHeight)
{
	WindowState& state = *fWindowState;
	state.minWidth = std::max(minWidth, 0.0f);
	state.maxWidth = maxWidth;
	state.minHeight = std::max(minHeight, 0.0f);
	state.maxHeight = maxHeight;
	if (state.native != NULL)
		SendSizeLimits(state);
	// The current size obeys the new limits at once.
	ResizeTo(state.frame.Width(), state.frame.Height());
}

void BWindow::ConvertToScreen(BPoint* point) const
{
	*point += fWindowState->frame.LeftTop();
}

void BWindow::ConvertFromScreen(BPoint* point) const
{
	*point -= fWindowState->frame.LeftTop();
}

BPoint BWindow::ConvertFromScreen(BPoint point) const
{
	ConvertFromScreen(&point);
	return point;
}

void BWindow::SetPulseRate(bigtime_t rate)
{
	if (rate < 0)
		return;
	WindowState& state = *fWindowState;
	{
		std::lock_guard<std::mutex> guard(state.pulseMutex);
		state.pulseRate = rate;
		state.nextRealPulse = std::chrono::steady_clock::now() + std::chrono::microseconds(rate);
		state.nextManualPulse = BPrivate::ManualClockActive() ? system_time() + rate : -1;
	}
	// The loop waits for the next pulse: wake it to count from the new rate.
	std::lock_guard<std::mutex> guard(fState->queueMutex);
	fState->queueChanged.notify_all();
}

bigtime_t BWindow::PulseRate() const
{
	std::lock_guard<std::mutex> guard(fWindowState->pulseMutex);
	return fWindowState->pulseRate;
}

void BWindow::AddShortcut(uint32 key, uint32 modifiers, BMessage* message)
{
	AddShortcut(key, modifiers, message, NULL);
}

void BWindow::AddShortcut(uint32 key, uint32 modifiers, BMessage* message, BHandler* target)
{
	if (message == NULL)
		return;
	RemoveShortcut(key, modifiers);
	fWindowState->shortcuts.push_back({ShortcutKey(key), ShortcutModifiers(modifiers),
	                                   std::unique_ptr<BMessage>(message), target, false});
}

void BWindow::RemoveShortcut(uint32 key, uint32 modifiers)
{
	std::vector<WindowState::Shortcut>& shortcuts = fWindowState->shortcuts;
	key = ShortcutKey(key);
	modifiers = ShortcutModifiers(modifiers);
	shortcuts.erase(std::remove_if(shortcuts.begin(), shortcuts.end(),
	                               [&](const WindowState::Shortcut& shortcut) {
		                               return shortcut.key == key &&
		                                      shortcut.modifiers == modifiers;
	                               }),
	                shortcuts.end());
}

void BWindow::UpdateIfNeeded()
{
	WindowState& state = *fWindowState;
	state.updatePending = false;
	if (state.offscreen || state.dirty.CountRects() == 0)
		return;
	BRegion dirty = state.dirty;
	state.dirty.MakeEmpty();

	// Parents before children; each view fills and draws only its own
	// visible part of the dirty area.
	std::vector<BView*> views;
	BPrivate::CollectTree(state.topView, views);
	for (BView* view : views) {
		if (!BPrivate::IsAlive(view, this) || (view->Flags() & B_WILL_DRAW) == 0)
			continue;
		ViewState& viewState = KitAccess::State(view);
		BPrivate::UpdateGeometry(viewState);
		BRegion area = viewState.visible;
		area.IntersectWith(&dirty);
		if (area.CountRects() == 0)
			continue;
		if (viewState.viewColor != B_TRANSPARENT_COLOR) {
			Painter painter(*state.pixels, area);
			for (int32 i = 0; i < area.CountRects(); i++)
				painter.FillRect(area.RectAt(i), viewState.viewColor);
			BPrivate::PixelsChanged(state, painter.TouchedPixels());
		}
		BRect updateRect =
		    area.Frame().OffsetByCopy(-viewState.windowOffset.x, -viewState.windowOffset.y);
		// However Draw ends, even by throwing, no update stays in progress
		// and the view's drawing state is what it was before.
		struct DrawingScope
		{
			BWindow* window;
			BView* view;
			BPrivate::DrawState saved;

			~DrawingScope()
			{
				WindowState& state = KitAccess::State(window);
				state.drawingView = NULL;
				state.updateRegion.MakeEmpty();
				if (BPrivate::IsAlive(view, window)) {
					ViewState& viewState = KitAccess::State(view);
					viewState.draw = saved;
				}
			}
		} scope = {this, view, viewState.draw};
		state.drawingView = view;
		state.updateRegion = area;
		state.updateGeneration = state.generation;
		view->Draw(updateRect);
	}
}

bigtime_t BWindow::_TimerDelay()
{
	WindowState& state = *fWindowState;
	std::lock_guard<std::mutex> guard(state.pulseMutex);
	if (state.offscreen || state.pulseRate <= 0)
		return -1;
	// While the manual clock runs, the test clock delivers the pulses; look
	// again now and then in case the real clock comes back.
	if (BPrivate::ManualClockActive())
		return 100000;
	auto wait = state.nextRealPulse - std::chrono::steady_clock::now();
	return std::max(bigtime_t(0),
	                bigtime_t(std::chrono::duration_cast<std::chrono::microseconds>(wait).count()));
}

void BWindow::_TimerFired()
{
	WindowState& state = *fWindowState;
	{
		std::lock_guard<std::mutex> guard(state.pulseMutex);
		auto now = std::chrono::steady_clock::now();
		if (state.pulseRate <= 0 || BPrivate::ManualClockActive() || now < state.nextRealPulse)
			return;
		state.nextRealPulse = now + std::chrono::microseconds(state.pulseRate);
	}
	PostMessage(B_PULSE);
}

void BWindow::_DispatchFailed()
{
	// The failed hook may have drawn part of a picture: the next update,
	// whatever asks for it, draws the whole window again. No update is
	// asked for here, so a drawing failure that persists cannot loop.
	WindowState& state = *fWindowState;
	if (!state.offscreen)
		state.dirty.Include(Bounds());
}

void BWindow::_MessageHandled()
{
	WindowState& state = *fWindowState;
	const clipping_rect changed = state.changed;
	if (BPrivate::IsEmpty(changed))
		return;
	if (state.native != NULL) {
		BPrivate::CurrentBackend().Present(state.native, *state.pixels, BPrivate::RectOf(changed));
	}
	state.changed = clipping_rect{0, 0, -1, -1};
}
