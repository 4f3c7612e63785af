// The program reshost as a user meets it, run headless on temporary files
// with scripts: typing, selecting, deleting, saving, undo and redo as the
// title names them, switching items, quitting, failed saves, scrolling, the
// text of the dump, and the input it refuses.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "ProgramRunner.h"

namespace fs = std::filesystem;

namespace {

std::string Repeat(const std::string& line, int count)
{
	std::string text;
	for (int i = 0; i < count; i++)
		text += line + "\n";
	return text;
}

// The offset of a --text line, from its first eight hex digits.
long OffsetOf(const std::string& line)
{
	return strtol(line.substr(0, 8).c_str(), NULL, 16);
}

class ProgramTest : public testing::Test
{
protected:
	ProgramResult RunScript(const std::vector<std::string>& files, const std::string& script,
	                        std::vector<std::string> extra = {}, long fileSizeLimit = 0)
	{
		std::vector<std::string> arguments = {"--script", "-"};
		arguments.insert(arguments.end(), extra.begin(), extra.end());
		arguments.insert(arguments.end(), files.begin(), files.end());
		return fRunner.Run(arguments, script, {}, fileSizeLimit);
	}

	std::string RandomBytes(size_t count)
	{
		std::mt19937 generator(20240611);
		std::string bytes(count, '\0');
		for (char& byte : bytes)
			byte = char(generator() & 0xff);
		return bytes;
	}

	ProgramRunner fRunner;
};

} // namespace

TEST_F(ProgramTest, TypingInBothColumnsAndSaving)
{
	std::string path = fRunner.MakeFile("data.bin", "ABCDEFGH");
	ProgramResult result = RunScript({path}, "title\n"
	                                         "press hex 8\n"
	                                         "release hex 8\n"
	                                         "type \"41\"      # one byte, 0x41, from two digits\n"
	                                         "title\n"
	                                         "press ascii 2\n"
	                                         "release ascii 2\n"
	                                         "type \"xy\"\n"
	                                         "save\n"
	                                         "title\n");
	ASSERT_EQ(result.exitCode, 0) << result.errors;
	EXPECT_EQ(ProgramRunner::Contents(path), "ABxyCDEFGHA");
	EXPECT_EQ(Lines(result.output), (std::vector<std::string>{"data.bin", "*data.bin - Undo typing",
	                                                          "data.bin - Undo typing - Saved"}));
}

TEST_F(ProgramTest, SelectingReplacingAndDeleting)
{
	std::string path = fRunner.MakeFile("data.bin", "0123456789");
	ProgramResult result = RunScript({path},
	                                 // Drag over bytes 2 to 4, delete them.
	                                 "press hex 2\n"
	                                 "move hex 4\n"
	                                 "move hex 5\n"
	                                 "release hex 5\n"
	                                 "key Delete\n"
	                                 "title\n"
	                                 // Backspace removes the byte before the cursor.
	                                 "key Backspace\n"
	                                 // A click sets where Shift+Right selects from: two bytes,
	                                 // which a typed byte replaces.
	                                 "press hex 1\n"
	                                 "release hex 1\n"
	                                 "key Shift+Right\n"
	                                 "key Shift+Right\n"
	                                 "type \"7e\"\n"
	                                 "save\n");
	ASSERT_EQ(result.exitCode, 0) << result.errors;
	// 0123456789 -> 0156789 -> 056789 -> 0~789
	EXPECT_EQ(ProgramRunner::Contents(path), "0~789");
	EXPECT_EQ(Lines(result.output), (std::vector<std::string>{"*data.bin - Undo delete"}));
}

