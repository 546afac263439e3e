// The sizable floating frame: its system menu and styles by what it holds, sizing by its
// borders, closing (hiding, or deleting a bar destroyed on close exactly once), the caption
// handing the mouse to its first live bar with snapping on, the frames' shared hook, the
// cursors of its borders, the view-bar notices and an empty frame.
#include <map>

#include "platform/afx/afxres.h"
#include "platform/gdi/icon.h"
#include "platform/user/menu.h"
#include "tests/docking/docking_test_support.h"
#include "toolkit/menus/cool_toolbar.h"

namespace zyn::test {
namespace {

using user::InjectMouseButton;
using user::InjectMouseMove;
using user::MouseButton;

constexpr UINT ID_BAR = 0xE850;

class MiniFrameTest : public SizeDockTest {
protected:
    void SetUp() override
    {
        SizeDockTest::SetUp();
        ASSERT_TRUE(MakeSizeFrame());
    }
    // A size bar floated at `at`, its frame told as the size-dock frames tell it.
    COXSizableMiniDockFrameWnd* FloatNew(CCountingSizeBar& bar, UINT nID, CPoint at)
    {
        if (!bar.Make(frame, nID, CRect(0, 0, 160, 90)))
            return nullptr;
        frame->FloatControlBar(&bar, at);
        bar.SendMessage(WM_OX_BARFLOATED);
        Pump();
        return FloatingFrame(bar);
    }
    struct Item {
        UINT id;
        std::wstring text;
        bool operator==(const Item&) const = default;
    };
    static std::vector<Item> SystemMenu(const CWnd& wnd)
    {
        std::vector<Item> items;
        const HMENU menu = ::GetSystemMenu(wnd.m_hWnd, FALSE);
        for (int i = 0; menu && i < ::GetMenuItemCount(menu); ++i) {
            wchar_t text[64] = {};
            ::GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
            items.push_back({::GetMenuItemID(menu, i), text});
        }
        return items;
    }
};

TEST_F(MiniFrameTest, AFloatingSizeBarsMenuIsMoveSizeAndHideOrClose)
{
    struct Row {
        const char* name;
        int style;
        const wchar_t* closeText;
    };
    const Row rows[] = {
        {"hidden on close", SZBARF_CONTEXT_MENU, L"&Hide"},
        {"destroyed on close", SZBARF_CONTEXT_MENU | SZBARF_DESTROY_ON_CLOSE, L"&Close\tAlt+F4"},
    };
    UINT nID = ID_BAR;
    for (const Row& row : rows) {
        CCountingSizeBar& bar = NewBar(row.style);
        COXSizableMiniDockFrameWnd* mini = FloatNew(bar, nID++, CPoint(300, 300));
        ASSERT_NE(mini, nullptr) << row.name;
        EXPECT_EQ(mini->GetContainedBarType(), COXSizableMiniDockFrameWnd::barTypeSizeBar) << row.name;
        EXPECT_EQ(SystemMenu(*mini),
            (std::vector<Item>{{SC_MOVE, L"&Move"}, {SC_SIZE, L"&Size"}, {SC_CLOSE, row.closeText}}))
            << row.name << ": no separators, nothing to minimise or maximise";
        EXPECT_TRUE(mini->GetStyle() & WS_THICKFRAME) << row.name;
        EXPECT_FALSE(mini->GetStyle() & (MFS_MOVEFRAME | MFS_4THICKFRAME)) << row.name;
    }
}

TEST_F(MiniFrameTest, OtherBarsGetAMovingFrameOrOneSizedAlongTheirLength)
{
    CTestBar fixed(CSize(100, 30));
    ASSERT_TRUE(fixed.Make(frame, ID_BAR, CBRS_TOP, L"Fixed"));
    fixed.EnableDocking(CBRS_ALIGN_ANY);
    frame->FloatControlBar(&fixed, CPoint(300, 300));
    auto* mini = static_cast<COXSizableMiniDockFrameWnd*>(fixed.GetParentFrame());
    ASSERT_TRUE(mini->IsKindOf(RUNTIME_CLASS(COXSizableMiniDockFrameWnd)));
    EXPECT_EQ(mini->GetContainedBarType(), COXSizableMiniDockFrameWnd::barTypeOther);
    EXPECT_FALSE(mini->GetStyle() & WS_THICKFRAME) << "not resizable";
    EXPECT_TRUE(mini->GetStyle() & MFS_MOVEFRAME);
    const CRect r = ScreenRect(*mini);
    EXPECT_EQ(mini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(r.left, r.top + r.Height() / 2)), HTCAPTION)
        << "a border moves the frame";

