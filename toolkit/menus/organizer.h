#pragma once
// COXBitmapMenuOrganizer gives a frame window's popup menus images and owner drawing
// without any change to the frame's code.
//
// AttachFrameWnd puts one process-wide window procedure in front of the frame's own (and
// of its MDI client's, for an MDI frame). Every message reaches the window's previous
// procedure first; then the organizer acts on what the frame saw:
//   WM_INITMENUPOPUP  the popup is wrapped in a COXBitmapMenu (attached as the popup's
//                     permanent CMenu), its items become owner-drawn items carrying a
//                     COXItemInfo (image record and text), and it joins the trace of the
//                     popups open in this menu loop. What each item was is remembered,
//                     so restoring gives the menu back exactly.
//   WM_MEASUREITEM    answered by the bitmap menu that owns the item's record (the only
//                     message that does not go first to the frame, which sees it only
//                     when the organizer does not measure the item).
//   WM_MENUCHAR       the mnemonic of an owner-drawn item.
//   WM_MENUSELECT     learns the window of a traced popup; installs the thread hooks
//                     that expand a popup showing only its recently used items.
//   WM_COMMAND        the expansion item, and the recently used items (recent_items.cpp).
// A converted popup stays converted (menus are not rebuilt at every loop) until Empty,
// DetachFrameWnd, the destruction of the organizer or the frame, the expansion of a
// popup, or the start of customisation. The system menu of the frame itself is never
// converted; the system menu of a maximised MDI child, which the MDI client puts into the
// frame's menu bar, is converted while it is shown (its restore, minimise and close
// become commands 28137-28139, carried out on the active child) and restored when it
// closes, so the child's own system menu keeps the system commands.
//
// Images: each command has an image record (COXImageInfo) in an image list the organizer
// keeps under a key; commands without an image of their own get the default list (check
// mark and bullet, drawn only for checked items).
//
// The bitmap menus, their popup windows and the menu bar find the organizer of the
// application's main window through FindOrganizer; this unit installs that finder in
// menu_seams.h, so painting asks the real organizer which items are recently used.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/afx/gdi/image_list.h"
#include "platform/base/coll_array.h"
#include "platform/base/cstring.h"
#include "platform/base/object.h"
#include "toolkit/menus/bitmap_menu.h"
#include "toolkit/menus/menu_seams.h"
#include "toolkit/menus/organizer_records.h"

class CArchive;
class CBitmap;
class CFrameWnd;

// The message sent to the attached frame when a choice changed the recently used sets.
inline constexpr UINT WM_OX_RECENTLYUSEDCHANGED = 0x8075;
// Sent by the menu bar to the frame: save then load (0x8073), or load (0x8074), the
// submenu state of a root menu (wParam) under a base name (lParam, LPCTSTR).
inline constexpr UINT WM_OX_SAVERUSUBMENUS = 0x8073, WM_OX_LOADRUSUBMENUS = 0x8074;

class COXBitmapMenuOrganizer : public CObject, public COXMenuOrganizerAccess {
    DECLARE_DYNAMIC(COXBitmapMenuOrganizer)
public:
    COXBitmapMenuOrganizer();
    ~COXBitmapMenuOrganizer() override;
    COXBitmapMenuOrganizer(const COXBitmapMenuOrganizer&) = delete;
    COXBitmapMenuOrganizer& operator=(const COXBitmapMenuOrganizer&) = delete;

    // ---- the frame ------------------------------------------------------------------------------------
    // Builds the default image list: check mark (0) and bullet (1), cx x cy (0 x 0: the
    // system's check-mark size), from the bitmap resources when given, else the system's
    // glyphs. FALSE when a bitmap does not load or the list cannot be made.
    BOOL Init(UINT cx = 0, UINT cy = 0, UINT nCheckBitmapID = 0, UINT nBulletBitmapID = 0);
    // FALSE for null, a frame without a window, a second frame, or a frame another
    // organizer serves.
    BOOL AttachFrameWnd(CFrameWnd* pFrameWnd);
    // Gives the window procedures back, forgets the frame and restores every menu; the
    // frame that was attached (null if none).
    CFrameWnd* DetachFrameWnd();
    BOOL IsAttached() const { return m_pFrameWnd != nullptr; }
    CFrameWnd* GetFrameWnd() const { return m_pFrameWnd; }
    // The organizer serving a frame window, or null.
    static COXBitmapMenuOrganizer* FindOrganizer(HWND hWnd);
    // Restores every converted menu, then frees the image lists (but the default one) and
    // the image records. A menu that still exists always gets its items back (its item
    // records go with the bitmap menu); bRestoreItems FALSE only skips that for menus that
    // no longer exist.
    void Empty(BOOL bRestoreItems = TRUE);

