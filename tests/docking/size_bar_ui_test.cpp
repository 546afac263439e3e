// The size control bar on the window system: where a bar made without a place goes, its
// three sizes, the caption buttons (laid out by a test skin: close at client (2, 2) 12 x 12,
// resize 14 pixels below it on a horizontally docked bar), the context menu, the live drag
// threshold and the floating frame's offset under the cursor, the hover hook's users,
// TidyUp of the dynamic bars, the dock context's single owner and the active bar.
#include "platform/afx/afxres.h"
#include "platform/user/menu.h"
#include "platform/user/modal.h"
#include "tests/docking/docking_test_support.h"
#include "tests/support/golden.h"
#include "toolkit/docking/shb_bar.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/skin_xp.h"

namespace zyn::test {
namespace {

using user::InjectMouseButton;
using user::InjectMouseMove;
using user::MouseButton;

constexpr UINT ID_BAR = 0xE850;

class SizeBarTest : public SizeDockTest {
protected:
    void SetUp() override
    {
        SizeDockTest::SetUp();
        ASSERT_TRUE(MakeSizeFrame());
        ASSERT_TRUE(bar.Make(frame, ID_BAR, CRect(0, 0, 200, 100)));
        frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
        frame->RecalcLayout();
        Pump();
    }
    CPoint ScreenOf(CPoint client) const
    {
        bar.ClientToScreen(&client);
        return client;
    }
    static void Release()
    {
        InjectMouseButton(MouseButton::Left, false);
        Pump();
        base::Clock::Advance(1000);   // the next press is no double click
    }
    // The bar's window rectangle in its client coordinates.
    CRect WindowInClient() const
    {
        CRect r = ScreenRect(bar);
        bar.ScreenToClient(&r);
        return r;
    }

