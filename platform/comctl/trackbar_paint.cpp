// Classic painting of the trackbar, with the parent's custom drawing around each part.
//
// A pointed thumb is painted pixel by pixel in "row space", where its tip points along y
// (a vertical trackbar's thumb is turned into that space and back): each row runs from a
// to b; the row opposite the tip is the base. Lit sides (the top and left, and the
// diagonal that faces them) are COLOR_3DHIGHLIGHT, the others COLOR_3DDKSHADOW with a line
// of COLOR_3DSHADOW inside, the rest COLOR_3DFACE.
#include <algorithm>

#include "platform/comctl/trackbar_state.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/control_common.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl::detail {
namespace {

void Fill(HDC hdc, const RECT& r, int sysColor)
{
    FillRect(hdc, &r, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(sysColor + 1)));
}

void DrawTics(HDC hdc, DWORD style, const TrackbarState& s, const TrackbarLayout& l)
{
    if (style & TBS_NOTICKS)
        return;
    std::vector<int> at{s.rangeMin, RangeHigh(s)};
    for (int t : s.tics) {
        if (t > s.rangeMin && t < RangeHigh(s))
            at.push_back(t);
    }
    const int thumbEnd = l.thumbTop + l.length;
    for (int p : at) {
        const int c = PositionToPixel(l, s, p);
        auto draw = [&](int from) {
            RECT r{c, from, c + 1, from + kTbTicLength};
            Fill(hdc, l.vertical ? Transposed(r) : r, COLOR_BTNTEXT);
        };
        if (l.ticsBefore)
            draw(l.thumbTop - kTbTicGap - kTbTicLength);
        if (l.ticsAfter)
            draw(thumbEnd + kTbTicGap);
    }
}

void DrawChannel(HDC hdc, DWORD style, const TrackbarState& s, const TrackbarLayout& l)
{
    RECT r = l.channel;
    DrawEdge(hdc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if (!(style & TBS_ENABLESELRANGE))
        return;
    Fill(hdc, r, COLOR_WINDOW);
    const int a = ClampPosition(s, s.selStart), b = ClampPosition(s, s.selEnd);
    if (a >= b)
        return;
    const int from = PositionToPixel(l, s, a), to = PositionToPixel(l, s, b) + 1;
    RECT sel = r;
    if (l.vertical) {
        sel.top = std::max(r.top, from);
        sel.bottom = std::min(r.bottom, to);
    } else {
        sel.left = std::max(r.left, from);
        sel.right = std::min(r.right, to);
    }
    if (sel.left < sel.right && sel.top < sel.bottom)
        Fill(hdc, sel, COLOR_HIGHLIGHT);
}

void DrawPointedThumb(HDC hdc, const RECT& thumb, bool vertical, bool tipAtEnd)
{
    const RECT r = vertical ? Transposed(thumb) : thumb; // row space: the tip points along y
    const int half = (r.right - r.left) / 2;
    const int base = tipAtEnd ? r.top : r.bottom - 1;
    const COLORREF hi = GetSysColor(COLOR_3DHIGHLIGHT), dark = GetSysColor(COLOR_3DDKSHADOW),
                   shadow = GetSysColor(COLOR_3DSHADOW), face = GetSysColor(COLOR_3DFACE);
    for (int y = r.top; y < r.bottom; ++y) {
        const int k = tipAtEnd ? std::max(0, y - (r.bottom - 1 - half)) : std::max(0, r.top + half - y);
        const int a = r.left + k, b = r.right - 1 - k;
        for (int x = a; x <= b; ++x) {
            COLORREF c = face;
            if (tipAtEnd) {
                if (x == b)
                    c = dark;
                else if (x == a || y == base)
                    c = hi;
                else if (x == b - 1)
                    c = shadow;
            } else {
                if (y == base)
                    c = dark;
                else if (x == a)
                    c = hi;
                else if (x == b)
                    c = dark;
                else if (x == b - 1 || y == base - 1)
                    c = shadow;
            }
            if (vertical)
                SetPixelV(hdc, y, x, c);
            else
                SetPixelV(hdc, x, y, c);
        }
    }
}

void DrawThumb(HDC hdc, DWORD style, const TrackbarLayout& l)
{
    if (style & TBS_BOTH) {
        RECT r = l.thumb;
        DrawEdge(hdc, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE);
        return;
    }
    DrawPointedThumb(hdc, l.thumb, l.vertical, !(style & TBS_TOP));
}

} // namespace

void PaintTrackbar(TrackbarState& s, HDC hdc)
{
    RECT client{};
    ::GetClientRect(s.self, &client);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(s.self, GWL_STYLE));
    const bool focused = ::GetFocus() == s.self;
    UINT state = focused ? CDIS_FOCUS : 0;
    if (!::IsWindowEnabled(s.self))
        state |= CDIS_DISABLED;
    if (HBRUSH bk = zyn::user::ControlBrush(s.self, hdc, WM_CTLCOLORSTATIC))
        FillRect(hdc, &client, bk);

    CustomDraw cd(s.self, hdc, client, state);
    if (!cd.PrePaint())
        return;
    const TrackbarLayout l = LayoutOf(s);
    if (cd.ItemPrePaint(TBCD_TICS, client, state))
        DrawTics(hdc, style, s, l);
    cd.ItemPostPaint(TBCD_TICS, client, state);
    if (cd.ItemPrePaint(TBCD_CHANNEL, l.channel, state))
        DrawChannel(hdc, style, s, l);
    cd.ItemPostPaint(TBCD_CHANNEL, l.channel, state);
    if (!(style & TBS_NOTHUMB)) {
        const UINT thumbState = state | (s.drag == TbDrag::Thumb ? CDIS_SELECTED : 0);
        if (cd.ItemPrePaint(TBCD_THUMB, l.thumb, thumbState))
            DrawThumb(hdc, style, l);
        cd.ItemPostPaint(TBCD_THUMB, l.thumb, thumbState);
    }
    if (focused)
        DrawFocusRect(hdc, &client);
    cd.PostPaint();
}

} // namespace zyn::comctl::detail
