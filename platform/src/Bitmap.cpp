// BBitmap: 32-bit pixels, and for a bitmap that accepts views, the hidden
// window (without thread or display) whose views draw into those pixels.
#include <Bitmap.h>

#include <InterfaceDefs.h>
#include <View.h>
#include <Window.h>

#include "KitAccess.h"
#include "LooperState.h"
#include "PixelBuffer.h"
#include "PixelGrid.h"
#include "TestHooks.h"

#include <stdio.h>

#include <algorithm>

BBitmap::BBitmap(BRect bounds, color_space, bool acceptsViews, bool)
    : fBounds(bounds), fWindow(NULL)
{
	if (!bounds.IsValid())
		return;
	int32 width = BPrivate::PixelCount(bounds.Width());
	int32 height = BPrivate::PixelCount(bounds.Height());
	fPixels.reset(new PixelBuffer(width, height));
	if (acceptsViews) {
		fWindow = BPrivate::KitAccess::MakeOffscreenWindow(BRect(0, 0, width - 1, height - 1),
		                                                   fPixels.get());
	}
}

BBitmap::~BBitmap()
{
	if (fWindow != NULL) {
		// Its views are detached and deleted with the lock held, as hooks
		// expect; injected faults do not apply here.
		BPrivate::LockLooperState(BPrivate::KitAccess::State(static_cast<const BLooper*>(fWindow)),
		                          B_INFINITE_TIMEOUT);
		delete fWindow;
	}
}

BRect BBitmap::Bounds() const
{
	return fBounds;
}

void BBitmap::AddChild(BView* view)
{
	if (fWindow == NULL) {
		fprintf(stderr, "BBitmap::AddChild(): the bitmap does not accept views\n");
		return;
	}
	fWindow->AddChild(view);
}

BView* BBitmap::ChildAt(int32 index) const
{
	return fWindow != NULL ? fWindow->ChildAt(index) : NULL;
}

void BBitmap::SetBits(const void* data, int32 length, int32 offset, color_space space)
{
	if (fPixels == NULL || data == NULL || length <= 0 || offset < 0 || offset % 4 != 0)
		return;
	const int32 bytesPerPixel = space == B_CMAP8 ? 1 : 4;
	if (space != B_CMAP8 && space != B_RGB32 && space != B_RGBA32)
		return;
	const int64 first = offset / 4;
	const int64 total = int64(fPixels->Width()) * fPixels->Height();
	const int64 count = std::min<int64>(length / bytesPerPixel, total - first);
	const uint8* bytes = static_cast<const uint8*>(data);
	const color_map* colors = system_colors();
	for (int64 index = 0; index < count; index++) {
		const int32 x = int32((first + index) % fPixels->Width());
		const int32 y = int32((first + index) / fPixels->Width());
		if (space == B_CMAP8) {
			const uint8 colorIndex = bytes[index];
			fPixels->SetPixel(x, y,
			                  colorIndex == B_TRANSPARENT_MAGIC_CMAP8
			                      ? B_TRANSPARENT_32_BIT
			                      : colors->color_list[colorIndex]);
		} else {
			// Memory order blue, green, red, alpha.
			const uint8* pixel = bytes + index * 4;
			fPixels->SetPixel(x, y, rgb_color{pixel[2], pixel[1], pixel[0], pixel[3]});
		}
	}
}

// The bitmap owns its window, which therefore lives as long as the bitmap:
// its lock is taken directly, without looking the window up first.
bool BBitmap::Lock()
{
	if (fWindow == NULL || BPrivate::TakeBitmapLockFault())
		return false;
	return BPrivate::LockLooperState(
	           BPrivate::KitAccess::State(static_cast<const BLooper*>(fWindow)),
	           B_INFINITE_TIMEOUT) == B_OK;
}

void BBitmap::Unlock()
{
	if (fWindow != NULL)
		fWindow->Unlock();
}

bool BBitmap::IsLocked() const
{
	return fWindow != NULL && BPrivate::HoldsLooperState(
	                              BPrivate::KitAccess::State(static_cast<const BLooper*>(fWindow)));
}
