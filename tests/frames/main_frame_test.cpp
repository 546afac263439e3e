// The suite's main frames: the toolbar registry and its View>Toolbars items, the View
// commands with and without an operator, labels, the show-object message, closing while
// badges print, and the saved state (placement in screen coordinates, maximised state,
// docked and floating bars, labels, tabs, "SaveSettings") across a reopened frame,
// including a layout naming a toolbar the host no longer makes and a monitor that went.
#include <climits>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/zyn_app.h"
#include "app/zyncmn_resources.h"
#include "frames/main_frame_state.h"
#include "frames/zyn_main_frame.h"
#include "frames/zyn_sdi_main_frame.h"
#include "platform/afx/afxres.h"
#include "platform/afx/cmdui.h"
#include "platform/afx/dockbar.h"
#include "platform/afx/miniframe.h"
#include "model/zyn_acobject.h"
#include "platform/suite/user/acs_user.h"
#include "platform/user/monitor.h"
#include "platform/user/winpos.h"
#include "toolkit/docking/frame_size_dock.h"
#include "toolkit/docking/size_control_bar.h"
#include "tests/frames/frames_test_support.h"
#include "tests/support/testenv.h"
#include "tests/frames/program_toolbars_ids.h"

namespace zyn::test {
namespace {

class CTestBar : public CZynToolbar {
public:
    explicit CTestBar(UINT caption) : CZynToolbar(16, 15), m_caption(caption) {}
    UINT CaptionResourceID() const override { return m_caption; }
    UINT ToolbarResourceID() const override { return IDR_TB_TOOLS; }

private:
    UINT m_caption;
};

constexpr UINT ID_FILE_X = 0x8201, ID_WINDOW_X = 0x8202;

// File, Edit, View, Window; the toolbar submenu (first item 57025) opens the menu at
// `toolbarMenuAt` (-1: none).
HMENU MakeMenu(int toolbarMenuAt = 2)
{
    const HMENU bar = CreateMenu();
    const wchar_t* names[] = {L"&File", L"&Edit", L"&View", L"&Window"};
    for (int i = 0; i < 4; ++i) {
        const HMENU popup = CreatePopupMenu();
        if (i == toolbarMenuAt) {
            const HMENU toolbars = CreatePopupMenu();
            AppendMenuW(toolbars, MF_STRING, CZynMainFrame::ID_VIEW_TOOLBAR_DEFAULTS, L"&Defaults");
            AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(toolbars), L"&Toolbars");
        }
        AppendMenuW(popup, MF_STRING, i == 3 ? ID_WINDOW_X : ID_FILE_X, L"&Item");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), names[i]);
    }
    return bar;
}

class CTestMainFrame : public CZynMainFrame {
public:
    BOOL Make(HMENU hMenu, const CRect& rect = CRect(150, 120, 850, 620))
    {
        return CreateFrame(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect, nullptr, hMenu, 0, nullptr);
    }
    // Makes, docks and registers a toolbar.
    BOOL Add(CZynToolbar& bar, UINT dockBar = AFX_IDW_DOCKBAR_TOP)
    {
        if (!bar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP))
            return FALSE;
        DockControlBar(&bar, dockBar);
        return AddToolbar(&bar);
    }
    using CZynMainFrame::AddToolbar;
    using CZynMainFrame::FindViewToolbarMenu;
    using CZynMainFrame::SetToolbarLabels;
    using CZynMainFrame::ToolbarLabelsShown;
    int defaultsSet = 0;

protected:
    void SetDefaultBarLocations() override
    {
        ++defaultsSet;
        CZynMainFrame::SetDefaultBarLocations();
    }
};

// The check and enable state an update handler gives a command.
struct UiState {
    int check = -1;
    int enabled = -1;
};
class CProbeCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override { state.enabled = bOn ? 1 : 0; }
    void SetCheck(int nCheck) override { state.check = nCheck; }
    UiState state;
};

