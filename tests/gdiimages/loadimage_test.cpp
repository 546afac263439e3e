// LoadImage, LoadIcon, LoadCursor, LoadBitmap and CopyImage from files, module resources
// and the system images: depths, DIB sections, monochrome, colour mapping, sizes,
// sharing, and refusal of missing or malformed data.
#include "tests/gdiimages/images_test_support.h"

#include <fstream>
#include <string>

#include "platform/base/lasterror.h"
#include "platform/base/module.h"
#include "platform/base/resource.h"
#include "platform/gdi/imagefile.h"
#include "tests/gdiimages/image_bytes.h"
#include "tests/support/testenv.h"

using namespace zyn::test;

namespace {

class LoadImages : public ImagesTest {
protected:
    std::wstring WriteFile(const std::string& name, const Bytes& bytes)
    {
        const std::string path = zyn::test::TempRoot() + "/" + name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
        return std::wstring(path.begin(), path.end());
    }
};

// Reads a pixel of any bitmap through a memory DC.
COLORREF BitmapPixel(HBITMAP hbm, int x, int y)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, hbm);
    const COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return c;
}

BITMAP BitmapOf(HANDLE h)
{
    BITMAP bm{};
    GetObject(h, sizeof bm, &bm);
    return bm;
}

// Module resources registered for one test.
class ResourceModule {
public:
    explicit ResourceModule(const wchar_t* name) : m_h(zyn::base::RegisterResourceModule(name)) {}
    ~ResourceModule()
    {
        if (m_h)
            zyn::base::UnregisterBuiltinModule(m_h);
    }
    ResourceModule(const ResourceModule&) = delete;
    ResourceModule& operator=(const ResourceModule&) = delete;
    operator HMODULE() const { return m_h; }
    bool Add(LPCWSTR type, LPCWSTR name, const Bytes& bytes)
    {
        return zyn::base::AddResource(m_h, type, name, LANG_NEUTRAL, bytes);
    }

private:
    HMODULE m_h;
};

const std::vector<uint32_t> kGrays = {0x808080, 0xC0C0C0, 0xDFDFDF, 0x123456};

Bytes GrayBmp(int bpp)
{
    DibSpec s;
    s.width = 4;
    s.height = 1;
    s.bpp = bpp;
    if (bpp <= 8) {
        s.palette = kGrays;
        return BmpFile(s, [](int x, int) { return static_cast<uint32_t>(x); });
    }
    return BmpFile(s, [](int x, int) { return kGrays[static_cast<size_t>(x)]; });
}

// Icon image of one colour with a transparent (black, masked) left column.
Bytes SolidIcon(int size, uint32_t rgb)
{
    return IconDib(size, size, 24, {}, [rgb](int x, int) { return x == 0 ? 0u : rgb; },
        [](int x, int) { return x == 0 ? 1 : 0; });
}

} // namespace

