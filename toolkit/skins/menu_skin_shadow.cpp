// The 4-pixel drop shadow of the XP and 2003 menu skins: under popups (painted, recorded or
// replayed) and beside the shadowed item window over a dropped-from button.
//
// A shadow is a walk over the right and bottom strips of a w x h rectangle. Right edge,
// columns x = w - i (i = 1..4): y = 0..3 keep the background, y = 3 + j (j = 4..1) darken
// by i * 3 * j, y = 8..h - 5 by i * 15, y = h - j (j = 1..4) by i * 3 * j. Bottom edge,
// rows y = h - j (j = 1..4): x = 4 - i keep, x = 8 - i darken by (5 - i) * 3 * j,
// x = 8..w - 5 by j * 15. The walk's order is the order colours are recorded in.
//
// The strips are read once from the screen (the background) and once from the target DC,
// changed in 32-bit memory and written back in two blits, so a shadow costs a few blits
// whatever its length; pixels the walk leaves alone go back as the target had them.
#include <vector>

#include "platform/afx/gdi/dc.h"
#include "platform/afx/window_dc.h"
#include "platform/base/coll_array.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/window.h"
#include "platform/user/winuser.h"
#include "toolkit/menus/bitmap_menu.h"
#include "toolkit/menus/menu_seams.h"
#include "toolkit/menus/shadowed_item_wnd.h"
#include "toolkit/skins/menu_skin.h"
#include "toolkit/skins/skin_2003.h"

namespace {

// Shadow forms: the popup's full shadow, and the shadowed item window's four (by the
// side its popup lies on).
constexpr UINT kShadowPopup = 0;
constexpr UINT kShadowNoBottom = 1;    // popup below: no bottom edge, no lower fade
constexpr UINT kShadowNoRight = 2;     // popup to the right: no right edge
constexpr UINT kShadowLeftRun = 3;     // popup to the left: the bottom edge one run from x = 1
constexpr UINT kShadowUpperRun = 4;    // popup above: the right edge one run from y = 1

// One pixel of the walk: where, how much darker (0: the background as it was) and whether
// a drop-from rectangle keeps it untouched.
struct ShadowPixel {
    int x;
    int y;
    int scale;
    bool excludable;
};

template <class F>
void WalkShadow(int w, int h, UINT form, F&& visit)
{
    if (form != kShadowNoRight) {
        for (int i = 1; i <= 4; ++i) {
            const int x = w - i;
            if (form == kShadowUpperRun) {
                for (int y = 1; y <= h - 5; ++y)
                    visit(ShadowPixel{x, y, i * 15, false});
            } else {
                for (int y = 0; y <= 3; ++y)
                    visit(ShadowPixel{x, y, 0, false});
                for (int j = 4; j >= 1; --j)
                    visit(ShadowPixel{x, 3 + j, i * 3 * j, true});
                for (int y = 8; y <= h - 5; ++y)
                    visit(ShadowPixel{x, y, i * 15, false});
            }
            if (form != kShadowNoBottom)
                for (int j = 1; j <= 4; ++j)
                    visit(ShadowPixel{x, h - j, i * 3 * j, false});
        }
    }
    if (form != kShadowNoBottom) {
        for (int j = 1; j <= 4; ++j) {
            const int y = h - j;
            if (form == kShadowLeftRun) {
                for (int x = 1; x <= w - 5; ++x)
                    visit(ShadowPixel{x, y, j * 15, false});
                continue;
            }
            for (int i = 1; i <= 4; ++i)
                visit(ShadowPixel{4 - i, y, 0, false});
            for (int i = 1; i <= 4; ++i)
                visit(ShadowPixel{8 - i, y, (5 - i) * 3 * j, true});
            for (int x = 8; x <= w - 5; ++x)
                visit(ShadowPixel{x, y, j * 15, true});
        }
    }
}

// The right strip (the last four columns, full height) and the bottom strip (the last
// four rows, full width) of a rectangle: the background as the screen shows it, and the
// pixels of the target DC that the walk changes (the others go back as they were).
class ShadowStrips {
public:
    ShadowStrips(const RECT& screen, HDC target)
        : m_w(screen.right - screen.left)
        , m_h(screen.bottom - screen.top)
        , m_backRight(4, m_h)
        , m_backBottom(m_w, 4)
        , m_right(4, m_h)
        , m_bottom(m_w, 4)
    {
        const HDC screenDC = ::GetDC(nullptr);
        if (!screenDC)
            return;
        m_backRight.CopyFrom(screenDC, screen.right - 4, screen.top);
        m_backBottom.CopyFrom(screenDC, screen.left, screen.bottom - 4);
        ::ReleaseDC(nullptr, screenDC);
        m_right.CopyFrom(target, m_w - 4, 0);
        m_bottom.CopyFrom(target, 0, m_h - 4);
    }
    bool IsValid() const
    {
        return m_backRight.IsValid() && m_backBottom.IsValid() && m_right.IsValid() && m_bottom.IsValid();
    }

