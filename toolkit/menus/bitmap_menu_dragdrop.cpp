// COXBitmapMenu's drag and drop, which accepts nothing, and COXDragDropBitmapMenu's:
// dragging items out of a customisation popup and dropping items on one.
//
// A drag carries the item's records (menu_drop_data.h) in the menu-item clipboard format.
// Whatever drops it decides between a copy (Ctrl held) and a move; after a move the
// source takes the item out, unless the drop was on the same menu, which moves the item
// itself so it keeps its record, state and submenu. While a drag from a menu runs, the
// thread remembers where it came from, so that no menu takes a submenu into itself: a
// drop on the dragged submenu or on any menu below it is refused (the source would
// afterwards delete the item and with it everything just dropped).
#include <algorithm>
#include <vector>

#include "platform/afx/ole/oledataobject.h"
#include "platform/afx/ole/oledatasource.h"
#include "platform/base/cstring.h"
#include "platform/user/menu.h"
#include "platform/user/messages.h"
#include "platform/user/winuser.h"
#include "toolkit/menus/bitmap_menu.h"
#include "toolkit/menus/bitmap_menu_popup_wnd.h"
#include "toolkit/menus/menu_drag_data.h"
#include "toolkit/menus/menu_seams.h"

namespace {

// The drag a bitmap menu of this thread runs.
struct MenuDrag {
    COXBitmapMenu* source = nullptr;
    int item = -1;
    UINT id = 0;
    HMENU subMenu = nullptr;
    ULONG_PTR data = 0;
};
thread_local MenuDrag t_drag;

constexpr int kMaxMenuDepth = OX_DROPDATA_MAX_DEPTH + 1;

// Whether `menu` is `root` or lies anywhere below it.
bool IsWithin(HMENU menu, HMENU root, int depth = 0)
{
    if (!menu || !root || depth > kMaxMenuDepth)
        return false;
    if (menu == root)
        return true;
    const int count = ::GetMenuItemCount(root);
    for (int i = 0; i < count; ++i)
        if (const HMENU sub = ::GetSubMenu(root, i); sub && IsWithin(menu, sub, depth + 1))
            return true;
    return false;
}

CString ItemText(HMENU hMenu, int nPos, ULONG_PTR itemData)
{
    if (auto* bitmapMenu = DYNAMIC_DOWNCAST(COXBitmapMenu, CMenu::FromHandlePermanent(hMenu))) {
        if (COXItemInfo* info = bitmapMenu->GetItemInfo(itemData))
            return info->GetText();
    }
    CString text;
    const int length = ::GetMenuStringW(hMenu, static_cast<UINT>(nPos), nullptr, 0, MF_BYPOSITION);
    if (length > 0) {
        std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
        ::GetMenuStringW(hMenu, static_cast<UINT>(nPos), buffer.data(), length + 1, MF_BYPOSITION);
        text = buffer.data();
    }
    return text;
}

OXDROPPEDMENUITEM RecordOf(HMENU hMenu, int nPos, int depth)
{
    OXDROPPEDMENUITEM item;
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    if (!::GetMenuItemInfoW(hMenu, static_cast<UINT>(nPos), TRUE, &mii))
        return item;
    if (mii.hSubMenu) {
        item.nID = OX_DROPDATA_POPUP;
        item.sText = ItemText(hMenu, nPos, mii.dwItemData).GetString();
        // One level more than the data may hold, so the writer refuses too deep a menu.
        if (depth <= OX_DROPDATA_MAX_DEPTH) {
            const int count = ::GetMenuItemCount(mii.hSubMenu);
            for (int i = 0; i < count; ++i)
                item.children.push_back(RecordOf(mii.hSubMenu, i, depth + 1));
        }
    } else if ((mii.fType & MFT_SEPARATOR) || mii.wID == 0) {
        item.nID = 0;
    } else {
        item.nID = mii.wID;
        item.sText = ItemText(hMenu, nPos, mii.dwItemData).GetString();
    }
    return item;
}

// A command's text for a record that came without one: its string resource, after the
// first newline when it has one (the tooltip part).
CString CommandText(uint32_t nID)
{
    CString text;
    if (nID == 0 || nID == OX_DROPDATA_POPUP || !text.LoadString(nID))
        return CString();
    const int newline = text.Find(L'\n');
    return newline >= 0 ? text.Mid(newline + 1) : text;
}

// Inserts one run; every popup made on the way is appended to `created`. FALSE at the
// first item the menu refuses (what was inserted before it stays: the caller undoes it).
bool InsertRun(const OXDroppedMenuItems& items, HMENU hMenu, int nPos, std::vector<HMENU>& created)
{
    for (const OXDROPPEDMENUITEM& item : items) {
        CString text = item.sText.c_str();
        if (text.IsEmpty())
            text = CommandText(item.nID);
        const UINT pos = static_cast<UINT>(nPos);
        if (item.IsPopup()) {
            const HMENU sub = ::CreatePopupMenu();
            if (!sub)
                return false;
            if (!InsertRun(item.children, sub, 0, created)) {
                ::DestroyMenu(sub);
                return false;
            }
            if (!::InsertMenuW(hMenu, pos, MF_BYPOSITION | MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub),
                    text.GetString())) {
                ::DestroyMenu(sub);
                return false;
            }
            created.push_back(sub);
        } else if (item.IsSeparator()) {
            if (!::InsertMenuW(hMenu, pos, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr))
                return false;
        } else if (!::InsertMenuW(hMenu, pos, MF_BYPOSITION | MF_STRING, item.nID, text.GetString())) {
            return false;
        }
        ++nPos;
    }
    return true;
}

} // namespace

