// ProgramRunner: child processes of reshost for the tests.

#include "ProgramRunner.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

ProgramRunner::ProgramRunner()
{
	char pattern[] = "/tmp/reshost-test-XXXXXX";
	if (mkdtemp(pattern) == NULL)
		throw std::runtime_error("cannot make a temporary folder");
	fRoot = pattern;
	fFolder = fRoot + "/files";
	fs::create_directory(fFolder);
}

ProgramRunner::~ProgramRunner()
{
	std::error_code ignored;
	fs::permissions(fFolder, fs::perms::owner_all, fs::perm_options::add, ignored);
	fs::remove_all(fRoot, ignored);
}

std::string ProgramRunner::ProgramPath()
{
	// The program is built beside the test program when the folder is not
	// named.
	const char* folder = getenv("HEXDUMP_BIN_DIR");
	if (folder != NULL && folder[0] != '\0')
		return std::string(folder) + "/reshost";
	return (fs::read_symlink("/proc/self/exe").parent_path() / "reshost").string();
}

std::string ProgramRunner::MakeFile(const std::string& name, const std::string& contents) const
{
	std::string path = fFolder + "/" + name;
	std::ofstream(path, std::ios::binary) << contents;
	return path;
}

std::string ProgramRunner::Contents(const std::string& path)
{
	std::ifstream file(path, std::ios::binary);
	return std::string(std::istreambuf_iterator<char>(file), {});
}

void ProgramRunner::ExecProgram(const std::vector<std::string>& arguments)
{
	std::vector<std::string> strings = {ProgramPath()};
	strings.insert(strings.end(), arguments.begin(), arguments.end());
	std::vector<char*> argv;
	for (std::string& argument : strings)
		argv.push_back(argument.data());
	argv.push_back(NULL);
	execv(argv[0], argv.data());
	_exit(127);
}

ProgramResult ProgramRunner::Run(const std::vector<std::string>& arguments,
                                 const std::string& input,
                                 const std::vector<std::string>& environment,
                                 long fileSizeLimit) const
{
	return RunChild(arguments, input, environment, fileSizeLimit, NULL);
}

ProgramResult ProgramRunner::RunWithOutput(const std::vector<std::string>& arguments,
                                           const std::string& outputPath) const
{
	return RunChild(arguments, "", {}, 0, &outputPath);
}

ProgramResult ProgramRunner::RunChild(const std::vector<std::string>& arguments,
                                      const std::string& input,
                                      const std::vector<std::string>& environment,
                                      long fileSizeLimit, const std::string* outputTarget) const
{
	// Files, not pipes, carry the streams: nothing can block on a full pipe.
	std::string inputPath = fRoot + "/stdin";
	std::string outputPath = fRoot + "/stdout";
	std::string errorPath = fRoot + "/stderr";
	std::ofstream(inputPath, std::ios::binary) << input;

	pid_t child = fork();
	if (child < 0)
		throw std::runtime_error("fork failed");
	if (child == 0) {
		int in = open(inputPath.c_str(), O_RDONLY);
		const std::string& outputFile = outputTarget != NULL ? *outputTarget : outputPath;
		int out =
		    outputFile.empty() ? -1 : open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
		int err = open(errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
		dup2(in, 0);
		if (out >= 0)
			dup2(out, 1);
		else
			close(1);
		dup2(err, 2);
		for (const std::string& entry : environment)
			putenv(const_cast<char*>(entry.c_str()));
		// Tests run headless unless they ask for a display.
		bool wantsDisplay = false;
		for (const std::string& entry : environment)
			wantsDisplay = wantsDisplay || entry.rfind("DISPLAY=", 0) == 0;
		if (!wantsDisplay)
			unsetenv("DISPLAY");
		if (fileSizeLimit > 0) {
			struct rlimit limit = {rlim_t(fileSizeLimit), rlim_t(fileSizeLimit)};
			setrlimit(RLIMIT_FSIZE, &limit);
		}
		ExecProgram(arguments);
	}

	int status = 0;
	waitpid(child, &status, 0);
	ProgramResult result;
	result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
	result.output = outputTarget == NULL ? Contents(outputPath) : "";
	result.errors = Contents(errorPath);
	return result;
}

std::vector<std::string> Lines(const std::string& text)
{
	std::vector<std::string> lines;
	std::istringstream stream(text);
	for (std::string line; std::getline(stream, line);)
		lines.push_back(line);
	return lines;
}
