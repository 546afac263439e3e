#include "frames/main_frame_state.h"

#include "platform/afx/ctrlbar.h"
#include "platform/afx/dockstate.h"
#include "platform/afx/frame.h"
#include "platform/afx/winapp.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winpos.h"
#include "platform/user/winuser.h"

namespace zyn::frames {

namespace {

// The work area's origin: SetWindowPlacement takes workspace coordinates, the profile
// keeps screen ones.
POINT WorkOrigin()
{
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return POINT{work.left, work.top};
}

// Whether the record's bar exists in the frame as the same kind of bar (a floating dock
// bar is made anew, so it always does). The bars a dock bar's list names have records of
// their own; bars without one (the menu bar) are left to the dock bar.
bool RecordFindsItsBar(CFrameWnd& frame, const CControlBarInfo& info)
{
    if (info.m_bDockBar && info.m_bFloating)
        return true;
    CControlBar* pBar = frame.GetControlBar(info.m_nBarID);
    return pBar && (pBar->IsDockBar() != FALSE) == (info.m_bDockBar != FALSE);
}

} // namespace

void SaveWindowPlacement(CFrameWnd& frame)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !frame.m_hWnd)
        return;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (!::GetWindowPlacement(frame.m_hWnd, &wp))
        return;
    const RECT& rc = wp.rcNormalPosition;
    pApp->WriteProfileInt(kPlacementSection, L"Left", rc.left);
    pApp->WriteProfileInt(kPlacementSection, L"Top", rc.top);
    pApp->WriteProfileInt(kPlacementSection, L"Right", rc.right);
    pApp->WriteProfileInt(kPlacementSection, L"Bottom", rc.bottom);
    pApp->WriteProfileInt(kPlacementSection, L"Maximize", wp.showCmd != SW_SHOWNORMAL ? 1 : 0);
}

void RestoreWindowPlacement(CFrameWnd& frame)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    const int left = static_cast<int>(pApp->GetProfileInt(kPlacementSection, L"Left", -1));
    if (left == -1) {
        pApp->m_nCmdShow = SW_SHOWMAXIMIZED;
        return;
    }
    const int top = static_cast<int>(pApp->GetProfileInt(kPlacementSection, L"Top", 0));
    const int right = static_cast<int>(pApp->GetProfileInt(kPlacementSection, L"Right", 200));
    const int bottom = static_cast<int>(pApp->GetProfileInt(kPlacementSection, L"Bottom", 200));
    const bool maximize = pApp->GetProfileInt(kPlacementSection, L"Maximize", 1) != 0;
    pApp->m_nCmdShow = maximize ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    // An empty or inverted rectangle (a damaged profile) would leave a window nobody can
    // see or grab: the frame keeps the place it has.
    if (right <= left || bottom <= top || !frame.m_hWnd)
        return;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (!::GetWindowPlacement(frame.m_hWnd, &wp))
        return;
    const POINT origin = WorkOrigin();
    wp.rcNormalPosition = RECT{left - origin.x, top - origin.y, right - origin.x, bottom - origin.y};
    // The window system keeps a top-level rectangle on a monitor: one saved on a monitor
    // that is gone lands on the nearest work area.
    ::SetWindowPlacement(frame.m_hWnd, &wp);
}

BOOL ApplyDockState(CFrameWnd& frame, const CDockState& state)
{
    for (INT_PTR i = 0; i < state.m_arrBarInfo.GetSize(); ++i) {
        const auto* pInfo = static_cast<const CControlBarInfo*>(state.m_arrBarInfo[i]);
        if (pInfo && !RecordFindsItsBar(frame, *pInfo))
            return FALSE;   // a bar of the layout is gone: the defaults stay, nothing is made
    }
    frame.CFrameWnd::SetDockState(state);
    return TRUE;
}

BOOL LoadBarState(CFrameWnd& frame, LPCWSTR lpszProfileName)
{
    CDockState state;
    if (!state.LoadState(lpszProfileName))
        return FALSE;
    return ApplyDockState(frame, state);
}

} // namespace zyn::frames
