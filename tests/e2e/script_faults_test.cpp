// Scripts that once took reshost down, corrupted its selection or lied
// about their end, each kept as it was found: a window too small to show a
// line, points far outside the view, the data shrinking while the mouse
// button is held, script input that is no script, endless waits and presses
// on bytes off screen. The sanitizer build runs them with
// UndefinedBehaviorSanitizer halting on any report.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "ProgramRunner.h"

namespace fs = std::filesystem;

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

TEST_F(ScriptFaultTest, BadScriptInputGivesOneLineAndANonZeroExit)
{
	const std::string folder = fRunner.Folder() + "/scripts";
	fs::create_directory(folder);
	const std::string file = fRunner.MakeFile("data.bin", "0123");
	struct Case
	{
		const char* how;
		std::string script; // the --script argument
		std::string input;
		int exitCode;
		std::string error;
	};
	const Case cases[] = {
	    {"a directory", folder, "", 2, "reshost: the script " + folder + ": is a directory"},
	    {"a device", "/dev/zero", "", 2,
	     "reshost: the script /dev/zero: is not a regular file, a pipe or a terminal"},
	    {"a line too long", "-", "type \"4\"\ntitle\n" + std::string(65537, 'x') + "\nsave\n", 1,
	     "reshost: script -: line 3: longer than 65536 bytes"},
	    {"a NUL byte", "-", std::string("ti\0tle\n", 7), 1,
	     "reshost: script -: line 1: unknown command \"ti\\x00tle\""},
	    {"control bytes", "-", "key \x1b[31mred\n", 1,
	     "reshost: script -: line 1: unknown key \"\\x1B[31mred\""},
	    {"a long word", "-", std::string(60000, 'y') + "\n", 1,
	     "reshost: script -: line 1: unknown command \"" + std::string(64, 'y') + "\"..."},
	    {"waits past the clock", "-", "wait 4000000000000s\nwait 4000000000000s\n", 1,
	     "reshost: script -: line 2: the waits add up to more than the clock counts (2^62 "
	     "microseconds)"},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.how);
		ProgramResult result = fRunner.Run({"--script", c.script, file}, c.input);
		EXPECT_EQ(result.exitCode, c.exitCode);
		EXPECT_EQ(result.errors, c.error + "\n");
		EXPECT_EQ(ProgramRunner::Contents(file), "0123");
	}
}

TEST_F(ScriptFaultTest, AnEndlessPipeEndsAtTheLineBound)
{
	// /dev/zero through a pipe: one endless line, which must not be read
	// into memory to its end.
	const std::string fifo = fRunner.Folder() + "/endless";
	ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
	pid_t writer = fork();
	ASSERT_GE(writer, 0);
	if (writer == 0) {
		int out = open(fifo.c_str(), O_WRONLY);
		dup2(out, STDOUT_FILENO);
		// It ends on a broken pipe once reshost stops reading.
		int quiet = open("/dev/null", O_WRONLY);
		dup2(quiet, STDERR_FILENO);
		execl("/bin/cat", "cat", "/dev/zero", (char*)NULL);
		_exit(127);
	}
	ProgramResult result = fRunner.Run({"--script", fifo, fRunner.MakeFile("data.bin", "0")});
	kill(writer, SIGTERM);
	waitpid(writer, NULL, 0);
	EXPECT_EQ(result.exitCode, 1);
	EXPECT_EQ(result.errors, "reshost: script " + fifo + ": line 1: longer than 65536 bytes\n");
}

TEST_F(ScriptFaultTest, LongWaitsEndAndKeepTheBlinkAndTheDrag)
{
	// Pulses come every 500 ms and each one turns the cursor on or off: a
	// wait of an even number of them shows what a wait of 1 s shows, an odd
	// one what 500 ms shows, however long the wait.
	const std::string file = fRunner.MakeFile("data.bin", Letters(40));
	auto picture = [&](const std::string& wait) {
		const std::string path = fRunner.Folder() + "/after.png";
		ProgramResult result =
		    fRunner.Run({"--script", "-", "--snapshot", path, file}, "wait " + wait + "\n");
		EXPECT_EQ(result.exitCode, 0) << wait << ": " << result.errors;
		return ProgramRunner::Contents(path);
	};
	const std::string even = picture("1s");
	const std::string odd = picture("500ms");
	ASSERT_NE(even, odd) << "the cursor must blink";
	EXPECT_EQ(picture("99999999999s"), even);
	EXPECT_EQ(picture("99999999999.5s"), odd);
	EXPECT_EQ(picture("4000000000000s"), even);

	// A button held below the view drags on at every pulse until the data's
	// end: a long wait selects everything from the press on.
	std::string bytes(64 * 1024, 'a');
	bytes.replace(0, 40, Letters(40));
	const std::string large = fRunner.MakeFile("large.bin", bytes);
	ProgramResult result =
	    fRunner.Run({"--script", "-", large}, "press hex 20\nmove at 100 600\nwait 99999999999s\n"
	                                          "release at 100 600\nkey Delete\nsave\n");
	ASSERT_EQ(result.exitCode, 0) << result.errors;
	EXPECT_EQ(ProgramRunner::Contents(large), Letters(20));
}

TEST_F(ScriptFaultTest, APressOnAByteOffScreenScrollsItIntoViewFirst)
{
	// What is typed after the press lands on the pressed byte, wherever it
	// was.
	std::string bytes(1024, '.');
	struct Case
	{
		const char* how;
		std::string script;
		size_t offset; // where "A" is inserted
	};
	const Case cases[] = {
	    {"below", "press hex 900\nrelease hex 900\ntype \"41\"\n", 900},
	    {"below, in the characters", "press ascii 1000\nrelease ascii 1000\ntype \"A\"\n", 1000},
	    {"back above",
	     "press hex 1000\nrelease hex 1000\npress hex 3\nrelease hex 3\ntype \"41\"\n", 3},
	    {"right of a narrow view", "resize 100 300\npress ascii 15\nrelease ascii 15\ntype \"A\"\n",
	     15},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.how);
		const std::string file = fRunner.MakeFile("data.bin", bytes);
		ProgramResult result = fRunner.Run({"--script", "-", file}, c.script + "save\n");
		ASSERT_EQ(result.exitCode, 0) << result.errors;
		EXPECT_EQ(ProgramRunner::Contents(file), std::string(bytes).insert(c.offset, "A"));
	}

	// A byte past the data's end is beyond what the bars reach: the press
	// points at it as it would at any point (here: below the view).
	const std::string file = fRunner.MakeFile("data.bin", bytes);
	ProgramResult result = fRunner.Run({"--script", "-", file},
	                                   "press hex 99999\nrelease hex 99999\ntype \"41\"\nsave\n");
	ASSERT_EQ(result.exitCode, 0) << result.errors;
	EXPECT_EQ(ProgramRunner::Contents(file), "A" + bytes);
}
