// ViewState: everything a BView keeps: its place in the tree, its geometry,
// its drawing state and the cache of its visible region. Owned by the view;
// touched with its window locked (or by the one thread using a detached view).
#ifndef VIEW_STATE_H
#define VIEW_STATE_H

#include <Font.h>
#include <GraphicsDefs.h>
#include <Point.h>
#include <Rect.h>
#include <Region.h>

#include <vector>

class BCursor;
class BScrollBar;
class BView;
class BWindow;

namespace BPrivate {

// The drawing state, which an update saves before Draw and restores after it.
struct DrawState
{
	rgb_color high = {0, 0, 0, 255};
	rgb_color low = {255, 255, 255, 255};
	drawing_mode mode = B_OP_COPY;
	BPoint pen;
	BFont font;
	BPoint origin;
	bool clipped = false;
	BRegion clipping; // in this state's drawing coordinates
};

struct ViewState
{
	explicit ViewState(BView* self) : self(self) {}

	BView* self;
	BRect frame;   // in the parent's coordinates
	BPoint scroll; // the bounds' left-top
	uint32 resizingMode = 0;
	uint32 flags = 0;
	BView* parent = NULL;
	std::vector<BView*> children;
	BWindow* window = NULL;

	rgb_color viewColor = {255, 255, 255, 255};
	DrawState draw;

	const BCursor* cursor = NULL;
	BScrollBar* horizontalBar = NULL;
	BScrollBar* verticalBar = NULL;

	struct Line
	{
		BPoint start;
		BPoint end;
		rgb_color color;
	};
	std::vector<Line> lines;
	int32 lineCapacity = -1; // -1: no line array open

	// The visible region in window pixels (bounds cut by the ancestors,
	// minus the children), valid while cacheGeneration matches the window's.
	uint32 cacheGeneration = 0;
	BRegion visible;
	BRect visibleWithChildren;
	BPoint windowOffset; // where the view's (0, 0) lies in the window
};

} // namespace BPrivate

#endif // VIEW_STATE_H
