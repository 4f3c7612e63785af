// Scroll views, scroll bars and scrolling: frames around a target, values
// that scroll the target, pixels that move with the scroll, and the bar's
// arrows, trough and knob under the mouse.
#include <ScrollBar.h>
#include <ScrollView.h>
#include <View.h>
#include <Window.h>

#include <PlatformTesting.h>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "ScrollBarSize.h"
#include "windows_fixture.h"

namespace {

using PlatformTesting::MakeMouseDown;
using PlatformTesting::MakeMouseMoved;
using PlatformTesting::MakeMouseUp;

TEST(ScrollViewTest, ItsFrameIsTheTargetsWidenedForTheBarsAndTheBorder)
{
	BView parent(BRect(0, 0, 50, 50), "parent", B_FOLLOW_ALL_SIDES, 0);
	BView* target = new BView(BRect(2, 2, 34, 34), "target", B_FOLLOW_ALL_SIDES, 0);
	BScrollView* scroll = new BScrollView("scroll", target, B_FOLLOW_ALL_SIDES, 0, true, true);
	parent.AddChild(scroll);
	EXPECT_EQ(scroll->Frame(), BRect(0, 0, 50, 50));
	EXPECT_EQ(target->Frame(), BRect(2, 2, 34, 34));
	EXPECT_EQ(target->Parent(), scroll);
	EXPECT_EQ(scroll->Border(), B_FANCY_BORDER);
	EXPECT_NE(scroll->Flags() & B_WILL_DRAW, 0u);

	BScrollBar* vertical = scroll->ScrollBar(B_VERTICAL);
	BScrollBar* horizontal = scroll->ScrollBar(B_HORIZONTAL);
	ASSERT_NE(vertical, nullptr);
	ASSERT_NE(horizontal, nullptr);
	EXPECT_EQ(vertical->Frame(), BRect(35, 2, 48, 34));
	EXPECT_EQ(horizontal->Frame(), BRect(2, 35, 34, 48));
	EXPECT_EQ(vertical->ResizingMode(), uint32(B_FOLLOW_TOP_BOTTOM | B_FOLLOW_RIGHT));
	EXPECT_EQ(horizontal->ResizingMode(), uint32(B_FOLLOW_LEFT_RIGHT | B_FOLLOW_BOTTOM));
	EXPECT_EQ(target->ScrollBar(B_VERTICAL), vertical);
	EXPECT_EQ(target->ScrollBar(B_HORIZONTAL), horizontal);
}

TEST(ScrollViewTest, BordersAndBarsAreOptional)
{
	BView* plain = new BView(BRect(5, 5, 24, 24), "plain", B_FOLLOW_NONE, 0);
	BScrollView framed("framed", plain, B_FOLLOW_NONE, 0, false, true, B_PLAIN_BORDER);
	EXPECT_EQ(framed.Frame(), BRect(4, 4, 39, 25));
	EXPECT_EQ(framed.ScrollBar(B_HORIZONTAL), nullptr);
	EXPECT_EQ(plain->Frame(), BRect(1, 1, 20, 20));

	BView* bare = new BView(BRect(5, 5, 24, 24), "bare", B_FOLLOW_NONE, 0);
	BScrollView borderless("borderless", bare, B_FOLLOW_NONE, 0, true, false, B_NO_BORDER);
	EXPECT_EQ(borderless.Frame(), BRect(5, 5, 24, 38));
	EXPECT_EQ(bare->Frame(), BRect(0, 0, 19, 19));
	EXPECT_EQ(borderless.ScrollBar(B_HORIZONTAL)->Frame(), BRect(0, 20, 19, 33));
}

TEST(ScrollBarTest, ValuesClampAndScrollTheTarget)
{
	BView target(BRect(0, 0, 99, 99), "target", B_FOLLOW_NONE, 0);
	BScrollBar bar(BRect(0, 0, 13, 99), "bar", &target, 0, 300, B_VERTICAL);
	float smallStep;
	float largeStep;
	bar.GetSteps(&smallStep, &largeStep);
	EXPECT_EQ(smallStep, 1);
	EXPECT_EQ(largeStep, 10);

	bar.SetValue(120);
	EXPECT_EQ(bar.Value(), 120);
	EXPECT_EQ(target.Bounds().top, 120);
	bar.SetValue(1000);
	EXPECT_EQ(bar.Value(), 300);
	EXPECT_EQ(target.Bounds(), BRect(0, 300, 99, 399));
	bar.SetValue(-5);
	EXPECT_EQ(target.Bounds().top, 0);

	// Scrolling the target moves the bar, and a narrower range pulls the
	// value (and the target) back.
	target.ScrollTo(0, 200);
	EXPECT_EQ(bar.Value(), 200);
	bar.SetRange(0, 150);
	EXPECT_EQ(bar.Value(), 150);
	EXPECT_EQ(target.Bounds().top, 150);
}

TEST(ScrollBarTest, AValueThatStaysDoesNotScroll)
{
	class Counting : public BScrollBar
	{
	public:
		Counting(BView* target)
		    : BScrollBar(BRect(0, 0, 99, 13), "bar", target, 0, 50, B_HORIZONTAL)
		{
		}
		virtual void ValueChanged(float value)
		{
			changes++;
			BScrollBar::ValueChanged(value);
		}
		int32 changes = 0;
	};
	BView target(BRect(0, 0, 99, 99), "target", B_FOLLOW_NONE, 0);
	Counting bar(&target);
	bar.SetValue(20);
	bar.SetValue(20);
	bar.SetValue(80);
	bar.SetValue(90);
	EXPECT_EQ(bar.changes, 2);
	EXPECT_EQ(target.Bounds().left, 50);
}

// A 100 x 100 window with a drawing view that has a vertical bar.
class ScrollingTest : public ::testing::Test
{
protected:
	ScrollingTest() : fWindow(BRect(0, 0, 99, 99))
	{
		fView = new LoggingView(BRect(0, 0, 79, 79), "view", fLog);
		fBar = new BScrollBar(BRect(80, 0, 93, 79), "bar", fView, 0, 200, B_VERTICAL);
		fWindow.Add(fView);
		fWindow.Add(fBar);
		fLog.clear();
	}

