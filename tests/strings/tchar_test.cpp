// The C run-time and Win32 string helpers.
#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cmath>

#include "platform/base/tchar.h"

TEST(TChar, SecureCopyAndConcatenate)
{
    wchar_t buf[6];
    EXPECT_EQ(_tcscpy_s(buf, L"abc"), 0);
    EXPECT_STREQ(buf, L"abc");
    EXPECT_EQ(_tcscat_s(buf, L"de"), 0);
    EXPECT_STREQ(buf, L"abcde");
    EXPECT_EQ(_tcscat_s(buf, L"f"), ERANGE); // no room: emptied, not cut
    EXPECT_STREQ(buf, L"");
    EXPECT_EQ(_tcscpy_s(buf, L"abcdef"), ERANGE);
    EXPECT_STREQ(buf, L"");
    EXPECT_EQ(_tcscpy_s(buf, 6, nullptr), EINVAL);
    EXPECT_EQ(_tcscpy_s(nullptr, 6, L"a"), EINVAL);

    EXPECT_EQ(_tcsncpy_s(buf, L"abcdef", 3), 0);
    EXPECT_STREQ(buf, L"abc");
    EXPECT_EQ(_tcsncpy_s(buf, L"abcdefgh", _TRUNCATE), STRUNCATE);
    EXPECT_STREQ(buf, L"abcde");
    EXPECT_EQ(_tcsncpy_s(buf, L"abcdefgh", 7), ERANGE);
    EXPECT_STREQ(buf, L"");

    wchar_t unterminated[3] = {L'x', L'y', L'z'};
    EXPECT_EQ(_tcscat_s(unterminated, L"a"), EINVAL);
    EXPECT_EQ(unterminated[0], L'\0');

    wchar_t dst[4];
    EXPECT_EQ(lstrcpyn(dst, L"abcdef", 4), dst);
    EXPECT_STREQ(dst, L"abc");
    EXPECT_EQ(lstrlen(L"abc"), 3);
    EXPECT_EQ(lstrlen(nullptr), 0);
    EXPECT_EQ(_tcslen(L"\U0001F600"), 1u); // one code point
}

TEST(TChar, ComparisonAndSearch)
{
    EXPECT_EQ(_tcsicmp(L"Hello", L"hELLO"), 0);
    EXPECT_EQ(_wcsicmp(L"\u00C4rger", L"\u00E4RGER"), 0);
    EXPECT_LT(_tcsicmp(L"abc", L"ABD"), 0);
    EXPECT_EQ(_tcsnicmp(L"PREFIXed", L"prefixES", 6), 0);
    EXPECT_NE(_wcsnicmp(L"ab", L"AC", 2), 0);
    EXPECT_EQ(_wcsicmp(nullptr, L"a"), _NLSCMPERROR);
    EXPECT_LT(_tcscmp(L"a", L"b"), 0);
    const wchar_t* s = L"path/to/file.ext";
    EXPECT_EQ(_tcschr(s, L'/'), s + 4);
    EXPECT_EQ(_tcsrchr(s, L'/'), s + 7);
    EXPECT_EQ(_tcsstr(s, L"file"), s + 8);
    EXPECT_EQ(_tcsstr(s, L"none"), nullptr);

    // Word sort: letters by base letter, then accents, then lower before upper.
    EXPECT_LT(lstrcmp(L"a", L"B"), 0);
    EXPECT_LT(lstrcmp(L"a", L"A"), 0);
    EXPECT_LT(lstrcmp(L"\u00E9a", L"eb"), 0);
    EXPECT_LT(lstrcmp(L"e", L"\u00E9"), 0);
    EXPECT_LT(lstrcmp(L"1", L"a"), 0);
    EXPECT_LT(lstrcmp(L"_", L"1"), 0);
    EXPECT_EQ(lstrcmp(L"same", L"same"), 0);
    EXPECT_EQ(lstrcmpi(L"Same", L"sAME"), 0);
    EXPECT_NE(lstrcmpi(L"\u00E9", L"e"), 0);
    EXPECT_LT(lstrcmpi(L"ab", L"ABC"), 0);
}

