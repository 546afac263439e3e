// The dock bar's tab strip: one tab per size bar with its whole title, the selected bar
// shown and the others hidden, a click showing its bar, the removal of the second-to-last
// tab, the sizes a shown bar takes, hit testing in the dock bar's bottom 48 pixels,
// reordering a dragged tab, and a tab dragged 4 pixels (not 3) handing the mouse to its
// bar (a size bar's own drag, or a cool toolbar's through the docking seam).
#include "platform/gdi/icon.h"
#include "platform/user/driver.h"
#include "tests/docking/tab_test_support.h"
#include "toolkit/docking/dock_seams.h"

namespace docktest {
namespace {

constexpr UINT kLeft = AFX_IDW_DOCKBAR_LEFT;
constexpr UINT kRight = AFX_IDW_DOCKBAR_RIGHT;
constexpr UINT kBottom = AFX_IDW_DOCKBAR_BOTTOM;

// A title longer than any fixed buffer the tabs might be read through.
std::wstring LongTitle()
{
    std::wstring s;
    for (int i = 0; i < 30; ++i)
        s += L"Bar title " + std::to_wstring(i % 10);
    return s;   // 300 characters
}

// The tab's text read straight from the control with room to spare.
std::wstring RawText(COXDockTabCtrl& strip, int nTab)
{
    std::vector<wchar_t> buffer(4096, L'\0');
    TCITEM item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    return strip.GetItem(nTab, &item) ? std::wstring(buffer.data()) : std::wstring(L"<no item>");
}

class DockTab : public DockTabTest {
protected:
    // Three size bars on a side, docked in that order, and the side's strip.
    void ThreeBars(UINT nSide, const std::wstring& first = L"Alpha")
    {
        ASSERT_NE(MakeFrame(), nullptr);
        a = AddBar(nSide, first);
        b = AddBar(nSide, L"Beta");
        c = AddBar(nSide, L"Gamma");
        ASSERT_TRUE(a && b && c);
        Layout();
        strip = &Strip(nSide);
    }
    std::vector<CControlBar*> Order() const
    {
        std::vector<CControlBar*> out;
        for (int i = 0; i < strip->GetItemCount(); ++i)
            out.push_back(strip->GetBar(i));
        return out;
    }

