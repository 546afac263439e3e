#pragma once
// The records of the layout manager: how one side of one child is tied (COXSideConstraint)
// and everything the manager knows of one child (COXWndConstraint).
//
// A side is placed relative to a base, the container or another child: at an offset from
// the base's near edge (its top for the top and bottom sides, its left for the left and
// right sides), at an offset from its far edge (bottom or right), or, when both offsets
// are used, at the fraction near / far of the way between the two edges. An empty side
// (neither offset used) follows the child's present window: it keeps its place, or keeps
// the child's size when the opposite side is tied. The resolved position is cached for
// one layout pass; two sentinel values mark "not computed" and "being computed", which
// is how a pass finds a cycle of constraints.
#include <cstdint>

#include "platform/afx/gdi/geometry.h"
#include "platform/base/wintypes.h"

class COXSideConstraint {
public:
    static constexpr int32_t kUnused = 32767;       // an offset that is not used
    static constexpr int32_t kNotComputed = 32767;  // a position not resolved in this pass (also: failure)
    static constexpr int32_t kComputing = 32766;    // a position being resolved: met again, it is a cycle

    COXSideConstraint() { Empty(); }

    // Base the container, no offsets, no position. The cached base index stays: it is
    // only a hint, checked before use.
    void Empty()
    {
        m_nBaseID = 0;
        m_nNearOffset = kUnused;
        m_nFarOffset = kUnused;
        m_nPos = kNotComputed;
    }
    BOOL IsEmpty() const { return m_nNearOffset == kUnused && m_nFarOffset == kUnused; }

    int32_t m_nBaseID = 0;          // control ID of the base child; 0: the container
    int32_t m_nNearOffset;          // offset from the base's near edge, or a fraction's numerator
    int32_t m_nFarOffset;           // offset from the base's far edge, or a fraction's denominator
    int32_t m_nPos;                 // resolved position, container client coordinates
    int32_t m_nBaseIndex = -1;      // where the base was last found in the manager's array
};

class COXWndConstraint {
public:
    // Indices into m_sides; a side mask bit 1 << n names side n.
    enum SideIndex { top = 0, bottom = 1, left = 2, right = 3 };

    explicit COXWndConstraint(UINT nID) : m_nID(nID) {}

    // The side for one mask bit (1 top, 2 bottom, 4 left, 8 right); null for anything else.
    COXSideConstraint* Side(int nSideBit);
    const COXSideConstraint* Side(int nSideBit) const;
    // {left, top, right, bottom} from the resolved positions.
    CRect GetRect() const;
    // Forgets the positions of each axis that has a tied side; an axis with both sides
    // empty keeps the positions it took from the window the first time.
    void ResetPos();

    UINT m_nID;
    BOOL m_bHasMinMax = FALSE;
    int32_t m_nMinWidth = 0;    // 0 or less: no limit (the same for the three others)
    int32_t m_nMinHeight = 0;
    int32_t m_nMaxWidth = 0;
    int32_t m_nMaxHeight = 0;
    COXSideConstraint m_sides[4]; // top, bottom, left, right
};
