#include "toolkit/docking/dock_util.h"

#include "platform/afx/frame.h"
#include "platform/afx/winthread.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "toolkit/docking/dock_messages.h"
#include "toolkit/docking/size_dock_bar.h"

CFrameWnd* OXGetMainFrame()
{
    CWnd* pMain = AfxGetMainWnd();
    return pMain && pMain->m_hWnd && pMain->IsFrameWnd() ? static_cast<CFrameWnd*>(pMain) : nullptr;
}

BOOL OXIsSnappingOn()
{
    CWnd* pMain = AfxGetMainWnd();
    if (!pMain || !pMain->m_hWnd)
        return FALSE;
    return pMain->SendMessage(WM_OX_QUERYSNAPPING) != 0;
}

COXSizeDockBar* OXAsSizeDockBar(CControlBar* pBar)
{
    return pBar && pBar->IsKindOf(RUNTIME_CLASS(COXSizeDockBar)) ? static_cast<COXSizeDockBar*>(pBar) : nullptr;
}

BOOL OXDispatchPendingPaints()
{
    // A window whose painting never validates it would be offered again and again; the
    // pumping gives up after as many paints as a screen full of windows could want.
    constexpr int kMaxPaints = 4096;
    for (int i = 0; i < kMaxPaints; ++i) {
        MSG msg{};
        if (!::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            return TRUE;
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return FALSE;
        }
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}
