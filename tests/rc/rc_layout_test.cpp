// The binary layouts of small scripts, byte for byte against hand-computed expectations.
#include <gtest/gtest.h>

#include "tests/rc/rc_test_support.h"

namespace zyn::rc::test {
namespace {

constexpr uint16_t kRtCursor = 1, kRtBitmap = 2, kRtIcon = 3, kRtMenu = 4, kRtDialog = 5, kRtString = 6,
                   kRtAccel = 9, kRtRcdata = 10, kRtGroupCursor = 12, kRtGroupIcon = 14, kRtDlgInit = 240,
                   kRtToolbar = 241;

TEST(RcLayout, MenuWithTwoItems)
{
    const auto data = CompileOne(R"(
1 MENU
BEGIN
    MENUITEM "&New", 100
    POPUP "P", GRAYED
    BEGIN
        MENUITEM "x", 5, CHECKED
    END
END
)",
        kRtMenu, 1);
    const Bytes expected = Bytes()
                               .w(0)
                               .w(0) // MENUITEMTEMPLATEHEADER
                               .w(0x0000)
                               .w(100)
                               .s(u"&New")
                               .w(0x0091) // MF_POPUP | MF_END | MF_GRAYED, no ID
                               .s(u"P")
                               .w(0x0088) // MF_CHECKED | MF_END
                               .w(5)
                               .s(u"x");
    EXPECT_EQ(data, expected.v());
}

TEST(RcLayout, MenuSeparatorAndOptions)
{
    const auto data = CompileOne(R"(
2 MENU
BEGIN
    MENUITEM SEPARATOR
    MENUITEM "a", 1, INACTIVE MENUBREAK
    MENUITEM "b", 2, MENUBARBREAK, HELP
END
)",
        kRtMenu, 2);
    const Bytes expected = Bytes()
                               .w(0)
                               .w(0)
                               .w(0)
                               .w(0)
                               .s(u"") // separator: no flags, ID 0, empty text
                               .w(0x0042)
                               .w(1)
                               .s(u"a")
                               .w(0x4000 | 0x20 | 0x80)
                               .w(2)
                               .s(u"b");
    EXPECT_EQ(data, expected.v());
}

TEST(RcLayout, MenuEx)
{
    const auto data = CompileOne(R"(
#include <windows.h>
1 MENUEX
BEGIN
    POPUP "P", 10, 0, 0, 99
    BEGIN
        MENUITEM "Ab", 11, MFT_RADIOCHECK, MFS_CHECKED
    END
    MENUITEM "", , MFT_SEPARATOR
END
)",
        kRtMenu, 1);
    const Bytes expected = Bytes()
                               .w(1)
                               .w(4)
                               .d(0) // version, offset, help ID
                               .d(0)
                               .d(0)
                               .d(10)
                               .w(0x01)
                               .s(u"P")
                               .pad4()
                               .d(99) // popup: type, state, ID, flags, text, help ID
                               .d(0x200)
                               .d(8)
                               .d(11)
                               .w(0x80)
                               .s(u"Ab")
                               .pad4()
                               .d(0x800)
                               .d(0)
                               .d(0)
                               .w(0x80)
                               .s(u"")
                               .pad4();
    EXPECT_EQ(data, expected.v());
}

TEST(RcLayout, DialogWithOneControl)
{
    const auto data = CompileOne(R"(
#include <windows.h>
1 DIALOG 1, 2, 30, 40
STYLE WS_POPUP | WS_CAPTION
CAPTION "Hi"
FONT 8, "Tahoma"
BEGIN
    PUSHBUTTON "OK", 1, 5, 6, 7, 8
END
)",
        kRtDialog, 1);
    const Bytes expected = Bytes()
                               .d(0x80C00040) // the style, DS_SETFONT added for the FONT
                               .d(0)
                               .w(1)
                               .w(1)
                               .w(2)
                               .w(30)
                               .w(40)
                               .w(0) // no menu
                               .w(0) // the standard class
                               .s(u"Hi")
                               .w(8)
                               .s(u"Tahoma")
                               .pad4()
                               .d(0x50010000) // WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON
                               .d(0)
                               .w(5)
                               .w(6)
                               .w(7)
                               .w(8)
                               .w(1)
                               .w(0xFFFF)
                               .w(0x0080)
                               .s(u"OK")
                               .w(0);
    EXPECT_EQ(data, expected.v());
}

