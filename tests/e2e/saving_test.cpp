// Saving that survives anything: a saver killed at random moments, a full
// disk and a read-only file system (small tmpfs mounts, where the test may
// mount), a file changed by another program, shared by hard links,
// write-protected or one that must be written in place (the user confirms
// with a second Ctrl+S), and the owner, group, mode and extended
// attributes kept.

#include <gtest/gtest.h>

#include <Errors.h>

#include <grp.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <thread>

#include "ItemFile.h"
#include "ProgramRunner.h"
#include "ProgramSession.h"

namespace fs = std::filesystem;

namespace {

// Random bytes from a seed.
std::string Pattern(size_t size, uint32 seed)
{
	std::mt19937 generator(seed);
	std::string bytes(size, '\0');
	for (char& byte : bytes)
		byte = char(generator() & 0xff);
	return bytes;
}

size_t CountEntries(const std::string& folder)
{
	return size_t(std::distance(fs::directory_iterator(folder), {}));
}

// A small tmpfs on a folder for as long as it lives, when this process may
// mount (root or CAP_SYS_ADMIN); Mounted() says whether it could.
class SmallDisk
{
public:
	SmallDisk(const std::string& folder, const char* size) : fFolder(folder), fMounted(false)
	{
		fs::create_directory(folder);
		std::string options = std::string("size=") + size;
		fMounted = mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
	}
	~SmallDisk()
	{
		if (fMounted)
			umount2(fFolder.c_str(), MNT_DETACH);
	}

	bool Mounted() const { return fMounted; }
	bool SetReadOnly(bool readOnly)
	{
		unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
		return mount("tmpfs", fFolder.c_str(), "tmpfs", flags, NULL) == 0;
	}

private:
	std::string fFolder;
	bool fMounted;
};

const char* const kNoMount = "mounting a small file system needs CAP_SYS_ADMIN; the file size "
                             "limit tests cover a failing write for every user";

const uid_t kNobody = 65534;

// Runs body in a child process that has become the user and group nobody,
// with $TMPDIR set to temporaryFolder, and returns what body returned. The
// caller must be root.
std::string AsNobody(const std::string& temporaryFolder, const std::function<std::string()>& body)
{
	int channel[2];
	if (pipe(channel) != 0)
		return "cannot make a pipe";
	pid_t child = fork();
	if (child < 0)
		return "cannot fork";
	if (child == 0) {
		close(channel[0]);
		std::string result = "cannot become nobody";
		if (setgroups(0, NULL) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0) {
			setenv("TMPDIR", temporaryFolder.c_str(), 1);
			result = body();
		}
		const char* data = result.data();
		size_t left = result.size();
		while (left > 0) {
			ssize_t written = write(channel[1], data, left);
			if (written <= 0)
				break;
			data += written;
			left -= size_t(written);
		}
		_exit(0);
	}
	close(channel[1]);
	std::string result;
	char buffer[4096];
	ssize_t count;
	while ((count = read(channel[0], buffer, sizeof(buffer))) > 0)
		result.append(buffer, size_t(count));
	close(channel[0]);
	waitpid(child, NULL, 0);
	return result;
}

// The extended attributes a save keeps, by name: all but the system's
// security labels.
std::map<std::string, std::string> KeptAttributes(const std::string& path)
{
	std::map<std::string, std::string> attributes;
	char names[65536];
	ssize_t length = listxattr(path.c_str(), names, sizeof(names));
	for (const char* name = names; length > 0 && name < names + length; name += strlen(name) + 1) {
		if (strncmp(name, "security.", 9) == 0)
			continue;
		char value[65536];
		ssize_t size = getxattr(path.c_str(), name, value, sizeof(value));
		attributes[name] = size >= 0 ? std::string(value, size_t(size)) : "(unreadable)";
	}
	return attributes;
}

class SavingTest : public testing::Test
{
protected:
	std::string Folder() const { return fRunner.Folder(); }
	std::string ErrorPath() const { return Folder() + "/../stderr-session"; }

	// Folders for running as nobody: the test's folders opened to every
	// user, one of nobody's for standard error and one for $TMPDIR.
	void PrepareForNobody()
	{
		ASSERT_EQ(chmod((Folder() + "/..").c_str(), 0755), 0);
		ASSERT_EQ(chmod(Folder().c_str(), 0755), 0);
		for (const std::string& folder : {NobodysFolder(), CopiesFolder()}) {
			fs::create_directory(folder);
			ASSERT_EQ(chown(folder.c_str(), kNobody, kNobody), 0);
		}
	}
	std::string NobodysFolder() const { return Folder() + "/nobody"; }
	std::string CopiesFolder() const { return Folder() + "/copies"; }

