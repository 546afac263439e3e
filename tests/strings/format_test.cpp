// The formatter: Windows conversion meanings, argument checking, FormatMessage inserts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "platform/base/codepage.h"
#include "platform/base/cstring.h"
#include "platform/base/exception.h"
#include "platform/base/format.h"

using zyn::base::Sprintf;

namespace {

// Runs `f`, expecting the formatter to refuse with CInvalidArgException; returns the
// detail text.
template <class F>
CString ExpectRefused(F&& f)
{
    CString detail;
    try {
        f();
        ADD_FAILURE() << "no exception";
    } catch (CException* e) {
        EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CInvalidArgException)));
        detail = e->GetDetail();
        e->Delete();
    }
    return detail;
}

} // namespace

TEST(FormatPrintf, StringsFollowTheWindowsMeaning)
{
    const char* narrow = "n\xE9";  // 1252: n, e-acute
    const wchar_t* wide = L"w\u00E9\U0001F600";
    EXPECT_EQ(Sprintf(L"[%s]", wide), L"[w\u00E9\U0001F600]");
    EXPECT_EQ(Sprintf(L"[%S]", narrow), L"[n\u00E9]");
    EXPECT_EQ(Sprintf(L"[%hs|%ls|%ws]", narrow, wide, wide), L"[n\u00E9|w\u00E9\U0001F600|w\u00E9\U0001F600]");
    EXPECT_EQ(Sprintf(L"[%-5s|%5s|%.2s]", L"ab", L"ab", L"abcdef"), L"[ab   |   ab|ab]");
    // Windows pads strings with zeros under the 0 flag.
    EXPECT_EQ(Sprintf(L"%05s", L"ab"), L"000ab");
    EXPECT_EQ(Sprintf(L"%s|%S", static_cast<const wchar_t*>(nullptr), static_cast<const char*>(nullptr)),
        L"(null)|(null)");
    EXPECT_EQ(Sprintf(L"%s", nullptr), L"(null)");
    CString cs(L"cstr");
    EXPECT_EQ(Sprintf(L"<%s>", cs), L"<cstr>");
}

TEST(FormatPrintf, NarrowFormatSwapsTheMeaningOfS)
{
    CStringA a;
    a.Format("%s/%S/%c/%C", "narrow", L"wide", 'x', L'y');
    EXPECT_STREQ(a.GetString(), "narrow/wide/x/y");
    // A wide character that the ANSI code page cannot hold becomes '?'.
    a.Format("%S", L"\u4E2D");
    EXPECT_STREQ(a.GetString(), "?");
}

TEST(FormatPrintf, IntegersTakeTheConversionWidth)
{
    EXPECT_EQ(Sprintf(L"%d %i %u", -5, 42, 7u), L"-5 42 7");
    EXPECT_EQ(Sprintf(L"%02i|%5d|%-5d|%05d|%+d|% d", 7, 42, 42, -42, 3, 3), L"07|   42|42   |-0042|+3| 3");
    EXPECT_EQ(Sprintf(L"%x|%08X|%#x|%#o|%o", 255, 0xBEEFu, 255, 8, 8), L"ff|0000BEEF|0xff|010|10");
    // %d reads 32 bits, %hd 16, %ld 32 (LONG), %I64d / %lld 64.
    const int64_t big = 0x123456789LL;
    EXPECT_EQ(Sprintf(L"%d", big), L"591751049");
    EXPECT_EQ(Sprintf(L"%I64d|%lld|%I64u", big, big, uint64_t{18446744073709551615u}),
        L"4886718345|4886718345|18446744073709551615");
    EXPECT_EQ(Sprintf(L"%ld", big), L"591751049");
    EXPECT_EQ(Sprintf(L"%hd|%hu", 70000, -1), L"4464|65535");
    EXPECT_EQ(Sprintf(L"%u", -1), L"4294967295");
    EXPECT_EQ(Sprintf(L"%I64d", -1), L"-1"); // a signed argument widens by its sign
    EXPECT_EQ(Sprintf(L"%I32d|%Id", big, big), L"591751049|4886718345");
    EXPECT_EQ(Sprintf(L"%.3d|%.0d|", 5, 0), L"005||");
    EXPECT_EQ(Sprintf(L"%d", INT32_MIN), L"-2147483648");
    EXPECT_EQ(Sprintf(L"%I64d", INT64_MIN), L"-9223372036854775808");
    EXPECT_EQ(Sprintf(L"%d %d", true, 'A'), L"1 65");
}

TEST(FormatPrintf, StarWidthAndPrecision)
{
    EXPECT_EQ(Sprintf(L"[%*d]", 5, 42), L"[   42]");
    EXPECT_EQ(Sprintf(L"[%*d]", -5, 42), L"[42   ]");
    EXPECT_EQ(Sprintf(L"[%.*s]", 3, L"abcdef"), L"[abc]");
    EXPECT_EQ(Sprintf(L"[%*.*f]", 8, 2, 3.14159), L"[    3.14]");
}

