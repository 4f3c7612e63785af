// Mouse presses, drags and releases posted to the dump view's window as the
// display delivers them; the selection setters the keyboard shares.

#include <gtest/gtest.h>

#include <AppDefs.h>
#include <Cursor.h>
#include <InterfaceDefs.h>
#include <Message.h>

#include <algorithm>
#include <string>

#include "HexDumpFullEditor.h"
#include "DrawingChecks.h"
#include "HexDumpView.h"
#include "PlatformTesting.h"
#include "ViewFixture.h"
#include "ViewHarness.h"

namespace {

class MouseTest : public ViewFixture
{
protected:
	// The test clock keeps the blink out of the drawing records.
	MouseTest() : ViewFixture(kFocused, 1000000) {}

	// Letters a to z over and over, size of them.
	void Open(size_t size)
	{
		std::string bytes;
		for (size_t i = 0; i < size; i++)
			bytes += char('a' + i % 26);
		ViewFixture::Open(bytes);
	}

	BPoint HexPoint(uint32 offset) { return fHarness->CellPoint(offset, true); }
	BPoint AsciiPoint(uint32 offset) { return fHarness->CellPoint(offset, false); }

	// A point below the view, on the editor's horizontal scroll bar.
	BPoint Outside()
	{
		ViewHarness::WindowLock lock(*fHarness);
		return BPoint(100, View()->Bounds().bottom + 6);
	}
};

} // namespace

TEST_F(MouseTest, DragFollowsThePointerOnBothSidesOfTheAnchor)
{
	Open(40);
	fHarness->MouseDown(HexPoint(3));
	EXPECT_TRUE(View()->Tracking());
	ExpectSelection(3, 3);

	fHarness->MouseMoved(HexPoint(7), B_PRIMARY_MOUSE_BUTTON);
	ExpectSelection(3, 7);
	fHarness->MouseMoved(HexPoint(1), B_PRIMARY_MOUSE_BUTTON);
	ExpectSelection(1, 3);
	fHarness->MouseMoved(HexPoint(3), B_PRIMARY_MOUSE_BUTTON);
	ExpectSelection(3, 3);
	fHarness->MouseMoved(HexPoint(22), B_PRIMARY_MOUSE_BUTTON);
	ExpectSelection(3, 22);
	fHarness->MouseMoved(HexPoint(3), B_PRIMARY_MOUSE_BUTTON);
	ExpectSelection(3, 3);

	// Swinging from far below the anchor to above it leaves no stale fill
	// on the lines the selection left.
	fHarness->MouseMoved(HexPoint(36), B_PRIMARY_MOUSE_BUTTON);
	fHarness->MouseMoved(HexPoint(1), B_PRIMARY_MOUSE_BUTTON);
	ExpectSelection(1, 3);
	EXPECT_FALSE(HexFilled(34));

	fHarness->MouseMoved(HexPoint(9), B_PRIMARY_MOUSE_BUTTON);
	fHarness->MouseUp(HexPoint(11));
	EXPECT_FALSE(View()->Tracking());
	ExpectSelection(3, 11);

	// Moves after the release select nothing.
	fHarness->MouseMoved(HexPoint(30), 0);
	ExpectSelection(3, 11);
}

TEST_F(MouseTest, PressStartsANewSelection)
{
	Open(40);
	{
		ViewHarness::WindowLock lock(*fHarness);
		View()->Select(4, 9);
	}
	// At the start of the old selection, and with Shift, which is not read.
	fHarness->MouseDown(HexPoint(4));
	fHarness->MouseUp(HexPoint(4));
	ExpectSelection(4, 4);

	{
		ViewHarness::WindowLock lock(*fHarness);
		View()->Select(4, 9);
	}
	fHarness->MouseDown(HexPoint(20), B_SHIFT_KEY);
	fHarness->MouseUp(HexPoint(20), B_SHIFT_KEY);
	ExpectSelection(20, 20);
}

