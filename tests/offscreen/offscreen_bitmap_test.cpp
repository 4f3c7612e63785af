// The double buffer: building for a target and a rectangle, reuse for
// rectangles of the same size, rebuilding for another size or target, the
// copy into the target, and failed locks on either path.

#include <gtest/gtest.h>

#include <Bitmap.h>
#include <Errors.h>
#include <Font.h>
#include <View.h>
#include <Window.h>

#include <PlatformTesting.h>

#include <functional>
#include <memory>

#include "OffscreenBitmap.h"

namespace {

const rgb_color kHigh = {10, 20, 30, 255};
const rgb_color kLow = {240, 230, 220, 255};
const rgb_color kViewColor = {1, 2, 3, 255};
const rgb_color kRed = {255, 0, 0, 255};
const rgb_color kOtherLow = {50, 60, 70, 255};

bool SameColor(const rgb_color& a, const rgb_color& b)
{
	return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// Whether every pixel of the bitmap has the colour.
bool AllPixels(const BBitmap* bitmap, const rgb_color& color)
{
	PlatformTesting::PixelImage image = PlatformTesting::Snapshot(bitmap);
	for (const rgb_color& pixel : image.pixels) {
		if (!SameColor(pixel, color))
			return false;
	}
	return !image.pixels.empty();
}

status_t ThrownStatus(const std::function<void()>& call)
{
	try {
		call();
	} catch (status_t status) {
		return status;
	}
	return B_OK;
}

// Two target views in a shown headless window, locked for the test.
class OffscreenTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		PlatformTesting::UseTestFace();
		fWindow = new BWindow(BRect(100, 100, 599, 399), "offscreen", B_TITLED_WINDOW, 0);
		fTarget = new BView(BRect(0, 0, 499, 149), "target", B_FOLLOW_NONE, B_WILL_DRAW);
		fOther = new BView(BRect(0, 150, 499, 299), "other", B_FOLLOW_NONE, B_WILL_DRAW);
		fWindow->AddChild(fTarget);
		fWindow->AddChild(fOther);
		fWindow->Show();
		PlatformTesting::WaitUntilIdle(fWindow);
		fWindow->Lock();

		fTarget->SetHighColor(kHigh);
		fTarget->SetLowColor(kLow);
		fTarget->SetViewColor(kViewColor);
		BFont font(be_fixed_font);
		font.SetSize(15);
		fTarget->SetFont(&font, B_FONT_ALL);
		fOther->SetLowColor(kOtherLow);
	}

	void TearDown() override
	{
		PlatformTesting::FailBitmapLocks(0);
		fWindow->Quit();
	}

	BWindow* fWindow;
	BView* fTarget;
	BView* fOther;
};

} // namespace

TEST_F(OffscreenTest, EmptyBufferHoldsNothing)
{
	OffscreenBitmap buffer;
	EXPECT_EQ(buffer.Bitmap(), nullptr);
}

TEST_F(OffscreenTest, FirstUseBuildsWithTheTargetsState)
{
	fTarget->SetDrawingMode(B_OP_OVER);
	OffscreenBitmap buffer;
	BView* view = buffer.BeginBlitting(fTarget, BRect(0, 30, 399, 44), false, true);
	ASSERT_NE(view, nullptr);
	ASSERT_NE(buffer.Bitmap(), nullptr);
	EXPECT_EQ(buffer.OffscreenView(), view);
	EXPECT_EQ(buffer.Bitmap()->ChildAt(0), view);
	EXPECT_EQ(buffer.Bitmap()->Bounds(), BRect(0, 0, 399, 14));
	EXPECT_TRUE(buffer.Bitmap()->IsLocked());
	EXPECT_EQ(view->Origin(), BPoint(0, -30));
	EXPECT_TRUE(SameColor(view->HighColor(), kHigh));
	EXPECT_TRUE(SameColor(view->LowColor(), kLow));
	EXPECT_TRUE(SameColor(view->ViewColor(), kViewColor));
	EXPECT_EQ(view->DrawingMode(), B_OP_OVER);
	BFont font;
	view->GetFont(&font);
	EXPECT_EQ(font.Size(), 15);
	buffer.DoneBlitting();
	EXPECT_FALSE(buffer.Bitmap()->IsLocked());
}

