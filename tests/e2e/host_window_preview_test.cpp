// The host window's preview under the item list: an icon drawn through the
// colour map over a checkerboard, scaled by whole pixels, and the readable
// form of other items; both follow every edit, undo and other window at
// once, and the window always shows what a full redraw would.

#include <gtest/gtest.h>

#include <InterfaceDefs.h>

#include <random>

#include "HostWindowFixture.h"
#include "IconImage.h"
#include "ItemPreview.h"

namespace {

const char kShiftRight[] = {B_RIGHT_ARROW, 0};
const char kPageDown[] = {B_PAGE_DOWN, 0};

class HostWindowPreviewTest : public HostWindowFixture
{
protected:
	void SetUp() override
	{
		PlatformTesting::UseTestFace();
		std::mt19937 random(101);
		fIcon.resize(32 * 32);
		for (char& index : fIcon)
			index = char(random() % 3 == 0 ? 255 : random() % 256);
		fDocument.AddItem('ICON', 101, "BEOS:L:STD_ICON", fIcon.data(), fIcon.size());
		fDocument.AddItem('APPF', 1, "BEOS:APP_FLAGS", "\x01\0\0\0", 4);
		ASSERT_NO_FATAL_FAILURE(LoadAddon());
		fWindow = Open();
		ASSERT_NE(fWindow, nullptr);
	}

	// Every pixel of the icon on screen is a scale x scale block of its
	// index's colour, or of the checkerboard where the index is 255.
	void ExpectIconShown(HostWindow* window, const std::string& icon)
	{
		BRect frame;
		int32 scale;
		{
			BAutolock lock(window);
			frame = window->Preview()->IconFrame();
			frame.OffsetBy(window->Preview()->ConvertToWindow(BPoint(0, 0)));
			scale = window->Preview()->IconScale();
		}
		ASSERT_TRUE(frame.IsValid());
		ASSERT_GE(scale, 1);
		EXPECT_EQ(frame.Width() + 1, float(32 * scale));
		const PlatformTesting::PixelImage screen = PlatformTesting::Snapshot(window);
		const std::vector<rgb_color> pixels = IconImage::Pixels(icon.data(), 32);
		const rgb_color light = {255, 255, 255, 255};
		const rgb_color dark = {204, 204, 204, 255};
		for (int32 pixel = 0; pixel < 32 * 32; pixel++) {
			for (int32 dy = 0; dy < scale; dy++) {
				for (int32 dx = 0; dx < scale; dx++) {
					const int32 x = int32(frame.left) + (pixel % 32) * scale + dx;
					const int32 y = int32(frame.top) + (pixel / 32) * scale + dy;
					const rgb_color shown = screen.At(x, y);
					if (pixels[size_t(pixel)].alpha == 0)
						ASSERT_TRUE(shown == light || shown == dark) << x << ", " << y;
					else {
						rgb_color expected = pixels[size_t(pixel)];
						ASSERT_TRUE(shown == expected)
						    << "pixel " << pixel << " at " << x << ", " << y;
					}
				}
			}
		}
		// Nothing of an edit is left behind: what shows is a full redraw.
		EXPECT_TRUE(PlatformTesting::RedrawWhole(window) == screen);
	}

	std::vector<std::string> PreviewLines(HostWindow* window)
	{
		BAutolock lock(window);
		return window->Preview()->Lines();
	}

	std::string fIcon;
	HostWindow* fWindow = NULL;
};

TEST_F(HostWindowPreviewTest, TheIconFollowsTypingUndoAndOtherWindows)
{
	ASSERT_NO_FATAL_FAILURE(ExpectIconShown(fWindow, fIcon));

	// A byte typed over the selected first one: the picture changes with
	// each digit, still 1024 bytes.
	std::string edited = fIcon;
	Key(fWindow, kShiftRight, B_SHIFT_KEY);
	Key(fWindow, "2");
	edited[0] = char(0x20);
	ASSERT_NO_FATAL_FAILURE(ExpectIconShown(fWindow, edited));
	Key(fWindow, "a");
	edited[0] = char(0x2a);
	ASSERT_NO_FATAL_FAILURE(ExpectIconShown(fWindow, edited));

	// A second window shows the same picture; an edit there shows here.
	std::string error;
	HostWindow* second = fWindows.Open(0, error);
	ASSERT_NE(second, nullptr) << error;
	PlatformTesting::WaitUntilIdle(second);
	ASSERT_NO_FATAL_FAILURE(ExpectIconShown(second, edited));
	Key(second, "z", B_COMMAND_KEY);
	PlatformTesting::WaitUntilIdle(fWindow);
	ASSERT_NO_FATAL_FAILURE(ExpectIconShown(fWindow, fIcon));
	ASSERT_NO_FATAL_FAILURE(ExpectIconShown(second, fIcon));

	// One byte more is no icon: the preview says so instead.
	Key(fWindow, "f");
	PlatformTesting::WaitUntilIdle(fWindow);
	EXPECT_EQ(PreviewLines(fWindow),
	          std::vector<std::string>{"ICON of 1025 bytes: not shown (an icon of this type is "
	                                   "1024 bytes of colour-map indices)"});
	BAutolock lock(fWindow);
	EXPECT_FALSE(fWindow->Preview()->IconFrame().IsValid());
}

TEST_F(HostWindowPreviewTest, TheReadableFormFollowsTheShownItemAndItsEdits)
{
	Key(fWindow, kPageDown, B_COMMAND_KEY);
	EXPECT_EQ(PreviewLines(fWindow), std::vector<std::string>{"multiple launch"});
	Key(fWindow, kShiftRight, B_SHIFT_KEY);
	Key(fWindow, "0");
	Key(fWindow, "6");
	EXPECT_EQ(PreviewLines(fWindow), std::vector<std::string>{"exclusive launch, background app"});
	EXPECT_TRUE(PlatformTesting::RedrawWhole(fWindow) == PlatformTesting::Snapshot(fWindow));
	Key(fWindow, "z", B_COMMAND_KEY);
	EXPECT_EQ(PreviewLines(fWindow), std::vector<std::string>{"multiple launch"});
}

} // namespace
