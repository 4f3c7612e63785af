// XServer: a private X server (Xvfb) for tests that need a real display.
// Start() picks a free display number, starts Xvfb there and waits until it
// accepts connections; the destructor stops the server it started. Where
// Xvfb is missing or cannot start, Start() says why, so the test can skip
// with that message. Command() runs a command line against the server, and
// WaitFor() polls for what a display does in its own time. Header-only
// test support; used on the test's thread.
#ifndef X_SERVER_H
#define X_SERVER_H

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

class XServer
{
public:
	XServer() = default;
	XServer(const XServer&) = delete;
	XServer& operator=(const XServer&) = delete;

	~XServer()
	{
		if (fPid > 0) {
			kill(fPid, SIGTERM);
			waitpid(fPid, NULL, 0);
		}
	}

	// True once the server runs; otherwise error says why not.
	bool Start(int width, int height, std::string& error)
	{
		if (access("/usr/bin/Xvfb", X_OK) != 0) {
			error = "Xvfb is not installed (scripts/setup.sh installs it)";
			return false;
		}
		for (int number = 90 + getpid() % 50, tries = 0; tries < 50; number++, tries++) {
			std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
			if (access(lock.c_str(), F_OK) == 0)
				continue;
			if (TryDisplay(number, width, height))
				return true;
		}
		error = "Xvfb could not be started on any display from :90 on";
		return false;
	}

	// Talks to a server that someone else started and stops: $DISPLAY's.
	bool UseEnvironment(std::string& error)
	{
		const char* display = getenv("DISPLAY");
		if (display == NULL || display[0] == '\0') {
			error = "$DISPLAY is not set";
			return false;
		}
		fDisplay = display;
		return true;
	}

	// ":93", for $DISPLAY.
	const std::string& Display() const { return fDisplay; }

	// Runs a shell command line with $DISPLAY set to this server; its
	// standard output, trailing blanks and line ends cut off.
	std::string Command(const std::string& command, int* exitCode = NULL) const
	{
		std::string line = "DISPLAY=" + fDisplay + " " + command + " 2>/dev/null";
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

	// True as soon as condition() is, false if it still is not after the
	// given seconds.
	template <typename Condition> static bool WaitFor(Condition condition, int seconds)
	{
		auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
		while (std::chrono::steady_clock::now() < end) {
			if (condition())
				return true;
			std::this_thread::sleep_for(std::chrono::milliseconds(50));
		}
		return condition();
	}

private:
	bool TryDisplay(int number, int width, int height)
	{
		// Appended, not prepended: GCC 12 at -O3 reports a false -Wrestrict
		// overlap for a literal prepended to a temporary string.
		std::string display = std::string(":").append(std::to_string(number));
		std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
		pid_t pid = fork();
		if (pid < 0)
			return false;
		if (pid == 0) {
			int null = open("/dev/null", O_RDWR);
			dup2(null, 1);
			dup2(null, 2);
			execl("/usr/bin/Xvfb", "Xvfb", display.c_str(), "-screen", "0", screen.c_str(), "-dpi",
			      "96", "-nolisten", "tcp", "-noreset", (char*)NULL);
			_exit(127);
		}

		std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
		for (int i = 0; i < 100; i++) {
			int status;
			if (waitpid(pid, &status, WNOHANG) == pid)
				return false;
			struct stat info;
			if (stat(socket.c_str(), &info) == 0) {
				// The socket appears just before the server serves it.
				std::this_thread::sleep_for(std::chrono::milliseconds(200));
				fPid = pid;
				fDisplay = display;
				return true;
			}
			std::this_thread::sleep_for(std::chrono::milliseconds(50));
		}
		kill(pid, SIGTERM);
		waitpid(pid, NULL, 0);
		return false;
	}

	pid_t fPid = -1;
	std::string fDisplay;
};

#endif // X_SERVER_H
