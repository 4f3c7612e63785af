// BListView: items stacked from the top, selection, keys, scrolling.
#include <ListView.h>

#include <Errors.h>
#include <Font.h>
#include <InterfaceDefs.h>
#include <Message.h>
#include <ScrollBar.h>
#include <Window.h>

#include <algorithm>
#include <cmath>

namespace {

const rgb_color kListBackground = {255, 255, 255, 255};

} // namespace

BListView::BListView(BRect frame, const char* name, list_view_type type, uint32 resizingMode,
                     uint32 flags)
    : BView(frame, name, resizingMode, flags), fType(type), fSelectionMessage(NULL)
{
	SetViewColor(kListBackground);
	SetLowColor(kListBackground);
}

BListView::~BListView()
{
	delete fSelectionMessage;
}

void BListView::AttachedToWindow()
{
	BLooper* looper = NULL;
	if (Target(&looper) == NULL && looper == NULL)
		SetTarget(Window());
	for (BListItem* item : fItems)
		_UpdateItem(item);
	_FixupScrollBar();
	BView::AttachedToWindow();
}

void BListView::FrameResized(float newWidth, float newHeight)
{
	for (BListItem* item : fItems)
		_UpdateItem(item);
	_FixupScrollBar();
	BView::FrameResized(newWidth, newHeight);
}

void BListView::Draw(BRect updateRect)
{
	BRect bounds = Bounds();
	float top = 0;
	for (BListItem* item : fItems) {
		BRect frame(bounds.left, top, bounds.right, top + item->Height() - 1);
		top += item->Height();
		if (frame.top > updateRect.bottom)
			break;
		if (frame.Intersects(updateRect))
			item->DrawItem(this, frame, false);
	}
}

void BListView::MouseDown(BPoint where)
{
	if (!IsFocus() && (Flags() & B_NAVIGABLE) != 0)
		MakeFocus(true);
	int32 index = IndexOf(where);
	if (index < 0 || !fItems[size_t(index)]->IsEnabled())
		return;
	int32 clicks = 1;
	int32 modifiers = 0;
	if (BMessage* message = Window()->CurrentMessage()) {
		message->FindInt32("clicks", &clicks);
		message->FindInt32("modifiers", &modifiers);
	}
	if (clicks >= 2 && IsItemSelected(index)) {
		Invoke();
		return;
	}
	bool extend =
	    fType == B_MULTIPLE_SELECTION_LIST && (modifiers & (B_SHIFT_KEY | B_COMMAND_KEY)) != 0;
	if (extend && IsItemSelected(index))
		Deselect(index);
	else
		Select(index, extend);
}

void BListView::KeyDown(const char* bytes, int32 numBytes)
{
	int32 count = CountItems();
	int32 current = CurrentSelection();
	int32 target = -1;
	switch (numBytes == 1 ? bytes[0] : 0) {
	case B_UP_ARROW:
		target = _EnabledFrom(current < 0 ? count - 1 : current - 1, -1);
		break;
	case B_DOWN_ARROW:
		target = _EnabledFrom(current + 1, 1);
		break;
	case B_HOME:
		target = _EnabledFrom(0, 1);
		break;
	case B_END:
		target = _EnabledFrom(count - 1, -1);
		break;
	case B_ENTER:
		if (current >= 0)
			Invoke();
		return;
	default:
		BView::KeyDown(bytes, numBytes);
		return;
	}
	if (target >= 0) {
		Select(target);
		ScrollToSelection();
	}
}

void BListView::GetPreferredSize(float* width, float* height)
{
	float widest = 0;
	float total = 0;
	for (BListItem* item : fItems) {
		widest = std::max(widest, item->Width());
		total += item->Height();
	}
	if (width != NULL)
		*width = widest;
	if (height != NULL)
		*height = total;
}

bool BListView::AddItem(BListItem* item)
{
	return AddItem(item, CountItems());
}

bool BListView::AddItem(BListItem* item, int32 atIndex)
{
	if (item == NULL || atIndex < 0 || atIndex > CountItems())
		return false;
	fItems.insert(fItems.begin() + atIndex, item);
	if (Window() != NULL)
		_UpdateItem(item);
	_FixupScrollBar();
	Invalidate();
	return true;
}

BListItem* BListView::RemoveItem(int32 index)
{
	if (index < 0 || index >= CountItems())
		return NULL;
	Deselect(index);
	BListItem* item = fItems[size_t(index)];
	fItems.erase(fItems.begin() + index);
	_FixupScrollBar();
	Invalidate();
	return item;
}

bool BListView::RemoveItem(BListItem* item)
{
	std::vector<BListItem*>::iterator found = std::find(fItems.begin(), fItems.end(), item);
	return found != fItems.end() && RemoveItem(int32(found - fItems.begin())) != NULL;
}

BListItem* BListView::ItemAt(int32 index) const
{
	if (index < 0 || index >= CountItems())
		return NULL;
	return fItems[size_t(index)];
}

int32 BListView::IndexOf(BPoint point) const
{
	float top = 0;
	for (size_t i = 0; i < fItems.size(); i++) {
		float bottom = top + fItems[i]->Height() - 1;
		if (point.y >= top && point.y <= bottom + 0.999f)
			return int32(i);
		top = bottom + 1;
	}
	return -1;
}

