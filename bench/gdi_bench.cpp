// Drawing throughput on a 1280x1024 32-bit surface, beside memset/memcpy of the same
// bytes in the same run: full-screen fills (PatBlt, FillRect), a copy blit (BitBlt
// SRCCOPY) and the raster operations of masked drawing. Bytes processed (of the
// destination) are reported, so the rates compare directly with memcpy's.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/gdi/wingdi.h"

namespace {

constexpr int kW = 1280, kH = 1024;
constexpr size_t kBytes = size_t(kW) * kH * 4;

struct Mem {
    HDC dc;
    HBITMAP bm;
    HGDIOBJ old;
    Mem()
    {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bm = CreateCompatibleBitmap(screen, kW, kH);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bm);
    }
    ~Mem()
    {
        SelectObject(dc, old);
        DeleteObject(bm);
        DeleteDC(dc);
    }
};

void BM_Memset(benchmark::State& state)
{
    std::vector<uint8_t> buf(kBytes);
    for (auto _ : state) {
        std::memset(buf.data(), static_cast<int>(state.iterations() & 0xFF), kBytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK(BM_Memset);

void BM_PatBltFill(benchmark::State& state)
{
    Mem m;
    HBRUSH b = CreateSolidBrush(RGB(10, 20, 30));
    HGDIOBJ old = SelectObject(m.dc, b);
    for (auto _ : state) {
        PatBlt(m.dc, 0, 0, kW, kH, PATCOPY);
        benchmark::ClobberMemory();
    }
    SelectObject(m.dc, old);
    DeleteObject(b);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK(BM_PatBltFill);

void BM_FillRect(benchmark::State& state)
{
    Mem m;
    HBRUSH b = CreateSolidBrush(RGB(10, 20, 30));
    const RECT r{0, 0, kW, kH};
    for (auto _ : state) {
        FillRect(m.dc, &r, b);
        benchmark::ClobberMemory();
    }
    DeleteObject(b);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK(BM_FillRect);

void BM_Memcpy(benchmark::State& state)
{
    std::vector<uint8_t> a(kBytes, 1), b(kBytes, 2);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), kBytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK(BM_Memcpy);

void BM_BitBltCopy(benchmark::State& state)
{
    Mem src, dst;
    for (auto _ : state) {
        BitBlt(dst.dc, 0, 0, kW, kH, src.dc, 0, 0, SRCCOPY);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK(BM_BitBltCopy);

// The raster operations of masked and transparent drawing, each over the whole screen
// with a solid brush selected, beside memcpy of the same bytes.
void BM_BitBltRop(benchmark::State& state, DWORD rop)
{
    Mem src, dst;
    HBRUSH b = CreateSolidBrush(RGB(10, 20, 30));
    HGDIOBJ old = SelectObject(dst.dc, b);
    for (auto _ : state) {
        BitBlt(dst.dc, 0, 0, kW, kH, src.dc, 0, 0, rop);
        benchmark::ClobberMemory();
    }
    SelectObject(dst.dc, old);
    DeleteObject(b);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK_CAPTURE(BM_BitBltRop, SRCAND, SRCAND);
BENCHMARK_CAPTURE(BM_BitBltRop, SRCPAINT, SRCPAINT);
BENCHMARK_CAPTURE(BM_BitBltRop, SRCINVERT, SRCINVERT);
BENCHMARK_CAPTURE(BM_BitBltRop, SRCERASE, SRCERASE);
BENCHMARK_CAPTURE(BM_BitBltRop, MERGECOPY, MERGECOPY);
BENCHMARK_CAPTURE(BM_BitBltRop, MERGEPAINT, MERGEPAINT);
BENCHMARK_CAPTURE(BM_BitBltRop, PATINVERT, PATINVERT);
BENCHMARK_CAPTURE(BM_BitBltRop, DSTINVERT, DSTINVERT);
BENCHMARK_CAPTURE(BM_BitBltRop, PSDPxax, 0x00B8074A);
BENCHMARK_CAPTURE(BM_BitBltRop, DSPDxax, 0x00E20746);
// A code without a kernel of its own: evaluated from its truth byte a word at a time.
BENCHMARK_CAPTURE(BM_BitBltRop, rop_0x1D, 0x001D0000);

// PSDPxax with an 8x8 colour pattern brush: the pattern is tiled into a row per line.
void BM_BitBltRopPatterned(benchmark::State& state)
{
    Mem src, dst;
    HDC screen = GetDC(nullptr);
    HBITMAP pat = CreateCompatibleBitmap(screen, 8, 8);
    ReleaseDC(nullptr, screen);
    HBRUSH b = CreatePatternBrush(pat);
    HGDIOBJ old = SelectObject(dst.dc, b);
    for (auto _ : state) {
        BitBlt(dst.dc, 0, 0, kW, kH, src.dc, 0, 0, 0x00B8074A);
        benchmark::ClobberMemory();
    }
    SelectObject(dst.dc, old);
    DeleteObject(b);
    DeleteObject(pat);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK(BM_BitBltRopPatterned);

// A mono mask drawn onto colour (the mask step of transparent drawing).
void BM_BitBltMonoToColourSrcAnd(benchmark::State& state)
{
    Mem dst;
    HDC mono = CreateCompatibleDC(nullptr);
    HBITMAP bm = CreateBitmap(kW, kH, 1, 1, nullptr);
    HGDIOBJ old = SelectObject(mono, bm);
    for (auto _ : state) {
        BitBlt(dst.dc, 0, 0, kW, kH, mono, 0, 0, SRCAND);
        benchmark::ClobberMemory();
    }
    SelectObject(mono, old);
    DeleteObject(bm);
    DeleteDC(mono);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK(BM_BitBltMonoToColourSrcAnd);

// 1000 strings drawn with DrawText on the same surface, in the dialog font (-11 pixels,
// smooth), transparent, spread over the whole screen.
void BM_DrawText1000(benchmark::State& state)
{
    Mem m;
    HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, DEFAULT_QUALITY, 0, L"MS Shell Dlg");
    HGDIOBJ old = SelectObject(m.dc, font);
    SetBkMode(m.dc, TRANSPARENT);
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            RECT r{(i % 10) * 128, (i / 10) * 10, (i % 10) * 128 + 128, (i / 10) * 10 + 16};
            DrawTextW(m.dc, L"The quick brown fox", -1, &r, DT_SINGLELINE | DT_LEFT);
        }
        benchmark::ClobberMemory();
    }
    SelectObject(m.dc, old);
    DeleteObject(font);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * 1000));
}
BENCHMARK(BM_DrawText1000);

// The same strings measured only (the layout half of DrawText).
void BM_TextExtent1000(benchmark::State& state)
{
    Mem m;
    HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, DEFAULT_QUALITY, 0, L"MS Shell Dlg");
    HGDIOBJ old = SelectObject(m.dc, font);
    SIZE sz{};
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i)
            GetTextExtentPoint32W(m.dc, L"The quick brown fox", 19, &sz);
        benchmark::DoNotOptimize(sz);
    }
    SelectObject(m.dc, old);
    DeleteObject(font);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * 1000));
}
BENCHMARK(BM_TextExtent1000);

} // namespace

BENCHMARK_MAIN();