    // Pixels of the rectangle's own coordinates; the right strip owns the corner.
    COLORREF Background(int x, int y) const
    {
        return x >= m_w - 4 ? m_backRight.Get(x - (m_w - 4), y) : m_backBottom.Get(x, y - (m_h - 4));
    }
    void Set(int x, int y, COLORREF colour)
    {
        if (x >= m_w - 4)
            m_right.Set(x - (m_w - 4), y, colour);
        else
            m_bottom.Set(x, y - (m_h - 4), colour);
    }
    // Both strips into the target, the rectangle's top-left at (0, 0); the bottom strip
    // stops where the right one starts.
    void CopyTo(HDC hdc) const
    {
        m_bottom.CopyTo(hdc, 0, m_h - 4, m_w - 4);
        m_right.CopyTo(hdc, m_w - 4, 0, 4);
    }

private:
    class Strip {
    public:
        Strip(int cx, int cy)
            : m_cx(cx)
            , m_cy(cy)
        {
            if (cx <= 0 || cy <= 0)
                return;
            BITMAPINFO bmi{};
            bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
            bmi.bmiHeader.biWidth = cx;
            bmi.bmiHeader.biHeight = -cy;
            bmi.bmiHeader.biPlanes = 1;
            bmi.bmiHeader.biBitCount = 32;
            bmi.bmiHeader.biCompression = BI_RGB;
            m_dc = ::CreateCompatibleDC(nullptr);
            void* bits = nullptr;
            m_bitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
            m_bits = static_cast<uint32_t*>(bits);
            if (m_dc && m_bitmap)
                m_old = ::SelectObject(m_dc, m_bitmap);
        }
        ~Strip()
        {
            if (m_old)
                ::SelectObject(m_dc, m_old);
            if (m_bitmap)
                ::DeleteObject(m_bitmap);
            if (m_dc)
                ::DeleteDC(m_dc);
        }
        Strip(const Strip&) = delete;
        Strip& operator=(const Strip&) = delete;

        bool IsValid() const { return m_bits && m_old; }
        void CopyFrom(HDC source, int x, int y)
        {
            if (IsValid()) {
                ::BitBlt(m_dc, 0, 0, m_cx, m_cy, source, x, y, SRCCOPY);
                ::GdiFlush();
            }
        }
        void CopyTo(HDC target, int x, int y, int cx) const
        {
            if (IsValid() && cx > 0) {
                ::GdiFlush();
                ::BitBlt(target, x, y, std::min(cx, m_cx), m_cy, m_dc, 0, 0, SRCCOPY);
            }
        }
        COLORREF Get(int x, int y) const
        {
            if (!m_bits || x < 0 || y < 0 || x >= m_cx || y >= m_cy)
                return 0;
            const uint32_t p = m_bits[static_cast<size_t>(y) * static_cast<size_t>(m_cx) + static_cast<size_t>(x)];
            return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
        }
        void Set(int x, int y, COLORREF c)
        {
            if (!m_bits || x < 0 || y < 0 || x >= m_cx || y >= m_cy)
                return;
            m_bits[static_cast<size_t>(y) * static_cast<size_t>(m_cx) + static_cast<size_t>(x)] =
                static_cast<uint32_t>(GetBValue(c)) | static_cast<uint32_t>(GetGValue(c)) << 8 |
                static_cast<uint32_t>(GetRValue(c)) << 16;
        }

