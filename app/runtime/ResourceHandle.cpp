#include <ResourceHandle.h>

BResourceHandle::BResourceHandle() : fItem(NULL) {}

BResourceHandle::BResourceHandle(BResourceItem* item) : fItem(item) {}

BResourceHandle::BResourceHandle(const BResourceHandle& other) : fItem(other.fItem) {}

BResourceHandle::~BResourceHandle() {}

BResourceHandle& BResourceHandle::operator=(const BResourceHandle& other)
{
	fItem = other.fItem;
	return *this;
}

bool BResourceHandle::operator==(const BResourceHandle& other) const
{
	return fItem == other.fItem;
}

bool BResourceHandle::operator!=(const BResourceHandle& other) const
{
	return fItem != other.fItem;
}

bool BResourceHandle::IsValid() const
{
	return fItem != NULL;
}
