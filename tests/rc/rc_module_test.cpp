// The test script (rc_test.rc, every construct) built by zyn_add_resources into this
// program, read back through the resource API field by field; and the resource chain with
// the library's "ZynCommonResources" module.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "app/zyncmn_resources.h"
#include "platform/base/cstring.h"
#include "platform/base/lasterror.h"
#include "platform/base/module.h"
#include "platform/base/resource.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/wingdi.h"
#include "resources/resource.h"
#include "tests/rc/rc_test_ids.h"
#include "tests/rc/rc_test_support.h"

namespace zyn::rc::test {
namespace {

// The class library's command IDs the script uses (from afxres.h).
constexpr uint16_t kFileNew = 0xE100, kFileOpen = 0xE101, kEditCopy = 0xE122, kEditCut = 0xE123,
                   kAppExit = 0xE141, kHelp = 0xE146, kViewToolbar = 0xE800;

std::span<const uint8_t> Bytes_(HMODULE module, LPCWSTR type, LPCWSTR name)
{
    const HRSRC res = FindResourceW(module, name, type);
    if (!res) {
        ADD_FAILURE() << "resource not found, error " << GetLastError();
        return {};
    }
    const HGLOBAL data = LoadResource(module, res);
    return std::span<const uint8_t>(static_cast<const uint8_t*>(LockResource(data)), SizeofResource(module, res));
}

std::span<const uint8_t> Exe(LPCWSTR type, WORD name) { return Bytes_(nullptr, type, MAKEINTRESOURCE(name)); }

std::vector<uint8_t> ReadDataFile(const char* name)
{
    std::ifstream in(std::string(ZYN_RC_TEST_DIR) + "/data/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

struct MenuNode {
    uint32_t flags = 0; // MENU option flags, or MENUEX type
    uint32_t state = 0;
    uint32_t id = 0;
    std::wstring text;
    uint32_t helpId = 0;
    std::vector<MenuNode> children;
};

std::vector<MenuNode> ReadMenu(Reader& r)
{
    std::vector<MenuNode> items;
    for (;;) {
        MenuNode n;
        n.flags = r.w();
        if (!(n.flags & 0x10))
            n.id = r.w();
        n.text = r.s();
        if (n.flags & 0x10)
            n.children = ReadMenu(r);
        items.push_back(std::move(n));
        if (items.back().flags & 0x80 || r.atEnd())
            return items;
    }
}

std::vector<MenuNode> ReadMenuEx(Reader& r)
{
    std::vector<MenuNode> items;
    for (;;) {
        MenuNode n;
        n.flags = r.d();
        n.state = r.d();
        n.id = r.d();
        const uint16_t info = r.w();
        n.text = r.s();
        r.align4();
        if (info & 0x01) {
            n.helpId = r.d();
            n.children = ReadMenuEx(r);
        }
        items.push_back(std::move(n));
        if (info & 0x80 || r.atEnd())
            return items;
    }
}

TEST(RcModule, MenuReadsBack)
{
    Reader r(Exe(RT_MENU, IDR_MAIN));
    EXPECT_EQ(r.w(), 0);
    EXPECT_EQ(r.w(), 0);
    const auto top = ReadMenu(r);
    EXPECT_TRUE(r.atEnd());
    ASSERT_EQ(top.size(), 3u);
    EXPECT_EQ(top[0].text, L"&File");
    EXPECT_EQ(top[0].flags, 0x10u);
    ASSERT_EQ(top[0].children.size(), 3u);
    EXPECT_EQ(top[0].children[0].text, L"&Open...\tCtrl+O");
    EXPECT_EQ(top[0].children[0].id, kFileOpen);
    EXPECT_EQ(top[0].children[1].flags, 0u);
    EXPECT_EQ(top[0].children[1].id, 0u);
    EXPECT_EQ(top[0].children[1].text, L"");
    EXPECT_EQ(top[0].children[2].flags, 0x80u);
    EXPECT_EQ(top[0].children[2].id, kAppExit);
    EXPECT_EQ(top[1].flags, 0x11u) << "GRAYED popup";
    ASSERT_EQ(top[1].children.size(), 5u);
    const uint32_t flags[] = {0x08, 0x02, 0x40, 0x20, 0x90};
    const uint32_t ids[] = {kEditCopy, IDM_INACTIVE, IDM_BREAK, IDM_BARBREAK, 0};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(top[1].children[i].flags, flags[i]) << i;
        EXPECT_EQ(top[1].children[i].id, ids[i]) << i;
    }
    ASSERT_EQ(top[1].children[4].children.size(), 1u);
    EXPECT_EQ(top[1].children[4].children[0].id, static_cast<uint32_t>(IDM_DEEP));
    EXPECT_EQ(top[1].children[4].children[0].flags, 0x80u);
    EXPECT_EQ(top[2].flags, 0x4080u) << "HELP on the last item";
    EXPECT_EQ(top[2].id, kHelp);
}

TEST(RcModule, MenuExReadsBack)
{
    Reader r(Exe(RT_MENU, IDR_EX));
    EXPECT_EQ(r.w(), 1);
    EXPECT_EQ(r.w(), 4);
    EXPECT_EQ(r.d(), 0u);
    const auto top = ReadMenuEx(r);
    EXPECT_TRUE(r.atEnd());
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0].text, L"&View");
    EXPECT_EQ(top[0].id, static_cast<uint32_t>(IDM_VIEW_POPUP));
    EXPECT_EQ(top[0].helpId, 77u);
    ASSERT_EQ(top[0].children.size(), 3u);
    EXPECT_EQ(top[0].children[0].id, kViewToolbar);
    EXPECT_EQ(top[0].children[0].state, 0x8u);
    EXPECT_EQ(top[0].children[1].flags, 0x800u);
    EXPECT_EQ(top[0].children[2].flags, 0x200u);
    EXPECT_EQ(top[0].children[2].state, 0x1008u);
    EXPECT_EQ(top[1].flags, 0x4000u);
    EXPECT_EQ(top[1].id, static_cast<uint32_t>(IDM_RIGHT));
}

struct ControlFields {
    uint32_t style, exStyle;
    uint32_t id;
    std::wstring cls, text;
};

TEST(RcModule, DialogReadsBack)
{
    Reader r(Exe(RT_DIALOG, IDD_ABOUT));
    EXPECT_EQ(r.d(), 0x80C800C0u) << "DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT";
    EXPECT_EQ(r.d(), 0u);
    const uint16_t count = r.w();
    EXPECT_EQ(r.i(), 10);
    EXPECT_EQ(r.i(), 20);
    EXPECT_EQ(r.i(), 200);
    EXPECT_EQ(r.i(), 100);
    EXPECT_EQ(r.nameOrOrd(), L"#101");
    EXPECT_EQ(r.nameOrOrd(), L"MyDlgClass");
    EXPECT_EQ(r.s(), L"About");
    EXPECT_EQ(r.w(), 8);
    EXPECT_EQ(r.s(), L"MS Shell Dlg");
    const ControlFields expected[] = {
        {0x50020000, 0, 0xFFFF, L"#130", L"Left"},
        {0x50020082, 0, 0xFFFF, L"#130", L"Right"},
        {0x50000001, 0, 0xFFFF, L"#130", L"Center"},
        {0x50010000, 0, 2, L"#128", L"Push"},
        {0x50030001, 0x20000, 1, L"#128", L"OK"},
        {0x50810080, 0, IDC_EDIT, L"#129", L""},
        {0x50210003, 0, IDC_COMBO, L"#133", L""},
        {0x50800001, 0, IDC_LIST, L"#131", L""},
        {0x50000007, 0, 0xFFFF, L"#128", L"Group"},
        {0x50010002, 0, IDC_CHECK, L"#128", L"Check"},
        {0x50010003, 0, IDC_CHECK, L"#128", L"Auto"},
        {0x50010004, 0, IDC_RADIO1, L"#128", L"Radio"},
        {0x50010009, 0, IDC_RADIO1, L"#128", L"AutoRadio"},
        {0x50000001, 0, IDC_SCROLL, L"#132", L""},
        {0x50000003, 0, 0xFFFF, L"#130", L"#105"},
        {0x50010010, 0, IDC_CUSTOM, L"MyControl", L"Custom"},
        {0x40000003, 0x200, IDC_CUSTOM, L"#128", L""},
    };
    ASSERT_EQ(count, std::size(expected));
    for (const ControlFields& c : expected) {
        r.align4();
        EXPECT_EQ(r.d(), c.style) << c.text;
        EXPECT_EQ(r.d(), c.exStyle) << c.text;
        EXPECT_EQ(r.i(), 1);
        EXPECT_EQ(r.i(), 2);
        const int16_t cx = r.i(), cy = r.i();
        EXPECT_EQ(cx, c.cls == L"#130" && c.text == L"#105" ? 0 : 3) << "ICON sizes default to 0";
        EXPECT_EQ(cy, c.cls == L"#130" && c.text == L"#105" ? 0 : 4);
        EXPECT_EQ(r.w(), c.id) << c.text;
        EXPECT_EQ(r.nameOrOrd(), c.cls);
        EXPECT_EQ(r.nameOrOrd(), c.text);
        EXPECT_EQ(r.w(), 0) << "no creation data";
    }
    EXPECT_TRUE(r.atEnd());
}

TEST(RcModule, DialogExReadsBack)
{
    Reader r(Exe(RT_DIALOG, IDD_EX));
    EXPECT_EQ(r.w(), 1);
    EXPECT_EQ(r.w(), 0xFFFF);
    EXPECT_EQ(r.d(), 1234u);
    EXPECT_EQ(r.d(), 0x80u);
    EXPECT_EQ(r.d(), 0x40000040u);
    EXPECT_EQ(r.w(), 3);
    for (int i = 0; i < 4; ++i)
        r.w();
    EXPECT_EQ(r.nameOrOrd(), L"");
    EXPECT_EQ(r.nameOrOrd(), L"");
    EXPECT_EQ(r.s(), L"Extended");
    EXPECT_EQ(r.w(), 9);
    EXPECT_EQ(r.w(), 700);
    EXPECT_EQ(r.b(), 1);
    EXPECT_EQ(r.b(), 0xCC);
    EXPECT_EQ(r.s(), L"Segoe UI");
    struct Ex {
        uint32_t helpId, exStyle, style, id;
        std::wstring cls, text;
        std::vector<uint8_t> data;
    };
    const Ex expected[] = {
        {99, 0x200, 0x50000001, IDC_CUSTOM, L"SysListView32", L"Data", Bytes().w(1).d(2).raw("ab").v()},
        {55, 0, 0x50810080, IDC_EDIT, L"#129", L"", {}},
        {0, 0, 0x50010001, IDC_COMBO, L"#133", L"", {}},
    };
    for (const Ex& c : expected) {
        r.align4();
        EXPECT_EQ(r.d(), c.helpId);
        EXPECT_EQ(r.d(), c.exStyle);
        EXPECT_EQ(r.d(), c.style);
        for (int i = 0; i < 4; ++i)
            r.w();
        EXPECT_EQ(r.d(), c.id);
        EXPECT_EQ(r.nameOrOrd(), c.cls);
        EXPECT_EQ(r.nameOrOrd(), c.text);
        const uint16_t extra = r.w();
        ASSERT_EQ(extra, c.data.size());
        std::vector<uint8_t> data;
        for (uint16_t i = 0; i < extra; ++i)
            data.push_back(r.b());
        EXPECT_EQ(data, c.data);
    }
    EXPECT_TRUE(r.atEnd());
}

TEST(RcModule, StringsByLanguage)
{
    wchar_t buf[64];
    ASSERT_EQ(LoadStringW(nullptr, IDS_SECOND, buf, 64), 23);
    EXPECT_EQ(std::wstring(buf), L"Tab\there \"quoted\" AA \u00e9\U0001F600");
    EXPECT_EQ(base::LoadResourceString(nullptr, IDS_LAST), L"last");
    EXPECT_EQ(base::LoadResourceString(nullptr, IDS_MACRO), L"macro");

    struct Lang {
        LANGID preferred;
        const wchar_t* hello;
    };
    const Lang langs[] = {
        {MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), L"Hello"},
        {MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), L"Hallo"},
        {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK), L"Hello (UK)"},
        {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), L"Hello (UK)"}, // same primary language
        {MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), L"Hello"},             // the neutral one
    };
    for (const Lang& l : langs) {
        base::SetPreferredResourceLanguage(l.preferred);
        EXPECT_EQ(base::LoadResourceString(nullptr, IDS_HELLO), l.hello) << l.preferred;
    }
    base::SetPreferredResourceLanguage(MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
}

