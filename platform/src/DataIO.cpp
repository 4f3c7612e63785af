// BDataIO, BPositionIO, BMemoryIO and BMallocIO.
#include <DataIO.h>

#include <algorithm>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

// The position a Seek asks for, or -1 when it would lie before the start.
off_t SeekTarget(off_t position, uint32 seekMode, off_t current, off_t end)
{
	off_t target;
	switch (seekMode) {
	case SEEK_SET:
		target = position;
		break;
	case SEEK_CUR:
		target = current + position;
		break;
	case SEEK_END:
		target = end + position;
		break;
	default:
		return -1;
	}
	return target < 0 ? -1 : target;
}

} // namespace

BDataIO::BDataIO() {}

BDataIO::~BDataIO() {}

BPositionIO::BPositionIO() {}

BPositionIO::~BPositionIO() {}

ssize_t BPositionIO::Read(void* buffer, size_t size)
{
	off_t position = Position();
	ssize_t result = ReadAt(position, buffer, size);
	if (result > 0)
		Seek(position + result, SEEK_SET);
	return result;
}

ssize_t BPositionIO::Write(const void* buffer, size_t size)
{
	off_t position = Position();
	ssize_t result = WriteAt(position, buffer, size);
	if (result > 0)
		Seek(position + result, SEEK_SET);
	return result;
}

status_t BPositionIO::SetSize(off_t)
{
	return B_ERROR;
}

// #pragma mark - BMemoryIO

BMemoryIO::BMemoryIO(void* data, size_t length)
    : fReadOnly(false), fBuffer((char*)data), fLength(length), fBufferSize(length), fPosition(0)
{
}

BMemoryIO::BMemoryIO(const void* data, size_t length)
    : fReadOnly(true), fBuffer((char*)data), fLength(length), fBufferSize(length), fPosition(0)
{
}

BMemoryIO::~BMemoryIO() {}

ssize_t BMemoryIO::ReadAt(off_t position, void* buffer, size_t size)
{
	if (buffer == NULL || position < 0)
		return B_BAD_VALUE;
	if (size_t(position) >= fLength)
		return 0;
	size_t count = std::min(size, fLength - size_t(position));
	memcpy(buffer, fBuffer + position, count);
	return ssize_t(count);
}

ssize_t BMemoryIO::WriteAt(off_t position, const void* buffer, size_t size)
{
	if (fReadOnly)
		return B_NOT_ALLOWED;
	if (buffer == NULL || position < 0)
		return B_BAD_VALUE;
	if (size_t(position) >= fBufferSize)
		return 0;
	size_t count = std::min(size, fBufferSize - size_t(position));
	memcpy(fBuffer + position, buffer, count);
	fLength = std::max(fLength, size_t(position) + count);
	return ssize_t(count);
}

off_t BMemoryIO::Seek(off_t position, uint32 seekMode)
{
	off_t target = SeekTarget(position, seekMode, fPosition, off_t(fLength));
	if (target < 0)
		return B_BAD_VALUE;
	fPosition = target;
	return fPosition;
}

off_t BMemoryIO::Position() const
{
	return fPosition;
}

status_t BMemoryIO::SetSize(off_t size)
{
	if (fReadOnly)
		return B_NOT_ALLOWED;
	if (size < 0 || size_t(size) > fBufferSize)
		return B_ERROR;
	fLength = size_t(size);
	return B_OK;
}

// #pragma mark - BMallocIO

BMallocIO::BMallocIO() : fBlockSize(256), fMallocSize(0), fLength(0), fData(NULL), fPosition(0) {}

BMallocIO::~BMallocIO()
{
	free(fData);
}

ssize_t BMallocIO::ReadAt(off_t position, void* buffer, size_t size)
{
	if (buffer == NULL || position < 0)
		return B_BAD_VALUE;
	if (size_t(position) >= fLength)
		return 0;
	size_t count = std::min(size, fLength - size_t(position));
	memcpy(buffer, fData + position, count);
	return ssize_t(count);
}

ssize_t BMallocIO::WriteAt(off_t position, const void* buffer, size_t size)
{
	if (buffer == NULL || position < 0)
		return B_BAD_VALUE;
	if (size == 0)
		return 0;
	size_t end = size_t(position) + size;
	if (end > fLength) {
		status_t status = _Reserve(end);
		if (status != B_OK)
			return status;
		// The gap between the old end and position reads as zeros.
		if (size_t(position) > fLength)
			memset(fData + fLength, 0, size_t(position) - fLength);
		fLength = end;
	}
	memmove(fData + position, buffer, size);
	return ssize_t(size);
}

off_t BMallocIO::Seek(off_t position, uint32 seekMode)
{
	off_t target = SeekTarget(position, seekMode, fPosition, off_t(fLength));
	if (target < 0)
		return B_BAD_VALUE;
	fPosition = target;
	return fPosition;
}

off_t BMallocIO::Position() const
{
	return fPosition;
}

status_t BMallocIO::SetSize(off_t size)
{
	if (size < 0)
		return B_BAD_VALUE;
	if (size == 0) {
		free(fData);
		fData = NULL;
		fMallocSize = 0;
		fLength = 0;
		return B_OK;
	}
	status_t status = _Reserve(size_t(size));
	if (status != B_OK)
		return status;
	if (size_t(size) > fLength)
		memset(fData + fLength, 0, size_t(size) - fLength);
	fLength = size_t(size);
	return B_OK;
}

void BMallocIO::SetBlockSize(size_t blockSize)
{
	fBlockSize = blockSize == 0 ? 1 : blockSize;
}

const void* BMallocIO::Buffer() const
{
	return fData;
}

size_t BMallocIO::BufferLength() const
{
	return fLength;
}

// Makes room for size bytes, the allocation rounded up to the block size.
status_t BMallocIO::_Reserve(size_t size)
{
	if (size <= fMallocSize)
		return B_OK;
	size_t newSize = (size + fBlockSize - 1) / fBlockSize * fBlockSize;
	char* data = (char*)realloc(fData, newSize);
	if (data == NULL)
		return B_NO_MEMORY;
	fData = data;
	fMallocSize = newSize;
	return B_OK;
}
