// Raster operations, binary mixes, colour/mono conversions and brushes, checked against
// each operation's definition written here, not against the library's tables.
#include <functional>

#include "platform/gdi/gdi_brushes.h"
#include "tests/gdi/gdi_test_support.h"

using namespace zyn::test;

namespace {

class Raster : public GdiTest {};

// The ternary rop definition: bit i of the rop's truth byte (bits 16-23 of the code) is
// the result for i = (P << 2) | (S << 1) | D, applied to each of the 24 colour bits.
COLORREF Rop3ByDefinition(DWORD rop, COLORREF p, COLORREF s, COLORREF d)
{
    const unsigned table = (rop >> 16) & 0xFF;
    COLORREF out = 0;
    for (int b = 0; b < 24; ++b) {
        const unsigned i = (((p >> b) & 1) << 2) | (((s >> b) & 1) << 1) | ((d >> b) & 1);
        out |= static_cast<COLORREF>((table >> i) & 1) << b;
    }
    return out;
}

// A ternary rop code from its truth byte (the low word does not matter to us).
DWORD RopCode(unsigned table) { return (static_cast<DWORD>(table) << 16) | 0x0000; }

const COLORREF kP[8] = {0x0F33F0, 0xA5A5A5, 0x123456, 0xFFFFFF, 0x000000, 0x808080, 0x5A0FF0, 0x00FF00};
const COLORREF kS[8] = {0x3C3CC3, 0x00FFFF, 0xFEDCBA, 0x0F0F0F, 0xFFFFFF, 0x7F7F7F, 0xC0FFEE, 0x0000FF};
const COLORREF kD[8] = {0x55AA55, 0x5A5A5A, 0x0F1E2D, 0xF0F0F0, 0x123123, 0x808080, 0xBADBAD, 0xFF0000};

} // namespace

TEST_F(Raster, All256RopsOnColourSurfacesMatchTheirTruthTables)
{
    MemDc dst(8, 1), src(8, 1);
    // The pattern: an 8x8 colour bitmap whose row 0 carries kP.
    Obj<HBITMAP> pat(CreateBitmap(8, 8, 1, 32, nullptr));
    {
        HDC pdc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(pdc, pat);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                SetPixel(pdc, x, y, kP[x]);
        SelectObject(pdc, old);
        DeleteDC(pdc);
    }
    Obj<HBRUSH> brush(CreatePatternBrush(pat));
    for (int x = 0; x < 8; ++x)
        SetPixel(src, x, 0, kS[x]);
    HGDIOBJ oldBrush = SelectObject(dst, brush);
    for (unsigned t = 0; t < 256; ++t) {
        for (int x = 0; x < 8; ++x)
            SetPixel(dst, x, 0, kD[x]);
        ASSERT_TRUE(BitBlt(dst, 0, 0, 8, 1, src, 0, 0, RopCode(t))) << t;
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(GetPixel(dst, x, 0), Rop3ByDefinition(RopCode(t), kP[x], kS[x], kD[x]))
                << "rop 0x" << std::hex << t << " pixel " << x;
    }
    SelectObject(dst, oldBrush);
}

TEST_F(Raster, All256RopsOnMonoSurfacesReproduceTheTruthByte)
{
    // P = 11110000, S = 11001100, D = 10101010 across eight pixels: pixel x's inputs form
    // index 7 - x, so the resulting row is the rop's truth byte itself.
    MemDc dst(8, 1, true), src(8, 1, true);
    const BYTE srcBits[2] = {0xCC, 0};
    SetBitmapBits(src.bitmap(), 2, srcBits);
    WORD patRows[8];
    for (auto& r : patRows)
        r = 0xF0;
    Obj<HBITMAP> patBm(CreateBitmap(8, 8, 1, 1, patRows));
    Obj<HBRUSH> brush(CreatePatternBrush(patBm));
    HGDIOBJ old = SelectObject(dst, brush);
    for (unsigned t = 0; t < 256; ++t) {
        const BYTE d[2] = {0xAA, 0};
        SetBitmapBits(dst.bitmap(), 2, d);
        ASSERT_TRUE(BitBlt(dst, 0, 0, 8, 1, src, 0, 0, RopCode(t)));
        BYTE out[2] = {};
        GetBitmapBits(dst.bitmap(), 2, out);
        ASSERT_EQ(out[0], t) << "rop 0x" << std::hex << t;
    }
    SelectObject(dst, old);
}

