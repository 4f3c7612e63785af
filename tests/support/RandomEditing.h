// RandomEditing: feeds one random stream of input to the real add-on (an
// editor in a headless window on a real document) and to EditingModel, and
// after every event checks that they agree: the selection lies within the
// data, the view's state equals the model's, the working copy equals the
// model's bytes and the host's item (unless a write lock was refused since
// they were last in step), and the window equals a full redraw. At the end,
// undoing every step gives the original bytes back, redoing every step the
// final ones. A stream is a list of intents (press the n-th byte in the hex
// column, a key, undo...) that the driver resolves against the state when it
// runs, so any sub-list is a valid stream too: failures shrink by dropping
// events. Test support, used by the test suite and the soak program.
#ifndef RANDOM_EDITING_H
#define RANDOM_EDITING_H

#include <AppDefs.h>
#include <InterfaceDefs.h>
#include <Message.h>
#include <ResourceItem.h>
#include <View.h>
#include <Window.h>

#include <PlatformTesting.h>

#include <stdlib.h>

#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Document.h"
#include "EditingModel.h"
#include "HexDumpFullEditor.h"
#include "HexDumpView.h"
#include "ViewHarness.h"

namespace RandomEditing {

struct Event
{
	enum Kind
	{
		kKey,
		kPress,
		kMove,
		kRelease,
		kFocus,
		kActivate,
		kPulse,
		kUndo,
		kRedo,
		kOtherEditor, // a second editor of the item inserts or removes bytes
		kRetarget,    // to the other item and back
		kRefusedKey   // a key whose write lock the host refuses
	};
	enum Place
	{
		kAtByte,
		kFarAbove,
		kFarBelow
	};

	Kind kind = kKey;
	char key = 0;
	bool shift = false;
	bool hex = true; // mouse: the column aimed at
	Place place = kAtByte;
	uint32 target = 0; // mouse: the byte aimed at; other editor: where
	bool on = true;
	uint32 amount = 0; // pulse: milliseconds; other editor: bytes, 0 removes

