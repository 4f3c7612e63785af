// XwdImage: reads a screen dump in the X window dump format (as xwd writes
// it: 24 or 32 bits a pixel, ZPixmap) into a PixelImage, so that a test can
// keep it as PNG without an image converter installed. Test support.
#ifndef XWD_IMAGE_H
#define XWD_IMAGE_H

#include <PlatformTesting.h>

#include <string>

class XwdImage {
public:
	// False, with error set, for a file that is not such a dump.
	static bool Read(const std::string& path, PlatformTesting::PixelImage& image,
		std::string& error);
};

#endif // XWD_IMAGE_H
