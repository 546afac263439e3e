// CRectTracker: handles and hit testing worked by hand, painting by pixel, and tracking
// by scripted input on the virtual clock (the drawing protocol, cancelling, minimum size,
// inversion, rubber bands, the cursor, and a screen left as it was).
#include <functional>

#include "platform/afx/gdi/dc.h"
#include "platform/afx/tracker.h"
#include "platform/base/clock.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/icon.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/input.h"
#include "platform/user/vkeys.h"
#include "tests/afx/afx_test_support.h"

namespace zyn::test {
namespace {

using user::InjectKeyPress;
using user::InjectMouseButton;
using user::InjectMouseMove;
using user::MouseButton;
using T = CRectTracker;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// Records the drawing calls (erase flags) and the changes a tracking makes.
class CRecordingTracker : public CRectTracker {
public:
    using CRectTracker::CRectTracker;
    std::vector<std::pair<BOOL, BOOL>> draws; // (m_bErase, m_bFinalErase) per DrawTrackerRect
    std::vector<CRect> changedFrom;
    void DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd) override
    {
        draws.emplace_back(m_bErase, m_bFinalErase);
        CRectTracker::DrawTrackerRect(lpRect, pWndClipTo, pDC, pWnd);
    }
    void OnChangedRect(const CRect& rectOld) override { changedFrom.push_back(rectOld); }
    BOOL TrackRubber(CWnd* w, CPoint p, BOOL invert) { return TrackRubberBand(w, p, invert); }
};

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

std::vector<COLORREF> Screen(const RECT& r)
{
    std::vector<COLORREF> out;
    HDC screen = GetDC(nullptr);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            out.push_back(GetPixel(screen, x, y));
    ReleaseDC(nullptr, screen);
    return out;
}

class TrackerTest : public AfxTest {
protected:
    void SetUp() override
    {
        AfxTest::SetUp();
        base::Clock::UseVirtual(100000);
        user::SetScriptedMode(true);
        CDC::GetHalftoneBrush();
        m_objects = gdi::LiveObjectCount();
        m_dcs = gdi::LiveDcCount();
        ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0, nullptr, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))),
            L"", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr));
        Pump();
    }
    void TearDown() override
    {
        wnd.DestroyWindow();
        EXPECT_EQ(GetCapture(), nullptr);
        AfxUnlockTempMaps();
        EXPECT_EQ(gdi::LiveObjectCount(), m_objects) << "GDI objects leaked";
        EXPECT_EQ(gdi::LiveDcCount(), m_dcs) << "DCs leaked";
        AfxTest::TearDown();
    }
    // Presses at a client point (the window's handler starts tracking) after queueing
    // the moves, in client coordinates; `up` releases the button at the end.
    void Drag(CPoint from, std::initializer_list<CPoint> moves, bool up = true)
    {
        InjectMouseMove(100 + from.x, 100 + from.y);
        InjectMouseButton(MouseButton::Left, true);
        for (const CPoint& p : moves)
            InjectMouseMove(100 + p.x, 100 + p.y);
        if (up)
            InjectMouseButton(MouseButton::Left, false);
        Pump();
    }

    CTrackWnd wnd;

private:
    size_t m_objects = 0;
    size_t m_dcs = 0;
};

// ---- geometry ---------------------------------------------------------------------------------------------------

TEST_F(TrackerTest, HandlesAndHitTesting)
{
    // (100, 100)-(200, 160), handles of 6 outside: corners at 94..100 and 200..206 (x),
    // 94..100 and 160..166 (y); the side handles centred at x 147..153 and y 127..133.
    struct Row {
        const char* name;
        CRect rect;
        UINT style;
        CPoint point;
        int hit;
    };
    const CRect r(100, 100, 200, 160);
    const UINT out = T::resizeOutside;
    const Row rows[] = {
        {"top left", r, out, {95, 95}, T::hitTopLeft},
        {"top right", r, out, {205, 95}, T::hitTopRight},
        {"bottom right", r, out, {205, 165}, T::hitBottomRight},
        {"bottom left", r, out, {95, 165}, T::hitBottomLeft},
        {"top", r, out, {150, 96}, T::hitTop},
        {"right", r, out, {203, 130}, T::hitRight},
        {"bottom", r, out, {147, 160}, T::hitBottom},
        {"left", r, out, {99, 132}, T::hitLeft},
        {"middle", r, out, {150, 130}, T::hitMiddle},
        {"between handles outside", r, out, {120, 96}, T::hitNothing},
        {"just past a corner handle", r, out, {206, 95}, T::hitNothing},
        {"far away", r, out, {300, 300}, T::hitNothing},
        // Drawn at the top left of an inverted rectangle is the handle moving m_rect's
        // right and bottom.
        {"inverted, drawn top left", CRect(200, 160, 100, 100), out, {95, 95}, T::hitBottomRight},
        {"inverted across, drawn top", CRect(200, 100, 100, 160), out, {150, 96}, T::hitTop},
        {"inverted across, drawn left", CRect(200, 100, 100, 160), out, {99, 132}, T::hitRight},
        // Inside handles; a rectangle 15 wide (below 3 handles) shows no top and bottom handles.
        {"inside corner", r, T::resizeInside, {101, 101}, T::hitTopLeft},
        {"narrow, no top handle", CRect(10, 10, 25, 60), T::resizeInside, {17, 11}, T::hitMiddle},
        {"narrow, left handle", CRect(10, 10, 25, 60), T::resizeInside, {11, 33}, T::hitLeft},
        // No handles: a point is in the middle or nowhere; a hatched border is middle too.
        {"no handles", r, T::solidLine, {100, 100}, T::hitMiddle},
        {"no handles, outside", r, T::solidLine, {99, 99}, T::hitNothing},
        {"hatched border", r, T::hatchedBorder, {96, 130}, T::hitMiddle},
    };
    for (const Row& row : rows) {
        T t(&row.rect, row.style);
        EXPECT_EQ(t.HitTest(row.point), row.hit) << row.name;
    }
}