	std::string Describe() const
	{
		std::ostringstream text;
		static const char* const kKinds[] = {"key",   "press",        "move",     "release",
		                                     "focus", "activate",     "pulse",    "undo",
		                                     "redo",  "other-editor", "retarget", "refused-key"};
		text << kKinds[kind];
		switch (kind) {
		case kKey:
		case kRefusedKey:
			text << " 0x" << std::hex << int(uint8(key)) << std::dec << (shift ? " shift" : "");
			break;
		case kPress:
		case kMove:
		case kRelease:
			text << (hex ? " hex " : " ascii ")
			     << (place == kFarAbove   ? "far-above"
			         : place == kFarBelow ? "far-below"
			                              : std::to_string(target));
			break;
		case kFocus:
		case kActivate:
			text << (on ? " on" : " off");
			break;
		case kPulse:
			text << " " << amount << "ms";
			break;
		case kOtherEditor:
			text << " at " << target << (amount == 0 ? " removes" : " inserts ") << amount;
			break;
		default:
			break;
		}
		return text.str();
	}
};

typedef std::vector<Event> Stream;

inline Stream Generate(uint32 seed, size_t count)
{
	std::mt19937 random(seed);
	auto pick = [&](uint32 from, uint32 to) { return from + random() % (to - from + 1); };
	static const char kKeys[] = {B_LEFT_ARROW, B_RIGHT_ARROW, B_UP_ARROW, B_DOWN_ARROW,
	                             B_BACKSPACE,  B_DELETE,      B_HOME,     B_END,
	                             B_PAGE_UP,    B_PAGE_DOWN,   B_INSERT,   B_ENTER,
	                             B_ESCAPE,     B_FUNCTION_KEY};
	static const char kTyped[] = "0123456789abcdefABCDEF!Az ~gq-\x01\x7e";

	Stream stream;
	bool buttonDown = false;
	for (size_t i = 0; i < count; i++) {
		Event event;
		const uint32 roll = pick(0, 99);
		if (roll < 45) {
			event.kind = pick(0, 40) == 0 ? Event::kRefusedKey : Event::kKey;
			event.key = pick(0, 1) ? kKeys[pick(0, sizeof(kKeys) - 1)]
			                       : kTyped[pick(0, sizeof(kTyped) - 2)];
			event.shift = pick(0, 2) == 0;
		} else if (roll < 72) {
			event.hex = pick(0, 1) == 0;
			const uint32 where = pick(0, 19);
			event.place = where == 0   ? Event::kFarAbove
			              : where == 1 ? Event::kFarBelow
			                           : Event::kAtByte;
			event.target = pick(0, 1) ? pick(0, 80) : pick(0, 700);
			if (!buttonDown) {
				event.kind = pick(0, 4) == 0 ? Event::kMove : Event::kPress;
				buttonDown = event.kind == Event::kPress;
			} else if (pick(0, 3) > 0)
				event.kind = Event::kMove;
			else {
				event.kind = Event::kRelease;
				buttonDown = false;
			}
		} else if (roll < 76) {
			event.kind = Event::kFocus;
			event.on = pick(0, 2) > 0;
		} else if (roll < 79) {
			event.kind = Event::kActivate;
			event.on = pick(0, 2) > 0;
		} else if (roll < 85) {
			event.kind = Event::kPulse;
			event.amount = pick(50, 1200);
		} else if (roll < 91)
			event.kind = pick(0, 2) > 0 ? Event::kUndo : Event::kRedo;
		else if (roll < 96) {
			event.kind = Event::kOtherEditor;
			event.target = pick(0, 300);
			event.amount = pick(0, 3);
		} else
			event.kind = Event::kRetarget;
		stream.push_back(event);
	}
	return stream;
}

// The bytes a stream starts from: a size where lines and the end meet, or
// any up to a few kilobytes.
inline std::string StartBytes(uint32 seed)
{
	std::mt19937 random(seed ^ 0x5bd1e995u);
	static const size_t kSizes[] = {0, 1, 15, 16, 17, 32, 40, 100, 255};
	const size_t size = random() % 3 == 0 ? random() % 3000 : kSizes[random() % 9];
	std::string bytes(size, '\0');
	for (char& byte : bytes)
		byte = char(random() % 4 == 0 ? random() % 256 : 0x20 + random() % 0x5f);
	return bytes;
}

// One run of a stream on a fresh window and document.
// The test clock runs from before a run's window opens until the run ends:
// pulses then come only from the stream's waits, which the model follows.
// On the real clock a slow build would get pulses of its own, and one that
// finds the button held outside the view carries the drag on behind the
// model's back.
struct TestClockScope
{
	TestClockScope() { PlatformTesting::SetTestClock(1000000); }
	~TestClockScope() { PlatformTesting::UseRealClock(); }
	TestClockScope(const TestClockScope&) = delete;
	TestClockScope& operator=(const TestClockScope&) = delete;
};

class Run
{
public:
	Run(const std::string& bytes, ViewHarness::Face face, bool checkPictures)
	    : fHarness(bytes, face, 600, 320), fCheckPictures(checkPictures), fDiverged(false),
	      fPointerInside(false), fButtonDown(false), fOriginal(bytes)
	{
		fModel.bytes = bytes;
		fOther = fHarness.Doc().AddItem('RAWT', 2, "other", "other item", 10);
		// A second editor of the same item, in a window of its own, which
		// keeps it in step through the host's notices.
		fSecondEditor = new HexDumpFullEditor(fHarness.Doc().AddonArgs(), fHarness.Item());
		fSecondWindow = new BWindow(BRect(0, 0, 299, 199), "second editor", B_TITLED_WINDOW, 0);
		fSecondWindow->Lock();
		fSecondWindow->AddChild(fSecondEditor->View());
		fSecondWindow->Unlock();
		fSecondWindow->Show();
		PlatformTesting::WaitUntilIdle(fSecondWindow);
	}

	~Run()
	{
		fSecondWindow->Lock();
		fSecondWindow->Quit();
	}

	Run(const Run&) = delete;
	Run& operator=(const Run&) = delete;

	// "" when every event and the final undo and redo agree; otherwise what
	// differed, after which event.
	std::string Play(const Stream& stream)
	{
		for (size_t i = 0; i < stream.size(); i++) {
			Apply(stream[i]);
			const std::string problem = Check();
			if (!problem.empty())
				return "after event " + std::to_string(i) + " (" + stream[i].Describe() +
				       "): " + problem;
		}
		return UndoAndRedoEverything();
	}

private:
	HexDumpView* View() { return fHarness.View(); }

