// ViewFixture: the view tests' fixture. Each test opens one ViewHarness on
// bytes of its own; the fixture can give the dump view the focus on opening
// and run the test on the test clock (which keeps the blink out of pictures
// and drawing records), and holds the helpers the view tests share. Used from
// the test's thread; the harness's window runs the view.
#ifndef VIEW_FIXTURE_H
#define VIEW_FIXTURE_H

#include <gtest/gtest.h>

#include <OS.h>

#include <PlatformTesting.h>

#include <memory>
#include <string>

#include "DrawingChecks.h"
#include "HexDumpView.h"
#include "ViewHarness.h"

// Bytes first, first + 1, ..., size of them.
inline std::string Counting(size_t size, int first = 0)
{
	std::string bytes;
	for (size_t i = 0; i < size; i++)
		bytes += char(first + i);
	return bytes;
}

class ViewFixture : public ::testing::Test
{
protected:
	enum Focus
	{
		kUnfocused,
		kFocused
	};

	// testClock 0 leaves the real clock running.
	explicit ViewFixture(Focus focus = kUnfocused, bigtime_t testClock = 0)
	    : fFocus(focus), fTestClock(testClock)
	{
	}

	void SetUp() override
	{
		if (fTestClock != 0)
			PlatformTesting::SetTestClock(fTestClock);
	}

	void TearDown() override
	{
		fHarness.reset();
		if (fTestClock != 0)
			PlatformTesting::UseRealClock();
	}

	void Open(const std::string& bytes)
	{
		fHarness = std::make_unique<ViewHarness>(bytes);
		if (fFocus == kFocused)
			fHarness->Focus();
	}

	HexDumpView* View() { return fHarness->View(); }

	// Selects start to end and lets the redraws run.
	void Select(uint32 start, uint32 end)
	{
		{
			ViewHarness::WindowLock lock(*fHarness);
			View()->Select(start, end);
		}
		fHarness->WaitUntilIdle();
	}

	void ExpectSelection(uint32 start, uint32 end)
	{
		EXPECT_EQ(View()->SelectionStart(), start);
		EXPECT_EQ(View()->SelectionEnd(), end);
	}

	// Whether the byte's cell in each column is filled with the selection
	// grey (its left margin column, clear of glyphs and outline edges).
	bool HexFilled(uint32 offset) { return CellFilled(offset, true); }
	bool AsciiFilled(uint32 offset) { return CellFilled(offset, false); }

	std::unique_ptr<ViewHarness> fHarness;

private:
	bool CellFilled(uint32 offset, bool hex)
	{
		BPoint where;
		{
			ViewHarness::WindowLock lock(*fHarness);
			where = (hex ? View()->OffsetToHexPoint(offset) : View()->OffsetToAsciiPoint(offset)) -
			        BPoint(0, 6);
		}
		return DrawingChecks::SameColor(fHarness->Pixel(where), DrawingChecks::kGrey);
	}

	const Focus fFocus;
	const bigtime_t fTestClock;
};

#endif // VIEW_FIXTURE_H
