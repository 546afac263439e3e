#pragma once
// Import of .reg text files into the registry store.
//
// Accepted: "REGEDIT4" files (narrow text in the ANSI code page; hex(1), hex(2) and
// hex(7) data are narrow strings and are stored as UTF-16LE) and "Windows Registry
// Editor Version 5.00" files (UTF-16LE with a byte-order mark, or UTF-8 with or
// without one; hex(N) data are stored as written). Lines: [key], [-key] (delete the
// tree), "name"="string" with \\ and \" escapes, @= for the default value,
// dword:XXXXXXXX, hex:.. and hex(N):.. with trailing-backslash continuations,
// "name"=- (delete the value), blank lines and ';' comments. Root names are the long
// forms (HKEY_LOCAL_MACHINE ...) or the short ones (HKLM, HKCU, HKCR, HKU, HKCC);
// HKEY_USERS accepts only its ".DEFAULT" subtree.
//
// Parsing is separate from applying: a file is first parsed into a list of operations,
// stopping at the first malformed line (its number and a reason are reported), and the
// operations are then applied in one transaction per store, so a malformed file
// changes nothing.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "platform/base/registry_store.h"
#include "platform/base/wintypes.h"

namespace zyn::base {

struct RegFileOp {
    enum class Kind { CreateKey, DeleteTree, SetValue, DeleteValue };
    Kind kind = Kind::CreateKey;
    RegHive hive = RegHive::CurrentUser;
    std::vector<std::wstring> path; // below the hive's root
    std::wstring keyText;           // the key as written, for messages
    std::wstring valueName;         // empty for the default value
    DWORD type = 0;
    std::vector<uint8_t> data;      // stored layout (strings UTF-16LE)
    int line = 0;
};

struct RegFileError {
    int line = 0;          // 1-based; 0 when the problem is not on one line
    std::wstring message;  // what is wrong
    // "line 12: missing ']' at the end of the key name" or the message alone.
    std::wstring Text() const;
};

// Parses the bytes of a .reg file. False with the first problem found; `ops` then
// holds nothing useful.
bool ParseRegFile(std::span<const uint8_t> bytes, std::vector<RegFileOp>& ops, RegFileError& error);

// Applies parsed operations all-or-nothing. On failure nothing has changed and `error`
// names the line of the operation that failed.
LONG ApplyRegFileOps(const std::vector<RegFileOp>& ops, RegFileError& error);

// Reads, parses and applies a file. Failures are also written to the registry log.
LONG ImportRegFile(const std::filesystem::path& file, RegFileError& error);

// The built-in "regedit" command: [/s] <file.reg>... Imports each file (there is no
// interactive confirmation to skip; /s is accepted for compatibility). Exit code 0
// when every file was imported, 1 when one failed, 2 for bad arguments.
DWORD RunRegeditCommand(const std::vector<std::wstring>& args);

} // namespace zyn::base
