// Loading bitmaps from the resource chain. There are no bitmap resources yet: these
// fail cleanly until the resource loader exists.
#include "platform/afx/gdi/bitmap.h"
#include "platform/base/lasterror.h"

BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName)
{
    (void)lpszResourceName;
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return FALSE;
}

BOOL CBitmap::LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCE(nIDResource)); }

BOOL CBitmap::LoadOEMBitmap(UINT nIDBitmap)
{
    (void)nIDBitmap;
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return FALSE;
}
