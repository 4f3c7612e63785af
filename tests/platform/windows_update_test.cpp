// Updates and resizing: invalidated areas are filled with the view colour and
// drawn, parents first; resizing modes move and size the views, and only the
// new area of a grown view is drawn again.
#include <AppDefs.h>
#include <Message.h>
#include <View.h>
#include <Window.h>

#include <PlatformTesting.h>

#include <gtest/gtest.h>

#include "windows_fixture.h"

namespace {

TEST(WindowUpdateTest, ShowingDrawsEveryViewParentsFirst)
{
	std::vector<std::string> log;
	BWindow* window = new BWindow(BRect(0, 0, 99, 99), "update", B_TITLED_WINDOW, 0);
	LoggingView* parent = new LoggingView(BRect(10, 10, 59, 59), "parent", log);
	LoggingView* child = new LoggingView(BRect(5, 5, 14, 14), "child", log);
	LoggingView* silent = new LoggingView(BRect(60, 60, 69, 69), "silent", log, 0);
	window->AddChild(parent);
	parent->AddChild(child);
	window->AddChild(silent);
	window->Show();
	PlatformTesting::WaitUntilIdle(window);

	EXPECT_EQ(Matching(log, "parent:Draw").size(), 1u);
	std::vector<std::string> draws;
	for (const std::string& entry : log) {
		if (entry.find(":Draw") != std::string::npos)
			draws.push_back(entry);
	}
	ASSERT_EQ(draws.size(), 2u);
	EXPECT_EQ(draws[0], "parent:Draw 0,0,49,49");
	EXPECT_EQ(draws[1], "child:Draw 0,0,9,9");
	window->Lock();
	window->Quit();
}

TEST(WindowUpdateTest, AnInvalidatedAreaIsFilledWithTheViewColourThenDrawn)
{
	std::vector<std::string> log; // outlives the window, whose views log into it
	TestWindow window(BRect(0, 0, 99, 99));
	LoggingView* view = new LoggingView(BRect(10, 10, 59, 59), "view", log);
	window.Add(view);

	window->Lock();
	view->SetViewColor(kRed);
	view->SetHighColor(kBlue);
	view->FillRect(view->Bounds());
	log.clear();
	view->fDrawnOver.clear();
	view->Invalidate(BRect(2, 3, 5, 7));
	view->Invalidate(BRect(20, 20, 21, 21));
	window->Unlock();
	window.Idle();

	// One update for both areas, with their bounding box.
	EXPECT_EQ(log, std::vector<std::string>{"view:Draw 2,3,21,21"});
	ASSERT_EQ(view->fDrawnOver.size(), 1u);
	EXPECT_COLOR(view->fDrawnOver[0], kRed);
	// Only the invalidated pixels were refilled.
	EXPECT_COLOR(window.Pixel(12, 13), kRed);
	EXPECT_COLOR(window.Pixel(15, 17), kRed);
	EXPECT_COLOR(window.Pixel(16, 17), kBlue);
	EXPECT_COLOR(window.Pixel(20, 20), kBlue);

	// A transparent view colour leaves the pixels alone.
	window->Lock();
	view->SetViewColor(B_TRANSPARENT_COLOR);
	view->Invalidate(BRect(2, 3, 5, 7));
	window->Unlock();
	window.Idle();
	EXPECT_COLOR(window.Pixel(12, 13), kRed);
}

TEST(WindowUpdateTest, DrawIsClippedToTheUpdateAndRestoresTheState)
{
	class Painting : public BView
	{
	public:
		Painting() : BView(BRect(0, 0, 49, 49), "painting", B_FOLLOW_NONE, B_WILL_DRAW) {}
		virtual void Draw(BRect)
		{
			SetHighColor(kGreen);
			SetOrigin(1, 1);
			FillRect(BRect(-1, -1, 48, 48));
		}
	};
	TestWindow window(BRect(0, 0, 99, 99));
	Painting* view = new Painting;
	window.Add(view);
	EXPECT_COLOR(window.Pixel(0, 0), kGreen);

	window->Lock();
	view->SetHighColor(kBlue);
	view->FillRect(view->Bounds());
	view->Invalidate(BRect(0, 0, 4, 4));
	window->Unlock();
	window.Idle();
	EXPECT_COLOR(window.Pixel(4, 4), kGreen);
	EXPECT_COLOR(window.Pixel(5, 5), kBlue);

	window->Lock();
	EXPECT_COLOR(view->HighColor(), kBlue);
	EXPECT_EQ(view->Origin(), BPoint(0, 0));
	window->Unlock();
}

// A view that shrinks inside its own Draw clips what it draws next to its
// new bounds, though the update area was cut for the old ones.
TEST(WindowUpdateTest, DrawingAfterAGeometryChangeInDrawFollowsTheNewBounds)
{
	class Shrinking : public BView
	{
	public:
		Shrinking() : BView(BRect(0, 0, 49, 49), "shrinking", B_FOLLOW_NONE, B_WILL_DRAW) {}
		virtual void Draw(BRect)
		{
			if (fShrunk)
				return;
			fShrunk = true;
			ResizeTo(19, 19);
			SetHighColor(kGreen);
			FillRect(BRect(0, 0, 49, 49));
			fInside = PlatformTesting::Snapshot(Window()).At(10, 10);
			fOutside = PlatformTesting::Snapshot(Window()).At(30, 30);
		}
		bool fShrunk = false;
		rgb_color fInside = {};
		rgb_color fOutside = {};
	};
	TestWindow window(BRect(0, 0, 99, 99));
	Shrinking* view = new Shrinking;
	window.Add(view);

	window->Lock();
	EXPECT_TRUE(view->fShrunk);
	EXPECT_COLOR(view->fInside, kGreen);
	EXPECT_FALSE(view->fOutside == kGreen);
	window->Unlock();
}

TEST(WindowUpdateTest, RemovingAViewRedrawsWhatItCovered)
{
	TestWindow window(BRect(0, 0, 99, 99));
	BView* cover = new BView(BRect(10, 10, 19, 19), "cover", B_FOLLOW_NONE, B_WILL_DRAW);
	cover->SetViewColor(kRed);
	window.Add(cover);
	EXPECT_COLOR(window.Pixel(15, 15), kRed);

	window->Lock();
	cover->RemoveSelf();
	window->Unlock();
	window.Idle();
	EXPECT_COLOR(window.Pixel(15, 15), kWhite);
	delete cover;
}

// A 100 x 100 window holding views with every kind of resizing mode.
class WindowResizeTest : public ::testing::Test
{
protected:
	WindowResizeTest() : fWindow(BRect(0, 0, 99, 99))
	{
		fAll = new LoggingView(BRect(10, 10, 89, 89), "all", fLog, B_WILL_DRAW | B_FRAME_EVENTS,
		                       B_FOLLOW_ALL_SIDES);
		fInner = new LoggingView(BRect(5, 5, 74, 74), "inner", fLog, B_WILL_DRAW | B_FRAME_EVENTS,
		                         B_FOLLOW_ALL_SIDES);
		fCorner = new LoggingView(BRect(90, 90, 99, 99), "corner", fLog, 0,
		                          B_FOLLOW_RIGHT | B_FOLLOW_BOTTOM);
		fCentre = new LoggingView(BRect(40, 0, 59, 9), "centre", fLog, 0,
		                          B_FOLLOW_H_CENTER | B_FOLLOW_V_CENTER);
		fFixed = new LoggingView(BRect(0, 90, 9, 99), "fixed", fLog, B_FRAME_EVENTS,
		                         B_FOLLOW_LEFT | B_FOLLOW_TOP);
		fStretch = new LoggingView(BRect(0, 0, 99, 4), "stretch", fLog, 0,
		                           B_FOLLOW_LEFT_RIGHT | B_FOLLOW_TOP);
		fWindow.Add(fAll);
		fWindow.Add(fInner, fAll);
		fWindow.Add(fCorner);
		fWindow.Add(fCentre);
		fWindow.Add(fFixed);
		fWindow.Add(fStretch);
		fLog.clear();
	}

