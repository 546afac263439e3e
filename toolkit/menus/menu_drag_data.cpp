// Menu items in a drag: the clipboard format, the data source and the reading back.
#include "toolkit/menus/menu_drag_data.h"

#include <cstring>
#include <span>
#include <vector>

#include "platform/afx/ole/oledataobject.h"
#include "platform/afx/ole/oledatasource.h"
#include "platform/base/globalmem.h"
#include "platform/user/clipboard.h"

UINT OXGetMenuItemClipboardFormat()
{
    // Asked each time: the window system's atom table may have been started afresh since
    // the last call, and registering a known name only looks it up.
    return ::RegisterClipboardFormatW(OX_MENUITEM_FORMAT_NAME);
}

COleDataSource* OXCreateMenuItemDataSource(const OXDroppedMenuItems& items, OXDropDataResult* pResult)
{
    std::vector<uint8_t> bytes;
    const OXDropDataResult written = OXWriteDroppedMenuItems(items, bytes);
    if (pResult)
        *pResult = written;
    if (!written.ok())
        return nullptr;
    const HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!block)
        return nullptr;
    void* p = ::GlobalLock(block);
    if (!p) {
        ::GlobalFree(block);
        return nullptr;
    }
    std::memcpy(p, bytes.data(), bytes.size());
    ::GlobalUnlock(block);
    auto* source = new COleDataSource; // one reference, handed to the caller
    source->CacheGlobalData(static_cast<CLIPFORMAT>(OXGetMenuItemClipboardFormat()), block);
    return source;
}

BOOL OXIsMenuItemDataAvailable(COleDataObject* pDataObject)
{
    return pDataObject && pDataObject->IsDataAvailable(static_cast<CLIPFORMAT>(OXGetMenuItemClipboardFormat()));
}

OXDropDataResult OXReadMenuItemData(COleDataObject* pDataObject, OXDroppedMenuItems& items)
{
    items.clear();
    OXDropDataResult result;
    result.error = OXDropDataError::Empty;
    if (!pDataObject)
        return result;
    // A copy that this call owns and frees, whoever else reads the data.
    const HGLOBAL block = pDataObject->GetGlobalData(static_cast<CLIPFORMAT>(OXGetMenuItemClipboardFormat()));
    if (!block)
        return result;
    const SIZE_T size = ::GlobalSize(block);
    if (const auto* p = static_cast<const uint8_t*>(::GlobalLock(block))) {
        result = OXParseDroppedMenuItems(std::span<const uint8_t>(p, size), items);
        ::GlobalUnlock(block);
    }
    ::GlobalFree(block);
    return result;
}
