// PNG output through libpng, written to a temporary file and renamed into place.
#include "PngWriter.h"

#include <png.h>

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

status_t FromErrno(int error)
{
	switch (error) {
	case ENOENT:
	case ENOTDIR:
		return B_ENTRY_NOT_FOUND;
	case EACCES:
	case EPERM:
	case EROFS:
		return B_PERMISSION_DENIED;
	case ENOSPC:
		return B_DEVICE_FULL;
	case ENOMEM:
		return B_NO_MEMORY;
	default:
		return B_IO_ERROR;
	}
}

// Encodes into an open file; false on any libpng error. Plain C data only
// between setjmp and a possible longjmp.
bool Encode(FILE* file, const PixelBuffer& pixels, uint8* row)
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
	png_init_io(png, file);
	png_set_IHDR(png, info, png_uint_32(pixels.Width()), png_uint_32(pixels.Height()), 8,
	             PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
	             PNG_FILTER_TYPE_DEFAULT);
	png_write_info(png, info);
	for (int32 y = 0; y < pixels.Height(); y++) {
		for (int32 x = 0; x < pixels.Width(); x++) {
			rgb_color color = pixels.PixelAt(x, y);
			uint8* out = row + size_t(x) * 4;
			out[0] = color.red;
			out[1] = color.green;
			out[2] = color.blue;
			out[3] = color.alpha;
		}
		png_write_row(png, row);
	}
	png_write_end(png, NULL);
	png_destroy_write_struct(&png, &info);
	return true;
}

} // namespace

status_t WritePng(const PixelBuffer& pixels, const char* path)
{
	if (path == NULL || pixels.Width() <= 0 || pixels.Height() <= 0)
		return B_BAD_VALUE;
	std::string temporary = std::string(path) + ".XXXXXX";
	int descriptor = mkstemp(temporary.data());
	if (descriptor < 0)
		return FromErrno(errno);
	FILE* file = fdopen(descriptor, "wb");
	if (file == NULL) {
		status_t status = FromErrno(errno);
		close(descriptor);
		unlink(temporary.c_str());
		return status;
	}
	std::vector<uint8> row(size_t(pixels.Width()) * 4);
	bool encoded = Encode(file, pixels, row.data());
	int flushError = fflush(file) != 0 ? errno : 0;
	bool closed = fclose(file) == 0;
	if (!encoded || flushError != 0 || !closed) {
		unlink(temporary.c_str());
		return flushError != 0 ? FromErrno(flushError) : B_IO_ERROR;
	}
	// mkstemp makes the file private; give it the usual permissions.
	mode_t mask = umask(0);
	umask(mask);
	chmod(temporary.c_str(), 0666 & ~mask);
	if (rename(temporary.c_str(), path) != 0) {
		status_t status = FromErrno(errno);
		unlink(temporary.c_str());
		return status;
	}
	return B_OK;
}
