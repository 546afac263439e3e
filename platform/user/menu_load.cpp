// Menus from MENU and MENUEX templates.
#include <limits>
#include <string>

#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/base/utf16.h"
#include "platform/user/menu.h"

namespace zyn::user {
namespace {

constexpr int kMaxDepth = 64;
constexpr size_t kMaxTextUnits = 0xFFFF;

// Little-endian fields of a template; `size` bounds every read (SIZE_MAX when unknown).
class TemplateReader {
public:
    TemplateReader(const uint8_t* base, size_t size) : m_base(base), m_size(size) {}

    bool AtEnd() const { return m_pos >= m_size; }
    bool W(uint16_t& v)
    {
        if (m_pos > m_size || m_size - m_pos < 2)
            return false;
        v = static_cast<uint16_t>(m_base[m_pos] | (m_base[m_pos + 1] << 8));
        m_pos += 2;
        return true;
    }
    bool D(uint32_t& v)
    {
        uint16_t lo = 0, hi = 0;
        if (!W(lo) || !W(hi))
            return false;
        v = lo | (static_cast<uint32_t>(hi) << 16);
        return true;
    }
    // A terminated UTF-16 string.
    bool Str(std::wstring& out)
    {
        std::u16string units;
        for (;;) {
            uint16_t u = 0;
            if (!W(u) || units.size() > kMaxTextUnits)
                return false;
            if (u == 0)
                break;
            units.push_back(static_cast<char16_t>(u));
        }
        out = base::FromUtf16(units);
        return true;
    }
    void Align4()
    {
        while (m_pos % 4 && m_pos < m_size)
            ++m_pos;
    }
    void Seek(size_t pos) { m_pos = pos; }

private:
    const uint8_t* m_base;
    size_t m_size;
    size_t m_pos = 0;
};

// Flags a template item may carry: no pointers (bitmaps, owner-drawn values) can be in one.
constexpr UINT kTemplateFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBARBREAK | MF_MENUBREAK | MF_HELP |
    MF_SEPARATOR | MF_DEFAULT | MFT_RIGHTORDER;

bool ParseItems(TemplateReader& r, HMENU menu, int depth)
{
    for (;;) {
        uint16_t flags = 0, id = 0;
        std::wstring text;
        if (!r.W(flags))
            return false;
        const bool popup = (flags & MF_POPUP) != 0;
        if (!popup && !r.W(id))
            return false;
        if (!r.Str(text))
            return false;
        const UINT f = flags & kTemplateFlags;
        if (popup) {
            if (depth >= kMaxDepth)
                return false;
            const HMENU sub = CreatePopupMenu();
            if (!sub)
                return false;
            if (!ParseItems(r, sub, depth + 1) || !AppendMenuW(menu, f | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str())) {
                DestroyMenu(sub);
                return false;
            }
        } else {
            // No text: a separator (the form a template gives MENUITEM SEPARATOR).
            if (!AppendMenuW(menu, f, id, text.empty() ? nullptr : text.c_str()))
                return false;
        }
        if (flags & MF_END)
            return true;
    }
}

bool ParseExItems(TemplateReader& r, HMENU menu, int depth)
{
    for (;;) {
        r.Align4();
        uint32_t type = 0, state = 0, id = 0;
        uint16_t info = 0;
        std::wstring text;
        if (!r.D(type) || !r.D(state) || !r.D(id) || !r.W(info) || !r.Str(text))
            return false;
        r.Align4();
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE;
        mii.fType = type & ~(MFT_BITMAP | MFT_OWNERDRAW);
        mii.fState = state;
        mii.wID = id;
        if (!text.empty()) {
            mii.fMask |= MIIM_STRING;
            mii.dwTypeData = text.data();
        }
        HMENU sub = nullptr;
        if (info & 0x01) {
            uint32_t helpId = 0;
            if (depth >= kMaxDepth || !r.D(helpId))
                return false;
            sub = CreatePopupMenu();
            if (!sub)
                return false;
            SetMenuContextHelpId(sub, helpId);
            if (!ParseExItems(r, sub, depth + 1)) {
                DestroyMenu(sub);
                return false;
            }
            mii.fMask |= MIIM_SUBMENU;
            mii.hSubMenu = sub;
        }
        if (!InsertMenuItemW(menu, static_cast<UINT>(-1), TRUE, &mii)) {
            if (sub)
                DestroyMenu(sub);
            return false;
        }
        if (info & 0x80)
            return true;
    }
}

HMENU Parse(const uint8_t* data, size_t size)
{
    TemplateReader r(data, size);
    uint16_t version = 0, offset = 0;
    if (!r.W(version) || !r.W(offset) || version > 1) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    const HMENU menu = CreateMenu();
    if (!menu)
        return nullptr;
    bool ok;
    if (version == 0) {
        r.Seek(4 + static_cast<size_t>(offset));
        ok = r.AtEnd() || ParseItems(r, menu, 0); // a template may hold no items at all
    } else {
        uint32_t helpId = 0;
        if (offset >= 4 && r.D(helpId))
            SetMenuContextHelpId(menu, helpId);
        r.Seek(4 + static_cast<size_t>(offset));
        ok = r.AtEnd() || ParseExItems(r, menu, 0);
    }
    if (!ok) {
        DestroyMenu(menu);
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return menu;
}

} // namespace

HMENU LoadMenuFromTemplate(std::span<const uint8_t> bytes) { return Parse(bytes.data(), bytes.size()); }

} // namespace zyn::user

HMENU LoadMenuW(HINSTANCE hInstance, LPCWSTR lpMenuName)
{
    const HRSRC res = FindResourceW(hInstance, lpMenuName, RT_MENU);
    if (!res)
        return nullptr;
    const HGLOBAL handle = LoadResource(hInstance, res);
    const auto* data = static_cast<const uint8_t*>(LockResource(handle));
    if (!data)
        return nullptr;
    return zyn::user::LoadMenuFromTemplate(std::span<const uint8_t>(data, SizeofResource(hInstance, res)));
}

HMENU LoadMenuIndirectW(const MENUTEMPLATEW* lpMenuTemplate)
{
    if (!lpMenuTemplate) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return zyn::user::Parse(static_cast<const uint8_t*>(lpMenuTemplate), std::numeric_limits<size_t>::max());
}
