// ScriptRunner: carrying out script commands.

#include "ScriptRunner.h"

#include <AppDefs.h>
#include <Font.h>
#include <Message.h>
#include <OS.h>
#include <ScrollBar.h>
#include <View.h>

#include <PlatformTesting.h>

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <numeric>

#include "HexDumpLayout.h"
#include "HostWindow.h"
#include "ItemListing.h"
#include "ScreenText.h"
#include "ScriptParser.h"
#include "WindowGroup.h"

using namespace PlatformTesting;

namespace {

// The length of the UTF-8 character that starts with byte.
size_t CharacterLength(unsigned char byte)
{
	if (byte >= 0xf0)
		return 4;
	if (byte >= 0xe0)
		return 3;
	if (byte >= 0xc0)
		return 2;
	return 1;
}

// The test clock counts no further than this: the windows' pulse times lie
// beyond it, in the same 64 bits.
const bigtime_t kClockLimit = INT64_MAX / 2;

// Pulse periods longer than this are not worth skipping.
const bigtime_t kLongestSkippedPeriod = 3600000000LL;

// What a window shows: its pixels and where its dump is scrolled (a view
// too small to show a line may scroll without a visible change).
struct Look
{
	PixelImage pixels;
	BPoint scroll;

	bool operator==(const Look& other) const
	{
		return pixels == other.pixels && scroll == other.scroll;
	}
};

} // namespace

ScriptRunner::ScriptRunner(WindowGroup& windows, bool testClock, std::ostream& output)
    : fWindows(windows), fNumber(1), fWindow(windows.WindowAt(1)), fTestClock(testClock),
      fOutput(output), fButtons(0), fCheckRedraw(false), fSaveFailures(0), fSaveWarnings(0),
      fWarnedLine(0)
{
}

status_t ScriptRunner::Run(std::istream& input, std::string& error)
{
	const WindowGroup::SaveRecord saves = fWindows.Saves();
	fSaveFailures = saves.failures;
	fSaveWarnings = saves.warnings;
	std::string text;
	for (int32 line = 1; ScriptParser::ReadLine(input, line, text, error); line++) {
		ScriptCommand command;
		ScriptParser::Result result = ScriptParser::ParseLine(text, line, command, error);
		if (result == ScriptParser::kError)
			return B_ERROR;
		if (result == ScriptParser::kEmpty)
			continue;
		if (fWindows.QuitAccepted()) {
			error = "line " + std::to_string(line) + ": the window has already quit";
			return B_ERROR;
		}
		status_t status = Execute(command, error);
		NoteSaves(line);
		if (status != B_OK)
			return B_ERROR;
		if (fCheckRedraw && !fWindows.QuitAccepted() && CheckRedraw(line, error) != B_OK)
			return B_ERROR;
	}
	if (!error.empty())
		return B_ERROR;
	return CheckSaves(error);
}

void ScriptRunner::NoteSaves(int32 line)
{
	const WindowGroup::SaveRecord saves = fWindows.Saves();
	if (saves.failures > fSaveFailures && fSaveError.empty())
		fSaveError = "line " + std::to_string(line) + ": save failed: " + saves.lastFailure;
	fSaveFailures = saves.failures;
	if (saves.warnings > fSaveWarnings) {
		fWarnedLine = line;
		fWarning = saves.lastWarning;
	}
	fSaveWarnings = saves.warnings;
}

status_t ScriptRunner::CheckSaves(std::string& error) const
{
	if (!fSaveError.empty()) {
		error = fSaveError;
		return B_ERROR;
	}
	if (fWarnedLine > 0 && fWindows.Saves().unconfirmed) {
		error = "line " + std::to_string(fWarnedLine) + ": nothing saved: " + fWarning +
		        " (a second save confirms)";
		return B_ERROR;
	}
	return B_OK;
}

status_t ScriptRunner::Address(int32 number, std::string& error)
{
	fNumber = number;
	fWindow = fWindows.WindowAt(number);
	return Addressed(error) != NULL ? B_OK : B_ERROR;
}

HostWindow* ScriptRunner::Addressed(std::string& error) const
{
	if (fWindow != NULL && fWindows.WindowAt(fNumber) == fWindow)
		return fWindow;
	std::string open;
	for (int32 number : fWindows.OpenNumbers())
		open += (open.empty() ? "" : ", ") + std::to_string(number);
	error = "window " + std::to_string(fNumber) +
	        " is not open (open windows: " + (open.empty() ? "none" : open) + ")";
	return NULL;
}

