// The skinned tab control and its arrows: painting through the current tab skin (the
// Classic look is the system's own tabs, pixel for pixel; XP and 2003 draw their own and
// take over the overflow up-down), the skin each control finds, and the arrows' shared
// hover hook: set once, removed with the last arrows, repainting the arrows the mouse
// leaves.
#include <typeinfo>

#include "tests/docking/skin_table_scope.h"
#include "tests/docking/tab_test_support.h"
#include "toolkit/skins/skin_table.h"
#include "toolkit/skins/tab_skin.h"

namespace docktest {
namespace {

class SkinnedTab : public DockTabTest {
protected:
    void TearDown() override
    {
        if (parent && ::IsWindow(parent))
            ::DestroyWindow(parent);
        DockTabTest::TearDown();
    }
    // A visible popup at the screen's origin (client and screen coincide).
    HWND MakeParent() { return parent = MakePlainWindow(WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 300)); }
    static void AddTabs(HWND tab)
    {
        for (const wchar_t* text : {L"One", L"Two", L"Three", L"Four"}) {
            TCITEMW item{TCIF_TEXT, 0, 0, const_cast<wchar_t*>(text), 0, -1, 0};
            ::SendMessageW(tab, TCM_INSERTITEMW, 99, reinterpret_cast<LPARAM>(&item));
        }
        ::SendMessageW(tab, TCM_SETCURSEL, 1, 0);
    }
    // 300 pixels hold the four tabs; 120 do not, and the arrows show.
    bool MakeSkinned(COXSkinnedTabCtrl& tab, DWORD style, int y, int cx, UINT id = 101)
    {
        if (!tab.Create(WS_VISIBLE | style, CRect(10, y, 10 + cx, y + 60), CWnd::FromHandle(parent), id))
            return false;
        AddTabs(tab.m_hWnd);
        Pump();
        return true;
    }
    static bool HasUpdate(HWND h)
    {
        RECT r{};
        return ::GetUpdateRect(h, &r, FALSE) && !::IsRectEmpty(&r);
    }
    static COXClassMouseHook& Hook() { return COXSkinnedSpinCtrl::m_mouseHook; }

    HWND parent = nullptr;
};

TEST_F(SkinnedTab, PaintsAsThePlainTabControlAndXpAnd2003TakeOverTheArrows)
{
    struct Row {
        const char* what;
        const wchar_t* skin;
        DWORD style;
        int width;
        bool attached;   // the arrows subclassed into the control's spin object
    };
    const Row rows[] = {
        {"no skin", nullptr, 0, 300, false},
        {"no skin, bottom, arrows", nullptr, TCS_BOTTOM, 120, false},
        {"Classic, arrows", L"Classic", 0, 120, false},
        {"XP", L"Office XP", 0, 300, false},
        {"XP, arrows", L"Office XP", 0, 120, true},
        {"2003, bottom, arrows", L"Office 2003", TCS_BOTTOM, 120, true},
    };
    const size_t hooks = zyn::user::LiveHookCount();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        StandardSkinScope skin(row.skin);
        MakeParent();
        HWND plain = ::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | row.style, 10, 10, row.width,
            60, parent, nullptr, nullptr, nullptr);
        AddTabs(plain);
        COXSkinnedTabCtrl tab;
        ASSERT_TRUE(MakeSkinned(tab, row.style, 100, row.width));

        EXPECT_FALSE(HasUpdate(tab.m_hWnd)) << "the paint was left pending";
        const std::vector<COLORREF> want = ScreenPixels(CRect(10, 10, 10 + row.width, 70));
        const std::vector<COLORREF> got = ScreenPixels(CRect(10, 100, 10 + row.width, 160));
        // Classic is the system's own look; XP and 2003 draw their flat one.
        EXPECT_EQ(got == want, !row.attached && (!row.skin || row.skin[0] == L'C'))
            << "the look is not the skin's";

        const HWND updown = ::FindWindowExW(tab.m_hWnd, nullptr, UPDOWN_CLASSW, nullptr);
        EXPECT_EQ(updown != nullptr, row.width == 120);
        EXPECT_EQ(tab.GetSpinCtrl()->m_hWnd, row.attached ? updown : nullptr);
        EXPECT_EQ(zyn::user::LiveHookCount(), hooks + row.attached);
        tab.Invalidate();   // later paints keep the arrows they have
        Pump();
        EXPECT_EQ(Hook().GetUserCount(), row.attached ? 1 : 0);
        tab.DestroyWindow();
        EXPECT_EQ(zyn::user::LiveHookCount(), hooks) << "the hook outlived the arrows";
        ::DestroyWindow(parent);
    }
}

