#pragma once
// COXMenuBar: a frame's menu shown as a row of cool-toolbar buttons, one per top-level item.
//
// The bar is a COXCoolToolBar whose button i stands for top-level item i (command i + 1,
// drop-down style, the item's own text); the index equal to the item count stands for the
// system menu of a maximised MDI child, shown as the child's small icon at the start of
// the bar. A click, Enter, an arrow or Alt with a mnemonic opens the item's popup under
// the button (DisplayPopupMenu, menu_bar_popup.cpp); while it is tracked, the host's mouse
// hook switches popups when the mouse moves onto another button (it sets the next index
// and posts a click there, which ends the tracking loop; the bar then opens the next one
// through message 0x808D). Without a popup the keyboard can "surf" the bar: a hot button
// and the focus, entered with Alt alone or F10.
//
// A maximised MDI child's icon and its minimise, restore and close buttons are booked in
// the bar's non-client area and painted by the toolbar skin (menu_bar_mdi.cpp); one thread
// mouse hook, counted over all bars, takes their hot look away when the mouse leaves.
//
// Each document template's menu is loaded once from the application profile the first time
// one of its menus is shown, and edits made through customisation are written back
// (menu_bar_state.cpp, byte layout in menu_bar_record.h). The menu-loop messages
// (WM_ENTERMENULOOP, WM_INITMENU, WM_MENUSELECT, WM_EXITMENULOOP), commands and the saved-
// state notices 0x8073/0x8074 go to the frame given to Create.
#include <map>
#include <set>
#include <memory>
#include <vector>

#include "platform/afx/gdi/font.h"
#include "platform/afx/gdi/geometry.h"
#include "platform/base/cstring.h"
#include "toolkit/menus/cool_toolbar.h"

class CDocument;
class CDocTemplate;
class CFrameWnd;
class COXMenuSkin;

// Private message: open the popup of the index in wParam (the last one queued wins).
inline constexpr UINT WM_OX_DISPLAYPOPUP = 0x808D;
// The command of the customisation context menu that deletes the selected button.
inline constexpr UINT ID_OXMENUBAR_DELETE = 32893;
// The bar's window text and its control ID (the host's).
inline constexpr UINT IDS_OXMENUBAR_TITLE = 57125;
inline constexpr UINT ID_OXMENUBAR = 0xE810;
// The press-and-hold timer of advanced customisation.
inline constexpr UINT ID_OXMENUBAR_DRAGTIMER = 412;

// Hit codes of COXMenuBar::HitTest below 0.
inline constexpr int OXMB_HIT_ICON = -5, OXMB_HIT_CLOSE = -4, OXMB_HIT_RESTORE = -3, OXMB_HIT_MINIMIZE = -2,
                     OXMB_HIT_NONE = -1;

// Where a point given to HitTest is measured from.
enum _tagHITTESTORIGIN { OX_HTO_CLIENT = 0, OX_HTO_SCREEN = 1, OX_HTO_WINDOW = 2 };

class COXMenuBar : public COXCoolToolBar {
    DECLARE_DYNAMIC(COXMenuBar)
public:
    // Throws CNotSupportedException with a comctl32 older than 4.71.
    COXMenuBar();
    ~COXMenuBar() override;

    // ---- creation and the menu --------------------------------------------------------------------------------
    // Creates the bar (image 0 x 0, no drop-down arrows, title 57125); pParentWnd becomes
    // the frame that receives the menu-loop messages and commands.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = ID_OXMENUBAR) override;
    // Shows a menu (0: none, the bar hides). The first menu of a document template not seen
    // before loads that template's saved contents first. TRUE at once for the menu shown.
    BOOL SetMenu(HMENU hMenu);
    HMENU GetHMenu() const { return m_hMenu; }
    // Rebuilds the buttons from the menu (RecreateMenuBar(TRUE)) when the window exists.
    void DrawMenuBar();
    // Rebuilds the buttons: one per top-level item, each with its own text; the mnemonic map.
    BOOL RecreateMenuBar(BOOL bRedraw = TRUE);
    // The system menu font and the button height; on WM_SETTINGCHANGE too.
    void UpdateMenuMetrics(BOOL bRedraw = TRUE);
    // The text of top-level item nIndex (up to 1024 characters); empty outside the menu.
    CString GetItemText(int nIndex) const;
    // The number of top-level items of the menu shown (0 without one).
    int GetMenuItemCount() const;
    // The given window (the main window when null) if it is a menu bar, else the first menu
    // bar among its descendants, depth first; null when none.
    static COXMenuBar* FindMenuBar(CWnd* pWnd = nullptr);
    // The frame given to Create.
    CWnd* GetFrame() const { return m_pFrameWnd; }
    // The popup the MDI window list lives in, found while loading saved contents; 0 else.
    HMENU GetWindowMenu() const { return m_hWindowMenu; }

