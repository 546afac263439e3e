// CWnd's walks over the window tree (descendants, owners, frames), the control-bar
// layout pass, command updates of child controls, the modal loop, data exchange and
// the tooltip hooks.
#include <vector>

#include "platform/afx/afxstate.h"
#include "platform/afx/cmdui.h"
#include "platform/afx/winthread.h"
#include "platform/afx/wnd.h"
#include "platform/afx/wnd_maps.h"
#include "platform/base/lasterror.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/modal.h"
#include "platform/user/msgbox.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace {

// The children of a window, taken before any of them gets a message: a child destroyed
// or created by a handler does not cut the walk short or send it astray.
std::vector<HWND> ChildrenOf(HWND hWnd)
{
    std::vector<HWND> children;
    for (HWND h = ::GetTopWindow(hWnd); h; h = ::GetNextWindow(h, GW_HWNDNEXT))
        children.push_back(h);
    return children;
}

// The class library's owner of a window: the object's owner when it has an object,
// else the parent of a child and the owner of a top-level window.
HWND ParentOwnerOf(HWND hWnd)
{
    if (CWnd* pWnd = CWnd::FromHandlePermanent(hWnd))
        return zyn::afx::SafeHwndOf(pWnd->GetOwner());
    return (::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(hWnd) : ::GetWindow(hWnd, GW_OWNER);
}

// A frame window object as its class. The frame classes derive from CWnd alone, so the
// CWnd is at the start of the frame object; only objects whose IsFrameWnd says so are
// converted.
CFrameWnd* AsFrame(CWnd* pWnd) { return reinterpret_cast<CFrameWnd*>(pWnd); }

BOOL (*g_updateDataHook)(CWnd*, BOOL) = nullptr;

} // namespace

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm)
{
    SendMessageToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

void CWnd::SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
    BOOL bOnlyPerm)
{
    for (const HWND hWndChild : ChildrenOf(hWnd)) {
        if (!::IsWindow(hWndChild))
            continue; // destroyed by an earlier sibling's handler
        if (bOnlyPerm) {
            if (CWnd* pWnd = FromHandlePermanent(hWndChild))
                AfxCallWndProc(pWnd, pWnd->m_hWnd, message, wParam, lParam);
        } else {
            ::SendMessageW(hWndChild, message, wParam, lParam);
        }
        if (bDeep && ::IsWindow(hWndChild) && ::GetTopWindow(hWndChild))
            SendMessageToDescendants(hWndChild, message, wParam, lParam, bDeep, bOnlyPerm);
    }
}

CWnd* CWnd::GetParentOwner() const
{
    if (!m_hWnd)
        return nullptr;
    return FromHandle(ParentOwnerOf(m_hWnd));
}

CWnd* CWnd::GetTopLevelParent() const
{
    if (!m_hWnd)
        return nullptr;
    HWND hWndParent = m_hWnd;
    for (HWND hWndT; (hWndT = ParentOwnerOf(hWndParent)) != nullptr;)
        hWndParent = hWndT;
    return FromHandle(hWndParent);
}

BOOL CWnd::IsTopParentActive() const
{
    CWnd* pTop = GetTopLevelParent();
    if (!pTop)
        return FALSE;
    return ::GetForegroundWindow() == ::GetLastActivePopup(pTop->m_hWnd);
}

void CWnd::ActivateTopParent()
{
    const HWND hActive = ::GetForegroundWindow();
    if (!hActive || !(hActive == m_hWnd || ::IsChild(hActive, m_hWnd))) {
        if (CWnd* pTop = GetTopLevelParent())
            pTop->SetForegroundWindow();
    }
}

CWnd* CWnd::GetTopLevelOwner() const
{
    if (!m_hWnd)
        return nullptr;
    HWND hWndOwner = m_hWnd;
    for (HWND hWndT; (hWndT = ::GetWindow(hWndOwner, GW_OWNER)) != nullptr;)
        hWndOwner = hWndT;
    return FromHandle(hWndOwner);
}

