#include "toolkit/menus/cool_scrollbar.h"

#include "platform/afx/window_dc.h"
#include "platform/user/winuser.h"

BEGIN_MESSAGE_MAP(COXCoolScrollBar, COXCoolCtrl<CScrollBar>)
    ON_WM_PAINT()
END_MESSAGE_MAP()

LRESULT COXCoolScrollBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCPAINT)
        return DefWindowProc(message, wParam, lParam);
    return COXCoolCtrl<CScrollBar>::WindowProc(message, wParam, lParam);
}

void COXCoolScrollBar::OnChangeHotState(BOOL bInHotState)
{
    COXCoolCtrl<CScrollBar>::OnChangeHotState(bInHotState);
    if (m_hWnd)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void COXCoolScrollBar::OnPaint()
{
    Default();
    if (!IsInCoolState() || IsInHotState())
        return;
    CClientDC dc(this);
    CRect client;
    GetClientRect(&client);
    DrawScrollBar(&dc, client, (GetStyle() & SBS_VERT) ? FALSE : TRUE);
}
