// Switching among 200 MDI children: by clicking their tabs in a multi-line tab workspace
// that shows them all (the click, the activation, the refresh the activation posts, the
// frame's layout and the repaint, to idle), against WM_MDIACTIVATE of the same children in
// a frame without tabs, repainted likewise. Beside them an idle refresh with nothing
// changed, which must lay nothing out (counted) and touch no tab.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/afx/mdi.h"
#include "platform/afx/winapp.h"
#include "platform/base/clock.h"
#include "platform/user/driver.h"
#include "platform/user/modal.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/tab_client.h"

namespace {

constexpr int kChildren = 200;

class CountingFrame : public CMDIFrameWnd {
public:
    void RecalcLayout(BOOL bNotify = TRUE) override
    {
        ++layouts;
        CMDIFrameWnd::RecalcLayout(bNotify);
    }
    int layouts = 0;
};

void Pump()
{
    MSG m;
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&m);
        ::DispatchMessageW(&m);
    }
}

struct Scene {
    explicit Scene(bool tabs)
    {
        zyn::user::ResetWindowSystemForTests();
        zyn::base::Clock::UseVirtual(10000);
        zyn::user::SetScriptedMode(true);
        frame = new CountingFrame;
        frame->Create(nullptr, L"Bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 1600, 1000));
        app.m_pMainWnd = frame;
        for (int i = 0; i < kChildren; ++i) {
            auto* child = new CMDIChildWnd;
            child->Create(nullptr, (L"C" + std::to_wstring(i)).c_str(), WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                CRect(i % 40 * 10, i % 40 * 10, i % 40 * 10 + 300, i % 40 * 10 + 200), frame);
            children.push_back(child);
        }
        if (tabs)
            client.Attach(frame, TCS_MULTILINE);
        Pump();
        frame->UpdateWindow();
    }
    ~Scene()
    {
        client.Detach();
        frame->DestroyWindow();
        app.m_pMainWnd = nullptr;
        Pump();
    }
    CWinApp app{L"TabBench"};
    CountingFrame* frame = nullptr;
    COXTabClientWnd client;
    std::vector<CMDIChildWnd*> children;
};

void ClickTabs(benchmark::State& state)
{
    Scene scene(true);
    COXTabWorkspace& tabs = *scene.client.GetTabCtrl();
    int i = 0;
    for (auto _ : state) {
        CRect r;
        tabs.GetItemRect(i, &r);
        const CPoint pt = r.CenterPoint();
        const LPARAM at = MAKELPARAM(pt.x, pt.y);
        tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        tabs.SendMessage(WM_LBUTTONUP, 0, at);
        Pump();
        scene.frame->UpdateWindow();
        i = (i + 37) % kChildren;
    }
    state.counters["tabs"] = tabs.GetItemCount();
    state.counters["rows"] = tabs.GetRowCount();
}
BENCHMARK(ClickTabs)->Unit(benchmark::kMicrosecond);

void MdiActivateBaseline(benchmark::State& state)
{
    Scene scene(false);
    int i = 0;
    for (auto _ : state) {
        ::SendMessageW(scene.frame->m_hWndMDIClient, WM_MDIACTIVATE,
            reinterpret_cast<WPARAM>(scene.children[static_cast<size_t>(i)]->m_hWnd), 0);
        Pump();
        scene.frame->UpdateWindow();
        i = (i + 37) % kChildren;
    }
}
BENCHMARK(MdiActivateBaseline)->Unit(benchmark::kMicrosecond);

// One full repaint of the 200 tabs (with their icons), for scale.
void RepaintTabs(benchmark::State& state)
{
    Scene scene(true);
    COXTabWorkspace& tabs = *scene.client.GetTabCtrl();
    for (auto _ : state) {
        tabs.Invalidate();
        tabs.UpdateWindow();
    }
}
BENCHMARK(RepaintTabs)->Unit(benchmark::kMicrosecond);

void IdleRefresh(benchmark::State& state)
{
    Scene scene(true);
    COXTabWorkspace& tabs = *scene.client.GetTabCtrl();
    tabs.UpdateContents(TRUE, FALSE);
    const int before = scene.frame->layouts;
    for (auto _ : state)
        tabs.UpdateContents(TRUE, FALSE);
    state.counters["layouts"] = scene.frame->layouts - before;
}
BENCHMARK(IdleRefresh)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
