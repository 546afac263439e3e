// The non-client area: its layout from the styles, hit testing, the default drawing of
// frames, captions, caption buttons, the menu bar's place, edges and scroll bars, caption
// button tracking and the move/size loop.
#include <algorithm>

#include "platform/base/lasterror.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/modal.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/queue_internal.h"
#include "platform/user/styles.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "platform/user/wnd_internal.h"

namespace zyn::user {
namespace {

struct StyleInfo {
    DWORD style = 0;
    DWORD exStyle = 0;
    bool menu = false;
    HMENU hmenu = nullptr;
    HWND hwnd = nullptr;
};

int MenuHeight(const StyleInfo& s, int width)
{
    const auto& hooks = GetMenuBarHooks();
    if (hooks.barHeight)
        return std::max(0, hooks.barHeight(s.hwnd, s.hmenu, width));
    return GetSystemMetrics(SM_CYMENU);
}

bool HasCaption(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION; }

// The layout of a frame of the given style in a window rectangle (any coordinates).
NcLayout Layout(const StyleInfo& s, const RECT& window)
{
    NcLayout L;
    L.window = window;
    RECT r = window;
    L.frame = FrameSize(s.style, s.exStyle);
    InflateRect(&r, -L.frame.cx, -L.frame.cy);
    if (HasCaption(s.style)) {
        const bool tool = (s.exStyle & WS_EX_TOOLWINDOW) != 0;
        const int ch = GetSystemMetrics(tool ? SM_CYSMCAPTION : SM_CYCAPTION);
        L.caption = RECT{r.left, r.top, r.right, std::min(r.top + ch, std::max(r.top, r.bottom))};
        r.top = L.caption.bottom;
        // Caption buttons, right to left: close, then maximise and minimise side by side,
        // or the help button.
        if (s.style & WS_SYSMENU) {
            const int bh = std::max(0, ch - 4);
            const int bw = tool ? std::max(0, GetSystemMetrics(SM_CXSMSIZE) - 2) : std::max(0, GetSystemMetrics(SM_CXSIZE) - 2);
            const int top = L.caption.top + 2;
            int right = L.caption.right - 2;
            L.closeButton = RECT{right - bw, top, right, top + bh};
            right = L.closeButton.left - 2;
            if (!tool && (s.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))) {
                L.maxButton = RECT{right - bw, top, right, top + bh};
                L.minButton = RECT{L.maxButton.left - bw, top, L.maxButton.left, top + bh};
            } else if (!tool && (s.exStyle & WS_EX_CONTEXTHELP)) {
                L.helpButton = RECT{right - bw, top, right, top + bh};
            }
            if (!tool && !(s.exStyle & WS_EX_DLGMODALFRAME)) {
                const int icon = std::min(GetSystemMetrics(SM_CXSMICON), std::max(0, ch - 2));
                L.sysButton = RECT{L.caption.left + 2, L.caption.top + 1, L.caption.left + 2 + icon, L.caption.top + 1 + icon};
            }
        }
    }
    if (s.style & WS_MINIMIZE) {
        L.client = RECT{window.left, window.top, window.left, window.top};
        return L;
    }
    if (s.menu && !(s.style & WS_CHILD)) {
        const int mh = MenuHeight(s, std::max<int>(0, r.right - r.left));
        L.menuBar = RECT{r.left, r.top, r.right, std::min<LONG>(r.top + mh, std::max(r.top, r.bottom))};
        r.top = L.menuBar.bottom;
    }
    if (s.exStyle & WS_EX_CLIENTEDGE)
        L.edge += GetSystemMetrics(SM_CXEDGE);
    if ((s.exStyle & WS_EX_STATICEDGE) && !(s.exStyle & WS_EX_DLGMODALFRAME))
        L.edge += GetSystemMetrics(SM_CXBORDER);
    InflateRect(&r, -L.edge, -L.edge);
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
    const int cxv = GetSystemMetrics(SM_CXVSCROLL), cyh = GetSystemMetrics(SM_CYHSCROLL);
    if ((s.style & WS_VSCROLL) && r.right - r.left >= cxv) {
        if (s.exStyle & WS_EX_LEFTSCROLLBAR) {
            L.vScroll = RECT{r.left, r.top, r.left + cxv, r.bottom};
            r.left += cxv;
        } else {
            L.vScroll = RECT{r.right - cxv, r.top, r.right, r.bottom};
            r.right -= cxv;
        }
    }
    if ((s.style & WS_HSCROLL) && r.bottom - r.top >= cyh) {
        L.hScroll = RECT{r.left, r.bottom - cyh, r.right, r.bottom};
        r.bottom -= cyh;
        if (!IsRectEmpty(&L.vScroll)) {
            L.vScroll.bottom = r.bottom;
            L.sizeBox = (s.exStyle & WS_EX_LEFTSCROLLBAR) ? RECT{L.vScroll.left, r.bottom, L.vScroll.right, L.hScroll.bottom}
                                                          : RECT{r.right, r.bottom, L.vScroll.right, L.hScroll.bottom};
        }
    }
    L.client = r;
    return L;
}

StyleInfo InfoOf(const Window& w)
{
    StyleInfo s;
    s.style = w.style;
    s.exStyle = w.exStyle;
    s.menu = w.menu != nullptr && !w.IsChild();
    s.hmenu = w.menu;
    s.hwnd = w.hwnd;
    return s;
}

// ---- drawing helpers -----------------------------------------------------------------------------------------

void Fill(HDC dc, const RECT& r, int sysColor)
{
    if (r.right > r.left && r.bottom > r.top)
        FillRect(dc, &r, GetSysColorBrush(sysColor));
}

// A one-pixel frame: top and left in one colour, bottom and right in another.
void Frame(HDC dc, const RECT& r, int tl, int br)
{
    if (r.right - r.left < 1 || r.bottom - r.top < 1)
        return;
    Fill(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, tl);
    Fill(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, tl);
    Fill(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, br);
    Fill(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, br);
}

void RaisedEdge(HDC dc, RECT r) { DrawEdge(dc, &r, EDGE_RAISED, BF_RECT); }

void SunkenEdge(HDC dc, RECT r) { DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT); }

