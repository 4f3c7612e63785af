// EditingModel: the dump view's editing rules on their own, as a user sees
// them: the bytes, the selection and its anchor, the active column, the
// half-typed byte, mouse tracking and the focus. Written from the rules of
// keys and mouse, not from the view's code, so that a random stream fed to
// both shows where the view departs from them. Plain data; test support.
#ifndef EDITING_MODEL_H
#define EDITING_MODEL_H

#include <InterfaceDefs.h>
#include <SupportDefs.h>

#include <ctype.h>

#include <algorithm>
#include <string>
#include <utility>

struct EditingModel
{
	std::string bytes;
	uint32 selStart = 0;
	uint32 selEnd = 0;
	uint32 anchor = 0;
	bool hexActive = true;
	bool lowNibble = false;
	bool tracking = false;
	bool focus = false;

	uint32 Size() const { return uint32(bytes.size()); }

	// --- Selection ---------------------------------------------------------

	void Select(uint32 start, uint32 end)
	{
		if (start == selStart && end == selEnd)
			return;
		if (start > end)
			std::swap(start, end);
		lowNibble = false;
		selStart = start;
		selEnd = end;
		if (start == end)
			anchor = end;
	}

	void Bump(int32 step, bool keepStart, bool keepEnd)
	{
		if (keepStart)
			keepEnd = false;
		int64 moved = int64(keepEnd ? selStart : selEnd) + step;
		moved = std::clamp(moved, int64(0), int64(Size()));
		Select(keepStart ? selStart : uint32(moved), keepEnd ? selEnd : uint32(moved));
	}

	// --- Mouse: pos is the byte boundary under the pointer (0 to Size()),
	// hexSide whether the pointer is on the hex column's side.

	void Press(uint32 pos, bool hexSide)
	{
		if (!focus) {
			// The click that brings the focus only brings the focus.
			focus = true;
			return;
		}
		anchor = pos;
		tracking = true;
		Track(pos, hexSide, true);
	}

	void Move(uint32 pos) { Track(pos, hexActive, false); }

	void Release(uint32 pos)
	{
		Track(pos, hexActive, false);
		tracking = false;
	}

	void Track(uint32 pos, bool hexSide, bool chooseColumn)
	{
		if (!tracking)
			return;
		const uint32 start = selStart;
		const uint32 end = selEnd;
		if (chooseColumn && hexSide != hexActive) {
			hexActive = hexSide;
			selStart = selEnd = anchor;
		} else if (pos < anchor && pos != start) {
			selStart = pos;
			selEnd = anchor;
		} else if (pos > anchor && pos != end) {
			selStart = anchor;
			selEnd = pos;
		} else if (pos == anchor && (start != anchor || end != anchor))
			selStart = selEnd = anchor;
		if (selStart != start || selEnd != end)
			lowNibble = false;
	}

	// --- Keys ------------------------------------------------------------

	// Keys reach the view only while it is the focus.
	void Key(char key, bool shift)
	{
		if (!focus)
			return;
		const bool keepStart = shift && anchor == selStart;
		const bool keepEnd = shift && anchor == selEnd;
		const bool empty = selStart == selEnd;
		int32 step = 0;
		switch (key) {
		case B_BACKSPACE:
		case B_DELETE:
			if (empty) {
				uint32 from = selStart;
				uint32 to = selStart;
				if (key == B_BACKSPACE) {
					if (from > 0)
						from--;
				} else if (to < Size())
					to++;
				if (from == to) {
					lowNibble = false;
					return;
				}
				Select(from, to);
			}
			Delete();
			return;
		case B_LEFT_ARROW:
			step = -1;
			break;
		case B_RIGHT_ARROW:
			step = 1;
			break;
		case B_UP_ARROW:
			step = -16;
			break;
		case B_DOWN_ARROW:
			step = 16;
			break;
		case B_HOME:
		case B_END:
		case B_INSERT:
		case B_ENTER:
		case B_PAGE_UP:
		case B_PAGE_DOWN:
		case B_FUNCTION_KEY:
		case B_TAB:
		case B_ESCAPE:
			return;
		default:
			if (hexActive) {
				const int32 digit = HexDigit(key);
				if (digit >= 0)
					InsertHexDigit(uint32(digit));
			} else if (isprint((unsigned char)key))
				Insert(std::string(1, key));
			return;
		}
		if (!shift && !empty) {
			if (step < 0)
				Select(selStart, selStart);
			else
				Select(selEnd, selEnd);
			return;
		}
		Bump(step, keepStart, keepEnd);
	}

