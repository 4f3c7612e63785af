// Keys reaching the dump view through its window: the key table, cursor
// movement and Shift selection, the two-keystroke hex byte, typed
// characters, Backspace and Delete, with the host's item and its undo steps
// checked after each key.

#include <gtest/gtest.h>

#include <AppDefs.h>
#include <InterfaceDefs.h>
#include <Message.h>

#include <string>

#include "HexDumpFullEditor.h"
#include "HexDumpView.h"
#include "PlatformTesting.h"
#include "ViewFixture.h"
#include "ViewHarness.h"

namespace {

class KeyboardTest : public ViewFixture
{
protected:
	// The test clock keeps the blink out of pictures and records.
	KeyboardTest() : ViewFixture(kFocused, 1000000) {}

	void Key(const char* bytes, int32 modifiers = 0) { fHarness->Key(bytes, modifiers); }
	void Key(char code, int32 modifiers = 0)
	{
		const char bytes[2] = {code, '\0'};
		fHarness->Key(bytes, modifiers);
	}

	// Places the selection directly, as a drag would.
	void SetSelection(uint32 start, uint32 end)
	{
		ViewHarness::WindowLock lock(*fHarness);
		View()->Select(start, end);
	}

	std::string WorkingCopy()
	{
		ViewHarness::WindowLock lock(*fHarness);
		return std::string(fHarness->Editor()->Data(), fHarness->Editor()->Size());
	}

	std::string ItemBytes() { return fHarness->ItemBytes(); }
};

} // namespace

TEST_F(KeyboardTest, HexDigitsMakeOneByteInTwoKeystrokes)
{
	const std::string original = Counting(8);
	Open(original);
	SetSelection(8, 8);

	Key("4");
	std::string expected = original + '\x40';
	EXPECT_EQ(ItemBytes(), expected);
	EXPECT_EQ(WorkingCopy(), expected);
	ExpectSelection(8, 8);
	EXPECT_TRUE(View()->LowNibblePending());
	EXPECT_EQ(fHarness->Doc().UndoName(), "typing");

	Key("1");
	expected.back() = '\x41';
	EXPECT_EQ(ItemBytes(), expected);
	EXPECT_EQ(WorkingCopy(), expected);
	ExpectSelection(9, 9);
	EXPECT_FALSE(View()->LowNibblePending());
	EXPECT_EQ(fHarness->Doc().UndoName(), "typing");

	// Both keystrokes are typing: undoing all of it restores the item.
	while (fHarness->Doc().CanUndo())
		ASSERT_EQ(fHarness->Doc().Undo(), B_OK);
	fHarness->WaitUntilIdle();
	EXPECT_EQ(ItemBytes(), original);
	EXPECT_EQ(WorkingCopy(), original);
}

TEST_F(KeyboardTest, HexDigitsOfEveryCaseAndNothingElse)
{
	Open("");
	const char* digits = "09afAF";
	for (const char* d = digits; *d != '\0'; d++)
		Key(*d);
	EXPECT_EQ(ItemBytes(), std::string("\x09\xaf\xaf", 3));

	// Not hex digits: nothing reaches the item, nothing moves.
	for (const char* other : {" ", "g", "G", "-", "z"})
		Key(other);
	EXPECT_EQ(ItemBytes(), std::string("\x09\xaf\xaf", 3));
	ExpectSelection(3, 3);
}

TEST_F(KeyboardTest, FirstDigitReplacesSelection)
{
	Open(Counting(8));
	SetSelection(2, 5);
	Key("4");
	EXPECT_EQ(ItemBytes(), std::string("\x00\x01\x40\x05\x06\x07", 6));
	ExpectSelection(2, 2);
	EXPECT_TRUE(View()->LowNibblePending());
	EXPECT_EQ(fHarness->Doc().UndoName(), "typing");
}

