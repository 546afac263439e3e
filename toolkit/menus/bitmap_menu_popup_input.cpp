// COXBitmapMenuPopupWnd: the mouse, the keyboard, the drop target's messages and the
// context commands, all handed to the menu while it is customised.
#include <algorithm>

#include "platform/afx/ole/ole2.h"
#include "platform/user/menu.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/shb_drop_target.h"
#include "toolkit/menus/bitmap_menu.h"
#include "toolkit/menus/bitmap_menu_popup_wnd.h"

BEGIN_MESSAGE_MAP(COXBitmapMenuPopupWnd, CWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONDBLCLK()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_WM_NCPAINT()
    ON_WM_MOUSEACTIVATE()
    ON_WM_SETTINGCHANGE()
    ON_WM_KEYDOWN()
    ON_WM_VSCROLL()
    ON_MESSAGE(SHBDTM_DRAGENTER, &COXBitmapMenuPopupWnd::OnDragEnterMsg)
    ON_MESSAGE(SHBDTM_DRAGOVER, &COXBitmapMenuPopupWnd::OnDragOverMsg)
    ON_MESSAGE(SHBDTM_DRAGLEAVE, &COXBitmapMenuPopupWnd::OnDragLeaveMsg)
    ON_MESSAGE(SHBDTM_DROP, &COXBitmapMenuPopupWnd::OnDropMsg)
    ON_MESSAGE(SHBDTM_DRAGSCROLL, &COXBitmapMenuPopupWnd::OnDragScrollMsg)
    ON_COMMAND(ID_OXCUSTBM_DELETE, &COXBitmapMenuPopupWnd::OnCustBMDelete)
    ON_COMMAND(ID_OXCUSTBM_APPEARANCE, &COXBitmapMenuPopupWnd::OnCustBMAppearance)
    ON_COMMAND(ID_OXCUSTBM_SEPARATOR_BEFORE, &COXBitmapMenuPopupWnd::OnCustBMSeparatorBefore)
    ON_COMMAND(ID_OXCUSTBM_SEPARATOR_AFTER, &COXBitmapMenuPopupWnd::OnCustBMSeparatorAfter)
    ON_COMMAND(ID_OXCUSTBM_RECENTLY_USED, &COXBitmapMenuPopupWnd::OnCustBMRecentlyUsed)
END_MESSAGE_MAP()

BOOL COXBitmapMenuPopupWnd::IsCustomizing() const
{
    return m_pBitmapMenu && m_pBitmapMenu->IsInCustomizationMode();
}

int COXBitmapMenuPopupWnd::ItemFromPoint(CPoint point)
{
    if (!m_pBitmapMenu)
        return -1;
    CPoint layout = ClientToLayout(point);
    return m_pBitmapMenu->HitTest(&layout);
}

// ---- mouse --------------------------------------------------------------------------------------------------------

void COXBitmapMenuPopupWnd::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!IsCustomizing()) {
        CWnd::OnLButtonDown(nFlags, point);
        return;
    }
    if (m_nDragTimer == 0) {
        m_pBitmapMenu->SetCustomizedItem(ItemFromPoint(point));
        m_nDragTimer = SetTimer(OX_BMPOPUP_DRAG_TIMER, OX_BMPOPUP_DRAG_DELAY);
    }
}

void COXBitmapMenuPopupWnd::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    // The class has CS_DBLCLKS: a second quick press arrives as a double click and is a
    // press like the first (it selects, and holding it drags).
    if (IsCustomizing())
        OnLButtonDown(nFlags, point);
    else
        CWnd::OnLButtonDblClk(nFlags, point);
}

void COXBitmapMenuPopupWnd::OnRButtonDblClk(UINT nFlags, CPoint point)
{
    if (IsCustomizing())
        OnRButtonDown(nFlags, point);
    else
        CWnd::OnRButtonDblClk(nFlags, point);
}

void COXBitmapMenuPopupWnd::OnMButtonDown(UINT nFlags, CPoint point)
{
    if (IsCustomizing())
        m_pBitmapMenu->SetCustomizedItem(ItemFromPoint(point));
    else
        CWnd::OnMButtonDown(nFlags, point);
}

