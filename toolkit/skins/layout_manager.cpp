// The layout manager's registry of children and their constraints.
#include "toolkit/skins/layout_manager.h"

#include <algorithm>
#include <cstdint>

#include "platform/afx/wnd.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

IMPLEMENT_DYNCREATE(COXLayoutManager, CObject)

namespace {

constexpr int kSideBits[4] = {COXLayoutManager::sideTop, COXLayoutManager::sideLeft, COXLayoutManager::sideBottom,
    COXLayoutManager::sideRight};

bool IsNearSide(int nSideBit)
{
    return nSideBit == COXLayoutManager::sideTop || nSideBit == COXLayoutManager::sideLeft;
}

UINT IdOf(const CWnd* pWnd)
{
    return pWnd && pWnd->m_hWnd ? static_cast<UINT>(::GetDlgCtrlID(pWnd->m_hWnd)) : 0;
}

} // namespace

COXLayoutManager::COXLayoutManager(CWnd* pContainer)
{
    if (pContainer)
        Attach(pContainer);
}

COXLayoutManager::~COXLayoutManager()
{
    RemoveAllChildren();
    UnsubclassContainer();
}

BOOL COXLayoutManager::Attach(CWnd* pContainer)
{
    // A manager lays out one container: leave the previous one first, or its window would
    // keep a procedure that leads to this object after it is gone.
    UnsubclassContainer();
    RemoveAllChildren();
    m_pContainerWnd = pContainer;
    return pContainer ? SubclassContainer(pContainer) : FALSE;
}

void COXLayoutManager::Detach()
{
    RemoveAllChildren();
    m_pContainerWnd = nullptr;
    UnsubclassContainer();
}

HWND COXLayoutManager::GetContainerHwnd() const
{
    return m_pContainerWnd && ::IsWindow(m_pContainerWnd->m_hWnd) ? m_pContainerWnd->m_hWnd : nullptr;
}

const COXWndConstraint* COXLayoutManager::GetChild(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetChildCount() ? m_children[static_cast<size_t>(nIndex)].get() : nullptr;
}

int COXLayoutManager::FindChild(UINT nChildID) const
{
    for (size_t i = 0; i < m_children.size(); ++i) {
        if (m_children[i]->m_nID == nChildID)
            return static_cast<int>(i);
    }
    return -1;
}

COXWndConstraint* COXLayoutManager::FindRecord(UINT nChildID) const
{
    const int i = FindChild(nChildID);
    return i < 0 ? nullptr : m_children[static_cast<size_t>(i)].get();
}

void COXLayoutManager::ResetLearnedLimits()
{
    m_nMinWidth = -1;
    m_nMaxWidth = 32767;
    m_nMinHeight = -1;
    m_nMaxHeight = 32767;
}

BOOL COXLayoutManager::GetChildWindowRect(UINT nChildID, CRect& rect) const
{
    const HWND container = GetContainerHwnd();
    const HWND child = container && nChildID ? ::GetDlgItem(container, static_cast<int>(nChildID)) : nullptr;
    if (!child || !::GetWindowRect(child, &rect))
        return FALSE;
    ::MapWindowPoints(nullptr, container, reinterpret_cast<LPPOINT>(&rect), 2);
    return TRUE;
}

// ---- children ---------------------------------------------------------------------------------------------------

int COXLayoutManager::AddChild(UINT nChildID, BOOL bSetDefault)
{
    if (nChildID == 0)
        return -1;
    int index = FindChild(nChildID);
    if (index < 0) {
        m_children.push_back(std::make_unique<COXWndConstraint>(nChildID));
        index = GetChildCount() - 1;
        ResetLearnedLimits();
    }
    if (bSetDefault)
        SetDefaultConstraint(nChildID);
    return index;
}

int COXLayoutManager::AddChild(CWnd* pChild, BOOL bSetDefault) { return AddChild(IdOf(pChild), bSetDefault); }

