// The dialog manager's keyboard interface and tab order.
//
// Tab order: the controls of a dialog in z-order (creation order). A child with
// WS_EX_CONTROLPARENT (a DS_CONTROL page, a sheet, a composite component) is not a stop
// itself: while it is visible and enabled its own controls take its place, recursively,
// so Tab walks view -> sheet -> page -> component and back out. A stop is a control with
// WS_TABSTOP that is visible and enabled together with every container up to the
// dialog. A group runs from a control with WS_GROUP to the next one among the same
// parent's children; arrows move within it (wrapping) over visible, enabled controls.
//
// IsDialogMessage(dlg, msg) takes messages for dlg and its descendants (FALSE for any
// other). It first offers the message to WH_MSGFILTER (MSGF_DIALOGBOX), then asks the
// message's window WM_GETDLGCODE (wParam the key, lParam the MSG):
//   DLGC_WANTMESSAGE            the control gets the message as it is
//   Tab, Shift+Tab              WM_NEXTDLGCTL (0 / 1) to a dialog, so its procedure sees
//                               the move; another window's next / previous stop takes the
//                               focus directly; unless DLGC_WANTTAB
//   arrows                      next (right, down) / previous (left, up) control of the
//                               group, unless DLGC_WANTARROWS; a radio button reached
//                               this way is clicked (BM_CLICK)
//   Enter                       WM_COMMAND BN_CLICKED for the focused button when it looks
//                               like the default (DLGC_DEFPUSHBUTTON; to its parent), else
//                               for DM_GETDEFID's button, else IDOK; nothing but a beep
//                               when that button is disabled
//   Escape                      WM_COMMAND IDCANCEL (nothing when the Cancel control is
//                               disabled)
//   WM_SYSCHAR (Alt+key)        the mnemonic, when a label has it
//   WM_CHAR                     the mnemonic without Alt, unless DLGC_WANTCHARS
// and otherwise translates and dispatches the message itself; it answers TRUE for every
// message it took. A mnemonic belongs to a button or a static label ('&' before the
// letter, no SS_NOPREFIX); the search starts after the focus and wraps. A single match
// acts: a push button is clicked, a check box or radio button is focused and clicked, a
// static or group box passes the focus to the next control that takes input. Several
// matches only move the focus to the next one, so repeated presses cycle.
// Focus moves through NavigateDialogFocus: an edit-like control (DLGC_HASSETSEL) gets its
// whole text selected (EM_SETSEL 0, -1) and the default look moves with the focus.
#include <algorithm>

#include "platform/base/lasterror.h"
#include "platform/user/button.h"
#include "platform/user/dialog.h"
#include "platform/user/dialog_internal.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/static.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/wnd_internal.h"

namespace zyn::user {
namespace {

constexpr UINT kEmSetSel = 0x00B1;

DWORD StyleOf(HWND h) { return static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE)); }
DWORD ExStyleOf(HWND h) { return static_cast<DWORD>(GetWindowLongPtrW(h, GWL_EXSTYLE)); }

UINT DlgCode(HWND h, WPARAM wp = 0, const MSG* m = nullptr)
{
    return static_cast<UINT>(SendMessageW(h, WM_GETDLGCODE, wp, reinterpret_cast<LPARAM>(m)));
}

// Visible and enabled, together with every ancestor below `dlg`.
bool Usable(HWND dlg, HWND ctl)
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

void Flatten(HWND parent, std::vector<TabEntry>& out, int depth)
{
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if ((ExStyleOf(c) & WS_EX_CONTROLPARENT) && depth < 64) {
            out.push_back(TabEntry{c, true});
            const DWORD s = StyleOf(c);
            if ((s & WS_VISIBLE) && !(s & WS_DISABLED))
                Flatten(c, out, depth + 1);
        } else {
            out.push_back(TabEntry{c, false});
        }
    }
}

// The index of `h` (or of its nearest ancestor in the list); -1 when neither is there.
int IndexIn(const std::vector<TabEntry>& list, HWND dlg, HWND h)
{
    for (HWND w = h; w && w != dlg; w = GetParent(w)) {
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i].hwnd == w)
                return static_cast<int>(i);
        if (!(StyleOf(w) & WS_CHILD))
            break;
    }
    return -1;
}

bool IsStop(HWND dlg, const TabEntry& e)
{
    return !e.container && (StyleOf(e.hwnd) & WS_TABSTOP) && Usable(dlg, e.hwnd);
}

bool IsPush(UINT code) { return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0; }

