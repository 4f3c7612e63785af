// BTextView: one line of text, its selection and caret, keys and mouse.
#include <TextView.h>

#include <Message.h>
#include <Window.h>

#include <limits.h>
#include <string.h>

#include <algorithm>
#include <cmath>

namespace {

bool IsContinuation(char byte)
{
	return (uint8(byte) & 0xc0) == 0x80;
}

// The code point of the UTF-8 character that bytes starts with.
uint32 CodePoint(const char* bytes, int32 numBytes)
{
	const uint8 first = uint8(bytes[0]);
	int32 length = first >= 0xf0 ? 4 : first >= 0xe0 ? 3 : first >= 0xc0 ? 2 : 1;
	if (length > numBytes)
		return first;
	uint32 point = length == 1 ? first : first & (0x7f >> length);
	for (int32 i = 1; i < length; i++)
		point = (point << 6) | (uint8(bytes[i]) & 0x3f);
	return point;
}

int32 CurrentModifiers(const BView* view)
{
	int32 modifiers = 0;
	if (BWindow* window = view->Window()) {
		if (BMessage* message = window->CurrentMessage())
			message->FindInt32("modifiers", &modifiers);
	}
	return modifiers;
}

} // namespace

BTextView::BTextView(BRect frame, const char* name, BRect textRect, uint32 resizeMask, uint32 flags)
    : BView(frame, name, resizeMask, flags), fAnchor(0), fCaret(0), fTextRect(textRect), fScroll(0),
      fMaxBytes(INT32_MAX), fEditable(true), fSelectable(true), fCaretOn(true), fTracking(false)
{
}

BTextView::~BTextView() {}

void BTextView::AttachedToWindow()
{
	SetLowColor(ViewColor());
	BView::AttachedToWindow();
}

// #pragma mark - Drawing

bool BTextView::_CaretShown() const
{
	return IsFocus() && Window()->IsActive() && fEditable && fAnchor == fCaret && fCaretOn;
}

void BTextView::Draw(BRect)
{
	BRegion clip;
	clip.Set(fTextRect);
	ConstrainClippingRegion(&clip);
	const float height = _LineHeight();
	int32 start;
	int32 end;
	GetSelection(&start, &end);
	if (start != end && IsFocus() && Window()->IsActive()) {
		const rgb_color high = HighColor();
		SetHighColor(tint_color(LowColor(), B_HIGHLIGHT_BACKGROUND_TINT));
		FillRect(
		    BRect(PointAt(start).x, fTextRect.top, PointAt(end).x - 1, fTextRect.top + height - 1));
		SetHighColor(high);
	}
	font_height fontHeight;
	GetFontHeight(&fontHeight);
	// Over the selection's background, the glyphs' edges blend with it.
	SetDrawingMode(B_OP_OVER);
	DrawString(fText.c_str(), int32(fText.size()),
	           BPoint(fTextRect.left - fScroll, fTextRect.top + std::ceil(fontHeight.ascent)));
	SetDrawingMode(B_OP_COPY);
	if (_CaretShown()) {
		const float x = PointAt(fCaret).x;
		StrokeLine(BPoint(x, fTextRect.top), BPoint(x, fTextRect.top + height - 1));
	}
	ConstrainClippingRegion(NULL);
}

void BTextView::Pulse()
{
	if (!IsFocus() || !fEditable || fAnchor != fCaret)
		return;
	fCaretOn = !fCaretOn;
	Invalidate(fTextRect);
}

void BTextView::MakeFocus(bool focusState)
{
	const bool changed = focusState != IsFocus();
	BView::MakeFocus(focusState);
	if (changed) {
		fCaretOn = true;
		Invalidate(fTextRect);
	}
}

void BTextView::WindowActivated(bool state)
{
	fCaretOn = true;
	Invalidate(fTextRect);
	BView::WindowActivated(state);
}

// #pragma mark - Input

void BTextView::MouseDown(BPoint where)
{
	if (!fSelectable)
		return;
	MakeFocus(true);
	_SetCaret(OffsetAt(where), (CurrentModifiers(this) & B_SHIFT_KEY) != 0);
	fTracking = true;
	SetMouseEventMask(B_POINTER_EVENTS);
}

void BTextView::MouseMoved(BPoint where, uint32, const BMessage*)
{
	if (fTracking)
		_SetCaret(OffsetAt(where), true);
}

void BTextView::MouseUp(BPoint where)
{
	if (!fTracking)
		return;
	fTracking = false;
	_SetCaret(OffsetAt(where), true);
}

