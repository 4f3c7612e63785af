// Host windows as items come and go: the list follows every change in every
// window, a window whose item goes shows the one that takes its place (or
// none), and an executable without resources opens with no item and gets
// its first one.
#include <gtest/gtest.h>

#include <Autolock.h>
#include <ListItem.h>
#include <ListView.h>
#include <ResourceItem.h>

#include <PlatformTesting.h>

#include <string>
#include <vector>

#include "ExecutableFiles.h"
#include "HostWindowFixture.h"
#include "ItemListing.h"
#include "ProgramRunner.h"
#include "ResourceFile.h"

namespace {

class HostWindowItemsTest : public HostWindowFixture
{
protected:
	std::vector<std::string> Rows(HostWindow* window)
	{
		BAutolock lock(window);
		std::vector<std::string> rows;
		for (int32 row = 0; row < window->ItemList()->CountItems(); row++)
			rows.push_back(static_cast<BStringItem*>(window->ItemList()->ItemAt(row))->Text());
		return rows;
	}

	// The rows --list would print for the document as it is now.
	std::vector<std::string> ListedItems()
	{
		std::vector<std::string> rows;
		for (int32 index = 0; index < fDocument.CountItems(); index++)
			rows.push_back(ItemListing::Line(index + 1, *fDocument.Item(fDocument.ItemAt(index))));
		return rows;
	}

	// Every window has taken in the document's notices; each lists the
	// items as they are, and shows a live item.
	void ExpectWindowsFollow(const std::vector<HostWindow*>& windows, const char* after)
	{
		for (HostWindow* window : windows) {
			PlatformTesting::WaitUntilIdle(window);
			EXPECT_EQ(Rows(window), ListedItems()) << after;
			BAutolock lock(window);
			EXPECT_EQ(window->CurrentItem() >= 0, fDocument.CountItems() > 0) << after;
		}
	}

	HostWindow* OpenAt(int32 index)
	{
		std::string error;
		HostWindow* window = fWindows.Open(index, error);
		EXPECT_NE(window, nullptr) << error;
		if (window != NULL)
			PlatformTesting::WaitUntilIdle(window);
		return window;
	}

	void TearDown() override { fWindows.CloseAll(); }
};

} // namespace

TEST_F(HostWindowItemsTest, ARemovedItemGivesWayAndTwoWindowsStayInStep)
{
	PlatformTesting::UseTestFace();
	fDocument.AddItem('TEXT', 1, "one", "first", 5);
	fDocument.AddItem('TEXT', 2, "two", "second", 6);
	fDocument.AddItem('RAWT', 3, "three", "third!!", 7);
	ASSERT_NO_FATAL_FAILURE(LoadAddon());
	fWindows.SetProgramQuit([]() {});
	HostWindow* first = OpenAt(0);
	HostWindow* second = OpenAt(1);
	ASSERT_NE(first, nullptr);
	ASSERT_NE(second, nullptr);
	const std::vector<HostWindow*> windows = {first, second};
	const BResourceHandle two = fDocument.ItemAt(1);
	const BResourceHandle three = fDocument.ItemAt(2);

	// The second window's item goes: the one after it takes its place.
	ASSERT_EQ(fDocument.RemoveItems({two}), B_OK);
	ExpectWindowsFollow(windows, "remove");
	{
		BAutolock lock(second);
		EXPECT_TRUE(second->ShownItem() == three);
		EXPECT_EQ(second->CurrentItem(), 1);
	}
	EXPECT_EQ(Title(second).rfind("*three (item 2 of 2)", 0), 0u) << Title(second);
	EXPECT_NE(Status(second).find("\"three\", 7 bytes"), std::string::npos) << Status(second);

	// Info, add, undo and redo reach both lists.
	ASSERT_EQ(fDocument.SetItemInfo(three, 'TEXT', 9, "fresh"), B_OK);
	ExpectWindowsFollow(windows, "item info");
	EXPECT_NE(Title(second).find("fresh"), std::string::npos) << Title(second);
	BResourceHandle added;
	ASSERT_EQ(fDocument.InsertItem(0, 'TEXT', 4, "four", "4444", 4, &added), B_OK);
	ExpectWindowsFollow(windows, "add");
	{
		BAutolock lock(first);
		EXPECT_EQ(first->CurrentItem(), 1) << "the first window keeps its item as it moves down";
	}
	for (int32 step = 0; step < 3; step++) {
		ASSERT_EQ(fDocument.Undo(), B_OK);
		ExpectWindowsFollow(windows, "undo");
	}
	EXPECT_EQ(fDocument.CountItems(), 3);
	for (int32 step = 0; step < 3; step++) {
		ASSERT_EQ(fDocument.Redo(), B_OK);
		ExpectWindowsFollow(windows, "redo");
	}
	EXPECT_EQ(fDocument.CountItems(), 3);

	// Undo through the window shows the item the step brings back.
	ASSERT_EQ(fDocument.Undo(), B_OK);
	ASSERT_EQ(fDocument.Undo(), B_OK);
	ExpectWindowsFollow(windows, "undo twice");
	Key(second, "z", B_COMMAND_KEY);
	ExpectWindowsFollow(windows, "undo in the window");
	{
		BAutolock lock(second);
		EXPECT_TRUE(second->ShownItem() == two);
	}
	EXPECT_EQ(Title(second).rfind("two (item 2 of 3)", 0), 0u) << Title(second);
}

