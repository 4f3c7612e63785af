// BApplication: the process's application object (be_app). Its Run() runs on
// the thread that calls it, the main thread: it pumps the display's events
// and handles the application's messages until Quit(). Created and deleted by
// the program on that thread; one at a time.
#ifndef _APPLICATION_H
#define _APPLICATION_H

#include <AppDefs.h>
#include <Looper.h>

class _IMPEXP_BE BApplication : public BLooper
{
public:
	BApplication(const char* signature);
	virtual ~BApplication();

	// Runs the display's event pump and the application's messages on the
	// calling thread until Quit(); returns that thread's id.
	virtual thread_id Run();
	// From any thread: Run() returns once the current message is handled.
	virtual void Quit();
	// Asks every window whether it may close and quits those that agree;
	// true when all of them did.
	virtual bool QuitRequested();
	virtual void ReadyToRun();
	virtual void DispatchMessage(BMessage* message, BHandler* handler);

private:
	BApplication(const BApplication&);
	BApplication& operator=(const BApplication&);

	void _HandleQueue();
};

extern _IMPEXP_BE BApplication* be_app;

#endif // _APPLICATION_H
