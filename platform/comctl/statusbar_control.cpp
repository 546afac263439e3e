// The status bar's window class: its window procedure (the SB_ messages in both forms and
// the window messages it answers), part tips, and the registration.
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>

#include "platform/base/codepage.h"
#include "platform/base/lasterror.h"
#include "platform/comctl/statusbar_state.h"
#include "platform/gdi/rect.h"
#include "platform/comctl/tooltip.h"
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

namespace zyn::comctl::detail {
namespace {

DWORD StyleOf(HWND h) { return static_cast<DWORD>(::GetWindowLongPtrW(h, GWL_STYLE)); }

// The part a message names: a part index, or 255 for the simple part; null when neither.
SbPart* PartAt(StatusBarState& s, size_t index)
{
    if (index == SB_SIMPLEID)
        return &s.simplePart;
    return index < s.parts.size() ? &s.parts[index] : nullptr;
}

void Redraw(const StatusBarState& s) { zyn::user::RedrawControl(s.self); }

// A new text repaints its own part only, so a busy pane does not repaint the whole bar.
void RedrawPart(const StatusBarState& s, size_t index)
{
    if (!::IsWindowVisible(s.self))
        return;
    const SbLayout l = LayoutOf(s);
    RECT rc{};
    if (index == SB_SIMPLEID)
        rc = l.simple;
    else if (index < l.parts.size())
        rc = l.parts[index];
    else
        return Redraw(s);
    ::InvalidateRect(s.self, &rc, FALSE);
    zyn::user::UpdateControlNow(s.self);
}

// SB_SETTEXT in both forms.
LRESULT SetText(StatusBarState& s, WPARAM wp, LPARAM lp, bool ansi)
{
    const UINT word = LOWORD(wp);
    SbPart* p = PartAt(s, word & 0xFF);
    if (!p) {
        ::SetLastError(ERROR_INVALID_INDEX);
        return FALSE;
    }
    const UINT type = word & 0xFF00;
    std::wstring text;
    if (!(type & SBT_OWNERDRAW) && lp) {
        if (ansi)
            text = zyn::base::AnsiToWide(reinterpret_cast<const char*>(lp));
        else
            text = reinterpret_cast<const wchar_t*>(lp);
    }
    if (text.size() > kSbMaxText) {
        // Its length would not fit SB_GETTEXTLENGTH's word, and a caller sizing a
        // buffer by it would be overrun: refuse it whole.
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    p->type = type;
    p->data = (type & SBT_OWNERDRAW) ? lp : 0;
    p->text = std::move(text);
    RedrawPart(s, word & 0xFF);
    return TRUE;
}

// SB_GETTEXT / SB_GETTEXTLENGTH in both forms: MAKELONG(length, type), or an owner-drawn
// part's value. `buffer` (may be null) receives the text and its terminator.
LRESULT GetText(StatusBarState& s, WPARAM wp, void* buffer, bool ansi, bool lengthOnly)
{
    SbPart* p = PartAt(s, wp);
    if (!p)
        return 0;
    size_t length = p->text.size();
    if (ansi) {
        const std::string narrow = zyn::base::WideToAnsi(p->text);
        length = std::min(narrow.size(), kSbMaxText);
        if (buffer && !lengthOnly) {
            std::memcpy(buffer, narrow.data(), length);
            static_cast<char*>(buffer)[length] = '\0';
        }
    } else if (buffer && !lengthOnly) {
        std::wmemcpy(static_cast<wchar_t*>(buffer), p->text.data(), length);
        static_cast<wchar_t*>(buffer)[length] = L'\0';
    }
    // An owner-drawn part answers its value (its buffer still gets the empty text, so a
    // caller that reads it finds a string).
    if ((p->type & SBT_OWNERDRAW) && !lengthOnly)
        return p->data;
    return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(length), static_cast<WORD>(p->type)));
}

LRESULT SetParts(StatusBarState& s, WPARAM count, const int* edges)
{
    if (count == 0 || count > static_cast<WPARAM>(kSbMaxParts) || !edges) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    s.edges.assign(edges, edges + count);
    s.parts.resize(count);
    SyncTipTools(s);
    Redraw(s);
    return TRUE;
}

// The part of SB_SETICON / SB_GETICON: -1 is the simple part.
SbPart* IconPart(StatusBarState& s, WPARAM wp)
{
    const int index = static_cast<int>(wp);
    if (index == -1)
        return &s.simplePart;
    return index >= 0 ? PartAt(s, static_cast<size_t>(index)) : nullptr;
}

LRESULT GetTipText(StatusBarState& s, WPARAM wp, void* buffer, bool ansi)
{
    SbPart* p = PartAt(s, LOWORD(wp));
    const size_t cap = HIWORD(wp);
    if (!p || !buffer || cap == 0)
        return 0;
    if (ansi) {
        const std::string narrow = zyn::base::WideToAnsi(p->tip);
        const size_t n = std::min(narrow.size(), cap - 1);
        std::memcpy(buffer, narrow.data(), n);
        static_cast<char*>(buffer)[n] = '\0';
    } else {
        const size_t n = std::min(p->tip.size(), cap - 1);
        std::wmemcpy(static_cast<wchar_t*>(buffer), p->tip.data(), n);
        static_cast<wchar_t*>(buffer)[n] = L'\0';
    }
    return 0;
}

void SetSimple(StatusBarState& s, bool simple)
{
    if (s.simple == simple)
        return;
    s.simple = simple;
    SyncTipTools(s);
    Redraw(s);
    NMHDR hdr{};
    SendNotify(s.self, SBN_SIMPLEMODECHANGE, hdr);
}

bool HandleStatusMessage(StatusBarState& s, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)
{
    result = 0;
    auto* ptr = reinterpret_cast<void*>(lp);
    switch (msg) {
    case SB_SETTEXTA:
    case SB_SETTEXTW:
        result = SetText(s, wp, lp, msg == SB_SETTEXTA);
        return true;
    case SB_GETTEXTA:
    case SB_GETTEXTW:
        result = GetText(s, wp, ptr, msg == SB_GETTEXTA, false);
        return true;
    case SB_GETTEXTLENGTHA:
    case SB_GETTEXTLENGTHW:
        result = GetText(s, wp, nullptr, msg == SB_GETTEXTLENGTHA, true);
        return true;
    case SB_SETPARTS:
        result = SetParts(s, wp, static_cast<const int*>(ptr));
        return true;
    case SB_GETPARTS:
        if (ptr) {
            const size_t n = std::min<size_t>(wp, s.edges.size());
            std::copy_n(s.edges.begin(), n, static_cast<int*>(ptr));
        }
        result = static_cast<LRESULT>(s.edges.size());
        return true;
    case SB_GETBORDERS:
        if (ptr) {
            auto* b = static_cast<int*>(ptr);
            b[0] = kSbHorzBorder;
            b[1] = kSbVertBorder;
            b[2] = kSbSpacing;
            result = TRUE;
        }
        return true;
    case SB_SETMINHEIGHT:
        s.minHeight = std::max(0, static_cast<int>(wp));
        return true;
    case SB_SIMPLE:
        SetSimple(s, wp != 0);
        result = TRUE;
        return true;
    case SB_ISSIMPLE:
        result = s.simple ? TRUE : FALSE;
        return true;
    case SB_GETRECT: {
        if (!ptr)
            return true;
        const SbLayout l = LayoutOf(s);
        if (wp == SB_SIMPLEID) {
            *static_cast<RECT*>(ptr) = l.simple;
            result = TRUE;
        } else if (wp < l.parts.size()) {
            *static_cast<RECT*>(ptr) = l.parts[wp];
            result = TRUE;
        }
        return true;
    }
    case SB_SETICON:
        if (SbPart* p = IconPart(s, wp)) {
            p->icon = reinterpret_cast<HICON>(lp);
            Redraw(s);
            result = TRUE;
        }
        return true;
    case SB_GETICON:
        if (SbPart* p = IconPart(s, wp))
            result = reinterpret_cast<LRESULT>(p->icon);
        return true;
    case SB_SETTIPTEXTA:
    case SB_SETTIPTEXTW:
        if (SbPart* p = PartAt(s, wp); p && wp != SB_SIMPLEID) {
            if (!lp)
                p->tip.clear();
            else if (msg == SB_SETTIPTEXTA)
                p->tip = zyn::base::AnsiToWide(static_cast<const char*>(ptr));
            else
                p->tip = static_cast<const wchar_t*>(ptr);
            SyncTipTools(s);
        }
        return true;
    case SB_GETTIPTEXTA:
    case SB_GETTIPTEXTW:
        result = GetTipText(s, wp, ptr, msg == SB_GETTIPTEXTA);
        return true;
    case SB_SETBKCOLOR:
        result = s.bkColor;
        s.bkColor = static_cast<COLORREF>(lp);
        Redraw(s);
        return true;
    case SB_SETUNICODEFORMAT:
    case SB_GETUNICODEFORMAT:
        result = TRUE; // always wide
        return true;
    default:
        return false;
    }
}

void Notify(StatusBarState& s, UINT code, LPARAM lp)
{
    NMMOUSE nm{};
    nm.pt = POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    const int part = PartFromPoint(s, nm.pt);
    nm.dwItemSpec = static_cast<DWORD_PTR>(static_cast<intptr_t>(part));
    if (const SbPart* p = part >= 0 ? PartAt(s, static_cast<size_t>(part)) : nullptr)
        nm.dwItemData = static_cast<DWORD_PTR>(p->data);
    SendNotify(s.self, code, nm.hdr);
}

void OnCreate(StatusBarState& s, const CREATESTRUCTW* cs)
{
    s.ansiParent = NotifyWindowWantsAnsi(s.self, NF_QUERY);
    MakeStatusFont(s);
    if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) {
        const std::wstring text = cs->lpszName;
        if (text.size() <= kSbMaxText)
            s.parts[0].text = text;
    }
    if (StyleOf(s.self) & SBARS_TOOLTIPS) {
        s.toolTip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, s.self, nullptr, nullptr, nullptr);
    }
    PlaceStatusBar(s);
}

