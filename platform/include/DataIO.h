// Byte streams: BDataIO (sequential), BPositionIO (positioned), BMemoryIO (over
// a caller's buffer) and BMallocIO (over a buffer of its own that grows). Owned
// by their creator; not thread-safe.
#ifndef _DATA_IO_H
#define _DATA_IO_H

#include <SupportDefs.h>

class _IMPEXP_BE BDataIO
{
public:
	BDataIO();
	virtual ~BDataIO();

	virtual ssize_t Read(void* buffer, size_t size) = 0;
	virtual ssize_t Write(const void* buffer, size_t size) = 0;

private:
	BDataIO(const BDataIO&);
	BDataIO& operator=(const BDataIO&);
};

class _IMPEXP_BE BPositionIO : public BDataIO
{
public:
	BPositionIO();
	virtual ~BPositionIO();

	// At Position(), which then moves past what was transferred.
	virtual ssize_t Read(void* buffer, size_t size);
	virtual ssize_t Write(const void* buffer, size_t size);

	virtual ssize_t ReadAt(off_t position, void* buffer, size_t size) = 0;
	virtual ssize_t WriteAt(off_t position, const void* buffer, size_t size) = 0;

	// seekMode: SEEK_SET, SEEK_CUR or SEEK_END. Returns the new position.
	virtual off_t Seek(off_t position, uint32 seekMode) = 0;
	virtual off_t Position() const = 0;

	virtual status_t SetSize(off_t size);
};

class _IMPEXP_BE BMemoryIO : public BPositionIO
{
public:
	BMemoryIO(void* data, size_t length);
	BMemoryIO(const void* data, size_t length); // read-only
	virtual ~BMemoryIO();

	virtual ssize_t ReadAt(off_t position, void* buffer, size_t size);
	virtual ssize_t WriteAt(off_t position, const void* buffer, size_t size);
	virtual off_t Seek(off_t position, uint32 seekMode);
	virtual off_t Position() const;
	// Only shrinks, or grows back up to the buffer's length.
	virtual status_t SetSize(off_t size);

private:
	bool fReadOnly;
	char* fBuffer;
	size_t fLength;
	size_t fBufferSize;
	off_t fPosition;
};

class _IMPEXP_BE BMallocIO : public BPositionIO
{
public:
	BMallocIO();
	virtual ~BMallocIO();

	virtual ssize_t ReadAt(off_t position, void* buffer, size_t size);
	// Grows the data as needed; a gap before position reads as zero bytes.
	// buffer may lie within the data itself: the bytes are moved as by
	// memmove, so a run can be shifted in place.
	virtual ssize_t WriteAt(off_t position, const void* buffer, size_t size);
	virtual off_t Seek(off_t position, uint32 seekMode);
	virtual off_t Position() const;
	// Sets the data length exactly; 0 frees the buffer.
	virtual status_t SetSize(off_t size);

	// The buffer grows in multiples of this (256 by default).
	void SetBlockSize(size_t blockSize);

	// NULL until something is allocated.
	const void* Buffer() const;
	// The length of the data, not of the allocation.
	size_t BufferLength() const;

private:
	BMallocIO(const BMallocIO&);
	BMallocIO& operator=(const BMallocIO&);

	status_t _Reserve(size_t size);

	size_t fBlockSize;
	size_t fMallocSize;
	size_t fLength;
	char* fData;
	off_t fPosition;
};

#endif // _DATA_IO_H