TEST(RcModule, AcceleratorsToolbarAndRawData)
{
    const auto accel = Exe(RT_ACCELERATOR, IDR_MAIN);
    const Bytes expectedAccel = Bytes()
                                    .w(0x00).w(3).w(kEditCopy).w(0)
                                    .w(0x10).w('a').w(kEditCut).w(0)
                                    .w(0x0D).w('N').w(kFileNew).w(0)
                                    .w(0x03).w(0x70).w(kHelp).w(0)
                                    .w(0x80).w(65).w(CMD(1)).w(0);
    EXPECT_EQ(std::vector<uint8_t>(accel.begin(), accel.end()), expectedAccel.v());

    const auto toolbar = Exe(RT_TOOLBAR, IDR_MAIN);
    EXPECT_EQ(std::vector<uint8_t>(toolbar.begin(), toolbar.end()),
        Bytes().w(1).w(16).w(15).w(4).w(kFileNew).w(kFileOpen).w(0).w(CMD(2)).v());

    const auto blob = Exe(RT_RCDATA, IDR_BLOB);
    EXPECT_EQ(std::vector<uint8_t>(blob.begin(), blob.end()), ReadDataFile("blob.bin"));
    const auto data = Exe(RT_RCDATA, IDR_DATA);
    EXPECT_EQ(std::vector<uint8_t>(data.begin(), data.end()),
        Bytes().w(1).d(2).w(0xFFFF).d(0x12345678).raw("ab").t(u"\u263A").w(65).v());

    const auto dlgInit = Exe(RT_DLGINIT, IDD_EX);
    EXPECT_EQ(std::vector<uint8_t>(dlgInit.begin(), dlgInit.end()),
        Bytes().w(IDC_COMBO).w(0x403).w(4).w(0).raw(std::string_view("One\0", 4)).w(0).v());

    // Names and types by string, matched without regard to case.
    const auto custom = Bytes_(nullptr, L"customtype", L"NamedRes");
    EXPECT_EQ(std::vector<uint8_t>(custom.begin(), custom.end()), Bytes().w(0x1234).v());
    const auto byString = Bytes_(nullptr, MAKEINTRESOURCE(300), L"strname");
    EXPECT_EQ(std::vector<uint8_t>(byString.begin(), byString.end()), ReadDataFile("blob.bin"));
}

