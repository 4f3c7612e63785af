// Writes a PixelBuffer as an RGBA PNG file. Used by headless frame dumps and
// the testing library; any thread, the buffer locked by the caller.
#ifndef PNG_WRITER_H
#define PNG_WRITER_H

#include <SupportDefs.h>

#include "PixelBuffer.h"

// The file appears complete or not at all: the PNG is written to a temporary
// file beside path and renamed over it. B_OK, B_BAD_VALUE for an empty
// buffer, or the failure (B_ENTRY_NOT_FOUND for a missing directory,
// B_PERMISSION_DENIED, B_IO_ERROR...).
status_t WritePng(const PixelBuffer& pixels, const char* path);

#endif // PNG_WRITER_H
