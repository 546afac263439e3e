// Fuzz target: menu templates (MENU and MENUEX) and accelerator tables as resources
// hold them. The same bytes go to both loaders. A menu that loads must have exactly the
// tree that a plain reading of the template gives (items, submenus, command IDs, text,
// help IDs); an accelerator table that loads must hold the entries up to the one
// flagged last. A template that does not load must leave nothing behind.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/base/utf16.h"
#include "platform/user/accel.h"
#include "platform/user/menu.h"

namespace {

struct Item {
    bool popup = false;
    uint32_t id = 0;     // command (items that open no submenu; MENUEX: every item)
    uint32_t helpId = 0; // MENUEX submenus
    std::wstring text;
    std::vector<Item> children;
};

// The template read independently of the loader: little-endian words, terminated
// UTF-16 strings, MENUEX items on 4-byte boundaries of the template.
class Reader {
public:
    explicit Reader(std::span<const uint8_t> b) : m_b(b) {}
    bool W(uint32_t& v)
    {
        if (m_pos + 2 > m_b.size())
            return false;
        v = m_b[m_pos] | (m_b[m_pos + 1] << 8);
        m_pos += 2;
        return true;
    }
    bool D(uint32_t& v)
    {
        uint32_t lo = 0, hi = 0;
        if (!W(lo) || !W(hi))
            return false;
        v = lo | (hi << 16);
        return true;
    }
    bool Str(std::wstring& out)
    {
        std::u16string units;
        for (uint32_t u = 0; W(u);) {
            if (u == 0) {
                out = zyn::base::FromUtf16(units);
                return true;
            }
            units.push_back(static_cast<char16_t>(u));
        }
        return false;
    }
    void Align4() { m_pos = std::min(m_b.size(), (m_pos + 3) & ~size_t{3}); }
    bool AtEnd() const { return m_pos >= m_b.size(); }
    std::span<const uint8_t> m_b;
    size_t m_pos = 0;
};

bool Items(Reader& r, std::vector<Item>& out, int depth)
{
    for (;;) {
        Item it;
        uint32_t flags = 0;
        if (!r.W(flags))
            return false;
        it.popup = (flags & MF_POPUP) != 0;
        if ((!it.popup && !r.W(it.id)) || !r.Str(it.text))
            return false;
        if (flags & MF_SEPARATOR)
            it.text.clear(); // an appended separator takes no text (a MENUEX one keeps it)
        if (it.popup && (depth >= 64 || !Items(r, it.children, depth + 1)))
            return false;
        out.push_back(std::move(it));
        if (flags & MF_END)
            return true;
    }
}

bool ExItems(Reader& r, std::vector<Item>& out, int depth)
{
    for (;;) {
        Item it;
        uint32_t type = 0, state = 0, info = 0;
        r.Align4();
        if (!r.D(type) || !r.D(state) || !r.D(it.id) || !r.W(info) || !r.Str(it.text))
            return false;
        r.Align4();
        it.popup = (info & 0x01) != 0;
        if (it.popup && (depth >= 64 || !r.D(it.helpId) || !ExItems(r, it.children, depth + 1)))
            return false;
        out.push_back(std::move(it));
        if (info & 0x80)
            return true;
    }
}

std::optional<Item> ReadTemplate(std::span<const uint8_t> bytes)
{
    Reader r(bytes);
    uint32_t version = 0, offset = 0;
    if (!r.W(version) || !r.W(offset) || version > 1)
        return std::nullopt;
    Item root;
    root.popup = true;
    if (version == 1 && offset >= 4)
        r.D(root.helpId);
    r.m_pos = 4 + offset;
    if (r.AtEnd())
        return root;
    const bool ok = version == 0 ? Items(r, root.children, 0) : ExItems(r, root.children, 0);
    return ok ? std::optional<Item>(std::move(root)) : std::nullopt;
}

void Compare(HMENU menu, const Item& want, bool ex)
{
    if (ex && GetMenuContextHelpId(menu) != want.helpId)
        std::abort();
    if (GetMenuItemCount(menu) != static_cast<int>(want.children.size()))
        std::abort();
    for (size_t i = 0; i < want.children.size(); ++i) {
        const Item& w = want.children[i];
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii))
            std::abort();
        std::wstring text(mii.cch + 1, L'\0');
        mii.dwTypeData = text.data();
        mii.cch = static_cast<UINT>(text.size());
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii))
            std::abort();
        text.resize(mii.cch);
        if (text != w.text || (mii.hSubMenu != nullptr) != w.popup)
            std::abort();
        if ((ex || !w.popup) && mii.wID != w.id)
            std::abort();
        if (w.popup)
            Compare(mii.hSubMenu, w, ex);
    }
}

void CheckAccelerators(std::span<const uint8_t> bytes)
{
    std::vector<ACCEL> want;
    bool complete = false;
    for (size_t pos = 0; pos + 8 <= bytes.size() && !complete; pos += 8) {
        const unsigned flags = bytes[pos] | (bytes[pos + 1] << 8);
        want.push_back(ACCEL{static_cast<BYTE>(flags & (FVIRTKEY | FNOINVERT | FSHIFT | FCONTROL | FALT)),
            static_cast<WORD>(bytes[pos + 2] | (bytes[pos + 3] << 8)),
            static_cast<WORD>(bytes[pos + 4] | (bytes[pos + 5] << 8))});
        complete = (flags & 0x80) != 0;
    }
    const HACCEL table = zyn::user::AcceleratorsFromResource(bytes.data(), bytes.size());
    if (!complete) {
        if (table)
            std::abort(); // a table whose last entry is missing must be refused
        return;
    }
    if (!table || CopyAcceleratorTableW(table, nullptr, 0) != static_cast<int>(want.size()))
        std::abort();
    std::vector<ACCEL> got(want.size());
    if (CopyAcceleratorTableW(table, got.data(), static_cast<int>(got.size())) != static_cast<int>(got.size()))
        std::abort();
    for (size_t i = 0; i < want.size(); ++i)
        if (got[i].fVirt != want[i].fVirt || got[i].key != want[i].key || got[i].cmd != want[i].cmd)
            std::abort();
    if (!DestroyAcceleratorTable(table))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    if (const HMENU menu = zyn::user::LoadMenuFromTemplate(bytes)) {
        const std::optional<Item> want = ReadTemplate(bytes);
        if (!want)
            std::abort(); // loaded what a plain reading says is malformed
        Compare(menu, *want, size >= 2 && data[0] == 1);
        if (!DestroyMenu(menu) || IsMenu(menu))
            std::abort();
    }
    CheckAccelerators(bytes);
    return 0;
}
