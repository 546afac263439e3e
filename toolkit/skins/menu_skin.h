#pragma once
// Menu skins: every part of an owner-drawn bitmap menu, its customisation popup and the
// shadowed window over the button a popup drops from; while a bitmap menu is tracked
// the skin's MenuPopupWndProc runs the system popup-menu windows.
#include "platform/afx/gdi/geometry.h"
#include "platform/base/coll_map.h"
#include "platform/base/wintypes.h"
#include "toolkit/skins/skin_lookup.h"

class CDC;
class COXBitmapMenu;
class COXBitmapMenuPopupWnd;
class COXShadowedItemWnd;
class COXImageInfo;
class COXSkinXP;
class COXSkin2003;
template <class TYPE, class ARG_TYPE>
class CArray;

// The menu dimensions of a skin, read by the bitmap menu and the menu bar.
struct OXDIMENSIONCONSTANTS {
    int32_t nImageLeftGap;      // space left of the image column
    int32_t nStripExtraWidth;   // added to the image column for the width of the image strip
    int32_t nImageTextGap;      // between the image and text columns
    int32_t nTextAccelGap;      // between text and accelerator columns, when there are accelerators
    int32_t nAccelRightGap;     // right of the accelerator column
    int32_t nTextVertPadding;   // added to the text height for the item height
    int32_t nImageVertPadding;  // added to the image height (plus 2) for the item height
    int32_t nSeparatorHeight;   // height of a separator item
    int32_t nMinImageWidth;     // lower bound of the image-column width
    int32_t nMenuBarItemPadding; // added to a menu-bar item's text width for its button width
};

class COXMenuSkin {
public:
    virtual ~COXMenuSkin() = default;
    virtual void DrawBackground(CDC* dc, UINT state, COXImageInfo* imageInfo, RECT* itemRect, RECT* buttonRect,
        COXBitmapMenu* menu) = 0;
    virtual void DrawButton(CDC* dc, UINT state, COXImageInfo* imageInfo, RECT* buttonRect, COXBitmapMenu* menu) = 0;
    virtual void DrawImage(CDC* dc, UINT state, COXImageInfo* imageInfo, RECT* imageRect, COXBitmapMenu* menu) = 0;
    virtual void DrawText(CDC* dc, UINT state, const wchar_t* text, RECT* textRect, RECT* accelRect,
        COXBitmapMenu* menu) = 0;
    virtual void DrawSeparator(CDC* dc, RECT* itemRect, COXBitmapMenu* menu) = 0;
    virtual void DrawCustomized(CDC* dc, RECT* itemRect, COXBitmapMenu* menu) = 0;
    virtual void DrawInsertMark(CDC* dc, RECT* itemRect, BOOL before, COXBitmapMenu* menu) = 0;
    virtual void DrawSubmenuItem(CDC* dc, UINT state, const wchar_t* text, COXImageInfo* imageInfo, RECT* itemRect,
        RECT* buttonRect, RECT* textRect, RECT* accelRect, COXBitmapMenu* menu) = 0;
    virtual void DrawExpansionItem(CDC* dc, RECT* itemRect, UINT state, COXBitmapMenu* menu) = 0;
    virtual OXDIMENSIONCONSTANTS& GetDimentionConstants() = 0;
    // The procedure of the popup-menu windows while a bitmap menu is tracked;
    // previous is the window class's own procedure.
    virtual LRESULT MenuPopupWndProc(LRESULT (*previous)(HWND, UINT, WPARAM, LPARAM), HWND hwnd, UINT message,
        WPARAM wParam, LPARAM lParam) = 0;
    virtual void OnNcPaintCustomizePopupWnd(COXBitmapMenuPopupWnd* popup) = 0;
    virtual void OnPaintShadowedItemWnd(COXShadowedItemWnd* wnd) = 0;
    virtual void AdjustExpansionItemHeight(UINT& itemHeight, COXBitmapMenu* menu) = 0;
    // Splits an item rectangle into its button, image, text and accelerator columns.
    virtual void DistributeSpace(UINT state, COXImageInfo* imageInfo, RECT* itemRect, CRect& buttonRect,
        CRect& imageRect, CRect& textRect, CRect& accelRect, COXBitmapMenu* menu) = 0;
};

