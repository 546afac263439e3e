// HMENU objects and their items.
#include <algorithm>
#include <cstddef>
#include <set>

#include "platform/base/lasterror.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/menu_internal.h"
#include "platform/user/window.h"

namespace zyn::user::detail {
namespace {

// Searches and checks walk at most this deep (cycles are refused, so only a very deep
// but legal tree could reach it).
constexpr int kMaxDepth = 64;

constexpr UINT kTypeBits = MFT_BITMAP | MFT_OWNERDRAW | MFT_SEPARATOR | MFT_MENUBARBREAK | MFT_MENUBREAK |
    MFT_RADIOCHECK | MFT_RIGHTORDER | MFT_RIGHTJUSTIFY;
constexpr UINT kStateBits = MFS_GRAYED | MFS_CHECKED | MFS_HILITE | MFS_DEFAULT;
// The type bits AppendMenu-style flags can carry (0x200 is MF_USECHECKBITMAPS there).
constexpr UINT kFlagTypeBits = MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_MENUBARBREAK | MF_MENUBREAK |
    MF_RIGHTJUSTIFY | MFT_RIGHTORDER;
constexpr UINT kFlagStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT;

base::HandleTable<MenuData>& Table()
{
    static auto* const table = new base::HandleTable<MenuData>(base::HandleKind::Menu); // immortal
    return *table;
}

bool FindByCommand(HMENU menu, const std::shared_ptr<MenuData>& d, UINT id, FoundItem& out, int depth)
{
    if (depth > kMaxDepth)
        return false;
    for (size_t i = 0; i < d->items.size(); ++i) {
        const MenuItemData& it = d->items[i];
        if (it.sub) {
            if (auto sd = Table().Get(it.sub); sd && FindByCommand(it.sub, sd, id, out, depth + 1))
                return true;
        }
        if (it.id == id) {
            out = FoundItem{menu, d, i};
            return true;
        }
    }
    return false;
}

// Whether making `sub` a submenu of `parent` would close a loop.
bool WouldCycle(HMENU parent, HMENU sub)
{
    std::set<uint32_t> seen;
    std::vector<std::pair<HMENU, int>> stack{{sub, 0}};
    while (!stack.empty()) {
        const auto [m, depth] = stack.back();
        stack.pop_back();
        if (m == parent)
            return true;
        if (depth > kMaxDepth || !seen.insert(base::HandleValue(m)).second)
            continue;
        if (auto d = Table().Get(m))
            for (const MenuItemData& it : d->items)
                if (it.sub)
                    stack.emplace_back(it.sub, depth + 1);
    }
    return false;
}

bool ValidSubmenu(HMENU parent, HMENU sub)
{
    if (!Table().Contains(base::HandleValue(sub))) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return false;
    }
    if (WouldCycle(parent, sub)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

// An item described by AppendMenu-style flags.
bool ItemFromFlags(UINT flags, UINT_PTR idNew, LPCWSTR newItem, MenuItemData& it)
{
    it.type = flags & kFlagTypeBits;
    it.state = flags & kFlagStateBits;
    if (flags & MF_POPUP) {
        it.sub = reinterpret_cast<HMENU>(idNew);
        if (!Table().Contains(base::HandleValue(it.sub))) {
            SetLastError(ERROR_INVALID_MENU_HANDLE);
            return false;
        }
        it.id = base::HandleValue(it.sub); // a popup made this way carries its submenu as ID
    } else {
        it.id = static_cast<UINT>(idNew);
    }
    if (it.type & MF_OWNERDRAW) {
        it.typeData = it.data = reinterpret_cast<ULONG_PTR>(newItem);
    } else if (it.type & MF_BITMAP) {
        it.typeData = reinterpret_cast<ULONG_PTR>(newItem);
    } else if (!(it.type & MF_SEPARATOR)) {
        if (newItem)
            it.text = std::wstring(newItem);
        else
            it.type |= MF_SEPARATOR; // a string item without a string
    }
    return true;
}

bool CheckInfoSize(UINT cbSize, UINT mask, bool& hasBitmap)
{
    hasBitmap = cbSize == sizeof(MENUITEMINFOW);
    if (!hasBitmap && cbSize != offsetof(MENUITEMINFOW, hbmpItem)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if ((mask & MIIM_TYPE) && (mask & (MIIM_STRING | MIIM_FTYPE | MIIM_BITMAP))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

// Applies a MENUITEMINFO to an item (the submenu was checked by the caller).
void ApplyInfo(MenuItemData& it, const MENUITEMINFOW& mii, bool hasBitmap)
{
    if (mii.fMask & MIIM_FTYPE)
        it.type = mii.fType & kTypeBits;
    if (mii.fMask & MIIM_TYPE) {
        it.type = mii.fType & kTypeBits;
        it.text.reset();
        it.typeData = 0;
        if (it.type & (MFT_BITMAP | MFT_OWNERDRAW))
            it.typeData = reinterpret_cast<ULONG_PTR>(mii.dwTypeData);
        else if (!(it.type & MFT_SEPARATOR) && mii.dwTypeData)
            it.text = std::wstring(mii.dwTypeData);
    }
    if (mii.fMask & MIIM_STRING) {
        if (mii.dwTypeData)
            it.text = std::wstring(mii.dwTypeData);
        else
            it.text.reset();
    }
    if ((mii.fMask & MIIM_BITMAP) && hasBitmap)
        it.bmpItem = mii.hbmpItem;
    if (mii.fMask & MIIM_ID)
        it.id = mii.wID;
    if (mii.fMask & MIIM_STATE)
        it.state = mii.fState & kStateBits;
    if (mii.fMask & MIIM_SUBMENU)
        it.sub = mii.hSubMenu;
    if (mii.fMask & MIIM_CHECKMARKS) {
        it.checked = mii.hbmpChecked;
        it.unchecked = mii.hbmpUnchecked;
    }
    if (mii.fMask & MIIM_DATA)
        it.data = mii.dwItemData;
}

// Text into a caller's buffer by the MENUITEMINFO rules.
void CopyText(const std::optional<std::wstring>& text, MENUITEMINFOW& mii)
{
    const size_t len = text ? text->size() : 0;
    if (!mii.dwTypeData || mii.cch == 0) {
        mii.cch = static_cast<UINT>(len);
        return;
    }
    const size_t n = std::min<size_t>(len, mii.cch - 1);
    if (n)
        text->copy(mii.dwTypeData, n);
    mii.dwTypeData[n] = L'\0';
    mii.cch = static_cast<UINT>(n);
}

void DestroyLocked(HMENU menu, std::vector<HMENU>& stack)
{
    stack.push_back(menu);
    while (!stack.empty()) {
        const HMENU m = stack.back();
        stack.pop_back();
        if (auto d = Table().Remove(m))
            for (const MenuItemData& it : d->items)
                if (it.sub)
                    stack.push_back(it.sub);
    }
}

bool DestroyMenuLocked(HMENU menu)
{
    auto d = Table().Remove(menu);
    if (!d) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return false;
    }
    std::vector<HMENU> stack;
    for (const MenuItemData& it : d->items)
        if (it.sub)
            DestroyLocked(it.sub, stack);
    return true;
}

bool InsertLocked(HMENU menu, UINT pos, bool byPosition, MenuItemData item)
{
    auto d = GetMenuData(menu);
    if (!d)
        return false;
    HMENU target = menu;
    size_t index;
    if (byPosition) {
        index = std::min<size_t>(pos, d->items.size());
    } else {
        FoundItem f;
        if (!FindByCommand(menu, d, pos, f, 0)) {
            SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
            return false;
        }
        target = f.menu;
        d = f.data;
        index = f.index;
    }
    if (item.sub && !ValidSubmenu(target, item.sub))
        return false;
    d->items.insert(d->items.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
    return true;
}

HMENU Create(bool popup)
{
    auto d = std::make_shared<MenuData>();
    d->popup = popup;
    const uint32_t v = Table().Add(std::move(d));
    if (!v) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return base::MakeHandle<HMENU>(v);
}

UINT StateFlags(const MenuItemData& it)
{
    UINT f = (it.type & (kTypeBits & ~MFT_RADIOCHECK)) | it.state;
    if (it.sub) {
        const auto sd = Table().Get(it.sub);
        const UINT count = sd ? static_cast<UINT>(std::min<size_t>(sd->items.size(), 0xFF)) : 0;
        f = (count << 8) | ((f | MF_POPUP) & 0xFF);
    }
    return f;
}

int DefaultItem(const std::shared_ptr<MenuData>& d, bool byPos, UINT flags, int depth)
{
    for (size_t i = 0; i < d->items.size(); ++i) {
        const MenuItemData& it = d->items[i];
        if (!(it.state & MFS_DEFAULT))
            continue;
        if ((it.state & MFS_GRAYED) && !(flags & GMDI_USEDISABLED))
            return -1;
        if ((flags & GMDI_GOINTOPOPUPS) && it.sub && depth < kMaxDepth) {
            if (auto sd = Table().Get(it.sub)) {
                const int inner = DefaultItem(sd, byPos, flags, depth + 1);
                if (inner != -1)
                    return inner;
            }
        }
        return byPos ? static_cast<int>(i) : static_cast<int>(it.id);
    }
    return -1;
}

} // namespace

std::recursive_mutex& MenuMutex()
{
    static auto* const mutex = new std::recursive_mutex(); // immortal, like the table
    return *mutex;
}

std::shared_ptr<MenuData> GetMenuData(HMENU menu)
{
    auto d = Table().Get(menu);
    if (!d)
        SetLastError(ERROR_INVALID_MENU_HANDLE);
    return d;
}

std::optional<FoundItem> FindItemLocked(HMENU menu, UINT item, bool byPosition)
{
    auto d = GetMenuData(menu);
    if (!d)
        return std::nullopt;
    if (byPosition) {
        if (item >= d->items.size()) {
            SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
            return std::nullopt;
        }
        return FoundItem{menu, d, item};
    }
    FoundItem f;
    if (!FindByCommand(menu, d, item, f, 0)) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return std::nullopt;
    }
    return f;
}

std::optional<std::vector<MenuItemData>> SnapshotItems(HMENU menu, DWORD* style, HBRUSH* back)
{
    auto lock = LockMenus();
    auto d = Table().Get(menu);
    if (!d)
        return std::nullopt;
    if (style)
        *style = d->style;
    if (back)
        *back = d->back;
    return d->items;
}

} // namespace zyn::user::detail

using namespace zyn::user::detail;

HMENU CreateMenu() { return Create(false); }
HMENU CreatePopupMenu() { return Create(true); }

BOOL DestroyMenu(HMENU hMenu)
{
    auto lock = LockMenus();
    return DestroyMenuLocked(hMenu) ? TRUE : FALSE;
}

BOOL IsMenu(HMENU hMenu) { return Table().Contains(zyn::base::HandleValue(hMenu)) ? TRUE : FALSE; }

BOOL AppendMenuW(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem)
{
    auto lock = LockMenus();
    MenuItemData it;
    if (!ItemFromFlags(uFlags, uIDNewItem, lpNewItem, it))
        return FALSE;
    return InsertLocked(hMenu, static_cast<UINT>(-1), true, std::move(it)) ? TRUE : FALSE;
}

BOOL InsertMenuW(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem)
{
    auto lock = LockMenus();
    MenuItemData it;
    if (!ItemFromFlags(uFlags, uIDNewItem, lpNewItem, it))
        return FALSE;
    return InsertLocked(hMenu, uPosition, (uFlags & MF_BYPOSITION) != 0, std::move(it)) ? TRUE : FALSE;
}

BOOL InsertMenuItemW(HMENU hMenu, UINT item, BOOL fByPosition, LPCMENUITEMINFOW lpmi)
{
    bool hasBitmap = false;
    if (!lpmi || !CheckInfoSize(lpmi->cbSize, lpmi->fMask, hasBitmap)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto lock = LockMenus();
    MenuItemData it;
    ApplyInfo(it, *lpmi, hasBitmap);
    return InsertLocked(hMenu, item, fByPosition != FALSE, std::move(it)) ? TRUE : FALSE;
}

BOOL ModifyMenuW(HMENU hMnu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem)
{
    auto lock = LockMenus();
    const auto f = FindItemLocked(hMnu, uPosition, (uFlags & MF_BYPOSITION) != 0);
    if (!f)
        return FALSE;
    MenuItemData it;
    if (!ItemFromFlags(uFlags, uIDNewItem, lpNewItem, it))
        return FALSE;
    MenuItemData& old = f->Item();
    if (it.sub && it.sub != old.sub && !ValidSubmenu(f->menu, it.sub))
        return FALSE;
    it.checked = old.checked;
    it.unchecked = old.unchecked;
    if (!(it.type & MF_OWNERDRAW))
        it.data = old.data;
    const HMENU oldSub = old.sub;
    old = std::move(it);
    if (oldSub && oldSub != old.sub)
        DestroyMenuLocked(oldSub);
    return TRUE;
}

namespace {

BOOL RemoveItem(HMENU hMenu, UINT uPosition, UINT uFlags, bool destroy)
{
    auto lock = LockMenus();
    const auto f = FindItemLocked(hMenu, uPosition, (uFlags & MF_BYPOSITION) != 0);
    if (!f)
        return FALSE;
    const HMENU sub = f->Item().sub;
    f->data->items.erase(f->data->items.begin() + static_cast<std::ptrdiff_t>(f->index));
    if (destroy && sub)
        DestroyMenuLocked(sub);
    return TRUE;
}

} // namespace

BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags) { return RemoveItem(hMenu, uPosition, uFlags, true); }
BOOL RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags) { return RemoveItem(hMenu, uPosition, uFlags, false); }

BOOL GetMenuItemInfoW(HMENU hmenu, UINT item, BOOL fByPosition, LPMENUITEMINFOW lpmii)
{
    bool hasBitmap = false;
    if (!lpmii || !CheckInfoSize(lpmii->cbSize, lpmii->fMask, hasBitmap)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto lock = LockMenus();
    const auto f = FindItemLocked(hmenu, item, fByPosition != FALSE);
    if (!f)
        return FALSE;
    const MenuItemData& it = f->Item();
    const UINT mask = lpmii->fMask;
    if (mask & (MIIM_FTYPE | MIIM_TYPE))
        lpmii->fType = it.type;
    if (mask & MIIM_TYPE) {
        if (it.type & (MFT_BITMAP | MFT_OWNERDRAW)) {
            lpmii->dwTypeData = reinterpret_cast<LPWSTR>(it.typeData);
            lpmii->cch = 0;
        } else if (it.type & MFT_SEPARATOR) {
            lpmii->cch = 0;
        } else {
            CopyText(it.text, *lpmii);
        }
    }
    if (mask & MIIM_STRING)
        CopyText(it.text, *lpmii);
    if ((mask & MIIM_BITMAP) && hasBitmap)
        lpmii->hbmpItem = it.bmpItem;
    if (mask & MIIM_ID)
        lpmii->wID = it.id;
    if (mask & MIIM_STATE)
        lpmii->fState = it.state;
    if (mask & MIIM_SUBMENU)
        lpmii->hSubMenu = it.sub;
    if (mask & MIIM_CHECKMARKS) {
        lpmii->hbmpChecked = it.checked;
        lpmii->hbmpUnchecked = it.unchecked;
    }
    if (mask & MIIM_DATA)
        lpmii->dwItemData = it.data;
    return TRUE;
}

BOOL SetMenuItemInfoW(HMENU hmenu, UINT item, BOOL fByPositon, LPCMENUITEMINFOW lpmii)
{
    bool hasBitmap = false;
    if (!lpmii || !CheckInfoSize(lpmii->cbSize, lpmii->fMask, hasBitmap)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto lock = LockMenus();
    const auto f = FindItemLocked(hmenu, item, fByPositon != FALSE);
    if (!f)
        return FALSE;
    if ((lpmii->fMask & MIIM_SUBMENU) && lpmii->hSubMenu && lpmii->hSubMenu != f->Item().sub &&
        !ValidSubmenu(f->menu, lpmii->hSubMenu))
        return FALSE;
    ApplyInfo(f->Item(), *lpmii, hasBitmap);
    return TRUE;
}

int GetMenuItemCount(HMENU hMenu)
{
    auto lock = LockMenus();
    const auto d = GetMenuData(hMenu);
    return d ? static_cast<int>(d->items.size()) : -1;
}

UINT GetMenuItemID(HMENU hMenu, int nPos)
{
    auto lock = LockMenus();
    if (nPos < 0) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return static_cast<UINT>(-1);
    }
    const auto f = FindItemLocked(hMenu, static_cast<UINT>(nPos), true);
    if (!f || f->Item().sub)
        return static_cast<UINT>(-1);
    return f->Item().id;
}

UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags)
{
    auto lock = LockMenus();
    const auto f = FindItemLocked(hMenu, uId, (uFlags & MF_BYPOSITION) != 0);
    return f ? StateFlags(f->Item()) : static_cast<UINT>(-1);
}

int GetMenuStringW(HMENU hMenu, UINT uIDItem, LPWSTR lpString, int cchMax, UINT flags)
{
    auto lock = LockMenus();
    const auto f = FindItemLocked(hMenu, uIDItem, (flags & MF_BYPOSITION) != 0);
    const std::optional<std::wstring>* text = f ? &f->Item().text : nullptr;
    const size_t len = (text && *text) ? (*text)->size() : 0;
    if (!lpString || cchMax <= 0)
        return static_cast<int>(len);
    const size_t n = std::min<size_t>(len, static_cast<size_t>(cchMax) - 1);
    if (n)
        (*text)->copy(lpString, n);
    lpString[n] = L'\0';
    return static_cast<int>(n);
}

DWORD CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck)
{
    auto lock = LockMenus();
    const auto f = FindItemLocked(hMenu, uIDCheckItem, (uCheck & MF_BYPOSITION) != 0);
    if (!f)
        return static_cast<DWORD>(-1);
    MenuItemData& it = f->Item();
    const DWORD previous = it.state & MF_CHECKED;
    if (uCheck & MF_CHECKED)
        it.state |= MF_CHECKED;
    else
        it.state &= ~MF_CHECKED;
    return previous;
}

BOOL CheckMenuRadioItem(HMENU hmenu, UINT first, UINT last, UINT check, UINT flags)
{
    auto lock = LockMenus();
    std::shared_ptr<MenuData> d;
    size_t from = 0, to = 0;
    std::optional<size_t> checkIndex;
    if (flags & MF_BYPOSITION) {
        d = GetMenuData(hmenu);
        if (!d)
            return FALSE;
        if (first > last || last >= d->items.size()) {
            SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
            return FALSE;
        }
        from = first;
        to = last;
        if (check >= first && check <= last)
            checkIndex = check;
    } else {
        const auto f1 = FindItemLocked(hmenu, first, false);
        const auto f2 = FindItemLocked(hmenu, last, false);
        if (!f1 || !f2)
            return FALSE;
        if (f1->menu != f2->menu) {
            SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
            return FALSE;
        }
        d = f1->data;
        from = std::min(f1->index, f2->index);
        to = std::max(f1->index, f2->index);
        for (size_t i = from; i <= to; ++i)
            if (d->items[i].id == check && !d->items[i].sub)
                checkIndex = i;
    }
    if (!checkIndex) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    for (size_t i = from; i <= to; ++i) {
        MenuItemData& it = d->items[i];
        if (i == *checkIndex) {
            it.type |= MFT_RADIOCHECK;
            it.state |= MFS_CHECKED;
        } else {
            it.state &= ~MFS_CHECKED;
        }
    }
    return TRUE;
}

BOOL EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable)
{
    auto lock = LockMenus();
    const auto f = FindItemLocked(hMenu, uIDEnableItem, (uEnable & MF_BYPOSITION) != 0);
    if (!f)
        return -1;
    MenuItemData& it = f->Item();
    const UINT previous = it.state & (MF_GRAYED | MF_DISABLED);
    it.state = (it.state & ~(MF_GRAYED | MF_DISABLED)) | (uEnable & (MF_GRAYED | MF_DISABLED));
    return static_cast<BOOL>(previous);
}

