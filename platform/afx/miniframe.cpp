// CMiniFrameWnd and CMiniDockFrameWnd: tool-window frames, their hit testing and caption
// activation, and the floating frame of the docking framework.
#include "platform/afx/miniframe.h"

#include <vector>

#include "platform/afx/afxres.h"
#include "platform/afx/dockcont.h"
#include "platform/base/cstring.h"
#include "platform/user/input.h"
#include "platform/user/menu.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

BEGIN_MESSAGE_MAP(CMiniFrameWnd, CFrameWnd)
    ON_WM_NCACTIVATE()
    ON_WM_NCHITTEST()
    ON_WM_GETMINMAXINFO()
    ON_MESSAGE(WM_FLOATSTATUS, &CMiniFrameWnd::OnFloatStatus)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
    ON_WM_CLOSE()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONDBLCLK()
END_MESSAGE_MAP()

// ---- CMiniFrameWnd ----------------------------------------------------------------------------------------------

CMiniFrameWnd::CMiniFrameWnd() = default;
CMiniFrameWnd::~CMiniFrameWnd() = default;

BOOL CMiniFrameWnd::Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
    CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, lpClassName, lpWindowName, dwStyle, rect, pParentWnd, nID);
}

BOOL CMiniFrameWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle,
    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    m_strTitle = lpWindowName ? lpWindowName : L"";
    const bool byDefault = rect.left == CW_USEDEFAULT;
    const CRect r = byDefault ? CRect(0, 0, 0, 0) : CRect(rect);
    // A pop-up's "ID" would be a menu handle: only children carry one.
    const HMENU hMenuOrID = (dwStyle & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)) : nullptr;
    if (!CWnd::CreateEx(dwExStyle | WS_EX_TOOLWINDOW, lpClassName, lpWindowName, dwStyle, r.left, r.top, r.Width(),
            r.Height(), zyn::afx::SafeHwndOf(pParentWnd), hMenuOrID, lpParam))
        return FALSE;
    if (dwStyle & MFS_SYNCACTIVE) {
        // Made while its frame is active (a bar floated by the user), it looks active at
        // once: the frame says so only when its activation changes.
        const HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
        const HWND hActive = ::GetActiveWindow();
        m_bActive = hOwner && hActive && (hActive == hOwner || ::GetWindow(hActive, GW_OWNER) == hOwner);
        SendMessage(WM_NCACTIVATE, m_bActive);
    }
    return TRUE;
}

BOOL CMiniFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    if (cs.style & MFS_THICKFRAME)
        cs.style |= WS_THICKFRAME;
    cs.dwExStyle |= WS_EX_TOOLWINDOW;
    return TRUE;
}

void CMiniFrameWnd::CalcBorders(LPRECT lpClientRect, DWORD dwStyle, DWORD dwExStyle)
{
    if (lpClientRect)
        ::AdjustWindowRectEx(lpClientRect, dwStyle & 0xFFFF0000, FALSE, dwExStyle | WS_EX_TOOLWINDOW);
}

LRESULT CMiniFrameWnd::OnNcHitTest(CPoint point)
{
    LRESULT nHit = CFrameWnd::OnNcHitTest(point);
    const DWORD dwStyle = GetStyle();
    if (nHit == HTSYSMENU && (dwStyle & MFS_BLOCKSYSMENU))
        return HTCAPTION;
    if ((dwStyle & MFS_MOVEFRAME) && ((nHit >= HTSIZEFIRST && nHit <= HTSIZELAST) || nHit == HTBORDER))
        return HTCAPTION;
    if (dwStyle & MFS_4THICKFRAME) {
        // A bar's length runs along the frame's width: a corner sizes that.
        switch (nHit) {
        case HTTOPLEFT:
        case HTBOTTOMLEFT:
            nHit = HTLEFT;
            break;
        case HTTOPRIGHT:
        case HTBOTTOMRIGHT:
            nHit = HTRIGHT;
            break;
        default:
            break;
        }
    }
    return nHit;
}

