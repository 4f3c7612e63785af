// Input routing: keys to the focus view or to shortcuts, mouse messages to
// the view under the pointer with transit codes, pointer event masks, focus
// changes, pulses on the test clock and activation.
#include <AppDefs.h>
#include <InterfaceDefs.h>
#include <View.h>
#include <Window.h>

#include <PlatformTesting.h>

#include <gtest/gtest.h>

#include "windows_fixture.h"

namespace {

using PlatformTesting::MakeKeyDown;
using PlatformTesting::MakeMouseDown;
using PlatformTesting::MakeMouseMoved;
using PlatformTesting::MakeMouseUp;

// A window that logs the messages reaching its MessageReceived.
class LoggingWindow : public BWindow
{
public:
	explicit LoggingWindow(std::vector<std::string>& log)
	    : BWindow(BRect(0, 0, 99, 99), "input", B_TITLED_WINDOW, 0), fLog(log)
	{
	}
	virtual void MessageReceived(BMessage* message)
	{
		char code[5] = {char(message->what >> 24), char(message->what >> 16),
		                char(message->what >> 8), char(message->what), 0};
		fLog.push_back(std::string("window:") + code);
		BWindow::MessageReceived(message);
	}
	virtual void WindowActivated(bool active)
	{
		fLog.push_back(std::string("window:WindowActivated ") + (active ? "true" : "false"));
	}

private:
	std::vector<std::string>& fLog;
};

// Two views side by side, A at (10, 10, 49, 49) and B at (50, 10, 89, 49),
// both navigable, in a shown window that logs.
class WindowInputTest : public ::testing::Test
{
protected:
	WindowInputTest() : fWindow(new LoggingWindow(fLog))
	{
		PlatformTesting::UseTestFace();
		fA = new LoggingView(BRect(10, 10, 49, 49), "A", fLog, B_WILL_DRAW | B_NAVIGABLE);
		fB = new LoggingView(BRect(50, 10, 89, 49), "B", fLog, B_WILL_DRAW | B_NAVIGABLE);
		fWindow->AddChild(fA);
		fWindow->AddChild(fB);
		fWindow->Show();
		PlatformTesting::WaitUntilIdle(fWindow);
		fLog.clear();
	}
	~WindowInputTest()
	{
		fWindow->Lock();
		fWindow->Quit();
	}

	void Post(const BMessage& message) { PlatformTesting::PostAndWait(fWindow, message); }
	void Focus(BView* view)
	{
		fWindow->Lock();
		view->MakeFocus(true);
		fWindow->Unlock();
	}
	std::vector<std::string> Without(const std::string& part)
	{
		std::vector<std::string> kept;
		for (const std::string& entry : fLog) {
			if (entry.find(part) == std::string::npos)
				kept.push_back(entry);
		}
		return kept;
	}

