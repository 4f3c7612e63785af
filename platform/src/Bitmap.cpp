// BBitmap: 32-bit pixels, and for a bitmap that accepts views, the hidden
// window (without thread or display) whose views draw into those pixels.
#include <Bitmap.h>

#include <View.h>
#include <Window.h>

#include "KitAccess.h"
#include "LooperState.h"
#include "PixelBuffer.h"
#include "PixelGrid.h"
#include "TestHooks.h"

#include <stdio.h>

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

bool BBitmap::Lock()
{
	if (fWindow == NULL || BPrivate::TakeBitmapLockFault())
		return false;
	return fWindow->Lock();
}

void BBitmap::Unlock()
{
	if (fWindow != NULL)
		fWindow->Unlock();
}

bool BBitmap::IsLocked() const
{
	return fWindow != NULL && fWindow->IsLocked();
}
