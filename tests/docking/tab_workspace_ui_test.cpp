// The tabbed MDI workspace on an MDI frame, with scripted input on the virtual clock: a tab
// per visible child with its icon, titles shown literally, a click activating and a double
// click maximizing or restoring, the 500 ms refresh (hidden children lose their tab and get
// one at the end again; an idle refresh lays nothing out), the tab text a child answers
// (only from a window object of this thread), the saved state (round trip, detach,
// re-attach, bad entries refused), the MDI client's place for each tab style, and the
// placeholder tab that activates nothing.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/afx/mdi.h"
#include "platform/base/clock.h"
#include "platform/gdi/icon.h"
#include "platform/user/mdiclient.h"
#include "tests/docking/tab_test_support.h"
#include "toolkit/docking/tab_client.h"

namespace docktest {
namespace {

class CountingMdiFrame : public CMDIFrameWnd {
public:
    void RecalcLayout(BOOL bNotify = TRUE) override
    {
        ++layouts;
        CMDIFrameWnd::RecalcLayout(bNotify);
    }
    int layouts = 0;
};

// A child that names its own tab.
class NamedChild : public CMDIChildWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == COXTabWorkspace::kGetTabText)
            return tabText.empty() ? 0 : reinterpret_cast<LRESULT>(tabText.c_str());
        return CMDIChildWnd::WindowProc(message, wParam, lParam);
    }
    std::wstring tabText;
};

// A child whose answer to the tab-text question takes another child's tab away, once:
// the refresh asking it must not act on a tab list it read before the answer.
class MeddlingChild : public CMDIChildWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == COXTabWorkspace::kGetTabText && tabs && victim) {
            tabs->RemoveTabItem(std::exchange(victim, nullptr), FALSE);
            return 0;
        }
        return CMDIChildWnd::WindowProc(message, wParam, lParam);
    }
    COXTabWorkspace* tabs = nullptr;
    CWnd* victim = nullptr;
};

// A child that counts the questions a refresh asks it, answering the tab-text question
// only when it has a text for its tab.
class CountingChild : public CMDIChildWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == COXTabWorkspace::kGetTabText) {
            ++questions;
            if (!tabText.empty())
                return reinterpret_cast<LRESULT>(tabText.c_str());
        }
        if (message == WM_GETTEXT)
            ++textReads;
        return CMDIChildWnd::WindowProc(message, wParam, lParam);
    }
    std::wstring tabText;
    int questions = 0;
    int textReads = 0;
};

// A workspace that names the tabs its own way.
class BracketWorkspace : public COXTabWorkspace {
public:
    CString GetTextForTabItem(const CWnd* pChildWnd) const override
    {
        return L"[" + COXTabWorkspace::GetTextForTabItem(pChildWnd) + L"]";
    }
};

// A child with no window object that answers the tab-text question with a pointer anyway.
const wchar_t kForeignText[] = L"not to be trusted";
LRESULT ForeignChildProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == COXTabWorkspace::kGetTabText)
        return reinterpret_cast<LRESULT>(kForeignText);
    return ::DefMDIChildProcW(hWnd, message, wParam, lParam);
}

