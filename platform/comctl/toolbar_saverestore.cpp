// TB_SAVERESTORE: the toolbar's items saved to and restored from one binary registry
// value in our own format (written down in toolbar.h). Decoding checks the whole value
// before anything is changed, so a damaged value leaves the toolbar as it was.
#include <algorithm>
#include <set>

#include "platform/base/codepage.h"
#include "platform/base/lasterror.h"
#include "platform/base/registry.h"
#include "platform/comctl/toolbar_state.h"
#include "platform/gdi/rect.h"

namespace zyn::comctl::tb {

namespace {

constexpr uint8_t kMagic[4] = {'Z', 'T', 'B', 'S'};
constexpr uint16_t kVersion = 1;
constexpr size_t kHeader = 12;
constexpr size_t kRecord = 12;
constexpr BYTE kButtonOnlyStyles = BTNS_CHECK | BTNS_GROUP | BTNS_DROPDOWN | BTNS_WHOLEDROPDOWN;

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        out.push_back(static_cast<uint8_t>(v >> (8 * k)));
}

uint32_t Get32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
        static_cast<uint32_t>(p[3]) << 24;
}

struct Params {
    HKEY hkr = nullptr;
    std::wstring subKey;
    std::wstring valueName;
    bool hasValueName = false;
};

std::optional<Params> ReadParams(const void* params, bool ansi)
{
    if (!params)
        return std::nullopt;
    Params p;
    if (ansi) {
        const auto* in = static_cast<const TBSAVEPARAMSA*>(params);
        p.hkr = in->hkr;
        if (in->pszSubKey)
            p.subKey = zyn::base::AnsiToWide(in->pszSubKey);
        if (in->pszValueName) {
            p.valueName = zyn::base::AnsiToWide(in->pszValueName);
            p.hasValueName = true;
        }
    } else {
        const auto* in = static_cast<const TBSAVEPARAMSW*>(params);
        p.hkr = in->hkr;
        if (in->pszSubKey)
            p.subKey = in->pszSubKey;
        if (in->pszValueName) {
            p.valueName = in->pszValueName;
            p.hasValueName = true;
        }
    }
    if (!p.hkr)
        return std::nullopt;
    return p;
}

