// Showing a bitmap menu under a toolbar or menu-bar button: where the popup goes, how large
// it is, and the shadowed window over the button while it is open.
#include <algorithm>
#include <memory>

#include "platform/afx/wnd.h"
#include "platform/user/menu.h"
#include "platform/user/popup_menu.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/winuser.h"
#include "toolkit/menus/bitmap_menu.h"
#include "toolkit/menus/menu_seams.h"
#include "toolkit/menus/shadowed_item_wnd.h"

namespace {

// A bar docked along the top or bottom of its frame (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM).
constexpr DWORD kAlignHorizontal = 0x2000 | 0x8000;

// Messages already queued are handled before the popup takes over the loop (the button's
// own repaint among them); a timer is left for later, as the loop handles timers itself.
void DispatchQueuedMessages()
{
    MSG msg;
    for (int guard = 0; guard < 10000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE); ++guard) {
        if (msg.message == WM_TIMER || msg.message == WM_QUIT)
            break;
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

} // namespace

CSize COXBitmapMenu::GetPopupMenuSize(CMenu* pMenu)
{
    if (!pMenu || !pMenu->GetSafeHmenu())
        return CSize(0, 0);
    const bool bitmapMenu = pMenu->IsKindOf(RUNTIME_CLASS(COXBitmapMenu));
    const int count = static_cast<int>(pMenu->GetMenuItemCount());
    int width = 0;
    int height = 0;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_ID | MIIM_DATA | MIIM_FTYPE;
        if (!pMenu->GetMenuItemInfo(static_cast<UINT>(i), &mii, TRUE))
            continue;
        MEASUREITEMSTRUCT mis{ODT_MENU, 0, mii.wID, 0, 0, mii.dwItemData};
        pMenu->MeasureItem(&mis);
        if (!bitmapMenu && mis.itemHeight == 0)
            mis.itemHeight = (mii.fType & MFT_SEPARATOR) || mii.wID == 0 ? 8 : 17;
        width = std::max(width, static_cast<int>(mis.itemWidth));
        height += static_cast<int>(mis.itemHeight);
    }
    return CSize(width + 18, height + 6);
}

void COXBitmapMenu::DeterminePosition(CMenu* pMenu, LPCRECT lpRectButton, DWORD dwBarStyle, CPoint& point,
    UINT& nFlags, UINT& nSide)
{
    nFlags = 0;
    nSide = OX_POPUP_BELOW;
    if (!lpRectButton)
        return;
    const CRect r(*lpRectButton);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    ::GetMonitorInfoW(::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi);
    const CRect monitor(mi.rcMonitor);
    const CSize size = GetPopupMenuSize(pMenu);
    if (dwBarStyle & kAlignHorizontal) {
        point.x = std::max(r.left, monitor.left);
        if (point.x + size.cx > monitor.right)
            point.x = monitor.right - size.cx;
        if (r.bottom + size.cy <= monitor.bottom) {
            point.y = r.bottom - 1;
            nSide = OX_POPUP_BELOW;
        } else {
            nFlags |= TPM_BOTTOMALIGN;
            point.y = r.top + 1;
            nSide = OX_POPUP_ABOVE;
        }
    } else {
        if (r.right + size.cx <= monitor.right) {
            point.x = r.right;
            nSide = OX_POPUP_RIGHT;
        } else {
            nFlags |= TPM_RIGHTALIGN;
            point.x = r.left;
            nSide = OX_POPUP_LEFT;
        }
        point.y = std::max(r.top + 1, monitor.top);
        if (point.y + size.cy > monitor.bottom)
            point.y = monitor.bottom - size.cy - 1;
    }
}

BOOL COXBitmapMenu::TrackPopupMenu(COXCoolToolBar* pBar, CWnd* pWnd, LPCRECT lpRect)
{
    COXCommandBarAccess* bars = OXGetCommandBarAccess();
    if (!pBar || !bars)
        return FALSE;
    const HWND hBar = bars->GetBarWindow(pBar);
    if (!hBar || !::IsWindow(hBar))
        return FALSE;

    // 1-2. The pressed button, else the one whose drop-down arrow was pressed last; a menu
    // bar without either drops the maximised MDI child's system menu from its icon.
    int button = bars->FindPressedButton(pBar);
    if (button < 0) {
        const int command = bars->GetLastDropDownCommand(pBar);
        if (command != -1)
            button = bars->CommandToIndex(pBar, static_cast<UINT>(command));
    }
    CRect r(0, 0, 0, 0);
    if (button >= 0) {
        if (!bars->GetItemRect(pBar, button, &r))
            return FALSE;
    } else if (bars->IsMenuBar(pBar) && bars->GetMdiChildIconRect(pBar, &r) && !r.IsRectEmpty()) {
        // From the bar's window coordinates to its client coordinates.
        CRect window;
        ::GetWindowRect(hBar, &window);
        POINT client{0, 0};
        ::ClientToScreen(hBar, &client);
        r.OffsetRect(window.left - client.x, window.top - client.y);
        r.InflateRect(3, 3);
    } else {
        // Nothing to drop from: no popup rather than one at a made-up place.
        return FALSE;
    }

    // 3. Where the popup goes.
    ::ClientToScreen(hBar, reinterpret_cast<POINT*>(&r.left));
    ::ClientToScreen(hBar, reinterpret_cast<POINT*>(&r.right));
    CPoint point;
    UINT flags = 0;
    UINT side = OX_POPUP_BELOW;
    DeterminePosition(this, &r, bars->GetBarStyle(pBar), point, flags, side);

    // 4. What is queued goes first.
    DispatchQueuedMessages();

    // 5. The window over the button; its rectangle is where the popup joins the button.
    m_rectDropDownItem = r;
    m_rectDropDownItem.DeflateRect(0, 1);
    CRect rectWindow = m_rectDropDownItem;
    rectWindow.right += 4;
    rectWindow.bottom += 4;
    auto shadowed = std::make_unique<COXShadowedItemWnd>(pBar, button, side);
    shadowed->CreateEx(WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT, nullptr, nullptr, WS_CHILD | WS_VISIBLE, rectWindow.left,
        rectWindow.top, rectWindow.Width(), rectWindow.Height(), ::GetDesktopWindow(), nullptr);

    // 6. Track, then take the window away again.
    const BOOL result = CMenu::TrackPopupMenu(flags, point.x, point.y, pWnd, lpRect);
    if (shadowed->GetSafeHwnd())
        shadowed->DestroyWindow();
    shadowed.reset();
    m_rectDropDownItem.SetRectEmpty();
    return result;
}
