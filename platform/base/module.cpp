#include "platform/base/module.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/base/charcase.h"
#include "platform/base/handle_table.h"
#include "platform/base/lasterror.h"
#include "platform/base/module_internal.h"
#include "platform/base/utf16.h"

namespace zyn::base {
namespace {

enum class ModuleKind { Executable, Builtin, Resource, Shared, DataFile };

struct Module {
    ModuleKind kind = ModuleKind::Builtin;
    std::wstring name;              // registered name, or the file name of `path`
    std::wstring alias;             // the name a shared object was asked for ("libm.so.6")
    std::wstring path;              // executable, shared object or data file
    void* dl = nullptr;             // dlopen handle of the executable or a shared object
    const void* linkMap = nullptr;  // identifies a loaded object whatever name it was opened by
    std::map<std::string, void*> exports; // built-ins; never changes after registration
    // Guarded by State::mutex.
    int refs = 0;
    bool permanent = false;
};

struct State {
    std::mutex mutex; // name look-ups, registrations and reference counts
    HandleTable<Module> table{HandleKind::Module};
    std::once_flag exeOnce;
    uint32_t exe = 0;
};

// Deliberately immortal: other static destructors may still free modules at exit, and
// built-in modules registered by static initialisers must find the table constructed.
State& S()
{
    static State* const state = new State();
    return *state;
}

thread_local std::wstring t_loadError;

bool IsPermanentKind(ModuleKind k)
{
    return k == ModuleKind::Executable || k == ModuleKind::Builtin || k == ModuleKind::Resource;
}

std::wstring_view FileNamePart(std::wstring_view s)
{
    const size_t slash = s.find_last_of(L"/\\");
    return slash == std::wstring_view::npos ? s : s.substr(slash + 1);
}

// The comparison form of a module name: case folded, without a trailing ".dll".
std::wstring FoldName(std::wstring_view s)
{
    std::wstring out;
    out.reserve(s.size());
    for (const wchar_t c : s)
        out.push_back(ToLowerChar(c));
    if (out.size() > 4 && out.compare(out.size() - 4, 4, L".dll") == 0)
        out.resize(out.size() - 4);
    return out;
}

bool HasFolder(std::wstring_view s) { return s.find_first_of(L"/\\") != std::wstring_view::npos; }

std::filesystem::path CanonicalPath(const std::wstring& p)
{
    std::error_code ec;
    std::filesystem::path fp(ToUtf8(p));
    auto c = std::filesystem::weakly_canonical(fp, ec);
    if (ec)
        return std::filesystem::absolute(fp, ec).lexically_normal();
    return c;
}

uint32_t ExecutableValue()
{
    State& s = S();
    std::call_once(s.exeOnce, [&s] {
        auto m = std::make_shared<Module>();
        m->kind = ModuleKind::Executable;
        m->permanent = true;
        std::string buf(256, '\0');
        for (;;) {
            const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
            if (n < 0) {
                buf = program_invocation_name ? program_invocation_name : "";
                break;
            }
            if (static_cast<size_t>(n) < buf.size()) {
                buf.resize(static_cast<size_t>(n));
                break;
            }
            buf.resize(buf.size() * 2);
        }
        m->path = FromUtf8(buf);
        m->name = std::wstring(FileNamePart(m->path));
        m->dl = ::dlopen(nullptr, RTLD_LAZY);
        if (m->dl) {
            link_map* lm = nullptr;
            if (::dlinfo(m->dl, RTLD_DI_LINKMAP, &lm) == 0)
                m->linkMap = lm;
        }
        s.exe = s.table.Add(std::move(m));
    });
    return s.exe;
}

// Finds a module by name or path; the caller holds State::mutex. Built-in and resource
// modules are looked at before files, so a built-in always wins.
std::pair<uint32_t, std::shared_ptr<Module>> FindByName(std::wstring_view query, bool includeDataFiles)
{
    State& s = S();
    ExecutableValue();
    const std::wstring folded = FoldName(FileNamePart(query));
    const bool withFolder = HasFolder(query);
    const auto all = s.table.Snapshot();
    for (const auto& [value, m] : all) {
        if ((m->kind == ModuleKind::Builtin || m->kind == ModuleKind::Resource) && FoldName(m->name) == folded)
            return {value, m};
    }
    std::filesystem::path wanted;
    if (withFolder)
        wanted = CanonicalPath(std::wstring(query));
    for (const auto& [value, m] : all) {
        if (m->kind == ModuleKind::Builtin || m->kind == ModuleKind::Resource)
            continue;
        if (m->kind == ModuleKind::DataFile && !includeDataFiles)
            continue;
        if (withFolder) {
            if (!m->path.empty() && CanonicalPath(m->path) == wanted)
                return {value, m};
        } else if (FoldName(m->name) == folded || (!m->alias.empty() && FoldName(m->alias) == folded)) {
            return {value, m};
        }
    }
    return {0, nullptr};
}

void AddRefLocked(Module& m)
{
    if (!m.permanent)
        ++m.refs;
}

// Enters a dlopen handle in the table, or finds the entry of the same loaded object
// (then the extra dlopen reference is dropped). `addRef` adds a LoadLibrary reference.
HMODULE AdoptShared(void* dl, std::wstring_view requested, bool permanent, bool addRef)
{
    State& s = S();
    link_map* lm = nullptr;
    if (::dlinfo(dl, RTLD_DI_LINKMAP, &lm) != 0)
        lm = nullptr;
    uint32_t value = 0;
    bool duplicate = false;
    {
        std::lock_guard lock(s.mutex);
        ExecutableValue();
        for (const auto& [v, m] : s.table.Snapshot()) {
            if (lm && m->linkMap == lm) {
                // Already entered under another name or path: one module, one handle.
                value = v;
                duplicate = true;
                if (addRef)
                    AddRefLocked(*m);
                break;
            }
        }
        if (!duplicate) {
            auto m = std::make_shared<Module>();
            m->kind = ModuleKind::Shared;
            m->dl = dl;
            m->linkMap = lm;
            m->alias = std::wstring(FileNamePart(requested));
            std::wstring path = (lm && lm->l_name && *lm->l_name) ? FromUtf8(lm->l_name) : std::wstring(requested);
            if (HasFolder(path))
                path = FromUtf8(CanonicalPath(path).string());
            m->path = path;
            m->name = std::wstring(FileNamePart(path));
            m->permanent = permanent;
            m->refs = 1;
            value = s.table.Add(std::move(m));
        }
    }
    if (duplicate || value == 0)
        ::dlclose(dl); // the entry keeps its own reference
    if (value == 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return MakeHandle<HMODULE>(value);
}

HMODULE LoadShared(LPCWSTR name)
{
    const std::string file = ToUtf8(name);
    ::dlerror();
    void* dl = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!dl) {
        const char* why = ::dlerror();
        t_loadError = FromUtf8(why ? why : "dlopen failed");
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return AdoptShared(dl, name, false, true);
}

HMODULE LoadDataFile(LPCWSTR name)
{
    State& s = S();
    const std::filesystem::path p(ToUtf8(name));
    std::error_code ec;
    if (!std::filesystem::is_regular_file(p, ec) || ::access(p.c_str(), R_OK) != 0) {
        t_loadError = std::wstring(L"cannot read ") + name;
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    const std::wstring path = FromUtf8(CanonicalPath(name).string());
    std::lock_guard lock(s.mutex);
    for (const auto& [v, m] : s.table.Snapshot()) {
        if (m->kind == ModuleKind::DataFile && m->path == path) {
            AddRefLocked(*m);
            return MakeHandle<HMODULE>(v);
        }
    }
    auto m = std::make_shared<Module>();
    m->kind = ModuleKind::DataFile;
    m->path = path;
    m->name = std::wstring(FileNamePart(path));
    m->refs = 1;
    const uint32_t value = s.table.Add(std::move(m));
    if (!value) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return MakeHandle<HMODULE>(value);
}

// Finds (or enters permanently) the module that contains an address.
HMODULE ModuleFromAddress(const void* address)
{
    State& s = S();
    Dl_info info{};
    link_map* lm = nullptr;
    if (!::dladdr1(address, &info, reinterpret_cast<void**>(&lm), RTLD_DL_LINKMAP) || !lm) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    {
        std::lock_guard lock(s.mutex);
        ExecutableValue();
        for (const auto& [v, m] : s.table.Snapshot())
            if (m->linkMap == lm)
                return MakeHandle<HMODULE>(v);
    }
    if (!lm->l_name || !*lm->l_name) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    void* dl = ::dlopen(lm->l_name, RTLD_LAZY | RTLD_NOLOAD);
    if (!dl) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return AdoptShared(dl, FromUtf8(lm->l_name), true, false);
}

bool ValidModuleName(const std::wstring& name)
{
    return !name.empty() && !HasFolder(name) && name.find(L'\0') == std::wstring::npos;
}

// "#N" with N in 1..65535; 0 when the key is not an ordinal key, -1 when malformed.
int OrdinalKey(const std::string& key)
{
    if (key.empty() || key[0] != '#')
        return 0;
    if (key.size() < 2 || key.size() > 6)
        return -1;
    int n = 0;
    for (size_t i = 1; i < key.size(); ++i) {
        if (key[i] < '0' || key[i] > '9')
            return -1;
        n = n * 10 + (key[i] - '0');
    }
    return (n >= 1 && n <= 0xFFFF) ? n : -1;
}

HMODULE RegisterModule(ModuleKind kind, const std::wstring& name, std::map<std::string, void*> exports)
{
    if (!ValidModuleName(name)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    for (auto it = exports.begin(); it != exports.end();) {
        if (it->first.empty() || OrdinalKey(it->first) < 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        it = it->second ? std::next(it) : exports.erase(it);
    }
    State& s = S();
    std::lock_guard lock(s.mutex);
    if (FindByName(name, true).second) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return nullptr;
    }
    auto m = std::make_shared<Module>();
    m->kind = kind;
    m->name = name;
    m->exports = std::move(exports);
    m->permanent = true;
    const uint32_t value = s.table.Add(std::move(m));
    if (!value) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return MakeHandle<HMODULE>(value);
}

std::shared_ptr<Module> Resolve(HMODULE h, uint32_t* valueOut = nullptr)
{
    const uint32_t value = h ? HandleValue(h) : ExecutableValue();
    auto m = S().table.Get(value);
    if (!m)
        SetLastError(ERROR_INVALID_HANDLE);
    if (valueOut)
        *valueOut = value;
    return m;
}

} // namespace

HMODULE RegisterBuiltinModule(const std::wstring& name, std::map<std::string, void*> exports)
{
    return RegisterModule(ModuleKind::Builtin, name, std::move(exports));
}

HMODULE RegisterResourceModule(const std::wstring& name)
{
    return RegisterModule(ModuleKind::Resource, name, {});
}

bool UnregisterBuiltinModule(HMODULE module)
{
    State& s = S();
    const uint32_t value = HandleValue(module);
    {
        std::lock_guard lock(s.mutex);
        const auto m = s.table.Get(value);
        if (!m || (m->kind != ModuleKind::Builtin && m->kind != ModuleKind::Resource)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return false;
        }
        s.table.Remove(value);
    }
    detail::OnModuleUnloaded(value);
    return true;
}

bool UnregisterBuiltinModule(const std::wstring& name)
{
    uint32_t value = 0;
    {
        std::lock_guard lock(S().mutex);
        const auto found = FindByName(name, false);
        if (found.second && (found.second->kind == ModuleKind::Builtin || found.second->kind == ModuleKind::Resource))
            value = found.first;
    }
    if (!value) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return false;
    }
    return UnregisterBuiltinModule(MakeHandle<HMODULE>(value));
}

HMODULE GetExecutableModule() { return MakeHandle<HMODULE>(ExecutableValue()); }

std::wstring LastLoadError() { return t_loadError; }

namespace detail {

uint32_t ResolveModule(HMODULE h)
{
    const uint32_t value = h ? HandleValue(h) : ExecutableValue();
    return S().table.Contains(value) ? value : 0;
}

} // namespace detail
} // namespace zyn::base

using namespace zyn::base;

HMODULE LoadLibraryW(LPCWSTR lpLibFileName) { return LoadLibraryExW(lpLibFileName, nullptr, 0); }

HMODULE LoadLibraryExW(LPCWSTR lpLibFileName, HANDLE hFile, DWORD dwFlags)
{
    constexpr DWORD kDataFlags =
        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE | LOAD_LIBRARY_AS_IMAGE_RESOURCE;
    constexpr DWORD kKnown = kDataFlags | DONT_RESOLVE_DLL_REFERENCES | LOAD_WITH_ALTERED_SEARCH_PATH |
        LOAD_IGNORE_CODE_AUTHZ_LEVEL | LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_APPLICATION_DIR |
        LOAD_LIBRARY_SEARCH_USER_DIRS | LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS;
    if (!lpLibFileName || !*lpLibFileName || hFile || (dwFlags & ~kKnown)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const bool asData = (dwFlags & kDataFlags) != 0;
    {
        std::lock_guard lock(S().mutex);
        const auto found = FindByName(lpLibFileName, asData);
        if (found.second) {
            AddRefLocked(*found.second);
            return MakeHandle<HMODULE>(found.first);
        }
    }
    return asData ? LoadDataFile(lpLibFileName) : LoadShared(lpLibFileName);
}

BOOL FreeLibrary(HMODULE hLibModule)
{
    State& s = S();
    const uint32_t value = HandleValue(hLibModule);
    std::shared_ptr<Module> gone;
    {
        std::lock_guard lock(s.mutex);
        const auto m = s.table.Get(value);
        if (!m) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        if (m->permanent || IsPermanentKind(m->kind))
            return TRUE;
        if (--m->refs > 0)
            return TRUE;
        gone = s.table.Remove(value);
    }
    // Outside the lock: unloading runs the object's destructors, which may use modules.
    detail::OnModuleUnloaded(value);
    if (gone->dl)
        ::dlclose(gone->dl); // a failure leaves the object mapped; the handle is gone either way
    return TRUE;
}

HMODULE GetModuleHandleW(LPCWSTR lpModuleName)
{
    if (!lpModuleName)
        return GetExecutableModule();
    if (!*lpModuleName) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    {
        std::lock_guard lock(S().mutex);
        const auto found = FindByName(lpModuleName, false);
        if (found.second)
            return MakeHandle<HMODULE>(found.first);
    }
    // Not in the table: perhaps in the process all the same (a dependency of the
    // program). Such an object stays loaded for good, so its entry is permanent.
    const std::string file = ToUtf8(lpModuleName);
    void* dl = ::dlopen(file.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    if (!dl) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return AdoptShared(dl, lpModuleName, true, false);
}

BOOL GetModuleHandleExW(DWORD dwFlags, LPCWSTR lpModuleName, HMODULE* phModule)
{
    constexpr DWORD kKnown = GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT |
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS;
    if (phModule)
        *phModule = nullptr;
    if (!phModule || (dwFlags & ~kKnown) ||
        ((dwFlags & GET_MODULE_HANDLE_EX_FLAG_PIN) && (dwFlags & GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT)) ||
        ((dwFlags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) && !lpModuleName)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const HMODULE h = (dwFlags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS)
        ? ModuleFromAddress(lpModuleName)
        : GetModuleHandleW(lpModuleName);
    if (!h)
        return FALSE;
    {
        State& s = S();
        std::lock_guard lock(s.mutex);
        const auto m = s.table.Get(h);
        if (!m) { // unloaded meanwhile by another thread
            SetLastError(ERROR_MOD_NOT_FOUND);
            return FALSE;
        }
        if (dwFlags & GET_MODULE_HANDLE_EX_FLAG_PIN)
            m->permanent = true;
        else if (!(dwFlags & GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT))
            AddRefLocked(*m);
    }
    *phModule = h;
    return TRUE;
}

DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize)
{
    if (!lpFilename && nSize) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const auto m = Resolve(hModule);
    if (!m)
        return 0;
    const std::wstring& text = (m->kind == ModuleKind::Builtin || m->kind == ModuleKind::Resource) ? m->name : m->path;
    if (text.size() < nSize) {
        text.copy(lpFilename, text.size());
        lpFilename[text.size()] = L'\0';
        return static_cast<DWORD>(text.size());
    }
    if (nSize > 0) {
        text.copy(lpFilename, nSize - 1);
        lpFilename[nSize - 1] = L'\0';
    }
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
}

FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
    const auto m = Resolve(hModule);
    if (!m)
        return nullptr;
    void* address = nullptr;
    if (IS_INTRESOURCE(lpProcName)) {
        const auto ordinal = static_cast<unsigned>(reinterpret_cast<uintptr_t>(lpProcName));
        if (m->kind == ModuleKind::Builtin && ordinal != 0) {
            const auto it = m->exports.find("#" + std::to_string(ordinal));
            if (it != m->exports.end())
                address = it->second;
        }
    } else if (m->kind == ModuleKind::Builtin) {
        const auto it = m->exports.find(lpProcName);
        if (it != m->exports.end())
            address = it->second;
    } else if ((m->kind == ModuleKind::Shared || m->kind == ModuleKind::Executable) && m->dl) {
        address = ::dlsym(m->dl, lpProcName);
    }
    if (!address) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(address);
}
