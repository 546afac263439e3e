// The cost of a message through the class library: SendMessage to a window whose class
// has three levels of message maps (handlers in the first and in the third level, and a
// message no map has), beside a direct virtual call and a plain window procedure in the
// same run. Also the class library's part alone (WindowProc without the window system),
// a command routed through OnCmdMsg, and messages to several windows in turn (each one
// needs its own handle-to-object look-up).
//
// The goal: a message through three levels of maps costs at most 1.2 times a plain
// window procedure. Compare medians of interleaved repetitions, e.g. msg_bench
// --benchmark_filter=SendMessage --benchmark_repetitions=15
// --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include "platform/afx/wnd.h"
#include "platform/user/winuser.h"

namespace {

constexpr UINT WM_L1 = WM_USER + 1, WM_L3 = WM_USER + 3, WM_NONE = WM_USER + 9;
constexpr UINT ID_L1 = 1000;

class CBench1 : public CWnd {
public:
    LRESULT hits = 0;
    afx_msg LRESULT OnL1(WPARAM w, LPARAM) { return hits += static_cast<LRESULT>(w); }
    afx_msg void OnSize(UINT, int, int) {}
    afx_msg void OnCmd() { ++hits; }
    virtual LRESULT Direct(WPARAM w, LPARAM) { return hits += static_cast<LRESULT>(w); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBench1, CWnd)
    ON_MESSAGE(WM_L1, &CBench1::OnL1)
    ON_WM_SIZE()
    ON_COMMAND(ID_L1, &CBench1::OnCmd)
END_MESSAGE_MAP()

class CBench2 : public CBench1 {
public:
    afx_msg void OnMouseMove(UINT, CPoint) {}
    afx_msg void OnTimer(UINT_PTR) {}
    LRESULT Direct(WPARAM w, LPARAM l) override { return CBench1::Direct(w, l); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBench2, CBench1)
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
END_MESSAGE_MAP()

class CBench3 : public CBench2 {
public:
    afx_msg LRESULT OnL3(WPARAM w, LPARAM) { return hits += static_cast<LRESULT>(w); }
    afx_msg void OnKeyDown(UINT, UINT, UINT) {}
    LRESULT Direct(WPARAM w, LPARAM l) override { return CBench2::Direct(w, l); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBench3, CBench2)
    ON_MESSAGE(WM_L3, &CBench3::OnL3)
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

LRESULT PlainProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_L1)
        return static_cast<LRESULT>(w);
    return DefWindowProcW(h, m, w, l);
}

constexpr int kTurns = 8;

struct Window {
    CBench3 wnd;
    CBench3 turns[kTurns];
    HWND plain = nullptr;
    HWND plainTurns[kTurns] = {};
    Window()
    {
        wnd.CreateEx(0, AfxRegisterWndClass(0), L"bench", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr);
        for (CBench3& t : turns)
            t.CreateEx(0, AfxRegisterWndClass(0), L"turn", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr);
        WNDCLASSW wc{};
        wc.lpfnWndProc = &PlainProc;
        wc.lpszClassName = L"MsgBenchPlain";
        RegisterClassW(&wc);
        plain = CreateWindowExW(0, L"MsgBenchPlain", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr,
            nullptr);
        for (HWND& h : plainTurns)
            h = CreateWindowExW(0, L"MsgBenchPlain", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                nullptr);
    }
    ~Window()
    {
        wnd.DestroyWindow();
        for (CBench3& t : turns)
            t.DestroyWindow();
        DestroyWindow(plain);
        for (HWND h : plainTurns)
            DestroyWindow(h);
    }
};

Window& Shared()
{
    static Window w;
    return w;
}

void BM_SendMessage_HandlerInFirstLevel(benchmark::State& state)
{
    Window& w = Shared();
    const HWND h = w.wnd.m_hWnd;
    for (auto _ : state)
        benchmark::DoNotOptimize(SendMessageW(h, WM_L1, 1, 0));
}
BENCHMARK(BM_SendMessage_HandlerInFirstLevel);

void BM_SendMessage_HandlerInThirdLevel(benchmark::State& state)
{
    Window& w = Shared();
    const HWND h = w.wnd.m_hWnd;
    for (auto _ : state)
        benchmark::DoNotOptimize(SendMessageW(h, WM_L3, 1, 0));
}
BENCHMARK(BM_SendMessage_HandlerInThirdLevel);

void BM_SendMessage_NoEntryToDefWindowProc(benchmark::State& state)
{
    Window& w = Shared();
    const HWND h = w.wnd.m_hWnd;
    for (auto _ : state)
        benchmark::DoNotOptimize(SendMessageW(h, WM_NONE, 1, 0));
}
BENCHMARK(BM_SendMessage_NoEntryToDefWindowProc);

void BM_SendMessage_PlainWindowProcedure(benchmark::State& state)
{
    Window& w = Shared();
    for (auto _ : state)
        benchmark::DoNotOptimize(SendMessageW(w.plain, WM_L1, 1, 0));
}
BENCHMARK(BM_SendMessage_PlainWindowProcedure);

void BM_SendMessage_WindowsInTurn(benchmark::State& state)
{
    Window& w = Shared();
    HWND handles[kTurns];
    for (int i = 0; i < kTurns; ++i)
        handles[i] = w.turns[i].m_hWnd;
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SendMessageW(handles[i], WM_L3, 1, 0));
        i = (i + 1) % kTurns;
    }
}
BENCHMARK(BM_SendMessage_WindowsInTurn);

void BM_SendMessage_PlainWindowsInTurn(benchmark::State& state)
{
    Window& w = Shared();
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SendMessageW(w.plainTurns[i], WM_L1, 1, 0));
        i = (i + 1) % kTurns;
    }
}
BENCHMARK(BM_SendMessage_PlainWindowsInTurn);

void BM_WindowProc_MapOnly(benchmark::State& state)
{
    Window& w = Shared();
    CWnd* p = &w.wnd;
    for (auto _ : state)
        benchmark::DoNotOptimize(p->WindowProc(WM_L1, 1, 0));
}
BENCHMARK(BM_WindowProc_MapOnly);

void BM_OnCmdMsg_CommandInFirstLevel(benchmark::State& state)
{
    Window& w = Shared();
    CCmdTarget* p = &w.wnd;
    for (auto _ : state)
        benchmark::DoNotOptimize(p->OnCmdMsg(ID_L1, CN_COMMAND, nullptr, nullptr));
}
BENCHMARK(BM_OnCmdMsg_CommandInFirstLevel);

void BM_DirectVirtualCall(benchmark::State& state)
{
    Window& w = Shared();
    CBench1* p = &w.wnd;
    benchmark::DoNotOptimize(p);
    for (auto _ : state)
        benchmark::DoNotOptimize(p->Direct(1, 0));
}
BENCHMARK(BM_DirectVirtualCall);

} // namespace

BENCHMARK_MAIN();
