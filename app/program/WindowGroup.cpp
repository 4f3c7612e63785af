// WindowGroup: opening, numbering and closing the windows; quitting.

#include "WindowGroup.h"

#include <algorithm>

#include "AddonLoader.h"
#include "Document.h"
#include "HostWindow.h"
#include "Session.h"

namespace {

// Each window opens this far right of and below the one before, back at
// the first one's place after kCascadeLength windows.
const float kCascadeStep = 28;
const int32 kCascadeLength = 8;

} // namespace

WindowGroup::WindowGroup(Session& session)
    : fSession(session), fDocument(session.GetDocument()), fLoader(session.Loader()),
      fLastNumber(0), fQuitArmed(false), fQuitAccepted(false), fDriven(false)
{
}

WindowGroup::~WindowGroup()
{
	CloseAll();
}

HostWindow* WindowGroup::Open(int32 index, std::string& error)
{
	HostWindow* window = new HostWindow(*this, fDocument);
	window->Lock();
	if (window->SetUp(index) != B_OK) {
		error = window->ErrorMessage();
		window->Quit();
		return NULL;
	}
	int32 number;
	{
		std::lock_guard<std::mutex> guard(fLock);
		number = ++fLastNumber;
		fWindows.push_back({number, window, false});
	}
	const float offset = kCascadeStep * float((number - 1) % kCascadeLength);
	window->MoveBy(offset, offset);
	window->Unlock();
	window->Show();
	return window;
}

BFullItemEditor* WindowGroup::MakeEditor(const BResourceHandle& item, std::string& error)
{
	std::lock_guard<std::mutex> guard(fLoaderLock);
	BFullItemEditor* editor = fLoader.MakeEditorFor(fDocument, item);
	if (editor == NULL)
		error = std::string("no add-on makes an editor: ") + fLoader.ErrorMessage();
	return editor;
}

HostWindow* WindowGroup::WindowAt(int32 number) const
{
	std::lock_guard<std::mutex> guard(fLock);
	for (const Entry& entry : fWindows) {
		if (entry.number == number && !entry.closing)
			return entry.window;
	}
	return NULL;
}

std::vector<int32> WindowGroup::OpenNumbers() const
{
	std::lock_guard<std::mutex> guard(fLock);
	std::vector<int32> numbers;
	for (const Entry& entry : fWindows) {
		if (!entry.closing)
			numbers.push_back(entry.number);
	}
	return numbers;
}

void WindowGroup::CloseAll()
{
	std::vector<HostWindow*> windows;
	{
		std::lock_guard<std::mutex> guard(fLock);
		for (Entry& entry : fWindows) {
			entry.closing = true;
			windows.push_back(entry.window);
		}
	}
	// Locking fails for a window that has gone meanwhile; Quit from this
	// thread returns once the window is.
	for (HostWindow* window : windows) {
		if (window->Lock())
			window->Quit();
	}
}

void WindowGroup::Closed(HostWindow* window)
{
	std::lock_guard<std::mutex> guard(fLock);
	fWindows.erase(std::remove_if(fWindows.begin(), fWindows.end(),
	                              [window](const Entry& entry) { return entry.window == window; }),
	               fWindows.end());
}

void WindowGroup::SetDriven(bool driven)
{
	std::lock_guard<std::mutex> guard(fLock);
	fDriven = driven;
}

bool WindowGroup::EndDriving()
{
	std::lock_guard<std::mutex> guard(fLock);
	fDriven = false;
	return fQuitAccepted;
}

bool WindowGroup::QuitAccepted() const
{
	std::lock_guard<std::mutex> guard(fLock);
	return fQuitAccepted;
}

void WindowGroup::SetProgramQuit(std::function<void()> quit)
{
	std::lock_guard<std::mutex> guard(fLock);
	fProgramQuit = std::move(quit);
}

WindowGroup::Answer WindowGroup::RequestQuit()
{
	std::unique_lock<std::mutex> lock(fLock);
	if (fQuitAccepted)
		return fDriven ? kHold : kClose;
	return Confirm(lock);
}

WindowGroup::Answer WindowGroup::RequestClose(HostWindow* window)
{
	std::unique_lock<std::mutex> lock(fLock);
	if (fQuitAccepted)
		return fDriven ? kHold : kClose;
	// The document stays open in the other windows: nothing to warn of.
	// Counted under the lock, so that of two windows closed at once only
	// one goes without asking.
	const auto open = std::count_if(fWindows.begin(), fWindows.end(),
	                                [](const Entry& entry) { return !entry.closing; });
	auto self = std::find_if(fWindows.begin(), fWindows.end(),
	                         [window](const Entry& entry) { return entry.window == window; });
	if (self != fWindows.end() && (self->closing || open > 1)) {
		self->closing = true;
		return kClose;
	}
	return Confirm(lock);
}

WindowGroup::Answer WindowGroup::Confirm(std::unique_lock<std::mutex>& lock)
{
	if (fDocument.IsModified() && !fQuitArmed) {
		fQuitArmed = true;
		return kWarn;
	}
	fQuitAccepted = true;
	if (fDriven)
		return kHold;
	std::function<void()> quit = fProgramQuit;
	lock.unlock();
	if (quit)
		quit();
	return kClose;
}

void WindowGroup::DisarmQuit()
{
	std::lock_guard<std::mutex> guard(fLock);
	fQuitArmed = false;
}

void WindowGroup::UseFiles(const std::function<void(std::vector<DocumentFile>&)>& user)
{
	fSession.UseFiles(user);
}

void WindowGroup::RecordSave(SaveResult result, const std::string& message)
{
	std::lock_guard<std::mutex> guard(fLock);
	switch (result) {
	case kSaveWritten:
		fSaves.unconfirmed = false;
		break;
	case kSaveWarned:
		fSaves.warnings++;
		fSaves.lastWarning = message;
		fSaves.unconfirmed = true;
		break;
	case kSaveFailed:
		fSaves.failures++;
		fSaves.lastFailure = message;
		break;
	}
}

WindowGroup::SaveRecord WindowGroup::Saves() const
{
	std::lock_guard<std::mutex> guard(fLock);
	SaveRecord record = fSaves;
	record.unconfirmed = record.unconfirmed && fDocument.IsModified();
	return record;
}
