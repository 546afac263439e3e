// The per-row costs of archive files: parsing and formatting dates, and converting
// times through the zone. Baseline: none in the run; the rates are compared with earlier
// runs (the archive benchmarks set the rows' whole cost beside raw ODBC).
#include <benchmark/benchmark.h>

#include "common/zyn_timestamp.h"
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

// Text in the locale's own short form, month names of the locale, and text that is no
// date: the forms the archive restores fall back to.
void BM_VarDateFromStrLocaleForms(benchmark::State& state)
{
    zyn::base::SetUserLocaleForTests(LCID_FR_FR);
    static const wchar_t* const inputs[] = {L"05/07/2008 15:04:05", L"5 juillet 2008 15:04", L"samedi 5 juil. 2008",
        L"not a date at all"};
    size_t i = 0;
    for (auto _ : state) {
        DATE dt = 0;
        benchmark::DoNotOptimize(VarDateFromStr(inputs[i++ % 4], LANG_USER_DEFAULT, 0, &dt));
        benchmark::DoNotOptimize(dt);
    }
    zyn::base::SetUserLocaleForTests(0);
}
BENCHMARK(BM_VarDateFromStrLocaleForms);

// The archive date field: the fixed English form, and a German date through the
// locale fallback.
void BM_ArchiveTimestampText(benchmark::State& state)
{
    zyn::base::SetUserLocaleForTests(LCID_DE_DE);
    const CString english(L"Jul 05 2008 03:04:05PM");
    const CString german(L"05.07.2008 15:04:05");
    bool flip = false;
    for (auto _ : state) {
        TIMESTAMP_STRUCT ts{};
        benchmark::DoNotOptimize(ZynTextToTimestamp((flip = !flip) ? english : german, ts));
        benchmark::DoNotOptimize(ts);
    }
    zyn::base::SetUserLocaleForTests(0);
}
BENCHMARK(BM_ArchiveTimestampText);

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
