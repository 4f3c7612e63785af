// tint_color with the kits' rounding.
#include <InterfaceDefs.h>

#include <gtest/gtest.h>

TEST(TintColorTest, LightensBelowOne)
{
	rgb_color black = {0, 0, 0, 255};
	EXPECT_EQ((rgb_color{102, 102, 102, 255}), tint_color(black, 0.6f));
	EXPECT_EQ((rgb_color{153, 153, 153, 255}), tint_color(black, 0.4f));
	rgb_color grey = {216, 216, 216, 255};
	EXPECT_EQ((rgb_color{231, 231, 231, 255}), tint_color(grey, 0.6f));
	EXPECT_EQ((rgb_color{255, 255, 255, 255}), tint_color(black, B_LIGHTEN_MAX_TINT));
}

TEST(TintColorTest, DarkensFromOneAndKeepsAlpha)
{
	rgb_color color = {200, 100, 0, 77};
	EXPECT_EQ(color, tint_color(color, B_NO_TINT));
	rgb_color darker = tint_color(color, B_DARKEN_2_TINT);
	EXPECT_EQ((rgb_color{141, 70, 0, 77}), darker); // c x 0.705, truncated
	EXPECT_EQ((rgb_color{0, 0, 0, 77}), tint_color(color, B_DARKEN_MAX_TINT));
	// Each component on its own.
	EXPECT_EQ((rgb_color{247, 233, 219, 77}), tint_color(color, 0.14f)); // 255 - (255 - c) x 0.14
}
