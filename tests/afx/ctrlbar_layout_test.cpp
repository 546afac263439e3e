// Control bars in the frame's layout pass, delayed showing through the idle pass, the
// dock bars EnableDocking makes, and the bar array of a dock bar: rows, placeholders,
// wrapping, removal. Geometry is worked by hand from the layout rules: a bar takes its
// size from its side of the room left; docked rows start at (-2, -2) and each bar and row
// starts 2 pixels back over the previous one.
#include "tests/afx/dock_test_support.h"
#include "tests/support/pump.h"

namespace zyn::test {
namespace {

constexpr UINT ID_A = 0xE840, ID_B = 0xE841, ID_C = 0xE842, ID_D = 0xE843;

void* Ph(UINT id) { return reinterpret_cast<void*>(static_cast<UINT_PTR>(id)); }

std::vector<void*> Bars(const CDockBar& dock)
{
    std::vector<void*> out;
    for (int i = 0; i < dock.m_arrBars.GetSize(); ++i)
        out.push_back(dock.m_arrBars[i]);
    return out;
}

TEST_F(DockTest, FrameLaysOutBarsOnEachSideAroundTheView)
{
    ASSERT_TRUE(MakeFrame());
    // Created in the order top, bottom, left, right, so laid out in that order.
    CTestBar top(CSize(100, 30)), bottom(CSize(80, 20)), left(CSize(60, 40)), right(CSize(70, 50));
    top.stretch = true;   // spans the side; the others keep their own length
    ASSERT_TRUE(top.Make(frame, ID_A, CBRS_TOP));
    ASSERT_TRUE(bottom.Make(frame, ID_B, CBRS_BOTTOM));
    ASSERT_TRUE(left.Make(frame, ID_C, CBRS_LEFT));
    ASSERT_TRUE(right.Make(frame, ID_D, CBRS_RIGHT));
    EXPECT_EQ(frame->m_listControlBars.GetCount(), 4) << "bars join the frame's list when created";
    EXPECT_EQ(top.GetStyle() & CBRS_ALL, 0u) << "the bar's bits stay out of the window style";
    EXPECT_EQ(top.GetBarStyle(), CBRS_TOP);
    frame->RecalcLayout();
    CRect c;
    frame->GetClientRect(&c);
    const int W = c.Width(), H = c.Height();
    struct Row {
        const char* name;
        const CWnd* wnd;
        CRect expected;
    };
    CWnd viewWnd;
    viewWnd.Attach(view);
    // Top: stretched to W, 30 high. Bottom: 80 x 20 at the bottom edge. Left: turned to
    // 40 x 60 between them. Right: 50 x 70 at the right edge. The view takes the rest.
    const Row rows[] = {
        {"top", &top, CRect(0, 0, W, 30)},
        {"bottom", &bottom, CRect(0, H - 20, 80, H)},
        {"left", &left, CRect(0, 30, 40, 90)},
        {"right", &right, CRect(W - 50, 30, W, 100)},
        {"view", &viewWnd, CRect(40, 30, W - 50, H - 20)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(RectIn(*frame, *row.wnd), row.expected) << row.name;

    // A hidden bar takes no room; at once without delay.
    frame->ShowControlBar(&top, FALSE, FALSE);
    EXPECT_FALSE(top.IsWindowVisible());
    EXPECT_EQ(RectIn(*frame, viewWnd), CRect(40, 0, W - 50, H - 20));
    frame->ShowControlBar(&top, TRUE, FALSE);
    EXPECT_EQ(RectIn(*frame, viewWnd), CRect(40, 30, W - 50, H - 20));
    viewWnd.Detach();

    // A measuring pass moves nothing and reports the bars' total.
    CRect total;
    frame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &total, nullptr, FALSE);
    // Unstretched: top 100 x 30 and bottom 80 x 20 add their heights (50, widest 100);
    // left 40 x 60 and right 50 x 70 add their widths (190) and the tallest counts (70).
    EXPECT_EQ(total, CRect(0, 0, 190, 70));
    top.DestroyWindow();
    EXPECT_EQ(frame->m_listControlBars.GetCount(), 3) << "a destroyed bar leaves the list";
}

TEST_F(DockTest, DelayedShowAndHideWaitForTheIdlePass)
{
    ASSERT_TRUE(MakeFrame());
    CTestBar top(CSize(100, 30)), other(CSize(100, 25));
    ASSERT_TRUE(top.Make(frame, ID_A, CBRS_TOP));
    ASSERT_TRUE(other.Make(frame, ID_B, CBRS_BOTTOM));
    frame->RecalcLayout();
    CWnd viewWnd;
    viewWnd.Attach(view);
    const CRect withTop = RectIn(*frame, viewWnd);
    ASSERT_EQ(withTop.top, 30);

    frame->ShowControlBar(&top, FALSE, TRUE);
    EXPECT_TRUE(top.IsWindowVisible()) << "the window waits";
    EXPECT_FALSE(top.IsVisible()) << "but the bar counts as hidden";
    EXPECT_EQ(RectIn(*frame, viewWnd), withTop);
    const int before = top.updates;
    Idle(app);
    EXPECT_FALSE(top.IsWindowVisible());
    EXPECT_EQ(RectIn(*frame, viewWnd).top, 0);
    EXPECT_EQ(top.updates, before) << "a hidden bar is not updated";
    EXPECT_GT(other.updates, 0) << "visible bars are updated in the idle pass";

    // A hide and a show before the pass cancel out.
    frame->ShowControlBar(&top, TRUE, TRUE);
    EXPECT_TRUE(top.IsVisible());
    EXPECT_FALSE(top.IsWindowVisible());
    frame->ShowControlBar(&top, FALSE, TRUE);
    frame->ShowControlBar(&top, TRUE, TRUE);
    Idle(app);
    EXPECT_TRUE(top.IsWindowVisible());
    EXPECT_EQ(RectIn(*frame, viewWnd), withTop);
    frame->ShowControlBar(&top, FALSE, TRUE);
    frame->ShowControlBar(&top, TRUE, TRUE);
    EXPECT_EQ(top.m_nStateFlags & (CControlBar::delayHide | CControlBar::delayShow), 0u)
        << "showing a shown bar leaves nothing pending";

    // Hiding the window directly asks the frame for a delayed layout.
    frame->m_nIdleFlags = 0;
    top.ShowWindow(SW_HIDE);
    EXPECT_TRUE(frame->m_nIdleFlags & idleLayout);
    Idle(app);
    EXPECT_EQ(RectIn(*frame, viewWnd).top, 0);
    viewWnd.Detach();
}

TEST_F(DockTest, EnableDockingMakesTheFourSidesInOrder)
{
    ASSERT_TRUE(MakeFrame());
    CTestBar status(CSize(100, 20));
    ASSERT_TRUE(status.Make(frame, ID_A, CBRS_BOTTOM));
    frame->EnableDocking(CBRS_ALIGN_TOP);
    ASSERT_NE(Side(AFX_IDW_DOCKBAR_TOP), nullptr);
    EXPECT_EQ(Side(AFX_IDW_DOCKBAR_LEFT), nullptr) << "only the sides asked for";
    frame->EnableDocking(CBRS_ALIGN_ANY);
    frame->EnableDocking(CBRS_ALIGN_ANY);   // nothing twice
    std::vector<UINT> order;
    for (HWND h = GetWindow(frame->m_hWnd, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        const UINT id = static_cast<UINT>(GetDlgCtrlID(h));
        if (id >= AFX_IDW_DOCKBAR_TOP && id <= AFX_IDW_DOCKBAR_FLOAT)
            order.push_back(id);
    }
    EXPECT_EQ(order, (std::vector<UINT>{AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT,
                         AFX_IDW_DOCKBAR_RIGHT}));
    const struct {
        UINT id;
        DWORD align;
    } sides[] = {{AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP}, {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM},
        {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT}, {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT}};
    for (const auto& s : sides) {
        CDockBar* dock = Side(s.id);
        ASSERT_NE(dock, nullptr) << s.id;
        EXPECT_EQ(dock->m_dwStyle & CBRS_ALIGN_ANY, s.align) << s.id;
        EXPECT_EQ(dock->GetStyle() & 0xFFFF, 0u) << "no CBRS bit in the window style, " << s.id;
        EXPECT_FALSE(dock->m_bFloating);
        EXPECT_EQ(Bars(*dock), std::vector<void*>{nullptr}) << "entry 0 is the only one";
    }
    // The status bar was made first, so it keeps the bottom edge below the bottom side.
    CTestBar docked(CSize(100, 30));
    ASSERT_TRUE(docked.Make(frame, ID_B, CBRS_TOP));
    docked.EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(&docked, AFX_IDW_DOCKBAR_BOTTOM);
    frame->RecalcLayout();
    CRect c;
    frame->GetClientRect(&c);
    EXPECT_EQ(RectIn(*frame, status), CRect(0, c.bottom - 20, 100, c.bottom));
    // The bottom side: one row of a 30-high bar is 30 - 2 - 2 = 26 high, above the status bar.
    EXPECT_EQ(RectIn(*frame, *Side(AFX_IDW_DOCKBAR_BOTTOM)), CRect(0, c.bottom - 20 - 26, c.right, c.bottom - 20));
}

TEST_F(DockTest, DockingFillsRowsWithPlaceholdersAndRowEnds)
{
    ASSERT_TRUE(MakeFrame());
    frame->EnableDocking(CBRS_ALIGN_ANY);
    CTestBar a, b, c, noId;
    ASSERT_TRUE(a.Make(frame, ID_A, CBRS_TOP, L"A"));
    ASSERT_TRUE(b.Make(frame, ID_B, CBRS_TOP, L"B"));
    ASSERT_TRUE(c.Make(frame, ID_C, CBRS_TOP, L"C"));
    ASSERT_TRUE(noId.Make(frame, 0, CBRS_TOP, L"none"));
    for (CTestBar* bar : {&a, &b, &c, &noId})
        bar->EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(&a);   // the first side the bar may use: top
    frame->DockControlBar(&b, AFX_IDW_DOCKBAR_TOP);
    CDockBar* top = Side(AFX_IDW_DOCKBAR_TOP);
    EXPECT_EQ(Bars(*top), (std::vector<void*>{nullptr, &a, nullptr, &b, nullptr})) << "a new row each";
    EXPECT_EQ(a.m_pDockBar, top);
    EXPECT_EQ(a.GetBarStyle() & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY | CBRS_FLOATING), CBRS_ALIGN_TOP | CBRS_BORDER_ANY);
    EXPECT_EQ(a.GetParent()->m_hWnd, top->m_hWnd);
    frame->RecalcLayout();
    EXPECT_EQ(RectIn(*top, a), CRect(-2, -2, 98, 28));
    EXPECT_EQ(RectIn(*top, b), CRect(-2, 26, 98, 56));
    EXPECT_EQ(RectIn(*frame, *top).Height(), 54) << "two rows: 30 - 2 - 2 + 30 - 2";
    EXPECT_EQ(a.m_pDockContext->m_uMRUDockID, AFX_IDW_DOCKBAR_TOP);
    EXPECT_EQ(a.m_pDockContext->m_rectMRUDockPos, CRect(-2, -2, 98, 28));

    // Dropped at x 150 of the first row (its middle at y 15, above the row's far edge 26):
    // after a, and it keeps its place along the row.
    CRect drop(150, 0, 250, 30);
    top->ClientToScreen(&drop);
    frame->DockControlBar(&c, top, &drop);
    EXPECT_EQ(Bars(*top), (std::vector<void*>{nullptr, &a, &c, nullptr, &b, nullptr}));
    frame->RecalcLayout();
    EXPECT_EQ(RectIn(*top, c), CRect(150, -2, 250, 28));

    // Floating leaves a placeholder (the ID) where the bar was; docking back takes it.
    frame->FloatControlBar(&c, CPoint(300, 300));
    EXPECT_EQ(Bars(*top), (std::vector<void*>{nullptr, &a, Ph(ID_C), nullptr, &b, nullptr}));
    EXPECT_TRUE(c.IsFloating());
    EXPECT_EQ(top->GetDockedCount(), 2);
    c.m_pDockContext->ToggleDocking();
    EXPECT_EQ(Bars(*top), (std::vector<void*>{nullptr, &a, &c, nullptr, &b, nullptr}));
    EXPECT_EQ(RectIn(*top, c), CRect(150, -2, 250, 28)) << "back at its last docked place";

    // A bar without an ID cannot keep a place: no entry that would read as a row end.
    frame->DockControlBar(&noId, top);
    frame->FloatControlBar(&noId, CPoint(300, 300));
    EXPECT_EQ(Bars(*top), (std::vector<void*>{nullptr, &a, &c, nullptr, &b, nullptr}));

    // A destroyed bar leaves the array, and its emptied row goes too.
    b.DestroyWindow();
    EXPECT_EQ(Bars(*top), (std::vector<void*>{nullptr, &a, &c, nullptr}));
    EXPECT_EQ(top->FindBar(&b), -1);
    // Removing what is not there is refused.
    EXPECT_FALSE(top->RemoveControlBar(&b));
}

// A bar that does not fit in the rest of its row wraps into a row of its own: one that
// would start past the side's end, and one that would run past it even packed against the
// bars before it. Bars 30 thick on a side of length L: the first starts at -2, each next
// one 2 back over the one before (a bar of length n after one ending at e starts at e and
// ends at e + n); a bar fits while it ends by L + 2 (its far border may lie outside), and
// the next row starts at 30 - 2 - 2 = 26. The first bar of a row stays, however long.
TEST_F(DockTest, RowsWrapWhenABarDoesNotFitInTheRestOfTheSide)
{
    ASSERT_TRUE(MakeFrame());
    frame->EnableDocking(CBRS_ALIGN_ANY);
    CRect cl;
    frame->GetClientRect(&cl);
    const struct SideCase {
        const char* name;
        UINT id;
        int room; // L, the side's length
        bool horz;
    } sides[] = {
        {"top", AFX_IDW_DOCKBAR_TOP, cl.Width(), true},
        {"left", AFX_IDW_DOCKBAR_LEFT, cl.Height(), false},
    };
    struct Placed {
        int row;         // 0: the first row
        bool afterFirst; // packed after the first bar (at its length - 4); else at the row's start
    };
    struct Row {
        const char* name;
        std::vector<int> percent; // each bar's length: L * percent / 100 + extra
        std::vector<int> extras;
        std::vector<Placed> placed; // where each ends up
    };
    // With a = L / 2: the second, of L + 6 - a, ends at a - 4 + L + 6 - a = L + 2: it fits.
    const Row rows[] = {
        {"the second ends at the side's end", {50, 50}, {0, 6}, {{0, false}, {0, true}}},
        {"the second runs one pixel past it", {50, 50}, {0, 7}, {{0, false}, {1, false}}},
        {"three of 40 %: the third runs past", {40, 40, 40}, {0, 0, 0}, {{0, false}, {0, true}, {1, false}}},
        {"the first longer than the side: it stays, the next starts past it", {100, 0}, {10, 20},
            {{0, false}, {1, false}}},
    };
    for (const SideCase& side : sides) {
        CDockBar* dock = Side(side.id);
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(side.name) + ": " + row.name);
            const int l = side.room;
            std::vector<std::unique_ptr<CTestBar>> bars;
            std::vector<int> lengths;
            for (size_t i = 0; i < row.percent.size(); ++i) {
                lengths.push_back(l * row.percent[i] / 100 + row.extras[i]);
                bars.push_back(std::make_unique<CTestBar>(CSize(lengths.back(), 30)));
                ASSERT_TRUE(bars.back()->Make(frame, ID_A + static_cast<UINT>(i), CBRS_TOP));
                bars.back()->EnableDocking(CBRS_ALIGN_ANY);
                frame->DockControlBar(bars.back().get(), dock);
            }
            // All in one row, each window still at the row's start.
            dock->m_arrBars.RemoveAll();
            dock->m_arrBars.Add(nullptr);
            for (auto& bar : bars)
                dock->m_arrBars.Add(bar.get());
            dock->m_arrBars.Add(nullptr);
            frame->RecalcLayout();
            std::vector<void*> expectedArray{nullptr};
            for (size_t i = 0; i < bars.size(); ++i) {
                if (i > 0 && row.placed[i].row != row.placed[i - 1].row)
                    expectedArray.push_back(nullptr);
                expectedArray.push_back(bars[i].get());
            }
            expectedArray.push_back(nullptr);
            EXPECT_EQ(Bars(*dock), expectedArray);
            for (size_t i = 0; i < bars.size(); ++i) {
                const int along = row.placed[i].afterFirst ? lengths[0] - 4 : -2;
                const int across = row.placed[i].row == 0 ? -2 : 26;
                const CPoint expected = side.horz ? CPoint(along, across) : CPoint(across, along);
                EXPECT_EQ(RectIn(*dock, *bars[i]).TopLeft(), expected) << "bar " << i;
            }
            for (auto& bar : bars)
                bar->DestroyWindow();
            EXPECT_EQ(Bars(*dock), std::vector<void*>{nullptr});
        }
    }
}

// Records the prompts the message line is asked for.
class CPromptFrame : public CFrameWnd {
public:
    mutable std::vector<UINT> prompts;
    void GetMessageString(UINT nID, CString& rMessage) const override
    {
        prompts.push_back(nID);
        rMessage.Empty();
    }
};

class CheckUI : public CCmdUI {
public:
    int check = -1;
    void SetCheck(int n) override { check = n; }
};

TEST_F(DockTest, FlyByPromptsHelpHitsAndTheBarMenuCommand)
{
    auto* prompts = new CPromptFrame;
    ASSERT_TRUE(prompts->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 700, 500)));
    frame = prompts;
    app.m_pMainWnd = frame;
    CTestBar bar(CSize(200, 30));
    ASSERT_TRUE(bar.Make(frame, ID_A, CBRS_TOP | CBRS_FLYBY));
    frame->RecalcLayout();
    constexpr UINT ID_TOOL = 0x8123;
    const HWND tool = MakePlain(WS_CHILD | WS_VISIBLE, bar.m_hWnd, ID_TOOL);
    MoveWindow(tool, 10, 5, 30, 20, TRUE);
    Pump();
    CPoint onTool(25, 15), onBar(120, 15);
    bar.ClientToScreen(&onTool);
    bar.ClientToScreen(&onBar);

    user::InjectMouseMove(onTool.x, onTool.y);
    PumpTranslated();
    EXPECT_EQ(prompts->prompts, std::vector<UINT>{ID_TOOL}) << "the tool's prompt shows";
    user::InjectMouseMove(onTool.x + 2, onTool.y);
    PumpTranslated();
    EXPECT_EQ(prompts->prompts.size(), 1u) << "once while over the same tool";
    user::InjectMouseMove(onBar.x, onBar.y);
    PumpTranslated();
    EXPECT_EQ(prompts->prompts, (std::vector<UINT>{ID_TOOL, AFX_IDS_IDLEMESSAGE})) << "the idle prompt returns";
    // Leaving the bar for another window: the check a little later brings the idle prompt.
    user::InjectMouseMove(onTool.x, onTool.y);
    PumpTranslated();
    user::InjectMouseMove(20, 20);
    PumpTranslated();
    EXPECT_EQ(prompts->prompts.size(), 3u);
    base::Clock::Advance(250);
    PumpTranslated();
    EXPECT_EQ(prompts->prompts, (std::vector<UINT>{ID_TOOL, AFX_IDS_IDLEMESSAGE, ID_TOOL, AFX_IDS_IDLEMESSAGE}));

    EXPECT_EQ(bar.SendMessage(WM_HELPHITTEST, 0, MAKELPARAM(25, 15)), HID_BASE_COMMAND + ID_TOOL);
    EXPECT_EQ(bar.SendMessage(WM_HELPHITTEST, 0, MAKELPARAM(120, 15)), HID_BASE_CONTROL + ID_A);

    // The View menu's bar command shows and hides the bar with its ID, and checks its item.
    CheckUI ui;
    ui.m_nID = ID_A;
    ui.DoUpdate(frame, FALSE);
    EXPECT_EQ(ui.check, 1);
    frame->SendMessage(WM_COMMAND, ID_A);
    EXPECT_FALSE(bar.IsWindowVisible());
    ui.DoUpdate(frame, FALSE);
    EXPECT_EQ(ui.check, 0);
    frame->SendMessage(WM_COMMAND, ID_A);
    EXPECT_TRUE(bar.IsWindowVisible());
    CheckUI other;
    other.m_nID = ID_B;   // no such bar: the item is left to others
    other.DoUpdate(frame, FALSE);
    EXPECT_EQ(other.check, -1);
}

} // namespace
} // namespace zyn::test
