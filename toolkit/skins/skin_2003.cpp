#include "toolkit/skins/skin_2003.h"

#include "platform/base/module.h"
#include "platform/gdi/wingdi.h"
#include "toolkit/skins/dialogbar_skin.h"
#include "toolkit/skins/dockbar_skin.h"
#include "toolkit/skins/frame_skin.h"
#include "toolkit/skins/menu_skin.h"
#include "toolkit/skins/miniframe_skin.h"
#include "toolkit/skins/shortcutbar_skin.h"
#include "toolkit/skins/statusbar_skin.h"
#include "toolkit/skins/tab_skin.h"
#include "toolkit/skins/toolbar_skin.h"

namespace {

COLORREF Sys(int index) { return GetSysColor(index); }

// Blend(a w1, b w2): two colours mixed with the given weights.
COLORREF Blend(COLORREF a, float w1, COLORREF b, float w2) { return COXSkinXP::Blend3Colors(a, b, 0, w1, w2, 0); }

} // namespace

// ---- construction ---------------------------------------------------------------------------

COXSkin2003::COXSkin2003()
    : COXSkinXP(0)
{
    m_strName = L"Office 2003";
    m_pToolbarSkin = std::make_unique<COXToolbarSkin2003>(this);
    m_pDialogBarSkin = std::make_unique<COXDialogBarSkin2003>(this);
    m_pMenuSkin = std::make_unique<COXMenuSkin2003>(this);
    m_pMenubarSkin = std::make_unique<COXToolbarSkinXP>(this);
    m_pDockbarSkin = std::make_unique<COXDockbarSkin2003>(this);
    m_pTabSkin = std::make_unique<COXTabSkin2003>(this);
    m_pShortcutBarSkin = std::make_unique<COXShortcutBarSkin2003>(this);
    m_pMiniFrameSkin = std::make_unique<COXMiniFrameSkinXP>(this);
    m_pStatusbarSkin = std::make_unique<COXStatusbarSkin2003>(this);
    m_pFrameSkin = std::make_unique<COXFrameSkin2003>(this);

    // Without the library or its export the gradients are drawn by hand.
    m_hMsimg32 = LoadLibraryW(L"Msimg32.dll");
    if (m_hMsimg32)
        m_pfnGradientFill = reinterpret_cast<GradientFillFn>(GetProcAddress(m_hMsimg32, "GradientFill"));
}

COXSkin2003::~COXSkin2003()
{
    m_pfnGradientFill = nullptr;
    if (m_hMsimg32)
        FreeLibrary(m_hMsimg32);
    // The visual-styles wrapper frees its library as a member.
}

// ---- the themed test --------------------------------------------------------------------------

bool COXSkin2003::ReadThemeColours(ThemeColours& colours) const
{
    const HTHEME theme = m_UxTheme.OpenThemeData(nullptr, L"button");
    if (!theme)
        return false;
    colours.highlight = m_UxTheme.GetThemeSysColor(theme, COLOR_HIGHLIGHT);
    colours.activeCaption = m_UxTheme.GetThemeSysColor(theme, COLOR_ACTIVECAPTION);
    // Each query closes what it opened, so a change of visual style shows at the next
    // paint and no handle is left behind.
    m_UxTheme.CloseThemeData(theme);
    return true;
}

bool COXSkin2003::IsThemed() const
{
    ThemeColours colours;
    return ReadThemeColours(colours);
}

COLORREF COXSkin2003::Scale(COLORREF colour, float f) { return Blend3Colors(colour, 0, 0, f, 1 - f, 0); }

// ---- the XP colours ------------------------------------------------------------------------------

COLORREF COXSkin2003::GetHotItemColor() const
{
    ThemeColours t;
    return ReadThemeColours(t) ? RGB(255, 238, 194) : COXSkinXP::GetHotItemColor();
}

COLORREF COXSkin2003::GetCheckedItemColor() const
{
    ThemeColours t;
    return ReadThemeColours(t) ? RGB(255, 192, 111) : COXSkinXP::GetCheckedItemColor();
}

COLORREF COXSkin2003::GetHotSelectedItemColor() const
{
    ThemeColours t;
    return ReadThemeColours(t) ? RGB(254, 128, 62) : COXSkinXP::GetHotSelectedItemColor();
}

