// The menu bar's saved record: writer and bounded reader (layout in menu_bar_record.h).
#include "toolkit/menus/menu_bar_record.h"

#include "platform/base/utf16.h"

namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutText(std::vector<uint8_t>& out, const std::wstring& text)
{
    const std::vector<uint8_t> units = zyn::base::ToUtf16LE(text);
    const size_t n = units.size() / 2;
    out.push_back(0xFF);
    out.push_back(0xFE);
    out.push_back(0xFF);
    if (n < 0xFF) {
        out.push_back(static_cast<uint8_t>(n));
    } else if (n < 0xFFFE) {
        out.push_back(0xFF);
        out.push_back(static_cast<uint8_t>(n));
        out.push_back(static_cast<uint8_t>(n >> 8));
    } else {
        out.push_back(0xFF);
        out.push_back(0xFF);
        out.push_back(0xFF);
        Put32(out, static_cast<uint32_t>(n));
    }
    out.insert(out.end(), units.begin(), units.end());
}

void WriteMenu(const OXMenuRecord& menu, std::vector<uint8_t>& out)
{
    Put32(out, static_cast<uint32_t>(menu.size()));
    for (const OXMENURECORDITEM& item : menu) {
        Put32(out, item.nType);
        Put32(out, item.bHasSubmenu ? 1u : 0u);
        Put32(out, item.bHasSubmenu ? OX_MENURECORD_POPUP_ID : item.nID);
        PutText(out, item.sText);
        if (item.bHasSubmenu)
            WriteMenu(item.children, out);
    }
}

// The smallest item: four integers' worth of type, flag and ID, and an empty text (4 bytes).
constexpr size_t kMinItemBytes = 12 + 4;

class Reader {
public:
    explicit Reader(std::span<const uint8_t> data) : m_data(data) {}

    OXMenuRecordResult Run(OXMenuRecord& menu)
    {
        if (!ReadMenu(menu, 1))
            return m_result;
        if (m_pos != m_data.size())
            return Fail(OXMenuRecordError::TrailingBytes);
        return m_result;
    }

private:
    OXMenuRecordResult Fail(OXMenuRecordError error)
    {
        if (m_result.ok())
            m_result = {error, m_pos};
        return m_result;
    }
    bool Need(size_t n)
    {
        if (m_data.size() - m_pos < n) {
            Fail(OXMenuRecordError::Truncated);
            return false;
        }
        return true;
    }
    bool Get8(uint8_t& v)
    {
        if (!Need(1))
            return false;
        v = m_data[m_pos++];
        return true;
    }
    bool Get16(uint32_t& v)
    {
        if (!Need(2))
            return false;
        v = static_cast<uint32_t>(m_data[m_pos]) | static_cast<uint32_t>(m_data[m_pos + 1]) << 8;
        m_pos += 2;
        return true;
    }
    bool Get32(uint32_t& v)
    {
        if (!Need(4))
            return false;
        v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<uint32_t>(m_data[m_pos + static_cast<size_t>(i)]) << (8 * i);
        m_pos += 4;
        return true;
    }
    bool GetText(std::wstring& text)
    {
        uint8_t b = 0;
        uint32_t marker = 0;
        if (!Get8(b) || b != 0xFF || !Get16(marker) || marker != 0xFFFE) {
            if (m_result.ok())
                Fail(OXMenuRecordError::BadText);
            return false;
        }
        uint32_t n = 0;
        if (!Get8(b))
            return false;
        n = b;
        if (b == 0xFF) {
            if (!Get16(n))
                return false;
            if (n == 0xFFFF && !Get32(n))
                return false;
        }
        if (n > OX_MENURECORD_MAX_TEXT) {
            Fail(OXMenuRecordError::TextTooLong);
            return false;
        }
        if (!Need(static_cast<size_t>(n) * 2))
            return false;
        bool ok = true;
        text = zyn::base::FromUtf16LE(m_data.subspan(m_pos, static_cast<size_t>(n) * 2), &ok);
        if (!ok) {
            Fail(OXMenuRecordError::BadText);
            return false;
        }
        m_pos += static_cast<size_t>(n) * 2;
        return true;
    }
    bool ReadMenu(OXMenuRecord& menu, int depth)
    {
        if (depth > OX_MENURECORD_MAX_DEPTH) {
            Fail(OXMenuRecordError::TooDeep);
            return false;
        }
        uint32_t count = 0;
        if (!Get32(count))
            return false;
        // A count the remaining bytes cannot hold is refused before anything is reserved.
        if (count > (m_data.size() - m_pos) / kMinItemBytes) {
            Fail(count > OX_MENURECORD_MAX_ITEMS ? OXMenuRecordError::TooMany : OXMenuRecordError::BadCount);
            return false;
        }
        menu.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
            if (++m_items > OX_MENURECORD_MAX_ITEMS) {
                Fail(OXMenuRecordError::TooMany);
                return false;
            }
            OXMENURECORDITEM item;
            uint32_t flag = 0;
            if (!Get32(item.nType) || !Get32(flag))
                return false;
            if (flag > 1) {
                m_pos -= 4;
                Fail(OXMenuRecordError::BadFlag);
                return false;
            }
            item.bHasSubmenu = flag == 1;
            if (!Get32(item.nID) || !GetText(item.sText))
                return false;
            if (item.bHasSubmenu && !ReadMenu(item.children, depth + 1))
                return false;
            menu.push_back(std::move(item));
        }
        return true;
    }

    std::span<const uint8_t> m_data;
    size_t m_pos = 0;
    size_t m_items = 0;
    OXMenuRecordResult m_result;
};

} // namespace

const char* OXMenuRecordErrorText(OXMenuRecordError error)
{
    switch (error) {
    case OXMenuRecordError::None: return "no error";
    case OXMenuRecordError::Truncated: return "the record ends inside a field";
    case OXMenuRecordError::BadCount: return "an item count larger than the record can hold";
    case OXMenuRecordError::BadFlag: return "a submenu flag other than 0 or 1";
    case OXMenuRecordError::BadText: return "a text without its wide marker or not well-formed UTF-16";
    case OXMenuRecordError::TooDeep: return "submenus nested too deep";
    case OXMenuRecordError::TooMany: return "too many items";
    case OXMenuRecordError::TrailingBytes: return "bytes after the record";
    case OXMenuRecordError::TextTooLong: return "a text longer than a menu item holds";
    }
    return "unknown error";
}

void OXWriteMenuRecord(const OXMenuRecord& menu, std::vector<uint8_t>& out) { WriteMenu(menu, out); }

OXMenuRecordResult OXParseMenuRecord(std::span<const uint8_t> data, OXMenuRecord& menu)
{
    menu.clear();
    OXMenuRecord parsed;
    const OXMenuRecordResult result = Reader(data).Run(parsed);
    if (result.ok())
        menu = std::move(parsed);
    return result;
}
