// Painting: which windows paint and in what order, clipping on the screen, update regions,
// RedrawWindow's flags, DCs, scrolling and printing.
#include <functional>

#include "tests/support/golden.h"
#include "tests/user/user_test_support.h"

namespace zyn::test {
namespace {

using PaintTest = UserTest;

// Marks the moment a window paints its client area (after BeginPaint), so sequences show
// what was drawn in which order: WM_NCPAINT and WM_ERASEBKGND are sent from inside
// BeginPaint, nested in WM_PAINT.
constexpr UINT kClientPainted = WM_APP + 1;

void MarkClientPaint()
{
    Recorder::Get().SetHandler([](HWND h, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m != WM_PAINT)
            return false;
        PAINTSTRUCT ps;
        BeginPaint(h, &ps);
        Recorder::Get().Record(h, kClientPainted, 0, 0);
        EndPaint(h, &ps);
        r = 0;
        return true;
    });
}

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);

HWND Solid(HWND parent, DWORD style, int x, int y, int cx, int cy, COLORREF c, DWORD ex = 0)
{
    HWND h = CreateWindowExW(ex, UserTest::kSolidClass, L"", style, x, y, cx, cy, parent, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(h, GWLP_USERDATA, static_cast<LONG_PTR>(c));
    return h;
}

TEST_F(PaintTest, OnlyInvalidWindowsPaintAndFrameThenBackgroundThenClient)
{
    HWND a = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 150);
    HWND b = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 10, 200, 150);
    MarkClientPaint();
    Pump();
    rec().Clear();
    // Nothing invalid: no painting at all.
    Pump();
    EXPECT_TRUE(rec().All({WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}).empty());
    RedrawWindow(a, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    Pump();
    EXPECT_EQ(rec().For(a, {WM_NCPAINT, WM_ERASEBKGND, kClientPainted}),
        (std::vector<UINT>{WM_NCPAINT, WM_ERASEBKGND, kClientPainted}));
    EXPECT_TRUE(rec().For(b, {WM_NCPAINT, WM_ERASEBKGND, WM_PAINT}).empty());
    // Showing a window paints its frame and background at once, the client from the loop.
    rec().Clear();
    HWND c = Make(WS_OVERLAPPEDWINDOW, 700, 10, 100, 100);
    ShowWindow(c, SW_SHOW);
    EXPECT_EQ(rec().For(c, {WM_NCPAINT, WM_ERASEBKGND, kClientPainted}), (std::vector<UINT>{WM_NCPAINT, WM_ERASEBKGND}));
    Pump();
    EXPECT_EQ(rec().For(c, {WM_NCPAINT, WM_ERASEBKGND, kClientPainted}),
        (std::vector<UINT>{WM_NCPAINT, WM_ERASEBKGND, kClientPainted}));
    DestroyWindow(c);
    // Validated before the loop sees it: no WM_PAINT.
    rec().Clear();
    InvalidateRect(b, nullptr, TRUE);
    ValidateRect(b, nullptr);
    Pump();
    EXPECT_TRUE(rec().For(b, {WM_PAINT}).empty());
    // A client-only invalidation erases and paints but leaves the frame.
    rec().Clear();
    InvalidateRect(b, nullptr, TRUE);
    Pump();
    EXPECT_EQ(rec().For(b, {WM_NCPAINT, WM_ERASEBKGND, kClientPainted}), (std::vector<UINT>{WM_ERASEBKGND, kClientPainted}));
    rec().Clear();
    InvalidateRect(b, nullptr, FALSE);
    Pump();
    EXPECT_EQ(rec().For(b, {WM_NCPAINT, WM_ERASEBKGND, kClientPainted}), (std::vector<UINT>{kClientPainted}));
    DestroyWindow(a);
    DestroyWindow(b);
}

