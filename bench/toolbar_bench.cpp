// The cost of painting a toolbar control: a full repaint (erase, the custom-draw cycle with
// the parent answering the default, and the classic drawing of every button) of a plain
// 30-button toolbar with an image per button, a few separators, a checked and a disabled
// button; beside it the same buttons on a cool toolbar of a frame, painted through the
// Office 2003 toolbar skin. The baseline of the skinned toolbar is the plain one, in the
// same run.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "platform/afx/frame.h"
#include "platform/afx/winapp.h"
#include "toolkit/menus/cool_toolbar.h"
#include "toolkit/skins/skin_2003.h"
#include "toolkit/skins/skin_lookup.h"

#include "platform/base/clock.h"
#include "platform/comctl/commctrl.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "platform/user/winuser.h"

namespace {

LRESULT HostProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }

HIMAGELIST MakeImages(int count)
{
    HIMAGELIST list = ImageList_Create(16, 15, ILC_COLOR32 | ILC_MASK, count, 4);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 16 * count, 15);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(mem, bmp);
    for (int i = 0; i < count; ++i) {
        RECT r{i * 16 + 2, 2, i * 16 + 14, 13};
        HBRUSH b = CreateSolidBrush(RGB((i * 40) % 256, (i * 90) % 256, (i * 150) % 256));
        FillRect(mem, &r, b);
        DeleteObject(b);
    }
    SelectObject(mem, old);
    DeleteDC(mem);
    ImageList_AddMasked(list, bmp, RGB(0, 0, 0));
    DeleteObject(bmp);
    return list;
}

void PlainToolbarRepaint(benchmark::State& state)
{
    zyn::user::ResetWindowSystemForTests();
    zyn::base::Clock::UseVirtual(10000);
    WNDCLASSW wc{};
    wc.lpfnWndProc = HostProc;
    wc.lpszClassName = L"ToolbarBenchHost";
    RegisterClassW(&wc);
    const HWND host = CreateWindowExW(0, L"ToolbarBenchHost", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
        1000, 200, nullptr, nullptr, nullptr, nullptr);
    const HWND tb = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
        WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | CCS_NORESIZE | CCS_NOPARENTALIGN, 0, 0, 1000, 40, host, nullptr,
        nullptr, nullptr);
    SendMessageW(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    HIMAGELIST images = MakeImages(30);
    SendMessageW(tb, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    std::vector<TBBUTTON> buttons;
    for (int i = 0; i < 30; ++i) {
        if (i % 8 == 7) {
            TBBUTTON sep{};
            sep.fsStyle = BTNS_SEP;
            sep.iString = -1;
            buttons.push_back(sep);
        }
        TBBUTTON b{};
        b.iBitmap = i;
        b.idCommand = 100 + i;
        b.fsState = i == 5 ? 0 : (i == 3 ? TBSTATE_ENABLED | TBSTATE_CHECKED : TBSTATE_ENABLED);
        b.fsStyle = i == 3 ? BTNS_CHECK : BTNS_BUTTON;
        b.iString = -1;
        buttons.push_back(b);
    }
    SendMessageW(tb, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    UpdateWindow(tb);
    for (auto _ : state) {
        RedrawWindow(tb, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    DestroyWindow(host);
    ImageList_Destroy(images);
    zyn::user::ResetWindowSystemForTests();
}
BENCHMARK(PlainToolbarRepaint)->Unit(benchmark::kMicrosecond);

COXSkin* g_benchSkin = nullptr;
COXSkin* BenchSkin() { return g_benchSkin; }

void CoolToolbarRepaint2003(benchmark::State& state)
{
    zyn::user::ResetWindowSystemForTests();
    zyn::base::Clock::UseVirtual(10000);
    {
        CWinApp app(L"ToolbarBench");
        auto skin = std::make_unique<COXSkin2003>();
        g_benchSkin = skin.get();
        const OXSkinSource previous = OXSetSkinSource(&BenchSkin);
        auto* frame = new CFrameWnd;   // deletes itself with its window
        frame->Create(nullptr, L"Bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 1100, 300));
        app.m_pMainWnd = frame;
        auto bar = std::make_unique<COXCoolToolBar>();
        bar->Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP);
        bar->SetSizes(CSize(23, 22), CSize(16, 15));
        HIMAGELIST images = MakeImages(30);
        bar->SetDefaultImageList(images);
        std::vector<UINT> ids;
        for (int i = 0; i < 30; ++i) {
            if (i % 8 == 7)
                ids.push_back(0);
            ids.push_back(100 + static_cast<UINT>(i));
        }
        bar->SetButtons(ids.data(), static_cast<int>(ids.size()));
        bar->SendMessage(TB_CHECKBUTTON, 103, TRUE);
        bar->SendMessage(TB_ENABLEBUTTON, 105, FALSE);
        frame->RecalcLayout();
        bar->UpdateWindow();
        for (auto _ : state) {
            bar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        }
        bar->SetDefaultImageList(nullptr);
        bar.reset();
        frame->DestroyWindow();
        ImageList_Destroy(images);
        OXSetSkinSource(previous);
        g_benchSkin = nullptr;
    }
    zyn::user::ResetWindowSystemForTests();
}
BENCHMARK(CoolToolbarRepaint2003)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
