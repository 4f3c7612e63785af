// system_time() and the manual clock that tests switch it to.
#include "Clock.h"

#include <OS.h>

#include <atomic>
#include <time.h>

namespace {

std::atomic<bool> sManualActive(false);
std::atomic<bigtime_t> sManualNow(0);

} // namespace

namespace BPrivate {

bool ManualClockActive()
{
	return sManualActive.load();
}

void SetManualClock(bigtime_t now)
{
	// The time is stored before the switch, so no reader sees a stale time.
	sManualNow.store(now);
	sManualActive.store(true);
}

void UseSystemClock()
{
	sManualActive.store(false);
}

} // namespace BPrivate

bigtime_t system_time()
{
	if (sManualActive.load())
		return sManualNow.load();
	timespec now;
	clock_gettime(CLOCK_MONOTONIC, &now);
	return bigtime_t(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}