void BTextView::KeyDown(const char* bytes, int32 numBytes)
{
	if (numBytes <= 0)
		return;
	const bool shift = (CurrentModifiers(this) & B_SHIFT_KEY) != 0;
	int32 start;
	int32 end;
	GetSelection(&start, &end);
	switch (bytes[0]) {
	case B_LEFT_ARROW:
		if (fSelectable)
			_SetCaret(start != end && !shift ? start : _PreviousBoundary(fCaret), shift);
		break;
	case B_RIGHT_ARROW:
		if (fSelectable)
			_SetCaret(start != end && !shift ? end : _NextBoundary(fCaret), shift);
		break;
	case B_HOME:
		if (fSelectable)
			_SetCaret(0, shift);
		break;
	case B_END:
		if (fSelectable)
			_SetCaret(TextLength(), shift);
		break;
	case B_BACKSPACE:
		if (fEditable)
			Delete(start != end ? start : _PreviousBoundary(start), end);
		break;
	case B_DELETE:
		if (fEditable)
			Delete(start, start != end ? end : _NextBoundary(end));
		break;
	case B_UP_ARROW:
	case B_DOWN_ARROW:
	case B_PAGE_UP:
	case B_PAGE_DOWN:
	case B_INSERT:
	case B_ESCAPE:
	case B_FUNCTION_KEY:
		break;
	case B_TAB:
		if (fEditable)
			_Typed(bytes, numBytes);
		else
			BView::KeyDown(bytes, numBytes);
		break;
	default:
		if (fEditable && (uint8(bytes[0]) >= 0x20 || bytes[0] == B_ENTER))
			_Typed(bytes, numBytes);
		break;
	}
}

void BTextView::_Typed(const char* bytes, int32 numBytes)
{
	if (fDisallowed.count(CodePoint(bytes, numBytes)) != 0)
		return;
	int32 start;
	int32 end;
	GetSelection(&start, &end);
	if (int64(TextLength()) - (end - start) + numBytes > fMaxBytes)
		return;
	if (start != end)
		Delete(start, end);
	Insert(start, bytes, numBytes);
}

void BTextView::MessageReceived(BMessage* message)
{
	if (message->what == B_SELECT_ALL) {
		if (fSelectable)
			SelectAll();
		return;
	}
	BView::MessageReceived(message);
}

// #pragma mark - Text

void BTextView::SetText(const char* text)
{
	SetText(text, text != NULL ? int32(strlen(text)) : 0);
}

void BTextView::SetText(const char* text, int32 length)
{
	if (!fText.empty())
		DeleteText(0, TextLength());
	if (text != NULL && length > 0)
		InsertText(text, length, 0);
	fAnchor = fCaret = TextLength();
	fScroll = 0;
	ScrollToSelection();
}

const char* BTextView::Text() const
{
	return fText.c_str();
}

int32 BTextView::TextLength() const
{
	return int32(fText.size());
}

void BTextView::Insert(const char* text)
{
	Insert(text, text != NULL ? int32(strlen(text)) : 0);
}

void BTextView::Insert(const char* text, int32 length)
{
	int32 start;
	int32 end;
	GetSelection(&start, &end);
	Insert(start, text, length);
}

void BTextView::Insert(int32 startOffset, const char* text, int32 length)
{
	if (text == NULL || length <= 0)
		return;
	length = std::min(length, int32(strnlen(text, size_t(length))));
	InsertText(text, length, _Boundary(startOffset));
}

void BTextView::Delete()
{
	int32 start;
	int32 end;
	GetSelection(&start, &end);
	Delete(start, end);
}

void BTextView::Delete(int32 startOffset, int32 endOffset)
{
	startOffset = _Boundary(startOffset);
	endOffset = _Boundary(endOffset);
	if (startOffset < endOffset)
		DeleteText(startOffset, endOffset);
}

void BTextView::InsertText(const char* text, int32 length, int32 offset)
{
	fText.insert(size_t(offset), text, size_t(length));
	// An empty selection at the offset (the caret) ends up after the text.
	const bool caretThere = fAnchor == fCaret && fCaret == offset;
	if (fAnchor > offset || caretThere)
		fAnchor += length;
	if (fCaret > offset || caretThere)
		fCaret += length;
	_Changed();
}

