// The item commands as scripts drive them in two windows on one document:
// random runs of add, remove, item info, import, export, dropped files,
// typing, undo and redo, each in one of the windows, against a model that
// knows only the items in order and whole snapshots for undo and redo.
// After every command both windows list what the model holds, each shows
// an item while there is one, the next undo step has the model's name, an
// export wrote the shown item's bytes, and (the runner's redraw check)
// every window shows what a full redraw of it shows. A failing run shrinks
// to the fewest commands that still fail.

#include <gtest/gtest.h>

#include <Autolock.h>
#include <ListItem.h>
#include <ListView.h>
#include <ResourceItem.h>
#include <TypeConstants.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>

#include "ItemListing.h"
#include "ProgramRunner.h"
#include "RandomEditing.h"
#include "ScriptSession.h"

namespace {

struct ModelItem
{
	type_code type;
	int32 id;
	std::string name;
	std::string bytes;
};

struct Model
{
	std::vector<ModelItem> items;
	// The states before each step, and the steps' names.
	std::vector<std::pair<std::vector<ModelItem>, std::string>> undo;
	std::vector<std::pair<std::vector<ModelItem>, std::string>> redo;

	bool Taken(type_code type, int32 id, int32 except = -1) const
	{
		for (size_t index = 0; index < items.size(); index++) {
			if (int32(index) != except && items[index].type == type && items[index].id == id)
				return true;
		}
		return false;
	}