TEST_F(ProgramTest, UndoAndRedoNameTheirStepsInTheTitle)
{
	std::string path = fRunner.MakeFile("data.bin", "0123");
	ProgramResult result = RunScript({path}, "type \"41\"\n"
	                                         "key Delete\n"
	                                         "title\n"
	                                         "undo\n"
	                                         "title\n"
	                                         "key Ctrl+Z\n"
	                                         "title\n"
	                                         "undo\n"
	                                         "title\n"
	                                         "redo\n"
	                                         "title\n"
	                                         "key Ctrl+Shift+Z\n"
	                                         "title\n"
	                                         "save\n");
	ASSERT_EQ(result.exitCode, 0) << result.errors;
	EXPECT_EQ(Lines(result.output),
	          (std::vector<std::string>{
	              "*data.bin - Undo delete", "*data.bin - Undo typing - Redo delete",
	              // Back at the saved state: no unsaved-changes mark.
	              "data.bin - Redo typing", "data.bin - Redo typing - Nothing to undo",
	              "*data.bin - Undo typing - Redo delete", "*data.bin - Undo delete"}));
	EXPECT_EQ(ProgramRunner::Contents(path), "A123");
}

// A click or a cursor key between edits of one kind starts a new undo step,
// as does an edit elsewhere; a run of typing or of Deletes is one step.
TEST_F(ProgramTest, UndoStepsEndAtAClickACursorMoveOrAnEditElsewhere)
{
	const std::string bytes = "0123456789abcdefghijklmnopqrstuv";
	std::string path = fRunner.MakeFile("data.bin", bytes);
	ProgramResult typed = RunScript({path}, "press hex 5\nrelease hex 5\ntype \"4142\"\n"
	                                        "press hex 20\nrelease hex 20\ntype \"43\"\n"
	                                        "undo\nsave\n");
	ASSERT_EQ(typed.exitCode, 0) << typed.errors;
	EXPECT_EQ(ProgramRunner::Contents(path), "01234AB56789abcdefghijklmnopqrstuv");

	// A Backspace, then two Deletes further on; the cursor moved between.
	fRunner.MakeFile("data.bin", bytes);
	ProgramResult deleted =
	    RunScript({path}, "press hex 10\nrelease hex 10\nkey Backspace\n"
	                      "key Right\nkey Right\nkey Right\nkey Delete\nkey Delete\n"
	                      "undo\nsave\n");
	ASSERT_EQ(deleted.exitCode, 0) << deleted.errors;
	EXPECT_EQ(ProgramRunner::Contents(path), "012345678abcdefghijklmnopqrstuv");

	// Typing, a click back at the end of the typed bytes, typing again.
	fRunner.MakeFile("data.bin", bytes);
	ProgramResult resumed = RunScript({path}, "press hex 0\nrelease hex 0\ntype \"41\"\n"
	                                          "press hex 1\nrelease hex 1\ntype \"42\"\n"
	                                          "undo\nsave\n");
	ASSERT_EQ(resumed.exitCode, 0) << resumed.errors;
	EXPECT_EQ(ProgramRunner::Contents(path), "A" + bytes);
}

// An undo step holds edits of one kind, and one key is never two steps: each
// script's one undo takes back exactly its last run.
TEST_F(ProgramTest, AnUndoStepIsARunOfOneKindAndOneKeyIsOneStep)
{
	const std::string bytes = "0123456789abcdef";
	const std::string selectFourToSeven = "press hex 4\nmove hex 6\nmove hex 7\nrelease hex 7\n";
	const struct
	{
		std::string script;
		std::string saved;
		std::string title;
	} cases[] = {
	    // Two Backspaces at 10, then two Deletes: the Deletes alone go.
	    {"press hex 10\nrelease hex 10\nkey Backspace\nkey Backspace\nkey Delete\n"
	     "key Delete\n",
	     "01234567abcdef", "*data.bin - Undo delete - Redo delete"},
	    // Backspace on the selection 4 to 6, then Deletes.
	    {selectFourToSeven + "key Backspace\nkey Delete\nkey Delete\n", "0123789abcdef",
	     "*data.bin - Undo delete - Redo delete"},
	    // A byte typed over the selection, in hex digits and as a character:
	    // one undo gives the selected bytes back.
	    {selectFourToSeven + "type \"41\"\n", bytes, "data.bin - Redo typing"},
	    {"press ascii 4\nmove ascii 7\nrelease ascii 7\ntype \"x\"\n", bytes,
	     "data.bin - Redo typing"},
	    // A Delete, then typing on the same spot: the typing alone goes.
	    {"press hex 4\nrelease hex 4\nkey Delete\ntype \"41\"\n", "012356789abcdef",
	     "*data.bin - Undo delete - Redo typing"},
	};
	for (const auto& test : cases) {
		const std::string path = fRunner.MakeFile("data.bin", bytes);
		ProgramResult result = RunScript({path}, test.script + "undo\ntitle\nsave\n");
		ASSERT_EQ(result.exitCode, 0) << result.errors;
		EXPECT_EQ(ProgramRunner::Contents(path), test.saved) << test.script;
		EXPECT_EQ(Lines(result.output), std::vector<std::string>{test.title}) << test.script;
	}
}

