// reshost in a real X server: real key presses and mouse clicks through
// xdotool reach the editor through the SDL2 display, Ctrl+S saves them, and
// a screenshot of the screen is kept as a test artifact.

#include <gtest/gtest.h>

#include <Font.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include <PlatformTesting.h>

#include "DumpLayout.h"
#include "ProgramRunner.h"
#include "XServer.h"
#include "XwdImage.h"

namespace fs = std::filesystem;

namespace {

// Runs a command line in the test's X server; its standard output, trimmed.
std::string
Command(const std::string& display, const std::string& command, int* exitCode = NULL)
{
	std::string line = "DISPLAY=" + display + " " + command + " 2>/dev/null";
	FILE* pipe = popen(line.c_str(), "r");
	std::string output;
	char buffer[256];
	for (size_t count; pipe != NULL && (count = fread(buffer, 1, sizeof(buffer), pipe)) > 0;)
		output.append(buffer, count);
	int status = pipe != NULL ? pclose(pipe) : -1;
	if (exitCode != NULL)
		*exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
	while (!output.empty() && (output.back() == '\n' || output.back() == ' '))
		output.pop_back();
	return output;
}


template<typename Condition>
bool
WaitFor(Condition condition, int seconds)
{
	auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
	while (std::chrono::steady_clock::now() < end) {
		if (condition())
			return true;
		std::this_thread::sleep_for(std::chrono::milliseconds(50));
	}
	return condition();
}


std::string
ArtifactFolder()
{
	const char* folder = getenv("HEXDUMP_ARTIFACT_DIR");
	std::string path = folder != NULL ? folder : "artifacts";
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
	Command(server.Display(), "xdotool version", &status);
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

	std::string window = Command(server.Display(),
		"timeout 20 xdotool search --sync --onlyvisible --name data.bin");
	if (window.empty() || window.find_first_not_of("0123456789\n") != std::string::npos) {
		stopProgram();
		FAIL() << "no reshost window appeared; its log: " << ProgramRunner::Contents(logPath);
	}
	window = window.substr(0, window.find('\n'));
	Command(server.Display(), "xdotool windowfocus --sync " + window);

	// Hex digits 4 and 1 type the byte 0x41 at the cursor (offset 0); two
	// arrows on, the digits 7 and e type 0x7e.
	Command(server.Display(), "xdotool key --delay 60 4 1 Right Right 7 e");

	// A click on byte 6 in the character column (the dump view stands two
	// pixels into the window, inside the scroll view's border) makes that
	// column active with the cursor before byte 6; letters are typed there.
	font_height height;
	be_fixed_font->GetHeight(&height);
	DumpLayout layout(height, be_fixed_font->StringWidth(" "));
	BPoint click = layout.AsciiPoint(6) + BPoint(2, 2);
	Command(server.Display(), "xdotool mousemove --window " + window + " "
			+ std::to_string(int(click.x)) + " " + std::to_string(int(click.y))
			+ " click 1");
	Command(server.Display(), "xdotool key --delay 60 z y BackSpace ctrl+s");

	// 0123456789abcdef -> A0123... -> A01~23... -> A01~23zy45... -> A01~23z45...
	const std::string expected = "A01~23z456789abcdef";
	bool saved = WaitFor([&]() { return ProgramRunner::Contents(path) == expected; }, 15);

	// The screen as it stands, kept for a person to look at.
	std::string dump = ArtifactFolder() + "/e2e-xserver.xwd";
	Command(server.Display(), "xwd -root -silent -out " + dump);
	PlatformTesting::PixelImage image;
	std::string imageError;
	EXPECT_TRUE(XwdImage::Read(dump, image, imageError)) << imageError;
	EXPECT_EQ(image.width, 1024);
	EXPECT_EQ(PlatformTesting::WritePNG(image, (ArtifactFolder() + "/e2e-xserver.png").c_str()),
		B_OK);

	std::string title = Command(server.Display(), "xdotool getwindowname " + window);
	Command(server.Display(), "xdotool key ctrl+q");
	bool ended = WaitFor([&]() { return waitpid(program, &status, WNOHANG) == program; }, 10);
	if (ended)
		program = -1;
	stopProgram();

	EXPECT_TRUE(saved) << "file holds \"" << ProgramRunner::Contents(path) << "\"; log: "
					   << ProgramRunner::Contents(logPath);
	EXPECT_EQ(title, "data.bin - Undo delete - Saved");
	ASSERT_TRUE(ended) << "Ctrl+Q did not end the program";
	EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
