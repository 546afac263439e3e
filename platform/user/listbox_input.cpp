// A list box's selection: the three selection modes driven by keys, typed characters and
// the mouse, and a combo box's dropped list following the mouse.
#include <algorithm>

#include "platform/base/charcase.h"
#include "platform/base/clock.h"
#include "platform/user/combobox_internal.h"
#include "platform/user/input.h"
#include "platform/user/listbox.h"
#include "platform/user/listbox_internal.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/scrollbar.h"
#include "platform/user/styles.h"
#include "platform/user/user_hooks.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::user::ctl {
namespace {

constexpr DWORD kTypeAheadPause = 2000;

// Reports a selection the user changed.
void UserChangedSel(ListState& s)
{
    if (s.combo) {
        ComboListSelChanged(s.combo, s.sel);
        return;
    }
    NotifyList(s, LBN_SELCHANGE);
}

// Moves to item `i` the way a navigation key does in the list's selection mode. A key
// that lands on an item tells LBN_SELCHANGE even when the selection stays (a page down
// at the end, a typed letter of the current item); a combo box hears only of changes.
void NavigateTo(ListState& s, int i, bool shift, bool ctrl)
{
    if (!s.Valid(i))
        return;
    if (s.style & LBS_NOSEL) {
        // Items to look at, not to select: only the focus rectangle moves.
        SetCaret(s, i);
        ShowItem(s, i);
        return;
    }
    bool changed = false;
    if (!s.Multi()) {
        changed = SetSingleSel(s, i);
        s.anchor = i;
    } else if (s.Extended()) {
        if (shift) {
            if (!s.Valid(s.anchor))
                s.anchor = s.caret >= 0 ? s.caret : i;
            changed = SelectRange(s, s.anchor, i, true, !ctrl);
        } else if (!ctrl) {
            changed = SelectRange(s, i, i, true, true);
            s.anchor = i;
        }
    }
    SetCaret(s, i);
    ShowItem(s, i);
    if (changed || !s.combo)
        UserChangedSel(s);
}

// Space: toggles in a multiple-selection list; selects (Shift: a range, Ctrl: toggles) in
// an extended one.
void SpaceKey(ListState& s, bool shift, bool ctrl)
{
    const int i = s.caret;
    if (!s.Valid(i) || !s.Multi() || (s.style & LBS_NOSEL))
        return;
    bool changed;
    if (!s.Extended() || (ctrl && !shift)) {
        changed = SelectRange(s, i, i, !s.items[static_cast<size_t>(i)].selected, false);
        s.anchor = i;
    } else if (shift) {
        changed = SelectRange(s, s.Valid(s.anchor) ? s.anchor : i, i, true, !ctrl);
    } else {
        changed = SelectRange(s, i, i, true, true);
        s.anchor = i;
    }
    if (changed)
        UserChangedSel(s);
}

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix)
{
    return text.size() >= prefix.size() &&
           base::CompareNoCase(std::wstring_view(text).substr(0, prefix.size()), prefix) == 0;
}

// The item a typed prefix leads to: a prefix of one repeated character steps through the
// items starting with it; a longer one keeps the current item while it still matches.
int TypeAheadTarget(const ListState& s)
{
    const int n = s.Count();
    if (n == 0 || s.typed.empty())
        return -1;
    const bool repeated = std::all_of(s.typed.begin(), s.typed.end(),
        [&](wchar_t c) { return base::ToLowerChar(c) == base::ToLowerChar(s.typed[0]); });
    const std::wstring prefix = repeated ? s.typed.substr(0, 1) : s.typed;
    const int start = s.caret < 0 ? 0 : (repeated ? s.caret + 1 : s.caret);
    for (int k = 0; k < n; ++k) {
        const int i = (start + k) % n;
        if (StartsWithNoCase(s.items[static_cast<size_t>(i)].text, prefix))
            return i;
    }
    return -1;
}

// Asks the owner about a key (LBS_WANTKEYBOARDINPUT): -2 handled, -1 do the default, or the
// item to act on.
LRESULT AskOwner(ListState& s, UINT msg, WPARAM key)
{
    if (!s.owner || s.combo)
        return -1;
    return SendMessageW(s.owner, msg, MAKEWPARAM(static_cast<WORD>(key), static_cast<WORD>(std::max(s.caret, 0))),
        reinterpret_cast<LPARAM>(s.hwnd));
}

