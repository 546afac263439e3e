#pragma once
// Dock-bar skins: the non-client parts of the sizeable control bars (gripper or caption
// strip, close and resize buttons, borders) and the background, non-client area and
// splitters of the dock bars that hold them.
#include <memory>

#include "platform/base/wintypes.h"
#include "toolkit/skins/skin_lookup.h"

class CDC;
class CFont;
class COXSizeControlBar;
class COXSizeDockBar;
class COXSplitterRect;
class COXSkinXP;
class COXSkin2003;
struct NCCALCSIZE_PARAMS;

// The gap in pixels that the layout leaves between the gripper and each caption button.
struct OXCONTROLBARCONSTANTS {
    int32_t nGripperButtonGap;
};

class COXDockbarSkin {
public:
    virtual ~COXDockbarSkin() = default;
    virtual void DrawGripper(CDC* dc, COXSizeControlBar* bar) = 0;
    virtual void DrawCloseButton(CDC* dc, COXSizeControlBar* bar) = 0;
    virtual void DrawResizeButton(CDC* dc, COXSizeControlBar* bar) = 0;
    virtual OXCONTROLBARCONSTANTS& GetControlBarConstants() = 0;
    // windowRect: the bar's window rectangle moved to (0, 0).
    virtual void DrawNonClientArea(CDC* dc, const RECT* windowRect, COXSizeControlBar* bar) = 0;
    virtual void DrawSplitter(CDC* dc, COXSplitterRect* splitter, COXSizeDockBar* dockBar) = 0;
    virtual void OnNcPaintSizeDockBar(COXSizeDockBar* dockBar) = 0;
    virtual void DrawBackground(CDC* dc, COXSizeDockBar* dockBar) = 0;
    // Shrinks the first rectangle of params to the bar's client area.
    virtual void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params, COXSizeControlBar* bar) = 0;
    // Places the bar's gripper, close-button and resize-button rectangles.
    virtual void RecalcLayout(COXSizeControlBar* bar) = 0;
    // The colour of the optional frame around the bar's client area.
    virtual COLORREF GetClientBorderColor() = 0;
};

// System colours, caption strips in the window caption colours.
class COXDockbarSkinClassic : public COXDockbarSkin {
public:
    COXDockbarSkinClassic();
    ~COXDockbarSkinClassic() override;
    // The fonts belong to this object.
    COXDockbarSkinClassic(const COXDockbarSkinClassic&) = delete;
    COXDockbarSkinClassic& operator=(const COXDockbarSkinClassic&) = delete;

    void DrawGripper(CDC* dc, COXSizeControlBar* bar) override;
    void DrawCloseButton(CDC* dc, COXSizeControlBar* bar) override;
    void DrawResizeButton(CDC* dc, COXSizeControlBar* bar) override;
    OXCONTROLBARCONSTANTS& GetControlBarConstants() override { return m_constants; }
    void DrawNonClientArea(CDC* dc, const RECT* windowRect, COXSizeControlBar* bar) override;
    void DrawSplitter(CDC* dc, COXSplitterRect* splitter, COXSizeDockBar* dockBar) override;
    void OnNcPaintSizeDockBar(COXSizeDockBar* dockBar) override;
    void DrawBackground(CDC* dc, COXSizeDockBar* dockBar) override;
    void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params, COXSizeControlBar* bar) override;
    void RecalcLayout(COXSizeControlBar* bar) override;
    COLORREF GetClientBorderColor() override;

protected:
    std::unique_ptr<CFont> m_pCaptionFont;      // "Arial" 10 pt
    std::unique_ptr<CFont> m_pSmallCaptionFont; // "Arial" 8 pt
    OXCONTROLBARCONSTANTS m_constants{2};
};

// The flat look in the skin object's colours.
class COXDockbarSkinXP : public COXDockbarSkin {
public:
    explicit COXDockbarSkinXP(COXSkinXP* skin);
    ~COXDockbarSkinXP() override;
    // The font belongs to this object.
    COXDockbarSkinXP(const COXDockbarSkinXP&) = delete;
    COXDockbarSkinXP& operator=(const COXDockbarSkinXP&) = delete;

    void DrawGripper(CDC* dc, COXSizeControlBar* bar) override;
    void DrawCloseButton(CDC* dc, COXSizeControlBar* bar) override;
    void DrawResizeButton(CDC* dc, COXSizeControlBar* bar) override;
    OXCONTROLBARCONSTANTS& GetControlBarConstants() override { return m_constants; }
    void DrawNonClientArea(CDC* dc, const RECT* windowRect, COXSizeControlBar* bar) override;
    void DrawSplitter(CDC* dc, COXSplitterRect* splitter, COXSizeDockBar* dockBar) override;
    void OnNcPaintSizeDockBar(COXSizeDockBar* dockBar) override;
    void DrawBackground(CDC* dc, COXSizeDockBar* dockBar) override;
    void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params, COXSizeControlBar* bar) override;
    void RecalcLayout(COXSizeControlBar* bar) override;
    COLORREF GetClientBorderColor() override;

protected:
    COXSkinXP* m_pSkinXP; // the skin object that created this one; not owned
    std::unique_ptr<CFont> m_pCaptionFont; // "Tahoma BOLD" 8.5 pt
    OXCONTROLBARCONSTANTS m_constants{3};
};

// Gradient strips and backgrounds.
class COXDockbarSkin2003 : public COXDockbarSkinXP {
public:
    explicit COXDockbarSkin2003(COXSkin2003* skin);
    void DrawGripper(CDC* dc, COXSizeControlBar* bar) override;
    void DrawCloseButton(CDC* dc, COXSizeControlBar* bar) override;
    void DrawResizeButton(CDC* dc, COXSizeControlBar* bar) override;
    void DrawNonClientArea(CDC* dc, const RECT* windowRect, COXSizeControlBar* bar) override;
    void DrawSplitter(CDC* dc, COXSplitterRect* splitter, COXSizeDockBar* dockBar) override;
    void OnNcPaintSizeDockBar(COXSizeDockBar* dockBar) override;
    void DrawBackground(CDC* dc, COXSizeDockBar* dockBar) override;
    void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params, COXSizeControlBar* bar) override;
    void RecalcLayout(COXSizeControlBar* bar) override;

protected:
    COXSkin2003* GetSkin2003() const;
};

template <>
struct OXElementSkinTraits<COXDockbarSkin> {
    using Classic = COXDockbarSkinClassic;
    static constexpr COXDockbarSkin* (COXSkin::*Accessor)() const = &COXSkin::GetDockbarSkin;
};
