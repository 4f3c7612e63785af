// LooperState: the lock, the queue and the thread bookkeeping of one BLooper.
// Shared (shared_ptr) between the looper and threads that lock it or post to
// it, so that those calls fail cleanly, instead of touching freed memory,
// once the looper is gone. Every field is guarded by one of the two mutexes.
#ifndef LOOPER_STATE_H
#define LOOPER_STATE_H

#include <OS.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class BHandler;
class BLooper;
class BMessage;

namespace BPrivate {

struct LooperState
{
	// The lock: a thread owns it with a nesting count.
	std::mutex lockMutex;
	std::condition_variable lockReleased;
	thread_id owner = -1;
	int32 count = 0;
	bool dead = false; // the looper was deleted: locking fails

	// The queue and the thread.
	struct Entry
	{
		BMessage* message;
		BHandler* handler; // NULL: the looper itself
	};
	std::mutex queueMutex;
	// The loop's thread waits on queueChanged (a message, quitting, a new
	// pulse rate); other threads wait on stateChanged (idle, started,
	// stopped, gone). Apart, a post does not wake a thread that waits for
	// idleness, nor does each message handled wake the poster.
	std::condition_variable queueChanged;
	std::condition_variable stateChanged;
	std::deque<Entry> queue;
	bool running = false;     // the thread was started
	bool dispatching = false; // a message is being handled
	bool quitting = false;    // the loop ends after the current message
	bool exited = false;      // the looper was deleted (its thread ends)
	thread_id thread = -1;
	// Called after a message was queued, outside the mutexes (the
	// application wakes the display's event pump with it).
	std::function<void()> onPost;
};

// The state of a live looper, or NULL once it has been deleted. Looks the
// pointer up without dereferencing it.
std::shared_ptr<LooperState> FindLooperState(const BLooper* looper);

// Locks with a timeout in microseconds (B_INFINITE_TIMEOUT: no limit):
// B_OK, B_TIMED_OUT, or B_BAD_VALUE when the looper is gone.
status_t LockLooperState(LooperState& state, bigtime_t timeout);
void UnlockLooperState(LooperState& state);
// Whether the calling thread holds the lock.
bool HoldsLooperState(LooperState& state);

// Appends (or, atHead, prepends) a message the queue then owns. B_BAD_VALUE
// when the looper is gone or quitting; the message is then deleted.
status_t QueueMessage(const BLooper* looper, BMessage* message, BHandler* handler, bool atHead);

// Removes the first queued message with that code and hands it to the
// caller; NULL when there is none.
BMessage* TakeQueuedMessage(const BLooper* looper, uint32 what);

// Returns once the looper's queue is empty and no message is being handled,
// or once it is gone when it quits; at once when its thread does not run.
void WaitUntilLooperIdle(const BLooper* looper);

} // namespace BPrivate

#endif // LOOPER_STATE_H
