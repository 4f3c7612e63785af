// BResourceAddon: one add-on of an add-on image: it tells how well it
// handles an item and builds editors for items. Made by the image's entry
// make_nth_tessary, owned by the host, which deletes it before unloading the
// image. The defaults decline everything; an add-on overrides what it offers.
#ifndef _RESOURCE_ADDON_H
#define _RESOURCE_ADDON_H

#include <BeBuild.h>
#include <image.h>
#include <SupportDefs.h>

#include <ResourceAddonBase.h>
#include <ResourceCollection.h>
#include <ResourceHandle.h>

class BFullItemEditor;
class BMessage;
class BMiniItemEditor;
class BPositionIO;
class BResourceItem;
struct entry_ref;

class _EXPORT BResourceAddon : public BResourceAddonBase
{
public:
	explicit BResourceAddon(const BResourceAddonArgs& args);
	virtual ~BResourceAddon();

	// The item's data changed outside the add-on.
	virtual void DataChanged(BResourceHandle& item);

	// Describes the n-th kind of new item the add-on can generate;
	// B_BAD_INDEX when there is none.
	virtual status_t GetNthGenerateInfo(int32 n, BMessage* info) const;
	virtual status_t GenerateResource(BResourceHandle* outItem, const BMessage* info, int32 id,
	                                  const char* name, bool makeSelected,
	                                  BResourceCollection::conflict_resolution resolution);

	// How well the add-on handles an item: 0 not at all, higher is better.
	// The quick answer may not look at the data; the precise one may.
	virtual float QuickQuality(const BResourceItem* item) const;
	virtual float PreciseQuality(const BResourceItem* item) const;

	virtual BMiniItemEditor* MakeMiniEditor(const BResourceAddonArgs& args, BResourceHandle item,
	                                        const BMessage* configuration);
	virtual BFullItemEditor* MakeFullEditor(const BResourceAddonArgs& args, BResourceHandle item,
	                                        const BMessage* configuration);

	virtual float PasteQuality(const BMessage* clip) const;
	virtual status_t HandlePaste(const BMessage* clip);
	virtual float DropQuality(const BMessage* drop) const;
	virtual status_t HandleDrop(const BMessage* drop);
	virtual float BufferQuality(BPositionIO& buffer, const char* mimeType, entry_ref* ref) const;
	virtual status_t HandleBuffer(BPositionIO& buffer, const char* mimeType, entry_ref* ref);
};

// The entry every add-on image exports: the n-th add-on of the image, or
// NULL past the last. you is the image's id as the host loaded it.
typedef BResourceAddon* (*make_nth_tessary_func)(int32 n, image_id you,
                                                 const BResourceAddonArgs& args);

#endif // _RESOURCE_ADDON_H
