#pragma once
// Shortcut-bar skins: colours and fills of the shortcut bar and of its groups' lists.
// The bar asks the current skin for one (or keeps a Classic one of its own) and its lists
// use their bar's. Classic works from system colours and 3-D edges, XP from the Office XP
// colours with a filled, outlined item frame, and 2003 paints one four-corner gradient
// across the whole bar, each list filling its own share of it. A list's own background
// colour is always a flat fill. The skins keep no state; pens and brushes live per call.
#include "platform/base/wintypes.h"
#include "toolkit/skins/skin_lookup.h"

class CDC;
class CWnd;
class COXShortcutBar;
class COXSHBListCtrl;
class COXSkinXP;
class COXSkin2003;
struct DRAWITEMSTRUCT;

class COXShortcutBarSkin {
public:
    virtual ~COXShortcutBarSkin() = default;
    // Background colour of the bar or one of its lists.
    virtual COLORREF GetBackgroundColor(CWnd* wnd) = 0;
    // Text colour of the group items.
    virtual COLORREF GetGroupTextColor(COXShortcutBar* bar) = 0;
    // The frame around a hot or pressed item image.
    virtual void DrawItemBorder(CDC* dc, const RECT* rect, BOOL hot, BOOL pressed, COXSHBListCtrl* list) = 0;
    // Fills an area of the bar or a list: with the colour when useColour is set, else
    // with the skin's background.
    virtual void FillBackground(CDC* dc, const RECT* rect, CWnd* wnd, BOOL useColour, COLORREF colour) = 0;
    // Not used by the bar or its lists; they do nothing.
    virtual void DrawHeader(DRAWITEMSTRUCT* drawItem);
    virtual void DrawItem(DRAWITEMSTRUCT* drawItem);
};

class COXShortcutBarSkinClassic : public COXShortcutBarSkin {
public:
    COXShortcutBarSkinClassic() = default;
    COLORREF GetBackgroundColor(CWnd* wnd) override;
    COLORREF GetGroupTextColor(COXShortcutBar* bar) override;
    void DrawItemBorder(CDC* dc, const RECT* rect, BOOL hot, BOOL pressed, COXSHBListCtrl* list) override;
    void FillBackground(CDC* dc, const RECT* rect, CWnd* wnd, BOOL useColour, COLORREF colour) override;

    // Each channel plus delta: a positive delta caps at 255, any other floors at 0.
    static COLORREF UpdateColor(COLORREF colour, int delta);
};

class COXShortcutBarSkinXP : public COXShortcutBarSkin {
public:
    explicit COXShortcutBarSkinXP(COXSkinXP* skin) : m_pSkinXP(skin) {}
    COLORREF GetBackgroundColor(CWnd* wnd) override;
    COLORREF GetGroupTextColor(COXShortcutBar* bar) override;
    void DrawItemBorder(CDC* dc, const RECT* rect, BOOL hot, BOOL pressed, COXSHBListCtrl* list) override;
    void FillBackground(CDC* dc, const RECT* rect, CWnd* wnd, BOOL useColour, COLORREF colour) override;

protected:
    COXSkinXP* m_pSkinXP; // the skin object that created this one; not owned
};

// One four-corner gradient across the whole bar and its lists.
class COXShortcutBarSkin2003 : public COXShortcutBarSkinXP {
public:
    explicit COXShortcutBarSkin2003(COXSkin2003* skin);
    void FillBackground(CDC* dc, const RECT* rect, CWnd* wnd, BOOL useColour, COLORREF colour) override;

protected:
    COXSkin2003* GetSkin2003() const;
};

template <>
struct OXElementSkinTraits<COXShortcutBarSkin> {
    using Classic = COXShortcutBarSkinClassic;
    static constexpr COXShortcutBarSkin* (COXSkin::*Accessor)() const = &COXSkin::GetShortcutBarSkin;
};
