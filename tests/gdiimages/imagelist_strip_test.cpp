// Image-list drawing reads each image where it lies in the list's strip: odd widths whose
// mask bits straddle bytes, the last image at the strip's right edge, parts cut by
// xBitmap/yBitmap/cx/cy, clipped destinations, and colour bytes whose alpha byte was set
// through the shared bitmap. Expected pixels follow from the drawing rules by hand:
//   ILD_TRANSPARENT    masked -> what was there, else the colour
//   ILD_NORMAL + bk    masked -> bk (stored black XOR bk), else the colour
//   ILD_MASK           masked -> white, else black
//   ILD_IMAGE          masked -> black (stored black), else the colour
#include "tests/gdiimages/images_test_support.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using namespace zyn::test;

namespace {

constexpr int kCx = 5, kCy = 2, kImages = 4;
constexpr COLORREF kMaskColor = RGB(255, 0, 255);
constexpr COLORREF kBg = RGB(100, 150, 200);
constexpr COLORREF kBk = RGB(9, 8, 7);

bool Masked(int image, int x, int y) { return (x + y + image) % 3 == 0; }
COLORREF Colour(int image, int x, int y) { return RGB(10 * image + x + 1, 20 * y + 1, 50 + image); }

// Four 5 x 2 images in a list whose room is exactly four, so image 3 ends the strip.
HIMAGELIST OddStrip()
{
    HIMAGELIST himl = ImageList_Create(kCx, kCy, ILC_COLOR24 | ILC_MASK, kImages, 4);
    std::vector<COLORREF> px;
    for (int y = 0; y < kCy; ++y)
        for (int i = 0; i < kImages; ++i)
            for (int x = 0; x < kCx; ++x)
                px.push_back(Masked(i, x, y) ? kMaskColor : Colour(i, x, y));
    OwnedBitmap strip(ColorBitmap(kCx * kImages, kCy, px));
    EXPECT_EQ(ImageList_AddMasked(himl, static_cast<HBITMAP>(strip.get()), kMaskColor), 0);
    return himl;
}

struct DrawCase {
    const char* name;
    int image;
    UINT style;
    COLORREF bk;     // CLR_NONE: none
    int xb, yb;      // part origin in the image
    int cx, cy;      // 0: to the image's edge
    int dx, dy;      // destination
    bool holed = false; // column x = 2 excluded from the clip region
};

COLORREF Expected(const DrawCase& c, int sx, int sy)
{
    const bool m = Masked(c.image, sx, sy);
    if (c.style & ILD_MASK)
        return m ? RGB(255, 255, 255) : RGB(0, 0, 0);
    if (!m)
        return Colour(c.image, sx, sy);
    if (c.style & ILD_IMAGE)
        return RGB(0, 0, 0);
    if ((c.style & ILD_TRANSPARENT) || c.bk == CLR_NONE)
        return kBg;
    return c.bk;
}

} // namespace

TEST(ImageListStrip, EachDrawTakesOnlyItsOwnImagesPixels)
{
    OwnedList himl(OddStrip());
    ASSERT_EQ(ImageList_GetImageCount(himl), kImages);
    const DrawCase cases[] = {
        {"first, transparent", 0, ILD_TRANSPARENT, CLR_NONE, 0, 0, 0, 0, 1, 1},
        {"second (bits from 5), transparent", 1, ILD_TRANSPARENT, CLR_NONE, 0, 0, 0, 0, 2, 0},
        {"last at the strip's edge, transparent", 3, ILD_TRANSPARENT, CLR_NONE, 0, 0, 0, 0, 0, 2},
        {"last at the strip's edge, background", 3, ILD_NORMAL, kBk, 0, 0, 0, 0, 0, 0},
        {"third, mask only", 2, ILD_MASK, CLR_NONE, 0, 0, 0, 0, 3, 1},
        {"third, image only", 2, ILD_IMAGE, CLR_NONE, 0, 0, 0, 0, 3, 1},
        {"right edge part, crossing a byte", 2, ILD_TRANSPARENT, CLR_NONE, 3, 0, 2, 0, 0, 0},
        {"part wider than the image stops at it", 1, ILD_TRANSPARENT, CLR_NONE, 2, 0, 10, 0, 4, 0},
        {"lower row only", 0, ILD_NORMAL, kBk, 1, 1, 3, 5, 1, 3},
        {"clipped at the left and top", 1, ILD_TRANSPARENT, CLR_NONE, 0, 0, 0, 0, -2, -1},
        {"clipped at the right, mask", 3, ILD_MASK, CLR_NONE, 0, 0, 0, 0, 6, 2},
        {"a hole in the clip region, transparent", 1, ILD_TRANSPARENT, CLR_NONE, 0, 0, 0, 0, 1, 1, true},
        {"a hole in the clip region, background", 2, ILD_NORMAL, kBk, 0, 0, 0, 0, 0, 0, true},
    };
    constexpr int W = 8, H = 4;
    for (const DrawCase& c : cases) {
        SCOPED_TRACE(c.name);
        MemDc dc(W, H);
        SetTextColor(dc, RGB(1, 2, 3)); // neither may colour the mask
        SetBkColor(dc, RGB(4, 5, 6));
        dc.Fill(kBg);
        if (c.holed)
            ExcludeClipRect(dc, 2, 0, 3, H);
        IMAGELISTDRAWPARAMS p{};
        p.cbSize = sizeof p;
        p.himl = himl;
        p.i = c.image;
        p.hdcDst = dc;
        p.x = c.dx;
        p.y = c.dy;
        p.cx = c.cx;
        p.cy = c.cy;
        p.xBitmap = c.xb;
        p.yBitmap = c.yb;
        p.rgbBk = c.bk;
        p.rgbFg = CLR_DEFAULT;
        p.fStyle = c.style;
        ASSERT_TRUE(ImageList_DrawIndirect(&p));
        SelectClipRgn(dc, nullptr); // GetPixel reads only inside the clip region
        const int w = std::min(c.cx > 0 ? c.cx : kCx - c.xb, kCx - c.xb);
        const int h = std::min(c.cy > 0 ? c.cy : kCy - c.yb, kCy - c.yb);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const int i = x - c.dx, j = y - c.dy;
                const bool inside = i >= 0 && i < w && j >= 0 && j < h && !(c.holed && x == 2);
                const COLORREF want = inside ? Expected(c, c.xb + i, c.yb + j) : kBg;
                EXPECT_EQ(dc.At(x, y), want) << "at " << x << "," << y;
            }
        EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
        EXPECT_EQ(GetBkColor(dc), RGB(4, 5, 6));
    }
}

