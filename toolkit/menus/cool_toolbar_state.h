#pragma once
// The byte layouts of a cool toolbar's saved state (written down in docs/architecture.md),
// encoded and checked here without a window. Every integer is 32-bit little-endian; a text
// is the class library's archive string: the byte 0xFF and the WORD 0xFFFE (UTF-16 follows),
// the length in UTF-16 units (a byte below 0xFF; else 0xFF and a WORD below 0xFFFE; else
// 0xFFFF and a DWORD), then the UTF-16LE units.
//   Buttons:           count N >= 0, then N times: command, image, style (one byte),
//                      has-text (0 or 1), text.
//   Custom positions:  count N >= 0, then N times: position (ascending, >= 0), control ID.
//   Toolbar order:     the toolbar control's TB_SAVERESTORE value (platform/comctl/toolbar.h).
// Decoding checks the whole value (counts against the bytes, every field's range, nothing
// left over) before anything is used; a value that fails is refused whole.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zyn::menus {

struct CoolBarButtonRecord {
    int32_t command = 0;
    int32_t image = 0;
    uint8_t style = 0;
    bool hasText = false;
    std::wstring text;   // the text shown, or the recent text of an image-only button
    bool operator==(const CoolBarButtonRecord&) const = default;
};

struct CoolBarCustomPosition {
    int32_t position = 0;
    int32_t controlId = 0;
    bool operator==(const CoolBarCustomPosition&) const = default;
};

// One entry of the toolbar control's order value.
struct CoolBarOrderItem {
    int32_t command = 0;
    int32_t image = 0;
    uint8_t state = 0;
    uint8_t style = 0;
};

std::vector<uint8_t> EncodeCoolBarButtons(std::span<const CoolBarButtonRecord> buttons);
std::optional<std::vector<CoolBarButtonRecord>> DecodeCoolBarButtons(std::span<const uint8_t> bytes,
    std::string* error = nullptr);

std::vector<uint8_t> EncodeCoolBarPositions(std::span<const CoolBarCustomPosition> positions);
std::optional<std::vector<CoolBarCustomPosition>> DecodeCoolBarPositions(std::span<const uint8_t> bytes,
    std::string* error = nullptr);

// The items of a toolbar control's saved order, or nullopt when the value is not one.
std::optional<std::vector<CoolBarOrderItem>> DecodeCoolBarOrder(std::span<const uint8_t> bytes,
    std::string* error = nullptr);

// An archive string (the form above) appended to out.
void AppendArchiveString(std::vector<uint8_t>& out, std::wstring_view text);

} // namespace zyn::menus
