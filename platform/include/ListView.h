// BListView: a column of BListItems, one under the other, of which the user
// selects one (or, in a multiple selection list, several) with the mouse or
// the arrow keys. A change of the selection calls SelectionChanged and sends
// the selection message; a double click or Enter sends the invocation
// message (the BInvoker's), both with the selected indexes as "index". The
// target is the window unless set. The view does not own its items. Used on
// its window's thread.
#ifndef _LIST_VIEW_H
#define _LIST_VIEW_H

#include <Invoker.h>
#include <ListItem.h>
#include <View.h>

#include <vector>

enum list_view_type
{
	B_SINGLE_SELECTION_LIST,
	B_MULTIPLE_SELECTION_LIST
};

class _IMPEXP_BE BListView : public BView, public BInvoker
{
public:
	BListView(BRect frame, const char* name, list_view_type type = B_SINGLE_SELECTION_LIST,
	          uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
	          uint32 flags = B_WILL_DRAW | B_FRAME_EVENTS | B_NAVIGABLE);
	virtual ~BListView();

	virtual void Draw(BRect updateRect);
	virtual void AttachedToWindow();
	virtual void FrameResized(float newWidth, float newHeight);
	// A click selects the enabled item under it (Shift or the command key extends a
	// multiple selection list); a double click invokes.
	virtual void MouseDown(BPoint where);
	// Up and Down move the selection, Home and End go to the ends (past
	// disabled items), Enter invokes; other keys go to BView.
	virtual void KeyDown(const char* bytes, int32 numBytes);
	virtual void GetPreferredSize(float* width, float* height);

	virtual bool AddItem(BListItem* item);
	virtual bool AddItem(BListItem* item, int32 atIndex);
	// Takes the item out of the list (the caller owns it again); a selected
	// item is deselected first, as Deselect does.
	virtual BListItem* RemoveItem(int32 index);
	virtual bool RemoveItem(BListItem* item);
	BListItem* ItemAt(int32 index) const;
	int32 IndexOf(BPoint point) const;
	int32 CountItems() const;

	virtual void SetSelectionMessage(BMessage* message);
	virtual void SetInvocationMessage(BMessage* message);

	// The index-th selected item's index (from the top), or -1.
	int32 CurrentSelection(int32 index = 0) const;
	// Adds "index" for each selected item, then as BInvoker::Invoke.
	virtual status_t Invoke(BMessage* message = NULL);
	void Select(int32 index, bool extend = false);
	bool IsItemSelected(int32 index) const;
	void Deselect(int32 index);
	// Scrolls by whole rows: where.y goes to the nearest row's top.
	virtual void ScrollTo(BPoint where);
	using BView::ScrollTo;
	void ScrollToSelection();
	void InvalidateItem(int32 index);
	BRect ItemFrame(int32 index);

	// Called after every change of the selection, before the message goes.
	virtual void SelectionChanged();

private:
	BListView(const BListView&);
	BListView& operator=(const BListView&);

	void _UpdateItem(BListItem* item);
	void _FixupScrollBar();
	// The first enabled item from index on in direction (1 or -1), or -1.
	int32 _EnabledFrom(int32 index, int32 direction) const;
	// The top of the first row from which every row below fits in the
	// view: as far as scrolling goes.
	float _LastTop() const;
	void _SelectionDone();

	std::vector<BListItem*> fItems;
	list_view_type fType;
	BMessage* fSelectionMessage;
};

#endif // _LIST_VIEW_H
