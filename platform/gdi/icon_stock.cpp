// The system icons (IDI_*) and cursors (IDC_*): simple images drawn on a 32 x 32 design
// grid and scaled to the size asked for.
#include <cmath>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/icon_internal.h"
#include "platform/gdi/icon_raster.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"

namespace zyn::gdi {
namespace {

// Raw Bgrx32 colours.
constexpr uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0xE02020, kDarkRed = 0x800000, kYellow = 0xFFE000,
                   kBlue = 0x2050E0, kNavy = 0x000080, kGreen = 0x20A020, kGray = 0x808080;

struct Pt {
    double x;
    double y;
};

// A 32 x 32 drawing of an icon: colour and mask (1 = transparent).
class Canvas {
public:
    static constexpr int N = 32;

    Canvas()
    {
        for (auto& row : m_mask)
            for (auto& m : row)
                m = 1;
    }

    void Set(int x, int y, uint32_t c)
    {
        if (x < 0 || y < 0 || x >= N || y >= N)
            return;
        m_color[y][x] = c;
        m_mask[y][x] = 0;
    }
    void Clear(int x, int y)
    {
        if (x < 0 || y < 0 || x >= N || y >= N)
            return;
        m_color[y][x] = 0;
        m_mask[y][x] = 1;
    }
    // A pixel that inverts the screen.
    void Invert(int x, int y)
    {
        if (x < 0 || y < 0 || x >= N || y >= N)
            return;
        m_color[y][x] = kWhite;
        m_mask[y][x] = 1;
    }
    bool Opaque(int x, int y) const { return x >= 0 && y >= 0 && x < N && y < N && !m_mask[y][x]; }

    void FillRect(int x0, int y0, int x1, int y1, uint32_t c)
    {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                Set(x, y, c);
    }
    // Pixels whose centres lie inside the polygon (even-odd).
    template <class F>
    void ForPolygon(const std::vector<Pt>& pts, F&& f)
    {
        for (int y = 0; y < N; ++y) {
            const double py = y + 0.5;
            for (int x = 0; x < N; ++x) {
                const double px = x + 0.5;
                bool inside = false;
                for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
                    const Pt& a = pts[i];
                    const Pt& b = pts[j];
                    if ((a.y <= py) != (b.y <= py)) {
                        const double xc = a.x + (py - a.y) * (b.x - a.x) / (b.y - a.y);
                        if (px < xc)
                            inside = !inside;
                    }
                }
                if (inside)
                    f(x, y);
            }
        }
    }
    void FillPolygon(const std::vector<Pt>& pts, uint32_t c)
    {
        ForPolygon(pts, [&](int x, int y) { Set(x, y, c); });
    }
    void ClearPolygon(const std::vector<Pt>& pts)
    {
        ForPolygon(pts, [&](int x, int y) { Clear(x, y); });
    }
    void FillCircle(double cx, double cy, double r, uint32_t c, bool clear = false)
    {
        for (int y = 0; y < N; ++y)
            for (int x = 0; x < N; ++x) {
                const double dx = x + 0.5 - cx;
                const double dy = y + 0.5 - cy;
                if (dx * dx + dy * dy <= r * r) {
                    if (clear)
                        Clear(x, y);
                    else
                        Set(x, y, c);
                }
            }
    }
    // Paints every transparent pixel next to (8-neighbourhood) an opaque one.
    void Outline(uint32_t c)
    {
        std::vector<std::pair<int, int>> edge;
        for (int y = 0; y < N; ++y)
            for (int x = 0; x < N; ++x) {
                if (Opaque(x, y))
                    continue;
                bool near = false;
                for (int dy = -1; dy <= 1 && !near; ++dy)
                    for (int dx = -1; dx <= 1 && !near; ++dx)
                        near = Opaque(x + dx, y + dy);
                if (near)
                    edge.emplace_back(x, y);
            }
        for (auto [x, y] : edge)
            Set(x, y, c);
    }
    // Rows of text art: 'B' black, 'W' white, 'I' inverting, anything else transparent.
    void Art(const std::vector<const char*>& rows, int x0, int y0, int scale = 1)
    {
        for (size_t r = 0; r < rows.size(); ++r)
            for (int c = 0; rows[r][c]; ++c)
                for (int sy = 0; sy < scale; ++sy)
                    for (int sx = 0; sx < scale; ++sx) {
                        const int x = x0 + c * scale + sx;
                        const int y = y0 + static_cast<int>(r) * scale + sy;
                        switch (rows[r][c]) {
                        case 'B': Set(x, y, kBlack); break;
                        case 'W': Set(x, y, kWhite); break;
                        case 'I': Invert(x, y); break;
                        default: break;
                        }
                    }
    }
    // Art drawn in one colour (any non-space character).
    void Glyph(const std::vector<const char*>& rows, int x0, int y0, int scale, uint32_t color)
    {
        for (size_t r = 0; r < rows.size(); ++r)
            for (int c = 0; rows[r][c]; ++c)
                if (rows[r][c] != ' ' && rows[r][c] != '.')
                    FillRect(x0 + c * scale, y0 + static_cast<int>(r) * scale, x0 + (c + 1) * scale,
                        y0 + (static_cast<int>(r) + 1) * scale, color);
    }

