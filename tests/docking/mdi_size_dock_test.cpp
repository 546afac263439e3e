// The MDI size-dock frame with scripted steps: a document window docked as a bar and back
// (through float), a bar floating as an MDI child kept inside the client and landing where
// its window last was, and a saved layout holding such a bar. Positions are worked by hand
// from the client's rectangle and the bar's size.
#include <cstring>
#include <memory>

#include "platform/afx/doctempl.h"
#include "platform/afx/view.h"
#include "platform/user/mdiclient.h"
#include "platform/user/menu.h"
#include "tests/docking/size_dock_test_support.h"
#include "toolkit/docking/dock_document.h"
#include "toolkit/docking/dock_seams.h"
#include "toolkit/docking/mdi_size_dock.h"
#include "toolkit/docking/sizable_mini_dock_frame.h"

namespace zyn::test {
namespace {

constexpr const wchar_t* kSection = L"MDISizeDockLayout";

class TestView : public CView {
public:
    void OnDraw(CDC*) override {}
};

// A document whose save question is answered by the test.
class TestDoc : public COXDockDocument {
public:
    BOOL answer = TRUE;
    int asked = 0;
    BOOL SaveModified() override
    {
        ++asked;
        return answer;
    }
};

class MDISizeDockTest : public DockTest {
protected:
    void TearDown() override
    {
        DestroyMDI();
        app.WriteProfileString(kSection, nullptr, nullptr);
        app.WriteProfileString(CString(kSection) + L"-Summary", nullptr, nullptr);
        for (int i = 0; i < 16; ++i)
            app.WriteProfileString(CString(kSection) + L"-Bar" + std::to_wstring(i).c_str(), nullptr, nullptr);
        DockTest::TearDown();
    }
    COXMDIFrameWndSizeDock* MakeMDI()
    {
        auto* pFrame = new COXMDIFrameWndSizeDock;
        if (!pFrame->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 800, 600)))
            return nullptr;
        frame = mdi = pFrame;
        pFrame->EnableDocking(CBRS_ALIGN_ANY);
        app.m_pMainWnd = pFrame;
        pFrame->RecalcLayout();
        Pump();
        return pFrame;
    }
    void DestroyMDI()
    {
        app.m_pMainWnd = nullptr;
        if (mdi && ::IsWindow(mdi->m_hWnd))
            mdi->DestroyWindow();
        if (frame == mdi)
            frame = nullptr;
        mdi = nullptr;
        Pump();
        bars.clear();
    }
    // A dockable child with a view (of doc when given), maximised or not.
    COXMDIChildWndSizeDock* Child(LPCTSTR title, bool maximised = false, CDocument* doc = nullptr)
    {
        auto* child = new COXMDIChildWndSizeDock;
        EXPECT_TRUE(child->Create(nullptr, title,
            WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE | (maximised ? WS_MAXIMIZE : 0),
            CRect(10, 10, 310, 210), mdi));
        auto* view = new TestView;   // deletes itself with its window
        EXPECT_TRUE(view->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), child, AFX_IDW_PANE_FIRST));
        if (doc)
            doc->AddView(view);
        child->SetActiveView(view, FALSE);
        child->RecalcLayout();
        Pump();
        return child;
    }
    CTestSizeBar* Bar(UINT nID, CSize size)
    {
        auto bar = std::make_unique<CTestSizeBar>();
        CTestSizeBar* p = bar.get();
        EXPECT_TRUE(p->Create(mdi, L"Bar", nID, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, size.cx, size.cy)));
        p->m_sizeFloat = p->m_sizeHorzDock = p->m_sizeVertDock = size;
        p->EnableDocking(CBRS_ALIGN_ANY);
        mdi->DockControlBar(p, kTop);
        bars.push_back(std::move(bar));
        return p;
    }
    CRect ClientRect() const
    {
        CRect r;
        ::GetClientRect(mdi->m_hWndMDIClient, &r);
        return r;
    }
    // A window's place in the MDI client's coordinates.
    CPoint InClient(CWnd* wnd) const
    {
        CRect r;
        wnd->GetWindowRect(&r);
        ::MapWindowPoints(nullptr, mdi->m_hWndMDIClient, reinterpret_cast<POINT*>(&r), 2);
        return r.TopLeft();
    }
    CPoint ClientToScreenPt(CPoint pt) const
    {
        ::ClientToScreen(mdi->m_hWndMDIClient, &pt);
        return pt;
    }
    static COXMDIFloatWnd* FloatOf(CControlBar* bar)
    {
        CFrameWnd* f = bar->m_pDockBar ? bar->m_pDockBar->GetParentFrame() : nullptr;
        return f && f->IsKindOf(RUNTIME_CLASS(COXMDIFloatWnd)) ? static_cast<COXMDIFloatWnd*>(f) : nullptr;
    }

    COXMDIFrameWndSizeDock* mdi = nullptr;
    std::vector<std::unique_ptr<CTestSizeBar>> bars;
};

