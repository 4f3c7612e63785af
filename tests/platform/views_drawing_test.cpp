// Drawing through views into a window's pixels: extents, modes, clipping to
// the view tree, origin and scrolling, line arrays and text.
#include <Region.h>
#include <View.h>
#include <Window.h>

#include <PlatformTesting.h>

#include <gtest/gtest.h>

#include "windows_fixture.h"

namespace {

// An unshown 100 x 100 window, driven from the test's thread with its lock
// held, and a view at (10, 10, 59, 59).
class ViewDrawingTest : public ::testing::Test
{
protected:
	ViewDrawingTest() : fWindow(BRect(0, 0, 99, 99), false)
	{
		fWindow->Lock();
		fView = new BView(BRect(10, 10, 59, 59), "view", B_FOLLOW_NONE, 0);
		fWindow->AddChild(fView);
	}
	~ViewDrawingTest() { fWindow->Unlock(); }

	rgb_color At(int32 x, int32 y) { return fWindow.Pixel(x, y); }
	// The number of pixels of the window that are not white.
	int32 Painted()
	{
		PlatformTesting::PixelImage image = PlatformTesting::Snapshot(fWindow.Get());
		int32 count = 0;
		for (const rgb_color& pixel : image.pixels)
			count += pixel != kWhite;
		return count;
	}