TEST_F(Raster, NamedRopsFollowTheirFormulas)
{
    struct Named {
        DWORD rop;
        std::function<COLORREF(COLORREF, COLORREF, COLORREF)> f;
    };
    const COLORREF M = 0xFFFFFF;
    const Named named[] = {
        {SRCCOPY, [](COLORREF, COLORREF s, COLORREF) { return s; }},
        {SRCPAINT, [](COLORREF, COLORREF s, COLORREF d) { return s | d; }},
        {SRCAND, [](COLORREF, COLORREF s, COLORREF d) { return s & d; }},
        {SRCINVERT, [](COLORREF, COLORREF s, COLORREF d) { return s ^ d; }},
        {SRCERASE, [M](COLORREF, COLORREF s, COLORREF d) { return s & (~d & M); }},
        {NOTSRCCOPY, [M](COLORREF, COLORREF s, COLORREF) { return ~s & M; }},
        {NOTSRCERASE, [M](COLORREF, COLORREF s, COLORREF d) { return ~(s | d) & M; }},
        {MERGECOPY, [](COLORREF p, COLORREF s, COLORREF) { return p & s; }},
        {MERGEPAINT, [M](COLORREF, COLORREF s, COLORREF d) { return (~s & M) | d; }},
        {PATCOPY, [](COLORREF p, COLORREF, COLORREF) { return p; }},
        {PATPAINT, [M](COLORREF p, COLORREF s, COLORREF d) { return p | (~s & M) | d; }},
        {PATINVERT, [](COLORREF p, COLORREF, COLORREF d) { return p ^ d; }},
        {DSTINVERT, [M](COLORREF, COLORREF, COLORREF d) { return ~d & M; }},
        {BLACKNESS, [](COLORREF, COLORREF, COLORREF) { return COLORREF(0); }},
        {WHITENESS, [M](COLORREF, COLORREF, COLORREF) { return M; }},
        // Two classic composites, by their reverse-Polish names: PSDPxax = P^(S&(D^P)),
        // DSPDxax = D^(S&(P^D)).
        {0x00B8074A, [](COLORREF p, COLORREF s, COLORREF d) { return p ^ (s & (d ^ p)); }},
        {0x00E20746, [](COLORREF p, COLORREF s, COLORREF d) { return d ^ (s & (p ^ d)); }},
    };
    MemDc dst(1, 1), src(1, 1);
    const COLORREF p = RGB(0x12, 0xF0, 0x5A), s = RGB(0x3C, 0x0F, 0xFF), d = RGB(0xA5, 0x66, 0x01);
    Obj<HBRUSH> brush(CreateSolidBrush(p));
    HGDIOBJ old = SelectObject(dst, brush);
    SetPixel(src, 0, 0, s);
    for (const Named& n : named) {
        SetPixel(dst, 0, 0, d);
        BitBlt(dst, 0, 0, 1, 1, src, 0, 0, n.rop);
        EXPECT_EQ(GetPixel(dst, 0, 0), n.f(p, s, d)) << std::hex << n.rop;
    }
    SelectObject(dst, old);
}

TEST_F(Raster, PatBltRefusesSourceRopsAndExcludesRightBottom)
{
    MemDc dc(6, 6);
    dc.Fill(RGB(255, 255, 255));
    Obj<HBRUSH> b(CreateSolidBrush(RGB(10, 20, 30)));
    HGDIOBJ old = SelectObject(dc, b);
    EXPECT_FALSE(PatBlt(dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_TRUE(PatBlt(dc, 1, 1, 3, 2, PATCOPY));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(dc, 3, 2), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(dc, 4, 1), RGB(255, 255, 255)) << "x = 1 + 3 is outside";
    EXPECT_EQ(GetPixel(dc, 1, 3), RGB(255, 255, 255)) << "y = 1 + 2 is outside";
    EXPECT_TRUE(PatBlt(dc, 0, 0, 6, 6, DSTINVERT));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(245, 235, 225));
    SelectObject(dc, old);
}

