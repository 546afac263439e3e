// COXSizeControlBar: creation, the three sizes, styles and state, painting through the
// dock-bar skin, and the class's hover hook and dynamic bars.
#include "toolkit/docking/size_control_bar.h"

#include <algorithm>
#include <vector>

#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/window_dc.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/paint.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "toolkit/docking/dock_messages.h"
#include "toolkit/docking/dock_seams.h"
#include "toolkit/docking/dock_util.h"
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
    ON_WM_CAPTURECHANGED()
    ON_COMMAND(ID_OX_HIDE_BAR, &COXSizeControlBar::OnHide)
    ON_COMMAND(ID_OX_ALLOW_DOCKING, &COXSizeControlBar::OnToggleAllowDocking)
    ON_COMMAND(ID_OX_FLOAT_AS_MDI, &COXSizeControlBar::OnFloatAsMDI)
    ON_MESSAGE(WM_OX_ADDCONTEXTMENUITEMS, &COXSizeControlBar::OnAddContextMenuItems)
    ON_MESSAGE(WM_OX_BARFLOATED, &COXSizeControlBar::OnBarFloated)
END_MESSAGE_MAP()

std::unique_ptr<CObArray> COXSizeControlBar::m_parrAllocBars;
COXClassMouseHook COXSizeControlBar::m_mouseHook{&COXSizeControlBar::MouseProc};

namespace {

// Where bar stands in the list of dynamic bars, searched from the end; -1 when absent.
INT_PTR FindAllocBar(const COXSizeControlBar* pBar)
{
    const CObArray* pArr = COXSizeControlBar::m_parrAllocBars.get();
    if (!pArr)
        return -1;
    for (INT_PTR i = pArr->GetSize() - 1; i >= 0; --i) {
        if (pArr->GetAt(i) == pBar)
            return i;
    }
    return -1;
}

} // namespace

// ---- creation and destruction ----------------------------------------------------------------------------------

COXSizeControlBar::COXSizeControlBar(int nStyle) : m_dwSizeDockStyle(static_cast<DWORD>(nStyle))
{
    if (m_dwSizeDockStyle & SZBARF_DYNAMIC) {
        if (!m_parrAllocBars)
            m_parrAllocBars = std::make_unique<CObArray>();
        m_parrAllocBars->Add(this);
    }
}

COXSizeControlBar::~COXSizeControlBar()
{
    // The window goes while the object is still a size bar, so its WM_DESTROY gives back
    // the hook and leaves the frame's lists (the control bar's destructor would destroy
    // it as a plain control bar). The dock context is the control bar's to delete.
    m_bAutoDelete = FALSE;
    if (m_hWnd)
        DestroyWindow();
    const INT_PTR nIndex = FindAllocBar(this);
    if (nIndex >= 0)
        m_parrAllocBars->RemoveAt(nIndex);
}

BOOL COXSizeControlBar::Create(CWnd* pParentWnd, LPCTSTR lpszTitle, UINT nID, DWORD dwStyle, const RECT& rect)
{
    return Create(nullptr, lpszTitle, dwStyle, rect, pParentWnd, nID, nullptr);
}

BOOL COXSizeControlBar::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
    CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    CRect rectBar(rect);
    if (rectBar == CFrameWnd::rectDefault) {
        // No place given: the lower right of the parent, half its width, a quarter its height.
        CRect client(0, 0, 0, 0);
        if (pParentWnd && pParentWnd->m_hWnd)
            pParentWnd->GetClientRect(&client);
        const int cx = client.Width(), cy = client.Height();
        rectBar = CRect(cx - cx / 2, cy - cy / 4, cx, cy);
    }
    m_sizeFloat = m_sizeHorzDock = m_sizeVertDock = rectBar.Size();
    return CControlBar::Create(lpszClassName, lpszWindowName, dwStyle | WS_CLIPCHILDREN, rectBar, pParentWnd, nID,
        pContext);
}

void COXSizeControlBar::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle & (CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI);
    if (!m_pDockContext)
        m_pDockContext = new COXDragDockContext(this);   // the control bar deletes it
    if (m_hWnd && !m_hWndOwner)
        m_hWndOwner = ::GetParent(m_hWnd);
}

int COXSizeControlBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_bHookAcquired = m_mouseHook.Acquire();
    return 0;
}

void COXSizeControlBar::OnDestroy()
{
    if (m_bHookAcquired) {
        m_bHookAcquired = FALSE;
        m_mouseHook.Release();
    }
    if (m_bDragging || m_nPressedBtn != btnNone) {
        m_bDragging = FALSE;
        m_nPressedBtn = btnNone;
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
    }
    m_bDragPending = FALSE;
    if (CFrameWnd* pFrame = m_pDockSite ? m_pDockSite : GetTopLevelFrame())
        m_hWndTidyFrame = pFrame->m_hWnd;
    CControlBar::OnDestroy();
}

void COXSizeControlBar::TrackFloatingSize(CControlBar* pBar, DWORD dwDockBarStyle, int cx, int cy)
{
    if (!(cx || cy) || (dwDockBarStyle & CBRS_FLOAT_MULTI) || !pBar || !pBar->m_hWnd ||
        !pBar->IsKindOf(RUNTIME_CLASS(COXSizeControlBar)) || !(pBar->GetStyle() & WS_VISIBLE))
        return;
    CRect rect(0, 0, cx, cy);
    if (pBar->m_dwStyle & CBRS_BORDER_LEFT)
        rect.left -= AFX_CX_BORDER2;
    if (pBar->m_dwStyle & CBRS_BORDER_TOP)
        rect.top -= AFX_CY_BORDER2;
    if (pBar->m_dwStyle & CBRS_BORDER_RIGHT)
        rect.right += AFX_CX_BORDER2;
    if (pBar->m_dwStyle & CBRS_BORDER_BOTTOM)
        rect.bottom += AFX_CY_BORDER2;
    static_cast<COXSizeControlBar*>(pBar)->m_sizeFloat = rect.Size();
}

void COXSizeControlBar::TidyUp(CFrameWnd* pFrame)
{
    if (!m_parrAllocBars)
        return;
    const HWND hFrame = pFrame ? pFrame->m_hWnd : nullptr;
    for (INT_PTR i = m_parrAllocBars->GetSize() - 1; i >= 0; --i) {
        if (i >= m_parrAllocBars->GetSize())
            continue;   // bars deleted on the way took their entries with them
        auto* pBar = static_cast<COXSizeControlBar*>(m_parrAllocBars->GetAt(i));
        if (pBar->m_hWnd && ::IsWindow(pBar->m_hWnd)) {
            CFrameWnd* pTop = pBar->GetTopLevelFrame();
            if (!pFrame || pTop != pFrame)
                continue;
            pBar->DestroyWindow();
            // A bar that deletes itself with its window has left the list already.
            if (i >= m_parrAllocBars->GetSize() || m_parrAllocBars->GetAt(i) != pBar)
                continue;
        }
        // Only the bars of this frame: another frame's windowless bars (or bars never
        // created) stay with their owners.
        if (!pBar->m_hWnd && hFrame && pBar->m_hWndTidyFrame == hFrame)
            delete pBar;   // leaves the list in its destructor
    }
    if (m_parrAllocBars && m_parrAllocBars->GetSize() == 0)
        m_parrAllocBars.reset();
}

// ---- the three sizes ------------------------------------------------------------------------------------------------

CSize COXSizeControlBar::CalcFixedLayout(BOOL /*bStretch*/, BOOL bHorz)
{
    if (IsFloating())
        return m_sizeFloat;
    return bHorz ? m_sizeHorzDock : m_sizeVertDock;
}

// ---- styles and state -----------------------------------------------------------------------------------------------