// Floated past an edge, the whole window (borders and caption included) sits flush with
// it, whether the window is new or the bar's own is only moved; moved, re-docked and
// floated again by its menu item, it comes back where it was moved to on the screen, and
// toggling the docking leaves a bar in such a window alone.
TEST_F(MDISizeDockTest, AFloatAsMDIBarIsKeptInsideAndLandsWhereItsWindowLastWas)
{
    ASSERT_NE(MakeMDI(), nullptr);
    const CRect client = ClientRect();
    // Where the window asked for at `ask` lands, with W x H its outer size: x is at most
    // client.right - W and at least 0, y likewise with the bottom (the rule, worked per row).
    struct Row {
        const char* what;
        bool moveOwn;     // float again while already floating: only its window moves
        CPoint ask;
        CPoint (*want)(const CRect& client, CSize outer);
    };
    const Row rows[] = {
        {"inside: where asked", false, CPoint(20, 30), [](const CRect&, CSize) { return CPoint(20, 30); }},
        {"past the right edge", false, CPoint(client.right + 40, 30),
            [](const CRect& c, CSize o) { return CPoint(c.right - o.cx, 30); }},
        {"past the bottom edge", false, CPoint(10, client.bottom + 5),
            [](const CRect& c, CSize o) { return CPoint(10, c.bottom - o.cy); }},
        {"just over the right and bottom edges", false, CPoint(client.right - 5, client.bottom - 5),
            [](const CRect& c, CSize o) { return CPoint(c.right - o.cx, c.bottom - o.cy); }},
        {"before the left and top edges", false, CPoint(-30, -20), [](const CRect&, CSize) { return CPoint(0, 0); }},
        {"own window moved past the right edge", true, CPoint(client.right, 12),
            [](const CRect& c, CSize o) { return CPoint(c.right - o.cx, 12); }},
    };
    UINT id = 0x3210;
    for (const Row& row : rows) {
        CTestSizeBar* moved = Bar(id++, CSize(120, 80));
        if (row.moveOwn) {
            mdi->FloatControlBarInMDIChild(moved, ClientToScreenPt(CPoint(20, 20)), CBRS_ALIGN_TOP, TRUE);
            Pump();
            ASSERT_NE(FloatOf(moved), nullptr) << row.what;
        }
        mdi->FloatControlBarInMDIChild(moved, ClientToScreenPt(row.ask), CBRS_ALIGN_TOP, TRUE);
        Pump();
        COXMDIFloatWnd* wnd = FloatOf(moved);
        ASSERT_NE(wnd, nullptr) << row.what;
        CRect outer;
        wnd->GetWindowRect(&outer);
        ASSERT_LT(outer.Width(), client.Width()) << row.what << ": the window fits";
        ASSERT_LT(outer.Height(), client.Height()) << row.what << ": the window fits";
        ASSERT_GT(outer.Width(), 120) << row.what << ": wider than the bar";
        EXPECT_EQ(InClient(wnd), row.want(client, outer.Size())) << row.what;
    }

    CTestSizeBar* bar = Bar(0x3201, CSize(120, 80));
    mdi->FloatControlBarInMDIChild(bar, ClientToScreenPt(CPoint(client.right + 40, 30)), CBRS_ALIGN_TOP, TRUE);
    Pump();
    COXMDIFloatWnd* first = FloatOf(bar);
    ASSERT_NE(first, nullptr);

    first->SetWindowPos(nullptr, 50, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    const CPoint lastOnScreen = ClientToScreenPt(CPoint(50, 40));
    mdi->DockControlBar(bar, kTop);
    Pump();
    EXPECT_EQ(FloatOf(bar), nullptr);
    // Docked on top, the bar pushes the client down: the window comes back at the same
    // place on the screen, kept inside the client (the rule above).
    CPoint want = lastOnScreen;
    ::ScreenToClient(mdi->m_hWndMDIClient, &want);
    want.x = std::max<LONG>(want.x, 0);
    want.y = std::max<LONG>(want.y, 0);
    bar->OnFloatAsMDI();
    Pump();
    COXMDIFloatWnd* again = FloatOf(bar);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(InClient(again), want);

    // Its window moves it as an MDI child: toggling the docking leaves it where it is.
    ASSERT_NE(bar->m_pDockContext, nullptr);
    bar->m_pDockContext->ToggleDocking();
    Pump();
    EXPECT_EQ(FloatOf(bar), again);
    EXPECT_EQ(InClient(again), want);
}

// Closing an MDI float window: a bar destroyed on close goes with it (deleted once, the
// sanitizers watching); any other size bar only hides, the window staying; a bar that is
// no size bar, or the bars of a window for several, hide with the window. Its caption
// follows the bar's title.
TEST_F(MDISizeDockTest, ClosingAnMDIFloatWindowHidesOrDestroysItsBar)
{
    ASSERT_NE(MakeMDI(), nullptr);
    CTestSizeBar* kept = Bar(0x3203, CSize(120, 80));
    mdi->FloatControlBarInMDIChild(kept, ClientToScreenPt(CPoint(20, 20)), CBRS_ALIGN_TOP, TRUE);
    Pump();
    COXMDIFloatWnd* keptWnd = FloatOf(kept);
    ASSERT_NE(keptWnd, nullptr);
    CString caption;
    keptWnd->GetWindowText(caption);
    EXPECT_EQ(caption, CString(L"Bar")) << "the bar's title";
    const HWND hKeptWnd = keptWnd->m_hWnd;
    keptWnd->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_TRUE(::IsWindow(hKeptWnd)) << "the window stays";
    EXPECT_TRUE(::IsWindow(kept->m_hWnd));
    EXPECT_FALSE(kept->IsVisible()) << "the bar only hides";

    auto* gone = new CTestSizeBar;   // deleted by the close
    ASSERT_TRUE(gone->Create(mdi, L"Gone", 0x3204, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 100, 60)));
    gone->SetSizeDockStyle(gone->GetSizeDockStyle() | SZBARF_DESTROY_ON_CLOSE);
    gone->EnableDocking(CBRS_ALIGN_ANY);
    mdi->DockControlBar(gone, kTop);
    mdi->FloatControlBarInMDIChild(gone, ClientToScreenPt(CPoint(200, 20)), CBRS_ALIGN_TOP, TRUE);
    Pump();
    COXMDIFloatWnd* goneWnd = FloatOf(gone);
    ASSERT_NE(goneWnd, nullptr);
    const HWND hGoneWnd = goneWnd->m_hWnd, hGone = gone->m_hWnd;
    goneWnd->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_FALSE(::IsWindow(hGoneWnd));
    EXPECT_FALSE(::IsWindow(hGone));
    EXPECT_EQ(mdi->GetControlBar(0x3204), nullptr);

    // A bar that is no size bar hides as in a mini dock frame, and the empty window with it.
    auto* plain = new CTestBar(CSize(90, 24));
    plain->m_bAutoDelete = TRUE;   // deleted with its window
    ASSERT_TRUE(plain->Make(mdi, 0x3205, CBRS_TOP));
    plain->EnableDocking(CBRS_ALIGN_ANY);
    mdi->DockControlBar(plain, kTop);
    mdi->FloatControlBarInMDIChild(plain, ClientToScreenPt(CPoint(20, 200)), CBRS_ALIGN_TOP, TRUE);
    Pump();
    COXMDIFloatWnd* plainWnd = FloatOf(plain);
    ASSERT_NE(plainWnd, nullptr);
    const HWND hPlainWnd = plainWnd->m_hWnd;
    plainWnd->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_TRUE(::IsWindow(hPlainWnd) && ::IsWindow(plain->m_hWnd));
    EXPECT_FALSE(plain->IsVisible());
    EXPECT_FALSE(::IsWindowVisible(hPlainWnd));

    // A window for several bars hides them all, even a bar destroyed on close.
    CTestSizeBar* first = Bar(0x3206, CSize(100, 60));
    CTestSizeBar* second = Bar(0x3207, CSize(100, 60));
    first->SetSizeDockStyle(first->GetSizeDockStyle() | SZBARF_DESTROY_ON_CLOSE);
    mdi->FloatControlBarInMDIChild(first, ClientToScreenPt(CPoint(300, 200)), CBRS_ALIGN_TOP | CBRS_FLOAT_MULTI, TRUE);
    Pump();
    COXMDIFloatWnd* multi = FloatOf(first);
    ASSERT_NE(multi, nullptr);
    mdi->DockControlBar(second, &multi->GetDockBar());
    Pump();
    ASSERT_EQ(FloatOf(second), multi);
    multi->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_TRUE(::IsWindow(multi->m_hWnd) && ::IsWindow(first->m_hWnd) && ::IsWindow(second->m_hWnd));
    EXPECT_FALSE(first->IsVisible());
    EXPECT_FALSE(second->IsVisible());
    EXPECT_FALSE(multi->IsWindowVisible());
}

