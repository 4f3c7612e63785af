// Fonts and faces: the test face's exact metrics and glyphs, the FreeType
// monospace face, and BFont measuring through whichever face is chosen.
#include <Font.h>

#include "FontFace.h"
#include "FreeTypeFace.h"
#include "Painter.h"
#include "PixelBuffer.h"
#include "TestFace.h"

#include "PlatformTesting.h"

#include <gtest/gtest.h>

#include <math.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

typedef std::map<std::pair<int32, int32>, uint8> Coverage;

// The pixels the face covers for text, later glyphs over earlier ones; the
// pen's advance in *advance when asked for.
Coverage Render(const FontFace& face, const char* text, float size, BPoint baseline,
                float* advance = NULL)
{
	Coverage coverage;
	const float moved =
	    face.Render(text, int32(strlen(text)), size, baseline,
	                [&coverage](const GlyphImage* glyphs, int32 count) {
		                for (const GlyphImage* glyph = glyphs; glyph < glyphs + count; glyph++) {
			                for (int32 y = 0; y < glyph->rows; y++) {
				                for (int32 x = 0; x < glyph->width; x++) {
					                const uint8 value = glyph->coverage[y * glyph->pitch + x];
					                if (value != 0)
						                coverage[{glyph->left + x, glyph->top + y}] = value;
				                }
			                }
		                }
	                });
	if (advance != NULL)
		*advance = moved;
	return coverage;
}

class FontsTest : public testing::Test
{
protected:
	void TearDown() override { PlatformTesting::UseFreeTypeFace(); }
};

} // namespace

TEST_F(FontsTest, TestFaceMetricsThroughBFont)
{
	PlatformTesting::UseTestFace();
	BFont font(be_fixed_font);
	font_height height;
	font.GetHeight(&height);
	EXPECT_EQ(10, height.ascent);
	EXPECT_EQ(3, height.descent);
	EXPECT_EQ(0, height.leading);
	EXPECT_EQ(7, font.StringWidth(" "));
	EXPECT_EQ(21, font.StringWidth("abc"));
	EXPECT_EQ(14, font.StringWidth("abc", 2));
	EXPECT_EQ(14, font.StringWidth("\xc3\xa9\xe2\x82\xac")); // two characters, five bytes
	EXPECT_EQ(0, font.StringWidth(""));
}

TEST_F(FontsTest, TestFaceGlyphsAreDistinctAndInsideTheirCell)
{
	const TestFace& face = TestFace::Default();
	EXPECT_TRUE(Render(face, " ", 12, BPoint(0, 20)).empty());
	std::map<Coverage, char> seen;
	for (char c = '!'; c <= '~'; c++) {
		char text[2] = {c, '\0'};
		Coverage glyph = Render(face, text, 12, BPoint(10, 20));
		ASSERT_FALSE(glyph.empty()) << c;
		for (const auto& [pixel, value] : glyph) {
			EXPECT_EQ(255, value);
			EXPECT_GE(pixel.first, 11);
			EXPECT_LE(pixel.first, 15);
			EXPECT_GE(pixel.second, 11);
			EXPECT_LE(pixel.second, 19);
		}
		auto [where, inserted] = seen.emplace(glyph, c);
		EXPECT_TRUE(inserted) << c << " looks like " << where->second;
	}
	// The same text renders the same way wherever it starts.
	Coverage first = Render(face, "x", 12, BPoint(0, 20));
	Coverage moved = Render(face, "x", 12, BPoint(7, 20));
	ASSERT_EQ(first.size(), moved.size());
	for (const auto& [pixel, value] : first)
		EXPECT_EQ(1u, moved.count({pixel.first + 7, pixel.second}));
}

TEST_F(FontsTest, FreeTypeFaceIsDejaVuSansMono)
{
	const FreeTypeFace& face = FreeTypeFace::Default();
	ASSERT_TRUE(face.IsLoaded()) << face.FilePath();
	EXPECT_STREQ("DejaVu Sans Mono", face.FamilyName());
	font_height height = face.Height(12);
	EXPECT_GT(height.ascent, 8);
	EXPECT_LT(height.ascent, 14);
	EXPECT_GT(height.descent, 1);
	EXPECT_LT(height.descent, 5);
	EXPECT_GE(height.leading, 0);
	font_height larger = face.Height(24);
	EXPECT_GT(larger.ascent, height.ascent * 1.5f);
}

