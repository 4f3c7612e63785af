// The SDL2 display in a real X server (Xvfb): a window opens as a native
// window, its pixels reach the screen and follow changes, the title and the
// size follow both ways, real key presses and mouse clicks arrive as the
// kits' messages, files dropped on the window arrive as a drop at the
// pointer, and the native window goes when the window quits.
//
// The display is chosen once for a process, before its first window, and
// other tests in this program show headless windows: each test therefore
// starts an X server and runs itself again in a child process connected
// to it, which does the work. The test passes when its child does.

#include <gtest/gtest.h>

#include <AppDefs.h>
#include <Application.h>
#include <InterfaceDefs.h>
#include <Entry.h>
#include <Message.h>
#include <Path.h>
#include <View.h>
#include <Window.h>

#include <Display.h>
#include <PlatformTesting.h>

#include <SDL.h>

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "XServer.h"
#include "XwdImage.h"

namespace fs = std::filesystem;
using namespace PlatformTesting;

namespace {

const char* const kChildVariable = "HEXDUMP_SDL_TEST_CHILD";
const rgb_color kRed = {255, 0, 0, 255};
const rgb_color kBlue = {0, 0, 255, 255};
const rgb_color kGreen = {0, 160, 0, 255};
const uint32 kMsgShortcut = 'shct';

bool InChildProcess()
{
	return getenv(kChildVariable) != NULL;
}

// Starts an X server and runs the current test in a child process on it.
void RunInChildProcess()
{
	XServer server;
	std::string error;
	if (!server.Start(800, 600, error))
		GTEST_SKIP() << "no X server for the SDL2 display: " << error;
	int status;
	server.Command("xdotool version", &status);
	ASSERT_EQ(status, 0) << "xdotool is missing (scripts/setup.sh installs it)";

	const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
	std::string program = fs::read_symlink("/proc/self/exe").string();
	// In a shell of its own: Command() sends the line's errors to /dev/null,
	// and the child's (a crash's report among them) belong in the output.
	std::string output = server.Command("sh -c '" + std::string(kChildVariable) + "=1 " + program +
	                                        " --gtest_filter=" + test->test_suite_name() + "." +
	                                        test->name() + " 2>&1'",
	                                    &status);
	EXPECT_EQ(status, 0) << "the test in the X server failed:\n" << output;
	EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

std::string ColorText(rgb_color color)
{
	return "(" + std::to_string(color.red) + ", " + std::to_string(color.green) + ", " +
	       std::to_string(color.blue) + ")";
}

// A view in one colour that logs the input it gets, in the window's thread
// (read it with the window locked).
class InputView : public BView
{
public:
	InputView(BRect frame, rgb_color color) : BView(frame, "input", B_FOLLOW_NONE, B_WILL_DRAW)
	{
		SetViewColor(color);
	}

	virtual void KeyDown(const char* bytes, int32 numBytes)
	{
		std::string key(bytes, size_t(numBytes));
		if (numBytes == 1 && uint8(bytes[0]) < 0x20) {
			char code[8];
			snprintf(code, sizeof(code), "0x%02x", unsigned(uint8(bytes[0])));
			key = code;
		}
		fLog.push_back("key " + key);
	}

	virtual void MouseDown(BPoint where)
	{
		BMessage* message = Window()->CurrentMessage();
		fLog.push_back("down " + std::to_string(int(where.x)) + " " + std::to_string(int(where.y)) +
		               " buttons " + std::to_string(message->FindInt32("buttons")) + " clicks " +
		               std::to_string(message->FindInt32("clicks")));
	}

	virtual void MouseUp(BPoint where)
	{
		fLog.push_back("up " + std::to_string(int(where.x)) + " " + std::to_string(int(where.y)));
	}

	virtual void MessageReceived(BMessage* message)
	{
		switch (message->what) {
		case B_MOUSE_WHEEL_CHANGED: {
			float delta = 0;
			message->FindFloat("be:wheel_delta_y", &delta);
			fLog.push_back("wheel " + std::to_string(int(delta)));
			break;
		}
		case kMsgShortcut:
			fLog.push_back("shortcut");
			break;
		case B_SIMPLE_DATA: {
			const BPoint where = ConvertFromScreen(message->DropPoint());
			std::string entry = std::string(message->WasDropped() ? "drop " : "data ") +
			                    std::to_string(int(where.x)) + " " + std::to_string(int(where.y));
			entry_ref ref;
			for (int32 i = 0; message->FindRef("refs", i, &ref) == B_OK; i++)
				entry += std::string(" ") + BPath(&ref).Leaf();
			fLog.push_back(entry);
			break;
		}
		default:
			BView::MessageReceived(message);
			break;
		}
	}

	std::vector<std::string> fLog;
};

// The test's side of the X server: its windows by name, their pixels.
class Screen
{
public:
	Screen()
	{
		std::string error;
		EXPECT_TRUE(fServer.UseEnvironment(error)) << error;
		fDump = "/tmp/sdl-test-" + std::to_string(getpid()) + ".xwd";
	}
	~Screen() { unlink(fDump.c_str()); }

	std::string FindWindow(const std::string& name)
	{
		std::string found = fServer.Command("xdotool search --name '^" + name + "$'");
		return found.substr(0, found.find('\n'));
	}

	// The native window's pixels, as the X server has them.
	PixelImage Pixels(const std::string& window)
	{
		PixelImage image;
		std::string error;
		fServer.Command("xwd -silent -id " + window + " -out " + fDump);
		if (!XwdImage::Read(fDump, image, error))
			image = PixelImage();
		return image;
	}

	bool ShowsColor(const std::string& window, int32 x, int32 y, rgb_color color)
	{
		return XServer::WaitFor(
		    [&]() {
			    PixelImage image = Pixels(window);
			    return x < image.width && y < image.height &&
			           ColorText(image.At(x, y)) == ColorText(color);
		    },
		    10);
	}

	std::string Command(const std::string& command) { return fServer.Command(command); }

private:
	XServer fServer;
	std::string fDump;
};

// Runs body on a driver thread while the application runs the display's
// event pump on this one; the application quits when body is done.
template <typename Body> void RunWithDisplay(Body body)
{
	ASSERT_EQ(ChooseDisplay(kSdlDisplay), B_OK) << "SDL2 could not open the X display";
	ASSERT_EQ(ActiveDisplay(), kSdlDisplay);
	BApplication application("application/x-vnd.hexdump-sdl-test");
	std::thread driver([&]() {
		body();
		be_app->PostMessage(B_QUIT_REQUESTED);
	});
	application.Run();
	driver.join();
}

template <typename Value>
bool WindowReaches(BWindow* window, Value value, const decltype(value())& expected)
{
	return XServer::WaitFor(
	    [&]() {
		    window->Lock();
		    bool reached = value() == expected;
		    window->Unlock();
		    return reached;
	    },
	    10);
}

} // namespace

TEST(SdlDisplay, WindowShowsItsPixelsFollowsTitleAndSizeAndCloses)
{
	if (!InChildProcess())
		return RunInChildProcess();

	RunWithDisplay([]() {
		Screen screen;
		BWindow* window = new BWindow(BRect(50, 40, 249, 139), "sdl pixels", B_TITLED_WINDOW, 0);
		BView* back = new BView(window->Bounds(), "back", B_FOLLOW_ALL_SIDES, B_WILL_DRAW);
		back->SetViewColor(kRed);
		BView* square = new BView(BRect(100, 20, 149, 69), "square", B_FOLLOW_NONE, B_WILL_DRAW);
		square->SetViewColor(kBlue);
		window->AddChild(back);
		back->AddChild(square);
		window->Show();
		WaitUntilIdle(window);

		std::string native;
		ASSERT_TRUE(XServer::WaitFor(
		    [&]() { return !(native = screen.FindWindow("sdl pixels")).empty(); }, 10))
		    << "no native window named \"sdl pixels\"";
		EXPECT_TRUE(screen.ShowsColor(native, 10, 10, kRed));
		EXPECT_TRUE(screen.ShowsColor(native, 120, 40, kBlue));
		PixelImage shown = screen.Pixels(native);
		EXPECT_EQ(shown.width, 200);
		EXPECT_EQ(shown.height, 100);

		// A changed part reaches the screen.
		window->Lock();
		square->SetViewColor(kGreen);
		square->Invalidate();
		window->Unlock();
		EXPECT_TRUE(screen.ShowsColor(native, 120, 40, kGreen));
		EXPECT_TRUE(screen.ShowsColor(native, 99, 40, kRed));

		window->Lock();
		window->SetTitle("sdl renamed");
		window->Unlock();
		EXPECT_TRUE(XServer::WaitFor(
		    [&]() { return screen.Command("xdotool getwindowname " + native) == "sdl renamed"; },
		    10));

		// Resized from outside: the window follows, and so do its views.
		screen.Command("xdotool windowsize " + native + " 300 150");
		EXPECT_TRUE(WindowReaches(
		    window, [&]() { return window->Bounds(); }, BRect(0, 0, 299, 149)));
		EXPECT_TRUE(screen.ShowsColor(native, 290, 140, kRed));

		// Resized from inside: the native window follows.
		window->Lock();
		window->ResizeTo(159, 79);
		window->Unlock();
		EXPECT_TRUE(XServer::WaitFor(
		    [&]() {
			    PixelImage image = screen.Pixels(native);
			    return image.width == 160 && image.height == 80;
		    },
		    10));

		window->Lock();
		window->Quit();
		EXPECT_TRUE(
		    XServer::WaitFor([&]() { return screen.FindWindow("sdl renamed").empty(); }, 10))
		    << "the native window stayed after the window quit";
	});
}

TEST(SdlDisplay, RealKeysAndClicksArriveAsMessages)
{
	if (!InChildProcess())
		return RunInChildProcess();

	RunWithDisplay([]() {
		Screen screen;
		BWindow* window = new BWindow(BRect(0, 0, 199, 99), "sdl input", B_TITLED_WINDOW, 0);
		InputView* view = new InputView(BRect(100, 20, 149, 69), kBlue);
		window->AddChild(view);
		window->AddShortcut('S', 0, new BMessage(kMsgShortcut), view);
		view->MakeFocus(true);
		window->Show();
		WaitUntilIdle(window);

		std::string native;
		ASSERT_TRUE(XServer::WaitFor(
		    [&]() { return !(native = screen.FindWindow("sdl input")).empty(); }, 10));
		ASSERT_TRUE(screen.ShowsColor(native, 120, 40, kBlue));
		screen.Command("xdotool windowfocus --sync " + native);
		EXPECT_TRUE(WindowReaches(
		    window, [&]() { return window->IsActive(); }, true));

		// Typed text comes as its characters, special keys as the kits' key
		// bytes, Ctrl+S as the command-key shortcut (never as a key press).
		screen.Command("xdotool key --delay 50 a Left ctrl+s shift+b BackSpace");
		const std::vector<std::string> keys = {"key a", "key 0x1c", "shortcut", "key B",
		                                       "key 0x08"};
		EXPECT_TRUE(WindowReaches(
		    window, [&]() { return view->fLog; }, keys));

		window->Lock();
		view->fLog.clear();
		window->Unlock();
		// The square stands at (100, 20) in the window; X's button 5 is a
		// wheel turn towards the user, a positive delta (scrolling down).
		screen.Command("xdotool mousemove --window " + native + " 120 40 click 1 click 5");
		const std::vector<std::string> mouse = {"down 20 20 buttons 1 clicks 1", "up 20 20",
		                                        "wheel 1"};
		EXPECT_TRUE(WindowReaches(
		    window, [&]() { return view->fLog; }, mouse));

		window->Lock();
		window->Quit();
	});
}

// SDL's drop events, as the desktop's drag and drop makes them, pushed
// into the pump's queue: one drop of both files at the pointer.
TEST(SdlDisplay, FilesDroppedArriveAsOneDropAtThePointer)
{
	if (!InChildProcess())
		return RunInChildProcess();

	RunWithDisplay([]() {
		Screen screen;
		BWindow* window = new BWindow(BRect(0, 0, 199, 99), "sdl drop", B_TITLED_WINDOW, 0);
		InputView* view = new InputView(BRect(100, 20, 149, 69), kBlue);
		window->AddChild(view);
		window->Show();
		WaitUntilIdle(window);
		std::string native;
		ASSERT_TRUE(XServer::WaitFor(
		    [&]() { return !(native = screen.FindWindow("sdl drop")).empty(); }, 10));
		ASSERT_TRUE(screen.ShowsColor(native, 120, 40, kBlue));
		screen.Command("xdotool mousemove --sync --window " + native + " 130 45");

		Uint32 id = 0;
		for (Uint32 candidate = 1; candidate < 16 && id == 0; candidate++) {
			SDL_Window* sdlWindow = SDL_GetWindowFromID(candidate);
			if (sdlWindow != NULL && std::string(SDL_GetWindowTitle(sdlWindow)) == "sdl drop")
				id = candidate;
		}
		ASSERT_NE(id, 0u);
		auto push = [&](Uint32 type, const char* file) {
			SDL_Event event = {};
			event.drop.type = type;
			event.drop.windowID = id;
			event.drop.file = file != NULL ? SDL_strdup(file) : NULL;
			ASSERT_EQ(1, SDL_PushEvent(&event));
		};
		push(SDL_DROPBEGIN, NULL);
		push(SDL_DROPFILE, "/tmp");
		push(SDL_DROPFILE, "/etc/hostname");
		push(SDL_DROPCOMPLETE, NULL);
		const std::vector<std::string> drops = {"drop 30 25 tmp hostname"};
		EXPECT_TRUE(WindowReaches(
		    window, [&]() { return view->fLog; }, drops));

		window->Lock();
		window->Quit();
	});
}