int32 BListView::CountItems() const
{
	return int32(fItems.size());
}

void BListView::SetSelectionMessage(BMessage* message)
{
	if (message != fSelectionMessage) {
		delete fSelectionMessage;
		fSelectionMessage = message;
	}
}

void BListView::SetInvocationMessage(BMessage* message)
{
	SetMessage(message);
}

int32 BListView::CurrentSelection(int32 index) const
{
	for (size_t i = 0; i < fItems.size(); i++) {
		if (fItems[i]->IsSelected() && index-- == 0)
			return int32(i);
	}
	return -1;
}

status_t BListView::Invoke(BMessage* message)
{
	BMessage* source = message != NULL ? message : Message();
	if (source == NULL)
		return B_BAD_VALUE;
	BMessage copy(*source);
	for (int32 i = 0; i < CountItems(); i++) {
		if (IsItemSelected(i))
			copy.AddInt32("index", i);
	}
	return BInvoker::Invoke(&copy);
}

void BListView::Select(int32 index, bool extend)
{
	if (index < 0 || index >= CountItems())
		return;
	bool changed = false;
	if (!extend || fType == B_SINGLE_SELECTION_LIST) {
		for (int32 i = 0; i < CountItems(); i++) {
			if (i != index && IsItemSelected(i)) {
				fItems[size_t(i)]->Deselect();
				InvalidateItem(i);
				changed = true;
			}
		}
	}
	if (!IsItemSelected(index)) {
		fItems[size_t(index)]->Select();
		InvalidateItem(index);
		changed = true;
	}
	if (changed)
		_SelectionDone();
}

bool BListView::IsItemSelected(int32 index) const
{
	BListItem* item = ItemAt(index);
	return item != NULL && item->IsSelected();
}

void BListView::Deselect(int32 index)
{
	if (!IsItemSelected(index))
		return;
	fItems[size_t(index)]->Deselect();
	InvalidateItem(index);
	_SelectionDone();
}

void BListView::ScrollTo(BPoint where)
{
	// Whole rows: the top row is never cut, wherever the bar or a key asks.
	const float last = _LastTop();
	float nearest = 0;
	float top = 0;
	for (BListItem* item : fItems) {
		if (top > last)
			break;
		if (std::fabs(top - where.y) < std::fabs(nearest - where.y))
			nearest = top;
		top += item->Height();
	}
	BView::ScrollTo(BPoint(where.x, nearest));
	// The bar asked for a place between rows: it shows the row's top.
	BScrollBar* bar = ScrollBar(B_VERTICAL);
	if (bar != NULL && bar->Value() != Bounds().top)
		bar->SetValue(Bounds().top);
}

void BListView::ScrollToSelection()
{
	int32 current = CurrentSelection();
	if (current < 0)
		return;
	BRect frame = ItemFrame(current);
	BRect bounds = Bounds();
	if (frame.top < bounds.top)
		ScrollTo(bounds.left, frame.top);
	else if (frame.bottom > bounds.bottom) {
		// The first row top from which the selected row is seen whole.
		float top = 0;
		for (size_t i = 0; i < fItems.size() && frame.bottom - top > bounds.Height(); i++)
			top += fItems[i]->Height();
		ScrollTo(bounds.left, top);
	}
}

void BListView::InvalidateItem(int32 index)
{
	if (ItemAt(index) != NULL)
		Invalidate(ItemFrame(index));
}

BRect BListView::ItemFrame(int32 index)
{
	BRect bounds = Bounds();
	float top = 0;
	for (int32 i = 0; i < index && i < CountItems(); i++)
		top += fItems[size_t(i)]->Height();
	BListItem* item = ItemAt(index);
	float height = item != NULL ? item->Height() : 0;
	return BRect(bounds.left, top, bounds.right, top + height - 1);
}

void BListView::SelectionChanged() {}

void BListView::_UpdateItem(BListItem* item)
{
	BFont font;
	GetFont(&font);
	item->Update(this, &font);
}

void BListView::_SelectionDone()
{
	SelectionChanged();
	if (fSelectionMessage != NULL)
		Invoke(fSelectionMessage);
}

int32 BListView::_EnabledFrom(int32 index, int32 direction) const
{
	for (; index >= 0 && index < CountItems(); index += direction) {
		if (fItems[size_t(index)]->IsEnabled())
			return index;
	}
	return -1;
}

float BListView::_LastTop() const
{
	float total = 0;
	for (BListItem* item : fItems)
		total += item->Height();
	const float visible = Bounds().Height() + 1;
	float top = 0;
	for (size_t i = 0; i < fItems.size() && total - top > visible; i++)
		top += fItems[i]->Height();
	return top;
}

void BListView::_FixupScrollBar()
{
	BScrollBar* bar = ScrollBar(B_VERTICAL);
	if (bar == NULL)
		return;
	float total = 0;
	for (BListItem* item : fItems)
		total += item->Height();
	float visible = Bounds().Height() + 1;
	bar->SetRange(0, _LastTop());
	bar->SetProportion(total > 0 ? std::min(1.0f, visible / total) : 1.0f);
	float step = fItems.empty() ? 1 : fItems.front()->Height();
	bar->SetSteps(std::max(step, 1.0f), std::max(visible - step, 1.0f));
}
