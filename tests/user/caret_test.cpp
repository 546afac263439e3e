// The caret: creation, counted hiding, blinking by inversion on the virtual clock, painting
// around it, and its end with its window.
#include <thread>

#include "platform/base/clock.h"
#include "tests/user/ctl_test_support.h"

namespace zyn::test {
namespace {

using zyn::base::Clock;
using CaretTest = CtlTest;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A child painted white, to see the inversion on.
HWND WhiteChild(HWND parent)
{
    HWND h = CreateWindowExW(0, UserTest::kSolidClass, L"", WS_CHILD | WS_VISIBLE, 20, 20, 100, 50, parent, nullptr,
        nullptr, nullptr);
    SetWindowLongPtrW(h, GWLP_USERDATA, static_cast<LONG_PTR>(kWhite));
    InvalidateRect(h, nullptr, TRUE);
    return h;
}

TEST_F(CaretTest, ShowsAfterAsManyShowsAsHidesAndBlinksOnTheClock)
{
    HWND w = WhiteChild(parent);
    Settle();
    ASSERT_TRUE(CreateCaret(w, nullptr, 2, 10));
    ASSERT_TRUE(SetCaretPos(5, 6));
    // A new caret is hidden.
    EXPECT_EQ(ClientPixel(w, 5, 6), kWhite);
    ASSERT_TRUE(ShowCaret(w));
    EXPECT_EQ(ClientPixel(w, 5, 6), kBlack);
    EXPECT_EQ(ClientPixel(w, 6, 15), kBlack);   // the last pixel of the 2x10 rectangle
    EXPECT_EQ(ClientPixel(w, 7, 6), kWhite);    // right of it
    EXPECT_EQ(ClientPixel(w, 5, 16), kWhite);   // below it
    // Hiding counts.
    HideCaret(w);
    HideCaret(nullptr);
    EXPECT_EQ(ClientPixel(w, 5, 6), kWhite);
    ShowCaret(w);
    EXPECT_EQ(ClientPixel(w, 5, 6), kWhite);
    ShowCaret(nullptr);
    EXPECT_EQ(ClientPixel(w, 5, 6), kBlack);
    // Blinking: off after one period, on after the next; a move starts a full period over.
    const UINT t = GetCaretBlinkTime();
    EXPECT_EQ(t, 530u);
    Clock::Advance(t);
    Pump();
    EXPECT_EQ(ClientPixel(w, 5, 6), kWhite);
    Clock::Advance(t);
    Pump();
    EXPECT_EQ(ClientPixel(w, 5, 6), kBlack);
    SetCaretPos(30, 6);
    EXPECT_EQ(ClientPixel(w, 5, 6), kWhite);
    EXPECT_EQ(ClientPixel(w, 30, 6), kBlack);
    Clock::Advance(t - 1);
    Pump();
    EXPECT_EQ(ClientPixel(w, 30, 6), kBlack);
    POINT p{};
    ASSERT_TRUE(GetCaretPos(&p));
    EXPECT_EQ(p.x, 30);
    // GetGUIThreadInfo reports it.
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    ASSERT_TRUE(GetGUIThreadInfo(GetCurrentThreadId(), &gui));
    EXPECT_EQ(gui.hwndCaret, w);
    EXPECT_EQ(gui.rcCaret.left, 30);
    EXPECT_EQ(gui.rcCaret.bottom, 16);
    EXPECT_TRUE(gui.flags & GUI_CARETBLINKING);
    // The blink arrives as WM_SYSTIMER, never as an application's WM_TIMER.
    rec().Clear();
    Clock::Advance(t);
    Pump();
    EXPECT_TRUE(rec().For(w, {WM_TIMER}).empty());
    ASSERT_TRUE(DestroyCaret());
    EXPECT_FALSE(DestroyCaret());
    EXPECT_FALSE(ShowCaret(w));
    DestroyWindow(w);
}

TEST_F(CaretTest, PaintingHidesItAndAGrayCaretInvertsEveryOtherPixel)
{
    HWND w = WhiteChild(parent);
    Settle();
    ASSERT_TRUE(CreateCaret(w, reinterpret_cast<HBITMAP>(static_cast<uintptr_t>(1)), 4, 4));
    SetCaretPos(10, 10);
    ShowCaret(w);
    int black = 0;
    for (int y = 10; y < 14; ++y)
        for (int x = 10; x < 14; ++x)
            black += ClientPixel(w, x, y) == kBlack;
    EXPECT_EQ(black, 8);
    EXPECT_NE(ClientPixel(w, 10, 10), ClientPixel(w, 11, 10));
    EXPECT_NE(ClientPixel(w, 10, 10), ClientPixel(w, 10, 11));
    // A repaint of the window under the caret leaves the caret drawn once, not twice.
    const COLORREF before = ClientPixel(w, 10, 10);
    InvalidateRect(w, nullptr, TRUE);
    UpdateWindow(w);
    EXPECT_EQ(ClientPixel(w, 10, 10), before);
    EXPECT_EQ(ClientPixel(w, 11, 10), before == kBlack ? kWhite : kBlack);
    // Destroying the window destroys its caret.
    DestroyWindow(w);
    POINT p{};
    EXPECT_FALSE(GetCaretPos(&p));
}

TEST_F(CaretTest, OneCaretPerThreadAndOnlyForItsWindows)
{
    HWND a = WhiteChild(parent);
    HWND b = WhiteChild(parent);
    SetWindowPos(b, nullptr, 200, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Settle();
    ASSERT_TRUE(CreateCaret(a, nullptr, 1, 8));
    ASSERT_TRUE(CreateCaret(b, nullptr, 1, 8)); // replaces the first
    SetLastError(0);
    EXPECT_FALSE(ShowCaret(a));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(ShowCaret(b));
    // A window of another thread cannot take a caret from this one.
    BOOL created = TRUE;
    DWORD error = 0;
    std::thread other([&] {
        created = CreateCaret(a, nullptr, 1, 8);
        error = GetLastError();
    });
    other.join();
    EXPECT_FALSE(created);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    // A zero size takes the border's thickness; INFINITE stops blinking.
    ASSERT_TRUE(CreateCaret(a, nullptr, 0, 0));
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetCurrentThreadId(), &gui);
    EXPECT_EQ(gui.rcCaret.right - gui.rcCaret.left, GetSystemMetrics(SM_CXBORDER));
    EXPECT_EQ(gui.rcCaret.bottom - gui.rcCaret.top, GetSystemMetrics(SM_CYBORDER));
    SetCaretBlinkTime(0xFFFFFFFFu);
    ShowCaret(a);
    const COLORREF on = ClientPixel(a, 0, 0);
    Clock::Advance(5000);
    Pump();
    EXPECT_EQ(ClientPixel(a, 0, 0), on);
    DestroyCaret();
    DestroyWindow(a);
    DestroyWindow(b);
}

} // namespace
} // namespace zyn::test
