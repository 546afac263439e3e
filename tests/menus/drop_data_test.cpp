// The dropped menu-item data without windows: the writer's bytes worked out by hand from
// the record layout, the runs and submenus the parser takes apart, and the refusals of
// both sides, which hand out nothing.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/menus/menu_drop_data.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Little-endian pieces of a record, for writing expected bytes by hand.
void U32(Bytes& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
// UTF-16 code units, then the terminator.
void Text(Bytes& b, std::initializer_list<uint16_t> units)
{
    for (uint16_t u : units) {
        b.push_back(static_cast<uint8_t>(u & 0xFF));
        b.push_back(static_cast<uint8_t>(u >> 8));
    }
    b.push_back(0);
    b.push_back(0);
}
void Record(Bytes& b, uint32_t id, std::initializer_list<uint16_t> text, uint32_t a, uint8_t bValue, uint32_t cont)
{
    U32(b, id);
    Text(b, text);
    U32(b, a);
    b.push_back(bValue);
    U32(b, cont);
}

OXDROPPEDMENUITEM Cmd(uint32_t id, std::wstring text) { return OXDROPPEDMENUITEM{id, std::move(text), 0, 0, {}}; }
OXDROPPEDMENUITEM Popup(std::wstring text, OXDroppedMenuItems children)
{
    return OXDROPPEDMENUITEM{OX_DROPDATA_POPUP, std::move(text), 0, 0, std::move(children)};
}

// "id:text" per item, submenus in brackets.
std::string Shape(const OXDroppedMenuItems& items)
{
    std::string s;
    for (const OXDROPPEDMENUITEM& item : items) {
        if (!s.empty())
            s += ' ';
        s += item.IsPopup() ? std::string("P") : std::to_string(item.nID);
        s += ':' + std::string(item.sText.begin(), item.sText.end());
        if (item.IsPopup())
            s += '[' + Shape(item.children) + ']';
    }
    return s;
}

TEST(MenuDropData, WriterBytesFollowTheRecordLayout)
{
    // A command with a Latin letter and a character outside the basic plane (a surrogate
    // pair in UTF-16), the writer's values A and B, a separator, and a submenu holding one
    // command: the submenu is last, so its continuation is 2 and its item's is 0.
    OXDroppedMenuItems items;
    items.push_back(OXDROPPEDMENUITEM{0x8101, L"\u00e9\U0001F600", 0x11223344, 0x7F, {}});
    items.push_back(Cmd(0, L""));
    items.push_back(Popup(L"P", {Cmd(0x8110, L"x")}));
    Bytes expected = {
        0x01, 0x81, 0x00, 0x00,                          // ID 0x8101
        0xE9, 0x00, 0x3D, 0xD8, 0x00, 0xDE, 0x00, 0x00,  // U+00E9, U+D83D U+DE00, 0
        0x44, 0x33, 0x22, 0x11,                          // value A
        0x7F,                                            // value B
        0x01, 0x00, 0x00, 0x00,                          // more follow
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00,              // separator: ID 0, empty text
        0x00, 0x00, 0x00, 0x00, 0x00,                    // A 0, B 0
        0x01, 0x00, 0x00, 0x00,                          // more follow
        0xFF, 0xFF, 0xFF, 0xFF, 0x50, 0x00, 0x00, 0x00,  // submenu "P"
        0x00, 0x00, 0x00, 0x00, 0x00,
        0x02, 0x00, 0x00, 0x00,                          // its items follow, and it is last
        0x10, 0x81, 0x00, 0x00, 0x78, 0x00, 0x00, 0x00,  // 0x8110 "x"
        0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00,                          // the submenu's last item
    };
    Bytes out;
    const OXDropDataResult r = OXWriteDroppedMenuItems(items, out);
    ASSERT_TRUE(r.ok()) << OXDropDataErrorText(r.error);
    EXPECT_EQ(out, expected);
    EXPECT_EQ(r.consumed, expected.size());

    // An empty submenu can end a run: continuation 0, no items after it.
    Bytes empty;
    Record(empty, 0x20, {'a'}, 0, 0, 1);
    Record(empty, OX_DROPDATA_POPUP, {'E'}, 0, 0, 0);
    ASSERT_TRUE(OXWriteDroppedMenuItems({Cmd(0x20, L"a"), Popup(L"E", {})}, out).ok());
    EXPECT_EQ(out, empty);

    // And the parser gives back the same items, values and all.
    OXDroppedMenuItems back;
    const OXDropDataResult p = OXParseDroppedMenuItems(expected, back);
    ASSERT_TRUE(p.ok()) << OXDropDataErrorText(p.error);
    EXPECT_EQ(p.consumed, expected.size());
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[0].sText, L"\u00e9\U0001F600");
    EXPECT_EQ(back[0].nValueA, 0x11223344u);
    EXPECT_EQ(back[0].nValueB, 0x7F);
    EXPECT_EQ(back[0].nID, 0x8101u);
    EXPECT_EQ(Shape({back[1], back[2]}), "0: P:P[33040:x]");
}

