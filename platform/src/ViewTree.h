// Helpers over the view tree shared by BView, BWindow and BBitmap: attaching
// and detaching subtrees, geometry caches, frame changes with the resizing
// modes, invalidation and the bookkeeping of changed pixels. All run with the
// window locked.
#ifndef VIEW_TREE_H
#define VIEW_TREE_H

#include <Region.h>

#include "ViewState.h"
#include "WindowState.h"

#include <vector>

class BView;
class BWindow;

namespace BPrivate {

// Gives the subtree the window: AttachedToWindow for each view, parents
// first, then AllAttached, children first.
void AttachTree(BView* root, BWindow* window);
// DetachedFromWindow for each view, parents first, then AllDetached,
// children first; then the views leave the window.
void DetachTree(BView* root);

// Moves the focus to the next (or previous) view with B_NAVIGABLE, in tree
// order, wrapping around; from no focus to the first (or last).
void NavigateFocus(BWindow* window, bool forward);

// The views of the subtree, parents before children.
void CollectTree(BView* root, std::vector<BView*>& views);
// Whether view is still a view of window (it may have been deleted by a
// hook); a view without window counts as alive.
bool IsAlive(const BView* view, const BWindow* window);

// Brings the view's cached visible region and window offset up to date.
void UpdateGeometry(ViewState& state);
// Marks the window's geometry caches stale.
void GeometryChanged(BWindow* window);

// A hook owed by a frame change, called once every frame has changed.
struct FrameHook
{
	BView* view;
	bool resized; // FrameResized, else FrameMoved
};
// Sets the view's frame; its children follow by their resizing modes.
// Invalidates what must be drawn again and lists the hooks to call.
void ChangeFrame(BView* view, BRect frame, std::vector<FrameHook>& hooks);
void CallFrameHooks(const std::vector<FrameHook>& hooks);

// Adds the area (window pixels) to what the window draws at its next update.
void InvalidateWindow(BWindow* window, const BRegion& area);
// Records pixels the display has not been shown yet.
void PixelsChanged(WindowState& window, const clipping_rect& area);

} // namespace BPrivate

#endif // VIEW_TREE_H
