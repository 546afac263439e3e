#include "archive/archive_line.h"

#include <climits>
#include <limits>

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
    if (!ZynTextToTimestamp(text, ts))
        return false;
    CTime check;
    if (!ZynTimestampToTime(ts, check))
        return false;
    ts.fraction = 0;
    out = ts;
    return true;
}

CString FormatArchiveTimestamp(const TIMESTAMP_STRUCT& value)
{
    if (value.year == 0 && value.month == 0 && value.day == 0)
        return CString();
    COleDateTime ole;
    if (!ZynTimestampToOleDateTime(value, ole))
        return CString();
    return ZynFormatArchiveTime(ole);
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
    CString text(field);
    CDynamicRecordset::ReplaceSpecialChars(text);
    return text;
}

// --- ArchiveFields ----------------------------------------------------------------

void ArchiveFields::Split(const CString& line)
{
    m_fields.clear();
    if (line.IsEmpty())
        return;
    const wchar_t* p = line.GetString();
    const wchar_t* end = p + line.GetLength();
    const wchar_t* start = p;
    for (; p < end; ++p) {
        if (*p == FieldSeparator) {
            m_fields.emplace_back(start, static_cast<int>(p - start));
            start = p + 1;
        }
    }
    m_fields.emplace_back(start, static_cast<int>(end - start));
}

const CString& ArchiveFields::Raw(int nField) const
{
    static const CString kEmpty;
    return Has(nField) ? m_fields[static_cast<size_t>(nField - 1)] : kEmpty;
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
    return ParseArchiveTime(Raw(nField), out);
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
        m_line.AppendChar(FieldSeparator);
}

ArchiveLineWriter& ArchiveLineWriter::Long(LONG value)
{
    Separate();
    m_line.AppendFormat(L"%d", static_cast<int>(value));
    return *this;
}

ArchiveLineWriter& ArchiveLineWriter::BigInt(int64_t value)
{
    Separate();
    m_line.AppendFormat(L"%I64d", value);
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
    m_line.Append(EscapeArchiveText(value));
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
        m_line.Append(FormatArchiveTimestamp(value));
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
    m_line.Empty();
    m_nFields = 0;
}

void ArchiveLineWriter::WriteTo(CStdioFileUnicode& file) const
{
    file.WriteString(m_line.GetString());
}

// --- mapping and opening ----------------------------------------------------------

LONG MapArchiveId(CDynamicRecordset& set, LPCWSTR lpszRestoredTable, LPCWSTR lpszColumn, LONG nId)
{
    const LONG mapped = set.GetUpdatedIdFromMappingTable(lpszRestoredTable, lpszColumn, nId);
    return mapped > CDynamicRecordset::NoMapping ? mapped : nId;
}

} // namespace zyn::archive
