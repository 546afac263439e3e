#pragma once
// Modules: one HINSTANCE/HMODULE table for the executable, shared objects loaded with
// dlopen (and those already in the process), built-in modules (named modules whose
// exports are implemented inside the process, such as "Msimg32.dll" registered by the
// drawing layer) and resource-only modules (the satellite "ZynCommonResources" and
// test modules).
//
// Name matching: names compare without regard to case, with or without a
// trailing ".dll" ("msimg32", "MSIMG32.DLL" and "Msimg32.dll" are one module). A name
// with a folder finds a built-in or resource module by its file-name part; a shared
// object by its full path.
//
// Reference counts: LoadLibrary adds a reference to a shared object or data file and
// FreeLibrary drops one; at zero the module unloads and its handle goes stale (every
// later use fails with ERROR_INVALID_HANDLE). The executable, built-in and resource
// modules, and shared objects that were already in the process when first looked up,
// are permanent: FreeLibrary accepts them and leaves them loaded.

#include <map>
#include <string>

#include "platform/base/wintypes.h"

// The address GetProcAddress returns; callers cast it to the function type they expect.
// (void(*)() converts to any other function pointer type without a cast warning.)
using FARPROC = void (*)();
using PROC = FARPROC;

inline constexpr DWORD DONT_RESOLVE_DLL_REFERENCES = 0x00000001;
inline constexpr DWORD LOAD_LIBRARY_AS_DATAFILE = 0x00000002;
inline constexpr DWORD LOAD_WITH_ALTERED_SEARCH_PATH = 0x00000008;
inline constexpr DWORD LOAD_IGNORE_CODE_AUTHZ_LEVEL = 0x00000010;
inline constexpr DWORD LOAD_LIBRARY_AS_IMAGE_RESOURCE = 0x00000020;
inline constexpr DWORD LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE = 0x00000040;
inline constexpr DWORD LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR = 0x00000100;
inline constexpr DWORD LOAD_LIBRARY_SEARCH_APPLICATION_DIR = 0x00000200;
inline constexpr DWORD LOAD_LIBRARY_SEARCH_USER_DIRS = 0x00000400;
inline constexpr DWORD LOAD_LIBRARY_SEARCH_SYSTEM32 = 0x00000800;
inline constexpr DWORD LOAD_LIBRARY_SEARCH_DEFAULT_DIRS = 0x00001000;

inline constexpr DWORD GET_MODULE_HANDLE_EX_FLAG_PIN = 0x00000001;
inline constexpr DWORD GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT = 0x00000002;
inline constexpr DWORD GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS = 0x00000004;

// Loads a module by name or path: a registered module is found first (built-ins win
// over files); otherwise the name goes to dlopen. Unknown: null, ERROR_MOD_NOT_FOUND.
HMODULE LoadLibraryW(LPCWSTR lpLibFileName);
// As LoadLibraryW. With LOAD_LIBRARY_AS_DATAFILE (or _EXCLUSIVE, or
// LOAD_LIBRARY_AS_IMAGE_RESOURCE) no code runs: a registered module is returned as is,
// an existing file becomes a data-file module (resources only, no exports). The
// search-path flags are accepted and have no effect; hFile must be null.
HMODULE LoadLibraryExW(LPCWSTR lpLibFileName, HANDLE hFile, DWORD dwFlags);
inline HMODULE LoadLibrary(LPCWSTR lpLibFileName) { return LoadLibraryW(lpLibFileName); }
inline HMODULE LoadLibraryEx(LPCWSTR lpLibFileName, HANDLE hFile, DWORD dwFlags)
{
    return LoadLibraryExW(lpLibFileName, hFile, dwFlags);
}

BOOL FreeLibrary(HMODULE hLibModule);

// Null: the executable. No reference is added. A shared object that is in the process
// but not yet in the table (a dependency of the program) is found and kept permanently.
HMODULE GetModuleHandleW(LPCWSTR lpModuleName);
inline HMODULE GetModuleHandle(LPCWSTR lpModuleName) { return GetModuleHandleW(lpModuleName); }
// GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS takes lpModuleName as an address inside the
// module (code or data). Without UNCHANGED_REFCOUNT a reference is added, as
// LoadLibrary would; PIN makes the module permanent.
BOOL GetModuleHandleExW(DWORD dwFlags, LPCWSTR lpModuleName, HMODULE* phModule);
inline BOOL GetModuleHandleEx(DWORD dwFlags, LPCWSTR lpModuleName, HMODULE* phModule)
{
    return GetModuleHandleExW(dwFlags, lpModuleName, phModule);
}

// The executable's path (/proc/self/exe) for null, a shared object's real path, a
// data file's path, a built-in or resource module's registered name. Returns the
// length without terminator; when the buffer is too small, the text is cut to
// nSize - 1 characters plus a terminator, the result is nSize and the last error
// ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize);
inline DWORD GetModuleFileName(HMODULE hModule, LPWSTR lpFilename, DWORD nSize)
{
    return GetModuleFileNameW(hModule, lpFilename, nSize);
}

// By name (exact case, as export names are) or by ordinal (MAKEINTRESOURCE). Built-in
// modules answer from their export table; shared objects and the executable through
// dlsym (by name only). Missing: null, ERROR_PROC_NOT_FOUND.
FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName);

namespace zyn::base {

// Registers a built-in module. Export names are case-sensitive; a key "#N" (N decimal,
// 1..65535) is the export of ordinal N. Null addresses are not exported. Fails (null
// handle) with ERROR_INVALID_PARAMETER for an empty name or one with a folder, and
// ERROR_ALREADY_EXISTS when a module of that name is loaded or registered.
HMODULE RegisterBuiltinModule(const std::wstring& name, std::map<std::string, void*> exports);
// Registers a resource-only module (no exports); same name rules.
HMODULE RegisterResourceModule(const std::wstring& name);
// Removes a built-in or resource module: its handle goes stale, its resources are
// freed and it leaves the resource chain. Other kinds fail with ERROR_INVALID_HANDLE.
bool UnregisterBuiltinModule(HMODULE module);
bool UnregisterBuiltinModule(const std::wstring& name);

// The executable's module (what the class library's AfxGetInstanceHandle gives a
// program without a DLL of its own).
HMODULE GetExecutableModule();

// The dlerror text of this thread's last failed dlopen (empty when there was none), for
// diagnostics behind an ERROR_MOD_NOT_FOUND.
std::wstring LastLoadError();

// An export address for a function, for building export tables.
template <class R, class... A>
void* ExportAddress(R (*fn)(A...))
{
    return reinterpret_cast<void*>(fn);
}

} // namespace zyn::base
