// reshost with BeOS resource files and executables with resources appended:
// the items it lists and opens, saving in the file's own kind and byte
// order (an executable's image unchanged, and a program built here still
// runs), the first item chosen on the command line, the sample written as
// a resource file, damaged files refused before any window opens, and the
// kind of file named in the status line.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "ExecutableFiles.h"
#include "HostWindowFixture.h"
#include "ProgramRunner.h"
#include "ResourceFile.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> SplitLines(const std::string& text)
{
	std::vector<std::string> lines;
	for (size_t start = 0, end; start < text.size(); start = end + 1) {
		end = text.find('\n', start);
		if (end == std::string::npos)
			end = text.size();
		lines.push_back(text.substr(start, end - start));
	}
	return lines;
}

std::string Flatten(ResourceFile& file)
{
	std::string bytes;
	EXPECT_EQ(file.Flatten(bytes), B_OK) << file.ErrorMessage();
	return bytes;
}

ResourceFile Reread(const std::string& path)
{
	std::string bytes = ProgramRunner::Contents(path);
	ResourceFile file;
	EXPECT_EQ(file.Parse(bytes.data(), bytes.size()), B_OK) << file.ErrorMessage();
	return file;
}

std::vector<ResourceFile::Item> TwoItems()
{
	return {{'LONG', 7, "number", std::string("\x01\x02\x03\x04", 4)},
	        {'CSTR', -1, "text", std::string("text") + '\0'}};
}

class ResourceDocumentTest : public testing::Test
{
protected:
	std::string Sample(const std::string& name)
	{
		fs::path path = fs::path(RESOURCE_SAMPLES_DIR) / name;
		if (!fs::exists(path))
			return "";
		// A copy the test may save over.
		return fRunner.MakeFile(name, ProgramRunner::Contents(path.string()));
	}

	ProgramRunner fRunner;
};

} // namespace

TEST_F(ResourceDocumentTest, ListPrintsTheSamplesItems)
{
	struct
	{
		const char* name;
		const char* listing;
	} samples[] = {
	    {"x86.rsrc", "1 CSTR 74 \"a string resource\" 35\n"
	                 "2 LONG 17 \"just a resource\" 4\n"
	                 "3 MIMS 29 \"another resource\" 31\n"},
	    {"Inspector.rsrc", "1 APPF 1 \"BEOS:APP_FLAGS\" 4\n"
	                       "2 ICON 101 \"BEOS:L:STD_ICON\" 1024\n"
	                       "3 MICN 101 \"BEOS:M:STD_ICON\" 256\n"
	                       "4 MIMS 1 \"BEOS:APP_SIG\" 33\n"},
	    {"BMessengerTestApp1.rsrc", "1 MIMS 2 \"BEOS:TYPE\" 35\n"
	                                "2 MIMS 1 \"BEOS:APP_SIG\" 43\n"
	                                "3 APPV 1 \"BEOS:APP_VERSION\" 680\n"
	                                "4 APPF 1 \"BEOS:APP_FLAGS\" 4\n"},
	    {"elf", "1 CSTR 74 \"a string resource\" 35\n"
	            "2 LONG 17 \"just a resource\" 4\n"
	            "3 MIMS 29 \"another resource\" 31\n"
	            "4 MIMS 2 \"BEOS:TYPE\" 35\n"},
	    {"elf-no-res", "1 MIMS 2 \"BEOS:TYPE\" 35\n"},
	    {"pef", "1 CSTR 74 \"a string resource\" 35\n"
	            "2 LONG 17 \"just a resource\" 4\n"
	            "3 MIMS 29 \"another resource\" 31\n"},
	    {"pef-no-res", ""},
	};
	for (const auto& sample : samples) {
		std::string path = Sample(sample.name);
		if (path.empty())
			GTEST_SKIP() << "no sample " << sample.name << " in " << RESOURCE_SAMPLES_DIR;
		ProgramResult result = fRunner.Run({"--list", path});
		EXPECT_EQ(result.exitCode, 0) << result.errors;
		EXPECT_EQ(result.output, sample.listing);
		EXPECT_EQ(result.errors, "");
	}
}

TEST_F(ResourceDocumentTest, ListShowsOddTypesNamesAndRawFiles)
{
	ResourceFile file;
	file.SetItems({{0x01020304, 3, "say \"hi\"\x01", "ab"}, {'RAWT', 4, "", ""}});
	std::string resources = fRunner.MakeFile("odd.rsrc", Flatten(file));
	// "RS" with other bytes after it is no resource file: one raw item.
	std::string raw = fRunner.MakeFile("raw.bin", std::string("RS\x01\x00xyz", 7));
	ProgramResult result = fRunner.Run({"--list", resources, raw});
	EXPECT_EQ(result.exitCode, 0) << result.errors;
	EXPECT_EQ(result.output, "1 0x01020304 3 \"say \\\"hi\\\"\\x01\" 2\n"
	                         "2 RAWT 4 \"\" 0\n"
	                         "3 RAWT 2 \"raw.bin\" 7\n");
}

