// CDC: the handle, selection, attributes, coordinates and clipping.
#include "platform/afx/gdi/dc.h"

#include <memory>

#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/gdi_maps.h"
#include "platform/afx/gdi/pen.h"
#include "platform/afx/gdi/rgn.h"
#include "platform/afx/gdi/temp_maps.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/wingdi.h"

IMPLEMENT_DYNCREATE(CDC, CObject)

using zyn::afx::SafeHandleOf;
using zyn::afx::detail::PermanentDcs;
using zyn::afx::detail::ThreadDcTemps;

namespace {

// Applies a setter to the output DC (when it is a separate DC) and to the attribute
// DC, answering the attribute DC's result, as the class library does.
template <class R, class F>
R SetOnBoth(const CDC& dc, R failure, F&& f)
{
    R r = failure;
    if (dc.m_hDC && dc.m_hDC != dc.m_hAttribDC)
        r = f(dc.m_hDC);
    if (dc.m_hAttribDC)
        r = f(dc.m_hAttribDC);
    if (!dc.m_hDC && !dc.m_hAttribDC)
        SetLastError(ERROR_INVALID_HANDLE);
    return r;
}

bool IsBitmap(HGDIOBJ h) { return h && ::GetObjectType(h) == OBJ_BITMAP; }
bool IsRegion(HGDIOBJ h) { return h && ::GetObjectType(h) == OBJ_REGION; }

} // namespace

// ---- the handle -------------------------------------------------------------------------

CDC::~CDC()
{
    if (m_hDC)
        ::DeleteDC(Detach());
    else
        Detach();
}

CDC* CDC::FromHandle(HDC hDC)
{
    if (!hDC)
        return nullptr;
    if (CDC* p = PermanentDcs().Find(hDC, RUNTIME_CLASS(CDC)))
        return p;
    auto& temps = ThreadDcTemps();
    if (CDC* t = temps.Find(hDC))
        return t;
    auto w = std::make_unique<CDC>();
    // Not Attach: a temporary is not an owner.
    w->m_hDC = hDC;
    w->m_hAttribDC = hDC;
    return temps.Add(hDC, std::move(w));
}

void CDC::DeleteTempMap() { zyn::afx::DeleteTempGdiObjects(); }

BOOL CDC::Attach(HDC hDC)
{
    if (!hDC || (m_hDC && m_hDC != hDC)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (m_hDC == hDC)
        return TRUE;
    m_hDC = hDC;
    m_hAttribDC = hDC;
    PermanentDcs().Add(hDC, this);
    return TRUE;
}

HDC CDC::Detach()
{
    const HDC h = m_hDC;
    if (h)
        PermanentDcs().Remove(h, this);
    m_hDC = nullptr;
    m_hAttribDC = nullptr;
    return h;
}

void CDC::SetAttribDC(HDC hDC) { m_hAttribDC = hDC; }

void CDC::SetOutputDC(HDC hDC)
{
    // The output DC is the one this object owns: keep the handle map in step.
    if (m_hDC)
        PermanentDcs().Remove(m_hDC, this);
    m_hDC = hDC;
    if (hDC)
        PermanentDcs().Add(hDC, this);
}

void CDC::ReleaseAttribDC() { m_hAttribDC = nullptr; }

void CDC::ReleaseOutputDC() { SetOutputDC(nullptr); }

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    if (m_hDC) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const HDC h = ::CreateCompatibleDC(zyn::afx::SafeHdcOf(pDC));
    if (!h)
        return FALSE;
    return Attach(h);
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return ::DeleteDC(Detach());
}

int CDC::SaveDC()
{
    int n = 0;
    if (m_hAttribDC)
        n = ::SaveDC(m_hAttribDC);
    else if (!m_hDC)
        SetLastError(ERROR_INVALID_HANDLE);
    // Two DCs can only be restored together through -1.
    if (m_hDC && m_hDC != m_hAttribDC && ::SaveDC(m_hDC) != 0)
        n = -1;
    return n;
}

BOOL CDC::RestoreDC(int nSavedDC)
{
    BOOL ok = TRUE;
    if (m_hDC && m_hDC != m_hAttribDC)
        ok = ::RestoreDC(m_hDC, nSavedDC);
    if (m_hAttribDC)
        ok = ::RestoreDC(m_hAttribDC, nSavedDC) && ok;
    if (!m_hDC && !m_hAttribDC) {
        SetLastError(ERROR_INVALID_HANDLE);
        ok = FALSE;
    }
    return ok;
}

int CDC::GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hAttribDC, nIndex); }

// ---- selection -----------------------------------------------------------------------------

HGDIOBJ CDC::SelectHandle(HGDIOBJ h)
{
    if (!h) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // A bitmap lives in one DC at a time: the output DC's.
    if (IsBitmap(h))
        return ::SelectObject(m_hDC, h);
    return SetOnBoth<HGDIOBJ>(*this, nullptr, [h](HDC dc) { return ::SelectObject(dc, h); });
}

