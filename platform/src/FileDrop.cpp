// The message of a drop of files.
#include "FileDrop.h"

#include <AppDefs.h>
#include <Entry.h>

#include "KitAccess.h"

namespace BPrivate {

status_t MakeFileDrop(BPoint screenPoint, const std::vector<std::string>& paths, BMessage* message)
{
	if (paths.empty() || message == NULL)
		return B_BAD_VALUE;
	BMessage drop(B_SIMPLE_DATA);
	for (const std::string& path : paths) {
		entry_ref ref;
		if (status_t status = get_ref_for_path(path.c_str(), &ref); status != B_OK)
			return status;
		drop.AddRef("refs", &ref);
	}
	KitAccess::MarkDropped(&drop, screenPoint);
	*message = drop;
	return B_OK;
}

} // namespace BPrivate
