#include "platform/base/ctime.h"

#include <string>

#include "platform/base/datecalc.h"
#include "platform/base/exception.h"
#include "platform/base/timeformat.h"

namespace dc = zyn::base::datecalc;

namespace {

[[noreturn]] void ThrowInvalid(const std::wstring& what) { AfxThrowInvalidArgException(what.c_str()); }

std::wstring TwoDigits(int64_t v)
{
    std::wstring s = std::to_wstring(v);
    if (v >= 0 && v < 10)
        s.insert(s.begin(), L'0');
    return s;
}

std::wstring DescribeFields(int y, int m, int d, int h, int mi, int s)
{
    return std::to_wstring(y) + L"-" + TwoDigits(m) + L"-" + TwoDigits(d) + L" " + TwoDigits(h) + L":" + TwoDigits(mi)
        + L":" + TwoDigits(s);
}

bool InRange(int64_t t) { return t >= 0 && t <= CTime::kMaxTime; }

void FillTm(std::tm& tm, int64_t seconds, int isdst)
{
    const int64_t days = dc::FloorDiv(seconds, dc::kSecondsPerDay);
    const int64_t sod = seconds - days * dc::kSecondsPerDay;
    const auto civil = dc::CivilFromDays(days);
    tm = zyn::base::MakeTm(civil.year, civil.month, civil.day, static_cast<int>(sod / 3600),
        static_cast<int>(sod / 60 % 60), static_cast<int>(sod % 60), isdst);
}

CString FormatOrThrow(LPCWSTR pFormat, const std::tm& tm, std::wstring_view zone)
{
    if (!pFormat)
        AfxThrowInvalidArgException(L"CTime::Format: no format");
    auto text = zyn::base::FormatTm(pFormat, tm, zone);
    if (!text)
        ThrowInvalid(std::wstring(L"CTime::Format: unknown conversion in \"") + pFormat + L"\"");
    return CString(*text);
}

} // namespace

// ---- CTimeSpan ------------------------------------------------------------------------------

CTimeSpan::CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
    : m_timeSpan(nSecs + 60 * (nMins + 60 * (nHours + 24 * int64_t{lDays})))
{
}

CString CTimeSpan::Format(LPCWSTR pFormat) const
{
    if (!pFormat)
        AfxThrowInvalidArgException(L"CTimeSpan::Format: no format");
    std::wstring out;
    for (const wchar_t* p = pFormat; *p; ++p) {
        if (*p != L'%') {
            out.push_back(*p);
            continue;
        }
        switch (*++p) {
        case L'D': out += std::to_wstring(GetDays()); break;
        case L'H': out += TwoDigits(GetHours()); break;
        case L'M': out += TwoDigits(GetMinutes()); break;
        case L'S': out += TwoDigits(GetSeconds()); break;
        case L'%': out.push_back(L'%'); break;
        default:
            ThrowInvalid(std::wstring(L"CTimeSpan::Format: unknown conversion in \"") + pFormat + L"\"");
        }
    }
    return CString(out);
}

void CTimeSpan::ThrowNoFormatResource(UINT nFormatID)
{
    ThrowInvalid(L"Format: no string resource " + std::to_wstring(nFormatID));
}

// ---- CTime ----------------------------------------------------------------------------------

CTime CTime::GetCurrentTime() { return CTime(zyn::base::UnixTimeNow()); }

BOOL CTime::IsValidFILETIME(const FILETIME& ft)
{
    FILETIME local;
    SYSTEMTIME st;
    return FileTimeToLocalFileTime(&ft, &local) && FileTimeToSystemTime(&local, &st);
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
{
    if (nYear < 1970 || nYear > 3000 || !dc::IsValidDate(nYear, nMonth, nDay) || nHour < 0 || nHour > 23 || nMin < 0
        || nMin > 59 || nSec < 0 || nSec > 59)
        ThrowInvalid(L"CTime: no valid local time " + DescribeFields(nYear, nMonth, nDay, nHour, nMin, nSec));
    const int64_t local = dc::DaysFromCivil(nYear, nMonth, nDay) * dc::kSecondsPerDay + nHour * 3600 + nMin * 60 + nSec;
    const int64_t utc = zyn::base::UtcFromLocal(zyn::base::CurrentTimeZone(), local, nDST);
    if (!InRange(utc))
        ThrowInvalid(L"CTime: local time " + DescribeFields(nYear, nMonth, nDay, nHour, nMin, nSec)
            + L" is outside 1970-01-01 to 3000-12-31 UTC");
    m_time = utc;
}

CTime::CTime(WORD wDosDate, WORD wDosTime, int nDST)
    : CTime(((wDosDate >> 9) & 0x7F) + 1980, (wDosDate >> 5) & 0x0F, wDosDate & 0x1F, wDosTime >> 11,
        (wDosTime >> 5) & 0x3F, (wDosTime & 0x1F) * 2, nDST)
{
}

CTime::CTime(const SYSTEMTIME& st, int nDST)
{
    if (st.wYear < 1900)
        m_time = 0;
    else
        *this = CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, nDST);
}

