// A document with items and a HexDumpFullEditor for the first, optionally
// shown in a headless window, for the editor's tests.
#ifndef EDITOR_FIXTURE_H
#define EDITOR_FIXTURE_H

#include <gtest/gtest.h>

#include <ResourceCollection.h>
#include <ResourceItem.h>
#include <View.h>
#include <Window.h>

#include <PlatformTesting.h>

#include <string>

#include "Document.h"
#include "HexDumpFullEditor.h"
#include "HexDumpView.h"

inline std::string ItemBytes(const BResourceItem* item)
{
	const BMallocIO& data = item->DataIO();
	if (data.BufferLength() == 0)
		return std::string();
	return std::string(static_cast<const char*>(data.Buffer()), data.BufferLength());
}

inline std::string WorkingCopy(const HexDumpFullEditor& editor)
{
	return std::string(editor.Data(), editor.Size());
}

class EditorFixture : public testing::Test
{
protected:
	EditorFixture()
	    : fItem(fDocument.AddItem('RAWT', 1, "first", "0123456789", 10)),
	      fOther(fDocument.AddItem('RAWT', 2, "other", "ABC", 3)), fEditor(NULL), fWindow(NULL)
	{
		PlatformTesting::UseTestFace();
	}

	~EditorFixture() override
	{
		if (fWindow != NULL) {
			// The window deletes its views, the editor among them.
			fWindow->Lock();
			fWindow->Quit();
		} else {
			delete fEditor;
		}
	}

	void MakeEditor() { fEditor = new HexDumpFullEditor(fDocument.AddonArgs(), fItem); }

	// Shows the editor in a headless window and waits until it has drawn.
	void ShowEditor()
	{
		if (fEditor == NULL)
			MakeEditor();
		fWindow = new BWindow(BRect(50, 50, 649, 449), "editor", B_TITLED_WINDOW, 0);
		fWindow->Lock();
		fWindow->AddChild(fEditor->View());
		fWindow->Unlock();
		fWindow->Show();
		PlatformTesting::WaitUntilIdle(fWindow);
	}

	std::string ItemData(const BResourceHandle& item) { return ItemBytes(fDocument.Item(item)); }

	Document fDocument;
	BResourceHandle fItem;
	BResourceHandle fOther;
	HexDumpFullEditor* fEditor;
	BWindow* fWindow;
};

#endif // EDITOR_FIXTURE_H
