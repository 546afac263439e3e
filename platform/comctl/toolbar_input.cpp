// Toolbar mouse input: pressing and clicking buttons (WM_COMMAND to the notify window),
// check and check-group toggling, drop-down buttons (TBN_DROPDOWN and its answers), the
// hot item (TBN_HOTITEMCHANGE, anchor highlight, leaving the control) and moving or
// removing buttons by Shift-drag on adjustable toolbars. toolbar.h states the rules.
#include "platform/comctl/toolbar_state.h"
#include "platform/gdi/rect.h"
#include "platform/user/button.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/vkeys.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl::tb {

namespace {

POINT PointOf(LPARAM lp) { return POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }

LRESULT NotifyMouse(ToolbarState& s, UINT code, int index, POINT pt)
{
    NMMOUSE nm{};
    const Button* b = s.At(index);
    nm.dwItemSpec = b ? static_cast<DWORD_PTR>(static_cast<UINT>(b->command)) : static_cast<DWORD_PTR>(-1);
    nm.dwItemData = b ? b->data : 0;
    nm.pt = pt; // client coordinates
    nm.dwHitInfo = HTCLIENT;
    return Notify(s, code, nm.hdr);
}

// The item under a point (a button or a separator), -1 for none.
int ItemAt(const ToolbarState& s, POINT pt)
{
    const int h = HitTest(s, pt);
    if (h >= 0)
        return h;
    const int j = -h - 1;
    const Button* b = s.At(j);
    return b && b->IsSeparator() && ::PtInRect(&b->rect, pt) ? j : -1;
}

void TrackLeave(ToolbarState& s)
{
    if (s.trackingLeave)
        return;
    TRACKMOUSEEVENT tme{};
    tme.cbSize = sizeof tme;
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = s.self;
    s.trackingLeave = ::TrackMouseEvent(&tme) != FALSE;
}

void UpdateHot(ToolbarState& s, POINT pt)
{
    if (!s.HotTracking() || s.pressed >= 0 || s.dragIndex >= 0)
        return;
    const int h = HitTest(s, pt);
    const Button* b = s.At(h);
    int want = b && b->IsEnabled() ? h : -1;
    if (want < 0 && s.anchor)
        return;
    if (want != s.hot)
        SetHot(s, want, HICF_MOUSE);
}

// After a click on a check button: toggles it, or checks it in its group.
void ToggleCheck(ToolbarState& s, int index)
{
    Button& b = s.buttons[static_cast<size_t>(index)];
    if (!(b.style & BTNS_CHECK))
        return;
    if ((b.style & BTNS_CHECKGROUP) == BTNS_CHECKGROUP) {
        if (b.state & TBSTATE_CHECKED)
            return;
        b.state |= TBSTATE_CHECKED;
        for (int i = index - 1; i >= 0; --i) {
            Button& o = s.buttons[static_cast<size_t>(i)];
            if (o.IsSeparator() || (o.style & BTNS_CHECKGROUP) != BTNS_CHECKGROUP)
                break;
            o.state &= static_cast<BYTE>(~TBSTATE_CHECKED);
        }
        for (int i = index + 1; i < s.Count(); ++i) {
            Button& o = s.buttons[static_cast<size_t>(i)];
            if (o.IsSeparator() || (o.style & BTNS_CHECKGROUP) != BTNS_CHECKGROUP)
                break;
            o.state &= static_cast<BYTE>(~TBSTATE_CHECKED);
        }
        return;
    }
    b.state ^= TBSTATE_CHECKED;
}

// A press on a button: it becomes the hot item (flat toolbars), is announced as the start
// of a drag, then shows pressed and holds the capture. False when a handler destroyed the
// toolbar or took the button away.
bool StartPress(ToolbarState& s, int index)
{
    const int command = s.buttons[static_cast<size_t>(index)].command;
    if (s.HotTracking() && s.hot != index) {
        SetHot(s, index, HICF_LMOUSE);
        if (s.destroyed)
            return false;
    }
    index = IndexOfCommand(s, command);
    if (index < 0)
        return false;
    const Button copy = s.buttons[static_cast<size_t>(index)];
    NotifyButton(s, TBN_BEGINDRAG, command, &copy);
    index = s.destroyed ? -1 : IndexOfCommand(s, command);
    if (index < 0 || !s.buttons[static_cast<size_t>(index)].IsEnabled())
        return false;
    s.pressed = index;
    s.pressedInside = true;
    s.buttons[static_cast<size_t>(index)].state |= TBSTATE_PRESSED;
    ::SetCapture(s.self);
    Redraw(s);
    return true;
}

// TBN_DROPDOWN for a press on a drop-down button; true when the press goes on as a plain
// button press.
bool DropDown(ToolbarState& s, int index, bool arrowPart)
{
    Button& b = s.buttons[static_cast<size_t>(index)];
    const bool plainDropDown = !(b.style & BTNS_WHOLEDROPDOWN) && !HasArrowPart(s, b);
    if (arrowPart)
        s.dropIndex = index;
    else
        b.state |= TBSTATE_PRESSED;
    Redraw(s);
    const int command = b.command;
    const Button copy = b;
    const LRESULT answer = NotifyButton(s, TBN_DROPDOWN, command, &copy);
    if (s.destroyed)
        return false;
    s.dropIndex = -1;
    const int now = IndexOfCommand(s, command);
    if (now < 0)
        return false;
    s.buttons[static_cast<size_t>(now)].state &= static_cast<BYTE>(~TBSTATE_PRESSED);
    Redraw(s);
    if (now != index || !s.buttons[static_cast<size_t>(now)].IsEnabled())
        return false;
    return answer == TBDDRET_TREATPRESSED || (answer == TBDDRET_NODEFAULT && plainDropDown);
}

void LeftDown(ToolbarState& s, POINT pt, bool dbl)
{
    const DWORD style = s.Style();
    const bool shift = ::GetKeyState(VK_SHIFT) < 0;
    const bool alt = ::GetKeyState(VK_MENU) < 0;
    if ((style & CCS_ADJUSTABLE) && (shift || ((style & TBSTYLE_ALTDRAG) && alt))) {
        const int i = ItemAt(s, pt);
        if (i >= 0) {
            s.dragIndex = i;
            const Button copy = s.buttons[static_cast<size_t>(i)];
            NotifyButton(s, TBN_BEGINDRAG, copy.command, &copy);
            if (s.destroyed || s.dragIndex < 0)
                return;
            ::SetCapture(s.self);
            return;
        }
    }
    const int h = HitTest(s, pt);
    if (NotifyMouse(s, NM_LDOWN, h, pt) != 0 || s.destroyed)
        return;
    if (dbl) {
        NotifyMouse(s, NM_DBLCLK, h, pt);
        if (s.destroyed)
            return;
    }
    Button* b = s.At(h);
    if (!b || !b->IsEnabled())
        return;
    const RECT arrowRect = ArrowRect(s, *b);
    const bool arrow = HasArrowPart(s, *b) && ::PtInRect(&arrowRect, pt);
    if ((b->style & (BTNS_DROPDOWN | BTNS_WHOLEDROPDOWN)) && (arrow || !HasArrowPart(s, *b))) {
        if (!DropDown(s, h, arrow))
            return;
    }
    StartPress(s, h);
}

void LeftUp(ToolbarState& s, POINT pt)
{
    if (s.pressed < 0) {
        NotifyMouse(s, NM_CLICK, HitTest(s, pt), pt);
        return;
    }
    int index = s.pressed;
    s.pressed = -1;
    Button& b = s.buttons[static_cast<size_t>(index)];
    b.state &= static_cast<BYTE>(~TBSTATE_PRESSED);
    const bool inside = ::PtInRect(&b.rect, pt) && b.IsEnabled();
    const int command = b.command;
    const Button copy = b;
    // The press's drag ends, the capture goes (and the parent hears of it), then a release
    // on the button is a click: WM_COMMAND, then NM_CLICK.
    NotifyButton(s, TBN_ENDDRAG, command, &copy);
    if (s.destroyed)
        return;
    if (::GetCapture() == s.self) {
        ::ReleaseCapture();
        if (s.destroyed)
            return;
        NMHDR hdr{};
        Notify(s, NM_RELEASEDCAPTURE, hdr);
        if (s.destroyed)
            return;
    }
    index = IndexOfCommand(s, command);
    if (!inside || index < 0) {
        Redraw(s);
        return;
    }
    ToggleCheck(s, index);
    Redraw(s);
    if (s.notify && ::IsWindow(s.notify)) {
        ::SendMessageW(s.notify, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), BN_CLICKED),
            reinterpret_cast<LPARAM>(s.self));
        if (s.destroyed)
            return;
    }
    NotifyMouse(s, NM_CLICK, IndexOfCommand(s, command), pt);
}

