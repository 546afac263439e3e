// The menu API wrappers of CMenu (and CWnd::GetSystemMenu).
//
// Interim: the menu data model (HMENU objects and their API) is not part of the window
// system yet. Until it is, every call here fails cleanly with ERROR_CALL_NOT_IMPLEMENTED
// and a menu handle is never valid; CMenu's maps, FromHandle and owner-draw routing work
// on any handle already.
#include "platform/afx/menu.h"
#include "platform/afx/wnd.h"
#include "platform/base/cstring.h"
#include "platform/base/lasterror.h"

namespace {
template <class T>
T NotYet(T value)
{
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return value;
}
} // namespace

BOOL CMenu::IsMenu(HMENU) { return NotYet(FALSE); }
BOOL CMenu::CreateMenu() { return NotYet(FALSE); }
BOOL CMenu::CreatePopupMenu() { return NotYet(FALSE); }
BOOL CMenu::LoadMenu(LPCTSTR) { return NotYet(FALSE); }
BOOL CMenu::LoadMenu(UINT) { return NotYet(FALSE); }
BOOL CMenu::LoadMenuIndirect(const void*) { return NotYet(FALSE); }
BOOL CMenu::DestroyMenu()
{
    Detach();
    return NotYet(FALSE);
}
BOOL CMenu::AppendMenu(UINT, UINT_PTR, LPCTSTR) { return NotYet(FALSE); }
BOOL CMenu::AppendMenu(UINT, UINT_PTR, const CBitmap*) { return NotYet(FALSE); }
BOOL CMenu::InsertMenu(UINT, UINT, UINT_PTR, LPCTSTR) { return NotYet(FALSE); }
BOOL CMenu::InsertMenu(UINT, UINT, UINT_PTR, const CBitmap*) { return NotYet(FALSE); }
BOOL CMenu::InsertMenuItem(UINT, LPMENUITEMINFO, BOOL) { return NotYet(FALSE); }
BOOL CMenu::ModifyMenu(UINT, UINT, UINT_PTR, LPCTSTR) { return NotYet(FALSE); }
BOOL CMenu::ModifyMenu(UINT, UINT, UINT_PTR, const CBitmap*) { return NotYet(FALSE); }
BOOL CMenu::RemoveMenu(UINT, UINT) { return NotYet(FALSE); }
BOOL CMenu::DeleteMenu(UINT, UINT) { return NotYet(FALSE); }
UINT CMenu::CheckMenuItem(UINT, UINT) { return NotYet(static_cast<UINT>(-1)); }
BOOL CMenu::CheckMenuRadioItem(UINT, UINT, UINT, UINT) { return NotYet(FALSE); }
UINT CMenu::EnableMenuItem(UINT, UINT) { return NotYet(static_cast<UINT>(-1)); }
BOOL CMenu::SetMenuItemBitmaps(UINT, UINT, const CBitmap*, const CBitmap*) { return NotYet(FALSE); }
BOOL CMenu::SetDefaultItem(UINT, BOOL) { return NotYet(FALSE); }
UINT CMenu::GetDefaultItem(UINT, BOOL) { return NotYet(static_cast<UINT>(-1)); }
UINT CMenu::GetMenuItemCount() const { return NotYet(static_cast<UINT>(-1)); }
UINT CMenu::GetMenuItemID(int) const { return NotYet(static_cast<UINT>(-1)); }
UINT CMenu::GetMenuState(UINT, UINT) const { return NotYet(static_cast<UINT>(-1)); }
int CMenu::GetMenuString(UINT, LPTSTR, int, UINT) const { return NotYet(0); }
int CMenu::GetMenuString(UINT, CString&, UINT) const { return NotYet(0); }
BOOL CMenu::GetMenuItemInfo(UINT, LPMENUITEMINFO, BOOL) const { return NotYet(FALSE); }
BOOL CMenu::SetMenuItemInfo(UINT, LPMENUITEMINFO, BOOL) { return NotYet(FALSE); }
CMenu* CMenu::GetSubMenu(int) const { return NotYet(static_cast<CMenu*>(nullptr)); }
BOOL CMenu::GetMenuInfo(LPMENUINFO) const { return NotYet(FALSE); }
BOOL CMenu::SetMenuInfo(LPCMENUINFO) { return NotYet(FALSE); }
BOOL CMenu::SetMenuContextHelpId(DWORD) { return NotYet(FALSE); }
DWORD CMenu::GetMenuContextHelpId() const { return NotYet(DWORD{0}); }
BOOL CMenu::TrackPopupMenu(UINT, int, int, CWnd*, LPCRECT) { return NotYet(FALSE); }
BOOL CMenu::TrackPopupMenuEx(UINT, int, int, CWnd*, LPTPMPARAMS) { return NotYet(FALSE); }
CMenu* CWnd::GetSystemMenu(BOOL) const { return NotYet(static_cast<CMenu*>(nullptr)); }