void CaptionButton(HDC dc, const RECT& b, UINT kind, bool pressed, bool disabled)
{
    if (IsRectEmpty(&b))
        return;
    RECT r = b;
    DrawFrameControl(dc, &r, DFC_CAPTION, kind | (pressed ? DFCS_PUSHED : 0u) | (disabled ? DFCS_INACTIVE : 0u));
}

void DrawCaptionIcon(HDC dc, HICON icon, const RECT& r)
{
    DrawIconEx(dc, r.left, r.top, icon, r.right - r.left, r.bottom - r.top, 0, nullptr, DI_NORMAL);
}

// The title in the caption font, between the system-menu icon and the first button.
void DrawCaptionText(HDC dc, const NcLayout& L, const std::wstring& title, bool active, bool tool)
{
    if (title.empty())
        return;
    RECT r = L.caption;
    r.bottom -= 1;
    r.left = IsRectEmpty(&L.sysButton) ? r.left + 2 : L.sysButton.right + 2;
    for (const RECT* b : {&L.minButton, &L.helpButton, &L.maxButton, &L.closeButton})
        if (!IsRectEmpty(b)) {
            r.right = b->left - 2;
            break;
        }
    if (r.right <= r.left)
        return;
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    HFONT font = CreateFontIndirectW(tool ? &ncm.lfSmCaptionFont : &ncm.lfCaptionFont);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &r,
        DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteObject(font);
}

