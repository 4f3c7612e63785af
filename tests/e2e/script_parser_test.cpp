// The script language: what each line turns into, and the errors that name
// their line.

#include <gtest/gtest.h>

#include <InterfaceDefs.h>

#include <sstream>
#include <vector>

#include "HostCommands.h"
#include "ScriptParser.h"

namespace {

ScriptCommand Parse(const std::string& text)
{
	ScriptCommand command;
	std::string error;
	ScriptParser::Result result = ScriptParser::ParseLine(text, 7, command, error);
	EXPECT_EQ(result, ScriptParser::kCommand) << text << ": " << error;
	return command;
}

std::string ErrorOf(const std::string& text, int32 line = 12)
{
	ScriptCommand command;
	std::string error;
	EXPECT_EQ(ScriptParser::ParseLine(text, line, command, error), ScriptParser::kError) << text;
	return error;
}

} // namespace

TEST(ScriptParser, BlankLinesAndCommentsAreEmpty)
{
	ScriptCommand command;
	std::string error;
	for (const char* text : {"", "   \t", "# a comment", "   # indented comment"})
		EXPECT_EQ(ScriptParser::ParseLine(text, 1, command, error), ScriptParser::kEmpty) << text;

	ScriptCommand save = Parse("save   # and a comment after it");
	EXPECT_EQ(save.kind, ScriptCommand::kHostCommand);
	EXPECT_EQ(save.message.what, uint32(kMsgSave));
	EXPECT_EQ(save.line, 7);
}

TEST(ScriptParser, NamedKeysGiveTheKitsKeyBytes)
{
	struct
	{
		const char* name;
		char byte;
	} keys[] = {{"Left", B_LEFT_ARROW},
	            {"Right", B_RIGHT_ARROW},
	            {"Up", B_UP_ARROW},
	            {"Down", B_DOWN_ARROW},
	            {"Backspace", B_BACKSPACE},
	            {"Delete", B_DELETE},
	            {"Return", B_RETURN},
	            {"Tab", B_TAB},
	            {"Escape", B_ESCAPE},
	            {"Home", B_HOME},
	            {"End", B_END},
	            {"PageUp", B_PAGE_UP},
	            {"PageDown", B_PAGE_DOWN},
	            {"Insert", B_INSERT},
	            {"Space", ' '},
	            {"left", B_LEFT_ARROW}};
	for (const auto& key : keys) {
		ScriptCommand command = Parse(std::string("key ") + key.name);
		EXPECT_EQ(command.kind, ScriptCommand::kKey);
		EXPECT_EQ(command.bytes, std::string(1, key.byte)) << key.name;
		EXPECT_EQ(command.modifiers, 0) << key.name;
	}
}

TEST(ScriptParser, ModifiersCombineAndCtrlIsTheCommandKey)
{
	ScriptCommand shiftRight = Parse("key Shift+Right");
	EXPECT_EQ(shiftRight.bytes, std::string(1, B_RIGHT_ARROW));
	EXPECT_EQ(shiftRight.modifiers, B_SHIFT_KEY);

	// Command keys carry the key's lowercase letter, as the kits deliver it.
	ScriptCommand save = Parse("key Ctrl+S");
	EXPECT_EQ(save.bytes, "s");
	EXPECT_EQ(save.modifiers, B_COMMAND_KEY);

	ScriptCommand redo = Parse("key Ctrl+Shift+Z");
	EXPECT_EQ(redo.bytes, "z");
	EXPECT_EQ(redo.modifiers, B_COMMAND_KEY | B_SHIFT_KEY);

	ScriptCommand nextItem = Parse("key Ctrl+PageDown");
	EXPECT_EQ(nextItem.bytes, std::string(1, B_PAGE_DOWN));
	EXPECT_EQ(nextItem.modifiers, B_COMMAND_KEY);

	EXPECT_EQ(Parse("key Alt+x").modifiers, B_OPTION_KEY);
	EXPECT_EQ(Parse("key Shift+a").bytes, "A");
	EXPECT_EQ(Parse("key +").bytes, "+");
	EXPECT_EQ(Parse("key Shift++").bytes, "+");
}

TEST(ScriptParser, SingleCharactersAreKeysOfTheirOwn)
{
	EXPECT_EQ(Parse("key a").bytes, "a");
	EXPECT_EQ(Parse("key 4").bytes, "4");
	EXPECT_EQ(Parse("key \xc3\xa9").bytes, "\xc3\xa9");
}

