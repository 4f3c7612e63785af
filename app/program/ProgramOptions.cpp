// ProgramOptions: parsing the command line.

#include "ProgramOptions.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "HostCommands.h"

namespace {

const char* const kVersion = "reshost 1.0";
// Windows opened at start-up, one editor each; more than fit on a screen
// is a mistake.
const long kMaxWindows = 8;

} // namespace

std::string ProgramOptions::Usage()
{
	return "usage: reshost [options] [FILE...]\n"
	       "Opens the files as one document and shows the hex dump editor for its first\n"
	       "item: a BeOS resource file gives its items, any other file one raw item;\n"
	       "without a file, a built-in sample document.\n"
	       "\n"
	       "  --addon PATH      the add-on image (default: ../lib/HexDump.so beside the\n"
	       "                    program)\n"
	       "  --headless        no window on the display, even when there is one\n"
	       "  --item N          show item N (counted from 1) first\n"
	       "  --windows K       open K windows (1 to 8) on that item, each with its own\n"
	       "                    editor; scripts address them with 'window N'\n"
	       "  --font-size N     the text's size in pixels (default: 12 at 96 dots per\n"
	       "                    inch, scaled with the display's)\n"
	       "  --list            print the items, one a line (index, type, id, \"name\",\n"
	       "                    size), and open no window\n"
	       "  --script FILE     replay a script of input and host commands ('-' reads\n"
	       "                    standard input)\n"
	       "  --snapshot FILE   write the window's pixels as PNG at the end\n"
	       "  --text            print the dump as drawn at the end, one line per\n"
	       "                    visible line\n"
	       "  --check-redraw    after every script line, compare the window with a\n"
	       "                    full redraw of it; stop at the first difference\n"
	       "  --describe TYPE:ID  print what the item's bytes mean (a signature, flags,\n"
	       "                    a version, a message...), and open no window\n"
	       "  --icon TYPE:ID OUT.png  write an ICON or MICN item as a PNG\n"
	       "  --extract TYPE:ID  write the item's bytes, exactly, on standard output\n"
	       "                    (TYPE:ID as for --describe: TYPE as --list prints it)\n"
	       "  --add TYPE:ID[:NAME] DATAFILE FILE  add the item with DATAFILE's bytes ('-'\n"
	       "                    reads standard input) at the end of FILE's items, or give\n"
	       "                    the item of that type and id those bytes (and NAME, when\n"
	       "                    given) in its place; a FILE not there yet becomes an x86\n"
	       "                    resource file. NAME is the rest after the id's colon\n"
	       "  --remove TYPE:ID FILE  remove the item from FILE\n"
	       "                    (both save FILE atomically and print nothing when all is\n"
	       "                    well; on any fault one line, exit code 2, FILE unchanged)\n"
	       "  --write-sample FILE  write the sample document as a resource file\n"
	       "  --help            show this text\n"
	       "  --version         show the version\n"
	       "\n"
	       "Keys (Ctrl is the command key), and the script lines that do the same:\n" +
	       HostCommands::KeysHelp();
}

