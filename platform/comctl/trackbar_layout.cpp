// The trackbar's geometry: thumb, channel, tic columns and the mapping between positions
// and pixels (the rules are in trackbar.h).
#include <algorithm>
#include <cstdint>

#include "platform/comctl/trackbar_state.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl::detail {

RECT Transposed(const RECT& r) { return RECT{r.top, r.left, r.bottom, r.right}; }

int ClampPosition(const TrackbarState& s, int p) { return std::clamp(p, s.rangeMin, RangeHigh(s)); }

TrackbarLayout LayoutTrackbar(DWORD style, const TrackbarState& s, int clientWidth, int clientHeight)
{
    TrackbarLayout l;
    l.vertical = (style & TBS_VERT) != 0;
    // Everything is laid out as if horizontal: `along` runs with the channel.
    const int along = l.vertical ? clientHeight : clientWidth;
    const int across = l.vertical ? clientWidth : clientHeight;
    if (!(style & TBS_NOTICKS)) {
        l.ticsBefore = (style & (TBS_BOTH | TBS_TOP)) != 0;
        l.ticsAfter = (style & TBS_BOTH) || !(style & TBS_TOP);
    }
    const int bands = (l.ticsBefore ? kTbTicBand : 0) + (l.ticsAfter ? kTbTicBand : 0);
    if (style & TBS_FIXEDLENGTH)
        l.length = std::max(1, s.thumbLength);
    else
        l.length = std::clamp(across - 2 * kTbMargin - bands, kTbMinThumbLength, kTbDefaultThumbLength);
    l.breadth = l.length / 2 + 1;
    l.thumbTop = kTbMargin + (l.ticsBefore ? kTbTicBand : 0);

    const int half = l.breadth / 2;
    l.x0 = kTbMargin + half;
    const int x1 = std::max(l.x0, along - kTbMargin - half);
    l.span = std::max(0, x1 - l.x0 - 1);
    int thickness = kTbChannelThickness;
    if (style & TBS_ENABLESELRANGE)
        thickness = std::max(kTbChannelThickness, l.length / 2 - 1);
    const int ctop = l.thumbTop + (l.length - thickness) / 2;
    RECT channel{l.x0, ctop, x1, ctop + thickness};

    const int centre = PositionToPixel(l, s, s.pos);
    RECT thumb{centre - half, l.thumbTop, centre - half + l.breadth, l.thumbTop + l.length};
    l.channel = l.vertical ? Transposed(channel) : channel;
    l.thumb = l.vertical ? Transposed(thumb) : thumb;
    return l;
}

int PositionToPixel(const TrackbarLayout& l, const TrackbarState& s, int p)
{
    const int64_t range = int64_t(RangeHigh(s)) - s.rangeMin;
    if (range <= 0 || l.span <= 0)
        return l.x0;
    const int64_t d = int64_t(ClampPosition(s, p)) - s.rangeMin;
    return l.x0 + static_cast<int>(d * l.span / range);
}

int PixelToPosition(const TrackbarLayout& l, const TrackbarState& s, int c)
{
    const int64_t range = int64_t(RangeHigh(s)) - s.rangeMin;
    if (range <= 0 || l.span <= 0)
        return s.rangeMin;
    const int64_t d = std::clamp(c - l.x0, 0, l.span);
    return s.rangeMin + static_cast<int>((d * range + l.span / 2) / l.span);
}

TrackbarLayout LayoutOf(const TrackbarState& s)
{
    RECT rc{};
    ::GetClientRect(s.self, &rc);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(s.self, GWL_STYLE));
    return LayoutTrackbar(style, s, rc.right - rc.left, rc.bottom - rc.top);
}

} // namespace zyn::comctl::detail