TEST(RcLayout, DialogDefaultsMenuAndClass)
{
    const auto data = CompileOne(R"(
3 DIALOG 0, 0, 1, 1
MENU 7
CLASS "Cls"
BEGIN
    LTEXT "", -1, 0, 0, 0, 0
END
)",
        kRtDialog, 3);
    const Bytes expected = Bytes()
                               .d(0x80880000) // WS_POPUP | WS_BORDER | WS_SYSMENU
                               .d(0)
                               .w(1)
                               .w(0)
                               .w(0)
                               .w(1)
                               .w(1)
                               .w(0xFFFF)
                               .w(7)
                               .s(u"Cls")
                               .s(u"")
                               .pad4()
                               .d(0x50020000) // WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT
                               .d(0)
                               .w(0)
                               .w(0)
                               .w(0)
                               .w(0)
                               .w(0xFFFF) // IDC_STATIC as a WORD
                               .w(0xFFFF)
                               .w(0x0082)
                               .s(u"")
                               .w(0);
    EXPECT_EQ(data, expected.v());
}

TEST(RcLayout, CaptionWithoutStyleGetsATitleBar)
{
    const auto data = CompileOne("4 DIALOG 0, 0, 1, 1\nCAPTION \"T\"\nBEGIN\nEND\n", kRtDialog, 4);
    ASSERT_GE(data.size(), 4u);
    EXPECT_EQ(Reader(data).d(), 0x80C80000u) << "WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CAPTION";
}

TEST(RcLayout, DialogEx)
{
    const auto data = CompileOne(R"(
#include <windows.h>
2 DIALOGEX 0, 0, 50, 60, 7
STYLE WS_CHILD
EXSTYLE WS_EX_TOOLWINDOW
FONT 9, "A", 700, 1, 2
BEGIN
    CONTROL "t", 300, "Custom", 0x5, 1, 2, 3, 4, 0x200, 9
    BEGIN
        0x0102
    END
    EDITTEXT -1, 1, 1, 1, 1
END
)",
        kRtDialog, 2);
    const Bytes expected = Bytes()
                               .w(1)
                               .w(0xFFFF)
                               .d(7)
                               .d(0x80)
                               .d(0x40000040)
                               .w(2)
                               .w(0)
                               .w(0)
                               .w(50)
                               .w(60)
                               .w(0)
                               .w(0)
                               .w(0) // no menu, class or caption
                               .w(9)
                               .w(700)
                               .b(1)
                               .b(2)
                               .s(u"A")
                               .pad4()
                               .d(9)
                               .d(0x200)
                               .d(0x50000005)
                               .w(1)
                               .w(2)
                               .w(3)
                               .w(4)
                               .d(300)
                               .s(u"Custom")
                               .s(u"t")
                               .w(2)
                               .w(0x0102) // creation data
                               .pad4()
                               .d(0)
                               .d(0)
                               .d(0x50810000) // WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP
                               .w(1)
                               .w(1)
                               .w(1)
                               .w(1)
                               .d(0xFFFFFFFF) // -1 as a DWORD
                               .w(0xFFFF)
                               .w(0x0081)
                               .w(0)
                               .w(0);
    EXPECT_EQ(data, expected.v());
}

TEST(RcLayout, Accelerators)
{
    const auto data = CompileOne(R"(
1 ACCELERATORS
BEGIN
    "^C", 10
    "N", 11, VIRTKEY, CONTROL, SHIFT
    "a", 12, ALT
    0x70, 13, VIRTKEY, NOINVERT
END
)",
        kRtAccel, 1);
    const Bytes expected = Bytes()
                               .w(0x00)
                               .w(3)
                               .w(10)
                               .w(0)
                               .w(0x0D)
                               .w('N')
                               .w(11)
                               .w(0)
                               .w(0x10)
                               .w('a')
                               .w(12)
                               .w(0)
                               .w(0x83)
                               .w(0x70)
                               .w(13)
                               .w(0); // the last entry carries 0x80
    EXPECT_EQ(data, expected.v());
}

TEST(RcLayout, StringBlockOfSixteenCountedStrings)
{
    const CompileResult r = CompileText("STRINGTABLE BEGIN 16 \"A\" 18 \"\xF0\x9F\x98\x80\" 47, \"z\" END\n");
    ASSERT_TRUE(r.ok) << Messages(r);
    const Resource* block = Find(r, kRtString, ResId::Number(2));
    ASSERT_NE(block, nullptr);
    Bytes expected;
    expected.w(1).t(u"A").w(0).w(2).t(u"\U0001F600");
    for (int i = 3; i < 16; ++i)
        expected.w(0);
    EXPECT_EQ(block->data, expected.v());
    const Resource* third = Find(r, kRtString, ResId::Number(3));
    ASSERT_NE(third, nullptr);
    Bytes z;
    for (int i = 0; i < 15; ++i)
        z.w(0);
    z.w(1).t(u"z");
    EXPECT_EQ(third->data, z.v());
}

