#pragma once
// COXBitmapMenu: a CMenu whose items are owner-drawn. Each item carries a COXItemInfo (its
// image and text) in its item data; the menu measures its items from extents it computes
// itself (CalcExtents: the widest image, label and accelerator, the text height) and from
// the dimension constants of the current menu skin, and paints each item by asking the
// skin to split the item rectangle into button, image, text and accelerator columns and
// then to paint background, button, image and text in turn.
//
// The menu never picks a skin of its own: every request goes to GetMenuSkin(), the
// current application skin's menu skin, or else one Classic menu skin shared by every
// bitmap menu for the life of the process.
//
// While a bitmap menu is tracked (TrackPopupMenu below, or CMenu::TrackPopupMenu on it),
// the popup-menu windows ("#32768", re-registered once for the module with PopupWndProc)
// run through the skin's MenuPopupWndProc, which keeps the popups' saved shadow pixels in
// the menu's popup window stack and joins a popup to the toolbar button it drops from
// (the drop-from rectangle). The same class answers the commands of a menu bar's MDI
// child buttons (HandleMDICommandMessage).
//
// While the host customises its bars the menu is shown by a COXBitmapMenuPopupWnd
// (bitmap_menu_popup_wnd.h) and edited in place: a customised item with its context
// commands and an insert mark (bitmap_menu_customize.cpp). A plain bitmap menu drags
// nothing and takes no drop; COXDragDropBitmapMenu below (bitmap_menu_dragdrop.cpp), the
// class the organizer and the menu bar make their menus of, drags items within and between
// menus and bars. The bars and the organizer are reached through toolkit/menus/menu_seams.h.
#include <memory>
#include <unordered_set>
#include <vector>

#include "platform/afx/cmdui.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/afx/menu.h"
#include "platform/base/coll_map.h"
#include "platform/base/cstring.h"
#include "toolkit/controls/tooltip_ctrl.h"
#include "toolkit/docking/shb_drop_source.h"
#include "toolkit/docking/shb_drop_target.h"
#include "toolkit/menus/image_info.h"
#include "toolkit/menus/menu_customize_notify.h"
#include "toolkit/menus/menu_drop_data.h"
#include "toolkit/menus/popup_wnd_stack.h"

class CDC;
class COXBitmapMenuPopupWnd;
class COXCoolToolBar;
class COXMenuSkin;
struct AFX_CMDHANDLERINFO;

// Item state bits beyond the owner-draw ones, set only while the organizer shows only
// the recently used items.
inline constexpr UINT OXODS_HIDDEN = 0x1000;      // not recently used: shown because expanded
inline constexpr UINT OXODS_HIDDENFIRST = 0x2000; // the item before it is recently used
inline constexpr UINT OXODS_HIDDENLAST = 0x4000;  // the item after it is recently used

// The item that expands a popup showing only the recently used items.
inline constexpr UINT ID_OX_SHOWALLITEMS = 0xFF56;
// Stand-ins of the MDI child window commands in converted menus.
inline constexpr UINT ID_OXMDI_RESTORE = 28137, ID_OXMDI_MINIMIZE = 28138, ID_OXMDI_CLOSE = 28139;

// Sides of a popup relative to the button it drops from.
inline constexpr UINT OX_POPUP_BELOW = 1, OX_POPUP_RIGHT = 2, OX_POPUP_LEFT = 4, OX_POPUP_ABOVE = 8;

class COXBitmapMenu : public CMenu {
    DECLARE_DYNAMIC(COXBitmapMenu)
public:
    COXBitmapMenu();
    ~COXBitmapMenu() override;
    COXBitmapMenu(const COXBitmapMenu&) = delete;
    COXBitmapMenu& operator=(const COXBitmapMenu&) = delete;

    // ---- owner drawing ------------------------------------------------------------------------------
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    // Recomputes the column widths and the text height from the items as they are now.
    void CalcExtents();
    // The item position under a point in menu coordinates (the first item's top is y = 0;
    // only y counts), -1 below the last item. pbBefore (when given) tells whether the
    // point lies at or above the item's middle.
    int HitTest(LPPOINT ppt, int* pbBefore = nullptr);

