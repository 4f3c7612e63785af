// ScriptParser: turns one line of a reshost script into a ScriptCommand.
// The language is line based; '#' starts a comment outside quotes. See the
// README for the commands. Stateless; any thread.
#ifndef SCRIPT_PARSER_H
#define SCRIPT_PARSER_H

#include "ScriptCommand.h"

#include <string>

class ScriptParser
{
public:
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