void COXSizeControlBar::SetSizeDockStyle(DWORD dwStyle)
{
    m_dwSizeDockStyle = dwStyle;
    if (m_hWnd)
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void COXSizeControlBar::SetMaximized(BOOL bMaximized)
{
    bMaximized = bMaximized ? TRUE : FALSE;
    if (m_bMaximized == bMaximized)
        return;
    m_bMaximized = bMaximized;
    RedrawButton(btnResize);
}

void COXSizeControlBar::SetClientBorder(BOOL bClientBorder)
{
    m_bClientBorder = bClientBorder ? TRUE : FALSE;
    if (m_hWnd)
        SendMessage(WM_NCPAINT, 1);
}

BOOL COXSizeControlBar::IsProbablyFloating() const { return !m_pDockBar || (m_dwStyle & CBRS_FLOATING) != 0; }

COXDockTabCtrl* COXSizeControlBar::GetDockTabCtrl() const
{
    COXSizeDockBar* pDock = OXAsSizeDockBar(m_pDockBar);
    if (!pDock || !pDock->m_wndDockTabCtrl.m_hWnd)
        return nullptr;
    return pDock->m_wndDockTabCtrl.FindTab(const_cast<COXSizeControlBar*>(this)) != -1 ? &pDock->m_wndDockTabCtrl
                                                                                       : nullptr;
}

BOOL COXSizeControlBar::CanResize() const
{
    COXSizeDockBar* pDock = OXAsSizeDockBar(m_pDockBar);
    if (!pDock || !m_hWnd)
        return FALSE;
    if (pDock->m_wndDockTabCtrl.m_hWnd && pDock->m_wndDockTabCtrl.GetItemCount() > 0)
        return FALSE;
    CRect rect;
    GetWindowRect(&rect);
    return pDock->BarsOnThisRow(const_cast<COXSizeControlBar*>(this), rect) > 0;
}

// ---- painting ---------------------------------------------------------------------------------------------------------

COXDockbarSkin* COXSizeControlBar::GetDockbarSkin() { return m_skin.Get(); }

void COXSizeControlBar::RecalcLayout()
{
    if (m_hWnd)
        GetDockbarSkin()->RecalcLayout(this);
}

void COXSizeControlBar::EraseNonClient()
{
    if (!m_hWnd)
        return;
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    CRect rectClient;
    GetClientRect(&rectClient);
    ClientToScreen(&rectClient);
    rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);

    CWindowDC dc(this);
    dc.ExcludeClipRect(&rectClient);
    COXDockbarSkin* pSkin = GetDockbarSkin();
    pSkin->DrawNonClientArea(&dc, &rectWindow, this);
    RecalcLayout();
    if (IsGripper())
        DrawGripper(&dc);
    if (IsCloseBtn())
        DrawCloseBtn(&dc);
    if (IsResizeBtn())
        DrawResizeBtn(&dc);
    if (m_bClientBorder) {
        CRect rectBorder = rectClient;
        rectBorder.InflateRect(1, 1);
        CBrush brush(pSkin->GetClientBorderColor());
        dc.FrameRect(&rectBorder, &brush);
    }
}

void COXSizeControlBar::OnSizedOrDocked(int /*cx*/, int /*cy*/, BOOL /*bFloating*/, int /*flags*/) {}

void COXSizeControlBar::DrawGripper(CDC* pDC)
{
    if (pDC)
        GetDockbarSkin()->DrawGripper(pDC, this);
}

void COXSizeControlBar::DrawCloseBtn(CDC* pDC)
{
    if (pDC)
        GetDockbarSkin()->DrawCloseButton(pDC, this);
}

void COXSizeControlBar::DrawResizeBtn(CDC* pDC)
{
    if (pDC)
        GetDockbarSkin()->DrawResizeButton(pDC, this);
}

void COXSizeControlBar::RedrawButton(int nButton)
{
    if (!m_hWnd || !::IsWindowVisible(m_hWnd))
        return;
    if (nButton == btnClose && !IsCloseBtn())
        return;
    if (nButton == btnResize && !IsResizeBtn())
        return;
    if (nButton != btnClose && nButton != btnResize)
        return;
    CWindowDC dc(this);
    if (nButton == btnClose)
        DrawCloseBtn(&dc);
    else
        DrawResizeBtn(&dc);
}

void COXSizeControlBar::OnNcPaint() { EraseNonClient(); }

void COXSizeControlBar::OnPaint()
{
    // The client area belongs to the bar's children; painting only validates it.
    CPaintDC dc(this);
}

