#include "platform/afx/cmdui.h"

#include <algorithm>
#include <vector>

#include "platform/afx/cmdtarget.h"
#include "platform/afx/menu.h"
#include "platform/afx/wnd.h"
#include "platform/user/input.h"
#include "platform/user/msgqueue.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"

namespace {
// Menu item flags (by position, states) and button messages.
constexpr UINT kMfByPosition = 0x0400, kMfEnabled = 0x0000, kMfGrayed = 0x0001, kMfDisabled = 0x0002,
               kMfChecked = 0x0008, kMfUnchecked = 0x0000, kMfString = 0x0000, kMfBitmap = 0x0004,
               kMfOwnerDraw = 0x0100, kMfSeparator = 0x0800, kMfPopup = 0x0010;
constexpr UINT kDlgcButton = 0x2000, kBmSetCheck = 0x00F1;

bool IsMenuItem(const CCmdUI& ui) { return ui.m_pMenu != nullptr; }
} // namespace

CCmdUI::CCmdUI() = default;

void CCmdUI::Enable(BOOL bOn)
{
    if (IsMenuItem(*this)) {
        if (m_pSubMenu)
            return; // a popup is never disabled by its first item's state
        if (m_nIndex >= m_nIndexMax)
            return;
        m_pMenu->EnableMenuItem(m_nIndex, kMfByPosition | (bOn ? kMfEnabled : (kMfDisabled | kMfGrayed)));
    } else if (m_pOther) {
        // A control losing its enabled state hands the focus on first.
        if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
            if (const HWND hWndParent = ::GetParent(m_pOther->m_hWnd))
                ::SendMessageW(hWndParent, WM_NEXTDLGCTL, 0, FALSE);
        }
        m_pOther->EnableWindow(bOn);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (IsMenuItem(*this)) {
        if (m_pSubMenu || m_nIndex >= m_nIndexMax)
            return;
        m_pMenu->CheckMenuItem(m_nIndex, kMfByPosition | (nCheck ? kMfChecked : kMfUnchecked));
    } else if (m_pOther) {
        // Only buttons (and controls acting as buttons) can show a check.
        if (m_pOther->SendMessage(WM_GETDLGCODE) & kDlgcButton)
            m_pOther->SendMessage(kBmSetCheck, static_cast<WPARAM>(nCheck));
    }
}

void CCmdUI::SetRadio(BOOL bOn)
{
    SetCheck(bOn ? 1 : 0);
    if (IsMenuItem(*this) && bOn && !m_pSubMenu && m_nIndex < m_nIndexMax) {
        // A dot instead of the check mark.
        m_pMenu->CheckMenuRadioItem(m_nIndex, m_nIndex, m_nIndex, kMfByPosition);
    }
}

void CCmdUI::SetText(LPCTSTR lpszText)
{
    if (!lpszText)
        return;
    if (IsMenuItem(*this)) {
        if (m_pSubMenu || m_nIndex >= m_nIndexMax)
            return;
        // Keep the item's state; only its text changes.
        UINT nState = m_pMenu->GetMenuState(m_nIndex, kMfByPosition);
        if (nState == static_cast<UINT>(-1))
            return;
        nState &= ~(kMfBitmap | kMfOwnerDraw | kMfSeparator | kMfPopup | 0xFF00u);
        m_pMenu->ModifyMenu(m_nIndex, kMfByPosition | kMfString | nState, m_nID, lpszText);
    } else if (m_pOther) {
        // Unchanged text is not set again (no flicker).
        const int n = ::GetWindowTextLengthW(m_pOther->m_hWnd);
        std::vector<wchar_t> current(static_cast<size_t>(n > 0 ? n : 0) + 1, L'\0');
        ::GetWindowTextW(m_pOther->m_hWnd, current.data(), static_cast<int>(current.size()));
        if (std::wstring_view(current.data()) != std::wstring_view(lpszText))
            ::SetWindowTextW(m_pOther->m_hWnd, lpszText);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    if (!pTarget || m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
        return TRUE; // not a command: nothing to update
    m_bEnableChanged = FALSE;
    const BOOL bResult = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (bDisableIfNoHndler && !m_bEnableChanged) {
        // Nobody said: enabled exactly when someone handles the command.
        AFX_CMDHANDLERINFO info{nullptr, nullptr};
        const BOOL bHandler = pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
        Enable(bHandler);
    }
    return bResult;
}

void AfxUpdatePopupMenu(CMenu* pPopup, CCmdTarget* pTarget, BOOL bAutoMenuEnable, CMenu* pParentMenu)
{
    if (!pPopup || !pTarget)
        return;
    CCmdUI state;
    state.m_pMenu = pPopup;
    state.m_pParentMenu = pParentMenu;
    // A menu whose count cannot be read (-1, a stale handle) has nothing to update.
    const auto itemCount = [pPopup] {
        const UINT n = pPopup->GetMenuItemCount();
        return n == static_cast<UINT>(-1) ? 0u : n;
    };
    state.m_nIndexMax = itemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = pPopup->GetMenuItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID == 0)
            continue; // a separator
        if (state.m_nID == static_cast<UINT>(-1)) {
            // An item that opens a submenu: routed as the submenu's first item, never
            // disabled for want of a handler.
            state.m_pSubMenu = pPopup->GetSubMenu(static_cast<int>(state.m_nIndex));
            if (!state.m_pSubMenu)
                continue;
            state.m_nID = state.m_pSubMenu->GetMenuItemID(0);
            if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1))
                continue;
            state.DoUpdate(pTarget, FALSE);
        } else {
            // System commands are never disabled automatically.
            state.m_pSubMenu = nullptr;
            state.DoUpdate(pTarget, bAutoMenuEnable && state.m_nID < 0xF000);
        }
        // A handler may have removed items (itself, or items before it): go on with the
        // item after the current one, wherever it is now, so no item is skipped or
        // updated twice.
        const UINT nCount = itemCount();
        if (nCount < state.m_nIndexMax) {
            const UINT removed = state.m_nIndexMax - nCount;
            const UINT lowest = state.m_nIndex >= removed ? state.m_nIndex - removed : 0;
            UINT found = static_cast<UINT>(-1);
            for (UINT p = std::min(state.m_nIndex, nCount); p-- > lowest;) {
                if (pPopup->GetMenuItemID(static_cast<int>(p)) == state.m_nID) {
                    found = p;
                    break;
                }
            }
            // Not found: the current item itself went; the next one moved up by `removed`
            // (the unsigned wrap before the loop's increment lands on position 0).
            state.m_nIndex = found != static_cast<UINT>(-1) ? found : state.m_nIndex - removed;
        }
        state.m_nIndexMax = nCount;
    }
}