BOOL HiliteMenuItem(HWND hWnd, HMENU hMenu, UINT uIDHiliteItem, UINT uHilite)
{
    {
        auto lock = LockMenus();
        const auto f = FindItemLocked(hMenu, uIDHiliteItem, (uHilite & MF_BYPOSITION) != 0);
        if (!f)
            return FALSE;
        if (uHilite & MF_HILITE)
            f->Item().state |= MFS_HILITE;
        else
            f->Item().state &= ~MFS_HILITE;
    }
    // Outside the menu lock: the window system takes its own. Only the bar is painted
    // again; the frame stays as it is.
    if (hWnd && GetMenu(hWnd) == hMenu)
        zyn::user::RepaintMenuBar(hWnd);
    return TRUE;
}

HMENU GetSubMenu(HMENU hMenu, int nPos)
{
    auto lock = LockMenus();
    if (nPos < 0) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return nullptr;
    }
    const auto f = FindItemLocked(hMenu, static_cast<UINT>(nPos), true);
    return f ? f->Item().sub : nullptr;
}

BOOL SetMenuItemBitmaps(HMENU hMenu, UINT uPosition, UINT uFlags, HBITMAP hBitmapUnchecked, HBITMAP hBitmapChecked)
{
    auto lock = LockMenus();
    const auto f = FindItemLocked(hMenu, uPosition, (uFlags & MF_BYPOSITION) != 0);
    if (!f)
        return FALSE;
    f->Item().checked = hBitmapChecked;
    f->Item().unchecked = hBitmapUnchecked;
    return TRUE;
}