bool HasMnemonic(HWND ctl, wchar_t upper)
{
    const UINT code = DlgCode(ctl);
    if (!(code & (DLGC_BUTTON | DLGC_STATIC)))
        return false;
    if (code & DLGC_STATIC) {
        wchar_t cls[16] = {};
        GetClassNameW(ctl, cls, 16);
        const DWORD s = StyleOf(ctl);
        if (std::wstring_view(cls) == L"Static") {
            const DWORD type = s & SS_TYPEMASK;
            const bool text = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE ||
                type == SS_LEFTNOWORDWRAP;
            if (!text || (s & SS_NOPREFIX))
                return false;
        }
    }
    return MnemonicOf(WindowTextOf(ctl)) == upper;
}

// The control after a label that takes input (a static or group box passes its mnemonic
// on to it).
HWND NextInputControl(HWND dlg, const std::vector<TabEntry>& list, int from)
{
    const int n = static_cast<int>(list.size());
    for (int k = 1; k < n; ++k) {
        const TabEntry& e = list[static_cast<size_t>((from + k) % n)];
        if (e.container || !Usable(dlg, e.hwnd))
            continue;
        if (DlgCode(e.hwnd) & DLGC_STATIC)
            continue;
        return e.hwnd;
    }
    return nullptr;
}

bool Mnemonic(HWND dlg, wchar_t ch)
{
    const wchar_t upper = MnemonicOf(std::wstring{L'&', ch});
    if (!upper)
        return false;
    const auto list = FlattenControls(dlg);
    const int n = static_cast<int>(list.size());
    if (n == 0)
        return false;
    const int from = IndexIn(list, dlg, GetFocus());
    std::vector<int> hits;
    for (int k = 1; k <= n; ++k) {
        const int i = ((from < 0 ? -1 : from) + k + n) % n;
        const TabEntry& e = list[static_cast<size_t>(i)];
        if (e.container || !Usable(dlg, e.hwnd))
            continue;
        if (HasMnemonic(e.hwnd, upper))
            hits.push_back(i);
    }
    if (hits.empty())
        return false;
    const HWND target = list[static_cast<size_t>(hits.front())].hwnd;
    const UINT code = DlgCode(target);
    if (code & DLGC_STATIC) {
        if (HWND next = NextInputControl(dlg, list, hits.front()))
            NavigateDialogFocus(next);
        return true;
    }
    if (hits.size() > 1) {
        NavigateDialogFocus(target);
        return true;
    }
    if (!IsPush(code))
        NavigateDialogFocus(target);
    SendMessageW(target, BM_CLICK, 0, 0);
    return true;
}

void OnEnter(HWND dlg, HWND focus)
{
    HWND target = nullptr;
    HWND notify = dlg;
    WORD id = IDOK;
    if (focus && focus != dlg && (DlgCode(focus) & DLGC_DEFPUSHBUTTON)) {
        target = focus;
        id = static_cast<WORD>(GetDlgCtrlID(focus));
        notify = GetParent(focus);
    } else {
        const LRESULT def = SendMessageW(dlg, DM_GETDEFID, 0, 0);
        if (HIWORD(static_cast<uintptr_t>(def)) == DC_HASDEFID)
            id = LOWORD(static_cast<uintptr_t>(def));
        const DWORD saved = GetLastError();
        target = GetDlgItem(dlg, id);
        SetLastError(saved);
    }
    if (target && !IsWindowEnabled(target)) {
        MessageBeep(0);
        return;
    }
    SendMessageW(notify, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(target));
}

void OnEscape(HWND dlg)
{
    const DWORD saved = GetLastError();
    const HWND cancel = GetDlgItem(dlg, IDCANCEL);
    SetLastError(saved);
    if (cancel && !IsWindowEnabled(cancel))
        return;
    SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
}

void OnArrow(HWND dlg, HWND focus, bool previous)
{
    if (!focus || focus == dlg)
        return;
    const HWND next = GetNextDlgGroupItem(dlg, focus, previous ? TRUE : FALSE);
    if (!next || next == focus)
        return;
    NavigateDialogFocus(next);
    if (DlgCode(next) & DLGC_RADIOBUTTON)
        SendMessageW(next, BM_CLICK, 0, 0);
}

void Deliver(MSG& msg)
{
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

} // namespace

std::vector<TabEntry> FlattenControls(HWND dlg)
{
    std::vector<TabEntry> out;
    if (IsWindow(dlg))
        Flatten(dlg, out, 0);
    return out;
}

void SetDialogFocus(HWND ctl)
{
    if (!IsWindow(ctl))
        return;
    const UINT code = DlgCode(ctl);
    SetFocus(ctl);
    if ((code & DLGC_HASSETSEL) && GetFocus() == ctl)
        SendMessageW(ctl, kEmSetSel, 0, -1);
}

void NavigateDialogFocus(HWND ctl)
{
    const HWND from = GetFocus();
    SetDialogFocus(ctl);
    if (IsWindow(ctl) && GetFocus() == ctl)
        DefaultLookFollowsNavigation(from, ctl);
}

