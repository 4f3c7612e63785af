// A person's session with one editor, posted as the display would deliver
// it: clicks, drags and keys; then the host's item and its undo history.

#include <gtest/gtest.h>

#include <InterfaceDefs.h>

#include <string>

#include "HexDumpFullEditor.h"
#include "HexDumpView.h"
#include "PlatformTesting.h"
#include "ViewHarness.h"

TEST(KeyboardSession, TypeSelectAndDeleteReachTheItem)
{
	const std::string original = "Hello, world";
	ViewHarness harness(original);
	HexDumpView* view = harness.View();

	auto hexPoint = [&](uint32 offset) { return harness.CellPoint(offset, true); };
	auto asciiPoint = [&](uint32 offset) { return harness.CellPoint(offset, false); };
	auto click = [&](BPoint where) { harness.Click(where); };

	// The first click brings the focus, the second places the cursor in the
	// character column after "Hello".
	click(asciiPoint(5));
	click(asciiPoint(5));
	for (const char* key : {"!", "!"})
		harness.Key(key);
	EXPECT_EQ(harness.ItemBytes(), "Hello!!, world");

	// Drag over ", " and delete it.
	harness.MouseDown(asciiPoint(7));
	harness.MouseMoved(asciiPoint(9), 1);
	harness.MouseUp(asciiPoint(9));
	harness.Key("\x7f");
	EXPECT_EQ(harness.ItemBytes(), "Hello!!world");
	EXPECT_EQ(harness.Doc().UndoName(), "delete");

	// In the hex column, after "world": a line feed typed as two digits.
	click(hexPoint(12));
	harness.Key("0");
	harness.Key("a");
	EXPECT_EQ(harness.ItemBytes(), "Hello!!world\n");

	// Shift+Left twice from the end of "Hello!!" and Backspace: "Hello".
	click(hexPoint(7));
	harness.Key("\x1c", B_SHIFT_KEY);
	harness.Key("\x1c", B_SHIFT_KEY);
	harness.Key("\x08");
	EXPECT_EQ(harness.ItemBytes(), "Helloworld\n");
	EXPECT_EQ(view->SelectionStart(), 5u);
	EXPECT_EQ(view->SelectionEnd(), 5u);

	// The working copy and the item agree, and the host can undo it all.
	{
		ViewHarness::WindowLock lock(harness);
		EXPECT_EQ(std::string(harness.Editor()->Data(), harness.Editor()->Size()), "Helloworld\n");
	}
	while (harness.Doc().CanUndo())
		ASSERT_EQ(harness.Doc().Undo(), B_OK);
	harness.WaitUntilIdle();
	EXPECT_EQ(harness.ItemBytes(), original);
	ViewHarness::WindowLock lock(harness);
	EXPECT_EQ(std::string(harness.Editor()->Data(), harness.Editor()->Size()), original);
}