TEST_F(OffscreenTest, SameSizeReusesAndFills)
{
	OffscreenBitmap buffer;
	BView* view = buffer.BeginBlitting(fTarget, BRect(0, 30, 399, 44), false, true);
	// A new bitmap starts in the low colour, as a reused one does.
	EXPECT_TRUE(AllPixels(buffer.Bitmap(), kLow));
	view->SetHighColor(kRed);
	view->FillRect(BRect(0, 30, 399, 44));
	buffer.DoneBlitting();
	BBitmap* bitmap = buffer.Bitmap();

	// Without the fill the last drawing is kept; only the origin moves,
	// the state stays as drawn.
	view = buffer.BeginBlitting(fTarget, BRect(0, 45, 399, 59), false, false);
	EXPECT_EQ(buffer.Bitmap(), bitmap);
	EXPECT_EQ(view->Origin(), BPoint(0, -45));
	EXPECT_TRUE(SameColor(view->HighColor(), kRed));
	EXPECT_TRUE(AllPixels(bitmap, kRed));
	buffer.DoneBlitting();

	view = buffer.BeginBlitting(fTarget, BRect(0, 45, 399, 59), false, true);
	EXPECT_EQ(buffer.Bitmap(), bitmap);
	EXPECT_TRUE(AllPixels(bitmap, kLow));
	buffer.DoneBlitting();

	// Asked for, the target's state is copied again.
	view = buffer.BeginBlitting(fTarget, BRect(0, 60, 399, 74), true, true);
	EXPECT_EQ(buffer.Bitmap(), bitmap);
	EXPECT_TRUE(SameColor(view->HighColor(), kHigh));
	EXPECT_EQ(view->Origin(), BPoint(0, -60));
	buffer.DoneBlitting();
}

TEST_F(OffscreenTest, OtherSizeOrTargetRebuilds)
{
	OffscreenBitmap buffer;
	buffer.BeginBlitting(fTarget, BRect(0, 45, 399, 59), false, true);
	buffer.DoneBlitting();

	// One pixel wider: a new bitmap of 401 x 15 pixels.
	BView* view = buffer.BeginBlitting(fTarget, BRect(0, 60, 400, 74), false, true);
	EXPECT_EQ(buffer.Bitmap()->Bounds(), BRect(0, 0, 400, 14));
	EXPECT_EQ(view->Origin(), BPoint(0, -60));
	buffer.DoneBlitting();

	// Same size for another target: rebuilt with that target's state.
	view = buffer.BeginBlitting(fOther, BRect(0, 60, 400, 74), false, true);
	EXPECT_TRUE(SameColor(view->LowColor(), kOtherLow));
	EXPECT_TRUE(AllPixels(buffer.Bitmap(), kOtherLow));
	buffer.DoneBlitting();
}

TEST_F(OffscreenTest, DoneBlittingCopiesToTheRectangle)
{
	OffscreenBitmap buffer;
	const BRect rect(20, 40, 119, 54);
	BView* view = buffer.BeginBlitting(fTarget, rect, false, true);
	view->SetHighColor(kRed);
	view->FillRect(BRect(30, 41, 39, 50));
	fTarget->SetDrawingMode(B_OP_OVER);
	buffer.DoneBlitting();

	EXPECT_EQ(fTarget->DrawingMode(), B_OP_COPY);
	EXPECT_FALSE(buffer.Bitmap()->IsLocked());
	EXPECT_TRUE(SameColor(PlatformTesting::ViewPixel(fTarget, BPoint(30, 41)), kRed));
	EXPECT_TRUE(SameColor(PlatformTesting::ViewPixel(fTarget, BPoint(39, 50)), kRed));
	EXPECT_TRUE(SameColor(PlatformTesting::ViewPixel(fTarget, BPoint(29, 41)), kLow));
	EXPECT_TRUE(SameColor(PlatformTesting::ViewPixel(fTarget, BPoint(20, 40)), kLow));
	EXPECT_TRUE(SameColor(PlatformTesting::ViewPixel(fTarget, BPoint(119, 54)), kLow));
	// Outside the rectangle the target is untouched.
	EXPECT_FALSE(SameColor(PlatformTesting::ViewPixel(fTarget, BPoint(120, 54)), kLow));
	EXPECT_FALSE(SameColor(PlatformTesting::ViewPixel(fTarget, BPoint(20, 55)), kLow));
}