TEST_F(PaintTest, ParentsPaintBeforeChildrenAndPaintStructReportsErase)
{
    HWND p = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 150);
    Make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, p);
    Pump();
    rec().Clear();
    PAINTSTRUCT seen{};
    rec().SetHandler([&seen](HWND h, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m == WM_ERASEBKGND) {
            r = 0; // did not erase
            return true;
        }
        if (m == WM_PAINT) {
            PAINTSTRUCT ps;
            BeginPaint(h, &ps);
            seen = ps;
            EndPaint(h, &ps);
            r = 0;
            return true;
        }
        return false;
    });
    RECT part{5, 5, 20, 25};
    InvalidateRect(p, &part, TRUE);
    Pump();
    const auto order = rec().All({WM_PAINT});
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(rec().Log().front().hwnd, p);
    // The last paint was the child's (its part of the rectangle).
    EXPECT_TRUE(seen.fErase);
    EXPECT_EQ(seen.rcPaint.left, 0);
    EXPECT_EQ(seen.rcPaint.right, 10);
    EXPECT_EQ(seen.rcPaint.bottom, 15);
    DestroyWindow(p);
}

TEST_F(PaintTest, ChildrenAndSiblingsClipOnTheScreen)
{
    // A parent that clips its children does not paint over them.
    HWND p = Solid(nullptr, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 200, 200, kRed);
    HWND c = Solid(p, WS_CHILD | WS_VISIBLE, 50, 50, 50, 50, kGreen);
    Pump();
    EXPECT_EQ(Pixel(10, 10), kRed);
    EXPECT_EQ(Pixel(60, 60), kGreen);
    InvalidateRect(p, nullptr, FALSE);
    RedrawWindow(p, nullptr, nullptr, RDW_UPDATENOW | RDW_NOCHILDREN);
    EXPECT_EQ(Pixel(60, 60), kGreen);

    // Overlapping siblings: the one on top wins where both have WS_CLIPSIBLINGS.
    HWND q = Solid(nullptr, WS_POPUP | WS_VISIBLE, 300, 0, 200, 200, kRed);
    HWND s1 = Solid(q, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 10, 10, 100, 100, kGreen);
    HWND s2 = Solid(q, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 60, 60, 100, 100, kBlue);
    Pump();
    // s1 is above s2 (created first).
    EXPECT_EQ(Pixel(300 + 80, 80), kGreen);
    EXPECT_EQ(Pixel(300 + 130, 130), kBlue);
    InvalidateRect(s2, nullptr, TRUE);
    UpdateWindow(s2);
    EXPECT_EQ(Pixel(300 + 80, 80), kGreen);
    // Bringing s2 up repaints the overlap in its colour.
    SetWindowPos(s2, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Pump();
    EXPECT_EQ(Pixel(300 + 80, 80), kBlue);
    EXPECT_EQ(Pixel(300 + 20, 20), kGreen);

    // Top-level windows clip each other by z-order.
    HWND top = Solid(nullptr, WS_POPUP | WS_VISIBLE, 150, 150, 100, 100, kBlue);
    Pump();
    EXPECT_EQ(Pixel(160, 160), kBlue);
    InvalidateRect(p, nullptr, FALSE);
    UpdateWindow(p);
    EXPECT_EQ(Pixel(160, 160), kBlue);
    EXPECT_EQ(Pixel(140, 140), kRed);
    (void)c;
    (void)s1;
    DestroyWindow(top);
    Pump();
    // What the top window covered is painted again.
    EXPECT_EQ(Pixel(160, 160), kRed);
    DestroyWindow(p);
    DestroyWindow(q);
}

TEST_F(PaintTest, MovingAWindowRepaintsWhatItUncovered)
{
    HWND back = Solid(nullptr, WS_POPUP | WS_VISIBLE, 0, 0, 400, 400, kRed);
    HWND front = Solid(nullptr, WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, kGreen);
    Pump();
    EXPECT_EQ(Pixel(20, 20), kGreen);
    rec().Clear();
    MoveWindow(front, 200, 200, 50, 50, TRUE);
    Pump();
    EXPECT_EQ(Pixel(20, 20), kRed);
    EXPECT_EQ(Pixel(210, 210), kGreen);
    // The moved window's pixels moved with it: it need not paint again.
    EXPECT_TRUE(rec().For(front, {WM_PAINT}).empty());
    EXPECT_FALSE(rec().For(back, {WM_PAINT}).empty());
    // NOCOPYBITS repaints it.
    rec().Clear();
    SetWindowPos(front, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOCOPYBITS);
    Pump();
    EXPECT_FALSE(rec().For(front, {WM_PAINT}).empty());
    EXPECT_EQ(Pixel(110, 110), kGreen);
    DestroyWindow(front);
    DestroyWindow(back);
}

TEST_F(PaintTest, APositioningErasesAtOnceOnlyTheWindowsItAffects)
{
    HWND a = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 150);
    HWND b = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 10, 200, 150);
    Pump();
    // `a` owes its background (invalidated, not yet painted) and declines each erase.
    rec().SetHandler([a](HWND h, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (h == a && m == WM_ERASEBKGND) {
            r = 0;
            return true;
        }
        return false;
    });
    InvalidateRect(a, nullptr, TRUE);
    rec().Clear();
    // Moving `b` far from `a` touches nothing of it: no erase for `a` now.
    SetWindowPos(b, nullptr, 450, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(rec().For(a, {WM_ERASEBKGND}).empty()) << "an unaffected window was erased";
    // Moving `a` itself erases it at once, and it still owes the erase it declined.
    SetWindowPos(a, nullptr, 0, 0, 210, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(rec().For(a, {WM_ERASEBKGND}).size(), 1u);
    rec().Clear();
    Pump();
    EXPECT_EQ(rec().For(a, {WM_ERASEBKGND, WM_PAINT}), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}))
        << "BeginPaint sends the erase still owed";
    DestroyWindow(a);
    DestroyWindow(b);
}

