// Golden pictures of the tab skins in Classic, Office XP and Office 2003: an MDI frame's
// client area with bottom hot-tracked tabs (style 0x42) for its children, icons, a title
// with "&", and the overflow arrows, beside a document window docked as a view bar on the
// left side; the same frame's tab strip widened into the room a bar on the right left; and
// a 3D tab view container with three pages. Every pixel is compared except
// the tab, caption and bar title texts (the drawing layer's, compared by extent in its own
// tests).
#include <memory>
#include <string>
#include <vector>

#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/pen.h"
#include "platform/afx/mdi.h"
#include "platform/afx/view.h"
#include "platform/gdi/icon.h"
#include "tests/docking/tab_test_support.h"
#include "tests/support/golden.h"
#include "toolkit/docking/mdi_size_dock.h"
#include "toolkit/docking/tab_client.h"
#include "toolkit/docking/tab_view_container.h"
#include "toolkit/skins/skin_table.h"

namespace docktest {
namespace {

COXSkinTable* g_table = nullptr;
COXSkin* TableSource() { return g_table ? g_table->GetCurrentSkin() : nullptr; }

// A view that paints white with a cross, so its place in the docked bar shows.
class CrossView : public CView {
public:
    void OnDraw(CDC* pDC) override
    {
        CRect r;
        GetClientRect(&r);
        pDC->FillSolidRect(&r, RGB(255, 255, 255));
        CPen pen;
        pen.CreatePen(PS_SOLID, 1, RGB(0, 0, 128));
        CPen* old = pDC->SelectObject(&pen);
        pDC->MoveTo(r.left, r.top);
        pDC->LineTo(r.right - 1, r.bottom - 1);
        pDC->MoveTo(r.right - 1, r.top);
        pDC->LineTo(r.left, r.bottom - 1);
        pDC->SelectObject(old);
    }
};

struct SkinCase {
    const wchar_t* name;
    const char* file;
};

class TabGolden : public DockTabTest, public ::testing::WithParamInterface<SkinCase> {
protected:
    void SetUp() override
    {
        DockTabTest::SetUp();
        table = std::make_unique<COXSkinTable>();
        table->AddStandardSkins();
        ASSERT_TRUE(table->SetCurrentSkin(GetParam().name));
        g_table = table.get();
        OXSetSkinSource(&TableSource);
    }
    void TearDown() override
    {
        OXSetSkinSource(nullptr);
        g_table = nullptr;
        table.reset(); // its skins' GDI objects go before the fixture counts them
        DockTabTest::TearDown();
    }
    // The text of every tab of a tab control, in the picture's coordinates.
    static void AddTabTexts(CTabCtrl& tab, const CRect& picture, std::vector<RECT>& out)
    {
        for (int i = 0; i < tab.GetItemCount(); ++i) {
            CRect r;
            tab.GetItemRect(i, &r);
            tab.ClientToScreen(&r);
            r.DeflateRect(2, 2);
            r.OffsetRect(-picture.left, -picture.top);
            out.push_back(r);
        }
    }
    std::unique_ptr<COXSkinTable> table;
};

TEST_P(TabGolden, MdiFrameWithBottomTabs)
{
    auto* main = new COXMDIFrameWndSizeDock; // deletes itself with its window
    ASSERT_TRUE(main->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 480, 300)));
    main->EnableDocking(CBRS_ALIGN_ANY);
    app.m_pMainWnd = main;
    // A document window docked as a view bar, then moved to the left side.
    auto* docked = new COXMDIChildWndSizeDock; // deletes itself with its window
    ASSERT_TRUE(docked->Create(nullptr, L"Site plan", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
        CRect(0, 0, 120, 150), main));
    auto* view = new CrossView; // deletes itself with its window
    ASSERT_TRUE(view->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), docked, AFX_IDW_PANE_FIRST));
    docked->SetActiveView(view, FALSE);
    docked->RecalcLayout();
    ASSERT_TRUE(docked->MakeItDockable(TRUE));
    COXSizeViewBar& viewBar = docked->GetViewBar();
    // Dropped on the left side 110 pixels wide.
    CRect drop(0, 0, 110, 150);
    main->ClientToScreen(&drop);
    main->DockControlBar(&viewBar, AFX_IDW_DOCKBAR_LEFT, &drop);
    Pump();
    ASSERT_NE(viewBar.m_pDockBar, nullptr);
    ASSERT_EQ(viewBar.m_pDockBar->GetDlgCtrlID(), AFX_IDW_DOCKBAR_LEFT);
    const std::vector<BYTE> andBits(32, 0x00), xorBits(32, 0x5A);
    HICON icon = ::CreateIcon(nullptr, 16, 16, 1, 1, andBits.data(), xorBits.data());
    const wchar_t* titles[] = {L"Door list", L"R&D wing", L"Alarm journal", L"Card readers", L"Holidays", L"Users"};
    int n = 0;
    CMDIChildWnd* first = nullptr;
    for (const wchar_t* title : titles) {
        auto* child = new CMDIChildWnd;
        ASSERT_TRUE(child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
            CRect(10 + 20 * n, 10 + 20 * n, 210 + 20 * n, 130 + 20 * n), main));
        if (n % 2 == 0)
            child->SetIcon(icon, FALSE);
        if (!first)
            first = child;
        ++n;
    }
    COXTabClientWnd client;
    ASSERT_TRUE(client.Attach(main, 0x42));
    main->MDIActivate(first); // its tab, the first, shows selected
    Pump();
    main->RecalcLayout();
    main->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    EXPECT_NE(::FindWindowExW(client.GetTabCtrl()->m_hWnd, nullptr, UPDOWN_CLASSW, nullptr), nullptr)
        << "the tabs should overflow";

    CRect picture;
    main->GetClientRect(&picture);
    main->ClientToScreen(&picture);
    std::vector<RECT> text;
    AddTabTexts(*client.GetTabCtrl(), picture, text);
    for (HWND c = ::GetWindow(main->m_hWndMDIClient, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(c))
            continue;   // the docked document window
        CRect r;
        ::GetWindowRect(c, &r);
        r.OffsetRect(-picture.left, -picture.top);
        text.push_back(CRect(r.left + 20, r.top + 2, r.right - 60, r.top + 22));   // the caption's title
    }
    CRect bar;
    viewBar.GetWindowRect(&bar);
    bar.OffsetRect(-picture.left, -picture.top);
    EXPECT_GT(bar.Width(), 0);
    text.push_back(CRect(bar.left + 2, bar.top, bar.right - 30, bar.top + 18));   // the bar's title
    EXPECT_TRUE(zyn::test::MatchesGoldenScreen("docking", std::string("tab_mdi_bottom_") + GetParam().file, picture,
        text));
    client.Detach();
    main->DestroyWindow();
    app.m_pMainWnd = nullptr;
    ::DestroyIcon(icon);
}

