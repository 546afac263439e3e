#pragma once
// COleDateTime (an automation DATE with a status) and COleDateTimeSpan (a span in days
// with a status). See oledate.h for the DATE convention; conversions round to the
// nearest second. Valid dates lie in 100-01-01 .. 9999-12-31 23:59:59.
//
// Status propagates through arithmetic: a null operand gives a null result, else an
// invalid operand (or a result out of range) an invalid one. A date or span built from
// an out-of-range or non-finite number is invalid.

#include <cstdint>

#include "platform/base/cstring.h"
#include "platform/base/ctime.h"
#include "platform/base/locale.h"
#include "platform/base/oledate.h"
#include "platform/base/systime.h"

class COleDateTimeSpan {
public:
    enum DateTimeSpanStatus { valid = 0, invalid = 1, null = 2 };

    // The largest span the class accepts, in days (either sign).
    static constexpr double kMaxDays = 3615897.0;

    COleDateTimeSpan() = default;
    COleDateTimeSpan(double dblSpanSrc); // NOLINT: implicit as in the class library
    COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

    void SetStatus(DateTimeSpanStatus status) { m_status = status; }
    DateTimeSpanStatus GetStatus() const { return m_status; }

    // Whole units of the span rounded to the nearest second (truncated toward zero).
    double GetTotalDays() const;
    double GetTotalHours() const;
    double GetTotalMinutes() const;
    double GetTotalSeconds() const;
    // Components: days, and hours (-23..23), minutes and seconds (-59..59) within them.
    LONG GetDays() const;
    LONG GetHours() const;
    LONG GetMinutes() const;
    LONG GetSeconds() const;

    void SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

    // CTimeSpan codes (%D %H %M %S %%); "" when null, "Invalid DateTimeSpan" when invalid.
    CString Format(LPCWSTR pFormat) const;
    // The format from a string resource (inline, so only callers need the resource chain).
    CString Format(UINT nID) const
    {
        CString format;
        if (!format.LoadString(nID))
            CTimeSpan::ThrowNoFormatResource(nID);
        return Format(format.GetString());
    }

    operator double() const { return m_span; }

    COleDateTimeSpan operator+(const COleDateTimeSpan& other) const;
    COleDateTimeSpan operator-(const COleDateTimeSpan& other) const;
    COleDateTimeSpan& operator+=(const COleDateTimeSpan& other) { return *this = *this + other; }
    COleDateTimeSpan& operator-=(const COleDateTimeSpan& other) { return *this = *this - other; }
    COleDateTimeSpan operator-() const;
    COleDateTimeSpan operator*(double factor) const;
    COleDateTimeSpan operator/(double divisor) const;

    bool operator==(const COleDateTimeSpan& other) const;
    bool operator!=(const COleDateTimeSpan& other) const { return !(*this == other); }
    bool operator<(const COleDateTimeSpan& other) const;
    bool operator>(const COleDateTimeSpan& other) const;
    bool operator<=(const COleDateTimeSpan& other) const;
    bool operator>=(const COleDateTimeSpan& other) const;

    double m_span = 0;
    DateTimeSpanStatus m_status = valid;

private:
    int64_t RoundedSeconds() const;
    void CheckRange();
};

class COleDateTime {
public:
    enum DateTimeStatus { error = -1, valid = 0, invalid = 1, null = 2 };

    // Now, local time, to the second.
    static COleDateTime GetCurrentTime();

    COleDateTime() = default;
    COleDateTime(DATE dtSrc);              // NOLINT: implicit as in the class library
    COleDateTime(int64_t timeSrc);         // NOLINT: seconds since 1970, shown in local time
    COleDateTime(const SYSTEMTIME& st);    // NOLINT: wDayOfWeek and ms ignored
    COleDateTime(const FILETIME& ft);      // NOLINT: UTC, converted with the bias in effect now
    COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    COleDateTime(WORD wDosDate, WORD wDosTime);

    COleDateTime& operator=(DATE dtSrc);
    COleDateTime& operator=(int64_t timeSrc);
    COleDateTime& operator=(const SYSTEMTIME& st);
    COleDateTime& operator=(const FILETIME& ft);

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }
    operator DATE() const { return m_dt; }

    // False unless valid.
    bool GetAsSystemTime(SYSTEMTIME& st) const;
    // Fields; error (-1) unless valid. Day of week 1 = Sunday; day of year 1-based.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;
    int GetDayOfYear() const;

    // 0 (valid) on success; 1 (invalid) for fields out of range, m_dt then unchanged.
    int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    int SetDate(int nYear, int nMonth, int nDay);
    int SetTime(int nHour, int nMin, int nSec);

    // VarDateFromStr; on failure the status is invalid and m_dt 0 (text that is no date)
    // or -1 (other failures).
    bool ParseDateTime(LPCWSTR lpszDate, DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT);

    // The locale's short date and time, leaving out a zero time or the zero date;
    // VAR_DATEVALUEONLY / VAR_TIMEVALUEONLY keep one part. "" when null, "Invalid
    // DateTime" when invalid.
    CString Format(DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT) const;
    // strftime codes with English names (timeformat.h); %Z is the local zone's standard
    // name. Throws CInvalidArgException for an unknown conversion.
    CString Format(LPCWSTR lpszFormat) const;

    COleDateTime operator+(const COleDateTimeSpan& span) const;
    COleDateTime operator-(const COleDateTimeSpan& span) const;
    COleDateTimeSpan operator-(const COleDateTime& date) const;
    COleDateTime& operator+=(const COleDateTimeSpan& span) { return *this = *this + span; }
    COleDateTime& operator-=(const COleDateTimeSpan& span) { return *this = *this - span; }

    // Equal when both are valid and the same instant, or both null. Ordering compares
    // valid dates in time order (so -1.75, 1899-12-29 18:00, is after -1.25) and is false
    // when either is not valid.
    bool operator==(const COleDateTime& date) const;
    bool operator!=(const COleDateTime& date) const { return !(*this == date); }
    bool operator<(const COleDateTime& date) const;
    bool operator>(const COleDateTime& date) const;
    bool operator<=(const COleDateTime& date) const;
    bool operator>=(const COleDateTime& date) const;

    DATE m_dt = 0;
    DateTimeStatus m_status = valid;

private:
    bool Fields(zyn::base::OleDateFields& f) const;
};