COLORREF COXSkin2003::GetActiveBorderColor() const
{
    ThemeColours t;
    return ReadThemeColours(t) ? ModifyColor(t.activeCaption, 0, -84, -99) : Sys(COLOR_HIGHLIGHT);
}

COLORREF COXSkin2003::GetMenuFaceColor() const
{
    ThemeColours t;
    return ReadThemeColours(t) ? RGB(246, 246, 246) : Blend(Sys(COLOR_WINDOW), 0.86f, Sys(COLOR_BTNFACE), 0.14f);
}

COLORREF COXSkin2003::GetMenuBorderColor() const
{
    ThemeColours t;
    return ReadThemeColours(t) ? Blend(t.activeCaption, 0.55f, 0, 0.45f) : Sys(COLOR_BTNSHADOW);
}

COLORREF COXSkin2003::GetBackgroundColor() const { return COXSkinXP::GetBackgroundColor(); }

COLORREF COXSkin2003::GetDockbarBackgroundColor() const
{
    return IsThemed() ? GetDockbarRightColor() : Sys(COLOR_BTNFACE);
}

COLORREF COXSkin2003::GetInactiveTabTextColor() const { return Sys(COLOR_BTNTEXT); }

COLORREF COXSkin2003::GetSeparatorColor() const
{
    ThemeColours t;
    return ReadThemeColours(t) ? Blend(Sys(COLOR_WINDOW), 0.2f, t.highlight, 0.8f) : COXSkinXP::GetSeparatorColor();
}

COLORREF COXSkin2003::GetBorderColor() const
{
    ThemeColours t;
    return ReadThemeColours(t) ? Scale(t.highlight, 0.5f) : COXSkinXP::GetSeparatorColor();
}

COLORREF COXSkin2003::GetGripperColor() const
{
    ThemeColours t;
    return ReadThemeColours(t) ? Scale(t.highlight, 0.7f) : COXSkinXP::GetGripperColor();
}

COLORREF COXSkin2003::GetMiniFrameCaptionColor() const
{
    ThemeColours t;
    return ReadThemeColours(t) ? t.highlight : COXSkinXP::GetMiniFrameCaptionColor();
}

COLORREF COXSkin2003::GetMiniFrameCaptionTextColor() const { return COXSkinXP::GetMiniFrameCaptionTextColor(); }

COLORREF COXSkin2003::GetMiniFrameBorderColor() const
{
    ThemeColours t;
    return ReadThemeColours(t) ? t.highlight : COXSkinXP::GetMiniFrameBorderColor();
}

COLORREF COXSkin2003::GetMiniFrameLightBorderColor() const { return GetDockbarBackgroundColor(); }

COLORREF COXSkin2003::GetDisabledTextColor() const
{
    return IsThemed() ? RGB(141, 141, 141) : COXSkinXP::GetDisabledTextColor();
}

COLORREF COXSkin2003::GetDisabledMenuTextColor() const
{
    return IsThemed() ? RGB(141, 141, 141) : COXSkinXP::GetDisabledMenuTextColor();
}

// ---- colours of the gradient-painted elements -----------------------------------------------------

// The common pattern: Blend(WINDOW w, TH 1 - w) when themed, else Blend(WINDOW v,
// BTNFACE 1 - v).
COLORREF COXSkin2003::WindowBlend(float themedWindow, float plainWindow) const
{
    ThemeColours t;
    if (ReadThemeColours(t))
        return Blend(Sys(COLOR_WINDOW), themedWindow, t.highlight, 1 - themedWindow);
    return Blend(Sys(COLOR_WINDOW), plainWindow, Sys(COLOR_BTNFACE), 1 - plainWindow);
}

