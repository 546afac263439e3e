// COXCoolToolBar: the non-client area (its size and painting, the icon, the room derived
// bars book there), the client painting and erasing through the toolbar skin, and what the
// bar does when its place or the system settings change.
#include <algorithm>

#include "platform/afx/winthread.h"
#include "platform/base/lasterror.h"
#include "platform/user/msgqueue.h"
#include "platform/user/winpos.h"
#include "platform/afx/dockcont.h"
#include "platform/afx/window_dc.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "toolkit/menus/cool_toolbar.h"
#include "toolkit/skins/toolbar_skin.h"

namespace {

// Applies the room a bar booked (its left, top, right and bottom) to a rectangle.
void ApplyBooked(RECT& rc, const CRect& booked)
{
    rc.left += booked.left;
    rc.top += booked.top;
    rc.right -= booked.right;
    rc.bottom -= booked.bottom;
    rc.right = std::max(rc.left, rc.right);
    rc.bottom = std::max(rc.top, rc.bottom);
}

} // namespace

// ---- sizes -----------------------------------------------------------------------------------------------------------

void COXCoolToolBar::CalcInsideRect(CRect& rect, BOOL bHorz) const
{
    CControlBar::CalcInsideRect(rect, bHorz);
    if (m_hIcon) {
        if (bHorz)
            rect.left += ::GetSystemMetrics(SM_CXSMICON) + 2;
        else
            rect.top += ::GetSystemMetrics(SM_CYSMICON) + 2;
    }
    CRect booked(0, 0, 0, 0);
    const_cast<COXCoolToolBar*>(this)->BookSpace(booked, bHorz ? LM_HORZ : 0);
    rect.left += booked.left;
    rect.top += booked.top;
    rect.right -= booked.right;
    rect.bottom -= booked.bottom;
}

void COXCoolToolBar::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    if (!lpncsp)
        return;
    const bool horz = (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0;
    RECT& rc = lpncsp->rgrc[0];
    if (!IsCool()) {
        CToolBar::OnNcCalcSize(bCalcValidRects, lpncsp);
    } else {
        Default();
        // The control's flat look keeps two pixels free along the bar.
        if (GetStyle() & TBSTYLE_FLAT) {
            if (horz) {
                rc.top += 2;
                rc.bottom += 2;
            } else {
                rc.left += 2;
                rc.right += 2;
            }
        }
    }
    if (m_hIcon) {
        if (horz)
            rc.left += ::GetSystemMetrics(SM_CXSMICON) + 2;
        else
            rc.top += ::GetSystemMetrics(SM_CYSMICON) + 2;
    }
    CRect booked(0, 0, 0, 0);
    BookSpace(booked, horz ? LM_HORZ : 0);
    ApplyBooked(rc, booked);
}

void COXCoolToolBar::BookSpace(CRect& /*rect*/, DWORD /*dwMode*/) {}

void COXCoolToolBar::DrawInBookedSpace(CDC& /*dc*/, CRect& /*rect*/) {}

// ---- painting ------------------------------------------------------------------------------------------------------

BOOL COXCoolToolBar::OnNcCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (IsCool())
        return static_cast<BOOL>(Default());
    return CWnd::OnNcCreate(lpCreateStruct);
}

void COXCoolToolBar::OnNcPaint()
{
    if (m_bDelayedButtonLayout)
        Layout();
    CWindowDC dc(this);
    CRect rectClient, rectWindow;
    GetClientRect(&rectClient);
    ClientToScreen(&rectClient);
    GetWindowRect(&rectWindow);
    rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    dc.ExcludeClipRect(rectClient.left, rectClient.top, rectClient.right, rectClient.bottom);
    GetToolbarSkin()->DrawNonClientArea(&dc, &rectWindow, this);
    if (IsCool())
        Default();
    else if ((GetStyle() & TBSTYLE_FLAT) && (m_dwStyle & CBRS_GRIPPER))
        DrawGripper(dc, rectWindow);
    if (m_hIcon)
        DrawIcon(dc, rectWindow);
    DrawInBookedSpace(dc, rectWindow);
}

void COXCoolToolBar::OnPaint()
{
    if (HasComCtl471()) {
        CToolBar::OnPaint();
        return;
    }
    // Older controls paint a docked, non-flat bar badly from the default procedure alone.
    if (IsCool() || (!IsFloating() && IsFlat())) {
        Default();
        return;
    }
    if (!IsFloating()) {
        CRect update;
        GetUpdateRect(&update);
        Default();
        InvalidateRect(&update);
    }
    CToolBar::OnPaint();
}

