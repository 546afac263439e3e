// COXBitmapMenu in customisation mode: the customised item and the insert mark with their
// redraws and notifications, the context menu of an item and its commands, moving an
// item, and bringing the popup window up to date after the items changed.
#include <algorithm>
#include <vector>

#include "platform/afx/afxstate.h"
#include "platform/afx/winthread.h"
#include "platform/afx/wnd.h"
#include "platform/user/menu.h"
#include "platform/user/popup_menu.h"
#include "platform/user/window.h"
#include "platform/user/winuser.h"
#include "resources/resource.h"
#include "toolkit/menus/bitmap_menu.h"
#include "toolkit/menus/bitmap_menu_popup_wnd.h"
#include "toolkit/menus/menu_seams.h"

namespace {

// The recent-file commands (ID_FILE_MRU_FILE1..16): the host owns them.
constexpr UINT kFirstRecentFile = 57616, kLastRecentFile = 57631;
// Commands from here up that open no submenu belong to the organizer (the expansion item).
constexpr UINT kFirstOrganizerCommand = 0xFF00;

bool IsSeparatorItem(HMENU hMenu, int nPos)
{
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
    if (!::GetMenuItemInfoW(hMenu, static_cast<UINT>(nPos), TRUE, &mii))
        return false;
    return (mii.fType & MFT_SEPARATOR) || (mii.wID == 0 && !mii.hSubMenu);
}

CString ResourceText(UINT nID, const wchar_t* fallback)
{
    CString text;
    if (!text.LoadString(nID) || text.IsEmpty())
        text = fallback;
    return text;
}

} // namespace

// ---- mode, customised item, insert mark ---------------------------------------------------------------------

void COXBitmapMenu::SetCutomizationMode(BOOL bOn, HWND hWnd)
{
    if (bOn) {
        m_bCustomizable = TRUE;
        m_hCustomizeWnd = hWnd;
    } else {
        m_nCustomizedItem = -1;
    }
    m_bCustomizationMode = bOn;
}

HWND COXBitmapMenu::GetPopupHwnd() const
{
    COXBitmapMenuPopupWnd* popup = GetPopupWnd();
    const HWND hwnd = popup ? popup->GetSafeHwnd() : nullptr;
    return hwnd && ::IsWindow(hwnd) ? hwnd : nullptr;
}

void COXBitmapMenu::RedrawPopupItem(int nIndex)
{
    if (nIndex < 0 || !GetPopupHwnd())
        return;
    COXBitmapMenuPopupWnd* popup = GetPopupWnd();
    if (nIndex < popup->GetItemCount())
        popup->RedrawItem(nIndex);
}

int COXBitmapMenu::SetCustomizedItem(int nIndex)
{
    const int previous = m_nCustomizedItem;
    m_nCustomizedItem = nIndex;
    if (GetPopupHwnd() && previous != nIndex) {
        RedrawPopupItem(previous);
        RedrawPopupItem(nIndex);
        SendCustomizeNotification(OXBMCE_CUSTOMIZEDITEMCHANGED);
    }
    return previous;
}

int COXBitmapMenu::SetInsertMark(int nIndex)
{
    const int previous = m_nInsertMark;
    m_nInsertMark = nIndex;
    if (previous == nIndex)
        return previous;
    if (GetPopupHwnd()) {
        const int count = static_cast<int>(GetMenuItemCount());
        // The item a mark is drawn on (the last one for a mark after it), and the one
        // above the mark, whose bottom edge the mark touches.
        auto redrawNear = [&](int mark, int other) {
            if (mark < 0)
                return;
            RedrawPopupItem(mark >= count ? count - 1 : mark);
            if (mark != 0 && mark < count && mark != other + 1)
                RedrawPopupItem(mark - 1);
        };
        redrawNear(previous, nIndex);
        redrawNear(nIndex, previous);
    }
    SendCustomizeNotification(OXBMCE_INSERTMARKCHANGED);
    return previous;
}

// ---- notifications and updates ------------------------------------------------------------------------------------------

LRESULT COXBitmapMenu::SendCustomizeNotification(UINT nEvent)
{
    HWND receiver = m_hCustomizeWnd && ::IsWindow(m_hCustomizeWnd) ? m_hCustomizeWnd : nullptr;
    if (!receiver) {
        CWnd* pMain = AfxGetMainWnd();
        receiver = pMain ? pMain->GetSafeHwnd() : nullptr;
    }
    if (!receiver || !::IsWindow(receiver))
        return 0;
    NMBMCUSTOMIZE nm{};
    nm.nmhdr.hwndFrom = GetPopupHwnd();
    nm.nmhdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(receiver));
    nm.nmhdr.code = OXBMN_CUSTOMIZE;
    nm.nCustomizeEventID = nEvent;
    return ::SendMessageW(receiver, WM_NOTIFY, static_cast<WPARAM>(nm.nmhdr.idFrom), reinterpret_cast<LPARAM>(&nm));
}

