// BLocker: a lock that belongs to one thread at a time and counts nested
// locking by that thread. Shared by the threads that use it; owned by its
// creator.
#ifndef _LOCKER_H
#define _LOCKER_H

#include <OS.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

class _IMPEXP_BE BLocker
{
public:
	BLocker();
	BLocker(const char* name);
	BLocker(bool benaphoreStyle);
	BLocker(const char* name, bool benaphoreStyle);
	virtual ~BLocker();

	// Blocks until the calling thread holds the lock; nests for the holder.
	bool Lock();
	// B_OK, B_TIMED_OUT after timeout microseconds (0: try once), or
	// B_BAD_VALUE for a negative timeout.
	status_t LockWithTimeout(bigtime_t timeout);
	// Undoes one Lock by the holder; ignored from any other thread.
	void Unlock();

	// The holder, or -1 when nobody holds the lock.
	thread_id LockingThread() const;
	// Whether the calling thread holds the lock.
	bool IsLocked() const;
	// The holder's nesting count, 0 when unlocked.
	int32 CountLocks() const;
	// Threads holding or waiting for the lock.
	int32 CountLockRequests() const;

	const char* Name() const;

private:
	BLocker(const BLocker&);
	BLocker& operator=(const BLocker&);

	char fName[B_OS_NAME_LENGTH];
	mutable std::mutex fMutex;
	std::condition_variable fReleased;
	std::atomic<thread_id> fOwner;
	std::atomic<int32> fCount;
	std::atomic<int32> fRequests;
};

#endif // _LOCKER_H
