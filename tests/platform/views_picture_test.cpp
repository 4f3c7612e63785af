// A window with a few views and text in the FreeType face, written as a PNG
// for people to look at: $HEXDUMP_ARTIFACT_DIR/views_picture.png.
#include <Font.h>
#include <ScrollView.h>
#include <View.h>
#include <Window.h>

#include <PlatformTesting.h>

#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>

#include <string>

#include "windows_fixture.h"

namespace {

class TextView : public BView
{
public:
	TextView(BRect frame, const char* name, const char* text, rgb_color background)
	    : BView(frame, name, B_FOLLOW_ALL_SIDES, B_WILL_DRAW), fText(text)
	{
		SetViewColor(background);
		SetLowColor(background);
	}
	virtual void AttachedToWindow() { SetFont(be_fixed_font); }
	virtual void Draw(BRect)
	{
		font_height height;
		GetFontHeight(&height);
		float line = ceilf(height.ascent + height.descent + height.leading);
		for (int32 i = 0; i < 6; i++) {
			SetHighColor(i == 2 ? kRed : kBlack);
			std::string text = std::to_string(i * 16) + ": " + fText;
			DrawString(text.c_str(), BPoint(4, ceilf(height.ascent) + 3 + i * line));
		}
		SetHighColor(kBlue);
		StrokeRect(BRect(2, 2, 60, ceilf(height.ascent) + 3 + 6 * line));
	}

private:
	std::string fText;
};

TEST(ViewsPictureTest, AWindowWithTextIsWrittenAsAPicture)
{
	PlatformTesting::UseFreeTypeFace();
	BWindow* window = new BWindow(BRect(0, 0, 319, 199), "picture", B_TITLED_WINDOW, 0);
	TextView* text =
	    new TextView(BRect(2, 2, 280, 150), "text", "48 65 78 20 64 75 6d 70  Hex dump",
	                 rgb_color{250, 250, 240, 255});
	window->AddChild(new BScrollView("scroll", text, B_FOLLOW_ALL_SIDES, 0, true, true));
	BView* box = new BView(BRect(10, 175, 309, 194), "box", B_FOLLOW_NONE, B_WILL_DRAW);
	box->SetViewColor(rgb_color{200, 200, 200, 255});
	window->AddChild(box);
	window->Show();
	PlatformTesting::WaitUntilIdle(window);

	PlatformTesting::PixelImage image = PlatformTesting::Snapshot(window);
	window->Lock();
	window->Quit();
	PlatformTesting::UseTestFace();

	// Text drawn by FreeType has antialiased edges: shades between the
	// colours of the text and of its background.
	int32 dark = 0;
	int32 shaded = 0;
	for (int32 y = 4; y < 150; y++) {
		for (int32 x = 6; x < 280; x++) {
			rgb_color pixel = image.At(x, y);
			if (pixel.green < 60)
				dark++;
			else if (pixel.green < 200)
				shaded++;
		}
	}
	EXPECT_GT(dark, 100);
	EXPECT_GT(shaded, 100);
	EXPECT_COLOR(image.At(100, 185), (rgb_color{200, 200, 200, 255}));

	const char* folder = getenv("HEXDUMP_ARTIFACT_DIR");
	std::string directory = folder != NULL && folder[0] != '\0' ? folder : ".";
	mkdir(directory.c_str(), 0755);
	std::string path = directory + "/views_picture.png";
	ASSERT_EQ(PlatformTesting::WritePNG(image, path.c_str()), B_OK);
	struct stat info;
	ASSERT_EQ(stat(path.c_str(), &info), 0);
	EXPECT_GT(info.st_size, 500);
}

} // namespace
