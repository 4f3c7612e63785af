// libFuzzer target for the event stream: a script of at most kMaxLines
// lines runs in reshost's own window in process, headless, on the test
// clock, on a small document, with the window compared to a full redraw
// after every line. Any crash, sanitizer report or redraw difference
// fails. Lines that do not parse end the script, as in reshost.
//
// The run is bounded so that each input takes milliseconds: no snapshots
// (they write files), waits of at most kMaxWait, windows of at most
// kMaxPixels pixels. Inputs beyond these bounds are skipped whole.

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "ScriptParser.h"
#include "ScriptSession.h"

namespace {

const int32 kMaxLines = 64;
const bigtime_t kMaxWait = 10000000;
const int64 kMaxPixels = 2048 * 2048;

// The script's lines, up to its first bad one; false when it leaves the
// bounds.
bool Bounded(const std::string& text, Script& script)
{
	std::istringstream input(text);
	std::string line;
	for (int32 number = 1; std::getline(input, line); number++) {
		ScriptCommand command;
		std::string error;
		const ScriptParser::Result result = ScriptParser::ParseLine(line, number, command, error);
		if (result == ScriptParser::kEmpty)
			continue;
		if (int32(script.size()) == kMaxLines)
			return false;
		script.push_back(line);
		if (result == ScriptParser::kError)
			return true;
		if (command.kind == ScriptCommand::kSnapshot ||
		    (command.kind == ScriptCommand::kWait && command.duration > kMaxWait) ||
		    (command.kind == ScriptCommand::kResize &&
		     int64(command.width) * command.height > kMaxPixels))
			return false;
	}
	return true;
}

std::string Item(size_t size)
{
	std::string bytes(size, '\0');
	for (size_t i = 0; i < size; i++)
		bytes[i] = char(i * 37 % 256);
	return bytes;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
	// The session loads the image built beside this program. It stays
	// loaded between sessions: libFuzzer keeps counting coverage in it, and
	// an image unloaded by one session's loader takes its counters along.
	setenv("HEXDUMP_ADDON_PATH", HEXDUMP_ADDON_PATH_VALUE, 0);
	if (dlopen(HEXDUMP_ADDON_PATH_VALUE, RTLD_NOW) == NULL) {
		fprintf(stderr, "script_run_fuzzer: %s\n", dlerror());
		abort();
	}
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	Script script;
	if (!Bounded(std::string(reinterpret_cast<const char*>(data), size), script))
		return 0;

	ScriptSession session({Item(600), Item(33), ""}, kTestFace);
	if (!session.Ready()) {
		fprintf(stderr, "script_run_fuzzer: the window did not start\n");
		abort();
	}
	const std::string error = session.Run(script);
	if (error.find("full redraw") != std::string::npos) {
		fprintf(stderr, "script_run_fuzzer: %s\n", error.c_str());
		abort();
	}
	return 0;
}
