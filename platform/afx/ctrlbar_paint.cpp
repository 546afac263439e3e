// CControlBar's painting: background, borders, gripper, the non-client area and the
// colours of its controls.
#include <algorithm>

#include "platform/afx/ctrlbar.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/window_dc.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"

void CControlBar::OnPaint()
{
    CPaintDC dc(this);
    DoPaint(&dc);
}

void CControlBar::DoPaint(CDC* pDC)
{
    if (!pDC)
        return;
    CRect rect;
    GetClientRect(&rect);
    DrawBorders(pDC, rect);
    DrawGripper(pDC, rect);
}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect)
{
    const DWORD dwStyle = m_dwStyle;
    if (!pDC || !(dwStyle & CBRS_BORDER_ANY))
        return;
    // Two lines a side: the shadow outside, then the highlight (3D) or the face colour.
    const COLORREF colours[2] = {::GetSysColor(COLOR_BTNSHADOW),
        ::GetSysColor((dwStyle & CBRS_BORDER_3D) ? COLOR_BTNHIGHLIGHT : COLOR_BTNFACE)};
    for (const COLORREF clr : colours) {
        if (dwStyle & CBRS_BORDER_TOP) {
            pDC->FillSolidRect(rect.left, rect.top, std::max(0, rect.Width()), 1, clr);
            ++rect.top;
        }
        if (dwStyle & CBRS_BORDER_BOTTOM) {
            pDC->FillSolidRect(rect.left, rect.bottom - 1, std::max(0, rect.Width()), 1, clr);
            --rect.bottom;
        }
        if (dwStyle & CBRS_BORDER_LEFT) {
            pDC->FillSolidRect(rect.left, rect.top, 1, std::max(0, rect.Height()), clr);
            ++rect.left;
        }
        if (dwStyle & CBRS_BORDER_RIGHT) {
            pDC->FillSolidRect(rect.right - 1, rect.top, 1, std::max(0, rect.Height()), clr);
            --rect.right;
        }
    }
}

void CControlBar::DrawGripper(CDC* pDC, const CRect& rect)
{
    if (!pDC || (m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) != CBRS_GRIPPER)
        return;
    const COLORREF hilite = ::GetSysColor(COLOR_BTNHIGHLIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
    if (m_dwStyle & CBRS_ORIENT_HORZ) {
        pDC->Draw3dRect(rect.left + AFX_CX_BORDER_GRIPPER, rect.top + m_cyTopBorder, AFX_CX_GRIPPER,
            std::max(0, rect.Height() - m_cyTopBorder - m_cyBottomBorder), hilite, shadow);
    } else {
        pDC->Draw3dRect(rect.left + m_cyTopBorder, rect.top + AFX_CY_BORDER_GRIPPER,
            std::max(0, rect.Width() - m_cyTopBorder - m_cyBottomBorder), AFX_CY_GRIPPER, hilite, shadow);
    }
}

void CControlBar::EraseNonClient()
{
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    CRect rectClient;
    GetClientRect(&rectClient);
    ClientToScreen(&rectClient);
    rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    if (rectClient == rectWindow)
        return;   // no non-client area
    CWindowDC dc(this);
    dc.ExcludeClipRect(&rectClient);
    DrawBorders(&dc, rectWindow);
    dc.FillSolidRect(&rectWindow, ::GetSysColor(COLOR_BTNFACE));
    DrawGripper(&dc, rectWindow);
}

void CControlBar::OnNcPaint() { EraseNonClient(); }

BOOL CControlBar::OnEraseBkgnd(CDC* pDC)
{
    if (!pDC)
        return FALSE;
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

HBRUSH CControlBar::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    // The control may colour itself (reflection); otherwise labels, buttons and the bar
    // itself sit on the bar's face colour.
    LRESULT lResult = 0;
    if (pWnd && pWnd->m_hWnd != m_hWnd && pWnd->SendChildNotifyLastMsg(&lResult))
        return reinterpret_cast<HBRUSH>(lResult);
    if (nCtlColor == CTLCOLOR_STATIC || nCtlColor == CTLCOLOR_BTN || nCtlColor == CTLCOLOR_DLG) {
        if (pDC) {
            pDC->SetBkColor(::GetSysColor(COLOR_BTNFACE));
            pDC->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
        }
        return ::GetSysColorBrush(COLOR_BTNFACE);
    }
    return reinterpret_cast<HBRUSH>(Default());
}
