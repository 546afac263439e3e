// The "ScrollBar" window class.
#include "platform/user/scrollctl.h"

#include <algorithm>

#include "platform/base/lasterror.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/user/caret.h"
#include "platform/user/caret_internal.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/scrollbar.h"
#include "platform/user/stdctl_classes.h"
#include "platform/user/dialog.h"
#include "platform/user/stdctl_common.h"
#include "platform/user/styles.h"
#include "platform/user/user_hooks.h"
#include "platform/user/user_types.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::user::ctl {
namespace {

struct BarState {
    HWND hwnd = nullptr;
    ScrollBarState st;
    bool focused = false;
};

StateMap<BarState>& States()
{
    static StateMap<BarState> m;
    return m;
}

DWORD StyleOf(HWND h) { return static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE)); }
bool Vertical(HWND h) { return (StyleOf(h) & SBS_VERT) != 0; }
bool SizeBox(HWND h) { return (StyleOf(h) & (SBS_SIZEBOX | SBS_SIZEGRIP)) != 0; }

int MaxPos(const ScrollBarState& st)
{
    const int page = st.nPage ? static_cast<int>(st.nPage) - 1 : 0;
    return std::max(st.nMin, st.nMax - page);
}

void Normalise(ScrollBarState& st)
{
    const int64_t range = int64_t(st.nMax) - st.nMin + 1;
    if (int64_t(st.nPage) > range)
        st.nPage = static_cast<UINT>(std::max<int64_t>(range, 0));
    st.nPos = std::clamp(st.nPos, st.nMin, MaxPos(st));
}

RECT ClientRc(HWND h)
{
    RECT rc{};
    GetClientRect(h, &rc);
    return rc;
}

// With the focus, a gray caret over the thumb makes it blink.
void PlaceCaret(BarState& s)
{
    if (!s.focused || SizeBox(s.hwnd))
        return;
    const ScrollBarLayout L = LayoutScrollBar(ClientRc(s.hwnd), Vertical(s.hwnd), s.st);
    HWND owner = nullptr;
    RECT old{};
    bool blinking = false;
    const bool mine = CaretInfo(&owner, &old, &blinking) && owner == s.hwnd;
    if (L.thumbEnd <= L.thumbStart) {
        if (mine)
            DestroyCaret();
        return;
    }
    const RECT bar = L.bar;
    RECT thumb = L.vertical ? RECT{bar.left, L.thumbStart, bar.right, L.thumbEnd}
                            : RECT{L.thumbStart, bar.top, L.thumbEnd, bar.bottom};
    InflateRect(&thumb, -1, -1);
    if (mine && old.right - old.left == thumb.right - thumb.left && old.bottom - old.top == thumb.bottom - thumb.top) {
        SetCaretPos(thumb.left, thumb.top);
        return;
    }
    CreateCaret(s.hwnd, reinterpret_cast<HBITMAP>(static_cast<uintptr_t>(1)), thumb.right - thumb.left,
        thumb.bottom - thumb.top);
    SetCaretPos(thumb.left, thumb.top);
    ShowCaret(s.hwnd);
}

void Changed(BarState& s, bool redraw)
{
    if (redraw) {
        InvalidateRect(s.hwnd, nullptr, FALSE);
        UpdateWindow(s.hwnd);
    }
    PlaceCaret(s);
}

