#pragma once
// What a golden picture of a frame with a menu bar leaves out: the places where text is
// drawn, whose glyphs depend on the font and not on the skin under test. Shared by the
// pictures of the bar itself and of the frames built on it.
#include <vector>

#include "platform/afx/gdi/geometry.h"
#include "platform/afx/wnd.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "toolkit/menus/menu_bar.h"

namespace zyn::test {

// The caption text (from past the icon to before the caption buttons) and each of the
// bar's items less the 3 pixels of its edge, which the skin draws, as rectangles from the
// frame window's top left corner.
inline std::vector<RECT> MenuBarFrameTextAreas(CWnd& frame, COXMenuBar& bar)
{
    CRect window;
    frame.GetWindowRect(&window);
    const CPoint origin = window.TopLeft();
    std::vector<RECT> areas;
    const int caption = ::GetSystemMetrics(SM_CYCAPTION) + ::GetSystemMetrics(SM_CYFRAME);
    areas.push_back(CRect(24, 0, window.Width() - 80, caption));
    for (int i = 0; i < bar.GetMenuItemCount(); ++i) {
        CRect item;
        bar.GetItemRect(i, &item);
        bar.ClientToScreen(&item);
        item.DeflateRect(3, 3);
        item.OffsetRect(-origin);
        areas.push_back(item);
    }
    return areas;
}

} // namespace zyn::test
