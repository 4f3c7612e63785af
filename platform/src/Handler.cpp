// BHandler: a name, the looper it belongs to and the next handler in its chain.
#include <Handler.h>

#include <Looper.h>
#include <Message.h>

BHandler::BHandler(const char* name)
    : fName(name != NULL ? name : ""), fLooper(NULL), fNextHandler(NULL)
{
}

BHandler::~BHandler()
{
	BLooper* looper = fLooper.load();
	if (looper != NULL)
		looper->RemoveHandler(this);
}

void BHandler::MessageReceived(BMessage* message)
{
	if (fNextHandler != NULL)
		fNextHandler->MessageReceived(message);
}

BLooper* BHandler::Looper() const
{
	return fLooper.load();
}

const char* BHandler::Name() const
{
	return fName.c_str();
}

void BHandler::SetNextHandler(BHandler* handler)
{
	fNextHandler = handler;
}

bool BHandler::LockLooper()
{
	return LockLooperWithTimeout(B_INFINITE_TIMEOUT) == B_OK;
}

status_t BHandler::LockLooperWithTimeout(bigtime_t timeout)
{
	BLooper* looper = fLooper.load();
	if (looper == NULL)
		return B_BAD_VALUE;
	status_t status = looper->LockWithTimeout(timeout);
	if (status != B_OK)
		return status;
	// The handler may have moved while this thread waited for the lock.
	if (fLooper.load() != looper) {
		looper->Unlock();
		return B_MISMATCHED_VALUES;
	}
	return B_OK;
}

void BHandler::UnlockLooper()
{
	BLooper* looper = fLooper.load();
	if (looper != NULL)
		looper->Unlock();
}
