// The suite's MDI main frame (menu bar, main toolbar, a maximised child, a six-pane status
// bar with a progress pane): a pane-text update with its paint under Office 2003 against a
// plain window painting the same text (goal: at most 4 times the plain window), and a full
// repaint of the frame under Office XP and Office 2003 against Classic (goal: at most 3
// times). The baselines run in the same program.
#include <benchmark/benchmark.h>

#include <cwchar>
#include <string>

#include "app/zyn_app.h"
#include "app/zyncmn_resources.h"
#include "frames/zyn_main_frame.h"
#include "platform/afx/afxres.h"
#include "platform/base/clock.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "platform/user/modal.h"
#include "platform/user/winuser.h"
#include "toolkit/skins/status_bar.h"

namespace {

void Pump()
{
    MSG m;
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&m);
        ::DispatchMessageW(&m);
    }
}

HMENU MakeMenu()
{
    const HMENU bar = CreateMenu();
    for (const wchar_t* name : {L"&File", L"&Edit", L"&View", L"&Window", L"&Help"}) {
        const HMENU popup = CreatePopupMenu();
        AppendMenuW(popup, MF_STRING, ID_FILE_NEW, L"&New");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), name);
    }
    return bar;
}

class CBenchFrame : public CZynMainFrame {
public:
    bool Make()
    {
        if (!CreateFrame(nullptr, L"Bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 1000, 700), nullptr, MakeMenu(), 0,
                nullptr))
            return false;
        EnableDocking(CBRS_ALIGN_ANY);
        if (!toolbar.Create(this))
            return false;
        DockControlBar(&toolbar, AFX_IDW_DOCKBAR_TOP);
        AddToolbar(&toolbar);
        static const UINT panes[] = {ID_SEPARATOR, ID_SEPARATOR, ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM,
            ID_INDICATOR_SCRL};
        if (!status.Create(this) || !status.SetIndicators(panes, 6))
            return false;
        status.SetPaneInfo(1, ID_SEPARATOR, SBPS_NORMAL, 140);
        status.SetPaneInfo(2, ID_SEPARATOR, SBPS_NORMAL, 120);
        RecalcLayout();
        status.SetUpBar(1);
        status.SetBarProgress(1, 0, 100, 40);
        return true;
    }
    CToolbarMain toolbar;
    COXStatusBar status;
};

struct Scene {
    explicit Scene(const wchar_t* skin)
    {
        zyn::user::ResetWindowSystemForTests();
        zyn::base::Clock::UseVirtual(10000);
        zyn::user::SetScriptedMode(true);
        zyn::resources::RegisterZynCommonResources();
        app.SetCurrentSkin(skin);
        frame = new CBenchFrame;   // deletes itself with its window
        ok = frame->Make();
        app.m_pMainWnd = frame;
        auto* child = new CMDIChildWnd;
        child->Create(nullptr, L"Door", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), frame);
        frame->MDIMaximize(child);
        frame->RecalcLayout();
        Pump();
        app.OnIdle(0);
        Pump();
        frame->UpdateWindow();
    }
    ~Scene()
    {
        app.m_pMainWnd = nullptr;
        if (::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        Pump();
    }
    CZynApp app{L"FrameBench"};
    CBenchFrame* frame = nullptr;
    bool ok = false;
};

const wchar_t* const kTexts[] = {L"Door 12 opened", L"Door 7 closed", L"Alarm acknowledged", L"Reader 3 offline"};

void PaneTextUpdate2003(benchmark::State& state)
{
    Scene scene(L"Office 2003");
    if (!scene.ok) {
        state.SkipWithError("frame not made");
        return;
    }
    COXStatusBar& bar = scene.frame->status;
    int i = 0;
    for (auto _ : state) {
        bar.SetPaneText(2, kTexts[i++ & 3], TRUE);
        bar.UpdateWindow();
    }
}
BENCHMARK(PaneTextUpdate2003);

// The baseline: a plain window of the status bar's size painting the text in the GUI font.
const wchar_t* g_plainText = L"";
LRESULT PlainProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        const HDC dc = ::BeginPaint(hWnd, &ps);
        RECT rc;
        ::GetClientRect(hWnd, &rc);
        ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
        const HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
        ::SetBkMode(dc, TRANSPARENT);
        ::TextOutW(dc, 200, 3, g_plainText, static_cast<int>(std::wcslen(g_plainText)));
        ::SelectObject(dc, old);
        ::EndPaint(hWnd, &ps);
        return 0;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

void PlainTextPaint(benchmark::State& state)
{
    zyn::user::ResetWindowSystemForTests();
    zyn::base::Clock::UseVirtual(10000);
    zyn::user::SetScriptedMode(true);
    WNDCLASSW wc{};
    wc.lpfnWndProc = &PlainProc;
    wc.lpszClassName = L"PlainBenchText";
    ::RegisterClassW(&wc);
    const HWND hWnd = ::CreateWindowExW(0, L"PlainBenchText", L"", WS_POPUP | WS_VISIBLE, 0, 0, 1000, 22, nullptr,
        nullptr, nullptr, nullptr);
    Pump();
    int i = 0;
    for (auto _ : state) {
        g_plainText = kTexts[i++ & 3];
        ::InvalidateRect(hWnd, nullptr, TRUE);
        ::UpdateWindow(hWnd);
    }
    ::DestroyWindow(hWnd);
    Pump();
}
BENCHMARK(PlainTextPaint);

void FullRepaint(benchmark::State& state, const wchar_t* skin)
{
    Scene scene(skin);
    if (!scene.ok) {
        state.SkipWithError("frame not made");
        return;
    }
    for (auto _ : state)
        scene.frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
BENCHMARK_CAPTURE(FullRepaint, Classic, L"Classic");
BENCHMARK_CAPTURE(FullRepaint, OfficeXP, L"Office XP");
BENCHMARK_CAPTURE(FullRepaint, Office2003, L"Office 2003");

} // namespace

BENCHMARK_MAIN();