void DrawFrameAndCaption(HDC dc, const Window& w, const NcLayout& L, bool active, const std::wstring& title)
{
    const DWORD style = w.style, ex = w.exStyle;
    const RECT win = L.window;
    // The outer frame.
    if (L.frame.cx > 0 || L.frame.cy > 0) {
        if (!(style & (WS_THICKFRAME | WS_DLGFRAME)) && !(ex & WS_EX_DLGMODALFRAME)) {
            Frame(dc, win, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME);
        } else {
            // A 3-D frame: two edge lines, then face colour (the sizing border's colour for
            // a thick frame) up to the frame's inner side.
            const int fill = (style & WS_THICKFRAME) ? (active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER) : COLOR_3DFACE;
            RECT r = win;
            RaisedEdge(dc, r);
            InflateRect(&r, -2, -2);
            for (int i = 2; i < std::max(L.frame.cx, L.frame.cy); ++i) {
                Frame(dc, r, fill, fill);
                InflateRect(&r, i + 1 < L.frame.cx ? -1 : 0, i + 1 < L.frame.cy ? -1 : 0);
            }
        }
    }
    if (!IsRectEmpty(&L.caption)) {
        const int cap = active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION;
        Fill(dc, L.caption, cap);
        // A line in the face colour under the caption separates it from what follows.
        Fill(dc, RECT{L.caption.left, L.caption.bottom - 1, L.caption.right, L.caption.bottom}, COLOR_3DFACE);
        if (!IsRectEmpty(&L.sysButton)) {
            // Without an icon of its own the window shows the application icon.
            HICON icon = w.iconSmall ? w.iconSmall : (w.cls->iconSm ? w.cls->iconSm : w.cls->icon);
            if (!icon)
                icon = LoadIconW(nullptr, IDI_APPLICATION);
            if (icon)
                DrawCaptionIcon(dc, icon, L.sysButton);
        }
        DrawCaptionText(dc, L, title, active, (ex & WS_EX_TOOLWINDOW) != 0);
        const bool zoomed = (style & WS_MAXIMIZE) != 0, iconic = (style & WS_MINIMIZE) != 0;
        const bool noClose = (w.cls->style & CS_NOCLOSE) != 0;
        CaptionButton(dc, L.closeButton, DFCS_CAPTIONCLOSE, w.hotCaptionButton == HTCLOSE, noClose);
        CaptionButton(dc, L.maxButton, zoomed ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX, w.hotCaptionButton == HTMAXBUTTON,
            !(style & WS_MAXIMIZEBOX));
        CaptionButton(dc, L.minButton, iconic ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN, w.hotCaptionButton == HTMINBUTTON,
            !(style & WS_MINIMIZEBOX));
        CaptionButton(dc, L.helpButton, DFCS_CAPTIONHELP, w.hotCaptionButton == HTHELP, false);
    }
}

void DrawInner(HDC dc, const Window& w, const NcLayout& L)
{
    if (!IsRectEmpty(&L.menuBar)) {
        const auto& hooks = GetMenuBarHooks();
        if (hooks.drawBar)
            hooks.drawBar(w.hwnd, w.menu, dc, L.menuBar);
        else
            Fill(dc, L.menuBar, COLOR_MENU);
    }
    RECT e = L.client;
    if (!IsRectEmpty(&L.vScroll))
        UnionRect(&e, &e, &L.vScroll);
    if (!IsRectEmpty(&L.hScroll))
        UnionRect(&e, &e, &L.hScroll);
    if (!IsRectEmpty(&L.sizeBox))
        UnionRect(&e, &e, &L.sizeBox);
    if (L.edge > 0) {
        RECT outer = e;
        InflateRect(&outer, L.edge, L.edge);
        if (w.exStyle & WS_EX_CLIENTEDGE) {
            SunkenEdge(dc, outer);
            InflateRect(&outer, -2, -2);
        }
        if ((w.exStyle & WS_EX_STATICEDGE) && !(w.exStyle & WS_EX_DLGMODALFRAME))
            Frame(dc, outer, COLOR_3DSHADOW, COLOR_3DHILIGHT);
    }
    const bool enabled = !(w.style & WS_DISABLED);
    if (!IsRectEmpty(&L.vScroll))
        DrawScrollBar(dc, L.vScroll, true, w.scroll[SB_VERT], w.scrollPressed[SB_VERT], enabled);
    if (!IsRectEmpty(&L.hScroll))
        DrawScrollBar(dc, L.hScroll, false, w.scroll[SB_HORZ], w.scrollPressed[SB_HORZ], enabled);
    if (!IsRectEmpty(&L.sizeBox))
        Fill(dc, L.sizeBox, COLOR_3DFACE);
}

} // namespace

