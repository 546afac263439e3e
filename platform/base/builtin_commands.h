#pragma once
// Commands that the process launcher runs inside this process instead of starting a
// program (for example "regedit", which imports a .reg file into the registry store).
// CreateProcess matches the program name without folder and extension,
// case-insensitively (ASCII letters); the command runs on its own thread and its process
// handle is signalled with its exit code when it returns. `args` are the command line's
// words after the program name. A command that lets an exception escape ends with
// kBuiltinCommandFailedExitCode after the exception is reported on stderr.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/wintypes.h"

namespace zyn::base {

using BuiltinCommand = std::function<DWORD(const std::vector<std::wstring>& args)>;

// Registers (or replaces) a built-in command. `name` is matched without case.
void RegisterBuiltinCommand(const std::wstring& name, BuiltinCommand command);
void UnregisterBuiltinCommand(const std::wstring& name);
// The command registered under `name` (matched without case), or an empty function.
BuiltinCommand FindBuiltinCommand(std::wstring_view name);

inline constexpr DWORD kBuiltinCommandFailedExitCode = 0xE0000001u;

} // namespace zyn::base