COXSHBDropSource* COXBitmapMenu::GetDropSource(CWnd* pOwner)
{
    m_dropSource.SetOwner(pOwner);
    return &m_dropSource;
}

// ---- records ----------------------------------------------------------------------------------------------------

OXDroppedMenuItems COXBitmapMenu::GetDragDropItems(int nIndex)
{
    OXDroppedMenuItems items;
    if (nIndex >= 0 && nIndex < static_cast<int>(GetMenuItemCount()))
        items.push_back(RecordOf(m_hMenu, nIndex, 1));
    return items;
}

BOOL COXBitmapMenu::InsertDroppedItems(const OXDroppedMenuItems& items, HMENU hMenu, int nPos)
{
    const int count = ::GetMenuItemCount(hMenu);
    if (count < 0 || items.empty())
        return FALSE;
    nPos = std::clamp(nPos, 0, count);
    std::vector<HMENU> created;
    if (!InsertRun(items, hMenu, nPos, created)) {
        // Whatever got in goes again (with the popups made for it): nothing half-dropped.
        for (int i = ::GetMenuItemCount(hMenu) - count; i > 0; --i)
            ::DeleteMenu(hMenu, static_cast<UINT>(nPos), MF_BYPOSITION);
        return FALSE;
    }
    if (COXMenuOrganizerAccess* organizer = OXFindMainMenuOrganizer())
        for (HMENU sub : created)
            organizer->KeepCreatedMenu(sub);
    return TRUE;
}

BOOL COXBitmapMenu::RetrieveDragDropMenuItem(const BYTE*& p, const BYTE* pEnd, HMENU hMenu, int nPos)
{
    if (!p || !pEnd || pEnd < p || !::IsMenu(hMenu))
        return FALSE;
    OXDroppedMenuItems items;
    const OXDropDataResult parsed =
        OXParseDroppedMenuItems(std::span<const uint8_t>(p, static_cast<size_t>(pEnd - p)), items);
    if (!parsed.ok() || !InsertDroppedItems(items, hMenu, nPos))
        return FALSE;
    p += parsed.consumed;
    // The menu that received the items shows them: its bitmap menu, or one the
    // organizer wraps it in now.
    COXBitmapMenu* target = DYNAMIC_DOWNCAST(COXBitmapMenu, CMenu::FromHandlePermanent(hMenu));
    if (!target)
        if (COXMenuOrganizerAccess* organizer = OXFindMainMenuOrganizer())
            target = organizer->WrapMenu(hMenu);
    if (target)
        target->UpdateContents();
    return TRUE;
}

