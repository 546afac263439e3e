// The toolkit's rectangle tracker: its adjustment (limit rectangle, axis locks) worked by
// hand, the hit-test translation, and scripted drags on the virtual clock with the
// feedback frame checked on the screen while it shows and after it is gone. (Cancelling
// is the class library's loop, tested with CRectTracker.)
#include <functional>

#include "platform/afx/wnd.h"
#include "platform/user/driver.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/modal.h"
#include "tests/toolkit/toolkit_ui_support.h"
#include "toolkit/skins/rect_tracker.h"

namespace toolkittest {
namespace {

using zyn::user::InjectMouseButton;
using zyn::user::InjectMouseMove;
using zyn::user::MouseButton;

constexpr COLORREF kWhite = RGB(255, 255, 255);

class CProbeTracker : public COXRectTracker {
public:
    void AllowInvert(BOOL allow) { m_bAllowInvert = allow; }
};

// A window whose left-button-down runs a tracking call.
class CTrackWnd : public CWnd {
public:
    std::function<void(CPoint)> onDown;
    afx_msg void OnLButtonDown(UINT, CPoint point)
    {
        if (onDown)
            onDown(point);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTrackWnd, CWnd)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

class RectTrackerTest : public ToolkitUiTest {
protected:
    void SetUp() override
    {
        ToolkitUiTest::SetUp();
        ASSERT_TRUE(wnd.CreateEx(0, kPlainClass, L"", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr));
        Pump(); // painted white
    }
    void TearDown() override
    {
        wnd.DestroyWindow();
        ToolkitUiTest::TearDown();
    }
    // Presses the left button at a client point of the window (its handler starts
    // tracking) after queueing the moves that follow, given in client coordinates.
    void Drag(CPoint from, std::initializer_list<CPoint> moves)
    {
        InjectMouseMove(100 + from.x, 100 + from.y);
        InjectMouseButton(MouseButton::Left, true);
        for (const CPoint& p : moves)
            InjectMouseMove(100 + p.x, 100 + p.y);
    }
    static void Release() { InjectMouseButton(MouseButton::Left, false); }

