#pragma once
// Frame skins: the non-client border of skinned views. A skinned form view hands its
// WM_NCCALCSIZE and WM_NCPAINT to the frame skin of the current skin (skinned_view.h).
//
// Classic leaves the window as the system frames it. Office XP and Office 2003 replace
// the view's border with a flat one-pixel frame in the skin's border colour: the client
// grows outward so that one pixel of the border the system reserved is left, and that
// pixel is painted. The growth never leaves the space the system reserved for the
// border: a side without a border keeps its client edge, and a side the system gave a
// scroll bar keeps the bar where the system put it (the rest of the border between the
// bar and the frame is painted in the skin's background colour, so no pixel of the old
// edge shows). A view with a caption keeps the system's look.
#include "platform/base/wintypes.h"
#include "toolkit/skins/skin_lookup.h"

class CView;
class COXSkinXP;
class COXSkin2003;

class COXFrameSkin {
public:
    virtual ~COXFrameSkin() = default;
    // Paints the view's non-client border.
    virtual void DrawViewBorder(CView* view) = 0;
    // Adjusts the client rectangle of WM_NCCALCSIZE; lParam points to the first
    // rectangle of the NCCALCSIZE_PARAMS, after the system computed it. Without a view
    // window to measure, the XP and 2003 skins assume the standard 2-pixel client edge.
    virtual void OnNcCalcSizeView(LPARAM lParam, CView* view) = 0;
    virtual COLORREF GetBackgroundColor() = 0;
    virtual COLORREF GetBorderColor() = 0;
};

// The standard look: the window keeps the edge the system draws.
class COXFrameSkinClassic : public COXFrameSkin {
public:
    COXFrameSkinClassic() = default;
    void DrawViewBorder(CView* view) override;
    void OnNcCalcSizeView(LPARAM lParam, CView* view) override;
    COLORREF GetBackgroundColor() override;
    COLORREF GetBorderColor() override;
};

// A flat one-pixel border in the skin object's colours.
class COXFrameSkinXP : public COXFrameSkin {
public:
    explicit COXFrameSkinXP(COXSkinXP* skin) : m_pSkinXP(skin) {}
    void DrawViewBorder(CView* view) override;
    void OnNcCalcSizeView(LPARAM lParam, CView* view) override;
    COLORREF GetBackgroundColor() override;
    COLORREF GetBorderColor() override;

protected:
    COXSkinXP* m_pSkinXP; // the skin object that created this one; not owned
};

// As XP, in the Office 2003 colours: the dock-bar background and the skin's border colour
// (both follow the visual style when one is active).
class COXFrameSkin2003 : public COXFrameSkinXP {
public:
    explicit COXFrameSkin2003(COXSkin2003* skin);
    COLORREF GetBackgroundColor() override;
    COLORREF GetBorderColor() override;
};

// The border the system reserves around a view of the given styles, as the XP and 2003
// frame skins see it: its thickness in pixels (the frame's plus the client edges'), and
// which sides the client may grow into (not a side where the system puts a scroll bar).
// A window with a caption is not skinned (skinned is false).
struct OXViewBorder {
    bool skinned = false;
    int thickness = 0;
    bool growLeft = false;
    bool growTop = false;
    bool growRight = false;
    bool growBottom = false;
};
OXViewBorder OXMeasureViewBorder(DWORD style, DWORD exStyle);

template <>
struct OXElementSkinTraits<COXFrameSkin> {
    using Classic = COXFrameSkinClassic;
    static constexpr COXFrameSkin* (COXSkin::*Accessor)() const = &COXSkin::GetFrameSkin;
};
