#pragma once
// CZynDateTime: a date-time with the time-zone record it belongs to and a flag telling
// whether the value is UTC or local time in that zone. Comparisons and differences are
// made on the UTC forms. A UTC value converts to local time from the zone's transition
// instants expressed in UTC, so it never passes through an ambiguous local time.

#include <cstdint>

#include "platform/base/oledatetime.h"
#include "platform/base/systime.h"

// The machine's time-zone record (52 bytes): the zone's biases and daylight-saving rule
// in the registry's TZI layout, followed by the span of years the rule was read for.
struct ZynTimeZoneRecord {
    int32_t Bias;          // minutes west of UTC
    int32_t StandardBias;  // added to Bias outside daylight saving (usually 0)
    int32_t DaylightBias;  // added to Bias during daylight saving (usually -60)
    SYSTEMTIME StandardDate; // local daylight time at which standard time starts (wMonth 0: no DST)
    SYSTEMTIME DaylightDate; // local standard time at which daylight saving starts
    int32_t FirstYear;     // 0: the rule holds for every year
    int32_t LastYear;
};
static_assert(sizeof(ZynTimeZoneRecord) == 52, "the zone record is 52 bytes");

class CZynDateTime {
public:
    // The current local time in the machine's zone.
    CZynDateTime();
    // A local time in the machine's zone.
    explicit CZynDateTime(const SYSTEMTIME& localTime);
    CZynDateTime(const COleDateTime& value, bool isUTC);
    CZynDateTime(const COleDateTime& value, bool isUTC, const ZynTimeZoneRecord& zone);

    // Marks the value as UTC (true) or local time (false); the value itself is kept.
    void SetUTC(bool isUTC) { m_bUTC = isUTC; }
    bool IsUTC() const { return m_bUTC; }

    // Converts a local value to UTC: adds the zone's bias, and the daylight bias when
    // daylight saving is in effect at that date (the standard bias otherwise).
    void ConvertToUTC();
    // Converts a UTC value to local time in the record's zone.
    void ConvertToLocal();
    CZynDateTime GetUTC() const;
    CZynDateTime GetLocal() const;

    COleDateTime GetAsOleDateTime() const { return m_dt; }
    void SetOleDateTime(const COleDateTime& value) { m_dt = value; }
    bool IsValid() const { return m_dt.GetStatus() == COleDateTime::valid; }

    const ZynTimeZoneRecord& GetTimeZone() const { return m_zone; }
    void SetTimeZone(const ZynTimeZoneRecord& zone) { m_zone = zone; }

    // Whether daylight saving is in effect at a local time / at a UTC time of the zone.
    static bool IsDaylightLocal(const ZynTimeZoneRecord& zone, const COleDateTime& local);
    static bool IsDaylightUTC(const ZynTimeZoneRecord& zone, const COleDateTime& utc);

    // The machine's zone record, read once at start-up; Refresh re-reads it (tests that
    // change the zone call it).
    static const ZynTimeZoneRecord& MachineTimeZone();
    static void RefreshMachineTimeZone();
    static ZynTimeZoneRecord RecordFromZoneInfo(const TIME_ZONE_INFORMATION& tzi);

    bool operator==(const CZynDateTime& other) const;
    bool operator!=(const CZynDateTime& other) const { return !(*this == other); }
    bool operator<(const CZynDateTime& other) const;
    bool operator>(const CZynDateTime& other) const { return other < *this; }
    bool operator<=(const CZynDateTime& other) const { return !(other < *this); }
    bool operator>=(const CZynDateTime& other) const { return !(*this < other); }
    COleDateTimeSpan operator-(const CZynDateTime& other) const;

private:
    COleDateTime m_dt;
    ZynTimeZoneRecord m_zone;
    bool m_bUTC = false;
};
