// BControl: label, value, enabled state and invocation.
#include <Control.h>

#include <Message.h>
#include <Window.h>

BControl::BControl(BRect frame, const char* name, const char* label, BMessage* message,
                   uint32 resizeMask, uint32 flags)
    : BView(frame, name, resizeMask, flags), fLabel(label != NULL ? label : ""),
      fValue(B_CONTROL_OFF), fEnabled(true), fTracking(false),
      fWantsNavigation((flags & B_NAVIGABLE) != 0)
{
	SetMessage(message);
}

BControl::~BControl() {}

void BControl::AttachedToWindow()
{
	// Controls sit on their parent's background.
	if (Parent() != NULL)
		SetViewColor(Parent()->ViewColor());
	SetLowColor(ViewColor());
	BLooper* looper;
	if (Target(&looper) == NULL && looper == NULL)
		SetTarget(Window());
	BView::AttachedToWindow();
}

void BControl::MakeFocus(bool focusState)
{
	if (focusState == IsFocus())
		return;
	BView::MakeFocus(focusState);
	Invalidate();
}

void BControl::KeyDown(const char* bytes, int32 numBytes)
{
	if (numBytes == 1 && (bytes[0] == B_SPACE || bytes[0] == B_ENTER)) {
		if (fEnabled)
			Invoke();
		return;
	}
	BView::KeyDown(bytes, numBytes);
}

void BControl::SetLabel(const char* text)
{
	const std::string label = text != NULL ? text : "";
	if (label == fLabel)
		return;
	fLabel = label;
	Invalidate();
}

const char* BControl::Label() const
{
	return fLabel.c_str();
}

void BControl::SetValue(int32 value)
{
	if (value == fValue)
		return;
	fValue = value;
	Invalidate();
}

int32 BControl::Value() const
{
	return fValue;
}

void BControl::SetEnabled(bool on)
{
	if (on == fEnabled)
		return;
	fEnabled = on;
	if (fWantsNavigation)
		SetFlags(on ? Flags() | B_NAVIGABLE : Flags() & ~B_NAVIGABLE);
	if (!on && IsFocus())
		MakeFocus(false);
	Invalidate();
}

bool BControl::IsEnabled() const
{
	return fEnabled;
}

status_t BControl::Invoke(BMessage* message)
{
	BMessage* source = message != NULL ? message : Message();
	if (source == NULL)
		return B_BAD_VALUE;
	BMessage copy(*source);
	copy.AddPointer("source", this);
	copy.AddInt32("be:value", fValue);
	return BInvoker::Invoke(&copy);
}

bool BControl::IsTracking() const
{
	return fTracking;
}

void BControl::SetTracking(bool state)
{
	fTracking = state;
}

void BControl::SetValueNoUpdate(int32 value)
{
	fValue = value;
}
