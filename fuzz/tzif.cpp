// Reads arbitrary bytes as a TZif file and as a POSIX zone rule; whatever is accepted
// must then convert times without fault and keep local time within a day of UTC.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "platform/base/systime.h"
#include "platform/base/tzrule.h"

namespace {
void Exercise(const TIME_ZONE_INFORMATION& tz)
{
    using namespace zyn::base;
    for (const int64_t utc : {int64_t{0}, int64_t{1215263045}, int64_t{1704067200}, int64_t{-11644473600}, int64_t{253402300799}}) {
        const int64_t offset = LocalOffsetAtUtc(tz, utc);
        if (offset < -3 * 86400 || offset > 3 * 86400)
            std::abort();
        const int64_t back = UtcFromLocal(tz, utc + offset);
        if (back < utc - 3 * 86400 || back > utc + 3 * 86400)
            std::abort();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (auto tz = zyn::base::TimeZoneFromTzif(std::span<const uint8_t>(data, size)))
        Exercise(*tz);
    if (auto tz = zyn::base::TimeZoneFromPosixRule(std::string_view(reinterpret_cast<const char*>(data), size)))
        Exercise(*tz);
    return 0;
}
