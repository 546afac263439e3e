// The layout manager on real windows: children placed by their constraints across
// container sizes, fractions, limits and their relaxation, impossible layouts, the
// registry of children, and the container's subclassed window procedure.
#include <gmock/gmock.h>

#include <algorithm>
#include <functional>
#include <tuple>

#include "platform/afx/wnd.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "tests/toolkit/toolkit_ui_support.h"
#include "toolkit/skins/layout_manager.h"

namespace toolkittest {
namespace {

using LM = COXLayoutManager;

// A container whose own WM_SIZE handling notes where one child stands at that moment.
class CContainer : public CWnd {
public:
    UINT watchedId = 0;
    std::vector<CRect> seenAtOwnSize;
    afx_msg void OnSize(UINT nType, int cx, int cy)
    {
        CWnd::OnSize(nType, cx, cy);
        if (watchedId) {
            CRect r;
            ::GetWindowRect(::GetDlgItem(m_hWnd, static_cast<int>(watchedId)), &r);
            ScreenToClient(&r);
            seenAtOwnSize.push_back(r);
        }
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CContainer, CWnd)
    ON_WM_SIZE()
END_MESSAGE_MAP()

// Gives the learned container limits to the tests.
class CProbeManager : public COXLayoutManager {
public:
    using COXLayoutManager::COXLayoutManager;
    int MinWidth() const { return m_nMinWidth; }
    int MaxWidth() const { return m_nMaxWidth; }
    int MinHeight() const { return m_nMinHeight; }
    int MaxHeight() const { return m_nMaxHeight; }
};

class LayoutManagerTest : public ToolkitUiTest {
protected:
    void SetUp() override
    {
        ToolkitUiTest::SetUp();
        ASSERT_TRUE(container.CreateEx(0, kPlainClass, L"", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    }
    void TearDown() override
    {
        container.DestroyWindow();
        ToolkitUiTest::TearDown();
    }
    HWND Child(UINT id, const CRect& r) { return MakeWindow(WS_CHILD | WS_VISIBLE, r, container.m_hWnd, id); }
    CRect RectOf(UINT id) const
    {
        CRect r;
        ::GetWindowRect(::GetDlgItem(container.m_hWnd, static_cast<int>(id)), &r);
        container.ScreenToClient(&r);
        return r;
    }
    // Resizes the container; its WM_SIZE reaches the manager through the subclass.
    void ResizeTo(int cx, int cy) { container.SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER); }

    CContainer container;
};

// ---- geometry across resizes -----------------------------------------------------------------------------------

TEST_F(LayoutManagerTest, ChildrenFollowTheirConstraintsAcrossContainerSizes)
{
    // A: an edit stretched 10 px from both sides at the top, 20 high (bottom empty: keeps
    //    its height).
    // B: a button held 10 px from the right and bottom (left and top empty: keeps its size).
    // C: a list under A (5 px below A's bottom), from A's left to half the container
    //    width, ending 5 px above B.
    // D: fills the rest right of C, 10 px from it, as high as C.
    Child(101, CRect(10, 10, 290, 30));
    Child(102, CRect(210, 165, 290, 190));
    Child(103, CRect(0, 0, 1, 1));
    Child(104, CRect(0, 0, 1, 1));
    LM lm(&container);
    lm.AddAllChildren(FALSE);
    ASSERT_TRUE(lm.SetConstraint(101u, LM::sideLeft | LM::sideTop, LM::typeSame, 10));
    ASSERT_TRUE(lm.SetConstraint(101u, LM::sideRight, LM::typeSame, -10));
    ASSERT_TRUE(lm.SetConstraint(102u, LM::sideRight | LM::sideBottom, LM::typeSame, -10));
    ASSERT_TRUE(lm.SetConstraint(103u, LM::sideTop, LM::typeOpposite, 5, 101));
    ASSERT_TRUE(lm.SetConstraint(103u, LM::sideLeft, LM::typeSame, 0, 101));
    ASSERT_TRUE(lm.SetConstraint(103u, LM::sideRight, LM::typeFraction, 50));
    ASSERT_TRUE(lm.SetConstraint(103u, LM::sideBottom, LM::typeOpposite, -5, 102));
    ASSERT_TRUE(lm.SetConstraint(104u, LM::sideLeft, LM::typeOpposite, 10, 103));
    ASSERT_TRUE(lm.SetConstraint(104u, LM::sideRight, LM::typeSame, -10));
    ASSERT_TRUE(lm.SetConstraint(104u, LM::sideTop | LM::sideBottom, LM::typeSame, 0, 103));

    struct Row {
        int cx, cy;
        CRect a, b, c, d;
    };
    // Worked by hand: A (10, 10, W-10, 30); B (W-90, H-35, W-10, H-10);
    // C (10, 35, W*50/100, H-40) with the fraction truncated; D (C.right+10, 35, W-10, H-40).
    const Row rows[] = {
        {401, 301, {10, 10, 391, 30}, {311, 266, 391, 291}, {10, 35, 200, 261}, {210, 35, 391, 261}},
        {250, 150, {10, 10, 240, 30}, {160, 115, 240, 140}, {10, 35, 125, 110}, {135, 35, 240, 110}},
        {999, 500, {10, 10, 989, 30}, {909, 465, 989, 490}, {10, 35, 499, 460}, {509, 35, 989, 460}},
        {300, 200, {10, 10, 290, 30}, {210, 165, 290, 190}, {10, 35, 150, 160}, {160, 35, 290, 160}},
    };
    for (const Row& row : rows) {
        ResizeTo(row.cx, row.cy);
        SCOPED_TRACE(::testing::Message() << "container " << row.cx << "x" << row.cy);
        EXPECT_EQ(RectOf(101), row.a);
        EXPECT_EQ(RectOf(102), row.b);
        EXPECT_EQ(RectOf(103), row.c);
        EXPECT_EQ(RectOf(104), row.d);
    }
}

TEST_F(LayoutManagerTest, TieChildKeepsThePresentDistances)
{
    Child(101, CRect(30, 40, 130, 90));
    Child(102, CRect(150, 40, 250, 90));
    LM lm(&container);
    lm.AddAllChildren(); // default: top and left tied where they are, the size kept
    int type = -1, offset = 0;
    UINT base = 99;
    ASSERT_TRUE(lm.GetConstraint(101u, LM::sideTop, type, offset, base));
    EXPECT_EQ(std::make_tuple(type, offset, base), std::make_tuple(int{LM::typeSame}, 40, 0u));
    ASSERT_TRUE(lm.GetConstraint(101u, LM::sideRight, type, offset, base));
    EXPECT_EQ(std::make_tuple(type, offset), std::make_tuple(int{LM::typeNone}, 32767));
    // 101's right and bottom stay 170 and 110 px from the container's right and bottom.
    ASSERT_TRUE(lm.TieChild(101u, LM::sideRight | LM::sideBottom, LM::typeSame));
    // 102's left stays 20 px right of 101's right edge (opposite edge of its base).
    ASSERT_TRUE(lm.TieChild(102u, LM::sideLeft, LM::typeOpposite, 101u));
    ResizeTo(400, 300);
    EXPECT_EQ(RectOf(101), CRect(30, 40, 230, 190));
    // The left moved with 101's right; the right side is empty: the width (100) stays.
    EXPECT_EQ(RectOf(102), CRect(250, 40, 350, 90));
    // No such window: nothing is tied.
    EXPECT_FALSE(lm.TieChild(555u, LM::sideLeft, LM::typeSame));
    EXPECT_FALSE(lm.TieChild(101u, LM::sideLeft, LM::typeSame, 555u));
    EXPECT_FALSE(lm.TieChild(101u, LM::sideLeft, LM::typeFraction));
}

// ---- fractions ----------------------------------------------------------------------------------------------------

TEST_F(LayoutManagerTest, FractionsOfTheContainerAndOfSiblings)
{
    Child(101, CRect(10, 10, 290, 30));
    Child(102, CRect(0, 40, 1, 60));
    Child(103, CRect(0, 70, 1, 90));
    LM lm(&container);
    lm.AddAllChildren();
    lm.SetConstraint(101u, LM::sideLeft, LM::typeSame, 10);
    lm.SetConstraint(101u, LM::sideRight, LM::typeSame, -10);
    // 102: from a quarter to three quarters of the way along 101.
    lm.SetConstraint(102u, LM::sideLeft, LM::typeFraction, 25, 101);
    lm.SetConstraint(102u, LM::sideRight, LM::typeFraction, 75, 101);
    // 103: its right at -50 % of the container width (off to the left), its left at -160.
    lm.SetConstraint(103u, LM::sideRight, LM::typeFraction, -50);
    lm.SetConstraint(103u, LM::sideLeft, LM::typeSame, -160);

    struct Row {
        int cx;
        CRect b, c;
    };
    // 101 spans 10..W-10, L = W - 20 long: 102 is (L*25/100 + 10, L*75/100 + 10), each
    // quotient truncated. 103's right is W * -50 / 100 truncated towards zero: -150 for
    // both 300 and 301 (rounding down would give -151 for 301).
    const Row rows[] = {
        {401, {105, 40, 295, 60}, {-160, 70, -200, 90}},
        {300, {80, 40, 220, 60}, {-160, 70, -150, 90}},
        {301, {80, 40, 220, 60}, {-160, 70, -150, 90}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.cx);
        ResizeTo(row.cx, 200);
        EXPECT_EQ(RectOf(102), row.b);
        // A rectangle turned inside out is given no width.
        CRect c = row.c;
        c.right = std::max(c.left, c.right);
        EXPECT_EQ(RectOf(103), c);
    }
}

TEST_F(LayoutManagerTest, FractionArithmeticDoesNotOverflow)
{
    Child(101, CRect(0, 0, 10, 10));
    LM lm(&container);
    lm.AddAllChildren();
    // Half of the width with a fraction base of 20,000,000: 300 * 10,000,000 is beyond
    // 32 bits.
    lm.SetFractionBase(20000000);
    lm.SetConstraint(101u, LM::sideRight, LM::typeFraction, 10000000);
    EXPECT_TRUE(lm.OnSize(300, 200));
    EXPECT_EQ(RectOf(101), CRect(0, 0, 150, 10));
    int type = 0, offset = 0;
    UINT base = 0;
    ASSERT_TRUE(lm.GetConstraint(101u, LM::sideRight, type, offset, base));
    EXPECT_EQ(type, LM::typeFraction);
    EXPECT_EQ(offset, 10000000);
    // A fraction keeps the base it was set with: with the base now 100, the stored
    // 10,000,000 / 20,000,000 reads as 50.
    lm.SetFractionBase(100);
    ASSERT_TRUE(lm.GetConstraint(101u, LM::sideRight, type, offset, base));
    EXPECT_EQ(offset, 50);
    lm.SetFractionBase(0);
    EXPECT_EQ(lm.GetFractionBase(), 100) << "a fraction base of 0 is ignored";
}

// ---- limits and relaxation -----------------------------------------------------------------------------------------

TEST_F(LayoutManagerTest, AMinimumWidensTheLayoutAndIsLearned)
{
    // Width W - 20: a minimum of 200 needs a container of 220.
    Child(101, CRect(10, 10, 290, 30));
    CProbeManager lm(&container);
    lm.AddAllChildren();
    lm.SetConstraint(101u, LM::sideLeft, LM::typeSame, 10);
    lm.SetConstraint(101u, LM::sideRight, LM::typeSame, -10);
    lm.SetMinMax(101u, CSize(200, 0), CSize(0, 0));
    EXPECT_TRUE(lm.OnSize(150, 100));
    EXPECT_EQ(RectOf(101), CRect(10, 10, 210, 30));
    EXPECT_EQ(lm.MinWidth(), 220);
    EXPECT_EQ(lm.MaxWidth(), 32767);
    // A later smaller size starts from the learned minimum.
    EXPECT_TRUE(lm.OnSize(50, 100));
    EXPECT_EQ(RectOf(101), CRect(10, 10, 210, 30));
    EXPECT_EQ(lm.MinWidth(), 220);
    // A size above it is used as it is.
    EXPECT_TRUE(lm.OnSize(400, 100));
    EXPECT_EQ(RectOf(101), CRect(10, 10, 390, 30));
    // Any change of the constraints forgets what was learned.
    lm.SetConstraint(101u, LM::sideRight, LM::typeSame, -20);
    EXPECT_EQ(lm.MinWidth(), -1);
    CSize mn, mx;
    ASSERT_TRUE(lm.GetMinMax(101u, mn, mx));
    EXPECT_EQ(mn, CSize(200, 0));
}

TEST_F(LayoutManagerTest, AMaximumNarrowsTheLayoutAndHeightsRelaxToo)
{
    // Width W - 20 at most 100 (container 120); height H - 20 at least 150 (container 170).
    Child(101, CRect(10, 10, 290, 190));
    CProbeManager lm(&container);
    lm.AddAllChildren();
    lm.SetConstraint(101u, LM::sideLeft | LM::sideTop, LM::typeSame, 10);
    lm.SetConstraint(101u, LM::sideRight | LM::sideBottom, LM::typeSame, -10);
    lm.SetMinMax(101u, CSize(0, 150), CSize(100, 0));
    EXPECT_TRUE(lm.OnSize(300, 100));
    EXPECT_EQ(RectOf(101), CRect(10, 10, 110, 160));
    // The height fitted first; the last pass that changed anything was about the width.
    EXPECT_EQ(lm.MaxWidth(), 120);
    // Removing the limits clears the flag and the learned limits.
    lm.SetMinMax(101u, CSize(0, 0), CSize(0, 0));
    EXPECT_EQ(lm.MaxWidth(), 32767);
    EXPECT_TRUE(lm.OnSize(300, 100));
    EXPECT_EQ(RectOf(101), CRect(10, 10, 290, 90));
}

TEST_F(LayoutManagerTest, LimitsNoSizeSatisfiesFailWithoutMovingAnything)
{
    Child(101, CRect(10, 10, 290, 30));
    Child(102, CRect(10, 40, 290, 60));
    struct Case {
        const char* name;
        CSize min101, max101, min102, max102;
    };
    // Both widths are W - 20.
    const Case cases[] = {
        // At W = 150: 101 is too narrow and 102 too wide in the same pass.
        {"contradiction in one pass", {200, 0}, {0, 0}, {0, 0}, {100, 0}},
        // 101 needs W >= 220, 102 needs W <= 219: widening to 219 is not enough, 220 is too
        // wide; the axis would swing between the two for ever.
        {"an axis turning back", {200, 0}, {0, 0}, {0, 0}, {199, 0}},
        // 102's height (20) does not follow the container: growing it runs out at 32767.
        {"beyond the range", {0, 0}, {0, 0}, {0, 50}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CProbeManager lm(&container);
        lm.AddAllChildren();
        for (UINT id : {101u, 102u}) {
            lm.SetConstraint(id, LM::sideLeft, LM::typeSame, 10);
            lm.SetConstraint(id, LM::sideRight, LM::typeSame, -10);
        }
        lm.SetMinMax(101u, c.min101, c.max101);
        lm.SetMinMax(102u, c.min102, c.max102);
        EXPECT_FALSE(lm.OnSize(150, 100));
        EXPECT_EQ(RectOf(101), CRect(10, 10, 290, 30)) << "nothing moved";
        EXPECT_EQ(RectOf(102), CRect(10, 40, 290, 60));
        EXPECT_EQ(lm.MinWidth(), -1) << "nothing learned";
        EXPECT_EQ(lm.MaxWidth(), 32767);
    }
}

// ---- impossible layouts -------------------------------------------------------------------------------------------

TEST_F(LayoutManagerTest, CyclesAndMissingWindowsMakeTheLayoutImpossible)
{
    Child(101, CRect(10, 10, 50, 30));
    Child(102, CRect(60, 10, 100, 30));
    struct Case {
        const char* name;
        std::function<void(LM&)> tie;
    };
    const Case cases[] = {
        {"two children based on each other",
            [](LM& lm) {
                lm.SetConstraint(101u, LM::sideLeft, LM::typeOpposite, 5, 102);
                lm.SetConstraint(102u, LM::sideLeft, LM::typeOpposite, 5, 101);
            }},
        {"a side based on its own child",
            [](LM& lm) { lm.SetConstraint(101u, LM::sideTop, LM::typeSame, 0, 101); }},
        {"an empty side of a record without a window",
            [](LM& lm) { lm.SetConstraint(101u, LM::sideLeft, LM::typeSame, 0, 555); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LM lm(&container);
        lm.AddAllChildren();
        c.tie(lm);
        EXPECT_FALSE(lm.OnSize(400, 300));
        EXPECT_EQ(RectOf(101), CRect(10, 10, 50, 30));
        EXPECT_EQ(RectOf(102), CRect(60, 10, 100, 30));
    }
}

TEST_F(LayoutManagerTest, ARecordWithoutAWindowServesAsABaseAndIsNotMoved)
{
    // 555 is a guide line at a third of the width; 101 starts 5 px right of it.
    Child(101, CRect(10, 10, 50, 30));
    LM lm(&container);
    lm.AddAllChildren();
    lm.SetConstraint(555u, LM::sideLeft | LM::sideRight, LM::typeFraction, 33);
    lm.SetConstraint(555u, LM::sideTop | LM::sideBottom, LM::typeSame, 0);
    lm.SetConstraint(101u, LM::sideLeft, LM::typeOpposite, 5, 555);
    EXPECT_TRUE(lm.OnSize(300, 200));
    EXPECT_EQ(RectOf(101), CRect(104, 10, 144, 30)); // 300 * 33 / 100 = 99, + 5
    EXPECT_EQ(lm.GetChildCount(), 2);
}

// ---- the registry ---------------------------------------------------------------------------------------------------

TEST_F(LayoutManagerTest, RegistryOfChildren)
{
    Child(101, CRect(10, 10, 50, 30));
    Child(0, CRect(10, 40, 50, 60)); // no ID: not a child the manager can name
    Child(102, CRect(60, 10, 100, 30));
    LM lm(&container);
    lm.AddAllChildren();
    ASSERT_EQ(lm.GetChildCount(), 2);
    EXPECT_EQ(lm.GetChild(0)->m_nID, 101u) << "window order";
    EXPECT_EQ(lm.GetChild(1)->m_nID, 102u);
    EXPECT_EQ(lm.AddChild(0u), -1);
    EXPECT_EQ(lm.AddChild(102u), 1) << "an existing child keeps its index";

    // A base cannot go while a side is based on it.
    lm.SetConstraint(102u, LM::sideLeft, LM::typeOpposite, 10, 101);
    EXPECT_FALSE(lm.RemoveChild(101u));
    EXPECT_FALSE(lm.RemoveChild(777u));
    lm.RemoveConstraint(102u, LM::sideLeft);
    EXPECT_TRUE(lm.RemoveChild(101u));
    EXPECT_EQ(lm.GetChildCount(), 1);
    EXPECT_FALSE(lm.RemoveConstraint(101u, LM::sideAll));
    EXPECT_FALSE(lm.SetConstraint(0u, LM::sideLeft, LM::typeSame, 0));
    EXPECT_FALSE(lm.SetConstraint(102u, LM::sideLeft, 4, 0)) << "no such type";
    EXPECT_EQ(lm.GetChildCount(), 1);
    // A new base is registered (without default constraints) before the child.
    EXPECT_TRUE(lm.SetConstraint(103u, LM::sideLeft, LM::typeSame, 0, 104u));
    ASSERT_EQ(lm.GetChildCount(), 3);
    EXPECT_EQ(lm.GetChild(1)->m_nID, 104u);
    EXPECT_TRUE(lm.GetChild(1)->m_sides[COXWndConstraint::top].IsEmpty());
    lm.RemoveAllChildren();
    EXPECT_EQ(lm.GetChildCount(), 0);
    EXPECT_TRUE(lm.OnSize(400, 300)) << "nothing to lay out";
}

TEST_F(LayoutManagerTest, ConstraintsReadBackAsTheyWereSet)
{
    LM lm;
    struct Row {
        int side, type, offset;
        int near, far; // as stored
    };
    // The storage table: type 1 counts from the same edge, type 2 from the opposite one;
    // near = from the base's top/left, far = from its bottom/right.
    const Row rows[] = {
        {LM::sideTop, LM::typeSame, 7, 7, 32767},
        {LM::sideLeft, LM::typeSame, -3, -3, 32767},
        {LM::sideBottom, LM::typeSame, -7, 32767, -7},
        {LM::sideRight, LM::typeSame, 9, 32767, 9},
        {LM::sideTop, LM::typeOpposite, 4, 32767, 4},
        {LM::sideRight, LM::typeOpposite, 4, 4, 32767},
        {LM::sideBottom, LM::typeFraction, 40, 40, 100},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "side " << row.side << " type " << row.type);
        ASSERT_TRUE(lm.SetConstraint(42u, row.side, row.type, row.offset, 0));
        const COXSideConstraint* stored = lm.GetChild(0)->Side(row.side);
        EXPECT_EQ(stored->m_nNearOffset, row.near);
        EXPECT_EQ(stored->m_nFarOffset, row.far);
        int type = 0, offset = 0;
        UINT base = 1;
        ASSERT_TRUE(lm.GetConstraint(42u, row.side, type, offset, base));
        EXPECT_EQ(type, row.type);
        EXPECT_EQ(offset, row.offset);
        EXPECT_EQ(base, 0u);
    }
    int type = 0, offset = 0;
    UINT base = 0;
    EXPECT_FALSE(lm.GetConstraint(42u, LM::sideTop | LM::sideLeft, type, offset, base)) << "one side at a time";
    EXPECT_FALSE(lm.GetConstraint(43u, LM::sideTop, type, offset, base));
    CSize mn, mx;
    EXPECT_FALSE(lm.GetMinMax(43u, mn, mx));
    EXPECT_FALSE(lm.RedrawLayout()) << "no container";
    EXPECT_TRUE(lm.OnSize(100, 100)) << "no container: nothing to do";
}

// ---- the container's window procedure -------------------------------------------------------------------------------

TEST_F(LayoutManagerTest, TheContainerSeesItsChildrenInPlaceAndGetsItsProcedureBack)
{
    Child(101, CRect(10, 10, 50, 30));
    const LONG_PTR original = ::GetWindowLongPtrW(container.m_hWnd, GWLP_WNDPROC);
    container.watchedId = 101;
    {
        LM lm(&container);
        EXPECT_TRUE(lm.IsAttached());
        lm.AddAllChildren();
        lm.SetConstraint(101u, LM::sideRight, LM::typeSame, -10);
        ResizeTo(400, 300);
        ASSERT_FALSE(container.seenAtOwnSize.empty());
        EXPECT_EQ(container.seenAtOwnSize.back(), CRect(10, 10, 390, 30)) << "laid out before the container's handler";
        // A second manager on the same window is refused.
        LM other;
        EXPECT_FALSE(other.Attach(&container));
        other.Detach();
        EXPECT_TRUE(lm.RedrawLayout());
        lm.Detach();
        EXPECT_FALSE(lm.IsAttached());
        EXPECT_EQ(::GetWindowLongPtrW(container.m_hWnd, GWLP_WNDPROC), original);
    }
    ResizeTo(300, 200);
    EXPECT_EQ(RectOf(101), CRect(10, 10, 390, 30)) << "no manager any more";
}

// A procedure put on top of the manager's, as other code may subclass the container.
WNDPROC g_underneath = nullptr;
int g_onTopCalls = 0;
LRESULT OnTopProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    ++g_onTopCalls;
    return ::CallWindowProcW(g_underneath, h, m, w, l);
}

TEST_F(LayoutManagerTest, AManagerLeavingFromUnderAnotherSubclassPassesMessagesOn)
{
    Child(101, CRect(10, 10, 50, 30));
    container.watchedId = 101;
    g_onTopCalls = 0;
    {
        LM lm(&container);
        lm.AddAllChildren();
        lm.SetConstraint(101u, LM::sideRight, LM::typeSame, -10);
        g_underneath = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(container.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OnTopProc)));
        ResizeTo(400, 300);
        EXPECT_EQ(RectOf(101), CRect(10, 10, 390, 30));
    } // the manager is gone; its procedure stays in the chain as a pass-through
    container.seenAtOwnSize.clear();
    ResizeTo(300, 200);
    EXPECT_EQ(RectOf(101), CRect(10, 10, 390, 30)) << "nobody lays out any more";
    EXPECT_EQ(container.seenAtOwnSize.size(), 1u) << "the container's own procedure still runs";
    EXPECT_GT(g_onTopCalls, 0);
    // A new manager takes the pass-through over.
    LM again(&container);
    EXPECT_TRUE(again.IsAttached());
    again.AddAllChildren();
    again.SetConstraint(101u, LM::sideRight, LM::typeSame, -20);
    ResizeTo(350, 200);
    EXPECT_EQ(RectOf(101), CRect(10, 10, 330, 30));
    container.DestroyWindow(); // before the manager: its map entry goes with the window
    EXPECT_FALSE(again.RedrawLayout());
}

} // namespace
} // namespace toolkittest
