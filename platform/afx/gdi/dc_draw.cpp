// CDC: lines, shapes, fills, frames, states, pixels, blits and printing.
#include <cstdint>

#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/handle_maps.h"
#include "platform/afx/gdi/rgn.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/gdi_brushes.h"
#include "platform/gdi/wingdi.h"

using zyn::afx::SafeHandleOf;
using zyn::afx::SafeHdcOf;

namespace {

HBRUSH BrushOf(const CBrush* p) { return static_cast<HBRUSH>(SafeHandleOf(p)); }
HRGN RgnOf(const CRgn* p) { return static_cast<HRGN>(SafeHandleOf(p)); }

BOOL InvalidParameter()
{
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

} // namespace

// ---- lines and shapes -------------------------------------------------------------------------

CPoint CDC::GetCurrentPosition() const
{
    CPoint pt;
    ::GetCurrentPositionEx(m_hAttribDC, &pt);
    return pt;
}

CPoint CDC::MoveTo(int x, int y)
{
    CPoint pt;
    if (m_hDC && m_hDC != m_hAttribDC)
        ::MoveToEx(m_hDC, x, y, &pt);
    if (m_hAttribDC)
        ::MoveToEx(m_hAttribDC, x, y, &pt);
    else if (!m_hDC)
        SetLastError(ERROR_INVALID_HANDLE);
    return pt;
}

CPoint CDC::MoveTo(POINT point) { return MoveTo(point.x, point.y); }

BOOL CDC::LineTo(int x, int y)
{
    // The attribute DC keeps the current position in step with the output DC.
    if (m_hAttribDC && m_hAttribDC != m_hDC)
        ::MoveToEx(m_hAttribDC, x, y, nullptr);
    return ::LineTo(m_hDC, x, y);
}

BOOL CDC::LineTo(POINT point) { return LineTo(point.x, point.y); }

BOOL CDC::Polyline(const POINT* lpPoints, int nCount) { return ::Polyline(m_hDC, lpPoints, nCount); }

BOOL CDC::PolylineTo(const POINT* lpPoints, int nCount)
{
    const BOOL ok = ::PolylineTo(m_hDC, lpPoints, nCount);
    if (ok && m_hAttribDC && m_hAttribDC != m_hDC && nCount > 0)
        ::MoveToEx(m_hAttribDC, lpPoints[nCount - 1].x, lpPoints[nCount - 1].y, nullptr);
    return ok;
}

BOOL CDC::Polygon(const POINT* lpPoints, int nCount) { return ::Polygon(m_hDC, lpPoints, nCount); }

BOOL CDC::PolyPolygon(const POINT* lpPoints, const INT* lpPolyCounts, int nCount)
{
    return ::PolyPolygon(m_hDC, lpPoints, lpPolyCounts, nCount);
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }

BOOL CDC::Rectangle(LPCRECT lpRect)
{
    if (!lpRect)
        return InvalidParameter();
    return Rectangle(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

BOOL CDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3);
}

BOOL CDC::RoundRect(LPCRECT lpRect, POINT point)
{
    if (!lpRect)
        return InvalidParameter();
    return RoundRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom, point.x, point.y);
}

BOOL CDC::Ellipse(int x1, int y1, int x2, int y2) { return ::Ellipse(m_hDC, x1, y1, x2, y2); }

BOOL CDC::Ellipse(LPCRECT lpRect)
{
    if (!lpRect)
        return InvalidParameter();
    return Ellipse(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

// ---- fills and frames ---------------------------------------------------------------------------

BOOL CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) { return ::FillRect(m_hDC, lpRect, BrushOf(pBrush)) != 0; }

BOOL CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush) { return ::FrameRect(m_hDC, lpRect, BrushOf(pBrush)) != 0; }

BOOL CDC::InvertRect(LPCRECT lpRect) { return ::InvertRect(m_hDC, lpRect); }

BOOL CDC::DrawFocusRect(LPCRECT lpRect) { return ::DrawFocusRect(m_hDC, lpRect); }

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    if (!lpRect) {
        InvalidParameter();
        return;
    }
    // Draw3dRect passes rectangles with a negative width or height.
    CRect rect(lpRect);
    rect.NormalizeRect();
    ::SetBkColor(m_hDC, clr);
    ::ExtTextOut(m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr)
{
    const CRect rect(x, y, x + cx, y + cy);
    FillSolidRect(&rect, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    if (!lpRect) {
        InvalidParameter();
        return;
    }
    Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, clrTopLeft,
        clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
    FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
}

BOOL CDC::DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) { return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags); }

BOOL CDC::DrawFrameControl(LPRECT lpRect, UINT nType, UINT nState)
{
    return ::DrawFrameControl(m_hDC, lpRect, nType, nState);
}

