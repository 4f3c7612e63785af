// XwdImage: reads a screen dump in the X window dump format (as xwd writes
// it: 24 or 32 bits a pixel, ZPixmap) into a PixelImage, so that a test can
// look at its pixels and keep it as PNG without an image converter
// installed. Header-only test support.
#ifndef XWD_IMAGE_H
#define XWD_IMAGE_H

#include <PlatformTesting.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class XwdImage
{
public:
	// False, with error set, for a file that is not such a dump.
	static bool Read(const std::string& path, PlatformTesting::PixelImage& image,
	                 std::string& error);
};

// Decoding details.
namespace XwdDetail {

// The header's fields, in file order; all are 32-bit, most significant
// byte first.
enum
{
	kHeaderSize,
	kFileVersion,
	kPixmapFormat,
	kPixmapDepth,
	kWidth,
	kHeight,
	kXOffset,
	kByteOrder,
	kBitmapUnit,
	kBitmapBitOrder,
	kBitmapPad,
	kBitsPerPixel,
	kBytesPerLine,
	kVisualClass,
	kRedMask,
	kGreenMask,
	kBlueMask,
	kBitsPerRGB,
	kColormapEntries,
	kColorCount,
	kFieldCount = 25
};

inline const uint32 kZPixmap = 2;
inline const size_t kColorEntrySize = 12;

inline uint32 BigEndian(const unsigned char* bytes)
{
	return uint32(bytes[0]) << 24 | uint32(bytes[1]) << 16 | uint32(bytes[2]) << 8 | bytes[3];
}

inline uint8 Channel(uint32 pixel, uint32 mask)
{
	if (mask == 0)
		return 0;
	int shift = 0;
	while (((mask >> shift) & 1) == 0)
		shift++;
	uint32 value = (pixel & mask) >> shift;
	uint32 maximum = mask >> shift;
	return uint8(value * 255 / maximum);
}

} // namespace XwdDetail

inline bool XwdImage::Read(const std::string& path, PlatformTesting::PixelImage& image,
                           std::string& error)
{
	using namespace XwdDetail;
	std::ifstream file(path, std::ios::binary);
	std::vector<unsigned char> data((std::istreambuf_iterator<char>(file)), {});
	if (data.size() < kFieldCount * 4) {
		error = path + ": too short for a window dump";
		return false;
	}
	uint32 field[kFieldCount];
	for (int i = 0; i < kFieldCount; i++)
		field[i] = BigEndian(&data[size_t(i) * 4]);

	const uint32 bitsPerPixel = field[kBitsPerPixel];
	if (field[kFileVersion] != 7 || field[kPixmapFormat] != kZPixmap ||
	    (bitsPerPixel != 24 && bitsPerPixel != 32)) {
		error = path + ": not a 24 or 32 bit ZPixmap window dump";
		return false;
	}
	const size_t pixelStart = size_t(field[kHeaderSize]) + field[kColorCount] * kColorEntrySize;
	const size_t width = field[kWidth];
	const size_t height = field[kHeight];
	const size_t bytesPerLine = field[kBytesPerLine];
	if (pixelStart + bytesPerLine * height > data.size() ||
	    bytesPerLine * 8 < width * bitsPerPixel) {
		error = path + ": the pixels are cut short";
		return false;
	}

	const bool leastFirst = field[kByteOrder] == 0;
	const size_t bytesPerPixel = bitsPerPixel / 8;
	image.width = int32(width);
	image.height = int32(height);
	image.pixels.resize(width * height);
	for (size_t y = 0; y < height; y++) {
		const unsigned char* row = &data[pixelStart + y * bytesPerLine];
		for (size_t x = 0; x < width; x++) {
			const unsigned char* bytes = row + x * bytesPerPixel;
			uint32 pixel = 0;
			for (size_t i = 0; i < bytesPerPixel; i++) {
				size_t index = leastFirst ? bytesPerPixel - 1 - i : i;
				pixel = pixel << 8 | bytes[index];
			}
			image.pixels[y * width + x] =
			    rgb_color{Channel(pixel, field[kRedMask]), Channel(pixel, field[kGreenMask]),
			              Channel(pixel, field[kBlueMask]), 255};
		}
	}
	return true;
}

#endif // XWD_IMAGE_H
