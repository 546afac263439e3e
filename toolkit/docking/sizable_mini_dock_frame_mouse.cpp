// COXSizableMiniDockFrameWnd's caption and borders: the caption drag (outline or live),
// sizing, the skin's close button and the system menu.
#include "platform/afx/dockcont.h"
#include "platform/afx/menu.h"
#include "platform/gdi/icon.h"
#include "platform/user/input.h"
#include "platform/user/menu.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "platform/user/popup_menu.h"
#include "toolkit/docking/dock_seams.h"
#include "toolkit/docking/dock_util.h"
#include "toolkit/docking/sizable_mini_dock_frame.h"
#include "toolkit/docking/size_control_bar.h"

namespace {

// Width of the strip at the frame's left edge, down to the client area, over which a
// press on the system-menu box does not close the menu it opens.
constexpr int kSysMenuBoxWidth = 12;

bool IsSizingHit(UINT nHitTest) { return nHitTest >= HTSIZEFIRST && nHitTest <= HTSIZELAST; }

BOOL HasSystemMenuItems(HWND hWnd)
{
    const HMENU hSysMenu = ::GetSystemMenu(hWnd, FALSE);
    return hSysMenu && ::GetMenuItemCount(hSysMenu) > 0;
}

} // namespace

void COXSizableMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    const ContainedBarType type = GetContainedBarType();
    if (type == barTypeSizeBar) {
        if (IsSizingHit(nHitTest)) {
            ActivateTopParent();
            Default();   // the system sizes the frame; OnSize takes the new size
            return;
        }
        if (nHitTest == HTSYSMENU) {
            CPoint origin(0, 0);
            ClientToScreen(&origin);
            CRect rectWindow;
            GetWindowRect(&rectWindow);
            const CRect exclude(rectWindow.left, rectWindow.top, rectWindow.left + kSysMenuBoxWidth, origin.y);
            TrackSystemMenu(origin, &exclude);
            return;
        }
    }

    if (nHitTest == HTCLOSE) {
        if (!GetMiniFrameSkin()->DrawCaptionButtons(this)) {
            CMiniDockFrameWnd::OnNcLButtonDown(nHitTest, point);   // the system's button
            return;
        }
        if (HasSystemMenuItems(m_hWnd))
            return;   // the skin's button closes on the release
        nHitTest = HTCAPTION;   // no close button is shown: the caption
    }

    if (nHitTest == HTCAPTION) {
        ActivateTopParent();
        if (m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI) {
            Default();
            return;
        }
        if (!OXIsSnappingOn()) {
            CMiniDockFrameWnd::OnNcLButtonDown(nHitTest, point);   // the outline drag
            return;
        }
        // Live docking: the bar takes the mouse and its own moves carry it.
        CControlBar* pBar = GetFirstLiveBar();
        const bool sizeBar = pBar && pBar->IsKindOf(RUNTIME_CLASS(COXSizeControlBar));
        if (!sizeBar && !(pBar && OXIsCoolToolBar(pBar))) {
            Default();
            return;
        }
        CPoint offset = point;
        pBar->ScreenToClient(&offset);
        CRect rectBar, rectFrame;
        pBar->GetWindowRect(&rectBar);
        GetWindowRect(&rectFrame);
        offset.Offset(rectBar.left - rectFrame.left, rectBar.top - rectFrame.top);
        COXDockingSeam& seam = OXGetDockingSeam();
        if (sizeBar)
            static_cast<COXSizeControlBar*>(pBar)->SaveMouseOffset(offset);
        else
            seam.SaveCoolToolBarMouseOffset(pBar, offset);
        pBar->SetCapture();
        if (sizeBar)
            static_cast<COXSizeControlBar*>(pBar)->m_bDragging = TRUE;
        else
            seam.SetCoolToolBarDragging(pBar, TRUE);
        ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEALL));
        return;
    }

    if (!IsSizingHit(nHitTest)) {
        Default();
        return;
    }
    // A border of a frame holding another kind of bar: the bar resizes through its context.
    ActivateTopParent();
    CControlBar* pBar = GetFirstLiveBar();
    if (pBar && pBar->m_pDockContext) {
        pBar->m_pDockContext->StartResize(static_cast<int>(nHitTest), point);
        return;
    }
    Default();
}

void COXSizableMiniDockFrameWnd::OnNcLButtonUp(UINT nHitTest, CPoint /*point*/)
{
    if (nHitTest == HTCLOSE && HasSystemMenuItems(m_hWnd)) {
        SendMessage(WM_SYSCOMMAND, SC_CLOSE);
        return;
    }
    Default();
}

void COXSizableMiniDockFrameWnd::OnNcRButtonDown(UINT /*nHitTest*/, CPoint point) { TrackSystemMenu(point, nullptr); }

void COXSizableMiniDockFrameWnd::TrackSystemMenu(CPoint point, const RECT* pExclude)
{
    const HMENU hSysMenu = ::GetSystemMenu(m_hWnd, FALSE);
    if (!hSysMenu)
        return;
    TPMPARAMS params{};
    params.cbSize = sizeof params;
    if (pExclude)
        params.rcExclude = *pExclude;
    const HWND hWnd = m_hWnd;
    const UINT nCmd = static_cast<UINT>(
        ::TrackPopupMenuEx(hSysMenu, TPM_RETURNCMD, point.x, point.y, hWnd, pExclude ? &params : nullptr));
    if (nCmd != 0 && ::IsWindow(hWnd))
        SendMessage(WM_SYSCOMMAND, nCmd);
}
