// The menu bar's own row on the dock bars of a real menu-bar frame: a menu bar set to take
// an entire row shares its row with no visible bar, whatever else is docked on its side
// (toolbars, size bars, hidden bars, placeholders), on each of the four sides.
//
// Expected places are worked by hand from the row rules: rows start at -2 and are as
// thick as their thickest visible bar, the next one starting 2 pixels back over it; a row
// of hidden bars and placeholders takes no room; a row holding a size bar has an 8-pixel
// splitter after it on the top and left sides and before it on the bottom and right ones
// (after the last row the top dock bar grows by 8 for it, the left one by 7); the dock bar
// is as thick as its rows less its own 2-pixel border; a menu bar taking its row spans
// the side from -2 to its length + 2.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/menubar/menubar_test_support.h"
#include "toolkit/docking/size_control_bar.h"
#include "toolkit/menus/menu_dock_bar.h"

namespace zyn::test {
namespace {

constexpr UINT kTop = AFX_IDW_DOCKBAR_TOP, kLeft = AFX_IDW_DOCKBAR_LEFT;
void* const kPlaceHolder = reinterpret_cast<void*>(static_cast<UINT_PTR>(0x3300));

struct DockSide {
    const char* name;
    UINT id;
    bool horz;
    bool splitterBefore;   // a size bar's row splitter stands before its row
};
constexpr DockSide kSides[] = {{"top", kTop, true, false}, {"bottom", AFX_IDW_DOCKBAR_BOTTOM, true, true},
    {"left", kLeft, false, false}, {"right", AFX_IDW_DOCKBAR_RIGHT, false, true}};

// Thickness across the side of the bars of the rows (the menu bar's is its own).
constexpr int kThickA = 30, kThickB = 20, kThickS = 50;

CRect InDock(const CWnd& bar)
{
    CRect r;
    bar.GetWindowRect(&r);
    ::MapWindowPoints(nullptr, ::GetParent(bar.m_hWnd), reinterpret_cast<LPPOINT>(&r), 2);
    return r;
}

// Where each row holding a visible bar starts across the side, and the dock bar's
// thickness, by the rules above. Rows as Arrange writes them.
struct Stack {
    std::vector<int> starts;
    int thickness = 0;
};
Stack StackRows(const std::string& rows, int thickM, const DockSide& side)
{
    Stack out;
    int pos = -2;
    bool splitterPending = false;
    for (size_t from = 0; from <= rows.size();) {
        const size_t to = std::min(rows.find('|', from), rows.size());
        const std::string row = rows.substr(from, to - from);
        from = to + 1;
        int thick = 0;
        for (char c : row)
            thick = std::max(thick, c == 'M' || c == 'm' ? thickM : c == 'A' ? kThickA : c == 'B' ? kThickB
                                                                : c == 'S' ? kThickS : 0);
        if (thick == 0)
            continue;
        const bool sized = row.find('S') != std::string::npos;
        if (splitterPending || (side.splitterBefore && sized))
            pos += 8;
        out.starts.push_back(pos);
        pos += thick - 2;
        splitterPending = !side.splitterBefore && sized;
    }
    out.thickness = pos + (splitterPending ? (side.horz ? 8 : 7) : 0) - 2;
    return out;
}

class MenuDockRowsTest : public MenuBarTest {
protected:
    void TearDown() override
    {
        DropFrame();
        bars.clear();
        MenuBarTest::TearDown();
    }