TEST_F(ResourceDocumentTest, EditedItemSavedInTheFilesOwnOrder)
{
	for (ResourceFile::Kind kind : {ResourceFile::kX86File, ResourceFile::kPpcFile}) {
		SCOPED_TRACE(kind);
		ResourceFile built(kind);
		built.SetItems(TwoItems());
		std::string bytes = Flatten(built);
		// An old writer's garbage in the PEF header's unused fields.
		if (kind == ResourceFile::kPpcFile)
			bytes.replace(8, 32, std::string(32, 'g'));
		std::string path = fRunner.MakeFile("two.rsrc", bytes);

		ProgramResult result =
		    fRunner.Run({"--script", "-", "--item", "2", path},
		                "title\npress hex 0\nrelease hex 0\ntype \"41\"\nsave\n");
		ASSERT_EQ(result.exitCode, 0) << result.errors;
		EXPECT_EQ(result.output, "text (item 2 of 2)\n");

		ResourceFile saved = Reread(path);
		EXPECT_EQ(saved.FileKind(), kind);
		EXPECT_EQ(saved.IsBigEndian(), kind == ResourceFile::kPpcFile);
		EXPECT_EQ(saved.LeadingBytes(), bytes.substr(0, saved.LeadingBytes().size()));
		std::vector<ResourceFile::Item> expected = TwoItems();
		expected[1].data.insert(0, "A");
		EXPECT_EQ(saved.Items(), expected);
	}
}

TEST_F(ResourceDocumentTest, SampleEditedAndEditedBackIsTheSameFile)
{
	std::string path = Sample("Inspector.rsrc");
	if (path.empty())
		GTEST_SKIP() << "no sample Inspector.rsrc in " << RESOURCE_SAMPLES_DIR;
	const std::string original = ProgramRunner::Contents(path);

	// A byte typed into the icon, saved; then deleted again, saved.
	ProgramResult typed =
	    fRunner.Run({"--script", "-", "--item", "2", path},
	                "press hex 16\nrelease hex 16\ntype \"7\"\ntype \"7\"\nsave\n");
	ASSERT_EQ(typed.exitCode, 0) << typed.errors;
	std::string changed = ProgramRunner::Contents(path);
	EXPECT_EQ(changed.size(), original.size() + 1);
	ResourceFile saved = Reread(path);
	ASSERT_EQ(saved.Items().size(), 4u);
	EXPECT_EQ(saved.Items()[1].data.size(), 1025u);
	EXPECT_EQ(saved.Items()[1].data[16], '\x77');

	ProgramResult deleted = fRunner.Run({"--script", "-", "--item", "2", path},
	                                    "press hex 16\nrelease hex 16\nkey Delete\nsave\n");
	ASSERT_EQ(deleted.exitCode, 0) << deleted.errors;
	EXPECT_EQ(ProgramRunner::Contents(path), original);
}

TEST_F(ResourceDocumentTest, FirstItemFromTheCommandLine)
{
	ResourceFile file;
	file.SetItems(TwoItems());
	std::string path = fRunner.MakeFile("two.rsrc", Flatten(file));
	ProgramResult shown = fRunner.Run({"--script", "-", "--item=1", path}, "title\nnext\ntitle\n");
	EXPECT_EQ(shown.exitCode, 0) << shown.errors;
	EXPECT_EQ(shown.output, "number (item 1 of 2)\ntext (item 2 of 2)\n");

	for (const char* item : {"0", "3", "x", "-1"}) {
		ProgramResult refused = fRunner.Run({"--item", item, path});
		EXPECT_EQ(refused.exitCode, 2) << item;
		EXPECT_EQ(SplitLines(refused.errors).size(), 1u) << refused.errors;
		EXPECT_NE(refused.errors.find("--item"), std::string::npos) << refused.errors;
	}
}

