// The print dialog's window: printer, paper, resolution, range and copies, checked on OK.
#include "platform/afx/printdlg_window.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

#include "platform/afx/commdlg_window.h"
#include "platform/afx/dlgs.h"
#include "platform/user/button.h"
#include "platform/user/combobox.h"
#include "platform/user/winuser.h"

namespace zyn::afx {

namespace {

struct Paper {
    const wchar_t* name;
    int widthMils, heightMils;
};
constexpr Paper kPapers[] = {
    {L"Letter (8.5 x 11 in)", kLetterWidthMils, kLetterHeightMils},
    {L"A4 (210 x 297 mm)", kA4WidthMils, kA4HeightMils},
};
constexpr int kResolutions[] = {150, 300, 600};
constexpr int kMaxCopies = 9999;

// The controls of the range and the copies, which Print Setup does not show.
constexpr int kRangeAndCopies[] = {grp1, rad1, rad2, rad3, stc2, edt1, stc3, edt2, grp2, stc5, edt3, chx2};

class PrintWindow {
public:
    PrintWindow(const PRINTDLGW& pd, const PrinterChoice& start) : m_pd(pd), m_start(start) {}

    const PrintDialogChoice& Choice() const { return m_choice; }

    BOOL Init(HWND dlg)
    {
        m_dlg = dlg;
        const bool setup = (m_pd.Flags & PD_PRINTSETUP) != 0;
        ::SetWindowTextW(dlg, setup ? L"Print Setup" : L"Print");
        Add(cmb4, m_start.name);
        ::SendDlgItemMessageW(dlg, cmb4, CB_SETCURSEL, 0, 0);
        int paper = -1;
        for (int i = 0; i < static_cast<int>(std::size(kPapers)); ++i) {
            Add(cmb2, kPapers[i].name);
            if (kPapers[i].widthMils == m_start.widthMils && kPapers[i].heightMils == m_start.heightMils)
                paper = i;
        }
        if (paper < 0) {
            // A paper of the caller's own: offered as it is.
            Add(cmb2, std::to_wstring(m_start.widthMils) + L" x " + std::to_wstring(m_start.heightMils) +
                    L" thousandths of an inch");
            paper = static_cast<int>(std::size(kPapers));
        }
        ::SendDlgItemMessageW(dlg, cmb2, CB_SETCURSEL, static_cast<WPARAM>(paper), 0);
        int resolution = -1;
        for (int i = 0; i < static_cast<int>(std::size(kResolutions)); ++i) {
            Add(cmb3, std::to_wstring(kResolutions[i]) + L" dots per inch");
            if (kResolutions[i] == m_start.dpi)
                resolution = i;
        }
        if (resolution < 0) {
            Add(cmb3, std::to_wstring(m_start.dpi) + L" dots per inch");
            resolution = static_cast<int>(std::size(kResolutions));
        }
        ::SendDlgItemMessageW(dlg, cmb3, CB_SETCURSEL, static_cast<WPARAM>(resolution), 0);

        if (setup) {
            for (int id : kRangeAndCopies)
                ::ShowWindow(::GetDlgItem(dlg, id), SW_HIDE);
        } else {
            const int checked = (m_pd.Flags & PD_PAGENUMS) ? rad3 : (m_pd.Flags & PD_SELECTION) ? rad2 : rad1;
            ::CheckRadioButton(dlg, rad1, rad3, checked);
            if (m_pd.Flags & PD_PAGENUMS) {
                ::SetDlgItemInt(dlg, edt1, m_pd.nFromPage, FALSE);
                ::SetDlgItemInt(dlg, edt2, m_pd.nToPage, FALSE);
            }
            if (m_pd.Flags & PD_NOPAGENUMS) {
                for (int id : {rad3, stc2, edt1, stc3, edt2})
                    ::EnableWindow(::GetDlgItem(dlg, id), FALSE);
            }
            if (m_pd.Flags & PD_NOSELECTION)
                ::EnableWindow(::GetDlgItem(dlg, rad2), FALSE);
            ::SetDlgItemInt(dlg, edt3, static_cast<UINT>(std::max(m_start.copies, 1)), FALSE);
            ::CheckDlgButton(dlg, chx2, (m_pd.Flags & PD_COLLATE) ? BST_CHECKED : BST_UNCHECKED);
        }
        m_ready = true;
        return TRUE; // the first control takes the focus
    }

