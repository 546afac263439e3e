// COXSizableMiniDockFrameWnd: the toolkit's floating frame: its styles and system menu by
// the kind of bar it holds, sizing, closing, painting through the mini-frame skin and the
// view-bar notices. The caption and border mouse is in sizable_mini_dock_frame_mouse.cpp.
#include "toolkit/docking/sizable_mini_dock_frame.h"

#include "platform/afx/afxres.h"
#include "platform/afx/dockcont.h"
#include "platform/afx/menu.h"
#include "platform/base/cstring.h"
#include "platform/gdi/icon.h"
#include "platform/user/input.h"
#include "platform/user/menu.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "toolkit/docking/dock_messages.h"
#include "toolkit/docking/dock_seams.h"
#include "toolkit/docking/size_control_bar.h"
#include "toolkit/docking/size_dock_bar.h"

IMPLEMENT_DYNCREATE(COXSizableMiniDockFrameWnd, CMiniDockFrameWnd)

BEGIN_MESSAGE_MAP(COXSizableMiniDockFrameWnd, CMiniDockFrameWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCHITTEST()
    ON_WM_MOUSEACTIVATE()
    ON_WM_NCACTIVATE()
    ON_WM_PARENTNOTIFY()
    ON_WM_SYSCOMMAND()
    ON_WM_INITMENUPOPUP()
    ON_WM_ACTIVATE()
    ON_WM_NCPAINT()
    ON_WM_SETCURSOR()
    ON_WM_NCLBUTTONUP()
    ON_WM_DESTROY()
    ON_WM_NCRBUTTONDOWN()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_NCMOUSEMOVE()
END_MESSAGE_MAP()

COXClassMouseHook COXSizableMiniDockFrameWnd::m_mouseHook{&COXSizableMiniDockFrameWnd::MouseProc};

COXSizableMiniDockFrameWnd::COXSizableMiniDockFrameWnd() = default;

COXSizableMiniDockFrameWnd::~COXSizableMiniDockFrameWnd() = default;

// ---- creation and destruction ----------------------------------------------------------------------------------

BOOL COXSizableMiniDockFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    // A sizing frame on all sides and corners; what it holds may take that back.
    cs.style |= WS_THICKFRAME | MFS_THICKFRAME;
    cs.style &= ~static_cast<LONG>(MFS_MOVEFRAME | MFS_4THICKFRAME);
    return CMiniDockFrameWnd::PreCreateWindow(cs);
}

int COXSizableMiniDockFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CMiniDockFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_bBeingDestroyed = FALSE;
    m_nContainedBarType = barTypeUnknown;
    m_bHookAcquired = m_mouseHook.Acquire();
    return 0;
}

void COXSizableMiniDockFrameWnd::OnDestroy()
{
    if (m_bHookAcquired) {
        m_bHookAcquired = FALSE;
        m_mouseHook.Release();
    }
    CMiniDockFrameWnd::OnDestroy();
}

LRESULT COXSizableMiniDockFrameWnd::MouseProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (const HWND hLeft = m_mouseHook.Track(nCode, wParam, lParam)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hLeft);
        if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(COXSizableMiniDockFrameWnd))) {
            auto* pFrame = static_cast<COXSizableMiniDockFrameWnd*>(pWnd);
            pFrame->GetMiniFrameSkin()->DrawCaptionButtons(pFrame);   // the hot look goes
        }
    }
    return m_mouseHook.CallNext(nCode, wParam, lParam);
}

// ---- what the frame holds ---------------------------------------------------------------------------------------

COXMiniFrameSkin* COXSizableMiniDockFrameWnd::GetMiniFrameSkin() { return m_skin.Get(); }

CControlBar* COXSizableMiniDockFrameWnd::GetFirstControlBar() const
{
    return COXSizeDockBar::GetFirstControlBar(&m_wndDockBar);
}

CControlBar* COXSizableMiniDockFrameWnd::GetFirstLiveBar() const
{
    for (int i = 1; i < m_wndDockBar.GetBarCount(); ++i) {
        CControlBar* pBar = m_wndDockBar.GetDockedControlBar(i);
        if (pBar && pBar->m_hWnd && ::IsWindow(pBar->m_hWnd))
            return pBar;
    }
    return nullptr;
}

COXSizeViewBar* COXSizableMiniDockFrameWnd::GetViewBar() const
{
    CControlBar* pBar = GetFirstControlBar();
    return pBar ? OXGetDockingSeam().AsSizeViewBar(pBar) : nullptr;
}

BOOL COXSizableMiniDockFrameWnd::IsDockingViewBar() { return GetViewBar() != nullptr; }

