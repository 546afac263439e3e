// Blits: stretching and mirroring, overlapping copies, mask, transparent and alpha blits,
// and gradients at their end points.
#include "tests/gdi/gdi_test_support.h"

using namespace zyn::test;

namespace {
class Blit : public GdiTest {};

// Source row of distinct colours c(i) = RGB(10*i, 0, 0).
COLORREF C(int i) { return RGB(10 * i, 0, 0); }
} // namespace

TEST_F(Blit, StretchEnlargesByPixelCentres)
{
    MemDc src(2, 1), dst(6, 1);
    SetPixel(src, 0, 0, C(1));
    SetPixel(src, 1, 0, C(2));
    SetStretchBltMode(dst, COLORONCOLOR);
    ASSERT_TRUE(StretchBlt(dst, 0, 0, 6, 1, src, 0, 0, 2, 1, SRCCOPY));
    // Destination i takes source floor((2i+1)*2/12): 0,0,0,1,1,1.
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(GetPixel(dst, i, 0), i < 3 ? C(1) : C(2)) << i;
}

// A stretch through a rop reading pattern, source and destination, and one whose source
// rectangle runs past the source's edge (those pixels are left alone): the picture the
// rop's formula gives pixel by pixel.
TEST_F(Blit, StretchThroughARopAndPastTheSourceEdge)
{
    MemDc src(3, 2), dst(9, 4);
    for (int k = 0; k < 6; ++k)
        SetPixel(src, k % 3, k / 3, C(k + 1));
    dst.Fill(RGB(0x5A, 0xC3, 0x0F));
    const COLORREF d0 = GetPixel(dst, 0, 0), pat = RGB(0x33, 0x55, 0x77);
    HBRUSH brush = CreateSolidBrush(pat);
    HGDIOBJ old = SelectObject(dst, brush);
    SetStretchBltMode(dst, COLORONCOLOR);
    ASSERT_TRUE(StretchBlt(dst, 0, 0, 9, 4, src, 0, 0, 3, 2, 0x00B8074A)); // PSDPxax: ((D ^ P) & S) ^ P
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 9; ++x) {
            const COLORREF sp = GetPixel(src, x / 3, y / 2);
            EXPECT_EQ(GetPixel(dst, x, y), ((d0 ^ pat) & sp) ^ pat) << x << "," << y;
        }
    SelectObject(dst, old);
    DeleteObject(brush);
    dst.Fill(d0);
    // Source columns 1, 1, 2, 2, 3, 3: column 3 lies outside.
    ASSERT_TRUE(StretchBlt(dst, 0, 0, 6, 1, src, 1, 0, 3, 1, SRCINVERT));
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(GetPixel(dst, x, 0), x < 4 ? (d0 ^ GetPixel(src, 1 + x / 2, 0)) : d0) << x;
}

TEST_F(Blit, NegativeExtentsMirror)
{
    MemDc src(4, 1), dst(4, 1);
    for (int i = 0; i < 4; ++i)
        SetPixel(src, i, 0, C(i + 1));
    // (x = 3, w = -4) covers x = 0..3 mirrored.
    ASSERT_TRUE(StretchBlt(dst, 3, 0, -4, 1, src, 0, 0, 4, 1, SRCCOPY));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(GetPixel(dst, i, 0), C(4 - i)) << i;
    // Mirroring the source instead gives the same picture.
    dst.Fill(0);
    ASSERT_TRUE(StretchBlt(dst, 0, 0, 4, 1, src, 3, 0, -4, 1, SRCCOPY));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(GetPixel(dst, i, 0), C(4 - i)) << i;
}

