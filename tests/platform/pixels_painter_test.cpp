// Painter: extents, clipping, inversion, lines, text coverage and copies,
// checked pixel by pixel.
#include "Painter.h"
#include "PixelBuffer.h"
#include "TestFace.h"

#include "PlatformTesting.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

const rgb_color kWhite = {255, 255, 255, 255};
const rgb_color kBlack = {0, 0, 0, 255};
const rgb_color kRed = {255, 0, 0, 255};
const rgb_color kBlue = {0, 0, 255, 255};
const rgb_color kGreen = {0, 200, 0, 255};

typedef std::set<std::pair<int32, int32>> PixelSet;

BRegion Everything(const PixelBuffer& buffer)
{
	return BRegion(BRect(0, 0, buffer.Width() - 1, buffer.Height() - 1));
}

// The pixels whose colour differs from background.
PixelSet Changed(const PixelBuffer& buffer, rgb_color background)
{
	PixelSet changed;
	for (int32 y = 0; y < buffer.Height(); y++) {
		for (int32 x = 0; x < buffer.Width(); x++) {
			if (buffer.PixelAt(x, y) != background)
				changed.insert({x, y});
		}
	}
	return changed;
}

PixelSet RectPixels(int32 left, int32 top, int32 right, int32 bottom)
{
	PixelSet pixels;
	for (int32 y = top; y <= bottom; y++)
		for (int32 x = left; x <= right; x++)
			pixels.insert({x, y});
	return pixels;
}

void Fill(PixelBuffer& buffer, rgb_color color)
{
	Painter(buffer, Everything(buffer)).FillRect(BRect(0, 0, 1000, 1000), color);
}

class FaceScope
{
public:
	FaceScope(bool testFace)
	{
		if (testFace)
			PlatformTesting::UseTestFace();
		else
			PlatformTesting::UseFreeTypeFace();
	}
	~FaceScope() { PlatformTesting::UseFreeTypeFace(); }
};

} // namespace

TEST(PixelBufferTest, StartsWhiteAndResizesKeepingPixels)
{
	PixelBuffer buffer(3, 2);
	EXPECT_EQ(kWhite, buffer.PixelAt(2, 1));
	buffer.SetPixel(1, 1, kRed);
	EXPECT_EQ(kRed, buffer.PixelAt(1, 1));
	// Memory order blue, green, red, alpha.
	const uint8* bytes = reinterpret_cast<const uint8*>(&buffer.Row(1)[1]);
	EXPECT_EQ(0, bytes[0]);
	EXPECT_EQ(0, bytes[1]);
	EXPECT_EQ(255, bytes[2]);
	EXPECT_EQ(255, bytes[3]);

	buffer.Resize(4, 4);
	EXPECT_EQ(kRed, buffer.PixelAt(1, 1));
	EXPECT_EQ(kWhite, buffer.PixelAt(3, 3));
	buffer.Resize(1, 1);
	EXPECT_EQ(1, buffer.Width());
	EXPECT_EQ(kWhite, buffer.PixelAt(0, 0));
}

TEST(PainterTest, FillRectIncludesRightAndBottomEdges)
{
	PixelBuffer buffer(8, 8);
	Painter painter(buffer, Everything(buffer));
	painter.FillRect(BRect(1, 2, 3, 4), kRed);
	EXPECT_EQ(RectPixels(1, 2, 3, 4), Changed(buffer, kWhite));
	EXPECT_EQ(BRect(1, 2, 3, 4), painter.Touched());
}

TEST(PainterTest, FractionalCoordinatesRoundToNearestPixel)
{
	PixelBuffer buffer(8, 8);
	Painter(buffer, Everything(buffer)).FillRect(BRect(0.4f, 0.6f, 2.5f, 2.4f), kRed);
	EXPECT_EQ(RectPixels(0, 1, 3, 2), Changed(buffer, kWhite));
}

TEST(PainterTest, ClipsToTheRegionAndTheBuffer)
{
	PixelBuffer buffer(10, 10);
	BRegion clip;
	clip.Include(BRect(0, 0, 2, 2));
	clip.Include(BRect(6, 6, 20, 20)); // runs past the buffer
	Painter painter(buffer, clip);
	painter.FillRect(BRect(-5, -5, 50, 50), kBlue);
	PixelSet expected = RectPixels(0, 0, 2, 2);
	PixelSet corner = RectPixels(6, 6, 9, 9);
	expected.insert(corner.begin(), corner.end());
	EXPECT_EQ(expected, Changed(buffer, kWhite));
	EXPECT_EQ(BRect(0, 0, 9, 9), painter.Touched());
}