TEST(FormatPrintf, PointersCharsAndFloats)
{
    EXPECT_EQ(Sprintf(L"%p", reinterpret_cast<void*>(0x1234)), L"0000000000001234");
    EXPECT_EQ(Sprintf(L"%p", nullptr), L"0000000000000000");
    EXPECT_EQ(Sprintf(L"%c%c%C", L'\u00E9', L'\U0001F600', 'z'), L"\u00E9\U0001F600z");
    EXPECT_EQ(Sprintf(L"%3c|%-3c|", L'a', L'b'), L"  a|b  |");
    // A char is a narrow character (through the ANSI code page) whatever the conversion.
    EXPECT_EQ(Sprintf(L"%c%c", 'A', '\xE9'), L"A\u00E9");
    EXPECT_EQ(Sprintf(L"%C", L'\u20AC'), L"\u20AC");
    EXPECT_EQ(Sprintf(L"%.2f|%8.3f|%-8.1f|%+.0f", 3.14159, 2.5, 1.25, 2.5), L"3.14|   2.500|1.2     |+2");
    EXPECT_EQ(Sprintf(L"%e|%E|%g|%G", 12345.678, 0.00012, 0.0001, 1e20), L"1.234568e+04|1.200000E-04|0.0001|1E+20");
    EXPECT_EQ(Sprintf(L"%a", 1.0), L"0x1.0000000000000p+0");
    EXPECT_EQ(Sprintf(L"%f", 1.5f), L"1.500000");
    EXPECT_EQ(Sprintf(L"100%% sure"), L"100% sure");
}

TEST(FormatPrintf, WrongArgumentsAreRefused)
{
    // A number for a string, a string for a number, a float for %d, an integer for %f.
    EXPECT_NE(ExpectRefused([] { Sprintf(L"%s", 5); }).Find(L"%s"), -1);
    EXPECT_NE(ExpectRefused([] { Sprintf(L"%d %d", 1, L"x"); }).Find(L"argument 2"), -1);
    ExpectRefused([] { Sprintf(L"%d", 1.5); });
    ExpectRefused([] { Sprintf(L"%f", 1); });
    ExpectRefused([] { Sprintf(L"%x", 2.0); });
    ExpectRefused([] { Sprintf(L"%c", L"str"); });
    ExpectRefused([] { Sprintf(L"%s", reinterpret_cast<void*>(0x1234)); });
    ExpectRefused([] { Sprintf(L"%s", MAKEINTRESOURCE(12)); });
    // Missing arguments, including one for '*'.
    EXPECT_NE(ExpectRefused([] { Sprintf(L"%d and %d", 1); }).Find(L"argument 2"), -1);
    ExpectRefused([] { Sprintf(L"%*d", 5); });
    ExpectRefused([] { Sprintf(L"%*d", L"w", 5); });
    // %n writes through a pointer: never.
    ExpectRefused([] {
        int n = 0;
        Sprintf(L"%n", &n);
    });
    ExpectRefused([] { Sprintf(L"%q", 1); });
    ExpectRefused([] { Sprintf(L"50%", 1); });
    ExpectRefused([] { Sprintf(L"%99999999999d", 1); });
    ExpectRefused([] { CString s; s.Format(static_cast<LPCWSTR>(nullptr)); });
    // Extra arguments are ignored.
    EXPECT_EQ(Sprintf(L"%d", 1, 2, L"x"), L"1");
}

TEST(FormatPrintf, CStringFormatAndAppendFormat)
{
    CString s;
    s.Format(L"%s=%d", L"a", 1);
    s.AppendFormat(L", %s=%ld", L"b", 2);
    EXPECT_EQ(s, L"a=1, b=2");
    s.Format(L"%s", s.GetString()); // formatting from its own text
    EXPECT_EQ(s, L"a=1, b=2");
    s.Format(L"no args");
    EXPECT_EQ(s, L"no args");
}

TEST(FormatMessageText, InsertsAndEscapes)
{
    CString s;
    s.FormatMessage(L"%1 has %2!d! items%n", L"List", 3);
    EXPECT_EQ(s, L"List has 3 items\r\n");
    s.FormatMessage(L"%2 before %1", L"one", L"two");
    EXPECT_EQ(s, L"two before one");
    s.FormatMessage(L"[%1!08X!|%1!-4d!|%2!s!]", 0xABC, L"x");
    EXPECT_EQ(s, L"[00000ABC|2748|x]");
    s.FormatMessage(L"a%tb%rc%%d%.e%!f% g");
    EXPECT_EQ(s, L"a\tb\rc%d.e!f g");
    s.FormatMessage(L"kept%0dropped", 1);
    EXPECT_EQ(s, L"kept");
    s.FormatMessage(L"%1!*d!|%3", 5, 42, L"z"); // '*' takes the insert's own argument
    EXPECT_EQ(s, L"   42|z");
    s.FormatMessage(L"%10 and %1", L"a", L"b", L"c", L"d", L"e", L"f", L"g", L"h", L"i", L"ten");
    EXPECT_EQ(s, L"ten and a");
}

TEST(FormatMessageText, MissingInsertsStayAsWritten)
{
    CString s;
    s.FormatMessage(L"%1 %2 %3 %3!d! end", L"a", L"b");
    EXPECT_EQ(s, L"a b %3 %3!d! end");
    s.FormatMessage(L"%1");
    EXPECT_EQ(s, L"%1");
    EXPECT_EQ(zyn::base::FormatMessageText("%1-%2!u!-%3", zyn::base::FormatArgs{}), "%1-%2!u!-%3");
    // A number where the insert wants a string is refused like any mismatch.
    ExpectRefused([] {
        CString t;
        t.FormatMessage(L"%1", 5);
    });
    ExpectRefused([] {
        CString t;
        t.FormatMessage(L"%1!q!", 5);
    });
}

TEST(FormatMessageText, NarrowOverload)
{
    CStringA s;
    s.FormatMessage("%1 / %2!S! / %3!d!%n", "n", L"w", -7);
    EXPECT_STREQ(s.GetString(), "n / w / -7\r\n");
}

TEST(FormatPrintf, HelperTemplates)
{
    EXPECT_EQ(zyn::base::Sprintf("%s-%d", "a", 1), "a-1");
    EXPECT_EQ(zyn::base::FormatMessageString(L"%2 %1", L"x", L"y"), L"y x");
    EXPECT_EQ(zyn::base::FormatMessageString("%1!d!%n", 5), "5\r\n");
}