	std::string ItemBytes() { return fHarness.ItemBytes(); }

	void TakeHostBytes() { fModel.HostChanged(ItemBytes()); }

	// Where the driver aims: the left part of the byte's first digit or of
	// its character, which maps to that byte's boundary.
	BPoint Aim(const Event& event, bool mustBeVisible, uint32& pos)
	{
		ViewHarness::WindowLock lock(fHarness);
		HexDumpView* view = View();
		const uint32 size = fModel.Size();
		uint32 target = event.target;
		if (mustBeVisible) {
			// A press must land on the view: the byte's line is moved to
			// the nearest line on screen, keeping its column.
			const BRect bounds = view->Bounds();
			const float lineHeight = view->LineHeight();
			const float firstAim = view->OffsetToHexPoint(0).y - 2;
			const int64 firstLine = int64(ceilf((bounds.top - firstAim) / lineHeight));
			const int64 lastLine = int64(floorf((bounds.bottom - firstAim) / lineHeight));
			int64 line = std::clamp(int64(target / 16), firstLine, std::max(firstLine, lastLine));
			target = uint32(line * 16 + target % 16);
		}
		BPoint point = event.hex ? view->OffsetToHexPoint(int32(target))
		                         : view->OffsetToAsciiPoint(int32(target));
		point += BPoint(1, -2);
		pos = std::min(target, size);
		if (!mustBeVisible && event.place == Event::kFarAbove) {
			point.y = -100000;
			pos = 0;
		} else if (!mustBeVisible && event.place == Event::kFarBelow) {
			point.y = 100000;
			pos = size;
		}
		return point;
	}

	bool Inside(BPoint where)
	{
		ViewHarness::WindowLock lock(fHarness);
		return View()->Bounds().Contains(where);
	}

	// A move reaches the view when the pointer is over it before or after:
	// entering, moving inside or leaving it is one tracking step; entering
	// with no button down ends a drag whose release the view missed.
	void MoveTo(BPoint where, uint32 pos)
	{
		const bool inside = Inside(where);
		fHarness.MouseMoved(where, fButtonDown ? B_PRIMARY_MOUSE_BUTTON : 0);
		if (inside && !fPointerInside && !fButtonDown)
			fModel.tracking = false;
		if (inside || fPointerInside)
			fModel.Move(pos);
		fPointerInside = inside;
	}

	void Key(const Event& event)
	{
		const char bytes[2] = {event.key, 0};
		fHarness.Key(bytes, event.shift ? B_SHIFT_KEY : 0);
		fModel.Key(event.key, event.shift);
	}

