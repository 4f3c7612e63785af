// BScrollBar: value, range, proportion and steps, the scrolling of its
// target, and a drawn bar that a person can use with the mouse.
#include <ScrollBar.h>

#include <Window.h>

#include "KitAccess.h"
#include "ScrollBarSize.h"

#include <math.h>

#include <cmath>

#include <algorithm>

const float B_V_SCROLL_BAR_WIDTH = 14.0f;
const float B_H_SCROLL_BAR_HEIGHT = 14.0f;

namespace {

const rgb_color kPanel = {216, 216, 216, 255};
// The knob's least length in a bar of B_V_SCROLL_BAR_WIDTH pixels.
const float kMinimumKnob = 10;
// The display's dots per inch over 96.
float sScale = 1;

uint32 ModeFor(orientation direction)
{
	return direction == B_VERTICAL ? B_FOLLOW_TOP_BOTTOM | B_FOLLOW_RIGHT
	                               : B_FOLLOW_LEFT_RIGHT | B_FOLLOW_BOTTOM;
}

} // namespace

namespace BPrivate {

void ScaleScrollBars(float dotsPerInch)
{
	if (dotsPerInch > 0)
		sScale = dotsPerInch / 96;
}

float ScrollBarThickness(orientation direction)
{
	const float frame = direction == B_VERTICAL ? B_V_SCROLL_BAR_WIDTH : B_H_SCROLL_BAR_HEIGHT;
	return std::round(frame * sScale);
}

} // namespace BPrivate

BScrollBar::BScrollBar(BRect frame, const char* name, BView* target, float min, float max,
                       orientation direction)
    : BView(frame, name, ModeFor(direction), B_WILL_DRAW | B_FULL_UPDATE_ON_RESIZE), fTarget(NULL),
      fOrientation(direction), fMin(std::min(min, max)), fMax(std::max(min, max)), fValue(fMin),
      fProportion(0), fSmallStep(1), fLargeStep(10), fDraggingKnob(false), fDragOffset(0)
{
	// Draw paints every pixel of the bar (the trough and the two arrows
	// cover it), so the window need not fill it first.
	SetViewColor(B_TRANSPARENT_COLOR);
	SetTarget(target);
}

BScrollBar::~BScrollBar()
{
	SetTarget(static_cast<BView*>(NULL));
}

void BScrollBar::SetValue(float value)
{
	value = std::max(fMin, std::min(fMax, value));
	if (value == fValue)
		return;
	fValue = value;
	Invalidate(_TroughRect());
	ValueChanged(fValue);
}

float BScrollBar::Value() const
{
	return fValue;
}

void BScrollBar::SetProportion(float value)
{
	value = std::max(0.0f, std::min(1.0f, value));
	if (value == fProportion)
		return;
	fProportion = value;
	Invalidate(_TroughRect());
}

float BScrollBar::Proportion() const
{
	return fProportion;
}

void BScrollBar::ValueChanged(float newValue)
{
	if (fTarget == NULL)
		return;
	BRect bounds = fTarget->Bounds();
	if (fOrientation == B_VERTICAL) {
		if (bounds.top != newValue)
			fTarget->ScrollTo(bounds.left, newValue);
	} else if (bounds.left != newValue) {
		fTarget->ScrollTo(newValue, bounds.top);
	}
}

void BScrollBar::SetRange(float min, float max)
{
	// A view sets its range after every change to what it shows; the bar
	// draws again only when the range did change.
	const float newMin = std::min(min, max);
	const float newMax = std::max(min, max);
	if (newMin != fMin || newMax != fMax) {
		// The knob moves within the trough; the arrows change only when
		// the bar is switched on or off.
		const bool wasEnabled = _IsEnabled();
		fMin = newMin;
		fMax = newMax;
		if (_IsEnabled() != wasEnabled)
			Invalidate();
		else
			Invalidate(_TroughRect());
	}
	SetValue(fValue);
}

void BScrollBar::GetRange(float* min, float* max) const
{
	if (min != NULL)
		*min = fMin;
	if (max != NULL)
		*max = fMax;
}

