// BPoint: a point in a coordinate system of floats. A plain value.
#ifndef _POINT_H
#define _POINT_H

#include <SupportDefs.h>

class BRect;

class _IMPEXP_BE BPoint
{
public:
	float x;
	float y;

	BPoint() : x(0), y(0) {}
	BPoint(float x, float y) : x(x), y(y) {}
	BPoint(const BPoint& point) = default;
	BPoint& operator=(const BPoint& point) = default;

	void Set(float x, float y)
	{
		this->x = x;
		this->y = y;
	}

	// Moves the point to the nearest point inside rect.
	void ConstrainTo(BRect rect);
	void PrintToStream() const;

	BPoint operator+(const BPoint& point) const { return BPoint(x + point.x, y + point.y); }
	BPoint operator-(const BPoint& point) const { return BPoint(x - point.x, y - point.y); }
	BPoint& operator+=(const BPoint& point)
	{
		x += point.x;
		y += point.y;
		return *this;
	}
	BPoint& operator-=(const BPoint& point)
	{
		x -= point.x;
		y -= point.y;
		return *this;
	}
	bool operator==(const BPoint& point) const { return x == point.x && y == point.y; }
	bool operator!=(const BPoint& point) const { return !(*this == point); }
};

extern _IMPEXP_BE const BPoint B_ORIGIN;

#endif // _POINT_H