TEST_F(Blit, ShrinkModes)
{
    MemDc src(4, 1), dst(2, 1);
    SetPixel(src, 0, 0, RGB(255, 255, 255));
    SetPixel(src, 1, 0, RGB(0, 0, 0));
    SetPixel(src, 2, 0, RGB(0x0F, 0xF0, 0x00));
    SetPixel(src, 3, 0, RGB(0xF0, 0x0F, 0x00));
    SetStretchBltMode(dst, BLACKONWHITE); // AND of the folded pixels
    StretchBlt(dst, 0, 0, 2, 1, src, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(GetPixel(dst, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dst, 1, 0), RGB(0x00, 0x00, 0x00));
    SetStretchBltMode(dst, WHITEONBLACK); // OR
    StretchBlt(dst, 0, 0, 2, 1, src, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(GetPixel(dst, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dst, 1, 0), RGB(0xFF, 0xFF, 0x00));
    SetStretchBltMode(dst, HALFTONE); // average, rounded
    StretchBlt(dst, 0, 0, 2, 1, src, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(GetPixel(dst, 0, 0), RGB(128, 128, 128));
    EXPECT_EQ(GetPixel(dst, 1, 0), RGB(0x80, 0x80, 0x00));
    SetStretchBltMode(dst, COLORONCOLOR); // the centre sample: source 1 and 3
    StretchBlt(dst, 0, 0, 2, 1, src, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(GetPixel(dst, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dst, 1, 0), RGB(0xF0, 0x0F, 0x00));
}

TEST_F(Blit, OverlappingCopyInOneSurface)
{
    MemDc dc(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            SetPixel(dc, x, y, RGB(x, y, 7));
    // Scroll right and down by one: every pixel must come from the original picture.
    ASSERT_TRUE(BitBlt(dc, 1, 1, 7, 7, dc, 0, 0, SRCCOPY));
    for (int y = 1; y < 8; ++y)
        for (int x = 1; x < 8; ++x)
            ASSERT_EQ(GetPixel(dc, x, y), RGB(x - 1, y - 1, 7)) << x << "," << y;
    // And back left/up, with a rop that reads the source (the slow path).
    ASSERT_TRUE(BitBlt(dc, 0, 0, 7, 7, dc, 1, 1, NOTSRCCOPY));
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x)
            ASSERT_EQ(GetPixel(dc, x, y), RGB(255 - x, 255 - y, 255 - 7)) << x << "," << y;
}

// A copy within one surface in each direction, clipped to two rectangles side by side and
// one above the other (several spans a row, several bands): every pixel inside the clip
// comes from the original picture, every pixel outside it is left alone.
TEST_F(Blit, OverlappingCopyInEachDirectionThroughAClip)
{
    const POINT moves[] = {{0, 2}, {0, -2}, {3, 0}, {-3, 0}, {2, 1}, {-1, -2}};
    for (const POINT& d : moves) {
        MemDc dc(12, 10);
        const auto original = [](int x, int y) { return RGB(10 * x, 10 * y, 7); };
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 12; ++x)
                SetPixel(dc, x, y, original(x, y));
        HRGN clip = CreateRectRgn(0, 0, 5, 6);
        HRGN right = CreateRectRgn(7, 0, 12, 6);
        HRGN low = CreateRectRgn(2, 7, 10, 10);
        CombineRgn(clip, clip, right, RGN_OR);
        CombineRgn(clip, clip, low, RGN_OR);
        SelectClipRgn(dc, clip);
        ASSERT_TRUE(BitBlt(dc, d.x, d.y, 12, 10, dc, 0, 0, SRCCOPY));
        SelectClipRgn(dc, nullptr);
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 12; ++x) {
                const int sx = x - d.x, sy = y - d.y;
                const bool inside = PtInRegion(clip, x, y) && sx >= 0 && sx < 12 && sy >= 0 && sy < 10;
                ASSERT_EQ(GetPixel(dc, x, y), inside ? original(sx, sy) : original(x, y))
                    << "move " << d.x << "," << d.y << " at " << x << "," << y;
            }
        }
        DeleteObject(clip);
        DeleteObject(right);
        DeleteObject(low);
    }
}

TEST_F(Blit, SrcCopyKeepsTheAlphaByte)
{
    MemDc src(1, 1), dst(1, 1);
    auto s = zyn::gdi::DcFromHandle(src);
    s->surface->Row32(0)[0] = 0x80112233;
    BitBlt(dst, 0, 0, 1, 1, src, 0, 0, SRCCOPY);
    EXPECT_EQ(zyn::gdi::DcFromHandle(dst)->surface->Row32(0)[0], 0x80112233u);
    BitBlt(dst, 0, 0, 1, 1, src, 0, 0, SRCPAINT);
    EXPECT_EQ(zyn::gdi::DcFromHandle(dst)->surface->Row32(0)[0], 0x00112233u) << "drawing leaves alpha 0";
}

TEST_F(Blit, MaskBltChoosesTheRopPerMaskBit)
{
    MemDc src(2, 1), dst(2, 1);
    SetPixel(src, 0, 0, RGB(1, 2, 3));
    SetPixel(src, 1, 0, RGB(1, 2, 3));
    dst.Fill(RGB(200, 200, 200));
    const WORD maskRow[1] = {0x80}; // pixel 0: 1, pixel 1: 0
    Obj<HBITMAP> mask(CreateBitmap(2, 1, 1, 1, maskRow));
    // Foreground (mask 1): copy the source; background (mask 0): leave the destination.
    ASSERT_TRUE(MaskBlt(dst, 0, 0, 2, 1, src, 0, 0, mask, 0, 0, MAKEROP4(SRCCOPY, 0x00AA0029)));
    EXPECT_EQ(GetPixel(dst, 0, 0), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(dst, 1, 0), RGB(200, 200, 200));
    Obj<HBITMAP> colour(CreateBitmap(2, 1, 1, 32, nullptr));
    EXPECT_FALSE(MaskBlt(dst, 0, 0, 2, 1, src, 0, 0, colour, 0, 0, SRCCOPY)) << "masks are mono";
    EXPECT_FALSE(MaskBlt(dst, 0, 0, 2, 1, src, 0, 0, mask, 1, 0, SRCCOPY)) << "mask too small";
}

TEST_F(Blit, TransparentBltSkipsTheKeyColour)
{
    MemDc src(2, 2), dst(4, 4);
    const COLORREF key = RGB(255, 0, 255);
    SetPixel(src, 0, 0, key);
    SetPixel(src, 1, 0, RGB(1, 1, 1));
    SetPixel(src, 0, 1, RGB(2, 2, 2));
    SetPixel(src, 1, 1, key);
    dst.Fill(RGB(9, 9, 9));
    ASSERT_TRUE(TransparentBlt(dst, 0, 0, 4, 4, src, 0, 0, 2, 2, key));
    EXPECT_EQ(GetPixel(dst, 0, 0), RGB(9, 9, 9));
    EXPECT_EQ(GetPixel(dst, 1, 1), RGB(9, 9, 9));
    EXPECT_EQ(GetPixel(dst, 2, 0), RGB(1, 1, 1));
    EXPECT_EQ(GetPixel(dst, 3, 1), RGB(1, 1, 1));
    EXPECT_EQ(GetPixel(dst, 0, 3), RGB(2, 2, 2));
    EXPECT_EQ(GetPixel(dst, 3, 3), RGB(9, 9, 9));
    EXPECT_FALSE(TransparentBlt(dst, 0, 0, 4, 4, src, 0, 0, 3, 2, key)) << "source outside its bitmap";
}

TEST_F(Blit, AlphaBlendConstantAndPerPixel)
{
    MemDc src(2, 1), dst(2, 1);
    auto mul = [](unsigned a, unsigned b) { return (a * b + 127) / 255; };
    SetPixel(src, 0, 0, RGB(200, 100, 0));
    SetPixel(src, 1, 0, RGB(200, 100, 0));
    dst.Fill(RGB(0, 50, 255));
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 128, 0};
    ASSERT_TRUE(AlphaBlend(dst, 0, 0, 2, 1, src, 0, 0, 2, 1, bf));
    // Dst = Src*128/255 + Dst*(255-128)/255 per channel, each product rounded.
    EXPECT_EQ(GetPixel(dst, 0, 0), RGB(mul(200, 128) + mul(0, 127), mul(100, 128) + mul(50, 127),
                                       mul(0, 128) + mul(255, 127)));
    // Premultiplied per-pixel alpha: a half-transparent pixel (alpha 128, colour already
    // multiplied) and a fully transparent one.
    auto s = zyn::gdi::DcFromHandle(src);
    s->surface->Row32(0)[0] = (128u << 24) | (100u << 16) | (50u << 8) | 0u;
    s->surface->Row32(0)[1] = 0;
    dst.Fill(RGB(0, 50, 255));
    BLENDFUNCTION pp{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ASSERT_TRUE(AlphaBlend(dst, 0, 0, 2, 1, src, 0, 0, 2, 1, pp));
    EXPECT_EQ(GetPixel(dst, 0, 0), RGB(100 + mul(0, 127), 50 + mul(50, 127), 0 + mul(255, 127)));
    EXPECT_EQ(GetPixel(dst, 1, 0), RGB(0, 50, 255));
    // An opaque source pixel replaces the destination, alpha byte and all.
    s->surface->Row32(0)[1] = 0xFF102030u;
    ASSERT_TRUE(AlphaBlend(dst, 0, 0, 2, 1, src, 0, 0, 2, 1, pp));
    EXPECT_EQ(zyn::gdi::DcFromHandle(dst)->surface->Row32(0)[1], 0xFF102030u);
    BLENDFUNCTION bad{1, 0, 255, 0};
    EXPECT_FALSE(AlphaBlend(dst, 0, 0, 2, 1, src, 0, 0, 2, 1, bad));
    EXPECT_FALSE(AlphaBlend(dst, 0, 0, 2, 1, src, 1, 0, 2, 1, bf)) << "source outside its bitmap";
}

TEST_F(Blit, GradientRectangleEndPoints)
{
    MemDc dc(10, 4);
    // Left vertex red 0xFF00, right vertex blue 0xFF00; green runs from 0x00FF to 0 and
    // never reaches a high byte above 0.
    TRIVERTEX v[2] = {{0, 0, 0xFF00, 0x00FF, 0x0000, 0}, {10, 4, 0x0000, 0x0000, 0xFF00, 0}};
    GRADIENT_RECT gr{0, 1};
    ASSERT_TRUE(GradientFill(dc, v, 2, &gr, 1, GRADIENT_FILL_RECT_H));
    // Column i, 16 bits: red 65280 - 65280 * i / 10, blue 65280 * i / 10 (truncated),
    // then the high byte.
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 9, 3), RGB(25, 0, 229)); // 6528 / 256 = 25.5, 58752 / 256 = 229.5
    EXPECT_EQ(GetPixel(dc, 5, 2), RGB(127, 0, 127)); // 32640 / 256 = 127.5 both
    // Vertical: rows.
    MemDc vd(2, 5);
    TRIVERTEX w[2] = {{0, 0, 0, 0, 0, 0}, {2, 5, 0xFFFF, 0xFFFF, 0xFFFF, 0}};
    ASSERT_TRUE(GradientFill(vd, w, 2, &gr, 1, GRADIENT_FILL_RECT_V));
    EXPECT_EQ(GetPixel(vd, 1, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(vd, 0, 4), RGB(204, 204, 204)); // 65535 * 4 / 5 = 52428 -> 204.8
    EXPECT_EQ(GetPixel(vd, 0, 1), RGB(51, 51, 51));    // 13107 -> 51.2
    GRADIENT_RECT badIdx{0, 7};
    EXPECT_FALSE(GradientFill(vd, w, 2, &badIdx, 1, GRADIENT_FILL_RECT_V));
}