std::string ScriptRunner::WindowName(int32 number) const
{
	if (fWindows.OpenNumbers().size() == 1)
		return "the window";
	return "window " + std::to_string(number);
}

status_t ScriptRunner::CheckRedraw(int32 line, std::string& error)
{
	WaitUntilIdle();
	for (int32 number : fWindows.OpenNumbers()) {
		HostWindow* window = fWindows.WindowAt(number);
		if (window == NULL)
			continue;
		const PixelImage shown = Snapshot(window);
		const PixelImage redrawn = RedrawWhole(window);
		const BRect difference = Difference(shown, redrawn);
		if (!difference.IsValid())
			continue;
		char area[96];
		snprintf(area, sizeof(area), "(%g, %g) to (%g, %g)", difference.left, difference.top,
		         difference.right, difference.bottom);
		error = "line " + std::to_string(line) + ": " + WindowName(number) +
		        " differs from a full redraw in " + area;

		// Both pictures, for a person to compare.
		const char* folder = getenv("TMPDIR");
		const std::string prefix =
		    std::string(folder != NULL ? folder : "/tmp") + "/reshost-redraw-";
		if (WritePNG(shown, (prefix + "shown.png").c_str()) == B_OK &&
		    WritePNG(redrawn, (prefix + "full.png").c_str()) == B_OK)
			error += " (pictures: " + prefix + "shown.png, " + prefix + "full.png)";
		return B_ERROR;
	}
	return B_OK;
}

void ScriptRunner::WaitUntilIdle()
{
	// Posting to a window that has gone is harmless: the kits look loopers
	// up before they touch them. One window's edit posts change notices to
	// the others, which post nothing back.
	if (fWindow != NULL)
		PlatformTesting::WaitUntilIdle(fWindow);
	for (int32 number : fWindows.OpenNumbers()) {
		if (HostWindow* window = fWindows.WindowAt(number))
			PlatformTesting::WaitUntilIdle(window);
	}
}

void ScriptRunner::Post(HostWindow* window, const BMessage& message)
{
	PostAndWait(window, message);
	WaitUntilIdle();
}

BPoint ScriptRunner::ViewPoint(BView* view, const ScriptCommand& command) const
{
	// Points are measured from the visible top-left corner of the view;
	// without one (the window shows no item), from the window's, where the
	// view would stand, in the dump's font.
	if (command.place == ScriptCommand::kAtPoint)
		return command.point + (view != NULL ? view->Bounds().LeftTop() : BPoint(0, 0));
	BFont font(be_fixed_font);
	if (view != NULL)
		view->GetFont(&font);
	font_height height;
	font.GetHeight(&height);
	const float charWidth = font.StringWidth(" ");
	const uint32 group = HexDumpLayout::kDefaultBytesPerGroup;
	BPoint origin =
	    command.place == ScriptCommand::kHexOffset
	        ? HexDumpLayout::HexTextOrigin(command.offset, false, height, charWidth, group)
	        : HexDumpLayout::AsciiTextOrigin(command.offset, height, charWidth, group);
	// The middle of the byte's first digit or of its character, halfway up
	// the glyphs standing on the baseline.
	return origin + BPoint(charWidth / 2, -floorf(height.ascent / 2));
}

BPoint ScriptRunner::WindowPoint(HostWindow* window, const ScriptCommand& command)
{
	window->Lock();
	BView* view = window->DumpView();
	const BPoint where =
	    view != NULL ? view->ConvertToWindow(ViewPoint(view, command)) : ViewPoint(NULL, command);
	window->Unlock();
	return where;
}

void ScriptRunner::ScrollToByte(HostWindow* window, const ScriptCommand& command)
{
	window->Lock();
	BView* view = window->DumpView();
	// Without an item there is nothing to scroll.
	const BPoint point = ViewPoint(view, command);
	if (view != NULL && !view->Bounds().Contains(point)) {
		const BRect bounds = view->Bounds();
		// As a person would, with the scroll bars: down or up until the
		// byte's line is the top one (or the bar's end), across until its
		// column is in the middle (or the bar's end). The bars reach every
		// byte of the data; an offset past its end stays beyond them.
		font_height height;
		view->GetFontHeight(&height);
		const HexDumpLayout::Sizes sizes = HexDumpLayout::ComputeSizes(
		    height, view->StringWidth(" "), HexDumpLayout::kDefaultBytesPerGroup);
		const uint32 line = command.offset / HexDumpLayout::kBytesPerLine;
		BScrollBar* vertical = view->ScrollBar(B_VERTICAL);
		if (vertical != NULL && (point.y < bounds.top || point.y > bounds.bottom))
			vertical->SetValue(line == 0 ? 0 : sizes.BoxTop(sizes.Baseline(line)));
		BScrollBar* horizontal = view->ScrollBar(B_HORIZONTAL);
		if (horizontal != NULL && (point.x < bounds.left || point.x > bounds.right))
			horizontal->SetValue(floorf(point.x - bounds.Width() / 2));
	}
	window->Unlock();
	WaitUntilIdle();
}

