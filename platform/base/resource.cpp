#include "platform/base/resource.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <memory>
#include <mutex>
#include <span>
#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "platform/base/charcase.h"
#include "platform/base/codepage.h"
#include "platform/base/cstring.h"
#include "platform/base/handle_table.h"
#include "platform/base/lasterror.h"
#include "platform/base/module_internal.h"
#include "platform/base/utf16.h"

namespace zyn::base {
namespace {

// A type or name: an integer (id != 0) or an upper-cased string.
struct ResName {
    WORD id = 0;
    std::wstring text;
    auto operator<=>(const ResName&) const = default;
};

std::optional<ResName> ParseName(LPCWSTR p)
{
    if (IS_INTRESOURCE(p)) {
        const auto id = static_cast<WORD>(reinterpret_cast<uintptr_t>(p));
        if (id == 0)
            return std::nullopt;
        return ResName{id, {}};
    }
    const std::wstring_view s(p);
    if (s.empty())
        return std::nullopt;
    if (s[0] == L'#' && s.size() > 1 &&
        std::all_of(s.begin() + 1, s.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; })) {
        uint32_t n = 0;
        for (size_t i = 1; i < s.size(); ++i) {
            n = n * 10 + static_cast<uint32_t>(s[i] - L'0');
            if (n > 0xFFFF)
                return std::nullopt;
        }
        if (n == 0)
            return std::nullopt;
        return ResName{static_cast<WORD>(n), {}};
    }
    ResName r;
    r.text.reserve(s.size());
    for (const wchar_t c : s)
        r.text.push_back(ToUpperChar(c));
    return r;
}

struct Entry {
    uint32_t module = 0;
    std::vector<uint8_t> bytes; // never changes once added
    uint32_t handle = 0;        // the HRSRC, given at the first FindResource (State::mutex)
};

using LangMap = std::map<WORD, std::shared_ptr<Entry>>;

struct Store {
    std::map<ResName, std::map<ResName, LangMap>> types;
    // Whole strings handed out by pointer (LoadStringW with a zero-sized buffer); a
    // node-based map, so the pointers stay put until the module unloads.
    std::map<UINT, std::wstring> strings;
};

struct State {
    std::mutex mutex;
    std::unordered_map<uint32_t, Store> stores;
    HandleTable<Entry> handles{HandleKind::Resource};
    LANGID preferred = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    std::vector<uint32_t> chain;
    uint32_t resourceHandle = 0; // 0: the executable
};

// Deliberately immortal, like the module table: modules may unload during exit.
State& S()
{
    static State* const state = new State();
    return *state;
}

const uint8_t kEmptyResource = 0;

std::shared_ptr<Entry> PickLanguage(const LangMap& langs, LANGID lang)
{
    if (const auto it = langs.find(lang); it != langs.end())
        return it->second;
    const WORD primary = PRIMARYLANGID(lang);
    if (const auto it = langs.find(MAKELANGID(primary, SUBLANG_NEUTRAL)); it != langs.end())
        return it->second;
    for (const auto& [l, e] : langs)
        if (PRIMARYLANGID(l) == primary)
            return e;
    for (const auto& [l, e] : langs)
        if (PRIMARYLANGID(l) == LANG_NEUTRAL)
            return e;
    return langs.empty() ? nullptr : langs.begin()->second;
}

std::shared_ptr<Entry> LookupLocked(State& s, uint32_t module, const ResName& type, const ResName& name,
    LANGID lang, DWORD& error)
{
    const auto store = s.stores.find(module);
    if (store == s.stores.end()) {
        error = ERROR_RESOURCE_TYPE_NOT_FOUND;
        return nullptr;
    }
    const auto t = store->second.types.find(type);
    if (t == store->second.types.end()) {
        error = ERROR_RESOURCE_TYPE_NOT_FOUND;
        return nullptr;
    }
    const auto n = t->second.find(name);
    if (n == t->second.end()) {
        error = ERROR_RESOURCE_NAME_NOT_FOUND;
        return nullptr;
    }
    auto e = PickLanguage(n->second, lang);
    if (!e)
        error = ERROR_RESOURCE_LANG_NOT_FOUND;
    return e;
}

std::shared_ptr<Entry> Lookup(uint32_t module, const ResName& type, const ResName& name, LANGID lang, DWORD& error)
{
    State& s = S();
    std::lock_guard lock(s.mutex);
    return LookupLocked(s, module, type, name, lang, error);
}

LANGID Preferred()
{
    State& s = S();
    std::lock_guard lock(s.mutex);
    return s.preferred;
}

// Reads string `id` from its block; nullopt when it is absent or empty.
std::optional<std::wstring> ReadString(uint32_t module, UINT id, DWORD& error)
{
    if (id > 0xFFFF) {
        error = ERROR_RESOURCE_NAME_NOT_FOUND;
        return std::nullopt;
    }
    const ResName type{RT_STRING.Id(), {}};
    const ResName block{static_cast<WORD>(id / 16 + 1), {}};
    const auto e = Lookup(module, type, block, Preferred(), error);
    if (!e)
        return std::nullopt;
    const std::span<const uint8_t> bytes(e->bytes);
    size_t pos = 0;
    for (UINT i = 0;; ++i) {
        if (pos + 2 > bytes.size()) {
            error = ERROR_INVALID_DATA; // a block shorter than its entries say
            return std::nullopt;
        }
        const size_t units = bytes[pos] | (bytes[pos + 1] << 8);
        pos += 2;
        if (pos + units * 2 > bytes.size()) {
            error = ERROR_INVALID_DATA;
            return std::nullopt;
        }
        if (i == id % 16) {
            if (units == 0) {
                error = ERROR_RESOURCE_NAME_NOT_FOUND;
                return std::nullopt;
            }
            return FromUtf16LE(bytes.subspan(pos, units * 2));
        }
        pos += units * 2;
    }
}

std::vector<uint32_t> SearchOrder()
{
    const uint32_t exe = detail::ResolveModule(nullptr);
    State& s = S();
    std::vector<uint32_t> order;
    {
        std::lock_guard lock(s.mutex);
        order.reserve(s.chain.size() + 2);
        order.push_back(s.resourceHandle ? s.resourceHandle : exe);
        order.insert(order.end(), s.chain.begin(), s.chain.end());
    }
    order.push_back(exe);
    std::vector<uint32_t> unique;
    for (const uint32_t m : order)
        if (m && std::find(unique.begin(), unique.end(), m) == unique.end())
            unique.push_back(m);
    return unique;
}

enum class AddResult { Added, Exists };

AddResult AddLocked(State& s, uint32_t module, const ResName& type, const ResName& name, WORD lang,
    std::vector<uint8_t>&& bytes, bool dryRun)
{
    auto& langs = s.stores[module].types[type][name];
    if (langs.count(lang))
        return AddResult::Exists;
    if (!dryRun) {
        auto e = std::make_shared<Entry>();
        e->module = module;
        e->bytes = std::move(bytes);
        langs.emplace(lang, std::move(e));
    }
    return AddResult::Added;
}

// A loaded module's table value; 0, with ERROR_INVALID_HANDLE, for a bad handle.
uint32_t ModuleValue(HMODULE module)
{
    const uint32_t value = detail::ResolveModule(module);
    if (!value)
        SetLastError(ERROR_INVALID_HANDLE);
    return value;
}

// The resource behind a handle, which must belong to `module` when one is named; null,
// with ERROR_INVALID_HANDLE, otherwise.
std::shared_ptr<Entry> EntryOf(HMODULE module, HRSRC res)
{
    auto e = S().handles.Get(res);
    if (!e || (module && detail::ResolveModule(module) != e->module)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return e;
}

// After adding to a module that unloaded meanwhile, drops what was added.
bool StillLoaded(HMODULE module, uint32_t value)
{
    if (detail::ResolveModule(module) == value)
        return true;
    detail::OnModuleUnloaded(value);
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
}

} // namespace

std::optional<size_t> ResourceBytesFrom(const void* p)
{
    const auto at = reinterpret_cast<uintptr_t>(p);
    std::lock_guard lock(S().mutex);
    for (const auto& [module, store] : S().stores)
        for (const auto& [type, names] : store.types)
            for (const auto& [name, langs] : names)
                for (const auto& [lang, e] : langs) {
                    if (e->bytes.empty())
                        continue;
                    const auto begin = reinterpret_cast<uintptr_t>(e->bytes.data());
                    if (at >= begin && at < begin + e->bytes.size())
                        return static_cast<size_t>(begin + e->bytes.size() - at);
                }
    return std::nullopt;
}

bool AddResource(HMODULE module, LPCWSTR type, LPCWSTR name, WORD lang, std::vector<uint8_t> bytes)
{
    const auto t = type ? ParseName(type) : std::nullopt;
    const auto n = name ? ParseName(name) : std::nullopt;
    if (!t || !n || bytes.size() > UINT32_MAX) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const uint32_t value = ModuleValue(module);
    if (!value)
        return false;
    {
        State& s = S();
        std::lock_guard lock(s.mutex);
        if (AddLocked(s, value, *t, *n, lang, std::move(bytes), false) == AddResult::Exists) {
            SetLastError(ERROR_ALREADY_EXISTS);
            return false;
        }
    }
    return StillLoaded(module, value);
}

std::map<WORD, std::vector<uint8_t>> BuildStringBlock(const std::map<UINT, std::wstring>& strings)
{
    std::map<WORD, std::array<const std::wstring*, 16>> blocks;
    for (const auto& [id, text] : strings) {
        if (id > 0xFFFF)
            throw std::invalid_argument("string ID " + std::to_string(id) + " is above 65535");
        if (Utf16Length(text) > 0xFFFF)
            throw std::invalid_argument("string " + std::to_string(id) + " is longer than 65535 UTF-16 units");
        // try_emplace value-initialises a new block: 16 absent entries.
        blocks.try_emplace(static_cast<WORD>(id / 16 + 1)).first->second[id % 16] = &text;
    }
    std::map<WORD, std::vector<uint8_t>> out;
    for (const auto& [blockId, entries] : blocks) {
        std::vector<uint8_t> bytes;
        for (const std::wstring* text : entries) {
            const size_t units = text ? Utf16Length(*text) : 0;
            bytes.push_back(static_cast<uint8_t>(units & 0xFF));
            bytes.push_back(static_cast<uint8_t>(units >> 8));
            if (text)
                AppendUtf16LE(bytes, *text);
        }
        out.emplace(blockId, std::move(bytes));
    }
    return out;
}

bool AddStringTable(HMODULE module, const std::map<UINT, std::wstring>& strings, WORD lang)
{
    std::map<WORD, std::vector<uint8_t>> blocks;
    try {
        blocks = BuildStringBlock(strings);
    } catch (const std::invalid_argument&) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const uint32_t value = ModuleValue(module);
    if (!value)
        return false;
    const ResName type{RT_STRING.Id(), {}};
    {
        State& s = S();
        std::lock_guard lock(s.mutex);
        for (auto& [id, bytes] : blocks) {
            if (AddLocked(s, value, type, ResName{id, {}}, lang, {}, true) == AddResult::Exists) {
                SetLastError(ERROR_ALREADY_EXISTS);
                return false;
            }
        }
        for (auto& [id, bytes] : blocks)
            AddLocked(s, value, type, ResName{id, {}}, lang, std::move(bytes), false);
    }
    return StillLoaded(module, value);
}

std::optional<std::wstring> LoadResourceString(HINSTANCE module, UINT id)
{
    const uint32_t value = ModuleValue(module);
    if (!value)
        return std::nullopt;
    DWORD error = ERROR_SUCCESS;
    auto text = ReadString(value, id, error);
    if (!text)
        SetLastError(error);
    return text;
}

void SetPreferredResourceLanguage(LANGID lang)
{
    State& s = S();
    std::lock_guard lock(s.mutex);
    s.preferred = lang;
}

LANGID PreferredResourceLanguage() { return Preferred(); }

bool ResourceChain::AddToChain(HMODULE module, Position position)
{
    const uint32_t value = module ? detail::ResolveModule(module) : 0;
    if (!value) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    {
        State& s = S();
        std::lock_guard lock(s.mutex);
        if (std::find(s.chain.begin(), s.chain.end(), value) != s.chain.end()) {
            SetLastError(ERROR_ALREADY_EXISTS);
            return false;
        }
        if (position == Position::Front)
            s.chain.insert(s.chain.begin(), value);
        else
            s.chain.push_back(value);
    }
    if (detail::ResolveModule(module) != value) { // unloaded meanwhile
        RemoveFromChain(module);
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return true;
}

bool ResourceChain::RemoveFromChain(HMODULE module)
{
    const uint32_t value = HandleValue(module);
    State& s = S();
    std::lock_guard lock(s.mutex);
    const auto it = std::find(s.chain.begin(), s.chain.end(), value);
    if (!value || it == s.chain.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    s.chain.erase(it);
    return true;
}

std::vector<HMODULE> ResourceChain::Modules()
{
    State& s = S();
    std::lock_guard lock(s.mutex);
    std::vector<HMODULE> out;
    out.reserve(s.chain.size());
    for (const uint32_t v : s.chain)
        out.push_back(MakeHandle<HMODULE>(v));
    return out;
}

void ResourceChain::Clear()
{
    State& s = S();
    std::lock_guard lock(s.mutex);
    s.chain.clear();
    s.resourceHandle = 0;
}

namespace detail {

void OnModuleUnloaded(uint32_t module)
{
    State& s = S();
    Store doomed; // destroyed outside the lock
    {
        std::lock_guard lock(s.mutex);
        const auto it = s.stores.find(module);
        if (it != s.stores.end()) {
            doomed = std::move(it->second);
            s.stores.erase(it);
            for (const auto& [type, names] : doomed.types)
                for (const auto& [name, langs] : names)
                    for (const auto& [lang, e] : langs)
                        if (e->handle)
                            s.handles.Remove(e->handle);
        }
        std::erase(s.chain, module);
        if (s.resourceHandle == module)
            s.resourceHandle = 0;
    }
}

} // namespace detail
} // namespace zyn::base

using namespace zyn::base;

HRSRC FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType)
{
    return FindResourceExW(hModule, lpType, lpName, Preferred());
}

HRSRC FindResourceExW(HMODULE hModule, LPCWSTR lpType, LPCWSTR lpName, WORD wLanguage)
{
    const auto t = lpType ? ParseName(lpType) : std::nullopt;
    const auto n = lpName ? ParseName(lpName) : std::nullopt;
    if (!t || !n) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const uint32_t module = ModuleValue(hModule);
    if (!module)
        return nullptr;
    State& s = S();
    std::lock_guard lock(s.mutex);
    DWORD error = ERROR_SUCCESS;
    const auto e = LookupLocked(s, module, *t, *n, wLanguage, error);
    if (!e) {
        SetLastError(error);
        return nullptr;
    }
    // Handles are given on first use, so a module costs table slots only for the
    // resources that are looked up, and each resource keeps one handle.
    if (!e->handle) {
        e->handle = s.handles.Add(e);
        if (!e->handle) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
    }
    return MakeHandle<HRSRC>(e->handle);
}

HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo)
{
    if (!EntryOf(hModule, hResInfo))
        return nullptr;
    // The data handle is the resource handle itself: LockResource resolves it, and it
    // goes stale with its module.
    return MakeHandle<HGLOBAL>(HandleValue(hResInfo));
}