SIZE FrameSize(DWORD style, DWORD exStyle)
{
    if (style & WS_THICKFRAME)
        return SIZE{GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME)};
    if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        return SIZE{GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME)};
    if (style & WS_BORDER)
        return SIZE{GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER)};
    return SIZE{0, 0};
}

RECT DefaultClientRect(const Window& w, const RECT& window) { return Layout(InfoOf(w), window).client; }

NcLayout ComputeNcLayout(HWND hwnd)
{
    auto w = PeekWnd(hwnd);
    if (!w)
        return {};
    auto lock = LockUser();
    NcLayout L = Layout(InfoOf(*w), RECT{0, 0, w->Width(), w->Height()});
    // The client rectangle is what WM_NCCALCSIZE said, which a window may have changed.
    L.client = w->rcClient;
    OffsetRect(&L.client, -w->rcWindow.left, -w->rcWindow.top);
    return L;
}

RECT MenuBarRect(HWND hwnd)
{
    auto w = GetWnd(hwnd);
    if (!w)
        return {};
    return ComputeNcLayout(hwnd).menuBar;
}

LRESULT NcHitTest(HWND hwnd, POINT pt)
{
    auto w = PeekWnd(hwnd);
    if (!w)
        return HTERROR;
    NcLayout L;
    DWORD style, ex;
    {
        auto lock = LockUser();
        if (!PtInRect(&w->rcWindow, pt))
            return HTNOWHERE;
        style = w->style;
        ex = w->exStyle;
        if (style & WS_MINIMIZE)
            return HTCAPTION;
        pt.x -= w->rcWindow.left;
        pt.y -= w->rcWindow.top;
    }
    L = ComputeNcLayout(hwnd);
    if (PtInRect(&L.client, pt))
        return HTCLIENT;
    const int W = L.window.right, H = L.window.bottom;
    RECT inner = L.window;
    InflateRect(&inner, -L.frame.cx, -L.frame.cy);
    if (!PtInRect(&inner, pt)) {
        if ((style & WS_THICKFRAME) && !(style & WS_MAXIMIZE)) {
            const int corner = GetSystemMetrics(SM_CXSIZE) + L.frame.cx;
            const bool left = pt.x < L.frame.cx, right = pt.x >= W - L.frame.cx;
            const bool top = pt.y < L.frame.cy, bottom = pt.y >= H - L.frame.cy;
            if (top) {
                if (pt.x < corner)
                    return HTTOPLEFT;
                if (pt.x >= W - corner)
                    return HTTOPRIGHT;
                return HTTOP;
            }
            if (bottom) {
                if (pt.x < corner)
                    return HTBOTTOMLEFT;
                if (pt.x >= W - corner)
                    return HTBOTTOMRIGHT;
                return HTBOTTOM;
            }
            if (left) {
                if (pt.y < corner)
                    return HTTOPLEFT;
                if (pt.y >= H - corner)
                    return HTBOTTOMLEFT;
                return HTLEFT;
            }
            if (right) {
                if (pt.y < corner)
                    return HTTOPRIGHT;
                if (pt.y >= H - corner)
                    return HTBOTTOMRIGHT;
                return HTRIGHT;
            }
        }
        return HTBORDER;
    }
    if (PtInRect(&L.caption, pt)) {
        if (PtInRect(&L.closeButton, pt))
            return HTCLOSE;
        if (PtInRect(&L.maxButton, pt))
            return HTMAXBUTTON;
        if (PtInRect(&L.minButton, pt))
            return HTMINBUTTON;
        if (PtInRect(&L.helpButton, pt))
            return HTHELP;
        if (PtInRect(&L.sysButton, pt))
            return HTSYSMENU;
        return HTCAPTION;
    }
    if (PtInRect(&L.menuBar, pt))
        return HTMENU;
    if (PtInRect(&L.hScroll, pt))
        return HTHSCROLL;
    if (PtInRect(&L.vScroll, pt))
        return HTVSCROLL;
    if (PtInRect(&L.sizeBox, pt))
        return (style & WS_THICKFRAME) ? HTBOTTOMRIGHT : HTSIZE;
    (void)ex;
    return HTBORDER;
}

