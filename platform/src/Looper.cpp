// BLooper: the queue, the counting lock and the thread. Live loopers are kept
// in a registry, so that locking or posting to a looper that is gone fails
// instead of touching freed memory.
#include <Looper.h>

#include <AppDefs.h>

#include "LooperState.h"

#include <ctype.h>
#include <stdio.h>

#include <algorithm>
#include <chrono>
#include <exception>
#include <map>
#include <thread>

using BPrivate::LooperState;

namespace {

// One line on stderr for an exception that a hook let escape; it allocates
// nothing, as the exception may be that memory ran out.
void ReportEscaped(const char* looper, uint32 what, std::exception_ptr escaped)
{
	char code[5] = {char(what >> 24), char(what >> 16), char(what >> 8), char(what), 0};
	for (char& c : code) {
		if (c != 0 && !isprint((unsigned char)c))
			c = '?';
	}
	char status[32];
	const char* why = "an exception of unknown type";
	try {
		std::rethrow_exception(escaped);
	} catch (status_t error) {
		snprintf(status, sizeof(status), "status %d", int(error));
		why = status;
	} catch (const std::exception& exception) {
		why = exception.what();
	} catch (...) {
	}
	fprintf(stderr, "%s: handling message '%s' threw %s; the loop goes on\n",
	        looper != NULL ? looper : "looper", code, why);
}

struct Registry
{
	std::mutex mutex;
	std::map<const BLooper*, std::shared_ptr<LooperState>> loopers;
};

// Never destroyed: looper threads may outlive the static destructors.
Registry& Loopers()
{
	static Registry* sRegistry = new Registry;
	return *sRegistry;
}

} // namespace

namespace BPrivate {

std::shared_ptr<LooperState> FindLooperState(const BLooper* looper)
{
	Registry& registry = Loopers();
	std::lock_guard<std::mutex> guard(registry.mutex);
	auto found = registry.loopers.find(looper);
	if (found == registry.loopers.end())
		return nullptr;
	return found->second;
}

status_t LockLooperState(LooperState& state, bigtime_t timeout)
{
	if (timeout < 0)
		return B_BAD_VALUE;
	thread_id self = find_thread(NULL);
	std::unique_lock<std::mutex> lock(state.lockMutex);
	if (state.dead)
		return B_BAD_VALUE;
	if (state.owner == self) {
		state.count++;
		return B_OK;
	}
	auto free = [&]() { return state.owner == -1 || state.dead; };
	if (timeout == B_INFINITE_TIMEOUT)
		state.lockReleased.wait(lock, free);
	else if (!state.lockReleased.wait_for(lock, std::chrono::microseconds(timeout), free))
		return B_TIMED_OUT;
	if (state.dead)
		return B_BAD_VALUE;
	state.owner = self;
	state.count = 1;
	return B_OK;
}

void UnlockLooperState(LooperState& state)
{
	std::lock_guard<std::mutex> guard(state.lockMutex);
	if (state.owner != find_thread(NULL))
		return;
	if (--state.count == 0) {
		state.owner = -1;
		state.lockReleased.notify_one();
	}
}

bool HoldsLooperState(LooperState& state)
{
	std::lock_guard<std::mutex> guard(state.lockMutex);
	return state.owner == find_thread(NULL);
}

status_t QueueMessage(const BLooper* looper, BMessage* message, BHandler* handler, bool atHead)
{
	std::shared_ptr<LooperState> state = FindLooperState(looper);
	if (!state) {
		delete message;
		return B_BAD_VALUE;
	}
	{
		std::lock_guard<std::mutex> guard(state->queueMutex);
		if (state->quitting || state->exited) {
			delete message;
			return B_BAD_VALUE;
		}
		if (atHead)
			state->queue.push_front({message, handler});
		else
			state->queue.push_back({message, handler});
	}
	// Outside the mutex, so that the woken loop does not block on it at once.
	state->queueChanged.notify_one();
	if (state->onPost)
		state->onPost();
	return B_OK;
}

BMessage* TakeQueuedMessage(const BLooper* looper, uint32 what)
{
	std::shared_ptr<LooperState> state = FindLooperState(looper);
	if (!state)
		return NULL;
	std::lock_guard<std::mutex> guard(state->queueMutex);
	for (auto entry = state->queue.begin(); entry != state->queue.end(); ++entry) {
		if (entry->message->what == what) {
			BMessage* message = entry->message;
			state->queue.erase(entry);
			return message;
		}
	}
	return NULL;
}

void WaitUntilLooperIdle(const BLooper* looper)
{
	std::shared_ptr<LooperState> state = FindLooperState(looper);
	if (!state)
		return;
	std::unique_lock<std::mutex> lock(state->queueMutex);
	state->stateChanged.wait(lock, [&]() {
		// A quitting looper is waited for until it is gone.
		return !state->running || state->exited ||
		       (!state->quitting && state->queue.empty() && !state->dispatching);
	});
}

} // namespace BPrivate

