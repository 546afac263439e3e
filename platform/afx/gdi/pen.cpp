#include "platform/afx/gdi/pen.h"

#include "platform/base/exception.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/wingdi.h"

IMPLEMENT_DYNAMIC(CPen, CGdiObject)

CPen* CPen::FromHandle(HPEN hPen) { return static_cast<CPen*>(FromHandleAs(hPen, RUNTIME_CLASS(CPen))); }

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor)
{
    if (!CreatePen(nPenStyle, nWidth, crColor))
        AfxThrowResourceException();
}

CPen::CPen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount, const DWORD* lpStyle)
{
    if (!CreatePen(nPenStyle, nWidth, pLogBrush, nStyleCount, lpStyle))
        AfxThrowResourceException();
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
{
    return AttachNew(::CreatePen(nPenStyle, nWidth, crColor));
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount, const DWORD* lpStyle)
{
    if (nStyleCount < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return AttachNew(::ExtCreatePen(static_cast<DWORD>(nPenStyle), static_cast<DWORD>(nWidth), pLogBrush,
        static_cast<DWORD>(nStyleCount), lpStyle));
}

BOOL CPen::CreatePenIndirect(const LOGPEN* lpLogPen) { return AttachNew(::CreatePenIndirect(lpLogPen)); }

int CPen::GetLogPen(LOGPEN* pLogPen) const { return ::GetObject(m_hObject, sizeof(LOGPEN), pLogPen); }

int CPen::GetExtLogPen(EXTLOGPEN* pLogPen) const { return ::GetObject(m_hObject, sizeof(EXTLOGPEN), pLogPen); }
