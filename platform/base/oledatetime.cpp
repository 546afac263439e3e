#include "platform/base/oledatetime.h"

#include <cmath>
#include <string>

#include "platform/base/ctime.h"
#include "platform/base/exception.h"
#include "platform/base/timeformat.h"

using zyn::base::OleDateFields;
using zyn::base::OleDateFromLinear;
using zyn::base::OleDateToLinear;

namespace {

constexpr const wchar_t* kInvalidDateTime = L"Invalid DateTime";
constexpr const wchar_t* kInvalidDateTimeSpan = L"Invalid DateTimeSpan";

bool InDateRange(DATE dt)
{
    OleDateFields f;
    return zyn::base::OleDateToFields(dt, f);
}

} // namespace

// ---- COleDateTimeSpan ------------------------------------------------------------------------

COleDateTimeSpan::COleDateTimeSpan(double dblSpanSrc) : m_span(dblSpanSrc) { CheckRange(); }

COleDateTimeSpan::COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
{
    SetDateTimeSpan(lDays, nHours, nMins, nSecs);
}

void COleDateTimeSpan::CheckRange()
{
    if (m_status == valid && (!std::isfinite(m_span) || m_span > kMaxDays || m_span < -kMaxDays))
        m_status = invalid;
}

void COleDateTimeSpan::SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
{
    m_span = lDays + nHours / 24.0 + nMins / (24.0 * 60) + nSecs / (24.0 * 60 * 60);
    m_status = valid;
    CheckRange();
}

int64_t COleDateTimeSpan::RoundedSeconds() const
{
    if (!std::isfinite(m_span) || std::fabs(m_span) > 2 * kMaxDays)
        return 0;
    return std::llround(m_span * 86400.0);
}

double COleDateTimeSpan::GetTotalDays() const { return static_cast<double>(RoundedSeconds() / 86400); }
double COleDateTimeSpan::GetTotalHours() const { return static_cast<double>(RoundedSeconds() / 3600); }
double COleDateTimeSpan::GetTotalMinutes() const { return static_cast<double>(RoundedSeconds() / 60); }
double COleDateTimeSpan::GetTotalSeconds() const { return static_cast<double>(RoundedSeconds()); }
LONG COleDateTimeSpan::GetDays() const { return static_cast<LONG>(RoundedSeconds() / 86400); }
LONG COleDateTimeSpan::GetHours() const { return static_cast<LONG>(RoundedSeconds() / 3600 % 24); }
LONG COleDateTimeSpan::GetMinutes() const { return static_cast<LONG>(RoundedSeconds() / 60 % 60); }
LONG COleDateTimeSpan::GetSeconds() const { return static_cast<LONG>(RoundedSeconds() % 60); }

CString COleDateTimeSpan::Format(LPCWSTR pFormat) const
{
    if (m_status == null)
        return CString();
    if (m_status == invalid)
        return CString(kInvalidDateTimeSpan);
    return CTimeSpan(GetDays(), GetHours(), GetMinutes(), GetSeconds()).Format(pFormat);
}

namespace {
// The status of a result from two operands: null wins, then invalid.
template <class A, class B, class R>
bool PropagateStatus(const A& a, const B& b, R& result)
{
    if (a.GetStatus() == A::null || b.GetStatus() == B::null) {
        result.SetStatus(R::null);
        return true;
    }
    if (a.GetStatus() == A::invalid || b.GetStatus() == B::invalid) {
        result.SetStatus(R::invalid);
        return true;
    }
    return false;
}
} // namespace

COleDateTimeSpan COleDateTimeSpan::operator+(const COleDateTimeSpan& other) const
{
    COleDateTimeSpan result;
    if (PropagateStatus(*this, other, result))
        return result;
    return COleDateTimeSpan(m_span + other.m_span);
}

COleDateTimeSpan COleDateTimeSpan::operator-(const COleDateTimeSpan& other) const
{
    COleDateTimeSpan result;
    if (PropagateStatus(*this, other, result))
        return result;
    return COleDateTimeSpan(m_span - other.m_span);
}

COleDateTimeSpan COleDateTimeSpan::operator-() const
{
    COleDateTimeSpan result(*this);
    result.m_span = -m_span;
    return result;
}

COleDateTimeSpan COleDateTimeSpan::operator*(double factor) const
{
    if (m_status != valid)
        return *this;
    return COleDateTimeSpan(m_span * factor);
}