void COXLayoutManager::AddAllChildren(BOOL bSetDefault)
{
    const HWND container = GetContainerHwnd();
    if (!container)
        return;
    for (HWND child = ::GetWindow(container, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const UINT id = static_cast<UINT>(::GetDlgCtrlID(child));
        if (id != 0)
            AddChild(id, bSetDefault);
    }
}

BOOL COXLayoutManager::RemoveChild(UINT nChildID)
{
    const int index = FindChild(nChildID);
    if (index < 0)
        return FALSE;
    for (const auto& child : m_children) {
        for (const COXSideConstraint& side : child->m_sides) {
            if (!side.IsEmpty() && static_cast<UINT>(side.m_nBaseID) == nChildID)
                return FALSE; // still somebody's base
        }
    }
    if (m_children[static_cast<size_t>(index)]->m_bHasMinMax)
        --m_nMinMaxCount;
    m_children.erase(m_children.begin() + index);
    ResetLearnedLimits();
    return TRUE;
}

BOOL COXLayoutManager::RemoveChild(CWnd* pChild) { return RemoveChild(IdOf(pChild)); }

void COXLayoutManager::RemoveAllChildren()
{
    m_children.clear();
    m_nMinMaxCount = 0;
    ResetLearnedLimits();
}

// ---- constraints ------------------------------------------------------------------------------------------------

BOOL COXLayoutManager::SetConstraint(UINT nChildID, int nSides, int nType, int nOffset, UINT nBaseID)
{
    if (nChildID == 0 || nType < typeSame || nType > typeFraction)
        return FALSE;
    if (nBaseID != 0 && FindChild(nBaseID) < 0)
        AddChild(nBaseID, FALSE);
    COXWndConstraint* child = m_children[static_cast<size_t>(AddChild(nChildID, FALSE))].get();
    for (const int bit : kSideBits) {
        if (!(nSides & bit))
            continue;
        COXSideConstraint& side = *child->Side(bit);
        side.m_nBaseID = static_cast<int32_t>(nBaseID);
        side.m_nPos = COXSideConstraint::kNotComputed;
        // A near side of type 1 and a far side of type 2 both count from the base's near edge.
        const bool fromNearEdge = IsNearSide(bit) == (nType == typeSame);
        if (nType == typeFraction) {
            side.m_nNearOffset = nOffset;
            side.m_nFarOffset = m_nFractionBase;
        } else if (fromNearEdge) {
            side.m_nNearOffset = nOffset;
            side.m_nFarOffset = COXSideConstraint::kUnused;
        } else {
            side.m_nNearOffset = COXSideConstraint::kUnused;
            side.m_nFarOffset = nOffset;
        }
    }
    ResetLearnedLimits();
    return TRUE;
}

BOOL COXLayoutManager::SetConstraint(CWnd* pChild, int nSides, int nType, int nOffset, CWnd* pBase)
{
    return SetConstraint(IdOf(pChild), nSides, nType, nOffset, IdOf(pBase));
}

BOOL COXLayoutManager::SetMinMax(UINT nChildID, CSize sizeMin, CSize sizeMax)
{
    const int index = AddChild(nChildID, FALSE);
    if (index < 0)
        return FALSE;
    COXWndConstraint& child = *m_children[static_cast<size_t>(index)];
    const BOOL has = sizeMin.cx > 0 || sizeMin.cy > 0 || sizeMax.cx > 0 || sizeMax.cy > 0;
    if (has && !child.m_bHasMinMax)
        ++m_nMinMaxCount;
    else if (!has && child.m_bHasMinMax)
        --m_nMinMaxCount;
    child.m_bHasMinMax = has;
    child.m_nMinWidth = sizeMin.cx;
    child.m_nMinHeight = sizeMin.cy;
    child.m_nMaxWidth = sizeMax.cx;
    child.m_nMaxHeight = sizeMax.cy;
    ResetLearnedLimits();
    return TRUE;
}

BOOL COXLayoutManager::SetMinMax(CWnd* pChild, CSize sizeMin, CSize sizeMax)
{
    return SetMinMax(IdOf(pChild), sizeMin, sizeMax);
}

BOOL COXLayoutManager::RemoveConstraint(UINT nChildID, int nSides)
{
    COXWndConstraint* child = FindRecord(nChildID);
    if (!child)
        return FALSE;
    for (const int bit : kSideBits) {
        if (nSides & bit)
            child->Side(bit)->Empty();
    }
    ResetLearnedLimits();
    return TRUE;
}

BOOL COXLayoutManager::RemoveConstraint(CWnd* pChild, int nSides) { return RemoveConstraint(IdOf(pChild), nSides); }

BOOL COXLayoutManager::GetConstraint(UINT nChildID, int nSide, int& nType, int& nOffset, UINT& nBaseID) const
{
    const COXWndConstraint* child = FindRecord(nChildID);
    const COXSideConstraint* side = child ? child->Side(nSide) : nullptr;
    if (!side)
        return FALSE;
    const bool nearUsed = side->m_nNearOffset != COXSideConstraint::kUnused;
    const bool farUsed = side->m_nFarOffset != COXSideConstraint::kUnused;
    nBaseID = static_cast<UINT>(side->m_nBaseID);
    if (nearUsed && farUsed) {
        nType = typeFraction;
        // In 64 bits: numerator times base overflows 32 bits long before it is absurd.
        const int64_t scaled = side->m_nFarOffset == 0
            ? 0
            : static_cast<int64_t>(side->m_nNearOffset) * m_nFractionBase / side->m_nFarOffset;
        nOffset = static_cast<int>(std::clamp<int64_t>(scaled, INT32_MIN, INT32_MAX));
    } else if (nearUsed) {
        nType = IsNearSide(nSide) ? typeSame : typeOpposite;
        nOffset = side->m_nNearOffset;
    } else if (farUsed) {
        nType = IsNearSide(nSide) ? typeOpposite : typeSame;
        nOffset = side->m_nFarOffset;
    } else {
        nType = typeNone;
        nOffset = COXSideConstraint::kUnused;
    }
    return TRUE;
}

BOOL COXLayoutManager::GetConstraint(CWnd* pChild, int nSide, int& nType, int& nOffset, UINT& nBaseID) const
{
    return GetConstraint(IdOf(pChild), nSide, nType, nOffset, nBaseID);
}

BOOL COXLayoutManager::GetMinMax(UINT nChildID, CSize& sizeMin, CSize& sizeMax) const
{
    const COXWndConstraint* child = FindRecord(nChildID);
    if (!child)
        return FALSE;
    sizeMin = CSize(child->m_nMinWidth, child->m_nMinHeight);
    sizeMax = CSize(child->m_nMaxWidth, child->m_nMaxHeight);
    return TRUE;
}

BOOL COXLayoutManager::GetMinMax(CWnd* pChild, CSize& sizeMin, CSize& sizeMax) const
{
    return GetMinMax(IdOf(pChild), sizeMin, sizeMax);
}

BOOL COXLayoutManager::TieChild(UINT nChildID, int nSides, int nType, UINT nBaseID)
{
    if (nType != typeSame && nType != typeOpposite)
        return FALSE;
    CRect child, base;
    if (!GetChildWindowRect(nChildID, child))
        return FALSE;
    if (nBaseID == 0) {
        const HWND container = GetContainerHwnd();
        if (!container || !::GetClientRect(container, &base))
            return FALSE;
    } else if (!GetChildWindowRect(nBaseID, base)) {
        return FALSE;
    }
    auto edge = [](const CRect& r, int bit) -> int {
        switch (bit) {
        case sideTop: return r.top;
        case sideBottom: return r.bottom;
        case sideLeft: return r.left;
        default: return r.right;
        }
    };
    auto opposite = [](int bit) -> int {
        switch (bit) {
        case sideTop: return sideBottom;
        case sideBottom: return sideTop;
        case sideLeft: return sideRight;
        default: return sideLeft;
        }
    };
    BOOL ok = TRUE;
    for (const int bit : kSideBits) {
        if (!(nSides & bit))
            continue;
        const int baseEdge = edge(base, nType == typeSame ? bit : opposite(bit));
        ok = SetConstraint(nChildID, bit, nType, edge(child, bit) - baseEdge, nBaseID);
        if (!ok)
            break;
    }
    return ok;
}

BOOL COXLayoutManager::TieChild(CWnd* pChild, int nSides, int nType, CWnd* pBase)
{
    return TieChild(IdOf(pChild), nSides, nType, IdOf(pBase));
}

void COXLayoutManager::SetFractionBase(int nBase)
{
    if (nBase != 0)
        m_nFractionBase = nBase;
}

void COXLayoutManager::SetDefaultConstraint(UINT nChildID)
{
    CRect r;
    if (!GetChildWindowRect(nChildID, r))
        return;
    SetConstraint(nChildID, sideTop, typeSame, r.top, 0);
    SetConstraint(nChildID, sideLeft, typeSame, r.left, 0);
    RemoveConstraint(nChildID, sideBottom | sideRight);
}
