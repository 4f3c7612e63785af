// Random streams of every kind of input, fed to the real editor in a window
// on a real document and to the editing rules' model: after every event the
// two agree, the host's item follows the working copy and the window equals
// a full redraw; undo and redo of everything give the original and the final
// bytes. A failure names the seed and the shortest stream that still fails.

#include <gtest/gtest.h>

#include "RandomEditing.h"

namespace {

class RandomEditingTest : public ::testing::TestWithParam<uint32>
{
};

TEST_P(RandomEditingTest, ViewFollowsTheModelEventByEvent)
{
	const std::string failure =
	    RandomEditing::PlaySeed(GetParam(), 2000 / RandomEditing::RandomDivisor(), true);
	EXPECT_EQ(failure, "");
}

// Twenty fixed seeds; odd ones use the FreeType face, even ones the test face.
INSTANTIATE_TEST_SUITE_P(Seeds, RandomEditingTest, ::testing::Range(1u, 21u),
                         [](const ::testing::TestParamInfo<uint32>& info) {
	                         return "Seed" + std::to_string(info.param);
                         });

// The model's own rules on cases the issue and the key table spell out, so
// that a fault in the model cannot hide one in the view.
TEST(EditingModelTest, FollowsTheKeyAndMouseRules)
{
	EditingModel model;
	model.bytes = std::string(8, 'x');
	model.focus = true;
	model.Press(8, true);
	model.Release(8);
	model.Key('4', false);
	EXPECT_EQ(model.Size(), 9u);
	EXPECT_EQ(uint8(model.bytes[8]), 0x40);
	EXPECT_TRUE(model.lowNibble);
	model.Key('1', false);
	EXPECT_EQ(uint8(model.bytes[8]), 0x41);
	EXPECT_EQ(model.selStart, 9u);

	// Press at 3, drag to 7, on to 1, back to 3.
	model.Press(3, true);
	model.Move(7);
	EXPECT_EQ(model.selStart, 3u);
	EXPECT_EQ(model.selEnd, 7u);
	model.Move(1);
	EXPECT_EQ(model.selStart, 1u);
	EXPECT_EQ(model.selEnd, 3u);
	model.Release(3);
	EXPECT_EQ(model.selStart, 3u);
	EXPECT_EQ(model.selEnd, 3u);

	// A character typed at p leaves the anchor at p: the first Shift+Left
	// moves, the second selects.
	model.Press(5, false);
	model.Release(5);
	model.Key('A', false);
	model.Key(B_LEFT_ARROW, true);
	EXPECT_EQ(model.selStart, model.selEnd);
	model.Key(B_LEFT_ARROW, true);
	EXPECT_EQ(model.selEnd - model.selStart, 1u);

	// A shrinking change from the host keeps the anchor inside the data.
	model.HostChanged("ab");
	EXPECT_LE(model.anchor, 2u);
	EXPECT_LE(model.selEnd, 2u);

	// Bytes put in front of a half-typed byte move it on, still half typed;
	// a change of the byte itself ends it.
	model.bytes = "Hello";
	model.selStart = model.selEnd = model.anchor = 5;
	model.hexActive = true;
	model.Key('4', false);
	model.HostChanged("wwHello\x40");
	EXPECT_EQ(model.selStart, 7u);
	EXPECT_TRUE(model.lowNibble);
	model.Key('1', false);
	EXPECT_EQ(model.bytes, "wwHello\x41");
	model.Key('4', false);
	model.HostChanged("wwHello\x41Z");
	EXPECT_FALSE(model.lowNibble);
	EXPECT_EQ(model.selStart, 8u);

	// Repeated bytes: bytes put in front of the cursor are read as lying
	// in front, whatever else they could be.
	model.bytes = "aaab";
	model.selStart = model.selEnd = model.anchor = 1;
	model.HostChanged("aaaab");
	EXPECT_EQ(model.selStart, 2u);

	// Another item: a half-typed byte ends with the cursor after it.
	model.Key('4', false);
	model.ItemShown("other item");
	EXPECT_FALSE(model.lowNibble);
	EXPECT_EQ(model.selStart, 3u);
}

} // namespace
