// The print dialog (answered by the answer script or shown, printdlg_window.h), its device
// blocks and CPrintDialog.
#include "platform/afx/printdlg.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "platform/user/winuser.h"
#include "platform/base/globalmem.h"
#include "platform/gdi/wingdi.h"
#include "platform/afx/commdlg_window.h"
#include "platform/afx/printdlg_window.h"
#include "platform/user/modal.h"

namespace {

using zyn::afx::PrinterChoice;

constexpr const wchar_t* kDriverName = L"winspool";
constexpr const wchar_t* kPortName = L"ZYN:";

short TenthsMmFromMils(int mils) { return static_cast<short>(std::lround(mils * 0.254)); }
int MilsFromTenthsMm(int tenths) { return static_cast<int>(std::lround(tenths / 0.254)); }

HGLOBAL MakeDevMode(const PrinterChoice& c)
{
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEW));
    auto* dm = h ? static_cast<DEVMODEW*>(::GlobalLock(h)) : nullptr;
    if (!dm) {
        if (h)
            ::GlobalFree(h);
        return nullptr;
    }
    *dm = DEVMODEW{};
    const size_t n = std::min<size_t>(c.name.size(), CCHDEVICENAME - 1);
    std::copy_n(c.name.begin(), n, dm->dmDeviceName);
    dm->dmSize = static_cast<WORD>(sizeof(DEVMODEW));
    dm->dmSpecVersion = 0x0401;
    dm->dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES | DM_PRINTQUALITY |
                   DM_YRESOLUTION;
    dm->dmOrientation = DMORIENT_PORTRAIT;
    dm->dmPaperSize = (c.widthMils == zyn::afx::kLetterWidthMils && c.heightMils == zyn::afx::kLetterHeightMils)
        ? DMPAPER_LETTER
        : (c.widthMils == zyn::afx::kA4WidthMils && c.heightMils == zyn::afx::kA4HeightMils) ? DMPAPER_A4
                                                                                           : DMPAPER_USER;
    dm->dmPaperWidth = TenthsMmFromMils(c.widthMils);
    dm->dmPaperLength = TenthsMmFromMils(c.heightMils);
    dm->dmCopies = static_cast<short>(std::clamp(c.copies, 1, 9999));
    dm->dmPrintQuality = static_cast<short>(c.dpi);
    dm->dmYResolution = static_cast<short>(c.dpi);
    dm->dmScale = 100;
    ::GlobalUnlock(h);
    return h;
}

HGLOBAL MakeDevNames(const PrinterChoice& c, bool isDefault)
{
    // The header is as long as two characters; the names follow it.
    static_assert(sizeof(DEVNAMES) % sizeof(wchar_t) == 0);
    const size_t head = sizeof(DEVNAMES) / sizeof(wchar_t);
    std::wstring names;
    names += kDriverName;
    names += L'\0';
    const size_t device = names.size();
    names += c.name;
    names += L'\0';
    const size_t port = names.size();
    names += kPortName;
    names += L'\0';
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVNAMES) + names.size() * sizeof(wchar_t));
    auto* dn = h ? static_cast<DEVNAMES*>(::GlobalLock(h)) : nullptr;
    if (!dn) {
        if (h)
            ::GlobalFree(h);
        return nullptr;
    }
    dn->wDriverOffset = static_cast<WORD>(head);
    dn->wDeviceOffset = static_cast<WORD>(head + device);
    dn->wOutputOffset = static_cast<WORD>(head + port);
    dn->wDefault = isDefault ? DN_DEFAULTPRN : 0;
    std::memcpy(reinterpret_cast<wchar_t*>(dn) + head, names.data(), names.size() * sizeof(wchar_t));
    ::GlobalUnlock(h);
    return h;
}

HDC MakeDC(const PrinterChoice& c) { return zyn::gdi::CreatePrinterDC(c.dpi, c.widthMils, c.heightMils); }