    void Add(int combo, const std::wstring& text) const
    {
        ::SendDlgItemMessageW(m_dlg, combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

    void Command(int id, int code)
    {
        switch (id) {
        case edt1:
        case edt2:
            // Typing a page chooses the pages.
            if (m_ready && code == EN_CHANGE && !(m_pd.Flags & PD_NOPAGENUMS) && !DlgItemText(m_dlg, id).empty())
                ::CheckRadioButton(m_dlg, rad1, rad3, rad3);
            break;
        case IDOK: Accept(); break;
        case IDCANCEL: ::EndDialog(m_dlg, IDCANCEL); break;
        default: break;
        }
    }

private:
    // A number typed in an edit, or -1 for none.
    int Number(int id) const
    {
        BOOL ok = FALSE;
        const UINT n = ::GetDlgItemInt(m_dlg, id, &ok, FALSE);
        return ok && n <= 0xFFFF ? static_cast<int>(n) : -1;
    }

    void Refuse(const std::wstring& text, int focus) const
    {
        ::MessageBoxW(m_dlg, text.c_str(), L"Print", MB_OK | MB_ICONWARNING);
        const HWND ctl = ::GetDlgItem(m_dlg, focus);
        ::SetFocus(ctl);
        ::SendMessageW(ctl, EM_SETSEL, 0, -1);
    }

    void Accept()
    {
        PrintDialogChoice c;
        c.printer = m_start;
        const auto paper = static_cast<size_t>(::SendDlgItemMessageW(m_dlg, cmb2, CB_GETCURSEL, 0, 0));
        if (paper < std::size(kPapers)) {
            c.printer.widthMils = kPapers[paper].widthMils;
            c.printer.heightMils = kPapers[paper].heightMils;
        }
        const auto dpi = static_cast<size_t>(::SendDlgItemMessageW(m_dlg, cmb3, CB_GETCURSEL, 0, 0));
        if (dpi < std::size(kResolutions))
            c.printer.dpi = kResolutions[dpi];
        if (!(m_pd.Flags & PD_PRINTSETUP)) {
            if (::IsDlgButtonChecked(m_dlg, rad3) == BST_CHECKED) {
                const int from = Number(edt1);
                const int to = DlgItemText(m_dlg, edt2).empty() ? from : Number(edt2);
                const std::wstring limits = std::to_wstring(m_pd.nMinPage) + L" to " + std::to_wstring(m_pd.nMaxPage);
                if (from < m_pd.nMinPage || from > m_pd.nMaxPage) {
                    Refuse(L"Enter a first page from " + limits + L".", edt1);
                    return;
                }
                if (to < from || to > m_pd.nMaxPage) {
                    Refuse(L"Enter a last page from the first page to " + std::to_wstring(m_pd.nMaxPage) + L".", edt2);
                    return;
                }
                c.range = PD_PAGENUMS;
                c.fromPage = from;
                c.toPage = to;
            } else if (::IsDlgButtonChecked(m_dlg, rad2) == BST_CHECKED) {
                c.range = PD_SELECTION;
            }
            const int copies = Number(edt3);
            if (copies < 1 || copies > kMaxCopies) {
                Refuse(L"Enter a number of copies from 1 to " + std::to_wstring(kMaxCopies) + L".", edt3);
                return;
            }
            c.printer.copies = copies;
            c.collate = ::IsDlgButtonChecked(m_dlg, chx2) == BST_CHECKED;
        } else {
            c.collate = (m_pd.Flags & PD_COLLATE) != 0;
        }
        c.ok = true;
        m_choice = std::move(c);
        ::EndDialog(m_dlg, IDOK);
    }

    const PRINTDLGW& m_pd;
    const PrinterChoice m_start;
    HWND m_dlg = nullptr;
    bool m_ready = false;
    PrintDialogChoice m_choice;
};

} // namespace

PrintDialogChoice RunPrintDialogWindow(const PRINTDLGW& pd, const PrinterChoice& start)
{
    PrintWindow window(pd, start);
    const CommDlgOutcome run =
        RunCommDlgWindow(PRINTDLGORD, pd.hwndOwner, &CommDlgProc<PrintWindow>, reinterpret_cast<LPARAM>(&window));
    PrintDialogChoice choice = window.Choice();
    choice.run = run;
    choice.ok = choice.ok && run.endedByDialog && run.result == IDOK;
    return choice;
}

} // namespace zyn::afx
