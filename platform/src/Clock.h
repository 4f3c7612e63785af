// The clock behind system_time(): the system's monotonic clock, or a manual
// clock that only moves when told to (tests). Safe from any thread.
#ifndef CLOCK_H
#define CLOCK_H

#include <SupportDefs.h>

namespace BPrivate {

bool ManualClockActive();
// Activates the manual clock, standing at now.
void SetManualClock(bigtime_t now);
// Back to the system's clock.
void UseSystemClock();

} // namespace BPrivate

#endif // CLOCK_H
