// The shortcut bar's layout: header rectangles, the expanded child window's rectangle,
// hit testing, the expansion animation and redrawing.
#include <algorithm>
#include <vector>

#include "platform/base/clock.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/shb_bar.h"
#include "toolkit/docking/shb_list.h"

void COXShortcutBar::CalculateBoundRects()
{
    m_rectChildWnd.SetRectEmpty();
    m_headerRects.clear();
    if (!m_hWnd || m_groups.empty())
        return;
    CRect client;
    ::GetClientRect(m_hWnd, &client);

    std::vector<HSHBGROUP> byOrder(m_groups.size());
    for (const auto& [h, info] : m_groups) {
        if (info->nOrder >= 0 && static_cast<size_t>(info->nOrder) < byOrder.size())
            byOrder[static_cast<size_t>(info->nOrder)] = h;
    }
    int top = client.top;
    int lastBottom = client.top;
    for (HSHBGROUP h : byOrder) {
        if (!h)
            continue;
        const CRect header(client.left, top, client.right, top + std::max(0, GetGroupHeaderHeight(h)));
        m_headerRects[h] = header;
        lastBottom = header.bottom;
        top = header.bottom + m_nGroupMargin;
    }
    if (lastBottom >= client.bottom || !m_hExpandedGroup || !m_headerRects.count(m_hExpandedGroup))
        return;
    // The free room goes to the expanded group's child window; the headers below it move
    // down by as much, so that they sit at the bottom of the bar.
    const int free = client.bottom - lastBottom;
    const CRect expanded = m_headerRects[m_hExpandedGroup];
    CRect child(client.left, expanded.bottom, client.right, expanded.bottom + free);
    child.left += m_rectChildWndMargins.left;
    child.top += m_rectChildWndMargins.top;
    child.right -= m_rectChildWndMargins.right;
    child.bottom -= m_rectChildWndMargins.bottom;
    if (child.left >= child.right || child.top >= child.bottom)
        child.SetRectEmpty();
    m_rectChildWnd = child;
    for (auto& [h, rect] : m_headerRects) {
        if (rect.top >= expanded.bottom + m_nGroupMargin)
            rect.OffsetRect(0, free);
    }
}

HSHBGROUP COXShortcutBar::HitTest(CPoint pt, UINT* pFlags) const
{
    UINT flags = SHB_NOWHERE;
    HSHBGROUP result = nullptr;
    if (!m_rectChildWnd.IsRectEmpty() && m_rectChildWnd.PtInRect(pt) && m_hExpandedGroup) {
        flags = SHB_ONCHILD;
        result = m_hExpandedGroup;
    } else {
        for (const auto& [h, rect] : m_headerRects) {
            if (rect.PtInRect(pt)) {
                flags = SHB_ONHEADER;
                result = h;
                break;
            }
        }
    }
    if (pFlags)
        *pFlags = flags;
    return result;
}

BOOL COXShortcutBar::GetGroupHeaderRect(HSHBGROUP hGroup, LPRECT lpRect) const
{
    const auto it = m_headerRects.find(hGroup);
    if (it == m_headerRects.end() || !lpRect)
        return FALSE;
    *lpRect = it->second;
    return TRUE;
}

void COXShortcutBar::UpdateHeader(HSHBGROUP hGroup)
{
    CRect rect;
    if (!m_hWnd || !GetGroupHeaderRect(hGroup, &rect))
        return;
    ::InvalidateRect(m_hWnd, &rect, TRUE);
    ::UpdateWindow(m_hWnd);
}

void COXShortcutBar::ShowExpandedChild()
{
    if (!m_hExpandedGroup)
        return;
    const HWND child = GetGroupChildWndHandle(m_hExpandedGroup);
    if (!child || !::IsWindow(child))
        return;
    if (m_rectChildWnd.IsRectEmpty()) {
        ::ShowWindow(child, SW_HIDE);
        return;
    }
    ::SetWindowPos(child, nullptr, m_rectChildWnd.left, m_rectChildWnd.top, m_rectChildWnd.Width(),
        m_rectChildWnd.Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void COXShortcutBar::RedrawBar()
{
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return;
    ShowExpandedChild();
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void COXShortcutBar::RedrawChildWnd()
{
    const HWND child = m_hExpandedGroup ? GetGroupChildWndHandle(m_hExpandedGroup) : nullptr;
    if (child && ::IsWindow(child))
        ::RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void COXShortcutBar::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    CalculateBoundRects();
    RedrawBar();
}

void COXShortcutBar::AnimateExpansion(HSHBGROUP hOld, HSHBGROUP hNew)
{
    const int oldOrder = GetGroupOrder(hOld);
    const int newOrder = GetGroupOrder(hNew);
    if (oldOrder < 0 || newOrder < 0)
        return;
    const bool up = oldOrder < newOrder;
    const int first = std::min(oldOrder, newOrder) + 1;
    const int last = std::max(oldOrder, newOrder);
    std::vector<HSHBGROUP> moving;
    for (int order = first; order <= last; ++order) {
        if (const HSHBGROUP h = FindGroupByOrder(order); h && m_headerRects.count(h))
            moving.push_back(h);
    }
    const HWND oldChild = GetGroupChildWndHandle(hOld);
    CRect child = m_rectChildWnd;
    const int frames = child.Height() / 20;
    int step = 20;
    // The second half moves twice as far per frame (and takes one frame for two).
    for (int i = 0; i < frames - 1; ++i) {
        if (i > frames / 2) {
            ++i;
            step = 40;
        }
        CRect invalid;
        for (HSHBGROUP h : moving) {
            CRect& rect = m_headerRects[h];
            invalid.UnionRect(invalid, rect);
            rect.OffsetRect(0, up ? -step : step);
            invalid.UnionRect(invalid, rect);
        }
        if (up)
            child.bottom -= step;
        else
            child.top += step;
        if (child.bottom < child.top)
            child.bottom = child.top;
        m_rectChildWnd = child;
        if (oldChild && ::IsWindow(oldChild))
            ::SetWindowPos(oldChild, nullptr, child.left, child.top, child.Width(), child.Height(),
                SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        ::RedrawWindow(m_hWnd, &invalid, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        if (!::IsWindow(m_hWnd))
            return;
        ::Sleep(static_cast<DWORD>(100 / frames));
    }
}