// A byte half typed when the editor leaves its item is ended there: back on
// the item, the cursor stands after it, and the next digit starts a byte.
TEST_F(ProgramTest, AHalfTypedByteEndsWhenTheItemChanges)
{
	std::string first = fRunner.MakeFile("a.bin", "I am");
	std::string second = fRunner.MakeFile("b.bin", "bbbb");
	ProgramResult result =
	    RunScript({first, second}, "press hex 2\nrelease hex 2\ntype \"4\"\n"
	                               "key Ctrl+PageDown\nkey Ctrl+PageUp\ntype \"1\"\nsave\n");
	ASSERT_EQ(result.exitCode, 0) << result.errors;
	EXPECT_EQ(ProgramRunner::Contents(first), "I \x40\x10"
	                                          "am");
	EXPECT_EQ(ProgramRunner::Contents(second), "bbbb");
}

TEST_F(ProgramTest, SwitchingItemsAndSavingOnlyWhatChanged)
{
	std::string first = fRunner.MakeFile("a.bin", "aaaa");
	std::string second = fRunner.MakeFile("b.bin", "bbbb");
	fs::file_time_type firstTime = fs::last_write_time(first);
	ProgramResult result = RunScript({first, second}, "title\n"
	                                                  "key Ctrl+PageDown\n"
	                                                  "title\n"
	                                                  "type \"41\"\n"
	                                                  "text\n"
	                                                  "next item\n"
	                                                  "title\n"
	                                                  "key Ctrl+PageUp\n"
	                                                  "title\n"
	                                                  "save\n");
	ASSERT_EQ(result.exitCode, 0) << result.errors;
	std::vector<std::string> lines = Lines(result.output);
	ASSERT_EQ(lines.size(), 5u) << result.output;
	EXPECT_EQ(lines[0], "a.bin (item 1 of 2)");
	EXPECT_EQ(lines[1], "b.bin (item 2 of 2)");
	EXPECT_EQ(lines[2].substr(0, 8), "00000000");
	EXPECT_NE(lines[2].find("4162 6262 62"), std::string::npos) << lines[2];
	EXPECT_NE(lines[2].find("Abbbb"), std::string::npos) << lines[2];
	EXPECT_EQ(lines[3], "*a.bin (item 1 of 2) - Undo typing");
	EXPECT_EQ(lines[4], "*b.bin (item 2 of 2) - Undo typing");
	EXPECT_EQ(ProgramRunner::Contents(first), "aaaa");
	EXPECT_EQ(fs::last_write_time(first), firstTime) << "an unchanged item was written";
	EXPECT_EQ(ProgramRunner::Contents(second), "Abbbb");
}

TEST_F(ProgramTest, QuittingWithUnsavedChangesTakesASecondRequest)
{
	std::string path = fRunner.MakeFile("data.bin", "0123");
	ProgramResult result = RunScript({path}, "type \"4\"\n"
	                                         "key Ctrl+Q\n"
	                                         "title\n"
	                                         "quit\n");
	ASSERT_EQ(result.exitCode, 0) << result.errors;
	EXPECT_EQ(Lines(result.output),
	          (std::vector<std::string>{
	              "*data.bin - Undo typing - Unsaved changes: press Ctrl+Q again to quit"}));
	EXPECT_EQ(ProgramRunner::Contents(path), "0123") << "quitting must not save";
}

