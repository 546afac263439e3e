// zyn-rc's winresrc.h: everything a resource script may need from the platform.
#ifndef ZYN_RC_WINRESRC_H
#define ZYN_RC_WINRESRC_H
#include <winuser.h>
#include <winnt.h>
#include <commctrl.h>
#include <dlgs.h>
#include <winver.h>
#endif
