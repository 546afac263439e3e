// The menu-bar frame around its bar: docking by the frame's dock style, the snapping
// question, the SDI frame's menu update with and without a document, and the bar in advanced
// customisation (popups handed to the customisation window, buttons removed from the menu).
#include <vector>

#include "platform/afx/doc.h"
#include "platform/afx/doc_context.h"
#include "platform/afx/view.h"
#include "platform/user/menu.h"
#include "platform/user/messages.h"
#include "tests/menubar/menubar_test_support.h"
#include "toolkit/docking/dock_messages.h"

namespace zyn::test {
namespace {

class MenuFrameTest : public MenuBarTest {};

// A document with a menu of its own (none while `menu` is null), and a view showing it.
class CMenuDoc : public CDocument {
public:
    HMENU menu = nullptr;
    HMENU GetDefaultMenu() override { return menu; }
};
class CDocView : public CView {
public:
    void OnDraw(CDC*) override {}
};

TEST_F(MenuFrameTest, DockStyleDecidesWhereTheBarLives)
{
    struct Row {
        const char* name;
        DWORD dockStyle;
        bool docked;
        UINT side;
    };
    const Row rows[] = {
        {"any side", CBRS_ALIGN_ANY, true, AFX_IDW_DOCKBAR_TOP},
        {"bottom only", CBRS_ALIGN_BOTTOM, true, AFX_IDW_DOCKBAR_BOTTOM},
        {"none", 0, false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CTestSDIFrame& f = MakeSDI(row.dockStyle);
        COXMenuBar& bar = f.GetMenuBar();
        EXPECT_EQ(bar.IsFloating() == FALSE && ::GetParent(bar.m_hWnd) != f.m_hWnd, row.docked);
        if (row.docked) {
            EXPECT_EQ(static_cast<UINT>(::GetDlgCtrlID(::GetParent(bar.m_hWnd))), row.side);
            // Docked alone in its row, the bar is as long as its dock bar.
            CRect rb, rd;
            bar.GetWindowRect(&rb);
            ::GetWindowRect(::GetParent(bar.m_hWnd), &rd);
            EXPECT_GE(rb.Width(), rd.Width() - 4);
        }
        // Snapping follows the frame's flag.
        EXPECT_EQ(f.SendMessage(WM_OX_QUERYSNAPPING), 0);
        f.EnableSnapping(TRUE);
        EXPECT_EQ(f.SendMessage(WM_OX_QUERYSNAPPING), 1);
        DropFrame();
    }
}

// The menu bar is one of its frame's control bars like any other: found by its ID, shown
// and hidden through the frame, and its visibility and side kept in the saved dock state.
TEST_F(MenuFrameTest, MenuBarIsAControlBarOfItsFrame)
{
    for (const bool isMdi : {false, true}) {
        SCOPED_TRACE(isMdi ? "MDI" : "SDI");
        CFrameWnd* f = isMdi ? static_cast<CFrameWnd*>(&MakeMDI(false)) : &MakeSDI();
        COXMenuBar& bar = isMdi ? mdi->GetMenuBar() : static_cast<CTestSDIFrame*>(f)->GetMenuBar();
        ASSERT_EQ(ID_OXMENUBAR, 0xE810u);
        EXPECT_EQ(f->GetControlBar(ID_OXMENUBAR), &bar);
        EXPECT_EQ(bar.m_pDockSite, f);
        const UINT side = static_cast<UINT>(::GetDlgCtrlID(::GetParent(bar.m_hWnd)));
        EXPECT_EQ(side, static_cast<UINT>(AFX_IDW_DOCKBAR_TOP));
        // Measured again (a settings change), the docked bar is three pixels higher than
        // its first button, borders included.
        bar.SendMessage(WM_SETTINGCHANGE, 0, 0);
        CRect first;
        bar.CToolBar::GetItemRect(0, &first);
        EXPECT_EQ(bar.CalcFixedLayout(FALSE, TRUE).cy, first.Height() + 3);

        f->ShowControlBar(&bar, FALSE, FALSE);
        EXPECT_FALSE(bar.IsWindowVisible());
        f->SaveBarState(L"MenuLayout");
        f->ShowControlBar(&bar, TRUE, FALSE);
        EXPECT_TRUE(bar.IsWindowVisible());
        // The saved state hides it again, on the side it was docked.
        ASSERT_TRUE(f->LoadBarState(L"MenuLayout"));
        EXPECT_FALSE(bar.IsWindowVisible());
        EXPECT_EQ(static_cast<UINT>(::GetDlgCtrlID(::GetParent(bar.m_hWnd))), side);
        f->ShowControlBar(&bar, TRUE, FALSE);
        EXPECT_TRUE(bar.IsWindowVisible());
        // Still listed once: showing and loading do not add it again.
        int listed = 0;
        for (POSITION pos = f->m_listControlBars.GetHeadPosition(); pos;)
            listed += f->m_listControlBars.GetNext(pos) == &bar ? 1 : 0;
        EXPECT_EQ(listed, 1);
        DropFrame();
    }
}

TEST_F(MenuFrameTest, SdiMenuUpdateShowsTheActiveDocumentsMenuElseTheDefault)
{
    CTestSDIFrame& f = MakeSDI();
    const HMENU original = f.GetMenuBar().GetHMenu();
    EXPECT_EQ(f.GetDefaultMenu(), original);
    const HMENU other = MakeSampleMenu();
    f.GetMenuBar().SetMenu(other);
    f.OnUpdateFrameMenu(nullptr);   // no active document: the frame's own menu comes back
    EXPECT_EQ(f.GetMenuBar().GetHMenu(), original);
    EXPECT_EQ(::GetMenu(f.m_hWnd), nullptr);
    f.OnUpdateFrameMenu(other);
    EXPECT_EQ(f.GetMenuBar().GetHMenu(), other);
    f.OnUpdateFrameMenu(original);

    // With an active document, its own menu comes first; without one, the frame's.
    CMenuDoc doc;
    doc.m_bAutoDelete = FALSE;
    CCreateContext context;
    context.m_pCurrentDoc = &doc;
    auto* docView = new CDocView; // deletes itself with its window
    ASSERT_TRUE(docView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &f, 0x1234, &context));
    f.SetActiveView(docView);
    ASSERT_EQ(f.GetActiveDocument(), &doc);
    const struct {
        const char* what;
        HMENU docMenu;
        HMENU shown;
    } rows[] = {{"the document's menu", other, other}, {"the document has none", nullptr, original}};
    for (const auto& row : rows) {
        doc.menu = row.docMenu;
        f.OnUpdateFrameMenu(nullptr);
        EXPECT_EQ(f.GetMenuBar().GetHMenu(), row.shown) << row.what;
    }
    f.SetActiveView(nullptr);
    docView->DestroyWindow();
    f.OnUpdateFrameMenu(original);
    ::DestroyMenu(other);
}

TEST_F(MenuFrameTest, CustomisingHandsPopupsOverAndRemovesButtons)
{
    CTestSDIFrame& f = MakeSDI();
    COXMenuBar& bar = f.GetMenuBar();
    static UINT ids[] = {ID_NEW, ID_OPEN};
    bar.SetBitmapIds(ids, 2);
    bar.SetCustomizable(TRUE, TRUE);
    struct Seen {
        UINT event = 0;
        HMENU popup = nullptr;
    };
    static std::vector<Seen> seen;
    seen.clear();
    WNDCLASSW wc{};
    wc.lpszClassName = L"MenuBarCustomizer";
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_NOTIFY && reinterpret_cast<NMHDR*>(l)->code == OXCTBN_CUSTOMIZECMD) {
            const auto* n = reinterpret_cast<const NMCTBCUSTOMIZE*>(l);
            const auto* popup = reinterpret_cast<const OXCTBMENUPOPUP*>(n->lParam);
            seen.push_back({n->nCustomizeEventID, popup ? popup->hMenu : nullptr});
            return 0;
        }
        return ::DefWindowProcW(h, m, w, l);
    };
    ASSERT_NE(::RegisterClassW(&wc), 0);
    const HWND customizer = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    bar.SetAdvancedCustomizationMode(TRUE, customizer);
    f.log.msgs.clear();
    bar.DisplayPopupMenu(1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].event, ID_OXCUSTTB_MENUPOPUP);
    EXPECT_EQ(seen[0].popup, ::GetSubMenu(bar.GetHMenu(), 1));
    EXPECT_EQ(f.log.Count(WM_INITMENUPOPUP), 0) << "nothing is tracked";
    EXPECT_FALSE(bar.IsInDisplayingMode());

    // Removing Edit's button takes the item out of the menu, renumbers the buttons after
    // it and marks the menu changed.
    EXPECT_FALSE(bar.IsMarkedAsChanged());
    bar.OnRemoveDraggedButton(1);
    EXPECT_EQ(::GetMenuItemCount(bar.GetHMenu()), 4);
    ASSERT_EQ(bar.SendMessage(TB_BUTTONCOUNT, 0, 0), 4);
    for (int i = 0; i < 4; ++i) {
        TBBUTTON b{};
        bar.SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
        EXPECT_EQ(b.idCommand, i + 1) << "button " << i;
    }
    EXPECT_EQ(bar.GetItemText(1), CString(L"&View"));
    EXPECT_TRUE(bar.IsMarkedAsChanged());
    // Dropping toolbar buttons on the bar is refused.
    SHBDROPTARGETACTION action{};
    action.result = DROPEFFECT_COPY;
    EXPECT_TRUE(bar.OnDragOver(0, reinterpret_cast<LPARAM>(&action)));
    EXPECT_EQ(action.result, static_cast<LRESULT>(DROPEFFECT_NONE));
    bar.SetAdvancedCustomizationMode(FALSE, nullptr);
    ::DestroyWindow(customizer);
    ::UnregisterClassW(wc.lpszClassName, nullptr);
}

} // namespace
} // namespace zyn::test
