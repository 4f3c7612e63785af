// Line rendering with the test face: the texts of each line, the selection
// filled in the active column and outlined in the other, the area below the
// data, and the lines a redraw leaves out.

#include <gtest/gtest.h>

#include <InterfaceDefs.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DrawingChecks.h"
#include "HexDumpFullEditor.h"
#include "HexDumpView.h"
#include "ViewFixture.h"
#include "ViewHarness.h"

using namespace DrawingChecks;
using PlatformTesting::DrawCall;

namespace {

class RenderingTest : public ViewFixture
{
protected:
	std::vector<DrawCall> Range(int32 start, int32 end, bool clearToBottom = false)
	{
		return RecordRange(*fHarness, start, end, true, clearToBottom);
	}
};

std::vector<std::string> Lines(std::initializer_list<const char*> texts)
{
	return std::vector<std::string>(texts.begin(), texts.end());
}

} // namespace

TEST_F(RenderingTest, LineTextsLabelsAndPositions)
{
	// The range comes within a line of the end: it runs on to the line that
	// holds the end of the data, which carries its label alone.
	Open(Counting(32));
	std::vector<DrawCall> calls = Range(0, 0);
	EXPECT_EQ(Texts(calls),
	          Lines({"00000000", "0001 0203 0405 0607 0809 0A0B 0C0D 0E0F ", "................",
	                 "00000010", "1011 1213 1415 1617 1819 1A1B 1C1D 1E1F ", "................",
	                 "00000020"}));

	std::vector<DrawCall> strings = Strings(calls);
	ASSERT_EQ(strings.size(), 7u);
	const rgb_color label = {102, 102, 102, 255};
	EXPECT_EQ(strings[0].start, BPoint(3, 13));
	EXPECT_TRUE(SameColor(strings[0].high, label));
	EXPECT_EQ(strings[1].start, BPoint(79, 13));
	EXPECT_TRUE(SameColor(strings[1].high, kBlack));
	EXPECT_EQ(strings[2].start, BPoint(372, 13));
	EXPECT_EQ(strings[3].start, BPoint(3, 26));
	for (const DrawCall& call : strings)
		EXPECT_TRUE(call.inBitmap) << call.text;

	// The drawing view's colours are as the line found them.
	ViewHarness::WindowLock lock(*fHarness);
	EXPECT_TRUE(SameColor(View()->HighColor(), kBlack));
	EXPECT_TRUE(SameColor(View()->LowColor(), kWhite));
	EXPECT_EQ(View()->DrawingMode(), B_OP_COPY);
}

TEST_F(RenderingTest, PartialLastLineAndCharacters)
{
	Open(Counting(20, 0x10));
	EXPECT_EQ(Texts(Range(0, 20)), Lines({"00000000", "1011 1213 1415 1617 1819 1A1B 1C1D 1E1F ",
	                                      "................", "00000010", "2021 2223 ", " !\"#"}));

	Open(std::string("\x00\x0a\x7f\x80\xff\x20\x41", 7));
	EXPECT_EQ(Texts(Range(0, 7)), Lines({"00000000", "000A 7F80 FF20 41", "..... A"}));
}

TEST_F(RenderingTest, EmptyAndOutOfRangeLinesShowTheLabelAlone)
{
	Open("");
	std::vector<DrawCall> calls = Range(0, 0);
	EXPECT_EQ(Texts(calls), Lines({"00000000"}));
	// The blank area: from the bottom of the line's box down to the bottom
	// of the view, straight into the view.
	std::vector<BRect> blank = Fills(calls, kWhite, false);
	ASSERT_EQ(blank.size(), 1u);
	EXPECT_EQ(blank[0].top, 16);
	{
		ViewHarness::WindowLock lock(*fHarness);
		EXPECT_EQ(blank[0].bottom, View()->Bounds().bottom);
	}

	Open(Counting(32));
	EXPECT_EQ(Texts(Range(32, 32)), Lines({"00000020"}));
	// A range beyond the data: the forced line draws no bytes.
	EXPECT_EQ(Texts(Range(64, 64)), Lines({"00000040"}));
	EXPECT_EQ(Texts(Range(80, 16)), Lines({"00000050"}));
}