	std::vector<std::string> fLog;
	TestWindow fWindow;
	LoggingView* fView;
	BScrollBar* fBar;
};

TEST_F(ScrollingTest, ScrollingShiftsThePixelsAndDrawsOnlyWhatItExposes)
{
	fWindow->Lock();
	// Stripes 10 rows apart, drawn in the view's coordinates.
	for (int32 y = 0; y < 80; y += 10) {
		fView->SetHighColor(rgb_color{uint8(y * 3), 0, 0, 255});
		fView->FillRect(BRect(0, y, 79, y + 9));
	}
	fView->ScrollBy(0, 30);
	EXPECT_EQ(fView->Bounds(), BRect(0, 30, 79, 109));
	EXPECT_EQ(fBar->Value(), 30);
	fWindow->Unlock();
	fWindow.Idle();

	// The stripe that began at view y 40 now stands at the window's y 10.
	EXPECT_COLOR(fWindow.Pixel(5, 10), (rgb_color{120, 0, 0, 255}));
	EXPECT_COLOR(fWindow.Pixel(5, 49), (rgb_color{210, 0, 0, 255}));
	EXPECT_EQ(fLog, std::vector<std::string>{"view:Draw 0,80,79,109"});
	EXPECT_COLOR(fWindow.Pixel(5, 50), kWhite);
}

TEST_F(ScrollingTest, TheBarsArrowsTroughAndKnobScroll)
{
	// Arrows: 14 pixels at each end; the knob starts at the trough's top.
	fWindow.Post(MakeMouseDown(BPoint(86, 75)));
	fWindow.Post(MakeMouseUp(BPoint(86, 75)));
	fWindow->Lock();
	EXPECT_EQ(fBar->Value(), 1);
	EXPECT_EQ(fView->Bounds().top, 1);
	fWindow->Unlock();

	fWindow.Post(MakeMouseDown(BPoint(86, 60)));
	fWindow.Post(MakeMouseUp(BPoint(86, 60)));
	fWindow->Lock();
	EXPECT_EQ(fBar->Value(), 11);
	fWindow->Unlock();

	fWindow.Post(MakeMouseDown(BPoint(86, 5)));
	fWindow.Post(MakeMouseUp(BPoint(86, 5)));
	fWindow->Lock();
	EXPECT_EQ(fBar->Value(), 10);
	fBar->SetValue(0);
	fWindow->Unlock();

	// Dragging the knob to the trough's end reaches the maximum, even
	// when the pointer leaves the bar.
	fWindow.Post(MakeMouseMoved(BPoint(86, 16)));
	fWindow.Post(MakeMouseDown(BPoint(86, 16)));
	fWindow.Post(MakeMouseMoved(BPoint(20, 95), B_PRIMARY_MOUSE_BUTTON));
	fWindow.Post(MakeMouseUp(BPoint(20, 95)));
	fWindow->Lock();
	EXPECT_EQ(fBar->Value(), 200);
	EXPECT_EQ(fView->Bounds().top, 200);
	fWindow->Unlock();
}

// A view sets its bars' range after each change to what it shows: a range
// that stays draws nothing, a new one draws the bar again.
TEST_F(ScrollingTest, OnlyANewRangeDrawsTheBarAgain)
{
	fWindow.Idle();
	auto barDrawings = [this](float min, float max) {
		PlatformTesting::DrawingRecord record;
		fWindow->Lock();
		fBar->SetRange(min, max);
		fWindow->Unlock();
		fWindow.Idle();
		int32 count = 0;
		for (const PlatformTesting::DrawCall& call : record.Calls())
			count += call.view == fBar ? 1 : 0;
		return count;
	};
	EXPECT_EQ(barDrawings(0, 200), 0);
	EXPECT_GT(barDrawings(0, 150), 0);
	EXPECT_EQ(barDrawings(150, 0), 0); // the same range, its ends given the other way
	EXPECT_GT(barDrawings(10, 150), 0);
}

// Property: whatever a bar is set to, step after step, it shows what a new
// bar set straight to its final state shows. A change draws the trough
// alone, or the whole bar when it turns on or off, and the window no longer
// fills the bar before it draws: a pixel the bar leaves unpainted keeps an
// old knob or arrow and shows here. A failing sequence shrinks to the fewest
// steps that still fail.
TEST_F(ScrollingTest, ABarChangedStepByStepLooksLikeANewOne)
{
	struct Step
	{
		int kind; // 0 range, 1 value, 2 proportion
		float a, b;
	};
	const BRect barFrame = fBar->Frame();
	auto barPixels = [&](BWindow* window) {
		const PlatformTesting::PixelImage image = PlatformTesting::Snapshot(window);
		std::vector<std::string> pixels;
		for (int32 y = int32(barFrame.top); y <= int32(barFrame.bottom); y++) {
			for (int32 x = int32(barFrame.left); x <= int32(barFrame.right); x++)
				pixels.push_back(ColorText(image.At(x, y)));
		}
		return pixels;
	};
	// Back to a known state, drawn whole; then the steps, drawn as they go.
	auto matches = [&](const std::vector<Step>& steps) {
		fWindow->Lock();
		fBar->SetRange(0, 200);
		fBar->SetValue(0);
		fBar->SetProportion(0.5f);
		fBar->Invalidate();
		fWindow->Unlock();
		fWindow.Idle();
		for (const Step& step : steps) {
			fWindow->Lock();
			if (step.kind == 0)
				fBar->SetRange(step.a, step.b);
			else if (step.kind == 1)
				fBar->SetValue(step.a);
			else
				fBar->SetProportion(step.a);
			fWindow->Unlock();
			fWindow.Idle();
		}
		TestWindow fresh(BRect(0, 0, 99, 99));
		BScrollBar* bar = new BScrollBar(barFrame, "fresh", NULL, 0, 200, B_VERTICAL);
		fWindow->Lock();
		bar->SetProportion(fBar->Proportion());
		float min, max;
		fBar->GetRange(&min, &max);
		bar->SetRange(min, max);
		bar->SetValue(fBar->Value());
		fWindow->Unlock();
		fresh.Add(bar);
		return barPixels(fWindow.Get()) == barPixels(fresh.Get());
	};

	std::mt19937 random(20261209);
	for (int32 trial = 0; trial < 40; trial++) {
		std::vector<Step> steps(1 + random() % 6);
		for (Step& step : steps) {
			step.kind = int(random() % 3);
			// Ranges include the empty one, which switches the bar off.
			step.a = random() % 4 == 0 ? 0 : float(random() % 300);
			step.b = step.kind == 0 && step.a == 0 && random() % 2 == 0 ? 0 : float(random() % 300);
			if (step.kind == 2)
				step.a = float(random() % 101) / 100;
		}
		if (matches(steps))
			continue;
		// Shrink: drop steps one at a time while the sequence still fails.
		for (size_t i = 0; i < steps.size();) {
			std::vector<Step> shorter;
			for (size_t j = 0; j < steps.size(); j++) {
				if (j != i)
					shorter.push_back(steps[j]);
			}
			if (!matches(shorter))
				steps = shorter;
			else
				i++;
		}
		std::string text;
		for (const Step& step : steps) {
			text += std::string(step.kind == 0   ? " SetRange("
			                    : step.kind == 1 ? " SetValue("
			                                     : " SetProportion(") +
			        std::to_string(step.a) + (step.kind == 0 ? ", " + std::to_string(step.b) : "") +
			        ")";
		}
		FAIL() << "the bar differs from a new one after:" << text;
	}
}

TEST_F(ScrollingTest, TheWheelMovesTheViewsBar)
{
	BMessage wheel(B_MOUSE_WHEEL_CHANGED);
	wheel.AddFloat("be:wheel_delta_x", 0);
	wheel.AddFloat("be:wheel_delta_y", 2);
	fWindow.Post(MakeMouseMoved(BPoint(40, 40)));
	fWindow.Post(wheel);
	fWindow->Lock();
	EXPECT_EQ(fBar->Value(), 6);
	EXPECT_EQ(fView->Bounds().top, 6);
	fWindow->Unlock();
}

} // namespace

