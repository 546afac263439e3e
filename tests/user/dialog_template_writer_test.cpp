// Templates built in memory read back through the template reader field by field, with
// every item on the DWORD boundary the dialog manager expects.
#include <cstring>
#include <span>

#include <gtest/gtest.h>

#include "platform/user/button.h"
#include "platform/user/dialog_template.h"
#include "platform/user/dialog_template_writer.h"
#include "platform/user/static.h"
#include "platform/user/styles.h"

namespace zyn::test {
namespace {

using user::DialogTemplateWriter;

std::span<const uint8_t> BytesOf(const DialogTemplateWriter& w)
{
    return {reinterpret_cast<const uint8_t*>(w.Get()), w.SizeInBytes()};
}

TEST(DialogTemplateWriter, HeaderAndItemsReadBack)
{
    constexpr DWORD kStyle = DS_SETFONT | WS_POPUP | WS_CAPTION;
    DialogTemplateWriter w;
    w.Header(kStyle, 3, 120, 40, L"Ab", 8, L"F");
    // Titles of odd and even length, so both paddings before the next item occur.
    w.Item(BS_PUSHBUTTON, 1, 2, 30, 14, 10, L"Button", L"Go");
    w.Item(SS_LEFT, -3, 4, 50, 9, 0xFFFF, WORD{0x0082}, L"Xyz");
    w.Item(WS_TABSTOP, 5, 6, 7, 8, 12, WORD{0x0083}, L"");

    std::string error;
    const auto t = user::ParseDialogTemplate(BytesOf(w), &error);
    ASSERT_TRUE(t) << error;
    EXPECT_FALSE(t->extended);
    EXPECT_EQ(t->style, kStyle);
    EXPECT_EQ(t->exStyle, 0u);
    EXPECT_EQ(t->cx, 120);
    EXPECT_EQ(t->cy, 40);
    EXPECT_TRUE(t->menu.Empty());
    EXPECT_TRUE(t->cls.Empty());
    EXPECT_EQ(t->title, L"Ab");
    EXPECT_TRUE(t->hasFont);
    EXPECT_EQ(t->pointSize, 8);
    EXPECT_EQ(t->face, L"F");

    struct Row {
        DWORD style;
        short x, y, cx, cy;
        DWORD id;
        WORD ordinal;
        const wchar_t* className;
        const wchar_t* title;
    };
    const Row rows[] = {
        {BS_PUSHBUTTON, 1, 2, 30, 14, 10, 0, L"Button", L"Go"},
        {SS_LEFT, -3, 4, 50, 9, 0xFFFF, 0x0082, L"", L"Xyz"},
        {WS_TABSTOP, 5, 6, 7, 8, 12, 0x0083, L"", L""},
    };
    ASSERT_EQ(t->items.size(), std::size(rows));
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        const user::DialogItemTemplate& item = t->items[i];
        SCOPED_TRACE(testing::Message() << "item " << i);
        // Every item is a visible child whatever style it was given.
        EXPECT_EQ(item.style, row.style | WS_CHILD | WS_VISIBLE);
        EXPECT_EQ(item.exStyle, 0u);
        EXPECT_EQ(item.x, row.x);
        EXPECT_EQ(item.y, row.y);
        EXPECT_EQ(item.cx, row.cx);
        EXPECT_EQ(item.cy, row.cy);
        EXPECT_EQ(item.id, row.id);
        EXPECT_EQ(item.cls.ordinal, row.ordinal);
        EXPECT_EQ(item.cls.name, row.className);
        EXPECT_EQ(item.title.name, row.title);
        EXPECT_TRUE(item.creationData.empty() || item.creationData.size() == 2);
    }

    // Worked by hand: 18 bytes of fixed header, menu and class words (4), "Ab" (6), the
    // point size (2) and "F" (4) end at byte 34, so the first item starts at 36.
    DWORD first = 0;
    std::memcpy(&first, BytesOf(w).data() + 36, sizeof first);
    EXPECT_EQ(first, BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE);
}

} // namespace
} // namespace zyn::test
