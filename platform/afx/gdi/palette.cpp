#include "platform/afx/gdi/palette.h"

IMPLEMENT_DYNAMIC(CPalette, CGdiObject)

CPalette* CPalette::FromHandle(HPALETTE hPalette)
{
    return static_cast<CPalette*>(FromHandleAs(hPalette, RUNTIME_CLASS(CPalette)));
}
