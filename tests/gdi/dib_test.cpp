// DIB sections, Get/SetDIBits, bitmap bits, StretchDIBits and SetDIBitsToDevice.
#include <algorithm>
#include <cstring>
#include <vector>

#include "tests/gdi/gdi_test_support.h"

using namespace zyn::test;

namespace {
class Dib : public GdiTest {};

struct Info8 {
    BITMAPINFOHEADER h;
    RGBQUAD colors[256];
};

BITMAPINFOHEADER Header(int w, int h, int bpp)
{
    BITMAPINFOHEADER b{};
    b.biSize = sizeof b;
    b.biWidth = w;
    b.biHeight = h;
    b.biPlanes = 1;
    b.biBitCount = static_cast<WORD>(bpp);
    b.biCompression = BI_RGB;
    return b;
}
} // namespace

TEST_F(Dib, BottomUp32BitSectionSharesItsMemory)
{
    BITMAPINFO bi{};
    bi.bmiHeader = Header(3, 2, 32); // bottom-up
    void* bits = nullptr;
    Obj<HBITMAP> bm(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(bm.get());
    ASSERT_TRUE(bits);
    auto* px = static_cast<uint32_t*>(bits);
    // The first row in memory is the bottom row.
    px[0] = 0x00FF0000; // bottom-left, red
    px[3 + 2] = 0x000000FF; // top-right, blue
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bm);
    EXPECT_EQ(GetPixel(dc, 0, 1), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 2, 0), RGB(0, 0, 255));
    SetPixel(dc, 1, 0, RGB(0, 255, 0)); // top row, middle
    EXPECT_EQ(px[3 + 1], 0x0000FF00u);
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
    DIBSECTION ds{};
    EXPECT_EQ(GetObject(bm, sizeof ds, &ds), (int)sizeof ds);
    EXPECT_EQ(ds.dsBm.bmBits, bits);
    EXPECT_EQ(ds.dsBmih.biHeight, 2);
    EXPECT_EQ(ds.dsBm.bmWidthBytes, 12);
    SelectObject(dc, old);
    DeleteDC(dc);
}

TEST_F(Dib, EightBitSectionStaysInStepWithDrawing)
{
    Info8 bi{};
    bi.h = Header(4, -2, 8); // top-down
    bi.h.biClrUsed = 3;
    bi.colors[0] = RGBQUAD{0, 0, 0, 0};
    bi.colors[1] = RGBQUAD{0, 0, 255, 0}; // red
    bi.colors[2] = RGBQUAD{255, 0, 0, 0}; // blue
    void* bits = nullptr;
    Obj<HBITMAP> bm(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(bm.get());
    auto* p = static_cast<uint8_t*>(bits);
    p[1] = 1;     // row 0, x 1: red
    p[4 + 3] = 2; // row 1 (stride 4), x 3: blue
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bm);
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 3, 1), RGB(0, 0, 255));
    // Drawing lands in the caller's memory as the nearest table index.
    HBRUSH nearBlue = CreateSolidBrush(RGB(10, 0, 240));
    RECT r{0, 0, 1, 2};
    FillRect(dc, &r, nearBlue);
    DeleteObject(nearBlue);
    EXPECT_EQ(p[0], 2);
    EXPECT_EQ(p[4], 2);
    EXPECT_EQ(p[1], 1) << "untouched pixels keep their index";
    SelectObject(dc, old);
    DeleteDC(dc);
}

TEST_F(Dib, MonoSectionUsesItsColourTable)
{
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD c[2];
    } bi{Header(8, 1, 1), {{0, 0, 255, 0}, {0, 255, 0, 0}}}; // 0 red, 1 green
    void* bits = nullptr;
    Obj<HBITMAP> bm(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(bm.get());
    static_cast<uint8_t*>(bits)[0] = 0x80;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bm);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(255, 0, 0));
    SetPixel(dc, 2, 0, RGB(0, 200, 0)); // nearest: green (1)
    EXPECT_EQ(static_cast<uint8_t*>(bits)[0], 0xA0);
    SelectObject(dc, old);
    DeleteDC(dc);
}