TEST(RcModule, VersionInfoReadsBack)
{
    // The root (to 40), VS_FIXEDFILEINFO (40..92), "VarFileInfo" (92..160) holding
    // "Translation" (124..160).
    const auto version = Exe(RT_VERSION, 1);
    Bytes expected;
    expected.w(160).w(52).w(0).s(u"VS_VERSION_INFO").pad4().d(0xFEEF04BD).d(0x00010000).d(0x00020003);
    for (int i = 0; i < 10; ++i)
        expected.d(0);
    expected.w(68).w(0).w(1).s(u"VarFileInfo").pad4().w(36).w(4).w(0).s(u"Translation").pad4().w(0x409).w(1200);
    EXPECT_EQ(std::vector<uint8_t>(version.begin(), version.end()), expected.v());
}

TEST(RcModule, ImagesAsTheImageLoadersReadThem)
{
    const auto ico = ReadDataFile("two.ico");
    ASSERT_GE(ico.size(), 6u + 32);
    // The icon file's own directory: image 1 a DIB, image 2 a PNG.
    const std::vector<uint8_t> dib(ico.begin() + Le32(ico, 6 + 12), ico.begin() + Le32(ico, 6 + 12) + Le32(ico, 6 + 8));
    const std::vector<uint8_t> png(ico.begin() + Le32(ico, 22 + 12), ico.begin() + Le32(ico, 22 + 12) + Le32(ico, 22 + 8));
    const auto i1 = Exe(RT_ICON, 1), i2 = Exe(RT_ICON, 2);
    EXPECT_EQ(std::vector<uint8_t>(i1.begin(), i1.end()), dib);
    EXPECT_EQ(std::vector<uint8_t>(i2.begin(), i2.end()), png);
    const auto group = Exe(RT_GROUP_ICON, IDI_APP);
    EXPECT_EQ(std::vector<uint8_t>(group.begin(), group.end()),
        Bytes()
            .w(0).w(1).w(2)
            .b(4).b(4).b(0).b(0).w(1).w(32).d(static_cast<uint32_t>(dib.size())).w(1)
            .b(0).b(0).b(0).b(0).w(1).w(32).d(static_cast<uint32_t>(png.size())).w(2)
            .v());

    const auto cur = ReadDataFile("arrow.cur");
    const std::vector<uint8_t> cdib(cur.begin() + 22, cur.end());
    const auto c1 = Exe(RT_CURSOR, 1);
    std::vector<uint8_t> expectedCursor = Bytes().w(1).w(2).v(); // the hot spot from the file
    expectedCursor.insert(expectedCursor.end(), cdib.begin(), cdib.end());
    EXPECT_EQ(std::vector<uint8_t>(c1.begin(), c1.end()), expectedCursor);
    const auto cgroup = Exe(RT_GROUP_CURSOR, IDC_ARROW_CUR);
    EXPECT_EQ(std::vector<uint8_t>(cgroup.begin(), cgroup.end()),
        Bytes().w(0).w(2).w(1).w(4).w(8).w(1).w(32).d(static_cast<uint32_t>(cdib.size() + 4)).w(1).v());

    const auto bmp = ReadDataFile("gap.bmp");
    const uint32_t offBits = Le32(bmp, 10);
    std::vector<uint8_t> packed(bmp.begin() + 14, bmp.begin() + 14 + 40);
    packed.insert(packed.end(), bmp.begin() + offBits, bmp.end());
    const auto b = Exe(RT_BITMAP, IDB_PIC);
    EXPECT_EQ(std::vector<uint8_t>(b.begin(), b.end()), packed) << "a packed DIB: header, then the pixels";
}

