// The cursor's blink under the test clock, and the looks that the focus and
// the window's activation give the cursor and the selection.

#include <gtest/gtest.h>

#include <View.h>
#include <Window.h>

#include <string>

#include "DrawingChecks.h"
#include "HexDumpView.h"
#include "PlatformTesting.h"
#include "ViewFixture.h"
#include "ViewHarness.h"

namespace {

const bigtime_t kBlink = 500000;

class FocusTest : public ViewFixture
{
protected:
	FocusTest() : ViewFixture(kUnfocused, 10 * kBlink) {}

	void SetUp() override
	{
		ViewFixture::SetUp();
		Open(std::string(40, 'x'));
		SetActive(true);
		fHarness->Focus();
	}

	void SetActive(bool active) { DrawingChecks::SetWindowActive(*fHarness, active); }

	void SetFocus(bool focus)
	{
		{
			ViewHarness::WindowLock lock(*fHarness);
			View()->MakeFocus(focus);
		}
		fHarness->WaitUntilIdle();
	}

	// The pixel in the middle of the hex bar of a cursor at offset 0, and
	// the background it inverts.
	rgb_color HexBarPixel()
	{
		BPoint bar;
		{
			ViewHarness::WindowLock lock(*fHarness);
			bar = View()->OffsetToHexPoint(0) - BPoint(1, 4);
		}
		return fHarness->Pixel(bar);
	}
};

} // namespace

TEST_F(FocusTest, CursorBlinksEveryHalfSecondWhileFocused)
{
	ASSERT_TRUE(View()->CursorOn());
	const rgb_color shown = HexBarPixel();

	for (int i = 0; i < 4; i++) {
		const bool before = View()->CursorOn();
		PlatformTesting::AdvanceTestClock(kBlink / 2);
		EXPECT_EQ(View()->CursorOn(), before) << "toggled before its half-period";
		PlatformTesting::AdvanceTestClock(kBlink / 2);
		EXPECT_NE(View()->CursorOn(), before) << "no toggle after a half-period";
	}
	EXPECT_TRUE(View()->CursorOn());
	EXPECT_TRUE(DrawingChecks::SameColor(HexBarPixel(), shown));
	PlatformTesting::AdvanceTestClock(kBlink);
	EXPECT_FALSE(View()->CursorOn());
	EXPECT_FALSE(DrawingChecks::SameColor(HexBarPixel(), shown))
	    << "the bar was not taken off the screen";
}

TEST_F(FocusTest, NoBlinkWithASelectionOrWhileTracking)
{
	Select(2, 6);
	EXPECT_FALSE(View()->CursorOn());
	PlatformTesting::AdvanceTestClock(3 * kBlink);
	EXPECT_FALSE(View()->CursorOn());

	const BPoint press = fHarness->CellPoint(3, true);
	fHarness->MouseDown(press);
	ASSERT_TRUE(View()->Tracking());
	ASSERT_TRUE(View()->CursorOn());
	PlatformTesting::AdvanceTestClock(3 * kBlink);
	EXPECT_TRUE(View()->CursorOn()) << "blinked while the button was held";

	fHarness->MouseUp(press);
	PlatformTesting::AdvanceTestClock(kBlink);
	EXPECT_FALSE(View()->CursorOn());
}

TEST_F(FocusTest, PulseHidesTheCursorOfAViewWithoutFocus)
{
	SetFocus(false);
	EXPECT_FALSE(View()->CursorOn());
	{
		ViewHarness::WindowLock lock(*fHarness);
		View()->InvertCursor();
	}
	ASSERT_TRUE(View()->CursorOn());
	PlatformTesting::AdvanceTestClock(kBlink);
	EXPECT_FALSE(View()->CursorOn());
	PlatformTesting::AdvanceTestClock(2 * kBlink);
	EXPECT_FALSE(View()->CursorOn());
}

TEST_F(FocusTest, FocusTurnsTheCursorOnAndOff)
{
	const rgb_color shown = HexBarPixel();
	SetFocus(false);
	EXPECT_FALSE(View()->CursorOn());
	EXPECT_FALSE(DrawingChecks::SameColor(HexBarPixel(), shown));
	// Losing the focus again leaves a cursor that is off, off.
	SetFocus(false);
	EXPECT_FALSE(View()->CursorOn());

	// In an inactive window the focus still shows the cursor.
	SetActive(false);
	SetFocus(true);
	EXPECT_TRUE(View()->CursorOn());
	EXPECT_TRUE(DrawingChecks::SameColor(HexBarPixel(), shown));
}

TEST_F(FocusTest, WindowActivationSwitchesTheCursor)
{
	ASSERT_TRUE(View()->CursorOn());
	SetActive(false);
	EXPECT_FALSE(View()->CursorOn());
	SetActive(true);
	EXPECT_TRUE(View()->CursorOn());

	// Activation of a window whose focus lies elsewhere leaves the view be.
	SetFocus(false);
	SetActive(false);
	SetActive(true);
	EXPECT_FALSE(View()->CursorOn());
}

TEST_F(FocusTest, SelectionIsFilledOnlyWhileTheViewIsActive)
{
	Select(2, 6);
	EXPECT_TRUE(HexFilled(4));
	EXPECT_FALSE(AsciiFilled(4));

	SetActive(false);
	EXPECT_FALSE(HexFilled(4));
	EXPECT_FALSE(AsciiFilled(4));
	EXPECT_FALSE(View()->CursorOn());

	SetActive(true);
	EXPECT_TRUE(HexFilled(4));

	SetFocus(false);
	EXPECT_FALSE(HexFilled(4));
	SetFocus(true);
	EXPECT_TRUE(HexFilled(4));
	EXPECT_FALSE(View()->CursorOn());

	// Losing the focus in an inactive window changes nothing drawn.
	SetActive(false);
	PlatformTesting::DrawingRecord record;
	SetFocus(false);
	EXPECT_TRUE(record.Calls().empty());
}

TEST_F(FocusTest, TabPassesTheFocusOn)
{
	BView* other = new BView(BRect(0, 0, 10, 10), "other", B_FOLLOW_NONE, B_NAVIGABLE);
	{
		ViewHarness::WindowLock lock(*fHarness);
		fHarness->Window()->AddChild(other);
	}
	fHarness->Key("\t");
	{
		ViewHarness::WindowLock lock(*fHarness);
		EXPECT_TRUE(other->IsFocus());
		EXPECT_FALSE(View()->IsFocus());
	}
	EXPECT_FALSE(View()->CursorOn());
}
