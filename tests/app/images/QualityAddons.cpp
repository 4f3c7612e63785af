// A test image with two add-ons: one that wants 'TEXT' items badly (0.5) and
// one that takes anything, but less than the hex dump does (0.005). Their
// editors have no view, which tells them apart from the hex dump's.
#include <FullItemEditor.h>
#include <ResourceAddon.h>
#include <ResourceItem.h>

namespace {

class ViewlessEditor : public BFullItemEditor
{
public:
	ViewlessEditor(const BResourceAddonArgs& args, BResourceHandle item)
	    : BFullItemEditor(args, item)
	{
	}
	virtual BView* View() { return NULL; }
};

class FixedQualityAddon : public BResourceAddon
{
public:
	FixedQualityAddon(const BResourceAddonArgs& args, type_code type, float quality)
	    : BResourceAddon(args), fType(type), fQuality(quality)
	{
	}

	virtual float QuickQuality(const BResourceItem* item) const
	{
		if (fType == 0)
			return fQuality;
		return item != NULL && item->Type() == fType ? fQuality : 0;
	}

	virtual BFullItemEditor* MakeFullEditor(const BResourceAddonArgs& args, BResourceHandle item,
	                                        const BMessage*)
	{
		return new ViewlessEditor(args, item);
	}

private:
	type_code fType;
	float fQuality;
};

} // namespace

extern "C" _EXPORT BResourceAddon* make_nth_tessary(int32 n, image_id,
                                                    const BResourceAddonArgs& args)
{
	switch (n) {
	case 0:
		return new FixedQualityAddon(args, 'TEXT', 0.5f);
	case 1:
		return new FixedQualityAddon(args, 0, 0.005f);
	default:
		return NULL;
	}
}
