// Painting the shortcut bar: the background around the headers and the expanded child
// window through the skin, each header off screen, the looks of pressed, hovered, dragged
// and drop-target headers, and the image of a dragged header.
#include <algorithm>
#include <vector>

#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/gdi/image_list.h"
#include "platform/afx/window_dc.h"
#include "platform/gdi/imagelist.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/shb_bar.h"
#include "toolkit/docking/shb_colours.h"
#include "toolkit/docking/shb_gdi.h"

namespace shb = zyn::toolkit::shb;

namespace {

// The owner-draw record of one whole header drawn into hdc at (0, 0), size × its size.
DRAWITEMSTRUCT HeaderDrawItem(HWND hWnd, HSHBGROUP hGroup, HDC hdc, CSize size)
{
    DRAWITEMSTRUCT dis{};
    dis.CtlID = static_cast<UINT>(::GetDlgCtrlID(hWnd));
    dis.itemID = static_cast<UINT>(reinterpret_cast<uintptr_t>(hGroup));
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = ODS_DEFAULT;
    dis.hwndItem = hWnd;
    dis.hDC = hdc;
    dis.rcItem = CRect(0, 0, size.cx, size.cy);
    dis.itemData = reinterpret_cast<ULONG_PTR>(hGroup);
    return dis;
}

// The two nested frames of a header, outer then inner (top-left, bottom-right colours).
struct HeaderBorder {
    COLORREF outerTopLeft, outerBottomRight, innerTopLeft, innerBottomRight;
};

// Arrow marks of the drop marker: four rows narrowing away from the edge, 7 pixels at it.
void DrawArrowMark(HDC hdc, int left, int edgeY, int direction, COLORREF colour)
{
    for (int i = 0; i < 4; ++i) {
        const RECT row{left + i, edgeY + direction * i, left + 7 - i, edgeY + direction * i + 1};
        shb::FillSolid(hdc, row, colour);
    }
}

} // namespace

BOOL COXShortcutBar::OnEraseBkgnd(CDC* /*pDC*/)
{
    // Painting fills around the headers and the child window itself: nothing flickers.
    return TRUE;
}

void COXShortcutBar::OnPaint()
{
    CPaintDC dc(this);
    if (!m_rectChildWnd.IsRectEmpty())
        dc.ExcludeClipRect(&m_rectChildWnd);
    FillBackground(&dc);
    std::vector<std::pair<int, HSHBGROUP>> byOrder;
    for (const auto& [h, rect] : m_headerRects)
        byOrder.emplace_back(GetGroupOrder(h), h);
    std::sort(byOrder.begin(), byOrder.end());
    for (const auto& [order, h] : byOrder) {
        const CRect rect = m_headerRects[h];
        if (rect.IsRectEmpty() || !dc.RectVisible(&rect))
            continue;
        DrawHeaderNow(h, dc.GetSafeHdc(), rect);
    }
}

void COXShortcutBar::DrawHeaderNow(HSHBGROUP hGroup, HDC hdc, const CRect& rect)
{
    shb::OffscreenDc memory(hdc, CRect(0, 0, rect.Width(), rect.Height()));
    if (!memory.Valid())
        return;
    DRAWITEMSTRUCT dis = HeaderDrawItem(m_hWnd, hGroup, memory.dc(), rect.Size());
    DrawHeader(&dis);
    ::BitBlt(hdc, rect.left, rect.top, rect.Width(), rect.Height(), memory.dc(), 0, 0, SRCCOPY);
}

void COXShortcutBar::FillBackground(CDC* pDC)
{
    if (!pDC || !m_hWnd)
        return;
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    const int saved = pDC->SaveDC();
    for (const auto& [h, rect] : m_headerRects)
        pDC->ExcludeClipRect(&rect);
    if (!m_rectChildWnd.IsRectEmpty())
        pDC->ExcludeClipRect(&m_rectChildWnd);
    const SHB_DESCRIPTOR* d = m_hExpandedGroup ? GetGroupDescriptor(m_hExpandedGroup) : nullptr;
    const bool own = d && (d->nMask & SHBD_CLRBACKGROUND);
    GetShortcutBarSkin()->FillBackground(pDC, &client, this, own ? TRUE : FALSE, own ? d->clrBackground : 0);
    pDC->RestoreDC(saved);
}

HFONT COXShortcutBar::HeaderFont(HSHBGROUP hGroup, CFont& holder)
{
    LOGFONT lf{};
    if (const LOGFONT* header = GetGroupHeaderTextFont(hGroup))
        lf = *header;
    if ((m_dwBarStyle & SHBS_BOLDEXPANDEDGROUP) && hGroup == m_hExpandedGroup) {
        const LONG weight = lf.lfWeight == 0 ? FW_NORMAL : lf.lfWeight;
        lf.lfWeight = std::min<LONG>(weight + 300, 1000);
    }
    holder.CreateFontIndirect(&lf);
    return static_cast<HFONT>(holder.GetSafeHandle());
}

