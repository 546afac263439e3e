// COXBitmapMenuPopupWnd: life, showing a menu, layout, painting and scrolling (the mouse,
// keyboard, drop target and commands are in bitmap_menu_popup_input.cpp).
#include "toolkit/menus/bitmap_menu_popup_wnd.h"

#include <algorithm>

#include "platform/afx/gdi/dc.h"
#include "platform/afx/window_dc.h"
#include "platform/base/exception.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/menu.h"
#include "platform/user/popup_menu.h"
#include "platform/user/winpos.h"
#include "platform/user/winuser.h"
#include "toolkit/menus/bitmap_menu.h"
#include "toolkit/menus/menu_seams.h"
#include "toolkit/skins/menu_skin.h"

IMPLEMENT_DYNAMIC(COXBitmapMenuPopupWnd, CWnd)

namespace {

constexpr DWORD kStyle = WS_POPUP;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

// What the menu skins (and the organizer) ask of a customisation popup.
class PopupAccess final : public COXCustomizePopupAccess {
public:
    HWND GetPopupWindow(COXBitmapMenuPopupWnd* popup) override { return popup ? popup->GetSafeHwnd() : nullptr; }
    COXBitmapMenu* GetPopupMenu(COXBitmapMenuPopupWnd* popup) override
    {
        return popup ? popup->GetBitmapMenu() : nullptr;
    }
    void OnMenuChanged(COXBitmapMenuPopupWnd* popup) override
    {
        if (popup)
            popup->OnMenuChanged();
    }
};

PopupAccess g_access;

// Installed when the library loads, unless a host put its own in first.
const bool g_installed = [] {
    if (!OXGetCustomizePopupAccess())
        OXSetCustomizePopupAccess(&g_access);
    return true;
}();

} // namespace

COXBitmapMenuPopupWnd::COXBitmapMenuPopupWnd() = default;

COXBitmapMenuPopupWnd::~COXBitmapMenuPopupWnd()
{
    // Even in the middle of a drag: the menu must not keep a pointer to this object.
    if (m_pBitmapMenu) {
        if (m_pBitmapMenu->GetPopupWnd() == this) {
            m_pBitmapMenu->SetPopupWnd(nullptr);
            m_pBitmapMenu->GetDropTarget()->Revoke();
        }
        m_pBitmapMenu = nullptr;
    }
    if (GetSafeHwnd())
        DestroyWindow();
}

// ---- showing a menu ----------------------------------------------------------------------------------------------

