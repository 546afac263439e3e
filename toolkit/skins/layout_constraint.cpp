#include "toolkit/skins/layout_constraint.h"

#include <initializer_list>
#include <utility>

namespace {

int IndexOfSideBit(int nSideBit)
{
    switch (nSideBit) {
    case 1: return COXWndConstraint::top;
    case 2: return COXWndConstraint::bottom;
    case 4: return COXWndConstraint::left;
    case 8: return COXWndConstraint::right;
    default: return -1;
    }
}

} // namespace

COXSideConstraint* COXWndConstraint::Side(int nSideBit)
{
    const int i = IndexOfSideBit(nSideBit);
    return i < 0 ? nullptr : &m_sides[i];
}

const COXSideConstraint* COXWndConstraint::Side(int nSideBit) const
{
    const int i = IndexOfSideBit(nSideBit);
    return i < 0 ? nullptr : &m_sides[i];
}

CRect COXWndConstraint::GetRect() const
{
    return CRect(m_sides[left].m_nPos, m_sides[top].m_nPos, m_sides[right].m_nPos, m_sides[bottom].m_nPos);
}

void COXWndConstraint::ResetPos()
{
    for (const auto& [nearSide, farSide] : {std::pair{top, bottom}, std::pair{left, right}}) {
        if (!m_sides[nearSide].IsEmpty() || !m_sides[farSide].IsEmpty()) {
            m_sides[nearSide].m_nPos = COXSideConstraint::kNotComputed;
            m_sides[farSide].m_nPos = COXSideConstraint::kNotComputed;
        }
    }
}