TEST_F(HostWindowItemsTest, AWindowOnADocumentWithoutItemsShowsNone)
{
	PlatformTesting::UseTestFace();
	fDocument.AddItem('TEXT', 1, "only", "bytes", 5);
	ASSERT_NO_FATAL_FAILURE(LoadAddon());
	fWindows.SetProgramQuit([]() {});
	HostWindow* window = OpenAt(0);
	ASSERT_NE(window, nullptr);
	const BResourceHandle only = fDocument.ItemAt(0);

	ASSERT_EQ(fDocument.RemoveItems({only}), B_OK);
	ExpectWindowsFollow({window}, "remove the last item");
	EXPECT_EQ(Title(window).rfind("*No items", 0), 0u) << Title(window);
	EXPECT_EQ(Status(window), "No items");
	{
		BAutolock lock(window);
		EXPECT_EQ(window->DumpView(), nullptr);
		EXPECT_EQ(window->ItemList()->CountItems(), 0);
	}
	// Typing reaches no editor, and changes nothing.
	Key(window, "1");
	EXPECT_EQ(fDocument.CountItems(), 0);

	ASSERT_EQ(fDocument.Undo(), B_OK);
	ExpectWindowsFollow({window}, "undo");
	{
		BAutolock lock(window);
		EXPECT_TRUE(window->ShownItem() == only);
		EXPECT_NE(window->DumpView(), nullptr);
	}
	Key(window, "4");
	Key(window, "1");
	EXPECT_EQ(std::string(static_cast<const char*>(fDocument.Item(only)->DataIO().Buffer()), 6),
	          "Abytes");
}

TEST_F(HostWindowItemsTest, AnExecutableWithoutResourcesOpensEmptyAndTakesItsFirstItem)
{
	PlatformTesting::UseTestFace();
	ProgramRunner runner;
	const ExecutableFiles::Elf elf{true, false, 3, {{1, 0, 300, 4}}, {}, 0};
	const std::string image = elf.Build(300);
	const std::string path = runner.MakeFile("program", image);
	DocumentFile file(path);
	ASSERT_EQ(file.Read(1 << 20), B_OK) << file.ErrorMessage();
	file.AddItemsTo(fDocument, 1);
	fFiles.push_back(std::move(file));
	ASSERT_NO_FATAL_FAILURE(LoadAddon());
	fWindows.SetProgramQuit([]() {});
	HostWindow* window = OpenAt(0);
	ASSERT_NE(window, nullptr);
	EXPECT_EQ(Title(window), "No items");
	// The status line names the file's kind; the window cuts its end.
	EXPECT_EQ(Status(window).rfind("No items - ELF64 shared library, no resources", 0), 0u)
	    << Status(window);
	{
		BAutolock lock(window);
		EXPECT_EQ(window->ItemList()->CountItems(), 0);
		EXPECT_EQ(window->DumpView(), nullptr);
	}

	BResourceHandle added;
	ASSERT_EQ(fDocument.InsertItem(0, 'TEXT', 1, "note", "hello", 5, &added), B_OK);
	ExpectWindowsFollow({window}, "add");
	{
		BAutolock lock(window);
		EXPECT_TRUE(window->ShownItem() == added);
		EXPECT_NE(window->DumpView(), nullptr);
	}
	// Wide enough for the file's kind after the item.
	{
		BAutolock lock(window);
		window->ResizeTo(1400, 400);
	}
	PlatformTesting::WaitUntilIdle(window);
	EXPECT_NE(Status(window).find("(ELF64 shared library, 1 resource after"), std::string::npos)
	    << Status(window);
	Key(window, "s", B_COMMAND_KEY);
	PlatformTesting::WaitUntilIdle(window);
	const std::string saved = ProgramRunner::Contents(path);
	ASSERT_GT(saved.size(), size_t(elf.ResourcesOffset()));
	EXPECT_EQ(saved.substr(0, image.size()), image);
	ResourceFile reread;
	ASSERT_EQ(reread.Parse(saved.data(), saved.size()), B_OK) << reread.ErrorMessage();
	ASSERT_EQ(reread.Items().size(), 1u);
	EXPECT_EQ(reread.Items()[0].name, "note");
	EXPECT_EQ(reread.Items()[0].data, "hello");
	EXPECT_EQ(reread.LeadingBytes().size(), size_t(elf.ResourcesOffset()));
}