TEST(MenuDropData, RunsAndSubmenusEndWhereTheirContinuationsSay)
{
    struct Row {
        const char* name;
        Bytes data;
        std::string shape;
        size_t consumed;
    };
    std::vector<Row> rows;
    {
        Row r{"continuations 1, 1, 0: three items in order", {}, "1:a 2:b 3:c", 0};
        Record(r.data, 1, {'a'}, 0, 0, 1);
        Record(r.data, 2, {'b'}, 0, 0, 1);
        Record(r.data, 3, {'c'}, 0, 0, 0);
        r.consumed = r.data.size();
        rows.push_back(r);
    }
    {
        Row r{"a submenu with continuation 2 reads its items and ends the list", {}, "1:a P:S[2:b 3:c]", 0};
        Record(r.data, 1, {'a'}, 0, 0, 1);
        Record(r.data, OX_DROPDATA_POPUP, {'S'}, 0, 0, 2);
        Record(r.data, 2, {'b'}, 0, 0, 1);
        Record(r.data, 3, {'c'}, 0, 0, 0);
        r.consumed = r.data.size();
        Record(r.data, 4, {'d'}, 0, 0, 0); // after the run: not read
        rows.push_back(r);
    }
    {
        Row r{"a submenu with continuation 1: the outer run goes on after its items", {}, "P:S[2:b] 3:c", 0};
        Record(r.data, OX_DROPDATA_POPUP, {'S'}, 0, 0, 1);
        Record(r.data, 2, {'b'}, 0, 0, 0);
        Record(r.data, 3, {'c'}, 0, 0, 0);
        r.consumed = r.data.size();
        rows.push_back(r);
    }
    {
        Row r{"a submenu with continuation 0 is empty and ends the run", {}, "P:S[]", 0};
        Record(r.data, OX_DROPDATA_POPUP, {'S'}, 0, 0, 0);
        r.consumed = r.data.size();
        Record(r.data, 3, {'c'}, 0, 0, 0);
        rows.push_back(r);
    }
    {
        Row r{"a command with continuation 2 ends its run too", {}, "P:S[2:b] 3:c", 0};
        Record(r.data, OX_DROPDATA_POPUP, {'S'}, 0, 0, 1);
        Record(r.data, 2, {'b'}, 0, 0, 2);
        Record(r.data, 3, {'c'}, 0, 0, 0);
        r.consumed = r.data.size();
        rows.push_back(r);
    }
    {
        Row r{"submenus two deep, each closing its parent", {}, "P:A[P:B[7:z]]", 0};
        Record(r.data, OX_DROPDATA_POPUP, {'A'}, 0, 0, 2);
        Record(r.data, OX_DROPDATA_POPUP, {'B'}, 0, 0, 2);
        Record(r.data, 7, {'z'}, 0, 0, 0);
        r.consumed = r.data.size();
        rows.push_back(r);
    }
    for (const Row& r : rows) {
        OXDroppedMenuItems items;
        const OXDropDataResult p = OXParseDroppedMenuItems(r.data, items);
        ASSERT_TRUE(p.ok()) << r.name << ": " << OXDropDataErrorText(p.error);
        EXPECT_EQ(Shape(items), r.shape) << r.name;
        EXPECT_EQ(p.consumed, r.consumed) << r.name;
        // Written again, the items read back the same.
        Bytes again;
        ASSERT_TRUE(OXWriteDroppedMenuItems(items, again).ok()) << r.name;
        OXDroppedMenuItems reread;
        ASSERT_TRUE(OXParseDroppedMenuItems(again, reread).ok()) << r.name;
        EXPECT_EQ(Shape(reread), r.shape) << r.name;
    }
}