TEST_F(KeyboardTest, HalfTypedByteEndsOnMoveButNotOnStandingStill)
{
	Open(Counting(4));

	// Left at offset 0 selects what is already selected: the byte stays
	// half typed and the next digit completes it.
	Key("4");
	Key(B_LEFT_ARROW);
	EXPECT_TRUE(View()->LowNibblePending());
	Key("1");
	EXPECT_EQ(ItemBytes(), std::string("\x41\x00\x01\x02\x03", 5));
	ExpectSelection(1, 1);

	// Right ends it: the byte stays 0x40 and the cursor moves on.
	Key("4");
	Key(B_RIGHT_ARROW);
	EXPECT_FALSE(View()->LowNibblePending());
	ExpectSelection(2, 2);
	EXPECT_EQ(ItemBytes(), std::string("\x41\x40\x00\x01\x02\x03", 6));
}

TEST_F(KeyboardTest, UndoInTheHostEndsTheHalfTypedByte)
{
	const std::string original("\x10\x20\x30", 3);
	Open(original);
	SetSelection(1, 1);

	Key("4");
	ASSERT_EQ(fHarness->Doc().Undo(), B_OK);
	fHarness->WaitUntilIdle();
	EXPECT_EQ(WorkingCopy(), original);
	EXPECT_FALSE(View()->LowNibblePending());

	// The next digit starts a byte of its own instead of being added to
	// the 0x20 that now lies at the cursor.
	Key("1");
	EXPECT_EQ(ItemBytes(), std::string("\x10\x10\x20\x30", 4));
	EXPECT_TRUE(View()->LowNibblePending());
}

TEST_F(KeyboardTest, SecondDigitWithNoByteLeftWritesNothing)
{
	Open(Counting(4));
	SetSelection(3, 3);
	Key("4");

	// The working copy loses its tail behind the view's back.
	{
		ViewHarness::WindowLock lock(*fHarness);
		fHarness->Editor()->SetData("\x00\x01", 2, false);
	}
	const std::string itemBefore = ItemBytes();
	Key("1");
	EXPECT_EQ(ItemBytes(), itemBefore);
	EXPECT_EQ(WorkingCopy(), std::string("\x00\x01", 2));
	EXPECT_FALSE(View()->LowNibblePending());
	ExpectSelection(2, 2);
}

TEST_F(KeyboardTest, CharacterColumnTypesPrintableBytes)
{
	Open(Counting(4));
	fHarness->PressAsciiColumn(1);
	ASSERT_FALSE(View()->HexColumnActive());

	Key("A");
	EXPECT_EQ(ItemBytes(), std::string("\x00\x41\x01\x02\x03", 5));
	ExpectSelection(2, 2);
	EXPECT_EQ(fHarness->Doc().UndoName(), "typing");

	// Space is printable, a control byte is not.
	Key(" ");
	Key("\x02");
	EXPECT_EQ(ItemBytes(), std::string("\x00\x41\x20\x01\x02\x03", 6));

	SetSelection(0, 3);
	Key("z");
	EXPECT_EQ(ItemBytes(), std::string("z\x01\x02\x03", 4));
	ExpectSelection(1, 1);
}

TEST_F(KeyboardTest, MultiByteCharactersAreDropped)
{
	Open(Counting(4));
	Key("\xc3\xa4"); // a-umlaut in UTF-8
	fHarness->PressAsciiColumn(0);
	Key("\xc3\xa4");
	EXPECT_EQ(ItemBytes(), Counting(4));
	EXPECT_FALSE(View()->LowNibblePending());
}

TEST_F(KeyboardTest, KeysThatDoNothing)
{
	Open(Counting(20));
	SetSelection(5, 5);
	for (char code : {B_HOME, B_END, B_INSERT, B_ENTER, B_PAGE_UP, B_PAGE_DOWN, B_FUNCTION_KEY})
		Key(code);
	ExpectSelection(5, 5);
	EXPECT_EQ(ItemBytes(), Counting(20));
	EXPECT_FALSE(fHarness->Doc().CanUndo());
}