// ---- a plain bitmap menu: no drag, no drop ------------------------------------------------------------

void COXBitmapMenu::OnBeginDragDrop(int /*nIndex*/)
{
    // No drag runs from a plain bitmap menu: it is no drag's owner.
    m_bDragDropOwner = FALSE;
}

LRESULT COXBitmapMenu::OnDragEnter(WPARAM wParam, LPARAM lParam)
{
    if (!IsCustomizable())
        return 0;
    m_bDragEntered = TRUE;
    return OnDragOver(wParam, lParam);
}

LRESULT COXBitmapMenu::OnDragOver(WPARAM /*wParam*/, LPARAM lParam)
{
    if (!IsCustomizable())
        return 0;
    if (auto* action = reinterpret_cast<SHBDROPTARGETACTION*>(lParam))
        action->result = DROPEFFECT_NONE;
    return TRUE;
}

LRESULT COXBitmapMenu::OnDragLeave(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    if (!IsCustomizable())
        return 0;
    SetInsertMark(-1);
    m_bDragEntered = FALSE;
    return TRUE;
}

LRESULT COXBitmapMenu::OnDrop(WPARAM /*wParam*/, LPARAM lParam)
{
    if (!IsCustomizable())
        return 0;
    if (auto* action = reinterpret_cast<SHBDROPTARGETACTION*>(lParam))
        action->result = DROPEFFECT_NONE;
    m_bDragEntered = FALSE;
    return TRUE;
}

// ---- the drag ------------------------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(COXDragDropBitmapMenu, COXBitmapMenu)

void COXDragDropBitmapMenu::OnBeginDragDrop(int nIndex)
{
    const int count = static_cast<int>(GetMenuItemCount());
    const HWND popup = GetPopupHwnd();
    if (nIndex < 0 || nIndex >= count || !popup || !IsInCustomizationMode() || t_drag.source)
        return;
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    // The expansion item and the recent files are not the user's to drag.
    if (!IsItemEditable(nIndex) || !GetMenuItemInfo(static_cast<UINT>(nIndex), &mii, TRUE))
        return;
    COleDataSource* data = OXCreateMenuItemDataSource(GetDragDropItems(nIndex));
    if (!data)
        return; // records this menu cannot write: no drag rather than a wrong one

    m_bDragDropOwner = TRUE;
    m_bMovedInside = FALSE;
    SetDraggedItem(nIndex);
    t_drag = MenuDrag{this, nIndex, mii.wID, mii.hSubMenu, mii.dwItemData};
    RedrawPopupItem(nIndex);
    const DROPEFFECT effect =
        data->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, nullptr, GetDropSource(CWnd::FromHandle(popup)));
    data->InternalRelease();
    const MenuDrag drag = t_drag;
    t_drag = MenuDrag{};
    m_bDragDropOwner = FALSE;

    if (effect == DROPEFFECT_MOVE && !m_bMovedInside) {
        // The item went elsewhere. It is taken out where it is now, found by what it is
        // (the menu may have changed under the drag); not found, it stays: better twice
        // than lost.
        int at = -1;
        const int now = static_cast<int>(GetMenuItemCount());
        for (int i = 0; i < now && at < 0; ++i) {
            const int pos = (drag.item + i) % now;
            MENUITEMINFOW cur{};
            cur.cbSize = sizeof cur;
            cur.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
            if (GetMenuItemInfo(static_cast<UINT>(pos), &cur, TRUE) && cur.wID == drag.id &&
                cur.hSubMenu == drag.subMenu && cur.dwItemData == drag.data)
                at = pos;
        }
        if (at >= 0) {
            DeleteMenu(static_cast<UINT>(at), MF_BYPOSITION);
            const int customised = m_nCustomizedItem;
            SetCustomizedItem(customised == at ? -1 : (customised > at ? customised - 1 : customised));
            UpdateContents();
        }
    }
    m_bMovedInside = FALSE;
    SetDraggedItem(-1);
    RedrawPopupItem(nIndex);
}