COLORREF COXSkin2003::GetToolbarLightColor() const { return WindowBlend(0.95f, 0.78f); }
COLORREF COXSkin2003::GetToolbarDarkColor() const { return WindowBlend(0.2f, 0.04f); }
COLORREF COXSkin2003::GetMenuStripLeftColor() const { return WindowBlend(0.95f, 0.86f); }
COLORREF COXSkin2003::GetMenuStripRightColor() const { return WindowBlend(0.2f, 0.08f); }
COLORREF COXSkin2003::GetControlBarLightColor() const { return WindowBlend(0.95f, 0.73f); }
COLORREF COXSkin2003::GetDockbarRightColor() const { return WindowBlend(0.7f, 0.8f); }
COLORREF COXSkin2003::GetTabBackgroundLightColor() const { return WindowBlend(0.95f, 0.78f); }
COLORREF COXSkin2003::GetTabBackgroundDarkColor() const { return WindowBlend(0.2f, 0.04f); }
COLORREF COXSkin2003::GetTabItemLightColor() const { return WindowBlend(0.95f, 0.73f); }
COLORREF COXSkin2003::GetMenubarItemLightColor() const { return WindowBlend(0.95f, 0.86f); }
COLORREF COXSkin2003::GetMenubarItemDarkColor() const { return WindowBlend(0.2f, 0.58f); }
COLORREF COXSkin2003::GetShortcutBarLightColor() const { return WindowBlend(0.95f, 0.86f); }
COLORREF COXSkin2003::GetStatusbarMiddleColor() const { return WindowBlend(0.6f, 0.5f); }
COLORREF COXSkin2003::GetStatusbarBottomColor() const { return WindowBlend(0.3f, 0.2f); }

COLORREF COXSkin2003::GetGripperStripesShadowColor() const { return Sys(COLOR_WINDOW); }

COLORREF COXSkin2003::GetControlBarDarkColor() const
{
    ThemeColours t;
    return ReadThemeColours(t) ? Blend(Sys(COLOR_WINDOW), 0.2f, t.highlight, 0.8f) : Sys(COLOR_BTNFACE);
}

COLORREF COXSkin2003::GetDockbarLeftColor() const
{
    ThemeColours t;
    return ReadThemeColours(t) ? Blend(Sys(COLOR_WINDOW), 0.5f, t.highlight, 0.5f) : Sys(COLOR_BTNFACE);
}

COLORREF COXSkin2003::GetTabItemDarkColor() const { return IsThemed() ? GetDockbarRightColor() : Sys(COLOR_BTNFACE); }

COLORREF COXSkin2003::GetShortcutBarDarkColor() const
{
    ThemeColours t;
    return ReadThemeColours(t) ? Blend(Sys(COLOR_WINDOW), 0.5f, t.highlight, 0.5f) : GetBackgroundColor();
}

COLORREF COXSkin2003::GetSplitterLineColor() const
{
    return IsThemed() ? GetShortcutBarDarkColor() : COXSkinXP::GetSeparatorColor();
}

COLORREF COXSkin2003::GetStatusbarTopColor() const
{
    ThemeColours t;
    return ReadThemeColours(t) ? Blend3Colors(Sys(COLOR_WINDOW), t.highlight, 0, 0.3f, 0.3f, 0.4f)
                               : Sys(COLOR_BTNSHADOW);
}

COLORREF COXSkin2003::GetHotToolbarItemLightColor() const
{
    return IsThemed() ? RGB(255, 244, 204) : COXSkinXP::GetHotItemColor();
}

COLORREF COXSkin2003::GetHotToolbarItemDarkColor() const
{
    return IsThemed() ? RGB(255, 208, 145) : COXSkinXP::GetHotItemColor();
}

COLORREF COXSkin2003::GetCheckedToolbarItemLightColor() const
{
    return IsThemed() ? RGB(255, 213, 140) : COXSkinXP::GetCheckedItemColor();
}

COLORREF COXSkin2003::GetCheckedToolbarItemDarkColor() const
{
    return IsThemed() ? RGB(255, 173, 85) : COXSkinXP::GetCheckedItemColor();
}

COLORREF COXSkin2003::GetHotSelectedToolbarItemLightColor() const
{
    return IsThemed() ? RGB(254, 145, 78) : COXSkinXP::GetHotSelectedItemColor();
}

COLORREF COXSkin2003::GetHotSelectedToolbarItemDarkColor() const
{
    return IsThemed() ? RGB(255, 211, 142) : COXSkinXP::GetHotSelectedItemColor();
}
