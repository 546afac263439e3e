#pragma once
// Tab skins: skinned tab controls, their scroll arrows, the MDI tab workspace's border
// and the non-client area of the MDI client that hosts it.
//
// Classic lets the system paint (any tab control it is given) and only redraws vertical
// tab text rotated where one old system release drew it wrongly under visual styles; the
// probe for that release runs at every paint. XP draws the whole control double-buffered:
// background and page border into a frame buffer, the tab strip behind a single row, then
// each tab into an item buffer (the selected one last, so its edges lie on top), copied
// into the frame cut at the scroll arrows; the frame is copied to the screen even without
// tabs, so nothing stale remains. 2003 is XP with gradient fills.
#include <memory>

#include "platform/base/version.h"

#include "platform/base/wintypes.h"
#include "toolkit/skins/skin_lookup.h"

class CDC;
class CPen;
class CFont;
class CBrush;
class CTabCtrl;
class COXSkinnedSpinCtrl;
class COXTabWorkspace;
class COXTabClientWnd;
class COXSkinXP;
class COXSkin2003;
struct DRAWITEMSTRUCT;

class COXTabSkin {
public:
    virtual ~COXTabSkin() = default;
    // WM_PAINT of a tab control (the skin makes the paint DC).
    virtual void OnPaintTabCtrl(CTabCtrl* tabCtrl) = 0;
    // WM_PAINT of a tab control's scroll arrows.
    virtual void OnPaintSpinCtrl(COXSkinnedSpinCtrl* spinCtrl) = 0;
    // The border around the MDI tab workspace.
    virtual void DrawMDITabBorder(CDC* dc, const RECT* rect, COXTabWorkspace* workspace) = 0;
    // WM_NCPAINT of the MDI client that hosts the workspace.
    virtual void OnNcPaintTabClient(COXTabClientWnd* tabClient) = 0;
    // Adjusts a page rectangle for the skin's margins by amount.
    virtual void AdjustChildItemRect(RECT* rect, int amount, CTabCtrl* tabCtrl) = 0;
};

// The system paints; only vertical tab text is repaired under visual styles.
class COXTabSkinClassic : public COXTabSkin {
public:
    COXTabSkinClassic() = default;
    void OnPaintTabCtrl(CTabCtrl* tabCtrl) override;
    void OnPaintSpinCtrl(COXSkinnedSpinCtrl* spinCtrl) override;
    void DrawMDITabBorder(CDC* dc, const RECT* rect, COXTabWorkspace* workspace) override;
    void OnNcPaintTabClient(COXTabClientWnd* tabClient) override;
    void AdjustChildItemRect(RECT* rect, int amount, CTabCtrl* tabCtrl) override;

    // Whether the vertical-text repair applies: system release 5.1 exactly, visual styles
    // on and active, common controls 6 or later. Every library loaded is freed again.
    BOOL IsVerticalTextRepairNeeded() const;

protected:
    // The system release the probe reads (a test may report another).
    virtual BOOL GetSystemVersion(OSVERSIONINFO* info) const;

private:
    void RedrawVerticalText(CTabCtrl* tabCtrl);
};

// The whole control drawn flat and double-buffered.
class COXTabSkinXP : public COXTabSkin {
public:
    explicit COXTabSkinXP(COXSkinXP* skin);
    ~COXTabSkinXP() override;
    // The pens, font and brush belong to this object.
    COXTabSkinXP(const COXTabSkinXP&) = delete;
    COXTabSkinXP& operator=(const COXTabSkinXP&) = delete;

    void OnPaintTabCtrl(CTabCtrl* tabCtrl) override;
    void OnPaintSpinCtrl(COXSkinnedSpinCtrl* spinCtrl) override;
    void DrawMDITabBorder(CDC* dc, const RECT* rect, COXTabWorkspace* workspace) override;
    void OnNcPaintTabClient(COXTabClientWnd* tabClient) override;
    void AdjustChildItemRect(RECT* rect, int amount, CTabCtrl* tabCtrl) override;

    virtual void DrawItem(DRAWITEMSTRUCT* drawItem, CTabCtrl* tabCtrl);
    virtual void DrawBackground(CDC* dc, const RECT* rect, CTabCtrl* tabCtrl);
    virtual void DrawItemBorder(DRAWITEMSTRUCT* drawItem, CTabCtrl* tabCtrl);

protected:
    // The scroll arrows embedded in a skinned tab control, or null.
    COXSkinnedSpinCtrl* GetSpinCtrl(CTabCtrl* tabCtrl);
    // Whether an item is drawn at all, narrowing one that runs under the arrows.
    BOOL AdjustItemRect(int index, RECT* rect, CTabCtrl* tabCtrl);
    // Whether the item after index is pressed.
    BOOL IsNextButtonSelected(int index, CTabCtrl* tabCtrl);
    void DrawUpArrow(CDC* dc, const RECT* rect, BOOL enabled);
    void DrawDownArrow(CDC* dc, const RECT* rect, BOOL enabled);
    void DrawArrowBorder(CDC* dc, const RECT* rect);
    // The steps XP and 2003 share: the whole control (gradient strip or solid), the arrows
    // on an already filled background, the item text and the item edges.
    void PaintTabCtrl(CTabCtrl* tabCtrl, bool gradient);
    void PaintSpinCtrl(COXSkinnedSpinCtrl* spinCtrl, bool gradient);
    void DrawItemText(DRAWITEMSTRUCT* drawItem, CTabCtrl* tabCtrl, bool transparent);
    void DrawItemEdges(DRAWITEMSTRUCT* drawItem, CTabCtrl* tabCtrl, bool filledSeparator);

    COXSkinXP* m_pSkinXP; // the skin object that created this one; not owned
    std::unique_ptr<CPen> m_pBorderPen;   // solid, 1 pixel, COLOR_BTNSHADOW
    std::unique_ptr<CFont> m_pTabFont;    // the system menu font
    std::unique_ptr<CBrush> m_pArrowBrush; // the inactive tab text colour
    std::unique_ptr<CPen> m_pArrowPen;    // solid, 1 pixel, the inactive tab text colour
};

// The XP drawing with gradient fills.
class COXTabSkin2003 : public COXTabSkinXP {
public:
    explicit COXTabSkin2003(COXSkin2003* skin);
    void OnPaintTabCtrl(CTabCtrl* tabCtrl) override;
    void OnPaintSpinCtrl(COXSkinnedSpinCtrl* spinCtrl) override;
    void DrawItem(DRAWITEMSTRUCT* drawItem, CTabCtrl* tabCtrl) override;
    void DrawBackground(CDC* dc, const RECT* rect, CTabCtrl* tabCtrl) override;
    void DrawItemBorder(DRAWITEMSTRUCT* drawItem, CTabCtrl* tabCtrl) override;

protected:
    COXSkin2003* GetSkin2003() const;
};

template <>
struct OXElementSkinTraits<COXTabSkin> {
    using Classic = COXTabSkinClassic;
    static constexpr COXTabSkin* (COXSkin::*Accessor)() const = &COXSkin::GetTabSkin;
};