TEST_F(MouseTest, PressInTheOtherColumnSwitchesIt)
{
	Open(40);
	{
		ViewHarness::WindowLock lock(*fHarness);
		View()->Select(2, 6);
	}
	// The old selection is filled in the hex column ...
	EXPECT_TRUE(HexFilled(4));

	fHarness->MouseDown(AsciiPoint(8));
	fHarness->MouseUp(AsciiPoint(8));
	EXPECT_FALSE(View()->HexColumnActive());
	ExpectSelection(8, 8);
	// ... and redrawn without it once the press has moved it away.
	EXPECT_FALSE(HexFilled(4));

	fHarness->MouseDown(HexPoint(17));
	fHarness->MouseUp(HexPoint(17));
	EXPECT_TRUE(View()->HexColumnActive());
	ExpectSelection(17, 17);
}

TEST_F(MouseTest, DragIntoTheOtherColumnKeepsTheColumn)
{
	Open(40);
	fHarness->MouseDown(HexPoint(2));
	fHarness->MouseMoved(AsciiPoint(9), B_PRIMARY_MOUSE_BUTTON);
	fHarness->MouseUp(AsciiPoint(9));
	EXPECT_TRUE(View()->HexColumnActive());
	ExpectSelection(2, 9);
}

TEST_F(MouseTest, PressWithoutFocusOnlyTakesTheFocus)
{
	Open(40);
	fHarness->MouseDown(AsciiPoint(5));
	fHarness->MouseMoved(AsciiPoint(9), B_PRIMARY_MOUSE_BUTTON);
	fHarness->MouseUp(AsciiPoint(9));
	ASSERT_FALSE(View()->HexColumnActive());
	{
		ViewHarness::WindowLock lock(*fHarness);
		View()->MakeFocus(false);
		EXPECT_FALSE(View()->IsFocus());
	}

	fHarness->MouseDown(HexPoint(20));
	{
		ViewHarness::WindowLock lock(*fHarness);
		EXPECT_TRUE(View()->IsFocus());
	}
	EXPECT_FALSE(View()->Tracking());
	fHarness->MouseMoved(HexPoint(30), B_PRIMARY_MOUSE_BUTTON);
	fHarness->MouseUp(HexPoint(30));
	ExpectSelection(5, 9);
	EXPECT_FALSE(View()->HexColumnActive());

	// The anchor is still 5: Shift+Right moves the free end.
	fHarness->Key("\x1d", B_SHIFT_KEY);
	ExpectSelection(5, 10);
}

TEST_F(MouseTest, ReleaseOutsideThenReenterWithoutButtonEndsTracking)
{
	Open(64);
	fHarness->MouseDown(HexPoint(3));
	fHarness->MouseMoved(HexPoint(7), B_PRIMARY_MOUSE_BUTTON);
	fHarness->MouseMoved(Outside(), B_PRIMARY_MOUSE_BUTTON);
	const uint32 start = View()->SelectionStart();
	const uint32 end = View()->SelectionEnd();
	EXPECT_EQ(start, 3u);

	fHarness->MouseUp(Outside());
	fHarness->MouseMoved(HexPoint(30), 0);
	EXPECT_FALSE(View()->Tracking());
	ExpectSelection(start, end);
	fHarness->MouseMoved(HexPoint(40), 0);
	ExpectSelection(start, end);
}

TEST_F(MouseTest, PressEndsAHalfTypedByte)
{
	Open(8);
	fHarness->Key("4");
	ASSERT_TRUE(View()->LowNibblePending());
	fHarness->MouseDown(HexPoint(6));
	fHarness->MouseUp(HexPoint(6));
	EXPECT_FALSE(View()->LowNibblePending());
	fHarness->Key("1");
	EXPECT_EQ(fHarness->ItemBytes().substr(5, 3), std::string("e\x10"
	                                                          "f",
	                                                          3));
}

