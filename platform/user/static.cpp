// The "Static" control (static.h).
#include "platform/user/static.h"

#include <string>

#include "platform/gdi/icon.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/control_common.h"
#include "platform/user/dialog.h"
#include "platform/user/messages.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/styles.h"
#include "platform/user/user_hooks.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/wnd_internal.h"
#include "platform/user/wndclass_internal.h"

namespace zyn::user {
namespace {

struct StaticState : ControlState {
    HFONT font = nullptr;
    HANDLE image = nullptr;
    UINT imageType = 0;
    HBITMAP ownedBitmap = nullptr; // loaded by the control; freed with it while still shown
    ~StaticState() override
    {
        if (ownedBitmap)
            DeleteObject(ownedBitmap);
    }
};

DWORD StyleOf(HWND h) { return static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE)); }
DWORD TypeOf(DWORD style) { return style & SS_TYPEMASK; }

bool IsTextType(DWORD type)
{
    return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
}

SIZE ImageSize(HANDLE image, UINT type)
{
    if (!image)
        return SIZE{0, 0};
    if (type == IMAGE_BITMAP) {
        BITMAP bm{};
        if (GetObjectW(image, sizeof bm, &bm))
            return SIZE{bm.bmWidth, bm.bmHeight};
        return SIZE{0, 0};
    }
    ICONINFO ii{};
    if (!GetIconInfo(static_cast<HICON>(image), &ii))
        return SIZE{0, 0};
    BITMAP bm{};
    SIZE s{0, 0};
    if (ii.hbmColor && GetObjectW(ii.hbmColor, sizeof bm, &bm))
        s = SIZE{bm.bmWidth, bm.bmHeight};
    else if (ii.hbmMask && GetObjectW(ii.hbmMask, sizeof bm, &bm))
        s = SIZE{bm.bmWidth, bm.bmHeight / 2}; // a monochrome icon's mask holds both planes
    if (ii.hbmColor)
        DeleteObject(ii.hbmColor);
    if (ii.hbmMask)
        DeleteObject(ii.hbmMask);
    return s;
}

