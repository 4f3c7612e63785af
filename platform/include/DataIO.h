// Byte streams: BDataIO, BPositionIO (positioned) and BMallocIO (over a buffer
// of its own that grows). Owned by their creator; not thread-safe.
#ifndef _DATA_IO_H
#define _DATA_IO_H

#include <SupportDefs.h>

class _IMPEXP_BE BDataIO
{
public:
	BDataIO();
	virtual ~BDataIO();

private:
	BDataIO(const BDataIO&);
	BDataIO& operator=(const BDataIO&);
};

class _IMPEXP_BE BPositionIO : public BDataIO
{
public:
	BPositionIO();
	virtual ~BPositionIO();

	virtual ssize_t WriteAt(off_t position, const void* buffer, size_t size) = 0;
	virtual status_t SetSize(off_t size);
};

class _IMPEXP_BE BMallocIO : public BPositionIO
{
public:
	BMallocIO();
	virtual ~BMallocIO();

	// Grows the data as needed; a gap before position reads as zero bytes.
	// buffer may lie within the data itself: the bytes are moved as by
	// memmove, so a run can be shifted in place.
	virtual ssize_t WriteAt(off_t position, const void* buffer, size_t size);
	// Sets the data length exactly; 0 frees the buffer.
	virtual status_t SetSize(off_t size);

	// NULL until something is allocated.
	const void* Buffer() const;
	// The length of the data, not of the allocation.
	size_t BufferLength() const;

private:
	BMallocIO(const BMallocIO&);
	BMallocIO& operator=(const BMallocIO&);

	status_t _Reserve(size_t size);

	size_t fMallocSize;
	size_t fLength;
	char* fData;
};

#endif // _DATA_IO_H
