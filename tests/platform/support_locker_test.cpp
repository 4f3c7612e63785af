// BLocker: a per-thread lock that nests for its holder.
#include <Autolock.h>
#include <Locker.h>
#include <OS.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

TEST(BLockerTest, NestsForTheHolder)
{
	BLocker locker("nesting");
	EXPECT_FALSE(locker.IsLocked());
	EXPECT_EQ(-1, locker.LockingThread());
	ASSERT_TRUE(locker.Lock());
	ASSERT_TRUE(locker.Lock());
	EXPECT_EQ(B_OK, locker.LockWithTimeout(0));
	EXPECT_TRUE(locker.IsLocked());
	EXPECT_EQ(3, locker.CountLocks());
	EXPECT_EQ(find_thread(NULL), locker.LockingThread());
	locker.Unlock();
	locker.Unlock();
	EXPECT_TRUE(locker.IsLocked());
	EXPECT_EQ(1, locker.CountLocks());
	locker.Unlock();
	EXPECT_FALSE(locker.IsLocked());
	EXPECT_EQ(0, locker.CountLocks());
	EXPECT_EQ(-1, locker.LockingThread());
	EXPECT_STREQ("nesting", locker.Name());
}

TEST(BLockerTest, NegativeTimeoutIsRefused)
{
	BLocker locker;
	EXPECT_EQ(B_BAD_VALUE, locker.LockWithTimeout(-1));
	EXPECT_FALSE(locker.IsLocked());
}

TEST(BAutolockTest, HoldsTheLockForItsScope)
{
	BLocker locker;
	{
		BAutolock outer(locker);
		EXPECT_TRUE(outer.IsLocked());
		{
			BAutolock inner(&locker);
			EXPECT_TRUE(inner.IsLocked());
			EXPECT_EQ(2, locker.CountLocks());
		}
		EXPECT_EQ(1, locker.CountLocks());
	}
	EXPECT_FALSE(locker.IsLocked());
	EXPECT_EQ(-1, locker.LockingThread());

	BAutolock none(static_cast<BLocker*>(NULL));
	EXPECT_FALSE(none.IsLocked());
}

TEST(BLockerThreadTest, OtherThreadsWaitOrTimeOut)
{
	BLocker locker;
	ASSERT_TRUE(locker.Lock());
	thread_id self = find_thread(NULL);
	status_t tryOnce = B_OK, tryBriefly = B_OK;
	bool seenLocked = true;
	thread_id seenHolder = -1;
	std::thread other([&] {
		tryOnce = locker.LockWithTimeout(0);
		tryBriefly = locker.LockWithTimeout(20000);
		seenLocked = locker.IsLocked();
		seenHolder = locker.LockingThread();
		// Not the holder: its Unlock must not release the lock.
		locker.Unlock();
	});
	other.join();
	EXPECT_EQ(B_TIMED_OUT, tryOnce);
	EXPECT_EQ(B_TIMED_OUT, tryBriefly);
	EXPECT_FALSE(seenLocked);
	EXPECT_EQ(self, seenHolder);
	EXPECT_TRUE(locker.IsLocked());
	EXPECT_EQ(1, locker.CountLocks());
	locker.Unlock();
}

TEST(BLockerThreadTest, WaiterGetsTheLockOnceReleased)
{
	BLocker locker;
	ASSERT_TRUE(locker.Lock());
	std::atomic<bool> started(false);
	std::atomic<bool> acquired(false);
	thread_id waiterId = -1;
	std::thread waiter([&] {
		waiterId = find_thread(NULL);
		started = true;
		if (locker.Lock()) {
			acquired = true;
			EXPECT_EQ(find_thread(NULL), locker.LockingThread());
			locker.Unlock();
		}
	});
	while (!started)
		snooze(100);
	EXPECT_FALSE(acquired);
	locker.Unlock();
	waiter.join();
	EXPECT_TRUE(acquired);
	EXPECT_NE(find_thread(NULL), waiterId);
	EXPECT_EQ(-1, locker.LockingThread());
}

TEST(BLockerThreadTest, ExcludesOtherThreads)
{
	BLocker locker;
	int64 counter = 0; // guarded by locker only
	int32 insideAtOnce = 0;
	int32 maxInside = 0;
	auto work = [&] {
		for (int i = 0; i < 20000; i++) {
			locker.Lock();
			locker.Lock();
			insideAtOnce++;
			maxInside = std::max(maxInside, insideAtOnce);
			counter++;
			insideAtOnce--;
			locker.Unlock();
			locker.Unlock();
		}
	};
	std::thread first(work);
	std::thread second(work);
	first.join();
	second.join();
	EXPECT_EQ(40000, counter);
	EXPECT_EQ(1, maxInside);
}
