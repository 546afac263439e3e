// The toolkit's bounded string functions: results and error returns, with the bounds of
// each destination checked (no byte written past it, none written on a refused call).
#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include "platform/base/codepage.h"
#include "platform/base/environment.h"
#include "toolkit/skins/ox_strings.h"

namespace {

// A buffer with guard bytes after it, so a write past the stated size shows.
template <class Ch, size_t N>
struct Guarded {
    Ch data[N + 4];
    Guarded() { std::fill(std::begin(data), std::end(data), static_cast<Ch>('#')); }
    bool GuardIntact() const
    {
        for (size_t i = N; i < N + 4; ++i)
            if (data[i] != static_cast<Ch>('#'))
                return false;
        return true;
    }
};

TEST(OXStrings, NarrowCopyWithACountHonoursItsSize)
{
    struct Row {
        const char* name;
        size_t size;
        const char* src;
        size_t count;
        errno_t result;
        const char* expect; // null: the buffer is not touched at all
    };
    const Row rows[] = {
        {"fits", 8, "abc", 3, 0, "abc"},
        {"count shorter than the source", 8, "abcdef", 2, 0, "ab"},
        {"count zero", 8, "abc", 0, 0, ""},
        {"too long", 4, "abcdef", 6, ERANGE, ""},
        {"cut on request", 4, "abcdef", _TRUNCATE, STRUNCATE, "abc"},
        {"fits on request", 8, "abc", _TRUNCATE, 0, "abc"},
        {"exactly full", 4, "abcd", 3, 0, "abc"},
        {"null source", 8, nullptr, 3, EINVAL, ""},
        // A zero-sized destination is refused as it is, never written (not even a
        // terminator).
        {"zero size", 0, "abc", 3, EINVAL, nullptr},
        {"zero size, zero count", 0, "abc", 0, EINVAL, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Guarded<char, 8> buf;
        EXPECT_EQ(OXStrNCopyA(buf.data, row.size, row.src, row.count), row.result);
        if (row.expect)
            EXPECT_STREQ(buf.data, row.expect);
        else
            EXPECT_EQ(buf.data[0], '#');
        // Nothing past the size the call was given.
        for (size_t i = std::max<size_t>(row.size, row.expect ? std::strlen(row.expect) + 1 : 0); i < 8; ++i)
            EXPECT_EQ(buf.data[i], '#') << "byte " << i;
        EXPECT_TRUE(buf.GuardIntact());
    }
    EXPECT_EQ(OXStrNCopyA(nullptr, 0, "abc", 0), 0) << "nothing asked, nothing done";
    EXPECT_EQ(OXStrNCopyA(nullptr, 4, "abc", 1), EINVAL);
}

TEST(OXStrings, CopiesAndConcatenationsReportErrors)
{
    char a[4];
    EXPECT_EQ(OXStrCopyA(a, sizeof a, "abc"), 0);
    EXPECT_STREQ(a, "abc");
    EXPECT_EQ(OXStrCopyA(a, sizeof a, "abcd"), ERANGE);
    EXPECT_STREQ(a, "");
    EXPECT_EQ(OXStrCopyA(a, sizeof a, nullptr), EINVAL);
    EXPECT_EQ(OXStrCopyA(nullptr, 4, "a"), EINVAL);
    // The wide forms that once answered nothing report the run-time's result.
    wchar_t w[6];
    EXPECT_EQ(OXStrCopyW(w, 6, L"hello!"), ERANGE);
    EXPECT_STREQ(w, L"");
    EXPECT_EQ(OXStrNCopyW(w, 6, L"xyz", 2), 0);
    EXPECT_EQ(OXStrCatW(w, 6, L"abc"), 0);
    EXPECT_STREQ(w, L"xyabc");
    EXPECT_EQ(OXStrNCatW(w, 6, L"d", _TRUNCATE), STRUNCATE);
    EXPECT_EQ(OXStrCopyExW(w, 6, nullptr), EINVAL);
}

TEST(OXStrings, IntegersToText)
{
    struct Row {
        int value;
        int radix;
        size_t size;
        errno_t result;
        const char* expect;
    };
    const Row rows[] = {
        {255, 16, 8, 0, "ff"},
        {-5, 10, 8, 0, "-5"},
        {-1, 16, 9, 0, "ffffffff"},   // other radixes show the 32-bit pattern
        {-1, 2, 33, 0, "11111111111111111111111111111111"},
        {-1, 2, 32, ERANGE, ""},
        {INT_MIN, 10, 12, 0, "-2147483648"},
        {INT_MIN, 10, 11, ERANGE, ""},
        {35, 36, 2, 0, "z"},
        {7, 1, 8, EINVAL, ""},
        {7, 37, 8, EINVAL, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.value << " radix " << row.radix << " size " << row.size);
        Guarded<char, 40> narrow;
        EXPECT_EQ(OXIntToStrA(row.value, narrow.data, row.size, row.radix), row.result);
        EXPECT_STREQ(narrow.data, row.expect);
        EXPECT_EQ(narrow.data[row.size < 40 ? row.size : 39], '#');
        wchar_t wide[40];
        EXPECT_EQ(OXIntToStrW(row.value, wide, row.size, row.radix), row.result);
        EXPECT_EQ(std::wstring(wide), std::wstring(row.expect, row.expect + std::strlen(row.expect)));
        EXPECT_EQ(OXLongToStrW(static_cast<LONG>(row.value), wide, row.size, row.radix), row.result);
    }
    EXPECT_EQ(OXIntToStrA(1, nullptr, 4, 10), EINVAL);
    char one[1] = {'#'};
    EXPECT_EQ(OXIntToStrA(1, one, 0, 10), EINVAL);
    EXPECT_EQ(one[0], '#');
}

TEST(OXStrings, FormattingReportsEveryFailureWithoutThrowing)
{
    wchar_t w[8];
    EXPECT_EQ(OXFormatStrW(w, 8, L"%d-%s", 42, L"ab"), 5);
    EXPECT_STREQ(w, L"42-ab");
    EXPECT_EQ(OXFormatStrW(w, 8, L"%s", L"12345678"), -1) << "does not fit";
    EXPECT_STREQ(w, L"");
    EXPECT_EQ(OXFormatStrW(w, 8, L"%d", L"text"), -1) << "an argument of the wrong kind";
    EXPECT_STREQ(w, L"");
    EXPECT_EQ(OXFormatStrW(w, 8, nullptr), -1);
    EXPECT_EQ(OXFormatStrW(nullptr, 8, L"x"), -1);
    char a[8];
    EXPECT_EQ(OXFormatStrA(a, 8, "%s=%x", "k", 255), 4);
    EXPECT_STREQ(a, "k=ff");
    EXPECT_EQ(OXFormatStrA(a, 4, "%d", 12345), -1);
    EXPECT_STREQ(a, "");
    EXPECT_EQ(OXFormatStrA(a, 8, "%s", 3), -1);
}

TEST(OXStrings, WideToNarrowAndBack)
{
    ASSERT_EQ(GetACP(), 1252u);
    size_t converted = 99;
    char a[8];
    EXPECT_EQ(OXWideToMultiByte(&converted, a, 8, L"abc", _TRUNCATE), 0);
    EXPECT_STREQ(a, "abc");
    EXPECT_EQ(converted, 4u) << "the terminator counts";
    EXPECT_EQ(OXWideToMultiByte(&converted, nullptr, 0, L"abcdef", _TRUNCATE), 0);
    EXPECT_EQ(converted, 7u) << "the size needed";
    EXPECT_EQ(OXWideToMultiByte(&converted, a, 8, L"abcdef", 2), 0);
    EXPECT_STREQ(a, "ab");
    EXPECT_EQ(OXWideToMultiByte(&converted, a, 3, L"abcdef", _TRUNCATE), STRUNCATE);
    EXPECT_STREQ(a, "ab");
    EXPECT_EQ(converted, 3u);
    EXPECT_EQ(OXWideToMultiByte(&converted, a, 3, L"abcdef", 6), ERANGE);
    EXPECT_STREQ(a, "");
    EXPECT_EQ(converted, 0u);
    // U+00E9 is one byte, 0xE9, in Windows-1252; U+4E2D has no place in it.
    EXPECT_EQ(OXWideToMultiByte(&converted, a, 8, L"\u00E9t\u00E9", _TRUNCATE), 0);
    EXPECT_STREQ(a, "\xE9t\xE9");
    EXPECT_EQ(OXWideToMultiByte(&converted, a, 8, L"a\u4E2D", _TRUNCATE), EILSEQ);
    EXPECT_STREQ(a, "");
    EXPECT_EQ(OXWideToMultiByte(&converted, a, 8, nullptr, 1), EINVAL);
    EXPECT_EQ(OXWideToMultiByte(&converted, nullptr, 8, L"a", 1), EINVAL);

    wchar_t w[4];
    EXPECT_EQ(OXMultiByteToWide(w, 4, "\xE9t\xE9", _TRUNCATE), 4u);
    EXPECT_STREQ(w, L"\u00E9t\u00E9");
    EXPECT_EQ(OXMultiByteToWide(nullptr, 0, "abcdef", _TRUNCATE), 7u);
    EXPECT_EQ(OXMultiByteToWide(w, 4, "abcdef", 6), 0u) << "does not fit";
    EXPECT_STREQ(w, L"");
    EXPECT_EQ(OXMultiByteToWide(w, 4, "abcdef", _TRUNCATE), 4u) << "cut where the caller asked for it";
    EXPECT_STREQ(w, L"abc");
    EXPECT_EQ(OXMultiByteToWide(w, 4, "abcdef", 2), 3u);
    EXPECT_STREQ(w, L"ab");
    EXPECT_EQ(OXMultiByteToWide(w, 4, nullptr, 2), 0u);
}

TEST(OXStrings, TokensAndPaths)
{
    wchar_t text[] = L",a,, b c,";
    wchar_t* context = nullptr;
    std::vector<std::wstring> tokens;
    for (wchar_t* t = OXStrTokW(text, L", ", &context); t; t = OXStrTokW(nullptr, L", ", &context))
        tokens.emplace_back(t);
    EXPECT_EQ(tokens, (std::vector<std::wstring>{L"a", L"b", L"c"}));
    EXPECT_EQ(OXStrTokW(text, L",", nullptr), nullptr);
    context = nullptr;
    EXPECT_EQ(OXStrTokW(nullptr, L",", &context), nullptr);

    struct Row {
        const wchar_t* path;
        const wchar_t *drive, *dir, *name, *ext;
    };
    const Row rows[] = {
        {L"C:\\dir\\sub\\file.name.txt", L"C:", L"\\dir\\sub\\", L"file.name", L".txt"},
        {L"noext", L"", L"", L"noext", L""},
        {L"/unix/path.d/file", L"", L"/unix/path.d/", L"file", L""}, // a dot in a folder is no extension
        {L"D:.profile", L"D:", L"", L"", L".profile"},
        {L"", L"", L"", L"", L""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.path);
        wchar_t drive[4], dir[32], name[16], ext[10];
        ASSERT_EQ(OXSplitPathW(row.path, drive, 4, dir, 32, name, 16, ext, 10), 0);
        EXPECT_STREQ(drive, row.drive);
        EXPECT_STREQ(dir, row.dir);
        EXPECT_STREQ(name, row.name);
        EXPECT_STREQ(ext, row.ext);
    }
    wchar_t drive[4] = L"x", dir[32] = L"x", name[4] = L"x", ext[8] = L"x";
    EXPECT_EQ(OXSplitPathW(L"C:\\a\\longname.txt", drive, 4, dir, 32, name, 4, ext, 8), ERANGE);
    EXPECT_STREQ(drive, L"") << "every component emptied";
    EXPECT_STREQ(dir, L"");
    EXPECT_STREQ(ext, L"");
    // Components not wanted (null, 0) are skipped; a null one with a size is refused.
    EXPECT_EQ(OXSplitPathW(L"C:\\a\\b.txt", nullptr, 0, nullptr, 0, name, 4, nullptr, 0), 0);
    EXPECT_STREQ(name, L"b");
    EXPECT_EQ(OXSplitPathW(L"C:\\a\\b.txt", nullptr, 3, nullptr, 0, name, 4, nullptr, 0), EINVAL);
    EXPECT_EQ(OXSplitPathW(nullptr, drive, 4, dir, 32, name, 4, ext, 8), EINVAL);
}

TEST(OXStrings, FloatDigits)
{
    struct Row {
        double value;
        int count;
        const char* digits;
        int decimal;
        int sign;
    };
    // value = 0.d1d2... x 10^decimal, rounded to `count` places after the point.
    const Row rows[] = {
        {3.14159, 2, "314", 1, 0},
        {-3.14159, 2, "314", 1, 1},
        {0.0123, 3, "12", -1, 0},
        {1234.5678, 0, "1235", 4, 0},
        {99.996, 2, "10000", 3, 0},
        {0.001, 2, "", 0, 0},
        {5.0, 3, "5000", 1, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.value << " count " << row.count);
        int decimal = 7, sign = 7;
        std::unique_ptr<char[]> digits(OXFloatToDigitsA(row.value, row.count, &decimal, &sign));
        ASSERT_NE(digits, nullptr);
        EXPECT_STREQ(digits.get(), row.digits);
        EXPECT_EQ(decimal, row.decimal);
        EXPECT_EQ(sign, row.sign);
    }
    // 1e300 has 301 digits before the point: far more than 2 * count + 10.
    int decimal = 0, sign = 0;
    std::unique_ptr<char[]> big(OXFloatToDigitsA(1e300, 2, &decimal, &sign));
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(std::strlen(big.get()), 303u);
    EXPECT_EQ(decimal, 301);
    EXPECT_EQ(big[0], '1');
    // Refused: no place for the answers, a bad count, a value without digits.
    EXPECT_EQ(OXFloatToDigitsA(1.0, 2, nullptr, &sign), nullptr);
    EXPECT_EQ(OXFloatToDigitsA(1.0, -1, &decimal, &sign), nullptr);
    EXPECT_EQ(OXFloatToDigitsA(1.0, 350, &decimal, &sign), nullptr);
    EXPECT_EQ(OXFloatToDigitsA(std::numeric_limits<double>::quiet_NaN(), 2, &decimal, &sign), nullptr);
    EXPECT_EQ(OXFloatToDigitsA(HUGE_VAL, 2, &decimal, &sign), nullptr);
}

TEST(OXStrings, EnvironmentValues)
{
    ASSERT_TRUE(SetEnvironmentVariableW(L"ZYN_OX_TEST_VALUE", L"value one"));
    ASSERT_TRUE(SetEnvironmentVariableW(L"ZYN_OX_TEST_EMPTY", L""));
    std::unique_ptr<wchar_t[]> value(OXGetEnvW(L"ZYN_OX_TEST_VALUE"));
    ASSERT_NE(value, nullptr);
    EXPECT_STREQ(value.get(), L"value one");
    std::unique_ptr<wchar_t[]> empty(OXGetEnvW(L"ZYN_OX_TEST_EMPTY"));
    ASSERT_NE(empty, nullptr);
    EXPECT_STREQ(empty.get(), L"");
    EXPECT_EQ(OXGetEnvW(L"ZYN_OX_TEST_MISSING"), nullptr);
    EXPECT_EQ(OXGetEnvW(nullptr), nullptr);
    SetEnvironmentVariableW(L"ZYN_OX_TEST_VALUE", nullptr);
    SetEnvironmentVariableW(L"ZYN_OX_TEST_EMPTY", nullptr);
}

} // namespace
