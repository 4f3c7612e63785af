// libFuzzer target for the script language: any text, line by line, either
// parses into a command that holds what its line said or gives an error
// naming that line; key descriptions likewise.

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "ScriptParser.h"

namespace {

void Fail(const char* what, int32 line, const std::string& text)
{
	fprintf(stderr, "script_parser_fuzzer: line %d \"%s\": %s\n", int(line), text.c_str(), what);
	abort();
}

// A character of one to four UTF-8 bytes, as a key press delivers it.
bool IsKeyBytes(const std::string& bytes)
{
	if (bytes.empty() || bytes.size() > 4)
		return false;
	const unsigned char first = static_cast<unsigned char>(bytes[0]);
	const size_t length = first < 0x80 ? 1 : first >= 0xf0 ? 4 : first >= 0xe0 ? 3 : 2;
	return length == bytes.size();
}

void CheckCommand(const ScriptCommand& command, int32 line, const std::string& text)
{
	if (command.line != line)
		Fail("the command names another line", line, text);
	switch (command.kind) {
	case ScriptCommand::kKey:
		if (!IsKeyBytes(command.bytes))
			Fail("a key of no character", line, text);
		break;
	case ScriptCommand::kWait:
		if (command.duration < 0)
			Fail("a negative wait", line, text);
		break;
	case ScriptCommand::kResize:
		if (command.width < 1 || command.height < 1 || command.width > 16384 ||
		    command.height > 16384)
			Fail("a size out of range", line, text);
		break;
	case ScriptCommand::kSnapshot:
		if (command.path.empty())
			Fail("a snapshot without a file", line, text);
		break;
	default:
		break;
	}
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	std::istringstream input(std::string(reinterpret_cast<const char*>(data), size));
	std::string text;
	for (int32 line = 1; std::getline(input, text); line++) {
		ScriptCommand command;
		std::string error;
		switch (ScriptParser::ParseLine(text, line, command, error)) {
		case ScriptParser::kCommand:
			CheckCommand(command, line, text);
			break;
		case ScriptParser::kEmpty:
			if (!error.empty())
				Fail("an empty line with an error", line, text);
			break;
		case ScriptParser::kError:
			if (error.rfind("line " + std::to_string(line) + ": ", 0) != 0)
				Fail("an error that does not name its line", line, text);
			break;
		}

		std::string bytes, keyError;
		int32 modifiers;
		if (ScriptParser::ParseKey(text, bytes, modifiers, keyError)) {
			if (!IsKeyBytes(bytes))
				Fail("a key description of no character", line, text);
		} else if (keyError.empty())
			Fail("a refused key description without an error", line, text);
	}
	return 0;
}
