// hexdump_bench: what a key press, a redraw, an undo and opening a file cost,
// each next to its floor measured in the same run, and the ratios between
// them. Every figure is the median of 11 repetitions; in each, a key press or
// a window redraw is the median of batches of 9. All threads run on one
// core. The window is an 800 x 600 headless one drawing with the FreeType
// face (DejaVu Sans Mono, 12 px); key presses are timed from posting the key
// to the window being idle. A key with two host windows open measures what
// the host adds per item.

#include <benchmark/benchmark.h>

#include <InterfaceDefs.h>

#include <PlatformTesting.h>

#include <fcntl.h>
#include <sched.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "FontFace.h"
#include "MedianReport.h"
#include "Document.h"
#include "HostWindow.h"
#include "PixelBuffer.h"
#include "Session.h"
#include "ViewHarness.h"
#include "WindowGroup.h"

namespace {

// Repetitions of every figure, in one shuffled order: the machine's speed
// changes for minutes at a time as other machines load its host, and the
// median of 11 leaves a figure unmoved by up to five repetitions taken in a
// slow stretch.
const int kRepetitions = 11;
// A press figure is the median of a batch of presses, so that a press the
// machine's scheduler delayed (a thread woken late) moves it no more than a
// fast one does; each repetition times four batches.
const int kPressBatch = 9;
const int kBatchIterations = 4;
const float kFontSize = 12;
const uint32 kSizes[] = {4 << 10, 64 << 10, 1 << 20, 8 << 20, 16 << 20};
const uint32 kOpenSizes[] = {1 << 20, 8 << 20, 16 << 20};

std::string SizeName(uint32 size)
{
	return size >= (1 << 20) ? std::to_string(size >> 20) + "MiB"
	                         : std::to_string(size >> 10) + "KiB";
}

// Bytes of every value, so both columns show full lines of varied glyphs.
std::string Pattern(size_t size)
{
	std::string bytes(size, '\0');
	for (size_t i = 0; i < size; i++)
		bytes[i] = char(i * 7 + i / 256);
	return bytes;
}

template <typename Work> double Seconds(Work work)
{
	const auto start = std::chrono::steady_clock::now();
	work();
	return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs press kPressBatch times (it returns the seconds of what it timed) and
// gives the iteration the median of them.
template <typename Press> void TimeBatch(benchmark::State& state, Press press)
{
	double seconds[kPressBatch];
	for (double& each : seconds)
		each = press();
	std::nth_element(seconds, seconds + kPressBatch / 2, seconds + kPressBatch);
	state.SetIterationTime(seconds[kPressBatch / 2]);
}

// One window at a time, kept while the benchmarks of one item size and
// purpose run: building a window around a 16 MiB item costs more than the
// keys measured in it.
std::unique_ptr<ViewHarness> sHarness;
std::string sHarnessKey;
int sHarnessBuilds = 0;

ViewHarness& HarnessFor(uint32 size, const std::string& purpose = "keys")
{
	const std::string key = purpose + "/" + std::to_string(size);
	if (sHarness == NULL || sHarnessKey != key) {
		sHarness.reset();
		sHarness = std::make_unique<ViewHarness>(Pattern(size), ViewHarness::kFreeTypeFace);
		sHarness->Focus();
		sHarnessKey = key;
		sHarnessBuilds++;
		// A few untimed presses first, in both columns, so that the first
		// figures of a window do not carry the first fills of caches and
		// allocations.
		for (int i = 0; i < 10; i++) {
			sHarness->Key("x");
			sHarness->Key("\b");
		}
		sHarness->PressHexColumn(0);
		for (int i = 0; i < 10; i++) {
			sHarness->Key("5");
			sHarness->Key("5");
			sHarness->Key("\b");
		}
	}
	return *sHarness;
}

void Key(ViewHarness& harness, char code, int32 modifiers = 0)
{
	const char bytes[2] = {code, '\0'};
	harness.Key(bytes, modifiers);
}

// Puts the cursor in front of offset in one column, on screen.
void PlaceCursor(ViewHarness& harness, uint32 offset, bool hexColumn)
{
	{
		ViewHarness::WindowLock lock(harness);
		harness.View()->Select(offset, offset);
		harness.View()->ScrollToOffset(offset);
	}
	harness.WaitUntilIdle();
	if (hexColumn)
		harness.PressHexColumn(offset);
	else
		harness.PressAsciiColumn(offset);
}

// --- Key presses -------------------------------------------------------------

// A byte typed in the hex column takes two digits: the first inserts a byte
// (the tails move), the second replaces it (nothing moves). Each is timed on
// its own.
enum KeyClass
{
	kFirstDigit,
	kSecondDigit,
	kCharacter,
	kBackspace,
	kDelete,
	kRight,
	kShiftDown
};

const char* const kKeyNames[] = {"hex1",   "hex2",  "char",     "backspace",
                                 "delete", "right", "shiftdown"};

// Whether a key moves the bytes after it: its floor at a size then holds two
// tail moves.
bool MovesTail(KeyClass key)
{
	return key == kFirstDigit || key == kCharacter || key == kBackspace || key == kDelete;
}

std::string KeyName(KeyClass key, uint32 size, bool middle)
{
	return std::string("key/") + kKeyNames[key] + "/" + SizeName(size) + (middle ? "/mid" : "/0");
}

// The large items whose keys are set against a small item's key timed after
// tail moves as long as theirs.
const uint32 kTailMoveSizes[] = {8 << 20, 16 << 20};

// The 4 KiB key timed after the tail moves that the same key at that place
// of an item of size makes.
std::string AfterTailMovesName(KeyClass key, uint32 size, bool middle)
{
	return KeyName(key, 4 << 10, middle) + "/after_tail_moves_of_" + SizeName(size);
}

// Each press times one key and then, untimed, puts the cursor and the item
// back where they were, so every press measures the same thing.
//
// With tailMoves, two buffers of that many bytes elsewhere are moved up by a
// byte before each press: the caches are then as a key in a large item
// leaves them, after its own tail moves, for the rest of its work. The moves
// are timed apart (the counter tail_moves_ms, the median of all presses):
// tail moves made once a key, between redraws, not in a loop that keeps the
// buffers in the caches.
void BM_Key(benchmark::State& state, KeyClass key, uint32 size, bool middle, uint32 tailMoves)
{
	ViewHarness& harness = HarnessFor(size);
	const uint32 offset = middle ? size / 2 : 0;
	const bool hexColumn = key == kFirstDigit || key == kSecondDigit;
	PlaceCursor(harness, key == kBackspace ? offset + 1 : offset, hexColumn);
	std::vector<char> otherItem(tailMoves + 1, 'a'), otherCopy(tailMoves + 1, 'b');
	std::vector<double> tailMoveSeconds;
	auto press = [&]() -> double {
		if (tailMoves > 0) {
			tailMoveSeconds.push_back(Seconds([&] {
				memmove(otherItem.data() + 1, otherItem.data(), tailMoves);
				memmove(otherCopy.data() + 1, otherCopy.data(), tailMoves);
				benchmark::ClobberMemory();
			}));
		}
		double seconds = 0;
		switch (key) {
		case kFirstDigit:
			// The byte is completed, untimed, and the cursor goes back in
			// front of it.
			seconds = Seconds([&] { Key(harness, '5'); });
			Key(harness, '5');
			Key(harness, B_LEFT_ARROW);
			break;
		case kSecondDigit:
			Key(harness, '5');
			seconds = Seconds([&] { Key(harness, '5'); });
			Key(harness, B_LEFT_ARROW);
			break;
		case kCharacter:
			seconds = Seconds([&] { Key(harness, 'x'); });
			Key(harness, B_LEFT_ARROW);
			break;
		case kBackspace:
			seconds = Seconds([&] { Key(harness, B_BACKSPACE); });
			Key(harness, 'x');
			break;
		case kDelete:
			seconds = Seconds([&] { Key(harness, B_DELETE); });
			Key(harness, 'x');
			Key(harness, B_LEFT_ARROW);
			break;
		case kRight:
			seconds = Seconds([&] { Key(harness, B_RIGHT_ARROW); });
			Key(harness, B_LEFT_ARROW);
			break;
		case kShiftDown:
			seconds = Seconds([&] { Key(harness, B_DOWN_ARROW, B_SHIFT_KEY); });
			Key(harness, B_LEFT_ARROW);
			break;
		}
		return seconds;
	};
	for (auto _ : state)
		TimeBatch(state, press);
	if (!tailMoveSeconds.empty()) {
		std::nth_element(tailMoveSeconds.begin(),
		                 tailMoveSeconds.begin() + ptrdiff_t(tailMoveSeconds.size() / 2),
		                 tailMoveSeconds.end());
		state.counters["tail_moves_ms"] = tailMoveSeconds[tailMoveSeconds.size() / 2] * 1e3;
	}
}

// --- Floors ------------------------------------------------------------------

// What any insertion or deletion must do at least: move the tail of the
// working copy and of the host's item, two buffers of the item's size.
void BM_TwoMemmoves(benchmark::State& state, uint32 size, bool middle)
{
	const std::string pattern = Pattern(size + 1);
	std::vector<char> workingCopy(pattern.begin(), pattern.end());
	std::vector<char> item(pattern.begin(), pattern.end());
	const uint32 offset = middle ? size / 2 : 0;
	const size_t tail = size - offset;
	bool up = true;
	for (auto _ : state) {
		// Up one byte, then back down on the next run: both directions.
		const size_t from = up ? offset : offset + 1;
		const size_t to = up ? offset + 1 : offset;
		memmove(workingCopy.data() + to, workingCopy.data() + from, tail);
		memmove(item.data() + to, item.data() + from, tail);
		up = !up;
		benchmark::ClobberMemory();
	}
}

// One glyph as the face's cache gives it: a coverage image placed relative
// to the pen, its rows padded with zeros to the pitch.
struct CapturedGlyph
{
	int32 left = 0, top = 0, width = 0, rows = 0, pitch = 0;
	std::vector<uint8> coverage;
};

CapturedGlyph Capture(char character)
{
	CapturedGlyph glyph;
	CurrentFontFace().Render(
	    &character, 1, kFontSize, BPoint(0, 0), [&](const GlyphImage* images, int32) {
		    const GlyphImage& image = images[0];
		    glyph.left = image.left;
		    glyph.top = image.top;
		    glyph.width = image.width;
		    glyph.rows = image.rows;
		    glyph.pitch = image.pitch;
		    glyph.coverage.assign(image.coverage, image.coverage + image.pitch * image.rows);
	    });
	return glyph;
}

// The least a full-window redraw must do: clear 800 x 600 pixels and blit
// the same 40 lines of 64 characters from cached glyph images, each covered
// pixel looked up in one table of blends, eight pixels of a row at a time
// (the fastest blit known here). The per-line floor of a key press is this
// divided by the lines on screen.
//
// byLines: the least a redraw through a line buffer must do, as a key that
// changes every line draws them: each line's buffer cleared, its glyphs
// blitted into it and the buffer copied onto the window's pixels.
void BM_DrawFloor(benchmark::State& state, bool byLines)
{
	PlatformTesting::UseFreeTypeFace();
	const int32 width = 800, height = 600, lines = 40;
	const float advance = CurrentFontFace().StringWidth("0", 1, kFontSize);
	const std::string pattern = Pattern(16 * lines);
	std::vector<CapturedGlyph> glyphs(256);
	std::vector<bool> captured(256, false);
	std::vector<std::string> texts;
	for (int32 line = 0; line < lines; line++) {
		char text[80];
		int32 length = snprintf(text, sizeof(text), "%08X", line * 16);
		for (int32 i = 0; i < 16; i++) {
			length += snprintf(text + length, sizeof(text) - length, "%02X%s",
			                   uint8(pattern[line * 16 + i]), i % 2 == 1 ? " " : "");
		}
		for (int32 i = 0; i < 16; i++) {
			const uint8 byte = uint8(pattern[line * 16 + i]);
			text[length++] = byte >= 0x20 && byte < 0x7f ? char(byte) : '.';
		}
		texts.push_back(std::string(text, length));
		for (char c : texts.back()) {
			if (!captured[uint8(c)]) {
				glyphs[uint8(c)] = Capture(c);
				captured[uint8(c)] = true;
			}
		}
	}
	// Black text on white: coverage a gives the grey 255 - a.
	uint32 blend[256];
	for (uint32 a = 0; a < 256; a++)
		blend[a] = (255 - a) * 0x010101 | 0xff000000;
	const int32 lineHeight = 15;
	PixelBuffer window(width, height);
	PixelBuffer lineBuffer(width, lineHeight);
	auto clear = [](PixelBuffer& buffer) {
		for (int32 y = 0; y < buffer.Height(); y++)
			std::fill(buffer.Row(y), buffer.Row(y) + buffer.Width(), 0xffffffff);
	};
	// The line's glyphs onto into, its baseline at baseline.
	auto blitLine = [&](PixelBuffer& into, int32 line, int32 baseline) {
		int32 penX = 3;
		for (char c : texts[line]) {
			const CapturedGlyph& glyph = glyphs[uint8(c)];
			const ptrdiff_t stride = into.Width();
			uint32* row = into.Row(baseline + glyph.top) + penX + glyph.left;
			for (int32 y = 0; y < glyph.rows; y++, row += stride) {
				const uint8* coverage = glyph.coverage.data() + y * glyph.pitch;
				for (int32 chunk = 0; chunk < glyph.pitch; chunk += kGlyphPitchStep) {
#pragma GCC unroll 8
					for (int32 x = chunk; x < chunk + kGlyphPitchStep; x++) {
						if (coverage[x] != 0)
							row[x] = blend[coverage[x]];
					}
				}
			}
			penX += int32(advance);
		}
	};
	for (auto _ : state) {
		if (byLines) {
			for (int32 line = 0; line < lines; line++) {
				clear(lineBuffer);
				blitLine(lineBuffer, line, 12);
				for (int32 y = 0; y < lineHeight; y++)
					memcpy(window.Row(line * lineHeight + y), lineBuffer.Row(y),
					       size_t(width) * sizeof(uint32));
			}
		} else {
			clear(window);
			for (int32 line = 0; line < lines; line++)
				blitLine(window, line, 12 + line * lineHeight);
		}
		benchmark::DoNotOptimize(window.Row(0));
		benchmark::ClobberMemory();
	}
}

// --- Drawing, blink, editor primitives, undo ---------------------------------

void BM_FullDraw(benchmark::State& state)
{
	ViewHarness& harness = HarnessFor(1 << 20);
	ViewHarness::WindowLock lock(harness);
	HexDumpView* view = harness.View();
	const BRect bounds = view->Bounds();
	for (auto _ : state)
		view->Draw(bounds);
}

// Every line on screen drawn through the line buffer, as a key at offset 0
// draws them, without the key's round trip: set against
// draw/floor_by_lines.
void BM_DrawByLines(benchmark::State& state)
{
	ViewHarness& harness = HarnessFor(1 << 20);
	ViewHarness::WindowLock lock(harness);
	HexDumpView* view = harness.View();
	for (auto _ : state)
		view->DrawRange(0, int32(1 << 20), true, false);
}

// The whole view invalidated and the window idle again: the window's update
// (its fill of the area, then the view's Draw) through the looper.
void BM_WindowRedraw(benchmark::State& state)
{
	ViewHarness& harness = HarnessFor(1 << 20);
	HexDumpView* view = harness.View();
	auto redraw = [&] {
		return Seconds([&] {
			{
				ViewHarness::WindowLock lock(harness);
				view->Invalidate();
			}
			harness.WaitUntilIdle();
		});
	};
	for (auto _ : state)
		TimeBatch(state, redraw);
}

// A message that the window has nothing to do with, posted and waited for:
// what any change shown through the window costs besides its own work.
void BM_RoundTrip(benchmark::State& state)
{
	ViewHarness& harness = HarnessFor(1 << 20);
	const BMessage nothing('none');
	auto roundTrip = [&] {
		return Seconds([&] { PlatformTesting::PostAndWait(harness.Window(), nothing); });
	};
	for (auto _ : state)
		TimeBatch(state, roundTrip);
}

// Half a blink period on the test clock: one pulse, the cursor toggled.
void BM_Blink(benchmark::State& state)
{
	ViewHarness& harness = HarnessFor(1 << 20);
	PlaceCursor(harness, 0, true);
	for (auto _ : state)
		PlatformTesting::AdvanceTestClock(500000);
}

// The editor's own edit primitive: working copy, host write, undo record.
void BM_EditorPrimitive(benchmark::State& state, bool insert, uint32 size, bool middle)
{
	ViewHarness& harness = HarnessFor(size);
	ViewHarness::WindowLock lock(harness);
	HexDumpFullEditor* editor = harness.Editor();
	const uint32 offset = middle ? size / 2 : 0;
	for (auto _ : state) {
		const double insertTime = Seconds([&] { editor->Insert(offset, "x", 1, "typing", false); });
		const double deleteTime =
		    Seconds([&] { editor->DeleteRange(offset, offset + 1, "typing", false); });
		state.SetIterationTime(insert ? insertTime : deleteTime);
	}
}

const uint32 kTypedRun = 1000;

// A run of 1,000 characters typed in the middle of an 8 MiB item, undone
// and redone: the window idle again after each.
void BM_UndoRedo(benchmark::State& state, bool undo)
{
	const uint32 size = 8 << 20;
	ViewHarness& harness = HarnessFor(size, "undo");
	// Typed once per window: the window may have been built again since
	// the last repetition (--benchmark_enable_random_interleaving).
	static int sTypedIn = 0;
	if (sTypedIn != sHarnessBuilds) {
		PlaceCursor(harness, size / 2, false);
		for (uint32 i = 0; i < kTypedRun; i++)
			Key(harness, char('a' + i % 26));
		sTypedIn = sHarnessBuilds;
	}
	Document& document = harness.Doc();
	auto undoStep = [&] {
		document.Undo();
		harness.WaitUntilIdle();
	};
	auto redoStep = [&] {
		document.Redo();
		harness.WaitUntilIdle();
	};
	for (auto _ : state) {
		if (undo) {
			state.SetIterationTime(Seconds(undoStep));
			redoStep();
		} else {
			undoStep();
			state.SetIterationTime(Seconds(redoStep));
		}
	}
}

// --- Opening files in the host program ----------------------------------------

struct Folder
{
	std::string path;
	Folder()
	{
		char name[] = "/tmp/hexdump-bench-XXXXXX";
		path = mkdtemp(name) != NULL ? name : "/tmp";
	}
	~Folder()
	{
		const std::string command = "rm -rf '" + path + "'";
		if (path != "/tmp" && system(command.c_str()) != 0)
			fprintf(stderr, "hexdump_bench: could not remove %s\n", path.c_str());
	}
	std::string File(const std::string& name, size_t size)
	{
		const std::string file = path + "/" + name;
		std::ofstream out(file, std::ios::binary);
		const std::string bytes = Pattern(size);
		out.write(bytes.data(), std::streamsize(bytes.size()));
		return file;
	}
};

Folder& Files()
{
	static Folder sFolder;
	return sFolder;
}

// Runs reshost headless on file with a script, to its end; returns the
// child's peak resident memory in KiB, or -1 when it did not exit with 0.
long RunHost(const std::string& file, const std::string& script)
{
	const pid_t pid = fork();
	if (pid == 0) {
		const int null = open("/dev/null", O_WRONLY);
		dup2(null, STDOUT_FILENO);
		const char* argv[] = {HEXDUMP_RESHOST_PATH, "--headless", "--script",
		                      script.c_str(),       file.c_str(), NULL};
		execv(argv[0], const_cast<char* const*>(argv));
		_exit(127);
	}
	int status = 0;
	struct rusage usage = {};
	if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
	    WEXITSTATUS(status) != 0)
		return -1;
	return usage.ru_maxrss;
}

// From starting reshost to its first frame and exit; a script with no
// commands ends the session as soon as the window is idle.
void BM_Open(benchmark::State& state, uint32 size)
{
	// A small process forks faster: no window and no item held meanwhile.
	sHarness.reset();
	const std::string file = Files().File("item-" + SizeName(size), size);
	const std::string script = Files().File("empty.script", 0);
	for (auto _ : state) {
		if (RunHost(file, script) < 0) {
			state.SkipWithError("reshost failed");
			return;
		}
	}
}

// Memory fresh from the system, as a starting program gets it: the
// allocator would hand a loop the same pages again, already mapped.
struct FreshBuffer
{
	explicit FreshBuffer(size_t size)
	    : size(size), bytes(static_cast<char*>(mmap(NULL, size, PROT_READ | PROT_WRITE,
	                                                MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)))
	{
	}
	~FreshBuffer() { munmap(bytes, size); }
	size_t size;
	char* bytes;
};

// Reading the file and copying its bytes twice (the host's item, the
// editor's working copy), each into fresh memory.
void BM_ReadAndTwoCopies(benchmark::State& state, uint32 size)
{
	const std::string file = Files().File("item-" + SizeName(size), size);
	for (auto _ : state) {
		FreshBuffer read(size), item(size), working(size);
		const int in = open(file.c_str(), O_RDONLY);
		size_t filled = 0;
		while (in >= 0 && filled < size) {
			const ssize_t count = ::read(in, read.bytes + filled, size - filled);
			if (count <= 0)
				break;
			filled += size_t(count);
		}
		if (in >= 0)
			close(in);
		if (filled != size) {
			state.SkipWithError("cannot read the file");
			return;
		}
		memcpy(item.bytes, read.bytes, size);
		memcpy(working.bytes, item.bytes, size);
		benchmark::DoNotOptimize(working.bytes);
	}
}

// What a change notice costs at least besides the tail move: the editor
// copies the whole item into its working copy again.
void BM_CopyItem(benchmark::State& state, uint32 size)
{
	std::vector<char> item(size, 'a'), working(size);
	for (auto _ : state) {
		memcpy(working.data(), item.data(), size);
		benchmark::ClobberMemory();
	}
}

// Peak memory of reshost opening a 16 MiB file and typing one byte at its
// start, in MiB.
void BM_PeakMemory(benchmark::State& state)
{
	const uint32 size = 16 << 20;
	const std::string file = Files().File("item-" + SizeName(size), size);
	const std::string script = Files().File("type.script", 0);
	std::ofstream(script) << "type \"41\"\n";
	long peak = 0;
	for (auto _ : state) {
		peak = RunHost(file, script);
		if (peak < 0) {
			state.SkipWithError("reshost failed");
			return;
		}
	}
	state.counters["peak_MiB"] = double(peak) / 1024;
	state.counters["item_MiB"] = double(size) / (1 << 20);
}

// --- Two host windows on a document of many items ---------------------------

// A hex digit typed in one of two windows on a document of items items of
// 64 bytes: the key, the other window's notice and both windows' list
// updates, until both are idle.
void BM_TwoWindowsKey(benchmark::State& state, int32 items)
{
	Session session;
	Document& document = session.GetDocument();
	const std::string bytes(64, 'x');
	for (int32 index = 0; index < items; index++)
		document.AddItem('RAWT', index + 1, "item", bytes.data(), bytes.size());
	std::string error;
	if (session.LoadAddon(HEXDUMP_ADDON_PATH, error) != B_OK) {
		state.SkipWithError(error.c_str());
		return;
	}
	WindowGroup windows(session);
	windows.SetProgramQuit([]() {});
	HostWindow* typing = windows.Open(0, error);
	HostWindow* watching = windows.Open(0, error);
	if (typing == NULL || watching == NULL) {
		state.SkipWithError(error.c_str());
		return;
	}
	PlatformTesting::WaitUntilIdle(typing);
	PlatformTesting::WaitUntilIdle(watching);
	for (auto _ : state) {
		const auto start = std::chrono::steady_clock::now();
		PlatformTesting::PostAndWait(typing, PlatformTesting::MakeKeyDown("4"));
		PlatformTesting::WaitUntilIdle(watching);
		PlatformTesting::WaitUntilIdle(typing);
		state.SetIterationTime(
		    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
	}
	windows.CloseAll();
}

// --- Registration and the ratios ---------------------------------------------

void Register()
{
	using benchmark::RegisterBenchmark;
	for (uint32 size : kSizes) {
		for (bool middle : {false, true}) {
			for (int key = kFirstDigit; key <= kShiftDown; key++) {
				RegisterBenchmark(KeyName(KeyClass(key), size, middle).c_str(), BM_Key,
				                  KeyClass(key), size, middle, 0u)
				    ->UseManualTime()
				    ->Iterations(kBatchIterations);
			}
			RegisterBenchmark(("memmove2/" + SizeName(size) + (middle ? "/mid" : "/0")).c_str(),
			                  BM_TwoMemmoves, size, middle);
		}
		if (size == (8u << 20)) {
			for (bool middle : {false, true}) {
				const std::string where = SizeName(size) + (middle ? "/mid" : "/0");
				RegisterBenchmark(("editor/insert/" + where).c_str(), BM_EditorPrimitive, true,
				                  size, middle)
				    ->UseManualTime()
				    ->Iterations(50);
				RegisterBenchmark(("editor/delete/" + where).c_str(), BM_EditorPrimitive, false,
				                  size, middle)
				    ->UseManualTime()
				    ->Iterations(50);
			}
		}
	}
	for (uint32 size : kTailMoveSizes) {
		for (bool middle : {false, true}) {
			for (int key = kFirstDigit; key <= kDelete; key++) {
				RegisterBenchmark(AfterTailMovesName(KeyClass(key), size, middle).c_str(), BM_Key,
				                  KeyClass(key), 4 << 10, middle, middle ? size / 2 : size)
				    ->UseManualTime()
				    ->Iterations(kBatchIterations);
			}
		}
	}
	RegisterBenchmark("roundtrip", BM_RoundTrip)->UseManualTime()->Iterations(kBatchIterations);
	RegisterBenchmark("draw/full", BM_FullDraw)->Iterations(50);
	RegisterBenchmark("draw/by_lines", BM_DrawByLines)->Iterations(50);
	RegisterBenchmark("draw/window", BM_WindowRedraw)
	    ->UseManualTime()
	    ->Iterations(kBatchIterations);
	RegisterBenchmark("draw/floor", BM_DrawFloor, false)->Iterations(200);
	RegisterBenchmark("draw/floor_by_lines", BM_DrawFloor, true)->Iterations(200);
	RegisterBenchmark("blink", BM_Blink)->Iterations(50);
	RegisterBenchmark("copy/8MiB", BM_CopyItem, 8 << 20)->Iterations(20);
	RegisterBenchmark("undo/typed1000/8MiB", BM_UndoRedo, true)->UseManualTime()->Iterations(5);
	RegisterBenchmark("redo/typed1000/8MiB", BM_UndoRedo, false)->UseManualTime()->Iterations(5);
	RegisterBenchmark("open/tiny", BM_Open, 16)->Iterations(3);
	for (uint32 size : kOpenSizes) {
		RegisterBenchmark(("open/" + SizeName(size)).c_str(), BM_Open, size)->Iterations(3);
		RegisterBenchmark(("read+2copies/" + SizeName(size)).c_str(), BM_ReadAndTwoCopies, size)
		    ->Iterations(3);
	}
	RegisterBenchmark("peak_memory/16MiB", BM_PeakMemory)->Iterations(1);
	for (int32 items : {1, 10000}) {
		RegisterBenchmark(("two_windows_key/items:" + std::to_string(items)).c_str(),
		                  BM_TwoWindowsKey, items)
		    ->UseManualTime()
		    ->Iterations(200);
	}
}

// Prints one ratio line; "bar" is the limit for it, 0 when none.
void Ratio(const char* what, double value, double floor, double bar)
{
	if (value <= 0 || floor <= 0)
		return;
	const double ratio = value / floor;
	printf("  %-64s %9.3f ms / %9.3f ms = %6.2f", what, value, floor, ratio);
	if (bar > 0)
		printf("  (bar %.2f: %s)", bar, ratio <= bar ? "met" : "MISSED");
	printf("\n");
}

void PrintRatios(const MedianReport& report)
{
	printf("\nRatios (medians of %d, this run):\n", kRepetitions);
	// A key at offset 0 of a small item shifts every line on screen, and
	// draws each through the line buffer: its floor is that redraw's
	// clears, glyph blits and copies plus a key that draws nothing but the
	// cursor (Right), which holds the key's round trip through the window.
	const double drawFloor = report.Milliseconds("draw/floor");
	const double keyFloor4K = report.Milliseconds("draw/floor_by_lines") +
	                          report.Milliseconds(KeyName(kRight, 4 << 10, false));
	double worst4K = 0;
	std::string worst4KName;
	for (int key = kFirstDigit; key <= kDelete; key++) {
		const std::string name = KeyName(KeyClass(key), 4 << 10, false);
		Ratio((name + " / (draw/floor_by_lines + Right)").c_str(), report.Milliseconds(name),
		      keyFloor4K, 1.3);
		for (bool middle : {false, true}) {
			const std::string any = KeyName(KeyClass(key), 4 << 10, middle);
			if (report.Milliseconds(any) > worst4K) {
				worst4K = report.Milliseconds(any);
				worst4KName = any;
			}
		}
	}
	if (worst4K > 0)
		printf("  %-64s %9.3f ms  (bar 0.5 ms: %s)\n",
		       ("slowest edit key at 4 KiB: " + worst4KName).c_str(), worst4K,
		       worst4K <= 0.5 ? "met" : "MISSED");
	Ratio("hex digit, two windows: 10,000 items / 1 item",
	      report.Milliseconds("two_windows_key/items:10000"),
	      report.Milliseconds("two_windows_key/items:1"), 1.3);
	Ratio("full Draw / (clear + glyph blits)", report.Milliseconds("draw/full"), drawFloor, 1.3);
	// Through the window, the redraw also makes the round trip of any
	// message: posted, handled, waited for.
	Ratio("window redraw (invalidate, wait) / (clear + glyph blits + roundtrip)",
	      report.Milliseconds("draw/window"), drawFloor + report.Milliseconds("roundtrip"), 1.5);
	// At a size, a key that moves the tails has them on top of the same key
	// at 4 KiB, timed after tail moves as long as its own: the rest of its
	// work then finds the caches as the tail moves leave them. The tail
	// moves are those timed there, once a press (memmove2 runs them in a
	// loop that keeps the buffers in the caches, which a key never finds).
	// The second digit moves nothing (it replaces its byte in place) but
	// comes after the first digit's tail moves; a key that changes nothing
	// moves no tail and has only the 4 KiB key.
	for (uint32 size : kTailMoveSizes) {
		for (int key = kFirstDigit; key <= kShiftDown; key++) {
			for (bool middle : {false, true}) {
				const std::string name = KeyName(KeyClass(key), size, middle);
				const std::string small = KeyName(KeyClass(key), 4 << 10, middle);
				const std::string afterMoves = AfterTailMovesName(KeyClass(key), size, middle);
				if (MovesTail(KeyClass(key)))
					Ratio((name + " / (tail moves + 4KiB key after them)").c_str(),
					      report.Milliseconds(name),
					      report.Counter(afterMoves, "tail_moves_ms") +
					          report.Milliseconds(afterMoves),
					      1.3);
				else if (key == kSecondDigit)
					Ratio((name + " / 4KiB key after tail moves").c_str(),
					      report.Milliseconds(name), report.Milliseconds(afterMoves), 1.3);
				else
					Ratio((name + " / 4KiB key").c_str(), report.Milliseconds(name),
					      report.Milliseconds(small), 1.3);
			}
		}
	}
	for (const char* primitive : {"insert", "delete"}) {
		for (const char* where : {"/0", "/mid"}) {
			const std::string name = std::string("editor/") + primitive + "/8MiB" + where;
			Ratio((name + " / memmove2").c_str(), report.Milliseconds(name),
			      report.Milliseconds(std::string("memmove2/8MiB") + where), 1.3);
		}
	}
	// A tail move of the item is half of memmove2. Undo then reloads the
	// editor's copy and redraws the view, as every change notice does: its
	// floor is one tail move, one copy of the item and one full redraw. A
	// history of one edit per key would move the tail once per byte.
	const double tailMove = report.Milliseconds("memmove2/8MiB/mid") / 2;
	const double replayFloor =
	    tailMove + report.Milliseconds("copy/8MiB") + report.Milliseconds("draw/full");
	for (const char* replay : {"undo", "redo"}) {
		const std::string name = std::string(replay) + "/typed1000/8MiB";
		Ratio((name + " / (tail move + copy + Draw)").c_str(), report.Milliseconds(name),
		      replayFloor, 0);
		Ratio((name + " / 1,000 tail moves").c_str(), report.Milliseconds(name),
		      kTypedRun * tailMove, 0);
	}
	const double startup = report.Milliseconds("open/tiny");
	for (uint32 size : kOpenSizes) {
		Ratio(("open/" + SizeName(size) + " / (read+2copies + open/tiny)").c_str(),
		      report.Milliseconds("open/" + SizeName(size)),
		      report.Milliseconds("read+2copies/" + SizeName(size)) + startup, 1.3);
	}
	if (report.Has("peak_memory/16MiB")) {
		const double peak = report.Counter("peak_memory/16MiB", "peak_MiB");
		const double bar = 2.5 * 16 + 32;
		printf("  %-64s %9.1f MiB  (bar %.0f MiB: %s)\n",
		       "peak memory, 16 MiB file, one byte typed", peak, bar,
		       peak <= bar ? "met" : "MISSED");
	}
}

} // namespace

// Puts the process, and so every thread it starts, on one core: a key
// hands over from this thread to the window's and back, and a wake-up on
// another core costs 17 to 40 us here as the hypervisor places it, where one
// on the same core is a steady context switch. A figure and its floor then
// differ by their work, not by where the threads happened to run.
void RunOnOneCore()
{
	cpu_set_t allowed;
	if (sched_getaffinity(0, sizeof(allowed), &allowed) != 0)
		return;
	int last = -1;
	for (int cpu = 0; cpu < CPU_SETSIZE; cpu++) {
		if (CPU_ISSET(cpu, &allowed))
			last = cpu;
	}
	if (last < 0)
		return;
	cpu_set_t one;
	CPU_ZERO(&one);
	CPU_SET(last, &one);
	if (sched_setaffinity(0, sizeof(one), &one) == 0)
		printf("every thread runs on core %d\n", last);
}

int main(int argc, char** argv)
{
	RunOnOneCore();
	// The test clock keeps blinking out of the key figures; the blink
	// benchmark moves it itself.
	PlatformTesting::SetTestClock(1000000);
	PlatformTesting::UseFreeTypeFace();
	Register();
	std::vector<char*> arguments(argv, argv + argc);
	std::string repetitions = "--benchmark_repetitions=" + std::to_string(kRepetitions);
	// The repetitions of all figures run in one shuffled order: the machine's
	// speed drifts over a run (other machines share its cores), and a figure
	// and its floor then sample the same stretch of it instead of two.
	std::string interleaving = "--benchmark_enable_random_interleaving=true";
	arguments.insert(arguments.begin() + 1, repetitions.data());
	arguments.insert(arguments.begin() + 2, interleaving.data());
	int count = int(arguments.size());
	benchmark::Initialize(&count, arguments.data());
	MedianReport report;
	benchmark::RunSpecifiedBenchmarks(&report);
	sHarness.reset();
	PrintRatios(report);
	benchmark::Shutdown();
	return 0;
}
