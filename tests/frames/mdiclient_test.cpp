// The "MDICLIENT" class through the raw API: creation, activation, maximising with the
// menu bar's child buttons, the window menu, destruction, and the client's edge around a
// maximised child.
#include <functional>
#include <string>
#include <vector>

#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/mdiclient.h"
#include "platform/user/menu.h"
#include "platform/user/popup_menu.h"
#include "tests/frames/frames_test_support.h"
#include "tests/support/golden.h"

namespace zyn::test {
namespace {

struct MdiRec {
    HWND hwnd;
    HWND deactivated;
    HWND activated;
};
std::vector<MdiRec> g_activations;
HWND g_client = nullptr;

LRESULT FrameProc(HWND h, UINT m, WPARAM wp, LPARAM lp) { return DefFrameProcW(h, g_client, m, wp, lp); }

LRESULT ChildProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_MDIACTIVATE)
        g_activations.push_back({h, reinterpret_cast<HWND>(wp), reinterpret_cast<HWND>(lp)});
    return DefMDIChildProcW(h, m, wp, lp);
}

class MdiClientTest : public FramesTest {
protected:
    static constexpr UINT kFirstChild = 0xFF00;

    void SetUp() override
    {
        FramesTest::SetUp();
        g_activations.clear();
        WNDCLASSW wc{};
        wc.lpfnWndProc = &FrameProc;
        wc.lpszClassName = L"TestMdiFrame";
        ASSERT_NE(RegisterClassW(&wc), 0);
        wc.lpfnWndProc = &ChildProc;
        wc.lpszClassName = L"TestMdiChild";
        ASSERT_NE(RegisterClassW(&wc), 0);
        ASSERT_TRUE(user::EnsureMdiClientClass());
        m_bar = CreateMenu();
        m_file = CreatePopupMenu();
        AppendMenuW(m_file, MF_STRING, 100, L"&New");
        m_window = CreatePopupMenu();
        AppendMenuW(m_window, MF_STRING, 0xE132, L"&Cascade");
        AppendMenuW(m_bar, MF_POPUP, reinterpret_cast<UINT_PTR>(m_file), L"&File");
        AppendMenuW(m_bar, MF_POPUP, reinterpret_cast<UINT_PTR>(m_window), L"&Window");
        m_frame = CreateWindowExW(0, L"TestMdiFrame", L"Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600,
            nullptr, m_bar, nullptr, nullptr);
        ASSERT_NE(m_frame, nullptr);
        CLIENTCREATESTRUCT ccs{m_window, kFirstChild};
        g_client = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 780, 500,
            m_frame, nullptr, nullptr, &ccs);
        ASSERT_NE(g_client, nullptr);
    }
    void TearDown() override
    {
        if (IsWindow(m_frame))
            DestroyWindow(m_frame);
        g_client = nullptr;
        FramesTest::TearDown();
    }

    HWND NewChild(const wchar_t* title, DWORD style = WS_VISIBLE)
    {
        MDICREATESTRUCTW mcs{L"TestMdiChild", title, nullptr, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
            CW_USEDEFAULT, style, 0};
        return reinterpret_cast<HWND>(SendMessageW(g_client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    }
    HWND Active(BOOL* pMax = nullptr)
    {
        return reinterpret_cast<HWND>(SendMessageW(g_client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(pMax)));
    }
    std::vector<std::wstring> WindowMenuTexts()
    {
        std::vector<std::wstring> out;
        for (int i = 0; i < GetMenuItemCount(m_window); ++i) {
            wchar_t buf[128] = {};
            GetMenuStringW(m_window, static_cast<UINT>(i), buf, 128, MF_BYPOSITION);
            out.emplace_back(buf);
        }
        return out;
    }
    HBITMAP BarBitmap(int pos)
    {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_BITMAP;
        return GetMenuItemInfoW(m_bar, static_cast<UINT>(pos), TRUE, &mii) ? mii.hbmpItem : nullptr;
    }

    HWND m_frame = nullptr;
    HMENU m_bar = nullptr, m_file = nullptr, m_window = nullptr;
};

TEST_F(MdiClientTest, CreateActivatesAndListsChildrenInTheWindowMenu)
{
    const HWND a = NewChild(L"Alpha");
    const HWND b = NewChild(L"Beta");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(user::MdiChildCount(g_client), 2u);
    EXPECT_EQ(Active(), b);
    EXPECT_EQ(GetWindowLongPtrW(a, GWLP_ID), static_cast<LONG_PTR>(kFirstChild));
    EXPECT_EQ(GetWindowLongPtrW(b, GWLP_ID), static_cast<LONG_PTR>(kFirstChild + 1));
    EXPECT_TRUE(GetWindowLongPtrW(a, GWL_EXSTYLE) & WS_EX_MDICHILD);
    // Cascade, a separator, then the children; the active one checked.
    EXPECT_EQ(WindowMenuTexts(), (std::vector<std::wstring>{L"&Cascade", L"", L"&1 Alpha", L"&2 Beta"}));
    EXPECT_TRUE(GetMenuState(m_window, kFirstChild + 1, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(m_window, kFirstChild, MF_BYCOMMAND) & MF_CHECKED);

    // Activation tells both children, deactivated first, with (deactivated, activated).
    g_activations.clear();
    SendMessageW(g_client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a), 0);
    EXPECT_EQ(Active(), a);
    ASSERT_EQ(g_activations.size(), 2u);
    EXPECT_EQ(g_activations[0].hwnd, b);
    EXPECT_EQ(g_activations[1].hwnd, a);
    for (const MdiRec& r : g_activations) {
        EXPECT_EQ(r.deactivated, b);
        EXPECT_EQ(r.activated, a);
    }
    EXPECT_EQ(GetWindow(g_client, GW_CHILD), a) << "the active child is on top";
    EXPECT_TRUE(GetMenuState(m_window, kFirstChild, MF_BYCOMMAND) & MF_CHECKED);

    // A title change shows in the list; the window-list command activates through DefFrameProc.
    SetWindowTextW(b, L"Gamma");
    EXPECT_EQ(WindowMenuTexts().back(), L"&2 Gamma");
    SendMessageW(m_frame, WM_COMMAND, kFirstChild + 1, 0);
    EXPECT_EQ(Active(), b);

    // Activating a window that is not a child changes nothing.
    SendMessageW(g_client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_frame), 0);
    EXPECT_EQ(Active(), b);
}

