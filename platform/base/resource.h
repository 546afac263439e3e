#pragma once
// Resources: per-module storage of typed, named, per-language byte blocks in the
// standard binary layouts (string blocks, menu and dialog templates, accelerator
// tables, toolbar data), the Find/Load/Lock API over them, string loading, and the
// resource chain that the class library searches.
//
// Types and names are integers (MAKEINTRESOURCE, 1..65535) or strings. Strings compare
// without regard to case, and "#123" means the integer 123, as on Windows.
//
// Language choice (FindResourceW uses the preferred language, LANG_NEUTRAL unless set):
// the exact language, then the same primary language (SUBLANG_NEUTRAL first, then the
// lowest identifier), then a neutral language (primary LANG_NEUTRAL, lowest first),
// then any language (lowest first).
//
// Data returned by LockResource stays valid while its module is loaded.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/langid.h"
#include "platform/base/wintypes.h"

namespace zyn::base {

// An integer resource identifier usable wherever an LPCWSTR type or name is expected
// (RT_STRING, RT_DIALOG...). It stays a compile-time constant, which a pointer made
// by MAKEINTRESOURCE cannot be.
struct IntResource {
    WORD id;
    operator LPCWSTR() const { return MAKEINTRESOURCE(id); }
    constexpr WORD Id() const { return id; }
};

} // namespace zyn::base

inline constexpr zyn::base::IntResource RT_CURSOR{1};
inline constexpr zyn::base::IntResource RT_BITMAP{2};
inline constexpr zyn::base::IntResource RT_ICON{3};
inline constexpr zyn::base::IntResource RT_MENU{4};
inline constexpr zyn::base::IntResource RT_DIALOG{5};
inline constexpr zyn::base::IntResource RT_STRING{6};
inline constexpr zyn::base::IntResource RT_FONTDIR{7};
inline constexpr zyn::base::IntResource RT_FONT{8};
inline constexpr zyn::base::IntResource RT_ACCELERATOR{9};
inline constexpr zyn::base::IntResource RT_RCDATA{10};
inline constexpr zyn::base::IntResource RT_MESSAGETABLE{11};
inline constexpr zyn::base::IntResource RT_GROUP_CURSOR{12};
inline constexpr zyn::base::IntResource RT_GROUP_ICON{14};
inline constexpr zyn::base::IntResource RT_VERSION{16};
inline constexpr zyn::base::IntResource RT_MANIFEST{24};
inline constexpr zyn::base::IntResource RT_DLGINIT{240};
inline constexpr zyn::base::IntResource RT_TOOLBAR{241};


// hModule null means the executable. Failure: null with ERROR_RESOURCE_TYPE_NOT_FOUND,
// ERROR_RESOURCE_NAME_NOT_FOUND, ERROR_INVALID_HANDLE (stale module) or
// ERROR_INVALID_PARAMETER (null, empty or "#0" names).
HRSRC FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType);
HRSRC FindResourceExW(HMODULE hModule, LPCWSTR lpType, LPCWSTR lpName, WORD wLanguage);
inline HRSRC FindResource(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType)
{
    return FindResourceW(hModule, lpName, lpType);
}
inline HRSRC FindResourceEx(HMODULE hModule, LPCWSTR lpType, LPCWSTR lpName, WORD wLanguage)
{
    return FindResourceExW(hModule, lpType, lpName, wLanguage);
}
// The returned handle is only good for LockResource; it fails cleanly once the module
// has unloaded. hModule, when given, must be the resource's module.
HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo);
LPVOID LockResource(HGLOBAL hResData);
DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo);
// Nothing to free; returns FALSE (success), as the Windows function does.
BOOL FreeResource(HGLOBAL hResData);

// Copies string `uID` of the module's string table into lpBuffer, cut to cchBufferMax - 1
// characters and terminated; returns the number of characters copied, 0 when the
// string does not exist or is empty (the buffer then holds ""). cchBufferMax 0: a
// pointer to a read-only, terminated copy of the whole string (valid while the module
// is loaded) is written into lpBuffer, taken as an LPCWSTR*, and its length returned.
int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax);
inline int LoadString(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax)
{
    return LoadStringW(hInstance, uID, lpBuffer, cchBufferMax);
}

// The resource chain. AfxFindResourceHandle searches, in this order: the module set by
// AfxSetResourceHandle (the executable when none was set), the chain modules front to
// back, then the executable; a module is looked at once. When no module holds the
// resource, the result is AfxGetResourceHandle(), as in the class library.
HINSTANCE AfxGetResourceHandle();
// Null resets to the executable.
void AfxSetResourceHandle(HINSTANCE hInstResource);
HINSTANCE AfxFindResourceHandle(LPCWSTR lpszName, LPCWSTR lpszType);
// The module, in the same order, whose string table holds a non-empty string nID; null
// when none does.
HINSTANCE AfxFindStringResourceHandle(UINT nID);
// String nID from the chain into a buffer of nMaxBuf characters (cut and terminated);
// the length, 0 when not found.
int AfxLoadString(UINT nID, LPWSTR lpszBuf, UINT nMaxBuf = 256);

namespace zyn::base {

// Adds a resource to a module (null: the executable). A type/name/language already
// present is refused with ERROR_ALREADY_EXISTS; bad names with ERROR_INVALID_PARAMETER;
// a stale module with ERROR_INVALID_HANDLE.
bool AddResource(HMODULE module, LPCWSTR type, LPCWSTR name, WORD lang, std::vector<uint8_t> bytes);

// String `id` of a module's string table (null: the executable), whole; nullopt when it
// is absent or empty (the last error says why).
std::optional<std::wstring> LoadResourceString(HINSTANCE module, UINT id);

// The RT_STRING blocks of a string table, keyed by block ID (string ID / 16 + 1). Each
// block holds 16 entries: a WORD count of UTF-16 units followed by the UTF-16LE text.
// Throws std::invalid_argument for an ID above 65535 or a string longer than 65535
// UTF-16 units.
std::map<WORD, std::vector<uint8_t>> BuildStringBlock(const std::map<UINT, std::wstring>& strings);
// Builds the blocks and adds them; false (nothing added) when a block is refused.
bool AddStringTable(HMODULE module, const std::map<UINT, std::wstring>& strings, WORD lang = LANG_NEUTRAL);

// The number of bytes from `p` to the end of the loaded resource whose data holds it
// (LockResource's pointer or one inside it); nullopt when no resource holds `p`. Lets a
// reader given only a pointer into resource data stay within it.
std::optional<size_t> ResourceBytesFrom(const void* p);

// The language FindResourceW and the string loaders prefer (LANG_NEUTRAL by default).
void SetPreferredResourceLanguage(LANGID lang);
LANGID PreferredResourceLanguage();

// The ordered list of modules searched after the current resource handle.
class ResourceChain {
public:
    enum class Position { Front, Back };
    // Fails with ERROR_INVALID_HANDLE for a stale module and ERROR_ALREADY_EXISTS when
    // it is already in the chain (its place is kept).
    static bool AddToChain(HMODULE module, Position position = Position::Back);
    static bool RemoveFromChain(HMODULE module);
    static std::vector<HMODULE> Modules();
    // Empties the chain and resets the resource handle (for tests).
    static void Clear();
};

} // namespace zyn::base
