// ScriptParser: the line syntax of reshost scripts.

#include "ScriptParser.h"

#include <InterfaceDefs.h>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <vector>

#include "HostCommands.h"
#include "ItemListing.h"

namespace {

// Script text quoted in a message: escaped as item names are, so that a
// control byte or NUL shows, and cut after this many bytes.
const size_t kQuotedLength = 64;

std::string Quoted(const std::string& text)
{
	if (text.size() <= kQuotedLength)
		return ItemListing::QuotedName(text);
	// Cut at the start of a UTF-8 character, not inside one.
	size_t cut = kQuotedLength;
	while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xc0) == 0x80)
		cut--;
	return ItemListing::QuotedName(text.substr(0, cut)) + "...";
}

struct NamedKey
{
	const char* name;
	char byte;
};

// Keys with a name of their own, and the byte the kits deliver for each.
const NamedKey kNamedKeys[] = {
    {"Left", B_LEFT_ARROW},     {"Right", B_RIGHT_ARROW},
    {"Up", B_UP_ARROW},         {"Down", B_DOWN_ARROW},
    {"Home", B_HOME},           {"End", B_END},
    {"PageUp", B_PAGE_UP},      {"PageDown", B_PAGE_DOWN},
    {"Insert", B_INSERT},       {"Delete", B_DELETE},
    {"Backspace", B_BACKSPACE}, {"Return", B_RETURN},
    {"Enter", B_ENTER},         {"Tab", B_TAB},
    {"Escape", B_ESCAPE},       {"Space", B_SPACE},
};

struct NamedModifier
{
	const char* name;
	int32 bits;
};

// Ctrl is the host's command modifier on Linux, as the SDL display maps it:
// Ctrl+letters reach the window's shortcuts and never a view's KeyDown.
const NamedModifier kModifiers[] = {
    {"Shift", B_SHIFT_KEY},   {"Ctrl", B_COMMAND_KEY},    {"Control", B_COMMAND_KEY},
    {"Cmd", B_COMMAND_KEY},   {"Command", B_COMMAND_KEY}, {"Alt", B_OPTION_KEY},
    {"Option", B_OPTION_KEY},
};

struct Word
{
	std::string text;
	bool quoted;
};

bool Fail(std::string& error, int32 line, const std::string& what)
{
	error = "line " + std::to_string(line) + ": " + what;
	return false;
}

int HexValue(char c)
{
	if (c >= '0' && c <= '9')
		return c - '0';
	c = char(tolower(static_cast<unsigned char>(c)));
	if (c >= 'a' && c <= 'f')
		return c - 'a' + 10;
	return -1;
}

// Splits a line into words; a word in double quotes may hold spaces and the
// escapes \" \\ \n \r \t \xHH. '#' outside quotes ends the line.
bool SplitWords(const std::string& text, int32 line, std::vector<Word>& words, std::string& error)
{
	size_t i = 0;
	while (i < text.size()) {
		char c = text[i];
		if (isspace(static_cast<unsigned char>(c))) {
			i++;
			continue;
		}
		if (c == '#')
			break;
		Word word{"", c == '"'};
		if (!word.quoted) {
			while (i < text.size() && !isspace(static_cast<unsigned char>(text[i])) &&
			       text[i] != '#')
				word.text += text[i++];
			words.push_back(word);
			continue;
		}
		i++;
		bool closed = false;
		while (i < text.size()) {
			c = text[i++];
			if (c == '"') {
				closed = true;
				break;
			}
			if (c != '\\') {
				word.text += c;
				continue;
			}
			if (i >= text.size())
				break;
			char escape = text[i++];
			switch (escape) {
			case '"':
			case '\\':
				word.text += escape;
				break;
			case 'n':
				word.text += '\n';
				break;
			case 'r':
				word.text += '\r';
				break;
			case 't':
				word.text += '\t';
				break;
			case 'x': {
				int high = i < text.size() ? HexValue(text[i]) : -1;
				int low = i + 1 < text.size() ? HexValue(text[i + 1]) : -1;
				if (high < 0 || low < 0)
					return Fail(error, line, "\\x needs two hex digits");
				word.text += char(high * 16 + low);
				i += 2;
				break;
			}
			default:
				return Fail(error, line, "unknown escape " + Quoted(std::string("\\") + escape));
			}
		}
		if (!closed)
			return Fail(error, line, "unterminated quoted text");
		words.push_back(word);
	}
	return true;
}

