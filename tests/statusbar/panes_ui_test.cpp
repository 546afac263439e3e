// The toolkit's status bar: pane layout through its own SetPaneInfo, the pane index
// checks, colours and fonts per pane (owner-drawn or not, and what shows), disabled panes,
// churning the panes with the live window and GDI object counters flat, double clicks,
// cursors and tooltips. The control's borders are {0, 2, 2}: parts 2 pixels apart, 2
// pixels from the top and bottom; a pane is its width + 6 wide.
#include "platform/afx/afxres.h"
#include "platform/base/clock.h"
#include "platform/base/exception.h"
#include "platform/comctl/tooltip.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/user/driver.h"
#include "platform/user/input.h"
#include "platform/user/vkeys.h"
#include "platform/user/winpos.h"
#include "platform/gdi/wingdi.h"
#include "tests/statusbar/statusbar_test_ids.h"
#include "tests/statusbar/statusbar_test_support.h"

namespace sbtest {
namespace {

using PanesTest = StatusBarUiTest;

// Runs f and says whether it raised CInvalidArgException (freed here).
template <class F>
bool RaisesInvalidArg(F f)
{
    try {
        f();
    } catch (CException* e) {
        const bool invalidArg = e->IsKindOf(RUNTIME_CLASS(CInvalidArgException));
        e->Delete();
        return invalidArg;
    }
    return false;
}

TEST_F(PanesTest, TwoStretchyPanesShareTheSpareRoomInTurn)
{
    ASSERT_TRUE(MakeBar({ID_SEPARATOR, ID_SEPARATOR}));
    // The panes end where the size grip begins.
    const int inner = Client().Width() - GetSystemMetrics(SM_CXVSCROLL);
    // 7 pixels to spare: inner + 2 - (100 + 6 + 2) - (w1 + 6 + 2) = 7.
    const int w1 = inner + 2 - 108 - 8 - 7;
    bar->SetPaneInfo(0, ID_SEPARATOR, SBPS_STRETCH, 100);
    bar->SetPaneInfo(1, ID_SEPARATOR, SBPS_STRETCH, w1);
    // The first takes 7 / 2 = 3, the second the 4 left.
    EXPECT_EQ(Part(0).right, 100 + 6 + 3);
    EXPECT_EQ(Part(1).left, 100 + 6 + 3 + 2);
    EXPECT_EQ(Part(1).right, 100 + 6 + 3 + 2 + w1 + 6 + 4);
    EXPECT_EQ(Part(1).right, inner);
    // The stretch bit off through this bar's SetPaneStyle lays the panes out again.
    bar->SetPaneStyle(0, SBPS_NORMAL);
    EXPECT_EQ(Part(0).right, 106);
    EXPECT_EQ(Part(1).right, inner);
}

TEST_F(PanesTest, EveryPaneOperationChecksTheIndex)
{
    ASSERT_TRUE(MakeBar({ID_SEPARATOR, ID_INDICATOR_CAPS}));
    UINT id = 0, style = 0;
    int width = 0;
    bar->GetPaneInfo(1, id, style, width);
    const CString text = bar->GetPaneText(1);
    struct Row {
        const char* name;
        std::function<void()> call;
    } rows[] = {
        {"SetPaneStyle -1", [&] { bar->SetPaneStyle(-1, SBPS_DISABLED); }},
        {"SetPaneStyle past the end", [&] { bar->SetPaneStyle(2, SBPS_DISABLED); }},
        {"SetPaneInfo past the end", [&] { bar->SetPaneInfo(2, 5, SBPS_STRETCH, 10); }},
        {"SetPaneInfo -1", [&] { bar->SetPaneInfo(-1, 5, SBPS_STRETCH, 10); }},
        {"SetPaneText with a colour", [&] { bar->SetPaneText(2, L"x", RGB(255, 0, 0)); }},
        {"SetPaneFont", [&] { bar->SetPaneFont(7, nullptr); }},
        {"SetPaneCursor", [&] { bar->SetPaneCursor(2, 0); }},
        {"SetPaneBitmap", [&] { bar->SetPaneBitmap(2, 0); }},
        {"SetPaneTip", [&] { bar->SetPaneTip(2, L"tip"); }},
        {"SetUpBar", [&] { bar->SetUpBar(2); }},
        {"SetBarProgress", [&] { bar->SetBarProgress(-5, 0, 100, 50); }},
        {"ResetBar", [&] { bar->ResetBar(2, TRUE); }},
        {"GetPaneTextColor", [&] { bar->GetPaneTextColor(2); }},
    };
    for (const Row& row : rows)
        EXPECT_TRUE(RaisesInvalidArg(row.call)) << row.name;
    // Nothing changed.
    UINT id2 = 0, style2 = 0;
    int width2 = 0;
    bar->GetPaneInfo(1, id2, style2, width2);
    EXPECT_EQ(id2, id);
    EXPECT_EQ(style2, style);
    EXPECT_EQ(width2, width);
    EXPECT_EQ(bar->GetPaneText(1), text);
    EXPECT_EQ(bar->GetCount(), 2);
    // A count the base refuses leaves the panes and what they carry.
    ASSERT_TRUE(bar->SetPaneTip(1, L"kept"));
    const UINT tooMany[300] = {};
    EXPECT_FALSE(bar->SetIndicators(tooMany, 300));
    EXPECT_EQ(bar->GetCount(), 2);
    EXPECT_EQ(bar->GetPaneTip(1), CString(L"kept"));
}

TEST_F(PanesTest, ColoursAndFontsMakeAPaneOwnerDrawnAndBackOnly)
{
    ASSERT_TRUE(MakeBar({ID_SEPARATOR, ID_PANE_TIME}));
    UINT type = 0;
    EXPECT_EQ(Shown(1, &type), L"12:00");
    EXPECT_EQ(type & SBT_OWNERDRAW, 0u);
    EXPECT_EQ(bar->GetPaneTextColor(1), kBlack) << "BTNTEXT at first";

    // BTNTEXT on a pane without its own font: the control draws it.
    ASSERT_TRUE(bar->SetPaneText(1, L"13:00", kBlack));
    EXPECT_EQ(Shown(1, &type), L"13:00");
    EXPECT_EQ(type & SBT_OWNERDRAW, 0u);
    // Another colour: owner-drawn (the control keeps no text), back with BTNTEXT.
    ASSERT_TRUE(bar->SetPaneText(1, L"14:00", RGB(0, 0, 255)));
    EXPECT_TRUE(bar->GetPaneStyle(1) & SBT_OWNERDRAW);
    EXPECT_EQ(Shown(1, &type), L"");
    EXPECT_TRUE(type & SBT_OWNERDRAW);
    EXPECT_EQ(bar->GetPaneTextColor(1), RGB(0, 0, 255));
    ASSERT_TRUE(bar->SetPaneText(1, L"15:00", kBlack));
    EXPECT_EQ(bar->GetPaneStyle(1) & SBT_OWNERDRAW, 0u);
    EXPECT_EQ(Shown(1), L"15:00");
    // The base's three-argument form keeps the colour (FALSE is not black).
    ASSERT_TRUE(bar->SetPaneText(1, L"16:00", RGB(0, 0, 255)));
    ASSERT_TRUE(bar->SetPaneText(1, L"17:00", FALSE));
    EXPECT_EQ(bar->GetPaneTextColor(1), RGB(0, 0, 255));
    ASSERT_TRUE(bar->SetPaneText(1, L"18:00", kBlack));

    // A font: owner-drawn, a copy of its own; null with BTNTEXT: the control's again.
    CFont big;
    ASSERT_TRUE(big.CreateFont(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, L"MS Sans Serif"));
    ASSERT_TRUE(bar->SetPaneFont(1, &big));
    ASSERT_NE(bar->GetPaneFont(1), nullptr);
    EXPECT_NE(bar->GetPaneFont(1)->GetSafeHandle(), big.GetSafeHandle()) << "a copy";
    LOGFONT lf{};
    bar->GetPaneFont(1)->GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -20);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(bar->GetPaneStyle(1) & SBT_OWNERDRAW);
    ASSERT_TRUE(bar->SetPaneFont(1, nullptr));
    EXPECT_EQ(bar->GetPaneFont(1), nullptr);
    EXPECT_EQ(bar->GetPaneStyle(1) & SBT_OWNERDRAW, 0u);
    // Without its font a coloured pane stays owner-drawn.
    ASSERT_TRUE(bar->SetPaneFont(1, &big));
    ASSERT_TRUE(bar->SetPaneText(1, L"19:00", RGB(0, 0, 255)));
    ASSERT_TRUE(bar->SetPaneFont(1, nullptr));
    EXPECT_TRUE(bar->GetPaneStyle(1) & SBT_OWNERDRAW);
    // A font object without a font: FALSE and no font.
    CFont empty;
    EXPECT_FALSE(bar->SetPaneFont(1, &empty));
    EXPECT_EQ(bar->GetPaneFont(1), nullptr);
}

TEST_F(PanesTest, OwnerDrawnPanesShowTheirColourAndFontUnderEverySkin)
{
    ASSERT_TRUE(MakeBar({ID_SEPARATOR, ID_PANE_TIME}));
    bar->SetPaneInfo(1, ID_PANE_TIME, SBPS_NORMAL, 120);
    const COLORREF red = RGB(255, 0, 0);
    const auto reddish = [](COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) < 100 && GetBValue(c) < 100; };
    CFont wide;
    ASSERT_TRUE(wide.CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, L"DejaVu Sans Mono"));
    const int barTextWidth = TextExtent(L"12:00").cx;
    const int wideTextWidth = TextExtent(L"12:00", static_cast<HFONT>(wide.GetSafeHandle())).cx;
    ASSERT_NE(barTextWidth, wideTextWidth) << "the two fonts must differ in width";
    for (const wchar_t* skin : {L"Classic", L"Office XP", L"Office 2003"}) {
        SCOPED_TRACE(::testing::Message() << CString(skin).GetString());
        UseSkin(skin);
        ASSERT_TRUE(bar->SetPaneFont(1, nullptr));
        ASSERT_TRUE(bar->SetPaneText(1, L"12:00", red));
        Repaint();
        // The text starts 2 pixels into what the pane is drawn in: inside the control's
        // 1-pixel frame under Classic, the whole part under XP and 2003.
        const CRect part = Part(1);
        const int textLeft = part.left + (std::wstring(skin) == L"Classic" ? 1 : 0) + 2;
        CRect ink = InkBox(part, reddish);
        ASSERT_FALSE(ink.IsRectEmpty()) << "the text in its colour";
        EXPECT_GE(ink.left, textLeft);
        EXPECT_LE(ink.right, textLeft + barTextWidth);
        EXPECT_GT(ink.right, textLeft + barTextWidth / 2);
        // The pane's own font.
        ASSERT_TRUE(bar->SetPaneFont(1, &wide));
        Repaint();
        ink = InkBox(part, reddish);
        ASSERT_FALSE(ink.IsRectEmpty());
        EXPECT_GE(ink.left, textLeft);
        EXPECT_LE(ink.right, textLeft + wideTextWidth);
        EXPECT_GT(ink.right, textLeft + std::min(barTextWidth, wideTextWidth));
    }
}

