// Switching system_time() between the manual test clock and the real one.
#include "PlatformTesting.h"

#include "Clock.h"

namespace PlatformTesting {

void SetTestClock(bigtime_t now)
{
	BPrivate::SetManualClock(now);
}

void UseRealClock()
{
	BPrivate::UseSystemClock();
}

} // namespace PlatformTesting
