#pragma once
// Reading and writing whole menu items, as the organizer takes items out of a popup and
// puts them back, converts them and restores them. Text is always read whole (its length
// first), never through a fixed buffer, and never from the type data of an item that has
// no text (a bitmap's handle or an owner-drawn item's value).
#include "platform/base/cstring.h"
#include "platform/base/wintypes.h"
#include "platform/user/menu.h"
#include "toolkit/menus/organizer_records.h"

namespace zyn::menus {

// The type bits under which an item keeps type data instead of text.
inline constexpr UINT kTypeDataBits = MFT_BITMAP | MFT_OWNERDRAW;

// An item as it is: state, command, submenu, check-mark bitmaps, type and its type data
// (dwTypeData: null for string items), item data and the bitmap (hbmpItem); its text.
// False when the item is not there.
bool ReadMenuItem(HMENU hMenu, int nPos, MENUITEMINFOW& mii, CString& text);

// Inserts an item read by ReadMenuItem at a position (the text given, the bitmap too);
// an item whose submenu is no longer a menu goes in without it. False when the menu
// refused it.
bool InsertMenuItemCopy(HMENU hMenu, int nPos, const MENUITEMINFOW& mii, const CString& text);

// The item's type data as it was read (its original form for the organizer's records).
inline ULONG_PTR TypeDataOf(const MENUITEMINFOW& mii)
{
    return (mii.fType & kTypeDataBits) ? reinterpret_cast<ULONG_PTR>(mii.dwTypeData) : 0;
}

} // namespace zyn::menus
