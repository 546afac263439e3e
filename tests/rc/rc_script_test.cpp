// The preprocessor, the statements' syntax and the error reports.
#include <gtest/gtest.h>

#include "tests/rc/rc_test_support.h"

namespace zyn::rc::test {
namespace {

constexpr uint16_t kRtMenu = 4, kRtDialog = 5, kRtString = 6, kRtRcdata = 10;

// The value of a one-WORD RCDATA resource 1.
uint32_t Value(std::string_view script, const CompileOptions& options = {})
{
    const CompileResult r = CompileText(script, options);
    EXPECT_TRUE(r.ok) << Messages(r);
    const Resource* res = Find(r, kRtRcdata, ResId::Number(1));
    if (!res || res->data.size() < 2)
        return 0xDEADBEEF;
    uint32_t v = 0;
    for (size_t i = 0; i < res->data.size() && i < 4; ++i)
        v |= static_cast<uint32_t>(res->data[i]) << (8 * i);
    return v;
}

std::string ErrorOf(std::string_view script)
{
    const CompileResult r = CompileText(script);
    EXPECT_FALSE(r.ok) << "compiled: " << script;
    EXPECT_TRUE(r.resources.empty());
    return FirstError(r);
}

TEST(RcPreprocessor, MacrosExpandInStatements)
{
    EXPECT_EQ(Value("#define A 40\n#define B (A + 2)\n1 RCDATA BEGIN B END\n"), 42u);
    EXPECT_EQ(Value("#define SUM(a, b) ((a) + (b))\n#define TWO 2\n1 RCDATA BEGIN SUM(SUM(1, TWO), 4) END\n"), 7u);
    EXPECT_EQ(Value("#define F(x) x * 2\n1 RCDATA BEGIN F(1 + 1) END\n"), 3u) << "no parentheses added";
    EXPECT_EQ(Value("#define G() 5\n1 RCDATA BEGIN G() END\n"), 5u);
    EXPECT_EQ(Value("#define LONG_ONE 1 + \\\n   2 + \\\n   3\n1 RCDATA BEGIN LONG_ONE END\n"), 6u);
    // A function-like name without arguments is just a name (here: an undefined symbol).
    EXPECT_NE(ErrorOf("#define F(x) x\n1 RCDATA BEGIN F END\n").find("undefined symbol 'F'"), std::string::npos);
    // Self-reference stops after one level.
    EXPECT_NE(ErrorOf("#define X (X + 1)\n1 RCDATA BEGIN X END\n").find("undefined symbol 'X'"), std::string::npos);
    EXPECT_EQ(Value("#define A 1\n#undef A\n#define A 2\n1 RCDATA BEGIN A END\n"), 2u);
}

TEST(RcPreprocessor, Conditionals)
{
    EXPECT_EQ(Value("#if 1 + 2 * 3 == 7 && (10 / 3 == 3) && (-1 < 0) && ('A' == 65) && (1 << 4) == 16\n"
                    "1 RCDATA BEGIN 1 END\n#else\n1 RCDATA BEGIN 2 END\n#endif\n"),
        1u);
    EXPECT_EQ(Value("#define X 3\n#if X == 1\n1 RCDATA BEGIN 1 END\n#elif X == 3\n1 RCDATA BEGIN 3 END\n"
                    "#elif X == 3\n1 RCDATA BEGIN 4 END\n#else\n1 RCDATA BEGIN 5 END\n#endif\n"),
        3u);
    EXPECT_EQ(Value("#if defined(UNDEF) || defined UNDEF2 || UNDEF3\n1 RCDATA BEGIN 1 END\n#else\n"
                    "1 RCDATA BEGIN 2 END\n#endif\n"),
        2u)
        << "unknown names are 0";
    EXPECT_EQ(Value("#if 0 && (1 / 0)\n#else\n1 RCDATA BEGIN 9 END\n#endif\n"), 9u) << "no division when skipped";
    EXPECT_EQ(Value("#if 1 ? 0 : 1 / 0\n#else\n1 RCDATA BEGIN 8 END\n#endif\n"), 8u);
    // Skipped groups ignore every directive but the conditionals, even unknown ones.
    EXPECT_EQ(Value("#if 0\n#error never\n#bogus directive\n#if 1\n#else\n#endif\n\"unterminated\n#endif\n"
                    "1 RCDATA BEGIN 6 END\n"),
        6u);
    EXPECT_EQ(Value("#ifdef RC_INVOKED\n#ifndef _WIN32\n#error\n#endif\n1 RCDATA BEGIN 1 END\n#endif\n"), 1u)
        << "the compiler's own macros";
    CompileOptions options;
    options.defines = {{"LEVEL", "4"}, {"FLAG", ""}};
    EXPECT_EQ(Value("#if LEVEL == 4 && FLAG == 1\n1 RCDATA BEGIN LEVEL END\n#endif\n", options), 4u);
}

TEST(RcPreprocessor, CommentsAndStrings)
{
    const CompileResult r = CompileText("STRINGTABLE /* a comment\nover lines */ BEGIN\n"
                                        "  1 \"a // not a comment /* nor this */\" // a comment\n"
                                        "  2 L\"wide \\\"q\\\" \"\"d\"\"\"\n"
                                        "  3 \"tab\\there\\\\ \\x41\\102 \\a\"\n"
                                        "END\n");
    ASSERT_TRUE(r.ok) << Messages(r);
    const Resource* block = Find(r, kRtString, ResId::Number(1));
    ASSERT_NE(block, nullptr);
    Reader rd(block->data);
    rd.w();
    std::wstring s1, s2, s3;
    for (auto* s : {&s1, &s2, &s3}) {
        const uint16_t n = rd.w();
        for (uint16_t i = 0; i < n; ++i)
            s->push_back(static_cast<wchar_t>(rd.w()));
    }
    EXPECT_EQ(s1, L"a // not a comment /* nor this */");
    EXPECT_EQ(s2, L"wide \"q\" \"d\"");
    EXPECT_EQ(s3, L"tab\there\\ AB \x08") << "\\a is the right-alignment mark 0x08";
}

TEST(RcPreprocessor, IncludesHeadersAndBuiltins)
{
    MemoryFileSystem fs;
    fs.Add("proj/main.rc", "#include \"Sub/IDS.H\"\n#include <shared.h>\n#include <windows.h>\n"
                           "1 RCDATA BEGIN ID_A, ID_B, WS_VISIBLE >> 16, LANG_GERMAN END\n");
    fs.Add("proj/sub/ids.h", "#pragma once\n#define ID_A 1\nstruct Ignored { int a; };\nint f() { return 'x'; }\n");
    fs.Add("inc/shared.h", "#define ID_B (ID_A + 1)\n");
    CompileOptions options;
    options.includeDirs = {"inc"};
    const CompileResult r = Compile("proj/main.rc", options, fs);
    ASSERT_TRUE(r.ok) << Messages(r);
    const Resource* res = Find(r, kRtRcdata, ResId::Number(1));
    ASSERT_NE(res, nullptr);
    EXPECT_EQ(res->data, Bytes().w(1).w(2).d(0x1000).w(7).v()) << "a value with an L suffix is a DWORD";
    EXPECT_EQ(r.dependencies, (std::vector<std::string>{"proj/main.rc", "proj/sub/ids.h", "inc/shared.h"}));

    options.builtinHeaders = false;
    const CompileResult noBuiltins = Compile("proj/main.rc", options, fs);
    EXPECT_EQ(FirstError(noBuiltins), "proj/main.rc(3): error: cannot open include file 'windows.h'");
}

TEST(RcPreprocessor, ScriptEncodings)
{
    // UTF-16LE with its byte-order mark.
    std::vector<uint8_t> utf16 = {0xFF, 0xFE};
    for (const char c : std::string("STRINGTABLE BEGIN 1 \"\xE9\" END\n")) {
        utf16.push_back(static_cast<uint8_t>(c));
        utf16.push_back(0);
    }
    MemoryFileSystem fs;
    fs.Add("u16.rc", utf16);
    const CompileResult r16 = Compile("u16.rc", {}, fs);
    ASSERT_TRUE(r16.ok) << Messages(r16);
    EXPECT_EQ(Find(r16, kRtString, ResId::Number(1))->data[4], 0xE9);

    // Bytes that are not UTF-8 are read as Windows-1252, with a warning.
    const CompileResult r1252 = CompileText("STRINGTABLE BEGIN 1 \"\x80\" END\n");
    ASSERT_TRUE(r1252.ok) << Messages(r1252);
    const auto& block = Find(r1252, kRtString, ResId::Number(1))->data;
    EXPECT_EQ(block[4] | (block[5] << 8), 0x20AC) << "0x80 is the euro sign";
    ASSERT_EQ(r1252.diagnostics.size(), 1u);
    EXPECT_EQ(r1252.diagnostics[0].kind, Diagnostic::Kind::Warning);
}

TEST(RcStatements, NamesTypesAndLanguages)
{
    const CompileResult r = CompileText("LANGUAGE 7, 1\n"
                                        "myname RCDATA BEGIN 1 END\n"
                                        "\"Quoted\" MyType BEGIN 2 END\n"
                                        "(100 + 1) 300 LANGUAGE 9, 2 BEGIN 3 END\n"
                                        "5 RCDATA PRELOAD DISCARDABLE CHARACTERISTICS 3 VERSION 4 BEGIN END\n");
    ASSERT_TRUE(r.ok) << Messages(r);
    ASSERT_EQ(r.resources.size(), 4u);
    EXPECT_EQ(r.resources[0].name, ResId::Name(L"MYNAME"));
    EXPECT_EQ(r.resources[0].language, 0x0407);
    EXPECT_EQ(r.resources[1].type, ResId::Name(L"MYTYPE"));
    EXPECT_EQ(r.resources[1].name, ResId::Name(L"QUOTED"));
    EXPECT_EQ(r.resources[2].type, ResId::Number(300));
    EXPECT_EQ(r.resources[2].name, ResId::Number(101));
    EXPECT_EQ(r.resources[2].language, 0x0809);
    EXPECT_TRUE(r.resources[3].data.empty());

    CompileOptions options;
    options.defaultLanguage = 0x0409;
    const CompileResult d = CompileText("1 RCDATA BEGIN 1 END\n", options);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.resources[0].language, 0x0409);
}

TEST(RcStatements, DialogControlsAndStyles)
{
    const CompileResult r = CompileText(R"(#include <windows.h>
1 DIALOG 0, 0, 10, 10
STYLE WS_CHILD | NOT WS_VISIBLE
BEGIN
    CTEXT "c", 1, 0, 0, 1, 1, NOT WS_GROUP | SS_NOPREFIX
    CONTROL "b", 2, BUTTON, BS_GROUPBOX, 0, 0, 1, 1
    CONTROL "e", 3, "Edit", ES_MULTILINE | NOT WS_VISIBLE, 0, 0, 1, 1
    CONTROL 7, 4, "Static", SS_ICON, 0, 0, 1, 1
    ICON MYICON, 5, 0, 0, 20, 20, SS_CENTERIMAGE
    AUTORADIOBUTTON "r", 6, 0, 0, 1, 1
END
)");
    ASSERT_TRUE(r.ok) << Messages(r);
    Reader rd(Find(r, kRtDialog, ResId::Number(1))->data);
    EXPECT_EQ(rd.d(), 0x40000000u) << "NOT clears nothing that was not given";
    rd.d();
    EXPECT_EQ(rd.w(), 6);
    for (int i = 0; i < 4; ++i)
        rd.w();
    EXPECT_EQ(rd.nameOrOrd(), L"");
    EXPECT_EQ(rd.nameOrOrd(), L"");
    EXPECT_EQ(rd.s(), L"");
    struct Expected {
        uint32_t style;
        uint16_t id;
        std::wstring cls, text;
    };
    const Expected expected[] = {
        {0x50000081, 1, L"#130", L"c"},
        {0x50000007, 2, L"#128", L"b"},
        {0x40000004, 3, L"#129", L"e"},
        {0x50000003, 4, L"#130", L"#7"},
        {0x50000203, 5, L"#130", L"MYICON"},
        {0x50010009, 6, L"#128", L"r"},
    };
    for (const Expected& e : expected) {
        rd.align4();
        EXPECT_EQ(rd.d(), e.style) << "control " << e.id;
        rd.d();
        for (int i = 0; i < 4; ++i)
            rd.w();
        EXPECT_EQ(rd.w(), e.id);
        EXPECT_EQ(rd.nameOrOrd(), e.cls);
        EXPECT_EQ(rd.nameOrOrd(), e.text);
        EXPECT_EQ(rd.w(), 0);
    }
    EXPECT_TRUE(rd.atEnd());
}

TEST(RcStatements, AcceleratorForms)
{
    const CompileResult r = CompileText("1 ACCELERATORS BEGIN \"a\", 1, VIRTKEY \"^z\", 2 \"B\", 3 ALT END\n");
    ASSERT_TRUE(r.ok) << Messages(r);
    EXPECT_EQ(r.resources[0].data,
        Bytes().w(1).w('A').w(1).w(0).w(0).w(26).w(2).w(0).w(0x90).w('B').w(3).w(0).v());
    ASSERT_EQ(r.diagnostics.size(), 1u) << "a lower-case virtual key is warned about";
    EXPECT_EQ(r.diagnostics[0].Format().rfind("script.rc(1): warning:", 0), 0u);
}

TEST(RcErrors, ReportFileAndLine)
{
    struct Case {
        const char* script;
        const char* error;
    };
    const Case cases[] = {
        {"1 MENU\nBEGIN\n  MENUITEM \"x\", UNDEFINED\nEND\n", "script.rc(3): error: undefined symbol 'UNDEFINED'"},
        {"\n#ifdef X\n", "script.rc(2): error: #if without #endif"},
        {"#endif\n", "script.rc(1): error: #endif without #if"},
        {"#if 1\n#else\n#else\n#endif\n", "script.rc(3): error: #else after #else"},
        {"#error stop here\n", "script.rc(1): error: #error stop here"},
        {"#frobnicate\n", "script.rc(1): error: unknown preprocessor directive #frobnicate"},
        {"#if 1 +\n#endif\n", "script.rc(1): error: #if expression ends too early"},
        {"#if 1 / 0\n#endif\n", "script.rc(1): error: division by zero in #if expression"},
        {"#define F(a, b) a\n1 RCDATA BEGIN F(1) END\n", "script.rc(2): error: macro F takes 2 argument(s), not 1"},
        {"#define F(a) a\n1 RCDATA BEGIN F(1\nEND\n", "script.rc(2): error: unterminated call of macro F"},
        {"#define F(a) a\n1 RCDATA BEGIN F(1\n#define G 2\n) END\n", "script.rc(2): error: unterminated call of macro F"},
        {"#include \"missing.h\"\n", "script.rc(1): error: cannot open include file 'missing.h'"},
        {"STRINGTABLE BEGIN\n1 \"a\"\n1 \"b\"\nEND\n", "script.rc(3): error: string ID 1 is already defined at script.rc(2)"},
        {"1 RCDATA BEGIN END\n\n1 RCDATA BEGIN END\n", "script.rc(3): error: duplicate resource"},
        {"1 MENU\nBEGIN\n  POPUP \"p\"\n  BEGIN\n  END\nEND\n", "script.rc(3): error: POPUP \"p\" has no items"},
        {"1 MENU\nBEGIN\n  MENUITEM \"x\", 1\n", "script.rc(3): error: unexpected end of file: END is missing"},
        {"1 DIALOG 0, 0, 1\nBEGIN\nEND\n", "script.rc(2): error: expected ',' after the dialog's width, found 'BEGIN'"},
        {"1 DIALOG 0, 0, 1, 70000\nBEGIN\nEND\n", "script.rc(1): error: dialog height 70000 is outside -32768..32767"},
        {"1 DIALOG 0,0,1,1\nBEGIN\n  BLINKENLIGHT 1, 2, 3, 4, 5\nEND\n", "script.rc(3): error: unknown control statement"},
        {"1 DIALOG 0,0,1,1\nBEGIN\n  LTEXT \"x\", 1, 2, 3, 4, 5\n  BEGIN 1 END\nEND\n",
            "script.rc(4): error: control data blocks need a DIALOGEX"},
        {"1 ACCELERATORS BEGIN\n \"ab\", 1\nEND\n", "script.rc(2): error: an accelerator key is one character"},
        {"1 ACCELERATORS BEGIN\n \"^C\", 1, VIRTKEY\nEND\n", "script.rc(2): error: \"^X\" keys are ASCII accelerators"},
        {"1 ACCELERATORS BEGIN\n \"x\", 1, BOGUS\nEND\n", "script.rc(2): error: unknown accelerator option 'BOGUS'"},
        {"1 ACCELERATORS BEGIN\nEND\n", "script.rc(1): error: the ACCELERATORS table 1 is empty"},
        {"1 TOOLBAR 16, 15 BEGIN\n BUTTON 0\nEND\n", "script.rc(2): error: a toolbar BUTTON needs a command"},
        {"1 ICON \"nothere.ico\"\n", "script.rc(1): error: cannot find file 'nothere.ico'"},
        {"0 RCDATA BEGIN END\n", "script.rc(1): error: resource name 0 is outside 1..65535"},
        {"1 RCDATA BEGIN 0x1FFFF END\n", "script.rc(1): error: value 131071 does not fit in a WORD"},
        {"1 RCDATA BEGIN 99999999999 END\n", "script.rc(1): error: number 99999999999 does not fit in 32 bits"},
        {"1 RCDATA BEGIN 12abc END\n", "script.rc(1): error: malformed number '12abc'"},
        {"1 RCDATA BEGIN \"\xE2\x82\xAC\xE2\x98\xBA\" END\n", "script.rc(1): error: a narrow string holds characters"},
        {"1 RCDATA BEGIN L\"\\xD800\" END\n", "script.rc(1): error: the string holds a character that is not"},
        {"1 RCDATA BEGIN 1 / (2 - 2) END\n", "script.rc(1): error: division by zero"},
        {"STRINGTABLE BEGIN 70000 \"x\" END\n", "script.rc(1): error: string ID 70000 is outside 0..65535"},
        {"1 VERSIONINFO\nFILEVERSION 1,2,3,4,5\nBEGIN END\n", "script.rc(2): error: the file version has more than four parts"},
        {"LANGUAGE 1024, 0\n", "script.rc(1): error: language 1024, 0 is out of range"},
        {"1 RCDATA BEGIN \"abc\n", "script.rc(1): error: missing closing quote of a string"},
        {"}\n", "script.rc(1): error: expected a resource statement, found '}'"},
        {"1\n", "script.rc(1): error: expected a resource type after the name 1"},
        {"1 RCDATA BEGIN END\nEND\n", "script.rc(2): error: expected a resource statement, found 'END'"},
        {"1 RCDATA BEGIN END\n/* never\nclosed\n2 RCDATA BEGIN END\n", "script.rc(2): error: unterminated /* comment"},
    };
    for (const Case& c : cases) {
        const std::string error = ErrorOf(c.script);
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << "script:\n" << c.script << "\ngave: " << error;
    }
}

TEST(RcErrors, ErrorsInsideIncludedFilesNameThatFile)
{
    MemoryFileSystem fs;
    fs.Add("main.rc", "// main\n#include \"inc/ids.h\"\n1 RCDATA BEGIN A END\n");
    fs.Add("inc/ids.h", "#define A 1\n\n#if A +\n#endif\n");
    const CompileResult r = Compile("main.rc", {}, fs);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(FirstError(r), "inc/ids.h(3): error: #if expression ends too early");

    fs.Add("inc/ids.h", "#define A 1\n#include \"ids.h\"\n");
    const CompileResult loop = Compile("main.rc", {}, fs);
    EXPECT_EQ(FirstError(loop).rfind("inc/ids.h(2): error: #include nested more than 32 levels deep", 0), 0u)
        << FirstError(loop);

    fs.Add("inc/ids.h", "#define A 1\n");
    fs.Add("main.rc", "#include \"inc/ids.h\"\n1 MENU\nBEGIN\n  MENUITEM \"x\", A B\nEND\n");
    EXPECT_EQ(FirstError(Compile("main.rc", {}, fs)), "main.rc(4): error: expected MENUITEM, POPUP or END, found 'B'");
}

TEST(RcErrors, RunawayInputStaysBounded)
{
    std::string doubling;
    for (char c = 'A'; c < 'Z'; ++c)
        doubling += std::string("#define ") + c + " " + static_cast<char>(c + 1) + " " + static_cast<char>(c + 1) + "\n";
    doubling += "1 RCDATA BEGIN A END\n";
    EXPECT_NE(ErrorOf(doubling).find("macro expansion produces too many tokens"), std::string::npos);
    EXPECT_NE(ErrorOf("1 RCDATA BEGIN " + std::string(100000, '(') + "1 END\n").find("nested too deeply"),
        std::string::npos);
    EXPECT_NE(ErrorOf("#if " + std::string(100000, '(') + "1\n#endif\n").find("nested too deeply"), std::string::npos);
    std::string menus = "1 MENU BEGIN\n";
    for (int i = 0; i < 100; ++i)
        menus += "POPUP \"p\" BEGIN\n";
    EXPECT_NE(ErrorOf(menus).find("nested more than 64 levels"), std::string::npos);
}

TEST(RcErrors, SeveralScriptsCompileAsOne)
{
    MemoryFileSystem fs;
    fs.Add("a.rc", "#define SHARED 5\nSTRINGTABLE BEGIN 1 \"a\" END\n");
    fs.Add("b.rc", "STRINGTABLE BEGIN 2 \"b\" END\n1 RCDATA BEGIN SHARED END\n");
    const CompileResult r = Compile(std::vector<std::string>{"a.rc", "b.rc"}, {}, fs);
    ASSERT_TRUE(r.ok) << Messages(r);
    EXPECT_EQ(Find(r, kRtRcdata, ResId::Number(1))->data, Bytes().w(5).v());
    EXPECT_EQ(Find(r, kRtString, ResId::Number(1))->data.size(), 2u * 16 + 4) << "one block holds both strings";
    fs.Add("b.rc", "STRINGTABLE BEGIN 1 \"again\" END\n");
    EXPECT_EQ(FirstError(Compile(std::vector<std::string>{"a.rc", "b.rc"}, {}, fs)),
        "b.rc(1): error: string ID 1 is already defined at a.rc(2)");
}

} // namespace
} // namespace zyn::rc::test