void COXShortcutBar::DrawHeader(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (!lpDrawItemStruct)
        return;
    const auto hGroup = reinterpret_cast<HSHBGROUP>(lpDrawItemStruct->itemData);
    if (!Group(hGroup))
        return;
    if (NotifyGroup(SHBN_DRAWHEADER, hGroup, reinterpret_cast<LPARAM>(lpDrawItemStruct)))
        return;
    const HDC hdc = lpDrawItemStruct->hDC;
    CRect rect = lpDrawItemStruct->rcItem;
    const bool dragged = hGroup == m_hDragGroup;
    COLORREF background = GetGroupHeaderBkColor(hGroup);
    if (dragged)
        background = shb::InvertColour(background);
    const COLORREF light = shb::ShiftColour(background, 64);
    const COLORREF dark = shb::ShiftColour(background, -128);

    // The border: raised unless flat; flat headers show hover and press.
    HeaderBorder border{light, dark, light, dark};
    if (m_dwBarStyle & SHBS_FLATGROUPBUTTON) {
        const bool over = m_hMouseOverGroup == hGroup;
        if (dragged || m_bCreatingDragImage)
            border = {light, dark, background, background};
        else if (m_hPressedGroup == hGroup && !over)
            border = {light, dark, background, dark};
        else if (m_hPressedGroup == hGroup)
            border = {dark, background, dark, light};
        else if (m_hPressedGroup)
            border = {light, dark, background, background};
        else if (over)
            border = {light, dark, background, dark};
        else
            border = {light, dark, background, background};
    }
    shb::Frame3d(hdc, rect, border.outerTopLeft, border.outerBottomRight);
    rect.DeflateRect(1, 1);
    shb::Frame3d(hdc, rect, border.innerTopLeft, border.innerBottomRight);
    rect.DeflateRect(1, 1);
    shb::FillSolid(hdc, rect, background);

    CFont font;
    const shb::Selected selectFont(hdc, HeaderFont(hGroup, font));
    SIZE space{};
    ::GetTextExtentPoint32W(hdc, L" ", 1, &space);
    rect.left += 2 * space.cx;
    rect.right -= 2 * space.cx;

    const int image = hGroup == m_hExpandedGroup ? GetGroupImageExpanded(hGroup) : GetGroupImage(hGroup);
    if (image >= 0 && m_pImageList && m_pImageList->GetSafeHandle()) {
        int cx = 0, cy = 0;
        ::ImageList_GetIconSize(m_pImageList->GetSafeHandle(), &cx, &cy);
        // Centred in the height left: a header taller than its image keeps it in the middle.
        const int y = rect.top + (rect.Height() - cy) / 2;
        ::ImageList_Draw(m_pImageList->GetSafeHandle(), image, hdc, rect.left, y, ILD_TRANSPARENT);
        rect.left += cx;
    }
    if (rect.right > rect.left) {
        const CString title = GetGroupText(hGroup);
        COLORREF text = GetGroupHeaderTextColor(hGroup);
        if (dragged)
            text = shb::InvertColour(text);
        const int oldMode = ::SetBkMode(hdc, TRANSPARENT);
        const COLORREF oldColour = ::SetTextColor(hdc, text);
        shb::AttachedDc dc(hdc);
        dc.DrawText(title.GetString(), title.GetLength(), &rect, GetGroupHeaderTextFormat(hGroup));
        ::SetTextColor(hdc, oldColour);
        ::SetBkMode(hdc, oldMode);
    }

    // The drop marker of a header drag, with arrow marks on the side the dragged group
    // would come in from.
    if (m_hDragGroup && !dragged && hGroup == m_hDropHilightGroup) {
        const COLORREF marker = shb::ColoursClose(RGB(255, 0, 0), background, 64) ? RGB(0, 0, 255) : RGB(255, 0, 0);
        const CRect all = lpDrawItemStruct->rcItem;
        shb::Frame3d(hdc, all, marker, marker);
        const bool fromBelow = GetGroupOrder(m_hDragGroup) > GetGroupOrder(hGroup);
        const int edgeY = fromBelow ? all.top + 4 : all.bottom - 5;
        const int direction = fromBelow ? 1 : -1;
        DrawArrowMark(hdc, all.left + 4, edgeY, direction, marker);
        DrawArrowMark(hdc, all.right - 4 - 7, edgeY, direction, marker);
    }
}

CImageList* COXShortcutBar::CreateGroupDragImage(HSHBGROUP hGroup)
{
    CRect rect;
    if (!GetGroupHeaderRect(hGroup, &rect) || rect.IsRectEmpty() || !m_hWnd)
        return nullptr;
    m_bCreatingDragImage = TRUE;
    auto list = std::make_unique<CImageList>();
    bool ok = list->Create(rect.Width(), rect.Height(), ILC_COLOR32, 0, 1) != FALSE;
    if (ok) {
        const HDC screen = ::GetDC(m_hWnd);
        {
            shb::OffscreenDc memory(screen, CRect(0, 0, rect.Width(), rect.Height()));
            ok = memory.Valid();
            if (ok) {
                DRAWITEMSTRUCT dis = HeaderDrawItem(m_hWnd, hGroup, memory.dc(), rect.Size());
    DrawHeader(&dis);
                const shb::OwnedObject bitmap(memory.ReleaseBitmap());
                ok = ::ImageList_Add(list->GetSafeHandle(), static_cast<HBITMAP>(bitmap.get()), nullptr) >= 0;
            }
        }
        ::ReleaseDC(m_hWnd, screen);
    }
    m_bCreatingDragImage = FALSE;
    return ok ? list.release() : nullptr;
}