// Hand-made expectations: the record of a bar in an MDI float window has flag 1 at byte 24,
// and a fresh frame floats it as an MDI child again at its last floating place.
TEST_F(MDISizeDockTest, ABarSavedFloatingAsAnMDIChildComesBackAsOne)
{
    ASSERT_NE(MakeMDI(), nullptr);
    CTestSizeBar* bar = Bar(0x3202, CSize(120, 80));
    mdi->FloatControlBarInMDIChild(bar, ClientToScreenPt(CPoint(60, 70)), CBRS_ALIGN_TOP, TRUE);
    Pump();
    ASSERT_NE(FloatOf(bar), nullptr);
    const CPoint where = InClient(FloatOf(bar));
    mdi->SaveSizeBarState(kSection);
    LPBYTE raw = nullptr;
    UINT n = 0;
    ASSERT_TRUE(app.GetProfileBinary(kSection, L"BarSize_12802", &raw, &n));
    const std::unique_ptr<BYTE[]> data(raw);
    ASSERT_EQ(n, 28u);
    EXPECT_EQ(data[24], 1);
    EXPECT_EQ(data[25] | data[26] | data[27], 0);

    DestroyMDI();
    ASSERT_NE(MakeMDI(), nullptr);
    bar = Bar(0x3202, CSize(120, 80));
    EXPECT_TRUE(mdi->LoadSizeBarState(kSection));
    Pump();
    ASSERT_NE(FloatOf(bar), nullptr);
    EXPECT_EQ(InClient(FloatOf(bar)), where);
}

