// What the testing library switches inside the kits: the record of drawing
// calls and injected bitmap lock failures. Safe from any thread.
#ifndef TEST_HOOKS_H
#define TEST_HOOKS_H

#include "../testing/PlatformTesting.h"

#include <vector>

namespace BPrivate {

// Drawing records, each identified by its owner's address.
bool DrawingLogActive();
void LogDrawCall(const PlatformTesting::DrawCall& call);
void StartDrawingLog(const void* owner);
void StopDrawingLog(const void* owner);
std::vector<PlatformTesting::DrawCall> DrawingLogCalls(const void* owner);

// The next count bitmap locks fail.
void SetBitmapLockFaults(int32 count);
// True (and one fault used up) when a bitmap lock is to fail.
bool TakeBitmapLockFault();

} // namespace BPrivate

#endif // TEST_HOOKS_H
