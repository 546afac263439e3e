// The size-dock frame: its dock bars and snapping answer, the packing of windows against a
// corner (positions worked by hand from the skyline rule: each window, largest first, goes
// where the skyline is shallowest over its height, ties to the earlier segment), and the
// saved layout (dock state plus seven little-endian int32 per size bar) read back on a
// fresh frame, with the records a reader must refuse.
#include <cstring>
#include <memory>
#include <vector>

#include "platform/afx/dockstate.h"
#include "tests/docking/size_dock_test_support.h"
#include "tests/support/testenv.h"
#include "toolkit/docking/frame_size_dock.h"
#include "toolkit/docking/sizable_mini_dock_frame.h"
#include "toolkit/menus/mfc_toolbar.h"

namespace zyn::test {
namespace {

using zyn::sizedock::ArrangeWindowsPlan;
using zyn::sizedock::BarSizeRecord;

constexpr UINT kA = 0x3101, kB = 0x3102;
constexpr const wchar_t* kSection = L"SizeDockLayout";

class SizeDockFrameTest : public DockTest {
protected:
    void TearDown() override
    {
        DestroySD();
        ClearProfile();
        DockTest::TearDown();
    }
    COXFrameWndSizeDock* MakeSD(CSize client = CSize(600, 400))
    {
        CRect window(0, 0, client.cx, client.cy);
        AdjustWindowRectEx(&window, WS_OVERLAPPEDWINDOW, FALSE, 0);
        window.OffsetRect(100 - window.left, 100 - window.top);
        auto* pFrame = new COXFrameWndSizeDock;
        if (!pFrame->Create(nullptr, L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, window))
            return nullptr;
        frame = sd = pFrame;
        view = MakePlain(WS_CHILD | WS_VISIBLE, pFrame->m_hWnd, AFX_IDW_PANE_FIRST);
        pFrame->EnableDocking(CBRS_ALIGN_ANY);
        app.m_pMainWnd = pFrame;
        pFrame->RecalcLayout();
        Pump();
        return pFrame;
    }
    void DestroySD()
    {
        app.m_pMainWnd = nullptr;
        if (sd && ::IsWindow(sd->m_hWnd))
            sd->DestroyWindow();
        frame = sd = nullptr;
        Pump();
        bars.clear();
    }
    // A size bar docked on top whose three sizes are `size`.
    CTestSizeBar* Bar(UINT nID, CSize size = CSize(100, 50))
    {
        auto bar = std::make_unique<CTestSizeBar>();
        CTestSizeBar* p = bar.get();
        EXPECT_TRUE(p->Create(sd, L"Bar", nID, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, size.cx, size.cy)));
        p->m_sizeFloat = p->m_sizeHorzDock = p->m_sizeVertDock = size;
        p->EnableDocking(CBRS_ALIGN_ANY);
        sd->DockControlBar(p, kTop);
        bars.push_back(std::move(bar));
        return p;
    }
    void ClearProfile()
    {
        app.WriteProfileString(kSection, nullptr, nullptr);
        app.WriteProfileString(CString(kSection) + L"-Summary", nullptr, nullptr);
        for (int i = 0; i < 16; ++i)
            app.WriteProfileString(CString(kSection) + L"-Bar" + std::to_wstring(i).c_str(), nullptr, nullptr);
    }
    void WriteRecord(UINT nID, std::vector<BYTE> bytes)
    {
        app.WriteProfileBinary(kSection, zyn::sizedock::BarSizeKey(nID), bytes.data(), static_cast<UINT>(bytes.size()));
    }
    static bool Floating(CControlBar* bar)
    {
        CFrameWnd* f = bar->GetDockingFrame();
        return bar->IsFloating() && f && f->IsKindOf(RUNTIME_CLASS(COXSizableMiniDockFrameWnd));
    }
    // Floating dock bars (floating frames) in the frame's bar list.
    int FloatingFrames() const
    {
        int n = 0;
        for (POSITION pos = sd->m_listControlBars.GetHeadPosition(); pos;) {
            auto* p = static_cast<CControlBar*>(sd->m_listControlBars.GetNext(pos));
            n += p->IsDockBar() && static_cast<CDockBar*>(p)->m_bFloating;
        }
        return n;
    }

