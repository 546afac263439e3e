#pragma once
// Reading dialog templates: DLGTEMPLATE and DLGTEMPLATEEX with their item templates, as
// resource scripts compile them and as programs build them in memory.
//
// The layouts (little-endian, WORD-aligned strings, DWORD-aligned items):
//   classic:  style, exStyle (DWORDs), item count (WORD), x, y, cx, cy (shorts)
//   extended: dlgVer 1, signature 0xFFFF (WORDs), helpID, exStyle, style (DWORDs), then
//             the count and rectangle as above
//   then: menu, class (each sz_Or_Ord: 0 none, 0xFFFF + ordinal, or a terminated
//   string), title (a string); with DS_SETFONT the point size (WORD), for the extended
//   form weight (WORD), italic and charset (BYTEs), then the face name.
//   Items, each on a DWORD boundary:
//   classic:  style, exStyle (DWORDs), x, y, cx, cy (shorts), id (WORD)
//   extended: helpID, exStyle, style (DWORDs), x, y, cx, cy (shorts), id (DWORD)
//   then class and title (sz_Or_Ord) and the creation data: a WORD size followed by that
//   many bytes (in the classic form the size counts the size word itself).
//
// Every read is checked against the end of the bytes; a template that runs past its end,
// names an unknown extended version, or has a string without its terminator is refused
// with a message saying what and where. Nothing is read beyond the span.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/base/wintypes.h"

namespace zyn::user {

// A name or an ordinal field (sz_Or_Ord).
struct NameOrOrdinal {
    WORD ordinal = 0;      // nonzero: an ordinal
    std::wstring name;     // otherwise a name ("" when the field is empty)
    bool Empty() const { return ordinal == 0 && name.empty(); }
};

struct DialogItemTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    DWORD helpId = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    NameOrOrdinal cls;
    NameOrOrdinal title;
    // The creation data from its size word on (empty when there is none).
    std::span<const uint8_t> creationData;
};

struct DialogTemplate {
    bool extended = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    DWORD helpId = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal cls;
    std::wstring title;
    bool hasFont = false;
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::wstring face;
    std::vector<DialogItemTemplate> items;
};

// Parses a template; nullopt with `error` set when it is malformed.
std::optional<DialogTemplate> ParseDialogTemplate(std::span<const uint8_t> bytes, std::string* error = nullptr);

// The class name a template's ordinal stands for ("Button" for 0x80 ...), or null.
const wchar_t* ClassNameOfOrdinal(WORD ordinal);

} // namespace zyn::user
