// The dump's layout with the test face (ascent 10, descent 3, leading 0,
// advance 7): metrics, byte positions, hit testing as the inverse of the
// positions, the column tests, the sizes, and DataChanged's clamping.

#include <gtest/gtest.h>

#include <float.h>
#include <math.h>

#include <string>

#include "Document.h"
#include "HexDumpFullEditor.h"
#include "HexDumpView.h"
#include "PlatformTesting.h"
#include "ViewFixture.h"
#include "ViewHarness.h"

namespace {

class GeometryTest : public ViewFixture
{
protected:
	uint32 Hit(float x, float y, bool nearest)
	{
		ViewHarness::WindowLock lock(*fHarness);
		return View()->PointToOffset(BPoint(x, y), nearest);
	}
};

} // namespace

TEST(GeometryBeforeAttachment, SizesAndHitsAreZero)
{
	PlatformTesting::UseTestFace();
	Document document;
	BResourceHandle item = document.AddItem('RAWT', 1, "item", "0123456789", 10);
	HexDumpFullEditor editor(document.AddonArgs(), item);
	HexDumpView* view = editor.DumpView();

	EXPECT_EQ(view->LineHeight(), 0);
	float width = -1, height = -1;
	view->GetContentSize(width, height);
	EXPECT_EQ(width, 46);
	EXPECT_EQ(height, 6);
	EXPECT_EQ(view->PointToOffset(BPoint(200, 200), true), 0u);
	EXPECT_EQ(view->OffsetToHexPoint(5), BPoint(23, 3));
	EXPECT_FALSE(view->CursorOn());
	EXPECT_TRUE(view->HexColumnActive());
	EXPECT_EQ(view->SelectionStart(), 0u);
	EXPECT_EQ(view->SelectionEnd(), 0u);
}

TEST_F(GeometryTest, MetricsAndColumnEdges)
{
	Open(Counting(40));
	ViewHarness::WindowLock lock(*fHarness);
	HexDumpView* view = View();

	EXPECT_EQ(view->LineHeight(), 13);
	// First baseline 13, hex column at 56 + 23.
	EXPECT_EQ(view->OffsetToHexPoint(0), BPoint(79, 13));
	EXPECT_EQ(view->OffsetToAsciiPoint(0), BPoint(372, 13));

	// The strict tests include both edges of each column: the hex column is
	// 273 wide, the character column 112.
	EXPECT_TRUE(view->InHexColumn(BPoint(79, 0), true));
	EXPECT_FALSE(view->InHexColumn(BPoint(78.5, 0), true));
	EXPECT_TRUE(view->InHexColumn(BPoint(352, 0), true));
	EXPECT_FALSE(view->InHexColumn(BPoint(352.5, 0), true));
	EXPECT_TRUE(view->InAsciiColumn(BPoint(372, 0), true));
	EXPECT_FALSE(view->InAsciiColumn(BPoint(371.5, 0), true));
	EXPECT_TRUE(view->InAsciiColumn(BPoint(484, 0), true));
	EXPECT_FALSE(view->InAsciiColumn(BPoint(484.5, 0), true));

	// The split at 355: every point lies on exactly one side.
	for (float x : {0.0f, 354.5f, 355.0f, 355.5f, 360.0f, 600.0f}) {
		EXPECT_NE(view->InHexColumn(BPoint(x, 7), false), view->InAsciiColumn(BPoint(x, 7), false))
		    << x;
	}
	EXPECT_TRUE(view->InHexColumn(BPoint(355, 7), false));
	EXPECT_TRUE(view->InAsciiColumn(BPoint(355.5, 7), false));

	float width, height;
	view->GetContentSize(width, height);
	EXPECT_EQ(width, 487);
}

TEST_F(GeometryTest, BytePositions)
{
	Open(Counting(40));
	ViewHarness::WindowLock lock(*fHarness);
	EXPECT_EQ(View()->OffsetToHexPoint(18), BPoint(114, 26));
	EXPECT_EQ(View()->OffsetToAsciiPoint(18), BPoint(386, 26));

	// Digit index of each column's first digit: groups of two bytes and a
	// space.
	const int kDigit[16] = {0, 2, 5, 7, 10, 12, 15, 17, 20, 22, 25, 27, 30, 32, 35, 37};
	for (int column = 0; column < 16; column++) {
		EXPECT_EQ(View()->OffsetToHexPoint(32 + column), BPoint(79 + 7 * kDigit[column], 39))
		    << column;
		EXPECT_EQ(View()->OffsetToAsciiPoint(32 + column), BPoint(372 + 7 * column, 39));
	}
	// The boundary after a full last line lies on the next line.
	EXPECT_EQ(View()->OffsetToHexPoint(48), BPoint(79, 52));
}