TEST(MenuDropData, ParserRefusesBrokenDataAndHandsOutNothing)
{
    Bytes good;
    Record(good, 1, {'a', 'b'}, 0, 0, 1);
    Record(good, OX_DROPDATA_POPUP, {'S'}, 0, 0, 2);
    Record(good, 2, {'c'}, 0, 0, 0);
    auto cut = [&](size_t n) { return Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)); };
    // The first record: ID 0..3, text 4..9 (terminator at 8), A 10..13, B 14, continuation 15..18.
    struct Row {
        const char* name;
        Bytes data;
        OXDropDataError error;
    };
    std::vector<Row> rows = {
        {"nothing", {}, OXDropDataError::Empty},
        {"inside the ID", cut(3), OXDropDataError::Truncated},
        {"text without terminator", cut(8), OXDropDataError::BadText},
        {"text with an odd byte at the end", cut(9), OXDropDataError::BadText},
        {"inside value A", cut(12), OXDropDataError::Truncated},
        {"before value B", cut(14), OXDropDataError::Truncated},
        {"inside the continuation", cut(17), OXDropDataError::Truncated},
        {"the next record missing", cut(19), OXDropDataError::Truncated},
        // The submenu's record takes 17 bytes (ID, "S" and 0, A, B, continuation 2).
        {"inside the submenu's record", cut(19 + 15), OXDropDataError::Truncated},
        {"the submenu's items missing", cut(19 + 17), OXDropDataError::Truncated},
        {"the submenu's last item cut", cut(good.size() - 1), OXDropDataError::Truncated},
    };
    {
        Bytes b;
        Record(b, 1, {'a'}, 0, 0, 3);
        rows.push_back({"continuation 3", b, OXDropDataError::BadContinuation});
    }
    {
        Bytes b;
        Record(b, 1, {0xD800, 'a'}, 0, 0, 0);
        rows.push_back({"a lone high surrogate", b, OXDropDataError::BadText});
    }
    {
        Bytes b;
        Record(b, 1, {0xDC00}, 0, 0, 0);
        rows.push_back({"a lone low surrogate", b, OXDropDataError::BadText});
    }
    {
        // A submenu run that never ends: continuation 1 on every record.
        Bytes b;
        Record(b, OX_DROPDATA_POPUP, {'S'}, 0, 0, 2);
        Record(b, 1, {'a'}, 0, 0, 1);
        Record(b, 2, {'b'}, 0, 0, 1);
        rows.push_back({"an unfinished submenu", b, OXDropDataError::Truncated});
    }
    for (const Row& r : rows) {
        OXDroppedMenuItems items{Cmd(99, L"left over")};
        const OXDropDataResult p = OXParseDroppedMenuItems(r.data, items);
        EXPECT_EQ(p.error, r.error) << r.name << ": " << OXDropDataErrorText(p.error);
        EXPECT_TRUE(items.empty()) << r.name;
        EXPECT_LE(p.offset, r.data.size()) << r.name;
    }
}