CPen* CDC::SelectObject(CPen* pPen) { return CPen::FromHandle(static_cast<HPEN>(SelectHandle(SafeHandleOf(pPen)))); }

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    return CBrush::FromHandle(static_cast<HBRUSH>(SelectHandle(SafeHandleOf(pBrush))));
}

CFont* CDC::SelectObject(CFont* pFont)
{
    return CFont::FromHandle(static_cast<HFONT>(SelectHandle(SafeHandleOf(pFont))));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    const HGDIOBJ h = SafeHandleOf(pBitmap);
    if (!h) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, h)));
}

int CDC::SelectObject(CRgn* pRgn)
{
    if (!SafeHandleOf(pRgn)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR_REGION;
    }
    return SelectClipRgn(pRgn);
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject)
{
    const HGDIOBJ h = SafeHandleOf(pObject);
    // Selecting a region sets the clip and has no previous object to return.
    if (IsRegion(h)) {
        SelectClipRgn(static_cast<CRgn*>(pObject));
        return nullptr;
    }
    return CGdiObject::FromHandle(SelectHandle(h));
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject)
{
    if (IsRegion(hObject)) {
        const int n = SetOnBoth<int>(*this, ERROR_REGION,
            [hObject](HDC dc) { return ::SelectClipRgn(dc, static_cast<HRGN>(hObject)); });
        return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(n));
    }
    return SelectHandle(hObject);
}

CGdiObject* CDC::SelectStockObject(int nIndex)
{
    const HGDIOBJ h = ::GetStockObject(nIndex);
    if (!h)
        return nullptr;
    return CGdiObject::FromHandle(SelectHandle(h));
}

CPen* CDC::GetCurrentPen() const { return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN))); }

CBrush* CDC::GetCurrentBrush() const
{
    return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}

CFont* CDC::GetCurrentFont() const
{
    return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}

CBitmap* CDC::GetCurrentBitmap() const
{
    return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

// ---- attributes ----------------------------------------------------------------------------------

COLORREF CDC::GetBkColor() const { return ::GetBkColor(m_hAttribDC); }

COLORREF CDC::SetBkColor(COLORREF crColor)
{
    return SetOnBoth(*this, CLR_INVALID, [crColor](HDC dc) { return ::SetBkColor(dc, crColor); });
}

int CDC::GetBkMode() const { return ::GetBkMode(m_hAttribDC); }

int CDC::SetBkMode(int nBkMode)
{
    return SetOnBoth(*this, 0, [nBkMode](HDC dc) { return ::SetBkMode(dc, nBkMode); });
}

COLORREF CDC::GetTextColor() const { return ::GetTextColor(m_hAttribDC); }

COLORREF CDC::SetTextColor(COLORREF crColor)
{
    return SetOnBoth(*this, CLR_INVALID, [crColor](HDC dc) { return ::SetTextColor(dc, crColor); });
}

int CDC::GetROP2() const { return ::GetROP2(m_hAttribDC); }

int CDC::SetROP2(int nDrawMode)
{
    return SetOnBoth(*this, 0, [nDrawMode](HDC dc) { return ::SetROP2(dc, nDrawMode); });
}

int CDC::GetPolyFillMode() const { return ::GetPolyFillMode(m_hAttribDC); }

int CDC::SetPolyFillMode(int nPolyFillMode)
{
    return SetOnBoth(*this, 0, [nPolyFillMode](HDC dc) { return ::SetPolyFillMode(dc, nPolyFillMode); });
}

int CDC::GetStretchBltMode() const { return ::GetStretchBltMode(m_hAttribDC); }

int CDC::SetStretchBltMode(int nStretchMode)
{
    return SetOnBoth(*this, 0, [nStretchMode](HDC dc) { return ::SetStretchBltMode(dc, nStretchMode); });
}

UINT CDC::GetTextAlign() const { return ::GetTextAlign(m_hAttribDC); }

UINT CDC::SetTextAlign(UINT nFlags)
{
    // GDI_ERROR as the failure value.
    return SetOnBoth(*this, 0xFFFFFFFFu, [nFlags](HDC dc) { return ::SetTextAlign(dc, nFlags); });
}

int CDC::SetTextCharacterExtra(int nCharExtra)
{
    return SetOnBoth(*this, static_cast<int>(0x80000000u),
        [nCharExtra](HDC dc) { return ::SetTextCharacterExtra(dc, nCharExtra); });
}

COLORREF CDC::SetDCBrushColor(COLORREF crColor)
{
    return SetOnBoth(*this, CLR_INVALID, [crColor](HDC dc) { return ::SetDCBrushColor(dc, crColor); });
}

COLORREF CDC::SetDCPenColor(COLORREF crColor)
{
    return SetOnBoth(*this, CLR_INVALID, [crColor](HDC dc) { return ::SetDCPenColor(dc, crColor); });
}

CPoint CDC::GetBrushOrg() const
{
    CPoint pt;
    ::GetBrushOrgEx(m_hDC, &pt);
    return pt;
}

CPoint CDC::SetBrushOrg(int x, int y)
{
    CPoint pt;
    ::SetBrushOrgEx(m_hDC, x, y, &pt);
    return pt;
}

CPoint CDC::SetBrushOrg(POINT point) { return SetBrushOrg(point.x, point.y); }

// ---- coordinates -------------------------------------------------------------------------------

int CDC::GetMapMode() const { return ::GetMapMode(m_hAttribDC); }

int CDC::SetMapMode(int nMapMode)
{
    return SetOnBoth(*this, 0, [nMapMode](HDC dc) { return ::SetMapMode(dc, nMapMode); });
}

CPoint CDC::GetViewportOrg() const
{
    CPoint pt;
    ::GetViewportOrgEx(m_hAttribDC, &pt);
    return pt;
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    CPoint pt;
    SetOnBoth(*this, FALSE, [&](HDC dc) { return ::SetViewportOrgEx(dc, x, y, &pt); });
    return pt;
}

CPoint CDC::SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight)
{
    CPoint pt;
    SetOnBoth(*this, FALSE, [&](HDC dc) { return ::OffsetViewportOrgEx(dc, nWidth, nHeight, &pt); });
    return pt;
}

