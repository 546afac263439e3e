#include <gtest/gtest.h>

#include "common/zyn_datetime.h"
#include "platform/base/testhooks_time.h"

namespace {

// A zone record for central Europe: UTC+1, daylight saving from the last Sunday of March
// 02:00 to the last Sunday of October 03:00.
ZynTimeZoneRecord CentralEurope()
{
    ZynTimeZoneRecord z{};
    z.Bias = -60;
    z.StandardBias = 0;
    z.DaylightBias = -60;
    z.StandardDate = SYSTEMTIME{0, 10, 0, 5, 3, 0, 0, 0};
    z.DaylightDate = SYSTEMTIME{0, 3, 0, 5, 2, 0, 0, 0};
    return z;
}

// Sydney: UTC+10, daylight saving from the first Sunday of October 02:00 to the first
// Sunday of April 03:00 (spanning the turn of the year).
ZynTimeZoneRecord Sydney()
{
    ZynTimeZoneRecord z{};
    z.Bias = -600;
    z.DaylightBias = -60;
    z.StandardDate = SYSTEMTIME{0, 4, 0, 1, 3, 0, 0, 0};
    z.DaylightDate = SYSTEMTIME{0, 10, 0, 1, 2, 0, 0, 0};
    return z;
}

COleDateTime Utc(const CZynDateTime& t) { return t.GetUTC().GetAsOleDateTime(); }

} // namespace

TEST(ZynDateTime, ConvertToUtcAcrossTheSpringEdge)
{
    const auto z = CentralEurope();
    // 2024-03-31 is the last Sunday of March.
    EXPECT_EQ(Utc(CZynDateTime(COleDateTime(2024, 3, 31, 1, 59, 0), false, z)), COleDateTime(2024, 3, 31, 0, 59, 0));
    EXPECT_EQ(Utc(CZynDateTime(COleDateTime(2024, 3, 31, 3, 0, 0), false, z)), COleDateTime(2024, 3, 31, 1, 0, 0));
    // The skipped hour counts as daylight time.
    EXPECT_EQ(Utc(CZynDateTime(COleDateTime(2024, 3, 31, 2, 30, 0), false, z)), COleDateTime(2024, 3, 31, 0, 30, 0));
}

TEST(ZynDateTime, ConvertToUtcAcrossTheAutumnEdge)
{
    const auto z = CentralEurope();
    // 2024-10-27 is the last Sunday of October; 02:00-03:00 happens twice.
    EXPECT_EQ(Utc(CZynDateTime(COleDateTime(2024, 10, 27, 1, 30, 0), false, z)), COleDateTime(2024, 10, 26, 23, 30, 0));
    EXPECT_EQ(Utc(CZynDateTime(COleDateTime(2024, 10, 27, 2, 30, 0), false, z)), COleDateTime(2024, 10, 27, 0, 30, 0));
    EXPECT_EQ(Utc(CZynDateTime(COleDateTime(2024, 10, 27, 3, 0, 0), false, z)), COleDateTime(2024, 10, 27, 2, 0, 0));
}

TEST(ZynDateTime, UtcValuesConvertWithoutPassingThroughLocalTime)
{
    const auto z = CentralEurope();
    // Both UTC instants of the repeated local hour keep their own local reading and
    // return to themselves.
    for (int minute : {0, 30, 59, 60, 90, 119}) {
        const COleDateTime utc = COleDateTime(2024, 10, 27, 0, 0, 0) + COleDateTimeSpan(0, 0, minute, 0);
        CZynDateTime t(utc, true, z);
        EXPECT_EQ(t.GetUTC().GetAsOleDateTime(), utc) << minute;
        const COleDateTime local = t.GetLocal().GetAsOleDateTime();
        const COleDateTime expected = utc + COleDateTimeSpan(0, minute < 60 ? 2 : 1, 0, 0);
        EXPECT_NEAR((local - expected).GetTotalSeconds(), 0.0, 0.5) << minute;
        // A local reading of the repeated hour is ambiguous and goes back as its first
        // occurrence; that is why UTC values are converted from UTC and never via local time.
        if (minute < 60) {
            EXPECT_NEAR((t.GetLocal().GetUTC().GetAsOleDateTime() - utc).GetTotalSeconds(), 0.0, 0.5) << minute;
        }
    }
    // Comparisons are made on the UTC forms: 02:30 local (daylight) equals 00:30 UTC.
    EXPECT_EQ(CZynDateTime(COleDateTime(2024, 10, 27, 2, 30, 0), false, z),
        CZynDateTime(COleDateTime(2024, 10, 27, 0, 30, 0), true, z));
    EXPECT_LT(CZynDateTime(COleDateTime(2024, 10, 27, 0, 30, 0), true, z),
        CZynDateTime(COleDateTime(2024, 10, 27, 1, 30, 0), true, z));
}

TEST(ZynDateTime, SouthernHemisphereRule)
{
    const auto z = Sydney();
    // January is daylight time (UTC+11), July standard time (UTC+10).
    EXPECT_EQ(Utc(CZynDateTime(COleDateTime(2024, 1, 15, 12, 0, 0), false, z)), COleDateTime(2024, 1, 15, 1, 0, 0));
    EXPECT_EQ(Utc(CZynDateTime(COleDateTime(2024, 7, 15, 12, 0, 0), false, z)), COleDateTime(2024, 7, 15, 2, 0, 0));
}

TEST(ZynDateTime, MachineZoneFromTheTzDatabase)
{
    zyn::base::SetTimeZoneForTests(L"Europe/Berlin");
    CZynDateTime::RefreshMachineTimeZone();
    SYSTEMTIME st{2024, 7, 0, 1, 12, 0, 0, 0};
    CZynDateTime t(st);
    EXPECT_FALSE(t.IsUTC());
    t.ConvertToUTC();
    EXPECT_TRUE(t.IsUTC());
    EXPECT_EQ(t.GetAsOleDateTime(), COleDateTime(2024, 7, 1, 10, 0, 0));
    zyn::base::SetTimeZoneForTests(L"");
    CZynDateTime::RefreshMachineTimeZone();
}
