// The costs that grow with text: UTF-16 and UTF-8 coding, code-page conversion,
// formatting and CString searching/replacing. Baseline: none in the run; items per second
// at each text length, so a cost that grows faster than the text shows as a falling rate.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/base/codepage.h"
#include "platform/base/cstring.h"
#include "platform/base/format.h"
#include "platform/base/utf16.h"

namespace {

std::wstring SampleText(size_t n)
{
    const std::wstring unit = L"Caf\u00E9 \u20AC12 \U0001F600 text; ";
    std::wstring s;
    while (s.size() < n)
        s += unit;
    s.resize(n);
    return s;
}

void BM_Utf16RoundTrip(benchmark::State& state)
{
    const std::wstring text = SampleText(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        const auto bytes = zyn::base::ToUtf16LE(text);
        benchmark::DoNotOptimize(zyn::base::FromUtf16LE(bytes));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Utf16RoundTrip)->Range(64, 1 << 16);

void BM_Utf8RoundTrip(benchmark::State& state)
{
    const std::wstring text = SampleText(static_cast<size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(zyn::base::FromUtf8(zyn::base::ToUtf8(text)));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Utf8RoundTrip)->Range(64, 1 << 16);

void BM_Ansi1252RoundTrip(benchmark::State& state)
{
    const std::wstring text = SampleText(static_cast<size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(zyn::base::AnsiToWide(zyn::base::WideToAnsi(text, 1252), 1252));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Ansi1252RoundTrip)->Range(64, 1 << 16);

void BM_Format(benchmark::State& state)
{
    CString s;
    for (auto _ : state) {
        s.Format(L"%s=%d (%08X) %.2f %-10s|", L"name", 12345, 0xBEEFu, 3.14159, L"left");
        benchmark::DoNotOptimize(s.GetString());
    }
}
BENCHMARK(BM_Format);

void BM_FormatLongString(benchmark::State& state)
{
    const std::wstring text = SampleText(static_cast<size_t>(state.range(0)));
    CString s;
    for (auto _ : state) {
        s.Format(L"[%s]", text.c_str());
        benchmark::DoNotOptimize(s.GetString());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FormatLongString)->Range(64, 1 << 16);

void BM_Replace(benchmark::State& state)
{
    const CString text(SampleText(static_cast<size_t>(state.range(0))).c_str());
    for (auto _ : state) {
        CString s = text;
        benchmark::DoNotOptimize(s.Replace(L"text", L"words"));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Replace)->Range(64, 1 << 16);

} // namespace

BENCHMARK_MAIN();