TEST_F(OffscreenTest, BuildingConstructorIsReadyToDraw)
{
	OffscreenBitmap buffer(fTarget, BRect(0, 10, 49, 19));
	ASSERT_NE(buffer.Bitmap(), nullptr);
	EXPECT_TRUE(buffer.Bitmap()->IsLocked());
	EXPECT_EQ(buffer.OffscreenView()->Origin(), BPoint(0, -10));
	buffer.DoneBlitting();
	EXPECT_FALSE(buffer.Bitmap()->IsLocked());
}

// A second BeginBlitting before DoneBlitting locks no further.
TEST_F(OffscreenTest, NestedBeginNeedsOneDone)
{
	OffscreenBitmap buffer;
	buffer.BeginBlitting(fTarget, BRect(0, 0, 99, 9), false, true);
	buffer.BeginBlitting(fTarget, BRect(0, 10, 99, 19), false, true);
	buffer.DoneBlitting();
	EXPECT_FALSE(buffer.Bitmap()->IsLocked());
}

TEST_F(OffscreenTest, FailedLockOnReuseChangesNothing)
{
	OffscreenBitmap buffer;
	buffer.BeginBlitting(fTarget, BRect(0, 0, 99, 9), false, true);
	buffer.DoneBlitting();
	BBitmap* bitmap = buffer.Bitmap();

	PlatformTesting::FailBitmapLocks(1);
	EXPECT_EQ(
	    ThrownStatus([&] { buffer.BeginBlitting(fTarget, BRect(0, 10, 99, 19), false, true); }),
	    B_ERROR);
	EXPECT_EQ(buffer.Bitmap(), bitmap);
	EXPECT_FALSE(bitmap->IsLocked());

	// The next attempt locks and draws where it is asked to.
	BView* view = buffer.BeginBlitting(fTarget, BRect(0, 20, 99, 29), false, true);
	EXPECT_EQ(buffer.Bitmap(), bitmap);
	EXPECT_EQ(view->Origin(), BPoint(0, -20));
	buffer.DoneBlitting();
}

TEST_F(OffscreenTest, FailedLockOnBuildLeavesTheBufferEmpty)
{
	OffscreenBitmap buffer;
	PlatformTesting::FailBitmapLocks(1);
	EXPECT_EQ(ThrownStatus([&] { buffer.BeginBlitting(fTarget, BRect(0, 0, 99, 9), false, true); }),
	          B_ERROR);
	EXPECT_EQ(buffer.Bitmap(), nullptr);

	BView* view = buffer.BeginBlitting(fTarget, BRect(0, 0, 99, 9), false, true);
	ASSERT_NE(buffer.Bitmap(), nullptr);
	EXPECT_EQ(buffer.Bitmap()->ChildAt(0), view);
	buffer.DoneBlitting();

	// A rebuild for another size that fails deletes the old bitmap and
	// keeps none; the destructor then has nothing to delete.
	PlatformTesting::FailBitmapLocks(1);
	EXPECT_EQ(
	    ThrownStatus([&] { buffer.BeginBlitting(fTarget, BRect(0, 0, 199, 9), false, true); }),
	    B_ERROR);
	EXPECT_EQ(buffer.Bitmap(), nullptr);
	buffer.BeginBlitting(fTarget, BRect(0, 0, 199, 9), false, true);
	EXPECT_EQ(buffer.Bitmap()->Bounds(), BRect(0, 0, 199, 9));
	buffer.DoneBlitting();
}

TEST(OffscreenConstruction, FailedLockInTheBuildingConstructorThrows)
{
	PlatformTesting::UseTestFace();
	BWindow* window = new BWindow(BRect(0, 0, 99, 99), "offscreen", B_TITLED_WINDOW, 0);
	BView* target = new BView(BRect(0, 0, 99, 99), "target", B_FOLLOW_NONE, B_WILL_DRAW);
	window->AddChild(target);
	window->Lock();
	PlatformTesting::FailBitmapLocks(1);
	std::unique_ptr<OffscreenBitmap> buffer;
	EXPECT_EQ(ThrownStatus([&] { buffer.reset(new OffscreenBitmap(target, BRect(0, 0, 9, 9))); }),
	          B_ERROR);
	EXPECT_FALSE(buffer);
	PlatformTesting::FailBitmapLocks(0);
	window->Quit();
}