TEST_F(TrackerTest, HandleMasksTrueRectanglesAndNormalisedHits)
{
    struct Mask {
        CRect rect;
        UINT mask;
    };
    // Side handles need three handle sizes (18) of room: top/bottom bits 0x50, left/right 0xA0.
    const Mask masks[] = {
        {{0, 0, 100, 60}, 0xFF},
        {{0, 0, 17, 60}, 0xAF},
        {{0, 0, 18, 60}, 0xFF},
        {{0, 0, 100, 17}, 0x5F},
        {{0, 0, 10, 10}, 0x0F},
        {{100, 60, 0, 0}, 0xFF},
    };
    for (const Mask& m : masks) {
        T t(&m.rect, T::resizeInside);
        EXPECT_EQ(t.GetHandleMask(), m.mask) << m.rect.Width() << "x" << m.rect.Height();
    }

    CRect inverted(200, 160, 100, 100);
    CRect trueRect;
    T(&inverted, T::resizeOutside).GetTrueRect(&trueRect);
    EXPECT_EQ(trueRect, CRect(94, 94, 206, 166));
    T(&inverted, T::solidLine).GetTrueRect(&trueRect);
    EXPECT_EQ(trueRect, CRect(100, 100, 200, 160));

    // Inverted left to right only: each handle trades with its mirror across the
    // vertical axis; top, bottom and the middle stay.
    CRect across(200, 100, 100, 160);
    T t(&across, T::resizeOutside);
    const int mirrored[] = {T::hitTopRight, T::hitTopLeft, T::hitBottomLeft, T::hitBottomRight, T::hitTop,
        T::hitLeft, T::hitBottom, T::hitRight, T::hitMiddle};
    for (int h = T::hitTopLeft; h <= T::hitMiddle; ++h)
        EXPECT_EQ(t.NormalizeHit(h), mirrored[h]) << "handle " << h;
    EXPECT_EQ(t.NormalizeHit(T::hitNothing), T::hitNothing);
}

TEST_F(TrackerTest, DrawingByPixel)
{
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 40);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(mem, bitmap);
    const RECT all{0, 0, 40, 40};
    FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    CDC dc;
    dc.Attach(mem);

    // A solid outline on (2, 2)-(30, 30) with inside handles of 4: corners 2..5 and
    // 26..29; the top handle at x 14..17 (centre 16 less 2).
    CRect r(2, 2, 30, 30);
    T t(&r, T::solidLine | T::resizeInside);
    t.m_nHandleSize = 4;
    t.Draw(&dc);
    struct Px {
        int x, y;
        COLORREF c;
    };
    const Px solid[] = {
        {2, 2, kBlack}, {29, 2, kBlack}, {2, 29, kBlack}, {29, 29, kBlack}, {10, 2, kBlack}, // outline
        {30, 10, kWhite}, {10, 30, kWhite},                                                  // right/bottom excluded
        {4, 4, kBlack}, {27, 27, kBlack}, {15, 4, kBlack}, {4, 15, kBlack},                  // handles
        {10, 4, kWhite}, {15, 15, kWhite}, {6, 6, kWhite},                                   // neither
    };
    for (const Px& p : solid)
        EXPECT_EQ(GetPixel(mem, p.x, p.y), p.c) << p.x << "," << p.y;

    dc.Detach();
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
}

// ---- tracking ---------------------------------------------------------------------------------------------------