void COXBitmapMenu::ConvertPlainItems()
{
    const int count = static_cast<int>(GetMenuItemCount());
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_DATA;
        if (!GetMenuItemInfo(static_cast<UINT>(i), &mii, TRUE) || (mii.fType & MFT_OWNERDRAW))
            continue;
        CString text;
        if (!(mii.fType & MFT_SEPARATOR))
            GetMenuString(static_cast<UINT>(i), text, MF_BYPOSITION);
        auto* record = new COXItemInfo(nullptr, text);
        AddItemInfo(record);
        MENUITEMINFOW set{};
        set.cbSize = sizeof set;
        set.fMask = MIIM_FTYPE | MIIM_DATA;
        set.fType = mii.fType | MFT_OWNERDRAW;
        set.dwItemData = reinterpret_cast<ULONG_PTR>(record);
        SetMenuItemInfo(static_cast<UINT>(i), &set, TRUE);
    }
}

void COXBitmapMenu::UpdateContents()
{
    if (COXMenuOrganizerAccess* organizer = OXFindMainMenuOrganizer())
        organizer->ReconvertMenu(this);
    // Whatever the organizer left plain (or everything, without one) still has to be
    // measured and painted by this menu.
    ConvertPlainItems();
    if (GetPopupHwnd())
        GetPopupWnd()->OnMenuChanged();
    else
        CalcExtents();
}

// ---- the context menu ------------------------------------------------------------------------------------------------------

BOOL COXBitmapMenu::IsItemEditable(int nIndex) const
{
    if (nIndex < 0 || nIndex >= static_cast<int>(GetMenuItemCount()))
        return FALSE;
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_ID | MIIM_SUBMENU;
    if (!GetMenuItemInfo(static_cast<UINT>(nIndex), &mii, TRUE))
        return FALSE;
    if (mii.hSubMenu)
        return TRUE;
    return !((mii.wID >= kFirstRecentFile && mii.wID <= kLastRecentFile) || mii.wID >= kFirstOrganizerCommand);
}

BOOL COXBitmapMenu::DisplayCustomizeItemContextMenu(int nIndex, CPoint ptScreen)
{
    const int count = static_cast<int>(GetMenuItemCount());
    if (!IsItemEditable(nIndex))
        return FALSE;
    const bool separator = IsSeparatorItem(m_hMenu, nIndex);

    CMenu context;
    if (!context.CreatePopupMenu())
        return FALSE;
    context.AppendMenu(MF_STRING, ID_OXCUSTBM_DELETE, ResourceText(IDS_OXCUSTBM_DELETE, L"&Delete"));
    if (!separator) {
        context.AppendMenu(MF_SEPARATOR);
        context.AppendMenu(MF_STRING, ID_OXCUSTBM_APPEARANCE, ResourceText(IDS_OXCUSTBM_APPEARANCE, L"&Appearance..."));
        context.AppendMenu(MF_SEPARATOR);
        COXMenuOrganizerAccess* organizer = OXFindMainMenuOrganizer();
        if (organizer && organizer->IsShowOnlyRecentlyUsedItems()) {
            const UINT checked = organizer->IsRecentlyUsed(this, nIndex) ? MF_CHECKED : MF_UNCHECKED;
            context.AppendMenu(MF_STRING | checked, ID_OXCUSTBM_RECENTLY_USED,
                ResourceText(IDS_OXCUSTBM_RECENTLY_USED, L"&Recently Used"));
            context.AppendMenu(MF_SEPARATOR);
        }
    }
    // A separator next to another one would say nothing.
    const bool before = nIndex > 0 && !IsSeparatorItem(m_hMenu, nIndex - 1);
    const bool after = nIndex < count - 1 && !IsSeparatorItem(m_hMenu, nIndex + 1);
    context.AppendMenu(MF_STRING | (before ? MF_ENABLED : MF_GRAYED), ID_OXCUSTBM_SEPARATOR_BEFORE,
        ResourceText(IDS_OXCUSTBM_SEPARATOR_BEFORE, L"Separator &Before"));
    context.AppendMenu(MF_STRING | (after ? MF_ENABLED : MF_GRAYED), ID_OXCUSTBM_SEPARATOR_AFTER,
        ResourceText(IDS_OXCUSTBM_SEPARATOR_AFTER, L"Separator &After"));

    if (const HWND popup = GetPopupHwnd()) {
        // The popup window receives the chosen command and hands it back to this menu.
        context.TrackPopupMenu(TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, CWnd::FromHandle(popup));
        return TRUE;
    }
    // Without a popup window the command comes back here directly.
    CWnd* owner = m_hCustomizeWnd && ::IsWindow(m_hCustomizeWnd) ? CWnd::FromHandle(m_hCustomizeWnd) : AfxGetMainWnd();
    if (!owner || !owner->GetSafeHwnd())
        return FALSE;
    const UINT chosen = static_cast<UINT>(
        context.TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, ptScreen.x, ptScreen.y, owner));
    switch (chosen) {
    case ID_OXCUSTBM_DELETE: OnCustBMDelete(); break;
    case ID_OXCUSTBM_APPEARANCE: OnCustBMAppearance(); break;
    case ID_OXCUSTBM_SEPARATOR_BEFORE: OnCustBMSeparatorBefore(); break;
    case ID_OXCUSTBM_SEPARATOR_AFTER: OnCustBMSeparatorAfter(); break;
    case ID_OXCUSTBM_RECENTLY_USED: OnCustBMRecentlyUsed(); break;
    default: break;
    }
    return TRUE;
}

