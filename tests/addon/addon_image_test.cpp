// The add-on image as the host sees it: its one export, the entry's answers
// and the add-on's qualities and editors.
#include <gtest/gtest.h>

#include <FullItemEditor.h>
#include <MiniItemEditor.h>
#include <ResourceAddon.h>
#include <ResourceItem.h>
#include <View.h>

#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>

#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "Document.h"
#include "HexDumpAddon.h"

namespace {

const char* ImagePath()
{
	const char* path = getenv("HEXDUMP_ADDON_PATH");
	return path != NULL ? path : "";
}

// Opens the image as the host does and finds its entry.
class AddonImageTest : public testing::Test
{
protected:
	void SetUp() override
	{
		fImage = dlopen(ImagePath(), RTLD_NOW | RTLD_LOCAL);
		ASSERT_NE(fImage, nullptr) << dlerror();
		fEntry = reinterpret_cast<make_nth_tessary_func>(dlsym(fImage, "make_nth_tessary"));
		ASSERT_NE(fEntry, nullptr) << dlerror();
	}

	void TearDown() override
	{
		if (fImage != NULL)
			dlclose(fImage);
	}

	void* fImage = NULL;
	make_nth_tessary_func fEntry = NULL;
	Document fDocument;
};

// Symbols the linker itself defines in every shared object.
bool IsLinkerSymbol(const std::string& name)
{
	static const std::set<std::string> kLinkerSymbols = {"_init", "_fini", "__bss_start", "_edata",
	                                                     "_end"};
	return kLinkerSymbols.count(name) > 0;
}

class HigherQualityAddon : public HexDumpAddon
{
public:
	explicit HigherQualityAddon(const BResourceAddonArgs& args) : HexDumpAddon(args) {}
	virtual float QuickQuality(const BResourceItem*) const { return 0.75f; }
};

} // namespace

TEST_F(AddonImageTest, ExportsOnlyItsEntry)
{
	const std::string command = std::string("nm -D --defined-only '") + ImagePath() + "'";
	FILE* pipe = popen(command.c_str(), "r");
	ASSERT_NE(pipe, nullptr);
	std::string output;
	char buffer[4096];
	size_t got;
	while ((got = fread(buffer, 1, sizeof(buffer), pipe)) > 0)
		output.append(buffer, got);
	ASSERT_EQ(pclose(pipe), 0) << output;

	std::set<std::string> exported;
	std::istringstream lines(output);
	std::string line;
	while (std::getline(lines, line)) {
		// "address type name"
		std::istringstream fields(line);
		std::string address, type, name;
		if (fields >> address >> type >> name && !IsLinkerSymbol(name))
			exported.insert(name);
	}
	EXPECT_EQ(exported, std::set<std::string>{"make_nth_tessary"}) << output;
}

TEST_F(AddonImageTest, EntryOffersOneAddonAtIndexZeroOnly)
{
	BResourceAddonArgs args = fDocument.AddonArgs();
	std::unique_ptr<BResourceAddon> first(fEntry(0, 1, args));
	std::unique_ptr<BResourceAddon> second(fEntry(0, 1, args));
	ASSERT_NE(first, nullptr);
	ASSERT_NE(second, nullptr);
	EXPECT_NE(first.get(), second.get());
	EXPECT_EQ(fEntry(1, 1, args), nullptr);
	EXPECT_EQ(fEntry(-1, 1, args), nullptr);
	EXPECT_EQ(fEntry(2, 1, args), nullptr);
}

TEST_F(AddonImageTest, QualityIsLowForEveryItemWhateverItsType)
{
	std::unique_ptr<BResourceAddon> addon(fEntry(0, 1, fDocument.AddonArgs()));
	ASSERT_NE(addon, nullptr);
	BResourceHandle empty = fDocument.AddItem('RAWT', 1, "empty", NULL, 0);
	BResourceHandle text = fDocument.AddItem('TEXT', 2, "text", "hello", 5);
	BResourceHandle odd = fDocument.AddItem(0xffffffff, -7, "odd", "\0", 1);
	const BResourceItem* items[] = {NULL, fDocument.Item(empty), fDocument.Item(text),
	                                fDocument.Item(odd)};
	for (const BResourceItem* item : items) {
		EXPECT_EQ(addon->QuickQuality(item), 0.01f);
		EXPECT_EQ(addon->PreciseQuality(item), 0.01f);
	}
}

TEST_F(AddonImageTest, PreciseQualityAsksQuickQualityThroughTheVirtualTable)
{
	HigherQualityAddon addon(fDocument.AddonArgs());
	const BResourceAddon& asHost = addon;
	EXPECT_EQ(asHost.QuickQuality(NULL), 0.75f);
	EXPECT_EQ(asHost.PreciseQuality(NULL), 0.75f);
}

TEST_F(AddonImageTest, BuildsFullEditorsAndNoMiniEditor)
{
	std::unique_ptr<BResourceAddon> addon(fEntry(0, 1, fDocument.AddonArgs()));
	ASSERT_NE(addon, nullptr);
	BResourceHandle empty = fDocument.AddItem('RAWT', 1, "empty", NULL, 0);
	BResourceHandle bytes = fDocument.AddItem('RAWT', 2, "bytes", "ab", 2);

	EXPECT_EQ(addon->MakeMiniEditor(fDocument.AddonArgs(), empty, NULL), nullptr);
	EXPECT_EQ(addon->MakeMiniEditor(fDocument.AddonArgs(), bytes, NULL), nullptr);

	// Every call makes an editor of its own for the item it names.
	std::unique_ptr<BFullItemEditor> first(
	    addon->MakeFullEditor(fDocument.AddonArgs(), empty, NULL));
	std::unique_ptr<BFullItemEditor> second(
	    addon->MakeFullEditor(fDocument.AddonArgs(), bytes, NULL));
	std::unique_ptr<BFullItemEditor> third(
	    addon->MakeFullEditor(fDocument.AddonArgs(), bytes, NULL));
	ASSERT_NE(first, nullptr);
	ASSERT_NE(second, nullptr);
	ASSERT_NE(third, nullptr);
	EXPECT_NE(second.get(), third.get());
	EXPECT_TRUE(first->PrimaryItem() == empty);
	EXPECT_TRUE(second->PrimaryItem() == bytes);
	ASSERT_NE(first->View(), nullptr);
	EXPECT_STREQ(first->View()->Name(), "HexEditor");
	// The add-on keeps no list: editors outlive it.
	addon.reset();
	EXPECT_STREQ(second->View()->Name(), "HexEditor");
}
