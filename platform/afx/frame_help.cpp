// Context help in a frame: entering help mode, the help loop over the queued input, the help
// capture and cursor, mapping a click to a help ID, commands chosen in help mode, and
// CWinApp::WinHelp with its record of requests.
#include "platform/afx/frame_help.h"

#include "platform/afx/afxres.h"
#include "platform/afx/frame.h"
#include "platform/afx/winapp.h"
#include "platform/base/resource.h"
#include "platform/gdi/icon.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/modal.h"
#include "platform/user/msgqueue.h"
#include "platform/user/vkeys.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace {

thread_local std::vector<zyn::afx::WinHelpCall> t_winHelpCalls;

// The help cursor: the host's AFX_IDC_CONTEXTHELP when the resource chain has one, else the
// system's help cursor. Both are shared cursors: nothing to destroy.
HCURSOR HelpCursor()
{
    LPCWSTR name = MAKEINTRESOURCEW(AFX_IDC_CONTEXTHELP);
    const HINSTANCE hInst = AfxFindResourceHandle(name, RT_GROUP_CURSOR);
    if (::FindResourceW(hInst, name, RT_GROUP_CURSOR)) {
        if (const HCURSOR hCursor = ::LoadCursorW(hInst, name))
            return hCursor;
    }
    return ::LoadCursorW(nullptr, IDC_HELP);
}

bool IsMouseMessage(UINT m)
{
    return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK);
}

bool IsSystemKey(UINT m) { return m >= WM_SYSKEYDOWN && m <= WM_SYSDEADCHAR; }

// The window a help hit test moves on to: the parent of a child, the owner of a pop-up.
HWND HelpParentOf(HWND hWnd)
{
    if (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD)
        return ::GetParent(hWnd);
    return ::GetWindow(hWnd, GW_OWNER);
}

// Takes the queued message msg stands for off the queue (the first of its kind).
void Remove(MSG& msg) { ::PeekMessageW(&msg, nullptr, msg.message, msg.message, PM_REMOVE); }

} // namespace

// ---- entering and leaving ---------------------------------------------------------------------------------------

BOOL CFrameWnd::CanEnterHelpMode() { return HelpCursor() != nullptr; }

void CFrameWnd::OnContextHelp()
{
    // Help mode belongs to the outermost frame (an MDI child hands it on).
    if (CFrameWnd* pTop = GetTopLevelFrame(); pTop && pTop != this) {
        pTop->OnContextHelp();
        return;
    }
    if (m_bHelpMode == HELP_ACTIVE || !CanEnterHelpMode())
        return;
    MSG msg;
    if (::PeekMessageW(&msg, m_hWnd, WM_EXITHELPMODE, WM_EXITHELPMODE, PM_REMOVE)) {
        m_bHelpMode = HELP_INACTIVE;   // asked to leave before it began
        return;
    }
    if (m_bHelpMode == HELP_INACTIVE) {
        // The command that asked for help (a menu, a key, a button) finishes first; the
        // posted command starts the loop from the frame's own message loop.
        m_bHelpMode = HELP_ENTERING;
        PostMessage(WM_COMMAND, ID_CONTEXT_HELP);
        return;
    }
    m_bHelpMode = HELP_ACTIVE;
    CWinApp* pApp = AfxGetApp();
    if (pApp)
        pApp->m_bHelpMode = TRUE;
    // Buttons and panes show what they would do in help mode.
    SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    SetMessageText(AFX_IDS_IDLEMESSAGE);   // the help-mode prompt while in help mode
    POINT point{};
    ::GetCursorPos(&point);
    SetHelpCapture(point, nullptr);

    const HWND hWnd = m_hWnd;
    DWORD dwContext = 0;
    while (m_bHelpMode == HELP_ACTIVE) {
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            // Nothing queued: wait on the one modal loop, which stops as soon as a message
            // is there (leaving it queued), runs the idle work meanwhile, and in scripted
            // mode ends help mode like a cancel when the script has run dry.
            zyn::user::ModalLoopParams params;
            params.owner = hWnd;
            params.done = [this, hWnd] { return !::IsWindow(hWnd) || m_bHelpMode != HELP_ACTIVE; };
            params.endBeforeTaking = [](const MSG&) { return true; };
            params.onIdle = [pApp](int idleCount) { return pApp && pApp->OnIdle(idleCount); };
            const zyn::user::ModalEnd end = zyn::user::RunModalLoop(params);
            if (!::IsWindow(hWnd))
                return;   // the frame (and this object) went away in the loop
            if (end != zyn::user::ModalEnd::Ended)
                break;    // a cancel or WM_QUIT (posted again for the outer loop)
            continue;
        }
        if (!ProcessHelpMsg(msg, &dwContext))
            break;
        if (!::IsWindow(hWnd))
            return;
    }
    m_bHelpMode = HELP_INACTIVE;
    if (pApp)
        pApp->m_bHelpMode = FALSE;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    // An exit asked for while the loop was ending would stop the next help mode at once.
    while (::PeekMessageW(&msg, m_hWnd, WM_EXITHELPMODE, WM_EXITHELPMODE, PM_REMOVE)) {
    }
    SetMessageText(AFX_IDS_IDLEMESSAGE);
    if (dwContext == static_cast<DWORD>(-1))
        SendMessage(WM_COMMAND, ID_DEFAULT_HELP);   // something without help of its own
    else if (dwContext != 0 && pApp)
        pApp->WinHelp(dwContext);
    PostMessage(WM_KICKIDLE);
}

