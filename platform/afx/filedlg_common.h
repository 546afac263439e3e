#pragma once
// What the file and print dialogs share: CCommonDialog and the common dialogs' error
// codes (CommDlgExtendedError).
//
// Each common dialog is recorded with what the caller asked for (flags, filter, default
// extension, initial folder and file name, title) and answered, in this order, by:
//   1. the calling thread's answer script (zyn::user::AnswerScript, kinds FileDialog and
//      PrintDialog), without a window. An answer the dialog could not have given (a file
//      that must exist and does not, several files without multiple selection, a page
//      outside the allowed range) is refused with a note in the record: Cancel;
//   2. its real modal window (templates in commdlg.rc, see commdlg_window.h), when a
//      person at the display or, in scripted mode, the test's input can answer it; input
//      that runs dry ends it as Cancel (noted in the record);
//   3. otherwise (headless, no script) Cancel at once, as a person closing it would.
#include "platform/afx/dialog.h"

// CommDlgExtendedError's answers.
inline constexpr DWORD CDERR_DIALOGFAILURE = 0xFFFF, CDERR_STRUCTSIZE = 0x0001, CDERR_INITIALIZATION = 0x0002,
                       CDERR_GENERALCODES = 0x0000, PDERR_PRINTERCODES = 0x1000, PDERR_RETDEFFAILURE = 0x1009,
                       PDERR_NODEFAULTPRN = 0x1008, FNERR_FILENAMECODES = 0x3000, FNERR_SUBCLASSFAILURE = 0x3001,
                       FNERR_INVALIDFILENAME = 0x3002, FNERR_BUFFERTOOSMALL = 0x3003;

// The error of the calling thread's last common dialog: 0 after success or a cancel.
DWORD CommDlgExtendedError();

namespace zyn::afx {
void SetCommDlgError(DWORD code);
} // namespace zyn::afx

class CCommonDialog : public CDialog {
    DECLARE_DYNAMIC(CCommonDialog)
public:
    explicit CCommonDialog(CWnd* pParentWnd);
    ~CCommonDialog() override;

protected:
    // A common dialog's window (when it has one) validates nothing of ours.
    void OnOK() override;
    void OnCancel() override;
};