class TabWorkspace : public DockTabTest {
protected:
    void SetUp() override
    {
        DockTabTest::SetUp();
        main = new CountingMdiFrame; // deletes itself with its window
        ASSERT_TRUE(main->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 480)));
        app.m_pMainWnd = main;
    }
    void TearDown() override
    {
        client.Detach();
        if (main && ::IsWindow(main->m_hWnd))
            main->DestroyWindow();
        app.m_pMainWnd = nullptr;
        DockTabTest::TearDown();
    }
    NamedChild* Child(const wchar_t* title)
    {
        auto* child = new NamedChild; // deletes itself with its window
        if (!child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 150), main))
            return nullptr;
        Pump();
        return child;
    }
    void Refresh()
    {
        zyn::base::Clock::Advance(COXTabWorkspace::kRefreshPeriod);
        Pump();
    }
    COXTabWorkspace& Tabs() { return *client.GetTabCtrl(); }
    std::wstring TabText(int i)
    {
        wchar_t text[128] = {};
        TCITEM item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 127;
        Tabs().GetItem(i, &item);
        return text;
    }
    std::vector<std::wstring> Titles()
    {
        std::vector<std::wstring> out;
        for (int i = 0; i < Tabs().GetTabItemCount(); ++i)
            out.emplace_back(Tabs().GetTabItem(i).csTitle.GetString());
        return out;
    }
    CPoint TabScreenCentre(int i)
    {
        CRect r;
        Tabs().GetItemRect(i, &r);
        CPoint pt = r.CenterPoint();
        Tabs().ClientToScreen(&pt);
        return pt;
    }
    void Click(int tab)
    {
        Press(TabScreenCentre(tab));
        Release();
    }
    CMDIChildWnd* Active() const { return main->MDIGetActive(); }

    CountingMdiFrame* main = nullptr;
    COXTabClientWnd client;
};

TEST_F(TabWorkspace, ATabPerVisibleChildThatAClickActivatesAndADoubleClickMaximizes)
{
    NamedChild* a = Child(L"Alpha");
    NamedChild* b = Child(L"A&B");
    NamedChild* c = Child(L"Gamma");
    ASSERT_TRUE(a && b && c);
    // A 16 x 16 icon of its own for the first child; the others show their class's.
    const std::vector<BYTE> andBits(32, 0x00), xorBits(32, 0xAA);
    HICON own = ::CreateIcon(nullptr, 16, 16, 1, 1, andBits.data(), xorBits.data());
    ASSERT_NE(own, nullptr);
    a->SetIcon(own, FALSE);
    EXPECT_FALSE(client.Attach(nullptr)) << "no frame";
    ASSERT_TRUE(client.Attach(main, TCS_MULTILINE));
    EXPECT_FALSE(client.Attach(main)) << "attached twice";
    Pump();

    // In creation order, the active child's tab selected, every "&" doubled for the control.
    EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"Alpha", L"A&B", L"Gamma"}));
    EXPECT_EQ(TabText(1), L"A&&B");
    EXPECT_EQ(Tabs().GetCurSel(), 2);
    auto image = [&](int i) {
        TCITEM item{};
        item.mask = TCIF_IMAGE;
        Tabs().GetItem(i, &item);
        return item.iImage;
    };
    EXPECT_GE(image(0), 0);
    EXPECT_GE(image(1), 0);
    EXPECT_NE(image(0), image(1)) << "the child's own icon";
    EXPECT_EQ(image(1), image(2)) << "one class icon, one image";
    EXPECT_EQ(Tabs().AddTabItemIcon(own), image(0)) << "an icon is added once";

    struct Step {
        const char* what;
        int tab;
        bool twice;            // a double click
        CMDIChildWnd* active;
        BOOL maximized;
    };
    const Step steps[] = {
        {"click the first tab", 0, false, a, FALSE},
        {"click the second", 1, false, b, FALSE},
        {"double-click the active tab", 1, true, b, TRUE},
        {"double-click it again", 1, true, b, FALSE},
        {"double-click another tab", 2, true, c, TRUE},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        Click(step.tab);
        if (step.twice)
            Click(step.tab);
        BOOL maximized = FALSE;
        EXPECT_EQ(main->MDIGetActive(&maximized), step.active);
        EXPECT_EQ(maximized, step.maximized);
        EXPECT_EQ(Tabs().GetCurSel(), step.tab);
    }
    a->SetIcon(nullptr, FALSE);
    ::DestroyIcon(own);
}