CBrush* CDC::GetHalftoneBrush()
{
    // The brush is a stock object of the drawing layer; its wrapper is never destroyed,
    // so nothing touches the drawing layer during exit.
    static CBrush* const brush = [] {
        static zyn::afx::detail::Immortal<CBrush> wrapper;
        wrapper.get().Attach(zyn::gdi::HalftoneBrush());
        return &wrapper.get();
    }();
    return brush;
}

namespace {

// The frame between a rectangle and the rectangle `size` inside it, as a region in
// device coordinates (`org` is where logical (0,0) lands).
bool FrameRegion(CRgn& frame, const RECT& r, SIZE size, POINT org)
{
    CRect outer(r);
    CRect inner(r);
    inner.DeflateRect(size.cx, size.cy);
    CRect innerClipped;
    innerClipped.IntersectRect(&inner, &outer);
    outer.OffsetRect(org);
    innerClipped.OffsetRect(org);
    CRgn rgnOutside, rgnInside;
    if (!rgnOutside.CreateRectRgnIndirect(&outer) || !rgnInside.CreateRectRgnIndirect(&innerClipped) ||
        !frame.CreateRectRgn(0, 0, 0, 0))
        return false;
    return frame.CombineRgn(&rgnOutside, &rgnInside, RGN_XOR) != ERROR_REGION;
}

// Inverts the pixels of a device region with a brush (PATINVERT), inside the DC's
// existing clip, leaving the DC's clip and brush as they were.
void InvertRegion(CDC& dc, CRgn& rgn, CBrush* brush)
{
    const int saved = dc.SaveDC();
    if (saved == 0)
        return;
    if (dc.SelectClipRgn(&rgn, RGN_AND) != ERROR_REGION) {
        CRect box;
        if (dc.GetClipBox(&box) > NULLREGION) {
            dc.SelectObject(brush);
            dc.PatBlt(box.left, box.top, box.Width(), box.Height(), PATINVERT);
        }
    }
    dc.RestoreDC(saved);
}

} // namespace

void CDC::DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast, CBrush* pBrush,
    CBrush* pBrushLast)
{
    if (!lpRect) {
        InvalidParameter();
        return;
    }
    // Clip regions are in device coordinates; the rectangles are logical.
    CPoint org(0, 0);
    LPtoDP(&org, 1);

    CRgn rgnNew;
    if (!FrameRegion(rgnNew, *lpRect, size, org))
        return;
    CBrush* brush = pBrush ? pBrush : GetHalftoneBrush();
    CBrush* brushLast = pBrushLast ? pBrushLast : brush;

    CRgn rgnLast, rgnUpdate;
    if (lpRectLast) {
        if (!FrameRegion(rgnLast, *lpRectLast, sizeLast, org))
            return;
        // With one brush only the pixels that change are inverted.
        if (brush->m_hObject == brushLast->m_hObject) {
            if (!rgnUpdate.CreateRectRgn(0, 0, 0, 0) ||
                rgnUpdate.CombineRgn(&rgnLast, &rgnNew, RGN_XOR) == ERROR_REGION)
                return;
        } else {
            InvertRegion(*this, rgnLast, brushLast);
        }
    }
    InvertRegion(*this, rgnUpdate.m_hObject ? rgnUpdate : rgnNew, brush);
}

BOOL CDC::FillRgn(CRgn* pRgn, CBrush* pBrush) { return ::FillRgn(m_hDC, RgnOf(pRgn), BrushOf(pBrush)); }

BOOL CDC::FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight)
{
    return ::FrameRgn(m_hDC, RgnOf(pRgn), BrushOf(pBrush), nWidth, nHeight);
}

BOOL CDC::InvertRgn(CRgn* pRgn) { return ::InvertRgn(m_hDC, RgnOf(pRgn)); }

BOOL CDC::PaintRgn(CRgn* pRgn) { return ::PaintRgn(m_hDC, RgnOf(pRgn)); }

// ---- states and icons -----------------------------------------------------------------------------

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }

BOOL CDC::DrawIcon(POINT point, HICON hIcon) { return DrawIcon(point.x, point.y, hIcon); }

BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush)
{
    return ::DrawState(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hBitmap), 0, pt.x, pt.y, size.cx, size.cy,
        nFlags | DST_BITMAP);
}

