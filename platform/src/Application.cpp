// BApplication: runs the display's event pump on the thread that calls Run()
// and handles the application's messages between the display's events.
#include <Application.h>

#include <Window.h>

#include "Backend.h"
#include "LooperState.h"
#include "WindowState.h"

#include <stdio.h>

BApplication* be_app = NULL;

// A second application object, or a signature that is not an application
// type, is reported on stderr; only the first object becomes be_app.
BApplication::BApplication(const char* signature) : BLooper(signature)
{
	const std::string type = signature != NULL ? signature : "";
	if (be_app != NULL) {
		fprintf(stderr, "BApplication: there is already an application object\n");
		return;
	}
	if (type.compare(0, 12, "application/") != 0) {
		fprintf(stderr,
		        "BApplication: bad signature \"%s\"; it must begin with "
		        "\"application/\"\n",
		        type.c_str());
	}
	be_app = this;
	// Messages for the application wake the event pump, which handles them.
	fState->onPost = []() { BPrivate::CurrentBackend().Wake(); };
	// The application's thread is the one that builds it, until Run().
	std::lock_guard<std::mutex> guard(fState->queueMutex);
	fState->thread = find_thread(NULL);
}

BApplication::~BApplication()
{
	if (be_app == this)
		be_app = NULL;
}

thread_id BApplication::Run()
{
	{
		std::lock_guard<std::mutex> guard(fState->queueMutex);
		if (fState->running)
			return B_ALREADY_RUNNING;
		fState->running = true;
		fState->thread = find_thread(NULL);
	}
	BPrivate::QueueMessage(this, new BMessage(B_READY_TO_RUN), NULL, true);
	BPrivate::CurrentBackend().Run(
	    [](void* cookie) { static_cast<BApplication*>(cookie)->_HandleQueue(); }, this);
	std::lock_guard<std::mutex> guard(fState->queueMutex);
	fState->running = false;
	fState->quitting = false;
	fState->stateChanged.notify_all();
	return fState->thread;
}

void BApplication::_HandleQueue()
{
	while (_DispatchNext(false)) {
	}
	std::lock_guard<std::mutex> guard(fState->queueMutex);
	if (fState->quitting)
		BPrivate::CurrentBackend().Stop();
}

void BApplication::Quit()
{
	// The application object is not deleted: the program owns it.
	{
		std::lock_guard<std::mutex> guard(fState->queueMutex);
		fState->quitting = true;
		fState->queueChanged.notify_all();
	}
	BPrivate::CurrentBackend().Stop();
}

bool BApplication::QuitRequested()
{
	for (BWindow* window : BPrivate::LiveWindows()) {
		if (!window->Lock())
			continue; // gone meanwhile
		if (!window->QuitRequested()) {
			window->Unlock();
			return false;
		}
		window->Quit();
	}
	return true;
}

void BApplication::ReadyToRun() {}

void BApplication::DispatchMessage(BMessage* message, BHandler* handler)
{
	if (message->what == B_READY_TO_RUN && handler == this) {
		ReadyToRun();
		return;
	}
	BLooper::DispatchMessage(message, handler);
}