	TestWindow fWindow;
	BView* fView;
};

TEST_F(ViewDrawingTest, FillRectCoversItsRightAndBottomEdges)
{
	fView->FillRect(BRect(0, 0, 2, 3));
	EXPECT_EQ(Painted(), 12);
	EXPECT_COLOR(At(10, 10), kBlack);
	EXPECT_COLOR(At(12, 13), kBlack);
	EXPECT_COLOR(At(13, 13), kWhite);
	EXPECT_COLOR(At(12, 14), kWhite);

	fView->SetLowColor(kRed);
	fView->FillRect(BRect(5, 5, 5, 5), B_SOLID_LOW);
	EXPECT_COLOR(At(15, 15), kRed);
}

TEST_F(ViewDrawingTest, LinesIncludeBothEnds)
{
	fView->StrokeLine(BPoint(0, 0), BPoint(4, 0));
	EXPECT_EQ(Painted(), 5);
	EXPECT_COLOR(At(14, 10), kBlack);
	EXPECT_COLOR(At(15, 10), kWhite);

	// From the pen (the last line's end) to the point: a diagonal of five pixels.
	fView->SetHighColor(kRed);
	fView->StrokeLine(BPoint(8, 4));
	EXPECT_COLOR(At(18, 14), kRed);
	EXPECT_COLOR(At(16, 12), kRed);
	EXPECT_EQ(Painted(), 9);
}

TEST_F(ViewDrawingTest, StrokeRectDrawsTheOutlineOnly)
{
	fView->StrokeRect(BRect(0, 0, 4, 3));
	EXPECT_EQ(Painted(), 14);
	EXPECT_COLOR(At(14, 13), kBlack);
	EXPECT_COLOR(At(12, 11), kWhite);
}

TEST_F(ViewDrawingTest, PatternsFollowTheDrawingMode)
{
	fView->SetHighColor(kRed);
	fView->SetLowColor(kBlue);
	fView->SetDrawingMode(B_OP_OVER);
	// Low-colour bits are transparent outside B_OP_COPY.
	fView->FillRect(BRect(0, 0, 9, 9), B_SOLID_LOW);
	EXPECT_EQ(Painted(), 0);
	fView->FillRect(BRect(0, 0, 7, 0), B_SOLID_HIGH);
	EXPECT_EQ(Painted(), 8);
	EXPECT_COLOR(At(17, 10), kRed);

	fView->SetDrawingMode(B_OP_COPY);
	fView->FillRect(BRect(0, 2, 7, 2), B_SOLID_LOW);
	EXPECT_EQ(Painted(), 16);
	EXPECT_COLOR(At(17, 12), kBlue);
}

TEST_F(ViewDrawingTest, InvertingTwiceRestoresThePixels)
{
	fView->SetHighColor(rgb_color{40, 90, 200, 255});
	fView->FillRect(BRect(0, 0, 9, 9));
	PlatformTesting::PixelImage before = PlatformTesting::Snapshot(fWindow.Get());

	fView->InvertRect(BRect(5, 5, 14, 14));
	EXPECT_COLOR(At(15, 15), (rgb_color{215, 165, 55, 255}));
	EXPECT_COLOR(At(24, 24), kBlack);
	EXPECT_COLOR(At(25, 25), kWhite);
	fView->InvertRect(BRect(5, 5, 14, 14));
	EXPECT_TRUE(PlatformTesting::Snapshot(fWindow.Get()) == before);
}

TEST_F(ViewDrawingTest, DrawingStaysInsideTheViewItsAncestorsAndOutOfItsChildren)
{
	// A child that reaches past its parent's right and bottom edges.
	BView* child = new BView(BRect(40, 40, 79, 79), "child", B_FOLLOW_NONE, 0);
	fView->AddChild(child);
	child->FillRect(BRect(-100, -100, 200, 200));
	EXPECT_EQ(Painted(), 100);
	EXPECT_COLOR(At(59, 59), kBlack);
	EXPECT_COLOR(At(60, 59), kWhite);

	// The parent draws around the child, not over it.
	child->SetHighColor(kRed);
	child->FillRect(child->Bounds());
	fView->FillRect(BRect(-100, -100, 200, 200));
	EXPECT_EQ(Painted(), 2500);
	EXPECT_COLOR(At(55, 55), kRed);
	EXPECT_COLOR(At(49, 49), kBlack);
}

TEST_F(ViewDrawingTest, OriginAddsToTheScrollPosition)
{
	fView->ScrollTo(5, 5);
	fView->SetOrigin(2, 3);
	EXPECT_EQ(fView->Bounds(), BRect(5, 5, 54, 54));
	EXPECT_EQ(fView->Origin(), BPoint(2, 3));
	// 10 (frame) + 5 (point) + 2 (origin) - 5 (scroll), and likewise in y.
	fView->FillRect(BRect(5, 5, 5, 5));
	EXPECT_EQ(Painted(), 1);
	EXPECT_COLOR(At(12, 13), kBlack);
	// Conversions ignore the origin.
	EXPECT_EQ(fView->ConvertToWindow(BPoint(5, 5)), BPoint(10, 10));
}

TEST_F(ViewDrawingTest, ConstrainedClippingNarrowsAndIsReplaced)
{
	BRegion corner(BRect(0, 0, 4, 4));
	fView->ConstrainClippingRegion(&corner);
	fView->FillRect(fView->Bounds());
	EXPECT_EQ(Painted(), 25);

	// A region beyond the view cannot widen the clipping.
	BRegion wide(BRect(-50, 30, 200, 30));
	fView->ConstrainClippingRegion(&wide);
	fView->SetHighColor(kRed);
	fView->FillRect(BRect(-100, -100, 200, 200));
	EXPECT_EQ(Painted(), 75);
	EXPECT_COLOR(At(10, 40), kRed);
	EXPECT_COLOR(At(12, 12), kBlack);

	fView->ConstrainClippingRegion(NULL);
	fView->FillRect(fView->Bounds());
	EXPECT_EQ(Painted(), 2500);
}

TEST_F(ViewDrawingTest, LineArraysDrawEachLineInItsOwnColour)
{
	fView->SetHighColor(kBlue);
	fView->BeginLineArray(2);
	fView->AddLine(BPoint(0, 0), BPoint(9, 0), kRed);
	fView->AddLine(BPoint(0, 2), BPoint(9, 2), kGreen);
	fView->AddLine(BPoint(0, 4), BPoint(9, 4), kBlack); // beyond the count
	EXPECT_EQ(Painted(), 0);
	fView->EndLineArray();
	EXPECT_EQ(Painted(), 20);
	EXPECT_COLOR(At(19, 10), kRed);
	EXPECT_COLOR(At(10, 12), kGreen);
	EXPECT_COLOR(fView->HighColor(), kBlue);
}

TEST_F(ViewDrawingTest, TextStandsOnTheBaselineAndMovesThePen)
{
	fView->SetHighColor(kRed);
	fView->DrawString("AB", BPoint(0, 20));
	EXPECT_FLOAT_EQ(fView->StringWidth("AB"), 14);
	// The test face's glyphs are 5 wide with a solid top row, 9 rows tall,
	// ending on the row above the baseline, one column into each cell.
	EXPECT_COLOR(At(11, 21), kRed);
	EXPECT_COLOR(At(15, 21), kRed);
	EXPECT_COLOR(At(18, 21), kRed);
	EXPECT_COLOR(At(10, 21), kWhite);
	EXPECT_COLOR(At(11, 30), kWhite);
	PlatformTesting::PixelImage image = PlatformTesting::Snapshot(fWindow.Get());
	for (int32 y = 0; y < 100; y++) {
		for (int32 x = 0; x < 100; x++) {
			if (image.At(x, y) != kWhite) {
				EXPECT_TRUE(x >= 10 && x < 24 && y >= 21 && y < 30) << x << "," << y;
			}
		}
	}

	// Drawn at the pen, which the last string left at its end.
	fView->DrawString("C");
	EXPECT_COLOR(At(25, 21), kRed);
	EXPECT_COLOR(At(32, 21), kWhite);
}

TEST_F(ViewDrawingTest, DetachedViewsDrawNothingAndHaveNoFocus)
{
	BView* loose = new BView(BRect(0, 0, 9, 9), "loose", B_FOLLOW_NONE, 0);
	loose->FillRect(loose->Bounds());
	loose->MakeFocus(true);
	EXPECT_FALSE(loose->IsFocus());
	EXPECT_EQ(loose->Window(), nullptr);
	fView->AddChild(loose);
	EXPECT_EQ(loose->Window(), fWindow.Get());
	EXPECT_EQ(Painted(), 0);
	ASSERT_TRUE(fView->RemoveChild(loose));
	delete loose;
}

TEST(DrawingRecordTest, RecordsCallsAsTheViewReceivedThem)
{
	TestWindow window(BRect(0, 0, 99, 99), false);
	window->Lock();
	BView* view = new BView(BRect(10, 10, 59, 59), "recorded", B_FOLLOW_NONE, 0);
	window->AddChild(view);
	view->FillRect(BRect(0, 0, 1, 1));
	{
		PlatformTesting::DrawingRecord record;
		view->SetOrigin(3, 4);
		view->SetLowColor(kRed);
		view->FillRect(BRect(1, 2, 3, 4), B_SOLID_LOW);
		view->DrawString("hi", BPoint(5, 6));
		std::vector<PlatformTesting::DrawCall> calls = record.Calls();
		ASSERT_EQ(calls.size(), 2u);
		EXPECT_EQ(calls[0].kind, PlatformTesting::DrawCall::kFillRect);
		EXPECT_EQ(calls[0].rect, BRect(1, 2, 3, 4));
		EXPECT_COLOR(calls[0].color, kRed);
		EXPECT_EQ(calls[0].origin, BPoint(3, 4));
		EXPECT_EQ(calls[0].viewName, "recorded");
		EXPECT_FALSE(calls[0].inBitmap);
		EXPECT_EQ(calls[1].text, "hi");
		EXPECT_EQ(calls[1].start, BPoint(5, 6));
	}
	window->Unlock();
}

} // namespace
