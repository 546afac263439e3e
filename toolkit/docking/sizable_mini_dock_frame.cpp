// COXSizableMiniDockFrameWnd: the toolkit's floating frame.
#include "toolkit/docking/sizable_mini_dock_frame.h"

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

// filled below
COXSizableMiniDockFrameWnd::ContainedBarType COXSizableMiniDockFrameWnd::GetContainedBarType()
{
    return barTypeOther;
}

// filled below
BOOL COXSizableMiniDockFrameWnd::IsDockingViewBar() { return FALSE; }

COXMiniFrameSkin* COXSizableMiniDockFrameWnd::GetMiniFrameSkin() { return m_skin.Get(); }

CControlBar* COXSizableMiniDockFrameWnd::GetFirstControlBar() const
{
    return COXSizeDockBar::GetFirstControlBar(&m_wndDockBar);
}

// filled below
LRESULT COXSizableMiniDockFrameWnd::MouseProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    return m_mouseHook.CallNext(nCode, wParam, lParam);
}

// filled below
BOOL COXSizableMiniDockFrameWnd::PreCreateWindow(CREATESTRUCT& cs) { return CMiniDockFrameWnd::PreCreateWindow(cs); }

// filled below
int COXSizableMiniDockFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return CMiniDockFrameWnd::OnCreate(lpCreateStruct);
}

// filled below
void COXSizableMiniDockFrameWnd::OnSize(UINT nType, int cx, int cy) { CMiniDockFrameWnd::OnSize(nType, cx, cy); }

// filled below
void COXSizableMiniDockFrameWnd::OnClose() { CMiniDockFrameWnd::OnClose(); }

// filled below
void COXSizableMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    CMiniDockFrameWnd::OnNcLButtonDown(nHitTest, point);
}

LRESULT COXSizableMiniDockFrameWnd::OnNcHitTest(CPoint point) { return CMiniFrameWnd::OnNcHitTest(point); }

// filled below
int COXSizableMiniDockFrameWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    return CMiniDockFrameWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

// filled below
BOOL COXSizableMiniDockFrameWnd::OnNcActivate(BOOL bActive) { return CMiniDockFrameWnd::OnNcActivate(bActive); }

// filled below
void COXSizableMiniDockFrameWnd::OnParentNotify(UINT message, LPARAM lParam)
{
    CMiniDockFrameWnd::OnParentNotify(message, lParam);
}

// filled below
void COXSizableMiniDockFrameWnd::OnSysCommand(UINT nID, LPARAM lParam) { CMiniDockFrameWnd::OnSysCommand(nID, lParam); }

// filled below
void COXSizableMiniDockFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    CMiniDockFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
}

// filled below
void COXSizableMiniDockFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CMiniDockFrameWnd::OnActivate(nState, pWndOther, bMinimized);
}

// filled below
void COXSizableMiniDockFrameWnd::OnNcPaint() { CMiniDockFrameWnd::OnNcPaint(); }

// filled below
BOOL COXSizableMiniDockFrameWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    return CMiniDockFrameWnd::OnSetCursor(pWnd, nHitTest, message);
}

// filled below
void COXSizableMiniDockFrameWnd::OnNcLButtonUp(UINT nHitTest, CPoint point)
{
    CMiniDockFrameWnd::OnNcLButtonUp(nHitTest, point);
}

// filled below
void COXSizableMiniDockFrameWnd::OnDestroy() { CMiniDockFrameWnd::OnDestroy(); }

// filled below
void COXSizableMiniDockFrameWnd::OnNcRButtonDown(UINT nHitTest, CPoint point)
{
    CMiniDockFrameWnd::OnNcRButtonDown(nHitTest, point);
}

void COXSizableMiniDockFrameWnd::OnWindowPosChanged(WINDOWPOS* lpwndpos) { CMiniDockFrameWnd::OnWindowPosChanged(lpwndpos); }

// filled below
void COXSizableMiniDockFrameWnd::OnNcMouseMove(UINT nHitTest, CPoint point)
{
    CMiniDockFrameWnd::OnNcMouseMove(nHitTest, point);
}

// filled below
CControlBar* COXSizableMiniDockFrameWnd::GetFirstLiveBar() const { return nullptr; }

// filled below
COXSizeViewBar* COXSizableMiniDockFrameWnd::GetViewBar() const { return nullptr; }

// filled below
void COXSizableMiniDockFrameWnd::TrackSystemMenu(CPoint /*point*/, const RECT* /*pExclude*/) {}