	// --- Changes from the host -------------------------------------------

	// The same item changed under the editor (another editor wrote to it,
	// an undo): the bytes before and after the changed run are the ones the
	// old and new bytes share, read at the end first, then at the start of
	// what is left. What lay after the run moves with its bytes; what lay
	// inside stays within the new run; a half-typed byte the run touches
	// ends. Bytes put in right at a boundary go after a selection's end and
	// in front of any other boundary.
	void HostChanged(const std::string& itemBytes)
	{
		const size_t shorter = std::min(bytes.size(), itemBytes.size());
		const size_t common =
		    size_t(std::mismatch(bytes.rbegin(), bytes.rbegin() + long(shorter), itemBytes.rbegin())
		               .first -
		           bytes.rbegin());
		const size_t before = size_t(
		    std::mismatch(bytes.begin(), bytes.begin() + long(shorter - common), itemBytes.begin())
		        .first -
		    bytes.begin());
		const uint32 from = uint32(before);
		const uint32 oldTo = uint32(bytes.size() - common);
		const uint32 newTo = uint32(itemBytes.size() - common);
		auto follow = [&](uint32 point, bool isEnd) -> uint32 {
			if (point < from || (point == from && (oldTo > from || isEnd)))
				return point;
			if (point >= oldTo)
				return newTo + (point - oldTo);
			return std::min(point, newTo);
		};
		if (lowNibble && from <= selStart && selStart < oldTo)
			lowNibble = false;
		const bool empty = selStart == selEnd;
		const bool anchorIsEnd = !empty && anchor == selEnd;
		anchor = follow(anchor, anchorIsEnd);
		selStart = follow(selStart, false);
		selEnd = empty ? selStart : follow(selEnd, true);
		bytes = itemBytes;
	}

	// The editor shows another item, or the same one again: its bytes are
	// new as a whole. A half-typed byte ends with the cursor after it, as
	// its second digit would leave it; the selection and the anchor keep
	// their numbers within the data.
	void ItemShown(const std::string& itemBytes)
	{
		if (lowNibble) {
			lowNibble = false;
			selStart = selEnd = selStart + 1;
		}
		bytes = itemBytes;
		selStart = std::min(selStart, Size());
		selEnd = std::min(selEnd, Size());
		anchor = std::min(anchor, Size());
	}

private:
	static int32 HexDigit(char c)
	{
		if (c >= '0' && c <= '9')
			return c - '0';
		if (c >= 'a' && c <= 'f')
			return c - 'a' + 10;
		if (c >= 'A' && c <= 'F')
			return c - 'A' + 10;
		return -1;
	}

	void Remove(uint32 from, uint32 to)
	{
		if (to <= Size() && from < to)
			bytes.erase(from, to - from);
	}

	void KeepAnchor() { anchor = std::min(anchor, Size()); }

	void Insert(const std::string& text)
	{
		const uint32 start = selStart;
		Remove(start, selEnd);
		bytes.insert(start, text);
		selStart = selEnd = start + uint32(text.size());
		KeepAnchor();
	}

	void Delete()
	{
		if (selStart == selEnd)
			return;
		Remove(selStart, selEnd);
		selEnd = selStart;
		KeepAnchor();
	}

	void InsertHexDigit(uint32 digit)
	{
		if (!lowNibble) {
			const uint32 start = selStart;
			Remove(start, selEnd);
			bytes.insert(start, 1, char(digit * 16));
			selEnd = selStart = start;
			lowNibble = true;
			KeepAnchor();
			return;
		}
		lowNibble = false;
		if (selStart < Size()) {
			bytes[selStart] = char(uint8(bytes[selStart]) + digit);
			selStart++;
			selEnd++;
		} else {
			// No byte left at the cursor: nothing is written.
			selStart = selEnd = Size();
		}
	}
};

#endif // EDITING_MODEL_H