// ---- the drop target ---------------------------------------------------------------------------------------------------

int COXBitmapMenu::InsertPositionFromPoint(CPoint point)
{
    COXBitmapMenuPopupWnd* popup = GetPopupWnd();
    CPoint layout = popup ? popup->ClientToLayout(point) : point;
    const int count = static_cast<int>(GetMenuItemCount());
    int before = TRUE;
    const int item = HitTest(&layout, &before);
    int mark = item < 0 ? count : (before ? item : item + 1);
    // Nothing goes after the organizer's expansion item.
    if (count > 0 && mark == count && LOWORD(GetMenuItemID(count - 1)) == ID_OX_SHOWALLITEMS &&
        !::GetSubMenu(m_hMenu, count - 1))
        mark = count - 1;
    return mark;
}

DROPEFFECT COXBitmapMenu::DropEffectFor(SHBDROPTARGETACTION* pAction, int nMark)
{
    if (!pAction || !OXIsMenuItemDataAvailable(pAction->pDataObject))
        return DROPEFFECT_NONE;
    // A submenu never goes into itself.
    if (t_drag.source && t_drag.subMenu && IsWithin(m_hMenu, t_drag.subMenu))
        return DROPEFFECT_NONE;
    const DROPEFFECT effect = (pAction->dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    // Moving an item to where it is changes nothing.
    if (effect == DROPEFFECT_MOVE && t_drag.source == this && (nMark == t_drag.item || nMark == t_drag.item + 1))
        return DROPEFFECT_NONE;
    return effect;
}

LRESULT COXDragDropBitmapMenu::OnDragOver(WPARAM /*wParam*/, LPARAM lParam)
{
    if (!IsCustomizable())
        return 0;
    auto* action = reinterpret_cast<SHBDROPTARGETACTION*>(lParam);
    if (!action)
        return 0;
    const int mark = InsertPositionFromPoint(action->point);
    const DROPEFFECT effect = DropEffectFor(action, mark);
    SetInsertMark(effect == DROPEFFECT_NONE ? -1 : mark);
    action->result = static_cast<LRESULT>(effect);
    return TRUE;
}

LRESULT COXDragDropBitmapMenu::OnDrop(WPARAM /*wParam*/, LPARAM lParam)
{
    if (!IsCustomizable())
        return 0;
    auto* action = reinterpret_cast<SHBDROPTARGETACTION*>(lParam);
    SetInsertMark(-1);
    m_bDragEntered = FALSE;
    if (!action)
        return TRUE;
    action->result = FALSE;
    const int mark = InsertPositionFromPoint(action->point);
    // The keys may have changed since the last drag-over: the drop's own effect counts.
    SHBDROPTARGETACTION asked = *action;
    asked.dwKeyState = action->dropEffect == DROPEFFECT_COPY ? MK_CONTROL : 0;
    if (DropEffectFor(&asked, mark) == DROPEFFECT_NONE)
        return TRUE;

    if (t_drag.source == this && action->dropEffect == DROPEFFECT_MOVE) {
        const int to = mark > t_drag.item ? mark - 1 : mark;
        if (MoveItem(t_drag.item, to)) {
            m_bMovedInside = TRUE;
            action->result = TRUE;
        }
        return TRUE;
    }
    OXDroppedMenuItems items;
    if (!OXReadMenuItemData(action->pDataObject, items).ok())
        return TRUE; // unreadable data: nothing dropped, the source keeps its item
    if (!InsertDroppedItems(items, m_hMenu, mark))
        return TRUE;
    UpdateContents();
    SetCustomizedItem(mark);
    action->result = TRUE;
    return TRUE;
}
