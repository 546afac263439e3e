#pragma once
// COXSplitterRect: one splitter of a size dock bar, the strip between two bars (or two
// rows of bars) that the user drags to share space between them. It knows its rectangle
// in the dock bar's client coordinates, which way it runs, and which bar of the dock
// bar's bar array it belongs to. The dock-bar skins paint it; the classic look is Draw's
// pair of 3-D lines along each long side.
#include "platform/afx/gdi/geometry.h"
#include "platform/base/object.h"

class CDC;

class COXSplitterRect : public CObject {
    DECLARE_DYNAMIC(COXSplitterRect)
public:
    // m_nType.
    static constexpr int typeVertical = 1;    // lines run top to bottom; the strip moves sideways
    static constexpr int typeHorizontal = 2;  // lines run left to right; the strip moves up and down

    COXSplitterRect(int nType, const RECT& rect);
    ~COXSplitterRect() override;

    // The classic splitter: a vertical one paints four one-pixel columns over its full
    // height, at left + 1 (button face), left + 2 (highlight), right - 2 (shadow) and
    // right - 1 (window frame); a horizontal one the same rows over its full width at top
    // + 1, top + 2, bottom - 2 and bottom - 1. Any other type paints nothing.
    void Draw(CDC* pDC) const;

    CRect m_rect;       // dock bar client coordinates
    int m_nType;
    int m_nIndex = -1;  // the bar (or row start) in the dock bar's bar array; set by the dock bar
};
