// Exceptions that escape a window's hooks: the window's thread reports each
// in one line on stderr and goes on with the next message, with the window's
// lock and its update state as they were before the hook ran.
#include "windows_fixture.h"

#include <Errors.h>

#include <stdexcept>

namespace {

// Throws from its hooks while armed; records the update rectangles.
class ThrowingView : public BView
{
public:
	explicit ThrowingView(BRect frame) : BView(frame, "thrower", B_FOLLOW_ALL_SIDES, B_WILL_DRAW) {}

	virtual void Draw(BRect updateRect)
	{
		fDrawn.push_back(updateRect);
		// A change of state that the failed update must not leave behind.
		SetHighColor(kRed);
		if (fFailDraw) {
			fFailDraw = false;
			throw status_t(B_ERROR);
		}
		FillRect(updateRect, B_SOLID_LOW);
	}

	virtual void KeyDown(const char* bytes, int32)
	{
		// A hook that takes the lock again and never gives it back.
		Window()->Lock();
		if (bytes[0] == 'e')
			throw std::runtime_error("key failed");
		throw 7;
	}

	bool fFailDraw = false;
	std::vector<BRect> fDrawn;
};

} // namespace

TEST(WindowThreadFaultTest, AHookThatThrowsLeavesTheWindowRunning)
{
	TestWindow window;
	ThrowingView* view = new ThrowingView(window->Bounds());
	window.Add(view);
	ASSERT_TRUE(window->Lock());
	view->MakeFocus(true);
	window->Unlock();

	testing::internal::CaptureStderr();
	window.Post(PlatformTesting::MakeKeyDown("e"));
	window.Post(PlatformTesting::MakeKeyDown("i"));
	const std::string reports = testing::internal::GetCapturedStderr();
	EXPECT_EQ(reports, "test: handling message '_KYD' threw key failed; the loop goes on\n"
	                   "test: handling message '_KYD' threw status 7; the loop goes on\n");

	// The lock the hooks kept is back: another thread gets it at once.
	EXPECT_EQ(window->LockWithTimeout(1000000), B_OK);
	EXPECT_EQ(window->CountLocks(), 1);
	window->Unlock();
}

TEST(WindowThreadFaultTest, AFailedUpdateLeavesTheWholeWindowForTheNextOne)
{
	TestWindow window;
	// Two views: the first one's failure keeps the second from drawing.
	ThrowingView* first = new ThrowingView(BRect(0, 0, 49, 99));
	ThrowingView* second = new ThrowingView(BRect(50, 0, 99, 99));
	window.Add(first);
	window.Add(second);
	testing::internal::CaptureStderr();
	ASSERT_TRUE(window->Lock());
	first->fDrawn.clear();
	second->fDrawn.clear();
	first->fFailDraw = true;
	first->Invalidate();
	second->Invalidate();
	window->Unlock();
	window.Idle();
	EXPECT_EQ(testing::internal::GetCapturedStderr(),
	          "test: handling message '_UPD' threw status -1; the loop goes on\n");

	ASSERT_TRUE(window->Lock());
	EXPECT_EQ(first->fDrawn.size(), 1u);
	EXPECT_TRUE(second->fDrawn.empty());
	// Drawing outside an update is clipped to the view alone again, with
	// the colours the view had before the failed Draw.
	EXPECT_COLOR(first->HighColor(), kBlack);
	first->FillRect(first->Bounds());
	// The next update, however small its cause, draws both views whole.
	first->Invalidate(BRect(0, 0, 0, 0));
	window->Unlock();
	window.Idle();

	ASSERT_TRUE(window->Lock());
	ASSERT_EQ(first->fDrawn.size(), 2u);
	EXPECT_EQ(first->fDrawn[1], first->Bounds());
	ASSERT_EQ(second->fDrawn.size(), 1u);
	EXPECT_EQ(second->fDrawn[0], second->Bounds());
	window->Unlock();
	EXPECT_COLOR(window.Pixel(10, 10), kWhite);
	EXPECT_COLOR(window.Pixel(60, 10), kWhite);
}
