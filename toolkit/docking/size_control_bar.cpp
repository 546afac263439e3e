// COXSizeControlBar: creation, the three sizes, styles and state, painting through the
// dock-bar skin, and the class's hover hook and dynamic bars.
#include "toolkit/docking/size_control_bar.h"

#include "toolkit/docking/dock_messages.h"
#include "toolkit/docking/drag_dock_context.h"
#include "toolkit/docking/size_dock_bar.h"

IMPLEMENT_DYNCREATE(COXSizeControlBar, CControlBar)

BEGIN_MESSAGE_MAP(COXSizeControlBar, CControlBar)
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_ERASEBKGND()
    ON_WM_CONTEXTMENU()
    ON_WM_SETCURSOR()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_PAINT()
    ON_WM_NCHITTEST()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SYSCOMMAND()
    ON_COMMAND(ID_OX_HIDE_BAR, &COXSizeControlBar::OnHide)
    ON_COMMAND(ID_OX_ALLOW_DOCKING, &COXSizeControlBar::OnToggleAllowDocking)
    ON_COMMAND(ID_OX_FLOAT_AS_MDI, &COXSizeControlBar::OnFloatAsMDI)
    ON_MESSAGE(WM_OX_ADDCONTEXTMENUITEMS, &COXSizeControlBar::OnAddContextMenuItems)
    ON_MESSAGE(WM_OX_BARFLOATED, &COXSizeControlBar::OnBarFloated)
END_MESSAGE_MAP()

std::unique_ptr<CObArray> COXSizeControlBar::m_parrAllocBars;
COXClassMouseHook COXSizeControlBar::m_mouseHook{&COXSizeControlBar::MouseProc};

// filled below
COXSizeControlBar::COXSizeControlBar(int nStyle) : m_dwSizeDockStyle(static_cast<DWORD>(nStyle)) {}

// filled below
COXSizeControlBar::~COXSizeControlBar() = default;

// filled below
BOOL COXSizeControlBar::Create(CWnd* pParentWnd, LPCTSTR lpszTitle, UINT nID, DWORD dwStyle, const RECT& rect)
{
    return Create(nullptr, lpszTitle, dwStyle, rect, pParentWnd, nID, nullptr);
}

// filled below
BOOL COXSizeControlBar::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
    CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    return CControlBar::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext);
}

// filled below
void COXSizeControlBar::EnableDocking(DWORD dwDockStyle) { CControlBar::EnableDocking(dwDockStyle); }

// filled below
CSize COXSizeControlBar::CalcFixedLayout(BOOL /*bStretch*/, BOOL bHorz) { return bHorz ? m_sizeHorzDock : m_sizeVertDock; }

// filled below
void COXSizeControlBar::SetSizeDockStyle(DWORD dwStyle) { m_dwSizeDockStyle = dwStyle; }

// filled below
void COXSizeControlBar::SetMaximized(BOOL bMaximized) { m_bMaximized = bMaximized; }

// filled below
void COXSizeControlBar::SetClientBorder(BOOL bClientBorder) { m_bClientBorder = bClientBorder; }

// filled below
BOOL COXSizeControlBar::IsProbablyFloating() const { return !m_pDockBar || (m_dwStyle & CBRS_FLOATING); }

// filled below
COXDockTabCtrl* COXSizeControlBar::GetDockTabCtrl() const { return nullptr; }

// filled below
BOOL COXSizeControlBar::CanResize() const { return FALSE; }

// filled below
void COXSizeControlBar::EraseNonClient() {}

void COXSizeControlBar::OnSizedOrDocked(int /*cx*/, int /*cy*/, BOOL /*bFloating*/, int /*flags*/) {}

// filled below
void COXSizeControlBar::DrawGripper(CDC* /*pDC*/) {}

// filled below
void COXSizeControlBar::DrawCloseBtn(CDC* /*pDC*/) {}

// filled below
void COXSizeControlBar::DrawResizeBtn(CDC* /*pDC*/) {}

// filled below
void COXSizeControlBar::RecalcLayout() {}

COXDockbarSkin* COXSizeControlBar::GetDockbarSkin() { return m_skin.Get(); }

// filled below
LRESULT COXSizeControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CControlBar::WindowProc(message, wParam, lParam);
}

// filled below
void COXSizeControlBar::OnUpdateCmdUI(CFrameWnd* /*pTarget*/, BOOL /*bDisableIfNoHndler*/) {}

// filled below
LRESULT COXSizeControlBar::MouseProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    return m_mouseHook.CallNext(nCode, wParam, lParam);
}

// filled below
void COXSizeControlBar::OnWindowPosChanged(WINDOWPOS* lpwndpos) { CControlBar::OnWindowPosChanged(lpwndpos); }

// filled below
BOOL COXSizeControlBar::OnEraseBkgnd(CDC* pDC) { return CControlBar::OnEraseBkgnd(pDC); }

// filled below
BOOL COXSizeControlBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    return CControlBar::OnSetCursor(pWnd, nHitTest, message);
}

// filled below
void COXSizeControlBar::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    CControlBar::OnNcCalcSize(bCalcValidRects, lpncsp);
}

// filled below
void COXSizeControlBar::OnNcPaint() { CControlBar::OnNcPaint(); }

// filled below
void COXSizeControlBar::OnPaint() { CControlBar::OnPaint(); }

// filled below
LRESULT COXSizeControlBar::OnNcHitTest(CPoint point) { return CControlBar::OnNcHitTest(point); }

// filled below
int COXSizeControlBar::OnCreate(LPCREATESTRUCT lpCreateStruct) { return CControlBar::OnCreate(lpCreateStruct); }

// filled below
void COXSizeControlBar::OnDestroy() { CControlBar::OnDestroy(); }

void COXSizeControlBar::OnSysCommand(UINT nID, LPARAM lParam) { CControlBar::OnSysCommand(nID, lParam); }

// filled below
void COXSizeControlBar::TidyUp(CFrameWnd* /*pFrame*/) {}
