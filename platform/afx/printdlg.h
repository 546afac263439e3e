#pragma once
// The print dialog: PrintDlg over PRINTDLG with the device blocks DEVMODE and DEVNAMES,
// and CPrintDialog, the class library's wrapper (who answers them: filedlg_common.h; the
// window a person uses: printdlg_window.h).
//
// A scripted answer (AnswerKind::PrintDialog) with code IDOK names the printer (`text`,
// else the default printer), its resolution (`dpi`) and paper (`paperWidthMils` x
// `paperHeightMils`), the copies and a page range (`fromPage`..`toPage`, which must lie in
// nMinPage..nMaxPage; none: all pages); zero takes the default printer's value: "Zyn
// Printer" at 300 DPI on US Letter (8500 x 11000 thousandths of an inch), one copy.
// PrintDlg then hands back new device blocks (global memory the caller frees; blocks it
// was given are freed and replaced), the range flags, and with PD_RETURNDC (or
// PD_RETURNIC) a printer DC of that resolution and paper (the drawing layer's printer DC,
// whose pages tests can read). PD_RETURNDEFAULT returns the default printer's blocks
// without a dialog (and without a record).
//
// DEVMODE keeps the paper in tenths of a millimetre, as its fields are defined: a size in
// thousandths of an inch comes back from it rounded to the nearest thousandth.
#include "platform/afx/filedlg_common.h"
#include "platform/base/cstring.h"

inline constexpr int CCHDEVICENAME = 32, CCHFORMNAME = 32;

struct DEVMODEW {
    wchar_t dmDeviceName[CCHDEVICENAME] = {};
    WORD dmSpecVersion = 0;
    WORD dmDriverVersion = 0;
    WORD dmSize = 0;
    WORD dmDriverExtra = 0;
    DWORD dmFields = 0;
    short dmOrientation = 0;
    short dmPaperSize = 0;
    short dmPaperLength = 0;   // tenths of a millimetre
    short dmPaperWidth = 0;    // tenths of a millimetre
    short dmScale = 0;
    short dmCopies = 0;
    short dmDefaultSource = 0;
    short dmPrintQuality = 0;  // dots per inch (or a DMRES_ value below 0)
    short dmColor = 0;
    short dmDuplex = 0;
    short dmYResolution = 0;
    short dmTTOption = 0;
    short dmCollate = 0;
    wchar_t dmFormName[CCHFORMNAME] = {};
    WORD dmLogPixels = 0;
    DWORD dmBitsPerPel = 0;
    DWORD dmPelsWidth = 0;
    DWORD dmPelsHeight = 0;
    DWORD dmDisplayFlags = 0;
    DWORD dmDisplayFrequency = 0;
};
using DEVMODE = DEVMODEW;
using LPDEVMODEW = DEVMODEW*;
using LPDEVMODE = DEVMODEW*;

inline constexpr DWORD DM_ORIENTATION = 0x00000001, DM_PAPERSIZE = 0x00000002, DM_PAPERLENGTH = 0x00000004,
                       DM_PAPERWIDTH = 0x00000008, DM_SCALE = 0x00000010, DM_COPIES = 0x00000100,
                       DM_DEFAULTSOURCE = 0x00000200, DM_PRINTQUALITY = 0x00000400, DM_COLOR = 0x00000800,
                       DM_DUPLEX = 0x00001000, DM_YRESOLUTION = 0x00002000, DM_COLLATE = 0x00008000;
inline constexpr short DMORIENT_PORTRAIT = 1, DMORIENT_LANDSCAPE = 2, DMPAPER_LETTER = 1, DMPAPER_A4 = 9,
                       DMPAPER_USER = 256;

// Offsets (in characters from the block's start) of the driver, device and port names.
struct DEVNAMES {
    WORD wDriverOffset = 0;
    WORD wDeviceOffset = 0;
    WORD wOutputOffset = 0;
    WORD wDefault = 0;
};
using LPDEVNAMES = DEVNAMES*;
inline constexpr WORD DN_DEFAULTPRN = 0x0001;

using LPPRINTHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);
using LPSETUPHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct PRINTDLGW {
    DWORD lStructSize = 0;
    HWND hwndOwner = nullptr;
    HGLOBAL hDevMode = nullptr;
    HGLOBAL hDevNames = nullptr;
    HDC hDC = nullptr;
    DWORD Flags = 0;
    WORD nFromPage = 0;
    WORD nToPage = 0;
    WORD nMinPage = 0;
    WORD nMaxPage = 0;
    WORD nCopies = 0;
    HINSTANCE hInstance = nullptr;
    LPARAM lCustData = 0;
    LPPRINTHOOKPROC lpfnPrintHook = nullptr;
    LPSETUPHOOKPROC lpfnSetupHook = nullptr;
    LPCWSTR lpPrintTemplateName = nullptr;
    LPCWSTR lpSetupTemplateName = nullptr;
    HGLOBAL hPrintTemplate = nullptr;
    HGLOBAL hSetupTemplate = nullptr;
};
using PRINTDLG = PRINTDLGW;
using LPPRINTDLGW = PRINTDLGW*;
using LPPRINTDLG = PRINTDLGW*;

inline constexpr DWORD PD_ALLPAGES = 0x00000000, PD_SELECTION = 0x00000001, PD_PAGENUMS = 0x00000002,
                       PD_NOSELECTION = 0x00000004, PD_NOPAGENUMS = 0x00000008, PD_COLLATE = 0x00000010,
                       PD_PRINTTOFILE = 0x00000020, PD_PRINTSETUP = 0x00000040, PD_NOWARNING = 0x00000080,
                       PD_RETURNDC = 0x00000100, PD_RETURNIC = 0x00000200, PD_RETURNDEFAULT = 0x00000400,
                       PD_SHOWHELP = 0x00000800, PD_ENABLEPRINTHOOK = 0x00001000, PD_ENABLESETUPHOOK = 0x00002000,
                       PD_ENABLEPRINTTEMPLATE = 0x00004000, PD_ENABLESETUPTEMPLATE = 0x00008000,
                       PD_USEDEVMODECOPIES = 0x00040000, PD_USEDEVMODECOPIESANDCOLLATE = 0x00040000,
                       PD_DISABLEPRINTTOFILE = 0x00080000, PD_HIDEPRINTTOFILE = 0x00100000,
                       PD_NONETWORKBUTTON = 0x00200000;

// TRUE with the choice; FALSE for a cancel (CommDlgExtendedError 0) or an error
// (CDERR_STRUCTSIZE; PDERR_RETDEFFAILURE when PD_RETURNDEFAULT is given blocks).
BOOL PrintDlgW(LPPRINTDLGW lppd);
inline BOOL PrintDlg(LPPRINTDLGW lppd) { return PrintDlgW(lppd); }

namespace zyn::afx {
// A printer DC for device blocks (either may be null: the default printer's values).
HDC CreatePrinterDCFromBlocks(HGLOBAL hDevNames, HGLOBAL hDevMode);
} // namespace zyn::afx

class CPrintDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CPrintDialog)
public:
    explicit CPrintDialog(BOOL bPrintSetupOnly,
        DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE | PD_NOSELECTION,
        CWnd* pParentWnd = nullptr);
    // Frees the device blocks m_pd still holds, and a DC nobody took (GetPrinterDC and
    // CreatePrinterDC hand theirs to the caller, who deletes it).
    ~CPrintDialog() override;

    // IDOK with the choice, IDCANCEL for a cancel or a failure.
    INT_PTR DoModal() override;
    // The default printer's blocks without a dialog (and its DC with PD_RETURNDC).
    BOOL GetDefaults();

    // The DC PrintDlg made (PD_RETURNDC), or null; the caller deletes it.
    HDC GetPrinterDC() const;
    // A new DC from the current device blocks, kept in m_pd.hDC; the caller deletes it.
    HDC CreatePrinterDC();

    int GetCopies() const;
    BOOL PrintCollate() const { return (m_pd.Flags & PD_COLLATE) != 0; }
    BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
    BOOL PrintAll() const { return !PrintRange() && !PrintSelection(); }
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
    int GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
    int GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }
    // The device block (locked while the dialog lives; null without one).
    LPDEVMODE GetDevMode() const;
    CString GetDriverName() const;
    CString GetDeviceName() const;
    CString GetPortName() const;

    PRINTDLG m_pd;

private:
    CString DevNamesString(WORD DEVNAMES::*offset) const;
    mutable HDC m_hDCGiven = nullptr;   // the DC handed to a caller (not ours to delete)
};