CFrameWnd* CWnd::GetParentFrame() const
{
    if (!m_hWnd)
        return nullptr;
    for (CWnd* pParent = GetParent(); pParent; pParent = pParent->GetParent()) {
        if (pParent->IsFrameWnd())
            return AsFrame(pParent);
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    if (!m_hWnd)
        return nullptr;
    CWnd* pFrameWnd = const_cast<CWnd*>(this);
    if (!IsFrameWnd())
        pFrameWnd = reinterpret_cast<CWnd*>(GetParentFrame());
    if (pFrameWnd) {
        for (CWnd* pTemp; (pTemp = reinterpret_cast<CWnd*>(pFrameWnd->GetParentFrame())) != nullptr;)
            pFrameWnd = pTemp;
    }
    return AsFrame(pFrameWnd);
}

CWnd* CWnd::GetSafeOwner(CWnd* pParent, HWND* pWndTop)
{
    HWND hWnd = zyn::afx::SafeHwndOf(pParent);
    if (!hWnd) {
        // The frame a command is being routed through, else the main window.
        if (CFrameWnd* pFrame = AfxGetThreadState()->m_pRoutingFrame)
            hWnd = reinterpret_cast<CWnd*>(pFrame)->m_hWnd;
        else
            hWnd = zyn::afx::SafeHwndOf(AfxGetMainWnd());
    }
    // A pop-up cannot be owned by a child window.
    while (hWnd && (::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    HWND hWndTop = hWnd;
    for (HWND hWndTemp = hWnd; hWndTemp; hWndTemp = ::GetParent(hWndTop))
        hWndTop = hWndTemp;
    if (!pParent && hWnd)
        hWnd = ::GetLastActivePopup(hWnd);
    if (pWndTop) {
        if (hWndTop && ::IsWindowEnabled(hWndTop) && hWndTop != hWnd) {
            *pWndTop = hWndTop;
            ::EnableWindow(hWndTop, FALSE);
        } else {
            *pWndTop = nullptr;
        }
    }
    return FromHandle(hWnd);
}

namespace {
CWnd* DescendantOf(HWND hWnd, int nID, BOOL bOnlyPerm)
{
    // The direct child with the ID first (a grandchild with the same ID has priority
    // over it), then each child's descendants, depth first.
    if (const HWND hWndChild = ::GetDlgItem(hWnd, nID)) {
        if (::GetTopWindow(hWndChild)) {
            if (CWnd* p = DescendantOf(hWndChild, nID, bOnlyPerm))
                return p;
        }
        if (!bOnlyPerm)
            return CWnd::FromHandle(hWndChild);
        if (CWnd* p = CWnd::FromHandlePermanent(hWndChild))
            return p;
    }
    for (const HWND hWndChild : ChildrenOf(hWnd)) {
        if (CWnd* p = DescendantOf(hWndChild, nID, bOnlyPerm))
            return p;
    }
    return nullptr;
}
} // namespace

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const
{
    return m_hWnd ? DescendantOf(m_hWnd, nID, bOnlyPerm) : nullptr;
}

// ---- the layout pass ------------------------------------------------------------------------------------------------

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect)
{
    if (!hWnd || !lpRect)
        return;
    const HWND hWndParent = ::GetParent(hWnd);
    if (lpLayout && !lpLayout->hDWP)
        return; // a query: nothing moves
    RECT rectOld{};
    ::GetWindowRect(hWnd, &rectOld);
    ::MapWindowPoints(nullptr, hWndParent, reinterpret_cast<LPPOINT>(&rectOld), 2);
    if (::EqualRect(&rectOld, lpRect))
        return;
    const int cx = lpRect->right - lpRect->left;
    const int cy = lpRect->bottom - lpRect->top;
    if (lpLayout) {
        const HDWP hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top, cx, cy,
            SWP_NOACTIVATE | SWP_NOZORDER);
        if (hDWP) {
            lpLayout->hDWP = hDWP;
            return;
        }
        // The deferred set could not take this window (the set is still valid when the
        // window was refused): move it at once rather than lose the move.
    }
    ::SetWindowPos(hWnd, nullptr, lpRect->left, lpRect->top, cx, cy, SWP_NOACTIVATE | SWP_NOZORDER);
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlags, LPRECT lpRectParam,
    LPCRECT lpRectClient, BOOL bStretch)
{
    const UINT mode = nFlags & ~static_cast<UINT>(reposNoPosLeftOver);
    if ((mode == reposQuery || mode == reposExtra) && !lpRectParam) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return;
    }
    AFX_SIZEPARENTPARAMS layout{};
    layout.bStretch = bStretch;
    if (lpRectClient)
        layout.rect = *lpRectClient;
    else
        GetClientRect(&layout.rect);
    layout.hDWP = mode != reposQuery ? ::BeginDeferWindowPos(8) : nullptr;
    HWND hWndLeftOver = nullptr;
    for (const HWND hWndChild : ChildrenOf(m_hWnd)) {
        if (!::IsWindow(hWndChild))
            continue;
        const auto nIDC = static_cast<UINT>(static_cast<WORD>(::GetDlgCtrlID(hWndChild)));
        if (nIDC == nIDLeftOver)
            hWndLeftOver = hWndChild;
        else if (nIDC >= nIDFirst && nIDC <= nIDLast && FromHandlePermanent(hWndChild))
            ::SendMessageW(hWndChild, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
    }
    if (mode == reposQuery) {
        if (bStretch) {
            *lpRectParam = layout.rect;
        } else {
            *lpRectParam = RECT{0, 0, layout.sizeTotal.cx, layout.sizeTotal.cy};
        }
        return;
    }
    if (nIDLeftOver != 0 && hWndLeftOver) {
        if (mode == reposExtra) {
            layout.rect.left += lpRectParam->left;
            layout.rect.top += lpRectParam->top;
            layout.rect.right -= lpRectParam->right;
            layout.rect.bottom -= lpRectParam->bottom;
        }
        if (!(nFlags & reposNoPosLeftOver)) {
            if (CWnd* pLeftOver = FromHandle(hWndLeftOver))
                pLeftOver->CalcWindowRect(&layout.rect);
            AfxRepositionWindow(&layout, hWndLeftOver, &layout.rect);
        }
    }
    if (layout.hDWP)
        ::EndDeferWindowPos(layout.hDWP);
}

// ---- command updates of child controls --------------------------------------------------------------------------------

namespace {
constexpr UINT kDlgcButton = 0x2000;
constexpr DWORD kBsTypeMask = 0x0F, kBsAutoCheckBox = 0x03, kBsAuto3State = 0x06, kBsGroupBox = 0x07,
                kBsAutoRadioButton = 0x09;
} // namespace

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    CCmdUI state;
    CWnd wndTemp; // stands for a control that has no object of its own, during its update
    for (const HWND hWndChild : ChildrenOf(m_hWnd)) {
        if (!::IsWindow(hWndChild))
            continue;
        wndTemp.m_hWnd = hWndChild;
        state.m_nID = static_cast<WORD>(::GetDlgCtrlID(hWndChild));
        state.m_pOther = &wndTemp;
        // The control may update itself (ON_UPDATE_COMMAND_UI_REFLECT), asked directly so
        // nothing else is routed.
        if (CWnd* pWnd = FromHandlePermanent(hWndChild)) {
            if (pWnd->CWnd::OnCmdMsg(0, MAKELONG(0xFFFF, WM_COMMAND + WM_REFLECT_BASE), &state, nullptr))
                continue;
        }
        // Then this window's own handlers.
        if (CWnd::OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, nullptr))
            continue;
        // Only push buttons are disabled for want of a handler.
        BOOL bDisableTemp = bDisableIfNoHndler;
        if (bDisableTemp) {
            if ((::SendMessageW(hWndChild, WM_GETDLGCODE, 0, 0) & kDlgcButton) == 0) {
                bDisableTemp = FALSE;
            } else {
                const DWORD nStyle = static_cast<DWORD>(::GetWindowLongW(hWndChild, GWL_STYLE)) & kBsTypeMask;
                if (nStyle == kBsAutoCheckBox || nStyle == kBsAuto3State || nStyle == kBsGroupBox ||
                    nStyle == kBsAutoRadioButton)
                    bDisableTemp = FALSE;
            }
        }
        state.DoUpdate(pTarget, bDisableTemp);
    }
    wndTemp.m_hWnd = nullptr;
}