TEST_F(FontsTest, FreeTypeFaceIsMonospacedAndAntialiased)
{
	const FreeTypeFace& face = FreeTypeFace::Default();
	ASSERT_TRUE(face.IsLoaded());
	float width = face.StringWidth("M", 1, 12);
	EXPECT_GT(width, 5);
	EXPECT_LT(width, 10);
	EXPECT_EQ(width, face.StringWidth("i", 1, 12));
	EXPECT_EQ(4 * width, face.StringWidth("Mi.W", 4, 12));

	Coverage glyph = Render(face, "M", 12, BPoint(0, 20));
	ASSERT_GT(glyph.size(), 10u);
	int32 partial = 0;
	for (const auto& [pixel, value] : glyph) {
		EXPECT_GT(value, 0);
		if (value < 255)
			partial++;
		EXPECT_LT(pixel.second, 20); // 'M' has no descender
		EXPECT_GE(pixel.first, 0);
		EXPECT_LT(pixel.first, int32(width) + 1);
	}
	EXPECT_GT(partial, 0);
	// Rendering again (from the glyph cache) gives the same pixels.
	EXPECT_EQ(glyph, Render(face, "M", 12, BPoint(0, 20)));
	EXPECT_NE(glyph, Render(face, "N", 12, BPoint(0, 20)));
	EXPECT_TRUE(Render(face, " ", 12, BPoint(0, 20)).empty());
}

// Painted text: a pixel of coverage a becomes mix(low, high, a) in B_OP_COPY
// and mix(pixel, high, a) in the other modes; nothing outside the glyphs'
// coverage or outside the clip changes.
// Property: a string renders as its characters rendered one by one, each
// at the pen that the characters before it leave, and advances the pen by
// its width; however long the string (the face hands glyphs over in
// batches), wherever it starts and whatever characters it holds. A failing
// string is cut down to a shortest one that still fails.
TEST_F(FontsTest, AStringRendersAsItsCharactersOneByOne)
{
	const FreeTypeFace& face = FreeTypeFace::Default();
	ASSERT_TRUE(face.IsLoaded());
	const std::vector<std::string> alphabet = {
	    "a", "M", "0", " ", ".", "~", "\xc3\xa9", "\xe2\x82\xac", "\xff"};
	auto mismatch = [&](const std::vector<std::string>& characters, float x) {
		std::string text;
		for (const std::string& character : characters)
			text += character;
		float advance = 0;
		const Coverage whole = Render(face, text.c_str(), 12, BPoint(x, 20), &advance);
		Coverage pieces;
		float pen = floorf(x);
		for (const std::string& character : characters) {
			for (const auto& [pixel, value] : Render(face, character.c_str(), 12, BPoint(pen, 20)))
				pieces[pixel] = value;
			pen += face.StringWidth(character.data(), int32(character.size()), 12);
		}
		return whole != pieces || advance != pen - floorf(x);
	};

	std::mt19937 random(20261209);
	for (int round = 0; round < 60; round++) {
		std::vector<std::string> characters(random() % 130);
		for (std::string& character : characters)
			character = alphabet[random() % alphabet.size()];
		const float x = float(int32(random() % 400) - 200) / 4;
		if (!mismatch(characters, x))
			continue;
		for (size_t i = characters.size(); i-- > 0;) {
			std::vector<std::string> shorter = characters;
			shorter.erase(shorter.begin() + ptrdiff_t(i));
			if (mismatch(shorter, x))
				characters = shorter;
		}
		std::string shown;
		for (const std::string& character : characters)
			shown += character;
		FAIL() << "\"" << shown << "\" at x " << x << " (" << characters.size() << " characters)";
	}
}

TEST_F(FontsTest, PaintedTextBlendsCoveredPixelsWithinTheClip)
{
	auto mix = [](rgb_color from, rgb_color to, uint8 a) {
		auto channel = [a](uint8 f, uint8 t) { return uint8((f * (255 - a) + t * a + 127) / 255); };
		return PixelBuffer::ToPixel(
		    rgb_color{channel(from.red, to.red), channel(from.green, to.green),
		              channel(from.blue, to.blue), channel(from.alpha, to.alpha)});
	};
	const char* text = "M@g";
	const BPoint baseline(2, 14);
	const Coverage coverage = Render(CurrentFontFace(), text, 12, baseline);
	ASSERT_FALSE(coverage.empty());
	// A gap in the clip runs through the second glyph.
	BRegion clip(BRect(0, 0, 9, 19));
	clip.Include(BRect(14, 0, 39, 19));
	const rgb_color under = {100, 150, 200, 255};

	// Seven colour pairs, twice round: more pairs than a painter keeps blends
	// for, so each is blended afresh and again; pairs share low colours.
	for (int32 round = 0; round < 2; round++) {
		for (int32 pair = 0; pair < 7; pair++) {
			const rgb_color high = {uint8(35 * pair), uint8(200 - 25 * pair), 90, 255};
			const rgb_color low = {250, uint8(60 * (pair / 2)), 200, 255};
			for (drawing_mode mode : {B_OP_COPY, B_OP_OVER}) {
				PixelBuffer buffer(40, 20);
				for (int32 y = 0; y < 20; y++)
					for (int32 x = 0; x < 40; x++)
						buffer.SetPixel(x, y, under);
				Painter(buffer, clip).DrawString(text, 3, baseline, 12, high, low, mode);
				for (int32 y = 0; y < 20; y++) {
					for (int32 x = 0; x < 40; x++) {
						auto covered = coverage.find({x, y});
						uint32 expected = PixelBuffer::ToPixel(under);
						if (covered != coverage.end() && clip.Contains(x, y))
							expected = mix(mode == B_OP_COPY ? low : under, high, covered->second);
						ASSERT_EQ(PixelBuffer::ToPixel(buffer.PixelAt(x, y)), expected)
						    << "at " << x << ", " << y << ", pair " << pair << ", mode " << mode;
					}
				}
			}
		}
	}
}

