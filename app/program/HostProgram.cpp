// HostProgram: the program's run, from the command line to the exit code.

#include "HostProgram.h"

#include <AppDefs.h>
#include <Application.h>
#include <DataIO.h>
#include <Font.h>
#include <ResourceItem.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "Document.h"
#include "DocumentFile.h"
#include "FileEdit.h"
#include "IconImage.h"
#include "ItemDescription.h"
#include "ItemFile.h"
#include "ItemListing.h"
#include "ProgramDriver.h"
#include "ProgramOptions.h"
#include "SampleItems.h"
#include "ScriptRunner.h"
#include "Session.h"
#include "WindowGroup.h"

namespace fs = std::filesystem;

namespace {

const char* const kSignature = "application/x-vnd.hexdump-reshost";

std::string ProgramDirectory()
{
	std::error_code error;
	fs::path program = fs::read_symlink("/proc/self/exe", error);
	if (error)
		return ".";
	return program.parent_path().string();
}

// One line on standard error: control characters in file names are escaped.
int Complain(const std::string& message)
{
	fprintf(stderr, "reshost: %s\n", ItemListing::Escaped(message).c_str());
	return HostProgram::kExitBadInput;
}

// Why an item of size bytes is too large to show at the present font size,
// and the largest smaller --font-size that shows it, if one does.
std::string WhyTooLarge(uint64 size, uint64 maxSize)
{
	const long fontSize = std::lround(be_fixed_font->Size());
	std::string why = "at most " + std::to_string(maxSize) +
	                  " bytes fit the view's exact coordinates at " + std::to_string(fontSize) +
	                  " px";
	for (long smaller = fontSize - 1; smaller >= ProgramOptions::kMinFontSize; smaller--) {
		BFont font(be_fixed_font);
		font.SetSize(float(smaller));
		font_height height;
		font.GetHeight(&height);
		const uint64 fits = ProgramDriver::MaxDataSize(height);
		if (fits >= size)
			return why + "; --font-size " + std::to_string(smaller) + " allows " +
			       std::to_string(fits);
	}
	return why;
}

// Writes the bytes to standard output whole, or says why it could not.
int WriteOutput(const char* bytes, size_t length, const std::string& named)
{
	while (length > 0) {
		const ssize_t written = write(STDOUT_FILENO, bytes, length);
		if (written < 0 && errno == EINTR)
			continue;
		if (written <= 0) {
			return Complain("--extract " + named + ": cannot write to standard output: " +
			                strerror(written < 0 ? errno : EIO));
		}
		bytes += written;
		length -= size_t(written);
	}
	return HostProgram::kExitOK;
}

// --describe, --icon and --extract: the item's readable form on standard
// output, its icon as a PNG file, or its bytes on standard output.
int ShowItem(const ProgramOptions& options, const Document& document,
             const std::vector<DocumentFile>& files)
{
	const std::string named = options.item.Text();
	for (int32 index = 0; index < document.CountItems(); index++) {
		const BResourceItem* item = document.Item(document.ItemAt(index));
		if (item->Type() != options.item.type || item->ID() != options.item.id)
			continue;
		const BMallocIO& data = item->DataIO();
		if (options.extractItem)
			return WriteOutput(static_cast<const char*>(data.Buffer()), data.BufferLength(), named);
		if (options.describeItem) {
			const bool bigEndian =
			    std::any_of(files.begin(), files.end(), [&](const DocumentFile& file) {
				    return file.Holds(document.ItemAt(index)) && file.IsBigEndian();
			    });
			for (const std::string& line : ItemDescription::Describe(
			         item->Type(), data.Buffer(), data.BufferLength(), bigEndian))
				puts(ItemListing::Escaped(line).c_str());
			return HostProgram::kExitOK;
		}
		const int32 side = ItemDescription::IconSide(item->Type(), data.BufferLength());
		if (side == 0) {
			return Complain("--icon " + named +
			                ": not an icon (an ICON item is 1024 bytes, a "
			                "MICN item 256), but " +
			                ItemListing::TypeText(item->Type()) + " of " +
			                std::to_string(data.BufferLength()) + " bytes");
		}
		std::string png;
		if (IconImage::EncodePng(IconImage::Pixels(data.Buffer(), side), side, side, png) != B_OK)
			return Complain("--icon " + named + ": cannot encode the PNG");
		ItemFile output(options.iconOutput);
		if (output.Write(png.data(), png.size()) != B_OK)
			return Complain(output.ErrorMessage());
		return HostProgram::kExitOK;
	}
	return Complain("no item " + named + " in the document");
}

// A script is read from a regular file, a pipe or a terminal: a directory
// reads as nothing and a device such as /dev/zero never ends. Empty when
// info is one of those, else what it is.
std::string ScriptSourceProblem(const struct stat& info, int descriptor)
{
	if (S_ISREG(info.st_mode) || S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode))
		return "";
	if (S_ISCHR(info.st_mode) && descriptor >= 0 && isatty(descriptor))
		return "";
	if (S_ISDIR(info.st_mode))
		return "is a directory";
	return "is not a regular file, a pipe or a terminal";
}

} // namespace

