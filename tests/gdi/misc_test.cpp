// System metrics and parameters, the printer DC, and PNG export read back by libpng.
#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/gdi/png_export.h"
#include "platform/gdi/printer.h"
#include "tests/gdi/gdi_test_support.h"
#include "tests/support/testenv.h"

using namespace zyn::test;

namespace {

class Misc : public GdiTest {};

struct Png {
    int w = 0, h = 0;
    std::vector<uint8_t> rgb;
};

// Decodes an RGB PNG with libpng's simplified API (independent of our writer).
bool ReadPng(const std::string& path, Png& out)
{
    png_image img{};
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&img, path.c_str()))
        return false;
    img.format = PNG_FORMAT_RGB;
    out.w = static_cast<int>(img.width);
    out.h = static_cast<int>(img.height);
    out.rgb.resize(PNG_IMAGE_SIZE(img));
    const bool ok = png_image_finish_read(&img, nullptr, out.rgb.data(), 0, nullptr) != 0;
    png_image_free(&img);
    return ok;
}

} // namespace

TEST_F(Misc, SystemMetricsDefaultsAndOverrides)
{
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CXBORDER), 1);
    EXPECT_EQ(GetSystemMetrics(SM_CXEDGE), 2);
    EXPECT_EQ(GetSystemMetrics(SM_CXFRAME), 4);
    EXPECT_EQ(GetSystemMetrics(SM_CXDLGFRAME), 3);
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 18);
    EXPECT_EQ(GetSystemMetrics(SM_CYSMCAPTION), 15);
    EXPECT_EQ(GetSystemMetrics(SM_CYMENU), 19);
    EXPECT_EQ(GetSystemMetrics(SM_CXMENUCHECK), 13);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 16);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), 32);
    EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), 16);
    EXPECT_EQ(GetSystemMetrics(SM_CMOUSEBUTTONS), 3);
    EXPECT_EQ(GetSystemMetrics(SM_SWAPBUTTON), 0);
    zyn::gdi::ResetDesktop(640, 480);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 640);
    zyn::gdi::SetSystemMetricForTests(SM_CYCAPTION, 22);
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 22);
    EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), 480 - 22);
    zyn::gdi::ResetSystemMetrics();
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 18);
}

TEST_F(Misc, SystemParameters)
{
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0));
    EXPECT_STREQ(ncm.lfMenuFont.lfFaceName, L"Tahoma");
    EXPECT_EQ(ncm.lfMenuFont.lfHeight, -11);
    EXPECT_EQ(ncm.lfCaptionFont.lfWeight, FW_BOLD);
    EXPECT_EQ(ncm.iScrollWidth, 16);
    ncm.cbSize = 7;
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 0, &ncm, 0));
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work.right, 1280);
    BOOL v = TRUE;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETFLATMENU, 0, &v, 0));
    EXPECT_FALSE(v);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETDROPSHADOW, 0, &v, 0));
    EXPECT_TRUE(v);
    zyn::gdi::SetSystemParameterForTests(SPI_GETKEYBOARDCUES, TRUE);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &v, 0));
    EXPECT_TRUE(v);
    HIGHCONTRASTW hc{sizeof hc, 0, nullptr};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETHIGHCONTRAST, 0, &hc, 0));
    EXPECT_FALSE(hc.dwFlags & HCF_HIGHCONTRASTON);
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETWORKAREA, 0, nullptr, 0));
    EXPECT_FALSE(SystemParametersInfoW(0xFFFF, 0, &v, 0));
}

