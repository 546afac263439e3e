// The default push button's look: while the focus is on a push button of a dialog, that
// button looks like the default (BS_DEFPUSHBUTTON, which Enter then clicks); otherwise the
// button of the dialog's default ID (DM_GETDEFID) does. Every other push button of the
// dialog looks plain. Push buttons report their focus changes here; DM_SETDEFID does too.
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

void RefreshDefaultLook(HWND dlg)
{
    HWND look = nullptr;
    const HWND focus = GetFocus();
    if (focus && GetParent(focus) == dlg && PushCode(focus))
        look = focus;
    if (!look) {
        const LRESULT def = SendMessageW(dlg, DM_GETDEFID, 0, 0);
        if (HIWORD(static_cast<uintptr_t>(def)) == DC_HASDEFID) {
            const DWORD saved = GetLastError();
            look = GetDlgItem(dlg, LOWORD(static_cast<uintptr_t>(def)));
            SetLastError(saved);
        }
    }
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (c != look)
            SetLook(c, false);
    if (look)
        SetLook(look, true);
}

} // namespace

void PushButtonFocusChanged(HWND button)
{
    const HWND dlg = GetParent(button);
    if (!dlg || !DialogStateOf(dlg))
        return; // only a dialog's buttons change their look with the focus
    RefreshDefaultLook(dlg);
}

void ApplyDefaultId(HWND dlg, UINT id)
{
    auto st = EnsureDialogState(dlg);
    if (!st)
        return;
    st->defId = id;
    RefreshDefaultLook(dlg);
}

} // namespace zyn::user
