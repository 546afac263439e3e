#pragma once
// The bytes that carry menu items from one menu or command bar to another in a drag:
// the writer and the parser, without windows, menus or OLE (the drag code of the bitmap
// menu and the bars builds the records from their items and inserts parsed records
// into their menus; toolkit/menus/menu_drag_data.h puts them into a drag and takes them
// out of one).
//
// The data is a run of records, little-endian, packed without padding:
//
//   offset  size              field
//   0       4                 ID: the command; 0xFFFFFFFF an item that opens a submenu;
//                             0 a separator
//   4       2 x (length + 1)  text: UTF-16LE code units and a terminating 0
//   ...     4                 value A  \ opaque to the menus: the writer chooses them,
//   ...     1                 value B  / readers hand them on (this writer: 0 unless given)
//   ...     4                 continuation: 0 or 2 end the run this record belongs to;
//                             1 another record of the same run follows
//
// A record that opens a submenu with continuation 1 or 2 is followed at once by the run
// of its submenu's records; after that run, continuation 1 goes on with the run of the
// record itself and 2 ends it. With continuation 0 its submenu is empty and the run ends.
// So an empty submenu can only be the last record of its run: the writer refuses any
// other (it could only be written as bytes that a reader takes apart differently).
//
// The parser trusts nothing: every field is read inside the buffer, submenus nest at
// most OX_DROPDATA_MAX_DEPTH levels, a drop holds at most OX_DROPDATA_MAX_ITEMS records,
// texts are well-formed UTF-16 without inner zeros, continuations are 0, 1 or 2. Any
// breach refuses the whole data: nothing of it is handed out, so a caller inserts
// nothing. Bytes after the run (a rounded-up memory block) are left alone and counted
// out in `consumed`.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The ID of a record that opens a submenu.
inline constexpr uint32_t OX_DROPDATA_POPUP = 0xFFFFFFFF;
// The continuations.
inline constexpr uint32_t OX_DROPDATA_END = 0, OX_DROPDATA_MORE = 1, OX_DROPDATA_POPUP_LAST = 2;
// Levels of records: the dropped items themselves are level 1, their submenus' items 2...
inline constexpr int OX_DROPDATA_MAX_DEPTH = 16;
inline constexpr size_t OX_DROPDATA_MAX_ITEMS = 4096;

struct OXDROPPEDMENUITEM {
    uint32_t nID = 0;
    std::wstring sText;
    uint32_t nValueA = 0;
    uint8_t nValueB = 0;
    // The submenu's items; only an item with ID OX_DROPDATA_POPUP has any.
    std::vector<OXDROPPEDMENUITEM> children;

    bool IsPopup() const { return nID == OX_DROPDATA_POPUP; }
    bool IsSeparator() const { return nID == 0; }
};
using OXDroppedMenuItems = std::vector<OXDROPPEDMENUITEM>;

enum class OXDropDataError {
    None,
    Empty,            // no record at all
    Truncated,        // a field reaches past the end of the data
    BadText,          // a text without its terminator, or not well-formed UTF-16
    BadContinuation,  // a continuation other than 0, 1 or 2
    TooDeep,          // submenus nested deeper than OX_DROPDATA_MAX_DEPTH
    TooMany,          // more than OX_DROPDATA_MAX_ITEMS records
    ChildrenOfCommand, // (writer) an item that does not open a submenu has children
    EmptyPopupInside,  // (writer) an empty submenu that is not the last of its run
    TextWithZero,      // (writer) a text holding a zero character
};
const char* OXDropDataErrorText(OXDropDataError error);

struct OXDropDataResult {
    OXDropDataError error = OXDropDataError::None;
    size_t offset = 0;   // parser: where the fault lies
    size_t consumed = 0; // parser: bytes the run takes
    bool ok() const { return error == OXDropDataError::None; }
};

// The records of `items` in order (each item's submenu after it). On refusal `out` is
// left empty.
OXDropDataResult OXWriteDroppedMenuItems(const OXDroppedMenuItems& items, std::vector<uint8_t>& out);

// The records of one run read from `data`. On refusal `items` is left empty.
OXDropDataResult OXParseDroppedMenuItems(std::span<const uint8_t> data, OXDroppedMenuItems& items);

// How many records a list holds, submenus included.
size_t OXCountDroppedMenuItems(const OXDroppedMenuItems& items);
