// BScrollView: a frame around a target view with optional scroll bars that
// scroll it. Its frame is derived from the target's, which becomes its child;
// it owns the target and the bars as a parent owns its children.
#ifndef _SCROLL_VIEW_H
#define _SCROLL_VIEW_H

#include <InterfaceDefs.h>
#include <View.h>

class BScrollBar;

class _IMPEXP_BE BScrollView : public BView
{
public:
	BScrollView(const char* name, BView* target, uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
	            uint32 flags = 0, bool horizontal = false, bool vertical = false,
	            border_style border = B_FANCY_BORDER);
	virtual ~BScrollView();

	virtual void Draw(BRect updateRect);
	virtual void FrameResized(float newWidth, float newHeight);

	BScrollBar* ScrollBar(orientation direction) const;
	border_style Border() const;

private:
	BScrollView(const BScrollView&);
	// Between the two bars, when there are both; invalid otherwise.
	BRect CornerFrame() const;
	BScrollView& operator=(const BScrollView&);

	BScrollBar* fHorizontal;
	BScrollBar* fVertical;
	border_style fBorder;
};

#endif // _SCROLL_VIEW_H
