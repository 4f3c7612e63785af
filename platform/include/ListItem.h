// BListItem: one row of a BListView: its height and width, whether it is
// selected, and how it draws itself. BStringItem: a row of text.
// Owned by whoever added it to a list view (the list view does not delete
// its items); used on the list view's window thread.
#ifndef _LIST_ITEM_H
#define _LIST_ITEM_H

#include <Rect.h>
#include <SupportDefs.h>

#include <string>

class BFont;
class BView;

class _IMPEXP_BE BListItem
{
public:
	BListItem(uint32 outlineLevel = 0, bool expanded = true);
	virtual ~BListItem();

	float Height() const;
	float Width() const;
	bool IsSelected() const;
	void Select();
	void Deselect();
	void SetHeight(float height);
	void SetWidth(float width);
	uint32 OutlineLevel() const;
	// A disabled item is shown dimmed, and the user cannot select it with a
	// click or the arrow keys.
	void SetEnabled(bool enabled);
	bool IsEnabled() const;

	// Draws the item into owner within frame; complete asks for the
	// background to be drawn too, not only what differs from the view color.
	virtual void DrawItem(BView* owner, BRect frame, bool complete = false) = 0;
	// Called when the item joins a list view or the view's font changes:
	// the base takes the owner's width and a height of one line of font.
	virtual void Update(BView* owner, const BFont* font);

private:
	BListItem(const BListItem&);
	BListItem& operator=(const BListItem&);

	float fWidth;
	float fHeight;
	uint32 fLevel;
	bool fSelected;
	bool fEnabled;
};

class _IMPEXP_BE BStringItem : public BListItem
{
public:
	BStringItem(const char* text, uint32 outlineLevel = 0, bool expanded = true);
	virtual ~BStringItem();

	// The text in the owner's font and high color (lighter while disabled)
	// on its low color, or on a darker background while selected; indented
	// by its outline level (12 pixels a level in a font of 12 pixels, in
	// proportion in others).
	virtual void DrawItem(BView* owner, BRect frame, bool complete = false);
	virtual void SetText(const char* text);
	const char* Text() const;
	virtual void Update(BView* owner, const BFont* font);

private:
	std::string fText;
	float fBaselineOffset;
	float fTextLeft;
};

#endif // _LIST_ITEM_H
