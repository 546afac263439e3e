// Gradients pixel for pixel against their rules. Rectangles: column i of n (row i for a
// vertical one) takes (a + (b - a) * i / n) >> 8 per 16-bit channel, whatever the clip
// cuts away. Triangles: a pixel the polygon of the three
// vertices covers takes, per channel, the barycentric mix of the 16-bit vertex channels at
// the point (x, y) relative to the vertices, rounded half away from zero, then its high
// byte; the alpha byte of a 32-bit bitmap receives the mixed Alpha the same way. The
// reference below evaluates that rule the plain way, one pixel at a time; the coverage
// comes from the same polygon filled as a region.
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tests/gdi/gdi_test_support.h"

using namespace zyn::test;

namespace {

class GradientTriangle : public GdiTest {};
class GradientRect : public GdiTest {};

struct Colour16 {
    COLOR16 r, g, b, a;
};

TRIVERTEX Vertex(int x, int y, Colour16 c) { return TRIVERTEX{x, y, c.r, c.g, c.b, c.a}; }

// The rule at one point: weights from the vertices' coordinates, each channel's mix
// rounded and clamped to 16 bits, the high byte kept. Packed as the bitmap holds it.
uint32_t Expected(const TRIVERTEX (&v)[3], int px, int py)
{
    const double ax = v[0].x, ay = v[0].y, bx = v[1].x, by = v[1].y, cx = v[2].x, cy = v[2].y;
    const double det = (by - cy) * (ax - cx) + (cx - bx) * (ay - cy);
    const double wa = ((by - cy) * (px - cx) + (cx - bx) * (py - cy)) / det;
    const double wb = ((cy - ay) * (px - cx) + (ax - cx) * (py - cy)) / det;
    const double wc = 1.0 - wa - wb;
    auto mix = [&](COLOR16 a, COLOR16 b, COLOR16 c) {
        const double f = wa * a + wb * b + wc * c;
        const long long rounded = std::llround(f);
        return static_cast<uint32_t>(std::min<long long>(std::max<long long>(rounded, 0), 0xFFFF) >> 8);
    };
    return mix(v[0].Alpha, v[1].Alpha, v[2].Alpha) << 24 | mix(v[0].Red, v[1].Red, v[2].Red) << 16 |
        mix(v[0].Green, v[1].Green, v[2].Green) << 8 | mix(v[0].Blue, v[1].Blue, v[2].Blue);
}

std::vector<uint32_t> Bits(const MemDc& dc, int w, int h)
{
    std::vector<uint32_t> bits(size_t(w) * h);
    GetBitmapBits(dc.bitmap(), static_cast<LONG>(bits.size() * 4), bits.data());
    return bits;
}

// Draws the triangle over a sentinel and checks every pixel: inside the polygon the rule's
// value, outside the sentinel. `origin` is the window origin of the DC (the triangle moves
// by minus that on the bitmap). Returns the number of pixels drawn.
int CheckTriangle(const TRIVERTEX (&v)[3], int w, int h, POINT origin, const std::string& what)
{
    constexpr uint32_t kSentinel = 0x00123456;
    // The coverage: the same polygon as a region, on the bitmap.
    const POINT pts[3] = {{v[0].x - origin.x, v[0].y - origin.y}, {v[1].x - origin.x, v[1].y - origin.y},
        {v[2].x - origin.x, v[2].y - origin.y}};
    Obj<HRGN> cover(CreatePolygonRgn(pts, 3, ALTERNATE));
    EXPECT_TRUE(cover.get()) << what;
    int drawn = 0;
    // Drawn three times: a triangle drawn again may take its pixels from what the earlier
    // drawings kept, and must show the same.
    for (int time = 1; time <= 3; ++time) {
        MemDc dc(w, h);
        dc.Fill(RGB(0x12, 0x34, 0x56));
        SetWindowOrgEx(dc, origin.x, origin.y, nullptr);
        TRIVERTEX copy[3] = {v[0], v[1], v[2]};
        GRADIENT_TRIANGLE mesh{0, 1, 2};
        EXPECT_TRUE(GradientFill(dc, copy, 3, &mesh, 1, GRADIENT_FILL_TRIANGLE)) << what;
        const std::vector<uint32_t> bits = Bits(dc, w, h);
        int wrong = 0;
        drawn = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint32_t got = bits[size_t(y) * w + x];
                const bool inside = PtInRegion(cover, x, y);
                const uint32_t want = inside ? Expected(v, x + origin.x, y + origin.y) : kSentinel;
                drawn += inside;
                if (got != want && wrong++ < 3)
                    ADD_FAILURE() << what << " (drawing " << time << "): pixel (" << x << ", " << y << ") is "
                                  << std::hex << got << ", not " << want;
            }
        EXPECT_EQ(wrong, 0) << what << " (drawing " << time << ")";
    }
    return drawn;
}

