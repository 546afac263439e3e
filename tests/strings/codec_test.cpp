// The UTF-16 / UTF-8 codec and the code-page conversions.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/base/codepage.h"
#include "platform/base/lasterror.h"
#include "platform/base/utf16.h"

using namespace zyn::base;

TEST(Utf16, RoundTripsOutsideTheBmp)
{
    const std::wstring text = L"A\u00E9\u20AC\U0001F600\U0010FFFF\uFFFF";
    bool ok = false;
    const std::u16string u = ToUtf16(text, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(u, u"A\u00E9\u20AC\U0001F600\U0010FFFF\uFFFF");
    EXPECT_EQ(Utf16Length(text), 8u);
    EXPECT_EQ(u[3], 0xD83D);
    EXPECT_EQ(u[4], 0xDE00);
    EXPECT_EQ(FromUtf16(u, &ok), text);
    EXPECT_TRUE(ok);

    const std::vector<uint8_t> le = ToUtf16LE(L"a\U0001F600");
    EXPECT_EQ(le, (std::vector<uint8_t>{0x61, 0x00, 0x3D, 0xD8, 0x00, 0xDE}));
    EXPECT_EQ(FromUtf16LE(le, &ok), L"a\U0001F600");
    EXPECT_TRUE(ok);
    std::vector<uint8_t> appended{0xFF};
    AppendUtf16LE(appended, L"\u00E9");
    EXPECT_EQ(appended, (std::vector<uint8_t>{0xFF, 0xE9, 0x00}));
}

TEST(Utf16, AppendEncodesEveryKindOfCharacterAfterWhatIsThere)
{
    // Each row appends to a buffer holding one octet; the octets are worked by hand.
    struct Row {
        const char* name;
        std::wstring text;
        std::vector<uint8_t> octets; // after the 0xFF already there
        bool ok;
    };
    const Row rows[] = {
        {"empty", L"", {}, true},
        {"basic plane to its end", L"A\uFFFF", {0x41, 0x00, 0xFF, 0xFF}, true},
        {"a supplementary character between basic ones", L"a\U0001F600b",
            {0x61, 0x00, 0x3D, 0xD8, 0x00, 0xDE, 0x62, 0x00}, true},
        {"a lone surrogate", std::wstring{L'x', static_cast<wchar_t>(0xDC00), L'y'},
            {0x78, 0x00, 0xFD, 0xFF, 0x79, 0x00}, false},
        {"beyond the last code point", std::wstring{static_cast<wchar_t>(0x110000), L'z'}, {0xFD, 0xFF, 0x7A, 0x00},
            false},
        {"both edges of the surrogate range, then more than a vector of letters", L"\uD7FF\uE000abcdefghijklmnop",
            {0xFF, 0xD7, 0x00, 0xE0, 0x61, 0x00, 0x62, 0x00, 0x63, 0x00, 0x64, 0x00, 0x65, 0x00, 0x66, 0x00, 0x67, 0x00, 0x68, 0x00, 0x69, 0x00, 0x6A, 0x00, 0x6B, 0x00, 0x6C, 0x00, 0x6D, 0x00, 0x6E, 0x00, 0x6F, 0x00, 0x70, 0x00}, true},
    };
    for (const Row& row : rows) {
        std::vector<uint8_t> out{0xFF};
        bool ok = !row.ok;
        AppendUtf16LE(out, row.text, &ok);
        std::vector<uint8_t> expected{0xFF};
        expected.insert(expected.end(), row.octets.begin(), row.octets.end());
        EXPECT_EQ(out, expected) << row.name;
        EXPECT_EQ(ok, row.ok) << row.name;
    }
}

TEST(Utf16, LoneSurrogatesBecomeReplacementCharacters)
{
    bool ok = true;
    // High surrogate followed by a letter, a lone low surrogate, a high one at the end.
    const char16_t bad[] = {0xD800, u'x', 0xDC00, u'y', 0xDBFF};
    EXPECT_EQ(FromUtf16(std::u16string_view(bad, 5), &ok), L"\uFFFDx\uFFFDy\uFFFD");
    EXPECT_FALSE(ok);
    // Two high surrogates in a row, then a valid pair: only the first is bad.
    const char16_t twoHigh[] = {0xD83D, 0xD83D, 0xDE00};
    EXPECT_EQ(FromUtf16(std::u16string_view(twoHigh, 3), &ok), L"\uFFFD\U0001F600");
    EXPECT_FALSE(ok);
    // An odd byte count: the stray byte decodes to one replacement character.
    const std::vector<uint8_t> odd{0x41, 0x00, 0x42};
    EXPECT_EQ(FromUtf16LE(odd, &ok), L"A\uFFFD");
    EXPECT_FALSE(ok);
    // Decoded into a string that held a longer text: nothing of that text remains.
    std::wstring into = L"a much longer text";
    AssignFromUtf16LE(into, odd, &ok);
    EXPECT_EQ(into, L"A\uFFFD");
    EXPECT_FALSE(ok);
    AssignFromUtf16LE(into, std::vector<uint8_t>{0x3D, 0xD8, 0x00, 0xDE}, &ok);
    EXPECT_EQ(into, L"\U0001F600");
    EXPECT_TRUE(ok);
    // Wide text holding a surrogate or a value beyond U+10FFFF cannot be encoded.
    std::wstring w = L"a";
    w.push_back(static_cast<wchar_t>(0xD800));
    w.push_back(static_cast<wchar_t>(0x110000));
    EXPECT_EQ(ToUtf16(w, &ok), u"a\uFFFD\uFFFD");
    EXPECT_FALSE(ok);
    EXPECT_EQ(Utf16Length(w), 3u);
    EXPECT_EQ(ToUtf8(w, &ok), "a\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_FALSE(ok);
}

TEST(Utf8, DecodesAndRejectsIllFormedSequences)
{
    bool ok = false;
    EXPECT_EQ(FromUtf8("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", &ok), L"caf\u00E9 \u20AC \U0001F600");
    EXPECT_TRUE(ok);
    EXPECT_EQ(ToUtf8(L"caf\u00E9 \u20AC \U0001F600"), "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8Length(L"\u00E9\U0001F600"), 6u);
    struct Case {
        const char* bytes;
        const wchar_t* text;
    } cases[] = {
        {"\xC0\xAF", L"\uFFFD\uFFFD"},          // overlong '/'
        {"\xE0\x80\xAF", L"\uFFFD\uFFFD\uFFFD"}, // overlong, three bytes
        {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"}, // an encoded surrogate
        {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"}, // above U+10FFFF
        {"\xE2\x82", L"\uFFFD"},                 // truncated at the end
        {"\xE2\x82x", L"\uFFFDx"},               // truncated before a letter
        {"\x80x", L"\uFFFDx"},                   // stray continuation byte
        {"\xFFx", L"\uFFFDx"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FromUtf8(c.bytes, &ok), c.text) << c.bytes;
        EXPECT_FALSE(ok);
    }
}

TEST(CodePage, Windows1252Table)
{
    EXPECT_EQ(GetACP(), 1252u);
    EXPECT_TRUE(IsValidCodePage(1252));
    EXPECT_TRUE(IsValidCodePage(28591));
    EXPECT_TRUE(IsValidCodePage(65001));
    EXPECT_FALSE(IsValidCodePage(932));
    EXPECT_EQ(AnsiToWide("\x80\x85\x8A\x99\x9F\xA0\xFF", 1252), L"\u20AC\u2026\u0160\u2122\u0178\u00A0\u00FF");
    // The five bytes 1252 leaves undefined still round-trip.
    EXPECT_EQ(AnsiToWide("\x81\x8D\x8F\x90\x9D", 1252), L"\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(WideToAnsi(L"\u0081\u008D\u008F\u0090\u009D", 1252), "\x81\x8D\x8F\x90\x9D");
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(WideToAnsi(AnsiToWide(one, 1252), 1252), one) << b;
    }
    // U+0080 is not in 1252 (0x80 is the euro sign there), Latin-1 keeps it.
    bool ok = true;
    EXPECT_EQ(WideToAnsi(L"\u0080\u20AC\u4E2D", 1252, &ok), "?\x80?");
    EXPECT_FALSE(ok);
    EXPECT_EQ(WideToAnsi(L"\u0080\u00FF\u20AC", 28591, &ok), "\x80\xFF?");
    EXPECT_EQ(AnsiToWide("\x80\xFF", 28591), L"\u0080\u00FF");
    EXPECT_EQ(AnsiToWide("\x80\xB0", 437), L"\u00C7\u2591");
    EXPECT_EQ(WideToAnsi(L"\u00C7\u2591", 437), "\x80\xB0");
}

TEST(CodePage, MultiByteToWideCharSemantics)
{
    wchar_t buf[16];
    // -1: NUL-terminated, the terminator converted and counted.
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a\x80", -1, nullptr, 0), 3);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a\x80", -1, buf, 16), 3);
    EXPECT_EQ(std::wstring(buf), L"a\u20AC");
    // Explicit length: no terminator.
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", 2, buf, 16), 2);
    // Too small.
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abcdef", -1, buf, 3), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    // UTF-8: a character outside the BMP is one wide unit here.
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xF0\x9F\x98\x80", 4, buf, 16), 1);
    EXPECT_EQ(buf[0], L'\U0001F600');
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a\xFF", 2, buf, 16), 2);
    EXPECT_EQ(buf[1], L'\uFFFD');
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xFF", 2, buf, 16), 0);
    EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
    // Bad parameters.
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, -1, buf, 16), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a", 0, buf, 16), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a", -2, buf, 16), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a", 1, nullptr, 5), 0);
    EXPECT_EQ(MultiByteToWideChar(932, 0, "a", 1, buf, 16), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "a", 1, buf, 16), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
}

TEST(CodePage, WideCharToMultiByteSemantics)
{
    char buf[16];
    BOOL used = TRUE;
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, L"a\u20AC", -1, nullptr, 0, nullptr, nullptr), 3);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, L"a\u20AC", -1, buf, 16, nullptr, &used), 3);
    EXPECT_STREQ(buf, "a\x80");
    EXPECT_FALSE(used);
    // Unmappable: the default character, '?' unless given.
    EXPECT_EQ(WideCharToMultiByte(1252, 0, L"x\u4E2Dy", 3, buf, 16, nullptr, &used), 3);
    EXPECT_EQ(std::string(buf, 3), "x?y");
    EXPECT_TRUE(used);
    EXPECT_EQ(WideCharToMultiByte(1252, 0, L"\u4E2D", 1, buf, 16, "#", nullptr), 1);
    EXPECT_EQ(buf[0], '#');
    // UTF-8.
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"\U0001F600", -1, nullptr, 0, nullptr, nullptr), 5);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"\U0001F600", -1, buf, 16, nullptr, nullptr), 5);
    EXPECT_STREQ(buf, "\xF0\x9F\x98\x80");
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"ab", 2, buf, 1, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"ab", 2, buf, 16, "?", nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    const wchar_t lone[] = {static_cast<wchar_t>(0xDC00), 0};
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone, -1, buf, 16, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, lone, -1, buf, 16, nullptr, nullptr), 4);
    EXPECT_STREQ(buf, "\xEF\xBF\xBD");
}

TEST(CodePage, AnsiCodePageFollowsTheLocale)
{
    EXPECT_FALSE(SetAnsiCodePage(932));
    EXPECT_EQ(GetACP(), 1252u);
    EXPECT_EQ(GetOEMCP(), 437u);
    ASSERT_TRUE(SetAnsiCodePage(CP_UTF8));
    EXPECT_EQ(GetACP(), CP_UTF8);
    EXPECT_EQ(GetOEMCP(), CP_UTF8);
    EXPECT_EQ(AnsiToWide("\xE2\x82\xAC"), L"\u20AC");
    EXPECT_EQ(WideToAnsi(L"\u20AC"), "\xE2\x82\xAC");
    ASSERT_TRUE(SetAnsiCodePage(28591));
    EXPECT_EQ(AnsiToWide("\x80"), L"\u0080");
    ASSERT_TRUE(SetAnsiCodePage(1252));
    EXPECT_EQ(AnsiToWide("\x80"), L"\u20AC");
    bool ok = true;
    EXPECT_EQ(AnsiToWide("\x80", 932, &ok), L"\u20AC"); // unsupported: the ANSI page, flagged
    EXPECT_FALSE(ok);
}