// The image loaders read what the compiler wrote.
TEST(RcModule, ImageLoadersReadTheCompiledImages)
{
    const HBITMAP bmp = LoadBitmapW(nullptr, MAKEINTRESOURCE(IDB_PIC));
    ASSERT_NE(bmp, nullptr) << GetLastError();
    BITMAP bm{};
    ASSERT_EQ(GetObjectW(bmp, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 2);
    EXPECT_EQ(bm.bmHeight, 2);
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, bmp);
    // Bottom-up rows of blue, green, red bytes: the first stored row is the lower one.
    EXPECT_EQ(GetPixel(dc, 0, 1), RGB(3, 2, 1));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(6, 5, 4));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(9, 8, 7));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bmp);

    const HICON icon = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCE(IDI_APP), IMAGE_ICON, 4, 4, 0));
    ASSERT_NE(icon, nullptr) << GetLastError();
    ICONINFO ii{};
    ASSERT_TRUE(GetIconInfo(icon, &ii));
    EXPECT_TRUE(ii.fIcon);
    DeleteObject(ii.hbmMask);
    DeleteObject(ii.hbmColor);
    DestroyIcon(icon);

    const HCURSOR cursor = static_cast<HCURSOR>(LoadImageW(nullptr, MAKEINTRESOURCE(IDC_ARROW_CUR), IMAGE_CURSOR, 4, 4, 0));
    ASSERT_NE(cursor, nullptr) << GetLastError();
    ASSERT_TRUE(GetIconInfo(cursor, &ii));
    EXPECT_FALSE(ii.fIcon);
    EXPECT_EQ(ii.xHotspot, 1u);
    EXPECT_EQ(ii.yHotspot, 2u);
    DeleteObject(ii.hbmMask);
    DeleteObject(ii.hbmColor);
    DestroyCursor(cursor);
}