TEST_F(PaintTest, RedrawWindowFlags)
{
    HWND p = Make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    HWND c = Make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, p);
    MarkClientPaint();
    Pump();
    rec().Clear();
    // UPDATENOW paints at once, without the loop.
    RedrawWindow(p, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(rec().For(p, {WM_ERASEBKGND, kClientPainted}), (std::vector<UINT>{WM_ERASEBKGND, kClientPainted}));
    // Without WS_CLIPCHILDREN the children are included by default.
    EXPECT_EQ(rec().For(c, {WM_PAINT}).size(), 1u);
    rec().Clear();
    RedrawWindow(p, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(rec().For(c, {WM_PAINT}).empty());
    // ERASENOW erases but leaves WM_PAINT to the loop.
    rec().Clear();
    RedrawWindow(p, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_NOCHILDREN);
    EXPECT_EQ(rec().For(p, {WM_ERASEBKGND, kClientPainted}), (std::vector<UINT>{WM_ERASEBKGND}));
    Pump();
    EXPECT_EQ(rec().For(p, {WM_ERASEBKGND, kClientPainted}), (std::vector<UINT>{WM_ERASEBKGND, kClientPainted}));
    // INTERNALPAINT: WM_PAINT with no update region.
    rec().Clear();
    RedrawWindow(p, nullptr, nullptr, RDW_INTERNALPAINT);
    RECT r;
    EXPECT_FALSE(GetUpdateRect(p, &r, FALSE));
    Pump();
    EXPECT_EQ(rec().For(p, {WM_PAINT}).size(), 1u);
    // VALIDATE with NOINTERNALPAINT cancels a pending internal paint.
    rec().Clear();
    RedrawWindow(p, nullptr, nullptr, RDW_INTERNALPAINT);
    RedrawWindow(p, nullptr, nullptr, RDW_VALIDATE | RDW_NOINTERNALPAINT);
    Pump();
    EXPECT_TRUE(rec().For(p, {WM_PAINT}).empty());
    // FRAME reaches the non-client area; NOFRAME with VALIDATE suppresses it again.
    HWND f = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 0, 200, 200);
    Pump();
    rec().Clear();
    RedrawWindow(f, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    RedrawWindow(f, nullptr, nullptr, RDW_VALIDATE | RDW_NOFRAME | RDW_NOCHILDREN);
    Pump();
    EXPECT_TRUE(rec().For(f, {WM_NCPAINT}).empty());
    // Update rectangle and region.
    RECT part{3, 4, 20, 30};
    InvalidateRect(f, &part, FALSE);
    ASSERT_TRUE(GetUpdateRect(f, &r, FALSE));
    EXPECT_EQ(r.left, 3);
    EXPECT_EQ(r.bottom, 30);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetUpdateRgn(f, rgn, FALSE), SIMPLEREGION);
    DeleteObject(rgn);
    ValidateRect(f, nullptr);
    EXPECT_FALSE(GetUpdateRect(f, &r, FALSE));
    DestroyWindow(p);
    DestroyWindow(f);
}

