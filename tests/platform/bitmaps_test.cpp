// Bitmaps that accept views: their pixels, their lock, their views, and
// copying them into a window.
#include <Bitmap.h>
#include <InterfaceDefs.h>
#include <View.h>
#include <Window.h>

#include <PlatformTesting.h>

#include <gtest/gtest.h>

#include "windows_fixture.h"

namespace {

TEST(BitmapTest, HoldsItsPixelsWhateverSpaceIsAsked)
{
	BBitmap bitmap(BRect(0, 0, 19, 9), B_CMAP8, true);
	EXPECT_EQ(bitmap.Bounds(), BRect(0, 0, 19, 9));
	PlatformTesting::PixelImage pixels = PlatformTesting::Snapshot(&bitmap);
	EXPECT_EQ(pixels.width, 20);
	EXPECT_EQ(pixels.height, 10);

	BBitmap invalid(BRect(0, 0, -1, -1), B_RGB32, true);
	EXPECT_FALSE(invalid.Lock());
	EXPECT_EQ(PlatformTesting::Snapshot(&invalid).width, 0);
}

TEST(BitmapTest, ItsLockBelongsToTheCallingThreadAndCanBeMadeToFail)
{
	BBitmap bitmap(BRect(0, 0, 9, 9), B_RGB32, true);
	EXPECT_FALSE(bitmap.IsLocked());
	ASSERT_TRUE(bitmap.Lock());
	EXPECT_TRUE(bitmap.IsLocked());
	bitmap.Unlock();
	EXPECT_FALSE(bitmap.IsLocked());

	PlatformTesting::FailBitmapLocks(2);
	EXPECT_FALSE(bitmap.Lock());
	EXPECT_FALSE(bitmap.Lock());
	EXPECT_FALSE(bitmap.IsLocked());
	EXPECT_TRUE(bitmap.Lock());
	bitmap.Unlock();

	BBitmap plain(BRect(0, 0, 9, 9), B_RGB32, false);
	EXPECT_FALSE(plain.Lock());
}

TEST(BitmapTest, ViewsAttachToItAndDieWithIt)
{
	std::vector<std::string> log;
	bool deleted = false;
	class Dying : public LoggingView
	{
	public:
		Dying(std::vector<std::string>& log, bool& deleted)
		    : LoggingView(BRect(0, 0, 9, 9), "dying", log, 0), fDeleted(deleted)
		{
		}
		~Dying() { fDeleted = true; }

	private:
		bool& fDeleted;
	};
	{
		BBitmap bitmap(BRect(0, 0, 9, 9), B_CMAP8, true);
		ASSERT_TRUE(bitmap.Lock());
		Dying* view = new Dying(log, deleted);
		bitmap.AddChild(view);
		EXPECT_EQ(log, std::vector<std::string>{"dying:AttachedToWindow"});
		EXPECT_EQ(bitmap.ChildAt(0), view);
		EXPECT_EQ(bitmap.ChildAt(1), nullptr);
		EXPECT_NE(view->Window(), nullptr);
		bitmap.Unlock();
	}
	EXPECT_TRUE(deleted);
	EXPECT_EQ(log.back(), "dying:DetachedFromWindow");
}

TEST(BitmapTest, DrawingIntoItsViewCopiesOneToOneIntoAWindow)
{
	PlatformTesting::UseTestFace();
	BBitmap bitmap(BRect(0, 0, 29, 14), B_CMAP8, true);
	ASSERT_TRUE(bitmap.Lock());
	BView* drawing = new BView(bitmap.Bounds(), "", 0, 0);
	bitmap.AddChild(drawing);
	// As a double buffer is used: the origin moves a line's box onto the
	// bitmap.
	drawing->SetOrigin(0, -30);
	drawing->SetLowColor(kGreen);
	drawing->FillRect(BRect(0, 30, 29, 44), B_SOLID_LOW);
	drawing->SetHighColor(kRed);
	drawing->FillRect(BRect(2, 31, 4, 33));
	drawing->DrawString("x", BPoint(10, 42));
	drawing->Sync();
	PlatformTesting::PixelImage picture = PlatformTesting::Snapshot(&bitmap);
	bitmap.Unlock();
	ASSERT_EQ(picture.width, 30);
	ASSERT_EQ(picture.height, 15);
	EXPECT_COLOR(picture.At(0, 0), kGreen);
	EXPECT_COLOR(picture.At(2, 1), kRed);
	EXPECT_COLOR(picture.At(4, 3), kRed);
	EXPECT_COLOR(picture.At(5, 3), kGreen);
	EXPECT_COLOR(picture.At(11, 3), kRed); // the glyph's solid top row

	TestWindow window(BRect(0, 0, 99, 99), false);
	window->Lock();
	BView* target = new BView(BRect(0, 0, 99, 99), "target", B_FOLLOW_NONE, 0);
	window->AddChild(target);
	target->DrawBitmap(&bitmap, bitmap.Bounds(), BRect(50, 60, 79, 74));
	PlatformTesting::PixelImage screen = PlatformTesting::Snapshot(window.Get());
	window->Unlock();
	for (int32 y = 0; y < 15; y++) {
		for (int32 x = 0; x < 30; x++)
			ASSERT_COLOR_AT(screen.At(50 + x, 60 + y), picture.At(x, y), x, y);
	}
	EXPECT_COLOR(screen.At(49, 60), kWhite);
	EXPECT_COLOR(screen.At(80, 74), kWhite);
	EXPECT_COLOR(screen.At(50, 75), kWhite);
}

TEST(BitmapTest, ItsViewsRecordTheirDrawingAsBitmapDrawing)
{
	BBitmap bitmap(BRect(0, 0, 9, 9), B_CMAP8, true);
	ASSERT_TRUE(bitmap.Lock());
	BView* drawing = new BView(bitmap.Bounds(), "", 0, 0);
	bitmap.AddChild(drawing);
	PlatformTesting::DrawingRecord record;
	drawing->FillRect(BRect(0, 0, 1, 1));
	bitmap.Unlock();
	std::vector<PlatformTesting::DrawCall> calls = record.Calls();
	ASSERT_EQ(calls.size(), 1u);
	EXPECT_TRUE(calls[0].inBitmap);
	EXPECT_EQ(calls[0].view, drawing);
}

} // namespace