    // Docks the bars `rows` names on the side and sets the array as written: '|' ends a
    // row; M the menu bar (m: not taking its row, x: hidden); A, B toolbars; S a size bar;
    // h a hidden toolbar; p a placeholder.
    void Arrange(CTestSDIFrame& f, const DockSide& side, const std::string& rows)
    {
        names.clear();
        COXMenuBar& menu = f.GetMenuBar();
        std::vector<CControlBar*> order;
        for (char c : rows) {
            CControlBar* bar = &menu;
            if (c == 'A' || c == 'B' || c == 'h') {
                const CSize size = c == 'A' ? CSize(100, kThickA) : c == 'B' ? CSize(60, kThickB) : CSize(80, 40);
                auto toolbar = std::make_unique<CTestBar>(size);
                EXPECT_TRUE(toolbar->Make(frame, nextID++, CBRS_TOP));
                toolbar->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
                bar = toolbar.get();
                bars.push_back(std::move(toolbar));
            } else if (c == 'S') {
                auto sizeBar = std::make_unique<COXSizeControlBar>();
                EXPECT_TRUE(
                    sizeBar->Create(frame, L"Size", nextID++, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 120, 50)));
                bar = sizeBar.get();
                bars.push_back(std::move(sizeBar));
            } else if (c == '|' || c == 'p') {
                order.push_back(c == 'p' ? static_cast<CControlBar*>(kPlaceHolder) : nullptr);
                continue;
            }
            bar->EnableDocking(CBRS_ALIGN_ANY);
            f.DockControlBar(bar, side.id);
            if (c == 'h' || c == 'x')
                f.ShowControlBar(bar, FALSE, FALSE);
            if (c == 'm')
                menu.SetTakeEntireRow(FALSE, FALSE);
            if (auto* sizeBar = DYNAMIC_DOWNCAST(COXSizeControlBar, bar)) {
                // Turned for the side: its row takes its width from the window.
                sizeBar->m_sizeHorzDock = CSize(120, kThickS);
                sizeBar->m_sizeVertDock = CSize(kThickS, 120);
                const CSize size = side.horz ? sizeBar->m_sizeHorzDock : sizeBar->m_sizeVertDock;
                sizeBar->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            names[bar] = c;
            order.push_back(bar);
        }
        CDockBar* dock = Side(side.id);
        dock->m_arrBars.RemoveAll();
        dock->m_arrBars.Add(nullptr);
        for (CControlBar* bar : order)
            dock->m_arrBars.Add(bar);
        dock->m_arrBars.Add(nullptr);
    }

    // The array written back the same way (the trailing row end left out).
    std::string Rows(const CDockBar* dock) const
    {
        std::string out;
        for (INT_PTR i = 1; i < dock->m_arrBars.GetSize(); ++i) {
            void* p = dock->m_arrBars[i];
            const auto it = names.find(static_cast<CControlBar*>(p));
            out += !p ? '|' : p == kPlaceHolder ? 'p' : it == names.end() ? '?' : it->second;
        }
        if (!out.empty() && out.back() == '|')
            out.pop_back();
        return out;
    }

    std::vector<std::unique_ptr<CControlBar>> bars;
    std::map<CControlBar*, char> names;
    UINT nextID = 0x3100;
};

TEST_F(MenuDockRowsTest, TheMenuBarTakesARowOfItsOwnOnEachSide)
{
    struct Case {
        const char* name;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"alone: only stretched", "M", "M"},
        {"after a toolbar: a row below it", "AM", "A|M"},
        {"before a toolbar: the toolbar goes to the next row", "MB", "M|B"},
        {"between two toolbars, a size bar's row after", "AMB|S", "A|M|B|S"},
        {"the nearest bar before it is not the thickest", "SBM", "SB|M"},
        {"a size bar's row before, a toolbar after", "S|MA", "S|M|A"},
        {"hidden bars and placeholders between", "AhpMphB", "Ahp|M|phB"},
        {"only hidden bars and placeholders beside it", "hpMph", "hpMph"},
        {"a placeholder before a following toolbar", "hMpB", "hM|pB"},
        {"not taking its row: one row", "AmB", "AmB"},
        {"hidden: one row", "AxB", "AxB"},
    };
    for (const DockSide& side : kSides) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(side.name) + ": " + c.name);
            CTestSDIFrame& f = MakeSDI();
            COXMenuBar& menu = f.GetMenuBar();
            Arrange(f, side, c.before);
            f.RecalcLayout();
            Pump();
            CDockBar* dock = Side(side.id);
            EXPECT_EQ(Rows(dock), c.after);