TEST_F(Raster, SixteenBinaryMixes)
{
    const COLORREF M = 0xFFFFFF;
    const std::function<COLORREF(COLORREF, COLORREF)> mix[17] = {
        nullptr,
        [](COLORREF, COLORREF) { return COLORREF(0); },                // R2_BLACK
        [M](COLORREF p, COLORREF d) { return ~(p | d) & M; },          // R2_NOTMERGEPEN
        [M](COLORREF p, COLORREF d) { return ~p & d & M; },            // R2_MASKNOTPEN
        [M](COLORREF p, COLORREF) { return ~p & M; },                  // R2_NOTCOPYPEN
        [M](COLORREF p, COLORREF d) { return p & ~d & M; },            // R2_MASKPENNOT
        [M](COLORREF, COLORREF d) { return ~d & M; },                  // R2_NOT
        [](COLORREF p, COLORREF d) { return p ^ d; },                  // R2_XORPEN
        [M](COLORREF p, COLORREF d) { return ~(p & d) & M; },          // R2_NOTMASKPEN
        [](COLORREF p, COLORREF d) { return p & d; },                  // R2_MASKPEN
        [M](COLORREF p, COLORREF d) { return ~(p ^ d) & M; },          // R2_NOTXORPEN
        [](COLORREF, COLORREF d) { return d; },                        // R2_NOP
        [M](COLORREF p, COLORREF d) { return (~p & M) | d; },          // R2_MERGENOTPEN
        [](COLORREF p, COLORREF) { return p; },                        // R2_COPYPEN
        [M](COLORREF p, COLORREF d) { return p | (~d & M); },          // R2_MERGEPENNOT
        [](COLORREF p, COLORREF d) { return p | d; },                  // R2_MERGEPEN
        [M](COLORREF, COLORREF) { return M; },                         // R2_WHITE
    };
    MemDc dc(2, 1);
    const COLORREF p = RGB(0x0F, 0xAA, 0x33), d = RGB(0xF3, 0x5C, 0x01);
    Obj<HBRUSH> brush(CreateSolidBrush(p));
    Obj<HRGN> rgn(CreateRectRgn(0, 0, 1, 1));
    HGDIOBJ old = SelectObject(dc, brush);
    for (int r2 = R2_BLACK; r2 <= R2_WHITE; ++r2) {
        SetROP2(dc, R2_COPYPEN); // SetPixel mixes too
        SetPixel(dc, 0, 0, d);
        SetPixel(dc, 1, 0, d);
        SetROP2(dc, r2);
        ASSERT_TRUE(PaintRgn(dc, rgn));
        EXPECT_EQ(GetPixel(dc, 0, 0), mix[r2](p, d)) << "mix " << r2;
        EXPECT_EQ(GetPixel(dc, 1, 0), d) << "outside the region";
    }
    SelectObject(dc, old);
}

TEST_F(Raster, ColourToMonoUsesTheSourceBackground)
{
    MemDc src(3, 1), dst(3, 1, true);
    const COLORREF bk = RGB(10, 20, 30);
    SetPixel(src, 0, 0, bk);
    SetPixel(src, 1, 0, RGB(255, 255, 255));
    SetPixel(src, 2, 0, RGB(0, 0, 0));
    SetBkColor(src, bk);
    ASSERT_TRUE(BitBlt(dst, 0, 0, 3, 1, src, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(dst, 0, 0), RGB(255, 255, 255)) << "the background colour becomes 1 (white)";
    EXPECT_EQ(GetPixel(dst, 1, 0), RGB(0, 0, 0)) << "white is not the background: 0";
    EXPECT_EQ(GetPixel(dst, 2, 0), RGB(0, 0, 0));
}

TEST_F(Raster, MonoToColourUsesTheDestinationTextAndBackground)
{
    MemDc src(2, 1, true), dst(2, 1);
    const BYTE bits[2] = {0x80, 0}; // pixel 0 = 1, pixel 1 = 0
    SetBitmapBits(src.bitmap(), 2, bits);
    SetTextColor(dst, RGB(255, 0, 0));
    SetBkColor(dst, RGB(0, 0, 255));
    SetTextColor(src, RGB(0, 255, 0)); // the source's colours play no part
    SetBkColor(src, RGB(0, 255, 0));
    ASSERT_TRUE(BitBlt(dst, 0, 0, 2, 1, src, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(dst, 0, 0), RGB(0, 0, 255)) << "1 -> background colour";
    EXPECT_EQ(GetPixel(dst, 1, 0), RGB(255, 0, 0)) << "0 -> text colour";
}

TEST_F(Raster, DrawingColoursOnMonoTakesTheNearestEntry)
{
    MemDc dc(4, 1, true);
    EXPECT_EQ(SetPixel(dc, 0, 0, RGB(200, 200, 200)), RGB(255, 255, 255));
    EXPECT_EQ(SetPixel(dc, 1, 0, RGB(100, 100, 100)), RGB(0, 0, 0));
    // 0x80 is 128 from black and 127 from white on each channel.
    EXPECT_EQ(SetPixel(dc, 2, 0, RGB(128, 128, 128)), RGB(255, 255, 255));
    EXPECT_EQ(SetPixel(dc, 3, 0, RGB(127, 127, 127)), RGB(0, 0, 0));
}

TEST_F(Raster, HatchBrushHonoursBackgroundModeAndOrigin)
{
    MemDc dc(8, 8);
    dc.Fill(RGB(255, 255, 255));
    Obj<HBRUSH> h(CreateHatchBrush(HS_HORIZONTAL, RGB(255, 0, 0)));
    SetBkColor(dc, RGB(0, 255, 0));
    RECT r{0, 0, 8, 8};
    FillRect(dc, &r, h);
    const int line = [&] {
        for (int y = 0; y < 8; ++y)
            if (GetPixel(dc, 0, y) == RGB(255, 0, 0))
                return y;
        return -1;
    }();
    ASSERT_GE(line, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(GetPixel(dc, x, y), y == line ? RGB(255, 0, 0) : RGB(0, 255, 0)) << x << "," << y;
    // Transparent: the gaps keep what was there. Origin shifted down by 2.
    dc.Fill(RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    SetBrushOrgEx(dc, 0, 2, nullptr);
    FillRect(dc, &r, h);
    const int moved = (line + 2) % 8;
    for (int y = 0; y < 8; ++y)
        EXPECT_EQ(GetPixel(dc, 3, y), y == moved ? RGB(255, 0, 0) : RGB(255, 255, 255)) << y;
}

TEST_F(Raster, MonoPatternBrushUsesTextAndBackgroundColours)
{
    // A 2x2 pattern: row 0 = 1 0, row 1 = 0 1.
    const WORD rows[2] = {0x80, 0x40};
    Obj<HBITMAP> bm(CreateBitmap(2, 2, 1, 1, rows));
    Obj<HBRUSH> brush(CreatePatternBrush(bm));
    MemDc dc(4, 4);
    SetTextColor(dc, RGB(255, 0, 0));
    SetBkColor(dc, RGB(0, 0, 255));
    RECT r{0, 0, 4, 4};
    FillRect(dc, &r, brush);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 2, 0), RGB(0, 0, 255)) << "the pattern tiles";
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0, 0, 255));
    SetBrushOrgEx(dc, 1, 0, nullptr);
    FillRect(dc, &r, brush);
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0, 0, 255)) << "origin (1,0): pattern (0,0) at x = 1";
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
    // The brush holds its own copy: deleting the bitmap leaves it usable.
}

