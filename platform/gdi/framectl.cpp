// DrawFrameControl: buttons, caption buttons, scroll-bar parts and menu glyphs of the
// classic look, drawn directly (no symbol font), so every outline is exact.
//
// Frames (through DrawEdge, BF_RECT):
//   push button, caption button   EDGE_RAISED | BF_SOFT; pushed or checked EDGE_SUNKEN | BF_SOFT
//   scroll arrow, combo button    EDGE_RAISED; pushed: the flat frame (COLOR_3DSHADOW, then 3DFACE)
//   DFCS_FLAT / DFCS_MONO         BF_FLAT / BF_MONO instead
// The inside is filled with COLOR_3DFACE (BF_MIDDLE) unless DFCS_TRANSPARENT; a checked,
// unpushed push button gets the halftone of COLOR_3DHIGHLIGHT and COLOR_3DFACE.
// DFCS_ADJUSTRECT hands back the rectangle inside the frame.
//
// Glyphs are pixel pictures at a base size, each made for a square cell (8 pixels for
// the check, bullet and arrows, 10 for the caption glyphs), scaled by a whole factor
//   k = max(1, min(inside width, inside height) / cell)
// and centred in the inside ((inside - glyph) / 2, rounded down); a caption glyph whose
// set pixels do not fit the inside at scale 1 is shrunk to it instead (each pixel taken
// from the middle of the stretch it stands for). DFCS_PUSHED moves them one pixel right
// and down. They are drawn in COLOR_BTNTEXT; DFCS_INACTIVE embosses them: the glyph in
// COLOR_3DHIGHLIGHT one pixel right and down, then in COLOR_3DSHADOW in place.
//
// Check boxes and radio buttons use the largest square centred in the rectangle. A check
// box is a sunken edge (flat: one COLOR_3DSHADOW pixel; mono: COLOR_WINDOWFRAME) round a
// COLOR_WINDOW inside (COLOR_3DFACE when inactive or pushed; the halftone for a checked
// three-state box) with the check mark in COLOR_WINDOWTEXT (COLOR_3DSHADOW when inactive
// or three-state). A radio button is two rings, each split along the rising diagonal into
// a top-left and a bottom-right half coloured like the sunken edge's layers, round the
// same inside, with a dot a third of the size when checked.
//
// Menu glyphs (check, bullet, submenu arrows) are masks: black on a white rectangle.
// The size grip draws three ridges of two COLOR_3DSHADOW and one COLOR_3DHIGHLIGHT
// diagonal lines (and a gap) from the bottom-right corner (bottom-left for
// DFCS_SCROLLSIZEGRIPRIGHT): diagonal j, the pixels j steps from the corner pixel, is
// shadow for j mod 4 = 1 or 2, highlight for 3, for j = 1 .. 12.
// All painting is PATCOPY.
#include <algorithm>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/shapes_draw.h"
#include "platform/gdi/wingdi.h"

using namespace zyn::gdi;
using namespace zyn::gdi::shapes;

