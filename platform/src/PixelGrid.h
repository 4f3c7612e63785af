// PixelGrid: how drawing coordinates land on pixels, for every part of the
// kits that paints, clips or sizes pixels. An integer coordinate is a pixel
// centre, so a coordinate belongs to the nearest pixel (halves go to the
// pixel after), a rectangle covers the pixels from its rounded left-top to
// its rounded right-bottom, both included, and a line covers the pixels of a
// Bresenham walk between its rounded end points, both included.
#ifndef PIXEL_GRID_H
#define PIXEL_GRID_H

#include <Point.h>
#include <Rect.h>
#include <Region.h>

#include <algorithm>
#include <cstdlib>

#include <math.h>

namespace BPrivate {

// Far beyond any buffer, small enough that +1 and differences cannot overflow.
const float kCoordinateLimit = 1e9f;

inline int32 PixelOf(float value)
{
	value = std::max(-kCoordinateLimit, std::min(kCoordinateLimit, value));
	return int32(floorf(value + 0.5f));
}

inline clipping_rect PixelsOf(BRect rect)
{
	return clipping_rect{PixelOf(rect.left), PixelOf(rect.top), PixelOf(rect.right),
	                     PixelOf(rect.bottom)};
}

// The rectangle of whole pixels as a BRect (the inverse of PixelsOf).
inline BRect RectOf(const clipping_rect& rect)
{
	return BRect(rect.left, rect.top, rect.right, rect.bottom);
}

// How many pixels a width or height (a rectangle's right - left) spans.
inline int32 PixelCount(float length)
{
	return std::max(int32(0), PixelOf(length) + 1);
}

inline bool IsEmpty(const clipping_rect& rect)
{
	return rect.left > rect.right || rect.top > rect.bottom;
}

inline clipping_rect Intersection(const clipping_rect& a, const clipping_rect& b)
{
	return clipping_rect{std::max(a.left, b.left), std::max(a.top, b.top),
	                     std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

// The smallest rectangle holding both; an empty one adds nothing.
inline clipping_rect BoundingBox(const clipping_rect& a, const clipping_rect& b)
{
	if (IsEmpty(a))
		return b;
	if (IsEmpty(b))
		return a;
	return clipping_rect{std::min(a.left, b.left), std::min(a.top, b.top),
	                     std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

// Calls plot(x, y) once for each pixel of the line from a to b, in order.
template <typename Plot> void WalkLine(BPoint a, BPoint b, Plot plot)
{
	int32 x = PixelOf(a.x), y = PixelOf(a.y);
	const int32 endX = PixelOf(b.x), endY = PixelOf(b.y);
	const int32 dx = std::abs(endX - x), dy = -std::abs(endY - y);
	const int32 stepX = x < endX ? 1 : -1, stepY = y < endY ? 1 : -1;
	int32 error = dx + dy;
	while (true) {
		plot(x, y);
		if (x == endX && y == endY)
			break;
		const int32 doubled = 2 * error;
		if (doubled >= dy) {
			error += dy;
			x += stepX;
		}
		if (doubled <= dx) {
			error += dx;
			y += stepY;
		}
	}
}

} // namespace BPrivate

#endif // PIXEL_GRID_H
