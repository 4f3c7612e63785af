// Kernel calls: the clock (real and manual) and thread identity.
#include <OS.h>

#include "PlatformTesting.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <atomic>
#include <thread>

TEST(SystemTime, RealClockNeverGoesBack)
{
	PlatformTesting::UseRealClock();
	bigtime_t before = system_time();
	snooze(2000);
	bigtime_t after = system_time();
	EXPECT_GE(after - before, 2000);
}

TEST(SystemTime, ManualClockStandsStillUntilSet)
{
	PlatformTesting::SetTestClock(5000000);
	EXPECT_EQ(5000000, system_time());
	snooze(1000);
	EXPECT_EQ(5000000, system_time());
	PlatformTesting::SetTestClock(7000000);
	EXPECT_EQ(7000000, system_time());
	PlatformTesting::UseRealClock();
	bigtime_t first = system_time();
	snooze(1000);
	EXPECT_GT(system_time(), first);
}

TEST(FindThreadTest, IdentifiesTheCallingThreadAndNamedThreads)
{
	thread_id self = find_thread(NULL);
	EXPECT_GT(self, 0);
	EXPECT_EQ(self, find_thread(NULL));

	std::atomic<bool> named(false), done(false);
	std::atomic<thread_id> otherId(-1);
	std::thread other([&] {
		pthread_setname_np(pthread_self(), "p2 named");
		otherId = find_thread(NULL);
		named = true;
		while (!done)
			snooze(100);
	});
	while (!named)
		snooze(100);
	EXPECT_NE(self, otherId.load());
	EXPECT_EQ(otherId.load(), find_thread("p2 named"));
	EXPECT_EQ(B_NAME_NOT_FOUND, find_thread("no such thread"));
	done = true;
	other.join();
}
