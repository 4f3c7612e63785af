// What reshost opens: one file under several names is opened once, names
// with control characters stay on one line wherever they are shown, and the
// view's size bound holds for each item, when opening and when editing.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "ProgramRunner.h"
#include "ResourceFile.h"

namespace fs = std::filesystem;

namespace {

// The largest item at the default face's 12 pixels (lines 15 pixels high).
const uint64_t kLargestAt12 = 17895679;

class OpeningFilesTest : public testing::Test
{
protected:
	ProgramResult RunScript(const std::vector<std::string>& files, const std::string& script,
	                        std::vector<std::string> extra = {})
	{
		std::vector<std::string> arguments = {"--headless", "--script", "-"};
		arguments.insert(arguments.end(), extra.begin(), extra.end());
		arguments.insert(arguments.end(), files.begin(), files.end());
		return fRunner.Run(arguments, script);
	}

	std::string SizedFile(const std::string& name, uint64_t size)
	{
		std::string path = fRunner.MakeFile(name, "");
		fs::resize_file(path, size);
		return path;
	}

	ProgramRunner fRunner;
};

// Two items on one file would each save over the other's edits: whatever
// names reach the file, it is one item, and every edit reaches the disk.
TEST_F(OpeningFilesTest, OneFileUnderSeveralNamesIsOpenedOnce)
{
	const std::string folder = fRunner.Folder();
	const std::string path = folder + "/twice.bin";
	const std::string other = folder + "/other.bin";
	const std::vector<std::string> secondNames = {path, folder + "/./twice.bin",
	                                              folder + "/link.bin", folder + "/hard.bin"};
	for (const std::string& second : secondNames) {
		// Saving renames a new file over the name: the links are made anew.
		fs::remove(folder + "/link.bin");
		fs::remove(folder + "/hard.bin");
		fRunner.MakeFile("twice.bin", "0123456789abcdef");
		fRunner.MakeFile("other.bin", "xyz");
		fs::create_symlink("twice.bin", folder + "/link.bin");
		fs::create_hard_link(path, folder + "/hard.bin");

		ProgramResult listed = fRunner.Run({"--list", path, second, other});
		EXPECT_EQ(listed.exitCode, 0) << listed.errors;
		EXPECT_EQ(Lines(listed.output), (std::vector<std::string>{"1 RAWT 1 \"twice.bin\" 16",
		                                                          "2 RAWT 3 \"other.bin\" 3"}))
		    << second;
		EXPECT_NE(listed.errors.find(second + " is " + path + " again: opened once"),
		          std::string::npos)
		    << listed.errors;

		// The edits of item 1 and of what follows it both reach their files;
		// a hard link asks first, as it always does.
		ProgramResult saved = RunScript({path, second, other},
		                                "press hex 0\nrelease hex 0\ntype \"A\"\nnext\n"
		                                "press ascii 1\nrelease ascii 1\ntype \"z\"\nsave\nsave\n");
		EXPECT_EQ(saved.exitCode, 0) << saved.errors;
		EXPECT_EQ(ProgramRunner::Contents(path), "\xA0"
		                                         "0123456789abcdef")
		    << second;
		EXPECT_EQ(ProgramRunner::Contents(other), "xzyz") << second;
	}
}

// Control characters in names would break the one line an error takes, or
// the title and the status line: they are shown as --list shows them.
TEST_F(OpeningFilesTest, ControlCharactersInNamesAreShownEscaped)
{
	const std::string name = "two\nlines\x1b.bin";
	const std::string path = fRunner.MakeFile(name, "abc");

	ProgramResult title = RunScript({path}, "title\n");
	EXPECT_EQ(title.exitCode, 0) << title.errors;
	EXPECT_EQ(Lines(title.output), (std::vector<std::string>{"two\\x0Alines\\x1B.bin"}));

	for (const std::vector<std::string>& arguments :
	     {std::vector<std::string>{fRunner.Folder() + "/missing\nname"},
	      std::vector<std::string>{"--item", "2", path},
	      std::vector<std::string>{"--script", fRunner.Folder() + "/no\rscript", path}}) {
		ProgramResult refused = fRunner.Run(arguments);
		EXPECT_EQ(refused.exitCode, 2) << refused.errors;
		EXPECT_EQ(Lines(refused.errors).size(), 1u) << refused.errors;
		EXPECT_EQ(refused.errors.find('\r'), std::string::npos) << refused.errors;
	}
	ProgramResult missing = fRunner.Run({fRunner.Folder() + "/missing\nname"});
	EXPECT_NE(missing.errors.find("missing\\x0Aname: cannot open"), std::string::npos)
	    << missing.errors;
}

// The view places every line exactly up to a size that depends on the
// font: a larger file is refused with the font size that would show it,
// and no edit grows an item past it, so what is saved opens again.
TEST_F(OpeningFilesTest, TheViewsSizeBoundHoldsWhenOpeningAndWhenEditing)
{
	const std::string largest = SizedFile("largest.bin", kLargestAt12);
	ProgramResult refused = fRunner.Run({"--headless", "--font-size", "13", largest});
	EXPECT_EQ(refused.exitCode, 2);
	EXPECT_NE(refused.errors.find("at 13 px; --font-size 12 allows 17895679"), std::string::npos)
	    << refused.errors;

	ProgramResult edited = RunScript({largest}, "type \"41\"\nkey Right\ntype \"4\"\ntitle\n"
	                                            "key Delete\ntype \"42\"\ntitle\nsave\ntitle\n");
	EXPECT_EQ(edited.exitCode, 0) << edited.errors;
	const std::vector<std::string> titles = Lines(edited.output);
	ASSERT_EQ(titles.size(), 3u) << edited.output;
	EXPECT_NE(titles[0].find("Not inserted: the item would grow past 17895679 bytes, the most "
	                         "the view shows exactly at 12 px"),
	          std::string::npos)
	    << titles[0];
	// A byte removed makes room for one: the file keeps its size.
	EXPECT_NE(titles[2].find("Saved"), std::string::npos) << titles[2];
	EXPECT_EQ(fs::file_size(largest), kLargestAt12);
	std::string head = ProgramRunner::Contents(largest).substr(0, 2);
	EXPECT_EQ(head, std::string("\x00\x42", 2));
	EXPECT_EQ(fRunner.Run({"--list", largest}).exitCode, 0);
}

// The bound is on each item: a resource file whose items each fit opens,
// however large the file; one item beyond the bound is named.
TEST_F(OpeningFilesTest, EachItemOfAResourceFileMustFitNotTheWholeFile)
{
	const uint64_t half = kLargestAt12 / 2 + 1000;
	ResourceFile resources;
	resources.SetItems({{'RAWT', 1, "first", std::string(half, 'a')},
	                    {'RAWT', 2, "second", std::string(half, 'b')}});
	std::string bytes;
	ASSERT_EQ(resources.Flatten(bytes), B_OK) << resources.ErrorMessage();
	ASSERT_GT(bytes.size(), kLargestAt12);
	const std::string path = fRunner.MakeFile("two.rsrc", bytes);
	ProgramResult listed = fRunner.Run({"--list", path});
	EXPECT_EQ(listed.exitCode, 0) << listed.errors;
	EXPECT_EQ(Lines(listed.output).size(), 2u) << listed.output;

	ProgramResult refused = fRunner.Run({"--list", "--font-size", "26", path});
	EXPECT_EQ(refused.exitCode, 2);
	EXPECT_NE(refused.errors.find("item of type RAWT, id 1 too large: " + std::to_string(half)),
	          std::string::npos)
	    << refused.errors;
	EXPECT_NE(refused.errors.find("at 26 px; --font-size 2"), std::string::npos) << refused.errors;
}

} // namespace
