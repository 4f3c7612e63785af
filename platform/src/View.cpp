// BView: the tree, geometry, scrolling, drawing state, focus and input. The
// drawing calls are in ViewDrawing.cpp.
#include <View.h>

#include <AppDefs.h>
#include <Looper.h>
#include <Message.h>
#include <ScrollBar.h>
#include <Window.h>

#include "Backend.h"
#include "KitAccess.h"
#include "Painter.h"
#include "PixelGrid.h"
#include "ViewTree.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>

using BPrivate::KitAccess;
using BPrivate::ViewState;
using BPrivate::WindowState;

namespace {

// The pixel rectangle covering rect: fractional edges round outwards.
BRect OuterPixels(BRect rect)
{
	return BRect(floorf(rect.left), floorf(rect.top), ceilf(rect.right), ceilf(rect.bottom));
}

BRegion RegionOf(BRect rect)
{
	BRegion region;
	if (rect.IsValid())
		region.Set(rect);
	return region;
}

BPoint WindowOffset(const ViewState& state)
{
	BPoint offset = state.frame.LeftTop() - state.scroll;
	if (state.parent != NULL)
		offset += WindowOffset(KitAccess::State(state.parent));
	return offset;
}

// Where a view's edge goes when its parent grows by delta: rule is the
// edge's nibble of the resizing mode, farSide the rule of following the
// parent's right (or bottom) side.
float Follow(uint32 rule, uint32 farSide, float delta)
{
	if (rule == farSide)
		return delta;
	if (rule == _VIEW_CENTER_)
		return delta / 2;
	return 0;
}

} // namespace