TEST_F(ProgramTest, QuittingWithoutChangesEndsAtOnce)
{
	std::string path = fRunner.MakeFile("data.bin", "0123");
	ProgramResult result = RunScript({path}, "quit\ntitle\n");
	EXPECT_EQ(result.exitCode, 1);
	EXPECT_NE(result.errors.find("line 2: the window has already quit"), std::string::npos)
	    << result.errors;
	EXPECT_EQ(result.output, "");
}

TEST_F(ProgramTest, FailedSaveKeepsTheFileAndTheDocumentUnsaved)
{
	// A file size limit below the file's size makes writing fail for any
	// user, root included.
	std::string original(1000, 'x');
	std::string path = fRunner.MakeFile("data.bin", original);
	ProgramResult result = RunScript({path}, "type \"41\"\nsave\ntitle\n", {}, 500);
	EXPECT_EQ(result.exitCode, 1);
	EXPECT_EQ(ProgramRunner::Contents(path), original);
	const std::string error = path + ": cannot save: cannot write: File too large";
	EXPECT_EQ(result.output, "*data.bin - Undo typing - Save failed: " + error + "\n");
	EXPECT_EQ(result.errors,
	          "reshost: " + error + "\nreshost: script -: line 2: save failed: " + error + "\n");
	EXPECT_EQ(std::distance(fs::directory_iterator(fRunner.Folder()), {}), 1)
	    << "the temporary file was left behind";
}

TEST_F(ProgramTest, ARunThatSavedLessThanItAskedExitsOneNamingTheLine)
{
	// Build scripts trust the exit code. A hard-linked file warns on the
	// first save; the file size limit fails every write.
	const std::string original(1000, 'x');
	struct Case
	{
		const char* how;
		std::string script;
		std::vector<std::string> options;
		bool linked;
		long sizeLimit;
		std::string error; // after "reshost: script -: "; empty for exit code 0
		bool saved;
	};
	const std::string tooLarge = ": cannot save: cannot write: File too large";
	const std::string linked = ": has 2 hard links; saving gives this name a file of its own";
	const Case cases[] = {
	    {"a failed save",
	     "type \"41\"\nsave\nsave\ntitle\n",
	     {},
	     false,
	     500,
	     "line 2: save failed: PATH" + tooLarge,
	     false},
	    {"a failed save in another window",
	     "window 2\ntype \"41\"\n\nwindow 1\nkey Ctrl+S\n",
	     {"--windows", "2"},
	     false,
	     500,
	     "line 5: save failed: PATH" + tooLarge,
	     false},
	    {"a warned save at the end",
	     "type \"41\"\nsave\n",
	     {},
	     true,
	     0,
	     "line 2: nothing saved: PATH" + linked + " (a second save confirms)",
	     false},
	    {"a warned save then another command",
	     "type \"41\"\nkey Ctrl+S\nkey Right\ntitle\n",
	     {},
	     true,
	     0,
	     "line 2: nothing saved: PATH" + linked + " (a second save confirms)",
	     false},
	    {"a warned save confirmed", "type \"41\"\nsave\nsave\n", {}, true, 0, "", true},
	    {"a warned save whose changes are undone",
	     "type \"41\"\nsave\nundo\n",
	     {},
	     true,
	     0,
	     "",
	     false},
	    {"a save that wrote", "type \"41\"\nsave\n", {}, false, 0, "", true},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.how);
		const std::string path = fRunner.MakeFile("data.bin", original);
		const std::string other = fRunner.Folder() + "/other.bin";
		fs::remove(other);
		if (c.linked) {
			ASSERT_EQ(link(path.c_str(), other.c_str()), 0);
		}
		ProgramResult result = RunScript({path}, c.script, c.options, c.sizeLimit);
		std::string error = c.error;
		if (error.find("PATH") != std::string::npos)
			error.replace(error.find("PATH"), 4, path);
		if (error.empty()) {
			EXPECT_EQ(result.exitCode, 0) << result.errors;
		} else {
			EXPECT_EQ(result.exitCode, 1);
			EXPECT_EQ(Lines(result.errors).back(), "reshost: script -: " + error);
		}
		EXPECT_EQ(ProgramRunner::Contents(path), c.saved ? "A" + original : original);
	}
}

