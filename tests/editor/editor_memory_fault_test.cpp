// The full editor when memory runs out. Building it: every allocation of the
// construction fails in turn; the partly built editor must be taken apart
// (nothing leaks, nothing is deleted twice: the sanitizer build checks both,
// the allocation count below checks the leaks in every build) and the
// std::bad_alloc must reach the caller. Editing: neither the working copy nor
// the host's item may be changed without the other.
#include "EditorFixture.h"

#include <ResourceAddonBase.h>

#include <PlatformTesting.h>

#include <stdlib.h>

#include <atomic>
#include <new>

namespace {

// Only the arming thread's allocations count, so the window threads of
// other tests and gtest's own bookkeeping never fail.
thread_local bool tArmed = false;
thread_local int64 tAllocations = 0;
thread_local int64 tFailAt = 0;
thread_local int64 tLive = 0;

void* Allocate(size_t size)
{
	if (tArmed) {
		tAllocations++;
		if (tAllocations == tFailAt)
			return NULL;
	}
	void* memory = malloc(size == 0 ? 1 : size);
	if (memory != NULL && tArmed)
		tLive++;
	return memory;
}

void Release(void* memory)
{
	if (memory != NULL && tArmed)
		tLive--;
	free(memory);
}

// Counts the allocations of one call, failing the failAt-th (0: none).
class AllocationFault
{
public:
	explicit AllocationFault(int64 failAt)
	{
		tAllocations = 0;
		tLive = 0;
		tFailAt = failAt;
		tArmed = true;
	}
	~AllocationFault() { tArmed = false; }

	int64 Allocations() const { return tAllocations; }
	// Allocations made while armed and not yet freed.
	int64 Live() const { return tLive; }
};

} // namespace

void* operator new(size_t size)
{
	if (void* memory = Allocate(size))
		return memory;
	throw std::bad_alloc();
}

void* operator new[](size_t size)
{
	return operator new(size);
}

void* operator new(size_t size, const std::nothrow_t&) noexcept
{
	return Allocate(size);
}

void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
	return Allocate(size);
}

void operator delete(void* memory) noexcept
{
	Release(memory);
}

void operator delete[](void* memory) noexcept
{
	Release(memory);
}

void operator delete(void* memory, size_t) noexcept
{
	Release(memory);
}

void operator delete[](void* memory, size_t) noexcept
{
	Release(memory);
}

class EditorMemoryFaultTest : public EditorFixture
{
};

TEST_F(EditorMemoryFaultTest, EveryFailedAllocationTakesThePartlyBuiltEditorApart)
{
	// Nothing failing: how many allocations a whole construction makes.
	int64 total = 0;
	{
		AllocationFault count(0);
		delete new HexDumpFullEditor(fDocument.AddonArgs(), fItem);
		total = count.Allocations();
		EXPECT_EQ(count.Live(), 0);
	}
	// The editor, its view state, the dump view, the scroll view and its
	// two bars at the least.
	ASSERT_GE(total, 6);

	for (int64 failAt = 1; failAt <= total; failAt++) {
		SCOPED_TRACE("allocation " + std::to_string(failAt) + " of " + std::to_string(total));
		AllocationFault fault(failAt);
		HexDumpFullEditor* editor = NULL;
		bool threw = false;
		try {
			editor = new HexDumpFullEditor(fDocument.AddonArgs(), fItem);
		} catch (const std::bad_alloc&) {
			threw = true;
		}
		EXPECT_TRUE(threw);
		EXPECT_EQ(editor, nullptr);
		EXPECT_EQ(fault.Live(), 0) << "left allocated after the failure";
	}

	// The document is untouched by the failed editors: a write by another
	// add-on base posts no notice to any of them, and a whole editor still
	// builds and shows the item.
	BResourceAddonBase writer(fDocument.AddonArgs());
	BResourceCollection* collection = writer.WriteLock("typing");
	ASSERT_NE(collection, nullptr);
	collection->WriteItem(fItem, &writer)->InsertData(0, "x", 1);
	writer.WriteUnlock(collection);

	ShowEditor();
	ASSERT_TRUE(fWindow->Lock());
	EXPECT_EQ(WorkingCopy(*fEditor), "x0123456789");
	fWindow->Unlock();
}

TEST_F(EditorMemoryFaultTest, AnEditThatCannotGrowEitherCopyChangesNeither)
{
	ShowEditor();
	const std::string original = ItemData(fItem);
	const std::string run(32, 'r');

	// The working copy cannot grow: each allocation of an insertion fails
	// in turn until it goes through.
	for (int64 failAt = 1;; failAt++) {
		SCOPED_TRACE("allocation " + std::to_string(failAt));
		ASSERT_TRUE(fWindow->Lock());
		bool threw = false;
		{
			AllocationFault fault(failAt);
			try {
				fEditor->Insert(4, run.data(), uint32(run.size()), "typing", true);
			} catch (const std::bad_alloc&) {
				threw = true;
			}
		}
		const std::string workingCopy = WorkingCopy(*fEditor);
		fWindow->Unlock();
		PlatformTesting::WaitUntilIdle(fWindow);
		EXPECT_EQ(workingCopy, ItemData(fItem));
		if (!threw) {
			EXPECT_EQ(workingCopy, original.substr(0, 4) + run + original.substr(4));
			// The run's copies in the working copy and in the host's item
			// and undo record were all among the failed allocations.
			EXPECT_GE(failAt, 4);
			break;
		}
		EXPECT_EQ(workingCopy, original);
		ASSERT_LT(failAt, 100);
	}

	// The item cannot grow: a typed byte is given back by the working copy
	// too, and the window reports the failure and goes on.
	const std::string grown = ItemData(fItem);
	fDocument.SetItemSizeLimit(grown.size());
	ASSERT_TRUE(fWindow->Lock());
	fEditor->MakeFocus(true);
	fEditor->DumpView()->Select(2, 2);
	fWindow->Unlock();
	testing::internal::CaptureStderr();
	PlatformTesting::PostAndWait(fWindow, PlatformTesting::MakeKeyDown("4"));
	EXPECT_EQ(testing::internal::GetCapturedStderr(),
	          "editor: handling message '_KYD' threw std::bad_alloc; the loop goes on\n");
	ASSERT_TRUE(fWindow->Lock());
	EXPECT_EQ(WorkingCopy(*fEditor), grown);
	EXPECT_FALSE(fEditor->DumpView()->LowNibblePending());
	// Replacing a byte needs no room: it still goes through.
	fEditor->DumpView()->Select(2, 3);
	fWindow->Unlock();
	PlatformTesting::PostAndWait(fWindow, PlatformTesting::MakeKeyDown("7"));
	PlatformTesting::PostAndWait(fWindow, PlatformTesting::MakeKeyDown("a"));
	ASSERT_TRUE(fWindow->Lock());
	EXPECT_EQ(WorkingCopy(*fEditor), grown.substr(0, 2) + "\x7a" + grown.substr(3));
	EXPECT_EQ(fEditor->DumpView()->SelectionEnd(), 3u);
	fWindow->Unlock();
	EXPECT_EQ(ItemData(fItem), grown.substr(0, 2) + "\x7a" + grown.substr(3));
	fDocument.SetItemSizeLimit(0);
}