    COXFrameWndSizeDock* sd = nullptr;
    std::vector<std::unique_ptr<CTestSizeBar>> bars;
};

// Seven int32, little-endian, written out by hand.
std::vector<BYTE> Record(std::initializer_list<int32_t> v)
{
    std::vector<BYTE> out;
    for (const int32_t x : v)
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<BYTE>(static_cast<uint32_t>(x) >> (8 * i)));
    return out;
}

TEST(SizeDockPacking, WindowsGoWhereTheSkylineIsShallowest)
{
    struct Case {
        const char* name;
        CSize client;
        std::vector<CSize> sizes;
        DWORD orient;
        std::vector<int> expected;   // x, y per window; -1, -1 for a window left alone
    };
    const Case cases[] = {
        {"two in 400x300, top left", {400, 300}, {{100, 50}, {100, 50}}, 0x7, {0, 0, 0, 50}},
        {"bottom right (no bits)", {400, 300}, {{100, 50}, {100, 50}}, 0x0, {300, 250, 300, 200}},
        {"0x1 alone is bottom right", {400, 300}, {{100, 50}, {100, 50}}, 0x1, {300, 250, 300, 200}},
        {"left, bottom", {400, 300}, {{100, 50}, {100, 50}}, 0x5, {0, 250, 0, 200}},
        {"right, top", {400, 300}, {{100, 50}, {100, 50}}, 0x3, {300, 0, 300, 50}},
        {"too tall stays, the next still goes", {400, 300}, {{100, 301}, {50, 50}}, 0x7, {-1, -1, 0, 0}},
        {"largest first", {400, 300}, {{50, 50}, {100, 100}}, 0x7, {0, 100, 0, 0}},
        {"a full column moves the next across", {400, 100}, {{100, 100}, {100, 100}, {100, 100}}, 0x7,
            {0, 0, 100, 0, 200, 0}},
        {"no room past the width", {150, 100}, {{100, 100}, {100, 100}, {100, 100}}, 0x7, {0, 0, 100, 0, -1, -1}},
        {"ties keep the earlier segment", {400, 100}, {{100, 60}, {80, 40}, {30, 40}}, 0x7, {0, 0, 0, 60, 80, 60}},
        {"client of height 0", {400, 0}, {{10, 10}}, 0x7, {-1, -1}},
    };
    for (const Case& c : cases) {
        const auto plan = ArrangeWindowsPlan(c.client, c.sizes, c.orient);
        ASSERT_EQ(plan.size(), c.sizes.size()) << c.name;
        for (size_t i = 0; i < plan.size(); ++i) {
            const CPoint want(c.expected[2 * i], c.expected[2 * i + 1]);
            EXPECT_EQ(plan[i].bMove, want.x >= 0) << c.name << ", window " << i;
            if (plan[i].bMove && want.x >= 0) {
                EXPECT_EQ(plan[i].pt, want) << c.name << ", window " << i;
            }
        }
    }
}

TEST(SizeDockRecord, SevenLittleEndianInt32AndTheRecordsARestoreRefuses)
{
    BarSizeRecord r{CSize(300, 200), CSize(528, 60), CSize(120, 1000), TRUE};
    BYTE out[BarSizeRecord::kBytes];
    r.Encode(out);
    const auto expected = Record({300, 200, 528, 60, 120, 1000, 1});
    EXPECT_EQ(std::memcmp(out, expected.data(), sizeof out), 0);
    const auto back = BarSizeRecord::Decode(expected.data(), 28);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->sizeHorzDock, CSize(528, 60));
    EXPECT_EQ(back->bMDIFloat, TRUE);

    struct Case {
        const char* name;
        std::vector<BYTE> bytes;
        bool ok;
    };
    auto longer = Record({1, 2, 3, 4, 5, 6, 0});
    longer.push_back(0);
    auto shorter = Record({1, 2, 3, 4, 5, 6, 0});
    shorter.pop_back();
    const Case cases[] = {
        {"28 bytes, zero sizes", Record({0, 0, 0, 0, 0, 0, 0}), true},
        {"largest size", Record({0x7FFF, 1, 1, 1, 1, 1, 0}), true},
        {"29 bytes", longer, false},
        {"27 bytes", shorter, false},
        {"empty", {}, false},
        {"negative width", Record({-1, 2, 3, 4, 5, 6, 0}), false},
        {"negative height", Record({1, 2, 3, 4, 5, -6, 0}), false},
        {"absurd size", Record({1, 2, 0x8000, 4, 5, 6, 0}), false},
        {"flag 2", Record({1, 2, 3, 4, 5, 6, 2}), false},
        {"flag -1", Record({1, 2, 3, 4, 5, 6, -1}), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BarSizeRecord::Decode(c.bytes.data(), static_cast<UINT>(c.bytes.size())).has_value(), c.ok) << c.name;
}

