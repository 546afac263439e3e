#pragma once
// CTime (seconds since 1970-01-01 UTC, 64-bit) and CTimeSpan (a signed number of
// seconds). Local time means the platform's current zone (systime.h); nothing here uses
// the C library's time functions or locale.
//
// The valid range is that of the class library: 1970-01-01 00:00:00 UTC to
// 3000-12-31 23:59:59 UTC. Constructing from local fields outside 1970..3000, from
// fields that name no time (month 13, 30 February, hour 24...) or from fields whose
// UTC time falls outside the range throws CInvalidArgException.

#include <cstdint>
#include <ctime>

#include "platform/base/cstring.h"
#include "platform/base/systime.h"

class CTimeSpan {
public:
    CTimeSpan() = default;
    CTimeSpan(int64_t time) : m_timeSpan(time) {} // NOLINT: implicit as in the class library
    CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

    int64_t GetDays() const { return m_timeSpan / 86400; }
    int64_t GetTotalHours() const { return m_timeSpan / 3600; }
    LONG GetHours() const { return static_cast<LONG>(GetTotalHours() % 24); }
    int64_t GetTotalMinutes() const { return m_timeSpan / 60; }
    LONG GetMinutes() const { return static_cast<LONG>(GetTotalMinutes() % 60); }
    int64_t GetTotalSeconds() const { return m_timeSpan; }
    LONG GetSeconds() const { return static_cast<LONG>(m_timeSpan % 60); }
    int64_t GetTimeSpan() const { return m_timeSpan; }

    // %D total days, %H hours (00-23), %M minutes, %S seconds, %% a percent sign; an
    // unknown conversion throws CInvalidArgException.
    CString Format(LPCWSTR pFormat) const;
    // The format from a string resource (inline, so only callers need the resource chain).
    CString Format(UINT nFormatID) const
    {
        CString format;
        if (!format.LoadString(nFormatID))
            ThrowNoFormatResource(nFormatID);
        return Format(format.GetString());
    }

    // Throws CInvalidArgException for a missing format resource.
    [[noreturn]] static void ThrowNoFormatResource(UINT nFormatID);

    CTimeSpan operator+(CTimeSpan span) const { return CTimeSpan(m_timeSpan + span.m_timeSpan); }
    CTimeSpan operator-(CTimeSpan span) const { return CTimeSpan(m_timeSpan - span.m_timeSpan); }
    CTimeSpan& operator+=(CTimeSpan span)
    {
        m_timeSpan += span.m_timeSpan;
        return *this;
    }
    CTimeSpan& operator-=(CTimeSpan span)
    {
        m_timeSpan -= span.m_timeSpan;
        return *this;
    }
    CTimeSpan operator-() const { return CTimeSpan(-m_timeSpan); }
    bool operator==(CTimeSpan span) const { return m_timeSpan == span.m_timeSpan; }
    bool operator!=(CTimeSpan span) const { return m_timeSpan != span.m_timeSpan; }
    bool operator<(CTimeSpan span) const { return m_timeSpan < span.m_timeSpan; }
    bool operator>(CTimeSpan span) const { return m_timeSpan > span.m_timeSpan; }
    bool operator<=(CTimeSpan span) const { return m_timeSpan <= span.m_timeSpan; }
    bool operator>=(CTimeSpan span) const { return m_timeSpan >= span.m_timeSpan; }

private:
    int64_t m_timeSpan = 0;
};

class CTime {
public:
    // 3000-12-31 23:59:59 UTC.
    static constexpr int64_t kMaxTime = 32535215999;

    static CTime GetCurrentTime();
    static BOOL IsValidFILETIME(const FILETIME& ft);

    CTime() = default;
    CTime(int64_t time) : m_time(time) {} // NOLINT: implicit as in the class library
    // Local time; nDST < 0 decides by the zone's rule, 0 standard time, > 0 daylight time.
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
    // MS-DOS date and time words (local time).
    CTime(WORD wDosDate, WORD wDosTime, int nDST = -1);
    // Local time. A year before 1900 (an unset SYSTEMTIME) gives CTime(0), as the class
    // library does.
    CTime(const SYSTEMTIME& st, int nDST = -1);
    // UTC file time, converted with the bias in effect now (FileTimeToLocalFileTime).
    CTime(const FILETIME& ft, int nDST = -1);

    CTime& operator=(int64_t time)
    {
        m_time = time;
        return *this;
    }

    int64_t GetTime() const { return m_time; }

    // Broken-down UTC / local time; null when ptm is null or the time is outside the range.
    std::tm* GetGmtTm(std::tm* ptm) const;
    std::tm* GetLocalTm(std::tm* ptm) const;
    // Local time; false when the time is outside the range.
    bool GetAsSystemTime(SYSTEMTIME& st) const;

    // Local fields; 0 when the time is outside the range. Day of week: 1 = Sunday.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;

    // strftime-style text of the local / UTC time (see timeformat.h); throws
    // CInvalidArgException for a time outside the range or an unknown conversion.
    // FormatGmt's %Z is "UTC".
    CString Format(LPCWSTR pFormat) const;
    CString FormatGmt(LPCWSTR pFormat) const;
    // Formats from string resources (inline, so only callers need the resource chain).
    CString Format(UINT nFormatID) const
    {
        CString format;
        if (!format.LoadString(nFormatID))
            CTimeSpan::ThrowNoFormatResource(nFormatID);
        return Format(format.GetString());
    }
    CString FormatGmt(UINT nFormatID) const
    {
        CString format;
        if (!format.LoadString(nFormatID))
            CTimeSpan::ThrowNoFormatResource(nFormatID);
        return FormatGmt(format.GetString());
    }

    CTimeSpan operator-(CTime time) const { return CTimeSpan(m_time - time.m_time); }
    CTime operator-(CTimeSpan span) const { return CTime(m_time - span.GetTimeSpan()); }
    CTime operator+(CTimeSpan span) const { return CTime(m_time + span.GetTimeSpan()); }
    CTime& operator+=(CTimeSpan span)
    {
        m_time += span.GetTimeSpan();
        return *this;
    }
    CTime& operator-=(CTimeSpan span)
    {
        m_time -= span.GetTimeSpan();
        return *this;
    }
    bool operator==(CTime time) const { return m_time == time.m_time; }
    bool operator!=(CTime time) const { return m_time != time.m_time; }
    bool operator<(CTime time) const { return m_time < time.m_time; }
    bool operator>(CTime time) const { return m_time > time.m_time; }
    bool operator<=(CTime time) const { return m_time <= time.m_time; }
    bool operator>=(CTime time) const { return m_time >= time.m_time; }

private:
    int64_t m_time = 0;
};
