// The records of the shortcut bar that carry behaviour: the group record's title (copies
// own a copy, counted copies stop at the terminator, a record frees only what it owns)
// and the placement of an automatically sized editor, worked by hand.
#include <gtest/gtest.h>

#include <cwchar>
#include <memory>

#include "platform/user/edit.h"
#include "toolkit/docking/shb_edit.h"
#include "toolkit/docking/shb_messages.h"

namespace shbtest {
namespace {

// A heap string of exactly its length, so that reading past it is caught.
std::unique_ptr<wchar_t[]> Exact(const wchar_t* text)
{
    const size_t n = std::wcslen(text);
    auto p = std::make_unique<wchar_t[]>(n + 1);
    std::wmemcpy(p.get(), text, n + 1);
    return p;
}

TEST(GroupInfoTest, SetTextCopiesAtMostCountCharactersAndStopsAtTheTerminator)
{
    const auto source = Exact(L"Calendar");
    struct Row {
        int count;
        const wchar_t* expected;
        int textMax;
    };
    const Row rows[] = {{-1, L"Calendar", 8}, {3, L"Cal", 3}, {8, L"Calendar", 8}, {100, L"Calendar", 8}, {0, nullptr, 0}};
    for (const Row& r : rows) {
        SHB_GROUPINFO info;
        info.SetText(source.get(), r.count);
        EXPECT_EQ(info.nTextMax, r.textMax) << r.count;
        if (r.expected) {
            ASSERT_NE(info.pszText, nullptr) << r.count;
            EXPECT_STREQ(info.pszText, r.expected) << r.count;
            EXPECT_NE(info.pszText, source.get()) << r.count;
            EXPECT_TRUE(info.OwnsText()) << r.count;
        } else {
            EXPECT_EQ(info.pszText, nullptr) << r.count;
            EXPECT_FALSE(info.OwnsText()) << r.count;
        }
    }
    SHB_GROUPINFO none;
    none.SetText(nullptr, 5);
    EXPECT_EQ(none.pszText, nullptr);
    EXPECT_EQ(none.nTextMax, 0);
}

TEST(GroupInfoTest, CopiesOwnTheirTitleWhoeverOwnedTheSource)
{
    auto callers = Exact(L"Inbox");
    SHB_GROUPINFO borrowed;
    borrowed.pszText = callers.get();
    borrowed.nTextMax = 5;
    borrowed.nImage = 3;
    borrowed.nImageExpanded = -1;
    borrowed.lParam = -7;
    borrowed.nOrder = 2;
    borrowed.nView = SHB_SMALLICON;
    borrowed.nMask = SHBIF_TEXT | SHBIF_IMAGE | SHBIF_PARAM | SHBIF_ORDER | SHBIF_VIEW;
    EXPECT_FALSE(borrowed.OwnsText());

    SHB_GROUPINFO copy(borrowed);
    EXPECT_TRUE(copy.OwnsText());
    EXPECT_NE(copy.pszText, callers.get());
    EXPECT_STREQ(copy.pszText, L"Inbox");
    EXPECT_EQ(copy.nTextMax, 5);
    EXPECT_EQ(copy.nImage, 3);
    EXPECT_EQ(copy.nImageExpanded, -1);
    EXPECT_EQ(copy.lParam, -7);
    EXPECT_EQ(copy.nOrder, 2);
    EXPECT_EQ(copy.nView, SHB_SMALLICON);
    EXPECT_EQ(copy.nMask, borrowed.nMask);

    // The caller's buffer may go; the copy keeps its own.
    callers[0] = L'X';
    callers.reset();
    EXPECT_STREQ(copy.pszText, L"Inbox");

    SHB_GROUPINFO second;
    second.SetText(L"Old title");
    second = copy;
    EXPECT_STREQ(second.pszText, L"Inbox");
    EXPECT_NE(second.pszText, copy.pszText);
    const SHB_GROUPINFO& same = second;
    second = same; // self-assignment keeps the title
    EXPECT_STREQ(second.pszText, L"Inbox");
    second.SetText(second.pszText, 2); // from its own title
    EXPECT_STREQ(second.pszText, L"In");

    // A borrowed title is never freed by the record (the sanitizer would see it).
    wchar_t stack[] = L"Stack";
    SHB_GROUPINFO onStack;
    onStack.pszText = stack;
    onStack.nTextMax = 5;
    onStack.ClearText();
    EXPECT_EQ(onStack.pszText, nullptr);
}

TEST(GroupInfoTest, MovesHandTheTitleOverAndResetClearsEverything)
{
    SHB_GROUPINFO a;
    a.SetText(L"Notes");
    a.nMask = SHBIF_TEXT;
    const wchar_t* title = a.pszText;
    SHB_GROUPINFO b(std::move(a));
    EXPECT_EQ(b.pszText, title);
    EXPECT_TRUE(b.OwnsText());
    EXPECT_EQ(a.pszText, nullptr);
    EXPECT_EQ(a.nTextMax, 0);
    SHB_GROUPINFO c;
    c.SetText(L"other");
    c = std::move(b);
    EXPECT_EQ(c.pszText, title);
    c.lParam = 9;
    c.Reset();
    EXPECT_EQ(c.pszText, nullptr);
    EXPECT_EQ(c.nMask, 0u);
    EXPECT_EQ(c.lParam, 0);
}

TEST(AutoSizePlacementTest, MeasuredSizeIsClippedGrownAndAlignedInsideTheMaximum)
{
    namespace shb = zyn::toolkit::shb;
    const CRect max(10, 20, 110, 80);   // 100 x 60
    const CRect min(40, 20, 80, 40);    // 40 x 20
    struct Row {
        const char* name;
        DWORD style;
        CSize measured;
        CRect expected;
    };
    const Row rows[] = {
        // d = 100 - 40 = 60: the left edge stays, the right is 60 in.
        {"left, below the minimum", ES_LEFT, CSize(30, 16), CRect(10, 20, 50, 40)},
        // d = 39: right = 110 - 19 = 91, left = 91 - 61 = 30 (the odd pixel on the left).
        {"centred", ES_CENTER, CSize(61, 25), CRect(30, 20, 91, 45)},
        // Two pixels wider: one more on each side.
        {"centred 42", ES_CENTER, CSize(42, 20), CRect(39, 20, 81, 40)},
        {"centred 44", ES_CENTER, CSize(44, 20), CRect(38, 20, 82, 40)},
        {"centred, below the minimum", ES_CENTER, CSize(10, 10), CRect(40, 20, 80, 40)},
        // d = 50: left = 10 + 50.
        {"right", ES_RIGHT, CSize(50, 30), CRect(60, 20, 110, 50)},
        {"right wins over centre", ES_RIGHT | ES_CENTER, CSize(50, 20), CRect(60, 20, 110, 40)},
        {"larger than the maximum", ES_CENTER, CSize(150, 70), CRect(10, 20, 110, 80)},
        {"as wide as the maximum", ES_RIGHT, CSize(100, 60), CRect(10, 20, 110, 80)},
    };
    for (const Row& r : rows)
        EXPECT_EQ(shb::PlaceAutoSizedEdit(max, min, r.measured, r.style), r.expected) << r.name;
}

} // namespace
} // namespace shbtest
