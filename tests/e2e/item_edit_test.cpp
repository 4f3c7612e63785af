// reshost --add and --remove: random runs of them on resource files of both
// byte orders, executables with and without resources and a new path,
// checked after every step against an ordered list of items (the file read
// back, every other item unchanged, the executable's image in front
// unchanged); failing runs shrink to fewer steps. Bad requests give exit
// code 2 and one line and leave the file byte for byte as it was, with no
// temporary file beside it; save warnings are said, not asked.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <unistd.h>

#include "ProgramRunner.h"
#include "ResourceFile.h"

namespace fs = std::filesystem;

namespace {

const std::string kSamples = RESOURCE_SAMPLES_DIR;

// One request: --add with a TYPE:ID[:NAME] text and bytes (from a file or
// standard input), or --remove.
struct Request
{
	bool add;
	type_code type;
	int32 id;
	std::string reference; // TYPE:ID as the user writes it
	bool hasName;
	std::string name;
	std::string data;
	bool fromInput;
};

std::string Describe(const Request& request)
{
	return std::string(request.add ? "--add " : "--remove ") + request.reference +
	       (request.hasName ? ":" + request.name : "") +
	       (request.add ? " (" + std::to_string(request.data.size()) + " bytes" +
	                          (request.fromInput ? " on standard input)" : ")")
	                    : "");
}

// The model: what the file's items are after a request, and whether it
// succeeds (a removal of a missing item does not).
bool Apply(std::vector<ResourceFile::Item>& items, const Request& request)
{
	std::vector<ResourceFile::Item>::iterator found =
	    std::find_if(items.begin(), items.end(), [&](const ResourceFile::Item& item) {
		    return item.type == request.type && item.id == request.id;
	    });
	if (!request.add) {
		if (found == items.end())
			return false;
		items.erase(found);
	} else if (found == items.end())
		items.push_back({request.type, request.id, request.name, request.data});
	else {
		found->data = request.data;
		if (request.hasName)
			found->name = request.name;
	}
	return true;
}

std::string RandomText(std::mt19937& random, size_t maxLength, const std::string& alphabet)
{
	std::string text(random() % (maxLength + 1), ' ');
	for (char& c : text)
		c = alphabet[random() % alphabet.size()];
	return text;
}

// A request on the items the model holds: often one of them, so that
// replacing and removing happen as often as adding.
Request RandomRequest(std::mt19937& random, const std::vector<ResourceFile::Item>& items)
{
	Request request;
	request.add = random() % 3 != 0;
	if (!items.empty() && random() % 2 == 0) {
		const ResourceFile::Item& item = items[random() % items.size()];
		request.type = item.type;
		request.id = item.id;
	} else {
		const int32 ids[] = {1, 0, -1, 74, INT32_MIN, INT32_MAX};
		request.id = random() % 2 == 0 ? ids[random() % 6] : int32(random() % 50);
		request.type = random();
		if (random() % 2 == 0) {
			const std::string characters =
			    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz01:_ ";
			request.type = 0;
			for (int i = 0; i < 4; i++)
				request.type =
				    (request.type << 8) | uint8(characters[random() % characters.size()]);
		}
	}
	char hex[16];
	snprintf(hex, sizeof(hex), "0x%08x", unsigned(request.type));
	std::string characters;
	for (int shift = 24; shift >= 0; shift -= 8)
		characters += char((request.type >> shift) & 0xff);
	const bool printable = std::all_of(characters.begin(), characters.end(),
	                                   [](char c) { return c >= 0x20 && c < 0x7f; });
	request.reference = (printable && random() % 3 != 0 ? characters : std::string(hex)) + ":" +
	                    std::to_string(request.id);
	request.hasName = request.add && random() % 3 != 0;
	request.name = request.hasName ? RandomText(random, 24, "BEOS:APP_SIG name:with colons") : "";
	request.fromInput = random() % 2 == 0;
	if (request.add) {
		request.data =
		    RandomText(random, random() % 4 == 0 ? 0 : 400, std::string("\0\xff\x01xy", 5));
	}
	return request;
}

// Runs the requests on a fresh copy of original at path and checks each
// step against the model; the first fault found, or "".
std::string FirstFault(const ProgramRunner& runner, const std::string& original,
                       const std::string& path, const std::vector<Request>& requests)
{
	fs::remove(path);
	std::vector<ResourceFile::Item> model;
	std::string image;
	if (!original.empty()) {
		std::ofstream(path, std::ios::binary) << original;
		ResourceFile file;
		if (file.Parse(original.data(), original.size()) != B_OK)
			return "the original does not parse: " + file.ErrorMessage();
		model = file.Items();
		if (file.FileKind() == ResourceFile::kExecutableFile)
			image = file.LeadingBytes();
	}
	const std::string dataPath = runner.Folder() + "/data";
	for (size_t step = 0; step < requests.size(); step++) {
		const Request& request = requests[step];
		const std::string before = fs::exists(path) ? ProgramRunner::Contents(path) : "";
		const bool succeeds = Apply(model, request);
		std::vector<std::string> arguments;
		if (request.add) {
			std::ofstream(dataPath, std::ios::binary | std::ios::trunc) << request.data;
			arguments = {"--add", request.reference + (request.hasName ? ":" + request.name : ""),
			             request.fromInput ? "-" : dataPath, path};
		} else
			arguments = {"--remove", request.reference, path};
		const ProgramResult result =
		    runner.Run(arguments, request.add && request.fromInput ? request.data : "");
		const std::string where = "step " + std::to_string(step + 1) + " " + Describe(request);
		if (result.exitCode != (succeeds ? 0 : 2) || !result.output.empty())
			return where + ": exit code " + std::to_string(result.exitCode) + ", " + result.errors;
		if (!succeeds) {
			if (ProgramRunner::Contents(path) != before)
				return where + ": a refused request changed the file";
			continue;
		}
		// Write-protected copies of the samples are replaced, and say so.
		if (!result.errors.empty() && result.errors.find("saved anyway") == std::string::npos)
			return where + ": " + result.errors;
		const std::string after = ProgramRunner::Contents(path);
		ResourceFile file;
		if (file.Parse(after.data(), after.size()) != B_OK)
			return where + ": the file does not parse: " + file.ErrorMessage();
		if (file.Items() != model)
			return where + ": the items read back are not the model's " +
			       std::to_string(model.size());
		if (after.compare(0, image.size(), image) != 0)
			return where + ": the executable's image changed";
		if (request.add) {
			const ProgramResult extracted = runner.Run({"--extract", request.reference, path});
			if (extracted.output != request.data)
				return where + ": --extract gives other bytes: " + extracted.errors;
		}
	}
	return "";
}

// Drops steps one at a time while the run still fails.
std::vector<Request> Shrunk(const ProgramRunner& runner, const std::string& original,
                            const std::string& path, std::vector<Request> requests)
{
	for (size_t index = requests.size(); index-- > 0;) {
		std::vector<Request> fewer = requests;
		fewer.erase(fewer.begin() + long(index));
		if (!FirstFault(runner, original, path, fewer).empty())
			requests = fewer;
	}
	return requests;
}

std::string Flattened(ResourceFile::Kind kind, const std::vector<ResourceFile::Item>& items)
{
	ResourceFile file(kind);
	file.SetItems(items);
	std::string bytes;
	EXPECT_EQ(file.Flatten(bytes), B_OK) << file.ErrorMessage();
	return bytes;
}

// The folder's entries, to see that a refused save leaves nothing behind.
std::set<std::string> Entries(const std::string& folder)
{
	std::set<std::string> names;
	for (const fs::directory_entry& entry : fs::directory_iterator(folder))
		names.insert(entry.path().filename().string());
	return names;
}

} // namespace

