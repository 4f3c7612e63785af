// HostProgram: the program's run, from the command line to the exit code.

#include "HostProgram.h"

#include <AppDefs.h>
#include <Application.h>
#include <Font.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <thread>
#include <unistd.h>
#include <vector>

#include "AddonLoader.h"
#include "Document.h"
#include "DocumentFile.h"
#include "ItemFile.h"
#include "ItemListing.h"
#include "ProgramDriver.h"
#include "ProgramOptions.h"
#include "SampleItems.h"
#include "ScriptRunner.h"
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

int Complain(const std::string& message)
{
	fprintf(stderr, "reshost: %s\n", message.c_str());
	return HostProgram::kExitBadInput;
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

	// The font's size (the user's, or the display's dots per inch) decides
	// the geometry and with it the largest item: settled before the checks.
	if (options.fontSize > 0)
		ProgramDriver::SetFontSize(float(options.fontSize));
	const bool headless = ProgramDriver::ChooseDisplay(options.headless || options.listItems ||
	                                                   !options.sampleOutput.empty());

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
	std::vector<DocumentFile> files;
	for (const std::string& path : options.files) {
		DocumentFile file(path);
		if (file.Read(maxSize) != B_OK)
			return Complain(file.ErrorMessage());
		files.push_back(std::move(file));
	}

	std::ifstream scriptFile;
	std::istream* script = NULL;
	if (options.scriptPath == "-")
		script = &std::cin;
	else if (!options.scriptPath.empty()) {
		scriptFile.open(options.scriptPath);
		if (!scriptFile)
			return Complain("cannot open the script " + options.scriptPath + ": " +
			                strerror(errno));
		script = &scriptFile;
	}

	Document document;
	if (files.empty()) {
		for (const ResourceFile::Item& item : SampleItems::Items())
			document.AddItem(item.type, item.id, item.name.c_str(), item.data.data(),
			                 item.data.size());
	} else {
		for (size_t i = 0; i < files.size(); i++)
			files[i].AddItemsTo(document, int32(i + 1));
	}
	if (options.listItems) {
		for (int32 index = 0; index < document.CountItems(); index++)
			puts(ItemListing::Line(index + 1, *document.Item(document.ItemAt(index))).c_str());
		return kExitOK;
	}
	if (document.CountItems() == 0) {
		// The window shows an item: a document without one cannot open yet.
		std::string what;
		for (const DocumentFile& file : files)
			what += (what.empty() ? "" : "; ") + file.Path() + ": " + file.Description();
		return Complain("nothing to edit: no items to show (" + what + ")");
	}
	if (options.firstItem > document.CountItems()) {
		return Complain("--item " + std::to_string(options.firstItem) + ": the document has " +
		                std::to_string(document.CountItems()) + " items");
	}

	AddonLoader loader;
	std::string addonPath = options.addonPath.empty() ? DefaultAddonPath() : options.addonPath;
	if (loader.Load(addonPath.c_str(), document.AddonArgs()) != B_OK)
		return Complain("cannot load the add-on " + addonPath + ": " + loader.ErrorMessage());

	std::string snapshotPath = options.snapshotPath;
	bool defaultSnapshot = snapshotPath.empty() && headless && script == NULL && !options.printText;
	if (defaultSnapshot)
		snapshotPath = DefaultSnapshotPath();

	BApplication application(kSignature);
	// After the application and before the loader goes: closing the group
	// closes any window left, whose editor's code is the loader's.
	WindowGroup windows(document, loader, files);
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