void NcDrawInto(HWND hwnd, HDC hdc)
{
    auto w = PeekWnd(hwnd);
    if (!w || !hdc)
        return;
    const NcLayout L = ComputeNcLayout(hwnd);
    // Everything but the client area.
    const int saved = SaveDC(hdc);
    ExcludeClipRect(hdc, L.client.left, L.client.top, L.client.right, L.client.bottom);
    std::wstring title;
    bool active;
    {
        auto lock = LockUser();
        title = w->text;
        active = w->ncActive;
    }
    // Drawing runs without the user lock: the menu layer's hook may call back.
    auto snapshot = std::make_shared<Window>();
    {
        auto lock = LockUser();
        snapshot->hwnd = w->hwnd;
        snapshot->style = w->style;
        snapshot->exStyle = w->exStyle;
        snapshot->cls = w->cls;
        snapshot->menu = w->menu;
        snapshot->iconSmall = w->iconSmall;
        snapshot->scroll[0] = w->scroll[0];
        snapshot->scroll[1] = w->scroll[1];
        snapshot->scrollPressed[0] = w->scrollPressed[0];
        snapshot->scrollPressed[1] = w->scrollPressed[1];
        snapshot->hotCaptionButton = w->hotCaptionButton;
    }
    DrawFrameAndCaption(hdc, *snapshot, L, active, title);
    DrawInner(hdc, *snapshot, L);
    RestoreDC(hdc, saved);
}

void NcPaint(HWND hwnd, const Region* clipScreen)
{
    if (!IsWindowVisible(hwnd))
        return;
    {
        // A window without a frame has nothing outside its client area to draw: no DC
        // (whose visible region would cost a look at every sibling above it).
        auto lock = LockUser();
        const Window* w = PeekLockedWnd(hwnd);
        if (!w || EqualRect(&w->rcWindow, &w->rcClient))
            return;
    }
    HRGN clip = nullptr;
    DWORD flags = DCX_WINDOW | DCX_CACHE | DCX_CLIPSIBLINGS;
    if (clipScreen) {
        clip = CreateRectRgn(0, 0, 0, 0);
        if (auto r = gdi::RegionFromHandle(clip))
            r->rgn = *clipScreen;
        flags |= DCX_INTERSECTRGN;
    }
    // GetDCEx owns the clip region from here on.
    HDC dc = GetDCEx(hwnd, clip, flags);
    if (dc) {
        NcDrawInto(hwnd, dc);
        ReleaseDC(hwnd, dc);
    } else if (clip) {
        DeleteObject(clip);
    }
}