void CFrameWnd::ExitHelpMode()
{
    if (m_bHelpMode == HELP_INACTIVE)
        return;
    MSG msg;
    if (!::PeekMessageW(&msg, m_hWnd, WM_EXITHELPMODE, WM_EXITHELPMODE, PM_NOREMOVE))
        PostMessage(WM_EXITHELPMODE);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    m_bHelpMode = HELP_INACTIVE;
    PostMessage(WM_KICKIDLE);
}

HWND CFrameWnd::SetHelpCapture(POINT point, BOOL* pbDescendant)
{
    const HWND hWndHit = ::WindowFromPoint(point);
    BOOL bDescendant = FALSE;
    if (hWndHit) {
        // This frame's windows: its children and the pop-ups it owns (floating bars).
        for (HWND h = ::GetAncestor(hWndHit, GA_ROOT); h; h = ::GetWindow(h, GW_OWNER)) {
            if (h == m_hWnd) {
                bDescendant = TRUE;
                break;
            }
        }
    }
    if (bDescendant) {
        if (::GetCapture() != m_hWnd)
            ::SetCapture(m_hWnd);
        ::SetCursor(HelpCursor());
    } else if (::GetCapture() == m_hWnd) {
        ::ReleaseCapture();   // over other windows the mouse works as usual
    }
    if (pbDescendant)
        *pbDescendant = bDescendant;
    return hWndHit;
}

// ---- the help loop's messages --------------------------------------------------------------------------------------

BOOL CFrameWnd::ProcessHelpMsg(MSG& msg, DWORD* pContext)
{
    if (msg.message == WM_EXITHELPMODE || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)) {
        Remove(msg);
        return FALSE;
    }
    if (msg.message == WM_QUIT)
        return FALSE;   // left queued: the application's loop ends as asked
    if (IsMouseMessage(msg.message)) {
        BOOL bDescendant = FALSE;
        const HWND hWndHit = SetHelpCapture(msg.pt, &bDescendant);
        if (!hWndHit) {
            Remove(msg);   // over nothing at all: dropped (kept, it would come back for ever)
            return TRUE;
        }
        if (!bDescendant) {
            Remove(msg);   // another application's window: works as usual
            ::DispatchMessageW(&msg);
            return TRUE;
        }
        if (msg.message != WM_LBUTTONDOWN && msg.message != WM_NCLBUTTONDOWN) {
            Remove(msg);   // only a press asks for help
            return TRUE;
        }
        const POINT pt = msg.pt;
        const int iHit = static_cast<int>(
            ::SendMessageW(hWndHit, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y))));
        Remove(msg);
        if (iHit == HTMENU || iHit == HTSYSMENU) {
            // The menu opens as usual; the command chosen there comes back as help
            // (OnCommand), and the loop goes on meanwhile.
            ::ReleaseCapture();
            ::SendMessageW(hWndHit, WM_NCLBUTTONDOWN, static_cast<WPARAM>(iHit),
                MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
            if (m_hWnd && m_bHelpMode == HELP_ACTIVE) {
                POINT now{};
                ::GetCursorPos(&now);
                SetHelpCapture(now, nullptr);
            }
            return TRUE;
        }
        if (pContext)
            *pContext = iHit == HTCLIENT ? MapClientArea(hWndHit, CPoint(pt)) : MapNonClientArea(iHit);
        return FALSE;
    }
    if (msg.message == WM_SYSCOMMAND || (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST)) {
        // Keys reach the frame's accelerators (a command chosen so becomes help for it) and
        // system keys work as usual; other keys do nothing in help mode.
        if (::GetCapture()) {
            ::ReleaseCapture();
            MSG drop;
            while (::PeekMessageW(&drop, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
            }
        }
        if (::PeekMessageW(&msg, nullptr, msg.message, msg.message, PM_REMOVE) && !PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            if (msg.message == WM_SYSCOMMAND || IsSystemKey(msg.message))
                ::DispatchMessageW(&msg);
        }
        if (m_hWnd && m_bHelpMode == HELP_ACTIVE) {
            POINT now{};
            ::GetCursorPos(&now);
            SetHelpCapture(now, nullptr);
        }
        return TRUE;
    }
    // Painting, timers and everything else go on.
    if (::PeekMessageW(&msg, nullptr, msg.message, msg.message, PM_REMOVE))
        ::DispatchMessageW(&msg);
    return TRUE;
}

