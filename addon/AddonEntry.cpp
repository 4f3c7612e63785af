// The image's entry: the host asks for add-on n = 0, 1, ... until NULL.

#include <BeBuild.h>
#include <ResourceAddon.h>
#include <ResourceAddonArgs.h>
#include <SupportDefs.h>
#include <image.h>

#include "HexDumpAddon.h"

extern "C" _EXPORT BResourceAddon* make_nth_tessary(int32 n, image_id,
                                                    const BResourceAddonArgs& args)
{
	if (n != 0)
		return NULL;
	return new HexDumpAddon(args);
}
