#include "toolkit/skins/skin_xp.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

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

int ClampChannel(int value) { return std::clamp(value, 0, 255); }

// A computed channel truncated toward zero and kept within 0..255. Weights and factors
// are written as decimals (0.2, 1.2) that binary floating point holds only nearly, so
// an exact product such as 255 × 0.2 = 51 may come out as 50.99999; the small guard
// keeps such values on their integer.
int TruncateChannel(double value)
{
    constexpr double guard = 1e-3;
    if (!(value > 0))
        return 0; // also NaN
    return ClampChannel(static_cast<int>(std::min(std::floor(value + guard), 255.0)));
}

COLORREF Sys(int index) { return GetSysColor(index); }

} // namespace

// ---- construction ---------------------------------------------------------------------

COXSkinXP::COXSkinXP()
{
    m_strName = L"Office XP";
    m_pToolbarSkin = std::make_unique<COXToolbarSkinXP>(this);
    m_pDialogBarSkin = std::make_unique<COXDialogBarSkinXP>(this);
    m_pMenuSkin = std::make_unique<COXMenuSkinXP>(this);
    m_pMenubarSkin = std::make_unique<COXToolbarSkinXP>(this);
    m_pDockbarSkin = std::make_unique<COXDockbarSkinXP>(this);
    m_pTabSkin = std::make_unique<COXTabSkinXP>(this);
    m_pShortcutBarSkin = std::make_unique<COXShortcutBarSkinXP>(this);
    m_pMiniFrameSkin = std::make_unique<COXMiniFrameSkinXP>(this);
    m_pStatusbarSkin = std::make_unique<COXStatusbarSkinXP>(this);
    m_pFrameSkin = std::make_unique<COXFrameSkinXP>(this);
}

COXSkinXP::COXSkinXP(int) {}

COXSkinXP::~COXSkinXP() = default;

// ---- colour arithmetic -----------------------------------------------------------------

COLORREF COXSkinXP::ModifyColor(COLORREF color, int dRed, int dGreen, int dBlue)
{
    // In 64 bits, so that a delta near INT_MAX or INT_MIN saturates instead of
    // overflowing; channels below 0 clamp at 0.
    const auto add = [](BYTE channel, int delta) {
        return static_cast<BYTE>(std::clamp<int64_t>(int64_t(channel) + delta, 0, 255));
    };
    return RGB(add(GetRValue(color), dRed), add(GetGValue(color), dGreen), add(GetBValue(color), dBlue));
}

COLORREF COXSkinXP::ModifyColor(COLORREF color, float fRed, float fGreen, float fBlue)
{
    return RGB(TruncateChannel(GetRValue(color) * static_cast<double>(fRed)),
        TruncateChannel(GetGValue(color) * static_cast<double>(fGreen)),
        TruncateChannel(GetBValue(color) * static_cast<double>(fBlue)));
}

COLORREF COXSkinXP::Blend3Colors(COLORREF c1, COLORREF c2, COLORREF c3, float w1, float w2, float w3)
{
    const auto channel = [&](BYTE (*part)(COLORREF)) {
        return TruncateChannel(part(c1) * static_cast<double>(w1) + part(c2) * static_cast<double>(w2) +
            part(c3) * static_cast<double>(w3));
    };
    return RGB(channel(GetRValue), channel(GetGValue), channel(GetBValue));
}

COLORREF COXSkinXP::InvertColor(COLORREF color)
{
    return RGB(255 - GetRValue(color), 255 - GetGValue(color), 255 - GetBValue(color));
}

// ---- colours ------------------------------------------------------------------------------

COLORREF COXSkinXP::GetHotItemColor() const
{
    return Blend3Colors(Sys(COLOR_WINDOW), Sys(COLOR_HIGHLIGHT), 0, 0.7f, 0.3f, 0);
}

COLORREF COXSkinXP::GetCheckedItemColor() const
{
    return Blend3Colors(Sys(COLOR_BTNFACE), Sys(COLOR_WINDOW), Sys(COLOR_HIGHLIGHT), 0.42f, 0.48f, 0.1f);
}

COLORREF COXSkinXP::GetHotSelectedItemColor() const
{
    return Blend3Colors(Sys(COLOR_WINDOW), Sys(COLOR_HIGHLIGHT), 0, 0.5f, 0.5f, 0);
}

COLORREF COXSkinXP::GetActiveBorderColor() const { return Sys(COLOR_HIGHLIGHT); }

COLORREF COXSkinXP::GetMenuFaceColor() const
{
    return Blend3Colors(Sys(COLOR_WINDOW), Sys(COLOR_BTNFACE), 0, 0.86f, 0.14f, 0);
}

COLORREF COXSkinXP::GetMenuBorderColor() const { return Sys(COLOR_BTNSHADOW); }

COLORREF COXSkinXP::GetBackgroundColor() const
{
    return Blend3Colors(Sys(COLOR_WINDOW), Sys(COLOR_BTNFACE), 0, 0.16f, 0.84f, 0);
}

COLORREF COXSkinXP::GetDockbarBackgroundColor() const { return Sys(COLOR_BTNFACE); }

COLORREF COXSkinXP::GetInactiveTabTextColor() const { return ModifyColor(Sys(COLOR_GRAYTEXT), -8, -12, -22); }

COLORREF COXSkinXP::GetSeparatorColor() const { return ModifyColor(Sys(COLOR_BTNSHADOW), 38, 38, 38); }

COLORREF COXSkinXP::GetBorderColor() const { return Sys(COLOR_BTNSHADOW); }

COLORREF COXSkinXP::GetGripperColor() const { return ModifyColor(Sys(COLOR_BTNSHADOW), 32, 32, 32); }

COLORREF COXSkinXP::GetMiniFrameCaptionColor() const { return Sys(COLOR_BTNSHADOW); }

COLORREF COXSkinXP::GetMiniFrameCaptionTextColor() const { return Sys(COLOR_CAPTIONTEXT); }

COLORREF COXSkinXP::GetMiniFrameBorderColor() const { return ModifyColor(Sys(COLOR_BTNSHADOW), -9, -9, -9); }

COLORREF COXSkinXP::GetMiniFrameLightBorderColor() const { return GetBackgroundColor(); }

COLORREF COXSkinXP::GetDisabledTextColor() const { return Sys(COLOR_GRAYTEXT); }

COLORREF COXSkinXP::GetDisabledMenuTextColor() const { return GetSeparatorColor(); }

COLORREF COXSkinXP::GetHiddenItemBackgroundColor() const { return ModifyColor(Sys(COLOR_BTNFACE), -8, -8, -8); }

COLORREF COXSkinXP::GetTextColor() const { return Sys(COLOR_BTNTEXT); }

COLORREF COXSkinXP::GetSelectedTextColor() const { return Sys(COLOR_HIGHLIGHTTEXT); }

COLORREF COXSkinXP::GetTabButtonsBackgroundColor() const
{
    return ModifyColor(Sys(COLOR_BTNFACE), 1.2f, 1.2f, 1.2f);
}

COLORREF COXSkinXP::GetStatusPaneColor() const { return ModifyColor(Sys(COLOR_BTNFACE), 17, 12, 16); }
