#include <ResourceCollection.h>

#include "Document.h"

BResourceCollection::BResourceCollection(Document* document) : fDocument(document) {}

BResourceCollection::~BResourceCollection() {}

BResourceHandle BResourceCollection::GetNextChange(BResourceAddonBase* who, uint32* changes) const
{
	uint32 bits = 0;
	BResourceHandle item = fDocument->TakeNextChange(who, &bits);
	if (changes != NULL)
		*changes = bits;
	return item;
}

const BResourceItem* BResourceCollection::ReadItem(const BResourceHandle& item) const
{
	return fDocument->Resolve(item);
}

BResourceItem* BResourceCollection::WriteItem(const BResourceHandle& item, BResourceAddonBase* who)
{
	BResourceItem* resolved = fDocument->Resolve(item);
	if (resolved != NULL)
		fDocument->BeginItemWrite(resolved, who);
	return resolved;
}
