// BAutolock: holds a BLocker or a BLooper's lock for the lifetime of a scope.
// Lives on the stack of the thread that locks.
#ifndef _AUTOLOCK_H
#define _AUTOLOCK_H

#include <Locker.h>
#include <Looper.h>

class BAutolock
{
public:
	inline BAutolock(BLooper* looper);
	inline BAutolock(BLocker* locker);
	inline BAutolock(BLocker& locker);
	inline ~BAutolock();

	// Whether the lock was taken.
	inline bool IsLocked();

private:
	BAutolock(const BAutolock&);
	BAutolock& operator=(const BAutolock&);

	BLocker* fLocker;
	BLooper* fLooper;
	bool fIsLocked;
};

inline BAutolock::BAutolock(BLooper* looper)
    : fLocker(NULL), fLooper(looper), fIsLocked(looper != NULL && looper->Lock())
{
}

inline BAutolock::BAutolock(BLocker* locker)
    : fLocker(locker), fLooper(NULL), fIsLocked(locker != NULL && locker->Lock())
{
}

inline BAutolock::BAutolock(BLocker& locker)
    : fLocker(&locker), fLooper(NULL), fIsLocked(locker.Lock())
{
}

inline BAutolock::~BAutolock()
{
	if (!fIsLocked)
		return;
	if (fLooper != NULL)
		fLooper->Unlock();
	else
		fLocker->Unlock();
}

inline bool BAutolock::IsLocked()
{
	return fIsLocked;
}

#endif // _AUTOLOCK_H
