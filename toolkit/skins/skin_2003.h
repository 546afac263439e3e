#pragma once
// The "Office 2003" skin, the application's default. Its colours follow the active
// visual style when there is one (themed) and blends of system colours otherwise; it
// adds the colours of the gradient-painted elements, the gradient fills (through
// "Msimg32.dll" when it is there, by hand otherwise) and the gripper stripes.
#include "platform/base/wintypes.h"
#include "toolkit/skins/skin_xp.h"
#include "toolkit/skins/uxtheme.h"

struct TRIVERTEX;

class COXSkin2003 : public COXSkinXP {
public:
    COXSkin2003();
    ~COXSkin2003() override;

    // ---- the XP colours, themed ----
    COLORREF GetHotItemColor() const override;
    COLORREF GetCheckedItemColor() const override;
    COLORREF GetHotSelectedItemColor() const override;
    COLORREF GetActiveBorderColor() const override;
    COLORREF GetMenuFaceColor() const override;
    COLORREF GetMenuBorderColor() const override;
    COLORREF GetBackgroundColor() const override;
    COLORREF GetDockbarBackgroundColor() const override;
    COLORREF GetInactiveTabTextColor() const override;
    COLORREF GetSeparatorColor() const override;
    COLORREF GetBorderColor() const override;
    COLORREF GetGripperColor() const override;
    COLORREF GetMiniFrameCaptionColor() const override;
    COLORREF GetMiniFrameCaptionTextColor() const override;
    COLORREF GetMiniFrameBorderColor() const override;
    COLORREF GetMiniFrameLightBorderColor() const override;
    COLORREF GetDisabledTextColor() const override;
    COLORREF GetDisabledMenuTextColor() const override;
    void DrawFrameButton(CDC* dc, CRect& rect, UINT glyph, BOOL recolour, BOOL light, COLORREF background,
        CWnd* wnd) override;

    // ---- colours of the gradient-painted elements ----
    COLORREF GetToolbarLightColor() const;
    COLORREF GetToolbarDarkColor() const;
    COLORREF GetMenuStripLeftColor() const;
    COLORREF GetMenuStripRightColor() const;
    COLORREF GetGripperStripesShadowColor() const;
    COLORREF GetControlBarLightColor() const;
    COLORREF GetControlBarDarkColor() const;
    COLORREF GetDockbarLeftColor() const;
    COLORREF GetDockbarRightColor() const;
    COLORREF GetTabBackgroundLightColor() const;
    COLORREF GetTabBackgroundDarkColor() const;
    COLORREF GetTabItemLightColor() const;
    COLORREF GetTabItemDarkColor() const;
    COLORREF GetMenubarItemLightColor() const;
    COLORREF GetMenubarItemDarkColor() const;
    COLORREF GetShortcutBarLightColor() const;
    COLORREF GetShortcutBarDarkColor() const;
    COLORREF GetSplitterLineColor() const;
    COLORREF GetStatusbarTopColor() const;
    COLORREF GetStatusbarMiddleColor() const;
    COLORREF GetStatusbarBottomColor() const;
    COLORREF GetHotToolbarItemLightColor() const;
    COLORREF GetHotToolbarItemDarkColor() const;
    COLORREF GetCheckedToolbarItemLightColor() const;
    COLORREF GetCheckedToolbarItemDarkColor() const;
    COLORREF GetHotSelectedToolbarItemLightColor() const;
    COLORREF GetHotSelectedToolbarItemDarkColor() const;

    // Whether a visual style is in effect now.
    bool IsThemed() const;

    // ---- gradients ----
    // A two-colour gradient over rect: mode 0 (GRADIENT_FILL_RECT_H) left to right,
    // 1 (GRADIENT_FILL_RECT_V) top to bottom. Through "Msimg32.dll" when its
    // "GradientFill" was found, else by hand. The library interpolates the vertices'
    // 16-bit channels (each 8-bit channel times 255) and keeps the high byte, so its
    // pixels never lie above the hand-drawn ones and at most one level below where a
    // channel rises, two where it falls (the hand rule truncates toward the start).
    BOOL GradientFill(CDC* dc, const RECT* rect, COLORREF from, COLORREF to, ULONG mode) const;
    // By hand: line i of n takes from + (to - from) · i / n per channel (truncated
    // toward zero), one pen per line; lines outside the clip box are skipped; TRUE.
    BOOL GradientFillManual(CDC* dc, const RECT* rect, COLORREF from, COLORREF to, ULONG mode) const;
    // Two triangles through the four corner colours; by hand, a two-colour gradient
    // across the rectangle's shorter side (the bottom-right colour is not used).
    BOOL FourPointGradientFill(CDC* dc, const RECT* rect, COLORREF topLeft, COLORREF topRight,
        COLORREF bottomLeft, COLORREF bottomRight);
    BOOL FourPointGradientFillManual(CDC* dc, const RECT* rect, COLORREF topLeft, COLORREF topRight,
        COLORREF bottomLeft, COLORREF bottomRight);
    // Two gripper lines and a shadow line every fourth row (horizontal) or column.
    void DrawGripperStripes(CDC* dc, CRect& rect, bool horizontal);

    // Whether the gradients go through "Msimg32.dll".
    bool HasGradientFillEntry() const { return m_pfnGradientFill != nullptr; }

    // 8-bit colour channels as the 16-bit channels of a gradient vertex (channel × 255).
    static TRIVERTEX MakeVertex(LONG x, LONG y, COLORREF colour);

private:
    using GradientFillFn = BOOL (*)(HDC, TRIVERTEX*, ULONG, void*, ULONG, ULONG);

    // The visual style's highlight (TH) and active-caption (TA) colours, read through a
    // theme handle that is closed again before returning; false when not themed.
    struct ThemeColours {
        COLORREF highlight;
        COLORREF activeCaption;
    };
    bool ReadThemeColours(ThemeColours& colours) const;
    // Blend(WINDOW w, TH 1 - w) when themed, else Blend(WINDOW v, BTNFACE 1 - v).
    COLORREF WindowBlend(float themedWindow, float plainWindow) const;
    // The theme highlight scaled by f.
    static COLORREF Scale(COLORREF colour, float f);

    HMODULE m_hMsimg32 = nullptr;
    GradientFillFn m_pfnGradientFill = nullptr;
    COXUxTheme m_UxTheme;
};
