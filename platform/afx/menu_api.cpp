// The menu API wrappers of CMenu, and CWnd::GetSystemMenu.
#include <vector>

#include "platform/afx/afxstate.h"
#include "platform/afx/gdi/bitmap.h"
#include "platform/afx/menu.h"
#include "platform/afx/wnd.h"
#include "platform/base/cstring.h"
#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/user/menu.h"
#include "platform/user/popup_menu.h"

namespace {
HBITMAP BitmapOf(const CBitmap* p) { return p ? static_cast<HBITMAP>(p->m_hObject) : nullptr; }
} // namespace

BOOL CMenu::IsMenu(HMENU hMenu) { return ::IsMenu(hMenu); }

BOOL CMenu::CreateMenu()
{
    if (m_hMenu) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return Attach(::CreateMenu());
}

BOOL CMenu::CreatePopupMenu()
{
    if (m_hMenu) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return Attach(::CreatePopupMenu());
}

BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName)
{
    if (m_hMenu) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, MAKEINTRESOURCE(4) /* RT_MENU */);
    return Attach(::LoadMenuW(hInst, lpszResourceName));
}

BOOL CMenu::LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCE(nIDResource)); }

BOOL CMenu::LoadMenuIndirect(const void* lpMenuTemplate)
{
    if (m_hMenu || !lpMenuTemplate) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return Attach(::LoadMenuIndirectW(lpMenuTemplate));
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp)
{
    return ::AppendMenuW(m_hMenu, nFlags | MF_BITMAP, nIDNewItem, reinterpret_cast<LPCWSTR>(BitmapOf(pBmp)));
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    return ::InsertMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp)
{
    return ::InsertMenuW(m_hMenu, nPosition, nFlags | MF_BITMAP, nIDNewItem,
        reinterpret_cast<LPCWSTR>(BitmapOf(pBmp)));
}

BOOL CMenu::InsertMenuItem(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos)
{
    return ::InsertMenuItemW(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    return ::ModifyMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp)
{
    return ::ModifyMenuW(m_hMenu, nPosition, nFlags | MF_BITMAP, nIDNewItem,
        reinterpret_cast<LPCWSTR>(BitmapOf(pBmp)));
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }
BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck)
{
    return static_cast<UINT>(::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck));
}

BOOL CMenu::CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags)
{
    return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable)
{
    return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}

BOOL CMenu::SetMenuItemBitmaps(UINT nPosition, UINT nFlags, const CBitmap* pBmpUnchecked, const CBitmap* pBmpChecked)
{
    return ::SetMenuItemBitmaps(m_hMenu, nPosition, nFlags, BitmapOf(pBmpUnchecked), BitmapOf(pBmpChecked));
}

BOOL CMenu::SetDefaultItem(UINT uItem, BOOL fByPos) { return ::SetMenuDefaultItem(m_hMenu, uItem, fByPos); }
UINT CMenu::GetDefaultItem(UINT gmdiFlags, BOOL fByPos) { return ::GetMenuDefaultItem(m_hMenu, fByPos, gmdiFlags); }

UINT CMenu::GetMenuItemCount() const { return static_cast<UINT>(::GetMenuItemCount(m_hMenu)); }
UINT CMenu::GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }

int CMenu::GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const
{
    return ::GetMenuStringW(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    rString.Empty();
    const int n = ::GetMenuStringW(m_hMenu, nIDItem, nullptr, 0, nFlags);
    if (n <= 0)
        return 0;
    std::vector<wchar_t> buf(static_cast<size_t>(n) + 1, L'\0');
    const int got = ::GetMenuStringW(m_hMenu, nIDItem, buf.data(), n + 1, nFlags);
    rString = CString(buf.data(), got > 0 ? got : 0);
    return rString.GetLength();
}

BOOL CMenu::GetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos) const
{
    return ::GetMenuItemInfoW(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

BOOL CMenu::SetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos)
{
    return ::SetMenuItemInfoW(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

CMenu* CMenu::GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }
BOOL CMenu::GetMenuInfo(LPMENUINFO lpcmi) const { return ::GetMenuInfo(m_hMenu, lpcmi); }
BOOL CMenu::SetMenuInfo(LPCMENUINFO lpcmi) { return ::SetMenuInfo(m_hMenu, lpcmi); }
BOOL CMenu::SetMenuContextHelpId(DWORD dwContextHelpId) { return ::SetMenuContextHelpId(m_hMenu, dwContextHelpId); }
DWORD CMenu::GetMenuContextHelpId() const { return ::GetMenuContextHelpId(m_hMenu); }

namespace {

// The class library's thread state names the menu and window being tracked for the length
// of the call, so WM_MEASUREITEM from the popup finds this menu (CWnd::OnMeasureItem).
class TrackingScope {
public:
    TrackingScope(HWND hwnd, HMENU menu) : m_state(AfxGetThreadState())
    {
        m_window = m_state->m_hTrackingWindow;
        m_menu = m_state->m_hTrackingMenu;
        m_state->m_hTrackingWindow = hwnd;
        m_state->m_hTrackingMenu = menu;
    }
    ~TrackingScope()
    {
        m_state->m_hTrackingWindow = m_window;
        m_state->m_hTrackingMenu = m_menu;
    }
    TrackingScope(const TrackingScope&) = delete;
    TrackingScope& operator=(const TrackingScope&) = delete;

private:
    AFX_THREAD_STATE* m_state;
    HWND m_window = nullptr;
    HMENU m_menu = nullptr;
};

} // namespace

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    const HWND hwnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    TrackingScope scope(hwnd, m_hMenu);
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, hwnd, lpRect);
}

BOOL CMenu::TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm)
{
    const HWND hwnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    TrackingScope scope(hwnd, m_hMenu);
    return ::TrackPopupMenuEx(m_hMenu, fuFlags, x, y, hwnd, lptpm);
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }

BOOL CWnd::HiliteMenuItem(CMenu* pMenu, UINT nIDHiliteItem, UINT nHilite)
{
    return ::HiliteMenuItem(m_hWnd, zyn::afx::SafeHmenuOf(pMenu), nIDHiliteItem, nHilite);
}
