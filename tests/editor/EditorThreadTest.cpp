// Retarget from another thread while the window's thread types and the host
// writes and posts notices: every path takes the window before the host's
// lock, so all of it finishes.
#include "EditorFixture.h"

#include <ResourceAddonBase.h>

#include <stdio.h>
#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

namespace {

const int32 kRounds = 2000;

// Waits for a worker, bounded: a deadlocked run ends the test program with
// a failure rather than hanging it.
void JoinWithin(std::thread& thread, std::future<void>& done, const char* what)
{
	if (done.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
		fprintf(stderr, "%s did not finish: deadlock\n", what);
		fflush(stderr);
		_Exit(1);
	}
	thread.join();
}

} // namespace

class EditorThreadTest : public EditorFixture
{
};

TEST_F(EditorThreadTest, RetargetWhileTypingAndHostNoticesFinishes)
{
	ShowEditor();
	ASSERT_TRUE(fWindow->Lock());
	fEditor->MakeFocus(true);
	fWindow->Unlock();

	std::atomic<bool> stop(false);

	std::promise<void> retargeted;
	std::future<void> retargetDone = retargeted.get_future();
	std::thread retargeter([&] {
		for (int32 round = 0; round < kRounds; round++)
			fEditor->Retarget(round % 2 == 0 ? fOther : fItem);
		retargeted.set_value();
	});

	std::promise<void> wrote;
	std::future<void> writeDone = wrote.get_future();
	std::thread host([&] {
		BResourceAddonBase writer(fDocument.AddonArgs());
		int32 round = 0;
		while (!stop) {
			const BResourceHandle& item = round % 2 == 0 ? fItem : fOther;
			if (BResourceCollection* collection = writer.WriteLock("host")) {
				if (BResourceItem* writable = collection->WriteItem(item, &writer))
					writable->InsertData(0, "h", 1);
				writer.WriteUnlock(collection);
			}
			if (round % 3 == 0)
				fDocument.Undo();
			round++;
			std::this_thread::yield();
		}
		wrote.set_value();
	});

	const char* keys[] = {"4", "1", "a", "\x08", "f"};
	for (int32 round = 0; round < kRounds; round++) {
		BMessage key = PlatformTesting::MakeKeyDown(keys[round % 5]);
		fWindow->PostMessage(&key);
	}

	JoinWithin(retargeter, retargetDone, "Retarget");
	stop = true;
	JoinWithin(host, writeDone, "the host's writes");
	PlatformTesting::WaitUntilIdle(fWindow);

	// Whatever the interleaving, the notices have brought the working copy
	// in step with the item it now edits.
	ASSERT_TRUE(fWindow->Lock());
	const std::string workingCopy = WorkingCopy(*fEditor);
	const BResourceHandle primary = fEditor->PrimaryItem();
	fWindow->Unlock();
	EXPECT_TRUE(primary == fItem);
	EXPECT_EQ(workingCopy, ItemData(primary));
}
