// Text fields, buttons, keyboard navigation and files dropped on a window,
// driven through the window's input messages as the display sends them.
#include <Button.h>
#include <Entry.h>
#include <Path.h>
#include <TextControl.h>
#include <TextView.h>

#include "windows_fixture.h"

#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <sstream>

using PlatformTesting::MakeKeyDown;
using PlatformTesting::MakeMouseDown;
using PlatformTesting::MakeMouseMoved;
using PlatformTesting::MakeMouseUp;

namespace {

const std::string kLeft(1, B_LEFT_ARROW);
const std::string kEnd(1, B_END);
const std::string kBackspace(1, B_BACKSPACE);

// Writes a picture where tests leave them, for a person to look at.
void Keep(const PlatformTesting::PixelImage& image, const char* name)
{
	const char* directory = getenv("HEXDUMP_ARTIFACT_DIR");
	const std::string folder = directory != NULL ? directory : ".";
	mkdir(folder.c_str(), 0777);
	EXPECT_EQ(B_OK, PlatformTesting::WritePNG(image, (folder + "/" + name).c_str()));
}

// A window that records the messages that reach its MessageReceived.
class RecordingWindow : public BWindow
{
public:
	RecordingWindow() : BWindow(BRect(100, 100, 419, 219), "controls", B_TITLED_WINDOW, 0) {}

	virtual void MessageReceived(BMessage* message)
	{
		fReceived.push_back(*message);
		BWindow::MessageReceived(message);
	}

	// The codes received since the last call, with the label of the control
	// that sent each ("" for none).
	std::vector<std::string> Take()
	{
		Lock();
		std::vector<std::string> taken;
		for (const BMessage& message : fReceived) {
			std::string entry;
			for (int32 shift = 24; shift >= 0; shift -= 8)
				entry += char(message.what >> shift);
			void* source = NULL;
			if (message.FindPointer("source", &source) == B_OK)
				entry += std::string(" ") + static_cast<BControl*>(source)->Label();
			taken.push_back(entry);
		}
		fReceived.clear();
		Unlock();
		return taken;
	}

	std::vector<BMessage> fReceived;
};

// A shown RecordingWindow, quit at the end of the scope.
class ControlsWindow
{
public:
	ControlsWindow() : fWindow(new RecordingWindow)
	{
		PlatformTesting::UseTestFace();
		fWindow->Show();
		PlatformTesting::WaitUntilIdle(fWindow);
	}
	~ControlsWindow()
	{
		fWindow->Lock();
		fWindow->Quit();
	}
	ControlsWindow(const ControlsWindow&) = delete;
	ControlsWindow& operator=(const ControlsWindow&) = delete;

	RecordingWindow* operator->() const { return fWindow; }
	RecordingWindow* Get() const { return fWindow; }

	template <typename View> View* Add(View* view)
	{
		fWindow->Lock();
		fWindow->AddChild(view);
		fWindow->Unlock();
		PlatformTesting::WaitUntilIdle(fWindow);
		return view;
	}
	void Post(const BMessage& message) { PlatformTesting::PostAndWait(fWindow, message); }
	void Key(const char* bytes, int32 modifiers = 0) { Post(MakeKeyDown(bytes, modifiers)); }
	void Click(BPoint where)
	{
		Post(MakeMouseDown(where));
		Post(MakeMouseUp(where));
	}
	BView* Focus()
	{
		fWindow->Lock();
		BView* focus = fWindow->CurrentFocus();
		fWindow->Unlock();
		return focus;
	}

private:
	RecordingWindow* fWindow;
};

// #pragma mark - Typing, caret and selection against a model

// One step of a random stream: an intent resolved against the state when
// it runs, so that any part of a stream is a valid stream.
struct Step
{
	enum Kind
	{
		kType,
		kKey,
		kPress,
		kDrag,
		kRelease,
		kSelectAll
	};
	Kind kind;
	std::string bytes; // kType: a character; kKey: a key's byte
	bool shift;
	uint32 target; // mouse: a character boundary, modulo the text's length + 1