class MainFrameTest : public FramesTest {
protected:
    void SetUp() override
    {
        FramesTest::SetUp();
        ASSERT_NE(resources::RegisterZynCommonResources(), nullptr);
        app.SetRegistryKey(L"ZynMainFrameTests");
        for (const wchar_t* section : {L"View", L"WindowPlacement", L"ControlBarState-Summary"})
            app.WriteProfileString(section, nullptr, nullptr);
        CZynApp::SetBadgePrintInProgressForTests(false);
    }
    void TearDown() override
    {
        CZynApp::SetBadgePrintInProgressForTests(false);
        Drop();
        user::ResetMonitors();
        FramesTest::TearDown();
    }
    CTestMainFrame& Open(HMENU hMenu = MakeMenu(), const CRect& rect = CRect(150, 120, 850, 620))
    {
        Drop();
        frame = new CTestMainFrame;   // deletes itself with its window
        EXPECT_TRUE(frame->Make(hMenu, rect));
        app.m_pMainWnd = frame;
        return *frame;
    }
    // Closes the frame as the user does (its state is saved) or destroys it.
    void Close(bool asUser = true)
    {
        if (frame && ::IsWindow(frame->m_hWnd)) {
            app.m_pMainWnd = nullptr;   // no WM_QUIT follows
            if (asUser)
                frame->SendMessage(WM_CLOSE);
            else
                frame->DestroyWindow();
        }
        frame = nullptr;
        Pump();
    }
    void Drop() { Close(false); }
    UiState Update(UINT id)
    {
        CProbeCmdUI ui;
        ui.m_nID = id;
        ui.DoUpdate(frame, FALSE);
        return ui.state;
    }
    void LogIn() { app.LoginOperator(std::make_unique<CAcsUser>(1, L"Operator")); }
    int Profile(const wchar_t* section, const wchar_t* entry) { return static_cast<int>(app.GetProfileInt(section, entry, -99)); }
    // A saved placement, not maximised.
    void WritePlacement(int left, int top, int right, int bottom)
    {
        const std::pair<const wchar_t*, int> entries[] = {
            {L"Left", left}, {L"Top", top}, {L"Right", right}, {L"Bottom", bottom}, {L"Maximize", 0}};
        for (const auto& [name, value] : entries)
            app.WriteProfileInt(L"WindowPlacement", name, value);
    }
    // The floating frames on the desktop (those that show only, when asked).
    static int FloatingFrames(bool visibleOnly = false)
    {
        int n = 0;
        for (HWND h = GetWindow(GetDesktopWindow(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
            CWnd* pWnd = CWnd::FromHandlePermanent(h);
            n += pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)) && (!visibleOnly || ::IsWindowVisible(h)) ? 1 : 0;
        }
        return n;
    }

    CZynApp app{L"MainFrameTest"};
    CTestMainFrame* frame = nullptr;
};

TEST_F(MainFrameTest, ToolbarsGetViewItemsWhereverTheToolbarSubmenuIs)
{
    const struct {
        const char* what;
        int menuAt;       // where the toolbar submenu is, -1 none
        bool added;
    } rows[] = {
        {"third menu", 2, true},
        {"first menu (2 tried first, then 0)", 0, true},
        {"last menu", 3, true},
        {"no toolbar submenu", -1, false},
    };
    for (const auto& row : rows) {
        CTestMainFrame& f = Open(MakeMenu(row.menuAt));
        CTestBar bar(IDS_TB_TOOLS);
        EXPECT_EQ(f.Add(bar), row.added ? TRUE : FALSE) << row.what;
        // Registered either way; the item only with a submenu.
        EXPECT_EQ(f.GetToolbars().Find(IDS_TB_TOOLS), &bar) << row.what;
        EXPECT_EQ(f.CommandOfToolbar(IDS_TB_TOOLS), row.added ? 40900u : 0u) << row.what;
        if (row.added) {
            CMenu* sub = f.FindViewToolbarMenu(row.menuAt);
            ASSERT_NE(sub, nullptr) << row.what;
            ASSERT_EQ(sub->GetMenuItemCount(), 2) << row.what;
            EXPECT_EQ(sub->GetMenuItemID(1), 40900u) << row.what;
            EXPECT_EQ(sub->GetMenuState(1, MF_BYPOSITION) & MF_CHECKED, static_cast<UINT>(MF_CHECKED)) << row.what;
            CString text;
            sub->GetMenuString(1, text, MF_BYPOSITION);
            EXPECT_STREQ(text.GetString(), L"Door tools") << row.what;
            // The same toolbar again: refused, no second item.
            EXPECT_FALSE(f.AddToolbar(&bar)) << row.what;
            EXPECT_EQ(sub->GetMenuItemCount(), 2) << row.what;
        }
        // The images were gathered again once the toolbar was registered.
        EXPECT_NE(f.GetMenuOrganizer().GetMenuItemImageInfo(ID_TB_OPEN), nullptr) << row.what;
        Drop();
    }
    // A toolbar without a window is neither registered nor given an item.
    CTestMainFrame& f = Open();
    CTestBar unmade(IDS_TB_TOOLS);
    EXPECT_FALSE(f.AddToolbar(&unmade));
    EXPECT_TRUE(f.GetToolbars().empty());
}