namespace BPrivate {

void CollectTree(BView* root, std::vector<BView*>& views)
{
	views.push_back(root);
	for (BView* child : KitAccess::State(root).children)
		CollectTree(child, views);
}

bool IsAlive(const BView* view, const BWindow* window)
{
	return window == NULL || window->IndexOf(const_cast<BView*>(view)) >= 0;
}

static void CallAllAttached(BView* view, BWindow* window)
{
	std::vector<BView*> children = KitAccess::State(view).children;
	for (BView* child : children) {
		if (IsAlive(child, window))
			CallAllAttached(child, window);
	}
	if (IsAlive(view, window))
		view->AllAttached();
}

void NavigateFocus(BWindow* window, bool forward)
{
	std::vector<BView*> views;
	CollectTree(KitAccess::State(window).topView, views);
	std::vector<BView*> navigable;
	for (BView* view : views) {
		if ((view->Flags() & B_NAVIGABLE) != 0)
			navigable.push_back(view);
	}
	if (navigable.empty())
		return;
	int32 count = int32(navigable.size());
	auto current = std::find(navigable.begin(), navigable.end(), window->CurrentFocus());
	int32 next;
	if (current == navigable.end())
		next = forward ? 0 : count - 1;
	else
		next = (int32(current - navigable.begin()) + (forward ? 1 : count - 1)) % count;
	navigable[next]->MakeFocus(true);
}

void AttachTree(BView* root, BWindow* window)
{
	std::vector<BView*> views;
	CollectTree(root, views);
	for (BView* view : views) {
		ViewState& state = KitAccess::State(view);
		state.window = window;
		window->AddHandler(view);
		// Messages a view leaves alone go on to its parent, and from the
		// top view to the window.
		view->SetNextHandler(state.parent != NULL ? static_cast<BHandler*>(state.parent)
		                                          : static_cast<BHandler*>(window));
	}
	GeometryChanged(window);
	for (BView* view : views) {
		if (IsAlive(view, window) && KitAccess::State(view).window == window)
			view->AttachedToWindow();
	}
	if (IsAlive(root, window))
		CallAllAttached(root, window);
}

static void CallAllDetached(BView* view)
{
	for (BView* child : KitAccess::State(view).children)
		CallAllDetached(child);
	view->AllDetached();
}

void DetachTree(BView* root)
{
	BWindow* window = KitAccess::State(root).window;
	if (window == NULL)
		return;
	std::vector<BView*> views;
	CollectTree(root, views);
	for (BView* view : views)
		view->DetachedFromWindow();
	CallAllDetached(root);

	WindowState& windowState = KitAccess::State(window);
	for (BView* view : views) {
		if (windowState.focus == view)
			windowState.focus = NULL;
		if (windowState.viewUnderPointer == view)
			windowState.viewUnderPointer = NULL;
		if (windowState.maskView == view)
			windowState.maskView = NULL;
		if (windowState.drawingView == view)
			windowState.drawingView = NULL;
		if (windowState.defaultButton == view)
			windowState.defaultButton = NULL;
		window->RemoveHandler(view);
		ViewState& state = KitAccess::State(view);
		state.window = NULL;
		state.cacheGeneration = 0;
	}
	// The subtree's root no longer passes messages on to its old parent.
	root->SetNextHandler(NULL);
	GeometryChanged(window);
}

void GeometryChanged(BWindow* window)
{
	if (window == NULL)
		return;
	WindowState& state = KitAccess::State(window);
	if (++state.generation == 0)
		state.generation = 1;
}

void UpdateGeometry(ViewState& state)
{
	uint32 generation = 0;
	if (state.window != NULL) {
		generation = KitAccess::State(state.window).generation;
		if (state.cacheGeneration == generation)
			return;
	}
	state.windowOffset = WindowOffset(state);
	BRect visible = state.self->Bounds().OffsetBySelf(state.windowOffset);
	if (state.parent != NULL) {
		ViewState& parent = KitAccess::State(state.parent);
		UpdateGeometry(parent);
		visible = visible & parent.visibleWithChildren;
	}
	state.visibleWithChildren = visible;
	state.visible = RegionOf(visible);
	BPoint offset = state.windowOffset;
	for (BView* child : state.children)
		state.visible.Exclude(KitAccess::State(child).frame.OffsetByCopy(offset));
	state.cacheGeneration = generation;
}

void InvalidateWindow(BWindow* window, const BRegion& area)
{
	WindowState& state = KitAccess::State(window);
	if (state.offscreen || area.CountRects() == 0)
		return;
	state.dirty.Include(&area);
	if (!state.updatePending) {
		state.updatePending = true;
		QueueMessage(window, new BMessage(kUpdateMessage), NULL, true);
	}
}

void PixelsChanged(WindowState& window, const clipping_rect& area)
{
	window.changed = BoundingBox(window.changed, area);
}

void ChangeFrame(BView* view, BRect frame, std::vector<FrameHook>& hooks)
{
	ViewState& state = KitAccess::State(view);
	BRect old = state.frame;
	if (old == frame)
		return;
	bool moved = old.LeftTop() != frame.LeftTop();
	bool resized = old.Width() != frame.Width() || old.Height() != frame.Height();
	BWindow* window = state.window;
	bool redraws = window != NULL && !KitAccess::State(window).offscreen;

	// The parent draws again where the view no longer covers it.
	if (redraws && state.parent != NULL) {
		if (moved) {
			state.parent->Invalidate(old);
		} else {
			BRegion uncovered = RegionOf(OuterPixels(old));
			uncovered.Exclude(OuterPixels(frame));
			state.parent->Invalidate(&uncovered);
		}
	}

	BRect oldBounds = view->Bounds();
	state.frame = frame;
	GeometryChanged(window);
	if ((state.flags & B_FRAME_EVENTS) != 0) {
		if (moved)
			hooks.push_back({view, false});
		if (resized)
			hooks.push_back({view, true});
	}

	if (resized) {
		float dw = frame.Width() - old.Width();
		float dh = frame.Height() - old.Height();
		for (BView* child : state.children) {
			ViewState& childState = KitAccess::State(child);
			uint32 mode = childState.resizingMode;
			BRect childFrame = childState.frame;
			childFrame.left += Follow((mode >> 8) & 0xf, _VIEW_RIGHT_, dw);
			childFrame.right += Follow(mode & 0xf, _VIEW_RIGHT_, dw);
			childFrame.top += Follow((mode >> 12) & 0xf, _VIEW_BOTTOM_, dh);
			childFrame.bottom += Follow((mode >> 4) & 0xf, _VIEW_BOTTOM_, dh);
			ChangeFrame(child, childFrame, hooks);
		}
	}

	if (!redraws)
		return;
	if (moved && state.parent != NULL) {
		state.parent->Invalidate(frame);
	} else if (moved || (state.flags & B_FULL_UPDATE_ON_RESIZE) != 0) {
		view->Invalidate();
	} else if (resized) {
		BRegion added = RegionOf(OuterPixels(view->Bounds()));
		added.Exclude(OuterPixels(oldBounds));
		view->Invalidate(&added);
	}
}

void CallFrameHooks(const std::vector<FrameHook>& hooks)
{
	for (const FrameHook& hook : hooks) {
		ViewState& state = KitAccess::State(hook.view);
		if (!IsAlive(hook.view, state.window))
			continue;
		if (hook.resized)
			hook.view->FrameResized(state.frame.Width(), state.frame.Height());
		else
			hook.view->FrameMoved(state.frame.LeftTop());
	}
}

} // namespace BPrivate

