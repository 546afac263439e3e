// zyn-rc's windows.h: as resource scripts see it, the resource constants alone.
#ifndef ZYN_RC_WINDOWS_H
#define ZYN_RC_WINDOWS_H
#include <winresrc.h>
#endif
