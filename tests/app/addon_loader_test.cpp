// The add-on loader: loading images as the host does, its error reports, and
// the choice of the add-on with the best quality for an item.
#include <gtest/gtest.h>

#include <Errors.h>
#include <FullItemEditor.h>
#include <ResourceAddon.h>
#include <View.h>

#include <stdlib.h>

#include <memory>
#include <string>

#include "AddonLoader.h"
#include "Document.h"

namespace {

const char* HexDumpImage()
{
	const char* path = getenv("HEXDUMP_ADDON_PATH");
	return path != NULL ? path : "";
}

} // namespace

TEST(AddonLoaderTest, LoadsTheHexDumpImageAndItsOneAddon)
{
	AddonLoader loader;
	ASSERT_EQ(loader.Load(HexDumpImage()), B_OK) << loader.ErrorMessage();
	EXPECT_STREQ(loader.ErrorMessage(), "");
	ASSERT_EQ(loader.CountAddons(), 1);
	EXPECT_FLOAT_EQ(loader.AddonAt(0)->PreciseQuality(NULL), 0.01f);
	EXPECT_EQ(loader.AddonAt(1), nullptr);
	EXPECT_EQ(loader.AddonAt(-1), nullptr);

	Document document;
	BResourceHandle item = document.AddItem('RAWT', 1, "bytes", "\x01\x02", 2);
	std::unique_ptr<BFullItemEditor> editor(loader.MakeEditorFor(document, item));
	ASSERT_NE(editor, nullptr) << loader.ErrorMessage();
	ASSERT_NE(editor->View(), nullptr);
	EXPECT_STREQ(editor->View()->Name(), "HexEditor");
	EXPECT_TRUE(editor->PrimaryItem() == item);
}

TEST(AddonLoaderTest, ReportsImagesThatCannotServe)
{
	AddonLoader loader;
	EXPECT_EQ(loader.Load("/nonexistent/Missing.so"), B_ENTRY_NOT_FOUND);
	std::string message = loader.ErrorMessage();
	EXPECT_NE(message.find("/nonexistent/Missing.so"), std::string::npos) << message;
	// The loader's own reason is passed on.
	EXPECT_NE(message.find("No such file"), std::string::npos) << message;

	EXPECT_EQ(loader.Load(HOSTKIT_PATH), B_NAME_NOT_FOUND);
	message = loader.ErrorMessage();
	EXPECT_NE(message.find("no make_nth_tessary entry"), std::string::npos) << message;

	EXPECT_EQ(loader.Load(NO_ADDONS_PATH), B_ERROR);
	message = loader.ErrorMessage();
	EXPECT_NE(message.find("offers no add-on"), std::string::npos) << message;

	EXPECT_EQ(loader.Load(NULL), B_BAD_VALUE);
	EXPECT_STRNE(loader.ErrorMessage(), "");
	EXPECT_EQ(loader.CountAddons(), 0);

	// A failure keeps nothing and spoils no later load.
	EXPECT_EQ(loader.Load(HexDumpImage()), B_OK);
	EXPECT_EQ(loader.CountAddons(), 1);
}

TEST(AddonLoaderTest, TheAddonWithTheBestQualityBuildsTheEditor)
{
	AddonLoader loader;
	ASSERT_EQ(loader.Load(HexDumpImage()), B_OK) << loader.ErrorMessage();
	ASSERT_EQ(loader.Load(QUALITY_ADDONS_PATH), B_OK) << loader.ErrorMessage();
	ASSERT_EQ(loader.CountAddons(), 3);

	Document document;
	BResourceHandle text = document.AddItem('TEXT', 1, "text", "hello", 5);
	BResourceHandle raw = document.AddItem('RAWT', 2, "raw", "\xff", 1);

	// 'TEXT': the test image's 0.5 beats the hex dump's 0.01; its editors
	// have no view.
	EXPECT_EQ(loader.BestAddonFor(document, text), loader.AddonAt(1));
	std::unique_ptr<BFullItemEditor> textEditor(loader.MakeEditorFor(document, text));
	ASSERT_NE(textEditor, nullptr);
	EXPECT_EQ(textEditor->View(), nullptr);

	// Anything else: the hex dump's 0.01 beats 0.005.
	EXPECT_EQ(loader.BestAddonFor(document, raw), loader.AddonAt(0));
	std::unique_ptr<BFullItemEditor> rawEditor(loader.MakeEditorFor(document, raw));
	ASSERT_NE(rawEditor, nullptr);
	ASSERT_NE(rawEditor->View(), nullptr);
	EXPECT_STREQ(rawEditor->View()->Name(), "HexEditor");

	EXPECT_EQ(loader.MakeEditorFor(document, BResourceHandle()), nullptr);
	EXPECT_STRNE(loader.ErrorMessage(), "");
}

TEST(AddonLoaderTest, NoAddonTakesAnItemWithoutAnyImage)
{
	AddonLoader loader;
	Document document;
	BResourceHandle item = document.AddItem('RAWT', 1, "raw", "a", 1);
	EXPECT_EQ(loader.BestAddonFor(document, item), nullptr);
	EXPECT_EQ(loader.MakeEditorFor(document, item), nullptr);
	EXPECT_NE(std::string(loader.ErrorMessage()).find("no add-on"), std::string::npos);
}
