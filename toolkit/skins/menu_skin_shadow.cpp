// The drop shadows of the XP and 2003 menu skins: under popups (painted, recorded or
// replayed), beside the shadowed item window over a dropped-from button, and where popup
// and button overlap. The pixels themselves are the shared four-pixel painter's
// (shadow_painter.h); a popup's joint with its button is painted here.
#include "platform/afx/gdi/dc.h"
#include "platform/afx/window_dc.h"
#include "platform/base/coll_array.h"
#include "platform/base/lasterror.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/window.h"
#include "platform/user/winuser.h"
#include "toolkit/menus/bitmap_menu.h"
#include "toolkit/menus/menu_seams.h"
#include "toolkit/menus/shadowed_item_wnd.h"
#include "toolkit/skins/menu_skin.h"
#include "toolkit/skins/shadow_painter.h"
#include "toolkit/skins/skin_2003.h"

namespace {

// The shadowed item window's shadow forms, by the side its popup lies on.
constexpr UINT kShadowNoBottom = static_cast<UINT>(OXShadowShape::OpenBelow);
constexpr UINT kShadowNoRight = static_cast<UINT>(OXShadowShape::OpenRight);
constexpr UINT kShadowLeftRun = static_cast<UINT>(OXShadowShape::OpenLeft);
constexpr UINT kShadowUpperRun = static_cast<UINT>(OXShadowShape::OpenAbove);

} // namespace

COLORREF COXMenuSkinXP::DarkenColor(LONG scale, COLORREF colour) { return OXDarkenColor(scale, colour); }

void COXMenuSkinXP::DrawMenuShadow(HDC hdc, RECT* windowRect, RECT* dropFromRect, CArray<COLORREF, COLORREF>* saved)
{
    if (!hdc || !windowRect)
        return;
    const RECT window = *windowRect;
    const int w = window.right - window.left;
    const int h = window.bottom - window.top;
    if (w < 4 || h < 4)
        return;
    const POINT origin{0, 0};
    if (!OXDrawShadow(hdc, window, origin, dropFromRect, saved) && saved && ::GetLastError() == ERROR_INVALID_DATA) {
        // Saved for another size or joint: recorded again rather than replayed.
        saved->RemoveAll();
        OXDrawShadow(hdc, window, origin, dropFromRect, saved);
    }

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
    OXDrawShadow(hdc, *rect, POINT{0, 0}, nullptr, nullptr, static_cast<OXShadowShape>(mode));
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