TEST_F(MainFrameTest, TwentyOneToolbarsGetCommandsThe22ndNone)
{
    CTestMainFrame& f = Open();
    std::vector<std::unique_ptr<CTestBar>> bars;
    for (UINT i = 0; i < 22; ++i) {
        bars.push_back(std::make_unique<CTestBar>(5000 + i));
        const BOOL added = f.Add(*bars.back());
        EXPECT_EQ(added, i < 21 ? TRUE : FALSE) << "toolbar " << i;
    }
    EXPECT_EQ(f.CommandOfToolbar(5000), 40900u);
    EXPECT_EQ(f.CommandOfToolbar(5020), 40920u);
    EXPECT_EQ(f.CommandOfToolbar(5021), 0u);
    EXPECT_EQ(f.GetToolbars().size(), 22u);
    EXPECT_EQ(f.FindViewToolbarMenu(2)->GetMenuItemCount(), 22);   // Defaults + 21
    Drop();
}

TEST_F(MainFrameTest, ViewCommandsNeedAnOperatorButLabelsDoNot)
{
    CTestMainFrame& f = Open();
    CTestBar bar(IDS_TB_TOOLS);
    ASSERT_TRUE(f.Add(bar));
    struct Row {
        UINT id;
        int check;
        int enabledOut, enabledIn;   // without and with an operator
    };
    const Row rows[] = {
        {CZynMainFrame::ID_VIEW_MDITABS, 1, 0, 1},
        {CZynMainFrame::ID_ZYNAPP_SAVE_SETTINGS, 1, 0, 1},
        {40900, 1, 0, 1},                            // the toolbar's item: checked while it shows
        {40901, -1, 0, 0},                           // names no toolbar
        {CZynMainFrame::ID_VIEW_TOOLBAR_LABELS, 0, -1, -1},   // never disabled here
    };
    for (const bool loggedIn : {false, true}) {
        if (loggedIn)
            LogIn();
        for (const Row& row : rows) {
            const UiState s = Update(row.id);
            EXPECT_EQ(s.check, row.check) << row.id << (loggedIn ? " logged in" : "");
            EXPECT_EQ(s.enabled, loggedIn ? row.enabledIn : row.enabledOut) << row.id << (loggedIn ? " logged in" : "");
        }
    }
    // The toolbar item hides and shows the bar.
    f.SendMessage(WM_COMMAND, 40900);
    EXPECT_FALSE(bar.IsWindowVisible());
    EXPECT_EQ(Update(40900).check, 0);
    f.SendMessage(WM_COMMAND, 40900);
    EXPECT_TRUE(bar.IsWindowVisible());
    // Tabs and the save flag toggle.
    f.SendMessage(WM_COMMAND, CZynMainFrame::ID_VIEW_MDITABS);
    EXPECT_FALSE(f.MDITabsEnabled());
    EXPECT_EQ(Update(CZynMainFrame::ID_VIEW_MDITABS).check, 0);
    f.SendMessage(WM_COMMAND, CZynMainFrame::ID_ZYNAPP_SAVE_SETTINGS);
    EXPECT_FALSE(f.SaveStateEnabled());
    app.LogoutOperator();
    Drop();
}

