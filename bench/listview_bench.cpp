// The list view at the session log's size: filling a two-column report of n rows (append
// and front insertion), emptying it, and painting it, for n from 1,000 to 100,000. Time per
// row should stay flat as n grows: the baseline of each size is the smallest one, in the
// same run.
#include <benchmark/benchmark.h>

#include "platform/comctl/commctrl.h"
#include "platform/user/driver.h"
#include "platform/user/winuser.h"

namespace {

struct List {
    HWND parent = nullptr;
    HWND list = nullptr;
    List()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &DefWindowProcW;
        wc.lpszClassName = L"ListBenchParent";
        RegisterClassW(&wc);
        parent = CreateWindowExW(0, L"ListBenchParent", L"", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr,
            nullptr, nullptr);
        list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 600, 400, parent,
            nullptr, nullptr, nullptr);
        for (int c = 0; c < 2; ++c) {
            LVCOLUMNW col{};
            col.mask = LVCF_WIDTH | LVCF_TEXT;
            col.cx = 200;
            col.pszText = const_cast<LPWSTR>(c ? L"Status" : L"Date");
            SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&col));
        }
    }
    ~List() { DestroyWindow(parent); }
};

void Fill(HWND list, int n, bool front)
{
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.pszText = const_cast<LPWSTR>(L"Jul 05 2008 03:04:05PM");
    LVITEMW sub{};
    sub.iSubItem = 1;
    sub.pszText = const_cast<LPWSTR>(L"Success");
    for (int i = 0; i < n; ++i) {
        item.iItem = front ? 0 : i;
        item.lParam = i;
        const int at = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&sub));
    }
}

void BM_AppendThenDeleteAll(benchmark::State& state)
{
    List l;
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Fill(l.list, n, false);
        SendMessageW(l.list, LVM_DELETEALLITEMS, 0, 0);
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_AppendThenDeleteAll)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_InsertAtFrontThenDeleteFromFront(benchmark::State& state)
{
    List l;
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Fill(l.list, n, true);
        for (int i = 0; i < n; ++i)
            SendMessageW(l.list, LVM_DELETEITEM, 0, 0);
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_InsertAtFrontThenDeleteFromFront)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_PaintAPage(benchmark::State& state)
{
    List l;
    const int n = static_cast<int>(state.range(0));
    Fill(l.list, n, false);
    for (auto _ : state) {
        InvalidateRect(l.list, nullptr, TRUE);
        UpdateWindow(l.list);
    }
}
BENCHMARK(BM_PaintAPage)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