void ScriptRunner::AdvanceClock(bigtime_t duration)
{
	// The pulses of one period (twice every window's pulse rate, so that a
	// blinking cursor is back where it was) are delivered one period at a
	// time. Once a period has changed nothing any window shows, no later
	// one will: the rest of the whole periods is skipped, and only the
	// remainder is delivered.
	bigtime_t period = 1;
	for (int32 number : fWindows.OpenNumbers()) {
		HostWindow* window = fWindows.WindowAt(number);
		const bigtime_t rate = window != NULL ? window->PulseRate() : 0;
		if (rate > 0)
			period = std::lcm(period, 2 * rate);
		if (period > kLongestSkippedPeriod)
			break;
	}
	if (period == 1 || period > kLongestSkippedPeriod) {
		AdvanceTestClock(duration);
		return;
	}

	auto looks = [this]() {
		std::vector<Look> looks;
		for (int32 number : fWindows.OpenNumbers()) {
			HostWindow* window = fWindows.WindowAt(number);
			if (window == NULL)
				continue;
			window->Lock();
			const BView* dump = window->DumpView();
			const BPoint scroll = dump != NULL ? dump->Bounds().LeftTop() : BPoint(0, 0);
			window->Unlock();
			looks.push_back({Snapshot(window), scroll});
		}
		return looks;
	};

	bigtime_t left = duration;
	std::vector<Look> before = left >= 2 * period ? looks() : std::vector<Look>();
	while (left > 0) {
		const bigtime_t step = std::min(left, period);
		AdvanceTestClock(step);
		left -= step;
		if (left < period)
			continue;
		std::vector<Look> after = looks();
		if (after == before) {
			const bigtime_t skipped = left / period * period;
			SkipTestClock(skipped);
			left -= skipped;
		}
		before = std::move(after);
	}
}

