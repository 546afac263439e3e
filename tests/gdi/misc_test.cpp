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
    // 100 DPI on 2 x 1 inch paper: pages of 200 x 100 pixels.
    HDC p = zyn::gdi::CreatePrinterDC(100, 2000, 1000);
    ASSERT_TRUE(p);
    EXPECT_EQ(GetDeviceCaps(p, LOGPIXELSX), 100);
    EXPECT_EQ(GetDeviceCaps(p, HORZRES), 200);
    EXPECT_EQ(GetDeviceCaps(p, VERTRES), 100);
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
    EXPECT_EQ(zyn::gdi::PixelToColor(*pages[0], pages[0]->GetRaw(15, 15)), RGB(0, 0, 255));
    EXPECT_EQ(zyn::gdi::PixelToColor(*pages[0], pages[0]->GetRaw(5, 5)), RGB(255, 255, 255)) << "white paper";
    EXPECT_EQ(zyn::gdi::PixelToColor(*pages[1], pages[1]->GetRaw(15, 15)), RGB(255, 255, 255));
    EXPECT_EQ(EndDoc(p), -1);
    MemDc mem(1, 1);
    EXPECT_EQ(StartDocW(mem, &di), -1) << "not a printer";
    EXPECT_EQ(zyn::gdi::CreatePrinterDC(0, 1000, 1000), nullptr);
    DeleteDC(p);
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