bool ParseNumber(const std::string& text, double& value)
{
	if (text.empty())
		return false;
	char* end = NULL;
	value = strtod(text.c_str(), &end);
	return end == text.c_str() + text.size() && std::isfinite(value);
}

bool ParseOffset(const std::string& text, uint32& offset)
{
	if (text.empty() || !isdigit(static_cast<unsigned char>(text[0])))
		return false;
	char* end = NULL;
	errno = 0;
	unsigned long long value = strtoull(text.c_str(), &end, 0);
	if (errno != 0 || end != text.c_str() + text.size() || value > 0xffffffffULL)
		return false;
	offset = uint32(value);
	return true;
}

// A window's number: decimal digits, from 1.
bool ParseWindowNumber(const std::string& text, int32& number)
{
	if (text.empty() || text.size() > 9 ||
	    text.find_first_not_of("0123456789") != std::string::npos)
		return false;
	number = int32(strtol(text.c_str(), NULL, 10));
	return number >= 1;
}

// Waits beyond this do not fit in a bigtime_t added to the clock's time.
const double kLongestWait = 4611686018427387904.0; // 2^62 microseconds

bool ParseDuration(const std::string& text, bigtime_t& duration)
{
	struct Unit
	{
		const char* suffix;
		double factor;
	};
	const Unit units[] = {{"us", 1}, {"ms", 1000}, {"s", 1000000}};
	for (const Unit& unit : units) {
		size_t length = strlen(unit.suffix);
		if (text.size() > length && text.compare(text.size() - length, length, unit.suffix) == 0) {
			std::string number = text.substr(0, text.size() - length);
			double value;
			if (!ParseNumber(number, value) || value < 0 || value * unit.factor > kLongestWait)
				return false;
			duration = bigtime_t(llround(value * unit.factor));
			return true;
		}
	}
	double value;
	if (!ParseNumber(text, value) || value < 0 || value * 1000 > kLongestWait)
		return false;
	duration = bigtime_t(llround(value * 1000));
	return true;
}

bool IsOneCharacter(const std::string& text)
{
	if (text.empty())
		return false;
	unsigned char first = static_cast<unsigned char>(text[0]);
	size_t length = first < 0x80    ? 1
	                : first >= 0xf0 ? 4
	                : first >= 0xe0 ? 3
	                : first >= 0xc0 ? 2
	                                : 0;
	return length == text.size();
}

} // namespace

bool ScriptParser::ReadLine(std::istream& input, int32 line, std::string& text, std::string& error)
{
	text.clear();
	error.clear();
	std::streambuf* buffer = input.rdbuf();
	bool any = false;
	for (int c = buffer->sbumpc(); c != std::char_traits<char>::eof(); c = buffer->sbumpc()) {
		any = true;
		if (c == '\n')
			return true;
		if (text.size() == kMaxLineLength)
			return Fail(error, line, "longer than " + std::to_string(kMaxLineLength) + " bytes");
		text += char(c);
	}
	return any;
}

