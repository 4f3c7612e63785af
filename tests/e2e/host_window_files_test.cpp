// The host window on items from two files, a resource file laid out
// otherwise than reshost writes it and a raw file: the list groups the items
// under their files' paths, the status line names the shown item's file,
// a save with nothing changed writes nothing and says so, a notice goes
// when what it says stops being true, and the status line shows the notice
// whole at any width, before the description cut to what fits.

#include <gtest/gtest.h>

#include <InterfaceDefs.h>

#include <sys/stat.h>

#include <filesystem>
#include <random>

#include "HostWindowFixture.h"
#include "ProgramRunner.h"

namespace fs = std::filesystem;

namespace {

const char kDown[] = {B_DOWN_ARROW, '\0'};
const char kBackspace[] = {B_BACKSPACE, '\0'};

class HostWindowFilesTest : public HostWindowFixture
{
protected:
	void SetUp() override
	{
		PlatformTesting::UseTestFace();
		// Eight bytes after the resource file's end: its items read the same,
		// but it is not laid out as reshost writes it.
		std::string resources = ProgramRunner::Contents(RESOURCE_SAMPLES_DIR "/x86.rsrc");
		if (resources.empty())
			GTEST_SKIP() << "no resource samples at " RESOURCE_SAMPLES_DIR;
		fResourcePath = fRunner.MakeFile("x86.rsrc", resources + std::string(8, '\0'));
		fRawPath = fRunner.MakeFile("raw.bin", "wxyz");
		int32 id = 1;
		for (const std::string& path : {fResourcePath, fRawPath}) {
			DocumentFile file(path);
			ASSERT_EQ(file.Read(1 << 20), B_OK) << file.ErrorMessage();
			file.AddItemsTo(fDocument, id++);
			fFiles.push_back(std::move(file));
		}
		ASSERT_NO_FATAL_FAILURE(LoadAddon());
		fWindows.SetProgramQuit([]() {});
		fWindow = Open();
		ASSERT_NE(fWindow, nullptr);
	}

	std::vector<std::string> Rows()
	{
		BAutolock lock(fWindow);
		std::vector<std::string> rows;
		for (int32 row = 0; row < fWindow->ItemList()->CountItems(); row++)
			rows.push_back(static_cast<BStringItem*>(fWindow->ItemList()->ItemAt(row))->Text());
		return rows;
	}

	void ClickRow(int32 row)
	{
		BPoint where;
		{
			BAutolock lock(fWindow);
			BListView* list = fWindow->ItemList();
			where = list->ConvertToWindow(list->ItemFrame(row).LeftTop() + BPoint(5, 5));
		}
		PlatformTesting::PostAndWait(fWindow, PlatformTesting::MakeMouseDown(where));
		PlatformTesting::PostAndWait(fWindow, PlatformTesting::MakeMouseUp(where));
	}

	void Resize(float width)
	{
		{
			BAutolock lock(fWindow);
			fWindow->ResizeTo(width, fWindow->Bounds().Height());
		}
		PlatformTesting::WaitUntilIdle(fWindow);
	}

	std::string Status() { return HostWindowFixture::Status(fWindow); }

	ProgramRunner fRunner;
	std::string fResourcePath;
	std::string fRawPath;
	HostWindow* fWindow = NULL;
};

} // namespace