TEST_F(KeyboardTest, ArrowsMoveAndClampAtBothEnds)
{
	Open(Counting(40));
	struct Step
	{
		char key;
		uint32 from;
		uint32 to;
	} steps[] =
	    {
	        {B_RIGHT_ARROW, 0, 1},  {B_LEFT_ARROW, 1, 0},    {B_LEFT_ARROW, 0, 0},
	        {B_UP_ARROW, 0, 0},     {B_UP_ARROW, 5, 0},      {B_DOWN_ARROW, 5, 21},
	        {B_DOWN_ARROW, 25, 40}, // above L - 16: to the end
	        {B_DOWN_ARROW, 40, 40}, {B_RIGHT_ARROW, 40, 40}, {B_UP_ARROW, 40, 24},
	    };
	for (const Step& step : steps) {
		SetSelection(step.from, step.from);
		Key(step.key);
		SCOPED_TRACE(testing::Message() << "key " << int(step.key) << " from " << step.from);
		ExpectSelection(step.to, step.to);
	}
}

TEST_F(KeyboardTest, PlainArrowsCollapseSelectionToItsEnd)
{
	Open(Counting(20));
	for (char key : {B_LEFT_ARROW, B_UP_ARROW}) {
		SetSelection(4, 9);
		Key(key);
		ExpectSelection(4, 4);
	}
	for (char key : {B_RIGHT_ARROW, B_DOWN_ARROW}) {
		SetSelection(4, 9);
		Key(key);
		ExpectSelection(9, 9);
	}
}

TEST_F(KeyboardTest, ShiftArrowsExtendFromTheAnchor)
{
	Open(Counting(20));
	SetSelection(10, 10);

	Key(B_LEFT_ARROW, B_SHIFT_KEY);
	ExpectSelection(9, 10);
	Key(B_LEFT_ARROW, B_SHIFT_KEY);
	ExpectSelection(8, 10);
	Key(B_RIGHT_ARROW, B_SHIFT_KEY);
	ExpectSelection(9, 10);
	// Past the anchor: the ends swap and the selection grows on the right.
	Key(B_RIGHT_ARROW, B_SHIFT_KEY);
	Key(B_RIGHT_ARROW, B_SHIFT_KEY);
	ExpectSelection(10, 11);
	Key(B_DOWN_ARROW, B_SHIFT_KEY);
	ExpectSelection(10, 20); // clamped to the end
	// Up from the end passes the anchor: [4, 10), then the start clamps.
	Key(B_UP_ARROW, B_SHIFT_KEY);
	ExpectSelection(4, 10);
	Key(B_UP_ARROW, B_SHIFT_KEY);
	ExpectSelection(0, 10);
}

TEST_F(KeyboardTest, ShiftRightInAFreshViewSelectsTheFirstByte)
{
	Open(Counting(5));
	Key(B_RIGHT_ARROW, B_SHIFT_KEY);
	ExpectSelection(0, 1);
	Key(B_LEFT_ARROW, B_SHIFT_KEY | B_CONTROL_KEY); // other modifiers are not read
	ExpectSelection(0, 0);
}

TEST_F(KeyboardTest, ShiftAfterTypingMovesFirstThenSelects)
{
	Open(Counting(8));
	fHarness->PressAsciiColumn(3);
	Key("x");
	ExpectSelection(4, 4);
	// The anchor stayed at 3, so the first Shift+Left only moves.
	Key(B_LEFT_ARROW, B_SHIFT_KEY);
	ExpectSelection(3, 3);
	Key(B_LEFT_ARROW, B_SHIFT_KEY);
	ExpectSelection(2, 3);
}

TEST_F(KeyboardTest, BackspaceAndDeleteRemoveOneByte)
{
	Open(Counting(6));
	SetSelection(3, 3);
	Key(B_BACKSPACE);
	EXPECT_EQ(ItemBytes(), std::string("\x00\x01\x03\x04\x05", 5));
	ExpectSelection(2, 2);
	EXPECT_EQ(fHarness->Doc().UndoName(), "delete");

	Key(B_DELETE);
	EXPECT_EQ(ItemBytes(), std::string("\x00\x01\x04\x05", 4));
	ExpectSelection(2, 2);
	EXPECT_EQ(fHarness->Doc().UndoName(), "delete");
}