// A framed invalidation owes WM_NCPAINT exactly when some of it lies outside the client
// area, however the region is made up; a validation leaving only client area invalid
// takes it back. Rectangles are in client coordinates, with W standing for the client's
// right or bottom edge.
TEST_F(PaintTest, FrameIsOwedOnlyWhereTheRegionLeavesTheClient)
{
    constexpr int W = 10000;
    struct Row {
        const char* name;
        std::vector<RECT> invalid, valid;
        bool ncPaint;
    } const rows[] = {
        {"the whole client", {{0, 0, W, W}}, {}, false},
        {"one pixel past the right edge", {{W - 1, 5, W + 1, 9}}, {}, true},
        {"one pixel above the top", {{5, -1, 9, 3}}, {}, true},
        {"two pieces inside", {{1, 1, 4, 4}, {W - 4, W - 4, W, W}}, {}, false},
        {"a second piece reaches the left border", {{1, 1, 4, 4}, {-1, 20, 3, 24}}, {}, true},
        {"frame validated, client part left", {{-40, -40, W + 40, W + 40}},
            {{-40, -40, W + 40, 10}, {-40, 10, 10, W + 40}, {20, 10, W + 40, W + 40}, {10, 20, 20, W + 40}}, false},
        {"client validated, frame part left", {{-40, -40, W + 40, W + 40}}, {{0, 0, W, W}}, true},
    };
    HWND f = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 0, 200, 200);
    RECT c;
    GetClientRect(f, &c);
    const auto redraw = [&](const std::vector<RECT>& rects, UINT flags) {
        HRGN rgn = CreateRectRgn(0, 0, 0, 0);
        for (RECT r : rects) {
            for (auto [v, edge] : {std::pair{&r.left, c.right}, {&r.right, c.right}, {&r.top, c.bottom}, {&r.bottom, c.bottom}})
                *v = *v >= W / 2 ? *v - W + edge : *v;
            HRGN one = CreateRectRgnIndirect(&r);
            CombineRgn(rgn, rgn, one, RGN_OR);
            DeleteObject(one);
        }
        RedrawWindow(f, nullptr, rgn, flags);
        DeleteObject(rgn);
    };
    for (const Row& row : rows) {
        Pump();
        rec().Clear();
        redraw(row.invalid, RDW_INVALIDATE | RDW_FRAME);
        if (!row.valid.empty())
            redraw(row.valid, RDW_VALIDATE);
        Pump();
        EXPECT_EQ(!rec().For(f, {WM_NCPAINT}).empty(), row.ncPaint) << row.name;
    }
    DestroyWindow(f);
}

