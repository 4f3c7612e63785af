// ViewHarness: a document holding one item, a HexDumpFullEditor built for it
// from the document's add-on arguments, and a shown 800 x 600 headless window
// whose whole area the editor's view fills. Input is posted to the window as
// the display would deliver it and waited for; direct calls into the view go
// under WindowLock. Header-only test support, used from the test's thread;
// the window's own thread runs the view.
#ifndef VIEW_HARNESS_H
#define VIEW_HARNESS_H

#include <ResourceItem.h>
#include <View.h>
#include <Window.h>

#include <PlatformTesting.h>

#include <string>

#include "Document.h"
#include "HexDumpFullEditor.h"
#include "HexDumpView.h"

class ViewHarness
{
public:
	enum Face
	{
		kTestFace,
		kFreeTypeFace
	};

	// Holds the window's lock for its lifetime (the lock nests on one thread).
	class WindowLock
	{
	public:
		explicit WindowLock(ViewHarness& harness) : fWindow(harness.Window()) { fWindow->Lock(); }
		~WindowLock() { fWindow->Unlock(); }
		WindowLock(const WindowLock&) = delete;
		WindowLock& operator=(const WindowLock&) = delete;

	private:
		BWindow* fWindow;
	};

	explicit ViewHarness(const std::string& bytes, Face face = kTestFace, float width = 800,
	                     float height = 600)
	    : fEditor(NULL), fWindow(NULL)
	{
		if (face == kTestFace)
			PlatformTesting::UseTestFace();
		else
			PlatformTesting::UseFreeTypeFace();

		fItem = fDocument.AddItem('RAWT', 1, "item", bytes.data(), bytes.size());
		fEditor = new HexDumpFullEditor(fDocument.AddonArgs(), fItem);

		fWindow = new BWindow(BRect(100, 100, 100 + width - 1, 100 + height - 1), "view test",
		                      B_TITLED_WINDOW, 0);
		fWindow->Lock();
		BView* editorView = fEditor->View();
		editorView->MoveTo(0, 0);
		editorView->ResizeTo(fWindow->Bounds().Width(), fWindow->Bounds().Height());
		fWindow->AddChild(editorView);
		fWindow->Unlock();
		fWindow->Show();
		WaitUntilIdle();
	}

	~ViewHarness()
	{
		// The window deletes its views, the editor among them; the document
		// (a member) outlives it.
		fWindow->Lock();
		fWindow->Quit();
	}

	ViewHarness(const ViewHarness&) = delete;
	ViewHarness& operator=(const ViewHarness&) = delete;

	Document& Doc() { return fDocument; }
	BResourceHandle Item() const { return fItem; }
	HexDumpFullEditor* Editor() const { return fEditor; }
	HexDumpView* View() const { return fEditor->DumpView(); }
	BWindow* Window() const { return fWindow; }

	// The host item's bytes; call while the window is idle.
	std::string ItemBytes() const
	{
		const BMallocIO& data = fDocument.Item(fItem)->DataIO();
		if (data.BufferLength() == 0)
			return std::string();
		return std::string(static_cast<const char*>(data.Buffer()), data.BufferLength());
	}

	void WaitUntilIdle() { PlatformTesting::WaitUntilIdle(fWindow); }

	// Gives the dump view the keyboard focus and lets the redraws run.
	void Focus()
	{
		{
			WindowLock lock(*this);
			View()->MakeFocus(true);
		}
		WaitUntilIdle();
	}

	void Key(const char* bytes, int32 modifiers = 0, int32 key = 0)
	{
		PlatformTesting::PostAndWait(fWindow, PlatformTesting::MakeKeyDown(bytes, modifiers, key));
	}

	// Mouse input at a point in the dump view's coordinates (its bounds).
	void MouseDown(BPoint where, int32 modifiers = 0, int32 buttons = B_PRIMARY_MOUSE_BUTTON,
	               int32 clicks = 1)
	{
		PlatformTesting::PostAndWait(
		    fWindow, PlatformTesting::MakeMouseDown(ToWindow(where), buttons, modifiers, clicks));
	}
	void MouseMoved(BPoint where, int32 buttons = 0, int32 modifiers = 0)
	{
		PlatformTesting::PostAndWait(
		    fWindow, PlatformTesting::MakeMouseMoved(ToWindow(where), buttons, modifiers));
	}
	void MouseUp(BPoint where, int32 modifiers = 0)
	{
		PlatformTesting::PostAndWait(fWindow,
		                             PlatformTesting::MakeMouseUp(ToWindow(where), modifiers));
	}
	void Click(BPoint where, int32 modifiers = 0)
	{
		MouseDown(where, modifiers);
		MouseUp(where, modifiers);
	}

	// A click in the middle of a byte's cell: in the hex column on its first
	// digit, in the character column on its character.
	void PressHexColumn(uint32 offset) { Click(CellPoint(offset, true)); }
	void PressAsciiColumn(uint32 offset) { Click(CellPoint(offset, false)); }

	BPoint CellPoint(uint32 offset, bool hex)
	{
		WindowLock lock(*this);
		BPoint origin = hex ? View()->OffsetToHexPoint(offset) : View()->OffsetToAsciiPoint(offset);
		return origin + BPoint(1, -5);
	}

	// Converts a point of the dump view into the window's coordinates.
	BPoint ToWindow(BPoint where)
	{
		WindowLock lock(*this);
		return fWindow->ConvertFromScreen(View()->ConvertToScreen(where));
	}

	// The pixel shown at a point of the dump view.
	rgb_color Pixel(BPoint where)
	{
		WindowLock lock(*this);
		return PlatformTesting::ViewPixel(View(), where);
	}

	PlatformTesting::PixelImage Snapshot()
	{
		WindowLock lock(*this);
		return PlatformTesting::Snapshot(fWindow);
	}

private:
	Document fDocument;
	BResourceHandle fItem;
	HexDumpFullEditor* fEditor;
	BWindow* fWindow;
};

#endif // VIEW_HARNESS_H