TEST_F(PanesTest, DisabledPanesAreNotDrawnWhateverTheirOtherStyleBits)
{
    ASSERT_TRUE(MakeBar({ID_SEPARATOR, ID_PANE_TIME, ID_PANE_TIME}));
    const auto reddish = [](COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) < 100 && GetBValue(c) < 100; };
    for (const wchar_t* skin : {L"Classic", L"Office XP", L"Office 2003"}) {
        SCOPED_TRACE(::testing::Message() << CString(skin).GetString());
        UseSkin(skin);
        ASSERT_TRUE(bar->SetPaneText(1, L"12:00", RGB(255, 0, 0)));
        ASSERT_TRUE(bar->SetPaneText(2, L"12:00", RGB(255, 0, 0)));
        bar->SetPaneStyle(1, SBPS_OWNERDRAW);
        bar->SetPaneStyle(2, SBPS_OWNERDRAW);
        Repaint();
        ASSERT_FALSE(InkBox(Part(1), reddish).IsRectEmpty()) << "enabled: drawn";
        // Disabled with other bits (owner-drawn, pop-out) and disabled alone.
        bar->SetPaneStyle(1, SBPS_OWNERDRAW | SBPS_POPOUT | SBPS_DISABLED);
        bar->SetPaneStyle(2, SBPS_DISABLED);
        Repaint();
        EXPECT_TRUE(InkBox(Part(1), reddish).IsRectEmpty()) << "disabled, owner-drawn";
        EXPECT_TRUE(InkBox(Part(2), reddish).IsRectEmpty()) << "disabled alone";
        EXPECT_EQ(bar->GetPaneText(1), CString(L"12:00")) << "the text is kept";
        bar->SetPaneStyle(1, SBPS_OWNERDRAW);
        bar->SetPaneStyle(2, SBPS_OWNERDRAW);
    }
}

