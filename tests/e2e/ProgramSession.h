// ProgramSession: reshost run in a child process with a script fed line by
// line through a pipe, so that a test can change the files between the
// commands (another program writing, a disk filling up) and read what the
// program printed so far. Standard error goes to a file. Test support.
#ifndef PROGRAM_SESSION_H
#define PROGRAM_SESSION_H

#include <sys/types.h>

#include <string>
#include <vector>

#include "ProgramRunner.h"

class ProgramSession
{
public:
	// Starts reshost --script - with arguments, headless; errorPath receives
	// its standard error.
	ProgramSession(const std::vector<std::string>& arguments, const std::string& errorPath);
	~ProgramSession();
	ProgramSession(const ProgramSession&) = delete;
	ProgramSession& operator=(const ProgramSession&) = delete;

	// Sends script lines, the last of which prints one line ("title"), and
	// returns that line once the program has printed it; "" after 60 s.
	std::string Ask(const std::string& lines);

	// Ends the script and waits for the program: its exit code, the output
	// not yet read and its standard error.
	ProgramResult Finish();

private:
	pid_t fChild;
	int fInput;
	int fOutput;
	std::string fErrorPath;
	std::string fPending;
};

#endif // PROGRAM_SESSION_H
