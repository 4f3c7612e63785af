// Opening and saving one item's file: what is refused with which message,
// and that a failed save leaves the file as it was.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ItemFile.h"

namespace fs = std::filesystem;

namespace {

class ItemFileTest : public testing::Test
{
protected:
	void SetUp() override
	{
		char pattern[] = "/tmp/reshost-itemfile-XXXXXX";
		ASSERT_NE(mkdtemp(pattern), nullptr);
		fDirectory = pattern;
	}

	void TearDown() override
	{
		std::error_code ignored;
		fs::permissions(fDirectory, fs::perms::owner_all, fs::perm_options::add, ignored);
		fs::remove_all(fDirectory, ignored);
	}

	std::string MakeFile(const std::string& name, const std::string& contents)
	{
		std::string path = fDirectory + "/" + name;
		std::ofstream(path, std::ios::binary) << contents;
		return path;
	}

	static std::string Contents(const std::string& path)
	{
		std::ifstream file(path, std::ios::binary);
		return std::string(std::istreambuf_iterator<char>(file), {});
	}

	// Names in the directory other than the ones given: leftover temporaries.
	size_t CountEntries() const
	{
		return size_t(std::distance(fs::directory_iterator(fDirectory), {}));
	}

	std::string fDirectory;
};

} // namespace

TEST_F(ItemFileTest, ReadsEveryByteOfARegularFile)
{
	std::string bytes("a\0b\xff\n", 5);
	ItemFile file(MakeFile("data.bin", bytes));
	ASSERT_EQ(file.Read(ItemFile::kMaxSize), B_OK) << file.ErrorMessage();
	EXPECT_EQ(std::string(file.Data().begin(), file.Data().end()), bytes);
	EXPECT_EQ(file.Name(), "data.bin");
	EXPECT_FALSE(file.Differs(bytes.data(), bytes.size()));
	EXPECT_TRUE(file.Differs("a", 1));

	ItemFile empty(MakeFile("empty", ""));
	ASSERT_EQ(empty.Read(ItemFile::kMaxSize), B_OK);
	EXPECT_TRUE(empty.Data().empty());
}

TEST_F(ItemFileTest, RefusesWhatIsNoReadableRegularFile)
{
	ItemFile missing(fDirectory + "/missing");
	EXPECT_NE(missing.Read(ItemFile::kMaxSize), B_OK);
	EXPECT_EQ(missing.ErrorMessage(),
	          fDirectory + "/missing: cannot open: No such file or directory");

	ItemFile directory(fDirectory);
	EXPECT_NE(directory.Read(ItemFile::kMaxSize), B_OK);
	EXPECT_EQ(directory.ErrorMessage(), fDirectory + ": is a directory");

	ItemFile device("/dev/null");
	EXPECT_NE(device.Read(ItemFile::kMaxSize), B_OK);
	EXPECT_EQ(device.ErrorMessage(), "/dev/null: is a character device");

	// A pipe with no writer must not block the check.
	std::string fifo = fDirectory + "/fifo";
	ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
	ItemFile pipe(fifo);
	EXPECT_NE(pipe.Read(ItemFile::kMaxSize), B_OK);
	EXPECT_EQ(pipe.ErrorMessage(), fifo + ": is a pipe");

	if (geteuid() != 0) {
		std::string secret = MakeFile("secret", "x");
		chmod(secret.c_str(), 0);
		ItemFile unreadable(secret);
		EXPECT_NE(unreadable.Read(ItemFile::kMaxSize), B_OK);
		EXPECT_EQ(unreadable.ErrorMessage(), secret + ": cannot open: Permission denied");
	}
}