TEST(TChar, CaseBlindComparisonsAgreeWideAndNarrow)
{
    // The narrow forms follow the wide ones: bounded by the count, null refused with
    // EINVAL, a zero count equal whatever the strings.
    EXPECT_EQ(_stricmp("Hello", "hELLO"), 0);
    EXPECT_LT(_stricmp("abc", "ABD"), 0);
    EXPECT_GT(_stricmp("abcd", "ABC"), 0);
    EXPECT_EQ(_strnicmp("PREFIXed", "prefixES", 6), 0);
    EXPECT_NE(_strnicmp("PREFIXed", "prefixES", 8), 0);
    EXPECT_EQ(_strnicmp("ab", "AB", 100), 0) << "the count stops at the terminator";
    EXPECT_EQ(_wcsnicmp(L"ab", L"AB", 100), 0);
    EXPECT_EQ(_strnicmp(nullptr, "a", 0), 0);
    EXPECT_EQ(_wcsnicmp(nullptr, L"a", 0), 0);
    errno = 0;
    EXPECT_EQ(_stricmp("a", nullptr), _NLSCMPERROR);
    EXPECT_EQ(errno, EINVAL);
    errno = 0;
    EXPECT_EQ(_strnicmp(nullptr, "a", 1), _NLSCMPERROR);
    EXPECT_EQ(errno, EINVAL);
    errno = 0;
    EXPECT_EQ(_wcsnicmp(L"a", nullptr, 1), _NLSCMPERROR);
    EXPECT_EQ(errno, EINVAL);
}

TEST(TChar, CaseMappingInPlaceRefusesAnUnterminatedBuffer)
{
    wchar_t s[3] = {L'a', L'b', L'c'}; // no terminator within its three characters
    EXPECT_EQ(_wcsupr_s(s, 3), EINVAL);
    EXPECT_EQ(s[0], L'\0') << "emptied";
    wchar_t t[3] = {L'A', L'B', L'C'};
    EXPECT_EQ(_wcslwr_s(t, 3), EINVAL);
    EXPECT_EQ(t[0], L'\0');
    EXPECT_EQ(_wcsupr_s(nullptr, 3), EINVAL);
    wchar_t u[4] = L"aB\u00E9";
    EXPECT_EQ(_wcsupr_s(u, 0), EINVAL);
    EXPECT_EQ(u[0], L'a') << "a zero size leaves the string alone";
    EXPECT_EQ(_wcsupr_s(u, 4), 0);
    EXPECT_STREQ(u, L"AB\u00C9");
    EXPECT_EQ(_wcslwr_s(u, 4), 0);
    EXPECT_STREQ(u, L"ab\u00E9");
}

TEST(TChar, NumbersFromText)
{
    EXPECT_EQ(_ttoi(L"  -42xyz"), -42);
    EXPECT_EQ(_tstoi(L"+7"), 7);
    EXPECT_EQ(_wtoi(L"abc"), 0);
    EXPECT_EQ(_ttoi(L"99999999999"), INT_MAX);
    EXPECT_EQ(_ttoi(L"-99999999999"), INT_MIN);
    EXPECT_EQ(_ttol(L"-2147483648"), INT32_MIN);
    EXPECT_EQ(_ttoi64(L"9223372036854775807"), INT64_MAX);
    EXPECT_DOUBLE_EQ(_wtof(L" 3.25e2abc"), 325.0);
    EXPECT_DOUBLE_EQ(_wtof(L"-0.5"), -0.5);
    EXPECT_EQ(_wtof(L"junk"), 0.0);

    wchar_t* end = nullptr;
    const wchar_t* hex = L"0x1F!";
    EXPECT_EQ(_tcstol(hex, &end, 16), 31);
    EXPECT_EQ(end, hex + 4);
    EXPECT_EQ(_tcstol(hex, &end, 0), 31);
    EXPECT_EQ(_tcstol(L"017", nullptr, 0), 15);
    const wchar_t* zx = L"0xg";
    EXPECT_EQ(_tcstol(zx, &end, 0), 0);
    EXPECT_EQ(end, zx + 1); // only the 0 was used
    const wchar_t* none = L"  +";
    EXPECT_EQ(_tcstol(none, &end, 10), 0);
    EXPECT_EQ(end, none);
    errno = 0;
    EXPECT_EQ(_tcstol(L"4294967296", nullptr, 10), INT32_MAX);
    EXPECT_EQ(errno, ERANGE);
    EXPECT_EQ(_tcstoul(L"4294967295", nullptr, 10), 0xFFFFFFFFu);
    EXPECT_EQ(_tcstoul(L"4294967296", nullptr, 10), 0xFFFFFFFFu);
    EXPECT_EQ(_tcstoul(L"-1", nullptr, 10), 0xFFFFFFFFu);
    EXPECT_EQ(_tcstoul(L"z", nullptr, 36), 35u);
    errno = 0;
    EXPECT_EQ(_tcstol(L"1", nullptr, 1), 0);
    EXPECT_EQ(errno, EINVAL);
}

