// CString: clamping, searching, replacing, trimming, tokenizing, case, buffers.
#include <gtest/gtest.h>

#include <cwchar>

#include "platform/base/codepage.h"
#include "platform/base/cstring.h"
#include "platform/base/exception.h"

namespace {

template <class F>
void ExpectInvalidArg(F&& f)
{
    try {
        f();
        ADD_FAILURE() << "no exception";
    } catch (CException* e) {
        EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CInvalidArgException)));
        e->Delete();
    }
}

} // namespace

TEST(CString, ExtractionClampsItsArguments)
{
    const CString s(L"abcdef");
    EXPECT_EQ(s.Mid(2), L"cdef");
    EXPECT_EQ(s.Mid(2, 3), L"cde");
    EXPECT_EQ(s.Mid(4, 100), L"ef");
    EXPECT_EQ(s.Mid(-3, 2), L"ab");
    EXPECT_EQ(s.Mid(-1), L"abcdef");
    EXPECT_EQ(s.Mid(6), L"");
    EXPECT_EQ(s.Mid(100, 2), L"");
    EXPECT_EQ(s.Mid(2, -1), L"");
    EXPECT_EQ(s.Mid(INT32_MAX, INT32_MAX), L"");
    EXPECT_EQ(s.Mid(1, INT32_MAX), L"bcdef");
    EXPECT_EQ(s.Left(2), L"ab");
    EXPECT_EQ(s.Left(-1), L"");
    EXPECT_EQ(s.Left(99), L"abcdef");
    EXPECT_EQ(s.Right(2), L"ef");
    EXPECT_EQ(s.Right(-1), L"");
    EXPECT_EQ(s.Right(99), L"abcdef");
    EXPECT_EQ(s.SpanIncluding(L"cba"), L"abc");
    EXPECT_EQ(s.SpanExcluding(L"dx"), L"abc");
    EXPECT_EQ(s.SpanIncluding(L"x"), L"");
}

TEST(CString, Searching)
{
    const CString s(L"a.b.c");
    EXPECT_EQ(s.Find(L'.'), 1);
    EXPECT_EQ(s.Find(L'.', 2), 3);
    EXPECT_EQ(s.Find(L'.', 4), -1);
    EXPECT_EQ(s.Find(L'.', -1), -1);
    EXPECT_EQ(s.Find(L'.', 99), -1);
    EXPECT_EQ(s.Find(L"b.c"), 2);
    EXPECT_EQ(s.Find(L"b.c", 3), -1);
    EXPECT_EQ(s.Find(L"zz"), -1);
    EXPECT_EQ(s.Find(L""), 0);
    EXPECT_EQ(s.Find(static_cast<LPCWSTR>(nullptr)), -1);
    EXPECT_EQ(s.ReverseFind(L'.'), 3);
    EXPECT_EQ(s.ReverseFind(L'x'), -1);
    EXPECT_EQ(s.FindOneOf(L"cb"), 2);
    EXPECT_EQ(s.FindOneOf(L"xyz"), -1);
    EXPECT_EQ(CString().Find(L'a'), -1);
}

TEST(CString, Replace)
{
    CString s(L"aaa");
    EXPECT_EQ(s.Replace(L"aa", L"b"), 1); // left to right, no overlap
    EXPECT_EQ(s, L"ba");
    s = L"x-y-z";
    EXPECT_EQ(s.Replace(L"-", L""), 2);
    EXPECT_EQ(s, L"xyz");
    EXPECT_EQ(s.Replace(L"", L"q"), 0);
    EXPECT_EQ(s.Replace(L"nothing", L"q"), 0);
    EXPECT_EQ(s, L"xyz");
    s = L"ab";
    EXPECT_EQ(s.Replace(L"a", L"aa"), 1); // the replacement contains the pattern
    EXPECT_EQ(s, L"aab");
    EXPECT_EQ(s.Replace(s.GetString(), L"z"), 1); // pattern pointing into the string
    EXPECT_EQ(s, L"z");
    s = L"a,b,,c";
    EXPECT_EQ(s.Replace(L',', L';'), 3);
    EXPECT_EQ(s, L"a;b;;c");
    EXPECT_EQ(s.Replace(L';', L';'), 0);
    EXPECT_EQ(s.Remove(L';'), 3);
    EXPECT_EQ(s, L"abc");
}