bool ScriptParser::ParseKey(const std::string& description, std::string& bytes, int32& modifiers,
                            std::string& error)
{
	modifiers = 0;
	std::string rest = description;
	// Modifiers come first, each followed by '+'; the last part is the key,
	// which may itself be '+'.
	while (true) {
		size_t plus = rest.find('+');
		if (plus == std::string::npos || plus == 0 || plus == rest.size() - 1)
			break;
		std::string name = rest.substr(0, plus);
		bool found = false;
		for (const NamedModifier& modifier : kModifiers) {
			if (strcasecmp(name.c_str(), modifier.name) == 0) {
				modifiers |= modifier.bits;
				found = true;
			}
		}
		if (!found) {
			error = "unknown modifier " + Quoted(name);
			return false;
		}
		rest = rest.substr(plus + 1);
	}

	for (const NamedKey& key : kNamedKeys) {
		if (strcasecmp(rest.c_str(), key.name) == 0) {
			bytes = std::string(1, key.byte);
			return true;
		}
	}
	if (!IsOneCharacter(rest)) {
		error = "unknown key " + Quoted(rest);
		return false;
	}
	bytes = rest;
	if (bytes.size() == 1 && isalpha(static_cast<unsigned char>(bytes[0]))) {
		// With the command key the bytes are the key's own, lowercase letter;
		// Shift alone gives the capital.
		if ((modifiers & B_COMMAND_KEY) != 0)
			bytes[0] = char(tolower(static_cast<unsigned char>(bytes[0])));
		else if ((modifiers & B_SHIFT_KEY) != 0)
			bytes[0] = char(toupper(static_cast<unsigned char>(bytes[0])));
	}
	return true;
}