TEST(PainterTest, NothingPaintedLeavesTouchedInvalid)
{
	PixelBuffer buffer(10, 10);
	Painter painter(buffer, BRegion(BRect(0, 0, 3, 3)));
	painter.FillRect(BRect(5, 5, 8, 8), kRed);
	painter.StrokeLine(BPoint(5, 5), BPoint(9, 5), kRed);
	painter.InvertRect(BRect(4, 0, 9, 9));
	EXPECT_FALSE(painter.Touched().IsValid());
	EXPECT_TRUE(Changed(buffer, kWhite).empty());
}

TEST(PainterTest, InvertRectTwiceRestores)
{
	PixelBuffer buffer(6, 6);
	Painter painter(buffer, Everything(buffer));
	painter.FillRect(BRect(0, 0, 5, 5), rgb_color{10, 100, 200, 128});
	painter.InvertRect(BRect(1, 1, 2, 2));
	EXPECT_EQ((rgb_color{245, 155, 55, 128}), buffer.PixelAt(2, 2));
	EXPECT_EQ((rgb_color{10, 100, 200, 128}), buffer.PixelAt(3, 3));
	painter.InvertRect(BRect(1, 1, 2, 2));
	EXPECT_EQ(RectPixels(0, 0, 5, 5), Changed(buffer, kWhite));
	EXPECT_TRUE(Changed(buffer, rgb_color{10, 100, 200, 128}).empty());
}

TEST(PainterTest, LinesIncludeBothEnds)
{
	PixelBuffer buffer(10, 10);
	Painter painter(buffer, Everything(buffer));
	painter.StrokeLine(BPoint(1, 1), BPoint(5, 1), kBlack);
	EXPECT_EQ(RectPixels(1, 1, 5, 1), Changed(buffer, kWhite));

	Fill(buffer, kWhite);
	Painter(buffer, Everything(buffer)).StrokeLine(BPoint(3, 7), BPoint(3, 2), kBlack);
	EXPECT_EQ(RectPixels(3, 2, 3, 7), Changed(buffer, kWhite));

	Fill(buffer, kWhite);
	Painter(buffer, Everything(buffer)).StrokeLine(BPoint(4, 4), BPoint(1, 1), kBlack);
	EXPECT_EQ((PixelSet{{1, 1}, {2, 2}, {3, 3}, {4, 4}}), Changed(buffer, kWhite));

	Fill(buffer, kWhite);
	Painter(buffer, Everything(buffer)).StrokeLine(BPoint(6, 6), BPoint(6, 6), kBlack);
	EXPECT_EQ((PixelSet{{6, 6}}), Changed(buffer, kWhite));
}

TEST(PainterTest, LinesAreClipped)
{
	PixelBuffer buffer(10, 10);
	Painter painter(buffer, BRegion(BRect(2, 0, 4, 9)));
	painter.StrokeLine(BPoint(-3, 5), BPoint(20, 5), kBlack);
	EXPECT_EQ(RectPixels(2, 5, 4, 5), Changed(buffer, kWhite));
	EXPECT_EQ(BRect(2, 5, 4, 5), painter.Touched());
}

TEST(PainterTest, CopyPixelsIsOneToOneAndClipped)
{
	PixelBuffer source(4, 4);
	for (int32 y = 0; y < 4; y++)
		for (int32 x = 0; x < 4; x++)
			source.SetPixel(x, y, rgb_color{uint8(x * 60), uint8(y * 60), 7, 255});
	PixelBuffer dest(10, 10);
	Painter painter(dest, BRegion(BRect(0, 0, 6, 5)));
	painter.CopyPixels(source, BRect(1, 1, 3, 3), BPoint(5, 4));
	// (5..7, 4..6) clipped to x <= 6, y <= 5.
	EXPECT_EQ(RectPixels(5, 4, 6, 5), Changed(dest, kWhite));
	EXPECT_EQ(source.PixelAt(1, 1), dest.PixelAt(5, 4));
	EXPECT_EQ(source.PixelAt(2, 2), dest.PixelAt(6, 5));
	EXPECT_EQ(BRect(5, 4, 6, 5), painter.Touched());
}