TEST_F(HostWindowFilesTest, TheListGroupsTheItemsUnderTheirFiles)
{
	Resize(1200);
	// A file's row is its path, or the path's end after an ellipsis.
	auto pathEnd = [](const std::string& row, const std::string& path) {
		const std::string ellipsis = "\xE2\x80\xA6";
		if (row == path)
			return true;
		return row.rfind(ellipsis, 0) == 0 && row.size() > ellipsis.size() + 4 &&
		       path.size() >= row.size() - ellipsis.size() &&
		       path.compare(path.size() - (row.size() - ellipsis.size()), std::string::npos, row,
		                    ellipsis.size()) == 0;
	};
	std::vector<std::string> rows = Rows();
	ASSERT_EQ(rows.size(), 6u);
	EXPECT_TRUE(pathEnd(rows[0], fResourcePath)) << rows[0];
	EXPECT_TRUE(pathEnd(rows[4], fRawPath)) << rows[4];
	rows[0] = fResourcePath;
	rows[4] = fRawPath;
	EXPECT_EQ(rows, (std::vector<std::string>{fResourcePath, "1 CSTR 74 \"a string resource\" 35",
	                                          "2 LONG 17 \"just a resource\" 4",
	                                          "3 MIMS 29 \"another resource\" 31", fRawPath,
	                                          "4 RAWT 2 \"raw.bin\" 4"}));
	EXPECT_EQ(Status(), "Item 1 of 4: type CSTR, id 74, \"a string resource\", 35 bytes, in " +
	                        fs::absolute(fResourcePath).string() +
	                        " (x86 resource file, 3 resources)");

	// A file's row shows nothing; the arrow keys step over it.
	ClickRow(0);
	EXPECT_EQ(fWindow->CurrentItem(), 0);
	ClickRow(3);
	EXPECT_EQ(fWindow->CurrentItem(), 2);
	Key(fWindow, kDown);
	EXPECT_EQ(fWindow->CurrentItem(), 3);
	EXPECT_EQ(Status(), "Item 4 of 4: type RAWT, id 2, \"raw.bin\", 4 bytes, in " +
	                        fs::absolute(fRawPath).string() +
	                        " (no resource file: the file's bytes as one item)");
}

TEST_F(HostWindowFilesTest, ASaveWithNothingChangedWritesNothing)
{
	struct stat before;
	ASSERT_EQ(stat(fResourcePath.c_str(), &before), 0);
	const std::string bytes = ProgramRunner::Contents(fResourcePath);

	// A byte typed and taken back again: the items are as read.
	Key(fWindow, "4");
	Key(fWindow, "1");
	Key(fWindow, kBackspace);
	Key(fWindow, "s", B_COMMAND_KEY);
	EXPECT_EQ(Status().rfind("No changes to save - Item 1 of 4", 0), 0u) << Status();
	EXPECT_NE(Title(fWindow).front(), '*') << Title(fWindow);
	struct stat after;
	ASSERT_EQ(stat(fResourcePath.c_str(), &after), 0);
	EXPECT_EQ(after.st_ino, before.st_ino);
	EXPECT_EQ(ProgramRunner::Contents(fResourcePath), bytes);

	// A change is saved, and only to the file it is in.
	const std::string raw = ProgramRunner::Contents(fRawPath);
	Key(fWindow, "4");
	Key(fWindow, "1");
	Key(fWindow, "s", B_COMMAND_KEY);
	EXPECT_EQ(Status().rfind("Saved - Item 1 of 4", 0), 0u) << Status();
	EXPECT_NE(ProgramRunner::Contents(fResourcePath), bytes);
	EXPECT_EQ(ProgramRunner::Contents(fRawPath), raw);
}