COleDateTimeSpan COleDateTimeSpan::operator/(double divisor) const
{
    if (m_status != valid)
        return *this;
    COleDateTimeSpan result(divisor == 0 ? 0.0 : m_span / divisor);
    if (divisor == 0)
        result.m_status = invalid;
    return result;
}

bool COleDateTimeSpan::operator==(const COleDateTimeSpan& other) const
{
    if (m_status != other.m_status)
        return false;
    return m_status == valid ? m_span == other.m_span : m_status == null;
}
bool COleDateTimeSpan::operator<(const COleDateTimeSpan& other) const
{
    return m_status == valid && other.m_status == valid && m_span < other.m_span;
}
bool COleDateTimeSpan::operator>(const COleDateTimeSpan& other) const
{
    return m_status == valid && other.m_status == valid && m_span > other.m_span;
}
bool COleDateTimeSpan::operator<=(const COleDateTimeSpan& other) const
{
    return m_status == valid && other.m_status == valid && m_span <= other.m_span;
}
bool COleDateTimeSpan::operator>=(const COleDateTimeSpan& other) const
{
    return m_status == valid && other.m_status == valid && m_span >= other.m_span;
}

// ---- COleDateTime -----------------------------------------------------------------------------

COleDateTime COleDateTime::GetCurrentTime() { return COleDateTime(zyn::base::UnixTimeNow()); }

COleDateTime::COleDateTime(DATE dtSrc) { *this = dtSrc; }
COleDateTime::COleDateTime(int64_t timeSrc) { *this = timeSrc; }
COleDateTime::COleDateTime(const SYSTEMTIME& st) { *this = st; }
COleDateTime::COleDateTime(const FILETIME& ft) { *this = ft; }

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
}

COleDateTime::COleDateTime(WORD wDosDate, WORD wDosTime)
{
    SetDateTime(((wDosDate >> 9) & 0x7F) + 1980, (wDosDate >> 5) & 0x0F, wDosDate & 0x1F, wDosTime >> 11,
        (wDosTime >> 5) & 0x3F, (wDosTime & 0x1F) * 2);
}

COleDateTime& COleDateTime::operator=(DATE dtSrc)
{
    m_dt = dtSrc;
    m_status = InDateRange(dtSrc) ? valid : invalid;
    return *this;
}

COleDateTime& COleDateTime::operator=(int64_t timeSrc)
{
    SYSTEMTIME st;
    if (CTime(timeSrc).GetAsSystemTime(st))
        *this = st;
    else
        m_status = invalid;
    return *this;
}

COleDateTime& COleDateTime::operator=(const SYSTEMTIME& st)
{
    SetDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
    return *this;
}

COleDateTime& COleDateTime::operator=(const FILETIME& ft)
{
    FILETIME local;
    SYSTEMTIME st;
    if (FileTimeToLocalFileTime(&ft, &local) && FileTimeToSystemTime(&local, &st))
        *this = st;
    else
        m_status = invalid;
    return *this;
}

bool COleDateTime::Fields(OleDateFields& f) const { return m_status == valid && zyn::base::OleDateToFields(m_dt, f); }

bool COleDateTime::GetAsSystemTime(SYSTEMTIME& st) const
{
    OleDateFields f;
    if (!Fields(f))
        return false;
    st.wYear = static_cast<WORD>(f.year);
    st.wMonth = static_cast<WORD>(f.month);
    st.wDayOfWeek = static_cast<WORD>(f.dayOfWeek);
    st.wDay = static_cast<WORD>(f.day);
    st.wHour = static_cast<WORD>(f.hour);
    st.wMinute = static_cast<WORD>(f.minute);
    st.wSecond = static_cast<WORD>(f.second);
    st.wMilliseconds = 0;
    return true;
}

int COleDateTime::GetYear() const
{
    OleDateFields f;
    return Fields(f) ? f.year : error;
}
int COleDateTime::GetMonth() const
{
    OleDateFields f;
    return Fields(f) ? f.month : error;
}
int COleDateTime::GetDay() const
{
    OleDateFields f;
    return Fields(f) ? f.day : error;
}
int COleDateTime::GetHour() const
{
    OleDateFields f;
    return Fields(f) ? f.hour : error;
}
int COleDateTime::GetMinute() const
{
    OleDateFields f;
    return Fields(f) ? f.minute : error;
}
int COleDateTime::GetSecond() const
{
    OleDateFields f;
    return Fields(f) ? f.second : error;
}
int COleDateTime::GetDayOfWeek() const
{
    OleDateFields f;
    return Fields(f) ? f.dayOfWeek + 1 : error;
}
int COleDateTime::GetDayOfYear() const
{
    OleDateFields f;
    return Fields(f) ? f.dayOfYear : error;
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    DATE dt;
    if (zyn::base::OleDateFromFields(nYear, nMonth, nDay, nHour, nMin, nSec, dt)) {
        m_dt = dt;
        m_status = valid;
    } else {
        m_status = invalid;
    }
    return m_status;
}

