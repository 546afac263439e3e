#pragma once
// COXSHBListCtrl: the default child window of a shortcut-bar group. Its items (text,
// image, item data, state) stay in the platform list view underneath, but the list lays
// them out, paints, hit-tests and scrolls them itself, as one column of large-icon (view
// 1) or small-icon (view 2) entries with two scroll buttons in place of scroll bars. Every
// CListCtrl member sends its LVM_ message, so the geometry messages (LVM_GETITEMRECT,
// LVM_HITTEST, LVM_SCROLL, ...) are answered here from the list's own layout whoever asks.
//
// Layout: item i is its image rectangle (the image grown by 3 pixels a side) and its text
// rectangle (measured with DrawText in the group's text font), stacked below each other
// in view 1 and side by side in view 2, 6 pixels between items, starting 2 pixels below
// the top. Each item's measured size is kept and only measured again when its text,
// image, the view, the font or the width changes; the tops are prefix sums worked out on
// demand up to the item asked for. So inserting an item costs the list view's insertion,
// one notification and an invalidation, and filling a group stays linear; the layout is
// done when something first asks for geometry (a paint, a hit test).
//
// Inside a bar the list reads its style, view, colours, fonts and scroll settings from
// the bar and hands its notifications to the bar, so the application sees them as the
// bar's. Standalone it derives them from its own window styles (LVS_EDITLABELS,
// LVS_NOSCROLL, LVS_SHOWSELALWAYS, LVS_EX_UNDERLINEHOT, LVS_EX_INFOTIP) and notifies its
// own owner.
//
// The mouse (shb_list_mouse.cpp): a polling timer (275) keeps the hot item under the
// cursor; a press selects, a release on the selected item activates it; a press on a
// scroll button scrolls one item and keeps scrolling on timer 1. Dragging an item more
// than 8 pixels builds its OLE data (shb_drag_data.h) and runs the drag loop from a posted
// message; drops land between items at a placeholder (shb_list_drag.cpp). Item texts are
// renamed in place with COXSHBEdit.
#include <memory>
#include <vector>

#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/gdi/image_list.h"
#include "platform/afx/listctrl.h"
#include "platform/afx/msgmap.h"
#include "toolkit/docking/shb_drop_source.h"
#include "toolkit/docking/shb_drop_target.h"
#include "toolkit/docking/shb_edit.h"
#include "toolkit/docking/shb_gdi.h"
#include "toolkit/docking/shb_messages.h"

class COXShortcutBar;
class COleDataSource;

// Hit-test flags of the scroll buttons (beside the LVHT_ ones) and of the gap between an
// item's image and its text.
inline constexpr UINT SHBLC_ONSCROLLUP = static_cast<UINT>(-3);
inline constexpr UINT SHBLC_ONSCROLLDOWN = static_cast<UINT>(-4);
inline constexpr UINT SHBLC_ONIMAGEANDTEXT = static_cast<UINT>(-2);
inline constexpr UINT SHBLC_ONITEM = static_cast<UINT>(-1);
// GetItemRect's code for the whole row of an item.
inline constexpr UINT SHBLC_ENTIREITEM = static_cast<UINT>(-1);

// The list's timers.
inline constexpr UINT_PTR SHBLC_IDT_SCROLL = 1;
inline constexpr UINT_PTR SHBLC_IDT_CHECKMOUSE = 275;
inline constexpr UINT SHBLC_CHECKMOUSE_DELAY = 200;

class COXSHBListCtrl : public CListCtrl {
    DECLARE_DYNAMIC(COXSHBListCtrl)
public:
    COXSHBListCtrl();
    ~COXSHBListCtrl() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;

    // ---- state ---------------------------------------------------------------------------------------------
    int GetSelectedItem() const { return m_nSelectedItem; }
    int GetHotItem() const { return m_nHotItem; }
    int GetLastHotItem() const { return m_nLastHotItem; }
    int GetActiveItem() const { return m_nActiveItem; }
    int GetDropHilightItem() const { return m_nDropHilightItem; }
    int GetDragItem() const { return m_nDragItem; }
    int GetEditItem() const { return m_nEditItem; }
    int GetPlaceHolder() const { return m_nPlaceHolder; }
    COXSHBEdit* GetEditControl() { return &m_edit; }
    BOOL IsDragDropOwner() const { return m_bDragDropOwner; }
    BOOL IsDragDropOperation() const { return m_bDragDropOperation; }
    BOOL IsScrolling() const { return m_bScrollingUp || m_bScrollingDown; }
    // The bar the list belongs to (null standalone) and its group.
    COXShortcutBar* GetShortcutBar() const { return m_pShortcutBar; }
    HSHBGROUP GetGroup() const { return m_hGroup; }

    // The common controls' version (major high word, minor low word), read once.
    static DWORD GetComCtlVersion() { return m_dwComCtlVersion; }
    // E_INVALIDARG for a null pointer, E_FAIL when the library cannot be asked.
    static HRESULT GetComCtlVersion(DWORD* pdwMajor, DWORD* pdwMinor);