TEST_F(TabWorkspace, RefreshFollowsHiddenShownRenamedAndClosedChildren)
{
    NamedChild* a = Child(L"Alpha");
    NamedChild* b = Child(L"Beta");
    NamedChild* c = Child(L"Gamma");
    ASSERT_TRUE(client.Attach(main, TCS_MULTILINE));
    Refresh();

    const int before = main->layouts;
    Refresh();
    Refresh();
    EXPECT_EQ(main->layouts, before) << "an idle refresh laid the frame out";

    b->ShowWindow(SW_HIDE);
    Refresh();
    EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"Alpha", L"Gamma"}));
    const int hidden = main->layouts;
    Refresh();
    EXPECT_EQ(main->layouts, hidden) << "a hidden child keeps the refresh busy";
    b->ShowWindow(SW_SHOW);
    Refresh();
    EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"Alpha", L"Gamma", L"Beta"})) << "back at the end";

    c->SetWindowText(L"R&D");
    a->tabText = L"Named & answered";
    Refresh();
    EXPECT_EQ(TabText(1), L"R&&D") << "a renamed child shows its title literally";
    EXPECT_EQ(TabText(0), L"Named && answered");
    // Titles about as long as what one read takes at once are taken whole.
    for (const size_t n : {254u, 255u, 256u, 300u}) {
        const std::wstring title = std::wstring(n - 1, L'x') + L"!";
        c->SetWindowText(title.c_str());
        Refresh();
        EXPECT_EQ(Titles().at(1), title) << n << " characters";
    }
    c->SetWindowText(L"R&D");
    Refresh();

    a->DestroyWindow();
    Pump();
    EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"R&D", L"Beta"}));
}