TEST(CString, InsertAndDeleteClamp)
{
    CString s(L"abc");
    EXPECT_EQ(s.Insert(-5, L'<'), 4);
    EXPECT_EQ(s.Insert(99, L">"), 5);
    EXPECT_EQ(s, L"<abc>");
    EXPECT_EQ(s.Insert(2, L"--"), 7);
    EXPECT_EQ(s, L"<a--bc>");
    EXPECT_EQ(s.Delete(2, 2), 5);
    EXPECT_EQ(s, L"<abc>");
    EXPECT_EQ(s.Delete(-3), 4); // from 0, one character
    EXPECT_EQ(s, L"abc>");
    EXPECT_EQ(s.Delete(3, 100), 3);
    EXPECT_EQ(s.Delete(10, 2), 3);
    EXPECT_EQ(s.Delete(1, -2), 3);
    EXPECT_EQ(s, L"abc");
    EXPECT_EQ(s.Delete(0, INT32_MAX), 0);
}

TEST(CString, TrimVariants)
{
    CString s(L" \t\r\n x y \u3000\u00A0");
    s.Trim();
    EXPECT_EQ(s, L"x y");
    s = L"  left ";
    s.TrimLeft();
    EXPECT_EQ(s, L"left ");
    s.TrimRight();
    EXPECT_EQ(s, L"left");
    s = L"xxabcxx";
    s.Trim(L'x');
    EXPECT_EQ(s, L"abc");
    s = L"*-ab-*";
    s.TrimLeft(L"-*");
    EXPECT_EQ(s, L"ab-*");
    s.TrimRight(L"*-");
    EXPECT_EQ(s, L"ab");
    s = L"   ";
    s.Trim();
    EXPECT_TRUE(s.IsEmpty());
    CStringA a(" \tnarrow\n");
    a.Trim();
    EXPECT_STREQ(a.GetString(), "narrow");
}

TEST(CString, TokenizeAsTheClassLibrary)
{
    const CString s(L",,a,b;;c,");
    int pos = 0;
    std::vector<CString> tokens;
    for (CString t = s.Tokenize(L",;", pos); pos != -1; t = s.Tokenize(L",;", pos))
        tokens.push_back(t);
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[0], L"a");
    EXPECT_EQ(tokens[1], L"b");
    EXPECT_EQ(tokens[2], L"c");
    EXPECT_EQ(pos, -1);

    pos = 0;
    EXPECT_EQ(CString(L"only").Tokenize(L",", pos), L"only");
    EXPECT_EQ(pos, 5);
    EXPECT_EQ(CString(L"only").Tokenize(L",", pos), L"");
    EXPECT_EQ(pos, -1);
    pos = 0;
    EXPECT_EQ(CString(L",,,").Tokenize(L",", pos), L"");
    EXPECT_EQ(pos, -1);
    pos = 2;
    EXPECT_EQ(CString(L"abcd").Tokenize(L"", pos), L"cd"); // no delimiters: the rest
    EXPECT_EQ(pos, 5);
    EXPECT_EQ(CString(L"abcd").Tokenize(nullptr, pos), L""); // and then the end
    EXPECT_EQ(pos, -1);
    pos = -1;
    ExpectInvalidArg([&] { CString(L"x").Tokenize(L",", pos); });
}

