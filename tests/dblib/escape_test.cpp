// The archive-text escape: RemoveSpecialChars, CleanupString and ReplaceSpecialChars.
#include <gtest/gtest.h>

#include <random>

#include "platform/base/utf16.h"
#include "platform/suite/database/dynamic_recordset.h"

namespace {

std::string U8(const CString& s) { return zyn::base::ToUtf8(s.GetString()); }

CString Escaped(const CString& s)
{
    CString e = CDynamicRecordset::RemovedSpecialChars(s);
    CDynamicRecordset::CleanupString(e);
    return e;
}

bool HasFieldOrLineBreak(const CString& s)
{
    for (wchar_t c : s.Str())
        if (c == L'\t' || c == L'\r' || c == L'\n')
            return true;
    return false;
}

TEST(ArchiveEscape, TabsLineBreaksAndTheEscapeRoundTrip)
{
    const CString cases[] = {
        L"",
        L"plain text",
        L"a\tb",
        L"line one\r\nline two\nthree\rfour",
        L"\t\t\r\n",
        L"escape \x1B itself, \x1B\x1B twice, \x1B" L"J a fake LF",
        L"\x1B",
        L"ends with escape \x1B",
        L"C:\\archive\\new\\table",     // backslashes are text, not an escape
        L"\U0001F600 emoji \U00010348 gothic\t\U0001F4A9",
        L"nul \x01\x02 marker-like \x1F unit separator",
    };
    for (const CString& original : cases) {
        const CString e = Escaped(original);
        EXPECT_FALSE(HasFieldOrLineBreak(e)) << U8(original);
        CString back = e;
        CDynamicRecordset::ReplaceSpecialChars(back);
        EXPECT_EQ(back, original) << U8(original);
    }
}

TEST(ArchiveEscape, TheEscapedForm)
{
    EXPECT_EQ(CDynamicRecordset::RemovedSpecialChars(L"a\tb\rc\nd\x1B" L"e"),
        CString(L"a\x1BIb\x1BMc\x1BJd\x1B[e"));
    // Text without control characters is written as it is.
    EXPECT_EQ(CDynamicRecordset::RemovedSpecialChars(L"Gate 3 \U0001F6AA"), CString(L"Gate 3 \U0001F6AA"));
    // The history-line marker can never start an escaped text.
    EXPECT_EQ(CDynamicRecordset::RemovedSpecialChars(L"\x01\x02x"), CString(L"\x1B" L"A\x1B" L"Bx"));
}

TEST(ArchiveEscape, TextWrittenBeforeTheEscapeRestoresUnchanged)
{
    // Older files hold text with no escapes: ReplaceSpecialChars leaves it alone, including
    // an escape character that no escape letter follows.
    for (LPCWSTR legacy : {L"Door 12 forced", L"C:\\new\\table", L"tail \x1B", L"\x1Bz not an escape", L"\x1B\x1B"}) {
        CString s(legacy);
        CDynamicRecordset::ReplaceSpecialChars(s);
        EXPECT_EQ(s, CString(legacy));
    }
}

TEST(ArchiveEscape, CleanupReplacesWhatUtf16CannotCarry)
{
    CString s;
    s.AppendChar(L'a');
    s.AppendChar(static_cast<wchar_t>(0xD800)); // a lone surrogate
    s.AppendChar(static_cast<wchar_t>(0x110000));
    s.AppendChar(L'\U0001F600');
    CDynamicRecordset::CleanupString(s);
    EXPECT_EQ(s, CString(L"a\xFFFD\xFFFD\U0001F600"));
    // Idempotent, and what it leaves survives the file codec unchanged.
    CString again = s;
    CDynamicRecordset::CleanupString(again);
    EXPECT_EQ(again, s);
    bool ok = false;
    const auto bytes = zyn::base::ToUtf16LE(s.Str(), &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(zyn::base::FromUtf16LE(bytes), s.Str());
}

TEST(ArchiveEscape, RandomTextRoundTrips)
{
    std::mt19937 rng(20081205);
    const wchar_t alphabet[] = {L'\t', L'\r', L'\n', L'\x1B', L'\x00', L'\x1F', L'@', L'[', L'_', L'J', L'I', L'M',
        L'a', L' ', L'\\', L'\x7F', L'\xE9', L'\U0001F600'};
    std::uniform_int_distribution<size_t> pick(0, std::size(alphabet) - 1);
    std::uniform_int_distribution<int> len(0, 40);
    for (int i = 0; i < 2000; ++i) {
        std::wstring w;
        const int n = len(rng);
        for (int k = 0; k < n; ++k)
            w.push_back(alphabet[pick(rng)]);
        const CString original(w);
        const CString e = Escaped(original);
        ASSERT_FALSE(HasFieldOrLineBreak(e));
        ASSERT_EQ(CDynamicRecordset::ReplacedSpecialChars(e), original) << i;
    }
}

} // namespace