	std::vector<std::string> fLog;
	LoggingWindow* fWindow;
	LoggingView* fA;
	LoggingView* fB;
};

TEST_F(WindowInputTest, KeysGoToTheFocusViewWithTheirMessage)
{
	Post(MakeKeyDown("a"));
	EXPECT_TRUE(fLog.empty());

	Focus(fB);
	fLog.clear();
	Post(MakeKeyDown("x", B_SHIFT_KEY));
	EXPECT_EQ(fLog, std::vector<std::string>{"B:KeyDown x 1"});
}

TEST_F(WindowInputTest, CommandKeysGoOnlyToMatchingShortcuts)
{
	Focus(fA);
	fWindow->Lock();
	fWindow->AddShortcut('s', 0, new BMessage('save'));
	fWindow->AddShortcut('Z', B_SHIFT_KEY, new BMessage('redo'));
	fWindow->Unlock();
	fLog.clear();

	Post(MakeKeyDown("s", B_COMMAND_KEY));
	Post(MakeKeyDown("Z", B_COMMAND_KEY | B_SHIFT_KEY));
	Post(MakeKeyDown("z", B_COMMAND_KEY)); // no such shortcut: dropped
	Post(MakeKeyDown("s", B_COMMAND_KEY | B_CONTROL_KEY));
	EXPECT_EQ(fLog, (std::vector<std::string>{"window:save", "window:redo"}));

	fWindow->Lock();
	fWindow->RemoveShortcut('s', 0);
	fWindow->Unlock();
	fLog.clear();
	Post(MakeKeyDown("s", B_COMMAND_KEY));
	EXPECT_TRUE(fLog.empty());
}

TEST_F(WindowInputTest, ShortcutsCanTargetAView)
{
	class Target : public BView
	{
	public:
		Target() : BView(BRect(0, 0, 1, 1), "target", B_FOLLOW_NONE, 0) {}
		virtual void MessageReceived(BMessage* message) { received = message->what; }
		uint32 received = 0;
	};
	Target* target = new Target;
	fWindow->Lock();
	fWindow->AddChild(target);
	fWindow->AddShortcut('n', 0, new BMessage('next'), target);
	fWindow->Unlock();
	Post(MakeKeyDown("n", B_COMMAND_KEY));
	fWindow->Lock();
	EXPECT_EQ(target->received, uint32('next'));
	fWindow->Unlock();
}

TEST_F(WindowInputTest, ThePointerEntersMovesInsideAndExits)
{
	Post(MakeMouseMoved(BPoint(20, 20)));
	Post(MakeMouseMoved(BPoint(30, 25)));
	Post(MakeMouseMoved(BPoint(60, 30)));
	Post(MakeMouseMoved(BPoint(95, 95)));
	EXPECT_EQ(fLog, (std::vector<std::string>{"A:MouseMoved 10,10 0", "A:MouseMoved 20,15 1",
	                                          "A:MouseMoved 50,20 2", "B:MouseMoved 10,20 0",
	                                          "B:MouseMoved 45,85 2"}));
}

TEST_F(WindowInputTest, PressesAndReleasesGoToTheViewUnderThePointer)
{
	Focus(fA);
	fLog.clear();
	Post(MakeMouseDown(BPoint(60, 20)));
	Post(MakeMouseUp(BPoint(60, 20)));
	EXPECT_EQ(fLog, (std::vector<std::string>{"B:MouseDown 10,10", "B:MouseUp 10,10"}));
	// A press does not move the focus.
	fWindow->Lock();
	EXPECT_EQ(fWindow->CurrentFocus(), fA);
	fWindow->Unlock();
}

TEST_F(WindowInputTest, APointerEventMaskFollowsThePointerUntilTheRelease)
{
	class Tracker : public LoggingView
	{
	public:
		Tracker(std::vector<std::string>& log)
		    : LoggingView(BRect(10, 60, 29, 79), "T", log, B_WILL_DRAW)
		{
		}
		virtual void MouseDown(BPoint where)
		{
			LoggingView::MouseDown(where);
			SetMouseEventMask(B_POINTER_EVENTS);
		}
	};
	fWindow->Lock();
	fWindow->AddChild(new Tracker(fLog));
	fWindow->Unlock();
	Post(MakeMouseMoved(BPoint(15, 65)));
	Post(MakeMouseDown(BPoint(15, 65)));
	Post(MakeMouseMoved(BPoint(20, 30), B_PRIMARY_MOUSE_BUTTON));
	Post(MakeMouseMoved(BPoint(21, 31), B_PRIMARY_MOUSE_BUTTON));
	Post(MakeMouseUp(BPoint(21, 31)));
	Post(MakeMouseMoved(BPoint(22, 32)));
	EXPECT_EQ(
	    Matching(fLog, "T:Mouse"),
	    (std::vector<std::string>{"T:MouseMoved 5,5 0", "T:MouseDown 5,5", "T:MouseMoved 10,-30 2",
	                              "T:MouseMoved 11,-29 3", "T:MouseUp 11,-29"}));
	EXPECT_EQ(Matching(fLog, "A:MouseUp"), std::vector<std::string>{});
}

TEST_F(WindowInputTest, GetMouseReadsTheLastPointerInViewCoordinates)
{
	Post(MakeMouseMoved(BPoint(33, 44), B_SECONDARY_MOUSE_BUTTON));
	fWindow->Lock();
	BPoint where;
	uint32 buttons = 0;
	fB->GetMouse(&where, &buttons, false);
	EXPECT_EQ(where, BPoint(-17, 34));
	EXPECT_EQ(buttons, uint32(B_SECONDARY_MOUSE_BUTTON));
	fWindow->Unlock();
}

TEST_F(WindowInputTest, MakingAViewTheFocusTakesItFromThePreviousOne)
{
	Focus(fA);
	Focus(fB);
	EXPECT_EQ(fLog, (std::vector<std::string>{"A:MakeFocus true", "B:MakeFocus true",
	                                          "A:MakeFocus false"}));
	fWindow->Lock();
	EXPECT_TRUE(fB->IsFocus());
	EXPECT_FALSE(fA->IsFocus());
	// Removing the focus view takes the focus away.
	fB->RemoveSelf();
	EXPECT_EQ(fWindow->CurrentFocus(), nullptr);
	fWindow->Unlock();
	delete fB;
}

TEST_F(WindowInputTest, TabMovesTheFocusAmongNavigableViews)
{
	Focus(fA);
	fLog.clear();
	Post(MakeKeyDown("\t"));
	fWindow->Lock();
	EXPECT_EQ(fWindow->CurrentFocus(), fB);
	fWindow->Unlock();
	Post(MakeKeyDown("\t"));
	fWindow->Lock();
	EXPECT_EQ(fWindow->CurrentFocus(), fA);
	fWindow->Unlock();
	Post(MakeKeyDown("\t", B_SHIFT_KEY));
	fWindow->Lock();
	EXPECT_EQ(fWindow->CurrentFocus(), fB);
	fWindow->Unlock();
}

TEST_F(WindowInputTest, ShowingActivatesTheWindowAndItsViews)
{
	std::vector<std::string> log;
	LoggingWindow* window = new LoggingWindow(log);
	window->AddChild(new LoggingView(BRect(0, 0, 9, 9), "V", log));
	window->Show();
	PlatformTesting::WaitUntilIdle(window);
	EXPECT_TRUE(window->IsActive());
	EXPECT_EQ(Matching(log, "V:WindowActivated"),
	          std::vector<std::string>{"V:WindowActivated true"});
	// The window shown earlier was deactivated.
	PlatformTesting::WaitUntilIdle(fWindow);
	EXPECT_FALSE(fWindow->IsActive());
	EXPECT_EQ(Matching(fLog, "A:WindowActivated"),
	          std::vector<std::string>{"A:WindowActivated false"});
	window->Lock();
	window->Quit();
}

TEST_F(WindowInputTest, PulsesArriveAtThePulseRateOnTheTestClock)
{
	PlatformTesting::SetTestClock(1000000);
	LoggingView* pulsing =
	    new LoggingView(BRect(0, 60, 9, 69), "P", fLog, B_WILL_DRAW | B_PULSE_NEEDED);
	fWindow->Lock();
	fWindow->AddChild(pulsing);
	fWindow->SetPulseRate(100000);
	EXPECT_EQ(fWindow->PulseRate(), 100000);
	fWindow->Unlock();
	PlatformTesting::WaitUntilIdle(fWindow);
	fLog.clear();

	PlatformTesting::AdvanceTestClock(350000);
	EXPECT_EQ(fLog,
	          (std::vector<std::string>{"P:Pulse 1100000", "P:Pulse 1200000", "P:Pulse 1300000"}));
	EXPECT_EQ(system_time(), 1350000);

	fWindow->Lock();
	fWindow->SetPulseRate(0);
	fWindow->Unlock();
	fLog.clear();
	PlatformTesting::AdvanceTestClock(1000000);
	EXPECT_TRUE(fLog.empty());
	PlatformTesting::UseRealClock();
}

} // namespace