TEST_F(SkinnedTab, EachControlPaintsWithTheCurrentTabSkinOrItsOwnClassicOne)
{
    {
        COXSkinnedTabCtrl first, second;
        COXSkinnedSpinCtrl spin;
        COXTabSkin* own = first.GetTabSkin();
        EXPECT_EQ(typeid(*own), typeid(COXTabSkinClassic));
        EXPECT_EQ(first.GetTabSkin(), own) << "made again";
        EXPECT_NE(second.GetTabSkin(), own) << "shared between controls";
        EXPECT_EQ(typeid(*spin.GetTabSkin()), typeid(COXTabSkinClassic));
    }
    for (const wchar_t* name : {L"Classic", L"Office XP", L"Office 2003"}) {
        StandardSkinScope skin(name);
        COXSkinnedTabCtrl tab;
        COXSkinnedSpinCtrl spin;
        COXTabSkin* expected = skin.table.GetSkin(name)->GetTabSkin();
        EXPECT_EQ(tab.GetTabSkin(), expected);
        EXPECT_EQ(spin.GetTabSkin(), expected);
    }
}

// One hook for all arrows; it goes with the last of them, destroyed through its window or
// through its object (whose window then no longer reaches the arrows' OnDestroy).
TEST_F(SkinnedTab, TheHoverHookIsSharedAndRemovedWithTheLastArrows)
{
    StandardSkinScope skin(L"Office XP");
    MakeParent();
    const size_t hooks = zyn::user::LiveHookCount();
    COXSkinnedTabCtrl first;
    auto second = std::make_unique<COXSkinnedTabCtrl>();
    ASSERT_TRUE(MakeSkinned(first, 0, 10, 120, 101));
    ASSERT_TRUE(MakeSkinned(*second, 0, 100, 120, 102));
    EXPECT_EQ(zyn::user::LiveHookCount(), hooks + 1);
    EXPECT_EQ(Hook().GetUserCount(), 2);
    first.DestroyWindow();
    EXPECT_TRUE(Hook().IsInstalled()) << "removed while other arrows remain";
    second.reset();
    EXPECT_FALSE(Hook().IsInstalled());

    auto alone = std::make_unique<COXSkinnedSpinCtrl>();
    ASSERT_TRUE(alone->Create(WS_VISIBLE | UDS_HORZ, CRect(400, 10, 440, 30), CWnd::FromHandle(parent), 104));
    EXPECT_TRUE(Hook().IsInstalled()) << "not set again";
    alone.reset();
    EXPECT_FALSE(Hook().IsInstalled());
    EXPECT_EQ(zyn::user::LiveHookCount(), hooks);
}

// The hook runs as a move is taken from the queue: the arrows the mouse left are sent a
// move to (0, 0), which invalidates them before anything is dispatched.
TEST_F(SkinnedTab, ArrowsTheMouseLeavesAreRepainted)
{
    StandardSkinScope skin(L"Office XP");
    MakeParent();
    COXSkinnedTabCtrl tab;
    ASSERT_TRUE(MakeSkinned(tab, 0, 10, 120));
    HWND other = MakePlainWindow(WS_POPUP | WS_VISIBLE, CRect(300, 400, 400, 500));
    Pump();
    const HWND spin = tab.GetSpinCtrl()->m_hWnd;
    ASSERT_NE(spin, nullptr);
    CRect spinRect;
    ::GetWindowRect(spin, &spinRect);
    const CPoint onSpin = spinRect.CenterPoint(), inTab = ScreenOf(tab, CPoint(5, 40)), inParent(300, 200),
                 inOther(350, 450);
    struct Row {
        const char* what;
        CPoint from, to;
        bool repainted;
    };
    const Row rows[] = {
        {"arrows to the parent", onSpin, inParent, true},
        {"arrows to their tab control", onSpin, inTab, true},
        {"arrows to another top-level window", onSpin, inOther, true},
        {"parent to another window", inParent, inOther, false},
        {"tab control to parent", inTab, inParent, false},
    };
    for (const Row& row : rows) {
        MoveTo(row.from);
        ::ValidateRect(spin, nullptr);
        zyn::user::InjectMouseMove(row.to.x, row.to.y);
        MSG m{};
        ASSERT_TRUE(::PeekMessageW(&m, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
        EXPECT_EQ(HasUpdate(spin), row.repainted) << row.what;
        ::DispatchMessageW(&m);
        Pump();
    }
    ::DestroyWindow(other);
}

} // namespace
} // namespace docktest
