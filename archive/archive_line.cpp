#include "archive/archive_line.h"

#include <climits>
#include <iterator>
#include <limits>
#include <type_traits>

#include "common/zyn_timestamp.h"
#include "platform/afx/db/recordset.h"
#include "platform/base/exception.h"
#include "platform/suite/database/dynamic_recordset.h"
#include "platform/suite/utility/stdiofile_unicode.h"

namespace zyn::archive {

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}

// Leading blanks, sign, digits; the lenient value (0 without digits or beyond the
// range) and whether the whole text was the number.
template <typename T>
bool ParseDecimal(const CString& text, T& out)
{
    const wchar_t* p = text.GetString();
    const wchar_t* end = p + text.GetLength();
    while (p < end && IsBlank(*p))
        ++p;
    bool negative = false;
    if (p < end && (*p == L'+' || *p == L'-')) {
        negative = *p == L'-';
        ++p;
    }
    // Accumulate as a negative number, so the type's minimum fits.
    constexpr T kMin = std::numeric_limits<T>::min();
    T value = 0;
    bool digits = false;
    bool overflow = false;
    for (; p < end && *p >= L'0' && *p <= L'9'; ++p) {
        digits = true;
        const T d = static_cast<T>(*p - L'0');
        if (value < (kMin + d) / 10) {
            overflow = true;
            continue;
        }
        value = static_cast<T>(value * 10 - d);
    }
    if (!negative && value == kMin)
        overflow = true;
    const bool whole = [&] {
        while (p < end && IsBlank(*p))
            ++p;
        return p == end;
    }();
    if (!digits || overflow) {
        out = 0;
        return false;
    }
    out = negative ? value : static_cast<T>(-value);
    return whole;
}

// Decimal digits, written from the end of a small buffer and appended at once, after
// `lead` when it is not 0 (a field's separator: one append for both).
template <typename T>
void AppendDecimal(std::wstring& out, T value, wchar_t lead = 0)
{
    using U = std::make_unsigned_t<T>;
    wchar_t buf[24];
    wchar_t* end = buf + std::size(buf);
    wchar_t* p = end;
    U magnitude = value < 0 ? static_cast<U>(U{0} - static_cast<U>(value)) : static_cast<U>(value);
    // Two digits per division: half the divisions of the usual loop.
    static constexpr char kPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                                     "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                                     "8081828384858687888990919293949596979899";
    while (magnitude >= 100) {
        const auto pair = static_cast<unsigned>(magnitude % 100) * 2;
        magnitude /= 100;
        *--p = static_cast<wchar_t>(kPairs[pair + 1]);
        *--p = static_cast<wchar_t>(kPairs[pair]);
    }
    if (magnitude >= 10) {
        const auto pair = static_cast<unsigned>(magnitude) * 2;
        *--p = static_cast<wchar_t>(kPairs[pair + 1]);
        *--p = static_cast<wchar_t>(kPairs[pair]);
    } else {
        *--p = static_cast<wchar_t>(L'0' + magnitude);
    }
    if (value < 0)
        *--p = L'-';
    if (lead)
        *--p = lead;
    out.append(p, static_cast<size_t>(end - p));
}

bool IsLeap(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

unsigned DaysIn(int year, unsigned month)
{
    static const unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return kDays[month - 1] + (month == 2 && IsLeap(year) ? 1 : 0);
}

const wchar_t* const kMonthNames[] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun", L"Jul", L"Aug", L"Sep", L"Oct",
    L"Nov", L"Dec"};

// The form the archive writes, exactly ("Jul 05 2008 03:04:05PM", 22 characters, a year
// of four digits): read directly. Anything else is left to the date parser (false).
bool ParsePlainArchiveTime(const CString& text, TIMESTAMP_STRUCT& out)
{
    if (text.GetLength() != 22)
        return false;
    const wchar_t* p = text.GetString();
    auto digits = [&](int at, int n, unsigned& value) {
        value = 0;
        for (int i = at; i < at + n; ++i) {
            if (p[i] < L'0' || p[i] > L'9')
                return false;
            value = value * 10 + static_cast<unsigned>(p[i] - L'0');
        }
        return true;
    };
    unsigned month = 0;
    for (unsigned m = 0; m < 12 && month == 0; ++m) {
        if (p[0] == kMonthNames[m][0] && p[1] == kMonthNames[m][1] && p[2] == kMonthNames[m][2])
            month = m + 1;
    }
    unsigned day = 0, year = 0, hour = 0, minute = 0, second = 0;
    if (month == 0 || p[3] != L' ' || p[6] != L' ' || p[11] != L' ' || p[14] != L':' || p[17] != L':' ||
        !digits(4, 2, day) || !digits(7, 4, year) || !digits(12, 2, hour) || !digits(15, 2, minute) ||
        !digits(18, 2, second) || (p[20] != L'A' && p[20] != L'P') || p[21] != L'M')
        return false;
    if (year < 1000 || day < 1 || day > DaysIn(static_cast<int>(year), month) || hour < 1 || hour > 12 ||
        minute > 59 || second > 59)
        return false;
    if (p[20] == L'A')
        hour = hour == 12 ? 0 : hour;
    else
        hour = hour == 12 ? 12 : hour + 12;
    out = TIMESTAMP_STRUCT{static_cast<int16_t>(year), static_cast<uint16_t>(month), static_cast<uint16_t>(day),
        static_cast<uint16_t>(hour), static_cast<uint16_t>(minute), static_cast<uint16_t>(second), 0};
    return true;
}

