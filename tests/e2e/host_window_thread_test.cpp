// Two host windows on one item of one document, each on its own thread:
// what is typed in one shows in the other at once, through the host's
// change notices, and undo and redo from either reach both. Both windows
// also list the new size and name the same undo step.

#include <gtest/gtest.h>

#include <Autolock.h>
#include <ListItem.h>
#include <ListView.h>

#include <PlatformTesting.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "AddonLoader.h"
#include "Document.h"
#include "HostWindow.h"
#include "ScriptRunner.h"

namespace {

class HostWindowThreadTest : public testing::Test
{
protected:
	void SetUp() override
	{
		PlatformTesting::UseTestFace();
		fDocument.AddItem('RAWT', 1, "shared", "0123456789", 10);
		fDocument.AddItem('RAWT', 2, "other", "abc", 3);
		ASSERT_EQ(fLoader.Load(getenv("HEXDUMP_ADDON_PATH"), fDocument.AddonArgs()), B_OK)
		    << fLoader.ErrorMessage();
		for (HostWindow*& window : fWindows) {
			window = new HostWindow(fDocument, fLoader, fFiles);
			window->Lock();
			ASSERT_EQ(window->SetUp(), B_OK) << window->ErrorMessage();
			window->Unlock();
			window->Show();
			PlatformTesting::WaitUntilIdle(window);
		}
	}

	void TearDown() override
	{
		for (HostWindow* window : fWindows) {
			if (window != NULL) {
				window->Lock();
				window->Quit();
			}
		}
	}

	void Key(HostWindow* window, const char* bytes, int32 modifiers = 0)
	{
		PlatformTesting::PostAndWait(window, PlatformTesting::MakeKeyDown(bytes, modifiers));
	}

	// Lets both windows handle what the other's edits posted to them.
	void Settle()
	{
		for (int round = 0; round < 2; round++) {
			for (HostWindow* window : fWindows)
				PlatformTesting::WaitUntilIdle(window);
		}
	}

	// The first line of the dump as the window draws it now.
	std::string FirstLine(HostWindow* window)
	{
		std::ostringstream unused;
		ScriptRunner runner(window, true, unused);
		std::vector<std::string> lines = runner.DumpText();
		return lines.empty() ? std::string() : lines.front();
	}

	std::string ListLine(HostWindow* window, int32 index)
	{
		BAutolock lock(window);
		return static_cast<BStringItem*>(window->ItemList()->ItemAt(index))->Text();
	}

	std::string Title(HostWindow* window)
	{
		BAutolock lock(window);
		return window->Title();
	}

	Document fDocument;
	AddonLoader fLoader;
	std::vector<DocumentFile> fFiles;
	HostWindow* fWindows[2] = {NULL, NULL};
};

} // namespace

TEST_F(HostWindowThreadTest, TwoWindowsOnOneItemStayInStep)
{
	HostWindow* first = fWindows[0];
	HostWindow* second = fWindows[1];
	const std::string before = FirstLine(second);
	ASSERT_NE(before.find("3031 3233"), std::string::npos) << before;

	// Typed in the first window: the byte 0x41 before offset 0.
	Key(first, "4");
	Key(first, "1");
	Settle();
	EXPECT_NE(FirstLine(second).find("4130 3132"), std::string::npos) << FirstLine(second);
	EXPECT_EQ(ListLine(second, 0), "1 RAWT 1 \"shared\" 11");
	EXPECT_EQ(Title(second), Title(first));
	EXPECT_EQ(Title(second), "*shared (item 1 of 2) - Undo typing");

	// Undo from the second window takes it back in both; redo from the
	// first brings it back in both.
	Key(second, "z", B_COMMAND_KEY);
	Settle();
	EXPECT_NE(FirstLine(first).find("3031 3233"), std::string::npos) << FirstLine(first);
	EXPECT_NE(FirstLine(second).find("3031 3233"), std::string::npos) << FirstLine(second);
	EXPECT_EQ(ListLine(first, 0), "1 RAWT 1 \"shared\" 10");
	Key(first, "z", B_COMMAND_KEY | B_SHIFT_KEY);
	Settle();
	EXPECT_NE(FirstLine(second).find("4130 3132"), std::string::npos) << FirstLine(second);
	EXPECT_EQ(ListLine(second, 0), "1 RAWT 1 \"shared\" 11");

	// Both typing at once, each on its own thread: both end showing the
	// same bytes, and the list the same size. (A digit of one window may
	// land between the two digits of the other's byte: every digit adds a
	// byte or completes one.)
	const int kKeys = 40;
	BMessage digit = PlatformTesting::MakeKeyDown("7");
	for (int i = 0; i < kKeys; i++) {
		for (HostWindow* window : fWindows)
			window->PostMessage(&digit);
	}
	Settle();
	const std::string line = ListLine(first, 0);
	const long size = strtol(line.substr(line.rfind(' ') + 1).c_str(), NULL, 10);
	EXPECT_GE(size, 11 + kKeys) << line;
	EXPECT_LE(size, 11 + 2 * kKeys) << line;
	EXPECT_EQ(ListLine(second, 0), line);
	EXPECT_EQ(FirstLine(first), FirstLine(second));
}
