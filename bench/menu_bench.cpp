// The cost of a popup menu: TrackPopupMenu opening a 40-item popup, laying it out,
// creating and showing its "#32768" window, painting every item through the system
// procedure, and closing it again (the loop ends from its first idle turn). Beside it the
// same popup as an owner-drawn bitmap menu in the Office XP skin: every item measured and
// painted through the skin, the popup run by the skin's procedure with its frame, strip and
// recorded drop shadow. The baseline of the skinned popup is the system one, in the same
// run.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/base/clock.h"
#include "platform/user/driver.h"
#include "platform/user/menu.h"
#include "platform/user/modal.h"
#include "platform/user/popup_menu.h"
#include "platform/user/winuser.h"
#include "platform/afx/gdi/bitmap.h"
#include "platform/gdi/wingdi.h"
#include "platform/afx/gdi/dc.h"
#include "platform/afx/gdi/image_list.h"
#include "platform/afx/wnd.h"
#include "toolkit/menus/bitmap_menu.h"
#include "toolkit/skins/skin_lookup.h"
#include "toolkit/skins/skin_xp.h"

namespace {

LRESULT OwnerProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }

void PlainPopup(benchmark::State& state)
{
    zyn::user::ResetWindowSystemForTests();
    zyn::base::Clock::UseVirtual(10000);
    zyn::user::SetScriptedMode(true);
    WNDCLASSW wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.lpszClassName = L"MenuBenchOwner";
    RegisterClassW(&wc);
    const HWND owner = CreateWindowExW(0, L"MenuBenchOwner", L"", WS_POPUP | WS_VISIBLE, 0, 0, 800, 800, nullptr,
        nullptr, nullptr, nullptr);
    const HMENU menu = CreatePopupMenu();
    for (int i = 0; i < 40; ++i) {
        const std::wstring text = L"&Item number " + std::to_wstring(i) + (i % 4 == 0 ? L"\tCtrl+" + std::to_wstring(i) : L"");
        AppendMenuW(menu, MF_STRING | (i % 7 == 0 ? MF_CHECKED : 0) | (i % 9 == 0 ? MF_GRAYED : 0),
            static_cast<UINT_PTR>(100 + i), text.c_str());
    }
    for (auto _ : state) {
        // Shown and painted before the loop first runs dry; EndMenu then closes it.
        zyn::user::QueueIdleAction([] { EndMenu(); });
        benchmark::DoNotOptimize(TrackPopupMenu(menu, TPM_RETURNCMD, 20, 20, 0, owner, nullptr));
    }
    state.SetItemsProcessed(state.iterations() * 40);
    DestroyMenu(menu);
    DestroyWindow(owner);
    zyn::user::ResetWindowSystemForTests();
}
BENCHMARK(PlainPopup)->Name("plain popup")->Unit(benchmark::kMicrosecond);

// An owner that hands WM_MEASUREITEM to the bitmap menu (drawing reaches it by itself).
class BitmapMenuOwner : public CWnd {
public:
    COXBitmapMenu* menu = nullptr;

protected:
    afx_msg void OnMeasureItem(int, LPMEASUREITEMSTRUCT lpMeasureItemStruct) { menu->MeasureItem(lpMeasureItemStruct); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(BitmapMenuOwner, CWnd)
    ON_WM_MEASUREITEM()
END_MESSAGE_MAP()

COXSkin* g_benchSkin = nullptr;
COXSkin* BenchSkin() { return g_benchSkin; }

void OwnerDrawnPopup(benchmark::State& state)
{
    zyn::user::ResetWindowSystemForTests();
    zyn::base::Clock::UseVirtual(10000);
    zyn::user::SetScriptedMode(true);
    {
        COXSkinXP skin;
        g_benchSkin = &skin;
        OXSetSkinSource(&BenchSkin);
        CImageList images;
        images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 4);
        {
            const HDC screen = ::GetDC(nullptr);
            CBitmap bitmap;
            bitmap.Attach(::CreateCompatibleBitmap(screen, 16, 16));
            ::ReleaseDC(nullptr, screen);
            CDC dc;
            dc.CreateCompatibleDC(nullptr);
            CBitmap* old = dc.SelectObject(&bitmap);
            dc.FillSolidRect(0, 0, 16, 16, RGB(255, 0, 255));
            dc.FillSolidRect(2, 2, 12, 12, RGB(0, 0, 200));
            dc.SelectObject(old);
            images.Add(&bitmap, RGB(255, 0, 255));
        }
        COXImageInfo image(&images, 0, FALSE, -1);
        COXBitmapMenu menu;
        menu.CreatePopupMenu();
        for (int i = 0; i < 40; ++i) {
            const std::wstring text =
                L"&Item number " + std::to_wstring(i) + (i % 4 == 0 ? L"\tCtrl+" + std::to_wstring(i) : L"");
            auto* record = new COXItemInfo(&image, text.c_str());
            menu.AddItemInfo(record);
            ::AppendMenuW(menu.GetSafeHmenu(),
                MF_OWNERDRAW | (i % 7 == 0 ? MF_CHECKED : 0) | (i % 9 == 0 ? MF_GRAYED : 0),
                static_cast<UINT_PTR>(100 + i), reinterpret_cast<LPCWSTR>(record));
        }
        menu.CalcExtents();
        BitmapMenuOwner owner;
        owner.menu = &menu;
        owner.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, 800, 1000, nullptr, nullptr);
        for (auto _ : state) {
            zyn::user::QueueIdleAction([] { EndMenu(); });
            benchmark::DoNotOptimize(menu.TrackPopupMenu(TPM_RETURNCMD, 20, 20, &owner));
        }
        state.SetItemsProcessed(state.iterations() * 40);
        owner.DestroyWindow();
        OXSetSkinSource(nullptr);
        g_benchSkin = nullptr;
    }
    zyn::user::ResetWindowSystemForTests();
}
BENCHMARK(OwnerDrawnPopup)->Name("owner-drawn popup, Office XP")->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
