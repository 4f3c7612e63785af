// IconImage: icons as pixels and PNG files.

#include "IconImage.h"

#include <Errors.h>
#include <InterfaceDefs.h>

#include <png.h>

namespace {

void AppendToString(png_structp png, png_bytep bytes, png_size_t length)
{
	std::string* out = static_cast<std::string*>(png_get_io_ptr(png));
	out->append(reinterpret_cast<const char*>(bytes), length);
}

void FlushNothing(png_structp) {}

// Plain C data only between setjmp and a possible longjmp.
bool Encode(const rgb_color* pixels, int32 width, int32 height, png_bytep row, std::string* out)
{
	png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
	if (png == NULL)
		return false;
	png_infop info = png_create_info_struct(png);
	if (info == NULL) {
		png_destroy_write_struct(&png, NULL);
		return false;
	}
	if (setjmp(png_jmpbuf(png))) {
		png_destroy_write_struct(&png, &info);
		return false;
	}
	png_set_write_fn(png, out, AppendToString, FlushNothing);
	png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
	             PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
	png_write_info(png, info);
	for (int32 y = 0; y < height; y++) {
		for (int32 x = 0; x < width; x++) {
			const rgb_color color = pixels[y * width + x];
			png_bytep pixel = row + x * 4;
			pixel[0] = color.red;
			pixel[1] = color.green;
			pixel[2] = color.blue;
			pixel[3] = color.alpha;
		}
		png_write_row(png, row);
	}
	png_write_end(png, NULL);
	png_destroy_write_struct(&png, &info);
	return true;
}

} // namespace

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
	png.clear();
	std::vector<png_byte> row(size_t(width) * 4);
	return Encode(pixels.data(), width, height, row.data(), &png) ? B_OK : B_ERROR;
}