ProgramOptions::Result ProgramOptions::Parse(int argc, const char* const* argv)
{
	bool optionsEnded = false;
	// The option that named the item, for --describe, --icon, --extract,
	// --add or --remove: one of them per run.
	std::string itemOption;
	for (int i = 1; i < argc; i++) {
		std::string argument = argv[i];
		if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
			files.push_back(argument);
			continue;
		}
		if (argument == "--") {
			optionsEnded = true;
			continue;
		}

		// "--name=value" and "--name value" both work.
		std::string name = argument;
		std::string value;
		bool hasValue = false;
		std::string::size_type equals = argument.find('=');
		if (argument.compare(0, 2, "--") == 0 && equals != std::string::npos) {
			name = argument.substr(0, equals);
			value = argument.substr(equals + 1);
			hasValue = true;
		}

		auto takeValue = [&](std::string& target) {
			if (!hasValue) {
				if (i + 1 >= argc) {
					errorMessage = name + " needs a value";
					return false;
				}
				value = argv[++i];
			}
			if (value.empty()) {
				errorMessage = name + " needs a value";
				return false;
			}
			target = value;
			return true;
		};
		auto takeNumber = [&](long& target, long min, long max, const char* what) {
			std::string number;
			if (!takeValue(number))
				return false;
			char* end = NULL;
			errno = 0;
			const long parsed = strtol(number.c_str(), &end, 10);
			if (*end != '\0' || errno != 0 || parsed < min || parsed > max) {
				errorMessage = name + " needs " + what + ", not " + number;
				return false;
			}
			target = parsed;
			return true;
		};
		auto noValue = [&]() {
			if (hasValue)
				errorMessage = name + " takes no value";
			return !hasValue;
		};

		if (name == "--help" || name == "-h") {
			if (!noValue())
				return kError;
			output = Usage();
			return kExit;
		}
		if (name == "--version") {
			if (!noValue())
				return kError;
			output = std::string(kVersion) + "\n";
			return kExit;
		}
		if (name == "--addon") {
			if (!takeValue(addonPath))
				return kError;
		} else if (name == "--script") {
			if (!takeValue(scriptPath))
				return kError;
		} else if (name == "--snapshot") {
			if (!takeValue(snapshotPath))
				return kError;
		} else if (name == "--write-sample") {
			if (!takeValue(sampleOutput))
				return kError;
		} else if (name == "--item") {
			if (!takeNumber(firstItem, 1, LONG_MAX, "an item number from 1"))
				return kError;
		} else if (name == "--windows") {
			if (!takeNumber(windowCount, 1, kMaxWindows, "a number of windows from 1 to 8"))
				return kError;
		} else if (name == "--font-size") {
			if (!takeNumber(fontSize, ProgramOptions::kMinFontSize, ProgramOptions::kMaxFontSize,
			                "a size in pixels from 6 to 96"))
				return kError;
		} else if (name == "--describe" || name == "--icon" || name == "--extract" ||
		           name == "--add" || name == "--remove") {
			std::string text;
			std::string problem;
			if (!takeValue(text))
				return kError;
			if (!itemOption.empty()) {
				errorMessage = name + " and " + itemOption + ": one item option at a time";
				return kError;
			}
			itemOption = name;
			if (!ItemReference::Parse(text, item, problem)) {
				errorMessage = name + " " + text + ": " + problem;
				return kError;
			}
			if (item.hasName && name != "--add") {
				errorMessage = name + " " + text + ": takes TYPE:ID, without a name";
				return kError;
			}
			if (name == "--describe")
				describeItem = true;
			else if (name == "--extract")
				extractItem = true;
			else if (name == "--remove")
				removeItem = true;
			else if (i + 1 >= argc || argv[i + 1][0] == '\0') {
				errorMessage =
				    name + (name == "--icon" ? " needs the PNG file to write after TYPE:ID"
				                             : " needs the DATAFILE to read after TYPE:ID");
				return kError;
			} else if (name == "--icon")
				iconOutput = argv[++i];
			else {
				addItem = true;
				addData = argv[++i];
			}
		} else if (name == "--list") {
			if (!noValue())
				return kError;
			listItems = true;
		} else if (name == "--headless") {
			if (!noValue())
				return kError;
			headless = true;
		} else if (name == "--text") {
			if (!noValue())
				return kError;
			printText = true;
		} else if (name == "--check-redraw") {
			if (!noValue())
				return kError;
			checkRedraw = true;
		} else {
			errorMessage = "unknown option " + name + " (see --help)";
			return kError;
		}
	}
	// A change is saved to one file and is all the run does.
	if (addItem || removeItem) {
		if (files.size() != 1) {
			errorMessage = itemOption + " changes one FILE, not " + std::to_string(files.size());
			return kError;
		}
		if (listItems || !scriptPath.empty() || !snapshotPath.empty() || !sampleOutput.empty() ||
		    printText || checkRedraw) {
			errorMessage = itemOption + " opens no window and takes no other action";
			return kError;
		}
	}
	return kRun;
}
