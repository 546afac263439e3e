#include "platform/user/atoms.h"

#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/base/namefold.h"

namespace zyn::user {
namespace {

struct AtomTable {
    std::mutex m;
    std::vector<std::wstring> names;                 // index = atom - kFirstStringAtom
    std::unordered_map<std::wstring, ATOM> byFolded; // folded name -> atom
};

AtomTable& Table()
{
    static AtomTable t;
    return t;
}

constexpr size_t kMaxAtoms = 0x10000 - kFirstStringAtom;
constexpr size_t kMaxNameLength = 255; // as on Windows

} // namespace

ATOM AddAtomName(std::wstring_view name)
{
    if (name.empty() || name.size() > kMaxNameLength) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    AtomTable& t = Table();
    std::wstring folded = base::FoldName(name);
    std::lock_guard lock(t.m);
    if (auto it = t.byFolded.find(folded); it != t.byFolded.end())
        return it->second;
    if (t.names.size() >= kMaxAtoms) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    const auto atom = static_cast<ATOM>(kFirstStringAtom + t.names.size());
    t.names.emplace_back(name);
    t.byFolded.emplace(std::move(folded), atom);
    return atom;
}

ATOM FindAtomName(std::wstring_view name)
{
    AtomTable& t = Table();
    const std::wstring folded = base::FoldName(name);
    std::lock_guard lock(t.m);
    auto it = t.byFolded.find(folded);
    return it == t.byFolded.end() ? 0 : it->second;
}

std::wstring AtomName(ATOM atom)
{
    AtomTable& t = Table();
    std::lock_guard lock(t.m);
    if (atom < kFirstStringAtom || static_cast<size_t>(atom - kFirstStringAtom) >= t.names.size())
        return {};
    return t.names[atom - kFirstStringAtom];
}

ATOM IntegerAtomOf(std::wstring_view name)
{
    if (name.size() < 2 || name.size() > 6 || name[0] != L'#')
        return 0;
    uint32_t v = 0;
    for (const wchar_t c : name.substr(1)) {
        if (c < L'0' || c > L'9')
            return 0;
        v = v * 10 + static_cast<uint32_t>(c - L'0');
    }
    return v >= 1 && v <= kMaxIntegerAtom ? static_cast<ATOM>(v) : 0;
}

std::wstring IntegerAtomName(ATOM atom)
{
    if (atom < 1 || atom > kMaxIntegerAtom)
        return {};
    return L"#" + std::to_wstring(atom);
}

} // namespace zyn::user
