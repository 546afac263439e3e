// DrawEdge: the 3-D borders of the classic look.
//
// An edge has up to two layers, each one pixel wide: the outer layer on the rectangle's
// border and the inner layer just inside it. Each layer paints its top and left lines in
// one colour and then its bottom and right lines in another, so the bottom-right colour
// owns the top-right and bottom-left corner pixels. The colours:
//
//   layer   kind     top-left            bottom-right        top-left with BF_SOFT
//   outer   raised   COLOR_3DLIGHT       COLOR_3DDKSHADOW    COLOR_3DHIGHLIGHT
//   outer   sunken   COLOR_3DSHADOW      COLOR_3DHIGHLIGHT   COLOR_3DDKSHADOW
//   inner   raised   COLOR_3DHIGHLIGHT   COLOR_3DSHADOW      COLOR_3DLIGHT
//   inner   sunken   COLOR_3DDKSHADOW    COLOR_3DLIGHT       COLOR_3DSHADOW
//
// (BF_SOFT swaps the top-left colours of the two layers; a layer given both the raised
// and the sunken bit is drawn raised.) BF_FLAT paints the outer layer COLOR_3DSHADOW and
// the inner COLOR_3DFACE on every side; BF_MONO the outer COLOR_WINDOWFRAME and the inner
// COLOR_WINDOW. Only the sides named by BF_LEFT/TOP/RIGHT/BOTTOM are drawn, and after each
// layer the rectangle shrinks by one on those sides. BF_MIDDLE fills what is left with
// COLOR_3DFACE (COLOR_WINDOW with BF_MONO); BF_ADJUST hands back what is left.
//
// BF_DIAGONAL draws the layers as lines across the rectangle instead, from corner to
// corner, ending at the corner named by the side flags (top or bottom, right or left):
// lines ending at the top use the top-left colours, lines ending at the bottom the
// bottom-right ones. The figure the edge belongs to lies on the line's right for lines
// ending at the right-hand corners, on its left otherwise; the inner line is the outer
// one moved one pixel sideways into the figure, and BF_MIDDLE fills the figure's part of
// the rectangle beyond the lines. BF_ADJUST leaves a diagonal's rectangle as it was.
// All colours are painted with PATCOPY.
#include <algorithm>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/shapes_draw.h"
#include "platform/gdi/wingdi.h"

using namespace zyn::gdi;
using namespace zyn::gdi::shapes;

namespace {

enum class Kind { None, Raised, Sunken };

struct LayerColors {
    bool present = false;
    COLORREF tl = 0, br = 0;
};

Kind LayerKind(UINT edge, UINT raisedBit, UINT sunkenBit)
{
    if (edge & raisedBit)
        return Kind::Raised;
    if (edge & sunkenBit)
        return Kind::Sunken;
    return Kind::None;
}

int NormalTopLeft(bool outer, Kind k)
{
    if (outer)
        return k == Kind::Raised ? COLOR_3DLIGHT : COLOR_3DSHADOW;
    return k == Kind::Raised ? COLOR_3DHIGHLIGHT : COLOR_3DDKSHADOW;
}

int NormalBottomRight(bool outer, Kind k)
{
    if (outer)
        return k == Kind::Raised ? COLOR_3DDKSHADOW : COLOR_3DHIGHLIGHT;
    return k == Kind::Raised ? COLOR_3DSHADOW : COLOR_3DLIGHT;
}

LayerColors Colors(bool outer, UINT edge, UINT flags)
{
    LayerColors c;
    const Kind k = outer ? LayerKind(edge, BDR_RAISEDOUTER, BDR_SUNKENOUTER)
                         : LayerKind(edge, BDR_RAISEDINNER, BDR_SUNKENINNER);
    if (k == Kind::None)
        return c;
    c.present = true;
    if (flags & BF_MONO) {
        c.tl = c.br = SysColor(outer ? COLOR_WINDOWFRAME : COLOR_WINDOW);
    } else if (flags & BF_FLAT) {
        c.tl = c.br = SysColor(outer ? COLOR_3DSHADOW : COLOR_3DFACE);
    } else {
        c.tl = SysColor(NormalTopLeft((flags & BF_SOFT) ? !outer : outer, k));
        c.br = SysColor(NormalBottomRight(outer, k));
    }
    return c;
}

COLORREF MiddleColor(UINT flags) { return SysColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_3DFACE); }

