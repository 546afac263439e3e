// The shortcut bar's list at 10,000 items: filling a group (per insertion, at 1,000 and at
// 10,000 items), laying it out, and painting it page by page, each per item against a
// baseline measured in the same run on the same window DC: DrawText with DT_CALCRECT of
// the same labels in the same font for the layout, FillRect plus DrawText of the same
// rectangles and labels for the painting.
//
// Goals: layout within 2x the measuring baseline, painting within 4x the painting
// baseline, and an insertion at 10,000 items within 2x of one at 1,000.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/afx/afxstate.h"
#include "platform/afx/gdi/image_list.h"
#include "platform/afx/wnd.h"
#include "platform/gdi/wingdi.h"
#include "platform/user/driver.h"
#include "platform/user/winuser.h"
#include "toolkit/docking/shb_bar.h"
#include "toolkit/docking/shb_list.h"

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 600;

std::wstring Label(int i) { return L"Item number " + std::to_wstring(i); }

HIMAGELIST Images(int side)
{
    HIMAGELIST list = ImageList_Create(side, side, ILC_COLOR32 | ILC_MASK, 4, 4);
    std::vector<uint32_t> bits(static_cast<size_t>(side * side), 0x00C08040);
    HBITMAP bm = CreateBitmap(side, side, 1, 32, bits.data());
    ImageList_Add(list, bm, nullptr);
    DeleteObject(bm);
    return list;
}

// A parent window, a bar in it and one expanded group in large icons.
struct Scene {
    CWnd parent;
    std::unique_ptr<COXShortcutBar> bar;
    CImageList large, small;
    HSHBGROUP group = nullptr;

    Scene()
    {
        parent.CreateEx(0, AfxRegisterWndClass(0), L"bench", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr,
            nullptr);
        bar = std::make_unique<COXShortcutBar>();
        bar->Create(&parent, CRect(0, 0, kWidth, kHeight), SHBS_DISABLEDRAGITEM, 1);
        group = bar->InsertGroup(L"Group");
        large.Attach(Images(32));
        small.Attach(Images(16));
        bar->SetLCImageList(group, &large, LVSIL_NORMAL);
        bar->SetLCImageList(group, &small, LVSIL_SMALL);
        bar->ExpandGroup(group);
    }
    ~Scene()
    {
        bar.reset();
        parent.DestroyWindow();
        large.DeleteImageList();
        small.DeleteImageList();
    }
    COXSHBListCtrl* List() const { return bar->GetGroupListCtrl(group); }
    void Fill(int n)
    {
        for (int i = 0; i < n; ++i)
            bar->InsertLCItem(group, i, Label(i).c_str(), 0);
    }
};

void Drain()
{
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&m);
}

void BM_InsertPerItem(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto scene = std::make_unique<Scene>();
        state.ResumeTiming();
        scene->Fill(n);
        state.PauseTiming();
        scene.reset();
        Drain();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_InsertPerItem)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Laying out every item from scratch (each measured once).
void BM_Layout(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Scene scene;
    scene.Fill(n);
    COXSHBListCtrl* list = scene.List();
    for (auto _ : state)
        list->CalculateBoundRects();
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_Layout)->Arg(10000)->Unit(benchmark::kMillisecond);

// The same labels measured with DrawText in the list's DC and font, as the layout does.
void BM_BaselineMeasure(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Scene scene;
    scene.Fill(n);
    COXSHBListCtrl* list = scene.List();
    CRect client;
    list->GetClientRect(&client);
    std::vector<std::wstring> labels;
    for (int i = 0; i < n; ++i)
        labels.push_back(Label(i));
    HDC dc = GetDC(list->m_hWnd);
    HFONT font = CreateFontIndirectW(scene.bar->GetGroupTextFont(scene.group));
    HGDIOBJ old = SelectObject(dc, font);
    for (auto _ : state) {
        for (const std::wstring& l : labels) {
            RECT r{0, 0, client.Width() - 4, 0};
            DrawTextW(dc, l.c_str(), static_cast<int>(l.size()), &r, 0x2415);
            benchmark::DoNotOptimize(r);
        }
    }
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(list->m_hWnd, dc);
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_BaselineMeasure)->Arg(10000)->Unit(benchmark::kMillisecond);

// The pages of the list: scrolled from the top to the end one page at a time, each
// painted; the items painted are counted.
void BM_PaintPages(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Scene scene;
    scene.Fill(n);
    COXSHBListCtrl* list = scene.List();
    CRect client;
    list->GetClientRect(&client);
    const int page = client.Height() - 4;
    int64_t painted = 0;
    for (auto _ : state) {
        // The first page painted here, every further one by the scroll that brings it.
        POINT origin{};
        list->GetOrigin(&origin);
        if (origin.y != 0) {
            list->Scroll(CSize(0, -origin.y));
        } else {
            InvalidateRect(list->m_hWnd, nullptr, FALSE);
            UpdateWindow(list->m_hWnd);
        }
        do
            painted += list->GetCountPerPage();
        while (list->Scroll(CSize(0, page)));
    }
    state.SetItemsProcessed(painted);
}
BENCHMARK(BM_PaintPages)->Arg(10000)->Unit(benchmark::kMillisecond);

// The same item rectangles filled and their labels drawn, page by page, in the list's DC.
void BM_BaselinePaint(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Scene scene;
    scene.Fill(n);
    COXSHBListCtrl* list = scene.List();
    CRect client;
    list->GetClientRect(&client);
    struct Item {
        CRect row, label;
        std::wstring text;
    };
    std::vector<Item> items;
    for (int i = 0; i < n; ++i) {
        Item it;
        list->GetItemRect(i, &it.row, SHBLC_ENTIREITEM);
        list->GetItemRect(i, &it.label, LVIR_LABEL);
        it.text = Label(i);
        items.push_back(it);
    }
    const int page = client.Height() - 4;
    HDC dc = GetDC(list->m_hWnd);
    HFONT font = CreateFontIndirectW(scene.bar->GetGroupTextFont(scene.group));
    HGDIOBJ old = SelectObject(dc, font);
    HBRUSH brush = CreateSolidBrush(RGB(128, 128, 128));
    SetBkMode(dc, TRANSPARENT);
    int64_t painted = 0;
    for (auto _ : state) {
        size_t first = 0;
        for (int top = 0; top < items.back().row.bottom; top += page) {
            FillRect(dc, &client, brush);
            while (first < items.size() && items[first].row.bottom <= top)
                ++first;
            for (size_t i = first; i < items.size() && items[i].row.top < top + page + 4; ++i) {
                const Item& it = items[i];
                CRect row = it.row, label = it.label;
                row.OffsetRect(0, -top);
                label.OffsetRect(0, -top);
                FillRect(dc, &row, brush);
                DrawTextW(dc, it.text.c_str(), static_cast<int>(it.text.size()), &label, 0xA015);
                ++painted;
            }
        }
    }
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(list->m_hWnd, dc);
    state.SetItemsProcessed(painted);
}
BENCHMARK(BM_BaselinePaint)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
