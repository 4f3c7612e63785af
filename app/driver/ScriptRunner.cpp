// ScriptRunner: carrying out script commands.

#include "ScriptRunner.h"

#include <AppDefs.h>
#include <Message.h>
#include <OS.h>
#include <View.h>

#include <PlatformTesting.h>

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include "HexDumpLayout.h"
#include "HostWindow.h"
#include "ScreenText.h"
#include "ScriptParser.h"

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

} // namespace

ScriptRunner::ScriptRunner(HostWindow* window, bool testClock, std::ostream& output)
    : fWindow(window), fTestClock(testClock), fOutput(output), fButtons(0), fCheckRedraw(false)
{
}

status_t ScriptRunner::Run(std::istream& input, std::string& error)
{
	std::string text;
	for (int32 line = 1; std::getline(input, text); line++) {
		ScriptCommand command;
		ScriptParser::Result result = ScriptParser::ParseLine(text, line, command, error);
		if (result == ScriptParser::kError)
			return B_ERROR;
		if (result == ScriptParser::kEmpty)
			continue;
		if (fWindow->QuitAccepted()) {
			error = "line " + std::to_string(line) + ": the window has already quit";
			return B_ERROR;
		}
		if (Execute(command, error) != B_OK)
			return B_ERROR;
		if (fCheckRedraw && !fWindow->QuitAccepted() && CheckRedraw(line, error) != B_OK)
			return B_ERROR;
	}
	return B_OK;
}

status_t ScriptRunner::CheckRedraw(int32 line, std::string& error)
{
	WaitUntilIdle();
	const PixelImage shown = Snapshot(fWindow);
	const PixelImage redrawn = RedrawWhole(fWindow);
	const BRect difference = Difference(shown, redrawn);
	if (!difference.IsValid())
		return B_OK;
	char area[96];
	snprintf(area, sizeof(area), "(%g, %g) to (%g, %g)", difference.left, difference.top,
	         difference.right, difference.bottom);
	error = "line " + std::to_string(line) + ": the window differs from a full redraw in " + area;

	// Both pictures, for a person to compare.
	const char* folder = getenv("TMPDIR");
	const std::string prefix = std::string(folder != NULL ? folder : "/tmp") + "/reshost-redraw-";
	if (WritePNG(shown, (prefix + "shown.png").c_str()) == B_OK &&
	    WritePNG(redrawn, (prefix + "full.png").c_str()) == B_OK)
		error += " (pictures: " + prefix + "shown.png, " + prefix + "full.png)";
	return B_ERROR;
}

void ScriptRunner::WaitUntilIdle()
{
	PlatformTesting::WaitUntilIdle(fWindow);
}

void ScriptRunner::Post(const BMessage& message)
{
	PostAndWait(fWindow, message);
}

BPoint ScriptRunner::WindowPoint(const ScriptCommand& command)
{
	fWindow->Lock();
	BView* view = fWindow->DumpView();
	// Points are measured from the visible top-left corner of the view.
	BPoint where = command.point + view->Bounds().LeftTop();
	if (command.place != ScriptCommand::kAtPoint) {
		font_height height;
		view->GetFontHeight(&height);
		const float charWidth = view->StringWidth(" ");
		const uint32 group = HexDumpLayout::kDefaultBytesPerGroup;
		BPoint origin =
		    command.place == ScriptCommand::kHexOffset
		        ? HexDumpLayout::HexTextOrigin(command.offset, false, height, charWidth, group)
		        : HexDumpLayout::AsciiTextOrigin(command.offset, height, charWidth, group);
		// The middle of the byte's first digit or of its character, halfway
		// up the glyphs standing on the baseline.
		where = origin + BPoint(charWidth / 2, -floorf(height.ascent / 2));
	}
	where = view->ConvertToWindow(where);
	fWindow->Unlock();
	return where;
}

