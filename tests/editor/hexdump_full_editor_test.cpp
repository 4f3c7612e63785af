// The full editor: its view tree, the working copy, the edit operations and
// how they reach the host, change notices, Retarget, and refused locks.
#include "EditorFixture.h"

#include <Errors.h>
#include <InterfaceDefs.h>
#include <Message.h>
#include <ResourceAddonBase.h>
#include <ScrollBar.h>
#include <ScrollView.h>

#include <functional>
#include <iterator>
#include <vector>

namespace {

// A watcher of its own that writes to the document as another editor would.
class OtherWriter : public BResourceAddonBase
{
public:
	explicit OtherWriter(Document& document) : BResourceAddonBase(document.AddonArgs()) {}

	void Replace(const BResourceHandle& handle, const std::string& bytes)
	{
		BResourceCollection* collection = WriteLock("typing");
		ASSERT_NE(collection, nullptr);
		BResourceItem* item = collection->WriteItem(handle, this);
		item->RemoveData(0, item->DataIO().BufferLength());
		item->InsertData(0, bytes.data(), bytes.size());
		WriteUnlock(collection);
	}
};

void ExpectFrame(BView* view, BRect frame)
{
	EXPECT_EQ(view->Frame(), frame) << view->Name();
}

} // namespace

class EditorTest : public EditorFixture
{
protected:
	// Runs a call on the editor as the window's thread would: locked.
	template <typename Call> void Locked(Call call)
	{
		ASSERT_TRUE(fWindow->Lock());
		call();
		fWindow->Unlock();
	}
};

TEST_F(EditorTest, BuildsTheViewTree)
{
	MakeEditor();
	BView* editorView = fEditor->View();
	ASSERT_EQ(editorView, static_cast<BView*>(fEditor));
	EXPECT_STREQ(editorView->Name(), "HexEditor");
	ExpectFrame(editorView, BRect(0, 0, 50, 50));
	EXPECT_EQ(editorView->ResizingMode(), uint32(B_FOLLOW_ALL_SIDES));
	EXPECT_EQ(editorView->Flags(), uint32(B_NAVIGABLE_JUMP));
	ASSERT_EQ(editorView->CountChildren(), 1);

	BScrollView* scrollView = dynamic_cast<BScrollView*>(editorView->ChildAt(0));
	ASSERT_NE(scrollView, nullptr);
	EXPECT_STREQ(scrollView->Name(), "StringScroll");
	ExpectFrame(scrollView, BRect(0, 0, 50, 50));
	EXPECT_EQ(scrollView->ResizingMode(), uint32(B_FOLLOW_ALL_SIDES));
	EXPECT_NE(scrollView->Flags() & B_WILL_DRAW, 0u);
	EXPECT_EQ(scrollView->Border(), B_FANCY_BORDER);
	EXPECT_NE(scrollView->ScrollBar(B_HORIZONTAL), nullptr);
	EXPECT_NE(scrollView->ScrollBar(B_VERTICAL), nullptr);

	HexDumpView* dumpView = fEditor->DumpView();
	ASSERT_NE(dumpView, nullptr);
	EXPECT_EQ(dynamic_cast<HexDumpView*>(editorView->FindView("HexDumpView")), dumpView);
	EXPECT_EQ(dumpView->Parent(), scrollView);
	ExpectFrame(dumpView, BRect(2, 2, 34, 34));
}

TEST_F(EditorTest, CopiesTheItemWhateverItsBytes)
{
	MakeEditor();
	EXPECT_EQ(WorkingCopy(*fEditor), "0123456789");
	delete fEditor;

	fItem = fDocument.AddItem('RAWT', 3, "empty", NULL, 0);
	MakeEditor();
	EXPECT_EQ(fEditor->Size(), 0u);
	ASSERT_NE(fEditor->Data(), nullptr);
	EXPECT_STREQ(fEditor->Data(), "");
	delete fEditor;

	const std::string binary("\0\x01\0\xff\0", 5);
	fItem = fDocument.AddItem('RAWT', 4, "nuls", binary.data(), binary.size());
	MakeEditor();
	EXPECT_EQ(fEditor->Size(), 5u);
	EXPECT_EQ(WorkingCopy(*fEditor), binary);
}

TEST_F(EditorTest, StartsEmptyWhenTheReadLockIsRefused)
{
	fDocument.SetRefuseReadLock(true);
	MakeEditor();
	EXPECT_EQ(fEditor->Size(), 0u);
	EXPECT_STREQ(fEditor->Data(), "");
}

