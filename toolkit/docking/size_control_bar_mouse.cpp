// COXSizeControlBar's mouse: the caption buttons, the live drag and the offset of the
// floating frame under the cursor.
#include <algorithm>
#include <cstdlib>

#include "platform/afx/dockcont.h"
#include "platform/afx/frame.h"
#include "platform/gdi/icon.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "toolkit/docking/dock_messages.h"
#include "toolkit/docking/dock_util.h"
#include "toolkit/docking/size_control_bar.h"
#include "toolkit/docking/size_dock_bar.h"

namespace {

// The smallest distance of the cursor from the floating frame's left edge, and the room
// kept right of it (the caption's close button).
constexpr int kOffsetMinX = 5;
constexpr int kOffsetRightRoom = 20;
// How far below the floating frame's top a bar dragged from its dock hangs.
constexpr int kOffsetDockedY = 10;

} // namespace

// ---- the caption buttons --------------------------------------------------------------------------------------------

void COXSizeControlBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!IsFloating() && m_pDockBar) {
        m_nPressedBtn = btnNone;
        if (IsGripper() && IsCloseBtn() && m_rectCloseBtn.PtInRect(point)) {
            SetCapture();
            m_nPressedBtn = btnClose;
            RedrawButton(btnClose);
            return;
        }
        if (IsGripper() && IsResizeBtn() && m_rectResizeBtn.PtInRect(point)) {
            // A resize button that cannot work now takes the press and does nothing.
            if (CanResize()) {
                SetCapture();
                m_nPressedBtn = btnResize;
                RedrawButton(btnResize);
            }
            return;
        }
        if (OXIsSnappingOn()) {
            // Live docking: the drag begins once the mouse has moved far enough.
            m_ptMouseDown = point;
            m_bDragPending = TRUE;
            return;
        }
    }
    CControlBar::OnLButtonDown(nFlags, point);
}

void COXSizeControlBar::OnLButtonUp(UINT /*nFlags*/, CPoint point)
{
    m_bDragPending = FALSE;
    if (m_bDragging) {
        EndLiveDrag();
        return;
    }
    const int nPressed = m_nPressedBtn;
    m_nPressedBtn = btnNone;
    RedrawButton(nPressed);
    if (GetCapture() != this) {
        Default();
        return;
    }
    ::ReleaseCapture();
    if (nPressed == btnClose && m_rectCloseBtn.PtInRect(point)) {
        ShowBar(FALSE);
    } else if (nPressed == btnResize && m_rectResizeBtn.PtInRect(point)) {
        if (COXSizeDockBar* pDock = OXAsSizeDockBar(m_pDockBar))
            pDock->ResizeBar(this, !m_bMaximized);
    }
}

void COXSizeControlBar::OnCaptureChanged(CWnd* pWnd)
{
    // The capture went elsewhere: a held button or a live drag has nothing to follow.
    if (pWnd != this) {
        m_bDragging = FALSE;
        if (m_nPressedBtn != btnNone) {
            const int nPressed = m_nPressedBtn;
            m_nPressedBtn = btnNone;
            RedrawButton(nPressed);
        }
    }
    Default();
}

void COXSizeControlBar::OnMouseMove(UINT nFlags, CPoint point)
{
    // A held button looks pressed only while the mouse is over it.
    if (!m_bDragging && GetCapture() == this) {
        int nHover = btnNone;
        if (m_rectCloseBtn.PtInRect(point) && IsCloseBtn())
            nHover = btnClose;
        else if (m_rectResizeBtn.PtInRect(point) && IsResizeBtn() && CanResize())
            nHover = btnResize;
        if (nHover != m_nPressedBtn)
            m_nPressedBtn = nHover;
    }
    if (!IsFloating() && IsGripper()) {
        RedrawButton(btnClose);
        RedrawButton(btnResize);
    }

    if (!m_bDragging && m_bDragPending && (nFlags & MK_LBUTTON)) {
        if (std::abs(point.x - m_ptMouseDown.x) >= 4 || std::abs(point.y - m_ptMouseDown.y) >= 4) {
            m_bDragPending = FALSE;
            SaveMouseOffset(point);
            m_bDragging = TRUE;
            SetCapture();
            ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEALL));
        }
        return;
    }
    if (m_bDragging) {
        CPoint pt = point;
        ClientToScreen(&pt);
        DragLive(pt, nFlags);
        return;
    }
    Default();
}

void COXSizeControlBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    // A double click on a caption button is a second click of that button, not a toggle.
    if (!IsFloating() && IsGripper() &&
        ((IsCloseBtn() && m_rectCloseBtn.PtInRect(point)) || (IsResizeBtn() && m_rectResizeBtn.PtInRect(point)))) {
        OnLButtonDown(nFlags, point);
        return;
    }
    if (m_pDockBar && OnToolHitTest(point, nullptr) == -1) {
        COXSizeDockBar* pDock = OXAsSizeDockBar(m_pDockBar);
        if (pDock && pDock->m_wndDockTabCtrl.m_hWnd && OXIsSnappingOn() &&
            pDock->m_wndDockTabCtrl.FindTab(this) != -1)
            pDock->m_wndDockTabCtrl.RemoveTab(this);
        if (m_pDockContext)
            m_pDockContext->ToggleDocking();
        return;
    }
    Default();
}

// ---- the live drag -----------------------------------------------------------------------------------------------------

void COXSizeControlBar::EndLiveDrag()
{
    m_bDragging = FALSE;
    if (m_hWnd && GetCapture() == this)
        ::ReleaseCapture();
}

BOOL COXSizeControlBar::DragLive(CPoint ptScreen, UINT nFlags)
{
    CFrameWnd* pFrame = OXGetMainFrame();
    if (!pFrame) {
        EndLiveDrag();
        return FALSE;
    }
    // Windows uncovered by the last step are painted before the bar moves on.
    if (!OXDispatchPendingPaints()) {
        EndLiveDrag();
        return FALSE;
    }
    if (!m_hWnd)
        return FALSE;
    // Moving the bar into a floating frame or a dock bar hides it for a moment, which
    // takes the capture from it: the drag goes on with the capture taken back.
    auto keepDragging = [this] {
        if (!m_hWnd)
            return FALSE;
        m_bDragging = TRUE;
        if (GetCapture() != this)
            SetCapture();
        return TRUE;
    };
    if (!m_pDockContext) {
        pFrame->FloatControlBar(this, ptScreen, CBRS_ALIGN_TOP);
        if (m_hWnd)
            SendMessage(WM_OX_BARFLOATED);
        return keepDragging();
    }
    COXSizeDockBar* pTarget = COXSizeDockBar::GetAppropriateDockBar(ptScreen, this);
    if (!pTarget || (nFlags & MK_CONTROL)) {
        if (COXSizeDockBar* pDock = OXAsSizeDockBar(m_pDockBar); pDock && pDock->m_wndDockTabCtrl.m_hWnd)
            pDock->m_wndDockTabCtrl.RemoveTab(this);
        pFrame->FloatControlBar(this, ptScreen - m_ptFloatMouseOffset, CBRS_ALIGN_TOP);
        if (m_hWnd)
            SendMessage(WM_OX_BARFLOATED);
        return keepDragging();
    }
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    const CRect rect(ptScreen, rectWindow.Size());
    pTarget->DockControlBar(this, &rect);
    return keepDragging();
}

void COXSizeControlBar::SaveMouseOffset(CPoint point)
{
    CRect r;
    GetWindowRect(&r);
    ScreenToClient(&r);
    const int cxFloat = m_sizeFloat.cx;
    const bool docked = !(m_dwStyle & CBRS_FLOATING);
    double x = 0;
    if ((m_dwStyle & CBRS_ORIENT_HORZ) && docked) {
        // The place along the vertical gripper maps onto the floating caption.
        if (r.bottom != r.top)
            x = double(r.bottom - point.y) * cxFloat / double(r.bottom - r.top);
    } else if (r.right != r.left) {
        x = double(point.x - r.left) * cxFloat / double(r.right - r.left);
    }
    // A zero extent (a bar squeezed to nothing) counts as the leading edge; a point far
    // outside the bar cannot overflow the conversion.
    int nX = static_cast<int>(std::clamp(x, -1.0e9, 1.0e9));
    nX = std::max(nX, kOffsetMinX);
    nX = std::min(nX, cxFloat - kOffsetRightRoom);
    const int nY = docked ? kOffsetDockedY : point.y - r.top;
    m_ptFloatMouseOffset = CPoint(nX, nY);
}
