// BRegion as a list of disjoint pixel rectangles. Regions here are small (a
// view's visible area, an update area), so plain list operations suffice;
// neighbours are merged after each change to keep the list short.
#include <Region.h>

#include "PixelGrid.h"

#include <algorithm>

using BPrivate::Intersection;
using BPrivate::IsEmpty;
using BPrivate::PixelsOf;
using BPrivate::RectOf;

namespace {

// Appends the parts of a that b does not cover: up to four rectangles.
void Subtract(const clipping_rect& a, const clipping_rect& b, std::vector<clipping_rect>& out)
{
	clipping_rect overlap = Intersection(a, b);
	if (IsEmpty(overlap)) {
		out.push_back(a);
		return;
	}
	if (a.top < overlap.top)
		out.push_back(clipping_rect{a.left, a.top, a.right, overlap.top - 1});
	if (overlap.bottom < a.bottom)
		out.push_back(clipping_rect{a.left, overlap.bottom + 1, a.right, a.bottom});
	if (a.left < overlap.left)
		out.push_back(clipping_rect{a.left, overlap.top, overlap.left - 1, overlap.bottom});
	if (overlap.right < a.right)
		out.push_back(clipping_rect{overlap.right + 1, overlap.top, a.right, overlap.bottom});
}

// Takes b out of every rectangle of the list.
void Cut(std::vector<clipping_rect>& rects, const clipping_rect& b)
{
	std::vector<clipping_rect> kept;
	for (const clipping_rect& a : rects)
		Subtract(a, b, kept);
	rects.swap(kept);
}

} // namespace

BRegion::BRegion() {}

BRegion::BRegion(const BRect rect)
{
	Set(rect);
}

BRegion::~BRegion() {}

BRect BRegion::Frame() const
{
	if (fRects.empty())
		return BRect();
	return RectOf(FrameInt());
}

clipping_rect BRegion::FrameInt() const
{
	if (fRects.empty())
		return clipping_rect{0, 0, -1, -1};
	clipping_rect frame = fRects.front();
	for (const clipping_rect& rect : fRects) {
		frame.left = std::min(frame.left, rect.left);
		frame.top = std::min(frame.top, rect.top);
		frame.right = std::max(frame.right, rect.right);
		frame.bottom = std::max(frame.bottom, rect.bottom);
	}
	return frame;
}

BRect BRegion::RectAt(int32 index) const
{
	if (index < 0 || index >= CountRects())
		return BRect();
	return RectOf(fRects[size_t(index)]);
}

clipping_rect BRegion::RectAtInt(int32 index) const
{
	if (index < 0 || index >= CountRects())
		return clipping_rect{0, 0, -1, -1};
	return fRects[size_t(index)];
}

int32 BRegion::CountRects() const
{
	return int32(fRects.size());
}

void BRegion::Set(BRect newBounds)
{
	Set(PixelsOf(newBounds));
}

void BRegion::Set(clipping_rect newBounds)
{
	fRects.clear();
	if (!IsEmpty(newBounds))
		fRects.push_back(newBounds);
}

bool BRegion::Contains(int32 x, int32 y) const
{
	for (const clipping_rect& rect : fRects) {
		if (x >= rect.left && x <= rect.right && y >= rect.top && y <= rect.bottom)
			return true;
	}
	return false;
}

void BRegion::OffsetBy(int32 dh, int32 dv)
{
	for (clipping_rect& rect : fRects) {
		rect.left += dh;
		rect.right += dh;
		rect.top += dv;
		rect.bottom += dv;
	}
}

void BRegion::MakeEmpty()
{
	fRects.clear();
}

void BRegion::Include(BRect rect)
{
	Include(PixelsOf(rect));
}

void BRegion::Include(clipping_rect rect)
{
	if (IsEmpty(rect))
		return;
	// Keep what the new rectangle does not cover, then add it whole.
	Cut(fRects, rect);
	fRects.push_back(rect);
	_Coalesce();
}

void BRegion::Include(const BRegion* region)
{
	if (region == NULL || region == this)
		return;
	for (const clipping_rect& rect : region->fRects)
		Include(rect);
}

void BRegion::Exclude(BRect rect)
{
	Exclude(PixelsOf(rect));
}

void BRegion::Exclude(clipping_rect rect)
{
	if (IsEmpty(rect))
		return;
	Cut(fRects, rect);
	_Coalesce();
}

void BRegion::IntersectWith(const BRegion* region)
{
	if (region == NULL || region == this)
		return;
	// Both lists are disjoint, so the pairwise intersections are too.
	std::vector<clipping_rect> common;
	for (const clipping_rect& own : fRects) {
		for (const clipping_rect& other : region->fRects) {
			clipping_rect overlap = Intersection(own, other);
			if (!IsEmpty(overlap))
				common.push_back(overlap);
		}
	}
	fRects.swap(common);
	_Coalesce();
}

// Merges rectangles that share a whole edge, then orders them top to bottom,
// left to right.
void BRegion::_Coalesce()
{
	bool merged = true;
	while (merged) {
		merged = false;
		for (size_t i = 0; i < fRects.size() && !merged; i++) {
			for (size_t j = i + 1; j < fRects.size(); j++) {
				clipping_rect& a = fRects[i];
				const clipping_rect& b = fRects[j];
				bool sameColumns = a.left == b.left && a.right == b.right;
				bool sameRows = a.top == b.top && a.bottom == b.bottom;
				if (sameColumns && (a.bottom + 1 == b.top || b.bottom + 1 == a.top)) {
					a.top = std::min(a.top, b.top);
					a.bottom = std::max(a.bottom, b.bottom);
				} else if (sameRows && (a.right + 1 == b.left || b.right + 1 == a.left)) {
					a.left = std::min(a.left, b.left);
					a.right = std::max(a.right, b.right);
				} else {
					continue;
				}
				fRects.erase(fRects.begin() + ptrdiff_t(j));
				merged = true;
				break;
			}
		}
	}
	std::sort(fRects.begin(), fRects.end(), [](const clipping_rect& a, const clipping_rect& b) {
		return a.top != b.top ? a.top < b.top : a.left < b.left;
	});
}