TEST_F(ProgramTest, SaveIntoAReadOnlyFolderFails)
{
	if (geteuid() == 0)
		GTEST_SKIP() << "root writes into read-only folders; the file size limit test covers root";
	// A file the user may write would be written in place after a warning:
	// this one can be neither replaced nor written.
	std::string path = fRunner.MakeFile("data.bin", "0123");
	fs::permissions(path, fs::perms::owner_read);
	fs::permissions(fRunner.Folder(), fs::perms::owner_read | fs::perms::owner_exec);
	ProgramResult result = RunScript({path}, "type \"41\"\nsave\ntitle\n");
	fs::permissions(fRunner.Folder(), fs::perms::owner_all);
	EXPECT_EQ(result.exitCode, 1) << result.errors;
	EXPECT_EQ(ProgramRunner::Contents(path), "0123");
	EXPECT_EQ(result.output.substr(0, 1), "*");
	EXPECT_NE(result.output.find("Save failed: " + path +
	                             ": cannot save: cannot create a temporary file in " +
	                             fRunner.Folder() + ": Permission denied"),
	          std::string::npos)
	    << result.output;
}

TEST_F(ProgramTest, TextOfTheDumpEqualsXxd)
{
	std::string path = fRunner.MakeFile("random.bin", RandomBytes(4096));
	ProgramResult result = fRunner.Run({"--text", path});
	ASSERT_EQ(result.exitCode, 0) << result.errors;
	std::vector<std::string> ours = Lines(result.output);
	ASSERT_GE(ours.size(), 16u) << result.output;

	FILE* pipe = popen(("xxd -u -g 2 " + path + " 2>/dev/null").c_str(), "r");
	ASSERT_NE(pipe, nullptr);
	std::string reference;
	char buffer[4096];
	for (size_t count; (count = fread(buffer, 1, sizeof(buffer), pipe)) > 0;)
		reference.append(buffer, count);
	if (pclose(pipe) != 0 || reference.empty())
		GTEST_SKIP() << "xxd is not installed (scripts/setup.sh installs it)";
	std::vector<std::string> theirs = Lines(reference);

	// xxd: "00000010: 0A1B ... 9F00  ..text..". Ours: offset, hex groups and
	// characters, each column at its own place. Both reduce to the offset,
	// the hex groups and the 16 characters.
	auto reduceTheirs = [](const std::string& line) {
		std::string offset = line.substr(0, 8);
		for (char& c : offset)
			c = char(toupper(static_cast<unsigned char>(c)));
		std::string hex = line.substr(10, 39);
		std::string characters = line.substr(51);
		return offset + "|" + hex + "|" + characters;
	};
	// Our character column starts at the same place on every line: the
	// leftmost start of a character text that is not a space.
	size_t characterColumn = std::string::npos;
	for (const std::string& line : ours) {
		size_t hexEnd = line.find_first_not_of(' ', 8) + 39;
		size_t start = line.find_first_not_of(' ', hexEnd);
		if (start != std::string::npos)
			characterColumn = std::min(characterColumn, start);
	}
	ASSERT_NE(characterColumn, std::string::npos);

	for (size_t i = 0; i < ours.size(); i++) {
		const std::string& line = ours[i];
		ASSERT_EQ(OffsetOf(line), long(16 * i)) << "line " << i << " out of order: " << line;
		std::string hex = line.substr(line.find_first_not_of(' ', 8), 39);
		std::string characters = line.size() > characterColumn ? line.substr(characterColumn) : "";
		// Trailing spaces of a line are not printed.
		characters.resize(16, ' ');
		EXPECT_EQ(line.substr(0, 8) + "|" + hex + "|" + characters, reduceTheirs(theirs[i]));
	}
}

