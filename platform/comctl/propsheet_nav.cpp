// The property sheet at work: changing the active page, applying, the buttons, the
// wizard's steps and the sheet's keys (rules in prsht.h).
#include <algorithm>

#include "platform/base/lasterror.h"
#include "platform/base/tchar.h"
#include "platform/comctl/propsheet_state.h"
#include "platform/comctl/tabctrl.h"
#include "platform/user/dialog_internal.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgbox.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/vkeys.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl::detail {
namespace {

HWND Item(const SheetState& st, int id)
{
    const DWORD saved = GetLastError();
    const HWND h = GetDlgItem(st.self, id);
    SetLastError(saved);
    return h;
}

bool Alive(const SheetState& st) { return IsWindow(st.self) != FALSE; }

bool Within(HWND outer, HWND h) { return h && outer && (h == outer || IsChild(outer, h)); }

// Enables or disables a control; a control that had the focus hands it on first.
void Enable(const SheetState& st, HWND h, bool on)
{
    if (!h || (IsWindowEnabled(h) != FALSE) == on)
        return;
    if (!on && GetFocus() == h) {
        if (HWND next = GetNextDlgTabItem(st.self, h, FALSE); next && next != h)
            user::SetDialogFocus(next);
    }
    EnableWindow(h, on ? TRUE : FALSE);
}

void Show(HWND h, bool on)
{
    if (h && (IsWindowVisible(h) != FALSE) != on)
        ShowWindow(h, on ? SW_SHOWNA : SW_HIDE);
}

// The page becomes the visible, active one; the focus follows it out of the old page.
void ShowPage(SheetState& st, int index, HWND oldWnd, bool fresh)
{
    auto page = st.Page(index);
    if (oldWnd == page->hwnd)
        oldWnd = nullptr;
    const HWND focus = GetFocus();
    const bool focusInOld = oldWnd && Within(oldWnd, focus);
    st.current = index;
    if (st.tab)
        SendMessageW(st.tab, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (fresh) {
        const RECT r = CurrentPageRect(st);
        SetWindowPos(page->hwnd, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
            SWP_NOACTIVATE | SWP_SHOWWINDOW);
    } else {
        SetWindowPos(page->hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    if (focusInOld) {
        HWND next = GetNextDlgTabItem(page->hwnd, nullptr, FALSE);
        if (!next || !IsWindowVisible(next) || !IsWindowEnabled(next)) {
            // A page without a tab stop: the tab control, or a wizard's default button.
            next = st.tab;
            if (st.wizard) {
                const auto def = static_cast<DWORD>(SendMessageW(st.self, DM_GETDEFID, 0, 0));
                next = HIWORD(def) == DC_HASDEFID ? Item(st, LOWORD(def)) : nullptr;
            }
        }
        if (next && IsWindowVisible(next) && IsWindowEnabled(next))
            user::SetDialogFocus(next);
    }
    if (oldWnd && IsWindow(oldWnd))
        ShowWindow(oldWnd, SW_HIDE);
    UpdateButtons(st);
}

int IndexOfTemplateId(const SheetState& st, LRESULT id)
{
    for (int i = 0; i < st.Count(); ++i)
        if (auto p = st.Page(i); p && p->templateId != 0 && p->templateId == id)
            return i;
    return -1;
}

// Pages made so far, in page order (handles: a page may leave while others are told).
std::vector<HPROPSHEETPAGE> MadePages(const SheetState& st)
{
    std::vector<HPROPSHEETPAGE> out;
    for (int i = 0; i < st.Count(); ++i)
        if (auto p = st.Page(i); p && p->hwnd)
            out.push_back(st.pages[static_cast<size_t>(i)]);
    return out;
}

bool Cancel(SheetState& st)
{
    if (auto cur = st.Page(st.current); cur && cur->hwnd) {
        const LRESULT r = NotifyPage(st, cur->hwnd, PSN_QUERYCANCEL);
        if (!Alive(st) || r != 0)
            return true;
    }
    for (HPROPSHEETPAGE h : MadePages(st)) {
        if (auto p = PageOf(h); p && p->hwnd && p->sheet == st.self)
            NotifyPage(st, p->hwnd, PSN_RESET);
        if (!Alive(st))
            return true;
    }
    EndSheet(st);
    return true;
}

// A wizard's Back or Next: the page's answer says where to (-1: stay, 0: the neighbour,
// else a page's template ID).
void WizardStep(SheetState& st, int dir)
{
    auto cur = st.Page(st.current);
    if (!cur || !cur->hwnd)
        return;
    const LRESULT r = NotifyPage(st, cur->hwnd, dir > 0 ? PSN_WIZNEXT : PSN_WIZBACK);
    if (!Alive(st) || r == -1)
        return;
    int target = st.current + dir;
    if (r != 0) {
        target = IndexOfTemplateId(st, r);
        if (target < 0)
            return;
    }
    // Going back does not validate the page it leaves.
    SetActivePage(st, target, dir > 0, dir);
}

void WizardFinish(SheetState& st)
{
    auto cur = st.Page(st.current);
    if (cur && cur->hwnd) {
        const LRESULT r = NotifyPage(st, cur->hwnd, PSN_WIZFINISH);
        if (!Alive(st) || r != 0)
            return;
    }
    st.saved = true;
    EndSheet(st);
}

} // namespace

int SheetState::IndexOfWindow(HWND h) const
{
    if (!h)
        return -1;
    for (int i = 0; i < Count(); ++i)
        if (auto p = Page(i); p && p->hwnd == h)
            return i;
    // A page whose window is being made: its window is the unknown child of this sheet.
    if (PropPage* c = PageBeingCreated(); c && !c->hwnd && GetParent(h) == self) {
        for (int i = 0; i < Count(); ++i) {
            if (Page(i).get() == c) {
                c->hwnd = h;
                return i;
            }
        }
    }
    return -1;
}

int SheetState::IndexOfHandle(HPROPSHEETPAGE h) const
{
    const auto it = std::find(pages.begin(), pages.end(), h);
    return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

LRESULT NotifyPage(const SheetState& st, HWND page, UINT code, LPARAM lParam)
{
    if (!page || !IsWindow(page))
        return 0;
    PSHNOTIFY n{};
    n.hdr.hwndFrom = st.self;
    n.hdr.idFrom = 0;
    n.hdr.code = code;
    n.lParam = lParam;
    return SendMessageW(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n));
}

bool SetActivePage(SheetState& st, int index, bool sendKill, int dir)
{
    if (index < 0 || index >= st.Count())
        return false;
    const int old = st.current;
    auto oldPage = st.Page(old);
    if (index == old && oldPage && oldPage->hwnd)
        return true;
    if (sendKill && oldPage && oldPage->hwnd) {
        const LRESULT keep = NotifyPage(st, oldPage->hwnd, PSN_KILLACTIVE);
        if (!Alive(st))
            return false;
        if (keep != 0) {
            if (st.tab)
                SendMessageW(st.tab, TCM_SETCURSEL, static_cast<WPARAM>(old), 0);
            return false;
        }
    }
    dir = dir < 0 ? -1 : 1;
    int i = index;
    // A wizard's jumps by template ID are bounded, so two pages naming each other end.
    const HWND oldWnd = oldPage ? oldPage->hwnd : nullptr;
    for (int steps = 0; i >= 0 && i < st.Count() && steps <= 2 * st.Count(); ++steps) {
        const HPROPSHEETPAGE h = st.pages[static_cast<size_t>(i)];
        auto page = st.Page(i);
        const bool had = page && page->hwnd && IsWindow(page->hwnd);
        if (page && (had || CreatePageWindow(*page, st.self, CurrentPageRect(st)))) {
            if (!Alive(st))
                return false;
            const LRESULT r = NotifyPage(st, page->hwnd, PSN_SETACTIVE);
            if (!Alive(st))
                return false;
            // (The page may have left the sheet, or others moved it, while it was told.)
            const int now = st.IndexOfHandle(h);
            if (r == 0 && now >= 0 && page->hwnd && IsWindow(page->hwnd)) {
                ShowPage(st, now, oldWnd, !had);
                return true;
            }
            if (now >= 0)
                i = now;
            if (st.wizard && r > 0) {
                const int j = IndexOfTemplateId(st, r);
                if (j >= 0 && j != i) {
                    i = j;
                    continue;
                }
            }
        }
        if (!Alive(st))
            return false;
        if (!st.wizard)
            break;
        i += dir;
    }
    // Nothing took it: the old page stays.
    if (st.tab && st.current >= 0)
        SendMessageW(st.tab, TCM_SETCURSEL, static_cast<WPARAM>(st.current), 0);
    return false;
}

void ActivateStartPage(SheetState& st)
{
    const int n = st.Count();
    if (n == 0)
        return;
    const int start = std::clamp(st.startPage, 0, n - 1);
    if (SetActivePage(st, start, false, 1) || !Alive(st))
        return;
    // The start page refused: the first page after it that accepts, then before it.
    for (int k = 1; k < n && Alive(st); ++k) {
        for (int i : {start + k, start - k})
            if (i >= 0 && i < n && SetActivePage(st, i, false, i > start ? 1 : -1))
                return;
    }
    // None accepted; a sheet shows a page all the same.
    if (auto p = st.Page(start); p && Alive(st) && (p->hwnd || CreatePageWindow(*p, st.self, CurrentPageRect(st))))
        ShowPage(st, start, nullptr, true);
}

bool ApplyAll(SheetState& st, bool ok)
{
    if (st.ended)
        return false;
    if (auto cur = st.Page(st.current); cur && cur->hwnd) {
        const LRESULT keep = NotifyPage(st, cur->hwnd, PSN_KILLACTIVE);
        if (!Alive(st) || keep != 0)
            return false;
    }
    for (HPROPSHEETPAGE h : MadePages(st)) {
        auto p = PageOf(h);
        if (!p || !p->hwnd || p->sheet != st.self)
            continue;
        const LRESULT r = NotifyPage(st, p->hwnd, PSN_APPLY, ok ? TRUE : FALSE);
        if (!Alive(st))
            return false;
        if (r == PSNRET_INVALID) {
            const int i = st.IndexOfHandle(h);
            if (i >= 0 && i != st.current)
                SetActivePage(st, i, false);
            return false;
        }
        if (r == PSNRET_INVALID_NOCHANGEPAGE)
            return false;
    }
    st.saved = true;
    for (int i = 0; i < st.Count(); ++i)
        if (auto p = st.Page(i))
            p->changed = false;
    UpdateButtons(st);
    return true;
}

void EndSheet(SheetState& st)
{
    // A child sheet is part of its parent's form: its buttons are the parent's, and it
    // stays until the parent destroys it.
    if (!st.child)
        st.ended = true;
}

void UpdateButtons(SheetState& st)
{
    if (!Alive(st))
        return;
    bool anyChanged = false;
    for (int i = 0; i < st.Count(); ++i)
        if (auto p = st.Page(i); p && p->changed)
            anyChanged = true;
    Enable(st, Item(st, IDC_PS_APPLYNOW), anyChanged);
    auto cur = st.Page(st.current);
    Enable(st, Item(st, IDHELP), cur && (cur->Psp().dwFlags & PSP_HASHELP));
    if (!st.wizard)
        return;
    Enable(st, Item(st, IDC_PS_WIZBACK), (st.wizButtons & PSWIZB_BACK) != 0);
    const bool finish = (st.wizButtons & (PSWIZB_FINISH | PSWIZB_DISABLEDFINISH)) != 0;
    const HWND next = Item(st, IDC_PS_WIZNEXT), fin = Item(st, IDC_PS_WIZFINISH);
    if (st.flags & PSH_WIZARDHASFINISH) {
        Enable(st, next, (st.wizButtons & PSWIZB_NEXT) != 0);
        Enable(st, fin, (st.wizButtons & PSWIZB_FINISH) != 0);
        return;
    }
    // Finish takes Next's place; the focus and the default look go with it.
    const bool focusOnSwap = GetFocus() == (finish ? next : fin);
    Enable(st, fin, (st.wizButtons & PSWIZB_FINISH) != 0);
    Show(fin, finish);
    Enable(st, next, !finish && (st.wizButtons & PSWIZB_NEXT) != 0);
    Show(next, !finish);
    SendMessageW(st.self, DM_SETDEFID, static_cast<WPARAM>(finish ? IDC_PS_WIZFINISH : IDC_PS_WIZNEXT), 0);
    if (focusOnSwap) {
        if (HWND to = finish ? fin : next; IsWindowEnabled(to))
            user::SetDialogFocus(to);
    }
}

bool OnSheetCommand(SheetState& st, int id)
{
    switch (id) {
    case IDOK:
        if (!st.wizard && ApplyAll(st, true) && Alive(st))
            EndSheet(st);
        return true;
    case IDCANCEL:
        return Cancel(st);
    case IDC_PS_APPLYNOW:
        if (!st.wizard)
            ApplyAll(st, false);
        return true;
    case IDHELP:
        if (auto cur = st.Page(st.current); cur && cur->hwnd)
            NotifyPage(st, cur->hwnd, PSN_HELP);
        return true;
    case IDC_PS_WIZBACK:
        if (st.wizard)
            WizardStep(st, -1);
        return true;
    case IDC_PS_WIZNEXT:
        if (st.wizard)
            WizardStep(st, 1);
        return true;
    case IDC_PS_WIZFINISH:
        if (st.wizard)
            WizardFinish(st);
        return true;
    default:
        return false;
    }
}

BOOL SheetDialogMessage(SheetState& st, MSG& msg, bool callFilter)
{
    if (!Alive(st) || !Within(st.self, msg.hwnd))
        return FALSE;
    if (callFilter && CallMsgFilterW(&msg, MSGF_DIALOGBOX))
        return TRUE;
    if (msg.message == WM_KEYDOWN && !st.wizard && (GetKeyState(VK_CONTROL) & 0x8000)) {
        int dir = 0;
        switch (static_cast<int>(msg.wParam)) {
        case VK_TAB: dir = (GetKeyState(VK_SHIFT) & 0x8000) ? -1 : 1; break;
        case VK_NEXT: dir = 1; break;
        case VK_PRIOR: dir = -1; break;
        default: break;
        }
        if (dir != 0) {
            const int n = st.Count();
            if (n > 1)
                SetActivePage(st, ((st.current < 0 ? 0 : st.current) + dir + n) % n, true, dir);
            return TRUE;
        }
    }
    return user::IsDialogMessageImpl(st.self, msg, false);
}

} // namespace zyn::comctl::detail
