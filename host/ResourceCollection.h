// BResourceCollection: the items of one host document as handed out under
// the host's locks: read-only under ReadLock, writable under WriteLock. Owned
// by the document; valid only between a lock and its unlock, on the thread
// that took the lock.
#ifndef _RESOURCE_COLLECTION_H
#define _RESOURCE_COLLECTION_H

#include <BeBuild.h>
#include <SupportDefs.h>

#include <ResourceHandle.h>

class BResourceAddonBase;
class BResourceItem;
class Document;

// Change bits reported by GetNextChange.
enum
{
	B_RESOURCE_DATA_CHANGED = 0x08
};

class _EXPORT BResourceCollection
{
public:
	// How a new item whose type and id are already taken is resolved.
	enum conflict_resolution
	{
		B_ASK_USER_ON_CONFLICT = 0,
		B_KEEP_OLD_ON_CONFLICT,
		B_REPLACE_OLD_ON_CONFLICT,
		B_RENAME_NEW_ON_CONFLICT
	};

	// The next item changed for who, with its change bits OR-ed together,
	// taken off who's queue; an invalid handle when none is left.
	BResourceHandle GetNextChange(BResourceAddonBase* who, uint32* changes) const;

	virtual const BResourceItem* ReadItem(const BResourceHandle& item) const;
	// Changes made to the returned item are recorded in the open undo step
	// and reported to every watcher but who.
	virtual BResourceItem* WriteItem(const BResourceHandle& item, BResourceAddonBase* who);

private:
	friend class Document;

	explicit BResourceCollection(Document* document);
	virtual ~BResourceCollection();
	BResourceCollection(const BResourceCollection&);
	BResourceCollection& operator=(const BResourceCollection&);

	Document* fDocument;
};

#endif // _RESOURCE_COLLECTION_H
