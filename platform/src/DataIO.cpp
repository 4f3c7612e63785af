// BDataIO, BPositionIO and BMallocIO.
#include <DataIO.h>

#include <stdlib.h>
#include <string.h>

namespace {

// The allocation grows in multiples of this.
const size_t kBlockSize = 256;

} // namespace

BDataIO::BDataIO() {}

BDataIO::~BDataIO() {}

BPositionIO::BPositionIO() {}

BPositionIO::~BPositionIO() {}

status_t BPositionIO::SetSize(off_t)
{
	return B_ERROR;
}

// #pragma mark - BMallocIO

BMallocIO::BMallocIO() : fMallocSize(0), fLength(0), fData(NULL) {}

BMallocIO::~BMallocIO()
{
	free(fData);
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
	size_t newSize = (size + kBlockSize - 1) / kBlockSize * kBlockSize;
	char* data = (char*)realloc(fData, newSize);
	if (data == NULL)
		return B_NO_MEMORY;
	fData = data;
	fMallocSize = newSize;
	return B_OK;
}