TEST_F(ResourceDocumentTest, DamagedFilesAreRefusedBeforeAnyWindowOpens)
{
	ResourceFile file;
	file.SetItems(TwoItems());
	const std::string bytes = Flatten(file);
	std::string badChecksum = bytes;
	badChecksum[badChecksum.size() - 8] ^= 1;
	struct
	{
		std::string contents;
		std::string message;
	} cases[] = {
	    {bytes.substr(0, 40), "resources header at offset 0x4: truncated"},
	    {bytes.substr(0, 0x7B0), "index entry 1 at offset 0xCC: data of 4 bytes"},
	    {bytes.substr(0, bytes.size() - 1), "info table at offset 0x7B"},
	    {badChecksum, "info table checksum at offset 0x"},
	    {ExecutableFiles::Elf{false, false, 3, {{1, 0, 400, 4}}, {}, 0}.Build(400).substr(0, 399),
	     "damaged executable: program header 0 at offset 0x34: segment of 400 bytes"},
	    {ExecutableFiles::Elf{true, false, 3, {{1, 0, 400, 4}}, {}, 0}.Build(400) + "RS",
	     "damaged executable: resources header at offset 0x190: truncated"},
	};
	for (const auto& entry : cases) {
		std::string path = fRunner.MakeFile("bad.rsrc", entry.contents);
		ProgramResult result = fRunner.Run({"--headless", path});
		EXPECT_EQ(result.exitCode, 2) << entry.message;
		ASSERT_EQ(SplitLines(result.errors).size(), 1u) << result.errors;
		EXPECT_EQ(result.errors.rfind("reshost: ", 0), 0u) << result.errors;
		EXPECT_NE(result.errors.find(entry.message), std::string::npos) << result.errors;
		EXPECT_EQ(result.output, "") << "nothing may run: " << result.output;
	}
}

TEST_F(ResourceDocumentTest, FilesWithoutItemsOpenAWindowWithNoItem)
{
	ResourceFile empty;
	for (const std::string& contents : {Flatten(empty), ExecutableFiles::Pef{{{40, 10}}}.Build()}) {
		const std::string path = fRunner.MakeFile("empty.rsrc", contents);
		ProgramResult listed = fRunner.Run({"--list", path});
		EXPECT_EQ(listed.exitCode, 0) << listed.errors;
		EXPECT_EQ(listed.output, "");
		ProgramResult opened =
		    fRunner.Run({"--headless", "--snapshot", fRunner.Folder() + "/empty.png", path});
		EXPECT_EQ(opened.exitCode, 0) << opened.errors;
		EXPECT_EQ(opened.errors, "");
	}
}

TEST_F(ResourceDocumentTest, SampleWrittenAsAResourceFile)
{
	std::string path = fRunner.Folder() + "/sample.rsrc";
	ProgramResult written = fRunner.Run({"--write-sample", path});
	ASSERT_EQ(written.exitCode, 0) << written.errors;
	ResourceFile sample = Reread(path);
	EXPECT_EQ(sample.FileKind(), ResourceFile::kX86File);
	ASSERT_EQ(sample.Items().size(), 5u);

	// The file lists as the built-in document does.
	ProgramResult fromFile = fRunner.Run({"--list", path});
	ProgramResult builtIn = fRunner.Run({"--list"});
	EXPECT_EQ(fromFile.output, builtIn.output);
	EXPECT_EQ(SplitLines(builtIn.output)[0], "1 CSTR 1 \"greeting\" 125");
	EXPECT_EQ(SplitLines(builtIn.output)[2], "3 LONG 1 \"answer\" 4");
}

TEST_F(ResourceDocumentTest, EditedExecutablesKeepTheirImage)
{
	for (const auto& [name, image] : {std::make_pair("elf", 4096u), std::make_pair("pef", 1450u)}) {
		SCOPED_TRACE(name);
		std::string path = Sample(name);
		if (path.empty())
			GTEST_SKIP() << "no sample " << name << " in " << RESOURCE_SAMPLES_DIR;
		const std::string original = ProgramRunner::Contents(path);
		std::vector<ResourceFile::Item> expected = Reread(path).Items();

		// Two bytes typed into the LONG, 42 in the file's byte order.
		ProgramResult result = fRunner.Run({"--script", "-", "--item", "2", path},
		                                   "press hex 0\nrelease hex 0\ntype \"ab\"\nsave\n");
		ASSERT_EQ(result.exitCode, 0) << result.errors;
		const std::string saved = ProgramRunner::Contents(path);
		EXPECT_EQ(saved.substr(0, image), original.substr(0, image));
		ResourceFile reread = Reread(path);
		EXPECT_EQ(reread.FileKind(), ResourceFile::kExecutableFile);
		EXPECT_EQ(reread.LeadingBytes().size(), image);
		expected[1].data.insert(0, "\xAB");
		EXPECT_EQ(reread.Items(), expected);
		EXPECT_EQ(saved.size(), original.size() + 1);
	}
}