	ProgramRunner fRunner;
};

} // namespace

TEST_F(SavingTest, KilledAtAnyMomentLeavesTheOldOrTheNewFileWhole)
{
	const size_t kSize = 16 * 1024 * 1024;
	const std::string oldBytes = Pattern(kSize, 1);
	const std::string newBytes = Pattern(kSize, 2);
	const std::string path = fRunner.MakeFile("big.bin", oldBytes);
	int trials = 50;
	if (const char* count = getenv("HEXDUMP_KILL_TRIALS"))
		trials = std::max(1, atoi(count));

	// How long one save takes here (the quickest of three): the kills fall
	// anywhere from its start to a little after its end.
	std::chrono::microseconds saveTime = std::chrono::microseconds::max();
	{
		ItemFile file(path);
		ASSERT_EQ(file.Read(ItemFile::kMaxSize), B_OK);
		for (int i = 0; i < 3; i++) {
			const std::string& bytes = i % 2 == 0 ? newBytes : oldBytes;
			auto start = std::chrono::steady_clock::now();
			ASSERT_EQ(file.Write(bytes.data(), bytes.size()), B_OK) << file.ErrorMessage();
			saveTime = std::min(saveTime, std::chrono::duration_cast<std::chrono::microseconds>(
			                                  std::chrono::steady_clock::now() - start));
		}
		ASSERT_EQ(file.Write(oldBytes.data(), oldBytes.size()), B_OK) << file.ErrorMessage();
	}

	const uint32 seed = uint32(std::random_device()());
	std::mt19937 generator(seed);
	// A forked saver can be slower than this process's own saves (its pages
	// are copied on write, the machine may be busy): each kill that still
	// found the old file widens the range, so that later kills also reach
	// past the rename.
	int64 maxDelay = std::max<int64>(saveTime.count() * 6 / 5, 1);
	int endedOld = 0;
	int endedNew = 0;
	int leftTemporary = 0;
	for (int trial = 0; trial < trials; trial++) {
		SCOPED_TRACE("seed " + std::to_string(seed) + ", trial " + std::to_string(trial));
		int ready[2];
		ASSERT_EQ(pipe(ready), 0);
		pid_t child = fork();
		ASSERT_GE(child, 0);
		if (child == 0) {
			close(ready[0]);
			ItemFile file(path);
			if (file.Read(ItemFile::kMaxSize) != B_OK)
				_exit(2);
			if (write(ready[1], "r", 1) != 1)
				_exit(3);
			_exit(file.Write(newBytes.data(), newBytes.size()) == B_OK ? 0 : 1);
		}
		close(ready[1]);
		char signal = 0;
		ASSERT_EQ(read(ready[0], &signal, 1), 1);
		close(ready[0]);
		std::uniform_int_distribution<int64> delay(0, maxDelay);
		std::this_thread::sleep_for(std::chrono::microseconds(delay(generator)));
		kill(child, SIGKILL);
		int status = 0;
		ASSERT_EQ(waitpid(child, &status, 0), child);
		ASSERT_TRUE(WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) == 0));

		const std::string contents = ProgramRunner::Contents(path);
		const bool isOld = contents == oldBytes;
		const bool isNew = contents == newBytes;
		ASSERT_TRUE(isOld || isNew) << "a mix of " << contents.size() << " bytes";
		endedOld += isOld;
		if (isOld)
			maxDelay += maxDelay / 16;
		endedNew += isNew;
		leftTemporary += CountEntries(Folder()) > 1;

		// The next start (a read) or the next save removes what the killed
		// saver left; every trial starts again from the old bytes.
		ItemFile next(path);
		if (trial % 2 == 0) {
			ASSERT_EQ(next.Read(ItemFile::kMaxSize), B_OK) << next.ErrorMessage();
			EXPECT_EQ(CountEntries(Folder()), 1u) << "a temporary file outlived the next start";
		}
		ASSERT_EQ(next.Write(oldBytes.data(), oldBytes.size()), B_OK) << next.ErrorMessage();
		ASSERT_EQ(CountEntries(Folder()), 1u) << "a temporary file outlived the next save";
	}
	printf("%d kills during 16 MB saves (about %lld ms each): %d left the old file, %d the new "
	       "one, %d a temporary file\n",
	       trials, (long long)(saveTime.count() / 1000), endedOld, endedNew, leftTemporary);
	// The kills fell both before and after the rename.
	if (trials >= 50) {
		EXPECT_GT(endedOld, 0);
		EXPECT_GT(endedNew, 0);
	}
}

