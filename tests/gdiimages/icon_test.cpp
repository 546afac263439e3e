// Icons and cursors: creation, information, copies, destruction and drawing by the
// AND-then-XOR rule, stretching, the flicker-free path, monochrome and alpha icons, and
// the system icons and cursors.
#include "tests/gdiimages/images_test_support.h"

#include <cstdlib>

#include "platform/base/lasterror.h"
#include "platform/gdi/png_export.h"
#include "tests/support/testenv.h"

using namespace zyn::test;

namespace {

class Icons : public ImagesTest {};

constexpr COLORREF kBg = RGB(100, 150, 200);
constexpr COLORREF kC = RGB(10, 20, 30);

// A 4 x 1 icon with one pixel of each kind: transparent, black, inverting, colour.
HICON FourKinds(BOOL fIcon = TRUE, DWORD hx = 0, DWORD hy = 0)
{
    OwnedBitmap color(ColorBitmap(4, 1, {0x000000, 0x000000, 0xFFFFFF, kC}));
    OwnedBitmap mask(MonoBitmap(4, 1, {1, 0, 1, 0}));
    ICONINFO ii{fIcon, hx, hy, static_cast<HBITMAP>(mask.get()), static_cast<HBITMAP>(color.get())};
    return CreateIconIndirect(&ii);
}

} // namespace