status_t ScriptRunner::Execute(const ScriptCommand& command, std::string& error)
{
	const std::string where = "line " + std::to_string(command.line) + ": ";
	switch (command.kind) {
	case ScriptCommand::kKey:
		Post(MakeKeyDown(command.bytes.c_str(), command.modifiers));
		break;

	case ScriptCommand::kType:
		for (size_t i = 0; i < command.bytes.size();) {
			size_t length = CharacterLength(static_cast<unsigned char>(command.bytes[i]));
			Post(MakeKeyDown(command.bytes.substr(i, length).c_str()));
			i += length;
		}
		break;

	case ScriptCommand::kPress:
		fButtons = B_PRIMARY_MOUSE_BUTTON;
		Post(MakeMouseDown(WindowPoint(command), fButtons));
		break;

	case ScriptCommand::kMove:
		Post(MakeMouseMoved(WindowPoint(command), fButtons));
		break;

	case ScriptCommand::kRelease:
		fButtons = 0;
		Post(MakeMouseUp(WindowPoint(command)));
		break;

	case ScriptCommand::kWheel: {
		BMessage wheel(B_MOUSE_WHEEL_CHANGED);
		wheel.AddInt64("when", system_time());
		wheel.AddFloat("be:wheel_delta_x", command.deltaX);
		wheel.AddFloat("be:wheel_delta_y", command.deltaY);
		Post(wheel);
		break;
	}

	case ScriptCommand::kFocus: {
		fWindow->Lock();
		fWindow->DumpView()->MakeFocus(command.on);
		fWindow->Unlock();
		WaitUntilIdle();
		break;
	}

	case ScriptCommand::kActivate: {
		BMessage activation(B_WINDOW_ACTIVATED);
		activation.AddBool("active", command.on);
		Post(activation);
		break;
	}

	case ScriptCommand::kWait:
		if (fTestClock)
			AdvanceTestClock(command.duration);
		else {
			snooze(command.duration);
			WaitUntilIdle();
		}
		break;

	case ScriptCommand::kResize:
		fWindow->Lock();
		fWindow->ResizeTo(float(command.width - 1), float(command.height - 1));
		fWindow->Unlock();
		WaitUntilIdle();
		break;

	case ScriptCommand::kSave:
		Post(BMessage(kMsgSave));
		break;
	case ScriptCommand::kUndo:
		Post(BMessage(kMsgUndo));
		break;
	case ScriptCommand::kRedo:
		Post(BMessage(kMsgRedo));
		break;
	case ScriptCommand::kNextItem:
		Post(BMessage(kMsgNextItem));
		break;
	case ScriptCommand::kPreviousItem:
		Post(BMessage(kMsgPreviousItem));
		break;
	case ScriptCommand::kQuit:
		Post(BMessage(kMsgQuit));
		break;

	case ScriptCommand::kSnapshot: {
		std::string snapshotError;
		if (WriteSnapshot(command.path, snapshotError) != B_OK) {
			error = where + snapshotError;
			return B_ERROR;
		}
		break;
	}

	case ScriptCommand::kText:
		for (const std::string& line : DumpText())
			fOutput << line << '\n';
		fOutput.flush();
		break;

	case ScriptCommand::kTitle:
		fWindow->Lock();
		fOutput << fWindow->Title() << '\n';
		fWindow->Unlock();
		fOutput.flush();
		break;
	}
	return B_OK;
}

std::vector<std::string> ScriptRunner::DumpText()
{
	// The whole view is drawn afresh while its drawing is recorded, so the
	// text is what the view draws for its present state.
	DrawingRecord record;
	fWindow->Lock();
	BView* view = fWindow->DumpView();
	view->Invalidate();
	BRect visible = view->Bounds();
	font_height height;
	view->GetFontHeight(&height);
	float charWidth = view->StringWidth(" ");
	fWindow->Unlock();
	WaitUntilIdle();
	return ScreenText::Lines(record.Calls(), view, visible, height, charWidth);
}

status_t ScriptRunner::WriteSnapshot(const std::string& path, std::string& error)
{
	WaitUntilIdle();
	PixelImage image = Snapshot(fWindow);
	if (WritePNG(image, path.c_str()) != B_OK) {
		error = "cannot write the snapshot " + path;
		return B_ERROR;
	}
	return B_OK;
}