TEST_F(MdiClientTest, MaximisedChildPutsItsButtonsInTheMenuBar)
{
    const int barItems = GetMenuItemCount(m_bar);
    const HWND a = NewChild(L"Alpha");
    const HWND b = NewChild(L"Beta");
    SendMessageW(g_client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(b), 0);
    BOOL bMax = FALSE;
    EXPECT_EQ(Active(&bMax), b);
    EXPECT_TRUE(bMax);
    EXPECT_TRUE(IsZoomed(b));
    // The system menu in front, minimise / restore / close at the right end.
    ASSERT_EQ(GetMenuItemCount(m_bar), barItems + 4);
    EXPECT_EQ(BarBitmap(0), HBMMENU_SYSTEM);
    EXPECT_EQ(GetSubMenu(m_bar, 0), GetSystemMenu(b, FALSE));
    EXPECT_EQ(BarBitmap(barItems + 1), HBMMENU_MBAR_MINIMIZE);
    EXPECT_EQ(BarBitmap(barItems + 2), HBMMENU_MBAR_RESTORE);
    EXPECT_EQ(BarBitmap(barItems + 3), HBMMENU_MBAR_CLOSE);
    EXPECT_EQ(GetMenuItemID(m_bar, barItems + 3), static_cast<UINT>(SC_CLOSE));
    // The maximised child's client area covers the MDI client.
    RECT rcClient{}, rcChild{};
    GetClientRect(g_client, &rcClient);
    GetClientRect(b, &rcChild);
    EXPECT_EQ(rcChild.right, rcClient.right);
    EXPECT_EQ(rcChild.bottom, rcClient.bottom);

    // The maximised state passes to the next child; the buttons stay once.
    SendMessageW(g_client, WM_MDINEXT, 0, 0);
    EXPECT_EQ(Active(&bMax), a);
    EXPECT_TRUE(bMax);
    EXPECT_TRUE(IsZoomed(a));
    EXPECT_FALSE(IsZoomed(b));
    EXPECT_EQ(GetMenuItemCount(m_bar), barItems + 4);
    EXPECT_EQ(GetSystemMenu(a, FALSE), GetSubMenu(m_bar, 0));

    // A child created now is maximised too.
    const HWND c = NewChild(L"Gamma");
    EXPECT_TRUE(IsZoomed(c));
    EXPECT_FALSE(IsZoomed(a));
    EXPECT_EQ(GetMenuItemCount(m_bar), barItems + 4);

    // Restoring takes the buttons away.
    SendMessageW(g_client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(c), 0);
    EXPECT_FALSE(IsZoomed(c));
    EXPECT_EQ(GetMenuItemCount(m_bar), barItems);
    EXPECT_EQ(BarBitmap(0), nullptr);
}

