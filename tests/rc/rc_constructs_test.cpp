// Script constructs real programs use: control styles against each keyword's documented
// default, data files named without quotes, and the platform headers' constants.
#include <gtest/gtest.h>

#include "tests/rc/rc_decode_support.h"

namespace zyn::rc::test {
namespace {

constexpr uint16_t kRtBitmap = 2, kRtDialog = 5, kRtRcdata = 10, kRtGroupIcon = 14;

// Each keyword's default (documented): LTEXT/RTEXT/CTEXT SS_x | WS_GROUP; ICON SS_ICON;
// PUSHBUTTON, DEFPUSHBUTTON, CHECKBOX, AUTOCHECKBOX, RADIOBUTTON, AUTORADIOBUTTON, STATE3,
// AUTO3STATE, PUSHBOX their BS_ kind | WS_TABSTOP; GROUPBOX BS_GROUPBOX; EDITTEXT ES_LEFT |
// WS_BORDER | WS_TABSTOP; LISTBOX LBS_NOTIFY | WS_BORDER; COMBOBOX CBS_SIMPLE |
// WS_TABSTOP; SCROLLBAR SBS_HORZ; all with WS_CHILD | WS_VISIBLE (0x50000000). A written
// style adds to that, a kind it names replaces the default kind, NOT removes bits.
TEST(RcControlStyles, KeywordDefaultsAndWrittenStyles)
{
    struct Row {
        const char* control;
        uint32_t style;
        uint32_t exStyle = 0;
    } const rows[] = {
        {"COMBOBOX 1, 0, 0, 9, 9", 0x50010001},
        {"COMBOBOX 1, 0, 0, 9, 9, CBS_DROPDOWN | WS_VSCROLL", 0x50210002}, // not CBS_DROPDOWNLIST
        {"COMBOBOX 1, 0, 0, 9, 9, CBS_DROPDOWNLIST | CBS_SORT", 0x50010103},
        {"COMBOBOX 1, 0, 0, 9, 9, CBS_SIMPLE", 0x50010001},
        {"COMBOBOX 1, 0, 0, 9, 9, CBS_SORT | WS_VSCROLL", 0x50210101}, // names no kind: stays simple
        {"COMBOBOX 1, 0, 0, 9, 9, CBS_DROPDOWN | NOT WS_TABSTOP", 0x50000002},
        {"COMBOBOX 1, 0, 0, 9, 9, WS_DISABLED | CBS_DROPDOWN, WS_EX_CLIENTEDGE", 0x58010002, 0x200},
        {"DEFPUSHBUTTON \"d\", 1, 0, 0, 9, 9, WS_GROUP", 0x50030001}, // the kind stays
        {"PUSHBUTTON \"p\", 1, 0, 0, 9, 9, BS_OWNERDRAW", 0x5001000B},
        {"RADIOBUTTON \"r\", 1, 0, 0, 9, 9", 0x50010004},
        {"RADIOBUTTON \"r\", 1, 0, 0, 9, 9, BS_AUTORADIOBUTTON", 0x50010009}, // not 0xD
        {"AUTORADIOBUTTON \"r\", 1, 0, 0, 9, 9, NOT WS_TABSTOP | WS_GROUP", 0x50020009},
        {"CHECKBOX \"c\", 1, 0, 0, 9, 9, BS_LEFTTEXT", 0x50010022},
        {"AUTOCHECKBOX \"a\", 1, 0, 0, 9, 9, NOT WS_VISIBLE", 0x40010003},
        {"STATE3 \"s\", 1, 0, 0, 9, 9, BS_PUSHLIKE", 0x50011005},
        {"AUTO3STATE \"a\", 1, 0, 0, 9, 9", 0x50010006},
        {"PUSHBOX \"p\", 1, 0, 0, 9, 9", 0x5001000A},
        {"GROUPBOX \"g\", 1, 0, 0, 9, 9", 0x50000007},
        {"GROUPBOX \"g\", 1, 0, 0, 9, 9, WS_TABSTOP", 0x50010007},
        {"LTEXT \"t\", 1, 0, 0, 9, 9, SS_NOPREFIX | NOT WS_GROUP", 0x50000080},
        {"RTEXT \"\", 1, 0, 0, 9, 9, SS_ETCHEDHORZ", 0x50020010}, // not SS_ETCHEDFRAME (0x12)
        {"CTEXT \"t\", 1, 0, 0, 9, 9, SS_SUNKEN", 0x50021001},
        {"ICON \"i\", 1, 0, 0", 0x50000003},
        {"ICON \"i\", 1, 0, 0, 0, 0, SS_CENTERIMAGE", 0x50000203},
        {"EDITTEXT 1, 0, 0, 9, 9", 0x50810000},
        {"EDITTEXT 1, 0, 0, 9, 9, ES_MULTILINE | ES_AUTOVSCROLL", 0x50810044},
        {"EDITTEXT 1, 0, 0, 9, 9, ES_RIGHT | NOT WS_BORDER", 0x50010002},
        {"LISTBOX 1, 0, 0, 9, 9", 0x50800001},
        {"LISTBOX 1, 0, 0, 9, 9, LBS_SORT | WS_VSCROLL", 0x50A00003},
        {"LISTBOX 1, 0, 0, 9, 9, NOT LBS_NOTIFY | WS_TABSTOP", 0x50810000},
        {"SCROLLBAR 1, 0, 0, 9, 9, SBS_VERT", 0x50000001},
        // CONTROL has only WS_CHILD | WS_VISIBLE by default.
        {"CONTROL \"\", 1, \"ComboBox\", CBS_DROPDOWN, 0, 0, 9, 9", 0x50000002},
        {"CONTROL \"\", 1, BUTTON, BS_AUTOCHECKBOX | NOT WS_VISIBLE, 0, 0, 9, 9", 0x40000003},
        {"CONTROL \"\", 1, STATIC, SS_BLACKRECT, 0, 0, 9, 9, WS_EX_STATICEDGE", 0x50000004, 0x20000},
    };
    std::string script = "#include <windows.h>\n1 DIALOG 0, 0, 100, 100\nBEGIN\n";
    for (const Row& row : rows)
        script += std::string("  ") + row.control + "\n";
    script += "END\n";
    const CompileResult r = CompileText(script);
    ASSERT_TRUE(r.ok) << Messages(r);
    const DecodedDialog d = DecodeDialog(Find(r, kRtDialog, ResId::Number(1))->data);
    ASSERT_EQ(d.controls.size(), std::size(rows));
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(d.controls[i].style, rows[i].style) << rows[i].control;
        EXPECT_EQ(d.controls[i].exStyle, rows[i].exStyle) << rows[i].control;
    }
}

TEST(RcControlStyles, DialogFontExtrasNeedDialogEx)
{
    const CompileResult r = CompileText("1 DIALOG 0, 0, 9, 9\nFONT 8, \"Face\", 700, 1, 0\nBEGIN\nEND\n"
                                        "2 DIALOGEX 0, 0, 9, 9\nFONT 8, \"Face\", 700, 1, 0\nBEGIN\nEND\n");
    ASSERT_TRUE(r.ok) << Messages(r);
    ASSERT_EQ(r.diagnostics.size(), 1u);
    EXPECT_EQ(r.diagnostics[0].Format().rfind("script.rc(2): warning: a DIALOG font has no weight", 0), 0u);
    const DecodedDialog plain = DecodeDialog(Find(r, kRtDialog, ResId::Number(1))->data);
    EXPECT_EQ(plain.face, L"Face");
    const DecodedDialog ex = DecodeDialog(Find(r, kRtDialog, ResId::Number(2))->data);
    EXPECT_EQ(ex.weight, 700);
    EXPECT_EQ(ex.italic, 1);
    EXPECT_EQ(ex.charset, 0);
}

// A 1x1 32-bit icon and a 1x1 24-bit bitmap, spelt out field by field.
std::vector<uint8_t> TinyIco()
{
    return Bytes()
        .w(0).w(1).w(1)                                 // ICONDIR
        .b(1).b(1).b(0).b(0).w(1).w(32).d(48).d(22)    // one entry: 48 bytes at 22
        .d(40).d(1).d(2).w(1).w(32).d(0).d(8).d(0).d(0).d(0).d(0) // BITMAPINFOHEADER
        .d(0xFF00FF00)                                  // the pixel
        .d(0)                                           // the AND mask row
        .v();
}
std::vector<uint8_t> TinyBmp()
{
    return Bytes()
        .b('B').b('M').d(58).w(0).w(0).d(54)
        .d(40).d(1).d(1).w(1).w(24).d(0).d(4).d(0).d(0).d(0).d(0)
        .b(1).b(2).b(3).b(0)
        .v();
}

TEST(RcDataFiles, NamesWithoutQuotes)
{
    MemoryFileSystem fs;
    fs.Add("proj/app.rc", "#define DOC_FILE docs/read.me\n"
                          "1 ICON app.ico\n"
                          "2 BITMAP res\\sub\\pic-16x16.bmp\n"
                          "3 RCDATA data.bin\n"
                          "4 MYTYPE DISCARDABLE DOC_FILE\n"
                          "5 RCDATA BEGIN 1 END\n");
    fs.Add("proj/app.ico", TinyIco());
    fs.Add("proj/res/sub/pic-16x16.bmp", TinyBmp());
    fs.Add("proj/data.bin", std::string_view("raw"));
    fs.Add("proj/docs/read.me", std::string_view("doc"));
    const CompileResult r = Compile("proj/app.rc", {}, fs);
    ASSERT_TRUE(r.ok) << Messages(r);
    EXPECT_NE(Find(r, kRtGroupIcon, ResId::Number(1)), nullptr);
    const std::vector<uint8_t> bmp = TinyBmp();
    EXPECT_EQ(Find(r, kRtBitmap, ResId::Number(2))->data, std::vector<uint8_t>(bmp.begin() + 14, bmp.end()));
    EXPECT_EQ(Find(r, kRtRcdata, ResId::Number(3))->data, Bytes().raw("raw").v());
    bool found = false;
    for (const Resource& res : r.resources)
        if (res.type == ResId::Name(L"MYTYPE") && res.name == ResId::Number(4)) {
            EXPECT_EQ(res.data, Bytes().raw("doc").v());
            found = true;
        }
    EXPECT_TRUE(found);
    EXPECT_EQ(Find(r, kRtRcdata, ResId::Number(5))->data, Bytes().w(1).v()) << "the name ended at the line's end";

    struct Case {
        const char* script;
        const char* error;
    } const errors[] = {
        {"1 ICON\n", "script.rc(1): error: expected an icon file name, found end of file"},
        {"1 BITMAP , x\n", "script.rc(1): error: expected a bitmap file name, found ','"},
        {"1 RCDATA\n", "script.rc(1): error: expected a file name or BEGIN, found end of file"},
        {"1 RCDATA missing.bin\n", "script.rc(1): error: cannot find file 'missing.bin'"},
        {"1 RCDATA app .ico\n", "script.rc(1): error: cannot find file 'app'"},
    };
    for (const Case& c : errors) {
        const CompileResult e = CompileText(c.script);
        EXPECT_EQ(FirstError(e).rfind(c.error, 0), 0u) << c.script << "gave: " << FirstError(e);
    }
}

TEST(RcPlatformHeaders, ConstantsAtTheirDocumentedValues)
{
    struct Row {
        const char* header;
        const char* expression;
        uint32_t value;
    } const rows[] = {
        {"dlgs.h", "stc1", 0x0440},
        {"dlgs.h", "stc32", 0x045F},
        {"dlgs.h", "cmb1", 0x0470},
        {"dlgs.h", "psh1", 0x0400},
        {"dlgs.h", "pshHelp", 0x040E},
        {"dlgs.h", "lst1", 0x0460},
        {"dlgs.h", "edt1", 0x0480},
        {"dlgs.h", "chx1", 0x0410},
        {"dlgs.h", "rad16", 0x042F},
        {"dlgs.h", "grp4", 0x0433},
        {"dlgs.h", "frm1", 0x0434},
        {"dlgs.h", "rct1", 0x0438},
        {"dlgs.h", "ico1", 0x043C},
        {"dlgs.h", "scr8", 0x0497},
        {"dlgs.h", "FILEOPENORD", 1536},
        {"prsht.h", "PROP_MED_CXDLG", 227},
        {"prsht.h", "PROP_SM_CYDLG", 188},
        {"richedit.h", "ES_SAVESEL | ES_SUNKEN", 0xC000},
        {"winspool.h", "PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS", 6},
        {"commctrl.h", "TBSTYLE_FLAT | TBSTYLE_TOOLTIPS", 0x0900},
        {"commctrl.h", "BTNS_CHECKGROUP | BTNS_SHOWTEXT", 0x0046},
        {"commctrl.h", "TBSTYLE_EX_DRAWDDARROWS", 1},
        {"windows.h", "VK_BROWSER_BACK", 0xA6},
        {"windows.h", "VK_BROWSER_HOME", 0xAC},
        {"windows.h", "VK_MEDIA_PLAY_PAUSE", 0xB3},
        {"windows.h", "VK_F24", 0x87},
        {"windows.h", "VK_OEM_102", 0xE2},
        {"windows.h", "VK_OEM_CLEAR", 0xFE},
        {"windows.h", "SC_CLOSE", 0xF060},
        {"windows.h", "RT_VERSION", 16},
        {"windows.h", "MAKELANGID(LANG_UKRAINIAN, SUBLANG_UKRAINIAN_UKRAINE)", 0x0422},
        {"windows.h", "MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN)", 0x0C0A},
        {"windows.h", "MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)", 0x0804},
        {"windows.h", "MAKELANGID(LANG_SERBIAN, SUBLANG_SERBIAN_CYRILLIC)", 0x0C1A},
        {"windows.h", "MAKELANGID(LANG_NORWEGIAN, SUBLANG_NORWEGIAN_NYNORSK)", 0x0814},
        {"windows.h", "MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_SINGAPORE)", 0x4809},
        {"windows.h", "LANG_SCOTTISH_GAELIC", 0x91},
        {"winres.h", "IDC_STATIC", 0xFFFFFFFF},
        {"winver.h", "VS_FFI_FILEFLAGSMASK", 0x3F},
        {"winver.h", "VOS_NT_WINDOWS32", 0x00040004},
        {"winver.h", "VFT_STATIC_LIB", 7},
        {"winresrc.h", "stc1 + VS_VERSION_INFO", 0x0441}, // winresrc.h brings dlgs.h and winver.h
        {"afxres.h", "AFX_IDS_PREVIEW_CLOSE", 0xF005},
        {"afxres.h", "AFX_IDS_OPENFILE", 0xF000},
    };
    for (const Row& row : rows) {
        const std::string script = std::string("#include <") + row.header + ">\n1 RCDATA BEGIN (" + row.expression +
            ") + 0L END\n";
        const CompileResult r = CompileText(script);
        ASSERT_TRUE(r.ok) << row.expression << "\n" << Messages(r);
        EXPECT_EQ(Find(r, kRtRcdata, ResId::Number(1))->data, Bytes().d(row.value).v()) << row.expression;
    }

    // Languages by name in LANGUAGE statements; rich edit's class name in a CONTROL.
    const CompileResult r = CompileText("#include <windows.h>\n#include <richedit.h>\n"
                                        "LANGUAGE LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN\n"
                                        "1 DIALOG 0, 0, 9, 9\n"
                                        "BEGIN CONTROL \"\", 1, RICHEDIT_CLASS, 0, 0, 0, 9, 9 END\n");
    ASSERT_TRUE(r.ok) << Messages(r);
    const Resource* dialog = Find(r, kRtDialog, ResId::Number(1), 0x0416);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(DecodeDialog(dialog->data).controls.at(0).cls, L"RichEdit20A");
}

} // namespace
} // namespace zyn::rc::test
