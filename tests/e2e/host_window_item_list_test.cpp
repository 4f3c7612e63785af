// The host window's item list: it lists the document as --list does, a
// click on a row shows that item in the editor, the host's next and
// previous commands move the selection with it, and edits change the size
// the list shows; undo and redo show the item they change first. The status
// line below names the item and the window's notices. The window runs on its own thread; the test
// posts input as the display does and waits until it is handled.

#include <gtest/gtest.h>

#include <ScrollBar.h>

#include "HostWindowFixture.h"

namespace {

class HostWindowItemListTest : public HostWindowFixture
{
protected:
	void SetUp() override
	{
		PlatformTesting::UseTestFace();
		fDocument.AddItem('CSTR', 74, "greeting", "hello", 5);
		fDocument.AddItem('LONG', 17, "number", "\x01\x02\x03\x04", 4);
		fDocument.AddItem(0x00010203, 9, "odd type", "", 0);
		ASSERT_NO_FATAL_FAILURE(LoadAddon());
		fWindow = Open();
		ASSERT_NE(fWindow, nullptr);
	}

	std::vector<std::string> ListLines()
	{
		BAutolock lock(fWindow);
		std::vector<std::string> lines;
		for (int32 i = 0; i < fWindow->ItemList()->CountItems(); i++)
			lines.push_back(static_cast<BStringItem*>(fWindow->ItemList()->ItemAt(i))->Text());
		return lines;
	}

	void ClickRow(int32 index, int32 clicks = 1)
	{
		BPoint where;
		{
			BAutolock lock(fWindow);
			BListView* list = fWindow->ItemList();
			where = list->ConvertToWindow(list->ItemFrame(index).LeftTop() + BPoint(5, 5));
		}
		PlatformTesting::PostAndWait(fWindow, PlatformTesting::MakeMouseDown(where, 1, 0, clicks));
		PlatformTesting::PostAndWait(fWindow, PlatformTesting::MakeMouseUp(where));
	}

	void Key(const char* bytes, int32 modifiers = 0)
	{
		HostWindowFixture::Key(fWindow, bytes, modifiers);
	}
	std::string Title() { return HostWindowFixture::Title(fWindow); }
	std::string Status() { return HostWindowFixture::Status(fWindow); }

	int32 Selected()
	{
		BAutolock lock(fWindow);
		return fWindow->ItemList()->CurrentSelection();
	}

	HostWindow* fWindow = NULL;
};

} // namespace

TEST_F(HostWindowItemListTest, ListsTheItemsBesideTheEditor)
{
	EXPECT_EQ(ListLines(),
	          (std::vector<std::string>{"1 CSTR 74 \"greeting\" 5", "2 LONG 17 \"number\" 4",
	                                    "3 0x00010203 9 \"odd type\" 0"}));
	EXPECT_EQ(Selected(), 0);
	BAutolock lock(fWindow);
	BRect editor = fWindow->DumpView()->Parent()->Parent()->Frame();
	BRect list = fWindow->ItemList()->Parent()->Frame();
	EXPECT_EQ(editor.left, 0);
	EXPECT_EQ(list.left, editor.right + 1);
	EXPECT_EQ(list.right, fWindow->Bounds().right);
}

TEST_F(HostWindowItemListTest, ClickingARowShowsItsItem)
{
	ClickRow(1);
	EXPECT_EQ(fWindow->CurrentItem(), 1);
	EXPECT_EQ(Title(), "number (item 2 of 3)");
	ClickRow(2);
	EXPECT_EQ(fWindow->CurrentItem(), 2);
	EXPECT_EQ(Selected(), 2);

	// The list has the keyboard now; a click into the dump gives it back.
	Key("7");
	EXPECT_EQ(ListLines()[2], "3 0x00010203 9 \"odd type\" 0");
	BPoint where;
	{
		BAutolock lock(fWindow);
		where = fWindow->DumpView()->ConvertToWindow(BPoint(100, 5));
	}
	PlatformTesting::PostAndWait(fWindow, PlatformTesting::MakeMouseDown(where));
	PlatformTesting::PostAndWait(fWindow, PlatformTesting::MakeMouseUp(where));
	Key("7");
	EXPECT_EQ(ListLines()[2], "3 0x00010203 9 \"odd type\" 1");
}

TEST_F(HostWindowItemListTest, DoubleClickOrEnterOnARowEditsIt)
{
	ClickRow(1);
	ClickRow(1, 2);
	Key("1");
	Key("2");
	EXPECT_EQ(ListLines()[1], "2 LONG 17 \"number\" 5");

	ClickRow(2);
	const char up[] = {B_UP_ARROW, '\0'};
	const char enter[] = {B_ENTER, '\0'};
	Key(up); // the list has the keyboard: back to row 2
	Key(enter);
	EXPECT_EQ(fWindow->CurrentItem(), 1);
	Key("3");
	Key("4");
	EXPECT_EQ(ListLines()[1], "2 LONG 17 \"number\" 6");
}

