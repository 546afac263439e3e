// The shapes of the built-in symbol font. Shapes that must stay crisp and symmetric
// (window frames, arrows, the close cross, the size grip) are computed in whole pixels
// from the em; curved and slanted shapes (check mark, bullets, rings, the question mark)
// are laid out on a 16-unit design grid and sampled at pixel centres.
#include "platform/gdi/marlett.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

namespace zyn::gdi {

namespace {

class Canvas {
public:
    Canvas(int em, std::vector<uint8_t>& px) : m_em(em), m_px(px) { m_px.assign(static_cast<size_t>(em) * em, 0); }

    int Em() const { return m_em; }

    // A pixel rectangle [x0, x1) x [y0, y1), clipped to the cell.
    void Px(int x0, int y0, int x1, int y1, bool on = true)
    {
        x0 = std::max(x0, 0);
        y0 = std::max(y0, 0);
        x1 = std::min(x1, m_em);
        y1 = std::min(y1, m_em);
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                m_px[static_cast<size_t>(y) * m_em + x] = on ? 255 : 0;
    }
    void Set(int x, int y)
    {
        if (x >= 0 && y >= 0 && x < m_em && y < m_em)
            m_px[static_cast<size_t>(y) * m_em + x] = 255;
    }

    // A frame of the given outer pixel box: top edge `top` pixels thick, the others `side`.
    void Frame(int x0, int y0, int x1, int y1, int top, int side)
    {
        Px(x0, y0, x1, y0 + top);
        Px(x0, y0, x0 + side, y1);
        Px(x1 - side, y0, x1, y1);
        Px(x0, y1 - side, x1, y1);
    }

    // Design-grid shapes (16 units to the em), sampled at pixel centres.
    double Scale() const { return m_em / 16.0; }
    void Rect16(double x0, double y0, double x1, double y1)
    {
        // Snapped to whole pixels, at least one pixel each way.
        const double s = Scale();
        int px0 = static_cast<int>(std::floor(x0 * s + 0.5)), px1 = static_cast<int>(std::floor(x1 * s + 0.5));
        int py0 = static_cast<int>(std::floor(y0 * s + 0.5)), py1 = static_cast<int>(std::floor(y1 * s + 0.5));
        if (px1 <= px0)
            px1 = px0 + 1;
        if (py1 <= py0)
            py1 = py0 + 1;
        Px(px0, py0, px1, py1);
    }
    void Poly16(std::initializer_list<std::pair<double, double>> pts)
    {
        const double s = Scale();
        std::vector<std::pair<double, double>> p;
        for (const auto& [x, y] : pts)
            p.emplace_back(x * s, y * s);
        for (int y = 0; y < m_em; ++y) {
            const double cy = y + 0.5;
            for (int x = 0; x < m_em; ++x) {
                const double cx = x + 0.5;
                bool in = false;
                for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
                    const auto [xi, yi] = p[i];
                    const auto [xj, yj] = p[j];
                    if ((yi > cy) != (yj > cy) && cx < (xj - xi) * (cy - yi) / (yj - yi) + xi)
                        in = !in;
                }
                if (in)
                    Set(x, y);
            }
        }
    }
    // A disc or ring (rInner > 0) around a grid point; `half`: 0 all, 1 the top-left half,
    // 2 the bottom-right half (split along the anti-diagonal through the centre).
    void Round16(double cx, double cy, double rOuter, double rInner, int half)
    {
        const double s = Scale();
        const double ox = cx * s, oy = cy * s, ro = rOuter * s;
        const double ri = rInner > 0 ? std::min(rInner * s, ro - 1.0) : 0.0; // rings at least a pixel wide
        bool any = false;
        for (int y = 0; y < m_em; ++y) {
            for (int x = 0; x < m_em; ++x) {
                const double dx = x + 0.5 - ox, dy = y + 0.5 - oy;
                const double d2 = dx * dx + dy * dy;
                if (d2 > ro * ro || (rInner > 0 && d2 < ri * ri))
                    continue;
                if ((half == 1 && dx + dy >= 0) || (half == 2 && dx + dy < 0))
                    continue;
                Set(x, y);
                any = true;
            }
        }
        if (!any && rInner <= 0 && half == 0)
            Set(static_cast<int>(ox), static_cast<int>(oy)); // a tiny dot is still one pixel
    }

private:
    int m_em;
    std::vector<uint8_t>& m_px;
};

// The box most glyphs live in: a margin of 3/16 em (at least one pixel) all round.
struct Box {
    int x0, y0, x1, y1;
};
Box GlyphBox(int e)
{
    const int m = std::max(1, e * 3 / 16);
    if (e - 2 * m < 2)
        return Box{0, 0, e, e};
    return Box{m, m, e - m, e - m};
}
int Thin(int e) { return std::max(1, e / 16); }
int Thick(int e) { return std::min(std::max(2, e / 8), std::max(1, e / 2)); }

// A filled isosceles triangle pointing in `dir` (0 left, 1 right, 2 up, 3 down) with a
// base of `b` pixels (odd) and a height of (b + 1) / 2, its box's top-left at (x, y).
void Triangle(Canvas& c, int x, int y, int b, int dir)
{
    const int h = (b + 1) / 2;
    for (int r = 0; r < h; ++r) {
        const int len = b - 2 * r; // row r counted from the base
        switch (dir) {
        case 3: c.Px(x + r, y + r, x + r + len, y + r + 1); break;                 // down: base on top
        case 2: c.Px(x + r, y + h - 1 - r, x + r + len, y + h - r); break;         // up: base at bottom
        case 1: c.Px(x + r, y + r, x + r + 1, y + r + len); break;                 // right: base at left
        case 0: c.Px(x + h - 1 - r, y + r, x + h - r, y + r + len); break;         // left: base at right
        default: break;
        }
    }
}
int ArrowBase(int e) { return 2 * ((e + 1) * 7 / 32) + 1; }

void Arrow(Canvas& c, int dir)
{
    const int e = c.Em();
    const int b = ArrowBase(e);
    const int h = (b + 1) / 2;
    if (dir >= 2)
        Triangle(c, (e - b) / 2, (e - h) / 2, b, dir);
    else
        Triangle(c, (e - h) / 2, (e - b) / 2, b, dir);
}

// The size grip: three diagonal stripes from the bottom-right corner. Each period holds a
// highlight stroke, then a shadow stroke twice as thick; parts: 1 highlight, 2 shadow, 3 both.
void Grip(Canvas& c, int parts)
{
    const int e = c.Em();
    const int unit = std::max(1, e / 16);
    const int period = 4 * unit;
    for (int y = 0; y < e; ++y) {
        for (int x = 0; x < e; ++x) {
            const int d = (e - 1 - x) + (e - 1 - y); // 0 at the corner pixel
            if (d >= 3 * period)
                continue;
            const int phase = d % period;
            const bool shadow = phase >= unit && phase < 3 * unit;
            const bool light = phase >= 3 * unit;
            if ((shadow && (parts & 2)) || (light && (parts & 1)))
                c.Set(x, y);
        }
    }
}

} // namespace

