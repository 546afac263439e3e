#include "toolkit/menus/cool_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/comctl/trackbar.h"
#include "platform/user/combobox.h"

namespace zyn::toolkit::cool {
namespace {

int RoundHalfUp(double v) { return static_cast<int>(std::floor(v + 0.5)); }

} // namespace

FlatScrollBarLayout LayoutFlatScrollBar(const RECT& bar, bool horizontal, int arrowMetric, const SCROLLINFO& si)
{
    FlatScrollBarLayout out;
    const int start = horizontal ? bar.left : bar.top;
    const int end = horizontal ? bar.right : bar.bottom;
    const int length = std::max(0, end - start);
    int arrow = std::max(0, arrowMetric);
    if (2 * arrow > length)
        arrow = length / 2;
    auto span = [&](int from, int to) {
        return horizontal ? RECT{from, bar.top, to, bar.bottom} : RECT{bar.left, from, bar.right, to};
    };
    out.firstArrow = span(start, start + arrow);
    out.secondArrow = span(start + length - arrow, start + length);
    out.track = length - 2 * arrow;

    // 64-bit: nMax - nMin + 1 overflows an int for the widest ranges.
    const int64_t range = int64_t(si.nMax) - int64_t(si.nMin) + 1;
    const int64_t page = int64_t(si.nPage);
    if (page == 0 || page >= range || out.track < kMinThumbLength)
        return out;
    const int thumb = std::max(kMinThumbLength, RoundHalfUp(double(out.track) * double(page) / double(range)));
    const double scrollable = double(range - page);
    int offset = RoundHalfUp(double(out.track - thumb) * double(int64_t(si.nPos) - si.nMin) / scrollable);
    offset = std::clamp(offset, 0, out.track - thumb);
    const int trackStart = start + arrow;
    out.hasThumb = true;
    out.thumb = span(trackStart + offset, trackStart + offset + thumb);
    return out;
}

bool SplitSpinHalves(const RECT& rect, bool horizontal, RECT& first, RECT& second)
{
    const int length = horizontal ? rect.right - rect.left : rect.bottom - rect.top;
    const int half = length / 2;
    if (half < 4)
        return false;
    if (horizontal) {
        first = RECT{rect.left, rect.top, rect.left + half, rect.bottom};
        second = RECT{rect.right - half, rect.top, rect.right, rect.bottom};
    } else {
        first = RECT{rect.left, rect.top, rect.right, rect.top + half};
        second = RECT{rect.left, rect.bottom - half, rect.right, rect.bottom};
    }
    return true;
}

RECT ButtonBoxRect(const RECT& client, bool textOnLeft)
{
    const int top = (client.top + client.bottom - kButtonBoxSize) / 2;
    const int left = textOnLeft ? client.right - kButtonBoxSize : client.left;
    return RECT{left, top, left + kButtonBoxSize, top + kButtonBoxSize};
}

RadioArc RadioHighlightArc(const RECT& box)
{
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    const int cx = (box.left + box.right) / 2;
    const int cy = (box.top + box.bottom) / 2;
    RadioArc arc;
    arc.ellipse = RECT{box.left + 2, box.top + 1, box.right, box.bottom - 1};
    arc.start = POINT{cx + 1 + w / 4, box.top + 1 + h / 4};
    arc.end = POINT{box.left + 1 + w / 4, cy + 1 + h / 4};
    return arc;
}

ThumbShape SliderThumbShape(DWORD style)
{
    const bool vertical = (style & TBS_VERT) != 0;
    if (style & TBS_BOTH)
        return ThumbShape::Rectangle;
    if (style & TBS_TOP)
        return vertical ? ThumbShape::Left : ThumbShape::Up;
    return vertical ? ThumbShape::Right : ThumbShape::Down;
}

std::vector<OutlineStroke> SliderThumbOutline(ThumbShape shape, const RECT& thumb)
{
    struct M {
        int L, T, R, B, mx, my, hw, hh;
        explicit M(const RECT& r)
            : L(r.left), T(r.top), R(r.right), B(r.bottom), mx((L + R) / 2), my((T + B) / 2), hw((R - L) / 2),
              hh((B - T) / 2)
        {
        }
    };
    const M o(thumb);
    const M s(RECT{thumb.left + 1, thumb.top + 1, thumb.right - 1, thumb.bottom - 1});
    using P = OutlinePen;
    switch (shape) {
    case ThumbShape::Up:
        return {
            {P::Shadow, {{o.mx, o.T}, {o.R - 1, o.T + o.hw}, {o.R - 1, o.B - 1}, {o.L - 1, o.B - 1}}},
            {P::Highlight, {{o.L, o.B - 2}, {o.L, o.T + o.hw}, {o.mx, o.T}}},
            {P::Face, {{s.mx, s.T}, {s.R - 1, s.T + s.hw}, {s.R - 1, s.B - 1}, {s.L, s.B - 1}, {s.L, s.T + s.hw},
                          {s.mx, s.T}}},
        };
    case ThumbShape::Down:
        return {
            {P::Highlight, {{o.mx, o.B - 1}, {o.L, o.B - o.hw - 1}, {o.L, o.T}, {o.R, o.T}}},
            {P::Shadow, {{o.R - 1, o.T}, {o.R - 1, o.B - o.hw - 1}, {o.mx, o.B - 1}}},
            {P::Face, {{s.mx, s.B - 1}, {s.L, s.B - s.hw - 1}, {s.L, s.T}, {s.R - 1, s.T}, {s.R - 1, s.B - s.hw - 1},
                          {s.mx, s.B - 1}}},
        };
    case ThumbShape::Left:
        return {
            {P::Shadow, {{o.L, o.my}, {o.L + o.hh, o.B - 1}, {o.R - 1, o.B - 1}, {o.R - 1, o.T - 1}}},
            {P::Highlight, {{o.R - 2, o.T}, {o.L + o.hh, o.T}, {o.L, o.my}}},
            {P::Face, {{s.L, s.my}, {s.L + s.hh, s.B - 1}, {s.R - 1, s.B - 1}, {s.R - 1, s.T}, {s.L + s.hh, s.T},
                          {s.L, s.my}}},
        };
    case ThumbShape::Right:
        return {
            {P::Highlight, {{o.R - 2, o.my - 1}, {o.R - o.hh - 1, o.T}, {o.L, o.T}, {o.L, o.B - 1}}},
            {P::Shadow, {{o.L, o.B - 1}, {o.R - o.hh - 1, o.B - 1}, {o.R, o.my - 1}}},
            {P::Face, {{s.R - 1, s.my}, {s.R - s.hh - 1, s.T}, {s.L, s.T}, {s.L, s.B - 1}, {s.R - s.hh - 1, s.B - 1},
                          {s.R - 1, s.my}}},
        };
    case ThumbShape::Rectangle:
        break;
    }
    return {};
}

RECT ComboButtonRect(const RECT& client, DWORD comboStyle, int buttonWidth)
{
    if ((comboStyle & 0x0F) == CBS_SIMPLE)
        return RECT{0, 0, 0, 0};
    const int left = std::max(0, static_cast<int>(client.right) - kComboMargin - buttonWidth);
    return RECT{left, kComboMargin, left + buttonWidth, client.bottom - kComboMargin};
}

ComboArrow ComboDropArrow(const RECT& button, int buttonWidth, bool droppedDown)
{
    const int w = buttonWidth;
    const int x1 = button.left + w / 3;
    int x2 = button.left + 1 + 2 * w / 3;
    const int xm = (x1 + x2) / 2;
    if ((x2 - x1) % 2 != 0)
        --x2;
    const int y1 = button.top + button.bottom / 2 - (x2 - x1) / 4 - 1;
    const int y2 = y1 + (x2 - x1) / 2;
    const int d = droppedDown ? 1 : 0;
    return ComboArrow{{{x1 + d, y1 + d}, {x2 + d, y1 + d}, {xm + d, y2 + d}}};
}

} // namespace zyn::toolkit::cool
