#include "toolkit/menus/cool_spin.h"

#include "platform/afx/window_dc.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"
#include "toolkit/menus/cool_draw.h"
#include "toolkit/menus/cool_geometry.h"
#include "toolkit/menus/cool_windows.h"

namespace cool = zyn::toolkit::cool;

BEGIN_MESSAGE_MAP(COXCoolSpinButtonCtrl, COXCoolCtrl<CSpinButtonCtrl>)
    ON_WM_PAINT()
END_MESSAGE_MAP()

LRESULT COXCoolSpinButtonCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCPAINT)
        return DefWindowProc(message, wParam, lParam);
    return COXCoolCtrl<CSpinButtonCtrl>::WindowProc(message, wParam, lParam);
}

void COXCoolSpinButtonCtrl::OnChangeHotState(BOOL bInHotState)
{
    COXCoolCtrl<CSpinButtonCtrl>::OnChangeHotState(bInHotState);
    if (m_hWnd)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

BOOL COXCoolSpinButtonCtrl::IsAttached() const
{
    if (!m_hWnd || !(GetStyle() & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)))
        return FALSE;
    return cool::IsEditWindow(cool::SpinBuddyOf(m_hWnd));
}

void COXCoolSpinButtonCtrl::OnPaint()
{
    Default();
    if (!IsInCoolState())
        return;
    CClientDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    const DWORD style = GetStyle();
    const bool horizontal = (style & UDS_HORZ) != 0;

    if (IsAttached()) {
        const HWND hBuddy = cool::SpinBuddyOf(m_hWnd);
        CRect buddyClient;
        ::GetClientRect(hBuddy, &buddyClient);
        ::ClientToScreen(hBuddy, reinterpret_cast<POINT*>(&buddyClient.left));
        CRect buddyWindow;
        ::GetWindowRect(hBuddy, &buddyWindow);
        const int b = buddyClient.top - buddyWindow.top;
        rect.top += b;
        rect.bottom -= b;
        if (style & UDS_ALIGNRIGHT)
            rect.right -= b;
        else
            rect.left += b;
        if (CWnd* pBuddy = CWnd::FromHandlePermanent(hBuddy)) {
            // Only a cool edit has a hot state to read; any other buddy counts as cold.
            const auto* pCoolEdit = dynamic_cast<const COXCoolCtrl<CEdit>*>(pBuddy);
            const bool buddyHot = pCoolEdit && pCoolEdit->IsInHotState();
            CRect border = rect;
            border.InflateRect(b, b);
            if (!buddyHot && !m_bInHotState) {
                const COLORREF light = ::GetSysColor(COLOR_3DHILIGHT);
                dc.Draw3dRect(&border, light, light);
                border.DeflateRect(1, 1);
                const COLORREF inner = IsWindowEnabled() ? light : ::GetSysColor(COLOR_3DFACE);
                dc.Draw3dRect(&border, inner, inner);
            } else {
                cool::DrawSunken3dEdge(dc, border);
            }
        }
    }

    if (m_bInHotState)
        return;
    RECT first{};
    RECT second{};
    if (!cool::SplitSpinHalves(rect, horizontal, first, second))
        return;
    cool::DrawFlatRaisedEdge(dc, first);
    cool::DrawFlatRaisedEdge(dc, second);
}