BView::BView(BRect frame, const char* name, uint32 resizingMode, uint32 flags)
    : BHandler(name), fState(new ViewState(this))
{
	fState->frame = frame;
	fState->resizingMode = resizingMode;
	fState->flags = flags;
}

BView::~BView()
{
	if (fState->parent != NULL)
		RemoveSelf();
	else if (fState->window != NULL)
		BPrivate::DetachTree(this);
	if (fState->horizontalBar != NULL)
		fState->horizontalBar->SetTarget(static_cast<BView*>(NULL));
	if (fState->verticalBar != NULL)
		fState->verticalBar->SetTarget(static_cast<BView*>(NULL));
	std::vector<BView*> children;
	children.swap(fState->children);
	for (BView* child : children) {
		KitAccess::State(child).parent = NULL;
		delete child;
	}
}

void BView::AttachedToWindow() {}

void BView::AllAttached() {}

void BView::DetachedFromWindow() {}

void BView::AllDetached() {}

void BView::MessageReceived(BMessage* message)
{
	if (message->what == B_MOUSE_WHEEL_CHANGED) {
		BScrollBar* horizontal = ScrollBar(B_HORIZONTAL);
		BScrollBar* vertical = ScrollBar(B_VERTICAL);
		float deltaX = 0;
		float deltaY = 0;
		message->FindFloat("be:wheel_delta_x", &deltaX);
		message->FindFloat("be:wheel_delta_y", &deltaY);
		// A wheel notch moves three small steps; a view with only a
		// horizontal bar scrolls it with the vertical wheel too.
		if (vertical == NULL && deltaX == 0)
			std::swap(deltaX, deltaY);
		float smallStep;
		float largeStep;
		if (horizontal != NULL && deltaX != 0) {
			horizontal->GetSteps(&smallStep, &largeStep);
			horizontal->SetValue(horizontal->Value() + deltaX * smallStep * 3);
		}
		if (vertical != NULL && deltaY != 0) {
			vertical->GetSteps(&smallStep, &largeStep);
			vertical->SetValue(vertical->Value() + deltaY * smallStep * 3);
		}
		if (horizontal != NULL || vertical != NULL)
			return;
	}
	BHandler::MessageReceived(message);
}

void BView::Draw(BRect) {}

void BView::MouseDown(BPoint) {}

void BView::MouseUp(BPoint) {}

void BView::MouseMoved(BPoint, uint32, const BMessage*) {}

void BView::KeyDown(const char* bytes, int32 numBytes)
{
	BWindow* window = fState->window;
	if (window == NULL || numBytes != 1 || bytes[0] != B_TAB)
		return;
	int32 modifiers = 0;
	if (BMessage* message = window->CurrentMessage())
		message->FindInt32("modifiers", &modifiers);
	if ((modifiers & (B_COMMAND_KEY | B_CONTROL_KEY | B_OPTION_KEY)) != 0)
		return;
	BPrivate::NavigateFocus(window, (modifiers & B_SHIFT_KEY) == 0);
}

void BView::KeyUp(const char*, int32) {}

void BView::Pulse() {}

void BView::FrameMoved(BPoint) {}

void BView::FrameResized(float, float) {}

void BView::WindowActivated(bool) {}

BWindow* BView::Window() const
{
	return fState->window;
}

