// The cursor's two bars with the test face: where they stand, the active
// column's bar inverted and the other one tinted, toggling back to the very
// same pixels, and a resize taking the cursor off.

#include <gtest/gtest.h>

#include <string>

#include "DrawingChecks.h"
#include "HexDumpView.h"
#include "ViewFixture.h"
#include "ViewHarness.h"

using namespace DrawingChecks;

namespace {

// tint_color(black, 0.4).
const rgb_color kTintedBar = {153, 153, 153, 255};

class CursorTest : public ViewFixture
{
protected:
	CursorTest() : ViewFixture(kFocused) {}

	// Every pixel of a bar at x from top to bottom has the colour, and the
	// pixels just outside it do not.
	void ExpectBar(float x, float top, float bottom, const rgb_color& color)
	{
		for (float y = top; y <= bottom; y++)
			EXPECT_TRUE(SameColor(fHarness->Pixel(BPoint(x, y)), color)) << x << "," << y;
		EXPECT_FALSE(SameColor(fHarness->Pixel(BPoint(x, top - 1)), color)) << x;
		EXPECT_FALSE(SameColor(fHarness->Pixel(BPoint(x, bottom + 1)), color)) << x;
	}

	void ExpectNoBar(float x, float top, float bottom)
	{
		for (float y = top; y <= bottom; y++)
			EXPECT_TRUE(SameColor(fHarness->Pixel(BPoint(x, y)), kWhite)) << x << "," << y;
	}
};

} // namespace

TEST_F(CursorTest, BarsForEmptyData)
{
	Open("");
	ASSERT_TRUE(View()->CursorOn());
	// Hex bar at fOffsetWidth + 22, character bar at fOffsetWidth + 42 +
	// fHexWidth; both from row 3 to ceil(ascent) + 4.
	ExpectBar(56 + 22, 3, 14, kBlack);
	ExpectBar(56 + 42 + 273, 3, 14, kTintedBar);
}

TEST_F(CursorTest, BarsFollowTheOffsetAndTheHalfTypedByte)
{
	Open(std::string(20, 'a'));
	Select(5, 5);
	ASSERT_TRUE(View()->CursorOn());
	// Column 5 is character 12 of the hex text.
	const float hexBar = 56 + 23 + 12 * 7 - 1;
	const float asciiBar = 56 + 43 + 273 + 5 * 7 - 1;
	ExpectBar(hexBar, 3, 14, kBlack);
	ExpectBar(asciiBar, 3, 14, kTintedBar);

	// After a first digit the hex bar stands between the byte's digits.
	fHarness->Key("4");
	ASSERT_TRUE(View()->LowNibblePending());
	ASSERT_TRUE(View()->CursorOn());
	ExpectBar(hexBar + 7, 3, 14, kBlack);
	ExpectBar(asciiBar, 3, 14, kTintedBar);
	EXPECT_FALSE(SameColor(fHarness->Pixel(BPoint(hexBar, 8)), kBlack));
}

TEST_F(CursorTest, CursorAfterAFullLastLineIsOnTheNextLine)
{
	Open(std::string(32, 'a'));
	Select(32, 32);
	ASSERT_TRUE(View()->CursorOn());
	// Line 2: baseline 39.
	ExpectBar(78, 29, 40, kBlack);
	ExpectBar(371, 29, 40, kTintedBar);
}

TEST_F(CursorTest, CharacterColumnActiveInvertsItsBar)
{
	Open(std::string(20, 'a'));
	fHarness->PressAsciiColumn(3);
	ASSERT_FALSE(View()->HexColumnActive());
	ASSERT_EQ(View()->SelectionStart(), 3u);
	ASSERT_TRUE(View()->CursorOn());
	ExpectBar(372 + 3 * 7 - 1, 3, 14, kBlack);
	ExpectBar(79 + 7 * 7 - 1, 3, 14, kTintedBar);
}

// Two toggles with nothing drawn in between restore every pixel, over
// glyphs as over the background.
TEST_F(CursorTest, TwoTogglesRestoreThePicture)
{
	Open("0123456789abcdefXYZ");
	for (uint32 offset : {0u, 5u, 17u, 19u}) {
		Select(offset, offset);
		ViewHarness::WindowLock lock(*fHarness);
		const PlatformTesting::PixelImage before = fHarness->Snapshot();
		const bool wasOn = View()->CursorOn();
		View()->InvertCursor();
		EXPECT_NE(View()->CursorOn(), wasOn);
		EXPECT_FALSE(fHarness->Snapshot() == before) << offset;
		View()->InvertCursor();
		EXPECT_EQ(View()->CursorOn(), wasOn);
		EXPECT_TRUE(fHarness->Snapshot() == before) << offset;
	}
}

