// OffscreenBitmap: one bitmap with a drawing view, kept for as long as the
// target view and the size of the rectangle stay the same.

#include "OffscreenBitmap.h"

#include <Bitmap.h>
#include <Errors.h>
#include <Font.h>
#include <GraphicsDefs.h>
#include <Rect.h>
#include <SupportDefs.h>
#include <View.h>

#include <memory>

OffscreenBitmap::OffscreenBitmap() : fBitmap(NULL), fTarget(NULL), fRect(0, 0, 0, 0) {}

OffscreenBitmap::OffscreenBitmap(BView* target, BRect rect)
    : fBitmap(NULL), fTarget(NULL), fRect(0, 0, 0, 0)
{
	SetToCommon(target, rect);
}

OffscreenBitmap::~OffscreenBitmap()
{
	delete fBitmap;
}

BView* OffscreenBitmap::BeginBlitting(BView* target, BRect rect, bool copyState, bool fill)
{
	if (fBitmap != NULL && fTarget == target &&
	    !(rect.OffsetToCopy(0, 0) != fRect.OffsetToCopy(0, 0))) {
		if (!fBitmap->IsLocked() && !fBitmap->Lock())
			throw status_t(B_ERROR);
		fRect = rect;
		BView* view = OffscreenView();
		if (copyState)
			SetUpState(target, rect);
		else
			view->SetOrigin(-rect.left, -rect.top);
		if (fill)
			view->FillRect(rect, B_SOLID_LOW);
		return view;
	}

	// Another target or another size: the bitmap goes with its view.
	delete fBitmap;
	fBitmap = NULL;
	SetToCommon(target, rect);
	return OffscreenView();
}

void OffscreenBitmap::DoneBlitting()
{
	OffscreenView()->Sync();
	fTarget->SetDrawingMode(B_OP_COPY);
	fTarget->DrawBitmap(fBitmap, fBitmap->Bounds(), fRect);
	fBitmap->Unlock();
}

BView* OffscreenBitmap::OffscreenView() const
{
	return fBitmap->ChildAt(0);
}

void OffscreenBitmap::SetToCommon(BView* target, BRect rect)
{
	fTarget = target;
	fRect = rect;
	try {
		fBitmap = new BBitmap(rect.OffsetToCopy(0, 0), B_CMAP8, true, false);
		if (!fBitmap->Lock())
			throw status_t(B_ERROR);
		std::unique_ptr<BView> view(new BView(fBitmap->Bounds(), "", 0, 0));
		fBitmap->AddChild(view.get());
		view.release();
		SetUpState(target, rect);
	} catch (...) {
		// Nothing half built stays behind: the next BeginBlitting builds
		// afresh and the destructor has nothing to delete twice.
		delete fBitmap;
		fBitmap = NULL;
		fTarget = NULL;
		fRect = BRect(0, 0, 0, 0);
		throw;
	}

	// A new bitmap's pixels are undefined; starting in the low colour makes
	// the first line drawn into it look like every later one.
	OffscreenView()->FillRect(rect, B_SOLID_LOW);
}

void OffscreenBitmap::SetUpState(BView* target, BRect rect)
{
	BView* view = OffscreenView();
	view->SetViewColor(target->ViewColor());
	view->SetLowColor(target->LowColor());
	view->SetHighColor(target->HighColor());
	view->SetDrawingMode(target->DrawingMode());
	BFont font;
	target->GetFont(&font);
	view->SetFont(&font, B_FONT_ALL);
	view->SetOrigin(-rect.left, -rect.top);
}