TEST_F(KeyboardTest, BackspaceAtStartAndDeleteAtEndRemoveNothing)
{
	Open(Counting(6));
	SetSelection(0, 0);
	Key(B_BACKSPACE);
	ExpectSelection(0, 0);
	SetSelection(6, 6);
	Key(B_DELETE);
	ExpectSelection(6, 6);
	EXPECT_EQ(ItemBytes(), Counting(6));
	EXPECT_FALSE(fHarness->Doc().CanUndo());

	// At the start Backspace still ends a half-typed byte.
	SetSelection(0, 0);
	Key("7");
	Key(B_BACKSPACE);
	EXPECT_FALSE(View()->LowNibblePending());
	ExpectSelection(0, 0);
	EXPECT_EQ(ItemBytes(), std::string("\x70").append(Counting(6)));
}

TEST_F(KeyboardTest, BackspaceAndDeleteRemoveExactlyTheSelection)
{
	Open(Counting(10));
	for (char key : {B_BACKSPACE, B_DELETE}) {
		SetSelection(0, 2);
		Key(key);
		ExpectSelection(0, 0);
	}
	EXPECT_EQ(ItemBytes(), std::string("\x04\x05\x06\x07\x08\x09", 6));
	// A selection reaching the end.
	SetSelection(3, 6);
	Key(B_DELETE);
	EXPECT_EQ(ItemBytes(), std::string("\x04\x05\x06", 3));
	ExpectSelection(3, 3);
}

TEST_F(KeyboardTest, RefusedWriteLockChangesOnlyTheView)
{
	Open(Counting(4));
	fHarness->Doc().SetRefuseWriteLock(true);
	SetSelection(1, 1);
	Key("c");
	Key("d");
	Key(B_DELETE);
	EXPECT_EQ(WorkingCopy(), std::string("\x00\xcd\x02\x03", 4));
	EXPECT_EQ(ItemBytes(), Counting(4));
	ExpectSelection(2, 2);
	EXPECT_FALSE(fHarness->Doc().CanUndo());
}

namespace {

// The window after the keys shows what a fresh view of the same bytes,
// selection and focus draws; with afterDeletion, once it has also redrawn
// from the selection to the end as a deletion does, which leaves the line
// holding the end of the data with its label.
void ExpectFreshPicture(ViewHarness& edited, uint32 start, uint32 end, bool hexColumn = true,
                        bool afterDeletion = false)
{
	const std::string bytes = edited.ItemBytes();
	PlatformTesting::PixelImage expected;
	{
		ViewHarness fresh(bytes);
		fresh.Focus();
		if (!hexColumn)
			fresh.PressAsciiColumn(0);
		{
			ViewHarness::WindowLock lock(fresh);
			fresh.View()->Select(start, end);
			if (afterDeletion)
				fresh.View()->DrawRange(int32(start), int32(bytes.size()), true, true);
		}
		fresh.WaitUntilIdle();
		expected = fresh.Snapshot();
	}
	// The fresh window took the activation while it lived.
	BMessage activated(B_WINDOW_ACTIVATED);
	activated.AddBool("active", true);
	PlatformTesting::PostAndWait(edited.Window(), activated);
	EXPECT_TRUE(edited.Snapshot() == expected)
	    << "after the keys, with " << bytes.size() << " bytes";
}

} // namespace