TEST_F(MainFrameTest, LabelsFollowTheLowestToolbarAndEachToggleFlipsItsOwn)
{
    CTestMainFrame& f = Open();
    EXPECT_FALSE(f.ToolbarLabelsShown());   // nothing registered
    CTestBar low(5001), high(5002);
    ASSERT_TRUE(f.Add(high));
    ASSERT_TRUE(f.Add(low));
    high.ShowText(true);
    EXPECT_FALSE(f.ToolbarLabelsShown());   // the lowest ID decides
    f.SendMessage(WM_COMMAND, CZynMainFrame::ID_VIEW_TOOLBAR_LABELS);
    EXPECT_TRUE(low.TextIsShown());
    EXPECT_FALSE(high.TextIsShown());
    EXPECT_TRUE(f.ToolbarLabelsShown());
    f.SetToolbarLabels(true);
    EXPECT_TRUE(high.TextIsShown());
    // Defaults, answered No then Yes: labels off only on Yes.
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDNO);
    f.SendMessage(WM_COMMAND, CZynMainFrame::ID_VIEW_TOOLBAR_DEFAULTS);
    EXPECT_TRUE(low.TextIsShown());
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDYES);
    f.SendMessage(WM_COMMAND, CZynMainFrame::ID_VIEW_TOOLBAR_DEFAULTS);
    EXPECT_FALSE(low.TextIsShown());
    EXPECT_FALSE(high.TextIsShown());
    Drop();
}

TEST_F(MainFrameTest, ClosingWhileBadgesPrintAsksAndNoKeepsEverything)
{
    CTestMainFrame& f = Open();
    CZynApp::SetBadgePrintInProgressForTests(true);
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDNO);
    app.m_pMainWnd = nullptr;
    f.SendMessage(WM_CLOSE);
    Pump();
    ASSERT_TRUE(::IsWindow(f.m_hWnd));
    EXPECT_EQ(Profile(L"View", L"SaveSettings"), -99) << "nothing saved";
    const auto shown = user::AnswerScript::Shown();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().type & (MB_YESNO | MB_ICONINFORMATION), static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION));
    user::AnswerScript::Push(user::AnswerKind::MessageBox, IDYES);
    const HWND hWnd = f.m_hWnd;
    Close();
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(Profile(L"View", L"SaveSettings"), 1);
}

TEST_F(MainFrameTest, ShowObjectWithoutAnObjectOrAViewAnswersZero)
{
    CTestMainFrame& f = Open();
    EXPECT_EQ(f.SendMessage(WM_ZYN_SHOWOBJECT, 0, 0), 0);   // a null object is no crash
    CZynAcObject object;
    EXPECT_EQ(f.SendMessage(WM_ZYN_SHOWOBJECT, 0, reinterpret_cast<LPARAM>(&object)), 0);   // no view registered
    EXPECT_EQ(app.GetMainFrame(), &f);
    Drop();
}

// ---- saved state ------------------------------------------------------------------------------------