	std::string Describe() const
	{
		static const char* const kKinds[] = {"type", "key", "press", "drag", "release", "all"};
		std::ostringstream text;
		text << kKinds[kind];
		if (kind == kType)
			text << " '" << bytes << "'";
		else if (kind == kKey)
			text << " 0x" << std::hex << int(uint8(bytes[0])) << std::dec;
		else if (kind != kSelectAll)
			text << " " << target;
		return text.str() + (shift ? " shift" : "");
	}
};

typedef std::vector<Step> Stream;

Stream Generate(uint32 seed, size_t count)
{
	std::mt19937 random(seed);
	auto pick = [&](uint32 limit) { return uint32(random() % limit); };
	// One, two, three and four bytes of UTF-8.
	static const char* const kCharacters[] = {
	    "a", "Z", " ", "\xc3\xa9", "\xe2\x82\xac", "\xf0\x9f\x98\x80"};
	static const char kKeys[] = {B_LEFT_ARROW, B_RIGHT_ARROW, B_HOME,   B_END,
	                             B_BACKSPACE,  B_DELETE,      B_ESCAPE, B_UP_ARROW};
	Stream stream;
	for (size_t i = 0; i < count; i++) {
		Step step{Step::kType, "", pick(3) == 0, pick(12)};
		const uint32 roll = pick(100);
		if (roll < 40) {
			step.bytes = kCharacters[pick(6)];
		} else if (roll < 75) {
			step.kind = Step::kKey;
			step.bytes = std::string(1, kKeys[pick(sizeof(kKeys))]);
		} else if (roll < 97) {
			step.kind = Step::Kind(Step::kPress + pick(3));
		} else {
			step.kind = Step::kSelectAll;
		}
		stream.push_back(step);
	}
	return stream;
}

// The field as a list of characters, a caret and an anchor (character
// indices), with the same rules the field's documentation gives.
struct FieldModel
{
	static const int32 kMaxBytes = 24;

	std::vector<std::string> characters;
	int32 anchor = 0;
	int32 caret = 0;
	bool tracking = false;

	int32 Start() const { return std::min(anchor, caret); }
	int32 End() const { return std::max(anchor, caret); }
	int32 Count() const { return int32(characters.size()); }
	std::string Text(int32 from = 0, int32 to = -1) const
	{
		std::string text;
		for (int32 i = from; i < (to < 0 ? Count() : to); i++)
			text += characters[i];
		return text;
	}
	int32 ByteOffset(int32 index) const { return int32(Text(0, index).size()); }
	void Erase(int32 from, int32 to)
	{
		characters.erase(characters.begin() + from, characters.begin() + to);
		anchor = caret = from;
	}
	void MoveCaret(int32 to, bool extend)
	{
		caret = std::clamp(to, int32(0), Count());
		if (!extend)
			anchor = caret;
	}