    CWrapBar wrap;
    ASSERT_TRUE(wrap.Make(frame, ID_BAR + 1, CBRS_TOP | CBRS_SIZE_DYNAMIC, L"Wrap"));
    wrap.EnableDocking(CBRS_ALIGN_ANY);
    frame->FloatControlBar(&wrap, CPoint(500, 300));
    auto* miniWrap = static_cast<COXSizableMiniDockFrameWnd*>(wrap.GetParentFrame());
    EXPECT_EQ(miniWrap->GetContainedBarType(), COXSizableMiniDockFrameWnd::barTypeOther);
    EXPECT_TRUE(miniWrap->GetStyle() & WS_THICKFRAME);
    EXPECT_TRUE(miniWrap->GetStyle() & MFS_4THICKFRAME) << "a dynamic bar wraps to its frame's sides";
    fixed.DestroyWindow();
    wrap.DestroyWindow();
}

TEST_F(MiniFrameTest, DraggingABorderSizesTheFrameAndBecomesTheFloatingSize)
{
    CCountingSizeBar& bar = NewBar();
    COXSizableMiniDockFrameWnd* mini = FloatNew(bar, ID_BAR, CPoint(300, 300));
    ASSERT_NE(mini, nullptr);
    CRect client;
    mini->GetClientRect(&client);
    const CRect r = ScreenRect(*mini);
    const CPoint border = FindHit(*mini, HTRIGHT, CPoint(r.right - 1, r.top + r.Height() / 2), CSize(-1, 0));
    DragPath(border, {CPoint(border.x + 20, border.y), CPoint(border.x + 40, border.y)});
    CRect after;
    mini->GetClientRect(&after);
    EXPECT_EQ(after.Size(), client.Size() + CSize(40, 0));
    // The bar's borders hide under the frame's edges: 2 pixels on each of its four sides.
    EXPECT_EQ(bar.m_sizeFloat, after.Size() + CSize(4, 4));
    EXPECT_EQ(ScreenRect(*mini).TopLeft(), r.TopLeft()) << "the left side stays";
}

// A dynamic bar's frame sized by a border lays the bar out anew: the wrap bar is six
// 20-pixel cells, one row of six (120 x 20) floating; a border taken 60 pixels in leaves
// room for three columns, so two rows (60 x 40). The frame's client area is the bar less
// its hidden 2-pixel borders.
TEST_F(MiniFrameTest, ADynamicBarsBorderReWrapsItsBar)
{
    CWrapBar wrap;
    ASSERT_TRUE(wrap.Make(frame, ID_BAR, CBRS_TOP | CBRS_SIZE_DYNAMIC, L"Wrap"));
    wrap.EnableDocking(CBRS_ALIGN_ANY);
    frame->FloatControlBar(&wrap, CPoint(760, 500));
    Pump();
    auto* mini = static_cast<COXSizableMiniDockFrameWnd*>(wrap.GetParentFrame());
    ASSERT_TRUE(mini->IsKindOf(RUNTIME_CLASS(COXSizableMiniDockFrameWnd)));
    CRect client;
    mini->GetClientRect(&client);
    ASSERT_EQ(client.Size(), CSize(116, 16));
    const CRect r = ScreenRect(*mini);
    // The right edge: a frame this low is corner all the way down until its first press
    // finds out what it holds; either sizes the bar's length.
    auto sizesRight = [&](CPoint p) {
        const LRESULT hit = mini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
        return hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT;
    };
    CPoint border(r.right - 1, r.top + r.Height() / 2);
    while (border.x > r.right - 10 && !sizesRight(border))
        --border.x;
    ASSERT_TRUE(sizesRight(border)) << "the right edge sizes the frame";
    DragPath(border, {CPoint(border.x - 30, border.y), CPoint(border.x - 60, border.y)});
    mini->GetClientRect(&client);
    EXPECT_EQ(client.Size(), CSize(56, 36));
    EXPECT_EQ(ScreenRect(wrap).Size(), CSize(60, 40));
    EXPECT_EQ(wrap.m_nMRUWidth, 60) << "the new width is the one a later float takes";
    EXPECT_EQ(ScreenRect(*mini).TopLeft(), r.TopLeft()) << "the left side stays";
    EXPECT_EQ(GetCapture(), nullptr);
    wrap.DestroyWindow();
}

TEST_F(MiniFrameTest, ClosingHidesTheBarOrDeletesABarDestroyedOnCloseOnce)
{
    CCountingSizeBar& kept = NewBar();
    COXSizableMiniDockFrameWnd* mini = FloatNew(kept, ID_BAR, CPoint(300, 300));
    ASSERT_NE(mini, nullptr);
    mini->SendMessage(WM_CLOSE);
    EXPECT_TRUE(::IsWindow(mini->m_hWnd));
    EXPECT_FALSE(kept.IsWindowVisible());
    EXPECT_FALSE(mini->IsWindowVisible());
    EXPECT_FALSE(mini->IsBeingDestroyed()) << "the flag is down again";

    // A bar destroyed on close that would also delete itself with its window: deleted once.
    const int alive = CCountingSizeBar::alive;
    auto* doomed = new CCountingSizeBar(SZBARF_CONTEXT_MENU | SZBARF_DESTROY_ON_CLOSE);   // the close deletes it
    doomed->m_bAutoDelete = TRUE;
    COXSizableMiniDockFrameWnd* miniDoomed = FloatNew(*doomed, ID_BAR + 1, CPoint(500, 300));
    ASSERT_NE(miniDoomed, nullptr);
    const HWND hMini = miniDoomed->m_hWnd;
    ::SendMessageW(hMini, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(hMini)) << "the frame went";
    EXPECT_EQ(CCountingSizeBar::alive, alive) << "the bar was deleted";
}

TEST_F(MiniFrameTest, WithSnappingTheCaptionHandsTheMouseToTheFirstLiveBar)
{
    sizeFrame()->snapping = TRUE;
    CCountingSizeBar& bar = NewBar();
    COXSizableMiniDockFrameWnd* mini = FloatNew(bar, ID_BAR, CPoint(300, 300));
    ASSERT_NE(mini, nullptr);
    CCountingSizeBar& ghost = NewBar();   // never made: a bar without a window
    struct Row {
        const char* name;
        void* entry;   // put before the bar at position 1
    };
    const Row rows[] = {
        {"nothing before it", nullptr},
        {"a placeholder before it", reinterpret_cast<void*>(static_cast<UINT_PTR>(0x1234))},
        {"a bar without a window before it", &ghost},
    };
    CDockBar& dock = mini->m_wndDockBar;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.entry)
            dock.m_arrBars.InsertAt(1, row.entry);
        const CRect r = ScreenRect(*mini);
        const CPoint caption = FindHit(*mini, HTCAPTION, CPoint(r.left + 20, r.top + 1), CSize(0, 1));
        mini->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(caption.x, caption.y));
        EXPECT_TRUE(bar.m_bDragging) << "the bar drags itself";
        EXPECT_EQ(GetCapture(), bar.m_hWnd);
        // The offset: the press in the bar's client area, seen from the frame's corner.
        CPoint offset = caption;
        bar.ScreenToClient(&offset);
        offset += ScreenRect(bar).TopLeft() - r.TopLeft();
        CRect w = ScreenRect(bar);
        bar.ScreenToClient(&w);
        const int x = std::min(std::max(static_cast<int>(double(offset.x - w.left) * bar.m_sizeFloat.cx / w.Width()), 5),
            bar.m_sizeFloat.cx - 20);
        EXPECT_EQ(bar.m_ptFloatMouseOffset, CPoint(x, offset.y - w.top));
        bar.SendMessage(WM_LBUTTONUP, 0, 0);
        EXPECT_FALSE(bar.m_bDragging);
        EXPECT_EQ(GetCapture(), nullptr);
        if (row.entry)
            dock.m_arrBars.RemoveAt(1);
    }
}