int MarlettEm(int lfHeight)
{
    int64_t e = lfHeight == 0 ? 16 : (lfHeight < 0 ? -static_cast<int64_t>(lfHeight) : lfHeight);
    return static_cast<int>(std::clamp<int64_t>(e, 1, kMaxMarlettEm));
}

bool MarlettHasGlyph(char32_t c)
{
    switch (c) {
    case U'0': case U'1': case U'2': case U'3': case U'4': case U'5': case U'6': case U'7': case U'8':
    case U'a': case U'g': case U'h': case U'i': case U'j': case U'k': case U'l': case U'm': case U'n':
    case U'o': case U'p': case U'q': case U'r': case U's':
        return true;
    default:
        return false;
    }
}

bool RenderMarlettGlyph(char32_t ch, int em, std::vector<uint8_t>& coverage)
{
    em = std::clamp(em, 1, kMaxMarlettEm);
    Canvas c(em, coverage);
    if (!MarlettHasGlyph(ch))
        return false;
    const Box b = GlyphBox(em);
    const int thin = Thin(em), thick = Thick(em);
    switch (ch) {
    case U'0': // minimise: a thick bar along the bottom of the box, two thirds wide
        c.Px(b.x0, b.y1 - thick, b.x1 - (b.x1 - b.x0) / 3, b.y1);
        break;
    case U'1': // maximise: a window frame with a thick title bar
        c.Frame(b.x0, b.y0, b.x1, b.y1, thick, thin);
        break;
    case U'2': { // restore: a window behind and to the right of another
        const int d = std::max(2, (b.x1 - b.x0) / 3);
        c.Frame(b.x0 + d, b.y0, b.x1, b.y1 - d, thick, thin);
        c.Px(b.x0, b.y0 + d, b.x1 - d, b.y1, false);
        c.Frame(b.x0, b.y0 + d, b.x1 - d, b.y1, thick, thin);
        break;
    }
    case U'r': { // close: two diagonals, mirror images of each other
        const int n = std::min(b.x1 - b.x0, b.y1 - b.y0);
        const int t = std::max(1, (em + 7) / 8);
        for (int j = 0; j < n; ++j) {
            for (int i = 0; i < n; ++i) {
                const int d1 = i - j, d2 = (n - 1 - i) - j;
                if ((d1 >= 0 && d1 < t) || (d2 >= 0 && d2 < t))
                    c.Set(b.x0 + i, b.y0 + j);
            }
        }
        break;
    }
    case U's': // help: a question mark
        c.Rect16(5, 2, 11, 4);
        c.Rect16(4, 3, 6, 5.5);
        c.Rect16(10, 3, 12, 7);
        c.Rect16(8, 6, 11, 8);
        c.Rect16(7, 7, 9, 10);
        c.Rect16(7, 11.5, 9, 13.5);
        break;
    case U'3': Arrow(c, 0); break;
    case U'4': Arrow(c, 1); break;
    case U'5': Arrow(c, 2); break;
    case U'6': Arrow(c, 3); break;
    case U'8': Arrow(c, 1); break;
    case U'7': { // two small right-pointing triangles side by side
        const int bb = 2 * (em * 5 / 32) + 1;
        const int h = (bb + 1) / 2;
        const int x = (em - 2 * h - 1) / 2, y = (em - bb) / 2;
        Triangle(c, x, y, bb, 1);
        Triangle(c, x + h + 1, y, bb, 1);
        break;
    }
    case U'a': // check mark
        c.Poly16({{3, 8}, {6.5, 11.5}, {13, 5}, {13, 7.5}, {6.5, 14}, {3, 10.5}});
        break;
    case U'h': c.Round16(8, 8, 3, 0, 0); break;
    case U'i': c.Round16(8, 8, 1.75, 0, 0); break;
    case U'n': c.Round16(8, 8, 2.5, 0, 0); break;
    case U'g': c.Round16(8, 8, 6.5, 0, 0); break;
    case U'j': c.Round16(8, 8, 8, 6.9, 1); break;
    case U'k': c.Round16(8, 8, 8, 6.9, 2); break;
    case U'l': c.Round16(8, 8, 7, 5.9, 1); break;
    case U'm': c.Round16(8, 8, 7, 5.9, 2); break;
    case U'o': Grip(c, 1); break;
    case U'p': Grip(c, 2); break;
    case U'q': Grip(c, 3); break;
    default: break;
    }
    return true;
}

} // namespace zyn::gdi
