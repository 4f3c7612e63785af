// HostProgram: reshost from start to end: checks the command line and the
// files before any window opens, builds the document (one item per file, or
// the sample), loads the add-on image, opens the window on the display or
// headless, replays a script if one is given, writes the snapshot and the
// text asked for, and gives the exit code. Lives on the main thread; its
// driver thread feeds the window.
#ifndef HOST_PROGRAM_H
#define HOST_PROGRAM_H

#include <string>

class HostProgram
{
public:
	// Exit codes.
	enum
	{
		kExitOK = 0,
		kExitScriptError = 1,
		kExitBadInput = 2
	};

	int Run(int argc, const char* const* argv);

	// The add-on image beside the program: <dir>/../lib/HexDump.so.
	static std::string DefaultAddonPath();
	// The headless snapshot when none is named: beside the bin folder.
	static std::string DefaultSnapshotPath();
};

#endif // HOST_PROGRAM_H