    // ---- popups ---------------------------------------------------------------------------------------
    // Wraps a popup about to be shown (unless it is a bitmap menu already), updates its
    // items through the frame's command routing and converts it.
    virtual void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    // The mnemonic of an owner-drawn item: MAKELRESULT(position, MNC_EXECUTE), else 0.
    virtual LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    // Measures an owner-drawn menu item; FALSE when no menu of the organizer holds it (and
    // for controls, which the frame's own handling routes to the control).
    virtual BOOL OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    // Makes every item of a wrapped popup owner-drawn with an item record. On the first
    // conversion of a wrapping, while only recently used items are shown, the others are
    // taken out and the expansion item appended (recent_items.cpp).
    virtual void ConvertBitmapMenu(COXBitmapMenu* pBitmapMenu, BOOL bFirstTime);
    // Gives a converted popup back: the expansion item goes, the items become what they
    // were, the items taken out return to their places, and the bitmap menu is deleted.
    virtual void RestoreBitmapMenu(COXBitmapMenu* pBitmapMenu, BOOL bRestoreItems);
    // Takes over a bitmap menu that wraps a popup (the menu bar converts its popups
    // itself): the organizer owns it from now on and restores it with the others. FALSE
    // (the caller keeps it) for null, a menu without a handle, or a popup wrapped already.
    BOOL AddConvertedMenu(COXBitmapMenu* pBitmapMenu);
    // The bitmap menu wrapping a popup now, or null.
    COXBitmapMenu* FindConvertedMenu(HMENU hMenu) const;
    int GetConvertedMenuCount() const { return static_cast<int>(m_converted.size()); }
    // The items taken out of a converted popup (empty when none).
    const COXArrSavedMenuItem& GetSavedItems(const COXBitmapMenu* pBitmapMenu) const;
    // The menu (its permanent CMenu, so the bitmap menu where one wraps it) that directly
    // holds an item with command nID, depth first; items that open a submenu match by the
    // ID they carry; nID -1 matches the first item. Null when none.
    static CMenu* OwnFindPopupMenuFromID(CMenu* pMenu, UINT nID);
    // A popup the organizer made (a dropped submenu, a copy), destroyed with the organizer.
    void AddCreatedMenu(HMENU hMenu);
    // The popups opened in this menu loop, outermost first, and how many are open.
    const std::vector<OXPOPUPTRACEENTRY>& GetPopupTrace() const { return m_popupTrace; }
    int GetActivePopupCount() const { return m_nActivePopupMenuCount; }
    // The window showing a traced popup (null when not known).
    HWND GetPopupWindow(HMENU hPopup) const;

    // ---- images (organizer_images.cpp) ---------------------------------------------------------------------
    // Each returns FALSE when no frame is attached or an image does not load.
    BOOL SetMenuImage(UINT nID, LPCTSTR lpszBitmapID, int nImage, int cx);
    BOOL SetMenuImage(UINT nID, UINT nBitmapID, int nImage, int cx);
    BOOL SetMenuImage(UINT nID, HICON hIcon, int cx, int cy);
    BOOL SetMenuImage(UINT nID, CBitmap* pBitmap, COLORREF crMask, int cx, int cy);
    // Hot images are appended to the list of the command's record: FALSE without a record
    // of the command's own (a command showing only the default images has none).
    BOOL SetMenuHotImage(UINT nID, LPCTSTR lpszBitmapID, int nImage, int cx);
    BOOL SetMenuHotImage(UINT nID, UINT nBitmapID, int nImage, int cx);
    BOOL SetMenuHotImage(UINT nID, HICON hIcon);
    BOOL SetMenuHotImage(UINT nID, CBitmap* pBitmap, COLORREF crMask);
    BOOL SetMenuBitmap(UINT nID, LPCTSTR lpszBitmapID);
    BOOL SetMenuBitmap(UINT nID, UINT nBitmapID);
    BOOL SetMenuHotBitmap(UINT nID, LPCTSTR lpszBitmapID);
    BOOL SetMenuHotBitmap(UINT nID, UINT nBitmapID);
    BOOL SetMenuIcon(UINT nID, LPCTSTR lpszIconID);
    BOOL SetMenuIcon(UINT nID, UINT nIconID);
    BOOL SetMenuHotIcon(UINT nID, LPCTSTR lpszIconID);
    BOOL SetMenuHotIcon(UINT nID, UINT nIconID);
    // The image record of a command (-1: items that open a submenu), or null.
    COXImageInfo* GetMenuItemImageInfo(UINT nID) const;
    // Gives every command on the frame's toolbars the image of its button (and its hot
    // image): Empty, then one list per toolbar keyed "1", "2", ... FALSE when not attached.
    BOOL AutoSetMenuImage();
    // The list under a key, or null; the default list of check mark and bullet.
    CImageList* GetImageList(LPCTSTR lpszKey) const;
    CImageList* GetDefaultImageList() { return &m_defaultImageList; }
    // U+007F, the number, then U+007F (bFlag) or U+FF80; a name (not an integer resource)
    // followed by that same last character.
    static CString GetUniqueResourceString(UINT nID, BOOL bFlag);
    static CString GetUniqueResourceString(LPCTSTR lpszName, BOOL bFlag);