COXSizableMiniDockFrameWnd::ContainedBarType COXSizableMiniDockFrameWnd::GetContainedBarType()
{
    if (m_nContainedBarType != barTypeUnknown)
        return m_nContainedBarType;
    m_nContainedBarType = barTypeOther;
    if (!m_hWnd)
        return m_nContainedBarType;
    CControlBar* pBar = GetFirstControlBar();
    if (!(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI) && pBar) {
        if (pBar->IsKindOf(RUNTIME_CLASS(COXSizeControlBar))) {
            m_nContainedBarType = barTypeSizeBar;
            // The system menu of a floating size bar: Move, Size and Close (or Hide).
            ::GetSystemMenu(m_hWnd, TRUE);
            if (const HMENU hSysMenu = ::GetSystemMenu(m_hWnd, FALSE)) {
                for (const UINT nCmd : {SC_MAXIMIZE, SC_MINIMIZE, SC_RESTORE, SC_TASKLIST})
                    ::DeleteMenu(hSysMenu, nCmd, MF_BYCOMMAND);
                for (bool found = true; found;) {
                    found = false;
                    const int nCount = ::GetMenuItemCount(hSysMenu);
                    for (int i = 0; i < nCount; ++i) {
                        if (::GetMenuItemID(hSysMenu, i) == 0) {
                            ::DeleteMenu(hSysMenu, static_cast<UINT>(i), MF_BYPOSITION);
                            found = true;
                            break;
                        }
                    }
                }
                CString strHide;
                if (!(static_cast<COXSizeControlBar*>(pBar)->GetSizeDockStyle() & SZBARF_DESTROY_ON_CLOSE) &&
                    strHide.LoadString(AFX_IDS_HIDE))
                    ::ModifyMenuW(hSysMenu, SC_CLOSE, MF_BYCOMMAND | MF_STRING, SC_CLOSE, strHide);
            }
            return m_nContainedBarType;
        }
        if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
            // A dynamic toolbar wraps to the width its frame's sides give it.
            ModifyStyle(0, MFS_4THICKFRAME);
            return m_nContainedBarType;
        }
    }
    // Any other bar has a fixed size: a frame that any border moves.
    ModifyStyle(WS_THICKFRAME, MFS_MOVEFRAME, SWP_FRAMECHANGED);
    RecalcLayout(TRUE);
    return m_nContainedBarType;
}

// ---- size and close ---------------------------------------------------------------------------------------------------

void COXSizableMiniDockFrameWnd::OnSize(UINT /*nType*/, int cx, int cy)
{
    if (cx == 0 && cy == 0)
        return;
    // The bar's borders hide under the frame's edges: its floating size is the client
    // area grown by them.
    COXSizeControlBar::TrackFloatingSize(GetFirstControlBar(), m_wndDockBar.m_dwStyle, cx, cy);
    RecalcLayout(TRUE);
}

void COXSizableMiniDockFrameWnd::OnClose()
{
    if (m_bBeingDestroyed)
        return;
    m_bBeingDestroyed = TRUE;
    if (!(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI)) {
        CControlBar* pBar = GetFirstControlBar();
        if (pBar && pBar->IsKindOf(RUNTIME_CLASS(COXSizeControlBar)) &&
            (static_cast<COXSizeControlBar*>(pBar)->GetSizeDockStyle() & SZBARF_DESTROY_ON_CLOSE)) {
            // The frame goes (deleting itself, and the bar's window with it), then the bar:
            // taken first, deleted once, even by a bar that would delete itself with its window.
            pBar->m_bAutoDelete = FALSE;
            CFrameWnd::OnClose();
            delete pBar;
            return;   // this object may be gone
        }
        COXDockingSeam& seam = OXGetDockingSeam();
        if (COXSizeViewBar* pView = pBar ? seam.AsSizeViewBar(pBar) : nullptr; pView && pBar->m_hWnd) {
            if (!seam.QueryCloseView(pView)) {
                m_bBeingDestroyed = FALSE;   // the document kept its view
                return;
            }
            COXMDIChildWndSizeDock* pChild = seam.GetViewBarChild(pView);
            if (CFrameWnd* pMDIFrame = pChild ? seam.GetChildMDIFrame(pChild) : nullptr)
                pMDIFrame->ShowControlBar(pBar, FALSE, FALSE);
            if (pBar->m_pDockContext)
                pBar->m_pDockContext->ToggleDocking();
            if (CWnd* pWrapper = seam.GetViewBarWrapper(pView); pWrapper && pWrapper->m_hWnd)
                pWrapper->SendMessage(WM_CLOSE);
            return;   // the wrapper's closing takes the frame with it
        }
    }
    // Bars of other kinds, several bars or none: the bars are hidden.
    CMiniDockFrameWnd::OnClose();
    m_bBeingDestroyed = FALSE;
}

// ---- painting ----------------------------------------------------------------------------------------------------------

void COXSizableMiniDockFrameWnd::OnNcPaint() { GetMiniFrameSkin()->OnNcPaint(this); }