TEST_F(SizeDockFrameTest, SidesFloatingClassAndSnappingStartingOff)
{
    ASSERT_NE(MakeSD(), nullptr);
    const struct {
        UINT id;
        DWORD style;
    } sides[] = {{0xE81B, 0x2800}, {0xE81E, 0x8200}, {0xE81C, 0x1400}, {0xE81D, 0x4100}};
    for (const auto& s : sides) {
        CControlBar* dock = sd->GetControlBar(s.id);
        ASSERT_NE(dock, nullptr) << std::hex << s.id;
        EXPECT_TRUE(dock->IsKindOf(RUNTIME_CLASS(COXSizeDockBar))) << std::hex << s.id;
        EXPECT_EQ(dock->m_dwStyle & 0xFF00, s.style) << std::hex << s.id;
    }
    EXPECT_EQ(sd->m_pFloatingFrameClass, RUNTIME_CLASS(COXSizableMiniDockFrameWnd));
    EXPECT_EQ(sd->SendMessage(WM_OX_QUERYSNAPPING), 0);
    sd->EnableSnapping(TRUE);
    EXPECT_EQ(sd->SendMessage(WM_OX_QUERYSNAPPING), 1);
}

// B's floating frame (larger) goes to the client's top left, C's right under it.
TEST_F(SizeDockFrameTest, FloatingBarsPackAgainstTheTopLeftInScreenCoordinates)
{
    ASSERT_NE(MakeSD(), nullptr);
    CTestSizeBar* b = Bar(kA, CSize(150, 80));
    CTestSizeBar* c = Bar(kB, CSize(100, 50));
    sd->FloatControlBar(b, CPoint(600, 500));
    sd->FloatControlBar(c, CPoint(650, 560));
    Pump();
    CObArray arr;
    sd->GetFloatingBars(arr);
    ASSERT_EQ(arr.GetSize(), 2);
    const CRect bFrame = ScreenRect(*b->GetDockingFrame());
    sd->ArrangeFloatingBars(0x7);
    const CRect client = Client();
    EXPECT_EQ(ScreenRect(*b->GetDockingFrame()).TopLeft(), client.TopLeft());
    EXPECT_EQ(ScreenRect(*c->GetDockingFrame()).TopLeft(), CPoint(client.left, client.top + bFrame.Height()));
}