TEST(RcLayout, Toolbar)
{
    const auto data = CompileOne("5 TOOLBAR 16, 15\nBEGIN\n BUTTON 100\n SEPARATOR\n BUTTON 101\nEND\n", kRtToolbar, 5);
    EXPECT_EQ(data, Bytes().w(1).w(16).w(15).w(3).w(100).w(0).w(101).v());
}

TEST(RcLayout, RawDataItems)
{
    const auto data = CompileOne("1 RCDATA BEGIN 1, 2L, -1, \"ab\", L\"c\", \"\xC3\xA9\\0\" END\n", kRtRcdata, 1);
    const Bytes expected = Bytes().w(1).d(2).w(0xFFFF).raw("ab").t(u"c").b(0xE9).b(0); // narrow text in Windows-1252
    EXPECT_EQ(data, expected.v());
}

TEST(RcLayout, DlgInitIsRawData)
{
    const auto data = CompileOne("7 DLGINIT\nBEGIN\n 1002, 0x403, 4, 0\n \"One\\0\"\n 0\nEND\n", kRtDlgInit, 7);
    EXPECT_EQ(data, Bytes().w(1002).w(0x403).w(4).w(0).raw(std::string_view("One\0", 4)).w(0).v());
}

// An icon file of two images (a DIB with planes and depth left 0 in its directory, and a
// PNG), a cursor and a bitmap with a gap before its pixels, all built here.
struct ImageFiles {
    std::vector<uint8_t> dib;
    std::vector<uint8_t> png;
    std::vector<uint8_t> ico;
    std::vector<uint8_t> cur;
    std::vector<uint8_t> bmp;
    std::vector<uint8_t> pixels;

    ImageFiles()
    {
        Bytes h;
        h.d(40).d(4).d(8).w(1).w(32).d(0).d(0).d(0).d(0).d(0).d(0);
        dib = h.v();
        for (int i = 0; i < 4 * 4 * 4 + 4 * 4; ++i)
            dib.push_back(static_cast<uint8_t>(i * 7));
        png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 1, 2, 3};
        Bytes i;
        i.w(0).w(1).w(2);
        i.b(4).b(4).b(0).b(0).w(0).w(0).d(static_cast<uint32_t>(dib.size())).d(6 + 32);
        i.b(0).b(0).b(0).b(0).w(1).w(32).d(static_cast<uint32_t>(png.size())).d(static_cast<uint32_t>(6 + 32 + dib.size()));
        ico = i.v();
        ico.insert(ico.end(), dib.begin(), dib.end());
        ico.insert(ico.end(), png.begin(), png.end());
        Bytes c;
        c.w(0).w(2).w(1).b(4).b(4).b(0).b(0).w(3).w(2).d(static_cast<uint32_t>(dib.size())).d(22);
        cur = c.v();
        cur.insert(cur.end(), dib.begin(), dib.end());
        pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
        Bytes b;
        b.raw("BM").d(14 + 40 + 6 + 16).w(0).w(0).d(14 + 40 + 6);
        b.d(40).d(2).d(2).w(1).w(24).d(0).d(16).d(0).d(0).d(0).d(0);
        b.raw("\xEE\xEE\xEE\xEE\xEE\xEE");
        bmp = b.v();
        bmp.insert(bmp.end(), pixels.begin(), pixels.end());
    }
};

