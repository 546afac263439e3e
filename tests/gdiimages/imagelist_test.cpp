// Image lists: adding from strips with masks or a mask colour, every drawing mode with
// pixels from the written formulas, overlays, the editing functions, merges, the stream
// format and drag images.
#include "tests/gdiimages/images_test_support.h"

#include "platform/base/archive.h"
#include "platform/base/lasterror.h"
#include "platform/base/memfile.h"
#include "platform/base/module.h"
#include "platform/base/resource.h"
#include "platform/gdi/imagefile.h"
#include "tests/gdiimages/image_bytes.h"

using namespace zyn::test;

namespace {

class ImageLists : public ImagesTest {};

constexpr COLORREF kR = RGB(200, 40, 0), kG = RGB(0, 180, 60), kB = RGB(20, 40, 220), kW = RGB(255, 255, 255);
constexpr COLORREF kM = RGB(255, 0, 255); // the mask colour
constexpr COLORREF kBg = RGB(100, 150, 200);

// Three 2 x 1 images: [R, M], [G, M], [B, W].
HIMAGELIST ThreeImages(UINT flags = ILC_COLOR24 | ILC_MASK)
{
    HIMAGELIST himl = ImageList_Create(2, 1, flags, 4, 4);
    OwnedBitmap strip(ColorBitmap(6, 1, {kR, kM, kG, kM, kB, kW}));
    EXPECT_EQ(ImageList_AddMasked(himl, static_cast<HBITMAP>(strip.get()), kM), 0);
    return himl;
}

COLORREF Channelwise(COLORREF a, COLORREF b, int (*f)(int, int))
{
    return RGB(f(GetRValue(a), GetRValue(b)), f(GetGValue(a), GetGValue(b)), f(GetBValue(a), GetBValue(b)));
}
COLORREF Blend50(COLORREF c, COLORREF f) { return Channelwise(c, f, [](int x, int y) { return (x + y) / 2; }); }
COLORREF Blend25(COLORREF c, COLORREF f) { return Channelwise(c, f, [](int x, int y) { return (3 * x + y) / 4; }); }

COLORREF BitmapPixel(HBITMAP hbm, int x, int y)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, hbm);
    const COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return c;
}

} // namespace

TEST_F(ImageLists, AddMaskedStoresBlackAndLeavesTheCallersBitmap)
{
    OwnedList himl(ImageList_Create(2, 1, ILC_COLOR24 | ILC_MASK, 1, 1));
    OwnedBitmap strip(ColorBitmap(6, 1, {kR, kM, kG, kM, kB, kW}));
    EXPECT_EQ(ImageList_AddMasked(himl, static_cast<HBITMAP>(strip.get()), kM), 0);
    EXPECT_EQ(ImageList_GetImageCount(himl), 3);
    EXPECT_EQ(ImageList_AddMasked(himl, static_cast<HBITMAP>(strip.get()), kM), 3); // grows past its room
    EXPECT_EQ(ImageList_GetImageCount(himl), 6);
    EXPECT_EQ(BitmapPixel(static_cast<HBITMAP>(strip.get()), 1, 0), kM);

    IMAGEINFO info{};
    ASSERT_TRUE(ImageList_GetImageInfo(himl, 1, &info));
    EXPECT_EQ(info.rcImage.left, 2);
    EXPECT_EQ(info.rcImage.right, 4);
    EXPECT_EQ(BitmapPixel(info.hbmImage, 2, 0), kG);
    EXPECT_EQ(BitmapPixel(info.hbmImage, 3, 0), RGB(0, 0, 0)); // stored black where masked
    EXPECT_EQ(BitmapPixel(info.hbmMask, 3, 0), kW);            // 1 = transparent
    EXPECT_EQ(BitmapPixel(info.hbmMask, 2, 0), RGB(0, 0, 0));
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(himl, &cx, &cy));
    EXPECT_EQ(cx, 2);
    EXPECT_EQ(cy, 1);
}