TEST(RcModule, CommonResourcesInTheChain)
{
    const HMODULE common = GetModuleHandleW(L"ZynCommonResources");
    ASSERT_NE(common, nullptr) << "the library registers it at load";
    const HMODULE testChain = GetModuleHandleW(L"ZynRcTestChain.dll");
    ASSERT_NE(testChain, nullptr);
    const auto chain = base::ResourceChain::Modules();
    const auto pc = std::find(chain.begin(), chain.end(), common);
    const auto pt = std::find(chain.begin(), chain.end(), testChain);
    ASSERT_NE(pc, chain.end());
    ASSERT_NE(pt, chain.end());
    EXPECT_LT(pc, pt) << "the library loads before the program's own initialisers run";

    CString s;
    ASSERT_TRUE(s.LoadString(IDS_ZYN_COMMON_RESOURCES));
    EXPECT_EQ(s, L"ZynCmn common resources") << "the first chain module holding it answers";
    EXPECT_EQ(AfxFindStringResourceHandle(IDS_ZYN_COMMON_RESOURCES), common);
    ASSERT_TRUE(s.LoadString(IDS_HELLO));
    EXPECT_EQ(s, L"Hello") << "the executable is searched before the chain";
    ASSERT_TRUE(s.LoadString(2000));
    EXPECT_EQ(s, L"Only in the chain module");
    EXPECT_FALSE(s.LoadString(2001));
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(base::LoadResourceString(common, IDS_ZYN_COMMON_RESOURCES), L"ZynCmn common resources");
}

TEST(RcModule, CommonResourcesRejoinTheChain)
{
    const HMODULE common = GetModuleHandleW(L"ZynCommonResources");
    const HMODULE testChain = GetModuleHandleW(L"ZynRcTestChain");
    EXPECT_EQ(zyn::resources::RegisterZynCommonResources(), common) << "registering again changes nothing";
    const size_t before = base::ResourceChain::Modules().size();
    EXPECT_EQ(zyn::resources::RegisterZynCommonResources(), common);
    EXPECT_EQ(base::ResourceChain::Modules().size(), before);

    base::ResourceChain::Clear();
    CString s;
    EXPECT_FALSE(s.LoadString(IDS_ZYN_COMMON_RESOURCES));
    EXPECT_EQ(zyn::resources::RegisterZynCommonResources(), common);
    EXPECT_TRUE(s.LoadString(IDS_ZYN_COMMON_RESOURCES));
    EXPECT_TRUE(base::ResourceChain::AddToChain(testChain)); // as it was
}

} // namespace
} // namespace zyn::rc::test