void Autoscroll(ListState& s, POINT pt)
{
    RECT rc{};
    GetClientRect(s.hwnd, &rc);
    if (s.MultiColumn()) {
        if (pt.x < rc.left)
            SetTop(s, s.top - RowsPerColumn(s));
        else if (pt.x >= rc.right)
            SetTop(s, s.top + RowsPerColumn(s));
    } else {
        if (pt.y < rc.top)
            SetTop(s, s.top - 1);
        else if (pt.y >= rc.bottom)
            SetTop(s, s.top + 1);
    }
}

// Tracking a press: the item under the pointer, scrolled into reach.
void TrackTo(ListState& s, POINT pt)
{
    RECT rc{};
    GetClientRect(s.hwnd, &rc);
    POINT inside{std::clamp<LONG>(pt.x, rc.left, std::max(rc.left, rc.right - 1)),
        std::clamp<LONG>(pt.y, rc.top, std::max(rc.top, rc.bottom - 1))};
    const int i = ItemAt(s, inside, true);
    if (!s.Valid(i))
        return;
    if (!s.Multi()) {
        if (SetSingleSel(s, i))
            s.changed = true;
    } else if (s.Extended()) {
        if (SelectRange(s, s.Valid(s.anchor) ? s.anchor : i, i, true, !s.ctrlDrag))
            s.changed = true;
    }
    SetCaret(s, i);
}

bool InClient(const ListState& s, POINT pt)
{
    RECT rc{};
    GetClientRect(s.hwnd, &rc);
    return PtInRect(&rc, pt) != FALSE;
}

// ---- the dropped list of a combo box ------------------------------------------------------------------

void DroppedMouseDown(ListState& s, POINT pt)
{
    POINT screen = pt;
    ClientToScreen(s.hwnd, &screen);
    if (InClient(s, pt)) {
        s.buttonDown = true;
        const int i = ItemAt(s, pt, false);
        if (s.Valid(i)) {
            SetSingleSel(s, i);
            SetCaret(s, i);
        }
        return;
    }
    RECT win{};
    GetWindowRect(s.hwnd, &win);
    if (PtInRect(&win, screen)) {
        // The list's own scroll bar: track it, then take the capture back.
        s.inScrollTrack = true;
        TrackScrollBar(s.hwnd, SB_VERT, screen);
        s.inScrollTrack = false;
        if (IsWindow(s.hwnd) && s.dropped)
            SetCapture(s.hwnd);
        return;
    }
    // A click anywhere else closes the list and is spent doing so.
    ComboListCancel(s.combo);
}

void DroppedMouseMove(ListState& s, POINT pt)
{
    if (InClient(s, pt)) {
        KillTimer(s.hwnd, kListScrollTimer);
        const int i = ItemAt(s, pt, false);
        if (s.Valid(i) && i != s.sel) {
            SetSingleSel(s, i);
            SetCaret(s, i);
            ComboListTracked(s.combo);
        }
        return;
    }
    if (s.buttonDown) {
        RECT rc{};
        GetClientRect(s.hwnd, &rc);
        if (pt.x >= rc.left && pt.x < rc.right && (pt.y < rc.top || pt.y >= rc.bottom)) {
            SetTimer(s.hwnd, kListScrollTimer, 100, nullptr);
            s.tracking = true;
        }
    }
}

void DroppedMouseUp(ListState& s, POINT pt)
{
    KillTimer(s.hwnd, kListScrollTimer);
    s.tracking = false;
    if (InClient(s, pt)) {
        const int i = ItemAt(s, pt, false);
        if (s.Valid(i)) {
            ComboListAccept(s.combo, i);
            return;
        }
    }
    // The release of the press that opened the list leaves it open.
    s.buttonDown = false;
    ComboListTracked(s.combo);
}

} // namespace

bool SetSingleSel(ListState& s, int i)
{
    if (!s.Valid(i))
        i = -1;
    if (s.sel == i)
        return false;
    InvalidateItem(s, s.sel);
    s.sel = i;
    InvalidateItem(s, s.sel);
    return true;
}

