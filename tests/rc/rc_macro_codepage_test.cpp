// The preprocessor's # and ## operators, macro calls over several lines, and the code
// pages a script declares with #pragma code_page.
#include <gtest/gtest.h>

#include "tests/rc/rc_test_support.h"

namespace zyn::rc::test {
namespace {

constexpr uint16_t kRtString = 6, kRtRcdata = 10;

// String `id` of the STRINGTABLE of a compilation, or "(missing)".
std::wstring StringOf(const CompileResult& r, uint16_t id)
{
    const Resource* block = Find(r, kRtString, ResId::Number(static_cast<uint16_t>(id / 16 + 1)));
    if (!block)
        return L"(missing)";
    Reader rd(block->data);
    for (uint16_t i = 0; i < id % 16; ++i)
        for (uint16_t n = rd.w(); n > 0; --n)
            rd.w();
    std::wstring s;
    for (uint16_t n = rd.w(); n > 0; --n)
        s.push_back(static_cast<wchar_t>(rd.w()));
    return s;
}

std::vector<uint8_t> DataOf(const CompileResult& r)
{
    const Resource* res = Find(r, kRtRcdata, ResId::Number(1));
    return res ? res->data : std::vector<uint8_t>{};
}

// Script text given as bytes (not necessarily UTF-8).
CompileResult CompileBytes(std::string_view bytes)
{
    return CompileText(bytes);
}

std::string ErrorOf(std::string_view script)
{
    const CompileResult r = CompileText(script);
    EXPECT_FALSE(r.ok) << "compiled: " << script;
    return FirstError(r);
}

TEST(RcMacroOperators, StringizeAndPaste)
{
    const char* defs = "#define STR(x) #x\n"
                       "#define XSTR(x) STR(x)\n"
                       "#define CAT(a, b) a ## b\n"
                       "#define V 5\n"
                       "#define ID_OK 7\n"
                       "#define X3 3\n"
                       "#define VER(a, b, c) #a \".\" #b \".\" #c\n";
    struct Case {
        const char* text; // a string expression
        std::wstring expected;
    } const strings[] = {
        {"STR(V)", L"V"}, // the operand of # is not expanded
        {"XSTR(V)", L"5"},
        {"STR(  a   +  b  )", L"a + b"}, // white space inside becomes one space, none at the ends
        {"STR(\"q\\n\" 'c')", L"\"q\\n\" 'c'"}, // quotes and backslashes of strings escaped
        {"STR()", L""},
        {"STR(x\\)", L"x\\"}, // a lone backslash stays itself
        {"VER(26, 01, X3)", L"26.01.X3"},
        {"XSTR(CAT(I, D_OK))", L"7"}, // the pasted name is a macro, expanded on rescanning
        {"STR(CAT(1, 2))", L"CAT(1, 2)"},
        {"XSTR(CAT(1, 2))", L"12"},
        {"XSTR(CAT(, X3))", L"3"}, // an empty operand leaves the other alone
        {"XSTR(CAT(X3, ))", L"3"},
        {"XSTR(CAT(,))", L""},
    };
    std::string script = defs;
    script += "STRINGTABLE BEGIN\n";
    for (size_t i = 0; i < std::size(strings); ++i)
        script += std::to_string(i + 1) + " " + strings[i].text + "\n";
    script += "END\n";
    const CompileResult r = CompileText(script);
    ASSERT_TRUE(r.ok) << Messages(r);
    for (size_t i = 0; i < std::size(strings); ++i)
        EXPECT_EQ(StringOf(r, static_cast<uint16_t>(i + 1)), strings[i].expected) << strings[i].text;

    // Pasting makes numbers, wide strings and names out of pieces.
    const CompileResult data = CompileText(std::string(defs) + "#define HEX(n) 0x ## n\n"
                                                               "1 RCDATA BEGIN CAT(1, 2), HEX(1F), CAT(L, \"ab\"), "
                                                               "CAT(ID_, OK) END\n");
    ASSERT_TRUE(data.ok) << Messages(data);
    EXPECT_EQ(DataOf(data), Bytes().w(12).w(0x1F).t(u"ab").w(7).v());
}

TEST(RcMacroOperators, MisuseIsAnError)
{
    struct Case {
        const char* script;
        const char* error;
    } const cases[] = {
        {"#define CAT(a, b) a ## b\n1 RCDATA BEGIN CAT(+, -) END\n",
            "script.rc(2): error: pasting '+' and '-' does not give a valid token"},
        {"#define CAT(a, b) a ## b\n1 RCDATA BEGIN CAT(x, .y) END\n",
            "script.rc(2): error: pasting 'x' and '.' does not give a valid token"},
        {"#define BAD(a) ## a\n", "script.rc(1): error: '##' cannot be at either end of macro BAD"},
        {"#define BAD(a) a ##\n", "script.rc(1): error: '##' cannot be at either end of macro BAD"},
        {"#define BAD(a) # b\n", "script.rc(1): error: '#' in macro BAD is not followed by a parameter"},
        {"#define BAD(a) a #\n", "script.rc(1): error: '#' in macro BAD is not followed by a parameter"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorOf(c.script), c.error) << c.script;
    // -D macros skip #define's checks: a ## at either end has no operand there.
    CompileOptions options;
    options.defines = {{"LEAD", "## 5"}, {"TRAIL", "6 ##"}};
    const CompileResult r = CompileText("1 RCDATA BEGIN LEAD, TRAIL END\n", options);
    ASSERT_TRUE(r.ok) << Messages(r);
    EXPECT_EQ(DataOf(r), Bytes().w(5).w(6).v());
    // In an object-like macro # is an ordinary token (here refused by the statement).
    EXPECT_EQ(ErrorOf("#define HASH #\n1 RCDATA BEGIN HASH END\n").rfind("script.rc(2): error: unexpected '#'", 0),
        0u);
}

TEST(RcMacroOperators, CallsSpanLines)
{
    const CompileResult r = CompileText("#define SUM(a, b) ((a) + (b))\n"
                                        "#define ID(x) x\n"
                                        "1 RCDATA BEGIN\n"
                                        "  SUM(1,\n"
                                        "      2),\n"
                                        "  ID\n"
                                        "  (40)\n"
                                        "  SUM((1 +\n"
                                        "  1), 3)\n"
                                        "END\n");
    ASSERT_TRUE(r.ok) << Messages(r);
    EXPECT_EQ(DataOf(r), Bytes().w(3).w(40).w(5).v());
    // Tokens after a call keep their own lines in messages.
    EXPECT_EQ(ErrorOf("#define ID(x) x\n1 RCDATA BEGIN ID(\n1)\nBOGUS END\n"),
        "script.rc(4): error: undefined symbol 'BOGUS'");
}

TEST(RcCodePage, NarrowTextIsReadInTheDeclaredPage)
{
    struct Case {
        const char* name;
        std::string script; // bytes
        std::wstring text;  // string 1
        std::vector<uint8_t> data; // RCDATA 1 of the narrow string "\xC9" written there
    } const cases[] = {
        // 0xE9 is e-acute in 1252 and Latin-1; 0x80 the euro sign in 1252 only.
        {"1252", "#pragma code_page(1252)\nSTRINGTABLE BEGIN 1 \"\xE9\x80\" END\n", L"\u00E9\u20AC", {}},
        {"28591", "#pragma code_page(28591)\nSTRINGTABLE BEGIN 1 \"\xE9\x80\" END\n", L"\u00E9\u0080", {}},
        // In 437, 0x82 is e-acute and 0xE1 the sharp s.
        {"437", "#pragma code_page(437)\nSTRINGTABLE BEGIN 1 \"\x82\xE1\" END\n", L"\u00E9\u00DF", {}},
        {"65001", "#pragma code_page(65001)\nSTRINGTABLE BEGIN 1 \"\xC3\xA9\xE2\x82\xAC\" END\n", L"\u00E9\u20AC", {}},
        // Escapes are bytes of the page too.
        {"escapes in 1252", "#pragma code_page(1252)\nSTRINGTABLE BEGIN 1 \"\\251\\x80\" END\n", L"\u00A9\u20AC", {}},
        {"escapes in 65001", "#pragma code_page(65001)\nSTRINGTABLE BEGIN 1 \"\\xC3\\xA9!\" END\n", L"\u00E9!", {}},
        {"wide escapes are units", "#pragma code_page(1252)\nSTRINGTABLE BEGIN 1 L\"\\x80\" END\n", L"\u0080", {}},
        // Raw data keeps a narrow string's bytes in the page.
        {"raw data in 65001", "#pragma code_page(65001)\n1 RCDATA BEGIN \"\xC3\xA9\", \"\\xFF\" END\n", L"(missing)",
            {0xC3, 0xA9, 0xFF}},
        {"raw data in 1252", "#pragma code_page(1252)\n1 RCDATA BEGIN \"\xE9\x80\" END\n", L"(missing)", {0xE9, 0x80}},
        // A file that is UTF-8 and declares nothing: read as UTF-8, raw data in 1252.
        {"default, UTF-8 file", "STRINGTABLE BEGIN 1 \"\xC3\xA9\" END\n1 RCDATA BEGIN \"\xC3\xA9\" END\n", L"\u00E9",
            {0xE9}},
        // DEFAULT goes back to that after a declared page.
        {"DEFAULT", "#pragma code_page(437)\n#pragma code_page(DEFAULT)\nSTRINGTABLE BEGIN 1 \"\xC3\xA9\" END\n",
            L"\u00E9", {}},
        // Other pragmas mean nothing to resources.
        {"other pragmas", "#pragma once\n#pragma warning(disable: 4001)\nSTRINGTABLE BEGIN 1 \"x\" END\n", L"x", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CompileResult r = CompileBytes(c.script);
        ASSERT_TRUE(r.ok) << Messages(r);
        EXPECT_TRUE(r.diagnostics.empty()) << Messages(r);
        EXPECT_EQ(StringOf(r, 1), c.text);
        EXPECT_EQ(DataOf(r), c.data);
    }
}

TEST(RcCodePage, ThePageStaysInForceAcrossIncludes)
{
    MemoryFileSystem fs;
    fs.Add("main.rc", "#include \"page.h\"\nSTRINGTABLE BEGIN 1 \"\x82\" END\n#include \"back.h\"\n"
                      "STRINGTABLE BEGIN 2 \"\x82\" END\n");
    fs.Add("page.h", "#pragma code_page(437)\n");
    fs.Add("back.h", "#pragma code_page(1252)\n");
    const CompileResult r = Compile("main.rc", {}, fs);
    ASSERT_TRUE(r.ok) << Messages(r);
    EXPECT_EQ(StringOf(r, 1), L"\u00E9");
    EXPECT_EQ(StringOf(r, 2), L"\u201A") << "0x82 in 1252";
}

TEST(RcCodePage, UndeclaredNonUtf8TextIsWindows1252WithAWarning)
{
    const CompileResult r = CompileBytes("// caf\xE9\nSTRINGTABLE BEGIN\n1 \"\x80\"\n2 \"\xE9\"\nEND\n");
    ASSERT_TRUE(r.ok) << Messages(r);
    EXPECT_EQ(StringOf(r, 1), L"\u20AC");
    EXPECT_EQ(StringOf(r, 2), L"\u00E9");
    ASSERT_EQ(r.diagnostics.size(), 1u) << "one warning for the file";
    EXPECT_EQ(r.diagnostics[0].Format().rfind("script.rc(3): warning: the file is not valid UTF-8", 0), 0u)
        << r.diagnostics[0].Format();
    // A page declared before the first such line silences it.
    EXPECT_TRUE(CompileBytes("#pragma code_page(1252)\nSTRINGTABLE BEGIN 1 \"\x80\" END\n").diagnostics.empty());
}

TEST(RcCodePage, BadDeclarationsAndTextAreErrors)
{
    struct Case {
        std::string script;
        const char* error;
    } const cases[] = {
        {"#pragma code_page(932)\n", "script.rc(1): error: code page 932 is not supported"},
        {"#pragma code_page(0)\n", "script.rc(1): error: code page 0 is not supported"},
        {"#pragma code_page 1252\n", "script.rc(1): error: #pragma code_page expects a code page number or DEFAULT"},
        {"#pragma code_page(UTF8)\n", "script.rc(1): error: #pragma code_page expects a code page number or DEFAULT"},
        {"#pragma code_page(65001)\nSTRINGTABLE BEGIN\n1 \"\xE9\"\nEND\n",
            "script.rc(3): error: the line is not valid UTF-8"},
    };
    for (const Case& c : cases) {
        const CompileResult r = CompileBytes(c.script);
        EXPECT_FALSE(r.ok) << c.script;
        EXPECT_EQ(FirstError(r).rfind(c.error, 0), 0u) << c.script << "\ngave: " << FirstError(r);
    }
    // Lines of skipped groups are not decoded.
    EXPECT_TRUE(CompileBytes("#pragma code_page(65001)\n#if 0\n\"\xE9\"\n#endif\n").ok);
}

TEST(RcNumbers, OctalAndHexSpellings)
{
    const CompileResult r = CompileText("1 RCDATA BEGIN 0o17, 0O7, 0x1f, 0X10, 010, 0o0 END\n");
    ASSERT_TRUE(r.ok) << Messages(r);
    EXPECT_EQ(DataOf(r), Bytes().w(15).w(7).w(31).w(16).w(10).w(0).v()) << "a leading 0 alone is decimal";
    EXPECT_EQ(ErrorOf("1 RCDATA BEGIN 0o8 END\n"), "script.rc(1): error: malformed number '0o8'");
    EXPECT_EQ(ErrorOf("1 RCDATA BEGIN 0o END\n"), "script.rc(1): error: malformed number '0o'");
}

} // namespace
} // namespace zyn::rc::test
