#include "frames/main_frame_state.h"

#include "platform/afx/ctrlbar.h"
#include "platform/afx/dockstate.h"
#include "platform/afx/frame.h"
#include "platform/afx/winapp.h"
#include "platform/suite/utility/logger.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/monitor.h"
#include "platform/user/winpos.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/frame_size_dock.h"

namespace zyn::frames {

namespace {

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

std::optional<RECT> CheckSavedWindowRect(const RECT& saved, LPCWSTR lpszSection, LPCWSTR lpszEntry)
{
    const auto inRange = [](int64_t v) { return v >= -kMaxSavedCoord && v <= kMaxSavedCoord; };
    const int64_t cx = int64_t{saved.right} - saved.left, cy = int64_t{saved.bottom} - saved.top;
    const wchar_t* why = nullptr;
    if (!inRange(saved.left) || !inRange(saved.top) || !inRange(saved.right) || !inRange(saved.bottom) ||
        !inRange(cx) || !inRange(cy))
        why = L"a coordinate or size lies beyond any screen";
    else if (cx <= 0 || cy <= 0)
        why = L"the rectangle is empty or turned inside out";
    if (why) {
        CLogger::LogRefusedProfileValue(lpszSection, lpszEntry, why);
        return std::nullopt;
    }
    return saved;
}

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
    // An empty, inverted or far-off rectangle (a damaged profile) would leave a window
    // nobody can see or grab: the frame keeps the place it has.
    const std::optional<RECT> saved =
        CheckSavedWindowRect(RECT{left, top, right, bottom}, kPlacementSection, L"Left, Top, Right, Bottom");
    if (!saved || !frame.m_hWnd)
        return;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (!::GetWindowPlacement(frame.m_hWnd, &wp))
        return;
    // The same coordinates as saved: the placement's own (relative to the work area).
    wp.rcNormalPosition = *saved;
    // The window system keeps a top-level rectangle on a monitor: one saved on a monitor
    // that is gone lands on the nearest work area.
    ::SetWindowPlacement(frame.m_hWnd, &wp);
    // The window may still have come out elsewhere than asked (a rectangle wider than the
    // frame may grow, cut back from its right edge): one that now lies on no monitor is
    // brought onto the nearest work area.
    CRect placed;
    frame.GetWindowRect(&placed);
    const CRect reachable = zyn::user::KeepOnMonitors(placed);
    if (reachable.TopLeft() != placed.TopLeft())
        frame.SetWindowPos(nullptr, reachable.left, reachable.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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

void SaveBarLayout(CFrameWnd& frame, LPCWSTR lpszProfileName)
{
    frame.SaveBarState(lpszProfileName);
    zyn::sizedock::SaveBarSizes(frame, lpszProfileName, TRUE);
}

BOOL LoadBarState(CFrameWnd& frame, LPCWSTR lpszProfileName)
{
    CDockState state;
    BOOL bApplied = state.LoadState(lpszProfileName);
    if (!bApplied) {
        if (!state.GetRefusedSection().IsEmpty())
            CLogger::LogRefusedProfileValue(state.GetRefusedSection(), state.GetRefusedEntry(),
                L"the bar layout is damaged; the bars keep their default places");
    } else if (!(bApplied = ApplyDockState(frame, state))) {
        CLogger::LogRefusedProfileValue(CString(lpszProfileName) + L"-Summary", L"",
            L"the bar layout names a bar the program no longer makes; the bars keep their default places");
    }
    zyn::sizedock::SaveBarSizes(frame, lpszProfileName, FALSE);
    return bApplied;
}

} // namespace zyn::frames
