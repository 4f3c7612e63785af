// XServer: a private X server (Xvfb) for tests that need a real display.
// Start() picks a free display number, starts Xvfb there and waits until it
// accepts connections; the destructor stops the server it started. Where
// Xvfb is missing or cannot start, Start() says why, so the test can skip
// with that message. Header-only test support; used on the test's thread.
#ifndef X_SERVER_H
#define X_SERVER_H

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

class XServer {
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

	// ":93", for $DISPLAY.
	const std::string& Display() const { return fDisplay; }

private:
	bool TryDisplay(int number, int width, int height)
	{
		std::string display = ":" + std::to_string(number);
		std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
		pid_t pid = fork();
		if (pid < 0)
			return false;
		if (pid == 0) {
			int null = open("/dev/null", O_RDWR);
			dup2(null, 1);
			dup2(null, 2);
			execl("/usr/bin/Xvfb", "Xvfb", display.c_str(), "-screen", "0", screen.c_str(),
				"-nolisten", "tcp", "-noreset", (char*)NULL);
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