TEST_F(TabWorkspace, OnlyAWindowObjectOfThisThreadNamesItsTab)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = &ForeignChildProc;
    wc.lpszClassName = L"TabWorkspaceForeignChild";
    ASSERT_NE(::RegisterClassW(&wc), 0);
    ASSERT_TRUE(client.Attach(main, TCS_MULTILINE));
    MDICREATESTRUCTW mcs{wc.lpszClassName, L"Foreign", nullptr, 0, 0, 200, 150, WS_VISIBLE, 0};
    const auto foreign = reinterpret_cast<HWND>(
        ::SendMessageW(main->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    ASSERT_NE(foreign, nullptr);
    Refresh();
    ASSERT_EQ(Tabs().GetTabItemCount(), 1);
    EXPECT_EQ(TabText(0), L"Foreign");
    // Past the idle pass, which frees the temporary object the child had: the next
    // refreshes still find it, follow its title and activate it from its tab.
    for (const wchar_t* title : {L"Renamed", L"Again"}) {
        ::SetWindowTextW(foreign, title);
        Refresh();
        EXPECT_EQ(TabText(0), title);
        ASSERT_NE(Tabs().GetTabChild(0), nullptr);
        EXPECT_EQ(Tabs().GetTabChild(0)->m_hWnd, foreign);
    }
    ::SendMessageW(main->m_hWndMDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(foreign), 0);
    Pump();
    EXPECT_EQ(Tabs().GetTabItemCount(), 0);
}

TEST_F(TabWorkspace, ARefreshAsksEachChildOnceAndADerivedWorkspaceNamesItsTabs)
{
    auto* answering = new CountingChild; // each deletes itself with its window
    answering->tabText = L"Answered";
    auto* silent = new CountingChild;
    for (CountingChild* child : {answering, silent})
        ASSERT_TRUE(child->Create(nullptr, L"Plain", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
            CRect(0, 0, 200, 150), main));
    ASSERT_TRUE(client.Attach(main, TCS_MULTILINE));
    Refresh();
    ASSERT_EQ(Titles(), (std::vector<std::wstring>{L"Answered", L"Plain"}));

    // One refresh with nothing changed: the question once each, the window text only
    // where the question went unanswered. A host's procedure sees both as messages.
    for (CountingChild* child : {answering, silent})
        child->questions = child->textReads = 0;
    Tabs().UpdateContents(TRUE, FALSE);
    EXPECT_EQ(answering->questions, 1);
    EXPECT_EQ(answering->textReads, 0);
    EXPECT_EQ(silent->questions, 1);
    EXPECT_EQ(silent->textReads, 1);

    // A derived workspace's text is the one its refreshes show, for new tabs and for
    // renamed children alike.
    BracketWorkspace own;
    own.m_pTabClientWnd = &client;
    ASSERT_TRUE(own.Create(WS_CHILD | TCS_MULTILINE, CRect(0, 0, 300, 100), main, 1001));
    own.UpdateContents(TRUE, FALSE);
    const auto ownTitles = [&own] {
        std::vector<std::wstring> out;
        for (int i = 0; i < own.GetTabItemCount(); ++i)
            out.emplace_back(own.GetTabItem(i).csTitle.GetString());
        return out;
    };
    EXPECT_EQ(ownTitles(), (std::vector<std::wstring>{L"[Answered]", L"[Plain]"}));
    silent->SetWindowText(L"Renamed");
    answering->tabText = L"Answered again";
    own.UpdateContents(TRUE, FALSE);
    EXPECT_EQ(ownTitles(), (std::vector<std::wstring>{L"[Answered again]", L"[Renamed]"}));
    own.DestroyWindow();
}

TEST_F(TabWorkspace, ManyChildrenKeepTheirOwnTabsThroughActivationHidingAndRenaming)
{
    // Enough children that the refresh's map of tabs by handle grows several times and
    // handles share places in it; activations reorder the walk.
    constexpr int kCount = 70;
    std::vector<NamedChild*> children;
    for (int i = 0; i < kCount; ++i) {
        children.push_back(Child((L"T" + std::to_wstring(i)).c_str()));
        ASSERT_NE(children.back(), nullptr);
    }
    ASSERT_TRUE(client.Attach(main, TCS_MULTILINE));
    Refresh();
    ASSERT_EQ(Tabs().GetTabItemCount(), kCount);
    for (const int i : {5, 63, 0, 31, 69, 12})
        main->MDIActivate(children[static_cast<size_t>(i)]);
    children[7]->ShowWindow(SW_HIDE);
    children[40]->ShowWindow(SW_HIDE);
    children[22]->SetWindowText(L"renamed");
    Refresh();
    // Creation order, the hidden two gone, the renamed one in its place.
    std::vector<std::wstring> expected;
    for (int i = 0; i < kCount; ++i)
        if (i != 7 && i != 40)
            expected.push_back(i == 22 ? L"renamed" : L"T" + std::to_wstring(i));
    EXPECT_EQ(Titles(), expected);
    for (int i = 0; i < Tabs().GetTabItemCount(); ++i)
        EXPECT_EQ(Tabs().FindTabItem(Tabs().GetTabItem(i).hWnd), i) << "tab " << i;
    EXPECT_EQ(Tabs().GetTabChild(Tabs().GetCurSel()), children[12]) << "the active child's tab is selected";
    const int before = main->layouts;
    Refresh();
    EXPECT_EQ(main->layouts, before) << "an idle refresh over many children laid the frame out";
}

TEST_F(TabWorkspace, SavedStateRoundTripsAndBadEntriesAreRefused)
{
    Child(L"Alpha");
    CWinApp* profile = AfxGetApp();
    const wchar_t* section = L"TabState";
    EXPECT_FALSE(client.LoadState(section)) << "attached wanted, nothing to attach to";
    profile->WriteProfileInt(section, L"IsAttached", 0);
    EXPECT_TRUE(client.LoadState(section));
    EXPECT_EQ(client.GetTabCtrl(), nullptr);

    ASSERT_TRUE(client.Attach(main, TCS_MULTILINE | TCS_HOTTRACK));
    const DWORD style = Tabs().GetStyle();
    EXPECT_TRUE(client.SaveState(section));
    EXPECT_EQ(profile->GetProfileInt(section, L"IsAttached", -1), 1);
    EXPECT_EQ(profile->GetProfileInt(section, L"Offset", -1), 1);
    EXPECT_EQ(static_cast<DWORD>(profile->GetProfileInt(section, L"Style", -1)), style);

    // The same settings: nothing is made again.
    const HWND workspace = Tabs().m_hWnd;
    EXPECT_TRUE(client.LoadState(section));
    EXPECT_EQ(Tabs().m_hWnd, workspace);

    struct Row {
        const char* what;
        int offset;
        int style;
        DWORD wantOffset;
        DWORD wantStyleBits;    // present in the new workspace's style
        DWORD absentStyleBits;
    };
    const Row rows[] = {
        {"new offset and bottom tabs", 4, static_cast<int>(style | TCS_BOTTOM), 4, TCS_BOTTOM, 0},
        {"an offset past 16 bits", 0x10000, static_cast<int>(style), 1, TCS_MULTILINE, TCS_BOTTOM},
        {"a popup style", 3, static_cast<int>(WS_POPUP | TCS_BUTTONS), 3, TCS_HOTTRACK, TCS_BUTTONS},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        profile->WriteProfileInt(section, L"IsAttached", 1);
        profile->WriteProfileInt(section, L"Offset", row.offset);
        profile->WriteProfileInt(section, L"Style", row.style);
        EXPECT_TRUE(client.LoadState(section));
        ASSERT_NE(client.GetTabCtrl(), nullptr);
        EXPECT_EQ(Tabs().GetOffset(), row.wantOffset);
        EXPECT_EQ(Tabs().GetStyle() & row.wantStyleBits, row.wantStyleBits);
        EXPECT_EQ(Tabs().GetStyle() & (row.absentStyleBits | WS_POPUP), 0u);
        EXPECT_EQ(Tabs().GetTabItemCount(), 1) << "the child lost its tab";
    }

    // Detached: the MDI client takes the whole client area again.
    profile->WriteProfileInt(section, L"IsAttached", 0);
    EXPECT_TRUE(client.LoadState(section));
    EXPECT_FALSE(client.IsAttached());
    CRect frameClient, mdi;
    main->GetClientRect(&frameClient);
    ::GetWindowRect(main->m_hWndMDIClient, &mdi);
    main->ScreenToClient(&mdi);
    EXPECT_EQ(mdi, frameClient);
    EXPECT_EQ(CWnd::FromHandlePermanent(main->m_hWndMDIClient), nullptr) << "still subclassed";
    EXPECT_TRUE(client.Attach(main)) << "re-attached";
    EXPECT_EQ(Tabs().GetTabItemCount(), 1) << "the child's tab is back";

    // A saved margin and style survive detaching: re-attached with the default style and
    // another margin, the workspace takes them back from the profile.
    const wchar_t* saved = L"TabStateSaved";
    profile->WriteProfileInt(saved, L"IsAttached", 1);
    profile->WriteProfileInt(saved, L"Offset", 6);
    profile->WriteProfileInt(saved, L"Style", static_cast<int>(TCS_MULTILINE | TCS_BOTTOM | TCS_HOTTRACK));
    EXPECT_TRUE(client.LoadState(saved));
    EXPECT_TRUE(client.SaveState(section));
    client.Detach();
    ASSERT_TRUE(client.Attach(main));
    Tabs().SetOffset(1);   // changed since it was saved
    EXPECT_EQ(Tabs().GetStyle() & TCS_BOTTOM, 0u);
    EXPECT_TRUE(client.LoadState(section));
    ASSERT_NE(client.GetTabCtrl(), nullptr);
    EXPECT_EQ(Tabs().GetOffset(), 6u);
    EXPECT_EQ(Tabs().GetStyle() & (TCS_MULTILINE | TCS_BOTTOM | TCS_HOTTRACK),
        static_cast<DWORD>(TCS_MULTILINE | TCS_BOTTOM | TCS_HOTTRACK));
    EXPECT_EQ(Tabs().GetTabItemCount(), 1);
    profile->WriteProfileString(saved, nullptr, nullptr);
}

// A tab belongs to a handle and the class it had: the same handle value naming a window of
// another class (a handle reused after its child went) is not that child's tab.
TEST_F(TabWorkspace, AHandleOfAnotherClassIsNotTheTabsChild)
{
    NamedChild* a = Child(L"Alpha");
    ASSERT_TRUE(client.Attach(main, TCS_MULTILINE));
    Pump();
    ASSERT_EQ(Tabs().FindTabItem(a->m_hWnd), 0);
    // The tab's window object is made to hold a static control's handle, as if the child's
    // handle had come round again for a window of another class.
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, L"Static", L"", WS_CHILD, CRect(0, 0, 10, 10), main, 77));
    const HWND hOther = other.Detach();
    const HWND hChild = a->Detach();
    ASSERT_TRUE(a->Attach(hOther));
    EXPECT_EQ(Tabs().FindTabItem(hOther), -1) << "a window of another class took the tab";
    a->Detach();
    ASSERT_TRUE(a->Attach(hChild));
    EXPECT_EQ(Tabs().FindTabItem(hChild), 0);
    ::DestroyWindow(hOther);
}