// One layer around device rectangle r: top-left lines, then bottom-right lines.
void DrawLayer(Dc& dc, const RECT& r, UINT sides, const LayerColors& c)
{
    if (r.left >= r.right || r.top >= r.bottom)
        return;
    if (sides & BF_TOP)
        FillColor(dc, RECT{r.left, r.top, r.right, r.top + 1}, c.tl);
    if (sides & BF_LEFT)
        FillColor(dc, RECT{r.left, r.top, r.left + 1, r.bottom}, c.tl);
    if (sides & BF_BOTTOM)
        FillColor(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, c.br);
    if (sides & BF_RIGHT)
        FillColor(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, c.br);
}

void DrawDiagonal(Dc& dc, const RECT& rIn, UINT flags, const LayerColors layers[2])
{
    RECT r = rIn;
    // Beyond any real size, the diagonal is taken across the visible part only.
    if (int64_t(r.right) - r.left > 65536 || int64_t(r.bottom) - r.top > 65536) {
        const RECT clip = DeviceClipBox(dc);
        r = RECT{std::max(r.left, clip.left - 1), std::max(r.top, clip.top - 1), std::min(r.right, clip.right + 1),
            std::min(r.bottom, clip.bottom + 1)};
    }
    if (r.left >= r.right || r.top >= r.bottom)
        return;
    const bool endTop = (flags & BF_TOP) != 0;
    const bool endRight = (flags & BF_RIGHT) != 0;
    const POINT end{endRight ? r.right - 1 : r.left, endTop ? r.top : r.bottom - 1};
    const POINT start{endRight ? r.left : r.right - 1, endTop ? r.bottom - 1 : r.top};
    // The figure's side: to the right for lines ending top-right or bottom-right.
    const int side = endRight ? 1 : -1;

    std::vector<LinePixel> line;
    WalkLine(start, end, r, 0, line);
    line.push_back(LinePixel{end.x, end.y, 0});

    int drawn = 0;
    for (int i = 0; i < 2; ++i) {
        const LayerColors& c = layers[i];
        if (!c.present)
            continue;
        const COLORREF color = endTop ? c.tl : c.br;
        for (const LinePixel& p : line) {
            const int x = p.x + side * drawn;
            if (x >= r.left && x < r.right)
                FillColor(dc, RECT{x, p.y, x + 1, p.y + 1}, color);
        }
        ++drawn;
    }
    if (!(flags & BF_MIDDLE))
        return;
    // Each row: the figure's pixels beyond the lines.
    std::vector<std::pair<int, int>> rows(static_cast<size_t>(r.bottom - r.top), {INT32_MAX, INT32_MIN});
    for (const LinePixel& p : line) {
        auto& [lo, hi] = rows[static_cast<size_t>(p.y - r.top)];
        lo = std::min(lo, p.x);
        hi = std::max(hi, p.x);
    }
    const COLORREF mid = MiddleColor(flags);
    for (int y = r.top; y < r.bottom; ++y) {
        const auto [lo, hi] = rows[static_cast<size_t>(y - r.top)];
        if (lo > hi)
            continue;
        if (side > 0)
            FillColor(dc, RECT{std::max(r.left, hi + drawn), y, r.right, y + 1}, mid);
        else
            FillColor(dc, RECT{r.left, y, std::min(r.right, lo - drawn + 1), y + 1}, mid);
    }
}

} // namespace

BOOL DrawEdge(HDC hdc, LPRECT qrc, UINT edge, UINT grfFlags)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    if (!qrc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    RECT r;
    if (!ToDeviceRect(*dc, *qrc, r))
        return FALSE;
    const LayerColors layers[2] = {Colors(true, edge, grfFlags), Colors(false, edge, grfFlags)};
    DrawScope scope(*dc);
    if (grfFlags & BF_DIAGONAL) {
        DrawDiagonal(*dc, r, grfFlags, layers);
        return TRUE;
    }
    const UINT sides = grfFlags & BF_RECT;
    int shrink = 0;
    for (const LayerColors& c : layers) {
        if (!c.present)
            continue;
        DrawLayer(*dc, r, sides, c);
        if (sides & BF_LEFT)
            ++r.left;
        if (sides & BF_TOP)
            ++r.top;
        if (sides & BF_RIGHT)
            --r.right;
        if (sides & BF_BOTTOM)
            --r.bottom;
        ++shrink;
    }
    if ((grfFlags & BF_MIDDLE) && r.left < r.right && r.top < r.bottom)
        FillColor(*dc, r, MiddleColor(grfFlags));
    if (grfFlags & BF_ADJUST) {
        if (sides & BF_LEFT)
            qrc->left += shrink;
        if (sides & BF_TOP)
            qrc->top += shrink;
        if (sides & BF_RIGHT)
            qrc->right -= shrink;
        if (sides & BF_BOTTOM)
            qrc->bottom -= shrink;
    }
    return TRUE;
}
