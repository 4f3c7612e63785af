// Font face choice for tests.
#include "PlatformTesting.h"

#include "FontFace.h"

namespace PlatformTesting {

void UseTestFace()
{
	BPrivate::SelectTestFontFace(true);
}

void UseFreeTypeFace()
{
	BPrivate::SelectTestFontFace(false);
}

} // namespace PlatformTesting