TEST_F(TabWorkspace, TheMdiClientTakesTheDisplayAreaBesideTheTabsInEveryStyle)
{
    Child(L"Alpha");
    Child(L"Beta");
    struct Row {
        const char* what;
        DWORD style;
        char side;   // where the tabs are
    };
    const Row rows[] = {
        {"top tabs", TCS_MULTILINE, 't'},
        {"bottom tabs", TCS_MULTILINE | TCS_BOTTOM, 'b'},
        {"bottom buttons", TCS_MULTILINE | TCS_BOTTOM | TCS_BUTTONS, 'b'},
        {"vertical buttons", TCS_MULTILINE | TCS_VERTICAL | TCS_BUTTONS, 'l'},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(client.Attach(main, row.style));
        main->RecalcLayout();
        Pump();
        CRect mdi, ws;
        ::GetWindowRect(main->m_hWndMDIClient, &mdi);
        Tabs().GetClientRect(&ws);
        Tabs().ClientToScreen(&ws);
        EXPECT_FALSE(mdi.IsRectEmpty());
        CRect inside;
        EXPECT_TRUE(inside.IntersectRect(mdi, ws) && inside == mdi) << "outside the workspace";
        for (int i = 0; i < Tabs().GetItemCount(); ++i) {
            CRect tab;
            Tabs().GetItemRect(i, &tab);
            Tabs().ClientToScreen(&tab);
            CRect overlap;
            EXPECT_FALSE(overlap.IntersectRect(tab, mdi)) << "tab " << i << " under the MDI client";
            // The client lies on the far side of every tab.
            if (row.side == 't')
                EXPECT_GE(mdi.top, tab.bottom);
            else if (row.side == 'b')
                EXPECT_LE(mdi.bottom, tab.top);
            else
                EXPECT_GE(mdi.left, tab.right);
        }
        // The side away from the tabs keeps only the pane's margin (4) or less.
        if (row.side == 't')
            EXPECT_LE(ws.bottom - mdi.bottom, 4);
        else if (row.side == 'b')
            EXPECT_LE(mdi.top - ws.top, 4);
        else
            EXPECT_LE(ws.right - mdi.right, 4);
        client.Detach();
    }
}

