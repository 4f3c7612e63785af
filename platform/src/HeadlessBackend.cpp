// The headless backend: no native windows, the pixel buffers are the screen.
// Its event pump only waits for the application's messages.
#include "Backend.h"

#include <condition_variable>
#include <mutex>

namespace {

struct Pump
{
	std::mutex mutex;
	std::condition_variable changed;
	bool woken = false;
	bool stopped = false;
};

// Never destroyed, like every object that window threads may reach at exit.
Pump& ThePump()
{
	static Pump* sPump = new Pump;
	return *sPump;
}

status_t Open()
{
	return B_OK;
}

void Close() {}

BPrivate::NativeWindow CreateWindow(BWindow*, const char*, BRect)
{
	return NULL;
}

void DestroyWindow(BPrivate::NativeWindow) {}

void ShowWindow(BPrivate::NativeWindow, bool) {}

void Present(BPrivate::NativeWindow, const PixelBuffer&, BRect) {}

void SetTitle(BPrivate::NativeWindow, const char*) {}

void Resize(BPrivate::NativeWindow, int32, int32) {}

void SetSizeLimits(BPrivate::NativeWindow, int32, int32, int32, int32) {}

void Move(BPrivate::NativeWindow, BPoint) {}

void SetCursor(BPrivate::NativeWindow, BPrivate::CursorShape) {}

void Run(void (*service)(void* cookie), void* cookie)
{
	Pump& pump = ThePump();
	std::unique_lock<std::mutex> lock(pump.mutex);
	// Whatever was posted before Run is waiting already.
	pump.woken = true;
	while (!pump.stopped) {
		pump.changed.wait(lock, [&]() { return pump.woken || pump.stopped; });
		if (pump.stopped)
			break;
		pump.woken = false;
		lock.unlock();
		service(cookie);
		lock.lock();
	}
	pump.stopped = false;
}

void Wake()
{
	Pump& pump = ThePump();
	std::lock_guard<std::mutex> guard(pump.mutex);
	pump.woken = true;
	pump.changed.notify_all();
}

void Stop()
{
	Pump& pump = ThePump();
	std::lock_guard<std::mutex> guard(pump.mutex);
	pump.stopped = true;
	pump.changed.notify_all();
}

const BPrivate::Backend kHeadless = {
    "headless", Open, Close,         CreateWindow, DestroyWindow, ShowWindow, Present, SetTitle,
    Resize,     Move, SetSizeLimits, SetCursor,    Run,           Wake,       Stop};

const BPrivate::BackendRegistration kRegistration(kHeadless);

} // namespace