class Key {
public:
    Key() = default;
    ~Key()
    {
        if (m_key)
            ::RegCloseKey(m_key);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY* Out() { return &m_key; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

LRESULT Save(ToolbarState& s, const Params& p)
{
    std::vector<SavedItem> items;
    items.reserve(s.buttons.size());
    for (const Button& b : s.buttons)
        items.push_back(SavedItem{b.command, b.image, static_cast<BYTE>(b.state & ~TBSTATE_PRESSED), b.style});
    if (items.size() > static_cast<size_t>(kMaxSavedItems))
        return FALSE;
    const std::vector<uint8_t> bytes = EncodeSavedState(items);
    Key key;
    if (::RegCreateKeyExW(p.hkr, p.subKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.Out(), nullptr) !=
        ERROR_SUCCESS)
        return FALSE;
    return ::RegSetValueExW(key.Get(), p.hasValueName ? p.valueName.c_str() : nullptr, 0, REG_BINARY, bytes.data(),
               static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS
        ? TRUE
        : FALSE;
}

LRESULT Restore(ToolbarState& s, const Params& p)
{
    Key key;
    if (::RegOpenKeyExW(p.hkr, p.subKey.c_str(), 0, KEY_READ, key.Out()) != ERROR_SUCCESS)
        return FALSE;
    const LPCWSTR name = p.hasValueName ? p.valueName.c_str() : nullptr;
    DWORD type = 0, size = 0;
    if (::RegQueryValueExW(key.Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_BINARY)
        return FALSE;
    if (size > kHeader + kRecord * static_cast<size_t>(kMaxSavedItems))
        return FALSE;
    std::vector<uint8_t> bytes(size);
    if (::RegQueryValueExW(key.Get(), name, nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS)
        return FALSE;
    bytes.resize(size);
    const auto items = DecodeSavedState(bytes);
    if (!items)
        return FALSE;
    std::optional<std::vector<Button>> offered;
    std::vector<Button> result;
    result.reserve(items->size());
    for (const SavedItem& item : *items) {
        Button b;
        if (item.style & BTNS_SEP) {
            b.command = item.command;
            b.image = item.bitmap;
        } else {
            const int have = IndexOfCommand(s, item.command);
            if (have >= 0) {
                b = s.buttons[static_cast<size_t>(have)];
            } else {
                if (!offered) {
                    offered = OfferedButtons(s);
                    if (s.destroyed)
                        return FALSE;
                }
                auto it = std::find_if(offered->begin(), offered->end(),
                    [&](const Button& o) { return !o.IsSeparator() && o.command == item.command; });
                if (it == offered->end())
                    continue; // a command this toolbar no longer knows
                b = *it;
            }
            b.image = item.bitmap;
        }
        b.state = item.state;
        b.style = item.style;
        result.push_back(std::move(b));
    }
    // No more buttons than the toolbar's command set (the distinct commands it can show),
    // and no more separators than one beside each: anything beyond is no saved state of
    // this toolbar (a damaged one held 4,096 copies of one button).
    std::set<int> commands;
    size_t buttons = 0;
    for (const Button& b : result) {
        if (!b.IsSeparator()) {
            ++buttons;
            commands.insert(b.command);
        }
    }
    if (buttons > commands.size() || result.size() - buttons > commands.size() + 1) {
        ::SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CancelMouse(s);
    s.buttons = std::move(result);
    s.hot = -1;
    s.mark = TBINSERTMARK{-1, 0};
    Changed(s);
    return TRUE;
}

} // namespace

std::vector<uint8_t> EncodeSavedState(std::span<const SavedItem> items)
{
    std::vector<uint8_t> out(kMagic, kMagic + 4);
    out.push_back(static_cast<uint8_t>(kVersion & 0xFF));
    out.push_back(static_cast<uint8_t>(kVersion >> 8));
    out.push_back(0);
    out.push_back(0);
    Put32(out, static_cast<uint32_t>(items.size()));
    for (const SavedItem& item : items) {
        Put32(out, static_cast<uint32_t>(item.command));
        Put32(out, static_cast<uint32_t>(item.bitmap));
        out.push_back(item.state);
        out.push_back(item.style);
        out.push_back(0);
        out.push_back(0);
    }
    return out;
}

std::optional<std::vector<SavedItem>> DecodeSavedState(std::span<const uint8_t> bytes)
{
    if (bytes.size() < kHeader || !std::equal(kMagic, kMagic + 4, bytes.begin()))
        return std::nullopt;
    const uint16_t version = static_cast<uint16_t>(bytes[4] | bytes[5] << 8);
    if (version != kVersion || bytes[6] != 0 || bytes[7] != 0)
        return std::nullopt;
    const uint32_t count = Get32(bytes.data() + 8);
    if (count > static_cast<uint32_t>(kMaxSavedItems) || bytes.size() != kHeader + kRecord * count)
        return std::nullopt;
    std::vector<SavedItem> items;
    items.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* p = bytes.data() + kHeader + kRecord * i;
        SavedItem item{static_cast<int32_t>(Get32(p)), static_cast<int32_t>(Get32(p + 4)), p[8], p[9]};
        if (p[10] != 0 || p[11] != 0)
            return std::nullopt;
        if ((item.style & BTNS_SEP) && (item.style & kButtonOnlyStyles))
            return std::nullopt;
        items.push_back(item);
    }
    return items;
}

LRESULT SaveRestore(ToolbarState& s, bool save, const void* params, bool ansi)
{
    const auto p = ReadParams(params, ansi);
    if (!p)
        return FALSE;
    return save ? Save(s, *p) : Restore(s, *p);
}

} // namespace zyn::comctl::tb