// The bars are B_V_SCROLL_BAR_WIDTH and B_H_SCROLL_BAR_HEIGHT pixels thick
// at 96 dots per inch and in proportion at others; the scroll view grows
// around its target by as much.
TEST(ScrollBarScale, BarsFollowTheDisplaysDotsPerInch)
{
	for (float dotsPerInch : {96.0f, 120.0f, 144.0f, 192.0f}) {
		BPrivate::ScaleScrollBars(dotsPerInch);
		const float thickness = std::round(B_V_SCROLL_BAR_WIDTH * dotsPerInch / 96);
		BView* target = new BView(BRect(0, 0, 99, 79), "target", B_FOLLOW_ALL_SIDES, 0);
		BScrollView scroller("scroller", target, B_FOLLOW_LEFT | B_FOLLOW_TOP, 0, true, true,
		                     B_NO_BORDER);
		EXPECT_EQ(scroller.ScrollBar(B_VERTICAL)->Frame().Width() + 1, thickness) << dotsPerInch;
		EXPECT_EQ(scroller.ScrollBar(B_HORIZONTAL)->Frame().Height() + 1, thickness) << dotsPerInch;
		EXPECT_EQ(scroller.Frame().Width(), 99 + thickness) << dotsPerInch;
		EXPECT_EQ(scroller.Frame().Height(), 79 + thickness) << dotsPerInch;
		float width;
		scroller.ScrollBar(B_VERTICAL)->GetPreferredSize(&width, NULL);
		EXPECT_EQ(width, thickness);
	}
	BPrivate::ScaleScrollBars(96);
}
