// Whole menu items read and written (organizer_menu_items.h).
#include "toolkit/menus/organizer_menu_items.h"

#include <vector>

namespace zyn::menus {

bool ReadMenuItem(HMENU hMenu, int nPos, MENUITEMINFOW& mii, CString& text)
{
    if (nPos < 0)
        return false;
    mii = MENUITEMINFOW{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_TYPE | MIIM_DATA;
    if (!::GetMenuItemInfoW(hMenu, static_cast<UINT>(nPos), TRUE, &mii))
        return false;
    text.Empty();
    const bool hasText = !(mii.fType & (kTypeDataBits | MFT_SEPARATOR));
    if (!hasText) {
        mii.cch = 0;
    } else {
        mii.dwTypeData = nullptr;
        // The length first (a string item's dwTypeData stayed null), then the whole text.
        MENUITEMINFOW str{};
        str.cbSize = sizeof str;
        str.fMask = MIIM_STRING;
        if (::GetMenuItemInfoW(hMenu, static_cast<UINT>(nPos), TRUE, &str) && str.cch > 0) {
            std::vector<wchar_t> buffer(static_cast<size_t>(str.cch) + 1, L'\0');
            str.dwTypeData = buffer.data();
            str.cch = static_cast<UINT>(buffer.size());
            if (::GetMenuItemInfoW(hMenu, static_cast<UINT>(nPos), TRUE, &str))
                text = CString(buffer.data(), static_cast<int>(str.cch));
        }
        mii.cch = static_cast<UINT>(text.GetLength());
    }
    MENUITEMINFOW bmp{};
    bmp.cbSize = sizeof bmp;
    bmp.fMask = MIIM_BITMAP;
    if (::GetMenuItemInfoW(hMenu, static_cast<UINT>(nPos), TRUE, &bmp))
        mii.hbmpItem = bmp.hbmpItem;
    return true;
}

bool InsertMenuItemCopy(HMENU hMenu, int nPos, const MENUITEMINFOW& source, const CString& text)
{
    MENUITEMINFOW mii = source;
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_TYPE | MIIM_DATA;
    if (!(mii.fType & (kTypeDataBits | MFT_SEPARATOR))) {
        mii.dwTypeData = const_cast<LPWSTR>(text.GetString());
        mii.cch = static_cast<UINT>(text.GetLength());
    }
    if (mii.hSubMenu && !::IsMenu(mii.hSubMenu))
        mii.hSubMenu = nullptr;
    const UINT at = nPos < 0 ? static_cast<UINT>(-1) : static_cast<UINT>(nPos);
    if (!::InsertMenuItemW(hMenu, at, TRUE, &mii))
        return false;
    if (source.hbmpItem) {
        const int count = ::GetMenuItemCount(hMenu);
        const UINT where = at >= static_cast<UINT>(count) ? static_cast<UINT>(count - 1) : at;
        MENUITEMINFOW bmp{};
        bmp.cbSize = sizeof bmp;
        bmp.fMask = MIIM_BITMAP;
        bmp.hbmpItem = source.hbmpItem;
        ::SetMenuItemInfoW(hMenu, where, TRUE, &bmp);
    }
    return true;
}

} // namespace zyn::menus