TEST(TChar, NumbersToText)
{
    wchar_t buf[12];
    EXPECT_EQ(_itot_s(-123, buf, 10), 0);
    EXPECT_STREQ(buf, L"-123");
    EXPECT_EQ(_itow_s(255, buf, 12, 16), 0);
    EXPECT_STREQ(buf, L"ff");
    EXPECT_EQ(_itow_s(-1, buf, 12, 16), 0); // not radix 10: the bits, unsigned
    EXPECT_STREQ(buf, L"ffffffff");
    EXPECT_EQ(_ltow_s(INT32_MIN, buf, 12, 10), 0);
    EXPECT_STREQ(buf, L"-2147483648");
    EXPECT_EQ(_itow_s(5, buf, 12, 2), 0);
    EXPECT_STREQ(buf, L"101");
    EXPECT_EQ(_itow_s(12345, buf, 5, 10), ERANGE);
    EXPECT_STREQ(buf, L"");
    EXPECT_EQ(_itow_s(1, buf, 12, 1), EINVAL);
    EXPECT_EQ(_itow_s(1, nullptr, 12, 10), EINVAL);
}

TEST(TChar, CaseAndClasses)
{
    wchar_t s[] = L"Gr\u00FC\u00DFe \u0434\u0430";
    EXPECT_EQ(_tcsupr_s(s), 0);
    EXPECT_STREQ(s, L"GR\u00DC\u00DFE \u0414\u0410");
    EXPECT_EQ(_tcslwr_s(s), 0);
    EXPECT_STREQ(s, L"gr\u00FC\u00DFe \u0434\u0430");
    wchar_t t[] = L"mixed Case";
    EXPECT_EQ(CharUpperW(t), t);
    EXPECT_STREQ(t, L"MIXED CASE");
    EXPECT_EQ(CharLowerW(t), t);
    EXPECT_STREQ(t, L"mixed case");
    // The single-character form carries the character in the pointer value.
    EXPECT_EQ(reinterpret_cast<uintptr_t>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(L'\u00E9')))),
        static_cast<uintptr_t>(L'\u00C9'));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(CharLowerW(reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(L'Q')))),
        static_cast<uintptr_t>(L'q'));
    EXPECT_TRUE(IsCharAlphaW(L'\u00E9'));
    EXPECT_TRUE(IsCharAlphaW(L'\u0416'));
    EXPECT_TRUE(IsCharAlphaW(L'\u4E2D'));
    EXPECT_FALSE(IsCharAlphaW(L'5'));
    EXPECT_FALSE(IsCharAlphaW(L'\u00D7'));
    EXPECT_TRUE(IsCharAlphaNumericW(L'5'));
    EXPECT_FALSE(IsCharAlphaNumericW(L'-'));
    EXPECT_TRUE(_istspace(L'\u3000'));
    EXPECT_FALSE(_istspace(L'x'));
    EXPECT_EQ(_totupper(L'\u00FF'), L'\u0178');
}

TEST(TChar, MulDivRoundsHalfAwayFromZero)
{
    EXPECT_EQ(MulDiv(10, 3, 4), 8);    // 7.5
    EXPECT_EQ(MulDiv(-10, 3, 4), -8);  // -7.5
    EXPECT_EQ(MulDiv(10, -3, 4), -8);
    EXPECT_EQ(MulDiv(10, 3, -4), -8);
    EXPECT_EQ(MulDiv(-10, -3, -4), -8);
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(7, 1, 3), 2);     // 2.33
    EXPECT_EQ(MulDiv(8, 1, 3), 3);     // 2.67
    EXPECT_EQ(MulDiv(-7, 1, 3), -2);
    EXPECT_EQ(MulDiv(96, 12, 72), 16); // the usual point-size arithmetic
    EXPECT_EQ(MulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX); // the 64-bit product is exact
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(INT_MAX, 2, 1), -1);
    EXPECT_EQ(MulDiv(INT_MIN, 1, -1), -1);
    EXPECT_EQ(MulDiv(INT_MIN, 1, 1), INT_MIN);
}

TEST(TChar, SecurePrintf)
{
    wchar_t buf[8];
    EXPECT_EQ(swprintf_s(buf, L"%d-%s", 12, L"ab"), 5);
    EXPECT_STREQ(buf, L"12-ab");
    EXPECT_EQ(swprintf_s(buf, L"%s", L"too long text"), -1);
    EXPECT_STREQ(buf, L"");
    EXPECT_EQ(_sntprintf_s(buf, _TRUNCATE, L"%s", L"too long text"), -1);
    EXPECT_STREQ(buf, L"too lon");
    EXPECT_EQ(_sntprintf_s(buf, 3, L"%d", 12345), -1);
    EXPECT_STREQ(buf, L"123");
    EXPECT_EQ(_stprintf_s(buf, L"%04X", 0xAB), 4);
    EXPECT_STREQ(buf, L"00AB");
}
