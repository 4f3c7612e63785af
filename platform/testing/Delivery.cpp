// Synchronous delivery: posting and waiting, input messages as the display
// sends them, and pulses driven by the test clock.
#include "PlatformTesting.h"

#include <AppDefs.h>
#include <Looper.h>
#include <OS.h>
#include <Window.h>

#include "Clock.h"
#include "FileDrop.h"
#include "LooperState.h"
#include "WindowState.h"

#include <ctype.h>
#include <string.h>

namespace PlatformTesting {

void PostAndWait(BLooper* looper, const BMessage& message, BHandler* handler)
{
	BMessage copy(message);
	if (looper->PostMessage(&copy, handler) != B_OK)
		return;
	WaitUntilIdle(looper);
}

void WaitUntilIdle(BLooper* looper)
{
	BPrivate::WaitUntilLooperIdle(looper);
}

BMessage MakeKeyDown(const char* bytes, int32 modifiers, int32 key)
{
	BMessage message(B_KEY_DOWN);
	message.AddInt64("when", system_time());
	message.AddInt32("key", key);
	message.AddInt32("modifiers", modifiers);
	message.AddString("bytes", bytes);
	// The character without modifiers: a letter typed with Shift is the
	// lower-case letter.
	uint8 first = uint8(bytes[0]);
	int32 raw = first < 0x80 ? tolower(first) : first;
	message.AddInt32("raw_char", raw);
	return message;
}

namespace {

BMessage MakeMouse(uint32 what, BPoint where, int32 buttons, int32 modifiers)
{
	BMessage message(what);
	message.AddInt64("when", system_time());
	message.AddPoint("where", where);
	message.AddInt32("buttons", buttons);
	message.AddInt32("modifiers", modifiers);
	return message;
}

} // namespace

BMessage MakeMouseDown(BPoint windowWhere, int32 buttons, int32 modifiers, int32 clicks)
{
	BMessage message = MakeMouse(B_MOUSE_DOWN, windowWhere, buttons, modifiers);
	message.AddInt32("clicks", clicks);
	return message;
}

BMessage MakeMouseMoved(BPoint windowWhere, int32 buttons, int32 modifiers)
{
	return MakeMouse(B_MOUSE_MOVED, windowWhere, buttons, modifiers);
}

BMessage MakeMouseUp(BPoint windowWhere, int32 modifiers)
{
	return MakeMouse(B_MOUSE_UP, windowWhere, 0, modifiers);
}

status_t MakeFileDrop(const BWindow* window, BPoint windowWhere,
                      const std::vector<std::string>& paths, BMessage* drop)
{
	BPoint screenWhere = windowWhere;
	window->ConvertToScreen(&screenWhere);
	return BPrivate::MakeFileDrop(screenWhere, paths, drop);
}

status_t DropFiles(BWindow* window, BPoint windowWhere, const std::vector<std::string>& paths)
{
	BMessage drop(B_SIMPLE_DATA);
	if (status_t status = MakeFileDrop(window, windowWhere, paths, &drop); status != B_OK)
		return status;
	PostAndWait(window, drop);
	return B_OK;
}

void AdvanceTestClock(bigtime_t delta)
{
	if (!BPrivate::ManualClockActive())
		SetTestClock(system_time());
	bigtime_t start = system_time();
	bigtime_t end = start + (delta > 0 ? delta : 0);
	for (;;) {
		// The earliest pulse due on the way, of any window.
		BWindow* owing = NULL;
		bigtime_t due = 0;
		for (BWindow* window : BPrivate::LiveWindows()) {
			bigtime_t next = BPrivate::NextManualPulse(window, start);
			if (next >= 0 && next <= end && (owing == NULL || next < due)) {
				owing = window;
				due = next;
			}
		}
		if (owing == NULL)
			break;
		BPrivate::SetManualClock(due);
		BPrivate::AdvanceManualPulse(owing, due);
		PostAndWait(owing, BMessage(B_PULSE));
	}
	BPrivate::SetManualClock(end);
}

void SkipTestClock(bigtime_t delta)
{
	if (!BPrivate::ManualClockActive())
		SetTestClock(system_time());
	if (delta <= 0)
		return;
	const bigtime_t now = system_time();
	for (BWindow* window : BPrivate::LiveWindows()) {
		// The pulse a rate before the moved next one is the last delivered.
		const bigtime_t next = BPrivate::NextManualPulse(window, now);
		if (next >= 0)
			BPrivate::AdvanceManualPulse(window, next + delta - window->PulseRate());
	}
	BPrivate::SetManualClock(now + delta);
}

} // namespace PlatformTesting
