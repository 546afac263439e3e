// The Static control: text placement by extent, rectangles, frames and etched lines in
// their documented colours, images and who owns them, notifications and mouse
// transparency.
#include <cstring>

#include "platform/base/module.h"
#include "platform/gdi/icon.h"
#include "platform/base/resource.h"
#include "tests/user/dialog_test_support.h"
#include "tests/user/msglog.h"

namespace zyn::test {
namespace {

constexpr COLORREF kParent = RGB(10, 20, 30);

class StaticTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        parent = CreateWindowExW(0, kSolidClass, L"", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr, nullptr,
            nullptr, nullptr);
        SetWindowLongPtrW(parent, GWLP_USERDATA, kParent);
        user::PaintPendingWindows(); // before any control paints over it
    }
    void TearDown() override
    {
        DestroyWindow(parent);
        DialogTest::TearDown();
    }
    HWND Static(DWORD style, const wchar_t* text, int cx, int cy, int id = 5)
    {
        return CreateWindowExW(0, L"Static", text, WS_CHILD | WS_VISIBLE | style, 10, 10, cx, cy, parent,
            reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)), nullptr, nullptr);
    }
    // The pixels of a window's client area as painted on the screen.
    std::vector<COLORREF> Shot(HWND w, int cx, int cy)
    {
        user::PaintPendingWindows();
        POINT o{0, 0};
        ClientToScreen(w, &o);
        std::vector<COLORREF> px;
        HDC dc = GetDC(nullptr);
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x)
                px.push_back(GetPixel(dc, o.x + x, o.y + y));
        ReleaseDC(nullptr, dc);
        return px;
    }
    // The box round every pixel that is not `back`.
    static RECT Ink(const std::vector<COLORREF>& px, int cx, COLORREF back)
    {
        RECT r{INT32_MAX, INT32_MAX, -1, -1};
        for (size_t i = 0; i < px.size(); ++i)
            if (px[i] != back) {
                const int x = static_cast<int>(i) % cx, y = static_cast<int>(i) / cx;
                r = RECT{std::min<int>(r.left, x), std::min<int>(r.top, y), std::max<int>(r.right, x + 1),
                    std::max<int>(r.bottom, y + 1)};
            }
        return r;
    }
    static SIZE Extent(const wchar_t* text)
    {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
        SIZE s{};
        GetTextExtentPoint32W(dc, text, static_cast<int>(std::wcslen(text)), &s);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        return s;
    }
    HWND parent = nullptr;
};

bool Within(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
        inner.bottom <= outer.bottom && inner.left < inner.right;
}

