// The skinned tab control and its arrows: painting through the current tab skin (the
// Classic look is the system's own tabs, pixel for pixel), the skin each control finds,
// the overflow up-down taken over by the XP and 2003 skins, and the arrows' shared hover
// hook: set once for all of them, removed with the last, repainting the arrows the mouse
// leaves.
#include <typeinfo>

#include "platform/comctl/tabctrl.h"
#include "platform/comctl/updown.h"
#include "platform/user/driver.h"
#include "platform/user/paint.h"
#include "platform/user/window.h"
#include "tests/docking/tab_test_support.h"
#include "toolkit/skins/skin_table.h"
#include "toolkit/skins/tab_skin.h"

namespace docktest {
namespace {

COXSkinTable* g_table = nullptr;
COXSkin* TableSource() { return g_table ? g_table->GetCurrentSkin() : nullptr; }

// The application's skins for one case: none (skin = null) or the standard ones with
// the named one current.
class CurrentSkin {
public:
    explicit CurrentSkin(const wchar_t* skin)
    {
        if (!skin)
            return;
        m_table.AddStandardSkins();
        EXPECT_TRUE(m_table.SetCurrentSkin(skin));
        g_table = &m_table;
        OXSetSkinSource(&TableSource);
    }
    ~CurrentSkin()
    {
        OXSetSkinSource(nullptr);
        g_table = nullptr;
    }
    CurrentSkin(const CurrentSkin&) = delete;
    CurrentSkin& operator=(const CurrentSkin&) = delete;
    COXSkinTable& Table() { return m_table; }

private:
    COXSkinTable m_table;
};

constexpr const wchar_t* kParentClass = L"DockTabTestParent";

class SkinnedTab : public DockTabTest {
protected:
    void SetUp() override
    {
        DockTabTest::SetUp();
        WNDCLASSW wc{};
        wc.lpfnWndProc = &DefWindowProcW;
        wc.lpszClassName = kParentClass;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        ASSERT_NE(RegisterClassW(&wc), 0);
    }
    void TearDown() override
    {
        if (parent && ::IsWindow(parent))
            ::DestroyWindow(parent);
        DockTabTest::TearDown();
    }

