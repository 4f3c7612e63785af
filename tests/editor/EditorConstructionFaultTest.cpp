// Building the full editor when memory runs out: every allocation of the
// construction fails in turn. The partly built editor must be taken apart
// (nothing leaks, nothing is deleted twice: the sanitizer build checks both,
// the allocation count below checks the leaks in every build) and the
// std::bad_alloc must reach the caller.
#include "EditorFixture.h"

#include <ResourceAddonBase.h>

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

class EditorConstructionFaultTest : public EditorFixture
{
};

TEST_F(EditorConstructionFaultTest, EveryFailedAllocationTakesThePartlyBuiltEditorApart)
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