TEST_F(GradientTriangle, EveryPixelFollowsTheRule)
{
    const Colour16 black{0, 0, 0, 0}, white{0xFF00, 0xFF00, 0xFF00, 0xFF00};
    const Colour16 light{0xC400, 0xDB00, 0xF900, 0}, dark{0x6100, 0x9100, 0xDB00, 0};
    const struct {
        const char* what;
        TRIVERTEX v[3];
        int w, h;
        POINT origin;
    } rows[] = {
        // A bar's background: light in one corner, dark in the other three.
        {"light corner", {Vertex(0, 0, light), Vertex(130, 0, dark), Vertex(0, 673, dark)}, 130, 673, {0, 0}},
        {"dark half", {Vertex(130, 0, dark), Vertex(0, 673, dark), Vertex(130, 673, dark)}, 130, 673, {0, 0}},
        // The same triangle elsewhere and cut by the bitmap's edges (its pixels depend on
        // the offsets from the vertices only).
        {"light corner moved and cut", {Vertex(0, 0, light), Vertex(130, 0, dark), Vertex(0, 673, dark)}, 90, 300,
            {-7, 250}},
        // Mixes that land on a half exactly: red 511 halfway is 255.5, rounded up to 256
        // (byte 1); 0xFF00 + 1 halfway from 0 is 32640.5, rounded up to 32641 (byte 127).
        {"halves", {Vertex(0, 0, {0, 0, 0, 0}), Vertex(2, 0, {511, 0xFF01, 0, 0}), Vertex(0, 2, {0, 0, 0, 0})}, 4, 4,
            {0, 0}},
        {"byte boundaries", {Vertex(0, 0, {0, 0, 0, 0}), Vertex(256, 0, {0xFFFF, 0x8000, 0x0100, 0xFFFF}),
                                Vertex(0, 3, {0x7FFF, 0, 0xFFFF, 0})},
            256, 4, {0, 0}},
        {"full range", {Vertex(0, 0, black), Vertex(63, 0, white), Vertex(0, 63, white)}, 64, 64, {0, 0}},
        {"thin sliver", {Vertex(0, 0, light), Vertex(200, 3, dark), Vertex(0, 4, white)}, 200, 5, {0, 0}},
        {"moved origin", {Vertex(40, 30, white), Vertex(120, 35, black), Vertex(60, 110, light)}, 64, 64, {50, 40}},
        {"far coordinates", {Vertex(-40000, -30000, white), Vertex(40000, 10, black), Vertex(5, 30000, light)},
            48, 48, {-20, -20}},
    };
    for (const auto& row : rows)
        EXPECT_GT(CheckTriangle(row.v, row.w, row.h, row.origin, row.what), 0) << row.what;
}

TEST_F(GradientTriangle, RandomTrianglesFollowTheRule)
{
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> coord(-20, 84), channel(0, 0xFFFF);
    for (int i = 0; i < 150; ++i) {
        auto colour = [&] {
            return Colour16{static_cast<COLOR16>(channel(random)), static_cast<COLOR16>(channel(random)),
                static_cast<COLOR16>(channel(random)), static_cast<COLOR16>(channel(random))};
        };
        TRIVERTEX v[3];
        for (auto& vertex : v)
            vertex = Vertex(coord(random), coord(random), colour());
        const double area = double(v[1].x - v[0].x) * (v[2].y - v[0].y) - double(v[2].x - v[0].x) * (v[1].y - v[0].y);
        if (area == 0)
            continue;
        CheckTriangle(v, 64, 64, {0, 0}, "random triangle " + std::to_string(i));
    }
}

