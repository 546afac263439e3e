// The per-row costs of archive files: parsing and formatting dates, and converting
// times through the zone.
#include <benchmark/benchmark.h>

#include "platform/base/ctime.h"
#include "platform/base/locale.h"
#include "platform/base/oledatetime.h"
#include "platform/base/systime.h"
#include "platform/base/testhooks_time.h"

namespace {

void BM_VarDateFromStr(benchmark::State& state)
{
    zyn::base::SetUserLocaleForTests(LCID_DE_DE);
    for (auto _ : state) {
        DATE dt = 0;
        benchmark::DoNotOptimize(VarDateFromStr(L"Jul 05 2008 03:04:05PM", LANG_USER_DEFAULT, 0, &dt));
        benchmark::DoNotOptimize(dt);
    }
}
BENCHMARK(BM_VarDateFromStr);

void BM_OleDateTimeFormat(benchmark::State& state)
{
    const COleDateTime dt(2008, 7, 5, 15, 4, 5);
    for (auto _ : state)
        benchmark::DoNotOptimize(dt.Format(0, LCID_EN_US));
}
BENCHMARK(BM_OleDateTimeFormat);

void BM_CTimeFormat(benchmark::State& state)
{
    zyn::base::SetTimeZoneForTests(L"Europe/Berlin");
    const CTime t(int64_t{1215263045});
    for (auto _ : state)
        benchmark::DoNotOptimize(t.Format(L"%b %d %Y %I:%M:%S%p"));
}
BENCHMARK(BM_CTimeFormat);

void BM_UtcToLocal(benchmark::State& state)
{
    zyn::base::SetTimeZoneForTests(L"Europe/Berlin");
    SYSTEMTIME utc{2008, 7, 6, 5, 13, 4, 5, 0};
    SYSTEMTIME local{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local));
        benchmark::DoNotOptimize(local);
    }
}
BENCHMARK(BM_UtcToLocal);

} // namespace

BENCHMARK_MAIN();