TEST_F(ResourceDocumentTest, ProgramWithEditedResourcesStillRuns)
{
	// A program built here, with resources at its 8-aligned image end.
	const std::string source = fRunner.MakeFile("program.c", "#include <stdio.h>\n"
	                                                         "int main(void)\n"
	                                                         "{\n"
	                                                         "\tputs(\"still runs\");\n"
	                                                         "\treturn 7;\n"
	                                                         "}\n");
	const std::string program = fRunner.Folder() + "/program";
	if (std::system(("cc -o '" + program + "' '" + source + "' 2>/dev/null").c_str()) != 0)
		GTEST_SKIP() << "no C compiler (cc) to build a program with";
	auto run = [&program](std::string& output) {
		FILE* pipe = popen(("'" + program + "'").c_str(), "r");
		if (pipe == NULL)
			return -1;
		char buffer[256];
		output.clear();
		for (size_t read; (read = fread(buffer, 1, sizeof(buffer), pipe)) > 0;)
			output.append(buffer, read);
		int status = pclose(pipe);
		return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
	};
	std::string output;
	if (run(output) != 7)
		GTEST_SKIP() << "programs cannot run from " << fRunner.Folder();
	std::string image = ProgramRunner::Contents(program);
	if (image.compare(0, 6,
	                  "\x7f"
	                  "ELF\x02\x01") != 0)
		GTEST_SKIP() << "the compiler does not build little-endian ELF64 programs";
	const size_t built = image.size();
	image.resize((built + 7) / 8 * 8, '\0');
	ResourceFile resources;
	resources.SetItems(TwoItems());
	std::ofstream(program, std::ios::binary | std::ios::app)
	    << image.substr(built) << Flatten(resources).substr(4);
	ASSERT_EQ(run(output), 7) << "with resources appended";

	ProgramResult result = fRunner.Run({"--script", "-", "--item", "2", program},
	                                   "press hex 0\nrelease hex 0\ntype \"41\"\nsave\n");
	ASSERT_EQ(result.exitCode, 0) << result.errors;
	ResourceFile saved = Reread(program);
	EXPECT_EQ(saved.LeadingBytes(), image);
	std::vector<ResourceFile::Item> expected = TwoItems();
	expected[1].data.insert(0, "A");
	EXPECT_EQ(saved.Items(), expected);
	EXPECT_EQ(run(output), 7);
	EXPECT_EQ(output, "still runs\n");
}

namespace {

class ResourceDocumentWindowTest : public HostWindowFixture
{
protected:
	void OpenFile(const std::string& name, const std::string& contents)
	{
		DocumentFile file(fRunner.MakeFile(name, contents));
		ASSERT_EQ(file.Read(1 << 20), B_OK) << file.ErrorMessage();
		file.AddItemsTo(fDocument, int32(fFiles.size() + 1));
		fFiles.push_back(std::move(file));
	}

	ProgramRunner fRunner;
};

} // namespace

TEST_F(ResourceDocumentWindowTest, StatusLineNamesTheKindOfFile)
{
	PlatformTesting::UseTestFace();
	ResourceFile resources;
	resources.SetItems(TwoItems());
	const std::string container = Flatten(resources).substr(4);
	ExecutableFiles::Elf elf;
	elf.is64 = true;
	elf.type = 2; // ET_EXEC
	elf.segments = {{1, 0, 35664, 0x200000}};
	ASSERT_NO_FATAL_FAILURE(OpenFile("program", elf.Build(35664) + container));
	ASSERT_NO_FATAL_FAILURE(OpenFile("two.rsrc", Flatten(resources)));
	ASSERT_NO_FATAL_FAILURE(OpenFile("raw.bin", "raw"));
	ASSERT_NO_FATAL_FAILURE(LoadAddon());
	HostWindow* window = Open();
	ASSERT_NE(window, nullptr);
	// Wide enough for the whole status line: a narrower one cuts the path.
	{
		BAutolock lock(window);
		window->ResizeTo(1600, window->Bounds().Height());
	}
	PlatformTesting::WaitUntilIdle(window);

	const char kPageDown[] = {B_PAGE_DOWN, '\0'};
	const std::string kinds[] = {
	    "(ELF64 executable, 2 resources after an image of 35,664 bytes)",
	    "(ELF64 executable, 2 resources after an image of 35,664 bytes)",
	    "(x86 resource file, 2 resources)",
	    "(x86 resource file, 2 resources)",
	    "(no resource file: the file's bytes as one item)",
	};
	for (int32 item = 0; item < 5; item++) {
		SCOPED_TRACE(item);
		const std::string status = Status(window);
		EXPECT_EQ(status.rfind("Item " + std::to_string(item + 1) + " of 5: ", 0), 0u) << status;
		EXPECT_NE(status.find(kinds[item]), std::string::npos) << status;
		Key(window, kPageDown, B_COMMAND_KEY);
	}
}