TEST_F(FontsTest, BFontDefaultsAndFamilies)
{
	font_family family;
	font_style style;
	be_fixed_font->GetFamilyAndStyle(&family, &style);
	EXPECT_STREQ("DejaVu Sans Mono", family);
	EXPECT_STREQ("Book", style);
	EXPECT_EQ(12, be_fixed_font->Size());
	EXPECT_EQ(B_FIXED_SPACING, be_fixed_font->Spacing());

	BFont font(*be_fixed_font);
	EXPECT_EQ(B_FIXED_SPACING, font.Spacing());
	font.SetSize(20);
	EXPECT_EQ(12, be_fixed_font->Size());
	EXPECT_EQ(B_NAME_NOT_FOUND, font.SetFamilyAndStyle("No Such Family", "Book"));
	EXPECT_EQ(B_NAME_NOT_FOUND, font.SetFamilyAndStyle("DejaVu Sans Mono", "Wide"));
	font.GetFamilyAndStyle(&family, &style);
	EXPECT_STREQ("DejaVu Sans Mono", family);
	EXPECT_STREQ("Book", style);
	EXPECT_EQ(B_OK, font.SetFamilyAndStyle("DejaVu Sans Mono", "Bold"));
	font.GetFamilyAndStyle(&family, &style);
	EXPECT_STREQ("Bold", style);

	// Measuring follows the size through the FreeType face.
	BFont small(be_fixed_font);
	EXPECT_GT(font.StringWidth("MMMM"), small.StringWidth("MMMM"));
}

TEST_F(FontsTest, SampleOfTheFreeTypeFaceAsPNG)
{
	ASSERT_TRUE(FreeTypeFace::Default().IsLoaded());
	const char* lines[] = {
	    "00000000  4865 6c6c 6f2c 2077 6f72 6c64  Hello, world",
	    "00000010  0001 02ff 7e7f 8081 4142 4344  ....~...ABCD",
	    "The quick brown fox jumps over the lazy dog 0123456789",
	};
	font_height height = CurrentFontFace().Height(12);
	int32 lineHeight = int32(height.ascent + height.descent + height.leading + 0.999f);
	PixelBuffer buffer(420, lineHeight * 3 + 8);
	Painter painter(buffer, BRegion(BRect(0, 0, buffer.Width() - 1, buffer.Height() - 1)));
	for (int32 i = 0; i < 3; i++) {
		painter.DrawString(lines[i], int32(strlen(lines[i])),
		                   BPoint(4, 4 + i * lineHeight + height.ascent), 12,
		                   rgb_color{0, 0, 0, 255}, rgb_color{255, 255, 255, 255}, B_OP_COPY);
	}
	ASSERT_TRUE(painter.Touched().IsValid());

	PlatformTesting::PixelImage image;
	image.width = buffer.Width();
	image.height = buffer.Height();
	for (int32 y = 0; y < image.height; y++)
		for (int32 x = 0; x < image.width; x++)
			image.pixels.push_back(buffer.PixelAt(x, y));
	const char* directory = getenv("HEXDUMP_ARTIFACT_DIR");
	std::string folder = directory != NULL ? directory : ".";
	mkdir(folder.c_str(), 0777);
	std::string path = folder + "/fonts_freetype_sample.png";
	EXPECT_EQ(B_OK, PlatformTesting::WritePNG(image, path.c_str()));
	struct stat info;
	EXPECT_EQ(0, stat(path.c_str(), &info));
}
