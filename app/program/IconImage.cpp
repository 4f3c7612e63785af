// IconImage: icons as pixels and PNG files.

#include "IconImage.h"

#include <Errors.h>
#include <InterfaceDefs.h>

#include <png.h>

std::vector<rgb_color> IconImage::Pixels(const void* indices, int32 side)
{
	const uint8* index = static_cast<const uint8*>(indices);
	const color_map* colors = system_colors();
	std::vector<rgb_color> pixels(size_t(side) * size_t(side));
	for (rgb_color& pixel : pixels) {
		if (*index == B_TRANSPARENT_MAGIC_CMAP8)
			pixel = rgb_color{0, 0, 0, 0};
		else {
			pixel = colors->color_list[*index];
			pixel.alpha = 255;
		}
		index++;
	}
	return pixels;
}

status_t IconImage::EncodePng(const std::vector<rgb_color>& pixels, int32 width, int32 height,
                              std::string& png)
{
	if (width <= 0 || height <= 0 || pixels.size() != size_t(width) * size_t(height))
		return B_BAD_VALUE;
	std::vector<png_byte> rgba;
	rgba.reserve(pixels.size() * 4);
	for (const rgb_color& pixel : pixels)
		rgba.insert(rgba.end(), {pixel.red, pixel.green, pixel.blue, pixel.alpha});

	// libpng's simplified interface: once for the size, once to encode.
	png_image image = {};
	image.version = PNG_IMAGE_VERSION;
	image.width = png_uint_32(width);
	image.height = png_uint_32(height);
	image.format = PNG_FORMAT_RGBA;
	png_alloc_size_t size = 0;
	if (!png_image_write_to_memory(&image, NULL, &size, 0, rgba.data(), 0, NULL))
		return B_ERROR;
	png.assign(size_t(size), '\0');
	if (!png_image_write_to_memory(&image, png.data(), &size, 0, rgba.data(), 0, NULL)) {
		png.clear();
		return B_ERROR;
	}
	png.resize(size_t(size));
	return B_OK;
}