TEST_F(Icons, DrawAndsTheMaskThenXorsTheColour)
{
    OwnedIcon icon(FourKinds());
    ASSERT_NE(icon.get(), nullptr);
    MemDc dc(4, 1);
    dc.Fill(kBg);
    // The destination's text and background colours must not matter.
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    ASSERT_TRUE(DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(dc.At(0, 0), kBg);                     // (bg AND white) XOR black
    EXPECT_EQ(dc.At(1, 0), RGB(0, 0, 0));            // (bg AND black) XOR black
    EXPECT_EQ(dc.At(2, 0), Xor(kBg, 0xFFFFFF));      // (bg AND white) XOR white: inverted
    EXPECT_EQ(dc.At(3, 0), kC);                      // (bg AND black) XOR c
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetBkColor(dc), RGB(4, 5, 6));

    dc.Fill(kBg);
    ASSERT_TRUE(DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_MASK));
    EXPECT_EQ(dc.At(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(dc.At(1, 0), RGB(0, 0, 0));
    dc.Fill(kBg);
    ASSERT_TRUE(DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_IMAGE));
    EXPECT_EQ(dc.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(dc.At(2, 0), RGB(255, 255, 255));
    EXPECT_EQ(dc.At(3, 0), kC);

    EXPECT_FALSE(DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(Icons, DrawIconExStretchesAndHonoursTheOrigin)
{
    OwnedIcon icon(FourKinds());
    MemDc dc(10, 4);
    dc.Fill(kBg);
    SetViewportOrgEx(dc, 1, 1, nullptr);
    ASSERT_TRUE(DrawIconEx(dc, 0, 0, icon, 8, 2, 0, nullptr, DI_NORMAL));
    SetViewportOrgEx(dc, 0, 0, nullptr); // read back in device pixels
    for (int y = 1; y < 3; ++y)
        for (int x = 1; x < 9; ++x) {
            const int k = (x - 1) / 2;
            const COLORREF want = k == 0 ? kBg : k == 1 ? RGB(0, 0, 0) : k == 2 ? Xor(kBg, 0xFFFFFF) : kC;
            EXPECT_EQ(dc.At(x, y), want) << x << "," << y;
        }
    EXPECT_EQ(dc.At(0, 0), kBg);
    EXPECT_EQ(dc.At(9, 1), kBg);
    EXPECT_EQ(dc.At(1, 3), kBg);
}

TEST_F(Icons, DefaultSizeIsTheSystemIconSize)
{
    OwnedIcon icon(FourKinds());
    MemDc dc(40, 40);
    dc.Fill(kBg);
    // DrawIcon draws at SM_CXICON x SM_CYICON (32): the colour pixel covers x 24..31.
    ASSERT_TRUE(DrawIcon(dc, 0, 0, icon));
    EXPECT_EQ(dc.At(24, 31), kC);
    EXPECT_EQ(dc.At(31, 0), kC);
    EXPECT_EQ(dc.At(32, 0), kBg);
    EXPECT_EQ(dc.At(0, 32), kBg);
}

TEST_F(Icons, FlickerFreeDrawingComposesOnTheBrush)
{
    OwnedIcon icon(FourKinds());
    MemDc dc(6, 1);
    dc.Fill(kBg);
    OwnedBitmap brush(CreateSolidBrush(RGB(200, 0, 0)));
    ASSERT_TRUE(DrawIconEx(dc, 1, 0, icon, 0, 0, 0, static_cast<HBRUSH>(brush.get()), DI_NORMAL));
    EXPECT_EQ(dc.At(0, 0), kBg);
    EXPECT_EQ(dc.At(1, 0), RGB(200, 0, 0)); // transparent: the brush, not the screen
    EXPECT_EQ(dc.At(2, 0), RGB(0, 0, 0));
    EXPECT_EQ(dc.At(3, 0), Xor(RGB(200, 0, 0), 0xFFFFFF));
    EXPECT_EQ(dc.At(4, 0), kC);
    EXPECT_EQ(dc.At(5, 0), kBg);
    // A system-colour brush index works as for FillRect.
    SetSysColors(1, std::vector<INT>{COLOR_BTNFACE}.data(), std::vector<COLORREF>{RGB(1, 2, 3)}.data());
    ASSERT_TRUE(DrawIconEx(dc, 1, 0, icon, 0, 0, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), DI_NORMAL));
    EXPECT_EQ(dc.At(1, 0), RGB(1, 2, 3));
}

TEST_F(Icons, MonochromeIconsUseADoubleHeightMask)
{
    // AND row then XOR row: transparent, black, inverting, white.
    OwnedBitmap mask(MonoBitmap(4, 2, {1, 0, 1, 0, 0, 0, 1, 1}));
    ICONINFO ii{TRUE, 0, 0, static_cast<HBITMAP>(mask.get()), nullptr};
    OwnedIcon icon(CreateIconIndirect(&ii));
    ASSERT_NE(icon.get(), nullptr);
    MemDc dc(4, 1);
    dc.Fill(kBg);
    ASSERT_TRUE(DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(dc.At(0, 0), kBg);
    EXPECT_EQ(dc.At(1, 0), RGB(0, 0, 0));
    EXPECT_EQ(dc.At(2, 0), Xor(kBg, 0xFFFFFF));
    EXPECT_EQ(dc.At(3, 0), RGB(255, 255, 255));

    ICONINFO out{};
    ASSERT_TRUE(GetIconInfo(icon, &out));
    OwnedBitmap outMask(out.hbmMask);
    EXPECT_EQ(out.hbmColor, nullptr);
    BITMAP bm{};
    ASSERT_TRUE(GetObject(out.hbmMask, sizeof bm, &bm));
    EXPECT_EQ(bm.bmWidth, 4);
    EXPECT_EQ(bm.bmHeight, 2);
    EXPECT_EQ(bm.bmBitsPixel, 1);

    // An odd-height mask cannot be split.
    OwnedBitmap odd(MonoBitmap(4, 3, std::vector<int>(12, 0)));
    ICONINFO bad{TRUE, 0, 0, static_cast<HBITMAP>(odd.get()), nullptr};
    EXPECT_EQ(CreateIconIndirect(&bad), nullptr);
}

TEST_F(Icons, DrawingIntoAMonoDc)
{
    OwnedIcon icon(FourKinds());
    MemDc dc(4, 1, true);
    dc.Fill(RGB(255, 255, 255));
    ASSERT_TRUE(DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(dc.At(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(dc.At(1, 0), RGB(0, 0, 0));
    EXPECT_EQ(dc.At(2, 0), RGB(0, 0, 0)); // white inverted
}

TEST_F(Icons, IconInfoReturnsFreshCopies)
{
    OwnedIcon icon(FourKinds(FALSE, 3, 0));
    ICONINFO a{}, b{};
    ASSERT_TRUE(GetIconInfo(icon, &a));
    ASSERT_TRUE(GetIconInfo(icon, &b));
    OwnedBitmap am(a.hbmMask), ac(a.hbmColor), bm(b.hbmMask), bc(b.hbmColor);
    EXPECT_FALSE(a.fIcon);
    EXPECT_EQ(a.xHotspot, 3u);
    EXPECT_NE(a.hbmColor, b.hbmColor); // each call makes new bitmaps
    HDC probe = CreateCompatibleDC(nullptr);
    SelectObject(probe, a.hbmColor);
    EXPECT_EQ(GetPixel(probe, 3, 0), kC);
    EXPECT_EQ(GetPixel(probe, 2, 0), RGB(255, 255, 255));
    SelectObject(probe, a.hbmMask);
    EXPECT_EQ(GetPixel(probe, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(probe, 1, 0), RGB(0, 0, 0));
    DeleteDC(probe);
    // Changing a returned bitmap leaves the icon alone.
    HDC edit = CreateCompatibleDC(nullptr);
    SelectObject(edit, b.hbmColor);
    SetPixel(edit, 3, 0, RGB(9, 9, 9));
    DeleteDC(edit);
    MemDc out(4, 1);
    DrawIconEx(out, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(out.At(3, 0), kC);
    // Icons report their centre as hotspot.
    OwnedIcon plain(FourKinds());
    ICONINFO c{};
    ASSERT_TRUE(GetIconInfo(plain, &c));
    OwnedBitmap cm(c.hbmMask), cc(c.hbmColor);
    EXPECT_TRUE(c.fIcon);
    EXPECT_EQ(c.xHotspot, 2u);
}

TEST_F(Icons, CopiesAreIndependent)
{
    HICON original = FourKinds();
    ASSERT_NE(original, nullptr);
    OwnedIcon copy(CopyIcon(original));
    ASSERT_NE(copy.get(), nullptr);
    EXPECT_NE(copy.get(), original);
    EXPECT_TRUE(DestroyIcon(original));
    EXPECT_FALSE(DestroyIcon(original));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_CURSOR_HANDLE);
    MemDc dc(4, 1);
    EXPECT_FALSE(DrawIconEx(dc, 0, 0, original, 0, 0, 0, nullptr, DI_NORMAL));
    dc.Fill(kBg);
    ASSERT_TRUE(DrawIconEx(dc, 0, 0, copy, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(dc.At(2, 0), Xor(kBg, 0xFFFFFF));
    EXPECT_EQ(dc.At(3, 0), kC);
    // A handle of another kind is refused cleanly.
    OwnedBitmap bitmap(ColorBitmap(1, 1, {0}));
    EXPECT_FALSE(DestroyIcon(reinterpret_cast<HICON>(bitmap.get())));
    EXPECT_FALSE(DestroyCursor(nullptr));
}

TEST_F(Icons, CreateIconFromBits)
{
    // 16 x 1: AND bits 0xF000 (first four transparent), XOR 32-bit pixels.
    const uint8_t andBits[2] = {0xF0, 0x00};
    std::vector<uint32_t> xorBits(16, 0x00336699);
    xorBits[0] = 0;
    OwnedIcon icon(CreateIcon(nullptr, 16, 1, 1, 32, andBits, reinterpret_cast<const BYTE*>(xorBits.data())));
    ASSERT_NE(icon.get(), nullptr);
    MemDc dc(16, 1);
    dc.Fill(kBg);
    ASSERT_TRUE(DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(dc.At(0, 0), kBg);
    EXPECT_EQ(dc.At(1, 0), Xor(kBg, RGB(0x33, 0x66, 0x99))); // transparent but not black: XOR
    EXPECT_EQ(dc.At(4, 0), RGB(0x33, 0x66, 0x99));
    EXPECT_EQ(CreateIcon(nullptr, 16, 1, 1, 7, andBits, andBits), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    // A monochrome cursor.
    const uint8_t xorMono[2] = {0xFF, 0xFF};
    OwnedIcon cursor(CreateCursor(nullptr, 5, 0, 16, 1, andBits, xorMono));
    ASSERT_NE(cursor.get(), nullptr);
    ICONINFO ii{};
    ASSERT_TRUE(GetIconInfo(cursor, &ii));
    OwnedBitmap m(ii.hbmMask);
    EXPECT_EQ(ii.hbmColor, nullptr);
    EXPECT_FALSE(ii.fIcon);
    EXPECT_EQ(ii.xHotspot, 5u);
}

TEST_F(Icons, AlphaIconsBlendPerPixel)
{
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = 3;
    bi.bmiHeader.biHeight = -1;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    OwnedBitmap color(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_NE(bits, nullptr);
    auto* px = static_cast<uint32_t*>(bits);
    px[0] = 0xFF0000FFu; // opaque blue
    px[1] = 0x000000FFu; // transparent
    px[2] = 0x80FF0000u; // half red (not premultiplied)
    OwnedBitmap mask(MonoBitmap(3, 1, {0, 0, 0}));
    ICONINFO ii{TRUE, 0, 0, static_cast<HBITMAP>(mask.get()), static_cast<HBITMAP>(color.get())};
    OwnedIcon icon(CreateIconIndirect(&ii));
    ASSERT_NE(icon.get(), nullptr);
    MemDc dc(3, 1);
    dc.Fill(RGB(0, 200, 0));
    ASSERT_TRUE(DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(dc.At(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(dc.At(1, 0), RGB(0, 200, 0));
    // Red 255 * 128/255 premultiplied = 128; green 200 * (255 - 128) / 255 = 99.6.
    const COLORREF mid = dc.At(2, 0);
    EXPECT_NEAR(GetRValue(mid), 128, 1);
    EXPECT_NEAR(GetGValue(mid), 100, 1);
    EXPECT_EQ(GetBValue(mid), 0);
}

TEST_F(Icons, SystemIconsAndCursorsAreShared)
{
    const size_t before = zyn::gdi::LiveIconCount();
    HICON app = LoadIcon(nullptr, IDI_APPLICATION);
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(LoadIconW(nullptr, IDI_APPLICATION), app);
    EXPECT_TRUE(DestroyIcon(app)); // accepted and ignored
    EXPECT_EQ(LoadIcon(nullptr, IDI_APPLICATION), app);
    MemDc dc(32, 32);
    EXPECT_TRUE(DrawIcon(dc, 0, 0, app));
    EXPECT_EQ(zyn::gdi::LiveIconCount(), before); // shared images are not leaks

    for (auto id : {IDI_APPLICATION, IDI_ERROR, IDI_QUESTION, IDI_WARNING, IDI_INFORMATION, IDI_WINLOGO,
             IDI_SHIELD}) {
        HICON h = LoadIcon(nullptr, id);
        ASSERT_NE(h, nullptr) << id.Id();
        ICONINFO ii{};
        ASSERT_TRUE(GetIconInfo(h, &ii));
        OwnedBitmap m(ii.hbmMask), c(ii.hbmColor);
        BITMAP bm{};
        GetObject(ii.hbmColor, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, 32);
        EXPECT_EQ(bm.bmHeight, 32);
    }
    for (auto id : {IDC_ARROW, IDC_IBEAM, IDC_WAIT, IDC_CROSS, IDC_SIZEALL, IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEWE,
             IDC_SIZENS, IDC_NO, IDC_HAND, IDC_APPSTARTING, IDC_UPARROW, IDC_HELP}) {
        HCURSOR h = LoadCursor(nullptr, id);
        ASSERT_NE(h, nullptr) << id.Id();
        ICONINFO ii{};
        ASSERT_TRUE(GetIconInfo(h, &ii));
        OwnedBitmap m(ii.hbmMask), c(ii.hbmColor);
        EXPECT_FALSE(ii.fIcon);
        EXPECT_LT(ii.xHotspot, 32u);
    }
    EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(1234)), nullptr);
    EXPECT_NE(LoadCursor(nullptr, IDC_ARROW), LoadIcon(nullptr, IDI_APPLICATION)); // same number, other kind
}

TEST_F(Icons, ArrowCursorPixels)
{
    HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    ICONINFO ii{};
    ASSERT_TRUE(GetIconInfo(arrow, &ii));
    OwnedBitmap m(ii.hbmMask), c(ii.hbmColor);
    EXPECT_EQ(ii.xHotspot, 0u);
    EXPECT_EQ(ii.yHotspot, 0u);
    MemDc dc(32, 32);
    dc.Fill(kBg);
    ASSERT_TRUE(DrawIconEx(dc, 0, 0, arrow, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(dc.At(0, 0), RGB(0, 0, 0));       // outline at the tip
    EXPECT_EQ(dc.At(1, 5), RGB(255, 255, 255)); // white body
    EXPECT_EQ(dc.At(20, 5), kBg);               // transparent beside it
    // The I-beam inverts what it covers.
    HCURSOR ibeam = LoadCursor(nullptr, IDC_IBEAM);
    dc.Fill(kBg);
    ASSERT_TRUE(DrawIconEx(dc, 0, 0, ibeam, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(dc.At(16, 16), Xor(kBg, 0xFFFFFF));
    EXPECT_EQ(dc.At(0, 0), kBg);
}

TEST_F(Icons, StaleAndForeignHandles)
{
    MemDc dc(4, 4);
    EXPECT_FALSE(DrawIcon(dc, 0, 0, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_CURSOR_HANDLE);
    ICONINFO ii{};
    EXPECT_FALSE(GetIconInfo(reinterpret_cast<HICON>(static_cast<uintptr_t>(0x12345678)), &ii));
    EXPECT_EQ(CopyIcon(nullptr), nullptr);
    EXPECT_EQ(CreateIconIndirect(nullptr), nullptr);
    ICONINFO noMask{TRUE, 0, 0, nullptr, nullptr};
    EXPECT_EQ(CreateIconIndirect(&noMask), nullptr);
    OwnedIcon icon(FourKinds());
    EXPECT_FALSE(DrawIconEx(nullptr, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
}

// Every system icon and cursor on a grey ground, written to a PNG for a look by eye.
TEST_F(Icons, SystemImagesSnapshot)
{
    MemDc dc(16 * 40, 2 * 40);
    dc.Fill(RGB(0xC0, 0xC0, 0xC0));
    int x = 4;
    for (auto id : {IDI_APPLICATION, IDI_ERROR, IDI_QUESTION, IDI_WARNING, IDI_INFORMATION, IDI_WINLOGO, IDI_SHIELD}) {
        ASSERT_TRUE(DrawIcon(dc, x, 4, LoadIcon(nullptr, id)));
        x += 40;
    }
    x = 4;
    for (auto id : {IDC_ARROW, IDC_IBEAM, IDC_WAIT, IDC_CROSS, IDC_SIZEALL, IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEWE,
             IDC_SIZENS, IDC_NO, IDC_HAND, IDC_APPSTARTING, IDC_UPARROW, IDC_HELP}) {
        ASSERT_TRUE(DrawIcon(dc, x, 44, LoadCursor(nullptr, id)));
        x += 40;
    }
    const std::string path = zyn::test::TempRoot() + "/system_images.png";
    ASSERT_TRUE(zyn::gdi::SaveDcPng(dc, nullptr, path));
    if (const char* keep = std::getenv("ZYN_KEEP_SNAPSHOTS"))
        zyn::gdi::SaveDcPng(dc, nullptr, std::string(keep) + "/system_images.png");
}