TEST(ScriptParser, TypeTakesQuotedTextWithEscapes)
{
	ScriptCommand command = Parse("type \"41ab\"");
	EXPECT_EQ(command.kind, ScriptCommand::kType);
	EXPECT_EQ(command.bytes, "41ab");

	EXPECT_EQ(Parse("type \"a b # not a comment\"").bytes, "a b # not a comment");
	EXPECT_EQ(Parse("type \"say \\\"hi\\\" \\\\ \\t\\n\\x41\"").bytes, "say \"hi\" \\ \t\nA");
	EXPECT_EQ(Parse("type \"\"").bytes, "");
}

TEST(ScriptParser, MouseCommandsPointAtOffsetsOrCoordinates)
{
	ScriptCommand press = Parse("press hex 18");
	EXPECT_EQ(press.kind, ScriptCommand::kPress);
	EXPECT_EQ(press.place, ScriptCommand::kHexOffset);
	EXPECT_EQ(press.offset, 18u);

	ScriptCommand move = Parse("move ascii 0x1e");
	EXPECT_EQ(move.kind, ScriptCommand::kMove);
	EXPECT_EQ(move.place, ScriptCommand::kAsciiOffset);
	EXPECT_EQ(move.offset, 30u);

	ScriptCommand release = Parse("release at 120 40.5");
	EXPECT_EQ(release.kind, ScriptCommand::kRelease);
	EXPECT_EQ(release.place, ScriptCommand::kAtPoint);
	EXPECT_EQ(release.point, BPoint(120, 40.5));

	EXPECT_EQ(Parse("move at -5 -20").point, BPoint(-5, -20));
}

TEST(ScriptParser, WaitsTakeUnits)
{
	EXPECT_EQ(Parse("wait 500ms").duration, 500000);
	EXPECT_EQ(Parse("wait 2s").duration, 2000000);
	EXPECT_EQ(Parse("wait 1.5s").duration, 1500000);
	EXPECT_EQ(Parse("wait 250us").duration, 250);
	EXPECT_EQ(Parse("wait 20").duration, 20000);
	EXPECT_EQ(Parse("wait 20").kind, ScriptCommand::kWait);
}

TEST(ScriptParser, HostCommands)
{
	EXPECT_EQ(Parse("undo").message.what, uint32(kMsgUndo));
	EXPECT_EQ(Parse("redo").message.what, uint32(kMsgRedo));
	EXPECT_EQ(Parse("next").message.what, uint32(kMsgNextItem));
	EXPECT_EQ(Parse("next item").message.what, uint32(kMsgNextItem));
	EXPECT_EQ(Parse("previous item").message.what, uint32(kMsgPreviousItem));
	EXPECT_EQ(Parse("quit").kind, ScriptCommand::kHostCommand);
	EXPECT_EQ(Parse("quit").message.what, uint32(kMsgQuit));
	EXPECT_EQ(Parse("close").kind, ScriptCommand::kClose);
	EXPECT_EQ(Parse("title").kind, ScriptCommand::kTitle);
	EXPECT_EQ(Parse("text").kind, ScriptCommand::kText);

	ScriptCommand snapshot = Parse("snapshot \"out dir/shot.png\"");
	EXPECT_EQ(snapshot.kind, ScriptCommand::kSnapshot);
	EXPECT_EQ(snapshot.path, "out dir/shot.png");

	ScriptCommand focusOff = Parse("focus off");
	EXPECT_EQ(focusOff.kind, ScriptCommand::kFocus);
	EXPECT_FALSE(focusOff.on);
	EXPECT_TRUE(Parse("focus on").on);
	EXPECT_TRUE(Parse("activate").on);
	EXPECT_FALSE(Parse("deactivate").on);
	EXPECT_EQ(Parse("deactivate").kind, ScriptCommand::kActivate);

	ScriptCommand wheel = Parse("wheel 2");
	EXPECT_EQ(wheel.kind, ScriptCommand::kWheel);
	EXPECT_EQ(wheel.deltaY, 2);
	EXPECT_EQ(wheel.deltaX, 0);
	EXPECT_EQ(Parse("wheel -1 3").deltaX, 3);

	ScriptCommand resize = Parse("resize 640 480");
	EXPECT_EQ(resize.kind, ScriptCommand::kResize);
	EXPECT_EQ(resize.width, 640);
	EXPECT_EQ(resize.height, 480);
}

TEST(ScriptParser, WindowNumbersAreDecimalFromOne)
{
	ScriptCommand second = Parse("window 2");
	EXPECT_EQ(second.kind, ScriptCommand::kWindow);
	EXPECT_EQ(second.number, 2);
	EXPECT_EQ(Parse("window 010").number, 10);
	EXPECT_EQ(Parse("window 999999999").number, 999999999);
	for (const char* text : {"window", "window 0", "window -1", "window 0x2", "window 1.5",
	                         "window 1000000000", "window 1 2", "window first"})
		EXPECT_EQ(ErrorOf(text, 4),
		          "line 4: usage: window NUMBER (from 1, in the order the windows opened)")
		    << text;
}

