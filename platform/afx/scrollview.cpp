// CScrollView: scroll sizes, the window's scroll bars, scrolling and the DC origin.
#include "platform/afx/scrollview.h"

#include <algorithm>

#include "platform/afx/gdi/dc.h"
#include "platform/afx/window_dc.h"
#include "platform/base/exception.h"
#include "platform/afx/frame.h"
#include "platform/afx/scrollbar.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/winuser.h"

IMPLEMENT_DYNAMIC(CScrollView, CView)

const SIZE CScrollView::sizeDefault = {0, 0};

BEGIN_MESSAGE_MAP(CScrollView, CView)
    ON_WM_SIZE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

CScrollView::CScrollView() = default;
CScrollView::~CScrollView() = default;

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage, const SIZE& sizeLine)
{
    if (nMapMode >= MM_LOMETRIC && nMapMode <= MM_TWIPS)
        AfxThrowNotSupportedException(L"scroll views draw in MM_TEXT only: the drawing layer has no scaling map modes");
    if (nMapMode != MM_TEXT || sizeTotal.cx < 0 || sizeTotal.cy < 0 || sizePage.cx < 0 || sizePage.cy < 0 ||
        sizeLine.cx < 0 || sizeLine.cy < 0)
        AfxThrowInvalidArgException();
    m_nMapMode = nMapMode;
    m_totalLog = sizeTotal;
    // In MM_TEXT logical units are device units.
    m_totalDev = sizeTotal;
    m_pageDev = sizePage;
    m_lineDev = sizeLine;
    if (m_hWnd)
        UpdateBars();
}

CPoint CScrollView::GetDeviceScrollPosition() const
{
    return CPoint(GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT));
}

CPoint CScrollView::GetScrollPosition() const { return GetDeviceScrollPosition(); }

void CScrollView::GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const
{
    nMapMode = m_nMapMode;
    sizeTotal = m_totalDev;
    sizePage = m_pageDev;
    sizeLine = m_lineDev;
}

void CScrollView::ScrollToPosition(POINT pt) { ScrollToDevicePosition(pt); }

void CScrollView::ScrollToDevicePosition(POINT ptDev)
{
    const int xLimit = GetScrollLimit(SB_HORZ), yLimit = GetScrollLimit(SB_VERT);
    const int x = std::clamp<int>(ptDev.x, 0, std::max(0, xLimit));
    const int y = std::clamp<int>(ptDev.y, 0, std::max(0, yLimit));
    const int xOld = GetScrollPos(SB_HORZ), yOld = GetScrollPos(SB_VERT);
    if (x == xOld && y == yOld)
        return;
    SetScrollPos(SB_HORZ, x);
    SetScrollPos(SB_VERT, y);
    ScrollWindow(xOld - x, yOld - y);
}

void CScrollView::UpdateBars()
{
    if (m_bInsideUpdate || m_nMapMode == 0 || !m_hWnd)
        return;
    m_bInsideUpdate = TRUE;
    // The client area with no bars shown.
    CRect rc;
    GetClientRect(&rc);
    CSize client(rc.Width(), rc.Height());
    const DWORD style = GetStyle();
    const int cxV = ::GetSystemMetrics(SM_CXVSCROLL), cyH = ::GetSystemMetrics(SM_CYHSCROLL);
    if (style & WS_VSCROLL)
        client.cx += cxV;
    if (style & WS_HSCROLL)
        client.cy += cyH;
    // A bar takes room that may make the other one needed.
    bool needH = m_totalDev.cx > client.cx, needV = m_totalDev.cy > client.cy;
    if (needH && !needV && m_totalDev.cy > client.cy - cyH)
        needV = true;
    if (needV && !needH && m_totalDev.cx > client.cx - cxV)
        needH = true;
    if (needV)
        client.cx -= cxV;
    if (needH)
        client.cy -= cyH;
    const CPoint pos = GetDeviceScrollPosition();
    const auto setBar = [this](int nBar, bool need, int total, int page, int& pos) {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_PAGE | SIF_RANGE | SIF_POS;
        if (need) {
            si.nMin = 0;
            si.nMax = total - 1;
            si.nPage = static_cast<UINT>(std::max(page, 0));
            pos = std::clamp(pos, 0, std::max(0, total - page));
            si.nPos = pos;
        } else {
            pos = 0;
        }
        SetScrollInfo(nBar, &si, TRUE);
        ShowScrollBar(static_cast<UINT>(nBar), need ? TRUE : FALSE);
    };
    int x = pos.x, y = pos.y;
    setBar(SB_HORZ, needH, m_totalDev.cx, client.cx, x);
    setBar(SB_VERT, needV, m_totalDev.cy, client.cy, y);
    // The content follows a position that had to move.
    if (x != pos.x || y != pos.y)
        ScrollWindow(pos.x - x, pos.y - y);
    m_bInsideUpdate = FALSE;
}

