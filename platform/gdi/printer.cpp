// The printer DC: pages rasterised at a stated resolution into surfaces tests can read.
#include "platform/gdi/printer.h"

#include "platform/base/lasterror.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/wingdi.h"

namespace {
constexpr int SP_ERROR = -1;

std::shared_ptr<zyn::gdi::Dc> PrinterDc(HDC hdc)
{
    auto dc = zyn::gdi::DcFromHandle(hdc);
    if (dc && (dc->kind != zyn::gdi::DcKind::Printer || !dc->printer)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return dc;
}
} // namespace

namespace zyn::gdi {

HDC CreatePrinterDC(int dpi, int paperWidthMils, int paperHeightMils)
{
    if (dpi <= 0 || dpi > 2400 || paperWidthMils <= 0 || paperHeightMils <= 0 || paperWidthMils > 100000 ||
        paperHeightMils > 100000) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto dc = std::make_shared<Dc>();
    dc->kind = DcKind::Printer;
    dc->printer = std::make_unique<PrinterJob>();
    dc->printer->dpi = dpi;
    dc->printer->widthPx = static_cast<int>((static_cast<int64_t>(paperWidthMils) * dpi + 500) / 1000);
    dc->printer->heightPx = static_cast<int>((static_cast<int64_t>(paperHeightMils) * dpi + 500) / 1000);
    return AddDc(std::move(dc));
}

std::vector<std::shared_ptr<Surface>> PrinterPages(HDC hdc)
{
    auto dc = DcFromHandle(hdc);
    if (!dc || !dc->printer)
        return {};
    return dc->printer->pages;
}

} // namespace zyn::gdi

using namespace zyn::gdi;

int StartDocW(HDC hdc, const DOCINFOW* lpdi)
{
    auto dc = PrinterDc(hdc);
    if (!dc)
        return SP_ERROR;
    if (dc->printer->inDoc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return SP_ERROR;
    }
    dc->printer->inDoc = true;
    dc->printer->pages.clear();
    static int jobs = 0;
    return ++jobs;
}

int StartDoc(HDC hdc, const DOCINFOW* lpdi) { return StartDocW(hdc, lpdi); }

int StartPage(HDC hdc)
{
    auto dc = PrinterDc(hdc);
    if (!dc)
        return SP_ERROR;
    PrinterJob& job = *dc->printer;
    if (!job.inDoc || job.inPage) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return SP_ERROR;
    }
    auto page = Surface::Create(job.widthPx, job.heightPx, PixelFormat::Bgrx32);
    if (!page) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return SP_ERROR;
    }
    page->Clear(0xFFFFFF); // paper is white
    job.inPage = true;
    dc->surface = std::move(page);
    dc->ClipChanged();
    return 1;
}

int EndPage(HDC hdc)
{
    auto dc = PrinterDc(hdc);
    if (!dc)
        return SP_ERROR;
    PrinterJob& job = *dc->printer;
    if (!job.inPage) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return SP_ERROR;
    }
    job.pages.push_back(std::move(dc->surface));
    dc->surface.reset();
    dc->ClipChanged();
    job.inPage = false;
    return 1;
}

int EndDoc(HDC hdc)
{
    auto dc = PrinterDc(hdc);
    if (!dc)
        return SP_ERROR;
    PrinterJob& job = *dc->printer;
    if (!job.inDoc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return SP_ERROR;
    }
    if (job.inPage)
        EndPage(hdc);
    job.inDoc = false;
    return 1;
}

int AbortDoc(HDC hdc)
{
    auto dc = PrinterDc(hdc);
    if (!dc)
        return SP_ERROR;
    PrinterJob& job = *dc->printer;
    job.inDoc = false;
    job.inPage = false;
    job.pages.clear();
    dc->surface.reset();
    dc->ClipChanged();
    return 1;
}