TEST_F(Dib, GetDIBitsQueryAndRoundTrip)
{
    MemDc src(3, 2);
    SetPixel(src, 0, 0, RGB(1, 2, 3));
    SetPixel(src, 2, 1, RGB(4, 5, 6));
    HDC screen = GetDC(nullptr);
    BITMAPINFO q{};
    q.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    ASSERT_NE(GetDIBits(screen, src.bitmap(), 0, 0, nullptr, &q, DIB_RGB_COLORS), 0);
    EXPECT_EQ(q.bmiHeader.biWidth, 3);
    EXPECT_EQ(q.bmiHeader.biHeight, 2);
    EXPECT_EQ(q.bmiHeader.biBitCount, 32);
    EXPECT_EQ(q.bmiHeader.biSizeImage, 24u);
    // 24-bit bottom-up copy: rows padded to 12 bytes, the bottom row first.
    BITMAPINFO bi{};
    bi.bmiHeader = Header(3, 2, 24);
    std::vector<uint8_t> buf(24, 0xEE);
    EXPECT_EQ(GetDIBits(screen, src.bitmap(), 0, 2, buf.data(), &bi, DIB_RGB_COLORS), 2);
    EXPECT_EQ(buf[6], 6); // bottom row x 2: B G R = 6 5 4
    EXPECT_EQ(buf[7], 5);
    EXPECT_EQ(buf[8], 4);
    EXPECT_EQ(buf[12], 3); // top row x 0
    EXPECT_EQ(buf[14], 1);
    // And back into another bitmap.
    MemDc dst(3, 2);
    EXPECT_EQ(SetDIBits(dst, dst.bitmap(), 0, 2, buf.data(), &bi, DIB_RGB_COLORS), 2);
    EXPECT_EQ(GetPixel(dst, 0, 0), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(dst, 2, 1), RGB(4, 5, 6));
    // One scan line: scan 0 of a bottom-up DIB is the bottom row.
    std::vector<uint8_t> one(12, 0);
    EXPECT_EQ(GetDIBits(screen, src.bitmap(), 0, 1, one.data(), &bi, DIB_RGB_COLORS), 1);
    EXPECT_EQ(one[8], 4);
    // A mono bitmap reports its black/white table.
    MemDc mono(8, 1, true);
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD c[2];
    } mi{Header(8, 1, 1), {}};
    uint32_t row = 0;
    SetPixel(mono, 0, 0, RGB(255, 255, 255));
    EXPECT_EQ(GetDIBits(screen, mono.bitmap(), 0, 1, &row, reinterpret_cast<BITMAPINFO*>(&mi), DIB_RGB_COLORS), 1);
    EXPECT_EQ(row & 0xFF, 0x80u);
    EXPECT_EQ(mi.c[1].rgbRed, 255);
    EXPECT_EQ(mi.c[0].rgbRed, 0);
    BITMAPINFO broken{};
    EXPECT_EQ(GetDIBits(screen, src.bitmap(), 0, 2, buf.data(), &broken, DIB_RGB_COLORS), 0);
    ReleaseDC(nullptr, screen);
}

TEST_F(Dib, BitmapBitsAndConvertedDepths)
{
    // 24-bit DDB input, rows WORD aligned: 2 pixels = 6 bytes.
    const uint8_t rgb[12] = {0x30, 0x20, 0x10, 0x60, 0x50, 0x40, 0x90, 0x80, 0x70, 0xC0, 0xB0, 0xA0};
    Obj<HBITMAP> bm(CreateBitmap(2, 2, 1, 24, rgb));
    BITMAP info{};
    GetObject(bm, sizeof info, &info);
    EXPECT_EQ(info.bmBitsPixel, 32) << "colour bitmaps are stored at 32 bits";
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bm);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0xA0, 0xB0, 0xC0));
    SelectObject(dc, old);
    DeleteDC(dc);
    uint8_t out[16] = {};
    EXPECT_EQ(GetBitmapBits(bm, 0, nullptr), 16);
    EXPECT_EQ(GetBitmapBits(bm, sizeof out, out), 16);
    EXPECT_EQ(out[0], 0x30);
    EXPECT_EQ(out[2], 0x10);
    EXPECT_EQ(out[3], 0);
    out[0] = 0xFF;
    EXPECT_EQ(SetBitmapBits(bm, 4, out), 4);
    EXPECT_EQ(GetBitmapBits(bm, 4, out), 4);
    EXPECT_EQ(out[0], 0xFF);
    // Mono rows are WORD aligned.
    Obj<HBITMAP> mono(CreateBitmap(9, 2, 1, 1, nullptr));
    EXPECT_EQ(GetBitmapBits(mono, 0, nullptr), 4);
}

