// BButton: a labelled push button. A click released inside it, or Space or
// Enter while it is the focus, invokes it; its value is B_CONTROL_ON while
// the pointer holds it down. The window's default button (MakeDefault) is
// drawn with a heavier frame and takes Enter wherever the focus is. Owned
// by its parent view; used on its window's thread.
#ifndef _BUTTON_H
#define _BUTTON_H

#include <Control.h>

class _IMPEXP_BE BButton : public BControl
{
public:
	BButton(BRect frame, const char* name, const char* label, BMessage* message,
	        uint32 resizeMask = B_FOLLOW_LEFT | B_FOLLOW_TOP,
	        uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
	virtual ~BButton();

	virtual void AttachedToWindow();
	virtual void Draw(BRect updateRect);
	virtual void MouseDown(BPoint where);
	virtual void MouseMoved(BPoint where, uint32 code, const BMessage* dragMessage);
	virtual void MouseUp(BPoint where);
	virtual void WindowActivated(bool state);

	// Makes this the window's default button, or no longer; the window's
	// SetDefaultButton is kept in step.
	virtual void MakeDefault(bool flag);
	bool IsDefault() const;

	// The label's width and one line of the font, with room for the frame.
	virtual void GetPreferredSize(float* width, float* height);

private:
	bool fDefault;
};

#endif // _BUTTON_H
