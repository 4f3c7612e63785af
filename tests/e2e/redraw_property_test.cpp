// What the window shows after any input equals a full redraw of the same
// state. Random scripts of every kind of input run in reshost's own window
// (the add-on loaded from its image, the document, undo, the item list),
// with the window compared after every line to a redraw of the whole window
// from the views' current state: the same check as reshost --check-redraw.
// A failure prints the seed and the shortest script found that still fails,
// ready for reshost --headless --check-redraw --script.

#include <gtest/gtest.h>

#include <math.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "HexDumpLayout.h"
#include "RandomScripts.h"
#include "ScriptSession.h"

namespace {

// The error of a fresh session running the script, "" when it passes.
std::string Failure(const std::vector<std::string>& items, Face face, const Script& script)
{
	ScriptSession session(items, face);
	if (!session.Ready())
		return "the session did not start";
	return session.Run(script);
}

// Removes lines, in chunks and then one by one, while the script still fails.
Script Shrink(const std::vector<std::string>& items, Face face, Script script)
{
	int32 runs = 0;
	for (size_t chunk = script.size() / 2; chunk >= 1; chunk /= 2) {
		for (size_t at = 0; at + chunk <= script.size() && runs < 400;) {
			Script shorter = script;
			shorter.erase(shorter.begin() + long(at), shorter.begin() + long(at + chunk));
			runs++;
			if (!Failure(items, face, shorter).empty())
				script = shorter;
			else
				at += chunk;
		}
	}
	return script;
}

std::string Describe(const std::vector<std::string>& items)
{
	std::string text;
	for (const std::string& item : items)
		text += std::to_string(item.size()) + " ";
	return text;
}

class RedrawProperty : public ::testing::TestWithParam<std::tuple<Face, int>>
{
};

// 25 sequences of 100 lines a batch, eight batches a face (fewer where
// $HEXDUMP_RANDOM_DIVISOR says so: the sanitizer builds).
TEST_P(RedrawProperty, RandomInputLeavesWhatAFullRedrawShows)
{
	const Face face = std::get<0>(GetParam());
	const int batch = std::get<1>(GetParam());
	const char* divisor = getenv("HEXDUMP_RANDOM_DIVISOR");
	const int kSequences = 25 / std::max(1, divisor != NULL ? atoi(divisor) : 1);
	const int kLines = 100;

	for (int sequence = 0; sequence < kSequences; sequence++) {
		const uint32 seed = uint32(batch * kSequences + sequence + 1) * 7919u + uint32(face);
		ScriptGenerator generator(seed);
		const std::vector<std::string> items = RandomItems(generator.Random());
		const Script script = generator.Make(kLines);

		const std::string error = Failure(items, face, script);
		if (error.empty())
			continue;
		const Script shortest = Shrink(items, face, script);
		ADD_FAILURE() << "seed " << seed << ", items of " << Describe(items) << "bytes: " << error
		              << "\nshortest failing script (" << Failure(items, face, shortest) << "):\n"
		              << Join(shortest);
		return;
	}
}

std::string FaceName(Face face)
{
	return face == kTestFace ? "TestFace" : "FreeTypeFace";
}

INSTANTIATE_TEST_SUITE_P(Faces, RedrawProperty,
                         ::testing::Combine(::testing::Values(kTestFace, kFreeTypeFace),
                                            ::testing::Range(0, 8)),
                         [](const ::testing::TestParamInfo<std::tuple<Face, int>>& info) {
	                         return FaceName(std::get<0>(info.param)) + "Batch" +
	                                std::to_string(std::get<1>(info.param));
                         });

std::string Zeros(size_t size)
{
	return std::string(size, '\0');
}

class RedrawCases : public ::testing::TestWithParam<Face>
{
protected:
	// Runs the script on one item and expects every line to pass the check.
	void ExpectClean(const std::string& item, const Script& script)
	{
		ScriptSession session({item, Zeros(100), ""}, GetParam());
		ASSERT_TRUE(session.Ready());
		EXPECT_EQ(session.Run(script), "") << Join(script);
	}
};

// Typing over a selection that ran past a full line shortens the data: the
// line that held the old last byte must go blank.
TEST_P(RedrawCases, AShrinkingEditClearsTheLinesBelowTheNewEnd)
{
	ExpectClean(Zeros(17), {"press hex 15", "release ascii 57", "type \"0\""});
	ExpectClean(Zeros(100), {"press hex 3", "move hex 90", "release hex 90", "key A"});
	ExpectClean(Zeros(100), {"press ascii 3", "release ascii 90", "key x"});
	ExpectClean(Zeros(40), {"press hex 40", "key Backspace", "key Backspace", "key Backspace"});
}

// The outline's bottom edge lies on the first row of the next line, which
// may be the empty line that holds the end of the data.
TEST_P(RedrawCases, AnOutlineLeavesNoEdgeOnTheLineOfTheEnd)
{
	ExpectClean(Zeros(16), {"press hex 17", "key Shift+Left", "key Down"});
	ExpectClean(Zeros(32), {"press ascii 20", "move ascii 32", "release ascii 32", "key Left"});
}

// Host changes shorten or lengthen the data behind the view's back.
TEST_P(RedrawCases, HostChangesLeaveNoLabelBelowTheData)
{
	ExpectClean(Zeros(40), {"press hex 20", "release hex 20", "type \"00112233\"", "undo", "undo",
	                        "redo", "next", "previous", "press hex 3", "release hex 3"});
}

// The tinted bar of the inactive column comes off without taking pixels of
// the neighbouring characters with it.
TEST_P(RedrawCases, TheCursorComesOffWithoutErasingGlyphs)
{
	ExpectClean("\x41\x57\x4d\x7e\x23\x40\x26",
	            {"press hex 31", "release hex 6", "key Up", "focus off", "focus on", "wait 500ms",
	             "wait 500ms", "press ascii 2", "release ascii 2", "deactivate", "activate"});
}

// Growing and shrinking the window step by step leaves the scroll view's
// border whole.
TEST_P(RedrawCases, ResizingLeavesTheBorderWhole)
{
	ExpectClean(Zeros(3000), {"resize 700 500", "resize 710 520", "resize 600 400",
	                          "resize 601 401", "resize 900 650", "resize 300 200"});
}

INSTANTIATE_TEST_SUITE_P(Faces, RedrawCases, ::testing::Values(kTestFace, kFreeTypeFace),
                         [](const ::testing::TestParamInfo<Face>& info) {
	                         return FaceName(info.param);
                         });

// A screen that shows lines whole: the scroll position is 0 or the top of a
// line's box.
bool ShowsWholeLines(ScriptSession& session)
{
	const BRect bounds = session.ViewBounds();
	if (bounds.top == 0)
		return true;
	const font_height height = session.FontHeight();
	const float lineHeight = HexDumpLayout::LineHeightOf(height);
	const float firstBoxTop =
	    HexDumpLayout::BaselineOf(0, height) + HexDumpLayout::LineDepth(height) - lineHeight;
	return fmodf(bounds.top - firstBoxTop, lineHeight) == 0;
}

TEST_P(RedrawCases, KeysScrollByWholeLines)
{
	ScriptSession session({std::string(300000, 'x')}, GetParam());
	ASSERT_TRUE(session.Ready());
	ASSERT_EQ(session.Run({"press hex 0", "release hex 0"}), "");
	float lastTop = 0;
	for (int i = 0; i < 60; i++) {
		ASSERT_EQ(session.Run({"key Down"}, false), "");
		EXPECT_TRUE(ShowsWholeLines(session)) << "after " << i + 1 << " presses of Down";
		lastTop = session.ViewBounds().top;
	}
	EXPECT_GT(lastTop, 0);
	ASSERT_EQ(session.Run({"key Up"}, false), "");
	for (int i = 0; i < 60; i++)
		ASSERT_EQ(session.Run({"key Up"}, false), "");
	EXPECT_EQ(session.ViewBounds().top, 0);
}

// With the button held below the window and the pointer still, the pulse
// keeps the drag going: the view scrolls on, and stays clean.
TEST_P(RedrawCases, AHeldDragPastTheEdgeKeepsScrolling)
{
	ScriptSession session({std::string(300000, 'x')}, GetParam());
	ASSERT_TRUE(session.Ready());
	ASSERT_EQ(session.Run({"press hex 20", "move at 100 2000"}), "");
	const float first = session.ViewBounds().top;
	ASSERT_EQ(session.Run({"wait 2s"}), "");
	const float second = session.ViewBounds().top;
	ASSERT_EQ(session.Run({"wait 2s"}), "");
	const float third = session.ViewBounds().top;
	EXPECT_GT(second, first);
	EXPECT_GT(third, second);

	// Released, it stops.
	ASSERT_EQ(session.Run({"release at 100 2000", "wait 2s"}), "");
	const float released = session.ViewBounds().top;
	ASSERT_EQ(session.Run({"wait 2s"}), "");
	EXPECT_EQ(session.ViewBounds().top, released);
}

// The check itself: a pixel drawn behind the views' back is a difference.
TEST(RedrawCheck, APixelNoViewWouldDrawIsFound)
{
	ScriptSession session({Zeros(20)}, kTestFace);
	ASSERT_TRUE(session.Ready());
	ASSERT_EQ(session.Run({"press hex 3", "release hex 3"}), "");
	{
		HostWindow* window = session.Window();
		window->Lock();
		BView* view = window->DumpView();
		view->SetHighColor(255, 0, 0);
		view->FillRect(BRect(200, 100, 203, 101));
		window->Unlock();
	}
	const std::string error = session.Run({"wait 10ms"});
	EXPECT_NE(error.find("line 1: the window differs from a full redraw"), std::string::npos)
	    << error;
}

} // namespace