	void Apply(const Step& step)
	{
		const int32 target = int32(step.target % uint32(Count() + 1));
		switch (step.kind) {
		case Step::kType: {
			const int32 removed = int32(Text(Start(), End()).size());
			if (int32(Text().size()) - removed + int32(step.bytes.size()) > kMaxBytes)
				return;
			Erase(Start(), End());
			characters.insert(characters.begin() + caret, step.bytes);
			anchor = ++caret;
			break;
		}
		case Step::kKey:
			switch (step.bytes[0]) {
			case B_LEFT_ARROW:
				MoveCaret(Start() != End() && !step.shift ? Start() : caret - 1, step.shift);
				break;
			case B_RIGHT_ARROW:
				MoveCaret(Start() != End() && !step.shift ? End() : caret + 1, step.shift);
				break;
			case B_HOME:
				MoveCaret(0, step.shift);
				break;
			case B_END:
				MoveCaret(Count(), step.shift);
				break;
			case B_BACKSPACE:
				if (Start() != End())
					Erase(Start(), End());
				else if (caret > 0)
					Erase(caret - 1, caret);
				break;
			case B_DELETE:
				if (Start() != End())
					Erase(Start(), End());
				else if (caret < Count())
					Erase(caret, caret + 1);
				break;
			}
			break;
		case Step::kPress:
			MoveCaret(target, step.shift);
			tracking = true;
			break;
		case Step::kDrag:
			if (tracking)
				MoveCaret(target, true);
			break;
		case Step::kRelease:
			if (tracking)
				MoveCaret(target, true);
			tracking = false;
			break;
		case Step::kSelectAll:
			anchor = 0;
			caret = Count();
			break;
		}
	}
};

// Runs the stream on a field in a window; "" when the field agrees with the
// model after every step and the window with a full redraw, else what went
// wrong first.
std::string RunStream(const Stream& stream)
{
	ControlsWindow window;
	const BRect textRect(3, 2, 296, 14);
	BTextView* field = window.Add(
	    new BTextView(BRect(10, 10, 309, 26), "field", textRect, B_FOLLOW_LEFT | B_FOLLOW_TOP));
	window->Lock();
	field->SetMaxBytes(FieldModel::kMaxBytes);
	field->MakeFocus(true);
	window->Unlock();

	FieldModel model;
	for (size_t i = 0; i < stream.size(); i++) {
		const Step& step = stream[i];
		const int32 modifiers = step.shift ? B_SHIFT_KEY : 0;
		// The test face advances 7 pixels a character; 2 pixels right of a
		// boundary is nearest to it. The field never scrolls: 24 bytes
		// are at most 24 characters, 168 pixels.
		const int32 target = int32(step.target % uint32(model.Count() + 1));
		const BPoint where(10 + textRect.left + 7 * target + 2, 18);
		switch (step.kind) {
		case Step::kType:
			window.Key(step.bytes.c_str(), modifiers);
			break;
		case Step::kKey:
			window.Key(step.bytes.c_str(), modifiers);
			break;
		case Step::kPress:
			window.Post(MakeMouseDown(where, B_PRIMARY_MOUSE_BUTTON, modifiers));
			break;
		case Step::kDrag:
			window.Post(MakeMouseMoved(where, model.tracking ? B_PRIMARY_MOUSE_BUTTON : 0));
			break;
		case Step::kRelease:
			window.Post(MakeMouseUp(where));
			break;
		case Step::kSelectAll:
			window.Key("a", B_COMMAND_KEY);
			break;
		}
		model.Apply(step);

		std::ostringstream problem;
		window->Lock();
		int32 start;
		int32 end;
		field->GetSelection(&start, &end);
		if (field->Text() != model.Text())
			problem << "text '" << field->Text() << "', model '" << model.Text() << "'; ";
		if (field->TextLength() != int32(model.Text().size()))
			problem << "length " << field->TextLength() << "; ";
		if (start != model.ByteOffset(model.Start()) || end != model.ByteOffset(model.End()))
			problem << "selection " << start << ".." << end << ", model "
			        << model.ByteOffset(model.Start()) << ".." << model.ByteOffset(model.End())
			        << "; ";
		window->Unlock();
		const PlatformTesting::PixelImage shown = PlatformTesting::Snapshot(window.Get());
		if (PlatformTesting::Difference(shown, PlatformTesting::RedrawWhole(window.Get()))
		        .IsValid())
			problem << "the window differs from a full redraw; ";
		if (!problem.str().empty())
			return "after step " + std::to_string(i) + ": " + problem.str();
	}
	return "";
}

TEST(TextViewTest, RandomTypingCaretAndSelectionFollowTheModel)
{
	// No pulse comes by itself: the caret blinks only when a test says so,
	// and a picture and its full redraw show the same phase.
	PlatformTesting::SetTestClock(system_time());
	for (uint32 seed = 1; seed <= 12; seed++) {
		Stream stream = Generate(seed, 60);
		std::string failure = RunStream(stream);
		if (failure.empty())
			continue;
		// Shrink: drop steps while the stream still fails.
		for (size_t i = 0; i < stream.size();) {
			Stream shorter = stream;
			shorter.erase(shorter.begin() + long(i));
			std::string shorterFailure = RunStream(shorter);
			if (!shorterFailure.empty()) {
				stream = shorter;
				failure = shorterFailure;
			} else {
				i++;
			}
		}
		std::string steps;
		for (const Step& step : stream)
			steps += "\n  " + step.Describe();
		ADD_FAILURE() << "seed " << seed << ": " << failure << "\nshortest stream:" << steps;
		break;
	}
	PlatformTesting::UseRealClock();
}

// #pragma mark - Pictures

const rgb_color kHighlight = tint_color(kWhite, B_HIGHLIGHT_BACKGROUND_TINT);

// Whether column x of the field's line holds the caret (every pixel of the
// line's height black) in the window's picture.
bool CaretAt(const PlatformTesting::PixelImage& image, int32 x, int32 top, int32 height)
{
	for (int32 y = top; y < top + height; y++) {
		const rgb_color pixel = image.At(x, y);
		if (pixel.red != 0 || pixel.green != 0 || pixel.blue != 0)
			return false;
	}
	return true;
}

TEST(TextControlPictureTest, CaretBlinksAndSelectionIsHighlighted)
{
	PlatformTesting::SetTestClock(system_time());
	ControlsWindow window;
	BTextControl* control =
	    window.Add(new BTextControl(BRect(10, 10, 209, 30), "name", "Name:", "abcdef", NULL));
	window->Lock();
	control->MakeFocus(true);
	const BRect field = control->TextView()->Frame().OffsetByCopy(10, 10);
	const BRect text = control->TextView()->TextRect().OffsetByCopy(field.LeftTop());
	window->Unlock();
	PlatformTesting::WaitUntilIdle(window.Get());
	const int32 top = int32(text.top);
	const int32 caretX = int32(text.left) + 6 * 7; // after "abcdef"

	PlatformTesting::PixelImage image = PlatformTesting::Snapshot(window.Get());
	EXPECT_TRUE(CaretAt(image, caretX, top, 13)) << "the caret after the text";
	EXPECT_FALSE(CaretAt(image, caretX + 1, top, 13));
	// The field's frame shows the focus.
	EXPECT_COLOR(image.At(int32(field.left) - 1, int32(field.top) + 5),
	             (rgb_color{0, 0, 229, 255}));
	Keep(image, "text-control-caret.png");

	// One pulse hides the caret, the next shows it again.
	PlatformTesting::AdvanceTestClock(window->PulseRate());
	EXPECT_FALSE(CaretAt(PlatformTesting::Snapshot(window.Get()), caretX, top, 13));
	PlatformTesting::AdvanceTestClock(window->PulseRate());
	EXPECT_TRUE(CaretAt(PlatformTesting::Snapshot(window.Get()), caretX, top, 13));

	// Shift+Left twice selects "ef": its background is highlighted and no
	// caret is drawn.
	window.Key(kLeft.c_str(), B_SHIFT_KEY);
	window.Key(kLeft.c_str(), B_SHIFT_KEY);
	image = PlatformTesting::Snapshot(window.Get());
	Keep(image, "text-control-selection.png");
	EXPECT_COLOR(image.At(int32(text.left) + 4 * 7, top + 12), kHighlight);
	EXPECT_COLOR(image.At(int32(text.left) + 6 * 7 - 1, top + 12), kHighlight);
	EXPECT_COLOR(image.At(int32(text.left) + 4 * 7 - 1, top + 12), kWhite);
	EXPECT_COLOR(image.At(int32(text.left) + 6 * 7, top + 12), kWhite);
	EXPECT_FALSE(CaretAt(image, caretX, top, 13));

	// Typing past the field's width scrolls the line: the caret stays at
	// its right end, inside the field.
	window.Key(kEnd.c_str());
	for (int32 i = 0; i < 30; i++)
		window.Key("x");
	image = PlatformTesting::Snapshot(window.Get());
	EXPECT_TRUE(CaretAt(image, int32(text.right), top, 13));
	EXPECT_COLOR(image.At(int32(field.right) + 2, top + 5), kWhite) << "nothing outside";
	PlatformTesting::UseRealClock();
}

// #pragma mark - Buttons, Enter and navigation

TEST(ButtonTest, ClickSpaceEnterAndTheDefaultButton)
{
	ControlsWindow window;
	BButton* ok = window.Add(new BButton(BRect(10, 10, 89, 34), "ok", "OK", new BMessage('okay')));
	BButton* cancel =
	    window.Add(new BButton(BRect(100, 10, 179, 34), "cancel", "Cancel", new BMessage('cncl')));
	BTextControl* name = window.Add(
	    new BTextControl(BRect(10, 50, 209, 70), "name", "Name:", "", new BMessage('name')));

	// A release inside invokes, one outside does not; the value shows the
	// press meanwhile.
	window.Post(MakeMouseDown(BPoint(20, 20)));
	window->Lock();
	EXPECT_EQ(B_CONTROL_ON, ok->Value());
	window->Unlock();
	window.Post(MakeMouseMoved(BPoint(300, 100), B_PRIMARY_MOUSE_BUTTON));
	window->Lock();
	EXPECT_EQ(B_CONTROL_OFF, ok->Value());
	window->Unlock();
	window.Post(MakeMouseUp(BPoint(300, 100)));
	EXPECT_TRUE(window->Take().empty());
	window.Click(BPoint(120, 20));
	EXPECT_EQ(std::vector<std::string>{"cncl Cancel"}, window->Take());

	// Space and Enter invoke the focused button.
	window->Lock();
	cancel->MakeFocus(true);
	window->Unlock();
	window.Key(" ");
	window.Key("\n");
	EXPECT_EQ((std::vector<std::string>{"cncl Cancel", "cncl Cancel"}), window->Take());

	// Without a default button, Enter in a field invokes the field.
	window->Lock();
	name->MakeFocus(true);
	window->Unlock();
	window.Key("x");
	window.Key("\n");
	EXPECT_EQ(std::vector<std::string>{"name Name:"}, window->Take());

	// The default button takes Enter from the field, as long as it is enabled.
	window->Lock();
	ok->MakeDefault(true);
	EXPECT_EQ(ok, window->DefaultButton());
	window->Unlock();
	window.Key("\n");
	EXPECT_EQ(std::vector<std::string>{"okay OK"}, window->Take());
	window->Lock();
	window->SetDefaultButton(cancel);
	EXPECT_FALSE(ok->IsDefault());
	EXPECT_TRUE(cancel->IsDefault());
	window->Unlock();
	window.Key("\n");
	EXPECT_EQ(std::vector<std::string>{"cncl Cancel"}, window->Take());
	window->Lock();
	cancel->SetEnabled(false);
	window->Unlock();
	window.Key("\n");
	window.Click(BPoint(120, 20));
	EXPECT_EQ(std::vector<std::string>{"name Name:"}, window->Take());

	// A removed default button is no longer the window's.
	window->Lock();
	cancel->RemoveSelf();
	EXPECT_EQ(NULL, window->DefaultButton());
	window->Unlock();
	delete cancel;
}

TEST(TextControlTest, ModificationMessagesAndTabNavigation)
{
	ControlsWindow window;
	BTextControl* type = window.Add(
	    new BTextControl(BRect(10, 10, 209, 30), "type", "Type:", "RAWT", new BMessage('type')));
	BButton* disabled =
	    window.Add(new BButton(BRect(10, 40, 89, 64), "off", "Off", new BMessage('off ')));
	BTextControl* id = window.Add(new BTextControl(BRect(10, 70, 209, 90), "id", "ID:", "1", NULL));
	BButton* ok =
	    window.Add(new BButton(BRect(220, 70, 299, 94), "ok", "OK", new BMessage('okay')));
	window->Lock();
	disabled->SetEnabled(false);
	id->SetModificationMessage(new BMessage('modf'));
	id->SetText("12");
	window->Unlock();
	EXPECT_TRUE(window->Take().empty()) << "SetText sends no modification message";

	// Tab from no focus enters the first field and selects its text;
	// disabled controls are passed over; Shift+Tab goes back.
	window.Key("\t");
	EXPECT_EQ(type->TextView(), window.Focus());
	window.Key("\t");
	EXPECT_EQ(id->TextView(), window.Focus());
	window->Lock();
	int32 start;
	int32 end;
	id->TextView()->GetSelection(&start, &end);
	window->Unlock();
	EXPECT_EQ(0, start);
	EXPECT_EQ(2, end);
	window.Key("\t");
	EXPECT_EQ(ok, window.Focus());
	window.Key("\t");
	EXPECT_EQ(type->TextView(), window.Focus());
	window.Key("\t", B_SHIFT_KEY);
	EXPECT_EQ(ok, window.Focus());
	window.Key("\t", B_SHIFT_KEY);

	// Typing over the selection: one modification message a change.
	window.Key("7");
	window.Key(kBackspace.c_str());
	window.Key("9");
	window->Lock();
	EXPECT_STREQ("9", id->Text());
	window->Unlock();
	EXPECT_EQ((std::vector<std::string>{"modf ID:", "modf ID:", "modf ID:", "modf ID:"}),
	          window->Take())
	    << "replacing the selection removes, then inserts";

	// A click on the label gives the field the focus.
	window.Click(BPoint(12, 20));
	EXPECT_EQ(type->TextView(), window.Focus());
}

// #pragma mark - Files dropped on a window

// Records drops as "x,y path path..." (the point in the view's coordinates).
class DropView : public BView
{
public:
	DropView(BRect frame) : BView(frame, "drop", B_FOLLOW_NONE, B_WILL_DRAW) {}