// A cool toolbar of a fixed size (turned on a vertical side).
class CFixedCoolToolBar : public COXCoolToolBar {
public:
    CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? CSize(120, 24) : CSize(24, 120); }
    CSize CalcDynamicLayout(int, DWORD dwMode) override { return CalcFixedLayout(FALSE, (dwMode & LM_HORZ) != 0); }
};

// The caption of a floating cool toolbar, snapping on: the bar takes the mouse and its own
// drag docks it into the side the cursor reaches, or (over no side) keeps it floating at
// the cursor; the release ends the drag.
TEST_F(MiniFrameTest, WithSnappingACoolToolbarsCaptionStartsItsLiveDrag)
{
    sizeFrame()->snapping = TRUE;
    CFixedCoolToolBar cool;
    ASSERT_TRUE(cool.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, ID_BAR));
    cool.EnableDocking(CBRS_ALIGN_ANY);
    frame->FloatControlBar(&cool, CPoint(300, 300));
    Pump();
    COXSizableMiniDockFrameWnd* mini = FloatingFrame(cool);
    ASSERT_NE(mini, nullptr);
    const CRect r = ScreenRect(*mini);
    const CPoint caption = FindHit(*mini, HTCAPTION, CPoint(r.left + 20, r.top + 1), CSize(0, 1));
    const CRect client = Client();
    InjectMouseMove(caption.x, caption.y);
    InjectMouseButton(MouseButton::Left, true);
    Pump();
    EXPECT_TRUE(cool.IsBarDragging()) << "the bar drags itself";
    EXPECT_EQ(GetCapture(), cool.m_hWnd);
    const CPoint midClient = client.CenterPoint();
    InjectMouseMove(midClient.x, midClient.y);
    Pump();
    EXPECT_TRUE(cool.IsFloating()) << "over no side it stays afloat";
    COXSizableMiniDockFrameWnd* moved = FloatingFrame(cool);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(ScreenRect(*moved).TopLeft(), midClient - (caption - r.TopLeft()))
        << "the frame hangs from the cursor where its caption was taken";
    InjectMouseMove(client.left + 300, client.top + 5);
    Pump();
    EXPECT_EQ(SideOf(cool), static_cast<UINT>(AFX_IDW_DOCKBAR_TOP)) << "at the top side it docks there";
    InjectMouseButton(MouseButton::Left, false);
    Pump();
    EXPECT_FALSE(cool.IsBarDragging());
    EXPECT_EQ(GetCapture(), nullptr);
    cool.DestroyWindow();   // before the bar object goes
}

