// COXDragOutline: a drag outline in the halftone pattern over a kept background.
#include "toolkit/docking/drag_outline.h"

#include <algorithm>

#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/dc.h"
#include "platform/gdi/wingdi.h"

void COXDragOutline::Show(CDC& dc, const CRect& rect, CSize size)
{
    Hide(dc);
    if (size.cx <= 0 || size.cy <= 0 || rect.IsRectEmpty())
        return;
    const int cy = std::min<int>(size.cy, rect.Height() / 2), cx = std::min<int>(size.cx, rect.Width() / 2);
    const CRect strips[] = {
        CRect(rect.left, rect.top, rect.right, rect.top + cy),
        CRect(rect.left, rect.bottom - cy, rect.right, rect.bottom),
        CRect(rect.left, rect.top + cy, rect.left + cx, rect.bottom - cy),
        CRect(rect.right - cx, rect.top + cy, rect.right, rect.bottom - cy),
    };
    CDC memDC;
    if (!memDC.CreateCompatibleDC(&dc))
        return;
    for (const CRect& r : strips) {
        if (r.IsRectEmpty())
            continue;
        auto saved = std::make_unique<CBitmap>();
        if (!saved->CreateCompatibleBitmap(&dc, r.Width(), r.Height()))
            continue;
        CBitmap* pOld = memDC.SelectObject(saved.get());
        memDC.BitBlt(0, 0, r.Width(), r.Height(), &dc, r.left, r.top, SRCCOPY);
        memDC.SelectObject(pOld);
        m_strips.push_back(Strip{r, std::move(saved)});
    }
    // The pattern's zeros take the text colour and its ones the background colour.
    const COLORREF oldText = dc.SetTextColor(RGB(0, 0, 0));
    const COLORREF oldBk = dc.SetBkColor(RGB(255, 255, 255));
    CBrush* pOldBrush = dc.SelectObject(CDC::GetHalftoneBrush());
    for (const Strip& s : m_strips)
        dc.PatBlt(s.rect.left, s.rect.top, s.rect.Width(), s.rect.Height(), PATCOPY);
    dc.SelectObject(pOldBrush);
    dc.SetBkColor(oldBk);
    dc.SetTextColor(oldText);
}

void COXDragOutline::Hide(CDC& dc)
{
    if (m_strips.empty())
        return;
    CDC memDC;
    const bool canRestore = memDC.CreateCompatibleDC(&dc) != FALSE;
    for (auto it = m_strips.begin(); canRestore && it != m_strips.end(); ++it) {
        CBitmap* pOld = memDC.SelectObject(it->saved.get());
        dc.BitBlt(it->rect.left, it->rect.top, it->rect.Width(), it->rect.Height(), &memDC, 0, 0, SRCCOPY);
        memDC.SelectObject(pOld);
    }
    m_strips.clear();
}