    private:
        int m_cx;
        int m_cy;
        HDC m_dc = nullptr;
        HBITMAP m_bitmap = nullptr;
        HGDIOBJ m_old = nullptr;
        uint32_t* m_bits = nullptr;
    };

    int m_w;
    int m_h;
    Strip m_backRight;
    Strip m_backBottom;
    Strip m_right;
    Strip m_bottom;
};

bool InsideDropFrom(const RECT* dropFrom, const RECT& window, const ShadowPixel& p)
{
    if (!p.excludable || !dropFrom || dropFrom->right <= dropFrom->left || dropFrom->bottom <= dropFrom->top)
        return false;
    const POINT at{window.left + p.x, window.top + p.y};
    return ::PtInRect(dropFrom, at) != FALSE;
}

} // namespace

COLORREF COXMenuSkinXP::DarkenColor(LONG scale, COLORREF colour)
{
    const int keep = 255 - scale;
    return RGB(MulDiv(GetRValue(colour), keep, 255), MulDiv(GetGValue(colour), keep, 255),
        MulDiv(GetBValue(colour), keep, 255));
}

void COXMenuSkinXP::DrawMenuShadow(HDC hdc, RECT* windowRect, RECT* dropFromRect, CArray<COLORREF, COLORREF>* saved)
{
    if (!hdc || !windowRect)
        return;
    const RECT window = *windowRect;
    const int w = window.right - window.left;
    const int h = window.bottom - window.top;
    if (w < 4 || h < 4)
        return;

    // How many colours this popup's shadow takes now; a saved set of another length was
    // recorded for another size or joint, and is recorded again rather than replayed.
    size_t painted = 0;
    WalkShadow(w, h, kShadowPopup, [&](const ShadowPixel& p) {
        if (!InsideDropFrom(dropFromRect, window, p))
            ++painted;
    });
    bool replay = saved && saved->GetSize() > 0;
    if (replay && static_cast<size_t>(saved->GetSize()) != painted) {
        saved->RemoveAll();
        replay = false;
    }
    const bool record = saved && !replay;

    ShadowStrips strips(window, hdc);
    if (!strips.IsValid())
        return;
    INT_PTR next = 0;
    WalkShadow(w, h, kShadowPopup, [&](const ShadowPixel& p) {
        if (InsideDropFrom(dropFromRect, window, p))
            return;
        COLORREF colour;
        if (replay) {
            colour = saved->GetAt(next++);
        } else {
            const COLORREF background = strips.Background(p.x, p.y);
            colour = p.scale ? DarkenColor(p.scale, background) : background;
            if (record)
                saved->Add(colour);
        }
        strips.Set(p.x, p.y, colour);
    });
    strips.CopyTo(hdc);

    // Where popup and button overlap.
    if (!dropFromRect)
        return;
    CRect overlap;
    if (!overlap.IntersectRect(&window, dropFromRect))
        return;
    overlap.OffsetRect(-window.left, -window.top);
    FillIntersectionRect(hdc, &overlap);
    if (!m_pSkinXP)
        return;
    const HPEN pen = ::CreatePen(PS_SOLID, 1, m_pSkinXP->GetMenuBorderColor());
    const HGDIOBJ oldPen = ::SelectObject(hdc, pen);
    if (overlap.Width() > overlap.Height()) {
        ::MoveToEx(hdc, overlap.left, overlap.top, nullptr);
        ::LineTo(hdc, overlap.left, overlap.bottom);
        ::MoveToEx(hdc, overlap.right - 1, overlap.top, nullptr);
        ::LineTo(hdc, overlap.right - 1, overlap.bottom);
    } else {
        ::MoveToEx(hdc, overlap.left, overlap.top, nullptr);
        ::LineTo(hdc, overlap.right, overlap.top);
        ::MoveToEx(hdc, overlap.left, overlap.bottom - 1, nullptr);
        ::LineTo(hdc, overlap.right, overlap.bottom - 1);
    }
    ::SelectObject(hdc, oldPen);
    ::DeleteObject(pen);
}