TEST_F(TabWorkspace, ARefreshLaysTheFrameOutAgainOnlyWhenTheTabRowsChange)
{
    ASSERT_TRUE(client.Attach(main, TCS_MULTILINE));
    Child(L"Alpha");
    Child(L"Beta");
    Refresh();
    ASSERT_EQ(Tabs().GetRowCount(), 1);
    const int oneRow = main->layouts;
    NamedChild* gamma = Child(L"Gamma");
    Refresh();
    gamma->SetWindowText(L"Gamma ray");
    Refresh();
    main->MDIActivate(gamma);
    Refresh();
    EXPECT_EQ(main->layouts, oneRow) << "a tab more, a title and another child active in the same row";
    // Titles long enough to wrap the tabs into a second row move the MDI client down.
    for (int i = 0; i < 12 && Tabs().GetRowCount() == 1; ++i) {
        Child(L"A rather long title that takes room");
        Refresh();
    }
    ASSERT_GT(Tabs().GetRowCount(), 1);
    EXPECT_GT(main->layouts, oneRow) << "the second row";
    CRect mdi;
    ::GetWindowRect(main->m_hWndMDIClient, &mdi);
    for (int i = 0; i < Tabs().GetItemCount(); ++i) {
        CRect tab;
        Tabs().GetItemRect(i, &tab);
        Tabs().ClientToScreen(&tab);
        EXPECT_GE(mdi.top, tab.bottom) << "tab " << i << " over the MDI client";
    }
}

