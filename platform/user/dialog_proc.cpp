// The "#32770" class, DefDlgProc, the dialog's state, its font and dialog units.
#include <algorithm>

#include "platform/base/lasterror.h"
#include "platform/base/tchar.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/button.h"
#include "platform/user/dialog.h"
#include "platform/user/dialog_internal.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/static.h"
#include "platform/user/styles.h"
#include "platform/user/user_hooks.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/wnd_internal.h"
#include "platform/user/wndclass_internal.h"

namespace zyn::user {

DialogState::~DialogState()
{
    if (ownedFont)
        DeleteObject(ownedFont);
}

namespace {

// Whether a window has the bytes a dialog keeps DWLP_* values in.
bool HasDialogBytes(HWND hwnd)
{
    auto w = PeekWnd(hwnd);
    if (!w)
        return false;
    auto lock = LockUser();
    return w->extra.size() >= static_cast<size_t>(DWLP_USER) + sizeof(LONG_PTR);
}

DLGPROC DialogProcOf(HWND hwnd)
{
    if (!HasDialogBytes(hwnd))
        return nullptr;
    return reinterpret_cast<DLGPROC>(GetWindowLongPtrW(hwnd, DWLP_DLGPROC));
}

// Messages whose answer the dialog procedure returns itself instead of through
// DWLP_MSGRESULT.
bool AnswersDirectly(UINT msg)
{
    switch (msg) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

// Whether `ctl` is a visible, enabled descendant of `dlg` as far as `dlg` (whose own
// state does not count: a hidden dialog still knows where its focus belongs).
bool UsableInside(HWND dlg, HWND ctl)
{
    auto d = PeekWnd(dlg);
    auto c = PeekWnd(ctl);
    if (!d || !c || d == c)
        return false;
    auto lock = LockUser();
    if (!IsAncestorOf(d.get(), c.get()))
        return false;
    for (Window* p = c.get(); p && p != d.get(); p = p->parent)
        if (!(p->style & WS_VISIBLE) || (p->style & WS_DISABLED))
            return false;
    return true;
}

bool FocusInside(HWND dlg)
{
    const HWND f = GetFocus();
    return f && f != dlg && IsChild(dlg, f);
}

void SaveFocus(HWND dlg, DialogState& st)
{
    const HWND f = GetFocus();
    if (f && f != dlg && IsChild(dlg, f))
        st.savedFocus = f;
}

// Gives the focus back to the saved control, else to the first tab stop; with neither,
// the dialog keeps it (`orSelf`: takes it).
void RestoreFocus(HWND dlg, DialogState& st, bool orSelf)
{
    if (FocusInside(dlg))
        return;
    HWND target = UsableInside(dlg, st.savedFocus) ? st.savedFocus : nullptr;
    if (!target) {
        const HWND first = GetNextDlgTabItem(dlg, nullptr, FALSE);
        if (first && UsableInside(dlg, first))
            target = first;
    }
    if (target)
        SetFocus(target);
    else if (orSelf && GetFocus() != dlg)
        SetFocus(dlg);
}

LRESULT OnNextDlgCtl(HWND dlg, WPARAM wp, LPARAM lp)
{
    HWND target;
    if (LOWORD(static_cast<uintptr_t>(lp))) {
        target = reinterpret_cast<HWND>(wp);
    } else {
        HWND focus = GetFocus();
        if (focus && focus != dlg && !IsChild(dlg, focus))
            focus = nullptr;
        target = GetNextDlgTabItem(dlg, focus == dlg ? nullptr : focus, wp ? TRUE : FALSE);
    }
    if (target && IsWindow(target) && (target == dlg || IsChild(dlg, target)))
        NavigateDialogFocus(target);
    return 0;
}

// Moves a top-level dialog back inside the work area.
void Reposition(HWND dlg)
{
    if (GetWindowLongPtrW(dlg, GWL_STYLE) & WS_CHILD)
        return;
    RECT r, work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    GetWindowRect(dlg, &r);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int x = r.left, y = r.top;
    x = std::max<int>(work.left, std::min<int>(x, work.right - (r.right - r.left)));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - (r.bottom - r.top)));
    if (x != r.left || y != r.top)
        SetWindowPos(dlg, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT DefaultProcessing(HWND dlg, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_ERASEBKGND: {
        const auto hdc = reinterpret_cast<HDC>(wp);
        if (!hdc)
            return 0;
        auto brush = reinterpret_cast<HBRUSH>(SendMessageW(dlg, WM_CTLCOLORDLG, wp, reinterpret_cast<LPARAM>(dlg)));
        if (!brush)
            brush = reinterpret_cast<HBRUSH>(DefWindowProcW(dlg, WM_CTLCOLORDLG, wp, reinterpret_cast<LPARAM>(dlg)));
        RECT rc;
        GetClientRect(dlg, &rc);
        FillRect(hdc, &rc, brush);
        return TRUE;
    }
    case WM_SHOWWINDOW:
        if (!wp)
            if (auto st = EnsureDialogState(dlg))
                SaveFocus(dlg, *st);
        return DefWindowProcW(dlg, msg, wp, lp);
    case WM_ACTIVATE: {
        auto st = EnsureDialogState(dlg);
        if (!st)
            return 0;
        if (LOWORD(wp) == WA_INACTIVE)
            SaveFocus(dlg, *st);
        else if (!IsIconic(dlg))
            RestoreFocus(dlg, *st, true);
        return 0;
    }
    case WM_SETFOCUS:
        if (auto st = EnsureDialogState(dlg))
            RestoreFocus(dlg, *st, false);
        return 0;
    case WM_CLOSE: {
        // As a click on Cancel, which the procedure decides about; a disabled Cancel
        // refuses.
        const HWND cancel = GetDlgItem(dlg, IDCANCEL);
        if (cancel && !IsWindowEnabled(cancel)) {
            MessageBeep(0);
            return 0;
        }
        PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
        return 0;
    }
    case WM_NEXTDLGCTL:
        return OnNextDlgCtl(dlg, wp, lp);
    case DM_GETDEFID: {
        auto st = EnsureDialogState(dlg);
        return st && st->defId ? MAKELRESULT(static_cast<WORD>(st->defId), DC_HASDEFID) : 0;
    }
    case DM_SETDEFID:
        ApplyDefaultId(dlg, static_cast<UINT>(wp));
        return TRUE;
    case DM_REPOSITION:
        Reposition(dlg);
        return 0;
    case WM_SETFONT:
        if (auto st = EnsureDialogState(dlg))
            st->font = reinterpret_cast<HFONT>(wp);
        return 0;
    case WM_GETFONT: {
        auto st = EnsureDialogState(dlg);
        return st ? reinterpret_cast<LRESULT>(st->font) : 0;
    }
    default:
        return DefWindowProcW(dlg, msg, wp, lp);
    }
}

const wchar_t* const kDialogClass = L"#32770";

} // namespace

std::shared_ptr<DialogState> DialogStateOf(HWND dlg) { return ControlStateOf<DialogState>(dlg); }

std::shared_ptr<DialogState> EnsureDialogState(HWND dlg)
{
    if (auto st = DialogStateOf(dlg))
        return st;
    if (!IsWindow(dlg) || ControlStateRaw(dlg))
        return nullptr; // a window of another kind calling DefDlgProc
    auto st = std::make_shared<DialogState>();
    const SIZE units = DialogBaseUnitsOf(nullptr);
    st->baseX = units.cx;
    st->baseY = units.cy;
    SetControlState(dlg, st);
    return DialogStateOf(dlg);
}

SIZE DialogBaseUnitsOf(HFONT font)
{
    static const wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    HDC dc = GetDC(nullptr);
    if (!dc)
        return SIZE{8, 16};
    SIZE out{8, 16};
    {
        DcSelection sel(dc, FontOrSystem(font));
        TEXTMETRICW tm{};
        SIZE ext{};
        if (GetTextMetricsW(dc, &tm) && GetTextExtentPoint32W(dc, kLetters, 52, &ext)) {
            out.cx = std::max<LONG>(1, (ext.cx / 26 + 1) / 2);
            out.cy = std::max<LONG>(1, tm.tmHeight);
        }
    }
    ReleaseDC(nullptr, dc);
    return out;
}

void SetDialogFont(HWND dlg, HFONT font, bool owned)
{
    auto st = EnsureDialogState(dlg);
    if (!st) {
        if (owned && font)
            DeleteObject(font);
        return;
    }
    if (owned) {
        if (st->ownedFont && st->ownedFont != font)
            DeleteObject(st->ownedFont);
        st->ownedFont = font;
    }
    st->font = font;
    const SIZE units = DialogBaseUnitsOf(font);
    st->baseX = units.cx;
    st->baseY = units.cy;
}

void EnsureDialogClasses()
{
    if (!FindSystemClass(kDialogClass)) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS | CS_SAVEBITS;
        wc.lpfnWndProc = DefDlgProcW;
        wc.cbWndExtra = DLGWINDOWEXTRA;
        wc.lpszClassName = kDialogClass;
        RegisterSystemClass(wc);
    }
    EnsureButtonClass();
    EnsureStaticClass();
}

} // namespace zyn::user