TEST_F(PanesTest, ChurningPanesLeavesNoWindowOrGdiObject)
{
    ASSERT_TRUE(MakeBar({ID_SEPARATOR, ID_PANE_TIME, ID_INDICATOR_CAPS}));
    const std::vector<UINT> ids{ID_SEPARATOR, ID_SEPARATOR, ID_PANE_TIME, ID_SEPARATOR, ID_INDICATOR_NUM};
    ASSERT_TRUE(bar->SetIndicators(ids.data(), 5));
    Repaint();
    const size_t windows = zyn::user::LiveWindowCount();
    const size_t objects = zyn::gdi::LiveObjectCount();
    CFont font;
    ASSERT_TRUE(font.CreateFont(-14, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, L"MS Sans Serif"));
    const size_t withFont = objects + 1;
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(bar->SetIndicators(ids.data(), 5));
        bar->SetPaneInfo(0, ID_SEPARATOR, SBPS_STRETCH | SBPS_NOBORDERS, 20);
        bar->SetPaneInfo(1, ID_SEPARATOR, SBPS_NORMAL | OXSBPS_PROGRESS, 80);
        bar->SetPaneInfo(3, ID_SEPARATOR, SBPS_NORMAL, 60);
        ASSERT_TRUE(bar->SetPaneBitmap(0, IDB_CORNER));
        ASSERT_TRUE(bar->SetPaneBitmap(0, IDB_COLUMNS)) << "a second bitmap replaces the first";
        ASSERT_TRUE(bar->SetPaneBitmap(2, IDB_CORNER, COXStatusBar::Centre));
        ASSERT_TRUE(bar->SetPaneFont(2, &font));
        ASSERT_TRUE(bar->SetPaneFont(2, &font));
        ASSERT_TRUE(bar->SetPaneFont(4, &font));
        ASSERT_TRUE(bar->SetPaneCursor(4, IDC_PANE_ARROW));
        ASSERT_TRUE(bar->SetUpBar(1));
        ASSERT_TRUE(bar->SetUpBar(1)) << "a second indicator replaces the first";
        ASSERT_TRUE(bar->SetUpBar(3, 0, FALSE));
        bar->SetBarProgress(1, 0, 100, 40);
        // Each progress pane holds one control; the bitmaps and fonts held are 2 and 2.
        EXPECT_EQ(zyn::user::LiveWindowCount(), windows + 2);
        EXPECT_EQ(zyn::gdi::LiveObjectCount(), withFont + 4);
        if (round % 3 == 0)
            Repaint();
    }
    // New panes: what the old ones held is gone.
    ASSERT_TRUE(bar->SetIndicators(ids.data(), 5));
    Repaint();
    EXPECT_EQ(zyn::user::LiveWindowCount(), windows);
    EXPECT_EQ(zyn::gdi::LiveObjectCount(), withFont);
    // And with the bar.
    ASSERT_TRUE(bar->SetPaneBitmap(0, IDB_CORNER));
    ASSERT_TRUE(bar->SetPaneFont(2, &font));
    ASSERT_TRUE(bar->SetUpBar(1));
    bar->ResetBar(1, TRUE);
    EXPECT_EQ(zyn::user::LiveWindowCount(), windows) << "ResetBar(remove) destroys the control";
    EXPECT_EQ(bar->GetPaneProgress(1), nullptr);
    ASSERT_TRUE(bar->SetUpBar(1));
    // A bar made again after its window went: it works, and holds one memory DC still.
    const size_t dcs = zyn::gdi::LiveDcCount();
    bar->DestroyWindow();
    ASSERT_TRUE(bar->Create(frame));
    ASSERT_TRUE(bar->SetIndicators(ids.data(), 5));
    bar->SetPaneInfo(0, ID_SEPARATOR, SBPS_STRETCH | SBPS_NOBORDERS, 20);
    Repaint();
    ASSERT_TRUE(bar->SetUpBar(1));
    EXPECT_EQ(zyn::gdi::LiveDcCount(), dcs);
    bar.reset();
    EXPECT_EQ(zyn::gdi::LiveObjectCount() + 1, withFont) << "the bar's status font went with it, and all the rest";
}