TEST_F(SavingTest, TemporaryFilesOfLiveSaversAndOtherFilesStay)
{
	// Only a saver that is gone leaves its temporary file for the taking:
	// this process's, a live process's and other files' names stay.
	const std::string path = fRunner.MakeFile("data.bin", "old");
	const std::string live = Folder() + "/.data.bin.reshost-1-abcdef";
	const std::string own = Folder() + "/.data.bin.reshost-" + std::to_string(getpid()) + "-abcdef";
	const std::string other = Folder() + "/.other.bin.reshost-999999999-abcdef";
	for (const std::string& name : {live, own, other})
		std::ofstream(name) << "x";
	ItemFile file(path);
	ASSERT_EQ(file.Read(ItemFile::kMaxSize), B_OK);
	ASSERT_EQ(file.Write("new", 3), B_OK) << file.ErrorMessage();
	EXPECT_TRUE(fs::exists(live)) << "process 1 is alive";
	EXPECT_TRUE(fs::exists(own));
	EXPECT_TRUE(fs::exists(other));
	EXPECT_EQ(ProgramRunner::Contents(path), "new");
}

TEST_F(SavingTest, FullDiskFailsUntouchedAndASaveAfterFreeingSpaceSucceeds)
{
	const std::string disk = Folder() + "/disk";
	SmallDisk small(disk, "256k");
	if (!small.Mounted())
		GTEST_SKIP() << kNoMount;
	const std::string original(100 * 1024, 'o');
	const std::string path = disk + "/data.bin";
	std::ofstream(path, std::ios::binary) << original;
	// The rest of the disk taken by another file.
	{
		std::ofstream filler(disk + "/filler", std::ios::binary);
		const std::string block(4096, 'f');
		for (int i = 0; i < 64 && filler; i++)
			filler.write(block.data(), block.size());
	}

	ProgramSession session({path}, ErrorPath());
	const std::string failed = "*data.bin - Undo typing - Save failed: " + path +
	                           ": cannot save: cannot write: No space left on device";
	EXPECT_EQ(session.Ask("type \"41\"\nsave\ntitle\n"), failed);
	EXPECT_EQ(ProgramRunner::Contents(path), original);
	EXPECT_EQ(CountEntries(disk), 2u) << "the temporary file was left behind";

	fs::remove(disk + "/filler");
	EXPECT_EQ(session.Ask("save\ntitle\n"), "data.bin - Undo typing - Saved");
	EXPECT_EQ(ProgramRunner::Contents(path), "A" + original);
	// The run still tells that a save failed on the way.
	ProgramResult result = session.Finish();
	EXPECT_EQ(result.exitCode, 1);
	const std::string error = path + ": cannot save: cannot write: No space left on device";
	EXPECT_EQ(result.errors,
	          "reshost: " + error + "\nreshost: script -: line 2: save failed: " + error + "\n");
}

TEST_F(SavingTest, ReadOnlyFileSystemFailsUntouchedAndASaveAfterRemountingSucceeds)
{
	const std::string disk = Folder() + "/disk";
	SmallDisk small(disk, "256k");
	if (!small.Mounted())
		GTEST_SKIP() << kNoMount;
	const std::string path = disk + "/data.bin";
	std::ofstream(path, std::ios::binary) << "0123";
	ASSERT_TRUE(small.SetReadOnly(true));

	ProgramSession session({path}, ErrorPath());
	EXPECT_EQ(session.Ask("type \"41\"\nsave\ntitle\n"),
	          "*data.bin - Undo typing - Save failed: " + path +
	              ": cannot save: cannot create a temporary file in " + disk +
	              ": Read-only file system");
	EXPECT_EQ(ProgramRunner::Contents(path), "0123");

	ASSERT_TRUE(small.SetReadOnly(false));
	EXPECT_EQ(session.Ask("save\ntitle\n"), "data.bin - Undo typing - Saved");
	EXPECT_EQ(ProgramRunner::Contents(path), "A0123");
	EXPECT_EQ(session.Finish().exitCode, 1) << "a save failed during the run";
}

