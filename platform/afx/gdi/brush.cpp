#include "platform/afx/gdi/brush.h"

#include "platform/afx/gdi/bitmap.h"
#include "platform/base/exception.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/wingdi.h"

IMPLEMENT_DYNAMIC(CBrush, CGdiObject)

CBrush* CBrush::FromHandle(HBRUSH hBrush) { return static_cast<CBrush*>(FromHandleAs(hBrush, RUNTIME_CLASS(CBrush))); }

CBrush::CBrush(COLORREF crColor)
{
    if (!CreateSolidBrush(crColor))
        AfxThrowResourceException();
}

CBrush::CBrush(int nIndex, COLORREF crColor)
{
    if (!CreateHatchBrush(nIndex, crColor))
        AfxThrowResourceException();
}

CBrush::CBrush(CBitmap* pBitmap)
{
    if (!CreatePatternBrush(pBitmap))
        AfxThrowResourceException();
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor) { return AttachNew(::CreateSolidBrush(crColor)); }

BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor) { return AttachNew(::CreateHatchBrush(nIndex, crColor)); }

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush) { return AttachNew(::CreateBrushIndirect(lpLogBrush)); }

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap)
{
    if (!pBitmap || !pBitmap->m_hObject) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return AttachNew(::CreatePatternBrush(static_cast<HBITMAP>(pBitmap->m_hObject)));
}

BOOL CBrush::CreateSysColorBrush(int nIndex) { return AttachNew(::GetSysColorBrush(nIndex)); }

int CBrush::GetLogBrush(LOGBRUSH* pLogBrush) const { return ::GetObject(m_hObject, sizeof(LOGBRUSH), pLogBrush); }