void BScrollBar::SetSteps(float smallStep, float largeStep)
{
	fSmallStep = smallStep;
	fLargeStep = largeStep;
}

void BScrollBar::GetSteps(float* smallStep, float* largeStep) const
{
	if (smallStep != NULL)
		*smallStep = fSmallStep;
	if (largeStep != NULL)
		*largeStep = fLargeStep;
}

void BScrollBar::SetTarget(BView* target)
{
	if (fTarget != NULL) {
		BPrivate::ViewState& old = BPrivate::KitAccess::State(fTarget);
		BScrollBar*& slot = fOrientation == B_VERTICAL ? old.verticalBar : old.horizontalBar;
		if (slot == this)
			slot = NULL;
	}
	fTarget = target;
	if (target != NULL) {
		BPrivate::ViewState& state = BPrivate::KitAccess::State(target);
		(fOrientation == B_VERTICAL ? state.verticalBar : state.horizontalBar) = this;
	}
}

// Geometry along the bar: two square arrow buttons at the ends, the trough
// between them, and in it the knob, as long as the proportion says.

BRect BScrollBar::_ArrowRect(bool decrement) const
{
	BRect bounds = Bounds();
	bool vertical = fOrientation == B_VERTICAL;
	float length = (vertical ? bounds.Height() : bounds.Width()) + 1;
	float thickness = (vertical ? bounds.Width() : bounds.Height()) + 1;
	float size = std::min(thickness, floorf(length / 2));
	if (vertical) {
		return decrement
		           ? BRect(bounds.left, bounds.top, bounds.right, bounds.top + size - 1)
		           : BRect(bounds.left, bounds.bottom - size + 1, bounds.right, bounds.bottom);
	}
	return decrement ? BRect(bounds.left, bounds.top, bounds.left + size - 1, bounds.bottom)
	                 : BRect(bounds.right - size + 1, bounds.top, bounds.right, bounds.bottom);
}

BRect BScrollBar::_TroughRect() const
{
	BRect bounds = Bounds();
	BRect before = _ArrowRect(true);
	BRect after = _ArrowRect(false);
	if (fOrientation == B_VERTICAL)
		return BRect(bounds.left, before.bottom + 1, bounds.right, after.top - 1);
	return BRect(before.right + 1, bounds.top, after.left - 1, bounds.bottom);
}

BRect BScrollBar::_KnobRect() const
{
	BRect trough = _TroughRect();
	bool vertical = fOrientation == B_VERTICAL;
	float length = (vertical ? trough.Height() : trough.Width()) + 1;
	float thickness = (vertical ? trough.Width() : trough.Height()) + 1;
	float range = fMax - fMin;
	float knob = length;
	if (range > 0) {
		knob = fProportion > 0 ? length * fProportion : thickness;
		const float least = std::round(kMinimumKnob * thickness / B_V_SCROLL_BAR_WIDTH);
		knob = std::min(length, std::max(std::min(least, length), floorf(knob)));
	}
	float start = range > 0 ? floorf((fValue - fMin) / range * (length - knob)) : 0;
	if (vertical)
		return BRect(trough.left, trough.top + start, trough.right, trough.top + start + knob - 1);
	return BRect(trough.left + start, trough.top, trough.left + start + knob - 1, trough.bottom);
}

float BScrollBar::_ValueForKnobAt(float position) const
{
	BRect trough = _TroughRect();
	BRect knob = _KnobRect();
	bool vertical = fOrientation == B_VERTICAL;
	float travel = vertical ? trough.Height() - knob.Height() : trough.Width() - knob.Width();
	if (travel <= 0)
		return fMin;
	float start = vertical ? trough.top : trough.left;
	return fMin + (position - start) / travel * (fMax - fMin);
}