// The printer a device block describes (the default printer's values where it says
// nothing); its copies too.
PrinterChoice PrinterOfDevMode(HGLOBAL hDevMode)
{
    PrinterChoice c;
    const auto* dm = hDevMode ? static_cast<const DEVMODEW*>(::GlobalLock(hDevMode)) : nullptr;
    if (!dm)
        return c;
    if (dm->dmDeviceName[0])
        c.name.assign(dm->dmDeviceName, wcsnlen(dm->dmDeviceName, CCHDEVICENAME));
    if (dm->dmPrintQuality > 0)
        c.dpi = dm->dmPrintQuality;
    if (dm->dmPaperWidth > 0)
        c.widthMils = MilsFromTenthsMm(dm->dmPaperWidth);
    if (dm->dmPaperLength > 0)
        c.heightMils = MilsFromTenthsMm(dm->dmPaperLength);
    if (dm->dmOrientation == DMORIENT_LANDSCAPE)
        std::swap(c.widthMils, c.heightMils);
    if (dm->dmCopies > 0)
        c.copies = dm->dmCopies;
    ::GlobalUnlock(hDevMode);
    return c;
}

// Where the print dialog's window starts: the caller's device block, and its copies
// unless the caller keeps them (without PD_USEDEVMODECOPIES).
PrinterChoice StartingPrinter(const PRINTDLGW& pd)
{
    PrinterChoice c = PrinterOfDevMode(pd.hDevMode);
    if (!(pd.Flags & PD_USEDEVMODECOPIES) || !pd.hDevMode)
        c.copies = std::max<int>(pd.nCopies, 1);
    return c;
}

void Replace(HGLOBAL& slot, HGLOBAL fresh)
{
    if (slot)
        ::GlobalFree(slot);
    slot = fresh;
}

} // namespace

