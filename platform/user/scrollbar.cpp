// Scroll bars: a window's own bars (state, automatic showing and hiding, drawing in the
// frame) and the layout, drawing and tracking machinery that the scroll-bar control
// shares.
#include <algorithm>
#include <optional>

#include "platform/base/lasterror.h"
#include "platform/base/threads.h"
#include "platform/gdi/gdi_brushes.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/modal.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/queue_internal.h"
#include "platform/user/scrollbar.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/wnd_internal.h"

namespace zyn::user {
namespace {

constexpr UINT_PTR kScrollTimerId = 0xFFFA;
constexpr UINT kFirstRepeatDelay = 400;
constexpr UINT kRepeatDelay = 50;
constexpr int kMinThumb = 8;

// The bar being tracked on this thread (for drawing the pressed part and the thumb).
struct Tracking {
    HWND hwnd = nullptr;
    int bar = -1;
    ScrollPart part = ScrollPart::None;
    bool pressed = false;
    int trackPos = 0;
    bool thumb = false;
};
thread_local Tracking t_track;

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
    st.nTrackPos = std::clamp(st.nTrackPos, st.nMin, MaxPos(st));
}

// A window scroll bar has something to scroll.
bool Scrollable(const ScrollBarState& st)
{
    return st.nMax > st.nMin && (st.nPage == 0 || int64_t(st.nPage) <= int64_t(st.nMax) - st.nMin);
}

// Repaints a window's own bars (and the box between them), nothing else of its frame: a
// window that paints its own border over the system's keeps it when its bars change.
void RedrawBars(HWND hwnd)
{
    auto w = PeekWnd(hwnd);
    if (!w || !IsWindowVisible(hwnd))
        return;
    const NcLayout L = ComputeNcLayout(hwnd);
    POINT origin;
    {
        auto lock = LockUser();
        origin = POINT{w->rcWindow.left, w->rcWindow.top};
    }
    Region bars;
    for (RECT r : {L.vScroll, L.hScroll, L.sizeBox}) {
        if (IsRectEmpty(&r))
            continue;
        OffsetRect(&r, origin.x, origin.y);
        bars = bars.Union(Region(r));
    }
    if (!bars.Empty())
        NcPaint(hwnd, &bars);
}

// Shows or hides a window's bar by its style bit; the frame is recalculated.
void ShowBar(HWND hwnd, int bar, bool show)
{
    auto w = PeekWnd(hwnd);
    if (!w)
        return;
    bool changed = false;
    {
        auto lock = LockUser();
        const DWORD bits = bar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL) : (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL);
        const DWORD before = w->style;
        if (show)
            w->style |= bits;
        else
            w->style &= ~bits;
        changed = before != w->style;
    }
    if (changed)
        SetWindowPosImpl(hwnd, nullptr, 0, 0, 0, 0,
            SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool BarOk(int nBar)
{
    if (nBar != SB_HORZ && nBar != SB_VERT && nBar != SB_CTL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

} // namespace

ScrollBarLayout LayoutScrollBar(const RECT& bar, bool vertical, const ScrollBarState& st)
{
    ScrollBarLayout L;
    L.bar = bar;
    L.vertical = vertical;
    const int length = vertical ? bar.bottom - bar.top : bar.right - bar.left;
    const int thickness = vertical ? bar.right - bar.left : bar.bottom - bar.top;
    L.arrow = std::max(0, std::min(thickness, length / 2));
    const int start = (vertical ? bar.top : bar.left) + L.arrow;
    const int track = length - 2 * L.arrow;
    const int64_t range = int64_t(st.nMax) - st.nMin + 1;
    if (track <= 0 || range <= 1 || (st.nPage && int64_t(st.nPage) >= range) || st.arrowsDisabled == ESB_DISABLE_BOTH)
        return L;
    int thumb = st.nPage ? static_cast<int>(int64_t(track) * st.nPage / range)
                         : GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
    thumb = std::max(thumb, std::min(kMinThumb, track));
    if (thumb >= track)
        return L;
    const int pos = st.tracking ? st.nTrackPos : st.nPos;
    const int maxPos = MaxPos(st);
    const int span = maxPos - st.nMin;
    const int offset = span > 0 ? static_cast<int>(int64_t(track - thumb) * (std::clamp(pos, st.nMin, maxPos) - st.nMin) / span) : 0;
    L.thumbStart = start + offset;
    L.thumbEnd = L.thumbStart + thumb;
    return L;
}

ScrollPart ScrollBarPartFromPoint(const ScrollBarLayout& L, POINT pt)
{
    if (!PtInRect(&L.bar, pt))
        return ScrollPart::None;
    const int c = L.vertical ? pt.y : pt.x;
    const int start = L.vertical ? L.bar.top : L.bar.left;
    const int end = L.vertical ? L.bar.bottom : L.bar.right;
    if (c < start + L.arrow)
        return ScrollPart::ArrowUp;
    if (c >= end - L.arrow)
        return ScrollPart::ArrowDown;
    if (L.thumbEnd <= L.thumbStart)
        return ScrollPart::None;
    if (c < L.thumbStart)
        return ScrollPart::PageUp;
    if (c < L.thumbEnd)
        return ScrollPart::Thumb;
    return ScrollPart::PageDown;
}

HBRUSH ClassicScrollTrackBrush(HDC hdc)
{
    SetBkColor(hdc, GetSysColor(COLOR_3DHILIGHT));
    SetTextColor(hdc, GetSysColor(COLOR_3DFACE));
    if (GetSysColor(COLOR_3DHILIGHT) == GetSysColor(COLOR_WINDOW))
        return gdi::HalftoneBrush();
    return GetSysColorBrush(COLOR_SCROLLBAR);
}

void DrawScrollBar(HDC hdc, const RECT& bar, bool vertical, const ScrollBarState& st, ScrollPart pressed, bool enabled,
    HBRUSH trackBrush)
{
    const ScrollBarLayout L = LayoutScrollBar(bar, vertical, st);
    RECT a1 = bar, a2 = bar;
    if (vertical) {
        a1.bottom = a1.top + L.arrow;
        a2.top = a2.bottom - L.arrow;
    } else {
        a1.right = a1.left + L.arrow;
        a2.left = a2.right - L.arrow;
    }
    const bool noThumb = L.thumbEnd <= L.thumbStart;
    const bool disabled1 = !enabled || (st.arrowsDisabled & ESB_DISABLE_LTUP) || (noThumb && st.nMax <= st.nMin);
    const bool disabled2 = !enabled || (st.arrowsDisabled & ESB_DISABLE_RTDN) || (noThumb && st.nMax <= st.nMin);
    if (L.arrow > 0) {
        DrawFrameControl(hdc, &a1, DFC_SCROLL,
            (vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | (pressed == ScrollPart::ArrowUp ? DFCS_PUSHED | DFCS_FLAT : 0u) |
                (disabled1 ? DFCS_INACTIVE : 0u));
        DrawFrameControl(hdc, &a2, DFC_SCROLL,
            (vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) |
                (pressed == ScrollPart::ArrowDown ? DFCS_PUSHED | DFCS_FLAT : 0u) | (disabled2 ? DFCS_INACTIVE : 0u));
    }
    RECT track = bar;
    if (vertical) {
        track.top = a1.bottom;
        track.bottom = a2.top;
    } else {
        track.left = a1.right;
        track.right = a2.left;
    }
    if (track.right <= track.left || track.bottom <= track.top)
        return;
    if (trackBrush) {
        FillRect(hdc, &track, trackBrush);
    } else {
        // A window's own bars take the classic track without asking anyone; the colours it
        // sets for its pattern stay with this drawing.
        const int saved = SaveDC(hdc);
        FillRect(hdc, &track, ClassicScrollTrackBrush(hdc));
        RestoreDC(hdc, saved);
    }
    if (noThumb)
        return;
    RECT before = track, thumb = track, after = track;
    if (vertical) {
        before.bottom = L.thumbStart;
        thumb.top = L.thumbStart;
        thumb.bottom = L.thumbEnd;
        after.top = L.thumbEnd;
    } else {
        before.right = L.thumbStart;
        thumb.left = L.thumbStart;
        thumb.right = L.thumbEnd;
        after.left = L.thumbEnd;
    }
    if (pressed == ScrollPart::PageUp && !IsRectEmpty(&before))
        FillRect(hdc, &before, GetSysColorBrush(COLOR_3DDKSHADOW));
    if (pressed == ScrollPart::PageDown && !IsRectEmpty(&after))
        FillRect(hdc, &after, GetSysColorBrush(COLOR_3DDKSHADOW));
    DrawEdge(hdc, &thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
}

ScrollPart PressedScrollPart(HWND hwnd, int bar)
{
    if (t_track.hwnd == hwnd && t_track.bar == bar && t_track.pressed)
        return t_track.part;
    return ScrollPart::None;
}

std::optional<int> TrackedThumbPos(HWND hwnd, int bar)
{
    if (t_track.hwnd == hwnd && t_track.bar == bar && t_track.thumb)
        return t_track.trackPos;
    return std::nullopt;
}

void TrackScrollBar(HWND hwnd, int bar, POINT screenPt)
{
    auto w = GetWnd(hwnd);
    if (!w || (bar != SB_HORZ && bar != SB_VERT && bar != SB_CTL))
        return;
    bool vertical;
    RECT rc; // screen
    HWND notify = hwnd;
    LPARAM notifyLp = 0;
    if (bar == SB_CTL) {
        GetWindowRect(hwnd, &rc);
        auto lock = LockUser();
        vertical = (w->style & 0x1u) != 0; // SBS_VERT
        if (w->parent && !w->parent->isDesktop)
            notify = w->parent->hwnd;
        notifyLp = reinterpret_cast<LPARAM>(hwnd);
    } else {
        const NcLayout L = ComputeNcLayout(hwnd);
        rc = bar == SB_VERT ? L.vScroll : L.hScroll;
        auto lock = LockUser();
        OffsetRect(&rc, w->rcWindow.left, w->rcWindow.top);
        vertical = bar == SB_VERT;
    }
    const UINT msg = vertical ? WM_VSCROLL : WM_HSCROLL;
    auto state = [&]() {
        SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(hwnd, bar, &si);
        ScrollBarState st;
        st.nMin = si.nMin;
        st.nMax = si.nMax;
        st.nPage = si.nPage;
        st.nPos = si.nPos;
        st.nTrackPos = si.nTrackPos;
        if (bar != SB_CTL) {
            auto lock = LockUser();
            st.arrowsDisabled = w->scroll[bar].arrowsDisabled;
        }
        return st;
    };
    ScrollBarState st = state();
    ScrollBarLayout L = LayoutScrollBar(rc, vertical, st);
    const ScrollPart part = ScrollBarPartFromPoint(L, screenPt);
    if (part == ScrollPart::None)
        return;
    if ((part == ScrollPart::ArrowUp && (st.arrowsDisabled & ESB_DISABLE_LTUP)) ||
        (part == ScrollPart::ArrowDown && (st.arrowsDisabled & ESB_DISABLE_RTDN)))
        return;
    auto redraw = [&]() {
        if (bar == SB_CTL) {
            InvalidateRect(hwnd, nullptr, FALSE);
            UpdateWindow(hwnd);
        } else {
            {
                auto lock = LockUser();
                w->scrollPressed[bar] = t_track.pressed ? t_track.part : ScrollPart::None;
                if (t_track.thumb) {
                    w->scroll[bar].tracking = true;
                    w->scroll[bar].nTrackPos = t_track.trackPos;
                }
            }
            RedrawBars(hwnd);
        }
    };
    auto send = [&](WORD code, int pos = 0) {
        SendMsg(notify, msg, MAKEWPARAM(code, static_cast<WORD>(pos)), notifyLp);
    };
    const Tracking saved = t_track;
    t_track = Tracking{hwnd, bar, part, true, st.nPos, part == ScrollPart::Thumb};
    const int grab = (vertical ? screenPt.y : screenPt.x) - L.thumbStart;
    SetCapture(hwnd);
    redraw();
    auto step = [&]() {
        switch (part) {
        case ScrollPart::ArrowUp: send(SB_LINEUP); break;
        case ScrollPart::ArrowDown: send(SB_LINEDOWN); break;
        case ScrollPart::PageUp: send(SB_PAGEUP); break;
        case ScrollPart::PageDown: send(SB_PAGEDOWN); break;
        default: break;
        }
    };
    POINT last = screenPt;
    if (part != ScrollPart::Thumb) {
        step();
        SetTimer(hwnd, kScrollTimerId, kFirstRepeatDelay, nullptr);
    }
    bool done = false;
    ModalLoopParams p;
    p.owner = hwnd;
    p.msgFilterCode = MSGF_SCROLLBAR;
    p.done = [&] { return done || GetCapture() != hwnd; };
    p.preTranslate = [&](MSG& m) {
        if (m.message == WM_TIMER && m.hwnd == hwnd && m.wParam == kScrollTimerId) {
            SetTimer(hwnd, kScrollTimerId, kRepeatDelay, nullptr);
            // Pages repeat only while the thumb has not reached the pointer.
            st = state();
            L = LayoutScrollBar(rc, vertical, st);
            const ScrollPart now = ScrollBarPartFromPoint(L, last);
            if (now == part && t_track.pressed)
                step();
            return true;
        }
        if (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONUP) {
            last = m.pt;
            if (part == ScrollPart::Thumb) {
                const int track = (vertical ? rc.bottom - rc.top : rc.right - rc.left) - 2 * L.arrow;
                const int thumb = L.thumbEnd - L.thumbStart;
                const int start = (vertical ? rc.top : rc.left) + L.arrow;
                const int c = (vertical ? m.pt.y : m.pt.x) - grab - start;
                const int span = MaxPos(st) - st.nMin;
                int pos = st.nMin;
                if (track - thumb > 0 && span > 0)
                    pos = st.nMin + static_cast<int>((int64_t(std::clamp(c, 0, track - thumb)) * span + (track - thumb) / 2) /
                                                      (track - thumb));
                if (pos != t_track.trackPos) {
                    t_track.trackPos = pos;
                    send(SB_THUMBTRACK, pos);
                    redraw();
                }
            } else {
                st = state();
                L = LayoutScrollBar(rc, vertical, st);
                const bool over = ScrollBarPartFromPoint(L, m.pt) == part;
                if (over != t_track.pressed) {
                    t_track.pressed = over;
                    redraw();
                }
            }
            if (m.message == WM_LBUTTONUP)
                done = true;
            return true;
        }
        if (m.message == WM_KEYDOWN && m.wParam == static_cast<WPARAM>(VK_ESCAPE)) {
            done = true;
            return true;
        }
        return false;
    };
    RunModalLoop(p);
    KillTimer(hwnd, kScrollTimerId);
    if (GetCapture() == hwnd)
        ReleaseCapture();
    const bool wasThumb = t_track.thumb;
    const int finalPos = t_track.trackPos;
    t_track = saved;
    if (IsWindow(hwnd)) {
        if (bar != SB_CTL) {
            auto lock = LockUser();
            w->scrollPressed[bar] = ScrollPart::None;
            w->scroll[bar].tracking = false;
        }
        if (IsWindow(notify)) {
            if (wasThumb)
                send(SB_THUMBPOSITION, finalPos);
            send(SB_ENDSCROLL);
        }
        if (IsWindow(hwnd))
            redraw();
    }
}

} // namespace zyn::user

using namespace zyn::user;

int SetScrollInfo(HWND hwnd, int nBar, LPCSCROLLINFO lpsi, BOOL redraw)
{
    auto w = GetWnd(hwnd);
    if (!w || !BarOk(nBar))
        return 0;
    if (!lpsi || (lpsi->cbSize != sizeof(SCROLLINFO) && lpsi->cbSize != sizeof(SCROLLINFO) - sizeof(int))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (nBar == SB_CTL)
        return static_cast<int>(SendMessageW(hwnd, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(lpsi)));
    if ((lpsi->fMask & SIF_RANGE) && lpsi->nMax < lpsi->nMin) {
        SetLastError(ERROR_INVALID_SCROLLBAR_RANGE);
        return 0;
    }
    bool scrollable, shown;
    int pos;
    {
        auto lock = LockUser();
        ScrollBarState& st = w->scroll[nBar];
        if (lpsi->fMask & SIF_RANGE) {
            st.nMin = lpsi->nMin;
            st.nMax = lpsi->nMax;
        }
        if (lpsi->fMask & SIF_PAGE)
            st.nPage = lpsi->nPage;
        if (lpsi->fMask & SIF_POS)
            st.nPos = lpsi->nPos;
        Normalise(st);
        pos = st.nPos;
        scrollable = Scrollable(st);
        shown = (w->style & (nBar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) != 0;
    }
    if (lpsi->fMask & (SIF_RANGE | SIF_PAGE)) {
        // A window's bar appears when there is something to scroll and goes when there is
        // not, unless it is kept (disabled) with SIF_DISABLENOSCROLL.
        if (lpsi->fMask & SIF_DISABLENOSCROLL) {
            auto lock = LockUser();
            w->scroll[nBar].arrowsDisabled = scrollable ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH;
        } else if (scrollable != shown) {
            ShowBar(hwnd, nBar, scrollable);
            return pos;
        }
    }
    if (redraw)
        RedrawBars(hwnd);
    return pos;
}

BOOL GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO lpsi)
{
    auto w = GetWnd(hwnd);
    if (!w || !BarOk(nBar))
        return FALSE;
    if (!lpsi || (lpsi->cbSize != sizeof(SCROLLINFO) && lpsi->cbSize != sizeof(SCROLLINFO) - sizeof(int))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (nBar == SB_CTL)
        return SendMessageW(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(lpsi)) ? TRUE : FALSE;
    auto lock = LockUser();
    const ScrollBarState& st = w->scroll[nBar];
    if (lpsi->fMask & SIF_RANGE) {
        lpsi->nMin = st.nMin;
        lpsi->nMax = st.nMax;
    }
    if (lpsi->fMask & SIF_PAGE)
        lpsi->nPage = st.nPage;
    if (lpsi->fMask & SIF_POS)
        lpsi->nPos = st.nPos;
    if ((lpsi->fMask & SIF_TRACKPOS) && lpsi->cbSize == sizeof(SCROLLINFO)) {
        auto tracked = TrackedThumbPos(hwnd, nBar);
        lpsi->nTrackPos = tracked ? *tracked : st.nPos;
    }
    return TRUE;
}

int SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw)
{
    if (!BarOk(nBar))
        return 0;
    if (nBar == SB_CTL)
        return static_cast<int>(SendMessageW(hWnd, SBM_SETPOS, static_cast<WPARAM>(nPos), bRedraw));
    SCROLLINFO old{sizeof old, SIF_POS, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(hWnd, nBar, &old))
        return 0;
    SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, nPos, 0};
    SetScrollInfo(hWnd, nBar, &si, bRedraw);
    return old.nPos;
}

int GetScrollPos(HWND hWnd, int nBar)
{
    if (!BarOk(nBar))
        return 0;
    if (nBar == SB_CTL)
        return static_cast<int>(SendMessageW(hWnd, SBM_GETPOS, 0, 0));
    SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 0, 0};
    return GetScrollInfo(hWnd, nBar, &si) ? si.nPos : 0;
}

BOOL SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    if (!BarOk(nBar))
        return FALSE;
    if (int64_t(nMaxPos) - nMinPos > 0x7FFFFFFF) {
        SetLastError(ERROR_INVALID_SCROLLBAR_RANGE);
        return FALSE;
    }
    if (nBar == SB_CTL) {
        // The message answers with the old position (often 0), so only the error says whether it failed.
        if (!GetWnd(hWnd))
            return FALSE;
        SetLastError(0);
        SendMessageW(hWnd, bRedraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, static_cast<WPARAM>(nMinPos),
            static_cast<LPARAM>(nMaxPos));
        return GetLastError() == 0 ? TRUE : FALSE;
    }
    if (nMaxPos < nMinPos)
        std::swap(nMinPos, nMaxPos);
    SCROLLINFO si{sizeof si, SIF_RANGE, nMinPos, nMaxPos, 0, 0, 0};
    if (!GetWnd(hWnd))
        return FALSE;
    SetScrollInfo(hWnd, nBar, &si, bRedraw);
    return TRUE;
}

BOOL GetScrollRange(HWND hWnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos)
{
    if (!BarOk(nBar) || !lpMinPos || !lpMaxPos) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (nBar == SB_CTL) {
        if (!GetWnd(hWnd))
            return FALSE;
        SendMessageW(hWnd, SBM_GETRANGE, reinterpret_cast<WPARAM>(lpMinPos), reinterpret_cast<LPARAM>(lpMaxPos));
        return TRUE;
    }
    SCROLLINFO si{sizeof si, SIF_RANGE, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(hWnd, nBar, &si))
        return FALSE;
    *lpMinPos = si.nMin;
    *lpMaxPos = si.nMax;
    return TRUE;
}

BOOL ShowScrollBar(HWND hWnd, int wBar, BOOL bShow)
{
    if (!GetWnd(hWnd))
        return FALSE;
    if (wBar == SB_CTL) {
        ShowWindow(hWnd, bShow ? SW_SHOW : SW_HIDE);
        return TRUE;
    }
    if (wBar != SB_HORZ && wBar != SB_VERT && wBar != SB_BOTH) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ShowBar(hWnd, wBar, bShow != FALSE);
    return TRUE;
}

BOOL EnableScrollBar(HWND hWnd, UINT wSBflags, UINT wArrows)
{
    auto w = GetWnd(hWnd);
    if (!w)
        return FALSE;
    if (wSBflags == static_cast<UINT>(SB_CTL))
        return SendMessageW(hWnd, SBM_ENABLE_ARROWS, wArrows, 0) ? TRUE : FALSE;
    if (wSBflags != SB_HORZ && wSBflags != SB_VERT && wSBflags != SB_BOTH) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    bool changed = false;
    {
        auto lock = LockUser();
        for (int b : {SB_HORZ, SB_VERT}) {
            if (wSBflags != SB_BOTH && static_cast<int>(wSBflags) != b)
                continue;
            if (w->scroll[b].arrowsDisabled != (wArrows & ESB_DISABLE_BOTH)) {
                w->scroll[b].arrowsDisabled = wArrows & ESB_DISABLE_BOTH;
                changed = true;
            }
        }
    }
    if (changed)
        RedrawBars(hWnd);
    return changed ? TRUE : FALSE;
}

BOOL GetScrollBarInfo(HWND hwnd, LONG idObject, PSCROLLBARINFO psbi)
{
    auto w = GetWnd(hwnd);
    if (!w)
        return FALSE;
    if (!psbi || psbi->cbSize != sizeof(SCROLLBARINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (idObject == OBJID_CLIENT)
        return SendMessageW(hwnd, SBM_GETSCROLLBARINFO, 0, reinterpret_cast<LPARAM>(psbi)) ? TRUE : FALSE;
    if (idObject != OBJID_HSCROLL && idObject != OBJID_VSCROLL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const int bar = idObject == OBJID_VSCROLL ? SB_VERT : SB_HORZ;
    const NcLayout L = ComputeNcLayout(hwnd);
    RECT r = bar == SB_VERT ? L.vScroll : L.hScroll;
    ScrollBarState st;
    DWORD style;
    {
        auto lock = LockUser();
        OffsetRect(&r, w->rcWindow.left, w->rcWindow.top);
        st = w->scroll[bar];
        style = w->style;
    }
    const bool shown = (style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) != 0;
    const ScrollBarLayout lay = LayoutScrollBar(r, bar == SB_VERT, st);
    psbi->rcScrollBar = r;
    psbi->dxyLineButton = lay.arrow;
    const int origin = bar == SB_VERT ? r.top : r.left;
    psbi->xyThumbTop = lay.thumbEnd > lay.thumbStart ? lay.thumbStart - origin : 0;
    psbi->xyThumbBottom = lay.thumbEnd > lay.thumbStart ? lay.thumbEnd - origin : 0;
    psbi->reserved = 0;
    for (auto& s : psbi->rgstate)
        s = 0;
    if (!shown)
        psbi->rgstate[0] = STATE_SYSTEM_INVISIBLE;
    else if (st.arrowsDisabled == ESB_DISABLE_BOTH || (style & WS_DISABLED))
        psbi->rgstate[0] = STATE_SYSTEM_UNAVAILABLE;
    if (st.arrowsDisabled & ESB_DISABLE_LTUP)
        psbi->rgstate[1] = STATE_SYSTEM_UNAVAILABLE;
    if (st.arrowsDisabled & ESB_DISABLE_RTDN)
        psbi->rgstate[5] = STATE_SYSTEM_UNAVAILABLE;
    return TRUE;
}
