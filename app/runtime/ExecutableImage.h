// ExecutableImage: the image of an ELF file (32 or 64 bits, either byte
// order) or a PEF container, as far as its headers describe it, and where
// resources appended after it start. Reads the headers from a byte buffer
// and never changes them. Plain data, owned by whoever reads a file; any
// one thread.
#ifndef EXECUTABLE_IMAGE_H
#define EXECUTABLE_IMAGE_H

#include <SupportDefs.h>

#include <string>

class ExecutableImage
{
public:
	enum Format
	{
		kElf32,
		kElf64,
		kPef // big-endian
	};

	// Whether the bytes start as an ELF file ("\x7f" "ELF") or a PEF
	// container ("Joy!peff") does; Locate decides whether they are one.
	static bool HasMagic(const void* bytes, size_t length);

	// Reads the headers of a file that HasMagic accepts. On failure
	// ErrorMessage() says, in one line, which structure at which file
	// offset is wrong: a header that points past the end of the file, or
	// one the format does not allow.
	status_t Locate(const void* bytes, size_t length);

	Format FileFormat() const { return fFormat; }
	// The byte order of the headers, and of the resources after them.
	bool IsBigEndian() const { return fBigEndian; }
	// Where the resources header starts, or would start: the image's end,
	// aligned as the format wants it. At or past the end of the file, the
	// file holds no resources.
	uint64 ResourcesOffset() const { return fResourcesOffset; }
	// The format and what the file is for, e.g. "ELF64 executable",
	// "ELF32 shared library", "PEF container".
	std::string KindName() const;

	const std::string& ErrorMessage() const { return fError; }

private:
	status_t LocateInElf(const uint8* file, uint64 length);
	status_t LocateInPef(const uint8* file, uint64 length);
	status_t Fail(const std::string& structure, uint64 fileOffset, const std::string& problem);

	Format fFormat = kElf32;
	bool fBigEndian = false;
	uint16 fElfType = 0;
	bool fHasInterpreter = false;
	uint64 fResourcesOffset = 0;
	std::string fError;
};

#endif // EXECUTABLE_IMAGE_H
