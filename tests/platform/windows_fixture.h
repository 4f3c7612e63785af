// Shared pieces of the window, view, bitmap and scrolling tests: windows that
// clean up after themselves, a view that logs its hooks, and colour helpers.
#ifndef WINDOWS_FIXTURE_H
#define WINDOWS_FIXTURE_H

#include <Message.h>
#include <View.h>
#include <Window.h>

#include <PlatformTesting.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

const rgb_color kBlack = {0, 0, 0, 255};
const rgb_color kWhite = {255, 255, 255, 255};
const rgb_color kRed = {255, 0, 0, 255};
const rgb_color kGreen = {0, 160, 0, 255};
const rgb_color kBlue = {0, 0, 255, 255};

inline std::string ColorText(rgb_color color)
{
	// Appended piece by piece: GCC 12 at -O3 reports a false -Wrestrict
	// overlap for a literal prepended to a temporary string.
	std::string text = "(";
	text.append(std::to_string(color.red)).append(", ");
	text.append(std::to_string(color.green)).append(", ");
	return text.append(std::to_string(color.blue)).append(")");
}

#define EXPECT_COLOR(actual, expected) EXPECT_EQ(ColorText(actual), ColorText(expected))
#define ASSERT_COLOR_AT(actual, expected, x, y)                                                    \
	ASSERT_EQ(ColorText(actual), ColorText(expected)) << "at " << (x) << ", " << (y)

// A window, deleted at the end of the scope. Shown windows run their own
// thread; an unshown one is driven from the test's thread under its lock.
class TestWindow
{
public:
	explicit TestWindow(BRect frame = BRect(100, 100, 199, 199), bool show = true)
	    : fWindow(new BWindow(frame, "test", B_TITLED_WINDOW, 0)), fShown(show)
	{
		PlatformTesting::UseTestFace();
		if (show) {
			fWindow->Show();
			PlatformTesting::WaitUntilIdle(fWindow);
		}
	}
	~TestWindow()
	{
		fWindow->Lock();
		fWindow->Quit();
	}
	TestWindow(const TestWindow&) = delete;
	TestWindow& operator=(const TestWindow&) = delete;

	BWindow* operator->() const { return fWindow; }
	BWindow* Get() const { return fWindow; }

	// Adds a view (under the lock) and lets the updates run.
	void Add(BView* view, BView* parent = NULL)
	{
		fWindow->Lock();
		if (parent != NULL)
			parent->AddChild(view);
		else
			fWindow->AddChild(view);
		fWindow->Unlock();
		Idle();
	}
	void Idle()
	{
		if (fShown)
			PlatformTesting::WaitUntilIdle(fWindow);
	}
	void Post(const BMessage& message) { PlatformTesting::PostAndWait(fWindow, message); }
	rgb_color Pixel(int32 x, int32 y) { return PlatformTesting::Snapshot(fWindow).At(x, y); }

private:
	BWindow* fWindow;
	bool fShown;
};

// A view that logs its hooks as "name:Hook detail".
class LoggingView : public BView
{
public:
	LoggingView(BRect frame, const char* name, std::vector<std::string>& log,
	            uint32 flags = B_WILL_DRAW, uint32 mode = B_FOLLOW_LEFT | B_FOLLOW_TOP)
	    : BView(frame, name, mode, flags), fLog(log)
	{
	}

	virtual void AttachedToWindow() { Log("AttachedToWindow"); }
	virtual void DetachedFromWindow() { Log("DetachedFromWindow"); }
	virtual void Draw(BRect updateRect)
	{
		Log("Draw " + RectText(updateRect));
		fDrawnOver.push_back(PlatformTesting::ViewPixel(this, updateRect.LeftTop()));
	}
	virtual void MouseDown(BPoint where) { Log("MouseDown " + PointText(where)); }
	virtual void MouseUp(BPoint where) { Log("MouseUp " + PointText(where)); }
	virtual void MouseMoved(BPoint where, uint32 code, const BMessage*)
	{
		Log("MouseMoved " + PointText(where) + " " + std::to_string(code));
	}
	virtual void KeyDown(const char* bytes, int32 numBytes)
	{
		std::string text(bytes, numBytes);
		int32 modifiers = -1;
		if (BMessage* message = Window()->CurrentMessage())
			modifiers = message->FindInt32("modifiers");
		Log("KeyDown " + text + " " + std::to_string(modifiers));
		BView::KeyDown(bytes, numBytes);
	}
	virtual void MakeFocus(bool focus)
	{
		Log(std::string("MakeFocus ") + (focus ? "true" : "false"));
		BView::MakeFocus(focus);
	}
	virtual void Pulse() { Log("Pulse " + std::to_string(system_time())); }
	virtual void FrameResized(float width, float height)
	{
		Log("FrameResized " + std::to_string(int(width)) + " " + std::to_string(int(height)));
	}
	virtual void WindowActivated(bool active)
	{
		Log(std::string("WindowActivated ") + (active ? "true" : "false"));
	}

	static std::string PointText(BPoint point)
	{
		return std::to_string(int(point.x)) + "," + std::to_string(int(point.y));
	}
	static std::string RectText(BRect rect)
	{
		return std::to_string(int(rect.left)) + "," + std::to_string(int(rect.top)) + "," +
		       std::to_string(int(rect.right)) + "," + std::to_string(int(rect.bottom));
	}

	// The pixel at the update rectangle's left-top as each Draw began.
	std::vector<rgb_color> fDrawnOver;

private:
	void Log(const std::string& entry) { fLog.push_back(std::string(Name()) + ":" + entry); }

	std::vector<std::string>& fLog;
};

// The log entries that start with prefix.
inline std::vector<std::string> Matching(const std::vector<std::string>& log,
                                         const std::string& prefix)
{
	std::vector<std::string> found;
	for (const std::string& entry : log) {
		if (entry.compare(0, prefix.size(), prefix) == 0)
			found.push_back(entry);
	}
	return found;
}

#endif // WINDOWS_FIXTURE_H
