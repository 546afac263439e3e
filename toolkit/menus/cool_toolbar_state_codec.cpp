#include "toolkit/menus/cool_toolbar_state.h"

#include <algorithm>

#include "platform/base/utf16.h"

namespace zyn::menus {

namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        out.push_back(static_cast<uint8_t>(v >> (8 * k)));
}

// Reads a value front to back; every read says whether the bytes held it.
class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
    size_t Left() const { return m_bytes.size() - m_at; }
    bool Byte(uint8_t& v)
    {
        if (Left() < 1)
            return false;
        v = m_bytes[m_at++];
        return true;
    }
    bool Word(uint16_t& v)
    {
        if (Left() < 2)
            return false;
        v = static_cast<uint16_t>(m_bytes[m_at] | m_bytes[m_at + 1] << 8);
        m_at += 2;
        return true;
    }
    bool Dword(uint32_t& v)
    {
        if (Left() < 4)
            return false;
        v = static_cast<uint32_t>(m_bytes[m_at]) | static_cast<uint32_t>(m_bytes[m_at + 1]) << 8 |
            static_cast<uint32_t>(m_bytes[m_at + 2]) << 16 | static_cast<uint32_t>(m_bytes[m_at + 3]) << 24;
        m_at += 4;
        return true;
    }
    bool Int(int32_t& v)
    {
        uint32_t u = 0;
        if (!Dword(u))
            return false;
        v = static_cast<int32_t>(u);
        return true;
    }
    bool Text(std::wstring& text)
    {
        uint8_t marker = 0;
        uint16_t unicode = 0;
        if (!Byte(marker) || marker != 0xFF || !Word(unicode) || unicode != 0xFFFE)
            return false;
        uint32_t length = 0;
        uint8_t b = 0;
        if (!Byte(b))
            return false;
        if (b < 0xFF) {
            length = b;
        } else {
            uint16_t w = 0;
            if (!Word(w))
                return false;
            if (w < 0xFFFE) {
                length = w;
            } else if (w == 0xFFFF) {
                if (!Dword(length) || length == 0xFFFFFFFFu)
                    return false;
            } else {
                return false;   // 0xFFFE here would be another marker, not a length
            }
        }
        if (Left() / 2 < length)
            return false;
        bool ok = true;
        text = zyn::base::FromUtf16LE(m_bytes.subspan(m_at, size_t{length} * 2), &ok);
        m_at += size_t{length} * 2;
        return ok;
    }

private:
    std::span<const uint8_t> m_bytes;
    size_t m_at = 0;
};

template <class T>
std::optional<T> Fail(std::string* error, const char* why)
{
    if (error)
        *error = why;
    return std::nullopt;
}

} // namespace

void AppendArchiveString(std::vector<uint8_t>& out, std::wstring_view text)
{
    const std::vector<uint8_t> units = zyn::base::ToUtf16LE(text);
    const size_t length = units.size() / 2;
    out.push_back(0xFF);
    out.push_back(0xFE);
    out.push_back(0xFF);
    if (length < 0xFF) {
        out.push_back(static_cast<uint8_t>(length));
    } else if (length < 0xFFFE) {
        out.push_back(0xFF);
        out.push_back(static_cast<uint8_t>(length));
        out.push_back(static_cast<uint8_t>(length >> 8));
    } else {
        out.push_back(0xFF);
        out.push_back(0xFF);
        out.push_back(0xFF);
        Put32(out, static_cast<uint32_t>(length));
    }
    out.insert(out.end(), units.begin(), units.end());
}

std::vector<uint8_t> EncodeCoolBarButtons(std::span<const CoolBarButtonRecord> buttons)
{
    std::vector<uint8_t> out;
    Put32(out, static_cast<uint32_t>(buttons.size()));
    for (const CoolBarButtonRecord& b : buttons) {
        Put32(out, static_cast<uint32_t>(b.command));
        Put32(out, static_cast<uint32_t>(b.image));
        out.push_back(b.style);
        Put32(out, b.hasText ? 1u : 0u);
        AppendArchiveString(out, b.text);
    }
    return out;
}

