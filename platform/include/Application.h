// BApplication: the process's application object (be_app). Its Run() runs on
// the thread that calls it, the main thread: it pumps the display's events
// and handles the application's messages until Quit(). Created and deleted by
// the program on that thread; one at a time.
#ifndef _APPLICATION_H
#define _APPLICATION_H

#include <AppDefs.h>
#include <Looper.h>

class BWindow;

class _IMPEXP_BE BApplication : public BLooper
{
public:
	BApplication(const char* signature);
	BApplication(const char* signature, status_t* error);
	virtual ~BApplication();

	status_t InitCheck() const;
	const char* Signature() const;

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

	int32 CountWindows() const;
	BWindow* WindowAt(int32 index) const;

private:
	BApplication(const BApplication&);
	BApplication& operator=(const BApplication&);

	void _Init(const char* signature, status_t* error);
	void _HandleQueue();

	std::string fSignature;
	status_t fInitStatus;
};

extern _IMPEXP_BE BApplication* be_app;

#endif // _APPLICATION_H