TEST_F(EditorTest, SetDataReplacesOnlyTheWorkingCopy)
{
	MakeEditor();
	fEditor->SetData("a\0b", 3, false);
	EXPECT_EQ(WorkingCopy(*fEditor), std::string("a\0b", 3));
	fEditor->SetData("x", 0, false);
	EXPECT_EQ(fEditor->Size(), 0u);
	ASSERT_NE(fEditor->Data(), nullptr);
	EXPECT_STREQ(fEditor->Data(), "");
	EXPECT_EQ(ItemData(fItem), "0123456789");
	EXPECT_FALSE(fDocument.CanUndo());
}

TEST_F(EditorTest, ModifyCharAtReplacesOneByteInBoth)
{
	ShowEditor();
	Locked([&] {
		fEditor->ModifyCharAt(10, 'x', "typing", false);
		EXPECT_EQ(WorkingCopy(*fEditor), "0123456789");
		EXPECT_FALSE(fDocument.CanUndo());

		fEditor->ModifyCharAt(9, '\0', "typing", false);
		EXPECT_EQ(WorkingCopy(*fEditor), std::string("012345678\0", 10));
		EXPECT_EQ(ItemData(fItem), WorkingCopy(*fEditor));
		EXPECT_EQ(fDocument.UndoName(), "typing");

		fEditor->ModifyCharAt(0, 'Z', "custom name", true);
		EXPECT_EQ(ItemData(fItem), std::string("Z12345678\0", 10));
		EXPECT_EQ(fDocument.UndoName(), "custom name");
	});
	// The same value still reaches the host as a step of its own.
	Locked([&] { fEditor->ModifyCharAt(0, 'Z', "again", false); });
	EXPECT_EQ(fDocument.UndoName(), "again");
	EXPECT_EQ(fDocument.Undo(), B_OK);
	EXPECT_EQ(ItemData(fItem), std::string("Z12345678\0", 10));
	EXPECT_EQ(fDocument.UndoName(), "custom name");
}

TEST_F(EditorTest, DeleteRangeRemovesWholeRangesOnly)
{
	ShowEditor();
	Locked([&] {
		fEditor->DeleteRange(3, 3, "delete", false);
		fEditor->DeleteRange(4, 3, "delete", false);
		fEditor->DeleteRange(8, 11, "delete", false);
		EXPECT_EQ(WorkingCopy(*fEditor), "0123456789");
		EXPECT_EQ(ItemData(fItem), "0123456789");
		EXPECT_FALSE(fDocument.CanUndo());

		fEditor->DeleteRange(7, 10, "delete", false);
		EXPECT_EQ(WorkingCopy(*fEditor), "0123456");
		fEditor->DeleteRange(0, 2, "delete", true);
		EXPECT_EQ(WorkingCopy(*fEditor), "23456");
		EXPECT_EQ(ItemData(fItem), "23456");
		EXPECT_EQ(fDocument.UndoName(), "delete");
	});
}

TEST_F(EditorTest, InsertAddsBytesBeforeAnOffsetOrAtTheEnd)
{
	ShowEditor();
	Locked([&] {
		fEditor->Insert(11, "x", 1, "typing", false);
		fEditor->Insert(3, "x", 0, "typing", false);
		EXPECT_EQ(WorkingCopy(*fEditor), "0123456789");
		EXPECT_FALSE(fDocument.CanUndo());

		fEditor->Insert(10, "\0!", 2, "typing", false);
		EXPECT_EQ(WorkingCopy(*fEditor), std::string("0123456789\0!", 12));
		fEditor->Insert(0, "ab", 2, "typing", true);
		EXPECT_EQ(WorkingCopy(*fEditor), std::string("ab0123456789\0!", 14));
		EXPECT_EQ(ItemData(fItem), WorkingCopy(*fEditor));
	});
}

TEST_F(EditorTest, ARefusedWriteLockChangesOnlyTheWorkingCopy)
{
	ShowEditor();
	fDocument.SetRefuseWriteLock(true);
	Locked([&] {
		fEditor->ModifyCharAt(0, 'x', "typing", false);
		fEditor->DeleteRange(1, 3, "delete", true);
		fEditor->Insert(0, "y", 1, "typing", false);
	});
	EXPECT_EQ(WorkingCopy(*fEditor), "yx3456789");
	EXPECT_EQ(ItemData(fItem), "0123456789");
	EXPECT_FALSE(fDocument.CanUndo());
}

TEST_F(EditorTest, NotifyTellsTheViewBeforeTheHostIsWritten)
{
	ShowEditor();
	std::vector<uint32> selectionEndAtLock;
	fDocument.SetWriteLockObserver(
	    [&](const char*) { selectionEndAtLock.push_back(fEditor->DumpView()->SelectionEnd()); });
	Locked([&] {
		// Told of a change, the view's selection follows its bytes.
		fEditor->DumpView()->Select(8, 10);
		fEditor->DeleteRange(6, 10, "delete", false);
		fEditor->DumpView()->Select(4, 6);
		fEditor->DeleteRange(2, 6, "delete", true);
	});
	EXPECT_EQ(selectionEndAtLock, (std::vector<uint32>{10, 2}));
}

