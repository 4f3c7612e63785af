// The host commands' table as its readers use it, row by row: each row's
// shortcut, pressed in a window, does what each of its script verbs does
// when a script runs it, and something that shows (a command that takes
// arguments opens its form, and the same arguments typed into the form do
// what the verb does with them); each verb parses to its row's message and
// refuses words it does not take; the README's keys table names every
// row's shortcut and verbs.

#include <gtest/gtest.h>

#include <Autolock.h>
#include <InterfaceDefs.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <set>

#include "HostCommands.h"
#include "ItemForm.h"
#include "ScriptParser.h"
#include "ScriptSession.h"

namespace {

// What the program shows: every open window's title (its item, the undo
// and redo steps and any notice), and whether it quit.
struct Look
{
	std::vector<std::string> titles;
	bool quit = false;
	// The command whose form is open in each window (0: none).
	std::vector<uint32> forms;

	bool operator==(const Look&) const = default;
};

void PrintTo(const Look& look, std::ostream* stream)
{
	*stream << (look.quit ? "quit; " : "") << look.titles.size() << " windows:";
	for (const std::string& title : look.titles)
		*stream << " \"" << title << "\"";
}

// Three items, one byte typed into the first: every command has something
// to show here (the item moves either way, undo has a step, redo has none,
// a quit warns of the unsaved change, a save has no files to save to).
std::unique_ptr<ScriptSession> EditedSession()
{
	auto session = std::make_unique<ScriptSession>(
	    std::vector<std::string>{"first item", "second item", "third item"}, kTestFace);
	EXPECT_TRUE(session->Ready());
	EXPECT_EQ(session->Run({"type \"41\""}, false), "");
	return session;
}

Look LookOf(ScriptSession& session)
{
	std::ostringstream ignored;
	ScriptRunner(session.Windows(), true, ignored).WaitUntilIdle();
	Look look;
	look.quit = session.Windows().QuitAccepted();
	for (int32 number : session.Windows().OpenNumbers()) {
		if (HostWindow* window = session.Windows().WindowAt(number)) {
			BAutolock lock(window);
			look.titles.push_back(window->Title());
			look.forms.push_back(window->Form() != NULL ? window->Form()->Command() : 0);
		}
	}
	return look;
}

// The arguments this test gives a row that takes some: as a script writes
// them after the verb, and as a person types them into the row's form, a
// field at a time.
struct Arguments
{
	std::string words;
	std::vector<std::string> fields;
};

Arguments ExampleArguments(const HostCommand& command, const std::string& path)
{
	switch (command.what) {
	case kMsgAddItem:
		return {"\"CSTR:9:a name\" text \"hi\"", {"CSTR", "9", "a name", "", "hi"}};
	case kMsgItemInfo:
		return {"CSTR:9:x", {"CSTR", "9", "x"}};
	default:
		return {"\"" + path + "\"", {path}};
	}
}

void Press(HostWindow* window, const std::string& bytes, int32 modifiers = 0)
{
	PlatformTesting::PostAndWait(window, PlatformTesting::MakeKeyDown(bytes.c_str(), modifiers));
}

} // namespace

