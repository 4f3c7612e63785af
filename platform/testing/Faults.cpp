// Fault injection into the kits.
#include "PlatformTesting.h"

#include "TestHooks.h"

namespace PlatformTesting {

void FailBitmapLocks(int32 count)
{
	BPrivate::SetBitmapLockFaults(count);
}

} // namespace PlatformTesting