    CCountingSizeBar& bar{NewBar()};
};

// ---- creation and sizes ---------------------------------------------------------------------------------------

TEST_F(SizeBarTest, ABarMadeWithoutAPlaceTakesTheLowerRightOfItsParent)
{
    // An odd-sized parent: the halves and quarters are integer divisions.
    const HWND parent = CreateWindowExW(0, kPlainClass, L"", WS_POPUP | WS_VISIBLE, 10, 10, 301, 203, nullptr,
        nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    CCountingSizeBar& lone = NewBar();
    ASSERT_TRUE(lone.Create(CWnd::FromHandle(parent), L"Lone", ID_BAR + 1));
    CRect r = ScreenRect(lone);
    ::ScreenToClient(parent, reinterpret_cast<POINT*>(&r.left));
    ::ScreenToClient(parent, reinterpret_cast<POINT*>(&r.right));
    EXPECT_EQ(r, CRect(151, 153, 301, 203)) << "left 301 - 150, top 203 - 50";
    EXPECT_EQ(lone.m_sizeFloat, CSize(150, 50));
    EXPECT_EQ(lone.m_sizeHorzDock, CSize(150, 50));
    EXPECT_EQ(lone.m_sizeVertDock, CSize(150, 50));
    EXPECT_TRUE(lone.GetStyle() & WS_CLIPCHILDREN);
    EXPECT_EQ(lone.GetBarStyle() & CBRS_ALIGN_ANY, CBRS_ALIGN_TOP) << "the bar keeps its CBRS bits";
    lone.DestroyWindow();
    ::DestroyWindow(parent);
}

TEST_F(SizeBarTest, EachPlaceHasItsOwnSize)
{
    bar.m_sizeFloat = CSize(210, 110);
    bar.m_sizeHorzDock = CSize(220, 120);
    bar.m_sizeVertDock = CSize(130, 230);
    struct Row {
        const char* place;
        void (*put)(CFrameWnd*, CControlBar*);
        CSize horz, vert;   // CalcFixedLayout(FALSE, TRUE) and (FALSE, FALSE)
    };
    const Row rows[] = {
        {"top", [](CFrameWnd* f, CControlBar* b) { f->DockControlBar(b, AFX_IDW_DOCKBAR_TOP); }, CSize(220, 120),
            CSize(130, 230)},
        {"left", [](CFrameWnd* f, CControlBar* b) { f->DockControlBar(b, AFX_IDW_DOCKBAR_LEFT); }, CSize(220, 120),
            CSize(130, 230)},
        {"floating", [](CFrameWnd* f, CControlBar* b) { f->FloatControlBar(b, CPoint(300, 300)); }, CSize(210, 110),
            CSize(210, 110)},
    };
    for (const Row& row : rows) {
        row.put(frame, &bar);
        EXPECT_EQ(bar.CalcFixedLayout(FALSE, TRUE), row.horz) << row.place;
        EXPECT_EQ(bar.CalcFixedLayout(TRUE, FALSE), row.vert) << row.place << ": stretching changes nothing";
    }
}

TEST_F(SizeBarTest, ADockedBarTakesEveryPointAsClientAFloatingOneDoesNot)
{
    const CRect r = ScreenRect(bar);
    for (const CPoint p : {r.TopLeft(), CPoint(r.right - 1, r.bottom - 1), r.CenterPoint()})
        EXPECT_EQ(bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTCLIENT);
    // Floating, the bar answers as any window does.
    frame->FloatControlBar(&bar, CPoint(300, 300));
    const CRect f = ScreenRect(bar);
    for (const CPoint p : {f.TopLeft(), f.CenterPoint()}) {
        const LPARAM at = MAKELPARAM(p.x, p.y);
        EXPECT_EQ(bar.SendMessage(WM_NCHITTEST, 0, at), bar.DefWindowProc(WM_NCHITTEST, 0, at));
    }
}

TEST_F(SizeBarTest, ChangesOfSizeAndPlaceAreNotifiedWithTheirFlags)
{
    bar.sizedFlags.clear();
    bar.SetWindowPos(nullptr, 0, 0, 150, 90, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_FALSE(bar.sizedFlags.empty());
    EXPECT_EQ(bar.sizedFlags.back(), 1) << "size only";
    bar.sizedFlags.clear();
    bar.SetWindowPos(nullptr, 0, 0, 150, 90, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(bar.sizedFlags.empty()) << "nothing changed, nothing told";
    // The same window with a wider non-client band (no gripper before, one now): the
    // client area alone changed, and the contents must follow it.
    bar.SetSizeDockStyle(bar.GetSizeDockStyle() | SZBARF_NO_GRIPPER);
    bar.sizedFlags.clear();
    bar.SetSizeDockStyle(bar.GetSizeDockStyle() & ~SZBARF_NO_GRIPPER);
    ASSERT_FALSE(bar.sizedFlags.empty()) << "a frame change that resizes the client area";
    EXPECT_EQ(bar.sizedFlags.back(), 1);
    frame->FloatControlBar(&bar, CPoint(300, 300));
    ASSERT_FALSE(bar.sizedFlags.empty());
    int flags = 0;
    for (const int f : bar.sizedFlags)
        flags |= f;
    EXPECT_TRUE(flags & 2) << "the bar now floats";
}

// ---- the caption buttons ------------------------------------------------------------------------------------------

TEST_F(SizeBarTest, TheCloseButtonHidesOnAReleaseOverItOnly)
{
    ScopedSkin skin(std::make_unique<CTestLayoutSkin>());
    bar.RecalcLayout();
    ASSERT_EQ(bar.m_rectCloseBtn, CRect(2, 2, 14, 14));
    const CPoint close = ScreenOf(CPoint(8, 8));

    // Pressed, moved off (no longer pressed), back on (pressed again), released off: nothing.
    InjectMouseMove(close.x, close.y);
    InjectMouseButton(MouseButton::Left, true);
    Pump();
    EXPECT_EQ(bar.m_nPressedBtn, COXSizeControlBar::btnClose);
    EXPECT_EQ(GetCapture(), bar.m_hWnd);
    InjectMouseMove(close.x + 40, close.y + 40);
    Pump();
    EXPECT_EQ(bar.m_nPressedBtn, COXSizeControlBar::btnNone);
    InjectMouseMove(close.x, close.y);
    Pump();
    EXPECT_EQ(bar.m_nPressedBtn, COXSizeControlBar::btnClose);
    InjectMouseMove(close.x + 40, close.y + 40);
    const int drawn = bar.closeDrawn;
    Release();
    EXPECT_TRUE(bar.IsWindowVisible()) << "released away from the button";
    EXPECT_GT(bar.closeDrawn, drawn) << "the button is drawn plain again";
    EXPECT_EQ(GetCapture(), nullptr);

    InjectMouseMove(close.x, close.y);
    InjectMouseButton(MouseButton::Left, true);
    Release();
    EXPECT_FALSE(bar.IsWindowVisible()) << "released over the button: the bar hides";
    EXPECT_EQ(bar.m_nPressedBtn, COXSizeControlBar::btnNone);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SizeBarTest, AResizeButtonThatCannotWorkTakesThePressAndDoesNothing)
{
    ScopedSkin skin(std::make_unique<CTestLayoutSkin>());
    bar.RecalcLayout();
    ASSERT_FALSE(bar.CanResize()) << "alone in its row";
    const CPoint resize = ScreenOf(bar.m_rectResizeBtn.CenterPoint());
    const CRect before = ScreenRect(bar);
    InjectMouseMove(resize.x, resize.y);
    InjectMouseButton(MouseButton::Left, true);
    Pump();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(bar.m_nPressedBtn, COXSizeControlBar::btnNone);
    Release();
    EXPECT_FALSE(bar.IsMaximized());
    // A double click there is a second click, not a toggle of the docking.
    InjectMouseMove(resize.x, resize.y);
    for (int i = 0; i < 2; ++i) {
        InjectMouseButton(MouseButton::Left, true);
        InjectMouseButton(MouseButton::Left, false);
    }
    Pump();
    EXPECT_EQ(SideOf(bar), static_cast<UINT>(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(ScreenRect(bar), before);
}

// ---- the live drag ------------------------------------------------------------------------------------------------

TEST_F(SizeBarTest, ALiveDragStartsAtFourPixelsOnEitherAxis)
{
    sizeFrame()->snapping = TRUE;
    const CPoint press = ScreenRect(bar).CenterPoint();
    struct Row {
        int dx, dy;
        bool starts;
    };
    const Row rows[] = {{3, 3, false}, {-3, 3, false}, {4, 0, true}, {0, -4, true}, {-4, 3, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "moved " << row.dx << ", " << row.dy);
        InjectMouseMove(press.x, press.y);
        InjectMouseButton(MouseButton::Left, true);
        InjectMouseMove(press.x + row.dx, press.y + row.dy);
        Pump();
        EXPECT_EQ(bar.m_bDragging != FALSE, row.starts);
        EXPECT_EQ(GetCapture() == bar.m_hWnd, row.starts);
        EXPECT_EQ(SideOf(bar), static_cast<UINT>(AFX_IDW_DOCKBAR_TOP)) << "the first step only takes the mouse";
        Release();
        EXPECT_FALSE(bar.m_bDragging);
        EXPECT_EQ(GetCapture(), nullptr);
    }
}

TEST_F(SizeBarTest, ALiveDragFloatsTheBarHangingAtTheSavedOffset)
{
    sizeFrame()->snapping = TRUE;
    const CRect r = WindowInClient();
    // Grabbed 30 pixels above the bottom of the 100-pixel bar, moved 6 pixels sideways to
    // start: along the floating caption at 30 % of its 200 pixels, 10 below its top.
    const CPoint pressClient(r.left + 60, r.bottom - 30);
    const CPoint press = ScreenOf(pressClient);
    const CPoint target = Client().CenterPoint();
    InjectMouseMove(press.x, press.y);
    InjectMouseButton(MouseButton::Left, true);
    InjectMouseMove(press.x + 6, press.y);
    Pump();   // moves waiting together are merged: the start is seen on its own
    InjectMouseMove(target.x, target.y);
    Pump();
    EXPECT_EQ(bar.m_ptFloatMouseOffset, CPoint(60, 10));
    COXSizableMiniDockFrameWnd* mini = FloatingFrame(bar);
    ASSERT_NE(mini, nullptr);
    EXPECT_EQ(ScreenRect(*mini).TopLeft(), target - CSize(60, 10));
    EXPECT_TRUE(bar.m_bDragging) << "the drag goes on until the release";
    Release();
    EXPECT_FALSE(bar.m_bDragging);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_NE(FloatingFrame(bar), nullptr);
    EXPECT_GE(bar.floatedNotices, 1);
}

TEST_F(SizeBarTest, TheFloatingFrameHangsWhereTheGripWasTakenClampedAndSafeOverNothing)
{
    bar.m_sizeFloat = CSize(200, 120);
    // Docked at the top (100 pixels high): x runs up the bar from its bottom; y is 10.
    const CRect top = WindowInClient();
    struct Row {
        const char* name;
        CPoint point;   // client coordinates of the bar docked at the top
        CPoint offset;
    };
    const Row docked[] = {
        {"30 % up", CPoint(top.left + 3, top.bottom - 30), CPoint(60, 10)},
        {"at the bottom: at least 5", CPoint(top.left + 3, top.bottom), CPoint(5, 10)},
        {"at the top: room for the close button", CPoint(top.left + 3, top.top), CPoint(180, 10)},
        {"below the bar", CPoint(top.left + 3, top.bottom + 50), CPoint(5, 10)},
    };
    for (const Row& row : docked) {
        bar.SaveMouseOffset(row.point);
        EXPECT_EQ(bar.m_ptFloatMouseOffset, row.offset) << row.name;
    }

    // Docked on the left: x runs along the bar's width.
    frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT);
    frame->RecalcLayout();
    const CRect left = WindowInClient();
    bar.SaveMouseOffset(CPoint(left.left + left.Width() / 4, left.top + 7));
    EXPECT_EQ(bar.m_ptFloatMouseOffset, CPoint(200 * (left.Width() / 4) / left.Width(), 10));

    // Floating: x along the width, y where the point is.
    frame->FloatControlBar(&bar, CPoint(300, 300));
    const CRect f = WindowInClient();
    bar.SaveMouseOffset(CPoint(f.left + f.Width() / 2, f.top + 7));
    EXPECT_EQ(bar.m_ptFloatMouseOffset, CPoint(200 * (f.Width() / 2) / f.Width(), 7));

    // A bar squeezed to nothing: the leading edge, no division by zero.
    frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    bar.SetWindowPos(nullptr, 0, 0, 200, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    bar.SaveMouseOffset(CPoint(10, 0));
    EXPECT_EQ(bar.m_ptFloatMouseOffset, CPoint(5, 10));
}

// ---- the context menu ---------------------------------------------------------------------------------------------

class SeamFloatingAsMDI : public COXDockingSeam {
public:
    CWnd* floatWnd = nullptr;
    COXMDIFloatWnd* AsMDIFloatWnd(CWnd* pWnd) override
    {
        return pWnd && pWnd == floatWnd ? reinterpret_cast<COXMDIFloatWnd*>(pWnd) : nullptr;
    }
};

struct MenuItem {
    UINT id;
    bool checked;
    bool operator==(const MenuItem&) const = default;
};

std::vector<MenuItem> ContextItems(COXSizeControlBar& b)
{
    std::vector<MenuItem> items;
    const HMENU menu = ::CreatePopupMenu();
    EXPECT_EQ(b.SendMessage(WM_OX_ADDCONTEXTMENUITEMS, 0, reinterpret_cast<LPARAM>(menu)), 1);
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        const UINT id = ::GetMenuItemID(menu, i);
        items.push_back({id, (::GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0});
    }
    ::DestroyMenu(menu);
    return items;
}

TEST_F(SizeBarTest, TheContextMenuOffersWhatTheBarCanDo)
{
    constexpr UINT kMDI = ID_OX_FLOAT_AS_MDI, kDock = ID_OX_ALLOW_DOCKING, kHide = ID_OX_HIDE_BAR;
    EXPECT_EQ(ContextItems(bar), (std::vector<MenuItem>{{kDock, true}, {kHide, false}}));

    bar.SetSizeDockStyle(SZBARF_CONTEXT_MENU | SZBARF_FLOAT_AS_MDI);
    EXPECT_EQ(ContextItems(bar), (std::vector<MenuItem>{{kMDI, false}, {kDock, true}, {kHide, false}}));

    // Docking switched off: the docked bar floats, its sides are kept for later.
    bar.SendMessage(WM_COMMAND, kDock);
    EXPECT_TRUE(bar.IsFloating());
    EXPECT_EQ(bar.m_dwDockStyle & CBRS_ALIGN_ANY, 0u);
    EXPECT_EQ(bar.m_dwSavedDockStyle, CBRS_ALIGN_ANY);
    EXPECT_EQ(ContextItems(bar), (std::vector<MenuItem>{{kMDI, false}, {kDock, false}, {kHide, false}}));
    bar.SendMessage(WM_COMMAND, kDock);
    EXPECT_EQ(bar.m_dwDockStyle & CBRS_ALIGN_ANY, CBRS_ALIGN_ANY) << "and back on";

    // Floating as an MDI child: that item checked, docking no longer offered.
    SeamFloatingAsMDI seam;
    seam.floatWnd = bar.GetParentFrame();
    ScopedSeam scoped(&seam);
    EXPECT_EQ(ContextItems(bar), (std::vector<MenuItem>{{kMDI, true}, {kHide, false}}));
}

TEST_F(SizeBarTest, ABarThatNeverDockedOffersOnlyHideWhichHidesIt)
{
    CCountingSizeBar& plain = NewBar();
    ASSERT_TRUE(plain.Create(frame, L"Plain", ID_BAR + 1, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 80, 40)));
    EXPECT_EQ(ContextItems(plain), (std::vector<MenuItem>{{ID_OX_HIDE_BAR, false}}));

    // Through the menu: the script picks Hide.
    user::AnswerScript::Push(user::AnswerKind::PopupMenu, static_cast<int>(ID_OX_HIDE_BAR));
    const CPoint at = ScreenRect(bar).CenterPoint();
    bar.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(bar.m_hWnd), MAKELPARAM(at.x, at.y));
    Pump();
    EXPECT_FALSE(bar.IsWindowVisible());

    // Without the context-menu style no menu is shown.
    const size_t shown = user::AnswerScript::Shown().size();
    plain.SetSizeDockStyle(0);
    plain.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(plain.m_hWnd), MAKELPARAM(at.x, at.y));
    EXPECT_EQ(user::AnswerScript::Shown().size(), shown);
    user::AnswerScript::Clear();
}

// ---- the class's hook, dynamic bars, the dock context --------------------------------------------------------------

TEST_F(SizeBarTest, TheHoverHookStaysUntilTheLastBarGoes)
{
    // The fixture's bar is the first user.
    EXPECT_TRUE(COXSizeControlBar::m_mouseHook.IsInstalled());
    CCountingSizeBar& second = NewBar();
    ASSERT_TRUE(second.Make(frame, ID_BAR + 1, CRect(0, 0, 120, 60)));
    EXPECT_EQ(COXSizeControlBar::m_mouseHook.GetUserCount(), 2);
    second.DestroyWindow();
    EXPECT_TRUE(COXSizeControlBar::m_mouseHook.IsInstalled()) << "one bar left, the hook stays";
    EXPECT_EQ(COXSizeControlBar::m_mouseHook.GetUserCount(), 1);

    // Leaving the bar for another window repaints its buttons through the hook.
    const CPoint over = ScreenRect(bar).CenterPoint();
    InjectMouseMove(over.x, over.y);
    Pump();
    const int drawn = bar.closeDrawn;
    const CPoint away = ScreenRect(*CWnd::FromHandle(view)).CenterPoint();
    InjectMouseMove(away.x, away.y);
    Pump();
    EXPECT_EQ(bar.closeDrawn, drawn + 1);

    bar.DestroyWindow();
    EXPECT_FALSE(COXSizeControlBar::m_mouseHook.IsInstalled()) << "the last bar took it away";
    EXPECT_EQ(COXSizeControlBar::m_mouseHook.GetUserCount(), 0);
}

TEST_F(SizeBarTest, TidyUpDeletesOnlyTheDynamicBarsOfTheFrameGoing)
{
    const int aliveBefore = CCountingSizeBar::alive;
    auto makeDynamic = [](CWnd* parent, UINT id) {
        auto* p = new CCountingSizeBar(SZBARF_DYNAMIC | SZBARF_CONTEXT_MENU);   // TidyUp deletes it
        EXPECT_TRUE(p->Make(parent, id, CRect(0, 0, 120, 60)));
        return p;
    };
    // Frame A is the main frame: one bar docked, one floating, one whose window went.
    CCountingSizeBar* a1 = makeDynamic(frame, ID_BAR + 1);
    frame->DockControlBar(a1, AFX_IDW_DOCKBAR_TOP);
    CCountingSizeBar* a2 = makeDynamic(frame, ID_BAR + 2);
    frame->FloatControlBar(a2, CPoint(750, 600));
    CCountingSizeBar* a3 = makeDynamic(frame, ID_BAR + 3);
    a3->DestroyWindow();
    // Frame B has one; and one bar never got a window.
    auto* frameB = new CSizeDockTestFrame;
    ASSERT_TRUE(frameB->Create(nullptr, L"B", WS_OVERLAPPEDWINDOW, CRect(800, 100, 1100, 400)));
    frameB->EnableSizeDocking(CBRS_ALIGN_ANY);
    CCountingSizeBar* b1 = makeDynamic(frameB, ID_BAR + 4);
    frameB->DockControlBar(b1, AFX_IDW_DOCKBAR_TOP);
    auto* orphan = new CCountingSizeBar(SZBARF_DYNAMIC);
    ASSERT_NE(COXSizeControlBar::m_parrAllocBars, nullptr);
    EXPECT_EQ(COXSizeControlBar::m_parrAllocBars->GetSize(), 5);
    EXPECT_EQ(CCountingSizeBar::alive, aliveBefore + 5);

    frameB->DestroyWindow();   // its TidyUp: b1 only
    EXPECT_EQ(CCountingSizeBar::alive, aliveBefore + 4);
    EXPECT_EQ(COXSizeControlBar::m_parrAllocBars->GetSize(), 4) << "A's bars and the orphan stay";

    frame->DestroyWindow();    // its TidyUp: a1, a2 and a3
    frame = nullptr;
    EXPECT_EQ(CCountingSizeBar::alive, aliveBefore + 1);
    ASSERT_NE(COXSizeControlBar::m_parrAllocBars, nullptr);
    ASSERT_EQ(COXSizeControlBar::m_parrAllocBars->GetSize(), 1);
    EXPECT_EQ(COXSizeControlBar::m_parrAllocBars->GetAt(0), orphan) << "a bar of no frame is its owner's";

    delete orphan;
    COXSizeControlBar::TidyUp(nullptr);
    EXPECT_EQ(COXSizeControlBar::m_parrAllocBars, nullptr) << "the emptied list goes";
}

TEST_F(SizeBarTest, TheDockContextIsTheDragContextAndHasOneOwner)
{
    COXDragDockContext* context = dynamic_cast<COXDragDockContext*>(bar.m_pDockContext);
    ASSERT_NE(context, nullptr);
    bar.EnableDocking(CBRS_ALIGN_LEFT);
    EXPECT_EQ(bar.m_pDockContext, context) << "made once";
    auto* dynamic = new CCountingSizeBar(SZBARF_CONTEXT_MENU);
    ASSERT_TRUE(dynamic->Make(frame, ID_BAR + 1, CRect(0, 0, 50, 50)));
    delete dynamic;   // the address sanitizer holds it to one deletion of the context
}

// ---- the active bar ------------------------------------------------------------------------------------------------

TEST_F(SizeBarTest, TheBarHoldingTheFocusIsActiveAndActivatingOneDeactivatesTheOthers)
{
    CCountingSizeBar& second = NewBar();
    ASSERT_TRUE(second.Make(frame, ID_BAR + 1, CRect(0, 0, 120, 60)));
    frame->DockControlBar(&second, AFX_IDW_DOCKBAR_BOTTOM);
    const HWND child = MakePlain(WS_CHILD | WS_VISIBLE, bar.m_hWnd, 1);
    ::SetFocus(child);
    Idle(app);
    EXPECT_TRUE(bar.IsActive()) << "the focus is in it";
    EXPECT_FALSE(second.IsActive());

    second.SetActive(TRUE, TRUE);
    EXPECT_TRUE(second.IsActive());
    EXPECT_FALSE(bar.IsActive()) << "deactivated by the other";
    EXPECT_EQ(::GetFocus(), second.m_hWnd) << "the focus went into the activated bar";
    Idle(app);
    EXPECT_TRUE(second.IsActive());
    EXPECT_FALSE(bar.IsActive());
}

} // namespace
} // namespace zyn::test

namespace zyn::test {
namespace {

// A size bar holding a shortcut bar that fills its client area, as a host's does.
class ShortcutsPane : public CCountingSizeBar {
public:
    COXShortcutBar shortcuts;
    void OnSizedOrDocked(int cx, int cy, BOOL bFloating, int flags) override
    {
        CCountingSizeBar::OnSizedOrDocked(cx, cy, bFloating, flags);
        CRect client;
        GetClientRect(&client);
        if (shortcuts.m_hWnd)
            shortcuts.MoveWindow(0, 0, client.Width(), client.Height());
    }
};

// Docked left under Office XP, then the application takes Office 2003, whose gripper band
// is wider: the frame change alone shrinks the bar's client area, and the shortcut bar
// must shrink with it, or the bottom group header is cut off.
TEST_F(SizeDockTest, AShortcutBarFollowsItsBarsClientAreaThroughASkinChange)
{
    ASSERT_TRUE(MakeSizeFrame());
    auto skin = std::make_unique<ScopedSkin>(std::make_unique<COXSkinXP>());
    ShortcutsPane pane;
    ASSERT_TRUE(pane.Make(frame, ID_BAR, CRect(0, 0, 150, 240)));
    ASSERT_TRUE(pane.shortcuts.Create(&pane, CRect(0, 0, 150, 240), SHBS_DISABLEDRAGDROPHEADER, 1));
    const HSHBGROUP first = pane.shortcuts.InsertGroup(L"Configuration", -1, -1, -1, 0, SHB_SMALLICON);
    ASSERT_NE(pane.shortcuts.InsertGroup(L"Tools", -1, -1, -1, 0, SHB_SMALLICON), nullptr);
    pane.shortcuts.ExpandGroup(first);
    frame->DockControlBar(&pane, AFX_IDW_DOCKBAR_LEFT);
    frame->RecalcLayout();
    Pump();
    // The application's skin change: every window's frame is calculated again.
    skin.reset();
    skin = std::make_unique<ScopedSkin>(std::make_unique<COXSkin2003>());
    ::SetWindowPos(pane.m_hWnd, nullptr, 0, 0, 0, 0,
        SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    pane.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    CRect client, inner;
    pane.GetClientRect(&client);
    pane.shortcuts.GetWindowRect(&inner);
    pane.ScreenToClient(&inner);
    EXPECT_EQ(inner, client) << "the shortcut bar fills the client area left by the new skin";
    // The bottom of the bar, where the last group's header lies, its title left out.
    CRect bottom = ScreenRect(pane);
    bottom.top = bottom.bottom - 40;
    EXPECT_TRUE(MatchesGoldenScreen("docking", "shortcuts_after_skin_change", bottom,
        {CRect(30, 0, bottom.Width() - 30, 40)}));
    pane.DestroyWindow();
}

} // namespace
} // namespace zyn::test
