// Dialog templates: what zyn-rc writes reads back field by field, malformed templates are
// refused wherever they come from, and dialog units follow the documented formula.
#include <cstring>

#include "platform/base/globalmem.h"
#include "platform/base/lasterror.h"
#include "platform/base/resource.h"
#include "platform/user/dialog_template.h"
#include "tests/support/font_extent.h"
#include "tests/user/dialog_test_ids.h"
#include "tests/user/dialog_test_support.h"

namespace zyn::test {
namespace {

using user::ParseDialogTemplate;

constexpr std::string_view kExtended = R"(
300 DIALOGEX 1, 2, 150, 60, 77
STYLE DS_SETFONT | WS_POPUP | WS_CAPTION
EXSTYLE WS_EX_TOOLWINDOW
MENU 400
CLASS "MyDialogClass"
CAPTION "Pr\xe9f 𝄞"
FONT 9, "MS Shell Dlg", 700, 1, 238
BEGIN
    CONTROL "&Go", 10, "Button", BS_PUSHBUTTON | WS_TABSTOP, 3, 4, 50, 14, WS_EX_CLIENTEDGE, 55
    CONTROL 7, 11, "Static", SS_ICON, 5, 6, 20, 20
    CONTROL "big", 70000, "Button", BS_CHECKBOX, 0, 0, 1, 1
    CONTROL "data", 12, "TestEdit", WS_TABSTOP, -1, -2, 10, 10
    BEGIN
        0x1234, 0x5678
    END
END
)";

TEST(DialogTemplate, ExtendedTemplateReadsBackEveryField)
{
    const auto bytes = CompileDialog(kExtended, 300);
    std::string error;
    const auto t = ParseDialogTemplate(bytes, &error);
    ASSERT_TRUE(t) << error;
    EXPECT_TRUE(t->extended);
    EXPECT_EQ(t->helpId, 77u);
    EXPECT_EQ(t->style, DS_SETFONT | WS_POPUP | WS_CAPTION);
    EXPECT_EQ(t->exStyle, WS_EX_TOOLWINDOW);
    EXPECT_EQ((std::vector<int>{t->x, t->y, t->cx, t->cy}), (std::vector<int>{1, 2, 150, 60}));
    EXPECT_EQ(t->menu.ordinal, 400);
    EXPECT_EQ(t->cls.name, L"MyDialogClass");
    EXPECT_EQ(t->title, L"Pr\u00e9f \U0001D11E");
    EXPECT_EQ(t->pointSize, 9);
    EXPECT_EQ(t->weight, 700);
    EXPECT_EQ(t->italic, 1);
    EXPECT_EQ(t->charset, 238);
    EXPECT_EQ(t->face, L"MS Shell Dlg");
    ASSERT_EQ(t->items.size(), 4u);
    const auto& go = t->items[0];
    EXPECT_EQ(go.cls.ordinal, 0x80);
    EXPECT_EQ(go.title.name, L"&Go");
    EXPECT_EQ(go.id, 10u);
    EXPECT_EQ(go.style, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP);
    EXPECT_EQ(go.exStyle, WS_EX_CLIENTEDGE);
    EXPECT_EQ(go.helpId, 55u);
    EXPECT_EQ((std::vector<int>{go.x, go.y, go.cx, go.cy}), (std::vector<int>{3, 4, 50, 14}));
    EXPECT_EQ(t->items[1].cls.ordinal, 0x82);
    EXPECT_EQ(t->items[1].title.ordinal, 7);
    EXPECT_EQ(t->items[2].id, 70000u); // extended items have 32-bit IDs
    const auto& data = t->items[3];
    EXPECT_EQ(data.cls.name, L"TestEdit");
    EXPECT_EQ(data.x, -1);
    // The creation data from its size word: 4 bytes follow it.
    EXPECT_EQ(std::vector<uint8_t>(data.creationData.begin(), data.creationData.end()),
        (std::vector<uint8_t>{4, 0, 0x34, 0x12, 0x78, 0x56}));
}

// A classic template built by hand: its creation data size counts the size word itself.
std::vector<uint8_t> ClassicWithData(uint16_t dataSize, size_t dataBytes)
{
    std::vector<uint8_t> b;
    auto w = [&](uint32_t v) {
        b.push_back(static_cast<uint8_t>(v));
        b.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto d = [&](uint32_t v) {
        w(v & 0xFFFF);
        w(v >> 16);
    };
    d(WS_POPUP); d(0); w(1);           // style, exStyle, one item
    w(0); w(0); w(100); w(50);         // rectangle
    w(0); w(0); w(L'T'); w(0);         // no menu, no class, title "T"
    while (b.size() % 4)
        b.push_back(0);
    d(WS_CHILD | WS_VISIBLE); d(0);    // item style, exStyle
    w(1); w(2); w(30); w(10); w(42);   // rectangle, ID
    w(0xFFFF); w(0x80); w(0);          // Button, empty title
    w(dataSize);
    for (size_t i = 0; i < dataBytes; ++i)
        b.push_back(static_cast<uint8_t>(0xA0 + i));
    return b;
}

TEST(DialogTemplate, ClassicTemplatesFromTheProgramsResourcesAndByHand)
{
    HRSRC r = FindResourceW(nullptr, MAKEINTRESOURCE(IDD_CLASSIC), RT_DIALOG);
    ASSERT_NE(r, nullptr);
    const auto* p = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, r)));
    const auto t = ParseDialogTemplate({p, SizeofResource(nullptr, r)});
    ASSERT_TRUE(t);
    EXPECT_FALSE(t->extended);
    EXPECT_TRUE(t->style & DS_SETFONT); // a FONT statement sets it
    EXPECT_EQ(t->pointSize, 8);
    EXPECT_EQ(t->face, L"MS Sans Serif");
    EXPECT_EQ(t->title, L"Classic");
    ASSERT_EQ(t->items.size(), 3u);
    EXPECT_EQ(t->items[1].id, static_cast<DWORD>(IDOK));

    const auto hand = ClassicWithData(6, 4);
    const auto h = ParseDialogTemplate(hand);
    ASSERT_TRUE(h);
    EXPECT_EQ(h->items[0].id, 42u);
    EXPECT_EQ(h->items[0].creationData.size(), 6u);
    EXPECT_EQ(h->items[0].creationData[2], 0xA0);
}

