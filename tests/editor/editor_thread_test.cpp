// Retarget from another thread while the window's thread types and the host
// writes and posts notices, also with a second editor typing and locks
// refused at random: every path takes the window before the host's lock, so
// all of it finishes, and ThreadSanitizer finds no race on the way.
#include "EditorFixture.h"

#include <InterfaceDefs.h>
#include <ResourceAddonBase.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <thread>

namespace {

const int32 kRounds = 2000;

// Ends the test program with a failure when the test has not finished in
// time: a deadlock shows as a failure instead of a hang.
class Watchdog
{
public:
	Watchdog(const char* what, std::chrono::seconds limit)
	    : fDone(false), fThread([this, what, limit] {
		      std::unique_lock<std::mutex> lock(fMutex);
		      if (!fChanged.wait_for(lock, limit, [this] { return fDone; })) {
			      fprintf(stderr, "%s did not finish in %lld s: deadlock\n", what,
			              (long long)limit.count());
			      fflush(stderr);
			      _Exit(1);
		      }
	      })
	{
	}
	~Watchdog()
	{
		{
			std::lock_guard<std::mutex> lock(fMutex);
			fDone = true;
		}
		fChanged.notify_all();
		fThread.join();
	}

private:
	std::mutex fMutex;
	std::condition_variable fChanged;
	bool fDone;
	std::thread fThread;
};

} // namespace

class EditorThreadTest : public EditorFixture
{
protected:
	// Writes to both items as the host would, undoing every third write
	// and, with redo, redoing every seventh, until stop is set.
	void HostWrites(const std::atomic<bool>& stop, bool redo)
	{
		BResourceAddonBase writer(fDocument.AddonArgs());
		for (int32 round = 0; !stop; round++) {
			const BResourceHandle& item = round % 2 == 0 ? fItem : fOther;
			if (BResourceCollection* collection = writer.WriteLock("host")) {
				if (BResourceItem* writable = collection->WriteItem(item, &writer))
					writable->InsertData(0, "h", 1);
				writer.WriteUnlock(collection);
			}
			if (round % 3 == 0)
				fDocument.Undo();
			if (redo && round % 7 == 0)
				fDocument.Redo();
			std::this_thread::yield();
		}
	}
};

TEST_F(EditorThreadTest, RetargetWhileTypingAndHostNoticesFinishes)
{
	ShowEditor();
	ASSERT_TRUE(fWindow->Lock());
	fEditor->MakeFocus(true);
	fWindow->Unlock();

	Watchdog watchdog("Retarget, typing and the host's writes", std::chrono::seconds(120));
	std::atomic<bool> stop(false);

	std::thread retargeter([&] {
		for (int32 round = 0; round < kRounds; round++)
			fEditor->Retarget(round % 2 == 0 ? fOther : fItem);
	});

	std::thread host([&] { HostWrites(stop, false); });

	const char* keys[] = {"4", "1", "a", "\x08", "f"};
	for (int32 round = 0; round < kRounds; round++) {
		BMessage key = PlatformTesting::MakeKeyDown(keys[round % 5]);
		fWindow->PostMessage(&key);
	}

	retargeter.join();
	stop = true;
	host.join();
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

TEST_F(EditorThreadTest, TwoEditorsHostWritesAndRefusedLocksAtOnceFinishInStep)
{
	// HEXDUMP_THREAD_ROUNDS scales the run, e.g. down for a quick look.
	int32 rounds = 10000;
	if (const char* count = getenv("HEXDUMP_THREAD_ROUNDS"))
		rounds = std::max(1, atoi(count));

	ShowEditor();
	HexDumpFullEditor* second = new HexDumpFullEditor(fDocument.AddonArgs(), fItem);
	BWindow* secondWindow = new BWindow(BRect(700, 50, 1299, 449), "second", B_TITLED_WINDOW, 0);
	secondWindow->Lock();
	secondWindow->AddChild(second->View());
	second->MakeFocus(true);
	secondWindow->Unlock();
	secondWindow->Show();
	ASSERT_TRUE(fWindow->Lock());
	fEditor->MakeFocus(true);
	fWindow->Unlock();

	Watchdog watchdog("Two editors, Retarget, the host and refused locks",
	                  std::chrono::seconds(240));
	std::atomic<bool> stop(false);

	std::thread retargeter([&] {
		for (int32 round = 0; round < rounds; round++)
			fEditor->Retarget(round % 2 == 0 ? fOther : fItem);
		fEditor->Retarget(fItem);
	});

	// The host's own writes and its undo and redo, which notify every
	// editor of the items they touch.
	std::thread host([&] { HostWrites(stop, true); });

	// Locks refused at random moments, for reading and for writing.
	std::thread refuser([&] {
		std::mt19937 generator(10);
		while (!stop) {
			const uint32 choice = generator();
			fDocument.SetRefuseReadLock((choice & 3) == 0);
			fDocument.SetRefuseWriteLock((choice & 12) == 0);
			std::this_thread::sleep_for(std::chrono::microseconds(choice % 200));
		}
		fDocument.SetRefuseReadLock(false);
		fDocument.SetRefuseWriteLock(false);
	});

	// Typing in both editors: digits, characters, deletions and Shift
	// selections, as the display delivers them.
	const char* keys[] = {"4", "1", "\x1c", "a", "\x08", "\x1d", "f", "\x7f", "\x1e", "7"};
	for (int32 round = 0; round < rounds; round++) {
		const int32 modifiers = round % 4 == 2 ? B_SHIFT_KEY : 0;
		BMessage key = PlatformTesting::MakeKeyDown(keys[round % 10], modifiers);
		fWindow->PostMessage(&key);
		BMessage other = PlatformTesting::MakeKeyDown(keys[(round + 3) % 10], modifiers);
		secondWindow->PostMessage(&other);
	}

	retargeter.join();
	stop = true;
	host.join();
	refuser.join();
	PlatformTesting::WaitUntilIdle(fWindow);
	PlatformTesting::WaitUntilIdle(secondWindow);

	// A refused lock may have kept an edit or a notice from one side; the
	// next write's notices bring both working copies in step again.
	BResourceAddonBase writer(fDocument.AddonArgs());
	BResourceCollection* collection = writer.WriteLock("host");
	ASSERT_NE(collection, nullptr);
	collection->WriteItem(fItem, &writer)->InsertData(0, "e", 1);
	writer.WriteUnlock(collection);
	PlatformTesting::WaitUntilIdle(fWindow);
	PlatformTesting::WaitUntilIdle(secondWindow);

	const std::string item = ItemData(fItem);
	for (auto [editor, window] : {std::pair(fEditor, fWindow), std::pair(second, secondWindow)}) {
		ASSERT_TRUE(window->Lock());
		EXPECT_TRUE(editor->PrimaryItem() == fItem);
		EXPECT_EQ(WorkingCopy(*editor), item) << window->Title();
		EXPECT_LE(editor->DumpView()->SelectionStart(), editor->DumpView()->SelectionEnd());
		EXPECT_LE(editor->DumpView()->SelectionEnd(), editor->Size());
		window->Unlock();
	}
	secondWindow->Lock();
	secondWindow->Quit();
}
