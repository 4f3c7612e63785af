// OffscreenBitmap: a reusable double buffer. The owner (the hex dump view,
// by value) draws into OffscreenView() in its own coordinates between
// BeginBlitting and DoneBlitting; DoneBlitting copies the buffer to the
// target in one step. Runs on the target's window thread.
#ifndef OFFSCREEN_BITMAP_H
#define OFFSCREEN_BITMAP_H

#include <Rect.h>

class BBitmap;
class BView;

class OffscreenBitmap
{
public:
	OffscreenBitmap();
	OffscreenBitmap(BView* target, BRect rect);
	~OffscreenBitmap();
	OffscreenBitmap(const OffscreenBitmap&) = delete;
	OffscreenBitmap& operator=(const OffscreenBitmap&) = delete;

	BView* BeginBlitting(BView* target, BRect rect, bool copyState, bool fill);
	void DoneBlitting();
	BView* OffscreenView() const;
	// The current bitmap, NULL while none is built.
	BBitmap* Bitmap() const { return fBitmap; }

	void SetToCommon(BView* target, BRect rect);
	void SetUpState(BView* target, BRect rect);

private:
	BBitmap* fBitmap;
	BView* fTarget;
	BRect fRect;
};

#endif // OFFSCREEN_BITMAP_H
