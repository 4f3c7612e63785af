// BTextControl: the label, the framed field and its input view.
#include <TextControl.h>

#include <Message.h>
#include <TextView.h>
#include <Window.h>

#include <cmath>

namespace {

const rgb_color kFieldFrameColor = {96, 96, 96, 255};
const rgb_color kNavigationColor = {0, 0, 229, 255};
const rgb_color kFieldColor = {255, 255, 255, 255};

// The field's frame, drawn by the control, is one pixel wide around it.
const float kFieldInset = 2;

} // namespace

namespace BPrivate {

// The field: a text view that tells its control about changes and Enter,
// and leaves Tab to the keyboard navigation.
class TextControlInput : public BTextView
{
public:
	TextControlInput(BTextControl* control, BRect frame)
	    : BTextView(frame, "_input_", frame.OffsetToCopy(0, 0), B_FOLLOW_LEFT_RIGHT | B_FOLLOW_TOP,
	                B_WILL_DRAW | B_PULSE_NEEDED | B_FRAME_EVENTS | B_NAVIGABLE),
	      fControl(control)
	{
		SetViewColor(kFieldColor);
	}

	// The line centred in the field, two pixels in from its sides.
	void FitTextRect()
	{
		font_height height;
		GetFontHeight(&height);
		const float line = std::ceil(height.ascent) + std::ceil(height.descent);
		const BRect bounds = Bounds();
		const float top = std::floor((bounds.Height() + 1 - line) / 2);
		SetTextRect(BRect(2, top, bounds.Width() - 2, top + line - 1));
	}

	virtual void KeyDown(const char* bytes, int32 numBytes)
	{
		if (numBytes == 1 && bytes[0] == B_ENTER) {
			if (fControl->IsEnabled()) {
				fControl->Invoke();
				SelectAll();
			}
			return;
		}
		if (numBytes == 1 && bytes[0] == B_TAB) {
			BView::KeyDown(bytes, numBytes);
			return;
		}
		BTextView::KeyDown(bytes, numBytes);
	}

	virtual void MakeFocus(bool focusState)
	{
		if (focusState == IsFocus())
			return;
		BTextView::MakeFocus(focusState);
		// Coming in from the keyboard selects what is there to replace.
		BMessage* message = Window() != NULL ? Window()->CurrentMessage() : NULL;
		if (focusState && message != NULL && message->what == B_KEY_DOWN)
			SelectAll();
		fControl->Invalidate();
	}

	virtual void FrameResized(float width, float height)
	{
		FitTextRect();
		BTextView::FrameResized(width, height);
	}

protected:
	virtual void InsertText(const char* text, int32 length, int32 offset)
	{
		BTextView::InsertText(text, length, offset);
		fControl->_Modified();
	}

	virtual void DeleteText(int32 fromOffset, int32 toOffset)
	{
		BTextView::DeleteText(fromOffset, toOffset);
		fControl->_Modified();
	}

private:
	BTextControl* fControl;
};

} // namespace BPrivate

BTextControl::BTextControl(BRect frame, const char* name, const char* label,
                           const char* initialText, BMessage* message, uint32 resizeMask,
                           uint32 flags)
    // The field takes the keyboard navigation; the control only frames it.
    : BControl(frame, name, label, message, resizeMask, flags & ~B_NAVIGABLE), fText(NULL),
      fModificationMessage(NULL), fDivider(0), fSettingText(false)
{
	if (Label()[0] != '\0')
		fDivider = std::ceil(StringWidth(Label())) + 6;
	fText = new BPrivate::TextControlInput(this, BRect(0, 0, 10, 10));
	if ((flags & B_NAVIGABLE) == 0)
		fText->SetFlags(fText->Flags() & ~B_NAVIGABLE);
	AddChild(fText);
	_LayoutField();
	SetText(initialText);
}

BTextControl::~BTextControl()
{
	delete fModificationMessage;
}

void BTextControl::SetText(const char* text)
{
	fSettingText = true;
	fText->SetText(text);
	fSettingText = false;
}

const char* BTextControl::Text() const
{
	return fText->Text();
}

BTextView* BTextControl::TextView() const
{
	return fText;
}

void BTextControl::SetModificationMessage(BMessage* message)
{
	if (message != fModificationMessage) {
		delete fModificationMessage;
		fModificationMessage = message;
	}
}

BMessage* BTextControl::ModificationMessage() const
{
	return fModificationMessage;
}

void BTextControl::SetDivider(float dividingLine)
{
	fDivider = std::floor(dividingLine);
	_LayoutField();
	Invalidate();
}

float BTextControl::Divider() const
{
	return fDivider;
}

void BTextControl::Draw(BRect)
{
	const BRect field = fText->Frame().InsetByCopy(-1, -1);
	const bool focused = fText->IsFocus() && Window()->IsActive();
	SetHighColor(focused ? kNavigationColor : kFieldFrameColor);
	StrokeRect(field);

	font_height height;
	GetFontHeight(&height);
	const float textHeight = std::ceil(height.ascent) + std::ceil(height.descent);
	const BRect bounds = Bounds();
	SetHighColor(IsEnabled() ? rgb_color{0, 0, 0, 255}
	                         : tint_color(ViewColor(), B_DISABLED_LABEL_TINT));
	SetDrawingMode(B_OP_OVER);
	DrawString(Label(),
	           BPoint(bounds.left, std::floor(bounds.top + (bounds.Height() + 1 - textHeight) / 2) +
	                                   std::ceil(height.ascent)));
}

void BTextControl::MouseDown(BPoint)
{
	if (IsEnabled())
		fText->MakeFocus(true);
}

void BTextControl::MakeFocus(bool focusState)
{
	fText->MakeFocus(focusState);
}

void BTextControl::SetEnabled(bool state)
{
	if (state == IsEnabled())
		return;
	BControl::SetEnabled(state);
	fText->MakeEditable(state);
	fText->MakeSelectable(state);
	if (!state && fText->IsFocus())
		fText->MakeFocus(false);
	fText->SetFlags(state ? fText->Flags() | B_NAVIGABLE : fText->Flags() & ~B_NAVIGABLE);
	fText->SetViewColor(state ? kFieldColor : tint_color(kFieldColor, B_DARKEN_1_TINT));
	fText->SetLowColor(fText->ViewColor());
	fText->SetHighColor(state ? rgb_color{0, 0, 0, 255}
	                          : tint_color(kFieldColor, B_DISABLED_LABEL_TINT));
	fText->Invalidate();
}

void BTextControl::WindowActivated(bool active)
{
	Invalidate();
	BControl::WindowActivated(active);
}

void BTextControl::GetPreferredSize(float* width, float* height)
{
	font_height fontHeight;
	GetFontHeight(&fontHeight);
	if (width != NULL)
		*width = fDivider + std::ceil(StringWidth("M") * 12) + 2 * kFieldInset + 4;
	if (height != NULL)
		*height =
		    std::ceil(fontHeight.ascent) + std::ceil(fontHeight.descent) + 2 * kFieldInset + 2;
}

void BTextControl::_LayoutField()
{
	const BRect bounds = Bounds();
	const BRect field(fDivider + kFieldInset, kFieldInset, bounds.right - kFieldInset,
	                  bounds.bottom - kFieldInset);
	fText->MoveTo(field.LeftTop());
	fText->ResizeTo(field.Width(), field.Height());
	fText->FitTextRect();
}

void BTextControl::_Modified()
{
	if (!fSettingText && fModificationMessage != NULL)
		Invoke(fModificationMessage);
}