// A refresh that gives a new child its tab and selects it paints the tabs once, when it is
// done, and leaves them shown with the new tab selected; so does closing that child, whose
// tab goes while the one before it is selected.
HWND g_paintedTabs = nullptr;
int g_tabPaints = 0;
LRESULT CountTabPaints(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code >= 0 && call->hwnd == g_paintedTabs && call->message == WM_PAINT)
        ++g_tabPaints;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(TabWorkspace, OpeningAndClosingAChildPaintTheTabsOnceEach)
{
    ASSERT_TRUE(client.Attach(main, 0));
    Child(L"Alpha");
    Refresh();
    auto* beta = new NamedChild; // deletes itself with its window
    ASSERT_TRUE(beta->Create(nullptr, L"Beta", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 150), main));
    g_paintedTabs = Tabs().m_hWnd;
    g_tabPaints = 0;
    const HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, &CountTabPaints, nullptr, ::GetCurrentThreadId());
    Pump(); // the refresh the new child asked for
    EXPECT_EQ(g_tabPaints, 1) << "opened";
    EXPECT_EQ(Tabs().GetCurSel(), 1);
    g_tabPaints = 0;
    main->MDIGetActive()->MDIDestroy();
    Pump();
    ::UnhookWindowsHookEx(hook);
    EXPECT_EQ(g_tabPaints, 1) << "closed";
    EXPECT_TRUE(Tabs().IsWindowVisible());
    EXPECT_EQ(Tabs().GetItemCount(), 1);
    EXPECT_EQ(Tabs().GetCurSel(), 0);
}

