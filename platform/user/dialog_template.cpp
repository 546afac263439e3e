// Reading dialog templates within their bytes.
#include "platform/user/dialog_template.h"

#include <string>

#include "platform/base/utf16.h"
#include "platform/user/dialog.h"

namespace zyn::user {
namespace {

// A bounds-checked little-endian cursor. The first failure is kept with its offset.
class Cursor {
public:
    explicit Cursor(std::span<const uint8_t> bytes) : m_b(bytes) {}

    bool Ok() const { return m_error.empty(); }
    const std::string& Error() const { return m_error; }
    size_t Pos() const { return m_pos; }

    void Fail(const std::string& what)
    {
        if (m_error.empty())
            m_error = what + " at offset " + std::to_string(m_pos);
    }
    bool Need(size_t n, const char* what)
    {
        if (!Ok())
            return false;
        if (n > m_b.size() - m_pos) {
            Fail(std::string("the template ends inside ") + what);
            return false;
        }
        return true;
    }
    uint8_t U8(const char* what)
    {
        if (!Need(1, what))
            return 0;
        return m_b[m_pos++];
    }
    uint16_t U16(const char* what)
    {
        if (!Need(2, what))
            return 0;
        const auto v = static_cast<uint16_t>(m_b[m_pos] | (m_b[m_pos + 1] << 8));
        m_pos += 2;
        return v;
    }
    uint32_t U32(const char* what)
    {
        const uint32_t lo = U16(what);
        return lo | (static_cast<uint32_t>(U16(what)) << 16);
    }
    short I16(const char* what) { return static_cast<short>(U16(what)); }
    // A terminated UTF-16 string.
    std::wstring Str(const char* what)
    {
        const size_t start = m_pos;
        for (;;) {
            if (!Need(2, what))
                return {};
            const uint16_t c = U16(what);
            if (c == 0)
                break;
        }
        return base::FromUtf16LE(m_b.subspan(start, m_pos - start - 2));
    }
    NameOrOrdinal NameOrOrd(const char* what)
    {
        NameOrOrdinal v;
        const size_t start = m_pos;
        const uint16_t first = U16(what);
        if (!Ok() || first == 0)
            return v;
        if (first == 0xFFFF) {
            v.ordinal = U16(what);
            if (Ok() && v.ordinal == 0)
                Fail(std::string("ordinal 0 in ") + what);
            return v;
        }
        m_pos = start;
        v.name = Str(what);
        return v;
    }
    void AlignTo(size_t n, const char* what)
    {
        const size_t pad = (n - m_pos % n) % n;
        if (Need(pad, what))
            m_pos += pad;
    }
    std::span<const uint8_t> Take(size_t n, const char* what)
    {
        if (!Need(n, what))
            return {};
        const auto s = m_b.subspan(m_pos, n);
        m_pos += n;
        return s;
    }
    std::span<const uint8_t> From(size_t start) const { return m_b.subspan(start, m_pos - start); }

private:
    std::span<const uint8_t> m_b;
    size_t m_pos = 0;
    std::string m_error;
};

bool ReadItem(Cursor& c, bool extended, DialogItemTemplate& it)
{
    c.AlignTo(4, "an item's alignment");
    if (extended) {
        it.helpId = c.U32("an item's help ID");
        it.exStyle = c.U32("an item's extended style");
        it.style = c.U32("an item's style");
    } else {
        it.style = c.U32("an item's style");
        it.exStyle = c.U32("an item's extended style");
    }
    it.x = c.I16("an item's rectangle");
    it.y = c.I16("an item's rectangle");
    it.cx = c.I16("an item's rectangle");
    it.cy = c.I16("an item's rectangle");
    it.id = extended ? c.U32("an item's ID") : c.U16("an item's ID");
    it.cls = c.NameOrOrd("an item's class");
    it.title = c.NameOrOrd("an item's title");
    const size_t sizeAt = c.Pos();
    const uint16_t size = c.U16("an item's creation data size");
    if (!c.Ok())
        return false;
    if (it.cls.Empty()) {
        c.Fail("an item without a class");
        return false;
    }
    // The classic size counts its own word; the extended one counts only the data.
    size_t data = size;
    if (!extended && size != 0) {
        if (size < 2) {
            c.Fail("creation data shorter than its size word");
            return false;
        }
        data = size - 2u;
    }
    c.Take(data, "an item's creation data");
    if (!c.Ok())
        return false;
    if (size != 0)
        it.creationData = c.From(sizeAt);
    return true;
}

} // namespace

std::optional<DialogTemplate> ParseDialogTemplate(std::span<const uint8_t> bytes, std::string* error)
{
    Cursor c(bytes);
    DialogTemplate t;
    const uint16_t w0 = c.U16("the header");
    const uint16_t w1 = c.U16("the header");
    if (c.Ok() && w1 == 0xFFFF) {
        if (w0 != 1) {
            c.Fail("an extended template of version " + std::to_string(w0));
        } else {
            t.extended = true;
            t.helpId = c.U32("the header");
            t.exStyle = c.U32("the header");
            t.style = c.U32("the header");
        }
    } else {
        t.style = static_cast<DWORD>(w0) | (static_cast<DWORD>(w1) << 16);
        t.exStyle = c.U32("the header");
    }
    const uint16_t count = c.U16("the item count");
    t.x = c.I16("the dialog rectangle");
    t.y = c.I16("the dialog rectangle");
    t.cx = c.I16("the dialog rectangle");
    t.cy = c.I16("the dialog rectangle");
    t.menu = c.NameOrOrd("the menu");
    t.cls = c.NameOrOrd("the class");
    t.title = c.Str("the title");
    if (t.style & DS_SETFONT) {
        t.hasFont = true;
        t.pointSize = c.U16("the font");
        if (t.extended) {
            t.weight = c.U16("the font");
            t.italic = c.U8("the font");
            t.charset = c.U8("the font");
        }
        t.face = c.Str("the font's face name");
    }
    if (c.Ok()) {
        // An item takes at least 24 bytes (its fixed part, a class, a title and the data
        // size), after up to 3 bytes of alignment: a count beyond what the bytes can hold
        // is refused before anything is reserved for it.
        const size_t left = bytes.size() - c.Pos();
        if (static_cast<size_t>(count) * 24u > left + 3u)
            c.Fail(std::to_string(count) + " items announced in " + std::to_string(left) + " bytes");
        else
            t.items.reserve(count);
    }
    int bad = -1;
    for (uint16_t i = 0; i < count && c.Ok(); ++i) {
        DialogItemTemplate it;
        if (ReadItem(c, t.extended, it))
            t.items.push_back(std::move(it));
        else
            bad = i;
    }
    if (!c.Ok()) {
        if (error)
            *error = (bad >= 0 ? "item " + std::to_string(bad) + ": " : std::string()) + c.Error();
        return std::nullopt;
    }
    return t;
}

const wchar_t* ClassNameOfOrdinal(WORD ordinal)
{
    switch (ordinal) {
    case 0x80: return L"Button";
    case 0x81: return L"Edit";
    case 0x82: return L"Static";
    case 0x83: return L"ListBox";
    case 0x84: return L"ScrollBar";
    case 0x85: return L"ComboBox";
    default: return nullptr;
    }
}

} // namespace zyn::user
