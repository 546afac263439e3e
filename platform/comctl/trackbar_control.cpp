// The trackbar's window class: its window procedure (the TBM_ messages and the window
// messages it answers), tics, buddies, the position tip and the registration.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/comctl/tooltip.h"
#include "platform/comctl/trackbar_state.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/control_common.h"
#include "platform/user/dialog.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/styles.h"
#include "platform/user/user_hooks.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl::detail {

TrackbarState::~TrackbarState() = default;

namespace {

constexpr size_t kMaxTics = 65536;

DWORD StyleOf(HWND h) { return static_cast<DWORD>(::GetWindowLongPtrW(h, GWL_STYLE)); }

// The two signed 16-bit halves of TBM_SETRANGE and TBM_SETSEL.
int LowShort(LPARAM lp) { return static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(lp))); }
int HighShort(LPARAM lp) { return static_cast<SHORT>(HIWORD(static_cast<uintptr_t>(lp))); }

void Redraw(const TrackbarState& s, WPARAM redraw)
{
    if (redraw)
        RedrawTrackbar(s);
}

// The automatic tics: every ticFreq positions from the minimum, inside the range.
void MakeAutoTics(TrackbarState& s)
{
    s.tics.clear();
    if (s.ticFreq <= 0)
        return;
    const int64_t hi = RangeHigh(s);
    const int64_t count = (hi - s.rangeMin - 1) / s.ticFreq;
    if (count <= 0 || static_cast<uint64_t>(count) > kMaxTics)
        return;
    s.tics.reserve(static_cast<size_t>(count));
    for (int64_t t = int64_t(s.rangeMin) + s.ticFreq; t < hi; t += s.ticFreq)
        s.tics.push_back(static_cast<int>(t));
}

void RangeChanged(TrackbarState& s)
{
    s.pos = ClampPosition(s, s.pos);
    if (!s.pageSizeSet)
        s.pageSize = std::max<int>(1, static_cast<int>((int64_t(RangeHigh(s)) - s.rangeMin) / 5));
    if (StyleOf(s.self) & TBS_AUTOTICKS) {
        MakeAutoTics(s);
        return;
    }
    std::erase_if(s.tics, [&](int t) { return t <= s.rangeMin || t >= RangeHigh(s); });
}

LRESULT SetTic(TrackbarState& s, int p)
{
    if (p < s.rangeMin || p > RangeHigh(s))
        return FALSE;
    if (p == s.rangeMin || p == RangeHigh(s))
        return TRUE; // the ends always have their tics
    const auto it = std::lower_bound(s.tics.begin(), s.tics.end(), p);
    if (it != s.tics.end() && *it == p)
        return TRUE;
    if (s.tics.size() >= kMaxTics)
        return FALSE;
    s.tics.insert(it, p);
    RedrawTrackbar(s);
    return TRUE;
}

