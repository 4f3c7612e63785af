// reshost --extract TYPE:ID: every item of the given resource files and
// executables, in both byte orders, comes out on standard output byte for
// byte as stored, large items and NUL bytes included, and nothing else;
// bad requests, unreadable files and a standard output that cannot take the
// bytes give exit code 2 and one line on standard error.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "ItemListing.h"
#include "ProgramRunner.h"
#include "ResourceFile.h"

namespace {

const std::string kSamples = RESOURCE_SAMPLES_DIR;

std::vector<ResourceFile::Item> ItemsOf(const std::string& bytes)
{
	ResourceFile file;
	EXPECT_EQ(file.Parse(bytes.data(), bytes.size()), B_OK) << file.ErrorMessage();
	return file.Items();
}

std::string Named(const ResourceFile::Item& item)
{
	return ItemListing::TypeText(item.type) + ":" + std::to_string(item.id);
}

// Extracts every item of the file (the first of any two with one type and
// id) and checks it against the reader's bytes and --list's size; returns
// how many were extracted.
size_t ExtractEveryItem(const ProgramRunner& runner, const std::string& path)
{
	const std::vector<ResourceFile::Item> items = ItemsOf(ProgramRunner::Contents(path));
	const std::vector<std::string> listing = Lines(runner.Run({"--list", path}).output);
	EXPECT_EQ(listing.size(), items.size()) << path;
	std::set<std::pair<type_code, int32>> seen;
	for (size_t index = 0; index < items.size(); index++) {
		const ResourceFile::Item& item = items[index];
		if (!seen.insert({item.type, item.id}).second)
			continue;
		const ProgramResult result = runner.Run({"--extract", Named(item), path});
		EXPECT_EQ(result.exitCode, 0) << path << " " << Named(item) << ": " << result.errors;
		EXPECT_EQ(result.errors, "") << path << " " << Named(item);
		EXPECT_TRUE(result.output == item.data)
		    << path << " " << Named(item) << ": " << result.output.size() << " bytes, not the "
		    << item.data.size() << " stored";
		if (index < listing.size()) {
			const std::string& line = listing[index];
			EXPECT_EQ(line.substr(line.rfind(' ') + 1), std::to_string(result.output.size()))
			    << line;
		}
	}
	return seen.size();
}

} // namespace

TEST(ItemExtractTest, EveryItemOfTheGivenFilesComesOutAsStored)
{
	const std::string x86 = kSamples + "/x86.rsrc";
	if (!std::ifstream(x86))
		GTEST_SKIP() << "no resource samples at " << kSamples;
	ProgramRunner runner;
	// The x86 file's items again in a PPC resource file, whose structures
	// are big-endian.
	ResourceFile ppc(ResourceFile::kPpcFile);
	ppc.SetItems(ItemsOf(ProgramRunner::Contents(x86)));
	std::string ppcBytes;
	ASSERT_EQ(ppc.Flatten(ppcBytes), B_OK) << ppc.ErrorMessage();
	const std::string ppcPath = runner.MakeFile("ppc.rsrc", ppcBytes);

	for (const std::string& path :
	     {x86, kSamples + "/BMessengerTestApp1.rsrc", kSamples + "/Inspector.rsrc",
	      kSamples + "/elf", kSamples + "/pef", ppcPath})
		EXPECT_GT(ExtractEveryItem(runner, path), 0u) << path;

	// Read without the reader: the LONG's four bytes sit at 0x7D3 in the
	// x86 file.
	const std::string bytes = ProgramRunner::Contents(x86);
	ASSERT_GT(bytes.size(), 0x7D3u + 4);
	EXPECT_EQ(runner.Run({"--extract", "LONG:17", x86}).output, bytes.substr(0x7D3, 4));
}

