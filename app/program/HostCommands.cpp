// HostCommands: the table of the host's commands.

#include "HostCommands.h"

#include <InterfaceDefs.h>
#include <TypeConstants.h>

#include <algorithm>
#include <sstream>

#include "HostWindow.h"
#include "ItemReference.h"

namespace {

// The keys without a character of their own that a shortcut may use, by
// the names the keys carry.
struct KeyName
{
	uint32 key;
	const char* name;
};

const KeyName kKeyNames[] = {
    {B_LEFT_ARROW, "Left"}, {B_RIGHT_ARROW, "Right"},   {B_UP_ARROW, "Up"},
    {B_DOWN_ARROW, "Down"}, {B_HOME, "Home"},           {B_END, "End"},
    {B_PAGE_UP, "Page Up"}, {B_PAGE_DOWN, "Page Down"}, {B_INSERT, "Insert"},
    {B_DELETE, "Delete"},   {B_BACKSPACE, "Backspace"}, {B_RETURN, "Return"},
    {B_TAB, "Tab"},         {B_ESCAPE, "Escape"},       {B_SPACE, "Space"},
};

// Splits a verb of several words at its spaces.
std::vector<std::string> WordsOf(const std::string& verb)
{
	std::vector<std::string> words;
	std::istringstream stream(verb);
	for (std::string word; stream >> word;)
		words.push_back(word);
	return words;
}

// The item commands' arguments. A key opens the window's form for them
// instead: a message without them.

// TYPE:ID[:NAME], then for a new item "file PATH" or "text TEXT" (its bytes;
// none without either).
bool ReadNewItem(const std::vector<std::string>& words, BMessage& message, std::string& error)
{
	ItemReference reference;
	if (words.empty() || !ItemReference::Parse(words[0], reference, error)) {
		if (words.empty())
			error = "an item is named TYPE:ID[:NAME]";
		return false;
	}
	message.AddString("item", words[0].c_str());
	if (words.size() == 1)
		return true;
	if (words.size() == 3 && words[1] == "file") {
		message.AddString("file", words[2].c_str());
		return true;
	}
	// A text's bytes may hold NUL bytes ("\x00").
	if (words.size() == 3 && words[1] == "text") {
		message.AddData("text", B_RAW_TYPE, words[2].data(), ssize_t(words[2].size()));
		return true;
	}
	error = "after the item: file PATH or text \"TEXT\"";
	return false;
}

bool ReadItemInfo(const std::vector<std::string>& words, BMessage& message, std::string& error)
{
	ItemReference reference;
	if (words.size() != 1) {
		error = "one item, TYPE:ID[:NAME]";
		return false;
	}
	if (!ItemReference::Parse(words[0], reference, error))
		return false;
	message.AddString("item", words[0].c_str());
	return true;
}

bool ReadPath(const std::vector<std::string>& words, BMessage& message, std::string& error)
{
	if (words.size() != 1 || words[0].empty()) {
		error = "one file's path";
		return false;
	}
	message.AddString("path", words[0].c_str());
	return true;
}

} // namespace

const std::vector<HostCommand>& HostCommands::All()
{
	static const std::vector<HostCommand> commands = {
	    {kMsgSave,
	     'S',
	     0,
	     {"save"},
	     NULL,
	     NULL,
	     "save every changed item to its file",
	     &HostWindow::SaveCommand},
	    {kMsgUndo, 'Z', 0, {"undo"}, NULL, NULL, "undo the last step", &HostWindow::UndoCommand},
	    {kMsgRedo,
	     'Z',
	     B_SHIFT_KEY,
	     {"redo"},
	     NULL,
	     NULL,
	     "redo the step undone last",
	     &HostWindow::RedoCommand},
	    {kMsgNextItem,
	     B_PAGE_DOWN,
	     0,
	     {"next", "next item"},
	     NULL,
	     NULL,
	     "show the next item",
	     &HostWindow::NextItemCommand},
	    {kMsgPreviousItem,
	     B_PAGE_UP,
	     0,
	     {"previous", "previous item"},
	     NULL,
	     NULL,
	     "show the previous item",
	     &HostWindow::PreviousItemCommand},
	    {kMsgNewWindow,
	     'N',
	     0,
	     {"new window"},
	     NULL,
	     NULL,
	     "a new window on the shown item",
	     &HostWindow::NewWindowCommand},
	    {kMsgQuit, 'Q', 0, {"quit"}, NULL, NULL, "quit, every window", &HostWindow::QuitCommand},
	    {kMsgAddItem,
	     'A',
	     B_SHIFT_KEY,
	     {"add", "add item"},
	     "TYPE:ID[:NAME] [file PATH | text \"TEXT\"]",
	     &ReadNewItem,
	     "add an item after the shown one: empty, or a file's bytes, or a text",
	     &HostWindow::AddItemCommand},
	    {kMsgRemoveItem,
	     B_DELETE,
	     B_SHIFT_KEY,
	     {"remove", "remove item"},
	     NULL,
	     NULL,
	     "remove the shown item (also Delete in the item list)",
	     &HostWindow::RemoveItemCommand},
	    {kMsgItemInfo,
	     'I',
	     0,
	     {"info", "item info"},
	     "TYPE:ID[:NAME]",
	     &ReadItemInfo,
	     "change the shown item's type, id and name",
	     &HostWindow::ItemInfoCommand},
	    {kMsgImport,
	     'I',
	     B_SHIFT_KEY,
	     {"import"},
	     "PATH",
	     &ReadPath,
	     "replace the shown item's bytes with a file's",
	     &HostWindow::ImportCommand},
	    {kMsgExport,
	     'E',
	     0,
	     {"export"},
	     "PATH",
	     &ReadPath,
	     "write the shown item's bytes to a file",
	     &HostWindow::ExportCommand},
	};
	return commands;
}

const HostCommand* HostCommands::Find(uint32 what)
{
	const std::vector<HostCommand>& commands = All();
	auto found = std::find_if(commands.begin(), commands.end(),
	                          [what](const HostCommand& command) { return command.what == what; });
	return found != commands.end() ? &*found : NULL;
}

const HostCommand* HostCommands::FindVerb(const std::vector<std::string>& words, size_t& verbWords)
{
	const HostCommand* found = NULL;
	verbWords = 0;
	for (const HostCommand& command : All()) {
		for (const std::string& verb : command.verbs) {
			const std::vector<std::string> parts = WordsOf(verb);
			if (parts.size() > verbWords && parts.size() <= words.size() &&
			    std::equal(parts.begin(), parts.end(), words.begin())) {
				found = &command;
				verbWords = parts.size();
			}
		}
	}
	return found;
}

std::string HostCommands::ShortcutName(const HostCommand& command)
{
	std::string name = "Ctrl+";
	if ((command.modifiers & B_SHIFT_KEY) != 0)
		name += "Shift+";
	if ((command.modifiers & B_OPTION_KEY) != 0)
		name += "Alt+";
	for (const KeyName& key : kKeyNames) {
		if (key.key == command.key)
			return name + key.name;
	}
	return name + char(command.key);
}

std::string HostCommands::Usage(const HostCommand& command)
{
	std::string usage;
	for (const std::string& verb : command.verbs) {
		usage += (usage.empty() ? "" : " | ") + verb;
		if (command.argumentUsage != NULL)
			usage += std::string(" ") + command.argumentUsage;
	}
	return usage;
}

std::string HostCommands::KeysHelp()
{
	std::string help;
	for (const HostCommand& command : All()) {
		help += "  " + ShortcutName(command) + " " + command.description +
		        " (script: " + Usage(command) + ")\n";
	}
	return help;
}
