// The progress control's window class: values, the marquee timer, classic painting and
// the registration (the rules are in progress.h).
#include <algorithm>
#include <cstdint>
#include <memory>

#include "platform/comctl/progress.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/control_common.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/styles.h"
#include "platform/user/user_hooks.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl {
namespace {

constexpr int kGap = 2;            // between blocks
constexpr int kMarqueeBlocks = 5;
constexpr UINT kDefaultMarqueeMs = 30;
constexpr UINT_PTR kMarqueeTimer = 1;

struct ProgressState : zyn::user::ControlState {
    HWND self = nullptr;
    int rangeMin = 0;
    int rangeMax = 100;
    int pos = 0;
    int step = 10;
    COLORREF barColor = CLR_DEFAULT;
    COLORREF bkColor = CLR_DEFAULT;
    int state = PBST_NORMAL;
    bool marquee = false;
    int marqueeOffset = 0; // of the run's first block from the inner start edge
};

DWORD StyleOf(HWND h) { return static_cast<DWORD>(::GetWindowLongPtrW(h, GWL_STYLE)); }

int Clamp(const ProgressState& s, int64_t p)
{
    return static_cast<int>(std::clamp<int64_t>(p, s.rangeMin, std::max(s.rangeMin, s.rangeMax)));
}

LRESULT PackRange(const ProgressState& s)
{
    return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(s.rangeMin), static_cast<WORD>(s.rangeMax)));
}

// Sets a new position; the previous one.
LRESULT SetPos(ProgressState& s, int64_t p)
{
    const int old = s.pos;
    s.pos = Clamp(s, p);
    if (s.pos != old)
        zyn::user::RedrawControl(s.self);
    return old;
}

LRESULT SetRange(ProgressState& s, int lo, int hi)
{
    if (hi < lo)
        return 0;
    const LRESULT old = PackRange(s);
    s.rangeMin = lo;
    s.rangeMax = hi;
    s.pos = Clamp(s, s.pos);
    zyn::user::RedrawControl(s.self);
    return old;
}

LRESULT StepIt(ProgressState& s)
{
    const int old = s.pos;
    int64_t p = int64_t(s.pos) + s.step;
    if (p > s.rangeMax)
        p = s.rangeMin; // starts over
    else if (p < s.rangeMin)
        p = s.rangeMax;
    s.pos = Clamp(s, p);
    if (s.pos != old)
        zyn::user::RedrawControl(s.self);
    return old;
}

// ---- geometry and painting -------------------------------------------------------------------------------
struct Strip {
    RECT inner{};
    bool vertical = false;
    int length = 0; // along the bar
    int block = 0;  // a block's length along the bar
};

Strip StripOf(const RECT& client, DWORD style)
{
    Strip st;
    st.inner = RECT{client.left + 1, client.top + 1, client.right - 1, client.bottom - 1};
    st.vertical = (style & PBS_VERTICAL) != 0;
    const int w = std::max(0, static_cast<int>(st.inner.right - st.inner.left));
    const int h = std::max(0, static_cast<int>(st.inner.bottom - st.inner.top));
    st.length = st.vertical ? h : w;
    st.block = std::max(1, (st.vertical ? w : h) * 2 / 3);
    return st;
}

// The part of the strip from `from` to `to` (along the bar, from the start edge), cut to it.
RECT Piece(const Strip& st, int from, int to)
{
    from = std::clamp(from, 0, st.length);
    to = std::clamp(to, 0, st.length);
    if (st.vertical)
        return RECT{st.inner.left, st.inner.bottom - to, st.inner.right, st.inner.bottom - from};
    return RECT{st.inner.left + from, st.inner.top, st.inner.left + to, st.inner.bottom};
}

void PaintProgress(const ProgressState& s, HDC hdc)
{
    RECT client{};
    ::GetClientRect(s.self, &client);
    const DWORD style = StyleOf(s.self);
    const COLORREF bk = s.bkColor == CLR_DEFAULT ? ::GetSysColor(COLOR_3DFACE) : s.bkColor;
    const COLORREF bar = s.barColor == CLR_DEFAULT ? ::GetSysColor(COLOR_HIGHLIGHT) : s.barColor;
    const HBRUSH bkBrush = ::CreateSolidBrush(bk);
    ::FillRect(hdc, &client, bkBrush);
    ::DeleteObject(bkBrush);
    const Strip st = StripOf(client, style);
    if (st.length <= 0)
        return;
    const HBRUSH barBrush = ::CreateSolidBrush(bar);
    auto fill = [&](const RECT& r) {
        if (r.left < r.right && r.top < r.bottom)
            ::FillRect(hdc, &r, barBrush);
    };
    const int pitch = st.block + kGap;
    if ((style & PBS_MARQUEE) && s.marquee) {
        for (int k = 0; k < kMarqueeBlocks; ++k) {
            const int from = s.marqueeOffset + k * pitch;
            fill(Piece(st, from, from + st.block));
        }
    } else {
        const int64_t range = int64_t(s.rangeMax) - s.rangeMin;
        const int filled = range <= 0 ? 0 : static_cast<int>(int64_t(st.length) * (s.pos - s.rangeMin) / range);
        if (style & PBS_SMOOTH) {
            fill(Piece(st, 0, filled));
        } else {
            for (int from = 0; from < filled; from += pitch)
                fill(Piece(st, from, from + st.block));
        }
    }
    ::DeleteObject(barBrush);
}