// ---- the modal loop -------------------------------------------------------------------------------------------------------

BOOL CWnd::ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0; }

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        PostMessage(WM_NULL); // wake the loop
    }
}

int CWnd::RunModalLoop(DWORD dwFlags)
{
    if (!m_hWnd || (m_nFlags & WF_MODALLOOP)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    const HWND hWndParent = ::GetParent(m_hWnd);
    m_nFlags |= WF_MODALLOOP | WF_CONTINUEMODAL;
    const HWND hWnd = m_hWnd;

    zyn::user::ModalLoopParams params;
    params.owner = hWnd;
    // The window (and an object that deletes itself with it) may go away in the loop.
    params.done = [this, hWnd] { return !::IsWindow(hWnd) || !ContinueModal(); };
    params.preTranslate = [](MSG& msg) { return msg.message == WM_KICKIDLE || AfxPreTranslateMessage(&msg); };
    params.onIdle = [&, this](int idleCount) {
        if (bShowIdle) {
            ShowWindow(SW_SHOWNORMAL);
            UpdateWindow();
            bShowIdle = FALSE;
        }
        if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent && idleCount == 0)
            ::SendMessageW(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(hWnd));
        if (dwFlags & MLF_NOKICKIDLE)
            return false;
        return ::SendMessageW(hWnd, WM_KICKIDLE, MSGF_DIALOGBOX, idleCount) != 0;
    };
    const zyn::user::ModalEnd end = zyn::user::RunModalLoop(params);
    // The window may be gone (its object too, when it deleted itself): do not touch it.
    if (!::IsWindow(hWnd))
        return end == zyn::user::ModalEnd::Quit ? -1 : IDCANCEL;
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    if (end == zyn::user::ModalEnd::Quit)
        return -1;
    if (end == zyn::user::ModalEnd::Cancelled && m_nModalResult == -1)
        m_nModalResult = IDCANCEL; // nothing ended it: a cancel, as a user closing it would
    return m_nModalResult;
}

