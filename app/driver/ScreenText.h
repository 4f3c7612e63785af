// ScreenText: the dump as drawn, as text. From a record of drawing calls it
// takes the strings drawn into the dump view and into its offscreen bitmap
// (which draws in the dump view's coordinates), groups them by baseline and
// places each at its character cell, later calls over earlier ones. Only
// lines whose line box meets the visible area count. Plain computation.
#ifndef SCREEN_TEXT_H
#define SCREEN_TEXT_H

#include <Font.h>
#include <Rect.h>

#include <PlatformTesting.h>

#include <string>
#include <vector>

class BView;

class ScreenText
{
public:
	static std::vector<std::string> Lines(const std::vector<PlatformTesting::DrawCall>& calls,
	                                      const BView* dumpView, BRect visible,
	                                      const font_height& height, float charWidth);
};

#endif // SCREEN_TEXT_H