TEST_F(SavingTest, AFileChangedByAnotherProgramIsOverwrittenOnlyOnASecondSave)
{
	const std::string path = fRunner.MakeFile("data.bin", "0123");
	ProgramSession session({path}, ErrorPath());
	EXPECT_EQ(session.Ask("type \"41\"\ntitle\n"), "*data.bin - Undo typing");

	std::ofstream(path, std::ios::binary) << "other program";
	const std::string warned = "*data.bin - Undo typing - " + path +
	                           ": changed by another program since it was opened: press Ctrl+S "
	                           "again to save";
	EXPECT_EQ(session.Ask("key Ctrl+S\ntitle\n"), warned);
	EXPECT_EQ(ProgramRunner::Contents(path), "other program");

	// Any other command in between asks again.
	EXPECT_EQ(session.Ask("undo\nredo\nkey Ctrl+S\ntitle\n"), warned);
	EXPECT_EQ(session.Ask("key Ctrl+S\ntitle\n"), "data.bin - Undo typing - Saved");
	EXPECT_EQ(ProgramRunner::Contents(path), "A0123");

	// Once written, the file is this program's again: no more warnings.
	EXPECT_EQ(session.Ask("type \"42\"\nkey Ctrl+S\ntitle\n"), "data.bin - Undo typing - Saved");
	EXPECT_EQ(ProgramRunner::Contents(path), "AB0123");

	// A file removed meanwhile is named as such, and made again on request.
	fs::remove(path);
	EXPECT_EQ(session.Ask("type \"43\"\nkey Ctrl+S\ntitle\n"),
	          "*data.bin - Undo typing - " + path +
	              ": removed by another program since it was opened: press Ctrl+S again to save");
	EXPECT_EQ(session.Ask("key Ctrl+S\ntitle\n"), "data.bin - Undo typing - Saved");
	EXPECT_EQ(ProgramRunner::Contents(path), "ABC0123");
	EXPECT_EQ(session.Finish().exitCode, 0);
}

TEST_F(SavingTest, AHardLinkedFileGetsAFileOfItsOwnAfterConfirmation)
{
	// Saving renames a new file over the name; writing into the shared file
	// in place would keep the names together but could leave it half
	// written. So the saved name parts from the others, which keep the old
	// bytes, and the user is told first.
	const std::string path = fRunner.MakeFile("data.bin", "0123");
	const std::string other = Folder() + "/other-name.bin";
	ASSERT_EQ(link(path.c_str(), other.c_str()), 0);

	ItemFile file(path);
	ASSERT_EQ(file.Read(ItemFile::kMaxSize), B_OK);
	EXPECT_EQ(file.SaveWarning(),
	          path + ": has 2 hard links; saving gives this name a file of its own");

	ProgramSession session({path}, ErrorPath());
	EXPECT_EQ(session.Ask("type \"41\"\nkey Ctrl+S\ntitle\n"),
	          "*data.bin - Undo typing - " + path +
	              ": has 2 hard links; saving gives this name a file of its own: press Ctrl+S "
	              "again to save");
	EXPECT_EQ(ProgramRunner::Contents(path), "0123");
	EXPECT_EQ(session.Ask("key Ctrl+S\ntitle\n"), "data.bin - Undo typing - Saved");
	EXPECT_EQ(ProgramRunner::Contents(path), "A0123");
	EXPECT_EQ(ProgramRunner::Contents(other), "0123");
	EXPECT_EQ(fs::hard_link_count(path), 1u);
	EXPECT_EQ(session.Finish().exitCode, 0);
}