TEST(ScriptParser, ErrorsNameTheLineAndTheFault)
{
	EXPECT_EQ(ErrorOf("frobnicate", 12), "line 12: unknown command \"frobnicate\"");
	EXPECT_EQ(ErrorOf("key Hyper+A", 3), "line 3: unknown modifier \"Hyper\"");
	EXPECT_EQ(ErrorOf("key LeftArrowKey", 4), "line 4: unknown key \"LeftArrowKey\"");
	EXPECT_EQ(ErrorOf("type \"open", 5), "line 5: unterminated quoted text");
	EXPECT_EQ(ErrorOf("type \"\\q\"", 6), "line 6: unknown escape \"\\\\q\"");
	EXPECT_EQ(ErrorOf("type \"\\x4\"", 6), "line 6: \\x needs two hex digits");

	// Each of these is malformed in its arguments.
	for (const char* text : {"key",
	                         "key a b",
	                         "type 41",
	                         "press hex",
	                         "press hex -1",
	                         "press hex 99999999999",
	                         "press column 4",
	                         "move at 1",
	                         "release at x 2",
	                         "wait",
	                         "wait soon",
	                         "wait -5ms",
	                         "wait 5m",
	                         "focus maybe",
	                         "save now",
	                         "close all",
	                         "next page",
	                         "resize 0 10",
	                         "resize 10.5 10",
	                         "snapshot",
	                         "wheel",
	                         "wheel up"}) {
		std::string error = ErrorOf(text, 9);
		EXPECT_EQ(error.rfind("line 9: ", 0), 0u) << text << " gave: " << error;
	}
}

// Found by fuzzing: a wait too long for the clock's 64-bit microseconds
// came out negative and went back in time.
TEST(ScriptParser, WaitsLongerThanTheClockCountsAreErrors)
{
	for (const char* text : {"wait 566999999999999999999999999999999999999999999999999999999ms",
	                         "wait 1e19us", "wait 1e17", "wait 9300000000000s"})
		EXPECT_EQ(ErrorOf(text, 9), std::string("line 9: \"") + (text + 5) +
		                                "\" is not a duration (e.g. 500ms, 2s, 100us)");
	EXPECT_EQ(Parse("wait 4000000000000s").duration, 4000000000000000000LL);
}

TEST(ScriptParser, LinesAreReadUpToTheirBound)
{
	const std::string longest(ScriptParser::kMaxLineLength, 'x');
	struct Case
	{
		std::string input;
		std::vector<std::string> lines;
		std::string error; // after the lines
	};
	const Case cases[] = {
	    {"", {}, ""},
	    {"save", {"save"}, ""},
	    {"save\n\nundo\n", {"save", "", "undo"}, ""},
	    {"a\r\nb", {"a\r", "b"}, ""},
	    {std::string("t\0x\n", 4), {std::string("t\0x", 3)}, ""},
	    {longest + "\n" + longest, {longest, longest}, ""},
	    {"save\n" + longest + "y\nundo\n", {"save"}, "line 2: longer than 65536 bytes"},
	};
	for (const Case& c : cases) {
		std::istringstream input(c.input);
		std::vector<std::string> lines;
		std::string text, error;
		for (int32 line = 1; ScriptParser::ReadLine(input, line, text, error); line++)
			lines.push_back(text);
		EXPECT_EQ(lines, c.lines) << c.input.substr(0, 20);
		EXPECT_EQ(error, c.error) << c.input.substr(0, 20);
	}
}

TEST(ScriptParser, QuotedTextIsEscapedAndCutAtACharacter)
{
	EXPECT_EQ(ErrorOf("key a\x01"
	                  "b",
	                  2),
	          "line 2: unknown key \"a\\x01b\"");
	EXPECT_EQ(ErrorOf("press hex 1\x7f", 2), "line 2: \"1\\x7F\" is not a byte offset");
	EXPECT_EQ(ErrorOf("wait \"1\\\"s\"", 2), "line 2: \"1\\\"s\" is not a duration (e.g. 500ms, "
	                                         "2s, 100us)");
	// 63 bytes and a two-byte character: the cut comes before it.
	const std::string word = std::string(63, 'z') + "\xc3\xa9" + "zz";
	EXPECT_EQ(ErrorOf(word, 2), "line 2: unknown command \"" + std::string(63, 'z') + "\"...");
	EXPECT_EQ(ErrorOf(std::string(64, 'z'), 2),
	          "line 2: unknown command \"" + std::string(64, 'z') + "\"");
}