// "Jul 05 2008 03:04:05PM" for a timestamp of the years 1000 to 9999 whose fields are
// all in range; false, appending nothing, otherwise.
bool AppendPlainArchiveTime(std::wstring& out, const TIMESTAMP_STRUCT& t)
{
    if (t.year < 1000 || t.year > 9999 || t.month < 1 || t.month > 12 || t.hour > 23 || t.minute > 59 ||
        t.second > 59 || t.day < 1 || t.day > DaysIn(t.year, t.month))
        return false;
    // Built in place and appended at once: 22 characters.
    const unsigned hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
    auto digit = [](unsigned v) { return static_cast<wchar_t>(L'0' + v % 10); };
    const wchar_t* month = kMonthNames[t.month - 1];
    const auto year = static_cast<unsigned>(t.year);
    const wchar_t text[22] = {month[0], month[1], month[2], L' ', digit(t.day / 10u), digit(t.day), L' ',
        digit(year / 1000), digit(year / 100), digit(year / 10), digit(year), L' ', digit(hour12 / 10), digit(hour12),
        L':', digit(t.minute / 10u), digit(t.minute), L':', digit(t.second / 10u), digit(t.second),
        t.hour < 12 ? L'A' : L'P', L'M'};
    out.append(text, std::size(text));
    return true;
}

} // namespace

bool ParseArchiveLong(const CString& text, LONG& out)
{
    int32_t v = 0;
    const bool ok = ParseDecimal<int32_t>(text, v);
    out = v;
    return ok;
}

bool ParseArchiveBigInt(const CString& text, int64_t& out)
{
    return ParseDecimal<int64_t>(text, out);
}

bool ParseArchiveTime(const CString& text, TIMESTAMP_STRUCT& out)
{
    if (text.IsEmpty())
        return false;
    TIMESTAMP_STRUCT ts{};
    const bool plain = ParsePlainArchiveTime(text, ts);
    if (!plain && !ZynTextToTimestamp(text, ts))
        return false;
    // Years well inside 1971-2035 are always a CTime; the edges depend on the zone.
    if (!plain || ts.year <= 1971 || ts.year >= 2035) {
        CTime check;
        if (!ZynTimestampToTime(ts, check))
            return false;
    }
    ts.fraction = 0;
    out = ts;
    return true;
}

bool IsWholeArchiveTime(const CString& text)
{
    TIMESTAMP_STRUCT ts{};
    return ParsePlainArchiveTime(text, ts) || ZynTextToTimestamp(text, ts);
}

CString FormatArchiveTimestamp(const TIMESTAMP_STRUCT& value)
{
    CString text;
    AppendArchiveTimestamp(text, value);
    return text;
}

void AppendArchiveTimestamp(CString& out, const TIMESTAMP_STRUCT& value)
{
    if (value.year == 0 && value.month == 0 && value.day == 0)
        return;
    // The usual dates directly; anything else (a year of fewer digits, a field out of
    // range) through the date classes, which decide what is valid.
    if (!AppendPlainArchiveTime(out.Str(), value)) {
        COleDateTime ole;
        if (ZynTimestampToOleDateTime(value, ole))
            out.Append(ZynFormatArchiveTime(ole));
    }
}

CString EscapeArchiveText(const CString& text)
{
    CString escaped(text);
    CDynamicRecordset::RemoveSpecialChars(escaped);
    CDynamicRecordset::CleanupString(escaped);
    return escaped;
}

CString UnescapeArchiveText(const CString& field)
{
    return CDynamicRecordset::ReplacedSpecialChars(field);
}

// --- ArchiveFields ----------------------------------------------------------------

const CString& ArchiveFields::EmptyField()
{
    static const CString kEmpty;
    return kEmpty;
}

void ArchiveFields::Split(const CString& line)
{
    // The field strings are kept from line to line, so their storage is reused.
    m_count = 0;
    m_malformedTime = 0;
    if (line.IsEmpty())
        return;
    const wchar_t* p = line.GetString();
    const wchar_t* end = p + line.GetLength();
    const wchar_t* start = p;
    auto add = [&](const wchar_t* from, const wchar_t* to) {
        if (m_count < m_fields.size())
            m_fields[m_count].Str().assign(from, static_cast<size_t>(to - from));
        else
            m_fields.emplace_back(from, static_cast<int>(to - from));
        ++m_count;
    };
    for (; p < end; ++p) {
        if (*p == FieldSeparator) {
            add(start, p);
            start = p + 1;
        }
    }
    add(start, end);
}

LONG ArchiveFields::Long(int nField) const
{
    LONG v = 0;
    ParseArchiveLong(Raw(nField), v);
    return v;
}