TEST_F(SavingTest, EveryFilesWarningIsGivenBeforeASecondSaveWritesThem)
{
	// The status line has room for one; standard error gets them all, so
	// that the confirming save writes no file the user was not warned of.
	const std::string first = fRunner.MakeFile("first.bin", "0123");
	const std::string second = fRunner.MakeFile("second.bin", "4567");
	ProgramSession session({first, second}, ErrorPath());
	EXPECT_EQ(session.Ask("type \"41\"\nnext\npress hex 0\nrelease hex 0\ntype \"42\"\ntitle\n"),
	          "*second.bin (item 2 of 2) - Undo typing");
	std::ofstream(first, std::ios::binary) << "other program";
	std::ofstream(second, std::ios::binary) << "other program";

	const std::string changed = ": changed by another program since it was opened";
	EXPECT_EQ(session.Ask("key Ctrl+S\ntitle\n"),
	          "*second.bin (item 2 of 2) - Undo typing - " + first + changed +
	              " (and 1 more on standard error): press Ctrl+S again to save");
	EXPECT_EQ(ProgramRunner::Contents(first), "other program");
	EXPECT_EQ(ProgramRunner::Contents(second), "other program");
	EXPECT_EQ(session.Ask("key Ctrl+S\ntitle\n"), "second.bin (item 2 of 2) - Undo typing - Saved");
	EXPECT_EQ(ProgramRunner::Contents(first), "A0123");
	EXPECT_EQ(ProgramRunner::Contents(second), "B4567");
	ProgramResult result = session.Finish();
	EXPECT_EQ(result.exitCode, 0);
	EXPECT_EQ(result.errors,
	          "reshost: " + first + changed + "\nreshost: " + second + changed + "\n");
}

TEST_F(SavingTest, TheFileKeepsItsModeOwnerAndGroup)
{
	if (geteuid() != 0)
		GTEST_SKIP() << "giving a file to another owner takes root";
	const std::string path = fRunner.MakeFile("data.bin", "old");
	ASSERT_EQ(chown(path.c_str(), 4321, 8765), 0);
	ASSERT_EQ(chmod(path.c_str(), 02750), 0);

	ItemFile file(path);
	ASSERT_EQ(file.Read(ItemFile::kMaxSize), B_OK);
	ASSERT_EQ(file.Write("new", 3), B_OK) << file.ErrorMessage();
	struct stat info;
	ASSERT_EQ(stat(path.c_str(), &info), 0);
	EXPECT_EQ(info.st_uid, 4321u);
	EXPECT_EQ(info.st_gid, 8765u);
	EXPECT_EQ(info.st_mode & 07777, 02750u);
	EXPECT_EQ(ProgramRunner::Contents(path), "new");
	EXPECT_EQ(file.SaveWarning(), "");
}

TEST_F(SavingTest, WriteProtectedFilesAndOnesThatCannotBeReplacedAreSavedOnASecondCtrlS)
{
	if (geteuid() != 0)
		GTEST_SKIP() << "making other users' files and running as nobody takes root";
	PrepareForNobody();
	const uid_t kRoot = 0;
	const char* const kProtected = "is write-protected (mode 0444); saving replaces it";
	const char* const kFolder =
	    "cannot be replaced (its folder is not writable); saving writes it in place, not "
	    "atomically";
	const char* const kOwner = "cannot be replaced (a new file could not keep its owner and "
	                           "group); saving writes it in place, not atomically";
	struct Case
	{
		const char* what;
		bool asNobody;
		uid_t folderOwner;
		mode_t folderMode;
		uid_t fileOwner;
		mode_t fileMode;
		const char* warning; // NULL: the first Ctrl+S saves or fails
		bool saves;
		bool inPlace;
	};
	const Case kCases[] = {
	    {"own file in own folder", true, kNobody, 0755, kNobody, 0644, NULL, true, false},
	    {"own write-protected file", true, kNobody, 0755, kNobody, 0444, kProtected, true, false},
	    {"write-protected file, for root", false, kRoot, 0755, kRoot, 0444, kProtected, true,
	     false},
	    {"writable file in another user's folder", true, kRoot, 0755, kRoot, 0666, kFolder, true,
	     true},
	    {"another user's writable file in a sticky folder", true, kRoot, 01777, kRoot, 0666, kOwner,
	     true, true},
	    {"another user's writable file in own folder", true, kNobody, 0755, kRoot, 0666, kOwner,
	     true, true},
	    {"another user's read-only file in their folder", true, kRoot, 0755, kRoot, 0644, NULL,
	     false, false},
	};
	int number = 0;
	for (const Case& test : kCases) {
		SCOPED_TRACE(test.what);
		const std::string folder = Folder() + "/case" + std::to_string(++number);
		fs::create_directory(folder);
		const std::string path = folder + "/data.bin";
		std::ofstream(path, std::ios::binary) << "0123";
		ASSERT_EQ(chown(path.c_str(), test.fileOwner, test.fileOwner), 0);
		ASSERT_EQ(chmod(path.c_str(), test.fileMode), 0);
		ASSERT_EQ(chown(folder.c_str(), test.folderOwner, test.folderOwner), 0);
		ASSERT_EQ(chmod(folder.c_str(), test.folderMode), 0);
		struct stat before;
		ASSERT_EQ(stat(path.c_str(), &before), 0);

		const std::string errorPath = NobodysFolder() + "/stderr-" + std::to_string(number);
		auto run = [&]() {
			ProgramSession session({path}, errorPath);
			std::string first = session.Ask("type \"41\"\nkey Ctrl+S\ntitle\n");
			std::string second = session.Ask("key Ctrl+S\ntitle\n");
			ProgramResult result = session.Finish();
			return first + "\n" + second + "\n" + std::to_string(result.exitCode) + "\n" +
			       result.errors;
		};
		const std::string shown = test.asNobody ? AsNobody(CopiesFolder(), run) : run();

		const std::string saved = "data.bin - Undo typing - Saved";
		const std::string unchanged = "data.bin - Undo typing - No changes to save";
		const std::string error = path + ": cannot save: cannot create a temporary file in " +
		                          folder + ": Permission denied";
		const std::string failed = "*data.bin - Undo typing - Save failed: " + error;
		std::string expected;
		if (test.warning != NULL) {
			const std::string warning = path + ": " + test.warning;
			expected = "*data.bin - Undo typing - " + warning + ": press Ctrl+S again to save\n" +
			           saved + "\n0\nreshost: " + warning + "\n";
		} else if (test.saves)
			expected = saved + "\n" + unchanged + "\n0\n";
		else
			// The run then exits 1, naming the first save that failed.
			expected = failed + "\n" + failed + "\n1\nreshost: " + error + "\nreshost: " + error +
			           "\nreshost: script -: line 2: save failed: " + error + "\n";
		EXPECT_EQ(shown, expected);

		struct stat after;
		ASSERT_EQ(stat(path.c_str(), &after), 0);
		EXPECT_EQ(ProgramRunner::Contents(path), test.saves ? "A0123" : "0123");
		if (test.saves) {
			EXPECT_EQ(after.st_ino == before.st_ino, test.inPlace);
		}
		EXPECT_EQ(after.st_mode & 07777, test.fileMode);
		EXPECT_EQ(after.st_uid, test.fileOwner);
		EXPECT_EQ(CountEntries(folder), 1u) << "a temporary file was left beside the file";
		EXPECT_EQ(CountEntries(CopiesFolder()), 0u) << "the copy of the old bytes was left";
	}
}