    // ---- customisation (bitmap_menu_customize.cpp, drag and drop in bitmap_menu_dragdrop.cpp) ------
    // In customisation mode a COXBitmapMenuPopupWnd shows the menu; every change is told to
    // the customisation window (else the main window) by WM_NOTIFY OXBMN_CUSTOMIZE
    // (menu_customize_notify.h), which may veto deletions, new separators and the
    // recently-used toggle.
    virtual BOOL IsCustomizable() const { return m_bCustomizable; }
    void SetCustomizable(BOOL bCustomizable) { m_bCustomizable = bCustomizable; }
    // Turning on makes the menu customisable and names the window that hears about
    // changes (0: the main window); turning off clears the customised item.
    void SetCutomizationMode(BOOL bOn, HWND hWnd = nullptr);
    BOOL IsInCustomizationMode() const { return m_bCustomizationMode; }
    // Each setter returns the previous value; while the popup window exists the items
    // concerned are redrawn and the change is announced.
    int SetCustomizedItem(int nIndex);
    int GetCustomizedItem() const { return m_nCustomizedItem; }
    BOOL IsItemCustomized(int nIndex) const { return nIndex >= 0 && nIndex == m_nCustomizedItem; }
    int SetInsertMark(int nIndex);
    int GetInsertMark() const { return m_nInsertMark; }
    void SetDraggedItem(int nIndex) { m_nDraggedItem = nIndex; }
    int GetDraggedItem() const { return m_nDraggedItem; }
    BOOL IsItemDragged(int nIndex) const { return nIndex >= 0 && nIndex == m_nDraggedItem; }
    BOOL IsDragDropOwner() const { return m_bDragDropOwner; }
    HWND GetCustomizationWindow() const { return m_hCustomizeWnd; }
    void SetPopupWnd(COXBitmapMenuPopupWnd* pPopupWnd) { m_pPopupWnd = pPopupWnd; }
    virtual COXBitmapMenuPopupWnd* GetPopupWnd() const { return m_pPopupWnd; }
    // Whether the user may edit the item at nIndex (context menu, delete, drag, keys):
    // not the recent-file commands (the host rebuilds them) nor the organizer's own
    // commands from 0xFF00 up that open no submenu (the expansion item).
    BOOL IsItemEditable(int nIndex) const;
    // The context menu of an item (delete, appearance, recently used, separator before
    // and after), tracked at a screen point and owned by the popup window; FALSE (none
    // shown) for an item that is not editable.
    virtual BOOL DisplayCustomizeItemContextMenu(int nIndex, CPoint ptScreen);
    // The context commands; each announces itself first and stops on a veto.
    virtual void OnCustBMDelete();
    virtual void OnCustBMAppearance();
    virtual void OnCustBMSeparatorBefore();
    virtual void OnCustBMSeparatorAfter();
    virtual void OnCustBMRecentlyUsed();
    // Moves an item within the menu, keeping its record, state and submenu; the
    // customised item follows it. FALSE for positions outside the menu.
    BOOL MoveItem(int nFrom, int nTo);

