// Copies of the pixels of windows and bitmaps, and single pixels of views.
#include "PlatformTesting.h"

#include <Bitmap.h>
#include <View.h>
#include <Window.h>

#include "KitAccess.h"
#include "PixelGrid.h"
#include "ViewTree.h"

#include <Region.h>

#include <algorithm>

namespace PlatformTesting {

namespace {

PixelImage ImageOf(const PixelBuffer& pixels)
{
	PixelImage image;
	image.width = pixels.Width();
	image.height = pixels.Height();
	image.pixels.reserve(size_t(image.width) * image.height);
	for (int32 y = 0; y < image.height; y++) {
		for (int32 x = 0; x < image.width; x++)
			image.pixels.push_back(pixels.PixelAt(x, y));
	}
	return image;
}

// Holds a window's lock (nested when the caller holds it already).
class WindowLock
{
public:
	explicit WindowLock(const BWindow* window)
	    : fWindow(const_cast<BWindow*>(window)), fLocked(fWindow->Lock())
	{
	}
	~WindowLock()
	{
		if (fLocked)
			fWindow->Unlock();
	}
	WindowLock(const WindowLock&) = delete;
	WindowLock& operator=(const WindowLock&) = delete;

private:
	BWindow* fWindow;
	bool fLocked;
};

} // namespace

PixelImage Snapshot(const BWindow* window)
{
	WindowLock lock(window);
	return ImageOf(*BPrivate::KitAccess::State(window).pixels);
}

PixelImage RedrawWhole(BWindow* window)
{
	{
		WindowLock lock(window);
		const BRect bounds = window->Bounds();
		BPrivate::InvalidateWindow(window, BRegion(bounds));
	}
	WaitUntilIdle(window);
	return Snapshot(window);
}

BRect Difference(const PixelImage& a, const PixelImage& b)
{
	if (a.width != b.width || a.height != b.height)
		return BRect(0, 0, std::max(a.width, b.width) - 1, std::max(a.height, b.height) - 1);
	BRect box;
	for (int32 y = 0; y < a.height; y++) {
		for (int32 x = 0; x < a.width; x++) {
			const rgb_color p = a.At(x, y);
			const rgb_color q = b.At(x, y);
			if (p.red == q.red && p.green == q.green && p.blue == q.blue)
				continue;
			const BRect pixel(x, y, x, y);
			box = box.IsValid() ? (box | pixel) : pixel;
		}
	}
	return box;
}

PixelImage Snapshot(const BBitmap* bitmap)
{
	const PixelBuffer* pixels = BPrivate::KitAccess::Pixels(bitmap);
	if (pixels == NULL)
		return PixelImage();
	BWindow* window = BPrivate::KitAccess::Window(bitmap);
	if (window == NULL)
		return ImageOf(*pixels);
	WindowLock lock(window);
	return ImageOf(*pixels);
}

rgb_color ViewPixel(const BView* view, BPoint where)
{
	const rgb_color kNone = {0, 0, 0, 0};
	BWindow* window = view->Window();
	if (window == NULL)
		return kNone;
	WindowLock lock(window);
	const PixelBuffer& pixels = *BPrivate::KitAccess::State(window).pixels;
	BPoint point = view->ConvertToWindow(where);
	int32 x = BPrivate::PixelOf(point.x);
	int32 y = BPrivate::PixelOf(point.y);
	if (x < 0 || y < 0 || x >= pixels.Width() || y >= pixels.Height())
		return kNone;
	return pixels.PixelAt(x, y);
}

} // namespace PlatformTesting