TEST(ItemEditTest, RandomAddsAndRemovesMatchAnOrderedListOfItems)
{
	const std::string x86Path = kSamples + "/x86.rsrc";
	if (!std::ifstream(x86Path))
		GTEST_SKIP() << "no resource samples at " << kSamples;
	ProgramRunner runner;
	const std::string x86 = ProgramRunner::Contents(x86Path);
	ResourceFile x86File;
	ASSERT_EQ(x86File.Parse(x86.data(), x86.size()), B_OK);
	// An ELF with nothing after its image: the sample's image alone.
	ResourceFile elfFile;
	const std::string elf = ProgramRunner::Contents(kSamples + "/elf-no-res");
	ASSERT_EQ(elfFile.Parse(elf.data(), elf.size()), B_OK);

	const struct
	{
		std::string name;
		std::string bytes;
	} originals[] = {
	    {"x86.rsrc", x86},
	    {"ppc.rsrc", Flattened(ResourceFile::kPpcFile, x86File.Items())},
	    {"BMessengerTestApp1.rsrc", ProgramRunner::Contents(kSamples + "/BMessengerTestApp1.rsrc")},
	    {"elf", ProgramRunner::Contents(kSamples + "/elf")},
	    {"elf-image", elfFile.LeadingBytes()},
	    {"pef", ProgramRunner::Contents(kSamples + "/pef")},
	    {"pef-no-res", ProgramRunner::Contents(kSamples + "/pef-no-res")},
	    {"new.rsrc", ""},
	};
	std::mt19937 random(20261209);
	for (const auto& original : originals) {
		ResourceFile file;
		std::vector<ResourceFile::Item> items;
		if (!original.bytes.empty()) {
			ASSERT_EQ(file.Parse(original.bytes.data(), original.bytes.size()), B_OK)
			    << original.name;
			items = file.Items();
		}
		std::vector<Request> requests;
		for (int step = 0; step < 10; step++) {
			requests.push_back(RandomRequest(random, items));
			Apply(items, requests.back());
		}
		const std::string path = runner.Folder() + "/" + original.name;
		if (FirstFault(runner, original.bytes, path, requests).empty())
			continue;
		requests = Shrunk(runner, original.bytes, path, requests);
		std::string steps;
		for (const Request& request : requests)
			steps += "\n  " + Describe(request);
		ADD_FAILURE() << original.name << ": " << FirstFault(runner, original.bytes, path, requests)
		              << "\nshrunk to:" << steps;
	}
	// The new path became an x86 resource file.
	const std::string made = ProgramRunner::Contents(runner.Folder() + "/new.rsrc");
	EXPECT_TRUE(made.empty() || made.compare(0, 4, std::string("RS\0\0", 4)) == 0);
}