// Each notice with what ends it, and what does not: the notice stays
// through the first input and is gone after the second.
TEST_F(HostWindowFilesTest, ANoticeGoesWhenItStopsBeingTrue)
{
	HostWindow* other = Open();
	ASSERT_NE(other, nullptr);
	auto inOther = [this, other](const char* key, int32 modifiers) {
		Key(other, key, modifiers);
		PlatformTesting::WaitUntilIdle(fWindow);
	};
	auto here = [this](const char* key, int32 modifiers) {
		Key(fWindow, key, modifiers);
		PlatformTesting::WaitUntilIdle(fWindow);
	};
	struct Case
	{
		const char* notice;
		std::function<void()> make;
		std::function<void()> keep;
		std::function<void()> end;
	} cases[] = {
	    {"Nothing to undo", [&]() { here("z", B_COMMAND_KEY); }, [&]() {},
	     [&]() { inOther("7", 0), inOther("7", 0); }},
	    {"Saved", [&]() { here("s", B_COMMAND_KEY); }, [&]() {},
	     [&]() { inOther("4", 0), inOther("2", 0); }},
	    {"Unsaved changes: press Ctrl+Q again to quit", [&]() { here("q", B_COMMAND_KEY); },
	     [&]() { inOther("5", 0), inOther("5", 0); }, [&]() { inOther("s", B_COMMAND_KEY); }},
	    {"Nothing to redo", [&]() { here("z", B_COMMAND_KEY | B_SHIFT_KEY); }, [&]() {},
	     [&]() { inOther("z", B_COMMAND_KEY); }},
	};
	Resize(1200);
	for (const Case& entry : cases) {
		entry.make();
		EXPECT_EQ(Status().rfind(std::string(entry.notice) + " - Item", 0), 0u) << Status();
		entry.keep();
		EXPECT_EQ(Status().rfind(std::string(entry.notice) + " - Item", 0), 0u)
		    << entry.notice << ": " << Status();
		entry.end();
		EXPECT_EQ(Status().rfind("Item 1 of 4", 0), 0u) << entry.notice << ": " << Status();
		EXPECT_EQ(Title(fWindow).find(entry.notice), std::string::npos) << Title(fWindow);
	}
}

// At random widths the notice comes first and whole; the description after
// it is whole when it fits, else cut: the path loses its start first, then
// the item its end; the line never runs past the status line's width.
TEST_F(HostWindowFilesTest, TheStatusLineShowsTheNoticeWholeAtAnyWidth)
{
	Key(fWindow, "4");
	Key(fWindow, "1");
	PlatformTesting::PostAndWait(fWindow, BMessage(B_QUIT_REQUESTED));
	const std::string notice = "Unsaved changes: close again to quit without saving - ";
	const std::string item = "Item 1 of 4: type CSTR, id 74, \"a string resource\", 36 bytes";
	const std::string path = fs::absolute(fResourcePath).string();
	const std::string kind = " (x86 resource file, 3 resources)";
	const std::string ellipsis = "\xE2\x80\xA6";
	std::mt19937 random(7);
	for (int round = 0; round < 40; round++) {
		Resize(float(300 + random() % 900));
		BAutolock lock(fWindow);
		BStringView* line = fWindow->StatusLine();
		const std::string status = line->Text();
		const float width = line->Bounds().Width() + 1;
		// Without room for any of the description, the notice alone.
		ASSERT_EQ((status + " - ").rfind(notice, 0), 0u) << status;
		EXPECT_LE(line->StringWidth(status.c_str()), width) << status;
		const std::string whole = notice + item + ", in " + path + kind;
		if (line->StringWidth(whole.c_str()) <= width)
			EXPECT_EQ(status, whole);
		else if (status.rfind(notice + item + ", in ", 0) == 0) {
			// The kind of file stays whole after the path's end.
			std::string kept = status.substr(notice.size() + item.size() + 5);
			ASSERT_GE(kept.size(), kind.size()) << status;
			EXPECT_EQ(kept.substr(kept.size() - kind.size()), kind) << status;
			kept.resize(kept.size() - kind.size());
			ASSERT_EQ(kept.rfind(ellipsis, 0), 0u) << status;
			EXPECT_EQ(path.substr(path.size() - (kept.size() - ellipsis.size())),
			          kept.substr(ellipsis.size()));
		} else if (status.size() > notice.size()) {
			// The item whole without the path, or cut.
			std::string kept = status.substr(notice.size());
			if (kept != item) {
				ASSERT_GE(kept.size(), ellipsis.size()) << status;
				EXPECT_EQ(kept.substr(kept.size() - ellipsis.size()), ellipsis) << status;
				kept.resize(kept.size() - ellipsis.size());
				EXPECT_EQ(item.substr(0, kept.size()), kept) << status;
			}
		}
	}
}