TEST_F(MiniFrameTest, TheFramesShareOneHookUntilTheLastGoes)
{
    CCountingSizeBar& a = NewBar();
    CCountingSizeBar& b = NewBar();
    COXSizableMiniDockFrameWnd* miniA = FloatNew(a, ID_BAR, CPoint(300, 300));
    COXSizableMiniDockFrameWnd* miniB = FloatNew(b, ID_BAR + 1, CPoint(600, 300));
    ASSERT_TRUE(miniA && miniB);
    EXPECT_EQ(COXSizableMiniDockFrameWnd::m_mouseHook.GetUserCount(), 2);
    miniA->DestroyWindow();
    EXPECT_TRUE(COXSizableMiniDockFrameWnd::m_mouseHook.IsInstalled()) << "the other frame keeps it";
    miniB->DestroyWindow();
    EXPECT_FALSE(COXSizableMiniDockFrameWnd::m_mouseHook.IsInstalled());
}

// Counts the caption-button repaints of each frame.
class CCountingMiniFrameSkin : public COXMiniFrameSkinClassic {
public:
    BOOL DrawCaptionButtons(COXSizableMiniDockFrameWnd* frame) override
    {
        ++drawn[frame->m_hWnd];
        return COXMiniFrameSkinClassic::DrawCaptionButtons(frame);
    }
    std::map<HWND, int> drawn;
};
// A skin whose only element skin is that one (and owns it).
class CCountingSkin : public COXSkin {
public:
    explicit CCountingSkin(CCountingMiniFrameSkin* pSkin) { SetMiniFrameSkin(pSkin); }
};