LRESULT SetInfo(BarState& s, const SCROLLINFO* si, bool redraw)
{
    if (!si || (si->cbSize != sizeof(SCROLLINFO) && si->cbSize != sizeof(SCROLLINFO) - sizeof(int))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if ((si->fMask & SIF_RANGE) && si->nMax < si->nMin) {
        SetLastError(ERROR_INVALID_SCROLLBAR_RANGE);
        return 0;
    }
    if (si->fMask & SIF_RANGE) {
        s.st.nMin = si->nMin;
        s.st.nMax = si->nMax;
    }
    if (si->fMask & SIF_PAGE)
        s.st.nPage = si->nPage;
    if (si->fMask & SIF_POS)
        s.st.nPos = si->nPos;
    Normalise(s.st);
    if ((si->fMask & (SIF_RANGE | SIF_PAGE)) && (si->fMask & SIF_DISABLENOSCROLL)) {
        // Kept, but disabled, while there is nothing to scroll.
        const bool scrollable = s.st.nMax > s.st.nMin &&
            (s.st.nPage == 0 || int64_t(s.st.nPage) <= int64_t(s.st.nMax) - s.st.nMin);
        s.st.arrowsDisabled = scrollable ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH;
    }
    Changed(s, redraw);
    return s.st.nPos;
}

LRESULT GetInfo(const BarState& s, SCROLLINFO* si)
{
    if (!si || (si->cbSize != sizeof(SCROLLINFO) && si->cbSize != sizeof(SCROLLINFO) - sizeof(int))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (si->fMask & SIF_RANGE) {
        si->nMin = s.st.nMin;
        si->nMax = s.st.nMax;
    }
    if (si->fMask & SIF_PAGE)
        si->nPage = s.st.nPage;
    if (si->fMask & SIF_POS)
        si->nPos = s.st.nPos;
    if ((si->fMask & SIF_TRACKPOS) && si->cbSize == sizeof(SCROLLINFO)) {
        auto tracked = TrackedThumbPos(s.hwnd, SB_CTL);
        si->nTrackPos = tracked ? *tracked : s.st.nPos;
    }
    return (si->fMask & SIF_ALL) ? TRUE : FALSE;
}

LRESULT GetBarInfo(const BarState& s, SCROLLBARINFO* info)
{
    if (!info || info->cbSize != sizeof(SCROLLBARINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    RECT rc = ClientRc(s.hwnd);
    MapWindowPoints(s.hwnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    const bool vertical = Vertical(s.hwnd);
    const ScrollBarLayout L = LayoutScrollBar(rc, vertical, s.st);
    info->rcScrollBar = rc;
    info->dxyLineButton = L.arrow;
    const int origin = vertical ? rc.top : rc.left;
    info->xyThumbTop = L.thumbEnd > L.thumbStart ? L.thumbStart - origin : 0;
    info->xyThumbBottom = L.thumbEnd > L.thumbStart ? L.thumbEnd - origin : 0;
    info->reserved = 0;
    for (auto& st : info->rgstate)
        st = 0;
    if (!IsWindowVisible(s.hwnd))
        info->rgstate[0] = STATE_SYSTEM_INVISIBLE;
    else if (s.st.arrowsDisabled == ESB_DISABLE_BOTH || !IsWindowEnabled(s.hwnd))
        info->rgstate[0] = STATE_SYSTEM_UNAVAILABLE;
    if (s.st.arrowsDisabled & ESB_DISABLE_LTUP)
        info->rgstate[1] = STATE_SYSTEM_UNAVAILABLE;
    if (s.st.arrowsDisabled & ESB_DISABLE_RTDN)
        info->rgstate[5] = STATE_SYSTEM_UNAVAILABLE;
    return TRUE;
}

void Paint(BarState& s, HDC dc)
{
    HBRUSH track = CtlColor(s.hwnd, dc, WM_CTLCOLORSCROLLBAR);
    if (!IsWindow(s.hwnd))
        return;
    const RECT rc = ClientRc(s.hwnd);
    if (SizeBox(s.hwnd)) {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_3DFACE));
        if (StyleOf(s.hwnd) & SBS_SIZEGRIP) {
            RECT grip = rc;
            DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
        }
        return;
    }
    ScrollBarState st = s.st;
    if (auto tracked = TrackedThumbPos(s.hwnd, SB_CTL)) {
        st.tracking = true;
        st.nTrackPos = *tracked;
    }
    const bool hideCaret = s.focused && HideCaret(s.hwnd);
    DrawScrollBar(dc, rc, Vertical(s.hwnd), st, PressedScrollPart(s.hwnd, SB_CTL), IsWindowEnabled(s.hwnd) != FALSE,
        track);
    if (hideCaret)
        ShowCaret(s.hwnd);
}

void OnMouseDown(BarState& s, POINT pt)
{
    if (SizeBox(s.hwnd))
        return;
    if ((StyleOf(s.hwnd) & WS_TABSTOP) && GetFocus() != s.hwnd) {
        SetFocus(s.hwnd);
        if (!IsWindow(s.hwnd))
            return;
    }
    if (s.st.arrowsDisabled == ESB_DISABLE_BOTH)
        return;
    const ScrollBarLayout L = LayoutScrollBar(ClientRc(s.hwnd), Vertical(s.hwnd), s.st);
    const ScrollPart part = ScrollBarPartFromPoint(L, pt);
    if ((part == ScrollPart::ArrowUp && (s.st.arrowsDisabled & ESB_DISABLE_LTUP)) ||
        (part == ScrollPart::ArrowDown && (s.st.arrowsDisabled & ESB_DISABLE_RTDN)) || part == ScrollPart::None)
        return;
    POINT screen = pt;
    ClientToScreen(s.hwnd, &screen);
    TrackScrollBar(s.hwnd, SB_CTL, screen);
    if (IsWindow(s.hwnd))
        PlaceCaret(s);
}

int KeyCode(WPARAM vk)
{
    switch (static_cast<int>(vk)) {
    case VK_UP:
    case VK_LEFT: return SB_LINEUP;
    case VK_DOWN:
    case VK_RIGHT: return SB_LINEDOWN;
    case VK_PRIOR: return SB_PAGEUP;
    case VK_NEXT: return SB_PAGEDOWN;
    case VK_HOME: return SB_TOP;
    case VK_END: return SB_BOTTOM;
    default: return -1;
    }
}

void SendScroll(BarState& s, WORD code)
{
    if (HWND to = NotifyTarget(s.hwnd))
        SendMessageW(to, Vertical(s.hwnd) ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, 0),
            reinterpret_cast<LPARAM>(s.hwnd));
}

void OnCreate(BarState& s, const CREATESTRUCTW* cs)
{
    if (!cs)
        return;
    const DWORD style = static_cast<DWORD>(cs->style);
    const int cxv = GetSystemMetrics(SM_CXVSCROLL), cyh = GetSystemMetrics(SM_CYHSCROLL);
    int x = cs->x, y = cs->y, w = cs->cx, h = cs->cy;
    if (style & SBS_SIZEBOX) {
        if (style & SBS_SIZEBOXBOTTOMRIGHTALIGN) {
            x += w - cxv;
            y += h - cyh;
        }
        if (style & (SBS_SIZEBOXTOPLEFTALIGN | SBS_SIZEBOXBOTTOMRIGHTALIGN)) {
            w = cxv;
            h = cyh;
        }
    } else if (style & SBS_VERT) {
        if (style & SBS_RIGHTALIGN)
            x += w - cxv;
        if (style & (SBS_LEFTALIGN | SBS_RIGHTALIGN))
            w = cxv;
    } else {
        if (style & SBS_BOTTOMALIGN)
            y += h - cyh;
        if (style & (SBS_TOPALIGN | SBS_BOTTOMALIGN))
            h = cyh;
    }
    if (x != cs->x || y != cs->y || w != cs->cx || h != cs->cy)
        SetWindowPos(s.hwnd, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT BarProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto s = States().Create(hwnd);
        s->hwnd = hwnd;
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    auto sp = States().Get(hwnd);
    if (!sp)
        return DefWindowProcW(hwnd, msg, wp, lp);
    BarState& s = *sp;
    switch (msg) {
    case WM_CREATE: OnCreate(s, reinterpret_cast<const CREATESTRUCTW*>(lp)); return 0;
    case WM_NCDESTROY:
        States().Remove(hwnd);
        return DefWindowProcW(hwnd, msg, wp, lp);
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        if (wp) {
            Paint(s, reinterpret_cast<HDC>(wp));
            return 0;
        }
        PaintScope ps(hwnd, nullptr);
        if (ps)
            Paint(s, ps.get());
        return 0;
    }
    case WM_SIZE:
        InvalidateRect(hwnd, nullptr, FALSE);
        PlaceCaret(s);
        return 0;
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, FALSE); return 0;
    case WM_SETFOCUS:
        s.focused = true;
        PlaceCaret(s);
        return 0;
    case WM_KILLFOCUS: {
        s.focused = false;
        HWND owner = nullptr;
        RECT rc{};
        bool blinking = false;
        if (CaretInfo(&owner, &rc, &blinking) && owner == hwnd)
            DestroyCaret();
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: OnMouseDown(s, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_KEYDOWN: {
        const int code = KeyCode(wp);
        if (code < 0 || SizeBox(hwnd))
            return DefWindowProcW(hwnd, msg, wp, lp);
        SendScroll(s, static_cast<WORD>(code));
        return 0;
    }
    case WM_KEYUP:
        // A key scrolls one step per press; no SB_ENDSCROLL follows it.
        if (KeyCode(wp) >= 0 && !SizeBox(hwnd))
            return 0;
        return DefWindowProcW(hwnd, msg, wp, lp);
    case SBM_SETPOS: {
        const int old = s.st.nPos;
        s.st.nPos = static_cast<int>(static_cast<INT_PTR>(wp));
        Normalise(s.st);
        Changed(s, lp != 0);
        return old;
    }
    case SBM_GETPOS: return s.st.nPos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
        int lo = static_cast<int>(static_cast<INT_PTR>(wp)), hi = static_cast<int>(lp);
        if (int64_t(hi) - lo > 0x7FFFFFFF || int64_t(lo) - hi > 0x7FFFFFFF) {
            SetLastError(ERROR_INVALID_SCROLLBAR_RANGE);
            return 0;
        }
        if (hi < lo)
            std::swap(lo, hi);
        const int old = s.st.nPos;
        s.st.nMin = lo;
        s.st.nMax = hi;
        Normalise(s.st);
        Changed(s, msg == SBM_SETRANGEREDRAW);
        return s.st.nPos != old ? old : 0;
    }
    case SBM_GETRANGE:
        if (wp)
            *reinterpret_cast<int*>(wp) = s.st.nMin;
        if (lp)
            *reinterpret_cast<int*>(lp) = s.st.nMax;
        return 0;
    case SBM_SETSCROLLINFO: return SetInfo(s, reinterpret_cast<const SCROLLINFO*>(lp), wp != 0);
    case SBM_GETSCROLLINFO: return GetInfo(s, reinterpret_cast<SCROLLINFO*>(lp));
    case SBM_GETSCROLLBARINFO: return GetBarInfo(s, reinterpret_cast<SCROLLBARINFO*>(lp));
    case SBM_ENABLE_ARROWS: {
        const UINT want = static_cast<UINT>(wp) & ESB_DISABLE_BOTH;
        if (want == s.st.arrowsDisabled)
            return FALSE;
        s.st.arrowsDisabled = want;
        Changed(s, true);
        return TRUE;
    }
    default: return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace

WNDCLASSEXW ScrollBarClass()
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = BarProc;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"ScrollBar";
    return wc;
}

} // namespace zyn::user::ctl