// System colours, raised and sunken 3-D edges.
class COXMenuSkinClassic : public COXMenuSkin {
public:
    COXMenuSkinClassic();
    void DrawBackground(CDC* dc, UINT state, COXImageInfo* imageInfo, RECT* itemRect, RECT* buttonRect,
        COXBitmapMenu* menu) override;
    void DrawButton(CDC* dc, UINT state, COXImageInfo* imageInfo, RECT* buttonRect, COXBitmapMenu* menu) override;
    void DrawImage(CDC* dc, UINT state, COXImageInfo* imageInfo, RECT* imageRect, COXBitmapMenu* menu) override;
    void DrawText(CDC* dc, UINT state, const wchar_t* text, RECT* textRect, RECT* accelRect,
        COXBitmapMenu* menu) override;
    void DrawSeparator(CDC* dc, RECT* itemRect, COXBitmapMenu* menu) override;
    void DrawCustomized(CDC* dc, RECT* itemRect, COXBitmapMenu* menu) override;
    void DrawInsertMark(CDC* dc, RECT* itemRect, BOOL before, COXBitmapMenu* menu) override;
    void DrawSubmenuItem(CDC* dc, UINT state, const wchar_t* text, COXImageInfo* imageInfo, RECT* itemRect,
        RECT* buttonRect, RECT* textRect, RECT* accelRect, COXBitmapMenu* menu) override;
    void DrawExpansionItem(CDC* dc, RECT* itemRect, UINT state, COXBitmapMenu* menu) override;
    OXDIMENSIONCONSTANTS& GetDimentionConstants() override { return m_constants; }
    LRESULT MenuPopupWndProc(LRESULT (*previous)(HWND, UINT, WPARAM, LPARAM), HWND hwnd, UINT message,
        WPARAM wParam, LPARAM lParam) override;
    void OnNcPaintCustomizePopupWnd(COXBitmapMenuPopupWnd* popup) override;
    void OnPaintShadowedItemWnd(COXShadowedItemWnd* wnd) override;
    void AdjustExpansionItemHeight(UINT& itemHeight, COXBitmapMenu* menu) override;
    void DistributeSpace(UINT state, COXImageInfo* imageInfo, RECT* itemRect, CRect& buttonRect, CRect& imageRect,
        CRect& textRect, CRect& accelRect, COXBitmapMenu* menu) override;

protected:
    OXDIMENSIONCONSTANTS m_constants;
};

// Flat items, a coloured image strip and a drop shadow under every popup.
class COXMenuSkinXP : public COXMenuSkin {
public:
    explicit COXMenuSkinXP(COXSkinXP* skin);
    ~COXMenuSkinXP() override;
    // The popup position map belongs to this object.
    COXMenuSkinXP(const COXMenuSkinXP&) = delete;
    COXMenuSkinXP& operator=(const COXMenuSkinXP&) = delete;

    void DrawBackground(CDC* dc, UINT state, COXImageInfo* imageInfo, RECT* itemRect, RECT* buttonRect,
        COXBitmapMenu* menu) override;
    void DrawButton(CDC* dc, UINT state, COXImageInfo* imageInfo, RECT* buttonRect, COXBitmapMenu* menu) override;
    void DrawImage(CDC* dc, UINT state, COXImageInfo* imageInfo, RECT* imageRect, COXBitmapMenu* menu) override;
    void DrawText(CDC* dc, UINT state, const wchar_t* text, RECT* textRect, RECT* accelRect,
        COXBitmapMenu* menu) override;
    void DrawSeparator(CDC* dc, RECT* itemRect, COXBitmapMenu* menu) override;
    void DrawCustomized(CDC* dc, RECT* itemRect, COXBitmapMenu* menu) override;
    void DrawInsertMark(CDC* dc, RECT* itemRect, BOOL before, COXBitmapMenu* menu) override;
    void DrawSubmenuItem(CDC* dc, UINT state, const wchar_t* text, COXImageInfo* imageInfo, RECT* itemRect,
        RECT* buttonRect, RECT* textRect, RECT* accelRect, COXBitmapMenu* menu) override;
    void DrawExpansionItem(CDC* dc, RECT* itemRect, UINT state, COXBitmapMenu* menu) override;
    OXDIMENSIONCONSTANTS& GetDimentionConstants() override { return m_constants; }
    LRESULT MenuPopupWndProc(LRESULT (*previous)(HWND, UINT, WPARAM, LPARAM), HWND hwnd, UINT message,
        WPARAM wParam, LPARAM lParam) override;
    void OnNcPaintCustomizePopupWnd(COXBitmapMenuPopupWnd* popup) override;
    void OnPaintShadowedItemWnd(COXShadowedItemWnd* wnd) override;
    void AdjustExpansionItemHeight(UINT& itemHeight, COXBitmapMenu* menu) override;
    void DistributeSpace(UINT state, COXImageInfo* imageInfo, RECT* itemRect, CRect& buttonRect, CRect& imageRect,
        CRect& textRect, CRect& accelRect, COXBitmapMenu* menu) override;