// A docked on the left and B floating, with sizes of their own, come back on a fresh frame
// whose bars start docked on top with other sizes.
TEST_F(SizeDockFrameTest, SavedLayoutRestoresPlacesAndSizesOnAFreshFrame)
{
    ASSERT_NE(MakeSD(), nullptr);
    CTestSizeBar* a = Bar(kA);
    CTestSizeBar* b = Bar(kB);
    sd->DockControlBar(a, kLeft);
    sd->FloatControlBar(b, CPoint(400, 420));
    sd->RecalcLayout();
    Pump();
    const CPoint bWhere = ScreenRect(*b->GetDockingFrame()).TopLeft();
    // Sizes of their own, set after the last layout (a layout would fit them to their places).
    a->m_sizeFloat = CSize(210, 110), a->m_sizeHorzDock = CSize(300, 60), a->m_sizeVertDock = CSize(120, 200);
    b->m_sizeFloat = CSize(180, 90), b->m_sizeHorzDock = CSize(250, 40), b->m_sizeVertDock = CSize(70, 160);
    sd->SaveSizeBarState(kSection);

    LPBYTE raw = nullptr;
    UINT n = 0;
    ASSERT_TRUE(app.GetProfileBinary(kSection, L"BarSize_12545", &raw, &n));
    const std::unique_ptr<BYTE[]> data(raw);
    const auto want = Record({210, 110, 300, 60, 120, 200, 0});
    ASSERT_EQ(n, 28u);
    EXPECT_EQ(std::memcmp(data.get(), want.data(), 28), 0);
    EXPECT_EQ(app.GetProfileInt(kSection, L"Version", 0), 2u);

    DestroySD();
    ASSERT_NE(MakeSD(), nullptr);
    a = Bar(kA);
    b = Bar(kB);
    ASSERT_TRUE(sd->LoadSizeBarState(kSection));
    Pump();
    ASSERT_NE(a->m_pDockBar, nullptr);
    EXPECT_EQ(a->m_pDockBar->GetDlgCtrlID(), static_cast<int>(kLeft));
    EXPECT_EQ(a->m_sizeVertDock.cx, 120) << "the column's width (its height is the side's)";
    EXPECT_EQ(a->m_sizeHorzDock, CSize(300, 60));
    EXPECT_EQ(a->m_sizeFloat, CSize(210, 110));
    ASSERT_TRUE(Floating(b));
    EXPECT_EQ(ScreenRect(*b->GetDockingFrame()).TopLeft(), bWhere);
    EXPECT_EQ(b->m_sizeFloat, CSize(180, 90));
    EXPECT_EQ(b->m_sizeVertDock, CSize(70, 160));
}