BOOL COXCoolToolBar::OnEraseBkgnd(CDC* pDC)
{
    if (GetToolbarSkin()->CallOnEraseBkgnd() == 1)
        return CToolBar::OnEraseBkgnd(pDC);
    return FALSE;
}

void COXCoolToolBar::EraseNonClient()
{
    CWindowDC dc(this);
    CRect rectClient, rectWindow;
    GetClientRect(&rectClient);
    ClientToScreen(&rectClient);
    GetWindowRect(&rectWindow);
    rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    if (!IsCool()) {
        DrawBorders(&dc, rectWindow);
        if (!(m_dwStyle & CBRS_BORDER_3D))
            rectWindow.InflateRect(1, 1);
    }
    dc.IntersectClipRect(rectWindow.left, rectWindow.top, rectWindow.right, rectWindow.bottom);
    dc.ExcludeClipRect(rectClient.left, rectClient.top, rectClient.right, rectClient.bottom);
    SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
}

void COXCoolToolBar::DrawBorders(CDC* pDC, CRect& rect) { CControlBar::DrawBorders(pDC, rect); }

void COXCoolToolBar::DrawGripper(CDC& dc, CRect& rect) { GetToolbarSkin()->DrawGripper(&dc, &rect, this); }

void COXCoolToolBar::DrawSeparator(CDC& dc, CRect& rect) { GetToolbarSkin()->DrawSeparator(&dc, &rect, this); }

void COXCoolToolBar::DrawCustomizedButton(CDC& dc, CRect& rect)
{
    GetToolbarSkin()->DrawCustomizedButton(&dc, &rect, this);
}

void COXCoolToolBar::DrawIcon(CDC& dc, CRect& rect)
{
    if (!m_hIcon)
        return;
    const int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
    const bool docked = m_pDockBar != nullptr && !IsFloating();
    m_rectIcon = rect;
    if (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) {
        // Along a horizontal bar the icon leads at the left.
        if (rect.left == 0 && docked) {
            m_rectIcon.left = rect.left + 10;
            m_rectIcon.top = (rect.Height() - cy) / 2;
        } else {
            m_rectIcon.left = rect.left + 3;
            m_rectIcon.top = 3;
        }
        m_rectIcon.right = m_rectIcon.left + cx;
        m_rectIcon.bottom = m_rectIcon.top + cy;
        rect.left = m_rectIcon.right + 1;
    } else {
        m_rectIcon.top = (rect.top == 0 && docked) ? rect.top + 10 : rect.top + 3;
        m_rectIcon.left = (rect.Width() - cx) / 2;
        m_rectIcon.right = m_rectIcon.left + cx;
        m_rectIcon.bottom = m_rectIcon.top + cy;
        rect.top = m_rectIcon.bottom + 1;
    }
    ::DrawIconEx(dc.GetSafeHdc(), m_rectIcon.left, m_rectIcon.top, m_hIcon, cx, cy, 0, nullptr, DI_NORMAL);
}

// ---- place and settings --------------------------------------------------------------------------------------

void COXCoolToolBar::OnWindowPosChanging(WINDOWPOS* lpWndPos)
{
    if (IsCool())
        Default();
    else
        CToolBar::OnWindowPosChanging(lpWndPos);
}

void COXCoolToolBar::OnWindowPosChanged(WINDOWPOS* lpWndPos)
{
    if (m_pDockContext)
        m_pDockContext->m_bDragging = FALSE;
    CWnd::OnWindowPosChanged(lpWndPos);
    if (!m_hWnd)
        return;
    const BOOL floating = IsFloating() ? TRUE : FALSE;
    if (floating != m_nFloatingCache) {
        m_nFloatingCache = floating;
        OnFloatingDocking(floating);
    } else if ((m_dwStyle & CBRS_ALIGN_ANY) != m_dwDockSideCache) {
        m_dwDockSideCache = m_dwStyle & CBRS_ALIGN_ANY;
        OnChangeDockSide(m_dwDockSideCache);
    }
    if (!m_hWnd)
        return;
    DelayUpdateCustomButtons();
    SendMessage(WM_NCPAINT, 1, 0);
}

void COXCoolToolBar::OnFloatingDocking(BOOL /*bFloating*/)
{
    if (HasCustomButtons())
        RedrawToolBar(TRUE, TRUE);
}

void COXCoolToolBar::OnChangeDockSide(DWORD /*dwDockSide*/)
{
    if (HasCustomButtons())
        DelayRedrawToolBar();
}

void COXCoolToolBar::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    m_nDropDownArrowWidth = MeasureDropDownArrowWidth();
    RedrawToolBar(TRUE, FALSE);
    CToolBar::OnSettingChange(uFlags, lpszSection);
}