bool TrackCaptionButton(HWND hwnd, int ht)
{
    auto w = PeekWnd(hwnd);
    if (!w)
        return false;
    auto setPressed = [&](bool on) {
        {
            auto lock = LockUser();
            const int want = on ? ht : 0;
            if (w->hotCaptionButton == want)
                return;
            w->hotCaptionButton = want;
        }
        NcPaint(hwnd, nullptr);
    };
    setPressed(true);
    SetCapture(hwnd);
    bool over = true;
    bool done = false;
    ModalLoopParams p;
    p.owner = hwnd;
    p.done = [&] { return done || GetCapture() != hwnd; };
    p.preTranslate = [&](MSG& m) {
        if (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONUP) {
            over = NcHitTest(hwnd, m.pt) == ht;
            setPressed(over);
            if (m.message == WM_LBUTTONUP)
                done = true;
            return true;
        }
        if (m.message == WM_KEYDOWN && m.wParam == static_cast<WPARAM>(VK_ESCAPE)) {
            over = false;
            done = true;
            return true;
        }
        return false;
    };
    const ModalEnd end = RunModalLoop(p);
    if (GetCapture() == hwnd)
        ReleaseCapture();
    if (!w->dead)
        setPressed(false);
    return end == ModalEnd::Ended && done && over;
}

void MoveSizeLoop(HWND hwnd, WPARAM command, POINT start)
{
    auto w = PeekWnd(hwnd);
    if (!w)
        return;
    const WPARAM cmd = command & 0xFFF0;
    const int edge = static_cast<int>(command & 0x000F);
    RECT orig;
    DWORD style;
    {
        auto lock = LockUser();
        style = w->style;
        orig = w->rcWindow;
    }
    if (style & WS_MAXIMIZE)
        return; // a maximised window neither moves nor sizes
    if (cmd == SC_SIZE && !(style & WS_THICKFRAME))
        return;
    if (HasHooks(WH_CBT) && CallHooks(WH_CBT, HCBT_MOVESIZE, reinterpret_cast<WPARAM>(hwnd), reinterpret_cast<LPARAM>(&orig)))
        return;
    SendMsg(hwnd, WM_ENTERSIZEMOVE, 0, 0);
    ThreadQueue& q = MyQueue();
    const HWND savedMoveSize = q.moveSize;
    q.moveSize = hwnd;
    SetCapture(hwnd);
    POINT parentOrg{0, 0};
    {
        auto lock = LockUser();
        parentOrg = ClientOrigin(w->parent);
    }
    bool done = false;
    bool cancelled = false;
    auto place = [&](const RECT& screen) {
        SetWindowPosImpl(hwnd, nullptr, screen.left - parentOrg.x, screen.top - parentOrg.y, screen.right - screen.left,
            screen.bottom - screen.top, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    ModalLoopParams p;
    p.owner = hwnd;
    p.msgFilterCode = cmd == SC_SIZE ? MSGF_SIZE : MSGF_MOVE;
    p.done = [&] { return done || GetCapture() != hwnd; };
    p.preTranslate = [&](MSG& m) {
        if (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONUP) {
            const int dx = m.pt.x - start.x, dy = m.pt.y - start.y;
            RECT r = orig;
            if (cmd == SC_MOVE) {
                OffsetRect(&r, dx, dy);
                SendMsg(hwnd, WM_MOVING, 0, reinterpret_cast<LPARAM>(&r));
            } else {
                if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT)
                    r.left += dx;
                if (edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT)
                    r.right += dx;
                if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT)
                    r.top += dy;
                if (edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT)
                    r.bottom += dy;
                SendMsg(hwnd, WM_SIZING, static_cast<WPARAM>(edge), reinterpret_cast<LPARAM>(&r));
            }
            if (!w->dead)
                place(r);
            if (m.message == WM_LBUTTONUP)
                done = true;
            return true;
        }
        if (m.message == WM_KEYDOWN) {
            if (m.wParam == static_cast<WPARAM>(VK_ESCAPE)) {
                cancelled = true;
                done = true;
            } else if (m.wParam == static_cast<WPARAM>(VK_RETURN)) {
                done = true;
            }
            return true;
        }
        return false;
    };
    const ModalEnd end = RunModalLoop(p);
    if (GetCapture() == hwnd)
        ReleaseCapture();
    if ((cancelled || end != ModalEnd::Ended) && !w->dead)
        place(orig);
    q.moveSize = savedMoveSize;
    if (!w->dead)
        SendMsg(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

} // namespace zyn::user