TEST_F(CursorTest, HideAndShowFollowTheState)
{
	Open(std::string(20, 'a'));
	Select(2, 2);
	ViewHarness::WindowLock lock(*fHarness);
	const PlatformTesting::PixelImage on = fHarness->Snapshot();
	View()->ShowCursor();
	EXPECT_TRUE(View()->CursorOn());
	EXPECT_TRUE(fHarness->Snapshot() == on);

	View()->HideCursor();
	EXPECT_FALSE(View()->CursorOn());
	const PlatformTesting::PixelImage off = fHarness->Snapshot();
	View()->HideCursor();
	EXPECT_TRUE(fHarness->Snapshot() == off);

	// No cursor over a selection, nor without the focus.
	View()->Select(2, 4);
	View()->ShowCursor();
	EXPECT_FALSE(View()->CursorOn());
	View()->Select(2, 2);
	EXPECT_TRUE(View()->CursorOn());
	View()->MakeFocus(false);
	EXPECT_FALSE(View()->CursorOn());
	View()->ShowCursor();
	EXPECT_FALSE(View()->CursorOn());
}

TEST_F(CursorTest, ResizeTakesTheCursorOff)
{
	Open(std::string(20, 'a'));
	Select(5, 5);
	ASSERT_TRUE(View()->CursorOn());
	const float hexBar = 79 + 12 * 7 - 1;
	{
		ViewHarness::WindowLock lock(*fHarness);
		const BRect bounds = View()->Bounds();
		View()->FrameResized(bounds.Width() - 10, bounds.Height());
		EXPECT_FALSE(View()->CursorOn());
	}
	ExpectNoBar(hexBar, 3, 14);

	// The next redraw of a range brings it back.
	{
		ViewHarness::WindowLock lock(*fHarness);
		View()->DrawRange(5, 5, true, false);
		EXPECT_TRUE(View()->CursorOn());
	}
	ExpectBar(hexBar, 3, 14, kBlack);
}

// A redraw over a drawn cursor leaves exactly one bar, at the cursor.
TEST_F(CursorTest, RedrawsBracketTheCursor)
{
	Open(std::string(40, 'a'));
	Select(18, 18);
	for (int i = 0; i < 3; i++) {
		ViewHarness::WindowLock lock(*fHarness);
		View()->DrawRange(0, 40, true, false);
		View()->DrawRange(0, 40, false, false);
	}
	ASSERT_TRUE(View()->CursorOn());
	ExpectBar(79 + 7 * 5 - 1, 16, 27, kBlack);
	ExpectNoBar(78, 16, 27);
}

TEST_F(CursorTest, AnUpdateOverTheCursorKeepsItShowing)
{
	// The window fills an update area with the view colour before the view
	// draws: the bar inside it must come back, in step with the cursor's
	// state, and the next blink must take it off.
	Open(std::string(20, 'a'));
	Select(5, 5);
	ASSERT_TRUE(View()->CursorOn());
	const float hexBar = 56 + 23 + 12 * 7 - 1;
	const float asciiBar = 56 + 43 + 273 + 5 * 7 - 1;
	for (BRect area : {BRect(), BRect(0, 0, 200, 8), BRect(hexBar - 5, 0, asciiBar + 5, 40)}) {
		{
			ViewHarness::WindowLock lock(*fHarness);
			if (area.IsValid())
				View()->Invalidate(area);
			else
				View()->Invalidate();
		}
		fHarness->WaitUntilIdle();
		ASSERT_TRUE(View()->CursorOn());
		ExpectBar(hexBar, 3, 14, kBlack);
		ExpectBar(asciiBar, 3, 14, kTintedBar);
	}
	{
		ViewHarness::WindowLock lock(*fHarness);
		View()->InvertCursor();
	}
	ExpectNoBar(hexBar, 3, 14);
	ExpectNoBar(asciiBar, 3, 14);
}

TEST_F(CursorTest, AnUpdateOverAHiddenCursorKeepsItHidden)
{
	// Between two blinks the cursor is off; an update that covers only part
	// of a bar must not paint that part, or the next blink would leave the
	// other part showing.
	Open(std::string(20, 'a'));
	Select(5, 5);
	const float hexBar = 56 + 23 + 12 * 7 - 1;
	const float asciiBar = 56 + 43 + 273 + 5 * 7 - 1;
	{
		ViewHarness::WindowLock lock(*fHarness);
		View()->InvertCursor();
		View()->Invalidate(BRect(0, 0, 400, 8));
	}
	fHarness->WaitUntilIdle();
	EXPECT_FALSE(View()->CursorOn());
	ExpectNoBar(hexBar, 3, 14);
	ExpectNoBar(asciiBar, 3, 14);
	{
		ViewHarness::WindowLock lock(*fHarness);
		View()->InvertCursor();
	}
	ExpectBar(hexBar, 3, 14, kBlack);
	ExpectBar(asciiBar, 3, 14, kTintedBar);
}
