// BRegion: an area made of non-overlapping pixel rectangles with integer
// coordinates, right and bottom edges included. Rectangles given as floats
// are rounded to the nearest pixel. A value; not thread-safe.
#ifndef _REGION_H
#define _REGION_H

#include <Rect.h>
#include <SupportDefs.h>

#include <vector>

struct clipping_rect
{
	int32 left;
	int32 top;
	int32 right;
	int32 bottom;
};

class _IMPEXP_BE BRegion
{
public:
	BRegion();
	BRegion(const BRect rect);
	virtual ~BRegion();

	// The bounding box; invalid (0, 0, -1, -1) for an empty region.
	BRect Frame() const;
	clipping_rect FrameInt() const;
	BRect RectAt(int32 index) const;
	clipping_rect RectAtInt(int32 index) const;
	int32 CountRects() const;

	void Set(BRect newBounds);
	void Set(clipping_rect newBounds);

	bool Contains(int32 x, int32 y) const;

	void OffsetBy(int32 dh, int32 dv);
	void MakeEmpty();

	void Include(BRect rect);
	void Include(clipping_rect rect);
	void Include(const BRegion* region);

	void Exclude(BRect rect);
	void Exclude(clipping_rect rect);

	void IntersectWith(const BRegion* region);

private:
	void _Coalesce();

	std::vector<clipping_rect> fRects;
};

#endif // _REGION_H
