// The selection outline as the line arrays drawn straight into the view
// after the last line, with the test face: top(L) = 4 + 13L, bottom(L) =
// 16 + 13L; hex column from 78 to 359, character column from 371 to 484.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DrawingChecks.h"
#include "HexDumpView.h"
#include "ViewFixture.h"
#include "ViewHarness.h"

using namespace DrawingChecks;

namespace {

float Top(int line)
{
	return 4 + 13 * line;
}

float Bottom(int line)
{
	return 16 + 13 * line;
}

// The hex and character x of a column's first cell, one pixel to its left.
float HexX(int column)
{
	const int kDigit[17] = {0, 2, 5, 7, 10, 12, 15, 17, 20, 22, 25, 27, 30, 32, 35, 37, 40};
	return 79 + 7 * kDigit[column] - 1;
}

float AsciiX(int column)
{
	return 372 + 7 * column - 1;
}

const float kHexLeft = 78;
const float kHexRight = 359;
const float kAsciiLeft = 371;
const float kAsciiRight = 484;

// The closed ring of edges through the given corners.
std::vector<Edge> Ring(std::initializer_list<BPoint> corners)
{
	std::vector<BPoint> points(corners);
	std::vector<Edge> edges;
	for (size_t i = 0; i < points.size(); i++)
		edges.push_back(Edge{points[i], points[(i + 1) % points.size()]});
	return edges;
}

std::vector<Edge> Rectangle(float left, float top, float right, float bottom)
{
	return Ring(
	    {BPoint(left, top), BPoint(right, top), BPoint(right, bottom), BPoint(left, bottom)});
}

std::vector<Edge> Join(std::vector<Edge> first, const std::vector<Edge>& second)
{
	first.insert(first.end(), second.begin(), second.end());
	return first;
}

// 64 bytes; the window is made inactive, so both columns are outlined.
class OutlineTest : public ViewFixture
{
protected:
	OutlineTest() : ViewFixture(kFocused) {}

	void SetUp() override
	{
		ViewFixture::SetUp();
		Open(std::string(64, 'o'));
		SetWindowActive(*fHarness, false);
	}

	// The outline edges of each column after selecting start to end.
	void Outline(uint32 start, uint32 end)
	{
		Select(start, end);
		std::vector<PlatformTesting::DrawCall> calls = RecordRange(*fHarness, 0, 64);
		fHex = GreyEdges(calls, false, 0, 365);
		fAscii = GreyEdges(calls, false, 365, 800);
	}

	std::vector<Edge> fHex;
	std::vector<Edge> fAscii;
};

} // namespace

TEST_F(OutlineTest, EmptySelectionDrawsNothing)
{
	Outline(7, 7);
	EXPECT_TRUE(fHex.empty());
	EXPECT_TRUE(fAscii.empty());
}

TEST_F(OutlineTest, OneLineIsARectangle)
{
	Outline(3, 6);
	EXPECT_EQ(fHex, Rectangle(HexX(3), Top(0), HexX(6), Bottom(0)));
	EXPECT_EQ(fAscii, Rectangle(AsciiX(3), Top(0), AsciiX(6), Bottom(0)));

	// Exactly line 1: whole-column sides, no steps.
	Outline(16, 32);
	EXPECT_EQ(fHex, Rectangle(kHexLeft, Top(1), kHexRight, Bottom(1)));
	EXPECT_EQ(fAscii, Rectangle(kAsciiLeft, Top(1), kAsciiRight, Bottom(1)));
}

TEST_F(OutlineTest, WholeLinesAreAFourSidedPolygon)
{
	Outline(16, 48);
	EXPECT_EQ(fHex, Ring({BPoint(kHexLeft, Top(1)), BPoint(kHexRight, Top(1)),
	                      BPoint(kHexRight, Bottom(2)), BPoint(kHexLeft, Bottom(2))}));
}

