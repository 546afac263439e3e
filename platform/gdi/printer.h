#pragma once
// The printer DC's documents (CreatePrinterDC is declared in wingdi.h).
//
// A printer DC rasterises each page between StartPage and EndPage into a surface of the
// sheet's size at its resolution (margins included: the device's origin is the printable
// area's corner, wingdi.h), and notes every text run drawn on the page (its
// characters, a tab's gap as '\t', and its cell rectangle in page pixels), as long as the
// run meets the DC's clip. EndDoc files the finished document (its name from DOCINFO, its
// pages) in a process-wide record that outlives the DC, so a caller that prints and
// deletes its DC in one go can still be checked; the record keeps the last
// kPrintedDocumentsKept documents. AbortDoc files nothing.
#include <memory>
#include <string>
#include <vector>

#include "platform/base/wintypes.h"

namespace zyn::gdi {

class Surface;

// One text run as it was drawn: the characters (a tab that was expanded shows as '\t')
// and the cell it occupies (left/top at the pen's start, one line high), in page pixels.
struct PrintedRun {
    std::wstring text;
    RECT rect{};
};

struct PrintedPage {
    std::shared_ptr<Surface> image;
    std::vector<PrintedRun> runs; // in drawing order
};

struct PrintedDocument {
    std::wstring name;  // DOCINFO's lpszDocName (empty when none was given)
    int dpi = 0;
    int widthPx = 0;    // the sheet in pixels (a page image's size)
    int heightPx = 0;
    RECT printable{};   // the area the printer prints on, in the page image's pixels
    std::vector<PrintedPage> pages;
};

inline constexpr size_t kPrintedDocumentsKept = 16;

// The pages a printer DC finished (EndPage) in its current or last document, in order;
// empty for other DCs.
std::vector<std::shared_ptr<Surface>> PrinterPages(HDC hdc);
// The document a printer DC is printing or last printed (null for other DCs or before
// StartDoc).
std::shared_ptr<const PrintedDocument> PrinterDocument(HDC hdc);
// The documents finished by EndDoc in this process, oldest first.
std::vector<std::shared_ptr<const PrintedDocument>> PrintedDocuments();
void ClearPrintedDocuments();

} // namespace zyn::gdi