struct Malformed {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* reason;
};

TEST(DialogTemplate, MalformedTemplatesAreRefusedWithTheirReason)
{
    auto ex = CompileDialog(kExtended, 300);
    auto version = ex;
    version[0] = 2;
    auto count = ex;
    count[16] = 0x60; // 0xEA60 items
    count[17] = 0xEA;
    std::vector<uint8_t> title = {0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 'A', 0};
    std::vector<uint8_t> menuOrdinal = {0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0};
    auto noClass = ClassicWithData(0, 0);
    noClass[noClass.size() - 8] = 0; // the item's class field: 0xFFFF -> 0, the ordinal becomes the title
    noClass[noClass.size() - 7] = 0;
    const std::vector<Malformed> rows = {
        {"extended version 2", version, "version 2"},
        {"more items than bytes", count, "items announced"},
        {"title without terminator", title, "the title"},
        {"menu ordinal 0", menuOrdinal, "ordinal 0"},
        {"item without class", noClass, "without a class"},
        {"classic data shorter than its size word", ClassicWithData(1, 0), "shorter than its size word"},
        {"classic data size beyond the end", ClassicWithData(9, 4), "creation data"},
    };
    for (const Malformed& row : rows) {
        std::string error;
        EXPECT_FALSE(ParseDialogTemplate(row.bytes, &error)) << row.name;
        EXPECT_NE(error.find(row.reason), std::string::npos) << row.name << ": " << error;
    }
    // Every proper prefix of a valid template lacks something.
    for (const auto& whole : {ex, ClassicWithData(6, 4)})
        for (size_t n = 0; n < whole.size(); ++n)
            EXPECT_FALSE(ParseDialogTemplate(std::span(whole.data(), n))) << "prefix of " << n << " bytes";
}

