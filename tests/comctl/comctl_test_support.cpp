#include "tests/comctl/comctl_test_support.h"

#include <algorithm>
#include <mutex>

#include "platform/afx/tooltip_thread.h"
#include "platform/afx/winthread.h"
#include "platform/gdi/gdi_object.h"
#include "platform/gdi/sysmetrics.h"
#include "platform/user/queue_internal.h"
#include "tests/support/pump.h"

namespace zyn::test {

namespace {

LRESULT HostProc(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if ((m >= WM_MOUSEFIRST && m <= WM_MBUTTONDBLCLK) || m == WM_NCMOUSEMOVE) {
        if (HWND tip = ComctlTest::Relay(); tip && IsWindow(tip)) {
            MSG msg{h, m, wp, lp, static_cast<DWORD>(GetMessageTime()), {}};
            const DWORD pos = GetMessagePos();
            msg.pt = POINT{GET_X_LPARAM(static_cast<LPARAM>(pos)), GET_Y_LPARAM(static_cast<LPARAM>(pos))};
            SendMessageW(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
        }
    }
    if (m == WM_NOTIFYFORMAT) {
        const auto& a = ComctlTest::AnsiHosts();
        return std::find(a.begin(), a.end(), h) != a.end() ? NFR_ANSI : NFR_UNICODE;
    }
    if (m == WM_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        ComctlTest::Notices().push_back(Notice{h, hdr->code, hdr->idFrom, hdr->hwndFrom});
        if ((hdr->code == TTN_GETDISPINFOW || hdr->code == TTN_GETDISPINFOA) && ComctlTest::OnNeedText())
            ComctlTest::OnNeedText()(h, hdr);
        if (hdr->code == TTN_SHOW && ComctlTest::OnShow())
            return ComctlTest::OnShow()(h, hdr);
        return 0;
    }
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT rc;
        GetClientRect(h, &rc);
        FillRect(dc, &rc, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1)));
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProcW(h, m, wp, lp);
}

} // namespace

size_t LiveTimerCount()
{
    user::ThreadQueue& q = user::MyQueue();
    std::lock_guard lock(q.m);
    return q.timers.size();
}

void ComctlTest::SetUp()
{
    user::ResetWindowSystemForTests();
    base::Clock::UseVirtual(100000);
    Relay() = nullptr;
    Notices().clear();
    AnsiHosts().clear();
    OnNeedText() = nullptr;
    OnShow() = nullptr;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &HostProc;
    wc.lpszClassName = kHostClass;
    ASSERT_NE(RegisterClassExW(&wc), 0);
    m_objects = gdi::LiveObjectCount();
    m_dcs = gdi::LiveDcCount();
    m_hooks = user::LiveHookCount();
}

void ComctlTest::TearDown()
{
    afx::DestroyThreadToolTip();
    Pump();
    EXPECT_EQ(user::LiveWindowCount(), 0u) << "windows leaked";
    EXPECT_EQ(comctl::LiveToolTipCount(), 0u) << "tooltip states leaked";
    EXPECT_EQ(comctl::SubclassedWindowCount(), 0u) << "subclass records leaked";
    EXPECT_EQ(LiveTimerCount(), 0u) << "timers leaked";
    EXPECT_EQ(user::LiveHookCount(), m_hooks) << "hooks leaked";
    EXPECT_EQ(gdi::LiveObjectCount(), m_objects) << "GDI objects leaked";
    EXPECT_EQ(gdi::LiveDcCount(), m_dcs) << "DCs leaked";
    OnNeedText() = nullptr;
    OnShow() = nullptr;
    Relay() = nullptr;
    user::ResetWindowSystemForTests();
}

HWND ComctlTest::MakeHost(int x, int y, int cx, int cy, HWND parent, UINT id, DWORD style)
{
    const DWORD kind = parent ? WS_CHILD : WS_POPUP;
    return CreateWindowExW(0, kHostClass, L"", kind | style, x, y, cx, cy, parent,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

HWND ComctlTest::MakeTip(HWND owner, DWORD style)
{
    return CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, nullptr, nullptr);
}

BOOL ComctlTest::AddTool(HWND tip, HWND hwnd, UINT_PTR id, RECT rect, LPCWSTR text, UINT flags)
{
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = flags;
    ti.hwnd = hwnd;
    ti.uId = id;
    ti.rect = rect;
    ti.lpszText = const_cast<LPWSTR>(text);
    return static_cast<BOOL>(SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
}

BOOL ComctlTest::AddWindowTool(HWND tip, HWND parent, HWND tool, LPCWSTR text, UINT flags)
{
    return AddTool(tip, parent, reinterpret_cast<UINT_PTR>(tool), RECT{}, text, flags | TTF_IDISHWND);
}

void ComctlTest::Pump()
{
    zyn::test::PumpMessages([](MSG& m) { return AfxPreTranslateMessage(&m) != FALSE; });
}

void ComctlTest::Advance(uint64_t ms, uint64_t step)
{
    while (ms > 0) {
        const uint64_t d = std::min(ms, step);
        base::Clock::Advance(d);
        Pump();
        ms -= d;
    }
}

void ComctlTest::MoveTo(int x, int y)
{
    user::InjectMouseMove(x, y);
    Pump();
}

RECT ComctlTest::WindowRectOf(HWND h)
{
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

size_t ComctlTest::CountNotices(UINT code)
{
    return static_cast<size_t>(
        std::count_if(Notices().begin(), Notices().end(), [&](const Notice& n) { return n.code == code; }));
}

COLORREF ComctlTest::ScreenPixel(int x, int y)
{
    user::PaintPendingWindows();
    HDC dc = GetDC(nullptr);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(nullptr, dc);
    return c;
}

} // namespace zyn::test