TEST_F(Misc, PrinterDcRasterisesPages)
{
    // 100 DPI on 2 x 1 inch paper: pages of 200 x 100 pixels, a quarter inch (25 pixels)
    // of margin on each side, so 150 x 50 printable pixels from (25, 25).
    HDC p = zyn::gdi::CreatePrinterDC(100, 2000, 1000);
    ASSERT_TRUE(p);
    EXPECT_EQ(GetDeviceCaps(p, LOGPIXELSX), 100);
    EXPECT_EQ(GetDeviceCaps(p, HORZRES), 150);
    EXPECT_EQ(GetDeviceCaps(p, VERTRES), 50);
    EXPECT_EQ(GetDeviceCaps(p, TECHNOLOGY), DT_RASPRINTER);
    EXPECT_EQ(StartPage(p), -1) << "no document yet";
    DOCINFOW di{sizeof di, L"test", nullptr, nullptr, 0};
    ASSERT_GT(StartDocW(p, &di), 0);
    ASSERT_GT(StartPage(p), 0);
    HBRUSH b = CreateSolidBrush(RGB(0, 0, 255));
    RECT r{10, 10, 20, 20};
    FillRect(p, &r, b);
    ASSERT_GT(EndPage(p), 0);
    ASSERT_GT(StartPage(p), 0);
    ASSERT_GT(EndPage(p), 0);
    ASSERT_GT(EndDoc(p), 0);
    DeleteObject(b);
    const auto pages = zyn::gdi::PrinterPages(p);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0]->Width(), 200);
    // The fill at device (10..20) lies 25 pixels in on the sheet.
    EXPECT_EQ(zyn::gdi::PixelToColor(*pages[0], pages[0]->GetRaw(40, 40)), RGB(0, 0, 255));
    EXPECT_EQ(zyn::gdi::PixelToColor(*pages[0], pages[0]->GetRaw(15, 15)), RGB(255, 255, 255)) << "the margin";
    EXPECT_EQ(zyn::gdi::PixelToColor(*pages[0], pages[0]->GetRaw(30, 30)), RGB(255, 255, 255)) << "white paper";
    EXPECT_EQ(zyn::gdi::PixelToColor(*pages[1], pages[1]->GetRaw(40, 40)), RGB(255, 255, 255));
    EXPECT_EQ(EndDoc(p), -1);
    MemDc mem(1, 1);
    EXPECT_EQ(StartDocW(mem, &di), -1) << "not a printer";
    EXPECT_EQ(zyn::gdi::CreatePrinterDC(0, 1000, 1000), nullptr);
    DeleteDC(p);
}

