// A combo box's behaviour: dropping and closing its list, keys, the mouse, focus, and what
// its edit and list report.
#include <algorithm>

#include "platform/gdi/sysmetrics.h"
#include "platform/user/combobox.h"
#include "platform/user/combobox_internal.h"
#include "platform/user/combobox_state.h"
#include "platform/user/dialog.h"
#include "platform/user/edit.h"
#include "platform/user/edit_internal.h"
#include "platform/user/input.h"
#include "platform/user/listbox.h"
#include "platform/user/listbox_internal.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::user::ctl {
namespace {

// The dropped list's height: its items, up to CB_SETMINVISIBLE's count (at least one
// item's room), inside its border; with CBS_NOINTEGRALHEIGHT the height the combo box was
// given.
int DroppedHeight(const ComboState& s)
{
    if (s.style & CBS_NOINTEGRALHEIGHT)
        return s.listHeight;
    const int count = static_cast<int>(SendMessageW(s.list, LB_GETCOUNT, 0, 0));
    const int shown = std::clamp(count, 1, s.minVisible);
    int height = 0;
    for (int i = 0; i < shown; ++i) {
        const LRESULT h = SendMessageW(s.list, LB_GETITEMHEIGHT, static_cast<WPARAM>(i < count ? i : 0), 0);
        height += h > 0 ? static_cast<int>(h) : s.fi.height;
    }
    return height + 2 * GetSystemMetrics(SM_CYBORDER);
}

// Where the dropped list goes: below the combo box, or above it when it does not fit in
// the work area below but does above; when neither fits, on the roomier side, shortened.
RECT PlaceList(const ComboState& s)
{
    RECT wr{};
    GetWindowRect(s.hwnd, &wr);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (GetMonitorInfoW(MonitorFromWindow(s.hwnd, MONITOR_DEFAULTTONEAREST), &mi))
        work = mi.rcWork;
    const int width = std::max<int>(wr.right - wr.left, s.droppedWidth);
    int height = DroppedHeight(s);
    const int below = work.bottom - wr.bottom, above = wr.top - work.top;
    int y;
    if (height <= below) {
        y = wr.bottom;
    } else if (height <= above) {
        y = wr.top - height;
    } else if (below >= above) {
        height = std::max(0, below);
        y = wr.bottom;
    } else {
        height = std::max(0, above);
        y = wr.top - height;
    }
    int x = wr.left;
    if (x + width > work.right)
        x = std::max<int>(work.left, work.right - width);
    return RECT{x, y, x + width, y + height};
}

bool Alive(const ComboState& s) { return IsWindow(s.hwnd) != FALSE; }

// Moves the list's selection by a navigation key, as the list itself would.
bool NavigationKey(ComboState& s, WPARAM vk)
{
    switch (static_cast<int>(vk)) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: break;
    case VK_HOME:
    case VK_END:
    case VK_LEFT:
    case VK_RIGHT:
        if (!s.DropList() && !s.dropped)
            return false; // the edit's caret keys
        if (vk == VK_LEFT || vk == VK_RIGHT)
            vk = vk == VK_LEFT ? VK_UP : VK_DOWN;
        break;
    default: return false;
    }
    if (s.extendedUI && !s.dropped && vk == VK_DOWN) {
        OpenList(s, false);
        return true;
    }
    SendMessageW(s.list, WM_KEYDOWN, vk, 0);
    return true;
}

} // namespace

