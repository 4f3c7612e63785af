// BLocker over a mutex and a condition: the mutex guards the owner and count
// only for the moment they change, so the lock itself can be held across calls
// and nested by its owner.
#include <Locker.h>

#include <chrono>

#include <string.h>

namespace {

const thread_id kNoOwner = -1;

} // namespace

BLocker::BLocker() : BLocker("some BLocker", true) {}

BLocker::BLocker(const char* name) : BLocker(name, true) {}

BLocker::BLocker(bool benaphoreStyle) : BLocker("some BLocker", benaphoreStyle) {}

BLocker::BLocker(const char* name, bool) : fOwner(kNoOwner), fCount(0), fRequests(0)
{
	strncpy(fName, name == NULL ? "" : name, sizeof(fName) - 1);
	fName[sizeof(fName) - 1] = '\0';
}

BLocker::~BLocker() {}

bool BLocker::Lock()
{
	return LockWithTimeout(B_INFINITE_TIMEOUT) == B_OK;
}

status_t BLocker::LockWithTimeout(bigtime_t timeout)
{
	if (timeout < 0)
		return B_BAD_VALUE;
	thread_id self = find_thread(NULL);
	std::unique_lock<std::mutex> guard(fMutex);
	if (fOwner.load() == self) {
		fCount++;
		return B_OK;
	}
	fRequests++;
	auto isFree = [this] { return fOwner.load() == kNoOwner; };
	if (timeout == B_INFINITE_TIMEOUT) {
		fReleased.wait(guard, isFree);
	} else if (!fReleased.wait_for(guard, std::chrono::microseconds(timeout), isFree)) {
		fRequests--;
		return B_TIMED_OUT;
	}
	fOwner.store(self);
	fCount = 1;
	return B_OK;
}

void BLocker::Unlock()
{
	std::unique_lock<std::mutex> guard(fMutex);
	if (fOwner.load() != find_thread(NULL))
		return;
	if (--fCount > 0)
		return;
	fOwner.store(kNoOwner);
	fRequests--;
	guard.unlock();
	fReleased.notify_one();
}

thread_id BLocker::LockingThread() const
{
	return fOwner.load();
}

bool BLocker::IsLocked() const
{
	return fOwner.load() == find_thread(NULL);
}

int32 BLocker::CountLocks() const
{
	return fCount.load();
}

int32 BLocker::CountLockRequests() const
{
	return fRequests.load();
}

const char* BLocker::Name() const
{
	return fName;
}
