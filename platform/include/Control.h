// BControl: a view with a label, a value and an enabled state that sends its
// message (BInvoker) when used. Its target is the window unless set. A
// disabled control draws dimmed, leaves the keyboard navigation and ignores
// input. Owned by its parent view; used on its window's thread.
#ifndef _CONTROL_H
#define _CONTROL_H

#include <Invoker.h>
#include <View.h>

#include <string>

enum
{
	B_CONTROL_OFF = 0,
	B_CONTROL_ON = 1
};

class _IMPEXP_BE BControl : public BView, public BInvoker
{
public:
	BControl(BRect frame, const char* name, const char* label, BMessage* message, uint32 resizeMask,
	         uint32 flags);
	virtual ~BControl();

	// Makes the window the target when none is set.
	virtual void AttachedToWindow();
	virtual void MakeFocus(bool focusState = true);
	// Space and Enter invoke an enabled control; other keys go to BView.
	virtual void KeyDown(const char* bytes, int32 numBytes);

	virtual void SetLabel(const char* text);
	const char* Label() const;
	virtual void SetValue(int32 value);
	int32 Value() const;
	virtual void SetEnabled(bool on);
	bool IsEnabled() const;

	// Posts the message with "when", "source" (this control) and "be:value"
	// added. B_BAD_VALUE without a message or a target.
	virtual status_t Invoke(BMessage* message = NULL);

protected:
	bool IsTracking() const;
	void SetTracking(bool state);
	void SetValueNoUpdate(int32 value);

private:
	std::string fLabel;
	int32 fValue;
	bool fEnabled;
	bool fTracking;
	bool fWantsNavigation; // B_NAVIGABLE, given back when enabled again
};

#endif // _CONTROL_H
