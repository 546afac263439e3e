#pragma once
// Small helpers the size dock bar's files share: which entries of a bar array count in a
// pass, which bars are shared in proportion, and the docked length and width of a size
// control bar on a side of either orientation. Internal to the size dock bar.
#include <algorithm>

#include "platform/afx/ctrlbar.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/base/coll_array.h"
#include "toolkit/docking/dock_seams.h"
#include "toolkit/docking/size_control_bar.h"
#include "toolkit/docking/size_tool_bar.h"

namespace oxdock {

// An entry below 0x10000 is the control ID of a bar that left its place.
inline bool IsPlaceHolder(const void* p)
{
    const auto v = reinterpret_cast<UINT_PTR>(p);
    return v != 0 && v < 0x10000;
}

// The bar of an array entry whose window exists, else null (row ends, placeholders and
// bars whose window is gone).
inline CControlBar* LiveBarAt(const CPtrArray& arrBars, INT_PTR nPos)
{
    if (nPos < 0 || nPos >= arrBars.GetSize())
        return nullptr;
    void* p = arrBars[nPos];
    if (!p || IsPlaceHolder(p))
        return nullptr;
    auto* pBar = static_cast<CControlBar*>(p);
    return pBar->m_hWnd ? pBar : nullptr;
}

// As LiveBarAt, and visible (a delayed show or hide counts).
inline CControlBar* VisibleBarAt(const CPtrArray& arrBars, INT_PTR nPos)
{
    CControlBar* pBar = LiveBarAt(arrBars, nPos);
    return pBar && pBar->IsVisible() ? pBar : nullptr;
}

// The size tool bar is a size control bar laid out like a plain toolbar.
inline bool IsSizeToolBar(const CObject* pObject)
{
    return pObject && pObject->IsKindOf(RUNTIME_CLASS(COXSizeToolBar));
}

inline COXSizeControlBar* AsSizeBar(CControlBar* pBar)
{
    return pBar && pBar->IsKindOf(RUNTIME_CLASS(COXSizeControlBar)) ? static_cast<COXSizeControlBar*>(pBar)
                                                                     : nullptr;
}

// Shared in proportion by the row layout: a size control bar that is not a size tool bar.
inline bool IsLayoutSizeable(CControlBar* pBar) { return AsSizeBar(pBar) && !IsSizeToolBar(pBar); }

// The docked size of the place a size bar takes on a side of this orientation.
inline CSize& DockedSize(COXSizeControlBar* pBar, BOOL bHorz)
{
    return bHorz ? pBar->m_sizeHorzDock : pBar->m_sizeVertDock;
}
// Along the side: cx of the horizontal docked size, cy of the vertical one.
inline LONG& DockedLength(COXSizeControlBar* pBar, BOOL bHorz)
{
    return bHorz ? pBar->m_sizeHorzDock.cx : pBar->m_sizeVertDock.cy;
}
// Across the side.
inline LONG& DockedWidth(COXSizeControlBar* pBar, BOOL bHorz)
{
    return bHorz ? pBar->m_sizeHorzDock.cy : pBar->m_sizeVertDock.cx;
}

// A window's rectangle in the client coordinates of another window.
inline CRect RectIn(const CWnd* pIn, const CWnd* pWnd)
{
    CRect r;
    pWnd->GetWindowRect(&r);
    pIn->ScreenToClient(&r);
    return r;
}

// Along and across a side of the given orientation.
inline int LengthOf(const RECT& r, BOOL bHorz) { return bHorz ? r.right - r.left : r.bottom - r.top; }
inline int WidthOf(const RECT& r, BOOL bHorz) { return bHorz ? r.bottom - r.top : r.right - r.left; }

} // namespace oxdock
