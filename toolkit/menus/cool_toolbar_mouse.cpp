// COXCoolToolBar and the mouse: presses that select buttons in advanced customisation, the
// context menu on a right release, and dragging the whole bar on frames that ask for it
// (the main window answers message 0x045C with a non-zero value).
#include "platform/afx/winthread.h"
#include "platform/base/lasterror.h"
#include "platform/user/msgqueue.h"
#include "platform/user/winpos.h"
#include "platform/afx/frame.h"
#include "platform/gdi/icon.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/vkeys.h"
#include "platform/user/window.h"
#include "toolkit/menus/cool_toolbar.h"
#include "toolkit/menus/cool_toolbar_seams.h"

namespace {

// Asked of the main window: whether its bars may be dragged live (snapping frames).
constexpr UINT kWmQueryBarSnapping = 0x045C;

bool InAdvancedMode(const COXCoolToolBar& bar)
{
    return bar.IsInAdvancedCustomizationMode() && bar.IsCustomizable(TRUE);
}

} // namespace

int COXCoolToolBar::CustomizeHitTest(CPoint point) const
{
    POINT pt = point;
    const int hit = HitTest(&pt);
    const int nCount = m_hWnd ? static_cast<int>(SendMessage(TB_BUTTONCOUNT, 0, 0)) : 0;
    if (hit >= 0 && hit < nCount)
        return hit;
    // A negative answer names a separator (or the nearest button): only a custom
    // button's separator is selectable.
    const int sep = -hit - 1;
    return IsCustomButton(sep) ? sep : -1;
}

void COXCoolToolBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (InAdvancedMode(*this)) {
        const int hit = CustomizeHitTest(point);
        SetCustomizedButton(hit);
        if (!m_hWnd)
            return;
        Default();
        // Selecting is not pressing: the control lets go of the button and the mouse, so
        // no command follows and the mouse is free for the next click.
        if (m_hWnd && (::GetCapture() == m_hWnd))
            DefWindowProc(WM_CANCELMODE, 0, 0);
        if (m_hWnd && hit >= 0 && !IsCustomButton(hit)) {
            const UINT nID = GetItemID(hit);
            const auto state = static_cast<BYTE>(DefWindowProc(TB_GETSTATE, nID, 0));
            if (state & TBSTATE_PRESSED)
                DefWindowProc(TB_SETSTATE, nID, MAKELPARAM(state & ~TBSTATE_PRESSED, 0));
        }
        return;
    }
    POINT pt = point;
    if (!m_bFloatingEnabled && HitTest(&pt) < 0)
        return;
    CWnd* pMain = AfxGetMainWnd();
    const LRESULT snapping = pMain && pMain->m_hWnd ? pMain->SendMessage(kWmQueryBarSnapping, 0, 0) : 0;
    if (snapping == 0) {
        CControlBar::OnLButtonDown(nFlags, point);
        return;
    }
    if (m_pDockBar && !IsFloating() && OnToolHitTest(point, nullptr) == -1) {
        StartBarDrag(point);
        return;
    }
    Default();
}

void COXCoolToolBar::OnLButtonUp(UINT /*nFlags*/, CPoint /*point*/)
{
    if (m_bBarDragging) {
        EndBarDrag();
        return;
    }
    if (InAdvancedMode(*this))
        return;
    Default();
    if (m_hWnd)
        SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
}

void COXCoolToolBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (InAdvancedMode(*this))
        return;
    POINT pt = point;
    if (!m_bFloatingEnabled && HitTest(&pt) < 0)
        return;
    CControlBar::OnLButtonDblClk(nFlags, point);
}

void COXCoolToolBar::OnMButtonDown(UINT /*nFlags*/, CPoint point)
{
    if (InAdvancedMode(*this)) {
        SetCustomizedButton(CustomizeHitTest(point));
        return;
    }
    Default();
}

void COXCoolToolBar::OnRButtonDown(UINT /*nFlags*/, CPoint point)
{
    if (InAdvancedMode(*this)) {
        SetCustomizedButton(CustomizeHitTest(point));
        return;
    }
    Default();
}

void COXCoolToolBar::OnRButtonUp(UINT /*nFlags*/, CPoint point)
{
    if (InAdvancedMode(*this) && m_nCustomizedButton != -1) {
        CPoint screen = point;
        ClientToScreen(&screen);
        DisplayCustomizeButtonContextMenu(m_nCustomizedButton, screen);
        return;
    }
    Default();
}

void COXCoolToolBar::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bBarDragging) {
        ContinueBarDrag(nFlags, point);
        return;
    }
    if (InAdvancedMode(*this))
        return;
    Default();
}

// ---- dragging the whole bar ---------------------------------------------------------------------------------

void COXCoolToolBar::SaveMouseOffset(CPoint ptClient)
{
    if (!m_hWnd) {
        m_ptMouseOffset = ptClient;
        return;
    }
    // From client to window coordinates: where in the bar's window the cursor holds it.
    CPoint screen = ptClient;
    ClientToScreen(&screen);
    CRect window;
    GetWindowRect(&window);
    m_ptMouseOffset = CPoint(screen.x - window.left, screen.y - window.top);
}

BOOL COXCoolToolBar::StartBarDrag(CPoint point)
{
    SaveMouseOffset(point);
    m_bBarDragging = TRUE;
    SetCapture();
    ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEALL));
    return TRUE;
}

void COXCoolToolBar::EndBarDrag()
{
    const BOOL wasDragging = m_bBarDragging;
    m_bBarDragging = FALSE;
    if (wasDragging && m_hWnd && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

void COXCoolToolBar::ContinueBarDrag(UINT nFlags, CPoint point)
{
    if (!(nFlags & MK_LBUTTON)) {
        EndBarDrag();
        return;
    }
    CPoint screen = point;
    ClientToScreen(&screen);
    CRect rect;
    GetWindowRect(&rect);
    rect.OffsetRect(screen.x - rect.left, screen.y - rect.top);
    auto* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, AfxGetMainWnd());
    if (!pFrame) {
        EndBarDrag();
        return;
    }
    // The frame repaints what the moving bar uncovered before the bar moves again. A quit
    // request met here belongs to the application's loop: it goes back on the queue and
    // the drag ends.
    MSG msg;
    if (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        EndBarDrag();
        return;
    }
    for (int guard = 0; guard < 1000 && ::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++guard)
        ::DispatchMessageW(&msg);
    if (!m_hWnd)
        return;
    if (!m_pDockContext) {
        pFrame->FloatControlBar(this, screen, CBRS_ALIGN_TOP);
    } else {
        COXCoolBarDragSeam& seam = OXGetCoolBarDragSeam();
        CDockBar* pDockBar = seam.GetAppropriateDockBar(this, screen);
        if (!pDockBar || ::GetKeyState(VK_CONTROL) < 0)
            pFrame->FloatControlBar(this, screen - m_ptMouseOffset, CBRS_ALIGN_TOP);
        else
            seam.DockControlBar(this, pDockBar, rect);
    }
    // Moving into a floating frame or another dock bar hides and shows the window, which
    // lets go of the mouse: the drag holds it again, so the release still ends it.
    if (m_hWnd && m_bBarDragging && ::GetCapture() != m_hWnd)
        SetCapture();
}