namespace {

// ---- glyphs --------------------------------------------------------------------------------------
struct Glyph {
    std::initializer_list<std::string_view> rows; // 'X' is set
    int cell;                                     // the square the glyph is drawn for at scale 1
    int Width() const { return static_cast<int>(rows.begin()->size()); }
    int Height() const { return static_cast<int>(rows.size()); }
};

const Glyph kCheck{{"......X", ".....XX", "X...XXX", "XX.XXX.", "XXXXX..", ".XXX...", "..X...."}, 8};
const Glyph kBullet{{".XXX.", "XXXXX", "XXXXX", "XXXXX", ".XXX."}, 8};
const Glyph kMenuArrow{{"X...", "XX..", "XXX.", "XXXX", "XXX.", "XX..", "X..."}, 8};
const Glyph kMenuArrowLeft{{"...X", "..XX", ".XXX", "XXXX", ".XXX", "..XX", "...X"}, 8};
const Glyph kArrowUp{{"...X...", "..XXX..", ".XXXXX.", "XXXXXXX"}, 8};
const Glyph kArrowDown{{"XXXXXXX", ".XXXXX.", "..XXX..", "...X..."}, 8};
const Glyph kArrowLeft{{"...X", "..XX", ".XXX", "XXXX", ".XXX", "..XX", "...X"}, 8};
const Glyph kArrowRight{{"X...", "XX..", "XXX.", "XXXX", "XXX.", "XX..", "X..."}, 8};
const Glyph kClose{{".........", "XX....XX.", ".XX..XX..", "..XXXX...", "...XX....", "..XXXX...", ".XX..XX..",
    "XX....XX.", "........."}, 10};
const Glyph kMin{{".........", ".........", ".........", ".........", ".........", ".........", ".........",
    ".XXXXXX..", ".XXXXXX.."}, 10};
const Glyph kMax{{"XXXXXXXXX", "XXXXXXXXX", "X.......X", "X.......X", "X.......X", "X.......X", "X.......X",
    "X.......X", "XXXXXXXXX"}, 10};
const Glyph kRestore{{"..XXXXXX.", "..XXXXXX.", "..X....X.", "XXXXXX.X.", "XXXXXX.X.", "X....XXX.", "X....X...",
    "X....X...", "XXXXXX..."}, 10};
const Glyph kHelp{{"..XXXX...", ".XX..XX..", ".XX..XX..", ".....XX..", "....XX...", "...XX....", "...XX....",
    ".........", "...XX...."}, 10};

struct Placement {
    int x, y, k;
};

Placement Place(const Glyph& g, const RECT& in)
{
    const int w = in.right - in.left, h = in.bottom - in.top;
    const int k = std::max(1, std::min(w, h) / g.cell);
    return Placement{in.left + (w - g.Width() * k) / 2, in.top + (h - g.Height() * k) / 2, k};
}

void PaintGlyph(Dc& dc, const Glyph& g, Placement p, COLORREF color)
{
    int row = 0;
    for (std::string_view s : g.rows) {
        int col = 0;
        while (col < static_cast<int>(s.size())) {
            if (s[static_cast<size_t>(col)] != 'X') {
                ++col;
                continue;
            }
            int end = col;
            while (end < static_cast<int>(s.size()) && s[static_cast<size_t>(end)] == 'X')
                ++end;
            FillColor(dc, RECT{p.x + col * p.k, p.y + row * p.k, p.x + end * p.k, p.y + (row + 1) * p.k}, color);
            col = end;
        }
        ++row;
    }
}

// The set part of a glyph: rows [top, bottom), columns [left, right).
struct Ink {
    int top, left, bottom, right;
};
Ink InkOf(const Glyph& g)
{
    Ink ink{g.Height(), g.Width(), 0, 0};
    int row = 0;
    for (std::string_view s : g.rows) {
        for (int col = 0; col < static_cast<int>(s.size()); ++col) {
            if (s[static_cast<size_t>(col)] != 'X')
                continue;
            ink.top = std::min(ink.top, row);
            ink.bottom = std::max(ink.bottom, row + 1);
            ink.left = std::min(ink.left, col);
            ink.right = std::max(ink.right, col + 1);
        }
        ++row;
    }
    return ink;
}

// The set part of a glyph shrunk to w x h at (x, y): each pixel is the glyph's pixel at
// the middle of the stretch it stands for.
void PaintShrunk(Dc& dc, const Glyph& g, const Ink& ink, int x, int y, int w, int h, COLORREF color)
{
    const int iw = ink.right - ink.left, ih = ink.bottom - ink.top;
    for (int j = 0; j < h; ++j) {
        const std::string_view s = *(g.rows.begin() + ink.top + (2 * j + 1) * ih / (2 * h));
        for (int i = 0; i < w; ++i)
            if (s[static_cast<size_t>(ink.left + (2 * i + 1) * iw / (2 * w))] == 'X')
                FillColor(dc, RECT{x + i, y + j, x + i + 1, y + j + 1}, color);
    }
}

// The glyph in COLOR_BTNTEXT, embossed when inactive, moved when pushed. With `fit`, a
// glyph whose set part would reach past the inside (a caption button smaller than the
// glyph's cell) has that part shrunk to the room left, one pixel less when it moves or
// is embossed, and placed where it sits in its cell, so the frame stays whole.
void DrawGlyph(Dc& dc, const Glyph& g, const RECT& inside, UINT state, bool fit = false)
{
    const Ink ink = InkOf(g);
    const int w = inside.right - inside.left, h = inside.bottom - inside.top;
    const Placement at = Place(g, inside);
    const bool spills = at.x + ink.left * at.k < inside.left || at.y + ink.top * at.k < inside.top ||
        at.x + ink.right * at.k > inside.right || at.y + ink.bottom * at.k > inside.bottom;
    if (fit && spills) {
        const int spare = (state & (DFCS_PUSHED | DFCS_INACTIVE)) ? 1 : 0;
        const int roomW = w - spare, roomH = h - spare;
        const int tw = std::min(ink.right - ink.left, roomW), th = std::min(ink.bottom - ink.top, roomH);
        if (tw <= 0 || th <= 0)
            return;
        int x = inside.left + std::min(ink.left * roomW / g.Width(), roomW - tw);
        int y = inside.top + std::min(ink.top * roomH / g.Height(), roomH - th);
        if (state & DFCS_PUSHED) {
            ++x;
            ++y;
        }
        if (state & DFCS_INACTIVE) {
            PaintShrunk(dc, g, ink, x + 1, y + 1, tw, th, SysColor(COLOR_3DHIGHLIGHT));
            PaintShrunk(dc, g, ink, x, y, tw, th, SysColor(COLOR_3DSHADOW));
        } else {
            PaintShrunk(dc, g, ink, x, y, tw, th, SysColor(COLOR_BTNTEXT));
        }
        return;
    }
    Placement p = at;
    if (state & DFCS_PUSHED) {
        ++p.x;
        ++p.y;
    }
    if (state & DFCS_INACTIVE) {
        PaintGlyph(dc, g, Placement{p.x + 1, p.y + 1, p.k}, SysColor(COLOR_3DHIGHLIGHT));
        PaintGlyph(dc, g, p, SysColor(COLOR_3DSHADOW));
    } else {
        PaintGlyph(dc, g, p, SysColor(COLOR_BTNTEXT));
    }
}

// The halftone of two colours: `one` where the halftone brush has a 1 (the pixel at the
// brush origin and every other one from it), `zero` elsewhere.
void FillHalftone(Dc& dc, const RECT& device, COLORREF one, COLORREF zero)
{
    auto pattern = Surface::Create(2, 2, PixelFormat::Bgrx32);
    if (!pattern)
        return;
    pattern->SetRaw(0, 0, ColorToBgrx(one));
    pattern->SetRaw(1, 1, ColorToBgrx(one));
    pattern->SetRaw(1, 0, ColorToBgrx(zero));
    pattern->SetRaw(0, 1, ColorToBgrx(zero));
    BrushObj brush;
    brush.style = BS_PATTERN;
    brush.pattern = std::move(pattern);
    FillDeviceRect(dc, device, &brush, PATCOPY);
}

// A logical rectangle in device coordinates (the DC checked it can be converted).
RECT Device(const Dc& dc, const RECT& logical)
{
    RECT d{};
    ToDeviceRect(dc, logical, d);
    return d;
}

bool Visible(const RECT& r) { return r.left < r.right && r.top < r.bottom; }

// The edge of a push-like control; returns the logical rectangle inside it.
RECT DrawFrame(HDC hdc, const RECT& rc, UINT state, bool soft, bool flatWhenPushed)
{
    RECT r = rc;
    UINT flags = BF_RECT | BF_ADJUST;
    if (!(state & DFCS_TRANSPARENT))
        flags |= BF_MIDDLE;
    const bool pushed = (state & (DFCS_PUSHED | DFCS_CHECKED)) != 0;
    UINT edge = pushed ? EDGE_SUNKEN : EDGE_RAISED;
    if (state & DFCS_MONO) {
        flags |= BF_MONO;
    } else if ((state & DFCS_FLAT) || (pushed && flatWhenPushed)) {
        flags |= BF_FLAT;
    } else if (soft) {
        flags |= BF_SOFT;
    }
    DrawEdge(hdc, &r, edge, flags);
    return r;
}

// The largest square centred in a rectangle.
RECT CentredSquare(const RECT& r)
{
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int side = std::min(w, h);
    const int x = r.left + (w - side) / 2, y = r.top + (h - side) / 2;
    return RECT{x, y, x + side, y + side};
}

COLORREF BoxInsideColor(UINT state)
{
    return SysColor((state & (DFCS_INACTIVE | DFCS_PUSHED)) ? COLOR_3DFACE : COLOR_WINDOW);
}

BOOL DrawCheckBox(Dc& dc, HDC hdc, const RECT& rc, UINT state)
{
    RECT sq = CentredSquare(rc);
    if (!Visible(sq))
        return TRUE;
    if (state & DFCS_MONO)
        DrawEdge(hdc, &sq, BDR_SUNKENOUTER, BF_RECT | BF_MONO | BF_ADJUST);
    else if (state & DFCS_FLAT)
        DrawEdge(hdc, &sq, BDR_SUNKENOUTER, BF_RECT | BF_FLAT | BF_ADJUST);
    else
        DrawEdge(hdc, &sq, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if (!Visible(sq))
        return TRUE;
    DrawScope scope(dc);
    const RECT in = Device(dc, sq);
    const bool threeState = (state & DFCS_BUTTON3STATE) != 0;
    if (!(state & DFCS_TRANSPARENT)) {
        if (threeState && (state & DFCS_CHECKED) && !(state & (DFCS_INACTIVE | DFCS_PUSHED)))
            FillHalftone(dc, in, SysColor(COLOR_3DHIGHLIGHT), SysColor(COLOR_3DFACE));
        else
            FillColor(dc, in, BoxInsideColor(state));
    }
    if (state & DFCS_CHECKED) {
        const COLORREF mark = SysColor((state & DFCS_INACTIVE) || threeState ? COLOR_3DSHADOW : COLOR_WINDOWTEXT);
        PaintGlyph(dc, kCheck, Place(kCheck, in), mark);
    }
    return TRUE;
}

// Pixels of an ellipse boundary split along the rising diagonal through the box centre.
void PaintRing(Dc& dc, const RECT& box, const RECT& bound, COLORREF topLeft, COLORREF bottomRight)
{
    std::vector<POINT> px;
    EllipseBoundary(box, bound.top, bound.bottom, px);
    const int64_t cx2 = int64_t(box.left) + box.right, cy2 = int64_t(box.top) + box.bottom;
    for (const POINT& p : px) {
        const int64_t d = (2 * int64_t(p.x) + 1 - cx2) + (2 * int64_t(p.y) + 1 - cy2);
        FillColor(dc, RECT{p.x, p.y, p.x + 1, p.y + 1}, d < 0 ? topLeft : bottomRight);
    }
}

void PaintDisc(Dc& dc, const RECT& box, const RECT& bound, COLORREF color)
{
    RegionBuilder b;
    const int y0 = std::max(box.top, bound.top), y1 = std::min(box.bottom, bound.bottom);
    for (int y = y0; y < y1; ++y) {
        int x0, x1;
        if (EllipseSpan(box, y, x0, x1))
            b.AddBand(y, y + 1, {{x0, x1 + 1}});
    }
    FillColor(dc, b.Finish(), color);
}

BOOL DrawRadio(Dc& dc, const RECT& rc, UINT state, int kind)
{
    const RECT sq = Device(dc, CentredSquare(rc));
    if (!Visible(sq))
        return TRUE;
    DrawScope scope(dc);
    const RECT bound = DeviceClipBox(dc);
    if (kind == DFCS_BUTTONRADIOMASK) {
        // The mask: black circle on white.
        FillColor(dc, sq, 0xFFFFFF);
        PaintDisc(dc, sq, bound, 0x000000);
        return TRUE;
    }
    if (kind == DFCS_BUTTONRADIOIMAGE)
        FillColor(dc, sq, 0x000000); // the image: black where the mask is white
    const RECT ring2{sq.left + 1, sq.top + 1, sq.right - 1, sq.bottom - 1};
    const RECT in{sq.left + 2, sq.top + 2, sq.right - 2, sq.bottom - 2};
    const COLORREF inside = BoxInsideColor(state);
    if (!(state & DFCS_TRANSPARENT) && Visible(ring2))
        PaintDisc(dc, ring2, bound, inside);
    if (state & DFCS_MONO) {
        PaintRing(dc, sq, bound, SysColor(COLOR_WINDOWFRAME), SysColor(COLOR_WINDOWFRAME));
    } else if (state & DFCS_FLAT) {
        PaintRing(dc, sq, bound, SysColor(COLOR_3DSHADOW), SysColor(COLOR_3DSHADOW));
    } else {
        PaintRing(dc, sq, bound, SysColor(COLOR_3DSHADOW), SysColor(COLOR_3DHIGHLIGHT));
        if (Visible(ring2))
            PaintRing(dc, ring2, bound, SysColor(COLOR_3DDKSHADOW), SysColor(COLOR_3DLIGHT));
    }
    if ((state & DFCS_CHECKED) && Visible(in)) {
        const int side = sq.right - sq.left;
        int d = std::max(2, side / 3);
        if ((side - d) & 1)
            ++d;
        const int off = (side - d) / 2;
        const RECT dot{sq.left + off, sq.top + off, sq.left + off + d, sq.top + off + d};
        PaintDisc(dc, dot, bound, SysColor((state & DFCS_INACTIVE) ? COLOR_3DSHADOW : COLOR_WINDOWTEXT));
    }
    return TRUE;
}

BOOL DrawButton(Dc& dc, HDC hdc, LPRECT lprc, UINT state)
{
    if (state & DFCS_BUTTONPUSH) {
        const RECT in = DrawFrame(hdc, *lprc, state, true, false);
        DrawScope scope(dc);
        if ((state & DFCS_CHECKED) && !(state & DFCS_PUSHED) && !(state & DFCS_TRANSPARENT) && Visible(in))
            FillHalftone(dc, Device(dc, in), SysColor(COLOR_3DHIGHLIGHT), SysColor(COLOR_3DFACE));
        if (state & DFCS_ADJUSTRECT)
            *lprc = in;
        return TRUE;
    }
    if (state & DFCS_BUTTONRADIO)
        return DrawRadio(dc, *lprc, state, DFCS_BUTTONRADIO);
    if (state & DFCS_BUTTONRADIOMASK)
        return DrawRadio(dc, *lprc, state, DFCS_BUTTONRADIOMASK);
    if (state & DFCS_BUTTONRADIOIMAGE)
        return DrawRadio(dc, *lprc, state, DFCS_BUTTONRADIOIMAGE);
    return DrawCheckBox(dc, hdc, *lprc, state);
}

BOOL DrawCaption(Dc& dc, HDC hdc, LPRECT lprc, UINT state)
{
    const Glyph* g = nullptr;
    switch (state & 0xFF) {
    case DFCS_CAPTIONCLOSE: g = &kClose; break;
    case DFCS_CAPTIONMIN: g = &kMin; break;
    case DFCS_CAPTIONMAX: g = &kMax; break;
    case DFCS_CAPTIONRESTORE: g = &kRestore; break;
    case DFCS_CAPTIONHELP: g = &kHelp; break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
    }
    const RECT in = DrawFrame(hdc, *lprc, state, true, false);
    DrawScope scope(dc);
    if (Visible(in))
        DrawGlyph(dc, *g, Device(dc, in), state, true);
    if (state & DFCS_ADJUSTRECT)
        *lprc = in;
    return TRUE;
}

void DrawSizeGrip(Dc& dc, const RECT& rc, UINT state, bool mirrored)
{
    const RECT r = Device(dc, rc);
    if (!Visible(r))
        return;
    DrawScope scope(dc);
    if (!(state & DFCS_TRANSPARENT))
        FillColor(dc, r, SysColor(COLOR_3DFACE));
    const int size = std::min(r.right - r.left, r.bottom - r.top);
    const COLORREF shadow = SysColor(COLOR_3DSHADOW), light = SysColor(COLOR_3DHIGHLIGHT);
    // Diagonal j holds the pixels j steps (x plus y) from the bottom corner; three ridges.
    for (int j = 1; j < std::min(size, 13); ++j) {
        const int phase = j % 4;
        if (phase == 0)
            continue;
        const COLORREF c = phase == 3 ? light : shadow;
        for (int i = 0; i <= j; ++i) {
            const int dx = i, dy = j - i; // steps from the corner
            const int x = mirrored ? r.left + dx : r.right - 1 - dx;
            const int y = r.bottom - 1 - dy;
            FillColor(dc, RECT{x, y, x + 1, y + 1}, c);
        }
    }
}

BOOL DrawScroll(Dc& dc, HDC hdc, LPRECT lprc, UINT state)
{
    const UINT kind = state & 0x1F;
    if (kind == DFCS_SCROLLSIZEGRIP || kind == DFCS_SCROLLSIZEGRIPRIGHT) {
        DrawSizeGrip(dc, *lprc, state, kind == DFCS_SCROLLSIZEGRIPRIGHT);
        return TRUE;
    }
    const Glyph* g = nullptr;
    switch (kind) {
    case DFCS_SCROLLUP: g = &kArrowUp; break;
    case DFCS_SCROLLDOWN: g = &kArrowDown; break;
    case DFCS_SCROLLLEFT: g = &kArrowLeft; break;
    case DFCS_SCROLLRIGHT: g = &kArrowRight; break;
    case DFCS_SCROLLCOMBOBOX: g = &kArrowDown; break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
    }
    const RECT in = DrawFrame(hdc, *lprc, state, false, true);
    DrawScope scope(dc);
    if (Visible(in))
        DrawGlyph(dc, *g, Device(dc, in), state);
    if (state & DFCS_ADJUSTRECT)
        *lprc = in;
    return TRUE;
}

BOOL DrawMenuGlyph(Dc& dc, const RECT& rc, UINT state)
{
    const Glyph* g = nullptr;
    switch (state & 0xFF) {
    case DFCS_MENUARROW: g = &kMenuArrow; break;
    case DFCS_MENUCHECK: g = &kCheck; break;
    case DFCS_MENUBULLET: g = &kBullet; break;
    case DFCS_MENUARROWRIGHT: g = &kMenuArrowLeft; break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
    }
    const RECT r = Device(dc, rc);
    if (!Visible(r))
        return TRUE;
    DrawScope scope(dc);
    if (!(state & DFCS_TRANSPARENT))
        FillColor(dc, r, 0xFFFFFF);
    PaintGlyph(dc, *g, Place(*g, r), 0x000000);
    return TRUE;
}

} // namespace

BOOL DrawFrameControl(HDC hdc, LPRECT lprc, UINT uType, UINT uState)
{
    auto dc = DcFromHandle(hdc);
    if (!dc)
        return FALSE;
    if (!lprc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    RECT probe;
    if (!ToDeviceRect(*dc, *lprc, probe))
        return FALSE;
    // Frame controls are small; refuse sizes no control has rather than walk them.
    if (int64_t(probe.right) - probe.left > 65536 || int64_t(probe.bottom) - probe.top > 65536) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Each part holds its own DrawScope around its own painting: the edges go through
    // DrawEdge, which holds one too, and scopes must not nest.
    switch (uType) {
    case DFC_BUTTON: return DrawButton(*dc, hdc, lprc, uState);
    case DFC_CAPTION: return DrawCaption(*dc, hdc, lprc, uState);
    case DFC_SCROLL: return DrawScroll(*dc, hdc, lprc, uState);
    case DFC_MENU:
    case DFC_POPUPMENU: return DrawMenuGlyph(*dc, *lprc, uState);
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
    }
}
