// CStatusBar: panes from indicator IDs (texts and widths in the status font), the share of
// spare room the stretchy panes get, pane styles as the control shows them, deferred
// texts, owner-drawn panes, the bar's height, the idle pass with the lock indicators
// following scripted key toggles, and the frame's layout with a toolbar, a status bar and
// a view. Expected widths come from the status font measured here, apart from the bar.
#include "platform/user/vkeys.h"
#include "tests/afx/bars_test_support.h"

namespace zyn::test {
namespace {

class StatusBarTest : public BarsTest {
protected:
    // The width a pane list ends at: the client width less the size grip.
    int InnerWidth(const CStatusBar& bar) const
    {
        CRect c;
        bar.GetClientRect(&c);
        return c.Width() - GetSystemMetrics(SM_CXVSCROLL);
    }
    static std::vector<int> Edges(const CStatusBar& bar)
    {
        int edges[8] = {};
        const int n = static_cast<int>(::SendMessageW(bar.m_hWnd, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)));
        return std::vector<int>(edges, edges + std::max(0, n));
    }
};

constexpr UINT kLocks[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

// Caps Lock, Num Lock and Scroll Lock toggled on for a scope, every key up again after it.
struct LocksOn {
    LocksOn()
    {
        BYTE keys[256] = {};
        keys[VK_CAPITAL] = keys[VK_NUMLOCK] = keys[VK_SCROLL] = 1;
        SetKeyboardState(keys);
    }
    ~LocksOn()
    {
        BYTE keys[256] = {};
        SetKeyboardState(keys);
    }
    LocksOn(const LocksOn&) = delete;
    LocksOn& operator=(const LocksOn&) = delete;
};

TEST_F(StatusBarTest, IndicatorsTakeTheirTextsAndWidthsFromTheStatusFont)
{
    ASSERT_TRUE(MakeFrame());
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(frame));
    EXPECT_TRUE(bar.GetStyle() & SBARS_SIZEGRIP) << "a sizable frame gets the grip";
    EXPECT_EQ(bar.GetBarStyle() & CBRS_BORDER_ANY, 0u) << "along the bottom the bar draws no border";
    ASSERT_TRUE(bar.SetIndicators(kLocks, 4));
    frame->RecalcLayout();
    // The idle pass shows a lock's indicator only while its key is toggled on.
    LocksOn locks;
    Pump();
    ASSERT_EQ(bar.GetCount(), 4);
    struct Row {
        int index;
        UINT id;
        const wchar_t* text;
        UINT style;
    };
    const Row rows[] = {
        {0, ID_SEPARATOR, L"Ready", SBPS_STRETCH | SBPS_NOBORDERS},   // the idle prompt
        {1, ID_INDICATOR_CAPS, L"CAP", SBPS_NORMAL},
        {2, ID_INDICATOR_NUM, L"NUM", SBPS_NORMAL},
        {3, ID_INDICATOR_SCRL, L"SCRL", SBPS_NORMAL},
    };
    int sum = 0;
    for (const Row& row : rows) {
        UINT id = 0, style = 0;
        int cx = 0;
        bar.GetPaneInfo(row.index, id, style, cx);
        EXPECT_EQ(id, row.id) << "pane " << row.index;
        EXPECT_EQ(style, row.style) << "pane " << row.index;
        const int width = row.index == 0 ? GetSystemMetrics(SM_CXSCREEN) / 4 : StatusFontExtent(row.text).cx;
        EXPECT_EQ(cx, width) << "pane " << row.index;
        EXPECT_EQ(std::wstring(bar.GetPaneText(row.index).GetString()), row.text);
        EXPECT_EQ(Shown(bar, row.index), row.text) << "pane " << row.index;
        EXPECT_EQ(bar.CommandToIndex(row.id), row.index);
        sum += width + 6 + 2;
    }
    // Right edges: each pane its width + 6, 2 pixels between panes, the rest to pane 0; the
    // last pane ends where the grip begins.
    const int W = InnerWidth(bar);
    const int extra = W + 2 - sum;
    const int cap = StatusFontExtent(L"CAP").cx, num = StatusFontExtent(L"NUM").cx, scrl = StatusFontExtent(L"SCRL").cx;
    const int r0 = GetSystemMetrics(SM_CXSCREEN) / 4 + 6 + extra;
    const std::vector<int> expected{r0, r0 + 2 + cap + 6, r0 + 2 + cap + 6 + 2 + num + 6, W};
    EXPECT_EQ(Edges(bar), expected);
    EXPECT_EQ(r0 + 2 + cap + 6 + 2 + num + 6 + 2 + scrl + 6, W) << "the sums agree";
    CRect last;
    bar.GetItemRect(3, &last);
    EXPECT_EQ(last.right, W);

    // Bad indexes are refused, and do not touch other panes.
    ::SetLastError(0);
    EXPECT_EQ(bar.GetItemID(-1), static_cast<UINT>(ID_SEPARATOR));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(bar.SetPaneText(4, L"x"));
    CRect none;
    bar.GetItemRect(9, &none);
    EXPECT_TRUE(none.IsRectEmpty());
    const UINT tooMany[300] = {};
    EXPECT_FALSE(bar.SetIndicators(tooMany, 300)) << "more panes than the control has parts";
    EXPECT_FALSE(bar.SetIndicators(kLocks, -1));
    EXPECT_EQ(bar.GetCount(), 4) << "a refused list changes nothing";
}

TEST_F(StatusBarTest, TwoStretchyPanesShareTheSpareRoomInTurn)
{
    ASSERT_TRUE(MakeFrame());
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(frame));
    const UINT two[] = {ID_SEPARATOR, ID_SEPARATOR};
    ASSERT_TRUE(bar.SetIndicators(two, 2));
    frame->RecalcLayout();
    const int W = InnerWidth(bar);
    // 7 pixels to spare: W + 2 - (100 + 8) - (cx1 + 8) = 7.
    bar.SetPaneInfo(0, ID_SEPARATOR, SBPS_STRETCH, 100);
    bar.SetPaneInfo(1, ID_SEPARATOR, SBPS_STRETCH, W + 2 - 108 - 8 - 7);
    // The first takes 7 / 2 = 3, the second what is left, 4.
    EXPECT_EQ(Edges(bar), (std::vector<int>{100 + 6 + 3, W}));
    // Only the second stretching: it takes all 7.
    bar.SetPaneStyle(0, SBPS_NORMAL);
    EXPECT_EQ(Edges(bar), (std::vector<int>{106, W}));
}

