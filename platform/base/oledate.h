#pragma once
// The OLE automation date: a double counting days since 1899-12-30 00:00. The integer
// part is the day and the fraction the time of day; before the epoch the integer part
// counts back while the fraction still counts forward, so -1.25 is 1899-12-29 06:00
// (and -0.5 is the same instant as 0.5). Arithmetic therefore goes through a "linear"
// form in which -1.25 reads -0.75. Times round to the nearest second, as the automation
// library does; the range is 100-01-01 to 9999-12-31 23:59:59.

#include <cstdint>

#include "platform/base/systime.h"

using DATE = double;

namespace zyn::base {

inline constexpr DATE kMinOleDate = -657434.0;                // 0100-01-01 00:00:00
inline constexpr DATE kMaxOleDate = 2958465.0 + 86399.0 / 86400.0; // 9999-12-31 23:59:59

// Days since the epoch as a plain number line, and back.
double OleDateToLinear(DATE date);
DATE OleDateFromLinear(double linear);

// The date of the fields; false when a field is out of range (year 100..9999, a day the
// month has, hour < 24, minute and second < 60).
bool OleDateFromFields(int year, int month, int day, int hour, int minute, int second, DATE& out);

struct OleDateFields {
    int year, month, day, hour, minute, second;
    int dayOfWeek; // 0 = Sunday
    int dayOfYear; // 1-based
};
// The fields of a date, rounded to the nearest second; false when the date is outside
// the range (or not a number).
bool OleDateToFields(DATE date, OleDateFields& out);

// The date rounded to the nearest second (and normalised), or false as above.
bool OleDateRound(DATE date, DATE& out);

} // namespace zyn::base