TEST_F(PanesTest, PaneBitmapsFollowTheirOrientationAndTransparentColour)
{
    ASSERT_TRUE(MakeBar({ID_SEPARATOR, ID_SEPARATOR, ID_SEPARATOR}));
    UseSkin(L"Classic");
    bar->SetPaneInfo(0, ID_SEPARATOR, SBPS_NORMAL, 60);
    bar->SetPaneInfo(1, ID_SEPARATOR, SBPS_NORMAL, 60);
    bar->SetPaneInfo(2, ID_SEPARATOR, SBPS_NORMAL, 4);
    const auto inside = [&](int index) {
        // The part, less 2 pixels each side and 1 above and below (borders {0, 2, 2}).
        CRect p = Part(index);
        return CRect(p.left + 2, p.top + 1, p.right - 2, p.bottom - 1);
    };
    struct Row {
        const char* name;
        COXStatusBar::EOrientation orientation;
        int shift; // of the left edge in the 60 + 6 - 4 = 62 wide inside: spare 54
    } rows[] = {
        {"left", COXStatusBar::Left, 0},
        {"centre", COXStatusBar::Centre, 27},
        {"right", COXStatusBar::Right, 54},
        {"left cropped", COXStatusBar::LeftCropped, 0},
        {"right cropped", COXStatusBar::RightCropped, 54},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(bar->SetPaneBitmap(0, IDB_CORNER, row.orientation));
        Repaint();
        const CRect in = inside(0);
        ASSERT_EQ(in.Width(), 62);
        const int x0 = in.left + row.shift, y0 = in.top + (in.Height() - 6) / 2;
        for (int y = in.top; y < in.bottom; ++y) {
            for (int x = in.left; x < in.right; ++x) {
                const bool inBitmap = x >= x0 && x < x0 + 8 && y >= y0 && y < y0 + 6;
                const bool transparent = inBitmap && x < x0 + 2 && y < y0 + 2;
                const COLORREF want = inBitmap && !transparent ? kCornerRed : kFace;
                ASSERT_EQ(Pixel(x, y), want) << "(" << x - in.left << ", " << y - in.top << ")";
            }
        }
    }
    // Stretched over the whole inside: the transparent corner grows with it.
    ASSERT_TRUE(bar->SetPaneBitmap(0, IDB_CORNER, COXStatusBar::Stretch));
    Repaint();
    const CRect in = inside(0);
    EXPECT_EQ(Pixel(in.left, in.top), kFace);
    EXPECT_EQ(Pixel(in.left + 62 / 4 - 1, in.top), kFace) << "two of eight columns are transparent";
    EXPECT_EQ(Pixel(in.right - 1, in.bottom - 1), kCornerRed);
    EXPECT_EQ(Pixel(in.left + 62 / 4 + 1, in.top), kCornerRed);

    // Too narrow a pane (inside 4 + 6 - 4 = 6 wide): cropped shows the first six columns,
    // shrunk shows some of the last two.
    ASSERT_TRUE(bar->SetPaneBitmap(2, IDB_COLUMNS, COXStatusBar::LeftCropped));
    Repaint();
    const CRect narrow = inside(2);
    ASSERT_EQ(narrow.Width(), 6);
    const int row = narrow.top + (narrow.Height() - 4) / 2;
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(Pixel(narrow.left + x, row), kColumns[x]) << "cropped column " << x;
    ASSERT_TRUE(bar->SetPaneBitmap(2, IDB_COLUMNS, COXStatusBar::Left));
    Repaint();
    bool lastColumns = false;
    for (int x = 0; x < 6; ++x)
        lastColumns |= Pixel(narrow.left + x, row) == kColumns[6] || Pixel(narrow.left + x, row) == kColumns[7];
    EXPECT_TRUE(lastColumns) << "shrunk, not cropped";
    EXPECT_EQ(Pixel(narrow.left, row), kColumns[0]);

    // A disabled pane shows no bitmap; a bitmap that cannot be loaded leaves none.
    bar->SetPaneStyle(1, SBPS_DISABLED);
    ASSERT_TRUE(bar->SetPaneBitmap(1, IDB_CORNER, COXStatusBar::Right));
    Repaint();
    EXPECT_TRUE(InkBox(inside(1), [](COLORREF c) { return c == kCornerRed; }).IsRectEmpty());
    EXPECT_FALSE(bar->SetPaneBitmap(1, IDB_MISSING));
    EXPECT_EQ(bar->GetPaneBitmapInfo(1), nullptr);
    // A bad orientation changes nothing.
    ASSERT_NE(bar->GetPaneBitmapInfo(0), nullptr);
    EXPECT_FALSE(bar->SetPaneBitmap(0, IDB_COLUMNS, static_cast<COXStatusBar::EOrientation>(8)));
    EXPECT_EQ(bar->GetPaneBitmapInfo(0)->m_nBitmapID, static_cast<UINT>(IDB_CORNER));
    // The recorded information, and removal.
    const COXStatusBar::CBmpInfo* info = bar->GetPaneBitmapInfo(0);
    EXPECT_EQ(info->m_nWidth, 8);
    EXPECT_EQ(info->m_nHeight, 6);
    EXPECT_EQ(info->m_clrTransparent, RGB(255, 0, 255));
    EXPECT_TRUE(bar->SetPaneBitmap(0, 0));
    EXPECT_EQ(bar->GetPaneBitmapInfo(0), nullptr);
    EXPECT_TRUE(bar->SetPaneBitmap(0, 0)) << "none to remove";
}