TEST_F(SavingTest, AFailedWriteInPlaceSaysWhereTheOldBytesAre)
{
	if (geteuid() != 0)
		GTEST_SKIP() << "making another user's file and running as nobody takes root";
	PrepareForNobody();
	const std::string folder = Folder() + "/sticky";
	fs::create_directory(folder);
	ASSERT_EQ(chmod(folder.c_str(), 01777), 0);
	const std::string path = folder + "/data.bin";
	const std::string oldBytes = "0123456789";
	std::ofstream(path, std::ios::binary) << oldBytes;
	ASSERT_EQ(chmod(path.c_str(), 0666), 0);

	// The file size limit lets the copy of the old bytes through and stops
	// the new ones halfway.
	const std::string error = AsNobody(CopiesFolder(), [&]() {
		ItemFile file(path);
		if (file.Read(ItemFile::kMaxSize) != B_OK)
			return file.ErrorMessage();
		signal(SIGXFSZ, SIG_IGN);
		struct rlimit limit = {64, 64};
		setrlimit(RLIMIT_FSIZE, &limit);
		const std::string newBytes(1000, 'n');
		if (file.Write(newBytes.data(), newBytes.size()) == B_OK)
			return std::string("saved");
		return file.ErrorMessage();
	});
	const std::string start = path +
	                          ": cannot save: cannot write in place: File too large; its "
	                          "old bytes are in " +
	                          CopiesFolder() + "/reshost-old-data.bin-";
	ASSERT_EQ(error.substr(0, start.size()), start);
	EXPECT_EQ(ProgramRunner::Contents(error.substr(error.rfind(' ') + 1)), oldBytes);
	EXPECT_EQ(CountEntries(CopiesFolder()), 1u);

	// The copy outlives later saves, even ones that look for stale
	// temporary files beside it.
	const std::string copy = error.substr(error.rfind(' ') + 1);
	ItemFile file(path);
	ASSERT_EQ(file.Read(ItemFile::kMaxSize), B_OK);
	ASSERT_EQ(file.Write("new", 3), B_OK) << file.ErrorMessage();
	EXPECT_TRUE(fs::exists(copy));
}