    // ---- customisation ----------------------------------------------------------------------------------
    // Turning it on while only recently used items are shown restores every converted
    // menu, so customisation sees whole popups.
    void SetCutomizationMode(BOOL bOn, HWND hWnd = nullptr);
    BOOL IsInCustomizationMode() const { return m_bCustomizationMode; }
    HWND GetCustomizationWindow() const { return m_hCustomizeWnd; }

    // ---- recently used items (recent_items.cpp) ----------------------------------------------------------
    virtual void ShowOnlyRecentlyUsedItems(BOOL bShowOnly);
    BOOL IsShowOnlyRecentlyUsedItems() override { return m_bShowOnlyRecentlyUsed; }
    // FALSE for 0 or a command already excluded.
    virtual BOOL ExcludeFromRecentlyUsed(int nID);
    // FALSE for null or a submenu already excluded.
    virtual BOOL ExcludeSubmenuFromRecentlyUsed(HMENU hMenu);
    // TRUE when it was excluded.
    virtual BOOL AddToRecentlyUsed(int nID);
    virtual BOOL AddSubmenuToRecentlyUsed(HMENU hMenu);
    BOOL IsRecentlyUsed(int nID) const { return m_excludedCommands.count(nID) == 0; }
    BOOL IsSubmenuRecentlyUsed(HMENU hMenu) const { return m_excludedSubmenus.count(hMenu) == 0; }
    // By the item at a position: an item that opens a submenu by its submenu, others by
    // their command; position -1 is recently used.
    BOOL IsRecentlyUsed(CMenu* pMenu, int nPos) override;
    BOOL ExcludeFromRecentlyUsed(CMenu* pMenu, int nPos);
    BOOL AddToRecentlyUsed(CMenu* pMenu, int nPos);

    // ---- what customising a menu asks of the organizer (the bitmap menus' seam) ----------------------
    void ReconvertMenu(COXBitmapMenu* menu) override;
    COXBitmapMenu* WrapMenu(HMENU hMenu) override;
    void KeepCreatedMenu(HMENU hMenu) override;
    BOOL SetRecentlyUsed(CMenu* menu, int nPos, BOOL bRecentlyUsed) override;
    const std::set<int>& GetExcludedCommands() const { return m_excludedCommands; }
    const std::set<HMENU>& GetExcludedSubmenus() const { return m_excludedSubmenus; }

    // The sets in the application profile (recent_state_profile.cpp; the layout is in
    // recent_state.h). Section null or empty: "RecentlyUsedMenuItems" and
    // "RecentlyUsedSubmenuItems". Loading with no saved state changes nothing and
    // succeeds; a saved state that is not well formed changes nothing and fails
    // (ERROR_INVALID_DATA). Saving fails when the profile cannot be written.
    BOOL SaveRUCommandsState(LPCTSTR lpszSection = nullptr);
    BOOL LoadRUCommandsState(LPCTSTR lpszSection = nullptr);
    BOOL SaveRUSubmenusState(HMENU hRoot, LPCTSTR lpszSection = nullptr);
    BOOL LoadRUSubmenusState(HMENU hRoot, LPCTSTR lpszSection = nullptr);

    // TRUE when hMenu lies under hRoot; the positions leading to it are inserted at the
    // front of path (which is not emptied first).
    static BOOL FindPopupMenuPath(HMENU hMenu, HMENU hRoot, CArray<int, int>& path);
    // Whether the frame's menu holds the popup as the submenu of one of its own items.
    BOOL IsTopLevelPopupMenu(HMENU hMenu) const;
    // A deep copy of a popup (whole texts), recorded among the created menus; an excluded
    // original becomes recently used and the copy is excluded instead. Null on failure.
    HMENU CopyPopupMenu(HMENU hMenu);

protected:
    // The sets as the profile holds them (recent_state_profile.cpp). Loading reads the
    // rest of the archive, checks all of it and only then replaces the set; FALSE (the
    // set unchanged) when the bytes are not well formed.
    virtual BOOL SaveRUCommandsContents(CArchive& ar);
    virtual BOOL LoadRUCommandsContents(CArchive& ar);
    virtual BOOL SaveRUSubmenusContents(HMENU hRoot, CArchive& ar);
    virtual BOOL LoadRUSubmenusContents(HMENU hRoot, CArchive& ar);