int64_t ArchiveFields::BigInt(int nField) const
{
    int64_t v = 0;
    ParseArchiveBigInt(Raw(nField), v);
    return v;
}

bool ArchiveFields::IsNumber(int nField) const
{
    LONG v = 0;
    return Has(nField) && ParseArchiveLong(Raw(nField), v);
}

bool ArchiveFields::IsBigNumber(int nField) const
{
    int64_t v = 0;
    return Has(nField) && ParseArchiveBigInt(Raw(nField), v);
}

CString ArchiveFields::Text(int nField) const
{
    return UnescapeArchiveText(Raw(nField));
}

bool ArchiveFields::Time(int nField, TIMESTAMP_STRUCT& out) const
{
    const CString& raw = Raw(nField);
    if (ParseArchiveTime(raw, out))
        return true;
    if (!raw.IsEmpty() && !IsWholeArchiveTime(raw))
        NoteMalformedTime(nField);
    return false;
}

bool ReadLongField(const ArchiveFields& fields, int nField, LONG& out, CString& reason)
{
    out = 0;
    if (fields.IsEmpty(nField) || ParseArchiveLong(fields.Raw(nField), out))
        return true;
    reason.Format(L"field %d is not a number", nField);
    return false;
}

bool ReadBigIntField(const ArchiveFields& fields, int nField, int64_t& out, CString& reason)
{
    out = 0;
    if (fields.IsEmpty(nField) || ParseArchiveBigInt(fields.Raw(nField), out))
        return true;
    reason.Format(L"field %d is not a number", nField);
    return false;
}

// --- ArchiveLineWriter ------------------------------------------------------------

void ArchiveLineWriter::Separate()
{
    if (m_nFields++ > 0)
        m_line.Str().push_back(FieldSeparator);
}

ArchiveLineWriter& ArchiveLineWriter::Long(LONG value)
{
    AppendDecimal(m_line.Str(), static_cast<int32_t>(value), m_nFields++ > 0 ? FieldSeparator : L'\0');
    return *this;
}

ArchiveLineWriter& ArchiveLineWriter::BigInt(int64_t value)
{
    AppendDecimal(m_line.Str(), value, m_nFields++ > 0 ? FieldSeparator : L'\0');
    return *this;
}

ArchiveLineWriter& ArchiveLineWriter::Long(LONG value, bool bNull, LONG nNullValue)
{
    return Long(bNull ? nNullValue : value);
}

ArchiveLineWriter& ArchiveLineWriter::BigInt(int64_t value, bool bNull, int64_t nNullValue)
{
    return BigInt(bNull ? nNullValue : value);
}

ArchiveLineWriter& ArchiveLineWriter::Text(const CString& value)
{
    Separate();
    // Escaped straight into the line: each C0 control as ESC and its letter, code
    // points UTF-16 cannot carry as U+FFFD (RemoveSpecialChars, then CleanupString).
    std::wstring& line = m_line.Str();
    for (const wchar_t c : value.Str()) {
        const auto u = static_cast<uint32_t>(c);
        if (u < 0x20) {
            line.push_back(CDynamicRecordset::EscapeChar);
            line.push_back(static_cast<wchar_t>(u + 0x40));
        } else if ((u >= 0xD800 && u <= 0xDFFF) || u > 0x10FFFF) {
            line.push_back(L'\xFFFD');
        } else {
            line.push_back(c);
        }
    }
    return *this;
}

ArchiveLineWriter& ArchiveLineWriter::Empty()
{
    Separate();
    return *this;
}

ArchiveLineWriter& ArchiveLineWriter::Time(const TIMESTAMP_STRUCT& value, bool bNull)
{
    Separate();
    if (!bNull)
        AppendArchiveTimestamp(m_line, value);
    return *this;
}

ArchiveLineWriter& ArchiveLineWriter::Time(const COleDateTime& value)
{
    Separate();
    m_line.Append(ZynFormatArchiveTime(value));
    return *this;
}

ArchiveLineWriter& ArchiveLineWriter::Raw(LPCWSTR value)
{
    for (const wchar_t* p = value; p && *p; ++p) {
        if (*p == L'\t' || *p == L'\r' || *p == L'\n')
            AfxThrowInvalidArgException(L"An archive field written verbatim holds a tab or line break.");
    }
    Separate();
    if (value)
        m_line.Append(value);
    return *this;
}

void ArchiveLineWriter::Reset()
{
    m_line.Str().clear(); // keeps the storage for the next line
    m_nFields = 0;
}

void ArchiveLineWriter::WriteTo(CStdioFileUnicode& file) const
{
    file.WriteLine(m_line.Str());
}

// --- mapping and opening ----------------------------------------------------------

LONG MapArchiveId(CDynamicRecordset& set, LPCWSTR lpszRestoredTable, LPCWSTR lpszColumn, LONG nId)
{
    const LONG mapped = set.GetUpdatedIdFromMappingTable(lpszRestoredTable, lpszColumn, nId);
    return mapped > CDynamicRecordset::NoMapping ? mapped : nId;
}

} // namespace zyn::archive
