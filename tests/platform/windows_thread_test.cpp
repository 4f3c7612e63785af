// The window's lock and thread: nesting, contention between threads,
// timeouts, the message being dispatched, and quitting from another thread.
#include <AppDefs.h>
#include <OS.h>
#include <View.h>
#include <Window.h>

#include <PlatformTesting.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "windows_fixture.h"

namespace {

TEST(WindowLockThreadTest, TheLockNestsForItsHolder)
{
	TestWindow window;
	ASSERT_TRUE(window->Lock());
	ASSERT_TRUE(window->Lock());
	EXPECT_EQ(window->CountLocks(), 2);
	window->Unlock();
	EXPECT_TRUE(window->IsLocked());
	window->Unlock();
	EXPECT_FALSE(window->IsLocked());
	EXPECT_EQ(window->CountLocks(), 0);
	EXPECT_EQ(window->LockWithTimeout(-1), B_BAD_VALUE);
}

TEST(WindowLockThreadTest, AnotherThreadWaitsForTheLockOrTimesOut)
{
	TestWindow window;
	ASSERT_TRUE(window->Lock());
	status_t whileHeld = B_OK;
	std::thread([&]() { whileHeld = window->LockWithTimeout(20000); }).join();
	EXPECT_EQ(whileHeld, B_TIMED_OUT);

	std::atomic<bool> holding(false);
	std::atomic<bool> release(false);
	std::thread other([&]() {
		window->Lock();
		holding = true;
		while (!release)
			snooze(1000);
		window->Unlock();
	});
	window->Unlock();
	while (!holding)
		snooze(1000);
	EXPECT_FALSE(window->IsLocked());
	EXPECT_EQ(window->LockWithTimeout(0), B_TIMED_OUT);
	release = true;
	other.join();
	EXPECT_EQ(window->LockWithTimeout(B_INFINITE_TIMEOUT), B_OK);
	window->Unlock();
}

TEST(WindowLockThreadTest, MessagesWaitWhileAnotherThreadHoldsTheLock)
{
	class Counting : public BWindow
	{
	public:
		Counting() : BWindow(BRect(0, 0, 9, 9), "counting", B_TITLED_WINDOW, 0) {}
		virtual void MessageReceived(BMessage* message)
		{
			if (message->what == 'cnt ') {
				handled++;
				current = CurrentMessage();
				lockedHere = IsLocked();
			} else {
				BWindow::MessageReceived(message);
			}
		}
		std::atomic<int32> handled{0};
		BMessage* current = NULL;
		bool lockedHere = false;
	};
	Counting* window = new Counting;
	window->Show();
	PlatformTesting::WaitUntilIdle(window);

	window->Lock();
	EXPECT_EQ(window->CurrentMessage(), nullptr);
	window->PostMessage('cnt ');
	snooze(20000);
	EXPECT_EQ(window->handled.load(), 0);
	window->Unlock();
	PlatformTesting::WaitUntilIdle(window);
	EXPECT_EQ(window->handled.load(), 1);
	window->Lock();
	EXPECT_NE(window->current, nullptr);
	EXPECT_TRUE(window->lockedHere);
	window->Quit();
}

TEST(WindowLockThreadTest, QuitFromAnotherThreadDeletesTheWindowOnItsThread)
{
	struct Outcome
	{
		std::atomic<bool> detached{false};
		std::atomic<thread_id> detachedOn{-1};
		std::atomic<bool> deleted{false};
	};
	class Watched : public BView
	{
	public:
		explicit Watched(Outcome& outcome)
		    : BView(BRect(0, 0, 9, 9), "watched", B_FOLLOW_NONE, 0), fOutcome(outcome)
		{
		}
		~Watched() { fOutcome.deleted = true; }
		virtual void DetachedFromWindow()
		{
			// The thread that detaches the view holds the window's lock.
			fOutcome.detachedOn = Window()->IsLocked() ? find_thread(NULL) : -1;
			fOutcome.detached = true;
		}

	private:
		Outcome& fOutcome;
	};
	Outcome outcome;
	BWindow* window = new BWindow(BRect(0, 0, 9, 9), "quitting", B_TITLED_WINDOW, 0);
	window->AddChild(new Watched(outcome));
	thread_id windowThread = window->Run();
	ASSERT_GT(windowThread, 0);

	ASSERT_TRUE(window->Lock());
	window->Quit();
	EXPECT_TRUE(outcome.detached);
	EXPECT_TRUE(outcome.deleted);
	EXPECT_EQ(outcome.detachedOn.load(), windowThread);
}

TEST(WindowLockThreadTest, QuitRequestedDecidesWhetherTheWindowCloses)
{
	class Stubborn : public BWindow
	{
	public:
		explicit Stubborn(std::atomic<bool>& deleted)
		    : BWindow(BRect(0, 0, 9, 9), "stubborn", B_TITLED_WINDOW, 0), fDeleted(deleted)
		{
		}
		~Stubborn() { fDeleted = true; }
		virtual bool QuitRequested() { return allow; }
		std::atomic<bool> allow{false};

	private:
		std::atomic<bool>& fDeleted;
	};
	std::atomic<bool> deleted(false);
	Stubborn* window = new Stubborn(deleted);
	window->Show();
	PlatformTesting::PostAndWait(window, BMessage(B_QUIT_REQUESTED));
	ASSERT_TRUE(window->Lock());
	EXPECT_STREQ(window->Title(), "stubborn");
	window->allow = true;
	window->Unlock();
	PlatformTesting::PostAndWait(window, BMessage(B_QUIT_REQUESTED));
	// The wait lasts until the window is gone.
	EXPECT_TRUE(deleted);
}

} // namespace
