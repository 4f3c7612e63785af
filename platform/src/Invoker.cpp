// BInvoker: posting copies of a message to a target.
#include <Invoker.h>

#include <Errors.h>
#include <Looper.h>
#include <Message.h>
#include <OS.h>

BInvoker::BInvoker() : fMessage(NULL), fHandler(NULL), fLooper(NULL) {}

BInvoker::~BInvoker()
{
	delete fMessage;
}

status_t BInvoker::SetMessage(BMessage* message)
{
	if (message != fMessage) {
		delete fMessage;
		fMessage = message;
	}
	return B_OK;
}

BMessage* BInvoker::Message() const
{
	return fMessage;
}

status_t BInvoker::SetTarget(const BHandler* handler, const BLooper* looper)
{
	fHandler = const_cast<BHandler*>(handler);
	fLooper = const_cast<BLooper*>(looper);
	if (fHandler != NULL && fLooper == NULL)
		fLooper = fHandler->Looper();
	if (fHandler != NULL && fHandler->Looper() != fLooper)
		return B_BAD_VALUE;
	return B_OK;
}

BHandler* BInvoker::Target(BLooper** looper) const
{
	if (looper != NULL)
		*looper = fLooper;
	return fHandler;
}

status_t BInvoker::Invoke(BMessage* message)
{
	BMessage* source = message != NULL ? message : fMessage;
	if (source == NULL || fLooper == NULL)
		return B_BAD_VALUE;
	BMessage copy(*source);
	copy.AddInt64("when", system_time());
	return fLooper->PostMessage(&copy, fHandler);
}