// ---- data exchange ----------------------------------------------------------------------------------------------------------

void zyn::afx::SetUpdateDataHook(BOOL (*updateData)(CWnd*, BOOL)) { g_updateDataHook = updateData; }

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    return g_updateDataHook ? g_updateDataHook(this, bSaveAndValidate) : TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

// ---- tooltips -------------------------------------------------------------------------------------------------------------------

BOOL CWnd::EnableToolTips(BOOL bEnable)
{
    if (bEnable)
        m_nFlags |= WF_TOOLTIPS;
    else
        m_nFlags &= ~WF_TOOLTIPS;
    if (!bEnable)
        CancelToolTips(FALSE);
    return TRUE;
}

BOOL CWnd::EnableTrackingToolTips(BOOL bEnable)
{
    if (bEnable)
        m_nFlags |= WF_TRACKINGTOOLTIPS;
    else
        m_nFlags &= ~WF_TRACKINGTOOLTIPS;
    return TRUE;
}

int CWnd::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    // The enabled or disabled child under the point (WindowFromPoint would skip disabled ones).
    const HWND hWndChild = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE);
    if (!hWndChild || hWndChild == m_hWnd)
        return -1;
    if (pTI) {
        if (const auto fill = zyn::afx::GetToolTipHooks().fillChildTool)
            fill(pTI, this, hWndChild);
    }
    return static_cast<WORD>(::GetDlgCtrlID(hWndChild));
}

void CWnd::CancelToolTips(BOOL bKeys)
{
    if (const auto cancel = zyn::afx::GetToolTipHooks().cancel)
        cancel(bKeys);
}
