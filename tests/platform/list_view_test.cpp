// BListView with BStringItems in a shown window: rows stacked by the font,
// selection by mouse and keys with the selection message sent to the
// window, invocation by double click and Enter, the selected row drawn
// darker, disabled rows skipped, and the scroll bar following the rows,
// scrolling by whole rows.

#include <Autolock.h>
#include <ListItem.h>
#include <ListView.h>
#include <ScrollBar.h>
#include <ScrollView.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

#include "windows_fixture.h"

namespace {

enum
{
	kSelected = 'lsel',
	kInvoked = 'linv'
};

// A window that logs what its list view sends: "sel 2" or "inv 0 1".
class ListWindow : public BWindow
{
public:
	ListWindow() : BWindow(BRect(50, 50, 249, 149), "list", B_TITLED_WINDOW, 0) {}

	virtual void MessageReceived(BMessage* message)
	{
		if (message->what != kSelected && message->what != kInvoked) {
			BWindow::MessageReceived(message);
			return;
		}
		// One "index" item for each selected row.
		std::string entry = message->what == kSelected ? "sel" : "inv";
		for (int32 i = 0; fList->CurrentSelection(i) >= 0; i++)
			entry += " " + std::to_string(message->FindInt32("index", i));
		log.push_back(entry);
	}

	BListView* fList = NULL;
	std::vector<std::string> log;
};

class ListViewTest : public testing::Test
{
protected:
	void SetUp() override
	{
		PlatformTesting::UseTestFace();
		fWindow = new ListWindow();
		fList = new BListView(BRect(0, 0, 99, 59), "list", ListType(), B_FOLLOW_ALL_SIDES);
		fWindow->fList = fList;
		for (const char* text : {"zero", "one", "two", "three", "four", "five"}) {
			fItems.emplace_back(new BStringItem(text));
			fList->AddItem(fItems.back().get());
		}
		fList->SetSelectionMessage(new BMessage(kSelected));
		fList->SetInvocationMessage(new BMessage(kInvoked));
		fScroller = new BScrollView("scroller", fList, B_FOLLOW_LEFT | B_FOLLOW_TOP, 0, false, true,
		                            B_NO_BORDER);
		fWindow->AddChild(fScroller);
		fWindow->Show();
		PlatformTesting::WaitUntilIdle(fWindow);
	}

	void TearDown() override
	{
		fWindow->Lock();
		fWindow->Quit();
	}

	virtual list_view_type ListType() const { return B_SINGLE_SELECTION_LIST; }

	void Click(float y, int32 modifiers = 0, int32 clicks = 1)
	{
		PlatformTesting::PostAndWait(
		    fWindow, PlatformTesting::MakeMouseDown(BPoint(10, y), 1, modifiers, clicks));
		PlatformTesting::PostAndWait(fWindow, PlatformTesting::MakeMouseUp(BPoint(10, y)));
	}

	void Key(char key)
	{
		const char bytes[2] = {key, '\0'};
		PlatformTesting::PostAndWait(fWindow, PlatformTesting::MakeKeyDown(bytes));
	}

	ListWindow* fWindow;
	BListView* fList;
	BScrollView* fScroller;
	// The list does not own its items; they outlive the window.
	std::vector<std::unique_ptr<BStringItem>> fItems;
};

} // namespace

// The test face is 13 pixels high; a string item adds a pixel above and below.
TEST_F(ListViewTest, RowsStackByTheFont)
{
	BAutolock lock(fWindow);
	EXPECT_EQ(fList->CountItems(), 6);
	EXPECT_EQ(fItems[0]->Height(), 15);
	EXPECT_EQ(fList->ItemFrame(2), BRect(0, 30, 99, 44));
	EXPECT_EQ(fList->IndexOf(BPoint(5, 29.5)), 1);
	EXPECT_EQ(fList->IndexOf(BPoint(5, 30)), 2);
	EXPECT_EQ(fList->IndexOf(BPoint(5, 90)), -1);
	float width;
	float height;
	fList->GetPreferredSize(&width, &height);
	EXPECT_EQ(height, 90);
}

TEST_F(ListViewTest, ClicksAndKeysSelectAndTellTheWindow)
{
	Click(20);
	Click(20); // the same row again: no change, no message
	Key(B_DOWN_ARROW);
	Key(B_END);
	Key(B_UP_ARROW);
	Key(B_HOME);
	Key(B_UP_ARROW); // at the top already
	BAutolock lock(fWindow);
	EXPECT_EQ(fWindow->log,
	          (std::vector<std::string>{"sel 1", "sel 2", "sel 5", "sel 4", "sel 0"}));
	EXPECT_EQ(fList->CurrentSelection(), 0);
	EXPECT_EQ(fList->CurrentSelection(1), -1);
	EXPECT_TRUE(fList->IsFocus());
}