TEST_F(ImageLists, NormalTransparentAndBackgroundModes)
{
    OwnedList himl(ThreeImages());
    MemDc dc(2, 1);
    SetTextColor(dc, RGB(1, 2, 3)); // must not matter
    SetBkColor(dc, RGB(4, 5, 6));
    EXPECT_EQ(ImageList_GetBkColor(himl), CLR_NONE);

    dc.Fill(kBg);
    ASSERT_TRUE(ImageList_Draw(himl, 0, dc, 0, 0, ILD_NORMAL)); // no background colour: transparent
    EXPECT_EQ(dc.At(0, 0), kR);
    EXPECT_EQ(dc.At(1, 0), kBg);

    EXPECT_EQ(ImageList_SetBkColor(himl, kW), CLR_NONE);
    dc.Fill(kBg);
    ASSERT_TRUE(ImageList_Draw(himl, 0, dc, 0, 0, ILD_NORMAL));
    EXPECT_EQ(dc.At(1, 0), kW); // m ? bk XOR black : c
    dc.Fill(kBg);
    ASSERT_TRUE(ImageList_Draw(himl, 0, dc, 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(dc.At(1, 0), kBg);
    dc.Fill(kBg);
    ASSERT_TRUE(ImageList_DrawEx(himl, 1, dc, 0, 0, 0, 0, RGB(9, 8, 7), CLR_DEFAULT, ILD_NORMAL));
    EXPECT_EQ(dc.At(0, 0), kG);
    EXPECT_EQ(dc.At(1, 0), RGB(9, 8, 7));
    dc.Fill(kBg);
    ASSERT_TRUE(ImageList_DrawEx(himl, 1, dc, 0, 0, 0, 0, CLR_NONE, CLR_DEFAULT, ILD_NORMAL));
    EXPECT_EQ(dc.At(1, 0), kBg);
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetBkColor(dc), RGB(4, 5, 6));
}

TEST_F(ImageLists, MaskImageAndRopModes)
{
    OwnedList himl(ThreeImages());
    MemDc dc(2, 1);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    dc.Fill(kBg);
    ASSERT_TRUE(ImageList_Draw(himl, 0, dc, 0, 0, ILD_MASK));
    EXPECT_EQ(dc.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(dc.At(1, 0), kW);
    dc.Fill(kBg);
    ASSERT_TRUE(ImageList_Draw(himl, 0, dc, 0, 0, ILD_IMAGE));
    EXPECT_EQ(dc.At(0, 0), kR);
    EXPECT_EQ(dc.At(1, 0), RGB(0, 0, 0));

    // The toolbar's shadow: mask with PSDPxax (0xB8074A) and a brush: opaque -> P, transparent -> D.
    const COLORREF shadow = RGB(128, 128, 128);
    OwnedBitmap brush(CreateSolidBrush(shadow));
    HGDIOBJ old = SelectObject(dc, brush);
    dc.Fill(kBg);
    IMAGELISTDRAWPARAMS p{};
    p.cbSize = sizeof p;
    p.himl = himl;
    p.i = 0;
    p.hdcDst = dc;
    p.rgbBk = CLR_DEFAULT;
    p.rgbFg = CLR_DEFAULT;
    p.fStyle = ILD_MASK | ILD_ROP;
    p.dwRop = 0x00B8074A;
    ASSERT_TRUE(ImageList_DrawIndirect(&p));
    EXPECT_EQ(dc.At(0, 0), shadow);
    EXPECT_EQ(dc.At(1, 0), kBg);
    SelectObject(dc, old);

    // ILD_ROP alone: the colour plane through the rop.
    dc.Fill(kBg);
    p.fStyle = ILD_ROP;
    p.dwRop = SRCINVERT;
    ASSERT_TRUE(ImageList_DrawIndirect(&p));
    EXPECT_EQ(dc.At(0, 0), Xor(kBg, kR));
    EXPECT_EQ(dc.At(1, 0), kBg);

    // A part of the image: one pixel from x = 1 of image 2.
    dc.Fill(kBg);
    p.i = 2;
    p.fStyle = ILD_NORMAL;
    p.xBitmap = 1;
    p.cx = 1;
    ASSERT_TRUE(ImageList_DrawIndirect(&p));
    EXPECT_EQ(dc.At(0, 0), kW);
    EXPECT_EQ(dc.At(1, 0), kBg);
    // The older, shorter structure is accepted; nonsense sizes are not.
    p.cbSize = offsetof(IMAGELISTDRAWPARAMS, fState);
    EXPECT_TRUE(ImageList_DrawIndirect(&p));
    p.cbSize = 8;
    EXPECT_FALSE(ImageList_DrawIndirect(&p));
    EXPECT_FALSE(ImageList_DrawIndirect(nullptr));
}

TEST_F(ImageLists, BlendModes)
{
    OwnedList himl(ThreeImages());
    MemDc dc(2, 1);
    const COLORREF f = RGB(10, 100, 250);
    dc.Fill(kBg);
    ASSERT_TRUE(ImageList_DrawEx(himl, 0, dc, 0, 0, 0, 0, CLR_NONE, f, ILD_BLEND50));
    EXPECT_EQ(dc.At(0, 0), Blend50(kR, f));
    EXPECT_EQ(dc.At(1, 0), kBg); // transparent pixels stay transparent
    dc.Fill(kBg);
    ASSERT_TRUE(ImageList_DrawEx(himl, 0, dc, 0, 0, 0, 0, CLR_NONE, f, ILD_BLEND25));
    EXPECT_EQ(dc.At(0, 0), Blend25(kR, f));
    dc.Fill(kBg);
    ASSERT_TRUE(ImageList_DrawEx(himl, 0, dc, 0, 0, 0, 0, CLR_NONE, f, ILD_SELECTED | ILD_FOCUS));
    EXPECT_EQ(dc.At(0, 0), Blend50(kR, f)); // 50 wins
    // CLR_DEFAULT: the highlight colour, read at the call.
    const INT idx = COLOR_HIGHLIGHT;
    const COLORREF hl = RGB(0, 0, 128);
    SetSysColors(1, &idx, &hl);
    dc.Fill(kBg);
    ASSERT_TRUE(ImageList_Draw(himl, 1, dc, 0, 0, ILD_SELECTED));
    EXPECT_EQ(dc.At(0, 0), Blend50(kG, hl));
    // CLR_NONE: blended with what is on the destination.
    dc.Fill(kBg);
    ASSERT_TRUE(ImageList_DrawEx(himl, 2, dc, 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_BLEND50));
    EXPECT_EQ(dc.At(0, 0), Blend50(kB, kBg));
    EXPECT_EQ(dc.At(1, 0), Blend50(kW, kBg));
    // Blending with a background colour: masked pixels take the background.
    dc.Fill(kBg);
    ASSERT_TRUE(ImageList_DrawEx(himl, 0, dc, 0, 0, 0, 0, RGB(7, 7, 7), f, ILD_BLEND50));
    EXPECT_EQ(dc.At(0, 0), Blend50(kR, f));
    EXPECT_EQ(dc.At(1, 0), RGB(7, 7, 7));
}

TEST_F(ImageLists, Overlays)
{
    OwnedList himl(ImageList_Create(2, 1, ILC_COLOR24 | ILC_MASK, 4, 4));
    OwnedBitmap strip(ColorBitmap(4, 1, {kR, kR, kM, kB}));
    ASSERT_EQ(ImageList_AddMasked(himl, static_cast<HBITMAP>(strip.get()), kM), 0);
    ASSERT_TRUE(ImageList_SetOverlayImage(himl, 1, 1));
    EXPECT_FALSE(ImageList_SetOverlayImage(himl, 1, 16));
    EXPECT_FALSE(ImageList_SetOverlayImage(himl, 5, 2));
    MemDc dc(2, 1);
    dc.Fill(kBg);
    ASSERT_TRUE(ImageList_Draw(himl, 0, dc, 0, 0, ILD_TRANSPARENT | INDEXTOOVERLAYMASK(1)));
    EXPECT_EQ(dc.At(0, 0), kR); // the overlay is transparent here
    EXPECT_EQ(dc.At(1, 0), kB);
    // An unset overlay number draws the image alone.
    dc.Fill(kBg);
    ASSERT_TRUE(ImageList_Draw(himl, 0, dc, 0, 0, ILD_TRANSPARENT | INDEXTOOVERLAYMASK(2)));
    EXPECT_EQ(dc.At(1, 0), kR);
    // In mask mode the overlay's mask joins the image's.
    dc.Fill(kBg);
    ASSERT_TRUE(ImageList_Draw(himl, 1, dc, 0, 0, ILD_MASK));
    EXPECT_EQ(dc.At(0, 0), kW);
    // Removing the overlay's image clears the overlay.
    ASSERT_TRUE(ImageList_Remove(himl, 1));
    dc.Fill(kBg);
    ASSERT_TRUE(ImageList_Draw(himl, 0, dc, 0, 0, ILD_TRANSPARENT | INDEXTOOVERLAYMASK(1)));
    EXPECT_EQ(dc.At(1, 0), kR);
}

TEST_F(ImageLists, ExplicitMasksAndListsWithoutMask)
{
    OwnedList himl(ImageList_Create(2, 1, ILC_COLOR32 | ILC_MASK, 1, 1));
    OwnedBitmap image(ColorBitmap(2, 1, {kR, RGB(0, 0, 0)}));
    OwnedBitmap mask(MonoBitmap(2, 1, {0, 1}));
    ASSERT_EQ(ImageList_Add(himl, static_cast<HBITMAP>(image.get()), static_cast<HBITMAP>(mask.get())), 0);
    ASSERT_EQ(ImageList_Add(himl, static_cast<HBITMAP>(image.get()), nullptr), 1); // no mask: opaque
    MemDc dc(2, 1);
    dc.Fill(kBg);
    ImageList_Draw(himl, 0, dc, 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(dc.At(1, 0), kBg);
    dc.Fill(kBg);
    ImageList_Draw(himl, 1, dc, 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(dc.At(1, 0), RGB(0, 0, 0));
    // A bitmap narrower than one image adds nothing.
    OwnedBitmap narrow(ColorBitmap(1, 1, {kR}));
    EXPECT_EQ(ImageList_Add(himl, static_cast<HBITMAP>(narrow.get()), nullptr), -1);

    OwnedList plain(ImageList_Create(2, 1, ILC_COLOR24, 1, 1));
    OwnedBitmap strip(ColorBitmap(2, 1, {kR, kM}));
    ASSERT_EQ(ImageList_AddMasked(plain, static_cast<HBITMAP>(strip.get()), kM), 0);
    dc.Fill(kBg);
    ImageList_Draw(plain, 0, dc, 0, 0, ILD_TRANSPARENT); // nothing to be transparent with
    EXPECT_EQ(dc.At(1, 0), kM);
    IMAGEINFO info{};
    ASSERT_TRUE(ImageList_GetImageInfo(plain, 0, &info));
    EXPECT_EQ(info.hbmMask, nullptr);
}

TEST_F(ImageLists, EditingImages)
{
    OwnedList himl(ThreeImages());
    MemDc dc(2, 1);
    auto first = [&](int i) {
        dc.Fill(kBg);
        EXPECT_TRUE(ImageList_Draw(himl, i, dc, 0, 0, ILD_TRANSPARENT));
        return dc.At(0, 0);
    };
    ASSERT_TRUE(ImageList_Remove(himl, 0));
    EXPECT_EQ(ImageList_GetImageCount(himl), 2);
    EXPECT_EQ(first(0), kG);
    EXPECT_EQ(first(1), kB);
    EXPECT_FALSE(ImageList_Remove(himl, 2));
    EXPECT_FALSE(ImageList_Draw(himl, 2, dc, 0, 0, ILD_NORMAL));

    OwnedBitmap red(ColorBitmap(2, 1, {kR, kR}));
    ASSERT_TRUE(ImageList_Replace(himl, 1, static_cast<HBITMAP>(red.get()), nullptr));
    EXPECT_EQ(first(1), kR);
    EXPECT_FALSE(ImageList_Replace(himl, 5, static_cast<HBITMAP>(red.get()), nullptr));

    ASSERT_TRUE(ImageList_Copy(himl, 0, himl, 1, ILCF_SWAP));
    EXPECT_EQ(first(0), kR);
    EXPECT_EQ(first(1), kG);
    ASSERT_TRUE(ImageList_Copy(himl, 1, himl, 0, ILCF_MOVE));
    EXPECT_EQ(first(1), kR);

    ASSERT_TRUE(ImageList_SetImageCount(himl, 4));
    EXPECT_EQ(ImageList_GetImageCount(himl), 4);
    EXPECT_EQ(first(3), kBg); // blank images are transparent
    ASSERT_TRUE(ImageList_SetImageCount(himl, 1));
    EXPECT_EQ(ImageList_GetImageCount(himl), 1);

    ASSERT_TRUE(ImageList_Remove(himl, -1));
    EXPECT_EQ(ImageList_GetImageCount(himl), 0);
    OwnedBitmap strip(ColorBitmap(6, 1, {kR, kM, kG, kM, kB, kW}));
    ImageList_AddMasked(himl, static_cast<HBITMAP>(strip.get()), kM);
    ASSERT_TRUE(ImageList_SetIconSize(himl, 3, 3));
    EXPECT_EQ(ImageList_GetImageCount(himl), 0); // a new size clears the list
    int cx = 0, cy = 0;
    ImageList_GetIconSize(himl, &cx, &cy);
    EXPECT_EQ(cx, 3);
    EXPECT_FALSE(ImageList_SetIconSize(himl, 0, 3));
}

TEST_F(ImageLists, IconsInAndOut)
{
    OwnedList himl(ImageList_Create(4, 1, ILC_COLOR24 | ILC_MASK, 1, 1));
    OwnedBitmap color(ColorBitmap(4, 1, {0x000000, 0x000000, 0xFFFFFF, kR}));
    OwnedBitmap mask(MonoBitmap(4, 1, {1, 0, 1, 0}));
    ICONINFO ii{TRUE, 0, 0, static_cast<HBITMAP>(mask.get()), static_cast<HBITMAP>(color.get())};
    OwnedIcon icon(CreateIconIndirect(&ii));
    EXPECT_EQ(ImageList_AddIcon(himl, icon), 0);
    EXPECT_EQ(ImageList_ReplaceIcon(himl, -1, icon), 1);
    EXPECT_EQ(ImageList_ReplaceIcon(himl, 7, icon), -1);
    MemDc viaList(4, 1), viaIcon(4, 1);
    viaList.Fill(kBg);
    viaIcon.Fill(kBg);
    ImageList_Draw(himl, 0, viaList, 0, 0, ILD_TRANSPARENT);
    OwnedIcon out(ImageList_GetIcon(himl, 1, 0));
    ASSERT_NE(out.get(), nullptr);
    DrawIconEx(viaIcon, 0, 0, out, 0, 0, 0, nullptr, DI_NORMAL);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(viaList.At(x, 0), viaIcon.At(x, 0)) << x;
    EXPECT_EQ(viaList.At(2, 0), Xor(kBg, kW)); // the inverting pixel survives the trip
    EXPECT_EQ(ImageList_GetIcon(himl, 9, 0), nullptr);

    // A bigger icon is scaled to the list's size; a list without mask draws it over its background.
    OwnedList plain(ImageList_Create(2, 2, ILC_COLOR24, 1, 1));
    ImageList_SetBkColor(plain, kW);
    HICON arrow = LoadIcon(nullptr, IDI_WINLOGO);
    EXPECT_EQ(ImageList_AddIcon(plain, arrow), 0);
}

TEST_F(ImageLists, MergeAndDuplicate)
{
    OwnedList a(ThreeImages());
    OwnedList merged(ImageList_Merge(a, 0, a, 2, 1, 0));
    ASSERT_NE(merged.get(), nullptr);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(merged, &cx, &cy);
    EXPECT_EQ(cx, 3); // covers [0,2) and [1,3)
    EXPECT_EQ(cy, 1);
    MemDc dc(3, 1);
    dc.Fill(kBg);
    ASSERT_TRUE(ImageList_Draw(merged, 0, dc, 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(dc.At(0, 0), kR);
    EXPECT_EQ(dc.At(1, 0), kB); // image 2's opaque pixel over image 0's transparent one
    EXPECT_EQ(dc.At(2, 0), kW);
    // A negative offset extends the canvas to the left.
    OwnedList left(ImageList_Merge(a, 0, a, 1, -1, 0));
    ImageList_GetIconSize(left, &cx, &cy);
    EXPECT_EQ(cx, 3);
    dc.Fill(kBg);
    ImageList_Draw(left, 0, dc, 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(dc.At(0, 0), kG);
    EXPECT_EQ(dc.At(1, 0), kR);
    EXPECT_EQ(dc.At(2, 0), kBg);

    OwnedList copy(ImageList_Duplicate(a));
    ASSERT_NE(copy.get(), nullptr);
    ImageList_Remove(a, -1);
    EXPECT_EQ(ImageList_GetImageCount(copy), 3);
    MemDc d2(2, 1);
    d2.Fill(kBg);
    ImageList_Draw(copy, 2, d2, 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(d2.At(0, 0), kB);
}

TEST_F(ImageLists, AlphaImagesInThirtyTwoBitLists)
{
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = 2;
    bi.bmiHeader.biHeight = -1;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    OwnedBitmap dib(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    static_cast<uint32_t*>(bits)[0] = 0xFFFF0000u;
    static_cast<uint32_t*>(bits)[1] = 0x00000000u;
    OwnedList himl(ImageList_Create(2, 1, ILC_COLOR32 | ILC_MASK, 1, 1));
    ASSERT_EQ(ImageList_Add(himl, static_cast<HBITMAP>(dib.get()), nullptr), 0);
    MemDc dc(2, 1);
    dc.Fill(kBg);
    ImageList_Draw(himl, 0, dc, 0, 0, ILD_NORMAL);
    EXPECT_EQ(dc.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(dc.At(1, 0), kBg);
    // A 24-bit list drops the alpha and draws by its mask.
    OwnedList flat(ImageList_Create(2, 1, ILC_COLOR24 | ILC_MASK, 1, 1));
    ASSERT_EQ(ImageList_Add(flat, static_cast<HBITMAP>(dib.get()), nullptr), 0);
    dc.Fill(kBg);
    ImageList_Draw(flat, 0, dc, 0, 0, ILD_NORMAL);
    EXPECT_EQ(dc.At(0, 0), RGB(255, 0, 0));
}

TEST_F(ImageLists, WriteAndReadRoundTrip)
{
    OwnedList himl(ThreeImages(ILC_COLOR8 | ILC_MASK));
    ImageList_SetBkColor(himl, RGB(1, 2, 3));
    ImageList_SetOverlayImage(himl, 2, 3);
    zyn::gdi::ByteVectorStream out;
    ASSERT_TRUE(ImageList_Write(himl, &out));
    const std::vector<uint8_t> bytes = out.Bytes();
    ASSERT_GE(bytes.size(), 36u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "ZIML");

    zyn::gdi::ByteVectorStream in(bytes);
    OwnedList back(ImageList_Read(&in));
    ASSERT_NE(back.get(), nullptr) << zyn::gdi::LastImageError();
    EXPECT_EQ(in.Position(), bytes.size());
    EXPECT_EQ(ImageList_GetImageCount(back), 3);
    EXPECT_EQ(ImageList_GetBkColor(back), RGB(1, 2, 3));
    for (int i = 0; i < 3; ++i)
        for (UINT mode : {ILD_NORMAL, ILD_TRANSPARENT, ILD_MASK, ILD_IMAGE, ILD_NORMAL | INDEXTOOVERLAYMASK(3)}) {
            MemDc a(2, 1), b(2, 1);
            a.Fill(kBg);
            b.Fill(kBg);
            ImageList_Draw(himl, i, a, 0, 0, mode);
            ImageList_Draw(back, i, b, 0, 0, mode);
            EXPECT_EQ(a.At(0, 0), b.At(0, 0)) << i << " " << mode;
            EXPECT_EQ(a.At(1, 0), b.At(1, 0)) << i << " " << mode;
        }
    // Writing the copy gives the same bytes.
    zyn::gdi::ByteVectorStream again;
    ASSERT_TRUE(ImageList_Write(back, &again));
    EXPECT_EQ(again.Bytes(), bytes);
}

TEST_F(ImageLists, ReadRefusesDamagedStreams)
{
    OwnedList himl(ThreeImages());
    ImageList_SetOverlayImage(himl, 1, 1);
    zyn::gdi::ByteVectorStream out;
    ASSERT_TRUE(ImageList_Write(himl, &out));
    const std::vector<uint8_t> good = out.Bytes();
    for (size_t n = 0; n < good.size(); ++n) {
        zyn::gdi::ByteVectorStream in(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<ptrdiff_t>(n)));
        EXPECT_EQ(ImageList_Read(&in), nullptr) << n;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA) << n;
    }
    auto refused = [&](size_t at, uint32_t value, const char* what) {
        std::vector<uint8_t> b = good;
        Set32(b, at, value);
        zyn::gdi::ByteVectorStream in(b);
        EXPECT_EQ(ImageList_Read(&in), nullptr) << what;
        EXPECT_FALSE(zyn::gdi::LastImageError().empty()) << what;
    };
    refused(0, 0x4C4D495Au ^ 1, "magic");
    refused(4, 2 | (28u << 16), "version");
    refused(8, 0, "zero width");
    refused(12, 5000, "tall images");
    refused(16, 0x80000000u, "unknown flags");
    refused(20, 70000, "too many images");
    refused(20, 60000, "count beyond the data");
    refused(28, 0x01000000u, "palette-index background");
    refused(32, 16, "overlay count");
    refused(36, 3, "overlay beyond the images");
    std::vector<uint8_t> badImageFlags = good;
    badImageFlags[36 + 60] = 0x80;
    zyn::gdi::ByteVectorStream in(badImageFlags);
    EXPECT_EQ(ImageList_Read(&in), nullptr);
    EXPECT_EQ(ImageList_Read(nullptr), nullptr);
}

TEST_F(ImageLists, ThroughAnArchive)
{
    OwnedList himl(ThreeImages());
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        zyn::gdi::ArchiveImageListStream stream(ar);
        ASSERT_TRUE(ImageList_Write(himl, &stream));
        ar.Close();
    }
    file.SeekToBegin();
    {
        CArchive ar(&file, CArchive::load);
        zyn::gdi::ArchiveImageListStream stream(ar);
        OwnedList back(ImageList_Read(&stream));
        ASSERT_NE(back.get(), nullptr) << zyn::gdi::LastImageError();
        EXPECT_EQ(ImageList_GetImageCount(back), 3);
        // The archive is at its end now: a second read fails cleanly.
        EXPECT_EQ(ImageList_Read(&stream), nullptr);
    }
}

TEST_F(ImageLists, LoadImageFromAResourceStrip)
{
    HMODULE mod = zyn::base::RegisterResourceModule(L"strips.dll");
    ASSERT_NE(mod, nullptr);
    DibSpec s;
    s.width = 6;
    s.height = 2;
    s.bpp = 24;
    ASSERT_TRUE(zyn::base::AddResource(mod, RT_BITMAP, MAKEINTRESOURCE(10030), LANG_NEUTRAL,
        PackedDib(s, [](int x, int) { return x % 2 ? 0xFF00FFu : 0x00C000u; })));
    {
        OwnedList himl(ImageList_LoadImageW(mod, MAKEINTRESOURCE(10030), 2, 0, CLR_DEFAULT, IMAGE_BITMAP, 0));
        ASSERT_NE(himl.get(), nullptr) << zyn::gdi::LastImageError();
        EXPECT_EQ(ImageList_GetImageCount(himl), 3);
        MemDc dc(2, 2);
        dc.Fill(kBg);
        ImageList_Draw(himl, 1, dc, 0, 0, ILD_TRANSPARENT);
        EXPECT_EQ(dc.At(0, 1), kBg); // the top-left colour is the mask colour
        EXPECT_EQ(dc.At(1, 1), RGB(255, 0, 255));
        OwnedList unmasked(ImageList_LoadBitmap(mod, MAKEINTRESOURCE(10030), 2, 0, CLR_NONE));
        dc.Fill(kBg);
        ImageList_Draw(unmasked, 1, dc, 0, 0, ILD_TRANSPARENT);
        EXPECT_EQ(dc.At(0, 1), RGB(0, 192, 0));
        EXPECT_EQ(ImageList_LoadBitmap(mod, MAKEINTRESOURCE(1), 2, 0, CLR_NONE), nullptr);
    }
    zyn::base::UnregisterBuiltinModule(mod);
}

TEST_F(ImageLists, DragImagesSaveAndRestoreTheScreen)
{
    HDC screen = GetDC(nullptr);
    for (int y = 95; y < 110; ++y)
        for (int x = 95; x < 110; ++x)
            SetPixelV(screen, x, y, kBg);
    OwnedList himl(ThreeImages());
    ASSERT_TRUE(ImageList_BeginDrag(himl, 2, 1, 0)); // hotspot on the image's second pixel
    ASSERT_TRUE(ImageList_DragEnter(nullptr, 100, 100));
    EXPECT_EQ(GetPixel(screen, 99, 100), kB);
    EXPECT_EQ(GetPixel(screen, 100, 100), kW);
    ASSERT_TRUE(ImageList_DragMove(104, 102));
    EXPECT_EQ(GetPixel(screen, 99, 100), kBg); // put back
    EXPECT_EQ(GetPixel(screen, 100, 100), kBg);
    EXPECT_EQ(GetPixel(screen, 103, 102), kB);
    POINT pt{}, hot{};
    HIMAGELIST drag = ImageList_GetDragImage(&pt, &hot);
    ASSERT_NE(drag, nullptr);
    EXPECT_EQ(pt.x, 104);
    EXPECT_EQ(hot.x, 1);
    ASSERT_TRUE(ImageList_DragShowNolock(FALSE));
    EXPECT_EQ(GetPixel(screen, 103, 102), kBg);
    ASSERT_TRUE(ImageList_DragShowNolock(TRUE));
    EXPECT_EQ(GetPixel(screen, 103, 102), kB);

    // A cursor image joins the drag image with its hotspot on the drag hotspot.
    OwnedList cursor(ImageList_Create(1, 1, ILC_COLOR24 | ILC_MASK, 1, 1));
    OwnedBitmap dot(ColorBitmap(1, 1, {kG}));
    ImageList_Add(cursor, static_cast<HBITMAP>(dot.get()), nullptr);
    ASSERT_TRUE(ImageList_SetDragCursorImage(cursor, 0, 0, 0));
    EXPECT_EQ(GetPixel(screen, 104, 102), kG);
    EXPECT_EQ(GetPixel(screen, 103, 102), kB);

    ASSERT_TRUE(ImageList_DragLeave(nullptr));
    EXPECT_EQ(GetPixel(screen, 103, 102), kBg);
    EXPECT_EQ(GetPixel(screen, 104, 102), kBg);
    ImageList_EndDrag();
    EXPECT_EQ(ImageList_GetDragImage(nullptr, nullptr), nullptr);
    EXPECT_FALSE(ImageList_DragMove(1, 1));
    ReleaseDC(nullptr, screen);
}

TEST_F(ImageLists, StaleHandlesAndBadArguments)
{
    HIMAGELIST himl = ImageList_Create(2, 2, ILC_COLOR24, 0, 0);
    ASSERT_NE(himl, nullptr);
    ASSERT_TRUE(ImageList_Destroy(himl));
    EXPECT_FALSE(ImageList_Destroy(himl));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(ImageList_GetImageCount(himl), 0);
    MemDc dc(2, 2);
    EXPECT_FALSE(ImageList_Draw(himl, 0, dc, 0, 0, ILD_NORMAL));
    EXPECT_EQ(ImageList_GetBkColor(himl), CLR_NONE);
    EXPECT_EQ(ImageList_Create(0, 5, ILC_COLOR24, 1, 1), nullptr);
    EXPECT_EQ(ImageList_Create(5, 100000, ILC_COLOR24, 1, 1), nullptr);
    OwnedList big(ImageList_Create(16, 16, ILC_COLOR24, 1000000, 1000000)); // hints are bounded
    EXPECT_NE(big.get(), nullptr);
    EXPECT_FALSE(ImageList_GetIconSize(big, nullptr, nullptr));
}
