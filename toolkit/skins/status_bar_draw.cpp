// COXStatusBar's drawing: a pane's text (DrawItem) and a pane's bitmap with its
// transparent colour.
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "toolkit/skins/dc_guard.h"
#include "toolkit/skins/status_bar.h"
#include "toolkit/skins/status_bar_geometry.h"

namespace sb = zyn::toolkit::statusbar;

void COXStatusBar::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (!lpDrawItemStruct || !lpDrawItemStruct->hDC)
        return;
    const int index = static_cast<int>(lpDrawItemStruct->itemID);
    const AFX_STATUSPANE* pane = _GetPanePtr(index);
    if (!pane || static_cast<size_t>(index) >= m_panes.size())
        return;
    // Any disabled pane shows nothing, whatever other bits its style has (an owner-drawn
    // pane that the idle pass disables is still owner-drawn).
    if (pane->nStyle & SBPS_DISABLED)
        return;
    if (pane->strText.IsEmpty())
        return;
    const PaneExtras& extras = m_panes[static_cast<size_t>(index)];
    CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
    CFont* font = extras.font.get();
    if (!font) {
        const auto hFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        font = hFont ? CFont::FromHandle(hFont) : nullptr;
    }
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    const COLORREF oldColour = dc->SetTextColor(extras.textColour);
    {
        COXSelectGuard<CFont> select(*dc, font);
        const CRect item(lpDrawItemStruct->rcItem);
        const int textHeight = dc->GetTextExtent(pane->strText).cy;
        CRect text(item.left + 2, item.top + (item.Height() - textHeight) / 2, item.right, item.bottom);
        dc->DrawText(pane->strText, &text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
    dc->SetTextColor(oldColour);
    dc->SetBkMode(oldMode);
}

void COXStatusBar::DrawStatusBmp(CDC* pDC, int nIndex, UINT nStyle)
{
    if (!pDC || (nStyle & SBPS_DISABLED) || nIndex < 0 || static_cast<size_t>(nIndex) >= m_panes.size())
        return;
    const CBmpInfo* info = m_panes[static_cast<size_t>(nIndex)].bitmap.get();
    if (!info || !info->m_pBitmap || !info->m_pBitmap->GetSafeHandle())
        return;
    CRect inner;
    if (!CalcInsideBorder(nIndex, inner, FALSE))
        return;
    sb::BitmapPlacement placement;
    if (!sb::PlacePaneBitmap(inner, info->m_nWidth, info->m_nHeight, info->m_eOrientation, placement))
        return;
    sb::DrawTransparentBitmap(*pDC, placement.dest, *info->m_pBitmap, placement.srcWidth, placement.srcHeight,
        info->m_clrTransparent, m_dcMem.GetSafeHdc() ? &m_dcMem : nullptr);
}

namespace zyn::toolkit::statusbar {

void DrawTransparentBitmap(CDC& target, const RECT& dest, CBitmap& bitmap, int srcWidth, int srcHeight,
    COLORREF transparent, CDC* sourceDc)
{
    if (srcWidth <= 0 || srcHeight <= 0 || dest.right <= dest.left || dest.bottom <= dest.top)
        return;
    // The work bitmaps are in device pixels: the destination's size under the target's
    // mapping mode.
    CRect device(dest);
    target.LPtoDP(&device);
    device.NormalizeRect();
    const int cx = device.Width(), cy = device.Height();
    if (cx <= 0 || cy <= 0)
        return;

    CDC ownSource;
    CDC* source = sourceDc;
    if (!source || !source->GetSafeHdc()) {
        if (!ownSource.CreateCompatibleDC(&target))
            return;
        source = &ownSource;
    }
    CDC imageDc, maskDc, backDc;
    CBitmap image, mask, inverse, back;
    if (!imageDc.CreateCompatibleDC(&target) || !maskDc.CreateCompatibleDC(&target) ||
        !backDc.CreateCompatibleDC(&target) || !image.CreateCompatibleBitmap(&target, cx, cy) ||
        !back.CreateCompatibleBitmap(&target, cx, cy) || !mask.CreateBitmap(cx, cy, 1, 1, nullptr) ||
        !inverse.CreateBitmap(cx, cy, 1, 1, nullptr))
        return;
    // The guards are made after the bitmaps, so they select them out before they go.
    COXSelectGuard<CBitmap> sourceSel(*source, &bitmap);
    COXSelectGuard<CBitmap> imageSel(imageDc, &image);
    COXSelectGuard<CBitmap> backSel(backDc, &back);

    // The bitmap's part at the destination's size; the masks are made from it, so they
    // agree with it pixel for pixel however it was scaled.
    imageDc.SetStretchBltMode(COLORONCOLOR);
    imageDc.StretchBlt(0, 0, cx, cy, source, 0, 0, srcWidth, srcHeight, SRCCOPY);
    // Mask: 1 where the transparent colour is; the inverse: 1 where the bitmap shows.
    {
        COXSelectGuard<CBitmap> maskSel(maskDc, &mask);
        imageDc.SetBkColor(transparent);
        maskDc.BitBlt(0, 0, cx, cy, &imageDc, 0, 0, SRCCOPY);
    }
    {
        CDC inverseDc;
        if (!inverseDc.CreateCompatibleDC(&target))
            return;
        COXSelectGuard<CBitmap> maskSel(maskDc, &mask);
        COXSelectGuard<CBitmap> inverseSel(inverseDc, &inverse);
        inverseDc.BitBlt(0, 0, cx, cy, &maskDc, 0, 0, NOTSRCCOPY);
    }
    // What lies under the destination, cleared where the bitmap shows (a mono source gives
    // 0 the text colour and 1 the background colour).
    backDc.SetStretchBltMode(COLORONCOLOR);
    backDc.StretchBlt(0, 0, cx, cy, &target, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top,
        SRCCOPY);
    backDc.SetTextColor(RGB(0, 0, 0));
    backDc.SetBkColor(RGB(255, 255, 255));
    {
        COXSelectGuard<CBitmap> maskSel(maskDc, &mask);
        backDc.BitBlt(0, 0, cx, cy, &maskDc, 0, 0, SRCAND);
    }
    // The bitmap, cleared where it is transparent.
    imageDc.SetTextColor(RGB(0, 0, 0));
    imageDc.SetBkColor(RGB(255, 255, 255));
    {
        COXSelectGuard<CBitmap> inverseSel(maskDc, &inverse);
        imageDc.BitBlt(0, 0, cx, cy, &maskDc, 0, 0, SRCAND);
    }
    // The two together, onto the target.
    backDc.BitBlt(0, 0, cx, cy, &imageDc, 0, 0, SRCPAINT);
    const int oldMode = target.SetStretchBltMode(COLORONCOLOR);
    target.StretchBlt(dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, &backDc, 0, 0, cx, cy,
        SRCCOPY);
    target.SetStretchBltMode(oldMode);
}

} // namespace zyn::toolkit::statusbar