// A maximised active child docked by its menu command: the next child is active (and
// maximised), the view sits in the wrapper of a bar docked on top; dragged by the gripper to
// the left side; floated, the view sits in the bar itself; undocked from the floating
// frame's system menu, the child is active and maximised again with its view.
TEST_F(MDISizeDockTest, AMaximisedChildDocksFloatsAndComesBack)
{
    ASSERT_NE(MakeMDI(), nullptr);
    COXMDIChildWndSizeDock* other = Child(L"Other", true);
    COXMDIChildWndSizeDock* child = Child(L"Doc", true);
    BOOL bMax = FALSE;
    ASSERT_EQ(mdi->MDIGetActive(&bMax), child);
    ASSERT_TRUE(bMax);
    CView* view = child->GetActiveView();
    ASSERT_NE(view, nullptr);

    child->SendMessage(WM_SYSCOMMAND, COXMDIChildWndSizeDock::GetDockMessageID());
    Pump();
    COXSizeViewBar& bar = child->GetViewBar();
    EXPECT_TRUE(child->IsDockable());
    EXPECT_FALSE(child->IsWindowVisible());
    ASSERT_NE(bar.m_hWnd, nullptr);
    EXPECT_EQ(bar.GetDlgCtrlID(), 1);
    ASSERT_NE(bar.m_pDockBar, nullptr);
    EXPECT_EQ(bar.m_pDockBar->GetDlgCtrlID(), static_cast<int>(kTop));
    EXPECT_EQ(::GetParent(view->m_hWnd), bar.GetWrapper().m_hWnd);
    EXPECT_EQ(::GetParent(bar.GetWrapper().m_hWnd), bar.m_hWnd);
    EXPECT_EQ(mdi->CMDIFrameWnd::MDIGetActive(&bMax), other) << "the client's next child";
    EXPECT_TRUE(bMax);
    EXPECT_EQ(mdi->MDIGetActive(), child) << "the docked child counts as active";

    // Dragged by its gripper onto the left side: the bar's top-left 50 pixels left of the
    // room under the top row and 150 pixels down, as the outline drag docks it there.
    {
        const CRect b = ScreenRect(bar);
        CPoint grip = bar.m_rectGripper.CenterPoint();
        bar.ClientToScreen(&grip);
        CRect room = Client();
        room.top = ScreenRect(*mdi->GetControlBar(kTop)).bottom;
        const CPoint to = grip + CSize(room.left - 50 - b.left, room.top + 150 - b.top);
        base::Clock::Advance(1000);
        user::InjectMouseMove(grip.x, grip.y);
        user::InjectMouseButton(user::MouseButton::Left, true);
        user::InjectMouseMove(grip.x + 5, grip.y + 5);
        user::InjectMouseMove(to.x, to.y);
        user::InjectMouseButton(user::MouseButton::Left, false);
        Pump();
        ASSERT_NE(bar.m_pDockBar, nullptr);
        EXPECT_EQ(bar.m_pDockBar->GetDlgCtrlID(), static_cast<int>(kLeft));
        EXPECT_EQ(::GetParent(view->m_hWnd), bar.GetWrapper().m_hWnd) << "still wrapped while docked";
    }

    mdi->FloatControlBar(&bar, CPoint(500, 400));
    Pump();
    ASSERT_TRUE(bar.IsFloating());
    bar.OnSizedOrDocked(100, 100, TRUE, 2);
    EXPECT_EQ(::GetParent(view->m_hWnd), bar.m_hWnd) << "the view sits directly in the floating bar";

    // Undocked from the floating frame's system menu.
    CFrameWnd* floating = bar.GetDockingFrame();
    ASSERT_NE(floating, nullptr);
    ASSERT_TRUE(floating->IsKindOf(RUNTIME_CLASS(COXSizableMiniDockFrameWnd)));
    floating->SendMessage(WM_SYSCOMMAND, COXMDIChildWndSizeDock::GetDockMessageID());
    Pump();
    EXPECT_FALSE(child->IsDockable());
    EXPECT_TRUE(child->IsWindowVisible());
    EXPECT_EQ(::GetParent(view->m_hWnd), child->m_hWnd);
    EXPECT_EQ(mdi->MDIGetActive(&bMax), child);
    EXPECT_TRUE(bMax);
}