TEST(CString, CaseBeyondAscii)
{
    EXPECT_EQ(CString(L"\u00C9t\u00E9").CompareNoCase(L"\u00E9T\u00C9"), 0);
    EXPECT_EQ(CString(L"\u0394\u03B5\u03BB\u03C4\u03B1").CompareNoCase(L"\u03B4\u0395\u039B\u03A4\u0391"), 0);
    EXPECT_EQ(CString(L"\u041F\u0440\u0438\u0432\u0435\u0442").CompareNoCase(L"\u043F\u0420\u0418\u0412\u0415\u0422"), 0);
    EXPECT_EQ(CString(L"\u0141\u00F3d\u017A").CompareNoCase(L"\u0142\u00D3D\u0179"), 0);
    EXPECT_LT(CString(L"apple").CompareNoCase(L"Banana"), 0);
    EXPECT_GT(CString(L"b").CompareNoCase(L"A"), 0);
    EXPECT_LT(CString(L"ab").CompareNoCase(L"ABC"), 0);
    // Folding is to lower case, so '_' sorts before letters as the run-time's does.
    EXPECT_LT(CString(L"_").CompareNoCase(L"a"), 0);
    EXPECT_LT(CString(L"_").CompareNoCase(L"A"), 0);
    EXPECT_NE(CString(L"\u00DF").CompareNoCase(L"ss"), 0);

    CString s(L"stra\u00DFe \u00FF \u0451\u0436 \u03C9\u03C2 i");
    s.MakeUpper();
    EXPECT_EQ(s, L"STRA\u00DFE \u0178 \u0401\u0416 \u03A9\u03A3 I");
    s.MakeLower();
    EXPECT_EQ(s, L"stra\u00DFe \u00FF \u0451\u0436 \u03C9\u03C3 i");
    EXPECT_EQ(CString(L"abc").Compare(L"abd"), -1);
    EXPECT_EQ(CString(L"abc").Compare(L"abc"), 0);
    EXPECT_EQ(CString(L"\u00E9").Compare(L"z"), 1);
    CStringA a("MiXeD \xC9");
    a.MakeLower(); // narrow text folds ASCII only
    EXPECT_STREQ(a.GetString(), "mixed \xC9");
    EXPECT_EQ(CStringA("ABC").CompareNoCase("abc"), 0);
}

TEST(CString, GetBufferAndReleaseBuffer)
{
    CString s(L"abc");
    wchar_t* p = s.GetBuffer(10);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::wcscmp(p, L"abc"), 0);
    std::wcscpy(p, L"0123456789"); // ten characters and the terminator fit
    s.ReleaseBuffer();
    EXPECT_EQ(s, L"0123456789");
    EXPECT_EQ(s.GetLength(), 10);

    p = s.GetBuffer(4); // smaller than the text: the text is kept
    p[2] = L'\0';
    s.ReleaseBuffer();
    EXPECT_EQ(s, L"01");

    p = s.GetBuffer(8);
    std::wmemcpy(p, L"xyzw", 4);
    s.ReleaseBuffer(3);
    EXPECT_EQ(s, L"xyz");

    p = s.GetBuffer(5);
    s.ReleaseBuffer(); // nothing written: the old text stays
    EXPECT_EQ(s, L"xyz");

    p = s.GetBufferSetLength(2);
    EXPECT_EQ(s.GetLength(), 2);
    p[0] = L'q';
    s.ReleaseBuffer();
    EXPECT_EQ(s, L"qy");

    ExpectInvalidArg([&] { s.GetBuffer(-1); });
    ExpectInvalidArg([&] {
        s.GetBuffer(4);
        s.ReleaseBuffer(5);
    });
    s.ReleaseBuffer();
    s.Truncate(1);
    EXPECT_EQ(s, L"q");
    s.Truncate(10);
    EXPECT_EQ(s, L"q");
}

TEST(CString, GetAtAndSetAtRange)
{
    CString s(L"ab");
    EXPECT_EQ(s.GetAt(1), L'b');
    EXPECT_EQ(s[0], L'a');
    EXPECT_EQ(s.GetAt(2), L'\0'); // the terminator may be read
    ExpectInvalidArg([&] { s.GetAt(3); });
    ExpectInvalidArg([&] { s.GetAt(-1); });
    s.SetAt(0, L'z');
    EXPECT_EQ(s, L"zb");
    ExpectInvalidArg([&] { s.SetAt(2, L'x'); });
    ExpectInvalidArg([&] { s.SetAt(-1, L'x'); });
}