TEST(ItemEditTest, BadRequestsChangeNothing)
{
	const std::string x86Path = kSamples + "/x86.rsrc";
	if (!std::ifstream(x86Path))
		GTEST_SKIP() << "no resource samples at " << kSamples;
	ProgramRunner runner;
	const std::string folder = runner.Folder();
	const std::string x86 = ProgramRunner::Contents(x86Path);
	const std::string data = runner.MakeFile("data", "new bytes");
	const std::string file = folder + "/file";
	const std::string longName(256, 'n');
	const struct
	{
		std::string contents; // of file; "" for none
		std::vector<std::string> arguments;
		std::string message;
		long fileSizeLimit = 0;
	} cases[] = {
	    {x86, {"--remove", "CSTR:75", file}, "--remove CSTR:75: no such item in"},
	    {x86, {"--add", "CST:1", data, file}, "is 3 characters long"},
	    {x86, {"--add", "0x0000CSTR:1", data, file}, "where a hex digit belongs"},
	    {x86, {"--add", "CSTR:74", folder + "/missing", file}, "cannot open: No such file"},
	    {x86, {"--add", "CSTR:74", folder, file}, "is a directory"},
	    {x86, {"--add", "CSTR:74:" + longName, data, file}, "at most 255"},
	    {x86, {"--add", "CSTR:1:" + longName, data, file}, "at most 255"},
	    {x86, {"--remove", "CSTR:74:a string resource", file}, "without a name"},
	    {x86, {"--add", "CSTR:74"}, "needs the DATAFILE"},
	    {x86, {"--add", "CSTR:74", data}, "changes one FILE, not 0"},
	    {x86, {"--remove", "CSTR:74", file, file}, "changes one FILE, not 2"},
	    {x86, {"--add", "CSTR:74", data, "--remove", "CSTR:74", file}, "one item option"},
	    {x86, {"--remove", "CSTR:74", "--list", file}, "takes no other action"},
	    {x86, {"--add", "CSTR:1", data, file}, "cannot save", 1000},
	    {"raw bytes", {"--add", "CSTR:1", data, file}, "neither a resource file nor an executable"},
	    {"raw bytes", {"--remove", "RAWT:1", file}, "no resources to change"},
	    {x86.substr(0, 100), {"--add", "CSTR:1", data, file}, "damaged resource file"},
	    {"", {"--remove", "CSTR:74", file}, "cannot open: No such file"},
	};
	for (const auto& entry : cases) {
		fs::remove(file);
		if (!entry.contents.empty())
			runner.MakeFile("file", entry.contents);
		const std::set<std::string> before = Entries(folder);
		const ProgramResult result = runner.Run(entry.arguments, "", {}, entry.fileSizeLimit);
		EXPECT_EQ(result.exitCode, 2) << entry.message;
		EXPECT_EQ(Lines(result.errors).size(), 1u) << result.errors;
		EXPECT_NE(result.errors.find(entry.message), std::string::npos) << result.errors;
		EXPECT_EQ(result.output, "");
		EXPECT_EQ(Entries(folder), before) << entry.message;
		if (!entry.contents.empty()) {
			EXPECT_EQ(ProgramRunner::Contents(file), entry.contents) << entry.message;
		}
	}
}

TEST(ItemEditTest, SaveWarningsAreSaidNotAsked)
{
	const std::string x86Path = kSamples + "/x86.rsrc";
	if (!std::ifstream(x86Path))
		GTEST_SKIP() << "no resource samples at " << kSamples;
	ProgramRunner runner;
	const std::string x86 = ProgramRunner::Contents(x86Path);
	const std::string path = runner.MakeFile("file", x86);
	const std::string link = runner.Folder() + "/link";
	ASSERT_EQ(::link(path.c_str(), link.c_str()), 0);
	fs::permissions(path, fs::perms::owner_read);

	const ProgramResult result = runner.Run({"--add", "CSTR:74:BEOS:x", "-", path}, "new");
	EXPECT_EQ(result.exitCode, 0) << result.errors;
	EXPECT_NE(result.errors.find("saved anyway"), std::string::npos) << result.errors;
	EXPECT_NE(result.errors.find("hard links"), std::string::npos) << result.errors;
	EXPECT_NE(result.errors.find("write-protected"), std::string::npos) << result.errors;
	// The other name keeps the old bytes; this one has the item changed, in
	// its place, and its mode.
	EXPECT_EQ(ProgramRunner::Contents(link), x86);
	EXPECT_EQ(runner.Run({"--list", path}).output.substr(0, 27), "1 CSTR 74 \"BEOS:x\" 3\n2 LONG");
	EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read);
}