	void Step(const std::string& name, std::vector<ModelItem> after)
	{
		undo.push_back({items, name});
		redo.clear();
		items = std::move(after);
	}
};

struct Command
{
	enum Kind
	{
		kAdd,
		kRemove,
		kInfo,
		kImport,
		kExport,
		kDrop,
		kType,
		kUndo,
		kRedo
	};
	Kind kind;
	int32 window; // 1 or 2
	type_code type;
	int32 id;
	std::string name;
	std::string bytes;
};

const type_code kTypes[] = {'CSTR', 'RAWT', B_MESSAGE_TYPE, 0x01020304};

void WriteFile(const std::string& path, const std::string& bytes)
{
	std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Escaped(const std::string& bytes)
{
	static const char kHex[] = "0123456789abcdef";
	std::string text;
	for (unsigned char c : bytes) {
		text += "\\x";
		text += kHex[c >> 4];
		text += kHex[c & 15];
	}
	return text;
}

std::string HexDigits(const std::string& bytes)
{
	static const char kHex[] = "0123456789abcdef";
	std::string text;
	for (unsigned char c : bytes) {
		text += kHex[c >> 4];
		text += kHex[c & 15];
	}
	return text;
}

// Whether a list row shows whole: the row itself, or the row with the end
// of its name cut off for an ellipsis, as a narrow list shows it.
bool Shows(const std::string& row, const std::string& whole)
{
	if (row == whole)
		return true;
	const size_t open = whole.find('"');
	const size_t close = whole.rfind('"');
	const std::string head = whole.substr(0, open + 1);
	const std::string tail = "\xE2\x80\xA6" + whole.substr(close);
	return row.size() >= head.size() + tail.size() && row.rfind(head, 0) == 0 &&
	       row.compare(row.size() - tail.size(), tail.size(), tail) == 0 &&
	       whole.compare(open + 1, row.size() - head.size() - tail.size(),
	                     row.substr(head.size(), row.size() - head.size() - tail.size())) == 0;
}

std::string Describe(const std::vector<Command>& commands)
{
	static const char* const kNames[] = {"add",  "remove", "info", "import", "export",
	                                     "drop", "type",   "undo", "redo"};
	std::ostringstream text;
	for (const Command& command : commands) {
		text << "w" << command.window << " " << kNames[command.kind] << " "
		     << ItemListing::TypeText(command.type) << ":" << command.id << ":" << command.name
		     << " (" << command.bytes.size() << " bytes); ";
	}
	return text.str();
}

class ItemCommandsRun
{
public:
	explicit ItemCommandsRun(const std::string& folder) : fFolder(folder) {}

	// "" when every command leaves what the model says, else what differs.
	std::string Run(const std::vector<Command>& commands)
	{
		ScriptSession session({"abc", "", "0123456789"}, kTestFace);
		if (!session.Ready())
			return "no session";
		Model model;
		for (int32 index = 0; index < 3; index++) {
			const BResourceItem* item =
			    session.GetDocument().Item(session.GetDocument().ItemAt(index));
			model.items.push_back({item->Type(), item->ID(), item->Name(),
			                       std::string(static_cast<const char*>(item->DataIO().Buffer()),
			                                   item->DataIO().BufferLength())});
		}
		if (std::string error = session.Run({"new window"}); !error.empty())
			return error;
		for (size_t step = 0; step < commands.size(); step++) {
			const std::string fault = Apply(session, model, commands[step]);
			if (!fault.empty())
				return "command " + std::to_string(step + 1) + ": " + fault;
		}
		return "";
	}

private:
	HostWindow* WindowOf(ScriptSession& session, int32 number)
	{
		return session.Windows().WindowAt(number);
	}

	std::string Apply(ScriptSession& session, Model& model, const Command& command)
	{
		HostWindow* window = WindowOf(session, command.window);
		int32 shown;
		{
			BAutolock lock(window);
			shown = window->CurrentItem();
		}
		const bool any = !model.items.empty();
		const std::string item = ItemListing::TypeText(command.type) + ":" +
		                         std::to_string(command.id) + ":" + command.name;
		const std::string path = fFolder + "/" + command.name;
		Script script{"window " + std::to_string(command.window)};
		std::vector<ModelItem> after = model.items;
		switch (command.kind) {
		case Command::kAdd:
			script.push_back("add \"" + item + "\" text \"" + Escaped(command.bytes) + "\"");
			if (!model.Taken(command.type, command.id)) {
				after.insert(after.begin() + (shown + 1),
				             {command.type, command.id, command.name, command.bytes});
				model.Step("add item", after);
			}
			break;
		case Command::kRemove:
			script.push_back("remove");
			if (any) {
				after.erase(after.begin() + shown);
				model.Step("remove item", after);
			}
			break;
		case Command::kInfo:
			script.push_back("info \"" + item + "\"");
			if (any && !model.Taken(command.type, command.id, shown)) {
				after[size_t(shown)].type = command.type;
				after[size_t(shown)].id = command.id;
				after[size_t(shown)].name = command.name;
				model.Step("item info", after);
			}
			break;
		case Command::kImport:
			WriteFile(path, command.bytes);
			script.push_back("import \"" + path + "\"");
			if (any) {
				after[size_t(shown)].bytes = command.bytes;
				model.Step("import", after);
			}
			break;
		case Command::kExport:
			WriteFile(path, "old");
			script.push_back("export \"" + path + "\"");
			break;
		case Command::kDrop: {
			WriteFile(path, command.bytes);
			script.push_back("drop \"" + path + "\"");
			const type_code type =
			    command.bytes.rfind("\x89PNG\r\n\x1A\n", 0) == 0 ? 'PNG ' : B_RAW_TYPE;
			int32 id = 1;
			while (model.Taken(type, id))
				id++;
			after.insert(after.begin() + (shown + 1), {type, id, command.name, command.bytes});
			model.Step("add item", after);
			break;
		}
		case Command::kType:
			// A click starts a step of its own; typed digits insert bytes.
			script.insert(script.end(), {"press hex 0", "release hex 0",
			                             "type \"" + HexDigits(command.bytes) + "\""});
			if (any) {
				after[size_t(shown)].bytes.insert(0, command.bytes);
				model.Step("typing", after);
			}
			break;
		case Command::kUndo:
			script.push_back("undo");
			if (!model.undo.empty()) {
				model.redo.push_back({model.items, model.undo.back().second});
				model.items = model.undo.back().first;
				model.undo.pop_back();
			}
			break;
		case Command::kRedo:
			script.push_back("redo");
			if (!model.redo.empty()) {
				model.undo.push_back({model.items, model.redo.back().second});
				model.items = model.redo.back().first;
				model.redo.pop_back();
			}
			break;
		}
		if (std::string error = session.Run(script); !error.empty())
			return error;
		return Check(session, model, command, shown, path);
	}

	std::string Check(ScriptSession& session, const Model& model, const Command& command,
	                  int32 shown, const std::string& path)
	{
		Document& document = session.GetDocument();
		if (document.CountItems() != int32(model.items.size()))
			return std::to_string(document.CountItems()) + " items, the model " +
			       std::to_string(model.items.size());
		std::vector<std::string> rows;
		for (int32 index = 0; index < document.CountItems(); index++) {
			const BResourceItem* item = document.Item(document.ItemAt(index));
			const ModelItem& expected = model.items[size_t(index)];
			const std::string bytes(static_cast<const char*>(item->DataIO().Buffer()),
			                        item->DataIO().BufferLength());
			if (item->Type() != expected.type || item->ID() != expected.id ||
			    item->Name() != expected.name || bytes != expected.bytes)
				return "item " + std::to_string(index + 1) + " is " +
				       ItemListing::Line(index + 1, *item);
			rows.push_back(ItemListing::Line(index + 1, *item));
		}
		const std::string undoName = model.undo.empty() ? "" : model.undo.back().second;
		if (document.UndoName() != undoName)
			return "undo step \"" + document.UndoName() + "\", the model \"" + undoName + "\"";
		for (int32 number : {1, 2}) {
			HostWindow* window = WindowOf(session, number);
			BAutolock lock(window);
			std::vector<std::string> listed;
			for (int32 row = 0; row < window->ItemList()->CountItems(); row++)
				listed.push_back(
				    static_cast<BStringItem*>(window->ItemList()->ItemAt(row))->Text());
			bool same = listed.size() == rows.size();
			for (size_t row = 0; same && row < rows.size(); row++)
				same = Shows(listed[row], rows[row]);
			if (!same) {
				std::string text = "window " + std::to_string(number) + " lists";
				for (const std::string& row : listed)
					text += " [" + row + "]";
				return text;
			}
			if ((window->CurrentItem() >= 0) != !rows.empty())
				return "window " + std::to_string(number) + " shows item " +
				       std::to_string(window->CurrentItem());
		}
		if (command.kind == Command::kExport && shown >= 0 &&
		    ProgramRunner::Contents(path) != model.items[size_t(shown)].bytes)
			return "the export wrote other bytes";
		return "";
	}

	std::string fFolder;
};

Command RandomCommand(std::mt19937& random, int32 serial)
{
	Command command;
	command.kind = Command::Kind(random() % 9);
	command.window = 1 + int32(random() % 2);
	command.type = kTypes[random() % 4];
	// Few ids, so that some are taken.
	command.id = int32(random() % 4);
	command.name = "n" + std::to_string(serial) + (random() % 2 ? ":a b" : "");
	const size_t length = command.kind == Command::kType ? 1 + random() % 3 : random() % 40;
	for (size_t i = 0; i < length; i++)
		command.bytes += char(random() % 256);
	if (command.kind == Command::kImport && command.bytes.empty())
		command.bytes = "x";
	if (command.kind == Command::kDrop && random() % 3 == 0)
		command.bytes.insert(0, "\x89PNG\r\n\x1A\n");
	return command;
}

} // namespace

TEST(HostWindowItemCommands, ScriptsInTwoWindowsFollowAModelOfTheItems)
{
	const std::string folder = testing::TempDir() + "item_commands";
	std::filesystem::create_directories(folder);
	ItemCommandsRun run(folder);
	const int32 runs = 12 / RandomEditing::RandomDivisor() + 1;
	for (int32 seed = 1; seed <= runs; seed++) {
		std::mt19937 random{uint32(seed)};
		std::vector<Command> commands;
		for (int32 serial = 0; serial < 30; serial++)
			commands.push_back(RandomCommand(random, serial));
		std::string failure = run.Run(commands);
		if (failure.empty())
			continue;
		// The fewest commands that still fail: drop one at a time while
		// the run keeps failing.
		for (size_t drop = commands.size(); drop-- > 0;) {
			std::vector<Command> fewer = commands;
			fewer.erase(fewer.begin() + long(drop));
			const std::string fewerFailure = run.Run(fewer);
			if (!fewerFailure.empty()) {
				commands = fewer;
				failure = fewerFailure;
			}
		}
		ADD_FAILURE() << "seed " << seed << ": " << failure << "\n  " << Describe(commands);
		return;
	}
}
