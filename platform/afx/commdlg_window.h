#pragma once
// The file and print dialogs' windows: who is there to answer one, and its modal run.
//
// A common dialog that the answer script did not answer is shown as a real modal dialog
// made from its template (commdlg.rc, in the resource module "ZynAfxResources") when
// somebody can answer it: a person at the display, or in scripted mode the test's input
// (keys, clicks, idle actions), which ends it as a cancel when it runs dry. Headless with
// no script nobody can, and the dialog answers Cancel without a window, as a message box
// takes its default button.
#include <string>

#include "platform/base/wintypes.h"
#include "platform/user/dialog.h"
#include "platform/user/modal.h"
#include "platform/user/messages.h"
#include "platform/user/msgbox.h"
#include "platform/user/window.h"

namespace zyn::afx {

bool CommDlgHasSomeoneToAsk();

struct CommDlgOutcome {
    bool shown = false;          // the window was made and run
    bool endedByDialog = false;  // EndDialog gave the result (not input running dry)
    INT_PTR result = IDCANCEL;
};

// Creates the template `templateId` of the resource module with `proc` (WM_INITDIALOG gets
// `param`), owned by the top-level window of `owner`, and runs it modally: the owner is
// disabled until it ends, and the window is destroyed before this returns. Not shown (the
// common dialog's error is then CDERR_DIALOGFAILURE) when the template or the window
// cannot be made.
CommDlgOutcome RunCommDlgWindow(int templateId, HWND owner, DLGPROC proc, LPARAM param);

// The procedure of a dialog served by an object of T, given in WM_INITDIALOG's lParam:
// T::Init(dlg) answers WM_INITDIALOG, T::Command(id, code) handles WM_COMMAND.
template <class T>
INT_PTR CommDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dlg, DWLP_USER, lp);
        return reinterpret_cast<T*>(lp)->Init(dlg);
    }
    auto* self = reinterpret_cast<T*>(::GetWindowLongPtrW(dlg, DWLP_USER));
    if (!self || msg != WM_COMMAND)
        return FALSE;
    self->Command(LOWORD(wp), HIWORD(wp));
    return TRUE;
}

// Notes in the record how a window run ended: not made, input run dry, or answered by
// input (then `scripted`). True when it ended with the person's choice (`chose`: OK).
bool NoteWindowRun(const CommDlgOutcome& run, bool chose, user::ShownRecord& rec);

// Records a common dialog with its result (IDOK for `ok`, else IDCANCEL) and, when given,
// the note; hands `ok` back.
BOOL RecordCommDlg(user::ShownRecord& rec, BOOL ok, std::wstring note);

// The text of a dialog's control.
std::wstring DlgItemText(HWND dlg, int id);

} // namespace zyn::afx
