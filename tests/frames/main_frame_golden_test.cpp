// Golden pictures of the suite's MDI main frame: menu bar, main toolbar, a maximised
// child's icon and buttons in the bar, and a status bar with its message pane, a progress
// pane at 40 % and the lock indicators (Num Lock on), in the three skins. Texts (the
// caption, the bar's items, the panes) are left out of the comparison. The frame's status
// bar is churned through SetIndicators and SetUpBar first: nothing of the churn is left.
#include <memory>
#include <string>
#include <vector>

#include "app/zyn_app.h"
#include "app/zyncmn_resources.h"
#include "frames/zyn_main_frame.h"
#include "platform/afx/afxres.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "tests/frames/frames_test_support.h"
#include "tests/menubar/menubar_golden_mask.h"
#include "tests/support/golden.h"
#include "toolkit/skins/status_bar.h"

namespace zyn::test {
namespace {


HMENU MakeMainMenu()
{
    const HMENU bar = CreateMenu();
    for (const wchar_t* name : {L"&File", L"&Edit", L"&View", L"&Window", L"&Help"}) {
        const HMENU popup = CreatePopupMenu();
        if (std::wstring(name) == L"&View") {
            const HMENU toolbars = CreatePopupMenu();
            AppendMenuW(toolbars, MF_STRING, CZynMainFrame::ID_VIEW_TOOLBAR_DEFAULTS, L"&Defaults");
            AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(toolbars), L"&Toolbars");
        }
        AppendMenuW(popup, MF_STRING, ID_FILE_NEW, L"&New");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), name);
    }
    return bar;
}

class CGoldenFrame : public CZynMainFrame {
public:
    BOOL Make()
    {
        if (!CreateFrame(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(60, 40, 700, 480), nullptr,
                MakeMainMenu(), 0, nullptr))
            return FALSE;
        EnableDocking(CBRS_ALIGN_ANY);
        EXPECT_TRUE(toolbar.Create(this));
        DockControlBar(&toolbar, AFX_IDW_DOCKBAR_TOP);
        EXPECT_TRUE(AddToolbar(&toolbar));
        EXPECT_TRUE(status.Create(this));
        return !::testing::Test::HasFailure();
    }
    CToolbarMain toolbar;
    COXStatusBar status;
};

class MainFrameGoldenTest : public FramesTest {
protected:
    void SetUp() override
    {
        FramesTest::SetUp();
        ASSERT_NE(resources::RegisterZynCommonResources(), nullptr);
        m_objects = gdi::LiveObjectCount();
    }
    void TearDown() override
    {
        app.m_pMainWnd = nullptr;
        if (frame && ::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        Pump();
        AfxUnlockTempMaps();
        FramesTest::TearDown();
        EXPECT_EQ(gdi::LiveObjectCount(), m_objects) << "GDI objects left";
    }
    void Redraw()
    {
        frame->RecalcLayout();
        Pump();
        app.OnIdle(0);
        frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
        frame->GetMenuBar().SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
        frame->RecalcLayout();
        frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
    }

    CZynApp app{L"MainFrameGolden"};
    CGoldenFrame* frame = nullptr;

private:
    size_t m_objects = 0;
};

TEST_F(MainFrameGoldenTest, MdiMainFrameInThreeSkins)
{
    frame = new CGoldenFrame;   // deletes itself with its window
    ASSERT_TRUE(frame->Make());
    app.m_pMainWnd = frame;
    ::SetForegroundWindow(frame->m_hWnd);
    COXStatusBar& status = frame->status;

    // Churn: indicator sets and progress panes replaced again and again leave nothing. One
    // round comes first, so what the bars make once and keep (cached fonts and brushes of
    // their first paints) is not counted as left over.
    const UINT panes[] = {ID_SEPARATOR, ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    auto churn = [&] {
        ASSERT_TRUE(status.SetIndicators(panes, 5));
        status.SetPaneInfo(1, ID_SEPARATOR, SBPS_NORMAL, 140);
        frame->RecalcLayout();
        ASSERT_TRUE(status.SetUpBar(1));
        ASSERT_TRUE(status.SetUpBar(1));
        status.SetBarProgress(1, 0, 100, 30);
        ASSERT_TRUE(status.SetIndicators(panes, 5));
        Pump();
    };
    churn();
    const size_t windows = user::LiveWindowCount();
    const size_t objects = gdi::LiveObjectCount();
    for (int round = 0; round < 3; ++round)
        churn();
    EXPECT_EQ(user::LiveWindowCount(), windows) << "progress controls of the churn";
    EXPECT_EQ(gdi::LiveObjectCount(), objects) << "fonts and bitmaps of the churn";

    status.SetPaneInfo(1, ID_SEPARATOR, SBPS_NORMAL, 140);
    frame->RecalcLayout();
    ASSERT_TRUE(status.SetUpBar(1));
    status.SetBarProgress(1, 0, 250, 100);   // 40 %
    user::InjectKeyPress(VK_NUMLOCK);
    Pump();

    auto* child = new CMDIChildWnd;   // deletes itself with its window
    ASSERT_TRUE(child->Create(nullptr, L"Door", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 150), frame));
    frame->MDIMaximize(child);

    for (const wchar_t* skin : {L"Classic", L"Office XP", L"Office 2003"}) {
        ASSERT_TRUE(app.SetCurrentSkin(skin));
        Redraw();
        frame->SetMessageText(L"Ready");
        Redraw();
        CRect window;
        frame->GetWindowRect(&window);
        const CPoint origin = window.TopLeft();
        std::vector<RECT> ignore = MenuBarFrameTextAreas(*frame, frame->GetMenuBar());
        for (int pane : {0, 2, 3, 4}) {
            CRect r;
            status.GetItemRect(pane, &r);
            status.ClientToScreen(&r);
            r.DeflateRect(2, 2);
            r.OffsetRect(-origin);
            ignore.push_back(r);
        }
        // The percentage beside the progress control.
        CRect progress;
        status.GetItemRect(1, &progress);
        status.ClientToScreen(&progress);
        progress.OffsetRect(-origin);
        ignore.push_back(CRect(progress.left, progress.top + 1, progress.left + 40, progress.bottom - 1));
        std::string name = "main_frame_" + std::string(skin == std::wstring(L"Classic") ? "classic"
                                                       : skin == std::wstring(L"Office XP") ? "xp"
                                                                                              : "2003");
        EXPECT_TRUE(MatchesGolden("frames", name, CaptureScreen(window), ignore)) << name;
    }
    user::InjectKeyPress(VK_NUMLOCK);   // back off for the next cases
    Pump();
}

} // namespace
} // namespace zyn::test
