// BLooper: a thread with a message queue and a lock. Messages are taken from
// the queue in order and dispatched with the looper locked. The lock belongs
// to one thread at a time and nests. A looper deletes itself when it quits.
#ifndef _LOOPER_H
#define _LOOPER_H

#include <AppDefs.h>
#include <Handler.h>
#include <Message.h>
#include <OS.h>
#include <SupportDefs.h>

#include <memory>
#include <vector>

#define B_LOOPER_PORT_DEFAULT_CAPACITY 100

enum
{
	B_LOW_PRIORITY = 5,
	B_NORMAL_PRIORITY = 10,
	B_DISPLAY_PRIORITY = 15,
	B_URGENT_DISPLAY_PRIORITY = 20,
	B_REAL_TIME_DISPLAY_PRIORITY = 100,
	B_URGENT_PRIORITY = 110,
	B_REAL_TIME_PRIORITY = 120
};

namespace BPrivate {
struct LooperState;
class KitAccess;
} // namespace BPrivate

class _IMPEXP_BE BLooper : public BHandler
{
public:
	BLooper(const char* name = NULL, int32 priority = B_NORMAL_PRIORITY,
	        int32 portCapacity = B_LOOPER_PORT_DEFAULT_CAPACITY);
	virtual ~BLooper();

	// Appends a copy of the message to the queue. The target handler must
	// belong to this looper; NULL targets the looper itself.
	status_t PostMessage(uint32 command);
	status_t PostMessage(BMessage* message, BHandler* handler = NULL);

	// Hands the message to the handler: B_QUIT_REQUESTED asks QuitRequested
	// and quits when it agrees; everything else goes to MessageReceived.
	virtual void DispatchMessage(BMessage* message, BHandler* handler);
	virtual void MessageReceived(BMessage* message);
	// The message being dispatched; NULL outside dispatch.
	BMessage* CurrentMessage() const;

	// Starts the looper's thread; returns its id.
	virtual thread_id Run();
	// Must be called with the looper locked. Stops the thread and deletes the
	// looper: at once from its own thread (after the current message), else
	// after releasing the caller's hold and waiting for the thread to end.
	virtual void Quit();
	virtual bool QuitRequested();

	bool Lock();
	void Unlock();
	bool IsLocked() const;
	status_t LockWithTimeout(bigtime_t timeout);
	int32 CountLocks() const;

	void AddHandler(BHandler* handler);
	bool RemoveHandler(BHandler* handler);
	int32 IndexOf(BHandler* handler) const;

private:
	friend class BWindow;
	friend class BApplication;
	friend class BPrivate::KitAccess;

	BLooper(const BLooper&);
	BLooper& operator=(const BLooper&);

	// Hooks of the loop for derived loopers. Before each message the loop
	// waits at most _TimerDelay() microseconds (negative: no limit) and calls
	// _TimerFired() when that time passes without a message; after each
	// dispatched message it calls _MessageHandled(), and before that
	// _DispatchFailed() when the message's handling threw.
	virtual bigtime_t _TimerDelay();
	virtual void _TimerFired();
	virtual void _MessageHandled();
	virtual void _DispatchFailed();

	void _Loop();
	// Handles one message; waits for one when wait is set. False when the
	// looper quits (or, without wait, when the queue is empty).
	bool _DispatchNext(bool wait);

	std::shared_ptr<BPrivate::LooperState> fState;
	std::vector<BHandler*> fHandlers;
	BMessage* fCurrentMessage;
};

#endif // _LOOPER_H