BOOL COXSizableMiniDockFrameWnd::OnNcActivate(BOOL bActive) { return GetMiniFrameSkin()->OnNcActivate(bActive, this); }

void COXSizableMiniDockFrameWnd::OnNcMouseMove(UINT /*nHitTest*/, CPoint /*point*/)
{
    GetMiniFrameSkin()->DrawCaptionButtons(this);
    Default();
}

void COXSizableMiniDockFrameWnd::OnWindowPosChanged(WINDOWPOS* /*lpwndpos*/) { Default(); }

LRESULT COXSizableMiniDockFrameWnd::OnNcHitTest(CPoint point) { return CMiniFrameWnd::OnNcHitTest(point); }

BOOL COXSizableMiniDockFrameWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    // The frame's own borders; its bars and their controls keep their cursors.
    if (pWnd != this)
        return CMiniDockFrameWnd::OnSetCursor(pWnd, nHitTest, message);
    zyn::base::IntResource cursor = IDC_ARROW;
    switch (nHitTest) {
    case HTTOP:
    case HTBOTTOM:
        cursor = IDC_SIZENS;
        break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
        cursor = IDC_SIZENESW;
        break;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
        cursor = IDC_SIZENWSE;
        break;
    case HTLEFT:
    case HTRIGHT:
        cursor = IDC_SIZEWE;
        break;
    default:
        break;
    }
    ::SetCursor(::LoadCursorW(nullptr, cursor));
    return TRUE;
}

// ---- the system menu and the view bar ------------------------------------------------------------------------------------

void COXSizableMiniDockFrameWnd::OnSysCommand(UINT nID, LPARAM lParam)
{
    GetMiniFrameSkin()->DrawCaption(this);
    COXDockingSeam& seam = OXGetDockingSeam();
    const UINT nDockID = seam.GetDockMessageID();
    if (nDockID != 0 && nID == nDockID) {
        if (COXSizeViewBar* pView = GetViewBar()) {
            if (COXMDIChildWndSizeDock* pChild = seam.GetViewBarChild(pView)) {
                seam.MakeChildDockable(pChild);
                return;
            }
        }
    }
    CMiniDockFrameWnd::OnSysCommand(nID, lParam);
}

void COXSizableMiniDockFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    const HMENU hSysMenu = m_hWnd ? ::GetSystemMenu(m_hWnd, FALSE) : nullptr;
    const bool isSysMenu = bSysMenu || (pPopupMenu && pPopupMenu->m_hMenu && pPopupMenu->m_hMenu == hSysMenu);
    if (isSysMenu && hSysMenu) {
        if (CWnd* pCapture = CWnd::GetCapture(); pCapture && pCapture != this)
            pCapture->SendMessage(WM_CANCELMODE);
        COXDockingSeam& seam = OXGetDockingSeam();
        const UINT nDockID = seam.GetDockMessageID();
        COXSizeViewBar* pView = GetViewBar();
        COXMDIChildWndSizeDock* pChild = pView ? seam.GetViewBarChild(pView) : nullptr;
        if (pChild && nDockID != 0 && ::GetMenuState(hSysMenu, nDockID, MF_BYCOMMAND) == static_cast<UINT>(-1)) {
            ::AppendMenuW(hSysMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(hSysMenu, MF_STRING | (seam.IsChildDockable(pChild) ? MF_CHECKED : MF_UNCHECKED), nDockID,
                seam.GetChildMenuText(pChild));
        }
    }
    CMiniDockFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
}

int COXSizableMiniDockFrameWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    if (GetViewBar())
        GetFirstControlBar()->SendMessage(WM_OX_ACTIVATEVIEWBAR, TRUE, 3);
    if (GetContainedBarType() == barTypeSizeBar && nHitTest >= HTSIZEFIRST && nHitTest <= HTSIZELAST)
        return static_cast<int>(Default());
    return CMiniDockFrameWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

void COXSizableMiniDockFrameWnd::OnParentNotify(UINT message, LPARAM lParam)
{
    const UINT nEvent = LOWORD(message);
    if (nEvent == WM_LBUTTONDOWN || nEvent == WM_RBUTTONDOWN || nEvent == WM_MBUTTONDOWN) {
        // An empty frame has nobody to tell.
        if (CControlBar* pBar = GetFirstControlBar(); pBar && pBar->m_hWnd)
            pBar->SendMessage(WM_OX_ACTIVATEVIEWBAR, TRUE, 3);
    }
    CMiniDockFrameWnd::OnParentNotify(message, lParam);
}

void COXSizableMiniDockFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CMiniDockFrameWnd::OnActivate(nState, pWndOther, bMinimized);
    if (GetViewBar())
        GetFirstControlBar()->SendMessage(WM_OX_ACTIVATEVIEWBAR, nState != WA_INACTIVE, 3);
}