TEST_F(StaticTest, TextLandsWhereItsStyleSays)
{
    const int W = 300, H = 60;
    const COLORREF face = GetSysColor(COLOR_3DFACE);
    const SIZE e = Extent(L"Label"), p = Extent(L"&Label");
    struct Row {
        const char* name;
        DWORD style;
        const wchar_t* text;
        RECT extent; // where the ink must lie
    };
    const Row rows[] = {
        {"left", SS_LEFT, L"Label", {0, 0, e.cx, e.cy}},
        {"centre", SS_CENTER, L"Label", {(W - e.cx) / 2, 0, (W - e.cx) / 2 + e.cx, e.cy}},
        {"right", SS_RIGHT, L"Label", {W - e.cx, 0, W, e.cy}},
        {"centred vertically", SS_LEFT | SS_CENTERIMAGE, L"Label", {0, (H - e.cy) / 2, e.cx, (H - e.cy) / 2 + e.cy}},
        {"prefix: the ampersand is no ink", SS_RIGHT, L"&Label", {W - e.cx, 0, W, e.cy}},
        {"no prefix: it is", SS_RIGHT | SS_NOPREFIX, L"&Label", {W - p.cx, 0, W, e.cy}},
    };
    for (const Row& row : rows) {
        HWND s = Static(row.style, row.text, W, H);
        const RECT ink = Ink(Shot(s, W, H), W, face);
        EXPECT_TRUE(Within(ink, row.extent)) << row.name << ": ink " << ink.left << "," << ink.top << ","
                                             << ink.right << "," << ink.bottom;
        if (row.style & SS_NOPREFIX) { // the ampersand's ink lies left of where "Label" alone starts
            EXPECT_LT(ink.left, W - e.cx) << row.name;
        }
        DestroyWindow(s);
    }
    // Wrapping: a long text wraps on SS_LEFT and stays on one line with SS_ENDELLIPSIS.
    const wchar_t* longText = L"one two three four five six seven";
    for (DWORD style : {SS_LEFT, SS_LEFT | SS_ENDELLIPSIS}) {
        HWND s = Static(style, longText, 90, 3 * e.cy);
        const RECT ink = Ink(Shot(s, 90, 3 * e.cy), 90, face);
        EXPECT_EQ(ink.bottom > e.cy, style == SS_LEFT) << "style " << style;
        DestroyWindow(s);
    }
    // Disabled text is gray.
    HWND off = Static(SS_LEFT | WS_DISABLED, L"Label", W, H);
    const auto px = Shot(off, W, H);
    EXPECT_NE(std::find(px.begin(), px.end(), GetSysColor(COLOR_GRAYTEXT)), px.end());
    EXPECT_EQ(std::find(px.begin(), px.end(), GetSysColor(COLOR_WINDOWTEXT)), px.end());
    DestroyWindow(off);
}

TEST_F(StaticTest, RectanglesFramesAndEtchedLinesInTheirColours)
{
    const int W = 30, H = 12;
    struct Row {
        const char* name;
        DWORD style;
        int fill;   // system colour of the whole rectangle, -1: none
        int frame;  // of a one-pixel frame (the inside keeps the parent's colour), -1: none
        UINT edge;  // BF_ sides of an etched edge, 0: none
    };
    const Row rows[] = {
        {"black rectangle", SS_BLACKRECT, COLOR_WINDOWFRAME, -1, 0},
        {"gray rectangle", SS_GRAYRECT, COLOR_BACKGROUND, -1, 0},
        {"white rectangle", SS_WHITERECT, COLOR_WINDOW, -1, 0},
        {"black frame", SS_BLACKFRAME, -1, COLOR_WINDOWFRAME, 0},
        {"gray frame", SS_GRAYFRAME, -1, COLOR_BACKGROUND, 0},
        {"white frame", SS_WHITEFRAME, -1, COLOR_WINDOW, 0},
        {"etched horizontal", SS_ETCHEDHORZ, -1, -1, BF_TOP | BF_BOTTOM},
        {"etched vertical", SS_ETCHEDVERT, -1, -1, BF_LEFT | BF_RIGHT},
        {"etched frame", SS_ETCHEDFRAME, -1, -1, BF_RECT},
    };
    for (const Row& row : rows) {
        HWND s = Static(row.style, L"", W, H);
        const auto px = Shot(s, W, H);
        // The expectation, painted with the drawing calls alone.
        HDC screen = GetDC(nullptr);
        HDC mem = CreateCompatibleDC(screen);
        HBITMAP bm = CreateCompatibleBitmap(screen, W, H);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(mem, bm);
        RECT all{0, 0, W, H};
        HBRUSH back = CreateSolidBrush(kParent);
        FillRect(mem, &all, back);
        DeleteObject(back);
        if (row.fill >= 0)
            FillRect(mem, &all, GetSysColorBrush(row.fill));
        if (row.frame >= 0)
            FrameRect(mem, &all, GetSysColorBrush(row.frame));
        if (row.edge)
            DrawEdge(mem, &all, EDGE_ETCHED, row.edge);
        std::vector<COLORREF> want;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                want.push_back(GetPixel(mem, x, y));
        SelectObject(mem, old);
        DeleteObject(bm);
        DeleteDC(mem);
        EXPECT_EQ(px, want) << row.name;
        DestroyWindow(s);
    }
    // SS_SUNKEN gives the window the static edge: one border pixel each side.
    HWND sunken = Static(SS_LEFT | SS_SUNKEN, L"x", 50, 20);
    EXPECT_TRUE(GetWindowLongPtrW(sunken, GWL_EXSTYLE) & WS_EX_STATICEDGE);
    RECT c;
    GetClientRect(sunken, &c);
    EXPECT_EQ(c.right, 50 - 2 * GetSystemMetrics(SM_CXBORDER));
    DestroyWindow(sunken);
}