void BTextView::DeleteText(int32 fromOffset, int32 toOffset)
{
	fText.erase(size_t(fromOffset), size_t(toOffset - fromOffset));
	auto follow = [&](int32 offset) {
		if (offset >= toOffset)
			return offset - (toOffset - fromOffset);
		return std::min(offset, fromOffset);
	};
	fAnchor = follow(fAnchor);
	fCaret = follow(fCaret);
	_Changed();
}

void BTextView::_Changed()
{
	fCaretOn = true;
	ScrollToSelection();
	Invalidate(fTextRect);
}

// #pragma mark - Selection

void BTextView::Select(int32 startOffset, int32 endOffset)
{
	fAnchor = _Boundary(startOffset);
	fCaret = std::max(fAnchor, _Boundary(endOffset));
	_Changed();
}

void BTextView::SelectAll()
{
	Select(0, TextLength());
}

void BTextView::GetSelection(int32* outStart, int32* outEnd) const
{
	if (outStart != NULL)
		*outStart = std::min(fAnchor, fCaret);
	if (outEnd != NULL)
		*outEnd = std::max(fAnchor, fCaret);
}

void BTextView::_SetCaret(int32 caret, bool extend)
{
	if (caret == fCaret && (extend || fAnchor == fCaret))
		return;
	fCaret = caret;
	if (!extend)
		fAnchor = caret;
	_Changed();
}

// #pragma mark - Settings

void BTextView::MakeEditable(bool editable)
{
	fEditable = editable;
	Invalidate(fTextRect);
}

bool BTextView::IsEditable() const
{
	return fEditable;
}

void BTextView::MakeSelectable(bool selectable)
{
	fSelectable = selectable;
	if (!selectable)
		Select(fCaret, fCaret);
}

bool BTextView::IsSelectable() const
{
	return fSelectable;
}

void BTextView::SetMaxBytes(int32 max)
{
	fMaxBytes = std::max(max, int32(0));
}

int32 BTextView::MaxBytes() const
{
	return fMaxBytes;
}

void BTextView::DisallowChar(uint32 aChar)
{
	fDisallowed.insert(aChar);
}

void BTextView::AllowChar(uint32 aChar)
{
	fDisallowed.erase(aChar);
}

// #pragma mark - Geometry

void BTextView::SetTextRect(BRect rect)
{
	fTextRect = rect;
	ScrollToSelection();
	Invalidate();
}

BRect BTextView::TextRect() const
{
	return fTextRect;
}

float BTextView::_LineHeight() const
{
	font_height height;
	GetFontHeight(&height);
	return std::ceil(height.ascent) + std::ceil(height.descent) + std::ceil(height.leading);
}

BPoint BTextView::PointAt(int32 offset, float* outHeight) const
{
	offset = _Boundary(offset);
	if (outHeight != NULL)
		*outHeight = _LineHeight();
	const float width = StringWidth(fText.substr(0, size_t(offset)).c_str());
	return BPoint(fTextRect.left - fScroll + width, fTextRect.top);
}

int32 BTextView::OffsetAt(BPoint point) const
{
	// The boundary nearest to the point: past the middle of a character
	// counts as after it.
	int32 offset = 0;
	float left = PointAt(0).x;
	while (offset < TextLength()) {
		const int32 next = _NextBoundary(offset);
		const float right = PointAt(next).x;
		if (point.x < (left + right) / 2)
			break;
		offset = next;
		left = right;
	}
	return offset;
}

void BTextView::ScrollToSelection()
{
	const float textWidth = StringWidth(fText.c_str());
	const float caret = StringWidth(fText.substr(0, size_t(fCaret)).c_str());
	const float visible = fTextRect.Width();
	if (caret - fScroll > visible)
		fScroll = caret - visible;
	if (caret < fScroll)
		fScroll = caret;
	// Never more scrolled than the text needs.
	fScroll = std::max(0.0f, std::min(fScroll, textWidth - visible));
}

// #pragma mark - Characters

int32 BTextView::_Boundary(int32 offset) const
{
	offset = std::clamp(offset, int32(0), TextLength());
	while (offset > 0 && offset < TextLength() && IsContinuation(fText[size_t(offset)]))
		offset--;
	return offset;
}

int32 BTextView::_NextBoundary(int32 offset) const
{
	if (offset >= TextLength())
		return TextLength();
	offset++;
	while (offset < TextLength() && IsContinuation(fText[size_t(offset)]))
		offset++;
	return offset;
}

int32 BTextView::_PreviousBoundary(int32 offset) const
{
	if (offset <= 0)
		return 0;
	offset--;
	while (offset > 0 && IsContinuation(fText[size_t(offset)]))
		offset--;
	return offset;
}
