#pragma once
// How the common controls make their window classes known. Each control registers its
// class registration with the ICC_ class sets that include it; InitCommonControlsEx
// (platform/gdi/builtin_modules.h) runs the registrations its sets ask for. The classes
// are also registered once when the library loads, as the system's own control library
// registers its classes when it is loaded, so a window of them can be created by class
// name without InitCommonControls.
#include "platform/base/wintypes.h"

namespace zyn::comctl {

// Adds a class registration that InitCommonControlsEx runs when one of `icc`'s bits is
// asked for; it is also run once at once.
void AddClassRegistration(DWORD icc, BOOL (*registerClass)());

// Runs the registrations for the sets in `icc`; FALSE when one of them failed.
BOOL RegisterClassSets(DWORD icc);

} // namespace zyn::comctl