void CMiniFrameWnd::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    CFrameWnd::OnGetMinMaxInfo(lpMMI);
    if (!lpMMI)
        return;
    // A mini frame may be as small as its bars: its borders and caption are the minimum.
    CRect rect(0, 0, 0, 0);
    ::AdjustWindowRectEx(&rect, GetStyle() & 0xFFFF0000, FALSE, GetExStyle());
    lpMMI->ptMinTrackSize.x = rect.Width();
    lpMMI->ptMinTrackSize.y = rect.Height();
}

BOOL CMiniFrameWnd::OnNcActivate(BOOL bActive)
{
    // A synchronised frame looks as active as the frame it floats over.
    if (GetStyle() & MFS_SYNCACTIVE)
        bActive = m_bActive;
    return static_cast<BOOL>(DefWindowProc(WM_NCACTIVATE, bActive ? TRUE : FALSE, 0));
}

LRESULT CMiniFrameWnd::OnFloatStatus(WPARAM wParam, LPARAM)
{
    if (wParam & FS_SYNCACTIVE)
        return (GetStyle() & MFS_SYNCACTIVE) != 0;
    if ((wParam & FS_HIDE) && IsWindowVisible()) {
        // Hidden for a moment (the frame is minimised or loses the application's focus).
        m_nFlags |= WF_TEMPHIDE;
        ShowWindow(SW_HIDE);
    } else if ((wParam & FS_SHOW) && (m_nFlags & WF_TEMPHIDE)) {
        m_nFlags &= ~WF_TEMPHIDE;
        ShowWindow(SW_SHOWNA);
    }
    if ((wParam & (FS_ACTIVATE | FS_DEACTIVATE)) && (GetStyle() & MFS_SYNCACTIVE)) {
        m_bActive = (wParam & FS_ACTIVATE) != 0;
        SendMessage(WM_NCACTIVATE, m_bActive);
    }
    if (wParam & (FS_ENABLE | FS_DISABLE))
        EnableWindow((wParam & FS_ENABLE) != 0);
    return TRUE;
}

// ---- CMiniDockFrameWnd -------------------------------------------------------------------------------------------

CMiniDockFrameWnd::CMiniDockFrameWnd() = default;
CMiniDockFrameWnd::~CMiniDockFrameWnd() = default;

DWORD CMiniDockFrameWnd::WindowStyleFor(DWORD dwBarStyle)
{
    DWORD dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | MFS_MOVEFRAME | MFS_SYNCACTIVE | MFS_BLOCKSYSMENU |
                    FWS_SNAPTOBARS;
    if (dwBarStyle & CBRS_SIZE_DYNAMIC)
        dwStyle = (dwStyle & ~MFS_MOVEFRAME) | MFS_4THICKFRAME | WS_THICKFRAME;
    return dwStyle;
}

