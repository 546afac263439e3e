#include "toolkit/skins/shortcutbar_skin.h"

#include <algorithm>

#include "platform/gdi/wingdi.h"
#include "toolkit/skins/skin_2003.h"

// ---- interface ------------------------------------------------------------------------------

void COXShortcutBarSkin::DrawHeader(DRAWITEMSTRUCT* /*drawItem*/) {}

void COXShortcutBarSkin::DrawItem(DRAWITEMSTRUCT* /*drawItem*/) {}

// ---- Classic ------------------------------------------------------------------------------------

COLORREF COXShortcutBarSkinClassic::GetBackgroundColor(CWnd* /*wnd*/) { return GetSysColor(COLOR_3DSHADOW); }

COLORREF COXShortcutBarSkinClassic::GetGroupTextColor(COXShortcutBar* /*bar*/)
{
    return GetSysColor(COLOR_CAPTIONTEXT);
}

void COXShortcutBarSkinClassic::DrawItemBorder(CDC* /*dc*/, const RECT* /*rect*/, BOOL /*hot*/, BOOL /*pressed*/,
    COXSHBListCtrl* /*list*/)
{
    // drawn by the shortcut-bar skin
}

void COXShortcutBarSkinClassic::FillBackground(CDC* /*dc*/, const RECT* /*rect*/, CWnd* /*wnd*/, BOOL /*useColour*/,
    COLORREF /*colour*/)
{
    // drawn by the shortcut-bar skin
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

void COXShortcutBarSkinXP::DrawItemBorder(CDC* /*dc*/, const RECT* /*rect*/, BOOL /*hot*/, BOOL /*pressed*/,
    COXSHBListCtrl* /*list*/)
{
    // drawn by the shortcut-bar skin
}

void COXShortcutBarSkinXP::FillBackground(CDC* /*dc*/, const RECT* /*rect*/, CWnd* /*wnd*/, BOOL /*useColour*/,
    COLORREF /*colour*/)
{
    // drawn by the shortcut-bar skin
}

// ---- 2003 ----------------------------------------------------------------------------------------

COXShortcutBarSkin2003::COXShortcutBarSkin2003(COXSkin2003* skin)
    : COXShortcutBarSkinXP(skin)
{
}

COXSkin2003* COXShortcutBarSkin2003::GetSkin2003() const { return static_cast<COXSkin2003*>(m_pSkinXP); }

void COXShortcutBarSkin2003::FillBackground(CDC* /*dc*/, const RECT* /*rect*/, CWnd* /*wnd*/, BOOL /*useColour*/,
    COLORREF /*colour*/)
{
    // drawn by the shortcut-bar skin
}
