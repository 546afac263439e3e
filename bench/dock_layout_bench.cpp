// The cost of laying out a frame full of size bars: RecalcLayout of a frame with 50 size
// bars in rows of five on its four sides (three rows at the top and bottom, two down each
// side), each call once nothing changed and once after the frame grew or shrank by one
// pixel. Beside them, in the same run, the yardsticks the layout is judged by, each a
// fixed cost per window times 50: B, moving and resizing one plain child window with
// SetWindowPos and repainting what that leaves (its parent painted before, its class
// erasing with a brush, so that no window owes anything from an earlier round), and P,
// repainting one bar (client and non-client area). The goals: nothing changed costs at
// most 0.5 × B; a 1-pixel width change at most 2 × (B + P).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/afx/afxres.h"
#include "platform/afx/frame.h"
#include "platform/afx/winapp.h"
#include "platform/base/clock.h"
#include "platform/user/driver.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/sizable_mini_dock_frame.h"
#include "toolkit/docking/size_control_bar.h"
#include "toolkit/docking/size_dock_bar.h"

namespace {

constexpr int kBars = 50, kPerRow = 5;

struct Side {
    UINT nID;
    DWORD dwStyle;
    int nRows;
};
// Laid out in the order the size-dock frames make them: top, bottom, left, right.
constexpr Side kSides[] = {{AFX_IDW_DOCKBAR_TOP, 0x2800, 3}, {AFX_IDW_DOCKBAR_BOTTOM, 0x8200, 3},
    {AFX_IDW_DOCKBAR_LEFT, 0x1400, 2}, {AFX_IDW_DOCKBAR_RIGHT, 0x4100, 2}};

// A frame with a size dock bar on each side and 50 size bars docked in rows of five.
class BenchFrame {
public:
    BenchFrame()
    {
        zyn::user::ResetWindowSystemForTests();
        zyn::base::Clock::UseVirtual(10000);
        m_app = std::make_unique<CWinApp>(L"DockLayoutBench");
        m_frame = new CFrameWnd;   // deletes itself with its window
        m_frame->Create(nullptr, L"Bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 1200, 1000));
        m_app->m_pMainWnd = m_frame;
        m_frame->m_pFloatingFrameClass = RUNTIME_CLASS(COXSizableMiniDockFrameWnd);
        int next = 0;
        for (const Side& side : kSides) {
            auto* dock = new COXSizeDockBar;
            dock->m_bAutoDelete = TRUE;   // deleted with its window
            dock->Create(m_frame, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | side.dwStyle, side.nID);
            ::SetWindowPos(dock->m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            const bool horz = (side.dwStyle & 0xA000) != 0;
            std::vector<std::vector<CControlBar*>> rows(static_cast<size_t>(side.nRows));
            for (auto& row : rows) {
                for (int i = 0; i < kPerRow; ++i) {
                    auto bar = std::make_unique<COXSizeControlBar>();
                    const CSize size = horz ? CSize(150, 60) : CSize(120, 100);
                    bar->Create(m_frame, L"Bar", static_cast<UINT>(0xE900 - 100 + next++),
                        WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(CPoint(0, 0), size));
                    bar->m_sizeFloat = bar->m_sizeHorzDock = bar->m_sizeVertDock = size;
                    bar->EnableDocking(CBRS_ALIGN_ANY);
                    dock->DockControlBar(bar.get());
                    row.push_back(bar.get());
                    m_bars.push_back(std::move(bar));
                }
            }
            // The rows as wanted: five bars each.
            dock->m_arrBars.RemoveAll();
            dock->m_arrBars.Add(nullptr);
            for (const auto& row : rows) {
                for (CControlBar* bar : row)
                    dock->m_arrBars.Add(bar);
                dock->m_arrBars.Add(nullptr);
            }
        }
        m_frame->RecalcLayout();
        Pump();
    }
    ~BenchFrame()
    {
        m_app->m_pMainWnd = nullptr;
        m_frame->DestroyWindow();
        m_bars.clear();
        m_app.reset();
        zyn::user::ResetWindowSystemForTests();
    }
    BenchFrame(const BenchFrame&) = delete;
    BenchFrame& operator=(const BenchFrame&) = delete;

    static void Pump()
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    CFrameWnd* frame() const { return m_frame; }
    // Whether every side shows its rows of five: as many distinct row positions across the
    // side as rows were made.
    bool RowsAsMade() const
    {
        for (const Side& side : kSides) {
            auto* dock = static_cast<COXSizeDockBar*>(m_frame->GetControlBar(side.nID));
            const bool horz = (side.dwStyle & 0xA000) != 0;
            std::vector<LONG> rows;
            for (int i = 0; i < dock->m_arrBars.GetSize(); ++i) {
                CControlBar* bar = dock->GetDockedControlBar(i);
                if (!bar)
                    continue;
                CRect r;
                bar->GetWindowRect(&r);
                const LONG at = horz ? r.top : r.left;
                if (std::find(rows.begin(), rows.end(), at) == rows.end())
                    rows.push_back(at);
            }
            if (static_cast<int>(rows.size()) != side.nRows)
                return false;
        }
        return true;
    }
    const std::vector<std::unique_ptr<COXSizeControlBar>>& bars() const { return m_bars; }

private:
    std::unique_ptr<CWinApp> m_app;
    CFrameWnd* m_frame = nullptr;
    std::vector<std::unique_ptr<COXSizeControlBar>> m_bars;
};

void RecalcLayoutNothingChanged(benchmark::State& state)
{
    BenchFrame bench;
    if (!bench.RowsAsMade())
        state.SkipWithError("the bars are not in their rows of five");
    for (auto _ : state)
        bench.frame()->RecalcLayout();
}
BENCHMARK(RecalcLayoutNothingChanged)->Unit(benchmark::kMicrosecond);

// The frame's width alternates between two values 1 pixel apart. Resizing the frame lays
// it out at once (its WM_SIZE calls RecalcLayout), so each call is one such resize: the
// new length is shared out again along every top and bottom row and the bars are moved.
void RecalcLayoutAfterOnePixelWidthChange(benchmark::State& state)
{
    BenchFrame bench;
    if (!bench.RowsAsMade())
        state.SkipWithError("the bars are not in their rows of five");
    CRect r;
    bench.frame()->GetWindowRect(&r);
    int step = 0;
    for (auto _ : state) {
        ++step;
        ::SetWindowPos(bench.frame()->m_hWnd, nullptr, 0, 0, r.Width() + (step & 1), r.Height(),
            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
BENCHMARK(RecalcLayoutAfterOnePixelWidthChange)->Unit(benchmark::kMicrosecond);

LRESULT HostProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }

// B: 50 plain children moved and resized, alternately to two places and sizes, and what
// that leaves painted.
void SetWindowPosFiftyChildren(benchmark::State& state)
{
    zyn::user::ResetWindowSystemForTests();
    zyn::base::Clock::UseVirtual(10000);
    WNDCLASSW wc{};
    wc.lpfnWndProc = HostProc;
    wc.lpszClassName = L"DockBenchHost";
    // Erased with a brush, as a bar's background is: a window that declines its erase
    // would owe it (and hear it again) until it is painted.
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    RegisterClassW(&wc);
    const HWND host = CreateWindowExW(0, L"DockBenchHost", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 1200,
        1000, nullptr, nullptr, nullptr, nullptr);
    std::vector<HWND> children;
    for (int i = 0; i < kBars; ++i)
        children.push_back(CreateWindowExW(0, L"DockBenchHost", L"", WS_CHILD | WS_VISIBLE, (i % 10) * 110,
            (i / 10) * 90, 100, 80, host, nullptr, nullptr, nullptr));
    // Painted once, as the frame is before it is laid out: each move then owes only what
    // it exposes.
    RedrawWindow(host, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    int step = 0;
    for (auto _ : state) {
        ++step;
        for (int i = 0; i < kBars; ++i)
            SetWindowPos(children[static_cast<size_t>(i)], nullptr, (i % 10) * 110 + (step & 1),
                (i / 10) * 90 + (step & 1), 100 + (step & 1), 80 + (step & 1), SWP_NOZORDER | SWP_NOACTIVATE);
        // What the moves left to paint is painted, as a message loop would, so that each
        // round starts as the first did.
        RedrawWindow(host, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    DestroyWindow(host);
    zyn::user::ResetWindowSystemForTests();
}
BENCHMARK(SetWindowPosFiftyChildren)->Unit(benchmark::kMicrosecond);

// P: the 50 docked bars repainted, client and non-client area.
void RepaintFiftyBars(benchmark::State& state)
{
    BenchFrame bench;
    if (!bench.RowsAsMade())
        state.SkipWithError("the bars are not in their rows of five");
    for (auto _ : state) {
        for (const auto& bar : bench.bars())
            bar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    }
}
BENCHMARK(RepaintFiftyBars)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
