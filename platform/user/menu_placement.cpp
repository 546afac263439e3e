// Where popup menus go on the screen (the rules are written in popup_menu.h).
#include <algorithm>

#include "platform/gdi/wingdi.h"
#include "platform/user/popup_menu.h"

namespace zyn::user {
namespace {

// The start of a span of `size` pushed inside [lo, hi); the low edge wins when it is larger.
int Inside(int start, int size, int lo, int hi) { return std::max(lo, std::min(start, hi - size)); }

bool Overlaps(const RECT& a, const RECT& b)
{
    RECT i;
    return IntersectRect(&i, &a, &b) != FALSE;
}

} // namespace

POINT PlacePopupMenu(POINT pt, SIZE size, UINT flags, const RECT* exclude, const RECT& work)
{
    const int w = size.cx, h = size.cy;
    const bool right = (flags & TPM_RIGHTALIGN) != 0, center = !right && (flags & TPM_CENTERALIGN);
    const bool bottom = (flags & TPM_BOTTOMALIGN) != 0, vcenter = !bottom && (flags & TPM_VCENTERALIGN);
    int x = right ? pt.x - w : center ? pt.x - w / 2 : pt.x;
    int y = bottom ? pt.y - h : vcenter ? pt.y - h / 2 : pt.y;
    // An edge flips an aligned menu to the other side of the point.
    if (!right && !center && x + w > work.right)
        x = pt.x - w;
    else if (right && x < work.left)
        x = pt.x;
    if (!bottom && !vcenter && y + h > work.bottom)
        y = pt.y - h;
    else if (bottom && y < work.top)
        y = pt.y;
    x = Inside(x, w, work.left, work.right);
    y = Inside(y, h, work.top, work.bottom);
    if (!exclude || !Overlaps(RECT{x, y, x + w, y + h}, *exclude))
        return POINT{x, y};
    const RECT& e = *exclude;
    auto tryVertical = [&] {
        const int first = bottom ? e.top - h : e.bottom, second = bottom ? e.bottom : e.top - h;
        for (int c : {first, second})
            if (c >= work.top && c + h <= work.bottom) {
                y = c;
                return true;
            }
        return false;
    };
    auto tryHorizontal = [&] {
        const int first = right ? e.left - w : e.right, second = right ? e.right : e.left - w;
        for (int c : {first, second})
            if (c >= work.left && c + w <= work.right) {
                x = c;
                return true;
            }
        return false;
    };
    if (flags & TPM_VERTICAL) {
        if (!tryVertical())
            tryHorizontal();
    } else if (!tryHorizontal()) {
        tryVertical();
    }
    return POINT{x, y};
}

POINT PlaceSubmenu(const RECT& parentWindow, const RECT& itemScreen, SIZE size, const RECT& work, bool leftFirst,
    bool& openedLeft)
{
    const int w = size.cx, h = size.cy;
    // The submenu's frame (three pixels) lies over the parent's, so its first item is level
    // with the item that opens it.
    const int rightX = parentWindow.right - kPopupMenuFrame;
    const int leftX = parentWindow.left + kPopupMenuFrame - w;
    const bool rightFits = rightX + w <= work.right, leftFits = leftX >= work.left;
    openedLeft = leftFirst ? (leftFits || !rightFits) : (!rightFits && leftFits);
    int x = openedLeft ? leftX : rightX;
    int y = itemScreen.top - kPopupMenuFrame;
    x = Inside(x, w, work.left, work.right);
    y = Inside(y, h, work.top, work.bottom);
    return POINT{x, y};
}

} // namespace zyn::user