// The MDI client's exact rectangle, worked from the tab control's documented geometry: the
// workspace covers the frame's client area W x Hc less its 1-pixel margin; one row of tabs
// of height H lies 2 pixels inside the row's side and the display area is the pane 4 pixels
// in; buttons start at the edge, the display area 3 pixels after their row and flush with
// the other sides. Bottom buttons are measured as top buttons and the area moved back up;
// vertical buttons as horizontal ones on the transposed rectangle.
TEST_F(TabWorkspace, TheMdiClientRectangleForEachTabStyleWorkedByHand)
{
    Child(L"Alpha");
    Child(L"Beta");
    CRect frameClient;
    main->GetClientRect(&frameClient);
    const int W = frameClient.Width(), Hc = frameClient.Height();
    int H = 0;   // the row height, the tab control's own measure
    struct Row {
        const char* what;
        DWORD style;
        // The expected rectangle from W, Hc and H.
        CRect (*expect)(int W, int Hc, int H);
    };
    const Row rows[] = {
        {"top tabs", TCS_MULTILINE, [](int W, int Hc, int H) { return CRect(1 + 4, 1 + 2 + H + 4, W - 1 - 4, Hc - 1 - 4); }},
        {"bottom tabs", TCS_MULTILINE | TCS_BOTTOM,
            [](int W, int Hc, int H) { return CRect(1 + 4, 1 + 4, W - 1 - 4, Hc - 1 - 2 - H - 4); }},
        {"bottom buttons", TCS_MULTILINE | TCS_BOTTOM | TCS_BUTTONS,
            [](int W, int Hc, int H) { return CRect(1, 1, W - 1, Hc - 1 - H - 3); }},
        {"vertical buttons", TCS_MULTILINE | TCS_VERTICAL | TCS_BUTTONS,
            [](int W, int Hc, int H) { return CRect(1 + H + 3, 1, W - 1, Hc - 1); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(client.Attach(main, row.style));
        main->RecalcLayout();
        Pump();
        ASSERT_EQ(Tabs().GetItemCount(), 2);
        if (H == 0) {
            CRect tab;
            Tabs().GetItemRect(0, &tab);
            H = tab.Height();
            ASSERT_GT(H, 0);
        }
        const CRect want = row.expect(W, Hc, H);
        CRect mdi;
        ::GetWindowRect(main->m_hWndMDIClient, &mdi);
        main->ScreenToClient(&mdi);
        EXPECT_EQ(mdi, want) << "W " << W << ", Hc " << Hc << ", H " << H;
        client.Detach();
    }
}

TEST_F(TabWorkspace, ALoneChildInANarrowFrameGetsAPlaceholderThatActivatesNothing)
{
    main->SetWindowPos(nullptr, 0, 0, 180, 300, SWP_NOMOVE | SWP_NOZORDER);
    NamedChild* only = Child(L"A lone child with a long title");
    ASSERT_TRUE(client.Attach(main, TCS_MULTILINE));
    main->RecalcLayout();
    Pump();
    ASSERT_EQ(Tabs().GetItemCount(), 2) << "no placeholder";
    EXPECT_EQ(Tabs().GetTabChild(1), nullptr);
    Tabs().SetCurSel(1);
    NMHDR hdr{Tabs().m_hWnd, COXTabClientWnd::kWorkspaceId, TCN_SELCHANGE};
    main->SendMessage(WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
    Tabs().SendMessage(WM_LBUTTONDBLCLK, 0, 0);
    Pump();
    BOOL maximized = FALSE;
    EXPECT_EQ(main->MDIGetActive(&maximized), only);
    EXPECT_FALSE(maximized) << "the placeholder's double click reached a child";
    main->SetWindowPos(nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
    main->RecalcLayout();
    Pump();
    EXPECT_EQ(Tabs().GetItemCount(), 1) << "the placeholder stayed";
}

TEST_F(TabWorkspace, ARefreshSurvivesAChildChangingTheTabsWhileAnswering)
{
    // Each row: which child the meddler is and which loses its tab while it answers
    // (before or after it in the refresh's walk, or itself).
    struct Row {
        const char* name;
        int meddler;
        int victim;
    };
    const Row rows[] = {{"a later child", 0, 2}, {"an earlier child", 2, 0}, {"itself", 1, 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<CMDIChildWnd*> children;
        MeddlingChild* meddler = nullptr;
        for (int i = 0; i < 4; ++i) {
            CMDIChildWnd* child = i == row.meddler ? (meddler = new MeddlingChild) : new CMDIChildWnd;
            const std::wstring title = L"C" + std::to_wstring(i);
            ASSERT_TRUE(child->Create(nullptr, title.c_str(), WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                CRect(0, 0, 200, 150), main));
            children.push_back(child);
        }
        ASSERT_TRUE(client.Attach(main, TCS_MULTILINE));
        Pump();
        ASSERT_EQ(Tabs().GetTabItemCount(), 4);
        meddler->tabs = &Tabs();
        meddler->victim = children[static_cast<size_t>(row.victim)];
        for (int pass = 0; pass < 2; ++pass) {
            Refresh();
            // Every tab still names its own child, and no child has two.
            std::vector<HWND> seen;
            for (int i = 0; i < Tabs().GetTabItemCount(); ++i) {
                const HWND wnd = Tabs().GetTabItem(i).hWnd;
                ASSERT_TRUE(::IsWindow(wnd));
                wchar_t title[256] = {};
                ::GetWindowTextW(wnd, title, 256);
                EXPECT_EQ(std::wstring(Tabs().GetTabItem(i).csTitle.GetString()), std::wstring(title))
                    << "tab " << i << ", pass " << pass;
                EXPECT_EQ(std::count(seen.begin(), seen.end(), wnd), 0) << "tab " << i;
                seen.push_back(wnd);
            }
            EXPECT_EQ(Tabs().GetItemCount(), Tabs().GetTabItemCount());
        }
        EXPECT_EQ(Tabs().GetTabItemCount(), 4) << "the lost tab is back after the next refresh";
        client.Detach();
        for (CMDIChildWnd* child : children)
            child->DestroyWindow();
        Pump();
    }
}

} // namespace
} // namespace docktest