TEST_F(MainFrameTest, ReopenedFrameKeepsPlacementBarsLabelsAndTabs)
{
    struct Row {
        const char* what;
        int show;   // how the frame was left: a minimised frame opens maximised
        bool labels, tabs, floatSecond;
    };
    const Row rows[] = {
        {"normal, labels, no tabs, second bar floating", SW_SHOWNORMAL, true, false, true},
        {"maximised, no labels, tabs, both docked", SW_SHOWMAXIMIZED, false, true, false},
        {"minimised, labels, tabs, both docked", SW_MINIMIZE, true, true, false},
    };
    for (const Row& row : rows) {
        const CRect normal(210, 140, 910, 640);
        {
            CTestMainFrame& f = Open(MakeMenu(), normal);
            CTestBar first(5001), second(5002);
            ASSERT_TRUE(f.Add(first));
            ASSERT_TRUE(f.Add(second, AFX_IDW_DOCKBAR_LEFT));
            f.SetToolbarLabels(row.labels);
            f.EnableMDITabs(row.tabs);
            if (row.floatSecond)
                f.FloatControlBar(&second, CPoint(400, 300));
            f.ShowWindow(row.show);
            Pump();
            Close();
        }
        EXPECT_EQ(Profile(L"WindowPlacement", L"Left"), normal.left) << row.what;
        EXPECT_EQ(Profile(L"WindowPlacement", L"Bottom"), normal.bottom) << row.what;
        EXPECT_EQ(Profile(L"WindowPlacement", L"Maximize"), row.show != SW_SHOWNORMAL ? 1 : 0) << row.what;

        CTestMainFrame& f = Open(MakeMenu(), CRect(0, 0, 300, 200));
        CTestBar first(5001), second(5002);
        ASSERT_TRUE(f.Add(first));
        ASSERT_TRUE(f.Add(second));   // both at the top by default
        f.EnableMDITabs(!row.tabs);
        app.m_nCmdShow = -1;
        f.LoadState();
        Pump();
        EXPECT_EQ(f.defaultsSet, 1) << row.what;
        EXPECT_EQ(app.m_nCmdShow, row.show != SW_SHOWNORMAL ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL) << row.what;
        WINDOWPLACEMENT wp{};
        wp.length = sizeof(wp);
        ::GetWindowPlacement(f.m_hWnd, &wp);
        EXPECT_EQ(CRect(wp.rcNormalPosition), normal) << row.what;
        EXPECT_EQ(first.TextIsShown(), row.labels) << row.what;
        EXPECT_EQ(f.MDITabsEnabled(), row.tabs) << row.what;
        EXPECT_TRUE(first.IsWindowVisible() && second.IsWindowVisible()) << row.what;
        EXPECT_EQ(second.IsFloating() != FALSE, row.floatSecond) << row.what;
        if (row.floatSecond) {
            EXPECT_EQ(FloatingFrames(true), 1) << row.what;
        } else {
            ASSERT_NE(second.m_pDockBar, nullptr) << row.what;
            EXPECT_EQ(second.m_pDockBar->GetDlgCtrlID(), AFX_IDW_DOCKBAR_LEFT) << row.what;
        }
        Drop();
    }
}

TEST_F(MainFrameTest, SaveSettingsOffWritesOnlyTheFlagAndTheOlderStateStillLoads)
{
    Open(MakeMenu(), CRect(220, 150, 820, 550));
    Close();   // saves the placement once
    CTestMainFrame& f = Open(MakeMenu(), CRect(10, 10, 400, 300));
    f.EnableSaveState(false);
    Close();
    EXPECT_EQ(Profile(L"View", L"SaveSettings"), 0);
    EXPECT_EQ(Profile(L"WindowPlacement", L"Left"), 220) << "the older placement stays";

    CTestMainFrame& g = Open(MakeMenu(), CRect(10, 10, 400, 300));
    g.LoadState();
    EXPECT_FALSE(g.SaveStateEnabled());
    CRect rect;
    g.GetWindowRect(&rect);
    EXPECT_EQ(rect, CRect(220, 150, 820, 550));
    Drop();
}

