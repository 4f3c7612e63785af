// ProgramRunner: runs the built reshost ($HEXDUMP_BIN_DIR/reshost, or the
// one beside the test program) in a child process, with a script on its
// standard input or none, and collects its exit code, standard output and
// standard error. Also makes and removes
// a temporary folder (Folder()) for the files the program works on, which
// holds nothing else. Test support.
#ifndef PROGRAM_RUNNER_H
#define PROGRAM_RUNNER_H

#include <string>
#include <vector>

struct ProgramResult
{
	int exitCode = -1;
	std::string output;
	std::string errors;
};

class ProgramRunner
{
public:
	ProgramRunner();
	~ProgramRunner();

	static std::string ProgramPath();
	// In a forked child: becomes reshost with arguments (exit code 127 when
	// it cannot).
	[[noreturn]] static void ExecProgram(const std::vector<std::string>& arguments);

	// Runs reshost with arguments; input, if any, is its standard input.
	// environment entries ("NAME=value") are added to the test's own; a
	// file size limit above 0 applies to the child alone.
	ProgramResult Run(const std::vector<std::string>& arguments, const std::string& input = "",
	                  const std::vector<std::string>& environment = {},
	                  long fileSizeLimit = 0) const;
	// As Run, with standard output going to the file at outputPath (such as
	// /dev/full) instead, or closed when outputPath is empty; the result
	// holds no output.
	ProgramResult RunWithOutput(const std::vector<std::string>& arguments,
	                            const std::string& outputPath) const;

	const std::string& Folder() const { return fFolder; }
	std::string MakeFile(const std::string& name, const std::string& contents) const;
	static std::string Contents(const std::string& path);

private:
	// Runs reshost with its standard output going to outputTarget, or to a
	// file read into the result when outputTarget is NULL.
	ProgramResult RunChild(const std::vector<std::string>& arguments, const std::string& input,
	                       const std::vector<std::string>& environment, long fileSizeLimit,
	                       const std::string* outputTarget) const;

	std::string fRoot;
	std::string fFolder;
};

// The lines of a program's output, without their line ends.
std::vector<std::string> Lines(const std::string& text);

#endif // PROGRAM_RUNNER_H
