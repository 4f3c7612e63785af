// BHandler: an object that receives messages in a looper's thread. Owned by
// whoever created it (a view by its parent); belongs to at most one looper
// and is called on that looper's thread with the looper locked.
#ifndef _HANDLER_H
#define _HANDLER_H

#include <OS.h>
#include <SupportDefs.h>

#include <atomic>
#include <string>

class BLooper;
class BMessage;

class _IMPEXP_BE BHandler
{
public:
	BHandler(const char* name = NULL);
	virtual ~BHandler();

	// The base passes the message on to the next handler, if there is one.
	virtual void MessageReceived(BMessage* message);

	BLooper* Looper() const;
	const char* Name() const;

	virtual void SetNextHandler(BHandler* handler);

	// Locks the looper this handler belongs to and checks that it still
	// belongs to it; false without a looper or when the looper is gone.
	bool LockLooper();
	status_t LockLooperWithTimeout(bigtime_t timeout);
	void UnlockLooper();

private:
	friend class BLooper;

	BHandler(const BHandler&);
	BHandler& operator=(const BHandler&);

	std::string fName;
	std::atomic<BLooper*> fLooper;
	BHandler* fNextHandler;
};

#endif // _HANDLER_H
