#pragma once
// CMenu: the class library's wrapper of a menu handle. A CMenu that creates, loads or
// attaches a menu owns it (DestroyMenu or the destructor destroys it); FromHandle makes a
// temporary wrapper for a menu no CMenu holds, freed at the thread's next idle pass,
// which never destroys the menu.
//
// Owner-drawn items: the window that owns the menu receives WM_MEASUREITEM and
// WM_DRAWITEM; the base CWnd handlers hand them to the permanent CMenu of the menu that
// holds the item, whose MeasureItem and DrawItem a derived class overrides.
#include "platform/base/object.h"
#include "platform/base/wintypes.h"
#include "platform/user/user_types.h"

template <class C>
class CStringT;
using CString = CStringT<wchar_t>;

class CBitmap;
class CWnd;
struct MENUITEMINFOW;
struct MENUINFO;
struct TPMPARAMS;
using MENUITEMINFO = MENUITEMINFOW;
using LPMENUITEMINFO = MENUITEMINFOW*;
using LPMENUINFO = MENUINFO*;
using LPCMENUINFO = const MENUINFO*;
using LPTPMPARAMS = TPMPARAMS*;

class CMenu : public CObject {
    DECLARE_DYNCREATE(CMenu)
public:
    CMenu();
    ~CMenu() override;

    HMENU m_hMenu = nullptr;

    // ---- the handle ---------------------------------------------------------------------------------
    // The permanent CMenu holding hMenu (the newest one attached), else this thread's
    // temporary; null for null.
    static CMenu* FromHandle(HMENU hMenu);
    static CMenu* FromHandlePermanent(HMENU hMenu);
    // Frees this thread's temporary menu wrappers (never the menus).
    static void DeleteTempMap();
    // Takes ownership of a menu. FALSE (ERROR_INVALID_PARAMETER) for null or when this
    // object holds a menu already.
    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }
    BOOL operator==(const CMenu& menu) const { return m_hMenu == menu.m_hMenu; }
    BOOL operator!=(const CMenu& menu) const { return m_hMenu != menu.m_hMenu; }
    static BOOL IsMenu(HMENU hMenu);

    // ---- creation -------------------------------------------------------------------------------------
    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    BOOL LoadMenu(LPCTSTR lpszResourceName);
    BOOL LoadMenu(UINT nIDResource);
    BOOL LoadMenuIndirect(const void* lpMenuTemplate);
    BOOL DestroyMenu();

    // ---- items ------------------------------------------------------------------------------------------
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp);
    BOOL InsertMenuItem(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE);
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp);
    BOOL RemoveMenu(UINT nPosition, UINT nFlags);
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
    BOOL CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags);
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    BOOL SetMenuItemBitmaps(UINT nPosition, UINT nFlags, const CBitmap* pBmpUnchecked, const CBitmap* pBmpChecked);
    BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE);
    UINT GetDefaultItem(UINT gmdiFlags, BOOL fByPos = FALSE);

    // ---- queries ---------------------------------------------------------------------------------------------
    UINT GetMenuItemCount() const;
    UINT GetMenuItemID(int nPos) const;
    UINT GetMenuState(UINT nID, UINT nFlags) const;
    int GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const;
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    BOOL GetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE) const;
    BOOL SetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE);
    // The popup at a position as a CMenu (temporary unless one is attached), or null.
    CMenu* GetSubMenu(int nPos) const;
    BOOL GetMenuInfo(LPMENUINFO lpcmi) const;
    BOOL SetMenuInfo(LPCMENUINFO lpcmi);
    BOOL SetMenuContextHelpId(DWORD dwContextHelpId);
    DWORD GetMenuContextHelpId() const;

    // ---- popup tracking (the window system runs the loop: platform/user/popup_menu.h) ----------------------
    // The thread's tracked menu and window are set for the duration of the call, so
    // WM_MEASUREITEM from the popup finds this menu. The result is ::TrackPopupMenu's: the
    // command with TPM_RETURNCMD, else whether the menu was shown; lpRect is ignored.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
    BOOL TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm);

    // ---- owner-drawn items --------------------------------------------------------------------------------------
    // The base does nothing (the item keeps whatever the window system draws).
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
};

namespace zyn::afx {
inline HMENU SafeHmenuOf(const CMenu* p) { return p ? p->m_hMenu : nullptr; }
// Temporary menu wrappers this thread holds, for tests.
size_t TemporaryMenuCount();
// The menu among pMenu and its popups (depth first) that directly holds a command item
// nID, as its permanent CMenu (null when that menu has none or no item matches).
CMenu* FindPopupMenuFromID(CMenu* pMenu, UINT nID);
} // namespace zyn::afx