// What a reader must refuse leaves the layout as it is; sizes of good records still count.
TEST_F(SizeDockFrameTest, RefusedLayoutsKeepTheCurrentOne)
{
    // A saved layout with A on the left and B floating.
    ASSERT_NE(MakeSD(), nullptr);
    CTestSizeBar* a = Bar(kA);
    CTestSizeBar* b = Bar(kB);
    sd->DockControlBar(a, kLeft);
    sd->FloatControlBar(b, CPoint(400, 420));
    Pump();
    a->m_sizeFloat = CSize(120, 200);   // A docked: no layout touches its floating size
    sd->SaveSizeBarState(kSection);
    DestroySD();

    struct Case {
        const char* name;
        bool withB;            // the fresh frame has bar B
        int version;           // written over the saved one
        UINT recID;            // a record written over the saved one (0: none)
        std::vector<BYTE> rec;
        bool applied;          // the dock state is applied (A goes left)
        CSize aFloat;          // A's floating size afterwards
        const wchar_t* damagedVersion = nullptr;   // written as text instead of the version
    };
    const Case cases[] = {
        {"the saved layout", true, 2, 0, {}, true, {120, 200}},
        {"version 1", true, 1, 0, {}, false, {100, 50}},
        {"a 27-byte record", true, 2, kA, std::vector<BYTE>(27, 1), true, {100, 50}},
        {"a negative size", true, 2, kA, Record({1, 1, 1, 1, -5, 1, 0}), true, {100, 50}},
        {"a floating size taller than the screen", true, 2, kA, Record({100, 5000, 1, 1, 1, 1, 0}), true, {100, 50}},
        {"a state naming a missing bar", false, 2, 0, {}, false, {120, 200}},
        {"flag 1 on a plain frame", true, 2, kB, Record({90, 80, 3, 4, 5, 6, 1}), true, {120, 200}},
        {"a version that is no number", true, 2, 0, {}, false, {100, 50}, L"2\x7f"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(MakeSD(), nullptr);
        a = Bar(kA);
        b = c.withB ? Bar(kB) : nullptr;
        Pump();
        const CRect aBefore = ScreenRect(*a);
        app.WriteProfileInt(kSection, L"Version", c.version);
        if (c.damagedVersion)
            app.WriteProfileString(kSection, L"Version", c.damagedVersion);
        const zyn::test::ErrorLogMark mark;
        LPBYTE raw = nullptr;
        UINT n = 0;
        ASSERT_TRUE(app.GetProfileBinary(kSection, L"BarSize_12545", &raw, &n));
        const std::unique_ptr<BYTE[]> saved(raw);
        if (c.recID)
            WriteRecord(c.recID, c.rec);
        const UINT summaryBars = app.GetProfileInt(CString(kSection) + L"-Summary", L"Bars", 0);

        EXPECT_EQ(sd->LoadSizeBarState(kSection), c.applied);
        Pump();
        EXPECT_EQ(a->m_pDockBar->GetDlgCtrlID(), static_cast<int>(c.applied ? kLeft : kTop));
        EXPECT_EQ(a->m_sizeFloat, c.aFloat);
        if (!c.applied) {
            // A stays where it is; where the sizes were read (version 2) it takes its
            // record's size, which may differ from the width the row stretched it to.
            EXPECT_EQ(ScreenRect(*a).TopLeft(), aBefore.TopLeft());
            if (c.version != 2) {
                EXPECT_EQ(ScreenRect(*a), aBefore) << "nothing read, nothing changes";
            }
        }
        if (b) {   // on a plain frame flag 1 leaves it in its mini frame
            EXPECT_EQ(Floating(b), c.applied);
        }
        if (c.recID == kB) {
            EXPECT_EQ(b->m_sizeFloat, CSize(90, 80));
        }
        EXPECT_EQ(FloatingFrames(), c.applied ? 1 : 0) << "no floating frame is left behind";
        if (c.damagedVersion) {
            EXPECT_EQ(app.GetProfileString(kSection, L"Version"), CString(c.damagedVersion)) << "kept as it is";
            EXPECT_EQ(app.GetProfileInt(CString(kSection) + L"-Summary", L"Bars", 0), summaryBars);
            LPBYTE rec = nullptr;
            UINT nRec = 0;
            EXPECT_TRUE(app.GetProfileBinary(kSection, L"BarSize_12545", &rec, &nRec)) << "the sizes are kept";
            delete[] rec;
            EXPECT_NE(mark.NewText().find("Version"), std::string::npos) << mark.NewText();
        }
        if (c.version != 2) {
            EXPECT_EQ(app.GetProfileInt(kSection, L"Version", 7), 7u) << "the section is deleted";
            EXPECT_NE(summaryBars, 0u);
            EXPECT_EQ(app.GetProfileInt(CString(kSection) + L"-Summary", L"Bars", 0), summaryBars)
                << "nothing else changes";
        }
        DestroySD();
        // Back to the saved layout for the next row.
        app.WriteProfileInt(kSection, L"Version", 2);
        app.WriteProfileBinary(kSection, L"BarSize_12545", saved.get(), n);
    }
}

// A flat toolbar in a saved layout: a fresh frame puts it back on its side, flat still.
TEST_F(SizeDockFrameTest, AFlatToolbarComesBackFlat)
{
    constexpr UINT kToolBar = 0x3210;
    for (const bool saving : {true, false}) {
        SCOPED_TRACE(saving ? "saving frame" : "fresh frame");
        ASSERT_NE(MakeSD(), nullptr);
        Bar(kA);
        CMFCToolBar tb;   // its window goes with the frame, before the object
        ASSERT_TRUE(tb.CreateEx(sd, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 0, 0), kToolBar));
        tb.EnableDocking(CBRS_ALIGN_ANY);
        sd->DockControlBar(&tb, kTop);
        Pump();
        ASSERT_NE(tb.GetStyle() & TBSTYLE_FLAT, 0u);
        if (saving) {
            sd->DockControlBar(&tb, kLeft);
            Pump();
            sd->SaveSizeBarState(kSection);
        } else {
            EXPECT_TRUE(sd->LoadSizeBarState(kSection));
            Pump();
            ASSERT_NE(tb.m_pDockBar, nullptr);
            EXPECT_EQ(tb.m_pDockBar->GetDlgCtrlID(), static_cast<int>(kLeft));
            EXPECT_NE(tb.GetStyle() & TBSTYLE_FLAT, 0u) << "the toolbar lost its flat look";
        }
        DestroySD();
    }
}

} // namespace
} // namespace zyn::test