CTime::CTime(const FILETIME& ft, int nDST)
{
    FILETIME local;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&ft, &local) || !FileTimeToSystemTime(&local, &st))
        ThrowInvalid(L"CTime: the FILETIME is out of range");
    *this = CTime(st, nDST);
}

std::tm* CTime::GetGmtTm(std::tm* ptm) const
{
    if (!ptm || !InRange(m_time))
        return nullptr;
    FillTm(*ptm, m_time, 0);
    return ptm;
}

std::tm* CTime::GetLocalTm(std::tm* ptm) const
{
    if (!ptm || !InRange(m_time))
        return nullptr;
    bool daylight = false;
    const int64_t offset = zyn::base::LocalOffsetAtUtc(zyn::base::CurrentTimeZone(), m_time, &daylight);
    FillTm(*ptm, m_time + offset, daylight ? 1 : 0);
    return ptm;
}

bool CTime::GetAsSystemTime(SYSTEMTIME& st) const
{
    std::tm tm;
    if (!GetLocalTm(&tm))
        return false;
    st.wYear = static_cast<WORD>(tm.tm_year + 1900);
    st.wMonth = static_cast<WORD>(tm.tm_mon + 1);
    st.wDayOfWeek = static_cast<WORD>(tm.tm_wday);
    st.wDay = static_cast<WORD>(tm.tm_mday);
    st.wHour = static_cast<WORD>(tm.tm_hour);
    st.wMinute = static_cast<WORD>(tm.tm_min);
    st.wSecond = static_cast<WORD>(tm.tm_sec);
    st.wMilliseconds = 0;
    return true;
}

int CTime::GetYear() const
{
    std::tm tm;
    return GetLocalTm(&tm) ? tm.tm_year + 1900 : 0;
}
int CTime::GetMonth() const
{
    std::tm tm;
    return GetLocalTm(&tm) ? tm.tm_mon + 1 : 0;
}
int CTime::GetDay() const
{
    std::tm tm;
    return GetLocalTm(&tm) ? tm.tm_mday : 0;
}
int CTime::GetHour() const
{
    std::tm tm;
    return GetLocalTm(&tm) ? tm.tm_hour : -1;
}
int CTime::GetMinute() const
{
    std::tm tm;
    return GetLocalTm(&tm) ? tm.tm_min : -1;
}
int CTime::GetSecond() const
{
    std::tm tm;
    return GetLocalTm(&tm) ? tm.tm_sec : -1;
}
int CTime::GetDayOfWeek() const
{
    std::tm tm;
    return GetLocalTm(&tm) ? tm.tm_wday + 1 : 0;
}

CString CTime::Format(LPCWSTR pFormat) const
{
    std::tm tm;
    if (!GetLocalTm(&tm))
        AfxThrowInvalidArgException(L"CTime::Format: the time is outside the valid range");
    const TIME_ZONE_INFORMATION tz = zyn::base::CurrentTimeZone();
    return FormatOrThrow(pFormat, tm, tm.tm_isdst > 0 ? tz.DaylightName : tz.StandardName);
}

CString CTime::FormatGmt(LPCWSTR pFormat) const
{
    std::tm tm;
    if (!GetGmtTm(&tm))
        AfxThrowInvalidArgException(L"CTime::FormatGmt: the time is outside the valid range");
    return FormatOrThrow(pFormat, tm, L"UTC");
}
