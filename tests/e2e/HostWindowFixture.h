// HostWindowFixture: a session (a document, the add-on loaded from its image
// for it, files when a test adds them) and the group of host windows on it,
// for tests that open host windows in process (each window on its own
// thread). Input is posted as the display
// delivers it and waited for; what a window shows is read under its lock.
// Test support.
#ifndef HOST_WINDOW_FIXTURE_H
#define HOST_WINDOW_FIXTURE_H

#include <gtest/gtest.h>

#include <Autolock.h>
#include <ListItem.h>
#include <ListView.h>
#include <StringView.h>

#include <PlatformTesting.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "AddonLoader.h"
#include "Document.h"
#include "DocumentFile.h"
#include "HostWindow.h"
#include "Session.h"
#include "WindowGroup.h"

class HostWindowFixture : public testing::Test
{
protected:
	// Loads the add-on for the document's items, added before.
	void LoadAddon()
	{
		ASSERT_EQ(fLoader.Load(getenv("HEXDUMP_ADDON_PATH"), fDocument.AddonArgs()), B_OK)
		    << fLoader.ErrorMessage();
	}

	// Opens a window on the first item and waits until it has drawn.
	HostWindow* Open()
	{
		std::string error;
		HostWindow* window = fWindows.Open(0, error);
		EXPECT_NE(window, nullptr) << error;
		if (window != NULL)
			PlatformTesting::WaitUntilIdle(window);
		return window;
	}

	void Key(HostWindow* window, const char* bytes, int32 modifiers = 0)
	{
		PlatformTesting::PostAndWait(window, PlatformTesting::MakeKeyDown(bytes, modifiers));
	}

	// The list's row of the item at index.
	std::string ListLine(HostWindow* window, int32 index)
	{
		BAutolock lock(window);
		return static_cast<BStringItem*>(window->ItemList()->ItemAt(window->RowOf(index)))->Text();
	}

	std::string Title(HostWindow* window)
	{
		BAutolock lock(window);
		return window->Title();
	}

	std::string Status(HostWindow* window)
	{
		BAutolock lock(window);
		return window->StatusLine()->Text();
	}

	Session fSession;
	Document& fDocument = fSession.GetDocument();
	AddonLoader& fLoader = fSession.Loader();
	std::vector<DocumentFile>& fFiles = fSession.Files();
	WindowGroup fWindows{fSession};
};

#endif // HOST_WINDOW_FIXTURE_H