LPVOID LockResource(HGLOBAL hResData)
{
    const auto e = S().handles.Get(HandleValue(hResData));
    if (!e) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return const_cast<uint8_t*>(e->bytes.empty() ? &kEmptyResource : e->bytes.data());
}

DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo)
{
    const auto e = EntryOf(hModule, hResInfo);
    return e ? static_cast<DWORD>(e->bytes.size()) : 0;
}

BOOL FreeResource(HGLOBAL) { return FALSE; }

int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax)
{
    if (!lpBuffer || cchBufferMax < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const uint32_t module = ModuleValue(hInstance);
    std::optional<std::wstring> text;
    if (module) {
        DWORD error = ERROR_SUCCESS;
        text = ReadString(module, uID, error);
        if (!text)
            SetLastError(error);
    }
    if (cchBufferMax == 0) {
        if (!text)
            return 0;
        State& s = S();
        std::lock_guard lock(s.mutex);
        const auto store = s.stores.find(module);
        if (store == s.stores.end()) { // unloaded meanwhile
            SetLastError(ERROR_INVALID_HANDLE);
            return 0;
        }
        const auto& kept = store->second.strings.try_emplace(uID, std::move(*text)).first->second;
        const wchar_t* p = kept.c_str();
        std::memcpy(lpBuffer, &p, sizeof p); // the buffer is really an LPCWSTR*, maybe unaligned
        return static_cast<int>(std::min<size_t>(kept.size(), INT_MAX));
    }
    if (!text) {
        lpBuffer[0] = L'\0';
        return 0;
    }
    const size_t n = std::min(text->size(), static_cast<size_t>(cchBufferMax - 1));
    text->copy(lpBuffer, n);
    lpBuffer[n] = L'\0';
    return static_cast<int>(n);
}

HINSTANCE AfxGetResourceHandle()
{
    State& s = S();
    {
        std::lock_guard lock(s.mutex);
        if (s.resourceHandle)
            return MakeHandle<HINSTANCE>(s.resourceHandle);
    }
    return MakeHandle<HINSTANCE>(detail::ResolveModule(nullptr));
}

void AfxSetResourceHandle(HINSTANCE hInstResource)
{
    const uint32_t value = hInstResource ? detail::ResolveModule(hInstResource) : 0;
    if (hInstResource && !value) {
        SetLastError(ERROR_INVALID_HANDLE); // a stale module is not installed
        return;
    }
    State& s = S();
    std::lock_guard lock(s.mutex);
    s.resourceHandle = value;
}

HINSTANCE AfxFindResourceHandle(LPCWSTR lpszName, LPCWSTR lpszType)
{
    const auto t = lpszType ? ParseName(lpszType) : std::nullopt;
    const auto n = lpszName ? ParseName(lpszName) : std::nullopt;
    if (t && n) {
        const LANGID lang = Preferred();
        for (const uint32_t m : SearchOrder()) {
            DWORD error = ERROR_SUCCESS;
            if (Lookup(m, *t, *n, lang, error))
                return MakeHandle<HINSTANCE>(m);
        }
    }
    return AfxGetResourceHandle();
}

HINSTANCE AfxFindStringResourceHandle(UINT nID)
{
    DWORD error = ERROR_RESOURCE_NAME_NOT_FOUND;
    for (const uint32_t m : SearchOrder())
        if (ReadString(m, nID, error))
            return MakeHandle<HINSTANCE>(m);
    SetLastError(error);
    return nullptr;
}

int AfxLoadString(UINT nID, LPWSTR lpszBuf, UINT nMaxBuf)
{
    if (!lpszBuf || nMaxBuf == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const HINSTANCE h = AfxFindStringResourceHandle(nID);
    if (!h) {
        lpszBuf[0] = L'\0';
        return 0;
    }
    return LoadStringW(h, nID, lpszBuf, static_cast<int>(std::min<UINT>(nMaxBuf, INT_MAX)));
}

// ---- CString's resource loaders -----------------------------------------------------

template <class C>
BOOL CStringT<C>::LoadString(HINSTANCE hInstance, UINT nID)
{
    auto text = LoadResourceString(hInstance, nID);
    if (!text) {
        Empty();
        return FALSE;
    }
    if constexpr (std::is_same_v<C, wchar_t>)
        m_str = std::move(*text);
    else
        m_str = WideToAnsi(*text);
    return TRUE;
}

template <class C>
BOOL CStringT<C>::LoadString(UINT nID)
{
    const HINSTANCE h = AfxFindStringResourceHandle(nID);
    if (!h) {
        Empty();
        return FALSE;
    }
    return LoadString(h, nID);
}

template BOOL CStringT<wchar_t>::LoadString(UINT);
template BOOL CStringT<wchar_t>::LoadString(HINSTANCE, UINT);
template BOOL CStringT<char>::LoadString(UINT);
template BOOL CStringT<char>::LoadString(HINSTANCE, UINT);