ScriptParser::Result ScriptParser::ParseLine(const std::string& text, int32 line,
                                             ScriptCommand& command, std::string& error)
{
	std::vector<Word> words;
	if (!SplitWords(text, line, words, error))
		return kError;
	if (words.empty())
		return kEmpty;

	command = ScriptCommand();
	command.line = line;
	const std::string& verb = words[0].text;
	size_t argumentCount = words.size() - 1;
	auto fail = [&](const std::string& what) {
		Fail(error, line, what);
		return kError;
	};
	auto expectArguments = [&](size_t count, const char* usage) {
		if (argumentCount == count)
			return true;
		Fail(error, line, std::string("usage: ") + usage);
		return false;
	};

	// The host's commands, by the verbs of their table: the words after
	// the verb are the command's arguments, read into its message.
	std::vector<std::string> texts;
	for (const Word& word : words)
		texts.push_back(word.text);
	size_t verbWords;
	if (const HostCommand* host = HostCommands::FindVerb(texts, verbWords)) {
		const std::vector<std::string> arguments(texts.begin() + verbWords, texts.end());
		command.kind = ScriptCommand::kHostCommand;
		command.message = BMessage(host->what);
		std::string problem;
		if (host->readArguments == NULL ? arguments.empty()
		                                : host->readArguments(arguments, command.message, problem))
			return kCommand;
		return fail((problem.empty() ? "" : problem + "; ") +
		            "usage: " + HostCommands::Usage(*host));
	}

	struct Simple
	{
		const char* verb;
		ScriptCommand::Kind kind;
	};
	const Simple simple[] = {
	    {"text", ScriptCommand::kText},           {"title", ScriptCommand::kTitle},
	    {"close", ScriptCommand::kClose},         {"activate", ScriptCommand::kActivate},
	    {"deactivate", ScriptCommand::kActivate},
	};
	for (const Simple& entry : simple) {
		if (verb != entry.verb)
			continue;
		if (!expectArguments(0, entry.verb))
			return kError;
		command.kind = entry.kind;
		command.on = verb != "deactivate";
		return kCommand;
	}

	if (verb == "key") {
		if (!expectArguments(1, "key [Shift+|Ctrl+|Alt+]NAME"))
			return kError;
		std::string keyError;
		if (!ParseKey(words[1].text, command.bytes, command.modifiers, keyError))
			return fail(keyError);
		command.kind = ScriptCommand::kKey;
		return kCommand;
	}

	if (verb == "type") {
		if (!expectArguments(1, "type \"TEXT\"") || !words[1].quoted)
			return fail("usage: type \"TEXT\"");
		command.kind = ScriptCommand::kType;
		command.bytes = words[1].text;
		return kCommand;
	}

	if (verb == "press" || verb == "move" || verb == "release") {
		command.kind = verb == "press"  ? ScriptCommand::kPress
		               : verb == "move" ? ScriptCommand::kMove
		                                : ScriptCommand::kRelease;
		std::string usage =
		    "usage: " + verb + " hex OFFSET | " + verb + " ascii OFFSET | " + verb + " at X Y";
		if (argumentCount == 2 && (words[1].text == "hex" || words[1].text == "ascii")) {
			command.place =
			    words[1].text == "hex" ? ScriptCommand::kHexOffset : ScriptCommand::kAsciiOffset;
			if (!ParseOffset(words[2].text, command.offset))
				return fail(Quoted(words[2].text) + " is not a byte offset");
			return kCommand;
		}
		double x, y;
		if (argumentCount == 3 && words[1].text == "at") {
			if (!ParseNumber(words[2].text, x) || !ParseNumber(words[3].text, y))
				return fail("coordinates must be numbers");
			command.place = ScriptCommand::kAtPoint;
			command.point = BPoint(float(x), float(y));
			return kCommand;
		}
		return fail(usage);
	}

	if (verb == "wheel") {
		double deltaY, deltaX = 0;
		if ((argumentCount != 1 && argumentCount != 2) || !ParseNumber(words[1].text, deltaY) ||
		    (argumentCount == 2 && !ParseNumber(words[2].text, deltaX)))
			return fail("usage: wheel DY [DX]");
		command.kind = ScriptCommand::kWheel;
		command.deltaY = float(deltaY);
		command.deltaX = float(deltaX);
		return kCommand;
	}

	if (verb == "focus") {
		if (argumentCount != 1 || (words[1].text != "on" && words[1].text != "off"))
			return fail("usage: focus on|off");
		command.kind = ScriptCommand::kFocus;
		command.on = words[1].text == "on";
		return kCommand;
	}

	if (verb == "wait") {
		if (!expectArguments(1, "wait DURATION (e.g. 500ms, 2s, 100us)"))
			return kError;
		if (!ParseDuration(words[1].text, command.duration))
			return fail(Quoted(words[1].text) + " is not a duration (e.g. 500ms, 2s, 100us)");
		command.kind = ScriptCommand::kWait;
		return kCommand;
	}

	if (verb == "resize") {
		double width, height;
		if (!expectArguments(2, "resize WIDTH HEIGHT"))
			return kError;
		if (!ParseNumber(words[1].text, width) || !ParseNumber(words[2].text, height) ||
		    width < 1 || height < 1 || width > 16384 || height > 16384 || width != floor(width) ||
		    height != floor(height))
			return fail("the size must be whole numbers from 1 to 16384");
		command.kind = ScriptCommand::kResize;
		command.width = int32(width);
		command.height = int32(height);
		return kCommand;
	}

	if (verb == "window") {
		if (argumentCount != 1 || !ParseWindowNumber(words[1].text, command.number))
			return fail("usage: window NUMBER (from 1, in the order the windows opened)");
		command.kind = ScriptCommand::kWindow;
		return kCommand;
	}

	if (verb == "drop") {
		if (argumentCount == 0)
			return fail("usage: drop PATH [PATH...] (files dropped on the dump's middle)");
		command.kind = ScriptCommand::kDrop;
		for (size_t i = 1; i < words.size(); i++)
			command.paths.push_back(words[i].text);
		return kCommand;
	}

	if (verb == "snapshot") {
		if (!expectArguments(1, "snapshot FILE.png"))
			return kError;
		if (words[1].text.empty())
			return fail("the snapshot needs a file name");
		command.kind = ScriptCommand::kSnapshot;
		command.path = words[1].text;
		return kCommand;
	}

	return fail("unknown command " + Quoted(verb));
}