TEST(RcLayout, IconsCursorsAndBitmapsFromFiles)
{
    const ImageFiles f;
    MemoryFileSystem fs;
    fs.Add("dir/main.rc", "10 ICON \"res\\\\app.ico\"\n11 CURSOR \"RES/Arrow.CUR\"\n12 BITMAP \"res/pic.bmp\"\n"
                          "13 ICON \"res/app.ico\"\n");
    fs.Add("dir/res/app.ico", f.ico);
    fs.Add("dir/res/arrow.cur", f.cur);
    fs.Add("dir/res/pic.bmp", f.bmp);
    const CompileResult r = Compile("dir/main.rc", {}, fs);
    ASSERT_TRUE(r.ok) << Messages(r);

    // Images get IDs in order across the script; each group names its own.
    const Resource* img1 = Find(r, kRtIcon, ResId::Number(1));
    const Resource* img2 = Find(r, kRtIcon, ResId::Number(2));
    ASSERT_TRUE(img1 && img2);
    EXPECT_EQ(img1->data, f.dib);
    EXPECT_EQ(img2->data, f.png);
    const Resource* group = Find(r, kRtGroupIcon, ResId::Number(10));
    ASSERT_NE(group, nullptr);
    const Bytes expectedGroup = Bytes()
                                    .w(0)
                                    .w(1)
                                    .w(2)
                                    .b(4)
                                    .b(4)
                                    .b(0)
                                    .b(0)
                                    .w(1)
                                    .w(32) // planes and depth from the DIB
                                    .d(static_cast<uint32_t>(f.dib.size()))
                                    .w(1)
                                    .b(0)
                                    .b(0)
                                    .b(0)
                                    .b(0)
                                    .w(1)
                                    .w(32)
                                    .d(static_cast<uint32_t>(f.png.size()))
                                    .w(2);
    EXPECT_EQ(group->data, expectedGroup.v());
    const Resource* group2 = Find(r, kRtGroupIcon, ResId::Number(13));
    ASSERT_NE(group2, nullptr);
    EXPECT_EQ(group2->data[6 + 12], 3); // the second icon's images are 3 and 4
    EXPECT_NE(Find(r, kRtIcon, ResId::Number(4)), nullptr);

    const Resource* cursor = Find(r, kRtCursor, ResId::Number(1));
    ASSERT_NE(cursor, nullptr);
    std::vector<uint8_t> expectedCursor = Bytes().w(3).w(2).v();
    expectedCursor.insert(expectedCursor.end(), f.dib.begin(), f.dib.end());
    EXPECT_EQ(cursor->data, expectedCursor);
    const Resource* cursorGroup = Find(r, kRtGroupCursor, ResId::Number(11));
    ASSERT_NE(cursorGroup, nullptr);
    EXPECT_EQ(cursorGroup->data,
        Bytes().w(0).w(2).w(1).w(4).w(8).w(1).w(32).d(static_cast<uint32_t>(f.dib.size() + 4)).w(1).v());

    const Resource* bitmap = Find(r, kRtBitmap, ResId::Number(12));
    ASSERT_NE(bitmap, nullptr);
    std::vector<uint8_t> packed(f.bmp.begin() + 14, f.bmp.begin() + 14 + 40);
    packed.insert(packed.end(), f.pixels.begin(), f.pixels.end()); // the gap is gone
    EXPECT_EQ(bitmap->data, packed);

    ASSERT_FALSE(r.dependencies.empty());
    EXPECT_EQ(r.dependencies.front(), "dir/main.rc");
    EXPECT_NE(std::find(r.dependencies.begin(), r.dependencies.end(), "dir/res/arrow.cur"), r.dependencies.end());
}

TEST(RcLayout, MalformedImageFilesAreRefused)
{
    const ImageFiles f;
    struct Case {
        const char* script;
        std::vector<uint8_t> file;
        const char* message;
    };
    std::vector<uint8_t> truncatedIco(f.ico.begin(), f.ico.begin() + 30);
    std::vector<uint8_t> outside = f.ico;
    outside[6 + 12] = 0xF0; // the first image's offset beyond the file
    std::vector<uint8_t> notBmp = f.bmp;
    notBmp[0] = 'X';
    std::vector<uint8_t> badOffset = f.bmp;
    badOffset[10] = 20; // pixels inside the header
    const Case cases[] = {
        {"1 ICON \"x\"\n", truncatedIco, "directory is truncated"},
        {"1 ICON \"x\"\n", outside, "lies outside it"},
        {"1 CURSOR \"x\"\n", f.ico, "not a cursor file"},
        {"1 BITMAP \"x\"\n", notBmp, "not a bitmap file"},
        {"1 BITMAP \"x\"\n", badOffset, "pixel offset"},
    };
    for (const Case& c : cases) {
        MemoryFileSystem fs;
        fs.Add("main.rc", std::string_view(c.script));
        fs.Add("x", c.file);
        const CompileResult r = Compile("main.rc", {}, fs);
        EXPECT_FALSE(r.ok);
        EXPECT_NE(FirstError(r).find(c.message), std::string::npos) << FirstError(r);
        EXPECT_EQ(FirstError(r).rfind("main.rc(1): error: x: ", 0), 0u) << FirstError(r);
    }
}

} // namespace
} // namespace zyn::rc::test
