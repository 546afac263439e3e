// The tooltip's tool list in both TOOLINFO forms, hit testing, settings, and the class.
#include <cstring>

#include "platform/base/codepage.h"
#include "tests/comctl/comctl_test_support.h"

namespace zyn::test {
namespace {

class TipTools : public ComctlTest {
protected:
    void SetUp() override
    {
        ComctlTest::SetUp();
        host = MakeHost(100, 100, 400, 300);
        tip = MakeTip(host);
    }
    void TearDown() override
    {
        DestroyWindow(tip);
        DestroyWindow(host);
        ComctlTest::TearDown();
    }
    TOOLINFOW Key(UINT_PTR id, HWND hwnd = nullptr) const
    {
        TOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = hwnd ? hwnd : host;
        ti.uId = id;
        return ti;
    }
    LRESULT Send(UINT msg, WPARAM wp, const void* lp) const
    {
        return SendMessageW(tip, msg, wp, reinterpret_cast<LPARAM>(lp));
    }

    HWND host = nullptr;
    HWND tip = nullptr;
};

TEST_F(TipTools, TheClassExistsWithoutInitialisationAndTheSetsThatBringIt)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    EXPECT_TRUE(GetClassInfoExW(nullptr, TOOLTIPS_CLASSW, &wc));
    const DWORD sets[] = {ICC_BAR_CLASSES, ICC_TAB_CLASSES, ICC_TREEVIEW_CLASSES, ICC_WIN95_CLASSES};
    for (DWORD set : sets) {
        const INITCOMMONCONTROLSEX icc{sizeof icc, set};
        EXPECT_TRUE(InitCommonControlsEx(&icc)) << std::hex << set;
    }
    // A tooltip is a tool window, whatever its creator asked for.
    EXPECT_TRUE(GetWindowLongPtrW(tip, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(IsWindowVisible(tip));
}

TEST_F(TipTools, EachFormTakesItsThreeLayoutsAndNoOtherSize)
{
    struct Row {
        const char* name;
        bool ansi;
        UINT cbSize;
        bool ok;
        bool keepsLParam;
    };
    const Row rows[] = {
        {"W v1", false, TTTOOLINFOW_V1_SIZE, true, false},
        {"W v2", false, TTTOOLINFOW_V2_SIZE, true, true},
        {"W v3", false, TTTOOLINFOW_V3_SIZE, true, true},
        {"W zero", false, 0, false, false},
        {"W one short", false, TTTOOLINFOW_V1_SIZE - 1, false, false},
        {"W one long", false, TTTOOLINFOW_V3_SIZE + 1, false, false},
        {"A v1", true, TTTOOLINFOA_V1_SIZE, true, false},
        {"A v2", true, TTTOOLINFOA_V2_SIZE, true, true},
        {"A v3", true, TTTOOLINFOA_V3_SIZE, true, true},
        {"A as W's v3 plus one", true, TTTOOLINFOW_V3_SIZE + 1, false, false},
    };
    UINT_PTR id = 1;
    for (const Row& row : rows) {
        ++id;
        LRESULT added = 0;
        if (row.ansi) {
            TOOLINFOA ti{};
            ti.cbSize = row.cbSize;
            ti.hwnd = host;
            ti.uId = id;
            ti.lpszText = const_cast<LPSTR>("narrow");
            ti.lParam = 0x5A5A;
            added = Send(TTM_ADDTOOLA, 0, &ti);
        } else {
            TOOLINFOW ti{};
            ti.cbSize = row.cbSize;
            ti.hwnd = host;
            ti.uId = id;
            ti.lpszText = const_cast<LPWSTR>(L"wide");
            ti.lParam = 0x5A5A;
            added = Send(TTM_ADDTOOLW, 0, &ti);
        }
        EXPECT_EQ(added != 0, row.ok) << row.name;
        if (!row.ok)
            continue;
        TOOLINFOW out = Key(id);
        out.lParam = 0x1234;
        ASSERT_TRUE(Send(TTM_GETTOOLINFOW, 0, &out)) << row.name;
        // A layout without lParam adds the tool with lParam 0.
        EXPECT_EQ(out.lParam, row.keepsLParam ? 0x5A5A : 0) << row.name;
    }
}

TEST_F(TipTools, ToolsAreAddedOnceFoundByWindowAndIdAndDeleted)
{
    HWND child = MakeHost(10, 10, 50, 50, host, 9);
    ASSERT_TRUE(AddTool(tip, host, 1, RECT{0, 0, 10, 10}, L"one"));
    ASSERT_TRUE(AddTool(tip, host, 2, RECT{10, 0, 20, 10}, LPSTR_TEXTCALLBACKW));
    ASSERT_TRUE(AddWindowTool(tip, host, child, L"child"));
    EXPECT_FALSE(AddTool(tip, host, 1, RECT{50, 50, 60, 60}, L"again")) << "a second tool with the same key";
    EXPECT_FALSE(AddTool(tip, reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7FFF0001)), 5, RECT{}, L"x"))
        << "a tool must name a window";
    EXPECT_EQ(Send(TTM_GETTOOLCOUNT, 0, nullptr), 3);

