// HostCommands: the host's commands in one table, a row each: the message
// the window handles, its shortcut (a key with the command modifier, and
// any other modifiers), the script verbs that post it (the first its name,
// the others aliases of one or more words), how a script line's words after
// the verb go into the message, what it does (for --help), and the window's
// handler. The window registers its shortcuts and dispatches its command
// messages from the table; the script parser turns a verb into its row's
// message, which the runner posts; the usage text lists the rows. A new
// command is a new row and its handler. Constant data; any thread.
#ifndef HOST_COMMANDS_H
#define HOST_COMMANDS_H

#include <Message.h>
#include <SupportDefs.h>

#include <string>
#include <vector>

class HostWindow;

enum
{
	kMsgSave = 'hsav',
	kMsgUndo = 'hund',
	kMsgRedo = 'hred',
	kMsgNextItem = 'hnxt',
	kMsgPreviousItem = 'hprv',
	kMsgNewWindow = 'hnew',
	kMsgQuit = 'hqit',
	kMsgAddItem = 'hadd',
	kMsgRemoveItem = 'hrmv',
	kMsgItemInfo = 'hinf',
	kMsgImport = 'himp',
	kMsgExport = 'hexp'
};

struct HostCommand
{
	// Carries the command out in the window, on its thread; the message
	// holds any arguments.
	typedef void (HostWindow::*Handler)(const BMessage& message);
	// Puts a script line's words after the verb into the message; false
	// with error set (without the line) when they do not fit.
	typedef bool (*ArgumentReader)(const std::vector<std::string>& words, BMessage& message,
	                               std::string& error);

	uint32 what;
	uint32 key;
	uint32 modifiers; // besides the command modifier
	std::vector<std::string> verbs;
	// How the arguments read in a usage line ("TYPE:ID FILE"), and who reads
	// them; both NULL for a command without arguments.
	const char* argumentUsage;
	ArgumentReader readArguments;
	const char* description;
	Handler handler;
};

class HostCommands
{
public:
	static const std::vector<HostCommand>& All();
	// The row of a message code, or NULL.
	static const HostCommand* Find(uint32 what);
	// The row with the longest verb that starts words, or NULL; verbWords
	// gets that verb's number of words.
	static const HostCommand* FindVerb(const std::vector<std::string>& words, size_t& verbWords);

	// The shortcut as a user presses it: "Ctrl+S", "Ctrl+Shift+Z",
	// "Ctrl+Page Down" (Ctrl is the command key).
	static std::string ShortcutName(const HostCommand& command);
	// Every way a script writes the command: "next | next item".
	static std::string Usage(const HostCommand& command);
	// One line per row for --help: the shortcut, what it does, the verbs.
	static std::string KeysHelp();
};

#endif // HOST_COMMANDS_H
