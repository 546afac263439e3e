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
// BF_DIAGONAL draws the layers as 45-degree lines instead. The side flags name the
// corner the line ends at (top or bottom, right or left); it starts at the opposite
// corner and runs min(width, height) pixels, both ends included, so on a rectangle that
// is not square it stops short of the end corner: {3,3,25,21} ending top-right runs from
// (3,20) to (20,3). Lines ending at the top use the top-left colours, lines ending at
// the bottom the bottom-right ones. The figure the edge belongs to lies on the side of
// the start corner's vertical side: to the line's left for lines ending at a right-hand
// corner, to its right otherwise. The inner line is the outer one moved one pixel
// sideways into the figure, and BF_MIDDLE fills the figure's triangle beyond the lines:
// in each row of the line, from the start corner's side up to the innermost line (so a
// line ending bottom-right fills the lower-left triangle). BF_ADJUST leaves a diagonal's
// rectangle as it was.
// All colours are painted with PATCOPY.
#include <algorithm>

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

// Two neighbouring one-pixel columns drawn in one pass down the rows: the outer one over
// rows [top, bottom), the inner one over [top + 1, bottom - 1). A tall frame's pair then
// visits each row's cache line once instead of twice. Colour surfaces only.
void DrawColumnPair(Dc& dc, int outerX, int innerX, int top, int bottom, COLORREF outer, COLORREF inner)
{
    Surface& s = *dc.surface;
    const uint8_t t = Rop3Table(PATCOPY);
    const uint32_t po = EvalRop3(t, ColorToPixel(s, PlainColor(outer)), 0, 0) & 0xFFFFFFu;
    const uint32_t pi = EvalRop3(t, ColorToPixel(s, PlainColor(inner)), 0, 0) & 0xFFFFFFu;
    const int xo = outerX + dc.origin.x, xi = innerX + dc.origin.x;
    const int innerTop = top + 1 + dc.origin.y, innerBottom = bottom - 1 + dc.origin.y;
    ForEachClipRect(dc, RECT{std::min(outerX, innerX), top, std::max(outerX, innerX) + 1, bottom}, [&](const RECT& r) {
        const bool drawOuter = xo >= r.left && xo < r.right;
        const bool drawInner = xi >= r.left && xi < r.right;
        const int iy0 = std::max<int>(r.top, innerTop), iy1 = std::min<int>(r.bottom, innerBottom);
        for (int y = r.top; y < r.bottom; ++y) {
            uint32_t* row = s.Row32(y);
            if (drawOuter)
                row[xo] = po;
            if (drawInner && y >= iy0 && y < iy1)
                row[xi] = pi;
        }
    });
}

// Both layers on all four sides of a rectangle at least four pixels each way: the pixels
// of two DrawLayer calls, with each side's two columns drawn as a pair. The left pair goes
// where the outer left line did (the inner top line later paints its top pixel in the
// colour it already has; the inner bottom line paints its bottom pixel as before); the
// right pair goes last, since nothing after the right lines touches their pixels.
void DrawTwoLayers(Dc& dc, const RECT& r, const LayerColors& o, const LayerColors& i)
{
    FillColor(dc, RECT{r.left, r.top, r.right, r.top + 1}, o.tl);
    DrawColumnPair(dc, r.left, r.left + 1, r.top, r.bottom, o.tl, i.tl);
    FillColor(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, o.br);
    FillColor(dc, RECT{r.left + 1, r.top + 1, r.right - 1, r.top + 2}, i.tl);
    FillColor(dc, RECT{r.left + 1, r.bottom - 2, r.right - 1, r.bottom - 1}, i.br);
    DrawColumnPair(dc, r.right - 1, r.right - 2, r.top, r.bottom, o.br, i.br);
}

void DrawDiagonal(Dc& dc, const RECT& r, UINT flags, const LayerColors layers[2])
{
    if (r.left >= r.right || r.top >= r.bottom)
        return;
    const bool endTop = (flags & BF_TOP) != 0;
    const bool endRight = (flags & BF_RIGHT) != 0;
    // Step k of the line is (sx + k * dx, sy + k * dy), k = 0 .. len - 1.
    const int dx = endRight ? 1 : -1, dy = endTop ? -1 : 1;
    const int64_t sx = endRight ? r.left : int64_t(r.right) - 1;
    const int64_t sy = endTop ? int64_t(r.bottom) - 1 : r.top;
    const int64_t len = std::min(int64_t(r.right) - r.left, int64_t(r.bottom) - r.top);
    // The figure lies towards the start corner's vertical side.
    const int side = -dx;

    // Only the rows the clip lets through are walked, so a huge rectangle costs what
    // is visible.
    const RECT clip = DeviceClipBox(dc);
    if (clip.top >= clip.bottom)
        return;
    int64_t k0 = 0, k1 = len;
    if (dy > 0) {
        k0 = std::max(k0, clip.top - sy);
        k1 = std::min(k1, clip.bottom - sy);
    } else {
        k0 = std::max(k0, sy - (clip.bottom - 1));
        k1 = std::min(k1, sy - clip.top + 1);
    }
    const COLORREF mid = MiddleColor(flags);
    for (int64_t k = k0; k < k1; ++k) {
        const int x = static_cast<int>(sx + k * dx), y = static_cast<int>(sy + k * dy);
        int drawn = 0;
        for (int i = 0; i < 2; ++i) {
            const LayerColors& c = layers[i];
            if (!c.present)
                continue;
            const int px = x + side * drawn;
            if (px >= r.left && px < r.right)
                FillColor(dc, RECT{px, y, px + 1, y + 1}, endTop ? c.tl : c.br);
            ++drawn;
        }
        if (!(flags & BF_MIDDLE))
            continue;
        // From the start corner's side to just before the innermost line (with no
        // layer at all, the line's own pixel belongs to the figure).
        if (side < 0)
            FillColor(dc, RECT{static_cast<int>(sx), y, x - drawn + 1, y + 1}, mid);
        else
            FillColor(dc, RECT{x + drawn, y, static_cast<int>(sx) + 1, y + 1}, mid);
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
    const bool paired = sides == BF_RECT && layers[0].present && layers[1].present && dc->surface &&
        !dc->surface->IsMono() && int64_t(r.right) - r.left >= 4 && int64_t(r.bottom) - r.top >= 4;
    if (paired)
        DrawTwoLayers(*dc, r, layers[0], layers[1]);
    for (const LayerColors& c : layers) {
        if (!c.present)
            continue;
        if (!paired)
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