status_t ScriptRunner::Execute(const ScriptCommand& command, std::string& error)
{
	const std::string where = "line " + std::to_string(command.line) + ": ";
	std::string problem;
	if (command.kind == ScriptCommand::kWindow) {
		if (Address(command.number, problem) != B_OK) {
			error = where + problem;
			return B_ERROR;
		}
		return B_OK;
	}
	HostWindow* window = Addressed(problem);
	if (window == NULL) {
		error = where + problem;
		return B_ERROR;
	}
	switch (command.kind) {
	case ScriptCommand::kKey:
		Post(window, MakeKeyDown(command.bytes.c_str(), command.modifiers));
		break;

	case ScriptCommand::kType:
		for (size_t i = 0; i < command.bytes.size();) {
			size_t length = CharacterLength(static_cast<unsigned char>(command.bytes[i]));
			Post(window, MakeKeyDown(command.bytes.substr(i, length).c_str()));
			i += length;
		}
		break;

	case ScriptCommand::kPress:
		// A press aims at what is on screen: a byte off it is scrolled in
		// first, or the press would land on another view, or nowhere.
		if (command.place != ScriptCommand::kAtPoint)
			ScrollToByte(window, command);
		fButtons = B_PRIMARY_MOUSE_BUTTON;
		Post(window, MakeMouseDown(WindowPoint(window, command), fButtons));
		break;

	case ScriptCommand::kMove:
		Post(window, MakeMouseMoved(WindowPoint(window, command), fButtons));
		break;

	case ScriptCommand::kRelease:
		fButtons = 0;
		Post(window, MakeMouseUp(WindowPoint(window, command)));
		break;

	case ScriptCommand::kWheel: {
		BMessage wheel(B_MOUSE_WHEEL_CHANGED);
		wheel.AddInt64("when", system_time());
		wheel.AddFloat("be:wheel_delta_x", command.deltaX);
		wheel.AddFloat("be:wheel_delta_y", command.deltaY);
		Post(window, wheel);
		break;
	}

	case ScriptCommand::kFocus: {
		// The dump's; a window that shows no item has none to focus.
		window->Lock();
		if (window->DumpView() != NULL)
			window->DumpView()->MakeFocus(command.on);
		window->Unlock();
		WaitUntilIdle();
		break;
	}

	case ScriptCommand::kActivate: {
		BMessage activation(B_WINDOW_ACTIVATED);
		activation.AddBool("active", command.on);
		Post(window, activation);
		break;
	}

	case ScriptCommand::kWait:
		if (fTestClock) {
			if (system_time() > kClockLimit - command.duration) {
				error = where + "the waits add up to more than the clock counts (2^62 "
				                "microseconds)";
				return B_ERROR;
			}
			AdvanceClock(command.duration);
		} else {
			snooze(command.duration);
			WaitUntilIdle();
		}
		break;

	case ScriptCommand::kResize:
		window->Lock();
		window->ResizeTo(float(command.width - 1), float(command.height - 1));
		window->Unlock();
		WaitUntilIdle();
		break;

	case ScriptCommand::kDrop: {
		for (const std::string& path : command.paths) {
			if (access(path.c_str(), F_OK) != 0) {
				error =
				    where + "cannot drop " + ItemListing::Escaped(path) + ": " + strerror(errno);
				return B_ERROR;
			}
		}
		// On the dump's middle, as a person drops files on the window.
		window->Lock();
		BView* view = window->DumpView();
		const BPoint middle =
		    view != NULL
		        ? view->ConvertToWindow(BPoint((view->Bounds().left + view->Bounds().right) / 2,
		                                       (view->Bounds().top + view->Bounds().bottom) / 2))
		        : BPoint(window->Bounds().Width() / 2, window->Bounds().Height() / 2);
		BMessage drop(B_SIMPLE_DATA);
		const status_t status = MakeFileDrop(window, middle, command.paths, &drop);
		window->Unlock();
		if (status != B_OK) {
			error = where + "cannot drop the files: the kits refuse their paths";
			return B_ERROR;
		}
		Post(window, drop);
		break;
	}

	case ScriptCommand::kHostCommand:
		Post(window, command.message);
		break;
	case ScriptCommand::kClose:
		Post(window, BMessage(B_QUIT_REQUESTED));
		break;

	case ScriptCommand::kSnapshot:
		if (WriteSnapshot(command.path, problem) != B_OK) {
			error = where + problem;
			return B_ERROR;
		}
		break;

	case ScriptCommand::kText: {
		std::vector<std::string> lines;
		if (DumpText(lines, problem) != B_OK) {
			error = where + problem;
			return B_ERROR;
		}
		for (const std::string& line : lines)
			fOutput << line << '\n';
		fOutput.flush();
		break;
	}

	case ScriptCommand::kTitle:
		window->Lock();
		fOutput << window->Title() << '\n';
		window->Unlock();
		fOutput.flush();
		break;

	case ScriptCommand::kWindow:
		break;
	}
	return B_OK;
}

status_t ScriptRunner::DumpText(std::vector<std::string>& lines, std::string& error)
{
	HostWindow* window = Addressed(error);
	if (window == NULL)
		return B_ERROR;
	// The whole view is drawn afresh while its drawing is recorded, so the
	// text is what the view draws for its present state.
	DrawingRecord record;
	window->Lock();
	BView* view = window->DumpView();
	if (view == NULL) {
		window->Unlock();
		error = "the window shows no item";
		return B_ERROR;
	}
	view->Invalidate();
	BRect visible = view->Bounds();
	font_height height;
	view->GetFontHeight(&height);
	float charWidth = view->StringWidth(" ");
	window->Unlock();
	// The other windows are idle after every command: only this one draws.
	PlatformTesting::WaitUntilIdle(window);
	lines = ScreenText::Lines(record.Calls(), view, visible, height, charWidth);
	return B_OK;
}

status_t ScriptRunner::WriteSnapshot(const std::string& path, std::string& error)
{
	HostWindow* window = Addressed(error);
	if (window == NULL)
		return B_ERROR;
	WaitUntilIdle();
	PixelImage image = Snapshot(window);
	if (WritePNG(image, path.c_str()) != B_OK) {
		error = "cannot write the snapshot " + path;
		return B_ERROR;
	}
	return B_OK;
}
