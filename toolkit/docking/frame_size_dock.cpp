// The size-dock frames' bar operations: dock bars, floating, tiling, packing.
#include "toolkit/docking/frame_size_dock.h"

#include <algorithm>
#include <vector>

#include "platform/afx/ctrlbar.h"
#include "platform/afx/dockbar.h"
#include "platform/afx/miniframe.h"
#include "platform/base/exception.h"
#include "platform/user/winpos.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/sizable_mini_dock_frame.h"
#include "toolkit/docking/size_control_bar.h"
#include "toolkit/docking/size_dock_bar.h"

IMPLEMENT_DYNCREATE(COXFrameWndSizeDock, CFrameWnd)

namespace zyn::sizedock {

namespace {

std::vector<CControlBar*> Bars(const CFrameWnd& frame)
{
    std::vector<CControlBar*> bars;
    for (POSITION pos = frame.m_listControlBars.GetHeadPosition(); pos;)
        bars.push_back(static_cast<CControlBar*>(frame.m_listControlBars.GetNext(pos)));
    return bars;
}

} // namespace

void EnableDocking(CFrameWnd& frame, DWORD dwDockStyle)
{
    frame.m_pFloatingFrameClass = RUNTIME_CLASS(COXSizableMiniDockFrameWnd);
    for (const Side& side : kSides) {
        if (!(side.dwStyle & dwDockStyle & CBRS_ALIGN_ANY) || frame.GetControlBar(side.nID))
            continue;
        auto* pDock = new COXSizeDockBar;
        pDock->m_bAutoDelete = TRUE;   // deleted with its window
        if (!pDock->Create(&frame, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | side.dwStyle, side.nID)) {
            delete pDock;
            AfxThrowResourceException();
        }
        // The sides are laid out after the frame's other bars, in the table's order.
        ::SetWindowPos(pDock->m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void FloatControlBar(CFrameWnd& frame, CControlBar* pBar, CPoint point, DWORD dwStyle)
{
    if (!pBar || !pBar->m_hWnd)
        return;
    frame.CFrameWnd::FloatControlBar(pBar, point, dwStyle);
    if (::IsWindow(pBar->m_hWnd))
        pBar->SendMessage(WM_OX_BARFLOATED);
}

void TileDockedBars(CFrameWnd& frame, DWORD dwDockStyle)
{
    for (const Side& side : kSides) {
        if (!(side.dwStyle & dwDockStyle & CBRS_ALIGN_ANY))
            continue;
        CControlBar* pBar = frame.GetControlBar(side.nID);
        if (pBar && pBar->IsKindOf(RUNTIME_CLASS(COXSizeDockBar)) && pBar->m_dwStyle != 0)
            static_cast<COXSizeDockBar*>(pBar)->TileDockedBars();
    }
}

void GetFloatingBars(const CFrameWnd& frame, CObArray& arr)
{
    for (CControlBar* pBar : Bars(frame)) {
        if (!pBar || !pBar->m_hWnd || pBar->IsDockBar() || !pBar->IsFloating() || !pBar->IsVisible())
            continue;
        CDockBar* pDock = pBar->m_pDockBar;
        const HWND hFloat = pDock && pDock->m_hWnd ? ::GetParent(pDock->m_hWnd) : nullptr;
        CWnd* pFloat = hFloat ? CWnd::FromHandlePermanent(hFloat) : nullptr;
        if (!pFloat)
            continue;
        // Bars floating together share a frame: it is packed once.
        bool bListed = false;
        for (INT_PTR i = 0; i < arr.GetSize() && !bListed; ++i)
            bListed = arr[i] == pFloat;
        if (!bListed)
            arr.Add(pFloat);
    }
}

std::vector<Placement> ArrangeWindowsPlan(CSize client, const std::vector<CSize>& sizes, DWORD dwOrient)
{
    std::vector<Placement> out(sizes.size());
    if (sizes.empty() || client.cy <= 0)
        return out;
    std::vector<CWndSpaceElt> skyline{CWndSpaceElt(static_cast<uint16_t>(std::min<int>(client.cy, 0xFFFF)), 0)};
    std::vector<size_t> order(sizes.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return int64_t{sizes[a].cx} * sizes[a].cy > int64_t{sizes[b].cx} * sizes[b].cy;
    });
    for (const size_t w : order) {
        const int cx = sizes[w].cx, cy = sizes[w].cy;
        int best = 0xFFFF, bestIdx = -1, bestOff = 0;
        int off = 0;
        for (size_t i = 0; i < skyline.size(); off += skyline[i].m_nSpan, ++i) {
            int remain = cy, maxDepth = 0;
            for (size_t j = i; j < skyline.size(); ++j) {
                maxDepth = std::max<int>(maxDepth, skyline[j].m_nDepth);
                if (maxDepth > best)
                    break;
                remain -= skyline[j].m_nSpan;
                if (remain <= 0) {
                    if (maxDepth < best)   // ties keep the earlier element
                        best = maxDepth, bestIdx = static_cast<int>(i), bestOff = off;
                    break;
                }
            }
        }
        if (bestIdx < 0 || best > client.cx)
            continue;   // no room: the window stays where it is
        out[w].bMove = true;
        out[w].pt.x = (dwOrient & 0x5) == 0x5 ? best : client.cx - best - cx;
        out[w].pt.y = (dwOrient & 0x3) == 0x3 ? bestOff : client.cy - bestOff - cy;
        // The window's height is at most the client's (it found a place), so it fits 16 bits.
        const CWndSpaceElt added(static_cast<uint16_t>(cy), static_cast<uint16_t>(std::min(best + cx, 0xFFFF)));
        int remain = cy;
        size_t k = static_cast<size_t>(bestIdx);
        while (k < skyline.size() && skyline[k].m_nSpan <= remain) {
            remain -= skyline[k].m_nSpan;
            skyline.erase(skyline.begin() + static_cast<ptrdiff_t>(k));
        }
        if (k < skyline.size())
            skyline[k].m_nSpan = static_cast<uint16_t>(skyline[k].m_nSpan - remain);
        skyline.insert(skyline.begin() + static_cast<ptrdiff_t>(k), added);
    }
    return out;
}

void ArrangeWindows(CWnd& parent, CObArray& arr, DWORD dwOrient)
{
    if (!parent.m_hWnd || arr.GetSize() == 0)
        return;
    CRect client;
    parent.GetClientRect(&client);
    std::vector<CWnd*> wnds;
    std::vector<CSize> sizes;
    for (INT_PTR i = 0; i < arr.GetSize(); ++i) {
        CObject* pObject = arr[i];
        if (!pObject || !pObject->IsKindOf(RUNTIME_CLASS(CWnd)))
            continue;   // not a window: nothing to move
        auto* pWnd = static_cast<CWnd*>(pObject);
        if (!pWnd->m_hWnd || !::IsWindow(pWnd->m_hWnd))
            continue;
        CRect rect;
        pWnd->GetWindowRect(&rect);
        wnds.push_back(pWnd);
        sizes.push_back(rect.Size());
    }
    const std::vector<Placement> plan = ArrangeWindowsPlan(client.Size(), sizes, dwOrient);
    HDWP hdwp = ::BeginDeferWindowPos(static_cast<int>(wnds.size()));
    for (size_t i = 0; i < wnds.size(); ++i) {
        if (!plan[i].bMove)
            continue;
        const HWND h = wnds[i]->m_hWnd;
        CPoint pt = plan[i].pt;
        const bool bChild = (::GetWindowLongW(h, GWL_STYLE) & WS_CHILD) && ::GetParent(h) == parent.m_hWnd;
        // Where the window is now, in the coordinates it is moved in.
        CRect now;
        ::GetWindowRect(h, &now);
        if (bChild)
            ::MapWindowPoints(nullptr, parent.m_hWnd, reinterpret_cast<POINT*>(&now), 2);
        else
            ::ClientToScreen(parent.m_hWnd, &pt);
        if (now.TopLeft() == pt)
            continue;
        if (hdwp)
            hdwp = ::DeferWindowPos(hdwp, h, nullptr, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        else
            ::SetWindowPos(h, nullptr, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (hdwp)
        ::EndDeferWindowPos(hdwp);
}

void DestroyDynamicBars(CFrameWnd& frame)
{
    std::vector<HWND> dynamic;
    for (CControlBar* pBar : Bars(frame)) {
        if (pBar && pBar->m_hWnd && pBar->IsKindOf(RUNTIME_CLASS(COXSizeControlBar)) &&
            (static_cast<COXSizeControlBar*>(pBar)->GetSizeDockStyle() & SZBARF_DYNAMIC))
            dynamic.push_back(pBar->m_hWnd);
    }
    for (auto it = dynamic.rbegin(); it != dynamic.rend(); ++it) {
        if (CWnd* pWnd = ::IsWindow(*it) ? CWnd::FromHandlePermanent(*it) : nullptr)
            pWnd->DestroyWindow();
    }
}

void OnDestroyFrame(CFrameWnd& frame)
{
    CFrameWnd* pTop = frame.GetTopLevelFrame();
    if (!pTop || pTop == &frame)
        COXSizeControlBar::TidyUp(&frame);
}

} // namespace zyn::sizedock