void CScrollView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    UpdateBars();
}

void CScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    if (!pDC || m_nMapMode == 0)
        return;
    pDC->SetMapMode(m_nMapMode);
    if (!pInfo) {   // printing draws the whole page
        const CPoint pt = GetDeviceScrollPosition();
        pDC->SetViewportOrg(-pt.x, -pt.y);
    }
    CView::OnPrepareDC(pDC, pInfo);
}

void CScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (pScrollBar && pScrollBar->m_hWnd) {
        CView::OnHScroll(nSBCode, nPos, pScrollBar);   // a scroll-bar control of its own
        return;
    }
    OnScroll(MAKEWORD(nSBCode, 0xFF), nPos);
}

void CScrollView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (pScrollBar && pScrollBar->m_hWnd) {
        CView::OnVScroll(nSBCode, nPos, pScrollBar);
        return;
    }
    OnScroll(MAKEWORD(0xFF, nSBCode), nPos);
}

BOOL CScrollView::OnMouseWheel(UINT /*nFlags*/, short zDelta, CPoint /*pt*/)
{
    if (!(GetStyle() & WS_VSCROLL))
        return FALSE;
    const int lines = -zDelta / 120 * 3;
    const int step = m_lineDev.cy ? m_lineDev.cy : std::max(1, m_pageDev.cy / 10);
    return OnScrollBy(CSize(0, lines * step), TRUE);
}

BOOL CScrollView::OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll)
{
    CRect rc;
    GetClientRect(&rc);
    const int pageX = m_pageDev.cx ? m_pageDev.cx : rc.Width();
    const int pageY = m_pageDev.cy ? m_pageDev.cy : rc.Height();
    const int lineX = m_lineDev.cx ? m_lineDev.cx : std::max(1, pageX / 10);
    const int lineY = m_lineDev.cy ? m_lineDev.cy : std::max(1, pageY / 10);
    const auto step = [](UINT code, UINT pos, int current, int line, int page, int limit) -> int {
        switch (code) {
        case SB_TOP: return 0;
        case SB_BOTTOM: return limit;
        case SB_LINEUP: return current - line;
        case SB_LINEDOWN: return current + line;
        case SB_PAGEUP: return current - page;
        case SB_PAGEDOWN: return current + page;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: return static_cast<int>(pos);
        default: return current;   // SB_ENDSCROLL, 0xFF
        }
    };
    const int x = GetScrollPos(SB_HORZ), y = GetScrollPos(SB_VERT);
    const int xNew = step(LOBYTE(nScrollCode), nPos, x, lineX, pageX, GetScrollLimit(SB_HORZ));
    const int yNew = step(HIBYTE(nScrollCode), nPos, y, lineY, pageY, GetScrollLimit(SB_VERT));
    return OnScrollBy(CSize(xNew - x, yNew - y), bDoScroll);
}

BOOL CScrollView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll)
{
    const DWORD style = GetStyle();
    if (!(style & WS_VSCROLL))
        sizeScroll.cy = 0;
    if (!(style & WS_HSCROLL))
        sizeScroll.cx = 0;
    const int x = GetScrollPos(SB_HORZ), y = GetScrollPos(SB_VERT);
    const int xNew = std::clamp(x + sizeScroll.cx, 0, std::max(0, GetScrollLimit(SB_HORZ)));
    const int yNew = std::clamp(y + sizeScroll.cy, 0, std::max(0, GetScrollLimit(SB_VERT)));
    if (xNew == x && yNew == y)
        return FALSE;
    if (bDoScroll) {
        ScrollWindow(x - xNew, y - yNew);
        if (xNew != x)
            SetScrollPos(SB_HORZ, xNew);
        if (yNew != y)
            SetScrollPos(SB_VERT, yNew);
    }
    return TRUE;
}

void CScrollView::ResizeParentToFit(BOOL bShrinkOnly)
{
    CFrameWnd* pFrame = GetParentFrame();
    if (!pFrame || m_nMapMode == 0)
        return;
    CRect rcView;
    GetWindowRect(&rcView);
    CRect rcFrame;
    pFrame->GetWindowRect(&rcFrame);
    CRect rc;
    GetClientRect(&rc);
    // The client area as it would be without the bars: once the page fits they go, and
    // their room is the page's too.
    const DWORD style = GetStyle();
    if (style & WS_VSCROLL)
        rc.right += ::GetSystemMetrics(SM_CXVSCROLL);
    if (style & WS_HSCROLL)
        rc.bottom += ::GetSystemMetrics(SM_CYHSCROLL);
    int dx = m_totalDev.cx - rc.Width(), dy = m_totalDev.cy - rc.Height();
    if (bShrinkOnly) {
        dx = std::min(dx, 0);
        dy = std::min(dy, 0);
    }
    pFrame->SetWindowPos(nullptr, 0, 0, rcFrame.Width() + dx, rcFrame.Height() + dy,
        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