// Edits the view is told of, and changes another writer makes, move the
// cursor and a half-typed byte with their bytes: (edit, cursor after it,
// still half typed) in turn, from a half-typed byte at 6 of "0123456789".
TEST_F(EditorTest, ChangesKeepTheCursorWithItsByte)
{
	ShowEditor();
	OtherWriter other(fDocument);
	HexDumpView* view = fEditor->DumpView();
	Locked([&] {
		view->Select(6, 6);
		view->InsertHexDigit(4, "typing");
	});
	const struct
	{
		std::function<void()> edit;
		uint32 cursor;
		bool halfTyped;
	} steps[] = {
	    {[&] { Locked([&] { fEditor->Insert(0, "ab", 2, "typing", true); }); }, 8, true},
	    {[&] { Locked([&] { fEditor->DeleteRange(1, 3, "delete", true); }); }, 6, true},
	    // Bytes put in right at the cursor go in front of its byte.
	    {[&] { Locked([&] { fEditor->Insert(6, "c", 1, "typing", true); }); }, 7, true},
	    // Changes after it leave it alone.
	    {[&] { Locked([&] { fEditor->ModifyCharAt(8, 'x', "typing", true); }); }, 7, true},
	    {[&] {
		     other.Replace(fItem, "zz" + WorkingCopy(*fEditor));
		     PlatformTesting::WaitUntilIdle(fWindow);
	     },
	     9, true},
	    // A change of the byte itself ends it; the cursor stays in front.
	    {[&] { Locked([&] { fEditor->ModifyCharAt(9, 'y', "typing", true); }); }, 9, false},
	};
	for (size_t i = 0; i < std::size(steps); i++) {
		steps[i].edit();
		Locked([&] {
			EXPECT_EQ(view->SelectionStart(), steps[i].cursor) << "step " << i;
			EXPECT_EQ(view->SelectionEnd(), steps[i].cursor) << "step " << i;
			EXPECT_EQ(view->LowNibblePending(), steps[i].halfTyped) << "step " << i;
		});
	}
	Locked([&] { EXPECT_EQ(WorkingCopy(*fEditor), "zza12345cyx789"); });
}

TEST_F(EditorTest, PickUpDataChangeReloadsOnlyForDataChangesOfThePrimaryItem)
{
	ShowEditor();
	Locked([&] {
		const BResourceCollection* collection = fEditor->ReadLock();
		ASSERT_NE(collection, nullptr);
		fEditor->SetData("stale", 5, false);
		fEditor->PickUpDataChange(collection, fOther, ~uint32(0));
		fEditor->PickUpDataChange(collection, fItem, 0);
		fEditor->PickUpDataChange(collection, fItem, ~uint32(B_RESOURCE_DATA_CHANGED));
		EXPECT_EQ(WorkingCopy(*fEditor), "stale");

		fEditor->SetData("01234567890123456789xyz", 23, false);
		fEditor->DumpView()->Select(20, 23);
		fEditor->PickUpDataChange(collection, fItem, B_RESOURCE_DATA_CHANGED);
		EXPECT_EQ(WorkingCopy(*fEditor), "0123456789");
		// The view heard of it: its selection lies within the data again.
		EXPECT_EQ(fEditor->DumpView()->SelectionStart(), 10u);
		EXPECT_EQ(fEditor->DumpView()->SelectionEnd(), 10u);
		fEditor->ReadUnlock(collection);
	});
}

TEST_F(EditorTest, PickUpDataChangeOutsideAWindowChangesNothing)
{
	MakeEditor();
	const BResourceCollection* collection = fEditor->ReadLock();
	ASSERT_NE(collection, nullptr);
	fEditor->SetData("stale", 5, false);
	fEditor->PickUpDataChange(collection, fItem, B_RESOURCE_DATA_CHANGED);
	fEditor->ReadUnlock(collection);
	EXPECT_EQ(WorkingCopy(*fEditor), "stale");
}

TEST_F(EditorTest, ChangeNoticesFromTheHostReachTheWorkingCopy)
{
	ShowEditor();
	OtherWriter other(fDocument);
	other.Replace(fItem, "new bytes");
	PlatformTesting::WaitUntilIdle(fWindow);
	Locked([&] { EXPECT_EQ(WorkingCopy(*fEditor), "new bytes"); });

	// Changes of other items leave it alone.
	other.Replace(fOther, "other bytes");
	PlatformTesting::WaitUntilIdle(fWindow);
	Locked([&] { EXPECT_EQ(WorkingCopy(*fEditor), "new bytes"); });

	// Other messages still reach the view's own handling.
	BMessage unrelated('UNRL');
	PlatformTesting::PostAndWait(fWindow, unrelated, fEditor);
	Locked([&] { EXPECT_EQ(WorkingCopy(*fEditor), "new bytes"); });
}

