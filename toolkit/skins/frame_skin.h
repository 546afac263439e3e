#pragma once
// Frame skins: the non-client border of skinned views (a form view hands its
// WM_NCCALCSIZE and WM_NCPAINT to the frame skin of the current skin).
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
    // rectangle of the NCCALCSIZE_PARAMS.
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

class COXFrameSkin2003 : public COXFrameSkinXP {
public:
    explicit COXFrameSkin2003(COXSkin2003* skin);
    COLORREF GetBackgroundColor() override;
    COLORREF GetBorderColor() override;
};

template <>
struct OXElementSkinTraits<COXFrameSkin> {
    using Classic = COXFrameSkinClassic;
    static constexpr COXFrameSkin* (COXSkin::*Accessor)() const = &COXSkin::GetFrameSkin;
};
