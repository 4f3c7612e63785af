// ProgramDriver: the display, the clock and the size bound of a reshost run.

#include "ProgramDriver.h"

#include <OS.h>

#include <Display.h>
#include <PlatformTesting.h>

#include "HexDumpLayout.h"

bool ProgramDriver::ChooseDisplay(bool headless)
{
	if (!headless) {
		PlatformTesting::ChooseDisplay(PlatformTesting::kAutomaticDisplay);
		headless = PlatformTesting::ActiveDisplay() != PlatformTesting::kSdlDisplay;
	}
	if (headless)
		PlatformTesting::SetTestClock(system_time());
	return headless;
}

void ProgramDriver::SetFontSize(float size)
{
	PlatformTesting::SetFontSize(size);
}

uint64 ProgramDriver::MaxDataSize(const font_height& height)
{
	return HexDumpLayout::MaxExactDataSize(height);
}
