// The common dialogs' windows: the template from the class library's resource module and
// the modal run on the dialog manager's.
#include "platform/afx/commdlg_window.h"

#include <optional>
#include <string>
#include <utility>

#include "platform/afx/filedlg_common.h"
#include "platform/base/module.h"
#include "platform/base/resource.h"
#include "platform/user/dialog_internal.h"
#include "platform/user/display.h"
#include "platform/user/modal.h"
#include "platform/user/winuser.h"

namespace zyn::afx {

bool CommDlgHasSomeoneToAsk() { return user::IsScriptedMode() || user::DisplayAttached(); }

CommDlgOutcome RunCommDlgWindow(int templateId, HWND owner, DLGPROC proc, LPARAM param)
{
    CommDlgOutcome out;
    const HMODULE module = ::GetModuleHandleW(L"ZynAfxResources");
    const HRSRC res = module ? ::FindResourceW(module, MAKEINTRESOURCEW(static_cast<uintptr_t>(templateId)), RT_DIALOG)
                             : nullptr;
    const HGLOBAL data = res ? ::LoadResource(module, res) : nullptr;
    const auto* tmpl = data ? static_cast<LPCDLGTEMPLATE>(::LockResource(data)) : nullptr;
    if (!tmpl) {
        SetCommDlgError(CDERR_DIALOGFAILURE);
        return out;
    }
    const HWND top = user::ModalOwnerOf(owner);
    const HWND dlg = ::CreateDialogIndirectParamW(module, tmpl, top, proc, param);
    if (!dlg) {
        SetCommDlgError(CDERR_DIALOGFAILURE);
        return out;
    }
    out.shown = true;
    const user::ModalOutcome run = user::RunDialogModal(dlg, top, std::nullopt, MSGF_DIALOGBOX);
    out.endedByDialog = run.endedByDialog;
    out.result = run.result;
    return out;
}

bool NoteWindowRun(const CommDlgOutcome& run, bool chose, user::ShownRecord& rec)
{
    if (!run.shown) {
        rec.note = L"the dialog's window could not be made";
        return false;
    }
    if (!run.endedByDialog) {
        rec.note = L"no input answered it: Cancel";
        return false;
    }
    rec.scripted = true;
    rec.note = L"answered by input";
    return chose;
}

BOOL RecordCommDlg(user::ShownRecord& rec, BOOL ok, std::wstring note)
{
    rec.result = ok ? IDOK : IDCANCEL;
    if (!note.empty())
        rec.note = std::move(note);
    user::AnswerScript::Record(std::move(rec));
    return ok;
}

std::wstring DlgItemText(HWND dlg, int id)
{
    const HWND ctl = ::GetDlgItem(dlg, id);
    if (!ctl)
        return {};
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(ctl)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(ctl, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace zyn::afx
