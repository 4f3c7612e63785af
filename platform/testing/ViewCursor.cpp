// The pointer shape a view has chosen, read from its state.
#include "PlatformTesting.h"

#include <View.h>

#include "KitAccess.h"

namespace PlatformTesting {

const BCursor* ViewCursor(const BView* view)
{
	return BPrivate::KitAccess::State(view).cursor;
}

} // namespace PlatformTesting
