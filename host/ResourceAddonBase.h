// BResourceAddonBase: what add-ons and editors share: access to the host's
// document under its reader-writer lock, and the handler that receives the
// host's change notices. Owned by whoever owns the derived object; the locks
// may be taken on any thread.
#ifndef _RESOURCE_ADDON_BASE_H
#define _RESOURCE_ADDON_BASE_H

#include <BeBuild.h>
#include <SupportDefs.h>

#include <ResourceAddonArgs.h>

class BHandler;
class BResourceCollection;

// The change notice posted to a change target: the pending changes are
// fetched with BResourceCollection::GetNextChange.
enum
{
	B_RESOURCE_CHANGE_NOTICE = 'RDCG'
};

class _EXPORT BResourceAddonBase
{
public:
	explicit BResourceAddonBase(const BResourceAddonArgs& args);
	virtual ~BResourceAddonBase();

	// NULL when the host refuses the lock: skip the work.
	const BResourceCollection* ReadLock() const;
	void ReadUnlock(const BResourceCollection* collection) const;
	// undoName labels the undoable step made of every change under the lock.
	BResourceCollection* WriteLock(const char* undoName = NULL) const;
	void WriteUnlock(BResourceCollection* collection) const;

	// From a non-NULL target on, this base watches every item of the
	// document; NULL stops watching.
	void SetChangeTarget(BHandler* target);
	BHandler* ChangeTarget() const;

	const BResourceAddonArgs& AddonArgs() const;

private:
	BResourceAddonBase(const BResourceAddonBase&);
	BResourceAddonBase& operator=(const BResourceAddonBase&);

	BResourceAddonArgs fArgs;
	BHandler* fChangeTarget;
};

#endif // _RESOURCE_ADDON_BASE_H