TEST_F(KeyboardTest, EditsLeaveThePictureAFreshViewDraws)
{
	Open(Counting(60));

	// A character typed in front of several lines shifts them all; one
	// that replaces one byte shifts nothing.
	fHarness->PressAsciiColumn(2);
	Key("Q");
	ASSERT_EQ(ItemBytes(), Counting(2) + 'Q' + Counting(60).substr(2));
	ExpectFreshPicture(*fHarness, 3, 3, false);
	SetSelection(5, 6);
	Key("R");
	ExpectFreshPicture(*fHarness, 6, 6, false);

	// A hex byte typed in front of several lines.
	fHarness->PressHexColumn(3);
	Key("a");
	Key("b");
	ASSERT_EQ(ItemBytes().substr(2, 3), "Q\xab\x02");
	ExpectFreshPicture(*fHarness, 4, 4);

	// A deletion of several lines clears everything below the new end.
	SetSelection(20, 62);
	Key(B_DELETE);
	ASSERT_EQ(ItemBytes().size(), 20u);
	ExpectFreshPicture(*fHarness, 20, 20);

	// A selection replaced by one hex byte.
	SetSelection(14, 18);
	Key("7");
	Key("7");
	ASSERT_EQ(ItemBytes().size(), 17u);
	ExpectFreshPicture(*fHarness, 15, 15);
}

TEST_F(KeyboardTest, DeletingDownToWholeLinesClearsTheOldLastLine)
{
	Open(Counting(17));
	SetSelection(17, 17);
	Key(B_BACKSPACE);
	ASSERT_EQ(ItemBytes(), Counting(16));
	// The removed byte, its line's outline edge and everything below are
	// gone; the line keeps its label, as a deletion's redraw draws it.
	ExpectFreshPicture(*fHarness, 16, 16, true, true);
}

TEST_F(KeyboardTest, CursorMovesThatScrollLeaveTheFreshPicture)
{
	// Down past the bottom scrolls the view line by line; the pixels that
	// scrolling moves, the cursor's included, and the exposed lines must
	// together show what a fresh view at that scroll position shows.
	Open(Counting(2000));
	SetSelection(0, 0);
	for (int i = 0; i < 50; i++)
		Key(B_DOWN_ARROW);
	Key(B_RIGHT_ARROW);
	ExpectSelection(801, 801);

	BPoint scrolled;
	{
		ViewHarness::WindowLock lock(*fHarness);
		scrolled = View()->Bounds().LeftTop();
	}
	ASSERT_GT(scrolled.y, 0);

	PlatformTesting::PixelImage expected;
	{
		ViewHarness fresh(ItemBytes());
		fresh.Focus();
		{
			ViewHarness::WindowLock lock(fresh);
			fresh.View()->Select(801, 801);
			fresh.View()->ScrollTo(scrolled);
		}
		fresh.WaitUntilIdle();
		expected = fresh.Snapshot();
	}
	BMessage activated(B_WINDOW_ACTIVATED);
	activated.AddBool("active", true);
	PlatformTesting::PostAndWait(fHarness->Window(), activated);
	EXPECT_TRUE(fHarness->Snapshot() == expected);
}

TEST_F(KeyboardTest, AFailedOffscreenLockKeepsTheEditAndTheNextRedrawIsWhole)
{
	// The offscreen bitmap's lock fails while a typed byte is being drawn:
	// its B_ERROR leaves the drawing and the key's hook, the window reports
	// it and goes on, and the edit itself is already made in both copies.
	Open(Counting(60));
	SetSelection(8, 8);
	PlatformTesting::FailBitmapLocks(1);
	testing::internal::CaptureStderr();
	Key("4");
	const std::string reports = testing::internal::GetCapturedStderr();
	PlatformTesting::FailBitmapLocks(0);
	EXPECT_EQ(reports, "view test: handling message '_KYD' threw status -1; the loop goes on\n");
	EXPECT_EQ(ItemBytes(), Counting(8) + '\x40' + Counting(60).substr(8));
	EXPECT_EQ(WorkingCopy(), ItemBytes());

	// The window still handles keys, and its next update, whatever asks
	// for it, redraws the whole dump.
	Key("1");
	EXPECT_EQ(ItemBytes(), Counting(8) + '\x41' + Counting(60).substr(8));
	{
		ViewHarness::WindowLock lock(*fHarness);
		View()->Invalidate(BRect(0, 0, 0, 0));
	}
	fHarness->WaitUntilIdle();
	ExpectFreshPicture(*fHarness, 9, 9);
}
