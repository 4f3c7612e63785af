// BFullItemEditor: an editor that fills a window of the host for one item,
// its primary item. Made by an add-on's MakeFullEditor and owned by the host,
// which places View() in a window and deletes the editor through its virtual
// destructor. Its view runs on that window's thread.
#ifndef _FULL_ITEM_EDITOR_H
#define _FULL_ITEM_EDITOR_H

#include <BeBuild.h>
#include <SupportDefs.h>

#include <ResourceAddonBase.h>
#include <ResourceHandle.h>

class BHandler;
class BMenu;
class BMessage;
class BView;

class _EXPORT BFullItemEditor : public BResourceAddonBase
{
public:
	// changeTarget, when not NULL, becomes the change target at once.
	BFullItemEditor(const BResourceAddonArgs& args, BResourceHandle item,
	                BHandler* changeTarget = NULL);
	virtual ~BFullItemEditor();

	const BResourceHandle& PrimaryItem() const;
	BResourceHandle& PrimaryItem();
	void SetPrimaryItem(BResourceHandle item);

	virtual void DataChanged(BResourceHandle& item);
	// Whether the editor holds changes it has not written to the item yet.
	virtual bool HasOpenChanges() const;
	virtual status_t ApplyChanges();
	// Edits another item from now on.
	virtual status_t Retarget(BResourceHandle item);
	virtual BView* View() = 0;
	// Carries out the host's Edit menu command index; B_ERROR when the
	// editor does not handle it.
	virtual status_t EditMenuItem(int32 index);
	// The editor's own n-th menu for the host's menu bar, or NULL.
	virtual BMenu* CustomMenu(int32 index);
	virtual status_t GetConfiguration(BMessage* into) const;
	virtual status_t SetConfiguration(const BMessage* from);

private:
	BResourceHandle fPrimaryItem;
};

#endif // _FULL_ITEM_EDITOR_H
