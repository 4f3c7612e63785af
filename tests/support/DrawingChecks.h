// Reading the drawing record and pixels for the view's rendering, outline
// and cursor tests: colours, recorded fills, strings and outline edges.
#ifndef DRAWING_CHECKS_H
#define DRAWING_CHECKS_H

#include <AppDefs.h>
#include <GraphicsDefs.h>
#include <Message.h>
#include <Rect.h>

#include <PlatformTesting.h>

#include <ostream>
#include <string>
#include <vector>

#include "ViewHarness.h"

namespace DrawingChecks {

const rgb_color kGrey = {200, 200, 200, 255};
const rgb_color kWhite = {255, 255, 255, 255};
const rgb_color kBlack = {0, 0, 0, 255};

inline bool SameColor(const rgb_color& a, const rgb_color& b)
{
	return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// One recorded edge of an outline, end points as drawn.
struct Edge
{
	BPoint from, to;
	bool operator==(const Edge& other) const { return from == other.from && to == other.to; }
};

inline std::ostream& operator<<(std::ostream& out, const Edge& edge)
{
	return out << "(" << edge.from.x << "," << edge.from.y << ")-(" << edge.to.x << "," << edge.to.y
	           << ")";
}

// Lines in the selection grey whose x lies in [minX, maxX], drawn into a
// bitmap's view (inBitmap) or straight into a window's.
inline std::vector<Edge> GreyEdges(const std::vector<PlatformTesting::DrawCall>& calls,
                                   bool inBitmap, float minX, float maxX)
{
	std::vector<Edge> edges;
	for (const PlatformTesting::DrawCall& call : calls) {
		if (call.kind != PlatformTesting::DrawCall::kStrokeLine || call.inBitmap != inBitmap ||
		    !SameColor(call.color, kGrey))
			continue;
		if (call.start.x < minX || call.start.x > maxX)
			continue;
		edges.push_back(Edge{call.start, call.end});
	}
	return edges;
}

// Rectangles filled in the given colour.
inline std::vector<BRect> Fills(const std::vector<PlatformTesting::DrawCall>& calls,
                                const rgb_color& color, bool inBitmap)
{
	std::vector<BRect> rects;
	for (const PlatformTesting::DrawCall& call : calls) {
		if (call.kind == PlatformTesting::DrawCall::kFillRect && call.inBitmap == inBitmap &&
		    SameColor(call.color, color))
			rects.push_back(call.rect);
	}
	return rects;
}

// The DrawString calls, in order.
inline std::vector<PlatformTesting::DrawCall>
Strings(const std::vector<PlatformTesting::DrawCall>& calls)
{
	std::vector<PlatformTesting::DrawCall> strings;
	for (const PlatformTesting::DrawCall& call : calls) {
		if (call.kind == PlatformTesting::DrawCall::kDrawString)
			strings.push_back(call);
	}
	return strings;
}

// The texts of the DrawString calls, in order.
inline std::vector<std::string> Texts(const std::vector<PlatformTesting::DrawCall>& calls)
{
	std::vector<std::string> texts;
	for (const PlatformTesting::DrawCall& call : Strings(calls))
		texts.push_back(call.text);
	return texts;
}

inline void SetWindowActive(ViewHarness& harness, bool active)
{
	BMessage message(B_WINDOW_ACTIVATED);
	message.AddBool("active", active);
	PlatformTesting::PostAndWait(harness.Window(), message);
}

// Records what one call of DrawRange draws, with the window locked.
inline std::vector<PlatformTesting::DrawCall> RecordRange(ViewHarness& harness, int32 start,
                                                          int32 end, bool useOffscreen = true,
                                                          bool clearToBottom = false)
{
	ViewHarness::WindowLock lock(harness);
	PlatformTesting::DrawingRecord record;
	harness.View()->DrawRange(start, end, useOffscreen, clearToBottom);
	return record.Calls();
}

} // namespace DrawingChecks

#endif // DRAWING_CHECKS_H