DWORD CFrameWnd::MapClientArea(HWND hWnd, CPoint point)
{
    // The window under the point first, then the windows it lies in, up to this frame.
    for (HWND h = hWnd; h;) {
        POINT pt = point;
        ::ScreenToClient(h, &pt);
        const LRESULT context =
            ::SendMessageW(h, WM_HELPHITTEST, 0, MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
        if (context != 0)
            return static_cast<DWORD>(context);
        if (h == m_hWnd)
            break;
        h = HelpParentOf(h);
    }
    return static_cast<DWORD>(-1);
}

DWORD CFrameWnd::MapNonClientArea(int iHit)
{
    if (iHit < 0 || iHit > HTHELP)
        return static_cast<DWORD>(-1);
    return HID_BASE_NCAREAS + static_cast<DWORD>(iHit);
}

LRESULT CFrameWnd::OnHelpHitTest(WPARAM, LPARAM)
{
    // The frame's own area: help on the frame's resource, when it has one.
    return m_nIDHelp ? static_cast<LRESULT>(HID_BASE_RESOURCE + m_nIDHelp) : 0;
}

LRESULT CFrameWnd::OnCommandHelp(WPARAM, LPARAM lParam)
{
    if (lParam == 0) {
        // F1 with nothing named: the command being pointed at, else the frame itself.
        const bool tracking = m_nIDTracking != 0 && m_nIDTracking != AFX_IDS_IDLEMESSAGE &&
            m_nIDTracking != AFX_IDS_HELPMODEMESSAGE;
        if (tracking)
            lParam = static_cast<LPARAM>(HID_BASE_COMMAND + m_nIDTracking);
        else if (m_nIDHelp)
            lParam = static_cast<LPARAM>(HID_BASE_RESOURCE + m_nIDHelp);
    }
    if (lParam == 0)
        return FALSE;
    if (CWinApp* pApp = AfxGetApp())
        pApp->WinHelp(static_cast<DWORD_PTR>(lParam));
    return TRUE;
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(static_cast<DWORD>(wParam));
    CFrameWnd* pTop = GetTopLevelFrame();
    if (!pTop)
        pTop = this;
    // In help mode a command chosen from a menu or by a key asks for its help instead.
    if (pTop->m_bHelpMode == HELP_ACTIVE && lParam == 0 && nID != ID_HELP && nID != ID_DEFAULT_HELP &&
        nID != ID_CONTEXT_HELP) {
        if (!SendMessage(WM_COMMANDHELP, 0, static_cast<LPARAM>(HID_BASE_COMMAND + nID)))
            SendMessage(WM_COMMAND, ID_DEFAULT_HELP);
        return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}

// ---- the application's side ------------------------------------------------------------------------------------------

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    t_winHelpCalls.push_back(zyn::afx::WinHelpCall{dwData, nCmd, m_pszHelpFilePath ? m_pszHelpFilePath : L""});
    m_bHelpMode = FALSE;
    if (m_pMainWnd && m_pMainWnd->m_hWnd && m_pMainWnd->IsFrameWnd())
        static_cast<CFrameWnd*>(m_pMainWnd)->ExitHelpMode();
}

const std::vector<zyn::afx::WinHelpCall>& zyn::afx::WinHelpCalls() { return t_winHelpCalls; }

void zyn::afx::ClearWinHelpCalls() { t_winHelpCalls.clear(); }