HBITMAP TwoColourBitmap(int cx, int cy, COLORREF corner, COLORREF rest)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bm = CreateCompatibleBitmap(screen, cx, cy);
    HDC mem = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(mem, bm);
    HBRUSH b = CreateSolidBrush(rest);
    RECT all{0, 0, cx, cy};
    FillRect(mem, &all, b);
    DeleteObject(b);
    SetPixel(mem, 0, 0, corner);
    SelectObject(mem, old);
    DeleteDC(mem);
    return bm;
}

TEST_F(StaticTest, ImagesSizeTheControlAndBelongToTheCaller)
{
    const HICON question = LoadIconW(nullptr, IDI_QUESTION);
    HWND icon = Static(SS_ICON, L"", 5, 5);
    EXPECT_EQ(SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(question), 0), 0);
    EXPECT_EQ(SendMessageW(icon, STM_GETICON, 0, 0), reinterpret_cast<LRESULT>(question));
    RECT r;
    GetClientRect(icon, &r);
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYICON));
    HBITMAP wrongKind = TwoColourBitmap(4, 4, 0, 0);
    EXPECT_EQ(SendMessageW(icon, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(wrongKind)), 0);
    EXPECT_EQ(SendMessageW(icon, STM_GETIMAGE, IMAGE_ICON, 0), reinterpret_cast<LRESULT>(question));

    const COLORREF blue = RGB(0, 0, 255), red = RGB(255, 0, 0);
    HBITMAP first = TwoColourBitmap(10, 6, blue, red);
    HWND bmp = Static(SS_BITMAP, L"", 5, 5);
    EXPECT_EQ(SendMessageW(bmp, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(first)), 0);
    GetClientRect(bmp, &r);
    EXPECT_EQ(r.right, 10);
    EXPECT_EQ(r.bottom, 6);
    const auto px = Shot(bmp, 10, 6);
    EXPECT_EQ(px[0], blue);
    EXPECT_EQ(px[1], red);
    // Centred: the rest takes the top-left pixel's colour.
    HWND centred = Static(SS_BITMAP | SS_CENTERIMAGE, L"", 40, 30, 6);
    SendMessageW(centred, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(first));
    GetClientRect(centred, &r);
    EXPECT_EQ(r.right, 40);
    const auto c = Shot(centred, 40, 30);
    EXPECT_EQ(c[0], blue);
    EXPECT_EQ(c[static_cast<size_t>(12 * 40 + 15)], blue); // the bitmap's own corner at (15, 12)
    EXPECT_EQ(c[static_cast<size_t>(12 * 40 + 16)], red);
    EXPECT_EQ(c[static_cast<size_t>(18 * 40 + 25)], blue); // past its far corner
    DestroyWindow(centred);
    DestroyWindow(bmp);
    DestroyWindow(icon);
    // The caller still owns what it set: deleting now succeeds once.
    EXPECT_TRUE(DeleteObject(first));
    EXPECT_TRUE(DeleteObject(wrongKind));
}

// A 2x2 24-bit DIB as a BITMAP resource: bottom-up rows padded to 4 bytes.
std::vector<uint8_t> TinyDib()
{
    std::vector<uint8_t> d(40 + 2 * 8, 0);
    const uint32_t fields[] = {40, 2, 2};
    std::memcpy(d.data(), fields, 12);
    d[12] = 1;  // planes
    d[14] = 24; // bits
    for (size_t i = 40; i < d.size(); ++i)
        d[i] = 0x80;
    return d;
}