BOOL COXSizeControlBar::OnEraseBkgnd(CDC* pDC)
{
    if (!pDC)
        return FALSE;
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

void COXSizeControlBar::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    CControlBar::OnNcCalcSize(bCalcValidRects, lpncsp);
    if (lpncsp)
        GetDockbarSkin()->OnNcCalcSize(bCalcValidRects, lpncsp, this);
}

LRESULT COXSizeControlBar::OnNcHitTest(CPoint point)
{
    // A docked bar takes its gripper and buttons as client clicks.
    if (!(m_dwStyle & CBRS_FLOATING)) {
        CRect rect;
        GetWindowRect(&rect);
        if (rect.PtInRect(point))
            return HTCLIENT;
    }
    return CControlBar::OnNcHitTest(point);
}

BOOL COXSizeControlBar::OnSetCursor(CWnd* pWnd, UINT /*nHitTest*/, UINT /*message*/)
{
    if (pWnd != this)
        return FALSE;
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    return TRUE;
}

void COXSizeControlBar::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    CControlBar::OnWindowPosChanged(lpwndpos);
    CRect rect, client;
    GetWindowRect(&rect);
    GetClientRect(&client);
    const int cx = rect.Width(), cy = rect.Height();
    const int nFloating = IsProbablyFloating() ? 1 : 0;
    // A frame change alone (another skin's gripper band) resizes the client area too: the
    // bar's contents must be laid out again as for a new size.
    const bool resized = cx != m_nLastWidth || cy != m_nLastHeight || client.Size() != m_sizeLastClient;
    const int flags = (resized ? 1 : 0) | (nFloating != m_nLastFloating ? 2 : 0);
    if (flags != 0) {
        m_nLastWidth = cx;
        m_nLastHeight = cy;
        m_sizeLastClient = client.Size();
        m_nLastFloating = nFloating;
        OnSizedOrDocked(cx, cy, nFloating, flags);
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    RecalcLayout();
    if (m_bMaximized) {
        m_bMaximized = FALSE;
        RedrawButton(btnResize);
    }
}

void COXSizeControlBar::OnSysCommand(UINT nID, LPARAM lParam) { CControlBar::OnSysCommand(nID, lParam); }

// ---- the frame and the active state -----------------------------------------------------------------------------

CFrameWnd* COXSizeControlBar::GetOwningFrame() const
{
    if (m_pDockSite && m_pDockSite->m_hWnd)
        return m_pDockSite;
    return GetTopLevelFrame();
}

LRESULT COXSizeControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        COXDockingSeam& seam = OXGetDockingSeam();
        CFrameWnd* pFrame = IsFloating() ? GetTopLevelFrame() : GetParentFrame();
        if (COXMDIFrameWndSizeDock* pMDI = pFrame ? seam.AsMDIFrameWndSizeDock(pFrame) : nullptr;
            pMDI && seam.GetActiveSizeBar(pMDI) == this)
            seam.SetActiveSizeBar(pMDI, nullptr);
    } else if (message == WM_COMMAND) {
        // The context menu's commands are the bar's own before its owner's.
        if (OnCommand(wParam, lParam))
            return 1;
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}

void COXSizeControlBar::OnUpdateCmdUI(CFrameWnd* /*pTarget*/, BOOL /*bDisableIfNoHndler*/)
{
    CWnd* pFocus = CWnd::GetFocus();
    const BOOL bActive = pFocus && (pFocus == this || IsChild(pFocus));
    if (bActive != m_bActive)
        SetActive(bActive, FALSE);
}

// ---- the hover hook ---------------------------------------------------------------------------------------------------

LRESULT COXSizeControlBar::MouseProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (const HWND hLeft = m_mouseHook.Track(nCode, wParam, lParam)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hLeft);
        if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(COXSizeControlBar))) {
            auto* pBar = static_cast<COXSizeControlBar*>(pWnd);
            pBar->RedrawButton(btnClose);
            pBar->RedrawButton(btnResize);
        }
    }
    return m_mouseHook.CallNext(nCode, wParam, lParam);
}