TEST_F(ProgramTest, ScrollingFollowsTheCursorTheWheelAndTheData)
{
	std::string path = fRunner.MakeFile("random.bin", RandomBytes(4096));
	ProgramResult result =
	    RunScript({path}, Repeat("key Down", 60) + "text\n" +
	                          "move at 100 100\n"
	                          "wheel -100\n"
	                          "text\n"
	                          "wheel 3\n"
	                          "text\n"
	                          // Everything selected and deleted: the view must scroll back.
	                          + Repeat("key Down", 200) + Repeat("key Shift+Up", 260) +
	                          "key Delete\n"
	                          "text\n");
	ASSERT_EQ(result.exitCode, 0) << result.errors;
	std::vector<std::string> lines = Lines(result.output);

	// Four dumps: split where the offsets start again or jump back.
	std::vector<std::vector<long>> dumps(1);
	for (const std::string& line : lines) {
		long offset = OffsetOf(line);
		if (!dumps.back().empty() && offset <= dumps.back().back())
			dumps.emplace_back();
		dumps.back().push_back(offset);
	}
	ASSERT_EQ(dumps.size(), 4u) << result.output;

	// The cursor went down 60 lines: its line is the last whole one shown;
	// below it at most the start of the next one.
	EXPECT_GT(dumps[0].front(), 0);
	EXPECT_GE(dumps[0].back(), 60 * 16) << result.output;
	EXPECT_LE(dumps[0].back(), 61 * 16) << result.output;
	// The wheel back to the top, then three notches of three lines each.
	EXPECT_EQ(dumps[1].front(), 0);
	EXPECT_EQ(dumps[2].front(), 9 * 16);
	// No data left: just the line of the end of the data, at the top.
	EXPECT_EQ(dumps[3], std::vector<long>{0});
	EXPECT_EQ(lines.back(), "00000000");
}

TEST_F(ProgramTest, ResizingTheWindowShowsMoreOrFewerLines)
{
	std::string path = fRunner.MakeFile("random.bin", RandomBytes(4096));
	ProgramResult result = RunScript({path}, "text\nresize 640 150\ntext\nresize 640 700\ntext\n");
	ASSERT_EQ(result.exitCode, 0) << result.errors;
	std::vector<size_t> counts(1, 0);
	long previous = -1;
	for (const std::string& line : Lines(result.output)) {
		long offset = OffsetOf(line);
		if (offset <= previous)
			counts.push_back(0);
		counts.back()++;
		previous = offset;
	}
	ASSERT_EQ(counts.size(), 3u) << result.output;
	EXPECT_LT(counts[1], counts[0]);
	EXPECT_GT(counts[2], counts[0]);
}

TEST_F(ProgramTest, ScriptErrorsNameTheLineAndStop)
{
	std::string path = fRunner.MakeFile("data.bin", "0123");
	ProgramResult result = RunScript({path}, "type \"4\"\n\n# fine so far\nfrobnicate\nsave\n");
	EXPECT_EQ(result.exitCode, 1);
	EXPECT_NE(result.errors.find("line 4: unknown command \"frobnicate\""), std::string::npos)
	    << result.errors;
	EXPECT_EQ(ProgramRunner::Contents(path), "0123") << "lines after the error must not run";
}