void OpenList(ComboState& s, bool byMouse)
{
    if (s.dropped || s.Simple())
        return;
    Notify(s.hwnd, CBN_DROPDOWN);
    if (!Alive(s) || s.dropped)
        return;
    s.selAtDrop = s.selOnOpen = CurSel(s);
    const RECT r = PlaceList(s);
    SetWindowPos(s.list, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
        SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (auto l = ListOf(s.list)) {
        SetCaret(*l, s.selAtDrop);
        ShowItem(*l, s.selAtDrop);
    }
    s.dropped = true;
    ListSetDropped(s.list, true, byMouse);
    SetCapture(s.list);
    InvalidateCombo(s);
    UpdateWindow(s.list);
}

void CloseList(ComboState& s, CloseHow how)
{
    if (!s.dropped)
        return;
    if (how == CloseHow::Toggle)
        how = CurSel(s) != s.selOnOpen ? CloseHow::Accept : CloseHow::Cancel;
    if (how == CloseHow::Accept) {
        ShowSelection(s, false); // text typed that names no item is kept
        Notify(s.hwnd, CBN_SELENDOK);
    } else if (how == CloseHow::Cancel) {
        SendMessageW(s.list, LB_SETCURSEL, static_cast<WPARAM>(s.selAtDrop), 0);
        Notify(s.hwnd, CBN_SELENDCANCEL);
    }
    if (!Alive(s))
        return;
    const int before = s.selAtDrop;
    s.dropped = false;
    ListSetDropped(s.list, false, false);
    if (GetCapture() == s.list)
        ReleaseCapture();
    ShowWindow(s.list, SW_HIDE);
    InvalidateCombo(s);
    Notify(s.hwnd, CBN_CLOSEUP);
    if (how == CloseHow::Accept && Alive(s) && CurSel(s) != before)
        Notify(s.hwnd, CBN_SELCHANGE);
}

bool ComboKey(ComboState& s, UINT msg, WPARAM vk)
{
    if (msg == WM_SYSKEYDOWN) {
        if (vk != static_cast<WPARAM>(VK_DOWN) && vk != static_cast<WPARAM>(VK_UP))
            return false;
        if (s.Simple())
            return true;
        if (s.dropped)
            CloseList(s, CloseHow::Toggle);
        else
            OpenList(s, false);
        return true;
    }
    if (msg != WM_KEYDOWN)
        return false;
    switch (static_cast<int>(vk)) {
    case VK_F4:
        if (s.Simple() || s.extendedUI)
            return s.extendedUI;
        if (s.dropped)
            CloseList(s, CloseHow::Toggle);
        else
            OpenList(s, false);
        return true;
    case VK_RETURN:
        if (!s.dropped)
            return false;
        CloseList(s, CloseHow::Accept);
        return true;
    case VK_ESCAPE:
        if (!s.dropped)
            return false;
        CloseList(s, CloseHow::Cancel);
        return true;
    default: return NavigationKey(s, vk);
    }
}

void OnComboMouseDown(ComboState& s, POINT pt)
{
    const HWND target = s.edit ? s.edit : s.hwnd;
    if (GetFocus() != target) {
        SetFocus(target);
        if (!Alive(s))
            return;
    }
    if (s.Simple() || s.dropped)
        return;
    const RECT button = ButtonRect(s);
    const RECT frame = FieldFrame(s);
    if (PtInRect(&button, pt) || (s.DropList() && PtInRect(&frame, pt)))
        OpenList(s, true);
}

void OnEditNotify(ComboState& s, WORD code)
{
    switch (code) {
    case EN_SETFOCUS:
        if (!s.focused) {
            s.focused = true;
            SendMessageW(s.edit, EM_SETSEL, 0, -1);
            Notify(s.hwnd, CBN_SETFOCUS);
        }
        return;
    case EN_KILLFOCUS: OnComboKillFocus(s, EditKillFocusTarget(s.edit)); return;
    case EN_UPDATE:
        if (!s.quietEdit)
            Notify(s.hwnd, CBN_EDITUPDATE);
        return;
    case EN_CHANGE: {
        if (s.quietEdit)
            return;
        // The list follows what is typed: the first item that starts with the text.
        const int len = static_cast<int>(SendMessageW(s.edit, WM_GETTEXTLENGTH, 0, 0));
        std::wstring text(static_cast<size_t>(len) + 1, L'\0');
        SendMessageW(s.edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(len));
        const LRESULT i = text.empty() ? -1
                                       : SendMessageW(s.list, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageW(s.list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
        if (i >= 0)
            if (auto l = ListOf(s.list))
                ShowItem(*l, static_cast<int>(i));
        if (s.dropped)
            s.selAtDrop = static_cast<int>(i);
        Notify(s.hwnd, CBN_EDITCHANGE);
        return;
    }
    case EN_ERRSPACE: Notify(s.hwnd, CBN_ERRSPACE); return;
    default: return;
    }
}

void OnComboSetFocus(ComboState& s)
{
    if (s.edit) {
        SetFocus(s.edit); // the edit's EN_SETFOCUS tells the parent
        return;
    }
    if (!s.focused) {
        s.focused = true;
        InvalidateCombo(s);
        Notify(s.hwnd, CBN_SETFOCUS);
    }
}

void OnComboKillFocus(ComboState& s, HWND to)
{
    if (to == s.hwnd || (s.edit && to == s.edit))
        return; // the focus stays within the combo box
    // Leaving the combo box ends whatever was selected in it without a choice.
    if (s.dropped)
        CloseList(s, CloseHow::Cancel);
    else if (s.focused)
        Notify(s.hwnd, CBN_SELENDCANCEL);
    if (!Alive(s))
        return;
    if (s.focused) {
        s.focused = false;
        if (s.edit)
            SendMessageW(s.edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
        InvalidateCombo(s);
        Notify(s.hwnd, CBN_KILLFOCUS);
    }
}

// ---- what the edit and the list call --------------------------------------------------------------------

bool ComboEditKey(HWND combo, UINT msg, WPARAM vk)
{
    auto s = ComboOf(combo);
    return s && ComboKey(*s, msg, vk);
}

LRESULT ComboDlgCode(HWND combo, const MSG* msg)
{
    auto s = ComboOf(combo);
    if (s && s->dropped && msg && msg->message == WM_KEYDOWN &&
        (msg->wParam == static_cast<WPARAM>(VK_RETURN) || msg->wParam == static_cast<WPARAM>(VK_ESCAPE)))
        return DLGC_WANTMESSAGE;
    return 0;
}

void ComboListSelChanged(HWND combo, int index)
{
    auto s = ComboOf(combo);
    if (!s)
        return;
    if (s->dropped)
        s->selAtDrop = index;
    ShowSelection(*s);
    // Closed (or simple), a new selection is also the end of a choice, told first.
    if (!s->dropped) {
        Notify(s->hwnd, CBN_SELENDOK);
        if (!IsWindow(s->hwnd))
            return;
    }
    Notify(s->hwnd, CBN_SELCHANGE);
}

void ComboListDoubleClick(HWND combo)
{
    auto s = ComboOf(combo);
    if (s && s->Simple())
        Notify(s->hwnd, CBN_DBLCLK);
}

void ComboListAccept(HWND combo, int index)
{
    auto s = ComboOf(combo);
    if (!s)
        return;
    SendMessageW(s->list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    CloseList(*s, CloseHow::Accept);
}

void ComboListCancel(HWND combo)
{
    if (auto s = ComboOf(combo))
        CloseList(*s, CloseHow::Cancel);
}

void ComboListTracked(HWND combo)
{
    if (auto s = ComboOf(combo))
        InvalidateCombo(*s);
}

} // namespace zyn::user::ctl
