#include "platform/afx/gdi/rgn.h"

#include "platform/base/lasterror.h"
#include "platform/gdi/wingdi.h"

IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

namespace {
HRGN H(const CRgn* p) { return static_cast<HRGN>(p->m_hObject); }

bool NullArgument()
{
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
}
} // namespace

CRgn* CRgn::FromHandle(HRGN hRgn) { return static_cast<CRgn*>(FromHandleAs(hRgn, RUNTIME_CLASS(CRgn))); }

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) { return AttachNew(::CreateRectRgn(x1, y1, x2, y2)); }

BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect)
{
    if (!lpRect)
        return NullArgument();
    return AttachNew(::CreateRectRgnIndirect(lpRect));
}

BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2) { return AttachNew(::CreateEllipticRgn(x1, y1, x2, y2)); }

BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT lpRect)
{
    if (!lpRect)
        return NullArgument();
    return AttachNew(::CreateEllipticRgn(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom));
}

BOOL CRgn::CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode)
{
    return AttachNew(::CreatePolygonRgn(lpPoints, nCount, nMode));
}

BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3)
{
    return AttachNew(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
}

int CRgn::CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode)
{
    if (!pRgn1 || (!pRgn2 && nCombineMode != RGN_COPY)) {
        NullArgument();
        return ERROR_REGION;
    }
    return ::CombineRgn(H(this), H(pRgn1), pRgn2 ? H(pRgn2) : nullptr, nCombineMode);
}

int CRgn::CopyRgn(const CRgn* pRgnSrc) { return CombineRgn(pRgnSrc, nullptr, RGN_COPY); }

void CRgn::SetRectRgn(int x1, int y1, int x2, int y2) { ::SetRectRgn(H(this), x1, y1, x2, y2); }

void CRgn::SetRectRgn(LPCRECT lpRect)
{
    if (lpRect)
        ::SetRectRgn(H(this), lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    else
        NullArgument();
}

int CRgn::OffsetRgn(int x, int y) { return ::OffsetRgn(H(this), x, y); }

int CRgn::OffsetRgn(POINT point) { return OffsetRgn(point.x, point.y); }

int CRgn::GetRgnBox(LPRECT lpRect) const { return ::GetRgnBox(H(this), lpRect); }

BOOL CRgn::EqualRgn(const CRgn* pRgn) const
{
    if (!pRgn)
        return NullArgument();
    return ::EqualRgn(H(this), H(pRgn));
}

BOOL CRgn::PtInRegion(int x, int y) const { return ::PtInRegion(H(this), x, y); }

BOOL CRgn::PtInRegion(POINT point) const { return PtInRegion(point.x, point.y); }

BOOL CRgn::RectInRegion(LPCRECT lpRect) const
{
    if (!lpRect)
        return NullArgument();
    return ::RectInRegion(H(this), lpRect);
}
