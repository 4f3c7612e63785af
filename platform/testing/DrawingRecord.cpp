// DrawingRecord: a window onto the kits' drawing log for its lifetime.
#include "PlatformTesting.h"

#include "TestHooks.h"

namespace PlatformTesting {

DrawingRecord::DrawingRecord()
{
	BPrivate::StartDrawingLog(this);
}

DrawingRecord::~DrawingRecord()
{
	BPrivate::StopDrawingLog(this);
}

std::vector<DrawCall> DrawingRecord::Calls() const
{
	return BPrivate::DrawingLogCalls(this);
}

} // namespace PlatformTesting