std::optional<std::vector<CoolBarButtonRecord>> DecodeCoolBarButtons(std::span<const uint8_t> bytes,
    std::string* error)
{
    using Result = std::vector<CoolBarButtonRecord>;
    Reader in(bytes);
    int32_t count = 0;
    if (!in.Int(count) || count < 0)
        return Fail<Result>(error, "no button count");
    // A button takes at least 17 bytes: the count cannot promise more than the bytes hold.
    if (static_cast<size_t>(count) > in.Left() / 17)
        return Fail<Result>(error, "more buttons than bytes");
    Result buttons;
    buttons.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        CoolBarButtonRecord b;
        int32_t hasText = 0;
        if (!in.Int(b.command) || !in.Int(b.image) || !in.Byte(b.style) || !in.Int(hasText))
            return Fail<Result>(error, "a button is cut short");
        if (hasText != 0 && hasText != 1)
            return Fail<Result>(error, "has-text is neither 0 nor 1");
        b.hasText = hasText == 1;
        if (!in.Text(b.text))
            return Fail<Result>(error, "a button text is malformed");
        if (b.hasText && b.text.empty())
            return Fail<Result>(error, "a button has text that is empty");
        buttons.push_back(std::move(b));
    }
    if (in.Left() != 0)
        return Fail<Result>(error, "bytes after the last button");
    return buttons;
}

std::vector<uint8_t> EncodeCoolBarPositions(std::span<const CoolBarCustomPosition> positions)
{
    std::vector<uint8_t> out;
    Put32(out, static_cast<uint32_t>(positions.size()));
    for (const CoolBarCustomPosition& p : positions) {
        Put32(out, static_cast<uint32_t>(p.position));
        Put32(out, static_cast<uint32_t>(p.controlId));
    }
    return out;
}

std::optional<std::vector<CoolBarCustomPosition>> DecodeCoolBarPositions(std::span<const uint8_t> bytes,
    std::string* error)
{
    using Result = std::vector<CoolBarCustomPosition>;
    Reader in(bytes);
    int32_t count = 0;
    if (!in.Int(count) || count < 0)
        return Fail<Result>(error, "no position count");
    if (in.Left() != static_cast<size_t>(count) * 8)
        return Fail<Result>(error, "the count does not match the bytes");
    Result positions;
    positions.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        CoolBarCustomPosition p;
        in.Int(p.position);
        in.Int(p.controlId);
        if (p.position < 0 || (!positions.empty() && p.position <= positions.back().position))
            return Fail<Result>(error, "positions are not ascending from 0");
        positions.push_back(p);
    }
    return positions;
}

std::optional<std::vector<CoolBarOrderItem>> DecodeCoolBarOrder(std::span<const uint8_t> bytes, std::string* error)
{
    using Result = std::vector<CoolBarOrderItem>;
    constexpr uint8_t kSep = 0x01, kButtonOnly = 0x02 | 0x04 | 0x08 | 0x80;
    Reader in(bytes);
    uint8_t magic[4] = {};
    for (uint8_t& m : magic)
        if (!in.Byte(m))
            return Fail<Result>(error, "too short for an order value");
    uint16_t version = 0, reserved = 0;
    uint32_t count = 0;
    if (magic[0] != 'Z' || magic[1] != 'T' || magic[2] != 'B' || magic[3] != 'S' || !in.Word(version) ||
        version != 1 || !in.Word(reserved) || reserved != 0 || !in.Dword(count))
        return Fail<Result>(error, "not an order value");
    if (count > 4096 || in.Left() != size_t{count} * 12)
        return Fail<Result>(error, "the item count does not match the bytes");
    Result items;
    items.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        CoolBarOrderItem item;
        uint16_t zero = 0;
        in.Int(item.command);
        in.Int(item.image);
        in.Byte(item.state);
        in.Byte(item.style);
        in.Word(zero);
        if (zero != 0)
            return Fail<Result>(error, "reserved bytes are not zero");
        if ((item.style & kSep) && (item.style & kButtonOnly))
            return Fail<Result>(error, "a separator with button styles");
        items.push_back(item);
    }
    return items;
}

} // namespace zyn::menus