std::string HostProgram::DefaultAddonPath()
{
	return (fs::path(ProgramDirectory()).parent_path() / "lib" / "HexDump.so").string();
}

std::string HostProgram::DefaultSnapshotPath()
{
	return (fs::path(ProgramDirectory()).parent_path() / "reshost-window.png").string();
}

int HostProgram::Run(int argc, const char* const* argv)
{
	// A file size limit then fails a save, which reports it, instead of
	// killing the program with the document unsaved.
	signal(SIGXFSZ, SIG_IGN);

	ProgramOptions options;
	switch (options.Parse(argc, argv)) {
	case ProgramOptions::kExit:
		fputs(options.output.c_str(), stdout);
		return kExitOK;
	case ProgramOptions::kError:
		return Complain(options.errorMessage);
	case ProgramOptions::kRun:
		break;
	}

	// The item's bytes go to standard output: a closed one is refused before
	// any file is opened, which could otherwise take its descriptor, and a
	// reader that went away is an error to report, not a signal.
	if (options.extractItem) {
		if (fcntl(STDOUT_FILENO, F_GETFD) < 0)
			return Complain("--extract " + options.item.Text() +
			                ": cannot write to standard output: " + strerror(errno));
		signal(SIGPIPE, SIG_IGN);
	}

	// The font's size (the user's, or the display's dots per inch) decides
	// the geometry and with it the largest item: settled before the checks.
	if (options.fontSize > 0)
		ProgramDriver::SetFontSize(float(options.fontSize));
	const bool headless = ProgramDriver::ChooseDisplay(
	    options.headless || options.listItems || options.extractItem || options.addItem ||
	    options.removeItem || !options.sampleOutput.empty());

	// Every check of the input comes before any window opens.
	font_height height;
	be_fixed_font->GetHeight(&height);
	const uint64 maxSize = ProgramDriver::MaxDataSize(height);
	if (!options.sampleOutput.empty()) {
		std::string bytes = SampleItems::FileBytes();
		ItemFile sample(options.sampleOutput);
		if (sample.Write(bytes.data(), bytes.size()) != B_OK)
			return Complain(sample.ErrorMessage());
		return kExitOK;
	}
	// --add's bytes, read before the file so that a slow standard input does
	// not leave the file open to other programs' changes meanwhile.
	std::string newData;
	if (options.addItem) {
		std::string error;
		if (FileEdit::ReadData(options.addData, maxSize, newData, error) != B_OK)
			return Complain("--add " + options.item.Text() + ": " + error);
	}
	// The session: the files (a file named twice is opened once), a new
	// resource file for --add, or the sample; the document of their items,
	// and later the add-on.
	Session session;
	struct stat fileInfo;
	if (options.files.empty())
		session.OpenSample();
	else if (options.addItem && lstat(options.files.front().c_str(), &fileInfo) != 0 &&
	         errno == ENOENT)
		session.OpenNewResourceFile(options.files.front());
	else {
		std::vector<std::string> notes;
		std::string error;
		const status_t status = session.OpenFiles(
		    options.files, maxSize, [maxSize](uint64 size) { return WhyTooLarge(size, maxSize); },
		    notes, error);
		for (const std::string& note : notes)
			fprintf(stderr, "reshost: %s\n", ItemListing::Escaped(note).c_str());
		if (status != B_OK)
			return Complain(error);
	}
	Document& document = session.GetDocument();
	const std::vector<DocumentFile>& files = session.Files();

	std::ifstream scriptFile;
	std::istream* script = NULL;
	if (options.scriptPath == "-") {
		struct stat info;
		if (fstat(STDIN_FILENO, &info) != 0)
			return Complain(std::string("cannot read the script on standard input: ") +
			                strerror(errno));
		std::string problem = ScriptSourceProblem(info, STDIN_FILENO);
		if (!problem.empty())
			return Complain("the script on standard input " + problem);
		script = &std::cin;
	} else if (!options.scriptPath.empty()) {
		scriptFile.open(options.scriptPath);
		struct stat info;
		if (!scriptFile || stat(options.scriptPath.c_str(), &info) != 0)
			return Complain("cannot open the script " + options.scriptPath + ": " +
			                strerror(errno));
		// A terminal named by its path is no open descriptor of ours: refused
		// as the other devices are.
		std::string problem = ScriptSourceProblem(info, -1);
		if (!problem.empty())
			return Complain("the script " + options.scriptPath + ": " + problem);
		script = &scriptFile;
	}

	// No edit may grow an item past what the program can open again.
	document.SetItemSizeLimit(size_t(maxSize));
	// --item beyond the last item is refused with --list as without it (an
	// empty document lists nothing, or opens a window with no item).
	if (options.firstItem > document.CountItems() && document.CountItems() > 0) {
		return Complain("--item " + std::to_string(options.firstItem) + ": the document has " +
		                std::to_string(document.CountItems()) + " items");
	}
	if (options.listItems) {
		for (int32 index = 0; index < document.CountItems(); index++)
			puts(ItemListing::Line(index + 1, *document.Item(document.ItemAt(index))).c_str());
		return kExitOK;
	}
	if (options.describeItem || options.extractItem || !options.iconOutput.empty())
		return ShowItem(options, document, files);
	if (options.addItem || options.removeItem) {
		std::vector<std::string> notes;
		std::string error;
		const status_t status = options.addItem
		                            ? FileEdit::Add(session, options.item, newData, notes, error)
		                            : FileEdit::Remove(session, options.item, notes, error);
		for (const std::string& note : notes)
			fprintf(stderr, "reshost: saved anyway: %s\n", ItemListing::Escaped(note).c_str());
		return status == B_OK ? kExitOK : Complain(error);
	}

	std::string addonPath = options.addonPath.empty() ? DefaultAddonPath() : options.addonPath;
	std::string loadError;
	if (session.LoadAddon(addonPath, loadError) != B_OK)
		return Complain("cannot load the add-on " + addonPath + ": " + loadError);

	std::string snapshotPath = options.snapshotPath;
	bool defaultSnapshot = snapshotPath.empty() && headless && script == NULL && !options.printText;
	if (defaultSnapshot)
		snapshotPath = DefaultSnapshotPath();

	BApplication application(kSignature);
	// After the application and before the loader goes: closing the group
	// closes any window left, whose editor's code is the loader's.
	WindowGroup windows(session);
	windows.SetDriven(true);
	windows.SetProgramQuit([]() { be_app->PostMessage(B_QUIT_REQUESTED); });
	for (long count = 0; count < options.windowCount; count++) {
		std::string error;
		if (windows.Open(int32(options.firstItem - 1), error) == NULL)
			return Complain(error);
	}

	// The driver feeds the script to the windows and finishes the session;
	// the main thread runs the application (and the display's events).
	int exitCode = kExitOK;
	std::thread driver([&]() {
		ScriptRunner runner(windows, headless, std::cout);
		runner.SetCheckRedraw(options.checkRedraw);
		runner.WaitUntilIdle();
		std::string error;
		if (script != NULL && runner.Run(*script, error) != B_OK) {
			fprintf(stderr, "reshost: script %s: %s\n", options.scriptPath.c_str(), error.c_str());
			exitCode = kExitScriptError;
		}

		// The snapshot and the text show the window the script addressed last.
		if (exitCode == kExitOK && !snapshotPath.empty()) {
			if (runner.WriteSnapshot(snapshotPath, error) == B_OK) {
				fprintf(options.printText ? stderr : stdout, "reshost: snapshot written to %s\n",
				        snapshotPath.c_str());
			} else {
				fprintf(stderr, "reshost: %s\n", error.c_str());
				exitCode = kExitScriptError;
			}
		}
		std::vector<std::string> lines;
		if (exitCode == kExitOK && options.printText) {
			if (runner.DumpText(lines, error) == B_OK) {
				for (const std::string& line : lines)
					std::cout << line << '\n';
				std::cout.flush();
			} else {
				fprintf(stderr, "reshost: %s\n", error.c_str());
				exitCode = kExitScriptError;
			}
		}
		fflush(stdout);

		// With a display the windows stay for the user, unless a quit was
		// confirmed while driven.
		if (headless || exitCode != kExitOK || windows.EndDriving()) {
			windows.CloseAll();
			be_app->PostMessage(B_QUIT_REQUESTED);
		}
	});
	application.Run();
	driver.join();
	return exitCode;
}