TEST_F(StatusBarTest, PaneStylesAndDeferredTextsAreWhatTheControlShows)
{
    ASSERT_TRUE(MakeFrame());
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(frame));
    ASSERT_TRUE(bar.SetIndicators(kLocks, 4));
    struct Row {
        const char* what;
        UINT style;
        const wchar_t* shown;
        UINT type;
    };
    const Row rows[] = {
        {"normal", SBPS_NORMAL, L"CAP", 0},
        {"no borders", SBPS_NOBORDERS, L"CAP", SBT_NOBORDERS},
        {"pops out", SBPS_POPOUT, L"CAP", SBT_POPOUT},
        {"disabled: the text is kept, not shown", SBPS_DISABLED, L"", 0},
        {"disabled and popped out", SBPS_DISABLED | SBPS_POPOUT, L"", SBT_POPOUT},
        {"normal again", SBPS_NORMAL, L"CAP", 0},
    };
    for (const Row& row : rows) {
        bar.SetPaneStyle(1, row.style);
        EXPECT_EQ(bar.GetPaneStyle(1), row.style) << row.what;
        UINT type = 0;
        EXPECT_EQ(Shown(bar, 1, &type), row.shown) << row.what;
        EXPECT_EQ(type, row.type) << row.what;
        EXPECT_EQ(std::wstring(bar.GetPaneText(1).GetString()), L"CAP") << row.what;
    }
    // A deferred text is stored at once and shown by the next update of the texts.
    ASSERT_TRUE(bar.SetPaneText(2, L"Later", FALSE));
    EXPECT_EQ(std::wstring(bar.GetPaneText(2).GetString()), L"Later");
    EXPECT_EQ(Shown(bar, 2), L"NUM");
    bar.UpdateAllPanes(FALSE, TRUE);
    EXPECT_EQ(Shown(bar, 2), L"Later");
    ASSERT_TRUE(bar.SetPaneText(2, nullptr));
    EXPECT_EQ(Shown(bar, 2), L"");
    // The message line is the pane with ID 0: WM_SETTEXT and WM_GETTEXT reach it.
    bar.SetWindowText(L"Working");
    EXPECT_EQ(Shown(bar, 0), L"Working");
    CString text;
    bar.GetWindowText(text);
    EXPECT_STREQ(text, L"Working");
}

