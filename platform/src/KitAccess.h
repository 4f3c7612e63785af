// KitAccess: the kits' private door to each other's state, and the testing
// library's. Static functions only.
#ifndef KIT_ACCESS_H
#define KIT_ACCESS_H

#include <Bitmap.h>
#include <Cursor.h>
#include <Looper.h>
#include <Message.h>
#include <View.h>
#include <Window.h>

#include "LooperState.h"
#include "ViewState.h"
#include "WindowState.h"

namespace BPrivate {

class KitAccess
{
public:
	static ViewState& State(const BView* view) { return *view->fState; }
	static WindowState& State(const BWindow* window) { return *window->fWindowState; }
	static LooperState& State(const BLooper* looper) { return *looper->fState; }

	static PixelBuffer* Pixels(const BBitmap* bitmap) { return bitmap->fPixels.get(); }
	static BWindow* Window(const BBitmap* bitmap) { return bitmap->fWindow; }
	static int32 Shape(const BCursor* cursor) { return cursor->fShape; }
	static BCursor* MakeCursor(int32 shape) { return new BCursor(shape); }
	// Makes message one dropped at a point in screen coordinates.
	static void MarkDropped(BMessage* message, BPoint screenPoint)
	{
		message->fWasDropped = true;
		message->fDropPoint = screenPoint;
	}
	static BWindow* MakeOffscreenWindow(BRect bounds, PixelBuffer* pixels)
	{
		return new BWindow(bounds, static_cast<void*>(pixels));
	}
};

} // namespace BPrivate

#endif // KIT_ACCESS_H