TEST_F(MainFrameTest, FirstRunAndDamagedRectanglesLeaveThePlacementAlone)
{
    const struct {
        const char* what;
        int left, top, right, bottom;   // INT_MIN: not written
        int cmdShow;
    } rows[] = {
        {"first run", INT_MIN, 0, 0, 0, SW_SHOWMAXIMIZED},
        {"empty", 300, 200, 300, 600, SW_SHOWNORMAL},
        {"inverted", 500, 400, 100, 100, SW_SHOWNORMAL},
        {"beyond any screen", INT_MIN + 1, 0, INT_MAX, 100, SW_SHOWNORMAL},
        {"a size past 32 bits", -2000000000, -2000000000, 2000000000, 2000000000, SW_SHOWNORMAL},
    };
    for (const auto& row : rows) {
        app.WriteProfileString(L"WindowPlacement", nullptr, nullptr);
        if (row.left != INT_MIN)
            WritePlacement(row.left, row.top, row.right, row.bottom);
        CTestMainFrame& f = Open(MakeMenu(), CRect(40, 30, 640, 430));
        const ErrorLogMark mark;
        f.LoadState();
        CRect rect;
        f.GetWindowRect(&rect);
        EXPECT_EQ(rect, CRect(40, 30, 640, 430)) << row.what;
        EXPECT_EQ(app.m_nCmdShow, row.cmdShow) << row.what;
        // A refusal is logged; a first run is none.
        EXPECT_EQ(mark.NewText().find("[WindowPlacement] Left, Top, Right, Bottom was refused") != std::string::npos,
            row.left != INT_MIN)
            << row.what << ": " << mark.NewText();
        Drop();
    }
}

TEST_F(MainFrameTest, LayoutNamingAGoneToolbarLeavesDefaultsAndNoStrayFrame)
{
    {
        CTestMainFrame& f = Open();
        CTestBar first(5001), gone(5002);
        ASSERT_TRUE(f.Add(first));
        ASSERT_TRUE(f.Add(gone));
        f.DockControlBar(&first, AFX_IDW_DOCKBAR_RIGHT);
        f.FloatControlBar(&gone, CPoint(500, 400));
        Pump();
        Close();
    }
    CTestMainFrame& f = Open();
    CTestBar first(5001);
    ASSERT_TRUE(f.Add(first));
    const ErrorLogMark mark;
    f.LoadState();
    Pump();
    EXPECT_NE(mark.NewText().find("[ControlBarState-Summary]"), std::string::npos) << "the refusal is told";
    ASSERT_NE(first.m_pDockBar, nullptr);
    EXPECT_EQ(first.m_pDockBar->GetDlgCtrlID(), AFX_IDW_DOCKBAR_TOP) << "default place kept";
    EXPECT_TRUE(first.IsWindowVisible());
    EXPECT_EQ(FloatingFrames(), 0);
    Drop();
}

// A work area that does not start at the screen's corner (a task bar at the top and left):
// the frame opens where it was closed, run after run, without drifting by the work area's
// origin.
TEST_F(MainFrameTest, PlacementComesBackWhereItWasWithAWorkAreaAwayFromTheCorner)
{
    const user::MonitorDesc one[] = {{{0, 0, 1280, 1024}, {60, 40, 1280, 1024}, true}};
    gdi::ResetDesktop(1280, 1024);
    ASSERT_TRUE(user::SetMonitorLayout(one));
    const CRect where(300, 200, 900, 700);
    Open(MakeMenu(), where);
    for (int run = 1; run <= 3; ++run) {
        Close();
        CTestMainFrame& f = Open(MakeMenu(), CRect(100, 100, 400, 400));
        f.LoadState();
        CRect rect;
        f.GetWindowRect(&rect);
        EXPECT_EQ(rect, where) << "run " << run << ": " << rect.left << ", " << rect.top;
    }
    Drop();
}

// A saved rectangle reaching from far left of the screen onto it: the window cannot grow
// that wide, so it keeps its left edge there and would lie on no monitor; it comes back
// moved the least distance onto the work area, its left edge on the work area's.
TEST_F(MainFrameTest, FrameSavedWiderThanItCanGrowOpensOnTheScreen)
{
    WritePlacement(-21474, 0, 200, 200);
    CTestMainFrame& f = Open(MakeMenu(), CRect(40, 30, 640, 430));
    f.LoadState();
    CRect rect;
    f.GetWindowRect(&rect);
    EXPECT_NE(MonitorFromRect(&rect, MONITOR_DEFAULTTONULL), nullptr) << rect.left << ", " << rect.right;
    EXPECT_EQ(rect.left, 0);
    Drop();
}

