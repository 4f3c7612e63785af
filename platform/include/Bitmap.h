// BBitmap: a rectangle of pixels. One that accepts views holds a hidden
// window of its own: views added to it draw into the bitmap's pixels, under
// the bitmap's lock. Owned by its creator; deleting it deletes its views.
#ifndef _BITMAP_H
#define _BITMAP_H

#include <GraphicsDefs.h>
#include <Rect.h>
#include <SupportDefs.h>

#include <memory>

class BView;
class BWindow;
class PixelBuffer;

namespace BPrivate {
class KitAccess;
} // namespace BPrivate

class _IMPEXP_BE BBitmap
{
public:
	// The stand-in keeps 32-bit pixels (B_RGB32) whatever space is asked for.
	// Invalid bounds give a bitmap without pixels.
	BBitmap(BRect bounds, color_space space, bool acceptsViews = false,
	        bool needsContiguous = false);
	virtual ~BBitmap();

	BRect Bounds() const;

	// Sets length bytes of pixels from data, given in space, starting
	// offset bytes into the bitmap's rows (B_RGB32: 4 bytes a pixel).
	// B_CMAP8 indices go through the system colour map, with
	// B_TRANSPARENT_MAGIC_CMAP8 becoming B_TRANSPARENT_32_BIT; B_RGB32 and
	// B_RGBA32 pixels copy as they are. Other spaces are not converted.
	void SetBits(const void* data, int32 length, int32 offset, color_space space);

	// Views: only for a bitmap that accepts them.
	void AddChild(BView* view);
	BView* ChildAt(int32 index) const;

	// The lock of the bitmap's hidden window; false for a bitmap that
	// accepts no views.
	bool Lock();
	void Unlock();
	// Whether the calling thread holds the lock.
	bool IsLocked() const;

private:
	friend class BPrivate::KitAccess;

	BBitmap(const BBitmap&);
	BBitmap& operator=(const BBitmap&);

	BRect fBounds;
	std::unique_ptr<PixelBuffer> fPixels;
	BWindow* fWindow;
};

#endif // _BITMAP_H
