#pragma once
// The shortcut-bar lists' side of item drag and drop: building the OLE data source of a
// dragged list-view item, and rebuilding a dropped item in a list view from a data
// object. The bytes themselves are shb_drag_block.h's.
//
// The source offers the item text twice, as UTF-16 under CF_UNICODETEXT and in the ANSI
// code page under CF_TEXT, for receivers outside the shortcut bar; and the item block
// under the registered format "Shortcut bar child window item" (text, item data, one
// large and one small image, the parent's extra bytes).
//
// On the drop side nothing is changed before the whole block has been checked, so a
// malformed block inserts no item and appends no image. A list view has one image index
// per item for both its image lists, so when the two lists hold different numbers of
// images the shorter one is first padded with blank images: the dropped images then get
// the same index in both lists.
#include <memory>
#include <optional>
#include <string>

#include "platform/base/wintypes.h"
#include "toolkit/docking/shb_drag_block.h"
#include "toolkit/docking/shb_messages.h"

class CImageList;
class COleDataObject;
class COleDataSource;

namespace zyn::toolkit::shb {

// The clipboard format of a dragged item: the same number for the life of the process.
UINT ChildWndItemFormat();

// Drops the one reference the creator of a data source holds.
struct DataSourceRelease {
    void operator()(COleDataSource* p) const;
};
using DataSourcePtr = std::unique_ptr<COleDataSource, DataSourceRelease>;

// The data source of item nItem of a list-view window, with the extra bytes (none when
// the count is 0 or the pointer null; they are copied). Null when the item does not
// exist or memory runs out.
DataSourcePtr CreateItemDataSource(HWND hList, int nItem, const SHBExtraDragData& extra);

// The item block a data object carries, read and checked against the size of its global
// memory. Null, with the reason in *error, when the format is missing or the block is
// malformed.
std::optional<DragBlock> ReadItemData(COleDataObject* pDataObject, std::string* error = nullptr);

// Appends the block's images to the list view's large and small image lists; for a kind
// the list view has no list of, the given own list is used (made with the image's size
// when it has none yet) and set on the list view. Returns the index the images got, -1
// when the block has none; on failure nothing is left changed and -2 is returned.
int AppendDroppedImages(HWND hList, const DragBlock& block, CImageList& ownLarge, CImageList& ownSmall);

// Inserts the dropped item before index nIndex: its text, its images (AppendDroppedImages)
// and, with bKeepItemData (a drop into the list the item came from), its item data;
// otherwise the item data is 0. Returns the new item's index, or -1 with nothing changed.
int InsertDroppedItem(HWND hList, const DragBlock& block, int nIndex, BOOL bKeepItemData, CImageList& ownLarge,
    CImageList& ownSmall);

} // namespace zyn::toolkit::shb
