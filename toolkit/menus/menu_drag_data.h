#pragma once
// Menu items in a drag: the registered clipboard format that carries the records of
// toolkit/menus/menu_drop_data.h in global memory, a data source holding them for a
// drag, and their reading back from the data object a drop target is given. Menus,
// the menu bar and the cool toolbars all use these, so an item dragged out of any of
// them can be dropped on any other.
#include "platform/base/wintypes.h"
#include "toolkit/menus/menu_drop_data.h"

class COleDataObject;
class COleDataSource;

// The name of the registered clipboard format of dragged menu items.
inline constexpr const wchar_t* OX_MENUITEM_FORMAT_NAME = L"ZynCmn menu items";

// The format's number (registered on first use; the same number for every caller).
UINT OXGetMenuItemClipboardFormat();

// A new data source (one reference, the caller's) holding the records of `items` in the
// format; null when they cannot be written (the reason in *pResult) or the memory
// cannot be had.
COleDataSource* OXCreateMenuItemDataSource(const OXDroppedMenuItems& items, OXDropDataResult* pResult = nullptr);

// Whether the dragged data offers menu items.
BOOL OXIsMenuItemDataAvailable(COleDataObject* pDataObject);

// The menu items of the dragged data. Empty with Empty as the error when the data
// offers none or they cannot be read; the parser's refusal otherwise.
OXDropDataResult OXReadMenuItemData(COleDataObject* pDataObject, OXDroppedMenuItems& items);
