#include "toolkit/skins/status_bar_geometry.h"

#include <algorithm>
#include <climits>

namespace zyn::toolkit::statusbar {

int ProgressPercent(DWORD range, DWORD position)
{
    if (range == 0)
        return 0;
    const uint64_t percent = uint64_t{position} * 100u / range;
    return static_cast<int>(std::min<uint64_t>(percent, 100u));
}

ProgressControlValues ProgressControlRange(DWORD range, DWORD position)
{
    uint64_t max = range, pos = position;
    while (max > static_cast<uint64_t>(INT_MAX)) {
        max >>= 1;
        pos >>= 1;
    }
    pos = std::min<uint64_t>(pos, static_cast<uint64_t>(INT_MAX));
    return ProgressControlValues{static_cast<int>(max), static_cast<int>(pos)};
}

bool PlacePaneBitmap(const RECT& inner, int cx, int cy, int orientation, BitmapPlacement& out)
{
    if (orientation < 1 || orientation > 7)
        return false;
    const int innerWidth = inner.right - inner.left;
    const int innerHeight = inner.bottom - inner.top;
    const int spareWidth = innerWidth - cx;
    const int spareHeight = innerHeight - cy;
    const int width = spareWidth < 1 ? innerWidth : cx;
    const int height = spareHeight < 1 ? innerHeight : cy;
    const int top = spareHeight < 1 ? inner.top : inner.top + spareHeight / 2;
    out.dest = RECT{inner.left, top, inner.left + width, top + height};
    out.srcWidth = cx;
    out.srcHeight = cy;
    if (orientation == 1) {
        out.dest = inner;
        return true;
    }
    if (orientation >= 5) {
        // Cropped: only as much of the bitmap as the destination holds.
        out.srcWidth = width;
        out.srcHeight = height;
        orientation -= 3;
    }
    int shift = 0;
    if (spareWidth >= 1) {
        if (orientation == 3)
            shift = spareWidth / 2;
        else if (orientation == 4)
            shift = spareWidth;
    }
    out.dest.left += shift;
    out.dest.right += shift;
    return true;
}

bool InsideBorder(const RECT& item, int horzBorder, int spacing, bool progress, RECT& inner)
{
    if (item.right <= item.left || item.bottom <= item.top)
        return false;
    inner = RECT{item.left + spacing, item.top + horzBorder + 1, item.right - spacing, item.bottom - (horzBorder + 1)};
    if (progress)
        --inner.bottom;
    return true;
}

RECT GripperSquare(const RECT& client)
{
    int s = client.bottom - client.top;
    if (s % 2)
        --s;
    if (s <= 0)
        return RECT{client.right, client.bottom, client.right, client.bottom};
    return RECT{client.right - s, client.bottom - s, client.right, client.bottom};
}

} // namespace zyn::toolkit::statusbar