void MarqueeTick(ProgressState& s)
{
    RECT client{};
    ::GetClientRect(s.self, &client);
    const Strip st = StripOf(client, StyleOf(s.self));
    const int pitch = st.block + kGap;
    s.marqueeOffset += pitch;
    if (s.marqueeOffset >= st.length)
        s.marqueeOffset = -(kMarqueeBlocks - 1) * pitch;
    zyn::user::RedrawControl(s.self);
}

void SetMarquee(ProgressState& s, bool on, UINT ms)
{
    if (on) {
        if (!s.marquee)
            s.marqueeOffset = 0;
        s.marquee = true;
        ::SetTimer(s.self, kMarqueeTimer, ms ? ms : kDefaultMarqueeMs, nullptr);
    } else {
        s.marquee = false;
        ::KillTimer(s.self, kMarqueeTimer);
    }
    zyn::user::RedrawControl(s.self);
}

COLORREF SwapColor(const ProgressState& s, COLORREF& slot, COLORREF value)
{
    const COLORREF old = slot;
    slot = value;
    zyn::user::RedrawControl(s.self);
    return old;
}

bool HandleProgressMessage(ProgressState& s, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    const auto lpw = static_cast<uintptr_t>(lp);
    switch (msg) {
    case PBM_SETRANGE:
        result = SetRange(s, LOWORD(lpw), HIWORD(lpw));
        return true;
    case PBM_SETRANGE32:
        result = SetRange(s, static_cast<int>(wp), static_cast<int>(lp));
        return true;
    case PBM_GETRANGE:
        if (lp) {
            auto* r = reinterpret_cast<PBRANGE*>(lp);
            r->iLow = s.rangeMin;
            r->iHigh = s.rangeMax;
        }
        result = wp ? s.rangeMin : s.rangeMax;
        return true;
    case PBM_SETPOS:
        result = SetPos(s, static_cast<int>(wp));
        return true;
    case PBM_DELTAPOS:
        result = SetPos(s, int64_t(s.pos) + static_cast<int>(wp));
        return true;
    case PBM_GETPOS:
        result = s.pos;
        return true;
    case PBM_SETSTEP:
        result = s.step;
        s.step = static_cast<int>(wp);
        return true;
    case PBM_GETSTEP:
        result = s.step;
        return true;
    case PBM_STEPIT:
        result = StepIt(s);
        return true;
    case PBM_SETBARCOLOR:
        result = SwapColor(s, s.barColor, static_cast<COLORREF>(lp));
        return true;
    case PBM_GETBARCOLOR:
        result = s.barColor;
        return true;
    case PBM_SETBKCOLOR:
        result = SwapColor(s, s.bkColor, static_cast<COLORREF>(lp));
        return true;
    case PBM_GETBKCOLOR:
        result = s.bkColor;
        return true;
    case PBM_SETMARQUEE:
        SetMarquee(s, wp != 0, static_cast<UINT>(lp));
        result = TRUE;
        return true;
    case PBM_SETSTATE:
        result = s.state;
        if (wp >= static_cast<WPARAM>(PBST_NORMAL) && wp <= static_cast<WPARAM>(PBST_PAUSED))
            s.state = static_cast<int>(wp);
        else
            result = 0; // not a state
        return true;
    case PBM_GETSTATE:
        result = s.state;
        return true;
    default:
        return false;
    }
}

LRESULT ProgressProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto st = std::make_shared<ProgressState>();
        st->self = hwnd;
        zyn::user::SetControlState(hwnd, std::move(st));
        // The classic bar always has its thin sunken frame (callers may take it away).
        ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_STATICEDGE);
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
    const std::shared_ptr<ProgressState> sp = zyn::user::ControlStateOf<ProgressState>(hwnd);
    if (!sp)
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    ProgressState& s = *sp;
    LRESULT result = 0;
    if (HandleProgressMessage(s, msg, wp, lp, result))
        return result;
    switch (msg) {
    case WM_DESTROY:
        ::KillTimer(hwnd, kMarqueeTimer);
        return 0;
    case WM_TIMER:
        if (wp == kMarqueeTimer && s.marquee) {
            MarqueeTick(s);
            return 0;
        }
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        if (dc)
            PaintProgress(s, dc);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintProgress(s, reinterpret_cast<HDC>(wp));
        return 0;
    case WM_ERASEBKGND:
        return 1; // WM_PAINT covers every pixel
    case WM_SYSCOLORCHANGE:
    case WM_STYLECHANGED:
        zyn::user::RedrawControl(hwnd);
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    default:
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace

BOOL RegisterProgressClass()
{
    WNDCLASSEXW have{};
    have.cbSize = sizeof have;
    if (::GetClassInfoExW(nullptr, PROGRESS_CLASSW, &have) && have.lpfnWndProc == &ProgressProc)
        return TRUE;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
    wc.lpfnWndProc = &ProgressProc;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = PROGRESS_CLASSW;
    return zyn::user::RegisterSystemClass(wc) ? TRUE : FALSE;
}

} // namespace zyn::comctl