TEST_F(GeometryTest, HitTestingPoints)
{
	Open(Counting(40));
	EXPECT_EQ(Hit(114, 26, false), 18u);
	EXPECT_EQ(Hit(114, 26, true), 18u);
	// Second digit of byte 0: the byte, or with nearest the boundary after.
	EXPECT_EQ(Hit(89, 13, false), 0u);
	EXPECT_EQ(Hit(89, 13, true), 1u);
	EXPECT_EQ(Hit(398, 13, false), 3u);
	EXPECT_EQ(Hit(398, 13, true), 4u);
	// Just right of the hex column: the boundary after the line.
	EXPECT_EQ(Hit(353, 13, false), 16u);
	// In the gap beyond the split, and in the offset column.
	EXPECT_EQ(Hit(360, 26, false), 16u);
	EXPECT_EQ(Hit(360, 26, true), 16u);
	EXPECT_EQ(Hit(10, 26, false), 16u);
	EXPECT_EQ(Hit(10, 26, true), 16u);
	// Above the first line: truncation toward zero, then clamping.
	EXPECT_EQ(Hit(114, 0, false), 2u);
	EXPECT_EQ(Hit(114, -20, false), 0u);
	// Far below and far right: the data size.
	EXPECT_EQ(Hit(114, 5000, false), 40u);
	EXPECT_EQ(Hit(1e9f, 1e12f, true), 40u);
	EXPECT_EQ(Hit(-1e9f, -1e12f, true), 0u);
	// A group's trailing space belongs to the next group.
	EXPECT_EQ(Hit(79 + 7 * 4 + 3, 13, false), 2u);
	EXPECT_EQ(Hit(79 + 7 * 4 + 3, 13, true), 2u);
}

TEST_F(GeometryTest, NoDataHitsZeroEverywhere)
{
	Open(Counting(0));
	for (float y : {-10.0f, 0.0f, 13.0f, 100.0f})
		for (float x : {0.0f, 100.0f, 360.0f, 400.0f, 700.0f}) {
			EXPECT_EQ(Hit(x, y, false), 0u);
			EXPECT_EQ(Hit(x, y, true), 0u);
		}
}

// Every byte, every row of its line box and both panes: the point a byte is
// drawn at maps back to the byte.
TEST_F(GeometryTest, PointsAndOffsetsRoundTrip)
{
	Open(Counting(48));
	ViewHarness::WindowLock lock(*fHarness);
	HexDumpView* view = View();
	for (uint32 offset = 0; offset < 48; offset++) {
		const BPoint hex = view->OffsetToHexPoint(offset);
		const BPoint ascii = view->OffsetToAsciiPoint(offset);
		for (float dy = -10; dy <= 2; dy++) {
			// Either digit of the byte hits it; with nearest the second digit
			// hits the boundary after it.
			EXPECT_EQ(view->PointToOffset(hex + BPoint(0, dy), false), offset);
			EXPECT_EQ(view->PointToOffset(hex + BPoint(1, dy), true), offset);
			EXPECT_EQ(view->PointToOffset(hex + BPoint(7 + 3, dy), false), offset);
			EXPECT_EQ(view->PointToOffset(hex + BPoint(7 + 3, dy), true), offset + 1);
			// A character's left half is in front of it, the right half behind.
			EXPECT_EQ(view->PointToOffset(ascii + BPoint(2, dy), false), offset);
			EXPECT_EQ(view->PointToOffset(ascii + BPoint(2, dy), true), offset);
			EXPECT_EQ(view->PointToOffset(ascii + BPoint(5, dy), false), offset);
			EXPECT_EQ(view->PointToOffset(ascii + BPoint(5, dy), true), offset + 1);
		}
	}
	EXPECT_EQ(view->PointToOffset(view->OffsetToHexPoint(48), false), 48u);
	EXPECT_EQ(view->PointToOffset(view->OffsetToAsciiPoint(48), true), 48u);
}

