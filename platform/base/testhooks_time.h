#pragma once
// Test hooks of the clock, the time zone and the user locale. Each reset (empty name,
// nullopt, 0) returns to what the environment gives.

#include <optional>
#include <string>

#include "platform/base/systime.h"

namespace zyn::base {

// Makes the tz database zone (or POSIX rule) the current zone. False, leaving the
// zone as it was, when the name is neither a readable zone nor a valid rule. An empty
// name reloads the zone from the environment.
bool SetTimeZoneForTests(const std::wstring& ianaName);

// Freezes the wall clock at the given UTC time (GetSystemTime, GetLocalTime,
// CTime::GetCurrentTime, COleDateTime::GetCurrentTime...); nullopt returns to the real
// clock. When the process clock is virtual at that moment (clock.h), the wall clock
// then moves with it, so a virtual Sleep(n) advances it by n. False, leaving the clock
// as it was, for a FILETIME with its top bit set.
bool SetSystemTimeForTests(std::optional<FILETIME> now);

// Makes one of the built-in locales the user locale (and sets the ANSI code page to
// the locale's). 0 returns to the locale the environment gives. False, leaving the
// locale as it was, for an LCID without a built-in locale.
bool SetUserLocaleForTests(LCID lcid);

} // namespace zyn::base
