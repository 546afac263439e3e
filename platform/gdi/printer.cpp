// The printer DC: pages rasterised at a stated resolution into surfaces tests can read,
// with the text runs of each page, and the record of finished documents.
#include "platform/gdi/printer.h"

#include <atomic>
#include <deque>
#include <mutex>

#include "platform/base/lasterror.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/text_layout.h"
#include "platform/gdi/wingdi.h"

namespace {
constexpr int SP_ERROR = -1;

struct FinishedDocuments {
    std::mutex m;
    std::deque<std::shared_ptr<const zyn::gdi::PrintedDocument>> docs;
};
FinishedDocuments& Finished()
{
    static FinishedDocuments* f = new FinishedDocuments; // documents may be filed during exit
    return *f;
}

void File(std::shared_ptr<const zyn::gdi::PrintedDocument> doc)
{
    FinishedDocuments& f = Finished();
    std::lock_guard lock(f.m);
    f.docs.push_back(std::move(doc));
    while (f.docs.size() > zyn::gdi::kPrintedDocumentsKept)
        f.docs.pop_front();
}

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

HDC CreatePrinterDC(int dpi, int paperWidthMils, int paperHeightMils, int marginMils)
{
    if (dpi <= 0 || dpi > 2400 || paperWidthMils <= 0 || paperHeightMils <= 0 || paperWidthMils > 100000 ||
        paperHeightMils > 100000 || marginMils < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // Thousandths of an inch to pixels, to the nearest pixel.
    const auto pixels = [dpi](int mils) { return static_cast<int>((static_cast<int64_t>(mils) * dpi + 500) / 1000); };
    auto job = std::make_unique<PrinterJob>();
    job->dpi = dpi;
    job->widthPx = pixels(paperWidthMils);
    job->heightPx = pixels(paperHeightMils);
    job->offsetX = job->offsetY = pixels(std::min(marginMils, 100000));
    job->printableWidthPx = job->widthPx - 2 * job->offsetX;
    job->printableHeightPx = job->heightPx - 2 * job->offsetY;
    if (job->printableWidthPx <= 0 || job->printableHeightPx <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto dc = std::make_shared<Dc>();
    dc->kind = DcKind::Printer;
    // The device's (0,0) is the printable area's corner, and nothing reaches the margins.
    dc->origin = POINT{job->offsetX, job->offsetY};
    dc->sysRegion = Region(0, 0, job->printableWidthPx, job->printableHeightPx);
    dc->printer = std::move(job);
    return AddDc(std::move(dc));
}

std::vector<std::shared_ptr<Surface>> PrinterPages(HDC hdc)
{
    auto dc = DcFromHandle(hdc);
    if (!dc || !dc->printer)
        return {};
    return dc->printer->pages;
}

std::shared_ptr<const PrintedDocument> PrinterDocument(HDC hdc)
{
    auto dc = DcFromHandle(hdc);
    if (!dc || !dc->printer)
        return nullptr;
    return dc->printer->doc;
}

std::vector<std::shared_ptr<const PrintedDocument>> PrintedDocuments()
{
    FinishedDocuments& f = Finished();
    std::lock_guard lock(f.m);
    return {f.docs.begin(), f.docs.end()};
}

void ClearPrintedDocuments()
{
    FinishedDocuments& f = Finished();
    std::lock_guard lock(f.m);
    f.docs.clear();
}

void NotePrinterRun(Dc& dc, const TextRun& run, const RECT& cell)
{
    if (dc.kind != DcKind::Printer || !dc.printer || !dc.printer->inPage)
        return;
    const RECT onPage{cell.left + dc.origin.x, cell.top + dc.origin.y, cell.right + dc.origin.x,
        cell.bottom + dc.origin.y};
    // An empty cell (an empty line) still counts when its top-left lies inside the clip.
    const bool visible = onPage.right > onPage.left
        ? dc.Clip().Intersects(onPage)
        : dc.Clip().Contains(onPage.left, onPage.top);
    if (!visible)
        return;
    PrintedRun r;
    r.text.reserve(run.chars.size());
    for (char32_t c : run.chars)
        r.text.push_back(c == 0 ? L'\t' : static_cast<wchar_t>(c));
    r.rect = onPage;
    dc.printer->runs.push_back(std::move(r));
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
    dc->printer->runs.clear();
    auto doc = std::make_shared<PrintedDocument>();
    if (lpdi && lpdi->lpszDocName)
        doc->name = lpdi->lpszDocName;
    doc->dpi = dc->printer->dpi;
    doc->widthPx = dc->printer->widthPx;
    doc->heightPx = dc->printer->heightPx;
    doc->printable = RECT{dc->printer->offsetX, dc->printer->offsetY,
        dc->printer->offsetX + dc->printer->printableWidthPx, dc->printer->offsetY + dc->printer->printableHeightPx};
    dc->printer->doc = std::move(doc);
    static std::atomic<int> jobs{0};
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
    job.runs.clear();
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
    PrintedPage done;
    done.image = dc->surface;
    done.runs = std::move(job.runs);
    job.runs.clear();
    if (job.doc)
        job.doc->pages.push_back(std::move(done));
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
    if (job.doc)
        File(job.doc);
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
    job.runs.clear();
    job.doc.reset();
    dc->surface.reset();
    dc->ClipChanged();
    return 1;
}
