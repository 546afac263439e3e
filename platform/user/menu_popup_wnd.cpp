// The system class "#32768" and its window procedure.
//
// A popup-menu window is a plain top-level window; what it shows is its view
// (menu_popup.h), which the tracking loop creates before the window and binds to it at
// the window's first message. The procedure answers the messages that make the window a
// menu and passes everything else to DefWindowProc:
//   WM_NCCALCSIZE   the client area is the window less the 3-pixel frame (a subclass that
//                   grows the window in WM_WINDOWPOSCHANGING grows the client with it; the
//                   items keep their laid-out size);
//   WM_NCPAINT      the raised frame, into the window DC or the region given;
//   WM_ERASEBKGND   the menu's background over the whole client area;
//   WM_PAINT, WM_PRINTCLIENT  the items (only their laid-out area);
//   WM_PRINT        frame, background and items into any DC;
//   WM_NCHITTEST    HTCLIENT anywhere on the window; WM_MOUSEACTIVATE MA_NOACTIVATE;
//   MN_GETHMENU     the menu shown; WM_TIMER the tracking loop's timers.
// Nothing is drawn when the window is shown until the window system sends WM_NCPAINT, so
// a subclass can still read the screen under the window then (for a shadow).
#include <map>

#include "platform/gdi/gdi_types.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/menu_popup.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/popup_menu.h"
#include "platform/user/styles.h"
#include "platform/user/user_hooks.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/wndclass_internal.h"

namespace zyn::user::detail {
namespace {

struct Views {
    std::map<HWND, std::shared_ptr<PopupView>> bound;
    std::shared_ptr<PopupView> pending;
};

Views& ThreadViews()
{
    thread_local Views v;
    return v;
}

// A copy of a region handle (GetDCEx takes ownership of the one it is given).
HRGN CopyRegion(HRGN from)
{
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    if (copy && CombineRgn(copy, from, nullptr, RGN_COPY) == ERROR_REGION) {
        DeleteObject(copy);
        return nullptr;
    }
    return copy;
}

LRESULT OnNcPaint(HWND hwnd, WPARAM wp)
{
    HDC dc = nullptr;
    if (wp > 1) {
        if (HRGN rgn = CopyRegion(reinterpret_cast<HRGN>(wp)))
            dc = GetDCEx(hwnd, rgn, DCX_WINDOW | DCX_INTERSECTRGN | DCX_CACHE);
    } else {
        dc = GetWindowDC(hwnd);
    }
    if (!dc)
        return 0;
    RECT r;
    GetWindowRect(hwnd, &r);
    DrawPopupFrame(dc, r.right - r.left, r.bottom - r.top);
    ReleaseDC(hwnd, dc);
    return 0;
}

LRESULT OnPrint(HWND hwnd, HDC hdc, LPARAM flags)
{
    if (!hdc || ((flags & PRF_CHECKVISIBLE) && !IsWindowVisible(hwnd)))
        return 0;
    RECT w;
    GetWindowRect(hwnd, &w);
    const int cx = w.right - w.left, cy = w.bottom - w.top;
    if (flags & PRF_NONCLIENT)
        DrawPopupFrame(hdc, cx, cy);
    if (flags & (PRF_ERASEBKGND | PRF_CLIENT)) {
        const int saved = SaveDC(hdc);
        IntersectClipRect(hdc, kPopupMenuFrame, kPopupMenuFrame, cx - kPopupMenuFrame, cy - kPopupMenuFrame);
        OffsetViewportOrgEx(hdc, kPopupMenuFrame, kPopupMenuFrame, nullptr);
        if (flags & PRF_ERASEBKGND)
            SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
        if (flags & PRF_CLIENT)
            SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hdc), flags);
        RestoreDC(hdc, saved);
    }
    return 0;
}

LRESULT PopupMenuProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    const std::shared_ptr<PopupView> view = PopupViewOf(hwnd);
    switch (msg) {
    case WM_NCCALCSIZE: {
        if (!lp)
            return 0;
        RECT* r = wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
        InflateRect(r, -kPopupMenuFrame, -kPopupMenuFrame);
        if (r->right < r->left)
            r->right = r->left;
        if (r->bottom < r->top)
            r->bottom = r->top;
        return 0;
    }
    case WM_NCHITTEST: {
        RECT r;
        GetWindowRect(hwnd, &r);
        const POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        return PtInRect(&r, pt) ? HTCLIENT : HTNOWHERE;
    }
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_NCPAINT:
        return OnNcPaint(hwnd, wp);
    case WM_ERASEBKGND: {
        RECT rc;
        GetClientRect(hwnd, &rc);
        if (view)
            ErasePopup(reinterpret_cast<HDC>(wp), *view, rc);
        else
            FillRect(reinterpret_cast<HDC>(wp), &rc, GetSysColorBrush(COLOR_MENU));
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc && view)
            PaintPopup(dc, *view);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        if (wp && view)
            PaintPopup(reinterpret_cast<HDC>(wp), *view);
        return 0;
    case WM_PRINT:
        return OnPrint(hwnd, reinterpret_cast<HDC>(wp), lp);
    case MN_GETHMENU:
        return view ? reinterpret_cast<LRESULT>(view->menu) : 0;
    case WM_TIMER:
        if (view && view->onTimer) {
            // The handler may end the menu and destroy this window: keep the view alive.
            const auto keep = view;
            keep->onTimer(wp);
        }
        return 0;
    case WM_NCDESTROY:
        ForgetPopupView(hwnd);
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace

std::shared_ptr<PopupView> PopupViewOf(HWND hwnd)
{
    Views& v = ThreadViews();
    auto it = v.bound.find(hwnd);
    if (it != v.bound.end())
        return it->second;
    // The first message of the window being created for the pending view binds the two.
    if (v.pending && !v.pending->hwnd && hwnd) {
        v.pending->hwnd = hwnd;
        v.bound[hwnd] = v.pending;
        return v.pending;
    }
    return nullptr;
}

void SetPendingPopupView(std::shared_ptr<PopupView> view) { ThreadViews().pending = std::move(view); }

void ForgetPopupView(HWND hwnd) { ThreadViews().bound.erase(hwnd); }

} // namespace zyn::user::detail

void zyn::user::EnsureMenuPopupClass()
{
    if (FindSystemClass(kPopupMenuClassName))
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    // Saving the bits under it is what a menu asks for; the window system repaints what a
    // popup uncovers in any case. No drop shadow: the classic look has none.
    wc.style = CS_SAVEBITS | CS_DBLCLKS;
    wc.lpfnWndProc = &detail::PopupMenuProc;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kPopupMenuClassName;
    RegisterSystemClass(wc);
}
