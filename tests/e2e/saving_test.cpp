// Saving that survives anything: a saver killed at random moments, a full
// disk and a read-only file system (small tmpfs mounts, where the test may
// mount), a file changed by another program or shared by hard links (the
// user confirms with a second Ctrl+S), and the owner, group and mode kept.

#include <gtest/gtest.h>

#include <Errors.h>

#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

class SavingTest : public testing::Test
{
protected:
	std::string Folder() const { return fRunner.Folder(); }
	std::string ErrorPath() const { return Folder() + "/../stderr-session"; }

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
	std::uniform_int_distribution<int64> delay(0, saveTime.count() * 6 / 5);
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
