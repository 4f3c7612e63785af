#include <ResourceAddonBase.h>

#include "Document.h"

BResourceAddonBase::BResourceAddonBase(const BResourceAddonArgs& args)
    : fArgs(args), fChangeTarget(NULL)
{
}

BResourceAddonBase::~BResourceAddonBase()
{
	if (Document* document = fArgs.HostDocument())
		document->RemoveWatcher(this);
}

const BResourceCollection* BResourceAddonBase::ReadLock() const
{
	Document* document = fArgs.HostDocument();
	return document != NULL ? document->LockForReading() : NULL;
}

void BResourceAddonBase::ReadUnlock(const BResourceCollection* collection) const
{
	Document* document = fArgs.HostDocument();
	if (document != NULL && collection != NULL)
		document->UnlockForReading();
}

BResourceCollection* BResourceAddonBase::WriteLock(const char* undoName) const
{
	Document* document = fArgs.HostDocument();
	return document != NULL ? document->LockForWriting(undoName) : NULL;
}

void BResourceAddonBase::WriteUnlock(BResourceCollection* collection) const
{
	Document* document = fArgs.HostDocument();
	if (document != NULL && collection != NULL)
		document->UnlockForWriting();
}

void BResourceAddonBase::SetChangeTarget(BHandler* target)
{
	fChangeTarget = target;
	if (Document* document = fArgs.HostDocument())
		document->SetWatcher(this, target);
}

BHandler* BResourceAddonBase::ChangeTarget() const
{
	return fChangeTarget;
}

const BResourceAddonArgs& BResourceAddonBase::AddonArgs() const
{
	return fArgs;
}
