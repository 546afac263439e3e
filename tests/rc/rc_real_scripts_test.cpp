// Resource scripts of open-source programs (tests/rc/scripts, each with its licence),
// compiled whole from disk. Every expected value below was worked out by hand from the
// script, its headers and the documented layouts: the dialogs' styles with their
// keyword defaults, the controls' coordinates after macro arithmetic, the version
// strings after stringizing and concatenation.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <fstream>
#include <iterator>

#include "tests/rc/rc_decode_support.h"

namespace zyn::rc::test {
namespace {

constexpr uint16_t kRtBitmap = 2, kRtIcon = 3, kRtDialog = 5, kRtGroupIcon = 14, kRtVersion = 16,
                   kRtManifest = 24;

const std::string kScripts = std::string(ZYN_RC_TEST_DIR) + "/scripts/";

std::vector<uint8_t> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

CompileResult CompileScript(const std::string& script, std::vector<std::string> includeDirs,
    std::vector<std::pair<std::string, std::string>> defines)
{
    DiskFileSystem fs;
    CompileOptions options;
    options.includeDirs = std::move(includeDirs);
    options.defines = std::move(defines);
    return Compile(script, options, fs);
}

const Resource& Get(const CompileResult& r, uint16_t type, const ResId& name, uint16_t lang)
{
    static const Resource missing;
    const Resource* res = Find(r, type, name, lang);
    EXPECT_NE(res, nullptr) << "resource " << type << " missing";
    return res ? *res : missing;
}

// The group directory names one RT_ICON per image of the .ico file, in order, with the
// directory's sizes, and each RT_ICON holds exactly the image's bytes.
void ExpectIconGroup(const CompileResult& r, const ResId& name, uint16_t lang, const std::string& icoPath)
{
    const std::vector<uint8_t> ico = FileBytes(icoPath);
    ASSERT_GE(ico.size(), 6u);
    const auto w16 = [](const std::vector<uint8_t>& b, size_t p) {
        return static_cast<uint16_t>(b[p] | (b[p + 1] << 8));
    };
    const auto d32 = [&](const std::vector<uint8_t>& b, size_t p) {
        return w16(b, p) | (uint32_t{w16(b, p + 2)} << 16);
    };
    const uint16_t count = w16(ico, 4);
    const Resource& group = Get(r, kRtGroupIcon, name, lang);
    ASSERT_EQ(group.data.size(), 6u + 14u * count) << icoPath;
    EXPECT_EQ(w16(group.data, 0), 0);
    EXPECT_EQ(w16(group.data, 2), 1);
    EXPECT_EQ(w16(group.data, 4), count);
    for (uint16_t i = 0; i < count; ++i) {
        const size_t e = 6 + 16 * size_t{i}, g = 6 + 14 * size_t{i};
        EXPECT_EQ(group.data[g], ico[e]) << "width of image " << i;
        EXPECT_EQ(group.data[g + 1], ico[e + 1]) << "height of image " << i;
        EXPECT_EQ(group.data[g + 2], ico[e + 2]) << "colours of image " << i;
        const uint32_t size = d32(ico, e + 8), offset = d32(ico, e + 12);
        EXPECT_EQ(d32(group.data, g + 8), size) << "bytes of image " << i;
        const Resource& image = Get(r, kRtIcon, ResId::Number(w16(group.data, g + 12)), lang);
        ASSERT_LE(size_t{offset} + size, ico.size());
        EXPECT_EQ(image.data, std::vector<uint8_t>(ico.begin() + offset, ico.begin() + offset + size)) << i;
    }
}

struct ControlRow {
    uint32_t style, exStyle;
    int16_t x, y, cx, cy;
    uint32_t id;
    std::wstring cls, text;
};

void ExpectControls(std::span<const DecodedControl> controls, const std::vector<ControlRow>& rows)
{
    ASSERT_EQ(controls.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const DecodedControl& c = controls[i];
        const ControlRow& e = rows[i];
        SCOPED_TRACE("control " + std::to_string(i) + " (ID " + std::to_string(e.id) + ")");
        EXPECT_EQ(c.style, e.style);
        EXPECT_EQ(c.exStyle, e.exStyle);
        EXPECT_EQ(c.x, e.x);
        EXPECT_EQ(c.y, e.y);
        EXPECT_EQ(c.cx, e.cx);
        EXPECT_EQ(c.cy, e.cy);
        EXPECT_EQ(c.id, e.id);
        EXPECT_EQ(c.cls, e.cls);
        EXPECT_EQ(c.text, e.text);
        EXPECT_EQ(c.dataSize, 0);
    }
}

struct VersionRow {
    const wchar_t* key;
    std::wstring value;
    uint16_t units; // wValueLength: the text's UTF-16 units with every terminator
};

// The fixed fields, the one string table under StringFileInfo and the translation pair.
void ExpectVersion(const Resource& res, const std::vector<uint32_t>& fixed, const std::wstring& table,
    const std::vector<VersionRow>& strings, uint16_t language, uint16_t codePage)
{
    const VersionTreeNode root = DecodeVersionNode(res.data, 0);
    EXPECT_EQ(root.length, res.data.size());
    EXPECT_EQ(root.key, L"VS_VERSION_INFO");
    EXPECT_EQ(root.valueLength, 52);
    EXPECT_EQ(root.type, 0);
    std::vector<uint32_t> expected = {0xFEEF04BD, 0x00010000};
    expected.insert(expected.end(), fixed.begin(), fixed.end());
    expected.insert(expected.end(), {0, 0}); // no file date
    EXPECT_EQ(FixedInfo(root), expected);
    ASSERT_EQ(root.children.size(), 2u);
    const VersionTreeNode* sfi = root.Child(L"StringFileInfo");
    ASSERT_NE(sfi, nullptr);
    EXPECT_EQ(sfi->type, 1);
    ASSERT_EQ(sfi->children.size(), 1u);
    const VersionTreeNode& st = sfi->children[0];
    EXPECT_EQ(st.key, table);
    ASSERT_EQ(st.children.size(), strings.size());
    for (size_t i = 0; i < strings.size(); ++i) {
        const VersionTreeNode& v = st.children[i];
        const std::string key(strings[i].key, strings[i].key + std::wcslen(strings[i].key));
        EXPECT_EQ(v.key, strings[i].key) << "string " << i;
        EXPECT_EQ(v.type, 1) << key;
        EXPECT_EQ(v.Text(), strings[i].value) << key;
        EXPECT_EQ(v.valueLength, strings[i].units) << key;
    }
    const VersionTreeNode* vfi = root.Child(L"VarFileInfo");
    ASSERT_NE(vfi, nullptr);
    ASSERT_EQ(vfi->children.size(), 1u);
    const VersionTreeNode& tr = vfi->children[0];
    EXPECT_EQ(tr.key, L"Translation");
    EXPECT_EQ(tr.type, 0);
    EXPECT_EQ(tr.valueLength, 4);
    EXPECT_EQ(tr.value, Bytes().w(language).w(codePage).v());
}

// PuTTYgen: dialogs in classic DIALOG templates, keyword controls with and without
// styles, a statement continued on the next line, a VERSIONINFO whose FILEFLAGS takes
// its terms from conditionals, \251 in a narrow string, a user-defined resource whose
// file name comes unquoted from a -D macro, a manifest.
TEST(RcRealScripts, PuttyGen)
{
    const std::string dir = kScripts + "putty/";
    const CompileResult r = CompileScript(dir + "windows/puttygen.rc", {dir},
        {{"HAVE_WINRESRC_H", ""}, {"EMBEDDED_CHM_FILE", "putty.chm"}});
    ASSERT_TRUE(r.ok) << Messages(r);
    EXPECT_TRUE(r.diagnostics.empty()) << Messages(r);

    EXPECT_EQ(Get(r, 2000, ResId::Number(2000), 0).data, FileBytes(dir + "windows/putty.chm"));
    EXPECT_EQ(Get(r, kRtManifest, ResId::Number(1), 0).data, FileBytes(dir + "windows/puttygen.mft"));
    ExpectIconGroup(r, ResId::Number(200), 0, dir + "windows/puttygen.ico");

    // DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, and DS_SETFONT for the FONT.
    constexpr uint32_t kDialogStyle = 0x80 | 0x80000000 | 0x00C00000 | 0x00080000 | 0x40;
    const DecodedDialog main = DecodeDialog(Get(r, kRtDialog, ResId::Number(201), 0).data);
    EXPECT_FALSE(main.ex);
    EXPECT_EQ(main.style, kDialogStyle);
    EXPECT_EQ(main.cx, 400);
    EXPECT_EQ(main.cy, 270);
    EXPECT_EQ(main.caption, L"PuTTY Key Generator");
    EXPECT_EQ(main.pointSize, 8);
    EXPECT_EQ(main.face, L"MS Shell Dlg");
    EXPECT_TRUE(main.controls.empty());

    const DecodedDialog pass = DecodeDialog(Get(r, kRtDialog, ResId::Number(210), 0).data);
    EXPECT_EQ(pass.caption, L"PuTTYgen: Enter Passphrase");
    EXPECT_EQ(pass.style, kDialogStyle);
    ExpectControls(pass.controls, {
        // CTEXT: WS_CHILD | WS_VISIBLE | WS_GROUP | SS_CENTER
        {0x50020001, 0, 10, 6, 120, 8, 100, L"#130", L"Enter passphrase for key"},
        {0x50020001, 0, 10, 16, 120, 8, 101, L"#130", L""},
        // EDITTEXT: + WS_BORDER | WS_TABSTOP, then ES_PASSWORD | ES_AUTOHSCROLL
        {0x50810000 | 0x20 | 0x80, 0, 10, 26, 120, 12, 102, L"#129", L""},
        {0x50010001, 0, 20, 42, 40, 14, 1, L"#128", L"O&K"},
        {0x50010000, 0, 80, 42, 40, 14, 2, L"#128", L"&Cancel"},
    });

    const DecodedDialog about = DecodeDialog(Get(r, kRtDialog, ResId::Number(213), 0).data);
    EXPECT_EQ(about.x, 140);
    EXPECT_EQ(about.y, 40);
    ASSERT_EQ(about.controls.size(), 4u);
    const DecodedControl& text = about.controls[3];
    EXPECT_EQ(text.style, 0x50810000u | 0x800 | 0x4 | 0x1) << "ES_READONLY | ES_MULTILINE | ES_CENTER";
    EXPECT_EQ(text.exStyle, 0x00020000u) << "WS_EX_STATICEDGE";
    EXPECT_EQ(text.id, 1000u);

    // The radio buttons keep their kind when WS_GROUP is written after them.
    const DecodedDialog params = DecodeDialog(Get(r, kRtDialog, ResId::Number(215), 0).data);
    ASSERT_EQ(params.controls.size(), 18u);
    ExpectControls(std::span(params.controls).first(3),
        {
            {0x50020000, 0, 5, 6, 119, 8, 100, L"#130", L"PPK file version:"},
            {0x50030009, 0, 124, 5, 30, 10, 101, L"#128", L"2"},
            {0x50010009, 0, 154, 5, 30, 10, 102, L"#128", L"3"},
        });
    const DecodedControl& memory = params.controls[7]; // written over two lines
    EXPECT_EQ(memory.text, L"Memory to use for passphrase hash:");
    EXPECT_EQ(memory.id, 107u);
    EXPECT_EQ(memory.x, 5);
    EXPECT_EQ(memory.y, 36);
    EXPECT_EQ(memory.cx, 119);
    EXPECT_EQ(memory.cy, 8);
    EXPECT_EQ(params.controls[17].text, L"&Cancel");

    EXPECT_EQ(DecodeDialog(Get(r, kRtDialog, ResId::Number(216), 0).data).cls, L"PuTTYgenCertInfo");

    // BINARY_VERSION 0,78,0,0; RELEASE is defined, so FILEFLAGS stays 0 and there is
    // no PrivateBuild; HELPVER says the help is embedded.
    ExpectVersion(Get(r, kRtVersion, ResId::Number(1), 0), {0x0000004E, 0, 0x0000004E, 0, 0xB, 0, 4, 1, 0},
        L"080904B0",
        {
            {L"CompanyName", L"Simon Tatham", 13},
            {L"ProductName", L"PuTTY suite", 12},
            {L"FileDescription", L"PuTTY SSH key generation utility", 33},
            {L"InternalName", L"PuTTYgen", 9},
            {L"OriginalFilename", L"PuTTYgen", 9},
            {L"FileVersion", L"Release 0.78 (with embedded help)", 34},
            {L"ProductVersion", L"Release 0.78", 13},
            {L"LegalCopyright", L"Copyright \u00A9 1997-2022 Simon Tatham.", 36},
        },
        0x809, 1200);
}

// Vim: LANGUAGE and #pragma code_page(1252) before everything, icons and bitmaps named by
// strings, version strings built by stringizing macros, "\0" written inside the values,
// and a dialog without a caption.
TEST(RcRealScripts, Vim)
{
    const std::string dir = kScripts + "vim/src/";
    const CompileResult r = CompileScript(dir + "vim.rc", {}, {{"FEAT_GUI_MSWIN", ""}});
    ASSERT_TRUE(r.ok) << Messages(r);
    EXPECT_TRUE(r.diagnostics.empty()) << Messages(r);
    constexpr uint16_t kEnglishUs = 0x0409;
    const std::pair<const wchar_t*, const char*> icons[] = {
        {L"IDR_VIM", "vim.ico"},
        {L"IDR_VIM_ERROR", "vim_error.ico"},
        {L"IDR_VIM_ALERT", "vim_alert.ico"},
        {L"IDR_VIM_INFO", "vim_info.ico"},
        {L"IDR_VIM_QUESTION", "vim_quest.ico"},
    };
    for (const auto& [name, file] : icons) {
        SCOPED_TRACE(file);
        ExpectIconGroup(r, ResId::Name(name), kEnglishUs, dir + file);
    }
    const std::vector<uint8_t> tearoff = FileBytes(dir + "tearoff.bmp");
    EXPECT_EQ(Get(r, kRtBitmap, ResId::Name(L"IDB_TEAROFF"), kEnglishUs).data,
        std::vector<uint8_t>(tearoff.begin() + 14, tearoff.end()));
    EXPECT_NE(Find(r, kRtBitmap, ResId::Number(101), kEnglishUs), nullptr) << "IDR_TOOLBAR1 from gui_w32_rc.h";
    EXPECT_EQ(Get(r, kRtManifest, ResId::Number(1), kEnglishUs).data, FileBytes(dir + "vim.manifest"));

    // 9.0.0 with VS_FF_PRERELEASE (no patch level, no _DEBUG), VOS__WINDOWS32, VFT_APP.
    ExpectVersion(Get(r, kRtVersion, ResId::Number(1), kEnglishUs),
        {0x00090000, 0, 0x00090000, 0, 0x3F, 0x2, 4, 1, 0}, L"040904E4",
        {
            {L"CompanyName", L"Vim Developers", 16},
            {L"FileDescription", L"Vi Improved - A Text Editor", 29},
            {L"FileVersion", L"9.0.0", 7},
            {L"InternalName", L"VIM", 5},
            {L"LegalCopyright", L"Copyright \u00A9 1996", 18},
            {L"LegalTrademarks", L"Vim", 5},
            {L"OriginalFilename", L"gvim.exe", 10},
            {L"ProductName", L"Vim", 5},
            {L"ProductVersion", L"9.0.0", 7},
        },
        0x409, 0x4E4);

    const DecodedDialog print = DecodeDialog(Get(r, kRtDialog, ResId::Name(L"PRINTDLGBOX"), kEnglishUs).data);
    // DS_MODALFRAME | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_SETFONT
    EXPECT_EQ(print.style, 0x90C800C0u);
    EXPECT_EQ(print.x, 115);
    EXPECT_EQ(print.y, 63);
    EXPECT_EQ(print.caption, L"");
    EXPECT_EQ(print.face, L"Helv");
    ExpectControls(print.controls, {
        {0x50010001, 0, 85, 60, 40, 14, 2, L"#128", L"Cancel"},
        {0x50020001, 0, 23, 15, 157, 9, 401, L"#130", L"Printing"},
        {0x50020001, 0, 23, 25, 157, 9, 402, L"#130", L" "},
        {0x50020001, 0, 24, 38, 157, 9, 403, L"#130", L"Initializing..."},
        {0x50000007, 0, 19, 9, 170, 47, 400, L"#128", L""},
    });
}

// xz: the version string comes out of a function-like macro written over three lines
// that stringizes each part (#major "." #minor "." #patch) and appends empty strings;
// names and descriptions are concatenations of macros; #error guards the header.
TEST(RcRealScripts, Xz)
{
    const std::string dir = kScripts + "xz/src/";
    const CompileResult r = CompileScript(dir + "xz/xz_w32res.rc", {dir + "liblzma/api", dir + "common"},
        {{"PACKAGE_NAME", "\"XZ Utils\""}, {"PACKAGE_URL", "\"https://tukaani.org/xz/\""}});
    ASSERT_TRUE(r.ok) << Messages(r);
    ASSERT_EQ(r.resources.size(), 1u);
    // 5,4,1,0; VS_FFI_FILEFLAGSMASK; VOS_NT_WINDOWS32; VFT_APP.
    ExpectVersion(Get(r, kRtVersion, ResId::Number(1), 0x0409), {0x00050004, 0x00010000, 0x00050004, 0x00010000, 0x3F,
                                                                    0, 0x00040004, 1, 0},
        L"040904b0",
        {
            {L"CompanyName", L"The Tukaani Project <https://tukaani.org/>", 43},
            {L"FileDescription", L"xz data compression tool for .xz and .lzma files", 49},
            {L"FileVersion", L"5.4.1", 6},
            {L"InternalName", L"xz", 3},
            {L"OriginalFilename", L"xz.exe", 7},
            {L"ProductName", L"XZ Utils <https://tukaani.org/xz/>", 35},
            {L"ProductVersion", L"5.4.1", 6},
        },
        0x409, 1200);
}

// The 7-Zip installer: the whole VERSIONINFO (with a LANGUAGE before it) is one macro
// call; the dialog's size and every coordinate are macro arithmetic; a CONTROL names
// the progress bar's class by string; the manifest's type is the number 24 with memory
// options.
TEST(RcRealScripts, SevenZipInstaller)
{
    const std::string dir = kScripts + "7zip/C/";
    const CompileResult r = CompileScript(dir + "Util/7zipInstall/resource.rc", {}, {});
    ASSERT_TRUE(r.ok) << Messages(r);
    constexpr uint16_t kLang = 0x0409; // LANGUAGE 9, 1 inside the macro
    ExpectVersion(Get(r, kRtVersion, ResId::Number(1), kLang),
        {0x001A0001, 0, 0x001A0001, 0, 0x3F, 0, 0x00040004, 1, 0},
        L"040904b0",
        {
            {L"CompanyName", L"Igor Pavlov", 12},
            {L"FileDescription", L"7-Zip Installer", 16},
            {L"FileVersion", L"26.01", 6},
            {L"InternalName", L"7zipInstall", 12},
            {L"LegalCopyright", L"Copyright (c) 1999-2026 Igor Pavlov", 36},
            {L"OriginalFilename", L"7zipInstall.exe", 16},
            {L"ProductName", L"7-Zip", 6},
            {L"ProductVersion", L"26.01", 6},
        },
        0x409, 1200);
    ExpectIconGroup(r, ResId::Number(1), kLang, dir + "Util/7zipInstall/7zip.ico");
    EXPECT_EQ(Get(r, kRtManifest, ResId::Number(1), kLang).data,
        FileBytes(dir + "Util/7zipInstall/7zipInstall.manifest"));

    // xs = 184 + 8 + 8 = 200, ys = 96 + 8 + 8 = 112; bx1 = 200 - 8 - 64 = 128,
    // bx2 = 128 - 8 - 64 = 56, by = 112 - 8 - 16 = 88.
    const DecodedDialog d = DecodeDialog(Get(r, kRtDialog, ResId::Number(100), kLang).data);
    // DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_SETFONT
    EXPECT_EQ(d.style, 0x90C80840u);
    EXPECT_EQ(d.cx, 200);
    EXPECT_EQ(d.cy, 112);
    EXPECT_EQ(d.caption, L"Install 7-Zip");
    ExpectControls(d.controls, {
        {0x50020000, 0, 8, 8, 184, 8, 110, L"#130", L"Destination folder:"},
        {0x50810080, 0, 8, 21, 152, 14, 111, L"#129", L""},
        {0x50030000, 0, 172, 20, 20, 16, 112, L"#128", L"..."},
        {0x50020000, 0, 8, 50, 184, 8, 113, L"#130", L""},
        {0x50800000, 0, 8, 64, 184, 10, 114, L"msctls_progress32", L""},
        {0x50030001, 0, 56, 88, 64, 16, 1, L"#128", L"&Install"},
        {0x50010000, 0, 128, 88, 64, 16, 2, L"#128", L"Cancel"},
    });
}

} // namespace
} // namespace zyn::rc::test