TEST(PainterTest, CopyPixelsWithinOneBufferScrolls)
{
	PixelBuffer buffer(6, 6);
	for (int32 y = 0; y < 6; y++)
		for (int32 x = 0; x < 6; x++)
			buffer.SetPixel(x, y, rgb_color{uint8(x), uint8(y), 0, 255});
	PixelBuffer before = buffer;
	// Down and right by one, overlapping itself.
	Painter(buffer, Everything(buffer)).CopyPixels(buffer, BRect(0, 0, 4, 4), BPoint(1, 1));
	for (int32 y = 1; y < 6; y++)
		for (int32 x = 1; x < 6; x++)
			ASSERT_EQ(before.PixelAt(x - 1, y - 1), buffer.PixelAt(x, y)) << x << ", " << y;
	EXPECT_EQ(before.PixelAt(3, 0), buffer.PixelAt(3, 0));
}

TEST(PainterText, TestFaceGlyphsStandOnTheBaseline)
{
	FaceScope face(true);
	PixelBuffer buffer(30, 20);
	Painter painter(buffer, Everything(buffer));
	float advance = painter.DrawString("A B", 3, BPoint(2, 15), 12, kBlack, kWhite, B_OP_COPY);
	EXPECT_EQ(21, advance);
	PixelSet expected;
	for (int32 cell = 0; cell < 3; cell += 2) {
		uint32 code = cell == 0 ? 'A' : 'B';
		for (int32 y = 0; y < 9; y++)
			for (int32 x = 0; x < 5; x++)
				if (TestFace::GlyphBit(code, x, y))
					expected.insert({2 + cell * 7 + 1 + x, 15 - 9 + y});
	}
	EXPECT_EQ(expected, Changed(buffer, kWhite));
	for (const auto& pixel : expected)
		EXPECT_EQ(kBlack, buffer.PixelAt(pixel.first, pixel.second));
}

TEST(PainterText, TextIsClipped)
{
	FaceScope face(true);
	PixelBuffer buffer(30, 20);
	Painter painter(buffer, BRegion(BRect(0, 0, 29, 10)));
	painter.DrawString("AB", 2, BPoint(2, 15), 12, kBlack, kWhite, B_OP_COPY);
	PixelSet changed = Changed(buffer, kWhite);
	ASSERT_FALSE(changed.empty());
	for (const auto& pixel : changed)
		EXPECT_LE(pixel.second, 10);
	EXPECT_LE(painter.Touched().bottom, 10);
}

// In B_OP_COPY a glyph's pixels depend only on the high and low colours; in
// B_OP_OVER the edges blend with what is underneath. Pixels outside the glyph
// keep the background in both modes.
TEST(PainterText, CoverageRulesOfCopyAndOver)
{
	FaceScope face(false);
	auto render = [](rgb_color background, drawing_mode mode) {
		PixelBuffer buffer(60, 24);
		Fill(buffer, background);
		Painter(buffer, Everything(buffer))
		    .DrawString("Wg@", 3, BPoint(3, 16), 12, kBlack, kRed, mode);
		return buffer;
	};
	PixelBuffer copyOnBlue = render(kBlue, B_OP_COPY);
	PixelBuffer copyOnGreen = render(kGreen, B_OP_COPY);
	PixelBuffer overOnBlue = render(kBlue, B_OP_OVER);
	PixelBuffer overOnGreen = render(kGreen, B_OP_OVER);

	PixelSet glyphPixels = Changed(copyOnBlue, kBlue);
	ASSERT_FALSE(glyphPixels.empty());
	EXPECT_EQ(glyphPixels, Changed(copyOnGreen, kGreen));

	int32 partial = 0, blendedDifferently = 0;
	for (const auto& [x, y] : glyphPixels) {
		rgb_color copy = copyOnBlue.PixelAt(x, y);
		EXPECT_EQ(copy, copyOnGreen.PixelAt(x, y));
		// mix(low red, high black): only red varies, by coverage.
		EXPECT_EQ(0, copy.green);
		EXPECT_EQ(0, copy.blue);
		if (copy.red != 0) {
			partial++;
			// The same coverage over the background instead of the low colour.
			rgb_color over = overOnBlue.PixelAt(x, y);
			EXPECT_EQ(0, over.red);
			EXPECT_EQ(0, over.green);
			EXPECT_NEAR(copy.red, over.blue, 1);
			if (overOnGreen.PixelAt(x, y) != over)
				blendedDifferently++;
		}
	}
	EXPECT_GT(partial, 0); // antialiased edges exist
	EXPECT_EQ(partial, blendedDifferently);
	EXPECT_TRUE(Changed(overOnBlue, kBlue).size() <= glyphPixels.size());
}