TEST_F(HostWindowItemListTest, NextAndPreviousMoveTheSelection)
{
	const char pageDown[] = {B_PAGE_DOWN, '\0'};
	const char pageUp[] = {B_PAGE_UP, '\0'};
	Key(pageDown, B_COMMAND_KEY);
	EXPECT_EQ(Selected(), 1);
	Key(pageUp, B_COMMAND_KEY);
	Key(pageUp, B_COMMAND_KEY); // round to the last
	EXPECT_EQ(Selected(), 2);
	EXPECT_EQ(fWindow->CurrentItem(), 2);
}

TEST_F(HostWindowItemListTest, EditsAndUndoChangeTheSizeShown)
{
	Key("4");
	Key("1"); // one byte, 0x41, typed into the first item
	EXPECT_EQ(ListLines()[0], "1 CSTR 74 \"greeting\" 6");
	Key("z", B_COMMAND_KEY);
	EXPECT_EQ(ListLines()[0], "1 CSTR 74 \"greeting\" 5");
}

TEST_F(HostWindowItemListTest, StatusLineNamesTheItemAndTheNotices)
{
	EXPECT_EQ(Status(), "Item 1 of 3: type CSTR, id 74, \"greeting\", 5 bytes");
	{
		// Below the editor and the list, across the window.
		BAutolock lock(fWindow);
		BRect status = fWindow->StatusLine()->Parent()->Frame();
		BRect list = fWindow->ItemList()->Parent()->Frame();
		EXPECT_GT(status.top, list.bottom);
		EXPECT_EQ(status.bottom, fWindow->Bounds().bottom);
		EXPECT_EQ(status.Width(), fWindow->Bounds().Width());
		EXPECT_GT(status.Height(), 10);
	}
	const char pageDown[] = {B_PAGE_DOWN, '\0'};
	Key(pageDown, B_COMMAND_KEY);
	Key("4");
	Key("1");
	EXPECT_EQ(Status(), "Item 2 of 3: type LONG, id 17, \"number\", 5 bytes");

	// The close button's warning names no key; Ctrl+Q's names Ctrl+Q.
	PlatformTesting::PostAndWait(fWindow, BMessage(B_QUIT_REQUESTED));
	EXPECT_EQ(Status(), "Unsaved changes: close again to quit without saving - Item 2 of 3: "
	                    "type LONG, id 17, \"number\", 5 bytes");
	Key("s", B_COMMAND_KEY);
	EXPECT_EQ(Status(), "The sample document has no files to save to - Item 2 of 3: type "
	                    "LONG, id 17, \"number\", 5 bytes");
	Key("q", B_COMMAND_KEY);
	EXPECT_EQ(Status(), "Unsaved changes: press Ctrl+Q again to quit - Item 2 of 3: type "
	                    "LONG, id 17, \"number\", 5 bytes");
}

TEST_F(HostWindowItemListTest, UndoAndRedoShowTheItemTheyChange)
{
	Key("4");
	Key("1");
	const char pageDown[] = {B_PAGE_DOWN, '\0'};
	Key(pageDown, B_COMMAND_KEY);
	Key(pageDown, B_COMMAND_KEY);
	EXPECT_EQ(Selected(), 2);

	Key("z", B_COMMAND_KEY);
	EXPECT_EQ(fWindow->CurrentItem(), 0);
	EXPECT_EQ(Selected(), 0);
	EXPECT_EQ(ListLines()[0], "1 CSTR 74 \"greeting\" 5");

	Key(pageDown, B_COMMAND_KEY);
	Key("z", B_COMMAND_KEY | B_SHIFT_KEY);
	EXPECT_EQ(fWindow->CurrentItem(), 0);
	EXPECT_EQ(Selected(), 0);
	EXPECT_EQ(ListLines()[0], "1 CSTR 74 \"greeting\" 6");
}

TEST_F(HostWindowItemListTest, OpensAtTheEditorsSizeAndKeepsTheScrollBarsUsable)
{
	BAutolock lock(fWindow);
	BView* editor = fWindow->DumpView();
	float width;
	float height;
	editor->Parent()->Parent()->GetPreferredSize(&width, &height);
	const BRect list = fWindow->ItemList()->Parent()->Frame();
	const BRect status = fWindow->StatusLine()->Parent()->Frame();
	EXPECT_EQ(fWindow->Bounds().Width(), width + list.Width() + 1);
	EXPECT_EQ(fWindow->Bounds().Height(), height + status.Height() + 1);

	// The smallest window still shows both scroll bars of the editor and
	// the list's whole, each with room for its arrows and a thumb.
	fWindow->ResizeTo(10, 10);
	const float room = 3 * B_V_SCROLL_BAR_WIDTH;
	BScrollBar* across = editor->ScrollBar(B_HORIZONTAL);
	BScrollBar* down = editor->ScrollBar(B_VERTICAL);
	ASSERT_NE(across, nullptr);
	ASSERT_NE(down, nullptr);
	EXPECT_GE(across->Frame().Width(), room);
	EXPECT_GE(down->Frame().Height(), room);
	EXPECT_GE(fWindow->ItemList()->ScrollBar(B_VERTICAL)->Frame().Height(), room);
	EXPECT_GT(fWindow->Bounds().Width(), fWindow->ItemList()->Parent()->Frame().Width());
	EXPECT_EQ(fWindow->StatusLine()->Parent()->Frame().bottom, fWindow->Bounds().bottom);
}
