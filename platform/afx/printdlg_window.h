#pragma once
// The print dialog's window (template PRINTDLGORD in commdlg.rc), for a dialog the answer
// script did not answer (see commdlg_window.h for who answers it).
//
// The printer (cmb4: the one printer this platform has, "Zyn Printer"), its paper (cmb2:
// Letter, 8.5 x 11 in, or A4, 210 x 297 mm) and resolution (cmb3: 150, 300 or 600 DPI),
// all taken from hDevMode when the caller gives one; the print range (rad1 all, rad3 the
// pages edt1 to edt2, rad2 the selection), with the pages disabled by PD_NOPAGENUMS and
// the selection by PD_NOSELECTION, and typing a page choosing the pages; the copies (edt3)
// and the collate box (chx2). Print Setup (PD_PRINTSETUP) shows the printer only.
//
// OK checks the pages (numbers with nMinPage <= from <= to <= nMaxPage) and the copies
// (1 to 9999); a wrong one is refused with a message box and the dialog stays open.
#include <string>

#include "platform/afx/commdlg_window.h"
#include "platform/afx/printdlg.h"

namespace zyn::afx {

// A printer and its paper as the dialogs and the device blocks describe them.
struct PrinterChoice {
    std::wstring name = L"Zyn Printer";
    int dpi = 300;
    int widthMils = 8500;   // US Letter
    int heightMils = 11000;
    int copies = 1;
};

// The paper sizes offered, in thousandths of an inch.
inline constexpr int kLetterWidthMils = 8500, kLetterHeightMils = 11000;
inline constexpr int kA4WidthMils = 8268, kA4HeightMils = 11693; // 210 x 297 mm

struct PrintDialogChoice {
    CommDlgOutcome run;
    bool ok = false;
    PrinterChoice printer;
    DWORD range = PD_ALLPAGES;   // PD_ALLPAGES, PD_PAGENUMS or PD_SELECTION
    int fromPage = 0, toPage = 0;
    bool collate = false;
};

// Runs the window for `pd` (read only), starting from `start` (the printer the caller's
// device block describes, or the default one).
PrintDialogChoice RunPrintDialogWindow(const PRINTDLGW& pd, const PrinterChoice& start);

} // namespace zyn::afx