TEST_F(PaintTest, GetDcExClipsToRegionsAndLockWindowUpdate)
{
    HWND h = Solid(nullptr, WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, kRed);
    Pump();
    HRGN keep = CreateRectRgn(0, 0, 50, 100); // screen coordinates
    HDC dc = GetDCEx(h, keep, DCX_INTERSECTRGN | DCX_CACHE);
    ASSERT_TRUE(dc);
    RECT all{0, 0, 100, 100};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(h, dc);
    EXPECT_EQ(Pixel(10, 10), RGB(255, 255, 255));
    EXPECT_EQ(Pixel(60, 10), kRed);
    HRGN hole = CreateRectRgn(0, 0, 50, 100);
    dc = GetDCEx(h, hole, DCX_EXCLUDERGN | DCX_CACHE);
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(h, dc);
    EXPECT_EQ(Pixel(10, 10), RGB(255, 255, 255));
    EXPECT_EQ(Pixel(60, 10), RGB(0, 0, 0));
    EXPECT_EQ(WindowFromDC(dc), nullptr); // released
    // While locked, drawing does not reach the screen; unlocking repaints.
    ASSERT_TRUE(LockWindowUpdate(h));
    HWND other = Make(WS_POPUP, 0, 0, 1, 1);
    SetLastError(0);
    EXPECT_FALSE(LockWindowUpdate(other));
    EXPECT_EQ(GetLastError(), ERROR_SCREEN_ALREADY_LOCKED);
    dc = GetDC(h);
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(h, dc);
    EXPECT_EQ(Pixel(60, 10), RGB(0, 0, 0));
    dc = GetDCEx(h, nullptr, DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    EXPECT_EQ(WindowFromDC(dc), h);
    ReleaseDC(h, dc);
    ASSERT_TRUE(LockWindowUpdate(nullptr));
    Pump();
    EXPECT_EQ(Pixel(60, 10), kRed);
    EXPECT_EQ(Pixel(10, 10), kRed);
    DestroyWindow(h);
    DestroyWindow(other);
}

TEST_F(PaintTest, WindowAndParentClipDcs)
{
    HWND p = Solid(nullptr, WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 0, 100, 100, kRed);
    HWND c = Solid(p, WS_CHILD | WS_VISIBLE, 20, 20, 20, 20, kGreen);
    Pump();
    // A window DC starts at the frame's corner and covers it.
    HDC dc = GetWindowDC(p);
    SetPixel(dc, 0, 0, kBlue);
    ReleaseDC(p, dc);
    EXPECT_EQ(Pixel(0, 0), kBlue);
    // A child's DC is clipped to the child, unless it uses the parent's visible region.
    dc = GetDCEx(c, nullptr, DCX_CACHE);
    SetPixel(dc, -5, -5, kBlue);
    ReleaseDC(c, dc);
    EXPECT_EQ(Pixel(16, 16), kRed);
    dc = GetDCEx(c, nullptr, DCX_CACHE | DCX_PARENTCLIP);
    SetPixel(dc, -5, -5, kBlue);
    ReleaseDC(c, dc);
    EXPECT_EQ(Pixel(16, 16), kBlue);
    // A DC released for the wrong window stays; the right window releases it.
    dc = GetDC(c);
    EXPECT_EQ(ReleaseDC(p, dc), 0);
    EXPECT_EQ(ReleaseDC(c, dc), 1);
    DestroyWindow(p);
}

TEST_F(PaintTest, OwnDcClassesKeepOneDc)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = RecordProc;
    wc.lpszClassName = L"OwnDc";
    wc.style = CS_OWNDC;
    ASSERT_TRUE(RegisterClassExW(&wc));
    HWND h = CreateWindowExW(0, L"OwnDc", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    HDC a = GetDC(h);
    SetTextColor(a, kRed);
    ReleaseDC(h, a);
    HDC b = GetDC(h);
    EXPECT_EQ(a, b);
    EXPECT_EQ(GetTextColor(b), kRed); // its state stays
    ReleaseDC(h, b);
    InvalidateRect(h, nullptr, FALSE);
    PAINTSTRUCT ps;
    EXPECT_EQ(BeginPaint(h, &ps), a);
    EndPaint(h, &ps);
    const size_t dcs = gdi::LiveDcCount();
    DestroyWindow(h);
    EXPECT_EQ(gdi::LiveDcCount(), dcs - 1);
    UnregisterClassW(L"OwnDc", nullptr);
}

TEST_F(PaintTest, SetRedrawOffHidesFromPaintingUntilOn)
{
    HWND h = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    Pump();
    rec().Clear();
    SendMessageW(h, WM_SETREDRAW, FALSE, 0);
    EXPECT_FALSE(IsWindowVisible(h));
    InvalidateRect(h, nullptr, TRUE);
    Pump();
    EXPECT_TRUE(rec().For(h, {WM_PAINT}).empty());
    SendMessageW(h, WM_SETREDRAW, TRUE, 0);
    EXPECT_TRUE(IsWindowVisible(h));
    InvalidateRect(h, nullptr, TRUE);
    Pump();
    EXPECT_EQ(rec().For(h, {WM_PAINT}).size(), 1u);
    DestroyWindow(h);
}

TEST_F(PaintTest, PrintPaintsAHiddenWindowIntoAnyDc)
{
    HWND h = Solid(nullptr, WS_POPUP | WS_BORDER, 0, 0, 40, 30, kBlue);
    HWND c = Solid(h, WS_CHILD | WS_VISIBLE, 5, 5, 10, 10, kGreen);
    HDC mem = CreateCompatibleDC(nullptr);
    HBITMAP bm = CreateBitmap(40, 30, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(mem, bm);
    SendMessageW(h, WM_PRINT, reinterpret_cast<WPARAM>(mem), PRF_NONCLIENT | PRF_CLIENT | PRF_CHILDREN);
    EXPECT_EQ(GetPixel(mem, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(GetPixel(mem, 3, 3), kBlue);
    EXPECT_EQ(GetPixel(mem, 1 + 5 + 2, 1 + 5 + 2), kGreen);
    // PRF_CHECKVISIBLE skips a hidden window.
    RECT all{0, 0, 40, 30};
    FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SendMessageW(h, WM_PRINT, reinterpret_cast<WPARAM>(mem), PRF_CHECKVISIBLE | PRF_CLIENT);
    EXPECT_EQ(GetPixel(mem, 3, 3), RGB(255, 255, 255));
    // The window's update state is untouched by printing.
    EXPECT_EQ(Pixel(3, 3), GetSysColor(COLOR_BACKGROUND)); // the desktop shows
    SelectObject(mem, old);
    DeleteObject(bm);
    DeleteDC(mem);
    (void)c;
    DestroyWindow(h);
}

TEST_F(PaintTest, ScrollWindowMovesPixelsAndInvalidatesTheRest)
{
    HWND h = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    Pump();
    HDC dc = GetDC(h);
    RECT band{0, 40, 100, 50};
    FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(h, dc);
    RECT upd{};
    const int kind = ScrollWindowEx(h, 0, -20, nullptr, nullptr, nullptr, &upd, SW_INVALIDATE);
    EXPECT_EQ(kind, SIMPLEREGION);
    EXPECT_EQ(Pixel(50, 25), RGB(0, 0, 0));
    EXPECT_EQ(upd.top, 80);
    EXPECT_EQ(upd.bottom, 100);
    RECT r;
    ASSERT_TRUE(GetUpdateRect(h, &r, FALSE));
    EXPECT_EQ(r.top, 80);
    // Children move with SW_SCROLLCHILDREN.
    HWND c = Make(WS_CHILD | WS_VISIBLE, 10, 50, 10, 10, h);
    ScrollWindowEx(h, 5, 0, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE);
    POINT pt{0, 0};
    MapWindowPoints(c, h, &pt, 1);
    EXPECT_EQ(pt.x, 15);
    DestroyWindow(h);
}

TEST_F(PaintTest, DefaultEraseUsesTheClassBrushAndFrameIsDrawn)
{
    HWND h = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 150, nullptr, 0, 0, L"Title");
    Pump();
    POINT o{5, 5};
    ClientToScreen(h, &o);
    EXPECT_EQ(Pixel(o.x, o.y), GetSysColor(COLOR_WINDOW));
    // The active caption's colour just under the top frame, past the icon.
    RECT wr;
    GetWindowRect(h, &wr);
    const int f = GetSystemMetrics(SM_CYFRAME);
    EXPECT_EQ(Pixel(wr.left + 120, wr.top + f + 1), GetSysColor(COLOR_ACTIVECAPTION));
    // The outer frame is the raised edge's light colour.
    EXPECT_EQ(Pixel(wr.left, wr.top + 50), GetSysColor(COLOR_3DLIGHT));
    // Deactivated, the caption repaints inactive.
    HWND other = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 100, 100, 100);
    Pump();
    EXPECT_EQ(Pixel(wr.left + 120, wr.top + f + 1), GetSysColor(COLOR_INACTIVECAPTION));
    DestroyWindow(other);
    DestroyWindow(h);
}

TEST_F(PaintTest, SnapshotsWritePngFiles)
{
    HWND h = Solid(nullptr, WS_POPUP | WS_VISIBLE | WS_BORDER, 10, 10, 60, 40, kGreen);
    const std::string dir = TempRoot();
    EXPECT_TRUE(user::SnapshotDesktopPng(dir + "/desk.png"));
    EXPECT_TRUE(user::SnapshotWindowPng(h, dir + "/win.png"));
    FILE* f = std::fopen((dir + "/win.png").c_str(), "rb");
    ASSERT_TRUE(f);
    unsigned char sig[8] = {};
    EXPECT_EQ(std::fread(sig, 1, 8, f), 8u);
    std::fclose(f);
    EXPECT_EQ(sig[1], 'P');
    HWND stale = h;
    DestroyWindow(h);
    SetLastError(0);
    EXPECT_FALSE(user::SnapshotWindowPng(stale, dir + "/none.png"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_FALSE(user::SnapshotDesktopPng("/nonexistent-dir/x.png"));
}

// Sequences that once left part of the screen unpainted, each pictured once every message
// is handled: a white parent (no WS_CLIPCHILDREN) holding a green child with a black
// one-pixel border.
TEST_F(PaintTest, NothingIsLeftUnpaintedAfterTheseSequences)
{
    const struct {
        const char* golden;
        std::function<void(HWND parent, HWND child)> sequence;
    } rows[] = {
        // Shown, the parent erases and the child paints its frame at once; the child paints
        // its client before its parent's WM_PAINT comes round (a control updated at once).
        // A popup over part of them (a progress dialog pumping its own messages only) goes
        // away, so the parent erases all its still-owed update region again, over the child.
        {"erased_again_over_a_painted_child",
            [](HWND parent, HWND child) {
                ShowWindow(parent, SW_SHOW);
                UpdateWindow(child);
                HWND cover = Solid(nullptr, WS_POPUP | WS_VISIBLE, 130, 90, 100, 60, kBlue);
                UpdateWindow(cover);
                DestroyWindow(cover);
            }},
        // A frame started on a saved layout: its bars paint at once while the frame's own
        // paint waits; a floating bar made over it moves to its saved place, and the frame
        // erases again over the bars.
        {"erased_again_after_a_popup_moved_off",
            [](HWND parent, HWND child) {
                HWND floating = Solid(nullptr, WS_POPUP, 60, 30, 100, 40, kBlue);
                SetWindowLongPtrW(floating, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(parent));
                ShowWindow(parent, SW_SHOW);
                UpdateWindow(child);
                ShowWindow(floating, SW_SHOWNOACTIVATE);
                UpdateWindow(floating);
                SetWindowPos(floating, nullptr, 600, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                DestroyWindow(floating);
            }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.golden);
        HWND parent = Make(WS_POPUP, 40, 40, 200, 120);
        HWND child = Solid(parent, WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 20, 160, 60, kGreen);
        row.sequence(parent, child);
        Pump();
        EXPECT_TRUE(MatchesGoldenScreen("user", row.golden, RECT{40, 40, 240, 160}));
        DestroyWindow(parent);
        Pump();
    }
}

} // namespace
} // namespace zyn::test
