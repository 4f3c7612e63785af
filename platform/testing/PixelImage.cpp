// PixelImage comparison and PNG export.
#include "PlatformTesting.h"

#include "PixelBuffer.h"
#include "PngWriter.h"

namespace PlatformTesting {

bool PixelImage::operator==(const PixelImage& other) const
{
	return width == other.width && height == other.height && pixels == other.pixels;
}

status_t WritePNG(const PixelImage& image, const char* path)
{
	if (image.width <= 0 || image.height <= 0 ||
	    image.pixels.size() != size_t(image.width) * size_t(image.height))
		return B_BAD_VALUE;
	PixelBuffer buffer(image.width, image.height);
	for (int32 y = 0; y < image.height; y++) {
		for (int32 x = 0; x < image.width; x++)
			buffer.SetPixel(x, y, image.At(x, y));
	}
	return WritePng(buffer, path);
}

} // namespace PlatformTesting