int COleDateTime::SetDate(int nYear, int nMonth, int nDay) { return SetDateTime(nYear, nMonth, nDay, 0, 0, 0); }

int COleDateTime::SetTime(int nHour, int nMin, int nSec) { return SetDateTime(1899, 12, 30, nHour, nMin, nSec); }

bool COleDateTime::ParseDateTime(LPCWSTR lpszDate, DWORD dwFlags, LCID lcid)
{
    if (!lpszDate) {
        m_dt = 0;
        m_status = invalid;
        return false;
    }
    DATE dt = 0;
    const HRESULT hr = VarDateFromStr(lpszDate, lcid, dwFlags, &dt);
    if (FAILED(hr)) {
        m_dt = hr == DISP_E_TYPEMISMATCH ? 0 : -1;
        m_status = invalid;
        return false;
    }
    m_dt = dt;
    m_status = valid;
    return true;
}

CString COleDateTime::Format(DWORD dwFlags, LCID lcid) const
{
    if (m_status == null)
        return CString();
    std::wstring text;
    if (m_status != valid || !zyn::base::FormatVariantDate(m_dt, dwFlags, lcid, text))
        return CString(kInvalidDateTime);
    return CString(text);
}

CString COleDateTime::Format(LPCWSTR lpszFormat) const
{
    if (m_status == null)
        return CString();
    OleDateFields f;
    if (!Fields(f))
        return CString(kInvalidDateTime);
    if (!lpszFormat)
        AfxThrowInvalidArgException(L"COleDateTime::Format: no format");
    const std::tm tm = zyn::base::MakeTm(f.year, f.month, f.day, f.hour, f.minute, f.second, 0);
    const TIME_ZONE_INFORMATION tz = zyn::base::CurrentTimeZone();
    auto text = zyn::base::FormatTm(lpszFormat, tm, tz.StandardName);
    if (!text)
        AfxThrowInvalidArgException(
            (std::wstring(L"COleDateTime::Format: unknown conversion in \"") + lpszFormat + L"\"").c_str());
    return CString(*text);
}

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& span) const
{
    COleDateTime result;
    if (PropagateStatus(*this, span, result))
        return result;
    return COleDateTime(OleDateFromLinear(OleDateToLinear(m_dt) + span.m_span));
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& span) const
{
    COleDateTime result;
    if (PropagateStatus(*this, span, result))
        return result;
    return COleDateTime(OleDateFromLinear(OleDateToLinear(m_dt) - span.m_span));
}

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& date) const
{
    COleDateTimeSpan result;
    if (PropagateStatus(*this, date, result))
        return result;
    return COleDateTimeSpan(OleDateToLinear(m_dt) - OleDateToLinear(date.m_dt));
}

bool COleDateTime::operator==(const COleDateTime& date) const
{
    if (m_status != date.m_status)
        return false;
    return m_status == valid ? OleDateToLinear(m_dt) == OleDateToLinear(date.m_dt) : m_status == null;
}
bool COleDateTime::operator<(const COleDateTime& date) const
{
    return m_status == valid && date.m_status == valid && OleDateToLinear(m_dt) < OleDateToLinear(date.m_dt);
}
bool COleDateTime::operator>(const COleDateTime& date) const
{
    return m_status == valid && date.m_status == valid && OleDateToLinear(m_dt) > OleDateToLinear(date.m_dt);
}
bool COleDateTime::operator<=(const COleDateTime& date) const
{
    return m_status == valid && date.m_status == valid && OleDateToLinear(m_dt) <= OleDateToLinear(date.m_dt);
}
bool COleDateTime::operator>=(const COleDateTime& date) const
{
    return m_status == valid && date.m_status == valid && OleDateToLinear(m_dt) >= OleDateToLinear(date.m_dt);
}
