// What the window shows after any input equals a full redraw of the same
// state. Random scripts of every kind of input run in reshost's own window
// (the add-on loaded from its image, the document, undo, the item list),
// with the window compared after every line to a redraw of the whole window
// from the views' current state: the same check as reshost --check-redraw.
// A failure prints the seed and the shortest script found that still fails,
// ready for reshost --headless --check-redraw --script.

#include <gtest/gtest.h>

#include <View.h>
#include <Window.h>

#include <PlatformTesting.h>

#include <math.h>
#include <stdlib.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "AddonLoader.h"
#include "Document.h"
#include "HexDumpLayout.h"
#include "HostWindow.h"
#include "DocumentFile.h"
#include "ScriptRunner.h"

namespace {

enum Face
{
	kTestFace,
	kFreeTypeFace
};

typedef std::vector<std::string> Script;

std::string Join(const Script& script)
{
	std::string text;
	for (const std::string& line : script)
		text += line + "\n";
	return text;
}

// reshost's window on a document of the given items, driven by scripts on
// the test clock, as reshost --headless drives it.
class Session
{
public:
	Session(const std::vector<std::string>& items, Face face) : fWindow(NULL)
	{
		if (face == kTestFace)
			PlatformTesting::UseTestFace();
		else
			PlatformTesting::UseFreeTypeFace();
		PlatformTesting::SetTestClock(1000000);

		int32 id = 1;
		for (const std::string& bytes : items)
			fDocument.AddItem('RAWT', id++, "item", bytes.data(), bytes.size());
		if (fLoader.Load(getenv("HEXDUMP_ADDON_PATH"), fDocument.AddonArgs()) != B_OK)
			return;

		fWindow = new HostWindow(fDocument, fLoader, fFiles);
		fWindow->Lock();
		const status_t status = fWindow->SetUp();
		fWindow->SetDriven(true);
		fWindow->Unlock();
		if (status != B_OK) {
			fWindow->Lock();
			fWindow->Quit();
			fWindow = NULL;
			return;
		}
		fWindow->Show();
		PlatformTesting::WaitUntilIdle(fWindow);
	}

	~Session()
	{
		if (fWindow != NULL) {
			fWindow->Lock();
			fWindow->Quit();
		}
		PlatformTesting::UseRealClock();
	}

	Session(const Session&) = delete;
	Session& operator=(const Session&) = delete;

	bool Ready() const { return fWindow != NULL; }
	HostWindow* Window() const { return fWindow; }

	// Runs the script with the redraw check after every line: "" when every
	// line passes, otherwise the runner's error, which names the line.
	std::string Run(const Script& script, bool check = true)
	{
		std::ostringstream output;
		ScriptRunner runner(fWindow, true, output);
		runner.SetCheckRedraw(check);
		std::istringstream input(Join(script));
		std::string error;
		if (runner.Run(input, error) != B_OK)
			return error.empty() ? "failed" : error;
		return "";
	}

	// The dump view's scroll position and its line geometry.
	BRect ViewBounds()
	{
		fWindow->Lock();
		const BRect bounds = fWindow->DumpView()->Bounds();
		fWindow->Unlock();
		return bounds;
	}

	font_height FontHeight()
	{
		fWindow->Lock();
		font_height height;
		fWindow->DumpView()->GetFontHeight(&height);
		fWindow->Unlock();
		return height;
	}

private:
	Document fDocument;
	AddonLoader fLoader;
	std::vector<DocumentFile> fFiles;
	HostWindow* fWindow;
};

std::string RandomBytes(std::mt19937& random, size_t size)
{
	std::string bytes(size, '\0');
	for (char& byte : bytes) {
		// Mostly text, some of every other value: both columns get all
		// kinds of characters.
		const uint32 pick = random() % 4;
		byte = char(pick == 0 ? random() % 256 : 0x20 + random() % 0x5f);
	}
	return bytes;
}

// Items of the sizes where lines and the end of the data meet.
std::vector<std::string> RandomItems(std::mt19937& random)
{
	static const size_t kSizes[] = {0, 1, 7, 15, 16, 17, 31, 32, 33, 40, 47, 48, 100, 255, 600};
	std::vector<std::string> items;
	for (int i = 0; i < 3; i++) {
		const size_t size = random() % 5 == 0 ? random() % 4000 : kSizes[random() % 15];
		items.push_back(RandomBytes(random, size));
	}
	return items;
}

// One script line of any kind of input, with the mouse button's state kept
// consistent across lines (a press, moves with the button held, a release).
class ScriptGenerator
{
public:
	explicit ScriptGenerator(uint32 seed) : fRandom(seed), fButtonDown(false) {}

