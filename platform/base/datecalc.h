#pragma once
// Proleptic Gregorian calendar arithmetic shared by the clock, CTime, COleDateTime and
// the locale's date formatting and parsing. Days are counted from 1970-01-01 (day 0);
// every function is exact over the whole int64 range the callers use (years 1 to
// 30827 and beyond) and never touches the C library's time functions.

#include <cstdint>

namespace zyn::base::datecalc {

constexpr bool IsLeapYear(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

constexpr int DaysInMonth(int64_t y, int m)
{
    constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12)
        return 0;
    return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

// Days since 1970-01-01 of the given date (month 1..12, day 1..31).
constexpr int64_t DaysFromCivil(int64_t y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;                                     // [0, 399]
    const int64_t mp = (m + 9) % 12;                                       // March = 0
    const int64_t doy = (153 * mp + 2) / 5 + d - 1;                        // [0, 365]
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;             // [0, 146096]
    return era * 146097 + doe - 719468;
}

struct Civil {
    int64_t year;
    int month; // 1..12
    int day;   // 1..31
};

constexpr Civil CivilFromDays(int64_t z)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return Civil{yoe + era * 400 + (m <= 2 ? 1 : 0), m, d};
}


// 1-based day of the year.
constexpr int DayOfYear(int64_t y, int m, int d) { return static_cast<int>(DaysFromCivil(y, m, d) - DaysFromCivil(y, 1, 1)) + 1; }

constexpr bool IsValidDate(int64_t y, int m, int d) { return m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m); }

// Floor division and the matching non-negative remainder.
constexpr int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }
constexpr int64_t FloorMod(int64_t a, int64_t b) { return a - FloorDiv(a, b) * b; }

// 0 = Sunday .. 6 = Saturday (1970-01-01 was a Thursday).
constexpr int WeekdayFromDays(int64_t z) { return static_cast<int>(FloorMod(z + 4, 7)); }

inline constexpr int64_t kSecondsPerDay = 86400;
// Day number of 1601-01-01, the FILETIME epoch, and of 1899-12-30, the OLE DATE epoch.
inline constexpr int64_t kFileTimeEpochDay = DaysFromCivil(1601, 1, 1);
inline constexpr int64_t kOleEpochDay = DaysFromCivil(1899, 12, 30);
inline constexpr int64_t kTicksPerSecond = 10'000'000;

static_assert(DaysFromCivil(1970, 1, 1) == 0);
static_assert(WeekdayFromDays(0) == 4);
static_assert(WeekdayFromDays(-1) == 3);
static_assert(WeekdayFromDays(-7) == 4);
static_assert(WeekdayFromDays(kFileTimeEpochDay) == 1); // 1601-01-01 was a Monday
static_assert(CivilFromDays(kOleEpochDay).year == 1899 && CivilFromDays(kOleEpochDay).day == 30);

} // namespace zyn::base::datecalc