BOOL COXBitmapMenuPopupWnd::TrackPopupMenu(COXBitmapMenu* pMenu, UINT nFlags, int x, int y, CWnd* pWnd)
{
    if (!pMenu || !pMenu->GetSafeHmenu())
        return FALSE;
    if (m_pBitmapMenu && m_pBitmapMenu != pMenu && m_pBitmapMenu->GetPopupWnd() == this) {
        // The menu shown before is let go, as if the window had been reset.
        m_pBitmapMenu->SetCustomizedItem(-1);
        m_pBitmapMenu->SetPopupWnd(nullptr);
        m_pBitmapMenu->GetDropTarget()->Revoke();
    }
    m_pBitmapMenu = pMenu;
    if (!GetSafeHwnd()) {
        const LPCTSTR cls = AfxRegisterWndClass(
            CS_SAVEBITS | CS_DBLCLKS, nullptr, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
        if (!CreateEx(kExStyle, cls, L"", kStyle, m_rectWindow, pWnd, 0)) {
            m_pBitmapMenu = nullptr;
            return FALSE;
        }
    }
    pMenu->SetPopupWnd(this);
    // Drops on this window go to the menu (without OLE on the thread nothing can be dropped).
    COXSHBDropTarget* target = pMenu->GetDropTarget();
    target->Revoke();
    target->Register(this);
    if (!pMenu->IsCustomizable())
        pMenu->SetCustomizable(TRUE);
    pMenu->SetCutomizationMode(TRUE, pWnd ? pWnd->GetSafeHwnd() : nullptr);

    UpdateMenuMetrics();
    m_nScrollPos = 0;
    CalcLayout(nFlags, x, y);
    SetWindowPos(&wndTopMost, m_rectWindow.left, m_rectWindow.top, m_rectWindow.Width(), m_rectWindow.Height(),
        SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ShowWindow(SW_SHOWNA);
    UpdateScrollRange();
    return TRUE;
}

void COXBitmapMenuPopupWnd::ResetPopupMenu()
{
    // A drag that started from the menu still needs the menu and this window.
    if (m_pBitmapMenu && m_pBitmapMenu->IsDragDropOwner())
        return;
    if (m_nDragTimer && GetSafeHwnd())
        KillTimer(m_nDragTimer);
    m_nDragTimer = 0;
    if (m_pBitmapMenu) {
        if (m_pBitmapMenu->GetPopupWnd() == this) {
            m_pBitmapMenu->SetCustomizedItem(-1);
            m_pBitmapMenu->SetPopupWnd(nullptr);
            // Another menu shown here later registers its own target on the window.
            m_pBitmapMenu->GetDropTarget()->Revoke();
        }
        m_pBitmapMenu = nullptr;
    }
    if (GetSafeHwnd())
        ShowWindow(SW_HIDE);
}

void COXBitmapMenuPopupWnd::ForgetMenu(COXBitmapMenu* pMenu)
{
    if (!pMenu || pMenu != m_pBitmapMenu)
        return;
    m_pBitmapMenu = nullptr;
    if (GetSafeHwnd()) {
        if (m_nDragTimer)
            KillTimer(m_nDragTimer);
        ShowWindow(SW_HIDE);
    }
    m_nDragTimer = 0;
}

void COXBitmapMenuPopupWnd::OnMenuChanged()
{
    if (!m_pBitmapMenu)
        return;
    CRect window = m_rectWindow;
    if (GetSafeHwnd())
        GetWindowRect(&window);
    m_pBitmapMenu->CalcExtents();
    CalcLayout(TPM_LEFTALIGN, window.left, window.top);
    if (GetSafeHwnd() && IsWindowVisible()) {
        SetWindowPos(&wndTopMost, m_rectWindow.left, m_rectWindow.top, m_rectWindow.Width(), m_rectWindow.Height(),
            SWP_SHOWWINDOW | SWP_NOACTIVATE);
        UpdateScrollRange();
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    } else {
        ResetPopupMenu();
    }
}

void COXBitmapMenuPopupWnd::UpdateMenuMetrics()
{
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&ncm.lfMenuFont);
}

// ---- layout --------------------------------------------------------------------------------------------------------

BOOL COXBitmapMenuPopupWnd::CalcLayout(UINT nFlags, int x, int y)
{
    m_arrItemRects.clear();
    m_rectWindow.SetRectEmpty();
    m_nItemsHeight = 0;
    if (!m_pBitmapMenu)
        return FALSE;
    const HMENU hMenu = m_pBitmapMenu->GetSafeHmenu();
    const int count = std::max(::GetMenuItemCount(hMenu), 0);
    int top = 0;
    int width = 0;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_DATA;
        ::GetMenuItemInfoW(hMenu, static_cast<UINT>(i), TRUE, &mii);
        MEASUREITEMSTRUCT mis{ODT_MENU, 0, ::GetMenuItemID(hMenu, i), 0, 0, mii.dwItemData};
        m_pBitmapMenu->MeasureItem(&mis);
        const int itemWidth = static_cast<int>(std::min<UINT>(mis.itemWidth, 0x7FFF));
        const int itemHeight = static_cast<int>(std::min<UINT>(mis.itemHeight, 0x7FFF));
        m_arrItemRects.emplace_back(0, top, itemWidth, top + itemHeight);
        top += itemHeight;
        width = std::max(width, itemWidth);
    }
    m_nItemsHeight = top;
    int height = top;
    if (width == 0 && height == 0) {
        width = 50;
        height = 18;
    }
    int left = x;
    if (nFlags & TPM_RIGHTALIGN)
        left = x - width;
    else if (nFlags & TPM_CENTERALIGN)
        left = x - width / 2;
    const CRect client(left, y, left + width, y + height);
    CRect window = client;
    if (GetSafeHwnd())
        CalcWindowRect(&window);
    else
        ::AdjustWindowRectEx(&window, kStyle, FALSE, kExStyle);
    // The frame grows outwards; the window keeps its corner where it was asked for and
    // gets the left border's width again on either side of the items.
    const int dx = client.left - window.left;
    window.OffsetRect(client.left - window.left, client.top - window.top);
    window.right += 2 * dx;
    const int itemsWidth = width + 2 * dx;
    for (CRect& r : m_arrItemRects)
        if (r.Width() < itemsWidth)
            r.right = r.left + itemsWidth;

    // A menu taller than its monitor's work area is cut to it and scrolls.
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (::GetMonitorInfoW(::MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST), &mi)) {
        const CRect work(mi.rcWork);
        if (window.Height() > work.Height()) {
            window.top = work.top;
            window.bottom = work.bottom;
        }
    }
    m_rectWindow = window;
    return TRUE;
}

CRect COXBitmapMenuPopupWnd::GetItemRect(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetItemCount())
        AfxThrowInvalidArgException(L"no item at that index");
    return m_arrItemRects[static_cast<size_t>(nIndex)];
}