	void Resize(float dx, float dy)
	{
		fWindow->Lock();
		BRect bounds = fWindow->Bounds();
		fWindow->ResizeTo(bounds.Width() + dx, bounds.Height() + dy);
		fWindow->Unlock();
		fWindow.Idle();
	}

	std::vector<std::string> fLog;
	TestWindow fWindow;
	LoggingView* fAll;
	LoggingView* fInner;
	LoggingView* fCorner;
	LoggingView* fCentre;
	LoggingView* fFixed;
	LoggingView* fStretch;
};

TEST_F(WindowResizeTest, ViewsFollowTheirResizingModes)
{
	Resize(20, 10);
	fWindow->Lock();
	EXPECT_EQ(fWindow->Bounds(), BRect(0, 0, 119, 109));
	EXPECT_EQ(fAll->Frame(), BRect(10, 10, 109, 99));
	EXPECT_EQ(fInner->Frame(), BRect(5, 5, 94, 84));
	EXPECT_EQ(fCorner->Frame(), BRect(110, 100, 119, 109));
	EXPECT_EQ(fCentre->Frame(), BRect(50, 5, 69, 14));
	EXPECT_EQ(fFixed->Frame(), BRect(0, 90, 9, 99));
	EXPECT_EQ(fStretch->Frame(), BRect(0, 0, 119, 4));
	fWindow->Unlock();

	PlatformTesting::PixelImage image = PlatformTesting::Snapshot(fWindow.Get());
	EXPECT_EQ(image.width, 120);
	EXPECT_EQ(image.height, 110);

	// FrameResized for the views that asked for frame events only.
	EXPECT_EQ(Matching(fLog, "all:FrameResized"),
	          std::vector<std::string>{"all:FrameResized 99 89"});
	EXPECT_EQ(Matching(fLog, "inner:FrameResized"),
	          std::vector<std::string>{"inner:FrameResized 89 79"});
	EXPECT_TRUE(Matching(fLog, "fixed:FrameResized").empty());

	// Shrinking brings everything back.
	Resize(-20, -10);
	fWindow->Lock();
	EXPECT_EQ(fAll->Frame(), BRect(10, 10, 89, 89));
	EXPECT_EQ(fCentre->Frame(), BRect(40, 0, 59, 9));
	fWindow->Unlock();
}

TEST_F(WindowResizeTest, OnlyTheNewAreaIsDrawnUnlessAFullUpdateIsAsked)
{
	// Below the others, stretching with the window's width.
	fWindow.Add(new LoggingView(BRect(20, 92, 29, 97), "full", fLog,
	                            B_WILL_DRAW | B_FULL_UPDATE_ON_RESIZE,
	                            B_FOLLOW_LEFT_RIGHT | B_FOLLOW_BOTTOM));
	fLog.clear();
	Resize(20, 0);
	EXPECT_EQ(Matching(fLog, "all:Draw"), std::vector<std::string>{"all:Draw 80,0,99,79"});
	EXPECT_EQ(Matching(fLog, "full:Draw"), std::vector<std::string>{"full:Draw 0,0,29,5"});
}

// The size limits hold for the program's resizes and the display's alike,
// and a window outside new limits is brought within them at once.
TEST_F(WindowResizeTest, SizeLimitsBoundEveryResize)
{
	fWindow->Lock();
	fWindow->SetSizeLimits(119, 149, 89, 139);
	EXPECT_EQ(fWindow->Bounds(), BRect(0, 0, 119, 99));
	fWindow->Unlock();

	Resize(-50, -50);
	fWindow->Lock();
	EXPECT_EQ(fWindow->Bounds(), BRect(0, 0, 119, 89));
	EXPECT_EQ(fAll->Frame(), BRect(10, 10, 109, 79));
	fWindow->Unlock();

	BMessage resized(B_WINDOW_RESIZED);
	resized.AddInt32("width", 500);
	resized.AddInt32("height", 20);
	PlatformTesting::PostAndWait(fWindow.Get(), resized);
	fWindow->Lock();
	EXPECT_EQ(fWindow->Bounds(), BRect(0, 0, 149, 89));
	fWindow->Unlock();
	PlatformTesting::PixelImage image = PlatformTesting::Snapshot(fWindow.Get());
	EXPECT_EQ(image.width, 150);
	EXPECT_EQ(image.height, 90);
}

} // namespace
