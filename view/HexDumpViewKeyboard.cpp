// HexDumpView: keys. Arrows move or extend the selection; in the hex column a
// byte is typed as two hex digits, the first of which already inserts it; in
// the character column printable characters are typed; Backspace and Delete
// remove bytes. Every change is one of the editor's edit primitives, which
// change the working copy and then the host's item under its write lock.

#include "HexDumpView.h"

#include <Errors.h>
#include <InterfaceDefs.h>
#include <Looper.h>
#include <Message.h>
#include <SupportDefs.h>
#include <View.h>
#include <Window.h>

#include <ctype.h>

#include <algorithm>

#include "HexDumpFullEditor.h"

namespace {

const char* const kTypingUndoName = "typing";
const char* const kDeleteUndoName = "delete";

const int32 kLineStep = 16;

// The value of a hex digit, or -1 for any other byte.
int32 HexDigitValue(char c)
{
	if (c >= '0' && c <= '9')
		return c - '0';
	if (c >= 'a' && c <= 'f')
		return c - 'a' + 10;
	if (c >= 'A' && c <= 'F')
		return c - 'A' + 10;
	return -1;
}

} // namespace

void HexDumpView::KeyDown(const char* bytes, int32 numBytes)
{
	// Characters of more than one byte have no place in either column.
	if (numBytes != 1)
		return;

	int32 modifiers = 0;
	BMessage* message = Window() != NULL ? Window()->CurrentMessage() : NULL;
	if (message != NULL && message->FindInt32("modifiers", &modifiers) != B_OK)
		modifiers = 0;

	const bool shift = (modifiers & B_SHIFT_KEY) != 0;
	const bool keepStart = shift && fAnchor == fSelStart;
	const bool keepEnd = shift && fAnchor == fSelEnd;
	const bool empty = fSelStart == fSelEnd;

	int32 step = 0;
	switch (bytes[0]) {
	case B_HOME:
	case B_END:
	case B_INSERT:
	case B_ENTER:
	case B_PAGE_UP:
	case B_PAGE_DOWN:
	case B_FUNCTION_KEY:
		return;

	case B_TAB:
	case B_ESCAPE:
		BView::KeyDown(bytes, numBytes);
		return;

	case B_BACKSPACE:
	case B_DELETE:
		if (empty) {
			// The byte before the cursor, or the one at it. Nothing lies
			// before offset 0 or at the end: the key then only ends a
			// half-typed byte.
			uint32 from = fSelStart;
			uint32 to = fSelStart;
			if (bytes[0] == B_BACKSPACE) {
				if (from > 0)
					from--;
			} else if (to < fEditor->Size())
				to++;
			if (from == to) {
				// The bar of a half-typed byte stands between its digits:
				// take it off before it moves back in front of the byte.
				if (fLowNibble) {
					const bool shown = fCursorOn;
					HideCursor();
					fLowNibble = false;
					if (shown)
						ShowCursor();
				}
				return;
			}
			// Selected as Select selects, but not drawn: Delete draws every
			// line from the byte on straight away.
			SelectCommon(from, to, false);
		}
		Delete(kDeleteUndoName);
		return;

	case B_LEFT_ARROW:
		step = -1;
		break;
	case B_RIGHT_ARROW:
		step = 1;
		break;
	case B_UP_ARROW:
		step = -kLineStep;
		break;
	case B_DOWN_ARROW:
		step = kLineStep;
		break;

	default:
		if (fHexActive) {
			int32 digit = HexDigitValue(bytes[0]);
			if (digit >= 0)
				InsertHexDigit(uint32(digit), kTypingUndoName);
		} else if (isprint((unsigned char)bytes[0]))
			Insert(bytes, 1, kTypingUndoName);
		return;
	}

	// An arrow without Shift on a selection collapses it to the end it
	// points to and goes no further.
	if (!shift && !empty) {
		if (step < 0)
			Select(fSelStart, fSelStart);
		else
			Select(fSelEnd, fSelEnd);
		return;
	}
	BumpSelectionBy(step, keepStart, keepEnd);
}

void HexDumpView::Insert(const char* bytes, uint32 length, const char* undoName)
{
	const uint32 start = fSelStart;
	const uint32 end = fSelEnd;

	if (int32(end - start) > 0)
		fEditor->DeleteRange(start, end, undoName, false);
	fEditor->Insert(start, bytes, length, undoName, false);

	fSelStart = fSelEnd = start + length;
	KeepAnchorInData();

	if (length == end - start)
		DrawRange(start, start + length, true, false);
	else
		DrawRange(start, fEditor->Size(), true, false);
	UpdateScrollBars();
	ScrollToOffset(fSelStart);
}

void HexDumpView::Delete(const char* undoName)
{
	const uint32 start = fSelStart;
	const uint32 end = fSelEnd;
	if (start == end)
		return;

	fEditor->DeleteRange(start, end, undoName, false);
	fSelEnd = start;
	KeepAnchorInData();

	DrawRange(start, fEditor->Size(), true, true);
	UpdateScrollBars();
	ScrollToOffset(fSelStart);
}

void HexDumpView::InsertHexDigit(uint32 digit, const char* undoName)
{
	const uint32 start = fSelStart;
	const uint32 end = fSelEnd;

	if (!fLowNibble) {
		// The digit becomes the high half of a new byte; the cursor stays
		// in front of it until the second digit completes it.
		const char byte = char((digit * 16) & 0xff);
		if (int32(end - start) > 0)
			fEditor->DeleteRange(start, end, undoName, false);
		fEditor->Insert(start, &byte, 1, undoName, false);

		fSelEnd = fSelStart;
		fLowNibble = true;
		KeepAnchorInData();

		if (end - start == 1)
			DrawRange(start, end, true, false);
		else
			DrawRange(start, fEditor->Size(), true, false);
		UpdateScrollBars();
		ScrollToOffset(fSelStart);
		return;
	}

	fLowNibble = false;
	const uint32 size = fEditor->Size();
	if (start < size) {
		const uchar byte = uchar((uchar(fEditor->Data()[start]) + digit) & 0xff);
		fEditor->ModifyCharAt(start, byte, undoName, false);
		fSelStart = start + 1;
		fSelEnd = end + 1;
	} else {
		// No byte left at the cursor (the data shrank behind the view's
		// back): nothing is written, and the cursor keeps within the data.
		fSelStart = fSelEnd = size;
	}

	DrawRange(std::min(start, fSelStart), end, true, false);
	ScrollToOffset(fSelStart);
}