CPoint CDC::GetWindowOrg() const
{
    CPoint pt;
    ::GetWindowOrgEx(m_hAttribDC, &pt);
    return pt;
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    CPoint pt;
    SetOnBoth(*this, FALSE, [&](HDC dc) { return ::SetWindowOrgEx(dc, x, y, &pt); });
    return pt;
}

CPoint CDC::SetWindowOrg(POINT point) { return SetWindowOrg(point.x, point.y); }

CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight)
{
    CPoint pt;
    SetOnBoth(*this, FALSE, [&](HDC dc) { return ::OffsetWindowOrgEx(dc, nWidth, nHeight, &pt); });
    return pt;
}

void CDC::DPtoLP(LPPOINT lpPoints, int nCount) const { ::DPtoLP(m_hAttribDC, lpPoints, nCount); }

void CDC::DPtoLP(LPRECT lpRect) const
{
    if (!lpRect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return;
    }
    POINT pts[2] = {{lpRect->left, lpRect->top}, {lpRect->right, lpRect->bottom}};
    if (::DPtoLP(m_hAttribDC, pts, 2))
        *lpRect = RECT{pts[0].x, pts[0].y, pts[1].x, pts[1].y};
}

void CDC::DPtoLP(LPSIZE) const {}

void CDC::LPtoDP(LPPOINT lpPoints, int nCount) const { ::LPtoDP(m_hAttribDC, lpPoints, nCount); }

void CDC::LPtoDP(LPRECT lpRect) const
{
    if (!lpRect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return;
    }
    POINT pts[2] = {{lpRect->left, lpRect->top}, {lpRect->right, lpRect->bottom}};
    if (::LPtoDP(m_hAttribDC, pts, 2))
        *lpRect = RECT{pts[0].x, pts[0].y, pts[1].x, pts[1].y};
}

void CDC::LPtoDP(LPSIZE) const {}

// ---- clipping -------------------------------------------------------------------------------------

int CDC::GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }

BOOL CDC::PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }

BOOL CDC::PtVisible(POINT point) const { return PtVisible(point.x, point.y); }

BOOL CDC::RectVisible(LPCRECT lpRect) const { return ::RectVisible(m_hDC, lpRect); }

int CDC::SelectClipRgn(CRgn* pRgn)
{
    const HRGN h = static_cast<HRGN>(SafeHandleOf(pRgn));
    return SetOnBoth(*this, ERROR_REGION, [h](HDC dc) { return ::SelectClipRgn(dc, h); });
}

int CDC::SelectClipRgn(CRgn* pRgn, int nMode)
{
    const HRGN h = static_cast<HRGN>(SafeHandleOf(pRgn));
    return SetOnBoth(*this, ERROR_REGION, [h, nMode](HDC dc) { return ::ExtSelectClipRgn(dc, h, nMode); });
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2)
{
    return SetOnBoth(*this, ERROR_REGION, [&](HDC dc) { return ::ExcludeClipRect(dc, x1, y1, x2, y2); });
}

int CDC::ExcludeClipRect(LPCRECT lpRect)
{
    if (!lpRect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR_REGION;
    }
    return ExcludeClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2)
{
    return SetOnBoth(*this, ERROR_REGION, [&](HDC dc) { return ::IntersectClipRect(dc, x1, y1, x2, y2); });
}

int CDC::IntersectClipRect(LPCRECT lpRect)
{
    if (!lpRect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR_REGION;
    }
    return IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

int CDC::OffsetClipRgn(int x, int y)
{
    return SetOnBoth(*this, ERROR_REGION, [x, y](HDC dc) { return ::OffsetClipRgn(dc, x, y); });
}

int CDC::OffsetClipRgn(SIZE size) { return OffsetClipRgn(size.cx, size.cy); }