TEST(CString, ConstructionAndNarrowConversion)
{
    EXPECT_TRUE(CString(static_cast<LPCWSTR>(nullptr)).IsEmpty());
    EXPECT_TRUE(CString(static_cast<LPCSTR>(nullptr)).IsEmpty());
    EXPECT_EQ(CString(L'x', 3), L"xxx");
    EXPECT_EQ(CString(L'x', -1), L"");
    EXPECT_EQ(CString(L"abcdef", 3), L"abc");
    ExpectInvalidArg([] { CString(L"abc", -1); });
    ExpectInvalidArg([] { CString(static_cast<LPCWSTR>(nullptr), 2); });
    // A resource ID or small integer in a text pointer is never read as text.
    ExpectInvalidArg([] { CString(MAKEINTRESOURCE(101)); });
    ExpectInvalidArg([] { CStringA(MAKEINTRESOURCEA(7)); });
    ExpectInvalidArg([] { CString(L"abc").Find(MAKEINTRESOURCE(3)); });

    // Narrow text goes through the ANSI code page (1252 by default).
    EXPECT_EQ(CString("\x80 caf\xE9"), L"\u20AC caf\u00E9");
    const CStringA a(L"\u20AC caf\u00E9 \u4E2D");
    EXPECT_STREQ(a.GetString(), "\x80 caf\xE9 ?");
    CString w;
    w = "x\xFF";
    EXPECT_EQ(w, L"x\u00FF");
    w += "\x9C";
    EXPECT_EQ(w, L"x\u00FF\u0153");
    EXPECT_EQ(CString(a), L"\u20AC caf\u00E9 ?");

    ASSERT_TRUE(zyn::base::SetAnsiCodePage(CP_UTF8));
    EXPECT_EQ(CString("caf\xC3\xA9 \xF0\x9F\x98\x80"), L"caf\u00E9 \U0001F600");
    EXPECT_STREQ(CStringA(L"\U0001F600").GetString(), "\xF0\x9F\x98\x80");
    ASSERT_TRUE(zyn::base::SetAnsiCodePage(1252));
}

TEST(CString, ConcatenationAndSelfReference)
{
    CString s(L"ab");
    s += s;
    EXPECT_EQ(s, L"abab");
    s.Append(s.GetString() + 2);
    EXPECT_EQ(s, L"ababab");
    s = s.GetString() + 4;
    EXPECT_EQ(s, L"ab");
    s.Append(L"xyz", 2);
    EXPECT_EQ(s, L"abxy");
    s.Append(L"q\0r", 3); // stops at the terminator
    EXPECT_EQ(s, L"abxyq");
    EXPECT_EQ(L"<" + s + L'>', L"<abxyq>");
    EXPECT_TRUE(CString(L"a") < CString(L"b"));
    EXPECT_TRUE(CString(L"a") != L"b");
    CString r(L"abc");
    EXPECT_EQ(r.MakeReverse(), L"cba");
}

TEST(CString, CollateOrdersAsPeopleRead)
{
    // Ordinal order puts every upper-case letter first and accents last; collation
    // does not.
    EXPECT_LT(CString(L"Zebra").Compare(L"apple"), 0);
    EXPECT_GT(CString(L"Zebra").Collate(L"apple"), 0);
    EXPECT_LT(CString(L"\u00E9clair").Collate(L"fig"), 0);
    EXPECT_LT(CString(L"apple").Collate(L"Apple"), 0);
    EXPECT_EQ(CString(L"apple").CollateNoCase(L"APPLE"), 0);
    EXPECT_EQ(CStringA("b").Collate("A"), 1);
}