TEST_F(PanesTest, DoubleClicksCursorsAndTips)
{
    ASSERT_TRUE(MakeBar({ID_SEPARATOR, ID_PANE_TIME, ID_INDICATOR_CAPS}));
    bar->SetPaneInfo(0, ID_SEPARATOR, SBPS_NORMAL, 100);
    Repaint();
    const auto screen = [&](int x, int y) {
        POINT p{x, y};
        ::ClientToScreen(bar->m_hWnd, &p);
        return p;
    };
    const auto doubleClick = [&](POINT p) {
        zyn::user::InjectMouseMove(p.x, p.y);
        for (int i = 0; i < 2; ++i) {
            zyn::user::InjectMouseButton(zyn::user::MouseButton::Left, true);
            zyn::user::InjectMouseButton(zyn::user::MouseButton::Left, false);
        }
        Pump();
    };
    const int y = Client().Height() / 2;
    // Pane 1 (12:00), pane 0 (ID 0), then the 2-pixel gap between panes 0 and 1.
    doubleClick(screen(Part(1).left + 3, y));
    zyn::base::Clock::Advance(1000);
    doubleClick(screen(Part(0).left + 3, y));
    zyn::base::Clock::Advance(1000);
    doubleClick(screen(Part(0).right, y));
    EXPECT_EQ(frame->doubleClicks, (std::vector<UINT>{ID_PANE_TIME, ID_SEPARATOR}));

    // The pane's cursor over it, the class's arrow elsewhere.
    EXPECT_FALSE(bar->SetPaneCursor(1, IDC_MISSING));
    EXPECT_EQ(bar->GetPaneCursor(1), nullptr);
    ASSERT_TRUE(bar->SetPaneCursor(1, IDC_PANE_ARROW));
    const HCURSOR paneCursor = bar->GetPaneCursor(1);
    ASSERT_NE(paneCursor, nullptr);
    EXPECT_FALSE(bar->SetPaneCursor(1, IDC_MISSING));
    EXPECT_EQ(bar->GetPaneCursor(1), paneCursor) << "a cursor that cannot be loaded changes nothing";
    const POINT over = screen(Part(1).left + 3, y);
    zyn::user::InjectMouseMove(over.x, over.y);
    Pump();
    EXPECT_EQ(GetCursor(), paneCursor);
    const POINT beside = screen(Part(2).left + 3, y);
    zyn::user::InjectMouseMove(beside.x, beside.y);
    Pump();
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
    ASSERT_TRUE(bar->SetPaneCursor(1, 0));
    zyn::user::InjectMouseMove(over.x, over.y);
    Pump();
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));

    // Tools: a pane (its ID, the part, its tip), a progress control (its pane's tip, the
    // pane index + the pane count), nothing between panes or while the button is down.
    ASSERT_TRUE(bar->SetPaneTip(1, L"the time"));
    TOOLINFO ti{};
    ti.cbSize = sizeof ti;
    EXPECT_EQ(bar->OnToolHitTest(CPoint(Part(1).left + 3, y), &ti), static_cast<int>(ID_PANE_TIME));
    EXPECT_EQ(ti.hwnd, bar->m_hWnd);
    EXPECT_EQ(CRect(ti.rect), Part(1));
    EXPECT_EQ(std::wstring(ti.lpszText), L"the time");
    EXPECT_EQ(bar->OnToolHitTest(CPoint(Part(0).right, y), nullptr), -1);
    ASSERT_TRUE(bar->DeletePaneTip(1));
    ti = TOOLINFO{};
    bar->OnToolHitTest(CPoint(Part(1).left + 3, y), &ti);
    EXPECT_EQ(std::wstring(ti.lpszText), L"");
    bar->SetPaneStyle(0, OXSBPS_PROGRESS);
    ASSERT_TRUE(bar->SetUpBar(0, 0, FALSE));
    ASSERT_TRUE(bar->SetPaneTip(0, L"working"));
    ti = TOOLINFO{};
    ti.uFlags = TTF_CENTERTIP;
    EXPECT_EQ(bar->OnToolHitTest(CPoint(Part(0).left + 10, y), &ti), 0 + 3);
    EXPECT_EQ(std::wstring(ti.lpszText), L"working");
    EXPECT_EQ(ti.uFlags & TTF_CENTERTIP, 0u);
    EXPECT_TRUE(ti.uFlags & TTF_IDISHWND);
    const POINT press = screen(Part(2).left + 3, y);
    zyn::user::InjectMouseMove(press.x, press.y);
    zyn::user::InjectMouseButton(zyn::user::MouseButton::Left, true);
    Pump();
    EXPECT_EQ(bar->OnToolHitTest(CPoint(Part(1).left + 3, y), nullptr), -1) << "the button is down";
    zyn::user::InjectMouseButton(zyn::user::MouseButton::Left, false);
    Pump();
    EXPECT_TRUE(bar->ActivatePaneTips(TRUE));
    EXPECT_TRUE(bar->ActivatePaneTips(FALSE));
}

} // namespace
} // namespace sbtest