TEST(MenuDropData, DepthAndCountHaveLimitsOnBothSides)
{
    // OX_DROPDATA_MAX_DEPTH levels: submenus nested 15 deep around one command.
    auto nested = [](int levels) {
        OXDroppedMenuItems items{Cmd(5, L"leaf")};
        for (int i = 1; i < levels; ++i)
            items = OXDroppedMenuItems{Popup(L"s", std::move(items))};
        return items;
    };
    auto nestedBytes = [](int levels) {
        Bytes b;
        for (int i = 1; i < levels; ++i)
            Record(b, OX_DROPDATA_POPUP, {'s'}, 0, 0, 2);
        Record(b, 5, {'l'}, 0, 0, 0);
        return b;
    };
    Bytes out;
    OXDroppedMenuItems items;
    EXPECT_TRUE(OXWriteDroppedMenuItems(nested(OX_DROPDATA_MAX_DEPTH), out).ok());
    EXPECT_TRUE(OXParseDroppedMenuItems(nestedBytes(OX_DROPDATA_MAX_DEPTH), items).ok());
    EXPECT_EQ(OXCountDroppedMenuItems(items), static_cast<size_t>(OX_DROPDATA_MAX_DEPTH));
    EXPECT_EQ(OXWriteDroppedMenuItems(nested(OX_DROPDATA_MAX_DEPTH + 1), out).error, OXDropDataError::TooDeep);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(OXParseDroppedMenuItems(nestedBytes(OX_DROPDATA_MAX_DEPTH + 1), items).error, OXDropDataError::TooDeep);
    EXPECT_TRUE(items.empty());
    // Deep data far past the limit is refused without going down it.
    EXPECT_EQ(OXParseDroppedMenuItems(nestedBytes(100000), items).error, OXDropDataError::TooDeep);

    auto flat = [](size_t n) {
        OXDroppedMenuItems list;
        for (size_t i = 0; i < n; ++i)
            list.push_back(Cmd(static_cast<uint32_t>(i + 1), L""));
        return list;
    };
    auto flatBytes = [](size_t n) {
        Bytes b;
        for (size_t i = 0; i < n; ++i)
            Record(b, static_cast<uint32_t>(i + 1), {}, 0, 0, i + 1 == n ? 0 : 1);
        return b;
    };
    EXPECT_TRUE(OXWriteDroppedMenuItems(flat(OX_DROPDATA_MAX_ITEMS), out).ok());
    EXPECT_EQ(out, flatBytes(OX_DROPDATA_MAX_ITEMS));
    EXPECT_TRUE(OXParseDroppedMenuItems(out, items).ok());
    EXPECT_EQ(items.size(), OX_DROPDATA_MAX_ITEMS);
    EXPECT_EQ(OXWriteDroppedMenuItems(flat(OX_DROPDATA_MAX_ITEMS + 1), out).error, OXDropDataError::TooMany);
    EXPECT_EQ(OXParseDroppedMenuItems(flatBytes(OX_DROPDATA_MAX_ITEMS + 1), items).error, OXDropDataError::TooMany);
    EXPECT_TRUE(items.empty());
}

TEST(MenuDropData, WriterRefusesItemsThatWouldReadBackDifferently)
{
    struct Row {
        const char* name;
        OXDroppedMenuItems items;
        OXDropDataError error;
    };
    const Row rows[] = {
        {"no item", {}, OXDropDataError::Empty},
        // Written with continuation 0 it would end the run; with 1 the next item would be
        // read into it.
        {"an empty submenu before another item", {Popup(L"E", {}), Cmd(1, L"a")}, OXDropDataError::EmptyPopupInside},
        {"an empty submenu inside a submenu, not last", {Popup(L"S", {Popup(L"E", {}), Cmd(1, L"a")})},
            OXDropDataError::EmptyPopupInside},
        {"a command with items", {OXDROPPEDMENUITEM{7, L"c", 0, 0, {Cmd(1, L"a")}}},
            OXDropDataError::ChildrenOfCommand},
        {"a zero inside a text", {Cmd(1, std::wstring(L"a\0b", 3))}, OXDropDataError::TextWithZero},
        {"a surrogate code point in a text", {Cmd(1, std::wstring(1, static_cast<wchar_t>(0xD800)))},
            OXDropDataError::BadText},
        {"beyond U+10FFFF", {Cmd(1, std::wstring(1, static_cast<wchar_t>(0x110000)))}, OXDropDataError::BadText},
    };
    for (const Row& r : rows) {
        Bytes out{1, 2, 3};
        EXPECT_EQ(OXWriteDroppedMenuItems(r.items, out).error, r.error) << r.name;
        EXPECT_TRUE(out.empty()) << r.name;
    }
}

} // namespace