TEST_F(Raster, HalftoneBrushAlternatesPixels)
{
    MemDc dc(4, 4);
    RECT r{0, 0, 4, 4};
    FillRect(dc, &r, zyn::gdi::HalftoneBrush());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(GetPixel(dc, x, y), ((x + y) % 2 == 0) ? RGB(255, 255, 255) : RGB(0, 0, 0)) << x << "," << y;
    EXPECT_TRUE(DeleteObject(zyn::gdi::HalftoneBrush())) << "stock: deleting is a no-op";
    EXPECT_EQ(GetObjectType(zyn::gdi::HalftoneBrush()), OBJ_BRUSH);
}

TEST_F(Raster, SystemColourBrushesFollowSetSysColors)
{
    MemDc dc(2, 1);
    RECT r{0, 0, 1, 1};
    FillRect(dc, &r, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1)));
    EXPECT_EQ(GetPixel(dc, 0, 0), 0xC8D0D4u);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), 0x6A240Au);
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), 0xE1FFFFu);
    const INT idx[] = {COLOR_BTNFACE};
    const COLORREF val[] = {RGB(1, 2, 3)};
    ASSERT_TRUE(SetSysColors(1, idx, val));
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    RECT r2{1, 0, 2, 1};
    FillRect(dc, &r2, face);
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(1, 2, 3));
    LOGBRUSH lb{};
    GetObject(face, sizeof lb, &lb);
    EXPECT_EQ(lb.lbColor, RGB(1, 2, 3));
    const INT bad[] = {99};
    EXPECT_FALSE(SetSysColors(1, bad, val));
    EXPECT_EQ(GetSysColorBrush(99), nullptr);
}

TEST_F(Raster, CoverageBlendAndMonoThreshold)
{
    MemDc dc(3, 1), mono(3, 1, true);
    dc.Fill(RGB(0, 0, 0));
    const uint8_t cov[3] = {0, 128, 255};
    auto d = zyn::gdi::DcFromHandle(dc);
    zyn::gdi::BlendCoverage(*d, 0, 0, 3, 1, cov, 3, RGB(255, 100, 0));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
    // dst + (src - dst) * 128 / 255, rounded: 255*128/255 = 128, 100*128/255 = 50.2.
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(128, 50, 0));
    EXPECT_EQ(GetPixel(dc, 2, 0), RGB(255, 100, 0));
    auto m = zyn::gdi::DcFromHandle(mono);
    const uint8_t cov2[3] = {127, 128, 255};
    zyn::gdi::BlendCoverage(*m, 0, 0, 3, 1, cov2, 3, RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(mono, 0, 0), RGB(0, 0, 0)) << "below half: untouched";
    EXPECT_EQ(GetPixel(mono, 1, 0), RGB(255, 255, 255));
}