// The mouse leaving a floating frame for another window has that frame's caption buttons
// repainted once (their hot look goes); moves that leave no frame repaint nothing.
TEST_F(MiniFrameTest, LeavingAFrameRepaintsItsCaptionButtonsOnce)
{
    auto* counting = new CCountingMiniFrameSkin;   // the skin owns it
    ScopedSkin skin(std::make_unique<CCountingSkin>(counting));
    CCountingSizeBar& a = NewBar();
    CCountingSizeBar& b = NewBar();
    COXSizableMiniDockFrameWnd* miniA = FloatNew(a, ID_BAR, CPoint(150, 300));
    COXSizableMiniDockFrameWnd* miniB = FloatNew(b, ID_BAR + 1, CPoint(450, 300));
    ASSERT_TRUE(miniA && miniB);
    auto captionOf = [&](const COXSizableMiniDockFrameWnd& mini) {
        const CRect r = ScreenRect(mini);
        return FindHit(mini, HTCAPTION, CPoint(r.left + 20, r.top + 1), CSize(0, 1));
    };
    const CPoint inView = ScreenRect(*CWnd::FromHandle(view)).CenterPoint();
    struct Step {
        const char* name;
        CPoint to;
        HWND left;   // the frame the move leaves, null: none
    };
    const Step steps[] = {
        {"onto A's caption", captionOf(*miniA), nullptr},
        {"on to the view", inView, miniA->m_hWnd},
        {"within the view", inView + CSize(5, 5), nullptr},
        {"onto B's caption", captionOf(*miniB), nullptr},
        {"from B to A", captionOf(*miniA), miniB->m_hWnd},
    };
    for (const Step& step : steps) {
        const std::map<HWND, int> before = counting->drawn;
        InjectMouseMove(step.to.x, step.to.y);
        Pump();
        for (HWND h : {miniA->m_hWnd, miniB->m_hWnd}) {
            const int was = before.count(h) ? before.at(h) : 0;
            if (h == step.left) {
                EXPECT_EQ(counting->drawn[h], was + 1) << step.name;
            } else if (::WindowFromPoint(step.to) != h) {
                EXPECT_EQ(counting->drawn[h], was) << step.name;
            }
        }
    }
    miniA->DestroyWindow();
    miniB->DestroyWindow();
}