    std::shared_ptr<IconObj> Make(bool isIcon, POINT hotspot, int cx, int cy) const
    {
        auto color = NewColorPlane(N, N);
        auto mask = NewMaskPlane(N, N);
        if (!color || !mask)
            return nullptr;
        for (int y = 0; y < N; ++y)
            for (int x = 0; x < N; ++x) {
                color->Row32(y)[x] = m_color[y][x];
                mask->SetRaw(x, y, m_mask[y][x]);
            }
        IconObj base;
        base.isIcon = isIcon;
        base.width = N;
        base.height = N;
        base.hotspot = hotspot;
        base.color = std::move(color);
        base.mask = std::move(mask);
        auto icon = ScaledIcon(base, cx, cy, false);
        if (icon && isIcon)
            icon->hotspot = POINT{cx / 2, cy / 2};
        return icon;
    }

private:
    uint32_t m_color[N][N] = {};
    uint8_t m_mask[N][N] = {};
};

std::vector<Pt> Rotated(std::vector<Pt> pts, double degrees, Pt centre = {16, 16})
{
    const double a = degrees * 3.14159265358979323846 / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    for (Pt& p : pts) {
        const double dx = p.x - centre.x, dy = p.y - centre.y;
        p = Pt{centre.x + dx * c - dy * s, centre.y + dx * s + dy * c};
    }
    return pts;
}

// A horizontal double-headed arrow through the centre.
std::vector<Pt> DoubleArrow()
{
    const double L = 11, hl = 5, hw = 5, st = 1.5;
    std::vector<Pt> p = {{-L, 0}, {-L + hl, -hw}, {-L + hl, -st}, {L - hl, -st}, {L - hl, -hw}, {L, 0}, {L - hl, hw},
        {L - hl, st}, {-L + hl, st}, {-L + hl, hw}};
    for (Pt& q : p)
        q = Pt{q.x + 16, q.y + 16};
    return p;
}

// A bar of the given length and thickness through the centre, rotated.
std::vector<Pt> Bar(double length, double thickness, double degrees)
{
    const double l = length / 2, t = thickness / 2;
    return Rotated({{16 - l, 16 - t}, {16 + l, 16 - t}, {16 + l, 16 + t}, {16 - l, 16 + t}}, degrees);
}

const std::vector<const char*> kArrow = {
    "B           ",
    "BB          ",
    "BWB         ",
    "BWWB        ",
    "BWWWB       ",
    "BWWWWB      ",
    "BWWWWWB     ",
    "BWWWWWWB    ",
    "BWWWWWWWB   ",
    "BWWWWWWWWB  ",
    "BWWWWWWWWWB ",
    "BWWWWWWBBBBB",
    "BWWWBWWB    ",
    "BWWB BWWB   ",
    "BWB  BWWB   ",
    "BB    BWWB  ",
    "B     BWWB  ",
    "       BWWB ",
    "       BWWB ",
    "        BB  ",
};

const std::vector<const char*> kQuestion = {
    ".###.",
    "#...#",
    "....#",
    "...#.",
    "..#..",
    ".....",
    "..#..",
};

void Hourglass(Canvas& c, double scale, double ox, double oy)
{
    auto P = [&](double x, double y) { return Pt{ox + x * scale, oy + y * scale}; };
    c.FillPolygon({P(10, 6), P(22, 6), P(22, 9), P(17, 16), P(22, 23), P(22, 26), P(10, 26), P(10, 23), P(15, 16),
                      P(10, 9)},
        kWhite);
    c.Outline(kBlack);
    c.FillPolygon({P(9, 4), P(23, 4), P(23, 6), P(9, 6)}, kBlack);
    c.FillPolygon({P(9, 26), P(23, 26), P(23, 28), P(9, 28)}, kBlack);
    c.FillPolygon({P(16, 20), P(20, 25), P(12, 25)}, kBlack);
}

std::shared_ptr<IconObj> DrawCursor(WORD id, int cx, int cy)
{
    Canvas c;
    POINT hot{16, 16};
    switch (id) {
    case 32512: // IDC_ARROW
        c.Art(kArrow, 0, 0);
        hot = POINT{0, 0};
        break;
    case 32513: // IDC_IBEAM: inverts what it covers
        for (int y = 9; y <= 23; ++y)
            c.Invert(16, y);
        for (int x = 13; x <= 19; ++x)
            if (x != 16) {
                c.Invert(x, 8);
                c.Invert(x, 24);
            }
        c.Invert(16, 8);
        c.Invert(16, 24);
        break;
    case 32514: // IDC_WAIT
        Hourglass(c, 1.0, 0, 0);
        break;
    case 32515: // IDC_CROSS
        c.FillRect(4, 16, 29, 17, kBlack);
        c.FillRect(16, 4, 17, 29, kBlack);
        c.Outline(kWhite);
        break;
    case 32516: // IDC_UPARROW
        c.FillPolygon({{16.5, 2}, {25, 11}, {19.5, 11}, {19.5, 28}, {13.5, 28}, {13.5, 11}, {8, 11}}, kWhite);
        c.Outline(kBlack);
        hot = POINT{16, 2};
        break;
    case 32640: // IDC_SIZE (obsolete): as IDC_SIZEALL
    case 32646: // IDC_SIZEALL
        c.FillPolygon(DoubleArrow(), kWhite);
        c.FillPolygon(Rotated(DoubleArrow(), 90), kWhite);
        c.Outline(kBlack);
        break;
    case 32642: // IDC_SIZENWSE
        c.FillPolygon(Rotated(DoubleArrow(), 45), kWhite);
        c.Outline(kBlack);
        break;
    case 32643: // IDC_SIZENESW
        c.FillPolygon(Rotated(DoubleArrow(), -45), kWhite);
        c.Outline(kBlack);
        break;
    case 32644: // IDC_SIZEWE
        c.FillPolygon(DoubleArrow(), kWhite);
        c.Outline(kBlack);
        break;
    case 32645: // IDC_SIZENS
        c.FillPolygon(Rotated(DoubleArrow(), 90), kWhite);
        c.Outline(kBlack);
        break;
    case 32648: // IDC_NO
        c.FillCircle(16, 16, 11, kBlack);
        c.FillCircle(16, 16, 8, 0, true);
        c.FillPolygon(Bar(18, 3, 45), kBlack);
        c.Outline(kWhite);
        break;
    case 32649: // IDC_HAND
        c.FillRect(13, 2, 17, 16, kWhite);
        c.FillRect(17, 9, 21, 16, kWhite);
        c.FillRect(21, 10, 25, 16, kWhite);
        c.FillPolygon({{8, 14}, {13, 17}, {13, 21}, {8, 18}}, kWhite);
        c.FillRect(12, 15, 25, 27, kWhite);
        c.Outline(kBlack);
        hot = POINT{15, 1};
        break;
    case 32650: // IDC_APPSTARTING
        c.Art(kArrow, 0, 0);
        Hourglass(c, 0.5, 14, 12);
        hot = POINT{0, 0};
        break;
    case 32651: // IDC_HELP
        c.Art(kArrow, 0, 0);
        c.FillRect(14, 6, 23, 17, kWhite);
        c.Glyph(kQuestion, 16, 8, 1, kBlack);
        c.FillRect(14, 5, 23, 6, kBlack);
        c.FillRect(14, 17, 23, 18, kBlack);
        c.FillRect(23, 5, 24, 18, kBlack);
        hot = POINT{0, 0};
        break;
    default:
        return nullptr;
    }
    return c.Make(false, hot, cx, cy);
}

std::shared_ptr<IconObj> DrawIconImage(WORD id, int cx, int cy)
{
    Canvas c;
    switch (id) {
    case 32512: // IDI_APPLICATION
        c.FillRect(2, 4, 30, 28, kBlack);
        c.FillRect(3, 9, 29, 27, kWhite);
        c.FillRect(3, 5, 29, 9, kNavy);
        break;
    case 32513: // IDI_ERROR
        c.FillCircle(16, 16, 14, kRed);
        c.Outline(kDarkRed);
        c.FillPolygon(Bar(16, 3.5, 45), kWhite);
        c.FillPolygon(Bar(16, 3.5, -45), kWhite);
        break;
    case 32514: // IDI_QUESTION
        c.FillCircle(16, 16, 14, kBlue);
        c.Outline(kNavy);
        c.Glyph(kQuestion, 11, 9, 2, kWhite);
        break;
    case 32515: // IDI_WARNING
        c.FillPolygon({{16, 2}, {30.5, 28}, {1.5, 28}}, kYellow);
        c.Outline(kBlack);
        c.FillRect(15, 10, 17, 21, kBlack);
        c.FillRect(15, 23, 17, 25, kBlack);
        break;
    case 32516: // IDI_INFORMATION
        c.FillCircle(16, 16, 14, kBlue);
        c.Outline(kNavy);
        c.FillRect(15, 7, 18, 10, kWhite);
        c.FillRect(15, 12, 18, 24, kWhite);
        c.FillRect(13, 12, 15, 13, kWhite);
        c.FillRect(13, 24, 20, 25, kWhite);
        break;
    case 32517: // IDI_WINLOGO
        c.FillRect(4, 4, 15, 15, kRed);
        c.FillRect(17, 4, 28, 15, kGreen);
        c.FillRect(4, 17, 15, 28, kBlue);
        c.FillRect(17, 17, 28, 28, kYellow);
        break;
    case 32518: // IDI_SHIELD
        c.FillPolygon({{16, 2}, {28, 6}, {28, 16}, {16, 30}, {4, 16}, {4, 6}}, kBlue);
        c.FillPolygon({{16, 2}, {28, 6}, {28, 16}, {16, 30}}, kYellow);
        c.Outline(kGray);
        break;
    default:
        return nullptr;
    }
    return c.Make(true, POINT{16, 16}, cx, cy);
}

struct SystemImages {
    std::mutex mutex;
    std::map<std::pair<WORD, bool>, HICON> handles;
};
SystemImages& Images()
{
    static auto* const images = new SystemImages();
    return *images;
}

} // namespace