TEST_F(StatusBarTest, AMissingIndicatorStringStillLeavesEveryPaneItsID)
{
    ASSERT_TRUE(MakeFrame());
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(frame));
    const UINT ids[] = {ID_SEPARATOR, ID_PANE_MISSING, ID_PANE_WIDE};
    ::SetLastError(0);
    EXPECT_FALSE(bar.SetIndicators(ids, 3));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    ASSERT_EQ(bar.GetCount(), 3);
    EXPECT_EQ(bar.CommandToIndex(ID_PANE_WIDE), 2) << "the pane after the missing one was made";
    EXPECT_EQ(std::wstring(bar.GetPaneText(2).GetString()), L"WIDE PANE");
    EXPECT_EQ(bar.GetPaneText(1).GetLength(), 0);
    // Panes without IDs at all.
    EXPECT_TRUE(bar.SetIndicators(nullptr, 2));
    EXPECT_EQ(bar.GetItemID(1), static_cast<UINT>(ID_SEPARATOR));
}

TEST_F(StatusBarTest, TheBarIsAsTallAsTheFontOrTheMinimumHeight)
{
    ASSERT_TRUE(MakeFrame());
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(frame));
    int line = 0;
    StatusFontExtent(L"", &line);
    // The control's client height (line + 8) and the bar's top margin of 2.
    EXPECT_EQ(bar.CalcFixedLayout(TRUE, TRUE), CSize(32767, line + 8 + 2));
    bar.GetStatusBarCtrl().SetMinHeight(40);
    EXPECT_EQ(bar.m_nMinHeight, 40);
    EXPECT_EQ(bar.CalcFixedLayout(TRUE, TRUE).cy, std::max(line + 8, 40 + 4) + 2);
}

// A bar that draws its owner-drawn panes: what it was asked to draw.
class CDrawingBar : public CStatusBar {
public:
    std::vector<UINT> items;
    std::vector<std::wstring> texts;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override
    {
        items.push_back(lpDIS->itemID);
        texts.push_back(reinterpret_cast<LPCWSTR>(lpDIS->itemData));
    }
};

TEST_F(StatusBarTest, OwnerDrawnPanesComeBackToDrawItem)
{
    ASSERT_TRUE(MakeFrame());
    CDrawingBar bar;
    ASSERT_TRUE(bar.Create(frame));
    ASSERT_TRUE(bar.SetIndicators(kLocks, 4));
    frame->RecalcLayout();
    bar.SetPaneStyle(2, SBPS_OWNERDRAW);
    LocksOn locks;   // NUM shows after the idle pass
    Pump();
    bar.items.clear();
    bar.texts.clear();
    bar.Invalidate();
    bar.UpdateWindow();
    ASSERT_EQ(bar.items, std::vector<UINT>{2}) << "only the owner-drawn pane";
    EXPECT_EQ(bar.texts, std::vector<std::wstring>{L"NUM"}) << "its text comes as the item data";
}