// Under a plain MDI frame the item does nothing; the system menu's item is checked exactly
// while the child is docked.
TEST_F(MDISizeDockTest, TheDockableItemFollowsTheFlagAndNeedsASizeDockFrame)
{
    ASSERT_NE(MakeMDI(), nullptr);
    COXMDIChildWndSizeDock* child = Child(L"Doc");
    const UINT id = COXMDIChildWndSizeDock::GetDockMessageID();
    ASSERT_NE(id, 0u);
    auto checked = [&](HMENU m) { return (::GetMenuState(m, id, MF_BYCOMMAND) & MF_CHECKED) != 0; };
    const HMENU sys = ::GetSystemMenu(child->m_hWnd, FALSE);
    ASSERT_NE(::GetMenuState(sys, id, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_FALSE(checked(sys));
    ASSERT_TRUE(child->MakeItDockable(TRUE));
    const HMENU ctx = ::CreatePopupMenu();
    child->OnAddContextMenuItems(ctx);
    EXPECT_TRUE(checked(ctx));
    ::DestroyMenu(ctx);
    child->ShowWindow(SW_SHOW);
    EXPECT_FALSE(child->IsWindowVisible()) << "a docked child stays hidden";
    ASSERT_TRUE(child->MakeItDockable(FALSE));

    // A plain MDI frame.
    DestroyMDI();
    auto* plain = new CMDIFrameWnd;
    ASSERT_TRUE(plain->Create(nullptr, L"Plain", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 600, 400)));
    frame = plain;
    auto* loose = new COXMDIChildWndSizeDock;
    ASSERT_TRUE(loose->Create(nullptr, L"Loose", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 100), plain));
    EXPECT_FALSE(loose->MakeItDockable(TRUE));
    EXPECT_FALSE(loose->IsDockable());
    EXPECT_TRUE(loose->IsWindowVisible());
}

