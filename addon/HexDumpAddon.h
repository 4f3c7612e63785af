// HexDumpAddon: the image's one add-on. It claims every item at the same low
// quality, whatever its type, and builds a HexDumpFullEditor for any item;
// it has no mini editor and no state of its own. Made by make_nth_tessary,
// owned by the host; its hooks may run on any host thread.
#ifndef HEX_DUMP_ADDON_H
#define HEX_DUMP_ADDON_H

#include <ResourceAddon.h>
#include <ResourceAddonArgs.h>
#include <ResourceHandle.h>

class BFullItemEditor;
class BMessage;
class BMiniItemEditor;
class BResourceItem;

class HexDumpAddon : public BResourceAddon
{
public:
	explicit HexDumpAddon(const BResourceAddonArgs& args);
	virtual ~HexDumpAddon();

	virtual float QuickQuality(const BResourceItem* item) const;
	virtual float PreciseQuality(const BResourceItem* item) const;
	virtual BMiniItemEditor* MakeMiniEditor(const BResourceAddonArgs& args, BResourceHandle item,
	                                        const BMessage* configuration);
	virtual BFullItemEditor* MakeFullEditor(const BResourceAddonArgs& args, BResourceHandle item,
	                                        const BMessage* configuration);
};

#endif // HEX_DUMP_ADDON_H
