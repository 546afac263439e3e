// Golden pictures of size bars docked on all four sides and of a floating bar, in the
// Classic, Office XP and Office 2003 skins: the frame's client area whole, pixel for
// pixel. The bars carry no text, so nothing is left out of the comparison. Top: two bars
// sharing a row (the left one active with a solid gripper, the right one's close button
// held down) with the splitter between them and the row splitter below; bottom: an
// inactive solid gripper; left: two
// bars in a column, the upper one maximised (the lower one kept at 21 pixels); right: one
// bar; over the view, a floating bar whose close button the mouse is over. And a dock bar
// of two tabbed bars.
#include <memory>
#include <string>
#include <vector>

#include "platform/user/driver.h"
#include "tests/docking/docking_test_support.h"
#include "tests/support/golden.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/skin_classic.h"
#include "toolkit/skins/skin_xp.h"

namespace zyn::test {
namespace {

using user::InjectMouseMove;

struct SkinRow {
    const char* name;
    std::unique_ptr<COXSkin> (*make)();
};
const SkinRow kSkins[] = {
    {"classic", [] { return std::unique_ptr<COXSkin>(std::make_unique<COXSkinClassic>()); }},
    {"xp", [] { return std::unique_ptr<COXSkin>(std::make_unique<COXSkinXP>()); }},
    {"2003", [] { return std::unique_ptr<COXSkin>(std::make_unique<COXSkin2003>()); }},
};

class DockGoldenTest : public SizeDockTest {
protected:
    void Run(const SkinRow& row);
    void RunTabbed(const SkinRow& row);
    CCountingSizeBar& Bar(UINT nID, CSize size, int nStyle = SZBARF_CONTEXT_MENU)
    {
        CCountingSizeBar& bar = NewBar(nStyle);
        EXPECT_TRUE(bar.Make(frame, nID, CRect(CPoint(0, 0), size), L""));
        return bar;
    }
    // Docks `bar` on the side just after `after` (its screen rectangle offset), as a drop
    // at the end of a drag does.
    void DockBeside(UINT side, CControlBar& bar, const CControlBar& after, CSize offset)
    {
        CRect r = ScreenRect(after);
        r.OffsetRect(offset);
        frame->DockControlBar(&bar, side, &r);
    }
};

void DockGoldenTest::Run(const SkinRow& row)
{
    {
        ScopedSkin skin(row.make());
        ASSERT_TRUE(MakeSizeFrame());
        CCountingSizeBar& a = Bar(0xE850, CSize(200, 60), SZBARF_CONTEXT_MENU | SZBARF_SOLID_GRIPPER);
        CCountingSizeBar& b = Bar(0xE851, CSize(200, 60));
        CCountingSizeBar& c = Bar(0xE852, CSize(200, 50), SZBARF_CONTEXT_MENU | SZBARF_SOLID_GRIPPER);
        CCountingSizeBar& d = Bar(0xE853, CSize(90, 120));
        CCountingSizeBar& e = Bar(0xE854, CSize(90, 120));
        CCountingSizeBar& f = Bar(0xE855, CSize(80, 120));
        CCountingSizeBar& g = Bar(0xE856, CSize(140, 80));
        frame->DockControlBar(&a, AFX_IDW_DOCKBAR_TOP);
        frame->DockControlBar(&c, AFX_IDW_DOCKBAR_BOTTOM);
        frame->DockControlBar(&d, AFX_IDW_DOCKBAR_LEFT);
        frame->DockControlBar(&f, AFX_IDW_DOCKBAR_RIGHT);
        frame->RecalcLayout();
        Pump();
        DockBeside(AFX_IDW_DOCKBAR_TOP, b, a, CSize(250, 0));
        DockBeside(AFX_IDW_DOCKBAR_LEFT, e, d, CSize(0, 150));
        frame->RecalcLayout();
        Pump();
        ASSERT_EQ(SideOf(b), static_cast<UINT>(AFX_IDW_DOCKBAR_TOP));
        ASSERT_EQ(SideOf(e), static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT));
        ASSERT_EQ(ScreenRect(a).top, ScreenRect(b).top) << "one row";
        ASSERT_EQ(ScreenRect(d).left, ScreenRect(e).left) << "one column";
        static_cast<COXSizeDockBar*>(sizeFrame()->Side(AFX_IDW_DOCKBAR_LEFT))->ResizeBar(&d, TRUE);
        Pump();
        ASSERT_TRUE(d.IsMaximized());
        ASSERT_EQ(ScreenRect(e).Height(), 21);

        const CRect client = Client();
        frame->FloatControlBar(&g, CPoint(client.left + 230, client.top + 150));
        Pump();
        COXSizableMiniDockFrameWnd* mini = FloatingFrame(g);
        ASSERT_NE(mini, nullptr);

        // The states, then everything painted anew with the mouse on the floating close button.
        a.SetActive(TRUE, TRUE);
        b.m_nPressedBtn = COXSizeControlBar::btnClose;
        const CRect m = ScreenRect(*mini);
        CRect mc;
        mini->GetClientRect(&mc);
        mini->ClientToScreen(&mc);
        const int captionBottom = mc.top - m.top;
        InjectMouseMove(m.right - 3 - (captionBottom - 5) / 2, m.top + 3 + (captionBottom - 5) / 2);
        Pump();
        frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        mini->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        ASSERT_TRUE(a.IsActive());
        ASSERT_EQ(b.m_nPressedBtn, COXSizeControlBar::btnClose);
        EXPECT_TRUE(MatchesGoldenScreen("docking", std::string("dock_bars_all_sides_") + row.name, client));

        b.m_nPressedBtn = COXSizeControlBar::btnNone;
        InjectMouseMove(5, 5);
        Pump();
        // The frame (and the floating frame it owns) go while the skin is still current.
        frame->DestroyWindow();
        frame = nullptr;
        app.m_pMainWnd = nullptr;
        Pump();
    }
}

TEST_F(DockGoldenTest, Classic) { Run(kSkins[0]); }
TEST_F(DockGoldenTest, OfficeXP) { Run(kSkins[1]); }
TEST_F(DockGoldenTest, Office2003) { Run(kSkins[2]); }

// A left dock bar whose two bars share one place behind the tab strip, the second shown:
// the dock bar's window whole, except the tabs' texts.
void DockGoldenTest::RunTabbed(const SkinRow& row)
{
    {
        ScopedSkin skin(row.make());
        ASSERT_TRUE(MakeSizeFrame());
        CCountingSizeBar& d = Bar(0xE853, CSize(160, 120));
        CCountingSizeBar& e = Bar(0xE854, CSize(160, 120));
        d.SetWindowText(L"First");
        e.SetWindowText(L"Second");
        frame->DockControlBar(&d, AFX_IDW_DOCKBAR_LEFT);
        frame->RecalcLayout();
        Pump();
        DockBeside(AFX_IDW_DOCKBAR_LEFT, e, d, CSize(0, 150));
        frame->RecalcLayout();
        Pump();
        auto* left = static_cast<COXSizeDockBar*>(sizeFrame()->Side(AFX_IDW_DOCKBAR_LEFT));
        left->m_wndDockTabCtrl.InsertTab(&e, 1, TRUE);
        frame->RecalcLayout();
        Pump();
        ASSERT_EQ(left->GetTabHeight(), 28);
        ASSERT_TRUE(e.IsVisible());
        ASSERT_FALSE(d.IsVisible());
        InjectMouseMove(5, 5);
        frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        const CRect dock = ScreenRect(*left);
        std::vector<RECT> texts;
        for (int i = 0; i < left->m_wndDockTabCtrl.GetItemCount(); ++i) {
            CRect tab;
            ASSERT_TRUE(left->m_wndDockTabCtrl.GetItemRect(i, &tab));
            left->m_wndDockTabCtrl.ClientToScreen(&tab);
            tab.OffsetRect(-dock.left, -dock.top);
            tab.DeflateRect(3, 3);
            texts.push_back(tab);
        }
        // The shown bar's caption text, along its gripper strip.
        CRect caption = e.m_rectGripper;
        CRect window;
        e.GetWindowRect(&window);
        e.ScreenToClient(&window);
        caption.OffsetRect(-window.left, -window.top);
        const CRect eScreen = ScreenRect(e);
        caption.OffsetRect(eScreen.left - dock.left, eScreen.top - dock.top);
        texts.push_back(caption);
        EXPECT_TRUE(MatchesGoldenScreen("docking", std::string("dock_bar_tabbed_") + row.name, dock, texts));
        frame->DestroyWindow();
        frame = nullptr;
        app.m_pMainWnd = nullptr;
        Pump();
    }
}

TEST_F(DockGoldenTest, TabbedClassic) { RunTabbed(kSkins[0]); }
TEST_F(DockGoldenTest, TabbedOfficeXP) { RunTabbed(kSkins[1]); }
TEST_F(DockGoldenTest, TabbedOffice2003) { RunTabbed(kSkins[2]); }

} // namespace
} // namespace zyn::test
