// The dock bar's tab strip: one tab per visible size bar with its whole title, the
// selected bar shown and the others hidden, a click showing its bar, removals (the
// second-to-last takes the last bar's tab too), the sizes a shown bar takes, hit testing
// in the dock bar's bottom 48 pixels, reordering a dragged tab, and a tab dragged 4
// pixels (not 3) handing the mouse to its bar: a size bar's own drag, or a cool
// toolbar's through the docking seam with its offset saved as (0, 0).
#include "platform/gdi/icon.h"
#include "tests/docking/tab_test_support.h"
#include "toolkit/docking/dock_seams.h"
#include "toolkit/menus/cool_toolbar.h"

namespace docktest {
namespace {

constexpr UINT kLeft = AFX_IDW_DOCKBAR_LEFT, kRight = AFX_IDW_DOCKBAR_RIGHT, kBottom = AFX_IDW_DOCKBAR_BOTTOM;

// 300 characters: longer than any fixed buffer the tabs might pass through.
std::wstring LongTitle()
{
    std::wstring s;
    for (int i = 0; i < 30; ++i)
        s += L"Bar title " + std::to_wstring(i % 10);
    return s;
}

// A tab's text read straight from the control with room to spare.
std::wstring RawText(COXDockTabCtrl& strip, int nTab)
{
    std::vector<wchar_t> buffer(4096, L'\0');
    TCITEM item{TCIF_TEXT, 0, 0, buffer.data(), static_cast<int>(buffer.size()), -1, 0};
    return strip.GetItem(nTab, &item) ? std::wstring(buffer.data()) : L"<no item>";
}

class DockTab : public DockTabTest {
protected:
    static constexpr CSize kBarSize{300, 200};
    // Three size bars docked on a side in this order, and the side's strip.
    void ThreeBars(UINT nSide, const std::wstring& first = L"Alpha")
    {
        if (frame)
            frame->DestroyWindow();
        bars.clear();
        host.positioned = 0;
        ASSERT_NE(MakeFrame(), nullptr);
        // Wide enough that the side's three tabs fit once the dock bar holds one column.
        a = AddBar(nSide, first, kBarSize);
        b = AddBar(nSide, L"Beta", kBarSize);
        c = AddBar(nSide, L"Gamma", kBarSize);
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
    // Which of a, b, c are shown (a delayed show or hide counts), as "abc" with '-' for hidden.
    std::string Shown() const
    {
        std::string s;
        for (const auto* bar : {a, b, c})
            s += bar->IsVisible() ? static_cast<char>('a' + (bar == b) + 2 * (bar == c)) : '-';
        return s;
    }

    COXSizeControlBar *a = nullptr, *b = nullptr, *c = nullptr;
    COXDockTabCtrl* strip = nullptr;
};

// The others get tabs at position 0 in array order, the new bar its tab at the index
// asked (the end for one past it) and the selection.
TEST_F(DockTab, InsertingTabsEveryVisibleSizeBarOnceWithItsWholeTitle)
{
    ThreeBars(kLeft, LongTitle());
    strip->InsertTab(c, 7, FALSE);
    EXPECT_EQ(Order(), (std::vector<CControlBar*>{b, a, c}));
    EXPECT_EQ(strip->GetCurSel(), 2);
    EXPECT_EQ(RawText(*strip, 1), LongTitle()) << "the title was cut";
    EXPECT_EQ(strip->GetTabText(1), LongTitle());
    EXPECT_EQ(host.positioned, 1);
    EXPECT_EQ(Shown(), "--c") << "without showing the selection, the others are hidden";
    Layout();
    EXPECT_FALSE(::IsWindowVisible(a->m_hWnd));

    strip->InsertTab(a, 0, TRUE);   // a bar keeps its one tab
    EXPECT_EQ(Order(), (std::vector<CControlBar*>{b, a, c}));
    EXPECT_EQ(Shown(), "a--");

    // A bar alone among its side's size bars gets no tab, nor does a hidden one.
    ThreeBars(kLeft);
    b->DestroyWindow();
    c->DestroyWindow();
    strip->InsertTab(a, 0, TRUE);
    EXPECT_EQ(strip->GetItemCount(), 0);
    COXSizeControlBar* hidden = AddBar(kLeft, L"Hidden");
    COXSizeControlBar* shown = AddBar(kLeft, L"Shown");
    frame->ShowControlBar(hidden, FALSE, FALSE);
    strip->InsertTab(shown, 0, FALSE);
    EXPECT_EQ(Order(), (std::vector<CControlBar*>{shown, a}));
    EXPECT_EQ(strip->GetBar(2), nullptr);
}

TEST_F(DockTab, AClickOnATabShowsItsBarAndHidesTheOthers)
{
    ThreeBars(kLeft);
    strip->InsertTab(c, 2, TRUE);
    Layout();
    ASSERT_EQ(strip->FindTab(a), 1);
    Press(TabCentre(*strip, 1));
    Release();
    EXPECT_EQ(strip->GetCurSel(), 1);
    EXPECT_EQ(Shown(), "a--");
    Layout();
    EXPECT_TRUE(::IsWindowVisible(a->m_hWnd));
    EXPECT_FALSE(::IsWindowVisible(c->m_hWnd));
}

TEST_F(DockTab, RemovingTabs)
{
    const struct {
        const char* what;
        bool twoBars;    // c destroyed first: tabs [a, b], b selected; else [b, a, c], c selected
        char removed;
        int tabs;        // left afterwards
        const char* shown;
    } rows[] = {
        {"the selected last tab: the one before takes over", false, 'c', 2, "a-c"},
        {"the first tab: tab 0 takes over", false, 'b', 2, "a--"},
        {"the second-to-last bar: the last shows alone", true, 'b', 0, "ab-"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ThreeBars(kLeft);
        if (row.twoBars)
            c->DestroyWindow();
        strip->InsertTab(row.twoBars ? b : c, 2, FALSE);
        COXSizeControlBar* removed = row.removed == 'b' ? b : c;
        strip->RemoveTab(removed);
        EXPECT_EQ(strip->GetItemCount(), row.tabs);
        EXPECT_EQ(strip->FindTab(removed), -1);
        EXPECT_EQ(Shown(), row.shown);
    }

    // Tabs [a, b] with c and d hidden, untabbed: removing c changes nothing; removing b
    // leaves a single tab, selected and shown rather than an empty place.
    ThreeBars(kLeft);
    COXSizeControlBar* d = AddBar(kLeft, L"Delta");
    frame->ShowControlBar(c, FALSE, FALSE);
    frame->ShowControlBar(d, FALSE, FALSE);
    strip->InsertTab(b, 1, FALSE);
    strip->RemoveTab(c);
    EXPECT_EQ(Order(), (std::vector<CControlBar*>{a, b}));
    strip->RemoveTab(b);
    EXPECT_EQ(Order(), (std::vector<CControlBar*>{a}));
    EXPECT_EQ(strip->GetCurSel(), 0);
    EXPECT_TRUE(a->IsVisible());
}

// Vertical sides: the client area above the 28-pixel strip, less 3 pixels on the left
// side's right edge or 4 on the right side's left edge, 5 pixels higher. Horizontal
// sides: the bar shown next takes the length of the one shown before, while that one is
// still docked there.
TEST_F(DockTab, TheShownBarsSizes)
{
    for (const auto& [side, dx] : {std::pair{kLeft, 3}, std::pair{kRight, 4}}) {
        ThreeBars(side);
        strip->InsertTab(c, 2, FALSE);
        CRect client;
        Side(side)->GetClientRect(&client);
        ASSERT_GT(client.Height(), 28);
        // The dock bar's layout has shared the side out already: what a hidden bar has
        // then must stay.
        const CSize hiddenBefore = c->m_sizeVertDock;
        strip->SetCurSel(0);
        strip->ShowSelectedTab();
        EXPECT_EQ(b->m_sizeVertDock, CSize(client.Width() - dx, client.Height() - 28 + 5)) << "side " << side;
        EXPECT_EQ(c->m_sizeVertDock, hiddenBefore) << "a hidden bar was sized";
    }

    ThreeBars(kBottom);
    a->m_sizeHorzDock = CSize(320, 90);
    strip->InsertTab(a, 0, TRUE);   // [a, c, b], a shown
    const LONG widthBefore = b->m_sizeHorzDock.cy;
    strip->SetCurSel(2);
    strip->ShowSelectedTab();
    EXPECT_EQ(b->m_sizeHorzDock, CSize(320, widthBefore)) << "only the length follows";
    b->m_sizeHorzDock.cx = 250;
    strip->RemoveTab(b);   // the tab before, c, shows next
    EXPECT_EQ(c->m_sizeHorzDock.cx, 250);
    frame->FloatControlBar(c, CPoint(300, 300));
    strip->SetCurSel(strip->FindTab(a));
    strip->ShowSelectedTab();
    EXPECT_EQ(a->m_sizeHorzDock.cx, 320) << "took the length of a bar no longer docked here";
}

TEST_F(DockTab, HitTestingAnswersOnlyInTheDockBarsBottom48Pixels)
{
    ThreeBars(kLeft);
    strip->InsertTab(c, 2, TRUE);
    Layout();
    host.PositionTabCtrl(Side(kLeft));
    CRect w, last;
    Side(kLeft)->GetWindowRect(&w);
    strip->GetItemRect(2, &last);
    const CPoint pastTabs = ScreenOf(*strip, CPoint(last.right + 3, last.CenterPoint().y));
    ASSERT_LT(pastTabs.x, w.right);
    const struct {
        const char* what;
        CPoint pt;
        int want;
    } rows[] = {
        {"a row above the band", CPoint(w.left + 10, w.bottom - 49), -1},
        {"the band's top row, over no tab", CPoint(w.left + 10, w.bottom - 48), 0},
        {"over the second tab", TabCentre(*strip, 1), 1},
        {"over the third tab", TabCentre(*strip, 2), 2},
        {"past the tabs", pastTabs, 0},
        {"left of the dock bar", CPoint(w.left - 1, w.bottom - 10), -1},
        {"right of the dock bar", CPoint(w.right, w.bottom - 10), -1},
        {"below the dock bar", CPoint(w.left + 10, w.bottom), -1},
    };
    for (const auto& row : rows)
        EXPECT_EQ(strip->HitTestTabControl(row.pt, a), row.want) << row.what;
}

TEST_F(DockTab, ADraggedTabMovesOncePastTheMiddleOfTheTabItReplaces)
{
    ThreeBars(kLeft, LongTitle());
    strip->InsertTab(c, 2, TRUE);   // [b, a, c], c selected
    const struct {
        const char* what;
        int from, to, dx;   // dx: from the target tab's centre
        std::vector<CControlBar*> order;
    } rows[] = {
        {"right, short of the middle", 1, 2, -1, {b, a, c}},
        {"right, at the middle", 1, 2, 0, {b, c, a}},
        {"left, short of the middle", 2, 0, 1, {b, c, a}},
        {"left, at the middle", 2, 0, 0, {a, b, c}},
        {"the selected tab", 2, 1, 0, {a, c, b}},
        {"onto itself", 1, 1, 0, {a, c, b}},
        {"from past the end", 3, 0, 0, {a, c, b}},
        {"to before the start", 0, -1, 0, {a, c, b}},
    };
    for (const auto& row : rows) {
        const int x = (row.to >= 0 ? TabCentre(*strip, row.to).x : 0) + row.dx;
        strip->RepositionTabs(row.from, row.to, CPoint(x, 0));
        EXPECT_EQ(Order(), row.order) << row.what;
        EXPECT_EQ(strip->GetCurSel(), strip->FindTab(c)) << row.what << ": the selection left its bar";
        EXPECT_EQ(RawText(*strip, strip->FindTab(a)), LongTitle()) << row.what;
    }
}

// Scripted press and move. The rows press at one place in quick succession, so every
// second press arrives as a double click: it drags too.
TEST_F(DockTab, ATabDraggedFourPixelsHandsTheMouseToItsBar)
{
    ThreeBars(kLeft);
    strip->InsertTab(c, 2, TRUE);
    Layout();
    const struct {
        int dx, dy;
        bool drags;
    } rows[] = {{3, 3, false}, {-3, -3, false}, {3, -3, false}, {4, 0, true}, {0, 4, true}, {-4, 0, true},
        {0, -4, true}, {4, 3, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "moved (" << row.dx << ", " << row.dy << ")");
        const CPoint press = TabCentre(*strip, strip->FindTab(a));
        Press(press);
        MoveTo(press + CPoint(row.dx, row.dy));
        EXPECT_EQ(::GetCapture() == a->m_hWnd, row.drags);
        EXPECT_EQ(a->m_bDragging != FALSE, row.drags);
        EXPECT_EQ(::GetCursor() == ::LoadCursorW(nullptr, IDC_SIZEALL), row.drags);
        ::ReleaseCapture();   // the bar's own drag would end at the release
        a->m_bDragging = FALSE;
        ::SetCursor(nullptr);
        Release();
    }

    // A click on a tab, then a button held down since a press elsewhere: nothing drags.
    Press(TabCentre(*strip, strip->FindTab(a)));
    Release();
    CRect view;
    frame->GetDlgItem(AFX_IDW_PANE_FIRST)->GetWindowRect(&view);
    Press(view.CenterPoint());
    const CPoint over = TabCentre(*strip, strip->FindTab(b));
    MoveTo(over);
    MoveTo(over + CPoint(5, 0));
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_FALSE(b->m_bDragging);
    Release();
}

// A cool toolbar of a fixed size, so the side's layout is known.
// Docked on a side it is as wide as the size bar beside it (150), so selecting its tab
// leaves the side's width, and the strip under the mouse, as they are.
class CFixedCoolToolBar : public COXCoolToolBar {
public:
    CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? CSize(120, 26) : CSize(150, 120); }
    CSize CalcDynamicLayout(int, DWORD dwMode) override { return CalcFixedLayout(FALSE, (dwMode & LM_HORZ) != 0); }
};

// Records what the strip asks of the seam, the capture at each call.
class SeamStandIn : public COXDockingSeam {
public:
    void SaveCoolToolBarMouseOffset(CControlBar* pBar, CPoint pt) override
    {
        calls.push_back(L"offset " + std::to_wstring(pt.x) + L"," + std::to_wstring(pt.y) + Captured(pBar));
    }
    void SetCoolToolBarDragging(CControlBar* pBar, BOOL bOn) override
    {
        calls.push_back(std::wstring(bOn ? L"dragging" : L"stopped") + Captured(pBar));
    }
    static std::wstring Captured(CControlBar* pBar) { return ::GetCapture() == pBar->m_hWnd ? L", captured" : L""; }
    std::vector<std::wstring> calls;
};

// The strip asks the seam for the cool toolbar's offset (its corner) and then, the mouse
// captured, for its drag; the seam in place by default starts the bar's own drag, whose
// moves then carry the bar out (over no dock bar it floats) until the release.
TEST_F(DockTab, ACoolToolBarsTabStartsItsDragThroughTheSeam)
{
    for (const bool standIn : {true, false}) {
        SCOPED_TRACE(standIn ? "a stand-in seam" : "the default seam");
        ASSERT_NE(MakeFrame(), nullptr);
        a = AddBar(kLeft, L"A");
        strip = &Strip(kLeft);
        CFixedCoolToolBar cool;
        ASSERT_TRUE(cool.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0x200));
        cool.EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(&cool, Side(kLeft));
        Layout();
        strip->InsertTab(&cool, 1, FALSE);
        strip->SetCurSel(0);   // a shown: the side keeps a's width
        strip->ShowSelectedTab();
        Layout();
        host.PositionTabCtrl(Side(kLeft));
        ASSERT_EQ(strip->FindTab(&cool), 1);

        SeamStandIn seam;
        COXDockingSeam* previous = OXSetDockingSeam(standIn ? &seam : nullptr);
        const CPoint press = TabCentre(*strip, 1);
        Press(press);
        MoveTo(press + CPoint(0, 4));
        EXPECT_EQ(::GetCapture(), cool.m_hWnd);
        if (standIn) {
            EXPECT_EQ(seam.calls, (std::vector<std::wstring>{L"offset 0,0", L"dragging, captured"}));
            EXPECT_FALSE(cool.IsBarDragging());
            ::ReleaseCapture();
            Release();
        } else {
            // The client origin's place in the bar's window.
            CRect window;
            cool.GetWindowRect(&window);
            const CPoint origin = ScreenOf(cool, CPoint(0, 0));
            EXPECT_EQ(cool.GetMouseOffset(), CPoint(origin.x - window.left, origin.y - window.top));
            EXPECT_TRUE(cool.IsBarDragging());
            CRect view;
            frame->GetDlgItem(AFX_IDW_PANE_FIRST)->GetWindowRect(&view);
            MoveTo(view.CenterPoint());
            EXPECT_TRUE(cool.IsFloating()) << "over no dock bar the bar floats";
            Release();
            EXPECT_FALSE(cool.IsBarDragging());
            EXPECT_EQ(::GetCapture(), nullptr);
        }
        OXSetDockingSeam(previous);
        frame->DestroyWindow();   // before the bar object goes
        frame = nullptr;
    }
}

TEST_F(DockTab, TheStripTakesAnEightPointFontAndTwelveByFourPadding)
{
    ASSERT_NE(MakeFrame(), nullptr);
    COXDockTabCtrl& left = Strip(kLeft);
    EXPECT_EQ(reinterpret_cast<HFONT>(left.SendMessage(WM_GETFONT)), left.m_font.GetSafeHandle());
    // The font measured with the drawing layer alone: 8 points at the screen's resolution.
    HDC screen = ::GetDC(nullptr);
    LOGFONTW lf{};
    lf.lfHeight = -::MulDiv(::GetDeviceCaps(screen, LOGPIXELSY), 80, 720);
    wcscpy(lf.lfFaceName, L"MS Sans Serif");
    HFONT font = ::CreateFontIndirectW(&lf);
    HGDIOBJ old = ::SelectObject(screen, font);
    SIZE extent{};
    ::GetTextExtentPoint32W(screen, L"Alpha", 5, &extent);
    TEXTMETRICW tm{};
    ::GetTextMetricsW(screen, &tm);
    ::DeleteObject(::SelectObject(screen, old));
    ::ReleaseDC(nullptr, screen);

    left.InsertItem(0, L"Alpha");
    CRect r;
    ASSERT_TRUE(left.GetItemRect(0, &r));
    EXPECT_EQ(r.Width(), 2 * 12 + extent.cx);
    EXPECT_EQ(r.Height(), tm.tmHeight + 2 * 4 + 2);
}

// A bar destroyed while tabbed leaves a tab the strip drops rather than follow.
TEST_F(DockTab, ATabWhoseBarWasDestroyedIsDropped)
{
    ThreeBars(kLeft);
    strip->InsertTab(c, 2, TRUE);   // [b, a, c]
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