TEST_F(GradientTriangle, MonochromeBitmapTakesTheNearestOfBlackAndWhite)
{
    // Left half dark, right half light: each pixel is the mix's colour matched to black or
    // white as any colour is on a monochrome bitmap.
    MemDc mono(32, 8, true), colour(32, 8);
    for (HDC dc : {mono.dc(), colour.dc()}) {
        TRIVERTEX v[3] = {{0, 0, 0, 0, 0, 0}, {32, 0, 0xFF00, 0xFF00, 0xFF00, 0}, {0, 32, 0, 0, 0, 0}};
        GRADIENT_TRIANGLE mesh{0, 1, 2};
        ASSERT_TRUE(GradientFill(dc, v, 3, &mesh, 1, GRADIENT_FILL_TRIANGLE));
    }
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 32 - y; ++x) {
            const COLORREF c = GetPixel(colour, x, y);
            const bool light = GetRValue(c) + GetGValue(c) + GetBValue(c) >= 3 * 128;
            Obj<HBRUSH> brush(CreateSolidBrush(c));
            MemDc probe(1, 1, true);
            RECT one{0, 0, 1, 1};
            FillRect(probe, &one, brush);
            EXPECT_EQ(GetPixel(mono, x, y), GetPixel(probe, 0, 0)) << x << ", " << y << (light ? " light" : " dark");
        }
}

// A clip with holes and a moved window origin: every visible pixel has its column's (or
// row's) colour, every clipped one keeps the background.
TEST_F(GradientRect, ClippedRampsKeepTheirColumnsAndRows)
{
    constexpr int kW = 48, kH = 40;
    const POINT origin{-3, 5};
    const TRIVERTEX v[2] = {{2, 1, 0x1234, 0xFF00, 0x0000, 0}, {42, 31, 0xFEDC, 0x0100, 0x8000, 0}};
    for (const bool vertical : {false, true}) {
        MemDc dc(kW, kH);
        dc.Fill(RGB(0x12, 0x34, 0x56));
        SetWindowOrgEx(dc, origin.x, origin.y, nullptr);
        // The clip (device coordinates): the bitmap less a cross.
        Obj<HRGN> clip(CreateRectRgn(0, 0, kW, kH));
        Obj<HRGN> across(CreateRectRgn(0, 14, kW, 19)), down(CreateRectRgn(20, 0, 23, kH));
        CombineRgn(clip, clip, across, RGN_DIFF);
        CombineRgn(clip, clip, down, RGN_DIFF);
        SelectClipRgn(dc, clip);
        TRIVERTEX copy[2] = {v[0], v[1]};
        GRADIENT_RECT mesh{0, 1};
        ASSERT_TRUE(GradientFill(dc, copy, 2, &mesh, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H));
        const std::vector<uint32_t> bits = Bits(dc, kW, kH);
        int wrong = 0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const int lx = x + origin.x, ly = y + origin.y; // logical
                const bool inside = lx >= v[0].x && lx < v[1].x && ly >= v[0].y && ly < v[1].y;
                const bool shown = inside && PtInRegion(clip, x, y);
                const int n = vertical ? v[1].y - v[0].y : v[1].x - v[0].x;
                const int i = vertical ? ly - v[0].y : lx - v[0].x;
                auto ramp = [&](int a, int b) { return static_cast<uint32_t>((a + (b - a) * i / n) >> 8); };
                const uint32_t want = shown ? ramp(v[0].Red, v[1].Red) << 16 | ramp(v[0].Green, v[1].Green) << 8 |
                        ramp(v[0].Blue, v[1].Blue)
                                            : 0x00123456u;
                if ((bits[size_t(y) * kW + x] & 0xFFFFFF) != want && wrong++ < 3)
                    ADD_FAILURE() << (vertical ? "vertical" : "horizontal") << ": pixel (" << x << ", " << y
                                  << ") is " << std::hex << bits[size_t(y) * kW + x] << ", not " << want;
            }
        EXPECT_EQ(wrong, 0) << (vertical ? "vertical" : "horizontal");
    }
}

} // namespace