TEST_F(ItemFileTest, RefusesFilesAboveTheLimit)
{
	std::string path = MakeFile("big", std::string(100, 'x'));
	ItemFile file(path);
	EXPECT_EQ(file.Read(100), B_OK);
	EXPECT_NE(file.Read(99), B_OK);
	EXPECT_EQ(file.ErrorMessage(),
	          path + ": too large: 100 bytes (at most 99 bytes fit the view's exact coordinates)");
	EXPECT_TRUE(file.Data().empty());

	// A sparse file just past 4 GiB - 1 costs no disk space; the size alone
	// decides, whatever limit the caller asks for.
	std::string huge = fDirectory + "/huge";
	{
		std::ofstream(huge, std::ios::binary);
	}
	fs::resize_file(huge, ItemFile::kMaxSize + 1);
	ItemFile hugeFile(huge);
	EXPECT_NE(hugeFile.Read(ItemFile::kMaxSize + 1000), B_OK);
	EXPECT_EQ(
	    hugeFile.ErrorMessage(),
	    huge + ": too large: 4294967296 bytes (offsets are 32-bit, so at most 4294967295 bytes)");
}

TEST_F(ItemFileTest, WriteReplacesTheFileAndKeepsItsPermissions)
{
	std::string path = MakeFile("data.bin", "old contents");
	chmod(path.c_str(), 0640);
	ItemFile file(path);
	ASSERT_EQ(file.Read(ItemFile::kMaxSize), B_OK);

	std::string bytes("new\0bytes", 9);
	ASSERT_EQ(file.Write(bytes.data(), bytes.size()), B_OK) << file.ErrorMessage();
	EXPECT_EQ(Contents(path), bytes);
	EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
	          fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
	EXPECT_FALSE(file.Differs(bytes.data(), bytes.size()));
	EXPECT_EQ(CountEntries(), 1u) << "a temporary file was left behind";
}

TEST_F(ItemFileTest, AFileRemovedSinceItWasReadComesBackWithItsMode)
{
	const mode_t oldMask = umask(077);
	for (mode_t mask : {077, 022, 0}) {
		for (mode_t mode : {0600, 0640, 0604, 0751, 0444}) {
			SCOPED_TRACE("umask " + std::to_string(mask) + ", mode " + std::to_string(mode));
			umask(mask);
			std::string path = MakeFile("data.bin", "old");
			ASSERT_EQ(chmod(path.c_str(), mode), 0);
			ItemFile file(path);
			ASSERT_EQ(file.Read(ItemFile::kMaxSize), B_OK);
			fs::remove(path);
			ASSERT_EQ(file.Write("new", 3), B_OK) << file.ErrorMessage();
			struct stat info;
			ASSERT_EQ(stat(path.c_str(), &info), 0);
			EXPECT_EQ(info.st_mode & 07777, mode);
			EXPECT_EQ(Contents(path), "new");
			fs::remove(path);
		}
	}
	umask(oldMask);
}

TEST_F(ItemFileTest, NamesUpToTheLongestSaveAndLeaveNoTemporaryBehind)
{
	// Whether every sequence of a UTF-8 name is whole.
	auto isWholeUtf8 = [](const std::string& name) {
		for (size_t at = 0; at < name.size();) {
			unsigned char lead = static_cast<unsigned char>(name[at]);
			size_t length = lead < 0x80 ? 1 : lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : 2;
			if (at + length > name.size())
				return false;
			for (size_t next = at + 1; next < at + length; next++) {
				if ((static_cast<unsigned char>(name[next]) & 0xc0) != 0x80)
					return false;
			}
			at += length;
		}
		return true;
	};
	std::string twoByteCharacters;
	for (int i = 0; i < 127; i++)
		twoByteCharacters += "\xc3\xa9";
	const std::string names[] = {std::string(244, 'n'), std::string(NAME_MAX, 'm'),
	                             twoByteCharacters + "x",
	                             std::string(NAME_MAX - 2, 'a') + "\xc3\xa9"};
	for (const std::string& name : names) {
		SCOPED_TRACE(std::to_string(name.size()) + " bytes starting " + name.substr(0, 4));
		std::string path = MakeFile(name, "old");
		ItemFile file(path);
		ASSERT_EQ(file.Read(ItemFile::kMaxSize), B_OK) << file.ErrorMessage();
		ASSERT_EQ(file.Write("new", 3), B_OK) << file.ErrorMessage();
		EXPECT_EQ(Contents(path), "new");
		EXPECT_EQ(CountEntries(), 1u);

		// A saver killed halfway (by the file size limit) leaves its
		// temporary file; the next read removes it.
		pid_t child = fork();
		ASSERT_GE(child, 0);
		if (child == 0) {
			signal(SIGXFSZ, SIG_DFL);
			struct rlimit noCore = {0, 0};
			setrlimit(RLIMIT_CORE, &noCore);
			struct rlimit limit = {4, 4};
			setrlimit(RLIMIT_FSIZE, &limit);
			std::string bytes(1000, 'n');
			file.Write(bytes.data(), bytes.size());
			_exit(0);
		}
		int status = 0;
		ASSERT_EQ(waitpid(child, &status, 0), child);
		ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
		ASSERT_EQ(CountEntries(), 2u);
		for (const fs::directory_entry& entry : fs::directory_iterator(fDirectory))
			EXPECT_TRUE(isWholeUtf8(entry.path().filename().string()));
		ItemFile next(path);
		ASSERT_EQ(next.Read(ItemFile::kMaxSize), B_OK) << next.ErrorMessage();
		EXPECT_EQ(CountEntries(), 1u) << "the killed saver's temporary file stayed";
		EXPECT_EQ(Contents(path), "new");
		fs::remove(path);
	}
}