	virtual void MessageReceived(BMessage* message)
	{
		if (message->what != B_SIMPLE_DATA || !message->WasDropped()) {
			BView::MessageReceived(message);
			return;
		}
		const BPoint where = ConvertFromScreen(message->DropPoint());
		std::string entry = std::to_string(int(where.x)) + "," + std::to_string(int(where.y));
		entry_ref ref;
		for (int32 i = 0; message->FindRef("refs", i, &ref) == B_OK; i++) {
			BPath path(&ref);
			entry += " " + std::string(path.InitCheck() == B_OK ? path.Path() : "?");
		}
		fDrops.push_back(entry);
	}

	std::vector<std::string> fDrops;
};

// A temporary directory, removed with what it holds at the end.
struct TemporaryDirectory
{
	TemporaryDirectory()
	{
		char pattern[] = "/tmp/controls-test-XXXXXX";
		path = mkdtemp(pattern);
	}
	~TemporaryDirectory() { EXPECT_EQ(0, system(("rm -rf " + path).c_str())); }
	std::string path;
};

TEST(FileDropTest, DeliveredToTheViewUnderThePointWithRefsThatNameThePaths)
{
	TemporaryDirectory directory;
	const std::string file = directory.path + "/data.bin";
	fclose(fopen(file.c_str(), "w"));
	ASSERT_EQ(0, mkdir((directory.path + "/sub").c_str(), 0700));

	ControlsWindow window;
	DropView* view = window.Add(new DropView(BRect(50, 20, 149, 79)));
	ASSERT_EQ(B_OK, PlatformTesting::DropFiles(window.Get(), BPoint(60, 25),
	                                           {file, directory.path + "/sub/", "/"}));
	window->Lock();
	EXPECT_EQ(std::vector<std::string>{"10,5 " + file + " " + directory.path + "/sub /"},
	          view->fDrops);
	window->Unlock();
	EXPECT_TRUE(window->Take().empty());

	// Outside the view the drop goes up from the top view to the window.
	ASSERT_EQ(B_OK, PlatformTesting::DropFiles(window.Get(), BPoint(5, 5), {file}));
	window->Lock();
	std::vector<BMessage> received = window->fReceived;
	window->Unlock();
	ASSERT_EQ(1u, window->Take().size());
	EXPECT_TRUE(received[0].WasDropped());
	EXPECT_EQ(BPoint(105, 105), received[0].DropPoint());

	// A drop with a path in no directory is refused whole.
	EXPECT_EQ(B_ENTRY_NOT_FOUND, PlatformTesting::DropFiles(window.Get(), BPoint(60, 25),
	                                                        {file, directory.path + "/no/x"}));
	EXPECT_EQ(B_NOT_A_DIRECTORY,
	          PlatformTesting::DropFiles(window.Get(), BPoint(60, 25), {file + "/x"}));
	window->Lock();
	EXPECT_EQ(1u, view->fDrops.size());
	window->Unlock();
}

TEST(FileDropTest, RefsAndPaths)
{
	TemporaryDirectory directory;
	entry_ref ref;
	// Relative paths, "." and ".." resolve; the leaf need not exist.
	char* cwd = getcwd(NULL, 0);
	ASSERT_EQ(0, chdir(directory.path.c_str()));
	EXPECT_EQ(B_OK, get_ref_for_path("new name", &ref));
	EXPECT_STREQ("new name", ref.name);
	EXPECT_STREQ((directory.path + "/new name").c_str(), BPath(&ref).Path());
	EXPECT_STREQ("new name", BPath(&ref).Leaf());
	EXPECT_EQ(B_OK, get_ref_for_path(".", &ref));
	EXPECT_STREQ(directory.path.c_str(), BPath(&ref).Path());
	ASSERT_EQ(0, chdir(cwd));
	free(cwd);

	EXPECT_EQ(B_BAD_VALUE, get_ref_for_path(NULL, &ref));
	EXPECT_EQ(B_ENTRY_NOT_FOUND, get_ref_for_path("", &ref));
	EXPECT_EQ(B_NAME_TOO_LONG,
	          get_ref_for_path((directory.path + "/" + std::string(300, 'n')).c_str(), &ref));

	// A ref travels in a message and compares equal.
	ASSERT_EQ(B_OK, get_ref_for_path((directory.path + "/x").c_str(), &ref));
	BMessage message(B_SIMPLE_DATA);
	EXPECT_EQ(B_OK, message.AddRef("refs", &ref));
	EXPECT_FALSE(message.WasDropped());
	entry_ref found;
	EXPECT_EQ(B_OK, message.FindRef("refs", &found));
	EXPECT_TRUE(found == ref);
	EXPECT_EQ(B_BAD_INDEX, message.FindRef("refs", 1, &found));
	const char* string;
	EXPECT_EQ(B_BAD_TYPE, message.FindString("refs", &string));

	// Unknown directories and moved ones give errors, not wrong paths.
	BPath path;
	EXPECT_EQ(B_NO_INIT, path.InitCheck());
	EXPECT_EQ(NULL, path.Path());
	entry_ref unknown(ref.device, ino_t(-5), "x");
	EXPECT_EQ(B_ENTRY_NOT_FOUND, BPath(&unknown).InitCheck());
	EXPECT_EQ(B_BAD_VALUE, BPath(static_cast<const entry_ref*>(NULL)).InitCheck());
	ASSERT_EQ(0, mkdir((directory.path + "/a").c_str(), 0700));
	ASSERT_EQ(B_OK, get_ref_for_path((directory.path + "/a/f").c_str(), &ref));
	ASSERT_EQ(0, rename((directory.path + "/a").c_str(), (directory.path + "/b").c_str()));
	EXPECT_EQ(B_ENTRY_NOT_FOUND, BPath(&ref).InitCheck());
}

} // namespace