TEST_F(RenderingTest, ClearToBottomFillsDownToTheViewsBottom)
{
	Open(Counting(32));
	std::vector<DrawCall> calls = Range(32, 32, true);
	EXPECT_EQ(Texts(calls), Lines({"00000020"}));
	std::vector<BRect> blank = Fills(calls, kWhite, false);
	ASSERT_EQ(blank.size(), 1u);
	ViewHarness::WindowLock lock(*fHarness);
	EXPECT_EQ(blank[0].top, 13 + 2 * 13 + 3);
	EXPECT_EQ(blank[0].bottom, View()->Bounds().bottom);
	EXPECT_EQ(blank[0].left, View()->Bounds().left);
	EXPECT_EQ(blank[0].right, View()->Bounds().right);
}

// Only the lines on screen are drawn, and a far line once scrolled to.
TEST_F(RenderingTest, LinesOutsideTheBoundsAreLeftOut)
{
	Open(Counting(4672));
	std::vector<std::string> texts = Texts(Range(0, 4672));
	EXPECT_NE(std::find(texts.begin(), texts.end(), "00000000"), texts.end());
	EXPECT_EQ(std::find(texts.begin(), texts.end(), "00001230"), texts.end());
	float visibleHeight;
	{
		ViewHarness::WindowLock lock(*fHarness);
		visibleHeight = View()->Bounds().Height() + 1;
	}
	// Every label is one line; no line wholly below the bounds is drawn.
	const size_t lines = texts.size() / 3;
	EXPECT_LE(float(lines - 1) * 13 + 3, visibleHeight);
	EXPECT_GE(float(lines + 1) * 13 + 3, visibleHeight);

	{
		ViewHarness::WindowLock lock(*fHarness);
		View()->ScrollTo(0, 13 * 291);
	}
	fHarness->WaitUntilIdle();
	// The range's line is the data's last: after it only the line that
	// holds the end of the data, with its label alone.
	texts = Texts(Range(4656, 4656));
	ASSERT_EQ(texts.size(), 4u);
	EXPECT_EQ(texts[0], "00001230");
	EXPECT_EQ(texts[3], "00001240");
}

// Line 0 holds 0x00..0x0F; selection 5..9, hex column active, focused.
TEST_F(RenderingTest, SelectionFilledInTheActiveColumn)
{
	Open(Counting(32));
	fHarness->Focus();
	Select(5, 9);
	std::vector<DrawCall> calls = Range(0, 0);
	std::vector<DrawCall> strings = Strings(calls);
	ASSERT_GE(strings.size(), 5u);
	EXPECT_EQ(strings[1].text, "0001 0203 04");
	EXPECT_EQ(strings[2].text, "05 0607 08");
	EXPECT_EQ(strings[3].text, "09 0A0B 0C0D 0E0F ");
	EXPECT_EQ(strings[4].text, "................");
	EXPECT_TRUE(SameColor(strings[1].low, kWhite));
	EXPECT_TRUE(SameColor(strings[2].low, kGrey));
	EXPECT_TRUE(SameColor(strings[3].low, kWhite));
	EXPECT_EQ(strings[3].start.x, 79 + 22 * 7);

	// The run ends in a digit: the fill ends one pixel before endX.
	std::vector<BRect> fills = Fills(calls, kGrey, true);
	ASSERT_EQ(fills.size(), 1u);
	EXPECT_EQ(fills[0], BRect(79 + 12 * 7 - 1, 3, 79 + 22 * 7 - 1, 15));
	EXPECT_TRUE(SameColor(fHarness->Pixel(BPoint(79 + 22 * 7 - 1, 15)), kGrey));
	EXPECT_TRUE(SameColor(fHarness->Pixel(BPoint(79 + 22 * 7, 15)), kWhite));
	EXPECT_TRUE(SameColor(fHarness->Pixel(BPoint(79 + 12 * 7 - 1, 3)), kGrey));
	EXPECT_TRUE(SameColor(fHarness->Pixel(BPoint(79 + 12 * 7 - 2, 3)), kWhite));

	// The character column is plain and outlined.
	EXPECT_FALSE(GreyEdges(calls, true, 365, 800).empty());
	EXPECT_TRUE(GreyEdges(calls, true, 0, 365).empty());
	EXPECT_TRUE(SameColor(fHarness->Pixel(BPoint(372 + 6 * 7 + 3, 15)), kWhite));
}