// A bitmap made without bits is black, also when one of the same size was painted white
// and freed just before (large pixel memory is kept and reused).
TEST_F(Dib, NewBitmapIsBlackAfterOneOfItsSizeWasFreed)
{
    constexpr int kW = 300, kH = 200; // well past the size whose memory is reused
    std::vector<uint8_t> bits(size_t(kW) * kH * 4);
    for (int round = 0; round < 2; ++round) {
        MemDc mem(kW, kH);
        ASSERT_EQ(GetBitmapBits(mem.bitmap(), LONG(bits.size()), bits.data()), LONG(bits.size()));
        EXPECT_EQ(std::count(bits.begin(), bits.end(), uint8_t(0)), std::ptrdiff_t(bits.size())) << "round " << round;
        mem.Fill(RGB(255, 255, 255));
    }
}

TEST_F(Dib, StretchDibitsAndSetDibitsToDevice)
{
    // A 2x2 bottom-up 32-bit DIB: memory row 0 is the bottom.
    BITMAPINFO bi{};
    bi.bmiHeader = Header(2, 2, 32);
    const uint32_t px[4] = {0x000001, 0x000002, 0x000003, 0x000004}; // bottom: 1 2, top: 3 4
    MemDc dc(4, 4);
    dc.Fill(0);
    EXPECT_EQ(StretchDIBits(dc, 0, 0, 4, 4, 0, 0, 2, 2, px, &bi, DIB_RGB_COLORS, SRCCOPY), 2);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 3)); // top-left is memory row 1
    EXPECT_EQ(GetPixel(dc, 3, 3), RGB(0, 0, 2));
    // The source origin of a bottom-up DIB is its lower-left corner: (0,0,1,1) is pixel "1".
    dc.Fill(0);
    StretchDIBits(dc, 0, 0, 1, 1, 0, 0, 1, 1, px, &bi, DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 1));
    dc.Fill(0);
    EXPECT_EQ(SetDIBitsToDevice(dc, 1, 1, 2, 2, 0, 0, 0, 2, px, &bi, DIB_RGB_COLORS), 2);
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0, 0, 3));
    EXPECT_EQ(GetPixel(dc, 2, 2), RGB(0, 0, 2));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
    // Only scan line 0 given: only the bottom row is drawn.
    dc.Fill(0);
    EXPECT_EQ(SetDIBitsToDevice(dc, 0, 0, 2, 2, 0, 0, 0, 1, px, &bi, DIB_RGB_COLORS), 1);
    EXPECT_EQ(GetPixel(dc, 0, 1), RGB(0, 0, 1));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
    BITMAPINFO rle = bi;
    rle.bmiHeader.biCompression = BI_RLE8;
    EXPECT_EQ(StretchDIBits(dc, 0, 0, 1, 1, 0, 0, 1, 1, px, &rle, DIB_RGB_COLORS, SRCCOPY), 0);
}

TEST_F(Dib, CreateDibitmapFromAPalette)
{
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD c[16];
    } bi{Header(2, 1, 4), {}};
    bi.c[5] = RGBQUAD{30, 20, 10, 0};
    const uint8_t bits[4] = {0x50, 0, 0, 0}; // pixel 0: index 5, pixel 1: index 0
    HDC screen = GetDC(nullptr);
    Obj<HBITMAP> bm(CreateDIBitmap(screen, &bi.h, CBM_INIT, bits, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS));
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(bm.get());
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bm);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0, 0, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
}

TEST_F(Dib, TwentyFourBitSectionKeepsDirectWrites)
{
    BITMAPINFO bi{};
    bi.bmiHeader = Header(2, 1, 24);
    void* bits = nullptr;
    Obj<HBITMAP> bm(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(bm.get());
    auto* p = static_cast<uint8_t*>(bits);
    p[3] = 0x33; // pixel 1: B G R
    p[4] = 0x22;
    p[5] = 0x11;
    BITMAP info{};
    GetObject(bm, sizeof info, &info); // must not write the stale surface back
    EXPECT_EQ(info.bmBitsPixel, 24);
    EXPECT_EQ(info.bmWidthBytes, 8);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bm);
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0x11, 0x22, 0x33));
    SetPixel(dc, 0, 0, RGB(0xAA, 0xBB, 0xCC));
    EXPECT_EQ(p[0], 0xCC);
    EXPECT_EQ(p[2], 0xAA);
    EXPECT_EQ(p[5], 0x11);
    SelectObject(dc, old);
    DeleteDC(dc);
    BITMAPINFO bad = bi;
    bad.bmiHeader.biBitCount = 3;
    EXPECT_EQ(CreateDIBSection(nullptr, &bad, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
}