BOOL PrintDlgW(LPPRINTDLGW lppd)
{
    zyn::afx::SetCommDlgError(0);
    if (!lppd || lppd->lStructSize != sizeof(PRINTDLGW)) {
        zyn::afx::SetCommDlgError(CDERR_STRUCTSIZE);
        return FALSE;
    }
    const bool wantDC = (lppd->Flags & (PD_RETURNDC | PD_RETURNIC)) != 0;
    if (lppd->Flags & PD_RETURNDEFAULT) {
        // No dialog: the default printer, into empty slots only.
        if (lppd->hDevMode || lppd->hDevNames) {
            zyn::afx::SetCommDlgError(PDERR_RETDEFFAILURE);
            return FALSE;
        }
        const PrinterChoice def;
        lppd->hDevMode = MakeDevMode(def);
        lppd->hDevNames = MakeDevNames(def, true);
        if (wantDC)
            lppd->hDC = MakeDC(def);
        return TRUE;
    }

    zyn::user::ShownRecord rec;
    rec.kind = zyn::user::AnswerKind::PrintDialog;
    rec.owner = lppd->hwndOwner;
    rec.text = (lppd->Flags & PD_PRINTSETUP) ? L"Print Setup" : L"Print";
    rec.flags = lppd->Flags;
    rec.result = IDCANCEL;
    auto finish = [&](BOOL ok, std::wstring note = {}) { return zyn::afx::RecordCommDlg(rec, ok, std::move(note)); };

    PrinterChoice c;
    DWORD flags = lppd->Flags & ~(PD_PAGENUMS | PD_SELECTION);
    bool defaultPrinter = true;
    if (auto answer = zyn::user::AnswerScript::Take(zyn::user::AnswerKind::PrintDialog)) {
        rec.scripted = true;
        if (answer->code != IDOK)
            return finish(FALSE);
        if (!answer->text.empty()) {
            c.name = answer->text;
            defaultPrinter = false;
        }
        if (answer->dpi > 0)
            c.dpi = answer->dpi;
        if (answer->paperWidthMils > 0)
            c.widthMils = answer->paperWidthMils;
        if (answer->paperHeightMils > 0)
            c.heightMils = answer->paperHeightMils;
        if (answer->copies > 0)
            c.copies = answer->copies;
        // The printer DC's limits (the drawing layer's): 1..2400 DPI, paper up to 100 inches.
        if (c.dpi > 2400 || c.widthMils > 100000 || c.heightMils > 100000)
            return finish(
                FALSE, L"the answer names a printer the printer DC cannot make (over 2400 DPI or 100 inches): Cancel");
        if (answer->fromPage > 0 || answer->toPage > 0) {
            if (lppd->Flags & PD_NOPAGENUMS)
                return finish(FALSE, L"a page range answers a dialog without page numbers (PD_NOPAGENUMS): Cancel");
            const int from = answer->fromPage > 0 ? answer->fromPage : lppd->nMinPage;
            const int to = answer->toPage > 0 ? answer->toPage : lppd->nMaxPage;
            if (from > to || from < lppd->nMinPage || to > lppd->nMaxPage)
                return finish(FALSE, L"the page range " + std::to_wstring(from) + L"-" + std::to_wstring(to) +
                                         L" lies outside " + std::to_wstring(lppd->nMinPage) + L"-" +
                                         std::to_wstring(lppd->nMaxPage) + L": Cancel");
            flags |= PD_PAGENUMS;
            lppd->nFromPage = static_cast<WORD>(from);
            lppd->nToPage = static_cast<WORD>(to);
        }
    } else if (!zyn::afx::CommDlgHasSomeoneToAsk()) {
        return finish(FALSE); // headless: nobody to ask
    } else {
        const PrinterChoice start = StartingPrinter(*lppd);
        const zyn::afx::PrintDialogChoice choice = zyn::afx::RunPrintDialogWindow(*lppd, start);
        if (!zyn::afx::NoteWindowRun(choice.run, choice.ok, rec))
            return finish(FALSE);
        c = choice.printer;
        flags |= choice.range;
        if (choice.range == PD_PAGENUMS) {
            lppd->nFromPage = static_cast<WORD>(choice.fromPage);
            lppd->nToPage = static_cast<WORD>(choice.toPage);
        }
        flags = choice.collate ? (flags | PD_COLLATE) : (flags & ~PD_COLLATE);
    }

    HGLOBAL devMode = MakeDevMode(c);
    HGLOBAL devNames = MakeDevNames(c, defaultPrinter);
    if (!devMode || !devNames) {
        if (devMode)
            ::GlobalFree(devMode);
        if (devNames)
            ::GlobalFree(devNames);
        zyn::afx::SetCommDlgError(CDERR_INITIALIZATION);
        return finish(FALSE, L"the device blocks could not be made");
    }
    // The copies go to the device block when the printer makes them, else to the caller.
    if (lppd->Flags & PD_USEDEVMODECOPIES) {
        lppd->nCopies = 1;
    } else {
        lppd->nCopies = static_cast<WORD>(c.copies);
        if (auto* dm = static_cast<DEVMODEW*>(::GlobalLock(devMode))) {
            dm->dmCopies = 1;
            ::GlobalUnlock(devMode);
        }
    }
    Replace(lppd->hDevMode, devMode);
    Replace(lppd->hDevNames, devNames);
    lppd->Flags = flags;
    if (wantDC)
        lppd->hDC = MakeDC(c);
    return finish(TRUE);
}

HDC zyn::afx::CreatePrinterDCFromBlocks(HGLOBAL /*hDevNames*/, HGLOBAL hDevMode)
{
    return MakeDC(PrinterOfDevMode(hDevMode));
}

// ---- CPrintDialog -----------------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CPrintDialog, CCommonDialog)

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd) : CCommonDialog(pParentWnd)
{
    m_pd.lStructSize = sizeof(m_pd);
    m_pd.Flags = dwFlags;
    if (bPrintSetupOnly)
        m_pd.Flags |= PD_PRINTSETUP;
    else
        m_pd.Flags |= PD_RETURNDC;
    m_pd.nFromPage = 1;
    m_pd.nToPage = 0xFFFF;
    m_pd.nMinPage = 1;
    m_pd.nMaxPage = 0xFFFF;
    m_pd.nCopies = 1;
}

