// reshost in a real X server: real key presses and mouse clicks through
// xdotool reach the editor through the SDL2 display, Ctrl+S saves them, and
// a screenshot of the screen is kept as a test artifact.

#include <gtest/gtest.h>

#include <Font.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include <PlatformTesting.h>

#include "HexDumpLayout.h"
#include "ProgramRunner.h"
#include "XServer.h"
#include "XwdImage.h"

namespace fs = std::filesystem;

namespace {

std::string ArtifactFolder()
{
	// Without a folder named, the build's artifacts folder beside bin/.
	const char* folder = getenv("HEXDUMP_ARTIFACT_DIR");
	std::string path =
	    folder != NULL && folder[0] != '\0'
	        ? std::string(folder)
	        : (fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "artifacts")
	              .string();
	fs::create_directories(path);
	return path;
}

} // namespace

TEST(XServerEndToEnd, KeysAndClicksEditAndCtrlSSaves)
{
	XServer server;
	std::string error;
	if (!server.Start(1024, 768, error))
		GTEST_SKIP() << "no X server for the end-to-end test: " << error;
	int status;
	server.Command("xdotool version", &status);
	ASSERT_EQ(status, 0) << "xdotool is missing (scripts/setup.sh installs it)";

	ProgramRunner runner;
	std::string path = runner.MakeFile("data.bin", "0123456789abcdef");
	std::string logPath = runner.Folder() + "/../reshost.log";
	pid_t program = fork();
	ASSERT_GE(program, 0);
	if (program == 0) {
		setenv("DISPLAY", server.Display().c_str(), 1);
		freopen(logPath.c_str(), "w", stderr);
		std::string binary = ProgramRunner::ProgramPath();
		execl(binary.c_str(), binary.c_str(), path.c_str(), (char*)NULL);
		_exit(127);
	}
	auto stopProgram = [&]() {
		if (program > 0) {
			kill(program, SIGKILL);
			waitpid(program, NULL, 0);
		}
	};

	std::string window =
	    server.Command("timeout 20 xdotool search --sync --onlyvisible --name data.bin");
	if (window.empty() || window.find_first_not_of("0123456789\n") != std::string::npos) {
		stopProgram();
		FAIL() << "no reshost window appeared; its log: " << ProgramRunner::Contents(logPath);
	}
	window = window.substr(0, window.find('\n'));
	server.Command("xdotool windowfocus --sync " + window);

	// Hex digits 4 and 1 type the byte 0x41 at the cursor (offset 0); two
	// arrows on, the digits 7 and e type 0x7e.
	server.Command("xdotool key --delay 60 4 1 Right Right 7 e");

	// A click on byte 6 in the character column (the dump view stands two
	// pixels into the window, inside the scroll view's border) makes that
	// column active with the cursor before byte 6; letters are typed there.
	font_height height;
	be_fixed_font->GetHeight(&height);
	const float charWidth = be_fixed_font->StringWidth(" ");
	BPoint click =
	    HexDumpLayout::AsciiTextOrigin(6, height, charWidth, HexDumpLayout::kDefaultBytesPerGroup) +
	    BPoint(charWidth / 2 + 2, 2 - height.ascent / 2);
	server.Command("xdotool mousemove --window " + window + " " + std::to_string(int(click.x)) +
	               " " + std::to_string(int(click.y)) + " click 1");
	server.Command("xdotool key --delay 60 z y BackSpace ctrl+s");

	// 0123456789abcdef -> A0123... -> A01~23... -> A01~23zy45... -> A01~23z45...
	const std::string expected = "A01~23z456789abcdef";
	bool saved = XServer::WaitFor([&]() { return ProgramRunner::Contents(path) == expected; }, 15);

	// The screen as it stands, kept for a person to look at.
	std::string dump = ArtifactFolder() + "/e2e-xserver.xwd";
	server.Command("xwd -root -silent -out " + dump);
	PlatformTesting::PixelImage image;
	std::string imageError;
	EXPECT_TRUE(XwdImage::Read(dump, image, imageError)) << imageError;
	EXPECT_EQ(image.width, 1024);
	EXPECT_EQ(PlatformTesting::WritePNG(image, (ArtifactFolder() + "/e2e-xserver.png").c_str()),
	          B_OK);

	std::string title = server.Command("xdotool getwindowname " + window);
	server.Command("xdotool key ctrl+q");
	bool ended =
	    XServer::WaitFor([&]() { return waitpid(program, &status, WNOHANG) == program; }, 10);
	if (ended)
		program = -1;
	stopProgram();

	EXPECT_TRUE(saved) << "file holds \"" << ProgramRunner::Contents(path)
	                   << "\"; log: " << ProgramRunner::Contents(logPath);
	EXPECT_EQ(title, "data.bin - Undo delete - Saved");
	ASSERT_TRUE(ended) << "Ctrl+Q did not end the program";
	EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

namespace {

// The processes (ids) whose command line starts with name and whose
// environment holds entry, e.g. "DISPLAY=:93".
std::vector<pid_t> ProcessesWith(const std::string& name, const std::string& entry)
{
	std::vector<pid_t> found;
	for (const fs::directory_entry& process : fs::directory_iterator("/proc")) {
		const std::string id = process.path().filename().string();
		if (id.find_first_not_of("0123456789") != std::string::npos)
			continue;
		const std::string command = ProgramRunner::Contents(process.path() / "cmdline");
		const std::string environment = ProgramRunner::Contents(process.path() / "environ");
		if (command.rfind(name, 0) == 0 &&
		    ('\0' + environment + '\0').find('\0' + entry + '\0') != std::string::npos)
			found.push_back(pid_t(std::stol(id)));
	}
	return found;
}

} // namespace

TEST(XServerEndToEnd, NoSessionBusOutlivesTheProgram)
{
	// libdbus starts a bus through dbus-launch when there is none; with a
	// bus there, or no dbus-launch to start one, nothing could outlive us.
	if (getenv("DBUS_SESSION_BUS_ADDRESS") != NULL || !fs::exists("/usr/bin/dbus-launch"))
		GTEST_SKIP() << "a session bus is set, or dbus-launch is missing";
	const char* runtime = getenv("XDG_RUNTIME_DIR");
	if (runtime != NULL && fs::exists(std::string(runtime) + "/bus"))
		GTEST_SKIP() << "the user's session bus is there";
	XServer server;
	std::string error;
	if (!server.Start(640, 480, error))
		GTEST_SKIP() << "no X server: " << error;

	ProgramRunner runner;
	const std::string path = runner.MakeFile("data.bin", "0123");
	ProgramResult result =
	    runner.Run({"--script", "-", path}, "quit\n", {"DISPLAY=" + server.Display()});
	EXPECT_EQ(result.exitCode, 0) << result.errors;
	const std::vector<pid_t> left = ProcessesWith("dbus-launch", "DISPLAY=" + server.Display());
	for (pid_t process : left)
		kill(process, SIGKILL);
	EXPECT_TRUE(left.empty()) << left.size() << " dbus-launch started for the program's display";
}
