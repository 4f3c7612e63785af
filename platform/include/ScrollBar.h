// BScrollBar: a bar that scrolls its target view. It draws a trough, a knob
// sized by the proportion and two arrow buttons; the arrows move by the small
// step, the trough by the big step, and the knob can be dragged. A view in
// the window's tree, usually a child of a BScrollView.
#ifndef _SCROLL_BAR_H
#define _SCROLL_BAR_H

#include <InterfaceDefs.h>
#include <View.h>

class _IMPEXP_BE BScrollBar : public BView
{
public:
	// A vertical bar follows its parent's top, bottom and right; a horizontal
	// one its left, right and bottom.
	BScrollBar(BRect frame, const char* name, BView* target, float min, float max,
	           orientation direction);
	virtual ~BScrollBar();

	// Clamped to the range; scrolls the target (through ValueChanged) unless
	// the value stays.
	void SetValue(float value);
	float Value() const;
	// The visible part of the whole, 0 to 1: the knob's size only.
	void SetProportion(float value);
	float Proportion() const;
	// The base scrolls the target so that its bounds' top (vertical) or left
	// (horizontal) equals newValue, unless it is there already.
	virtual void ValueChanged(float newValue);

	// (0, 0) disables the bar.
	void SetRange(float min, float max);
	void GetRange(float* min, float* max) const;
	// 1 and 10 unless set.
	void SetSteps(float smallStep, float largeStep);
	void GetSteps(float* smallStep, float* largeStep) const;
	void SetTarget(BView* target);

	virtual void Draw(BRect updateRect);
	virtual void MouseDown(BPoint where);
	virtual void MouseUp(BPoint where);
	virtual void MouseMoved(BPoint where, uint32 code, const BMessage* dragMessage);
	virtual void GetPreferredSize(float* width, float* height);

private:
	BScrollBar(const BScrollBar&);
	BScrollBar& operator=(const BScrollBar&);

	BRect _ArrowRect(bool decrement) const;
	BRect _TroughRect() const;
	BRect _KnobRect() const;
	float _ValueForKnobAt(float position) const;
	bool _IsEnabled() const;
	void _DrawArrow(BRect rect, bool decrement, bool enabled);

	BView* fTarget;
	orientation fOrientation;
	float fMin;
	float fMax;
	float fValue;
	float fProportion;
	float fSmallStep;
	float fLargeStep;
	bool fDraggingKnob;
	float fDragOffset;
};

#endif // _SCROLL_BAR_H
