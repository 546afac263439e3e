#pragma once
// The saved state of the recently used menu items: the byte layout of the two profile
// blobs, written and checked here without any menu or window.
//
// Every value is a 32-bit little-endian signed integer.
//   Excluded commands:  N, then N command IDs (ascending).
//                       Exactly 4 + 4 N bytes.
//   Excluded submenus:  N, then N paths; a path is the positions leading from the root
//                       menu to the submenu (position in the root, then in that submenu,
//                       ...), each 0 or more, closed by -1. A submenu that cannot be
//                       found under the root is the -1 alone. Paths are written in
//                       ascending lexicographic order (the empty path first).
//                       Nothing may follow the N-th -1.
// Decoding checks all of it before anything is used: a count that the bytes cannot hold,
// a negative count, a position below -1, a path without its -1, a short value or bytes
// left over make the whole blob bad, and the caller keeps its state as it was.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zyn::menus {

inline constexpr int32_t kRecentPathEnd = -1;

std::vector<uint8_t> EncodeRecentCommands(std::span<const int32_t> ids);
// The command IDs, or nullopt with the reason in *error (when given).
std::optional<std::vector<int32_t>> DecodeRecentCommands(std::span<const uint8_t> bytes, std::string* error = nullptr);

std::vector<uint8_t> EncodeRecentSubmenus(const std::vector<std::vector<int32_t>>& paths);
// The paths (without their -1), or nullopt with the reason in *error (when given).
std::optional<std::vector<std::vector<int32_t>>> DecodeRecentSubmenus(
    std::span<const uint8_t> bytes, std::string* error = nullptr);

} // namespace zyn::menus