    // A visible popup at the screen's origin, 600 x 300: client and screen coincide.
    HWND MakeParent()
    {
        parent = ::CreateWindowExW(0, kParentClass, L"", WS_POPUP | WS_VISIBLE, 0, 0, 600, 300, nullptr, nullptr,
            nullptr, nullptr);
        return parent;
    }
    static void AddTabs(HWND tab, int count)
    {
        static const wchar_t* const texts[] = {L"One", L"Two", L"Three", L"Four", L"Five"};
        for (int i = 0; i < count; ++i) {
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<wchar_t*>(texts[i % 5]);
            ::SendMessageW(tab, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        }
    }
    // A skinned tab control at (x, y) with four tabs, the second selected.
    static bool MakeSkinned(COXSkinnedTabCtrl& tab, HWND hParent, DWORD style, int x, int y, int cx, UINT id = 101)
    {
        if (!tab.Create(WS_VISIBLE | style, CRect(x, y, x + cx, y + 60), CWnd::FromHandle(hParent), id))
            return false;
        AddTabs(tab.m_hWnd, 4);
        tab.SetCurSel(1);
        return true;
    }
    static HWND UpDownChild(HWND tab)
    {
        for (HWND h = ::GetWindow(tab, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
            wchar_t name[32] = {};
            ::GetClassNameW(h, name, 32);
            if (std::wstring(name) == UPDOWN_CLASSW)
                return h;
        }
        return nullptr;
    }
    static bool HasUpdate(HWND h)
    {
        RECT r{};
        return ::GetUpdateRect(h, &r, FALSE) && r.right > r.left && r.bottom > r.top;
    }

    HWND parent = nullptr;
};

// The Classic skin leaves the tabs to the control; XP and 2003 paint the same until their
// own look is drawn. Both controls sit in the same parent, so only the tabs can differ.
TEST_F(SkinnedTab, PaintsPixelForPixelAsThePlainTabControl)
{
    struct Row {
        const char* what;
        const wchar_t* skin;
        DWORD style;
        int width;   // 300 holds the four tabs; 120 does not, and the arrows show
    };
    const Row rows[] = {
        {"no skin, top tabs", nullptr, 0, 300},
        {"no skin, bottom tabs", nullptr, TCS_BOTTOM, 300},
        {"no skin, arrows", nullptr, 0, 120},
        {"Classic, top tabs", L"Classic", 0, 300},
        {"Classic, arrows", L"Classic", TCS_BOTTOM, 120},
        {"Office XP, top tabs", L"Office XP", 0, 300},
        {"Office XP, arrows", L"Office XP", 0, 120},
        {"Office 2003, bottom tabs", L"Office 2003", TCS_BOTTOM, 300},
        {"Office 2003, arrows", L"Office 2003", TCS_BOTTOM, 120},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CurrentSkin skin(row.skin);
        MakeParent();
        HWND plain = ::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | row.style, 10, 10, row.width,
            60, parent, nullptr, nullptr, nullptr);
        AddTabs(plain, 4);
        ::SendMessageW(plain, TCM_SETCURSEL, 1, 0);
        COXSkinnedTabCtrl skinned;
        ASSERT_TRUE(MakeSkinned(skinned, parent, row.style, 10, 100, row.width));
        Pump();

        EXPECT_FALSE(HasUpdate(skinned.m_hWnd)) << "the paint was not taken";
        EXPECT_EQ(UpDownChild(skinned.m_hWnd) != nullptr, row.width == 120);
        const std::vector<COLORREF> want = ScreenPixels(CRect(10, 10, 10 + row.width, 70));
        const std::vector<COLORREF> got = ScreenPixels(CRect(10, 100, 10 + row.width, 160));
        ASSERT_EQ(got.size(), want.size());
        size_t differ = 0;
        for (size_t i = 0; i < got.size(); ++i)
            differ += got[i] != want[i];
        EXPECT_EQ(differ, 0u) << "pixels that differ from the plain control's";
        skinned.DestroyWindow();
        ::DestroyWindow(parent);
    }
}

TEST_F(SkinnedTab, EachControlPaintsWithTheCurrentSkinsTabSkinOrItsOwnClassicOne)
{
    MakeParent();
    {
        // No skin: each control makes one Classic tab skin and keeps it.
        COXSkinnedTabCtrl first, second;
        COXSkinnedSpinCtrl spin;
        COXTabSkin* own = first.GetTabSkin();
        ASSERT_NE(own, nullptr);
        EXPECT_EQ(typeid(*own), typeid(COXTabSkinClassic));
        EXPECT_EQ(first.GetTabSkin(), own) << "made again";
        EXPECT_NE(second.GetTabSkin(), own) << "shared between controls";
        EXPECT_EQ(typeid(*spin.GetTabSkin()), typeid(COXTabSkinClassic));
        EXPECT_EQ(spin.GetTabSkin(), spin.GetTabSkin());
    }
    for (const wchar_t* name : {L"Classic", L"Office XP", L"Office 2003"}) {
        CurrentSkin skin(name);
        COXSkinnedTabCtrl tab;
        COXSkinnedSpinCtrl spin;
        COXTabSkin* expected = skin.Table().GetSkin(name)->GetTabSkin();
        EXPECT_EQ(tab.GetTabSkin(), expected);
        EXPECT_EQ(spin.GetTabSkin(), expected);
        // The skin is asked afresh at each call.
        ASSERT_TRUE(skin.Table().SetCurrentSkin(name == std::wstring(L"Classic") ? L"Office XP" : L"Classic"));
        EXPECT_NE(tab.GetTabSkin(), expected);
    }
}

TEST_F(SkinnedTab, TheXpAnd2003SkinsTakeOverTheOverflowArrowsOnce)
{
    struct Row {
        const char* what;
        const wchar_t* skin;
        int width;
        bool attached;
    };
    const Row rows[] = {
        {"no skin, arrows", nullptr, 120, false},
        {"Classic, arrows", L"Classic", 120, false},
        {"Office XP, tabs fit", L"Office XP", 300, false},
        {"Office XP, arrows", L"Office XP", 120, true},
        {"Office 2003, arrows", L"Office 2003", 120, true},
    };
    const size_t hooks = zyn::user::LiveHookCount();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CurrentSkin skin(row.skin);
        MakeParent();
        COXSkinnedTabCtrl tab;
        ASSERT_TRUE(MakeSkinned(tab, parent, 0, 10, 10, row.width));
        Pump();
        const HWND updown = UpDownChild(tab.m_hWnd);
        EXPECT_EQ(tab.GetSpinCtrl()->m_hWnd, row.attached ? updown : nullptr);
        EXPECT_EQ(CWnd::FromHandlePermanent(updown) == tab.GetSpinCtrl(), row.attached);
        EXPECT_EQ(zyn::user::LiveHookCount(), hooks + (row.attached ? 1 : 0));
        EXPECT_EQ(COXSkinnedSpinCtrl::m_mouseHook.GetUserCount(), row.attached ? 1 : 0);
        // Later paints keep the arrows they have.
        tab.Invalidate();
        Pump();
        EXPECT_EQ(COXSkinnedSpinCtrl::m_mouseHook.GetUserCount(), row.attached ? 1 : 0);
        tab.DestroyWindow();
        EXPECT_EQ(tab.GetSpinCtrl()->m_hWnd, nullptr);
        EXPECT_EQ(zyn::user::LiveHookCount(), hooks) << "the hook outlived the arrows";
        ::DestroyWindow(parent);
    }
}

// One hook for every spin control; it goes only with the last of them, whether that one
// is destroyed through its window or through its object.
TEST_F(SkinnedTab, TheHoverHookIsSharedAndRemovedWithTheLastArrows)
{
    CurrentSkin skin(L"Office XP");
    MakeParent();
    const size_t hooks = zyn::user::LiveHookCount();
    COXSkinnedTabCtrl first;
    auto second = std::make_unique<COXSkinnedTabCtrl>();
    ASSERT_TRUE(MakeSkinned(first, parent, 0, 10, 10, 120, 101));
    ASSERT_TRUE(MakeSkinned(*second, parent, 0, 10, 100, 120, 102));
    Pump();
    ASSERT_NE(first.GetSpinCtrl()->m_hWnd, nullptr);
    ASSERT_NE(second->GetSpinCtrl()->m_hWnd, nullptr);
    EXPECT_EQ(zyn::user::LiveHookCount(), hooks + 1) << "one hook for the class";
    EXPECT_EQ(COXSkinnedSpinCtrl::m_mouseHook.GetUserCount(), 2);

    first.DestroyWindow();
    EXPECT_TRUE(COXSkinnedSpinCtrl::m_mouseHook.IsInstalled()) << "removed while other arrows remain";
    EXPECT_EQ(COXSkinnedSpinCtrl::m_mouseHook.GetUserCount(), 1);

    second.reset();   // the window goes with the object
    EXPECT_FALSE(COXSkinnedSpinCtrl::m_mouseHook.IsInstalled());
    EXPECT_EQ(zyn::user::LiveHookCount(), hooks);

    // Arrows made on their own, and deleted with their window still there.
    auto alone = std::make_unique<COXSkinnedSpinCtrl>();
    ASSERT_TRUE(alone->Create(WS_VISIBLE | UDS_HORZ, CRect(400, 10, 440, 30), CWnd::FromHandle(parent), 104));
    EXPECT_TRUE(COXSkinnedSpinCtrl::m_mouseHook.IsInstalled());
    alone.reset();
    EXPECT_FALSE(COXSkinnedSpinCtrl::m_mouseHook.IsInstalled());
    EXPECT_EQ(zyn::user::LiveHookCount(), hooks);

    // A new control sets it again.
    COXSkinnedTabCtrl third;
    ASSERT_TRUE(MakeSkinned(third, parent, 0, 10, 200, 120, 103));
    Pump();
    EXPECT_TRUE(COXSkinnedSpinCtrl::m_mouseHook.IsInstalled());
    third.DestroyWindow();
    EXPECT_EQ(zyn::user::LiveHookCount(), hooks);
}

// The hook sends the arrows the mouse left a move to (0, 0), which invalidates them; a
// move between two other windows leaves them alone. The hook runs when the move is taken
// from the queue, so the arrows' update region shows it before anything is dispatched.
TEST_F(SkinnedTab, ArrowsTheMouseLeavesAreRepainted)
{
    CurrentSkin skin(L"Office XP");
    MakeParent();
    COXSkinnedTabCtrl tab;
    ASSERT_TRUE(MakeSkinned(tab, parent, 0, 10, 10, 120));
    HWND other = ::CreateWindowExW(0, kParentClass, L"", WS_POPUP | WS_VISIBLE, 300, 400, 100, 100, nullptr, nullptr,
        nullptr, nullptr);
    Pump();
    const HWND spin = tab.GetSpinCtrl()->m_hWnd;
    ASSERT_NE(spin, nullptr);
    CRect spinRect;
    ::GetWindowRect(spin, &spinRect);
    const CPoint inTab = ScreenOf(tab, CPoint(5, 40));   // the tab control's display area

    struct Row {
        const char* what;
        CPoint from, to;
        bool repainted;
    };
    const Row rows[] = {
        {"arrows to the parent", spinRect.CenterPoint(), CPoint(300, 200), true},
        {"arrows to their own tab control", spinRect.CenterPoint(), inTab, true},
        {"arrows to another top-level window", spinRect.CenterPoint(), CPoint(350, 450), true},
        {"parent to another window", CPoint(300, 200), CPoint(350, 450), false},
        {"tabs to parent", inTab, CPoint(300, 200), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        MoveTo(row.from);
        ::ValidateRect(spin, nullptr);
        zyn::user::InjectMouseMove(row.to.x, row.to.y);
        MSG m{};
        ASSERT_TRUE(::PeekMessageW(&m, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
        EXPECT_EQ(HasUpdate(spin), row.repainted);
        ::DispatchMessageW(&m);
        Pump();
    }
    ::DestroyWindow(other);
    tab.DestroyWindow();
}

} // namespace
} // namespace docktest
