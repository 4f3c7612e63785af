// ItemPreview: what the shown item's bytes mean, under the item list: the
// lines of its readable form and, for an icon, the icon as a picture over a
// checkerboard (the transparent index shows it), scaled up by whole pixels
// to fit the view. Owned by its window; called on the window's thread.
#ifndef ITEM_PREVIEW_H
#define ITEM_PREVIEW_H

#include <Bitmap.h>
#include <View.h>

#include <memory>
#include <string>
#include <vector>

class ItemPreview : public BView
{
public:
	explicit ItemPreview(BRect frame);
	virtual ~ItemPreview();

	// Shows the readable form of length bytes of data of type (numbers in
	// them big-endian when bigEndian); redraws only when it changed.
	void SetItem(type_code type, const void* data, size_t length, bool bigEndian);
	// Shows that there is no item to show.
	void SetNoItem();

	// Where the icon is drawn, and how many pixels a side each of its
	// pixels takes; an invalid rectangle when the item is no icon.
	BRect IconFrame() const;
	int32 IconScale() const;
	const std::vector<std::string>& Lines() const { return fLines; }

	virtual void AttachedToWindow();
	virtual void Draw(BRect update);
	virtual void FrameResized(float width, float height);
	// Room for the largest icon at twice its size and a few lines.
	virtual void GetPreferredSize(float* width, float* height);
	// Room for one line.
	float MinHeight() const;

private:
	float LineHeight() const;
	// The lines broken to fit width pixels.
	std::vector<std::string> Wrapped(float width) const;

	std::vector<std::string> fLines;
	std::string fIconBytes;
	std::unique_ptr<BBitmap> fIcon;
	int32 fIconSide;
};

#endif // ITEM_PREVIEW_H
