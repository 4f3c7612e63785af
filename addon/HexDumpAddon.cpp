#include "HexDumpAddon.h"

#include <ResourceAddonArgs.h>
#include <ResourceHandle.h>
#include <SupportDefs.h>

#include "HexDumpFullEditor.h"

HexDumpAddon::HexDumpAddon(const BResourceAddonArgs& args) : BResourceAddon(args) {}

HexDumpAddon::~HexDumpAddon() {}

float HexDumpAddon::QuickQuality(const BResourceItem*) const
{
	// Low on purpose: any add-on that knows the type does better.
	return 0.01f;
}

float HexDumpAddon::PreciseQuality(const BResourceItem* item) const
{
	return QuickQuality(item);
}

BMiniItemEditor* HexDumpAddon::MakeMiniEditor(const BResourceAddonArgs&, BResourceHandle,
                                              const BMessage*)
{
	return NULL;
}

BFullItemEditor* HexDumpAddon::MakeFullEditor(const BResourceAddonArgs& args, BResourceHandle item,
                                              const BMessage*)
{
	return new HexDumpFullEditor(args, item);
}