BLooper::BLooper(const char* name, int32 /*priority*/, int32 /*portCapacity*/)
    : BHandler(name), fState(std::make_shared<LooperState>()), fCurrentMessage(NULL)
{
	fLooper.store(this);
	fHandlers.push_back(this);
	Registry& registry = Loopers();
	std::lock_guard<std::mutex> guard(registry.mutex);
	registry.loopers[this] = fState;
}

BLooper::~BLooper()
{
	{
		Registry& registry = Loopers();
		std::lock_guard<std::mutex> guard(registry.mutex);
		registry.loopers.erase(this);
	}
	for (BHandler* handler : fHandlers)
		handler->fLooper.store(NULL);
	fHandlers.clear();

	std::deque<LooperState::Entry> queue;
	{
		std::lock_guard<std::mutex> guard(fState->queueMutex);
		queue.swap(fState->queue);
		fState->exited = true;
		fState->queueChanged.notify_all();
		fState->stateChanged.notify_all();
	}
	for (const LooperState::Entry& entry : queue)
		delete entry.message;

	std::lock_guard<std::mutex> guard(fState->lockMutex);
	fState->dead = true;
	fState->owner = -1;
	fState->count = 0;
	fState->lockReleased.notify_all();
}

status_t BLooper::PostMessage(uint32 command)
{
	BMessage message(command);
	return PostMessage(&message);
}

status_t BLooper::PostMessage(BMessage* message, BHandler* handler)
{
	if (message == NULL)
		return B_BAD_VALUE;
	if (handler != NULL && handler->Looper() != this)
		return B_MISMATCHED_VALUES;
	return BPrivate::QueueMessage(this, new BMessage(*message), handler, false);
}

void BLooper::DispatchMessage(BMessage* message, BHandler* handler)
{
	if (message->what == B_QUIT_REQUESTED && handler == this) {
		if (QuitRequested())
			Quit();
		return;
	}
	if (handler != NULL)
		handler->MessageReceived(message);
}

void BLooper::MessageReceived(BMessage* message)
{
	BHandler::MessageReceived(message);
}

BMessage* BLooper::CurrentMessage() const
{
	return fCurrentMessage;
}

thread_id BLooper::Run()
{
	std::shared_ptr<LooperState> state = fState;
	std::unique_lock<std::mutex> lock(state->queueMutex);
	if (state->running)
		return B_ALREADY_RUNNING;
	state->running = true;
	std::thread([this, state]() {
		{
			std::lock_guard<std::mutex> guard(state->queueMutex);
			state->thread = find_thread(NULL);
			state->stateChanged.notify_all();
		}
		_Loop();
	}).detach();
	state->stateChanged.wait(lock, [&]() { return state->thread != -1; });
	return state->thread;
}

void BLooper::_Loop()
{
	while (_DispatchNext(true)) {
	}
	// Deleted on its own thread, with the lock held like every hook.
	Lock();
	delete this;
}