// The lock indicators follow the keys' toggles in the idle pass; a pane of the frame's own
// gets its text through CCmdUI::SetText.
class CPaneFrame : public CFrameWnd {
public:
    int updates = 0;
    void OnUpdateWide(CCmdUI* pCmdUI)
    {
        ++updates;
        pCmdUI->SetText(updates % 2 ? L"odd" : L"even");
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaneFrame, CFrameWnd)
    ON_UPDATE_COMMAND_UI(ID_PANE_WIDE, &CPaneFrame::OnUpdateWide)
END_MESSAGE_MAP()

TEST_F(StatusBarTest, LockIndicatorsFollowScriptedKeyToggles)
{
    auto* f = new CPaneFrame;
    ASSERT_TRUE(f->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 700, 500)));
    frame = f;
    app.m_pMainWnd = frame;
    frame->SetActiveWindow();
    frame->SetFocus();
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(frame));
    const UINT ids[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL, ID_PANE_WIDE};
    ASSERT_TRUE(bar.SetIndicators(ids, 5));
    frame->RecalcLayout();
    // Start from every toggle off, whatever the keyboard state was.
    BYTE keys[256] = {};
    SetKeyboardState(keys);
    Idle(app);
    EXPECT_EQ(Shown(bar, 0), L"Ready") << "the idle prompt at the first idle pass";
    struct Step {
        int vk;   // 0: no key, just the idle pass
        const wchar_t* caps;
        const wchar_t* num;
        const wchar_t* scrl;
    };
    const Step steps[] = {
        {0, L"", L"", L""},
        {VK_CAPITAL, L"CAP", L"", L""},
        {VK_NUMLOCK, L"CAP", L"NUM", L""},
        {VK_CAPITAL, L"", L"NUM", L""},
        {VK_SCROLL, L"", L"NUM", L"SCRL"},
        {VK_NUMLOCK, L"", L"", L"SCRL"},
    };
    int n = 0;
    for (const Step& s : steps) {
        if (s.vk) {
            user::InjectKeyPress(s.vk);
            PumpTranslated();   // the key, then the idle pass
        } else {
            Idle(app);
        }
        ++n;
        EXPECT_EQ(Shown(bar, 1), s.caps) << "step " << n;
        EXPECT_EQ(Shown(bar, 2), s.num) << "step " << n;
        EXPECT_EQ(Shown(bar, 3), s.scrl) << "step " << n;
        EXPECT_EQ(std::wstring(bar.GetPaneText(1).GetString()), L"CAP") << "the text is kept";
        EXPECT_EQ(Shown(bar, 4), f->updates % 2 ? L"odd" : L"even") << "one update per idle pass";
    }
    EXPECT_EQ(f->updates, 7) << "the first idle pass and one per step";
    SetKeyboardState(keys);
}

TEST_F(StatusBarTest, TheFrameLaysOutToolbarStatusBarAndView)
{
    ASSERT_TRUE(MakeFrame());
    CToolBar tool;
    ASSERT_TRUE(tool.Create(frame));
    ASSERT_TRUE(tool.LoadToolBar(IDR_TESTBAR));
    CStatusBar status;
    ASSERT_TRUE(status.Create(frame));
    ASSERT_TRUE(status.SetIndicators(kLocks, 4));
    frame->RecalcLayout();
    CRect c;
    frame->GetClientRect(&c);
    const int W = c.Width(), H = c.Height();
    int line = 0;
    StatusFontExtent(L"", &line);
    const int hs = line + 8 + 2;
    // The toolbar: 22 + 3 + 3 + its bottom border 2, across the top; the status bar along
    // the bottom; the view between them.
    CWnd viewWnd;
    viewWnd.Attach(view);
    EXPECT_EQ(RectIn(*frame, tool), CRect(0, 0, W, 30));
    EXPECT_EQ(RectIn(*frame, status), CRect(0, H - hs, W, H));
    EXPECT_EQ(RectIn(*frame, viewWnd), CRect(0, 30, W, H - hs));
    viewWnd.Detach();
    // The toolbar's buttons sit inside its margins: the first at (6, 3) of the bar.
    CRect b0;
    tool.GetItemRect(0, &b0);
    tool.ClientToScreen(&b0);
    EXPECT_EQ(b0.TopLeft() - ScreenRect(tool).TopLeft(), CSize(6, 3));
    // The View menu's commands show and hide the bars by their IDs.
    frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(status.IsWindowVisible());
    frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_FALSE(tool.IsWindowVisible());
}

} // namespace
} // namespace zyn::test