bool SelectRange(ListState& s, int a, int b, bool on, bool clearOthers)
{
    if (s.Count() == 0)
        return false;
    a = std::clamp(a, 0, s.Count() - 1);
    b = std::clamp(b, 0, s.Count() - 1);
    if (a > b)
        std::swap(a, b);
    bool changed = false;
    for (int i = 0; i < s.Count(); ++i) {
        bool want = s.items[static_cast<size_t>(i)].selected;
        if (i >= a && i <= b)
            want = on;
        else if (clearOthers)
            want = false;
        if (want != s.items[static_cast<size_t>(i)].selected) {
            s.items[static_cast<size_t>(i)].selected = want;
            InvalidateItem(s, i);
            changed = true;
        }
    }
    return changed;
}

void SetCaret(ListState& s, int i)
{
    if (i == s.caret)
        return;
    InvalidateItem(s, s.caret);
    s.caret = i;
    InvalidateItem(s, s.caret);
}

void OnListKeyDown(ListState& s, WPARAM vk)
{
    // Keys move from the selection of a single-selection list (none yet: the first key
    // goes to the first item) and from the focus rectangle of the others and of a list
    // without selection.
    const bool fromCaret = s.Multi() || (s.style & LBS_NOSEL);
    int cur = fromCaret ? (s.Valid(s.caret) ? s.caret : -1) : (s.Valid(s.sel) ? s.sel : -1);
    if (s.style & LBS_WANTKEYBOARDINPUT) {
        const LRESULT r = AskOwner(s, WM_VKEYTOITEM, vk);
        if (!IsWindow(s.hwnd) || r == -2)
            return;
        if (r >= 0 && s.Valid(static_cast<int>(r))) {
            cur = static_cast<int>(r); // the owner names the item to act on
            SetCaret(s, cur);
        }
    }
    const int n = s.Count();
    if (n == 0)
        return;
    const bool shift = KeyIsDown(VK_SHIFT), ctrl = KeyIsDown(VK_CONTROL);
    const int rows = s.MultiColumn() ? RowsPerColumn(s) : 1;
    const int page = s.MultiColumn() ? FullyVisible(s) : std::max(1, FullyVisible(s) - 1);
    int target;
    switch (static_cast<int>(vk)) {
    case VK_UP: target = cur < 0 ? 0 : cur - 1; break;
    case VK_DOWN: target = cur < 0 ? 0 : cur + 1; break;
    case VK_LEFT: target = cur < 0 ? 0 : cur - rows; break;
    case VK_RIGHT: target = cur < 0 ? 0 : cur + rows; break;
    case VK_PRIOR: target = cur < 0 ? 0 : cur - page; break;
    case VK_NEXT: target = cur < 0 ? 0 : cur + page; break;
    case VK_HOME: target = 0; break;
    case VK_END: target = n - 1; break;
    case VK_SPACE: SpaceKey(s, shift, ctrl); return;
    default: return;
    }
    NavigateTo(s, std::clamp(target, 0, n - 1), shift, ctrl);
}

void OnListChar(ListState& s, wchar_t c)
{
    if (!s.HasStrings()) {
        if (!(s.style & LBS_WANTKEYBOARDINPUT))
            return;
        const LRESULT r = AskOwner(s, WM_CHARTOITEM, c);
        if (IsWindow(s.hwnd) && r >= 0 && s.Valid(static_cast<int>(r)))
            NavigateTo(s, static_cast<int>(r), false, false);
        return;
    }
    if (c < 0x20 || c == 0x7F)
        return; // Space arrives as a key too
    if (c == L' ' && s.Multi())
        return;
    const DWORD now = static_cast<DWORD>(base::Clock::NowMs());
    if (now - s.typedAt > kTypeAheadPause)
        s.typed.clear();
    s.typed.push_back(c);
    s.typedAt = now;
    const int i = TypeAheadTarget(s);
    if (i >= 0)
        NavigateTo(s, i, false, false);
}

