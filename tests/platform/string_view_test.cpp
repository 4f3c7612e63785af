// BStringView in a shown window: one line of text in the view's font from
// its left edge, on the view color; SetText redraws; its preferred size
// is the text's width and one line of the font.
#include <Autolock.h>
#include <InterfaceDefs.h>
#include <StringView.h>

#include "windows_fixture.h"

namespace {

// The columns of the window's first 20 rows that hold a pixel other than
// the background, as a range [first, last]; {-1, -1} when there is none.
std::pair<int32, int32> InkColumns(TestWindow& window, rgb_color background)
{
	PlatformTesting::PixelImage image = PlatformTesting::Snapshot(window.Get());
	std::pair<int32, int32> ink(-1, -1);
	for (int32 y = 0; y < 20; y++) {
		for (int32 x = 0; x < image.width; x++) {
			if (ColorText(image.At(x, y)) == ColorText(background))
				continue;
			if (ink.first < 0 || x < ink.first)
				ink.first = x;
			ink.second = std::max(ink.second, x);
		}
	}
	return ink;
}

TEST(StringViewTest, DrawsItsTextAndFollowsSetText)
{
	TestWindow window(BRect(0, 0, 99, 19));
	BStringView* label = new BStringView(BRect(0, 0, 99, 19), "label", "abc");
	label->SetViewColor(kWhite);
	window.Add(label);
	{
		BAutolock lock(window.Get());
		EXPECT_STREQ(label->Text(), "abc");
		float width;
		float height;
		label->GetPreferredSize(&width, &height);
		EXPECT_EQ(width, 21);  // three advances of 7
		EXPECT_EQ(height, 13); // ascent 10 + descent 3
	}
	std::pair<int32, int32> left = InkColumns(window, kWhite);
	EXPECT_GE(left.first, 0);
	EXPECT_LE(left.second, 20);

	// A longer text reaches further right; an empty one draws nothing.
	window->Lock();
	label->SetText("abcdefgh");
	window->Unlock();
	window.Idle();
	EXPECT_GT(InkColumns(window, kWhite).second, 30);
	window->Lock();
	label->SetText(NULL);
	EXPECT_STREQ(label->Text(), "");
	window->Unlock();
	window.Idle();
	EXPECT_EQ(InkColumns(window, kWhite), std::make_pair(-1, -1));
}

} // namespace
