// BRect: a rectangle of floats whose right and bottom edges belong to it:
// (0, 0, 2, 3) covers 3 x 4 pixels. Invalid (empty) when left > right or
// top > bottom. A plain value.
#ifndef _RECT_H
#define _RECT_H

#include <Point.h>
#include <SupportDefs.h>

#include <math.h>

class _IMPEXP_BE BRect
{
public:
	float left;
	float top;
	float right;
	float bottom;

	// An invalid rectangle (0, 0, -1, -1).
	BRect() : left(0), top(0), right(-1), bottom(-1) {}
	BRect(float left, float top, float right, float bottom)
	    : left(left), top(top), right(right), bottom(bottom)
	{
	}

	BPoint LeftTop() const { return BPoint(left, top); }
	BPoint RightBottom() const { return BPoint(right, bottom); }
	BPoint LeftBottom() const { return BPoint(left, bottom); }
	BPoint RightTop() const { return BPoint(right, top); }

	// Insetting moves every edge inwards (negative values: outwards).
	void InsetBy(float dx, float dy)
	{
		left += dx;
		right -= dx;
		top += dy;
		bottom -= dy;
	}
	void OffsetBy(BPoint point) { OffsetBy(point.x, point.y); }
	void OffsetBy(float dx, float dy)
	{
		left += dx;
		right += dx;
		top += dy;
		bottom += dy;
	}
	// Moves the left-top corner to the point, keeping the size.
	void OffsetTo(float x, float y)
	{
		right += x - left;
		bottom += y - top;
		left = x;
		top = y;
	}

	BRect InsetByCopy(float dx, float dy) const
	{
		BRect copy(*this);
		copy.InsetBy(dx, dy);
		return copy;
	}
	BRect& OffsetBySelf(BPoint point)
	{
		OffsetBy(point);
		return *this;
	}
	BRect OffsetByCopy(BPoint point) const { return OffsetByCopy(point.x, point.y); }
	BRect OffsetByCopy(float dx, float dy) const
	{
		BRect copy(*this);
		copy.OffsetBy(dx, dy);
		return copy;
	}
	BRect OffsetToCopy(BPoint point) const { return OffsetToCopy(point.x, point.y); }
	BRect OffsetToCopy(float x, float y) const
	{
		BRect copy(*this);
		copy.OffsetTo(x, y);
		return copy;
	}

	bool operator==(BRect rect) const
	{
		return left == rect.left && top == rect.top && right == rect.right && bottom == rect.bottom;
	}
	bool operator!=(BRect rect) const { return !(*this == rect); }

	// Intersection (invalid when the two do not meet) and bounding union.
	BRect operator&(BRect rect) const
	{
		return BRect(fmaxf(left, rect.left), fmaxf(top, rect.top), fminf(right, rect.right),
		             fminf(bottom, rect.bottom));
	}
	BRect operator|(BRect rect) const
	{
		return BRect(fminf(left, rect.left), fminf(top, rect.top), fmaxf(right, rect.right),
		             fmaxf(bottom, rect.bottom));
	}

	bool IsValid() const { return left <= right && top <= bottom; }
	float Width() const { return right - left; }
	float Height() const { return bottom - top; }

	bool Intersects(BRect rect) const
	{
		return IsValid() && rect.IsValid() && left <= rect.right && rect.left <= right &&
		       top <= rect.bottom && rect.top <= bottom;
	}
	bool Contains(BPoint point) const
	{
		return point.x >= left && point.x <= right && point.y >= top && point.y <= bottom;
	}
	bool Contains(BRect rect) const
	{
		return rect.left >= left && rect.right <= right && rect.top >= top && rect.bottom <= bottom;
	}
};

#endif // _RECT_H