CPrintDialog::~CPrintDialog()
{
    if (m_pd.hDC && m_pd.hDC != m_hDCGiven)
        ::DeleteDC(m_pd.hDC);
    if (m_pd.hDevMode)
        ::GlobalFree(m_pd.hDevMode);
    if (m_pd.hDevNames)
        ::GlobalFree(m_pd.hDevNames);
}

INT_PTR CPrintDialog::DoModal()
{
    if (!m_pd.hwndOwner)
        m_pd.hwndOwner = zyn::afx::SafeHwndOf(GetSafeOwner(m_pParentWnd, nullptr));
    // A DC from an earlier run that nobody took goes before PrintDlg makes a new one.
    if (m_pd.hDC && m_pd.hDC != m_hDCGiven)
        ::DeleteDC(m_pd.hDC);
    m_pd.hDC = nullptr;
    return ::PrintDlgW(&m_pd) ? IDOK : IDCANCEL;
}

BOOL CPrintDialog::GetDefaults()
{
    if (m_pd.hDC && m_pd.hDC != m_hDCGiven)
        ::DeleteDC(m_pd.hDC);
    m_pd.hDC = nullptr;
    Replace(m_pd.hDevMode, nullptr);
    Replace(m_pd.hDevNames, nullptr);
    const DWORD saved = m_pd.Flags;
    m_pd.Flags |= PD_RETURNDEFAULT;
    const BOOL ok = ::PrintDlgW(&m_pd);
    m_pd.Flags = saved;
    return ok;
}

HDC CPrintDialog::GetPrinterDC() const
{
    m_hDCGiven = m_pd.hDC;
    return m_pd.hDC;
}

HDC CPrintDialog::CreatePrinterDC()
{
    if (m_pd.hDC && m_pd.hDC != m_hDCGiven)
        ::DeleteDC(m_pd.hDC);
    m_pd.hDC = zyn::afx::CreatePrinterDCFromBlocks(m_pd.hDevNames, m_pd.hDevMode);
    m_hDCGiven = m_pd.hDC;
    return m_pd.hDC;
}

int CPrintDialog::GetCopies() const
{
    if (m_pd.Flags & PD_USEDEVMODECOPIES) {
        if (const LPDEVMODE dm = GetDevMode())
            return dm->dmCopies;
    }
    return m_pd.nCopies;
}

LPDEVMODE CPrintDialog::GetDevMode() const
{
    if (!m_pd.hDevMode)
        return nullptr;
    // A moveable block keeps its address while it is not reallocated.
    auto* dm = static_cast<LPDEVMODE>(::GlobalLock(m_pd.hDevMode));
    ::GlobalUnlock(m_pd.hDevMode);
    return dm;
}

CString CPrintDialog::DevNamesString(WORD DEVNAMES::*offset) const
{
    if (!m_pd.hDevNames)
        return CString();
    const auto* dn = static_cast<const DEVNAMES*>(::GlobalLock(m_pd.hDevNames));
    if (!dn)
        return CString();
    // A block from elsewhere is read no further than its end.
    const size_t chars = ::GlobalSize(m_pd.hDevNames) / sizeof(wchar_t);
    CString s;
    if (dn->*offset < chars) {
        const wchar_t* text = reinterpret_cast<const wchar_t*>(dn) + (dn->*offset);
        s = CString(text, static_cast<int>(wcsnlen(text, chars - (dn->*offset))));
    }
    ::GlobalUnlock(m_pd.hDevNames);
    return s;
}

CString CPrintDialog::GetDriverName() const { return DevNamesString(&DEVNAMES::wDriverOffset); }
CString CPrintDialog::GetDeviceName() const { return DevNamesString(&DEVNAMES::wDeviceOffset); }
CString CPrintDialog::GetPortName() const { return DevNamesString(&DEVNAMES::wOutputOffset); }