namespace {

// One text drawing: a string at a baseline through a clip of a few
// rectangles, over a background.
struct ClippedText
{
	std::string text;
	BPoint baseline;
	std::vector<BRect> clip;
	rgb_color background, high, low;
	drawing_mode mode;
};

// What is wrong with drawing c through its clip, "" when nothing: the clip
// must keep exactly the pixels that the same text drawn unclipped changes
// inside the clip, and Touched must hold every changed pixel and stay
// within the clip.
std::string ClipFault(const ClippedText& c)
{
	BRegion clip;
	for (const BRect& rect : c.clip)
		clip.Include(rect);
	PixelBuffer free(48, 24), clipped(48, 24);
	Fill(free, c.background);
	Fill(clipped, c.background);
	Painter(free, Everything(free))
	    .DrawString(c.text.data(), int32(c.text.size()), c.baseline, 12, c.high, c.low, c.mode);
	Painter painter(clipped, clip);
	painter.DrawString(c.text.data(), int32(c.text.size()), c.baseline, 12, c.high, c.low, c.mode);
	const BRect touched = painter.Touched();
	for (int32 y = 0; y < clipped.Height(); y++) {
		for (int32 x = 0; x < clipped.Width(); x++) {
			const bool inside = clip.Contains(x, y);
			const rgb_color expected = inside ? free.PixelAt(x, y) : c.background;
			if (clipped.PixelAt(x, y) != expected)
				return "pixel " + std::to_string(x) + "," + std::to_string(y);
			if (expected != c.background && !touched.Contains(BPoint(x, y)))
				return "untouched " + std::to_string(x) + "," + std::to_string(y);
		}
	}
	if (touched.IsValid() && !(clip.Frame().Contains(touched)))
		return "touched beyond the clip";
	return "";
}

} // namespace

// Text through clips of one to four rectangles against the same text drawn
// unclipped and cut to the clip, pixel by pixel, in both faces and modes; a
// failing case shrinks to the fewest characters and rectangles.
TEST(PainterText, ClippedTextIsUnclippedTextCutToTheClip)
{
	for (bool testFace : {true, false}) {
		FaceScope face(testFace);
		srand(7);
		auto any = [](int32 from, int32 to) { return from + rand() % (to - from + 1); };
		auto anyColor = [&] {
			return rgb_color{uint8(any(0, 255)), uint8(any(0, 255)), uint8(any(0, 255)), 255};
		};
		for (int32 round = 0; round < 500; round++) {
			ClippedText c;
			for (int32 i = any(1, 6); i > 0; i--)
				c.text += char(any(33, 126));
			c.baseline = BPoint(any(-8, 40), any(4, 24));
			for (int32 i = any(1, 4); i > 0; i--) {
				const int32 left = any(-8, 44), top = any(-8, 20);
				c.clip.push_back(BRect(left, top, left + any(0, 40), top + any(0, 28)));
			}
			c.background = anyColor();
			c.high = anyColor();
			c.low = anyColor();
			c.mode = any(0, 1) == 0 ? B_OP_COPY : B_OP_OVER;
			if (ClipFault(c).empty())
				continue;
			// Shrink: drop characters, then rectangles, while it still fails.
			for (bool shrunk = true; shrunk;) {
				shrunk = false;
				for (size_t i = 0; i < c.text.size() && c.text.size() > 1; i++) {
					ClippedText smaller = c;
					smaller.text.erase(i, 1);
					if (!ClipFault(smaller).empty()) {
						c = smaller;
						shrunk = true;
					}
				}
				for (size_t i = 0; i < c.clip.size() && c.clip.size() > 1; i++) {
					ClippedText smaller = c;
					smaller.clip.erase(smaller.clip.begin() + ptrdiff_t(i));
					if (!ClipFault(smaller).empty()) {
						c = smaller;
						shrunk = true;
					}
				}
			}
			std::string rects;
			for (const BRect& rect : c.clip)
				rects += " (" + std::to_string(int(rect.left)) + "," +
				         std::to_string(int(rect.top)) + "," + std::to_string(int(rect.right)) +
				         "," + std::to_string(int(rect.bottom)) + ")";
			FAIL() << (testFace ? "test face" : "FreeType") << ": \"" << c.text << "\" at "
			       << c.baseline.x << "," << c.baseline.y << " mode " << int(c.mode) << " clip"
			       << rects << ": " << ClipFault(c);
		}
	}
}
