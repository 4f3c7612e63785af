// The host window's item list: it lists the document as --list does, a
// click on a row shows that item in the editor, the host's next and
// previous commands move the selection with it, and edits change the size
// the list shows; undo and redo show the item they change first; rows too
// long for the list lose the end of their names. The status line below
// gives the window's notices and names the item. The window runs on its own
// thread; the test posts input as the display does and waits until it is
// handled.

#include <gtest/gtest.h>

#include <ResourceItem.h>
#include <ScrollBar.h>

#include <random>

#include "HexDumpLayout.h"
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
	{
		// Wide enough for a notice and the whole description.
		BAutolock lock(fWindow);
		fWindow->ResizeTo(1000, fWindow->Bounds().Height());
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

TEST_F(HostWindowItemListTest, AClickIntoTheDumpAfterTheListPlacesTheCursor)
{
	// The cursor stands at offset 1 of the first item when the list is
	// clicked; the click on byte 3 of the second item places it there.
	const char right[] = {B_RIGHT_ARROW, '\0'};
	Key(right);
	ClickRow(1);
	BPoint where;
	{
		BAutolock lock(fWindow);
		BView* dump = fWindow->DumpView();
		ASSERT_FALSE(dump->IsFocus());
		font_height height;
		dump->GetFontHeight(&height);
		const float charWidth = dump->StringWidth(" ");
		where = dump->ConvertToWindow(
		    HexDumpLayout::HexTextOrigin(3, false, height, charWidth,
		                                 HexDumpLayout::kDefaultBytesPerGroup) +
		    BPoint(charWidth / 2, -height.ascent / 2));
	}
	PlatformTesting::PostAndWait(fWindow, PlatformTesting::MakeMouseDown(where));
	PlatformTesting::PostAndWait(fWindow, PlatformTesting::MakeMouseUp(where));
	Key("4");
	Key("2");
	std::string bytes;
	fDocument.ReadItem(fDocument.ItemAt(1), [&bytes](const BResourceItem& item) {
		bytes.assign(static_cast<const char*>(item.DataIO().Buffer()),
		             item.DataIO().BufferLength());
	});
	EXPECT_EQ(bytes, std::string("\x01\x02\x03\x42\x04", 5));
}

// Names of any length at any window width: every row keeps its index,
// type, id and size in sight and its name's start, cut with an ellipsis
// only when the whole row does not fit; in a narrower window the list
// gives way before the dump, and the dump keeps the larger share.
TEST(HostWindowListWidth, RowsFitTheListAndTheDumpKeepsItsShare)
{
	PlatformTesting::UseTestFace();
	std::mt19937 random(20261209);
	for (int round = 0; round < 4; round++) {
		Session session;
		Document& document = session.GetDocument();
		std::vector<std::string> names;
		for (int32 index = 0; index < 6; index++) {
			names.push_back(std::string(random() % 90, 'a' + char(index)));
			document.AddItem('MIMS', index, names.back().c_str(), "abc", 3);
		}
		ASSERT_EQ(session.Loader().Load(getenv("HEXDUMP_ADDON_PATH"), document.AddonArgs()), B_OK);
		WindowGroup group(session);
		std::string error;
		HostWindow* window = group.Open(0, error);
		ASSERT_NE(window, nullptr) << error;
		PlatformTesting::WaitUntilIdle(window);
		// The dump as it opened, whole; the list at its narrowest.
		float wholeDump;
		float narrowestList;
		{
			BAutolock lock(window);
			wholeDump = window->DumpView()->Parent()->Parent()->Frame().Width();
			window->ResizeTo(0, 300);
			narrowestList = window->ItemList()->Parent()->Frame().Width();
		}
		for (int step = 0; step < 6; step++) {
			{
				BAutolock lock(window);
				window->ResizeTo(float(random() % 1200), 300);
			}
			PlatformTesting::WaitUntilIdle(window);
			BAutolock lock(window);
			BListView* list = window->ItemList();
			const BRect dump = window->DumpView()->Parent()->Parent()->Frame();
			const float listWidth = list->Parent()->Frame().Width();
			EXPECT_GE(dump.Width(), listWidth) << window->Bounds().Width();
			// The list gives way before the dump does.
			if (listWidth > narrowestList) {
				EXPECT_GE(dump.Width(), wholeDump) << window->Bounds().Width();
			}
			for (int32 index = 0; index < 6; index++) {
				const std::string row = static_cast<BStringItem*>(list->ItemAt(index))->Text();
				const std::string whole = std::to_string(index + 1) + " MIMS " +
				                          std::to_string(index) + " \"" + names[index] + "\" 3";
				// BStringItem's margins: 4 pixels each side.
				const bool fits =
				    list->StringWidth(whole.c_str()) + 8 <= list->Bounds().Width() + 1;
				if (fits)
					EXPECT_EQ(row, whole);
				else {
					const std::string head = whole.substr(0, whole.find('"') + 1);
					const std::string tail = "\xE2\x80\xA6\" 3";
					ASSERT_GE(row.size(), head.size() + tail.size()) << row;
					EXPECT_EQ(row.substr(0, head.size()), head);
					EXPECT_EQ(row.substr(row.size() - tail.size()), tail);
					const std::string kept =
					    row.substr(head.size(), row.size() - head.size() - tail.size());
					EXPECT_EQ(names[index].substr(0, kept.size()), kept);
					EXPECT_LE(list->StringWidth(row.c_str()) + 8, list->Bounds().Width() + 1)
					    << row;
				}
			}
		}
		// The group quits the window as it goes.
	}
}