// An icon's colour-map indices set into a bitmap and drawn scaled over a
// background: every index shows its colour in a 3 x 3 block, and the
// transparent index leaves the background.
TEST(BitmapTest, ColourMapIndicesDrawScaledWithTheTransparentIndexLeftOut)
{
	uint8 indices[16 * 16];
	for (int32 i = 0; i < 16 * 16; i++)
		indices[i] = uint8(i);
	BBitmap icon(BRect(0, 0, 15, 15), B_CMAP8);
	icon.SetBits(indices, sizeof(indices), 0, B_CMAP8);

	TestWindow window(BRect(0, 0, 99, 99), false);
	window->Lock();
	BView* target = new BView(BRect(0, 0, 99, 99), "target", B_FOLLOW_NONE, 0);
	window->AddChild(target);
	target->SetHighColor(kGreen);
	target->FillRect(target->Bounds());
	target->SetDrawingMode(B_OP_OVER);
	target->DrawBitmap(&icon, icon.Bounds(), BRect(2, 2, 49, 49));
	PlatformTesting::PixelImage screen = PlatformTesting::Snapshot(window.Get());
	window->Unlock();
	const color_map* colors = system_colors();
	for (int32 i = 0; i < 16 * 16; i++) {
		const int32 x = 2 + (i % 16) * 3;
		const int32 y = 2 + (i / 16) * 3;
		const rgb_color expected = i == B_TRANSPARENT_MAGIC_CMAP8 ? kGreen : colors->color_list[i];
		for (int32 dy = 0; dy < 3; dy++) {
			for (int32 dx = 0; dx < 3; dx++)
				ASSERT_COLOR_AT(screen.At(x + dx, y + dy), expected, x + dx, y + dy);
		}
	}
	EXPECT_COLOR(screen.At(50, 50), kGreen);
}
