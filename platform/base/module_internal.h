#pragma once
// The link between the module table and the resource store (both in base).
#include <cstdint>

#include "platform/base/wintypes.h"

namespace zyn::base::detail {

// The handle value of a live module; null means the executable. 0 for a stale or
// foreign handle.
uint32_t ResolveModule(HMODULE h);

// Called by the module table after a module has left it (never under its lock): frees
// the module's resources and removes it from the resource chain.
void OnModuleUnloaded(uint32_t module);

} // namespace zyn::base::detail
