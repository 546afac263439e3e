#pragma once
// Fixture of the common-control tests: a fresh window system on the virtual clock, host
// windows that relay their mouse messages to a tooltip and record the notifications
// they get, and checks that no window, hook, timer, subclass, tooltip state, GDI object
// or DC is left behind.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/base/clock.h"
#include "platform/comctl/commctrl.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "platform/user/winuser.h"
#include "tests/support/font_extent.h"

namespace zyn::test {

// One WM_NOTIFY a host received from a tooltip.
struct Notice {
    HWND host;
    UINT code;
    UINT_PTR idFrom;
    HWND from;
};

class ComctlTest : public ::testing::Test {
public:
    // A top-level or child window that relays its mouse messages to `Relay()` (when set),
    // records tooltip notifications, answers TTN_GETDISPINFO through `OnNeedText` and
    // WM_NOTIFYFORMAT with NFR_ANSI for windows listed in `AnsiHosts()`.
    static constexpr const wchar_t* kHostClass = L"TipHost";
    static inline HWND relay = nullptr;
    static inline std::vector<Notice> notices;
    static inline std::vector<HWND> ansiHosts;
    static inline std::function<void(HWND host, NMHDR* hdr)> onNeedText;
    static inline std::function<LRESULT(HWND host, NMHDR* hdr)> onShow;
    static HWND& Relay() { return relay; }
    static std::vector<Notice>& Notices() { return notices; }
    static std::vector<HWND>& AnsiHosts() { return ansiHosts; }
    static auto& OnNeedText() { return onNeedText; }
    static auto& OnShow() { return onShow; }

protected:
    void SetUp() override;
    void TearDown() override;

    // A host window (screen coordinates for top-level ones, the parent's client
    // coordinates for children).
    static HWND MakeHost(int x, int y, int cx, int cy, HWND parent = nullptr, UINT id = 0,
        DWORD style = WS_VISIBLE);
    // A tooltip owned by `owner`.
    static HWND MakeTip(HWND owner, DWORD style = TTS_ALWAYSTIP | TTS_NOPREFIX);
    // Adds a tool; `text` may be LPSTR_TEXTCALLBACK.
    static BOOL AddTool(HWND tip, HWND hwnd, UINT_PTR id, RECT rect, LPCWSTR text, UINT flags = 0);
    static BOOL AddWindowTool(HWND tip, HWND parent, HWND tool, LPCWSTR text, UINT flags = 0);
    // Runs the queue until nothing is left to do now (messages offered to the class
    // library's PreTranslateMessage first, as its message loop does).
    static void Pump();
    // Moves the clock and runs what became due, in steps of at most `step` ms so that
    // periodic timers fire as often as they would.
    static void Advance(uint64_t ms, uint64_t step = 10);
    static void MoveTo(int x, int y);
    static bool Visible(HWND tip) { return IsWindowVisible(tip) != FALSE; }
    static RECT WindowRectOf(HWND h);
    static size_t CountNotices(UINT code);
    // The line height of the system tooltip (status) font (tests/support/font_extent.h).
    static int StatusFontHeight()
    {
        int h = 0;
        StatusFontExtent(L"", &h);
        return h;
    }
    static COLORREF ScreenPixel(int x, int y);

private:
    size_t m_objects = 0;
    size_t m_dcs = 0;
    size_t m_hooks = 0;
};

// Timers of the calling thread (window and thread timers), for leak checks.
size_t LiveTimerCount();

} // namespace zyn::test