TEST_F(RenderingTest, TrailingGroupSpaceIsNotFilled)
{
	Open(Counting(32));
	fHarness->Focus();
	Select(4, 8);
	std::vector<DrawCall> calls = Range(0, 0);
	std::vector<std::string> texts = Texts(calls);
	ASSERT_GE(texts.size(), 3u);
	EXPECT_EQ(texts[2], "0405 0607 ");
	// endX is 79 + 20 * 7; the fill stops a character before it.
	std::vector<BRect> fills = Fills(calls, kGrey, true);
	ASSERT_EQ(fills.size(), 1u);
	EXPECT_EQ(fills[0], BRect(79 + 10 * 7 - 1, 3, 79 + 20 * 7 - 7, 15));
	EXPECT_TRUE(SameColor(fHarness->Pixel(BPoint(79 + 20 * 7 - 7, 15)), kGrey));
	EXPECT_TRUE(SameColor(fHarness->Pixel(BPoint(79 + 20 * 7 - 6, 15)), kWhite));
}

TEST_F(RenderingTest, CharacterColumnActiveFillsItsRun)
{
	Open("abc def ghi");
	fHarness->Focus();
	fHarness->PressAsciiColumn(0);
	ASSERT_FALSE(View()->HexColumnActive());
	// "c d" ends in no space, "c " in one.
	Select(2, 5);
	std::vector<DrawCall> calls = Range(0, 0);
	EXPECT_EQ(Fills(calls, kGrey, true),
	          std::vector<BRect>({BRect(372 + 2 * 7 - 1, 3, 372 + 5 * 7 - 1, 15)}));
	EXPECT_FALSE(GreyEdges(calls, true, 0, 365).empty());
	EXPECT_TRUE(GreyEdges(calls, true, 365, 800).empty());

	Select(2, 4);
	calls = Range(0, 0);
	EXPECT_EQ(Texts(calls)[3], "c ");
	EXPECT_EQ(Fills(calls, kGrey, true),
	          std::vector<BRect>({BRect(372 + 2 * 7 - 1, 3, 372 + 4 * 7 - 7, 15)}));
}

TEST_F(RenderingTest, InactiveWindowOrNoFocusOutlinesBothColumns)
{
	Open(Counting(32));
	fHarness->Focus();
	Select(5, 9);
	SetWindowActive(*fHarness, false);
	std::vector<DrawCall> calls = Range(0, 0);
	EXPECT_TRUE(Fills(calls, kGrey, true).empty());
	EXPECT_FALSE(GreyEdges(calls, true, 0, 365).empty());
	EXPECT_FALSE(GreyEdges(calls, true, 365, 800).empty());
	// The last line's outlines also go straight into the view.
	EXPECT_FALSE(GreyEdges(calls, false, 0, 365).empty());
	EXPECT_FALSE(GreyEdges(calls, false, 365, 800).empty());
	for (const DrawCall& call : Strings(calls))
		EXPECT_TRUE(SameColor(call.low, kWhite)) << call.text;
	EXPECT_FALSE(SameColor(fHarness->Pixel(BPoint(200, 15)), kGrey));

	SetWindowActive(*fHarness, true);
	{
		ViewHarness::WindowLock lock(*fHarness);
		View()->MakeFocus(false);
	}
	fHarness->WaitUntilIdle();
	calls = Range(0, 0);
	EXPECT_TRUE(Fills(calls, kGrey, true).empty());
	EXPECT_FALSE(GreyEdges(calls, true, 0, 365).empty());
	EXPECT_FALSE(GreyEdges(calls, true, 365, 800).empty());
}

// The direct path draws the lines of the update area into the view itself.
TEST_F(RenderingTest, DrawMapsTheUpdateAreaToLines)
{
	Open(Counting(160));
	ViewHarness::WindowLock lock(*fHarness);
	PlatformTesting::DrawingRecord record;
	// Rows of lines 4 and 5, widened by a line either way (lines 3 to 6);
	// the line after the range is drawn as well.
	View()->Draw(BRect(0, 3 + 13 * 4, 400, 3 + 13 * 6 - 1));
	std::vector<std::string> labels;
	for (const DrawCall& call : Strings(record.Calls())) {
		EXPECT_FALSE(call.inBitmap);
		if (call.start.x == 3)
			labels.push_back(call.text);
	}
	EXPECT_EQ(labels, Lines({"00000030", "00000040", "00000050", "00000060", "00000070"}));
}