TEST_F(MainFrameTest, FrameSavedOnARemovedMonitorOpensOnTheRemainingOne)
{
    const user::MonitorDesc two[] = {
        {{0, 0, 1280, 1024}, {0, 0, 1280, 1000}, true},
        {{1280, 0, 2560, 1024}, {1280, 0, 2560, 1000}, false},
    };
    gdi::ResetDesktop(2560, 1024);
    ASSERT_TRUE(user::SetMonitorLayout(two));
    Open(MakeMenu(), CRect(1500, 100, 2100, 500));
    Close();
    EXPECT_EQ(Profile(L"WindowPlacement", L"Left"), 1500);
    gdi::ResetDesktop(1280, 1024);
    user::ResetMonitors();
    CTestMainFrame& f = Open(MakeMenu(), CRect(10, 10, 300, 300));
    f.LoadState();
    CRect rect;
    f.GetWindowRect(&rect);
    // Moved the least distance into the work area: its right edge on the work area's.
    EXPECT_EQ(rect, CRect(680, 100, 1280, 500));
    EXPECT_NE(MonitorFromRect(&rect, MONITOR_DEFAULTTONULL), nullptr);
    Drop();
}

// The shortcut bar's case: two size bars side by side on the left, the second of them made
// for the bottom (wide). They come back as wide as they were, and the client keeps its room;
// stored sizes that would leave the client nothing are narrowed until it keeps a quarter.
TEST_F(MainFrameTest, SizeBarsSideBySideOnASideComeBackWithTheirSizes)
{
    constexpr UINT kA = 5101, kB = 5102;
    struct Opened {
        COXSizeControlBar a, b;
        CRect aRect, bRect, clientRect, frameClient;
        void Measure(CFrameWnd& f)
        {
            f.RecalcLayout();
            Pump();
            a.GetWindowRect(&aRect);
            b.GetWindowRect(&bRect);
            ::GetWindowRect(static_cast<CMDIFrameWnd&>(f).m_hWndMDIClient, &clientRect);
            f.GetClientRect(&frameClient);
        }
    };
    // A 150 wide on the left, B made 700 x 120 for the bottom.
    auto open = [&](Opened& o) -> CTestMainFrame& {
        CTestMainFrame& f = Open(MakeMenu(), CRect(100, 80, 900, 680));
        for (auto [bar, id, size, side] : {std::tuple(&o.a, kA, CSize(150, 400), UINT(AFX_IDW_DOCKBAR_LEFT)),
                 std::tuple(&o.b, kB, CSize(700, 120), UINT(AFX_IDW_DOCKBAR_BOTTOM))}) {
            EXPECT_TRUE(bar->Create(&f, L"Bar", id, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(CPoint(0, 0), size)));
            bar->EnableDocking(CBRS_ALIGN_ANY);
            f.DockControlBar(bar, side);
        }
        return f;
    };
    Opened first;
    {
        CTestMainFrame& f = open(first);
        first.Measure(f);
        CRect to(first.aRect.right, first.aRect.top, first.aRect.right + 140, first.aRect.bottom);
        f.DockControlBar(&first.b, AFX_IDW_DOCKBAR_LEFT, &to);
        first.Measure(f);
        ASSERT_EQ(first.bRect.left, first.aRect.right + 6) << "B docked in a column of its own beside A";
        Close();
    }
    {
        Opened again;
        CTestMainFrame& f = open(again);
        f.LoadState();
        again.Measure(f);
        EXPECT_EQ(again.aRect, first.aRect);
        EXPECT_EQ(again.bRect, first.bRect);
        EXPECT_EQ(again.clientRect, first.clientRect);
        Drop();
    }
    // Stored widths of 1,200 each (saved in a larger frame) in a client 792 wide.
    for (const UINT id : {kA, kB}) {
        const std::vector<BYTE> wide = {100, 0, 0, 0, 100, 0, 0, 0, 100, 0, 0, 0, 100, 0, 0, 0, 0xB0, 4, 0, 0, 100, 0,
            0, 0, 0, 0, 0, 0};
        app.WriteProfileBinary(zyn::frames::kBarStateName, zyn::sizedock::BarSizeKey(id), const_cast<BYTE*>(wide.data()),
            static_cast<UINT>(wide.size()));
    }
    Opened clamped;
    CTestMainFrame& f = open(clamped);
    f.LoadState();
    clamped.Measure(f);
    EXPECT_GE(clamped.clientRect.Width(), clamped.frameClient.Width() / 4);
    EXPECT_LT(clamped.aRect.Width(), 1200);
    EXPECT_LT(clamped.bRect.Width(), 1200);
    EXPECT_EQ(clamped.aRect.Width(), clamped.bRect.Width()) << "equal stored sizes, narrowed alike";
    Drop();
}

