#pragma once
// The saved record of a menu bar's menu: a whole menu tree as the profile keeps it
// (value "MenuItems" of section "Menu_<document class>"), written and read without
// windows or menus so that it can be checked whole before a menu is touched.
//
// Layout (the class library's archive conventions; every integer 32-bit little-endian):
//
//   menu   := count, count x item
//   item   := type (MENUITEMINFO fType), has-submenu (0 or 1), command ID (0xFFFFFFFF for
//             a submenu item), text, [menu, only when has-submenu is 1]
//   text   := 0xFF, 0xFFFE (WORD: wide text follows), length in UTF-16 units
//             (a byte below 0xFF; else 0xFF and a WORD below 0xFFFE; else 0xFF, 0xFFFF and a
//             DWORD), then the UTF-16LE units
//
// Example: one item "A" with command 0x10 is
//   01000000 00000000 00000000 10000000 FF FEFF 01 4100   (22 bytes).
//
// The reader trusts nothing: every field must lie inside the bytes, a count is at most
// what the remaining bytes could hold, the tree holds at most OX_MENURECORD_MAX_ITEMS
// items nested at most OX_MENURECORD_MAX_DEPTH levels, has-submenu is 0 or 1, the text is
// well-formed UTF-16 of at most OX_MENURECORD_MAX_TEXT units and nothing follows the record. Any breach refuses the whole record.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

inline constexpr int OX_MENURECORD_MAX_DEPTH = 16;   // the top menu is level 1
inline constexpr size_t OX_MENURECORD_MAX_ITEMS = 8192;
inline constexpr uint32_t OX_MENURECORD_MAX_TEXT = 0xFFFF;   // UTF-16 units: a menu item's own limit
inline constexpr uint32_t OX_MENURECORD_POPUP_ID = 0xFFFFFFFF;

struct OXMENURECORDITEM {
    uint32_t nType = 0;
    bool bHasSubmenu = false;
    uint32_t nID = 0;
    std::wstring sText;
    std::vector<OXMENURECORDITEM> children;   // the submenu's items (bHasSubmenu only)
};
using OXMenuRecord = std::vector<OXMENURECORDITEM>;

enum class OXMenuRecordError { None, Truncated, BadCount, BadFlag, BadText, TooDeep, TooMany, TrailingBytes, TextTooLong };
const char* OXMenuRecordErrorText(OXMenuRecordError error);

struct OXMenuRecordResult {
    OXMenuRecordError error = OXMenuRecordError::None;
    size_t offset = 0;   // where the fault lies
    bool ok() const { return error == OXMenuRecordError::None; }
};

// Appends the record of a tree.
void OXWriteMenuRecord(const OXMenuRecord& menu, std::vector<uint8_t>& out);
// Reads a whole record; on refusal `menu` is left empty.
OXMenuRecordResult OXParseMenuRecord(std::span<const uint8_t> data, OXMenuRecord& menu);