// One document in a docked child and a normal child: numbers 1 and 2 in view order, the
// docked child's bar titled too. The close question refused keeps everything; the close
// command agreed closes the document, its docked child and the bar.
TEST_F(MDISizeDockTest, ADockDocumentNumbersItsFramesAndClosesThroughItsDockedChild)
{
    ASSERT_NE(MakeMDI(), nullptr);
    auto* doc = new TestDoc;   // deleted by its close
    doc->SetTitle(L"Report");
    COXMDIChildWndSizeDock* docked = Child(L"A", false, doc);
    COXMDIChildWndSizeDock* normal = Child(L"B", false, doc);
    ASSERT_TRUE(docked->MakeItDockable(TRUE));
    Pump();
    doc->UpdateFrameCounts();
    CString text;
    docked->GetWindowText(text);
    EXPECT_EQ(text, CString(L"Report:1"));
    docked->GetViewBar().GetWindowText(text);
    EXPECT_EQ(text, CString(L"Report:1"));
    normal->GetWindowText(text);
    EXPECT_EQ(text, CString(L"Report:2"));

    // The normal child goes: the docked one is the document's only frame.
    normal->SendMessage(WM_CLOSE);
    Pump();
    doc->UpdateFrameCounts();
    docked->GetWindowText(text);
    EXPECT_EQ(text, CString(L"Report"));

    const HWND hChild = docked->m_hWnd, hBar = docked->GetViewBar().m_hWnd;
    doc->SetModifiedFlag(TRUE);
    doc->answer = FALSE;
    docked->GetViewBar().GetWrapper().SendMessage(WM_CLOSE);
    EXPECT_TRUE(doc->OnCmdMsg(ID_FILE_CLOSE, 0, nullptr, nullptr));
    Pump();
    EXPECT_EQ(doc->asked, 2);
    EXPECT_TRUE(::IsWindow(hChild) && ::IsWindow(hBar)) << "a refused question keeps everything";
    EXPECT_TRUE(doc->IsModified());

    doc->answer = TRUE;
    EXPECT_TRUE(doc->OnCmdMsg(ID_FILE_CLOSE, 0, nullptr, nullptr));
    Pump();
    EXPECT_FALSE(::IsWindow(hChild));
    EXPECT_FALSE(::IsWindow(hBar));
}

// Closing the main frame asks to save every document of the application's templates: a
// refused question keeps the frame, and a later close, agreed, still goes through (the
// frame's closing flag does not stay set). One view of the closing document has no frame
// and another no window at all: the document drops them and closes its framed view.
TEST_F(MDISizeDockTest, ARefusedCloseCanBeRetriedAndFramelessViewsDoNotHoldTheDocument)
{
    ASSERT_NE(MakeMDI(), nullptr);
    auto* tmpl = new CMultiDocTemplate(0, nullptr, nullptr, nullptr);   // the application deletes it
    app.AddDocTemplate(tmpl);
    auto* doc = new TestDoc;   // deleted by its close
    tmpl->AddDocument(doc);
    COXMDIChildWndSizeDock* framed = Child(L"Framed", false, doc);
    ASSERT_TRUE(framed->MakeItDockable(TRUE));
    Pump();
    const HWND hFramed = framed->m_hWnd, hBar = framed->GetViewBar().m_hWnd;
    // A view whose window sits in no frame, and one that never got a window.
    CWnd loose;
    ASSERT_TRUE(loose.CreateEx(0, L"Static", L"", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    auto* frameless = new TestView;   // deletes itself with its window
    ASSERT_TRUE(frameless->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 20, 20), &loose, 1));
    doc->AddView(frameless);
    TestView windowless;
    doc->AddView(&windowless);

    doc->SetModifiedFlag(TRUE);
    doc->answer = FALSE;
    mdi->SendMessage(WM_CLOSE);
    Pump();
    ASSERT_TRUE(::IsWindow(mdi->m_hWnd)) << "a refused question keeps the frame";
    EXPECT_FALSE(mdi->IsBeingDestroyed());
    EXPECT_EQ(doc->asked, 1);
    EXPECT_TRUE(::IsWindow(hFramed) && ::IsWindow(hBar));

    // The document alone closes first: the frameless views are dropped, the loop ends.
    doc->answer = TRUE;
    const HWND hMain = mdi->m_hWnd;
    EXPECT_TRUE(doc->OnCmdMsg(ID_FILE_CLOSE, 0, nullptr, nullptr));
    Pump();
    EXPECT_FALSE(::IsWindow(hFramed));
    EXPECT_FALSE(::IsWindow(hBar));
    EXPECT_TRUE(::IsWindow(frameless->m_hWnd)) << "a view outside any frame is not destroyed";
    EXPECT_EQ(tmpl->GetFirstDocPosition(), nullptr);

    mdi->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_FALSE(::IsWindow(hMain)) << "the close, retried, goes through";
    mdi = nullptr;
    frame = nullptr;
    loose.DestroyWindow();
}

} // namespace
} // namespace zyn::test