bool IsSystemImageId(WORD id, bool cursor)
{
    if (cursor)
        return (id >= 32512 && id <= 32516) || id == 32640 || (id >= 32642 && id <= 32646) ||
            (id >= 32648 && id <= 32651);
    return id >= 32512 && id <= 32518;
}

std::shared_ptr<IconObj> DrawSystemImage(WORD id, bool cursor, int cx, int cy)
{
    if (cx <= 0 || cy <= 0 || !IsSystemImageId(id, cursor))
        return nullptr;
    return cursor ? DrawCursor(id, cx, cy) : DrawIconImage(id, cx, cy);
}

HICON SystemIcon(WORD id, bool cursor)
{
    if (!IsSystemImageId(id, cursor)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    SystemImages& images = Images();
    std::lock_guard lock(images.mutex);
    auto key = std::make_pair(id, cursor);
    auto it = images.handles.find(key);
    if (it != images.handles.end() && IconFromHandle(it->second))
        return it->second;
    const int cx = GetSystemMetrics(cursor ? SM_CXCURSOR : SM_CXICON);
    const int cy = GetSystemMetrics(cursor ? SM_CYCURSOR : SM_CYICON);
    auto icon = DrawSystemImage(id, cursor, cx > 0 ? cx : 32, cy > 0 ? cy : 32);
    if (!icon) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    icon->shared = true;
    HICON h = AddIcon(std::move(icon));
    if (h)
        images.handles[key] = h;
    return h;
}

} // namespace zyn::gdi
