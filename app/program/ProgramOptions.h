// ProgramOptions: the command line of reshost. Parsed once on the main
// thread at start-up; plain data afterwards.
#ifndef PROGRAM_OPTIONS_H
#define PROGRAM_OPTIONS_H

#include <SupportDefs.h>

#include <string>
#include <vector>

#include "ItemReference.h"

class ProgramOptions
{
public:
	enum Result
	{
		kRun,  // the options are good: run the program
		kExit, // --help or --version has been answered
		kError // ErrorMessage() says what is wrong
	};

	Result Parse(int argc, const char* const* argv);

	// The usage text, also printed by --help.
	static std::string Usage();

	std::vector<std::string> files;
	// Font sizes that give a readable dump and exact line positions.
	static constexpr long kMinFontSize = 6;
	static constexpr long kMaxFontSize = 96;

	std::string addonPath;    // empty: beside the program
	std::string scriptPath;   // empty: no script; "-": standard input
	std::string snapshotPath; // empty: none (headless runs pick a default)
	std::string sampleOutput; // --write-sample: where the sample file goes
	bool headless = false;
	bool printText = false;
	bool checkRedraw = false;
	bool listItems = false; // --list: print the items, open no window
	long firstItem = 1;     // --item: the item shown first, counted from 1
	long fontSize = 0;      // --font-size: pixels; 0: follow the display
	long windowCount = 1;   // --windows: windows opened on the first item
	// --describe TYPE:ID, --icon TYPE:ID OUT.png, --extract TYPE:ID: the
	// item to show as text, write as a PNG or copy to standard output, and
	// open no window.
	bool describeItem = false;
	std::string iconOutput;
	bool extractItem = false;
	// --add TYPE:ID[:NAME] DATAFILE, --remove TYPE:ID: the change to make
	// to the one file named, which is then saved; DATAFILE "-" is standard
	// input.
	bool addItem = false;
	std::string addData;
	bool removeItem = false;
	ItemReference item;
	std::string output; // what --help or --version prints
	std::string errorMessage;
};

#endif // PROGRAM_OPTIONS_H
