// The window system's side of a display driver: the pumped message wait, and a display
// that changes size.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <functional>
#include <thread>
#include <vector>

#include "platform/base/threads.h"
#include "platform/display/presenter.h"
#include "platform/gdi/damage.h"
#include "platform/gdi/dc_internal.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/dialog.h"
#include "platform/user/display.h"
#include "platform/user/driver.h"
#include "platform/user/messages.h"
#include "platform/user/msgbox.h"
#include "platform/user/msgqueue.h"
#include "platform/user/styles.h"
#include "platform/user/vkeys.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"

namespace zyn::test {
namespace {

// A pump that counts its calls (and their threads) and runs a step on each.
class FakePump : public user::DisplayPump {
public:
    void Pump() override
    {
        ++calls;
        threads.push_back(GetCurrentThreadId());
        if (step)
            step(calls);
    }
    int calls = 0;
    std::vector<DWORD> threads;
    std::function<void(int)> step;
};

struct PumpScope {
    explicit PumpScope(FakePump& p) { user::SetDisplayPump(&p); }
    ~PumpScope() { user::SetDisplayPump(nullptr); }
};

std::vector<std::pair<WPARAM, LPARAM>>& DisplayChanges()
{
    static std::vector<std::pair<WPARAM, LPARAM>> v;
    return v;
}

LRESULT RecordingProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_DISPLAYCHANGE)
        DisplayChanges().emplace_back(wp, lp);
    return DefWindowProcW(h, m, wp, lp);
}

class DisplayHooks : public ::testing::Test {
protected:
    void SetUp() override
    {
        user::ResetWindowSystemForTests(640, 480);
        DisplayChanges().clear();
        WNDCLASSW wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.lpszClassName = L"DisplayHooksTest";
        ASSERT_TRUE(RegisterClassW(&wc));
    }
    static HWND Make(DWORD style, int x, int y, int cx, int cy, HWND parent = nullptr)
    {
        return CreateWindowExW(0, L"DisplayHooksTest", L"t", style, x, y, cx, cy, parent, nullptr, nullptr, nullptr);
    }
};

TEST_F(DisplayHooks, PumpedWaitEndsOnInputTheDisplayInjectsAndOnTimers)
{
    HWND w = Make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    FakePump pump;
    PumpScope scope(pump);
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    pump.calls = 0;
    // The third pump sees the display's mouse move.
    pump.step = [](int n) {
        if (n == 3)
            user::InjectMouseMove(50, 60);
    };
    ASSERT_GT(GetMessageW(&msg, nullptr, 0, 0), 0);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(msg.hwnd, w);
    EXPECT_EQ(pump.calls, 3) << "the wait pumps until the input arrives, and no further";

    // Nothing from the display: the wait still ends when the timer is due.
    pump.step = nullptr;
    pump.calls = 0;
    ASSERT_TRUE(SetTimer(w, 1, 20, nullptr));
    ASSERT_GT(GetMessageW(&msg, nullptr, 0, 0), 0);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
    EXPECT_GE(pump.calls, 2) << "a 20 ms wait is pumped in slices of " << user::kDisplayPumpSliceMs << " ms";
    KillTimer(w, 1);
}

TEST_F(DisplayHooks, OtherThreadsWaitWithoutThePump)
{
    FakePump pump;
    PumpScope scope(pump);
    const DWORD me = GetCurrentThreadId();
    std::thread other([] {
        MSG msg{};
        const UINT_PTR t = SetTimer(nullptr, 0, 15, nullptr);
        GetMessageW(&msg, nullptr, 0, 0);
        KillTimer(nullptr, t);
    });
    other.join();
    for (DWORD t : pump.threads)
        EXPECT_EQ(t, me);
}

TEST_F(DisplayHooks, MessageBoxWaitsForThePersonAtTheDisplay)
{
    // Headless, a box answers its default button at once; with a display attached the
    // person answers: here Escape, which the pump types once the box is up.
    FakePump pump;
    PumpScope scope(pump);
    EXPECT_TRUE(user::DisplayAttached());
    int okInk = -1, seen = 0;
    pump.step = [&](int) {
        HWND box = FindWindowW(L"#32770", L"Save?");
        if (!box || !IsWindowVisible(box) || user::PendingInputCount() != 0 || ++seen < 3)
            return;
        // The box is up and the thread has been idle since: the default button, which took
        // the focus as the box appeared, shows its caption in dark ink on the button face.
        RECT ok{};
        GetWindowRect(GetDlgItem(box, IDOK), &ok);
        auto s = gdi::DesktopSurface();
        okInk = 0;
        for (int y = ok.top + 4; y < ok.bottom - 4; ++y)
            for (int x = ok.left + 4; x < ok.right - 4; ++x) {
                const uint32_t p = s->Row32(y)[x];
                okInk += ((p >> 16) & 0xFF) < 0x40 && ((p >> 8) & 0xFF) < 0x40 && (p & 0xFF) < 0x40;
            }
        user::InjectKeyPress(VK_ESCAPE);
    };
    EXPECT_EQ(MessageBoxW(nullptr, L"Save changes?", L"Save?", MB_OKCANCEL), IDCANCEL);
    EXPECT_GT(okInk, 0) << "the default button was painted over by the box's background";
}

