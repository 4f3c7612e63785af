// The drawing log and the bitmap lock faults behind the testing library.
#include "TestHooks.h"

#include <atomic>
#include <map>
#include <mutex>

namespace {

struct DrawingLog
{
	std::mutex mutex;
	std::map<const void*, std::vector<PlatformTesting::DrawCall>> records;
};

// Never destroyed: window threads may still draw while the process exits.
DrawingLog& Log()
{
	static DrawingLog* sLog = new DrawingLog;
	return *sLog;
}

std::atomic<int32> sActiveRecords(0);
std::atomic<int32> sBitmapLockFaults(0);

} // namespace

namespace BPrivate {

bool DrawingLogActive()
{
	return sActiveRecords.load() > 0;
}

void LogDrawCall(const PlatformTesting::DrawCall& call)
{
	DrawingLog& log = Log();
	std::lock_guard<std::mutex> guard(log.mutex);
	for (auto& record : log.records)
		record.second.push_back(call);
}

void StartDrawingLog(const void* owner)
{
	DrawingLog& log = Log();
	std::lock_guard<std::mutex> guard(log.mutex);
	log.records[owner];
	sActiveRecords.store(int32(log.records.size()));
}

void StopDrawingLog(const void* owner)
{
	DrawingLog& log = Log();
	std::lock_guard<std::mutex> guard(log.mutex);
	log.records.erase(owner);
	sActiveRecords.store(int32(log.records.size()));
}

std::vector<PlatformTesting::DrawCall> DrawingLogCalls(const void* owner)
{
	DrawingLog& log = Log();
	std::lock_guard<std::mutex> guard(log.mutex);
	auto found = log.records.find(owner);
	if (found == log.records.end())
		return {};
	return found->second;
}

void SetBitmapLockFaults(int32 count)
{
	sBitmapLockFaults.store(count > 0 ? count : 0);
}

bool TakeBitmapLockFault()
{
	int32 count = sBitmapLockFaults.load();
	while (count > 0) {
		if (sBitmapLockFaults.compare_exchange_weak(count, count - 1))
			return true;
	}
	return false;
}

} // namespace BPrivate