void BView::AddChild(BView* child, BView* before)
{
	if (child == NULL)
		return;
	ViewState& childState = *child->fState;
	if (childState.parent != NULL || childState.window != NULL) {
		fprintf(stderr, "AddChild failed - the view \"%s\" already has a parent\n", child->Name());
		return;
	}
	std::vector<BView*>& children = fState->children;
	auto position = std::find(children.begin(), children.end(), before);
	children.insert(position, child);
	childState.parent = this;
	if (fState->window != NULL) {
		BPrivate::AttachTree(child, fState->window);
		if (childState.parent == this)
			child->Invalidate();
	}
}

bool BView::RemoveChild(BView* child)
{
	if (child == NULL || child->fState->parent != this)
		return false;
	BWindow* window = fState->window;
	if (window != NULL) {
		Invalidate(child->Frame());
		// The focus leaves the subtree through the virtual hook, while the
		// views are still attached.
		BView* focus = KitAccess::State(window).focus;
		for (BView* view = focus; view != NULL; view = view->fState->parent) {
			if (view == child) {
				focus->MakeFocus(false);
				break;
			}
		}
		BPrivate::DetachTree(child);
	}
	std::vector<BView*>& children = fState->children;
	children.erase(std::find(children.begin(), children.end(), child));
	child->fState->parent = NULL;
	BPrivate::GeometryChanged(window);
	return true;
}

int32 BView::CountChildren() const
{
	return int32(fState->children.size());
}

BView* BView::ChildAt(int32 index) const
{
	if (index < 0 || index >= CountChildren())
		return NULL;
	return fState->children[index];
}

bool BView::RemoveSelf()
{
	if (fState->parent == NULL)
		return false;
	return fState->parent->RemoveChild(this);
}

BView* BView::Parent() const
{
	return fState->parent;
}

BView* BView::FindView(const char* name) const
{
	if (name == NULL)
		return NULL;
	if (strcmp(Name(), name) == 0)
		return const_cast<BView*>(this);
	for (BView* child : fState->children) {
		if (BView* found = child->FindView(name))
			return found;
	}
	return NULL;
}

BRect BView::Bounds() const
{
	BRect frame = fState->frame;
	return frame.OffsetToCopy(fState->scroll);
}

BRect BView::Frame() const
{
	return fState->frame;
}

void BView::MoveTo(BPoint where)
{
	MoveTo(where.x, where.y);
}

void BView::MoveTo(float x, float y)
{
	std::vector<BPrivate::FrameHook> hooks;
	BPrivate::ChangeFrame(this, fState->frame.OffsetToCopy(x, y), hooks);
	BPrivate::CallFrameHooks(hooks);
}

void BView::ResizeBy(float dh, float dv)
{
	ResizeTo(fState->frame.Width() + dh, fState->frame.Height() + dv);
}

void BView::ResizeTo(float width, float height)
{
	BRect frame = fState->frame;
	frame.right = frame.left + width;
	frame.bottom = frame.top + height;
	std::vector<BPrivate::FrameHook> hooks;
	BPrivate::ChangeFrame(this, frame, hooks);
	BPrivate::CallFrameHooks(hooks);
}

void BView::ScrollBy(float dh, float dv)
{
	if (dh == 0 && dv == 0)
		return;
	BWindow* window = fState->window;
	BRegion exposed;
	if (window != NULL) {
		WindowState& windowState = KitAccess::State(window);
		BPrivate::UpdateGeometry(*fState);
		BRect area = OuterPixels(fState->visibleWithChildren);
		area =
		    area & BRect(0, 0, windowState.pixels->Width() - 1, windowState.pixels->Height() - 1);
		if (area.IsValid()) {
			exposed = RegionOf(area);
			// Whole-pixel scrolls shift what stays visible; the rest is drawn.
			if (dh == floorf(dh) && dv == floorf(dv)) {
				BRect kept = area.OffsetByCopy(-dh, -dv) & area;
				if (kept.IsValid()) {
					// The painter reads a copy of the area it shifts within.
					Painter shift(*windowState.pixels, RegionOf(kept));
					shift.CopyPixels(*windowState.pixels, area, area.LeftTop() - BPoint(dh, dv));
					BPrivate::PixelsChanged(windowState, shift.TouchedPixels());
					exposed.Exclude(kept);

					// Pending updates inside move with the pixels.
					BRegion inside = windowState.dirty;
					BRegion areaRegion = RegionOf(area);
					inside.IntersectWith(&areaRegion);
					windowState.dirty.Exclude(area);
					inside.OffsetBy(int32(-dh), int32(-dv));
					inside.IntersectWith(&areaRegion);
					windowState.dirty.Include(&inside);
				}
			}
		}
	}
	fState->scroll += BPoint(dh, dv);
	BPrivate::GeometryChanged(window);
	if (window != NULL)
		BPrivate::InvalidateWindow(window, exposed);

	BScrollBar* horizontal = fState->horizontalBar;
	if (horizontal != NULL && horizontal->Value() != fState->scroll.x)
		horizontal->SetValue(fState->scroll.x);
	BScrollBar* vertical = fState->verticalBar;
	if (vertical != NULL && vertical->Value() != fState->scroll.y)
		vertical->SetValue(fState->scroll.y);
}

