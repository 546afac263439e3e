#pragma once
// INI files: the private-profile functions and their win.ini forms.
//
// File names without a folder ("ACS.INI") live in the Windows directory (ZYN_WINDIR,
// else $XDG_CONFIG_HOME/zyn, else $HOME/.config/zyn); backslashes in a path are folder
// separators; when the exact name does not exist, a file in that folder whose name
// differs only in case is used. Sections and keys are compared without case; keys and
// values are trimmed of surrounding blanks, and a value enclosed in a pair of double or
// single quotes is returned without them. ';' starts a comment line.
//
// Encoding: a file starting with a UTF-16LE or UTF-8 byte-order mark is read as such,
// anything else as ANSI code-page text; a file is written back in the encoding it had.
// A new file is written in the ANSI code page; when its text (or text added to an
// ANSI file) is not representable there, the file is written as UTF-16LE with a
// byte-order mark instead, so nothing is lost.
//
// Writing keeps every line nobody edited byte for byte: its text as the file held it
// (even bytes that do not decode, which read as U+FFFD), and its own line end (CR LF,
// LF or CR; files may mix them). Lines an edit adds take the file's first line end; an
// odd byte at the end of a UTF-16 file stays at its end. Only the fall-back from ANSI
// to UTF-16LE above rewrites the whole file.
//
// Robustness: a line without '=' inside a section, and a '[' line without ']', are
// skipped (the keys under a broken section header belong to no section until the next
// good one) and the rest of the file is read as usual. Reading costs time in
// proportion to the file's size, however many sections and keys it holds.
//
// Writers: a write reads the file, edits it and replaces it atomically (a temporary
// file renamed over it) while it holds an exclusive lock (flock) on a lock file beside
// it (".<name>.lock"), so writers in several threads and processes never lose one
// another's changes; readers need no lock. Values, keys and section names that would
// not read back as written (line breaks anywhere, '=' in a key, ']' in a section name,
// keys starting with '[' or ';') are refused with ERROR_INVALID_PARAMETER.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/wintypes.h"

namespace zyn::base {

enum class IniEncoding { Ansi, Utf8Bom, Utf16LeBom };

// The parsed text of one INI file, keeping every line for writing back.
class IniDocument {
public:
    IniDocument() = default;
    // Decodes and parses file bytes (never fails: broken lines are kept and skipped).
    static IniDocument Parse(std::span<const uint8_t> bytes);
    // The bytes to write: the document in its encoding (see the header comment for the
    // fall-back to UTF-16LE, which also changes Encoding()).
    std::vector<uint8_t> Serialize();

    IniEncoding Encoding() const { return m_encoding; }

    // The value of a key, trimmed but with its quotes; nullopt when absent.
    std::optional<std::wstring> Get(std::wstring_view section, std::wstring_view key) const;
    std::vector<std::wstring> SectionNames() const;
    bool HasSection(std::wstring_view section) const;
    std::vector<std::wstring> Keys(std::wstring_view section) const;
    // "key=value" for each entry of the section.
    std::vector<std::wstring> Entries(std::wstring_view section) const;

    // Edits; each returns whether the document changed.
    bool Set(std::wstring_view section, std::wstring_view key, std::wstring_view value);
    bool DeleteKey(std::wstring_view section, std::wstring_view key);
    bool DeleteSection(std::wstring_view section);
    bool ReplaceSection(std::wstring_view section, const std::vector<std::wstring>& lines);

private:
    enum class Kind { Other, Section, BrokenSection, Entry, Broken };
    struct Line {
        std::wstring text;  // decoded, without the line end
        Kind kind = Kind::Other;
        std::wstring name;  // section or key
        std::wstring value; // entry value, trimmed
        std::string raw;    // the bytes the file held for the text (used while not edited)
        bool edited = false; // written from `text` in the file's encoding
        std::wstring eol;   // L"\r\n", L"\n", L"\r", or empty for a last line without one
    };
    static Line Classify(std::wstring text);
    // A line an edit makes, ended with the file's line end.
    Line NewLine(std::wstring text) const;
    // Inserts lines before index `at`, giving the line before them a line end if it had none.
    void InsertLines(size_t at, std::vector<Line> lines);
    // [first, last) line range of the first section with that name (header included);
    // nullopt when it does not exist.
    std::optional<std::pair<size_t, size_t>> FindSection(std::wstring_view section, size_t from = 0) const;
    void AppendSection(std::wstring_view section, const std::vector<std::wstring>& lines);
    void AppendEncoded(std::vector<uint8_t>& out, std::wstring_view text) const;

    std::vector<Line> m_lines;
    IniEncoding m_encoding = IniEncoding::Ansi;
    std::wstring m_newline = L"\r\n";
    std::string m_tail; // an odd last byte of a UTF-16 file, kept at its end
};

// The file an INI name refers to (null or empty: win.ini). Names without a folder live
// in the Windows directory (zyn::base::WindowsDirectory); names with a folder go
// through ToNativePath.
std::filesystem::path ResolveIniPath(LPCWSTR fileName);

} // namespace zyn::base