TEST_F(SavingTest, ASaveKeepsEveryExtendedAttributeAndTheACL)
{
	const std::string path = fRunner.MakeFile("xa.bin", "old");
	if (setxattr(path.c_str(), "user.probe", "x", 1, 0) != 0 && errno == ENOTSUP)
		GTEST_SKIP() << "the test folder's file system has no user extended attributes";
	removexattr(path.c_str(), "user.probe");

	// Random names and binary values, an empty one among them, and an ACL
	// that lets user 4321 read and write (entries: owner rw, user 4321 rw,
	// group r, mask rw, others r).
	const uint32 seed = uint32(std::random_device()());
	SCOPED_TRACE("seed " + std::to_string(seed));
	std::mt19937 generator(seed);
	const int count = 1 + int(generator() % 8);
	for (int index = 0; index < count; index++) {
		const std::string name = "user.attribute" + std::to_string(generator());
		// ext4 keeps all of a file's attributes in one 4 KiB block.
		const size_t size = index == 0 ? 0 : generator() % 300;
		const std::string value = Pattern(size, generator());
		ASSERT_EQ(setxattr(path.c_str(), name.c_str(), value.data(), value.size(), 0), 0);
	}
	const uint32 acl[] = {2,          0x00060001, 0xffffffff, 0x00060002, 4321,      0x00040004,
	                      0xffffffff, 0x00060010, 0xffffffff, 0x00040020, 0xffffffff};
	ASSERT_EQ(setxattr(path.c_str(), "system.posix_acl_access", acl, sizeof(acl), 0), 0)
	    << strerror(errno);
	if (geteuid() == 0) {
		ASSERT_EQ(setxattr(path.c_str(), "trusted.note", "root's", 6, 0), 0);
	}
	const std::map<std::string, std::string> before = KeptAttributes(path);
	struct stat old;
	ASSERT_EQ(stat(path.c_str(), &old), 0);

	ItemFile file(path);
	ASSERT_EQ(file.Read(ItemFile::kMaxSize), B_OK);
	ASSERT_EQ(file.Write("new", 3), B_OK) << file.ErrorMessage();
	EXPECT_EQ(file.SaveNotice(), "");
	struct stat saved;
	ASSERT_EQ(stat(path.c_str(), &saved), 0);
	ASSERT_NE(saved.st_ino, old.st_ino) << "the file was not replaced";
	EXPECT_EQ(KeptAttributes(path), before);
	EXPECT_EQ(saved.st_mode & 07777, old.st_mode & 07777);
	EXPECT_EQ(ProgramRunner::Contents(path), "new");
}

TEST_F(SavingTest, AnAttributeASaveCannotKeepIsNamedBesideTheSuccess)
{
	if (geteuid() != 0)
		GTEST_SKIP() << "root reads every attribute; the test runs as nobody";
	PrepareForNobody();
	const std::string folder = NobodysFolder() + "/files";
	fs::create_directory(folder);
	ASSERT_EQ(chown(folder.c_str(), kNobody, kNobody), 0);
	const std::string path = folder + "/xa.bin";
	std::ofstream(path, std::ios::binary) << "0123";
	ASSERT_EQ(chown(path.c_str(), kNobody, kNobody), 0);
	if (setxattr(path.c_str(), "user.note", "keep me", 7, 0) != 0 && errno == ENOTSUP)
		GTEST_SKIP() << "the test folder's file system has no user extended attributes";

	// Made write-only after reshost read it, the file's user attributes can
	// no longer be read (their access follows the file's mode).
	const std::string errorPath = NobodysFolder() + "/stderr";
	const std::string shown = AsNobody(CopiesFolder(), [&]() {
		ProgramSession session({path}, errorPath);
		std::string typed = session.Ask("type \"41\"\ntitle\n");
		chmod(path.c_str(), 0200);
		std::string saved = session.Ask("key Ctrl+S\ntitle\n");
		return typed + "\n" + saved + "\n" + session.Finish().errors;
	});
	const std::string notice =
	    path + ": extended attributes not kept: user.note (Permission denied)";
	EXPECT_EQ(shown, "*xa.bin - Undo typing\nxa.bin - Undo typing - Saved; " + notice +
	                     "\nreshost: " + notice + "\n");
	chmod(path.c_str(), 0600);
	EXPECT_EQ(ProgramRunner::Contents(path), "A0123");
}