BOOL CDC::DrawState(CPoint pt, CSize size, CBitmap* pBitmap, UINT nFlags, CBrush* pBrush)
{
    return DrawState(pt, size, static_cast<HBITMAP>(SafeHandleOf(pBitmap)), nFlags, BrushOf(pBrush));
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush)
{
    return ::DrawState(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, pt.x, pt.y, size.cx, size.cy,
        nFlags | DST_ICON);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, CBrush* pBrush)
{
    return DrawState(pt, size, hIcon, nFlags, BrushOf(pBrush));
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText, int nTextLen,
    HBRUSH hBrush)
{
    if (nTextLen < 0)
        return InvalidParameter();
    return ::DrawState(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(lpszText), static_cast<WPARAM>(nTextLen),
        pt.x, pt.y, size.cx, size.cy, nFlags | (bPrefixText ? DST_PREFIXTEXT : DST_TEXT));
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText, int nTextLen,
    CBrush* pBrush)
{
    return DrawState(pt, size, lpszText, nFlags, bPrefixText, nTextLen, BrushOf(pBrush));
}

BOOL CDC::DrawState(CPoint pt, CSize size, DRAWSTATEPROC lpDrawProc, LPARAM lData, UINT nFlags, HBRUSH hBrush)
{
    return ::DrawState(m_hDC, hBrush, lpDrawProc, lData, 0, pt.x, pt.y, size.cx, size.cy, nFlags | DST_COMPLEX);
}

BOOL CDC::DrawState(CPoint pt, CSize size, DRAWSTATEPROC lpDrawProc, LPARAM lData, UINT nFlags, CBrush* pBrush)
{
    return DrawState(pt, size, lpDrawProc, lData, nFlags, BrushOf(pBrush));
}

// ---- pixels and blits ------------------------------------------------------------------------------

COLORREF CDC::GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }

COLORREF CDC::GetPixel(POINT point) const { return GetPixel(point.x, point.y); }

COLORREF CDC::SetPixel(int x, int y, COLORREF crColor) { return ::SetPixel(m_hDC, x, y, crColor); }

COLORREF CDC::SetPixel(POINT point, COLORREF crColor) { return SetPixel(point.x, point.y, crColor); }

BOOL CDC::SetPixelV(int x, int y, COLORREF crColor) { return ::SetPixelV(m_hDC, x, y, crColor); }

BOOL CDC::SetPixelV(POINT point, COLORREF crColor) { return SetPixelV(point.x, point.y, crColor); }

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop)
{
    return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop);
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
{
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, SafeHdcOf(pSrcDC), xSrc, ySrc, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
    int nSrcHeight, DWORD dwRop)
{
    return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, SafeHdcOf(pSrcDC), xSrc, ySrc, nSrcWidth, nSrcHeight, dwRop);
}

BOOL CDC::MaskBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, CBitmap& maskBitmap,
    int xMask, int yMask, DWORD dwRop)
{
    return ::MaskBlt(m_hDC, x, y, nWidth, nHeight, SafeHdcOf(pSrcDC), xSrc, ySrc,
        static_cast<HBITMAP>(maskBitmap.m_hObject), xMask, yMask, dwRop);
}

BOOL CDC::TransparentBlt(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc, int ySrc,
    int nSrcWidth, int nSrcHeight, UINT clrTransparent)
{
    return ::TransparentBlt(m_hDC, xDest, yDest, nDestWidth, nDestHeight, SafeHdcOf(pSrcDC), xSrc, ySrc, nSrcWidth,
        nSrcHeight, clrTransparent);
}

BOOL CDC::AlphaBlend(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc, int ySrc,
    int nSrcWidth, int nSrcHeight, BLENDFUNCTION blend)
{
    return ::AlphaBlend(m_hDC, xDest, yDest, nDestWidth, nDestHeight, SafeHdcOf(pSrcDC), xSrc, ySrc, nSrcWidth,
        nSrcHeight, blend);
}

BOOL CDC::GradientFill(TRIVERTEX* pVertices, ULONG nVertices, void* pMesh, ULONG nMeshElements, DWORD dwMode)
{
    return ::GradientFill(m_hDC, pVertices, nVertices, pMesh, nMeshElements, dwMode);
}

// ---- printing -----------------------------------------------------------------------------------------

int CDC::StartDoc(DOCINFO* lpDocInfo) { return ::StartDoc(m_hDC, lpDocInfo); }

int CDC::StartDoc(LPCTSTR lpszDocName)
{
    DOCINFO di{};
    di.cbSize = static_cast<int>(sizeof(DOCINFO));
    di.lpszDocName = lpszDocName;
    return StartDoc(&di);
}

int CDC::StartPage() { return ::StartPage(m_hDC); }

int CDC::EndPage() { return ::EndPage(m_hDC); }

int CDC::EndDoc() { return ::EndDoc(m_hDC); }

int CDC::AbortDoc() { return ::AbortDoc(m_hDC); }
