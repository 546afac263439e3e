// COXMenuBar: opening and tracking a popup under a button, switching popups, surfing the
// bar with the keyboard, and the keys the host's keyboard hook hands over.
#include <algorithm>
#include <cwctype>
#include <memory>

#include "platform/afx/frame.h"
#include "platform/afx/mdi.h"
#include "platform/afx/menu.h"
#include "platform/comctl/toolbar.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/menu.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/popup_menu.h"
#include "platform/user/vkeys.h"
#include "platform/user/window.h"
#include "toolkit/menus/bitmap_menu.h"
#include "toolkit/menus/menu_bar.h"
#include "toolkit/menus/organizer.h"

namespace {

bool IsPopupItem(HMENU hMenu, int nIndex)
{
    const UINT id = ::GetMenuItemID(hMenu, nIndex);
    return id == static_cast<UINT>(-1) || id == 0xFFFF;
}

} // namespace

BOOL COXMenuBar::IsInDisplayingMode() const
{
    if (m_nDisplayedIndex < 0 || !m_hWnd)
        return FALSE;
    return m_nDisplayedIndex <= static_cast<int>(::SendMessageW(m_hWnd, TB_BUTTONCOUNT, 0, 0));
}

LRESULT COXMenuBar::OnDisplayPopupMenu(WPARAM wParam, LPARAM lParam)
{
    // Only the last of several queued requests counts. A non-zero lParam: a key asked,
    // and it still did when the same popup was asked for again (a key's switch ends the
    // open popup with a click on the next button, which asks for it too).
    int nIndex = static_cast<int>(wParam);
    BOOL bKeyboard = lParam != 0;
    MSG msg;
    while (::PeekMessageW(&msg, m_hWnd, WM_OX_DISPLAYPOPUP, WM_OX_DISPLAYPOPUP, PM_REMOVE)) {
        const int nNext = static_cast<int>(msg.wParam);
        bKeyboard = (nNext == nIndex && bKeyboard) || msg.lParam != 0;
        nIndex = nNext;
    }
    m_bKeyboardOpen = bKeyboard;
    DisplayPopupMenu(nIndex);
    m_bKeyboardOpen = FALSE;
    return 0;
}

BOOL COXMenuBar::OnDropDown(NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* nm = reinterpret_cast<NMTOOLBARW*>(pNMHDR);
    if (pResult)
        *pResult = TBDDRET_DEFAULT;
    const int nIndex = nm ? nm->iItem - 1 : -1;
    if (nIndex < 0 || nIndex >= GetMenuItemCount())
        return TRUE;
    if (m_nClosedByClickIndex == nIndex) {
        // The click that closed this button's popup does not open it again.
        m_nClosedByClickIndex = -1;
        return TRUE;
    }
    if (IsPopupItem(m_hMenu, nIndex)) {
        PostMessage(WM_OX_DISPLAYPOPUP, static_cast<WPARAM>(nIndex), 0);
    } else if (!IsInAdvancedCustomizationMode()) {
        // A command item runs at once.
        const UINT id = ::GetMenuItemID(m_hMenu, nIndex);
        const UINT state = ::GetMenuState(m_hMenu, static_cast<UINT>(nIndex), MF_BYPOSITION);
        if (!(state & (MF_DISABLED | MF_GRAYED))) {
            m_nClosedByClickIndex = nIndex;
            SendMessage(TB_PRESSBUTTON, static_cast<WPARAM>(nIndex + 1), MAKELPARAM(TRUE, 0));
            if (m_pFrameWnd)
                m_pFrameWnd->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
            if (m_hWnd)
                SendMessage(TB_PRESSBUTTON, static_cast<WPARAM>(nIndex + 1), MAKELPARAM(FALSE, 0));
            m_nClosedByClickIndex = -1;
        }
    }
    return TRUE;
}