    BOOL SubclassFrameWindow(CFrameWnd* pFrameWnd);
    void UnsubclassFrameWindow();
    static LRESULT GlobalMenuOrganizerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT MenuOrganizerProc(WNDPROC previous, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT MdiClientProc(WNDPROC previous, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Drops the popups whose windows are gone from the active count.
    void UpdateActivePopupMenuCount();

private:
    struct ConvertedMenu {
        std::unique_ptr<COXBitmapMenu> menu;
        std::unordered_map<const COXItemInfo*, OXORIGINALITEM> originals;
        HWND hMdiChild = nullptr;   // the MDI child whose system menu this is
    };
    struct ImageListEntry {
        CImageList* list = nullptr;           // the default list or owned
        std::unique_ptr<CImageList> owned;
    };

    // organizer.cpp
    void OnFrameGone();
    void OnMdiClientGone();
    void HandleInitMenuPopup(HMENU hPopup, UINT nIndex, BOOL bSysMenu);
    void HandleMenuSelect(UINT nItemID, UINT nFlags, HMENU hMenu);
    void HandleExitMenuLoop(BOOL bTrackPopup);
    void HandleMdiCommand(UINT nID);
    HWND MdiChildOfSystemMenu(HMENU hPopup) const;
    void RestoreAll(BOOL bRestoreItems);
    void RestoreMdiSystemMenus(HWND hChild);
    ConvertedMenu* FindEntry(const COXBitmapMenu* pBitmapMenu);
    // organizer_convert.cpp
    COXImageInfo* ImageInfoForCommand(UINT nCommand);
    void ConvertItem(ConvertedMenu* entry, COXBitmapMenu* pBitmapMenu, int nPos, const MENUITEMINFOW& mii,
        const CString& text, BOOL bFirstTime, int nFinalPos);
    // organizer_images.cpp
    void ClearImages();
    CImageList* OwnedListForKey(const CString& key);
    BOOL SetRecordList(UINT nID, CImageList* pList, int nNewIndex);
    BOOL AppendHotImage(UINT nID, HICON hIcon);
    // recent_items.cpp
    bool ItemStays(HMENU hMenu, int nPos, const MENUITEMINFOW& mii, BOOL& bSeparatorFlag) const;
    void OnMenuCommand(UINT nID);
    void OnExpansionCommand();
    void InstallHooks();
    void RemoveHooks();
    static LRESULT MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam);
    static LRESULT KeyboardHookProc(int nCode, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseHook(int nCode, WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyboardHook(int nCode, WPARAM wParam, LPARAM lParam);
    bool IsExpansionHighlighted(HMENU hPopup) const;
    LRESULT OnSubmenuStateMessage(UINT message, WPARAM wParam, LPARAM lParam);

    std::map<std::wstring, ImageListEntry> m_imageLists;
    std::map<UINT, std::unique_ptr<COXImageInfo>> m_imageInfos;
    CFrameWnd* m_pFrameWnd = nullptr;
    HWND m_hWnd = nullptr;            // the frame's window while subclassed
    HWND m_hMdiClient = nullptr;      // its MDI client while subclassed
    CImageList m_defaultImageList;
    BOOL m_bCustomizationMode = FALSE;
    HWND m_hCustomizeWnd = nullptr;
    std::vector<ConvertedMenu> m_converted;
    BOOL m_bShowOnlyRecentlyUsed = TRUE;
    std::set<int> m_excludedCommands;
    std::set<HMENU> m_excludedSubmenus;
    std::map<const COXBitmapMenu*, COXArrSavedMenuItem> m_savedItems;
    std::vector<OXPOPUPTRACEENTRY> m_popupTrace;
    BOOL m_bInMenuLoop = FALSE;
    int m_nActivePopupMenuCount = 0;
    std::map<HMENU, HWND> m_popupWindows;
    std::vector<HMENU> m_createdMenus;
    BOOL m_bExpansionClicked = FALSE;
    // The item the last WM_MENUSELECT reported, for the keyboard hook (the window
    // system does not mark highlighted popup items).
    HMENU m_hSelectedMenu = nullptr;
    UINT m_nSelectedID = 0;
};