TEST_F(EditorTest, ANoticeUnderARefusedReadLockIsDroppedButItsChangesWait)
{
	ShowEditor();
	OtherWriter other(fDocument);
	fDocument.SetRefuseReadLock(true);
	other.Replace(fItem, "first change");
	PlatformTesting::WaitUntilIdle(fWindow);
	Locked([&] { EXPECT_EQ(WorkingCopy(*fEditor), "0123456789"); });

	fDocument.SetRefuseReadLock(false);
	PlatformTesting::PostAndWait(fWindow, BMessage(B_RESOURCE_CHANGE_NOTICE), fEditor);
	Locked([&] { EXPECT_EQ(WorkingCopy(*fEditor), "first change"); });
}

TEST_F(EditorTest, RetargetReloadsEvenForTheSameItem)
{
	ShowEditor();
	Locked([&] { fEditor->SetData("stale", 5, false); });
	EXPECT_EQ(fEditor->Retarget(fItem), B_OK);
	Locked([&] { EXPECT_EQ(WorkingCopy(*fEditor), "0123456789"); });

	EXPECT_EQ(fEditor->Retarget(fOther), B_OK);
	Locked([&] {
		EXPECT_TRUE(fEditor->PrimaryItem() == fOther);
		EXPECT_EQ(WorkingCopy(*fEditor), "ABC");
		fEditor->Insert(3, "D", 1, "typing", false);
	});
	EXPECT_EQ(ItemData(fOther), "ABCD");
	EXPECT_EQ(ItemData(fItem), "0123456789");
}

TEST_F(EditorTest, RetargetUnderARefusedReadLockKeepsTheOldBytes)
{
	ShowEditor();
	fDocument.SetRefuseReadLock(true);
	EXPECT_EQ(fEditor->Retarget(fOther), B_OK);
	fDocument.SetRefuseReadLock(false);
	Locked([&] {
		EXPECT_TRUE(fEditor->PrimaryItem() == fOther);
		EXPECT_EQ(WorkingCopy(*fEditor), "0123456789");
		// Edits now go to the new item.
		fEditor->DeleteRange(0, 1, "delete", false);
	});
	EXPECT_EQ(ItemData(fOther), "BC");
	EXPECT_EQ(ItemData(fItem), "0123456789");
}

TEST_F(EditorTest, FocusAndPreferredSizeComeFromTheDumpView)
{
	ShowEditor();
	Locked([&] {
		fEditor->MakeFocus(true);
		EXPECT_TRUE(fEditor->DumpView()->IsFocus());
		EXPECT_FALSE(fEditor->IsFocus());

		float dumpWidth = 0;
		float dumpHeight = 0;
		fEditor->DumpView()->GetPreferredSize(dumpWidth, dumpHeight);
		float width = 0;
		float height = 0;
		fEditor->GetPreferredSize(&width, &height);
		EXPECT_EQ(width, dumpWidth + 19);
		EXPECT_EQ(height, dumpHeight + 19);
		// With the test face: 487 wide, at least 16 lines of 13 pixels.
		EXPECT_EQ(width, 506);
		EXPECT_EQ(height, 233);
	});
}

TEST_F(EditorTest, AnEditUndoneInTheHostComesBackThroughTheNotice)
{
	ShowEditor();
	Locked([&] {
		fEditor->ModifyCharAt(2, 'x', "typing", false);
		fEditor->Insert(0, "\0", 1, "typing", false);
	});
	EXPECT_EQ(ItemData(fItem), std::string("\0"
	                                       "01x3456789",
	                                       11));
	// Two steps: the insertion does not continue the change at offset 2.
	EXPECT_EQ(fDocument.Undo(), B_OK);
	EXPECT_EQ(ItemData(fItem), "01x3456789");
	EXPECT_EQ(fDocument.Undo(), B_OK);
	EXPECT_EQ(ItemData(fItem), "0123456789");
	PlatformTesting::WaitUntilIdle(fWindow);
	Locked([&] { EXPECT_EQ(WorkingCopy(*fEditor), "0123456789"); });

	EXPECT_EQ(fDocument.Redo(), B_OK);
	PlatformTesting::WaitUntilIdle(fWindow);
	Locked([&] { EXPECT_EQ(WorkingCopy(*fEditor), ItemData(fItem)); });
}