	void Apply(const Event& event)
	{
		uint32 pos = 0;
		switch (event.kind) {
		case Event::kKey:
			Key(event);
			break;
		case Event::kRefusedKey: {
			const std::string before = fModel.bytes;
			fHarness.Doc().SetRefuseWriteLock(true);
			Key(event);
			fHarness.Doc().SetRefuseWriteLock(false);
			fDiverged = fDiverged || fModel.bytes != before;
			break;
		}
		case Event::kPress: {
			// The pointer moves there first, as it does on a display.
			const BPoint where = Aim(event, true, pos);
			MoveTo(where, pos);
			fHarness.MouseDown(where);
			fButtonDown = true;
			fModel.Press(pos, event.hex);
			break;
		}
		case Event::kMove: {
			const BPoint where = Aim(event, false, pos);
			MoveTo(where, pos);
			break;
		}
		case Event::kRelease: {
			// The release goes to the view under the pointer: released
			// outside, the view never hears of it and keeps tracking until
			// the pointer comes back with no button down.
			const BPoint where = Aim(event, false, pos);
			fHarness.MouseUp(where);
			fButtonDown = false;
			if (Inside(where))
				fModel.Release(pos);
			break;
		}
		case Event::kFocus: {
			{
				ViewHarness::WindowLock lock(fHarness);
				View()->MakeFocus(event.on);
			}
			fHarness.WaitUntilIdle();
			fModel.focus = event.on;
			break;
		}
		case Event::kActivate: {
			BMessage activation(B_WINDOW_ACTIVATED);
			activation.AddBool("active", event.on);
			PlatformTesting::PostAndWait(fHarness.Window(), activation);
			break;
		}
		case Event::kPulse:
			// A button held with the pointer outside carries the drag on at
			// each pulse, by amounts of the scroll: no pulses then.
			if (!fModel.tracking || !fButtonDown || fPointerInside)
				PlatformTesting::AdvanceTestClock(bigtime_t(event.amount) * 1000);
			break;
		case Event::kUndo:
		case Event::kRedo: {
			const status_t status =
			    event.kind == Event::kUndo ? fHarness.Doc().Undo() : fHarness.Doc().Redo();
			fHarness.WaitUntilIdle();
			if (status == B_OK) {
				TakeHostBytes();
				fDiverged = false;
			}
			break;
		}
		case Event::kOtherEditor: {
			// Its working copy follows the item once it has handled the
			// notices of the first editor's edits; a write it does not make
			// (no byte to remove) changes nothing and tells no one.
			PlatformTesting::WaitUntilIdle(fSecondWindow);
			const std::string before = ItemBytes();
			fSecondWindow->Lock();
			const uint32 size = fSecondEditor->Size();
			const uint32 at = event.target % (size + 1);
			const bool writes = event.amount > 0 || at < size;
			// For odd targets, copies of the byte there: which bytes moved
			// is then open to more than one reading.
			const std::string inserted =
			    event.target % 2 == 0 || size == 0
			        ? std::string("XYZ", event.amount)
			        : std::string(event.amount, fSecondEditor->Data()[std::min(at, size - 1)]);
			if (event.amount == 0 && writes)
				fSecondEditor->DeleteRange(at, at + 1, "delete", false);
			else if (writes)
				fSecondEditor->Insert(at, inserted.data(), event.amount, "typing", false);
			fSecondWindow->Unlock();
			PlatformTesting::WaitUntilIdle(fSecondWindow);
			fHarness.WaitUntilIdle();
			if (writes && ItemBytes() != before) {
				TakeHostBytes();
				fDiverged = false;
			}
			break;
		}
		case Event::kRetarget: {
			fHarness.Editor()->Retarget(fOther);
			fHarness.WaitUntilIdle();
			fModel.ItemShown("other item");
			fHarness.Editor()->Retarget(fHarness.Item());
			fHarness.WaitUntilIdle();
			fModel.ItemShown(ItemBytes());
			fDiverged = false;
			break;
		}
		}
	}

	std::string Check()
	{
		std::ostringstream problem;
		{
			ViewHarness::WindowLock lock(fHarness);
			HexDumpView* view = View();
			HexDumpFullEditor* editor = fHarness.Editor();
			const uint32 size = editor->Size();
			const std::string copy = size > 0 ? std::string(editor->Data(), size) : "";
			if (!(view->SelectionStart() <= view->SelectionEnd() && view->SelectionEnd() <= size))
				problem << "selection " << view->SelectionStart() << ".." << view->SelectionEnd()
				        << " outside " << size << " bytes; ";
			if (view->SelectionStart() != fModel.selStart ||
			    view->SelectionEnd() != fModel.selEnd || view->Anchor() != fModel.anchor)
				problem << "view selects " << view->SelectionStart() << ".." << view->SelectionEnd()
				        << " anchored at " << view->Anchor() << ", model " << fModel.selStart
				        << ".." << fModel.selEnd << " at " << fModel.anchor << "; ";
			if (view->HexColumnActive() != fModel.hexActive)
				problem << "active column differs; ";
			if (view->LowNibblePending() != fModel.lowNibble)
				problem << "half-typed byte: view " << view->LowNibblePending() << ", model "
				        << fModel.lowNibble << "; ";
			if (view->Tracking() != fModel.tracking)
				problem << "tracking: view " << view->Tracking() << "; ";
			if (view->IsFocus() != fModel.focus)
				problem << "focus: view " << view->IsFocus() << "; ";
			if (copy != fModel.bytes)
				problem << "working copy of " << copy.size() << " bytes differs from the model's "
				        << fModel.bytes.size() << "; ";
		}
		if (!fDiverged && ItemBytes() != fModel.bytes)
			problem << "the host's item differs from the working copy; ";
		if (fCheckPictures) {
			const PlatformTesting::PixelImage shown = fHarness.Snapshot();
			const BRect difference =
			    PlatformTesting::Difference(shown, PlatformTesting::RedrawWhole(fHarness.Window()));
			if (difference.IsValid())
				problem << "the window differs from a full redraw in (" << difference.left << ", "
				        << difference.top << ") to (" << difference.right << ", "
				        << difference.bottom << "); ";
		}
		return problem.str();
	}