	std::mt19937& Random() { return fRandom; }

	Script Make(int32 count)
	{
		Script script;
		for (int32 i = 0; i < count; i++)
			script.push_back(Line());
		return script;
	}

private:
	int32 Pick(int32 from, int32 to) { return from + int32(fRandom() % uint32(to - from + 1)); }

	std::string Place()
	{
		switch (Pick(0, 4)) {
		case 0:
		case 1:
			return "hex " + std::to_string(Pick(0, 700));
		case 2:
			return "ascii " + std::to_string(Pick(0, 700));
		default:
			// Anywhere, outside the view and the window too.
			return "at " + std::to_string(Pick(-60, 900)) + " " + std::to_string(Pick(-80, 760));
		}
	}

	std::string Key()
	{
		static const char* const kArrows[] = {"Left", "Right", "Up", "Down"};
		static const char* const kOthers[] = {"Home",  "End", "PageUp", "PageDown", "Insert",
		                                      "Enter", "Tab", "Escape", "Return"};
		static const char kHexDigits[] = "0123456789abcdefABCDEF";
		static const char kCharacters[] = "Hi! zq~0`{";
		const int32 pick = Pick(0, 99);
		if (pick < 40) {
			const std::string arrow = kArrows[Pick(0, 3)];
			return "key " + (Pick(0, 1) ? "Shift+" + arrow : arrow);
		}
		if (pick < 55)
			return Pick(0, 2) ? "key Backspace" : "key Delete";
		if (pick < 80)
			return std::string("key ") + kHexDigits[Pick(0, 21)];
		if (pick < 92) {
			const char c = kCharacters[Pick(0, 9)];
			return c == ' ' ? "key Space" : std::string("key ") + c;
		}
		return std::string("key ") + kOthers[Pick(0, 8)];
	}

	std::string Line()
	{
		const int32 pick = Pick(0, 99);
		if (pick < 35)
			return Key();
		if (pick < 38)
			return "type \"" + std::string(Pick(0, 1) ? "4a" : "ok ") + "\"";
		if (pick < 60) {
			if (!fButtonDown) {
				fButtonDown = true;
				return "press " + Place();
			}
			if (Pick(0, 3) > 0)
				return "move " + Place();
			fButtonDown = false;
			return "release " + Place();
		}
		if (pick < 66)
			return "move " + Place();
		if (pick < 74)
			return "wait " + std::to_string(Pick(100, 1500)) + "ms";
		if (pick < 78)
			return Pick(0, 1) ? "focus on" : "focus off";
		if (pick < 82)
			return Pick(0, 1) ? "activate" : "deactivate";
		if (pick < 86)
			return "resize " + std::to_string(Pick(120, 900)) + " " + std::to_string(Pick(60, 700));
		if (pick < 89)
			return "wheel " + std::to_string(Pick(-3, 3));
		if (pick < 95)
			return Pick(0, 2) ? "undo" : "redo";
		return Pick(0, 1) ? "next" : "previous";
	}