TEST_F(Misc, PrinterPageGeometryOfRealPaper)
{
    // The sheets' documented sizes: A4 is 210 x 297 mm (8268 x 11693 thousandths of an
    // inch), Letter 8.5 x 11 inches. Pixels = inches x DPI to the nearest; the offsets are
    // the quarter-inch margin; HORZSIZE/VERTSIZE are the printable area in millimetres
    // (pixels / DPI x 25.4, to the nearest).
    const struct Row {
        const char* name;
        int dpi, widthMils, heightMils, marginMils;
        int physW, physH, offX, offY, horzRes, vertRes, horzMm, vertMm;
    } rows[] = {
        // 8.268 x 300 = 2480.4; 11.693 x 300 = 3507.9; 2330 / 300 x 25.4 = 197.3; 3358 -> 284.3.
        {"A4 at 300 DPI", 300, 8268, 11693, 250, 2480, 3508, 75, 75, 2330, 3358, 197, 284},
        // 2550 x 3300; 2400 / 300 x 25.4 = 203.2; 3150 -> 266.7.
        {"Letter at 300 DPI", 300, 8500, 11000, 250, 2550, 3300, 75, 75, 2400, 3150, 203, 267},
        // 1275 x 1650, a quarter inch is 37.5 -> 38; 1199 / 150 x 25.4 = 203.0; 1574 -> 266.5.
        {"Letter at 150 DPI", 150, 8500, 11000, 250, 1275, 1650, 38, 38, 1199, 1574, 203, 267},
        // 1240 x 1754 (1240.2, 1753.9), 38 offset; 1164 / 150 x 25.4 = 197.1; 1678 -> 284.1.
        {"A4 at 150 DPI", 150, 8268, 11693, 250, 1240, 1754, 38, 38, 1164, 1678, 197, 284},
        {"Letter without margins", 100, 8500, 11000, 0, 850, 1100, 0, 0, 850, 1100, 216, 279},
    };
    for (const Row& r : rows) {
        HDC p = zyn::gdi::CreatePrinterDC(r.dpi, r.widthMils, r.heightMils, r.marginMils);
        ASSERT_TRUE(p) << r.name;
        std::vector<int> caps;
        for (const int cap : {PHYSICALWIDTH, PHYSICALHEIGHT, PHYSICALOFFSETX, PHYSICALOFFSETY, HORZRES, VERTRES,
                 HORZSIZE, VERTSIZE, LOGPIXELSX, LOGPIXELSY})
            caps.push_back(GetDeviceCaps(p, cap));
        EXPECT_EQ(caps, (std::vector<int>{r.physW, r.physH, r.offX, r.offY, r.horzRes, r.vertRes, r.horzMm, r.vertMm,
                            r.dpi, r.dpi}))
            << r.name << ": sheet, offsets, printable pixels, printable millimetres, DPI";
        DOCINFOW di{sizeof di, L"geometry", nullptr, nullptr, 0};
        ASSERT_GT(StartDocW(p, &di), 0) << r.name;
        ASSERT_GT(StartPage(p), 0) << r.name;
        // The clip box is the printable area in device coordinates; a fill over all of it
        // reaches the sheet's pixels from the offset on and nothing in the margins.
        RECT clip{};
        GetClipBox(p, &clip);
        EXPECT_EQ((std::vector<LONG>{clip.left, clip.top, clip.right, clip.bottom}),
            (std::vector<LONG>{0, 0, r.horzRes, r.vertRes}))
            << r.name << ": the clip box";
        RECT all{-50, -50, r.physW + 50, r.physH + 50};
        FillRect(p, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ASSERT_GT(EndDoc(p), 0) << r.name;
        const auto pages = zyn::gdi::PrinterPages(p);
        ASSERT_EQ(pages.size(), 1u) << r.name;
        const auto& page = *pages[0];
        EXPECT_EQ((std::pair<int, int>{page.Width(), page.Height()}), (std::pair<int, int>{r.physW, r.physH})) << r.name;
        const auto at = [&](int x, int y) { return zyn::gdi::PixelToColor(page, page.GetRaw(x, y)); };
        const int x0 = r.offX, y0 = r.offY, x1 = r.offX + r.horzRes, y1 = r.offY + r.vertRes; // x1, y1: just past
        // The printable corners are black; with margins, the pixels just outside left, top,
        // right and bottom are white paper.
        EXPECT_EQ((std::vector<COLORREF>{at(x0, y0), at(x1 - 1, y1 - 1)}), (std::vector<COLORREF>(2, RGB(0, 0, 0))))
            << r.name << ": the printable corners";
        if (r.offX > 0) {
            EXPECT_EQ((std::vector<COLORREF>{at(x0 - 1, y0), at(x0, y0 - 1), at(x1, y0), at(x0, y1)}),
                (std::vector<COLORREF>(4, RGB(255, 255, 255))))
                << r.name << ": the margins left, top, right, bottom";
        }
        DeleteDC(p);
    }
    // Margins that leave nothing to print on, and a negative one.
    EXPECT_EQ(zyn::gdi::CreatePrinterDC(100, 500, 1000), nullptr) << "half an inch of quarter-inch margins";
    EXPECT_EQ(zyn::gdi::CreatePrinterDC(100, 1000, 1000, -1), nullptr);
}

TEST_F(Misc, PngWrittenAndReadBack)
{
    MemDc dc(5, 3);
    dc.Fill(RGB(255, 255, 255));
    SetPixel(dc, 0, 0, RGB(255, 0, 0));
    SetPixel(dc, 4, 2, RGB(0, 128, 255));
    const std::string path = zyn::test::TempRoot() + "/snap.png";
    ASSERT_TRUE(zyn::gdi::SaveDcPng(dc, nullptr, path));
    Png png;
    ASSERT_TRUE(ReadPng(path, png));
    ASSERT_EQ(png.w, 5);
    ASSERT_EQ(png.h, 3);
    EXPECT_EQ(png.rgb[0], 255);
    EXPECT_EQ(png.rgb[1], 0);
    const size_t last = (2 * 5 + 4) * 3;
    EXPECT_EQ(png.rgb[last], 0);
    EXPECT_EQ(png.rgb[last + 1], 128);
    EXPECT_EQ(png.rgb[last + 2], 255);
    // A rectangle of the DC, and a bitmap.
    const RECT r{3, 1, 5, 3};
    ASSERT_TRUE(zyn::gdi::SaveDcPng(dc, &r, path));
    ASSERT_TRUE(ReadPng(path, png));
    EXPECT_EQ(png.w, 2);
    EXPECT_EQ(png.rgb[(1 * 2 + 1) * 3 + 2], 255);
    ASSERT_TRUE(zyn::gdi::SaveBitmapPng(dc.bitmap(), path));
    const RECT empty{2, 2, 2, 2};
    EXPECT_FALSE(zyn::gdi::SaveDcPng(dc, &empty, path));
    EXPECT_FALSE(zyn::gdi::SaveDcPng(dc, nullptr, "/nonexistent-dir/x.png"));
}
