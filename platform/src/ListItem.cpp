// BListItem and BStringItem: list rows and their drawing.
#include <ListItem.h>

#include <Font.h>
#include <InterfaceDefs.h>
#include <View.h>

#include <algorithm>
#include <cmath>

namespace {

// Space left and right of a row's text, and the indent of each outline
// level, in a font of 12 pixels; they scale with the font.
const float kTextMargin = 4;
const float kOutlineIndent = 12;
const float kBaseFontSize = 12;

} // namespace

BListItem::BListItem(uint32 outlineLevel, bool)
    : fWidth(0), fHeight(0), fLevel(outlineLevel), fSelected(false), fEnabled(true)
{
}

BListItem::~BListItem() {}

float BListItem::Height() const
{
	return fHeight;
}

float BListItem::Width() const
{
	return fWidth;
}

bool BListItem::IsSelected() const
{
	return fSelected;
}

void BListItem::Select()
{
	fSelected = true;
}

void BListItem::Deselect()
{
	fSelected = false;
}

void BListItem::SetHeight(float height)
{
	fHeight = height;
}

void BListItem::SetWidth(float width)
{
	fWidth = width;
}

uint32 BListItem::OutlineLevel() const
{
	return fLevel;
}

void BListItem::SetEnabled(bool enabled)
{
	fEnabled = enabled;
}

bool BListItem::IsEnabled() const
{
	return fEnabled;
}

void BListItem::Update(BView* owner, const BFont* font)
{
	font_height height;
	font->GetHeight(&height);
	fWidth = owner->Bounds().Width();
	fHeight = std::ceil(height.ascent + height.descent + height.leading);
}

BStringItem::BStringItem(const char* text, uint32 outlineLevel, bool expanded)
    : BListItem(outlineLevel, expanded), fText(text != NULL ? text : ""), fBaselineOffset(0),
      fTextLeft(0)
{
}

BStringItem::~BStringItem() {}

void BStringItem::DrawItem(BView* owner, BRect frame, bool complete)
{
	rgb_color low = owner->LowColor();
	if (IsSelected() || complete) {
		owner->SetLowColor(IsSelected() ? tint_color(low, B_HIGHLIGHT_BACKGROUND_TINT) : low);
		owner->FillRect(frame, B_SOLID_LOW);
	}
	const rgb_color high = owner->HighColor();
	if (!IsEnabled())
		owner->SetHighColor(tint_color(high, B_LIGHTEN_1_TINT));
	owner->MovePenTo(frame.left + fTextLeft, frame.top + fBaselineOffset);
	owner->DrawString(fText.c_str());
	owner->SetHighColor(high);
	owner->SetLowColor(low);
}

void BStringItem::SetText(const char* text)
{
	fText = text != NULL ? text : "";
}

const char* BStringItem::Text() const
{
	return fText.c_str();
}

void BStringItem::Update(BView* owner, const BFont* font)
{
	BListItem::Update(owner, font);
	font_height height;
	font->GetHeight(&height);
	// One pixel above and below the text.
	SetHeight(Height() + 2);
	fBaselineOffset = 1 + std::ceil(height.ascent);
	const float scale = font->Size() / kBaseFontSize;
	fTextLeft = std::round((kTextMargin + kOutlineIndent * float(OutlineLevel())) * scale);
	SetWidth(std::max(Width(), fTextLeft + owner->StringWidth(fText.c_str()) +
	                               std::round(kTextMargin * scale)));
}
