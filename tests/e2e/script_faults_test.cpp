// Scripts that once took reshost down or corrupted its selection, each kept
// as it was found: a window too small to show a line, points far outside the
// view, and the data shrinking while the mouse button is held. The sanitizer
// build runs them with UndefinedBehaviorSanitizer halting on any report.

#include <gtest/gtest.h>

#include <string>

#include "ProgramRunner.h"

namespace {

class ScriptFaultTest : public testing::Test
{
protected:
	// Runs script on one file of 40 bytes "ABC...", and on a second one of
	// three bytes; returns the first file's bytes after saving.
	ProgramResult Run(const std::string& script)
	{
		fFirst = fRunner.MakeFile("first.bin", Letters(40));
		fSecond = fRunner.MakeFile("second.bin", "xyz");
		return fRunner.Run({"--script", "-", fFirst, fSecond}, script);
	}

	static std::string Letters(size_t count)
	{
		std::string bytes;
		for (size_t i = 0; i < count; i++)
			bytes += char('A' + i % 26);
		return bytes;
	}

	ProgramRunner fRunner;
	std::string fFirst;
	std::string fSecond;
};

} // namespace

TEST_F(ScriptFaultTest, WindowTooSmallForALineShowsLessAndKeepsEditing)
{
	// Typing redraws lines through the offscreen bitmap; a view with no
	// width has no line box for it, and that once ended the program with an
	// uncaught drawing error. (The script as found typed a Tab before the E;
	// Tab now takes the focus on to the item list.)
	ProgramResult result =
	    Run("resize 2 8192\ntype \"  E\"\nresize 640 400\ntext\nkey Ctrl+S\nkey Ctrl+S\n");
	ASSERT_EQ(result.exitCode, 0) << result.errors;
	EXPECT_EQ(result.errors, "");
	EXPECT_EQ(result.output.substr(0, 22), "00000000   E041 4243 4") << result.output;
	EXPECT_EQ(ProgramRunner::Contents(fFirst), "\xE0" + Letters(40));
}

TEST_F(ScriptFaultTest, PointsFarOutsideTheViewSelectWithinTheData)
{
	// Far to the right of the first line: its end, offset 16. The drag
	// from byte 31 selects 16 to 31, which Delete removes.
	ProgramResult result = Run("press hex 31\nmove hex 19\nmove at 4294967294 017\n"
	                           "release at 4294967294 017\nkey Delete\nsave\n");
	ASSERT_EQ(result.exitCode, 0) << result.errors;
	EXPECT_EQ(result.errors, "");
	EXPECT_EQ(ProgramRunner::Contents(fFirst), Letters(40).erase(16, 15));
}

TEST_F(ScriptFaultTest, DataShrinkingUnderAHeldButtonKeepsTheDragInTheData)
{
	struct Case
	{
		const char* how;
		std::string script;
		std::string first;
		std::string second;
	};
	// The press at the end fixes the drag's anchor there; the data then
	// shrinks below it. The drag back must select from the new end, so that
	// Delete has something to remove.
	const Case cases[] = {
	    {"Backspace",
	     "press hex 40\nkey Backspace\nkey Backspace\nkey Backspace\n"
	     "move hex 10\nrelease hex 10\nkey Delete\nsave\n",
	     Letters(10), "xyz"},
	    {"undo",
	     "press hex 40\nrelease hex 40\ntype \"41424344\"\npress hex 44\nundo\n"
	     "move hex 10\nrelease hex 10\nkey Delete\nsave\n",
	     Letters(10), "xyz"},
	    {"next item", "press hex 40\nnext\nmove hex 1\nrelease hex 1\nkey Delete\nsave\n",
	     Letters(40), "x"},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.how);
		ProgramResult result = Run(c.script);
		ASSERT_EQ(result.exitCode, 0) << result.errors;
		EXPECT_EQ(ProgramRunner::Contents(fFirst), c.first);
		EXPECT_EQ(ProgramRunner::Contents(fSecond), c.second);
	}
}
