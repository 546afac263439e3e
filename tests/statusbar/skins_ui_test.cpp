// The status-bar skins pixel by pixel where the geometry is exact: the XP gripper's
// diagonal lines and the 2003 gripper's dots in the 20 by 20 square of a bar 21 pixels
// high, no gripper in a frame without a sizing border or maximised, the XP pane frames,
// the 2003 gradient background (by hand, no visual style) and separators, the last pane
// drawn its width + 6 wide, and the lock indicators greyed while off. Then one golden
// picture per skin of a bar with the message line, a progress pane at 40 % and the lock
// indicators, its texts compared by extent only.
#include "platform/afx/afxres.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/vkeys.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
#include "tests/statusbar/statusbar_test_ids.h"
#include "tests/statusbar/statusbar_test_support.h"
#include "tests/support/golden.h"

namespace sbtest {
namespace {

// XP colours from the scheme: the pane frames (BTNFACE + (17, 12, 16)), the separators
// (BTNSHADOW + 38), the gripper (BTNSHADOW + 32).
constexpr COLORREF kPaneFrame = RGB(229, 220, 216);
constexpr COLORREF kSeparator = RGB(166, 166, 166);
constexpr COLORREF kGripper = RGB(160, 160, 160);

// The 2003 background without a visual style, row by row from the top and from the bottom:
// top BTNSHADOW (128, 128, 128), middle Blend(WINDOW .5, BTNFACE .5) = (233, 231, 227),
// bottom Blend(WINDOW .2, BTNFACE .8) = (220, 217, 211); row i of the top three is
// top + (middle - top) * i / 3, row i of the bottom five middle + (bottom - middle) * i / 5.
constexpr COLORREF kTopRows[3] = {RGB(128, 128, 128), RGB(163, 162, 161), RGB(198, 196, 194)};
constexpr COLORREF kMiddle = RGB(233, 231, 227);
constexpr COLORREF kBottomRows[5] = {RGB(233, 231, 227), RGB(231, 229, 224), RGB(228, 226, 221),
    RGB(226, 223, 218), RGB(223, 220, 215)};

COLORREF BackgroundRow2003(int y, int height)
{
    if (y < 3)
        return kTopRows[y];
    if (y >= height - 5)
        return kBottomRows[y - (height - 5)];
    return kMiddle;
}

class SkinPixelsTest : public StatusBarUiTest {
protected:
    // A bar of three panes without text, 21 pixels high inside: the message pane 40 wide
    // and stretchy, then 60 and 50.
    void MakeOddBar(DWORD frameStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE)
    {
        ASSERT_TRUE(MakeBar({ID_SEPARATOR, ID_SEPARATOR, ID_SEPARATOR}, frameStyle));
        bar->SetPaneInfo(0, ID_SEPARATOR, SBPS_STRETCH | SBPS_NOBORDERS, 40);
        bar->SetPaneInfo(1, ID_SEPARATOR, SBPS_NORMAL, 60);
        bar->SetPaneInfo(2, ID_SEPARATOR, SBPS_NORMAL, 50);
        bar->SendMessage(SB_SETMINHEIGHT, 17); // 17 + 4 = 21
        Repaint();
        ASSERT_EQ(Client().Height(), 21);
    }
    // Whether a gripper line shows in the bottom-right 20 by 20 square.
    bool AnyGripperLine() const
    {
        const CRect c = Client();
        return !InkBox(CRect(c.right - 20, c.bottom - 20, c.right, c.bottom), [](COLORREF p) {
                    return p == kWhite || p == kShadow || p == kGripper;
                }).IsRectEmpty();
    }
};

TEST_F(SkinPixelsTest, XpGripperLinesInTheSquareOfAnOddHighBar)
{
    MakeOddBar();
    UseSkin(L"Office XP");
    const CRect c = Client();
    // u, v: columns and rows from the square's right and bottom edges (1 = the last).
    // Shadow lines run where u + v is 4, 8, 12, 16, white ones where it is 5, 9, 13, 17.
    for (int v = 1; v <= 20; ++v) {
        for (int u = 1; u <= 20; ++u) {
            const int d = u + v;
            COLORREF want = kFace;
            if (d <= 16 && d % 4 == 0)
                want = kShadow;
            else if (d <= 17 && d % 4 == 1)
                want = kWhite;
            ASSERT_EQ(Pixel(c.right - u, c.bottom - v), want) << "u " << u << ", v " << v;
        }
    }
    // The 21st row above the square is not the gripper's.
    for (int u = 1; u <= 20; ++u)
        EXPECT_NE(Pixel(c.right - u, 0), kWhite) << "u " << u;
}

TEST_F(SkinPixelsTest, Skin2003GripperDotsOnTheGradient)
{
    MakeApp(false); // the gradients by hand
    MakeOddBar();
    UseSkin(L"Office 2003");
    const CRect c = Client();
    const CRect square(c.right - 20, 1, c.right, 21);
    // Six dots: a 2 x 2 square of WINDOW at (left + 4i + 7, top + 4j + 7) for i + j >= 2,
    // the gripper colour over the same square moved one pixel up and left.
    std::map<std::pair<int, int>, COLORREF> dots;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            if (i + j < 2)
                continue;
            const int x = square.left + 4 * i + 7, y = square.top + 4 * j + 7;
            for (int k = 0; k < 4; ++k)
                dots[{x + k % 2, y + k / 2}] = kWhite;
            for (int k = 0; k < 4; ++k)
                dots[{x - 1 + k % 2, y - 1 + k / 2}] = kGripper;
        }
    EXPECT_EQ(dots.size(), 6u * 7u);
    for (int y = square.top; y < square.bottom; ++y) {
        for (int x = square.left + 3; x < square.right; ++x) {
            const auto dot = dots.find({x, y});
            const COLORREF want = dot != dots.end() ? dot->second : BackgroundRow2003(y, c.Height());
            ASSERT_EQ(Pixel(x, y), want) << "(" << x - square.left << ", " << y - square.top << ")";
        }
    }
}

TEST_F(SkinPixelsTest, NoGripperWithoutASizingBorderOrWhenMaximised)
{
    struct Row {
        const char* name;
        DWORD frameStyle;
        bool maximise;
        bool gripper;
    } rows[] = {
        {"sizing border", WS_OVERLAPPEDWINDOW | WS_VISIBLE, false, true},
        {"no sizing border", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, false, false},
        {"maximised", WS_OVERLAPPEDWINDOW | WS_VISIBLE, true, false},
    };
    for (const Row& row : rows) {
        for (const wchar_t* skin : {L"Office XP", L"Office 2003"}) {
            SCOPED_TRACE(::testing::Message() << row.name << ", " << CString(skin).GetString());
            MakeOddBar(row.frameStyle);
            if (row.maximise)
                frame->ShowWindow(SW_MAXIMIZE);
            UseSkin(skin);
            EXPECT_EQ(AnyGripperLine(), row.gripper);
            bar.reset();
            frame->DestroyWindow();
            frame = nullptr;
            Pump();
        }
    }
}

TEST_F(SkinPixelsTest, XpFramesEveryPaneTheLastItsWidthPlusSixWide)
{
    // No sizing border: no grip, so the stretchy last pane's part reaches the bar's end.
    ASSERT_TRUE(MakeBar({ID_SEPARATOR, ID_SEPARATOR}, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE));
    bar->SetPaneInfo(0, ID_SEPARATOR, SBPS_NOBORDERS, 60);
    bar->SetPaneInfo(1, ID_SEPARATOR, SBPS_STRETCH, 50);
    UseSkin(L"Office XP");
    const CRect first = Part(0);
    const CRect last(Part(1).left, Part(1).top, Part(1).left + 56, Part(1).bottom);
    ASSERT_GT(Part(1).right, last.right) << "the last part stretches beyond its width";
    for (const CRect& r : {first, last}) {
        for (int x = r.left; x < r.right; ++x) {
            EXPECT_EQ(Pixel(x, r.top), kPaneFrame) << "top, x " << x;
            EXPECT_EQ(Pixel(x, r.bottom - 1), kPaneFrame) << "bottom, x " << x;
        }
        for (int y = r.top; y < r.bottom; ++y) {
            EXPECT_EQ(Pixel(r.left, y), kPaneFrame) << "left, y " << y;
            EXPECT_EQ(Pixel(r.right - 1, y), kPaneFrame) << "right, y " << y;
        }
    }
    EXPECT_EQ(Pixel(last.right, last.top), kFace) << "nothing past the width + 6";
    EXPECT_EQ(Pixel(Part(1).right - 1, last.top), kFace);
}

TEST_F(SkinPixelsTest, Skin2003GradientAndSeparators)
{
    MakeApp(false);
    ASSERT_TRUE(MakeBar({ID_SEPARATOR, ID_SEPARATOR}, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE));
    bar->SetPaneInfo(0, ID_SEPARATOR, SBPS_NOBORDERS, 60);
    bar->SetPaneInfo(1, ID_SEPARATOR, SBPS_STRETCH, 50);
    UseSkin(L"Office 2003");
    const int height = Client().Height();
    // A column with nothing on it (the first pane shows the idle prompt): the background
    // alone.
    const int plain = Part(1).left + 20;
    for (int y = 0; y < height; ++y)
        EXPECT_EQ(Pixel(plain, y), BackgroundRow2003(y, height)) << "row " << y;
    // Separators: at each pane's right edge from 2 below its top to 2 above its bottom,
    // white one pixel right and down; the last pane's 6 right of its width.
    for (const int right : {Part(0).right, Part(1).left + 50 + 6}) {
        SCOPED_TRACE(right);
        const int top = Part(0).top, bottom = Part(0).bottom;
        for (int y = 0; y < height; ++y) {
            const bool separator = y >= top + 2 && y < bottom - 2;
            const bool white = y >= top + 3 && y < bottom - 1;
            EXPECT_EQ(Pixel(right, y), separator ? kSeparator : BackgroundRow2003(y, height)) << "row " << y;
            EXPECT_EQ(Pixel(right + 1, y), white ? kWhite : BackgroundRow2003(y, height)) << "row " << y;
        }
    }
    EXPECT_EQ(Pixel(Part(1).right - 1, Part(1).top + 4), BackgroundRow2003(Part(1).top + 4, height))
        << "no separator at the stretched part's end";
}

TEST_F(SkinPixelsTest, LockIndicatorsAreGreyedWhileOffUnderXpAnd2003)
{
    ASSERT_TRUE(MakeBar({ID_SEPARATOR, ID_INDICATOR_CAPS}));
    Idle();
    const auto dark = [](COLORREF c) { return GetRValue(c) < 64 && GetGValue(c) < 64 && GetBValue(c) < 64; };
    const auto grey = [](COLORREF c) { return c == kGrayText; };
    for (const wchar_t* skin : {L"Office XP", L"Office 2003"}) {
        SCOPED_TRACE(::testing::Message() << CString(skin).GetString());
        SetToggle(VK_CAPITAL, false);
        Idle();
        UseSkin(skin);
        const CRect pane = Part(1);
        const CSize extent = TextExtent(L"CAP");
        // Centred in the pane drawn width + 6 wide (the last pane).
        const int left = pane.left + (extent.cx + 6 - extent.cx) / 2;
        CRect ink = InkBox(pane, grey);
        ASSERT_FALSE(ink.IsRectEmpty()) << "off: the text in the disabled colour";
        EXPECT_TRUE(InkBox(pane, dark).IsRectEmpty()) << "off: nothing in BTNTEXT";
        EXPECT_GE(ink.left, left);
        EXPECT_LE(ink.right, left + extent.cx);
        SetToggle(VK_CAPITAL, true);
        Idle();
        Repaint();
        ink = InkBox(pane, dark);
        ASSERT_FALSE(ink.IsRectEmpty()) << "on: the text in BTNTEXT";
        EXPECT_GE(ink.left, left);
        EXPECT_LE(ink.right, left + extent.cx);
    }
}

// ---- golden pictures ----------------------------------------------------------------------------

class StatusBarGoldenTest : public StatusBarUiTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(StatusBarGoldenTest, MessageProgressAndLockIndicators)
{
    const std::string name = GetParam();
    const wchar_t* skin = name == "classic" ? L"Classic" : name == "xp" ? L"Office XP" : L"Office 2003";
    ASSERT_TRUE(MakeBar({ID_SEPARATOR, ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL},
        WS_OVERLAPPEDWINDOW | WS_VISIBLE, 420, 160));
    bar->SetPaneInfo(0, ID_SEPARATOR, SBPS_STRETCH | SBPS_NOBORDERS, 100);
    bar->SetPaneInfo(1, ID_SEPARATOR, SBPS_NORMAL | OXSBPS_PROGRESS, 110);
    ASSERT_TRUE(bar->SetUpBar(1));
    bar->SetBarProgress(1, 0, 100, 40);
    SetToggle(VK_CAPITAL, true);
    Idle(); // "Ready", and the lock indicators
    UseSkin(skin);
    ASSERT_EQ(Shown(1), L"40%");