// A caller may write alpha bytes into the shared colour bitmap of a list that keeps no
// alpha; an opaque draw still leaves clear alpha bytes on a 32-bit destination, and a
// masked one takes the colour alone.
TEST(ImageListStrip, AlphaBytesWrittenThroughTheSharedBitmapStayOffTheScreen)
{
    constexpr COLORREF kC = RGB(30, 60, 90);
    for (const UINT flags : {UINT{ILC_COLOR24}, UINT{ILC_COLOR24 | ILC_MASK}}) {
        SCOPED_TRACE(flags);
        OwnedList himl(ImageList_Create(3, 1, flags, 1, 1));
        OwnedBitmap src(ColorBitmap(3, 1, {kC, kC, kC}));
        ASSERT_EQ(ImageList_Add(himl, static_cast<HBITMAP>(src.get()), nullptr), 0);
        IMAGEINFO info{};
        ASSERT_TRUE(ImageList_GetImageInfo(himl, 0, &info));
        uint32_t strip[3] = {};
        ASSERT_EQ(GetBitmapBits(info.hbmImage, sizeof strip, strip), static_cast<LONG>(sizeof strip));
        for (uint32_t& v : strip)
            v |= 0x80000000u;
        ASSERT_EQ(SetBitmapBits(info.hbmImage, sizeof strip, strip), static_cast<LONG>(sizeof strip));

        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP target = CreateBitmap(3, 1, 1, 32, nullptr);
        HGDIOBJ old = SelectObject(dc, target);
        ASSERT_TRUE(ImageList_Draw(himl, 0, dc, 0, 0, ILD_NORMAL));
        uint32_t out[3] = {};
        ASSERT_EQ(GetBitmapBits(target, sizeof out, out), static_cast<LONG>(sizeof out));
        for (const uint32_t v : out)
            EXPECT_EQ(v, 0x001E3C5Au); // B 90, G 60, R 30 and a clear alpha byte
        SelectObject(dc, old);
        DeleteObject(target);
        DeleteDC(dc);
    }
}

// Drawn into its own shared bitmap, a masked image is read as it was before the draw.
// Image 0 is [R, G], image 1 [B, W], both opaque; drawing image 0 at x = 1 of the strip
// puts R at x = 1 and G at x = 2 (the mask pass blacks both, the colour pass XORs in
// the image as it was), so the strip reads [R, R, G, W].
TEST(ImageListStrip, DrawingIntoItsOwnBitmapReadsTheImageAsItWas)
{
    constexpr COLORREF kR = RGB(200, 40, 0), kG = RGB(0, 180, 60), kB = RGB(20, 40, 220), kW = RGB(255, 255, 255);
    OwnedList himl(ImageList_Create(2, 1, ILC_COLOR24 | ILC_MASK, 2, 2));
    OwnedBitmap strip(ColorBitmap(4, 1, {kR, kG, kB, kW}));
    ASSERT_EQ(ImageList_AddMasked(himl, static_cast<HBITMAP>(strip.get()), kMaskColor), 0);
    IMAGEINFO info{};
    ASSERT_TRUE(ImageList_GetImageInfo(himl, 0, &info));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, info.hbmImage);
    ASSERT_TRUE(ImageList_Draw(himl, 0, dc, 1, 0, ILD_TRANSPARENT));
    EXPECT_EQ(GetPixel(dc, 0, 0), kR);
    EXPECT_EQ(GetPixel(dc, 1, 0), kR);
    EXPECT_EQ(GetPixel(dc, 2, 0), kG);
    EXPECT_EQ(GetPixel(dc, 3, 0), kW);
    SelectObject(dc, old);
    DeleteDC(dc);
}
