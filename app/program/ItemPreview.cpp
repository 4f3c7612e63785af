// ItemPreview: the shown item's readable form, drawn.

#include "ItemPreview.h"

#include <Font.h>
#include <InterfaceDefs.h>

#include <algorithm>
#include <cmath>

#include "ItemDescription.h"

namespace {

// Space around the contents.
const float kInset = 4;
// Lines of text kept in sight under an icon.
const int32 kTextLinesUnderIcon = 2;
// Line height per step of the preferred icon scale: an icon at twice its
// size with the default 15-pixel lines.
const float kLineHeightPerScale = 7.5f;
// Icons grow by whole pixels up to this many a side.
const int32 kMaxIconScale = 8;
// The checkerboard behind an icon: its squares and colours.
const int32 kCheckerSquare = 4;
const rgb_color kCheckerLight = {255, 255, 255, 255};
const rgb_color kCheckerDark = {204, 204, 204, 255};

} // namespace

ItemPreview::ItemPreview(BRect frame)
    : BView(frame, "ItemPreview", B_FOLLOW_RIGHT | B_FOLLOW_BOTTOM, B_WILL_DRAW | B_FRAME_EVENTS),
      fIconSide(0)
{
}

ItemPreview::~ItemPreview() {}

void ItemPreview::SetItem(type_code type, const void* data, size_t length, bool bigEndian)
{
	std::vector<std::string> lines = ItemDescription::Describe(type, data, length, bigEndian);
	const int32 side = ItemDescription::IconSide(type, length);
	const std::string iconBytes =
	    side > 0 ? std::string(static_cast<const char*>(data), length) : std::string();
	if (lines == fLines && iconBytes == fIconBytes)
		return;
	fLines = std::move(lines);
	fIconBytes = iconBytes;
	fIconSide = side;
	fIcon.reset();
	if (side > 0) {
		fIcon.reset(new BBitmap(BRect(0, 0, side - 1, side - 1), B_CMAP8));
		fIcon->SetBits(fIconBytes.data(), int32(fIconBytes.size()), 0, B_CMAP8);
	}
	Invalidate();
}

void ItemPreview::SetNoItem()
{
	const std::vector<std::string> lines = {"No item"};
	if (lines == fLines && fIconSide == 0)
		return;
	fLines = lines;
	fIconBytes.clear();
	fIconSide = 0;
	fIcon.reset();
	Invalidate();
}

int32 ItemPreview::IconScale() const
{
	if (fIconSide == 0)
		return 0;
	const BRect bounds = Bounds();
	const float room =
	    std::min(bounds.Width() + 1 - 2 * kInset,
	             bounds.Height() + 1 - 2 * kInset - kTextLinesUnderIcon * LineHeight());
	return std::clamp(int32(room) / fIconSide, int32(1), kMaxIconScale);
}

BRect ItemPreview::IconFrame() const
{
	const int32 scale = IconScale();
	if (scale == 0)
		return BRect();
	const float size = float(fIconSide * scale);
	return BRect(kInset, kInset, kInset + size - 1, kInset + size - 1);
}

float ItemPreview::LineHeight() const
{
	font_height height;
	GetFontHeight(&height);
	return std::ceil(height.ascent + height.descent + height.leading);
}

void ItemPreview::AttachedToWindow()
{
	// Text is drawn over the view's own colour.
	SetLowColor(ViewColor());
	BView::AttachedToWindow();
}

void ItemPreview::Draw(BRect)
{
	font_height height;
	GetFontHeight(&height);
	float top = kInset;
	const BRect icon = IconFrame();
	if (icon.IsValid()) {
		// The checkerboard first, then the icon over it: the transparent
		// index leaves the squares.
		for (float y = icon.top; y <= icon.bottom; y += kCheckerSquare) {
			for (float x = icon.left; x <= icon.right; x += kCheckerSquare) {
				const bool dark = (int32((x - icon.left) / kCheckerSquare) +
				                   int32((y - icon.top) / kCheckerSquare)) %
				                      2 !=
				                  0;
				SetHighColor(dark ? kCheckerDark : kCheckerLight);
				FillRect(BRect(x, y, std::min(x + kCheckerSquare - 1, icon.right),
				               std::min(y + kCheckerSquare - 1, icon.bottom)));
			}
		}
		SetDrawingMode(B_OP_OVER);
		DrawBitmap(fIcon.get(), fIcon->Bounds(), icon);
		SetDrawingMode(B_OP_COPY);
		top = icon.bottom + 1 + kInset;
	}
	SetHighColor(0, 0, 0);
	const float lineHeight = LineHeight();
	for (const std::string& line : Wrapped(Bounds().Width() + 1 - 2 * kInset)) {
		if (top > Bounds().bottom)
			break;
		DrawString(line.c_str(), BPoint(kInset, top + std::ceil(height.ascent)));
		top += lineHeight;
	}
}

void ItemPreview::FrameResized(float width, float height)
{
	// The icon's scale follows the room: drawn again whole.
	Invalidate();
	BView::FrameResized(width, height);
}

void ItemPreview::GetPreferredSize(float* width, float* height)
{
	// A large icon at twice its size at the default font, larger with the
	// font, and the lines under it.
	const float lineHeight = LineHeight();
	const float iconSize = 32 * std::max(2.0f, std::round(lineHeight / kLineHeightPerScale));
	if (width != NULL)
		*width = iconSize + 2 * kInset;
	if (height != NULL)
		*height = iconSize + 2 * kInset + (kTextLinesUnderIcon + 1) * lineHeight;
}

std::vector<std::string> ItemPreview::Wrapped(float width) const
{
	// A line too wide breaks after its last space that fits (or, without
	// one, where it must); what follows goes on indented.
	std::vector<std::string> wrapped;
	for (const std::string& line : fLines) {
		std::string rest = line;
		while (rest.size() > 1 && StringWidth(rest.c_str()) > width) {
			size_t fits = rest.size() - 1;
			while (fits > 1 && StringWidth(rest.substr(0, fits).c_str()) > width)
				fits--;
			// Beyond the indent, so that every break makes progress.
			const size_t space = rest.rfind(' ', fits);
			const size_t cut = space != std::string::npos && space > 4 ? space + 1 : fits;
			if (cut <= 4)
				break;
			wrapped.push_back(rest.substr(0, cut));
			rest = "    " + rest.substr(cut);
		}
		wrapped.push_back(rest);
	}
	return wrapped;
}

float ItemPreview::MinHeight() const
{
	return LineHeight() + 2 * kInset;
}