	std::string UndoAndRedoEverything()
	{
		Document& document = fHarness.Doc();
		const std::string final = ItemBytes();
		int32 steps = 0;
		for (; document.CanUndo(); steps++)
			if (document.Undo() != B_OK)
				return "an undo failed";
		fHarness.WaitUntilIdle();
		if (ItemBytes() != fOriginal)
			return "undoing every step does not give the original bytes back";
		for (; steps > 0; steps--)
			if (document.Redo() != B_OK)
				return "a redo failed";
		fHarness.WaitUntilIdle();
		if (ItemBytes() != final)
			return "redoing every step does not give the final bytes";
		return "";
	}

	TestClockScope fClock;
	ViewHarness fHarness;
	bool fCheckPictures;
	EditingModel fModel;
	bool fDiverged;
	// Whether the window last saw the pointer over the dump view (presses
	// and releases do not tell it), and whether the button is held.
	bool fPointerInside;
	bool fButtonDown;
	std::string fOriginal;
	BResourceHandle fOther;
	HexDumpFullEditor* fSecondEditor;
	BWindow* fSecondWindow;
};

inline std::string Play(const std::string& bytes, ViewHarness::Face face, bool checkPictures,
                        const Stream& stream)
{
	Run run(bytes, face, checkPictures);
	return run.Play(stream);
}

// Drops events, in chunks and then one at a time, while the stream still
// fails; at most maxRuns replays.
inline Stream Shrink(const std::string& bytes, ViewHarness::Face face, bool checkPictures,
                     Stream stream, int32 maxRuns = 300)
{
	int32 runs = 0;
	for (size_t chunk = stream.size() / 2; chunk >= 1; chunk /= 2) {
		for (size_t at = 0; at + chunk <= stream.size() && runs < maxRuns;) {
			Stream shorter = stream;
			shorter.erase(shorter.begin() + long(at), shorter.begin() + long(at + chunk));
			runs++;
			if (!Play(bytes, face, checkPictures, shorter).empty())
				stream = shorter;
			else
				at += chunk;
		}
	}
	return stream;
}

// How many times fewer random sequences or events a test run plays:
// $HEXDUMP_RANDOM_DIVISOR, which the sanitizer builds set (they run the same
// code several times slower); 1 when unset.
inline int32 RandomDivisor()
{
	const char* value = getenv("HEXDUMP_RANDOM_DIVISOR");
	const int32 divisor = value != NULL ? atoi(value) : 1;
	return divisor > 1 ? divisor : 1;
}

inline std::string Describe(const Stream& stream)
{
	std::string text;
	for (const Event& event : stream)
		text += "  " + event.Describe() + "\n";
	return text;
}

// Plays the seed's stream; on failure, returns the seed, the failure and the
// shrunk stream.
inline std::string PlaySeed(uint32 seed, size_t events, bool checkPictures)
{
	const ViewHarness::Face face = seed % 2 ? ViewHarness::kFreeTypeFace : ViewHarness::kTestFace;
	const std::string bytes = StartBytes(seed);
	const Stream stream = Generate(seed, events);
	const std::string failure = Play(bytes, face, checkPictures, stream);
	if (failure.empty())
		return "";
	const Stream shortest = Shrink(bytes, face, checkPictures, stream);
	return "seed " + std::to_string(seed) + " (" + std::to_string(bytes.size()) +
	       " bytes): " + failure + "\nshortest failing stream (" +
	       Play(bytes, face, checkPictures, shortest) + "):\n" + Describe(shortest);
}

} // namespace RandomEditing

#endif // RANDOM_EDITING_H
