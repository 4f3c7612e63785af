// ScreenText: turning drawing calls into lines of text.

#include "ScreenText.h"

#include <math.h>

#include <map>

#include "HexDumpLayout.h"

using namespace HexDumpLayout;

std::vector<std::string> ScreenText::Lines(const std::vector<PlatformTesting::DrawCall>& calls,
                                           const BView* dumpView, BRect visible,
                                           const font_height& height, float charWidth)
{
	const Sizes sizes = ComputeSizes(height, charWidth, kDefaultBytesPerGroup);

	std::map<float, std::string> lines;
	for (const PlatformTesting::DrawCall& call : calls) {
		if (call.kind != PlatformTesting::DrawCall::kDrawString)
			continue;
		if (call.view != dumpView && !call.inBitmap)
			continue;
		float baseline = call.start.y;
		if (sizes.BoxBottom(baseline) < visible.top || sizes.BoxTop(baseline) > visible.bottom)
			continue;

		long cell = lroundf((call.start.x - kMargin) / charWidth);
		if (cell < 0)
			continue;
		std::string& line = lines[baseline];
		if (line.size() < size_t(cell) + call.text.size())
			line.resize(size_t(cell) + call.text.size(), ' ');
		line.replace(size_t(cell), call.text.size(), call.text);
	}

	std::vector<std::string> result;
	for (auto& [baseline, line] : lines) {
		line.erase(line.find_last_not_of(' ') + 1);
		result.push_back(line);
	}
	return result;
}
