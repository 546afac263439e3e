// The class library's tooltip path: the thread's tooltip, the filter that keeps the tool
// under the mouse in it, the child-window tool of OnToolHitTest, and CancelToolTips.
#include "platform/afx/afxstate.h"
#include "platform/afx/tooltip_thread.h"
#include "platform/afx/tooltipctrl.h"
#include "platform/afx/wnd.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace {

// What the filter remembers besides the thread state's last hit: the tool it put into
// the control, so it can take exactly that one out again.
struct LastTool {
    bool valid = false;
    HWND hwnd = nullptr;
    UINT_PTR uId = 0;
    UINT uFlags = 0;
};
thread_local LastTool t_lastTool;

// Deletes the thread's tooltip when the thread ends. Made only after the tooltip window
// exists, so it goes before the window system's per-thread state does.
struct ThreadToolTipReaper {
    ~ThreadToolTipReaper() { zyn::afx::DestroyThreadToolTip(); }
};
void ArmReaper()
{
    thread_local ThreadToolTipReaper reaper;
    static_cast<void>(reaper);
}

// A window's class-library flags (protected in CWnd; read through a derived class).
struct WndFlags : CWnd {
    static UINT Of(const CWnd* pWnd) { return pWnd->*(&WndFlags::m_nFlags); }
};

// How far below the cursor a tracking tip sits, the rule of the control's own tips.
POINT TrackPoint(POINT cursor) { return POINT{cursor.x, cursor.y + ::GetSystemMetrics(SM_CYCURSOR) * 5 / 8}; }

// The thread's tooltip, owned by pWnd's top-level window; made or re-made as needed.
CToolTipCtrl* EnsureToolTip(CWnd* pWnd)
{
    AFX_THREAD_STATE* state = AfxGetThreadState();
    const HWND top = ::GetAncestor(pWnd->m_hWnd, GA_ROOT);
    CToolTipCtrl* tip = state->m_pToolTip;
    if (tip && tip->m_hWnd && !::IsWindow(tip->m_hWnd))
        tip->Detach(); // went with the window system's reset, without the usual messages
    if (tip && tip->m_hWnd) {
        if (::GetWindow(tip->m_hWnd, GW_OWNER) != top)
            ::SetWindowLongPtrW(tip->m_hWnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(top));
        return tip;
    }
    if (!tip) {
        tip = new CToolTipCtrl; // owned by the thread state; freed by DestroyThreadToolTip
        state->m_pToolTip = tip;
    }
    // The owner's window was destroyed and took our window with it: the tool went too.
    t_lastTool = LastTool{};
    state->m_pLastHit = nullptr;
    state->m_nLastHit = -1;
    if (!tip->Create(CWnd::FromHandle(top)))
        return nullptr;
    ArmReaper();
    return tip;
}

// Takes the tool the filter put into the control out again.
void RemoveLastTool(CToolTipCtrl* tip)
{
    AFX_THREAD_STATE* state = AfxGetThreadState();
    if (t_lastTool.valid && tip && tip->m_hWnd) {
        TOOLINFO ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = t_lastTool.hwnd;
        ti.uId = t_lastTool.uId;
        if (t_lastTool.uFlags & TTF_TRACK)
            tip->SendMessage(TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
        tip->SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    t_lastTool = LastTool{};
    state->m_pLastHit = nullptr;
    state->m_nLastHit = -1;
}

bool IsButtonDown(UINT m)
{
    switch (m) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDBLCLK:
        return true;
    default:
        return false;
    }
}

bool IsMouseMoveOrUp(UINT m)
{
    return m == WM_MOUSEMOVE || m == WM_NCMOUSEMOVE || m == WM_LBUTTONUP || m == WM_RBUTTONUP || m == WM_MBUTTONUP;
}

void FillChildTool(TOOLINFO* pTI, const CWnd* pWnd, HWND hWndChild)
{
    pTI->hwnd = pWnd->m_hWnd;
    pTI->uId = reinterpret_cast<UINT_PTR>(hWndChild);
    pTI->uFlags |= TTF_IDISHWND;
    pTI->lpszText = LPSTR_TEXTCALLBACK;
}

void Cancel(BOOL /*bKeys*/)
{
    CToolTipCtrl* tip = zyn::afx::GetThreadToolTip();
    if (tip && tip->m_hWnd && ::IsWindow(tip->m_hWnd))
        tip->SendMessage(TTM_POP);
    RemoveLastTool(tip && tip->m_hWnd && ::IsWindow(tip->m_hWnd) ? tip : nullptr);
}

struct HookInstaller {
    HookInstaller()
    {
        zyn::afx::ToolTipHooks hooks;
        hooks.filterMessage = &zyn::afx::FilterToolTipMessage;
        hooks.fillChildTool = &FillChildTool;
        hooks.cancel = &Cancel;
        zyn::afx::SetToolTipHooks(hooks);
    }
};
const HookInstaller g_hookInstaller;

} // namespace