void DragMove(ToolbarState& s, POINT pt)
{
    RECT client{};
    ::GetClientRect(s.self, &client);
    TBINSERTMARK mark{-1, 0};
    if (::PtInRect(&client, pt))
        InsertMarkHitTest(s, pt, mark);
    if (mark.dwFlags & TBIMHT_BACKGROUND)
        mark.dwFlags &= ~TBIMHT_BACKGROUND;
    if (mark.iButton != s.mark.iButton || mark.dwFlags != s.mark.dwFlags) {
        s.mark = mark;
        Redraw(s);
    }
}

void EndDrag(ToolbarState& s, POINT pt, bool drop)
{
    const int from = s.dragIndex;
    s.dragIndex = -1;
    s.mark = TBINSERTMARK{-1, 0};
    if (::GetCapture() == s.self)
        ::ReleaseCapture();
    if (s.destroyed)
        return;
    Button* moving = s.At(from);
    if (!moving)
        return;
    const Button copy = *moving;
    if (drop) {
        RECT client{};
        ::GetClientRect(s.self, &client);
        if (::PtInRect(&client, pt)) {
            TBINSERTMARK mark{};
            InsertMarkHitTest(s, pt, mark);
            int to = mark.iButton < 0 ? 0 : mark.iButton + ((mark.dwFlags & TBIMHT_AFTER) ? 1 : 0);
            if (to != from && to != from + 1) {
                if (NotifyButton(s, TBN_QUERYINSERT, to, &copy) && !s.destroyed) {
                    const int now = IndexOfCommand(s, copy.command);
                    if (s.At(from) && s.buttons[static_cast<size_t>(from)].command == copy.command && now >= 0) {
                        MoveButton(s, from, to > from ? to - 1 : to);
                        NMHDR hdr{};
                        Notify(s, TBN_TOOLBARCHANGE, hdr);
                    }
                }
            }
        } else if (NotifyButton(s, TBN_QUERYDELETE, from, &copy) && !s.destroyed) {
            if (s.At(from) && s.buttons[static_cast<size_t>(from)].command == copy.command) {
                DeleteButton(s, from);
                NMHDR hdr{};
                Notify(s, TBN_TOOLBARCHANGE, hdr);
            }
        }
    }
    if (s.destroyed)
        return;
    Redraw(s);
    NotifyButton(s, TBN_ENDDRAG, copy.command, &copy);
}

} // namespace

