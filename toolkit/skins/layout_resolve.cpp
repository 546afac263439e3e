// The layout manager's layout pass: resolving sides, checking limits, relaxing the size
// laid out for, and moving the children.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/afx/wnd.h"
#include "platform/user/paint.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "toolkit/skins/layout_manager.h"

namespace {

constexpr int32_t kFail = COXSideConstraint::kNotComputed;

bool IsVertical(int nSideIndex)
{
    return nSideIndex == COXWndConstraint::top || nSideIndex == COXWndConstraint::bottom;
}

// The other side of the same axis.
int OppositeOf(int nSideIndex) { return nSideIndex ^ 1; }

int EdgeOf(const CRect& r, int nSideIndex)
{
    switch (nSideIndex) {
    case COXWndConstraint::top: return r.top;
    case COXWndConstraint::bottom: return r.bottom;
    case COXWndConstraint::left: return r.left;
    default: return r.right;
    }
}

// A position as the record can hold it: the two highest values are its markers.
int32_t Representable(int64_t pos)
{
    return pos < INT32_MIN || pos >= COXSideConstraint::kComputing ? kFail : static_cast<int32_t>(pos);
}

} // namespace

int COXLayoutManager::CalcSideConstraint(COXWndConstraint* pChild, int nSideIndex)
{
    COXSideConstraint& side = pChild->m_sides[nSideIndex];
    if (side.m_nPos == COXSideConstraint::kComputing)
        return kFail; // a cycle
    if (side.m_nPos != COXSideConstraint::kNotComputed)
        return side.m_nPos;

    if (side.IsEmpty()) {
        // The side follows the window as it stands.
        CRect present;
        if (!GetChildWindowRect(pChild->m_nID, present))
            return kFail;
        const int opposite = OppositeOf(nSideIndex);
        int64_t pos = EdgeOf(present, nSideIndex);
        if (!pChild->m_sides[opposite].IsEmpty()) {
            // Keep the present size on this axis.
            const int other = CalcSideConstraint(pChild, opposite);
            if (other == kFail)
                return kFail;
            const int extent = IsVertical(nSideIndex) ? present.Height() : present.Width();
            const bool nearSide = nSideIndex == COXWndConstraint::top || nSideIndex == COXWndConstraint::left;
            pos = nearSide ? int64_t{other} - extent : int64_t{other} + extent;
        }
        side.m_nPos = Representable(pos);
        return side.m_nPos;
    }

    side.m_nPos = COXSideConstraint::kComputing;
    const bool nearUsed = side.m_nNearOffset != COXSideConstraint::kUnused;
    const bool farUsed = side.m_nFarOffset != COXSideConstraint::kUnused;
    int64_t nearPos = 0;
    int64_t farPos = IsVertical(nSideIndex) ? m_cy : m_cx;
    if (side.m_nBaseID != 0) {
        // The cached index is a hint: trust it only when it still names the base.
        int index = side.m_nBaseIndex;
        if (index < 0 || index >= GetChildCount() ||
            m_children[static_cast<size_t>(index)]->m_nID != static_cast<UINT>(side.m_nBaseID)) {
            index = FindChild(static_cast<UINT>(side.m_nBaseID));
            side.m_nBaseIndex = index;
        }
        if (index < 0)
            return kFail;
        COXWndConstraint* base = m_children[static_cast<size_t>(index)].get();
        const int nearIndex = IsVertical(nSideIndex) ? COXWndConstraint::top : COXWndConstraint::left;
        if (nearUsed) {
            nearPos = CalcSideConstraint(base, nearIndex);
            if (nearPos == kFail)
                return kFail;
        }
        if (farUsed) {
            farPos = CalcSideConstraint(base, OppositeOf(nearIndex));
            if (farPos == kFail)
                return kFail;
        }
    }
    int64_t pos;
    if (nearUsed && farUsed) {
        // A fraction, in 64 bits: distance times numerator leaves 32 bits quickly.
        if (side.m_nFarOffset == 0)
            return kFail;
        pos = (farPos - nearPos) * side.m_nNearOffset / side.m_nFarOffset + nearPos;
    } else if (nearUsed) {
        pos = nearPos + side.m_nNearOffset;
    } else {
        pos = farPos + side.m_nFarOffset;
    }
    side.m_nPos = Representable(pos);
    return side.m_nPos;
}

