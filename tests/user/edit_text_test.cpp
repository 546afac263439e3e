// An edit control's text and line table without a window: breaks, word wrap worked by
// hand with 10-pixel characters, replacements laid out again only where they touch, and
// setting megabytes in linear time.
#include <algorithm>
#include <chrono>
#include <random>

#include <gtest/gtest.h>

#include "platform/user/edit_text.h"
#include "tests/support/timing.h"

namespace zyn::test {
namespace {

using user::ctl::EditLine;
using user::ctl::EditMetrics;
using user::ctl::EditText;

EditMetrics TenPixels()
{
    EditMetrics m;
    m.charWidth = [](wchar_t) { return 10; };
    m.tabInterval = 40;
    return m;
}

std::vector<std::pair<int, int>> Lines(const EditText& t)
{
    std::vector<std::pair<int, int>> out;
    for (int32_t i = 0; i < t.LineCount(); ++i)
        out.emplace_back(t.Line(i).start, t.Line(i).length);
    return out;
}

struct WrapRow {
    const wchar_t* text;
    int width;
    std::vector<std::pair<int, int>> lines; // start, shown length
};

TEST(EditTextTest, WordsWrapAfterTheLastBlankThatFits)
{
    const WrapRow rows[] = {
        // "aaa " is 40 px and the next "b" would end at 50: it fits; "bb" does not.
        {L"aaa bbb ccc", 50, {{0, 4}, {4, 4}, {8, 3}}},
        // A word wider than the line breaks where it stops fitting.
        {L"abcdefghij", 50, {{0, 5}, {5, 5}}},
        {L"abcdefghijk", 50, {{0, 5}, {5, 5}, {10, 1}}},
        // Blanks hang at the end of a line, however many.
        {L"ab      cd", 50, {{0, 8}, {8, 2}}},
        // Exactly the width fits.
        {L"abcde", 50, {{0, 5}}},
        // Breaks still come first: each paragraph wraps on its own.
        {L"aaaa bbbb\r\ncc", 50, {{0, 5}, {5, 4}, {11, 2}}},
        {L"", 50, {{0, 0}}},
        // No width: no wrapping.
        {L"aaa bbb ccc", 0, {{0, 11}}},
    };
    for (const auto& r : rows) {
        EditText t;
        t.Configure(true, r.width, TenPixels());
        t.SetText(r.text);
        EXPECT_EQ(Lines(t), r.lines) << "\"" << std::string(r.text, r.text + wcslen(r.text)) << "\" at " << r.width;
    }
}

TEST(EditTextTest, BreaksPositionsAndWords)
{
    EditText t;
    t.Configure(true, 0, TenPixels());
    t.SetText(L"ab\r\ncd\n\nx\ty  z");
    ASSERT_EQ(t.LineCount(), 4);
    EXPECT_EQ(t.Line(0).brk, 2);
    EXPECT_EQ(t.Line(1).brk, 1);
    EXPECT_EQ(t.Line(2).brk, 1);
    EXPECT_EQ(t.Line(3).brk, 0);
    // A CR LF is one step for the caret.
    EXPECT_EQ(t.NextPos(2), 4);
    EXPECT_EQ(t.PrevPos(4), 2);
    EXPECT_EQ(t.NextPos(5), 6);
    EXPECT_EQ(t.PrevPos(7), 6);
    // A tab advances to the next 40-pixel stop: "x" ends at 10, the tab at 40, "y" at 50.
    EXPECT_EQ(t.XOf(3, 9), 10);
    EXPECT_EQ(t.XOf(3, 10), 40);
    EXPECT_EQ(t.XOf(3, 11), 50);
    EXPECT_EQ(t.CharAt(3, 44), 10);  // nearer to the start of "y" than to its end
    EXPECT_EQ(t.CharAt(3, 46), 11);
    EXPECT_EQ(t.CharAt(3, 9999), 14);
    // Words are runs of non-blanks; line breaks are blanks too.
    EXPECT_EQ(t.NextWordStart(0), 4);
    EXPECT_EQ(t.NextWordStart(9), 10);
    EXPECT_EQ(t.PrevWordStart(14), 13);
    EXPECT_EQ(t.PrevWordStart(13), 10);
    int32_t a = 0, b = 0;
    t.WordAt(11, &a, &b);
    EXPECT_EQ(std::make_pair(a, b), std::make_pair(11, 13)); // the blanks between "y" and "z"
    t.WordAt(5, &a, &b);
    EXPECT_EQ(std::make_pair(a, b), std::make_pair(4, 6));
    // A single line holds everything, breaks included.
    EditText one;
    one.Configure(false, 0, TenPixels());
    one.SetText(L"a\r\nb");
    EXPECT_EQ(one.LineCount(), 1);
    EXPECT_EQ(one.Line(0).length, 4);
    EXPECT_EQ(one.NextPos(1), 2);
}

// Replacements lay out only the paragraphs they touch; the table must equal a full layout
// of the same text after every step.
TEST(EditTextTest, ReplacementsMatchAFreshLayout)
{
    std::mt19937 rng(12345);
    const wchar_t alphabet[] = L"ab  c\r\n\nd\t";
    for (int wrap : {0, 45}) {
        EditText t;
        t.Configure(true, wrap, TenPixels());
        t.SetText(L"start text\r\nwith lines\nand more words here");
        for (int step = 0; step < 600; ++step) {
            const int len = t.Length();
            const int pos = static_cast<int>(rng() % static_cast<unsigned>(len + 1));
            const int count = static_cast<int>(rng() % 4u);
            std::wstring ins;
            const int n = static_cast<int>(rng() % 4u);
            for (int i = 0; i < n; ++i)
                ins.push_back(alphabet[rng() % (sizeof alphabet / sizeof alphabet[0] - 1)]);
            t.Replace(pos, count, ins);
            EditText fresh;
            fresh.Configure(true, wrap, TenPixels());
            fresh.SetText(t.Text());
            ASSERT_EQ(t.LineCount(), fresh.LineCount()) << "wrap " << wrap << " step " << step;
            for (int32_t i = 0; i < t.LineCount(); ++i) {
                ASSERT_EQ(t.Line(i).start, fresh.Line(i).start) << "wrap " << wrap << " step " << step << " line " << i;
                ASSERT_EQ(t.Line(i).length, fresh.Line(i).length) << "wrap " << wrap << " step " << step;
                ASSERT_EQ(t.Line(i).brk, fresh.Line(i).brk) << "wrap " << wrap << " step " << step;
            }
        }
    }
}

// Seconds to index the text in a fresh multi-line buffer (its set-up not timed).
double SecondsToSet(const std::wstring& text, int wrap)
{
    EditText t;
    t.Configure(true, wrap, TenPixels());
    const auto t0 = std::chrono::steady_clock::now();
    t.SetText(text);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_GT(t.LineCount(), 1);
    return seconds;
}

// Several megabytes are indexed in time proportional to their size: four times the text
// takes about four times as long (a quadratic index would take sixteen).
TEST(EditTextTest, SettingMegabytesScalesLinearly)
{
    std::wstring line = L"the quick brown fox jumps over the lazy dog 0123456789\r\n";
    std::wstring small;
    while (small.size() < 1'000'000)
        small += line;
    std::wstring large;
    for (int i = 0; i < 4; ++i)
        large += small;
    for (int wrap : {0, 200}) {
        const double a = BestOf([&] { return SecondsToSet(small, wrap); });
        const double b = BestOf([&] { return SecondsToSet(large, wrap); });
        EXPECT_LT(b, a * 9 + 0.05) << "wrap " << wrap << ": " << a << " s for 1 MB, " << b << " s for 4 MB";
    }
}

} // namespace
} // namespace zyn::test
