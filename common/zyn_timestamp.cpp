#include "common/zyn_timestamp.h"

#include <cwctype>
#include <string>
#include <vector>

#include "platform/base/exception.h"
#include "platform/base/locale.h"
#include "platform/base/systime.h"

namespace {

const wchar_t* const kMonths[] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun", L"Jul", L"Aug", L"Sep", L"Oct",
    L"Nov", L"Dec"};
const wchar_t* const kLongMonths[] = {L"January", L"February", L"March", L"April", L"May", L"June", L"July",
    L"August", L"September", L"October", L"November", L"December"};

bool ValidFields(int y, int mo, int d, int h, int mi, int s)
{
    if (y < 100 || y > 9999 || mo < 1 || mo > 12 || d < 1 || h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 59)
        return false;
    COleDateTime probe(y, mo, d, h, mi, s);
    return probe.GetStatus() == COleDateTime::valid;
}

bool TimestampFields(const TIMESTAMP_STRUCT& v)
{
    return ValidFields(v.year, v.month, v.day, v.hour, v.minute, v.second);
}

// Whether a word is the ASCII name, without regard to case.
bool SameAscii(std::wstring_view word, std::wstring_view name)
{
    if (word.size() != name.size())
        return false;
    for (size_t k = 0; k < word.size(); ++k) {
        wchar_t c = word[k];
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - 32);
        wchar_t n = name[k];
        if (n >= L'a' && n <= L'z')
            n = static_cast<wchar_t>(n - 32);
        if (c != n)
            return false;
    }
    return true;
}

// A small tokenizer for the English forms: words, numbers and the separators between.
struct Scanner {
    std::wstring_view s;
    size_t i = 0;
    void SkipSpace()
    {
        while (i < s.size() && std::iswspace(static_cast<wint_t>(s[i])))
            ++i;
    }
    bool Number(int& out, int maxDigits)
    {
        SkipSpace();
        size_t start = i;
        int v = 0;
        while (i < s.size() && s[i] >= L'0' && s[i] <= L'9' && i - start < static_cast<size_t>(maxDigits)) {
            v = v * 10 + (s[i] - L'0');
            ++i;
        }
        if (i == start)
            return false;
        out = v;
        return true;
    }
    bool Char(wchar_t c)
    {
        SkipSpace();
        if (i < s.size() && s[i] == c) {
            ++i;
            return true;
        }
        return false;
    }
    // An English month name or abbreviation, in any case.
    bool Month(int& out)
    {
        SkipSpace();
        size_t start = i;
        while (i < s.size() && std::iswalpha(static_cast<wint_t>(s[i])))
            ++i;
        const std::wstring_view word = s.substr(start, i - start);
        for (int m = 0; m < 12; ++m) {
            if (SameAscii(word, kMonths[m]) || SameAscii(word, kLongMonths[m])) {
                out = m + 1;
                return true;
            }
        }
        i = start;
        return false;
    }
    // Optional AM/PM marker; returns 0 none, 1 AM, 2 PM.
    int Meridiem()
    {
        SkipSpace();
        if (i + 2 <= s.size()) {
            const wchar_t a = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(s[i])));
            const wchar_t b = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(s[i + 1])));
            if ((a == L'A' || a == L'P') && b == L'M') {
                i += 2;
                return a == L'A' ? 1 : 2;
            }
        }
        return 0;
    }
    bool AtEnd()
    {
        SkipSpace();
        return i == s.size();
    }
};

// "h:mm[:ss[.fff]][AM|PM]" after the date; absent time means midnight.
bool ParseTime(Scanner& sc, int& h, int& mi, int& s, uint32_t& fraction)
{
    h = mi = s = 0;
    fraction = 0;
    if (sc.AtEnd())
        return true;
    if (!sc.Number(h, 2) || !sc.Char(L':') || !sc.Number(mi, 2))
        return false;
    if (sc.Char(L':')) {
        if (!sc.Number(s, 2))
            return false;
        if (sc.i < sc.s.size() && sc.s[sc.i] == L'.') {
            ++sc.i;
            int digits = 0;
            uint32_t frac = 0;
            while (sc.i < sc.s.size() && sc.s[sc.i] >= L'0' && sc.s[sc.i] <= L'9') {
                if (digits < 9) {
                    frac = frac * 10 + static_cast<uint32_t>(sc.s[sc.i] - L'0');
                    ++digits;
                }
                ++sc.i;
            }
            while (digits++ < 9)
                frac *= 10;
            fraction = frac;
        }
    }
    const int mer = sc.Meridiem();
    if (mer != 0) {
        if (h < 1 || h > 12)
            return false;
        if (mer == 1 && h == 12)
            h = 0;
        else if (mer == 2 && h != 12)
            h += 12;
    }
    return sc.AtEnd();
}

bool ParseEnglish(const CString& text, TIMESTAMP_STRUCT& out)
{
    Scanner sc{std::wstring_view(text.GetString(), static_cast<size_t>(text.GetLength()))};
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    uint32_t fraction = 0;
    Scanner probe = sc;
    if (probe.Month(mo)) {
        // "Jul 05 2008 03:04:05PM"
        sc = probe;
        if (!sc.Number(d, 2))
            return false;
        sc.Char(L',');
        if (!sc.Number(y, 4))
            return false;
    } else {
        // "2008-07-05 15:04:05" (also with a T between date and time)
        if (!sc.Number(y, 4) || !sc.Char(L'-') || !sc.Number(mo, 2) || !sc.Char(L'-') || !sc.Number(d, 2))
            return false;
        if (sc.i < sc.s.size() && sc.s[sc.i] == L'T')
            ++sc.i;
    }
    if (!ParseTime(sc, h, mi, s, fraction))
        return false;
    if (!ValidFields(y, mo, d, h, mi, s))
        return false;
    out.year = static_cast<int16_t>(y);
    out.month = static_cast<uint16_t>(mo);
    out.day = static_cast<uint16_t>(d);
    out.hour = static_cast<uint16_t>(h);
    out.minute = static_cast<uint16_t>(mi);
    out.second = static_cast<uint16_t>(s);
    out.fraction = fraction;
    return true;
}