    // Enumeration in the order of adding; beyond the end: FALSE.
    const UINT_PTR expected[] = {1, 2, reinterpret_cast<UINT_PTR>(child)};
    for (WPARAM i = 0; i < 3; ++i) {
        TOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ASSERT_TRUE(Send(TTM_ENUMTOOLSW, i, &ti)) << i;
        EXPECT_EQ(ti.uId, expected[i]) << i;
    }
    TOOLINFOW past{};
    past.cbSize = sizeof past;
    EXPECT_FALSE(Send(TTM_ENUMTOOLSW, 3, &past));

    // A callback tool reports LPSTR_TEXTCALLBACK; the window tool its flags.
    TOOLINFOW ti = Key(2);
    ASSERT_TRUE(Send(TTM_GETTOOLINFOW, 0, &ti));
    EXPECT_EQ(ti.lpszText, LPSTR_TEXTCALLBACKW);
    ti = Key(reinterpret_cast<UINT_PTR>(child));
    ASSERT_TRUE(Send(TTM_GETTOOLINFOW, 0, &ti));
    EXPECT_EQ(ti.uFlags & TTF_IDISHWND, TTF_IDISHWND);

    ti = Key(1);
    Send(TTM_DELTOOLW, 0, &ti);
    EXPECT_EQ(Send(TTM_GETTOOLCOUNT, 0, nullptr), 2);
    EXPECT_FALSE(Send(TTM_GETTOOLINFOW, 0, &ti));
    DestroyWindow(child);
}

TEST_F(TipTools, HitTestFindsRectanglesAndWindows)
{
    HWND child = MakeHost(200, 100, 50, 40, host, 9);
    ASSERT_TRUE(AddTool(tip, host, 1, RECT{10, 10, 60, 30}, L"a"));
    ASSERT_TRUE(AddTool(tip, host, 2, RECT{60, 10, 90, 30}, L"b"));
    ASSERT_TRUE(AddWindowTool(tip, host, child, L"c"));
    struct Row {
        const char* name;
        bool inChild;
        POINT pt;
        bool hit;
        UINT_PTR id;
    };
    const Row rows[] = {
        {"inside a", false, {10, 10}, true, 1},
        {"a's right edge belongs to b", false, {60, 29}, true, 2},
        {"below both", false, {60, 30}, false, 0},
        {"left of a", false, {9, 15}, false, 0},
        {"child's client", true, {49, 39}, true, reinterpret_cast<UINT_PTR>(child)},
        {"outside the child's client", true, {50, 0}, false, 0},
    };
    for (const Row& row : rows) {
        TTHITTESTINFOW hti{};
        hti.hwnd = row.inChild ? child : host;
        hti.pt = row.pt;
        hti.ti.cbSize = sizeof hti.ti;
        EXPECT_EQ(Send(TTM_HITTESTW, 0, &hti) != 0, row.hit) << row.name;
        if (row.hit) {
            EXPECT_EQ(hti.ti.uId, row.id) << row.name;
        }
    }
    DestroyWindow(child);
}

TEST_F(TipTools, NarrowTextsTravelThroughTheAnsiCodePage)
{
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = host;
    ti.uId = 4;
    char text[] = "Caf\xE9 \x80";  // code page 1252: e acute, euro sign
    ti.lpszText = text;
    ASSERT_TRUE(Send(TTM_ADDTOOLA, 0, &ti));
    wchar_t wide[32] = {};
    TOOLINFOW w = Key(4);
    w.lpszText = wide;
    Send(TTM_GETTEXTW, 32, &w);
    EXPECT_STREQ(wide, L"Caf\u00E9 \u20AC");
    char narrow[32] = {};
    TOOLINFOA a{};
    a.cbSize = sizeof a;
    a.hwnd = host;
    a.uId = 4;
    a.lpszText = narrow;
    Send(TTM_GETTEXTA, 32, &a);
    EXPECT_STREQ(narrow, text);
}

TEST_F(TipTools, TextIsCopiedOutNeverPastTheCallersBuffer)
{
    const std::wstring longText(200, L'x');
    ASSERT_TRUE(AddTool(tip, host, 1, RECT{}, longText.c_str()));
    struct Row {
        const char* name;
        UINT msg;
        WPARAM size;   // the buffer size told to TTM_GETTEXT (0: the older, unsized form)
        size_t copied; // characters expected before the terminator
    };
    const Row rows[] = {
        {"GETTEXT, 5", TTM_GETTEXTW, 5, 4},
        {"GETTEXT, 1", TTM_GETTEXTW, 1, 0},
        {"GETTEXT, unsized: 80", TTM_GETTEXTW, 0, 79},
        {"GETTEXT, roomy", TTM_GETTEXTW, 300, 200},
        {"GETTOOLINFO: 80", TTM_GETTOOLINFOW, 0, 79},
    };
    for (const Row& row : rows) {
        std::vector<wchar_t> buffer(400, L'#');
        TOOLINFOW ti = Key(1);
        ti.lpszText = buffer.data();
        Send(row.msg, row.size, &ti);
        const size_t len = std::wcslen(buffer.data());
        EXPECT_EQ(len, row.copied) << row.name;
        // Nothing is written after the terminator.
        EXPECT_EQ(buffer[row.copied + 1], L'#') << row.name;
    }
}

TEST_F(TipTools, ColoursFollowTheSystemUntilSet)
{
    EXPECT_EQ(static_cast<COLORREF>(Send(TTM_GETTIPBKCOLOR, 0, nullptr)), GetSysColor(COLOR_INFOBK));
    const INT index = COLOR_INFOBK;
    const COLORREF green = RGB(0, 200, 0);
    SetSysColors(1, &index, &green);
    EXPECT_EQ(static_cast<COLORREF>(Send(TTM_GETTIPBKCOLOR, 0, nullptr)), green);
    SendMessageW(tip, TTM_SETTIPBKCOLOR, RGB(1, 2, 3), 0);
    SendMessageW(tip, TTM_SETTIPTEXTCOLOR, RGB(4, 5, 6), 0);
    EXPECT_EQ(static_cast<COLORREF>(Send(TTM_GETTIPBKCOLOR, 0, nullptr)), RGB(1, 2, 3));
    EXPECT_EQ(static_cast<COLORREF>(Send(TTM_GETTIPTEXTCOLOR, 0, nullptr)), RGB(4, 5, 6));
}

TEST_F(TipTools, WidthMarginsAndTheAdjustedRectangle)
{
    EXPECT_EQ(Send(TTM_GETMAXTIPWIDTH, 0, nullptr), -1) << "one line by default";
    EXPECT_EQ(SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 150), -1) << "the old width";
    EXPECT_EQ(SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, -20), 150);
    EXPECT_EQ(Send(TTM_GETMAXTIPWIDTH, 0, nullptr), -1) << "any negative width is no width";
    RECT margin{1, 2, 3, 4};
    Send(TTM_SETMARGIN, 0, &margin);
    // Frame (1) + padding (2) + margin on each side.
    RECT r{100, 100, 200, 150};
    ASSERT_TRUE(Send(TTM_ADJUSTRECT, TRUE, &r));
    EXPECT_EQ(r.left, 100 - 3 - 1);
    EXPECT_EQ(r.top, 100 - 3 - 2);
    EXPECT_EQ(r.right, 200 + 3 + 3);
    EXPECT_EQ(r.bottom, 150 + 3 + 4);
    ASSERT_TRUE(Send(TTM_ADJUSTRECT, FALSE, &r));
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.bottom, 150);
}