TEST_F(MiniFrameTest, ItsBordersShowSizingCursorsItsBarsKeepTheirs)
{
    CCountingSizeBar& bar = NewBar();
    COXSizableMiniDockFrameWnd* mini = FloatNew(bar, ID_BAR, CPoint(300, 300));
    ASSERT_NE(mini, nullptr);
    struct Row {
        UINT hit;
        zyn::base::IntResource cursor;
    };
    const Row rows[] = {{HTTOP, IDC_SIZENS}, {HTBOTTOM, IDC_SIZENS}, {HTTOPRIGHT, IDC_SIZENESW},
        {HTBOTTOMLEFT, IDC_SIZENESW}, {HTTOPLEFT, IDC_SIZENWSE}, {HTBOTTOMRIGHT, IDC_SIZENWSE}, {HTLEFT, IDC_SIZEWE},
        {HTRIGHT, IDC_SIZEWE}, {HTCAPTION, IDC_ARROW}};
    for (const Row& row : rows) {
        ::SetCursor(nullptr);
        EXPECT_TRUE(mini->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(mini->m_hWnd), MAKELPARAM(row.hit, WM_MOUSEMOVE)));
        EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, row.cursor)) << "hit " << row.hit;
    }
    // Asked about a window of a bar, the frame leaves the cursor to it.
    ::SetCursor(nullptr);
    mini->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(bar.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(::GetCursor(), ::LoadCursorW(nullptr, IDC_SIZEWE));
}

class SeamWithViewBar : public COXDockingSeam {
public:
    CControlBar* view = nullptr;
    COXSizeViewBar* AsSizeViewBar(CControlBar* pBar) override
    {
        return pBar && pBar == view ? reinterpret_cast<COXSizeViewBar*>(pBar) : nullptr;
    }
};

TEST_F(MiniFrameTest, ClicksAndActivationAreToldToTheViewBar)
{
    CCountingSizeBar& bar = NewBar();
    COXSizableMiniDockFrameWnd* mini = FloatNew(bar, ID_BAR, CPoint(300, 300));
    ASSERT_NE(mini, nullptr);
    using Notices = std::vector<std::pair<WPARAM, LPARAM>>;
    // A click in any bar of the frame is told to its first bar, of whatever kind.
    mini->SendMessage(WM_PARENTNOTIFY, WM_LBUTTONDOWN, 0);
    mini->SendMessage(WM_PARENTNOTIFY, WM_MOUSEMOVE, 0);
    EXPECT_EQ(bar.viewBarNotices, (Notices{{TRUE, 3}}));
    EXPECT_FALSE(mini->IsDockingViewBar());

    SeamWithViewBar seam;
    seam.view = &bar;
    ScopedSeam scoped(&seam);
    EXPECT_TRUE(mini->IsDockingViewBar());
    bar.viewBarNotices.clear();
    mini->SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(frame->m_hWnd), MAKELPARAM(HTCAPTION, WM_LBUTTONDOWN));
    mini->SendMessage(WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(bar.viewBarNotices, (Notices{{TRUE, 3}, {FALSE, 3}}));
}

TEST_F(MiniFrameTest, AnEmptyFrameIgnoresClicksAndClosesAsItsBase)
{
    CMiniDockFrameWnd* empty = frame->CreateFloatingFrame(CBRS_ALIGN_TOP);
    ASSERT_NE(empty, nullptr);
    auto* mini = static_cast<COXSizableMiniDockFrameWnd*>(empty);
    ASSERT_TRUE(mini->IsKindOf(RUNTIME_CLASS(COXSizableMiniDockFrameWnd)));
    EXPECT_EQ(mini->GetFirstControlBar(), nullptr);
    mini->SendMessage(WM_PARENTNOTIFY, WM_LBUTTONDOWN, 0);
    mini->ShowWindow(SW_SHOWNA);
    mini->SendMessage(WM_CLOSE);
    EXPECT_TRUE(::IsWindow(mini->m_hWnd));
    EXPECT_FALSE(mini->IsWindowVisible()) << "closed as a floating frame: hidden";
    EXPECT_FALSE(mini->IsBeingDestroyed());
    EXPECT_EQ(mini->GetContainedBarType(), COXSizableMiniDockFrameWnd::barTypeOther);
    mini->DestroyWindow();
}

} // namespace
} // namespace zyn::test
