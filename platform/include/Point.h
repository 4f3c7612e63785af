// BPoint: a point in a coordinate system of floats. A plain value.
#ifndef _POINT_H
#define _POINT_H

#include <SupportDefs.h>

class _IMPEXP_BE BPoint
{
public:
	float x;
	float y;

	BPoint() : x(0), y(0) {}
	BPoint(float x, float y) : x(x), y(y) {}

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

#endif // _POINT_H
