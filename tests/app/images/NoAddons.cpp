// A test image whose entry offers no add-on at all.
#include <ResourceAddon.h>

extern "C" _EXPORT BResourceAddon* make_nth_tessary(int32, image_id, const BResourceAddonArgs&)
{
	return NULL;
}