TEST(ItemExtractTest, LargeItemsNulBytesAndOddTypesAndNames)
{
	ProgramRunner runner;
	std::mt19937 generator(20261209);
	std::string large(3 << 20, '\0');
	for (size_t at = 0; at < large.size(); at += 3)
		large[at] = char(generator() & 0xff);
	ResourceFile file(ResourceFile::kX86File);
	file.SetItems({{'RAWT', 1, "large", large},
	               {'MIMS', 1, "BEOS:APP_SIG", std::string("application/x-vnd.test\0", 23)},
	               {'a:bc', -7, "a type with a colon", std::string("\0:\0", 3)},
	               {0x00000001, INT32_MIN, "a type in hex", "\x01\x02"},
	               {'CSTR', INT32_MAX, "", ""}});
	std::string bytes;
	ASSERT_EQ(file.Flatten(bytes), B_OK) << file.ErrorMessage();
	const std::string path = runner.MakeFile("odd.rsrc", bytes);
	EXPECT_EQ(ExtractEveryItem(runner, path), 5u);

	// Any other file is one raw item, numbered by its place on the line.
	const std::string raw = runner.MakeFile("raw.bin", large.substr(0, 100000));
	const ProgramResult rawResult = runner.Run({"--extract", "RAWT:1", raw});
	EXPECT_EQ(rawResult.exitCode, 0) << rawResult.errors;
	EXPECT_TRUE(rawResult.output == large.substr(0, 100000));
}

TEST(ItemExtractTest, BadRequestsGiveExitTwoAndOneLine)
{
	const std::string x86 = kSamples + "/x86.rsrc";
	if (!std::ifstream(x86))
		GTEST_SKIP() << "no resource samples at " << kSamples;
	ProgramRunner runner;
	const std::string folder = runner.Folder();
	const struct
	{
		std::vector<std::string> arguments;
		std::string message;
	} cases[] = {
	    {{"--extract", "CSTR:75", x86}, "no item CSTR:75 in the document"},
	    {{"--extract", "MIMS:1", kSamples + "/elf-no-res"}, "no item MIMS:1"},
	    {{"--extract", ":74", x86}, "the type is empty"},
	    {{"--extract", "CST:74", x86}, "the type \"CST\" is 3 characters long"},
	    {{"--extract", "0x0000CSTR:74", x86}, "has \"S\" where a hex digit belongs"},
	    {{"--extract", "CSTR:74x", x86}, "the id \"74x\" has \"x\" after its number"},
	    {{"--extract", "CSTR:2147483648", x86}, "is not an int32"},
	    {{"--extract", "CSTR:", x86}, "the id is empty"},
	    {{"--extract", "CSTR:74:a string resource", x86}, "takes TYPE:ID, without a name"},
	    {{"--describe", "CSTR:+74", x86}, "the id \"+74\" is not a decimal number"},
	    {{"--icon", "CSTR", folder + "/x.png", x86}, "no :ID after the type"},
	    {{"--extract"}, "--extract needs a value"},
	    {{"--extract", "CSTR:74", folder + "/new.rsrc"}, "cannot open: No such file"},
	    {{"--extract", "CSTR:74", folder}, "is a directory"},
	};
	for (const auto& entry : cases) {
		const ProgramResult result = runner.Run(entry.arguments);
		EXPECT_EQ(result.exitCode, 2) << entry.message;
		EXPECT_EQ(Lines(result.errors).size(), 1u) << result.errors;
		EXPECT_EQ(result.errors.rfind("reshost: ", 0), 0u) << result.errors;
		EXPECT_NE(result.errors.find(entry.message), std::string::npos) << result.errors;
		EXPECT_EQ(result.output, "");
	}

	// A standard output that cannot take the bytes: a full device, or none.
	for (const std::string& output : {std::string("/dev/full"), std::string()}) {
		const ProgramResult result = runner.RunWithOutput({"--extract", "CSTR:74", x86}, output);
		EXPECT_EQ(result.exitCode, 2) << output;
		EXPECT_EQ(Lines(result.errors).size(), 1u) << result.errors;
		EXPECT_NE(result.errors.find("cannot write to standard output"), std::string::npos)
		    << result.errors;
	}
}