// ---- buddies ----------------------------------------------------------------------------------------------
void PlaceBuddy(const TrackbarState& s, HWND buddy, bool before)
{
    if (!buddy || !::IsWindow(buddy))
        return;
    RECT tb{}, b{};
    ::GetWindowRect(s.self, &tb);
    ::GetWindowRect(buddy, &b);
    const int bw = b.right - b.left, bh = b.bottom - b.top;
    POINT at{};
    if (StyleOf(s.self) & TBS_VERT) {
        at.x = tb.left + ((tb.right - tb.left) - bw) / 2;
        at.y = before ? tb.top - bh : tb.bottom;
    } else {
        at.x = before ? tb.left - bw : tb.right;
        at.y = tb.top + ((tb.bottom - tb.top) - bh) / 2;
    }
    // Into the coordinates the buddy is placed in (its parent's client area).
    const HWND parent = (::GetWindowLongPtrW(buddy, GWL_STYLE) & WS_CHILD) ? ::GetParent(buddy) : nullptr;
    if (parent)
        ::ScreenToClient(parent, &at);
    ::SetWindowPos(buddy, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceBuddies(const TrackbarState& s)
{
    PlaceBuddy(s, s.buddyLeft, true);
    PlaceBuddy(s, s.buddyRight, false);
}

HWND LiveOrNull(HWND h) { return h && ::IsWindow(h) ? h : nullptr; }

// ---- the position tip -------------------------------------------------------------------------------------
TTTOOLINFOW TipTool(const TrackbarState& s, LPWSTR text)
{
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = s.self;
    ti.uId = reinterpret_cast<UINT_PTR>(s.self);
    ti.lpszText = text;
    return ti;
}

void AttachTip(TrackbarState& s, HWND tip)
{
    s.toolTip = tip;
    if (!tip)
        return;
    wchar_t empty[] = L"";
    TTTOOLINFOW ti = TipTool(s, empty);
    ::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void DropOwnTip(TrackbarState& s)
{
    if (s.ownToolTip && s.toolTip && ::IsWindow(s.toolTip))
        ::DestroyWindow(s.toolTip);
    s.toolTip = nullptr;
    s.ownToolTip = false;
}

// ---- messages ---------------------------------------------------------------------------------------------
bool HandleTrackbarMessage(TrackbarState& s, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    result = 0;
    switch (msg) {
    case TBM_GETPOS:
        result = s.pos;
        return true;
    case TBM_GETRANGEMIN:
        result = s.rangeMin;
        return true;
    case TBM_GETRANGEMAX:
        result = s.rangeMax;
        return true;
    case TBM_GETTIC:
        result = wp < s.tics.size() ? s.tics[wp] : -1;
        return true;
    case TBM_SETTIC:
        result = SetTic(s, static_cast<int>(lp));
        return true;
    case TBM_SETPOS: {
        const int p = ClampPosition(s, static_cast<int>(lp));
        if (p != s.pos) {
            s.pos = p;
            Redraw(s, wp);
        }
        return true;
    }
    case TBM_SETRANGE:
        s.rangeMin = LowShort(lp);
        s.rangeMax = HighShort(lp);
        RangeChanged(s);
        Redraw(s, wp);
        return true;
    case TBM_SETRANGEMIN:
        s.rangeMin = static_cast<int>(lp);
        RangeChanged(s);
        Redraw(s, wp);
        return true;
    case TBM_SETRANGEMAX:
        s.rangeMax = static_cast<int>(lp);
        RangeChanged(s);
        Redraw(s, wp);
        return true;
    case TBM_CLEARTICS:
        s.tics.clear();
        Redraw(s, wp);
        return true;
    case TBM_SETSEL:
        s.selStart = LowShort(lp);
        s.selEnd = HighShort(lp);
        Redraw(s, wp);
        return true;
    case TBM_SETSELSTART:
        s.selStart = static_cast<int>(lp);
        Redraw(s, wp);
        return true;
    case TBM_SETSELEND:
        s.selEnd = static_cast<int>(lp);
        Redraw(s, wp);
        return true;
    case TBM_GETSELSTART:
        result = s.selStart;
        return true;
    case TBM_GETSELEND:
        result = s.selEnd;
        return true;
    case TBM_CLEARSEL:
        s.selStart = s.selEnd = 0;
        Redraw(s, wp);
        return true;
    case TBM_GETPTICS:
        // Valid until the tics change, as the caller is told.
        result = s.tics.empty() ? 0 : reinterpret_cast<LRESULT>(s.tics.data());
        return true;
    case TBM_GETTICPOS:
        result = wp < s.tics.size() ? PositionToPixel(LayoutOf(s), s, s.tics[wp]) : -1;
        return true;
    case TBM_GETNUMTICS:
        result = (StyleOf(s.self) & TBS_NOTICKS) ? 0 : static_cast<LRESULT>(s.tics.size() + 2);
        return true;
    case TBM_SETTICFREQ:
        s.ticFreq = static_cast<int>(wp);
        if (StyleOf(s.self) & TBS_AUTOTICKS) {
            MakeAutoTics(s);
            RedrawTrackbar(s);
        }
        return true;
    case TBM_SETPAGESIZE:
        result = s.pageSize;
        s.pageSize = static_cast<int>(lp);
        s.pageSizeSet = true;
        return true;
    case TBM_GETPAGESIZE:
        result = s.pageSize;
        return true;
    case TBM_SETLINESIZE:
        result = s.lineSize;
        s.lineSize = static_cast<int>(lp);
        return true;
    case TBM_GETLINESIZE:
        result = s.lineSize;
        return true;
    case TBM_GETTHUMBRECT:
        if (lp)
            *reinterpret_cast<RECT*>(lp) = LayoutOf(s).thumb;
        return true;
    case TBM_GETCHANNELRECT:
        if (lp) {
            const TrackbarLayout l = LayoutOf(s);
            *reinterpret_cast<RECT*>(lp) = l.vertical ? Transposed(l.channel) : l.channel;
        }
        return true;
    case TBM_SETTHUMBLENGTH:
        if (StyleOf(s.self) & TBS_FIXEDLENGTH) {
            s.thumbLength = std::max(1, static_cast<int>(wp));
            RedrawTrackbar(s);
        }
        return true;
    case TBM_GETTHUMBLENGTH:
        result = LayoutOf(s).length;
        return true;
    case TBM_SETTOOLTIPS: {
        const auto tip = reinterpret_cast<HWND>(wp);
        if (tip != s.toolTip) {
            DropOwnTip(s);
            AttachTip(s, LiveOrNull(tip));
        }
        return true;
    }
    case TBM_GETTOOLTIPS:
        result = reinterpret_cast<LRESULT>(LiveOrNull(s.toolTip));
        return true;
    case TBM_SETTIPSIDE:
        result = s.tipSide;
        s.tipSide = static_cast<int>(wp);
        return true;
    case TBM_SETBUDDY: {
        HWND& slot = wp ? s.buddyLeft : s.buddyRight;
        result = reinterpret_cast<LRESULT>(LiveOrNull(slot));
        slot = reinterpret_cast<HWND>(lp);
        PlaceBuddy(s, slot, wp != 0);
        return true;
    }
    case TBM_GETBUDDY:
        result = reinterpret_cast<LRESULT>(LiveOrNull(wp ? s.buddyLeft : s.buddyRight));
        return true;
    case TBM_SETUNICODEFORMAT:
        result = TRUE; // always wide
        return true;
    case TBM_GETUNICODEFORMAT:
        result = TRUE;
        return true;
    default:
        return false;
    }
}

void OnCreate(TrackbarState& s)
{
    const DWORD style = StyleOf(s.self);
    s.tipSide = (style & TBS_VERT) ? TBTS_LEFT : TBTS_TOP;
    RangeChanged(s);
    if (style & TBS_TOOLTIPS) {
        const HWND tip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
            WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
            s.self, nullptr, nullptr, nullptr);
        if (tip) {
            s.ownToolTip = true;
            AttachTip(s, tip);
        }
    }
}

LRESULT TrackbarProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto st = std::make_shared<TrackbarState>();
        st->self = hwnd;
        zyn::user::SetControlState(hwnd, std::move(st));
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
    // Held for the whole message: the parent may destroy the control while it is told.
    const std::shared_ptr<TrackbarState> sp = zyn::user::ControlStateOf<TrackbarState>(hwnd);
    if (!sp)
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    TrackbarState& s = *sp;
    LRESULT result = 0;
    if (((msg >= WM_USER && msg < WM_USER + 64) || msg == TBM_SETUNICODEFORMAT || msg == TBM_GETUNICODEFORMAT) &&
        HandleTrackbarMessage(s, msg, wp, lp, result))
        return result;
    switch (msg) {
    case WM_CREATE:
        OnCreate(s);
        return 0;
    case WM_DESTROY:
        s.drag = TbDrag::None;
        ::KillTimer(hwnd, kTbRepeatTimer);
        DropOwnTip(s);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        if (dc)
            PaintTrackbar(s, dc);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintTrackbar(s, reinterpret_cast<HDC>(wp));
        return 0;
    case WM_ERASEBKGND:
        return 1; // WM_PAINT covers every pixel
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        TrackbarButtonDown(s, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return 0;
    case WM_MOUSEMOVE:
        TrackbarMouseMove(s, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return 0;
    case WM_LBUTTONUP:
        TrackbarButtonUp(s);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != hwnd)
            TrackbarCaptureLost(s);
        return 0;
    case WM_TIMER:
        if (wp == kTbRepeatTimer) {
            TrackbarTimer(s);
            return 0;
        }
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    case WM_KEYDOWN:
        if (TrackbarKeyDown(s, wp))
            return 0;
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    case WM_KEYUP:
        if (TrackbarKeyUp(s, wp))
            return 0;
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SYSCOLORCHANGE:
    case WM_STYLECHANGED:
        RedrawTrackbar(s);
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    case WM_WINDOWPOSCHANGED: {
        const LRESULT r = ::DefWindowProcW(hwnd, msg, wp, lp);
        const auto* wpos = reinterpret_cast<const WINDOWPOS*>(lp);
        if (wpos && (wpos->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE))
            PlaceBuddies(s);
        return r;
    }
    case WM_SETFONT:
        s.font = reinterpret_cast<HFONT>(wp);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s.font);
    default:
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace

void RedrawTrackbar(const TrackbarState& s)
{
    // Only invalidated: the parent's custom draw belongs to the paint, which comes when the
    // queue runs dry, never to the message that changed the trackbar.
    ::InvalidateRect(s.self, nullptr, FALSE);
}

void UpdatePositionTip(TrackbarState& s, bool show)
{
    if (!s.toolTip || !::IsWindow(s.toolTip))
        return;
    if (!show) {
        TTTOOLINFOW ti = TipTool(s, nullptr);
        ::SendMessageW(s.toolTip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
        return;
    }
    std::wstring text = std::to_wstring(s.pos);
    TTTOOLINFOW ti = TipTool(s, text.data());
    ::SendMessageW(s.toolTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    const auto size = static_cast<DWORD>(::SendMessageW(s.toolTip, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&ti)));
    const int w = LOWORD(size), h = HIWORD(size);
    const TrackbarLayout l = LayoutOf(s);
    RECT thumb = l.thumb;
    ::MapWindowPoints(s.self, nullptr, reinterpret_cast<POINT*>(&thumb), 2);
    const int cx = (thumb.left + thumb.right) / 2, cy = (thumb.top + thumb.bottom) / 2;
    POINT at{cx - w / 2, thumb.top - h - kTbMargin};
    switch (s.tipSide) {
    case TBTS_BOTTOM: at = POINT{cx - w / 2, thumb.bottom + kTbMargin}; break;
    case TBTS_LEFT: at = POINT{thumb.left - w - kTbMargin, cy - h / 2}; break;
    case TBTS_RIGHT: at = POINT{thumb.right + kTbMargin, cy - h / 2}; break;
    default: break;
    }
    ::SendMessageW(s.toolTip, TTM_TRACKPOSITION, 0, MAKELPARAM(static_cast<WORD>(at.x), static_cast<WORD>(at.y)));
    ::SendMessageW(s.toolTip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
}

} // namespace zyn::comctl::detail

namespace zyn::comctl {

BOOL RegisterTrackbarClass()
{
    WNDCLASSEXW have{};
    have.cbSize = sizeof have;
    if (::GetClassInfoExW(nullptr, TRACKBAR_CLASSW, &have) && have.lpfnWndProc == &detail::TrackbarProc)
        return TRUE;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
    wc.lpfnWndProc = &detail::TrackbarProc;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = TRACKBAR_CLASSW;
    return zyn::user::RegisterSystemClass(wc) ? TRUE : FALSE;
}

} // namespace zyn::comctl
