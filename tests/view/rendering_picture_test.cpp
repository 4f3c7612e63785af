// One whole picture: a real item in a real editor in a headless window,
// drawn with the FreeType face: first with a selection made by dragging in
// the hex column (filled there, outlined in the character column), then with
// the cursor after a first typed digit. Both frames go into one PNG under
// $HEXDUMP_ARTIFACT_DIR; the same session drawn twice must give the same
// pixels.

#include <gtest/gtest.h>

#include <InterfaceDefs.h>

#include <math.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "DrawingChecks.h"
#include "HexDumpView.h"
#include "PlatformTesting.h"
#include "ViewHarness.h"

using namespace DrawingChecks;
using PlatformTesting::PixelImage;

namespace {

std::string SampleItem()
{
	std::string bytes = "HexDump sample item: \"quick brown fox\" 0123456789 ~!@#$%^&*()\n";
	for (int i = 0; i < 256; i++)
		bytes += char(i);
	bytes += "The end of the item.";
	return bytes;
}

// The two frames one above the other, with a grey band between them.
PixelImage Stack(const PixelImage& top, const PixelImage& bottom)
{
	const int32 band = 4;
	PixelImage image;
	image.width = top.width;
	image.height = top.height + band + bottom.height;
	image.pixels = top.pixels;
	image.pixels.insert(image.pixels.end(), size_t(band) * image.width, kGrey);
	image.pixels.insert(image.pixels.end(), bottom.pixels.begin(), bottom.pixels.end());
	return image;
}

// Whether some pixel of the view in the rectangle passes the test.
template <typename Test> bool AnyPixel(ViewHarness& harness, BRect rect, Test test)
{
	for (float y = floorf(rect.top); y <= rect.bottom; y++)
		for (float x = floorf(rect.left); x <= rect.right; x++) {
			if (test(harness.Pixel(BPoint(x, y))))
				return true;
		}
	return false;
}

// The session: drag a selection, snapshot; click, type a digit, snapshot.
// Checks on the way that the frames show what they should.
PixelImage DrawSession()
{
	ViewHarness harness(SampleItem(), ViewHarness::kFreeTypeFace);
	HexDumpView* view = harness.View();
	harness.Focus();

	harness.MouseDown(harness.CellPoint(0x13, true));
	harness.MouseMoved(harness.CellPoint(0x47, true), B_PRIMARY_MOUSE_BUTTON);
	harness.MouseUp(harness.CellPoint(0x47, true));
	EXPECT_EQ(view->SelectionStart(), 0x13u);
	EXPECT_EQ(view->SelectionEnd(), 0x47u);

	BPoint hex, ascii, firstLine;
	float lineHeight;
	{
		ViewHarness::WindowLock lock(harness);
		lineHeight = view->LineHeight();
		hex = view->OffsetToHexPoint(0x20);
		ascii = view->OffsetToAsciiPoint(0x20);
		firstLine = view->OffsetToHexPoint(0);
	}
	// Byte 0x20's line: the hex run is filled, the character column's
	// outline runs down its left side.
	EXPECT_TRUE(AnyPixel(harness, BRect(hex.x, hex.y - lineHeight + 1, hex.x + 1, hex.y + 2),
	                     [](const rgb_color& c) { return SameColor(c, kGrey); }));
	EXPECT_TRUE(AnyPixel(harness, BRect(ascii.x - 2, ascii.y, ascii.x, ascii.y),
	                     [](const rgb_color& c) { return SameColor(c, kGrey); }));
	// Text stands on the first baseline: the digits of "He" leave ink.
	EXPECT_TRUE(AnyPixel(harness,
	                     BRect(firstLine.x, firstLine.y - 8, firstLine.x + 20, firstLine.y),
	                     [](const rgb_color& c) { return c.red < 100; }));
	const PixelImage selected = harness.Snapshot();

	harness.PressHexColumn(0x52);
	harness.Key("4");
	EXPECT_EQ(view->SelectionStart(), 0x52u);
	EXPECT_TRUE(view->LowNibblePending());
	EXPECT_TRUE(view->CursorOn());
	const PixelImage typing = harness.Snapshot();
	return Stack(selected, typing);
}

} // namespace

TEST(RenderingPicture, FreeTypeSessionIsDeterministicAndWritten)
{
	// A standing test clock: no pulse blinks the cursor between frames.
	PlatformTesting::SetTestClock(1000000);
	const PixelImage first = DrawSession();
	const PixelImage second = DrawSession();
	PlatformTesting::UseRealClock();

	ASSERT_GT(first.width, 0);
	EXPECT_TRUE(first == second);

	const char* folder = getenv("HEXDUMP_ARTIFACT_DIR");
	const std::filesystem::path directory = folder != NULL ? folder : "artifacts";
	std::filesystem::create_directories(directory);
	const std::string path = (directory / "hexdump-view.png").string();
	EXPECT_EQ(PlatformTesting::WritePNG(first, path.c_str()), B_OK);
	EXPECT_TRUE(std::filesystem::file_size(path) > 1000);
}
