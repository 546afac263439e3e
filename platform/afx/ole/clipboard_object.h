#pragma once
// A read-only data object over the window system's clipboard: each GetData opens the
// clipboard, copies the block of the format asked for into a new one the caller owns,
// and closes it again; the formats are the clipboard's at the time of the call.
#include "platform/com/dataobject.h"

namespace zyn::ole {
// A new data object (the caller owns the reference).
IDataObject* CreateClipboardDataObject();
} // namespace zyn::ole
