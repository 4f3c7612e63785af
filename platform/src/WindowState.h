// WindowState: what a BWindow keeps beside its looper: its frame and title,
// its pixels and top view, focus, pointer, pulse and update bookkeeping, and
// its shortcuts. Owned by the window; touched with the window locked, except
// the pulse fields (pulseMutex), which the looper's timer and the test clock
// read from other threads.
#ifndef WINDOW_STATE_H
#define WINDOW_STATE_H

#include <Message.h>
#include <Point.h>
#include <Rect.h>
#include <Region.h>
#include <Window.h>

#include "Backend.h"
#include "PixelBuffer.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class BHandler;
class BView;

namespace BPrivate {

// The private message that makes a window draw its invalidated views.
enum
{
	kUpdateMessage = '_UPD'
};

struct WindowState
{
	BRect frame; // the content area in screen coordinates
	// SetSizeLimits: the content's width and height stay within these.
	float minWidth = 0;
	float maxWidth = 32768;
	float minHeight = 0;
	float maxHeight = 32768;
	std::string title;
	bool offscreen = false;

	PixelBuffer ownPixels;
	PixelBuffer* pixels = NULL; // ownPixels, or the bitmap's
	BView* topView = NULL;
	BView* focus = NULL;
	BView* defaultButton = NULL; // a BButton: Enter goes to it

	int32 hideLevel = 1; // hidden while above 0
	bool shownOnce = false;
	bool active = false;
	bool deleting = false;
	NativeWindow native = NULL;

	// Updates: the invalidated area in window pixels, and while a view's
	// Draw runs, that view and the area it may draw in.
	BRegion dirty;
	bool updatePending = false;
	BView* drawingView = NULL;
	BRegion updateRegion; // inside the view's visible region
	// The geometry generation updateRegion was cut for: while it holds, the
	// view's drawing calls clip to updateRegion as it stands.
	uint32 updateGeneration = 0;
	// Pixels changed since the display was last told (empty: none).
	clipping_rect changed = {0, 0, -1, -1};
	// Bumped by every change of the tree or of a view's geometry.
	uint32 generation = 1;

	// The pointer as the last mouse message told it.
	BPoint pointer;
	uint32 buttons = 0;
	BView* viewUnderPointer = NULL;
	BView* maskView = NULL; // asked for B_POINTER_EVENTS until the release

	// Pulses: the rate, the next real-time pulse, and the next pulse on the
	// manual clock (-1: counted from the next AdvanceTestClock).
	std::mutex pulseMutex;
	bigtime_t pulseRate = 500000;
	std::chrono::steady_clock::time_point nextRealPulse;
	bigtime_t nextManualPulse = -1;

	struct Shortcut
	{
		uint32 key;
		uint32 modifiers;
		std::unique_ptr<BMessage> message;
		BHandler* target;
		bool toFocus; // sent to the focus view at the time (target unused)
	};
	std::vector<Shortcut> shortcuts;
};

// Windows with a thread (not a bitmap's), in the order they were made.
std::vector<BWindow*> LiveWindows();

// The next manual-clock pulse a window owes, -1 for none (no thread, pulses
// off); unsetNext stands for a schedule not started yet. Advance moves the
// window's schedule one period past due.
bigtime_t NextManualPulse(BWindow* window, bigtime_t unsetNext);
void AdvanceManualPulse(BWindow* window, bigtime_t due);

} // namespace BPrivate

#endif // WINDOW_STATE_H
