#pragma once
// The "Office XP" skin. Besides owning its element skins it is the colour source of
// every XP element skin (and, through its virtual getters, of the 2003 ones): colours
// derive from the system colours at the moment of each call, so a change of the desktop
// scheme shows at the next paint. It also holds the toolkit's colour arithmetic.
#include "toolkit/skins/skin.h"

class CBitmap;
class CDC;
class CRect;
class CWnd;

class COXSkinXP : public virtual COXSkin {
public:
    COXSkinXP();
    ~COXSkinXP() override;

    // ---- colour arithmetic (no state) ----
    // Each channel plus its delta, kept within 0..255.
    static COLORREF ModifyColor(COLORREF color, int dRed, int dGreen, int dBlue);
    // Each channel times its factor, truncated toward zero, kept within 0..255.
    static COLORREF ModifyColor(COLORREF color, float fRed, float fGreen, float fBlue);
    // Per channel c1·w1 + c2·w2 + c3·w3, truncated toward zero, kept within 0..255. The
    // weights are not normalised.
    static COLORREF Blend3Colors(COLORREF c1, COLORREF c2, COLORREF c3, float w1, float w2, float w3);
    // Each channel replaced by 255 minus itself.
    static COLORREF InvertColor(COLORREF color);

    // ---- colours that the 2003 skin overrides ----
    virtual COLORREF GetHotItemColor() const;
    virtual COLORREF GetCheckedItemColor() const;
    virtual COLORREF GetHotSelectedItemColor() const;
    virtual COLORREF GetActiveBorderColor() const;
    virtual COLORREF GetMenuFaceColor() const;
    virtual COLORREF GetMenuBorderColor() const;
    virtual COLORREF GetBackgroundColor() const;
    virtual COLORREF GetDockbarBackgroundColor() const;
    virtual COLORREF GetInactiveTabTextColor() const;
    virtual COLORREF GetSeparatorColor() const;
    virtual COLORREF GetBorderColor() const;
    virtual COLORREF GetGripperColor() const;
    virtual COLORREF GetMiniFrameCaptionColor() const;
    virtual COLORREF GetMiniFrameCaptionTextColor() const;
    virtual COLORREF GetMiniFrameBorderColor() const;
    virtual COLORREF GetMiniFrameLightBorderColor() const;
    virtual COLORREF GetDisabledTextColor() const;
    virtual COLORREF GetDisabledMenuTextColor() const;
    // One small caption button (glyph: the DFC_CAPTION state word, such as
    // DFCS_CAPTIONCLOSE) in rect of dc, which lies in wnd's window coordinates. With
    // recolour the glyph's strokes take an overlay colour derived from background
    // (lighter when light is set); light alone draws a light glyph for a dark caption.
    virtual void DrawFrameButton(CDC* dc, CRect& rect, UINT glyph, BOOL recolour, BOOL light, COLORREF background,
        CWnd* wnd);

    // ---- colours that stay the same in every XP-based skin ----
    COLORREF GetHiddenItemBackgroundColor() const;
    COLORREF GetTextColor() const;
    COLORREF GetSelectedTextColor() const;
    COLORREF GetTabButtonsBackgroundColor() const;
    COLORREF GetStatusPaneColor() const;

    // Draws the cx-by-cy top-left area of bitmap at (x, y) of dc, leaving the pixels of
    // the transparent colour unpainted.
    static void DrawTransparentBitmap(CBitmap* bitmap, CDC* dc, int x, int y, int cx, int cy, COLORREF transparent);

protected:
    // Builds the XP part of a derived skin: no name and no element skins.
    explicit COXSkinXP(int);

    // Where the mouse is for a caption button: inside its rectangle, pressing it (a
    // window of the thread holds the capture) or hovering over it.
    struct FrameButtonMouse {
        bool inside = false;
        bool pressed = false;
        bool hot = false;
    };
    static FrameButtonMouse GetFrameButtonMouse(const RECT& rect, CWnd* wnd);

    // DrawFrameButton's steps; paintBackground fills the off-screen button (size cx by
    // cy at the origin) when the button is neither pressed nor hot, or is recoloured.
    using FrameButtonBackground = void (*)(const COXSkinXP& skin, CDC& dc, int cx, int cy, const CRect& rect,
        COLORREF background, CWnd* wnd);
    void DrawFrameButtonWith(CDC* dc, CRect& rect, UINT glyph, BOOL recolour, BOOL light, COLORREF background,
        CWnd* wnd, FrameButtonBackground paintBackground);
};
