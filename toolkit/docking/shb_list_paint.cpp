// Painting COXSHBListCtrl: the scroll buttons, the background outside the items (through
// the bar's skin inside a bar), each visible item off screen over its background, the hot
// and active frames, and the placeholder of a drop.
#include <algorithm>
#include <optional>

#include "platform/afx/window_dc.h"
#include "platform/gdi/imagelist.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/shb_bar.h"
#include "toolkit/docking/shb_colours.h"
#include "toolkit/docking/shb_gdi.h"
#include "toolkit/docking/shb_list.h"

namespace shb = zyn::toolkit::shb;

namespace {

constexpr UINT kDrawLarge = 0xA015; // DT_END_ELLIPSIS | DT_EDITCONTROL | DT_WORDBREAK | DT_VCENTER | DT_CENTER
constexpr UINT kDrawSmall = 0x0024; // DT_SINGLELINE | DT_VCENTER

} // namespace

void COXSHBListCtrl::FillListBackground(CDC* pDC, const CRect& rect)
{
    if (m_pShortcutBar) {
        const SHB_DESCRIPTOR* d = m_pShortcutBar->GetGroupDescriptor(m_hGroup);
        const bool own = d && (d->nMask & SHBD_CLRBACKGROUND);
        m_pShortcutBar->GetShortcutBarSkin()->FillBackground(pDC, &rect, this, own ? TRUE : FALSE,
            own ? d->clrBackground : 0);
        return;
    }
    // As the skins do for a list: the rectangle's top-left is the DC's origin.
    CRect r = rect;
    r.MoveToXY(0, 0);
    pDC->FillSolidRect(&r, GetBkColor());
}

void COXSHBListCtrl::DrawFrame(CDC* pDC, const CRect& rect, bool bHot, bool bPressed)
{
    if (m_pShortcutBar) {
        m_pShortcutBar->GetShortcutBarSkin()->DrawItemBorder(pDC, &rect, bHot ? TRUE : FALSE, bPressed ? TRUE : FALSE,
            this);
        return;
    }
    const COLORREF background = GetBkColor();
    const COLORREF light = shb::ShiftColour(background, 64);
    const COLORREF dark = shb::ShiftColour(background, -128);
    if (bPressed)
        pDC->Draw3dRect(&rect, dark, light);
    else
        pDC->Draw3dRect(&rect, light, dark);
}

void COXSHBListCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    CRect box;
    if (!box.IntersectRect(&dc.m_ps.rcPaint, &client))
        return;
    const int count = ItemCount();
    EnsureLayout(count);
    CalculateScrollRects();
    // Everything is drawn into one off-screen picture of the part to paint (the
    // background, the items over it, the placeholder and the buttons), which is copied
    // to the window once: nothing flickers, and no item pays for a bitmap of its own.
    HDC picture = m_paintPicture.Begin(dc.GetSafeHdc(), box);
    std::optional<shb::OffscreenDc> ownPicture; // a paint inside a paint draws apart
    if (!picture) {
        ownPicture.emplace(dc.GetSafeHdc(), box);
        if (!ownPicture->Valid())
            return;
        picture = ownPicture->dc();
    }
    shb::AttachedDc pageDc(picture);
    FillListBackground(&pageDc, client);
    m_hPaintFont = TextFont();
    for (int i = std::max(0, GetTopIndex()); i >= 0 && i < count; ++i) {
        CRect r = ItemRectView(i);
        r.OffsetRect(-m_ptOrigin.x, -m_ptOrigin.y);
        if (r.top >= box.bottom)
            break;
        CRect meet;
        if (r.IsRectEmpty() || !meet.IntersectRect(&r, &box))
            continue;
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_LISTVIEW;
        dis.CtlID = static_cast<UINT>(::GetDlgCtrlID(m_hWnd));
        dis.itemID = static_cast<UINT>(i);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.hwndItem = m_hWnd;
        dis.hDC = picture;
        dis.rcItem = r;
        dis.itemData = static_cast<ULONG_PTR>(GetItemData(i));
        DrawItem(&dis);
    }
    m_hPaintFont = nullptr;
    DrawPlaceHolder(&pageDc);
    if (!(GetBarStyle() & SHBS_NOSCROLL))
        DrawScrollButtons(&pageDc);
    if (ownPicture)
        ownPicture->CopyTo(dc.GetSafeHdc());
    else
        m_paintPicture.End(dc.GetSafeHdc());
}

void COXSHBListCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (!lpDrawItemStruct)
        return;
    const int item = static_cast<int>(lpDrawItemStruct->itemID);
    if (!ValidItem(item))
        return;
    if (!m_bCreatingDragImage && Notify(SHBN_DRAWITEM, item, reinterpret_cast<LPARAM>(lpDrawItemStruct)))
        return;
    if (!ValidItem(item))
        return;
    EnsureLayout(item + 1);
    const HDC hdc = lpDrawItemStruct->hDC;
    const CPoint at(lpDrawItemStruct->rcItem.left, lpDrawItemStruct->rcItem.top);
    const ItemGeometry& g = m_geometry[static_cast<size_t>(item)];
    const DWORD style = GetBarStyle();
    const bool hot = !m_bCreatingDragImage && item == m_nHotItem;
    const int image = GetItemImage(item);
    const HIMAGELIST images = ViewImageList();
    if (image >= 0 && images && !g.rectImage.IsRectEmpty()) {
        CRect frame = g.rectImage;
        frame.OffsetRect(at);
        // The hot item is raised, or sunken while the left button is down on it as the
        // selected item; the active item stays sunken with SHBS_SHOWACTIVEALWAYS.
        const bool buttonDown = (::GetKeyState(VK_LBUTTON) & 0x8000) != 0;
        const bool pressedHot = hot && buttonDown && item == m_nSelectedItem;
        const bool active = !m_bCreatingDragImage && item == m_nActiveItem && (style & SHBS_SHOWACTIVEALWAYS);
        if (hot || active) {
            frame.DeflateRect(1, 1);
            shb::AttachedDc dc(hdc);
            DrawFrame(&dc, frame, hot, pressedHot || active);
            frame.InflateRect(1, 1);
        }
        ::ImageList_Draw(images, image, hdc, frame.left + 3, frame.top + 3, ILD_TRANSPARENT);
    }
    if (!g.rectText.IsRectEmpty()) {
        CRect text = g.rectText;
        text.OffsetRect(at);
        HFONT font = m_hPaintFont ? m_hPaintFont : TextFont();
        if (hot && (style & SHBS_UNDERLINEHOTITEM)) {
            if (!m_hotFont.GetSafeHandle()) {
                LOGFONT lf = m_lfText;
                lf.lfUnderline = TRUE;
                m_hotFont.CreateFontIndirect(&lf);
            }
            if (m_hotFont.GetSafeHandle())
                font = static_cast<HFONT>(m_hotFont.GetSafeHandle());
        }
        const shb::Selected selectFont(hdc, font);
        const int oldMode = ::SetBkMode(hdc, TRANSPARENT);
        const COLORREF oldColour = ::SetTextColor(hdc, GetTextColor());
        const CString label = ItemText(item);
        if (GetView() == SHB_SMALLICON) {
            ::DrawTextW(hdc, label.GetString(), label.GetLength(), &text, kDrawSmall);
        } else {
            text.DeflateRect(2, 2);
            ::DrawTextW(hdc, label.GetString(), label.GetLength(), &text, kDrawLarge);
        }
        ::SetTextColor(hdc, oldColour);
        ::SetBkMode(hdc, oldMode);
    }
}

void COXSHBListCtrl::DrawScrollButtons(CDC* pDC)
{
    if (!pDC)
        return;
    if (!m_rectScrollUp.IsRectEmpty()) {
        CRect r = m_rectScrollUp;
        pDC->DrawFrameControl(&r, DFC_SCROLL, DFCS_SCROLLUP | (m_bScrollingUp ? DFCS_PUSHED : 0));
    }
    if (!m_rectScrollDown.IsRectEmpty()) {
        CRect r = m_rectScrollDown;
        pDC->DrawFrameControl(&r, DFC_SCROLL, DFCS_SCROLLDOWN | (m_bScrollingDown ? DFCS_PUSHED : 0));
    }
}