// The MDI tab strip after a bar docked on the right goes: the strip widens into the room
// the bar left and shows as a strip laid out at that width from the start does (its border
// the whole way along the bottom, nothing of its old right end).
TEST_P(TabGolden, TheMdiTabStripWidensWhenABarGoes)
{
    auto* main = new COXMDIFrameWndSizeDock; // deletes itself with its window
    ASSERT_TRUE(main->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 480, 300)));
    app.m_pMainWnd = main;
    frame = main;
    // The tabs first, as a main frame attaches them when it is made: the dock bars made
    // afterwards lie below the strip.
    COXTabClientWnd client;
    ASSERT_TRUE(client.Attach(main, 0x42));
    main->EnableDocking(CBRS_ALIGN_ANY);
    COXSizeControlBar* bar = AddBar(AFX_IDW_DOCKBAR_RIGHT, L"Events", CSize(140, 200));
    ASSERT_NE(bar, nullptr);
    auto* child = new CMDIChildWnd; // deletes itself with its window
    ASSERT_TRUE(child->Create(nullptr, L"Doors", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(10, 10, 210, 130),
        main));
    main->RecalcLayout();
    main->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();

    // As in a double click that floats it: the bar's window leaves at once and the place it
    // left is painted before the frame's delayed layout widens the strip into it.
    bar->ShowWindow(SW_HIDE);
    Pump();
    main->RecalcLayout();
    Pump();
    CRect strip;
    client.GetTabCtrl()->GetWindowRect(&strip);
    CRect picture;
    main->GetClientRect(&picture);
    main->ClientToScreen(&picture);
    picture.top = strip.bottom - 40;
    picture.bottom = strip.bottom + 2;
    std::vector<RECT> text;
    AddTabTexts(*client.GetTabCtrl(), picture, text);
    EXPECT_TRUE(zyn::test::MatchesGoldenScreen("docking", std::string("tab_mdi_widened_") + GetParam().file, picture,
        text));
    client.Detach();
    main->DestroyWindow();
    frame = nullptr;
    app.m_pMainWnd = nullptr;
}

TEST_P(TabGolden, ThreeDTabViewContainer)
{
    HWND parent = MakePlainWindow(WS_POPUP | WS_VISIBLE, CRect(0, 0, 360, 240));
    COX3DTabViewContainer box;
    ASSERT_TRUE(box.Create(WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | TCS_BOTTOM | TCS_HOTTRACK,
        CRect(10, 10, 350, 230), CWnd::FromHandle(parent), 300, nullptr));
    box.SetOffsetExternal(3);
    for (const wchar_t* title : {L"General", L"Doors", L"Schedules"}) {
        HWND page = MakePlainWindow(WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), parent);
        ASSERT_TRUE(box.AddPage(CWnd::FromHandle(page), title, -1, 0, FALSE));
    }
    ASSERT_TRUE(box.SetActivePageIndex(1));
    box.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    const CRect picture(0, 0, 360, 240);
    std::vector<RECT> text;
    AddTabTexts(box, picture, text);
    EXPECT_TRUE(zyn::test::MatchesGoldenScreen("docking", std::string("tab_view_container_") + GetParam().file,
        picture, text));
    box.DestroyWindow();
    ::DestroyWindow(parent);
}

INSTANTIATE_TEST_SUITE_P(Skins, TabGolden,
    ::testing::Values(SkinCase{L"Classic", "classic"}, SkinCase{L"Office XP", "xp"}, SkinCase{L"Office 2003", "2003"}),
    [](const ::testing::TestParamInfo<SkinCase>& info) { return std::string(info.param.file); });

} // namespace
} // namespace docktest