    // ---- drag and drop of items ---------------------------------------------------------------------
    virtual COXSHBDropSource* GetDropSource(CWnd* pOwner);
    virtual COXSHBDropTarget* GetDropTarget() { return &m_dropTarget; }
    // A press held on an item of the popup window (nIndex). The drag itself is a derived
    // menu's: here no drag starts and the menu is left no drag's owner.
    virtual void OnBeginDragDrop(int nIndex);
    // The drop target's messages (lParam an SHBDROPTARGETACTION); 0 when the menu is not
    // customisable. Here nothing is accepted: over the menu the effect is none, a drop
    // inserts nothing; enter and leave keep the drag-entered flag, leave takes the insert
    // mark away.
    virtual LRESULT OnDragEnter(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDragOver(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDragLeave(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDrop(WPARAM wParam, LPARAM lParam);
    // Reads dropped records from p (at most up to pEnd) and inserts them into hMenu from
    // nPos on, submenus with their items. p moves past the records read. FALSE, with
    // nothing inserted and p unmoved, for data that is not a well-formed run of records.
    virtual BOOL RetrieveDragDropMenuItem(const BYTE*& p, const BYTE* pEnd, HMENU hMenu, int nPos);
    // Inserts parsed records into hMenu from nPos on; FALSE (nothing left inserted) when
    // the menu refuses an item.
    static BOOL InsertDroppedItems(const OXDroppedMenuItems& items, HMENU hMenu, int nPos);
    // The records of the item at nIndex with its submenu (empty for an item that is not
    // there); text from the item record when it has one.
    OXDroppedMenuItems GetDragDropItems(int nIndex);

    // ---- the paint steps (each hands its arguments, and the menu, to the skin) ----------------------
    virtual void DistributeSpace(UINT nState, COXImageInfo* pImageInfo, CRect rectItem, CRect& rectButton,
        CRect& rectImage, CRect& rectText, CRect& rectAccel);
    virtual void DrawBackground(CDC* pDC, UINT nState, COXImageInfo* pImageInfo, CRect rectItem, CRect rectButton);
    virtual void DrawButton(CDC* pDC, UINT nState, COXImageInfo* pImageInfo, CRect rectButton);
    virtual void DrawImage(CDC* pDC, UINT nState, COXImageInfo* pImageInfo, CRect rectImage);
    virtual void DrawText(CDC* pDC, UINT nState, CString sText, CRect rectText, CRect rectAccel);
    virtual void DrawSeparator(CDC* pDC, CRect rectItem);
    virtual void DrawCustomized(CDC* pDC, CRect rectItem);
    virtual void DrawInsertMark(CDC* pDC, CRect rectItem, BOOL bBefore);
    virtual void DrawSubmenuItem(CDC* pDC, UINT nState, CString sText, COXImageInfo* pImageInfo, CRect rectItem,
        CRect rectButton, CRect rectText, CRect rectAccel);
    virtual void DrawExpansionItem(CDC* pDC, CRect rectItem, UINT nState);

    // ---- extents (read by the skins) ------------------------------------------------------------------
    int GetImageColumnWidth() const { return m_nBitmapExtent; }
    int GetTextHeight() const { return m_nTextHeight; }
    int GetAcceleratorColumnWidth() const { return m_nAcceleratorExtent; }
    int GetTextColumnWidth() const { return m_nStringExtent; }

    // ---- records ---------------------------------------------------------------------------------------
    // The item record in an item's data, when it is one of this menu's records (data
    // that this menu did not take in is never read as a record).
    COXItemInfo* GetItemInfo(ULONG_PTR itemData) const;
    // Takes ownership of a record (null is ignored).
    void AddItemInfo(COXItemInfo* pItemInfo);
    // Lower-case mnemonic character -> item position, filled by the organizer.
    CMap<WORD, WORD, int, int>& GetMnemonicMap() { return m_keyAccessMap; }

    // ---- tracking under a button --------------------------------------------------------------------
    // Shows the menu under the pressed button of a toolbar or menu bar (else the button of
    // the command whose drop-down arrow was pressed last; for a menu bar with neither, the
    // maximised MDI child's icon). Returns what CMenu::TrackPopupMenu returns; 0 when the
    // bar shows no such button.
    BOOL TrackPopupMenu(COXCoolToolBar* pBar, CWnd* pWnd, LPCRECT lpRect = nullptr);
    using CMenu::TrackPopupMenu;
    // The size a popup of the menu takes: every item measured as the popup would measure
    // it (17 for a command and 8 for a separator of a menu that measures 0), widest + 18
    // by the sum of heights + 6.
    static CSize GetPopupMenuSize(CMenu* pMenu);
    // Where a popup of pMenu goes for a button rectangle (screen) of a bar of that style:
    // the point, TrackPopupMenu's alignment flags and the side (OX_POPUP_*).
    static void DeterminePosition(CMenu* pMenu, LPCRECT lpRectButton, DWORD dwBarStyle, CPoint& point, UINT& nFlags,
        UINT& nSide);
    // The screen rectangle of the button the popup drops from; empty otherwise.
    const CRect& GetDropFromRect() const { return m_rectDropDownItem; }
    COXPopupWndStack& GetPopupWndStack() { return m_popupWndStack; }

    // ---- skins and the popup class ---------------------------------------------------------------------
    // The current skin's menu skin, else the Classic one every bitmap menu shares.
    static COXMenuSkin* GetMenuSkin();
    // A pattern brush of an 8 x 8 checkerboard of the two colours (bit 0: the first, bit 1:
    // the second; rows 10101010 and 01010101). The caller owns it; null when it cannot be made.
    static HBRUSH HBrushDitherCreate(COLORREF rgbFirst, COLORREF rgbSecond);
    // Registers the module's own "#32768" with PopupWndProc (once; again only when the
    // module's class is gone). Whether the module's class now runs PopupWndProc.
    static BOOL RegisterWindowClass(HINSTANCE hInstance);
    static LRESULT PopupWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    // The system class's procedure before the module's registration, or null.
    static WNDPROC GetOriginalPopupProc() { return m_origWndProc; }

    // ---- MDI child buttons ----------------------------------------------------------------------------------
    // Command routing of a frame: enables the three MDI commands and carries them out on the
    // main window's active MDI child. TRUE when the command was one of them.
    static BOOL HandleMDICommandMessage(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // Command-UI update of the items when the popup opens (nothing for a system menu).
    void OnUpdateCmdUI(CWnd* pWnd, UINT nIndex, BOOL bSysMenu);

protected:
    // Sends the customisation notification of an event; the receiver's answer (0 when
    // there is no receiver).
    LRESULT SendCustomizeNotification(UINT nEvent);
    // After the items changed: the organizer converts the menu again (items it does not
    // make owner-drawn get records here), the popup window lays it out anew.
    void UpdateContents();
    // Gives every item that is not owner-drawn a record of its own (its text, no image).
    void ConvertPlainItems();
    // Redraws one item of the popup window, when it exists.
    void RedrawPopupItem(int nIndex);
    // The popup window's handle when it exists, else null.
    HWND GetPopupHwnd() const;
    // Where dropped items go for a point in the popup's client coordinates: the item
    // position before which they would be inserted (the item count: after the last).
    int InsertPositionFromPoint(CPoint point);
    // The effect a drag over the menu would have now (none where nothing may go).
    DROPEFFECT DropEffectFor(SHBDROPTARGETACTION* pAction, int nMark);

    BOOL IsPopupItem(UINT nID);
    // The state word with the recently-used bits for the item at nPos.
    UINT AddRecentlyUsedState(UINT nState, int nPos);

    static BOOL RestoreMDI();
    static BOOL MinimizeMDI();
    static BOOL CloseMDI();

    CMap<WORD, WORD, int, int> m_keyAccessMap{10};
    int m_nBitmapExtent = 0;
    int m_nTextHeight = 0;
    int m_nAcceleratorExtent = 0;
    int m_nStringExtent = 0;
    std::vector<std::unique_ptr<COXItemInfo>> m_itemInfos;
    std::unordered_set<const COXItemInfo*> m_itemInfoSet;
    BOOL m_bCustomizable = FALSE;
    int m_nCustomizedItem = -1;
    BOOL m_bCustomizationMode = FALSE;
    HWND m_hCustomizeWnd = nullptr;
    COXSHBDropSource m_dropSource;
    COXSHBDropTarget m_dropTarget;
    BOOL m_bDragDropOwner = FALSE;
    BOOL m_bDragEntered = FALSE;
    COXBitmapMenuPopupWnd* m_pPopupWnd = nullptr;
    int m_nInsertMark = -1;
    int m_nDraggedItem = -1;
    BOOL m_bMovedInside = FALSE; // the drag that started here was moved within this menu
    CRect m_rectDropDownItem{0, 0, 0, 0};
    COXPopupWndStack m_popupWndStack;
    COXToolTipCtrl m_toolTip;

    static WNDPROC m_origWndProc;
};

// COXDragDropBitmapMenu: a bitmap menu whose items the user drags while customising. A
// press held on an item drags its records (menu_drop_data.h) out of the popup window in
// the menu-item format; a move into another menu or a bar takes the item out of this menu
// afterwards, a move within the menu moves the item itself. Items dragged over the popup
// show the insert mark where they would go and are inserted there when dropped (a copy
// with Ctrl held, else a move); a submenu never goes into itself.
class COXDragDropBitmapMenu : public COXBitmapMenu {
    DECLARE_DYNAMIC(COXDragDropBitmapMenu)
public:
    COXDragDropBitmapMenu() = default;
    ~COXDragDropBitmapMenu() override = default;

    void OnBeginDragDrop(int nIndex) override;
    LRESULT OnDragOver(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnDrop(WPARAM wParam, LPARAM lParam) override;
};

// The command-UI object of a bitmap menu's items: new text of an owner-drawn item goes to
// its item record, so the item keeps being owner-drawn.
class CBitmapMenuCmdUI : public CCmdUI {
public:
    void SetText(LPCTSTR lpszText) override;
};