bool BLooper::_DispatchNext(bool wait)
{
	LooperState::Entry entry = {NULL, NULL};
	{
		std::unique_lock<std::mutex> lock(fState->queueMutex);
		while (fState->queue.empty() && !fState->quitting) {
			if (!wait)
				return false;
			lock.unlock();
			bigtime_t delay = _TimerDelay();
			lock.lock();
			if (!fState->queue.empty() || fState->quitting)
				break;
			if (delay < 0) {
				fState->queueChanged.wait(lock);
			} else if (fState->queueChanged.wait_for(lock, std::chrono::microseconds(delay)) ==
			           std::cv_status::timeout) {
				lock.unlock();
				_TimerFired();
				lock.lock();
			}
		}
		if (fState->quitting)
			return false;
		entry = fState->queue.front();
		fState->queue.pop_front();
		fState->dispatching = true;
	}

	Lock();
	const int32 locks = CountLocks();
	BHandler* handler = entry.handler != NULL ? entry.handler : this;
	// A handler removed since the message was posted no longer receives it.
	if (IndexOf(handler) >= 0) {
		fCurrentMessage = entry.message;
		try {
			DispatchMessage(entry.message, handler);
		} catch (...) {
			// A hook that throws must not end the thread, and with it every
			// later message: the failure is told and the loop goes on, with
			// the locks the hook took and never gave back released.
			ReportEscaped(Name(), entry.message->what, std::current_exception());
			while (CountLocks() > locks)
				Unlock();
			_DispatchFailed();
		}
		fCurrentMessage = NULL;
	}
	_MessageHandled();
	Unlock();
	delete entry.message;

	bool idle;
	{
		std::lock_guard<std::mutex> guard(fState->queueMutex);
		fState->dispatching = false;
		idle = fState->queue.empty();
	}
	// Only idleness is waited for: a message handled with more to come
	// wakes no one.
	if (idle)
		fState->stateChanged.notify_all();
	return true;
}

bigtime_t BLooper::_TimerDelay()
{
	return -1;
}

void BLooper::_TimerFired() {}

void BLooper::_MessageHandled() {}

void BLooper::_DispatchFailed() {}

void BLooper::Quit()
{
	if (!IsLocked()) {
		fprintf(stderr, "ERROR - you must Lock a looper before calling Quit(), looper=%s\n",
		        Name());
		if (!Lock())
			return;
	}

	std::shared_ptr<LooperState> state = fState;
	std::unique_lock<std::mutex> lock(state->queueMutex);
	if (!state->running) {
		lock.unlock();
		delete this;
		return;
	}
	state->quitting = true;
	state->queueChanged.notify_all();
	if (state->thread == find_thread(NULL))
		return; // the loop ends after the current message

	// Another thread: give up its hold so the looper's thread can take the
	// lock to delete the looper, and wait for that.
	{
		std::lock_guard<std::mutex> guard(state->lockMutex);
		state->owner = -1;
		state->count = 0;
		state->lockReleased.notify_all();
	}
	state->stateChanged.wait(lock, [&]() { return state->exited; });
}

bool BLooper::QuitRequested()
{
	return true;
}

bool BLooper::Lock()
{
	return LockWithTimeout(B_INFINITE_TIMEOUT) == B_OK;
}

status_t BLooper::LockWithTimeout(bigtime_t timeout)
{
	// Looked up by address: the looper may be gone.
	std::shared_ptr<LooperState> state = BPrivate::FindLooperState(this);
	if (!state)
		return B_BAD_VALUE;
	return BPrivate::LockLooperState(*state, timeout);
}

void BLooper::Unlock()
{
	BPrivate::UnlockLooperState(*fState);
}

bool BLooper::IsLocked() const
{
	std::shared_ptr<LooperState> state = BPrivate::FindLooperState(this);
	return state && BPrivate::HoldsLooperState(*state);
}

int32 BLooper::CountLocks() const
{
	std::lock_guard<std::mutex> guard(fState->lockMutex);
	return fState->count;
}

void BLooper::AddHandler(BHandler* handler)
{
	if (handler == NULL || handler->Looper() == this)
		return;
	if (BLooper* other = handler->Looper())
		other->RemoveHandler(handler);
	fHandlers.push_back(handler);
	handler->fLooper.store(this);
}

bool BLooper::RemoveHandler(BHandler* handler)
{
	if (handler == this)
		return false;
	auto found = std::find(fHandlers.begin(), fHandlers.end(), handler);
	if (found == fHandlers.end())
		return false;
	fHandlers.erase(found);
	handler->fLooper.store(NULL);
	return true;
}

int32 BLooper::IndexOf(BHandler* handler) const
{
	auto found = std::find(fHandlers.begin(), fHandlers.end(), handler);
	return found == fHandlers.end() ? -1 : int32(found - fHandlers.begin());
}