TEST_F(DisplayHooks, DisplaySizeChangeResizesTheDesktopAndTellsTopLevelWindows)
{
    HWND a = Make(WS_POPUP | WS_VISIBLE, 10, 10, 100, 100);
    HWND child = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, a);
    HWND big = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_MAXIMIZE, 0, 0, 300, 200);
    ASSERT_TRUE(a && child && big);
    ASSERT_TRUE(IsZoomed(big));

    ASSERT_TRUE(user::ChangeDisplaySize(800, 600));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
    RECT desk{};
    GetWindowRect(GetDesktopWindow(), &desk);
    EXPECT_EQ(desk.right, 800);
    EXPECT_EQ(desk.bottom, 600);
    // Two top-level windows, 32 bits a pixel, the size packed low word cx, high word cy.
    const std::pair<WPARAM, LPARAM> expected{32, LPARAM(800 | (600 << 16))};
    EXPECT_EQ(DisplayChanges(), (std::vector<std::pair<WPARAM, LPARAM>>{expected, expected}));
    // The maximised window fills the new width: its client area runs from x 0 to 800.
    RECT client{};
    GetClientRect(big, &client);
    POINT origin{0, 0};
    ClientToScreen(big, &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(client.right, 800);

    struct Bad {
        int cx, cy;
    };
    for (const Bad& b : {Bad{0, 600}, Bad{800, 0}, Bad{-1, 5}, Bad{100000, 100000}}) {
        EXPECT_FALSE(user::ChangeDisplaySize(b.cx, b.cy)) << b.cx << "x" << b.cy;
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800) << b.cx << "x" << b.cy << " changed nothing";
    }
}

TEST_F(DisplayHooks, WithoutADisplayTheHostStaysHeadless)
{
    // No display to open (and only the X11 driver allowed, so a machine with a GPU console
    // does not find one): the presenter says why and nothing changes.
    struct Env {
        std::string name, value;
        bool had;
    };
    std::vector<Env> saved;
    for (const char* n : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
        const char* v = std::getenv(n);
        saved.push_back(Env{n, v ? v : "", v != nullptr});
    }
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("SDL_VIDEODRIVER", "x11", 1);
    std::string why;
    const bool started = display::StartPresenter({}, &why);
    for (const Env& e : saved) {
        if (e.had)
            setenv(e.name.c_str(), e.value.c_str(), 1);
        else
            unsetenv(e.name.c_str());
    }
    EXPECT_FALSE(started);
    EXPECT_FALSE(why.empty()) << "the host is told why";
    EXPECT_FALSE(display::PresenterRunning());
    EXPECT_FALSE(user::DisplayAttached());
    EXPECT_FALSE(gdi::DamageRecording()) << "headless drawing records nothing";
    EXPECT_EQ(MessageBoxW(nullptr, L"Save changes?", L"Save?", MB_OKCANCEL), IDOK)
        << "headless, a box answers its default button as before";
}

// SDL's drivers that show nothing (what it falls back to without a display) count as no
// display: the host stays headless rather than wait on a window nobody sees.
TEST_F(DisplayHooks, DriversThatShowNothingAreNoDisplay)
{
#if defined(ZYN_TEST_NO_DISPLAY)
    GTEST_SKIP() << "built without display support: no display driver is ever asked";
#endif
    const char* had = std::getenv("SDL_VIDEODRIVER");
    const std::string saved = had ? had : "";
    for (const char* driver : {"offscreen", "dummy"}) {
        setenv("SDL_VIDEODRIVER", driver, 1);
        std::string why;
        const bool started = display::StartPresenter({}, &why);
        EXPECT_FALSE(started) << driver;
        EXPECT_NE(why.find(driver), std::string::npos) << driver << ": " << why;
        EXPECT_FALSE(display::PresenterRunning()) << driver;
        EXPECT_FALSE(gdi::DamageRecording()) << driver;
        if (started)
            display::StopPresenter();
    }
    if (had)
        setenv("SDL_VIDEODRIVER", saved.c_str(), 1);
    else
        unsetenv("SDL_VIDEODRIVER");
}

} // namespace
} // namespace zyn::test
