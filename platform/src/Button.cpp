// BButton: drawing, the pointer's press and release, the default button.
#include <Button.h>

#include <Window.h>

#include <cmath>

namespace {

const rgb_color kFrameColor = {96, 96, 96, 255};
// The mark of the keyboard focus.
const rgb_color kNavigationColor = {0, 0, 229, 255};

} // namespace

BButton::BButton(BRect frame, const char* name, const char* label, BMessage* message,
                 uint32 resizeMask, uint32 flags)
    : BControl(frame, name, label, message, resizeMask, flags), fDefault(false)
{
}

BButton::~BButton() {}

void BButton::AttachedToWindow()
{
	BControl::AttachedToWindow();
	if (fDefault)
		Window()->SetDefaultButton(this);
}

void BButton::Draw(BRect)
{
	BRect frame = Bounds();
	const rgb_color background = ViewColor();
	SetHighColor(kFrameColor);
	StrokeRect(frame);
	frame.InsetBy(1, 1);
	if (fDefault) {
		StrokeRect(frame);
		frame.InsetBy(1, 1);
	}
	SetHighColor(
	    tint_color(background, Value() == B_CONTROL_ON ? B_DARKEN_2_TINT : B_LIGHTEN_2_TINT));
	FillRect(frame);
	if (IsFocus() && Window()->IsActive()) {
		SetHighColor(kNavigationColor);
		StrokeRect(frame.InsetByCopy(1, 1));
	}

	font_height height;
	GetFontHeight(&height);
	const float textHeight = std::ceil(height.ascent) + std::ceil(height.descent);
	const BRect bounds = Bounds();
	const BPoint baseline(std::floor(bounds.left + (bounds.Width() + 1 - StringWidth(Label())) / 2),
	                      std::floor(bounds.top + (bounds.Height() + 1 - textHeight) / 2) +
	                          std::ceil(height.ascent));
	SetHighColor(IsEnabled() ? rgb_color{0, 0, 0, 255}
	                         : tint_color(background, B_DISABLED_LABEL_TINT));
	SetDrawingMode(B_OP_OVER);
	DrawString(Label(), baseline);
}

void BButton::MouseDown(BPoint)
{
	if (!IsEnabled())
		return;
	SetValue(B_CONTROL_ON);
	SetTracking(true);
	SetMouseEventMask(B_POINTER_EVENTS);
}

void BButton::MouseMoved(BPoint where, uint32, const BMessage*)
{
	if (IsTracking())
		SetValue(Bounds().Contains(where) ? B_CONTROL_ON : B_CONTROL_OFF);
}

void BButton::MouseUp(BPoint where)
{
	if (!IsTracking())
		return;
	SetTracking(false);
	SetValue(B_CONTROL_OFF);
	if (Bounds().Contains(where))
		Invoke();
}

void BButton::WindowActivated(bool state)
{
	Invalidate();
	BControl::WindowActivated(state);
}

void BButton::MakeDefault(bool flag)
{
	BWindow* window = Window();
	BButton* current = window != NULL ? window->DefaultButton() : NULL;
	if (flag != fDefault) {
		fDefault = flag;
		Invalidate();
	}
	if (window == NULL)
		return;
	if (flag && current != this)
		window->SetDefaultButton(this);
	else if (!flag && current == this)
		window->SetDefaultButton(NULL);
}

bool BButton::IsDefault() const
{
	return fDefault;
}

void BButton::GetPreferredSize(float* width, float* height)
{
	font_height fontHeight;
	GetFontHeight(&fontHeight);
	if (width != NULL)
		*width = std::ceil(StringWidth(Label())) + 20;
	if (height != NULL)
		*height = std::ceil(fontHeight.ascent) + std::ceil(fontHeight.descent) + 9;
}