TEST_F(DialogTest, MalformedTemplatesCreateNothingFromAnySource)
{
    const auto whole = CompileDialog(R"(
5 DIALOG 0, 0, 100, 50
STYLE WS_POPUP | WS_VISIBLE
BEGIN
    CONTROL "OK", IDOK, "Button", BS_PUSHBUTTON, 5, 5, 40, 14
END)",
        5);
    const std::vector<uint8_t> cut(whole.begin(), whole.end() - 2);
    // Bytes with a known size.
    SetLastError(0);
    EXPECT_EQ(user::CreateDialogFromBytes(cut, nullptr, nullptr, &DialogTest::Proc, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    EXPECT_NE(user::LastDialogTemplateError().find("ends inside"), std::string::npos);
    // A global memory block holding exactly the cut template: read within the block.
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, cut.size());
    std::memcpy(GlobalLock(g), cut.data(), cut.size());
    SetLastError(0);
    EXPECT_EQ(CreateDialogIndirectParamW(nullptr, static_cast<LPCDLGTEMPLATE>(GlobalLock(g)), nullptr,
                  &DialogTest::Proc, 0),
        nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    GlobalUnlock(g);
    GlobalUnlock(g);
    GlobalFree(g);
    // A resource: its pointer alone is enough to find its end.
    const bool added = base::AddResource(nullptr, RT_DIALOG, MAKEINTRESOURCE(IDD_TRUNCATED), 0, cut);
    EXPECT_TRUE(added || GetLastError() == ERROR_ALREADY_EXISTS);
    SetLastError(0);
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCE(IDD_TRUNCATED), nullptr, &DialogTest::Proc, 0), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    HRSRC r = FindResourceW(nullptr, MAKEINTRESOURCE(IDD_TRUNCATED), RT_DIALOG);
    EXPECT_EQ(CreateDialogIndirectParamW(nullptr, static_cast<LPCDLGTEMPLATE>(LockResource(LoadResource(nullptr, r))),
                  nullptr, &DialogTest::Proc, 0),
        nullptr);
    // A missing template, an unknown control class, a stale parent.
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCE(999), nullptr, &DialogTest::Proc, 0), -1);
    EXPECT_EQ(Create(R"(
6 DIALOG 0, 0, 100, 50
STYLE WS_POPUP
BEGIN
    CONTROL "", 1, "NoSuchClass", 0, 5, 5, 40, 14
END)",
                  6),
        nullptr);
    HWND gone = Make(WS_POPUP, 0, 0, 10, 10);
    DestroyWindow(gone);
    SetLastError(0);
    EXPECT_EQ(user::DialogBoxFromBytes(whole, nullptr, gone, &DialogTest::Proc, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_TRUE(Log().empty() || Log().back().msg != WM_INITDIALOG);
    EXPECT_EQ(user::LiveWindowCount(), 0u);
}

TEST_F(DialogTest, DialogUnitsComeFromTheTemplateFont)
{
    struct Row {
        int id;
        LONG height, weight;
        BYTE italic;
        const wchar_t* face;
        int x, y, cx, cy;     // the dialog, in units
        int ctl;
        RECT ctlUnits;        // x, y, cx, cy of the control
        SIZE windows;         // the documented Windows base units of the font (0: none known)
    };
    // Heights: -MulDiv(points, 96, 72): 9 pt -> -12, 8 pt -> -10.67 -> -11.
    const Row rows[] = {
        {IDD_EXTENDED, -12, 700, 1, L"MS Shell Dlg", 12, 24, 200, 100, IDC_VERBOSE, {7, 7, 60, 10}, {0, 0}},
        {IDD_CLASSIC, -11, 400, 0, L"MS Sans Serif", 10, 20, 160, 80, IDCANCEL, {103, 60, 50, 14}, {6, 13}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        HFONT f = CreateFontW(row.height, 0, 0, 0, row.weight, row.italic, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, row.face);
        const SIZE bu = HandBaseUnits(f);
        DeleteObject(f);
        if (row.windows.cx && MetricFacesInstalled()) {
            EXPECT_EQ(bu.cx, row.windows.cx);
            EXPECT_EQ(bu.cy, row.windows.cy);
        }
        HWND dlg = CreateDialogParamW(nullptr, MAKEINTRESOURCE(row.id), nullptr, &DialogTest::Proc, 0);
        ASSERT_NE(dlg, nullptr);
        LOGFONTW lf{};
        GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(dlg, WM_GETFONT, 0, 0)), sizeof lf, &lf);
        EXPECT_EQ(lf.lfHeight, row.height);
        EXPECT_EQ(lf.lfWeight, row.weight);
        EXPECT_EQ(lf.lfItalic, row.italic);
        RECT r{row.ctlUnits.left, row.ctlUnits.top, row.ctlUnits.left + row.ctlUnits.right,
            row.ctlUnits.top + row.ctlUnits.bottom};
        ASSERT_TRUE(MapDialogRect(dlg, &r));
        EXPECT_EQ(r.left, Scale(row.ctlUnits.left, bu.cx, 4));
        EXPECT_EQ(r.bottom, Scale(row.ctlUnits.top + row.ctlUnits.bottom, bu.cy, 8));
        const RECT c = ClientRectIn(GetDlgItem(dlg, row.ctl), dlg);
        EXPECT_EQ(c.left, Scale(row.ctlUnits.left, bu.cx, 4));
        EXPECT_EQ(c.top, Scale(row.ctlUnits.top, bu.cy, 8));
        EXPECT_EQ(c.right - c.left, Scale(row.ctlUnits.right, bu.cx, 4));
        EXPECT_EQ(c.bottom - c.top, Scale(row.ctlUnits.bottom, bu.cy, 8));
        RECT client;
        GetClientRect(dlg, &client);
        EXPECT_EQ(client.right, Scale(row.cx, bu.cx, 4));
        EXPECT_EQ(client.bottom, Scale(row.cy, bu.cy, 8));
        POINT org{0, 0};
        ClientToScreen(dlg, &org);
        EXPECT_EQ(org.x, Scale(row.x, bu.cx, 4));
        EXPECT_EQ(org.y, Scale(row.y, bu.cy, 8));
        EXPECT_TRUE(GetWindowLongPtrW(dlg, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
        DestroyWindow(dlg);
    }
    // Without DS_SETFONT: the system font, whose units GetDialogBaseUnits gives.
    const SIZE sys = HandBaseUnits(nullptr);
    EXPECT_EQ(GetDialogBaseUnits(), MAKELONG(static_cast<WORD>(sys.cx), static_cast<WORD>(sys.cy)));
    HWND plain = Create("7 DIALOG 0, 0, 40, 16\nSTYLE WS_POPUP\nBEGIN\nEND", 7);
    RECT r{4, 8, 40, 16};
    MapDialogRect(plain, &r);
    EXPECT_EQ(r.left, sys.cx);
    EXPECT_EQ(r.top, sys.cy);
    EXPECT_EQ(SendMessageW(plain, WM_GETFONT, 0, 0), 0);
    DestroyWindow(plain);
    HWND notDialog = Make(WS_POPUP, 0, 0, 10, 10);
    EXPECT_FALSE(MapDialogRect(notDialog, &r));
    DestroyWindow(notDialog);
}

// Records what a control's creation carries.
std::vector<std::wstring> g_names;
std::vector<std::vector<uint8_t>> g_data;

LRESULT ProbeProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_CREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lp);
        g_names.emplace_back(cs->lpszName ? cs->lpszName : L"(null)");
        std::vector<uint8_t> bytes;
        if (const auto* p = static_cast<const uint8_t*>(cs->lpCreateParams))
            bytes.assign(p, p + 2 + (p[0] | (p[1] << 8)));
        g_data.push_back(bytes);
    }
    return DefWindowProcW(h, m, wp, lp);
}

