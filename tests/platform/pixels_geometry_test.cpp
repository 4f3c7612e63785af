// BRect with inclusive edges, and BRegion checked against a grid of pixels.
#include <Rect.h>
#include <Region.h>

#include <gtest/gtest.h>

#include <vector>

TEST(BRectTest, EdgesBelongToTheRectangle)
{
	BRect rect(0, 0, 2, 3);
	EXPECT_EQ(2, rect.Width());
	EXPECT_EQ(3, rect.Height());
	EXPECT_TRUE(rect.Contains(BPoint(2, 3)));
	EXPECT_FALSE(rect.Contains(BPoint(2.5, 3)));
	// Rectangles that share only an edge pixel intersect.
	EXPECT_TRUE(rect.Intersects(BRect(2, 3, 5, 5)));
	EXPECT_FALSE(rect.Intersects(BRect(3, 0, 5, 5)));
	EXPECT_EQ(BRect(2, 3, 2, 3), rect & BRect(2, 3, 5, 5));
	EXPECT_FALSE((rect & BRect(3, 0, 5, 5)).IsValid());
	EXPECT_EQ(BRect(0, 0, 5, 6), rect | BRect(4, 4, 5, 6));
	EXPECT_FALSE(BRect().IsValid());
}

TEST(BRectTest, MovingAndInsetting)
{
	BRect rect(10, 20, 30, 40);
	EXPECT_EQ(BRect(12, 23, 28, 37), rect.InsetByCopy(2, 3));
	EXPECT_EQ(BRect(5, 5, 25, 25), rect.OffsetToCopy(5, 5));
	EXPECT_EQ(BRect(11, 19, 31, 39), rect.OffsetByCopy(BPoint(1, -1)));
	rect.InsetBy(-1, -1);
	EXPECT_EQ(BRect(9, 19, 31, 41), rect);
	EXPECT_EQ(BPoint(9, 41), rect.LeftBottom());
	EXPECT_EQ(BPoint(31, 19), rect.RightTop());
}

namespace {

const int kGrid = 24;

// The reference: which pixels of a small grid a region should hold.
struct PixelSet
{
	std::vector<bool> pixels = std::vector<bool>(kGrid * kGrid, false);

	void Set(const clipping_rect& rect, bool value)
	{
		for (int y = std::max(0, int(rect.top)); y <= std::min(kGrid - 1, int(rect.bottom)); y++)
			for (int x = std::max(0, int(rect.left)); x <= std::min(kGrid - 1, int(rect.right));
			     x++)
				pixels[y * kGrid + x] = value;
	}
	bool At(int x, int y) const { return pixels[y * kGrid + x]; }
};

void ExpectSame(const BRegion& region, const PixelSet& expected)
{
	int64 area = 0;
	for (int32 i = 0; i < region.CountRects(); i++) {
		clipping_rect rect = region.RectAtInt(i);
		ASSERT_LE(rect.left, rect.right);
		ASSERT_LE(rect.top, rect.bottom);
		area += int64(rect.right - rect.left + 1) * (rect.bottom - rect.top + 1);
	}
	int64 expectedArea = 0;
	for (int y = 0; y < kGrid; y++) {
		for (int x = 0; x < kGrid; x++) {
			ASSERT_EQ(expected.At(x, y), region.Contains(x, y)) << "at " << x << ", " << y;
			expectedArea += expected.At(x, y) ? 1 : 0;
		}
	}
	// Equal areas with equal coverage means the rectangles do not overlap.
	EXPECT_EQ(expectedArea, area);
}

} // namespace

TEST(BRegionTest, IncludeAndExcludeMatchAPixelGrid)
{
	// A fixed pseudo-random sequence, the same on every run.
	uint32 seed = 12345;
	auto next = [&seed](int range) {
		seed = seed * 1103515245 + 12345;
		return int((seed >> 16) % uint32(range));
	};
	BRegion region;
	PixelSet expected;
	for (int step = 0; step < 200; step++) {
		// Inside the grid, so the areas compare.
		int left = next(kGrid - 8), top = next(kGrid - 8);
		clipping_rect rect{left, top, left + next(8), top + next(8)};
		bool include = next(3) != 0;
		if (include)
			region.Include(rect);
		else
			region.Exclude(rect);
		expected.Set(rect, include);
		ExpectSame(region, expected);
		if (HasFatalFailure())
			return;
	}
}

TEST(BRegionTest, IntersectWithKeepsTheCommonPixels)
{
	BRegion a;
	a.Include(BRect(0, 0, 9, 9));
	a.Exclude(BRect(3, 3, 5, 5));
	BRegion b;
	b.Include(BRect(4, 0, 14, 4));
	b.Include(BRect(0, 8, 2, 12));
	a.IntersectWith(&b);
	PixelSet expected;
	expected.Set({4, 0, 9, 2}, true);
	expected.Set({6, 3, 9, 4}, true);
	expected.Set({0, 8, 2, 9}, true);
	ExpectSame(a, expected);
	EXPECT_EQ(BRect(0, 0, 9, 9), a.Frame());
}

TEST(BRegionTest, ExcludingTheMiddleLeavesAFrame)
{
	BRegion region(BRect(0, 0, 4, 4));
	region.Exclude(BRect(1, 1, 3, 3));
	EXPECT_EQ(4, region.CountRects());
	EXPECT_FALSE(region.Contains(2, 2));
	EXPECT_TRUE(region.Contains(4, 4));
	EXPECT_EQ(BRect(0, 0, 4, 4), region.Frame());
}

TEST(BRegionTest, NeighboursMergeIntoOneRectangle)
{
	BRegion region;
	region.Include(BRect(0, 0, 4, 1));
	region.Include(BRect(0, 2, 4, 3));
	region.Include(BRect(5, 0, 6, 3));
	EXPECT_EQ(1, region.CountRects());
	EXPECT_EQ(BRect(0, 0, 6, 3), region.RectAt(0));
}

TEST(BRegionTest, EmptyRegionsAndOffsets)
{
	BRegion region;
	EXPECT_EQ(0, region.CountRects());
	EXPECT_FALSE(region.Frame().IsValid());
	region.Include(BRect(5, 5, 4, 4)); // invalid: nothing
	EXPECT_EQ(0, region.CountRects());

	region.Set(BRect(1, 2, 3, 4));
	region.OffsetBy(10, -2);
	EXPECT_EQ(BRect(11, 0, 13, 2), region.Frame());
	BRegion copy(region);
	region.MakeEmpty();
	EXPECT_EQ(0, region.CountRects());
	EXPECT_EQ(1, copy.CountRects());
}

TEST(BRegionTest, FractionalRectanglesRoundToTheNearestPixel)
{
	BRegion region(BRect(0.4f, 0.6f, 2.5f, 2.4f));
	EXPECT_EQ(BRect(0, 1, 3, 2), region.Frame());
}