TEST_F(MouseTest, TrackingRedrawsOnlyWhatMoved)
{
	Open(4096);
	fHarness->MouseDown(HexPoint(3));

	PlatformTesting::DrawingRecord record;
	fHarness->MouseMoved(HexPoint(3) + BPoint(1, 0), B_PRIMARY_MOUSE_BUTTON);
	EXPECT_TRUE(record.Calls().empty()) << "a step that changes nothing draws nothing";

	fHarness->MouseMoved(HexPoint(40), B_PRIMARY_MOUSE_BUTTON);
	ExpectSelection(3, 40);
	std::vector<std::string> texts = DrawingChecks::Texts(record.Calls());
	EXPECT_NE(std::find(texts.begin(), texts.end(), "00000010"), texts.end());
	for (const char* label : {"00000050", "00000100", "00000900"})
		EXPECT_EQ(std::find(texts.begin(), texts.end(), label), texts.end()) << label;
	fHarness->MouseUp(HexPoint(40));
}

TEST_F(MouseTest, SelectionSetters)
{
	Open(18);
	ViewHarness::WindowLock lock(*fHarness);
	HexDumpView* view = View();

	view->Select(7, 3);
	EXPECT_EQ(view->SelectionStart(), 3u);
	EXPECT_EQ(view->SelectionEnd(), 7u);

	view->Select(5, 5);
	view->BumpSelectionBy(-20, false, false);
	EXPECT_EQ(view->SelectionStart(), 0u);
	EXPECT_EQ(view->SelectionEnd(), 0u);

	view->Select(4, 6);
	view->BumpSelectionBy(20, true, false);
	EXPECT_EQ(view->SelectionStart(), 4u);
	EXPECT_EQ(view->SelectionEnd(), 18u);
	view->BumpSelectionBy(-2, false, true);
	EXPECT_EQ(view->SelectionStart(), 2u);
	EXPECT_EQ(view->SelectionEnd(), 18u);
	// keepStart wins over keepEnd.
	view->BumpSelectionBy(-1, true, true);
	EXPECT_EQ(view->SelectionStart(), 2u);
	EXPECT_EQ(view->SelectionEnd(), 17u);

	// The current selection again: nothing drawn, a half-typed byte kept.
	view->Select(3, 3);
	view->InsertHexDigit(9, "typing");
	PlatformTesting::DrawingRecord record;
	view->Select(3, 3);
	EXPECT_TRUE(record.Calls().empty());
	EXPECT_TRUE(view->LowNibblePending());
}

TEST_F(MouseTest, PointerShapeFollowsTheViewAndTheWindow)
{
	Open(40);
	auto shape = [&]() {
		ViewHarness::WindowLock lock(*fHarness);
		return PlatformTesting::ViewCursor(View());
	};
	auto setActive = [&](bool active) {
		BMessage message(B_WINDOW_ACTIVATED);
		message.AddBool("active", active);
		PlatformTesting::PostAndWait(fHarness->Window(), message);
	};
	setActive(true);

	fHarness->MouseMoved(Outside());
	fHarness->MouseMoved(HexPoint(5));
	EXPECT_EQ(shape(), B_CURSOR_I_BEAM);
	fHarness->MouseMoved(Outside());
	EXPECT_EQ(shape(), B_CURSOR_SYSTEM_DEFAULT);

	// An inactive window: the arrow on entering, and leaving changes nothing.
	setActive(false);
	fHarness->MouseMoved(HexPoint(5));
	EXPECT_EQ(shape(), B_CURSOR_SYSTEM_DEFAULT);
	{
		ViewHarness::WindowLock lock(*fHarness);
		View()->SetViewCursor(B_CURSOR_I_BEAM);
	}
	fHarness->MouseMoved(Outside());
	EXPECT_EQ(shape(), B_CURSOR_I_BEAM);

	// A release inside an active window brings the I-beam back.
	{
		ViewHarness::WindowLock lock(*fHarness);
		View()->SetViewCursor(B_CURSOR_SYSTEM_DEFAULT);
	}
	setActive(true);
	fHarness->Click(HexPoint(5));
	EXPECT_EQ(shape(), B_CURSOR_I_BEAM);
}