void zyn::afx::FilterToolTipMessage(MSG* pMsg, CWnd* pWnd)
{
    if (!pMsg || !pWnd || !pWnd->m_hWnd)
        return;
    const UINT message = pMsg->message;
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
        CWnd::CancelToolTips(TRUE);
        return;
    }
    const bool down = IsButtonDown(message);
    if (!down && !IsMouseMoveOrUp(message))
        return;
    // Only the window's own messages and its descendants'.
    if (!pMsg->hwnd || (pMsg->hwnd != pWnd->m_hWnd && !::IsChild(pWnd->m_hWnd, pMsg->hwnd)))
        return;
    CToolTipCtrl* tip = EnsureToolTip(pWnd);
    if (!tip)
        return;
    AFX_THREAD_STATE* state = AfxGetThreadState();
    const bool tracking = (WndFlags::Of(pWnd) & WF_TRACKINGTOOLTIPS) != 0;

    POINT point = pMsg->pt;
    ::ScreenToClient(pWnd->m_hWnd, &point);
    TOOLINFO ti{};
    ti.cbSize = sizeof ti;
    const INT_PTR nHit = pWnd->OnToolHitTest(CPoint(point), &ti);
    if (nHit != -1 && !ti.hwnd)
        ti.hwnd = pWnd->m_hWnd;
    const bool same = nHit != -1 && state->m_pLastHit == pWnd && state->m_nLastHit == nHit && t_lastTool.valid &&
        t_lastTool.hwnd == ti.hwnd && t_lastTool.uId == ti.uId;
    if (!same) {
        RemoveLastTool(tip);
        if (nHit == -1)
            return;
        if (!ti.lpszText)
            ti.lpszText = LPSTR_TEXTCALLBACK;
        if (tracking)
            ti.uFlags |= TTF_TRACK | TTF_ABSOLUTE;
        if (!tip->SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)))
            return;
        t_lastTool = LastTool{true, ti.hwnd, ti.uId, ti.uFlags};
        state->m_pLastHit = pWnd;
        state->m_nLastHit = nHit;
        if (tracking) {
            const POINT at = TrackPoint(pMsg->pt);
            tip->SendMessage(TTM_TRACKPOSITION, 0, MAKELPARAM(static_cast<WORD>(at.x), static_cast<WORD>(at.y)));
            tip->SendMessage(TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
            return;
        }
    }
    if (tracking) {
        if (down) {
            RemoveLastTool(tip);
            return;
        }
        const POINT at = TrackPoint(pMsg->pt);
        tip->SendMessage(TTM_TRACKPOSITION, 0, MAKELPARAM(static_cast<WORD>(at.x), static_cast<WORD>(at.y)));
        return;
    }
    // Relayed to the control as a message of the tool's own window, in its coordinates.
    MSG relay = *pMsg;
    relay.hwnd = (t_lastTool.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(t_lastTool.uId) : t_lastTool.hwnd;
    POINT local = pMsg->pt;
    ::ScreenToClient(relay.hwnd, &local);
    relay.lParam = MAKELPARAM(static_cast<WORD>(local.x), static_cast<WORD>(local.y));
    if (message == WM_NCMOUSEMOVE)
        relay.message = WM_MOUSEMOVE;
    else if (down)
        relay.message = WM_LBUTTONDOWN; // any press puts the tip away
    else if (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK)
        return;
    tip->SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relay));
}

void zyn::afx::FilterToolTipsInModalLoop(MSG* pMsg)
{
    if (!pMsg || !pMsg->hwnd)
        return;
    for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(h);
        if (pWnd && (WndFlags::Of(pWnd) & WF_TOOLTIPS))
            FilterToolTipMessage(pMsg, pWnd);
        if (!(::GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD))
            break;
    }
}

CToolTipCtrl* zyn::afx::GetThreadToolTip() { return AfxGetThreadState()->m_pToolTip; }

void zyn::afx::DestroyThreadToolTip()
{
    AFX_THREAD_STATE* state = AfxGetThreadState();
    CToolTipCtrl* tip = state->m_pToolTip;
    state->m_pToolTip = nullptr;
    t_lastTool = LastTool{};
    state->m_pLastHit = nullptr;
    state->m_nLastHit = -1;
    if (!tip)
        return;
    if (tip->m_hWnd) {
        if (::IsWindow(tip->m_hWnd))
            tip->DestroyWindow();
        else
            tip->Detach();
    }
    delete tip;
}