    // ---- popups and surfing (menu_bar_popup.cpp) ---------------------------------------------------------
    // Opens the popup of item nIndex (the item count: a maximised child's system menu) and
    // tracks it; a command item runs when the bar was surfing.
    void DisplayPopupMenu(int nIndex);
    // Un-presses the open popup's button and ends the menu loop (or goes back to surfing).
    void RestoreMenuButton();
    // Enters (TRUE) or leaves keyboard surfing with item nItem hot (-1 or the button count:
    // none). FALSE when refused: entering while a popup is shown.
    BOOL SetSurfingMode(BOOL bSurfing = TRUE, int nItem = -1);
    BOOL IsInSurfingMode() const { return m_bSurfing; }
    // A popup of the bar is shown (the index may be the count: the system menu).
    BOOL IsInDisplayingMode() const;
    // The keyboard state machine; TRUE when the key was used. nChar 0 is Alt pressed and
    // released alone.
    BOOL HandleMenuKey(UINT nChar);
    // The item before or after nItem, wrapping, through the icon position when there is
    // one; bVisibleOnly replaces an item beyond the client area's right edge.
    int GetPrevMenuItem(int nItem, BOOL bVisibleOnly = TRUE) const;
    int GetNextMenuItem(int nItem, BOOL bVisibleOnly = TRUE) const;
    int GetDisplayedIndex() const { return m_nDisplayedIndex; }
    int GetNextIndex() const { return m_nNextIndex; }
    // The popup to open next; from the mouse (the host's hook), so it opens with nothing
    // selected.
    void SetNextIndex(int nIndex)
    {
        m_nNextIndex = nIndex;
        m_bNextByKeyboard = FALSE;
    }
    // Whether the popup now opening was asked for by a key (it then opens with its first
    // item selected, as a menu opened from the keyboard does); the answer is given once.
    BOOL TakeKeyboardOpen()
    {
        const BOOL bKeyboard = m_bKeyboardOpen;
        m_bKeyboardOpen = FALSE;
        return bKeyboard;
    }
    int GetClosedByClickIndex() const { return m_nClosedByClickIndex; }
    void SetClosedByClickIndex(int nIndex) { m_nClosedByClickIndex = nIndex; }
    // The first window that had the focus before surfing began (shared by all bars).
    static HWND GetFocusBeforeSurfing() { return m_hwndFocusBeforeSurfing; }

    // ---- hit-testing and the MDI child's buttons (menu_bar_mdi.cpp) ----------------------------------
    // -5 the icon, -4 close, -3 restore, -2 minimise, -1 nothing, else a button index.
    int HitTest(const CPoint& point, _tagHITTESTORIGIN origin = OX_HTO_CLIENT) const;
    // The system-menu index: the icon rectangle (client coordinates); else the toolbar's.
    void GetItemRect(int nIndex, LPRECT lpRect) const override;
    // Refreshes the icon from the frame's maximised active child; bRedraw on a change.
    BOOL UpdateIcon(BOOL bRedraw = TRUE);
    // Places the three buttons; the length of the space they need at the end of the bar.
    int CalcButtonRects();
    virtual void DrawButtons(CDC& dc);
    CRect GetCloseRect() const { return m_rectClose; }
    CRect GetRestoreRect() const { return m_rectRestore; }
    CRect GetMinimizeRect() const { return m_rectMinimize; }
    int GetPressedMDIButton() const { return m_nPressedMDIButton; }
    // Bars alive that use the thread mouse hook, and the hook.
    static int GetMouseHookUsers() { return static_cast<int>(MouseHookUsers().size()); }
    static HHOOK GetMouseHook() { return m_hMouseHook; }

    // ---- rows ------------------------------------------------------------------------------------------------------
    void SetTakeEntireRow(BOOL bTake, BOOL bRedraw = TRUE);
    BOOL GetTakeEntireRow() const { return m_bTakeEntireRow; }
    // Set by a dock bar while it lays out the row holding this bar: the bar then takes the
    // whole row in every layout mode.
    void SetRowLayout(BOOL bRowLayout) { m_bRowLayout = bRowLayout; }
    BOOL IsRowLayout() const { return m_bRowLayout; }
    // The entire row's length (along a horizontal bar when bHorz) from the dock site.
    int GetEntireRow(BOOL bHorz) const;