void COXBitmapMenuPopupWnd::RedrawItem(int nIndex)
{
    if (!GetSafeHwnd() || nIndex < 0 || nIndex >= GetItemCount())
        return;
    CRect r = m_arrItemRects[static_cast<size_t>(nIndex)];
    r.OffsetRect(0, -m_nScrollPos);
    RedrawWindow(&r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

// ---- painting -----------------------------------------------------------------------------------------------------

void COXBitmapMenuPopupWnd::OnPaint()
{
    CPaintDC dc(this);
    if (!m_pBitmapMenu)
        return;
    const HMENU hMenu = m_pBitmapMenu->GetSafeHmenu();
    const HDC hdc = dc.GetSafeHdc();
    dc.SetTextColor(::GetSysColor(COLOR_MENUTEXT));
    const HGDIOBJ oldFont = ::SelectObject(hdc, m_font.GetSafeHandle());
    // The items are drawn where the layout put them; the scrolling moves the origin.
    POINT oldOrigin{};
    ::SetViewportOrgEx(hdc, 0, -m_nScrollPos, &oldOrigin);
    const int count = std::min(GetItemCount(), std::max(::GetMenuItemCount(hMenu), 0));
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_DATA;
        ::GetMenuItemInfoW(hMenu, static_cast<UINT>(i), TRUE, &mii);
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_MENU;
        dis.CtlID = 0;
        dis.itemID = ::GetMenuItemID(hMenu, i);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = 0;
        dis.hwndItem = reinterpret_cast<HWND>(hMenu);
        dis.hDC = hdc;
        dis.rcItem = m_arrItemRects[static_cast<size_t>(i)];
        dis.itemData = mii.dwItemData;
        m_pBitmapMenu->DrawItem(&dis);
    }
    ::SetViewportOrgEx(hdc, oldOrigin.x, oldOrigin.y, nullptr);
    ::SelectObject(hdc, oldFont);
}

void COXBitmapMenuPopupWnd::OnNcPaint() { COXBitmapMenu::GetMenuSkin()->OnNcPaintCustomizePopupWnd(this); }

// ---- scrolling -------------------------------------------------------------------------------------------------

int COXBitmapMenuPopupWnd::GetMaxScrollOffset() const
{
    if (!GetSafeHwnd())
        return 0;
    CRect client;
    GetClientRect(&client);
    return std::max(0, m_nItemsHeight - client.Height());
}

void COXBitmapMenuPopupWnd::UpdateScrollRange()
{
    if (!GetSafeHwnd())
        return;
    CRect client;
    GetClientRect(&client);
    const int maxOffset = GetMaxScrollOffset();
    m_nScrollPos = std::clamp(m_nScrollPos, 0, maxOffset);
    // No visible bar: the range is there for the drop target's automatic scrolling.
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = maxOffset > 0 ? m_nItemsHeight - 1 : 0;
    si.nPage = maxOffset > 0 ? static_cast<UINT>(client.Height()) : 0;
    si.nPos = m_nScrollPos;
    ::SetScrollInfo(m_hWnd, SB_VERT, &si, FALSE);
}

void COXBitmapMenuPopupWnd::ScrollTo(int nOffset)
{
    nOffset = std::clamp(nOffset, 0, GetMaxScrollOffset());
    if (nOffset == m_nScrollPos)
        return;
    m_nScrollPos = nOffset;
    ::SetScrollPos(m_hWnd, SB_VERT, nOffset, FALSE);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

void COXBitmapMenuPopupWnd::EnsureVisible(int nIndex)
{
    if (!GetSafeHwnd() || nIndex < 0 || nIndex >= GetItemCount())
        return;
    CRect client;
    GetClientRect(&client);
    const CRect& item = m_arrItemRects[static_cast<size_t>(nIndex)];
    if (item.top < m_nScrollPos) {
        ScrollTo(item.top);
        return;
    }
    if (item.bottom <= m_nScrollPos + client.Height())
        return;
    // The first item top from which the item's bottom is in view.
    for (const CRect& r : m_arrItemRects) {
        if (item.bottom - r.top <= client.Height()) {
            ScrollTo(r.top);
            return;
        }
    }
}

void COXBitmapMenuPopupWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* /*pScrollBar*/)
{
    if (!GetSafeHwnd())
        return;
    CRect client;
    GetClientRect(&client);
    int offset = m_nScrollPos;
    switch (nSBCode) {
    case SB_LINEDOWN:
        // To the top of the next item.
        for (const CRect& r : m_arrItemRects) {
            if (r.top > m_nScrollPos) {
                offset = r.top;
                break;
            }
        }
        break;
    case SB_LINEUP:
        for (const CRect& r : m_arrItemRects) {
            if (r.top >= m_nScrollPos)
                break;
            offset = r.top;
        }
        break;
    case SB_PAGEDOWN: offset += client.Height(); break;
    case SB_PAGEUP: offset -= client.Height(); break;
    case SB_TOP: offset = 0; break;
    case SB_BOTTOM: offset = GetMaxScrollOffset(); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: offset = static_cast<int>(nPos); break;
    default: return;
    }
    ScrollTo(offset);
}