TEST_F(ProgramTest, BadInputIsRefusedBeforeAnyWindowOpens)
{
	std::string directory = fRunner.Folder() + "/folder";
	fs::create_directory(directory);
	// Sparse files: sizes without the disk space.
	std::string tooTall = fRunner.MakeFile("tall.bin", "");
	fs::resize_file(tooTall, 64ull << 20);
	std::string tooLarge = fRunner.MakeFile("large.bin", "");
	fs::resize_file(tooLarge, 0x100000000ull);
	std::string good = fRunner.MakeFile("good.bin", "0123");

	struct
	{
		std::vector<std::string> arguments;
		std::string message;
	} cases[] = {
	    {{fRunner.Folder() + "/missing"}, "cannot open: No such file or directory"},
	    {{directory}, directory + ": is a directory"},
	    {{"/dev/null"}, "/dev/null: is a character device"},
	    {{tooLarge}, "offsets are 32-bit, so at most 4294967295 bytes"},
	    {{tooTall}, "fit the view's exact coordinates"},
	    {{good, "--frobnicate"}, "unknown option --frobnicate"},
	    {{"--script"}, "--script needs a value"},
	    {{"--script", fRunner.Folder() + "/none", good}, "cannot open the script"},
	    {{"--addon", fRunner.Folder() + "/none.so", good}, "cannot load the add-on"},
	    {{"--item", "2", good}, "--item 2: the document has 1 items"},
	    {{"--list", "--item", "2", good}, "--item 2: the document has 1 items"},
	};
	for (const auto& entry : cases) {
		ProgramResult result = fRunner.Run(entry.arguments);
		EXPECT_EQ(result.exitCode, 2) << entry.message;
		EXPECT_EQ(Lines(result.errors).size(), 1u) << result.errors;
		EXPECT_EQ(result.errors.rfind("reshost: ", 0), 0u) << result.errors;
		EXPECT_NE(result.errors.find(entry.message), std::string::npos) << result.errors;
		EXPECT_EQ(result.output, "") << "nothing may run: " << result.output;
	}
}

TEST_F(ProgramTest, LargestItemOfTheDefaultFaceOpensAndOneByteMoreIsRefused)
{
	// The default face's lines are 15 pixels high: 1118479 lines (the one
	// holding the end of the data included) and both margins stay below
	// 2^24 pixels, so 17895679 bytes fit, as the README says.
	std::string largest = fRunner.MakeFile("largest.bin", "");
	fs::resize_file(largest, 17895679);
	ProgramResult opened = RunScript({largest}, "title\nquit\n");
	EXPECT_EQ(opened.exitCode, 0) << opened.errors;
	EXPECT_EQ(Lines(opened.output), (std::vector<std::string>{"largest.bin"}));

	std::string above = fRunner.MakeFile("above.bin", "");
	fs::resize_file(above, 17895680);
	ProgramResult refused = RunScript({above}, "quit\n");
	EXPECT_EQ(refused.exitCode, 2);
	EXPECT_NE(refused.errors.find("at most 17895679 bytes"), std::string::npos) << refused.errors;
}

// --font-size sets the text's size; the window and the largest item that
// keeps exact line positions follow it.
TEST_F(ProgramTest, FontSizeScalesTheWindowAndTheLargestItem)
{
	std::string path = fRunner.MakeFile("data.bin", std::string(300, 'x'));
	// A PNG's width and height: big-endian words at bytes 16 and 20.
	auto imageSize = [](const std::string& png) {
		std::string bytes = ProgramRunner::Contents(png);
		auto word = [&](size_t at) {
			return (uint32_t(uint8_t(bytes[at])) << 24) | (uint32_t(uint8_t(bytes[at + 1])) << 16) |
			       (uint32_t(uint8_t(bytes[at + 2])) << 8) | uint32_t(uint8_t(bytes[at + 3]));
		};
		return bytes.size() < 24 ? std::make_pair(0u, 0u) : std::make_pair(word(16), word(20));
	};
	const std::string normal = fRunner.MakeFile("normal.png", "");
	const std::string large = fRunner.MakeFile("large.png", "");
	ASSERT_EQ(fRunner.Run({"--headless", "--snapshot", normal, path}).exitCode, 0);
	ASSERT_EQ(fRunner.Run({"--headless", "--font-size=24", "--snapshot", large, path}).exitCode, 0);
	const std::pair<uint32_t, uint32_t> normalSize = imageSize(normal);
	const std::pair<uint32_t, uint32_t> largeSize = imageSize(large);
	EXPECT_GT(largeSize.first, normalSize.first * 3 / 2);
	EXPECT_GT(largeSize.second, normalSize.second * 3 / 2);

	std::string largest = fRunner.MakeFile("largest.bin", "");
	fs::resize_file(largest, 17895679);
	ProgramResult refused = fRunner.Run({"--headless", "--font-size", "24", largest});
	EXPECT_EQ(refused.exitCode, 2);
	EXPECT_NE(refused.errors.find("at most"), std::string::npos) << refused.errors;

	ProgramResult tooSmall = fRunner.Run({"--font-size", "5", path});
	EXPECT_EQ(tooSmall.exitCode, 2);
	EXPECT_NE(tooSmall.errors.find("--font-size needs a size in pixels from 6 to 96, not 5"),
	          std::string::npos)
	    << tooSmall.errors;
}

