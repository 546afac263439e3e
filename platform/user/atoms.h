#pragma once
// The one table of string atoms (0xC000..0xFFFF) behind registered window messages,
// registered clipboard formats, window class atoms and property names. Names compare
// without case; an atom lives for the life of the process.
#include <string>
#include <string_view>

#include "platform/base/wintypes.h"

namespace zyn::user {

inline constexpr ATOM kFirstStringAtom = 0xC000;

// The atom of a name, added if new; 0 with ERROR_INVALID_PARAMETER for an empty name and
// ERROR_NOT_ENOUGH_MEMORY when the table is full.
ATOM AddAtomName(std::wstring_view name);
// The atom of a known name, or 0.
ATOM FindAtomName(std::wstring_view name);
// The name of an atom; empty when unknown.
std::wstring AtomName(ATOM atom);

// Integer atoms: a name written "#" and a decimal number from 1 to 0xBFFF is that number
// (the system classes "#32768" and "#32770" are 0x8000 and 0x8002), and such an atom's
// name is written back the same way. 0 when the name is not of that form.
ATOM IntegerAtomOf(std::wstring_view name);
std::wstring IntegerAtomName(ATOM atom);
inline constexpr ATOM kMaxIntegerAtom = 0xBFFF;

} // namespace zyn::user