int COXLayoutManager::CalcLayout()
{
    for (const auto& child : m_children)
        child->ResetPos();
    for (const auto& child : m_children) {
        for (int side = 0; side < 4; ++side) {
            if (CalcSideConstraint(child.get(), side) == kFail)
                return kLayoutImpossible;
        }
    }
    if (m_nMinMaxCount == 0)
        return kLayoutFits;
    int result = kLayoutFits;
    // Asking for a bigger and a smaller container at once: nothing can satisfy both.
    auto want = [&result](int bit, int contrary) {
        if (result & contrary)
            return false;
        result |= bit;
        return true;
    };
    for (const auto& child : m_children) {
        if (!child->m_bHasMinMax)
            continue;
        const CRect r = child->GetRect();
        if (child->m_nMinWidth > 0 && r.Width() < child->m_nMinWidth && !want(kTooNarrow, kTooWide))
            return kLayoutImpossible;
        if (child->m_nMaxWidth > 0 && r.Width() > child->m_nMaxWidth && !want(kTooWide, kTooNarrow))
            return kLayoutImpossible;
        if (child->m_nMinHeight > 0 && r.Height() < child->m_nMinHeight && !want(kTooShort, kTooTall))
            return kLayoutImpossible;
        if (child->m_nMaxHeight > 0 && r.Height() > child->m_nMaxHeight && !want(kTooTall, kTooShort))
            return kLayoutImpossible;
    }
    return result;
}

BOOL COXLayoutManager::RedrawLayout()
{
    const HWND container = GetContainerHwnd();
    if (!container)
        return FALSE;
    CRect client;
    ::GetClientRect(container, &client);
    return OnSize(client.Width(), client.Height());
}

BOOL COXLayoutManager::OnSize(int cx, int cy)
{
    const HWND container = GetContainerHwnd();
    if (!container || cx == 0 || cy == 0 || m_children.empty())
        return TRUE;

    // The learned limits first; when they cross, the maximum wins.
    m_cx = std::min(std::max(cx, m_nMinWidth), m_nMaxWidth);
    m_cy = std::min(std::max(cy, m_nMinHeight), m_nMaxHeight);

    // Relax one pixel at a time. An axis that has to turn back (too narrow at one width,
    // too wide one pixel further) would swing between the two for ever: no size fits.
    int lastChange = 0;
    int stepX = 0, stepY = 0;
    for (;;) {
        if (m_cx < 1 || m_cx > 32767 || m_cy < 1 || m_cy > 32767)
            return FALSE;
        const int result = CalcLayout();
        if (result == kLayoutImpossible)
            return FALSE;
        if (result == kLayoutFits)
            break;
        lastChange = result;
        const int dx = (result & kTooNarrow) ? 1 : (result & kTooWide) ? -1 : 0;
        const int dy = (result & kTooShort) ? 1 : (result & kTooTall) ? -1 : 0;
        if ((dx != 0 && stepX != 0 && dx != stepX) || (dy != 0 && stepY != 0 && dy != stepY))
            return FALSE;
        if (dx != 0)
            stepX = dx;
        if (dy != 0)
            stepY = dy;
        m_cx += dx;
        m_cy += dy;
    }
    if (lastChange & kTooNarrow)
        m_nMinWidth = m_cx;
    else if (lastChange & kTooWide)
        m_nMaxWidth = m_cx;
    if (lastChange & kTooShort)
        m_nMinHeight = m_cy;
    else if (lastChange & kTooTall)
        m_nMaxHeight = m_cy;

    HDWP batch = ::BeginDeferWindowPos(GetChildCount());
    if (!batch)
        return FALSE;
    std::vector<HWND> moved;
    for (const auto& child : m_children) {
        const HWND hChild = ::GetDlgItem(container, static_cast<int>(child->m_nID));
        if (!hChild)
            continue; // a record without a window only serves as a base
        const CRect r = child->GetRect();
        // A rectangle turned inside out by its constraints shows as nothing.
        batch = ::DeferWindowPos(batch, hChild, nullptr, r.left, r.top, std::max(0, r.Width()), std::max(0, r.Height()),
            SWP_NOZORDER);
        if (!batch)
            return FALSE;
        moved.push_back(hChild);
    }
    const BOOL ok = ::EndDeferWindowPos(batch);
    // Repainted where they now stand.
    for (const HWND hChild : moved) {
        if (::IsWindow(hChild))
            ::RedrawWindow(hChild, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    return ok;
}
