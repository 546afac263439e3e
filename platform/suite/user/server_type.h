#pragma once
// The display names of the database server types an installation runs on (the values of
// the system's ZynDBServerType: 0 stand-alone, 3 enterprise master, 4 enterprise region),
// as messages to the operator name them.
#include <cstdint>

#include "platform/base/cstring.h"

// The name of a server type; a type without a name reads "unknown server type (n)".
CString ZynGetDBServerTypeString(int32_t serverType);