void BScrollBar::_DrawArrow(BRect rect, bool decrement, bool enabled)
{
	SetHighColor(kPanel);
	FillRect(rect);
	SetHighColor(tint_color(kPanel, B_DARKEN_2_TINT));
	StrokeRect(rect);
	SetHighColor(enabled ? tint_color(kPanel, B_DARKEN_MAX_TINT)
	                     : tint_color(kPanel, B_DARKEN_2_TINT));
	// A triangle pointing away from the trough, drawn as lines that shrink
	// towards its tip: four of them in a bar B_V_SCROLL_BAR_WIDTH thick.
	float centerX = floorf((rect.left + rect.right) / 2);
	float centerY = floorf((rect.top + rect.bottom) / 2);
	const float thickness = (fOrientation == B_VERTICAL ? rect.Width() : rect.Height()) + 1;
	const int32 rows = std::max(int32(4), int32(thickness * 4 / B_V_SCROLL_BAR_WIDTH));
	for (int32 row = 0; row < rows; row++) {
		float half = float(row);
		float offset = float(decrement ? row - rows / 2 : rows / 2 - row);
		if (fOrientation == B_VERTICAL) {
			StrokeLine(BPoint(centerX - half, centerY + offset),
			           BPoint(centerX + half, centerY + offset));
		} else {
			StrokeLine(BPoint(centerX + offset, centerY - half),
			           BPoint(centerX + offset, centerY + half));
		}
	}
}

bool BScrollBar::_IsEnabled() const
{
	return !(fMin == 0 && fMax == 0);
}

void BScrollBar::Draw(BRect updateRect)
{
	const bool enabled = _IsEnabled();
	BRect trough = _TroughRect();
	SetHighColor(tint_color(kPanel, B_DARKEN_1_TINT));
	FillRect(trough);
	SetHighColor(tint_color(kPanel, B_DARKEN_2_TINT));
	StrokeRect(Bounds());
	// A moved knob leaves the arrows as they were.
	for (bool decrement : {true, false}) {
		const BRect arrow = _ArrowRect(decrement);
		if (arrow.Intersects(updateRect))
			_DrawArrow(arrow, decrement, enabled);
	}
	if (!enabled || !trough.IsValid())
		return;
	BRect knob = _KnobRect();
	SetHighColor(kPanel);
	FillRect(knob);
	SetHighColor(tint_color(kPanel, B_DARKEN_3_TINT));
	StrokeRect(knob);
	SetHighColor(255, 255, 255);
	StrokeLine(BPoint(knob.left + 1, knob.bottom - 1), BPoint(knob.left + 1, knob.top + 1));
	StrokeLine(BPoint(knob.right - 1, knob.top + 1));
}

void BScrollBar::MouseDown(BPoint where)
{
	if (!_IsEnabled())
		return;
	if (_ArrowRect(true).Contains(where)) {
		SetValue(fValue - fSmallStep);
		return;
	}
	if (_ArrowRect(false).Contains(where)) {
		SetValue(fValue + fSmallStep);
		return;
	}
	BRect knob = _KnobRect();
	float position = fOrientation == B_VERTICAL ? where.y : where.x;
	float knobStart = fOrientation == B_VERTICAL ? knob.top : knob.left;
	float knobEnd = fOrientation == B_VERTICAL ? knob.bottom : knob.right;
	if (position < knobStart) {
		SetValue(fValue - fLargeStep);
	} else if (position > knobEnd) {
		SetValue(fValue + fLargeStep);
	} else {
		fDraggingKnob = true;
		fDragOffset = position - knobStart;
		SetMouseEventMask(B_POINTER_EVENTS);
	}
}

void BScrollBar::MouseUp(BPoint)
{
	fDraggingKnob = false;
}

void BScrollBar::MouseMoved(BPoint where, uint32, const BMessage*)
{
	if (!fDraggingKnob)
		return;
	float position = fOrientation == B_VERTICAL ? where.y : where.x;
	SetValue(_ValueForKnobAt(position - fDragOffset));
}

void BScrollBar::GetPreferredSize(float* width, float* height)
{
	BRect frame = Frame();
	if (width != NULL)
		*width =
		    fOrientation == B_VERTICAL ? BPrivate::ScrollBarThickness(B_VERTICAL) : frame.Width();
	if (height != NULL)
		*height = fOrientation == B_VERTICAL ? frame.Height()
		                                     : BPrivate::ScrollBarThickness(B_HORIZONTAL);
}
