#include <ResourceAddon.h>

#include <Errors.h>

BResourceAddon::BResourceAddon(const BResourceAddonArgs& args) : BResourceAddonBase(args) {}

BResourceAddon::~BResourceAddon() {}

void BResourceAddon::DataChanged(BResourceHandle&) {}

status_t BResourceAddon::GetNthGenerateInfo(int32, BMessage*) const
{
	return B_BAD_INDEX;
}

status_t BResourceAddon::GenerateResource(BResourceHandle*, const BMessage*, int32, const char*,
                                          bool, BResourceCollection::conflict_resolution)
{
	return B_ERROR;
}

float BResourceAddon::QuickQuality(const BResourceItem*) const
{
	return 0;
}

float BResourceAddon::PreciseQuality(const BResourceItem* item) const
{
	return QuickQuality(item);
}

BMiniItemEditor* BResourceAddon::MakeMiniEditor(const BResourceAddonArgs&, BResourceHandle,
                                                const BMessage*)
{
	return NULL;
}

BFullItemEditor* BResourceAddon::MakeFullEditor(const BResourceAddonArgs&, BResourceHandle,
                                                const BMessage*)
{
	return NULL;
}

float BResourceAddon::PasteQuality(const BMessage*) const
{
	return 0;
}

status_t BResourceAddon::HandlePaste(const BMessage*)
{
	return B_ERROR;
}

float BResourceAddon::DropQuality(const BMessage*) const
{
	return 0;
}

status_t BResourceAddon::HandleDrop(const BMessage*)
{
	return B_ERROR;
}

float BResourceAddon::BufferQuality(BPositionIO&, const char*, entry_ref*) const
{
	return 0;
}

status_t BResourceAddon::HandleBuffer(BPositionIO&, const char*, entry_ref*)
{
	return B_ERROR;
}