TEST_F(DialogTest, ControlsGetTheirCreationDataOrdinalTitlesAndTheFont)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ProbeProc;
    wc.lpszClassName = L"Probe";
    ASSERT_NE(RegisterClassExW(&wc), 0);
    g_names.clear();
    g_data.clear();
    HWND dlg = Create(R"(
8 DIALOGEX 0, 0, 100, 50
STYLE WS_POPUP | DS_SETFONT
FONT 8, "MS Shell Dlg"
BEGIN
    CONTROL 9, 1, "Probe", 0, 1, 1, 10, 10
    CONTROL "t", 2, "Probe", 0, 1, 1, 10, 10
    BEGIN
        1, 2, 3
    END
END)",
        8);
    ASSERT_NE(dlg, nullptr);
    ASSERT_EQ(g_names.size(), 2u);
    EXPECT_EQ(g_names[0], (std::wstring{0xFFFF, 9}));
    EXPECT_TRUE(g_data[0].empty());
    EXPECT_EQ(g_data[1], (std::vector<uint8_t>{6, 0, 1, 0, 2, 0, 3, 0}));
    // The dialog procedure sees the font before the controls and WM_INITDIALOG after them.
    std::vector<UINT> seen;
    for (const Rec& r : Log())
        if (r.msg == WM_SETFONT || r.msg == WM_INITDIALOG)
            seen.push_back(r.msg);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_SETFONT, WM_INITDIALOG}));
    EXPECT_EQ(GetWindowLongPtrW(GetDlgItem(dlg, 1), GWL_EXSTYLE) & WS_EX_NOPARENTNOTIFY, WS_EX_NOPARENTNOTIFY);
    DestroyWindow(dlg);
}

} // namespace
} // namespace zyn::test