TEST_F(GeometryTest, PointsFarOutsideTheViewMapToTheDataEnds)
{
	// Coordinates at and beyond the int32 range: the column arithmetic of
	// both panes must neither overflow nor wrap to the other end.
	Open(Counting(40));
	const float far = 4294967294.0f;
	for (bool nearest : {false, true}) {
		SCOPED_TRACE(nearest ? "nearest" : "not nearest");
		EXPECT_EQ(Hit(far, 10, nearest), 16u);
		EXPECT_EQ(Hit(FLT_MAX, 20, nearest), 32u);
		EXPECT_EQ(Hit(-far, 20, nearest), 16u);
		EXPECT_EQ(Hit(-FLT_MAX, 10, nearest), 0u);
		EXPECT_EQ(Hit(far, far, nearest), 40u);
		EXPECT_EQ(Hit(-far, far, nearest), 40u);
		EXPECT_EQ(Hit(far, -far, nearest), 0u);
		EXPECT_EQ(Hit(INFINITY, INFINITY, nearest), 40u);
		EXPECT_EQ(Hit(-INFINITY, -INFINITY, nearest), 0u);
		EXPECT_LE(Hit(NAN, NAN, nearest), 40u);
	}
}

TEST(GeometrySizes, ContentAndPreferredSizeFollowTheData)
{
	struct Case
	{
		size_t size;
		float contentHeight;
		float preferredHeight;
	};
	for (const Case& c : {Case{40, 32, 214}, Case{10000, 8131, 422}, Case{0, 6, 214},
	                      Case{16 * 16, 214, 214}, Case{16 * 20 + 15, 266, 266}}) {
		ViewHarness harness(Counting(c.size));
		ViewHarness::WindowLock lock(harness);
		float width, height;
		harness.View()->GetContentSize(width, height);
		EXPECT_EQ(width, 487) << c.size;
		EXPECT_EQ(height, c.contentHeight) << c.size;
		harness.View()->GetPreferredSize(width, height);
		EXPECT_EQ(width, 487) << c.size;
		EXPECT_EQ(height, c.preferredHeight) << c.size;
	}
}

TEST_F(GeometryTest, DataChangedClampsTheSelection)
{
	Open(Counting(40));
	const std::string bytes = Counting(30);
	struct Case
	{
		uint32 size;
		uint32 start, end;
	};
	for (const Case& c : {Case{15, 10, 15}, Case{5, 5, 5}, Case{30, 10, 20}}) {
		ViewHarness::WindowLock lock(*fHarness);
		View()->Select(10, 20);
		fHarness->Editor()->SetData(bytes.data(), c.size, false);
		View()->DataChanged();
		EXPECT_EQ(View()->SelectionStart(), c.start) << c.size;
		EXPECT_EQ(View()->SelectionEnd(), c.end) << c.size;
		fHarness->Editor()->SetData(bytes.data(), 30, false);
	}
}

// A change from the host between the two digits of a byte: the next digit
// must start a new byte, and the cursor must leave no inverted bar behind
// at its old place.
TEST_F(GeometryTest, DataChangedEndsAHalfTypedByteAndMovesTheCursorCleanly)
{
	Open(Counting(40));
	fHarness->Focus();
	{
		ViewHarness::WindowLock lock(*fHarness);
		View()->Select(30, 30);
	}
	fHarness->WaitUntilIdle();
	fHarness->Key("4");
	ASSERT_TRUE(View()->LowNibblePending());
	ASSERT_TRUE(View()->CursorOn());

	BPoint oldBar, newBar;
	{
		ViewHarness::WindowLock lock(*fHarness);
		oldBar = View()->OffsetToHexPoint(30) + BPoint(7 - 1, -4);
		newBar = View()->OffsetToHexPoint(5) + BPoint(-1, -4);
		fHarness->Editor()->SetData(Counting(5).data(), 5, false);
		View()->DataChanged();
		EXPECT_FALSE(View()->LowNibblePending());
		// Off at the old place, on again at the new one.
		EXPECT_TRUE(View()->CursorOn());
	}
	fHarness->WaitUntilIdle();

	const rgb_color white = {255, 255, 255, 255};
	const rgb_color black = {0, 0, 0, 255};
	EXPECT_EQ(View()->SelectionStart(), 5u);
	EXPECT_TRUE(View()->CursorOn());
	EXPECT_EQ(fHarness->Pixel(oldBar), white);
	EXPECT_EQ(fHarness->Pixel(newBar), black);

	// The digit starts a byte of its own at the cursor.
	fHarness->Key("7");
	EXPECT_TRUE(View()->LowNibblePending());
	ViewHarness::WindowLock lock(*fHarness);
	EXPECT_EQ(std::string(fHarness->Editor()->Data(), fHarness->Editor()->Size()),
	          Counting(5) + "\x70");
}