TEST_F(ListViewTest, EndScrollsTheLastRowIntoView)
{
	Key(B_END); // the list has no focus before a click
	Click(5);
	Key(B_END);
	BAutolock lock(fWindow);
	EXPECT_EQ(fWindow->log, (std::vector<std::string>{"sel 0", "sel 5"}));
	EXPECT_EQ(fList->Bounds().top, 30);
	EXPECT_EQ(fList->ScrollBar(B_VERTICAL)->Value(), 30);
}

TEST_F(ListViewTest, DoubleClickAndEnterInvoke)
{
	Click(35);
	Click(35, 0, 2);
	Key(B_ENTER);
	BAutolock lock(fWindow);
	EXPECT_EQ(fWindow->log, (std::vector<std::string>{"sel 2", "inv 2", "inv 2"}));
}

class MultipleListViewTest : public ListViewTest
{
protected:
	list_view_type ListType() const override { return B_MULTIPLE_SELECTION_LIST; }
};

TEST_F(MultipleListViewTest, SelectionExtendsWithShift)
{
	Click(5);
	Click(50, B_SHIFT_KEY);
	Click(5, B_SHIFT_KEY); // takes row 0 out again
	Click(20);             // without Shift: row 1 alone
	BAutolock lock(fWindow);
	EXPECT_EQ(fWindow->log, (std::vector<std::string>{"sel 0", "sel 0 3", "sel 3", "sel 1"}));
}

TEST_F(ListViewTest, SelectedRowIsDrawnDarker)
{
	rgb_color before = PlatformTesting::Snapshot(fWindow).At(90, 20);
	EXPECT_COLOR(before, kWhite);
	Click(20);
	auto after = PlatformTesting::Snapshot(fWindow);
	rgb_color selected = after.At(90, 20);
	EXPECT_LT(selected.red, 255);
	EXPECT_COLOR(after.At(90, 5), kWhite);
	// The text is drawn in the high colour, black, from x = 4.
	bool text = false;
	for (int32 x = 4; x < 4 + 3 * 7; x++) {
		for (int32 y = 15; y < 30; y++)
			text = text || ColorText(after.At(x, y)) == ColorText(kBlack);
	}
	EXPECT_TRUE(text);
}

TEST_F(ListViewTest, DisabledRowsAreSkippedByClicksAndKeys)
{
	{
		BAutolock lock(fWindow);
		fItems[0]->SetEnabled(false);
		fItems[4]->SetEnabled(false);
	}
	Click(5); // row 0: nothing
	Click(20);
	Key(B_UP_ARROW); // nothing enabled above
	Key(B_DOWN_ARROW);
	Key(B_DOWN_ARROW);
	Key(B_DOWN_ARROW);
	Key(B_UP_ARROW);
	Key(B_HOME);
	Key(B_END);
	BAutolock lock(fWindow);
	EXPECT_EQ(fWindow->log, (std::vector<std::string>{"sel 1", "sel 2", "sel 3", "sel 5", "sel 3",
	                                                  "sel 1", "sel 5"}));
}

// At heights that hold no whole number of rows, wherever the bar or the
// keys scroll to, the top row is a whole one: the nearest to where the bar
// was set, and never past the top from which the last row shows whole.
TEST_F(ListViewTest, ScrollsByWholeRows)
{
	const float row = 15;
	const float total = 6 * row;
	std::mt19937 random(12);
	Click(5);
	for (int round = 0; round < 30; round++) {
		const float height = float(20 + random() % 60);
		{
			BAutolock lock(fWindow);
			fScroller->ResizeTo(fScroller->Bounds().Width(), height - 1);
		}
		PlatformTesting::WaitUntilIdle(fWindow);
		const float last = std::max(0.0f, std::ceil((total - height) / row) * row);
		const float value = float(random() % 100) - 5;
		{
			BAutolock lock(fWindow);
			fList->ScrollBar(B_VERTICAL)->SetValue(value);
			const float wanted = std::clamp(std::round(value / row) * row, 0.0f, last);
			EXPECT_EQ(fList->Bounds().top, wanted) << height << " " << value;
			EXPECT_EQ(fList->ScrollBar(B_VERTICAL)->Value(), fList->Bounds().top);
		}
		Key(random() % 2 == 0 ? B_END : B_HOME);
		BAutolock lock(fWindow);
		const BRect selected = fList->ItemFrame(fList->CurrentSelection());
		EXPECT_EQ(std::fmod(fList->Bounds().top, row), 0) << height;
		EXPECT_GE(selected.top, fList->Bounds().top) << height;
		EXPECT_LE(selected.bottom, std::max(fList->Bounds().bottom, selected.top + row - 1))
		    << height;
	}
}
