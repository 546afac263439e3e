// The standard controls measure and draw with the font WM_SETFONT gives them, and with the
// system font until then.
#include "tests/support/font_extent.h"
#include "tests/user/ctl_test_support.h"
#include "tests/user/dialog_test_support.h"

namespace zyn::test {
namespace {

using CtlFontTest = CtlTest;

TEST_F(CtlFontTest, EveryControlTakesItsFontFromWmSetFont)
{
    HFONT font = CreateFontW(-22, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma");
    ASSERT_NE(font, nullptr);
    const TEXTMETRICW sys = Metrics(nullptr), big = Metrics(font);
    ASSERT_NE(sys.tmHeight, big.tmHeight);
    HWND e = Ctl(L"Edit", ES_AUTOHSCROLL, 10, 10, 300, 40, 1, L"Wide");
    HWND l = Ctl(L"ListBox", LBS_NOINTEGRALHEIGHT, 10, 60, 150, 100, 2);
    HWND c = Ctl(L"ComboBox", CBS_DROPDOWNLIST, 200, 60, 150, 200, 3);
    EXPECT_EQ(SendMessageW(e, WM_GETFONT, 0, 0), 0) << "none set: the system font";
    EXPECT_EQ(SendMessageW(l, LB_GETITEMHEIGHT, 0, 0), sys.tmHeight);
    EXPECT_EQ(SendMessageW(c, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), sys.tmHeight + 2);
    for (HWND h : {e, l, c})
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    for (HWND h : {e, l, c})
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)), font);
    EXPECT_EQ(SendMessageW(l, LB_GETITEMHEIGHT, 0, 0), big.tmHeight);
    EXPECT_EQ(SendMessageW(c, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), big.tmHeight + 2);
    RECT wr{};
    GetWindowRect(c, &wr);
    EXPECT_EQ(wr.bottom - wr.top, big.tmHeight + 2 + 6);
    // The edit's characters are as wide as the font says, and its margins follow the font.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE w{};
    GetTextExtentPoint32W(dc, L"W", 1, &w);
    SelectObject(dc, old);
    DeleteDC(dc);
    const LRESULT p0 = SendMessageW(e, EM_POSFROMCHAR, 0, 0), p1 = SendMessageW(e, EM_POSFROMCHAR, 1, 0);
    EXPECT_EQ(static_cast<SHORT>(LOWORD(p1)) - static_cast<SHORT>(LOWORD(p0)), w.cx);
    const LRESULT margins = SendMessageW(e, EM_GETMARGINS, 0, 0);
    EXPECT_EQ(LOWORD(margins), HandBaseUnits(font).cx / 2); // half the font's average character width
    EXPECT_EQ(static_cast<SHORT>(LOWORD(p0)), LOWORD(margins));
    SetFocus(e);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetCurrentThreadId(), &gui);
    EXPECT_EQ(gui.rcCaret.bottom - gui.rcCaret.top, big.tmHeight);
    // Painted with it: the text's ink is taller than the system font's line.
    Settle();
    RECT client{};
    GetClientRect(e, &client);
    const RECT ink = BoxOfColor(e, client, GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_GT(ink.bottom - ink.top, sys.tmHeight / 2);
    EXPECT_LE(ink.bottom, big.tmHeight);
    DestroyWindow(e);
    DestroyWindow(l);
    DestroyWindow(c);
    EXPECT_TRUE(DeleteObject(font)) << "the controls do not keep it selected anywhere";
}

// The 8-point dialog faces give the item heights Windows gives them: a 13-pixel line (so a
// list box's integral height is a multiple of 13) and a combo box's field of 13 + 2.
TEST_F(CtlFontTest, TheDialogFontsGiveTheWindowsItemHeights)
{
    ZYN_SKIP_WITHOUT_METRIC_FACES();
    struct Row {
        const char* name;
        HFONT font;
        bool owned;
    };
    const Row rows[] = {
        {"DEFAULT_GUI_FONT", static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), false},
        {"8 pt MS Shell Dlg", CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, L"MS Shell Dlg"), true},
        {"8 pt MS Sans Serif", CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, L"MS Sans Serif"), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Metrics(row.font).tmHeight, 13);
        HWND l = Ctl(L"ListBox", WS_BORDER, 10, 10, 150, 100, 1);
        HWND c = Ctl(L"ComboBox", CBS_DROPDOWNLIST, 200, 10, 150, 200, 2);
        for (HWND h : {l, c})
            SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(row.font), TRUE);
        EXPECT_EQ(SendMessageW(l, LB_GETITEMHEIGHT, 0, 0), 13);
        EXPECT_EQ(SendMessageW(c, CB_GETITEMHEIGHT, 0, 0), 13);
        EXPECT_EQ(SendMessageW(c, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 15);
        SetWindowPos(l, nullptr, 0, 0, 150, 100, SWP_NOMOVE | SWP_NOZORDER);
        RECT client{};
        GetClientRect(l, &client);
        EXPECT_EQ(client.bottom, 7 * 13) << "100 less the border, down to whole lines";
        DestroyWindow(l);
        DestroyWindow(c);
        if (row.owned)
            DeleteObject(row.font);
    }
}

} // namespace
} // namespace zyn::test
