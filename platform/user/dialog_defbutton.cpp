// The default push button's look. The push button the dialog manager's navigation moved
// the focus to (WM_NEXTDLGCTL, Tab, arrows, a mnemonic) looks like the default
// (BS_DEFPUSHBUTTON, which Enter then clicks) while it keeps the focus; otherwise the
// button of the dialog's default ID (DM_SETDEFID, or the template's first BS_DEFPUSHBUTTON)
// does. A focus moved by SetFocus alone (a click, a program) leaves the look where it was,
// so Enter still sends the default ID. Every other push button of the dialog looks plain.
// The dialog's own state is read, not DM_GETDEFID: its procedure hears nothing of these
// moves.
#include "platform/base/lasterror.h"
#include "platform/user/button.h"
#include "platform/user/dialog.h"
#include "platform/user/dialog_internal.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"

namespace zyn::user {
namespace {

UINT PushCode(HWND h)
{
    return static_cast<UINT>(SendMessageW(h, WM_GETDLGCODE, 0, 0)) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
}

void SetLook(HWND button, bool asDefault)
{
    const UINT code = PushCode(button);
    if (asDefault && (code & DLGC_UNDEFPUSHBUTTON))
        SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    else if (!asDefault && (code & DLGC_DEFPUSHBUTTON))
        SendMessageW(button, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
}

void RefreshDefaultLook(HWND dlg, DialogState& st)
{
    HWND look = nullptr;
    if (st.lookButton && IsWindow(st.lookButton) && GetParent(st.lookButton) == dlg && GetFocus() == st.lookButton)
        look = st.lookButton;
    else
        st.lookButton = nullptr;
    if (!look && st.defId) {
        const DWORD saved = GetLastError();
        look = GetDlgItem(dlg, static_cast<int>(st.defId));
        SetLastError(saved);
    }
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (c != look)
            SetLook(c, false);
    if (look)
        SetLook(look, true);
}

// The dialog whose push buttons `ctl` is one of, with its state.
std::shared_ptr<DialogState> DialogOf(HWND ctl, HWND& dlg)
{
    dlg = ctl ? GetParent(ctl) : nullptr;
    return dlg ? DialogStateOf(dlg) : nullptr;
}

} // namespace

void DefaultLookFollowsNavigation(HWND from, HWND to)
{
    HWND toDlg = nullptr;
    if (auto st = DialogOf(to, toDlg)) {
        st->lookButton = PushCode(to) ? to : nullptr;
        RefreshDefaultLook(toDlg, *st);
    }
    HWND fromDlg = nullptr;
    if (auto st = DialogOf(from, fromDlg); st && fromDlg != toDlg) {
        st->lookButton = nullptr;
        RefreshDefaultLook(fromDlg, *st);
    }
}

void ApplyDefaultId(HWND dlg, UINT id)
{
    auto st = EnsureDialogState(dlg);
    if (!st)
        return;
    st->defId = id;
    st->lookButton = nullptr;
    RefreshDefaultLook(dlg, *st);
}

} // namespace zyn::user