void OnListMouseDown(ListState& s, POINT pt, WPARAM keys, bool dbl)
{
    if (s.combo && s.dropped) {
        DroppedMouseDown(s, pt);
        return;
    }
    if (s.combo) {
        // A click in a simple combo box's list puts the focus in the combo box.
        if (GetFocus() != s.combo && !IsChild(s.combo, GetFocus())) {
            SetFocus(s.combo);
            if (!IsWindow(s.hwnd))
                return;
        }
    } else if (!s.focused) {
        SetFocus(s.hwnd);
        if (!IsWindow(s.hwnd))
            return;
    }
    const int i = ItemAt(s, pt, false);
    const bool shift = (keys & MK_SHIFT) != 0, ctrl = (keys & MK_CONTROL) != 0;
    s.changed = false;
    s.ctrlDrag = false;
    if (!s.Valid(i))
        return;
    // The owner hears of a press on an item first (what drag lists were built on).
    if (!s.combo && (s.style & LBS_NOTIFY) && s.owner) {
        SendMessageW(s.owner, WM_LBTRACKPOINT, static_cast<WPARAM>(i), MAKELPARAM(pt.x, pt.y));
        if (!IsWindow(s.hwnd))
            return;
    }
    if (s.style & LBS_NOSEL) {
        SetCaret(s, i);
        if (dbl)
            NotifyList(s, LBN_DBLCLK);
        return;
    }
    if (!s.Multi()) {
        if (ctrl && i == s.sel && !s.combo) {
            // A Ctrl+click takes the selection away.
            SetSingleSel(s, -1);
            SetCaret(s, i);
            NotifyList(s, LBN_SELCANCEL);
            return;
        }
        s.changed = SetSingleSel(s, i);
        s.anchor = i;
    } else if (!s.Extended()) {
        s.changed = SelectRange(s, i, i, !s.items[static_cast<size_t>(i)].selected, false);
        s.anchor = i;
    } else if (shift) {
        s.ctrlDrag = ctrl;
        s.changed = SelectRange(s, s.Valid(s.anchor) ? s.anchor : i, i, true, !ctrl);
    } else if (ctrl) {
        s.ctrlDrag = true;
        s.changed = SelectRange(s, i, i, !s.items[static_cast<size_t>(i)].selected, false);
        s.anchor = i;
    } else {
        s.changed = SelectRange(s, i, i, true, true);
        s.anchor = i;
    }
    SetCaret(s, i);
    if (dbl) {
        if (s.combo)
            ComboListDoubleClick(s.combo);
        else
            NotifyList(s, LBN_DBLCLK);
        if (!IsWindow(s.hwnd))
            return;
    }
    s.tracking = true;
    SetCapture(s.hwnd);
}

void OnListMouseMove(ListState& s, POINT pt)
{
    if (s.combo && s.dropped) {
        DroppedMouseMove(s, pt);
        return;
    }
    if (!s.tracking || GetCapture() != s.hwnd)
        return;
    if (!s.Multi() || s.Extended())
        TrackTo(s, pt);
    if (!InClient(s, pt))
        SetTimer(s.hwnd, kListScrollTimer, 100, nullptr);
    else
        KillTimer(s.hwnd, kListScrollTimer);
}

void OnListMouseUp(ListState& s, POINT pt)
{
    if (s.combo && s.dropped) {
        DroppedMouseUp(s, pt);
        return;
    }
    if (!s.tracking)
        return;
    const bool changed = s.changed;
    EndListTracking(s);
    if (changed)
        UserChangedSel(s);
}

void OnListTimer(ListState& s)
{
    POINT pt{};
    GetCursorPos(&pt);
    ScreenToClient(s.hwnd, &pt);
    if (InClient(s, pt) || (!s.tracking && !(s.dropped && s.buttonDown))) {
        KillTimer(s.hwnd, kListScrollTimer);
        return;
    }
    Autoscroll(s, pt);
    if (s.dropped) {
        const int i = ItemAt(s, pt, true);
        if (s.Valid(i)) {
            SetSingleSel(s, i);
            SetCaret(s, i);
        }
    } else {
        TrackTo(s, pt);
    }
}

void OnListCaptureChanged(ListState& s, HWND newCapture)
{
    if (s.combo && s.dropped) {
        if (newCapture != s.hwnd && !s.inScrollTrack)
            ComboListCancel(s.combo);
        return;
    }
    if (s.tracking && newCapture != s.hwnd) {
        const bool changed = s.changed;
        s.tracking = false;
        KillTimer(s.hwnd, kListScrollTimer);
        if (changed)
            UserChangedSel(s);
    }
}

void EndListTracking(ListState& s)
{
    s.tracking = false;
    s.changed = false;
    KillTimer(s.hwnd, kListScrollTimer);
    if (GetCapture() == s.hwnd && !s.dropped)
        ReleaseCapture();
}

} // namespace zyn::user::ctl