using namespace zyn::user;

LRESULT DefDlgProcW(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (!IsWindow(hDlg))
        return 0;
    if (DLGPROC proc = DialogProcOf(hDlg)) {
        SetWindowLongPtrW(hDlg, DWLP_MSGRESULT, 0);
        const INT_PTR handled = proc(hDlg, Msg, wParam, lParam);
        if (!IsWindow(hDlg))
            return AnswersDirectly(Msg) ? handled : 0;
        if (handled)
            return AnswersDirectly(Msg) ? handled : GetWindowLongPtrW(hDlg, DWLP_MSGRESULT);
    }
    return DefaultProcessing(hDlg, Msg, wParam, lParam);
}

LRESULT DefDlgProc(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return DefDlgProcW(hDlg, Msg, wParam, lParam);
}

BOOL MapDialogRect(HWND hDlg, LPRECT lpRect)
{
    if (!lpRect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!IsWindow(hDlg))
        return FALSE;
    auto st = DialogStateOf(hDlg);
    if (!st) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    lpRect->left = MulDiv(lpRect->left, st->baseX, 4);
    lpRect->right = MulDiv(lpRect->right, st->baseX, 4);
    lpRect->top = MulDiv(lpRect->top, st->baseY, 8);
    lpRect->bottom = MulDiv(lpRect->bottom, st->baseY, 8);
    return TRUE;
}

LONG GetDialogBaseUnits()
{
    const SIZE u = DialogBaseUnitsOf(nullptr);
    return MAKELONG(static_cast<WORD>(u.cx), static_cast<WORD>(u.cy));
}
