// BInvoker: a message and a target it is sent to. Controls and list views
// derive from it; Invoke posts a copy of the message to the target's looper.
// Owns its message. Used on the thread of the looper it belongs to.
#ifndef _INVOKER_H
#define _INVOKER_H

#include <SupportDefs.h>

class BHandler;
class BLooper;
class BMessage;

class _IMPEXP_BE BInvoker
{
public:
	BInvoker();
	virtual ~BInvoker();

	// Takes the message, deleting the one before.
	virtual status_t SetMessage(BMessage* message);
	BMessage* Message() const;

	// A handler with a looper, or a looper alone (its preferred handler).
	virtual status_t SetTarget(const BHandler* handler, const BLooper* looper = NULL);
	BHandler* Target(BLooper** looper = NULL) const;

	// Posts a copy of message (the invoker's own when NULL) to the target,
	// with "when" (the time) added. B_BAD_VALUE without a message or a target.
	virtual status_t Invoke(BMessage* message = NULL);

private:
	BInvoker(const BInvoker&);
	BInvoker& operator=(const BInvoker&);

	BMessage* fMessage;
	BHandler* fHandler;
	BLooper* fLooper;
};

#endif // _INVOKER_H
