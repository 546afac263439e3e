#include "toolkit/skins/shortcutbar_skin.h"

#include <algorithm>

#include "platform/afx/gdi/brush.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/pen.h"
#include "platform/user/winuser.h"
#include "platform/gdi/wingdi.h"
#include "toolkit/docking/shb_bar.h"
#include "toolkit/docking/shb_list.h"
#include "toolkit/skins/dc_guard.h"
#include "toolkit/skins/skin_2003.h"

namespace {

// The list the window is, or null (the bar, or any other window).
COXSHBListCtrl* AsList(CWnd* wnd) { return dynamic_cast<COXSHBListCtrl*>(wnd); }

// Classic and XP: a list paints into a bitmap whose origin is the rectangle's top-left.
CRect FillRectFor(const RECT* rect, CWnd* wnd)
{
    CRect r(*rect);
    if (AsList(wnd))
        r.MoveToXY(0, 0);
    return r;
}

} // namespace

// ---- interface ------------------------------------------------------------------------------

void COXShortcutBarSkin::DrawHeader(DRAWITEMSTRUCT* /*drawItem*/) {}

void COXShortcutBarSkin::DrawItem(DRAWITEMSTRUCT* /*drawItem*/) {}

// ---- Classic ------------------------------------------------------------------------------------

COLORREF COXShortcutBarSkinClassic::GetBackgroundColor(CWnd* /*wnd*/) { return GetSysColor(COLOR_3DSHADOW); }

COLORREF COXShortcutBarSkinClassic::GetGroupTextColor(COXShortcutBar* /*bar*/)
{
    return GetSysColor(COLOR_CAPTIONTEXT);
}

void COXShortcutBarSkinClassic::DrawItemBorder(CDC* dc, const RECT* rect, BOOL hot, BOOL pressed,
    COXSHBListCtrl* list)
{
    if (!dc || !rect)
        return;
    const COLORREF background = list ? list->GetBkColor() : GetSysColor(COLOR_3DSHADOW);
    const COLORREF light = UpdateColor(background, 64);
    const COLORREF dark = UpdateColor(background, -128);
    if (pressed)
        dc->Draw3dRect(rect, dark, light);
    else if (hot)
        dc->Draw3dRect(rect, light, dark);
}

void COXShortcutBarSkinClassic::FillBackground(CDC* dc, const RECT* rect, CWnd* wnd, BOOL useColour,
    COLORREF colour)
{
    if (!dc || !rect)
        return;
    const CRect r = FillRectFor(rect, wnd);
    dc->FillSolidRect(&r, useColour ? colour : GetBackgroundColor(wnd));
}

COLORREF COXShortcutBarSkinClassic::UpdateColor(COLORREF colour, int delta)
{
    const auto channel = [delta](int value) {
        return delta > 0 ? std::min(value + delta, 255) : std::max(value + delta, 0);
    };
    return RGB(channel(GetRValue(colour)), channel(GetGValue(colour)), channel(GetBValue(colour)));
}

// ---- XP ------------------------------------------------------------------------------------------

COLORREF COXShortcutBarSkinXP::GetBackgroundColor(CWnd* /*wnd*/) { return m_pSkinXP->GetBackgroundColor(); }

COLORREF COXShortcutBarSkinXP::GetGroupTextColor(COXShortcutBar* /*bar*/) { return GetSysColor(COLOR_WINDOWTEXT); }

void COXShortcutBarSkinXP::DrawItemBorder(CDC* dc, const RECT* rect, BOOL hot, BOOL pressed,
    COXSHBListCtrl* /*list*/)
{
    if (!dc || !rect)
        return;
    COLORREF fill = m_pSkinXP->GetCheckedItemColor();
    if (hot && pressed)
        fill = m_pSkinXP->GetHotSelectedItemColor();
    else if (hot)
        fill = m_pSkinXP->GetHotItemColor();
    CPen pen(PS_SOLID, 1, m_pSkinXP->GetActiveBorderColor());
    CBrush brush(fill);
    COXSelectGuard<CPen> selectPen(*dc, &pen);
    COXSelectGuard<CBrush> selectBrush(*dc, &brush);
    dc->Rectangle(rect);
}

void COXShortcutBarSkinXP::FillBackground(CDC* dc, const RECT* rect, CWnd* wnd, BOOL useColour, COLORREF colour)
{
    if (!dc || !rect)
        return;
    const CRect r = FillRectFor(rect, wnd);
    dc->FillSolidRect(&r, useColour ? colour : GetBackgroundColor(wnd));
}

// ---- 2003 ----------------------------------------------------------------------------------------

COXShortcutBarSkin2003::COXShortcutBarSkin2003(COXSkin2003* skin)
    : COXShortcutBarSkinXP(skin)
{
}

COXSkin2003* COXShortcutBarSkin2003::GetSkin2003() const { return static_cast<COXSkin2003*>(m_pSkinXP); }

void COXShortcutBarSkin2003::FillBackground(CDC* dc, const RECT* rect, CWnd* wnd, BOOL useColour, COLORREF colour)
{
    if (!dc || !rect)
        return;
    CRect r(*rect);
    // A list paints its share of the one gradient that spans the whole bar: the bar's
    // client rectangle placed where the bar lies relative to the list (and to the
    // rectangle's own corner, the origin of the bitmap it is painted into).
    if (COXSHBListCtrl* list = AsList(wnd)) {
        COXShortcutBar* bar = list->GetShortcutBar();
        if (bar && bar->m_hWnd && list->m_hWnd) {
            CRect listWindow, barWindow, barClient;
            ::GetWindowRect(list->m_hWnd, &listWindow);
            ::GetWindowRect(bar->m_hWnd, &barWindow);
            ::GetClientRect(bar->m_hWnd, &barClient);
            const int dx = listWindow.left - barWindow.left;
            const int dy = listWindow.top - barWindow.top;
            const int left = -dx - rect->left;
            const int top = -dy - rect->top;
            r = CRect(left, top, left + barClient.Width(), top + barClient.Height());
        } else {
            r.MoveToXY(0, 0);
        }
    }
    if (useColour) {
        dc->FillSolidRect(&r, colour);
        return;
    }
    COXSkin2003* skin = GetSkin2003();
    const COLORREF light = skin->GetShortcutBarLightColor();
    const COLORREF dark = skin->GetShortcutBarDarkColor();
    skin->FourPointGradientFill(dc, &r, light, dark, dark, dark);
}
