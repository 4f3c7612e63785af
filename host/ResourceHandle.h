// BResourceHandle: names one item of a host document. A value object:
// copied, compared and tested for validity on any thread; it reaches the item
// only through a collection that the host hands out under its locks.
#ifndef _RESOURCE_HANDLE_H
#define _RESOURCE_HANDLE_H

#include <BeBuild.h>
#include <SupportDefs.h>

class BResourceItem;

class _EXPORT BResourceHandle
{
public:
	// An invalid handle: names no item.
	BResourceHandle();
	BResourceHandle(const BResourceHandle& other);
	~BResourceHandle();
	BResourceHandle& operator=(const BResourceHandle& other);

	bool operator==(const BResourceHandle& other) const;
	bool operator!=(const BResourceHandle& other) const;

	bool IsValid() const;

private:
	friend class BResourceCollection;
	friend class Document;

	explicit BResourceHandle(BResourceItem* item);

	BResourceItem* fItem;
};

#endif // _RESOURCE_HANDLE_H
