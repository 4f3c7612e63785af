// BStringView: one line of text.
#include <StringView.h>

#include <Font.h>

#include <cmath>

BStringView::BStringView(BRect bounds, const char* name, const char* text, uint32 resizeFlags,
                         uint32 flags)
    : BView(bounds, name, resizeFlags, flags), fText(text != NULL ? text : "")
{
}

BStringView::~BStringView() {}

void BStringView::SetText(const char* text)
{
	const std::string newText = text != NULL ? text : "";
	if (newText == fText)
		return;
	fText = newText;
	Invalidate();
}

const char* BStringView::Text() const
{
	return fText.c_str();
}

void BStringView::AttachedToWindow()
{
	// The text sits on its parent's background, as a label does.
	if (Parent() != NULL)
		SetViewColor(Parent()->ViewColor());
	SetLowColor(ViewColor());
	BView::AttachedToWindow();
}

void BStringView::Draw(BRect)
{
	font_height height;
	GetFontHeight(&height);
	const BRect bounds = Bounds();
	DrawString(fText.c_str(), BPoint(bounds.left, bounds.top + std::ceil(height.ascent)));
}

void BStringView::GetPreferredSize(float* width, float* height)
{
	font_height fontHeight;
	GetFontHeight(&fontHeight);
	if (width != NULL)
		*width = std::ceil(StringWidth(fText.c_str()));
	if (height != NULL)
		*height = std::ceil(fontHeight.ascent + fontHeight.descent + fontHeight.leading);
}