BOOL IsDialogMessageImpl(HWND dlg, MSG& msg, bool callFilter)
{
    if (!dlg || !IsWindow(dlg) || !msg.hwnd || (msg.hwnd != dlg && !IsChild(dlg, msg.hwnd)))
        return FALSE;
    if (callFilter && CallMsgFilterW(&msg, MSGF_DIALOGBOX))
        return TRUE;
    const UINT m = msg.message;
    if (m != WM_KEYDOWN && m != WM_CHAR && m != WM_SYSCHAR) {
        Deliver(msg);
        return TRUE;
    }
    const UINT code = DlgCode(msg.hwnd, msg.wParam, &msg);
    if (code & DLGC_WANTMESSAGE) {
        Deliver(msg);
        return TRUE;
    }
    const HWND focus = GetFocus() && (GetFocus() == dlg || IsChild(dlg, GetFocus())) ? GetFocus() : nullptr;
    if (m == WM_KEYDOWN) {
        switch (static_cast<int>(msg.wParam)) {
        case VK_TAB:
        {
            if (code & DLGC_WANTTAB)
                break;
            const BOOL back = (GetKeyState(VK_SHIFT) & 0x8000) ? TRUE : FALSE;
            if (DialogStateOf(dlg))
                SendMessageW(dlg, WM_NEXTDLGCTL, static_cast<WPARAM>(back), FALSE);
            else if (HWND next = GetNextDlgTabItem(dlg, focus == dlg ? nullptr : focus, back))
                NavigateDialogFocus(next);
            return TRUE;
        }
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            if (code & DLGC_WANTARROWS)
                break;
            OnArrow(dlg, focus, msg.wParam == static_cast<WPARAM>(VK_LEFT) || msg.wParam == static_cast<WPARAM>(VK_UP));
            return TRUE;
        case VK_RETURN:
            OnEnter(dlg, focus);
            return TRUE;
        case VK_ESCAPE:
            OnEscape(dlg);
            return TRUE;
        default:
            break;
        }
        Deliver(msg);
        return TRUE;
    }
    if (m == WM_CHAR && (code & DLGC_WANTCHARS)) {
        Deliver(msg);
        return TRUE;
    }
    const auto ch = static_cast<wchar_t>(msg.wParam);
    if (ch > L' ' && Mnemonic(dlg, ch))
        return TRUE;
    Deliver(msg);
    return TRUE;
}

} // namespace zyn::user

using namespace zyn::user;

BOOL IsDialogMessageW(HWND hDlg, LPMSG lpMsg)
{
    if (!lpMsg)
        return FALSE;
    return IsDialogMessageImpl(hDlg, *lpMsg, true);
}

BOOL IsDialogMessage(HWND hDlg, LPMSG lpMsg) { return IsDialogMessageW(hDlg, lpMsg); }

HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious)
{
    if (!IsWindow(hDlg))
        return nullptr;
    const auto list = FlattenControls(hDlg);
    const int n = static_cast<int>(list.size());
    if (n == 0)
        return nullptr;
    const int at = (hCtl && hCtl != hDlg) ? IndexIn(list, hDlg, hCtl) : -1;
    const int step = bPrevious ? -1 : 1;
    // From nothing, the search starts just outside the list, so it finds the first (or the
    // last) stop.
    const int start = at >= 0 ? at : (bPrevious ? n : -1);
    for (int k = 1; k <= n; ++k) {
        const int i = ((start + step * k) % n + n) % n;
        if (IsStop(hDlg, list[static_cast<size_t>(i)]))
            return list[static_cast<size_t>(i)].hwnd;
    }
    return at >= 0 ? hCtl : nullptr;
}

HWND GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious)
{
    if (!IsWindow(hDlg))
        return nullptr;
    if (!hCtl || hCtl == hDlg || !IsChild(hDlg, hCtl))
        hCtl = GetWindow(hDlg, GW_CHILD);
    if (!hCtl)
        return nullptr;
    const HWND parent = GetParent(hCtl);
    std::vector<HWND> sibs;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        sibs.push_back(c);
    const auto it = std::find(sibs.begin(), sibs.end(), hCtl);
    if (it == sibs.end())
        return hCtl;
    const int at = static_cast<int>(it - sibs.begin());
    int first = at;
    while (first > 0 && !(StyleOf(sibs[static_cast<size_t>(first)]) & WS_GROUP))
        --first;
    int end = at + 1;
    while (end < static_cast<int>(sibs.size()) && !(StyleOf(sibs[static_cast<size_t>(end)]) & WS_GROUP))
        ++end;
    const int size = end - first;
    const int step = bPrevious ? -1 : 1;
    for (int k = 1; k < size; ++k) {
        const int i = first + ((at - first + step * k) % size + size) % size;
        if (Usable(hDlg, sibs[static_cast<size_t>(i)]))
            return sibs[static_cast<size_t>(i)];
    }
    return hCtl;
}
