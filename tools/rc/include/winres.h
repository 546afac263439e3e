// zyn-rc's winres.h: winresrc.h and IDC_STATIC, the ID of controls nobody addresses.
#ifndef ZYN_RC_WINRES_H
#define ZYN_RC_WINRES_H
#include <winresrc.h>
#ifdef IDC_STATIC
#undef IDC_STATIC
#endif
#define IDC_STATIC (-1)
#endif
