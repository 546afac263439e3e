#pragma once
// Reading zones of the tz database into TIME_ZONE_INFORMATION records: the POSIX rule
// ("CET-1CEST,M3.5.0,M10.5.0/3") and the TZif files that carry one in their footer.
//
// The rule maps to one record for all years:
//   - Bias is the standard offset in minutes west of UTC, DaylightBias the daylight
//     offset minus that (-60 for a one-hour shift), StandardBias 0.
//   - Mm.w.d dates keep their form (wYear 0, wDay = w with 5 = last). Times of 24 h and
//     more stay in wHour; negative times move to the previous weekday (exact except
//     when that crosses the start of the month's counting, a week off in some years).
//   - Jn and n dates become the fixed form (wYear 1, wMonth/wDay); n counts the leap
//     day, so after February it lands a day late in leap years.
//   - A zone whose daylight time is west of its standard time (negative saving) is
//     turned round, as Windows records it: the western offset becomes standard.
//   - Daylight saving all year is standard time at the daylight offset.
// Malformed input is rejected (nullopt), never guessed at.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/base/systime.h"

namespace zyn::base {

std::optional<TIME_ZONE_INFORMATION> TimeZoneFromPosixRule(std::string_view rule);

// A TZif file (versions 1 to 4). Versions 2+ use the footer rule; a file without one
// (or version 1) becomes a zone without daylight saving at the offset of its last
// transition (of its first type when it has none).
std::optional<TIME_ZONE_INFORMATION> TimeZoneFromTzif(std::span<const uint8_t> data);

// A zone without daylight saving: offset east of UTC in seconds, and its name.
TIME_ZONE_INFORMATION FixedTimeZone(int32_t utcOffsetSeconds, std::wstring_view name);

} // namespace zyn::base