void COXBitmapMenuPopupWnd::OnRButtonDown(UINT nFlags, CPoint point)
{
    if (IsCustomizing())
        m_pBitmapMenu->SetCustomizedItem(ItemFromPoint(point));
    else
        CWnd::OnRButtonDown(nFlags, point);
}

void COXBitmapMenuPopupWnd::OnRButtonUp(UINT nFlags, CPoint point)
{
    if (!IsCustomizing() || m_pBitmapMenu->GetCustomizedItem() == -1) {
        CWnd::OnRButtonUp(nFlags, point);
        return;
    }
    CPoint screen = point;
    ClientToScreen(&screen);
    m_pBitmapMenu->DisplayCustomizeItemContextMenu(m_pBitmapMenu->GetCustomizedItem(), screen);
}

void COXBitmapMenuPopupWnd::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!IsCustomizing()) {
        CWnd::OnMouseMove(nFlags, point);
        return;
    }
    // Released before the hold was long enough: a selection, not a drag.
    if (m_nDragTimer && !(nFlags & MK_LBUTTON)) {
        KillTimer(m_nDragTimer);
        m_nDragTimer = 0;
    }
}

void COXBitmapMenuPopupWnd::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != OX_BMPOPUP_DRAG_TIMER) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    KillTimer(nIDEvent);
    m_nDragTimer = 0;
    if (GetSafeHwnd() && IsCustomizing() && ::GetKeyState(VK_LBUTTON) < 0)
        m_pBitmapMenu->OnBeginDragDrop(m_pBitmapMenu->GetCustomizedItem());
}

int COXBitmapMenuPopupWnd::OnMouseActivate(CWnd* /*pDesktopWnd*/, UINT /*nHitTest*/, UINT /*message*/)
{
    // The customisation window keeps the activation (and the keyboard).
    return MA_NOACTIVATE;
}

void COXBitmapMenuPopupWnd::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    UpdateMenuMetrics();
    OnMenuChanged();
    CWnd::OnSettingChange(uFlags, lpszSection);
}

// ---- keyboard ------------------------------------------------------------------------------------------------------

BOOL COXBitmapMenuPopupWnd::HandleKeyDown(UINT nChar)
{
    if (!IsCustomizing() || !GetSafeHwnd())
        return FALSE;
    COXBitmapMenu* menu = m_pBitmapMenu;
    const int count = std::min(GetItemCount(), static_cast<int>(menu->GetMenuItemCount()));
    const int current = menu->GetCustomizedItem();
    const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
    const bool shift = ::GetKeyState(VK_SHIFT) < 0;
    // The organizer's expansion item stays last: nothing moves past it or moves it.
    auto isExpansion = [&](int i) {
        return i >= 0 && i < count && LOWORD(menu->GetMenuItemID(i)) == ID_OX_SHOWALLITEMS &&
            !::GetSubMenu(menu->GetSafeHmenu(), i);
    };
    auto select = [&](int i) {
        menu->SetCustomizedItem(i);
        EnsureVisible(i);
    };
    switch (nChar) {
    case VK_UP:
    case VK_DOWN: {
        if (count == 0)
            return TRUE;
        const bool down = nChar == VK_DOWN;
        if (ctrl) {
            if (current < 0)
                return FALSE;
            const int to = down ? current + 1 : current - 1;
            if (to >= 0 && to < count && menu->IsItemEditable(current) && !isExpansion(to)) {
                menu->MoveItem(current, to);
                EnsureVisible(to);
            }
            return TRUE;
        }
        if (current < 0)
            select(down ? 0 : count - 1);
        else
            select(std::clamp(down ? current + 1 : current - 1, 0, count - 1));
        return TRUE;
    }
    case VK_HOME:
    case VK_END:
        if (count > 0)
            select(nChar == VK_HOME ? 0 : count - 1);
        return TRUE;
    case VK_DELETE:
        if (current < 0)
            return FALSE;
        if (menu->IsItemEditable(current))
            menu->OnCustBMDelete();
        return TRUE;
    case VK_APPS:
    case VK_F10: {
        if (nChar == VK_F10 && !shift)
            return FALSE;
        if (current < 0 || current >= count)
            return FALSE;
        // Under the item's left end, as far as it is in view.
        CRect item = GetItemRect(current);
        item.OffsetRect(0, -m_nScrollPos);
        CRect client;
        GetClientRect(&client);
        CPoint at(item.left, std::clamp<int>(item.bottom, client.top, client.bottom));
        ClientToScreen(&at);
        menu->DisplayCustomizeItemContextMenu(current, at);
        return TRUE;
    }
    case VK_ESCAPE:
        if (current < 0)
            return FALSE; // the customisation window may close on it
        menu->SetCustomizedItem(-1);
        return TRUE;
    default: return FALSE;
    }
}

void COXBitmapMenuPopupWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!HandleKeyDown(nChar))
        CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

// ---- the drop target -------------------------------------------------------------------------------------------

LRESULT COXBitmapMenuPopupWnd::OnDragEnter(WPARAM wParam, LPARAM lParam)
{
    return IsCustomizing() ? m_pBitmapMenu->OnDragEnter(wParam, lParam) : 0;
}

LRESULT COXBitmapMenuPopupWnd::OnDragOver(WPARAM wParam, LPARAM lParam)
{
    return IsCustomizing() ? m_pBitmapMenu->OnDragOver(wParam, lParam) : 0;
}

LRESULT COXBitmapMenuPopupWnd::OnDragLeave(WPARAM wParam, LPARAM lParam)
{
    return IsCustomizing() ? m_pBitmapMenu->OnDragLeave(wParam, lParam) : 0;
}

LRESULT COXBitmapMenuPopupWnd::OnDrop(WPARAM wParam, LPARAM lParam)
{
    return IsCustomizing() ? m_pBitmapMenu->OnDrop(wParam, lParam) : 0;
}

LRESULT COXBitmapMenuPopupWnd::OnDragEnterMsg(WPARAM wParam, LPARAM lParam) { return OnDragEnter(wParam, lParam); }
LRESULT COXBitmapMenuPopupWnd::OnDragOverMsg(WPARAM wParam, LPARAM lParam) { return OnDragOver(wParam, lParam); }
LRESULT COXBitmapMenuPopupWnd::OnDragLeaveMsg(WPARAM wParam, LPARAM lParam) { return OnDragLeave(wParam, lParam); }
LRESULT COXBitmapMenuPopupWnd::OnDropMsg(WPARAM wParam, LPARAM lParam) { return OnDrop(wParam, lParam); }

LRESULT COXBitmapMenuPopupWnd::OnDragScrollMsg(WPARAM /*wParam*/, LPARAM lParam)
{
    // A popup cut to its monitor asks the drop target to scroll it near its edges.
    auto* action = reinterpret_cast<SHBDROPTARGETACTION*>(lParam);
    if (!action || !IsCustomizing() || GetMaxScrollOffset() == 0)
        return 0;
    action->result = static_cast<LRESULT>(DROPEFFECT_SCROLL);
    return 1;
}

// ---- the context commands ----------------------------------------------------------------------------------------

void COXBitmapMenuPopupWnd::OnCustBMDelete()
{
    if (m_pBitmapMenu)
        m_pBitmapMenu->OnCustBMDelete();
}

void COXBitmapMenuPopupWnd::OnCustBMAppearance()
{
    if (m_pBitmapMenu)
        m_pBitmapMenu->OnCustBMAppearance();
}

void COXBitmapMenuPopupWnd::OnCustBMSeparatorBefore()
{
    if (m_pBitmapMenu)
        m_pBitmapMenu->OnCustBMSeparatorBefore();
}

void COXBitmapMenuPopupWnd::OnCustBMSeparatorAfter()
{
    if (m_pBitmapMenu)
        m_pBitmapMenu->OnCustBMSeparatorAfter();
}

void COXBitmapMenuPopupWnd::OnCustBMRecentlyUsed()
{
    if (m_pBitmapMenu)
        m_pBitmapMenu->OnCustBMRecentlyUsed();
}