SYSTEMTIME ToSystemTime(const TIMESTAMP_STRUCT& v)
{
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(v.year);
    st.wMonth = v.month;
    st.wDay = v.day;
    st.wHour = v.hour;
    st.wMinute = v.minute;
    st.wSecond = v.second;
    st.wMilliseconds = static_cast<WORD>(v.fraction / 1000000u);
    COleDateTime dow(v.year, v.month, v.day, 0, 0, 0);
    st.wDayOfWeek = static_cast<WORD>(dow.GetDayOfWeek() - 1);
    return st;
}

CString LocaleDate(const SYSTEMTIME& st, DWORD flags)
{
    wchar_t buf[128];
    const int n = GetDateFormatW(LOCALE_USER_DEFAULT, flags == 0 ? DATE_SHORTDATE : flags, &st, nullptr, buf, 128);
    return n > 0 ? CString(buf) : CString();
}

CString LocaleTime(const SYSTEMTIME& st, DWORD timeFlags)
{
    wchar_t buf[128];
    const DWORD flags = timeFlags == ZYN_TIME_WITH_SECONDS ? 0 : TIME_NOSECONDS;
    const int n = GetTimeFormatW(LOCALE_USER_DEFAULT, flags, &st, nullptr, buf, 128);
    return n > 0 ? CString(buf) : CString();
}

} // namespace

bool ZynFormatTimestamp(const TIMESTAMP_STRUCT& value, CString& out, DWORD dateFlags, DWORD timeFlags,
    const CString& separator, int order, bool)
{
    out.Empty();
    if (!TimestampFields(value))
        return false;
    const SYSTEMTIME st = ToSystemTime(value);
    const CString date = LocaleDate(st, dateFlags);
    const CString time = LocaleTime(st, timeFlags);
    if (date.IsEmpty() || time.IsEmpty())
        return false;
    out = order == 0 ? date + separator + time : time + separator + date;
    return true;
}

TIMESTAMP_STRUCT ZynOleDateTimeToTimestamp(const COleDateTime& value)
{
    TIMESTAMP_STRUCT ts{};
    if (value.GetStatus() != COleDateTime::valid)
        return ts;
    ts.year = static_cast<int16_t>(value.GetYear());
    ts.month = static_cast<uint16_t>(value.GetMonth());
    ts.day = static_cast<uint16_t>(value.GetDay());
    ts.hour = static_cast<uint16_t>(value.GetHour());
    ts.minute = static_cast<uint16_t>(value.GetMinute());
    ts.second = static_cast<uint16_t>(value.GetSecond());
    ts.fraction = 0;
    return ts;
}

bool ZynTextToTimestamp(const CString& text, TIMESTAMP_STRUCT& out)
{
    CString trimmed(text);
    trimmed.Trim();
    if (trimmed.IsEmpty())
        return false;
    if (ParseEnglish(trimmed, out))
        return true;
    // The user's locale second: text written by the locale's own date formats. Only a
    // whole date: the locale parser completes a partial one ("Jan 02", "1 2") with the
    // current year, and a field read from a file must not depend on the day it is read.
    DATE date = 0;
    zyn::base::VariantDateParts named;
    if (zyn::base::ParseVariantDate(trimmed.Str(), LOCALE_USER_DEFAULT, 0, date, &named) != S_OK)
        return false;
    if (!named.year || !named.month || !named.day)
        return false;
    const COleDateTime parsed(date);
    if (parsed.GetStatus() != COleDateTime::valid)
        return false;
    out = ZynOleDateTimeToTimestamp(parsed);
    return true;
}

bool ZynTimestampToOleDateTime(const TIMESTAMP_STRUCT& value, COleDateTime& out)
{
    if (!TimestampFields(value))
        return false;
    out.SetDateTime(value.year, value.month, value.day, value.hour, value.minute, value.second);
    return out.GetStatus() == COleDateTime::valid;
}

bool ZynTimestampToTime(const TIMESTAMP_STRUCT& value, CTime& out)
{
    if (value.year < 1970 || value.year > 2036 || !TimestampFields(value))
        return false;
    try {
        out = CTime(value.year, value.month, value.day, value.hour, value.minute, value.second);
        return true;
    } catch (CException* e) {
        // A local time that the zone cannot give (before the epoch in a zone east of UTC).
        e->Delete();
        return false;
    }
}

CString ZynFormatArchiveTime(const COleDateTime& value)
{
    if (value.GetStatus() != COleDateTime::valid)
        return CString();
    int hour12 = value.GetHour() % 12;
    if (hour12 == 0)
        hour12 = 12;
    CString text;
    text.Format(L"%s %02d %04d %02d:%02d:%02d%s", kMonths[value.GetMonth() - 1], value.GetDay(), value.GetYear(),
        hour12, value.GetMinute(), value.GetSecond(), value.GetHour() < 12 ? L"AM" : L"PM");
    return text;
}
