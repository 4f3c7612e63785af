// BTextControl: a label and a one-line text field (an embedded BTextView)
// right of the divider. Enter in the field invokes the control's message
// (unless the window has a default button, which takes Enter) and selects
// the text; every change typed sends the modification message; Tab moves
// on to the next control, and coming in by Tab selects the text. Owned by
// its parent view; used on its window's thread.
#ifndef _TEXT_CONTROL_H
#define _TEXT_CONTROL_H

#include <Control.h>

class BTextView;

namespace BPrivate {
class TextControlInput;
}

class _IMPEXP_BE BTextControl : public BControl
{
public:
	BTextControl(BRect frame, const char* name, const char* label, const char* initialText,
	             BMessage* message, uint32 resizeMask = B_FOLLOW_LEFT | B_FOLLOW_TOP,
	             uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
	virtual ~BTextControl();

	// Sends no modification message.
	virtual void SetText(const char* text);
	const char* Text() const;
	BTextView* TextView() const;

	// Owns the message; NULL sends none.
	virtual void SetModificationMessage(BMessage* message);
	BMessage* ModificationMessage() const;

	// The x where the field starts; by default just past the label.
	virtual void SetDivider(float dividingLine);
	float Divider() const;

	virtual void Draw(BRect updateRect);
	virtual void MouseDown(BPoint where);
	virtual void MakeFocus(bool focusState = true);
	virtual void SetEnabled(bool state);
	virtual void WindowActivated(bool active);
	// The label, room for a dozen characters, one line with the field's frame.
	virtual void GetPreferredSize(float* width, float* height);

private:
	friend class BPrivate::TextControlInput;

	void _LayoutField();
	void _Modified();

	BPrivate::TextControlInput* fText;
	BMessage* fModificationMessage;
	float fDivider;
	bool fSettingText;
};

#endif // _TEXT_CONTROL_H
