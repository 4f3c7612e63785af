// Redrawing the dump: DrawRange over a whole item through the offscreen
// bitmap, for items of 4 KiB, 1 MiB and 8 MiB in an 800 x 600 headless
// window (the cost should follow the lines on screen, not the data), and a
// full-window Draw of the view. Test face, window locked around the loop.

#include <benchmark/benchmark.h>

#include <string>

#include "../tests/support/ViewHarness.h"

namespace {

std::string Pattern(size_t size)
{
	std::string bytes(size, '\0');
	for (size_t i = 0; i < size; i++)
		bytes[i] = char(i * 7 + i / 256);
	return bytes;
}

void BM_DrawRangeBuffered(benchmark::State& state)
{
	const int32 size = int32(state.range(0));
	ViewHarness harness(Pattern(size));
	ViewHarness::WindowLock lock(harness);
	HexDumpView* view = harness.View();
	for (auto _ : state)
		view->DrawRange(0, size, true, false);
	state.SetLabel(std::to_string(size / 1024) + " KiB");
}
BENCHMARK(BM_DrawRangeBuffered)
    ->Arg(4 << 10)
    ->Arg(1 << 20)
    ->Arg(8 << 20)
    ->Unit(benchmark::kMicrosecond);

void BM_FullWindowDraw(benchmark::State& state)
{
	ViewHarness harness(Pattern(1 << 20));
	ViewHarness::WindowLock lock(harness);
	HexDumpView* view = harness.View();
	const BRect bounds = view->Bounds();
	for (auto _ : state)
		view->Draw(bounds);
}
BENCHMARK(BM_FullWindowDraw)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