void COXSHBListCtrl::DrawPlaceHolder(CDC* pDC)
{
    const int count = ItemCount();
    if (!pDC || m_nPlaceHolder < 0 || m_nPlaceHolder > count)
        return;
    const CRect r = GetPlaceHolderRect(m_nPlaceHolder);
    if (!pDC->RectVisible(&r))
        return;
    // Black, unless black would vanish into the background.
    const COLORREF colour = shb::ColoursClose(RGB(0, 0, 0), GetBkColor(), 64) ? RGB(255, 255, 255) : RGB(0, 0, 0);
    const HDC hdc = pDC->GetSafeHdc();
    const shb::OwnedObject pen(::CreatePen(PS_SOLID, 1, colour));
    const shb::Selected selectPen(hdc, pen.get());
    const auto segment = [hdc](int x1, int x2, int y) {
        ::MoveToEx(hdc, x1, y, nullptr);
        ::LineTo(hdc, x2, y);
    };
    if (m_nPlaceHolder == 0 || count == 0) {
        segment(r.left, r.right, r.top);
        for (int i = 1; i <= 10; ++i) {
            segment(r.left, r.left + 10 - i, r.top + i);
            segment(r.right - (10 - i), r.right, r.top + i);
        }
    } else if (m_nPlaceHolder == count) {
        const int y = r.bottom - 1;
        segment(r.left, r.right, y);
        for (int i = 1; i <= 10; ++i) {
            segment(r.left, r.left + 10 - i, y - i);
            segment(r.right - (10 - i), r.right, y - i);
        }
    } else {
        const int middle = (r.top + r.bottom) / 2;
        segment(r.left, r.right, middle);
        for (int i = 1; i <= 7; ++i) {
            for (int y : {middle + i, middle - i}) {
                segment(r.left, r.left + 7 - i, y);
                segment(r.right - 7 + i, r.right, y);
            }
        }
    }
}

CImageList* COXSHBListCtrl::CreateDragImage(int nItem, LPPOINT lpPoint)
{
    CRect bounds;
    if (!GetItemRect(nItem, &bounds, LVIR_BOUNDS) || bounds.IsRectEmpty())
        return nullptr;
    CRect row;
    GetItemRect(nItem, &row, SHBLC_ENTIREITEM);
    const COLORREF background = GetBkColor();
    m_bCreatingDragImage = TRUE;
    auto list = std::make_unique<CImageList>();
    bool ok = list->Create(bounds.Width(), bounds.Height(), ILC_COLOR32 | ILC_MASK, 1, 1) != FALSE;
    if (ok) {
        const HDC screen = ::GetDC(m_hWnd);
        {
            shb::OffscreenDc memory(screen, CRect(0, 0, bounds.Width(), bounds.Height()));
            ok = memory.Valid();
            if (ok) {
                shb::FillSolid(memory.dc(), CRect(0, 0, bounds.Width(), bounds.Height()), background);
                // The item drawn so that its image and text land at the bitmap's origin.
                DRAWITEMSTRUCT dis{};
                dis.CtlType = ODT_LISTVIEW;
                dis.itemID = static_cast<UINT>(nItem);
                dis.itemAction = ODA_DRAWENTIRE;
                dis.hwndItem = m_hWnd;
                dis.hDC = memory.dc();
                dis.rcItem = CRect(row.left - bounds.left, row.top - bounds.top, row.right - bounds.left,
                    row.bottom - bounds.top);
                DrawItem(&dis);
                const shb::OwnedObject bitmap(memory.ReleaseBitmap());
                ok = ::ImageList_AddMasked(list->GetSafeHandle(), static_cast<HBITMAP>(bitmap.get()), background) >= 0;
            }
        }
        ::ReleaseDC(m_hWnd, screen);
    }
    m_bCreatingDragImage = FALSE;
    if (!ok)
        return nullptr;
    if (lpPoint)
        *lpPoint = bounds.TopLeft();
    return list.release();
}