LONG GetMenuCheckMarkDimensions()
{
    return MAKELONG(static_cast<WORD>(GetSystemMetrics(SM_CXMENUCHECK)), static_cast<WORD>(GetSystemMetrics(SM_CYMENUCHECK)));
}

BOOL GetMenuInfo(HMENU hMenu, LPMENUINFO lpcmi)
{
    if (!lpcmi || lpcmi->cbSize != sizeof(MENUINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto lock = LockMenus();
    const auto d = GetMenuData(hMenu);
    if (!d)
        return FALSE;
    if (lpcmi->fMask & MIM_STYLE)
        lpcmi->dwStyle = d->style;
    if (lpcmi->fMask & MIM_MAXHEIGHT)
        lpcmi->cyMax = d->cyMax;
    if (lpcmi->fMask & MIM_BACKGROUND)
        lpcmi->hbrBack = d->back;
    if (lpcmi->fMask & MIM_HELPID)
        lpcmi->dwContextHelpID = d->helpId;
    if (lpcmi->fMask & MIM_MENUDATA)
        lpcmi->dwMenuData = d->menuData;
    return TRUE;
}

BOOL SetMenuInfo(HMENU hMenu, LPCMENUINFO lpcmi)
{
    if (!lpcmi || lpcmi->cbSize != sizeof(MENUINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto lock = LockMenus();
    if (!GetMenuData(hMenu))
        return FALSE;
    std::set<uint32_t> seen;
    std::vector<HMENU> todo{hMenu};
    while (!todo.empty()) {
        const HMENU m = todo.back();
        todo.pop_back();
        const auto d = Table().Get(m);
        if (!d || !seen.insert(zyn::base::HandleValue(m)).second)
            continue;
        if (lpcmi->fMask & MIM_STYLE)
            d->style = lpcmi->dwStyle;
        if (lpcmi->fMask & MIM_MAXHEIGHT)
            d->cyMax = lpcmi->cyMax;
        if (lpcmi->fMask & MIM_BACKGROUND)
            d->back = lpcmi->hbrBack;
        if (lpcmi->fMask & MIM_HELPID)
            d->helpId = lpcmi->dwContextHelpID;
        if (lpcmi->fMask & MIM_MENUDATA)
            d->menuData = lpcmi->dwMenuData;
        if (lpcmi->fMask & MIM_APPLYTOSUBMENUS)
            for (const MenuItemData& it : d->items)
                if (it.sub)
                    todo.push_back(it.sub);
    }
    return TRUE;
}

BOOL SetMenuContextHelpId(HMENU hMenu, DWORD dwContextHelpId)
{
    auto lock = LockMenus();
    const auto d = GetMenuData(hMenu);
    if (!d)
        return FALSE;
    d->helpId = dwContextHelpId;
    return TRUE;
}

DWORD GetMenuContextHelpId(HMENU hMenu)
{
    auto lock = LockMenus();
    const auto d = GetMenuData(hMenu);
    return d ? d->helpId : 0;
}

UINT GetMenuDefaultItem(HMENU hMenu, UINT fByPos, UINT gmdiFlags)
{
    auto lock = LockMenus();
    const auto d = GetMenuData(hMenu);
    if (!d)
        return static_cast<UINT>(-1);
    return static_cast<UINT>(DefaultItem(d, fByPos != 0, gmdiFlags, 0));
}

BOOL SetMenuDefaultItem(HMENU hMenu, UINT uItem, UINT fByPos)
{
    auto lock = LockMenus();
    const auto d = GetMenuData(hMenu);
    if (!d)
        return FALSE;
    std::optional<size_t> index;
    if (uItem != static_cast<UINT>(-1)) {
        if (fByPos) {
            if (uItem < d->items.size())
                index = uItem;
        } else {
            for (size_t i = 0; i < d->items.size() && !index; ++i)
                if (d->items[i].id == uItem)
                    index = i;
        }
        if (!index) {
            SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
            return FALSE;
        }
    }
    for (size_t i = 0; i < d->items.size(); ++i) {
        if (index && i == *index)
            d->items[i].state |= MFS_DEFAULT;
        else
            d->items[i].state &= ~MFS_DEFAULT;
    }
    return TRUE;
}

namespace zyn::user {

size_t LiveMenuCount() { return Table().Count(); }

} // namespace zyn::user