void SizeToImage(HWND hwnd, const StaticState& st)
{
    if (StyleOf(hwnd) & (SS_CENTERIMAGE | SS_REALSIZECONTROL))
        return;
    const SIZE s = ImageSize(st.image, st.imageType);
    if (s.cx <= 0 || s.cy <= 0)
        return;
    RECT wr, cr;
    GetWindowRect(hwnd, &wr);
    GetClientRect(hwnd, &cr);
    const int dx = (wr.right - wr.left) - cr.right, dy = (wr.bottom - wr.top) - cr.bottom;
    SetWindowPos(hwnd, nullptr, 0, 0, s.cx + dx, s.cy + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The resource a template names in the window text: {0xFFFF, ordinal} or a name.
LPCWSTR ResourceNameOf(LPCWSTR text)
{
    if (!text || IS_INTRESOURCE(text) || !text[0])
        return nullptr;
    if (text[0] == 0xFFFF)
        return text[1] ? MAKEINTRESOURCE(static_cast<WORD>(text[1])) : nullptr;
    return text;
}

void LoadTemplateImage(HWND hwnd, const CREATESTRUCTW& cs, StaticState& st)
{
    const DWORD type = TypeOf(static_cast<DWORD>(cs.style));
    const LPCWSTR name = ResourceNameOf(cs.lpszName);
    if (type == SS_ICON && name) {
        st.image = LoadIconW(cs.hInstance, name);
        st.imageType = IMAGE_ICON;
    } else if (type == SS_BITMAP && name) {
        st.ownedBitmap = LoadBitmapW(cs.hInstance, name);
        st.image = st.ownedBitmap;
        st.imageType = IMAGE_BITMAP;
    }
    // An ordinal is no text to keep.
    if (cs.lpszName && !IS_INTRESOURCE(cs.lpszName) && cs.lpszName[0] == 0xFFFF) {
        if (auto w = PeekWnd(hwnd)) {
            auto lock = LockUser();
            w->text.clear();
        }
    }
}

UINT TextFormat(DWORD style)
{
    UINT f = DT_EXPANDTABS;
    switch (TypeOf(style)) {
    case SS_CENTER: f |= DT_CENTER | DT_WORDBREAK; break;
    case SS_RIGHT: f |= DT_RIGHT | DT_WORDBREAK; break;
    case SS_SIMPLE: f = DT_LEFT | DT_SINGLELINE; break;
    case SS_LEFTNOWORDWRAP: f |= DT_LEFT; break;
    default: f |= DT_LEFT | DT_WORDBREAK; break;
    }
    if (style & SS_NOPREFIX)
        f |= DT_NOPREFIX;
    if (style & SS_EDITCONTROL)
        f |= DT_EDITCONTROL;
    if (style & SS_CENTERIMAGE)
        f = (f & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    switch (style & SS_ELLIPSISMASK) {
    case SS_ENDELLIPSIS: f = (f & ~DT_WORDBREAK) | DT_END_ELLIPSIS; break;
    case SS_PATHELLIPSIS: f = (f & ~DT_WORDBREAK) | DT_PATH_ELLIPSIS; break;
    case SS_WORDELLIPSIS: f = (f & ~DT_WORDBREAK) | DT_WORD_ELLIPSIS; break;
    default: break;
    }
    return f;
}

void PaintImage(HWND hwnd, HDC hdc, const StaticState& st, DWORD style, const RECT& rc)
{
    const SIZE s = ImageSize(st.image, st.imageType);
    const bool centre = (style & SS_CENTERIMAGE) != 0;
    const int x = centre ? (rc.right - s.cx) / 2 : 0, y = centre ? (rc.bottom - s.cy) / 2 : 0;
    if (st.imageType == IMAGE_BITMAP && st.image) {
        HDC mem = CreateCompatibleDC(hdc);
        const HGDIOBJ old = SelectObject(mem, st.image);
        if (centre) {
            // The area around a centred bitmap takes the colour of its top-left pixel.
            HBRUSH b = CreateSolidBrush(GetPixel(mem, 0, 0));
            FillRect(hdc, &rc, b);
            DeleteObject(b);
        } else {
            FillRect(hdc, &rc, ControlBrush(hwnd, hdc, WM_CTLCOLORSTATIC));
        }
        BitBlt(hdc, x, y, s.cx, s.cy, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
        return;
    }
    FillRect(hdc, &rc, ControlBrush(hwnd, hdc, WM_CTLCOLORSTATIC));
    if (st.image)
        DrawIconEx(hdc, x, y, static_cast<HICON>(st.image), s.cx, s.cy, 0, nullptr, DI_NORMAL);
}

void Paint(HWND hwnd, HDC hdc, const StaticState& st)
{
    const DWORD style = StyleOf(hwnd);
    const DWORD type = TypeOf(style);
    RECT rc;
    GetClientRect(hwnd, &rc);
    const int saved = SaveDC(hdc);
    SelectObject(hdc, FontOrSystem(st.font));
    switch (type) {
    case SS_ICON:
    case SS_BITMAP:
        PaintImage(hwnd, hdc, st, style, rc);
        break;
    case SS_BLACKRECT: FillRect(hdc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME)); break;
    case SS_GRAYRECT: FillRect(hdc, &rc, GetSysColorBrush(COLOR_BACKGROUND)); break;
    case SS_WHITERECT: FillRect(hdc, &rc, GetSysColorBrush(COLOR_WINDOW)); break;
    case SS_BLACKFRAME: FrameRect(hdc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME)); break;
    case SS_GRAYFRAME: FrameRect(hdc, &rc, GetSysColorBrush(COLOR_BACKGROUND)); break;
    case SS_WHITEFRAME: FrameRect(hdc, &rc, GetSysColorBrush(COLOR_WINDOW)); break;
    case SS_ETCHEDHORZ: DrawEdge(hdc, &rc, EDGE_ETCHED, BF_TOP | BF_BOTTOM); break;
    case SS_ETCHEDVERT: DrawEdge(hdc, &rc, EDGE_ETCHED, BF_LEFT | BF_RIGHT); break;
    case SS_ETCHEDFRAME: DrawEdge(hdc, &rc, EDGE_ETCHED, BF_RECT); break;
    case SS_OWNERDRAW:
        SendDrawItem(hwnd, ODT_STATIC, 0, ODA_DRAWENTIRE, IsWindowEnabled(hwnd) ? 0u : ODS_DISABLED, hdc, rc, 0);
        break;
    default: {
        FillRect(hdc, &rc, ControlBrush(hwnd, hdc, WM_CTLCOLORSTATIC));
        if (!IsTextType(type))
            break;
        if (!IsWindowEnabled(hwnd))
            SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
        SetBkMode(hdc, TRANSPARENT);
        const std::wstring text = WindowTextOf(hwnd);
        RECT r = rc;
        DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &r, TextFormat(style));
        break;
    }
    }
    RestoreDC(hdc, saved);
}

HANDLE SwapImage(HWND hwnd, StaticState& st, UINT type, HANDLE image)
{
    const HANDLE old = st.image;
    if (old && old == st.ownedBitmap)
        st.ownedBitmap = nullptr; // the caller owns what it gets back
    st.image = image;
    st.imageType = type;
    SizeToImage(hwnd, st);
    RedrawControl(hwnd);
    return old;
}

bool ImageFits(DWORD type, UINT imageType)
{
    if (type == SS_ICON)
        return imageType == IMAGE_ICON || imageType == IMAGE_CURSOR;
    return type == SS_BITMAP && imageType == IMAGE_BITMAP;
}

LRESULT StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto st = std::make_shared<StaticState>();
        if (const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lp)) {
            if (static_cast<DWORD>(cs->style) & SS_SUNKEN) {
                // Before the frame is calculated, so the edge counts in it.
                if (auto w = PeekWnd(hwnd)) {
                    auto lock = LockUser();
                    w->exStyle |= WS_EX_STATICEDGE;
                }
            }
            const LRESULT r = DefWindowProcW(hwnd, msg, wp, lp);
            LoadTemplateImage(hwnd, *cs, *st);
            SetControlState(hwnd, st);
            return r;
        }
        SetControlState(hwnd, st);
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    auto st = ControlStateOf<StaticState>(hwnd);
    if (!st)
        return DefWindowProcW(hwnd, msg, wp, lp);
    const DWORD style = StyleOf(hwnd);
    switch (msg) {
    case WM_CREATE:
        if (st->image)
            SizeToImage(hwnd, *st);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_NCHITTEST:
        return (style & SS_NOTIFY) ? DefWindowProcW(hwnd, msg, wp, lp) : HTTRANSPARENT;
    case WM_LBUTTONDOWN:
        if (style & SS_NOTIFY)
            NotifyParent(hwnd, STN_CLICKED);
        return 0;
    case WM_LBUTTONDBLCLK:
        if (style & SS_NOTIFY)
            NotifyParent(hwnd, STN_DBLCLK);
        return 0;
    case WM_ENABLE:
        if (style & SS_NOTIFY)
            NotifyParent(hwnd, wp ? STN_ENABLE : STN_DISABLE);
        RedrawControl(hwnd);
        return 0;
    case WM_SETTEXT: {
        const LRESULT r = DefWindowProcW(hwnd, msg, wp, lp);
        RedrawControl(hwnd);
        return r;
    }
    case WM_SETFONT:
        st->font = reinterpret_cast<HFONT>(wp);
        if (lp)
            RedrawControl(hwnd);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(st->font);
    case WM_ERASEBKGND:
        return 1; // the paint covers what it needs
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (HDC hdc = BeginPaint(hwnd, &ps)) {
            Paint(hwnd, hdc, *st);
            EndPaint(hwnd, &ps);
        }
        return 0;
    }
    case WM_PRINTCLIENT:
        if (wp)
            Paint(hwnd, reinterpret_cast<HDC>(wp), *st);
        return 0;
    case STM_SETICON:
        if (TypeOf(style) != SS_ICON)
            return 0;
        return reinterpret_cast<LRESULT>(SwapImage(hwnd, *st, IMAGE_ICON, reinterpret_cast<HANDLE>(wp)));
    case STM_GETICON:
        return TypeOf(style) == SS_ICON ? reinterpret_cast<LRESULT>(st->image) : 0;
    case STM_SETIMAGE:
        if (!ImageFits(TypeOf(style), static_cast<UINT>(wp)))
            return 0;
        return reinterpret_cast<LRESULT>(SwapImage(hwnd, *st, static_cast<UINT>(wp), reinterpret_cast<HANDLE>(lp)));
    case STM_GETIMAGE:
        return ImageFits(TypeOf(style), static_cast<UINT>(wp)) ? reinterpret_cast<LRESULT>(st->image) : 0;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

} // namespace

void EnsureStaticClass()
{
    if (FindSystemClass(WC_STATIC))
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = StaticProc;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = WC_STATIC;
    RegisterSystemClass(wc);
}

} // namespace zyn::user