// The 16-bit channels are interpolated whole: the low byte of a vertex counts.
TEST_F(Blit, GradientInterpolatesSixteenBitChannels)
{
    // From x = 4 to x = 60 (56 columns): R 0x0000 -> 0xFF00, G 0x4000 -> 0xC000,
    // B 0xFF00 -> 0x1000. Column 55 (x = 59): R 65280 * 55 / 56 = 64114 (0xFA72),
    // G 16384 + 32768 * 55 / 56 = 48566 (0xBDB6), B 65280 - 61184 * 55 / 56 = 5189
    // (0x1445). Column 1 (x = 5): B 65280 - 1092 = 64188 (0xFABC); with 8-bit channels
    // it would be 255 - 239 / 56 = 251 (0xFB).
    MemDc dc(64, 64);
    dc.Fill(RGB(1, 1, 1));
    TRIVERTEX v[2] = {{4, 4, 0x0000, 0x4000, 0xFF00, 0}, {60, 60, 0xFF00, 0xC000, 0x1000, 0}};
    GRADIENT_RECT gr{0, 1};
    ASSERT_TRUE(GradientFill(dc, v, 2, &gr, 1, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(GetPixel(dc, 59, 30), RGB(0xFA, 0xBD, 0x14));
    EXPECT_EQ(GetBValue(GetPixel(dc, 5, 30)), 0xFA);
    EXPECT_EQ(GetPixel(dc, 4, 4), RGB(0x00, 0x40, 0xFF));
    EXPECT_EQ(GetPixel(dc, 60, 30), RGB(1, 1, 1)) << "the right vertex's column is outside";
    EXPECT_EQ(GetPixel(dc, 30, 60), RGB(1, 1, 1)) << "the bottom vertex's row is outside";

    // 255 widened as 255 * 255 (0xFE01) and as 255 << 8 (0xFF00), run down to 0 over
    // ten columns: column 1 is 65025 - 6502 = 58523 (228) against 65280 - 6528 = 58752
    // (229); column 0 is 254 against 255.
    struct Row {
        COLOR16 start;
        COLORREF col0, col1, col9;
    };
    const Row rows[] = {
        {0xFE01, RGB(254, 0, 0), RGB(228, 0, 0), RGB(25, 0, 0)},  // 65025 - 58522 = 6503 -> 25
        {0xFF00, RGB(255, 0, 0), RGB(229, 0, 0), RGB(25, 0, 0)},  // 65280 - 58752 = 6528 -> 25
        {0x80FF, RGB(128, 0, 0), RGB(116, 0, 0), RGB(12, 0, 0)},  // 33023 - 3302 = 29721 -> 116; 3303 -> 12
        {0x8000, RGB(128, 0, 0), RGB(115, 0, 0), RGB(12, 0, 0)},  // 32768 - 3276 = 29492 -> 115; 3277 -> 12
    };
    for (const Row& r : rows) {
        MemDc ramp(10, 1);
        TRIVERTEX w[2] = {{0, 0, r.start, 0, 0, 0}, {10, 1, 0, 0, 0, 0}};
        ASSERT_TRUE(GradientFill(ramp, w, 2, &gr, 1, GRADIENT_FILL_RECT_H));
        EXPECT_EQ(GetPixel(ramp, 0, 0), r.col0) << std::hex << r.start;
        EXPECT_EQ(GetPixel(ramp, 1, 0), r.col1) << std::hex << r.start;
        EXPECT_EQ(GetPixel(ramp, 9, 0), r.col9) << std::hex << r.start;
    }
}

TEST_F(Blit, GradientTriangleVertices)
{
    MemDc dc(20, 20);
    dc.Fill(RGB(1, 1, 1));
    TRIVERTEX v[3] = {{0, 0, 0xFF00, 0, 0, 0}, {16, 0, 0, 0xFF00, 0, 0}, {0, 16, 0, 0, 0xFF00, 0}};
    GRADIENT_TRIANGLE t{0, 1, 2};
    ASSERT_TRUE(GradientFill(dc, v, 3, &t, 1, GRADIENT_FILL_TRIANGLE));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
    // (8, 0) is halfway along the top edge: 32640 (0x7F80) red and green.
    EXPECT_EQ(GetPixel(dc, 8, 0), RGB(127, 127, 0));
    // (0, 15): red 65280 / 16 = 4080 (0x0FF0), blue 65280 * 15 / 16 = 61200 (0xEF10).
    EXPECT_EQ(GetPixel(dc, 0, 15), RGB(15, 0, 239));
    EXPECT_EQ(GetPixel(dc, 15, 15), RGB(1, 1, 1)) << "outside the triangle";
}

TEST_F(Blit, ExtremeCoordinatesClipOrFailCleanly)
{
    MemDc dc(16, 16);
    MemDc src(4, 4);
    dc.Fill(RGB(1, 1, 1));
    Obj<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
    HGDIOBJ old = SelectObject(dc, red);
    const int big = 0x7FFFFFF0, small = -0x7FFFFFF0;
    EXPECT_TRUE(PatBlt(dc, big, 0, big, 10, PATCOPY));
    EXPECT_TRUE(PatBlt(dc, small, 0, big, 1, PATCOPY));
    EXPECT_EQ(GetPixel(dc, 15, 0), RGB(255, 0, 0)) << "a huge rectangle still covers the bitmap";
    EXPECT_TRUE(StretchBlt(dc, 0, 0, big, big, src, 0, 0, 4, 4, SRCCOPY));
    EXPECT_TRUE(StretchBlt(dc, 0, 0, 16, 16, src, 0, 0, big, 4, SRCCOPY));
    EXPECT_TRUE(StretchBlt(dc, big, 0, -big, 3, src, 0, 0, 4, 4, SRCCOPY));
    TRIVERTEX v[3] = {{small, small, 0xFF00, 0, 0, 0}, {big, big, 0, 0xFF00, 0, 0}, {small, big, 0, 0, 0xFF00, 0}};
    GRADIENT_RECT gr{0, 1};
    EXPECT_TRUE(GradientFill(dc, v, 3, &gr, 1, GRADIENT_FILL_RECT_H));
    GRADIENT_TRIANGLE tri{0, 1, 2};
    EXPECT_TRUE(GradientFill(dc, v, 3, &tri, 1, GRADIENT_FILL_TRIANGLE));
    SetWindowOrgEx(dc, small, small, nullptr);
    OffsetWindowOrgEx(dc, small, small, nullptr);
    const RECT r{big, big, big, big};
    EXPECT_EQ(FillRect(dc, &r, red), 1);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    const POINT slanted[] = {{0, small}, {5, big}, {-5, big}};
    SetLastError(0);
    EXPECT_EQ(CreatePolygonRgn(slanted, 3, ALTERNATE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(CreateEllipticRgn(0, 0, 10, 1 << 28), nullptr);
    // A tall rectangle polygon is cheap: its edges are vertical.
    const POINT tall[] = {{0, -(1 << 28)}, {4, -(1 << 28)}, {4, 1 << 28}, {0, 1 << 28}};
    Obj<HRGN> t(CreatePolygonRgn(tall, 4, WINDING));
    ASSERT_TRUE(t.get());
    EXPECT_TRUE(PtInRegion(t, 2, 12345678));
    Obj<HRGN> moved(CreateRectRgn(small, small, big, big));
    EXPECT_NE(OffsetRgn(moved, big, big), ERROR_REGION);
    EXPECT_NE(OffsetClipRgn(dc, big, big), ERROR_REGION);
    SelectObject(dc, old);
}