TEST_F(TipTools, SubclassedToolsNeedNoRelayAndLeaveNoTraceWhenDeleted)
{
    Relay() = nullptr; // the host relays nothing
    const auto before = GetWindowLongPtrW(host, GWLP_WNDPROC);
    ASSERT_TRUE(AddTool(tip, host, 1, RECT{10, 10, 110, 60}, L"sub", TTF_SUBCLASS));
    ASSERT_TRUE(AddTool(tip, host, 2, RECT{130, 10, 230, 60}, L"sub two", TTF_SUBCLASS));
    EXPECT_NE(GetWindowLongPtrW(host, GWLP_WNDPROC), before);
    MoveTo(150, 140);
    Advance(500);
    EXPECT_TRUE(Visible(tip)) << "the subclass relays the host's mouse";
    TOOLINFOW ti = Key(1);
    Send(TTM_DELTOOLW, 0, &ti);
    EXPECT_NE(GetWindowLongPtrW(host, GWLP_WNDPROC), before) << "tool 2 still needs the subclass";
    ti = Key(2);
    Send(TTM_DELTOOLW, 0, &ti);
    EXPECT_EQ(GetWindowLongPtrW(host, GWLP_WNDPROC), before);
    EXPECT_EQ(comctl::SubclassedWindowCount(), 0u);
    // A tooltip going away takes its subclasses with it.
    ASSERT_TRUE(AddTool(tip, host, 3, RECT{10, 10, 110, 60}, L"sub", TTF_SUBCLASS));
    DestroyWindow(tip);
    EXPECT_EQ(GetWindowLongPtrW(host, GWLP_WNDPROC), before);
}

} // namespace
} // namespace zyn::test
