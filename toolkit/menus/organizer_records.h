#pragma once
// The records the bitmap-menu organizer keeps about the popups it converts.
//
// OXSAVEDMENUITEM is one item taken out of a popup that shows only its recently used
// items: where it stood before anything was taken out, its item information as it was
// read, and its whole text. The text pointer of the item information is never kept; the
// record's own string is handed to the menu when the item goes back in, so a record can be
// copied or moved freely. An item that opens a submenu keeps that very submenu (the item
// is removed, not deleted), so the submenu's handle and whoever holds it stay valid.
//
// OXORIGINALITEM is what the conversion to an owner-drawn item overwrote (type, its type
// data, command and item data), so that restoring gives the item back exactly as it was.
//
// OXPOPUPTRACEENTRY is one popup of the chain opened in the current menu loop, with the
// screen position of its window once that is known.
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/wintypes.h"
#include "platform/user/menu.h"

struct OXSAVEDMENUITEM {
    int nPosition = 0;         // its position before anything was taken out
    MENUITEMINFOW mii{};       // as read; dwTypeData of a string item is not kept (null)
    CString sText;             // the item's whole text (string items)
};
using COXArrSavedMenuItem = std::vector<OXSAVEDMENUITEM>;

struct OXORIGINALITEM {
    UINT fType = 0;
    ULONG_PTR typeData = 0;    // the bitmap of an MFT_BITMAP item, the value of an owner-drawn one
    UINT wID = 0;
    ULONG_PTR dwItemData = 0;
};

struct OXPOPUPTRACEENTRY {
    HMENU hPopup = nullptr;
    int x = 0;                 // left of the popup's window on the screen, 0 until known
    int y = 0;                 // top, 0 until known
};
