// PixelBuffer's allocation and resizing.
#include "PixelBuffer.h"

#include <algorithm>

#include <string.h>

namespace {

const uint32 kWhite = 0xffffffff;

} // namespace

PixelBuffer::PixelBuffer(int32 width, int32 height)
    : fWidth(std::max(width, int32(0))), fHeight(std::max(height, int32(0))),
      fPixels(size_t(fWidth) * fHeight, kWhite)
{
}

void PixelBuffer::Resize(int32 width, int32 height)
{
	width = std::max(width, int32(0));
	height = std::max(height, int32(0));
	if (width == fWidth && height == fHeight)
		return;
	std::vector<uint32> pixels(size_t(width) * height, kWhite);
	int32 keptWidth = std::min(width, fWidth);
	int32 keptHeight = std::min(height, fHeight);
	for (int32 y = 0; y < keptHeight; y++)
		memcpy(&pixels[size_t(y) * width], Row(y), size_t(keptWidth) * sizeof(uint32));
	fPixels.swap(pixels);
	fWidth = width;
	fHeight = height;
}