TEST_F(StaticTest, ABitmapTheControlLoadedGoesWithIt)
{
    const bool added = base::AddResource(nullptr, RT_BITMAP, MAKEINTRESOURCE(301), 0, TinyDib());
    ASSERT_TRUE(added || GetLastError() == ERROR_ALREADY_EXISTS);
    const auto bytes = CompileDialog(R"(
30 DIALOGEX 0, 0, 100, 60
STYLE WS_POPUP
BEGIN
    CONTROL 301, 31, "Static", SS_BITMAP, 5, 5, 40, 40
    CONTROL 301, 32, "Static", SS_BITMAP, 5, 5, 40, 40
END)",
        30);
    // The controls load from the dialog's module: the program's own.
    HWND dlg = user::CreateDialogFromBytes(bytes, GetModuleHandleW(nullptr), nullptr, &DialogTest::Proc, 0);
    ASSERT_NE(dlg, nullptr);
    HWND one = GetDlgItem(dlg, 31);
    RECT r;
    GetClientRect(one, &r);
    EXPECT_EQ(r.right, 2);
    EXPECT_EQ(GetWindowTextLengthW(one), 0) << "an ordinal is no text";
    // Swapped out, the loaded bitmap becomes the caller's.
    HBITMAP mine = TwoColourBitmap(3, 3, 0, 0);
    const auto loaded = reinterpret_cast<HBITMAP>(SendMessageW(one, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(mine)));
    ASSERT_NE(loaded, nullptr);
    DestroyWindow(dlg); // the second control frees its own bitmap; the first leaves `mine` alone
    EXPECT_TRUE(DeleteObject(loaded));
    EXPECT_TRUE(DeleteObject(mine));
}

TEST_F(StaticTest, NotificationsAndMouseTransparency)
{
    MsgLog log;
    log.Install();
    log.NameNext("host");
    HWND host = CreateWindowExW(0, MsgLog::kClass, L"", WS_POPUP | WS_VISIBLE, 500, 100, 300, 200, nullptr, nullptr,
        nullptr, nullptr);
    SetActiveWindow(host);
    auto make = [&](DWORD style) {
        log.NameNext("st");
        return CreateWindowExW(0, L"Static", L"Click", WS_CHILD | WS_VISIBLE | style, 10, 10, 80, 20, host,
            reinterpret_cast<HMENU>(9), nullptr, nullptr);
    };
    HWND plain = make(SS_LEFT);
    base::Clock::Advance(1000);
    log.Start({WM_LBUTTONDOWN});
    user::InjectClick(520, 115);
    Pump();
    log.Stop();
    // Without SS_NOTIFY the click goes through to the window below.
    EXPECT_NE(std::find_if(log.Lines().begin(), log.Lines().end(),
                  [](const std::string& l) {
                      return l.rfind("host WM_LBUTTONDOWN ", 0) == 0 && l.ends_with("(posted)");
                  }),
        log.Lines().end());
    DestroyWindow(plain);
    HWND notify = make(SS_LEFT | SS_NOTIFY);
    base::Clock::Advance(1000);
    log.Start();
    user::InjectClick(520, 115);
    user::InjectClick(520, 115);
    Pump();
    EnableWindow(notify, FALSE);
    EnableWindow(notify, TRUE);
    log.Stop();
    std::vector<std::string> commands;
    for (const auto& l : log.Lines())
        if (l.rfind("host WM_COMMAND", 0) == 0)
            commands.push_back(l);
    EXPECT_EQ(commands, (std::vector<std::string>{"host WM_COMMAND 9 0 st", "host WM_COMMAND 9 1 st",
                            "host WM_COMMAND 9 3 st", "host WM_COMMAND 9 2 st"}));
    EXPECT_EQ(SendMessageW(notify, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    DestroyWindow(host);
    log.Uninstall();
}

} // namespace
} // namespace zyn::test
