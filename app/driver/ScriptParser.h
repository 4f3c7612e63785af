// ScriptParser: turns one line of a reshost script into a ScriptCommand.
// The language is line based; '#' starts a comment outside quotes. See the
// README for the commands. Stateless; any thread.
#ifndef SCRIPT_PARSER_H
#define SCRIPT_PARSER_H

#include "ScriptCommand.h"

#include <istream>
#include <string>

class ScriptParser
{
public:
	// A line holds at most this many bytes, its end not counted: a device
	// such as /dev/zero through a pipe is one endless line.
	static const size_t kMaxLineLength = 65536;

	// Reads the next line of input into text, without its end. False at the
	// end of input, or with error set (naming the line) when the line is
	// longer than kMaxLineLength; nothing more is read then.
	static bool ReadLine(std::istream& input, int32 line, std::string& text, std::string& error);

	enum Result
	{
		kCommand, // command holds the parsed line
		kEmpty,   // blank or comment only
		kError    // error says what is wrong, naming the line
	};

	static Result ParseLine(const std::string& text, int32 line, ScriptCommand& command,
	                        std::string& error);

	// A key description such as "Left", "Shift+Right", "Ctrl+S" or "a":
	// the bytes and modifiers of the key press it stands for.
	static bool ParseKey(const std::string& description, std::string& bytes, int32& modifiers,
	                     std::string& error);
};

#endif // SCRIPT_PARSER_H