std::optional<int> SetHot(ToolbarState& s, int index, DWORD flags)
{
    const int old = s.hot;
    if (index == old)
        return old;
    NMTBHOTITEM nm{};
    const Button* o = s.At(old);
    const Button* n = s.At(index);
    nm.idOld = o ? o->command : 0;
    nm.idNew = n ? n->command : 0;
    nm.dwFlags = flags | (o ? 0u : HICF_ENTERING) | (n ? 0u : HICF_LEAVING);
    const LRESULT veto = Notify(s, TBN_HOTITEMCHANGE, nm.hdr);
    if (s.destroyed || veto != 0)
        return std::nullopt;
    s.hot = s.At(index) ? index : -1;
    Redraw(s);
    return old;
}

void CancelMouse(ToolbarState& s)
{
    if (s.pressed >= 0) {
        if (Button* b = s.At(s.pressed))
            b->state &= static_cast<BYTE>(~TBSTATE_PRESSED);
        s.pressed = -1;
        Redraw(s);
    }
    if (s.dragIndex >= 0)
        EndDrag(s, POINT{}, false);
    if (::GetCapture() == s.self)
        ::ReleaseCapture();
}

LRESULT HandleMouse(ToolbarState& s, UINT msg, WPARAM wp, LPARAM lp)
{
    const POINT pt = PointOf(lp);
    switch (msg) {
    case WM_MOUSEMOVE:
        if (s.dragIndex >= 0) {
            DragMove(s, pt);
            return 0;
        }
        if (s.pressed >= 0) {
            Button& b = s.buttons[static_cast<size_t>(s.pressed)];
            const bool inside = ::PtInRect(&b.rect, pt) != FALSE;
            if (inside != s.pressedInside) {
                s.pressedInside = inside;
                if (inside)
                    b.state |= TBSTATE_PRESSED;
                else
                    b.state &= static_cast<BYTE>(~TBSTATE_PRESSED);
                Redraw(s);
            }
            return 0;
        }
        TrackLeave(s);
        UpdateHot(s, pt);
        return 0;
    case WM_MOUSELEAVE:
        s.trackingLeave = false;
        if (s.hot >= 0 && !s.anchor && s.pressed < 0 && s.dragIndex < 0)
            SetHot(s, -1, HICF_MOUSE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        LeftDown(s, pt, msg == WM_LBUTTONDBLCLK);
        return 0;
    case WM_LBUTTONUP:
        if (s.dragIndex >= 0)
            EndDrag(s, pt, true);
        else
            LeftUp(s, pt);
        return 0;
    case WM_RBUTTONDOWN:
        NotifyMouse(s, NM_RDOWN, HitTest(s, pt), pt);
        return 0;
    case WM_RBUTTONUP:
        if (NotifyMouse(s, NM_RCLICK, HitTest(s, pt), pt) != 0 || s.destroyed)
            return 0;
        return ::DefWindowProcW(s.self, msg, wp, lp);
    case WM_RBUTTONDBLCLK:
        NotifyMouse(s, NM_RDBLCLK, HitTest(s, pt), pt);
        return 0;
    default:
        return ::DefWindowProcW(s.self, msg, wp, lp);
    }
}

} // namespace zyn::comctl::tb