BOOL CMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle)
{
    // No layout before the dock bar exists.
    m_bInRecalcLayout = TRUE;
    if (!CMiniFrameWnd::CreateEx(0, nullptr, L"", WindowStyleFor(dwBarStyle), rectDefault, pParent))
        return FALSE;   // PostNcDestroy has deleted the frame
    // The system menu offers what a floating bar can do: move, and close meaning hide.
    if (const HMENU hSysMenu = ::GetSystemMenu(m_hWnd, FALSE)) {
        ::DeleteMenu(hSysMenu, SC_SIZE, MF_BYCOMMAND);
        ::DeleteMenu(hSysMenu, SC_MINIMIZE, MF_BYCOMMAND);
        ::DeleteMenu(hSysMenu, SC_MAXIMIZE, MF_BYCOMMAND);
        ::DeleteMenu(hSysMenu, SC_RESTORE, MF_BYCOMMAND);
        CString strHide;
        if (!strHide.LoadString(AFX_IDS_HIDE))
            strHide = L"&Hide";
        ::DeleteMenu(hSysMenu, SC_CLOSE, MF_BYCOMMAND);
        ::AppendMenuW(hSysMenu, MF_STRING | MF_ENABLED, SC_CLOSE, strHide);
    }
    DWORD dwDockStyle = (dwBarStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
    dwDockStyle |= dwBarStyle & CBRS_FLOAT_MULTI;
    // Created as the docking frame's child so it joins that frame's bar list, then moved.
    if (!m_wndDockBar.Create(pParent, WS_CHILD | WS_VISIBLE | dwDockStyle, AFX_IDW_DOCKBAR_FLOAT)) {
        m_bInRecalcLayout = FALSE;
        DestroyWindow();
        return FALSE;
    }
    m_wndDockBar.SetParent(this);
    m_bInRecalcLayout = FALSE;
    return TRUE;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL bNotify)
{
    if (m_bInRecalcLayout)
        return;
    CMiniFrameWnd::RecalcLayout(bNotify);
    zyn::afx::FollowDockBarTitle(this, &m_wndDockBar);
}

CControlBar* CMiniDockFrameWnd::GetFirstBar() const
{
    for (int i = 1; i < m_wndDockBar.m_arrBars.GetSize(); ++i) {
        if (CControlBar* pBar = m_wndDockBar.GetDockedControlBar(i))
            return pBar;
    }
    return nullptr;
}

void CMiniDockFrameWnd::OnClose()
{
    // Closing a floating frame hides its bars; the frame hides with the last of them.
    m_wndDockBar.ShowAll(FALSE);
    if (m_wndDockBar.GetDockedVisibleCount() == 0 && IsWindowVisible())
        ShowWindow(SW_HIDE);
}

void CMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    if (nHitTest == HTCAPTION) {
        ActivateTopParent();
        // The caption moves a single bar through its drag, so it can dock on the way.
        if (!(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI)) {
            CControlBar* pBar = GetFirstBar();
            if (pBar && pBar->m_pDockContext) {
                pBar->m_pDockContext->StartDrag(point);
                return;   // the frame may be gone now (the bar docked)
            }
        }
    } else if (nHitTest >= HTSIZEFIRST && nHitTest <= HTSIZELAST) {
        ActivateTopParent();
        CControlBar* pBar = GetFirstBar();
        if (pBar && (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) && pBar->m_pDockContext) {
            pBar->m_pDockContext->StartResize(static_cast<int>(nHitTest), point);
            return;
        }
    }
    CMiniFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
    if (nHitTest == HTCAPTION && !(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI)) {
        CControlBar* pBar = GetFirstBar();
        if (pBar && pBar->m_pDockContext) {
            pBar->m_pDockContext->ToggleDocking();
            return;
        }
    }
    CMiniFrameWnd::OnNcLButtonDblClk(nHitTest, point);
}

// ---- the idle pass of floating frames -------------------------------------------------------------------------------

void zyn::afx::FollowDockBarTitle(CWnd* pFrame, CWnd* pDockBar)
{
    if (!pFrame || !pFrame->m_hWnd || !pDockBar || !pDockBar->m_hWnd)
        return;
    CString text;
    pDockBar->GetWindowText(text);
    AfxSetWindowText(pFrame->m_hWnd, text);
}

void zyn::afx::IdleUpdateFloatingFrames(CFrameWnd* pFrame, WPARAM wParam)
{
    if (!pFrame)
        return;
    std::vector<HWND> frames;
    POSITION pos = pFrame->m_listControlBars.GetHeadPosition();
    while (pos) {
        auto* pBar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
        if (!pBar || !pBar->IsDockBar() || !static_cast<CDockBar*>(pBar)->m_bFloating || !pBar->m_hWnd)
            continue;
        const HWND hParent = ::GetParent(pBar->m_hWnd);
        if (hParent && hParent != pFrame->m_hWnd && ::IsWindowVisible(hParent))
            frames.push_back(hParent);
    }
    for (const HWND hWnd : frames) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (!pWnd || !::IsWindow(hWnd))
            continue;   // destroyed by an earlier frame's update
        AfxCallWndProc(pWnd, hWnd, WM_IDLEUPDATECMDUI, wParam, 0);
        if (::IsWindow(hWnd))
            CWnd::SendMessageToDescendants(hWnd, WM_IDLEUPDATECMDUI, wParam, 0, TRUE, TRUE);
    }
}