            // Across: every visible bar starts where its row does.
            const CRect rm = InDock(menu);
            const Stack stack = StackRows(c.after, side.horz ? rm.Height() : rm.Width(), side);
            size_t row = 0;
            bool rowSeen = false;
            for (INT_PTR i = 1; i < dock->m_arrBars.GetSize() && row < stack.starts.size(); ++i) {
                auto* bar = static_cast<CControlBar*>(dock->m_arrBars[i]);
                if (!bar) {
                    row += rowSeen ? 1 : 0;
                    rowSeen = false;
                } else if (bar != kPlaceHolder && bar->IsVisible()) {
                    rowSeen = true;
                    const CRect r = InDock(*bar);
                    EXPECT_EQ(side.horz ? r.top : r.left, stack.starts[row]) << "bar " << names[bar];
                }
            }
            CRect rd;
            dock->GetWindowRect(&rd);
            EXPECT_EQ(side.horz ? rd.Height() : rd.Width(), stack.thickness);

            // Along: a menu bar taking its row spans the whole side; bars not taking one
            // are packed, each 2 pixels back over the one before.
            CRect client;
            dock->GetClientRect(&client);
            const int length = side.horz ? client.Width() : client.Height();
            if (std::string(c.before).find('M') != std::string::npos) {
                EXPECT_EQ(side.horz ? rm.left : rm.top, -2);
                EXPECT_EQ(side.horz ? rm.right : rm.bottom, length + 2);
            } else {
                const CRect rb = InDock(*dock->GetDockedControlBar(3));
                const int bStart = side.horz ? rb.left : rb.top;
                if (menu.IsVisible()) {
                    EXPECT_EQ(side.horz ? rm.left : rm.top, -2 + 100 - 2);
                    EXPECT_EQ(bStart, (side.horz ? rm.right : rm.bottom) - 2);
                } else
                    EXPECT_EQ(bStart, -2 + 100 - 2);
            }

            // A second pass finds nothing to change.
            f.RecalcLayout();
            Pump();
            EXPECT_EQ(Rows(dock), c.after);
            EXPECT_EQ(InDock(menu), rm);
            DropFrame();
            bars.clear();
        }
    }
}

// The layout asked directly, with more room than the frame's row: a menu bar shorter than
// the side is stretched to -2 .. room + 2 on a horizontal side, -2 .. room on a vertical
// one, at once in a floating dock bar, through a batch in a docked one, not at all in a
// pass that only measures; its row-layout flag is off again afterwards.
TEST_F(MenuDockRowsTest, AMenuBarShorterThanTheRoomIsStretchedToIt)
{
    struct Case {
        const char* name;
        const DockSide& side;
        bool floating;
        bool query;
        int start, end;   // along the side; 0, 0: not moved
    };
    const Case cases[] = {
        {"top, docked", kSides[0], false, false, -2, 1002},
        {"top, floating", kSides[0], true, false, -2, 1002},
        {"top, only measuring", kSides[0], false, true, 0, 0},
        {"left, docked", kSides[2], false, false, -2, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTestSDIFrame& f = MakeSDI();
        COXMenuBar& menu = f.GetMenuBar();
        Arrange(f, c.side, "M");
        f.RecalcLayout();
        Pump();
        auto* dock = dynamic_cast<COXMenuDockBar<COXSizeDockBar>*>(Side(c.side.id));
        ASSERT_NE(dock, nullptr) << "the frames' dock bars come from the menu dock bar's factory";
        const CRect before = InDock(menu);
        dock->m_rectLayout = CRect(0, 0, 1000, 1000);
        dock->m_bFloating = c.floating ? TRUE : FALSE;
        dock->m_bLayoutQuery = c.query ? TRUE : FALSE;
        dock->CalcFixedLayout(FALSE, c.side.horz ? TRUE : FALSE);
        dock->m_bFloating = dock->m_bLayoutQuery = FALSE;
        dock->m_rectLayout.SetRectEmpty();
        const CRect after = InDock(menu);
        CRect expected = before;
        if (c.end != 0) {
            (c.side.horz ? expected.left : expected.top) = c.start;
            (c.side.horz ? expected.right : expected.bottom) = c.end;
        }
        EXPECT_EQ(after, expected);
        EXPECT_FALSE(menu.IsRowLayout());
        DropFrame();
        bars.clear();
    }
}

}  // namespace
}  // namespace zyn::test