TEST(HostCommandsTest, EachShortcutDoesWhatItsVerbsDo)
{
	Look untouched;
	{
		std::unique_ptr<ScriptSession> session = EditedSession();
		untouched = LookOf(*session);
	}
	// A file for import to read and export to write.
	const std::string path = testing::TempDir() + "host_commands_file";
	for (const HostCommand& command : HostCommands::All()) {
		const std::string shortcut = HostCommands::ShortcutName(command);
		{
			std::ofstream file(path, std::ios::binary | std::ios::trunc);
			file << "bytes of a file";
		}
		Look pressed;
		Look typed;
		{
			std::unique_ptr<ScriptSession> session = EditedSession();
			// As the display delivers it: a letter's own lowercase byte.
			const char key = char(command.key < 0x80 ? tolower(int(command.key)) : command.key);
			PlatformTesting::PostAndWait(
			    session->Window(),
			    PlatformTesting::MakeKeyDown(std::string(1, key).c_str(),
			                                 int32(B_COMMAND_KEY | command.modifiers)));
			pressed = LookOf(*session);
			if (command.readArguments != NULL) {
				// The key opened the command's form: what is typed into it,
				// a field after another, Enter at the end, is the command.
				ASSERT_EQ(pressed.forms, std::vector<uint32>{command.what}) << shortcut;
				for (const std::string& field : ExampleArguments(command, path).fields) {
					for (char c : field)
						Press(session->Window(), std::string(1, c));
					Press(session->Window(), "\t");
				}
				Press(session->Window(), "\n");
				typed = LookOf(*session);
			}
		}
		EXPECT_NE(pressed, untouched) << shortcut << " showed nothing";
		for (const std::string& verb : command.verbs) {
			std::unique_ptr<ScriptSession> session = EditedSession();
			if (command.readArguments == NULL) {
				EXPECT_EQ(session->Run({verb}, false), "") << verb;
				EXPECT_EQ(LookOf(*session), pressed) << shortcut << " and the verb " << verb;
				continue;
			}
			const std::string line = verb + " " + ExampleArguments(command, path).words;
			EXPECT_EQ(session->Run({line}, false), "") << line;
			const Look done = LookOf(*session);
			EXPECT_NE(done, untouched) << line << " showed nothing";
			EXPECT_EQ(done, typed) << "the form of " << shortcut << " and " << line;
		}
	}
}

TEST(HostCommandsTest, EveryVerbParsesToItsRow)
{
	std::set<uint32> codes;
	std::set<std::pair<uint32, uint32>> shortcuts;
	for (const HostCommand& command : HostCommands::All()) {
		EXPECT_TRUE(codes.insert(command.what).second) << "two rows post one message";
		EXPECT_TRUE(shortcuts.insert({command.key, command.modifiers}).second)
		    << "two rows on " << HostCommands::ShortcutName(command);
		EXPECT_EQ(HostCommands::Find(command.what), &command);
		ASSERT_FALSE(command.verbs.empty());
		for (const std::string& verb : command.verbs) {
			ScriptCommand parsed;
			std::string error;
			const std::string arguments = command.readArguments != NULL
			                                  ? " " + ExampleArguments(command, "/a path").words
			                                  : std::string();
			ASSERT_EQ(ScriptParser::ParseLine("  " + verb + arguments + "  # a comment", 3, parsed,
			                                  error),
			          ScriptParser::kCommand)
			    << verb << ": " << error;
			EXPECT_EQ(parsed.kind, ScriptCommand::kHostCommand) << verb;
			EXPECT_EQ(parsed.message.what, command.what) << verb;
			if (command.readArguments == NULL) {
				EXPECT_EQ(ScriptParser::ParseLine(verb + " more", 3, parsed, error),
				          ScriptParser::kError);
				EXPECT_EQ(error, "line 3: usage: " + HostCommands::Usage(command)) << verb;
			}
		}
	}
	// The script language's other verbs and a near miss are no host command.
	size_t verbWords;
	for (const char* other : {"text", "title", "close", "window", "new", "item", "nextitem"})
		EXPECT_EQ(HostCommands::FindVerb({other, "item"}, verbWords), nullptr) << other;
}

TEST(HostCommandsTest, TheReadmeNamesEveryShortcutAndVerb)
{
	std::ifstream file(std::string(getenv("HEXDUMP_SOURCE_DIR")) + "/README.md");
	ASSERT_TRUE(file) << "no README.md in the source folder";
	std::vector<std::string> lines;
	for (std::string line; std::getline(file, line);)
		lines.push_back(line);
	for (const HostCommand& command : HostCommands::All()) {
		const std::string start = "| " + HostCommands::ShortcutName(command) + " |";
		auto row = std::find_if(lines.begin(), lines.end(), [&start](const std::string& line) {
			return line.rfind(start, 0) == 0;
		});
		ASSERT_NE(row, lines.end()) << "no row " << start;
		for (const std::string& verb : command.verbs)
			EXPECT_NE(row->find("`" + verb + "`"), std::string::npos) << *row;
	}
}