void COXMenuSkinXP::DrawMenuItemShadow(HDC hdc, RECT* rect, UINT mode)
{
    if (!hdc || !rect || mode < kShadowNoBottom || mode > kShadowUpperRun)
        return;
    const int w = rect->right - rect->left;
    const int h = rect->bottom - rect->top;
    if (w < 4 || h < 4)
        return;
    ShadowStrips strips(*rect, hdc);
    if (!strips.IsValid())
        return;
    WalkShadow(w, h, mode, [&](const ShadowPixel& p) {
        const COLORREF background = strips.Background(p.x, p.y);
        strips.Set(p.x, p.y, p.scale ? DarkenColor(p.scale, background) : background);
    });
    strips.CopyTo(hdc);
}

void COXMenuSkinXP::PaintShadowedItemEdges(CDC* dc, COXShadowedItemWnd* wnd, COLORREF penColour)
{
    CRect r;
    wnd->GetClientRect(&r);
    r.right -= 4;
    r.bottom -= 4;
    const HDC hdc = dc->GetSafeHdc();
    const HPEN pen = ::CreatePen(PS_SOLID, 1, penColour);
    const HGDIOBJ oldPen = ::SelectObject(hdc, pen);
    auto line = [hdc](int x1, int y1, int x2, int y2) {
        ::MoveToEx(hdc, x1, y1, nullptr);
        ::LineTo(hdc, x2, y2);
    };
    // The edge towards the popup stays open.
    UINT mode = kShadowNoBottom;
    bool drawLeft = true, drawTop = true, drawRight = true, drawBottom = true;
    switch (wnd->GetFlags()) {
    case OX_POPUP_BELOW: drawBottom = false; mode = kShadowNoBottom; break;
    case OX_POPUP_RIGHT: drawRight = false; mode = kShadowNoRight; break;
    case OX_POPUP_ABOVE: drawTop = false; mode = kShadowUpperRun; break;
    case OX_POPUP_LEFT: drawLeft = false; mode = kShadowLeftRun; break;
    default: break;
    }
    if (drawLeft)
        line(r.left, r.top, r.left, r.bottom);
    if (drawTop)
        line(r.left, r.top, r.right, r.top);
    if (drawRight)
        line(r.right - 1, r.top, r.right - 1, r.bottom);
    if (drawBottom)
        line(r.left, r.bottom - 1, r.right, r.bottom - 1);
    ::SelectObject(hdc, oldPen);
    ::DeleteObject(pen);
    CRect window;
    wnd->GetWindowRect(&window);
    DrawMenuItemShadow(hdc, &window, mode);
}

void COXMenuSkinXP::OnPaintShadowedItemWnd(COXShadowedItemWnd* wnd)
{
    if (!wnd || !wnd->GetSafeHwnd())
        return;
    CPaintDC dc(wnd);
    PaintShadowedItemEdges(&dc, wnd, ::GetSysColor(COLOR_BTNSHADOW));
}

void COXMenuSkin2003::OnPaintShadowedItemWnd(COXShadowedItemWnd* wnd)
{
    if (!wnd || !wnd->GetSafeHwnd())
        return;
    CPaintDC dc(wnd);
    COXSkin2003* skin = GetSkin2003();
    COXCommandBarAccess* bars = OXGetCommandBarAccess();
    // The button itself first, on the menu-bar item gradient.
    CRect button;
    if (skin && bars && wnd->GetToolBar() && wnd->GetButtonIndex() >= 0 &&
        bars->GetItemRect(wnd->GetToolBar(), wnd->GetButtonIndex(), &button)) {
        const HWND hBar = bars->GetBarWindow(wnd->GetToolBar());
        ::MapWindowPoints(hBar, wnd->GetSafeHwnd(), reinterpret_cast<POINT*>(&button), 2);
        skin->GradientFill(&dc, &button, skin->GetMenubarItemLightColor(), skin->GetMenubarItemDarkColor(),
            GRADIENT_FILL_RECT_V);
        bars->DrawButton(wnd->GetToolBar(), &dc, wnd->GetButtonIndex(), button);
    }
    PaintShadowedItemEdges(&dc, wnd, skin ? skin->GetMenuBorderColor() : ::GetSysColor(COLOR_BTNSHADOW));
}