    COXSizeControlBar* a = nullptr;
    COXSizeControlBar* b = nullptr;
    COXSizeControlBar* c = nullptr;
    COXDockTabCtrl* strip = nullptr;
};

// The others get tabs at the front in array order (each at position 0), the new bar its
// tab at the index asked, or at the end for one past it, and the selection.
TEST_F(DockTab, InsertingTabsEveryVisibleSizeBarOnceWithItsWholeTitle)
{
    ThreeBars(kLeft, LongTitle());
    strip->InsertTab(c, 7, FALSE);

    EXPECT_EQ(Order(), (std::vector<CControlBar*>{b, a, c}));
    EXPECT_EQ(strip->GetCurSel(), 2);
    EXPECT_EQ(RawText(*strip, 1), LongTitle()) << "the title was cut";
    EXPECT_EQ(strip->GetTabText(1), LongTitle());
    EXPECT_EQ(RawText(*strip, 0), L"Beta");
    EXPECT_EQ(host.positioned, 1);
    // Without showing the selection, the other tabs' bars are hidden (at the next layout).
    EXPECT_FALSE(a->IsVisible());
    EXPECT_FALSE(b->IsVisible());
    EXPECT_TRUE(c->IsVisible());
    Layout();
    EXPECT_FALSE(::IsWindowVisible(a->m_hWnd));
    EXPECT_TRUE(::IsWindowVisible(c->m_hWnd));

    // A bar keeps its one tab.
    strip->InsertTab(a, 0, TRUE);
    EXPECT_EQ(Order(), (std::vector<CControlBar*>{b, a, c}));
    EXPECT_EQ(strip->GetCurSel(), 1);
    EXPECT_TRUE(a->IsVisible());
    EXPECT_FALSE(c->IsVisible());
}

TEST_F(DockTab, InsertingLeavesLoneAndHiddenBarsWithoutTabs)
{
    ASSERT_NE(MakeFrame(), nullptr);
    COXSizeControlBar* lone = AddBar(kLeft, L"Lone");
    Layout();
    COXDockTabCtrl& left = Strip(kLeft);
    left.InsertTab(lone, 0, TRUE);
    EXPECT_EQ(left.GetItemCount(), 0) << "a bar alone on its side got a tab";
    EXPECT_EQ(host.positioned, 0);

    COXSizeControlBar* hidden = AddBar(kLeft, L"Hidden");
    COXSizeControlBar* shown = AddBar(kLeft, L"Shown");
    frame->ShowControlBar(hidden, FALSE, FALSE);
    Layout();
    left.InsertTab(shown, 0, FALSE);
    EXPECT_EQ(left.FindTab(hidden), -1) << "a hidden bar got a tab";
    EXPECT_EQ(left.FindTab(lone), 1);
    EXPECT_EQ(left.FindTab(shown), 0);
    EXPECT_EQ(left.GetBar(2), nullptr);
    EXPECT_EQ(left.GetBar(-1), nullptr);
}

TEST_F(DockTab, AClickOnATabShowsItsBarAndHidesTheOthers)
{
    ThreeBars(kLeft);
    strip->InsertTab(c, 2, TRUE);
    Layout();
    ASSERT_TRUE(::IsWindowVisible(strip->m_hWnd));
    ASSERT_EQ(strip->FindTab(a), 1);

    Press(TabCentre(*strip, 1));
    Release();
    EXPECT_EQ(strip->GetCurSel(), 1);
    EXPECT_TRUE(a->IsVisible());
    EXPECT_FALSE(b->IsVisible());
    EXPECT_FALSE(c->IsVisible());
    Layout();
    EXPECT_TRUE(::IsWindowVisible(a->m_hWnd));
    EXPECT_FALSE(::IsWindowVisible(c->m_hWnd));
}

TEST_F(DockTab, RemovingTabs)
{
    struct Row {
        const char* what;
        int tabbed;          // bars given tabs: the first n of a, b, c (c last, selected)
        char removed;        // 'a', 'b', 'c'
        int left;            // tabs left
        char selected;       // the bar whose tab is selected and shown afterwards, '-' none
    };
    const Row rows[] = {
        // Tabs [b, a, c], c selected: the tab before the removed one takes over.
        {"the selected last tab", 3, 'c', 2, 'a'},
        {"the first tab: tab 0 takes over", 3, 'b', 2, 'a'},
        // Tabs [a, b], b selected: the last size bar loses its tab and shows alone.
        {"the second-to-last bar", 2, 'b', 0, '-'},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ThreeBars(kLeft);
        COXSizeControlBar* byName[] = {a, b, c};
        if (row.tabbed == 2) {
            c->DestroyWindow();   // two size bars on the side
            Layout();
            strip->InsertTab(b, 1, FALSE);
        } else {
            strip->InsertTab(c, 2, FALSE);
        }
        COXSizeControlBar* removed = byName[row.removed - 'a'];
        strip->RemoveTab(removed);
        EXPECT_EQ(strip->GetItemCount(), row.left);
        EXPECT_EQ(strip->FindTab(removed), -1);
        if (row.selected == '-') {
            EXPECT_EQ(strip->FindTab(a), -1) << "the last bar kept its tab";
            EXPECT_TRUE(a->IsVisible()) << "the last bar stays hidden";
        } else {
            COXSizeControlBar* sel = byName[row.selected - 'a'];
            EXPECT_EQ(strip->GetCurSel(), strip->FindTab(sel));
            for (COXSizeControlBar* bar : {a, b, c}) {
                if (bar != removed) {
                    EXPECT_EQ(bar->IsVisible(), bar == sel) << "bar " << char('a' + (bar == b) + 2 * (bar == c));
                }
            }
        }
        frame->DestroyWindow();
        frame = nullptr;
        bars.clear();
        host.positioned = 0;
    }
}

TEST_F(DockTab, RemovingABarWithoutATabOrLeavingOneTabNeverLosesABar)
{
    ThreeBars(kLeft);
    COXSizeControlBar* d = AddBar(kLeft, L"Delta");
    frame->ShowControlBar(c, FALSE, FALSE);
    frame->ShowControlBar(d, FALSE, FALSE);
    Layout();
    strip->InsertTab(b, 1, FALSE);   // tabs [a, b]; c and d hidden without tabs
    ASSERT_EQ(Order(), (std::vector<CControlBar*>{a, b}));

    // A bar without a tab takes nothing with it.
    strip->RemoveTab(c);
    EXPECT_EQ(Order(), (std::vector<CControlBar*>{a, b}));
    EXPECT_EQ(strip->GetCurSel(), 1);

    // Three size bars besides b: its removal leaves a's tab alone in the strip. That
    // tab is selected and its bar shown, rather than leaving the place empty.
    strip->RemoveTab(b);
    EXPECT_EQ(Order(), (std::vector<CControlBar*>{a}));
    EXPECT_EQ(strip->GetCurSel(), 0);
    EXPECT_TRUE(a->IsVisible());
}

// A vertical side: the dock bar's client area above the 28-pixel strip, 3 pixels off on
// the left side's right edge, 4 on the right side's left edge; the height + 5.
TEST_F(DockTab, AShownBarFillsAVerticalSideAboveTheStrip)
{
    struct Row {
        const char* what;
        UINT side;
        int dx;   // taken from the client width
    };
    const Row rows[] = {{"left", kLeft, 3}, {"right", kRight, 4}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ThreeBars(row.side);
        strip->InsertTab(c, 2, FALSE);
        CRect client;
        Side(row.side)->GetClientRect(&client);
        ASSERT_GT(client.Height(), 28);
        strip->SetCurSel(0);
        strip->ShowSelectedTab();
        EXPECT_EQ(b->m_sizeVertDock, CSize(client.Width() - row.dx, client.Height() - 28 + 5));
        EXPECT_EQ(c->m_sizeVertDock, CSize(150, 200)) << "a hidden bar was sized";
        frame->DestroyWindow();
        frame = nullptr;
        bars.clear();
    }
}

// A horizontal side: the bar shown next keeps the length of the one shown before it.
TEST_F(DockTab, AShownBarTakesTheLengthOfTheBarShownBeforeOnAHorizontalSide)
{
    ThreeBars(kBottom);
    a->m_sizeHorzDock = CSize(320, 90);
    strip->InsertTab(a, 0, TRUE);   // tabs [c, b, a], a shown first
    EXPECT_EQ(strip->m_pLastSelectedBar, a);
    strip->SetCurSel(strip->FindTab(b));
    strip->ShowSelectedTab();
    EXPECT_EQ(b->m_sizeHorzDock, CSize(320, 150)) << "only the length follows";
    EXPECT_EQ(strip->m_pLastSelectedBar, b);

    // A bar shown before that is no longer docked here gives nothing.
    b->m_sizeHorzDock.cx = 250;
    strip->RemoveTab(b);   // c shown next, b still docked: 250 passes on
    EXPECT_EQ(c->m_sizeHorzDock.cx, 250);
    frame->FloatControlBar(c, CPoint(300, 300));
    strip->SetCurSel(strip->FindTab(a));
    a->m_sizeHorzDock.cx = 111;
    strip->ShowSelectedTab();
    EXPECT_EQ(a->m_sizeHorzDock.cx, 111);
}

TEST_F(DockTab, HitTestingAnswersOnlyInTheDockBarsBottom48Pixels)
{
    ASSERT_NE(MakeFrame(), nullptr);
    a = AddBar(kLeft, L"A", CSize(200, 200));
    b = AddBar(kLeft, L"B", CSize(200, 200));
    Layout();
    strip = &Strip(kLeft);
    strip->InsertTab(b, 1, TRUE);
    Layout();
    CRect w;
    Side(kLeft)->GetWindowRect(&w);
    ASSERT_GT(w.Height(), 100);
    CRect lastTab;
    strip->GetItemRect(1, &lastTab);
    const CPoint pastTabs = ScreenOf(*strip, CPoint(lastTab.right + 10, lastTab.CenterPoint().y));
    ASSERT_LT(pastTabs.x, w.right);

    struct Row {
        const char* what;
        CPoint pt;
        int want;
    };
    const Row rows[] = {
        {"one row above the band", CPoint(w.left + 10, w.bottom - 49), -1},
        {"the band's top row, over no tab", CPoint(w.left + 10, w.bottom - 48), 0},
        {"over the first tab", TabCentre(*strip, 0), 0},
        {"over the second tab", TabCentre(*strip, 1), 1},
        {"past the tabs", pastTabs, 0},
        {"left of the dock bar", CPoint(w.left - 1, w.bottom - 10), -1},
        {"right of the dock bar", CPoint(w.right, w.bottom - 10), -1},
        {"below the dock bar", CPoint(w.left + 10, w.bottom), -1},
        {"the band's last pixel", CPoint(w.right - 1, w.bottom - 1), 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(strip->HitTestTabControl(row.pt, a), row.want) << row.what;
}

TEST_F(DockTab, ADraggedTabMovesOncePastTheMiddleOfTheTabItReplaces)
{
    ThreeBars(kLeft, LongTitle());
    strip->InsertTab(c, 2, TRUE);   // [b, a, c], c selected
    const auto centre = [&](int nTab) { return TabCentre(*strip, nTab).x; };

    struct Row {
        const char* what;
        int from, to;
        int dx;   // from the target tab's centre
        std::vector<CControlBar*> order;
    };
    const std::vector<Row> rows = {
        {"right, short of the middle", 1, 2, -1, {b, a, c}},
        {"right, at the middle", 1, 2, 0, {b, c, a}},
        {"left, short of the middle", 2, 0, 1, {b, c, a}},
        {"left, at the middle", 2, 0, 0, {a, b, c}},
        {"onto itself", 1, 1, 0, {a, b, c}},
        {"from past the end", 3, 0, 0, {a, b, c}},
        {"to past the end", 0, 3, 0, {a, b, c}},
        {"from before the start", -1, 0, 0, {a, b, c}},
        {"the selected tab, left at the middle", 2, 1, 0, {a, c, b}},
    };
    for (const Row& row : rows) {
        const int x = (row.to >= 0 && row.to < 3 ? centre(row.to) : 0) + row.dx;
        strip->RepositionTabs(row.from, row.to, CPoint(x, 0));
        EXPECT_EQ(Order(), row.order) << row.what;
        EXPECT_EQ(strip->GetCurSel(), strip->FindTab(c)) << row.what << ": the selection left its bar";
        EXPECT_EQ(RawText(*strip, strip->FindTab(a)), LongTitle()) << row.what;
    }
}

// The press and each move are scripted; a move of 4 pixels or more on either axis from
// the press, over a tab, gives the mouse to that tab's bar. The rows press at one place
// in quick succession, so every second press arrives as a double click: it drags too.
TEST_F(DockTab, ATabDraggedFourPixelsHandsTheMouseToItsBar)
{
    ThreeBars(kLeft);
    strip->InsertTab(c, 2, TRUE);
    Layout();
    const HCURSOR sizeAll = ::LoadCursorW(nullptr, IDC_SIZEALL);
    struct Row {
        int dx, dy;
        bool drags;
    };
    const Row rows[] = {
        {3, 3, false}, {-3, -3, false}, {3, -3, false}, {4, 0, true}, {0, 4, true}, {-4, 0, true}, {0, -4, true},
        {4, 3, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "moved (" << row.dx << ", " << row.dy << ")");
        const int nTab = strip->FindTab(a);
        const CPoint press = TabCentre(*strip, nTab);
        Press(press);
        MoveTo(press + CPoint(row.dx, row.dy));
        EXPECT_EQ(::GetCapture() == a->m_hWnd, row.drags);
        EXPECT_EQ(a->m_bDragging != FALSE, row.drags);
        if (row.drags) {
            EXPECT_EQ(::GetCursor(), sizeAll);
        }
        // The bar's own drag ends it at the release; here the case ends it.
        ::ReleaseCapture();
        a->m_bDragging = FALSE;
        Release();
    }

    // A button held down since a press elsewhere drags nothing out, even after a click
    // on a tab.
    Press(TabCentre(*strip, strip->FindTab(a)));
    Release();
    CRect viewRect;
    frame->GetDlgItem(AFX_IDW_PANE_FIRST)->GetWindowRect(&viewRect);
    Press(viewRect.CenterPoint());
    ::ReleaseCapture();
    const CPoint over = TabCentre(*strip, strip->FindTab(b));
    MoveTo(over);
    MoveTo(over + CPoint(5, 0));
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_FALSE(b->m_bDragging);
    Release();
}

// The cool toolbar (recognised by its run-time class name) is dragged through the docking
// seam: its offset saved as (0, 0), then the drag flag set, the mouse captured by it.
class CoolBarStandIn : public CControlBar {
public:
    static CRuntimeClass s_class;
    CRuntimeClass* GetRuntimeClass() const override { return &s_class; }
    CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? CSize(120, 26) : CSize(26, 120); }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
    // Registers the name once per process, unless the real class is there.
    static bool Register()
    {
        static const bool registered = [] {
            if (CRuntimeClass::FromName("COXCoolToolBar"))
                return false;
            static AFX_CLASSINIT init(&s_class);
            return true;
        }();
        return registered;
    }
};
CRuntimeClass CoolBarStandIn::s_class = {
    "COXCoolToolBar", static_cast<int>(sizeof(CoolBarStandIn)), 0xFFFF, nullptr, &CControlBar::GetThisClass, nullptr};

class SeamStandIn : public COXDockingSeam {
public:
    void SaveCoolToolBarMouseOffset(CControlBar* pBar, CPoint point) override
    {
        calls.push_back(L"offset " + std::to_wstring(point.x) + L"," + std::to_wstring(point.y));
        bar = pBar;
    }
    void SetCoolToolBarDragging(CControlBar* pBar, BOOL bDragging) override
    {
        calls.push_back(std::wstring(L"dragging ") + (bDragging ? L"on" : L"off") +
            (::GetCapture() == pBar->m_hWnd ? L", captured" : L""));
    }
    std::vector<std::wstring> calls;
    CControlBar* bar = nullptr;
};

TEST_F(DockTab, ACoolToolBarsTabStartsItsDragThroughTheSeam)
{
    if (!CoolBarStandIn::Register())
        GTEST_SKIP() << "the cool toolbar's own class is registered";
    ASSERT_NE(MakeFrame(), nullptr);
    a = AddBar(kLeft, L"A");
    strip = &Strip(kLeft);
    CoolBarStandIn cool;
    ASSERT_TRUE(cool.CWnd::Create(nullptr, L"Cool", WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 120, 26), frame,
        0x200));
    cool.EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(&cool, Side(kLeft));
    Layout();
    ASSERT_TRUE(OXIsCoolToolBar(&cool));
    strip->InsertTab(&cool, 1, FALSE);
    strip->SetCurSel(0);   // a shown: the side keeps its width
    strip->ShowSelectedTab();
    Layout();
    host.PositionTabCtrl(Side(kLeft));
    ASSERT_EQ(strip->FindTab(&cool), 1);

    SeamStandIn seam;
    COXDockingSeam* previous = OXSetDockingSeam(&seam);
    const CPoint press = TabCentre(*strip, 1);
    Press(press);
    MoveTo(press + CPoint(0, 4));
    EXPECT_EQ(seam.calls, (std::vector<std::wstring>{L"offset 0,0", L"dragging on, captured"}));
    EXPECT_EQ(seam.bar, &cool);
    EXPECT_EQ(::GetCapture(), cool.m_hWnd);
    ::ReleaseCapture();
    Release();
    OXSetDockingSeam(previous);
    frame->DestroyWindow();   // before the bar object goes
    frame = nullptr;
}

// The size bar's own rule turns the saved point into the floating frame's offset; the
// tab hands it the bar's client origin, not the press or the pointer.
TEST_F(DockTab, ASizeBarDraggedOutOfItsTabSavesTheOffsetOfItsClientOrigin)
{
    ThreeBars(kLeft);
    strip->InsertTab(c, 2, TRUE);
    Layout();
    const CPoint sentinel(-777, -777);
    a->m_ptFloatMouseOffset = sentinel;
    const CPoint press = TabCentre(*strip, strip->FindTab(a));
    Press(press);
    MoveTo(press + CPoint(6, 0));
    ASSERT_TRUE(a->m_bDragging);
    const CPoint saved = a->m_ptFloatMouseOffset;
    ::ReleaseCapture();
    a->m_bDragging = FALSE;
    Release();

    a->m_ptFloatMouseOffset = sentinel;
    a->SaveMouseOffset(CPoint(0, 0));
    EXPECT_EQ(saved, a->m_ptFloatMouseOffset);
}

TEST_F(DockTab, TheStripTakesAnEightPointFontAndTwelveByFourPadding)
{
    ASSERT_NE(MakeFrame(), nullptr);
    COXDockTabCtrl& left = Strip(kLeft);
    ASSERT_NE(left.m_font.GetSafeHandle(), nullptr);
    EXPECT_EQ(reinterpret_cast<HFONT>(left.SendMessage(WM_GETFONT)), left.m_font.GetSafeHandle());
    LOGFONT lf{};
    ASSERT_NE(left.m_font.GetLogFont(&lf), 0);
    EXPECT_EQ(std::wstring(lf.lfFaceName), L"MS Sans Serif");

    // Measured with the drawing layer alone: 8 points at the screen's resolution.
    HDC screen = ::GetDC(nullptr);
    LOGFONTW want{};
    want.lfHeight = -::MulDiv(::GetDeviceCaps(screen, LOGPIXELSY), 80, 720);
    wcscpy(want.lfFaceName, L"MS Sans Serif");
    HFONT font = ::CreateFontIndirectW(&want);
    HGDIOBJ old = ::SelectObject(screen, font);
    SIZE extent{};
    ::GetTextExtentPoint32W(screen, L"Alpha", 5, &extent);
    TEXTMETRICW tm{};
    ::GetTextMetricsW(screen, &tm);
    ::SelectObject(screen, old);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, screen);

    left.InsertItem(0, L"Alpha");
    CRect r;
    ASSERT_TRUE(left.GetItemRect(0, &r));
    EXPECT_EQ(r.Width(), 2 * 12 + extent.cx);
    EXPECT_EQ(r.Height(), tm.tmHeight + 2 * 4 + 2);
    left.DeleteAllItems();
}

// A bar destroyed while tabbed leaves a tab whose bar is gone; the strip drops it rather
// than reaching the dead bar.
TEST_F(DockTab, ATabWhoseBarWasDestroyedIsDropped)
{
    ThreeBars(kLeft);
    strip->InsertTab(c, 2, TRUE);
    ASSERT_EQ(Order(), (std::vector<CControlBar*>{b, a, c}));
    a->DestroyWindow();
    EXPECT_EQ(strip->GetBar(1), nullptr);
    strip->SetCurSel(1);
    strip->ShowSelectedTab();
    EXPECT_EQ(Order(), (std::vector<CControlBar*>{b, c}));
    EXPECT_EQ(strip->GetCurSel(), 0) << "a selection on the dropped tab moves to the first";
    EXPECT_TRUE(b->IsVisible());
    EXPECT_FALSE(c->IsVisible());
}

} // namespace
} // namespace docktest