// ---- the context commands ------------------------------------------------------------------------------------------

void COXBitmapMenu::OnCustBMDelete()
{
    const int item = m_nCustomizedItem;
    if (item < 0 || item >= static_cast<int>(GetMenuItemCount()))
        return;
    if (SendCustomizeNotification(ID_OXCUSTBM_DELETE) != 0)
        return;
    DeleteMenu(static_cast<UINT>(item), MF_BYPOSITION);
    SetCustomizedItem(-1);
    UpdateContents();
}

void COXBitmapMenu::OnCustBMAppearance()
{
    // The receiver edits the item; the menu has nothing more to do.
    SendCustomizeNotification(ID_OXCUSTBM_APPEARANCE);
}

void COXBitmapMenu::OnCustBMSeparatorBefore()
{
    const int item = m_nCustomizedItem;
    if (item < 0 || item >= static_cast<int>(GetMenuItemCount()))
        return;
    if (SendCustomizeNotification(ID_OXCUSTBM_SEPARATOR_BEFORE) != 0)
        return;
    InsertMenu(static_cast<UINT>(item), MF_BYPOSITION | MF_SEPARATOR);
    UpdateContents();
    SetCustomizedItem(item + 1);
}

void COXBitmapMenu::OnCustBMSeparatorAfter()
{
    const int item = m_nCustomizedItem;
    if (item < 0 || item >= static_cast<int>(GetMenuItemCount()))
        return;
    if (SendCustomizeNotification(ID_OXCUSTBM_SEPARATOR_AFTER) != 0)
        return;
    InsertMenu(static_cast<UINT>(item + 1), MF_BYPOSITION | MF_SEPARATOR);
    UpdateContents();
}

void COXBitmapMenu::OnCustBMRecentlyUsed()
{
    const int item = m_nCustomizedItem;
    if (item < 0 || item >= static_cast<int>(GetMenuItemCount()))
        return;
    if (SendCustomizeNotification(ID_OXCUSTBM_RECENTLY_USED) != 0)
        return;
    COXMenuOrganizerAccess* organizer = OXFindMainMenuOrganizer();
    if (!organizer)
        return;
    organizer->SetRecentlyUsed(this, item, !organizer->IsRecentlyUsed(this, item));
    UpdateContents();
}

// ---- moving an item ---------------------------------------------------------------------------------------------------------

BOOL COXBitmapMenu::MoveItem(int nFrom, int nTo)
{
    const int count = static_cast<int>(GetMenuItemCount());
    if (nFrom < 0 || nFrom >= count || nTo < 0 || nTo >= count)
        return FALSE;
    if (nFrom == nTo)
        return TRUE;
    // Everything the item is: taken out without destroying its submenu, put back as it was.
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_CHECKMARKS | MIIM_BITMAP;
    if (!GetMenuItemInfo(static_cast<UINT>(nFrom), &mii, TRUE))
        return FALSE;
    std::vector<wchar_t> text;
    if (!(mii.fType & (MFT_OWNERDRAW | MFT_SEPARATOR | MFT_BITMAP))) {
        MENUITEMINFOW len{};
        len.cbSize = sizeof len;
        len.fMask = MIIM_STRING;
        GetMenuItemInfo(static_cast<UINT>(nFrom), &len, TRUE);
        text.assign(len.cch + 1, L'\0');
        MENUITEMINFOW get{};
        get.cbSize = sizeof get;
        get.fMask = MIIM_STRING;
        get.dwTypeData = text.data();
        get.cch = len.cch + 1;
        GetMenuItemInfo(static_cast<UINT>(nFrom), &get, TRUE);
        mii.fMask |= MIIM_STRING;
        mii.dwTypeData = text.data();
    }
    if (!RemoveMenu(static_cast<UINT>(nFrom), MF_BYPOSITION))
        return FALSE;
    if (!InsertMenuItem(static_cast<UINT>(nTo), &mii, TRUE)) {
        // Back where it was, so the menu loses nothing.
        InsertMenuItem(static_cast<UINT>(nFrom), &mii, TRUE);
        return FALSE;
    }
    int customised = m_nCustomizedItem;
    if (customised == nFrom)
        customised = nTo;
    else if (nFrom < customised && customised <= nTo)
        --customised;
    else if (nTo <= customised && customised < nFrom)
        ++customised;
    UpdateContents();
    SetCustomizedItem(customised);
    return TRUE;
}
