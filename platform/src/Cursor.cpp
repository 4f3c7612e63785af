// BCursor and the predefined pointer shapes.
#include <Cursor.h>

#include "Backend.h"
#include "KitAccess.h"

BCursor::BCursor(int32 shape) : fShape(shape) {}

BCursor::~BCursor() {}

const BCursor* B_CURSOR_SYSTEM_DEFAULT =
    BPrivate::KitAccess::MakeCursor(BPrivate::kSystemDefaultCursor);
const BCursor* B_CURSOR_I_BEAM = BPrivate::KitAccess::MakeCursor(BPrivate::kIBeamCursor);