void BView::ScrollTo(float x, float y)
{
	ScrollTo(BPoint(x, y));
}

void BView::ScrollTo(BPoint where)
{
	ScrollBy(where.x - fState->scroll.x, where.y - fState->scroll.y);
}

void BView::GetPreferredSize(float* width, float* height)
{
	if (width != NULL)
		*width = fState->frame.Width();
	if (height != NULL)
		*height = fState->frame.Height();
}

void BView::ConvertToWindow(BPoint* point) const
{
	*point += WindowOffset(*fState);
}

BPoint BView::ConvertToWindow(BPoint point) const
{
	ConvertToWindow(&point);
	return point;
}

void BView::ConvertFromWindow(BPoint* point) const
{
	*point -= WindowOffset(*fState);
}

BPoint BView::ConvertFromWindow(BPoint point) const
{
	ConvertFromWindow(&point);
	return point;
}

void BView::ConvertToScreen(BPoint* point) const
{
	ConvertToWindow(point);
	if (fState->window != NULL)
		fState->window->ConvertToScreen(point);
}

BPoint BView::ConvertToScreen(BPoint point) const
{
	ConvertToScreen(&point);
	return point;
}

void BView::ConvertFromScreen(BPoint* point) const
{
	if (fState->window != NULL)
		fState->window->ConvertFromScreen(point);
	ConvertFromWindow(point);
}

BPoint BView::ConvertFromScreen(BPoint point) const
{
	ConvertFromScreen(&point);
	return point;
}

uint32 BView::Flags() const
{
	return fState->flags;
}

void BView::SetFlags(uint32 flags)
{
	fState->flags = flags;
}

uint32 BView::ResizingMode() const
{
	return fState->resizingMode;
}

void BView::SetViewColor(rgb_color color)
{
	fState->viewColor = color;
}

rgb_color BView::ViewColor() const
{
	return fState->viewColor;
}

void BView::SetHighColor(rgb_color color)
{
	fState->draw.high = color;
}

void BView::SetHighColor(uchar red, uchar green, uchar blue, uchar alpha)
{
	SetHighColor(rgb_color{red, green, blue, alpha});
}

rgb_color BView::HighColor() const
{
	return fState->draw.high;
}

void BView::SetLowColor(rgb_color color)
{
	fState->draw.low = color;
}

rgb_color BView::LowColor() const
{
	return fState->draw.low;
}

void BView::SetDrawingMode(drawing_mode mode)
{
	fState->draw.mode = mode;
}

drawing_mode BView::DrawingMode() const
{
	return fState->draw.mode;
}

void BView::SetOrigin(BPoint origin)
{
	fState->draw.origin = origin;
}

void BView::SetOrigin(float x, float y)
{
	SetOrigin(BPoint(x, y));
}

BPoint BView::Origin() const
{
	return fState->draw.origin;
}

void BView::MovePenTo(BPoint point)
{
	fState->draw.pen = point;
}

void BView::MovePenTo(float x, float y)
{
	MovePenTo(BPoint(x, y));
}

void BView::SetFont(const BFont* font, uint32 mask)
{
	if (font == NULL)
		return;
	BFont& own = fState->draw.font;
	if ((mask & B_FONT_ALL) == B_FONT_ALL) {
		own = *font;
		return;
	}
	if ((mask & B_FONT_FAMILY_AND_STYLE) != 0) {
		font_family family;
		font_style style;
		font->GetFamilyAndStyle(&family, &style);
		own.SetFamilyAndStyle(family, style);
	}
	if ((mask & B_FONT_SIZE) != 0)
		own.SetSize(font->Size());
	if ((mask & B_FONT_SPACING) != 0)
		own.SetSpacing(font->Spacing());
	if ((mask & B_FONT_FACE) != 0)
		own.SetFace(font->Face());
	if ((mask & B_FONT_FLAGS) != 0)
		own.SetFlags(font->Flags());
}

