#include "platform/base/oledate.h"

#include <cmath>

#include "platform/base/datecalc.h"

namespace dc = zyn::base::datecalc;

namespace zyn::base {
namespace {
// Seconds of the range's ends on the linear line.
constexpr int64_t kMinLinearSeconds = -657434 * dc::kSecondsPerDay;
constexpr int64_t kMaxLinearSeconds = 2958465 * dc::kSecondsPerDay + 86399;
} // namespace

double OleDateToLinear(DATE date)
{
    if (date >= 0)
        return date;
    const double day = std::trunc(date);
    return day + (day - date);
}

DATE OleDateFromLinear(double linear)
{
    if (linear >= 0)
        return linear;
    const double day = std::floor(linear);
    const double time = linear - day;
    return time == 0 ? day : day - time;
}

bool OleDateFromFields(int year, int month, int day, int hour, int minute, int second, DATE& out)
{
    if (year < 100 || year > 9999 || !dc::IsValidDate(year, month, day) || hour < 0 || hour > 23 || minute < 0
        || minute > 59 || second < 0 || second > 59)
        return false;
    const double days = static_cast<double>(dc::DaysFromCivil(year, month, day) - dc::kOleEpochDay);
    const double time = (hour * 3600 + minute * 60 + second) / 86400.0;
    out = days >= 0 ? days + time : days - time;
    return true;
}

bool OleDateToFields(DATE date, OleDateFields& out)
{
    if (!std::isfinite(date))
        return false;
    const double linear = OleDateToLinear(date);
    if (linear < static_cast<double>(kMinLinearSeconds) / 86400.0 - 1
        || linear > static_cast<double>(kMaxLinearSeconds) / 86400.0 + 1)
        return false;
    const auto seconds = static_cast<int64_t>(std::floor(linear * 86400.0 + 0.5));
    if (seconds < kMinLinearSeconds || seconds > kMaxLinearSeconds)
        return false;
    const int64_t days = dc::FloorDiv(seconds, dc::kSecondsPerDay);
    const int64_t sod = seconds - days * dc::kSecondsPerDay;
    const int64_t absolute = days + dc::kOleEpochDay;
    const auto civil = dc::CivilFromDays(absolute);
    out.year = static_cast<int>(civil.year);
    out.month = civil.month;
    out.day = civil.day;
    out.hour = static_cast<int>(sod / 3600);
    out.minute = static_cast<int>(sod / 60 % 60);
    out.second = static_cast<int>(sod % 60);
    out.dayOfWeek = dc::WeekdayFromDays(absolute);
    out.dayOfYear = dc::DayOfYear(civil.year, civil.month, civil.day);
    return true;
}

bool OleDateRound(DATE date, DATE& out)
{
    OleDateFields f;
    return OleDateToFields(date, f) && OleDateFromFields(f.year, f.month, f.day, f.hour, f.minute, f.second, out);
}

} // namespace zyn::base