TEST_F(ItemFileTest, WriteThroughASymbolicLinkKeepsTheLink)
{
	std::string target = MakeFile("target", "old");
	std::string link = fDirectory + "/link";
	ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);

	ItemFile file(link);
	ASSERT_EQ(file.Read(ItemFile::kMaxSize), B_OK);
	ASSERT_EQ(file.Write("new", 3), B_OK) << file.ErrorMessage();
	EXPECT_TRUE(fs::is_symlink(link));
	EXPECT_EQ(Contents(target), "new");
}

TEST_F(ItemFileTest, FailedWriteLeavesTheTargetUntouched)
{
	// The folder is replaced by a file: no temporary file can be made there,
	// whoever runs the test.
	std::string folder = fDirectory + "/folder";
	fs::create_directory(folder);
	std::string path = folder + "/data.bin";
	std::ofstream(path) << "old";
	ItemFile file(path);
	ASSERT_EQ(file.Read(ItemFile::kMaxSize), B_OK);
	fs::remove_all(folder);
	std::ofstream(folder) << "now a file";

	EXPECT_NE(file.Write("new", 3), B_OK);
	EXPECT_EQ(file.ErrorMessage(), path + ": cannot save: cannot create a temporary file in " +
	                                   folder + ": Not a directory");
	EXPECT_EQ(Contents(folder), "now a file");
	EXPECT_TRUE(file.Differs("new", 3)) << "a failed write must not count as saved";
}

TEST_F(ItemFileTest, WriteFailingHalfwayRemovesTheTemporaryFile)
{
	// A file size limit makes the write itself fail, for root as well; the
	// child process carries the limit so the test process keeps none.
	std::string path = MakeFile("data.bin", "old contents");
	pid_t child = fork();
	ASSERT_GE(child, 0);
	if (child == 0) {
		signal(SIGXFSZ, SIG_IGN);
		struct rlimit limit = {4, 4};
		setrlimit(RLIMIT_FSIZE, &limit);
		ItemFile file(path);
		if (file.Read(ItemFile::kMaxSize) != B_OK)
			_exit(3);
		std::string bytes(1000, 'n');
		status_t status = file.Write(bytes.data(), bytes.size());
		bool named = file.ErrorMessage() == path + ": cannot save: cannot write: File too large";
		_exit(status != B_OK && named ? 0 : 1);
	}
	int status = 0;
	ASSERT_EQ(waitpid(child, &status, 0), child);
	ASSERT_TRUE(WIFEXITED(status));
	EXPECT_EQ(WEXITSTATUS(status), 0) << "the write did not fail as expected";
	EXPECT_EQ(Contents(path), "old contents");
	EXPECT_EQ(CountEntries(), 1u) << "the temporary file was left behind";
}
