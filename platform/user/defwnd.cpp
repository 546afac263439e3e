// DefWindowProc: the default answers to every message the window system defines.
#include <algorithm>
#include <cstring>

#include "platform/base/lasterror.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/caret_internal.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/popup_menu.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/queue_internal.h"
#include "platform/user/styles.h"
#include "platform/user/user_hooks.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/wnd_internal.h"

namespace zyn::user {
namespace {

HWND ParentOfChild(HWND hwnd)
{
    auto w = PeekWnd(hwnd);
    if (!w)
        return nullptr;
    auto lock = LockUser();
    if (w->IsChild() && w->parent && !w->parent->isDesktop && !w->parent->isMessageRoot)
        return w->parent->hwnd;
    return nullptr;
}

LRESULT OnWindowPosChanged(HWND hwnd, const WINDOWPOS* wp)
{
    if (!wp)
        return 0;
    auto w = PeekWnd(hwnd);
    if (!w)
        return 0;
    RECT rc;
    POINT org;
    DWORD style;
    {
        auto lock = LockUser();
        rc = w->rcClient;
        org = ClientOrigin(w->parent);
        style = w->style;
        // A size reported here is one a window created hidden no longer needs at its
        // first showing.
        if (!(wp->flags & SWP_NOCLIENTSIZE))
            w->sendSizeMove = false;
    }
    if (!(wp->flags & SWP_NOCLIENTMOVE))
        SendMsg(hwnd, WM_MOVE, 0,
            MAKELPARAM(static_cast<WORD>(rc.left - org.x), static_cast<WORD>(rc.top - org.y)));
    if (!(wp->flags & SWP_NOCLIENTSIZE)) {
        WPARAM kind = SIZE_RESTORED;
        if (style & WS_MINIMIZE)
            kind = SIZE_MINIMIZED;
        else if (style & WS_MAXIMIZE)
            kind = SIZE_MAXIMIZED;
        SendMsg(hwnd, WM_SIZE, kind,
            MAKELPARAM(static_cast<WORD>(rc.right - rc.left), static_cast<WORD>(rc.bottom - rc.top)));
    }
    return 0;
}

// A sizable or overlapped window being sized asks its limits (even when it is being
// minimised, which then takes its own size); a restored window keeps to the tracking sizes.
LRESULT OnWindowPosChanging(HWND hwnd, WINDOWPOS* wp)
{
    if (!wp || (wp->flags & SWP_NOSIZE))
        return 0;
    auto w = PeekWnd(hwnd);
    if (!w)
        return 0;
    DWORD style;
    {
        auto lock = LockUser();
        style = w->style;
    }
    if (!((style & WS_THICKFRAME) || !(style & (WS_POPUP | WS_CHILD))))
        return 0;
    MINMAXINFO mmi = DefaultMinMaxInfo(hwnd);
    SendMsg(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    if (style & (WS_MINIMIZE | WS_MAXIMIZE))
        return 0; // the state's own rectangle stands
    wp->cx = std::clamp<int>(wp->cx, std::min(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x), mmi.ptMaxTrackSize.x);
    wp->cy = std::clamp<int>(wp->cy, std::min(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y), mmi.ptMaxTrackSize.y);
    return 0;
}

LRESULT OnSetCursor(HWND hwnd, WPARAM wp, LPARAM lp)
{
    if (HWND parent = ParentOfChild(hwnd))
        if (SendMsg(parent, WM_SETCURSOR, wp, lp))
            return TRUE;
    const int ht = static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(lp)));
    const UINT mouseMsg = HIWORD(static_cast<uintptr_t>(lp));
    if (ht == HTERROR) {
        if (mouseMsg == WM_LBUTTONDOWN || mouseMsg == WM_RBUTTONDOWN || mouseMsg == WM_MBUTTONDOWN)
            MessageBeep(0);
        return FALSE;
    }
    if (ht == HTCLIENT) {
        auto w = PeekWnd(hwnd);
        HCURSOR c = nullptr;
        if (w) {
            auto lock = LockUser();
            c = w->cls->cursor;
        }
        if (c) {
            SetCursor(c);
            return TRUE;
        }
        return FALSE;
    }
    // The frame's cursors come from the cursor set the cursor layer provides.
    if (HCURSOR c = SystemCursorForHitTest(ht)) {
        SetCursor(c);
        return TRUE;
    }
    return FALSE;
}

WPARAM SizeCommandFor(int ht)
{
    switch (ht) {
    case HTLEFT: return SC_SIZE | WMSZ_LEFT;
    case HTRIGHT: return SC_SIZE | WMSZ_RIGHT;
    case HTTOP: return SC_SIZE | WMSZ_TOP;
    case HTTOPLEFT: return SC_SIZE | WMSZ_TOPLEFT;
    case HTTOPRIGHT: return SC_SIZE | WMSZ_TOPRIGHT;
    case HTBOTTOM: return SC_SIZE | WMSZ_BOTTOM;
    case HTBOTTOMLEFT: return SC_SIZE | WMSZ_BOTTOMLEFT;
    case HTBOTTOMRIGHT: return SC_SIZE | WMSZ_BOTTOMRIGHT;
    default: return 0;
    }
}

LRESULT OnNcLButtonDown(HWND hwnd, WPARAM wp, LPARAM lp)
{
    const int ht = static_cast<int>(wp);
    switch (ht) {
    case HTCAPTION:
        SendMsg(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lp);
        break;
    case HTSYSMENU:
        SendMsg(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU | HTSYSMENU, lp);
        break;
    case HTMENU:
        SendMsg(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU, lp);
        break;
    case HTHSCROLL:
        SendMsg(hwnd, WM_SYSCOMMAND, SC_HSCROLL | HTHSCROLL, lp);
        break;
    case HTVSCROLL:
        SendMsg(hwnd, WM_SYSCOMMAND, SC_VSCROLL | HTVSCROLL, lp);
        break;
    case HTMINBUTTON:
    case HTMAXBUTTON:
    case HTCLOSE:
    case HTHELP:
        if (TrackCaptionButton(hwnd, ht)) {
            WPARAM cmd = SC_CLOSE;
            if (ht == HTMINBUTTON)
                cmd = IsIconic(hwnd) ? SC_RESTORE : SC_MINIMIZE;
            else if (ht == HTMAXBUTTON)
                cmd = IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE;
            else if (ht == HTHELP)
                cmd = SC_CONTEXTHELP;
            SendMsg(hwnd, WM_SYSCOMMAND, cmd, lp);
        }
        break;
    default:
        if (WPARAM cmd = SizeCommandFor(ht))
            SendMsg(hwnd, WM_SYSCOMMAND, cmd, lp);
        break;
    }
    return 0;
}

LRESULT OnSysCommand(HWND hwnd, WPARAM wp, LPARAM lp)
{
    if (HasHooks(WH_CBT) && CallHooks(WH_CBT, HCBT_SYSCOMMAND, wp, lp))
        return 0;
    const WPARAM cmd = wp & 0xFFF0;
    const POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    switch (cmd) {
    case SC_CLOSE:
        SendMsg(hwnd, WM_CLOSE, 0, 0);
        break;
    case SC_MINIMIZE:
        ShowWindow(hwnd, SW_MINIMIZE);
        break;
    case SC_MAXIMIZE:
        ShowWindow(hwnd, SW_MAXIMIZE);
        break;
    case SC_RESTORE:
        ShowWindow(hwnd, SW_RESTORE);
        break;
    case SC_MOVE:
    case SC_SIZE:
        MoveSizeLoop(hwnd, wp, pt);
        break;
    case SC_HSCROLL:
    case SC_VSCROLL:
        TrackScrollBar(hwnd, cmd == SC_HSCROLL ? SB_HORZ : SB_VERT, pt);
        break;
    case SC_KEYMENU:
    case SC_MOUSEMENU: {
        const auto& hooks = GetMenuBarHooks();
        if (hooks.track)
            hooks.track(hwnd, wp, lp);
        break;
    }
    default:
        break;
    }
    return 0;
}

LRESULT OnPrint(HWND hwnd, HDC hdc, LPARAM flags)
{
    auto w = PeekWnd(hwnd);
    if (!w || !hdc)
        return 0;
    if ((flags & PRF_CHECKVISIBLE) && !IsWindowVisible(hwnd))
        return 0;
    RECT rcWindow, rcClient;
    std::vector<HWND> kids;
    {
        auto lock = LockUser();
        rcWindow = w->rcWindow;
        rcClient = w->rcClient;
        // Bottom of the z-order first, so the topmost child ends on top.
        for (auto it = w->children.rbegin(); it != w->children.rend(); ++it)
            if ((*it)->style & WS_VISIBLE)
                kids.push_back((*it)->hwnd);
    }
    if (flags & PRF_NONCLIENT) {
        const int saved = SaveDC(hdc);
        NcDrawInto(hwnd, hdc);
        RestoreDC(hdc, saved);
    }
    const int dx = rcClient.left - rcWindow.left, dy = rcClient.top - rcWindow.top;
    const int saved = SaveDC(hdc);
    OffsetViewportOrgEx(hdc, dx, dy, nullptr);
    IntersectClipRect(hdc, 0, 0, rcClient.right - rcClient.left, rcClient.bottom - rcClient.top);
    if (flags & PRF_ERASEBKGND)
        SendMsg(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    if (flags & PRF_CLIENT)
        SendMsg(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hdc), flags);
    if (flags & PRF_CHILDREN) {
        for (HWND k : kids) {
            auto kw = PeekWnd(k);
            if (!kw)
                continue;
            RECT kr;
            {
                auto lock = LockUser();
                kr = kw->rcWindow;
            }
            const int s2 = SaveDC(hdc);
            OffsetViewportOrgEx(hdc, kr.left - rcClient.left, kr.top - rcClient.top, nullptr);
            IntersectClipRect(hdc, 0, 0, kr.right - kr.left, kr.bottom - kr.top);
            SendMsg(k, WM_PRINT, reinterpret_cast<WPARAM>(hdc), flags | PRF_NONCLIENT | PRF_CLIENT);
            RestoreDC(hdc, s2);
        }
    }
    RestoreDC(hdc, saved);
    return 0;
}

LRESULT OnCtlColor(UINT msg, HDC hdc)
{
    int bk = COLOR_3DFACE;
    if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX)
        bk = COLOR_WINDOW;
    if (msg == WM_CTLCOLORSCROLLBAR)
        return reinterpret_cast<LRESULT>(ClassicScrollTrackBrush(hdc));
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(hdc, GetSysColor(bk));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(bk));
}