LRESULT StatusBarProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto st = std::make_shared<StatusBarState>();
        st->self = hwnd;
        zyn::user::SetControlState(hwnd, std::move(st));
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
    // Held for the whole message: the parent may destroy the bar while it is told.
    const std::shared_ptr<StatusBarState> sp = zyn::user::ControlStateOf<StatusBarState>(hwnd);
    if (!sp)
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    StatusBarState& s = *sp;
    LRESULT result = 0;
    if (HandleStatusMessage(s, msg, wp, lp, result))
        return result;
    switch (msg) {
    case WM_CREATE:
        OnCreate(s, reinterpret_cast<const CREATESTRUCTW*>(lp));
        return 0;
    case WM_NOTIFYFORMAT:
        if (lp == NF_REQUERY)
            s.ansiParent = NotifyWindowWantsAnsi(s.self, NF_QUERY);
        return NFR_UNICODE;
    case WM_DESTROY:
        if (s.toolTip && ::IsWindow(s.toolTip))
            ::DestroyWindow(s.toolTip);
        s.toolTip = nullptr;
        return 0;
    case WM_SIZE: {
        PlaceStatusBar(s);
        SyncTipTools(s);
        ::InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        if (dc)
            PaintStatusBar(s, dc);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintStatusBar(s, reinterpret_cast<HDC>(wp));
        return 0;
    case WM_ERASEBKGND:
        return 1; // WM_PAINT covers every pixel
    case WM_SETTEXT: {
        const LRESULT ok = SetText(s, MAKEWPARAM(s.parts[0].type & ~SBT_OWNERDRAW, 0), lp, false);
        return ok;
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(s.parts[0].text.size());
    case WM_GETTEXT: {
        if (!lp || wp == 0)
            return 0;
        const size_t n = std::min(s.parts[0].text.size(), static_cast<size_t>(wp) - 1);
        std::wmemcpy(reinterpret_cast<wchar_t*>(lp), s.parts[0].text.data(), n);
        reinterpret_cast<wchar_t*>(lp)[n] = L'\0';
        return static_cast<LRESULT>(n);
    }
    case WM_SETFONT:
        s.font = wp ? reinterpret_cast<HFONT>(wp) : s.ownFont;
        if (LOWORD(lp))
            Redraw(s);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s.font);
    case WM_SETTINGCHANGE:
        MakeStatusFont(s);
        Redraw(s);
        return 0;
    case WM_SYSCOLORCHANGE:
        Redraw(s);
        return 0;
    case WM_STYLECHANGED:
        SyncTipTools(s); // the grip may have come or gone
        Redraw(s);
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    case WM_NCHITTEST: {
        POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ::ScreenToClient(hwnd, &pt);
        const SbLayout l = LayoutOf(s);
        const HWND parent = ::GetParent(hwnd);
        if (::PtInRect(&l.grip, pt) && parent && (::GetWindowLongPtrW(parent, GWL_STYLE) & WS_THICKFRAME))
            return HTBOTTOMRIGHT;
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
    case WM_NCLBUTTONDOWN:
        // The grip sizes the parent, not the bar.
        if (wp == HTBOTTOMRIGHT) {
            if (const HWND parent = ::GetParent(hwnd)) {
                ::SendMessageW(parent, WM_SYSCOMMAND, SC_SIZE | WMSZ_BOTTOMRIGHT, lp);
                return 0;
            }
        }
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    case WM_LBUTTONUP:
        Notify(s, NM_CLICK, lp);
        return 0;
    case WM_LBUTTONDBLCLK:
        Notify(s, NM_DBLCLK, lp);
        return 0;
    case WM_RBUTTONUP:
        Notify(s, NM_RCLICK, lp);
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    case WM_RBUTTONDBLCLK:
        Notify(s, NM_RDBLCLK, lp);
        return 0;
    default:
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace

void SyncTipTools(StatusBarState& s)
{
    if (!s.toolTip || !::IsWindow(s.toolTip))
        return;
    // The tools are the parts with tips (ID = part index), all made again from the parts.
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    while (::SendMessageW(s.toolTip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&ti))) {
        ::SendMessageW(s.toolTip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
        ti = TTTOOLINFOW{};
        ti.cbSize = sizeof ti;
    }
    if (s.simple)
        return;
    const SbLayout l = LayoutOf(s);
    for (size_t i = 0; i < s.parts.size() && i < l.parts.size(); ++i) {
        if (s.parts[i].tip.empty())
            continue;
        TTTOOLINFOW add{};
        add.cbSize = sizeof add;
        add.uFlags = TTF_SUBCLASS;
        add.hwnd = s.self;
        add.uId = i;
        add.rect = l.parts[i];
        add.lpszText = s.parts[i].tip.data();
        ::SendMessageW(s.toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&add));
    }
}

} // namespace zyn::comctl::detail

namespace zyn::comctl {

BOOL RegisterStatusBarClass()
{
    WNDCLASSEXW have{};
    have.cbSize = sizeof have;
    if (::GetClassInfoExW(nullptr, STATUSCLASSNAMEW, &have) && have.lpfnWndProc == &detail::StatusBarProc)
        return TRUE;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
    wc.lpfnWndProc = &detail::StatusBarProc;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = STATUSCLASSNAMEW;
    return zyn::user::RegisterSystemClass(wc) ? TRUE : FALSE;
}

} // namespace zyn::comctl

HWND CreateStatusWindowW(LONG style, LPCWSTR lpszText, HWND hwndParent, UINT wID)
{
    return ::CreateWindowExW(0, STATUSCLASSNAMEW, lpszText, static_cast<DWORD>(style), -100, -100, 10, 10, hwndParent,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(wID)), nullptr, nullptr);
}

HWND CreateStatusWindow(LONG style, LPCWSTR lpszText, HWND hwndParent, UINT wID)
{
    return CreateStatusWindowW(style, lpszText, hwndParent, wID);
}