    // Texts are compared by extent elsewhere: their areas are left out here.
    std::vector<RECT> texts;
    CRect window;
    bar->GetWindowRect(&window);
    CRect client = Client();
    bar->ClientToScreen(&client);
    const CPoint offset(client.left - window.left, client.top - window.top);
    const auto leaveOut = [&](CRect r) {
        r.OffsetRect(offset);
        texts.push_back(r);
    };
    const CRect message = Part(0);
    leaveOut(CRect(message.left, message.top + 1, message.left + 4 + TextExtent(L"Ready").cx, message.bottom - 1));
    CRect control;
    bar->GetPaneProgress(1)->m_progress.GetWindowRect(&control);
    bar->ScreenToClient(&control);
    leaveOut(CRect(Part(1).left + 1, Part(1).top + 1, control.left, Part(1).bottom - 1));
    for (int i = 2; i < 5; ++i) {
        CRect p = Part(i);
        p.DeflateRect(1, 1);
        leaveOut(p);
    }
    EXPECT_TRUE(zyn::test::MatchesGoldenScreen("statusbar", "status_bar_" + name, window, texts));
}

INSTANTIATE_TEST_SUITE_P(Skins, StatusBarGoldenTest, ::testing::Values("classic", "xp", "2003"),
    [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

} // namespace
} // namespace sbtest

namespace sbtest {
namespace {

TEST_F(SkinPixelsTest, WithoutACurrentSkinTheBarPaintsAsClassic)
{
    ASSERT_TRUE(MakeBar({ID_SEPARATOR, ID_SEPARATOR, ID_INDICATOR_CAPS}));
    bar->SetPaneInfo(1, ID_SEPARATOR, SBPS_NORMAL, 60);
    ASSERT_TRUE(bar->SetPaneBitmap(1, IDB_CORNER, COXStatusBar::Centre));
    CRect window;
    bar->GetWindowRect(&window);
    UseSkin(L"Classic");
    const zyn::test::GoldenPicture classic = zyn::test::CaptureScreen(window);
    app->SetCurrentSkin(static_cast<COXSkin*>(nullptr)); // no current skin: the bar's own
    for (int paint = 0; paint < 2; ++paint) {
        Repaint();
        const zyn::test::GoldenPicture own = zyn::test::CaptureScreen(window);
        EXPECT_EQ(own.pixels, classic.pixels) << "paint " << paint;
    }
}

} // namespace
} // namespace sbtest