// Alt pressed and released on its own opens the menu bar; tracked per thread.
thread_local bool t_altAlone = false;

} // namespace
} // namespace zyn::user

using namespace zyn::user;
using zyn::user::Window;

LRESULT DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    // Every message with a default answer is one of the system's, below WM_USER; the
    // application's own messages (which reach here unanswered by the thousand) get 0
    // without a look-up.
    if (Msg >= WM_USER)
        return 0;
    // The text is asked for often (every tab, every title): read where it is kept,
    // without a reference to the window.
    if (Msg == WM_GETTEXT) {
        auto* buf = reinterpret_cast<LPWSTR>(lParam);
        if (!buf || wParam == 0)
            return 0;
        auto lock = LockUser();
        const Window* w = PeekLockedWnd(hWnd);
        if (!w)
            return 0;
        const size_t n = std::min(w->text.size(), static_cast<size_t>(wParam - 1));
        std::wmemcpy(buf, w->text.data(), n);
        buf[n] = L'\0';
        return static_cast<LRESULT>(n);
    }
    if (Msg == WM_GETTEXTLENGTH) {
        auto lock = LockUser();
        const Window* w = PeekLockedWnd(hWnd);
        return w ? static_cast<LRESULT>(w->text.size()) : 0;
    }
    auto w = PeekWnd(hWnd);
    if (!w)
        return 0;
    switch (Msg) {
    case WM_NCCREATE: {
        auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto lock = LockUser();
        if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName))
            w->text = cs->lpszName;
        return TRUE;
    }
    case WM_NCCALCSIZE: {
        if (!lParam)
            return 0;
        auto lock = LockUser();
        if (wParam) {
            auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
            p->rgrc[0] = DefaultClientRect(*w, p->rgrc[0]);
        } else {
            auto* r = reinterpret_cast<RECT*>(lParam);
            *r = DefaultClientRect(*w, *r);
        }
        return 0;
    }
    case WM_NCHITTEST:
        return NcHitTest(hWnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_NCPAINT: {
        if (wParam == 1 || !wParam) {
            NcPaint(hWnd, nullptr);
        } else {
            auto r = zyn::gdi::RegionFromHandle(reinterpret_cast<HGDIOBJ>(wParam));
            if (r)
                NcPaint(hWnd, &r->rgn);
            else
                NcPaint(hWnd, nullptr);
        }
        return 0;
    }
    case WM_NCACTIVATE: {
        {
            auto lock = LockUser();
            w->ncActive = wParam != 0;
        }
        if (lParam != -1 && IsWindowVisible(hWnd))
            NcPaint(hWnd, nullptr);
        return TRUE;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(hWnd))
            SetFocus(hWnd);
        return 0;
    case WM_MOUSEACTIVATE:
        if (HWND parent = ParentOfChild(hWnd))
            if (LRESULT r = SendMsg(parent, WM_MOUSEACTIVATE, wParam, lParam))
                return r;
        return MA_ACTIVATE;
    case WM_SETCURSOR:
        return OnSetCursor(hWnd, wParam, lParam);
    case WM_WINDOWPOSCHANGING:
        return OnWindowPosChanging(hWnd, reinterpret_cast<WINDOWPOS*>(lParam));
    case WM_WINDOWPOSCHANGED:
        return OnWindowPosChanged(hWnd, reinterpret_cast<const WINDOWPOS*>(lParam));
    case WM_SETTEXT: {
        bool caption;
        {
            auto lock = LockUser();
            w->text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"";
            caption = (w->style & WS_CAPTION) == WS_CAPTION;
        }
        if (caption && IsWindowVisible(hWnd)) {
            // Only the caption shows the text: the rest of the frame is left as it is.
            RECT cap = ComputeNcLayout(hWnd).caption;
            RECT win{};
            GetWindowRect(hWnd, &win);
            OffsetRect(&cap, win.left, win.top);
            const Region band(cap);
            NcPaint(hWnd, &band);
        }
        return TRUE;
    }
    case WM_ERASEBKGND: {
        HBRUSH br;
        {
            auto lock = LockUser();
            br = w->cls->background;
        }
        if (!br || !wParam)
            return 0;
        RECT rc;
        GetClientRect(hWnd, &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, br);
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (BeginPaint(hWnd, &ps))
            EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_PRINT:
        return OnPrint(hWnd, reinterpret_cast<HDC>(wParam), lParam);
    case WM_PRINTCLIENT:
        PaintIntoDc(hWnd, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SYNCPAINT:
        RedrawWindow(hWnd, nullptr, nullptr, RDW_ERASENOW | RDW_FRAME | RDW_ALLCHILDREN);
        return 0;
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_SYSCOMMAND:
        return OnSysCommand(hWnd, wParam, lParam);
    case WM_NCLBUTTONDOWN:
        return OnNcLButtonDown(hWnd, wParam, lParam);
    case WM_NCLBUTTONDBLCLK: {
        const int ht = static_cast<int>(wParam);
        DWORD style;
        {
            auto lock = LockUser();
            style = w->style;
        }
        if (ht == HTCAPTION && (style & WS_MAXIMIZEBOX))
            SendMsg(hWnd, WM_SYSCOMMAND, (style & (WS_MAXIMIZE | WS_MINIMIZE)) ? SC_RESTORE : SC_MAXIMIZE, lParam);
        else if (ht == HTSYSMENU)
            SendMsg(hWnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
        else if (ht == HTHSCROLL || ht == HTVSCROLL)
            return OnNcLButtonDown(hWnd, wParam, lParam);
        return 0;
    }
    case WM_RBUTTONUP: {
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(hWnd, &pt);
        SendMsg(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
        return 0;
    }
    case WM_NCRBUTTONUP:
        if (wParam == HTCAPTION || wParam == HTSYSMENU)
            SendMsg(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), lParam);
        return 0;
    case WM_CONTEXTMENU:
        if (HWND parent = ParentOfChild(hWnd))
            SendMsg(parent, WM_CONTEXTMENU, wParam, lParam);
        return 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_APPCOMMAND:
        if (HWND parent = ParentOfChild(hWnd))
            return SendMsg(parent, Msg, wParam, lParam);
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == static_cast<WPARAM>(VK_F4) && (lParam & (1 << 29))) {
            SendMsg(TopLevelHandle(hWnd), WM_SYSCOMMAND, SC_CLOSE, 0);
            return 0;
        }
        t_altAlone = (wParam == static_cast<WPARAM>(VK_MENU) || wParam == static_cast<WPARAM>(VK_F10)) &&
            !(lParam & (1 << 30));
        return 0;
    case WM_KEYDOWN:
        t_altAlone = false;
        return 0;
    case WM_SYSKEYUP:
        if ((wParam == static_cast<WPARAM>(VK_MENU) || wParam == static_cast<WPARAM>(VK_F10)) && t_altAlone)
            SendMsg(TopLevelHandle(hWnd), WM_SYSCOMMAND, SC_KEYMENU, 0);
        t_altAlone = false;
        return 0;
    case WM_SYSCHAR:
        t_altAlone = false;
        if (wParam == L'\r' || wParam == 0x1B)
            return 0;
        SendMsg(TopLevelHandle(hWnd), WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wParam));
        return 0;
    case WM_CANCELMODE:
        // Cancels the menu this thread tracks, then the window's own capture.
        EndMenu();
        if (GetCapture() == hWnd)
            ReleaseCapture();
        return 0;
    case WM_SETREDRAW: {
        // As on Windows: redraw off clears WS_VISIBLE without repainting; on sets it back.
        auto lock = LockUser();
        if (wParam) {
            w->style |= WS_VISIBLE;
            w->redrawOff = false;
        } else {
            w->style &= ~WS_VISIBLE;
            w->redrawOff = true;
        }
        return 0;
    }
    case WM_GETICON: {
        auto lock = LockUser();
        if (wParam == ICON_BIG)
            return reinterpret_cast<LRESULT>(w->iconBig);
        return reinterpret_cast<LRESULT>(w->iconSmall);
    }
    case WM_SETICON: {
        auto lock = LockUser();
        HICON old;
        if (wParam == ICON_BIG) {
            old = w->iconBig;
            w->iconBig = reinterpret_cast<HICON>(lParam);
        } else {
            old = w->iconSmall;
            w->iconSmall = reinterpret_cast<HICON>(lParam);
        }
        return reinterpret_cast<LRESULT>(old);
    }
    case WM_QUERYOPEN:
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return -1; // a list box asking its owner about a key: do what you do by default
    case WM_NOTIFYFORMAT:
        return NFR_UNICODE;
    case kWmSysTimer:
        CaretOnSysTimer(hWnd, static_cast<UINT_PTR>(wParam));
        return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return OnCtlColor(Msg, reinterpret_cast<HDC>(wParam));
    default:
        return 0;
    }
}

LRESULT DefWindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hWnd, Msg, wParam, lParam);
}
