#pragma once
// Data handed out through IDataObject::GetData belongs to the consumer, who frees it, so
// every producer here (the data source's cache, the data object's conversions, the
// clipboard's data object) gives each consumer a fresh copy of a global-memory block.
#include "platform/base/wintypes.h"

namespace zyn::ole {

// A new moveable block with the bytes of h, owned by the caller; null when h cannot be
// locked or the copy cannot be had (nothing is left allocated then).
HGLOBAL CopyGlobalBlock(HGLOBAL h);

} // namespace zyn::ole
