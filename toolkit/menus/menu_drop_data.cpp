// The dropped menu items: writer and parser.
#include "toolkit/menus/menu_drop_data.h"

#include "platform/base/utf16.h"

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

class Writer {
public:
    explicit Writer(std::vector<uint8_t>& out) : m_out(out) {}

    OXDropDataError Run(const OXDroppedMenuItems& items, int depth)
    {
        if (depth > OX_DROPDATA_MAX_DEPTH)
            return OXDropDataError::TooDeep;
        for (size_t i = 0; i < items.size(); ++i) {
            const OXDROPPEDMENUITEM& item = items[i];
            const bool last = i + 1 == items.size();
            if (++m_count > OX_DROPDATA_MAX_ITEMS)
                return OXDropDataError::TooMany;
            if (!item.IsPopup() && !item.children.empty())
                return OXDropDataError::ChildrenOfCommand;
            if (item.IsPopup() && item.children.empty() && !last)
                return OXDropDataError::EmptyPopupInside;
            if (item.sText.find(L'\0') != std::wstring::npos)
                return OXDropDataError::TextWithZero;
            PutU32(m_out, item.nID);
            bool ok = true;
            zyn::base::AppendUtf16LE(m_out, item.sText, &ok);
            if (!ok)
                return OXDropDataError::BadText;
            m_out.push_back(0);
            m_out.push_back(0);
            PutU32(m_out, item.nValueA);
            m_out.push_back(item.nValueB);
            uint32_t continuation = last ? OX_DROPDATA_END : OX_DROPDATA_MORE;
            if (item.IsPopup() && !item.children.empty())
                continuation = last ? OX_DROPDATA_POPUP_LAST : OX_DROPDATA_MORE;
            PutU32(m_out, continuation);
            if (item.IsPopup() && !item.children.empty()) {
                const OXDropDataError e = Run(item.children, depth + 1);
                if (e != OXDropDataError::None)
                    return e;
            }
        }
        return OXDropDataError::None;
    }

private:
    std::vector<uint8_t>& m_out;
    size_t m_count = 0;
};

class Parser {
public:
    explicit Parser(std::span<const uint8_t> data) : m_data(data) {}

    // One run of records into `items`, at the given level.
    OXDropDataError Run(OXDroppedMenuItems& items, int depth)
    {
        for (;;) {
            if (++m_count > OX_DROPDATA_MAX_ITEMS)
                return OXDropDataError::TooMany;
            OXDROPPEDMENUITEM item;
            uint32_t continuation = 0;
            OXDropDataError e = U32(item.nID);
            if (e == OXDropDataError::None)
                e = Text(item.sText);
            if (e == OXDropDataError::None)
                e = U32(item.nValueA);
            if (e == OXDropDataError::None)
                e = U8(item.nValueB);
            const size_t at = m_pos;
            if (e == OXDropDataError::None)
                e = U32(continuation);
            if (e != OXDropDataError::None)
                return e;
            if (continuation > OX_DROPDATA_POPUP_LAST) {
                m_pos = at;
                return OXDropDataError::BadContinuation;
            }
            if (item.IsPopup() && continuation != OX_DROPDATA_END) {
                if (depth + 1 > OX_DROPDATA_MAX_DEPTH)
                    return OXDropDataError::TooDeep;
                e = Run(item.children, depth + 1);
                if (e != OXDropDataError::None)
                    return e;
            }
            items.push_back(std::move(item));
            if (continuation != OX_DROPDATA_MORE)
                return OXDropDataError::None;
        }
    }

    size_t Position() const { return m_pos; }

private:
    OXDropDataError U32(uint32_t& v)
    {
        if (m_data.size() - m_pos < 4)
            return OXDropDataError::Truncated;
        v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<uint32_t>(m_data[m_pos + static_cast<size_t>(i)]) << (8 * i);
        m_pos += 4;
        return OXDropDataError::None;
    }
    OXDropDataError U8(uint8_t& v)
    {
        if (m_pos >= m_data.size())
            return OXDropDataError::Truncated;
        v = m_data[m_pos++];
        return OXDropDataError::None;
    }
    OXDropDataError Text(std::wstring& text)
    {
        size_t end = m_pos;
        for (;;) {
            if (m_data.size() - end < 2)
                return OXDropDataError::BadText; // no terminator before the end
            if (m_data[end] == 0 && m_data[end + 1] == 0)
                break;
            end += 2;
        }
        bool ok = true;
        text = zyn::base::FromUtf16LE(m_data.subspan(m_pos, end - m_pos), &ok);
        if (!ok)
            return OXDropDataError::BadText;
        m_pos = end + 2;
        return OXDropDataError::None;
    }

    std::span<const uint8_t> m_data;
    size_t m_pos = 0;
    size_t m_count = 0;
};

} // namespace

const char* OXDropDataErrorText(OXDropDataError error)
{
    switch (error) {
    case OXDropDataError::None: return "no error";
    case OXDropDataError::Empty: return "no menu item in the data";
    case OXDropDataError::Truncated: return "the data ends inside a record";
    case OXDropDataError::BadText: return "an item text is not terminated or not well-formed UTF-16";
    case OXDropDataError::BadContinuation: return "a continuation other than 0, 1 or 2";
    case OXDropDataError::TooDeep: return "submenus nested too deeply";
    case OXDropDataError::TooMany: return "too many menu items";
    case OXDropDataError::ChildrenOfCommand: return "an item that opens no submenu has items of its own";
    case OXDropDataError::EmptyPopupInside: return "an empty submenu that is not the last item of its menu";
    case OXDropDataError::TextWithZero: return "an item text holds a zero character";
    }
    return "unknown error";
}

OXDropDataResult OXWriteDroppedMenuItems(const OXDroppedMenuItems& items, std::vector<uint8_t>& out)
{
    out.clear();
    OXDropDataResult result;
    if (items.empty()) {
        result.error = OXDropDataError::Empty;
        return result;
    }
    Writer writer(out);
    result.error = writer.Run(items, 1);
    if (!result.ok())
        out.clear();
    else
        result.consumed = out.size();
    return result;
}

OXDropDataResult OXParseDroppedMenuItems(std::span<const uint8_t> data, OXDroppedMenuItems& items)
{
    items.clear();
    OXDropDataResult result;
    if (data.empty()) {
        result.error = OXDropDataError::Empty;
        return result;
    }
    Parser parser(data);
    OXDroppedMenuItems parsed;
    result.error = parser.Run(parsed, 1);
    if (!result.ok()) {
        result.offset = parser.Position();
        return result;
    }
    result.consumed = parser.Position();
    items = std::move(parsed);
    return result;
}

size_t OXCountDroppedMenuItems(const OXDroppedMenuItems& items)
{
    size_t n = 0;
    for (const OXDROPPEDMENUITEM& item : items)
        n += 1 + OXCountDroppedMenuItems(item.children);
    return n;
}