    // SHB_LARGEICON or SHB_SMALLICON.
    int GetView() const;
    DWORD GetBarStyle() const;
    CSize GetScrollButtonSize() const;
    UINT GetScrollingDelay() const;
    UINT GetAutoScrollingDelay() const;

    // Each sends its notification first; a non-zero answer keeps the old value. All
    // return the previous value.
    virtual int SelectItem(int nItem);
    int SetHotItem(int nItem);
    int ActivateItem(int nItem);
    int SetDropTargetItem(int nItem);

    // Inside a bar the group's colours (SetTextBkColor fails there); standalone the
    // list view's own.
    COLORREF GetBkColor() const;
    BOOL SetBkColor(COLORREF clr);
    COLORREF GetTextColor() const;
    BOOL SetTextColor(COLORREF clr);
    COLORREF GetTextBkColor() const;
    BOOL SetTextBkColor(COLORREF clr);

    // ---- geometry (client coordinates unless said otherwise) --------------------------------------------------
    int HitTest(CPoint pt, UINT* pFlags = nullptr, BOOL bIgnoreScrollButtons = FALSE);
    int HitTest(LVHITTESTINFO* pHitTestInfo, BOOL bIgnoreScrollButtons = FALSE);
    // LVIR_BOUNDS, LVIR_ICON, LVIR_LABEL or SHBLC_ENTIREITEM; FALSE for other codes and
    // indexes out of range (the rectangle is left alone).
    BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode);
    BOOL GetItemPosition(int nItem, LPPOINT lpPoint);
    // View coordinates.
    BOOL GetViewRect(LPRECT lpRect, BOOL bVisibleOnly = FALSE);
    BOOL GetOrigin(LPPOINT lpPoint) const;
    void GetScrollableRect(CRect& rect, int nTopItem = -1);
    int GetTopIndex();
    int GetCountPerPage();
    BOOL EnsureVisible(int nItem, BOOL bPartialOK);
    BOOL Scroll(CSize size);
    BOOL Scroll(int dx, int dy) { return Scroll(CSize(dx, dy)); }
    int FindItem(LVFINDINFO* pFindInfo, int nStart = -1);
    BOOL Update(int nItem);
    BOOL RedrawItems(int nFirst, int nLast);
    // The rectangle of the insertion mark before item nItem (client coordinates).
    CRect GetPlaceHolderRect(int nItem);
    // The item's image index, -1 when the current view's list has no such image.
    int GetItemImage(int nItem);

    // ---- editing, dragging ---------------------------------------------------------------------------------------
    COXSHBEdit* EditLabel(int nItem);
    // Builds the drag data of nItem and posts the drag loop; -1 only clears. Returns the
    // previous drag item.
    int SetDragItem(int nItem);
    // The caller owns the list.
    CImageList* CreateDragImage(int nItem, LPPOINT lpPoint);

    // ---- overridables ----------------------------------------------------------------------------------------------
    int OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    virtual void DrawScrollButtons(CDC* pDC);
    virtual void DrawPlaceHolder(CDC* pDC);
    virtual BOOL CreateEditControl();
    virtual void CalculateBoundRects();
    virtual void CalculateScrollRects();
    virtual COleDropSource* GetDropSource();
    virtual COleDropTarget* GetDropTarget();
    virtual LRESULT OnHandleDrag(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDragEnter(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDragOver(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDragLeave(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDrop(WPARAM wParam, LPARAM lParam);

    // Hands the record to the bar, or (standalone) sends it to the owner itself.
    LRESULT SendSHBNotification(NMSHORTCUTBAR* pNMSHB);

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

    // Private messages.
    LRESULT OnCheckCapture();
    LRESULT OnSetShbGroup(LPARAM lParam);
    LRESULT OnGroupInfoChanged(LPARAM lParam);
    LRESULT OnShbInfoChanged(LPARAM lParam);
    LRESULT OnPopulateContextMenu(LPARAM lParam);
    BOOL OnChangeItemText(NMHDR* pNMHDR, LRESULT* pResult);
    BOOL OnItemToolTip(NMHDR* pNMHDR, LRESULT* pResult);

private:
    friend class COXShortcutBar;

    // What the layout keeps of an item: its measured rectangles relative to its top-left
    // and its height; `measured` false until it is measured for the current settings.
    struct ItemGeometry {
        CRect rectImage;
        CRect rectText;
        int nHeight = 0;
        bool measured = false;
    };

    BOOL InitListControl();
    LRESULT Notify(UINT nCode, int nItem, LPARAM lParam = 0);
    // The list view's own answer (the message bypasses this class).
    LRESULT BaseMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    int ItemCount() const;
    bool ValidItem(int nItem) const { return nItem >= 0 && nItem < ItemCount(); }
    CString ItemText(int nItem) const;
    // The layout: forget everything / one item onwards; measure and stack up to an item.
    void InvalidateLayout();
    void InvalidateLayoutFrom(int nItem, bool bRemeasure);
    void EnsureLayout(int nUpTo);
    // What measuring needs that is the same for every item.
    struct MeasureContext {
        HDC hdc = nullptr;
        int width = 0;
        CSize imageSize;
        int imageCount = 0;    // of the view's image list (0 without one)
        bool large = true;
        std::vector<wchar_t> text;
    };
    void MeasureItem(MeasureContext& context, int nItem);
    CRect WorkingRect() const;
    // An item's rectangles in view coordinates (the layout must be there).
    CRect ItemRectView(int nItem) const;
    CRect ImageRectView(int nItem) const;
    CRect TextRectView(int nItem) const;
    int LowestBottom();
    HFONT TextFont();
    HIMAGELIST ViewImageList() const;
    // The list view's LVM_ answers with the list's bookkeeping around them.
    LRESULT OnInsertItem(WPARAM wParam, LPARAM lParam);
    LRESULT OnDeleteItem(WPARAM wParam, LPARAM lParam);
    LRESULT OnDeleteAllItems(WPARAM wParam, LPARAM lParam);
    void FixIndexesAfterInsert(int nItem);
    void FixIndexesAfterDelete(int nItem);
    void RedrawList();
    void FillListBackground(CDC* pDC, const CRect& rect);
    void DrawFrame(CDC* pDC, const CRect& rect, bool bHot, bool bPressed);
    // Mouse helpers.
    void CheckCapture();
    void AnticipateHotItem();
    void StartScrolling(bool bUp);
    void StopScrolling();
    bool ScrollStep(bool bUp);
    void PostCheckCapture();
    int ItemUnder(CPoint pt);
    // Drag helpers.
    void ReleasePendingDataSource(COleDataSource* pDataSource);
    int PlaceHolderFor(CPoint point);
    void SetPlaceHolder(int nPlaceHolder);
    void CheckAutoScrollForDrag(CPoint point);
    // Ends an edit in progress without taking its text.
    void CancelEdit();

    COXShortcutBar* m_pShortcutBar = nullptr;
    HSHBGROUP m_hGroup = nullptr;
    int m_nSelectedItem = -1;
    int m_nHotItem = -1;
    int m_nLastHotItem = -1;
    int m_nActiveItem = -1;
    int m_nDropHilightItem = -1;
    int m_nDragItem = -1;
    int m_nEditItem = -1;
    COXSHBEdit m_edit;
    std::vector<ItemGeometry> m_geometry;   // one per item, in index order
    std::vector<int> m_tops;                // view-coordinate tops, valid below m_nTopsValid
    int m_nTopsValid = 0;
    int m_nLayoutWidth = -1;                // the width the measures were taken at
    CRect m_rectScrollUp;
    CRect m_rectScrollDown;
    CPoint m_ptOrigin;
    COXSHBDropSource m_dropSource;
    COXSHBDropTarget m_dropTarget;
    COleDropTarget* m_pRegisteredTarget = nullptr;
    CImageList m_ilLarge;
    CImageList m_ilSmall;
    BOOL m_bMouseInside = FALSE;
    BOOL m_bScrollingUp = FALSE;
    BOOL m_bScrollingDown = FALSE;
    BOOL m_bAutoScrolling = FALSE;
    BOOL m_bCreatingDragImage = FALSE;
    std::unique_ptr<CImageList> m_pDragImage;
    CPoint m_ptDragImage;                   // the drag image's hot spot
    CPoint m_ptButtonDown;
    int m_nPressedItem = -1;
    BOOL m_bDragDropOwner = FALSE;
    BOOL m_bDragDropOperation = FALSE;
    UINT_PTR m_nScrollTimer = 0;
    UINT_PTR m_nCheckMouseTimer = 0;
    int m_nPlaceHolder = -1;
    BOOL m_bInitialized = FALSE;
    // Standalone: the window asked for small icons (the list view itself stays in icon view).
    bool m_bStandaloneSmall = false;
    // The font made from the group's text font, and the LOGFONT it was made from.
    CFont m_textFont;
    LOGFONT m_lfText{};
    bool m_bTextFontMade = false;
    // Data sources posted with SHBLCM_HANDLEDRAG that the drag loop has not taken yet.
    std::vector<COleDataSource*> m_pendingSources;
    // Where the running drag's item was dropped into this list (its source), -1 elsewhere.
    int m_nLastDropIndex = -1;
    // The font of a hot item's underlined text, made from the text font.
    CFont m_hotFont;
    // While a paint runs: the text font, asked once for all the items it draws.
    HFONT m_hPaintFont = nullptr;
    // The off-screen picture paints draw into, kept while the list is shown.
    zyn::toolkit::shb::OffscreenCache m_paintPicture;

    static DWORD m_dwComCtlVersion;
};