    CTrackWnd wnd;
};

TEST_F(RectTrackerTest, HitTestCodesMapToHandles)
{
    struct Row {
        int hit, handle;
    };
    const Row rows[] = {
        {HTLEFT, CRectTracker::hitLeft}, {HTRIGHT, CRectTracker::hitRight}, {HTTOP, CRectTracker::hitTop},
        {HTTOPLEFT, CRectTracker::hitTopLeft}, {HTTOPRIGHT, CRectTracker::hitTopRight},
        {HTBOTTOM, CRectTracker::hitBottom}, {HTBOTTOMLEFT, CRectTracker::hitBottomLeft},
        {HTBOTTOMRIGHT, CRectTracker::hitBottomRight},
        // Everything else moves the whole rectangle.
        {HTCAPTION, CRectTracker::hitMiddle}, {HTCLIENT, CRectTracker::hitMiddle}, {HTNOWHERE, CRectTracker::hitMiddle},
        {HTBORDER, CRectTracker::hitMiddle}, {-1, CRectTracker::hitMiddle},
    };
    for (const Row& row : rows)
        EXPECT_EQ(COXRectTracker::HandleFromHitTest(row.hit), row.handle) << "hit code " << row.hit;
}

TEST_F(RectTrackerTest, AdjustmentKeepsTheLimitAndTheAxis)
{
    struct Row {
        const char* name;
        UINT style;
        CRect limit, start;
        int handle;
        BOOL invert;
        CRect in, out;
    };
    const CRect limit(0, 0, 300, 200);
    const CRect strip(50, 50, 58, 150);
    const CRect box(50, 50, 150, 150);
    const Row rows[] = {
        // A move keeps the start size; left within 0..300, top within 0..190.
        {"moved far down and right", 0, limit, strip, CRectTracker::hitMiddle, FALSE, {450, 450, 458, 550},
            {300, 190, 308, 290}},
        {"moved past the top left", 0, limit, strip, CRectTracker::hitMiddle, FALSE, {-20, -30, -12, 70},
            {0, 0, 8, 100}},
        {"no limit", 0, CRect(), strip, CRectTracker::hitMiddle, FALSE, {450, 450, 458, 550}, {450, 450, 458, 550}},
        {"horizontal only", 0x100, limit, strip, CRectTracker::hitMiddle, FALSE, {80, 90, 88, 190}, {80, 50, 88, 150}},
        {"vertical only", 0x200, limit, strip, CRectTracker::hitMiddle, FALSE, {80, 90, 88, 190}, {50, 90, 58, 190}},
        {"locked in both", 0x300, limit, strip, CRectTracker::hitMiddle, FALSE, {80, 90, 88, 190}, strip},
        // A resize is cut to the limit.
        {"right edge past the limit", 0, limit, box, CRectTracker::hitRight, FALSE, {50, 50, 400, 150},
            {50, 50, 300, 150}},
        {"left edge past the limit", 0, limit, box, CRectTracker::hitLeft, FALSE, {-40, 50, 150, 150},
            {0, 50, 150, 150}},
        // Dragged wholly outside, it stays at the limit's edge rather than jumping to 0,0.
        {"resized wholly outside", 0, limit, box, CRectTracker::hitBottomRight, TRUE, {350, 250, 400, 300},
            {300, 200, 300, 200}},
        // The base keeps the minimum size (2 x 6 pixels) unless inverting is allowed.
        {"below the minimum", 0, CRect(), box, CRectTracker::hitRight, FALSE, {50, 50, 55, 150}, {50, 50, 62, 150}},
        {"inverted when allowed", 0, CRect(), box, CRectTracker::hitRight, TRUE, {50, 50, 20, 150}, {50, 50, 20, 150}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CProbeTracker t;
        t.m_nStyle = row.style;
        t.m_rectLimit = row.limit;
        t.m_rectStart = row.start;
        t.AllowInvert(row.invert);
        CRect r = row.in;
        t.AdjustRect(row.handle, &r);
        EXPECT_EQ(r, row.out);
    }
}

TEST_F(RectTrackerTest, AxisLocksAndResizingFromABorder)
{
    struct Row {
        const char* name;
        UINT style;
        CRect limit;
        int hit;
        CRect start;
        CPoint from, to;
        CRect expect;
    };
    const Row rows[] = {
        // Left at limit.right, top 10 above limit.bottom; the start size kept.
        {"moved far past the limit", 0, {0, 0, 300, 200}, HTCAPTION, {50, 50, 58, 150}, {54, 100}, {454, 500},
            {300, 190, 308, 290}},
        {"diagonal drag, horizontal only", 0x100, {}, HTCAPTION, {50, 50, 58, 150}, {54, 100}, {84, 140},
            {80, 50, 88, 150}},
        {"diagonal drag, vertical only", 0x200, {}, HTCAPTION, {50, 50, 150, 58}, {100, 54}, {130, 94},
            {50, 90, 150, 98}},
        {"bottom-right border", 0, {}, HTBOTTOMRIGHT, {50, 50, 150, 100}, {150, 100}, {170, 130}, {50, 50, 170, 130}},
        {"top border", 0, {}, HTTOP, {50, 50, 150, 100}, {100, 50}, {120, 30}, {50, 30, 150, 100}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        COXRectTracker t;
        t.m_rect = row.start;
        t.m_nStyle = row.style;
        t.m_rectLimit = row.limit;
        BOOL result = FALSE;
        wnd.onDown = [&](CPoint p) { result = t.TrackFromHitTest(row.hit, &wnd, p, nullptr, FALSE); };
        Drag(row.from, {row.to});
        Release();
        Pump();
        EXPECT_TRUE(result);
        EXPECT_EQ(t.m_rect, row.expect);
        EXPECT_EQ(t.m_rectStart, row.start);
    }
}

TEST_F(RectTrackerTest, TheFrameShowsWhileDraggingAndLeavesTheScreenAsItWas)
{
    const std::vector<COLORREF> before = ScreenPixels(CRect(100, 100, 400, 300));
    ASSERT_EQ(before, std::vector<COLORREF>(300 * 200, kWhite));
    COXDragRectTracker t;
    t.m_rect = CRect(50, 50, 58, 150);
    t.m_nStyle = 0x100;
    BOOL result = FALSE;
    std::vector<COLORREF> atReturn;
    wnd.onDown = [&](CPoint p) {
        result = t.TrackFromHitTest(HTCAPTION, &wnd, p, nullptr, FALSE);
        atReturn = ScreenPixels(CRect(100, 100, 400, 300)); // before anything repaints
    };
    int blackInFrame = -1;
    std::vector<COLORREF> besideFrame;
    zyn::user::QueueIdleAction([&] {
        // Moved 30 to the right: the frame is (80, 50)-(88, 150) in the window, 2 pixels
        // thick, the halftone checkerboard inverted over white: every other pixel black.
        // Its region is 8 x 100 less 4 x 96 inside = 416 pixels, half of them 208.
        blackInFrame = 0;
        const auto frame = ScreenPixels(CRect(180, 150, 188, 250));
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 8; ++x) {
                const bool inFrame = x < 2 || x >= 6 || y < 2 || y >= 98;
                const COLORREF c = frame[static_cast<size_t>(y * 8 + x)];
                if (inFrame && c == RGB(0, 0, 0))
                    ++blackInFrame;
                if (!inFrame)
                    besideFrame.push_back(c);
            }
        }
        besideFrame.push_back(ScreenPixel(179, 200));
        besideFrame.push_back(ScreenPixel(188, 200));
        besideFrame.push_back(ScreenPixel(150, 200)); // where the rectangle started: no frame there now
        Release();
    });
    Drag({54, 100}, {{70, 140}, {84, 140}});
    Pump();
    EXPECT_TRUE(result);
    EXPECT_EQ(t.m_rect, CRect(80, 50, 88, 150));
    EXPECT_EQ(blackInFrame, 208);
    EXPECT_EQ(besideFrame, std::vector<COLORREF>(besideFrame.size(), kWhite));
    EXPECT_EQ(atReturn, before) << "the frame is taken away, not painted over";
    Pump();
    EXPECT_EQ(ScreenPixels(CRect(100, 100, 400, 300)), before);
}

TEST_F(RectTrackerTest, AClipWindowGetsTheFrameInItsOwnCoordinates)
{
    // The tracked window is a child at (20, 20) of the clip window; the frame is drawn
    // on the clip window's DC over the child.
    CTrackWnd child;
    ASSERT_TRUE(child.CreateEx(0, kPlainClass, L"", WS_CHILD | WS_VISIBLE, 20, 20, 200, 150, wnd.m_hWnd, nullptr));
    Pump();
    COXRectTracker t;
    t.m_rect = CRect(10, 10, 18, 60);
    t.m_nStyle = 0x100;
    BOOL result = FALSE;
    child.onDown = [&](CPoint p) { result = t.TrackFromHitTest(HTCAPTION, &child, p, &wnd, FALSE); };
    int black = -1;
    zyn::user::QueueIdleAction([&] {
        // Moved 10 right: (20, 10)-(28, 60) in the child, (40, 30)-(48, 80) in the clip
        // window, (140, 130)-(148, 180) on the screen. Its top two rows: 16 pixels, 8 black.
        black = 0;
        for (COLORREF c : ScreenPixels(CRect(140, 130, 148, 132)))
            black += c == RGB(0, 0, 0) ? 1 : 0;
        InjectMouseButton(MouseButton::Left, false);
    });
    InjectMouseMove(100 + 20 + 14, 100 + 20 + 30);
    InjectMouseButton(MouseButton::Left, true);
    InjectMouseMove(100 + 20 + 24, 100 + 20 + 30);
    Pump();
    EXPECT_TRUE(result);
    EXPECT_EQ(t.m_rect, CRect(20, 10, 28, 60));
    EXPECT_EQ(black, 8);
    Pump();
    EXPECT_EQ(ScreenPixels(CRect(100, 100, 400, 300)), std::vector<COLORREF>(300 * 200, kWhite));
    child.DestroyWindow();
}

} // namespace
} // namespace toolkittest