void BView::GetFont(BFont* font) const
{
	if (font != NULL)
		*font = fState->draw.font;
}

void BView::GetFontHeight(font_height* height) const
{
	fState->draw.font.GetHeight(height);
}

float BView::StringWidth(const char* string) const
{
	return fState->draw.font.StringWidth(string);
}

void BView::ConstrainClippingRegion(BRegion* region)
{
	if (region == NULL) {
		fState->draw.clipped = false;
		fState->draw.clipping.MakeEmpty();
		return;
	}
	fState->draw.clipped = true;
	fState->draw.clipping = *region;
}

void BView::Invalidate(BRect rect)
{
	BWindow* window = fState->window;
	if (window == NULL || !rect.IsValid())
		return;
	BPrivate::UpdateGeometry(*fState);
	BRect area = OuterPixels(rect.OffsetByCopy(fState->windowOffset)) &
	             OuterPixels(fState->visibleWithChildren);
	BPrivate::InvalidateWindow(window, RegionOf(area));
}

void BView::Invalidate(const BRegion* region)
{
	if (region == NULL)
		return;
	for (int32 i = 0; i < region->CountRects(); i++)
		Invalidate(region->RectAt(i));
}

void BView::Invalidate()
{
	Invalidate(Bounds());
}

void BView::MakeFocus(bool focusState)
{
	BWindow* window = fState->window;
	if (window == NULL)
		return;
	WindowState& windowState = KitAccess::State(window);
	if (!focusState) {
		if (windowState.focus == this)
			windowState.focus = NULL;
		return;
	}
	if (windowState.focus == this)
		return;
	if (BView* previous = windowState.focus)
		previous->MakeFocus(false);
	windowState.focus = this;
}

bool BView::IsFocus() const
{
	return fState->window != NULL && KitAccess::State(fState->window).focus == this;
}

void BView::SetViewCursor(const BCursor* cursor, bool)
{
	fState->cursor = cursor;
	BWindow* window = fState->window;
	if (window == NULL)
		return;
	WindowState& windowState = KitAccess::State(window);
	// Drawing is synchronous here, so the shape is applied at once either way.
	if (!windowState.offscreen && windowState.viewUnderPointer == this) {
		BPrivate::CurrentBackend().SetCursor(
		    windowState.native, cursor != NULL ? BPrivate::CursorShape(KitAccess::Shape(cursor))
		                                       : BPrivate::kSystemDefaultCursor);
	}
}

void BView::GetMouse(BPoint* location, uint32* buttons, bool checkMessageQueue)
{
	BWindow* window = fState->window;
	if (window == NULL) {
		if (location != NULL)
			*location = BPoint(0, 0);
		if (buttons != NULL)
			*buttons = 0;
		return;
	}
	WindowState& windowState = KitAccess::State(window);
	if (checkMessageQueue) {
		// A pointer move still waiting in the queue is newer than what the
		// window last saw; it is taken from the queue, as the kits do.
		if (BMessage* moved = BPrivate::TakeQueuedMessage(window, B_MOUSE_MOVED)) {
			moved->FindPoint("where", &windowState.pointer);
			windowState.buttons = uint32(moved->FindInt32("buttons"));
			delete moved;
		}
	}
	if (location != NULL)
		*location = ConvertFromWindow(windowState.pointer);
	if (buttons != NULL)
		*buttons = windowState.buttons;
}

status_t BView::SetMouseEventMask(uint32 mask, uint32)
{
	BWindow* window = fState->window;
	if (window == NULL)
		return B_ERROR;
	WindowState& windowState = KitAccess::State(window);
	if ((mask & B_POINTER_EVENTS) != 0)
		windowState.maskView = this;
	else if (windowState.maskView == this)
		windowState.maskView = NULL;
	return B_OK;
}

BScrollBar* BView::ScrollBar(orientation direction) const
{
	return direction == B_VERTICAL ? fState->verticalBar : fState->horizontalBar;
}