TEST_F(OutlineTest, LessThanALineAcrossABreakIsTwoPieces)
{
	Outline(14, 18);
	EXPECT_EQ(fAscii, Join(Rectangle(AsciiX(14), Top(0), kAsciiRight, Bottom(0)),
	                       Rectangle(kAsciiLeft, Bottom(0), AsciiX(2), Bottom(1))));
	EXPECT_EQ(fHex, Join(Rectangle(HexX(14), Top(0), kHexRight, Bottom(0)),
	                     Rectangle(kHexLeft, Bottom(0), HexX(2), Bottom(1))));
}

// Exactly a line long from inside a line: the two steps share one x.
TEST_F(OutlineTest, ALineFromInsideALineIsAnEightSidedPolygon)
{
	Outline(14, 30);
	const float x = AsciiX(14);
	EXPECT_EQ(fAscii,
	          Ring({BPoint(x, Top(0)), BPoint(kAsciiRight, Top(0)), BPoint(kAsciiRight, Bottom(0)),
	                BPoint(x, Bottom(0)), BPoint(x, Bottom(1)), BPoint(kAsciiLeft, Bottom(1)),
	                BPoint(kAsciiLeft, Bottom(0)), BPoint(x, Bottom(0))}));
}

TEST_F(OutlineTest, StepsAtBothEnds)
{
	Outline(14, 46);
	const float x = HexX(14);
	EXPECT_EQ(fHex,
	          Ring({BPoint(x, Top(0)), BPoint(kHexRight, Top(0)), BPoint(kHexRight, Bottom(1)),
	                BPoint(x, Bottom(1)), BPoint(x, Bottom(2)), BPoint(kHexLeft, Bottom(2)),
	                BPoint(kHexLeft, Bottom(0)), BPoint(x, Bottom(0))}));
}

TEST_F(OutlineTest, StepAtTheEndOnly)
{
	Outline(0, 40);
	const float x = HexX(8);
	EXPECT_EQ(fHex, Ring({BPoint(kHexLeft, Top(0)), BPoint(kHexRight, Top(0)),
	                      BPoint(kHexRight, Bottom(1)), BPoint(x, Bottom(1)), BPoint(x, Bottom(2)),
	                      BPoint(kHexLeft, Bottom(2))}));
	EXPECT_EQ(fAscii, Ring({BPoint(kAsciiLeft, Top(0)), BPoint(kAsciiRight, Top(0)),
	                        BPoint(kAsciiRight, Bottom(1)), BPoint(AsciiX(8), Bottom(1)),
	                        BPoint(AsciiX(8), Bottom(2)), BPoint(kAsciiLeft, Bottom(2))}));
}

TEST_F(OutlineTest, StepAtTheStartOnly)
{
	Outline(5, 32);
	EXPECT_EQ(fHex, Ring({BPoint(HexX(5), Top(0)), BPoint(kHexRight, Top(0)),
	                      BPoint(kHexRight, Bottom(1)), BPoint(kHexLeft, Bottom(1)),
	                      BPoint(kHexLeft, Bottom(0)), BPoint(HexX(5), Bottom(0))}));
}

// The character column's right side stays at the column's end, whatever
// the length of the last line; the outline reaches the screen pixels.
TEST_F(OutlineTest, SelectionToTheEndOfData)
{
	Outline(40, 64);
	EXPECT_EQ(fAscii, Ring({BPoint(AsciiX(8), Top(2)), BPoint(kAsciiRight, Top(2)),
	                        BPoint(kAsciiRight, Bottom(3)), BPoint(kAsciiLeft, Bottom(3)),
	                        BPoint(kAsciiLeft, Bottom(2)), BPoint(AsciiX(8), Bottom(2))}));
	EXPECT_TRUE(SameColor(fHarness->Pixel(BPoint(kAsciiRight, Top(3))), kGrey));
	EXPECT_TRUE(SameColor(fHarness->Pixel(BPoint(kAsciiLeft, Bottom(3))), kGrey));
	EXPECT_TRUE(SameColor(fHarness->Pixel(BPoint(kHexLeft, Bottom(3))), kGrey));
	EXPECT_FALSE(SameColor(fHarness->Pixel(BPoint(kHexLeft, Top(2))), kGrey));
}