void COXMenuBar::SendMenuSelect(int nIndex)
{
    if (!m_pFrameWnd || !m_pFrameWnd->m_hWnd)
        return;
    if (nIndex == GetMenuItemCount())
        m_pFrameWnd->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, MF_SYSMENU), reinterpret_cast<LPARAM>(m_hMenu));
    else if (nIndex >= 0)
        m_pFrameWnd->SendMessage(WM_MENUSELECT, MAKEWPARAM(static_cast<WORD>(nIndex), MF_POPUP | MF_HILITE),
            reinterpret_cast<LPARAM>(m_hMenu));
}

CWnd* COXMenuBar::GetMaximizedChild() const
{
    auto* pFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, m_pFrameWnd);
    if (!pFrame || !pFrame->m_hWnd)
        return nullptr;
    BOOL bMaximized = FALSE;
    CWnd* pChild = pFrame->MDIGetActive(&bMaximized);
    return pChild && bMaximized ? pChild : nullptr;
}

void COXMenuBar::DisplayPopupMenu(int nIndex)
{
    if (!m_hWnd)
        return;
    const BOOL bCustomizing = IsInAdvancedCustomizationMode();
    if (bCustomizing)
        SaveCustomizedMenu();
    const int nCount = GetMenuItemCount();
    if (!m_hMenu || nIndex < 0 || nIndex > nCount)
        return;
    const bool bIcon = nIndex == nCount;
    if ((bIcon && !GetIcon()) || (!bIcon && !IsPopupItem(m_hMenu, nIndex))) {
        // A command item: it runs when the keyboard chose it.
        if (m_bSurfing && !bIcon && m_pFrameWnd) {
            const UINT state = ::GetMenuState(m_hMenu, static_cast<UINT>(nIndex), MF_BYPOSITION);
            if (!(state & (MF_DISABLED | MF_GRAYED)))
                m_pFrameWnd->SendMessage(WM_COMMAND, MAKEWPARAM(::GetMenuItemID(m_hMenu, nIndex), 0), 0);
        }
        RestoreMenuButton();
        return;
    }
    const BOOL bWasDisplaying = IsInDisplayingMode();
    const BOOL bWasSurfing = m_bSurfing;
    if (bWasSurfing) {
        m_bBackToSurfing = FALSE;
        SetSurfingMode(FALSE);
    }

    HMENU hPopup = nullptr;
    if (bIcon) {
        if (!bCustomizing)
            if (CWnd* pChild = GetMaximizedChild())
                hPopup = ::GetSystemMenu(pChild->m_hWnd, FALSE);
    } else {
        const UINT state = ::GetMenuState(m_hMenu, static_cast<UINT>(nIndex), MF_BYPOSITION);
        if (!(state & (MF_DISABLED | MF_GRAYED)))
            hPopup = ::GetSubMenu(m_hMenu, nIndex);
    }
    if (!hPopup && !bCustomizing) {
        RestoreMenuButton();
        return;
    }

    if (!bWasSurfing && m_pFrameWnd) {
        if (!bWasDisplaying) {
            m_pFrameWnd->SendMessage(WM_ENTERMENULOOP, FALSE, 0);
            m_pFrameWnd->SendMessage(WM_INITMENU, reinterpret_cast<WPARAM>(m_hMenu), 0);
        }
        SendMenuSelect(nIndex);
    }

    CRect rectButton;
    GetItemRect(nIndex, &rectButton);
    ClientToScreen(&rectButton);

    // The frame's organizer converts the popup (the bar makes the bitmap menu it keeps).
    COXBitmapMenu* pBitmapMenu = nullptr;
    if (hPopup && !bIcon && m_pFrameWnd) {
        if (COXBitmapMenuOrganizer* pOrganizer = COXBitmapMenuOrganizer::FindOrganizer(m_pFrameWnd->m_hWnd)) {
            pBitmapMenu = pOrganizer->FindConvertedMenu(hPopup);
            if (!pBitmapMenu)
                pBitmapMenu = DYNAMIC_DOWNCAST(COXBitmapMenu, CMenu::FromHandlePermanent(hPopup));
            BOOL bCreated = FALSE;
            if (!pBitmapMenu) {
                auto pNew = std::make_unique<COXDragDropBitmapMenu>();
                if (pNew->Attach(hPopup) && pOrganizer->AddConvertedMenu(pNew.get())) {
                    pBitmapMenu = pNew.release();
                    bCreated = TRUE;
                } else {
                    pNew->Detach();
                }
            }
            if (pBitmapMenu)
                pOrganizer->ConvertBitmapMenu(pBitmapMenu, bCreated);
        }
    }

    CPoint point;
    UINT nFlags = 0, nSide = 0;
    CMenu* pMenu = CMenu::FromHandle(hPopup);
    COXBitmapMenu::DeterminePosition(pMenu, &rectButton, m_dwStyle, point, nFlags, nSide);

    if (m_nDisplayedIndex >= 0 && m_nDisplayedIndex != nIndex)
        SendMessage(TB_PRESSBUTTON, static_cast<WPARAM>(m_nDisplayedIndex + 1), MAKELPARAM(FALSE, 0));
    m_nDisplayedIndex = nIndex;
    m_nNextIndex = -1;
    if (!bCustomizing && !bIcon) {
        // The open title looks the same however it was opened: not hot under a mouse that
        // clicked it (the popup takes the mouse until it closes).
        SendMessage(TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
        SendMessage(TB_PRESSBUTTON, static_cast<WPARAM>(nIndex + 1), MAKELPARAM(TRUE, 0));
    }

    if (bCustomizing) {
        OXCTBMENUPOPUP popup{hPopup, nFlags, point};
        SendCustomizeNotification(ID_OXCUSTTB_MENUPOPUP, reinterpret_cast<LPARAM>(&popup));
        m_nClosedByClickIndex = -1;
        RestoreMenuButton();
        return;
    }

    const HWND hOwner = m_pFrameWnd ? m_pFrameWnd->m_hWnd : m_hWnd;
    if (pBitmapMenu && !bIcon)
        pBitmapMenu->TrackPopupMenu(this, m_pFrameWnd);
    else
        ::TrackPopupMenu(hPopup, nFlags, point.x, point.y, 0, hOwner, nullptr);
    if (!m_hWnd)
        return;

    if (m_nNextIndex != -1) {
        PostMessage(WM_OX_DISPLAYPOPUP, static_cast<WPARAM>(m_nNextIndex), m_bNextByKeyboard);
        m_bNextByKeyboard = FALSE;
        return;
    }
    // Only a press on this button ends the popup "by a click on it": the loop leaves that
    // press queued, and it must not open the popup again. A popup closed by a key while
    // the cursor merely rests on the button swallows no later click.
    MSG msg;
    if (::PeekMessageW(&msg, m_hWnd, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, PM_NOREMOVE) &&
        (msg.message == WM_LBUTTONDOWN || msg.message == WM_LBUTTONDBLCLK)) {
        const CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
        if (PopupIndexAt(pt) == m_nDisplayedIndex && !bIcon)
            m_nClosedByClickIndex = m_nDisplayedIndex;
    }
    RestoreMenuButton();
}

void COXMenuBar::RestoreMenuButton()
{
    const int nIndex = m_nDisplayedIndex;
    if (nIndex >= 0) {
        if (m_hWnd)
            SendMessage(TB_PRESSBUTTON, static_cast<WPARAM>(nIndex + 1), MAKELPARAM(FALSE, 0));
        m_nDisplayedIndex = -1;
    }
    if (m_nNextIndex == -1 && !m_bBackToSurfing && m_pFrameWnd && m_pFrameWnd->m_hWnd)
        m_pFrameWnd->SendMessage(WM_EXITMENULOOP, FALSE, 0);
    if (m_bBackToSurfing) {
        SetSurfingMode(TRUE, nIndex);
        m_nClosedByClickIndex = -1;
    }
    m_bBackToSurfing = FALSE;
}

BOOL COXMenuBar::SetSurfingMode(BOOL bSurfing, int nItem)
{
    if (!m_hWnd)
        return FALSE;
    const int nButtons = static_cast<int>(SendMessage(TB_BUTTONCOUNT, 0, 0));
    if (nItem >= nButtons)
        nItem = -1;
    if (bSurfing) {
        if (IsInDisplayingMode())
            return FALSE;
        if (m_bSurfing) {
            SendMessage(TB_SETHOTITEM, static_cast<WPARAM>(nItem), 0);
            return TRUE;
        }
        const HWND hFocus = ::GetFocus();
        if (hFocus != m_hWnd)
            m_hwndFocusBeforeSurfing = hFocus;
        m_bSurfing = TRUE;
        SetFocus();
        SendMessage(TB_SETHOTITEM, static_cast<WPARAM>(nItem), 0);
        if (!m_bBackToSurfing && m_pFrameWnd && m_pFrameWnd->m_hWnd) {
            m_pFrameWnd->SendMessage(WM_ENTERMENULOOP, FALSE, 0);
            m_pFrameWnd->SendMessage(WM_INITMENU, reinterpret_cast<WPARAM>(m_hMenu), 0);
            SendMenuSelect(nItem < 0 ? 0 : nItem);
        }
        return TRUE;
    }
    if (!m_bSurfing)
        return TRUE;
    m_bSurfing = FALSE;
    if (m_hwndFocusBeforeSurfing && ::IsWindow(m_hwndFocusBeforeSurfing))
        ::SetFocus(m_hwndFocusBeforeSurfing);
    m_hwndFocusBeforeSurfing = nullptr;
    SendMessage(TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
    return TRUE;
}

int COXMenuBar::GetNextMenuItem(int nItem, BOOL bVisibleOnly) const
{
    const int nCount = GetMenuItemCount();
    const bool bIcon = GetIcon() != nullptr;
    if (nCount <= 0)
        return bIcon ? 0 : -1;
    int next;
    if (nItem < 0 || nItem > nCount)
        next = bIcon ? nCount : 0;
    else if (nItem == nCount)
        next = 0;
    else if (nItem + 1 < nCount)
        next = nItem + 1;
    else
        next = bIcon ? nCount : 0;
    if (bVisibleOnly && next < nCount && m_hWnd) {
        CRect item, client;
        CToolBar::GetItemRect(next, &item);
        GetClientRect(&client);
        if (item.left > client.right)
            next = bIcon ? nCount : 0;
    }
    return next;
}

int COXMenuBar::GetPrevMenuItem(int nItem, BOOL bVisibleOnly) const
{
    const int nCount = GetMenuItemCount();
    const bool bIcon = GetIcon() != nullptr;
    if (nCount <= 0)
        return bIcon ? 0 : -1;
    int prev;
    if (nItem < 0 || nItem > nCount)
        prev = bIcon ? nCount : 0;
    else if (nItem == nCount)
        prev = nCount - 1;
    else if (nItem > 0)
        prev = nItem - 1;
    else
        prev = bIcon ? nCount : nCount - 1;
    if (bVisibleOnly && prev < nCount && m_hWnd) {
        CRect item, client;
        CToolBar::GetItemRect(prev, &item);
        GetClientRect(&client);
        if (item.left > client.right)
            prev = bIcon ? nCount : 0;
    }
    return prev;
}

BOOL COXMenuBar::MoveToItem(int nIndex)
{
    const int nCount = GetMenuItemCount();
    if (m_bSurfing && !IsInDisplayingMode()) {
        SendMessage(TB_SETHOTITEM, static_cast<WPARAM>(nIndex == nCount ? -1 : nIndex), 0);
        SendMenuSelect(nIndex);
        return TRUE;
    }
    if (!IsInDisplayingMode())
        return FALSE;
    if (nIndex == m_nDisplayedIndex)
        return FALSE;
    if (nIndex < nCount && !IsPopupItem(m_hMenu, nIndex))
        return TRUE;   // a command item: the key is used up, nothing opens
    CRect rect;
    if (nIndex == nCount) {
        CToolBar::GetItemRect(0, &rect);
        rect.DeflateRect(1, 1);
        rect.OffsetRect(-::GetSystemMetrics(SM_CXSMICON), 0);
    } else {
        GetItemRect(nIndex, &rect);
    }
    m_nNextIndex = nIndex;
    m_bNextByKeyboard = TRUE;
    const CPoint centre = rect.CenterPoint();
    PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
    PostMessage(WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
    return TRUE;
}

BOOL COXMenuBar::HandleMenuKey(UINT nChar)
{
    if (!m_hWnd)
        return FALSE;
    if (m_pFrameWnd && m_pFrameWnd->m_hWnd && m_pFrameWnd->SendMessage(WM_KEYDOWN, nChar, 1) != 0)
        return TRUE;
    if (nChar == 0) {
        if (m_bSurfing) {
            SetSurfingMode(FALSE);
            if (m_pFrameWnd && m_pFrameWnd->m_hWnd)
                m_pFrameWnd->SendMessage(WM_EXITMENULOOP, FALSE, 0);
        } else {
            const int nHot = static_cast<int>(SendMessage(TB_GETHOTITEM, 0, 0));
            SetSurfingMode(TRUE, nHot >= 0 ? nHot : 0);
        }
        return TRUE;
    }
    if (nChar == VK_ESCAPE && m_bSurfing) {
        SetSurfingMode(FALSE);
        if (m_pFrameWnd && m_pFrameWnd->m_hWnd)
            m_pFrameWnd->SendMessage(WM_EXITMENULOOP, FALSE, 0);
        return TRUE;
    }
    if (SendMessage(TB_BUTTONCOUNT, 0, 0) <= 0)
        return FALSE;

    const bool bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    const BOOL bDisplaying = IsInDisplayingMode();
    const int nHot = static_cast<int>(SendMessage(TB_GETHOTITEM, 0, 0));
    const int nCount = GetMenuItemCount();
    const int nHotIndex = nHot >= 0 ? nHot : (GetIcon() ? nCount : 0);
    const auto open = [&](int nIndex) {
        PostMessage(WM_OX_DISPLAYPOPUP, static_cast<WPARAM>(nIndex), TRUE);
        return TRUE;
    };
    switch (nChar) {
    case VK_RETURN:
        if (m_bSurfing)
            return open(nHot >= 0 ? nHot : nCount);
        return FALSE;
    case VK_ESCAPE:
        if (bDisplaying)
            m_bBackToSurfing = TRUE;
        return FALSE;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
        const bool bAlong = bHorz ? (nChar == VK_LEFT || nChar == VK_RIGHT) : (nChar == VK_UP || nChar == VK_DOWN);
        const bool bBack = nChar == VK_LEFT || nChar == VK_UP;
        if (!bAlong) {
            if (m_bSurfing && !bDisplaying)
                return open(nHotIndex);
            return FALSE;
        }
        if (bDisplaying) {
            const int nTarget =
                bBack ? GetPrevMenuItem(m_nDisplayedIndex, TRUE) : GetNextMenuItem(m_nDisplayedIndex, TRUE);
            return MoveToItem(nTarget);
        }
        if (m_bSurfing) {
            const int nFrom = nHot >= 0 ? nHot : (GetIcon() ? nCount : -1);
            return MoveToItem(bBack ? GetPrevMenuItem(nFrom, TRUE) : GetNextMenuItem(nFrom, TRUE));
        }
        return FALSE;
    }
    default:
        break;
    }
    if (bDisplaying || (::GetKeyState(VK_CONTROL) & 0x8000))
        return FALSE;
    const auto it = m_mapMnemonics.find(static_cast<WCHAR>(std::towupper(static_cast<wint_t>(nChar))));
    if (it == m_mapMnemonics.end())
        return FALSE;
    if (!IsPopupItem(m_hMenu, it->second)) {
        // A top-level command runs by its mnemonic as it does by a click.
        const UINT state = ::GetMenuState(m_hMenu, static_cast<UINT>(it->second), MF_BYPOSITION);
        if (m_bSurfing)
            SetSurfingMode(FALSE);
        if (!(state & (MF_DISABLED | MF_GRAYED)) && m_pFrameWnd && m_pFrameWnd->m_hWnd)
            m_pFrameWnd->PostMessage(WM_COMMAND, MAKEWPARAM(::GetMenuItemID(m_hMenu, it->second), 0), 0);
        return TRUE;
    }
    return open(it->second);
}
