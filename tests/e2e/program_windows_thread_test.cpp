// reshost with several windows on one document, run headless with scripts
// that address the windows in turn: what is typed in one shows in the
// other, undo and redo from either reach both, Ctrl+N opens another window,
// closing one of them leaves the rest, and a window that is not open is a
// script error naming the line. Each window runs on its own thread in the
// program, so these run under ThreadSanitizer too.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProgramRunner.h"

namespace {

class ProgramWindowsThreadTest : public testing::Test
{
protected:
	ProgramResult RunScript(const std::string& script, std::vector<std::string> arguments)
	{
		arguments.insert(arguments.begin(), {"--headless", "--script", "-"});
		arguments.push_back(fPath);
		return fRunner.Run(arguments, script);
	}

	ProgramRunner fRunner;
	const std::string fPath = fRunner.MakeFile("data.bin", "0123456789");
};

} // namespace

TEST_F(ProgramWindowsThreadTest, TwoWindowsOnOneItemStayInStep)
{
	ProgramResult result = RunScript("window 1\n"
	                                 "type \"41\"     # the byte 0x41 at offset 0\n"
	                                 "window 2\n"
	                                 "text\n"
	                                 "title\n"
	                                 "undo          # from the other window\n"
	                                 "window 1\n"
	                                 "text\n"
	                                 "redo\n"
	                                 "window 2\n"
	                                 "text\n",
	                                 {"--windows", "2"});
	ASSERT_EQ(result.exitCode, 0) << result.errors;
	const std::vector<std::string> lines = Lines(result.output);
	ASSERT_EQ(lines.size(), 4u) << result.output;
	EXPECT_EQ(lines[0], "00000000   4130 3132 3334 3536 3738 39               A0123456789");
	EXPECT_EQ(lines[1], "*data.bin - Undo typing");
	EXPECT_EQ(lines[2], "00000000   3031 3233 3435 3637 3839                  0123456789");
	EXPECT_EQ(lines[3], lines[0]);
	EXPECT_EQ(ProgramRunner::Contents(fPath), "0123456789") << "nothing was saved";
}

// What another window changes in front of a cursor, a selection or a half
// typed byte moves them on with their bytes.
TEST_F(ProgramWindowsThreadTest, TheCursorStaysWithItsByteWhenAnotherWindowEdits)
{
	const std::string path = fRunner.MakeFile("small.txt", "Hello, world");
	ProgramResult result = fRunner.Run({"--headless", "--windows", "2", "--script", "-", path},
	                                   // A types the first digit of a byte at 5.
	                                   "window 1\npress hex 5\nrelease hex 5\ntype \"4\"\n"
	                                   // B puts two bytes in front.
	                                   "window 2\npress hex 0\nrelease hex 0\ntype \"7788\"\n"
	                                   // A's second digit completes A's byte.
	                                   "window 1\ntype \"1\"\n"
	                                   // A selects "wor"; B removes "He"; A deletes.
	                                   "press ascii 10\nmove ascii 12\nrelease ascii 13\n"
	                                   "window 2\nkey Delete\nkey Delete\n"
	                                   "window 1\nkey Delete\nsave\n");
	ASSERT_EQ(result.exitCode, 0) << result.errors;
	EXPECT_EQ(ProgramRunner::Contents(path), "\x77\x88llo\x41, ld");
}

TEST_F(ProgramWindowsThreadTest, CtrlNOpensAWindowThatScriptsAddress)
{
	ProgramResult result = RunScript("key Ctrl+N\n"
	                                 "window 2\n"
	                                 "type \"7e\"\n"
	                                 "save\n"
	                                 "title\n"
	                                 "window 1\n"
	                                 "title\n",
	                                 {});
	ASSERT_EQ(result.exitCode, 0) << result.errors;
	EXPECT_EQ(Lines(result.output), (std::vector<std::string>{"data.bin - Undo typing - Saved",
	                                                          "data.bin - Undo typing"}));
	EXPECT_EQ(ProgramRunner::Contents(fPath), "~0123456789");
}

TEST_F(ProgramWindowsThreadTest, ClosingOneWindowLeavesTheOthersAndTheLastOneWarns)
{
	ProgramResult result = RunScript("type \"4\"\n"
	                                 "close          # window 1, unsaved changes or not\n"
	                                 "window 2\n"
	                                 "title\n"
	                                 "close          # the last one warns\n"
	                                 "title\n"
	                                 "close\n",
	                                 {"--windows", "2"});
	ASSERT_EQ(result.exitCode, 0) << result.errors;
	EXPECT_EQ(
	    Lines(result.output),
	    (std::vector<std::string>{
	        "*data.bin - Undo typing",
	        "*data.bin - Undo typing - Unsaved changes: close again to quit without saving"}));
	EXPECT_EQ(ProgramRunner::Contents(fPath), "0123456789") << "closing must not save";

	// The closed window is no longer there to address.
	ProgramResult closed = RunScript("close\ntitle\n", {"--windows", "3"});
	EXPECT_EQ(closed.exitCode, 1);
	EXPECT_NE(closed.errors.find("line 2: window 1 is not open (open windows: 2, 3)"),
	          std::string::npos)
	    << closed.errors;
}

TEST_F(ProgramWindowsThreadTest, QuitWarnsOnceForEveryWindow)
{
	ProgramResult result = RunScript("type \"4\"\n"
	                                 "window 2\n"
	                                 "quit\n"
	                                 "title\n"
	                                 "window 1\n"
	                                 "title\n"
	                                 "quit\n",
	                                 {"--windows", "2"});
	ASSERT_EQ(result.exitCode, 0) << result.errors;
	EXPECT_EQ(Lines(result.output),
	          (std::vector<std::string>{
	              "*data.bin - Undo typing - Unsaved changes: press Ctrl+Q again to quit",
	              "*data.bin - Undo typing"}));
}

TEST_F(ProgramWindowsThreadTest, WindowsThatAreNotOpenAreErrors)
{
	ProgramResult missing = RunScript("window 2\ntitle\nwindow 3\ntitle\n", {"--windows", "2"});
	EXPECT_EQ(missing.exitCode, 1);
	EXPECT_EQ(Lines(missing.output), (std::vector<std::string>{"data.bin"}));
	EXPECT_NE(missing.errors.find("line 3: window 3 is not open (open windows: 1, 2)"),
	          std::string::npos)
	    << missing.errors;

	for (const char* line : {"window 0", "window", "window two", "window 1 2"}) {
		ProgramResult bad = RunScript(std::string(line) + "\n", {});
		EXPECT_EQ(bad.exitCode, 1) << line;
		EXPECT_NE(bad.errors.find("line 1: usage: window NUMBER"), std::string::npos)
		    << line << ": " << bad.errors;
	}

	// The window count is checked with the other options.
	for (const char* count : {"0", "9", "x", "-1"}) {
		ProgramResult refused = fRunner.Run({"--windows", count, fPath});
		EXPECT_EQ(refused.exitCode, 2) << count;
		EXPECT_EQ(refused.errors, std::string("reshost: --windows needs a number of windows from "
		                                      "1 to 8, not ") +
		                              count + "\n");
	}
}
