// ProgramSession: a reshost child fed through a pipe.

#include "ProgramSession.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <stdexcept>

ProgramSession::ProgramSession(const std::vector<std::string>& arguments,
                               const std::string& errorPath)
    : fChild(-1), fInput(-1), fOutput(-1), fErrorPath(errorPath)
{
	int input[2];
	int output[2];
	if (pipe2(input, O_CLOEXEC) != 0 || pipe2(output, O_CLOEXEC) != 0)
		throw std::runtime_error("cannot make pipes");

	std::vector<std::string> scripted = {"--headless", "--script", "-"};
	scripted.insert(scripted.end(), arguments.begin(), arguments.end());

	fChild = fork();
	if (fChild < 0)
		throw std::runtime_error("fork failed");
	if (fChild == 0) {
		int err = open(errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
		dup2(input[0], 0);
		dup2(output[1], 1);
		dup2(err, 2);
		unsetenv("DISPLAY");
		ProgramRunner::ExecProgram(scripted);
	}
	close(input[0]);
	close(output[1]);
	fInput = input[1];
	fOutput = output[0];
}

ProgramSession::~ProgramSession()
{
	if (fChild > 0) {
		kill(fChild, SIGKILL);
		waitpid(fChild, NULL, 0);
	}
	if (fInput >= 0)
		close(fInput);
	if (fOutput >= 0)
		close(fOutput);
}

std::string ProgramSession::Ask(const std::string& lines)
{
	// A program that died makes the write fail rather than the test.
	signal(SIGPIPE, SIG_IGN);
	if (write(fInput, lines.data(), lines.size()) != ssize_t(lines.size()))
		return std::string();
	for (;;) {
		std::string::size_type end = fPending.find('\n');
		if (end != std::string::npos) {
			std::string line = fPending.substr(0, end);
			fPending.erase(0, end + 1);
			return line;
		}
		struct pollfd ready = {fOutput, POLLIN, 0};
		if (poll(&ready, 1, 60000) <= 0)
			return std::string();
		char buffer[4096];
		ssize_t count = read(fOutput, buffer, sizeof(buffer));
		if (count <= 0)
			return std::string();
		fPending.append(buffer, size_t(count));
	}
}

ProgramResult ProgramSession::Finish()
{
	close(fInput);
	fInput = -1;
	ProgramResult result;
	result.output = fPending;
	fPending.clear();
	char buffer[4096];
	ssize_t count;
	while ((count = read(fOutput, buffer, sizeof(buffer))) > 0)
		result.output.append(buffer, size_t(count));
	int status = 0;
	waitpid(fChild, &status, 0);
	fChild = -1;
	result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
	result.errors = ProgramRunner::Contents(fErrorPath);
	return result;
}