DWORD GetPrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpDefault, LPWSTR lpReturnedString,
    DWORD nSize, LPCWSTR lpFileName);
UINT GetPrivateProfileIntW(LPCWSTR lpAppName, LPCWSTR lpKeyName, INT nDefault, LPCWSTR lpFileName);
DWORD GetPrivateProfileSectionW(LPCWSTR lpAppName, LPWSTR lpReturnedString, DWORD nSize, LPCWSTR lpFileName);
DWORD GetPrivateProfileSectionNamesW(LPWSTR lpszReturnBuffer, DWORD nSize, LPCWSTR lpFileName);
BOOL WritePrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpString, LPCWSTR lpFileName);
BOOL WritePrivateProfileSectionW(LPCWSTR lpAppName, LPCWSTR lpString, LPCWSTR lpFileName);
BOOL GetPrivateProfileStructW(LPCWSTR lpszSection, LPCWSTR lpszKey, LPVOID lpStruct, UINT uSizeStruct,
    LPCWSTR szFile);
BOOL WritePrivateProfileStructW(LPCWSTR lpszSection, LPCWSTR lpszKey, LPCVOID lpStruct, UINT uSizeStruct,
    LPCWSTR szFile);
DWORD GetProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpDefault, LPWSTR lpReturnedString,
    DWORD nSize);
BOOL WriteProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpString);
UINT GetProfileIntW(LPCWSTR lpAppName, LPCWSTR lpKeyName, INT nDefault);
DWORD GetProfileSectionW(LPCWSTR lpAppName, LPWSTR lpReturnedString, DWORD nSize);
BOOL WriteProfileSectionW(LPCWSTR lpAppName, LPCWSTR lpString);

// The unsuffixed names, as real functions.
inline DWORD GetPrivateProfileString(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpDefault,
    LPWSTR lpReturnedString, DWORD nSize, LPCWSTR lpFileName)
{
    return GetPrivateProfileStringW(lpAppName, lpKeyName, lpDefault, lpReturnedString, nSize, lpFileName);
}
inline UINT GetPrivateProfileInt(LPCWSTR lpAppName, LPCWSTR lpKeyName, INT nDefault, LPCWSTR lpFileName)
{
    return GetPrivateProfileIntW(lpAppName, lpKeyName, nDefault, lpFileName);
}
inline DWORD GetPrivateProfileSection(LPCWSTR lpAppName, LPWSTR lpReturnedString, DWORD nSize, LPCWSTR lpFileName)
{
    return GetPrivateProfileSectionW(lpAppName, lpReturnedString, nSize, lpFileName);
}
inline DWORD GetPrivateProfileSectionNames(LPWSTR lpszReturnBuffer, DWORD nSize, LPCWSTR lpFileName)
{
    return GetPrivateProfileSectionNamesW(lpszReturnBuffer, nSize, lpFileName);
}
inline BOOL WritePrivateProfileString(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpString, LPCWSTR lpFileName)
{
    return WritePrivateProfileStringW(lpAppName, lpKeyName, lpString, lpFileName);
}
inline BOOL WritePrivateProfileSection(LPCWSTR lpAppName, LPCWSTR lpString, LPCWSTR lpFileName)
{
    return WritePrivateProfileSectionW(lpAppName, lpString, lpFileName);
}
inline BOOL GetPrivateProfileStruct(LPCWSTR lpszSection, LPCWSTR lpszKey, LPVOID lpStruct, UINT uSizeStruct,
    LPCWSTR szFile)
{
    return GetPrivateProfileStructW(lpszSection, lpszKey, lpStruct, uSizeStruct, szFile);
}
inline BOOL WritePrivateProfileStruct(LPCWSTR lpszSection, LPCWSTR lpszKey, LPCVOID lpStruct, UINT uSizeStruct,
    LPCWSTR szFile)
{
    return WritePrivateProfileStructW(lpszSection, lpszKey, lpStruct, uSizeStruct, szFile);
}
inline DWORD GetProfileString(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpDefault, LPWSTR lpReturnedString,
    DWORD nSize)
{
    return GetProfileStringW(lpAppName, lpKeyName, lpDefault, lpReturnedString, nSize);
}
inline BOOL WriteProfileString(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpString)
{
    return WriteProfileStringW(lpAppName, lpKeyName, lpString);
}
inline UINT GetProfileInt(LPCWSTR lpAppName, LPCWSTR lpKeyName, INT nDefault)
{
    return GetProfileIntW(lpAppName, lpKeyName, nDefault);
}
inline DWORD GetProfileSection(LPCWSTR lpAppName, LPWSTR lpReturnedString, DWORD nSize)
{
    return GetProfileSectionW(lpAppName, lpReturnedString, nSize);
}
inline BOOL WriteProfileSection(LPCWSTR lpAppName, LPCWSTR lpString)
{
    return WriteProfileSectionW(lpAppName, lpString);
}