	std::mt19937 fRandom;
	bool fButtonDown;
};

// The error of a fresh session running the script, "" when it passes.
std::string Failure(const std::vector<std::string>& items, Face face, const Script& script)
{
	Session session(items, face);
	if (!session.Ready())
		return "the session did not start";
	return session.Run(script);
}

// Removes lines, in chunks and then one by one, while the script still fails.
Script Shrink(const std::vector<std::string>& items, Face face, Script script)
{
	int32 runs = 0;
	for (size_t chunk = script.size() / 2; chunk >= 1; chunk /= 2) {
		for (size_t at = 0; at + chunk <= script.size() && runs < 400;) {
			Script shorter = script;
			shorter.erase(shorter.begin() + long(at), shorter.begin() + long(at + chunk));
			runs++;
			if (!Failure(items, face, shorter).empty())
				script = shorter;
			else
				at += chunk;
		}
	}
	return script;
}

std::string Describe(const std::vector<std::string>& items)
{
	std::string text;
	for (const std::string& item : items)
		text += std::to_string(item.size()) + " ";
	return text;
}

class RedrawProperty : public ::testing::TestWithParam<std::tuple<Face, int>>
{
};

// 25 sequences of 100 lines a batch, eight batches a face (fewer where
// $HEXDUMP_RANDOM_DIVISOR says so: the sanitizer builds).
TEST_P(RedrawProperty, RandomInputLeavesWhatAFullRedrawShows)
{
	const Face face = std::get<0>(GetParam());
	const int batch = std::get<1>(GetParam());
	const char* divisor = getenv("HEXDUMP_RANDOM_DIVISOR");
	const int kSequences = 25 / std::max(1, divisor != NULL ? atoi(divisor) : 1);
	const int kLines = 100;

	for (int sequence = 0; sequence < kSequences; sequence++) {
		const uint32 seed = uint32(batch * kSequences + sequence + 1) * 7919u + uint32(face);
		ScriptGenerator generator(seed);
		const std::vector<std::string> items = RandomItems(generator.Random());
		const Script script = generator.Make(kLines);

		const std::string error = Failure(items, face, script);
		if (error.empty())
			continue;
		const Script shortest = Shrink(items, face, script);
		ADD_FAILURE() << "seed " << seed << ", items of " << Describe(items) << "bytes: " << error
		              << "\nshortest failing script (" << Failure(items, face, shortest) << "):\n"
		              << Join(shortest);
		return;
	}
}

std::string FaceName(Face face)
{
	return face == kTestFace ? "TestFace" : "FreeTypeFace";
}

INSTANTIATE_TEST_SUITE_P(Faces, RedrawProperty,
                         ::testing::Combine(::testing::Values(kTestFace, kFreeTypeFace),
                                            ::testing::Range(0, 8)),
                         [](const ::testing::TestParamInfo<std::tuple<Face, int>>& info) {
	                         return FaceName(std::get<0>(info.param)) + "Batch" +
	                                std::to_string(std::get<1>(info.param));
                         });

std::string Zeros(size_t size)
{
	return std::string(size, '\0');
}

class RedrawCases : public ::testing::TestWithParam<Face>
{
protected:
	// Runs the script on one item and expects every line to pass the check.
	void ExpectClean(const std::string& item, const Script& script)
	{
		Session session({item, Zeros(100), ""}, GetParam());
		ASSERT_TRUE(session.Ready());
		EXPECT_EQ(session.Run(script), "") << Join(script);
	}
};

// Typing over a selection that ran past a full line shortens the data: the
// line that held the old last byte must go blank.
TEST_P(RedrawCases, AShrinkingEditClearsTheLinesBelowTheNewEnd)
{
	ExpectClean(Zeros(17), {"press hex 15", "release ascii 57", "type \"0\""});
	ExpectClean(Zeros(100), {"press hex 3", "move hex 90", "release hex 90", "key A"});
	ExpectClean(Zeros(100), {"press ascii 3", "release ascii 90", "key x"});
	ExpectClean(Zeros(40), {"press hex 40", "key Backspace", "key Backspace", "key Backspace"});
}

// The outline's bottom edge lies on the first row of the next line, which
// may be the empty line that holds the end of the data.
TEST_P(RedrawCases, AnOutlineLeavesNoEdgeOnTheLineOfTheEnd)
{
	ExpectClean(Zeros(16), {"press hex 17", "key Shift+Left", "key Down"});
	ExpectClean(Zeros(32), {"press ascii 20", "move ascii 32", "release ascii 32", "key Left"});
}

// Host changes shorten or lengthen the data behind the view's back.
TEST_P(RedrawCases, HostChangesLeaveNoLabelBelowTheData)
{
	ExpectClean(Zeros(40), {"press hex 20", "release hex 20", "type \"00112233\"", "undo", "undo",
	                        "redo", "next", "previous", "press hex 3", "release hex 3"});
}

// The tinted bar of the inactive column comes off without taking pixels of
// the neighbouring characters with it.
TEST_P(RedrawCases, TheCursorComesOffWithoutErasingGlyphs)
{
	ExpectClean("\x41\x57\x4d\x7e\x23\x40\x26",
	            {"press hex 31", "release hex 6", "key Up", "focus off", "focus on", "wait 500ms",
	             "wait 500ms", "press ascii 2", "release ascii 2", "deactivate", "activate"});
}

// Growing and shrinking the window step by step leaves the scroll view's
// border whole.
TEST_P(RedrawCases, ResizingLeavesTheBorderWhole)
{
	ExpectClean(Zeros(3000), {"resize 700 500", "resize 710 520", "resize 600 400",
	                          "resize 601 401", "resize 900 650", "resize 300 200"});
}

INSTANTIATE_TEST_SUITE_P(Faces, RedrawCases, ::testing::Values(kTestFace, kFreeTypeFace),
                         [](const ::testing::TestParamInfo<Face>& info) {
	                         return FaceName(info.param);
                         });

// A screen that shows lines whole: the scroll position is 0 or the top of a
// line's box.
bool ShowsWholeLines(Session& session)
{
	const BRect bounds = session.ViewBounds();
	if (bounds.top == 0)
		return true;
	const font_height height = session.FontHeight();
	const float lineHeight = HexDumpLayout::LineHeightOf(height);
	const float firstBoxTop =
	    HexDumpLayout::BaselineOf(0, height) + HexDumpLayout::LineDepth(height) - lineHeight;
	return fmodf(bounds.top - firstBoxTop, lineHeight) == 0;
}

TEST_P(RedrawCases, KeysScrollByWholeLines)
{
	Session session({std::string(300000, 'x')}, GetParam());
	ASSERT_TRUE(session.Ready());
	ASSERT_EQ(session.Run({"press hex 0", "release hex 0"}), "");
	float lastTop = 0;
	for (int i = 0; i < 60; i++) {
		ASSERT_EQ(session.Run({"key Down"}, false), "");
		EXPECT_TRUE(ShowsWholeLines(session)) << "after " << i + 1 << " presses of Down";
		lastTop = session.ViewBounds().top;
	}
	EXPECT_GT(lastTop, 0);
	ASSERT_EQ(session.Run({"key Up"}, false), "");
	for (int i = 0; i < 60; i++)
		ASSERT_EQ(session.Run({"key Up"}, false), "");
	EXPECT_EQ(session.ViewBounds().top, 0);
}

// With the button held below the window and the pointer still, the pulse
// keeps the drag going: the view scrolls on, and stays clean.
TEST_P(RedrawCases, AHeldDragPastTheEdgeKeepsScrolling)
{
	Session session({std::string(300000, 'x')}, GetParam());
	ASSERT_TRUE(session.Ready());
	ASSERT_EQ(session.Run({"press hex 20", "move at 100 2000"}), "");
	const float first = session.ViewBounds().top;
	ASSERT_EQ(session.Run({"wait 2s"}), "");
	const float second = session.ViewBounds().top;
	ASSERT_EQ(session.Run({"wait 2s"}), "");
	const float third = session.ViewBounds().top;
	EXPECT_GT(second, first);
	EXPECT_GT(third, second);

	// Released, it stops.
	ASSERT_EQ(session.Run({"release at 100 2000", "wait 2s"}), "");
	const float released = session.ViewBounds().top;
	ASSERT_EQ(session.Run({"wait 2s"}), "");
	EXPECT_EQ(session.ViewBounds().top, released);
}

// The check itself: a pixel drawn behind the views' back is a difference.
TEST(RedrawCheck, APixelNoViewWouldDrawIsFound)
{
	Session session({Zeros(20)}, kTestFace);
	ASSERT_TRUE(session.Ready());
	ASSERT_EQ(session.Run({"press hex 3", "release hex 3"}), "");
	{
		HostWindow* window = session.Window();
		window->Lock();
		BView* view = window->DumpView();
		view->SetHighColor(255, 0, 0);
		view->FillRect(BRect(200, 100, 203, 101));
		window->Unlock();
	}
	const std::string error = session.Run({"wait 10ms"});
	EXPECT_NE(error.find("line 1: the window differs from a full redraw"), std::string::npos)
	    << error;
}

} // namespace
