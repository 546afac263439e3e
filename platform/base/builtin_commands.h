#pragma once
// Commands that the process launcher runs inside this process instead of starting a
// program (for example "regedit", which imports a .reg file into the registry store).
// CreateProcess matches the program name without folder and extension,
// case-insensitively; the command runs on its own thread and its process handle is
// signalled with its exit code when it returns.

#include <functional>
#include <string>
#include <vector>

#include "platform/base/wintypes.h"

namespace zyn::base {

using BuiltinCommand = std::function<DWORD(const std::vector<std::wstring>& args)>;

// Registers (or replaces) a built-in command. `name` is matched without case.
void RegisterBuiltinCommand(const std::wstring& name, BuiltinCommand command);
void UnregisterBuiltinCommand(const std::wstring& name);

} // namespace zyn::base
