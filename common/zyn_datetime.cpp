#include "common/zyn_datetime.h"

#include <mutex>

namespace {

std::mutex g_zoneMutex;

COleDateTimeSpan Minutes(int32_t m) { return COleDateTimeSpan(0, 0, m, 0); }

// Date arithmetic in days accumulates binary fractions; zone offsets are whole minutes,
// so results are brought back to the exact second they stand for.
COleDateTime Exact(const COleDateTime& t)
{
    if (t.GetStatus() != COleDateTime::valid)
        return t;
    return COleDateTime(t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(), t.GetMinute(), t.GetSecond());
}


ZynTimeZoneRecord ReadMachineZone()
{
    TIME_ZONE_INFORMATION tzi{};
    GetTimeZoneInformation(&tzi);
    return CZynDateTime::RecordFromZoneInfo(tzi);
}

ZynTimeZoneRecord& ZoneStorage()
{
    static ZynTimeZoneRecord zone = ReadMachineZone();
    return zone;
}

// Read at start-up, as the library's static initialisers do.
[[maybe_unused]] const bool g_zoneReadAtLoad = (ZoneStorage(), true);

int DaysInMonth(int year, int month)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0))
        return 29;
    return kDays[month - 1];
}

// The instant (as a local wall-clock value of the rule's own clock) at which a
// transition rule fires in `year`. Rules with wYear == 0 are "the wDay-th wDayOfWeek of
// wMonth" (wDay 5 meaning the last); with wYear set they are absolute dates.
COleDateTime TransitionInYear(const SYSTEMTIME& rule, int year)
{
    int day = rule.wDay;
    if (rule.wYear == 0) {
        COleDateTime first(year, rule.wMonth, 1, 0, 0, 0);
        const int firstDow = first.GetDayOfWeek() - 1; // 0 = Sunday
        day = 1 + (rule.wDayOfWeek - firstDow + 7) % 7 + (rule.wDay - 1) * 7;
        const int dim = DaysInMonth(year, rule.wMonth);
        while (day > dim)
            day -= 7;
    }
    COleDateTime at(year, rule.wMonth, day, 0, 0, 0);
    return Exact(at + COleDateTimeSpan(0, rule.wHour, rule.wMinute, rule.wSecond));
}

bool HasDaylightRule(const ZynTimeZoneRecord& zone)
{
    return zone.StandardDate.wMonth != 0 && zone.DaylightDate.wMonth != 0;
}

bool RuleHoldsIn(const ZynTimeZoneRecord& zone, int year)
{
    return zone.FirstYear == 0 || (year >= zone.FirstYear && (zone.LastYear == 0 || year <= zone.LastYear));
}

// Whether `t` lies in [dstStart, dstEnd), handling southern-hemisphere rules whose
// daylight period spans the turn of the year.
bool InDaylight(const COleDateTime& t, const COleDateTime& dstStart, const COleDateTime& dstEnd)
{
    if (dstStart < dstEnd)
        return t >= dstStart && t < dstEnd;
    return t >= dstStart || t < dstEnd;
}

} // namespace

CZynDateTime::CZynDateTime() : m_dt(COleDateTime::GetCurrentTime()), m_zone(MachineTimeZone()), m_bUTC(false) {}

CZynDateTime::CZynDateTime(const SYSTEMTIME& localTime) : m_dt(localTime), m_zone(MachineTimeZone()), m_bUTC(false)
{
}

CZynDateTime::CZynDateTime(const COleDateTime& value, bool isUTC)
    : m_dt(value), m_zone(MachineTimeZone()), m_bUTC(isUTC)
{
}

CZynDateTime::CZynDateTime(const COleDateTime& value, bool isUTC, const ZynTimeZoneRecord& zone)
    : m_dt(value), m_zone(zone), m_bUTC(isUTC)
{
}

ZynTimeZoneRecord CZynDateTime::RecordFromZoneInfo(const TIME_ZONE_INFORMATION& tzi)
{
    ZynTimeZoneRecord r{};
    r.Bias = tzi.Bias;
    r.StandardBias = tzi.StandardBias;
    r.DaylightBias = tzi.DaylightBias;
    r.StandardDate = tzi.StandardDate;
    r.DaylightDate = tzi.DaylightDate;
    r.FirstYear = 0;
    r.LastYear = 0;
    return r;
}

const ZynTimeZoneRecord& CZynDateTime::MachineTimeZone()
{
    std::lock_guard lock(g_zoneMutex);
    return ZoneStorage();
}

void CZynDateTime::RefreshMachineTimeZone()
{
    const ZynTimeZoneRecord zone = ReadMachineZone();
    std::lock_guard lock(g_zoneMutex);
    ZoneStorage() = zone;
}

bool CZynDateTime::IsDaylightLocal(const ZynTimeZoneRecord& zone, const COleDateTime& local)
{
    if (!HasDaylightRule(zone) || local.GetStatus() != COleDateTime::valid)
        return false;
    const int year = local.GetYear();
    if (!RuleHoldsIn(zone, year))
        return false;
    // Daylight saving starts at a local standard time and ends at a local daylight time;
    // a local time in the repeated hour counts as daylight time (its first occurrence).
    return InDaylight(local, TransitionInYear(zone.DaylightDate, year), TransitionInYear(zone.StandardDate, year));
}

bool CZynDateTime::IsDaylightUTC(const ZynTimeZoneRecord& zone, const COleDateTime& utc)
{
    if (!HasDaylightRule(zone) || utc.GetStatus() != COleDateTime::valid)
        return false;
    const int year = utc.GetYear();
    if (!RuleHoldsIn(zone, year))
        return false;
    // The transitions as UTC instants: the start is given on the standard clock, the
    // end on the daylight clock.
    const COleDateTime start = Exact(TransitionInYear(zone.DaylightDate, year) + Minutes(zone.Bias + zone.StandardBias));
    const COleDateTime end = Exact(TransitionInYear(zone.StandardDate, year) + Minutes(zone.Bias + zone.DaylightBias));
    return InDaylight(utc, start, end);
}

void CZynDateTime::ConvertToUTC()
{
    if (m_bUTC)
        return;
    if (m_dt.GetStatus() == COleDateTime::valid) {
        const int32_t bias = m_zone.Bias + (IsDaylightLocal(m_zone, m_dt) ? m_zone.DaylightBias : m_zone.StandardBias);
        m_dt = Exact(m_dt + Minutes(bias));
    }
    m_bUTC = true;
}

void CZynDateTime::ConvertToLocal()
{
    if (!m_bUTC)
        return;
    if (m_dt.GetStatus() == COleDateTime::valid) {
        const int32_t bias = m_zone.Bias + (IsDaylightUTC(m_zone, m_dt) ? m_zone.DaylightBias : m_zone.StandardBias);
        m_dt = Exact(m_dt - Minutes(bias));
    }
    m_bUTC = false;
}

CZynDateTime CZynDateTime::GetUTC() const
{
    CZynDateTime r(*this);
    r.ConvertToUTC();
    return r;
}

CZynDateTime CZynDateTime::GetLocal() const
{
    CZynDateTime r(*this);
    r.ConvertToLocal();
    return r;
}

bool CZynDateTime::operator==(const CZynDateTime& other) const
{
    return GetUTC().m_dt == other.GetUTC().m_dt;
}

bool CZynDateTime::operator<(const CZynDateTime& other) const
{
    return GetUTC().m_dt < other.GetUTC().m_dt;
}

COleDateTimeSpan CZynDateTime::operator-(const CZynDateTime& other) const
{
    return GetUTC().m_dt - other.GetUTC().m_dt;
}