TEST_F(ProgramTest, HelpAndVersion)
{
	ProgramResult help = fRunner.Run({"--help"});
	EXPECT_EQ(help.exitCode, 0);
	EXPECT_EQ(help.output.rfind("usage: reshost [options] [FILE...]", 0), 0u) << help.output;
	EXPECT_NE(help.output.find("--script FILE"), std::string::npos);
	EXPECT_NE(help.output.find("--windows K"), std::string::npos);
	EXPECT_NE(help.output.find("Ctrl+N a new window"), std::string::npos);

	ProgramResult version = fRunner.Run({"--version"});
	EXPECT_EQ(version.exitCode, 0);
	EXPECT_EQ(version.output.rfind("reshost ", 0), 0u);
}

TEST_F(ProgramTest, SampleDocumentWithoutFiles)
{
	std::string snapshot = fRunner.Folder() + "/sample.png";
	ProgramResult result = fRunner.Run({"--snapshot", snapshot, "--text"});
	ASSERT_EQ(result.exitCode, 0) << result.errors;
	EXPECT_EQ(result.errors, "reshost: snapshot written to " + snapshot + "\n");
	std::vector<std::string> lines = Lines(result.output);
	ASSERT_FALSE(lines.empty());
	EXPECT_EQ(lines[0].substr(0, 8), "00000000");
	EXPECT_NE(lines[0].find("4865 6C6C 6F20"), std::string::npos) << lines[0];
	EXPECT_NE(lines[0].find("Hello from"), std::string::npos) << lines[0];
	EXPECT_EQ(ProgramRunner::Contents(snapshot).substr(0, 8), "\x89PNG\r\n\x1a\n");

	// Its five items, the byte table among them.
	ProgramResult items =
	    RunScript({}, "title\nnext\ntitle\ntext\nprevious\nprevious\ntitle\nsave\ntitle\n");
	ASSERT_EQ(items.exitCode, 0) << items.errors;
	std::vector<std::string> output = Lines(items.output);
	ASSERT_GE(output.size(), 5u);
	EXPECT_EQ(output[0], "greeting (item 1 of 5)");
	EXPECT_EQ(output[1], "byte table (item 2 of 5)");
	EXPECT_NE(output[2].find("0001 0203 0405 0607 0809 0A0B 0C0D 0E0F"), std::string::npos);
	EXPECT_EQ(output[output.size() - 2], "empty (item 5 of 5)");
	EXPECT_EQ(output.back(), "empty (item 5 of 5) - The sample document has no files to save to");
}

TEST_F(ProgramTest, HeadlessRunWritesTheDefaultSnapshot)
{
	std::string expected = fs::weakly_canonical(fs::path(ProgramRunner::ProgramPath()))
	                           .parent_path()
	                           .parent_path()
	                           .string() +
	                       "/reshost-window.png";
	fs::remove(expected);
	ProgramResult result = fRunner.Run({});
	ASSERT_EQ(result.exitCode, 0) << result.errors;
	EXPECT_EQ(result.output, "reshost: snapshot written to " + expected + "\n");
	EXPECT_TRUE(fs::exists(expected));
}