// ---- the SDI frame ----------------------------------------------------------------------------------

class CTestSDIMainFrame : public CZynSDIMainFrame {
public:
    BOOL Make(const CRect& rect)
    {
        return CreateFrame(nullptr, L"SDI", WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect, nullptr, MakeMenu(), 0, nullptr);
    }
};

// A derived SDI frame mapping WM_CREATE itself and calling the base's handler.
class CDerivedSDIFrame : public CZynSDIMainFrame {
public:
    BOOL Make()
    {
        return CreateFrame(nullptr, L"SDI", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, MakeMenu(), 0,
            nullptr);
    }
    int creates = 0;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs)
    {
        ++creates;
        if (CZynSDIMainFrame::OnCreate(lpcs) == -1)
            return -1;
        return CZynSDIMainFrame::OnCreate(lpcs) == -1 ? -1 : 0;   // a second call changes nothing
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CDerivedSDIFrame, CZynSDIMainFrame)
    ON_WM_CREATE()
END_MESSAGE_MAP()

TEST_F(MainFrameTest, SdiFrameAttachesItsOrganizerAndAlwaysSavesOnClose)
{
    auto* sdi = new CTestSDIMainFrame;   // deletes itself with its window
    ASSERT_TRUE(sdi->Make(CRect(230, 160, 830, 560)));
    EXPECT_TRUE(sdi->GetMenuOrganizer().IsAttached());
    EXPECT_EQ(app.GetMainFrame(), sdi);
    sdi->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_EQ(Profile(L"WindowPlacement", L"Left"), 230);
    EXPECT_EQ(Profile(L"WindowPlacement", L"Maximize"), 0);
    EXPECT_EQ(Profile(L"View", L"SaveSettings"), -99) << "no View section";

    // A derived frame whose own WM_CREATE handler calls the base's (twice, even) gets one
    // attached organizer, and the saved placement back.
    auto* again = new CDerivedSDIFrame;
    ASSERT_TRUE(again->Make());
    EXPECT_EQ(again->creates, 1);
    EXPECT_EQ(COXBitmapMenuOrganizer::FindOrganizer(again->m_hWnd), &again->GetMenuOrganizer());
    again->LoadState();
    CRect rect;
    again->GetWindowRect(&rect);
    EXPECT_EQ(rect, CRect(230, 160, 830, 560));
    again->DestroyWindow();
    Pump();
}

// Without the suite's application object the frame is made all the same.
class MainFrameWithoutSuiteApp : public FramesTest {
protected:
    CWinApp app{L"PlainHost"};
};

TEST_F(MainFrameWithoutSuiteApp, FrameIsMadeAndShowObjectAnswersZero)
{
    ASSERT_EQ(CZynApp::GetApp(), nullptr);
    auto* f = new CTestMainFrame;   // deletes itself with its window
    ASSERT_TRUE(f->Make(MakeMenu()));
    EXPECT_TRUE(f->MDITabsEnabled());
    CZynAcObject object;
    EXPECT_EQ(f->SendMessage(WM_ZYN_SHOWOBJECT, 0, reinterpret_cast<LPARAM>(&object)), 0);
    f->DestroyWindow();
    Pump();
}

} // namespace
} // namespace zyn::test