TEST_F(TrackerTest, DraggingHandlesAndTheMiddle)
{
    struct Row {
        const char* name;
        BOOL invert;
        CPoint from, to;
        CRect expect;
    };
    // (20, 20)-(80, 60), handles of 6 outside; each edge the handle moves keeps its
    // distance from the mouse.
    const Row rows[] = {
        {"bottom-right handle", FALSE, {83, 63}, {113, 83}, {20, 20, 110, 80}},
        {"top-left handle", FALSE, {17, 17}, {7, 12}, {10, 15, 80, 60}},
        {"middle", FALSE, {50, 40}, {60, 45}, {30, 25, 90, 65}},
        // Not inverted: the right edge stops 12 (two handles) right of the left one.
        {"right handle past the left edge", FALSE, {83, 40}, {3, 40}, {20, 20, 32, 60}},
        {"right handle past the left edge, inverting", TRUE, {83, 40}, {3, 40}, {20, 20, 0, 60}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CRect start(20, 20, 80, 60);
        CRecordingTracker t(&start, T::resizeOutside);
        BOOL result = FALSE;
        wnd.onDown = [&](CPoint p) { result = t.Track(&wnd, p, row.invert); };
        Drag(row.from, {row.to});
        EXPECT_TRUE(result);
        EXPECT_EQ(t.m_rect, row.expect);
        ASSERT_EQ(t.changedFrom.size(), 1u);
        EXPECT_EQ(t.changedFrom[0], start);
    }
}

TEST_F(TrackerTest, TheDrawingProtocol)
{
    CRect start(20, 20, 80, 60);
    CRecordingTracker t(&start, T::resizeOutside);
    wnd.onDown = [&](CPoint p) { t.Track(&wnd, p); };
    // Two moves, then the button comes up where the second move left it. Moves queued
    // together are merged into the last one, so each follows when the loop is idle.
    user::QueueIdleAction([] { InjectMouseMove(160, 140); });
    user::QueueIdleAction([] { InjectMouseButton(MouseButton::Left, false); });
    Drag({50, 40}, {{55, 40}}, false);
    // Draw; erase (nothing to do: the next draw goes from it); draw; final erase.
    const std::vector<std::pair<BOOL, BOOL>> expect = {{FALSE, FALSE}, {TRUE, FALSE}, {FALSE, FALSE}, {TRUE, TRUE}};
    EXPECT_EQ(t.draws, expect);
    EXPECT_EQ(t.changedFrom, (std::vector<CRect>{CRect(20, 20, 80, 60), CRect(25, 20, 85, 60)}));
    EXPECT_EQ(t.m_rect, CRect(30, 20, 90, 60));
}

TEST_F(TrackerTest, CancellingPutsTheRectangleBack)
{
    struct Row {
        const char* name;
        std::function<void()> end;
    };
    const Row rows[] = {
        {"Escape", [] { InjectKeyPress(VK_ESCAPE); }},
        {"right button", [] {
             InjectMouseButton(MouseButton::Right, true);
             InjectMouseButton(MouseButton::Right, false);
         }},
        {"input runs out", [] {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CRect start(20, 20, 80, 60);
        CRecordingTracker t(&start, T::resizeOutside);
        BOOL result = TRUE;
        std::vector<COLORREF> atReturn;
        wnd.onDown = [&](CPoint p) {
            result = t.Track(&wnd, p);
            atReturn = Screen(CRect(100, 100, 400, 300));
        };
        InjectMouseMove(150, 140);
        InjectMouseButton(MouseButton::Left, true);
        InjectMouseMove(170, 150);
        row.end();
        Pump();
        InjectMouseButton(MouseButton::Left, false);
        Pump();
        EXPECT_FALSE(result);
        EXPECT_EQ(t.m_rect, start);
        // Told about the move and about the way back.
        EXPECT_EQ(t.changedFrom, (std::vector<CRect>{start, CRect(40, 30, 100, 70)}));
        ASSERT_FALSE(t.draws.empty());
        EXPECT_EQ(t.draws.back(), std::make_pair(TRUE, TRUE));
        EXPECT_EQ(atReturn, std::vector<COLORREF>(300 * 200, kWhite)) << "the frame is gone";
        EXPECT_EQ(GetCapture(), nullptr);
    }
}

TEST_F(TrackerTest, NothingToTrack)
{
    CRect start(20, 20, 80, 60);
    CRecordingTracker t(&start, T::resizeOutside);
    EXPECT_FALSE(t.Track(&wnd, CPoint(200, 150))) << "the point misses the tracker";
    SetCapture(wnd.m_hWnd); // another drag holds the mouse
    EXPECT_FALSE(t.Track(&wnd, CPoint(50, 40)));
    ReleaseCapture();
    CWnd none;
    EXPECT_FALSE(t.Track(&none, CPoint(50, 40))) << "no window";
    EXPECT_TRUE(t.draws.empty());
}

TEST_F(TrackerTest, TheWindowGoingAwayEndsTheDrag)
{
    CRect start(20, 20, 80, 60);
    CRecordingTracker t(&start, T::resizeOutside);
    BOOL result = TRUE;
    wnd.onDown = [&](CPoint p) { result = t.Track(&wnd, p); };
    user::QueueIdleAction([&] { wnd.DestroyWindow(); });
    Drag({50, 40}, {{60, 50}}, false);
    EXPECT_FALSE(result);
    EXPECT_EQ(t.m_rect, start);
    EXPECT_EQ(t.draws.size(), 1u) << "drawn once; nothing erased into a window that is gone";
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TrackerTest, RubberBands)
{
    struct Row {
        const char* name;
        BOOL invert;
        std::vector<CPoint> moves;
        BOOL result;
        CRect expect;
    };
    const Row rows[] = {
        {"down and right", TRUE, {{90, 70}}, TRUE, {50, 50, 90, 70}},
        {"up and left, inverting", TRUE, {{10, 20}}, TRUE, {50, 50, 10, 20}},
        {"up and left, not inverting: empty", FALSE, {{10, 20}}, FALSE, {50, 50, 50, 50}},
        {"no movement", TRUE, {}, FALSE, {50, 50, 50, 50}},
        {"a line is empty", TRUE, {{90, 50}}, FALSE, {50, 50, 90, 50}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CRecordingTracker t;
        BOOL result = !row.result;
        wnd.onDown = [&](CPoint p) { result = t.TrackRubber(&wnd, p, row.invert); };
        InjectMouseMove(150, 150);
        InjectMouseButton(MouseButton::Left, true);
        for (const CPoint& p : row.moves)
            InjectMouseMove(100 + p.x, 100 + p.y);
        InjectMouseButton(MouseButton::Left, false);
        Pump();
        EXPECT_EQ(result, row.result);
        EXPECT_EQ(t.m_rect, row.expect);
    }
}

TEST_F(TrackerTest, TheFrameIsDrawnAndTakenAway)
{
    const std::vector<COLORREF> before = Screen(CRect(100, 100, 400, 300));
    CRect start(20, 20, 80, 60);
    CRecordingTracker t(&start, T::solidLine);
    std::vector<COLORREF> atReturn;
    wnd.onDown = [&](CPoint p) {
        t.Track(&wnd, p);
        atReturn = Screen(CRect(100, 100, 400, 300));
    };
    int black = -1;
    user::QueueIdleAction([&] {
        // Moved by (10, 10): a one-pixel halftone frame over (30, 30)-(90, 70), 60 x 40:
        // its 196 pixels alternate, so 98 are black.
        const auto px = Screen(CRect(130, 130, 190, 170));
        black = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x)
                if (x == 0 || x == 59 || y == 0 || y == 39)
                    black += px[static_cast<size_t>(y * 60 + x)] == kBlack ? 1 : 0;
        InjectMouseButton(MouseButton::Left, false);
    });
    Drag({50, 40}, {{60, 50}}, false);
    EXPECT_EQ(black, 98);
    EXPECT_EQ(t.m_rect, CRect(30, 30, 90, 70));
    EXPECT_EQ(atReturn, before);
    Pump();
    EXPECT_EQ(Screen(CRect(100, 100, 400, 300)), before);
}

TEST_F(TrackerTest, TheCursorFollowsTheHandleAsDrawn)
{
    struct Row {
        CRect rect;
        CPoint at; // client
        UINT hit;
        LPCWSTR cursor; // null: not set
    };
    const CRect r(20, 20, 80, 60);
    const CRect inverted(80, 60, 20, 20);
    const Row rows[] = {
        {r, {83, 63}, HTCLIENT, IDC_SIZENWSE},
        {r, {83, 17}, HTCLIENT, IDC_SIZENESW},
        {r, {50, 17}, HTCLIENT, IDC_SIZENS},
        {r, {17, 40}, HTCLIENT, IDC_SIZEWE},
        {r, {50, 40}, HTCLIENT, IDC_SIZEALL},
        {inverted, {17, 17}, HTCLIENT, IDC_SIZENWSE}, // drawn at the top left
        {r, {150, 150}, HTCLIENT, nullptr},
        {r, {50, 40}, HTCAPTION, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.at.x << "," << row.at.y);
        T t(&row.rect, T::resizeOutside);
        InjectMouseMove(100 + row.at.x, 100 + row.at.y);
        Pump();
        ::SetCursor(nullptr);
        EXPECT_EQ(t.SetCursor(&wnd, row.hit), row.cursor ? TRUE : FALSE);
        EXPECT_EQ(GetCursor(), row.cursor ? LoadCursorW(nullptr, row.cursor) : nullptr);
    }
}

} // namespace
} // namespace zyn::test
