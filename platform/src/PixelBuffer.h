// PixelBuffer: a rectangle of 32-bit pixels, memory order blue, green, red,
// alpha (B_RGB32). The pixels of a window or of a view-accepting bitmap; owned
// by it and touched only with its lock held.
#ifndef PIXEL_BUFFER_H
#define PIXEL_BUFFER_H

#include <GraphicsDefs.h>
#include <SupportDefs.h>

#include <vector>

class PixelBuffer
{
public:
	// Filled white (255, 255, 255, 255).
	explicit PixelBuffer(int32 width = 0, int32 height = 0);

	// Keeps the overlapping pixels; new pixels are white.
	void Resize(int32 width, int32 height);

	int32 Width() const { return fWidth; }
	int32 Height() const { return fHeight; }

	uint32* Row(int32 y) { return fPixels.data() + size_t(y) * fWidth; }
	const uint32* Row(int32 y) const { return fPixels.data() + size_t(y) * fWidth; }

	rgb_color PixelAt(int32 x, int32 y) const { return ToColor(Row(y)[x]); }
	void SetPixel(int32 x, int32 y, rgb_color color) { Row(y)[x] = ToPixel(color); }

	static uint32 ToPixel(rgb_color color)
	{
		return uint32(color.blue) | uint32(color.green) << 8 | uint32(color.red) << 16 |
		       uint32(color.alpha) << 24;
	}
	static rgb_color ToColor(uint32 pixel)
	{
		return rgb_color{uint8(pixel >> 16), uint8(pixel >> 8), uint8(pixel), uint8(pixel >> 24)};
	}

private:
	int32 fWidth;
	int32 fHeight;
	std::vector<uint32> fPixels;
};

#endif // PIXEL_BUFFER_H