    virtual void DrawItemStrip(CDC* dc, RECT* rect);
    virtual void DrawJoiningLine(CDC* dc, RECT* rect);
    virtual void FillIntersectionRect(HDC hdc, RECT* rect);

    // Each channel as MulDiv(channel, 255 - scale, 255).
    static COLORREF DarkenColor(LONG scale, COLORREF colour);
    // The 4-pixel shadow of a popup: painted, painted and recorded into an empty
    // array, or replayed from a filled one.
    void DrawMenuShadow(HDC hdc, RECT* windowRect, RECT* dropFromRect, CArray<COLORREF, COLORREF>* saved);
    void DrawMenuItemShadow(HDC hdc, RECT* rect, UINT mode);

    COXSkinXP* GetSkin() const { return m_pSkinXP; }

protected:
    // The image strip of an item: from its left edge to the end of the image column and
    // the strip's extra width.
    CRect StripRect(const RECT& item, COXBitmapMenu* menu) const;
    // DrawImage with or without the lifted look of a selected image.
    void DrawImageWithShadow(CDC* dc, UINT state, COXImageInfo* imageInfo, RECT* imageRect, bool shadow);
    // The popup window procedure's steps.
    LRESULT OnPopupNcPaint(COXBitmapMenu* menu, HWND hwnd, WPARAM wParam);
    LRESULT OnPopupPrint(COXBitmapMenu* menu, LRESULT (*previous)(HWND, UINT, WPARAM, LPARAM), HWND hwnd, HDC hdc);
    // Frame, strip and joining line of a popup whose window rectangle (screen) is given,
    // into a DC at the window's origin whose interior is already clipped away.
    void PaintPopupFrame(CDC* dc, const CRect& window, COXBitmapMenu* menu, COLORREF frame);
    // The shadowed item window's edges and shadow, drawn with a pen of that colour.
    void PaintShadowedItemEdges(CDC* dc, COXShadowedItemWnd* wnd, COLORREF pen);

    COXSkinXP* m_pSkinXP; // the skin object that created this one; not owned
    OXDIMENSIONCONSTANTS m_constants;
    // Popup window -> the screen position it is about to take (from its
    // WM_WINDOWPOSCHANGING until its next non-client paint or print).
    CMap<HWND, HWND, CPoint, CPoint> m_mapPopupPositions{10};
};

// The XP skin with gradient fills.
class COXMenuSkin2003 : public COXMenuSkinXP {
public:
    explicit COXMenuSkin2003(COXSkin2003* skin);
    void DrawBackground(CDC* dc, UINT state, COXImageInfo* imageInfo, RECT* itemRect, RECT* buttonRect,
        COXBitmapMenu* menu) override;
    void DrawImage(CDC* dc, UINT state, COXImageInfo* imageInfo, RECT* imageRect, COXBitmapMenu* menu) override;
    void DrawSeparator(CDC* dc, RECT* itemRect, COXBitmapMenu* menu) override;
    void OnPaintShadowedItemWnd(COXShadowedItemWnd* wnd) override;
    void DrawItemStrip(CDC* dc, RECT* rect) override;
    void DrawJoiningLine(CDC* dc, RECT* rect) override;
    void FillIntersectionRect(HDC hdc, RECT* rect) override;

protected:
    COXSkin2003* GetSkin2003() const;
};

template <>
struct OXElementSkinTraits<COXMenuSkin> {
    using Classic = COXMenuSkinClassic;
    static constexpr COXMenuSkin* (COXSkin::*Accessor)() const = &COXSkin::GetMenuSkin;
};