    // ---- customisation and saved state (menu_bar_state.cpp) -------------------------------------------
    BOOL IsCustomizable(BOOL bAdvanced = FALSE) const override { return bAdvanced; }
    // Enters the menu shown in the changed map (keeping the order of its first marking).
    void MarkAsChanged();
    BOOL IsMarkedAsChanged() const;
    // Writes a menu's record to the profile section of name (Menu_<name>; none: the default
    // section) and sends the frame 0x8073. FALSE when not customisable or not writable.
    BOOL SaveMenuState(HMENU hMenu, LPCTSTR lpszName);
    // Replaces a menu's items by its saved record, when one exists and reads whole; a bad
    // record leaves the menu as it was (FALSE, ERROR_INVALID_DATA). 0x8074 is sent always.
    BOOL LoadMenuState(HMENU hMenu, LPCTSTR lpszName);
    // Saves every changed menu (arguments ignored); TRUE.
    BOOL SaveBarState(LPCTSTR lpszSubKey, LPCTSTR lpszValueName, BOOL bProperties = TRUE) override;
    // Loading happens in SetMenu; TRUE.
    BOOL LoadBarState(LPCTSTR lpszSubKey, LPCTSTR lpszValueName, BOOL bProperties = TRUE) override;
    // Saves the menu shown when it was changed; TRUE when there was nothing to save.
    BOOL SaveCustomizedMenu();
    // The section a menu is saved under: "Menu_" and the name, or the default section.
    static CString GetSectionName(LPCTSTR lpszName);
    BOOL DisplayCustomizeButtonContextMenu(int nButtonIndex, CPoint ptScreen) override;
    // Reads dropped menu items from p (never beyond pEnd) and inserts them into hMenu from
    // nPos on; p moves past them. FALSE, nothing inserted, for malformed data.
    BOOL RetrieveDragDropMenuItem(const BYTE*& p, const BYTE* pEnd, HMENU hMenu, int nPos);
    // Popups made while loading or taking dropped items (destroyed with the bar).
    const std::vector<HMENU>& GetCreatedMenus() const { return m_arrCreatedMenus; }

    // The current skin's menu skin, else the bar's own Classic one.
    COXMenuSkin* GetMenuSkin();

    // ---- the class library's bar -----------------------------------------------------------------------------
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void BookSpace(CRect& rect, DWORD dwMode) override;
    void DrawInBookedSpace(CDC& dc, CRect& rect) override;
    void OnFloatingDocking(BOOL bFloating) override;
    void OnChangeDockSide(DWORD dwDockSide) override;
    LRESULT OnDragOver(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnDrop(WPARAM wParam, LPARAM lParam) override;
    void OnRemoveDraggedButton(int nIndex) override;

protected:
    CSize CalcLayout(DWORD dwMode, int nLength = -1) override;
    CSize CalcSize(TBBUTTON* pData, int nCount) override;
    // Each button as wide as its text in the bar's font (plus the skin's padding).
    void RecalculateItemWidths();
    // The frame's active document (that of the active MDI child in an MDI frame); null
    // without one.
    CDocument* FindActiveDocument() const;
    // Leaves surfing without the focus and menu-loop steps (losing the focus).
    void EndSurfingQuietly();
    // Sends the frame WM_MENUSELECT for a hot item (the icon: the system menu).
    void SendMenuSelect(int nIndex);
    // Moves the hot item (surfing) or switches the open popup to nIndex.
    BOOL MoveToItem(int nIndex);
    // The child window (MDI) that is maximised and active, or null.
    CWnd* GetMaximizedChild() const;
    // The index (0..count) a point over the bar names for the popup code: -5 counts as the
    // system-menu index; -1 otherwise when not on a button.
    int PopupIndexAt(CPoint ptClient) const;
    void InvalidateMDIButtons();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDisplayPopupMenu(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnDropDown(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnMenuBarBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDeleteButton();

    // The thread mouse hook that takes the hot look off the MDI buttons.
    static LRESULT MouseProc(int nCode, WPARAM wParam, LPARAM lParam);

    // ---- fields -----------------------------------------------------------------------------------------------------
    HMENU m_hWindowMenu = nullptr;
    HMENU m_hMenu = nullptr;
    int m_nDisplayedIndex = -1;
    int m_nNextIndex = -1;
    int m_nClosedByClickIndex = -1;
    BOOL m_bRowLayout = FALSE;
    BOOL m_bBackToSurfing = FALSE;
    BOOL m_bKeyboardOpen = FALSE;       // the popup being opened was asked for by a key
    BOOL m_bNextByKeyboard = FALSE;     // so was the next index
    BOOL m_bTakeEntireRow = TRUE;
    CWnd* m_pFrameWnd = nullptr;
    std::map<WCHAR, int> m_mapMnemonics;    // upper-case mnemonic -> button index
    CRect m_rectClose{0, 0, 0, 0};
    CRect m_rectRestore{0, 0, 0, 0};
    CRect m_rectMinimize{0, 0, 0, 0};
    int m_nPressedMDIButton = -1;
    BOOL m_bMDIPress = FALSE;               // the capture is the MDI buttons' press
    BOOL m_bSurfing = FALSE;
    CFont m_fontMenu;
    BOOL m_bMetricsReady = FALSE;
    std::map<HMENU, CDocTemplate*> m_mapTemplates;
    std::map<HMENU, int> m_mapChanged;
    std::vector<HMENU> m_arrCreatedMenus;
    UINT_PTR m_nDragTimer = 0;
    int m_nPressedButton = -1;
    std::unique_ptr<COXMenuSkin> m_pOwnMenuSkin;
    BOOL m_bMouseHookCounted = FALSE;

    static HWND m_hwndFocusBeforeSurfing;
    static HHOOK m_hMouseHook;
    // The bars' windows using the hook (a window gone without its WM_DESTROY is pruned).
    static std::set<HWND>& MouseHookUsers();
    static HWND m_hwndPrevMouseMoveWnd;

    DECLARE_MESSAGE_MAP()
};
