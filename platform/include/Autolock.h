// BAutolock: holds a BLooper's lock for the lifetime of a scope. Lives on the
// stack of the thread that locks.
#ifndef _AUTOLOCK_H
#define _AUTOLOCK_H

#include <Looper.h>

class BAutolock
{
public:
	inline BAutolock(BLooper* looper);
	inline ~BAutolock();

private:
	BAutolock(const BAutolock&);
	BAutolock& operator=(const BAutolock&);

	BLooper* fLooper;
	bool fIsLocked;
};

inline BAutolock::BAutolock(BLooper* looper)
    : fLooper(looper), fIsLocked(looper != NULL && looper->Lock())
{
}

inline BAutolock::~BAutolock()
{
	if (fIsLocked)
		fLooper->Unlock();
}

#endif // _AUTOLOCK_H