TEST_F(MdiClientTest, AMaximisedChildFollowsTheClientsSizeWithOrWithoutAFrameMenu)
{
    // A frame whose menu is shown by a menu bar of its own keeps no window-system menu:
    // the client has nowhere to put the child's buttons, and the child must still fill it.
    for (const bool menu : {true, false}) {
        SCOPED_TRACE(menu ? "the frame has its menu" : "the frame has no menu");
        if (!menu)
            SetMenu(m_frame, nullptr);
        const HWND child = NewChild(L"Doc");
        SendMessageW(g_client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
        ASSERT_TRUE(IsZoomed(child));
        for (const SIZE size : {SIZE{600, 300}, SIZE{700, 450}}) {
            MoveWindow(g_client, 0, 0, size.cx, size.cy, TRUE);
            RECT inner{};
            GetClientRect(child, &inner);
            EXPECT_EQ(inner.right, size.cx);
            EXPECT_EQ(inner.bottom, size.cy);
        }
        SendMessageW(g_client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
        MoveWindow(g_client, 0, 0, 780, 500, TRUE);
    }
}

TEST_F(MdiClientTest, DestroyPassesActivationAndMaximisedStateOn)
{
    const int barItems = GetMenuItemCount(m_bar);
    const HWND a = NewChild(L"Alpha");
    const HWND b = NewChild(L"Beta");
    SendMessageW(g_client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(b), 0);
    SendMessageW(g_client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(b), 0);
    EXPECT_FALSE(IsWindow(b));
    BOOL bMax = FALSE;
    EXPECT_EQ(Active(&bMax), a);
    EXPECT_TRUE(bMax);
    EXPECT_EQ(GetMenuItemCount(m_bar), barItems + 4);
    EXPECT_EQ(WindowMenuTexts(), (std::vector<std::wstring>{L"&Cascade", L"", L"&1 Alpha"}));

    // The close button's command reaches the maximised child through DefFrameProc; its
    // WM_CLOSE destroys it through the client.
    SendMessageW(m_frame, WM_COMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(a));
    EXPECT_EQ(Active(), nullptr);
    EXPECT_EQ(user::MdiChildCount(g_client), 0u);
    EXPECT_EQ(GetMenuItemCount(m_bar), barItems);
    EXPECT_EQ(WindowMenuTexts(), (std::vector<std::wstring>{L"&Cascade"}));

    // A child destroyed directly leaves the client's list too.
    const HWND c = NewChild(L"Gamma");
    DestroyWindow(c);
    EXPECT_EQ(user::MdiChildCount(g_client), 0u);
    EXPECT_EQ(Active(), nullptr);
}

TEST_F(MdiClientTest, SetMenuMovesTheListAndTheButtons)
{
    const HWND a = NewChild(L"Alpha");
    SendMessageW(g_client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(a), 0);
    const HMENU bar2 = CreateMenu();
    const HMENU win2 = CreatePopupMenu();
    AppendMenuW(win2, MF_STRING, 0xE131, L"&Arrange");
    AppendMenuW(bar2, MF_POPUP, reinterpret_cast<UINT_PTR>(win2), L"&Window");
    const HMENU old = reinterpret_cast<HMENU>(
        SendMessageW(g_client, WM_MDISETMENU, reinterpret_cast<WPARAM>(bar2), reinterpret_cast<LPARAM>(win2)));
    EXPECT_EQ(old, m_bar);
    EXPECT_EQ(GetMenu(m_frame), bar2);
    // The old menus lost the list and the buttons; the new ones have them.
    EXPECT_EQ(WindowMenuTexts(), (std::vector<std::wstring>{L"&Cascade"}));
    EXPECT_EQ(GetMenuItemCount(m_bar), 2);
    EXPECT_EQ(GetMenuItemCount(win2), 3);
    EXPECT_EQ(GetMenuItemCount(bar2), 1 + 4);
    // Put the first bar back so each menu is freed once (the frame frees its bar).
    SendMessageW(g_client, WM_MDISETMENU, reinterpret_cast<WPARAM>(m_bar), reinterpret_cast<LPARAM>(m_window));
    EXPECT_EQ(GetMenuItemCount(bar2), 1);
    DestroyMenu(bar2);
}

TEST_F(MdiClientTest, TileAndCascadeArrangeTheVisibleChildren)
{
    // With nothing to arrange, the arrangement fails.
    EXPECT_EQ(SendMessageW(g_client, WM_MDITILE, MDITILE_VERTICAL, 0), FALSE);
    EXPECT_EQ(SendMessageW(g_client, WM_MDICASCADE, 0, 0), FALSE);
    const HWND a = NewChild(L"Alpha");
    const HWND b = NewChild(L"Beta");
    // Only a client with MDIS_ALLCHILDSTYLES makes a child with the style asked for: hidden.
    SetWindowLongPtrW(g_client, GWL_STYLE, GetWindowLongPtrW(g_client, GWL_STYLE) | MDIS_ALLCHILDSTYLES);
    const HWND hidden = NewChild(L"Hidden", WS_CHILD | WS_CAPTION);
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_EQ(Active(), b) << "a hidden child is not activated";
    EXPECT_EQ(SendMessageW(g_client, WM_MDITILE, MDITILE_VERTICAL, 0), TRUE);
    RECT ra{}, rb{}, rc{};
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    GetClientRect(g_client, &rc);
    EXPECT_EQ(ra.right - ra.left, rc.right / 2);
    EXPECT_EQ(ra.top, rb.top);
    EXPECT_NE(ra.left, rb.left);
    EXPECT_EQ(SendMessageW(g_client, WM_MDICASCADE, 0, 0), TRUE);
    EXPECT_EQ(SendMessageW(g_client, WM_MDIICONARRANGE, 0, 0), 0);
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    EXPECT_EQ(rb.left - ra.left, rb.top - ra.top);
    EXPECT_NE(ra.left, rb.left);
}

// Whether every pixel of a screen strip has the system colour `index`, naming the first
// that has not.
::testing::AssertionResult StripIs(const RECT& strip, int index, const char* what)
{
    const GoldenPicture pic = CaptureScreen(strip);
    const COLORREF c = GetSysColor(index);
    const uint32_t want = (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c);
    for (size_t i = 0; i < pic.pixels.size(); ++i)
        if (pic.pixels[i] != want)
            return ::testing::AssertionFailure() << what << ": pixel (" << strip.left + int(i) % pic.width << ", "
                                                 << strip.top + int(i) / pic.width << ") is " << std::hex << pic.pixels[i]
                                                 << ", not " << want;
    return ::testing::AssertionSuccess();
}

// A maximised child's frame lies outside the client's client area, clipped by it: the
// client's sunken edge stays the client's, and what a window over it leaves is painted
// again, edge included (a menu dropped over the corner, a box's button over the bottom).
TEST_F(MdiClientTest, AMaximisedChildLeavesTheClientsEdgeToTheClient)
{
    SetWindowLongPtrW(g_client, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
    SetWindowPos(g_client, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    WNDCLASSW box{};
    box.lpfnWndProc = &DefWindowProcW;
    box.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_3DFACE + 1));
    box.lpszClassName = L"TestBox";
    ASSERT_NE(RegisterClassW(&box), 0);
    const HWND child = NewChild(L"Doors");
    SendMessageW(g_client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    ASSERT_TRUE(IsZoomed(child));
    RECT e{};
    GetWindowRect(g_client, &e);
    // EDGE_SUNKEN: the outer lines (i = 0) shadow above and left, highlight below and right;
    // the inner ones (i = 1) dark shadow and light. The corners, where the lines meet, are
    // left out.
    const auto edgeIsSunken = [&e]() -> ::testing::AssertionResult {
        for (int i = 0; i < 2; ++i) {
            const int upper = i ? COLOR_3DDKSHADOW : COLOR_3DSHADOW, lower = i ? COLOR_3DLIGHT : COLOR_3DHILIGHT;
            const char* what = i ? "inner line" : "outer line";
            for (auto r : {StripIs({e.left + 2, e.top + i, e.right - 2, e.top + i + 1}, upper, what),
                     StripIs({e.left + i, e.top + 2, e.left + i + 1, e.bottom - 2}, upper, what),
                     StripIs({e.left + 2, e.bottom - 1 - i, e.right - 2, e.bottom - i}, lower, what),
                     StripIs({e.right - 1 - i, e.top + 2, e.right - i, e.bottom - 2}, lower, what)})
                if (!r)
                    return r;
        }
        return ::testing::AssertionSuccess();
    };
    Pump();
    EXPECT_TRUE(edgeIsSunken()) << "maximised";

    const struct {
        const char* name;
        std::function<void()> sequence;
    } rows[] = {
        {"a menu dropped over the client's top-left corner, then closed",
            [&e] {
                const HMENU menu = CreatePopupMenu();
                for (const wchar_t* item : {L"Doors", L"Operators", L"Archive Old Events", L"Session Log"})
                    AppendMenuW(menu, MF_STRING, 200, item);
                user::InjectKeyPress(VK_ESCAPE);
                TrackPopupMenu(menu, TPM_RETURNCMD, e.left - 30, e.top - 10, 0, g_client, nullptr);
                DestroyMenu(menu);
            }},
        {"a box whose Cancel button lies over the client's bottom edge, then gone",
            [&e] {
                const HWND over = CreateWindowExW(0, L"TestBox", L"", WS_POPUP | WS_BORDER | WS_VISIBLE, e.left + 100,
                    e.bottom - 30, 240, 60, nullptr, nullptr, nullptr, nullptr);
                CreateWindowExW(0, L"BUTTON", L"Cancel", WS_CHILD | WS_VISIBLE, 80, 20, 75, 23, over, nullptr,
                    nullptr, nullptr);
                Pump();
                DestroyWindow(over);
            }},
    };
    for (const auto& row : rows) {
        // Each sequence starts from a client painted whole.
        RedrawWindow(g_client, nullptr, nullptr,
            RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        ASSERT_TRUE(edgeIsSunken()) << "before: " << row.name;
        row.sequence();
        Pump();
        EXPECT_TRUE(edgeIsSunken()) << row.name;
    }
}

} // namespace
} // namespace zyn::test
