// The toolbar control's window class: its window procedure (the TB_ messages not handled
// by the button, image and layout files, and the window messages), its notifications and
// its registration.
#include <atomic>

#include "platform/base/lasterror.h"
#include "platform/comctl/toolbar_state.h"
#include "platform/gdi/rect.h"
#include "platform/comctl/tooltip.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/styles.h"
#include "platform/user/user_hooks.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::comctl {

namespace tb {

namespace {
std::atomic<size_t> g_live{0};
} // namespace

ToolbarState::ToolbarState() { ++g_live; }

ToolbarState::~ToolbarState()
{
    if (ownList)
        ::ImageList_Destroy(ownList);
    if (ownFont)
        ::DeleteObject(ownFont);
    if (dither)
        ::DeleteObject(dither);
    --g_live;
}

DWORD ToolbarState::Style() const { return static_cast<DWORD>(::GetWindowLongPtrW(self, GWL_STYLE)); }
bool ToolbarState::Flat() const { return (Style() & TBSTYLE_FLAT) != 0; }

std::shared_ptr<ToolbarState> StateOf(HWND hwnd) { return zyn::user::ControlStateOf<ToolbarState>(hwnd); }

LRESULT Notify(ToolbarState& s, UINT code, NMHDR& hdr)
{
    hdr.hwndFrom = s.self;
    hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(s.self));
    hdr.code = code;
    if (!s.notify || !::IsWindow(s.notify) || s.destroyed)
        return 0;
    return ::SendMessageW(s.notify, WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
}

LRESULT NotifyButton(ToolbarState& s, UINT code, int iItem, const Button* b)
{
    NMTOOLBARW nm{};
    nm.iItem = iItem;
    if (b) {
        nm.tbButton = WriteButton(*b);
        nm.rcButton = b->rect;
    }
    return Notify(s, code, nm.hdr);
}

void Redraw(ToolbarState& s)
{
    // Painting relies on the erase for the background, so the erase is asked for. Nothing
    // is painted here: the custom draw a paint sends belongs to WM_PAINT, not to the
    // message that changed the toolbar.
    if (s.destroyed || !::IsWindowVisible(s.self))
        return;
    ::InvalidateRect(s.self, nullptr, TRUE);
}

void Changed(ToolbarState& s)
{
    if (s.destroyed)
        return;
    Layout(s);
    SyncTools(s);
    Redraw(s);
}

namespace {

void MakeFont(ToolbarState& s)
{
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    if (s.ownFont)
        ::DeleteObject(s.ownFont);
    s.ownFont = ::CreateFontIndirectW(&ncm.lfMessageFont);
    if (!s.font || s.font == s.ownFont)
        s.font = s.ownFont;
}

void QueryNotifyFormat(ToolbarState& s)
{
    s.ansiNotify = false;
    if (s.notify && ::IsWindow(s.notify))
        s.ansiNotify = ::SendMessageW(s.notify, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(s.self), NF_QUERY) ==
            NFR_ANSI;
}

LRESULT SetHotItem(ToolbarState& s, WPARAM index)
{
    const int old = s.hot;
    // Only flat (and list) toolbars have a hot item.
    if (!s.HotTracking())
        return old;
    int want = static_cast<int>(static_cast<INT_PTR>(index));
    const Button* b = s.At(want);
    if (!b || b->IsSeparator() || b->IsHidden())
        want = -1;
    SetHot(s, want, HICF_OTHER);
    return old;
}

LRESULT SetInsertMark(ToolbarState& s, const TBINSERTMARK* mark)
{
    if (!mark)
        return 0;
    TBINSERTMARK want = *mark;
    if (want.iButton < -1 || want.iButton >= s.Count())
        want = TBINSERTMARK{-1, 0};
    if (want.iButton != s.mark.iButton || want.dwFlags != s.mark.dwFlags) {
        s.mark = want;
        Redraw(s);
    }
    return 0;
}

bool HandleOther(ToolbarState& s, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    auto* ptr = reinterpret_cast<void*>(lp);
    switch (msg) {
    case TB_GETTOOLTIPS:
        result = reinterpret_cast<LRESULT>(s.tooltip);
        return true;
    case TB_SETTOOLTIPS:
        // The application's tooltip; ours (if any) stays alive until the toolbar goes, as
        // the caller may have taken its handle with TB_GETTOOLTIPS.
        s.tooltip = reinterpret_cast<HWND>(wp);
        SyncTools(s);
        return true;
    case TB_SETPARENT: {
        const HWND old = s.notify;
        s.notify = reinterpret_cast<HWND>(wp);
        QueryNotifyFormat(s);
        result = reinterpret_cast<LRESULT>(old);
        return true;
    }
    case TB_CUSTOMIZE:
        Customize(s);
        return true;
    case TB_SAVERESTOREW:
    case TB_SAVERESTOREA:
        result = SaveRestore(s, wp != 0, ptr, msg == TB_SAVERESTOREA);
        return true;
    case TB_GETHOTITEM:
        result = s.hot;
        return true;
    case TB_SETHOTITEM:
        result = SetHotItem(s, wp);
        return true;
    case TB_SETANCHORHIGHLIGHT:
        result = s.anchor ? TRUE : FALSE;
        s.anchor = wp != 0;
        return true;
    case TB_GETANCHORHIGHLIGHT:
        result = s.anchor ? TRUE : FALSE;
        return true;
    case TB_GETINSERTMARK:
        if (ptr)
            *static_cast<TBINSERTMARK*>(ptr) = s.mark;
        return true;
    case TB_SETINSERTMARK:
        result = SetInsertMark(s, static_cast<const TBINSERTMARK*>(ptr));
        return true;
    case TB_INSERTMARKHITTEST:
        if (!ptr || !wp)
            return true;
        {
            TBINSERTMARK out{};
            const bool on = InsertMarkHitTest(s, *reinterpret_cast<const POINT*>(wp), out);
            *static_cast<TBINSERTMARK*>(ptr) = out;
            result = on ? TRUE : FALSE;
        }
        return true;
    case TB_SETINSERTMARKCOLOR:
        result = static_cast<LRESULT>(s.markColor.value_or(::GetSysColor(COLOR_BTNTEXT)));
        s.markColor = static_cast<COLORREF>(lp);
        Redraw(s);
        return true;
    case TB_GETINSERTMARKCOLOR:
        result = static_cast<LRESULT>(s.markColor.value_or(::GetSysColor(COLOR_BTNTEXT)));
        return true;
    case TB_SETSTYLE:
        ::SetWindowLongPtrW(s.self, GWL_STYLE, static_cast<LONG_PTR>(static_cast<DWORD>(lp)));
        return true;
    case TB_GETSTYLE:
        result = static_cast<LRESULT>(s.Style());
        return true;
    case TB_SETEXTENDEDSTYLE: {
        result = static_cast<LRESULT>(s.exStyle);
        // wParam 0: lParam is the whole style; else the bits of wParam take lParam's.
        const auto mask = static_cast<DWORD>(wp);
        const auto bits = static_cast<DWORD>(lp);
        s.exStyle = mask ? ((s.exStyle & ~mask) | (bits & mask)) : bits;
        Changed(s);
        return true;
    }
    case TB_GETEXTENDEDSTYLE:
        result = static_cast<LRESULT>(s.exStyle);
        return true;
    case TB_SETDRAWTEXTFLAGS:
        result = static_cast<LRESULT>(s.drawTextFlags);
        s.drawTextMask = static_cast<DWORD>(wp);
        s.drawTextFlags = static_cast<DWORD>(lp) & s.drawTextMask;
        Redraw(s);
        return true;
    default:
        return false;
    }
}

LRESULT ToolbarProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto st = std::make_shared<ToolbarState>();
        st->self = hwnd;
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lp);
        st->notify = cs && cs->hwndParent ? cs->hwndParent : zyn::user::NotifyTarget(hwnd);
        zyn::user::SetControlState(hwnd, st);
        // A toolbar that names no side of its parent takes the top one.
        const LONG style = ::GetWindowLongW(hwnd, GWL_STYLE);
        if ((static_cast<DWORD>(style) & (CCS_TOP | CCS_NOMOVEY)) == 0)
            ::SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(static_cast<DWORD>(style) | CCS_TOP));
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
    const std::shared_ptr<ToolbarState> sp = StateOf(hwnd);
    if (!sp)
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    ToolbarState& s = *sp;
    if (msg >= WM_USER && msg < WM_USER + 0x100) {
        bool handled = false;
        LRESULT r = HandleButtonMessage(s, msg, wp, lp, handled);
        if (!handled)
            r = HandleImageMessage(s, msg, wp, lp, handled);
        if (!handled)
            r = HandleLayoutMessage(s, msg, wp, lp, handled);
        if (!handled && HandleOther(s, msg, wp, lp, r))
            handled = true;
        if (handled)
            return r;
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
    if ((msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || msg == WM_MOUSELEAVE) {
        RelayToTip(s, msg, wp, lp);
        return HandleMouse(s, msg, wp, lp);
    }
    switch (msg) {
    case WM_CREATE:
        MakeFont(s);
        QueryNotifyFormat(s);
        if (s.Style() & TBSTYLE_TOOLTIPS)
            CreateToolTip(s);
        Layout(s);
        return 0;
    case WM_NCCALCSIZE: {
        const LRESULT r = ::DefWindowProcW(hwnd, msg, wp, lp);
        auto* rc = reinterpret_cast<RECT*>(lp);
        if (rc && !(s.Style() & CCS_NODIVIDER)) {
            rc->top += kDividerHeight;
            if (rc->bottom < rc->top)
                rc->bottom = rc->top;
        }
        return r;
    }
    case WM_NCPAINT:
        ::DefWindowProcW(hwnd, msg, wp, lp);
        PaintNonClient(s);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        if (dc)
            Paint(s, dc, &ps.rcPaint);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        if (lp & PRF_ERASEBKGND)
            Erase(s, reinterpret_cast<HDC>(wp));
        Paint(s, reinterpret_cast<HDC>(wp), nullptr);
        return 0;
    case WM_ERASEBKGND:
        return Erase(s, reinterpret_cast<HDC>(wp));
    case WM_SIZE:
        if (s.Style() & (TBSTYLE_WRAPABLE | CCS_VERT)) {
            Changed(s);
        } else if (s.exStyle & TBSTYLE_EX_HIDECLIPPEDBUTTONS) {
            Redraw(s);
        }
        return 0;
    case WM_STYLECHANGED:
        Changed(s);
        return 0;
    case WM_SETFONT:
        s.font = wp ? reinterpret_cast<HFONT>(wp) : s.ownFont;
        Layout(s);
        SyncTools(s);
        if (LOWORD(lp))
            Redraw(s);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s.font);
    case WM_SETTINGCHANGE:
        if (s.font == s.ownFont) {
            s.font = nullptr;
            MakeFont(s);
        }
        Changed(s);
        return 0;
    case WM_SYSCOLORCHANGE:
        Redraw(s);
        return 0;
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        if (hdr && s.tooltip && hdr->hwndFrom == s.tooltip &&
            (hdr->code == TTN_GETDISPINFOW || hdr->code == TTN_GETDISPINFOA))
            return AnswerTipText(s, hdr);
        // Other notifications of children (windows put over separators) go up.
        if (s.notify && ::IsWindow(s.notify))
            return ::SendMessageW(s.notify, WM_NOTIFY, wp, lp);
        return 0;
    }
    case WM_COMMAND:
        // Commands of windows hosted on the toolbar reach its parent.
        if (lp && s.notify && ::IsWindow(s.notify))
            return ::SendMessageW(s.notify, WM_COMMAND, wp, lp);
        return 0;
    case WM_NOTIFYFORMAT:
        if (lp == NF_REQUERY)
            QueryNotifyFormat(s);
        return NFR_UNICODE;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
        if (msg == WM_CANCELMODE || reinterpret_cast<HWND>(lp) != hwnd)
            CancelMouse(s);
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    case WM_ENABLE:
        Redraw(s);
        return 0;
    case WM_DESTROY:
        CancelMouse(s);
        if (s.ownTooltip && s.tooltip && ::IsWindow(s.tooltip)) {
            const HWND tip = s.tooltip;
            s.tooltip = nullptr;
            ::DestroyWindow(tip);
        }
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    case WM_NCDESTROY:
        s.destroyed = true;
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    default:
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace

} // namespace tb

BOOL RegisterToolbarClass()
{
    WNDCLASSEXW have{};
    have.cbSize = sizeof have;
    if (::GetClassInfoExW(nullptr, TOOLBARCLASSNAMEW, &have) && have.lpfnWndProc == &tb::ToolbarProc)
        return TRUE;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
    wc.lpfnWndProc = &tb::ToolbarProc;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = TOOLBARCLASSNAMEW;
    return zyn::user::RegisterSystemClass(wc) ? TRUE : FALSE;
}

size_t LiveToolbarCount() { return tb::g_live.load(); }

} // namespace zyn::comctl
