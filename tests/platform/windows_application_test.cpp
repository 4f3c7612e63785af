// The application object: its loop on the calling thread, its messages, and
// quitting with the windows' consent. The display's choice.
#include <Application.h>
#include <OS.h>
#include <Window.h>

#include <Display.h>
#include <PlatformTesting.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "windows_fixture.h"

namespace {

class TestApplication : public BApplication
{
public:
	TestApplication() : BApplication("application/x-vnd.test-kits") {}
	virtual void ReadyToRun() { readyOn = find_thread(NULL); }
	virtual void MessageReceived(BMessage* message)
	{
		if (message->what == 'ping') {
			pingedOn = find_thread(NULL);
			return;
		}
		BApplication::MessageReceived(message);
	}
	std::atomic<thread_id> readyOn{-1};
	std::atomic<thread_id> pingedOn{-1};
};

TEST(ApplicationThreadTest, RunHandlesMessagesOnTheCallingThreadUntilQuit)
{
	TestApplication application;
	ASSERT_EQ(be_app, &application);
	// Posted before Run: handled once it runs.
	be_app->PostMessage('ping');
	std::thread other([&]() {
		while (application.pingedOn.load() == -1)
			snooze(1000);
		be_app->PostMessage(B_QUIT_REQUESTED);
	});
	application.Run();
	other.join();
	EXPECT_EQ(application.readyOn.load(), find_thread(NULL));
	EXPECT_EQ(application.pingedOn.load(), find_thread(NULL));
}

TEST(ApplicationThreadTest, QuittingAsksTheWindowsFirst)
{
	class Window : public BWindow
	{
	public:
		Window(std::atomic<bool>& allow, std::atomic<bool>& deleted)
		    : BWindow(BRect(0, 0, 9, 9), "asked", B_TITLED_WINDOW, 0), fAllow(allow),
		      fDeleted(deleted)
		{
		}
		~Window() { fDeleted = true; }
		virtual bool QuitRequested() { return fAllow; }

	private:
		std::atomic<bool>& fAllow;
		std::atomic<bool>& fDeleted;
	};
	TestApplication application;
	std::atomic<bool> allow(false);
	std::atomic<bool> deleted(false);
	Window* window = new Window(allow, deleted);
	window->Show();

	EXPECT_FALSE(application.QuitRequested());
	EXPECT_FALSE(deleted);
	allow = true;
	EXPECT_TRUE(application.QuitRequested());
	EXPECT_TRUE(deleted);
}

TEST(ApplicationThreadTest, ASecondApplicationObjectIsRefused)
{
	TestApplication first;
	{
		BApplication second("application/x-vnd.second");
		EXPECT_EQ(be_app, &first);
	}
	EXPECT_EQ(be_app, &first);
}

TEST(DisplayTest, TheDisplayIsHeadlessUnlessAnotherIsChosen)
{
	EXPECT_EQ(PlatformTesting::ActiveDisplay(), PlatformTesting::kHeadlessDisplay);
	EXPECT_EQ(PlatformTesting::ChooseDisplay(PlatformTesting::kHeadlessDisplay), B_OK);
	EXPECT_EQ(PlatformTesting::ActiveDisplay(), PlatformTesting::kHeadlessDisplay);
}

} // namespace
