// BTextView: editable text on one line, as a text field needs it: a caret
// that blinks with the window's pulse while the view is the focus of the
// active window, a selection made with Shift and the arrows, Home, End,
// Cmd+A (B_SELECT_ALL) or the mouse, typing that replaces the selection,
// Backspace and Delete, all by UTF-8 characters. A line longer than the text
// rectangle scrolls sideways to keep the caret in sight. Every change of the
// text goes through InsertText and DeleteText, which derived classes may
// extend. Owned by its parent view; used on its window's thread.
#ifndef _TEXT_VIEW_H
#define _TEXT_VIEW_H

#include <View.h>

#include <set>
#include <string>

class _IMPEXP_BE BTextView : public BView
{
public:
	// textRect: where the text goes, in the view's coordinates.
	BTextView(BRect frame, const char* name, BRect textRect, uint32 resizeMask,
	          uint32 flags = B_WILL_DRAW | B_PULSE_NEEDED);
	virtual ~BTextView();

	virtual void AttachedToWindow();
	virtual void Draw(BRect updateRect);
	virtual void MouseDown(BPoint where);
	virtual void MouseMoved(BPoint where, uint32 code, const BMessage* dragMessage);
	virtual void MouseUp(BPoint where);
	virtual void KeyDown(const char* bytes, int32 numBytes);
	virtual void Pulse();
	virtual void MakeFocus(bool focusState = true);
	virtual void WindowActivated(bool state);
	// B_SELECT_ALL selects all.
	virtual void MessageReceived(BMessage* message);

	// The text replaced; the caret after it.
	virtual void SetText(const char* text);
	virtual void SetText(const char* text, int32 length);
	const char* Text() const;
	int32 TextLength() const;

	// At the selection's start; the selection stays on the same text.
	void Insert(const char* text);
	void Insert(const char* text, int32 length);
	void Insert(int32 startOffset, const char* text, int32 length);
	// The selection, or the bytes from startOffset to endOffset.
	void Delete();
	void Delete(int32 startOffset, int32 endOffset);

	// Offsets are clipped to the text and moved back to a character's start.
	virtual void Select(int32 startOffset, int32 endOffset);
	void SelectAll();
	void GetSelection(int32* outStart, int32* outEnd) const;

	void MakeEditable(bool editable = true);
	bool IsEditable() const;
	void MakeSelectable(bool selectable = true);
	bool IsSelectable() const;
	// Typing stops at max bytes of text; text set by calls is not cut.
	void SetMaxBytes(int32 max);
	int32 MaxBytes() const;
	// Typing a disallowed character (a Unicode code point) does nothing.
	void DisallowChar(uint32 aChar);
	void AllowChar(uint32 aChar);

	void SetTextRect(BRect rect);
	BRect TextRect() const;
	// The offset of the character boundary nearest to point, and the left-top
	// of the line at an offset's boundary, in the view's coordinates.
	int32 OffsetAt(BPoint point) const;
	BPoint PointAt(int32 offset, float* outHeight = NULL) const;
	void ScrollToSelection();

protected:
	// Every change of the text: length bytes of text inserted at offset;
	// the bytes from fromOffset to toOffset removed. Both keep the selection
	// on the same text and redraw.
	virtual void InsertText(const char* text, int32 length, int32 offset);
	virtual void DeleteText(int32 fromOffset, int32 toOffset);

private:
	int32 _Boundary(int32 offset) const;
	int32 _NextBoundary(int32 offset) const;
	int32 _PreviousBoundary(int32 offset) const;
	float _LineHeight() const;
	// Selects from the anchor to caret (the end that moves).
	void _SetCaret(int32 caret, bool extend);
	void _Typed(const char* bytes, int32 numBytes);
	bool _CaretShown() const;
	void _Changed();

	std::string fText;
	int32 fAnchor;
	int32 fCaret;
	BRect fTextRect;
	float fScroll; // how far the line is scrolled left
	int32 fMaxBytes;
	bool fEditable;
	bool fSelectable;
	bool fCaretOn; // the blink phase
	bool fTracking;
	std::set<uint32> fDisallowed;
};

#endif // _TEXT_VIEW_H