TEST_F(LoadImages, BitmapFilesOfEveryDepth)
{
    for (int bpp : {1, 4, 8, 24, 32}) {
        DibSpec s;
        s.width = 3;
        s.height = 2;
        s.bpp = bpp;
        PixelFn px;
        if (bpp <= 8) {
            s.palette = {0x000000, 0xFFFFFF};
            px = [](int x, int y) { return static_cast<uint32_t>((x + y) & 1); };
        } else {
            px = [](int x, int y) { return ((x + y) & 1) ? 0xFFFFFFu : 0u; };
        }
        const std::wstring path = WriteFile("depth" + std::to_string(bpp) + ".bmp", BmpFile(s, px));
        OwnedBitmap bmp(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
        ASSERT_NE(bmp.get(), nullptr) << bpp << ": " << zyn::gdi::LastImageError();
        const BITMAP bm = BitmapOf(bmp);
        EXPECT_EQ(bm.bmWidth, 3);
        EXPECT_EQ(bm.bmHeight, 2);
        // A black/white 1-bit file gives a mono bitmap, everything else screen colour.
        EXPECT_EQ(bm.bmBitsPixel, bpp == 1 ? 1 : 32) << bpp;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(BitmapPixel(static_cast<HBITMAP>(bmp.get()), x, y), ((x + y) & 1) ? 0xFFFFFFu : 0u)
                    << bpp << " " << x << "," << y;
    }
}

TEST_F(LoadImages, DibSectionsKeepTheDepthAndTable)
{
    const std::wstring path = WriteFile("grays8.bmp", GrayBmp(8));
    OwnedBitmap bmp(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(bmp.get(), nullptr) << zyn::gdi::LastImageError();
    DIBSECTION ds{};
    ASSERT_EQ(GetObject(bmp, sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBmih.biBitCount, 8);
    EXPECT_EQ(ds.dsBm.bmWidth, 4);
    ASSERT_NE(ds.dsBm.bmBits, nullptr);
    // Bottom-up, one row: the indices as written.
    const auto* bits = static_cast<const uint8_t*>(ds.dsBm.bmBits);
    EXPECT_EQ(bits[0], 0);
    EXPECT_EQ(bits[3], 3);
    EXPECT_EQ(BitmapPixel(static_cast<HBITMAP>(bmp.get()), 3, 0), RGB(0x12, 0x34, 0x56));

    const std::wstring path32 = WriteFile("alpha32.bmp", [] {
        DibSpec s;
        s.width = 2;
        s.height = 1;
        s.bpp = 32;
        return BmpFile(s, [](int x, int) { return x ? 0x80FF0000u : 0xFF00FF00u; });
    }());
    OwnedBitmap bmp32(LoadImageW(nullptr, path32.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(bmp32.get(), nullptr);
    ASSERT_EQ(GetObject(bmp32, sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBmih.biBitCount, 32);
    EXPECT_EQ(static_cast<const uint32_t*>(ds.dsBm.bmBits)[1], 0x80FF0000u); // alpha kept
}

TEST_F(LoadImages, Map3DColoursAndTransparency)
{
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    const COLORREF face = GetSysColor(COLOR_3DFACE);
    const COLORREF light = GetSysColor(COLOR_3DLIGHT);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    for (int bpp : {8, 24}) {
        const std::wstring path = WriteFile("grays" + std::to_string(bpp) + ".bmp", GrayBmp(bpp));
        OwnedBitmap mapped(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_LOADMAP3DCOLORS));
        ASSERT_NE(mapped.get(), nullptr);
        auto h = static_cast<HBITMAP>(mapped.get());
        EXPECT_EQ(BitmapPixel(h, 0, 0), shadow) << bpp;
        EXPECT_EQ(BitmapPixel(h, 1, 0), face) << bpp;
        EXPECT_EQ(BitmapPixel(h, 2, 0), light) << bpp;
        EXPECT_EQ(BitmapPixel(h, 3, 0), RGB(0x12, 0x34, 0x56)) << bpp;

        // The first stored pixel's colour becomes COLOR_WINDOW...
        OwnedBitmap transparent(
            LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_LOADTRANSPARENT));
        h = static_cast<HBITMAP>(transparent.get());
        EXPECT_EQ(BitmapPixel(h, 0, 0), window) << bpp;
        EXPECT_EQ(BitmapPixel(h, 1, 0), RGB(192, 192, 192)) << bpp;
        // ... or COLOR_3DFACE together with the 3D mapping.
        OwnedBitmap both(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
            LR_LOADFROMFILE | LR_LOADTRANSPARENT | LR_LOADMAP3DCOLORS));
        h = static_cast<HBITMAP>(both.get());
        EXPECT_EQ(BitmapPixel(h, 0, 0), face) << bpp;
        EXPECT_EQ(BitmapPixel(h, 2, 0), light) << bpp;
    }
    // A changed system colour is what the mapping uses.
    const INT idx = COLOR_3DFACE;
    const COLORREF pink = RGB(255, 0, 128);
    SetSysColors(1, &idx, &pink);
    const std::wstring path = WriteFile("grays8b.bmp", GrayBmp(8));
    OwnedBitmap mapped(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_LOADMAP3DCOLORS));
    EXPECT_EQ(BitmapPixel(static_cast<HBITMAP>(mapped.get()), 1, 0), pink);
}

TEST_F(LoadImages, MonochromeAndScaling)
{
    DibSpec s;
    s.width = 2;
    s.height = 1;
    s.bpp = 24;
    const std::wstring path = WriteFile("bw.bmp", BmpFile(s, [](int x, int) { return x ? 0xE0E0E0u : 0x202020u; }));
    OwnedBitmap mono(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_MONOCHROME));
    ASSERT_NE(mono.get(), nullptr);
    EXPECT_EQ(BitmapOf(mono).bmBitsPixel, 1);
    EXPECT_EQ(BitmapPixel(static_cast<HBITMAP>(mono.get()), 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(BitmapPixel(static_cast<HBITMAP>(mono.get()), 1, 0), RGB(255, 255, 255));
    OwnedBitmap big(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 6, 2, LR_LOADFROMFILE));
    ASSERT_NE(big.get(), nullptr);
    EXPECT_EQ(BitmapOf(big).bmWidth, 6);
    EXPECT_EQ(BitmapPixel(static_cast<HBITMAP>(big.get()), 2, 1), RGB(0x20, 0x20, 0x20));
    EXPECT_EQ(BitmapPixel(static_cast<HBITMAP>(big.get()), 3, 1), RGB(0xE0, 0xE0, 0xE0));
}

TEST_F(LoadImages, MissingAndMalformedFiles)
{
    const std::wstring missing = WriteFile("x.bmp", {}) + L".none";
    EXPECT_EQ(LoadImageW(nullptr, missing.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

    Bytes bad = GrayBmp(24);
    bad.resize(bad.size() - 2);
    const std::wstring path = WriteFile("cut.bmp", bad);
    EXPECT_EQ(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    EXPECT_NE(zyn::gdi::LastImageError().find("truncated"), std::string::npos) << zyn::gdi::LastImageError();

    const std::wstring notIcon = WriteFile("bmp.ico", GrayBmp(24));
    EXPECT_EQ(LoadImageW(nullptr, notIcon.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    EXPECT_EQ(LoadImageW(nullptr, path.c_str(), 7, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    // A good load clears the message.
    const std::wstring good = WriteFile("good.bmp", GrayBmp(24));
    OwnedBitmap ok(LoadImageW(nullptr, good.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    EXPECT_NE(ok.get(), nullptr);
    EXPECT_TRUE(zyn::gdi::LastImageError().empty());
}

TEST_F(LoadImages, IconFilesPickTheNearestSizeAndScale)
{
    const std::wstring path =
        WriteFile("two.ico", IconFile({{16, 16, 24, SolidIcon(16, 0xFF0000)}, {32, 32, 24, SolidIcon(32, 0x0000FF)}}));
    struct Case {
        int ask;
        int size;
        COLORREF colour;
    };
    for (Case c : {Case{16, 16, RGB(255, 0, 0)}, Case{20, 20, RGB(255, 0, 0)}, Case{32, 32, RGB(0, 0, 255)},
             Case{48, 48, RGB(0, 0, 255)}}) {
        OwnedIcon icon(
            static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, c.ask, c.ask, LR_LOADFROMFILE)));
        ASSERT_NE(icon.get(), nullptr) << zyn::gdi::LastImageError();
        ICONINFO ii{};
        ASSERT_TRUE(GetIconInfo(icon, &ii));
        OwnedBitmap m(ii.hbmMask), col(ii.hbmColor);
        EXPECT_EQ(BitmapOf(ii.hbmColor).bmWidth, c.size) << c.ask; // scaled to what was asked
        MemDc dc(c.size, c.size);
        dc.Fill(RGB(0, 255, 0));
        DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
        EXPECT_EQ(dc.At(c.size - 1, c.size - 1), c.colour) << c.ask;
        EXPECT_EQ(dc.At(0, 0), RGB(0, 255, 0)) << c.ask;
    }
    // No size: the entry nearest the system size, at its own size; LR_DEFAULTSIZE: scaled to it.
    OwnedIcon natural(static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE)));
    ICONINFO ii{};
    ASSERT_TRUE(GetIconInfo(natural, &ii));
    OwnedBitmap m(ii.hbmMask), col(ii.hbmColor);
    EXPECT_EQ(BitmapOf(ii.hbmColor).bmWidth, 32);
    zyn::gdi::SetSystemMetricForTests(SM_CXICON, 16);
    zyn::gdi::SetSystemMetricForTests(SM_CYICON, 16);
    OwnedIcon small(
        static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE)));
    ICONINFO si{};
    ASSERT_TRUE(GetIconInfo(small, &si));
    OwnedBitmap sm(si.hbmMask), sc(si.hbmColor);
    EXPECT_EQ(BitmapOf(si.hbmColor).bmWidth, 16);
    EXPECT_EQ(BitmapPixel(si.hbmColor, 5, 5), RGB(255, 0, 0));
}

TEST_F(LoadImages, CursorFilesAndSharedLoads)
{
    const std::wstring path = WriteFile("pointer.cur",
        IconFile({{32, 32, 1, IconDib(32, 32, 1, {0, 0xFFFFFF}, [](int, int) { return 1u; },
                                  [](int x, int) { return x > 3 ? 1 : 0; }),
                     7, 9}},
            2));
    HCURSOR shared =
        static_cast<HCURSOR>(LoadImageW(nullptr, path.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE | LR_SHARED));
    ASSERT_NE(shared, nullptr) << zyn::gdi::LastImageError();
    EXPECT_EQ(LoadImageW(nullptr, path.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE | LR_SHARED), shared);
    ICONINFO ii{};
    ASSERT_TRUE(GetIconInfo(shared, &ii));
    OwnedBitmap m(ii.hbmMask);
    EXPECT_EQ(ii.hbmColor, nullptr); // a black/white cursor is monochrome
    EXPECT_FALSE(ii.fIcon);
    EXPECT_EQ(ii.xHotspot, 7u);
    EXPECT_EQ(ii.yHotspot, 9u);
    EXPECT_TRUE(DestroyCursor(shared));
    EXPECT_EQ(LoadImageW(nullptr, path.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE | LR_SHARED), shared);
    // Unshared loads are new objects the caller destroys.
    OwnedIcon own(static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_CURSOR, 16, 16, LR_LOADFROMFILE)));
    ASSERT_NE(own.get(), nullptr);
    EXPECT_NE(own.get(), shared);
    ICONINFO oi{};
    ASSERT_TRUE(GetIconInfo(own, &oi));
    OwnedBitmap om(oi.hbmMask);
    EXPECT_EQ(oi.xHotspot, 3u); // scaled with the image
}

TEST_F(LoadImages, ModuleResources)
{
    ResourceModule mod(L"imagetest.dll");
    ASSERT_NE(static_cast<HMODULE>(mod), nullptr);
    // RT_BITMAP: a DIB without the file header.
    DibSpec s;
    s.width = 2;
    s.height = 2;
    s.bpp = 4;
    s.palette = {0x000000, 0xC0C0C0, 0x00FF00};
    ASSERT_TRUE(
        mod.Add(RT_BITMAP, L"TOOLBAR", PackedDib(s, [](int x, int y) { return static_cast<uint32_t>(x + y); })));
    OwnedBitmap bmp(LoadBitmapW(mod, L"toolbar")); // names without regard to case
    ASSERT_NE(bmp.get(), nullptr) << zyn::gdi::LastImageError();
    EXPECT_EQ(BitmapPixel(static_cast<HBITMAP>(bmp.get()), 1, 1), RGB(0, 255, 0));
    OwnedBitmap mapped(LoadImageW(mod, L"TOOLBAR", IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    EXPECT_EQ(BitmapPixel(static_cast<HBITMAP>(mapped.get()), 1, 0), GetSysColor(COLOR_3DFACE));

    // RT_GROUP_ICON naming two RT_ICON images.
    const std::vector<IconEntrySpec> icons = {
        {16, 16, 24, SolidIcon(16, 0xFF0000)}, {32, 32, 24, SolidIcon(32, 0x0000FF)}};
    ASSERT_TRUE(mod.Add(RT_GROUP_ICON, MAKEINTRESOURCE(100), IconGroup(icons, {1, 2})));
    ASSERT_TRUE(mod.Add(RT_ICON, MAKEINTRESOURCE(1), icons[0].image));
    ASSERT_TRUE(mod.Add(RT_ICON, MAKEINTRESOURCE(2), icons[1].image));
    HICON big = LoadIconW(mod, MAKEINTRESOURCE(100));
    ASSERT_NE(big, nullptr) << zyn::gdi::LastImageError();
    EXPECT_EQ(LoadIconW(mod, MAKEINTRESOURCE(100)), big); // LoadIcon shares
    MemDc dc(32, 32);
    DrawIconEx(dc, 0, 0, big, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(dc.At(20, 20), RGB(0, 0, 255));
    OwnedIcon small(static_cast<HICON>(LoadImageW(mod, MAKEINTRESOURCE(100), IMAGE_ICON, 16, 16, 0)));
    ASSERT_NE(small.get(), nullptr);
    dc.Fill(0);
    DrawIconEx(dc, 0, 0, small, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(dc.At(10, 10), RGB(255, 0, 0));
    EXPECT_EQ(LookupIconIdFromDirectoryEx(const_cast<PBYTE>(IconGroup(icons, {1, 2}).data()), TRUE, 16, 16, 0), 1);

    // RT_GROUP_CURSOR / RT_CURSOR (hotspot words before the image).
    Bytes cursorImage;
    Put16(cursorImage, 4);
    Put16(cursorImage, 6);
    const Bytes img = SolidIcon(32, 0xFFFFFF);
    cursorImage.insert(cursorImage.end(), img.begin(), img.end());
    ASSERT_TRUE(mod.Add(RT_GROUP_CURSOR, L"HAND", CursorGroup({{32, 32, 24, img}}, {5})));
    ASSERT_TRUE(mod.Add(RT_CURSOR, MAKEINTRESOURCE(5), cursorImage));
    HCURSOR cur = LoadCursorW(mod, L"HAND");
    ASSERT_NE(cur, nullptr) << zyn::gdi::LastImageError();
    ICONINFO ii{};
    ASSERT_TRUE(GetIconInfo(cur, &ii));
    OwnedBitmap m(ii.hbmMask), c(ii.hbmColor);
    EXPECT_EQ(ii.xHotspot, 4u);
    EXPECT_EQ(ii.yHotspot, 6u);

    // Missing names and broken data.
    EXPECT_EQ(LoadIconW(mod, L"NOPE"), nullptr);
    EXPECT_NE(GetLastError(), ERROR_SUCCESS);
    ASSERT_TRUE(mod.Add(RT_GROUP_ICON, L"DANGLING", IconGroup(icons, {1, 77})));
    EXPECT_EQ(LoadImageW(mod, L"DANGLING", IMAGE_ICON, 32, 32, 0), nullptr);
    ASSERT_TRUE(mod.Add(RT_BITMAP, L"BROKEN", Bytes{40, 0, 0}));
    EXPECT_EQ(LoadBitmapW(mod, L"BROKEN"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);

    // From resource bytes directly.
    OwnedIcon direct(CreateIconFromResourceEx(const_cast<PBYTE>(icons[0].image.data()),
        static_cast<DWORD>(icons[0].image.size()), TRUE, 0x00030000, 0, 0, 0));
    ASSERT_NE(direct.get(), nullptr);
    EXPECT_EQ(CreateIconFromResourceEx(const_cast<PBYTE>(icons[0].image.data()), 10, TRUE, 0x00030000, 0, 0, 0),
        nullptr);
}

TEST_F(LoadImages, SystemImagesThroughLoadImage)
{
    OwnedIcon own(static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCE(OIC_WARNING), IMAGE_ICON, 48, 48, 0)));
    ASSERT_NE(own.get(), nullptr);
    ICONINFO ii{};
    ASSERT_TRUE(GetIconInfo(own, &ii));
    OwnedBitmap m(ii.hbmMask), c(ii.hbmColor);
    EXPECT_EQ(BitmapOf(ii.hbmColor).bmWidth, 48);
    EXPECT_EQ(LoadImageW(nullptr, MAKEINTRESOURCE(OCR_NORMAL), IMAGE_CURSOR, 0, 0, LR_SHARED | LR_DEFAULTSIZE),
        LoadCursor(nullptr, IDC_ARROW));
}

TEST_F(LoadImages, CopyImage)
{
    OwnedBitmap src(ColorBitmap(2, 1, {RGB(10, 0, 0), RGB(0, 20, 0)}));
    OwnedBitmap wide(CopyImage(src, IMAGE_BITMAP, 4, 2, 0));
    ASSERT_NE(wide.get(), nullptr);
    EXPECT_EQ(BitmapOf(wide).bmWidth, 4);
    EXPECT_EQ(BitmapPixel(static_cast<HBITMAP>(wide.get()), 1, 1), RGB(10, 0, 0));
    EXPECT_EQ(BitmapPixel(static_cast<HBITMAP>(wide.get()), 2, 0), RGB(0, 20, 0));
    EXPECT_EQ(CopyImage(src, IMAGE_BITMAP, 0, 0, LR_COPYRETURNORG), src.get());
    OwnedBitmap dib(CopyImage(src, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    DIBSECTION ds{};
    EXPECT_EQ(GetObject(dib, sizeof ds, &ds), static_cast<int>(sizeof ds));

    HBITMAP doomed = ColorBitmap(1, 1, {RGB(1, 2, 3)});
    OwnedBitmap moved(CopyImage(doomed, IMAGE_BITMAP, 0, 0, LR_COPYDELETEORG));
    ASSERT_NE(moved.get(), nullptr);
    EXPECT_EQ(GetObjectType(doomed), 0u); // the original is gone
    EXPECT_EQ(BitmapPixel(static_cast<HBITMAP>(moved.get()), 0, 0), RGB(1, 2, 3));

    HICON icon = LoadIcon(nullptr, IDI_ERROR);
    OwnedIcon scaled(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, 16, 16, 0)));
    ASSERT_NE(scaled.get(), nullptr);
    ICONINFO ii{};
    ASSERT_TRUE(GetIconInfo(scaled, &ii));
    OwnedBitmap m(ii.hbmMask), c(ii.hbmColor);
    EXPECT_EQ(BitmapOf(ii.hbmColor).bmWidth, 16);
    OwnedIcon mono(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, 0, 0, LR_MONOCHROME)));
    ICONINFO mi{};
    ASSERT_TRUE(GetIconInfo(mono, &mi));
    OwnedBitmap mm(mi.hbmMask);
    EXPECT_EQ(mi.hbmColor, nullptr);
    EXPECT_EQ(CopyImage(nullptr, IMAGE_ICON, 0, 0, 0), nullptr);
}
